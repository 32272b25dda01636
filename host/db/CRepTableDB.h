// Generic entity table class: every operation is built from a description of
// the table's columns and where they lie in the row structure.
#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "host/db/DBtable.h"

struct DBEntityColumn {
    const char* name;
    DBColumnType type;
    size_t offset;
    size_t size;      // bytes in the row (the char[N] of a text)
    bool key;         // getInfo, Update and remove(id) select by it
    bool identity;    // given by the database on insert
};

struct DBEntityTable {
    const char* name;
    const DBEntityColumn* columns;
    size_t count;
};

// Values appended in blocks that stay where they were made, then moved out
// in order: a list read once grows without moving what it already holds and
// is moved out once, into room of its final size.
template <typename T>
class DBBlockList {
public:
    // A new value at the end, made in its place.
    T& append()
    {
        if (m_blocks.empty() || m_blocks.back().size() == m_blocks.back().capacity()) {
            const size_t last = m_blocks.empty() ? 0 : m_blocks.back().capacity();
            const size_t next = last == 0 ? kFirstBlock : std::max(last, std::min(2 * last, maxBlock()));
            m_blocks.emplace_back();
            m_blocks.back().reserve(next);
        }
        ++m_size;
        return m_blocks.back().emplace_back();
    }
    size_t size() const { return m_size; }
    // Moves every value, in order, to the end of a vector, made room for
    // once; the list is empty afterwards.
    void moveInto(std::vector<T>& out)
    {
        out.reserve(out.size() + m_size);
        drain([&](T&& value) { out.push_back(std::move(value)); });
    }
    // Hands every value, in order, to take(T&&); each block is freed once
    // it has been handed over. The list is empty afterwards.
    template <typename Take>
    void drain(Take&& take)
    {
        for (std::vector<T>& block : m_blocks) {
            for (T& value : block) take(std::move(value));
            std::vector<T>().swap(block);
        }
        m_blocks.clear();
        m_size = 0;
    }

private:
    static constexpr size_t kFirstBlock = 8;
    // Blocks grow to about 64 KB.
    static constexpr size_t maxBlock() { return sizeof(T) >= 8192 ? 8 : 65536 / sizeof(T); }

    std::vector<std::vector<T>> m_blocks;
    size_t m_size = 0;
};

// The table operations on raw rows. Where and SET texts come with their
// values written in (the callers quote texts with SqlEscape); the values are
// bound as parameters, so that the statement of each shape is prepared once
// per connection. Order texts are put in as given.
class CRepTableCore : public CRepBaseDB {
public:
    explicit CRepTableCore(const DBEntityTable& table) : m_nErrorCode(0), m_table(table) {}

    // The last database code after a false return; 100 when no row matched.
    int m_nErrorCode;
    int getErrorCode() const { return m_nErrorCode; }

protected:
    // The one read of the rows under a clause whose values are parameters
    // ?1, ?2 ... bound from args in order (every row when blank), in the
    // order given (none when blank), at most `limit` rows (0: all): each row
    // in turn is read into `row`, every column of it (a text copied by its
    // length), and handed to take() before the next one is read. Fails
    // without reading under the fault "getList".
    bool readEach(const char* clause, const std::vector<DBArgument>& args, const char* orderBy, size_t limit,
                  DBtran* tran, void* row, const std::function<void()>& take);
    // The same under a where text whose values are written in.
    bool readEachWhere(const char* where, const char* orderBy, size_t limit, DBtran* tran, void* row,
                       const std::function<void()>& take);
    // The rows of a where text whose values are written in, counted per
    // value of a column, in ascending order of the value: take(value, count)
    // for each value. Fails without reading under the fault "getNRows".
    bool countEach(const char* column, const char* where, DBtran* tran,
                   const std::function<void(long long, unsigned int)>& take);
    bool selectByKey(int key, void* row, DBtran* tran);
    bool countRows(const char* where, unsigned int& count, DBtran* tran);
    bool insertRow(void* row, DBtran* tran);
    bool updateRows(const char* set, int key, DBtran* tran);
    // The rows of a where clause; an empty where is refused.
    bool updateWhere(const char* set, const char* where, DBtran* tran);
    bool removeRows(const char* where, int key, bool byKey, DBtran* tran);
    // Keeps SQLITE_NOMEM as the code; false.
    bool outOfMemory();

    const DBEntityTable& m_table;

private:
    const DBEntityColumn* keyColumn() const;
    bool changeRows(std::string sql, std::vector<DBArgument> args, const char* where, int key, bool byKey,
                    DBtran* tran);
    bool fail(int code);
    // Keeps the code; true when it is 0.
    bool finish(int code);
};

template <typename Row>
class CRepTableDB : public CRepTableCore {
public:
    explicit CRepTableDB(const DBEntityTable& table) : CRepTableCore(table) {}

