#include <cstring>
#include <string>
#include <vector>

#include "support/StatementRuns.h"
#include "support/TestCatalogue.h"
#include "host/db/DBConnection.h"
#include "host/db/SNRTables.h"
#include "host/db/SqlText.h"

namespace {

YBPhysicalDevice_t device(int clientId, const char* name)
{
    YBPhysicalDevice_t row;
    row.ClientId = clientId;
    row.SNRVolumeId = 4;
    row.FilerClientId = 1;
    std::strncpy(row.DeviceName, name, sizeof(row.DeviceName) - 1);
    std::strcpy(row.OSDeviceName, "/dev/sdb");
    std::strcpy(row.AccessPath, "iqn.2001");
    return row;
}

}  // namespace

using EntityTableTest = CatalogueTest;

TEST_F(EntityTableTest, DeviceNameWithQuoteRoundTrips)
{
    CSNRVolumeDeviceNameDB db;
    const std::string name = "/mnt/O'Brien's disk";
    YBPhysicalDevice_t row = device(3, name.c_str());
    ASSERT_TRUE(db.insert(row, nullptr));
    EXPECT_GT(row.id, 0);

    std::string where = "DeviceName = '" + SqlEscape(name) + "' AND ClientId = 3";
    YBPhysicalDevice_t* rows = nullptr;
    unsigned int count = 0;
    ASSERT_TRUE(db.getList(rows, count, where.c_str(), "id ASC", nullptr));
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(rows[0].id, row.id);
    EXPECT_EQ(std::string(rows[0].DeviceName), name);
    EXPECT_STREQ(rows[0].OSDeviceName, "/dev/sdb");
    EXPECT_STREQ(rows[0].AccessPath, "iqn.2001");
    EXPECT_EQ(rows[0].SNRVolumeId, 4);
    db.deleteList(rows);
    EXPECT_EQ(rows, nullptr);

    // A SET text with a quoted value, and a '%' that is no format.
    std::string set = "DeviceName = '" + SqlEscape("it's 100%s") + "'";
    ASSERT_TRUE(db.Update(row.id, set.c_str(), nullptr));
    YBPhysicalDevice_t read;
    ASSERT_TRUE(db.getInfo(row.id, read, nullptr));
    EXPECT_STREQ(read.DeviceName, "it's 100%s");

    // Texts compare without regard to case.
    unsigned int n = 0;
    ASSERT_TRUE(db.getNRows("DeviceName = 'IT''S 100%S'", n, nullptr));
    EXPECT_EQ(n, 1u);
}

TEST_F(EntityTableTest, ListsCountsAndOrder)
{
    CSNRVolumeDeviceNameDB db;
    YBPhysicalDevice_t* rows = nullptr;
    unsigned int count = 7;
    ASSERT_TRUE(db.getList(rows, count, "ClientId = 1", "", nullptr));
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(rows, nullptr);
    db.deleteList(rows);

    for (const char* name : {"b", "a", "c"}) {
        YBPhysicalDevice_t row = device(1, name);
        ASSERT_TRUE(db.insert(row, nullptr));
    }
    YBPhysicalDevice_t other = device(2, "z");
    ASSERT_TRUE(db.insert(other, nullptr));

    ASSERT_TRUE(db.getList(rows, count, "", "DeviceName DESC", nullptr));
    ASSERT_EQ(count, 4u);
    EXPECT_STREQ(rows[0].DeviceName, "z");
    EXPECT_STREQ(rows[3].DeviceName, "a");
    db.deleteList(rows);

    ASSERT_TRUE(db.getList(rows, count, nullptr, nullptr, nullptr));
    EXPECT_EQ(count, 4u);
    db.deleteList(rows);

    unsigned int n = 0;
    ASSERT_TRUE(db.getNRows("ClientId = 1", n, nullptr));
    EXPECT_EQ(n, 3u);

    EXPECT_FALSE(db.getList(rows, count, "NoSuchColumn = 1", nullptr, nullptr));
    EXPECT_NE(db.m_nErrorCode, 0);
    EXPECT_NE(db.m_nErrorCode, 100);
    EXPECT_EQ(rows, nullptr);
}

