// The replication volume queries: one volume by id, the list of all volumes,
// the volumes of a job and the volumes on the SNR volumes of a unique
// snapshot id, each through one request handler for its message versions,
// and the volumes of a subclient through an inline case.
#include "replicas/ReplicaVolumeQueries.h"

#include <string>
#include <type_traits>

#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "host/db/JobHistoryTable.h"
#include "host/db/ReplicaTables.h"
#include "host/db/SNRTables.h"
#include "replicas/ReplicaCases.h"
#include "rows/Db/Cursor/YBGetYBVolList.h"
#include "rows/Db/Cursor/YBGetYBVolumesBySubclientId.h"
#include "service/CasePatterns.h"
#include "service/CursorRows.h"
#include "service/ErrorCodes.h"
#include "service/HeldRows.h"
#include "service/RecordConversion.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/ReplyArray.h"
#include "service/SourceNames.h"
#include "snr/SNRVolumeReplicas.h"

namespace {

const char ListFailedErrMsg[] = "Cannot get the list of YB volumes from the database";

// The SNR volumes whose unique snapshot id matches the LIKE pattern bound as
// ?1, written with LikeEscape before each character meant as itself.
const char UniqueIdEndClause[] = "UniqueSnapshotID LIKE ?1 ESCAPE '\\'";
const char LikeEscape[] = "\\";

// The text as a LIKE pattern that matches that text alone: "%", "_" and the
// escape character each stand for themselves.
std::string LikeLiteral(const std::string& text)
{
    std::string pattern;
    pattern.reserve(text.size());
    for (char c : text) {
        if (c == '%' || c == '_' || c == LikeEscape[0]) pattern += LikeEscape[0];
        pattern += c;
    }
    return pattern;
}

// The SNR volume query with the replicas lying on a volume, of the version
// whose records the unique-snapshot query of the same record version carries.
bool QueryReplicasOn(ReplicationMgr& mgr, const QuerySNRVolume2ByIdV3Args_t& args, QuerySNRVolume2ByIdV3Ret_t& ret)
{
    return mgr.QuerySNRVolume2(args, ret);
}
bool QueryReplicasOn(ReplicationMgr& mgr, const QuerySNRVolume2ByIdV4Args_t& args, QuerySNRVolume2ByIdV4Ret_t& ret)
{
    return mgr.QuerySNRVolume2(args, ret);
}
bool QueryReplicasOn(ReplicationMgr& mgr, const QuerySNRVolume2ByIdV5Args_t& args, QuerySNRVolume2ByIdV5Ret_t& ret)
{
    return mgr.QuerySNRVolume2(args, ret, nullptr);
}

}  // namespace

template <typename Args, typename Ret>
bool ReplicationMgr::QueryReplicationVolumeDB(const Args& args, Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::QueryReplicationVolumeDB()";
    const int id = args.id;

    if (id <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Invalid YB Volume identifier",
                           "\n\tParameters used:\n\tReplication Volume Id = " + std::to_string(id), ProgNameQueries, Fn,
                           __LINE__);

    CReplicationVolumeDB volumes;
    YBVolume_t row;
    if (!volumes.getInfo(id, row, tran)) {
        const bool missing = volumes.getErrorCode() == DB_NO_MORE_ROWS;
        return steps::Fail(
            *this, ret, missing ? kErrNotFound : kErrDatabase,
            missing ? "Record not found" : "Cannot access YB Volume information from the database",
            "\n\tCReplicationVolumeDB::getInfo() failed\n\tParameters used:\n\tReplication Volume id = " +
                std::to_string(id),
            ProgNameQueries, Fn, __LINE__);
    }
    YBSet(ret.record, row);
    ret.errMsg = "";
    return true;
}

template <typename Ret>
bool ReplicationMgr::GetReplicationVolumeListDB(Ret& ret)
{
    static const char Fn[] = "ReplicationMgr::GetReplicationVolumeListDB()";

    ret.volumes.clear();
    YBGetYBVolList cursor(nullptr);
    const int rc = steps::ReadAllRows(cursor, ret.volumes);
    if (rc != DB_NO_MORE_ROWS)
        return steps::Fail(*this, ret, kErrDatabase, ListFailedErrMsg,
                           "\n\tgetNextRow(YBGetYBVolList &) failed\n\tDB Err Code = " + std::to_string(rc),
                           ProgNameGetLists, Fn, __LINE__);
    ret.errMsg = "";
    return true;
}

