// The devices of the member SNR volumes of one scratch pool, whatever their
// client, in ascending device id order over the whole pool.
#pragma once

#include "rows/RowFamily.h"

#define YBGetSNRDeviceByPoolId_COLUMNS(I, B, S) \
    I(id)                                       \
    I(ClientId)                                 \
    I(SNRVolumeId)                              \
    S(DeviceName, 1025)                         \
    I(Flags)                                    \
    S(OSDeviceName, 1025)                       \
    S(AccessPath, 129)                          \
    I(FilerClientId)

ZXDB_CURSOR(YBGetSNRDeviceByPoolId, YBGetSNRDeviceByPoolId_COLUMNS, "i|i|i|s1025|i|s1025|s129|i|",
            "SET NOCOUNT ON \n"
            "\tSELECT D.* \n"
            "\tFROM YBPhysicalDevice D, YBScratchVolume R \n"
            "\tWHERE D.SNRVolumeId = R.PhysicalVolumeId AND R.RVScratchVolumePoolId = %d \n"
            "\tORDER BY D.id ASC \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBGetSNRDeviceByPoolId", (int poolId))
