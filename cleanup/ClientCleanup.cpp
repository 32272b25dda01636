// The cleanup of everything one client left in the replication tables, run
// on the database in the caller's transaction, with its inline request case;
// and the unmounting on the clients of the snapshots one job created, one
// transaction per mount point.
#include "cleanup/ClientCleanup.h"

#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "cleanup/CleanupCases.h"
#include "cleanup/SnapshotCleanup.h"
#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "host/db/PolicyTables.h"
#include "host/db/SNRTables.h"
#include "policies/VolSnapParams.h"
#include "replicas/ApplicationDirs.h"
#include "replicas/ReplicaRecords.h"
#include "replicas/ReplicaSetters.h"
#include "replicas/ReplicaVolumeQueries.h"
#include "replicas/ReplicaVolumeRemoval.h"
#include "rows/Db/Cursor/YBGetYBPrimaryVolByClient.h"
#include "scratch/ScratchLookups.h"
#include "scratch/ScratchMembership.h"
#include "scratch/ScratchRelease.h"
#include "service/CasePatterns.h"
#include "service/DeletionCase.h"
#include "service/ErrorCodes.h"
#include "service/HeldRows.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"
#include "service/TranHandle.h"
#include "snr/MountPoints.h"
#include "snr/SNRDeletion.h"
#include "snr/VolumeInventory.h"

namespace {

const char CleanupFn[] = "ReplicationMgr::CleanupByClientId()";
const char UnmountFn[] = "ReplicationMgr::UnmountSnapshotsByJobId()";

// One cleanup: the client's inventory, the volumes seen and those only the
// client uses, and the replicas of its volumes kept on other clients.
class ClientCleanup {
public:
    ClientCleanup(ReplicationMgr& mgr, const CleanupByClientIdArgs_t& args, CleanupByClientIdRet_t& ret, DBtran* tran,
                  DeletionTrail& trail)
        : m_mgr(mgr), m_clientId(args.ClientId), m_full(args.Full), m_ret(ret), m_tran(tran), m_trail(trail)
    {
    }

    bool run()
    {
        if (m_clientId < 1)
            return steps::Fail(m_mgr, m_ret, kErrInvalidId,
                               "Cannot clean up configuration from the database with invalid client id values",
                               "\n\tParameters used:\n\tClient ID = " + std::to_string(m_clientId), ProgNameDeletes,
                               CleanupFn, __LINE__);
        m_mgr.log() << "\tClean up type: " << (m_full ? "Full" : "Non SNR");
        m_mgr.WriteLogMsg(ProgNameDeletes, CleanupFn, __LINE__, ReplicationMgr::INFO);

        QuerySNRDeviceArgs_t inventoryArgs;
        inventoryArgs.clientId = m_clientId;
        if (!m_mgr.QueryVolInfo(inventoryArgs, m_inventory, m_tran)) return nested(m_inventory.errMsg);
        if (!readReplicasElsewhere()) return false;

        // Nothing the walk removes is a device: the counts of every volume
        // are read before it.
        if (!m_inventory.devices.empty() && !countDevices()) return false;
        for (const ReplicationVolumeRecord_t& replica : m_inventory.replicationVolumes)
            m_firstReplica.emplace(replica.PhysicalVolumeId, &replica);
        for (const RVScratchVolumeRecord_t& scratch : m_inventory.scratchVolumes)
            m_firstScratch.emplace(scratch.PhysicalVolumeId, &scratch);
        for (const SNRVolumeDeviceNameRecord_t& device : m_inventory.devices)
            if (m_seen.insert(device.SNRVolumeId).second && !cleanVolume(device.SNRVolumeId)) return false;
        for (const ReplicationVolumeRecord_t& replica : m_elsewhere)
            if (m_exclusive.count(replica.PrimaryVolumeId) != 0 && replica.CurrentRole != YBVOL_ROLE_DESTINATION_SNAPSHOT &&
                !removedAlready(replica) && !removeOrRelease(replica))
                return false;
        for (int32_t volumeId : m_exclusive)
            if (!cleanSnapParams(volumeId)) return false;
        if (m_full)
            for (const SNRVolumeDeviceNameRecord_t& device : m_inventory.devices) {
                DeleteSNRDeviceRet_t deleted;
                if (!m_mgr.DeleteSNRDevice(DeleteSNRDeviceArgs_t(device.id), deleted, m_tran, &m_trail))
                    return nested(deleted.errMsg);
            }

        m_ret.errMsg = "";
        m_ret.errCode = 0;
        m_mgr.log() << "\tClean up for client id " << m_clientId << " was performed successfully...";
        m_mgr.WriteLogMsg(ProgNameDeletes, CleanupFn, __LINE__, ReplicationMgr::MSG);
        return true;
    }

private:
    // A nested operation failed and wrote its own entry.
    bool nested(const std::string& text)
    {
        m_ret.errMsg = text;
        m_ret.errCode = kErrNestedCall;
        return false;
    }