    // A new array of the matching rows (null when none), freed with deleteList.
    // An empty where selects every row, an empty order adds no ORDER BY.
    bool getList(Row*& rows, unsigned int& count, const char* where, const char* orderBy, DBtran* tran)
    {
        return list(rows, count, [&](Row& row, const std::function<void()>& take) {
            return readEachWhere(where, orderBy, 0, tran, &row, take);
        });
    }

    // The same with a where clause whose values are parameters ?1, ?2 ...
    // bound from args in order ("SNRVolumeId = ?1"): the clause is taken as
    // it is, not searched for values.
    bool getList(Row*& rows, unsigned int& count, const char* clause, const std::vector<DBArgument>& args,
                 const char* orderBy, DBtran* tran)
    {
        return list(rows, count, [&](Row& row, const std::function<void()>& take) {
            return readEach(clause, args, orderBy, 0, tran, &row, take);
        });
    }

    // The matching rows in the order given, each handed to take(const Row&)
    // as it is read; no row array is made. The row lent is the same one
    // each time, read anew: take keeps what it needs of it.
    template <typename Take>
    bool forEach(const char* where, const char* orderBy, DBtran* tran, Take&& take)
    {
        Row row{};
        return readEachWhere(where, orderBy, 0, tran, &row, [&] { take(static_cast<const Row&>(row)); });
    }
    template <typename Take>
    bool forEach(const char* clause, const std::vector<DBArgument>& args, const char* orderBy, DBtran* tran,
                 Take&& take)
    {
        Row row{};
        return readEach(clause, args, orderBy, 0, tran, &row, [&] { take(static_cast<const Row&>(row)); });
    }

    // The records of the matching rows appended to records in order:
    // convert(Record&, const Row&) fills a new record from each row as the
    // row is read. The records are moved into the list once, at its final
    // size; nothing is appended after a failure.
    template <typename Record, typename Convert>
    bool getList(std::vector<Record>& records, Convert&& convert, const char* where, const char* orderBy,
                 DBtran* tran)
    {
        DBBlockList<Record> read;
        if (!forEach(where, orderBy, tran, [&](const Row& row) { convert(read.append(), row); })) return false;
        read.moveInto(records);
        return true;
    }
    template <typename Record, typename Convert>
    bool getList(std::vector<Record>& records, Convert&& convert, const char* clause,
                 const std::vector<DBArgument>& args, const char* orderBy, DBtran* tran)
    {
        DBBlockList<Record> read;
        if (!forEach(clause, args, orderBy, tran, [&](const Row& row) { convert(read.append(), row); })) return false;
        read.moveInto(records);
        return true;
    }

    // The first matching row in the order given, read alone: true when the
    // read ran, found telling whether a row matched.
    bool getFirst(Row& row, bool& found, const char* where, const char* orderBy, DBtran* tran)
    {
        found = false;
        return readEachWhere(where, orderBy, 1, tran, &row, [&] { found = true; });
    }

    bool getInfo(int id, Row& row, DBtran* tran) { return selectByKey(id, &row, tran); }

    bool getNRows(const char* where, unsigned int& count, DBtran* tran) { return countRows(where, count, tran); }

    // The rows of a where text (as getNRows) counted per value of a column,
    // in ascending order of the value: one pair (value, count) per value,
    // appended to counts.
    bool getNRowsBy(const char* column, const char* where, std::vector<std::pair<long long, unsigned int>>& counts,
                    DBtran* tran)
    {
        return countEach(column, where, tran,
                         [&](long long value, unsigned int count) { counts.emplace_back(value, count); });
    }

    // On success the row's identity column holds the new id.
    bool insert(Row& row, DBtran* tran) { return insertRow(&row, tran); }

    bool Update(int id, const char* setClause, DBtran* tran) { return updateRows(setClause, id, tran); }

    bool remove(int id, DBtran* tran) { return removeRows(nullptr, id, true, tran); }
    bool remove(const char* where, DBtran* tran) { return removeRows(where, 0, false, tran); }

private:
    // Runs read(row, take) once, each row kept in a block list, then made
    // into a new array at its size.
    template <typename Read>
    bool list(Row*& rows, unsigned int& count, Read read)
    {
        rows = nullptr;
        count = 0;
        DBBlockList<Row> kept;
        Row row{};
        if (!read(row, [&] { kept.append() = std::move(row); })) return false;
        if (kept.size() == 0) return true;
        Row* made = new (std::nothrow) Row[kept.size()];
        if (made == nullptr) return outOfMemory();
        size_t i = 0;
        kept.drain([&](Row&& value) { made[i++] = std::move(value); });
        rows = made;
        count = static_cast<unsigned int>(i);
        return true;
    }

};

#define DB_ENTITY_COLUMN(Row, field, type, key, identity) \
    DBEntityColumn { #field, type, offsetof(Row, field), sizeof(Row::field), key, identity }

// The description of a table from its name and its column array.
template <size_t N>
constexpr DBEntityTable dbEntityTable(const char* name, const DBEntityColumn (&columns)[N])
{
    return DBEntityTable{name, columns, N};
}
