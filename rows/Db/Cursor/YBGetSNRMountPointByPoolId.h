// The mount points of the devices of the member SNR volumes of one scratch pool,
// in ascending mount point id order over the whole pool.
#pragma once

#include "rows/Db/Cursor/YBRowColumns.h"
#include "rows/RowFamily.h"

#define YBGetSNRMountPointByPoolId_COLUMNS(I, B, S) YB_MOUNT_POINT_COLUMNS(I, B, S)

// SQLite statement run: RegisterSNRStatements in host/db/statements/SNRStatements.cpp
ZXDB_CURSOR(YBGetSNRMountPointByPoolId, YBGetSNRMountPointByPoolId_COLUMNS, "i|i|s1025|i|",
            "SET NOCOUNT ON \n"
            "\tDECLARE @inPoolId \tinteger \n"
            "\tSET @inPoolId = %d \n"
            "\tSELECT M.* \n"
            "\tFROM YBMountPoint M, YBScratchVolume R, YBPhysicalDevice D \n"
            "\tWHERE M.DeviceNameId = D.id AND D.SNRVolumeId = R.PhysicalVolumeId AND R.RVScratchVolumePoolId = @inPoolId \n"
            "\tORDER BY M.id ASC \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBGetSNRMountPointByPoolId", (int poolId))
