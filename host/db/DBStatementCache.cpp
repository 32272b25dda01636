#include "host/db/DBStatementCache.h"

#include <cctype>

#include "host/db/DBConnection.h"

namespace {

const char kSourceFile[] = "DBStatementCache";

// True when the rest of a text holds no further statement: only blanks or
// comments.
bool nothingFollows(sqlite3* db, std::string_view rest)
{
    size_t i = 0;
    while (i < rest.size() && std::isspace(static_cast<unsigned char>(rest[i]))) ++i;
    if (i == rest.size()) return true;
    sqlite3_stmt* probe = nullptr;
    bool empty = sqlite3_prepare_v2(db, rest.data() + i, static_cast<int>(rest.size() - i), &probe, nullptr) ==
                     SQLITE_OK &&
                 probe == nullptr;
    sqlite3_finalize(probe);
    return empty;
}

}  // namespace

int DBStatementCache::take(sqlite3* db, std::string_view sql, Entry*& entry)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    entry = nullptr;
    auto range = m_entries.equal_range(sql);
    for (auto it = range.first; it != range.second; ++it) {
        Entry* kept = it->second.get();
        if (kept->lent) continue;
        m_idle.erase(kept->idlePos);
        kept->lent = true;
        entry = kept;
        return SQLITE_OK;
    }

    auto fresh = std::make_unique<Entry>();
    fresh->sql.assign(sql.data(), sql.size());
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v3(db, fresh->sql.c_str(), static_cast<int>(fresh->sql.size() + 1),
                                SQLITE_PREPARE_PERSISTENT, &fresh->stmt, &tail);
    if (rc != SQLITE_OK) return rc;
    if (fresh->stmt == nullptr) return SQLITE_OK;  // blanks or comments only
    fresh->used = tail != nullptr ? static_cast<size_t>(tail - fresh->sql.c_str()) : fresh->sql.size();
    fresh->last = nothingFollows(db, std::string_view(fresh->sql).substr(fresh->used));
    fresh->lent = true;
    entry = fresh.get();
    std::string_view key(entry->sql);
    m_entries.emplace(key, std::move(fresh));
    return SQLITE_OK;
}

void DBStatementCache::give(Entry* entry)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    if (entry == nullptr || !entry->lent) return;
    sqlite3_reset(entry->stmt);
    sqlite3_clear_bindings(entry->stmt);
    entry->lent = false;
    m_idle.push_front(entry);
    entry->idlePos = m_idle.begin();
    evict();
}

void DBStatementCache::evict()
{
    while (m_idle.size() > m_capacity) {
        Entry* oldest = m_idle.back();
        m_idle.pop_back();
        auto range = m_entries.equal_range(std::string_view(oldest->sql));
        for (auto it = range.first; it != range.second; ++it) {
            if (it->second.get() != oldest) continue;
            sqlite3_finalize(oldest->stmt);
            m_entries.erase(it);
            break;
        }
    }
}

void DBStatementCache::clear()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    for (auto& kept : m_entries) {
        if (kept.second->lent)
            log_error(kSourceFile, __LINE__, "A statement is finalised while still in use: %s",
                      kept.second->sql.c_str());
        sqlite3_finalize(kept.second->stmt);
    }
    m_entries.clear();
    m_idle.clear();
}

size_t DBStatementCache::kept()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_entries.size();
}

int DBStatement::prepare(const std::shared_ptr<DBConnection>& conn, std::string_view sql, const char* owner)
{
    release();
    m_conn = conn;
    int rc = conn->statements.take(conn->db, sql, m_entry);
    if (rc == SQLITE_OK) return 0;
    log_error(kSourceFile, __LINE__, "%s: cannot prepare \"%.*s\": %s", owner, static_cast<int>(sql.size()),
              sql.data(), sqlite3_errmsg(conn->db));
    rc = dbErrorCode(*conn, rc);
    m_conn.reset();
    return rc;
}

void DBStatement::release()
{
    if (m_entry != nullptr) m_conn->statements.give(m_entry);
    m_entry = nullptr;
    m_conn.reset();
}