template <typename Args, typename Ret>
bool ReplicationMgr::QueryReplicationVolumeByJobIdDB(const Args& args, Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::QueryReplicationVolumeByJobIdDB()";
    static const char OrderBy[] = "id ASC";
    const long long jobId = args.jobId;

    ret.volumes.clear();
    if (jobId <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Invalid Job identifier",
                           "\n\tParameters used:\n\tJobId = " + std::to_string(jobId), ProgNameQueries, Fn, __LINE__);

    int high = 0;
    int low = 0;
    dLongToLongDB(jobId, high, low);
    const std::string where = "JobId = " + std::to_string(low);
    CReplicationVolumeDB volumes;
    steps::HeldRows<YBVolume_t> list(volumes);
    if (!volumes.getList(list.rows, list.count, where.c_str(), OrderBy, tran))
        return steps::Fail(*this, ret, kErrDatabase, ListFailedErrMsg,
                           "\n\tCReplicationVolumeDB::getList() failed\n\tParameters used:\n\tsWhere = " + where +
                               "\n\tsOrderBy = " + OrderBy,
                           ProgNameQueries, Fn, __LINE__);

    for (unsigned int i = 0; i < list.count; ++i) YBSet(ret.volumes, list.rows[i]);
    ret.errMsg = "";
    return true;
}

