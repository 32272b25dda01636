#include <cstdint>
#include <cstring>
#include <string>

#include "support/TestCatalogue.h"
#include "support/TestHost.h"
#include "host/EvDebug.h"
#include "host/db/DBStatementRegistry.h"
#include "host/db/SNRTables.h"
#include "rows/ZXDBDataTypes.h"

namespace {

// A cursor family of the test's own over the device table.
struct TestDeviceCursor_t {
    int id;
    int ClientId;
    char DeviceName[9];
    long long Big;
};

const DBColumnBinding kDeviceCursorLayout[] = {
    {DB_COL_INT32, offsetof(TestDeviceCursor_t, id), sizeof(int)},
    {DB_COL_INT32, offsetof(TestDeviceCursor_t, ClientId), sizeof(int)},
    {DB_COL_TEXT, offsetof(TestDeviceCursor_t, DeviceName), 9},
    {DB_COL_INT64, offsetof(TestDeviceCursor_t, Big), sizeof(long long)},
};

const char kDeviceCursorFormat[] =
    "SET NOCOUNT ON \n\tSELECT * \n\tFROM YBPhysicalDevice \n\tWHERE ClientId = %d \n\tORDER BY id ASC \n\tSET NOCOUNT OFF";

class TestDeviceCursor : public DBtable {
public:
    explicit TestDeviceCursor(DBtran* tran) : DBtable("TestDeviceCursor", 0, tran), row()
    {
        objectKind = 3;
        columnList = "id, ClientId, DeviceName, Big";
        description = "Cursor TestDeviceCursor";
        setRowLayout(&row, kDeviceCursorLayout, 4);
        dataBindClearFirstTime();
        setExtIndicatorArray(indicators);
        DBCriticalSection.Lock();
        if (getTran() != nullptr) {
            try {
                getTran()->addObject(this);
            } catch (...) {
                log_error("source/include/Db/Cursor/TestDeviceCursor", __LINE__,
                          "TestDeviceCursor Constructor [0x%08x], caught an exception",
                          static_cast<unsigned int>(reinterpret_cast<uintptr_t>(this)));
            }
        }
        DBCriticalSection.Unlock();
    }

    TestDeviceCursor_t* getDataPtr() { return &row; }

    void setValues(int clientId)
    {
        querySizeCheck(2 * (std::strlen(kDeviceCursorFormat) + 12), false);
        CallDBsprintfWrapper(kDeviceCursorFormat, clientId);
    }

    TestDeviceCursor_t row;
    long long indicators[4] = {};
};

// A procedure family: (int, long long, text) -> the same three values.
struct TestEcho_t {
    int a;
    long long b;
    char c[16];
};

const DBColumnBinding kEchoLayout[] = {
    {DB_COL_INT32, offsetof(TestEcho_t, a), sizeof(int)},
    {DB_COL_INT64, offsetof(TestEcho_t, b), sizeof(long long)},
    {DB_COL_TEXT, offsetof(TestEcho_t, c), 16},
};

class TestEcho : public DBtable {
public:
    explicit TestEcho(DBtran* tran) : DBtable("TestEcho", 0, tran), row()
    {
        objectKind = 2;
        columnList = "a, b, c";
        description = "Procedure TestEcho";
        setRowLayout(&row, kEchoLayout, 3);
        dataBindClearFirstTime();
        std::strcpy(procStamp, "01234567890123456789");
    }

    void setValues(int a, long long b, const char* c)
    {
        if (b_newDBBase) {
            ClearBoundInputs();
            BindInput(new ZXDB_int(a));
            BindInput(new ZXDB_int64(b));
            BindInput(new ZXDB_string(c));
            inputsBound = 1;
        } else {
            valuesClauseCheck(std::strlen("%d,%lld,'%s'") + 12 + 22 + std::strlen(c));
            CallDBsprintfWrapper("%d,%lld,'%s'", a, b, c);
        }
    }

