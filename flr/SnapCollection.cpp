// Collecting the FLR snapshots that a deletion or a prune releases: each one
// with its consistency point, mount point and share, by point, by replication
// set, by destination volume, or as one list of a set oldest first; and
// whether a job still runs.
#include <set>
#include <string>
#include <vector>

#include "host/ClientProperties.h"
#include "host/EvDebug.h"
#include "host/Subclient.h"
#include "host/db/DBtable.h"
#include "host/db/FLRTables.h"
#include "host/db/SqlText.h"
#include "flr/CPExpansion.h"
#include "flr/FLRRecords.h"
#include "rows/Db/Cursor/YBQueryInt.h"
#include "service/ErrorCodes.h"
#include "service/RecordConversion.h"
#include "service/HeldRows.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"

using flr_detail::JoinIds;
using steps::Fail;
using steps::HeldRows;

namespace {

std::string Num(long long value) { return std::to_string(value); }

const char CollectFn[] = "ReplicationMgr::GetFLRSnaps()";
const char SnapsNotFound[] = "Cannot find the snaps. Reason: DB Error";
const char CPsNotFound[] = "Cannot find the Consistency points. Reason: DB Error";

// Application type of the replication pairs (subclients) of a set.
const int kReplicationPairAppType = 84;

// The rows hanging on the collected snapshots, read once each.
struct CollectedRows {
    explicit CollectedRows(FLRSnapMountPointDB& mountDB, FLRSnapNetworkShareDB& shareDB)
        : mounts(mountDB), shares(shareDB)
    {
    }
    HeldRows<YBFLRSnapMountPoint_t> mounts;
    HeldRows<YBFLRSnapNetworkShare_t> shares;
};

// Reads into `rows` the rows of the where clause; false (code -4 and the
// text, logged with the table call's line) when the read fails.
template <typename Table, typename Row, typename Ret>
bool ReadRows(ReplicationMgr& mgr, Ret& ret, Table& db, HeldRows<Row>& rows, const std::string& where,
              const char* order, DBtran* tran, const char* text, const char* callLine, long line)
{
    if (db.getList(rows.rows, rows.count, where.c_str(), order, tran)) return true;
    return Fail(mgr, ret, kErrDatabase, text,
                std::string(callLine) + "\n\tsWhere      = " + where + "\n\tDB Err Code = " + Num(db.getErrorCode()),
                ProgNameQueries, CollectFn, line);
}

// One collected item from its snapshot row and what matches it among the
// rows read (the first match of each; none gives ids of -1).
FLRSnap_t MakeItem(const YBFLRSnapshot_t& snap, const HeldRows<YBFLRConsistencyPoint_t>& cps,
                   const CollectedRows& hanging)
{
    FLRSnap_t item;
    YBSet(item.Snapshot, snap);
    item.Snapshot.AuxValue = 0;

    item.CP.FLRSetId = -1;
    for (unsigned int i = 0; i < cps.count; ++i) {
        if (cps.rows[i].id != snap.ConsistencyPointId) continue;
        YBSet(item.CP, cps.rows[i]);
        // The flags travel as the three booleans only.
        item.CP.Flags = 0;
        item.CP.Type = 0;
        item.CP.AuxValue = 0;
        break;
    }
    for (unsigned int i = 0; i < hanging.mounts.count; ++i) {
        if (hanging.mounts.rows[i].SnapshotId != snap.id) continue;
        YBSet(item.MountPoint, hanging.mounts.rows[i]);
        break;
    }
    for (unsigned int i = 0; item.MountPoint.id != -1 && i < hanging.shares.count; ++i) {
        if (hanging.shares.rows[i].MountPointId != item.MountPoint.id) continue;
        YBSet(item.Share, hanging.shares.rows[i]);
        break;
    }
    return item;
}

// Reads the mount points of the snapshots and, when there are any, their
// shares.
template <typename Ret>
bool ReadHanging(ReplicationMgr& mgr, Ret& ret, const HeldRows<YBFLRSnapshot_t>& snaps, CollectedRows& hanging,
                 FLRSnapMountPointDB& mountDB, FLRSnapNetworkShareDB& shareDB, DBtran* tran)
{
    std::vector<int32_t> snapIds;
    for (unsigned int i = 0; i < snaps.count; ++i) snapIds.push_back(snaps.rows[i].id);
    if (!ReadRows(mgr, ret, mountDB, hanging.mounts, "SnapshotId IN ( " + JoinIds(snapIds) + ")", "", tran,
                  "Cannot find the mount points. Reason: DB Error", "\n\tFLRSnapMountPointDB::getList() failed",
                  __LINE__))
        return false;
    if (hanging.mounts.count == 0) return true;
    std::vector<int32_t> mountIds;
    for (unsigned int i = 0; i < hanging.mounts.count; ++i) mountIds.push_back(hanging.mounts.rows[i].id);
    return ReadRows(mgr, ret, shareDB, hanging.shares, "MountPointId IN (" + JoinIds(mountIds) + ")", "", tran,
                    "Cannot find the network share(s). Reason: DB Error",
                    "\n\tFRLSnapNetworkShareDB::getList() failed", __LINE__);
}

// Whether the snapshot is one of the point still being made, logged as left
// out.
bool SkipRunning(ReplicationMgr& mgr, const YBFLRSnapshot_t& snap, int32_t runningCP, long long setId)
{
    if (runningCP == 0 || snap.ConsistencyPointId != runningCP) return false;
    mgr.log() << "\tSkiping snapshot id " << snap.id << " from the pruning because the RP is still running"
              << "\n\tRP Id [" << runningCP << "]\n\tRep Set Id [" << setId << "]";
    mgr.WriteLogMsg(ProgNameQueries, CollectFn, __LINE__, ReplicationMgr::MSG);
    return true;
}

// The point whose job still runs, when the point given is the newest of its
// set: its id, else 0. False when the job table cannot be read.
template <typename Ret>
bool RunningCP(ReplicationMgr& mgr, Ret& ret, const YBFLRConsistencyPoint_t& newest, long long setId,
               int32_t& runningCP, DBtran* tran)
{
    runningCP = 0;
    bool active = false;
    if (!mgr.isJobActive(static_cast<unsigned long>(static_cast<uint32_t>(newest.JobId)), &active, &ret.errCode,
                         &ret.errMsg, tran))
        return false;
    if (!active) return true;
    runningCP = newest.id;
    mgr.log() << "\tRP Job [" << newest.JobId << "], rep Set Id [" << setId << "], RP id = [" << newest.id
              << "] is still running\n\tTaking that into consideration for FLR pruning purposes";
    mgr.WriteLogMsg(ProgNameQueries, CollectFn, __LINE__, ReplicationMgr::MSG);
    return true;
}

// The snapshot where text of a set for pruning: its own points' snapshots and
// those on the destination volumes of its live pairs. Empty (and true) when
// the set has no pair.
bool PruneSelection(ReplicationMgr& mgr, GetFLRSnapRet_t& ret, int32_t setId, std::string& where, DBtran* tran)
{
    const std::string set = Num(setId);
    std::vector<int> pairIds;
    std::vector<std::string> names;
    ClientApplicationList apps;
    int status = apps.getSubclientList(pairIds, names, kReplicationPairAppType, setId, tran, 1);
    if (status != 0)
        return Fail(mgr, ret, kErrLookupFailed,
                    "Failed to prune the snapshot(s). Cannot get the Replication set's pair list",
                    "\n\tClientApplicationList::getSubclientList() failed\n\tReplication Set Id = " + set +
                        "\n\tApp Mgr Ret Code   = " + Num(status),
                    ProgNameQueries, CollectFn, __LINE__);
    where.clear();
    if (pairIds.empty()) return true;

    where = "ConsistencyPointId in (select id from YBFLRConsistencyPoint where FLRSetId = " + set + ")";
    std::set<std::string> seen;
    for (int pairId : pairIds) {
        FileReplicationSubClient pair(pairId);
        const char* failed = nullptr;
        bool isDefault = false;
        bool deleted = false;
        std::string guid;
        if ((status = pair.isDefaultSubclient(isDefault, tran)) != 0)
            failed = "\n\tFileReplicationSubClient::isDefaultSubclient() failed";
        else if (isDefault)
            continue;
        else if ((status = pair.isDeleted(deleted, tran)) != 0)
            failed = "\n\tFileReplicationSubClient::isDeleted() failed";
        else if (deleted)
            continue;
        else if ((status = pair.getDestinationGUID(guid, tran)) != 0)
            failed = "\n\tFileReplicationSubClient::getDestinationGUID() failed";
        if (failed != nullptr)
            return Fail(mgr, ret, kErrLookupFailed,
                        "Failed to prune the snapshot(s). Cannot get the pair's volume GUID",
                        failed + std::string("\n\tReplication Set Id = ") + set +
                            "\n\tPair Id            = " + Num(pairId) + "\n\tApp Mgr Ret Code   = " + Num(status),
                        ProgNameQueries, CollectFn, __LINE__);
        if (!seen.insert(guid).second) continue;
        where += (seen.size() == 1 ? " or VolumeGUID IN (" : ", ") + ("'" + SqlEscape(guid) + "'");
    }
    if (!seen.empty()) where += ")";
    return true;
}

// The snapshot where text of a set's points and everything else on their
// destination volumes: empty (and true) when the set has no point; false
// without a code when its points have no snapshot.
bool RepSetVolumesSelection(ReplicationMgr& mgr, GetFLRSnapRet_t& ret, int32_t setId, std::string& where,
                            DBtran* tran)
{
    where.clear();
    FLRConsistencyPointDB cpDB;
    HeldRows<YBFLRConsistencyPoint_t> cps(cpDB);
    if (!ReadRows(mgr, ret, cpDB, cps, "FLRSetId = " + Num(setId), "", tran,
                  "Cannot find the GUIDs of the volume used for this replication set. Reason: DB Error",
                  "\n\tFLRConsistencyPointDB::getList() failed", __LINE__))
        return false;
    if (cps.count == 0) return true;

    std::vector<int32_t> cpIds;
    for (unsigned int i = 0; i < cps.count; ++i) cpIds.push_back(cps.rows[i].id);
    FLRSnapshotDB snapDB;
    HeldRows<YBFLRSnapshot_t> snaps(snapDB);
    if (!ReadRows(mgr, ret, snapDB, snaps, "ConsistencyPointId IN (" + JoinIds(cpIds) + ")", "", tran,
                  "Cannot find the GUIDs of the volume used for this consistency point. Reason: DB Error",
                  "\n\tFLRSnapshotDB::getList() failed", __LINE__))
        return false;
    if (snaps.count == 0) return false;

    std::set<std::string> seen;
    for (unsigned int i = 0; i < snaps.count; ++i) {
        const std::string guid = YBColumnText(snaps.rows[i].VolumeGUID);
        if (!seen.insert(guid).second) continue;
        where += (seen.size() == 1 ? "VolumeGUID IN ('" : ", '") + SqlEscape(guid) + "'";
    }
    where += ")";
    return true;
}

}  // namespace

