#include "host/db/DBLongText.h"

#include <algorithm>
#include <cstring>

#include "host/db/DBConnection.h"
#include "host/db/ServerText.h"

namespace {

// The most bytes one blob call moves.
const size_t kLargestPart = 1u << 30;

}  // namespace

int DBLongTexts::bind(sqlite3_stmt* stmt, int i, const DBEntityColumn& column, const char* field)
{
    const char* text = nullptr;
    std::memcpy(&text, field, sizeof text);
    if (text == nullptr) return sqlite3_bind_null(stmt, i);
    const size_t length = std::strlen(text);
    DBServerText::recordSent(text, length);
    const size_t stored = DBServerText::storedLength(text, length);
    if (stored == 0) return sqlite3_bind_text(stmt, i, "", 0, SQLITE_STATIC);
    m_texts.push_back(Text{column.name, text, length});
    // Not built in memory by the insert as long as no column after it holds
    // bytes (an integer 0 or 1 holds none); else built once, zero-filled.
    return sqlite3_bind_zeroblob64(stmt, i, stored);
}

int DBLongTexts::write(DBConnection& conn, const char* table, long long rowid) const
{
    int fault = HostDBFaults::check("writeLongText");
    if (fault != 0) return fault;
    for (const Text& t : m_texts) {
        sqlite3_blob* blob = nullptr;
        int rc = sqlite3_blob_open(conn.db, "main", table, t.column, rowid, 1, &blob);
        int offset = 0;
        if (rc == SQLITE_OK)
            DBServerText::read(t.text, t.length, [&](const char* part, size_t length) {
                for (size_t done = 0; done < length && rc == SQLITE_OK;) {
                    const size_t n = std::min(length - done, kLargestPart);
                    rc = sqlite3_blob_write(blob, part + done, static_cast<int>(n), offset);
                    offset += static_cast<int>(n);
                    done += n;
                }
                return rc == SQLITE_OK;
            });
        const int closed = sqlite3_blob_close(blob);
        if (rc == SQLITE_OK) rc = closed;
        if (rc != SQLITE_OK) return dbErrorCode(conn, rc);
    }
    return 0;
}

DBSavepoint::DBSavepoint(DBConnection& conn) : m_conn(conn)
{
    m_begun = dbExec(conn, "SAVEPOINT long_text");
    m_open = m_begun == 0;
}

DBSavepoint::~DBSavepoint()
{
    if (m_open) dbExec(m_conn, "ROLLBACK TO long_text; RELEASE long_text");
}

int DBSavepoint::release()
{
    if (!m_open) return m_begun;
    m_open = false;
    const int rc = dbExec(m_conn, "RELEASE long_text");
    if (rc != 0) dbExec(m_conn, "ROLLBACK TO long_text; RELEASE long_text");
    return rc;
}

int dbReadLongText(DBConnection& conn, const char* table, const char* column, long long rowid,
                   const std::function<char*(size_t)>& allocate, char*& text, size_t& length)
{
    text = nullptr;
    length = 0;
    int fault = HostDBFaults::check("readLongText");
    if (fault != 0) return fault;
    sqlite3_blob* blob = nullptr;
    int rc = sqlite3_blob_open(conn.db, "main", table, column, rowid, 0, &blob);
    if (rc == SQLITE_OK) {
        length = static_cast<size_t>(sqlite3_blob_bytes(blob));
        text = allocate(length + 1);
        if (text == nullptr) rc = SQLITE_NOMEM;
        for (size_t done = 0; rc == SQLITE_OK && done < length;) {
            const size_t n = std::min(length - done, kLargestPart);
            rc = sqlite3_blob_read(blob, text + done, static_cast<int>(n), static_cast<int>(done));
            done += n;
        }
        if (text != nullptr) text[length] = '\0';
    }
    sqlite3_blob_close(blob);
    return rc == SQLITE_OK ? 0 : dbErrorCode(conn, rc);
}
