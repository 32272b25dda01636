// The host's database access library: transactions, the table object the row
// classes are built on, the row readers and the base of the entity classes.
//
// The catalogue is an embedded database file; every thread reads on its own
// connection and writes in transactions (DBtran). Statements of cursors and procedures are looked up by the
// database object name in the statement registry (DBStatementRegistry.h).
#pragma once

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/FxLock.h"

class DBtable;
class ZXDBDataTypeBase;
class ZXDBRowBase;
struct DBConnection;
class DBStatement;
struct sqlite3_stmt;

// Result codes of the fetch calls besides the database's own codes.
enum {
    DB_ROW_OK = 0,
    DB_NO_MORE_ROWS = 100,
    DB_MORE_THAN_ONE_ROW = 1004
};

// Thrown by DBtran::addObject when an object cannot be registered.
class DBException : public std::runtime_error {
public:
    DBException(int code, const std::string& text) : std::runtime_error(text), m_nCode(code) {}
    int code() const { return m_nCode; }

private:
    int m_nCode;
};

// An open database transaction. The first one opened on a thread is a real
// transaction; one opened while another is open on the same thread nests as
// a savepoint. The real ones of all threads run one at a time, in the order
// they were started, on the writing connection of the catalogue file; while
// one is open, every statement of its thread runs on that connection too.
class DBtran {
public:
    explicit DBtran(bool = false);
    ~DBtran();
    DBtran(const DBtran&) = delete;
    DBtran& operator=(const DBtran&) = delete;

    // 0 when the transaction started, else a database code.
    int startTran();
    // 0 when committed. Committing a transaction that is not open does nothing.
    int commitTran(bool = false);
    // 0 when rolled back. The object stays usable: the next statement through
    // it opens a new transaction, which a later commitTran commits.
    int rollbackTran();
    // Registers a row object with the transaction; throws DBException, and
    // the object is then not registered. A registered object is let go when
    // either of the two goes away first.
    void addObject(DBtable* object);
    void removeObject(DBtable* object);

    bool isActive() const { return m_nState == ACTIVE; }

    // Points the process at another catalogue file. The calling thread's
    // connection is closed at once, other threads' connections before their
    // next statement outside a transaction. A new file gets the schema, an
    // older one the migrations it lacks; a newer file or one of another
    // program is refused (every transaction then fails to start). An
    // empty path returns to the configured file: "CatalogueFile" of section
    // "Database", else the environment's REPLMGR_DB, else replmgr.db in the
    // working directory.
    static void useCatalogue(const std::string& path);
    // The catalogue file in use.
    static std::string cataloguePath();
    // Opens the calling thread's connection to the catalogue unless it is
    // open: 0, or the code of why the catalogue cannot be used.
    static int openCatalogue();

    // The connection a statement through this transaction runs on; opens the
    // transaction again after a commit or rollback. 0 or a database code.
    int statementConnection(std::shared_ptr<DBConnection>& conn);

private:
    enum State { IDLE, ACTIVE, COMMITTED, ROLLEDBACK };
    int begin();
    bool outerEnded() const;
    void resetObjects();
    static void endOuter(DBConnection& conn);

    std::shared_ptr<DBConnection> m_pConn;
    State m_nState;
    std::string m_sSavepoint;  // empty for the outermost transaction
    unsigned long m_ulSerial;  // outer transaction of the connection this one belongs to
    std::vector<DBtable*> m_objects;
};

// Keeps one read transaction open on the calling thread's connection while
// it lives: the statements it runs meanwhile outside a transaction read one
// state of the catalogue and do not each begin and end a read of their own.
// Only for reads; while the thread's transaction is open it does nothing.
class DBReadView {
public:
    DBReadView();
    ~DBReadView();
    DBReadView(const DBReadView&) = delete;
    DBReadView& operator=(const DBReadView&) = delete;

private:
    std::shared_ptr<DBConnection> m_pConn;  // null when nothing was begun
};

// Kinds of a column of a bound row.
enum DBColumnType {
    DB_COL_INT32 = 1,
    DB_COL_INT64 = 4,
    DB_COL_TEXT = 6,
    // A char* to a NUL-terminated text of any length that the row owns
    // (allocated with new[]); null for a NULL value. Entity tables only.
    // The value written is stored as the server reads it (host/db/ServerText.h).
    DB_COL_HEAP_TEXT = 7
};

// Where one column lies in a bound row. A text column is a char[size]
// holding at most size-1 characters and the NUL.
struct DBColumnBinding {
    DBColumnType type;
    size_t offset;
    size_t size;
};

// The connection object behind a table object.
class ZXSimpleDBConnObject {
public:
    void setExtIndicatorArray(void* indicators) { m_pIndicators = indicators; }
    void* getExtIndicatorArray() const { return m_pIndicators; }

private:
    void* m_pIndicators = nullptr;
};

// A typed value taken from a statement's arguments.
struct DBArgument {
    enum Kind { INT, INT64, TEXT, REAL, NUL } kind;
    long long i;
    double d;
    std::string s;
};

class DBtable {
public:
    DBtable(const char* name, int, DBtran* tran);
    virtual ~DBtable();
    DBtable(const DBtable&) = delete;
    DBtable& operator=(const DBtable&) = delete;

    // Members the row classes set.
    int objectKind;               // 1 table, 2 procedure, 3 cursor
    const char* columnList;       // column names joined by ", "
    std::string description;      // "Cursor N", "Procedure N" or "Table N"
    void* boundRow;               // the table's bound row, null otherwise
    const char* keyColumn;        // the table's key column, null otherwise
    ZXDBRowBase* rowSchema;       // owned by the row class
    void* tableContext;           // cleared by the table class
    char procStamp[21];
    int inputsBound;

