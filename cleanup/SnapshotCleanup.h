// Argument and result records of the removal of snapshots from clients and of
// the client actions beside it: removing a mount point, switching the block
// filter driver and deleting every snapshot of a scratch volume.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "service/DeletionTrail.h"  // DeleteAllSnapsFromScratchVolumeArgs_t

class DBtran;

// One snapshot (a replication volume record) to remove, as pruning and the
// job-scoped freeing of replication volumes fill it. Copyable.
struct SnapShotCleanupArgs_t {
    int32_t ClientId = -1;             // a client with a device on the snapshot's SNR volume
    int32_t PrimaryVolumeId = -1;      // the source volume
    int32_t PhysicalVolumeId = -1;     // the SNR volume holding the snapshot
    int32_t ReplicationPolicyId = -1;
    int32_t SnapVolumeId = -1;
    bool SnapVault = false;            // the SNR volume is a snap-vault volume (type 4)
    int64_t JobId = 0;                 // 0: no job
    int32_t SnapEngineType = -1;       // 0: no snapshot engine, the record alone goes
    int32_t ReplicationVolumeId = -1;  // the snapshot's record
    bool TransportableSnap = false;    // Flags bit 0x20 of the replication volume
    bool SNRFlag0x20 = false;          // Flags bit 0x20 of the SNR volume: clean up as a regular snapshot
    DBtran* Tran = nullptr;            // the caller's transaction for a removal from the database; may be null
    std::string EventText;             // text of the events around the tool run; "" raises none
};

struct UnmountVolumeArgs_t {
    int32_t ClientId = -1;
    std::string MountPath;
};

struct YBSetBlkFilterArgs_t {
    explicit YBSetBlkFilterArgs_t(int32_t clientId) : ClientId(clientId) {}

    int32_t ClientId;
    std::vector<std::string> EnableVolumes;   // volume names whose block filter driver is switched on
    std::vector<std::string> DisableVolumes;  // and off
};
struct YBSetBlkFilterRet_t {
    int32_t errCode = 0;
    std::string errMsg;
};