    // The replicas, kept on other clients' volumes, of this client's
    // volumes, each once (a replica is listed once per pair of devices that
    // joins it to the client).
    bool readReplicasElsewhere()
    {
        YBGetYBPrimaryVolByClient cursor(nullptr);
        cursor.setValues(m_clientId);
        std::set<int32_t> listed;
        int state = 0;
        int rc;
        while ((rc = getNextRow(&cursor, &state, -1, 0)) == DB_ROW_OK) {
            ReplicationVolumeRecord_t replica;
            SetRepVolRecV1FromDB(replica, *cursor.getDataPtr());
            if (listed.insert(replica.id).second) m_elsewhere.push_back(replica);
        }
        if (rc == DB_NO_MORE_ROWS) return true;
        return steps::Fail(
            m_mgr, m_ret, kErrDatabase, "Could not check YB Volume information",
            "\n\tYBGetYBPrimaryVolByClient failed\n\tParameters used:\n\tClient Id = " + std::to_string(m_clientId),
            ProgNameDeletes, CleanupFn, __LINE__);
    }

    // The devices of each of the client's volumes: all of them, then the
    // client's own.
    bool countDevices()
    {
        const std::string own = "ClientId = " + std::to_string(m_clientId);
        const std::string all = "SNRVolumeId IN (SELECT SNRVolumeId FROM YBPhysicalDevice WHERE " + own + ")";
        for (const std::string* where : {&all, &own}) {
            CSNRVolumeDeviceNameDB devices;
            std::vector<std::pair<long long, unsigned int>> counts;
            if (!devices.getNRowsBy("SNRVolumeId", where->c_str(), counts, m_tran))
                return steps::Fail(m_mgr, m_ret, kErrDatabase, "Error ocurred while accessing device information",
                                   "\n\tCSNRVolumeDeviceNameDB::getNRows() failed\n\tParameters used:\n\tsWhere = " +
                                       *where + steps::TranLine(m_tran),
                                   ProgNameDeletes, CleanupFn, __LINE__);
            for (const std::pair<long long, unsigned int>& count : counts) {
                DeviceCounts& volume = m_devices[static_cast<int32_t>(count.first)];
                (where == &all ? volume.all : volume.own) = count.second;
            }
        }
        return true;
    }

