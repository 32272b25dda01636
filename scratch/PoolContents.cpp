// The scratch pool contents query: one database half and one request
// handler for all six message versions, under TMPSNRVOLINFO_LOCK, with the
// thin operation of each version and its request case.
#include "scratch/PoolContents.h"

#include <string>

#include "host/db/DBtable.h"
#include "rows/Db/Cursor/YBGetSNRDeviceByPoolId.h"
#include "rows/Db/Cursor/YBGetSNRMountPointByPoolId.h"
#include "rows/Db/Cursor/YBGetSNRVolInfoByPoolId.h"
#include "service/ReplyArray.h"
#include "scratch/ScratchCases.h"
#include "service/CasePatterns.h"
#include "service/CursorRows.h"
#include "service/ErrorCodes.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/ResultCode.h"
#include "service/SourceNames.h"
#include "service/TableLock.h"
#include "service/Utils.h"

template <typename Args, typename Ret>
bool ReplicationMgr::QueryScratchVolInfoDB(const Args& args, Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::QueryScratchVolInfoDB()";
    const int poolId = args.poolId;

    LockTableRet_t lock;
    if (!LockTable(LockTableArgs_t(TMPSNRVOLINFO_LOCK), lock)) {
        ret.errMsg = lock.m_sErrorMsg;
        SetErrCode(ret, lock.m_nErrorCode);
        return false;
    }
    HeldTableLock held(*this, lock);

    ret.clear();
    if (poolId <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Invalid scratch volume pool id",
                           "\n\tParameters used:\n\tRV Scratch Volume Pool Id = " + std::to_string(poolId),
                           ProgNameQueries, Fn, __LINE__);

    // A pass that fails drops what every pass collected.
    auto failPass = [&](const char* text, const char* call, int rc, long line) {
        ret.clear();
        return steps::Fail(*this, ret, kErrDatabase, text,
                           std::string("\n\tgetNextRow(") + call + " &) failed\n\tParameters used:" +
                               "\n\tRV Scratch volume pool id = " + std::to_string(poolId) +
                               "\n\tDB Err Code = " + std::to_string(rc),
                           ProgNameQueries, Fn, line);
    };

    YBGetSNRVolInfoByPoolId volumes(tran);
    YBGetSNRMountPointByPoolId mountPoints(tran);
    YBGetSNRDeviceByPoolId devices(tran);

    volumes.setValues(poolId);
    int state = 0;
    int rc;
    while ((rc = getNextRow(&volumes, &state, -1, 0)) == DB_ROW_OK) {
        const YBGetSNRVolInfoByPoolId_t& row = *volumes.getDataPtr();
        YBSet(ret.volumes, row);
        YBSet(ret.scratchVolumes, row);
        if (row.YBid != 0) YBSet(ret.replicas, row);
    }
    if (rc != DB_NO_MORE_ROWS)
        return failPass("Could not get volume information from the database", "YBGetSNRVolInfoByPoolId", rc, __LINE__);

    // A pool without members has no devices to read.
    if (ret.scratchVolumes.empty()) {
        ret.errMsg = "";
        return true;
    }

    devices.setValues(poolId);
    rc = steps::ReadAllRows(devices, ret.devices);
    if (rc != DB_NO_MORE_ROWS)
        return failPass("Could not get device name information from the database", "YBGetSNRDeviceByPoolId", rc,
                        __LINE__);

    mountPoints.setValues(poolId);
    rc = steps::ReadAllRows(mountPoints, ret.mountPoints);
    if (rc != DB_NO_MORE_ROWS)
        return failPass("Could not get mount point information from the database", "YBGetSNRMountPointByPoolId", rc,
                        __LINE__);
    return true;
}

