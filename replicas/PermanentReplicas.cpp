// Permanent replicas: creation on a physical SNR volume found by its
// identity or registered for it, the query of a primary volume's permanent
// replica and its deletion with what it holds; the operations, the creation
// handler and the cases.
#include "replicas/PermanentReplicas.h"

#include <cstring>
#include <string>

#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "host/db/ReplicaTables.h"
#include "host/db/SNRTables.h"
#include "replicas/ReplicaCases.h"
#include "replicas/ReplicaRecords.h"
#include "replicas/ReplicaVolumeRemoval.h"
#include "scratch/ScratchLookups.h"
#include "scratch/ScratchMembership.h"
#include "scratch/ScratchRelease.h"
#include "service/CasePatterns.h"
#include "service/DeletionCase.h"
#include "service/ErrorCodes.h"
#include "service/HeldRows.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/ResultCode.h"
#include "service/SourceNames.h"
#include "service/TranHandle.h"
#include "service/Utils.h"
#include "snr/SNRDeletion.h"
#include "snr/SNRVolumeAdd.h"
#include "snr/SNRVolumeIdentity.h"

namespace {

const char IdOrder[] = "id ASC";

// The condition of the permanent replicas of a primary volume.
std::string PermanentReplicaWhere(int32_t primaryVolumeId)
{
    return "PrimaryVolumeId = " + std::to_string(primaryVolumeId) +
           " AND CurrentRole = " + std::to_string(YBVOL_ROLE_PERMANENT_REPLICA);
}

// Job id and the two snapshot flags of the new row: none in version 1.
void SetJobFields(YBVolume_t&, const CreatePermanentReplicaArgs_t&) {}
template <typename Record>
void SetJobFields(YBVolume_t& row, const CreatePermanentReplicaJobArgsOf<Record>& args)
{
    row.JobId = static_cast<int32_t>(args.JobId);
    if (args.IsSnapActive) row.Flags |= YBVOL_FLAG_IS_SNAP_ACTIVE;
    if (args.ActivateSnap) row.Flags |= YBVOL_FLAG_ACTIVATE_SNAP;
}

// The request's job id and flags into the arguments; nothing in version 1.
void SetReplicaJobId(CreatePermanentReplicaArgs_t&, const repCreatePermanentReplicaReq&) {}
template <typename Record, typename Wire>
void SetReplicaJobId(CreatePermanentReplicaJobArgsOf<Record>& args, const repCreatePermanentReplicaJobReqOf<Wire>& request)
{
    args.JobId = request.JobId;
}
void SetSnapActiveStatus(CreatePermanentReplicaArgs_t&, const repCreatePermanentReplicaReq&) {}
template <typename Record, typename Wire>
void SetSnapActiveStatus(CreatePermanentReplicaJobArgsOf<Record>& args,
                         const repCreatePermanentReplicaJobReqOf<Wire>& request)
{
    args.IsSnapActive = request.IsSnapActive == 1;
    args.ActivateSnap = request.ActivateSnap == 1;
}

}  // namespace

