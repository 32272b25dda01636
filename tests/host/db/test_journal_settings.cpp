// The numeric settings a catalogue connection takes when it is opened: each
// value that is not a number, negative or outside its key's range gives the
// key's default and one ERR entry, and the limits of the log are computed
// from values that cannot wrap.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "host/ZXPlatformInfo.h"
#include "host/ZxFramework.h"
#include "host/db/DBConnection.h"
#include "host/db/DBJournal.h"
#include "host/db/HostDBFaults.h"
#include "service/ReplicationMgr.h"
#include "snr/DeviceMessages.h"
#include "support/AddDeviceRequest.h"
#include "support/TestCatalogue.h"
#include "support/TestHost.h"

namespace {

const char kSection[] = "~ReplicationMgr";

// What a connection to the catalogue uses.
struct Used {
    unsigned long checkpointPages = 0;
    unsigned long long walLimitBytes = 0;
    unsigned long hardLimitPages = 0;
    long long ceilingMs = 0;
    long long cacheSize = 0;  // PRAGMA cache_size (negative: KiB)
    long long mmapSize = 0;   // PRAGMA mmap_size, bytes
};

bool operator==(const Used& a, const Used& b)
{
    return a.checkpointPages == b.checkpointPages && a.walLimitBytes == b.walLimitBytes &&
           a.hardLimitPages == b.hardLimitPages && a.ceilingMs == b.ceilingMs && a.cacheSize == b.cacheSize &&
           a.mmapSize == b.mmapSize;
}

std::ostream& operator<<(std::ostream& out, const Used& u)
{
    return out << "{checkpoint " << u.checkpointPages << " pages, cut back to " << u.walLimitBytes
               << " bytes, hard limit " << u.hardLimitPages << " pages, ceiling " << u.ceilingMs << " ms, cache "
               << u.cacheSize << ", mmap " << u.mmapSize << "}";
}

// With the defaults and 4,096-byte pages (frames of 4,120 bytes): 1,000
// pages, 64 MiB, 48 times the checkpoint size, 3 s, 8 MiB, 256 MiB.
Used defaults()
{
    Used u;
    u.checkpointPages = 1000;
    u.walLimitBytes = 64ULL << 20;
    u.hardLimitPages = 48000;
    u.ceilingMs = 3000;
    u.cacheSize = -8192;
    u.mmapSize = 256LL << 20;
    return u;
}

long long pragma(sqlite3* db, const char* sql)
{
    sqlite3_stmt* stmt = nullptr;
    long long value = -1;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
        value = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return value;
}

class JournalSettingsTest : public CatalogueTest {
protected:
    void SetUp() override
    {
        ConfigureQuietHost();
        CatalogueTest::SetUp();
    }
    void TearDown() override
    {
        for (const char* key : {"DBCacheSizeKB", "DBMmapSizeMB", "DBCheckpointPages", "DBWalSizeLimitKB",
                                "DBWalHardLimitKB", "DBReaderWaitCeilingMs"})
            ZXPlatformInfo::clearValue(kSection, key);
        DBtran::useCatalogue(m_path);
        CatalogueTest::TearDown();
    }

    // What the thread's connection, opened again now, uses.
    Used opened()
    {
        DBtran::useCatalogue(m_path);
        std::shared_ptr<DBConnection> conn;
        Used u;
        EXPECT_EQ(dbThreadConnection(conn), 0);
        if (!conn) return u;
        u.checkpointPages = conn->checkpointPages;
        u.walLimitBytes = conn->walLimitBytes;
        u.hardLimitPages = conn->hardLimitPages;
        u.ceilingMs = conn->readerWaitCeiling.count();
        u.cacheSize = pragma(conn->db, "PRAGMA cache_size");
        u.mmapSize = pragma(conn->db, "PRAGMA mmap_size");
        return u;
    }

    // What a connection opened with key set to value uses; the key is
    // cleared again afterwards.
    Used with(const char* key, const std::string& value)
    {
        ZXPlatformInfo::setValue(kSection, key, value);
        const Used u = opened();
        ZXPlatformInfo::clearValue(kSection, key);
        return u;
    }

