// Consistency points as jobs report them: the header-only add, and the
// creation of a point with its FLR snapshots, their pair associations and
// mount points in one transaction, or the merge of new snapshots into the
// stored point of the same set and time or of the same job; with their
// request cases.
#include <cstring>
#include <ctime>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "host/BackupSet.h"
#include "host/EvDebug.h"
#include "host/ZXClient.h"
#include "host/db/DBtable.h"
#include "host/db/FLRTables.h"
#include "flr/FLRCases.h"
#include "flr/FLRMessages.h"
#include "rows/Db/Cursor/YBQueryInt.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/RecordConversion.h"
#include "service/HeldRows.h"
#include "service/Refusals.h"
#include "service/ReplyArray.h"
#include "service/SourceNames.h"
#include "service/TranHandle.h"

using steps::Fail;

namespace {

const char DuplicateCheckFailed[] = "Cannot include new consistency point. DB Error while checking duplicates";
const char CPInsertFailed[] = "Cannot include new FLR consistency point record into the database";
const char CreationTimeZero[] = "\tEvent: Warning: Consistency point's Creation Time is zero";

// The system clock as the catalogue stores it.
int32_t Now() { return static_cast<int32_t>(std::time(nullptr)); }

std::string Num(long long value) { return std::to_string(value); }

// Positions in the request of the pairs or mount points of each request
// snapshot id.
template <typename Record>
std::map<int32_t, std::vector<size_t>> BySnapshot(const std::vector<Record>& records)
{
    std::map<int32_t, std::vector<size_t>> positions;
    for (size_t i = 0; i < records.size(); ++i) positions[records[i].SnapshotId].push_back(i);
    return positions;
}

// The job id of the point as its column holds it (the low 32 bits), or 0
// when the point names no job: a job id of 0 or less names none.
int32_t MergeJob(const FLRConsistencyPointRecord_t& cp)
{
    return cp.JobId > 0 ? static_cast<int32_t>(cp.JobId) : 0;
}

// The stored points of the set and creation time, or of the job. Without a
// job the job's term stays out, so points of jobs without an id are never
// merged by it.
std::string MergeWhere(const FLRConsistencyPointRecord_t& cp)
{
    std::string where = "(FLRSetId = " + Num(static_cast<int32_t>(cp.FLRSetId)) +
                        " AND CreationTime = " + Num(static_cast<int32_t>(cp.CreationTime)) + ")";
    if (MergeJob(cp) != 0) where += " OR (JobId = " + Num(MergeJob(cp)) + ")";
    return where;
}

// The point to merge into among the rows the lookup found, lowest id first:
// a point the arguments let only the job term find must be of the job.
const YBFLRConsistencyPoint_t* MergeTarget(const CreateCPArgs_t& args, const YBFLRConsistencyPoint_t* rows,
                                           unsigned int count)
{
    for (unsigned int i = 0; i < count; ++i) {
        const YBFLRConsistencyPoint_t& row = rows[i];
        if (args.MergeByJobOnly.count(row.id) == 0) return &row;
        if (MergeJob(args.CP) != 0 && row.JobId == MergeJob(args.CP)) return &row;
    }
    return nullptr;
}

}  // namespace

