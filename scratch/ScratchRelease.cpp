// The release of a scratch volume: the replication volumes on it go with
// their application directories and subclient links, its SNR volume is
// unreserved and counted back into its pool, the records of the snapshots it
// holds and its stored files go, and its one host deletes the snapshots on
// it. One database half serves both message versions; the request handler
// and its cases follow.
#include "scratch/ScratchRelease.h"

#include <string>

#include "files/StoredFiles.h"
#include "host/db/DBtable.h"
#include "host/db/ReplicaTables.h"
#include "host/db/SNRTables.h"
#include "replicas/ApplicationDirs.h"
#include "replicas/ReplicaRecords.h"
#include "replicas/ReplicaVolumeRemoval.h"
#include "scratch/ScratchCases.h"
#include "scratch/ScratchMembership.h"
#include "service/CasePatterns.h"
#include "service/DeletionTrail.h"
#include "service/ErrorCodes.h"
#include "service/NestedStep.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/ResultCode.h"
#include "service/SourceNames.h"
#include "service/TranHandle.h"
#include "snr/DeviceQueries.h"
#include "snr/MountPoints.h"
#include "snr/SNREntityRecords.h"
#include "snr/SNRVolumeReplicas.h"

namespace {

const char Fn[] = "ReplicationMgr::ReleaseRVScratchVolDB()";

constexpr int32_t SNRTypeNasSecondary = 3;
constexpr int32_t SNRTypeNas = 5;

// The application directories, the subclient links and the row of one
// replication volume.
template <typename Ret>
bool RemoveYBVolume(ReplicationMgr& mgr, int id, Ret& ret, DBtran* tran)
{
    DeleteAppDirsByReplicationVolIdArgs_t dirsArgs;
    dirsArgs.ReplicationVolumeId = id;
    DeleteAppDirsByReplicationVolIdRet_t dirs;
    if (!mgr.DeleteAppDirsByReplicaVolId(dirsArgs, dirs, tran)) return steps::PassOn(ret, dirs.errMsg, kErrInternal);
    RemoveSubclientLinksRet_t links;
    if (!RemoveSubclientLinks(mgr, id, links, tran, Fn)) return steps::PassOn(ret, links.errMsg, links.errCode);
    CReplicationVolumeDB volumes;
    if (!volumes.remove(id, tran))
        return steps::Fail(mgr, ret, kErrDatabase, "Could not remove YB volume record from the database",
                           "\n\tCReplicationVolumeDB::remove() failed\n\tParameters used:\n\tReplication Volume Id = " +
                               std::to_string(id) + "\n\tTran = 0x" + steps::TranHandle(tran) +
                               "\n\tDB Err Code = " + std::to_string(volumes.getErrorCode()),
                           ProgNameDeletes, Fn, __LINE__);
    return true;
}

// The three lines that name the scratch volume in the host checks.
std::string ScratchLines(int snrId, int scratchId, int poolId)
{
    return "\n\tYB Physical Volume Id = " + std::to_string(snrId) + "\n\tScratch volume Id     = " +
           std::to_string(scratchId) + "\n\tScratch Pool Id       = " + std::to_string(poolId);
}

// Only a version 2 release is database-only.
void LeaveSnapshotsToCaller(ReleaseRVScratchVolumeRet_t&, const SnapshotsLeftOnHost&) {}
void LeaveSnapshotsToCaller(ReleaseRVScratchVolumeV2Ret_t& ret, const SnapshotsLeftOnHost& left)
{
    ret.snapshotsLeft = left;
}

}  // namespace