bool ReplicationMgr::isJobActive(unsigned long jobId, bool* active, int* errorCode, std::string* errorText,
                                 DBtran* tran)
{
    if (active != nullptr) *active = false;
    const std::string sql = " SELECT state FROM JCJobInfo WHERE JobId = " + Num(static_cast<long long>(jobId));
    YBQueryInt cursor(tran);
    cursor.setValues(sql.c_str());
    int state = 0;
    int rc;
    while ((rc = getNextRow(&cursor, &state, -1, 0)) == DB_ROW_OK)
        if (active != nullptr) *active = true;
    if (rc == DB_NO_MORE_ROWS) return true;

    if (errorText != nullptr) *errorText = "Could not get job state";
    if (errorCode != nullptr) *errorCode = kErrDatabase;
    m_LogMsg << "\tEvent: Could not get job state\n\tgetNextRow(YBQueryInt &) failed\n\tsSQLStatement : " << sql
             << "\n\tJob Id        : " << jobId << "\n\tDB Err Code = " << rc;
    WriteLogMsg(ProgNameQueries, "ReplicationMgr::isJobActive", __LINE__, ERR);
    return false;
}

bool ReplicationMgr::GetFLRSnaps(const GetFLRSnapArgs_t& args, GetFLRSnapRet_t& ret, DBtran* tran)
{
    ret.Snaps.clear();
    int32_t runningCP = 0;
    std::string where;
    if (args.Mode == FLRSNAP_BY_CP) {
        where = "ConsistencyPointId = " + Num(args.Id);
    } else if (args.Mode == FLRSNAP_BY_REPSET) {
        if (!RepSetVolumesSelection(*this, ret, args.Id, where, tran)) return false;
        if (where.empty()) return true;
    } else if (args.Mode == FLRSNAP_BY_REPSET_FOR_PRUNING) {
        FLRConsistencyPointDB cpDB;
        HeldRows<YBFLRConsistencyPoint_t> cps(cpDB);
        if (!ReadRows(*this, ret, cpDB, cps, "FLRSetId = " + Num(args.Id), "JobId DESC", tran, CPsNotFound,
                      "\n\tFLRConsistencyPointDB::getList() failed", __LINE__))
            return false;
        if (cps.count > 0 && !RunningCP(*this, ret, cps.rows[0], args.Id, runningCP, tran)) return false;
        if (!PruneSelection(*this, ret, args.Id, where, tran)) return false;
        if (where.empty()) return true;
    } else {
        where = "VolumeGUID = '" + SqlEscape(args.VolumeGUID) + "'";
    }

    FLRSnapshotDB snapDB;
    HeldRows<YBFLRSnapshot_t> snaps(snapDB);
    if (!ReadRows(*this, ret, snapDB, snaps, where, "CreationTime ASC", tran, SnapsNotFound,
                  "\n\tFLRSnapshotDB::getList() failed", __LINE__))
        return false;
    // A point always has a snapshot: none means no such point.
    if (snaps.count == 0) return args.Mode != FLRSNAP_BY_CP;

    std::vector<int32_t> cpIds;
    std::set<int32_t> seen;
    for (unsigned int i = 0; i < snaps.count; ++i)
        if (seen.insert(snaps.rows[i].ConsistencyPointId).second) cpIds.push_back(snaps.rows[i].ConsistencyPointId);
    FLRConsistencyPointDB cpDB;
    HeldRows<YBFLRConsistencyPoint_t> cps(cpDB);
    if (!ReadRows(*this, ret, cpDB, cps, "id IN (" + JoinIds(cpIds) + ")", "", tran, CPsNotFound,
                  "\n\tFLRConsistencyPointDB::getList() failed", __LINE__))
        return false;
    FLRSnapMountPointDB mountDB;
    FLRSnapNetworkShareDB shareDB;
    CollectedRows hanging(mountDB, shareDB);
    if (!ReadHanging(*this, ret, snaps, hanging, mountDB, shareDB, tran)) return false;

    for (unsigned int i = 0; i < snaps.count; ++i) {
        if (SkipRunning(*this, snaps.rows[i], runningCP, args.Id)) continue;
        ret.Snaps[YBColumnText(snaps.rows[i].VolumeGUID)].push_back(MakeItem(snaps.rows[i], cps, hanging));
    }
    return true;
}

