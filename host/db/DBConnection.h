// Connections of the database access library (internal to host/db).
#pragma once

#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "host/db/DBProcessTurn.h"
#include "host/db/DBStatementCache.h"
#include "host/db/DBWriterQueue.h"
#include "host/db/DBtable.h"

// How long a writer waits for its turn, in the process and in the
// database's busy handler (for other processes): longer than the longest
// wait for a table lock (60 s), so that a request queued behind one that
// waits that long does not fail first.
const int kBusyTimeoutMs = 75000;

// Sets the busy handling a connection to a catalogue file has from its
// opening on: it waits in the database's busy handler up to kBusyTimeoutMs.
void dbSetBusyHandling(sqlite3* db);

// How long a writer waits for its turn in the process from now on (tests
// shorten it; 0 or less: kBusyTimeoutMs again).
void dbSetWriterTimeout(std::chrono::milliseconds timeout);

// Statements a connection keeps prepared besides those lent out.
const size_t kKeptStatements = 256;

// A connection to a catalogue file: a thread's own, or the writing
// connection of the file on which the transactions run.
struct DBConnection {
    sqlite3* db = nullptr;
    unsigned long generation = 0;  // catalogue generation it was opened for
    // Open transaction levels and the count of outer transactions: changed
    // by the thread that holds the writer turn, read also by the threads
    // whose nested transactions outlived their outer one.
    std::atomic<int> depth{0};
    std::atomic<unsigned long> serial{0};
    unsigned long savepoints = 0;  // counts savepoint names
    std::string path;
    unsigned long checkpointPages = 0;  // WAL size that asks for a checkpoint
    unsigned long long walLimitBytes = 0;  // the size its file is cut back to
    unsigned long hardLimitPages = ~0UL;   // WAL size at which the writers wait for its readers
    std::chrono::milliseconds readerWaitCeiling{0};  // the longest wait for them there
    DBStatementCache statements{kKeptStatements};
    // BEGIN IMMEDIATE, COMMIT and ROLLBACK, prepared with the connection.
    sqlite3_stmt* beginStmt = nullptr;
    sqlite3_stmt* commitStmt = nullptr;
    sqlite3_stmt* rollbackStmt = nullptr;
    std::shared_ptr<DBWriterQueue> writers;  // of the file, in this process
    // Of the file, among the processes writing it; null when its side file
    // cannot be used.
    std::shared_ptr<DBProcessTurn> processes;
    bool writing = false;                    // holds its turn among them
    // A thread's own connection: the writing connection of its file, once
    // it has been needed.
    std::shared_ptr<DBConnection> writer;

    // Waits for the turn among the file's writers, for the transaction on
    // the connection or one statement that writes; false (and logged) when
    // it did not come in time.
    bool enterWriters();
    void leaveWriters();
    ~DBConnection();
};

// Holds the connection's turn among the writers of its file while a
// statement that writes runs outside a transaction.
class DBWriteTurn {
public:
    DBWriteTurn(DBConnection& conn, sqlite3_stmt* stmt);
    ~DBWriteTurn();
    DBWriteTurn(const DBWriteTurn&) = delete;
    DBWriteTurn& operator=(const DBWriteTurn&) = delete;
    // False when the turn did not come in time: the statement must not run.
    bool granted() const { return m_granted; }

private:
    DBConnection& m_conn;
    bool m_entered = false;
    bool m_granted = true;
};

// True in a child of fork of a process that had opened a connection to the
// catalogue (and in the children of such a child): nothing of the
// catalogue's state that it inherited is its own to use (connections,
// turns, queues, the background thread, SQLite's locks and mutexes), so it
// uses the catalogue not at all; a host that wants the library in a child
// process starts a new program there.
bool dbCatalogueInherited();
// The calling thread's connection, opened on first use: while the thread's
// transaction is open, the writing connection it runs on. 0 or a database
// code; SQLITE_MISUSE at once where dbCatalogueInherited.
int dbThreadConnection(std::shared_ptr<DBConnection>& conn);
// The writing connection of the file of a thread's own connection, opened
// on first use and shared by all threads' connections to the file: the
// transactions run on it, one at a time in their turns, so that its page
// cache and its kept statements stay valid from one to the next. 0 or a
// database code.
int dbWritingConnection(DBConnection& own, std::shared_ptr<DBConnection>& writer);
// The calling thread's statements go to writer (the one its transaction runs
// on) until this is called again with null.
void dbSetThreadWriter(const std::shared_ptr<DBConnection>& writer);
// DBtran::useCatalogue and DBtran::cataloguePath.
void dbUseCatalogue(const std::string& path);
std::string dbCataloguePath();
// The connection a statement through tran (null: the calling thread's) runs on.
int dbStatementConnection(DBtran* tran, std::shared_ptr<DBConnection>& conn);
// Runs SQL without rows. 0 or a database code.
int dbExec(DBConnection& conn, const char* sql);
// Runs a kept statement without rows and resets it. 0 or a database code.
int dbRunKept(DBConnection& conn, sqlite3_stmt* stmt);
// The database's code after a failed call on the connection.
int dbErrorCode(DBConnection& conn, int rc);
// Binds arguments: parameter i takes argument i (from 1). The statement
// reads the texts where they are: they must stay until it is given back.
int dbBindArguments(sqlite3_stmt* stmt, const std::vector<DBArgument>& args);
// Binds a field of a row to parameter i where it lies in the row, which must
// stay until the statement is given back (a heap text as the server stores
// it, copied).
int dbBindField(sqlite3_stmt* stmt, int i, DBColumnType type, size_t size, const char* field);
// Holds the mutex of a statement's connection while the columns of a row are
// read, so that each column is read without taking it again.
class DBRowLock {
public:
    explicit DBRowLock(sqlite3_stmt* stmt) : m_mutex(sqlite3_db_mutex(sqlite3_db_handle(stmt)))
    {
        sqlite3_mutex_enter(m_mutex);
    }
    ~DBRowLock() { sqlite3_mutex_leave(m_mutex); }
    DBRowLock(const DBRowLock&) = delete;
    DBRowLock& operator=(const DBRowLock&) = delete;

private:
    sqlite3_mutex* m_mutex;
};

// Reads column `column` of the current row into a field of a row, under a
// DBRowLock: a null value as 0 or "" (a heap text as null), a text cut to
// size-1 characters. The length read (bytes of an integer, characters of a
// text), or -1 for a null value or a text field without room.
long long dbReadColumn(sqlite3_stmt* stmt, int column, DBColumnType type, size_t size, char* field);
// The value of a field of a row as a statement argument.
DBArgument dbFieldArgument(DBColumnType type, size_t size, const char* field);
// Puts a new identity into an integer field.
void dbStoreIdentity(DBColumnType type, char* field, long long id);
// One step of the catalogue schema: the migration at index i of a list
// brings a file from version i to version i+1.
struct DBMigration {
    const char* name;  // file name without ".sql", e.g. "001_catalogue"
    const char* sql;
};
// The catalogue's migrations in order (schema/NNN_name.sql).
const std::vector<DBMigration>& dbCatalogueMigrations();
// Brings the catalogue file open on conn to the last of the migrations, all
// missing ones in one transaction, and sets up the connection's journal. A
// file newer than the list, a database file of another program or a file that
// is no database is refused and left as it is. 0, or a database code; a
// failure is logged at ERR.
int dbPrepareCatalogue(DBConnection& conn, const std::vector<DBMigration>& migrations);
