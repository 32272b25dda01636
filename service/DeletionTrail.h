// The trail one request's deletions keep of what they did outside the
// database, for putting it back after a rollback.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A scratch volume a deletion released in the database whose snapshots its
// host still has: the client and the device name of the volume there.
struct SnapshotsLeftOnHost {
    int32_t scratchVolumeId;
    int32_t clientId;
    std::string volume;
};

// What one request's deletions are doing: the SNR volumes whose deletion is
// under way (a volume among them is not entered again), the devices whose
// controller they switched off, the scratch volumes they released whose
// snapshots are still to be deleted on their host, once nothing of the
// request can be refused any more (ReplicationMgr::AskHostsLeft), and those
// whose host was asked. A caller that owns the transaction hands one trail to
// every deletion, asks the hosts left when they all succeeded and, after
// rolling back, hands the trail to ReplicationMgr::RestoreAfterRollback.
struct DeletionTrail {
    std::vector<int32_t> volumesBeingDeleted;
    std::vector<int32_t> deactivatedDevices;
    std::vector<SnapshotsLeftOnHost> snapshotsLeft;
    std::vector<int32_t> releasedScratchVolumes;
};
