// The entity table operations built from a table's description: lists read by one
// run of their statement and kept packed until their number is known, rows
// read one by one, counts, and the writes.
#include "host/db/CRepTableDB.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "host/db/DBConnection.h"
#include "host/db/DBFormat.h"
#include "host/db/DBLongText.h"

namespace {

const char kSourceFile[] = "CRepTableDB";

bool isBlank(const char* text)
{
    if (text == nullptr) return true;
    for (; *text != '\0'; ++text)
        if (*text != ' ' && *text != '\t' && *text != '\r' && *text != '\n') return false;
    return true;
}

// The statement texts of a table that do not depend on a call, made once.
struct TableTexts {
    std::string select;  // "SELECT <columns> FROM <table>"
    std::string insert;  // "INSERT INTO <table> (<columns but the identity>) VALUES (?1, ...)"
    // "SELECT <columns, typeof(<heap text>) in place of each heap text>,
    // rowid FROM <table>"
    std::string selectTextTypes;
};

const TableTexts& textsOf(const DBEntityTable& table)
{
    static std::mutex mutex;
    static std::unordered_map<const DBEntityTable*, TableTexts> made;
    std::lock_guard<std::mutex> guard(mutex);
    auto it = made.find(&table);
    if (it != made.end()) return it->second;
    TableTexts& texts = made[&table];
    std::string all;
    std::string typed;
    std::string names;
    std::string values;
    int n = 0;
    for (size_t i = 0; i < table.count; ++i) {
        const DBEntityColumn& col = table.columns[i];
        all += (i ? ", " : "") + std::string(col.name);
        typed += (i ? ", " : "") + (col.type == DB_COL_HEAP_TEXT ? "typeof(" + std::string(col.name) + ")" : col.name);
        if (col.identity) continue;
        names += (n ? ", " : "") + std::string(col.name);
        values += (n ? ", ?" : "?") + std::to_string(n + 1);
        ++n;
    }
    texts.select = "SELECT " + all + " FROM " + table.name;
    texts.selectTextTypes = "SELECT " + typed + ", rowid FROM " + table.name;
    texts.insert = "INSERT INTO " + std::string(table.name) + " (" + names + ") VALUES (" + values + ")";
    return texts;
}

void readRow(const DBEntityTable& table, sqlite3_stmt* stmt, void* row)
{
    char* base = static_cast<char*>(row);
    int columns = sqlite3_column_count(stmt);
    DBRowLock lock(stmt);
    for (size_t i = 0; i < table.count && static_cast<int>(i) < columns; ++i) {
        const DBEntityColumn& col = table.columns[i];
        dbReadColumn(stmt, static_cast<int>(i), col.type, col.size, base + col.offset);
    }
}

// The rows of one read held by what they hold until the read is done: each
// number in its bytes, each text as its length and its characters (a text
// longer than its field cut to the field, a null heap text as the length
// kNull), row after row in blocks that never move.
class PackedRows {
public:
    explicit PackedRows(const DBEntityTable& table) : m_table(table) {}

    // Keeps the statement's current row.
    void add(sqlite3_stmt* stmt)
    {
        const size_t columns = std::min(m_table.count, static_cast<size_t>(sqlite3_column_count(stmt)));
        m_columns = columns;
        m_values.resize(columns);
        DBRowLock lock(stmt);
        // The values first, to know the room the row takes.
        size_t bytes = 0;
        for (size_t i = 0; i < columns; ++i) {
            Value& v = m_values[i];
            const DBEntityColumn& col = m_table.columns[i];
            sqlite3_value* value = sqlite3_column_value(stmt, static_cast<int>(i));
            switch (col.type) {
            case DB_COL_INT32:
                v.number = sqlite3_value_int(value);
                bytes += sizeof(int32_t);
                break;
            case DB_COL_INT64:
                v.number = sqlite3_value_int64(value);
                bytes += sizeof(int64_t);
                break;
            case DB_COL_TEXT:
            case DB_COL_HEAP_TEXT: {
                v.text = sqlite3_value_text(value);
                size_t n = v.text != nullptr ? static_cast<size_t>(sqlite3_value_bytes(value)) : 0;
                if (col.type == DB_COL_TEXT) n = col.size == 0 ? 0 : std::min(n, col.size - 1);
                v.length = v.text == nullptr && col.type == DB_COL_HEAP_TEXT ? kNull : static_cast<uint32_t>(n);
                bytes += sizeof(uint32_t) + n;
                break;
            }
            }
        }
        char* at = room(bytes);
        for (size_t i = 0; i < columns; ++i) {
            const Value& v = m_values[i];
            switch (m_table.columns[i].type) {
            case DB_COL_INT32: {
                const int32_t n = static_cast<int32_t>(v.number);
                std::memcpy(at, &n, sizeof n);
                at += sizeof n;
                break;
            }
            case DB_COL_INT64:
                std::memcpy(at, &v.number, sizeof v.number);
                at += sizeof v.number;
                break;
            case DB_COL_TEXT:
            case DB_COL_HEAP_TEXT:
                std::memcpy(at, &v.length, sizeof v.length);
                at += sizeof v.length;
                if (v.length != kNull && v.length > 0) {
                    std::memcpy(at, v.text, v.length);
                    at += v.length;
                }
                break;
            }
        }
        ++m_rows;
    }

