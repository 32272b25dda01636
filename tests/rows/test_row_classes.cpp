#include <gtest/gtest.h>

#include <atomic>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "host/EvDebug.h"
#include "host/db/DBStatementRegistry.h"
#include "rows/Db/Proc/DhtGetOSType.h"
#include "rows/Db/Proc/YB_GetJobDetailsForYBSAPOracle.h"
#include "rows/Db/Proc/YB_GetJobListForYBSAPOracle.h"
#include "rows/Db/Tbl/YBApplicationDirs.h"
#include "rows/YBDBDst.h"
#include "support/BlockingCall.h"
#include "support/TestCatalogue.h"
#include "support/TestHost.h"

namespace {

// A cursor family of the tests' own.
#define RowsTestNameCursor_COLUMNS(I, B, S) I(Id) S(Name, 8)
ZXDB_CURSOR(RowsTestNameCursor, RowsTestNameCursor_COLUMNS, "i|s8|",
            "SET NOCOUNT ON \n\tSELECT Id, Name FROM T WHERE Id > %d AND Name = '%s' \n\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/RowsTestNameCursor", (int id, const char* name))

// A fresh catalogue file per test, with the statements the tests register.
class RowClassTest : public CatalogueTest {
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        EvDebug::clearEntries();
    }

    void TearDown() override
    {
        for (const char* name : {"dhtGetOSType", "YB_GetJobListForYBSAPOracle", "YB_GetJobDetailsForYBSAPOracle"})
            DBStatementRegistry::unregister(name);
        // The catalogue's own of those names back for the tests after these.
        DBStatementRegistry::restoreCatalogueStatements();
        CatalogueTest::TearDown();
    }

    bool logHas(const std::string& text)
    {
        return !LogEntriesWith(text).empty();
    }
};

}  // namespace

TEST_F(RowClassTest, ProceduresFormatTheirArgumentsInTextMode)
{
    BaseMode mode(false);
    DhtGetOSType os(nullptr);
    EXPECT_EQ(os.rowSchema, nullptr);
    EXPECT_EQ(os.getName(), "dhtGetOSType");
    EXPECT_EQ(os.objectKind, ZXDB_KIND_PROCEDURE);
    EXPECT_EQ(os.description, "Procedure DhtGetOSType");
    EXPECT_STREQ(os.columnList, "o_dhtOSId, o_dhtOSName, o_dhtOSRelease, o_dhtOSType, o_hostName, o_release");
    EXPECT_STREQ(os.procStamp, "00010005008800020000");
    EXPECT_EQ(os.boundRow, nullptr);
    EXPECT_EQ(os.keyColumn, nullptr);
    os.setValues(42);
    EXPECT_EQ(os.getReservedSize(), 14u);
    EXPECT_STREQ(os.getStatementText(), "42");
    EXPECT_EQ(os.inputsBound, 0);
    EXPECT_TRUE(os.getBoundInputs().empty());
    os.setValues(7);  // a new call formats the new argument
    EXPECT_STREQ(os.getStatementText(), "7");

    YB_GetJobListForYBSAPOracle list(nullptr);
    EXPECT_EQ(list.rowSchema, nullptr);
    EXPECT_STREQ(list.procStamp, "00010001029400020000");
    list.setValues(1, 2, "abc");
    EXPECT_EQ(list.getReservedSize(), 37u);
    EXPECT_STREQ(list.getStatementText(), "1,2,'abc'");

    YB_GetJobDetailsForYBSAPOracle details(nullptr);
    EXPECT_STREQ(details.procStamp, "00010003029400020000");
    details.setValues(2, 3, "abc", 5000000000LL);
    EXPECT_EQ(details.getReservedSize(), 64u);
    EXPECT_STREQ(details.getStatementText(), "2,3,'abc',5000000000");

    // A null instance name formats as an empty text.
    list.setValues(1, 2, nullptr);
    EXPECT_EQ(list.getReservedSize(), 34u);
    EXPECT_STREQ(list.getStatementText(), "1,2,''");
}