TEST_F(EntityTableTest, ListOfATransactionHoldsItsOwnRowsEachOnce)
{
    CSNRVolumeDeviceNameDB db;
    for (int i = 0; i < 250; ++i) {
        YBPhysicalDevice_t row = device(6, ("/dev/committed-" + std::to_string(i)).c_str());
        ASSERT_TRUE(db.insert(row, nullptr));
    }
    DBtran tran(false);
    ASSERT_EQ(tran.startTran(), 0);
    YBPhysicalDevice_t added = device(6, "/dev/uncommitted");
    ASSERT_TRUE(db.insert(added, &tran));
    YBPhysicalDevice_t* rows = nullptr;
    unsigned int count = 0;
    // Read outside the transaction object, on the thread that holds it.
    ASSERT_TRUE(db.getList(rows, count, "ClientId = 6", "id DESC", nullptr));
    ASSERT_EQ(count, 251u);
    EXPECT_STREQ(rows[0].DeviceName, "/dev/uncommitted");
    EXPECT_STREQ(rows[250].DeviceName, "/dev/committed-0");
    for (unsigned int i = 1; i < count; ++i) EXPECT_LT(rows[i].id, rows[i - 1].id);
    db.deleteList(rows);
    ASSERT_EQ(tran.rollbackTran(), 0);
    ASSERT_TRUE(db.getList(rows, count, "ClientId = 6 AND DeviceName = '/dev/uncommitted'", "", nullptr));
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(rows, nullptr);
}

// Lists of every length, by a where text and by a clause with its value
// bound, as a row array and as records: each holds every row once in order
// and is read by one run of one statement.
TEST_F(EntityTableTest, ListsOfEveryLengthAreReadOnceInOrder)
{
    CSNRVolumeDeviceNameDB db;
    const int lengths[] = {1, 8, 9, 40, 300};
    for (int n : lengths)
        for (int i = 0; i < n; ++i) {
            YBPhysicalDevice_t row = device(100 + n, ("/dev/list-" + std::to_string(n) + "-" + std::to_string(i)).c_str());
            ASSERT_TRUE(db.insert(row, nullptr));
        }
    StatementRuns runs(m_path);
    for (int n : lengths) {
        SCOPED_TRACE(n);
        const std::vector<DBArgument> client{DBArgument{DBArgument::INT, 100 + n, 0.0, std::string()}};
        const std::string where = "ClientId = " + std::to_string(100 + n);
        auto expectInOrder = [n](const std::vector<std::pair<int, std::string>>& read) {
            ASSERT_EQ(read.size(), static_cast<size_t>(n));
            for (int i = 0; i < n; ++i) {
                EXPECT_EQ(read[i].second, "/dev/list-" + std::to_string(n) + "-" + std::to_string(i));
                if (i > 0) {
                    EXPECT_GT(read[i].first, read[i - 1].first);
                }
            }
        };
        for (bool bound : {false, true}) {
            YBPhysicalDevice_t* rows = nullptr;
            unsigned int count = 0;
            bool read = false;
            EXPECT_EQ(runs.of([&] {
                          read = bound ? db.getList(rows, count, "ClientId = ?1", client, "id ASC", nullptr)
                                       : db.getList(rows, count, where.c_str(), "id ASC", nullptr);
                      }),
                      1u);
            ASSERT_TRUE(read);
            std::vector<std::pair<int, std::string>> array;
            for (unsigned int i = 0; i < count; ++i) {
                EXPECT_EQ(rows[i].ClientId, 100 + n);
                array.emplace_back(rows[i].id, rows[i].DeviceName);
            }
            db.deleteList(rows);
            expectInOrder(array);

            // Records made from the rows as they are read, after those the
            // list held.
            std::vector<std::pair<int, std::string>> records{{-1, "held"}};
            auto convert = [](std::pair<int, std::string>& r, const YBPhysicalDevice_t& row) {
                r = {row.id, row.DeviceName};
            };
            EXPECT_EQ(runs.of([&] {
                          read = bound ? db.getList(records, convert, "ClientId = ?1", client, "id ASC", nullptr)
                                       : db.getList(records, convert, where.c_str(), "id ASC", nullptr);
                      }),
                      1u);
            ASSERT_TRUE(read);
            ASSERT_FALSE(records.empty());
            EXPECT_EQ(records.front().second, "held");
            records.erase(records.begin());
            expectInOrder(records);
        }
    }
}

