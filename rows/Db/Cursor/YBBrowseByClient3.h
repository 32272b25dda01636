// Browse by client, step 3: the devices on the primary or the physical volume of a browsed
// replication volume.
#pragma once

#include "rows/Db/Cursor/YBBrowseLayout.h"
#include "rows/Db/Cursor/YBGetSNRDeviceByClientId.h"
#include "rows/Db/Cursor/YBGetSNRDeviceByPoolId.h"
#include "rows/Db/Cursor/YBGetSNRDeviceNameBySNRVolId.h"
#include "rows/RowFamily.h"

#define YBBrowseByClient3_COLUMNS(I, B, S) \
    I(id)                                  \
    I(ClientId)                            \
    I(SNRVolumeId)                         \
    S(DeviceName, 1025)                    \
    I(Flags)                               \
    S(OSDeviceName, 1025)                  \
    S(AccessPath, 129)                     \
    I(FilerClientId)

ZXDB_CURSOR(YBBrowseByClient3, YBBrowseByClient3_COLUMNS, "i|i|i|s1025|i|s1025|s129|i|",
            "SET NOCOUNT ON \n"
            "SELECT DISTINCT D.* \n"
            "FROM ##YBBrowseByClientTmp TmpTbl, YBPhysicalDevice D \n"
            "WHERE (D.SNRVolumeId = TmpTbl.PrimaryVolumeId OR D.SNRVolumeId = TmpTbl.PhysicalVolumeId) \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBBrowseByClient3", ())

YBBROWSE_ASSERT_LAYOUT(YBBrowseByClient3, YBBrowseByClient3_t, YBPhysicalDevice_t, YBBrowseByClient3_COLUMNS, true)

// The device rows of the other cursors lie the same way.
YBBROWSE_ASSERT_LAYOUT(YBBrowseByClient3_YBGetSNRDeviceByClientId, YBBrowseByClient3_t, YBGetSNRDeviceByClientId_t,
                       YBBrowseByClient3_COLUMNS, true)
YBBROWSE_ASSERT_LAYOUT(YBBrowseByClient3_YBGetSNRDeviceByPoolId, YBBrowseByClient3_t, YBGetSNRDeviceByPoolId_t,
                       YBBrowseByClient3_COLUMNS, true)
YBBROWSE_ASSERT_LAYOUT(YBBrowseByClient3_YBGetSNRDeviceNameBySNRVolId, YBBrowseByClient3_t,
                       YBGetSNRDeviceNameBySNRVolId_t, YBBrowseByClient3_COLUMNS, true)
