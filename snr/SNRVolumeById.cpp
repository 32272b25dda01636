// One SNR volume by its id with the replication volume and the scratch volume
// lying on it, in five message versions; from V4 on only a replica of the
// given source volume counts. It only reads, under TMPSNRVOL_LOCK, in the
// caller's transaction or none.
#include "snr/SNRVolumeById.h"

#include <string>
#include <type_traits>

#include "host/db/DBtable.h"
#include "host/db/ReplicaTables.h"
#include "rows/Db/Cursor/YBGetSNRVolumeById.h"
#include "service/ErrorCodes.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/ResultCode.h"
#include "service/RowCounts.h"
#include "service/SourceNames.h"
#include "service/TableLock.h"
#include "snr/DeviceRegistrationSteps.h"
#include "snr/SNRAdapters.h"
#include "snr/SNRCases.h"

namespace {

const char QuerySNRVolumeDBFn[] = "ReplicationMgr::QuerySNRVolumeDB()";

}  // namespace

template <typename Args, typename Ret>
bool ReplicationMgr::QuerySNRVolumeDB(const Args& args, Ret& ret, DBtran* tran)
{
    const int volumeId = args.snrVolumeId;
    const int srcVolumeId = GetSrcVolId(args);

    LockTableRet_t lock;
    if (!LockTable(LockTableArgs_t(TMPSNRVOL_LOCK), lock)) {
        ret.errMsg = lock.m_sErrorMsg;
        SetErrCode(ret, lock.m_nErrorCode);
        return false;
    }
    HeldTableLock held(*this, lock);

    if (volumeId <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Invalid Volume id",
                           "\n\tParameters used:\n\tSNR Volume Id = " + std::to_string(volumeId), ProgNameQueries,
                           QuerySNRVolumeDBFn, __LINE__);

    const std::string parameters = "\n\tParameters used:\n\tSNR Volume id = " + std::to_string(volumeId) +
                                   "\n\tSrc Volume id = " + std::to_string(srcVolumeId);
    YBGetSNRVolumeById cursor(tran);
    cursor.setValues(volumeId, srcVolumeId);
    const int rc = getOneRow(&cursor, false, -1, 0);
    if (rc != DB_ROW_OK) {
        const bool none = rc == DB_NO_MORE_ROWS;
        return steps::Fail(
            *this, ret, none ? kErrNotFound : kErrDatabase,
            none ? "Record not found" : "Could not get volume information from the database",
            "\n\tgetOneRow(GetSNRVolumeById &) failed" + parameters + "\n\tDB Err Code = " + std::to_string(rc),
            ProgNameQueries, QuerySNRVolumeDBFn, __LINE__);
    }
    const YBGetSNRVolumeById_t& row = *cursor.getDataPtr();

    // The row carries the replication volume and the scratch volume with the
    // lowest id; where the catalogue holds more on the volume, the others
    // are left out with a warning.
    auto checkOne = [&](auto& table, const char* tableClass, const std::string& where, int reportedId,
                        const char* kind, long line) {
        if (reportedId == 0) return true;  // none lies on the volume
        unsigned int found = 0;
        if (!steps::CountRows(*this, ret, table, tableClass, where, found, tran,
                              "Could not get volume information from the database", ProgNameQueries, QuerySNRVolumeDBFn,
                              line))
            return false;
        if (found > 1)
            steps::Warn(
                *this,
                "More than one " + std::string(kind) +
                    " lies on the SNR volume; the one with the lowest id is reported",
                parameters + "\n\tFound    = " + std::to_string(found) + "\n\tReported = " + std::to_string(reportedId),
                ProgNameQueries, QuerySNRVolumeDBFn, line);
        return true;
    };
    const std::string onVolume = "PhysicalVolumeId = " + std::to_string(volumeId);
    const std::string ofSource =
        srcVolumeId != 0 ? onVolume + " AND PrimaryVolumeId = " + std::to_string(srcVolumeId) : onVolume;
    CReplicationVolumeDB replicaDB;
    CRVScratchVolumeDB scratchDB;
    if (!checkOne(replicaDB, "CReplicationVolumeDB", ofSource, row.YBid, "replication volume", __LINE__) ||
        !checkOne(scratchDB, "CRVScratchVolumeDB", onVolume, row.RVid, "scratch volume", __LINE__))
        return false;

    YBSet(ret.volume, row);
    ret.replicationVolume = typename Ret::ReplicaRecord();
    if (row.YBid != 0)
        YBSet(ret.replicationVolume, row);
    else
        ret.replicationVolume.id = -1;
    ret.scratchVolume = typename Ret::ScratchRecord();
    if (row.RVid != 0)
        YBSet(ret.scratchVolume, row);
    else
        ret.scratchVolume.id = -1;
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::QuerySNRVolume(const QuerySNRVolumeByIdArgs_t& args, QuerySNRVolumeByIdRet_t& ret)
{
    return QuerySNRVolumeDB(args, ret, nullptr);
}
bool ReplicationMgr::QuerySNRVolume(const QuerySNRVolumeById42Args_t& args, QuerySNRVolumeById42Ret_t& ret)
{
    return QuerySNRVolumeDB(args, ret, nullptr);
}
bool ReplicationMgr::QuerySNRVolume(const QuerySNRVolumeByIdV3Args_t& args, QuerySNRVolumeByIdV3Ret_t& ret,
                                    DBtran* tran)
{
    return QuerySNRVolumeDB(args, ret, tran);
}
bool ReplicationMgr::QuerySNRVolume(const QuerySNRVolumeByIdV4Args_t& args, QuerySNRVolumeByIdV4Ret_t& ret,
                                    DBtran* tran)
{
    return QuerySNRVolumeDB(args, ret, tran);
}
bool ReplicationMgr::QuerySNRVolume(const QuerySNRVolumeByIdV5Args_t& args, QuerySNRVolumeByIdV5Ret_t& ret,
                                    DBtran* tran)
{
    return QuerySNRVolumeDB(args, ret, tran);
}

// ---- Request handler -------------------------------------------------------------

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::QuerySNRVolumeHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    const Req& request = cases::RequestOf<Req>(buf);
    args.snrVolumeId = request.snrVolumeId;
    SetSrcVolId(args, request);

    // From V3 on the entry points take a transaction; the handler gives none.
    auto query = [&]() {
        if constexpr (std::is_same<Args, QuerySNRVolumeByIdArgs_t>::value ||
                      std::is_same<Args, QuerySNRVolumeById42Args_t>::value)
            return QuerySNRVolume(args, ret);
        else
            return QuerySNRVolume(args, ret, nullptr);
    };
    // The records' texts point into the result, which outlives the send.
    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::QuerySNRVolumeHandler()", requestCode, replyCode, false, ret,
        [&](DBtran*) { return query(); },
        [&](Reply& r) {
            YBSet(r.volume, ret.volume);
            snr_detail::SetOrInvalidate(r.scratchVolume, ret.scratchVolume);
            snr_detail::SetOrInvalidate(r.replicationVolume, ret.replicationVolume);
        });
}

