// Volume snap parameters, one row per SNR volume: add, query, update and
// list in message versions 1 and 2 through request handlers, remove as an
// inline case of post, and the removal and the check that other subsystems
// call directly.
#include "policies/VolSnapParams.h"

#include <string>

#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "host/db/PolicyTables.h"
#include "host/db/ReplicaTables.h"
#include "policies/PolicyCases.h"
#include "replicas/ReplicaRecords.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/HeldRows.h"
#include "service/RecordConversion.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/ReplyArray.h"
#include "service/SetClause.h"
#include "service/SourceNames.h"
#include "service/TranHandle.h"

namespace {

// An id of an update is written only when it names something (1 or above).
std::string IdItem(const char* column, int32_t id) { return id >= 1 ? SetNumberItem(column, id) : std::string(); }

// A command of an update whose first character is a blank is written empty.
template <size_t N>
std::string CommandItem(const char* column, const char (&command)[N])
{
    return SetTextItem(column, command[0] == ' ' ? std::string() : YBColumnText(command));
}

// The one flag an update may change: its mask bit and its bit of Flags.
const FlagField kUpdateFlags[] = {{YB_VSP_FLAG_BIT1, VOLSNAP_FLAG_BIT1}};

// What an update writes after Flags, in this order; the mask of the message
// version picks the items.
const SetClauseItem<YBVolSnapParams_t> kUpdateItems[] = {
    {YB_VSP_SNAP_ENGINE_ID, [](const YBVolSnapParams_t& r) { return IdItem("SnapEngineId", r.SnapEngineId); }},
    {YB_VSP_MOUNT_CLIENT_ID, [](const YBVolSnapParams_t& r) { return IdItem("MountClientId", r.MountClientId); }},
    {YB_VSP_SYNC_CLIENT_ID, [](const YBVolSnapParams_t& r) { return IdItem("SyncClientId", r.SyncClientId); }},
    {YB_VSP_SNAP_CLIENT_ID, [](const YBVolSnapParams_t& r) { return IdItem("SnapClientId", r.SnapClientId); }},
    {YB_VSP_MOUNT_CMD, [](const YBVolSnapParams_t& r) { return CommandItem("MountCmd", r.MountCmd); }},
    {YB_VSP_UNMOUNT_CMD, [](const YBVolSnapParams_t& r) { return CommandItem("UnmountCmd", r.UnmountCmd); }},
    {YB_VSP_SYNC_CMD, [](const YBVolSnapParams_t& r) { return CommandItem("SyncCmd", r.SyncCmd); }},
    {YB_VSP_UNSYNC_CMD, [](const YBVolSnapParams_t& r) { return CommandItem("UnsyncCmd", r.UnsyncCmd); }},
    {YB_VSP_SNAP_CMD, [](const YBVolSnapParams_t& r) { return CommandItem("SnapCmd", r.SnapCmd); }},
    {YB_VSP_UNSNAP_CMD, [](const YBVolSnapParams_t& r) { return CommandItem("UnsnapCmd", r.UnsnapCmd); }},
    {YB_VSP_ROLLBACK_CMD, [](const YBVolSnapParams_t& r) { return CommandItem("RollbackCmd", r.RollbackCmd); }},
};

// "\n\t<name> = <id>" for each id of the record.
std::string RecordIds(const VolSnapParamsRecord_t& record)
{
    return "\n\tSNR Volume Id = " + std::to_string(record.SNRVolumeId) +
           "\n\tMountClientId = " + std::to_string(record.MountClientId) +
           "\n\tSnapClientId = " + std::to_string(record.SnapClientId) +
           "\n\tSnapEngineId = " + std::to_string(record.SnapEngineId) +
           "\n\tSyncClientId = " + std::to_string(record.SyncClientId);
}

}  // namespace

std::string PrimaryVolumeSnapshotsWhere(int32_t primaryVolumeId)
{
    // The engine type whose snapshots kept in a destination volume count.
    constexpr int32_t KeptSnapshotEngineType = 5;
    return "PrimaryVolumeId = " + std::to_string(primaryVolumeId) +
           " AND (CurrentRole = " + std::to_string(YBVOL_ROLE_SNAPSHOT) +
           " OR (CurrentRole = " + std::to_string(YBVOL_ROLE_DESTINATION_SNAPSHOT) +
           " AND SnapEngineType = " + std::to_string(KeptSnapshotEngineType) + "))";
}