    TestEcho_t row;
};

// The caller's statement run as written; one integer per row.
struct TestQueryInt_t {
    int IntValue;
};

class YBQueryInt : public DBtable {
public:
    explicit YBQueryInt(DBtran* tran) : DBtable("YBQueryInt", 0, tran), row()
    {
        static const DBColumnBinding layout[] = {{DB_COL_INT32, 0, sizeof(int)}};
        objectKind = 3;
        columnList = "IntValue";
        setRowLayout(&row, layout, 1);
    }

    void setValues(const char* sql)
    {
        static const char format[] = "SET NOCOUNT ON \n%s \n\tSET NOCOUNT OFF";
        querySizeCheck(2 * (std::strlen(format) + std::strlen(sql)), false);
        CallDBsprintfWrapper(format, sql);
    }

    TestQueryInt_t row;
};

const DBColumnBinding kDeviceTableLayout[] = {
    {DB_COL_INT32, offsetof(YBPhysicalDevice_t, id), 4},
    {DB_COL_INT32, offsetof(YBPhysicalDevice_t, ClientId), 4},
    {DB_COL_INT32, offsetof(YBPhysicalDevice_t, SNRVolumeId), 4},
    {DB_COL_TEXT, offsetof(YBPhysicalDevice_t, DeviceName), 1025},
    {DB_COL_INT32, offsetof(YBPhysicalDevice_t, Flags), 4},
    {DB_COL_TEXT, offsetof(YBPhysicalDevice_t, OSDeviceName), 1025},
    {DB_COL_TEXT, offsetof(YBPhysicalDevice_t, AccessPath), 129},
    {DB_COL_INT32, offsetof(YBPhysicalDevice_t, FilerClientId), 4},
};

// The device table read and written through the table mode.
class TestDeviceTable : public DBtable {
public:
    TestDeviceTable() : DBtable("YBPhysicalDevice", 0, nullptr)
    {
        objectKind = 1;
        columnList = "id, ClientId, SNRVolumeId, DeviceName, Flags, OSDeviceName, AccessPath, FilerClientId";
        description = "Table YBPhysicalDevice";
        boundRow = &row;
        keyColumn = "id";
        setRowLayout(&row, kDeviceTableLayout, 8);
        dataBindClearFirstTime();
        setOrderBy("id");
    }
    ~TestDeviceTable() override { dataBindClear(); }

    YBPhysicalDevice_t row;
};

class RowFacilityTest : public CatalogueTest {
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        DBStatementRegistry::registerStatement(
            "TestDeviceCursor", "SELECT id, ClientId, DeviceName, FilerClientId FROM YBPhysicalDevice "
                                "WHERE ClientId = ?1 ORDER BY id ASC");
        DBStatementRegistry::registerStatement("TestEcho", "SELECT ?1, ?2, ?3");
    }
    void TearDown() override
    {
        DBtable::b_newDBBase = false;
        CatalogueTest::TearDown();
    }

    int addDevice(int clientId, const char* name, int filer = 0)
    {
        CSNRVolumeDeviceNameDB db;
        YBPhysicalDevice_t row;
        row.ClientId = clientId;
        row.FilerClientId = filer;
        std::strncpy(row.DeviceName, name, sizeof(row.DeviceName) - 1);
        EXPECT_TRUE(db.insert(row, nullptr));
        return row.id;
    }
};

}  // namespace

TEST_F(RowFacilityTest, GetOneRowGivesNoneOneOrMoreThanOne)
{
    TestDeviceCursor cursor(nullptr);
    cursor.setValues(1);
    EXPECT_EQ(getOneRow(&cursor, false, -1, 0), 100);

    int id = addDevice(1, "/dev/a", 77);
    cursor.setValues(1);
    ASSERT_EQ(getOneRow(&cursor, false, -1, 0), 0);
    EXPECT_EQ(cursor.getDataPtr()->id, id);
    EXPECT_STREQ(cursor.getDataPtr()->DeviceName, "/dev/a");
    EXPECT_EQ(cursor.getDataPtr()->Big, 77);

    addDevice(1, "/dev/b");
    cursor.setValues(1);
    EXPECT_EQ(getOneRow(&cursor, false, -1, 0), 1004);
    // A second reading of the same statement gives the same answer.
    EXPECT_EQ(getOneRow(&cursor, false, -1, 0), 1004);
}

