// One SNR volume with the replication volumes related to it, chosen by the
// selection flags, and the scratch volume lying on it, in five message
// versions: the standard way for other operations to learn which replicas
// use a volume. It only reads, takes no table lock and runs in the caller's
// transaction (V5) or none.
#include "snr/SNRVolumeReplicas.h"

#include <cstring>
#include <string>
#include <type_traits>

#include "host/db/DBtable.h"
#include "host/db/ReplicaTables.h"
#include "host/db/SNRTables.h"
#include "service/ErrorCodes.h"
#include "service/HeldRows.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/ReplyArray.h"
#include "service/SourceNames.h"
#include "snr/DeviceRegistrationSteps.h"
#include "snr/SNRCases.h"

namespace {

const char QuerySNRVolume2DBFn[] = "ReplicationMgr::QuerySNRVolume2DB()";
const char ReplicaOrder[] = "CreationTime DESC";
const char ScratchOrder[] = "id ASC";

// The where clause of the selection flags: the first volume term of 0x1, 0x2
// and 0x10, then the creation-time and the role term. Empty when the flags
// name none of them.
std::string ReplicaSelection(const QuerySNRVolume2ByIdArgs_t& args)
{
    const std::string id = std::to_string(args.snrVolumeId);
    std::string where;
    auto add = [&where](const std::string& term) { where += (where.empty() ? "" : " AND ") + term; };
    if (args.flags & SNRVOL2_ON_VOLUME)
        add("PhysicalVolumeId = " + id);
    else if (args.flags & SNRVOL2_OF_PRIMARY)
        add("PrimaryVolumeId = " + id);
    else if (args.flags & SNRVOL2_OF_SNAPSHOT)
        add("SnapVolumeId = " + id);
    if ((args.flags & SNRVOL2_CREATED_BEFORE) && args.creationTime != 0)
        add("CreationTime < " + std::to_string(args.creationTime));
    if (args.flags & SNRVOL2_IN_ROLE) add("CurrentRole = " + std::to_string(args.role));
    return where;
}

}  // namespace

