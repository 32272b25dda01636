// The snap engine catalogue: add (or find by name), query by id, update and
// list, each in message versions 1, 42 and 3 through request handlers, and
// remove by id and by name as inline cases of post.
#include "policies/SnapEngines.h"

#include <string>

#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "host/db/PolicyTables.h"
#include "host/db/SqlText.h"
#include "policies/PolicyCases.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/HeldRows.h"
#include "service/RecordConversion.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/ReplyArray.h"
#include "service/ResultCode.h"
#include "service/SetClause.h"
#include "service/SourceNames.h"
#include "service/TranHandle.h"

namespace {

const char RemoveFailedErrMsg[] = "Cannot remove snap engine info from the database";

// "name = '<name>'": the lookup of an add and the remove by name.
std::string NameIs(const std::string& name) { return "name = '" + SqlEscape(name) + "'"; }

// What an update writes after Flags, in this order; the mask of the message
// version picks the items.
const SetClauseItem<YBSnapEngineInfo_t> kUpdateItems[] = {
    {YB_SE_MOUNT_CMD, [](const YBSnapEngineInfo_t& r) { return SetTextItem("MountCmdHint", YBColumnText(r.MountCmdHint)); }},
    {YB_SE_UNMOUNT_CMD,
     [](const YBSnapEngineInfo_t& r) { return SetTextItem("UnmountCmdHint", YBColumnText(r.UnmountCmdHint)); }},
    {YB_SE_SYNC_CMD, [](const YBSnapEngineInfo_t& r) { return SetTextItem("SyncCmdHint", YBColumnText(r.SyncCmdHint)); }},
    {YB_SE_UNSYNC_CMD,
     [](const YBSnapEngineInfo_t& r) { return SetTextItem("UnsyncCmdHint", YBColumnText(r.UnsyncCmdHint)); }},
    {YB_SE_SNAP_CMD, [](const YBSnapEngineInfo_t& r) { return SetTextItem("SnapCmdHint", YBColumnText(r.SnapCmdHint)); }},
    {YB_SE_UNSNAP_CMD,
     [](const YBSnapEngineInfo_t& r) { return SetTextItem("UnsnapCmdHint", YBColumnText(r.UnsnapCmdHint)); }},
    {YB_SE_NAME, [](const YBSnapEngineInfo_t& r) { return SetTextItem("name", YBColumnText(r.name)); }},
    {YB_SE_ROLLBACK_CMD,
     [](const YBSnapEngineInfo_t& r) { return SetTextItem("RollbackCmdHint", YBColumnText(r.RollbackCmdHint)); }},
    {YB_SE_OS_TYPE, [](const YBSnapEngineInfo_t& r) { return SetNumberItem("OsType", r.OsType); }},
    {YB_SE_TYPE, [](const YBSnapEngineInfo_t& r) { return SetNumberItem("Type", r.Type); }},
};

}  // namespace

template <typename Args, typename Ret>
bool ReplicationMgr::AddSnapEngineInfoDB(const Args& args, Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::AddSnapEngineInfoDB()";
    const std::string& name = args.record.name;
    ret.id = -1;

    if (name.empty()) {
        ret.errMsg = "Cannot include snap engine information with a missing name value";
        SetErrCode(ret, kErrMissingInput);
        m_LogMsg << "\tEvent: Name field of the SnapEngineInfo table is empty";
        WriteLogMsg(ProgNameInserts, Fn, __LINE__, ERR);
        return false;
    }

    // Every text is checked against its column before anything is read or written.
    YBSnapEngineInfo_t row;
    int code = 0;
    const int refused = YBSet(row, args.record, code);
    if (refused != 0)
        return steps::Fail(*this, ret, code, steps::FieldNotValidText(GetSnapEngineFieldName(refused)), "", ProgNameInserts,
                           Fn, __LINE__);

    CSnapEngineInfoDB db;
    const std::string where = NameIs(name);
    {
        steps::HeldRows<YBSnapEngineInfo_t> found(db);
        if (db.getList(found.rows, found.count, where.c_str(), "id ASC", tran)) {
            if (found.count > 0) {
                ret.id = found.rows[0].id;
                m_LogMsg << "\t" << EvDebug::escaped(where) << " was found in the database"
                         << "\n\tReturning id = " << ret.id;
                WriteLogMsg(ProgNameInserts, Fn, __LINE__, MSG);
                ret.errMsg = "";
                return true;
            }
        } else if (db.getErrorCode() != DB_NO_MORE_ROWS) {
            return steps::Fail(*this, ret, kErrDatabase, "Cannot include new snap engine information",
                               "\n\tCSnapEngineInfoDB.getList() failed\n\tArguments:\n\tsWhere: " +
                                   EvDebug::escaped(where) + "\n\tTran = 0x" + steps::TranHandle(tran) +
                                   "\n\tDB Err Code = " + std::to_string(db.getErrorCode()),
                               ProgNameInserts, Fn, __LINE__);
        }
    }

    if (!db.insert(row, tran))
        return steps::Fail(
            *this, ret, kErrDatabase, "Cannot include new snap engine info record into the database",
            "\n\tCSnapEngineInfoDB::insert() failed\n\tDB Err Code = " + std::to_string(db.getErrorCode()),
            ProgNameInserts, Fn, __LINE__);
    ret.id = row.id;
    m_LogMsg << "\tSnap Engine info " << EvDebug::escaped(name) << " was added, using ID " << ret.id;
    WriteLogMsg(ProgNameInserts, Fn, __LINE__, MSG);
    ret.errMsg = "";
    return true;
}

