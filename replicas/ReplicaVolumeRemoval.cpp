// The removal of one replication volume with its application directories
// and its subclient link, the drop of its primary volume's snap parameters
// after the last snapshot, and its inline request case.
#include "replicas/ReplicaVolumeRemoval.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "files/ComponentLists.h"
#include "host/db/DBtable.h"
#include "host/db/ReplicaTables.h"
#include "policies/VolSnapParams.h"
#include "replicas/ApplicationDirs.h"
#include "replicas/ReplicaCases.h"
#include "replicas/ReplicaRecords.h"
#include "replicas/ReplicaVolumeQueries.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"
#include "service/TranHandle.h"

namespace {

const char RemoveFn[] = "ReplicationMgr::RemoveReplicationVolume()";

// After the removal of a snapshot: the primary volume's snap parameters go
// when no snapshot of it is left and no subclient's content names it.
bool DropPrimarySnapParams(ReplicationMgr& mgr, int primaryId, RemoveReplicationVolumeRet_t& ret, DBtran* tran)
{
    const std::string where = PrimaryVolumeSnapshotsWhere(primaryId);
    CReplicationVolumeDB volumes;
    unsigned int snapshots = 0;
    if (!volumes.getNRows(where.c_str(), snapshots, tran))
        return steps::Fail(mgr, ret, kErrDatabase, "Cannot check if the source volume has any snapshots",
                           "\n\tCReplicationVolumeDB::getNRows() failed\n\tsWhere      = " + where +
                               "\n\tDB Err Code = " + std::to_string(volumes.getErrorCode()),
                           ProgNameDeletes, RemoveFn, __LINE__);
    if (snapshots > 0) {
        mgr.log() << "\tVolume Snap Params will not be deleted because there are still snapshots associated with it"
                  << "\n\tVolume Id       = " << primaryId << "\n\tNumber of Snaps = " << snapshots;
        mgr.WriteLogMsg(ProgNameDeletes, RemoveFn, __LINE__, ReplicationMgr::MSG);
        return true;
    }

    GetYBSubclientVolumesListRet_t content;
    if (!mgr.GetSubclientVolumesList(content, tran))
        return steps::Fail(mgr, ret, kErrDatabase,
                           "Cannot check if the snapshot source volume is part of any subclient content",
                           "\n\tError Code = " + std::to_string(content.errCode), ProgNameDeletes, RemoveFn, __LINE__);
    const std::vector<int>& named = content.volumeIds;
    if (std::find(named.begin(), named.end(), primaryId) != named.end()) return true;

    RemoveVolSnapParam42Args_t removeArgs;
    removeArgs.SNRVolumeId = primaryId;
    RemoveVolSnapParam42Ret_t removed;
    if (mgr.RemoveVolSnapParam(removeArgs, removed, tran)) return true;
    // A primary volume without snap parameters has nothing left to drop.
    if (removed.errCode == kErrNotFound) {
        steps::Warn(mgr, "The snapshot source volume has no volume snap parameters to remove",
                    "\n\tVolume Id = " + std::to_string(primaryId), ProgNameDeletes, RemoveFn, __LINE__);
        return true;
    }
    ret.errMsg = removed.errMsg;
    return false;
}

}  // namespace

bool RemoveSubclientLinks(ReplicationMgr& mgr, int ybVolumeId, RemoveSubclientLinksRet_t& ret, DBtran* tran,
                          const char* function)
{
    const std::string linkWhere = "YBVolumeId = " + std::to_string(ybVolumeId);
    YBSubclientYBVolumesDB links;
    if (links.remove(linkWhere.c_str(), tran)) return true;
    if (links.getErrorCode() != DB_NO_MORE_ROWS)
        return steps::Fail(mgr, ret, kErrDatabase, "YB volume record cannot be removed from the DB. Check log files",
                           "\n\tYBSubclientYBVolumesDB::remove() failed\n\tsWhere: " + linkWhere +
                               "\n\tDB Err Code: " + std::to_string(links.getErrorCode()),
                           ProgNameDeletes, function, __LINE__);
    mgr.log() << "\tWarning: YBSubclientYBVolumes table has no record associated with the YB Volume Id " << ybVolumeId;
    mgr.WriteLogMsg(ProgNameDeletes, function, __LINE__, ReplicationMgr::WARNING);
    return true;
}

