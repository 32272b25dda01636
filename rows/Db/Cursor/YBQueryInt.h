// The caller's statement; the first column of each row as an integer.
#pragma once

#include "rows/RowFamily.h"

#define YBQueryInt_COLUMNS(I, B, S) \
    I(IntValue)

// SQLite statement run: RegisterFileFlrCleanupStatements in host/db/statements/FileFlrCleanupStatements.cpp
ZXDB_CURSOR(YBQueryInt, YBQueryInt_COLUMNS, "i|",
            "SET NOCOUNT ON \n"
            "%s \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBQueryInt", (const char* statement))
