// The stored product file with one id: at most one row.
#pragma once

#include "rows/RowFamily.h"

#define YBQueryYBFileById_COLUMNS(I, B, S) \
    I(id) \
    I(VolumeId) \
    S(Name, 1025) \
    I(Flags)

// SQLite statement run: RegisterFileFlrCleanupStatements in host/db/statements/FileFlrCleanupStatements.cpp
ZXDB_CURSOR(YBQueryYBFileById, YBQueryYBFileById_COLUMNS, "i|i|s1025|i|",
            "SET NOCOUNT ON \n"
            "\tSELECT id, VolumeId, Name, Flags \n"
            "\tFROM YBFile \n"
            "\tWHERE id = %d \n"
            "\tORDER BY id ASC \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBQueryYBFileById", (int fileId))