template <typename Args, typename Ret>
bool ReplicationMgr::QuerySnapEngineInfoDB(const Args& args, Ret& ret)
{
    static const char Fn[] = "ReplicationMgr::QuerySnapEngineInfo()";
    const int id = args.id;

    if (id <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Invalid Snap engine info identifier",
                           "\n\tParameters used:\n\tSnap Engine Info Id = " + std::to_string(id), ProgNameQueries, Fn,
                           __LINE__);

    CSnapEngineInfoDB db;
    YBSnapEngineInfo_t row;
    if (!db.getInfo(id, row, nullptr)) {
        const int dbCode = db.getErrorCode();
        const bool missing = dbCode == DB_NO_MORE_ROWS;
        return steps::Fail(*this, ret, missing ? kErrNotFound : kErrDatabase,
                           missing ? "Record not found" : "Cannot access Snap engine information from the database",
                           "\n\tCSnapEngineInfoDB::getInfo() failed\n\tParameters used:\n\tSnap Engine Info Id = " +
                               std::to_string(id) + "\n\tDB Err Code  = " + std::to_string(dbCode),
                           ProgNameQueries, Fn, __LINE__);
    }

    YBSet(ret.record, row);
    ret.errMsg = "";
    return true;
}

template <typename Args, typename Ret>
bool ReplicationMgr::UpdateSnapEngineInfoDB(const Args& args, Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::UpdateSnapEngineInfo()";
    const int id = args.record.id;

    if (id <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Cannot update snap engine information with invalid values",
                           "\n\tParameters used:\n\tSnap Engine Info ID = " + std::to_string(id), ProgNameUpdates, Fn,
                           __LINE__);

    CSnapEngineInfoDB db;
    YBSnapEngineInfo_t stored;
    if (!db.getInfo(id, stored, tran)) {
        const int dbCode = db.getErrorCode();
        const bool missing = dbCode == DB_NO_MORE_ROWS;
        return steps::Fail(
            *this, ret, missing ? kErrNotFound : kErrDatabase,
            missing ? "Snap Engine not found" : "Cannot access Snap Engine information from the database",
            "\n\tCSnapEngineInfoDB::getInfo() failed\n\tParameters used:\n\tsId = " + std::to_string(id) +
                "\n\tTran = 0x" + steps::TranHandle(tran) + "\n\tDB Err Code = " + std::to_string(dbCode),
            ProgNameUpdates, Fn, __LINE__);
    }

    YBSnapEngineInfo_t row;
    int code = 0;
    const int refused = YBSet(row, args.record, code);
    if (refused != 0)
        return steps::Fail(*this, ret, code, steps::FieldNotValidText(GetSnapEngineFieldName(refused)), "", ProgNameUpdates,
                           Fn, __LINE__);

    const int32_t mask = GetUpdateMap(args.record);
    const int32_t flags = MergeSnapEngineFlags(stored.Flags, row.Flags, mask);
    const std::string set = BuildFlagsSetClause(flags, mask, kUpdateItems, row);
    if (!db.Update(id, set.c_str(), tran)) {
        const bool missing = db.getErrorCode() == DB_NO_MORE_ROWS;
        return steps::Fail(*this, ret, missing ? kErrNotFound : kErrDatabase,
                           missing ? "Record not found" : "Could not update snap engine information from database",
                           "\n\tCSnapEngineInfoDB::Update() failed\n\tParameters used:\n\tSnap Engine Info Id = " +
                               std::to_string(id) + "\n\tsUpdate = " + EvDebug::escaped(set) + "\n\tTran = 0x" +
                               steps::TranHandle(tran),
                           ProgNameUpdates, Fn, __LINE__);
    }

    m_LogMsg << "\tSnap engine info record " << id << " was updated successfully...";
    WriteLogMsg(ProgNameUpdates, Fn, __LINE__, MSG);
    ret.errMsg = "";
    return true;
}

