// Generic entity table class: every operation is built from a description of
// the table's columns and where they lie in the row structure.
#pragma once

#include <cstddef>
#include <functional>
#include <new>
#include <string>
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

protected:
    // Reads the matching rows into an array made once their number is known:
    // allocate(n) gives room for n rows of rowSize bytes each, or null when
    // there is none (the read then fails with SQLITE_NOMEM); it is not called
    // when no row matches. A row is copied into the array as a whole.
    bool selectRows(const char* where, const char* orderBy, DBtran* tran, size_t rowSize,
                    const std::function<void*(size_t)>& allocate, size_t& count);
    // The same with a clause whose values are parameters ?1, ?2 ... bound
    // from args in order.
    bool selectBoundRows(const char* clause, const std::vector<DBArgument>& args, const char* orderBy, DBtran* tran,
                         size_t rowSize, const std::function<void*(size_t)>& allocate, size_t& count);
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

    const DBEntityTable& m_table;

private:
    const DBEntityColumn* keyColumn() const;
    bool changeRows(std::string sql, std::vector<DBArgument> args, const char* where, int key, bool byKey,
                    DBtran* tran);
    bool readRows(const char* clause, const std::vector<DBArgument>& args, const char* orderBy, DBtran* tran,
                  size_t rowSize, const std::function<void*(size_t)>& allocate, size_t& count);
    bool fail(int code);
    // A read found other rows than it counted: logged, SQLITE_ERROR.
    bool changedWhileRead();
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
        return list(rows, count, [&](const std::function<void*(size_t)>& allocate, size_t& found) {
            return selectRows(where, orderBy, tran, sizeof(Row), allocate, found);
        });
    }

    // The same with a where clause whose values are parameters ?1, ?2 ...
    // bound from args in order ("SNRVolumeId = ?1"): the clause is taken as
    // it is, not searched for values.
    bool getList(Row*& rows, unsigned int& count, const char* clause, const std::vector<DBArgument>& args,
                 const char* orderBy, DBtran* tran)
    {
        return list(rows, count, [&](const std::function<void*(size_t)>& allocate, size_t& found) {
            return selectBoundRows(clause, args, orderBy, tran, sizeof(Row), allocate, found);
        });
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

    // On success the row's identity column holds the new id.
    bool insert(Row& row, DBtran* tran) { return insertRow(&row, tran); }

    bool Update(int id, const char* setClause, DBtran* tran) { return updateRows(setClause, id, tran); }

    bool remove(int id, DBtran* tran) { return removeRows(nullptr, id, true, tran); }
    bool remove(const char* where, DBtran* tran) { return removeRows(where, 0, false, tran); }

private:
    // Runs select(allocate, found) with an allocation of a new array of rows.
    template <typename Select>
    bool list(Row*& rows, unsigned int& count, Select select)
    {
        rows = nullptr;
        count = 0;
        Row* made = nullptr;
        size_t found = 0;
        const std::function<void*(size_t)> allocate = [&made](size_t n) -> void* {
            made = new (std::nothrow) Row[n];
            return made;
        };
        if (!select(allocate, found)) {
            delete[] made;
            return false;
        }
        rows = made;
        count = static_cast<unsigned int>(found);
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
