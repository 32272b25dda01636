// The rows of a statement run on a test's own connection to a catalogue: a
// statement that cannot be prepared, or that stops on an error, fails the
// test naming it, so that a misspelt table or column never reads as no rows.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
#include <string>

// A statement that cannot be prepared or run: a fatal failure of the test,
// which a caller that goes on can see through HasFatalFailure().
inline void StatementFailed(sqlite3* db, const std::string& sql, const char* what)
{
    FAIL() << what << " \"" << sql << "\": " << sqlite3_errmsg(db);
}

// Hands each row of the statement to row(); false, after the failure, when
// it cannot be prepared or run.
inline bool ReadRows(sqlite3* db, const std::string& sql, const std::function<void(sqlite3_stmt*)>& row)
{
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        StatementFailed(db, sql, "cannot prepare");
        sqlite3_finalize(stmt);
        return false;
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) row(stmt);
    if (rc != SQLITE_DONE) StatementFailed(db, sql, "cannot run");
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE;
}