template <typename Args, typename Ret>
bool ReplicationMgr::AddVolSnapParamsDB(const Args& args, Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::AddVolSnapParamsDB()";
    const auto& record = args.record;

    if (record.SNRVolumeId < 0 || record.MountClientId < 0 || record.SnapClientId < 0 || record.SnapEngineId < 0 ||
        record.SyncClientId < 0)
        return steps::Fail(*this, ret, kErrInvalidId,
                           "Cannot add a volume snap parameters record to the database with invalid values",
                           RecordIds(record), ProgNameInserts, Fn, __LINE__);

    // Every command is checked against its column before anything is written.
    YBVolSnapParams_t row;
    std::string refusal;
    YBDBDst_t<YBVolSnapParams_t> dst(row, refusal);
    if (!YBSet(dst, record))
        return steps::Fail(*this, ret, dst.errCode, refusal,
                           "\n\tSNR Volume Id = " + std::to_string(record.SNRVolumeId), ProgNameInserts, Fn, __LINE__);

    CVolumeSnapParamsDB db;
    if (!db.insert(row, tran))
        return steps::Fail(*this, ret, kErrDatabase, "Cannot include new volume snap parameters into the database",
                           "\n\tCVolumeSnapParamsDB::insert()failed" + RecordIds(record) +
                               "\n\tDB Err Code = " + std::to_string(db.getErrorCode()),
                           ProgNameInserts, Fn, __LINE__);

    m_LogMsg << "\tVolume Snap parameters for SNR Volume " << record.SNRVolumeId << " were added";
    WriteLogMsg(ProgNameInserts, Fn, __LINE__, MSG);
    ret.errMsg = "";
    return true;
}

template <typename Args, typename Ret>
bool ReplicationMgr::QueryVolSnapParamsDB(const Args& args, Ret& ret)
{
    static const char Fn[] = "ReplicationMgr::QueryVolSnapParamsDB()";
    const int volumeId = args.SNRVolumeId;
    const std::string parameters = "\n\tParameters used:\n\tSNR Volume Id = " + std::to_string(volumeId);

    if (volumeId <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Invalid Volume snap parameters identifier", parameters,
                           ProgNameQueries, Fn, __LINE__);

    CVolumeSnapParamsDB db;
    YBVolSnapParams_t row;
    if (!db.getInfo(volumeId, row, nullptr)) {
        const int dbCode = db.getErrorCode();
        const bool missing = dbCode == DB_NO_MORE_ROWS;
        return steps::Fail(
            *this, ret, missing ? kErrNotFound : kErrDatabase,
            missing ? "Volume Snap Parameters record not found"
                    : "Cannot access Volume snap parameters information from the database",
            "\n\tCVolumeSnapParamsDB::getInfo() failed" + parameters + "\n\tDB Err Code = " + std::to_string(dbCode),
            ProgNameQueries, Fn, __LINE__);
    }

    YBSet(ret.record, row);
    ret.errMsg = "";
    return true;
}

template <typename Args, typename Ret>
bool ReplicationMgr::UpdateVolSnapParamDB(const Args& args, Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::UpdateVolSnapParamDB()";
    const auto& record = args.record;
    const int volumeId = record.SNRVolumeId;

    if (volumeId < 0)
        return steps::Fail(*this, ret, kErrInvalidId,
                           "Cannot update volume snap parameters information with invalid values", RecordIds(record),
                           ProgNameUpdates, Fn, __LINE__);

    CVolumeSnapParamsDB db;
    YBVolSnapParams_t stored;
    if (!db.getInfo(volumeId, stored, tran)) {
        const int dbCode = db.getErrorCode();
        const bool missing = dbCode == DB_NO_MORE_ROWS;
        return steps::Fail(*this, ret, missing ? kErrNotFound : kErrDatabase,
                           missing ? "Record not found" : "Cannot access volume snap parameters from the database",
                           "\n\tCVolumeSnapParamsDB::getInfo() failed\n\tParameters used:\n\tSNR Volume Id = " +
                               std::to_string(volumeId) + "\n\tTran = 0x" + steps::TranHandle(tran) +
                               "\n\tDB Error Code = " + std::to_string(dbCode),
                           ProgNameUpdates, Fn, __LINE__);
    }

    YBVolSnapParams_t row;
    std::string refusal;
    YBDBDst_t<YBVolSnapParams_t> dst(row, refusal);
    if (!YBSet(dst, record))
        return steps::Fail(*this, ret, dst.errCode, refusal, "\n\tSNR Volume Id = " + std::to_string(volumeId),
                           ProgNameUpdates, Fn, __LINE__);

    // Only the flag a version carries changes; the other bits stay as stored.
    const int32_t mask = GetUpdateMap(record);
    const int32_t flags = MergeFlags(stored.Flags, row.Flags, mask, kUpdateFlags);
    const std::string set = BuildFlagsSetClause(flags, mask, kUpdateItems, row);
    if (!db.Update(volumeId, set.c_str(), tran))
        return steps::Fail(
            *this, ret, kErrDatabase, "Could not update volume snap parameters information from database",
            "\n\tCVolumeSnapParamsDB::Update() failed\n\tsUpdate = " + EvDebug::escaped(set) + "\n\tTran = 0x" +
                steps::TranHandle(tran) + "\n\tDB Error Code = " + std::to_string(db.getErrorCode()),
            ProgNameUpdates, Fn, __LINE__);

    m_LogMsg << "\tVolume Snap parameters for SNR Volume " << volumeId << " was updated";
    WriteLogMsg(ProgNameUpdates, Fn, __LINE__, MSG);
    ret.errMsg = "";
    return true;
}

