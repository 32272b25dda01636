// Long text values of entity rows (their heap text columns) moved through
// the database's incremental blob I/O, so that a value of any size is never
// held whole in memory by the database layer: an insert binds a zero-filled
// value of the length the server stores and writes the text into it once the
// row is in; a read copies the value into room the caller gives. Internal to
// host/db.
#pragma once

#include <sqlite3.h>

#include <cstddef>
#include <functional>
#include <vector>

#include "host/db/CRepTableDB.h"

struct DBConnection;

// The long texts bound to one insert statement, until they are written.
class DBLongTexts {
public:
    // Binds the heap text field (a char*) to parameter i: a null text as
    // NULL, any other as a zero-filled value of the length the server stores
    // for it, to be written by write(). The text must stay until then.
    int bind(sqlite3_stmt* stmt, int i, const DBEntityColumn& column, const char* field);
    bool empty() const { return m_texts.empty(); }
    // Writes what the server stores for each bound text into its column of
    // the row at rowid of the table, inside the statement's transaction.
    // 0 or a database code.
    int write(DBConnection& conn, const char* table, long long rowid) const;

private:
    struct Text {
        const char* column;
        const char* text;
        size_t length;
    };
    std::vector<Text> m_texts;
};

// A savepoint around statements that must take effect together; rolled back
// and released when it goes without release().
class DBSavepoint {
public:
    explicit DBSavepoint(DBConnection& conn);
    ~DBSavepoint();
    DBSavepoint(const DBSavepoint&) = delete;
    DBSavepoint& operator=(const DBSavepoint&) = delete;
    // 0 when the savepoint began.
    int begun() const { return m_begun; }
    // Keeps what was done since it began. 0 or a database code.
    int release();

private:
    DBConnection& m_conn;
    int m_begun;
    bool m_open;
};

// Reads the text value in the column of the row at rowid of the table into
// room from allocate(length + 1): length bytes and a NUL. 0, or a database
// code (SQLITE_NOMEM when allocate gave no room, length then set). text is
// the room given, also after a failure: the caller frees it.
int dbReadLongText(DBConnection& conn, const char* table, const char* column, long long rowid,
                   const std::function<char*(size_t)>& allocate, char*& text, size_t& length);
