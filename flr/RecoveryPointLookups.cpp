// Recovery point lookups: the destination points of a client by volume and
// all of them, the pairs that feed a point, one snapshot and one point by id,
// the points of a client for an application type, and whether any point
// concerns a client; with their request handlers.
#include <cstring>
#include <string>
#include <vector>

#include "host/ClientProperties.h"
#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "host/db/FLRTables.h"
#include "flr/CPExpansion.h"
#include "flr/FLRCases.h"
#include "flr/FLRQueryMessages.h"
#include "rows/Db/Cursor/YBFLRGetRPByClientIdAndVolGuid.h"
#include "rows/Db/Cursor/YBFLRGetRPByClientIdAndVolName.h"
#include "rows/Db/Cursor/YBGetFLRPairPathByCPId.h"
#include "rows/Db/Cursor/YBQueryInt.h"
#include "rows/Db/Proc/YBGetAllRPsbyDstClientId.h"
#include "rows/Db/Proc/YBGetCPsBYClientIDAndAppType.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/RecordConversion.h"
#include "service/CursorRows.h"
#include "service/HeldRows.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/ReplyArray.h"
#include "service/SourceNames.h"

using steps::Fail;

namespace {

// Application type of replication pairs (subclients), their sets and instances.
const int kReplicationAppType = 84;

// The lowest id of a destination client the lookups accept.
const int32_t kFirstDstClientId = 2;

const char InvalidClientText[] = "Invalid client id received";

// Runs an integer statement to its end: DB_NO_MORE_ROWS with each row's
// value given to `each`, or the code of the failed fetch.
template <typename Each>
int ReadInts(const std::string& statement, DBtran* tran, Each each)
{
    YBQueryInt cursor(tran);
    cursor.setValues(statement.c_str());
    int state = 0;
    int rc;
    while ((rc = getNextRow(&cursor, &state, -1, 0)) == DB_ROW_OK) each(cursor.getDataPtr()->IntValue);
    return rc;
}

}  // namespace

