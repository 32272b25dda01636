// The replication volumes linked to one subclient, once per link row, in
// ascending volume id order.
#pragma once

#include "rows/RowFamily.h"

#define YBGetYBVolumesBySubclientId_COLUMNS(I, B, S) \
    I(id)                                            \
    I(PointInTime)                                   \
    I(CreationTime)                                  \
    I(ModifyTime)                                    \
    I(CurrentState)                                  \
    I(CurrentRole)                                   \
    I(PrimaryVolumeId)                               \
    I(PhysicalVolumeId)                              \
    I(ReplicationPolicyId)                           \
    I(RVScratchVolumeId)                             \
    I(Flags)                                         \
    I(JobId)                                         \
    I(SnapVolumeId)                                  \
    I(SnapEngineType)                                \
    S(SnapvaultReplicaDir, 1025)                     \
    S(SourceGUID, 257)

ZXDB_CURSOR(YBGetYBVolumesBySubclientId, YBGetYBVolumesBySubclientId_COLUMNS, "i|i|i|i|i|i|i|i|i|i|i|i|i|i|s1025|s257|",
            "SET NOCOUNT ON \n"
            "\tSELECT Q.* \n"
            "\tFROM YBVolume Q, YBSubclientYBVolumes S \n"
            "\tWHERE (Q.id = S.YBVolumeId AND S.Scid = %d) \n"
            "\tORDER BY Q.id ASC \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBGetYBVolumesBySubclientId", (int subclientId))
