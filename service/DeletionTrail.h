// The trail one request's deletions keep of what they did outside the
// database: the hosts still to be asked to delete the snapshots of the
// scratch volumes they released, asked once nothing of the request can be
// refused any more, and what is restored or reported after a rollback.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class ReplicationMgr;

// The snapshots of a scratch volume on the one host that sees it: the
// client and the device name of the volume there.
struct DeleteAllSnapsFromScratchVolumeArgs_t {
    DeleteAllSnapsFromScratchVolumeArgs_t(int32_t clientId, std::string volume)
        : ClientId(clientId), Volume(std::move(volume))
    {
    }

    int32_t ClientId;
    std::string Volume;  // the device name of the scratch volume on that client
};

// A scratch volume released in the database whose snapshots its host still
// has.
struct SnapshotsLeftOnHost {
    int32_t scratchVolumeId;
    DeleteAllSnapsFromScratchVolumeArgs_t host;
};

// What one request's deletions are doing: the SNR volumes whose deletion is
// under way (a volume among them is not entered again), the devices whose
// controller they switched off, the scratch volumes they released whose
// snapshots are still to be deleted on their host, and those whose host was
// asked. A caller that owns the transaction hands one trail to every
// deletion, asks the hosts left (steps::AskHostsLeft) when they all
// succeeded and, after rolling back, hands the trail to
// steps::RestoreAfterRollback. A deletion whose caller gave no trail keeps
// one of its own (steps::KeptTrail, service/DeletionCase.h).
struct DeletionTrail {
    std::vector<int32_t> volumesBeingDeleted;
    std::vector<int32_t> deactivatedDevices;
    std::vector<SnapshotsLeftOnHost> snapshotsLeft;
    std::vector<int32_t> releasedScratchVolumes;
};

namespace steps {

// Asks the host of a released scratch volume to delete the snapshots on it;
// false with "Failed to delete the snapshots in the scratch volume" (the
// host call wrote its entry).
bool DeleteSnapshotsOnHost(ReplicationMgr& mgr, const DeleteAllSnapsFromScratchVolumeArgs_t& host,
                           std::string& errMsg);

// Asks the hosts the trail holds to delete the snapshots of the scratch
// volumes released, each counted as released from the moment it is asked;
// false with the failure text at the first that fails.
bool AskHostsLeft(ReplicationMgr& mgr, DeletionTrail& trail, std::string& errMsg);

// The releases of scratch volumes whose host was asked, each reported at ERR
// as rolled back with its snapshots perhaps gone from its host.
void ReportReleasesRolledBack(ReplicationMgr& mgr, const DeletionTrail& trail);

// After the rollback of deletions that kept this trail: the controller of
// each device they switched off is made to match its rows again (active
// while it has a mounted mount point), and the releases that reached a host
// are reported.
void RestoreAfterRollback(ReplicationMgr& mgr, const DeletionTrail& trail);

}  // namespace steps