template <typename Ret>
bool ReplicationMgr::GetSnapEngineInfoListDB(Ret& ret)
{
    static const char Fn[] = "ReplicationMgr::GetSnapEngineInfoListDB()";
    static const char Where[] = "id > 0";
    static const char OrderBy[] = "id ASC";

    ret.engines.clear();
    CSnapEngineInfoDB db;
    auto convert = [](auto& record, const YBSnapEngineInfo_t& row) { YBSet(record, row); };
    if (!db.getList(ret.engines, convert, Where, OrderBy, nullptr))
        return steps::Fail(*this, ret, kErrDatabase, "Cannot get the list of snap engine records from the database",
                           std::string("\n\tCSnapEngineInfoDB::getList() failed\n\tParameters used:\n\tsWhere = ") +
                               Where + "\n\tsOrderBy = " + OrderBy +
                               "\n\tDB Err Code = " + std::to_string(db.getErrorCode()),
                           ProgNameGetLists, Fn, __LINE__);

    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::RemoveSnapEngineInfo(const RemoveSnapEngineInfoArgs_t& args, RemoveSnapEngineInfoRet_t& ret,
                                          DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::RemoveSnapEngineInfo()";
    const int id = args.id;

    if (id <= 0)
        return steps::Fail(
            *this, ret, kErrInvalidId, "Cannot remove snap engine info from the database with invalid values",
            "\n\tParameters used:\n\tSnap Engine Info ID = " + std::to_string(id), ProgNameDeletes, Fn, __LINE__);

    CSnapEngineInfoDB db;
    if (!db.remove(id, tran))
        return steps::Fail(*this, ret, kErrDatabase, RemoveFailedErrMsg,
                           "\n\tCSnapEngineInfoDB::remove() failed\n\tParameters used:\n\tSnap Engine Info ID = " +
                               std::to_string(id) + "\n\tTran = 0x" + steps::TranHandle(tran),
                           ProgNameDeletes, Fn, __LINE__);

    m_LogMsg << "\tSnap engine info " << id << " was removed...";
    WriteLogMsg(ProgNameDeletes, Fn, __LINE__, MSG);
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::RemoveSnapEngineInfoByName(const RemoveSnapEngineInfoByNameArgs_t& args,
                                                RemoveSnapEngineInfoByNameRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::RemoveSnapEngineInfoByName()";
    const std::string& name = args.name;

    if (name.empty())
        return steps::Fail(*this, ret, kErrMissingInput,
                           "Cannot remove snap engine info from the database with an empty name argument", "",
                           ProgNameDeletes, Fn, __LINE__);

    CSnapEngineInfoDB db;
    const std::string where = NameIs(name);
    if (!db.remove(where.c_str(), tran))
        return steps::Fail(*this, ret, kErrDatabase, RemoveFailedErrMsg,
                           "\n\tCSnapEngineInfoDB::remove() failed\n\tParameters used:\n\tsWhere = " +
                               EvDebug::escaped(where) + "\n\tTran = 0x" + steps::TranHandle(tran),
                           ProgNameDeletes, Fn, __LINE__);

    m_LogMsg << "\tSnap Engine Info " << EvDebug::escaped(name) << " was removed successfully...";
    WriteLogMsg(ProgNameDeletes, Fn, __LINE__, MSG);
    ret.errMsg = "";
    return true;
}

// ---- Per-version entry points ------------------------------------------------------

bool ReplicationMgr::AddSnapEngineInfo(const AddSnapEngineInfoArgs_t& args, AddSnapEngineInfoRet_t& ret, DBtran* tran)
{
    return AddSnapEngineInfoDB(args, ret, tran);
}
bool ReplicationMgr::AddSnapEngineInfo(const AddSnapEngineInfo42Args_t& args, AddSnapEngineInfo42Ret_t& ret,
                                       DBtran* tran)
{
    return AddSnapEngineInfoDB(args, ret, tran);
}
// Like the other versions, the lookup and the insert run in the caller's
// transaction, so that a request whose commit fails leaves no engine behind.
bool ReplicationMgr::AddSnapEngineInfo(const AddSnapEngineInfoV3Args_t& args, AddSnapEngineInfoV3Ret_t& ret,
                                       DBtran* tran)
{
    return AddSnapEngineInfoDB(args, ret, tran);
}

bool ReplicationMgr::QuerySnapEngineInfo(const QuerySnapEngineInfoArgs_t& args, QuerySnapEngineInfoRet_t& ret)
{
    return QuerySnapEngineInfoDB(args, ret);
}
bool ReplicationMgr::QuerySnapEngineInfo(const QuerySnapEngineInfo42Args_t& args, QuerySnapEngineInfo42Ret_t& ret)
{
    return QuerySnapEngineInfoDB(args, ret);
}
bool ReplicationMgr::QuerySnapEngineInfo(const QuerySnapEngineInfoV3Args_t& args, QuerySnapEngineInfoV3Ret_t& ret)
{
    return QuerySnapEngineInfoDB(args, ret);
}

bool ReplicationMgr::UpdateSnapEngineInfo(const UpdateSnapEngineInfoArgs_t& args, UpdateSnapEngineInfoRet_t& ret,
                                          DBtran* tran)
{
    return UpdateSnapEngineInfoDB(args, ret, tran);
}
bool ReplicationMgr::UpdateSnapEngineInfo(const UpdateSnapEngineInfo42Args_t& args, UpdateSnapEngineInfo42Ret_t& ret,
                                          DBtran* tran)
{
    return UpdateSnapEngineInfoDB(args, ret, tran);
}
bool ReplicationMgr::UpdateSnapEngineInfo(const UpdateSnapEngineInfoV3Args_t& args, UpdateSnapEngineInfoV3Ret_t& ret,
                                          DBtran* tran)
{
    return UpdateSnapEngineInfoDB(args, ret, tran);
}

bool ReplicationMgr::GetSnapEngineInfoList(GetSnapEngineInfoListRet_t& ret) { return GetSnapEngineInfoListDB(ret); }
bool ReplicationMgr::GetSnapEngineInfoList(GetSnapEngineInfo42ListRet_t& ret) { return GetSnapEngineInfoListDB(ret); }
bool ReplicationMgr::GetSnapEngineInfoList(GetSnapEngineInfoV3ListRet_t& ret) { return GetSnapEngineInfoListDB(ret); }

// ---- Request handlers --------------------------------------------------------------

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::AddSnapEngineInfoHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    YBSet(args.record, cases::RequestOf<Req>(buf).SnapEngineInfo);
    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::AddSnapEngineInfoHandler()", requestCode, replyCode, true, ret,
        [&](DBtran* tran) { return AddSnapEngineInfo(args, ret, tran); },
        [&](Reply& r) { r.id = static_cast<uint32_t>(ret.id); });
}