// The SNR volume is looked up outside the transaction and, when none has the
// record's identity, inserted in it; the one with the lowest id is used when
// several have it. The identity's text goes into the condition quoted.
template <typename Args, typename Ret>
bool ReplicationMgr::CreatePermanentReplicaDB(const Args& args, Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::CreatePermanentReplica()";
    auto refuse = [&](int code, const std::string& text, const std::string& details, long line) {
        return steps::Fail(*this, ret, code, text, details, ProgNameInserts, Fn, line);
    };
    const auto& volume = args.record;

    if (volume.UniqueId.empty()) return refuse(kErrMissingInput, "UniquedId field cannot be empty", "", __LINE__);

    const std::string where = SNRVolumeIdentityWhere(volume);
    CSNRVolumeDB volumeDB;
    DBtran* const lookupTran = nullptr;
    int32_t physicalVolumeId = 0;
    {
        steps::HeldRows<YBPhysicalVolume_t> found(volumeDB);
        if (!volumeDB.getList(found.rows, found.count, where.c_str(), IdOrder, lookupTran))
            return refuse(
                kErrDatabase, "Cannot access volume information",
                "\n\tCSNRVolumeDB::getNRows() failed\n\tParameters used:\n\tsWhere = " + EvDebug::escaped(where) +
                    "\n\tsOrderBy = " + IdOrder + "\n\tTran = 0x" + steps::TranHandle(lookupTran) +
                    "\n\tDB Err Code = " + std::to_string(volumeDB.getErrorCode()),
                __LINE__);
        if (found.count > 0) physicalVolumeId = found.rows[0].id;
    }

    if (physicalVolumeId != 0) {
        QueryRVScratchVolBySNRVolIdV2Args_t scratchArgs;
        scratchArgs.SNRVolumeId = physicalVolumeId;
        QueryRVScratchVolBySNRVolIdV2Ret_t scratch;
        if (QueryRVScratchVolBySNRVolId(scratchArgs, scratch, tran))
            return refuse(kErrDatabase, "Cannot create permanent YB if physical volume belongs to an scratch volume",
                          "\n\tPhysical Volume Id : " + std::to_string(physicalVolumeId), __LINE__);
        if (scratch.errCode != kErrNotFound) {
            ret.errMsg = scratch.errMsg;  // the lookup wrote its own entry
            SetErrCode(ret, kErrDatabase);
            return false;
        }
    } else {
        // The request's texts are written only here: one too long for its
        // column is refused, not cut.
        std::string tooLong;
        int32_t code = 0;
        if (CheckVolumeTextLengths(volume, tooLong, code) != 0) return refuse(code, tooLong, "", __LINE__);
        YBPhysicalVolume_t row;
        std::memset(static_cast<void*>(&row), 0, sizeof row);
        YBSet(row, volume);
        if (!volumeDB.insert(row, tran))
            return refuse(
                kErrDatabase, "Cannot add new volume information in the database for the YB volume",
                "\n\tCSNRVolumeDB::insert() failed\n\tDB Err Code = " + std::to_string(volumeDB.getErrorCode()),
                __LINE__);
        physicalVolumeId = row.id;
    }

    YBVolume_t replica;
    std::memset(static_cast<void*>(&replica), 0, sizeof replica);
    replica.CurrentRole = YBVOL_ROLE_PERMANENT_REPLICA;
    replica.PrimaryVolumeId = args.PrimaryVolumeId;
    replica.PhysicalVolumeId = physicalVolumeId;
    SetJobFields(replica, args);
    CReplicationVolumeDB volumes;
    if (!volumes.insert(replica, tran))
        return refuse(
            kErrDatabase, "Could not add new permanent YB to the database",
            "\n\tCReplicationVolumeDB::insert() failed\n\tDB Err Code = " + std::to_string(volumes.getErrorCode()),
            __LINE__);

    ret.PhysicalVolumeId = physicalVolumeId;
    ret.ReplicationVolumeId = replica.id;
    ret.errMsg = "";
    m_LogMsg << "\tPermanent YB Volume " << replica.id << " was added successfully...";
    WriteLogMsg(ProgNameInserts, Fn, __LINE__, MSG);
    return true;
}

bool ReplicationMgr::CreatePermanentReplica(const CreatePermanentReplicaArgs_t& args, CreatePermanentReplicaRet_t& ret,
                                            DBtran* tran)
{
    return CreatePermanentReplicaDB(args, ret, tran);
}
bool ReplicationMgr::CreatePermanentReplica(const CreatePermanentReplica42Args_t& args,
                                            CreatePermanentReplica42Ret_t& ret, DBtran* tran)
{
    return CreatePermanentReplicaDB(args, ret, tran);
}
bool ReplicationMgr::CreatePermanentReplica(const CreatePermanentReplicaV3Args_t& args,
                                            CreatePermanentReplicaV3Ret_t& ret, DBtran* tran)
{
    return CreatePermanentReplicaDB(args, ret, tran);
}
bool ReplicationMgr::CreatePermanentReplica(const CreatePermanentReplicaV4Args_t& args,
                                            CreatePermanentReplicaV4Ret_t& ret, DBtran* tran)
{
    return CreatePermanentReplicaDB(args, ret, tran);
}

