// Reading every row of an opened cursor into a list of records.
#pragma once

#include "host/db/DBtable.h"

namespace steps {

// Appends every row of an opened cursor to the list, in order: the fetch
// code that ended it, DB_NO_MORE_ROWS when all were read. After any other
// code (a failed fetch) the list is empty.
template <typename Cursor, typename List>
int ReadAllRows(Cursor& cursor, List& list)
{
    int state = 0;
    int rc;
    while ((rc = getNextRow(&cursor, &state, -1, 0)) == DB_ROW_OK) YBSet(list, *cursor.getDataPtr());
    if (rc != DB_NO_MORE_ROWS) list.clear();
    return rc;
}

}  // namespace steps