// The engine's texts point into the result, which outlives the send.
template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::QuerySnapEngineInfoHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    args.id = static_cast<int32_t>(cases::RequestOf<Req>(buf).id);
    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::QuerySnapEngineInfoHandler()", requestCode, replyCode, false, ret,
        [&](DBtran*) { return QuerySnapEngineInfo(args, ret); },
        [&](Reply& r) { YBSet(r.SnapEngineInfo, ret.record); });
}

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::UpdateSnapEngineInfoHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    YBSet(args.record, cases::RequestOf<Req>(buf).SnapEngineInfo);
    AnswerByHandler<Reply>(*this, "ReplicationMgr::UpdateSnapEngineInfoHandler()", requestCode, replyCode, true, ret,
                           [&](DBtran* tran) { return UpdateSnapEngineInfo(args, ret, tran); });
}

template <typename Reply, typename Ret>
void ReplicationMgr::GetSnapEngineInfoListHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf*)
{
    Ret ret;
    steps::AnswerListByHandler(*this, "ReplicationMgr::GetSnapEngineInfoListHandler()", requestCode, replyCode, ret,
                               ret.engines, &Reply::engines, [&] { return GetSnapEngineInfoList(ret); });
}

// ---- Request cases -----------------------------------------------------------------

namespace {

void ServeRemoveSnapEngineInfo(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    RemoveSnapEngineInfoArgs_t args;
    RemoveSnapEngineInfoRet_t ret;
    args.id = static_cast<int32_t>(cases::RequestOf<repRemoveSnapEngineInfoReq>(buf).id);
    AnswerInlineTranCase<repRemoveSnapEngineInfoResp>(
        mgr, code, ret, cases::Order::B, cases::Message::Copy,
        [&](DBtran* tran) { return mgr.RemoveSnapEngineInfo(args, ret, tran); });
}

void ServeRemoveSnapEngineInfoByName(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    RemoveSnapEngineInfoByNameArgs_t args;
    RemoveSnapEngineInfoByNameRet_t ret;
    args.name = YBTextFromWire(cases::RequestOf<repRemoveSnapEngineInfoByNameReq>(buf).name);
    AnswerInlineTranCase<repRemoveSnapEngineInfoByNameResp>(
        mgr, code, ret, cases::Order::B, cases::Message::Copy,
        [&](DBtran* tran) { return mgr.RemoveSnapEngineInfoByName(args, ret, tran); });
}

}  // namespace

