// The distinct FLR snapshots of the consistency points of one client, ordered
// by snapshot name.
#pragma once

#include "rows/RowFamily.h"

#define YBGetFLRSnapsByDestClientId_COLUMNS(I, B, S) \
    I(id) \
    I(CPId) \
    S(Name, 129)

// SQLite statement run: RegisterFileFlrCleanupStatements in host/db/statements/FileFlrCleanupStatements.cpp
ZXDB_CURSOR(YBGetFLRSnapsByDestClientId, YBGetFLRSnapsByDestClientId_COLUMNS, "i|i|s129|",
            "SET NOCOUNT ON \n"
            "select distinct  S.Id, S.ConsistencyPointId, S.Name \n"
            "from YBFLRSnapShot S, YBFLRConsistencyPoint CP \n"
            "where CP.ClientId = %d AND S.ConsistencyPointId = CP.Id \n"
            "order by S.Name \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBGetFLRSnapsByDestClientId", (int clientId))
