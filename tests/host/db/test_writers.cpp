#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "host/ZXPlatformInfo.h"
#include "host/db/DBConnection.h"
#include "host/db/DBJournal.h"
#include "host/db/DBWriterQueue.h"
#include "host/db/SNRTables.h"
#include "support/LogUnderReaders.h"
#include "support/TestCatalogue.h"
#include "support/TestHost.h"
#include "support/WriterTurn.h"

namespace {

using std::chrono::milliseconds;

// Waits until cond holds, for at most ten seconds.
template <typename Cond>
bool eventually(Cond cond)
{
    for (int i = 0; i < 1000 && !cond(); ++i) std::this_thread::sleep_for(milliseconds(10));
    return cond();
}

// The queues of catalogue files named in a directory of the test's own.
class WriterQueueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char dir[] = "/tmp/replmgr_queue_XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        m_dir = dir;
    }
    void TearDown() override { rmdir(m_dir.c_str()); }

    std::string file(const char* name) const { return m_dir + "/" + name; }

    std::string m_dir;
};

TEST_F(WriterQueueTest, TurnsComeInTheOrderTheyWereAskedFor)
{
    auto queue = DBWriterQueue::of(file("order.db"));
    ASSERT_TRUE(queue->enter(milliseconds(1000)));
    std::mutex mutex;
    std::vector<int> order;
    std::vector<std::thread> threads;
    for (int i = 0; i < 5; ++i) {
        threads.emplace_back([&, i] {
            if (!queue->enter(milliseconds(10000))) return;
            {
                std::lock_guard<std::mutex> guard(mutex);
                order.push_back(i);
            }
            queue->leave();
        });
        // The next one asks only once this one waits.
        ASSERT_TRUE(eventually([&] { return queue->waiting() == static_cast<size_t>(i + 1); }));
    }
    queue->leave();
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(queue->waiting(), 0u);
}

TEST_F(WriterQueueTest, TurnNotComingInTimeIsGivenUpAndTheQueueGoesOn)
{
    auto queue = DBWriterQueue::of(file("timeout.db"));
    ASSERT_TRUE(queue->enter(milliseconds(1000)));
    bool late = true;
    std::thread waiter([&] { late = queue->enter(milliseconds(20)); });
    waiter.join();
    EXPECT_FALSE(late);
    EXPECT_EQ(queue->waiting(), 0u);
    queue->leave();
    // Free again: taken at once.
    ASSERT_TRUE(queue->enter(milliseconds(0)));
    queue->leave();
    // Files have queues of their own.
    EXPECT_NE(DBWriterQueue::of(file("other.db")), queue);
    EXPECT_EQ(DBWriterQueue::of(file("timeout.db")), queue);
}

YBPhysicalDevice_t device(int clientId, const char* name)
{
    YBPhysicalDevice_t row;
    row.ClientId = clientId;
    std::strncpy(row.DeviceName, name, sizeof(row.DeviceName) - 1);
    return row;
}

// One transaction of `rows` devices of the client, each named by over a
// kilobyte; true when it was committed.
bool WriteLargeTransaction(int clientId, int rows)
{
    const std::string name(1000, 'n');
    CSNRVolumeDeviceNameDB db;
    DBtran tran(false);
    if (tran.startTran() != 0) return false;
    for (int i = 0; i < rows; ++i) {
        YBPhysicalDevice_t row = device(clientId, (name + std::to_string(i)).c_str());
        if (!db.insert(row, &tran)) return false;
    }
    return tran.commitTran(false) == 0;
}

// Copies what it can of the log of the catalogue at path into the file, on a
// connection of its own, as a checkpoint that waits for no one: the pages in
// the log, and whether all of them are copied now (false when another
// checkpoint was running). -1 on failure.
int LogPages(const std::string& path, bool* copiedWhole = nullptr)
{
    // Another connection's checkpoint (the background thread waiting for a
    // reader, up to 200 ms) holds the checkpoint lock: the counts are then
    // unknown (-1), and are read again once it is done.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
        sqlite3* other = nullptr;
        int logged = -1;
        int copied = -1;
        const int rc = sqlite3_open(path.c_str(), &other) != SQLITE_OK ||
                               sqlite3_exec(other, "PRAGMA schema_version", nullptr, nullptr, nullptr) != SQLITE_OK
                           ? SQLITE_ERROR
                           : sqlite3_wal_checkpoint_v2(other, nullptr, SQLITE_CHECKPOINT_PASSIVE, &logged, &copied);
        sqlite3_close(other);
        if (rc == SQLITE_BUSY && logged < 0 && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        if (copiedWhole != nullptr) *copiedWhole = rc == SQLITE_OK && logged == copied;
        return rc == SQLITE_OK || rc == SQLITE_BUSY ? logged : -1;
    }
}