bool ReplicationMgr::AddFLRConsistencyPoint(const AddFLRConsistencyPointArgs_t& args, AddFLRConsistencyPointRet_t& ret,
                                            DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::AddFLRConsistencyPoint()";
    const int32_t setId = static_cast<int32_t>(args.CP.FLRSetId);
    const int32_t creationTime = static_cast<int32_t>(args.CP.CreationTime);

    // A set id below 1 names no replication set.
    if (args.CP.FLRSetId < 1)
        return Fail(*this, ret, kErrInvalidId, "Replication set id is invalid", " [FLRSetId == " + Num(setId) + "]",
                    ProgNameInserts, Fn, __LINE__);
    if (creationTime == 0) {
        m_LogMsg << CreationTimeZero;
        WriteLogMsg(ProgNameInserts, Fn, __LINE__, WARNING);
    }

    FLRConsistencyPointDB cpDB;
    const std::string where = "FLRSetId = " + Num(setId) + " AND CreationTime = " + Num(creationTime);
    unsigned int count = 0;
    if (!cpDB.getNRows(where.c_str(), count, tran)) {
        if (cpDB.getErrorCode() != DB_NO_MORE_ROWS)
            return Fail(*this, ret, kErrDatabase, DuplicateCheckFailed,
                        "\n\tFLRApplicationDB.getNRows() failed\n\tsWhere = " + where + "\n\tTran = 0x" +
                            steps::TranHandle(tran) + "\n\tDB Err Code = " + Num(cpDB.getErrorCode()),
                        ProgNameInserts, Fn, __LINE__);
        count = 0;
    }
    if (count > 0)
        return Fail(*this, ret, kErrNotUnique, "The Consistency point is already in the database",
                    "\n\tsWhere = " + where + "\n\tNRows = " + Num(count), ProgNameInserts, Fn, __LINE__);

    YBFLRConsistencyPoint_t row;
    row.FLRSetId = setId;
    row.CreationTime = Now();
    if (!cpDB.insert(row, tran))
        return Fail(*this, ret, kErrDatabase, CPInsertFailed,
                    "\n\tFLRApplicationDB::insert() failed\n\tDB Err Code = " + Num(cpDB.getErrorCode()),
                    ProgNameInserts, Fn, __LINE__);

    ret.CPId = row.id;
    ret.errMsg = "";
    m_LogMsg << "\tFLR Consistency Point [" << setId << " - " << row.CreationTime << "] was added, using ID " << row.id;
    WriteLogMsg(ProgNameInserts, Fn, __LINE__, MSG);
    return true;
}

