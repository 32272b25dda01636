// The replication volume update: one database half and one request handler
// for the five message versions, under REPLICAVOL_LOCK, the thin operation
// of each version and its request case.
#include "replicas/ReplicaVolumeUpdate.h"

#include <string>
#include <type_traits>

#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "host/db/ReplicaTables.h"
#include "replicas/ReplicaCases.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/RecordConversion.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/ResultCode.h"
#include "service/SetClause.h"
#include "service/SourceNames.h"
#include "service/TableLock.h"
#include "service/TranHandle.h"
#include "service/TransactionBeforeLock.h"

namespace {

// The booleans: the mask bit that selects each and its bit of Flags.
const FlagField kFlagFields[] = {
    {YB_VOL_DO_NOT_PRUNE, YBVOL_FLAG_DO_NOT_PRUNE},       {YB_VOL_IS_SNAP_ACTIVE, YBVOL_FLAG_IS_SNAP_ACTIVE},
    {YB_VOL_ACTIVATE_SNAP, YBVOL_FLAG_ACTIVATE_SNAP},     {YB_VOL_MORVANE_VOL, YBVOL_FLAG_MORVANE_VOL},
    {YB_VOL_SHADOW_SNAP, YBVOL_FLAG_SHADOW_SNAP},         {YB_VOL_TRANSPORTABLE_SNAP, YBVOL_FLAG_TRANSPORTABLE_SNAP},
};

// What an update writes after Flags, in this order. SourceGUID and the id
// are never written.
const SetClauseItem<YBVolume_t> kUpdateItems[] = {
    {YB_VOL_POINT_IN_TIME, [](const YBVolume_t& r) { return SetNumberItem("PointInTime", r.PointInTime); }},
    {YB_VOL_CREATION_TIME, [](const YBVolume_t& r) { return SetNumberItem("CreationTime", r.CreationTime); }},
    {YB_VOL_MODIFY_TIME, [](const YBVolume_t& r) { return SetNumberItem("ModifyTime", r.ModifyTime); }},
    {YB_VOL_CURRENT_STATE, [](const YBVolume_t& r) { return SetNumberItem("CurrentState", r.CurrentState); }},
    {YB_VOL_CURRENT_ROLE, [](const YBVolume_t& r) { return SetNumberItem("CurrentRole", r.CurrentRole); }},
    {YB_VOL_PRIMARY_VOL_ID, [](const YBVolume_t& r) { return SetNumberItem("PrimaryVolumeId", r.PrimaryVolumeId); }},
    {YB_VOL_PHYSICAL_VOL_ID, [](const YBVolume_t& r) { return SetNumberItem("PhysicalVolumeId", r.PhysicalVolumeId); }},
    {YB_VOL_YB_POLICY_ID,
     [](const YBVolume_t& r) { return SetNumberItem("ReplicationPolicyId", r.ReplicationPolicyId); }},
    {YB_VOL_SCRATCH_VOL_ID,
     [](const YBVolume_t& r) { return SetNumberItem("RVScratchVolumeId", r.RVScratchVolumeId); }},
    {YB_VOL_JOB_ID, [](const YBVolume_t& r) { return SetNumberItem("JobId", r.JobId); }},
    {YB_VOL_SNAP_VOL_ID, [](const YBVolume_t& r) { return SetNumberItem("SnapVolumeId", r.SnapVolumeId); }},
    {YB_VOL_SNAP_ENGINE_TYPE, [](const YBVolume_t& r) { return SetNumberItem("SnapEngineType", r.SnapEngineType); }},
    {YB_VOL_SNAPVAULT_DIR,
     [](const YBVolume_t& r) { return SetTextItem("SnapvaultReplicaDir", YBColumnText(r.SnapvaultReplicaDir)); }},
};

// The record with the checked fields that the mask does not select made
// valid: a column that is not written cannot refuse the update.
template <typename Record>
Record WithSelectedFieldsOnly(Record record, int32_t mask)
{
    if (!(mask & YB_VOL_PRIMARY_VOL_ID)) record.PrimaryVolumeId = 0;
    if (!(mask & YB_VOL_PHYSICAL_VOL_ID)) record.PhysicalVolumeId = 0;
    if (!(mask & YB_VOL_YB_POLICY_ID)) record.ReplicationPolicyId = 0;
    if (!(mask & YB_VOL_SCRATCH_VOL_ID)) record.RVScratchVolumeId = 0;
    if constexpr (std::is_base_of<ReplicationVolumeV3Record_t, Record>::value) {
        if (!(mask & YB_VOL_SNAP_VOL_ID)) record.SnapVolumeId = 0;
    }
    if constexpr (std::is_base_of<ReplicationVolumeV5Record_t, Record>::value) {
        if (!(mask & YB_VOL_SNAPVAULT_DIR)) record.SnapvaultReplicaDir.clear();
        record.SourceGUID.clear();  // never written by an update
    }
    return record;
}

}  // namespace

