// The hosts a request's deletions left in their trail, asked once the
// request can no longer be refused, and what is put back or reported after
// its rollback.
#include "service/DeletionTrail.h"

#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"

namespace steps {

bool DeleteSnapshotsOnHost(ReplicationMgr& mgr, const DeleteAllSnapsFromScratchVolumeArgs_t& host,
                           std::string& errMsg)
{
    if (mgr.DeleteAllSnapsFromScratchVolume(host)) return true;
    errMsg = "Failed to delete the snapshots in the scratch volume";
    return false;
}

bool AskHostsLeft(ReplicationMgr& mgr, DeletionTrail& trail, std::string& errMsg)
{
    std::vector<SnapshotsLeftOnHost> left;
    left.swap(trail.snapshotsLeft);
    for (const SnapshotsLeftOnHost& released : left) {
        // From now on its snapshots may be gone from its host.
        trail.releasedScratchVolumes.push_back(released.scratchVolumeId);
        if (!DeleteSnapshotsOnHost(mgr, released.host, errMsg)) return false;
    }
    return true;
}

void ReportReleasesRolledBack(ReplicationMgr& mgr, const DeletionTrail& trail)
{
    for (int32_t scratchId : trail.releasedScratchVolumes) {
        mgr.log() << "\tEvent: The release of RV scratch volume " << scratchId << " was rolled back"
                  << "\n\tThe snapshots it held may have been deleted on its host already";
        mgr.WriteLogMsg(cases::ProgName, "ReplicationMgr::post()", __LINE__, ReplicationMgr::ERR);
    }
}

void RestoreAfterRollback(ReplicationMgr& mgr, const DeletionTrail& trail)
{
    for (int32_t deviceId : trail.deactivatedDevices) mgr.RestoreControllerAfterRollback(deviceId);
    ReportReleasesRolledBack(mgr, trail);
}

}  // namespace steps
