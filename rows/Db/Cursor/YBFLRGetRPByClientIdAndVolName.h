// The destination recovery points of a client that hold a snapshot of a volume
// name, in ascending consistency point id.
#pragma once

#include "rows/RowFamily.h"

#define YBFLRGetRPByClientIdAndVolName_COLUMNS(I, B, S) \
    I(CPId) \
    I(CreationTime) \
    S(Name, 129) \
    S(MountPoint, 1025) \
    I(JobId)

// SQLite statement run: RegisterFileFlrCleanupStatements in host/db/statements/FileFlrCleanupStatements.cpp
ZXDB_CURSOR(YBFLRGetRPByClientIdAndVolName, YBFLRGetRPByClientIdAndVolName_COLUMNS, "i|i|s129|s1025|i|",
            "SET NOCOUNT ON \n"
            "SELECT DISTINCT  CP.id, CP.CreationTime, S.Name, ISNULL(MP.MountPath,''), CP.JobId \n"
            "FROM YBFLRConsistencyPoint CP, YBFLRSnapShot S LEFT JOIN YBFLRSnapMountPoint MP ON S.id = MP.SnapshotId \n"
            "WHERE CP.ClientId = %d AND S.ConsistencyPointId = CP.Id AND S.SnapVolumeName = '%s' AND CP.Type = 1 \n"
            "ORDER BY CP.id \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBFLRGetRPByClientIdAndVolName", (int clientId, const char* volumeName))
