// Deleting one consistency point or every point of a replication set, host
// first: the snapshots are released on the destination host and a row goes
// only where the host reported its step done. With the points left behind:
// removed when without snapshots, else marked unstable; and, for a set
// without points, its pairs taken out of the fan-in points of other sets.
// With the request cases of both deletions.
#include <set>
#include <string>
#include <vector>

#include "flr/CPExpansion.h"
#include "flr/FLRCases.h"
#include "flr/FLRDeleteMessages.h"
#include "flr/SnapRowRemoval.h"
#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "host/db/FLRTables.h"
#include "rows/Db/Cursor/YBQueryInt.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/Refusals.h"
#include "service/SourceNames.h"

using flr_detail::RemovalKind;
using steps::Fail;

namespace {

const char DelCPFn[] = "ReplicationMgr::DelCP()";
const char DelAllFn[] = "ReplicationMgr::DeleteAllCPsByRepSetId()";
const char MarkFn[] = "ReplicationMgr::MarkCPUnstable()";
const char ClearFn[] = "ReplicationMgr::clearRepSetPairInfoFromFanInRPs()";
const char HostReleaseFailed[] = "Consistency point resource could not be released in the host";

std::string Num(long long value) { return std::to_string(value); }

// A snapshot of the point or set being deleted that is still mounted or
// shared refuses the deletion (-11), unless its point mounts automatically
// or the deletion is forced.
template <typename Ret>
bool RefuseMountedOrShared(ReplicationMgr& mgr, Ret& ret, const FLRSnap_t& item, bool force, const char* function)
{
    if (item.CP.AutoMount || force) return true;
    const std::string snapLines = "\n\tSnapshot Id    = " + Num(item.Snapshot.id) +
                                  "\n\tVolume Path    = " + EvDebug::escaped(item.Snapshot.SnapVolumeName);
    if (item.MountPoint.id != -1)
        return Fail(
            mgr, ret, kErrInUse,
            "Consistency point cannot be deleted because it's still mounted. Unmount the consistency point first",
            "\n\tCP Id\t       = " + Num(item.CP.id) + snapLines + "\n\tMount Point Id = " + Num(item.MountPoint.id) +
                "\n\tMount Path     = " + EvDebug::escaped(item.MountPoint.MountPath),
            ProgNameDeletes, function, __LINE__);
    if (item.Share.id != -1)
        return Fail(
            mgr, ret, kErrInUse,
            "Consistency point cannot be deleted because it's still shared. Unshare the consistency point first",
            "\n\tCP Id          = " + Num(item.CP.id) + snapLines + "\n\tMount Path     = " +
                EvDebug::escaped(item.MountPoint.MountPath) + "\n\tShare Id       = " + Num(item.Share.id) +
                "\n\tShare Name     = " + EvDebug::escaped(item.Share.NetShareName),
            ProgNameDeletes, function, __LINE__);
    return true;
}

// A point without snapshots: nothing to release, so its row goes; a point
// that does not exist is -3.
bool DeleteEmptyCP(ReplicationMgr& mgr, int32_t cpId, DelCPRet_t& ret, DBtran* tran)
{
    FLRConsistencyPointDB cpDB;
    if (cpDB.remove(cpId, tran)) {
        mgr.log() << "\tRP id " << cpId << " had no snapshot and was removed successfully from the DB";
        mgr.WriteLogMsg(ProgNameDeletes, DelCPFn, __LINE__, ReplicationMgr::MSG);
        return true;
    }
    const int code = cpDB.getErrorCode();
    if (code == DB_NO_MORE_ROWS)
        return Fail(mgr, ret, kErrNotFound,
                    "Failed to delete the consistency point. The consistency point does not exist",
                    "\n\tConsistency point id = " + Num(cpId), ProgNameDeletes, DelCPFn, __LINE__);
    return Fail(mgr, ret, kErrDatabase, "Failed to delete Consistency point from the database. Error returned from DB",
                "\n\tFLRConsistencyPointDB::remove() failed\n\tConsistency point Id = " + Num(cpId) +
                    "\n\tDB Err Code = " + Num(code),
                ProgNameDeletes, DelCPFn, __LINE__);
}

// The points of the set still stored once every snapshot of the set is
// gone: those that never had one. Nothing to remove is no failure.
bool RemovePointsLeft(ReplicationMgr& mgr, int32_t setId, DeleteAllCPsByRepSetIdRet_t& ret, DBtran* tran)
{
    FLRConsistencyPointDB cpDB;
    const std::string where = "FLRSetId = " + Num(setId);
    if (cpDB.remove(where.c_str(), tran) || cpDB.getErrorCode() == DB_NO_MORE_ROWS) return true;
    return Fail(mgr, ret, kErrDatabase, "Failed to delete Consistency point from the database. Error returned from DB",
                "\n\tFLRConsistencyPointDB::remove() failed\n\tReplication Set Id = " + Num(setId) +
                    "\n\tsWhere             = " + where + "\n\tDB Err Code        = " + Num(cpDB.getErrorCode()),
                ProgNameDeletes, DelAllFn, __LINE__);
}

}  // namespace

