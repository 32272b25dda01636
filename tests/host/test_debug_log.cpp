#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "host/EvDebug.h"
#include "host/ZXPlatformInfo.h"
#include "host/db/DBtable.h"

namespace {

TEST(DebugLogValue, ControlCharactersAreWrittenOutEveryOtherByteKept)
{
    EXPECT_EQ(EvDebug::escaped("a\nb\rc\td"), "a\\nb\\rc\\td");
    EXPECT_EQ(EvDebug::escaped("\x1b[2J\x07\x7f"), "\\x1b[2J\\x07\\x7f");
    EXPECT_EQ(EvDebug::escaped(std::string("\0\x1f", 2)), "\\x00\\x1f");
    const std::string kept = "C:\\mnt\\data 'x' %s \xc3\xa9 \xff ~";
    EXPECT_EQ(EvDebug::escaped(kept), kept);
    EXPECT_EQ(EvDebug::escaped(""), "");
}

// Entries of the database log written to a log file read back as lines of
// their own, in the order written.
TEST(DatabaseLog, EachEntryIsALineOfTheLogFile)
{
    char path[] = "/tmp/replmgr_log_XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    std::string saved;
    const bool configured = ZXPlatformInfo().getString("EvDebug", "LogFile", saved) != 0;
    ZXPlatformInfo::setValue("EvDebug", "LogFile", path);
    log_error("DBConnection", 12, "Cannot open the catalogue %s: %s", "/tmp/a.db", "disk I/O error");
    log_error("CatalogueVersions", 34, "no %s here", "percent %s");
    if (configured)
        ZXPlatformInfo::setValue("EvDebug", "LogFile", saved);
    else
        ZXPlatformInfo::clearValue("EvDebug", "LogFile");

    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    unlink(path);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "DBConnection[12] -> Cannot open the catalogue /tmp/a.db: disk I/O error");
    EXPECT_EQ(lines[1], "CatalogueVersions[34] -> no percent %s here");
}

}  // namespace