TEST_F(RowFacilityTest, ListReadingAndRestartBySetValues)
{
    addDevice(2, "/dev/x");
    addDevice(2, "/dev/y");
    addDevice(3, "/dev/z");
    TestDeviceCursor cursor(nullptr);
    cursor.setValues(2);
    int counter = 0;
    ASSERT_EQ(getNextRow(&cursor, &counter, -1, 0), 0);
    EXPECT_STREQ(cursor.getDataPtr()->DeviceName, "/dev/x");

    // A new setValues restarts, whatever the counter holds.
    cursor.setValues(3);
    ASSERT_EQ(getNextRow(&cursor, &counter, -1, 0), 0);
    EXPECT_STREQ(cursor.getDataPtr()->DeviceName, "/dev/z");
    EXPECT_EQ(getNextRow(&cursor, &counter, -1, 0), 100);
    EXPECT_EQ(getNextRow(&cursor, &counter, -1, 0), 100);

    cursor.setValues(2);
    std::string names;
    int rc;
    while ((rc = getNextRow(&cursor, &counter, -1, 0)) == 0) names += std::string(cursor.getDataPtr()->DeviceName) + ";";
    EXPECT_EQ(rc, 100);
    EXPECT_EQ(names, "/dev/x;/dev/y;");

    cursor.setValues(99);
    EXPECT_EQ(getNextRow(&cursor, &counter, -1, 0), 100);
}

TEST_F(RowFacilityTest, TwoCursorsOfOneStatementReadApart)
{
    addDevice(4, "/dev/p");
    addDevice(4, "/dev/q");
    addDevice(4, "/dev/r");
    TestDeviceCursor outer(nullptr);
    outer.setValues(4);
    int counter = 0;
    ASSERT_EQ(getNextRow(&outer, &counter, -1, 0), 0);
    EXPECT_STREQ(outer.getDataPtr()->DeviceName, "/dev/p");
    {
        // The same statement text again while the first is being read.
        TestDeviceCursor inner(nullptr);
        inner.setValues(4);
        std::string names;
        while (getNextRow(&inner, &counter, -1, 0) == 0) names += inner.getDataPtr()->DeviceName;
        EXPECT_EQ(names, "/dev/p/dev/q/dev/r");
    }
    ASSERT_EQ(getNextRow(&outer, &counter, -1, 0), 0);
    EXPECT_STREQ(outer.getDataPtr()->DeviceName, "/dev/q");
    ASSERT_EQ(getNextRow(&outer, &counter, -1, 0), 0);
    EXPECT_STREQ(outer.getDataPtr()->DeviceName, "/dev/r");
    EXPECT_EQ(getNextRow(&outer, &counter, -1, 0), 100);
}

TEST_F(RowFacilityTest, NullColumnsLongTextsAndExtraColumns)
{
    DBStatementRegistry::registerStatement("TestDeviceCursor",
                                           "SELECT NULL, NULL, NULL, NULL, 'extra', 5 WHERE ?1 = 1 "
                                           "UNION ALL SELECT 4, 5, 'abcdefghijklmnop', 6, 'extra', 7 WHERE ?1 = 2");
    DBtable::b_newDBBase = true;
    TestDeviceCursor cursor(nullptr);
    std::memset(cursor.getDataPtr(), 0x55, sizeof(TestDeviceCursor_t));
    cursor.setValues(1);
    ASSERT_EQ(getOneRow(&cursor, false, -1, 0), 0);
    EXPECT_EQ(cursor.getDataPtr()->id, 0);
    EXPECT_EQ(cursor.getDataPtr()->ClientId, 0);
    EXPECT_STREQ(cursor.getDataPtr()->DeviceName, "");
    EXPECT_EQ(cursor.getDataPtr()->Big, 0);
    EXPECT_EQ(cursor.indicators[2], -1);

    cursor.setValues(2);
    ASSERT_EQ(getOneRow(&cursor, false, -1, 0), 0);
    EXPECT_EQ(cursor.getDataPtr()->id, 4);
    EXPECT_STREQ(cursor.getDataPtr()->DeviceName, "abcdefgh");  // char[9]
    EXPECT_EQ(cursor.getDataPtr()->Big, 6);
    EXPECT_EQ(cursor.indicators[2], 8);
}