template <typename Args, typename Ret>
bool ReplicationMgr::UpdateReplicationVolumeDB(const Args& args, Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::UpdateReplicationVolumeDB()";
    const int id = args.record.id;

    if (id < 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Cannot update YB volume information with invalid values",
                           "\n\tParameters used:\n\tReplication Volume ID = " + std::to_string(id), ProgNameUpdates, Fn,
                           __LINE__);

    if (tran == nullptr)
        return RunWithTransactionBeforeLock(ret,
                                            [&](DBtran* own) { return UpdateReplicationVolumeDB(args, ret, own); });
    LockTableRet_t lock;
    if (!LockTable(LockTableArgs_t(REPLICAVOL_LOCK), lock)) {
        ret.errMsg = lock.m_sErrorMsg;
        SetErrCode(ret, lock.m_nErrorCode);
        return false;
    }
    HeldTableLock held(*this, lock);

    CReplicationVolumeDB volumes;
    YBVolume_t stored;
    if (!volumes.getInfo(id, stored, tran)) {
        const bool missing = volumes.getErrorCode() == DB_NO_MORE_ROWS;
        return steps::Fail(
            *this, ret, missing ? kErrNotFound : kErrDatabase,
            missing ? "YB Volume not found" : "Could not access YB volume information to the database",
            "\n\tCReplicationVolumeDB::getInfo() failed\n\tParameters used:\n\tReplication Volume Id = " +
                std::to_string(id) + "\n\tTran = 0x" + steps::TranHandle(tran),
            ProgNameUpdates, Fn, __LINE__);
    }

    const int32_t mask = GetUpdateMap(args.record);
    // A selected field the row cannot hold as given refuses the update, as
    // it refuses an add; nothing is written.
    YBVolume_t row;
    int code = 0;
    const int refused = YBSet(row, WithSelectedFieldsOnly(args.record, mask), code);
    if (refused != 0)
        return steps::Fail(*this, ret, code, steps::FieldNotValidText(GetYBVolumeFieldName(refused)),
                           "\n\tParameters used:\n\tReplication Volume Id = " + std::to_string(id), ProgNameUpdates, Fn,
                           __LINE__);

    const int32_t flags = MergeFlags(stored.Flags, row.Flags, mask, kFlagFields);
    const std::string set = BuildFlagsSetClause(flags, mask, kUpdateItems, row);
    if (!volumes.Update(id, set.c_str(), tran)) {
        const int dbCode = volumes.getErrorCode();
        const bool missing = dbCode == DB_NO_MORE_ROWS;
        return steps::Fail(*this, ret, missing ? kErrNotFound : kErrDatabase,
                           missing ? "Record not found" : "Could not update YB volume information to the database",
                           "\n\tCReplicationVolumeDB::Update() failed\n\tParameters used:\n\tReplication Volume Id = " +
                               std::to_string(id) + "\n\tsUpdate = " + EvDebug::escaped(set) + "\n\tTran = 0x" +
                               steps::TranHandle(tran) + "\n\tDB Err Code = " + std::to_string(dbCode),
                           ProgNameUpdates, Fn, __LINE__);
    }

    m_LogMsg << "\tYB Volume " << id << " has been updated... (UpdateMap = " << mask << ")";
    WriteLogMsg(ProgNameUpdates, Fn, __LINE__, MSG);
    ret.errMsg = "";
    return true;
}

