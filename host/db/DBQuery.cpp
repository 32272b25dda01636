#include "host/db/DBQuery.h"

#include "host/db/DBConnection.h"

namespace {

const char kSourceFile[] = "DBQuery";

}  // namespace

int dbQuery(DBtran* tran, const std::string& sql, const std::vector<DBArgument>& args, std::vector<DBRow>* rows,
            long long* lastId)
{
    std::shared_ptr<DBConnection> conn;
    int rc = dbStatementConnection(tran, conn);
    DBStatement stmt;
    if (rc == 0) rc = stmt.prepare(conn, sql, kSourceFile);
    if (rc == 0 && stmt.get() == nullptr) rc = SQLITE_MISUSE;
    if (rc == 0) rc = dbBindArguments(stmt.get(), args);
    if (rc != 0) return rc;
    DBWriteTurn turn(*conn, stmt.get());
    if (!turn.granted()) return SQLITE_BUSY;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        if (rows == nullptr) continue;
        sqlite3_stmt* s = stmt.get();
        DBRow row(static_cast<size_t>(sqlite3_column_count(s)));
        for (size_t c = 0; c < row.size(); ++c) {
            int column = static_cast<int>(c);
            int type = sqlite3_column_type(s, column);
            row[c].isNull = type == SQLITE_NULL;
            if (row[c].isNull) continue;
            if (type == SQLITE_INTEGER) row[c].i = sqlite3_column_int64(s, column);
            const unsigned char* text = sqlite3_column_text(s, column);
            if (text != nullptr)
                row[c].s.assign(reinterpret_cast<const char*>(text), static_cast<size_t>(sqlite3_column_bytes(s, column)));
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
    return rc;
}
