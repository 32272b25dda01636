// Browse by client, step 2: the SNR volumes that are the primary or the physical volume of a browsed
// replication volume.
#pragma once

#include "rows/Db/Cursor/YBBrowseLayout.h"
#include "rows/Db/Cursor/YBRowColumns.h"
#include "rows/RowFamily.h"

#define YBBrowseByClient2_COLUMNS(I, B, S) YB_PHYSICAL_VOLUME_COLUMNS(I, B, S)

// SQLite statement run: RegisterBrowseStatements in host/db/statements/BrowseStatements.cpp
ZXDB_CURSOR(YBBrowseByClient2, YBBrowseByClient2_COLUMNS, "i|s257|i|i|b|b|i|i|s129|s2049|i|i|i|i|",
            "SET NOCOUNT ON \n"
            "SELECT DISTINCT V.* \n"
            "FROM ##YBBrowseByClientTmp TmpTbl, YBPhysicalVolume V \n"
            "WHERE (TmpTbl.PrimaryVolumeId = V.id OR TmpTbl.PhysicalVolumeId = V.Id) \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBBrowseByClient2", ())

YBBROWSE_ASSERT_LAYOUT(YBBrowseByClient2, YBBrowseByClient2_t, YBPhysicalVolume_t, YBBrowseByClient2_COLUMNS, true)
