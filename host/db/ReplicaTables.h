// Rows and entity classes of the replication volume, scratch volume, scratch
// pool, subclient link and application directory tables.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/db/CRepTableDB.h"

// Table YBVolume: one copy of a primary SNR volume. All zero when made.
struct YBVolume_t {
    int32_t id = 0;
    int32_t PointInTime = 0;
    int32_t CreationTime = 0;
    int32_t ModifyTime = 0;
    int32_t CurrentState = 0;
    int32_t CurrentRole = 0;
    int32_t PrimaryVolumeId = 0;
    int32_t PhysicalVolumeId = 0;
    int32_t ReplicationPolicyId = 0;
    int32_t RVScratchVolumeId = 0;
    int32_t Flags = 0;
    int32_t JobId = 0;
    int32_t SnapVolumeId = 0;
    int32_t SnapEngineType = 0;
    char SnapvaultReplicaDir[1025] = {};
    char SourceGUID[257] = {};
};

// Table YBScratchVolume: ties one SNR volume to one scratch pool.
struct YBScratchVolume_t {
    int32_t id = 0;
    int32_t PhysicalVolumeId = 0;
    int32_t RVScratchVolumePoolId = 0;
    int32_t Flags = 0;
    int32_t LockedByJobId = 0;
};

// Table YBScratchPool: a scratch volume pool.
struct YBScratchPool_t {
    int32_t id = 0;
    int32_t TotalVolumes = 0;
    int32_t AvailableVolumes = 0;
    char name[129] = {};
    int32_t reserved = 0;
    int32_t SnapEngineInfoId = 0;
    int32_t Type = 0;
};

// Table YBSubclientYBVolumes: links a subclient (Scid) to a replication
// volume.
struct YBSubclientYBVolumes_t {
    int32_t id = 0;
    int32_t Scid = 0;
    int32_t YBVolumeId = 0;
    int32_t Reserved = 0;  // not stored
};

extern const DBEntityTable kYBVolumeTable;
extern const DBEntityTable kYBScratchVolumeTable;
extern const DBEntityTable kYBScratchPoolTable;
extern const DBEntityTable kYBSubclientYBVolumesTable;

class CReplicationVolumeDB : public CRepTableDB<YBVolume_t> {
public:
    CReplicationVolumeDB() : CRepTableDB(kYBVolumeTable) {}
};

class CRVScratchVolumeDB : public CRepTableDB<YBScratchVolume_t> {
public:
    CRVScratchVolumeDB() : CRepTableDB(kYBScratchVolumeTable) {}
};

class CRVScratchVolumePoolDB : public CRepTableDB<YBScratchPool_t> {
public:
    CRVScratchVolumePoolDB() : CRepTableDB(kYBScratchPoolTable) {}
};

class YBSubclientYBVolumesDB : public CRepTableDB<YBSubclientYBVolumes_t> {
public:
    YBSubclientYBVolumesDB() : CRepTableDB(kYBSubclientYBVolumesTable) {}
};

// Table YBApplicationDirs. Its row, YBApplicationDirs_t (id, subclientId,
// clientId, pathType, objName[2049], path[2049], creationTime, modifyTime,
// ReplicationVolumeId, Flags), is the one the row facility's table class of
// the same table binds; the entity class takes it as it is, so the class is
// complete wherever that row is.
struct YBApplicationDirs_t;

template <typename Row>
struct ApplicationDirsColumns {
    static constexpr DBEntityColumn columns[] = {
        DB_ENTITY_COLUMN(Row, id, DB_COL_INT32, true, true),
        DB_ENTITY_COLUMN(Row, subclientId, DB_COL_INT32, false, false),
        DB_ENTITY_COLUMN(Row, clientId, DB_COL_INT32, false, false),
        DB_ENTITY_COLUMN(Row, pathType, DB_COL_INT32, false, false),
        DB_ENTITY_COLUMN(Row, objName, DB_COL_TEXT, false, false),
        DB_ENTITY_COLUMN(Row, path, DB_COL_TEXT, false, false),
        DB_ENTITY_COLUMN(Row, creationTime, DB_COL_INT32, false, false),
        DB_ENTITY_COLUMN(Row, modifyTime, DB_COL_INT32, false, false),
        DB_ENTITY_COLUMN(Row, ReplicationVolumeId, DB_COL_INT32, false, false),
        DB_ENTITY_COLUMN(Row, Flags, DB_COL_INT32, false, false),
    };
    static constexpr DBEntityTable table = dbEntityTable("YBApplicationDirs", columns);
};

template <typename Row>
class ApplicationDirsTableDB : public CRepTableDB<Row> {
public:
    ApplicationDirsTableDB() : CRepTableDB<Row>(ApplicationDirsColumns<Row>::table) {}
};

using ApplicationDirsDB = ApplicationDirsTableDB<YBApplicationDirs_t>;