    // One SNR volume of the client: on a volume only the client uses, its
    // replica goes (or its scratch volume is released), or in "Full" mode
    // its unused scratch volume; a replica on a shared volume loses only its
    // application directories.
    bool cleanVolume(int32_t volumeId)
    {
        // Each volume of the client's devices was counted.
        const DeviceCounts& devices = m_devices[volumeId];
        const bool exclusive = devices.all == devices.own;
        if (exclusive) m_exclusive.insert(volumeId);

        const ReplicationVolumeRecord_t* replica = firstOn(m_firstReplica, volumeId);
        if (replica == nullptr) {
            const RVScratchVolumeRecord_t* scratch = firstOn(m_firstScratch, volumeId);
            return !(m_full && exclusive && scratch != nullptr) || removeScratchVolume(scratch->id);
        }
        if (!exclusive) {
            DeleteAppDirsByReplicationVolIdArgs_t dirsArgs;
            dirsArgs.ReplicationVolumeId = replica->id;
            DeleteAppDirsByReplicationVolIdRet_t dirs;
            // In the cleanup's transaction: a failed cleanup keeps them.
            return m_mgr.DeleteAppDirsByReplicaVolId(dirsArgs, dirs, m_tran) || nested(dirs.errMsg);
        }
        if (replica->CurrentRole == YBVOL_ROLE_DESTINATION_SNAPSHOT || removedAlready(*replica)) return true;
        if (!removeOrRelease(*replica)) return false;
        return !(m_full && replica->RVScratchVolumeId >= 1) || removeScratchVolume(replica->RVScratchVolumeId);
    }

    // The first record of the inventory that lies on the volume, or null.
    template <typename Record>
    static const Record* firstOn(const std::unordered_map<int32_t, const Record*>& first, int32_t volumeId)
    {
        auto found = first.find(volumeId);
        return found != first.end() ? found->second : nullptr;
    }

    // A replica on no scratch volume is removed; otherwise its scratch
    // volume is released, which removes the replicas on it, in the database
    // first: its host deletes the snapshots on it once the cleanup can no
    // longer be refused.
    bool removeOrRelease(const ReplicationVolumeRecord_t& replica)
    {
        if (replica.RVScratchVolumeId < 1) {
            RemoveReplicationVolumeRet_t removed;
            if (!m_mgr.RemoveReplicationVolume(RemoveReplicationVolumeArgs_t(replica.id), removed, m_tran))
                return nested(removed.errMsg);
            m_removed.insert(replica.id);
            return true;
        }
        std::string failure;
        if (!m_mgr.ReleaseScratchForDeletion(replica.RVScratchVolumeId, m_trail, failure, m_tran))
            return nested(failure);
        m_released.insert(replica.RVScratchVolumeId);
        return true;
    }

    // Whether an earlier step of this cleanup removed the replica: by
    // itself, or with the scratch volume it lay on, released with every
    // replica on it. The lists were read before anything was removed.
    bool removedAlready(const ReplicationVolumeRecord_t& replica) const
    {
        return m_removed.count(replica.id) != 0 ||
               (replica.RVScratchVolumeId >= 1 && m_released.count(replica.RVScratchVolumeId) != 0);
    }

    bool removeScratchVolume(int32_t scratchId)
    {
        RemoveRVScratchVolumeArgs_t removeArgs;
        removeArgs.scratchVolumeId = scratchId;
        RemoveRVScratchVolumeRet_t removed;
        return m_mgr.RemoveRVScratchVol(removeArgs, removed, m_tran) || nested(removed.errMsg);
    }

