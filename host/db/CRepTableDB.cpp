#include "host/db/CRepTableDB.h"

#include <string>

#include "host/db/DBConnection.h"

namespace {

const char kSourceFile[] = "CRepTableDB";

bool isBlank(const char* text)
{
    if (text == nullptr) return true;
    for (; *text != '\0'; ++text)
        if (*text != ' ' && *text != '\t' && *text != '\r' && *text != '\n') return false;
    return true;
}

std::string columnNames(const DBEntityTable& table)
{
    std::string names;
    for (size_t i = 0; i < table.count; ++i) names += (i ? ", " : "") + std::string(table.columns[i].name);
    return names;
}

void readRow(const DBEntityTable& table, sqlite3_stmt* stmt, void* row)
{
    char* base = static_cast<char*>(row);
    int columns = sqlite3_column_count(stmt);
    for (size_t i = 0; i < table.count && static_cast<int>(i) < columns; ++i) {
        const DBEntityColumn& col = table.columns[i];
        int c = static_cast<int>(i);
        dbReadColumn(stmt, c, sqlite3_column_type(stmt, c) == SQLITE_NULL, col.type, col.size, base + col.offset);
    }
}

}  // namespace

const DBEntityColumn* CRepTableCore::keyColumn() const
{
    for (size_t i = 0; i < m_table.count; ++i)
        if (m_table.columns[i].key) return &m_table.columns[i];
    return nullptr;
}

bool CRepTableCore::fail(int code)
{
    m_nErrorCode = code;
    return false;
}

bool CRepTableCore::finish(int code)
{
    m_nErrorCode = code;
    return code == 0;
}

bool CRepTableCore::selectRows(const char* where, const char* orderBy, DBtran* tran,
                               const std::function<void*()>& nextRow)
{
    int fault = HostDBFaults::check("getList");
    if (fault != 0) return fail(fault);
    std::string sql = "SELECT " + columnNames(m_table) + " FROM " + m_table.name;
    if (!isBlank(where)) sql += " WHERE " + std::string(where);
    if (!isBlank(orderBy)) sql += " ORDER BY " + std::string(orderBy);
    std::shared_ptr<DBConnection> conn;
    sqlite3_stmt* stmt = nullptr;
    int rc = dbPrepare(tran, sql, {}, conn, stmt);
    if (rc != 0) return fail(rc);
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) readRow(m_table, stmt, nextRow());
    rc = rc == SQLITE_DONE ? 0 : dbErrorCode(*conn, rc);
    sqlite3_finalize(stmt);
    return finish(rc);
}

bool CRepTableCore::selectByKey(int key, void* row, DBtran* tran)
{
    int fault = HostDBFaults::check("getInfo");
    if (fault != 0) return fail(fault);
    const DBEntityColumn* keyCol = keyColumn();
    if (keyCol == nullptr) return fail(SQLITE_MISUSE);
    std::string sql = "SELECT " + columnNames(m_table) + " FROM " + m_table.name + " WHERE " + keyCol->name + " = ?1";
    DBArgument a{DBArgument::INT, key, 0.0, std::string()};
    std::shared_ptr<DBConnection> conn;
    sqlite3_stmt* stmt = nullptr;
    int rc = dbPrepare(tran, sql, {a}, conn, stmt);
    if (rc != 0) return fail(rc);
    rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW) {
        readRow(m_table, stmt, row);
        rc = 0;
    } else if (rc == SQLITE_DONE) {
        rc = DB_NO_MORE_ROWS;
    } else {
        rc = dbErrorCode(*conn, rc);
    }
    sqlite3_finalize(stmt);
    return finish(rc);
}

bool CRepTableCore::countRows(const char* where, unsigned int& count, DBtran* tran)
{
    count = 0;
    int fault = HostDBFaults::check("getNRows");
    if (fault != 0) return fail(fault);
    std::string sql = "SELECT COUNT(*) FROM " + std::string(m_table.name);
    if (!isBlank(where)) sql += " WHERE " + std::string(where);
    std::shared_ptr<DBConnection> conn;
    sqlite3_stmt* stmt = nullptr;
    int rc = dbPrepare(tran, sql, {}, conn, stmt);
    if (rc != 0) return fail(rc);
    rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW) {
        count = static_cast<unsigned int>(sqlite3_column_int64(stmt, 0));
        rc = 0;
    } else {
        rc = dbErrorCode(*conn, rc);
    }
    sqlite3_finalize(stmt);
    return finish(rc);
}