// The replica with the lowest id; versions 1 and 42 read outside any
// transaction.
template <typename Args, typename Ret>
bool ReplicationMgr::QueryPermanentReplicaDB(const Args& args, Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::QueryPermanentReplica()";
    constexpr bool withCheck = !cases::HasErrCode<Ret>::value;  // versions 1 and 42
    auto refuse = [&](int code, const std::string& text, const std::string& details, long line) {
        return steps::Fail(*this, ret, code, text, details, ProgNameQueries, Fn, line);
    };
    const int32_t primaryId = args.PrimaryVolumeId;
    if (primaryId <= 0)
        return refuse(kErrInvalidId, "Invalid Primary volume id for permanent YB",
                      "\n\tParameters used:\n\tPrimary Volume Id = " + std::to_string(primaryId), __LINE__);

    const std::string where = PermanentReplicaWhere(primaryId);
    CReplicationVolumeDB volumes;
    steps::HeldRows<YBVolume_t> found(volumes);
    if (!volumes.getList(found.rows, found.count, where.c_str(), IdOrder, tran))
        return refuse(kErrDatabase, "Cannot access YB Volume information from the database",
                      "\n\tCReplicationVolumeDB::getList() failed\n\tParameters used:\n\tsWhere = " + where +
                          "\n\tsOrderBy = " + IdOrder,
                      __LINE__);
    if (found.count == 0)
        return refuse(kErrNotFound, "No record found", "\n\tCReplicationVolumeDB::getList() output:\n\tNRows = 0",
                      __LINE__);

    const YBVolume_t& row = found.rows[0];
    if (withCheck && row.PrimaryVolumeId != primaryId)
        return refuse(0, "Could not find YB Volume information from the database",
                      "\n\tOutput used from CReplicationVolumeDB::getList():\n\tPrimary Volume Id (Input) = " +
                          std::to_string(primaryId) + "\n\tPrimary Volume id (received) = " +
                          std::to_string(row.PrimaryVolumeId),
                      __LINE__);

    YBSet(ret.record, row);
    if constexpr (!withCheck) {
        ret.record.ShadowSnap = false;
        ret.record.TransportableSnap = false;
    }
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::QueryPermanentReplica(const QueryPermanentReplicaArgs_t& args, QueryPermanentReplicaRet_t& ret)
{
    return QueryPermanentReplicaDB(args, ret, nullptr);
}
bool ReplicationMgr::QueryPermanentReplica(const QueryPermanentReplica42Args_t& args,
                                           QueryPermanentReplica42Ret_t& ret)
{
    return QueryPermanentReplicaDB(args, ret, nullptr);
}
bool ReplicationMgr::QueryPermanentReplica(const QueryPermanentReplicaV3Args_t& args,
                                           QueryPermanentReplicaV3Ret_t& ret, DBtran* tran)
{
    return QueryPermanentReplicaDB(args, ret, tran);
}

// The first permanent replica goes with its scratch volume (released in the
// database; its host deletes the snapshots on it once nothing of the request
// can be refused any more) or alone; the SNR
// volume that held it is then deleted unless another replication volume lies
// on it, and that deletion keeps it, with its snap parameters and stored
// files, while a device, a scratch volume or a replication volume names it.
// Nested failures pass their text on; their entries are their own.
bool ReplicationMgr::DeletePermanentReplica(const DeletePermanentReplicaArgs_t& args, DeletePermanentReplicaRet_t& ret,
                                            DBtran* tran, DeletionTrail* trail)
{
    static const char Fn[] = "ReplicationMgr::DeletePermanentReplica()";
    auto refuse = [&](const std::string& text, const std::string& details, long line) {
        return steps::Fail(*this, ret, 0, text, details, ProgNameDeletes, Fn, line);
    };
    auto nested = [&](const std::string& text) {
        ret.errMsg = text;
        return false;
    };
    steps::KeptTrail keeper(*this, trail);
    ret.NotFound = false;
    if (!keeper.begun()) return refuse(DBTranErrorMsg, "", __LINE__);
    DeletionTrail& kept = keeper.trail();
    const int32_t primaryId = args.PrimaryVolumeId;
    if (primaryId <= 0)
        return refuse("Cannot delete permanent YB from the database with invalid primary volume id",
                      "\n\tParameters used:\n\tPrimary Volume ID = " + std::to_string(primaryId), __LINE__);

    m_LogMsg << "\t Removing Permanent YB Volume with primary volume id " << primaryId;
    WriteLogMsg(ProgNameDeletes, Fn, __LINE__, MSG);

    // The replication volumes under the condition in id order; a failed
    // read fails the deletion.
    CReplicationVolumeDB volumes;
    auto list = [&](const std::string& where, steps::HeldRows<YBVolume_t>& rows, long line) {
        if (volumes.getList(rows.rows, rows.count, where.c_str(), IdOrder, tran)) return true;
        return refuse("Cannot access permanent YB information from the database",
                      "\n\tCReplicationVolumeDB::getList() failed\n\tParameters used:\n\tsWhere = " + where +
                          "\n\tsOrderBy = " + IdOrder,
                      line);
    };

    int32_t replicaId = 0;
    int32_t physicalId = 0;
    int32_t scratchId = 0;
    {
        steps::HeldRows<YBVolume_t> found(volumes);
        if (!list(PermanentReplicaWhere(primaryId), found, __LINE__)) return false;
        if (found.count == 0) {
            ret.NotFound = true;
            return refuse("No record found", "\n\tOutput from CReplicatinVolumeDB::getList()\n\tNRows = 0", __LINE__);
        }
        replicaId = found.rows[0].id;
        physicalId = found.rows[0].PhysicalVolumeId;
        scratchId = found.rows[0].RVScratchVolumeId;
    }

    if (scratchId > 0) {
        if (!ReleaseScratchForDeletion(scratchId, kept, ret.errMsg, tran)) return false;
        RemoveRVScratchVolumeArgs_t removeArgs;
        removeArgs.scratchVolumeId = scratchId;
        RemoveRVScratchVolumeRet_t removed;
        if (!RemoveRVScratchVol(removeArgs, removed, tran)) return nested(removed.errMsg);
    } else {
        RemoveReplicationVolumeRet_t removed;
        if (!RemoveReplicationVolume(RemoveReplicationVolumeArgs_t(replicaId), removed, tran))
            return nested(removed.errMsg);
    }

    {
        steps::HeldRows<YBVolume_t> users(volumes);
        if (!list("PhysicalVolumeId = " + std::to_string(physicalId), users, __LINE__)) return false;
        if (users.count > 0) {
            m_LogMsg << "\tCannot delete Physical volume id " << physicalId
                     << "\n\tReason: At least a Replication volume was found using physical volume Id " << physicalId;
            WriteLogMsg(ProgNameDeletes, Fn, __LINE__, WARNING);
            ret.errMsg = "";
            return keeper.Succeeded(ret, 0);
        }
    }

    m_LogMsg << "\tDeleting Physical volume id " << physicalId;
    WriteLogMsg(ProgNameDeletes, Fn, __LINE__, MSG);
    DeleteSNRVolumeByIdRet_t deleted;
    if (!DeleteSNRVolume(DeleteSNRVolByIdArgs_t(physicalId), deleted, tran, &kept)) return nested(deleted.errMsg);
    ret.errMsg = "";
    return keeper.Succeeded(ret, 0);
}

// ---- Request handler and cases -------------------------------------------------------

// The arguments are read from the request before the transaction starts.
template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::CreatePermanentReplicaHandler(unsigned long requestCode, unsigned long replyCode,
                                                   zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    const Req& request = cases::RequestOf<Req>(buf);
    YBSet(args.record, request.SNRVolume);
    args.PrimaryVolumeId = request.PrimaryVolumeId;
    SetReplicaJobId(args, request);
    SetSnapActiveStatus(args, request);
    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::CreatePermanentReplicaHandler()", requestCode, replyCode, true, ret,
        [&](DBtran* tran) { return CreatePermanentReplica(args, ret, tran); },
        [&](Reply& r) {
            r.PhysicalVolumeId = ret.PhysicalVolumeId;
            r.ReplicationVolumeId = ret.ReplicationVolumeId;
        });
}

