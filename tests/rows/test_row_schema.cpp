#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "rows/Db/Proc/DhtGetOSType.h"
#include "rows/Db/Proc/YB_GetJobDetailsForYBSAPOracle.h"
#include "rows/Db/Tbl/YBApplicationDirs.h"
#include "rows/RowFamily.h"

namespace {

// Families of the tests' own: one whose first construction happens on many
// threads at once, one with an 'x' column.
#define RowsTestRaceCursor_COLUMNS(I, B, S) I(a) S(b, 9) B(c) I(d)
ZXDB_CURSOR(RowsTestRaceCursor, RowsTestRaceCursor_COLUMNS, "i|s9|b|i|", "SELECT %d", "source/test/RowsTestRaceCursor",
            (int value))

#define RowsTestTimeCursor_COLUMNS(I, B, S) B(when) I(what)
ZXDB_CURSOR(RowsTestTimeCursor, RowsTestTimeCursor_COLUMNS, "x|i|", "SELECT 1", "source/test/RowsTestTimeCursor", ())

}  // namespace

TEST(RowSchemaTest, ProcedureSchemaDescribesItsColumns)
{
    DhtGetOSType_t2 first;
    DhtGetOSType_t2 second;
    // The static column list is filled once, by the first object.
    const std::vector<std::string> expected = {"o_dhtOSId", "o_dhtOSName", "o_dhtOSRelease",
                                               "o_dhtOSType", "o_hostName", "o_release"};
    EXPECT_EQ(DhtGetOSType_t2::m_staticColumnVec, expected);
    EXPECT_TRUE(DhtGetOSType_t2::s_isInitialized.load());

    EXPECT_EQ(second.getColumnName(0), "o_dhtOSId");
    EXPECT_EQ(second.getColumnName(5), "o_release");
    EXPECT_EQ(second.getColumnName(6), "");
    EXPECT_EQ(second.getColumnName(-1), "");
    EXPECT_EQ(second.getSerialColNum(), -1);
    EXPECT_EQ(second.getPrimaryWhere(), "");
    EXPECT_TRUE(second.getPrimaryData().empty());
    EXPECT_EQ(second.getStructDef(), "i|s65|s65|s65|s256|s256|");
    EXPECT_EQ(second.getHeaderType(), ZXDB_KIND_PROCEDURE);
    EXPECT_EQ(second.getTableName(), "dhtGetOSType");
    EXPECT_EQ(second.searchForeignKey("o_dhtOSId"), 0);
    EXPECT_TRUE(second.getForeignKeyMap().empty());

    // One value object per column, in order, each its own and null.
    std::vector<ZXDBDataTypeBase*> a = first.getData();
    std::vector<ZXDBDataTypeBase*> b = second.getData();
    ASSERT_EQ(a.size(), 6u);
    ASSERT_EQ(b.size(), 6u);
    const int codes[] = {1, 6, 6, 6, 6, 6};
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i]->getDataType(), codes[i]);
        EXPECT_TRUE(a[i]->isNull);
        EXPECT_NE(a[i], b[i]);
    }

    YB_GetJobDetailsForYBSAPOracle_t2 details;
    std::vector<ZXDBDataTypeBase*> d = details.getData();
    ASSERT_EQ(d.size(), 5u);
    EXPECT_EQ(d[0]->getDataType(), 4);
    EXPECT_EQ(d[1]->getDataType(), 1);
    EXPECT_EQ(d[3]->getDataType(), 6);
    EXPECT_EQ(details.getTableName(), "YB_GetJobDetailsForYBSAPOracle");
}

TEST(RowSchemaTest, TableSchemaHasKeyAndForeignKeys)
{
    YBApplicationDirs_t2 schema;
    EXPECT_EQ(schema.getHeaderType(), ZXDB_KIND_TABLE);
    EXPECT_EQ(schema.getSerialColNum(), 0);
    EXPECT_EQ(schema.getPrimaryWhere(), "id = ?");
    std::vector<ZXDBDataTypeBase*> key = schema.getPrimaryData();
    ASSERT_EQ(key.size(), 1u);
    EXPECT_EQ(key[0], schema.getData()[0]);
    EXPECT_EQ(schema.getStructDef(), "i|i|i|i|s2049|s2049|i|i|i|i|");
    EXPECT_EQ(schema.getColumnName(8), "ReplicationVolumeId");

    ZXDBForeignKeyMap keys = schema.getForeignKeyMap();
    ZXDBForeignKeyMap expected = {{"DHT_Application", {{"subclientId", "id"}}},
                                  {"DHT_Client", {{"clientId", "id"}}},
                                  {"YBVolume", {{"ReplicationVolumeId", "id"}}}};
    EXPECT_EQ(keys, expected);

    // The base's own answers.
    EXPECT_EQ(schema.ZXDBRowBase::getHeaderType(), -1);
    EXPECT_EQ(schema.ZXDBRowBase::getStructDef(), "");
}

