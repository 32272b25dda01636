// How the columns of a bound row lie in it: their kinds and places.
#pragma once

#include <cstddef>

// Kinds of a column of a bound row.
enum DBColumnType {
    DB_COL_INT32 = 1,
    DB_COL_INT64 = 4,
    DB_COL_TEXT = 6,
    // A char* to a NUL-terminated text of any length that the row owns
    // (allocated with new[]); null for a NULL value. Entity tables only.
    // The value written is stored as the server reads it (host/db/ServerText.h).
    DB_COL_HEAP_TEXT = 7
};

// Where one column lies in a bound row. A text column is a char[size]
// holding at most size-1 characters and the NUL.
struct DBColumnBinding {
    DBColumnType type;
    size_t offset;
    size_t size;
};