namespace {

// The state of one creation: the request, where its pairs and mount points
// are, the names stored already for a merged point and those stored by this
// call.
struct CreateCPWork {
    ReplicationMgr& mgr;
    const CreateCPArgs_t& args;
    CreateCPRet_t& ret;
    DBtran* tran;
    std::map<int32_t, std::vector<size_t>> pairsOf;
    std::map<int32_t, std::vector<size_t>> mountsOf;
    std::set<std::string> storedNames;
    std::set<std::string> createdNames;
};

const char CreateFn[] = "ReplicationMgr::CreateConsistencyPoint()";

// Finds the point to merge into: true with merged set (and the names of its
// snapshots) when there is one, true with merged clear when there is none.
bool FindStoredCP(CreateCPWork& w, bool& merged)
{
    const std::string where = MergeWhere(w.args.CP);
    FLRConsistencyPointDB cpDB;
    steps::HeldRows<YBFLRConsistencyPoint_t> found(cpDB);
    merged = false;
    if (!cpDB.getList(found.rows, found.count, where.c_str(), "id ASC", w.tran)) {
        if (cpDB.getErrorCode() == DB_NO_MORE_ROWS) return true;
        return Fail(w.mgr, w.ret, kErrDatabase, DuplicateCheckFailed,
                    "\n\tFLRConsistencyPointDB.getNRows() failed\n\tsWhere = " + where + "\n\tTran = 0x" +
                        steps::TranHandle(w.tran) + "\n\tDB Err Code = " + Num(cpDB.getErrorCode()),
                    ProgNameInserts, CreateFn, __LINE__);
    }
    const YBFLRConsistencyPoint_t* target = MergeTarget(w.args, found.rows, found.count);
    if (target == nullptr) return true;

    merged = true;
    w.ret.CPId = target->id;
    w.ret.errMsg = "The Consistency point is already in the database. Merging the CPs";
    w.mgr.log() << "\t" << w.ret.errMsg << "\n\tsWhere = " << where << "\n\tCP Id = " << w.ret.CPId;
    w.mgr.WriteLogMsg(ProgNameInserts, CreateFn, __LINE__, ReplicationMgr::INFO);

    FLRSnapshotDB snapDB;
    steps::HeldRows<YBFLRSnapshot_t> snaps(snapDB);
    const std::string snapWhere = "ConsistencyPointId = " + Num(w.ret.CPId);
    if (!snapDB.getList(snaps.rows, snaps.count, snapWhere.c_str(), "id ASC", w.tran))
        return Fail(w.mgr, w.ret, kErrDatabase, "Failed to get the list of snapshot for the consistency point",
                    "\n\tFLRSnapshotDB::getList() failed\n\tsWhere = " + snapWhere +
                        "\n\tDB Err Code = " + Num(snapDB.getErrorCode()),
                    ProgNameInserts, CreateFn, __LINE__);
    for (unsigned int i = 0; i < snaps.count; ++i) w.storedNames.insert(YBColumnText(snaps.rows[i].Name));
    return true;
}

// The source client of the set: the request's when it gives one, else the
// last active subclient's client of the set, 0 when there is none.
bool FindSourceClient(CreateCPWork& w, int32_t& srcClientId)
{
    srcClientId = w.args.CP.SrcClientId;
    if (srcClientId > 0) return true;
    srcClientId = 0;
    const std::string sql = "SELECT ClientId FROM DHT_application WHERE backupset = " +
                            Num(static_cast<int32_t>(w.args.CP.FLRSetId)) + " AND subclientStatus = 40";
    YBQueryInt cursor(w.tran);
    cursor.setValues(sql.c_str());
    int state = 0;
    int rc;
    while ((rc = getNextRow(&cursor, &state, -1, 0)) == DB_ROW_OK) srcClientId = cursor.getDataPtr()->IntValue;
    if (rc != DB_NO_MORE_ROWS)
        return Fail(w.mgr, w.ret, kErrDatabase, "Could not get rep set source client id from the database",
                    "\n\tgetNextRow(YBQueryInt &) failed\n\tsWhere: " + sql + "\n\tDB Err Code = " + Num(rc),
                    ProgNameInserts, CreateFn, __LINE__);
    return true;
}

// Stores a new point of the set on its destination host.
bool InsertCP(CreateCPWork& w, int32_t srcClientId)
{
    const FLRConsistencyPointRecord_t& cp = w.args.CP;
    const int32_t setId = static_cast<int32_t>(cp.FLRSetId);
    FLRConsistencyPointRecord_t stored = cp;

    FileReplicationBackupSet set(setId);
    int status = cp.IsCPTypeDestinationMachine() ? set.getClientIdForBackupSet(stored.ClientId)
                                                  : set.getDestinationHostId(stored.ClientId);
    if (status != 0)
        return Fail(w.mgr, w.ret, kErrLookupFailed,
                    "Consistency Point cannot be added. Cannot find the destination host of the Replication Set",
                    "\n\tFileReplicationBackupSet::getDestinationHostId() failed\n\tReplication Set Id = " +
                        Num(setId) + "\n\tError Code = " + Num(status),
                    ProgNameInserts, CreateFn, __LINE__);

    ZXClient client(static_cast<unsigned long long>(static_cast<long long>(stored.ClientId)));
    status = client.getTallmarkId(stored.TallmarkId);
    if (status != 0)
        return Fail(w.mgr, w.ret, kErrLookupFailed,
                    "Consistency Point cannot be added. Cannot find the tallmark id of the Replication Set",
                    "\n\tZXClient::getTallmarkId() failed\n\tClient Id          = " + Num(stored.ClientId) +
                        "\n\tError Code = " + Num(status),
                    ProgNameInserts, CreateFn, __LINE__);

    stored.SrcClientId = srcClientId;
    stored.CreationTime = Now();
    YBFLRConsistencyPoint_t row;
    YBDBDst_t<YBFLRConsistencyPoint_t> dst(row, w.ret.errMsg);
    YBSet(dst, stored);
    FLRConsistencyPointDB cpDB;
    if (!cpDB.insert(row, w.tran))
        return Fail(w.mgr, w.ret, kErrDatabase, CPInsertFailed,
                    "\n\tFLRConsistencyPointDB::insert() failed\n\tDB Err Code = " + Num(cpDB.getErrorCode()),
                    ProgNameInserts, CreateFn, __LINE__);

    w.ret.CPId = row.id;
    w.ret.Created = true;
    w.mgr.log() << "\tFLR CP [" << setId << " - " << row.CreationTime << " - " << cp.JobId << "] was added, ID "
                << row.id;
    w.mgr.WriteLogMsg(ProgNameInserts, CreateFn, __LINE__, ReplicationMgr::MSG);
    return true;
}

// Stores the pair associations of the request snapshot under its new id.
bool InsertPairs(CreateCPWork& w, const FLRSnapshotRecord_t& snap, int32_t snapshotId)
{
    auto pairs = w.pairsOf.find(snap.id);
    if (pairs == w.pairsOf.end())
        return Fail(w.mgr, w.ret, kErrMissingInput, "Snapshot has no pair ids",
                    "\n\tNo pair ids were specified for snapshot " + EvDebug::escaped(snap.Name) +
                        "\n\tFLR Set Id = " + Num(w.args.CP.FLRSetId) + "\n\tJob Id = " + Num(w.args.CP.JobId),
                    ProgNameInserts, CreateFn, __LINE__);
    FLRSnapPairDB pairDB;
    for (size_t i : pairs->second) {
        YBFLRSnapPair_t row;
        row.SnapshotId = snapshotId;
        row.PairId = w.args.Pairs[i].PairId;
        if (!pairDB.insert(row, w.tran))
            return Fail(w.mgr, w.ret, kErrDatabase, "Cannot include new FLR snapshot pair into the database",
                        "\n\tFLRSnapPairDB::insert() failed\n\tDB Err Code = " + Num(pairDB.getErrorCode()),
                        ProgNameInserts, CreateFn, __LINE__);
        w.mgr.log() << "\tAssociating pair id " << row.PairId << " with snapshot id " << snapshotId << " New ID = "
                    << row.id;
        w.mgr.WriteLogMsg(ProgNameInserts, CreateFn, __LINE__, ReplicationMgr::INFO);
        w.ret.Pairs.emplace_back(row.id, snapshotId, row.PairId);
    }
    return true;
}

// Stores the mount points of the request snapshot, if it has any.
bool InsertMountPoints(CreateCPWork& w, const FLRSnapshotRecord_t& snap, int32_t snapshotId)
{
    auto mounts = w.mountsOf.find(snap.id);
    if (mounts == w.mountsOf.end()) return true;
    FLRSnapMountPointDB mountDB;
    for (size_t i : mounts->second) {
        const std::string& path = w.args.MountPoints[i].MountPath;
        if (path.empty())
            return Fail(w.mgr, w.ret, kErrMissingInput, "Snapshot's mount point is missing",
                        "\n\tJob Id    = " + Num(w.args.CP.JobId) + "\n\tSnap Name = " + EvDebug::escaped(snap.Name),
                        ProgNameInserts, CreateFn, __LINE__);
        if (path.size() > kMaxFLRPathLength)
            return Fail(w.mgr, w.ret, kErrTooLong, "Snapshot's mount point is too long",
                        "\n\tMount Point =  " + EvDebug::escaped(path), ProgNameInserts, CreateFn, __LINE__);
        YBFLRSnapMountPoint_t row;
        row.SnapshotId = snapshotId;
        YBCopyText(row.MountPath, path);  // fits: length checked above
        if (!mountDB.insert(row, w.tran))
            return Fail(w.mgr, w.ret, kErrDatabase, "Cannot include new FLR snapshot mount point into the database",
                        "\n\tFLRSnapMountPointDB::insert() failed\n\tDB Err Code = " + Num(mountDB.getErrorCode()),
                        ProgNameInserts, CreateFn, __LINE__);
        w.mgr.log() << "\tFLR Snapshot mount point [" << snapshotId << " - " << EvDebug::escaped(path)
                    << "] was added, using ID " << row.id;
        w.mgr.WriteLogMsg(ProgNameInserts, CreateFn, __LINE__, ReplicationMgr::MSG);
        w.ret.MountPoints.emplace_back(row.id, snapshotId, path.c_str());
    }
    return true;
}

// Stores one request snapshot with its pairs and mount points, unless the
// merged point holds its name already.
bool InsertSnapshot(CreateCPWork& w, const FLRSnapshotRecord_t& snap)
{
    if (w.storedNames.count(snap.Name) != 0) {
        w.mgr.log() << "\tEvent: Snapshot " << EvDebug::escaped(snap.Name) << " is already in the DB. Skipping it";
        w.mgr.WriteLogMsg(ProgNameInserts, CreateFn, __LINE__, ReplicationMgr::INFO);
        return true;
    }

    YBFLRSnapshot_t row;
    YBDBDst_t<YBFLRSnapshot_t> dst(row, w.ret.errMsg);
    if (!YBSet(dst, snap))
        return Fail(w.mgr, w.ret, dst.errCode, w.ret.errMsg,
                    "\n\tCP Id = " + Num(w.ret.CPId) + "\n\tName = " + EvDebug::escaped(snap.Name),
                    ProgNameInserts, CreateFn, __LINE__);
    row.ConsistencyPointId = w.ret.CPId;
    row.CreationTime = Now();

    if (snap.Name.empty())
        return Fail(w.mgr, w.ret, kErrMissingInput, "Snap name is empty", "", ProgNameInserts, CreateFn, __LINE__);
    if (snap.SnapVolumeName.empty())
        return Fail(w.mgr, w.ret, kErrMissingInput, "Snap volume name is empty",
                    "\n\tName = " + EvDebug::escaped(snap.Name), ProgNameInserts, CreateFn, __LINE__);
    if (!w.createdNames.insert(snap.Name).second)
        return Fail(w.mgr, w.ret, kErrMissingInput, "There is more than one snapshot with the same name",
                    "\n\tName = " + EvDebug::escaped(snap.Name), ProgNameInserts, CreateFn, __LINE__);

    FLRSnapshotDB snapDB;
    if (!snapDB.insert(row, w.tran))
        return Fail(w.mgr, w.ret, kErrDatabase, "Cannot include new FLR snapshot record into the database",
                    "\n\tFLRSnapshotDB::insert() failed\n\tDB Err Code = " + Num(snapDB.getErrorCode()),
                    ProgNameInserts, CreateFn, __LINE__);
    w.mgr.log() << "\tSnapshot " << row.id << " was created\n\tName = " << EvDebug::escaped(snap.Name)
                << ", CPid = " << row.ConsistencyPointId;
    w.mgr.WriteLogMsg(ProgNameInserts, CreateFn, __LINE__, ReplicationMgr::MSG);
    YBSet(w.ret.Snapshots, row);

    return InsertPairs(w, snap, row.id) && InsertMountPoints(w, snap, row.id);
}

}  // namespace