// The rows handed over one by one; a failed read appends no record.
TEST_F(EntityTableTest, RowsHandedOverAsTheyAreReadAndNoRecordsAfterAFailure)
{
    CSNRVolumeDeviceNameDB db;
    for (int i = 0; i < 3; ++i) {
        YBPhysicalDevice_t row = device(8, ("/dev/each-" + std::to_string(i)).c_str());
        ASSERT_TRUE(db.insert(row, nullptr));
    }
    std::vector<std::string> names;
    ASSERT_TRUE(db.forEach("ClientId = 8", "id DESC", nullptr,
                           [&](const YBPhysicalDevice_t& row) { names.push_back(row.DeviceName); }));
    EXPECT_EQ(names, (std::vector<std::string>{"/dev/each-2", "/dev/each-1", "/dev/each-0"}));
    names.clear();
    ASSERT_TRUE(db.forEach("ClientId = 9", "", nullptr, [&](const YBPhysicalDevice_t& row) { names.push_back(row.DeviceName); }));
    EXPECT_TRUE(names.empty());

    std::vector<std::string> records{"held"};
    auto convert = [](std::string& r, const YBPhysicalDevice_t& row) { r = row.DeviceName; };
    HostDBFaults::failNext("getList", 11);
    EXPECT_FALSE(db.getList(records, convert, "ClientId = 8", "id ASC", nullptr));
    EXPECT_EQ(db.getErrorCode(), 11);
    EXPECT_FALSE(db.getList(records, convert, "NoSuchColumn = 8", "id ASC", nullptr));
    EXPECT_NE(db.getErrorCode(), 0);
    EXPECT_EQ(records, (std::vector<std::string>{"held"}));
}

// The first row of an order read alone; counts per value of a column.
TEST_F(EntityTableTest, FirstRowAloneAndCountsPerValue)
{
    CSNRVolumeDeviceNameDB db;
    for (int client : {4, 3, 4, 4}) {
        YBPhysicalDevice_t row = device(client, ("/dev/c" + std::to_string(client)).c_str());
        row.SNRVolumeId = 20 + client;
        ASSERT_TRUE(db.insert(row, nullptr));
    }
    StatementRuns runs(m_path);
    YBPhysicalDevice_t first;
    bool found = false;
    bool read = false;
    EXPECT_EQ(runs.of([&] { read = db.getFirst(first, found, "ClientId = 4", "id DESC", nullptr); }), 1u);
    ASSERT_TRUE(read);
    EXPECT_TRUE(found);
    EXPECT_EQ(first.id, 4);
    ASSERT_TRUE(db.getFirst(first, found, "ClientId = 5", "id ASC", nullptr));
    EXPECT_FALSE(found);
    EXPECT_EQ(first.id, 4);  // untouched
    HostDBFaults::failNext("getList", 12);
    EXPECT_FALSE(db.getFirst(first, found, "ClientId = 4", "id ASC", nullptr));
    EXPECT_EQ(db.getErrorCode(), 12);

    std::vector<std::pair<long long, unsigned int>> counts{{0, 0}};
    ASSERT_TRUE(db.getNRowsBy("SNRVolumeId", "SNRVolumeId > 0", counts, nullptr));
    EXPECT_EQ(counts, (std::vector<std::pair<long long, unsigned int>>{{0, 0}, {23, 1}, {24, 3}}));
    counts.clear();
    ASSERT_TRUE(db.getNRowsBy("SNRVolumeId", "SNRVolumeId IN (SELECT SNRVolumeId FROM YBPhysicalDevice WHERE ClientId = 3)",
                              counts, nullptr));
    EXPECT_EQ(counts, (std::vector<std::pair<long long, unsigned int>>{{23, 1}}));
    counts.clear();
    ASSERT_TRUE(db.getNRowsBy("ClientId", "ClientId = 9", counts, nullptr));
    EXPECT_TRUE(counts.empty());
    HostDBFaults::failNext("getNRows", 13);
    EXPECT_FALSE(db.getNRowsBy("ClientId", "", counts, nullptr));
    EXPECT_EQ(db.getErrorCode(), 13);
    EXPECT_TRUE(counts.empty());
}

// While a read view is open, the thread's reads outside a transaction see the
// catalogue as it was at the first of them; after it, the rows committed
// meanwhile.
TEST_F(EntityTableTest, ReadViewSeesOneStateOfTheCatalogue)
{
    CSNRVolumeDeviceNameDB db;
    YBPhysicalDevice_t first = device(7, "/dev/before");
    ASSERT_TRUE(db.insert(first, nullptr));
    unsigned int count = 0;
    {
        DBReadView view;
        ASSERT_TRUE(db.getNRows("ClientId = 7", count, nullptr));
        EXPECT_EQ(count, 1u);
        DBtran tran(false);
        ASSERT_EQ(tran.startTran(), 0);
        YBPhysicalDevice_t later = device(7, "/dev/later");
        ASSERT_TRUE(db.insert(later, &tran));
        ASSERT_EQ(tran.commitTran(), 0);
        ASSERT_TRUE(db.getNRows("ClientId = 7", count, nullptr));
        EXPECT_EQ(count, 1u);
    }
    ASSERT_TRUE(db.getNRows("ClientId = 7", count, nullptr));
    EXPECT_EQ(count, 2u);
}

