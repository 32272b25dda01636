#include "host/db/DBtable.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "host/EvDebug.h"
#include "host/db/DBConnection.h"
#include "host/db/DBFormat.h"
#include "host/db/DBStatementRegistry.h"
#include "host/db/ServerText.h"
#include "host/db/ZXDBDataTypeBase.h"

bool DBtable::b_newDBBase = false;
FXCriticalSection DBtable::DBCriticalSection;

namespace {

const char kSourceFile[] = "DBtable";

std::vector<std::string> splitColumns(const char* list)
{
    std::vector<std::string> names;
    if (list == nullptr) return names;
    std::string current;
    for (const char* p = list;; ++p) {
        if (*p == ',' || *p == '\0') {
            size_t b = current.find_first_not_of(" \t");
            size_t e = current.find_last_not_of(" \t");
            if (b != std::string::npos) names.push_back(current.substr(b, e - b + 1));
            current.clear();
            if (*p == '\0') break;
        } else {
            current += *p;
        }
    }
    return names;
}

}  // namespace

// One run of a statement: the statements before the last have run, the last
// one delivers the rows.
struct DBtable::Statement {
    std::vector<DBArgument> args;  // bound where they are: given back first
    DBStatement lease;
    sqlite3_stmt* stmt() const { return lease.get(); }
    DBConnection& conn() const { return lease.connection(); }
};

DBtable::DBtable(const char* name, int, DBtran* tran)
    : objectKind(0),
      columnList(nullptr),
      boundRow(nullptr),
      keyColumn(nullptr),
      rowSchema(nullptr),
      tableContext(nullptr),
      inputsBound(0),
      m_sName(name != nullptr ? name : ""),
      m_pTran(tran),
      m_bRegistered(false),
      m_ulReserved(0),
      m_pRowData(nullptr),
      m_nWhereError(0),
      m_bDone(false),
      m_bHaveKey(false),
      m_llLastKey(0),
      m_nKeyIndex(kKeyUnknown)
{
    std::memset(procStamp, 0, sizeof(procStamp));
}

DBtable::~DBtable()
{
    m_pStmt.reset();
    ClearBoundInputs();
    if (m_pTran != nullptr && m_bRegistered) {
        DBCriticalSection.Lock();
        m_pTran->removeObject(this);
        DBCriticalSection.Unlock();
    }
}

void DBtable::setRowLayout(void* row, const DBColumnBinding* columns, size_t count)
{
    m_pRowData = row;
    m_layout.assign(columns, columns + count);
}

int DBtable::querySizeCheck(unsigned long size, bool)
{
    m_ulReserved = size;
    if (m_text.size() < size) m_text.resize(size, '\0');
    return 0;
}

int DBtable::valuesClauseCheck(unsigned long size)
{
    return querySizeCheck(size, false);
}

int DBtable::CallDBsprintfWrapper(const char* format, ...)
{
    resetStatement();
    if (format == nullptr) return -1;
    va_list ap;
    va_start(ap, format);
    va_list forArgs;
    va_copy(forArgs, ap);
    dbFormatArguments(format, forArgs, m_args);
    va_end(forArgs);

    int written = -1;
    if (m_text.empty()) {
        // Nothing reserved: keep an empty text.
        char dummy[1];
        written = std::vsnprintf(dummy, 0, format, ap);
        m_text.assign(1, '\0');
    } else {
        written = std::vsnprintf(m_text.data(), m_text.size(), format, ap);
    }
    va_end(ap);
    if (written < 0 || static_cast<size_t>(written) >= m_text.size()) {
        log_error(kSourceFile, __LINE__, "%s: statement text of %d characters cut to the %lu bytes reserved",
                  m_sName.c_str(), written, static_cast<unsigned long>(m_text.size()));
        return -1;
    }
    return written;
}

void DBtable::ClearBoundInputs()
{
    resetStatement();
    for (ZXDBDataTypeBase* input : m_inputs) delete input;
    m_inputs.clear();
}

void DBtable::BindInput(ZXDBDataTypeBase* input)
{
    resetStatement();
    if (input != nullptr) m_inputs.push_back(input);
}

