// The consistency point queries: the points of a replication set, a point by
// its id expanded into its snapshots and what hangs on them, and the point of
// a job expanded the same way; with their request cases.
#include <cstring>
#include <string>

#include "host/db/DBtable.h"
#include "host/db/FLRTables.h"
#include "flr/CPExpansion.h"
#include "flr/FLRCases.h"
#include "flr/FLRQueryMessages.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/HeldRows.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/ReplyArray.h"
#include "service/SourceNames.h"

using steps::Fail;

namespace {

const char CPListFailed[] = "Could not get list of FLR Consistency point records from the database";

}  // namespace

bool ReplicationMgr::QueryFLRConsistencyPointsByFLRSetId(const QueryFLRConsistencyPointsByFLRSetIdV1Args_t& args,
                                                         QueryFLRConsistencyPointsByFLRSetIdRet_t& ret, DBtran*)
{
    static const char Fn[] = "ReplicationMgr::QueryFLRConsistencyPointsByFLRSetId()";
    ret.CPs.clear();
    // Negative ids are read: they find nothing.
    if (args.FLRSetId == 0)
        return Fail(*this, ret, kErrInvalidId, "Invalid FLR set id [ FLRSetId == 0 ]", "", ProgNameQueries, Fn,
                    __LINE__);

    FLRConsistencyPointDB db;
    steps::HeldRows<YBFLRConsistencyPoint_t> rows(db);
    flr_detail::ListRead read{"FLRConsistencyPointDB", "FLRSetId = " + std::to_string(args.FLRSetId), "id ASC",
                              CPListFailed, "Could not find the FLR consistency point record(s) in the database"};
    read.logsCode = false;
    if (!flr_detail::ReadRows(*this, ret, {ProgNameQueries, Fn, ""}, read, db, rows, nullptr, __LINE__)) return false;
    for (unsigned int i = 0; i < rows.count; ++i) ret.CPs.push_back(flr_detail::ReportedCP(rows.rows[i], false, false));
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::QueryFLRSnapshotsByCPId(const QueryFLRSnapshotsByCPIdArgs_t& args,
                                             QueryFLRSnapshotsByCPIdRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::QueryFLRSnapshotsByCPId()";
    ret.clearLists();
    if (args.CPId < 1)
        return Fail(*this, ret, kErrInvalidId, "Cannot get FLR Snapshots with an invalid Consistency Point id",
                    "\n\tConsistency Point id: " + std::to_string(args.CPId), ProgNameQueries, Fn, __LINE__);

    // A point that is not there is a failed read too.
    FLRConsistencyPointDB db;
    YBFLRConsistencyPoint_t cp;
    if (!db.getInfo(args.CPId, cp, tran))
        return Fail(*this, ret, kErrDatabase, "Could not get the recovery point information from the database",
                    "\n\tFLRConsistencyPointDB::getInfo() failed\n\tParameters used:\n\tsId = " +
                        std::to_string(args.CPId) + "\n\tDB Err Code = " + std::to_string(db.getErrorCode()),
                    ProgNameQueries, Fn, __LINE__);
    return flr_detail::ExpandCP(*this, flr_detail::ExpandById, {ProgNameQueries, Fn, ""}, args.CPId, cp.CreationTime,
                                ret, tran);
}

bool ReplicationMgr::QueryFLRCPByJobId(const QueryFLRCPByJobIdV1Args_t& args, QueryFLRCPByJobIdRet_t& ret,
                                       DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::QueryFLRCPByJobId()";
    ret.clearLists();
    ret.CP = FLRConsistencyPointRecord_t();
    if (args.JobId < 1)
        return Fail(*this, ret, kErrInvalidId, "Cannot get FLR Consistency points with an invalid Job id",
                    "\n\tJob id: " + std::to_string(args.JobId), ProgNameQueries, Fn, __LINE__);

    const flr_detail::QueryLog log{ProgNameQueries, Fn, "\n\tJob Id = " + std::to_string(args.JobId)};
    FLRConsistencyPointDB db;
    steps::HeldRows<YBFLRConsistencyPoint_t> rows(db);
    const flr_detail::ListRead read{"FLRConsistencyPointDB", "JobId = " + std::to_string(args.JobId), "id ASC",
                                    CPListFailed, nullptr};
    if (!flr_detail::ReadRows(*this, ret, {ProgNameQueries, Fn, ""}, read, db, rows, tran, __LINE__)) return false;
    if (rows.count == 0) {
        m_LogMsg << "\tEvent: No consistency points were found\n\tsWhere = " << read.where;
        WriteLogMsg(ProgNameQueries, Fn, __LINE__, MSG);
        ret.errMsg = "";
        return true;
    }
    if (rows.count > 1)
        return Fail(*this, ret, kErrNotUnique, "Job id has multiple consistency points",
                    "\n\tsWhere = " + read.where + "\n\tNRows  = " + std::to_string(rows.count), ProgNameQueries, Fn,
                    __LINE__);

    ret.CP = flr_detail::ReportedCP(rows.rows[0], true, true);
    return flr_detail::ExpandCP(*this, flr_detail::ExpandFound, log, ret.CP.id,
                                static_cast<int32_t>(ret.CP.CreationTime), ret, tran);
}

// ---- Request handlers ----------------------------------------------------------

template <typename Req, typename Reply>
void ReplicationMgr::QueryFLRSnapshotsByCPIdHandler(unsigned long requestCode, unsigned long replyCode,
                                                    zxsDatabuf* buf)
{
    QueryFLRSnapshotsByCPIdArgs_t args;
    QueryFLRSnapshotsByCPIdRet_t ret;
    args.CPId = static_cast<int32_t>(cases::RequestOf<Req>(buf).CPId);

    flr_detail::ExpansionArrays arrays;  // freed after the send
    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::QueryFLRSnapshotsByCPIdHandler()", requestCode, replyCode, false, ret,
        [&](DBtran*) { return QueryFLRSnapshotsByCPId(args, ret, nullptr); },
        [&](Reply& r) { return arrays.fill(r.lists, ret); });
}