TEST_F(RowClassTest, CursorsFormatTheirStatementAndBindTheirArguments)
{
    for (bool newBase : {false, true}) {
        BaseMode mode(newBase);
        DBStatementRegistry::registerStatement("RowsTestNameCursor", "SELECT ?1 + 1, ?2 UNION ALL SELECT ?1 + 2, ?2");
        RowsTestNameCursor cursor(nullptr);
        EXPECT_EQ(cursor.objectKind, ZXDB_KIND_CURSOR);
        EXPECT_EQ(cursor.description, "Cursor RowsTestNameCursor");
        EXPECT_STREQ(cursor.columnList, "Id, Name");
        EXPECT_EQ(cursor.procStamp[0], '\0');
        EXPECT_EQ(cursor.rowSchema != nullptr, newBase);

        // Text form in both modes, sized twice the format, the integer and the text.
        cursor.setValues(4, "it's a long one");
        const size_t format = std::strlen(RowsTestNameCursor_desc::text);
        EXPECT_EQ(cursor.getReservedSize(), 2 * (format + 12 + 15));
        EXPECT_STREQ(cursor.getStatementText(),
                     "SET NOCOUNT ON \n\tSELECT Id, Name FROM T WHERE Id > 4 AND Name = 'it's a long one' \n\tSET NOCOUNT OFF");
        EXPECT_EQ(cursor.inputsBound, 0);

        // The statement run gets the text as a value, cut to the column.
        std::vector<RowsTestNameCursor_t> rows;
        EXPECT_EQ(ZXDBReadList(cursor, rows), 0);
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0].Id, 5);
        EXPECT_EQ(rows[1].Id, 6);
        EXPECT_STREQ(rows[1].Name, "it's a ");
        DBStatementRegistry::unregister("RowsTestNameCursor");
    }
}

TEST_F(RowClassTest, ProceduresBindValueObjectsInNewBaseMode)
{
    BaseMode mode(true);
    YB_GetJobDetailsForYBSAPOracle details(nullptr);
    ASSERT_NE(details.rowSchema, nullptr);
    EXPECT_NE(dynamic_cast<YB_GetJobDetailsForYBSAPOracle_t2*>(details.rowSchema), nullptr);
    details.setValues(2, 3, "abc", 5000000000LL);
    EXPECT_EQ(details.inputsBound, 1);
    EXPECT_EQ(details.getReservedSize(), 0u);
    EXPECT_STREQ(details.getStatementText(), "");
    const std::vector<ZXDBDataTypeBase*>& in = details.getBoundInputs();
    ASSERT_EQ(in.size(), 4u);
    const int codes[] = {1, 1, 6, 4};
    const char* texts[] = {"2", "3", "abc", "5000000000"};
    for (size_t i = 0; i < in.size(); ++i) {
        EXPECT_EQ(in[i]->getDataType(), codes[i]);
        EXPECT_FALSE(in[i]->isNull);
        EXPECT_EQ(in[i]->updatedStatus, ZXDB_UPDATED);
        in[i]->setString();
        EXPECT_EQ(in[i]->getStr(), texts[i]);
    }

    // A second call replaces the inputs.
    DhtGetOSType os(nullptr);
    os.setValues(42);
    os.setValues(43);
    ASSERT_EQ(os.getBoundInputs().size(), 1u);
    os.getBoundInputs()[0]->setString();
    EXPECT_EQ(os.getBoundInputs()[0]->getStr(), "43");
    EXPECT_STREQ(os.getStatementText(), "");

    YB_GetJobListForYBSAPOracle list(nullptr);
    ZXDB_int* a = new ZXDB_int(5);
    ZXDB_int* b = new ZXDB_int(6);
    ZXDB_string* c = new ZXDB_string("x");
    list.setZXDBValues(a, b, c);
    ASSERT_EQ(list.getBoundInputs().size(), 3u);
    EXPECT_EQ(list.getBoundInputs()[0], a);
    EXPECT_EQ(list.getBoundInputs()[2], c);
}