TEST_F(RowFacilityTest, FormattingStaysWithinTheRoomReserved)
{
    TestDeviceCursor cursor(nullptr);
    cursor.setValues(42);
    EXPECT_EQ(cursor.getReservedSize(), 2 * (std::strlen(kDeviceCursorFormat) + 12));
    EXPECT_NE(std::string(cursor.getStatementText()).find("WHERE ClientId = 42 \n"), std::string::npos);
    ASSERT_EQ(cursor.getArguments().size(), 1u);
    EXPECT_EQ(cursor.getArguments()[0].i, 42);

    TestDeviceCursor small(nullptr);
    small.querySizeCheck(10, false);
    EXPECT_EQ(small.CallDBsprintfWrapper("%s-%d", "a long text", 5), -1);
    EXPECT_EQ(std::string(small.getStatementText()), "a long te");
    ASSERT_EQ(small.getArguments().size(), 2u);
    EXPECT_EQ(small.getArguments()[0].s, "a long text");
}

TEST_F(RowFacilityTest, ProcedureArgumentsInBothModes)
{
    TestEcho text(nullptr);
    text.setValues(7, 1LL << 40, "it's");
    EXPECT_EQ(text.getReservedSize(), std::strlen("%d,%lld,'%s'") + 34 + 4);
    EXPECT_STREQ(text.getStatementText(), "7,1099511627776,'it's'");
    ASSERT_EQ(getOneRow(&text, false, -1, 0), 0);
    EXPECT_EQ(text.row.a, 7);
    EXPECT_EQ(text.row.b, 1LL << 40);
    EXPECT_STREQ(text.row.c, "it's");

    DBtable::b_newDBBase = true;
    TestEcho bound(nullptr);
    bound.setValues(-3, -(1LL << 35), "O'Neil");
    EXPECT_EQ(bound.inputsBound, 1);
    EXPECT_STREQ(bound.getStatementText(), "");
    EXPECT_EQ(bound.getBoundInputs().size(), 3u);
    ASSERT_EQ(getOneRow(&bound, false, -1, 0), 0);
    EXPECT_EQ(bound.row.a, -3);
    EXPECT_EQ(bound.row.b, -(1LL << 35));
    EXPECT_STREQ(bound.row.c, "O'Neil");
}

TEST_F(RowFacilityTest, QueryIntRunsTheCallersStatement)
{
    addDevice(8, "/dev/q1");
    addDevice(8, "/dev/q2");
    YBQueryInt query(nullptr);
    query.setValues("SELECT COUNT(*) FROM YBPhysicalDevice WHERE ClientId = 8");
    ASSERT_EQ(getOneRow(&query, false, -1, 0), 0);
    EXPECT_EQ(query.row.IntValue, 2);
    query.setValues("SELECT id FROM YBPhysicalDevice WHERE ClientId = 9");
    int counter = 0;
    EXPECT_EQ(getNextRow(&query, &counter, -1, 0), 100);
}

