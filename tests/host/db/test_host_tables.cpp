// The entity table classes of the replication, policy, FLR, job history and
// product file tables: each round-trips its rows, answers 100 for a missing
// row and fails on an injected fault; and every where text that the callers
// build is served by an index.
#include <sqlite3.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "host/db/FLRTables.h"
#include "host/db/FileTables.h"
#include "host/db/JobHistoryTable.h"
#include "host/db/PolicyTables.h"
#include "host/db/ReplicaTables.h"
#include "rows/Db/Tbl/YBApplicationDirs.h"
#include "support/TestCatalogue.h"

namespace {

// Per class: its table and the column the callers select rows by.
template <typename DB>
struct TableCase;

#define TABLE_CASE(DB, description, column)                            \
    template <>                                                         \
    struct TableCase<DB> {                                              \
        static const DBEntityTable& table() { return description; }    \
        static constexpr const char* group = column;                    \
    }

TABLE_CASE(FLRConsistencyPointDB, kYBFLRConsistencyPointTable, "FLRSetId");
TABLE_CASE(FLRSnapshotDB, kYBFLRSnapshotTable, "ConsistencyPointId");
TABLE_CASE(FLRSnapPairDB, kYBFLRSnapPairTable, "PairId");
TABLE_CASE(FLRSnapMountPointDB, kYBFLRSnapMountPointTable, "SnapshotId");
TABLE_CASE(FLRSnapNetworkShareDB, kYBFLRSnapNetworkShareTable, "MountPointId");
TABLE_CASE(CYBJobVolumeHistoryDB, kYBJobVolumeHistoryTable, "SrcVolId");
TABLE_CASE(CYBFileDB, kYBFileTable, "VolumeId");
TABLE_CASE(CYBApplianceDB, kYBDeviceTable, "Name");
TABLE_CASE(YBUserApplicationDefDB, kYBUserApplicationDefTable, "ClientId");
TABLE_CASE(CVolumeSnapParamsDB, kYBVolSnapParamsTable, "SnapEngineId");
TABLE_CASE(CReplicationVolumeDB, kYBVolumeTable, "PhysicalVolumeId");
TABLE_CASE(CRVScratchVolumeDB, kYBScratchVolumeTable, "RVScratchVolumePoolId");
TABLE_CASE(CRVScratchVolumePoolDB, kYBScratchPoolTable, "name");
TABLE_CASE(CSnapEngineInfoDB, kYBSnapEngineInfoTable, "Type");
TABLE_CASE(CReplicationPolicyDB, kYBPolicyTable, "VolumeScratchPoolId");
TABLE_CASE(YBSubclientYBVolumesDB, kYBSubclientYBVolumesTable, "YBVolumeId");
TABLE_CASE(ApplicationDirsDB, (ApplicationDirsColumns<YBApplicationDirs_t>::table), "ReplicationVolumeId");
#undef TABLE_CASE

const DBEntityColumn& columnNamed(const DBEntityTable& table, const std::string& name)
{
    for (size_t i = 0; i < table.count; ++i)
        if (name == table.columns[i].name) return table.columns[i];
    ADD_FAILURE() << "no column " << name << " in " << table.name;
    return table.columns[0];
}

long long intField(const void* row, const DBEntityColumn& c)
{
    const char* field = static_cast<const char*>(row) + c.offset;
    if (c.type == DB_COL_INT64) {
        long long v;
        std::memcpy(&v, field, sizeof(v));
        return v;
    }
    int v;
    std::memcpy(&v, field, sizeof(v));
    return v;
}

void setIntField(void* row, const DBEntityColumn& c, long long value)
{
    char* field = static_cast<char*>(row) + c.offset;
    if (c.type == DB_COL_INT64) {
        std::memcpy(field, &value, sizeof(value));
    } else {
        int v = static_cast<int>(value);
        std::memcpy(field, &v, sizeof(v));
    }
}

std::string textField(const void* row, const DBEntityColumn& c)
{
    const char* field = static_cast<const char*>(row) + c.offset;
    if (c.type == DB_COL_HEAP_TEXT) {
        const char* text = nullptr;
        std::memcpy(&text, field, sizeof(text));
        return text != nullptr ? text : "(null)";
    }
    return std::string(field, strnlen(field, c.size));
}

void setTextField(void* row, const DBEntityColumn& c, const std::string& value)
{
    char* field = static_cast<char*>(row) + c.offset;
    if (c.type == DB_COL_HEAP_TEXT) {
        char* old = nullptr;
        std::memcpy(&old, field, sizeof(old));
        delete[] old;
        char* text = new char[value.size() + 1];
        std::memcpy(text, value.c_str(), value.size() + 1);
        std::memcpy(field, &text, sizeof(text));
    } else {
        ASSERT_LT(value.size(), c.size);
        std::memcpy(field, value.c_str(), value.size() + 1);
    }
}

bool isText(const DBEntityColumn& c)
{
    return c.type == DB_COL_TEXT || c.type == DB_COL_HEAP_TEXT;
}

// A row whose every column holds a value of its own: texts as long as their
// column takes, 64-bit numbers above 32 bits.
template <typename Row>
Row filledRow(const DBEntityTable& table, int n)
{
    Row row;
    for (size_t i = 0; i < table.count; ++i) {
        const DBEntityColumn& c = table.columns[i];
        if (c.identity) continue;
        if (c.type == DB_COL_TEXT)
            setTextField(&row, c, std::string(c.size - 1, static_cast<char>('a' + (n * 7 + static_cast<int>(i)) % 26)));
        else if (c.type == DB_COL_HEAP_TEXT)
            setTextField(&row, c, "content " + std::to_string(n) + std::string(5000, 'x'));
        else if (c.type == DB_COL_INT64)
            setIntField(&row, c, (static_cast<long long>(n) << 40) + static_cast<long long>(i));
        else
            setIntField(&row, c, n * 1000 + static_cast<int>(i));
    }
    return row;
}

void setGroup(void* row, const DBEntityColumn& c, int group)
{
    if (isText(c))
        setTextField(row, c, "g" + std::to_string(group));
    else
        setIntField(row, c, group);
}

std::string groupWhere(const DBEntityColumn& c, int group)
{
    return std::string(c.name) + " = " + (isText(c) ? "'g" + std::to_string(group) + "'" : std::to_string(group));
}

// Every column but the identity alike in both rows.
template <typename Row>
void expectSameColumns(const DBEntityTable& table, const Row& expected, const Row& actual)
{
    for (size_t i = 0; i < table.count; ++i) {
        const DBEntityColumn& c = table.columns[i];
        if (c.identity) continue;
        if (isText(c)) {
            EXPECT_EQ(textField(&actual, c), textField(&expected, c)) << table.name << "." << c.name;
        } else {
            EXPECT_EQ(intField(&actual, c), intField(&expected, c)) << table.name << "." << c.name;
        }
    }
}

// The row type of an entity class.
template <typename Row>
Row rowOf(CRepTableDB<Row>*);
template <typename DB>
using RowOf = decltype(rowOf(static_cast<DB*>(nullptr)));

template <typename DB>
class HostTableTest : public CatalogueTest {};

using TableClasses =
    ::testing::Types<FLRConsistencyPointDB, FLRSnapshotDB, FLRSnapPairDB, FLRSnapMountPointDB, FLRSnapNetworkShareDB,
                     CYBJobVolumeHistoryDB, CYBFileDB, CYBApplianceDB, YBUserApplicationDefDB, CVolumeSnapParamsDB,
                     CReplicationVolumeDB, CRVScratchVolumeDB, CRVScratchVolumePoolDB, CSnapEngineInfoDB,
                     CReplicationPolicyDB, YBSubclientYBVolumesDB, ApplicationDirsDB>;
TYPED_TEST_SUITE(HostTableTest, TableClasses);

}  // namespace

