// Volume inventory of a client: its devices, the SNR volumes they reach with
// the replication volume and the scratch volume lying on each, and the mount
// points of its devices, in six message versions. It only reads, under
// TMPSNRVOLINFO_LOCK, in the caller's transaction or none.
#include "snr/VolumeInventory.h"

#include <memory>
#include <string>

#include "host/db/DBtable.h"
#include "host/db/ReplicaTables.h"
#include "rows/Db/Cursor/YBGetSNRDeviceByClientId.h"
#include "rows/Db/Cursor/YBGetSNRMountPointByClientId.h"
#include "rows/Db/Cursor/YBGetSNRVolInfoByClientId.h"
#include "service/CursorRows.h"
#include "service/ErrorCodes.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/ReplyArray.h"
#include "service/ResultCode.h"
#include "service/RowCounts.h"
#include "service/SourceNames.h"
#include "service/TableLock.h"
#include "service/Utils.h"
#include "snr/SNRCases.h"

namespace {

const char QueryVolInfoDBFn[] = "ReplicationMgr::QueryVolInfoDB()";

template <typename Ret>
void ClearLists(Ret& ret)
{
    ret.devices.clear();
    ret.volumes.clear();
    ret.mountPoints.clear();
    ret.scratchVolumes.clear();
    ret.replicationVolumes.clear();
}

// The rows lying on an SNR volume that a device of the client reaches.
std::string OnVolumesOfClient(int clientId)
{
    return "PhysicalVolumeId IN (SELECT SNRVolumeId FROM YBPhysicalDevice WHERE ClientId = " +
           std::to_string(clientId) + ")";
}

}  // namespace

template <typename Args, typename Ret>
bool ReplicationMgr::QueryVolInfoDB(const Args& args, Ret& ret, DBtran* tran)
{
    const int clientId = args.clientId;

    // A failed result never carries records, whichever step failed.
    ClearLists(ret);
    LockTableRet_t lock;
    if (!LockTable(LockTableArgs_t(TMPSNRVOLINFO_LOCK), lock)) {
        ret.errMsg = lock.m_sErrorMsg;
        SetErrCode(ret, lock.m_nErrorCode);
        return false;
    }
    HeldTableLock held(*this, lock);

    if (clientId <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Invalid client id",
                           "\n\tParameters used:\n\tClient Id = " + std::to_string(clientId), ProgNameQueries,
                           QueryVolInfoDBFn, __LINE__);

    // A read that failed: nothing read before it is returned.
    auto readFailed = [&](const char* text, const std::string& call, int code, long line) {
        ClearLists(ret);
        return steps::Fail(*this, ret, kErrDatabase, text,
                           "\n\t" + call + " failed\n\tParameters used:\n\tClient id = " + std::to_string(clientId) +
                               "\n\tDB Err Code = " + std::to_string(code),
                           ProgNameQueries, QueryVolInfoDBFn, line);
    };

    // Outside a transaction the five reads make one read of the catalogue.
    std::unique_ptr<DBReadView> view(tran == nullptr ? new DBReadView : nullptr);
    YBGetSNRVolInfoByClientId volumeCursor(tran);
    YBGetSNRMountPointByClientId mountPointCursor(tran);
    YBGetSNRDeviceByClientId deviceCursor(tran);

    deviceCursor.setValues(clientId);
    int rc = steps::ReadAllRows(deviceCursor, ret.devices);
    if (rc != DB_NO_MORE_ROWS)
        return readFailed("Could not get device name information from the database",
                          "getNextRow(GetSNRDeviceByClientId &)", rc, __LINE__);
    if (ret.devices.empty()) {
        ret.errMsg = "";
        return true;
    }

    // Every volume listed is reached by a device of the client: the lists
    // get room for as many as there are devices at once instead of growing.
    const size_t devices = ret.devices.size();
    ret.volumes.reserve(devices);
    ret.replicationVolumes.reserve(devices);
    ret.scratchVolumes.reserve(devices);
    ret.mountPoints.reserve(devices);

    volumeCursor.setValues(clientId);
    const YBGetSNRVolInfoByClientId_t* row = volumeCursor.getDataPtr();
    int state = 0;
    while ((rc = getNextRow(&volumeCursor, &state, -1, 0)) == DB_ROW_OK) {
        YBSet(ret.volumes, *row);
        if (row->YBid != 0) YBSet(ret.replicationVolumes, *row);
        if (row->RVid != 0) YBSet(ret.scratchVolumes, *row);
    }
    if (rc != DB_NO_MORE_ROWS)
        return readFailed("Could not get volume information from the database",
                          "getNextRow(GetVolInfoByClientId &)", rc, __LINE__);

    // Each SNR volume is listed with at most one replication volume and one
    // scratch volume, the one with the lowest id. Where the catalogue holds
    // more on a volume, the others are left out with a warning.
    auto checkOneEach = [&](auto& table, const char* tableClass, size_t listed, const char* kind, long line) {
        if (listed == 0) return true;  // none lies on the client's volumes
        unsigned int found = 0;
        if (!steps::CountRows(*this, ret, table, tableClass, OnVolumesOfClient(clientId), found, tran,
                              "Could not get volume information from the database", ProgNameQueries, QueryVolInfoDBFn,
                              line)) {
            ClearLists(ret);
            return false;
        }
        if (found > listed)
            steps::Warn(*this,
                        "More than one " + std::string(kind) +
                            " lies on an SNR volume of the client; the one with the lowest id is reported",
                        "\n\tParameters used:\n\tClient id = " + std::to_string(clientId) +
                            "\n\tFound    = " + std::to_string(found) + "\n\tReported = " + std::to_string(listed),
                        ProgNameQueries, QueryVolInfoDBFn, line);
        return true;
    };
    CReplicationVolumeDB replicaDB;
    CRVScratchVolumeDB scratchDB;
    if (!checkOneEach(replicaDB, "CReplicationVolumeDB", ret.replicationVolumes.size(), "replication volume",
                      __LINE__) ||
        !checkOneEach(scratchDB, "CRVScratchVolumeDB", ret.scratchVolumes.size(), "scratch volume", __LINE__))
        return false;

    mountPointCursor.setValues(clientId);
    rc = steps::ReadAllRows(mountPointCursor, ret.mountPoints);
    if (rc != DB_NO_MORE_ROWS)
        return readFailed("Could not get mount point information from the database",
                          "getNextRow(GetSNRMountPointByClientId &)", rc, __LINE__);

    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::QueryVolInfo(const QuerySNRDeviceArgs_t& args, QueryMgrSNRDeviceRet_t& ret, DBtran* tran)
{
    return QueryVolInfoDB(args, ret, tran);
}
bool ReplicationMgr::QueryVolInfo(const QuerySNRDevice42Args_t& args, QueryMgrSNRDevice42Ret_t& ret, DBtran* tran)
{
    return QueryVolInfoDB(args, ret, tran);
}
bool ReplicationMgr::QueryVolInfo(const QuerySNRDeviceV3Args_t& args, QuerySNRDeviceV3Ret_t& ret, DBtran* tran)
{
    return QueryVolInfoDB(args, ret, tran);
}
bool ReplicationMgr::QueryVolInfo(const QuerySNRDeviceV4Args_t& args, QuerySNRDeviceV4Ret_t& ret, DBtran* tran)
{
    return QueryVolInfoDB(args, ret, tran);
}
bool ReplicationMgr::QueryVolInfo(const QuerySNRDeviceV5Args_t& args, QuerySNRDeviceV5Ret_t& ret, DBtran* tran)
{
    return QueryVolInfoDB(args, ret, tran);
}
bool ReplicationMgr::QueryVolInfo(const QuerySNRDeviceV6Args_t& args, QuerySNRDeviceV6Ret_t& ret, DBtran* tran)
{
    return QueryVolInfoDB(args, ret, tran);
}

// ---- Request handler -------------------------------------------------------------

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::QueryVolInfoHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    args.clientId = cases::RequestOf<Req>(buf).ClientId;
    // Every array built is freed after the send, whether the reply succeeded
    // or not; their texts point into the result.
    AutoFreeMem_t volumes, devices, mountPoints, scratchVolumes, replicationVolumes;

    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::QueryVolInfoHandler()", requestCode, replyCode, false, ret,
        [&](DBtran*) { return QueryVolInfo(args, ret, nullptr); },
        [&](Reply& r) {
            using steps::CopyListToReply;
            return CopyListToReply(volumes, r.volumes, r.volumeCount, ret.volumes) &&
                   CopyListToReply(devices, r.devices, r.deviceCount, ret.devices) &&
                   CopyListToReply(mountPoints, r.mountPoints, r.mountPointCount, ret.mountPoints) &&
                   CopyListToReply(scratchVolumes, r.scratchVolumes, r.scratchVolumeCount, ret.scratchVolumes) &&
                   CopyListToReply(replicationVolumes, r.replicationVolumes, r.replicationVolumeCount,
                                   ret.replicationVolumes);
        });
}