bool CRepTableCore::insertRow(void* row, DBtran* tran)
{
    int fault = HostDBFaults::check("insert");
    if (fault != 0) return fail(fault);
    std::string names;
    std::string values;
    std::vector<DBArgument> args;
    const DBEntityColumn* identity = nullptr;
    for (size_t i = 0; i < m_table.count; ++i) {
        const DBEntityColumn& col = m_table.columns[i];
        if (col.identity) {
            identity = &col;
            continue;
        }
        args.push_back(dbFieldArgument(col.type, col.size, static_cast<const char*>(row) + col.offset));
        names += (args.size() > 1 ? ", " : "") + std::string(col.name);
        values += (args.size() > 1 ? ", ?" : "?") + std::to_string(args.size());
    }
    std::string sql = "INSERT INTO " + std::string(m_table.name) + " (" + names + ") VALUES (" + values + ")";
    std::shared_ptr<DBConnection> conn;
    sqlite3_stmt* stmt = nullptr;
    int rc = dbPrepare(tran, sql, args, conn, stmt);
    if (rc != 0) return fail(rc);
    rc = sqlite3_step(stmt);
    rc = rc == SQLITE_DONE ? 0 : dbErrorCode(*conn, rc);
    if (rc == 0 && identity != nullptr)
        dbStoreIdentity(identity->type, static_cast<char*>(row) + identity->offset, sqlite3_last_insert_rowid(conn->db));
    if (rc != 0) log_error(kSourceFile, __LINE__, "Insert into %s failed: %s", m_table.name, sqlite3_errmsg(conn->db));
    sqlite3_finalize(stmt);
    return finish(rc);
}

bool CRepTableCore::updateRows(const char* set, int key, DBtran* tran)
{
    int fault = HostDBFaults::check("Update");
    if (fault != 0) return fail(fault);
    if (isBlank(set)) return fail(SQLITE_MISUSE);
    return changeRows("UPDATE " + std::string(m_table.name) + " SET " + set, nullptr, key, true, tran);
}

bool CRepTableCore::updateWhere(const char* set, const char* where, DBtran* tran)
{
    int fault = HostDBFaults::check("Update");
    if (fault != 0) return fail(fault);
    if (isBlank(set)) return fail(SQLITE_MISUSE);
    return changeRows("UPDATE " + std::string(m_table.name) + " SET " + set, where, 0, false, tran);
}

bool CRepTableCore::removeRows(const char* where, int key, bool byKey, DBtran* tran)
{
    int fault = HostDBFaults::check("remove");
    if (fault != 0) return fail(fault);
    return changeRows("DELETE FROM " + std::string(m_table.name), where, key, byKey, tran);
}

// Runs an UPDATE or DELETE limited to the key or to the where clause; a
// change that touches no row fails with 100.
bool CRepTableCore::changeRows(std::string sql, const char* where, int key, bool byKey, DBtran* tran)
{
    std::vector<DBArgument> args;
    if (byKey) {
        const DBEntityColumn* keyCol = keyColumn();
        if (keyCol == nullptr) return fail(SQLITE_MISUSE);
        sql += " WHERE " + std::string(keyCol->name) + " = ?1";
        args.push_back(DBArgument{DBArgument::INT, key, 0.0, std::string()});
    } else {
        // A change of every row by mistake is refused.
        if (isBlank(where)) return fail(SQLITE_MISUSE);
        sql += " WHERE " + std::string(where);
    }
    std::shared_ptr<DBConnection> conn;
    sqlite3_stmt* stmt = nullptr;
    int rc = dbPrepare(tran, sql, args, conn, stmt);
    if (rc != 0) return fail(rc);
    rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE)
        rc = sqlite3_changes(conn->db) > 0 ? 0 : DB_NO_MORE_ROWS;
    else
        rc = dbErrorCode(*conn, rc);
    sqlite3_finalize(stmt);
    return finish(rc);
}
