// Connections of the database access library (internal to host/db).
#pragma once

#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

#include "host/db/DBtable.h"

struct DBConnection {
    sqlite3* db = nullptr;
    unsigned long generation = 0;  // catalogue generation it was opened for
    int depth = 0;                 // open transaction levels
    unsigned long serial = 0;      // counts outer transactions
    unsigned long savepoints = 0;  // counts savepoint names
    std::string path;
    ~DBConnection();
};

// The calling thread's connection, opened on first use. 0 or a database code.
int dbThreadConnection(std::shared_ptr<DBConnection>& conn);
// The connection a statement through tran (null: the calling thread's) runs on.
int dbStatementConnection(DBtran* tran, std::shared_ptr<DBConnection>& conn);
// Runs SQL without rows. 0 or a database code.
int dbExec(DBConnection& conn, const char* sql);
// Prepares one statement on the connection of tran (null: the calling
// thread's) and binds the arguments. 0 with the statement, which the caller
// finalizes, or a database code with no statement.
int dbPrepare(DBtran* tran, const std::string& sql, const std::vector<DBArgument>& args,
              std::shared_ptr<DBConnection>& conn, sqlite3_stmt*& stmt);
// The database's code after a failed call on the connection.
int dbErrorCode(DBConnection& conn, int rc);
// Binds arguments: parameter i takes argument i (from 1).
int dbBindArguments(sqlite3_stmt* stmt, const std::vector<DBArgument>& args);
// Reads column `column` of the current row into a field of a row: a null
// value as 0 or "" (a heap text as null), a text cut to size-1 characters.
// The length read (bytes of an integer, characters of a text); -1 for a text
// field without room and for a null heap text.
long long dbReadColumn(sqlite3_stmt* stmt, int column, bool isNull, DBColumnType type, size_t size, char* field);
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