bool ReplicationMgr::CreateConsistencyPoint(const CreateCPArgs_t& args, CreateCPRet_t& ret, DBtran* tran)
{
    const FLRConsistencyPointRecord_t& cp = args.CP;
    ret = CreateCPRet_t();

    if (cp.FLRSetId < 1)
        return Fail(*this, ret, kErrInvalidId, "Replication set id is invalid",
                    " [FLRSetId = " + Num(cp.FLRSetId) + "]", ProgNameInserts, CreateFn, __LINE__);
    if (cp.AutoMount && args.MountPoints.empty())
        return steps::Refuse(
            *this, ret, kErrMissingInput, "Failed to create the consistency point",
            "\tEvent: No mount points specified for the automount consistency point\n\tFLRSetId = " + Num(cp.FLRSetId) +
                "\n\tCreation Time = " + Num(cp.CreationTime) + "\n\tJob Id = " + Num(cp.JobId),
            ProgNameInserts, CreateFn, __LINE__);
    if (cp.CreationTime == 0) {
        m_LogMsg << CreationTimeZero;
        WriteLogMsg(ProgNameInserts, CreateFn, __LINE__, WARNING);
    }
    if (args.Snapshots.empty())
        return steps::Refuse(*this, ret, kErrMissingInput, "Consistency point has no snapshots",
                             "\tEvent: No snapshot were specified for the Consistency Point\n\tRep Set Id = " +
                                 Num(cp.FLRSetId) + "\n\tJob Id = " + Num(cp.JobId),
                             ProgNameInserts, CreateFn, __LINE__);
    if (args.Pairs.empty())
        return steps::Refuse(*this, ret, kErrMissingInput, "Snapshots have no pair id",
                             "\tEvent: No pair ids were specified for the snapshot(s)", ProgNameInserts, CreateFn,
                             __LINE__);

    CreateCPWork work{*this, args, ret, tran, BySnapshot(args.Pairs), BySnapshot(args.MountPoints), {}, {}};
    bool merged = false;
    int32_t srcClientId = 0;
    if (!FindStoredCP(work, merged) || !FindSourceClient(work, srcClientId)) return false;
    if (!merged && !InsertCP(work, srcClientId)) return false;
    for (const FLRSnapshotRecord_t& snap : args.Snapshots)
        if (!InsertSnapshot(work, snap)) return false;

    ret.errMsg = "";
    return true;
}

