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

// A host made ready to delete the snapshots of a scratch volume: its network
// name looked up and whether the agent is installed on it read.
struct ReadyHost {
    std::string name;
    bool installed = false;
};

// What a host did outside the database for the release of a scratch volume
// before the release was committed: reported at ERR when the release is
// rolled back after all (steps::ReportHostsThatActed).
struct HostThatActed {
    int32_t scratchVolumeId;
    int32_t clientId;
    std::string hostName;
    std::string volume;  // the volume it acted on, as that host names it
    std::string deed;    // a line saying what it did
};

// A device whose controller a deletion, or a step nested in it, switched off.
struct ControllerSwitchedOff {
    int32_t deviceId;
};

// What one request's deletions are doing: the SNR volumes whose deletion is
// under way (a volume among them is not entered again), the devices whose
// controller they switched off (also in nested steps that committed in the
// caller's transaction), the scratch volumes they released whose
// snapshots are still to be deleted on their host, and the hosts that
// deleted them. A caller that owns the transaction hands one trail to every
// deletion, asks the hosts left (steps::AskHostsLeft) when they all
// succeeded and, after rolling back, hands the trail to
// steps::RestoreAfterRollback. A deletion whose caller gave no trail keeps
// one of its own (steps::KeptTrail, service/DeletionCase.h).
struct DeletionTrail {
    std::vector<int32_t> volumesBeingDeleted;
    std::vector<ControllerSwitchedOff> deactivatedDevices;
    std::vector<SnapshotsLeftOnHost> snapshotsLeft;
    std::vector<HostThatActed> hostsThatActed;
};

namespace steps {

// Has the hosts of the released scratch volumes delete the snapshots on
// them: first every host is made ready, and a host that cannot be (its name
// or its agent unread) fails the call with no host asked anything; then
// each is asked in order, a host without the agent having nothing to delete
// with. Each host that deleted is added to `acted`. False with "Failed to
// delete the snapshots in the scratch volume" (the host calls wrote their
// entries).
bool AskHosts(ReplicationMgr& mgr, const std::vector<SnapshotsLeftOnHost>& hosts, std::vector<HostThatActed>& acted,
              std::string& errMsg);

// AskHosts for the hosts the trail holds, which it no longer holds after.
bool AskHostsLeft(ReplicationMgr& mgr, DeletionTrail& trail, std::string& errMsg);

// One ERR entry for each host that acted, naming the scratch volume whose
// release was rolled back and the host.
void ReportHostsThatActed(ReplicationMgr& mgr, const std::vector<HostThatActed>& acted);

// After the rollback of deletions that kept this trail: the controller of
// each device they switched off is set, once, as the device's rows now give
// (ReplicationMgr::RestoreControllerAfterRollback), and the hosts that
// deleted snapshots are reported.
void RestoreAfterRollback(ReplicationMgr& mgr, const DeletionTrail& trail);

}  // namespace steps