// ---- Per-version entry points ------------------------------------------------------

bool ReplicationMgr::UpdateReplicationVolume(const UpdateReplicationVolumeArgs_t& args,
                                             UpdateReplicationVolumeRet_t& ret, DBtran* tran)
{
    return UpdateReplicationVolumeDB(args, ret, tran);
}
bool ReplicationMgr::UpdateReplicationVolume(const UpdateReplicationVolume42Args_t& args,
                                             UpdateReplicationVolume42Ret_t& ret, DBtran* tran)
{
    return UpdateReplicationVolumeDB(args, ret, tran);
}
bool ReplicationMgr::UpdateReplicationVolume(const UpdateReplicationVolumeV3Args_t& args,
                                             UpdateReplicationVolumeV3Ret_t& ret, DBtran* tran)
{
    return UpdateReplicationVolumeDB(args, ret, tran);
}
bool ReplicationMgr::UpdateReplicationVolume(const UpdateReplicationVolumeV4Args_t& args,
                                             UpdateReplicationVolumeV4Ret_t& ret, DBtran* tran)
{
    return UpdateReplicationVolumeDB(args, ret, tran);
}
bool ReplicationMgr::UpdateReplicationVolume(const UpdateReplicationVolumeV5Args_t& args,
                                             UpdateReplicationVolumeV5Ret_t& ret, DBtran* tran)
{
    return UpdateReplicationVolumeDB(args, ret, tran);
}

// ---- Request handler and cases -------------------------------------------------------

// A received record's UpdateMap is 0: the version's whole mask is written.
template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::UpdateReplicationVolumeHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    YBSet(args.record, cases::RequestOf<Req>(buf).ReplicationVolume);
    AnswerByHandler<Reply>(*this, "ReplicationMgr::UpdateReplicationVolumeHandler()", requestCode, replyCode, true, ret,
                           [&](DBtran* tran) { return UpdateReplicationVolume(args, ret, tran); });
}

const ServedCase UpdateReplicationVolumeCaseV1 =
    SERVE_HANDLER_CASE(UpdateReplicationVolumeHandler, repUpdateReplicationVolumeReq, repUpdateReplicationVolumeResp,
                       UpdateReplicationVolumeArgs_t, UpdateReplicationVolumeRet_t);
const ServedCase UpdateReplicationVolumeCase42 =
    SERVE_HANDLER_CASE(UpdateReplicationVolumeHandler, repUpdateReplicationVolume42Req,
                       repUpdateReplicationVolume42Resp, UpdateReplicationVolume42Args_t,
                       UpdateReplicationVolume42Ret_t);
const ServedCase UpdateReplicationVolumeCaseV3 =
    SERVE_HANDLER_CASE(UpdateReplicationVolumeHandler, repUpdateReplicationVolumeV3Req,
                       repUpdateReplicationVolumeV3Resp, UpdateReplicationVolumeV3Args_t,
                       UpdateReplicationVolumeV3Ret_t);
const ServedCase UpdateReplicationVolumeCaseV4 =
    SERVE_HANDLER_CASE(UpdateReplicationVolumeHandler, repUpdateReplicationVolumeV4Req,
                       repUpdateReplicationVolumeV4Resp, UpdateReplicationVolumeV4Args_t,
                       UpdateReplicationVolumeV4Ret_t);
const ServedCase UpdateReplicationVolumeCaseV5 =
    SERVE_HANDLER_CASE(UpdateReplicationVolumeHandler, repUpdateReplicationVolumeV5Req,
                       repUpdateReplicationVolumeV5Resp, UpdateReplicationVolumeV5Args_t,
                       UpdateReplicationVolumeV5Ret_t);
