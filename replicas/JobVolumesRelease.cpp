// Freeing what one job left on the clients: its replicas are unmounted and
// their scratch volumes released, its snapshots cleaned up; and the
// unmounting of a replica's devices, which retention pruning uses as well.
#include "replicas/JobVolumesRelease.h"

#include <set>
#include <string>
#include <vector>

#include "cleanup/SnapshotCleanup.h"
#include "replicas/PruneReleases.h"
#include "replicas/ReplicaRecords.h"
#include "replicas/ReplicaVolumeQueries.h"
#include "scratch/ScratchRelease.h"
#include "service/DeletionTrail.h"
#include "service/ErrorCodes.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"
#include "service/TableLock.h"
#include "snr/DeviceQueries.h"
#include "snr/MountPoints.h"

namespace {

const char FreeFn[] = "ReplicationMgr::FreeYBVolumesByJobId()";
const char UnmountFn[] = "ReplicationMgr::UnmountYBVolumeDevices()";

}  // namespace

bool ReplicationMgr::UnmountYBVolumeDevices(int ybVolumeId, const std::vector<SNRVolumeDeviceNameRecord_t>& devices,
                                            DeletionTrail* trail)
{
    std::set<int32_t> handled;
    for (const SNRVolumeDeviceNameRecord_t& device : devices) {
        if (!handled.insert(device.ClientId).second) continue;  // one unmount pass per client

        QuerySNRVolMountPointBySNRVolDevIdArgs_t mountArgs;
        mountArgs.DeviceId = device.id;
        QuerySNRVolMountPointBySNRVolDevIdRet_t mounts;
        bool stopped = !QuerySNRVolMountPoint(mountArgs, mounts, nullptr);
        for (size_t i = 0; !stopped && i < mounts.MountPoints.size(); ++i) {
            const SNRVolumeMountPointRecord_t& mount = mounts.MountPoints[i];
            if (mount.Unmounted) continue;
            UnmountVolumeArgs_t unmount;
            unmount.ClientId = device.ClientId;
            unmount.MountPath = mount.Path;
            if (!UnmountVolume(unmount)) {
                m_LogMsg << "\tCannot unmount mount point " << mount.Path << ", Client ID = " << device.ClientId
                         << ", Replication volume = " << ybVolumeId;
                WriteLogMsg(ProgNameDeletes, UnmountFn, __LINE__, WARNING);
                stopped = true;
                break;
            }
            RemoveSNRMountPointArgs_t removeArgs;
            removeArgs.MountPointId = mount.id;
            RemoveSNRMountPointRet_t removed;
            // Nested in whatever transaction is open: a removal that fails
            // part way leaves the row as it was, as the warning says; one
            // that succeeded is in the trail for the caller's rollback.
            if (!DeleteMountPointNested(removeArgs, removed, trail)) {
                m_LogMsg << "\tWarning: Mount point information remains in the database although volume has been unmounted"
                         << "\n\tCheck database" << "\n\tSNR Volume Mount Point ID = " << mount.id;
                WriteLogMsg(ProgNameDeletes, UnmountFn, __LINE__, WARNING);
                stopped = true;
            }
        }
        if (stopped) {
            m_LogMsg << "\tEvent: Unmount process could not be completed"
                     << "\n\tVerify Mount point(s) for device " << device.id;
            WriteLogMsg(ProgNameDeletes, UnmountFn, __LINE__, WARNING);
            return false;
        }
    }
    return true;
}

