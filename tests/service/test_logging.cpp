#include <gtest/gtest.h>

#include "host/EvDebug.h"
#include "host/ZXPlatformInfo.h"
#include "service/ReplicationMgr.h"
#include "support/TestHost.h"

namespace {

int LevelFromConfig(const char* configured) {
    ConfigureQuietHost(configured);
    ReplicationMgr mgr;
    return mgr.verboseLevel();
}

TEST(VerboseLevel, TakesTheLowThreeBitsOfTheNumberReadAndLogsNothing) {
    struct Case {
        const char* configured;
        int level;
    } cases[] = {
        {nullptr, 4},  // missing
        {"12", 4},
        {"9", 1},
        {"8", 0},
        {"2", 2},
        {"0xF", 7},
        {"010", 2},    // decimal, not octal
        {"-1", 7},     // 0xFFFFFFFF as 32 bits
        {"-8", 0},
        {"junk", 4},   // no number read: 4 stays
        {"12abc", 4},
        {"", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.configured ? c.configured : "(missing)");
        EXPECT_EQ(LevelFromConfig(c.configured), c.level);
        EXPECT_TRUE(LogEntriesWith("VerboseLevel").empty());
    }
}

TEST(VerboseLevel, ReadOnceAtConstruction) {
    ConfigureQuietHost("0");
    ReplicationMgr mgr;
    ZXPlatformInfo::setValue("~ReplicationMgr", "VerboseLevel", "4");
    EXPECT_EQ(mgr.verboseLevel(), 0);
}

TEST(WriteLogMsg, FramesEntryWithSourceLineAndFunction) {
    ConfigureQuietHost("4");
    ReplicationMgr mgr;
    mgr.log() << "\tEvent: something happened";
    mgr.WriteLogMsg("ReplicationMgrUtils", "ReplicationMgr::Thing()", 1234, ReplicationMgr::ERR);
    auto entries = EvDebug::entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0], "ReplicationMgrUtils[1234] -> ReplicationMgr::Thing()\n\tEvent: something happened\n");
}

TEST(WriteLogMsg, EmptyTextIsUnknownError) {
    ConfigureQuietHost("4");
    ReplicationMgr mgr;
    mgr.WriteLogMsg("S", "F", 7, ReplicationMgr::ERR);
    auto entries = EvDebug::entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0], "S[7] -> F\nUnknown Error\n");
}

TEST(WriteLogMsg, FilteredEntryStillEmptiesLogText) {
    ConfigureQuietHost("4");
    ReplicationMgr mgr;
    mgr.log() << "hidden info";
    mgr.WriteLogMsg("S", "F", 1, ReplicationMgr::INFO);
    EXPECT_TRUE(EvDebug::entries().empty());
    mgr.log() << "shown";
    mgr.WriteLogMsg("S", "F", 2, ReplicationMgr::ERR);
    auto entries = EvDebug::entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0], "S[2] -> F\nshown\n");
}

TEST(WriteLogMsg, LevelFilteringByVerboseLevel) {
    struct Case {
        const char* verbose;
        bool info, warning, msg, err;
    } cases[] = {
        {"0", true, true, true, true},
        {"1", true, true, true, true},
        {"2", false, true, true, true},
        {"4", false, false, true, true},
        {"7", false, false, true, true},
    };
    for (const Case& c : cases) {
        ConfigureQuietHost(c.verbose);
        ReplicationMgr mgr;
        const int levels[] = {ReplicationMgr::INFO, ReplicationMgr::WARNING, ReplicationMgr::MSG, ReplicationMgr::ERR};
        const bool expected[] = {c.info, c.warning, c.msg, c.err};
        for (int i = 0; i < 4; ++i) {
            EvDebug::clearEntries();
            mgr.log() << "x";
            mgr.WriteLogMsg("S", "F", 1, levels[i]);
            EXPECT_EQ(EvDebug::entries().size(), expected[i] ? 1u : 0u)
                << "verbose " << c.verbose << " level " << levels[i];
        }
    }
}

TEST(WriteLogMsg, PercentSignsReachTheLogUnchanged) {
    ConfigureQuietHost("0");
    ReplicationMgr mgr;
    mgr.log() << "\tEvent: path %s%n%d 100%";
    mgr.WriteLogMsg("S", "F", 1, ReplicationMgr::ERR);
    auto entries = EvDebug::entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_NE(entries[0].find("path %s%n%d 100%"), std::string::npos);
}

TEST(EvEventArguments, TextAndLittleEndianIntegerChain) {
    EvEvent ev;
    ev << "abc" << 0x01020304;
    ASSERT_EQ(ev.arguments().size(), 2u);
    EXPECT_EQ(ev.arguments()[0].type, 11);
    EXPECT_EQ(ev.arguments()[0].bytes, "abc");
    EXPECT_EQ(ev.arguments()[1].type, 5);
    EXPECT_EQ(ev.arguments()[1].bytes, std::string("\x04\x03\x02\x01", 4));
}

TEST(PlatformInfo, ThirtyTwoBitFrontKeepsPresetWhenMissing) {
    ConfigureQuietHost(nullptr);
    ZXPlatformInfo info;
    unsigned int v = 77;
    EXPECT_EQ(info.getNumber("~ReplicationMgr", "nPruneWithJobsRunning", &v), 0u);
    EXPECT_EQ(v, 77u);
    ZXPlatformInfo::setValue("~ReplicationMgr", "nPruneWithJobsRunning", "0x100000005");
    EXPECT_NE(info.getNumber("~ReplicationMgr", "nPruneWithJobsRunning", &v), 0u);
    EXPECT_EQ(v, 5u);  // low 32 bits
    int setting = -3;
    EXPECT_EQ(info.getRegInt("~ReplicationMgr", "SaveDailySnaps", &setting), 0u);
    EXPECT_EQ(setting, -3);
    ZXPlatformInfo::setValue("~ReplicationMgr", "SaveDailySnaps", "4");
    EXPECT_NE(info.getRegInt("~ReplicationMgr", "SaveDailySnaps", &setting), 0u);
    EXPECT_EQ(setting, 4);
    ZXPlatformInfo::clearValue("~ReplicationMgr", "SaveDailySnaps");
}

}  // namespace