bool ReplicationMgr::RemoveReplicationVolume(const RemoveReplicationVolumeArgs_t& args,
                                             RemoveReplicationVolumeRet_t& ret, DBtran* tran)
{
    const int id = args.id;

    if (id < 1)
        return steps::Fail(*this, ret, kErrInvalidId, "Cannot remove YB Volume from the database with invalid values",
                           "\n\tReplication Volume Id = " + std::to_string(id), ProgNameDeletes, RemoveFn, __LINE__);

    QueryReplicationVolume42ByIdArgs_t queryArgs;
    queryArgs.id = id;
    QueryReplicationVolume42ByIdRet_t query;
    if (!QueryReplicationVolume(queryArgs, query)) {
        ret.errMsg = query.errMsg;  // the query wrote its own entry
        return false;
    }
    const ReplicationVolumeRecord42_t& volume = query.record;

    if (volume.CurrentRole == YBVOL_ROLE_SNAPSHOT && volume.ActivateSnap && volume.IsSnapActive)
        return steps::Fail(*this, ret, kErrInUse, "YB Volume cannot be removed because the snapshot is still active",
                           "\n\tYB Volume ID = " + std::to_string(id), ProgNameDeletes, RemoveFn, __LINE__);

    // A volume on no scratch volume (a snapshot, a permanent replica) is in no pool.
    CRVScratchVolumeDB scratchVolumes;
    YBScratchVolume_t scratch;
    std::memset(static_cast<void*>(&scratch), 0, sizeof scratch);
    if (!scratchVolumes.getInfo(volume.RVScratchVolumeId, scratch, nullptr)) {
        if (scratchVolumes.getErrorCode() != DB_NO_MORE_ROWS)
            return steps::Fail(*this, ret, kErrDatabase, "Cannot remove YB volume record",
                               "\n\tCRVScratchVolumeDB::getInfo() failed\n\tParameters used:\n\tId: " +
                                   std::to_string(volume.RVScratchVolumeId) +
                                   "\n\tDB Err Code = " + std::to_string(scratchVolumes.getErrorCode()),
                               ProgNameDeletes, RemoveFn, __LINE__);
        std::memset(static_cast<void*>(&scratch), 0, sizeof scratch);
    }
    if (scratch.RVScratchVolumePoolId != 0)
        return steps::Fail(*this, ret, kErrInUse,
                           "YB volume cannot be removed because it belongs to a scratch volume pool",
                           "\n\tReplication Volume ID: " + std::to_string(id) +
                               "\n\tRV Scratch Volume Pool ID: " + std::to_string(scratch.RVScratchVolumePoolId),
                           ProgNameDeletes, RemoveFn, __LINE__);

    DeleteAppDirsByReplicationVolIdArgs_t dirsArgs;
    dirsArgs.ReplicationVolumeId = id;
    DeleteAppDirsByReplicationVolIdRet_t dirs;
    if (!DeleteAppDirsByReplicaVolId(dirsArgs, dirs, tran)) {
        ret.errMsg = dirs.errMsg;
        return false;
    }

    RemoveSubclientLinksRet_t links;
    if (!RemoveSubclientLinks(*this, id, links, tran, RemoveFn)) {
        ret.errMsg = links.errMsg;
        return false;
    }

    CReplicationVolumeDB volumes;
    if (!volumes.remove(id, tran))
        return steps::Fail(*this, ret, kErrDatabase, "Cannot remove YB Volume from the database",
                           "\n\tCReplicationVolumeDB::remove() failed\n\tReplication Volume Id = " +
                               std::to_string(id) + "\n\tTran = 0x" + steps::TranHandle(tran),
                           ProgNameDeletes, RemoveFn, __LINE__);

    if (volume.CurrentRole == YBVOL_ROLE_SNAPSHOT && !DropPrimarySnapParams(*this, volume.PrimaryVolumeId, ret, tran))
        return false;

    ret.errMsg = "";
    m_LogMsg << "\tYB Volume " << id << " was removed...";
    WriteLogMsg(ProgNameDeletes, RemoveFn, __LINE__, MSG);
    return true;
}

// ---- Request case --------------------------------------------------------------------

namespace {

void ServeRemoveReplicationVolume(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    RemoveReplicationVolumeArgs_t args(cases::RequestOf<repRemoveReplicationVolumeReq>(buf).id);
    RemoveReplicationVolumeRet_t ret;
    AnswerInlineTranCase<repRemoveReplicationVolumeResp>(
        mgr, code, ret, cases::Order::B, cases::Message::Copy,
        [&](DBtran* tran) { return mgr.RemoveReplicationVolume(args, ret, tran); });
}

}  // namespace

const ServedCase RemoveReplicationVolumeCase =
    cases::Serve<repRemoveReplicationVolumeReq, repRemoveReplicationVolumeResp>(&ServeRemoveReplicationVolume);