// ---- Request handler ----------------------------------------------------------

template <typename Req, typename Reply>
void ReplicationMgr::CreateConsistencyPointHandler(unsigned long requestCode, unsigned long replyCode,
                                                   zxsDatabuf* buf)
{
    const Req& request = cases::RequestOf<Req>(buf);
    CreateCPArgs_t args;
    CreateCPRet_t ret;

    YBSet(args.CP, request.CP);
    // An array that is not there holds nothing, whatever its count.
    for (uint32_t i = 0; request.Snaps != nullptr && i < request.SnapCount; ++i) YBSet(args.Snapshots, request.Snaps[i]);
    for (uint32_t i = 0; request.Pairs != nullptr && i < request.PairCount; ++i)
        args.Pairs.emplace_back(-1, request.Pairs[i].SnapshotId, request.Pairs[i].PairId);
    for (uint32_t i = 0; request.MountPoints != nullptr && i < request.MountCount; ++i)
        args.MountPoints.emplace_back(-1, request.MountPoints[i].SnapshotId, request.MountPoints[i].MountPath);

    // Freed after the send.
    AutoFreeMem_t snaps;
    AutoFreeMem_t pairs;
    AutoFreeMem_t mounts;
    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::CreateConsistencyPointHandler()", requestCode, replyCode, true, ret,
        [&](DBtran* tran) { return CreateConsistencyPoint(args, ret, tran); },
        [&](Reply& r) {
            r.CPId = ret.CPId;
            return steps::CopyListToReply(snaps, r.Snaps, r.SnapCount, ret.Snapshots) &&
                   steps::CopyListToReply(pairs, r.Pairs, r.PairCount, ret.Pairs) &&
                   steps::CopyListToReply(mounts, r.MountPoints, r.MountCount, ret.MountPoints);
        });
}