TEST_F(RowClassTest, NullTransactionTakesTheCriticalSectionAndReads)
{
    BaseMode mode(false);
    DBStatementRegistry::registerStatement(
        "dhtGetOSType", "SELECT ?1, 'Linux', '5.4', 'Unix', 'host' || ?1, 'r1' UNION ALL SELECT 0, NULL, NULL, "
                        "NULL, NULL, NULL WHERE ?1 < 0");

    // While another thread holds the critical section, construction waits.
    std::promise<void> held;
    std::promise<void> release;
    std::future<void> heldF = held.get_future();
    std::thread holder([&held, releaseF = release.get_future()] {
        DBtable::DBCriticalSection.Lock();
        held.set_value();
        releaseF.wait();
        DBtable::DBCriticalSection.Unlock();
    });
    heldF.wait();
    std::atomic<bool> built{false};
    BlockingCall builder([&] {
        HostDBFaults::failNext("addObject", 5);  // would be logged if addObject ran
        DhtGetOSType os(nullptr);
        built = true;
        const DhtGetOSType_t* row = os.getDataPtr();
        os.setValues(7);
        EXPECT_EQ(os.openCursor(), 0);
        EXPECT_EQ(os.fetchCursor(true), 0);
        EXPECT_EQ(row->o_dhtOSId, 7);
        EXPECT_STREQ(row->o_dhtOSType, "Unix");
        EXPECT_STREQ(row->o_hostName, "host7");
        EXPECT_EQ(os.fetchCursor(true), DB_NO_MORE_ROWS);
        EXPECT_EQ(os.closeCursor(), 0);
    });
    EXPECT_TRUE(builder.blocks());
    EXPECT_FALSE(built.load());
    release.set_value();
    holder.join();
    builder.join();
    EXPECT_TRUE(built.load());

    // Released again: another thread can take it at once.
    bool taken = false;
    std::thread probe([&] {
        taken = DBtable::DBCriticalSection.TryLock();
        if (taken) DBtable::DBCriticalSection.Unlock();
    });
    probe.join();
    EXPECT_TRUE(taken);
    EXPECT_FALSE(logHas("caught an exception"));
    EXPECT_EQ(HostDBFaults::check("addObject"), 5);  // never consumed
}

TEST_F(RowClassTest, FailedRegistrationIsLoggedAndSwallowed)
{
    BaseMode mode(false);
    DBStatementRegistry::registerStatement("YB_GetJobListForYBSAPOracle",
                                           "SELECT ?1 * 100 + ?2, length(?3) UNION ALL SELECT 2, 3");
    DBtran tran;
    ASSERT_EQ(tran.startTran(), 0);
    HostDBFaults::failNext("addObject", 21);
    YB_GetJobListForYBSAPOracle list(&tran);
    char address[40];
    std::snprintf(address, sizeof(address), "[0x%08" PRIxPTR "]", reinterpret_cast<uintptr_t>(&list));
    EXPECT_TRUE(logHas(std::string("source/include/Db/Proc/YB_GetJobListForYBSAPOracle[")));
    EXPECT_TRUE(logHas(std::string("YB_GetJobListForYBSAPOracle Constructor ") + address + ", caught an exception"));

    // The object still works through the transaction.
    list.setValues(4, 5, "it's");
    std::vector<YB_GetJobListForYBSAPOracle_t> rows;
    EXPECT_EQ(ZXDBReadList(list, rows), 0);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].o_jobId, 405);
    EXPECT_EQ(rows[0].o_creationTime, 4);
    EXPECT_EQ(rows[1].o_jobId, 2);
    EXPECT_EQ(tran.commitTran(), 0);

    // Registered normally: no log entry.
    EvDebug::clearEntries();
    DhtGetOSType os(&tran);
    EXPECT_FALSE(logHas("caught an exception"));
}