TYPED_TEST(HostTableTest, DescriptionCoversTheTableAndFitsTheRow)
{
    const DBEntityTable& table = TableCase<TypeParam>::table();
    std::set<std::string> described;
    size_t keys = 0;
    for (size_t i = 0; i < table.count; ++i) {
        const DBEntityColumn& c = table.columns[i];
        described.insert(c.name);
        if (c.key) ++keys;
        size_t expected = c.type == DB_COL_INT32 ? 4 : c.type == DB_COL_INT64 ? 8 : sizeof(char*);
        if (c.type == DB_COL_TEXT) {
            EXPECT_GT(c.size, 8u) << c.name;
        } else {
            EXPECT_EQ(c.size, expected) << c.name;
        }
    }
    EXPECT_EQ(keys, 1u);
    // Every stored column of the table is read and written (the generated
    // job id excepted).
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(this->m_path.c_str(), &db), SQLITE_OK);
    sqlite3_stmt* stmt = nullptr;
    std::string sql = std::string("SELECT name, hidden FROM pragma_table_xinfo('") + table.name + "')";
    ASSERT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr), SQLITE_OK);
    size_t stored = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        if (sqlite3_column_int(stmt, 1) != 0) continue;
        ++stored;
        std::string name = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        bool found = false;
        for (const std::string& d : described) found = found || sqlite3_stricmp(d.c_str(), name.c_str()) == 0;
        EXPECT_TRUE(found) << table.name << "." << name << " is not described";
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    EXPECT_EQ(stored, table.count);
}