void DBtable::setExtIndicatorArray(void* indicators)
{
    if (b_newDBBase) m_oConnObject.setExtIndicatorArray(indicators);
}

void DBtable::dataBindClearFirstTime()
{
    resetStatement();
    m_bHaveKey = false;
}

void DBtable::dataBindClear()
{
    dataBindClearFirstTime();
    ClearBoundInputs();
}

void DBtable::resetStatement()
{
    m_pStmt.reset();
    m_bDone = false;
}

int DBtable::connection(std::shared_ptr<DBConnection>& conn)
{
    return dbStatementConnection(m_pTran, conn);
}

std::string DBtable::tableSelectText(bool count) const
{
    std::string sql = "SELECT ";
    sql += count ? std::string("COUNT(*)") : std::string(columnList != nullptr ? columnList : "*");
    sql += " FROM " + m_sName;
    if (!m_sWhere.empty()) sql += " WHERE " + m_sWhere;
    if (!count && !m_sOrderBy.empty()) sql += " ORDER BY " + m_sOrderBy;
    return sql;
}

int DBtable::prepareTable(const std::shared_ptr<DBConnection>& conn, const std::string& sql, DBStatement& stmt)
{
    int rc = stmt.prepare(conn, sql, m_sName.c_str());
    if (rc == 0 && stmt.get() == nullptr) rc = SQLITE_MISUSE;
    return rc;
}

// The arguments of a registered statement: the bound inputs, or the values
// formatted into the text.
void DBtable::registeredArguments(std::vector<DBArgument>& args) const
{
    if (inputsBound == 0 && m_inputs.empty()) {
        args = m_args;
        return;
    }
    for (ZXDBDataTypeBase* input : m_inputs) {
        DBArgument a{DBArgument::NUL, 0, 0.0, std::string()};
        if (!input->isNull) {
            input->setString();
            const std::string& text = input->getStr();
            switch (input->getDataType()) {
            case DB_COL_INT32:
                a.kind = DBArgument::INT;
                a.i = std::strtoll(text.c_str(), nullptr, 10);
                break;
            case DB_COL_INT64:
                a.kind = DBArgument::INT64;
                a.i = std::strtoll(text.c_str(), nullptr, 10);
                break;
            default:
                a.kind = DBArgument::TEXT;
                a.s = text;
                break;
            }
        }
        args.push_back(a);
    }
}

int DBtable::start()
{
    dataBindClearFirstTime();
    if (objectKind == 1 && m_nWhereError != 0) return m_nWhereError;
    std::shared_ptr<DBConnection> conn;
    int rc = connection(conn);
    if (rc != 0) return rc;
    std::unique_ptr<Statement> run(new Statement);

    if (objectKind == 1) {
        rc = prepareTable(conn, tableSelectText(false), run->lease);
        if (rc == 0) rc = dbBindArguments(run->stmt(), m_whereArgs);
        if (rc == 0) m_pStmt = std::move(run);
        return rc;
    }

    DBStatementRegistry::Entry entry;
    if (!DBStatementRegistry::lookup(m_sName, entry)) {
        log_error(kSourceFile, __LINE__, "No statement is registered for %s", m_sName.c_str());
        return SQLITE_ERROR;
    }
    std::vector<DBArgument>& args = run->args;
    registeredArguments(args);
    std::string sql = std::move(entry.sql);
    if (entry.textArgument > 0) {
        size_t n = 0;
        sql.clear();
        for (const DBArgument& a : args) {
            if (a.kind == DBArgument::TEXT && ++n == static_cast<size_t>(entry.textArgument)) {
                sql = a.s;
                break;
            }
        }
        args.clear();
    }

    // Every statement but the last runs to its end; the last delivers rows.
    std::string_view rest(sql);
    while (true) {
        rc = run->lease.prepare(conn, rest, m_sName.c_str());
        if (rc != 0) return rc;
        if (run->stmt() == nullptr) break;  // only blanks or comments left
        rc = dbBindArguments(run->stmt(), args);
        if (rc != 0) return rc;
        if (run->lease.last()) {
            m_pStmt = std::move(run);
            return 0;
        }
        rest.remove_prefix(run->lease.used());
        {
            DBWriteTurn turn(*conn, run->stmt());
            if (!turn.granted()) return SQLITE_BUSY;
            while ((rc = sqlite3_step(run->stmt())) == SQLITE_ROW) {
            }
        }
        if (rc != SQLITE_DONE) {
            rc = dbErrorCode(*conn, rc);
            log_error(kSourceFile, __LINE__, "%s: %s", m_sName.c_str(), sqlite3_errmsg(conn->db));
            return rc;
        }
        run->lease.release();
    }
    log_error(kSourceFile, __LINE__, "%s: the statement is empty", m_sName.c_str());
    return SQLITE_ERROR;
}

