// Browse by client, step 4: the scratch volumes on the physical volume of a browsed replication
// volume.
#pragma once

#include "rows/Db/Cursor/YBBrowseLayout.h"
#include "rows/Db/Cursor/YBRowColumns.h"
#include "rows/RowFamily.h"

#define YBBrowseByClient4_COLUMNS(I, B, S) YB_SCRATCH_VOLUME_COLUMNS(I, B, S)

// SQLite statement run: RegisterBrowseStatements in host/db/statements/BrowseStatements.cpp
ZXDB_CURSOR(YBBrowseByClient4, YBBrowseByClient4_COLUMNS, "i|i|i|i|i|",
            "SET NOCOUNT ON \n"
            "SELECT DISTINCT SV.* \n"
            "FROM ##YBBrowseByClientTmp TmpTbl, YBScratchVolume SV \n"
            "WHERE (TmpTbl.PhysicalVolumeId = SV.PhysicalVolumeId) \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBBrowseByClient4", ())

YBBROWSE_ASSERT_LAYOUT(YBBrowseByClient4, YBBrowseByClient4_t, YBScratchVolume_t, YBBrowseByClient4_COLUMNS, true)
