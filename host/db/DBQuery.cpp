#include "host/db/DBQuery.h"

#include "host/db/DBConnection.h"

namespace {

const char kSourceFile[] = "DBQuery";

}  // namespace

int dbPrepare(DBtran* tran, const std::string& sql, const std::vector<DBArgument>& args,
              std::shared_ptr<DBConnection>& conn, sqlite3_stmt*& stmt)
{
    stmt = nullptr;
    int rc = dbStatementConnection(tran, conn);
    if (rc != 0) return rc;
    rc = sqlite3_prepare_v2(conn->db, sql.c_str(), -1, &stmt, nullptr);
    if (rc != SQLITE_OK) {
        log_error(kSourceFile, __LINE__, "Cannot prepare \"%s\": %s", sql.c_str(), sqlite3_errmsg(conn->db));
        return dbErrorCode(*conn, rc);
    }
    rc = dbBindArguments(stmt, args);
    if (rc != 0) {
        sqlite3_finalize(stmt);
        stmt = nullptr;
    }
    return rc;
}

int dbQuery(DBtran* tran, const std::string& sql, const std::vector<DBArgument>& args, std::vector<DBRow>* rows,
            long long* lastId)
{
    std::shared_ptr<DBConnection> conn;
    sqlite3_stmt* stmt = nullptr;
    int rc = dbPrepare(tran, sql, args, conn, stmt);
    if (rc != 0) return rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        if (rows == nullptr) continue;
        DBRow row(static_cast<size_t>(sqlite3_column_count(stmt)));
        for (size_t c = 0; c < row.size(); ++c) {
            int column = static_cast<int>(c);
            int type = sqlite3_column_type(stmt, column);
            row[c].isNull = type == SQLITE_NULL;
            if (row[c].isNull) continue;
            if (type == SQLITE_INTEGER) row[c].i = sqlite3_column_int64(stmt, column);
            const unsigned char* text = sqlite3_column_text(stmt, column);
            if (text != nullptr)
                row[c].s.assign(reinterpret_cast<const char*>(text), static_cast<size_t>(sqlite3_column_bytes(stmt, column)));
        }
        rows->push_back(std::move(row));
    }
    if (rc == SQLITE_DONE) {
        rc = 0;
        if (lastId != nullptr) *lastId = sqlite3_last_insert_rowid(conn->db);
    } else {
        rc = dbErrorCode(*conn, rc);
        log_error(kSourceFile, __LINE__, "\"%s\" failed: %s", sql.c_str(), sqlite3_errmsg(conn->db));
    }
    sqlite3_finalize(stmt);
    return rc;
}