template <typename Args, typename Ret>
bool ReplicationMgr::QuerySNRVolume2DB(const Args& args, Ret& ret, DBtran* tran)
{
    const int volumeId = args.snrVolumeId;

    if (volumeId < 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Invalid Volume Id",
                           "\n\tParameters used:\n\tSNR Volume Id = " + std::to_string(volumeId), ProgNameQueries,
                           QuerySNRVolume2DBFn, __LINE__);

    CSNRVolumeDB volumeDB;
    YBPhysicalVolume_t volumeRow;
    std::memset(static_cast<void*>(&volumeRow), 0, sizeof volumeRow);
    if (!volumeDB.getInfo(volumeId, volumeRow, tran)) {
        const int code = volumeDB.getErrorCode();
        const bool none = code == DB_NO_MORE_ROWS;
        return steps::Fail(*this, ret, none ? kErrNotFound : kErrDatabase,
                           none ? "Record not found" : "Could not get volume information from the database",
                           "\n\tCSNRVolumeDB::getInfo() failed\n\tParameters used:\n\tSNR Volume id = " +
                               std::to_string(volumeId) + "\n\tDB Err Code = " + std::to_string(code),
                           ProgNameQueries, QuerySNRVolume2DBFn, __LINE__);
    }
    YBSet(ret.volume, volumeRow);

    ret.replicationVolumes.clear();
    if (args.flags != 0) {
        const std::string where = ReplicaSelection(args);
        CReplicationVolumeDB replicaDB;
        steps::HeldRows<YBVolume_t> replicas(replicaDB);
        if (!replicaDB.getList(replicas.rows, replicas.count, where.c_str(), ReplicaOrder, tran))
            return steps::Fail(*this, ret, kErrDatabase, "Could not get YB volume information from the database",
                               "\n\tCReplicationVolumeDB::getList() failed\n\tParameters used:\n\tsWhere = " + where +
                                   "\n\tsOrderBy = " + ReplicaOrder,
                               ProgNameQueries, QuerySNRVolume2DBFn, __LINE__);
        for (unsigned int i = 0; i < replicas.count; ++i) YBSet(ret.replicationVolumes, replicas.rows[i]);
    }

    const std::string onVolume = "PhysicalVolumeId = " + std::to_string(volumeId);
    CRVScratchVolumeDB scratchDB;
    steps::HeldRows<YBScratchVolume_t> scratch(scratchDB);
    if (!scratchDB.getList(scratch.rows, scratch.count, onVolume.c_str(), ScratchOrder, tran)) {
        const int code = scratchDB.getErrorCode();
        const bool none = code == DB_NO_MORE_ROWS;
        return steps::Fail(*this, ret, none ? kErrNotFound : kErrDatabase,
                           none ? "Record not found" : "Could not get scratch volume information from the database",
                           "\n\tCRVScratchVolumeDB::getList() failed\n\tParameters used:\n\tsWhere = " + onVolume +
                               "\n\tsOrderBy = " + ScratchOrder + "\n\tDB Err Code = " + std::to_string(code),
                           ProgNameQueries, QuerySNRVolume2DBFn, __LINE__);
    }
    ret.scratchVolume = typename Ret::ScratchRecord();
    if (scratch.count == 0) {
        ret.scratchVolume.id = -1;
    } else {
        // The reply has room for one: the lowest id, the others named in a warning.
        YBSet(ret.scratchVolume, scratch.rows[0]);
        if (scratch.count > 1)
            steps::Warn(*this,
                        "More than one scratch volume lies on the SNR volume; the one with the lowest id is reported",
                        "\n\tParameters used:\n\tSNR Volume id = " + std::to_string(volumeId) + "\n\tFound    = " +
                            std::to_string(scratch.count) + "\n\tReported = " + std::to_string(scratch.rows[0].id),
                        ProgNameQueries, QuerySNRVolume2DBFn, __LINE__);
    }

    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::QuerySNRVolume2(const QuerySNRVolume2ByIdArgs_t& args, QuerySNRVolume2ByIdRet_t& ret)
{
    return QuerySNRVolume2DB(args, ret, nullptr);
}
bool ReplicationMgr::QuerySNRVolume2(const QuerySNRVolume2ById42Args_t& args, QuerySNRVolume2ById42Ret_t& ret)
{
    return QuerySNRVolume2DB(args, ret, nullptr);
}
bool ReplicationMgr::QuerySNRVolume2(const QuerySNRVolume2ByIdV3Args_t& args, QuerySNRVolume2ByIdV3Ret_t& ret)
{
    return QuerySNRVolume2DB(args, ret, nullptr);
}
bool ReplicationMgr::QuerySNRVolume2(const QuerySNRVolume2ByIdV4Args_t& args, QuerySNRVolume2ByIdV4Ret_t& ret)
{
    return QuerySNRVolume2DB(args, ret, nullptr);
}
bool ReplicationMgr::QuerySNRVolume2(const QuerySNRVolume2ByIdV5Args_t& args, QuerySNRVolume2ByIdV5Ret_t& ret,
                                     DBtran* tran)
{
    return QuerySNRVolume2DB(args, ret, tran);
}

// ---- Request handler -------------------------------------------------------------

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::QuerySNRVolume2Handler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    const Req& request = cases::RequestOf<Req>(buf);
    args.snrVolumeId = request.snrVolumeId;
    args.flags = request.flags;
    args.creationTime = request.creationTime;
    args.role = request.role;
    AutoFreeMem_t replicas;  // freed after the send

    // Only the V5 entry point takes a transaction; the handler gives none.
    auto query = [&]() {
        if constexpr (std::is_same<Args, QuerySNRVolume2ByIdV5Args_t>::value)
            return QuerySNRVolume2(args, ret, nullptr);
        else
            return QuerySNRVolume2(args, ret);
    };
    // The records' texts point into the result, which outlives the send.
    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::QuerySNRVolume2Handler()", requestCode, replyCode, false, ret,
        [&](DBtran*) { return query(); },
        [&](Reply& r) {
            YBSet(r.volume, ret.volume);
            snr_detail::SetOrInvalidate(r.scratchVolume, ret.scratchVolume);
            return steps::CopyListToReply(replicas, r.replicationVolumes, r.replicationVolumeCount,
                                          ret.replicationVolumes);
        });
}

// ---- Request cases, one per message version ---------------------------------

const ServedCase QuerySNRVolume2CaseV1 =
    SERVE_HANDLER_CASE(QuerySNRVolume2Handler, repQuerySNRVolume2ByIdReq, repQuerySNRVolume2ByIdResp,
                       QuerySNRVolume2ByIdArgs_t, QuerySNRVolume2ByIdRet_t);
const ServedCase QuerySNRVolume2Case42 =
    SERVE_HANDLER_CASE(QuerySNRVolume2Handler, repQuerySNRVolume2ById42Req, repQuerySNRVolume2ById42Resp,
                       QuerySNRVolume2ById42Args_t, QuerySNRVolume2ById42Ret_t);
const ServedCase QuerySNRVolume2CaseV3 =
    SERVE_HANDLER_CASE(QuerySNRVolume2Handler, repQuerySNRVolume2ByIdV3Req, repQuerySNRVolume2ByIdV3Resp,
                       QuerySNRVolume2ByIdV3Args_t, QuerySNRVolume2ByIdV3Ret_t);
const ServedCase QuerySNRVolume2CaseV4 =
    SERVE_HANDLER_CASE(QuerySNRVolume2Handler, repQuerySNRVolume2ByIdV4Req, repQuerySNRVolume2ByIdV4Resp,
                       QuerySNRVolume2ByIdV4Args_t, QuerySNRVolume2ByIdV4Ret_t);
const ServedCase QuerySNRVolume2CaseV5 =
    SERVE_HANDLER_CASE(QuerySNRVolume2Handler, repQuerySNRVolume2ByIdV5Req, repQuerySNRVolume2ByIdV5Resp,
                       QuerySNRVolume2ByIdV5Args_t, QuerySNRVolume2ByIdV5Ret_t);
