// The hosts a request's deletions left in their trail, made ready and then
// asked once the request can no longer be refused, and the controllers set
// and hosts reported after its rollback.
#include "service/DeletionTrail.h"

#include <set>

#include "host/EvDebug.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"

namespace steps {

bool AskHosts(ReplicationMgr& mgr, const std::vector<SnapshotsLeftOnHost>& hosts, std::vector<HostThatActed>& acted,
              std::string& errMsg)
{
    auto failed = [&]() {
        errMsg = "Failed to delete the snapshots in the scratch volume";
        return false;
    };
    std::vector<ReadyHost> ready(hosts.size());
    for (size_t i = 0; i < hosts.size(); ++i)
        if (!mgr.ReadyForSnapshotDeletion(hosts[i].host, ready[i])) return failed();
    for (size_t i = 0; i < hosts.size(); ++i) {
        const DeleteAllSnapsFromScratchVolumeArgs_t& host = hosts[i].host;
        if (!mgr.DeleteSnapsOnReadyHost(host, ready[i])) return failed();
        if (ready[i].installed)
            acted.push_back({hosts[i].scratchVolumeId, host.ClientId, ready[i].name, host.Volume,
                             "Its host had already deleted the snapshots it held"});
    }
    return true;
}

bool AskHostsLeft(ReplicationMgr& mgr, DeletionTrail& trail, std::string& errMsg)
{
    std::vector<SnapshotsLeftOnHost> left;
    left.swap(trail.snapshotsLeft);
    return AskHosts(mgr, left, trail.hostsThatActed, errMsg);
}

void ReportHostsThatActed(ReplicationMgr& mgr, const std::vector<HostThatActed>& acted)
{
    for (const HostThatActed& host : acted) {
        mgr.log() << "\tEvent: The release of RV scratch volume " << host.scratchVolumeId << " was rolled back"
                  << "\n\t" << host.deed << "\n\tClient ID   = " << host.clientId
                  << "\n\tClient Name = " << EvDebug::escaped(host.hostName)
                  << "\n\tVolume      = " << EvDebug::escaped(host.volume);
        mgr.WriteLogMsg(cases::ProgName, "ReplicationMgr::post()", __LINE__, ReplicationMgr::ERR);
    }
}

void RestoreAfterRollback(ReplicationMgr& mgr, const DeletionTrail& trail)
{
    std::set<int32_t> seen;
    for (const ControllerSwitchedOff& device : trail.deactivatedDevices)
        if (seen.insert(device.deviceId).second) mgr.RestoreControllerAfterRollback(device.deviceId);
    ReportHostsThatActed(mgr, trail.hostsThatActed);
}

}  // namespace steps
