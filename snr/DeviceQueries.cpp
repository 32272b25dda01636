// Device queries: one device by its id, and every device of one SNR volume in
// id order, each in four message versions. They read without a transaction
// and take no lock.
#include "snr/DeviceQueries.h"

#include <cstring>
#include <string>

#include "host/db/DBtable.h"
#include "host/db/SNRTables.h"
#include "rows/Db/Cursor/YBGetSNRDeviceNameBySNRVolId.h"
#include "service/CursorRows.h"
#include "service/ErrorCodes.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/ReplyArray.h"
#include "service/SourceNames.h"
#include "service/Utils.h"
#include "snr/SNRCases.h"

template <typename Args, typename Ret>
bool ReplicationMgr::QuerySNRDeviceDB(const Args& args, Ret& ret)
{
    static const char Fn[] = "ReplicationMgr::QuerySNRDeviceDB()";
    const int deviceId = args.DeviceId;

    if (deviceId <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Invalid device name ID",
                           "\n\tParameters used:\n\tSNR Volume device name Id = " + std::to_string(deviceId),
                           ProgNameQueries, Fn, __LINE__);

    CSNRVolumeDeviceNameDB deviceDB;
    YBPhysicalDevice_t row;
    std::memset(static_cast<void*>(&row), 0, sizeof row);
    if (!deviceDB.getInfo(deviceId, row, nullptr)) {
        const int code = deviceDB.getErrorCode();
        if (code == DB_NO_MORE_ROWS)
            return steps::Fail(*this, ret, kErrNotFound, "Device not found", "", ProgNameQueries, Fn, __LINE__);
        return steps::Fail(*this, ret, kErrDatabase, "Could not get device record from the database",
                           "\n\tCSNRVolumeDeviceNameDB::getInfo() failed\n\tParameters used:"
                           "\n\tSNR Volume device name id = " +
                               std::to_string(deviceId) + "\n\tDB Err Code = " + std::to_string(code),
                           ProgNameQueries, Fn, __LINE__);
    }

    YBSet(ret.device, row);
    ret.errMsg = "";
    return true;
}

template <typename Args, typename Ret>
bool ReplicationMgr::QuerySNRVolDevDB(const Args& args, Ret& ret)
{
    static const char Fn[] = "ReplicationMgr::QuerySNRVolDevDB()";
    const int volumeId = args.SNRVolumeId;

    ret.devices.clear();
    if (volumeId < 1)
        return steps::Fail(*this, ret, kErrInvalidId, "Invalid Volume ID",
                           "\n\tParameters used:\n\tSNR Volume Id = " + std::to_string(volumeId), ProgNameQueries, Fn,
                           __LINE__);

    YBGetSNRDeviceNameBySNRVolId cursor(nullptr);
    cursor.setValues(volumeId);
    const int rc = steps::ReadAllRows(cursor, ret.devices);
    if (rc != DB_NO_MORE_ROWS)
        return steps::Fail(*this, ret, kErrDatabase, "Could not get device name information from the database",
                           "\n\tgetNextRow(GetSNRDeviceNameBySNRVolId &) failed\n\tParameters used:"
                           "\n\tSNR Volume id = " +
                               std::to_string(volumeId) + "\n\tDB Err Code = " + std::to_string(rc),
                           ProgNameQueries, Fn, __LINE__);

    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::QuerySNRDevice(const QuerySNRDeviceNameArgs_t& args, QuerySNRDeviceNameRet_t& ret)
{
    return QuerySNRDeviceDB(args, ret);
}
bool ReplicationMgr::QuerySNRDevice(const QuerySNRDeviceNameV2Args_t& args, QuerySNRDeviceNameV2Ret_t& ret)
{
    return QuerySNRDeviceDB(args, ret);
}
bool ReplicationMgr::QuerySNRDevice(const QuerySNRDeviceNameV3Args_t& args, QuerySNRDeviceNameV3Ret_t& ret)
{
    return QuerySNRDeviceDB(args, ret);
}
bool ReplicationMgr::QuerySNRDevice(const QuerySNRDeviceNameV4Args_t& args, QuerySNRDeviceNameV4Ret_t& ret)
{
    return QuerySNRDeviceDB(args, ret);
}

bool ReplicationMgr::QuerySNRVolDev(const QuerySNRVolDevNameBySNRVolIdArgs_t& args,
                                    QuerySNRVolDevNameBySNRVolIdRet_t& ret)
{
    return QuerySNRVolDevDB(args, ret);
}
bool ReplicationMgr::QuerySNRVolDev(const QuerySNRVolDevNameBySNRVolIdV2Args_t& args,
                                    QuerySNRVolDevNameBySNRVolIdV2Ret_t& ret)
{
    return QuerySNRVolDevDB(args, ret);
}
bool ReplicationMgr::QuerySNRVolDev(const QuerySNRVolDevNameBySNRVolIdV3Args_t& args,
                                    QuerySNRVolDevNameBySNRVolIdV3Ret_t& ret)
{
    return QuerySNRVolDevDB(args, ret);
}
bool ReplicationMgr::QuerySNRVolDev(const QuerySNRVolDevNameBySNRVolIdV4Args_t& args,
                                    QuerySNRVolDevNameBySNRVolIdV4Ret_t& ret)
{
    return QuerySNRVolDevDB(args, ret);
}

// ---- Request handlers ----------------------------------------------------------

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::QuerySNRDeviceHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    args.DeviceId = cases::RequestOf<Req>(buf).DeviceId;

    // The device's texts point into the result, which outlives the send.
    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::QuerySNRDeviceHandler()", requestCode, replyCode, false, ret,
        [&](DBtran*) { return QuerySNRDevice(args, ret); },
        [&](Reply& r) { YBSet(r.device, ret.device); });
}

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::QuerySNRVolDevHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    args.SNRVolumeId = cases::RequestOf<Req>(buf).SNRVolumeId;
    steps::AnswerListByHandler(*this, "ReplicationMgr::QuerySNRVolDevHandler()", requestCode, replyCode, ret,
                               ret.devices, &Reply::devices, [&] { return QuerySNRVolDev(args, ret); });
}