TYPED_TEST(HostTableTest, RoundTripsItsRows)
{
    using Row = RowOf<TypeParam>;
    const DBEntityTable& table = TableCase<TypeParam>::table();
    const DBEntityColumn& group = columnNamed(table, TableCase<TypeParam>::group);
    const DBEntityColumn* key = nullptr;
    const DBEntityColumn* changed = nullptr;  // the column that Update sets
    for (size_t i = 0; i < table.count; ++i) {
        const DBEntityColumn& c = table.columns[i];
        if (c.key)
            key = &c;
        else if (c.type != DB_COL_HEAP_TEXT && &c != &group)
            changed = &c;
    }
    ASSERT_NE(key, nullptr);
    ASSERT_NE(changed, nullptr);

    TypeParam db;
    // Rows 1 and 2 in group 5, row 3 in group 6.
    std::vector<Row> rows;
    std::vector<int> ids;
    for (int n = 1; n <= 3; ++n) {
        Row row = filledRow<Row>(table, n);
        setGroup(&row, group, n == 3 ? 6 : 5);
        ASSERT_TRUE(db.insert(row, nullptr)) << db.m_nErrorCode;
        EXPECT_EQ(db.m_nErrorCode, 0);
        if (key->identity) {
            EXPECT_GT(intField(&row, *key), 0);
        }
        ids.push_back(static_cast<int>(intField(&row, *key)));
        rows.push_back(row);
    }
    EXPECT_LT(ids[0], ids[1]);

    Row read;
    ASSERT_TRUE(db.getInfo(ids[0], read, nullptr));
    EXPECT_EQ(intField(&read, *key), ids[0]);
    expectSameColumns(table, rows[0], read);

    std::string set = std::string(changed->name) + (isText(*changed) ? " = 'it''s changed'" : " = 987654");
    ASSERT_TRUE(db.Update(ids[0], set.c_str(), nullptr));
    ASSERT_TRUE(db.getInfo(ids[0], read, nullptr));
    if (isText(*changed))
        setTextField(&rows[0], *changed, "it's changed");
    else
        setIntField(&rows[0], *changed, 987654);
    expectSameColumns(table, rows[0], read);
    ASSERT_TRUE(db.getInfo(ids[1], read, nullptr));
    expectSameColumns(table, rows[1], read);  // the other rows are untouched

    std::string where = groupWhere(group, 5);
    std::string order = std::string(key->name) + " DESC";
    Row* list = nullptr;
    unsigned int count = 0;
    ASSERT_TRUE(db.getList(list, count, where.c_str(), order.c_str(), nullptr));
    ASSERT_EQ(count, 2u);
    EXPECT_EQ(intField(&list[0], *key), ids[1]);
    EXPECT_EQ(intField(&list[1], *key), ids[0]);
    expectSameColumns(table, rows[1], list[0]);
    expectSameColumns(table, rows[0], list[1]);
    db.deleteList(list);
    EXPECT_EQ(list, nullptr);
    unsigned int n = 0;
    ASSERT_TRUE(db.getNRows(where.c_str(), n, nullptr));
    EXPECT_EQ(n, 2u);

    // Gone rows answer 100.
    ASSERT_TRUE(db.remove(ids[0], nullptr));
    EXPECT_FALSE(db.getInfo(ids[0], read, nullptr));
    EXPECT_EQ(db.m_nErrorCode, 100);
    EXPECT_FALSE(db.Update(ids[0], set.c_str(), nullptr));
    EXPECT_EQ(db.m_nErrorCode, 100);
    EXPECT_FALSE(db.remove(ids[0], nullptr));
    EXPECT_EQ(db.m_nErrorCode, 100);
    ASSERT_TRUE(db.remove(where.c_str(), nullptr));
    EXPECT_FALSE(db.remove(where.c_str(), nullptr));
    EXPECT_EQ(db.m_nErrorCode, 100);
    ASSERT_TRUE(db.getList(list, count, "", order.c_str(), nullptr));
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(intField(&list[0], *key), ids[2]);
    db.deleteList(list);
}

