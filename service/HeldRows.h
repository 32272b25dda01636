// Rows a table's getList returned, held until the holder goes out of scope.
#pragma once

#include "host/db/DBtable.h"

namespace steps {

// Rows a getList returned, given back with deleteList when the holder goes
// out of scope.
template <typename Row>
class HeldRows {
public:
    explicit HeldRows(CRepBaseDB& db) : m_db(db) {}
    ~HeldRows() { m_db.deleteList(rows); }
    HeldRows(const HeldRows&) = delete;
    HeldRows& operator=(const HeldRows&) = delete;

    Row* rows = nullptr;
    unsigned int count = 0;

private:
    CRepBaseDB& m_db;
};

}  // namespace steps