    size_t size() const { return m_rows; }

    // Puts each row in order into the sink, every column of it; each block
    // is freed once its rows are out.
    void unpack(const CRepTableCore::ListSink& sink)
    {
        size_t i = 0;
        for (Block& block : m_blocks) {
            const char* at = block.bytes.get();
            const char* end = at + block.used;
            while (at < end) {
                char* row = static_cast<char*>(sink.rowAt(i));
                for (size_t c = 0; c < m_columns; ++c) at = unpackColumn(m_table.columns[c], at, row);
                sink.done(i++);
            }
            block.bytes.reset();
        }
        m_blocks.clear();
        m_rows = 0;
    }

private:
    static constexpr uint32_t kNull = 0xffffffffu;
    static constexpr size_t kBlockBytes = 65536;

    struct Block {
        std::unique_ptr<char[]> bytes;
        size_t size = 0;
        size_t used = 0;
    };
    // One column of the row being kept, as read.
    struct Value {
        int64_t number = 0;
        const unsigned char* text = nullptr;
        uint32_t length = 0;
    };

    static const char* unpackColumn(const DBEntityColumn& col, const char* at, char* row)
    {
        char* field = row + col.offset;
        switch (col.type) {
        case DB_COL_INT32:
            std::memcpy(field, at, sizeof(int32_t));
            return at + sizeof(int32_t);
        case DB_COL_INT64:
            std::memcpy(field, at, sizeof(int64_t));
            return at + sizeof(int64_t);
        case DB_COL_TEXT: {
            uint32_t n = 0;
            std::memcpy(&n, at, sizeof n);
            at += sizeof n;
            if (col.size == 0) return at + n;
            std::memcpy(field, at, n);
            field[n] = '\0';
            return at + n;
        }
        case DB_COL_HEAP_TEXT: {
            uint32_t n = 0;
            std::memcpy(&n, at, sizeof n);
            at += sizeof n;
            char* old = nullptr;
            std::memcpy(&old, field, sizeof old);
            delete[] old;
            char* text = nullptr;
            if (n != kNull) {
                text = new char[n + 1];
                std::memcpy(text, at, n);
                text[n] = '\0';
                at += n;
            }
            std::memcpy(field, &text, sizeof text);
            return at;
        }
        }
        return at;
    }

    // Room for a row of `bytes` at the end of the last block, or in a new one.
    char* room(size_t bytes)
    {
        if (m_blocks.empty() || m_blocks.back().size - m_blocks.back().used < bytes) {
            Block block;
            block.size = std::max(kBlockBytes, bytes);
            block.bytes.reset(new char[block.size]);
            m_blocks.push_back(std::move(block));
        }
        Block& last = m_blocks.back();
        char* at = last.bytes.get() + last.used;
        last.used += bytes;
        return at;
    }