bool ReplicationMgr::DelCP(const DelCPArgs_t& args, DelCPRet_t& ret, DBtran* tran)
{
    const int32_t cpId = args.CPId;
    if (cpId < 1)
        return Fail(*this, ret, kErrInvalidId, "Failed to delete the consistency point. Unknown consistency point id",
                    "\n\tInvalid consistency point id\n\tConsistency point id = " + Num(cpId), ProgNameDeletes, DelCPFn,
                    __LINE__);

    GetFLRSnapArgs_t select;
    select.Id = cpId;
    select.Mode = FLRSNAP_BY_CP;
    GetFLRSnapRet_t collected;
    if (!GetFLRSnaps(select, collected, tran)) {
        if (collected.errCode != 0) return steps::PassOn(ret, collected.errMsg, collected.errCode);
        return DeleteEmptyCP(*this, cpId, ret, tran);
    }

    YBFLRConsistencyPoint_t cp;
    FLRConsistencyPointDB cpDB;
    if (!cpDB.getInfo(cpId, cp, tran))
        return Fail(*this, ret, kErrDatabase,
                    "Cannot find the Consistency point information in the DB. Reason: DB Error",
                    "\n\tFLRConsistencyPointDB::getInfo() failed\n\tsId         = " + Num(cpId) +
                        "\n\tDB Err Code = " + Num(cpDB.getErrorCode()),
                    ProgNameDeletes, DelCPFn, __LINE__);

    FLRSnapCleanup_t batch(cp.ClientId);
    for (const auto& volume : collected.Snaps)
        for (const FLRSnap_t& item : volume.second) {
            if (!RefuseMountedOrShared(*this, ret, item, args.Force, DelCPFn)) return false;
            batch.Snaps.push_back(item);
        }
    if (!FLRSnapCleanup(batch)) {
        ret.errCode = kErrHostRelease;
        ret.errMsg = HostReleaseFailed;
        return false;
    }

    const flr_detail::RowRemoval removal{*this, RemovalKind::OnePoint, DelCPFn, &ret.errCode, &ret.errMsg, tran, cpId};
    for (const FLRSnap_t& item : batch.Snaps)
        if (flr_detail::RemoveItemRows(removal, item) != flr_detail::ItemRows::Removed) return false;

    if (!cpDB.remove(cpId, tran))
        return Fail(*this, ret, kErrDatabase,
                    "Failed to delete Consistency point from the database. Error returned from DB",
                    "\n\tFLRConsistencyPointDB::remove() failed\n\tConsistency point Id = " + Num(cpId) +
                        "\n\tDB Err Code = " + Num(cpDB.getErrorCode()),
                    ProgNameDeletes, DelCPFn, __LINE__);
    m_LogMsg << "\tRP id " << cpId << " was removed successfully from the DB";
    WriteLogMsg(ProgNameDeletes, DelCPFn, __LINE__, MSG);
    return true;
}