template <typename Ret>
bool ReplicationMgr::GetVolSnapParamsListDB(Ret& ret)
{
    static const char Fn[] = "ReplicationMgr::GetVolSnapParamsListDB()";
    static const char Where[] = "SNRVolumeId > 0";
    static const char OrderBy[] = "SNRVolumeId ASC";

    ret.params.clear();
    CVolumeSnapParamsDB db;
    auto convert = [](auto& record, const YBVolSnapParams_t& row) { YBSet(record, row); };
    if (!db.getList(ret.params, convert, Where, OrderBy, nullptr))
        return steps::Fail(*this, ret, kErrDatabase,
                           "Cannot get the list of volume snap parameters records from the database",
                           std::string("\n\tCVolumeSnapParamsDB::getList() failed\n\tsWhere = ") + Where +
                               "\n\tsOrderBy = " + OrderBy + "\n\tDB Err Code = " + std::to_string(db.getErrorCode()),
                           ProgNameGetLists, Fn, __LINE__);

    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::RemoveVolSnapParam(const RemoveVolSnapParam42Args_t& args, RemoveVolSnapParam42Ret_t& ret,
                                        DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::RemoveVolSnapParam()";
    const int volumeId = args.SNRVolumeId;

    if (volumeId <= 0)
        return steps::Fail(*this, ret, kErrInvalidId,
                           "Cannot remove volume snap parameters info from the database with invalid values",
                           "\n\tSNR Volume ID = " + std::to_string(volumeId), ProgNameDeletes, Fn, __LINE__);

    CReplicationVolumeDB volumeDB;
    const std::string where = PrimaryVolumeSnapshotsWhere(volumeId);
    unsigned int snapshots = 0;
    if (!volumeDB.getNRows(where.c_str(), snapshots, tran))
        return steps::Fail(
            *this, ret, kErrDatabase, "Cannot check if the volume has any snapshots",
            "\n\tsWhere      = " + where + "\n\tDB Err Code = " + std::to_string(volumeDB.getErrorCode()),
            ProgNameDeletes, Fn, __LINE__);
    if (snapshots > 0) {
        m_LogMsg << "\tVolume Snap Params will not be deleted because there are still snapshots associated with it"
                 << "\n\tVolume Id       = " << volumeId << "\n\tNumber of Snaps = " << snapshots;
        WriteLogMsg(ProgNameDeletes, Fn, __LINE__, MSG);
        ret.errCode = 0;
        ret.errMsg = "";
        return true;
    }

    CVolumeSnapParamsDB db;
    if (!db.remove(volumeId, tran)) {
        const bool missing = db.getErrorCode() == DB_NO_MORE_ROWS;
        return steps::Fail(*this, ret, missing ? kErrNotFound : kErrDatabase,
                           missing ? "Volume Snap parameter record not found"
                                   : "Cannot remove volume snap parameters info from the database",
                           "\n\tCVolumeSnapParamsDB::remove() failed\n\tSNR Volume ID = " + std::to_string(volumeId) +
                               "\n\tTran = 0x" + steps::TranHandle(tran) +
                               "\n\tDB Err Code = " + std::to_string(db.getErrorCode()),
                           ProgNameDeletes, Fn, __LINE__);
    }

    m_LogMsg << "\tVolume Snap Parameters for SNR Volume " << volumeId << " were removed from DB";
    WriteLogMsg(ProgNameDeletes, Fn, __LINE__, MSG);
    ret.errCode = 0;
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::RemoveVolSnapParam(const RemoveVolSnapParamArgs_t& args, RemoveVolSnapParamRet_t& ret,
                                        DBtran* tran)
{
    RemoveVolSnapParam42Args_t inner;
    inner.SNRVolumeId = args.SNRVolumeId;
    RemoveVolSnapParam42Ret_t result;
    const bool removed = RemoveVolSnapParam(inner, result, tran);
    ret.errMsg = result.errMsg;
    return removed;
}

bool ReplicationMgr::IsSNRVolIdInVolSnapParamsTbl(const IsSNRVolIdInVolSnapParamsTblArgs_t& args,
                                                  IsSNRVolIdInVolSnapParamsTblRet_t& ret)
{
    static const char Fn[] = "ReplicationMgr::IsSNRVolIdInVolSnapParamsTbl()";
    const int volumeId = args.SNRVolumeId;
    ret.found = false;

    if (volumeId <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Cannot check Volume Snap Parameters with Invalid volume id",
                           "\n\tSNR Volume Id = " + std::to_string(volumeId), ProgNameQueries, Fn, __LINE__);

    CVolumeSnapParamsDB db;
    steps::HeldRows<YBVolSnapParams_t> list(db);
    const std::string where = "SNRVolumeId = " + std::to_string(volumeId);
    if (!db.getList(list.rows, list.count, where.c_str(), "SNRVolumeId ASC", nullptr))
        return steps::Fail(*this, ret, kErrDatabase,
                           "Cannot access the volume snap parameters records from the database",
                           "\n\tsWhere = " + where + "\n\tDB Err Code = " + std::to_string(db.getErrorCode()),
                           ProgNameQueries, Fn, __LINE__);

    ret.found = list.count != 0;
    ret.errMsg = "";
    return true;
}

// ---- Per-version entry points ------------------------------------------------------

bool ReplicationMgr::AddVolSnapParams(const AddVolSnapParamsArgs_t& args, AddVolSnapParamsRet_t& ret, DBtran* tran)
{
    return AddVolSnapParamsDB(args, ret, tran);
}
bool ReplicationMgr::AddVolSnapParams(const AddVolSnapParamsV2Args_t& args, AddVolSnapParamsV2Ret_t& ret,
                                      DBtran* tran)
{
    return AddVolSnapParamsDB(args, ret, tran);
}

bool ReplicationMgr::QueryVolSnapParams(const QueryVolSnapParamsArgs_t& args, QueryVolSnapParamsRet_t& ret)
{
    return QueryVolSnapParamsDB(args, ret);
}
bool ReplicationMgr::QueryVolSnapParams(const QueryVolSnapParamsV2Args_t& args, QueryVolSnapParamsV2Ret_t& ret)
{
    return QueryVolSnapParamsDB(args, ret);
}

bool ReplicationMgr::UpdateVolSnapParam(const UpdateVolSnapParamsArgs_t& args, UpdateVolSnapParamsRet_t& ret,
                                        DBtran* tran)
{
    return UpdateVolSnapParamDB(args, ret, tran);
}
bool ReplicationMgr::UpdateVolSnapParam(const UpdateVolSnapParamsV2Args_t& args, UpdateVolSnapParamsV2Ret_t& ret,
                                        DBtran* tran)
{
    return UpdateVolSnapParamDB(args, ret, tran);
}

bool ReplicationMgr::GetVolSnapParamsList(GetVolSnapParamsListRet_t& ret) { return GetVolSnapParamsListDB(ret); }
bool ReplicationMgr::GetVolSnapParamsList(GetVolSnapParamsV2ListRet_t& ret) { return GetVolSnapParamsListDB(ret); }

// ---- Request handlers --------------------------------------------------------------

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::AddVolSnapParamsHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    YBSet(args.record, cases::RequestOf<Req>(buf).VolSnapParams);
    AnswerByHandler<Reply>(*this, "ReplicationMgr::AddVolSnapParamsHandler()", requestCode, replyCode, true, ret,
                           [&](DBtran* tran) { return AddVolSnapParams(args, ret, tran); });
}

// The commands point into the result, which outlives the send.
template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::QueryVolSnapParamsHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    args.SNRVolumeId = static_cast<int32_t>(cases::RequestOf<Req>(buf).SNRVolumeId);
    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::QueryVolSnapParamsHandler()", requestCode, replyCode, false, ret,
        [&](DBtran*) { return QueryVolSnapParams(args, ret); },
        [&](Reply& r) { YBSet(r.VolSnapParams, ret.record); });
}

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::UpdateVolSnapParamHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    YBSet(args.record, cases::RequestOf<Req>(buf).VolSnapParams);
    AnswerByHandler<Reply>(*this, "ReplicationMgr::UpdateVolSnapParamHandler()", requestCode, replyCode, true, ret,
                           [&](DBtran* tran) { return UpdateVolSnapParam(args, ret, tran); });
}