int DBtable::step()
{
    if (m_bDone) return DB_NO_MORE_ROWS;
    if (!m_pStmt) {
        int rc = start();
        if (rc != 0) return rc;
    }
    int rc = sqlite3_step(m_pStmt->stmt());
    if (rc == SQLITE_ROW) {
        deliverRow();
        return DB_ROW_OK;
    }
    if (rc == SQLITE_DONE) {
        m_pStmt.reset();
        m_bDone = true;
        return DB_NO_MORE_ROWS;
    }
    int code = dbErrorCode(m_pStmt->conn(), rc);
    log_error(kSourceFile, __LINE__, "%s: %s", m_sName.c_str(), sqlite3_errmsg(m_pStmt->conn().db));
    m_pStmt.reset();
    return code;
}

void DBtable::deliverRow()
{
    sqlite3_stmt* stmt = m_pStmt->stmt();
    int columns = sqlite3_column_count(stmt);
    long long* indicators = static_cast<long long*>(m_oConnObject.getExtIndicatorArray());
    char* row = static_cast<char*>(m_pRowData);
    DBRowLock lock(stmt);
    for (size_t i = 0; i < m_layout.size() && row != nullptr; ++i) {
        const DBColumnBinding& col = m_layout[i];
        const int c = static_cast<int>(i);
        long long length = c < columns ? dbReadColumn(stmt, c, col.type, col.size, row + col.offset)
                                       : dbReadColumn(nullptr, c, col.type, col.size, row + col.offset);
        if (indicators != nullptr) indicators[i] = length;
    }
    // The key of the row, for rowUpdate.
    if (objectKind == 1 && keyColumn != nullptr) {
        if (m_nKeyIndex == kKeyUnknown) {
            m_nKeyIndex = kNoKey;
            std::vector<std::string> names = splitColumns(columnList);
            for (size_t i = 0; i < names.size(); ++i)
                if (sqlite3_stricmp(names[i].c_str(), keyColumn) == 0) {
                    m_nKeyIndex = static_cast<int>(i);
                    break;
                }
        }
        if (m_nKeyIndex >= 0 && m_nKeyIndex < columns) {
            m_llLastKey = sqlite3_column_int64(stmt, m_nKeyIndex);
            m_bHaveKey = true;
        }
    }
}

int DBtable::nextRow()
{
    int fault = HostDBFaults::check("fetch");
    if (fault != 0) return fault;
    return step();
}

int DBtable::oneRow()
{
    int fault = HostDBFaults::check("fetch");
    if (fault != 0) return fault;
    resetStatement();
    int rc = step();
    if (rc != DB_ROW_OK) {
        resetStatement();
        return rc;
    }
    // Look for a second row without touching the bound row.
    int second = sqlite3_step(m_pStmt->stmt());
    int result = DB_ROW_OK;
    if (second == SQLITE_ROW)
        result = DB_MORE_THAN_ONE_ROW;
    else if (second != SQLITE_DONE)
        result = dbErrorCode(m_pStmt->conn(), second);
    resetStatement();
    return result;
}

int DBtable::openCursor()
{
    int fault = HostDBFaults::check("fetch");
    if (fault != 0) return fault;
    return start();
}

int DBtable::fetchCursor(bool)
{
    int fault = HostDBFaults::check("fetch");
    if (fault != 0) return fault;
    return step();
}

int DBtable::closeCursor()
{
    resetStatement();
    return 0;
}