TYPED_TEST(HostTableTest, InjectedFaultsFailAndWriteNothing)
{
    using Row = RowOf<TypeParam>;
    const DBEntityTable& table = TableCase<TypeParam>::table();
    TypeParam db;
    Row row = filledRow<Row>(table, 4);
    HostDBFaults::failNext("insert", 1205);
    EXPECT_FALSE(db.insert(row, nullptr));
    EXPECT_EQ(db.m_nErrorCode, 1205);
    unsigned int n = 9;
    ASSERT_TRUE(db.getNRows("", n, nullptr));
    EXPECT_EQ(n, 0u);

    ASSERT_TRUE(db.insert(row, nullptr));
    Row* list = nullptr;
    unsigned int count = 0;
    HostDBFaults::failNext("getList", 1206);
    EXPECT_FALSE(db.getList(list, count, "", "", nullptr));
    EXPECT_EQ(db.m_nErrorCode, 1206);
    EXPECT_EQ(list, nullptr);
    HostDBFaults::failNext("remove", 1207);
    EXPECT_FALSE(db.remove("1 = 1", nullptr));
    EXPECT_EQ(db.m_nErrorCode, 1207);
    ASSERT_TRUE(db.getNRows("", n, nullptr));
    EXPECT_EQ(n, 1u);
}

using HostTableSpecifics = CatalogueTest;

TEST_F(HostTableSpecifics, SnapshotsUpdatedByWhereText)
{
    FLRSnapshotDB db;
    for (const char* name : {"snap'1", "snap2", "snap2"}) {
        YBFLRSnapshot_t row;
        row.ConsistencyPointId = 7;
        std::strcpy(row.Name, name);
        ASSERT_TRUE(db.insert(row, nullptr));
    }
    ASSERT_TRUE(db.Update("Name = 'SNAP2'", "SnapshotPath = '{shadow-set}'", nullptr));
    unsigned int n = 0;
    ASSERT_TRUE(db.getNRows("SnapshotPath = '{shadow-set}'", n, nullptr));
    EXPECT_EQ(n, 2u);
    EXPECT_FALSE(db.Update("Name = 'none'", "SnapshotPath = 'x'", nullptr));
    EXPECT_EQ(db.m_nErrorCode, 100);
    EXPECT_FALSE(db.Update("", "SnapshotPath = 'x'", nullptr));  // never every row
    EXPECT_NE(db.m_nErrorCode, 0);
    ASSERT_TRUE(db.getNRows("SnapshotPath = 'x'", n, nullptr));
    EXPECT_EQ(n, 0u);
    HostDBFaults::failNext("Update", 1208);
    EXPECT_FALSE(db.Update("Name = 'snap2'", "SnapshotPath = 'y'", nullptr));
    EXPECT_EQ(db.m_nErrorCode, 1208);
    // The id form stays.
    ASSERT_TRUE(db.Update(1, "Type = 3", nullptr));
    YBFLRSnapshot_t read;
    ASSERT_TRUE(db.getInfo(1, read, nullptr));
    EXPECT_EQ(read.Type, 3);
    EXPECT_STREQ(read.Name, "snap'1");
}

