// Rebuilding a destination client's consistency points from the complete
// list of snapshots the client holds: points with snapshots of names not
// stored are created or merged; stored snapshots the list no longer names go
// with their pair rows, mount points and the mount points' network shares,
// and their points are marked unstable or removed. With the request cases of
// both snapshot versions.
#include <cstring>
#include <ctime>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "host/db/FLRTables.h"
#include "flr/FLRCases.h"
#include "flr/FLRDeleteMessages.h"
#include "flr/SnapRowRemoval.h"
#include "rows/Db/Cursor/YBGetFLRSnapsByDestClientId.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/SourceNames.h"
#include "service/Sync.h"
#include "service/RecordConversion.h"
#include "service/Refusals.h"

using steps::Fail;

namespace {

const char RebuildFn[] = "ReplicationMgr::CreateConsistentDBRecord()";
const char RelatedFn[] = "ReplicationMgr::DeleteCPRelatedData";

std::string Num(long long value) { return std::to_string(value); }

// The creation arguments of the point at `index` of the list: its header
// stamped with the system clock and its source client left to be looked up,
// its snapshots renumbered, and their pairs and mount points.
void PopulateCPArgs(const CreateCPArgsById_t& source, CreateCPArgs_t* target, int cpIndex)
{
    target->CP = source.CPs[static_cast<size_t>(cpIndex)];
    target->CP.SrcClientId = -1;
    target->CP.CreationTime = static_cast<int32_t>(std::time(nullptr));
    if (target->CP.FlagBit4) target->CP.Flags |= FLRCP_FLAG_BIT4;

    std::set<std::pair<int32_t, int32_t>> numbers;  // sender's number, number given
    for (const FLRSnapshotRecord_t& snap : source.Snapshots)
        if (snap.ConsistencyPointId == cpIndex) numbers.emplace(snap.id, target->AddSnapshot(snap));
    for (const auto& number : numbers) {
        for (const FLRSnapPairRecord_t& pair : source.Pairs)
            if (pair.SnapshotId == number.first) target->AddPair(number.second, pair);
        for (const FLRSnapMountPointRecord_t& mount : source.MountPoints)
            if (mount.SnapshotId == number.first) target->AddMount(number.second, mount);
    }
}

// Removes the rows of the where clause, announced before; no row to remove
// counts as done.
template <typename Table>
bool RemoveWhere(ReplicationMgr& mgr, CreateCPRet_t& ret, const std::string& where, const char* announce,
                 const char* text, const char* callLine, DBtran* tran)
{
    mgr.log() << announce << "\n\tsWhere      = " << where;
    mgr.WriteLogMsg(ProgNameInserts, RelatedFn, __LINE__, ReplicationMgr::MSG);
    return flr_detail::RemoveRowsWhere<Table>(where, callLine, tran, [&](const std::string& details) {
        return Fail(mgr, ret, kErrDatabase, text, details, ProgNameInserts, RelatedFn, __LINE__);
    });
}

}  // namespace

bool ReplicationMgr::GetFLRSnapsByClientId(const GetFLRSnapArgsByClient_t& args, GetYBFLRSnapArgsByClientRet_t& ret,
                                           DBtran*)
{
    // Read outside the request's transaction, before any change of it.
    YBGetFLRSnapsByDestClientId cursor(nullptr);
    cursor.setValues(args.ClientId);
    ret.Snaps.clear();
    int state = 0;
    int rc;
    while ((rc = getNextRow(&cursor, &state, -1, 0)) == DB_ROW_OK) {
        const auto* row = cursor.getDataPtr();
        // The first row of a name stays.
        ret.Snaps.emplace(YBColumnText(row->Name), GetFLRSnapsForDeletion_t(row->id, row->CPId));
    }
    if (rc == DB_NO_MORE_ROWS) return true;
    ret.Snaps.clear();
    return Fail(*this, ret, kErrDatabase, "Could not get snapshot information from the database",
                "\n\tgetNextRow(YBGetFLRSnapsByDestClientId &) failed\n\tParameters used:\n\tClient id = " +
                    Num(args.ClientId) + "\n\tDB Err Code = " + Num(rc),
                ProgNameInserts, "ReplicationMgr::GetFLRSnapsByClientId()", __LINE__);
}

bool ReplicationMgr::DeleteCPRelatedData(const GetYBFLRSnapArgsByClientRet_t& stored, CreateCPRet_t& ret,
                                         DBtran* tran)
{
    for (const auto& entry : stored.Snaps) {
        if (!entry.second.ToDelete) continue;
        const std::string where = "SnapshotId = " + Num(entry.second.SnapshotId);
        // The shares of the snapshot's mount points go before the mount points.
        const std::string shares = flr_detail::SnapshotSharesWhere(entry.second.SnapshotId);
        if (!RemoveWhere<FLRSnapPairDB>(*this, ret, where, "\n\tFLRSnapPairDB::remove() ",
                                        "Failed to removed the snap pair information from the DB",
                                        "\n\tFLRSnapPairDB::remove() failed", tran) ||
            !RemoveWhere<FLRSnapNetworkShareDB>(*this, ret, shares, "\n\tFLRSnapNetworkShareDB::remove() ",
                                                "Failed to remove the share information from the DB",
                                                "\n\tFLRSnapNetworkShareDB::remove() failed", tran) ||
            !RemoveWhere<FLRSnapMountPointDB>(*this, ret, where, "\n\tFLRSnapMountPointDB::remove() ",
                                              "Failed to removed the snap mount point information from the DB",
                                              "\n\tFLRSnapMountPointDB::remove() failed", tran))
            return false;
    }
    for (const auto& entry : stored.Snaps) {
        if (!entry.second.ToDelete) continue;
        if (!RemoveWhere<FLRSnapshotDB>(*this, ret, "id = " + Num(entry.second.SnapshotId),
                                        "\n\tFLRSnapshotDB::remove ",
                                        "Failed to removed the snap information from the DB",
                                        "\n\tFLRSnapshotDB::remove() failed", tran))
            return false;
    }
    for (const auto& entry : stored.Snaps) {
        if (!entry.second.ToDelete) continue;
        MarkCPUnstableArgs_t args;
        args.CPIds.push_back(entry.second.CPId);
        MarkCPUnstableRet_t marked;
        // A point that can be neither marked nor removed fails the rebuild.
        if (!MarkCPUnstable(args, marked, tran)) return steps::PassOn(ret, marked.errMsg, marked.errCode);
    }
    return true;
}

