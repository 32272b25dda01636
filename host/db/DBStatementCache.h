// The prepared statements a connection keeps, keyed by their SQL text, and
// the lease through which a caller uses one (internal to host/db).
#pragma once

#include <sqlite3.h>

#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

struct DBConnection;

class DBStatementCache {
public:
    // One prepared statement: the first SQL statement of its text.
    struct Entry {
        std::string sql;              // the text it was prepared from, its key
        sqlite3_stmt* stmt = nullptr;
        size_t used = 0;              // bytes of the text the statement took
        bool last = true;             // nothing but blanks or comments follows
        bool lent = false;
        std::list<Entry*>::iterator idlePos;
    };

    // Keeps at most `capacity` statements that are not lent out.
    explicit DBStatementCache(size_t capacity) : m_capacity(capacity) {}
    ~DBStatementCache() { clear(); }
    DBStatementCache(const DBStatementCache&) = delete;
    DBStatementCache& operator=(const DBStatementCache&) = delete;

    // A statement of the first SQL statement of `sql`, lent to the caller
    // alone until it is given back: a kept one when one of the same text is
    // free, else a newly prepared one. SQLITE_OK, or the code of the failed
    // prepare. `entry` is null when the text holds no statement.
    int take(sqlite3* db, std::string_view sql, Entry*& entry);
    // Takes a lent statement back, reset and with its bindings cleared; the
    // least recently used ones beyond the capacity are finalised.
    void give(Entry* entry);
    // Finalises every statement (none may be lent out).
    void clear();

    size_t kept();

private:
    void evict();

    std::mutex m_mutex;  // the writing connection serves every thread
    size_t m_capacity;
    std::unordered_multimap<std::string_view, std::unique_ptr<Entry>> m_entries;
    std::list<Entry*> m_idle;  // most recently given back first
};

// A statement lent by the cache of a connection, given back when the lease
// ends. It keeps the connection open meanwhile.
class DBStatement {
public:
    DBStatement() = default;
    ~DBStatement() { release(); }
    DBStatement(const DBStatement&) = delete;
    DBStatement& operator=(const DBStatement&) = delete;

    // Borrows the statement of the first SQL statement of `sql` on conn:
    // 0, or the database code of the failed prepare (logged under `owner`).
    // get() is null afterwards when the text holds no statement.
    int prepare(const std::shared_ptr<DBConnection>& conn, std::string_view sql, const char* owner);
    // Gives the statement back.
    void release();

    sqlite3_stmt* get() const { return m_entry != nullptr ? m_entry->stmt : nullptr; }
    // Bytes of the text the statement took.
    size_t used() const { return m_entry != nullptr ? m_entry->used : 0; }
    // True when no further statement follows in the text.
    bool last() const { return m_entry == nullptr || m_entry->last; }
    DBConnection& connection() const { return *m_conn; }

private:
    std::shared_ptr<DBConnection> m_conn;
    DBStatementCache::Entry* m_entry = nullptr;
};
