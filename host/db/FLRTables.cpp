#include "host/db/FLRTables.h"

namespace {

const DBEntityColumn kConsistencyPointColumns[] = {
    DB_ENTITY_COLUMN(YBFLRConsistencyPoint_t, id, DB_COL_INT32, true, true),
    DB_ENTITY_COLUMN(YBFLRConsistencyPoint_t, CreationTime, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBFLRConsistencyPoint_t, FLRSetId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBFLRConsistencyPoint_t, JobId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBFLRConsistencyPoint_t, Flags, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBFLRConsistencyPoint_t, ClientId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBFLRConsistencyPoint_t, TallmarkId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBFLRConsistencyPoint_t, SrcClientId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBFLRConsistencyPoint_t, Type, DB_COL_INT32, false, false),
};

const DBEntityColumn kSnapshotColumns[] = {
    DB_ENTITY_COLUMN(YBFLRSnapshot_t, id, DB_COL_INT32, true, true),
    DB_ENTITY_COLUMN(YBFLRSnapshot_t, ConsistencyPointId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBFLRSnapshot_t, Name, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBFLRSnapshot_t, SnapVolumeName, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBFLRSnapshot_t, VolumeGUID, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBFLRSnapshot_t, CreationTime, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBFLRSnapshot_t, Reserved, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBFLRSnapshot_t, Type, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBFLRSnapshot_t, SnapshotPath, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBFLRSnapshot_t, AuxValue, DB_COL_INT32, false, false),
};

const DBEntityColumn kSnapPairColumns[] = {
    DB_ENTITY_COLUMN(YBFLRSnapPair_t, id, DB_COL_INT32, true, true),
    DB_ENTITY_COLUMN(YBFLRSnapPair_t, SnapshotId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBFLRSnapPair_t, PairId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBFLRSnapPair_t, Reserved, DB_COL_INT32, false, false),
};

const DBEntityColumn kMountPointColumns[] = {
    DB_ENTITY_COLUMN(YBFLRSnapMountPoint_t, id, DB_COL_INT32, true, true),
    DB_ENTITY_COLUMN(YBFLRSnapMountPoint_t, SnapshotId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBFLRSnapMountPoint_t, MountPath, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBFLRSnapMountPoint_t, Reserved, DB_COL_INT32, false, false),
};

const DBEntityColumn kNetworkShareColumns[] = {
    DB_ENTITY_COLUMN(YBFLRSnapNetworkShare_t, id, DB_COL_INT32, true, true),
    DB_ENTITY_COLUMN(YBFLRSnapNetworkShare_t, MountPointId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBFLRSnapNetworkShare_t, NetShareName, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBFLRSnapNetworkShare_t, Reserved, DB_COL_INT32, false, false),
};

}  // namespace

const DBEntityTable kYBFLRConsistencyPointTable = dbEntityTable("YBFLRConsistencyPoint", kConsistencyPointColumns);
const DBEntityTable kYBFLRSnapshotTable = dbEntityTable("YBFLRSnapshot", kSnapshotColumns);
const DBEntityTable kYBFLRSnapPairTable = dbEntityTable("YBFLRSnapPair", kSnapPairColumns);
const DBEntityTable kYBFLRSnapMountPointTable = dbEntityTable("YBFLRSnapMountPoint", kMountPointColumns);
const DBEntityTable kYBFLRSnapNetworkShareTable = dbEntityTable("YBFLRSnapNetworkShare", kNetworkShareColumns);
