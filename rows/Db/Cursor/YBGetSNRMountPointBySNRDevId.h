// The mount points of one device, in ascending id order.
#pragma once

#include "rows/RowFamily.h"

#define YBGetSNRMountPointBySNRDevId_COLUMNS(I, B, S) \
    I(id)                                             \
    I(DeviceNameId)                                   \
    S(Path, 1025)                                     \
    I(Flags)

ZXDB_CURSOR(YBGetSNRMountPointBySNRDevId, YBGetSNRMountPointBySNRDevId_COLUMNS, "i|i|s1025|i|",
            "SET NOCOUNT ON \n"
            "\tDECLARE @inSNRDevId \tinteger \n"
            "\tSET @inSNRDevId = %d \n"
            "\tSELECT * \n"
            "\tFROM YBMountPoint \n"
            "\tWHERE DeviceNameId = @inSNRDevId \n"
            "\tORDER BY id ASC \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBGetSNRMountPointBySNRDevId", (int deviceId))
