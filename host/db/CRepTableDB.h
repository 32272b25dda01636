// Generic entity table class: every operation is built from a description of
// the table's columns and where they lie in the row structure.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "host/db/DBtable.h"

// The code of a read whose caller gave no room for what it read.
const int DB_NO_MEMORY = 7;

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

    // Where a whole list goes: room(n) is told the number of rows (false:
    // there is no room, and the read fails with SQLITE_NOMEM); then each
    // row i in order is put where rowAt(i) points, every column of it, and
    // done(i) follows.
    struct ListSink {
        std::function<bool(size_t)> room;
        std::function<void*(size_t)> rowAt;
        std::function<void(size_t)> done;
    };

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
    // The one read of the rows under a clause (as readEach): the rows are
    // kept by what they hold (each number in its bytes, each text by its
    // length) until the statement is done, then handed to the sink. Fails
    // without reading under the fault "getList"; the sink gets nothing from
    // a read that failed.
    bool readAll(const char* clause, const std::vector<DBArgument>& args, const char* orderBy, DBtran* tran,
                 const ListSink& sink);
    bool readAllWhere(const char* where, const char* orderBy, DBtran* tran, const ListSink& sink);
    // The rows of a where text whose values are written in, counted per
    // value of a column, in ascending order of the value: take(value, count)
    // for each value. Fails without reading under the fault "getNRows".
    bool countEach(const char* column, const char* where, DBtran* tran,
                   const std::function<void(long long, unsigned int)>& take);
    bool selectByKey(int key, void* row, DBtran* tran);
    // selectByKey for a table with one heap text: that field of the row is
    // not touched, and the text goes into room from allocate (see
    // CRepTableDB::getInfo with room).
    bool selectByKeyWithText(int key, void* row, const std::function<char*(size_t)>& allocate, char*& text,
                             size_t& length, DBtran* tran);
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
    // Borrows the statement of a read with its values bound; 0 or a code.
    int startRead(const char* clause, const std::vector<DBArgument>& args, const char* orderBy, size_t limit,
                  DBtran* tran, DBStatement& reader) const;
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
        return array(rows, count, [&](const ListSink& sink) { return readAllWhere(where, orderBy, tran, sink); });
    }

    // The same with a where clause whose values are parameters ?1, ?2 ...
    // bound from args in order ("SNRVolumeId = ?1"): the clause is taken as
    // it is, not searched for values.
    bool getList(Row*& rows, unsigned int& count, const char* clause, const std::vector<DBArgument>& args,
                 const char* orderBy, DBtran* tran)
    {
        return array(rows, count, [&](const ListSink& sink) { return readAll(clause, args, orderBy, tran, sink); });
    }

    // The records of the matching rows appended to records in order:
    // convert(Record&, const Row&) fills a new record from each row. The
    // list grows once, by the number of rows; nothing is appended after a
    // failure.
    template <typename Record, typename Convert>
    bool getList(std::vector<Record>& records, Convert&& convert, const char* where, const char* orderBy,
                 DBtran* tran)
    {
        Row row{};
        return readAllWhere(where, orderBy, tran, recordSink(records, row, convert));
    }
    template <typename Record, typename Convert>
    bool getList(std::vector<Record>& records, Convert&& convert, const char* clause,
                 const std::vector<DBArgument>& args, const char* orderBy, DBtran* tran)
    {
        Row row{};
        return readAll(clause, args, orderBy, tran, recordSink(records, row, convert));
    }

    // The matching rows in the order given, each handed to take(const Row&)
    // as it is read; nothing is kept. The row lent is the same one each
    // time, read anew: take keeps what it needs of it.
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

    // The first matching row in the order given, read alone: true when the
    // read ran, found telling whether a row matched.
    bool getFirst(Row& row, bool& found, const char* where, const char* orderBy, DBtran* tran)
    {
        found = false;
        return readEachWhere(where, orderBy, 1, tran, &row, [&] { found = true; });
    }

    bool getInfo(int id, Row& row, DBtran* tran) { return selectByKey(id, &row, tran); }

    // getInfo for a row with a long text (its one heap text field), the text
    // read into room the caller gives instead of a copy of the row's own:
    // the row's heap text field is left as it is; text is room from
    // allocate(length + 1) holding the length bytes stored and a NUL, or null
    // for a NULL value. The caller owns the room it gave, also after a
    // failure. When allocate gives none the code is DB_NO_MEMORY, with length
    // set.
    bool getInfo(int id, Row& row, const std::function<char*(size_t)>& allocate, char*& text, size_t& length,
                 DBtran* tran)
    {
        return selectByKeyWithText(id, &row, allocate, text, length, tran);
    }

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
    // Runs read(sink) with a sink that puts the rows into a new array of
    // their number.
    template <typename Read>
    bool array(Row*& rows, unsigned int& count, Read read)
    {
        rows = nullptr;
        count = 0;
        std::unique_ptr<Row[]> made;
        size_t n = 0;
        const ListSink sink{[&](size_t number) {
                                n = number;
                                made.reset(number > 0 ? new (std::nothrow) Row[number] : nullptr);
                                return number == 0 || made != nullptr;
                            },
                            [&](size_t i) -> void* { return &made[i]; }, [](size_t) {}};
        if (!read(sink)) return false;
        rows = made.release();
        count = static_cast<unsigned int>(n);
        return true;
    }

    // A sink that makes a record of each row, read into `row`, at the end
    // of records.
    template <typename Record, typename Convert>
    static ListSink recordSink(std::vector<Record>& records, Row& row, Convert& convert)
    {
        return ListSink{[&records](size_t n) {
                            records.reserve(records.size() + n);
                            return true;
                        },
                        [&row](size_t) -> void* { return &row; },
                        [&records, &row, &convert](size_t) {
                            records.emplace_back();
                            convert(records.back(), static_cast<const Row&>(row));
                        }};
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
