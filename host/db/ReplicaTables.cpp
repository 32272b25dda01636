#include "host/db/ReplicaTables.h"

namespace {

const DBEntityColumn kVolumeColumns[] = {
    DB_ENTITY_COLUMN(YBVolume_t, id, DB_COL_INT32, true, true),
    DB_ENTITY_COLUMN(YBVolume_t, PointInTime, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBVolume_t, CreationTime, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBVolume_t, ModifyTime, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBVolume_t, CurrentState, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBVolume_t, CurrentRole, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBVolume_t, PrimaryVolumeId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBVolume_t, PhysicalVolumeId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBVolume_t, ReplicationPolicyId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBVolume_t, RVScratchVolumeId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBVolume_t, Flags, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBVolume_t, JobId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBVolume_t, SnapVolumeId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBVolume_t, SnapEngineType, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBVolume_t, SnapvaultReplicaDir, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBVolume_t, SourceGUID, DB_COL_TEXT, false, false),
};

const DBEntityColumn kScratchVolumeColumns[] = {
    DB_ENTITY_COLUMN(YBScratchVolume_t, id, DB_COL_INT32, true, true),
    DB_ENTITY_COLUMN(YBScratchVolume_t, PhysicalVolumeId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBScratchVolume_t, RVScratchVolumePoolId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBScratchVolume_t, Flags, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBScratchVolume_t, LockedByJobId, DB_COL_INT32, false, false),
};

const DBEntityColumn kScratchPoolColumns[] = {
    DB_ENTITY_COLUMN(YBScratchPool_t, id, DB_COL_INT32, true, true),
    DB_ENTITY_COLUMN(YBScratchPool_t, TotalVolumes, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBScratchPool_t, AvailableVolumes, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBScratchPool_t, name, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBScratchPool_t, reserved, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBScratchPool_t, SnapEngineInfoId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBScratchPool_t, Type, DB_COL_INT32, false, false),
};

const DBEntityColumn kSubclientVolumeColumns[] = {
    DB_ENTITY_COLUMN(YBSubclientYBVolumes_t, id, DB_COL_INT32, true, true),
    DB_ENTITY_COLUMN(YBSubclientYBVolumes_t, Scid, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBSubclientYBVolumes_t, YBVolumeId, DB_COL_INT32, false, false),
};

}  // namespace

const DBEntityTable kYBVolumeTable = dbEntityTable("YBVolume", kVolumeColumns);
const DBEntityTable kYBScratchVolumeTable = dbEntityTable("YBScratchVolume", kScratchVolumeColumns);
const DBEntityTable kYBScratchPoolTable = dbEntityTable("YBScratchPool", kScratchPoolColumns);
const DBEntityTable kYBSubclientYBVolumesTable = dbEntityTable("YBSubclientYBVolumes", kSubclientVolumeColumns);
