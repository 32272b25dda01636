// The newest destination recovery point of a replication set that holds a
// snapshot of a volume GUID.
#pragma once

#include "rows/RowFamily.h"

#define YBQueryFanInLatestRP_COLUMNS(I, B, S) \
    I(RPId)

// SQLite statement run: RegisterFileFlrCleanupStatements in host/db/statements/FileFlrCleanupStatements.cpp
ZXDB_CURSOR(YBQueryFanInLatestRP, YBQueryFanInLatestRP_COLUMNS, "i|",
            "SET NOCOUNT ON \n"
            "\tSELECT TOP 1 RP.id \n"
            "\tFROM YBFLRConsistencyPoint RP, YBFLRSnapshot S \n"
            "\tWHERE\tRP.FLRSetId = %d AND \n"
            "\t\t\tRP.Type = 1 AND \n"
            "\t\t\tRP.Id = S.ConsistencyPointId AND \n"
            "\t\t\tS.VolumeGUID = '%s' \n"
            "\t\t\tORDER BY RP.CreationTime DESC \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBQueryFanInLatestRP", (int repSetId, const char* volumeGuid))