bool ReplicationMgr::CreateConsistentDBRecord(const CreateCPArgsById_t& args, CreateCPRet_t& ret, DBtran* tran)
{
    static ZxCriticalSection CreateCPCS;
    m_LogMsg << "Waiting for CreateConsistentDBRecord() crtical section lock.";
    WriteLogMsg(ProgNameInserts, RebuildFn, __LINE__, MSG);
    ZxCriticalSectionLock held(&CreateCPCS);
    m_LogMsg << "Entered CreateConsistentDBRecord() crtical section.";
    WriteLogMsg(ProgNameInserts, RebuildFn, __LINE__, MSG);

    GetFLRSnapArgsByClient_t client;
    client.ClientId = args.DstClientId;
    GetYBFLRSnapArgsByClientRet_t stored;
    if (!GetFLRSnapsByClientId(client, stored, tran)) return steps::PassOn(ret, stored.errMsg, stored.errCode);

    std::set<int32_t> newCPs;
    for (const FLRSnapshotRecord_t& snap : args.Snapshots) {
        auto found = stored.Snaps.find(snap.Name);
        if (found != stored.Snaps.end())
            found->second.ToDelete = 0;
        else
            newCPs.insert(snap.ConsistencyPointId);
    }

    ret.CPId = 0;
    // The points this rebuild stores all carry the clock of its run: a later
    // point of the list is merged into one of them only by its job.
    std::set<int32_t> createdCPs;
    for (int32_t index : newCPs) {
        // A snapshot naming no point of the list cannot be created.
        if (index < 0 || static_cast<size_t>(index) >= args.CPs.size())
            return Fail(
                *this, ret, kErrInvalidId, "Snapshot refers to a consistency point that is not in the list",
                "\n\tCP index = " + Num(index) + "\n\tCP count = " + Num(static_cast<long long>(args.CPs.size())),
                ProgNameInserts, RebuildFn, __LINE__);
        CreateCPArgs_t createArgs;
        CreateCPRet_t created;
        PopulateCPArgs(args, &createArgs, index);
        createArgs.MergeByJobOnly = createdCPs;
        if (!CreateConsistencyPoint(createArgs, created, tran))
            return steps::PassOn(ret, created.errMsg, created.errCode);
        if (created.Created) createdCPs.insert(created.CPId);
        ret.CPId = created.CPId;
    }
    return DeleteCPRelatedData(stored, ret, tran);
}

// ---- Request cases -----------------------------------------------------------------

namespace {

void ReadEntry(CreateCPArgsById_t& args, const repFLRSnapRec& entry)
{
    YBSet(args.Snapshots, entry);
    args.Snapshots.back().Type = 1;
}
void ReadEntry(CreateCPArgsById_t& args, const repFLRSnapRecV2& entry)
{
    YBSet(args.Snapshots, entry);
}

template <typename Req>
void ServeCreateConsistentDBRecord(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    const Req& request = cases::RequestOf<Req>(buf);
    CreateCPArgsById_t args;
    CreateCPRet_t ret;
    // An array that is not there holds nothing, whatever its count.
    for (uint32_t i = 0; request.CPs != nullptr && i < request.CPCount; ++i) {
        const repCreateCPEntry& e = request.CPs[i];
        FLRConsistencyPointRecord_t cp(e.id, e.FLRSetId, e.CreationTime, e.JobId, e.Unstable != 0, e.AutoMount != 0,
                                       e.ClientId, 2, e.FlagBit4 != 0, e.SrcClientId, 0, 0, 0);
        args.CPs.push_back(cp);
    }
    for (uint32_t i = 0; request.Snaps != nullptr && i < request.SnapCount; ++i) {
        ReadEntry(args, request.Snaps[i]);
        // The snapshot's path is not taken from this request.
        args.Snapshots.back().SnapshotPath.clear();
        args.Snapshots.back().AuxValue = 0;
    }
    for (uint32_t i = 0; request.Pairs != nullptr && i < request.PairCount; ++i)
        args.Pairs.emplace_back(-1, request.Pairs[i].SnapshotId, request.Pairs[i].PairId);
    for (uint32_t i = 0; request.MountPoints != nullptr && i < request.MountCount; ++i)
        args.MountPoints.emplace_back(-1, request.MountPoints[i].SnapshotId, request.MountPoints[i].MountPath);
    args.DstClientId = static_cast<int32_t>(request.DstClientId);

    AnswerOperationInTran<repCreateCPResp>(mgr, code, args, ret, &ReplicationMgr::CreateConsistentDBRecord,
                                             [&](repCreateCPResp& r) { r.CPId = ret.CPId; });
}

}  // namespace

const ServedCase CreateCPCase2V1 =
    cases::Serve<repCreateCPReq2, repCreateCPResp>(&ServeCreateConsistentDBRecord<repCreateCPReq2>);
const ServedCase CreateCPCase2V2 =
    cases::Serve<repCreateCPReq2V2, repCreateCPResp>(&ServeCreateConsistentDBRecord<repCreateCPReq2V2>);