template <typename Args, typename Ret>
bool ReplicationMgr::ReleaseRVScratchVolDB(const Args& args, Ret& ret, DBtran* tran)
{
    SetErrCode(ret, 0);
    const int scratchId = args.RVScratchVolumeId;
    const int ybVolId = GetYBVolId(args);
    if (scratchId <= 0 && ybVolId < 1)
        return steps::Fail(
            *this, ret, kErrInvalidId,
            "Cannot release a scratch volume from the database with invalid scratch volume id or YB Volume ID",
            "\n\tParameters used:\n\tRV Scratch volume Id = " + std::to_string(scratchId) +
                "\n\tYB Volume Id         = " + std::to_string(ybVolId),
            ProgNameDeletes, Fn, __LINE__);

    auto released = [&](long line) {
        m_LogMsg << "\tRV scratch volume " << scratchId << " was released";
        WriteLogMsg(ProgNameDeletes, Fn, line, MSG);
        ret.errMsg = "";
        return true;
    };

    // One named replication volume alone.
    if (ybVolId >= 1) {
        if (!RemoveYBVolume(*this, ybVolId, ret, tran)) return false;
        return released(__LINE__);
    }

    // The replication volumes on the scratch volume.
    {
        const std::string where = "RVScratchVolumeId = " + std::to_string(scratchId);
        const char* order = "id ASC";
        CReplicationVolumeDB volumes;
        YBVolume_t* rows = nullptr;
        unsigned int count = 0;
        if (!volumes.getList(rows, count, where.c_str(), order, tran)) {
            const bool missing = volumes.getErrorCode() == DB_NO_MORE_ROWS;
            return steps::Fail(*this, ret, missing ? kErrNotFound : kErrDatabase,
                               missing ? "Record not found" : "Cannot access YB volume information from the database",
                               "\n\tCReplicationVolumeDB::getList() failed\n\tParameters used:\n\tsWhere = " + where +
                                   "\n\tsOrderBy = " + order + "\n\tTran = 0x" + steps::TranHandle(tran) +
                                   "\n\tDB Err Code = " + std::to_string(volumes.getErrorCode()),
                               ProgNameDeletes, Fn, __LINE__);
        }
        if (count > 0) {
            m_LogMsg << "\tNumber of YB Volume found for Scratch Volume " << scratchId << " is " << count;
            WriteLogMsg(ProgNameDeletes, Fn, __LINE__, MSG);
            bool ok = true;
            for (unsigned int i = 0; i < count && ok; ++i) ok = RemoveYBVolume(*this, rows[i].id, ret, tran);
            volumes.deleteList(rows);
            if (!ok) return false;
        } else {
            m_LogMsg << "\tEvent: No YB volume was found associated with the RV scrach volume"
                     << "\n\tOutput from CReplicationVolumeDB::getList()\n\tNRows = " << count
                     << "\n\tRV Scratch Volume ID: " << scratchId;
            WriteLogMsg(ProgNameDeletes, Fn, __LINE__, WARNING);
        }
    }

    // The scratch volume and its SNR volume.
    CRVScratchVolumeDB scratchVolumes;
    YBScratchVolume_t scratch;
    if (!scratchVolumes.getInfo(scratchId, scratch, tran)) {
        const bool missing = scratchVolumes.getErrorCode() == DB_NO_MORE_ROWS;
        return steps::Fail(*this, ret, missing ? kErrNotFound : kErrDatabase,
                           missing ? "Record not found" : "Could not get scratch volume information",
                           "\n\tCRVScratchVolumeDB::getInfo() failed\n\tParameters used:\n\tKey: " +
                               std::to_string(scratchId) + "\n\tTran = 0x" + steps::TranHandle(tran) +
                               "\n\tDB Err Code = " + std::to_string(scratchVolumes.getErrorCode()),
                           ProgNameDeletes, Fn, __LINE__);
    }
    const int snrId = scratch.PhysicalVolumeId;
    const int poolId = scratch.RVScratchVolumePoolId;
    CSNRVolumeDB snrVolumes;
    YBPhysicalVolume_t snr;
    if (!snrVolumes.getInfo(snrId, snr, tran)) {
        const bool missing = snrVolumes.getErrorCode() == DB_NO_MORE_ROWS;
        return steps::Fail(*this, ret, missing ? kErrNotFound : kErrDatabase,
                           missing ? "Record not found" : "Cannot access volume record in the database",
                           "\n\tCSNRVolumeDB::getInfo() failed\n\tParameters used:\n\tSNR Volume Id = " +
                               std::to_string(snrId) + "\n\tTran = 0x" + steps::TranHandle(tran) +
                               "\n\tDB Err Code = " + std::to_string(snrVolumes.getErrorCode()),
                           ProgNameDeletes, Fn, __LINE__);
    }

    // The state of the SNR volume: an unreserved NAS secondary volume ends
    // the release here; an allocated or unreserved volume is refused.
    if (snr.Type == SNRTypeNasSecondary && (snr.Flags & SNRVOL_FLAG_LOCKED) == 0) {
        m_LogMsg << "\tScratch Volume " << scratchId << " is a NAS secodary volume. Only YB Volume entries were removed";
        WriteLogMsg(ProgNameDeletes, Fn, __LINE__, MSG);
        ret.errMsg = "";
        return true;
    }
    if ((snr.Flags & SNRVOL_FLAG_ALLOCATED) != 0)
        return steps::Fail(*this, ret, kErrInUse, "An SNR Volume is already allocated",
                           "\n\tOutput from CSNRVolumeDB::getInfo()\n\tSNR Volume Id = " + std::to_string(snrId),
                           ProgNameDeletes, Fn, __LINE__);
    if ((snr.Flags & SNRVOL_FLAG_LOCKED) == 0) {
        ret.errMsg = "Volume has not been previously locked";
        SetErrCode(ret, kErrInUse);
        m_LogMsg << "\tEvent: SNR Volume has not been previously locked\n\tSNR Volume ID: " << snrId;
        WriteLogMsg(ProgNameDeletes, Fn, __LINE__, ERR);
        return false;
    }

    // Unreserved and counted back into its pool; a NAS volume ends the
    // release here.
    const std::string update = "Flags = " + std::to_string(snr.Flags & ~SNRVOL_FLAG_LOCKED);
    if (!snrVolumes.Update(snrId, update.c_str(), tran))
        return steps::Fail(
            *this, ret, kErrDatabase, "Cannot update volume record in the database",
            "\n\tCSNRVolumeDB::Update() failed\n\tParameters used:\n\tSNR Volume Id = " + std::to_string(snrId) +
                "\n\tsUpdate = " + update + "\n\tTran = 0x" + steps::TranHandle(tran) +
                "\n\tDB Err Code = " + std::to_string(snrVolumes.getErrorCode()),
            ProgNameDeletes, Fn, __LINE__);
    m_LogMsg << "\tUnreserving (Unlocking) SNR Volume ID = " << snrId;
    WriteLogMsg(ProgNameDeletes, Fn, __LINE__, MSG);

    UpdateAvailVolPoolCounterArgs_t counterArgs;
    counterArgs.SNRVolumeId = snrId;
    counterArgs.operation = POOL_COUNTER_INCREMENT;
    UpdateAvailVolPoolCounterRet_t counter;
    if (!UpdateAvailVolPoolCounter(counterArgs, counter, tran))
        return steps::PassOn(ret, counter.errMsg, kErrNestedCall);

    if (snr.Type == SNRTypeNasSecondary || snr.Type == SNRTypeNas) {
        m_LogMsg << "\tScratch Volume " << scratchId
                 << " is a NAS volume. Only YB Volume entries were removed and volume unlocked.";
        WriteLogMsg(ProgNameDeletes, Fn, __LINE__, MSG);
        ret.errMsg = "";
        return true;
    }

    // The snapshots held on the volume, and its stored files, which go
    // in the caller's transaction so that a failed release keeps them.
    QuerySNRVolume2ByIdV5Args_t snapArgs;
    snapArgs.snrVolumeId = snrId;
    snapArgs.flags = SNRVOL2_OF_SNAPSHOT | SNRVOL2_IN_ROLE;
    snapArgs.role = YBVOL_ROLE_DESTINATION_SNAPSHOT;
    QuerySNRVolume2ByIdV5Ret_t snaps;
    if (!QuerySNRVolume2(snapArgs, snaps, tran)) {
        ret.errMsg = snaps.errMsg;
        SetErrCode(ret, kErrNestedCall);
        m_LogMsg << "\tEvent: Cannot check if the scratch volume has snapshots"
                 << "\n\tScratch Volume        = " << scratchId << "\n\tYB Physical Volume Id = " << snrId
                 << "\n\tScratch Pool Id       = " << poolId;
        WriteLogMsg(ProgNameDeletes, Fn, __LINE__, ERR);
        return false;
    }
    {
        DeleteYBFileByVolIdRet_t files;
        m_bReportMissingFiles = false;
        const bool deleted = DeleteYBFile(DeleteYBFileByVolIdArgs_t(snrId), files, tran);
        m_bReportMissingFiles = true;
        if (!deleted && files.errCode != kErrNotFound) return steps::PassOn(ret, files.errMsg, files.errCode);
    }
    const auto& snapshots = snaps.replicationVolumes;
    if (snapshots.empty()) return released(__LINE__);

    // No snapshot may be mounted.
    for (const auto& snap : snapshots) {
        QuerySNRMountPointBySNRVolIdArgs_t mountArgs;
        mountArgs.SNRVolumeId = snap.PhysicalVolumeId;
        QuerySNRMountPointBySNRVolIdRet_t mounts;
        if (!QuerySNRMountPointBySNRVolId(mountArgs, mounts))
            return steps::Fail(*this, ret, kErrNestedCall, "failed to release the scratch volume",
                               "\n\tReason: Cannot check the mount point status of the snapshot", ProgNameDeletes, Fn,
                               __LINE__);
        for (const auto& mount : mounts.MountPoints)
            if (!mount.MountPoint.Unmounted)
                return steps::Fail(*this, ret, kErrInUse,
                                   "failed to release the scratch volume because at least one snapshot is mounted",
                                   "\n\tSnapshot Volume Id = " + std::to_string(snap.PhysicalVolumeId) +
                                       "\n\tMount Path         = " + mount.MountPoint.Path +
                                       "\n\tYB Volume Id       = " + std::to_string(snap.id) +
                                       "\n\tScratch Vol Id     = " + std::to_string(scratchId),
                                   ProgNameDeletes, Fn, __LINE__);
    }

    // The one host that sees the volume.
    QuerySNRVolDevNameBySNRVolIdV3Args_t devArgs;
    devArgs.SNRVolumeId = snrId;
    QuerySNRVolDevNameBySNRVolIdV3Ret_t devices;
    if (!QuerySNRVolDev(devArgs, devices)) {
        ret.errMsg = devices.errMsg;
        SetErrCode(ret, kErrNestedCall);
        m_LogMsg << "\tEvent: DB error when trying to find the client id of the scratch volume"
                 << ScratchLines(snrId, scratchId, poolId);
        WriteLogMsg(ProgNameDeletes, Fn, __LINE__, ERR);
        return false;
    }
    if (devices.devices.empty())
        return steps::Fail(
            *this, ret, kErrNotFound, "Cannot find the scratch volume's host",
            "\n\tCould not fin the client id of the scratch volume" + ScratchLines(snrId, scratchId, poolId),
            ProgNameDeletes, Fn, __LINE__);
    if (devices.devices.size() > 1)
        return steps::Fail(*this, ret, kErrNotUnique,
                           "More than one host has access to the scratch volume. Snapshot deletion is not possible",
                           ScratchLines(snrId, scratchId, poolId) +
                               "\n\tN Hosts               = " + std::to_string(devices.devices.size()),
                           ProgNameDeletes, Fn, __LINE__);

    // The snapshot records.
    for (const auto& snap : snapshots) {
        RemoveReplicationVolumeArgs_t removeArgs(snap.id);
        RemoveReplicationVolumeRet_t removed;
        if (!RemoveReplicationVolume(removeArgs, removed, tran)) {
            ret.errMsg = removed.errMsg;
            SetErrCode(ret, kErrNestedCall);
            m_LogMsg << "\tEvent: Scratch volume's snapshot failed to be deleted"
                     << "\n\tSnapshot Id       = " << snap.id << "\n\tScratch volume Id = " << scratchId
                     << "\n\tSnap Volume Id    = " << snap.SnapVolumeId;
            WriteLogMsg(ProgNameDeletes, Fn, __LINE__, ERR);
            return false;
        }
    }

    // The snapshots on the client; a database-only release leaves them to
    // its caller.
    const auto& device = devices.devices.front();
    const SnapshotsLeftOnHost left{scratchId,
                                   DeleteAllSnapsFromScratchVolumeArgs_t(device.ClientId, device.DeviceName)};
    if (GetDBOnlyFlag(args) == 1) {
        LeaveSnapshotsToCaller(ret, left);
    } else {
        std::string failure;
        if (!steps::AskHosts(*this, {left}, ret.hostsThatActed, failure))
            return steps::PassOn(ret, failure, kErrNestedCall);
    }
    return released(__LINE__);
}