template <typename Req, typename Reply>
void ReplicationMgr::QueryFLRCPByJobIdHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    QueryFLRCPByJobIdV1Args_t args;
    QueryFLRCPByJobIdRet_t ret;
    args.JobId = cases::RequestOf<Req>(buf).JobId;

    flr_detail::ExpansionArrays arrays;  // freed after the send
    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::QueryFLRCPByJobIdHandler()", requestCode, replyCode, false, ret,
        [&](DBtran*) { return QueryFLRCPByJobId(args, ret, nullptr); },
        [&](Reply& r) { return arrays.fillWithCP(r, ret); });
}

// ---- Request cases ---------------------------------------------------------------

namespace {

// The points of a set, each sent as a version-1 point.
void ServeQueryFLRCPointsByFLRSetId(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    QueryFLRConsistencyPointsByFLRSetIdV1Args_t args;
    QueryFLRConsistencyPointsByFLRSetIdRet_t ret;
    args.FLRSetId = cases::RequestOf<repQueryFLRCPointsByFLRSetIdReq>(buf).FLRSetId;
    steps::AnswerListInline(mgr, code, ret, ret.CPs, &repQueryFLRCPointsByFLRSetIdResp::CPs,
                                [&]() { return mgr.QueryFLRConsistencyPointsByFLRSetId(args, ret, nullptr); });
}

}  // namespace

const ServedCase QueryFLRCPointsByFLRSetIdCase =
    cases::Serve<repQueryFLRCPointsByFLRSetIdReq, repQueryFLRCPointsByFLRSetIdResp>(&ServeQueryFLRCPointsByFLRSetId);
const ServedCase QueryFLRSnapshotsByCPIdCaseV1 =
    SERVE_HANDLER_CASE(QueryFLRSnapshotsByCPIdHandler, repQueryFLRSnapshotsByCPIdReq, repQueryFLRSnapshotsByCPIdResp);
const ServedCase QueryFLRSnapshotsByCPIdCaseV2 =
    SERVE_HANDLER_CASE(QueryFLRSnapshotsByCPIdHandler, repQueryFLRSnapshotsByCPIdReqV2,
                       repQueryFLRSnapshotsByCPIdRespV2);
const ServedCase QueryFLRCPByJobIdCaseV1 =
    SERVE_HANDLER_CASE(QueryFLRCPByJobIdHandler, repQueryFLRCPByJobIdReq, repQueryFLRCPByJobIdResp);
const ServedCase QueryFLRCPByJobIdCaseV2 =
    SERVE_HANDLER_CASE(QueryFLRCPByJobIdHandler, repQueryFLRCPByJobIdReqV2, repQueryFLRCPByJobIdRespV2);
const ServedCase QueryFLRCPByJobIdCaseV3 =
    SERVE_HANDLER_CASE(QueryFLRCPByJobIdHandler, repQueryFLRCPByJobIdReqV2, repQueryFLRCPByJobIdRespV3);