bool ReplicationMgr::FreeYBVolumesByJobId(const FreeYBVolumesByJobIdArgs_t& args, FreeYBVolumesByJobIdRet_t& ret,
                                          DBtran* tran, const std::string& eventText, DeletionTrail* trail)
{
    if (args.jobId == 0) {
        ret.errMsg = "YB Volumes cannot be freed for job id 0";
        ret.errCode = kErrInvalidId;
        m_LogMsg << "\tEvent: " << ret.errMsg;
        WriteLogMsg(ProgNameDeletes, FreeFn, __LINE__, ERR);
        return false;
    }

    QueryReplicationVolumeByJobIdV3Ret_t listed;
    {
        LockTableRet_t lock;
        if (!LockTable(LockTableArgs_t(REPLICAVOL_LOCK), lock)) {
            // The lock's own text and code, not those of an earlier step.
            ret.errMsg = lock.m_sErrorMsg;
            ret.errCode = lock.m_nErrorCode;
            return false;
        }
        HeldTableLock held(*this, lock);
        QueryReplicationVolumeByJobIdV3Args_t queryArgs;
        queryArgs.jobId = args.jobId;
        if (!QueryReplicationVolumeByJobId(queryArgs, listed, tran)) {
            ret.errMsg = listed.errMsg;
            ret.errCode = listed.errCode;
            return false;
        }
    }
    m_LogMsg << "\t" << listed.volumes.size() << " replication volumes found";
    WriteLogMsg(ProgNameDeletes, FreeFn, __LINE__, MSG);

    for (const ReplicationVolumeV4Record_t& volume : listed.volumes) {
        const int id = volume.id;
        QuerySNRVolDevNameBySNRVolIdArgs_t devArgs;
        const bool onPrimary = volume.CurrentRole == YBVOL_ROLE_SNAPSHOT && !volume.TransportableSnap;
        devArgs.SNRVolumeId = onPrimary ? volume.PrimaryVolumeId : volume.PhysicalVolumeId;
        QuerySNRVolDevNameBySNRVolIdRet_t devices;
        if (!QuerySNRVolDev(devArgs, devices)) {
            m_LogMsg << "\tCould not get client info for replication volume " << id << ". Skipping release process";
            WriteLogMsg(ProgNameDeletes, FreeFn, __LINE__, WARNING);
            continue;
        }

        if (volume.CurrentRole == YBVOL_ROLE_REPLICA) {
            if (!UnmountYBVolumeDevices(id, devices.devices, trail)) {
                m_LogMsg << "\tEvent: Pruning of Replication volume " << id << "will not be performed"
                         << "\n\tReason: Unmount failure";
                WriteLogMsg(ProgNameDeletes, FreeFn, __LINE__, WARNING);
                continue;
            }
            ReleaseRVScratchVolumeV2Args_t releaseArgs;
            releaseArgs.RVScratchVolumeId = volume.RVScratchVolumeId;
            releaseArgs.DBOnly = trail != nullptr;
            ReleaseRVScratchVolumeV2Ret_t released;
            // Nested in the caller's transaction: a release that fails part
            // way leaves this replica's rows as they were. With the caller's
            // trail, the host that holds the volume's snapshots waits there
            // for the caller; without it, the host asked by the release is
            // reported when the nested commit fails.
            bool started = false;
            const bool ok = ReleaseInNestedStep(releaseArgs, released, &started);
            if (ok && released.snapshotsLeft) trail->snapshotsLeft.push_back(*released.snapshotsLeft);
            if (!started) {
                m_LogMsg << "\tCould not initiated database transactions for replication volume " << id;
                WriteLogMsg(ProgNameDeletes, FreeFn, __LINE__, WARNING);
            }
            m_LogMsg << "\tFreeing for replication volume (replica or mirror) " << id
                     << (ok ? " was completed" : " could not be completed");
            WriteLogMsg(ProgNameDeletes, FreeFn, __LINE__, MSG);
        } else if (volume.CurrentRole == YBVOL_ROLE_SNAPSHOT) {
            SnapShotCleanupArgs_t cleanup;
            cleanup.PrimaryVolumeId = volume.PrimaryVolumeId;
            cleanup.PhysicalVolumeId = volume.PhysicalVolumeId;
            cleanup.ReplicationPolicyId = volume.ReplicationPolicyId;
            cleanup.SnapEngineType = volume.SnapEngineType;
            cleanup.Tran = tran;
            cleanup.EventText = eventText;
            const bool all = replica_detail::CleanupOnEachClient(*this, id, cleanup, devices.devices, FreeFn);
            m_LogMsg << "\tDeleting snapshot with id " << id << (all ? " completed" : " could not be completed");
            WriteLogMsg(ProgNameDeletes, FreeFn, __LINE__, MSG);
        }
    }
    return true;
}
