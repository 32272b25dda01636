// The devices of the member SNR volumes of one scratch pool, whatever their
// client, in ascending device id order over the whole pool.
#pragma once

#include "rows/Db/Cursor/YBRowColumns.h"
#include "rows/RowFamily.h"

#define YBGetSNRDeviceByPoolId_COLUMNS(I, B, S) YB_PHYSICAL_DEVICE_COLUMNS(I, B, S)

// SQLite statement run: RegisterSNRStatements in host/db/statements/SNRStatements.cpp
ZXDB_CURSOR(YBGetSNRDeviceByPoolId, YBGetSNRDeviceByPoolId_COLUMNS, "i|i|i|s1025|i|s1025|s129|i|",
            "SET NOCOUNT ON \n"
            "\tSELECT D.* \n"
            "\tFROM YBPhysicalDevice D, YBScratchVolume R \n"
            "\tWHERE D.SNRVolumeId = R.PhysicalVolumeId AND R.RVScratchVolumePoolId = %d \n"
            "\tORDER BY D.id ASC \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBGetSNRDeviceByPoolId", (int poolId))