TEST_F(HostTableSpecifics, FileContentIsOwnedAndMayBeAbsent)
{
    CYBFileDB db;
    YBFile_t empty;
    empty.VolumeId = 3;
    std::strcpy(empty.Name, "none.txt");
    ASSERT_TRUE(db.insert(empty, nullptr));
    EXPECT_EQ(scalar("SELECT Content IS NULL FROM YBFile WHERE id = " + std::to_string(empty.id)), 1);

    YBFile_t file;
    file.VolumeId = 3;
    std::strcpy(file.Name, "big.cfg");
    std::string text(200000, 'c');
    char own[] = "caller's buffer";
    file.Content = own;  // a buffer of the caller's, taken back below
    ASSERT_TRUE(db.insert(file, nullptr));
    file.Content = nullptr;
    ASSERT_TRUE(db.Update(file.id, ("Content = '" + text + "'").c_str(), nullptr));

    YBFile_t read;
    ASSERT_TRUE(db.getInfo(empty.id, read, nullptr));
    EXPECT_EQ(read.Content, nullptr);
    ASSERT_TRUE(db.getInfo(file.id, read, nullptr));  // replaces the content read before
    ASSERT_NE(read.Content, nullptr);
    EXPECT_EQ(std::string(read.Content), text);

    YBFile_t copy = read;
    ASSERT_NE(copy.Content, read.Content);
    EXPECT_STREQ(copy.Content, read.Content);
    YBFile_t moved = std::move(copy);
    EXPECT_EQ(copy.Content, nullptr);
    copy = moved;
    EXPECT_STREQ(copy.Content, text.c_str());

    YBFile_t* rows = nullptr;
    unsigned int count = 0;
    ASSERT_TRUE(db.getList(rows, count, "VolumeId = 3 AND Name = 'BIG.CFG'", "id ASC", nullptr));
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(std::string(rows[0].Content), text);
    db.deleteList(rows);

    // Several rows, one by one and as an array: each content read whole and
    // owned once (the row lent reads each one anew).
    YBFile_t small;
    small.VolumeId = 3;
    std::strcpy(small.Name, "small.cfg");
    char smallText[] = "s";
    small.Content = smallText;
    ASSERT_TRUE(db.insert(small, nullptr));
    small.Content = nullptr;
    std::vector<std::string> contents;
    ASSERT_TRUE(db.forEach("VolumeId = 3", "id ASC", nullptr, [&](const YBFile_t& row) {
        contents.push_back(row.Content != nullptr ? row.Content : "(null)");
    }));
    EXPECT_EQ(contents, (std::vector<std::string>{"(null)", text, "s"}));
    ASSERT_TRUE(db.getList(rows, count, "VolumeId = 3", "id DESC", nullptr));
    ASSERT_EQ(count, 3u);
    EXPECT_STREQ(rows[0].Content, "s");
    EXPECT_EQ(std::string(rows[1].Content), text);
    EXPECT_EQ(rows[2].Content, nullptr);
    db.deleteList(rows);
}

