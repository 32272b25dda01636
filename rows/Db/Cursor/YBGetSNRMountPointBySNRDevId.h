// The mount points of one device, in ascending id order.
#pragma once

#include "rows/Db/Cursor/YBRowColumns.h"
#include "rows/RowFamily.h"

#define YBGetSNRMountPointBySNRDevId_COLUMNS(I, B, S) YB_MOUNT_POINT_COLUMNS(I, B, S)

// SQLite statement run: RegisterSNRStatements in host/db/statements/SNRStatements.cpp
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
