// Connections of the database access library (internal to host/db).
#pragma once

#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

class DBtran;
struct DBArgument;

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
// The database's code after a failed call on the connection.
int dbErrorCode(DBConnection& conn, int rc);
// Binds arguments: parameter i takes argument i (from 1).
int dbBindArguments(sqlite3_stmt* stmt, const std::vector<DBArgument>& args);
// The schema of the catalogue.
const char* dbCatalogueSchema();
