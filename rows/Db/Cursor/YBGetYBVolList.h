// Every replication volume with an id above 0, in ascending id order.
#pragma once

#include "rows/Db/Cursor/YBRowColumns.h"
#include "rows/RowFamily.h"

#define YBGetYBVolList_COLUMNS(I, B, S) YB_VOLUME_COLUMNS(I, B, S)

// SQLite statement run: RegisterSNRStatements in host/db/statements/SNRStatements.cpp
ZXDB_CURSOR(YBGetYBVolList, YBGetYBVolList_COLUMNS, "i|i|i|i|i|i|i|i|i|i|i|i|i|i|s1025|s257|",
            "SET NOCOUNT ON \n"
            "\tSELECT * \n"
            "\tFROM YBVolume \n"
            "\tWHERE (id > 0) \n"
            "\tORDER BY id ASC \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBGetYBVolList", ())