TEST(RowSchemaTest, AssignmentKeepsTheTargetsOwnValues)
{
    YBApplicationDirs_t2 source;
    YBApplicationDirs_t2 target;
    const int seven = 7;
    ASSERT_EQ(source.getData()[0]->setData(reinterpret_cast<const char*>(&seven), 0, sizeof(seven), false), 1);
    source.getData()[0]->setInternalNull(false);
    const std::vector<ZXDBDataTypeBase*> own = target.getData();

    EXPECT_EQ(&(target = source), &target);
    // The target still owns its value objects, each as it was; each object
    // frees its own at destruction.
    EXPECT_EQ(target.getData(), own);
    EXPECT_NE(target.getData()[0], source.getData()[0]);
    EXPECT_TRUE(target.getData()[0]->isNull);
    EXPECT_EQ(static_cast<ZXDB_int*>(target.getData()[0])->getValue(), 0);
    EXPECT_EQ(static_cast<ZXDB_int*>(source.getData()[0])->getValue(), 7);
}

TEST(RowSchemaTest, TimeColumnsAreStoredAsSixtyFourBit)
{
    RowsTestTimeCursor_t2 schema;
    EXPECT_EQ(schema.getStructDef(), "b|i|");
    EXPECT_EQ(schema.fillForTime("x|i|x|s9|"), "b|i|b|s9|");
    EXPECT_EQ(schema.getData()[0]->getDataType(), 4);
}

TEST(RowSchemaTest, FirstConstructionOnManyThreadsSetsUpOnce)
{
    ASSERT_FALSE(RowsTestRaceCursor_t2::s_isInitialized.load());
    const int kThreads = 16;
    std::atomic<int> ready{0};
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            ++ready;
            while (!go.load()) std::this_thread::yield();
            for (int i = 0; i < 20; ++i) {
                RowsTestRaceCursor_t2 schema;
                EXPECT_EQ(schema.getColumnName(3), "d");
            }
        });
    }
    while (ready.load() < kThreads) std::this_thread::yield();
    go = true;
    for (std::thread& t : threads) t.join();

    const std::vector<std::string> expected = {"a", "b", "c", "d"};
    EXPECT_EQ(RowsTestRaceCursor_t2::m_staticColumnVec, expected);
    EXPECT_EQ(RowsTestRaceCursor_t2::structSchema, "i|s9|b|i|");
    EXPECT_EQ(RowsTestRaceCursor_t2::m_type, ZXDB_KIND_CURSOR);

    // The process-wide semaphore was given back: another class can set up.
    RowsTestTimeCursor_t2 other;
    EXPECT_EQ(other.getTableName(), "RowsTestTimeCursor");
}

TEST(RowSchemaTest, TypeStringMustMatchTheRowLayout)
{
    const auto& cols = DhtGetOSType_desc::columns;
    EXPECT_TRUE(zxdbTypeStringMatches("i|s65|s65|s65|s256|s256|", cols));
    EXPECT_FALSE(zxdbTypeStringMatches("i|s65|s65|s65|s256|s255|", cols));  // wrong size
    EXPECT_FALSE(zxdbTypeStringMatches("b|s65|s65|s65|s256|s256|", cols));  // wrong letter
    EXPECT_FALSE(zxdbTypeStringMatches("i|s65|s65|s65|s256|", cols));       // column missing
    EXPECT_FALSE(zxdbTypeStringMatches("i|s65|s65|s65|s256|s256|i|", cols));
    EXPECT_FALSE(zxdbTypeStringMatches("i|s65|s65|s65|s256|s256", cols));   // group not closed
    EXPECT_FALSE(zxdbTypeStringMatches("i4|s65|s65|s65|s256|s256|", cols));

    // A 64-bit column must be naturally aligned; a text one must be char[N].
    const ZXDBColumnDef misaligned[] = {{'i', "a", 0, 4, true}, {'b', "b", 4, 8, true}};
    EXPECT_FALSE(zxdbTypeStringMatches("i|b|", misaligned));
    const ZXDBColumnDef aligned[] = {{'i', "a", 0, 4, true}, {'b', "b", 8, 8, true}};
    EXPECT_TRUE(zxdbTypeStringMatches("i|b|", aligned));
    EXPECT_TRUE(zxdbTypeStringMatches("i|x|", aligned));
    const ZXDBColumnDef notChars[] = {{'s', "a", 0, 8, false}};
    EXPECT_FALSE(zxdbTypeStringMatches("s8|", notChars));

    // The generated row structure lies as its type string says.
    static_assert(offsetof(YB_GetJobDetailsForYBSAPOracle_t, o_jobId) == 0, "");
    static_assert(sizeof(YB_GetJobDetailsForYBSAPOracle_t::o_srcMountPath) == 256, "");
    EXPECT_EQ(sizeof(YBApplicationDirs_t), 4 * 4 + 2 * 2049 + 4 * 4 + 2);  // padded to 4
}
