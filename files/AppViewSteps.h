// Shared pieces of the appliance, user application, browse and list
// operations: the refusal of a failed call on one row, the reading of a whole
// table, and the copy of a reply text. Internal to files/.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "host/db/CRepTableDB.h"
#include "service/ErrorCodes.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/Utils.h"

class DBtran;

namespace files_detail {

// A call on one row of a table that failed with the database's code: 100 (no
// such row) refuses with -3 and notFound, any other code with -4 and failed,
// logging the call, the row's id line, further lines and the code.
template <typename Ret>
bool RowCallFailed(ReplicationMgr& mgr, Ret& ret, int dbCode, const char* notFound, const char* failed,
                   const char* call, const std::string& idLine, const std::string& more, const char* source,
                   const char* function, long line)
{
    if (dbCode == DB_NO_MORE_ROWS) return steps::Fail(mgr, ret, kErrNotFound, notFound, idLine, source, function, line);
    return steps::Fail(
        mgr, ret, kErrDatabase, failed,
        "\n\t" + std::string(call) + " failed" + idLine + more + "\n\tDB Err Code = " + std::to_string(dbCode), source,
        function, line);
}

// The where and order of the lists of a table: every row, in id order.
constexpr char ListWhere[] = "id > 0";
constexpr char ListOrderBy[] = "id ASC";

// Reads every row of the table through db (ListWhere, ListOrderBy) and
// appends one record per row, converted by YBSet, in row order; the rows are
// given back in either case. False, with the list empty and db's code kept,
// when they cannot be read.
template <typename Row, typename Record>
bool ReadList(CRepTableDB<Row>& db, std::vector<Record>& list, DBtran* tran)
{
    list.clear();
    Row* rows = nullptr;
    unsigned int count = 0;
    const bool read = db.getList(rows, count, ListWhere, ListOrderBy, tran);
    for (unsigned int i = 0; read && i < count; ++i) {
        Record record;
        YBSet(record, rows[i]);
        list.push_back(record);
    }
    db.deleteList(rows);
    return read;
}

// A copy of a text in memory of its own (an empty text too), released with
// free; null when none could be had.
inline char* CopyReplyText(const std::string& text)
{
    char* copy = static_cast<char*>(AllocReplyArray(text.size() + 1));
    if (copy != nullptr) std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

}  // namespace files_detail