TEST_F(RowClassTest, FetchProtocolResults)
{
    BaseMode mode(false);
    // Rows for job ids above the argument, none for a negative one.
    DBStatementRegistry::registerStatement("YB_GetJobDetailsForYBSAPOracle",
                                           "WITH j(n) AS (VALUES (1), (2), (3)) "
                                           "SELECT ?4 + n, ?1, ?2, ?3, 'dest' || n FROM j WHERE n <= ?1 ORDER BY n");
    YB_GetJobDetailsForYBSAPOracle details(nullptr);

    // No row at the first call: an empty list and success.
    details.setValues(0, 0, "none", 0);
    std::vector<YB_GetJobDetailsForYBSAPOracle_t> rows;
    EXPECT_EQ(ZXDBReadList(details, rows), 0);
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(ZXDBReadOne(details), DB_NO_MORE_ROWS);

    // Exactly one row.
    details.setValues(1, 9, "one", 5000000000LL);
    EXPECT_EQ(ZXDBReadOne(details), 0);
    EXPECT_EQ(details.getDataPtr()->o_jobId, 5000000001LL);
    EXPECT_EQ(details.getDataPtr()->o_destVolId, 9);
    EXPECT_STREQ(details.getDataPtr()->o_srcMountPath, "one");

    // More than one row is 1004, never "no row".
    details.setValues(3, 0, "many", 0);
    int rc = ZXDBReadOne(details);
    EXPECT_EQ(rc, DB_MORE_THAN_ONE_ROW);
    EXPECT_NE(rc, DB_NO_MORE_ROWS);
    rows.clear();
    EXPECT_EQ(ZXDBReadList(details, rows), 0);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_STREQ(rows[2].o_destMountPath, "dest3");

    // A database failure in the middle of a list is returned as it is.
    HostDBFaults::failNext("fetch", 1299, 1);
    rows.clear();
    details.setValues(3, 0, "fail", 0);
    EXPECT_EQ(ZXDBReadList(details, rows), 1299);
    EXPECT_EQ(rows.size(), 1u);
}

TEST_F(RowClassTest, BoundInputsReachTheStatementInOrder)
{
    BaseMode mode(true);
    DBStatementRegistry::registerStatement("YB_GetJobDetailsForYBSAPOracle",
                                           "SELECT ?4, ?1, ?2, ?3, typeof(?4) || typeof(?1)");
    YB_GetJobDetailsForYBSAPOracle details(nullptr);
    details.setValues(11, 22, "O'Neil", 1LL << 40);
    EXPECT_EQ(ZXDBReadOne(details), 0);
    const YB_GetJobDetailsForYBSAPOracle_t* row = details.getDataPtr();
    EXPECT_EQ(row->o_jobId, 1LL << 40);
    EXPECT_EQ(row->o_srcVolId, 11);
    EXPECT_EQ(row->o_destVolId, 22);
    EXPECT_STREQ(row->o_srcMountPath, "O'Neil");
    EXPECT_STREQ(row->o_destMountPath, "integerinteger");
}