TEST_F(HostTableSpecifics, JobIdHalvesAgreeWithTheJobIdColumn)
{
    for (long long job : {0LL, 5LL, 2147483648LL, 4294967295LL, 4294967296LL + 7, -1LL, -4294967296LL, 1LL << 62}) {
        int high = 1;
        int low = 1;
        dLongToLongDB(job, high, low);
        long long joined = 0;
        longToDlongDB(joined, high, low);
        EXPECT_EQ(joined, job);
        exec("DELETE FROM YBJobVolumeHistory");
        exec("INSERT INTO YBJobVolumeHistory (JobId_h, JobId_l) VALUES (" + std::to_string(high) + ", " +
             std::to_string(low) + ")");
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBJobVolumeHistory WHERE JobId = " + std::to_string(job)), 1) << job;
    }

    // Only the low half is written through the row: a job above 32 bits reads
    // back with a high half of 0.
    long long job = 4294967296LL * 3 + 2147483653LL;
    int high = 0;
    int low = 0;
    dLongToLongDB(job, high, low);
    CYBJobVolumeHistoryDB db;
    YBJobVolumeHistory_t row;
    row.JobId_l = low;
    row.SrcVolId = 11;
    row.CopyMgrType = 5;
    row.SpaceUsed = 1LL << 41;
    ASSERT_TRUE(db.insert(row, nullptr));
    YBJobVolumeHistory_t* rows = nullptr;
    unsigned int count = 0;
    std::string where = "JobId = 2147483653 AND SrcVolId = 11";
    ASSERT_TRUE(db.getList(rows, count, where.c_str(), "ID asc", nullptr));
    ASSERT_EQ(count, 1u);
    long long back = 0;
    longToDlongDB(back, 0, rows[0].JobId_l);
    EXPECT_EQ(back, 2147483653LL);
    EXPECT_EQ(rows[0].SpaceUsed, 1LL << 41);
    db.deleteList(rows);
    EXPECT_FALSE(db.remove(("JobId_h = " + std::to_string(high) + " AND JobId_l = " + std::to_string(low)).c_str(),
                           nullptr));
    EXPECT_EQ(db.m_nErrorCode, 100);
    ASSERT_TRUE(db.remove(("JobId_h = 0 AND JobId_l = " + std::to_string(low)).c_str(), nullptr));
}

TEST_F(HostTableSpecifics, SnapParametersKeyedByTheirVolume)
{
    CVolumeSnapParamsDB db;
    YBVolSnapParams_t row;
    row.SNRVolumeId = 12;
    std::strcpy(row.MountCmd, "mount");
    ASSERT_TRUE(db.insert(row, nullptr));
    EXPECT_EQ(row.SNRVolumeId, 12);
    YBVolSnapParams_t again = row;
    EXPECT_FALSE(db.insert(again, nullptr));
    EXPECT_NE(db.m_nErrorCode, 0);
    EXPECT_NE(db.m_nErrorCode, 100);
    ASSERT_TRUE(db.Update(12, "Flags = 1, SnapCmd\t= 'snap'", nullptr));
    YBVolSnapParams_t read;
    ASSERT_TRUE(db.getInfo(12, read, nullptr));
    EXPECT_STREQ(read.SnapCmd, "snap");
    EXPECT_STREQ(read.MountCmd, "mount");
    EXPECT_EQ(read.Flags, 1);
}