    // The snap parameters of a volume only the client uses: removed, or for
    // a scratch volume's parameters, the scratch volume itself (released
    // first, in the database only, while a replica lies on it).
    bool cleanSnapParams(int32_t volumeId)
    {
        const std::string where = "SNRVolumeId = " + std::to_string(volumeId);
        CVolumeSnapParamsDB snapParams;
        steps::HeldRows<YBVolSnapParams_t> params(snapParams);
        if (!snapParams.getList(params.rows, params.count, where.c_str(), "", m_tran))
            return steps::Fail(m_mgr, m_ret, kErrDatabase,
                               "Cannot access volume snap parameters information from the database",
                               "\n\tCVolumeSnapParamsDB::getList() failed\n\tParameters used:\n\tsWhere = " + where +
                                   steps::TranLine(m_tran),
                               ProgNameDeletes, CleanupFn, __LINE__);
        if (params.count == 0) return true;
        if (params.count > 1) {
            m_mgr.log() << "Error condition: YBVolSnapParams table returned Multiple rows: " << params.count
                        << "for  SNRVolumeId:" << volumeId;
            m_mgr.WriteLogMsg(ProgNameDeletes, CleanupFn, __LINE__, ReplicationMgr::MSG);
            m_ret.errMsg = "";
            m_ret.errCode = kErrNotUnique;
            return false;
        }
        if ((params.rows[0].Flags & VOLSNAP_FLAG_BIT1) == 0) {
            RemoveVolSnapParamArgs_t removeArgs;
            removeArgs.SNRVolumeId = volumeId;
            RemoveVolSnapParamRet_t removed;
            return m_mgr.RemoveVolSnapParam(removeArgs, removed, m_tran) || nested(removed.errMsg);
        }

        m_mgr.log() << "This is a scratch volume. SNRVolumeId:" << volumeId;
        m_mgr.WriteLogMsg(ProgNameDeletes, CleanupFn, __LINE__, ReplicationMgr::MSG);
        QueryRVScratchVolBySNRVolIdV2Args_t queryArgs;
        queryArgs.SNRVolumeId = volumeId;
        QueryRVScratchVolBySNRVolIdV2Ret_t scratch;
        bool inUse = false;
        if (!m_mgr.QueryRVScratchVolBySNRVolId(queryArgs, scratch, m_tran, &inUse))
            return steps::Fail(m_mgr, m_ret, kErrNestedCall, scratch.errMsg,
                               "\n\tQueryRVScratchVolBySNRVolId() failed\n\tParameters used:"
                               "\n\tQueryRVScrVolArgs.SNRVolId = " +
                                   std::to_string(volumeId) + steps::TranLine(m_tran),
                               ProgNameDeletes, CleanupFn, __LINE__);
        const int32_t scratchId = scratch.record.id;
        m_mgr.log() << "Scratch volume ID:" << scratchId << "for SNRVolId: " << volumeId;
        m_mgr.WriteLogMsg(ProgNameDeletes, CleanupFn, __LINE__, ReplicationMgr::MSG);
        const std::string idLine = "\n\tParameters used:\n\tId = " + std::to_string(scratchId);

        if (inUse) {
            ReleaseRVScratchVolumeV2Args_t releaseArgs;
            releaseArgs.RVScratchVolumeId = scratchId;
            releaseArgs.YBVolumeId = -1;
            releaseArgs.DBOnly = true;
            ReleaseRVScratchVolumeV2Ret_t released;
            if (!m_mgr.ReleaseRVScratchVol(releaseArgs, released, m_tran))
                return steps::Fail(m_mgr, m_ret, kErrNestedCall, released.errMsg,
                                   "\nReleaseRVScratchVol() failed" + idLine +
                                       "\n\tYBVolId = " + std::to_string(volumeId) + steps::TranLine(m_tran),
                                   ProgNameDeletes, CleanupFn, __LINE__);
        }
        RemoveRVScratchVolumeArgs_t removeArgs;
        removeArgs.scratchVolumeId = scratchId;
        RemoveRVScratchVolumeRet_t removed;
        if (!m_mgr.RemoveRVScratchVol(removeArgs, removed, m_tran))
            return steps::Fail(m_mgr, m_ret, kErrNestedCall, removed.errMsg, idLine + steps::TranLine(m_tran),
                               ProgNameDeletes, CleanupFn, __LINE__);
        return true;
    }

    ReplicationMgr& m_mgr;
    const int32_t m_clientId;
    const bool m_full;
    CleanupByClientIdRet_t& m_ret;
    DBtran* const m_tran;
    DeletionTrail& m_trail;

    struct DeviceCounts {
        unsigned int all = 0;
        unsigned int own = 0;
    };