    const DBEntityTable& m_table;
    size_t m_columns = 0;
    size_t m_rows = 0;
    std::vector<Block> m_blocks;
    std::vector<Value> m_values;
};

// Borrows the statement of sql on the connection of tran and binds the
// arguments.
int prepare(DBtran* tran, const std::string& sql, const std::vector<DBArgument>& args, DBStatement& stmt)
{
    std::shared_ptr<DBConnection> conn;
    int rc = dbStatementConnection(tran, conn);
    if (rc == 0) rc = stmt.prepare(conn, sql, kSourceFile);
    if (rc == 0 && stmt.get() == nullptr) rc = SQLITE_MISUSE;
    if (rc == 0) rc = dbBindArguments(stmt.get(), args);
    if (rc != 0) stmt.release();
    return rc;
}

// The clause with its values as parameters from ?first on; empty for a blank
// clause.
std::string clauseOf(const char* where, int first, std::vector<DBArgument>& args)
{
    std::string clause;
    if (!isBlank(where)) dbLiftLiterals(where, first, clause, args);
    return clause;
}

// " WHERE " and the clause as clauseOf makes it; nothing for a blank clause.
std::string whereOf(const char* where, int first, std::vector<DBArgument>& args)
{
    if (isBlank(where)) return std::string();
    return " WHERE " + clauseOf(where, first, args);
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

bool CRepTableCore::outOfMemory()
{
    return fail(SQLITE_NOMEM);
}

bool CRepTableCore::readEachWhere(const char* where, const char* orderBy, size_t limit, DBtran* tran, void* row,
                                  const std::function<void()>& take)
{
    std::vector<DBArgument> args;
    const std::string clause = clauseOf(where, 1, args);
    return readEach(clause.c_str(), args, orderBy, limit, tran, row, take);
}

int CRepTableCore::startRead(const char* clause, const std::vector<DBArgument>& args, const char* orderBy,
                             size_t limit, DBtran* tran, DBStatement& reader) const
{
    // Composed in the thread's own text, which keeps its room from one read
    // to the next.
    thread_local std::string sql;
    sql = textsOf(m_table).select;
    if (!isBlank(clause)) {
        sql += " WHERE ";
        sql += clause;
    }
    if (!isBlank(orderBy)) {
        sql += " ORDER BY ";
        sql += orderBy;
    }
    if (limit > 0) {
        sql += " LIMIT ";
        sql += std::to_string(limit);
    }
    return prepare(tran, sql, args, reader);
}

bool CRepTableCore::readEach(const char* clause, const std::vector<DBArgument>& args, const char* orderBy,
                             size_t limit, DBtran* tran, void* row, const std::function<void()>& take)
{
    int fault = HostDBFaults::check("getList");
    if (fault != 0) return fail(fault);
    DBStatement reader;
    int rc = startRead(clause, args, orderBy, limit, tran, reader);
    if (rc != 0) return fail(rc);
    while ((rc = sqlite3_step(reader.get())) == SQLITE_ROW) {
        readRow(m_table, reader.get(), row);
        take();
    }
    if (rc != SQLITE_DONE) return fail(dbErrorCode(reader.connection(), rc));
    return finish(0);
}

bool CRepTableCore::readAllWhere(const char* where, const char* orderBy, DBtran* tran, const ListSink& sink)
{
    std::vector<DBArgument> args;
    const std::string clause = clauseOf(where, 1, args);
    return readAll(clause.c_str(), args, orderBy, tran, sink);
}

bool CRepTableCore::readAll(const char* clause, const std::vector<DBArgument>& args, const char* orderBy,
                            DBtran* tran, const ListSink& sink)
{
    int fault = HostDBFaults::check("getList");
    if (fault != 0) return fail(fault);
    PackedRows rows(m_table);
    {
        DBStatement reader;
        int rc = startRead(clause, args, orderBy, 0, tran, reader);
        if (rc != 0) return fail(rc);
        while ((rc = sqlite3_step(reader.get())) == SQLITE_ROW) rows.add(reader.get());
        if (rc != SQLITE_DONE) return fail(dbErrorCode(reader.connection(), rc));
    }
    if (!sink.room(rows.size())) return outOfMemory();
    rows.unpack(sink);
    return finish(0);
}

bool CRepTableCore::countEach(const char* column, const char* where, DBtran* tran,
                              const std::function<void(long long, unsigned int)>& take)
{
    int fault = HostDBFaults::check("getNRows");
    if (fault != 0) return fail(fault);
    std::vector<DBArgument> args;
    std::string sql = "SELECT " + std::string(column) + ", COUNT(*) FROM " + m_table.name + whereOf(where, 1, args) +
                      " GROUP BY " + column + " ORDER BY " + column;
    DBStatement counter;
    int rc = prepare(tran, sql, args, counter);
    if (rc != 0) return fail(rc);
    while ((rc = sqlite3_step(counter.get())) == SQLITE_ROW)
        take(sqlite3_column_int64(counter.get(), 0), static_cast<unsigned int>(sqlite3_column_int64(counter.get(), 1)));
    if (rc != SQLITE_DONE) return fail(dbErrorCode(counter.connection(), rc));
    return finish(0);
}

bool CRepTableCore::selectByKey(int key, void* row, DBtran* tran)
{
    int fault = HostDBFaults::check("getInfo");
    if (fault != 0) return fail(fault);
    const DBEntityColumn* keyCol = keyColumn();
    if (keyCol == nullptr) return fail(SQLITE_MISUSE);
    std::string sql = textsOf(m_table).select + " WHERE " + keyCol->name + " = ?1";
    DBStatement stmt;
    int rc = prepare(tran, sql, {DBArgument{DBArgument::INT, key, 0.0, std::string()}}, stmt);
    if (rc != 0) return fail(rc);
    rc = sqlite3_step(stmt.get());
    if (rc == SQLITE_ROW) {
        readRow(m_table, stmt.get(), row);
        rc = 0;
    } else if (rc == SQLITE_DONE) {
        rc = DB_NO_MORE_ROWS;
    } else {
        rc = dbErrorCode(stmt.connection(), rc);
    }
    return finish(rc);
}

bool CRepTableCore::selectByKeyWithText(int key, void* row, const std::function<char*(size_t)>& allocate, char*& text,
                                        size_t& length, DBtran* tran)
{
    text = nullptr;
    length = 0;
    int fault = HostDBFaults::check("getInfo");
    if (fault != 0) return fail(fault);
    const DBEntityColumn* keyCol = keyColumn();
    const DBEntityColumn* textCol = nullptr;
    for (size_t i = 0; i < m_table.count && textCol == nullptr; ++i)
        if (m_table.columns[i].type == DB_COL_HEAP_TEXT) textCol = &m_table.columns[i];
    if (keyCol == nullptr || textCol == nullptr) return fail(SQLITE_MISUSE);
    std::string sql = textsOf(m_table).selectTextTypes + " WHERE " + keyCol->name + " = ?1";
    DBStatement stmt;
    int rc = prepare(tran, sql, {DBArgument{DBArgument::INT, key, 0.0, std::string()}}, stmt);
    if (rc != 0) return fail(rc);
    rc = sqlite3_step(stmt.get());
    if (rc == SQLITE_DONE) return finish(DB_NO_MORE_ROWS);
    if (rc != SQLITE_ROW) return fail(dbErrorCode(stmt.connection(), rc));
    // The text is read while the statement holds the row's state of the
    // catalogue.
    bool null = false;
    long long rowid = 0;
    {
        char* base = static_cast<char*>(row);
        DBRowLock lock(stmt.get());
        for (size_t i = 0; i < m_table.count; ++i) {
            const DBEntityColumn& col = m_table.columns[i];
            if (&col == textCol) {
                const unsigned char* type = sqlite3_column_text(stmt.get(), static_cast<int>(i));
                null = type != nullptr && std::strcmp(reinterpret_cast<const char*>(type), "null") == 0;
            } else if (col.type != DB_COL_HEAP_TEXT)
                dbReadColumn(stmt.get(), static_cast<int>(i), col.type, col.size, base + col.offset);
        }
        rowid = sqlite3_column_int64(stmt.get(), static_cast<int>(m_table.count));
    }
    if (null) return finish(0);
    return finish(dbReadLongText(stmt.connection(), m_table.name, textCol->name, rowid, allocate, text, length));
}

bool CRepTableCore::countRows(const char* where, unsigned int& count, DBtran* tran)
{
    count = 0;
    int fault = HostDBFaults::check("getNRows");
    if (fault != 0) return fail(fault);
    std::vector<DBArgument> args;
    std::string sql = "SELECT COUNT(*) FROM " + std::string(m_table.name) + whereOf(where, 1, args);
    DBStatement stmt;
    int rc = prepare(tran, sql, args, stmt);
    if (rc != 0) return fail(rc);
    rc = sqlite3_step(stmt.get());
    if (rc == SQLITE_ROW) {
        count = static_cast<unsigned int>(sqlite3_column_int64(stmt.get(), 0));
        rc = 0;
    } else {
        rc = dbErrorCode(stmt.connection(), rc);
    }
    return finish(rc);
}

bool CRepTableCore::insertRow(void* row, DBtran* tran)
{
    int fault = HostDBFaults::check("insert");
    if (fault != 0) return fail(fault);
    DBStatement stmt;
    int rc = prepare(tran, textsOf(m_table).insert, {}, stmt);
    if (rc != 0) return fail(rc);
    // The fields are bound where they lie in the row; the long texts are
    // written into the row once it is in, in a savepoint with the insert.
    const DBEntityColumn* identity = nullptr;
    DBLongTexts longTexts;
    int n = 0;
    for (size_t i = 0; i < m_table.count && rc == 0; ++i) {
        const DBEntityColumn& col = m_table.columns[i];
        const char* field = static_cast<const char*>(row) + col.offset;
        if (col.identity)
            identity = &col;
        else if (col.type == DB_COL_HEAP_TEXT)
            rc = longTexts.bind(stmt.get(), ++n, col, field);
        else
            rc = dbBindField(stmt.get(), ++n, col.type, col.size, field);
    }
    DBConnection& conn = stmt.connection();
    long long rowid = 0;
    if (rc == 0) {
        DBWriteTurn turn(conn, stmt.get());
        std::optional<DBSavepoint> together;
        if (!turn.granted()) {
            rc = SQLITE_BUSY;
        } else if (!longTexts.empty()) {
            together.emplace(conn);
            rc = together->begun();
        }
        if (rc == 0) {
            rc = sqlite3_step(stmt.get());
            rc = rc == SQLITE_DONE ? 0 : dbErrorCode(conn, rc);
        }
        if (rc == 0) rowid = sqlite3_last_insert_rowid(conn.db);
        if (rc == 0 && !longTexts.empty()) rc = longTexts.write(conn, m_table.name, rowid);
        if (rc == 0 && together) rc = together->release();
    }
    if (rc == 0 && identity != nullptr) dbStoreIdentity(identity->type, static_cast<char*>(row) + identity->offset, rowid);
    if (rc != 0) log_error(kSourceFile, __LINE__, "Insert into %s failed: %s", m_table.name, sqlite3_errmsg(conn.db));
    return finish(rc);
}

bool CRepTableCore::updateRows(const char* set, int key, DBtran* tran)
{
    int fault = HostDBFaults::check("Update");
    if (fault != 0) return fail(fault);
    if (isBlank(set)) return fail(SQLITE_MISUSE);
    std::vector<DBArgument> args;
    std::string clause;
    dbLiftLiterals(set, 1, clause, args);
    return changeRows("UPDATE " + std::string(m_table.name) + " SET " + clause, std::move(args), nullptr, key, true,
                      tran);
}

bool CRepTableCore::updateWhere(const char* set, const char* where, DBtran* tran)
{
    int fault = HostDBFaults::check("Update");
    if (fault != 0) return fail(fault);
    if (isBlank(set)) return fail(SQLITE_MISUSE);
    std::vector<DBArgument> args;
    std::string clause;
    dbLiftLiterals(set, 1, clause, args);
    return changeRows("UPDATE " + std::string(m_table.name) + " SET " + clause, std::move(args), where, 0, false,
                      tran);
}

bool CRepTableCore::removeRows(const char* where, int key, bool byKey, DBtran* tran)
{
    int fault = HostDBFaults::check("remove");
    if (fault != 0) return fail(fault);
    return changeRows("DELETE FROM " + std::string(m_table.name), {}, where, key, byKey, tran);
}

// Runs an UPDATE or DELETE (whose parameters so far are in args) limited to
// the key or to the where clause; a change that touches no row fails with
// 100.
bool CRepTableCore::changeRows(std::string sql, std::vector<DBArgument> args, const char* where, int key, bool byKey,
                               DBtran* tran)
{
    const int next = static_cast<int>(args.size()) + 1;
    if (byKey) {
        const DBEntityColumn* keyCol = keyColumn();
        if (keyCol == nullptr) return fail(SQLITE_MISUSE);
        sql += " WHERE " + std::string(keyCol->name) + " = ?" + std::to_string(next);
        args.push_back(DBArgument{DBArgument::INT, key, 0.0, std::string()});
    } else {
        // A change of every row by mistake is refused.
        if (isBlank(where)) return fail(SQLITE_MISUSE);
        sql += whereOf(where, next, args);
    }
    DBStatement stmt;
    int rc = prepare(tran, sql, args, stmt);
    if (rc != 0) return fail(rc);
    DBConnection& conn = stmt.connection();
    {
        DBWriteTurn turn(conn, stmt.get());
        rc = turn.granted() ? sqlite3_step(stmt.get()) : SQLITE_BUSY;
    }
    if (rc == SQLITE_DONE)
        rc = sqlite3_changes(conn.db) > 0 ? 0 : DB_NO_MORE_ROWS;
    else
        rc = dbErrorCode(conn, rc);
    return finish(rc);
}