bool ReplicationMgr::ReleaseScratchForDeletion(int32_t scratchVolumeId, DeletionTrail& trail, std::string& errMsg,
                                               DBtran* tran)
{
    ReleaseRVScratchVolumeV2Args_t args;
    args.RVScratchVolumeId = scratchVolumeId;
    args.DBOnly = true;
    ReleaseRVScratchVolumeV2Ret_t ret;
    if (!ReleaseRVScratchVol(args, ret, tran)) {
        errMsg = ret.errMsg;
        return false;
    }
    if (ret.snapshotsLeft) trail.snapshotsLeft.push_back(*ret.snapshotsLeft);
    return true;
}

bool ReplicationMgr::ReleaseInNestedStep(const ReleaseRVScratchVolumeV2Args_t& args, ReleaseRVScratchVolumeV2Ret_t& ret,
                                         bool* started,
                                         const std::function<bool(ReleaseRVScratchVolumeV2Ret_t&)>& last)
{
    bool done = false;
    const bool committed = RunNestedStep(
        [&](DBtran* tran) { return done = ReleaseRVScratchVol(args, ret, tran) && (!last || last(ret)); }, started);
    if (done && !committed) steps::ReportHostsThatActed(*this, ret.hostsThatActed);
    return committed;
}

bool ReplicationMgr::ReleaseRVScratchVol(const ReleaseRVScratchVolumeArgs_t& args, ReleaseRVScratchVolumeRet_t& ret,
                                         DBtran* tran)
{
    return ReleaseRVScratchVolDB(args, ret, tran);
}