    // The ERR entries that name key, value and this test's catalogue.
    size_t entriesFor(const std::string& key, const std::string& value)
    {
        size_t n = 0;
        for (const std::string& e : LogEntriesWith("The setting " + key + " of section ~ReplicationMgr is \"" +
                                                   value + "\""))
            if (e.find(m_path) != std::string::npos) ++n;
        return n;
    }
};

TEST_F(JournalSettingsTest, AHardLimitThatIsNoSizeGivesTheDefaultAndOneEntry)
{
    ASSERT_EQ(opened(), defaults());
    // Negative, beyond the 1 TiB the key takes, wrapping at the shift into
    // bytes (2^54 KiB, and 2^54 KiB + 1,000 KiB, which wrapped to 1,000 KiB),
    // beyond a 64-bit number, not a number.
    for (const char* value : {"-1", "99999999999", "18014398509481984", "18014398509482984", "99999999999999999999",
                              "abc", "12abc", "1073741825"}) {
        EXPECT_EQ(with("DBWalHardLimitKB", value), defaults()) << value;
        EXPECT_EQ(entriesFor("DBWalHardLimitKB", value), 1u) << value;
    }
    // An empty value is no value: the default, and no entry.
    EXPECT_EQ(with("DBWalHardLimitKB", ""), defaults());
    EXPECT_EQ(with("DBWalHardLimitKB", "  "), defaults());
    EXPECT_EQ(entriesFor("DBWalHardLimitKB", ""), 0u);

    // The largest size taken, 1 TiB, in pages with their frame headers; and
    // 0, the default.
    Used largest = defaults();
    largest.hardLimitPages = (1ULL << 40) / 4120;
    EXPECT_EQ(with("DBWalHardLimitKB", "1073741824"), largest);
    EXPECT_EQ(with("DBWalHardLimitKB", "0x40000000"), largest);
    EXPECT_EQ(with("DBWalHardLimitKB", "0"), defaults());
    EXPECT_EQ(entriesFor("DBWalHardLimitKB", "1073741824"), 0u);
    EXPECT_EQ(entriesFor("DBWalHardLimitKB", "0"), 0u);
}

TEST_F(JournalSettingsTest, EachKeyOutOfItsRangeGivesItsDefaultAndOneEntry)
{
    const char* keys[] = {"DBCacheSizeKB", "DBMmapSizeMB", "DBCheckpointPages", "DBWalSizeLimitKB",
                          "DBReaderWaitCeilingMs"};
    for (const char* key : keys)
        for (const char* value : {"-1", "99999999999", "18014398509481984", "abc", "-0x10"}) {
            EXPECT_EQ(with(key, value), defaults()) << key << "=" << value;
            EXPECT_EQ(entriesFor(key, value), 1u) << key << "=" << value;
        }
    // Just beyond each key's range.
    for (const auto& beyond : {std::make_pair("DBCacheSizeKB", "4194305"), std::make_pair("DBMmapSizeMB", "1048577"),
                               std::make_pair("DBCheckpointPages", "1048577"),
                               std::make_pair("DBWalSizeLimitKB", "1073741825"),
                               std::make_pair("DBReaderWaitCeilingMs", "75001")}) {
        EXPECT_EQ(with(beyond.first, beyond.second), defaults()) << beyond.first;
        EXPECT_EQ(entriesFor(beyond.first, beyond.second), 1u) << beyond.first;
    }
}

TEST_F(JournalSettingsTest, ValuesWithinTheRangeAreTakenAndClampedAsDocumented)
{
    Used u = defaults();
    u.cacheSize = -4194304;
    EXPECT_EQ(with("DBCacheSizeKB", "4194304"), u);
    u = defaults();
    u.mmapSize = 0;
    EXPECT_EQ(with("DBMmapSizeMB", "0"), u);

    // The checkpoint size: 0 the default; the largest with the limits
    // derived from it (the hard limit 48 times it with its frames).
    EXPECT_EQ(with("DBCheckpointPages", "0"), defaults());
    u = defaults();
    u.checkpointPages = 1UL << 20;
    u.walLimitBytes = (1ULL << 20) * 4096;
    u.hardLimitPages = 48UL << 20;
    EXPECT_EQ(with("DBCheckpointPages", "1048576"), u);

    // The size the log is cut back to and the hard limit are at least the
    // checkpoint size; the size the log is cut back to is at most the hard
    // limit (its pages with their frames), whichever of the two is set.
    u = defaults();
    u.walLimitBytes = 1000ULL * 4096;
    EXPECT_EQ(with("DBWalSizeLimitKB", "0"), u);
    u = defaults();
    u.walLimitBytes = 48000ULL * 4120;
    EXPECT_EQ(with("DBWalSizeLimitKB", "1073741824"), u);
    EXPECT_EQ(with("DBWalSizeLimitKB", "193125"), u);
    u.walLimitBytes = 193124ULL << 10;
    EXPECT_EQ(with("DBWalSizeLimitKB", "193124"), u);
    u = defaults();
    u.hardLimitPages = 1000;
    u.walLimitBytes = 1000ULL * 4120;
    EXPECT_EQ(with("DBWalHardLimitKB", "1"), u);

    // The ceiling: 0 the default, from 200 ms to half the busy timeout.
    EXPECT_EQ(with("DBReaderWaitCeilingMs", "0"), defaults());
    u = defaults();
    u.ceilingMs = 200;
    EXPECT_EQ(with("DBReaderWaitCeilingMs", "1"), u);
    u.ceilingMs = 37500;
    EXPECT_EQ(with("DBReaderWaitCeilingMs", "75000"), u);
    u.ceilingMs = 1234;
    EXPECT_EQ(with("DBReaderWaitCeilingMs", "1234"), u);

    EXPECT_TRUE(LogEntriesWith(m_path + " takes the key's default").empty());
}

// Connections are opened often: a value not taken is logged once, however
// many connections read it, and each other such value once more.
TEST_F(JournalSettingsTest, AValueNotTakenIsLoggedOncePerKeyAndValue)
{
    ZXPlatformInfo::setValue(kSection, "DBReaderWaitCeilingMs", "-1");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(opened().ceilingMs, 3000);
    EXPECT_EQ(entriesFor("DBReaderWaitCeilingMs", "-1"), 1u);
    const std::vector<std::string> entry = LogEntriesWith("DBReaderWaitCeilingMs of section");
    ASSERT_FALSE(entry.empty());
    EXPECT_NE(entry.back().find("not a number from 0 to 75000: the catalogue " + m_path + " takes the key's default"),
              std::string::npos)
        << entry.back();

    ZXPlatformInfo::setValue(kSection, "DBReaderWaitCeilingMs", "-2");
    EXPECT_EQ(opened().ceilingMs, 3000);
    EXPECT_EQ(opened().ceilingMs, 3000);
    EXPECT_EQ(entriesFor("DBReaderWaitCeilingMs", "-1"), 1u);
    EXPECT_EQ(entriesFor("DBReaderWaitCeilingMs", "-2"), 1u);
}

// Requests through post from several threads, each opening a connection of
// its own, are answered with the defaults in place of the values not taken,
// and each such value is logged once.
TEST_F(JournalSettingsTest, RequestsOfSeveralThreadsWriteWithTheDefaultsAndEachValueIsLoggedOnce)
{
    ZXPlatformInfo::setValue(kSection, "DBWalHardLimitKB", "-1");
    ZXPlatformInfo::setValue(kSection, "DBReaderWaitCeilingMs", "abc");
    DBtran::useCatalogue(m_path);
    std::atomic<int> registered{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&registered, t] {
            CZxNetwork network;
            bool done = false;
            network.setSendObserver([&done](unsigned long code, const void* data, unsigned long length) {
                done = code == 0x35000002 && length == sizeof(repAddSNRDeviceResponse) &&
                       static_cast<const repAddSNRDeviceResponse*>(data)->status == 1;
            });
            ZxSessionSend session(&network);
            ReplicationMgr mgr(&session);
            AddDeviceRequest request(300 + t, "settings-" + std::to_string(t));
            zxsDatabuf buf;
            buf.m_pData = &request.req;
            if (mgr.post(0x35000001, 0, &buf) == 1 && done) ++registered;
        });
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(registered.load(), 4);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBPhysicalDevice"), 4);

