// The host's temporary directory: configured, else the environment's, else /tmp.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "host/ZXPIPlatform.h"
#include "host/ZXPlatformInfo.h"

TEST(ZXPIPlatform, TempDirectoryComesFromTheConfigurationTheEnvironmentOrTmp)
{
    ZXPlatformInfo::clearAll();
    const char* saved = getenv("TMPDIR");
    const std::string savedValue = saved != nullptr ? saved : "";

    ZXPI_Drevhost platform;
    platform.setFocus(ZXPI_Focus::getFocus());
    unsetenv("TMPDIR");
    EXPECT_EQ(platform.getNimbrelTempDirectory(), "/tmp");
    setenv("TMPDIR", "/var/tmp/", 1);
    EXPECT_EQ(platform.getNimbrelTempDirectory(), "/var/tmp");
    ZXPlatformInfo::setValue("Platform", "TempDirectory", "/srv/staging//");
    EXPECT_EQ(platform.getNimbrelTempDirectory(), "/srv/staging");
    ZXPlatformInfo::setValue("Platform", "TempDirectory", "/");
    EXPECT_EQ(platform.getNimbrelTempDirectory(), "/");

    ZXPlatformInfo::clearAll();
    if (saved != nullptr)
        setenv("TMPDIR", savedValue.c_str(), 1);
    else
        unsetenv("TMPDIR");
}