template <typename Reply, typename Ret>
void ReplicationMgr::GetVolSnapParamsListHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf*)
{
    Ret ret;
    steps::AnswerListByHandler(*this, "ReplicationMgr::GetVolSnapParamsListHandler()", requestCode, replyCode, ret,
                               ret.params, &Reply::params, [&] { return GetVolSnapParamsList(ret); });
}

// ---- Request cases -----------------------------------------------------------------

namespace {

void ServeRemoveVolSnapParam(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    RemoveVolSnapParamArgs_t args;
    RemoveVolSnapParamRet_t ret;
    args.SNRVolumeId = static_cast<int32_t>(cases::RequestOf<repRemoveVolSnapParamsReq>(buf).SNRVolumeId);
    AnswerInlineTranCase<repRemoveVolSnapParamsResp>(
        mgr, code, ret, cases::Order::B, cases::Message::Copy,
        [&](DBtran* tran) { return mgr.RemoveVolSnapParam(args, ret, tran); });
}

}  // namespace

const ServedCase AddVolSnapParamsCaseV1 =
    SERVE_HANDLER_CASE(AddVolSnapParamsHandler, repAddVolSnapParamsReq, repAddVolSnapParamsResp, AddVolSnapParamsArgs_t,
                       AddVolSnapParamsRet_t);