    QueryMgrSNRDeviceRet_t m_inventory;
    // By SNR volume id, made once the inventory is read.
    std::unordered_map<int32_t, const ReplicationVolumeRecord_t*> m_firstReplica;
    std::unordered_map<int32_t, const RVScratchVolumeRecord_t*> m_firstScratch;
    std::unordered_map<int32_t, DeviceCounts> m_devices;
    std::vector<ReplicationVolumeRecord_t> m_elsewhere;
    std::set<int32_t> m_seen;
    std::set<int32_t> m_exclusive;  // in ascending id order
    std::set<int32_t> m_removed;    // replicas removed by id
    std::set<int32_t> m_released;   // scratch volumes released
};

}  // namespace

bool ReplicationMgr::CleanupByClientId(const CleanupByClientIdArgs_t& args, CleanupByClientIdRet_t& ret, DBtran* tran,
                                       DeletionTrail* trail)
{
    steps::KeptTrail kept(*this, trail);
    if (!kept.begun())
        return steps::Fail(*this, ret, kErrNoTransaction, DBTranErrorMsg, "", ProgNameDeletes, CleanupFn, __LINE__);
    return ClientCleanup(*this, args, ret, tran, kept.trail()).run() && kept.Succeeded(ret, kErrNestedCall);
}

// ---- Unmounting the snapshots of a job -------------------------------------------------

void ReplicationMgr::UnmountJobMountPoint(const SNRVolumeMountPointExRecord_t& mountPoint, int32_t volumeId)
{
    const SNRVolumeMountPointRecord_t& mount = mountPoint.MountPoint;
    const std::string remains = "\tWarning: Mount point information remains in the database although volume has "
                                "been unmounted\n\tCheck database\n\tSNR Volume Mount Point ID = " +
                                std::to_string(mount.id);
    DBtran tran(false);
    if (tran.startTran() != 0) {
        m_LogMsg << "\t" << DBTranErrorMsg << "\n\tSNR Volume Mount Point ID = " << mount.id;
        WriteLogMsg(ProgNameDeletes, UnmountFn, __LINE__, ERR);
        return;
    }

    RemoveSNRMountPointArgs_t removeArgs;
    removeArgs.MountPointId = mount.id;
    RemoveSNRMountPointRet_t removed;
    // Nested: a removal that fails part way leaves the row as it was, which
    // the warning below reports, even when the unmount then commits.
    const bool rowGone = DeleteMountPointNested(removeArgs, removed);
    if (!rowGone) {
        m_LogMsg << remains;
        WriteLogMsg(ProgNameDeletes, UnmountFn, __LINE__, WARNING);
    }

    UnmountVolumeArgs_t unmount;
    unmount.ClientId = mountPoint.ClientId;
    unmount.MountPath = mount.Path;
    if (UnmountVolume(unmount)) {
        if (tran.commitTran() == 0 || !rowGone) return;
        m_LogMsg << remains;
        WriteLogMsg(ProgNameDeletes, UnmountFn, __LINE__, WARNING);
    } else {
        m_LogMsg << "\tCannot unmount mount point " << EvDebug::escaped(mount.Path) << "\n\tClient ID = "
                 << mountPoint.ClientId << "\n\tPhysical volume = " << volumeId;
        WriteLogMsg(ProgNameDeletes, UnmountFn, __LINE__, WARNING);
    }
    tran.rollbackTran();
    // The row is back, mounted: its device's controller as the rows give.
    if (rowGone) RestoreControllerAfterRollback(removed.DeviceId);
}