void DBtable::argumentsOfRow(std::vector<DBArgument>& args, bool skipKey, std::vector<std::string>& names)
{
    std::vector<std::string> all = splitColumns(columnList);
    const char* row = static_cast<const char*>(boundRow != nullptr ? boundRow : m_pRowData);
    for (size_t i = 0; i < all.size() && i < m_layout.size() && row != nullptr; ++i) {
        if (skipKey && keyColumn != nullptr && sqlite3_stricmp(all[i].c_str(), keyColumn) == 0) continue;
        const DBColumnBinding& col = m_layout[i];
        args.push_back(dbFieldArgument(col.type, col.size, row + col.offset));
        names.push_back(all[i]);
    }
}

int DBtable::runTableWrite(const std::string& sql, const std::vector<DBArgument>& args, long long* newId)
{
    std::shared_ptr<DBConnection> conn;
    int rc = connection(conn);
    if (rc != 0) return rc;
    DBStatement lease;
    rc = prepareTable(conn, sql, lease);
    if (rc != 0) return rc;
    sqlite3_stmt* stmt = lease.get();
    rc = dbBindArguments(stmt, args);
    if (rc == 0) {
        DBWriteTurn turn(*conn, stmt);
        rc = turn.granted() ? sqlite3_step(stmt) : SQLITE_BUSY;
        if (rc == SQLITE_DONE) {
            rc = sqlite3_changes(conn->db) > 0 ? 0 : DB_NO_MORE_ROWS;
            if (newId != nullptr) *newId = sqlite3_last_insert_rowid(conn->db);
        } else {
            rc = dbErrorCode(*conn, rc);
            log_error(kSourceFile, __LINE__, "%s: %s", m_sName.c_str(), sqlite3_errmsg(conn->db));
        }
    }
    return rc;
}

int DBtable::rowInsert(bool)
{
    std::vector<DBArgument> args;
    std::vector<std::string> names;
    argumentsOfRow(args, true, names);
    if (names.empty()) return SQLITE_ERROR;
    std::string sql = "INSERT INTO " + m_sName + " (";
    std::string values;
    for (size_t i = 0; i < names.size(); ++i) {
        sql += (i ? ", " : "") + names[i];
        values += (i ? ", ?" : "?") + std::to_string(i + 1);
    }
    sql += ") VALUES (" + values + ")";
    long long id = 0;
    int rc = runTableWrite(sql, args, &id);
    if (rc == 0 && keyColumn != nullptr) {
        // The new identity goes into the key column of the row.
        std::vector<std::string> all = splitColumns(columnList);
        char* row = static_cast<char*>(boundRow != nullptr ? boundRow : m_pRowData);
        for (size_t i = 0; i < all.size() && i < m_layout.size() && row != nullptr; ++i) {
            if (sqlite3_stricmp(all[i].c_str(), keyColumn) == 0) dbStoreIdentity(m_layout[i].type, row + m_layout[i].offset, id);
        }
    }
    return rc;
}

int DBtable::rowUpdate(const char* format, ...)
{
    if (!m_bHaveKey || keyColumn == nullptr) return DB_NO_MORE_ROWS;
    std::string sql = "UPDATE " + m_sName + " SET ";
    std::vector<DBArgument> args;
    if (format == nullptr) {
        std::vector<std::string> names;
        argumentsOfRow(args, true, names);
        if (names.empty()) return SQLITE_ERROR;
        for (size_t i = 0; i < names.size(); ++i)
            sql += (i ? ", " : "") + names[i] + " = ?" + std::to_string(i + 1);
    } else {
        va_list ap;
        va_start(ap, format);
        std::string set;
        std::string refusal;
        bool ok = dbClauseOfFormat(format, ap, 1, set, args, refusal);
        va_end(ap);
        if (!ok) {
            log_error(kSourceFile, __LINE__, "%s: SET clause \"%s\" refused: %s", m_sName.c_str(), format, refusal.c_str());
            return SQLITE_MISUSE;
        }
        sql += set;
    }
    sql += " WHERE " + std::string(keyColumn) + " = ?" + std::to_string(args.size() + 1);
    DBArgument key{DBArgument::INT64, m_llLastKey, 0.0, std::string()};
    args.push_back(key);
    return runTableWrite(sql, args, nullptr);
}