bool ReplicationMgr::GetFLRSnapsForRepSet(unsigned long setId, GetFLRSnapForRepSetRet_t& ret, DBtran* tran)
{
    ret.Snaps.clear();
    const int32_t set = static_cast<int32_t>(setId);
    FLRConsistencyPointDB cpDB;
    HeldRows<YBFLRConsistencyPoint_t> cps(cpDB);
    if (!ReadRows(*this, ret, cpDB, cps, "FLRSetId = " + Num(set), "JobId ASC", tran, CPsNotFound,
                  "\n\tFLRConsistencyPointDB::getList() failed", __LINE__))
        return false;
    if (cps.count == 0) return true;
    int32_t runningCP = 0;
    if (!RunningCP(*this, ret, cps.rows[cps.count - 1], set, runningCP, tran)) return false;

    std::vector<int32_t> cpIds;
    for (unsigned int i = 0; i < cps.count; ++i) cpIds.push_back(cps.rows[i].id);
    FLRSnapshotDB snapDB;
    HeldRows<YBFLRSnapshot_t> snaps(snapDB);
    if (!ReadRows(*this, ret, snapDB, snaps, "ConsistencyPointId IN (" + JoinIds(cpIds) + ")", "CreationTime ASC",
                  tran, SnapsNotFound, "\n\tFLRSnapshotDB::getList() failed", __LINE__))
        return false;
    if (snaps.count == 0) return true;
    FLRSnapMountPointDB mountDB;
    FLRSnapNetworkShareDB shareDB;
    CollectedRows hanging(mountDB, shareDB);
    if (!ReadHanging(*this, ret, snaps, hanging, mountDB, shareDB, tran)) return false;

    for (unsigned int i = 0; i < snaps.count; ++i) {
        if (SkipRunning(*this, snaps.rows[i], runningCP, set)) continue;
        ret.Snaps.push_back(MakeItem(snaps.rows[i], cps, hanging));
    }
    return true;
}
