// Browse by policy, step 3: the devices on the primary or the physical volume of a browsed
// replication volume.
#pragma once

#include "rows/Db/Cursor/YBBrowseLayout.h"
#include "rows/Db/Cursor/YBRowColumns.h"
#include "rows/RowFamily.h"

#define YBBrowseByPolicy3_COLUMNS(I, B, S) YB_PHYSICAL_DEVICE_COLUMNS(I, B, S)

// SQLite statement run: RegisterBrowseStatements in host/db/statements/BrowseStatements.cpp
ZXDB_CURSOR(YBBrowseByPolicy3, YBBrowseByPolicy3_COLUMNS, "i|i|i|s1025|i|s1025|s129|i|",
            "SET NOCOUNT ON \n"
            "SELECT DISTINCT D.* \n"
            "FROM ##YBBrowseByPolicyTmp TmpTbl, YBPhysicalDevice D \n"
            "WHERE (D.SNRVolumeId = TmpTbl.PrimaryVolumeId OR D.SNRVolumeId = TmpTbl.PhysicalVolumeId) \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBBrowseByPolicy3", ())

YBBROWSE_ASSERT_LAYOUT(YBBrowseByPolicy3, YBBrowseByPolicy3_t, YBPhysicalDevice_t, YBBrowseByPolicy3_COLUMNS, true)
