// The host's side stands below the replication manager: no file of the host
// library includes a header of the system's folders (service/, rows/, snr/
// ...) or of the tests.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path repoRoot()
{
    std::string self = __FILE__;
    return fs::path(self.substr(0, self.rfind("tests/host/")));
}

}  // namespace

TEST(HostLayering, HostLibraryIncludesOnlyHostHeaders)
{
    const fs::path root = repoRoot();
    std::set<std::string> otherFolders;
    for (const auto& entry : fs::directory_iterator(root))
        if (entry.is_directory() && entry.path().filename() != "host") otherFolders.insert(entry.path().filename().string());
    ASSERT_TRUE(otherFolders.count("service") && otherFolders.count("rows"));

    const std::regex include(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<std::string> offending;
    size_t files = 0;
    for (auto it = fs::recursive_directory_iterator(root / "host"); it != fs::recursive_directory_iterator(); ++it) {
        const std::string ext = it->path().extension().string();
        if (ext != ".h" && ext != ".cpp" && ext != ".inl" && ext != ".inc") continue;
        ++files;
        std::ifstream in(it->path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            std::smatch m;
            if (!std::regex_search(line, m, include)) continue;
            const std::string target = m[2].str();
            const std::string top = target.substr(0, target.find('/'));
            bool ours = m[1].str() == "\"" ? target.compare(0, 5, "host/") == 0 : otherFolders.count(top) == 0;
            if (!ours) offending.push_back(fs::relative(it->path(), root).string() + ":" + std::to_string(number) + ": " + line);
        }
    }
    EXPECT_GT(files, 20u);
    for (const std::string& line : offending) ADD_FAILURE() << line;
}
