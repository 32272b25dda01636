// Browse by client, step 5: the mount points of the devices on the physical or the primary
// volume of a browsed replication volume; drops the browse table.
#pragma once

#include "rows/Db/Cursor/YBBrowseLayout.h"
#include "rows/Db/Cursor/YBRowColumns.h"
#include "rows/RowFamily.h"

#define YBBrowseByClient5_COLUMNS(I, B, S) YB_MOUNT_POINT_COLUMNS(I, B, S)

// SQLite statement run: RegisterBrowseStatements in host/db/statements/BrowseStatements.cpp
ZXDB_CURSOR(YBBrowseByClient5, YBBrowseByClient5_COLUMNS, "i|i|s1025|i|",
            "SET NOCOUNT ON \n"
            "SELECT DISTINCT M.* \n"
            "FROM ##YBBrowseByClientTmp TmpTbl, YBPhysicalDevice D, YBMountPoint M \n"
            "WHERE (TmpTbl.PhysicalVolumeId = D.SNRVolumeId OR TmpTbl.PrimaryvolumeId = D.SNRVolumeId) AND "
            "M.DeviceNameId = D.id \n"
            "DROP TABLE ##YBBrowseByClientTmp \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBBrowseByClient5", ())

YBBROWSE_ASSERT_LAYOUT(YBBrowseByClient5, YBBrowseByClient5_t, YBMountPoint_t, YBBrowseByClient5_COLUMNS, true)