// ---- Request cases, one per message version ---------------------------------

const ServedCase QueryVolInfoCaseV1 =
    SERVE_HANDLER_CASE(QueryVolInfoHandler, repQuerySNRDeviceByClientIdReq, repQuerySNRDeviceByClientIdResponse,
                       QuerySNRDeviceArgs_t, QueryMgrSNRDeviceRet_t);
const ServedCase QueryVolInfoCase42 =
    SERVE_HANDLER_CASE(QueryVolInfoHandler, repQuerySNRDeviceByClientId42Req, repQuerySNRDeviceByClientId42Response,
                       QuerySNRDevice42Args_t, QueryMgrSNRDevice42Ret_t);
const ServedCase QueryVolInfoCaseV3 =
    SERVE_HANDLER_CASE(QueryVolInfoHandler, repQuerySNRDeviceByClientIdV3Req, repQuerySNRDeviceByClientIdV3Response,
                       QuerySNRDeviceV3Args_t, QuerySNRDeviceV3Ret_t);
const ServedCase QueryVolInfoCaseV4 =
    SERVE_HANDLER_CASE(QueryVolInfoHandler, repQuerySNRDeviceByClientIdV4Req, repQuerySNRDeviceByClientIdV4Response,
                       QuerySNRDeviceV4Args_t, QuerySNRDeviceV4Ret_t);
const ServedCase QueryVolInfoCaseV5 =
    SERVE_HANDLER_CASE(QueryVolInfoHandler, repQuerySNRDeviceByClientIdV5Req, repQuerySNRDeviceByClientIdV5Response,
                       QuerySNRDeviceV5Args_t, QuerySNRDeviceV5Ret_t);
const ServedCase QueryVolInfoCaseV6 =
    SERVE_HANDLER_CASE(QueryVolInfoHandler, repQuerySNRDeviceByClientIdV6Req, repQuerySNRDeviceByClientIdV6Response,
                       QuerySNRDeviceV6Args_t, QuerySNRDeviceV6Ret_t);
