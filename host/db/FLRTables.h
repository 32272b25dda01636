// Rows and entity classes of the FLR tables: consistency points, their
// snapshots, the snapshots' pair associations, mount points and network
// shares.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/db/CRepTableDB.h"

// Table YBFLRConsistencyPoint. Flags bits: 1 unstable, 2 automount, 4 carried
// as received, 8 archive snap; Type 1 a destination-machine point.
struct YBFLRConsistencyPoint_t {
    int32_t id = 0;
    int32_t CreationTime = 0;
    int32_t FLRSetId = 0;
    int32_t JobId = 0;
    int32_t Flags = 0;
    int32_t ClientId = 0;
    int32_t TallmarkId = 0;
    int32_t SrcClientId = 0;
    int32_t Type = 0;
};

// Table YBFLRSnapshot.
struct YBFLRSnapshot_t {
    int32_t id = 0;
    int32_t ConsistencyPointId = 0;
    char Name[129] = {};
    char SnapVolumeName[1025] = {};
    char VolumeGUID[1025] = {};
    int32_t CreationTime = 0;
    int32_t Reserved = 0;
    int32_t Type = 0;
    char SnapshotPath[1025] = {};
    int32_t AuxValue = 0;
};

// Table YBFLRSnapPair: ties a snapshot to one replication pair (subclient).
struct YBFLRSnapPair_t {
    int32_t id = 0;
    int32_t SnapshotId = 0;
    int32_t PairId = 0;
    int32_t Reserved = 0;
};

// Table YBFLRSnapMountPoint.
struct YBFLRSnapMountPoint_t {
    int32_t id = 0;
    int32_t SnapshotId = 0;
    char MountPath[1025] = {};
    int32_t Reserved = 0;
};

// Table YBFLRSnapNetworkShare: the share of a mount point.
struct YBFLRSnapNetworkShare_t {
    int32_t id = 0;
    int32_t MountPointId = 0;
    char NetShareName[1025] = {};
    int32_t Reserved = 0;
};

extern const DBEntityTable kYBFLRConsistencyPointTable;
extern const DBEntityTable kYBFLRSnapshotTable;
extern const DBEntityTable kYBFLRSnapPairTable;
extern const DBEntityTable kYBFLRSnapMountPointTable;
extern const DBEntityTable kYBFLRSnapNetworkShareTable;

class FLRConsistencyPointDB : public CRepTableDB<YBFLRConsistencyPoint_t> {
public:
    FLRConsistencyPointDB() : CRepTableDB(kYBFLRConsistencyPointTable) {}
};

class FLRSnapshotDB : public CRepTableDB<YBFLRSnapshot_t> {
public:
    FLRSnapshotDB() : CRepTableDB(kYBFLRSnapshotTable) {}

    using CRepTableDB::Update;
    // Applies the SET clause to every row of the where clause; an empty where
    // is refused, a where that matches no row fails with 100.
    bool Update(const char* where, const char* setClause, DBtran* tran) { return updateWhere(setClause, where, tran); }
};

class FLRSnapPairDB : public CRepTableDB<YBFLRSnapPair_t> {
public:
    FLRSnapPairDB() : CRepTableDB(kYBFLRSnapPairTable) {}
};

class FLRSnapMountPointDB : public CRepTableDB<YBFLRSnapMountPoint_t> {
public:
    FLRSnapMountPointDB() : CRepTableDB(kYBFLRSnapMountPointTable) {}
};

class FLRSnapNetworkShareDB : public CRepTableDB<YBFLRSnapNetworkShare_t> {
public:
    FLRSnapNetworkShareDB() : CRepTableDB(kYBFLRSnapNetworkShareTable) {}
};