TEST_F(EntityTableTest, MissingRowsGiveCode100AndIdsAreNotReused)
{
    CSNRVolumeDB db;
    YBPhysicalVolume_t volume;
    std::strcpy(volume.UniqueId, "lun-1");
    volume.StartLBA = (1LL << 32) + 5;
    volume.BlockCount = -1;
    volume.Type = 2;
    ASSERT_TRUE(db.insert(volume, nullptr));
    int first = volume.id;
    YBPhysicalVolume_t second;
    ASSERT_TRUE(db.insert(second, nullptr));
    ASSERT_TRUE(db.remove(second.id, nullptr));
    YBPhysicalVolume_t third;
    ASSERT_TRUE(db.insert(third, nullptr));
    EXPECT_GT(third.id, second.id);

    YBPhysicalVolume_t read;
    ASSERT_TRUE(db.getInfo(first, read, nullptr));
    EXPECT_EQ(read.StartLBA, (1LL << 32) + 5);
    EXPECT_EQ(read.BlockCount, -1);
    EXPECT_EQ(read.Type, 2);
    EXPECT_STREQ(read.UniqueId, "lun-1");

    EXPECT_FALSE(db.getInfo(second.id, read, nullptr));
    EXPECT_EQ(db.m_nErrorCode, 100);
    EXPECT_FALSE(db.Update(second.id, "Flags = 1", nullptr));
    EXPECT_EQ(db.getErrorCode(), 100);
    EXPECT_FALSE(db.remove(second.id, nullptr));
    EXPECT_EQ(db.m_nErrorCode, 100);
    ASSERT_TRUE(db.Update(first, "Flags = 2", nullptr));
    EXPECT_EQ(db.m_nErrorCode, 0);
}

TEST_F(EntityTableTest, MountPointsRemovedByWhere)
{
    CSNRVolumeMountPointDB db;
    for (const char* path : {"/mnt/a", "/mnt/b", "/mnt/c"}) {
        YBMountPoint_t row;
        row.DeviceNameId = path[5] == 'c' ? 2 : 1;
        std::strcpy(row.Path, path);
        ASSERT_TRUE(db.insert(row, nullptr));
    }
    EXPECT_FALSE(db.remove("", nullptr));
    EXPECT_FALSE(db.remove("DeviceNameId = 9", nullptr));
    EXPECT_EQ(db.m_nErrorCode, 100);
    ASSERT_TRUE(db.remove("DeviceNameId = 1", nullptr));
    unsigned int n = 0;
    ASSERT_TRUE(db.getNRows("", n, nullptr));
    EXPECT_EQ(n, 1u);

    char path[16] = "/mnt/x  ";
    EXPECT_TRUE(db.CheckMountPathSyntax(path, sizeof(path)));
    EXPECT_STREQ(path, "/mnt/x");
    char blank[4] = "  ";
    EXPECT_FALSE(db.CheckMountPathSyntax(blank, sizeof(blank)));
    char unterminated[4] = {'a', 'b', 'c', 'd'};
    EXPECT_FALSE(db.CheckMountPathSyntax(unterminated, sizeof(unterminated)));
}

TEST_F(EntityTableTest, HistoryNamesKeyedByDevice)
{
    CYBTzHistoryNameDB db;
    YBTzHistoryName_t row;
    row.DeviceId = 42;
    std::strcpy(row.GlobalHistoryName, "hist'42");
    ASSERT_TRUE(db.insert(row, nullptr));
    EXPECT_EQ(row.DeviceId, 42);
    YBTzHistoryName_t duplicate = row;
    EXPECT_FALSE(db.insert(duplicate, nullptr));
    EXPECT_NE(db.m_nErrorCode, 0);

    YBTzHistoryName_t read;
    ASSERT_TRUE(db.getInfo(42, read, nullptr));
    EXPECT_STREQ(read.GlobalHistoryName, "hist'42");
    ASSERT_TRUE(db.Update(42, "GlobalHistoryName = 'renamed'", nullptr));
    ASSERT_TRUE(db.getInfo(42, read, nullptr));
    EXPECT_STREQ(read.GlobalHistoryName, "renamed");
    ASSERT_TRUE(db.remove(42, nullptr));
    EXPECT_FALSE(db.getInfo(42, read, nullptr));
    EXPECT_EQ(db.m_nErrorCode, 100);
}