bool ReplicationMgr::UnmountSnapshotsByJobId(const UnmountSnapshotsByJobIdArgs_t& args,
                                             UnmountSnapshotsByJobIdRet_t& ret, DBtran* tran)
{
    const int64_t jobId = args.JobId;
    if (jobId < 1)
        return steps::Fail(*this, ret, kErrInvalidId, "Invalid job id used to unmount snapshots", "", ProgNameDeletes,
                           UnmountFn, __LINE__);
    m_LogMsg << "\tJobId received = " << jobId;
    WriteLogMsg(ProgNameDeletes, UnmountFn, __LINE__, INFO);

    QueryReplicationVolumeByJobIdV4Args_t queryArgs;
    queryArgs.jobId = jobId;
    QueryReplicationVolumeByJobIdV4Ret_t listed;
    if (!QueryReplicationVolumeByJobId(queryArgs, listed, tran))
        return steps::Fail(*this, ret, listed.errCode, "Could not get list of snapshots assciated with job", "",
                           ProgNameDeletes, UnmountFn, __LINE__);
    ret.errMsg = "";
    ret.errCode = 0;
    if (listed.volumes.empty()) {
        m_LogMsg << "\tNo YB Volumes record found for job id " << jobId;
        WriteLogMsg(ProgNameDeletes, UnmountFn, __LINE__, MSG);
        return true;
    }
    m_LogMsg << "\tYB Volumes record for job id " << jobId << " = " << listed.volumes.size();
    WriteLogMsg(ProgNameDeletes, UnmountFn, __LINE__, INFO);

    for (const ReplicationVolumeV5Record_t& volume : listed.volumes) {
        const int32_t physicalId = volume.PhysicalVolumeId;
        if (volume.CurrentRole != YBVOL_ROLE_SNAPSHOT) {
            m_LogMsg << "\tYB Volume id " << volume.id << " is not a snapshot (" << volume.CurrentRole << ")";
            WriteLogMsg(ProgNameDeletes, UnmountFn, __LINE__, INFO);
            continue;
        }
        QuerySNRMountPointBySNRVolIdArgs_t mountArgs;
        mountArgs.SNRVolumeId = physicalId;
        QuerySNRMountPointBySNRVolIdRet_t mounts;
        if (!QuerySNRMountPointBySNRVolId(mountArgs, mounts)) {
            m_LogMsg << "\tCould get the mount points for physical volume " << physicalId
                     << "\n\tSkipping the volume...";
            WriteLogMsg(ProgNameDeletes, UnmountFn, __LINE__, MSG);
            continue;
        }
        if (mounts.MountPoints.empty()) {
            m_LogMsg << "\tSnapshot id " << volume.id << " Volume Id " << physicalId << " is not mounted";
            WriteLogMsg(ProgNameDeletes, UnmountFn, __LINE__, INFO);
            continue;
        }
        m_LogMsg << "\tFound " << mounts.MountPoints.size() << " mount points for volume " << physicalId;
        WriteLogMsg(ProgNameDeletes, UnmountFn, __LINE__, INFO);
        for (const SNRVolumeMountPointExRecord_t& mountPoint : mounts.MountPoints)
            if (!mountPoint.MountPoint.Unmounted) UnmountJobMountPoint(mountPoint, physicalId);
    }
    return true;
}

// ---- Inline request case ---------------------------------------------------------------

namespace {

// The reply carries a copy of the result's text; no code.
void ServeCleanupByClientId(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    const repCleanupByClientIdReq& request = cases::RequestOf<repCleanupByClientIdReq>(buf);
    CleanupByClientIdArgs_t args;
    args.ClientId = request.ClientId;
    args.Full = request.CleanupType == kCleanupTypeFull;
    CleanupByClientIdRet_t ret;
    steps::RunDeletionCase<repCleanupByclientIdResp>(
        mgr, code, ret, cases::Order::B, cases::Message::Copy,
        [&](DBtran* tran, DeletionTrail& trail) { return mgr.CleanupByClientId(args, ret, tran, &trail); });
}

}  // namespace

const ServedCase CleanupByClientIdCase =
    cases::Serve<repCleanupByClientIdReq, repCleanupByclientIdResp>(&ServeCleanupByClientId);