namespace {

// The query of each version; version 3 names its transaction, null from here.
template <typename Args, typename Ret>
bool RunQuery(ReplicationMgr& mgr, const Args& args, Ret& ret)
{
    return mgr.QueryPermanentReplica(args, ret);
}
bool RunQuery(ReplicationMgr& mgr, const QueryPermanentReplicaV3Args_t& args, QueryPermanentReplicaV3Ret_t& ret)
{
    return mgr.QueryPermanentReplica(args, ret, nullptr);
}

// The query without a transaction; the record goes into the reply field by
// field from what the operation filled.
template <typename Reply, typename Args, typename Ret>
void ServeQueryPermanentReplica(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    Args args;
    args.PrimaryVolumeId = cases::RequestOf<repQueryPermanentReplicaReq>(buf).PrimaryVolumeId;
    Ret ret;
    AnswerInlineCase<Reply>(
        mgr, code, ret, cases::Message::Copy, [&]() { return RunQuery(mgr, args, ret); },
        [&](Reply& r) { YBSet(r.ReplicationVolume, ret.record); });
}

void ServeDeletePermanentReplica(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    const DeletePermanentReplicaArgs_t args(cases::RequestOf<repDeletePermanentReplicaReq>(buf).PrimaryVolumeId);
    DeletePermanentReplicaRet_t ret;
    steps::RunDeletionCase<repDeletePermanentReplicaResp>(
        mgr, code, ret, cases::Order::B, cases::Message::Copy,
        [&](DBtran* tran, DeletionTrail& trail) { return mgr.DeletePermanentReplica(args, ret, tran, &trail); });
}

}  // namespace

