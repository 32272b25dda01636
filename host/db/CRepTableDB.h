// Generic entity table class: every operation is built from a description of
// the table's columns and where they lie in the row structure.
#pragma once

#include <cstddef>
#include <functional>
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

// The table operations on raw rows. Where, order and SET texts are put into
// the statement as given (the callers quote their values with SqlEscape).
class CRepTableCore : public CRepBaseDB {
public:
    explicit CRepTableCore(const DBEntityTable& table) : m_nErrorCode(0), m_table(table) {}

    // The last database code after a false return; 100 when no row matched.
    int m_nErrorCode;
    int getErrorCode() const { return m_nErrorCode; }

protected:
    // nextRow gives the room for each row read.
    bool selectRows(const char* where, const char* orderBy, DBtran* tran, const std::function<void*()>& nextRow);
    bool selectByKey(int key, void* row, DBtran* tran);
    bool countRows(const char* where, unsigned int& count, DBtran* tran);
    bool insertRow(void* row, DBtran* tran);
    bool updateRows(const char* set, int key, DBtran* tran);
    // The rows of a where clause; an empty where is refused.
    bool updateWhere(const char* set, const char* where, DBtran* tran);
    bool removeRows(const char* where, int key, bool byKey, DBtran* tran);

    const DBEntityTable& m_table;

private:
    const DBEntityColumn* keyColumn() const;
    bool changeRows(std::string sql, const char* where, int key, bool byKey, DBtran* tran);
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
        rows = nullptr;
        count = 0;
        std::vector<Row> found;
        bool ok = selectRows(where, orderBy, tran, [&found]() -> void* {
            found.emplace_back();
            return &found.back();
        });
        if (!ok) return false;
        if (found.empty()) return true;
        rows = new Row[found.size()];
        for (size_t i = 0; i < found.size(); ++i) rows[i] = found[i];
        count = static_cast<unsigned int>(found.size());
        return true;
    }

    bool getInfo(int id, Row& row, DBtran* tran) { return selectByKey(id, &row, tran); }

    bool getNRows(const char* where, unsigned int& count, DBtran* tran) { return countRows(where, count, tran); }

    // On success the row's identity column holds the new id.
    bool insert(Row& row, DBtran* tran) { return insertRow(&row, tran); }

    bool Update(int id, const char* setClause, DBtran* tran) { return updateRows(setClause, id, tran); }

    bool remove(int id, DBtran* tran) { return removeRows(nullptr, id, true, tran); }
    bool remove(const char* where, DBtran* tran) { return removeRows(where, 0, false, tran); }
};

#define DB_ENTITY_COLUMN(Row, field, type, key, identity) \
    DBEntityColumn { #field, type, offsetof(Row, field), sizeof(Row::field), key, identity }

// The description of a table from its name and its column array.
template <size_t N>
constexpr DBEntityTable dbEntityTable(const char* name, const DBEntityColumn (&columns)[N])
{
    return DBEntityTable{name, columns, N};
}