// ---- Request cases ---------------------------------------------------------------

namespace {

// The header-only add: the request's set, creation time, flags and source
// client; the new id in the reply.
void ServeAddFLRConsistencyPoint(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    AddFLRConsistencyPointArgs_t args;
    AddFLRConsistencyPointRet_t ret;
    YBSet(args.CP, cases::RequestOf<repFLRConsistencyPointRec>(buf));
    AnswerOperationInTran<repAddFLRConsistencyPointResp>(mgr, code, args, ret, &ReplicationMgr::AddFLRConsistencyPoint,
                                                         [&](repAddFLRConsistencyPointResp& r) { r.CPId = ret.CPId; });
}

}  // namespace

const ServedCase AddFLRConsistencyPointCase =
    cases::Serve<repFLRConsistencyPointRec, repAddFLRConsistencyPointResp>(&ServeAddFLRConsistencyPoint);
const ServedCase CreateCPCaseV1 = SERVE_HANDLER_CASE(CreateConsistencyPointHandler, repCreateCPReq, repCreateCPResp);
const ServedCase CreateCPCaseV2 =
    SERVE_HANDLER_CASE(CreateConsistencyPointHandler, repCreateCPReqV2, repCreateCPRespV2);
const ServedCase CreateCPCaseV3 =
    SERVE_HANDLER_CASE(CreateConsistencyPointHandler, repCreateCPReqV3, repCreateCPRespV2);
