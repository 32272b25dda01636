// The trail one request's deletions keep of what they did outside the
// database, for putting it back after a rollback.
#pragma once

#include <cstdint>
#include <vector>

// What one request's deletions are doing: the SNR volumes whose deletion is
// under way (a volume among them is not entered again), the devices whose
// controller they switched off and the scratch volumes they released, whose
// snapshots the release may have deleted on their host. A caller that owns
// the transaction hands one trail to every deletion and, after rolling back,
// to ReplicationMgr::RestoreAfterRollback.
struct DeletionTrail {
    std::vector<int32_t> volumesBeingDeleted;
    std::vector<int32_t> deactivatedDevices;
    std::vector<int32_t> releasedScratchVolumes;
};