TEST_F(RowFacilityTest, UnregisteredObjectAndInjectedFetchFailure)
{
    DBStatementRegistry::unregister("TestDeviceCursor");
    TestDeviceCursor missing(nullptr);
    missing.setValues(1);
    int rc = getOneRow(&missing, false, -1, 0);
    EXPECT_NE(rc, 0);
    EXPECT_NE(rc, 100);
    EXPECT_NE(rc, 1004);

    DBStatementRegistry::registerStatement("TestDeviceCursor", "SELECT id, ClientId, DeviceName, 0 FROM YBPhysicalDevice WHERE ClientId = ?1");
    addDevice(1, "/dev/f");
    TestDeviceCursor cursor(nullptr);
    cursor.setValues(1);
    HostDBFaults::failNext("fetch", 1205, 1);
    int counter = 0;
    EXPECT_EQ(getNextRow(&cursor, &counter, -1, 0), 0);
    EXPECT_EQ(getNextRow(&cursor, &counter, -1, 0), 1205);
    EXPECT_EQ(getNextRow(&cursor, &counter, -1, 0), 100);
}

TEST_F(RowFacilityTest, RegistrationWithTransactionAndItsFailure)
{
    DBtran tran(false);
    ASSERT_EQ(tran.startTran(), 0);
    int id = addDevice(5, "/dev/o");
    (void)id;
    EvDebug::clearEntries();
    HostDBFaults::failNext("addObject", 1);
    TestDeviceCursor failed(&tran);
    bool logged = false;
    for (const std::string& entry : EvDebug::entries())
        if (entry.find("TestDeviceCursor Constructor [0x") != std::string::npos) logged = true;
    EXPECT_TRUE(logged);
    failed.setValues(5);
    EXPECT_EQ(getOneRow(&failed, false, -1, 0), 0);

    // A registered cursor sees the transaction's own rows; its open statement
    // is dropped when the transaction ends.
    TestDeviceCursor cursor(&tran);
    CSNRVolumeDeviceNameDB db;
    YBPhysicalDevice_t row;
    row.ClientId = 5;
    std::strcpy(row.DeviceName, "/dev/in");
    ASSERT_TRUE(db.insert(row, &tran));
    cursor.setValues(5);
    int counter = 0;
    ASSERT_EQ(getNextRow(&cursor, &counter, -1, 0), 0);
    ASSERT_EQ(tran.commitTran(false), 0);
    cursor.setValues(5);
    std::string names;
    while (getNextRow(&cursor, &counter, -1, 0) == 0) names += cursor.getDataPtr()->DeviceName;
    EXPECT_EQ(names, "/dev/o/dev/in");
}

TEST_F(RowFacilityTest, TableModeReadsCountsInsertsAndUpdates)
{
    TestDeviceTable table;
    std::strcpy(table.row.DeviceName, "C:\\it's");
    table.row.ClientId = 21;
    ASSERT_EQ(table.rowInsert(true), 0);
    int firstId = table.row.id;
    EXPECT_GT(firstId, 0);
    table.row.ClientId = 21;
    std::strcpy(table.row.DeviceName, "/dev/second");
    ASSERT_EQ(table.rowInsert(true), 0);

    ASSERT_EQ(table.setWhere("ClientId = %d", 21), 0);
    int count = 0;
    ASSERT_EQ(table.getRowsInTable(&count, true), 0);
    EXPECT_EQ(count, 2);
    ASSERT_EQ(table.setWhere("ClientId = %d", 9999), 0);
    EXPECT_EQ(table.getRowsInTable(&count, true), 100);
    EXPECT_EQ(count, 0);
    ASSERT_EQ(table.setWhere("ClientId = %d", 21), 0);

    ASSERT_EQ(table.openCursor(), 0);
    ASSERT_EQ(table.fetchCursor(true), 0);
    EXPECT_EQ(table.row.id, firstId);
    EXPECT_STREQ(table.row.DeviceName, "C:\\it's");
    table.row.Flags = 9;
    ASSERT_EQ(table.rowUpdate(nullptr), 0);
    ASSERT_EQ(table.fetchCursor(true), 0);
    ASSERT_EQ(table.rowUpdate("Flags = %d", 4), 0);
    EXPECT_EQ(table.fetchCursor(true), 100);
    ASSERT_EQ(table.closeCursor(), 0);

    CSNRVolumeDeviceNameDB db;
    YBPhysicalDevice_t read;
    ASSERT_TRUE(db.getInfo(firstId, read, nullptr));
    EXPECT_EQ(read.Flags, 9);
    EXPECT_STREQ(read.DeviceName, "C:\\it's");
    ASSERT_TRUE(db.getInfo(table.row.id, read, nullptr));
    EXPECT_EQ(read.Flags, 4);
    EXPECT_STREQ(DBtable::getErrorStr(100), "No (more) rows");
}