bool ReplicationMgr::ReleaseRVScratchVol(const ReleaseRVScratchVolumeV2Args_t& args,
                                         ReleaseRVScratchVolumeV2Ret_t& ret, DBtran* tran)
{
    return ReleaseRVScratchVolDB(args, ret, tran);
}

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::ReleaseRVScratchVolHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    const Req& req = cases::RequestOf<Req>(buf);
    Args args;
    args.RVScratchVolumeId = req.RVScratchVolumeId;
    SetYBVolId(args, req);
    Ret ret;
    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::ReleaseRVScratchVolHandler()", requestCode, replyCode, true, ret,
        [&](DBtran* tran) { return ReleaseRVScratchVol(args, ret, tran); }, cases::NoReplyFields(),
        cases::Unstarted::Unsuccessfully,
        // Released but not committed: the host that deleted is reported.
        [&]() { steps::ReportHostsThatActed(*this, ret.hostsThatActed); });
}

// ---- Request cases, one per message version -------------------------------------------

const ServedCase ReleaseRVScratchVolCaseV1 = cases::Serve<repReleaseRVScratchVolumeReq, repReleaseRVScratchVolumeResponse>(
    &cases::HandlerCase<&ReplicationMgr::ReleaseRVScratchVolHandler<
        repReleaseRVScratchVolumeReq, repReleaseRVScratchVolumeResponse, ReleaseRVScratchVolumeArgs_t,
        ReleaseRVScratchVolumeRet_t>>);
const ServedCase ReleaseRVScratchVolCaseV2 =
    cases::Serve<repReleaseRVScratchVolumeV2Req, repReleaseRVScratchVolumeV2Response>(
        &cases::HandlerCase<&ReplicationMgr::ReleaseRVScratchVolHandler<
            repReleaseRVScratchVolumeV2Req, repReleaseRVScratchVolumeV2Response, ReleaseRVScratchVolumeV2Args_t,
            ReleaseRVScratchVolumeV2Ret_t>>);
