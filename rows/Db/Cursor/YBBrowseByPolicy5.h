// Browse by policy, step 5: the mount points of the devices on the physical or the primary
// volume of a browsed replication volume; drops the browse table.
#pragma once

#include "rows/Db/Cursor/YBBrowseLayout.h"
#include "rows/Db/Cursor/YBRowColumns.h"
#include "rows/RowFamily.h"

#define YBBrowseByPolicy5_COLUMNS(I, B, S) YB_MOUNT_POINT_COLUMNS(I, B, S)

// SQLite statement run: RegisterBrowseStatements in host/db/statements/BrowseStatements.cpp
ZXDB_CURSOR(YBBrowseByPolicy5, YBBrowseByPolicy5_COLUMNS, "i|i|s1025|i|",
            "SET NOCOUNT ON \n"
            "SELECT DISTINCT M.* \n"
            "FROM ##YBBrowseByPolicyTmp TmpTbl, YBPhysicalDevice D, YBMountPoint M \n"
            "WHERE (TmpTbl.PhysicalVolumeId = D.SNRVolumeId OR TmpTbl.PrimaryvolumeId = D.SNRVolumeId) AND "
            "M.DeviceNameId = D.id \n"
            "DROP TABLE ##YBBrowseByPolicyTmp \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBBrowseByPolicy5", ())

YBBROWSE_ASSERT_LAYOUT(YBBrowseByPolicy5, YBBrowseByPolicy5_t, YBMountPoint_t, YBBrowseByPolicy5_COLUMNS, true)