    // The connection the transactions ran on has the default limits.
    std::shared_ptr<DBConnection> own;
    std::shared_ptr<DBConnection> writer;
    ASSERT_EQ(dbThreadConnection(own), 0);
    ASSERT_EQ(dbWritingConnection(*own, writer), 0);
    EXPECT_EQ(writer->hardLimitPages, 48000u);
    EXPECT_EQ(writer->readerWaitCeiling.count(), 3000);
    EXPECT_EQ(entriesFor("DBWalHardLimitKB", "-1"), 1u);
    EXPECT_EQ(entriesFor("DBReaderWaitCeilingMs", "abc"), 1u);
}

// A page size that cannot be read counts as SQLite's default, 4,096 bytes:
// the limits stay those of the defaults rather than falling to the
// checkpoint size.
TEST_F(JournalSettingsTest, APageSizeThatCannotBeReadCountsAsTheDefault)
{
    HostDBFaults::failNext("pageSize", SQLITE_IOERR);
    EXPECT_EQ(opened(), defaults());
    EXPECT_FALSE(HostDBFaults::pending("pageSize"));
    std::vector<std::string> entries = LogEntriesWith("Cannot read the page size of the catalogue " + m_path);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_NE(entries[0].find("it counts as 4096 bytes"), std::string::npos) << entries[0];

    // With settings of their own, the limits are computed from 4,096-byte
    // pages too.
    ZXPlatformInfo::setValue(kSection, "DBCheckpointPages", "100");
    ZXPlatformInfo::setValue(kSection, "DBWalHardLimitKB", "41200");
    HostDBFaults::failNext("pageSize", SQLITE_IOERR);
    const Used u = opened();
    EXPECT_EQ(u.hardLimitPages, 10240u);
    EXPECT_EQ(u.walLimitBytes, 10240ULL * 4120);
    EXPECT_EQ(u.checkpointPages, 100u);
}