int DBtable::getRowsInTable(int* count, bool)
{
    if (m_nWhereError != 0) return m_nWhereError;
    std::shared_ptr<DBConnection> conn;
    int rc = connection(conn);
    if (rc != 0) return rc;
    DBStatement lease;
    rc = prepareTable(conn, tableSelectText(true), lease);
    if (rc != 0) return rc;
    sqlite3_stmt* stmt = lease.get();
    rc = dbBindArguments(stmt, m_whereArgs);
    if (rc == 0) rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW) {
        int rows = sqlite3_column_int(stmt, 0);
        if (count != nullptr) *count = rows;
        rc = rows > 0 ? 0 : DB_NO_MORE_ROWS;  // 100 when no row matches
    } else {
        rc = dbErrorCode(*conn, rc);
    }
    return rc;
}

int DBtable::setWhere(const char* format, ...)
{
    resetStatement();
    va_list ap;
    va_start(ap, format);
    std::string refusal;
    bool ok = dbClauseOfFormat(format, ap, 1, m_sWhere, m_whereArgs, refusal);
    va_end(ap);
    m_nWhereError = ok ? 0 : SQLITE_MISUSE;
    if (!ok) log_error(kSourceFile, __LINE__, "%s: where clause \"%s\" refused: %s", m_sName.c_str(), format, refusal.c_str());
    return m_nWhereError;
}

int DBtable::setOrderBy(const char* orderBy)
{
    resetStatement();
    m_sOrderBy = orderBy != nullptr ? orderBy : "";
    return 0;
}

const char* DBtable::getErrorStr(int code)
{
    switch (code) {
    case DB_ROW_OK:
        return "Success";
    case DB_NO_MORE_ROWS:
        return "No (more) rows";
    case DB_MORE_THAN_ONE_ROW:
        return "More than one row";
    default:
        return sqlite3_errstr(code);
    }
}

int dbBindArguments(sqlite3_stmt* stmt, const std::vector<DBArgument>& args)
{
    int count = sqlite3_bind_parameter_count(stmt);
    for (int i = 1; i <= count; ++i) {
        int rc = SQLITE_OK;
        if (static_cast<size_t>(i) > args.size()) {
            rc = sqlite3_bind_null(stmt, i);
        } else {
            const DBArgument& a = args[static_cast<size_t>(i) - 1];
            switch (a.kind) {
            case DBArgument::INT:
            case DBArgument::INT64:
                rc = sqlite3_bind_int64(stmt, i, a.i);
                break;
            case DBArgument::TEXT:
                rc = sqlite3_bind_text(stmt, i, a.s.c_str(), static_cast<int>(a.s.size()), SQLITE_STATIC);
                break;
            case DBArgument::REAL:
                rc = sqlite3_bind_double(stmt, i, a.d);
                break;
            case DBArgument::NUL:
                rc = sqlite3_bind_null(stmt, i);
                break;
            }
        }
        if (rc != SQLITE_OK) return rc;
    }
    return 0;
}

long long dbReadColumn(sqlite3_stmt* stmt, int column, DBColumnType type, size_t size, char* field)
{
    // The value itself is read without the connection's mutex, which the
    // caller holds. A value read as 0 or as no text may be a null.
    sqlite3_value* value = stmt != nullptr ? sqlite3_column_value(stmt, column) : nullptr;
    switch (type) {
    case DB_COL_INT32: {
        int v = value != nullptr ? sqlite3_value_int(value) : 0;
        std::memcpy(field, &v, sizeof(v));
        if (v == 0 && (value == nullptr || sqlite3_value_type(value) == SQLITE_NULL)) return -1;
        return static_cast<long long>(sizeof(v));
    }
    case DB_COL_INT64: {
        long long v = value != nullptr ? sqlite3_value_int64(value) : 0;
        std::memcpy(field, &v, sizeof(v));
        if (v == 0 && (value == nullptr || sqlite3_value_type(value) == SQLITE_NULL)) return -1;
        return static_cast<long long>(sizeof(v));
    }
    case DB_COL_TEXT: {
        if (size == 0) break;
        const unsigned char* text = value != nullptr ? sqlite3_value_text(value) : nullptr;
        size_t n = 0;
        if (text != nullptr) {
            int bytes = sqlite3_value_bytes(value);
            n = bytes > 0 ? static_cast<size_t>(bytes) : 0;
            if (n > size - 1) n = size - 1;
            if (n > 0) std::memcpy(field, text, n);
        }
        field[n] = '\0';
        return text != nullptr ? static_cast<long long>(n) : -1;
    }
    case DB_COL_HEAP_TEXT: {
        char* old = nullptr;
        std::memcpy(&old, field, sizeof(old));
        delete[] old;
        const unsigned char* stored = value != nullptr ? sqlite3_value_text(value) : nullptr;
        char* text = nullptr;
        size_t n = 0;
        if (stored != nullptr) {
            int bytes = sqlite3_value_bytes(value);
            n = bytes > 0 ? static_cast<size_t>(bytes) : 0;
            text = new char[n + 1];
            if (n > 0) std::memcpy(text, stored, n);
            text[n] = '\0';
        }
        std::memcpy(field, &text, sizeof(text));
        return text != nullptr ? static_cast<long long>(n) : -1;
    }
    }
    return -1;
}

