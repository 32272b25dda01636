// The mount points of the FLR snapshots of a client's consistency points, with
// their network shares (-1 and " " when none).
#pragma once

#include "rows/RowFamily.h"

#define YBQueryMountedFLRSnapsByClientId_COLUMNS(I, B, S) \
    S(SrcDevName, 1025) \
    S(SnapName, 1025) \
    I(Type) \
    S(MountPath, 1025) \
    I(MountPointId) \
    I(NetShareId) \
    S(NetShareName, 1025) \
    S(SnapshotPath, 1025)

// SQLite statement run: RegisterFileFlrCleanupStatements in host/db/statements/FileFlrCleanupStatements.cpp
ZXDB_CURSOR(YBQueryMountedFLRSnapsByClientId, YBQueryMountedFLRSnapsByClientId_COLUMNS, "s1025|s1025|i|s1025|i|i|s1025|s1025|",
            "SET NOCOUNT ON \n"
            "\tDECLARE @inClientId \tinteger \n"
            "\tSET @inClientId = %d \n"
            "\tSELECT S.VolumeGUID, S.Name, S.Type, M.MountPath, M.id, ISNULL(N.id, -1), ISNULL(N.NetShareName, ' '), ISNULL(S.SnapshotPath, ' ') \n"
            "\tFROM YBFLRSnapshot S,  YBFLRConsistencyPoint CP, YBFLRSnapMountPoint M LEFT JOIN (SELECT id, NetShareName, MountPointId FROM YBFLRSnapNetworkShare) AS N ON N.MountPointId = M.id \n"
            "\tWHERE\tM.SnapshotId = S.id AND \n"
            "\t\t\tS.ConsistencyPointId = CP.id AND \n"
            "\t\t\tCP.ClientId = @inClientId \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBQueryMountedFLRSnapsByClientId", (int clientId))
