// Browse by policy, step 2: the SNR volumes that are the primary or the physical volume of a browsed
// replication volume.
#pragma once

#include "rows/Db/Cursor/YBBrowseLayout.h"
#include "rows/Db/Cursor/YBRowColumns.h"
#include "rows/RowFamily.h"

#define YBBrowseByPolicy2_COLUMNS(I, B, S) YB_PHYSICAL_VOLUME_COLUMNS(I, B, S)

// SQLite statement run: RegisterBrowseStatements in host/db/statements/BrowseStatements.cpp
ZXDB_CURSOR(YBBrowseByPolicy2, YBBrowseByPolicy2_COLUMNS, "i|s257|i|i|b|b|i|i|s129|s2049|i|i|i|i|",
            "SET NOCOUNT ON \n"
            "SELECT DISTINCT V.* \n"
            "FROM ##YBBrowseByPolicyTmp TmpTbl, YBPhysicalVolume V \n"
            "WHERE (TmpTbl.PrimaryVolumeId = V.id OR TmpTbl.PhysicalVolumeId = V.Id) \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBBrowseByPolicy2", ())

YBBROWSE_ASSERT_LAYOUT(YBBrowseByPolicy2, YBBrowseByPolicy2_t, YBPhysicalVolume_t, YBBrowseByPolicy2_COLUMNS, true)
