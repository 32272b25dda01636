// The stored product files of one volume, in ascending id order.
#pragma once

#include "rows/RowFamily.h"

#define YBQueryYBFileByVolId_COLUMNS(I, B, S) \
    I(id) \
    I(VolumeId) \
    S(Name, 1025) \
    I(Flags)

// SQLite statement run: RegisterFileFlrCleanupStatements in host/db/statements/FileFlrCleanupStatements.cpp
ZXDB_CURSOR(YBQueryYBFileByVolId, YBQueryYBFileByVolId_COLUMNS, "i|i|s1025|i|",
            "SET NOCOUNT ON \n"
            "\tSELECT id, VolumeId, Name, Flags \n"
            "\tFROM YBFile \n"
            "\tWHERE VolumeId = %d \n"
            "\tORDER BY id ASC \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBQueryYBFileByVolId", (int volumeId))