template <typename Args, typename Ret, typename SNRArgs, typename SNRRet>
bool ReplicationMgr::QueryReplicationVolumeByUniqueSnapIdDB(const Args& args, Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::QueryReplicationVolumeByUniqueSnapIdDB()";
    static const char OrderBy[] = "id ASC";
    const std::string& uniqueId = args.uniqueSnapshotId;

    ret.volumes.clear();
    if (uniqueId.empty())
        return steps::Fail(*this, ret, kErrMissingInput, "Unique Snapshot ID is missing", "", ProgNameQueries, Fn,
                           __LINE__);

    // The id is matched as the end of the column's text, each of its
    // characters as itself.
    const std::string pattern = "%" + LikeLiteral(uniqueId);
    const std::string where = "UniqueSnapshotID LIKE '" + pattern + "' ESCAPE '" + LikeEscape + "'";
    CSNRVolumeDB snrVolumes;
    steps::HeldRows<YBPhysicalVolume_t> list(snrVolumes);
    if (!snrVolumes.getList(list.rows, list.count, UniqueIdEndClause,
                            {DBArgument{DBArgument::TEXT, 0, 0.0, pattern}}, OrderBy, tran))
        return steps::Fail(*this, ret, kErrDatabase, "Could not check volume information",
                           "\n\tCSNRVolumeDB::getList() failed\n\tInput\n\tsWhere = " + EvDebug::escaped(where) +
                               "\n\tsOrderBy = " + OrderBy +
                               "\n\tDB err Code = " + std::to_string(snrVolumes.getErrorCode()),
                           ProgNameQueries, Fn, __LINE__);
    if (list.count == 0)
        return steps::Fail(*this, ret, kErrNotFound, "UniqueSnapshotID not found in the database",
                           "\n\tsWhere = " + EvDebug::escaped(where) + "\n\tNRows  = 0", ProgNameQueries, Fn, __LINE__);

    for (unsigned int i = 0; i < list.count; ++i) {
        const int snrVolumeId = list.rows[i].id;
        m_LogMsg << "\tFound Volume ID " << snrVolumeId << " for UniqueSnapshotID: " << EvDebug::escaped(uniqueId);
        WriteLogMsg(ProgNameQueries, Fn, __LINE__, INFO);

        SNRArgs snrArgs;
        snrArgs.snrVolumeId = snrVolumeId;
        snrArgs.flags = SNRVOL2_ON_VOLUME;
        SNRRet snrRet;
        snrRet.replicationVolumes.clear();
        if (!QueryReplicasOn(*this, snrArgs, snrRet)) {
            ret.volumes.clear();
            ret.errCode = snrRet.errCode;
            ret.errMsg = snrRet.errMsg;
            return false;
        }
        for (auto& volume : snrRet.replicationVolumes) ret.volumes.push_back(std::move(volume));
    }
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::QueryYBVolumes(const QueryYBVolumeBySubclientIdArgs_t& args, QueryYBVolumeBySubclientIdRet_t& ret,
                                    DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::QueryYBVolumes()";
    const int subclientId = args.subclientId;

    ret.volumes.clear();
    if (subclientId <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Cannot get YB Volumes with an invalid subclient id",
                           "\n\tSubclient Id  = " + std::to_string(subclientId), ProgNameQueries, Fn, __LINE__);

    YBGetYBVolumesBySubclientId cursor(tran);
    cursor.setValues(subclientId);
    const int rc = steps::ReadAllRows(cursor, ret.volumes);
    if (rc != DB_NO_MORE_ROWS)
        return steps::Fail(*this, ret, kErrDatabase, "Could not get YB Volumes information from the database",
                           "\n\tgetNextRow(YBGetYBVolumesBySubclientId &) failed\n\tParameters used:"
                           "\n\tSubclientId = " +
                               std::to_string(subclientId) + "\n\tDB Err Code = " + std::to_string(rc),
                           ProgNameQueries, Fn, __LINE__);
    ret.errMsg = "";
    return true;
}

// ---- Per-version entry points ------------------------------------------------------

bool ReplicationMgr::QueryReplicationVolume(const QueryReplicationVolumeByIdArgs_t& args,
                                            QueryReplicationVolumeByIdRet_t& ret)
{
    return QueryReplicationVolumeDB(args, ret, nullptr);
}
bool ReplicationMgr::QueryReplicationVolume(const QueryReplicationVolume42ByIdArgs_t& args,
                                            QueryReplicationVolume42ByIdRet_t& ret)
{
    return QueryReplicationVolumeDB(args, ret, nullptr);
}
bool ReplicationMgr::QueryReplicationVolume(const QueryReplicationVolumeByIdV3Args_t& args,
                                            QueryReplicationVolumeByIdV3Ret_t& ret, DBtran* tran)
{
    return QueryReplicationVolumeDB(args, ret, tran);
}
bool ReplicationMgr::QueryReplicationVolume(const QueryReplicationVolumeByIdV4Args_t& args,
                                            QueryReplicationVolumeByIdV4Ret_t& ret, DBtran* tran)
{
    return QueryReplicationVolumeDB(args, ret, tran);
}
bool ReplicationMgr::QueryReplicationVolume(const QueryReplicationVolumeByIdV5Args_t& args,
                                            QueryReplicationVolumeByIdV5Ret_t& ret, DBtran* tran)
{
    return QueryReplicationVolumeDB(args, ret, tran);
}

bool ReplicationMgr::GetReplicationVolumeList(GetReplicationVolumeListRet_t& ret) { return GetReplicationVolumeListDB(ret); }
bool ReplicationMgr::GetReplicationVolumeList(GetReplicationVolumeList42Ret_t& ret)
{
    return GetReplicationVolumeListDB(ret);
}
bool ReplicationMgr::GetReplicationVolumeList(GetReplicationVolumeListV3Ret_t& ret)
{
    return GetReplicationVolumeListDB(ret);
}
bool ReplicationMgr::GetReplicationVolumeList(GetReplicationVolumeListV4Ret_t& ret)
{
    return GetReplicationVolumeListDB(ret);
}
bool ReplicationMgr::GetReplicationVolumeList(GetReplicationVolumeListV5Ret_t& ret)
{
    return GetReplicationVolumeListDB(ret);
}

bool ReplicationMgr::QueryReplicationVolumeByJobId(const QueryReplicationVolumeByJobIdArgs_t& args,
                                                   QueryReplicationVolumeByJobIdRet_t& ret)
{
    return QueryReplicationVolumeByJobIdDB(args, ret, nullptr);
}
bool ReplicationMgr::QueryReplicationVolumeByJobId(const QueryReplicationVolumeByJobIdV2Args_t& args,
                                                   QueryReplicationVolumeByJobIdV2Ret_t& ret, DBtran* tran)
{
    return QueryReplicationVolumeByJobIdDB(args, ret, tran);
}
bool ReplicationMgr::QueryReplicationVolumeByJobId(const QueryReplicationVolumeByJobIdV3Args_t& args,
                                                   QueryReplicationVolumeByJobIdV3Ret_t& ret, DBtran* tran)
{
    return QueryReplicationVolumeByJobIdDB(args, ret, tran);
}
bool ReplicationMgr::QueryReplicationVolumeByJobId(const QueryReplicationVolumeByJobIdV4Args_t& args,
                                                   QueryReplicationVolumeByJobIdV4Ret_t& ret, DBtran* tran)
{
    return QueryReplicationVolumeByJobIdDB(args, ret, tran);
}

bool ReplicationMgr::QueryReplicationVolumeByUniqueSnapId(const QueryYBVolByUniqueSnapIdArgs_t& args,
                                                          QueryYBVolByUniqueSnapIdRet_t& ret)
{
    return QueryReplicationVolumeByUniqueSnapIdDB<QueryYBVolByUniqueSnapIdArgs_t, QueryYBVolByUniqueSnapIdRet_t,
                                                  QuerySNRVolume2ByIdV3Args_t, QuerySNRVolume2ByIdV3Ret_t>(args, ret,
                                                                                                           nullptr);
}
bool ReplicationMgr::QueryReplicationVolumeByUniqueSnapId(const QueryYBVolByUniqueSnapIdV2Args_t& args,
                                                          QueryYBVolByUniqueSnapIdV2Ret_t& ret)
{
    return QueryReplicationVolumeByUniqueSnapIdDB<QueryYBVolByUniqueSnapIdV2Args_t, QueryYBVolByUniqueSnapIdV2Ret_t,
                                                  QuerySNRVolume2ByIdV4Args_t, QuerySNRVolume2ByIdV4Ret_t>(args, ret,
                                                                                                           nullptr);
}
bool ReplicationMgr::QueryReplicationVolumeByUniqueSnapId(const QueryYBVolByUniqueSnapIdV3Args_t& args,
                                                          QueryYBVolByUniqueSnapIdV3Ret_t& ret)
{
    return QueryReplicationVolumeByUniqueSnapIdDB<QueryYBVolByUniqueSnapIdV3Args_t, QueryYBVolByUniqueSnapIdV3Ret_t,
                                                  QuerySNRVolume2ByIdV5Args_t, QuerySNRVolume2ByIdV5Ret_t>(args, ret,
                                                                                                           nullptr);
}

// ---- Request handlers ----------------------------------------------------------------

namespace {

// V1 and 42 read without a transaction argument, the later versions with a
// null one.
template <typename Args, typename Ret>
bool QueryById(ReplicationMgr& mgr, const Args& args, Ret& ret)
{
    if constexpr (cases::HasErrCode<Ret>::value)
        return mgr.QueryReplicationVolume(args, ret, nullptr);
    else
        return mgr.QueryReplicationVolume(args, ret);
}

template <typename Args, typename Ret>
bool QueryByJob(ReplicationMgr& mgr, const Args& args, Ret& ret)
{
    if constexpr (cases::HasErrCode<Ret>::value)
        return mgr.QueryReplicationVolumeByJobId(args, ret, nullptr);
    else
        return mgr.QueryReplicationVolumeByJobId(args, ret);
}

}  // namespace

// The record's texts point into the result, which outlives the send.
template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::QueryReplicationVolumeHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    args.id = cases::RequestOf<Req>(buf).id;
    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::QueryReplicationVolumeHandler()", requestCode, replyCode, false, ret,
        [&](DBtran*) { return QueryById(*this, args, ret); },
        [&](Reply& r) { YBSet(r.ReplicationVolume, ret.record); });
}