TEST_F(EntityTableTest, StoredTextsAreCutToTheColumnAndNullsRead)
{
    exec("INSERT INTO YBPhysicalDevice (ClientId, DeviceName, OSDeviceName, AccessPath, FilerClientId) VALUES "
            "(5, '" + std::string(1500, 'd') + "', NULL, '" + std::string(200, 'p') + "', NULL)");
    CSNRVolumeDeviceNameDB db;
    YBPhysicalDevice_t* rows = nullptr;
    unsigned int count = 0;
    ASSERT_TRUE(db.getList(rows, count, "ClientId = 5", nullptr, nullptr));
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(std::string(rows[0].DeviceName), std::string(1024, 'd'));
    EXPECT_EQ(std::string(rows[0].AccessPath), std::string(128, 'p'));
    EXPECT_STREQ(rows[0].OSDeviceName, "");
    EXPECT_EQ(rows[0].FilerClientId, 0);
    db.deleteList(rows);
}

TEST_F(EntityTableTest, InjectedFailures)
{
    CSNRVolumeDeviceNameDB db;
    YBPhysicalDevice_t row = device(6, "/dev/f");
    HostDBFaults::failNext("insert", 2627);
    EXPECT_FALSE(db.insert(row, nullptr));
    EXPECT_EQ(db.m_nErrorCode, 2627);
    ASSERT_TRUE(db.insert(row, nullptr));

    YBPhysicalDevice_t read;
    HostDBFaults::failNext("getInfo", 7, 1);
    EXPECT_TRUE(db.getInfo(row.id, read, nullptr));
    EXPECT_FALSE(db.getInfo(row.id, read, nullptr));
    EXPECT_EQ(db.m_nErrorCode, 7);

    YBPhysicalDevice_t* rows = nullptr;
    unsigned int count = 0;
    unsigned int n = 0;
    HostDBFaults::failNext("getList", 11);
    HostDBFaults::failNext("getNRows", 12);
    HostDBFaults::failNext("Update", 13);
    HostDBFaults::failNext("remove", 14);
    EXPECT_FALSE(db.getList(rows, count, "", "", nullptr));
    EXPECT_EQ(db.m_nErrorCode, 11);
    EXPECT_FALSE(db.getNRows("", n, nullptr));
    EXPECT_EQ(db.m_nErrorCode, 12);
    EXPECT_FALSE(db.Update(row.id, "Flags = 1", nullptr));
    EXPECT_EQ(db.m_nErrorCode, 13);
    EXPECT_FALSE(db.remove(row.id, nullptr));
    EXPECT_EQ(db.m_nErrorCode, 14);
    // Nothing was changed by the failed calls.
    ASSERT_TRUE(db.getInfo(row.id, read, nullptr));
    EXPECT_EQ(read.Flags, 0);
}

TEST_F(EntityTableTest, SchemaColumns)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(m_path.c_str(), &db), SQLITE_OK);
    auto columns = [db](const char* table) {
        std::string names;
        sqlite3_stmt* stmt = nullptr;
        std::string sql = std::string("PRAGMA table_info(") + table + ")";
        sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
        while (sqlite3_step(stmt) == SQLITE_ROW)
            names += std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1))) + ",";
        sqlite3_finalize(stmt);
        return names;
    };
    EXPECT_EQ(columns("YBPhysicalVolume"),
              "id,UniqueId,UniqueIdType,LUN,StartLBA,BlockCount,BlockSize,Flags,FSType,UniqueSnapshotID,"
              "ApplianceId,TzState,CostCategoryId,Type,");
    EXPECT_EQ(columns("YBPhysicalDevice"), "id,ClientId,SNRVolumeId,DeviceName,Flags,OSDeviceName,AccessPath,FilerClientId,");
    EXPECT_EQ(columns("YBMountPoint"), "id,DeviceNameId,Path,Flags,");
    EXPECT_EQ(columns("YBTzHistoryName"), "DeviceId,GlobalHistoryName,Flags,");
    EXPECT_EQ(columns("YBVolume"),
              "id,PointInTime,CreationTime,ModifyTime,CurrentState,CurrentRole,PrimaryVolumeId,PhysicalVolumeId,"
              "ReplicationPolicyId,RVScratchVolumeId,Flags,JobId,SnapVolumeId,SnapEngineType,SnapvaultReplicaDir,"
              "SourceGUID,");
    EXPECT_EQ(columns("YBScratchVolume"), "id,PhysicalVolumeId,RVScratchVolumePoolId,Flags,LockedByJobId,");
    sqlite3_close(db);
}

TEST(SqlEscapeTest, DoublesSingleQuotesOnly)
{
    EXPECT_EQ(SqlEscape("plain /dev/sda1"), "plain /dev/sda1");
    EXPECT_EQ(SqlEscape("O'Brien''s"), "O''Brien''''s");
    EXPECT_EQ(SqlEscape(""), "");
    EXPECT_EQ(SqlEscape("'"), "''");
}