bool ReplicationMgr::DeleteAllCPsByRepSetId(const DeleteAllCPsByRepSetIdArgs_t& args,
                                            DeleteAllCPsByRepSetIdRet_t& ret, DBtran* tran)
{
    const int32_t setId = args.RepSetId;
    if (setId < 1)
        return Fail(*this, ret, kErrInvalidId,
                    "Failed to delete the Replication set's consistency point(s). Unknown Replication Set id",
                    "\n\tInvalid Replication Set id\n\tReplication Set id = " + Num(setId), ProgNameDeletes, DelAllFn,
                    __LINE__);

    GetFLRSnapArgs_t select;
    select.Id = setId;
    select.Mode = FLRSNAP_BY_REPSET;
    GetFLRSnapRet_t collected;
    // False without a code: the set's points have no snapshot.
    if (!GetFLRSnaps(select, collected, tran) && collected.errCode != 0)
        return steps::PassOn(ret, collected.errMsg, collected.errCode);
    if (collected.Snaps.empty())
        return RemovePointsLeft(*this, setId, ret, tran) && clearRepSetPairInfoFromFanInRPs(args, ret, tran);

    FLRSnapCleanup_t batch(0);
    for (const auto& volume : collected.Snaps)
        for (const FLRSnap_t& item : volume.second) {
            const bool ofSet = item.CP.FLRSetId == setId;
            if (batch.ClientId == 0 && ofSet) batch.ClientId = item.CP.ClientId;
            if (ofSet && !RefuseMountedOrShared(*this, ret, item, args.Force, DelAllFn)) return false;
            batch.Snaps.push_back(item);
        }
    if (!FLRSnapCleanup(batch)) {
        if (!args.Force) {
            ret.errCode = kErrHostRelease;
            ret.errMsg = HostReleaseFailed;
            return false;
        }
        m_LogMsg << "\tEvent: Failed to delete snapshots in the client delete"
                 << "\t       Still deleting entries in the DB because the force delete flag is set";
        WriteLogMsg(ProgNameDeletes, DelAllFn, __LINE__, MSG);
    }

    flr_detail::RowRemoval removal{*this, RemovalKind::WholeSet, DelAllFn, &ret.errCode, &ret.errMsg, tran, setId};
    removal.honourHost = !args.Force;
    std::set<int32_t> own;
    std::set<int32_t> other;
    for (const FLRSnap_t& item : batch.Snaps) {
        if (flr_detail::RemoveItemRows(removal, item) != flr_detail::ItemRows::Removed) return false;
        (item.CP.FLRSetId == setId ? own : other).insert(item.CP.id);
    }
    return flr_detail::RemoveTouchedCPs(removal, own, other) && RemovePointsLeft(*this, setId, ret, tran);
}

bool ReplicationMgr::MarkCPUnstable(const MarkCPUnstableArgs_t& args, MarkCPUnstableRet_t& ret, DBtran* tran)
{
    FLRConsistencyPointDB cpDB;
    for (int32_t cpId : args.CPIds) {
        unsigned int count = 0;
        if (!flr_detail::CountCPSnapshots(*this, MarkFn, cpId, count, &ret.errCode, &ret.errMsg, tran)) return false;
        if (count == 0) {
            if (!cpDB.remove(cpId, tran) && cpDB.getErrorCode() != DB_NO_MORE_ROWS)
                return Fail(*this, ret, kErrDatabase, "Cannot remove the consistency point from the DB. Database Error",
                            "\n\tFLRConsistencyPointDB::remove() failed\n\tConsistency Point Id = " + Num(cpId) +
                                "\n\tDB Err Code          = " + Num(cpDB.getErrorCode()),
                            ProgNameDeletes, MarkFn, __LINE__);
            m_LogMsg << "\tRP id " << cpId << " was removed successfully from the DB";
            WriteLogMsg(ProgNameDeletes, MarkFn, __LINE__, MSG);
            continue;
        }
        YBFLRConsistencyPoint_t cp;
        if (!cpDB.getInfo(cpId, cp, tran))
            return Fail(*this, ret, kErrDatabase,
                        "Cannot get the consistency point information from the DB. Database error",
                        "\n\tFLRConsistencyPointDB::getInfo() failed\n\tConsistency Point Id = " + Num(cpId) +
                            "\n\tDB Err Code = " + Num(cpDB.getErrorCode()),
                        ProgNameDeletes, MarkFn, __LINE__);
        const std::string set = "Flags = " + Num(cp.Flags | FLRCP_FLAG_UNSTABLE);
        if (!cpDB.Update(cpId, set.c_str(), tran))
            return Fail(*this, ret, kErrDatabase, "Cannot mark the consistency point unstable. Database Error",
                        "\n\tFLRConsistencyPointDB::Update() failed\n\tConsistency point id = " + Num(cpId) +
                            "\n\tsUpdate              = " + set +
                            "\n\tDB Err Code          = " + Num(cpDB.getErrorCode()),
                        ProgNameDeletes, MarkFn, __LINE__);
        m_LogMsg << "\tRP id " << cpId << " was marked unstable in the DB";
        WriteLogMsg(ProgNameDeletes, MarkFn, __LINE__, MSG);
    }
    return true;
}

