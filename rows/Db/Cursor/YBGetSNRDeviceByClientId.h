// The SNR devices of one client, in ascending id order.
#pragma once

#include "rows/RowFamily.h"

#define YBGetSNRDeviceByClientId_COLUMNS(I, B, S) \
    I(id)                                         \
    I(ClientId)                                   \
    I(SNRVolumeId)                                \
    S(DeviceName, 1025)                           \
    I(Flags)                                      \
    S(OSDeviceName, 1025)                         \
    S(AccessPath, 129)                            \
    I(FilerClientId)

ZXDB_CURSOR(YBGetSNRDeviceByClientId, YBGetSNRDeviceByClientId_COLUMNS, "i|i|i|s1025|i|s1025|s129|i|",
            "SET NOCOUNT ON \n"
            "\tSELECT * \n"
            "\tFROM YBPhysicalDevice \n"
            "\tWHERE ClientId = %d \n"
            "\tORDER BY id ASC \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBGetSNRDeviceByClientId", (int clientId))