// ---- Request cases, one per message version ---------------------------------

const ServedCase QuerySNRDeviceCaseV1 =
    SERVE_HANDLER_CASE(QuerySNRDeviceHandler, repQuerySNRDeviceByIdReq, repQuerySNRDeviceByIdResp,
                       QuerySNRDeviceNameArgs_t, QuerySNRDeviceNameRet_t);
const ServedCase QuerySNRDeviceCaseV2 =
    SERVE_HANDLER_CASE(QuerySNRDeviceHandler, repQuerySNRDeviceByIdV2Req, repQuerySNRDeviceByIdV2Resp,
                       QuerySNRDeviceNameV2Args_t, QuerySNRDeviceNameV2Ret_t);
const ServedCase QuerySNRDeviceCaseV3 =
    SERVE_HANDLER_CASE(QuerySNRDeviceHandler, repQuerySNRDeviceByIdV3Req, repQuerySNRDeviceByIdV3Resp,
                       QuerySNRDeviceNameV3Args_t, QuerySNRDeviceNameV3Ret_t);
const ServedCase QuerySNRDeviceCaseV4 =
    SERVE_HANDLER_CASE(QuerySNRDeviceHandler, repQuerySNRDeviceByIdV4Req, repQuerySNRDeviceByIdV4Resp,
                       QuerySNRDeviceNameV4Args_t, QuerySNRDeviceNameV4Ret_t);
const ServedCase QuerySNRVolDevCaseV1 =
    SERVE_HANDLER_CASE(QuerySNRVolDevHandler, repQuerySNRVolDevsBySNRVolIdReq, repQuerySNRVolDevsBySNRVolIdResp,
                       QuerySNRVolDevNameBySNRVolIdArgs_t, QuerySNRVolDevNameBySNRVolIdRet_t);
const ServedCase QuerySNRVolDevCaseV2 =
    SERVE_HANDLER_CASE(QuerySNRVolDevHandler, repQuerySNRVolDevsBySNRVolIdV2Req, repQuerySNRVolDevsBySNRVolIdV2Resp,
                       QuerySNRVolDevNameBySNRVolIdV2Args_t, QuerySNRVolDevNameBySNRVolIdV2Ret_t);
const ServedCase QuerySNRVolDevCaseV3 =
    SERVE_HANDLER_CASE(QuerySNRVolDevHandler, repQuerySNRVolDevsBySNRVolIdV3Req, repQuerySNRVolDevsBySNRVolIdV3Resp,
                       QuerySNRVolDevNameBySNRVolIdV3Args_t, QuerySNRVolDevNameBySNRVolIdV3Ret_t);
const ServedCase QuerySNRVolDevCaseV4 =
    SERVE_HANDLER_CASE(QuerySNRVolDevHandler, repQuerySNRVolDevsBySNRVolIdV4Req, repQuerySNRVolDevsBySNRVolIdV4Resp,
                       QuerySNRVolDevNameBySNRVolIdV4Args_t, QuerySNRVolDevNameBySNRVolIdV4Ret_t);
