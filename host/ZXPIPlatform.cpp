#include "host/ZXPIPlatform.h"

#include <cstdlib>

#include "host/ZXPlatformInfo.h"

int ZXPI_Focus::getFocus() { return 0; }

std::string ZXPI_PlatformBase::getNimbrelTempDirectory() const
{
    std::string dir;
    if (!ZXPlatformInfo().getString("Platform", "TempDirectory", dir) || dir.empty()) {
        const char* env = std::getenv("TMPDIR");
        dir = env != nullptr && *env != '\0' ? env : "/tmp";
    }
    // "/" itself stays as it is.
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}