const ServedCase AddVolSnapParamsCaseV2 =
    SERVE_HANDLER_CASE(AddVolSnapParamsHandler, repAddVolSnapParamsV2Req, repAddVolSnapParamsV2Resp,
                       AddVolSnapParamsV2Args_t, AddVolSnapParamsV2Ret_t);
const ServedCase QueryVolSnapParamsCaseV1 =
    SERVE_HANDLER_CASE(QueryVolSnapParamsHandler, repQueryVolSnapParamsBySNRVolReq, repQueryVolSnapParamsBySNRVolResp,
                       QueryVolSnapParamsArgs_t, QueryVolSnapParamsRet_t);
const ServedCase QueryVolSnapParamsCaseV2 =
    SERVE_HANDLER_CASE(QueryVolSnapParamsHandler, repQueryVolSnapParamsV2BySNRVolReq,
                       repQueryVolSnapParamsV2BySNRVolResp, QueryVolSnapParamsV2Args_t, QueryVolSnapParamsV2Ret_t);
const ServedCase UpdateVolSnapParamCaseV1 =
    SERVE_HANDLER_CASE(UpdateVolSnapParamHandler, repUpdateVolSnapParamsReq, repUpdateVolSnapParamsResp,
                       UpdateVolSnapParamsArgs_t, UpdateVolSnapParamsRet_t);
const ServedCase UpdateVolSnapParamCaseV2 =
    SERVE_HANDLER_CASE(UpdateVolSnapParamHandler, repUpdateVolSnapParamsV2Req, repUpdateVolSnapParamsV2Resp,
                       UpdateVolSnapParamsV2Args_t, UpdateVolSnapParamsV2Ret_t);
const ServedCase GetVolSnapParamsListCaseV1 =
    SERVE_LIST_HANDLER_CASE(GetVolSnapParamsListHandler, repGetVolSnapParamsListResp, GetVolSnapParamsListRet_t);
const ServedCase GetVolSnapParamsListCaseV2 =
    SERVE_LIST_HANDLER_CASE(GetVolSnapParamsListHandler, repGetVolSnapParamsV2ListResp, GetVolSnapParamsV2ListRet_t);
const ServedCase RemoveVolSnapParamCase =
    cases::Serve<repRemoveVolSnapParamsReq, repRemoveVolSnapParamsResp>(&ServeRemoveVolSnapParam);
