// Rows and entity classes of the replication policy, snap engine and volume
// snap parameter tables.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/db/CRepTableDB.h"

// Table YBPolicy: one replication policy.
struct YBPolicy_t {
    int32_t id = 0;
    char name[129] = {};
    int32_t RetentionSeconds = 0;
    int32_t Flags = 0;
    int32_t CopyMgrCtrlId = 0;
    int32_t SnapEngineInfoId = 0;
    int32_t VolumeScratchPoolId = 0;
    int32_t NSnapshot = 0;
    int32_t CopyManagerType = 0;
};

// Table YBSnapEngineInfo: one snap engine with its command hints.
struct YBSnapEngineInfo_t {
    int32_t id = 0;
    char name[129] = {};
    int32_t Flags = 0;
    char MountCmdHint[257] = {};
    char UnmountCmdHint[257] = {};
    char SyncCmdHint[257] = {};
    char UnsyncCmdHint[257] = {};
    char SnapCmdHint[257] = {};
    char UnsnapCmdHint[257] = {};
    int32_t OsType = 0;
    int32_t Type = 0;
    char RollbackCmdHint[257] = {};
};

// Table YBVolSnapParams: the snap parameters of one SNR volume, keyed by it.
struct YBVolSnapParams_t {
    int32_t SNRVolumeId = 0;
    int32_t SnapEngineId = 0;
    int32_t MountClientId = 0;
    char MountCmd[257] = {};
    char UnmountCmd[257] = {};
    int32_t SyncClientId = 0;
    char SyncCmd[257] = {};
    char UnsyncCmd[257] = {};
    int32_t SnapClientId = 0;
    char SnapCmd[257] = {};
    char UnsnapCmd[257] = {};
    int32_t Flags = 0;
    char RollbackCmd[257] = {};
};

extern const DBEntityTable kYBPolicyTable;
extern const DBEntityTable kYBSnapEngineInfoTable;
extern const DBEntityTable kYBVolSnapParamsTable;

class CReplicationPolicyDB : public CRepTableDB<YBPolicy_t> {
public:
    CReplicationPolicyDB() : CRepTableDB(kYBPolicyTable) {}
};

class CSnapEngineInfoDB : public CRepTableDB<YBSnapEngineInfo_t> {
public:
    CSnapEngineInfoDB() : CRepTableDB(kYBSnapEngineInfoTable) {}
};

// Keyed by the SNR volume id, which the caller sets before an insert.
class CVolumeSnapParamsDB : public CRepTableDB<YBVolSnapParams_t> {
public:
    CVolumeSnapParamsDB() : CRepTableDB(kYBVolSnapParamsTable) {}
};
