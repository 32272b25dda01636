// What retention pruning frees for one due volume: a replica's mount points,
// its NAS snap-vault copy and its scratch volume; a snapshot on each of its
// clients (a step the freeing of a job's volumes shares). Internal to replicas/.
#pragma once

#include <string>
#include <vector>

#include "host/db/SNRTables.h"
#include "replicas/ReplicaRecords.h"
#include "snr/SNRRecords.h"

class ReplicationMgr;
struct SnapShotCleanupArgs_t;

namespace replica_detail {

constexpr char PruneFn[] = "ReplicationMgr::PruneReplicationVolumes()";

// An entry of the pruning pass's log at level, written at line.
void PruneLog(ReplicationMgr& mgr, const std::string& text, long line, int level);

// Each returns true when everything the volume held was freed; false after a
// logged problem, the volume's id being for the caller to list. snr is the
// SNR volume row of the volume's PhysicalVolumeId, devices the devices the
// pass looked up for it.
bool PruneReplica(ReplicationMgr& mgr, const ReplicationVolumeV4Record_t& volume, const YBPhysicalVolume_t& snr,
                  const std::vector<SNRVolumeDeviceNameRecord_t>& devices);
bool PruneSnapshot(ReplicationMgr& mgr, const ReplicationVolumeV4Record_t& volume, const YBPhysicalVolume_t& snr,
                   const std::vector<SNRVolumeDeviceNameRecord_t>& devices);

// Snapshot cleanup of replication volume ybVolumeId with `cleanup` (every
// field but the client id set), once for each client among the devices;
// stops at the first failure, logged at WARNING under `function`. True when
// every client was cleaned.
bool CleanupOnEachClient(ReplicationMgr& mgr, int ybVolumeId, SnapShotCleanupArgs_t cleanup,
                         const std::vector<SNRVolumeDeviceNameRecord_t>& devices, const char* function);

}  // namespace replica_detail