const ServedCase CreatePermanentReplicaCaseV1 =
    SERVE_HANDLER_CASE(CreatePermanentReplicaHandler, repCreatePermanentReplicaReq, repCreatePermanentReplicaResp,
                       CreatePermanentReplicaArgs_t, CreatePermanentReplicaRet_t);
const ServedCase CreatePermanentReplicaCase42 =
    SERVE_HANDLER_CASE(CreatePermanentReplicaHandler, repCreatePermanentReplica42Req, repCreatePermanentReplica42Resp,
                       CreatePermanentReplica42Args_t, CreatePermanentReplica42Ret_t);
const ServedCase CreatePermanentReplicaCaseV3 =
    SERVE_HANDLER_CASE(CreatePermanentReplicaHandler, repCreatePermanentReplicaV3Req, repCreatePermanentReplicaV3Resp,
                       CreatePermanentReplicaV3Args_t, CreatePermanentReplicaV3Ret_t);
const ServedCase CreatePermanentReplicaCaseV4 =
    SERVE_HANDLER_CASE(CreatePermanentReplicaHandler, repCreatePermanentReplicaV4Req, repCreatePermanentReplicaV4Resp,
                       CreatePermanentReplicaV4Args_t, CreatePermanentReplicaV4Ret_t);
const ServedCase QueryPermanentReplicaCaseV1 = cases::Serve<repQueryPermanentReplicaReq, repQueryPermanentReplicaResp>(
    &ServeQueryPermanentReplica<repQueryPermanentReplicaResp, QueryPermanentReplicaArgs_t, QueryPermanentReplicaRet_t>);
const ServedCase QueryPermanentReplicaCase42 =
    cases::Serve<repQueryPermanentReplicaReq, repQueryPermanentReplica42Resp>(
        &ServeQueryPermanentReplica<repQueryPermanentReplica42Resp, QueryPermanentReplica42Args_t,
                                    QueryPermanentReplica42Ret_t>);
const ServedCase QueryPermanentReplicaCaseV3 =
    cases::Serve<repQueryPermanentReplicaReq, repQueryPermanentReplicaV3Resp>(
        &ServeQueryPermanentReplica<repQueryPermanentReplicaV3Resp, QueryPermanentReplicaV3Args_t,
                                    QueryPermanentReplicaV3Ret_t>);
const ServedCase DeletePermanentReplicaCase =
    cases::Serve<repDeletePermanentReplicaReq, repDeletePermanentReplicaResp>(&ServeDeletePermanentReplica);
