#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "host/EvDebug.h"
#include "host/HostJournal.h"
#include "host/ZXMMDBDeviceInfo.h"
#include "host/ZXPlatformInfo.h"
#include "host/ZxFramework.h"

namespace {

class Subsystem : public ZxPostMessageSubsystem {
public:
    Subsystem() : ZxPostMessageSubsystem(nullptr) {}
};

// One debug log entry, one device-layer call and one cleaned buffer.
void UseEveryJournal(Subsystem& subsystem, zxsDatabuf& buf)
{
    EvDebug().debug("an entry\n");
    bool inUse = false;
    ZXMMDBDeviceInfo().isSNRVolumeBeingUsed(5, inUse);
    subsystem.cleanBuffer(0x35000001, &buf);
}

// Restores the journals' switch when it goes out of scope.
class JournalSwitch {
public:
    explicit JournalSwitch(bool on) : m_bSaved(HostJournals::kept()) { HostJournals::keep(on); }
    ~JournalSwitch() { HostJournals::keep(m_bSaved); }

private:
    bool m_bSaved;
};

class HostJournalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ZXPlatformInfo::setValue("EvDebug", "LogFile", "none");
        EvDebug::clearEntries();
        ZXMMDBDeviceInfo::reset();
    }
    void TearDown() override
    {
        ZXPlatformInfo::clearValue("EvDebug", "LogFile");
        EvDebug::clearEntries();
        ZXMMDBDeviceInfo::reset();
    }
};

// Run in a process of its own, started afresh: nothing has switched the
// journals on there.
TEST(HostJournalDefault, AHostThatNeverSwitchesThemOnKeepsNothing)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ZXPlatformInfo::setValue("EvDebug", "LogFile", "none");
            Subsystem subsystem;
            zxsDatabuf buf;
            for (int i = 0; i < 100; ++i) UseEveryJournal(subsystem, buf);
            const bool nothingKept = !HostJournals::kept() && EvDebug::entries().empty() &&
                                     ZXMMDBDeviceInfo::journal().empty() && subsystem.cleanedBuffers().empty();
            std::exit(nothingKept ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(HostJournalTest, SwitchedOnEveryJournalKeepsAndSwitchedOffNoneDoes)
{
    Subsystem subsystem;
    zxsDatabuf buf;
    {
        JournalSwitch on(true);
        UseEveryJournal(subsystem, buf);
    }
    {
        JournalSwitch off(false);
        UseEveryJournal(subsystem, buf);
        EXPECT_FALSE(HostJournals::kept());
    }
    EXPECT_EQ(EvDebug::entries(), std::vector<std::string>{"an entry\n"});
    EXPECT_EQ(ZXMMDBDeviceInfo::journal(), std::vector<std::string>{"volumeInUse 5"});
    auto cleaned = subsystem.cleanedBuffers();
    ASSERT_EQ(cleaned.size(), 1u);
    EXPECT_EQ(cleaned[0].first, 0x35000001u);
    EXPECT_EQ(cleaned[0].second, &buf);
}

}  // namespace