const ServedCase AddSnapEngineInfoCaseV1 =
    SERVE_HANDLER_CASE(AddSnapEngineInfoHandler, repAddSnapEngineInfoReq, repAddSnapEngineInfoResp,
                       AddSnapEngineInfoArgs_t, AddSnapEngineInfoRet_t);
const ServedCase AddSnapEngineInfoCase42 =
    SERVE_HANDLER_CASE(AddSnapEngineInfoHandler, repAddSnapEngineInfo42Req, repAddSnapEngineInfo42Resp,
                       AddSnapEngineInfo42Args_t, AddSnapEngineInfo42Ret_t);
const ServedCase AddSnapEngineInfoCaseV3 =
    SERVE_HANDLER_CASE(AddSnapEngineInfoHandler, repAddSnapEngineInfoV3Req, repAddSnapEngineInfoV3Resp,
                       AddSnapEngineInfoV3Args_t, AddSnapEngineInfoV3Ret_t);
const ServedCase QuerySnapEngineInfoCaseV1 =
    SERVE_HANDLER_CASE(QuerySnapEngineInfoHandler, repQuerySnapEngineInfoByIdReq, repQuerySnapEngineInfoByIdResp,
                       QuerySnapEngineInfoArgs_t, QuerySnapEngineInfoRet_t);
const ServedCase QuerySnapEngineInfoCase42 =
    SERVE_HANDLER_CASE(QuerySnapEngineInfoHandler, repQuerySnapEngineInfo42ByIdReq, repQuerySnapEngineInfo42ByIdResp,
                       QuerySnapEngineInfo42Args_t, QuerySnapEngineInfo42Ret_t);
const ServedCase QuerySnapEngineInfoCaseV3 =
    SERVE_HANDLER_CASE(QuerySnapEngineInfoHandler, repQuerySnapEngineInfoV3ByIdReq, repQuerySnapEngineInfoV3ByIdResp,
                       QuerySnapEngineInfoV3Args_t, QuerySnapEngineInfoV3Ret_t);
const ServedCase UpdateSnapEngineInfoCaseV1 =
    SERVE_HANDLER_CASE(UpdateSnapEngineInfoHandler, repUpdateSnapEngineInfoReq, repUpdateSnapEngineInfoResp,
                       UpdateSnapEngineInfoArgs_t, UpdateSnapEngineInfoRet_t);
const ServedCase UpdateSnapEngineInfoCase42 =
    SERVE_HANDLER_CASE(UpdateSnapEngineInfoHandler, repUpdateSnapEngineInfo42Req, repUpdateSnapEngineInfo42Resp,
                       UpdateSnapEngineInfo42Args_t, UpdateSnapEngineInfo42Ret_t);
const ServedCase UpdateSnapEngineInfoCaseV3 =
    SERVE_HANDLER_CASE(UpdateSnapEngineInfoHandler, repUpdateSnapEngineInfoV3Req, repUpdateSnapEngineInfoV3Resp,
                       UpdateSnapEngineInfoV3Args_t, UpdateSnapEngineInfoV3Ret_t);
const ServedCase GetSnapEngineInfoListCaseV1 =
    SERVE_LIST_HANDLER_CASE(GetSnapEngineInfoListHandler, repGetSnapEngineInfoListResp, GetSnapEngineInfoListRet_t);
const ServedCase GetSnapEngineInfoListCase42 =
    SERVE_LIST_HANDLER_CASE(GetSnapEngineInfoListHandler, repGetSnapEngineInfo42ListResp, GetSnapEngineInfo42ListRet_t);
const ServedCase GetSnapEngineInfoListCaseV3 =
    SERVE_LIST_HANDLER_CASE(GetSnapEngineInfoListHandler, repGetSnapEngineInfoV3ListResp, GetSnapEngineInfoV3ListRet_t);
const ServedCase RemoveSnapEngineInfoCase =
    cases::Serve<repRemoveSnapEngineInfoReq, repRemoveSnapEngineInfoResp>(&ServeRemoveSnapEngineInfo);
const ServedCase RemoveSnapEngineInfoByNameCase =
    cases::Serve<repRemoveSnapEngineInfoByNameReq, repRemoveSnapEngineInfoByNameResp>(&ServeRemoveSnapEngineInfoByName);
