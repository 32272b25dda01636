// Every replication volume with an id above 0, in ascending id order.
#pragma once

#include "rows/RowFamily.h"

#define YBGetYBVolList_COLUMNS(I, B, S) \
    I(id)                               \
    I(PointInTime)                      \
    I(CreationTime)                     \
    I(ModifyTime)                       \
    I(CurrentState)                     \
    I(CurrentRole)                      \
    I(PrimaryVolumeId)                  \
    I(PhysicalVolumeId)                 \
    I(ReplicationPolicyId)              \
    I(RVScratchVolumeId)                \
    I(Flags)                            \
    I(JobId)                            \
    I(SnapVolumeId)                     \
    I(SnapEngineType)                   \
    S(SnapvaultReplicaDir, 1025)        \
    S(SourceGUID, 257)

ZXDB_CURSOR(YBGetYBVolList, YBGetYBVolList_COLUMNS, "i|i|i|i|i|i|i|i|i|i|i|i|i|i|s1025|s257|",
            "SET NOCOUNT ON \n"
            "\tSELECT * \n"
            "\tFROM YBVolume \n"
            "\tWHERE (id > 0) \n"
            "\tORDER BY id ASC \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBGetYBVolList", ())