TEST_F(RowFacilityTest, ClauseValuesAreBoundNeverWrittenIntoTheSql)
{
    const char* tricky = "x' OR '1'='1";
    TestDeviceTable table;
    for (const char* name : {"/dev/plain", tricky, "O'Brien's 100%s"}) {
        table.row.ClientId = 21;
        std::strcpy(table.row.DeviceName, name);
        ASSERT_EQ(table.rowInsert(true), 0);
    }

    // A text with quotes matches itself and nothing else.
    int count = 0;
    ASSERT_EQ(table.setWhere("DeviceName = '%s' AND ClientId = %d", tricky, 21), 0);
    ASSERT_EQ(table.getRowsInTable(&count, true), 0);
    EXPECT_EQ(count, 1);
    ASSERT_EQ(table.setWhere("ClientId = %lld AND DeviceName = '%s'", 21LL, "O'Brien's 100%s"), 0);
    ASSERT_EQ(table.openCursor(), 0);
    ASSERT_EQ(table.fetchCursor(true), 0);
    EXPECT_STREQ(table.row.DeviceName, "O'Brien's 100%s");

    // SET values with quotes are written as they are, to the fetched row only.
    ASSERT_EQ(table.rowUpdate("DeviceName = '%s', Flags = %d", "it's'; DELETE FROM YBPhysicalDevice; --", 6), 0);
    EXPECT_EQ(table.fetchCursor(true), 100);
    ASSERT_EQ(table.setWhere("DeviceName LIKE 'it''s%%' AND Flags = %u", 6u), 0);
    ASSERT_EQ(table.getRowsInTable(&count, true), 0);
    EXPECT_EQ(count, 1);
    ASSERT_EQ(table.setWhere(nullptr), 0);
    ASSERT_EQ(table.getRowsInTable(&count, true), 0);
    EXPECT_EQ(count, 3);

    // A text outside a whole quoted literal, or a conversion that is not a
    // plain number, is refused, and a refused where clause reads nothing
    // rather than every row.
    EvDebug::clearEntries();
    auto expectRefused = [&](int rc, const char* format) {
        int n = 0;
        EXPECT_EQ(rc, SQLITE_MISUSE) << format;
        EXPECT_EQ(table.getRowsInTable(&n, true), SQLITE_MISUSE) << format;
        EXPECT_EQ(table.openCursor(), SQLITE_MISUSE) << format;
        EXPECT_EQ(table.fetchCursor(true), SQLITE_MISUSE) << format;
    };
    for (const char* format : {"DeviceName = %s", "DeviceName = 'a%s'", "DeviceName = '%s''s'", "DeviceName = %c"})
        expectRefused(table.setWhere(format, tricky), format);
    for (const char* format : {"Flags = %5d", "Flags = '%d'", "Flags = %x", "Flags = %n", "Flags = %"})
        expectRefused(table.setWhere(format, 7), format);
    EXPECT_EQ(LogEntriesWith("where clause \"DeviceName = %s\" refused").size(), 1u);
    ASSERT_EQ(table.setWhere("ClientId = %d", 21), 0);
    ASSERT_EQ(table.openCursor(), 0);
    ASSERT_EQ(table.fetchCursor(true), 0);
    EXPECT_EQ(table.rowUpdate("%s", "Flags = 4"), SQLITE_MISUSE);
    EXPECT_EQ(table.rowUpdate("DeviceName = 'x%s'", "y"), SQLITE_MISUSE);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBPhysicalDevice WHERE Flags = 4 OR DeviceName = 'xy'"), 0);
}