// Whatever the settings within their ranges (each key's edges among them),
// a commit that leaves the log at its hard limit waits there for the
// readers and starts the log again, however far its file has grown past its
// limit (as a reader that kept the log leaves it): the hard limit is a page
// count SQLite can report, nothing in the settings or the file's size turns
// the wait off, and the file is emptied before the commit returns.
TEST_F(JournalSettingsTest, EverySettingWithinItsRangeKeepsTheWaitAtTheHardLimit)
{
    const std::string wal = m_path + "-wal";
    unsigned long waited = dbReaderWaits(m_path).hardLimitBegun;
    int points = 0;
    for (const char* checkpoint : {"0", "1", "100", "1800", "1048576"})
        for (const char* sizeLimit : {"0", "1", "1024", "65536", "1073741824"})
            for (const char* hardLimit : {"0", "1", "347648", "1073741824"})
                for (const char* ceiling : {"0", "1", "75000"}) {
                    ZXPlatformInfo::setValue(kSection, "DBCheckpointPages", checkpoint);
                    ZXPlatformInfo::setValue(kSection, "DBWalSizeLimitKB", sizeLimit);
                    ZXPlatformInfo::setValue(kSection, "DBWalHardLimitKB", hardLimit);
                    ZXPlatformInfo::setValue(kSection, "DBReaderWaitCeilingMs", ceiling);
                    DBtran::useCatalogue(m_path);
                    std::shared_ptr<DBConnection> own;
                    std::shared_ptr<DBConnection> writer;
                    ASSERT_EQ(dbThreadConnection(own), 0);
                    ASSERT_EQ(dbWritingConnection(*own, writer), 0);
                    const std::string at = std::string("checkpoint ") + checkpoint + ", limit " + sizeLimit +
                                           " KiB, hard limit " + hardLimit + " KiB, ceiling " + ceiling + " ms";
                    ASSERT_GE(writer->hardLimitPages, writer->checkpointPages) << at;
                    ASSERT_LE(writer->hardLimitPages, static_cast<unsigned long>(INT_MAX)) << at;
                    // 64 GiB past the larger of the two limits (a sparse file:
                    // its blocks are never written), by path, with no
                    // descriptor of the file opened.
                    const unsigned long long far =
                        std::max<unsigned long long>(writer->walLimitBytes, writer->hardLimitPages * 4120ULL) +
                        (64ULL << 30);
                    ASSERT_EQ(::truncate(wal.c_str(), static_cast<off_t>(far)), 0) << at;
                    dbAfterCommit(*writer, static_cast<int>(writer->hardLimitPages));
                    const unsigned long now = dbReaderWaits(m_path).hardLimitBegun;
                    EXPECT_EQ(now, waited + 1) << at;
                    struct stat st;
                    ASSERT_EQ(::stat(wal.c_str(), &st), 0) << at;
                    EXPECT_LE(static_cast<unsigned long long>(st.st_size), writer->walLimitBytes) << at;
                    waited = now;
                    ++points;
                }
    EXPECT_EQ(points, 300);
}

}  // namespace