int dbBindField(sqlite3_stmt* stmt, int i, DBColumnType type, size_t size, const char* field)
{
    if (type == DB_COL_INT32) {
        int v;
        std::memcpy(&v, field, sizeof(v));
        return sqlite3_bind_int(stmt, i, v);
    }
    if (type == DB_COL_INT64) {
        long long v;
        std::memcpy(&v, field, sizeof(v));
        return sqlite3_bind_int64(stmt, i, v);
    }
    if (type == DB_COL_HEAP_TEXT) {
        // Bound as the server stores it: a text of its own, copied.
        DBArgument a = dbFieldArgument(type, size, field);
        if (a.kind == DBArgument::NUL) return sqlite3_bind_null(stmt, i);
        return sqlite3_bind_text(stmt, i, a.s.c_str(), static_cast<int>(a.s.size()), SQLITE_TRANSIENT);
    }
    return sqlite3_bind_text(stmt, i, field, static_cast<int>(strnlen(field, size)), SQLITE_STATIC);
}

DBArgument dbFieldArgument(DBColumnType type, size_t size, const char* field)
{
    DBArgument a{DBArgument::INT, 0, 0.0, std::string()};
    if (type == DB_COL_INT32) {
        int v;
        std::memcpy(&v, field, sizeof(v));
        a.i = v;
    } else if (type == DB_COL_INT64) {
        long long v;
        std::memcpy(&v, field, sizeof(v));
        a.kind = DBArgument::INT64;
        a.i = v;
    } else if (type == DB_COL_HEAP_TEXT) {
        const char* text = nullptr;
        std::memcpy(&text, field, sizeof(text));
        a.kind = text != nullptr ? DBArgument::TEXT : DBArgument::NUL;
        if (text != nullptr) {
            // The server stores a long text value as it reads it.
            DBServerText::recordSent(text);
            a.s = DBServerText::read(text);
        }
    } else {
        a.kind = DBArgument::TEXT;
        a.s.assign(field, strnlen(field, size));
    }
    return a;
}

void dbStoreIdentity(DBColumnType type, char* field, long long id)
{
    if (type == DB_COL_INT32) {
        int v = static_cast<int>(id);
        std::memcpy(field, &v, sizeof(v));
    } else if (type == DB_COL_INT64) {
        std::memcpy(field, &id, sizeof(id));
    }
}

int getNextRow(DBtable* table, int* count, int, int)
{
    if (table == nullptr) return SQLITE_MISUSE;
    int rc = table->nextRow();
    if (rc == DB_ROW_OK && count != nullptr) ++*count;
    return rc;
}

int getOneRow(DBtable* table, bool, int, int)
{
    if (table == nullptr) return SQLITE_MISUSE;
    return table->oneRow();
}

void log_error(const char* file, int line, const char* format, ...)
{
    char text[4096];
    text[0] = '\0';
    if (format != nullptr) {
        va_list ap;
        va_start(ap, format);
        std::vsnprintf(text, sizeof(text), format, ap);
        va_end(ap);
    }
    std::string entry = std::string(file != nullptr ? file : "") + "[" + std::to_string(line) + "] -> " + text + "\n";
    EvDebug().debug(entry.c_str());
}
