// The mount points of every device of one client, in ascending mount point id
// order.
#pragma once

#include "rows/Db/Cursor/YBRowColumns.h"
#include "rows/RowFamily.h"

#define YBGetSNRMountPointByClientId_COLUMNS(I, B, S) YB_MOUNT_POINT_COLUMNS(I, B, S)

// SQLite statement run: RegisterSNRStatements in host/db/statements/SNRStatements.cpp
ZXDB_CURSOR(YBGetSNRMountPointByClientId, YBGetSNRMountPointByClientId_COLUMNS, "i|i|s1025|i|",
            "SET NOCOUNT ON \n"
            "\tSELECT M.* \n"
            "\tFROM YBMountPoint M, YBPhysicalDevice D \n"
            "\tWHERE M.DeviceNameId = D.id AND D.ClientId = %d \n"
            "\tORDER BY M.id ASC \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBGetSNRMountPointByClientId", (int clientId))
