// Counting the rows of a table under a where clause, as a step of an
// operation that fails when the count cannot be made.
#pragma once

#include <string>

#include "host/db/DBtable.h"
#include "service/ErrorCodes.h"
#include "service/Refusals.h"

namespace steps {

// Counts the rows of the table under the where clause. A count that fails
// fails the operation: code -4 with the text given, and the call, the clause
// and the database code at ERR.
template <typename Table, typename Ret>
bool CountRows(ReplicationMgr& mgr, Ret& ret, Table& table, const char* tableClass, const std::string& where,
               unsigned int& count, DBtran* tran, const char* text, const char* source, const char* function,
               long line)
{
    if (table.getNRows(where.c_str(), count, tran)) return true;
    return Fail(mgr, ret, kErrDatabase, text,
                "\n\t" + std::string(tableClass) + "::getNRows() failed\n\tParameters used:\n\tsWhere = " + where +
                    "\n\tDB Err Code = " + std::to_string(table.getErrorCode()),
                source, function, line);
}

}  // namespace steps