    // Layout of the bound row that fetches fill, column by column.
    void setRowLayout(void* row, const DBColumnBinding* columns, size_t count);

    const std::string& getName() const { return m_sName; }
    DBtran* getTran() const { return m_pTran; }

    // Room for at least size bytes of the statement / argument list.
    int querySizeCheck(unsigned long size, bool);
    int valuesClauseCheck(unsigned long size);
    // Formats the statement or argument list into the room reserved, never
    // past it, and records the typed values of the arguments. Restarts the
    // statement. The number of characters written, or -1 when the text did
    // not fit.
    int CallDBsprintfWrapper(const char* format, ...);
    const char* getStatementText() const { return m_text.empty() ? "" : m_text.data(); }
    unsigned long getReservedSize() const { return m_ulReserved; }
    const std::vector<DBArgument>& getArguments() const { return m_args; }

    // Bound procedure inputs; the table owns them. Restart the statement.
    void ClearBoundInputs();
    void BindInput(ZXDBDataTypeBase* input);
    const std::vector<ZXDBDataTypeBase*>& getBoundInputs() const { return m_inputs; }

    void setExtIndicatorArray(void* indicators);

    int openCursor();
    int fetchCursor(bool);
    int closeCursor();
    int rowInsert(bool);
    // A null format writes the bound row over the row fetched last;
    // otherwise the format is the SET clause for that row. Clause formats
    // take numbers (%d, %lld, %u, %f ...) and texts written as a whole quoted
    // literal ('%s'); each value is bound, never written into the SQL. Any
    // other conversion is refused with SQLITE_MISUSE (logged); a refused
    // where clause fails every read of the table until the next setWhere.
    int rowUpdate(const char* format, ...);
    int getRowsInTable(int* count, bool);
    int setWhere(const char* format, ...);
    int setOrderBy(const char* orderBy);
    static const char* getErrorStr(int code);

    void dataBindClearFirstTime();
    void dataBindClear();

    static bool b_newDBBase;
    static FXCriticalSection DBCriticalSection;

    // Row reader steps (getNextRow, getOneRow).
    int nextRow();
    int oneRow();
    // Drops a running statement; the next fetch starts it again.
    void resetStatement();
private:
    friend class DBtran;
    // Called by a transaction that goes away before this object.
    void detachTran()
    {
        m_pTran = nullptr;
        m_bRegistered = false;
    }

    int start();
    int step();
    void deliverRow();
    // The SELECT of the table's columns, or of its row count, under the
    // where and order set.
    std::string tableSelectText(bool count) const;
    int prepareTable(const std::shared_ptr<DBConnection>& conn, const std::string& sql, DBStatement& stmt);
    void registeredArguments(std::vector<DBArgument>& args) const;
    int runTableWrite(const std::string& sql, const std::vector<DBArgument>& args, long long* newId);
    int connection(std::shared_ptr<DBConnection>& conn);
    void argumentsOfRow(std::vector<DBArgument>& args, bool skipKey, std::vector<std::string>& names);

    std::string m_sName;
    DBtran* m_pTran;
    bool m_bRegistered;  // listed by m_pTran: addObject succeeded
    ZXSimpleDBConnObject m_oConnObject;

    std::vector<char> m_text;
    unsigned long m_ulReserved;
    std::vector<DBArgument> m_args;
    std::vector<ZXDBDataTypeBase*> m_inputs;

    void* m_pRowData;
    std::vector<DBColumnBinding> m_layout;

    std::string m_sWhere;                 // with ?N for its values
    std::vector<DBArgument> m_whereArgs;  // the values
    int m_nWhereError;                    // a refused where clause
    std::string m_sOrderBy;

    struct Statement;
    std::unique_ptr<Statement> m_pStmt;
    bool m_bDone;
    bool m_bHaveKey;
    long long m_llLastKey;
    enum { kKeyUnknown = -2, kNoKey = -1 };
    int m_nKeyIndex;  // the key column among the columns
};

// Next row of a statement: 0 a row is in the bound row, 100 no more rows,
// other a database code. The counter counts the rows delivered.
int getNextRow(DBtable* table, int* count, int, int);
// Exactly one row: 0 one row (in the bound row), 100 none, 1004 more than
// one, other a database code.
int getOneRow(DBtable* table, bool, int, int);

// An error entry in the host debug log, a line of its own:
// "file[line] -> text".
void log_error(const char* file, int line, const char* format, ...) __attribute__((format(printf, 3, 4)));

// Base of the entity database classes.
class CRepBaseDB {
public:
    CRepBaseDB() {}
    virtual ~CRepBaseDB() {}

    template <typename T>
    void deleteList(T*& list)
    {
        if (list != nullptr) {
            delete[] list;
            list = nullptr;
        }
    }
};

// Failure injection for tests.
class HostDBFaults {
public:
    // The (skip+1)-th next call of that kind fails with code. Kinds:
    // "startTran", "commitTran", "addObject" (throws), "fetch" (getNextRow,
    // getOneRow, openCursor, fetchCursor), "getList", "getInfo", "getNRows",
    // "insert", "Update", "remove"; "writeLongText", "readLongText" (a heap
    // text written into its row, read into the caller's room); "config." + a configuration query's name
    // (HostConfig::failNext); "Zxc::getRand", "Zxc::netEncrypt" (Zxc::failNext).
    static void failNext(const std::string& call, int code, int skip = 0);
    static void clear();
    // True while a fault of that kind is armed and has not been taken.
    static bool pending(const std::string& call);
    // 0, or the code this call must fail with.
    static int check(const char* call);
};
