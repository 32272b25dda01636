// The mount points, on the devices of a client, of replicas of snap engine type
// 1 in role 5.
#pragma once

#include "rows/RowFamily.h"

#define YBQueryMountedSnapsByClientId_COLUMNS(I, B, S) \
    S(SrcDevName, 1025) \
    S(SnapName, 1025) \
    S(MountPath, 1025) \
    I(MountPointId) \
    I(Type)

// SQLite statement run: RegisterFileFlrCleanupStatements in host/db/statements/FileFlrCleanupStatements.cpp
ZXDB_CURSOR(YBQueryMountedSnapsByClientId, YBQueryMountedSnapsByClientId_COLUMNS, "s1025|s1025|s1025|i|i|",
            "SET NOCOUNT ON \n"
            "\tDECLARE @inClientId \tinteger \n"
            "\tSET @inClientId = %d \n"
            "\tSELECT S.DeviceName, D.DeviceName, M.Path, M.id, Q.SnapEngineType \n"
            "\tFROM YBVolume Q, YBPhysicalDevice D, YBMountPoint M, (SELECT SNRVolumeId, DeviceName FROM YBPhysicalDevice) S \n"
            "\tWHERE\tQ.SnapEngineType = 1 AND \n"
            "\t\tQ.CurrentRole = 5 AND \n"
            "\t\tQ.PhysicalVolumeId = D.SNRVolumeId AND \n"
            "\t\tQ.SnapVolumeId = S.SNRVolumeId AND \n"
            "\t\tD.ClientId = @inClientId AND \n"
            "\t\tM.DeviceNameId = D.id AND \n"
            "\t\t(M.Flags & 2) = 0 \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBQueryMountedSnapsByClientId", (int clientId))