// ---- Request cases, one per message version ---------------------------------

const ServedCase QuerySNRVolumeCaseV1 =
    SERVE_HANDLER_CASE(QuerySNRVolumeHandler, repQuerySNRVolByIdReq, repQuerySNRVolByIdResp, QuerySNRVolumeByIdArgs_t,
                       QuerySNRVolumeByIdRet_t);
const ServedCase QuerySNRVolumeCase42 =
    SERVE_HANDLER_CASE(QuerySNRVolumeHandler, repQuerySNRVolById42Req, repQuerySNRVolById42Resp,
                       QuerySNRVolumeById42Args_t, QuerySNRVolumeById42Ret_t);
const ServedCase QuerySNRVolumeCaseV3 =
    SERVE_HANDLER_CASE(QuerySNRVolumeHandler, repQuerySNRVolByIdV3Req, repQuerySNRVolByIdV3Resp,
                       QuerySNRVolumeByIdV3Args_t, QuerySNRVolumeByIdV3Ret_t);
const ServedCase QuerySNRVolumeCaseV4 =
    SERVE_HANDLER_CASE(QuerySNRVolumeHandler, repQuerySNRVolByIdV4Req, repQuerySNRVolByIdV4Resp,
                       QuerySNRVolumeByIdV4Args_t, QuerySNRVolumeByIdV4Ret_t);
const ServedCase QuerySNRVolumeCaseV5 =
    SERVE_HANDLER_CASE(QuerySNRVolumeHandler, repQuerySNRVolByIdV5Req, repQuerySNRVolByIdV5Resp,
                       QuerySNRVolumeByIdV5Args_t, QuerySNRVolumeByIdV5Ret_t);
