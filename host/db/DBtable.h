// The host's database access library: the table object the row classes are
// built on and the row readers. Each of the library's other concepts has a
// header of its own (transactions DBtran.h, read views DBReadView.h, column
// kinds DBColumns.h, arguments DBArgument.h, the error DBException.h, the log
// DBLog.h, the entity base CRepBaseDB.h, faults HostDBFaults.h); this header
// includes them all, so that a user of the library includes one header.
//
// The catalogue is an embedded database file; every thread reads on its own
// connection and writes in transactions (DBtran). Statements of cursors and procedures are looked up by the
// database object name in the statement registry (DBStatementRegistry.h).
//
// One rule binds this library and every folder of the system built on it:
// no code opens and closes a descriptor of a catalogue file, its "-wal"
// or its "-shm". On POSIX, closing any descriptor of a file drops every
// record lock the process holds on that file, SQLite's own among them (its
// "in use" lock of the log's index, its write lock, its readers' marks):
// another process then takes itself for the index's first user and resets it
// under this one, which corrupts the catalogue. What must be known of those
// files is read through SQLite (its own descriptor of the file) or through
// `stat` on the path (DBLogFile.h, the one unit that reads them).
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "host/FxLock.h"
#include "host/db/CRepBaseDB.h"
#include "host/db/DBArgument.h"
#include "host/db/DBColumns.h"
#include "host/db/DBException.h"
#include "host/db/DBLog.h"
#include "host/db/DBReadView.h"
#include "host/db/DBtran.h"
#include "host/db/HostDBFaults.h"

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

// The connection object behind a table object.
class ZXSimpleDBConnObject {
public:
    void setExtIndicatorArray(void* indicators) { m_pIndicators = indicators; }
    void* getExtIndicatorArray() const { return m_pIndicators; }

private:
    void* m_pIndicators = nullptr;
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