TEST_F(RowClassTest, ApplicationDirsTableReadsInsertsAndUpdates)
{
    BaseMode mode(false);
    {
        DBtran open;  // the catalogue gets its schema
        ASSERT_EQ(open.startTran(), 0);
        ASSERT_EQ(open.commitTran(), 0);
    }
    exec(
        "INSERT INTO YBApplicationDirs (id, subclientId, clientId, pathType, objName, path, creationTime, modifyTime, "
        "ReplicationVolumeId, Flags) VALUES (5, 1, 2, 30, 'b', '/b', 100, 100, 7, 0), "
        "(2, 1, 2, 10, 'a', '/a', 100, 100, 7, 0), (9, 1, 3, 20, 'c', '/c', 100, 100, 8, 0)");

    YBApplicationDirs dirs(nullptr);
    EXPECT_EQ(dirs.objectKind, ZXDB_KIND_TABLE);
    EXPECT_EQ(dirs.description, "Table YBApplicationDirs");
    EXPECT_STREQ(dirs.columnList,
                 "id, subclientId, clientId, pathType, objName, path, creationTime, modifyTime, ReplicationVolumeId, Flags");
    EXPECT_STREQ(dirs.keyColumn, "id");
    EXPECT_EQ(dirs.boundRow, dirs.getDataPtr());
    EXPECT_EQ(dirs.procStamp[0], '\0');

    auto readIds = [&dirs]() {
        std::vector<int> ids;
        if (dirs.openCursor() != 0) return ids;
        while (dirs.fetchCursor(true) == 0) ids.push_back(dirs.getDataPtr()->id);
        dirs.closeCursor();
        return ids;
    };
    EXPECT_EQ(readIds(), (std::vector<int>{2, 5, 9}));  // by "id" from construction
    dirs.setOrderBy("pathType DESC");
    EXPECT_EQ(readIds(), (std::vector<int>{5, 9, 2}));

    // Count and update through a where clause.
    dirs.setOrderBy("id");
    dirs.setWhere("ReplicationVolumeId = %d", 7);
    int count = 0;
    EXPECT_EQ(dirs.getRowsInTable(&count, true), 0);
    EXPECT_EQ(count, 2);
    ASSERT_EQ(dirs.openCursor(), 0);
    ASSERT_EQ(dirs.fetchCursor(true), 0);
    EXPECT_STREQ(dirs.getDataPtr()->path, "/a");
    dirs.getDataPtr()->modifyTime = 555;
    EXPECT_EQ(dirs.rowUpdate(nullptr), 0);
    dirs.closeCursor();

    // Insert a row given through setValues; the new id comes back.
    YBApplicationDirs_t fresh;
    fresh.subclientId = 4;
    fresh.ReplicationVolumeId = 7;
    zxstrcpy(fresh.objName, "it's", sizeof(fresh.objName));
    zxstrcpy(fresh.path, "/x", sizeof(fresh.path));
    dirs.setValues(&fresh);
    EXPECT_EQ(dirs.rowInsert(true), 0);
    EXPECT_EQ(dirs.getDataPtr()->id, 10);

    dirs.setWhere("ReplicationVolumeId = %d", 7);
    ASSERT_EQ(dirs.openCursor(), 0);
    ASSERT_EQ(dirs.fetchCursor(true), 0);
    EXPECT_EQ(dirs.getDataPtr()->modifyTime, 555);
    ASSERT_EQ(dirs.fetchCursor(true), 0);
    EXPECT_EQ(dirs.getDataPtr()->id, 5);
    ASSERT_EQ(dirs.fetchCursor(true), 0);
    EXPECT_STREQ(dirs.getDataPtr()->objName, "it's");
    EXPECT_EQ(dirs.fetchCursor(true), DB_NO_MORE_ROWS);
    dirs.closeCursor();

    // With the newer base the table carries its schema object.
    BaseMode newer(true);
    YBApplicationDirs withSchema(nullptr);
    ASSERT_NE(withSchema.rowSchema, nullptr);
    EXPECT_EQ(withSchema.rowSchema->getPrimaryWhere(), "id = ?");
}

TEST(RowStructTest, RowsStartEmptyAndTheTableRowCopiesBounded)
{
    DhtGetOSType_t os;
    EXPECT_EQ(os.o_dhtOSId, 0);
    EXPECT_STREQ(os.o_release, "");
    YB_GetJobDetailsForYBSAPOracle_t details;
    EXPECT_EQ(details.o_jobId, 0);

    YBApplicationDirs_t source;
    source.id = 3;
    source.Flags = 9;
    source.modifyTime = 77;
    std::memset(source.objName, 'a', sizeof(source.objName));  // no terminating NUL
    zxstrcpy(source.path, "/p", sizeof(source.path));
    YBApplicationDirs_t copy;
    copy = source;
    EXPECT_EQ(copy.id, 3);
    EXPECT_EQ(copy.Flags, 9);
    EXPECT_EQ(copy.modifyTime, 77);
    EXPECT_EQ(std::strlen(copy.objName), 2048u);
    EXPECT_STREQ(copy.path, "/p");

    std::string message = "before";
    YBDBDst_t<YBApplicationDirs_t> dst(copy, message);
    EXPECT_EQ(&dst.row, &copy);
    EXPECT_EQ(&dst.errMsg, &message);
    EXPECT_EQ(dst.errCode, 0);
    dst.errMsg = "Name is too long";
    EXPECT_EQ(message, "Name is too long");
}

TEST(RowStructTest, DeleteListFreesAndNullsTheArray)
{
    CRepBaseDB db;
    YBApplicationDirs_t* none = nullptr;
    db.deleteList(none);
    EXPECT_EQ(none, nullptr);

    YBApplicationDirs_t* list = new YBApplicationDirs_t[3];
    list[1].id = 4;
    db.deleteList(list);
    EXPECT_EQ(list, nullptr);
}