// The where texts the callers build, each over its table: none makes the
// catalogue read the whole table.
TEST_F(HostTableSpecifics, EveryWhereTextHasAnIndex)
{
    const std::vector<std::pair<const char*, const char*>> lookups = {
        {"YBVolume", "JobId = 5"},
        {"YBVolume", "id = 5"},
        {"YBVolume", "PrimaryVolumeId = 1 AND CurrentRole = 4"},
        {"YBVolume", "PhysicalVolumeId = 1"},
        {"YBVolume", "SnapVolumeId = 1"},
        {"YBVolume", "RVScratchVolumeId = 1 OR SnapVolumeId = 2"},
        {"YBVolume", "PhysicalVolumeId = 1 OR PrimaryVolumeId = 1"},
        {"YBVolume", "ReplicationPolicyId = 1"},
        {"YBVolume", "CurrentRole = 2 AND PhysicalVolumeId = 3"},
        {"YBVolume", "PrimaryVolumeId = 1 AND (CurrentRole = 2 OR (CurrentRole = 5 AND SnapEngineType = 5))"},
        {"YBScratchVolume", "PhysicalVolumeId = 1"},
        {"YBScratchVolume", "RVScratchVolumePoolId = 1"},
        {"YBScratchVolume", "LockedByJobId = 1"},
        {"YBScratchPool", "name = 'pool'"},
        {"YBScratchPool", "id > 0"},
        {"YBPolicy", "name = 'policy'"},
        {"YBPolicy", "VolumeScratchPoolId = 1"},
        {"YBSnapEngineInfo", "name = 'engine'"},
        {"YBSnapEngineInfo", "Type = 5"},
        {"YBSnapEngineInfo", "id > 0"},
        {"YBVolSnapParams", "SNRVolumeId = 1"},
        {"YBVolSnapParams", "SNRVolumeId > 0"},
        {"YBSubclientYBVolumes", "YBVolumeId = 1"},
        {"YBApplicationDirs", "ReplicationVolumeId = 1"},
        {"YBApplicationDirs", "ReplicationVolumeId IN (1, 2)"},
        {"YBApplicationDirs", "subclientId = 1 AND objName = 'o' AND path = 'p'"},
        {"YBApplicationDirs", "subclientId = 1 AND creationTime <= 5"},
        {"YBApplicationDirs", "clientId = 1 AND creationTime <= 5"},
        {"YBFLRConsistencyPoint", "FLRSetId = 1 AND CreationTime = 2"},
        {"YBFLRConsistencyPoint", "(FLRSetId = 1 AND CreationTime = 2) OR (JobId = 3)"},
        {"YBFLRConsistencyPoint", "JobId = 1"},
        {"YBFLRConsistencyPoint", "id IN (1, 2)"},
        {"YBFLRConsistencyPoint", "SrcClientId = 1"},
        {"YBFLRSnapshot", "ConsistencyPointId IN (1, 2)"},
        {"YBFLRSnapshot", "VolumeGUID = 'g'"},
        {"YBFLRSnapshot", "VolumeGUID IN ('a', 'b')"},
        {"YBFLRSnapshot", "Name = 'n'"},
        {"YBFLRSnapPair", "SnapshotId IN ( 1, 2)"},
        {"YBFLRSnapPair", "PairId IN (1, 2)"},
        {"YBFLRSnapPair", "id in (1, 2)"},
        {"YBFLRSnapMountPoint", "SnapshotId = 1"},
        {"YBFLRSnapNetworkShare", "MountPointId IN ( 1, 2)"},
        {"YBJobVolumeHistory", "JobId = 5 AND SrcVolId = 3"},
        {"YBJobVolumeHistory", "JobId = 5"},
        {"YBJobVolumeHistory", "JobId_h = 0 AND JobId_l = 5"},
        {"YBJobVolumeHistory", "id > 0"},
        {"YBFile", "VolumeId = 1 AND Name = 'n'"},
        {"YBDevice", "Name = 'n'"},
        {"YBUserApplicationDef", "ClientId = 1 AND AppTag = 't'"},
        {"DHT_Client", "name = 'c'"},
        {"DHT_Client", "net_hostname = 'c'"},
        {"HostInstance", "clientId = 1 AND appTypeId = 84"},
        {"HostBackupSet", "instanceId = 1 AND clientId = 2 AND appTypeId = 84"},
        {"HostInstalledPackage", "clientId = 1 AND packageId = 1007"},
        {"DHT_AgtName", "ClientId = 1 AND appTypeId = 47"},
        {"DHT_Application", "backupSet = 1 AND appTypeId = 84"},
        {"DHT_ScFilterFile", "fileName >= '5' || char(21) AND fileName < '5' || char(22) AND modified = 0"},
    };
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(m_path.c_str(), &db), SQLITE_OK);
    for (const auto& lookup : lookups) {
        std::string sql = std::string("EXPLAIN QUERY PLAN SELECT * FROM ") + lookup.first + " WHERE " + lookup.second;
        sqlite3_stmt* stmt = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr), SQLITE_OK) << sqlite3_errmsg(db) << sql;
        std::string plan;
        while (sqlite3_step(stmt) == SQLITE_ROW) plan += std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 3))) + "; ";
        sqlite3_finalize(stmt);
        EXPECT_EQ(plan.find("SCAN"), std::string::npos) << lookup.first << " WHERE " << lookup.second << ": " << plan;
    }
    sqlite3_close(db);
}