bool ReplicationMgr::clearRepSetPairInfoFromFanInRPs(const DeleteAllCPsByRepSetIdArgs_t& args,
                                                     DeleteAllCPsByRepSetIdRet_t& ret, DBtran* tran)
{
    FanInRPAssociatedWithSrcRepSetArgs_t fanInArgs;
    fanInArgs.SrcRepSetId = args.RepSetId;
    FanInRPAssociatedWithSrcRepSetRet_t fanIn;
    if (!getFanInRPAssociatedWithSrcRepSet(fanInArgs, fanIn, tran))
        return steps::PassOn(ret, fanIn.errMsg, fanIn.errCode);
    if (fanIn.Pairs.empty()) return true;

    FLRSnapPairDB pairDB;
    for (const YBFLRSnapPair_t& pair : fanIn.Pairs) {
        if (!pairDB.remove(pair.id, tran))
            return Fail(*this, ret, kErrDatabase, "Cannot remove snap-pair record from the DB",
                        "\n\tFLRSnapPairDB::remove() failed\n\tid          = " + Num(pair.id) +
                            "\n\tDB Err Code = " + Num(pairDB.getErrorCode()),
                        ProgNameDeletes, ClearFn, __LINE__);
        m_LogMsg << "\tPair/Snapshot Id [" << pair.id << "] association removed from the DB";
        WriteLogMsg(ProgNameDeletes, ClearFn, __LINE__, MSG);
    }
    if (fanIn.SnapshotIds.empty()) return true;

    // The points owning one of those snapshots with no pair row left.
    std::string sql = "SELECT DISTINCT S.ConsistencyPointId FROM YBFLRSnapshot S WHERE S.Id IN (";
    size_t n = 0;
    for (int32_t id : fanIn.SnapshotIds) sql += Num(id) + (++n < fanIn.SnapshotIds.size() ? ", " : ") ");
    sql += "AND NOT EXISTS (SELECT * FROM YBFLRSnapPair SP WHERE SP.SnapshotId =  S.Id) "
           "ORDER BY S.ConsistencyPointId ASC ";
    std::vector<int32_t> cpIds;
    {
        YBQueryInt cursor(tran);
        cursor.setValues(sql.c_str());
        int state = 0;
        int rc;
        while ((rc = getNextRow(&cursor, &state, -1, 0)) == DB_ROW_OK) cpIds.push_back(cursor.getDataPtr()->IntValue);
        if (rc != DB_NO_MORE_ROWS)
            return Fail(*this, ret, kErrDatabase, "Could not get Fan In RPs associated with the rep set",
                        "\n\tgetNextRow(YBQueryInt &) failed\n\tsWhere       : " + sql +
                            "\n\tRepSet Id    : " + Num(args.RepSetId) + "\n\tDB Err Code = " + Num(rc),
                        ProgNameDeletes, ClearFn, __LINE__);
    }

    // Only the points left without any pair row go; a point that still has
    // pairs of other sets on another snapshot stays.
    FLRSnapPairDB leftDB;
    for (int32_t cpId : cpIds) {
        const std::string where =
            "SnapshotId IN (SELECT id FROM YBFLRSnapshot WHERE ConsistencyPointId = " + Num(cpId) + ")";
        unsigned int pairsLeft = 0;
        if (!leftDB.getNRows(where.c_str(), pairsLeft, tran)) {
            if (leftDB.getErrorCode() != DB_NO_MORE_ROWS)
                return Fail(*this, ret, kErrDatabase, "Could not get Fan In RPs associated with the rep set",
                            "\n\tFLRSnapPairDB::getNRows() failed\n\tsWhere      = " + where +
                                "\n\tDB Err Code = " + Num(leftDB.getErrorCode()),
                            ProgNameDeletes, ClearFn, __LINE__);
            pairsLeft = 0;
        }
        if (pairsLeft != 0) continue;
        DelCPRet_t deleted;
        if (!DelCP(DelCPArgs_t(cpId, args.Force), deleted, tran))
            return steps::PassOn(ret, deleted.errMsg, deleted.errCode);
    }
    return true;
}

// ---- Request cases -----------------------------------------------------------------

namespace {


void ServeDelAllCPsByRepSetId(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    const auto& request = cases::RequestOf<repDelAllCPsByRepSetIdReq>(buf);
    const DeleteAllCPsByRepSetIdArgs_t args(static_cast<int32_t>(request.RepSetId), request.Force == 1);
    DeleteAllCPsByRepSetIdRet_t ret;
    AnswerOperationInTran<repDelAllCPsByRepSetIdResp>(mgr, code, args, ret, &ReplicationMgr::DeleteAllCPsByRepSetId);
}

void ServeDelCP(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    // The force flag is never set from a request.
    const DelCPArgs_t args(static_cast<int32_t>(cases::RequestOf<repDelCPReq>(buf).CPId), false);
    DelCPRet_t ret;
    AnswerOperationInTran<repDelCPResp>(mgr, code, args, ret, &ReplicationMgr::DelCP);
}

}  // namespace

const ServedCase DelAllCPsByRepSetIdCase =
    cases::Serve<repDelAllCPsByRepSetIdReq, repDelAllCPsByRepSetIdResp>(&ServeDelAllCPsByRepSetId);
const ServedCase DelCPCase = cases::Serve<repDelCPReq, repDelCPResp>(&ServeDelCP);
