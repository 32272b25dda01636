// The recovery points of a destination client, with their names, mount points
// and job ids.
#pragma once

#include "rows/RowFamily.h"

#define YBGetAllRPsbyDstClientId_COLUMNS(I, B, S) \
    I(CpId)                                       \
    I(iCreationTime)                              \
    S(szName, 1025)                               \
    S(szMountPoint, 1025)                         \
    B(llJobId)

// SQLite statement run: RegisterFileFlrCleanupStatements in host/db/statements/FileFlrCleanupStatements.cpp
ZXDB_PROCEDURE(YBGetAllRPsbyDstClientId, "YBGetAllRPsbyDstClientId", YBGetAllRPsbyDstClientId_COLUMNS,
               "i|i|s1025|s1025|b|", "%d", "00d:0000000000000000", "source/include/Db/Proc/YBGetAllRPsbyDstClientId",
               (int clientId))
