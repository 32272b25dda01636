// The write-ahead log file of the catalogue stays bounded while writers
// register devices through post and readers on connections of their own read
// in short, overlapping transactions that never pause, and comes back within
// its limit once the writes stop while the readers go on.
#include <gtest/gtest.h>

#include <cstdio>

#include "host/HostJournal.h"
#include "host/ZXPlatformInfo.h"
#include "support/LogUnderReaders.h"
#include "support/TestCatalogue.h"
#include "support/TestHost.h"

namespace {

class LogFileBoundTest : public CatalogueTest {
protected:
    void SetUp() override
    {
        ConfigureQuietHost();
        ZXPlatformInfo::setValue("~ReplicationMgr", "DBCheckpointPages", "100");
        ZXPlatformInfo::setValue("~ReplicationMgr", "DBWalSizeLimitKB", "1024");
        CatalogueTest::SetUp();  // the connections take the settings above
        HostJournals::keep(false);  // thousands of requests: no journal of them
    }
    void TearDown() override
    {
        CatalogueTest::TearDown();
        ZXPlatformInfo::clearValue("~ReplicationMgr", "DBCheckpointPages");
        ZXPlatformInfo::clearValue("~ReplicationMgr", "DBWalSizeLimitKB");
        HostJournals::keep(true);
    }
};

TEST_F(LogFileBoundTest, StaysBoundedUnderReadersThatNeverPause)
{
    log_under_readers::Load load;
    load.writers = 4;
    load.readers = 2;
    load.writing = std::chrono::milliseconds(3000);
    load.settling = std::chrono::milliseconds(10000);
    load.limitBytes = 1024 << 10;
    // The log is started again from its beginning at 40 times the
    // checkpoint size.
    const unsigned long long restartPoint = log_under_readers::LogBytesOf(m_path, 40 * 100);

    const log_under_readers::Result r = log_under_readers::Run(m_path, load);

    EXPECT_GT(r.writes, 0);
    EXPECT_GT(r.reads, 0);
    EXPECT_EQ(r.failedWrites, 0);
    EXPECT_EQ(r.failedReads, 0);
    EXPECT_LE(r.largestLogBytes, restartPoint * 3 / 2)
        << "restart point " << restartPoint << " bytes; " << r.writes << " writes";
    EXPECT_GE(r.backWithinLimitSeconds, 0) << "the log file stays at " << log_under_readers::LogFileSize(m_path)
                                           << " bytes while the readers go on";
    EXPECT_LT(r.longestWriteSeconds, 1.0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBPhysicalDevice"), r.writes);
    std::printf("%ld writes, %ld reads; largest log file %llu bytes (restart point %llu); longest write %.1f ms; "
                "back within the limit %.2f s after the writes\n",
                r.writes, r.reads, r.largestLogBytes, restartPoint, r.longestWriteSeconds * 1e3,
                r.backWithinLimitSeconds);
}

}  // namespace