bool ReplicationMgr::QueryRVScratchVolInfo(const QueryRVScratchVolArgs_t& args, QueryMgrRVScratchVolRet_t& ret)
{
    return QueryScratchVolInfoDB(args, ret, nullptr);
}
bool ReplicationMgr::QueryRVScratchVolInfo(const QueryRVScratchVol42Args_t& args, QueryMgrRVScratchVol42Ret_t& ret)
{
    return QueryScratchVolInfoDB(args, ret, nullptr);
}
bool ReplicationMgr::QueryRVScratchVolInfo(const QueryRVScratchVolV3Args_t& args, QueryRVScratchVolV3Ret_t& ret,
                                           DBtran* tran)
{
    return QueryScratchVolInfoDB(args, ret, tran);
}
bool ReplicationMgr::QueryRVScratchVolInfo(const QueryRVScratchVolV4Args_t& args, QueryRVScratchVolV4Ret_t& ret,
                                           DBtran* tran)
{
    return QueryScratchVolInfoDB(args, ret, tran);
}
bool ReplicationMgr::QueryRVScratchVolInfo(const QueryRVScratchVolV5Args_t& args, QueryRVScratchVolV5Ret_t& ret,
                                           DBtran* tran)
{
    return QueryScratchVolInfoDB(args, ret, tran);
}
bool ReplicationMgr::QueryRVScratchVolInfo(const QueryRVScratchVolV6Args_t& args, QueryRVScratchVolV6Ret_t& ret,
                                           DBtran* tran)
{
    return QueryScratchVolInfoDB(args, ret, tran);
}

// ---- Request handler -----------------------------------------------------------------

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::QueryScratchVolInfoHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    args.poolId = static_cast<int32_t>(cases::RequestOf<Req>(buf).poolId);
    AutoFreeMem_t owners[5];  // the arrays, freed after the send

    // The first array that cannot be allocated stops the rest; the reply
    // then carries none of them.
    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::QueryScratchVolInfoHandler()", requestCode, replyCode, false, ret,
        [&](DBtran*) { return QueryScratchVolInfoDB(args, ret, nullptr); },
        [&](Reply& r) {
            auto& l = r.lists;
            using steps::CopyListToReply;
            return CopyListToReply(owners[0], l.volumes, l.nVolumes, ret.volumes) &&
                   CopyListToReply(owners[1], l.devices, l.nDevices, ret.devices) &&
                   CopyListToReply(owners[2], l.mountPoints, l.nMountPoints, ret.mountPoints) &&
                   CopyListToReply(owners[3], l.scratchVolumes, l.nScratchVolumes, ret.scratchVolumes) &&
                   CopyListToReply(owners[4], l.replicas, l.nReplicas, ret.replicas);
        });
}

// ---- Request cases, one per message version -------------------------------------------

const ServedCase PoolContentsCaseV1 =
    SERVE_HANDLER_CASE(QueryScratchVolInfoHandler, repQueryRVScratchVolumeByScratchPoolIdReq,
                       repQueryRVScratchVolumeByScratchPoolIdResponse, QueryRVScratchVolArgs_t,
                       QueryMgrRVScratchVolRet_t);
const ServedCase PoolContentsCase42 =
    SERVE_HANDLER_CASE(QueryScratchVolInfoHandler, repQueryRVScratchVolumeByScratchPoolId42Req,
                       repQueryRVScratchVolumeByScratchPoolId42Response, QueryRVScratchVol42Args_t,
                       QueryMgrRVScratchVol42Ret_t);
const ServedCase PoolContentsCaseV3 =
    SERVE_HANDLER_CASE(QueryScratchVolInfoHandler, repQueryRVScratchVolumeByScratchPoolIdV3Req,
                       repQueryRVScratchVolumeByScratchPoolIdV3Response, QueryRVScratchVolV3Args_t,
                       QueryRVScratchVolV3Ret_t);
const ServedCase PoolContentsCaseV4 =
    SERVE_HANDLER_CASE(QueryScratchVolInfoHandler, repQueryRVScratchVolumeByScratchPoolIdV4Req,
                       repQueryRVScratchVolumeByScratchPoolIdV4Response, QueryRVScratchVolV4Args_t,
                       QueryRVScratchVolV4Ret_t);
const ServedCase PoolContentsCaseV5 =
    SERVE_HANDLER_CASE(QueryScratchVolInfoHandler, repQueryRVScratchVolumeByScratchPoolIdV5Req,
                       repQueryRVScratchVolumeByScratchPoolIdV5Response, QueryRVScratchVolV5Args_t,
                       QueryRVScratchVolV5Ret_t);
const ServedCase PoolContentsCaseV6 =
    SERVE_HANDLER_CASE(QueryScratchVolInfoHandler, repQueryRVScratchVolumeByScratchPoolIdV6Req,
                       repQueryRVScratchVolumeByScratchPoolIdV6Response, QueryRVScratchVolV6Args_t,
                       QueryRVScratchVolV6Ret_t);