bool ReplicationMgr::QueryRPByDstClientIdAndVolName(const QueryRPByDstClientIdAndVolNameArgs_t& args,
                                                    QueryRPByDstClientIdAndVolNameRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::QueryRPByDstClientIdAndVolName()";
    ret.RPs.clear();
    if (args.DstClientId < kFirstDstClientId)
        return Fail(*this, ret, kErrInvalidId, InvalidClientText, "\n\tClient Id = " + std::to_string(args.DstClientId),
                    ProgNameQueries, Fn, __LINE__);
    if (args.VolName.empty())
        return Fail(*this, ret, kErrMissingInput, "Volume name is empty", "", ProgNameQueries, Fn, __LINE__);

    int rc;
    if (args.IsGUID != 0) {
        YBFLRGetRPByClientIdAndVolGuid cursor(tran);
        cursor.setValues(args.DstClientId, args.VolName.c_str());
        rc = steps::ReadAllRows(cursor, ret.RPs);
    } else {
        YBFLRGetRPByClientIdAndVolName cursor(tran);
        cursor.setValues(args.DstClientId, args.VolName.c_str());
        rc = steps::ReadAllRows(cursor, ret.RPs);
    }
    if (rc != DB_NO_MORE_ROWS)
        return Fail(*this, ret, kErrDatabase, "Could not get RP information from the database",
                    "\n\tgetNextRow(YBFLRGetRPByClientIdAndVolName &) failed\n\tParameters used:\n\tClient id   = " +
                        std::to_string(args.DstClientId) + "\n\tVol Name    = " + EvDebug::escaped(args.VolName) +
                        "\n\tisGUID flag = " + std::to_string(args.IsGUID) + "\n\tDB Err Code = " + std::to_string(rc),
                    ProgNameQueries, Fn, __LINE__);
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::DbQueryRPsByDstClientId(const QueryRPsByDstClientIdArgs_t& args, QueryRPsByDstClientIdRet_t& ret,
                                             DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::DbQueryRPsByDstClientId()";
    ret.RPs.clear();
    if (args.DstClientId < kFirstDstClientId)
        return Fail(*this, ret, kErrInvalidId, InvalidClientText, "\n\tClient Id = " + std::to_string(args.DstClientId),
                    ProgNameQueries, Fn, __LINE__);

    YBGetAllRPsbyDstClientId procedure(tran);
    procedure.setValues(args.DstClientId);
    const int rc = steps::ReadAllRows(procedure, ret.RPs);
    if (rc != DB_NO_MORE_ROWS)
        return Fail(*this, ret, kErrDatabase, "Could not get list of RPs from the database",
                    "\n\tgetNextRow(YBGetAllRPsbyDstClientId &) failed\n\tClient Id = " +
                        std::to_string(args.DstClientId) + "\n\tDB Err Code = " + std::to_string(rc),
                    ProgNameQueries, Fn, __LINE__);
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::QueryFanInRPDetails(const QueryFanInDetailInfoByRPIdArgs_t& args,
                                         QueryFanInDetailInfoByRPIdRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::QueryFanInRPDetails()";
    const std::string rpId = std::to_string(args.RPId);
    ret.Details.clear();
    if (args.RPId < 1)
        return Fail(*this, ret, kErrInvalidId, "Invalid Recovery point id received", "\n\tRecovery Point Id = " + rpId,
                    ProgNameQueries, Fn, __LINE__);

    // The point's pair rows, counted outside any transaction.
    const std::string statement =
        "SELECT COUNT(P.id) FROM YBFLRSnapshot S, YBFLRSnapPair P WHERE S.ConsistencyPointId = " + rpId +
        " AND S.Id = P.SnapshotId";
    int pairRows = 0;
    int rc = ReadInts(statement, nullptr, [&](int value) { pairRows = value; });
    if (rc != DB_NO_MORE_ROWS)
        return Fail(*this, ret, kErrDatabase, "Could not get pairinformation from the database",
                    "\n\tgetNextRow(YBQueryInt &) failed\n\tStatement = " + statement + "\n\tRP id     = " + rpId,
                    ProgNameQueries, Fn, __LINE__);
    if (pairRows == 0) {
        ret.Details.emplace_back("N/A", "N/A", 0, 0, "N/A", "N/A", 0);
        ret.errMsg = "";
        return true;
    }

    YBGetFLRPairPathByCPId cursor(tran);
    cursor.setValues(args.RPId);
    rc = steps::ReadAllRows(cursor, ret.Details);
    if (rc != DB_NO_MORE_ROWS)
        return Fail(*this, ret, kErrDatabase, "Could not get RP information from the database",
                    "\n\tgetNextRow(YBGetFLRPairPathByCPId &) failed\n\tRP id = " + rpId +
                        "\n\tDB Err Code = " + std::to_string(rc),
                    ProgNameQueries, Fn, __LINE__);
    ret.errMsg = "";
    return true;
}

namespace {

// The texts of a read of one row by its id.
struct ReadByIdTexts {
    const char* function;
    const char* invalidText;
    const char* failedLine;
    const char* idLabel;
};

const char RowNotFoundText[] = "FLR Snapshot was not found in the database";
const char RowReadFailedText[] = "Could not get FLR snapshot information from the database";

// Reads the row of the id into a zeroed row and converts it into record:
// -6 for an id below 1, -3 when there is no such row, -4 when the read fails.
template <typename Table, typename Row, typename Record, typename Ret>
bool ReadById(ReplicationMgr& mgr, const ReadByIdTexts& t, int32_t id, Record& record, Ret& ret)
{
    if (id < 1) return Fail(mgr, ret, kErrInvalidId, t.invalidText, "", ProgNameQueries, t.function, __LINE__);
    Table db;
    Row row;
    if (!db.getInfo(id, row, nullptr)) {
        const int code = db.getErrorCode();
        return Fail(mgr, ret, code == DB_NO_MORE_ROWS ? kErrNotFound : kErrDatabase,
                    code == DB_NO_MORE_ROWS ? RowNotFoundText : RowReadFailedText,
                    std::string(t.failedLine) + "\n\tParameters used:" + t.idLabel + std::to_string(id) +
                        "\n\tDB Err Code = " + std::to_string(code),
                    ProgNameQueries, t.function, __LINE__);
    }
    YBSet(record, row);
    ret.errMsg = "";
    return true;
}

}  // namespace

bool ReplicationMgr::QueryFLRSnapBySnapId(const QueryFLRSnapBySnapIdArgs_t& args, QueryFLRSnapBySnapIdRet_t& ret,
                                          DBtran*)
{
    static const ReadByIdTexts texts = {"ReplicationMgr::QueryFLRSnapBySnapId()",
                                        "Invalid FLR snap id [ FLR Snap id < 0 ]", "\n\tFLRSnapshotDB::getInfo() failed",
                                        "\n\tsSnap Id= "};
    ret.Snapshot = FLRSnapshotRecord_t();
    return ReadById<FLRSnapshotDB, YBFLRSnapshot_t>(*this, texts, args.SnapshotId, ret.Snapshot, ret);
}

bool ReplicationMgr::QueryCPById(const QueryCPByIdArgs_t& args, QueryCPByIdRet_t& ret, DBtran*)
{
    static const ReadByIdTexts texts = {"ReplicationMgr::QueryCPById()", "Invalid FLR CP id [ FLR CP id < 0 ]",
                                        "\n\tFLRConsistencyPointDB::getInfo() failed", "\n\tCP Id= "};
    ret.CP = FLRConsistencyPointRecord_t();
    return ReadById<FLRConsistencyPointDB, YBFLRConsistencyPoint_t>(*this, texts, args.CPId, ret.CP, ret);
}

bool ReplicationMgr::QueryCPsByClientIdAndAppType(const QueryFLRCPsByClientIdAndAppTypeV1Args_t& args,
                                                  QueryFLRCPsByClientIdAndAppTypeRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::QueryCPsByClientIdAndAppType()";
    const std::string clientId = std::to_string(args.ClientId);
    const std::string appType = std::to_string(args.AppType);
    ret.CPs.clear();
    if (args.ClientId < 1 || args.AppType < 0)
        return Fail(
            *this, ret, kErrMissingInput, "Invalid client id or AppType",
            "\n\tCondition [ClientId < 1 || AppType < 0]\n\tClientId = " + clientId + "\n\tAppType  = " + appType,
            ProgNameQueries, Fn, __LINE__);

    // Type 0: every point of the client as the source; otherwise the points
    // of the client's sets of that application.
    std::string where = "SrcClientId = " + clientId;
    if (args.AppType != 0) {
        std::string appName = "Exchange Database";
        if (!IsThisExchangeApplication(args.AppType)) {
            const int status = AppTypeNameId(args.AppType).GetAppTypeName(appName, nullptr);
            if (status != 0)
                return Fail(*this, ret, kErrLookupFailed, "Cannot check application information from the database",
                            "\n\tAppTypeNameId::GetAppTypeName() failed\n\tApp Type Id        = " + appType +
                                "\n\tApp Mgr error Code = " + std::to_string(status),
                            ProgNameQueries, Fn, __LINE__);
        }
        // The name goes to the procedure whole, however long.
        YBGetCPsBYClientIDAndAppType procedure(tran);
        procedure.setValues(args.ClientId, appName.c_str());
        std::vector<int32_t> cpIds;
        int state = 0;
        int rc;
        while ((rc = getNextRow(&procedure, &state, -1, 0)) == DB_ROW_OK) cpIds.push_back(procedure.getDataPtr()->CpId);
        if (rc != DB_NO_MORE_ROWS)
            return Fail(*this, ret, kErrDatabase, "Could not get Replication sets associated with the application",
                        "\n\tgetNextRow(YBQueryInt &) failed\n\tsWhere       : " + where +
                            "\n\tApp Type     : " + appType + "\n\tApp Type Str : " + EvDebug::escaped(appName) +
                            "\n\tClient Id    : " + clientId + "\n\tDB Err Code = " + std::to_string(rc),
                        ProgNameQueries, Fn, __LINE__);
        if (cpIds.empty()) {
            m_LogMsg << "\tNo FLR Application found\n\tClient Id = " << clientId << "\n\tApp Type  = " << appType;
            WriteLogMsg(ProgNameQueries, Fn, __LINE__, INFO);
            ret.errMsg = "";
            return true;
        }
        where = "id IN (" + flr_detail::JoinIds(cpIds) + ")";
    }

    FLRConsistencyPointDB db;
    steps::HeldRows<YBFLRConsistencyPoint_t> rows(db);
    flr_detail::ListRead read{"FLRConsistencyPointDB", where, "id ASC",
                              "Could not get list of FLR Consistency point records from the database",
                              "Could not find the FLR consistency point record(s) in the database"};
    read.logsCode = false;
    if (!flr_detail::ReadRows(*this, ret, {ProgNameQueries, Fn, ""}, read, db, rows, nullptr, __LINE__)) return false;
    for (unsigned int i = 0; i < rows.count; ++i) ret.CPs.push_back(flr_detail::ReportedCP(rows.rows[i], true, false));
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::doesClientHaveAnyRP(const doesClientHaveAnyRPsArgs_t& args, doesClientHaveAnyRPsRet_t& ret,
                                         DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::doesClientHaveAnyRP()";
    const std::string clientId = std::to_string(args.ClientId);
    ret.Count = 0;
    if (args.ClientId < kFirstDstClientId)
        return Fail(*this, ret, kErrInvalidId, "Invalid client id", "\n\tclient Id = " + clientId, ProgNameQueries, Fn,
                    __LINE__);

    // The points whose source is the client.
    FLRConsistencyPointDB db;
    const std::string where = "SrcClientId = " + clientId;
    unsigned int sourcePoints = 0;
    if (!db.getNRows(where.c_str(), sourcePoints, tran))
        return Fail(*this, ret, kErrDatabase, "Cannot get the list of RPs from the DB",
                    "\n\tFLRConsistencyPointDB::getNRows() failed\n\tsWhere = " + where +
                        "\n\tClient Id   = " + clientId + "\n\tDB Err Code = " + std::to_string(db.getErrorCode()),
                    ProgNameQueries, Fn, __LINE__);
    ret.Count += sourcePoints;

    // The pairs of the client's replication sets, through its instances.
    ClientApplicationList apps;
    std::vector<int> instanceIds;
    std::vector<std::string> names;
    int status = apps.getInstanceList(args.ClientId, kReplicationAppType, instanceIds, names, tran, 1);
    if (status != 0) {
        ret.Count = 0;
        return Fail(*this, ret, kErrLookupFailed, "Failed to query list of instances in the client",
                    "\n\tClientApplicationList::getInstanceList() failed\n\tclientId = " + clientId +
                        "\n\tApp Mgr Ret Code   = " + std::to_string(status),
                    ProgNameQueries, Fn, __LINE__);
    }
    std::vector<int> setIds;
    for (int instanceId : instanceIds) {
        std::vector<int> ids;
        std::vector<int> flags;
        status = apps.getBackupSetList(ids, names, flags, args.ClientId, kReplicationAppType, instanceId, tran, 1);
        if (status != 0) {
            ret.Count = 0;
            return Fail(*this, ret, kErrLookupFailed, "Failed to query list of replication pairs",
                        "\n\tClientApplicationList::getBackupSetList() failed\n\tclient Id   = " + clientId +
                            "\n\tInstance Id = " + std::to_string(instanceId) +
                            "\n\tApp Mgr Ret Code   = " + std::to_string(status),
                        ProgNameQueries, Fn, __LINE__);
        }
        setIds.insert(setIds.end(), ids.begin(), ids.end());
    }
    std::vector<int32_t> pairIds;
    for (int setId : setIds) {
        std::vector<int> ids;
        status = apps.getSubclientList(ids, names, kReplicationAppType, setId, tran, 1);
        if (status != 0) {
            ret.Count = 0;
            return Fail(*this, ret, kErrLookupFailed,
                        "Failed to query possible fan in snapshot(s). Cannot get the Replication set's pair list",
                        "\n\tClientApplicationList::getSubclientList() failed\n\tclient Id  = " + clientId +
                            "\n\tRep Set Id = " + std::to_string(setId) +
                            "\n\tApp Mgr Ret Code   = " + std::to_string(status),
                        ProgNameQueries, Fn, __LINE__);
        }
        pairIds.insert(pairIds.end(), ids.begin(), ids.end());
    }
    if (pairIds.empty()) {
        ret.errMsg = "";
        return true;
    }

    // The destination points holding a snapshot of one of those pairs.
    const std::string statement =
        "SELECT COUNT(RP.Id) FROM YBFLRConsistencyPoint RP, YBFLRSnapshot S, YBFLRSnapPair P "
        "WHERE P.SnapshotId = S.Id AND S.ConsistencyPointId = RP.Id AND RP.Type = " +
        std::to_string(FLRCP_TYPE_DESTINATION_MACHINE) + " AND PairId IN (" + flr_detail::JoinIds(pairIds) + ")";
    const int rc = ReadInts(statement, tran, [&](int value) { ret.Count += static_cast<uint64_t>(value); });
    if (rc != DB_NO_MORE_ROWS) {
        ret.Count = 0;  // a failed count tells nothing
        return Fail(*this, ret, kErrDatabase, "Could not get Fan In RPs associated with the client",
                    "\n\tgetNextRow(YBQueryInt &) failed\n\tsWhere       : " + statement +
                        "\n\tClient Id    : " + clientId + "\n\tDB Err Code = " + std::to_string(rc),
                    ProgNameQueries, Fn, __LINE__);
    }
    ret.errMsg = "";
    return true;
}

// ---- Request handlers ------------------------------------------------------------

namespace {

void ReadVolumeRequest(const repGetRPsByClientIdAndVolNameReq& request, QueryRPByDstClientIdAndVolNameArgs_t& args)
{
    args.DstClientId = request.DstClientId;
    args.VolName = YBTextFromWire(request.VolName);
}

void ReadVolumeRequest(const repGetRPsByClientIdAndVolNameV2Req& request, QueryRPByDstClientIdAndVolNameArgs_t& args)
{
    args.DstClientId = request.DstClientId;
    args.VolName = YBTextFromWire(request.VolName);
    args.IsGUID = request.IsGUID;
}

}  // namespace

// The version of the request code picks the request and reply layouts.
void ReplicationMgr::QueryRPByDstClientIdAndVolNameHandler(zxsDatabuf* buf, unsigned long requestCode)
{
    static const char Fn[] = "ReplicationMgr::QueryRPByDstClientIdAndVolNameHandler()";
    QueryRPByDstClientIdAndVolNameArgs_t args;
    QueryRPByDstClientIdAndVolNameRet_t ret;
    const auto operation = [&]() { return QueryRPByDstClientIdAndVolName(args, ret, nullptr); };
    if (requestCode == 0x35000248) {
        ReadVolumeRequest(cases::RequestOf<repGetRPsByClientIdAndVolNameV2Req>(buf), args);
        steps::AnswerListByHandler(*this, Fn, requestCode, ReplyCodeFor(requestCode), ret, ret.RPs,
                                   &repGetRPsByClientIdAndVolNameV2Resp::list, operation);
    } else {
        ReadVolumeRequest(cases::RequestOf<repGetRPsByClientIdAndVolNameReq>(buf), args);
        steps::AnswerListByHandler(*this, Fn, requestCode, ReplyCodeFor(requestCode), ret, ret.RPs,
                                   &repGetRPsByClientIdAndVolNameResp::list, operation);
    }
}

void ReplicationMgr::QueryRPsByDstClientId(zxsDatabuf* buf, unsigned long requestCode)
{
    QueryRPsByDstClientIdArgs_t args;
    QueryRPsByDstClientIdRet_t ret;
    args.DstClientId = cases::RequestOf<repGetRPsByDstClientIdReq>(buf).DstClientId;
    steps::AnswerListByHandler(*this, "ReplicationMgr::QueryRPsByDstClientId()", requestCode, ReplyCodeFor(requestCode),
                               ret, ret.RPs, &repGetRPsByDstClientIdResp::list,
                               [&]() { return DbQueryRPsByDstClientId(args, ret, nullptr); });
}

void ReplicationMgr::QueryFanInRPDetailsHandler(zxsDatabuf* buf)
{
    QueryFanInDetailInfoByRPIdArgs_t args;
    QueryFanInDetailInfoByRPIdRet_t ret;
    args.RPId = cases::RequestOf<repGetFanInDetailInfoByRPIdReq>(buf).RPId;
    steps::AnswerListByHandler(*this, "ReplicationMgr::QueryFanInRPDetailsHandler()", 0x3500022a,
                               ReplyCodeFor(0x3500022a), ret, ret.Details, &repGetFanInDetailInfoByRPIdResp::list,
                               [&]() { return QueryFanInRPDetails(args, ret, nullptr); });
}

void ReplicationMgr::QueryFLRSnapBySnapIdHandler(zxsDatabuf* buf)
{
    const unsigned long code = 0x3500022c;
    QueryFLRSnapBySnapIdArgs_t args;
    QueryFLRSnapBySnapIdRet_t ret;
    args.SnapshotId = cases::RequestOf<repQueryFLRSnapBySnapIdReq>(buf).SnapshotId;
    AnswerByHandler<repQueryFLRSnapBySnapIdResp>(
        *this, "ReplicationMgr::QueryFLRSnapBySnapIdHandler()", code, ReplyCodeFor(code), false, ret,
        [&](DBtran*) { return QueryFLRSnapBySnapId(args, ret, nullptr); },
        [&](repQueryFLRSnapBySnapIdResp& r) { YBSet(r.Snapshot, ret.Snapshot); });
}

// The completion entry goes on with the point's Flags in the result and in
// the reply.
void ReplicationMgr::QueryCPByIdHandler(zxsDatabuf* buf)
{
    const unsigned long code = 0x3500024a;
    QueryCPByIdArgs_t args;
    QueryCPByIdRet_t ret;
    args.CPId = cases::RequestOf<repQueryCPByIdReq>(buf).CPId;
    repQueryCPByIdResp reply;
    std::memset(static_cast<void*>(&reply), 0, sizeof reply);
    cases::CaseLog lit = cases::HandlerLog(code, ReplyCodeFor(code));
    const std::string sending = lit.sending;
    const auto flagLines = [&](int32_t replyFlags) {
        lit.sending = sending + "\n\tRet.CP.flag :" + std::to_string(ret.CP.Flags) + "\n\toQueryResp.CP.flag :" +
                      std::to_string(replyFlags);
    };
    flagLines(0);
    RunInlineCase(
        *this, ReplyCodeFor(code), reply, cases::StatusOf<repQueryCPByIdResp>(), ret, lit,
        cases::Message::PointIntoResult,
        [&]() {
            const bool found = QueryCPById(args, ret, nullptr);
            flagLines(found ? ret.CP.Flags : 0);
            return found;
        },
        [&](repQueryCPByIdResp& r) { YBSet(r.CP, ret.CP); });
}

// ---- Request cases -----------------------------------------------------------------

namespace {

// The points of a client for an application type, each sent as a version-1 point.
void ServeQueryCPsByClientIdAndAppType(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    const auto& request = cases::RequestOf<repQueryFLRCPsByClientIdAndAppTypeReq>(buf);
    QueryFLRCPsByClientIdAndAppTypeV1Args_t args;
    QueryFLRCPsByClientIdAndAppTypeRet_t ret;
    args.ClientId = request.ClientId;
    args.AppType = request.AppType;
    steps::AnswerListInline(mgr, code, ret, ret.CPs, &repQueryFLRCPsByClientIdAndAppTypeResp::CPs,
                                [&]() { return mgr.QueryCPsByClientIdAndAppType(args, ret, nullptr); });
}

void ServeQueryRPByDstClientIdAndVolName(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    mgr.QueryRPByDstClientIdAndVolNameHandler(buf, code);
}

void ServeQueryRPsByDstClientId(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    mgr.QueryRPsByDstClientId(buf, code);
}

template <void (ReplicationMgr::*Handler)(zxsDatabuf*)>
void ServePlainHandler(ReplicationMgr& mgr, unsigned long, zxsDatabuf* buf)
{
    (mgr.*Handler)(buf);
}

}  // namespace

const ServedCase QueryCPsByClientIdAndAppTypeCase =
    cases::Serve<repQueryFLRCPsByClientIdAndAppTypeReq, repQueryFLRCPsByClientIdAndAppTypeResp>(
        &ServeQueryCPsByClientIdAndAppType);
// Both versions answer with the same fields; the request code picks the layouts.
const ServedCase QueryRPByDstClientIdAndVolNameCase =
    cases::Serve<repGetRPsByClientIdAndVolNameV2Req, repGetRPsByClientIdAndVolNameV2Resp>(
        &ServeQueryRPByDstClientIdAndVolName);
const ServedCase QueryRPsByDstClientIdCase =
    cases::Serve<repGetRPsByDstClientIdReq, repGetRPsByDstClientIdResp>(&ServeQueryRPsByDstClientId);
const ServedCase QueryFanInRPDetailsCase = cases::Serve<repGetFanInDetailInfoByRPIdReq, repGetFanInDetailInfoByRPIdResp>(
    &ServePlainHandler<&ReplicationMgr::QueryFanInRPDetailsHandler>);
const ServedCase QueryFLRSnapBySnapIdCase = cases::Serve<repQueryFLRSnapBySnapIdReq, repQueryFLRSnapBySnapIdResp>(
    &ServePlainHandler<&ReplicationMgr::QueryFLRSnapBySnapIdHandler>);
const ServedCase QueryCPByIdCase =
    cases::Serve<repQueryCPByIdReq, repQueryCPByIdResp>(&ServePlainHandler<&ReplicationMgr::QueryCPByIdHandler>);