// Writes one device of the client and then counts the pages in the log of
// the catalogue at path: a few when the log was started again from its
// beginning before that write; -1 on failure.
int LogPagesAfterOneMoreWrite(const std::string& path, int clientId)
{
    CSNRVolumeDeviceNameDB db;
    DBtran next(false);
    YBPhysicalDevice_t row = device(clientId, "/dev/after");
    if (next.startTran() != 0 || !db.insert(row, &next) || next.commitTran(false) != 0) return -1;
    return LogPages(path);
}

using WritersTest = CatalogueTest;

TEST_F(WritersTest, WriteOutsideATransactionWaitsItsTurnInTheProcess)
{
    CSNRVolumeDeviceNameDB db;
    auto queue = DBWriterQueue::of(m_path);
    DBtran tran(false);
    ASSERT_EQ(tran.startTran(), 0);
    YBPhysicalDevice_t first = device(41, "/dev/first");
    ASSERT_TRUE(db.insert(first, &tran));

    std::atomic<bool> done{false};
    bool inserted = false;
    std::thread other([&] {
        CSNRVolumeDeviceNameDB mine;
        YBPhysicalDevice_t row = device(41, "/dev/second");
        inserted = mine.insert(row, nullptr);
        done = true;
    });
    ASSERT_TRUE(eventually([&] { return queue->waiting() == 1u; }));
    EXPECT_FALSE(done.load());
    ASSERT_EQ(tran.commitTran(false), 0);
    other.join();
    EXPECT_TRUE(inserted);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBPhysicalDevice WHERE ClientId = 41"), 2);
}

// A writer that gives up waiting while another holds the turn leaves that
// turn alone: once the holder commits, the turn is free, and a lone writer
// has it at once.
TEST_F(WritersTest, AWriterGivingUpLeavesTheTurnOfTheOneHoldingIt)
{
    DBtran holder(false);
    ASSERT_EQ(holder.startTran(), 0);
    dbSetWriterTimeout(milliseconds(20));
    int late = 0;
    std::thread waiter([&] {
        DBtran tran(false);
        late = tran.startTran();
    });
    waiter.join();
    dbSetWriterTimeout(milliseconds(0));
    EXPECT_EQ(late, SQLITE_BUSY);
    EXPECT_EQ(LogEntriesWith("No turn to write to the catalogue").size(), 1u);
    ASSERT_EQ(holder.commitTran(false), 0);

    ASSERT_TRUE(WriterTurnFree(m_path));
    CSNRVolumeDeviceNameDB db;
    YBPhysicalDevice_t row = device(42, "/dev/lone");
    EXPECT_TRUE(db.insert(row, nullptr));
}