template <typename Reply, typename Ret>
void ReplicationMgr::GetReplicationVolumeListHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf*)
{
    Ret ret;
    steps::AnswerListByHandler(*this, "ReplicationMgr::GetReplicationVolumeListHandler()", requestCode, replyCode,
                               ret, ret.volumes, &Reply::volumes, [&] { return GetReplicationVolumeList(ret); });
}

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::QueryReplicationVolumeByJobIdHandler(unsigned long requestCode, unsigned long replyCode,
                                                          zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    args.jobId = cases::RequestOf<Req>(buf).jobId;
    steps::AnswerListByHandler(*this, "ReplicationMgr::QueryReplicationVolumeByJobIdDB()", requestCode, replyCode,
                               ret, ret.volumes, &Reply::volumes, [&] { return QueryByJob(*this, args, ret); });
}

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::QueryReplicationVolumeByUniqueSnapIdHandler(unsigned long requestCode, unsigned long replyCode,
                                                                 zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    args.uniqueSnapshotId = YBTextFromWire(cases::RequestOf<Req>(buf).uniqueSnapshotId);
    steps::AnswerListByHandler(*this, "ReplicationMgr::QueryReplicationVolumeByUniqueSnapIdHandler()", requestCode,
                               replyCode, ret, ret.volumes, &Reply::volumes,
                               [&] { return QueryReplicationVolumeByUniqueSnapId(args, ret); });
}