TEST_F(WritersTest, ConnectionSettingsComeFromTheConfiguration)
{
    auto pragma = [](const char* sql) {
        std::shared_ptr<DBConnection> conn;
        EXPECT_EQ(dbThreadConnection(conn), 0);
        sqlite3_stmt* stmt = nullptr;
        long long value = -1;
        if (sqlite3_prepare_v2(conn->db, sql, -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
            value = sqlite3_column_int64(stmt, 0);
        sqlite3_finalize(stmt);
        return value;
    };
    EXPECT_EQ(pragma("PRAGMA cache_size"), -8192);
    EXPECT_EQ(pragma("PRAGMA mmap_size"), 256LL << 20);
    EXPECT_EQ(pragma("PRAGMA journal_size_limit"), 64LL << 20);

    ZXPlatformInfo::setValue("~ReplicationMgr", "DBCacheSizeKB", "1234");
    ZXPlatformInfo::setValue("~ReplicationMgr", "DBMmapSizeMB", "0");
    DBtran::useCatalogue(m_path);  // opens the thread's connection again
    EXPECT_EQ(pragma("PRAGMA cache_size"), -1234);
    EXPECT_EQ(pragma("PRAGMA mmap_size"), 0);
    ZXPlatformInfo::clearValue("~ReplicationMgr", "DBCacheSizeKB");
    ZXPlatformInfo::clearValue("~ReplicationMgr", "DBMmapSizeMB");

    // The hard limit of the log: 48 times the checkpoint size unless given,
    // a size in KiB counting each page with its frame header (4,096 and 24
    // bytes), never below the checkpoint size.
    auto hardLimitPages = [] {
        std::shared_ptr<DBConnection> conn;
        EXPECT_EQ(dbThreadConnection(conn), 0);
        return conn->hardLimitPages;
    };
    EXPECT_EQ(hardLimitPages(), 48000u);
    ZXPlatformInfo::setValue("~ReplicationMgr", "DBWalHardLimitKB", "41200");
    DBtran::useCatalogue(m_path);
    EXPECT_EQ(hardLimitPages(), 10240u);
    ZXPlatformInfo::setValue("~ReplicationMgr", "DBWalHardLimitKB", "100");
    DBtran::useCatalogue(m_path);
    EXPECT_EQ(hardLimitPages(), 1000u);
    ZXPlatformInfo::clearValue("~ReplicationMgr", "DBWalHardLimitKB");
}

TEST_F(WritersTest, LogIsCheckpointedInTheBackgroundAndStartedAgain)
{
    ZXPlatformInfo::setValue("~ReplicationMgr", "DBCheckpointPages", "25");
    DBtran::useCatalogue(m_path);
    struct stat before;
    ASSERT_EQ(stat(m_path.c_str(), &before), 0);
    const unsigned long runs = dbBackgroundCheckpoints();

    // Some 1,100 pages: more than 40 times the checkpoint size, so the log
    // is restarted as well, and less than the 48 times at which the thread
    // that commits starts it again itself.
    ASSERT_TRUE(WriteLargeTransaction(51, 430));
    ASSERT_TRUE(eventually([&] { return dbBackgroundCheckpoints() > runs; }));

    // The rows are in the file itself now, and the next transaction writes
    // the log from its beginning.
    struct stat after;
    ASSERT_EQ(stat(m_path.c_str(), &after), 0);
    EXPECT_GT(after.st_size, before.st_size + 430 * 1000);
    const int logged = LogPagesAfterOneMoreWrite(m_path, 52);
    EXPECT_GE(logged, 1);
    EXPECT_LT(logged, 50);
    ZXPlatformInfo::clearValue("~ReplicationMgr", "DBCheckpointPages");
}

// A log far past its restart point (the background thread fallen behind) is
// copied and started again by the thread that commits, before its commit
// returns: the background thread is not asked.
TEST_F(WritersTest, ALogFarPastItsRestartPointIsStartedAgainByTheThreadThatCommits)
{
    ZXPlatformInfo::setValue("~ReplicationMgr", "DBCheckpointPages", "10");
    DBtran::useCatalogue(m_path);
    struct stat before;
    ASSERT_EQ(stat(m_path.c_str(), &before), 0);

    // Some 770 pages: more than the 48 times the checkpoint size at which
    // the thread that commits starts the log again.
    ASSERT_TRUE(WriteLargeTransaction(53, 300));
    struct stat after;
    ASSERT_EQ(stat(m_path.c_str(), &after), 0);
    EXPECT_GT(after.st_size, before.st_size + 300 * 1000);
    const int logged = LogPagesAfterOneMoreWrite(m_path, 54);
    EXPECT_GE(logged, 1);
    EXPECT_LT(logged, 50);
    ZXPlatformInfo::clearValue("~ReplicationMgr", "DBCheckpointPages");
}

TEST_F(WritersTest, TheLogFileComesBackWithinItsLimitOnceTheWritesStop)
{
    ZXPlatformInfo::setValue("~ReplicationMgr", "DBCheckpointPages", "10");
    ZXPlatformInfo::setValue("~ReplicationMgr", "DBWalSizeLimitKB", "256");
    ZXPlatformInfo::setValue("~ReplicationMgr", "DBReaderWaitCeilingMs", "300");
    DBtran::useCatalogue(m_path);
    const long long limit = 256 << 10;
    auto walSize = [this] { return static_cast<long long>(log_under_readers::LogFileSize(m_path)); };
    const std::string name(1000, 'n');

    // Four threads writing small transactions, one of them a large one too
    // (the log cannot start again while it is open, so the file grows past
    // the limit): some 2,500 pages, which the thread that commits starts
    // again itself.
    std::atomic<int> failures{0};
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([&, t] {
            CSNRVolumeDeviceNameDB db;
            for (int k = 0; k < 40; ++k) {
                if (t == 0 && k == 20 && !WriteLargeTransaction(60, 1000)) ++failures;
                DBtran tran(false);
                if (tran.startTran() != 0) ++failures;
                for (int i = 0; i < 10; ++i) {
                    YBPhysicalDevice_t row = device(61 + t, (name + std::to_string(k * 100 + i)).c_str());
                    if (!db.insert(row, &tran)) ++failures;
                }
                if (tran.commitTran(false) != 0) ++failures;
            }
        });
    for (std::thread& w : writers) w.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_TRUE(eventually([&] { return walSize() <= limit; })) << "the log file stays at " << walSize() << " bytes";

    // A reader keeps the log's pages (some 770 of them: the thread that
    // commits gives up waiting for the reader at the log's hard limit, and
    // the background thread waits again once the reader has moved on): the file stays above its limit
    // until it is done, and comes back within it afterwards without another
    // write.
    sqlite3* reader = nullptr;
    ASSERT_EQ(sqlite3_open(m_path.c_str(), &reader), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(reader, "BEGIN; SELECT COUNT(*) FROM YBPhysicalDevice", nullptr, nullptr, nullptr),
              SQLITE_OK);
    const unsigned long runs = dbBackgroundCheckpoints();
    ASSERT_TRUE(WriteLargeTransaction(70, 300));
    ASSERT_TRUE(eventually([&] { return dbBackgroundCheckpoints() > runs; }));
    EXPECT_GT(walSize(), limit);
    ASSERT_EQ(sqlite3_exec(reader, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_TRUE(eventually([&] { return walSize() <= limit; })) << "the log file stays at " << walSize() << " bytes";
    sqlite3_close(reader);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBPhysicalDevice"), 1300 + 4 * 40 * 10);
    ZXPlatformInfo::clearValue("~ReplicationMgr", "DBCheckpointPages");
    ZXPlatformInfo::clearValue("~ReplicationMgr", "DBWalSizeLimitKB");
    ZXPlatformInfo::clearValue("~ReplicationMgr", "DBReaderWaitCeilingMs");
}

// Beside a reader that stays in one read transaction until the test ends
// it, longer than any wait for readers: the waits for it of the background
// thread and of the thread that commits, each give-up holding the next waits
// off for longer than the test runs. The wait at the log's hard limit (48
// times the checkpoint size) lasts 300 ms at most.
class ReaderWaitTest : public CatalogueTest {
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        dbSetReaderWaitHoldOff(std::chrono::minutes(10));
        ZXPlatformInfo::setValue("~ReplicationMgr", "DBReaderWaitCeilingMs", "300");
    }
    void TearDown() override
    {
        if (m_reader != nullptr) {
            sqlite3_exec(m_reader, "COMMIT", nullptr, nullptr, nullptr);
            sqlite3_close(m_reader);
        }
        dbSetReaderWaitHoldOff(milliseconds(0));
        ZXPlatformInfo::clearValue("~ReplicationMgr", "DBCheckpointPages");
        ZXPlatformInfo::clearValue("~ReplicationMgr", "DBReaderWaitCeilingMs");
        CatalogueTest::TearDown();
    }

    // Takes the checkpoint size, and begins the reader once the log is
    // copied whole: the next write starts the log from its beginning, and the
    // reader keeps every page written after it from being copied.
    void BeginReader(const char* checkpointPages)
    {
        ZXPlatformInfo::setValue("~ReplicationMgr", "DBCheckpointPages", checkpointPages);
        DBtran::useCatalogue(m_path);
        ASSERT_TRUE(eventually([&] {
            bool whole = false;
            LogPages(m_path, &whole);
            return whole;
        }));
        ASSERT_EQ(sqlite3_open(m_path.c_str(), &m_reader), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(m_reader, "BEGIN; SELECT COUNT(*) FROM YBPhysicalDevice", nullptr, nullptr, nullptr),
                  SQLITE_OK);
    }

    sqlite3* m_reader = nullptr;
};

// The thread that commits gives up waiting for the reader at the log's hard
// limit and asks the background thread to start the log again: that thread
// does not wait for the same reader again, holding the writers once more.
TEST_F(ReaderWaitTest, AGiveUpOfTheThreadThatCommitsHoldsOffTheBackgroundThread)
{
    BeginReader("10");
    // Some 770 pages: past the hard limit.
    ASSERT_TRUE(WriteLargeTransaction(71, 300));
    DBReaderWaits waits = dbReaderWaits(m_path);
    EXPECT_EQ(waits.begun, 1u);
    EXPECT_EQ(waits.gaveUp, 1u);
    EXPECT_EQ(waits.hardLimitGaveUp, 1u);

    ASSERT_TRUE(eventually([&] { return dbReaderWaits(m_path).heldOff >= 1; }))
        << "the background thread's checkpoint waited " << dbReaderWaits(m_path).begun - 1 << " more times";
    waits = dbReaderWaits(m_path);
    EXPECT_EQ(waits.begun, 1u);
    EXPECT_EQ(waits.gaveUp, 1u);
}

// The background thread gives up its short wait for the reader of a log past
// its restart point; at the hard limit the thread that commits still waits
// for the reader, up to the ceiling, and once that wait gave up no write
// waits for the same reader again while it stays. When it ends, the log is
// started again at the next write.
TEST_F(ReaderWaitTest, AtTheHardLimitTheWritersWaitOnceForAReaderThatStays)
{
    BeginReader("25");
    // Past the restart point (40 times the checkpoint size), short of the
    // hard limit.
    ASSERT_TRUE(WriteLargeTransaction(72, 430));
    ASSERT_TRUE(eventually([&] { return dbReaderWaits(m_path).gaveUp == 1; }));
    // Counted only now: a checkpoint of the count's own, run while the
    // background thread's ran, would have made that one find the log busy.
    const int logged = LogPages(m_path);
    EXPECT_GE(logged, 40 * 25);
    EXPECT_LT(logged, 48 * 25);
    DBReaderWaits waits = dbReaderWaits(m_path);
    EXPECT_EQ(waits.begun, 1u);
    EXPECT_EQ(waits.hardLimitBegun, 0u);

    // Past the hard limit: the wait there is not held off. It gives up after
    // half the ceiling, the log not copied whole: the reader was reading
    // longer than the ceiling provides for.
    ASSERT_TRUE(WriteLargeTransaction(73, 100));
    EXPECT_GE(LogPages(m_path), 48 * 25);
    waits = dbReaderWaits(m_path);
    EXPECT_GE(waits.longestHardLimitWaitMs, 150);
    EXPECT_EQ(waits.begun, 2u);
    EXPECT_EQ(waits.hardLimitBegun, 1u);
    EXPECT_EQ(waits.hardLimitGaveUp, 1u);

    // Further on, the reader still there: no more waits.
    ASSERT_TRUE(WriteLargeTransaction(74, 50));
    waits = dbReaderWaits(m_path);
    EXPECT_EQ(waits.begun, 2u);
    EXPECT_GE(waits.heldOff, 1u);

    // The reader ends: the background thread finds the log copied further
    // and waits for the readers again at once, without its hold-off.
    ASSERT_EQ(sqlite3_exec(m_reader, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    ASSERT_TRUE(WriteLargeTransaction(75, 5));
    EXPECT_TRUE(eventually([&] { return dbReaderWaits(m_path).begun >= 3; }))
        << "no wait began within the hold-off after the reader ended";
    const int pages = LogPagesAfterOneMoreWrite(m_path, 76);
    EXPECT_GE(pages, 1);
    EXPECT_LT(pages, 48 * 25);
}

}  // namespace