// ---- Request cases -----------------------------------------------------------------

namespace {

// The volumes of a subclient: the reply's array is one block of wire
// records, freed after the send.
void ServeQueryYBVolumes(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    QueryYBVolumeBySubclientIdArgs_t args;
    QueryYBVolumeBySubclientIdRet_t ret;
    args.subclientId = cases::RequestOf<repGetYBVolumesBySubclientIdReq>(buf).subclientId;
    AutoFreeMem_t owner;
    AnswerInlineCase<repGetYBVolumesBySubclientIdResp>(
        mgr, code, ret, cases::Message::PointIntoResult, [&]() { return mgr.QueryYBVolumes(args, ret, nullptr); },
        [&](repGetYBVolumesBySubclientIdResp& r) {
            return steps::CopyListToReply(owner, r.volumes, r.count, ret.volumes);
        });
}

}  // namespace

const ServedCase QueryReplicationVolumeCaseV1 =
    SERVE_HANDLER_CASE(QueryReplicationVolumeHandler, repQueryReplicationVolumeByIdReq,
                       repQueryReplicationVolumeByIdResp, QueryReplicationVolumeByIdArgs_t,
                       QueryReplicationVolumeByIdRet_t);
const ServedCase QueryReplicationVolumeCase42 =
    SERVE_HANDLER_CASE(QueryReplicationVolumeHandler, repQueryReplicationVol42ByIdReq, repQueryReplicationVol42ByIdResp,
                       QueryReplicationVolume42ByIdArgs_t, QueryReplicationVolume42ByIdRet_t);
const ServedCase QueryReplicationVolumeCaseV3 =
    SERVE_HANDLER_CASE(QueryReplicationVolumeHandler, repQueryReplicationVolV3ByIdReq, repQueryReplicationVolV3ByIdResp,
                       QueryReplicationVolumeByIdV3Args_t, QueryReplicationVolumeByIdV3Ret_t);
const ServedCase QueryReplicationVolumeCaseV4 =
    SERVE_HANDLER_CASE(QueryReplicationVolumeHandler, repQueryReplicationVolV4ByIdReq, repQueryReplicationVolV4ByIdResp,
                       QueryReplicationVolumeByIdV4Args_t, QueryReplicationVolumeByIdV4Ret_t);
const ServedCase QueryReplicationVolumeCaseV5 =
    SERVE_HANDLER_CASE(QueryReplicationVolumeHandler, repQueryReplicationVolV5ByIdReq, repQueryReplicationVolV5ByIdResp,
                       QueryReplicationVolumeByIdV5Args_t, QueryReplicationVolumeByIdV5Ret_t);
const ServedCase GetReplicationVolumeListCaseV1 =
    SERVE_LIST_HANDLER_CASE(GetReplicationVolumeListHandler, repGetReplicationVolumeListResp,
                            GetReplicationVolumeListRet_t);
const ServedCase GetReplicationVolumeListCase42 =
    SERVE_LIST_HANDLER_CASE(GetReplicationVolumeListHandler, repGetReplicationVolumeList42Resp,
                            GetReplicationVolumeList42Ret_t);
const ServedCase GetReplicationVolumeListCaseV3 =
    SERVE_LIST_HANDLER_CASE(GetReplicationVolumeListHandler, repGetReplicationVolumeListV3Resp,
                            GetReplicationVolumeListV3Ret_t);
const ServedCase GetReplicationVolumeListCaseV4 =
    SERVE_LIST_HANDLER_CASE(GetReplicationVolumeListHandler, repGetReplicationVolumeListV4Resp,
                            GetReplicationVolumeListV4Ret_t);
const ServedCase GetReplicationVolumeListCaseV5 =
    SERVE_LIST_HANDLER_CASE(GetReplicationVolumeListHandler, repGetReplicationVolumeListV5Resp,
                            GetReplicationVolumeListV5Ret_t);
const ServedCase QueryReplicationVolumeByJobIdCaseV1 =
    SERVE_HANDLER_CASE(QueryReplicationVolumeByJobIdHandler, repQueryReplicaVolumeByJobIdReq,
                       repQueryReplicaVolumeByJobIdResp, QueryReplicationVolumeByJobIdArgs_t,
                       QueryReplicationVolumeByJobIdRet_t);
const ServedCase QueryReplicationVolumeByJobIdCaseV2 =
    SERVE_HANDLER_CASE(QueryReplicationVolumeByJobIdHandler, repQueryReplicaVolumeV2ByJobIdReq,
                       repQueryReplicaVolumeV2ByJobIdResp, QueryReplicationVolumeByJobIdV2Args_t,
                       QueryReplicationVolumeByJobIdV2Ret_t);
const ServedCase QueryReplicationVolumeByJobIdCaseV3 =
    SERVE_HANDLER_CASE(QueryReplicationVolumeByJobIdHandler, repQueryReplicaVolumeV3ByJobIdReq,
                       repQueryReplicaVolumeV3ByJobIdResp, QueryReplicationVolumeByJobIdV3Args_t,
                       QueryReplicationVolumeByJobIdV3Ret_t);
const ServedCase QueryReplicationVolumeByJobIdCaseV4 =
    SERVE_HANDLER_CASE(QueryReplicationVolumeByJobIdHandler, repQueryReplicaVolumeV4ByJobIdReq,
                       repQueryReplicaVolumeV4ByJobIdResp, QueryReplicationVolumeByJobIdV4Args_t,
                       QueryReplicationVolumeByJobIdV4Ret_t);
const ServedCase QueryReplicationVolumeByUniqueSnapIdCaseV1 =
    SERVE_HANDLER_CASE(QueryReplicationVolumeByUniqueSnapIdHandler, repQueryYBVolByUniqueSnapshotIdReq,
                       repQueryYBVolByUniqueSnapshotIdResp, QueryYBVolByUniqueSnapIdArgs_t,
                       QueryYBVolByUniqueSnapIdRet_t);
const ServedCase QueryReplicationVolumeByUniqueSnapIdCaseV2 =
    SERVE_HANDLER_CASE(QueryReplicationVolumeByUniqueSnapIdHandler, repQueryYBVolByUniqueSnapshotIdV2Req,
                       repQueryYBVolByUniqueSnapshotIdV2Resp, QueryYBVolByUniqueSnapIdV2Args_t,
                       QueryYBVolByUniqueSnapIdV2Ret_t);
const ServedCase QueryReplicationVolumeByUniqueSnapIdCaseV3 =
    SERVE_HANDLER_CASE(QueryReplicationVolumeByUniqueSnapIdHandler, repQueryYBVolByUniqueSnapshotIdV3Req,
                       repQueryYBVolByUniqueSnapshotIdV3Resp, QueryYBVolByUniqueSnapIdV3Args_t,
                       QueryYBVolByUniqueSnapIdV3Ret_t);
const ServedCase QueryYBVolumesCase =
    cases::Serve<repGetYBVolumesBySubclientIdReq, repGetYBVolumesBySubclientIdResp>(&ServeQueryYBVolumes);
