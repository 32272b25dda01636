// Volume lists: every SNR volume with every device on it and every mount
// point of those devices as three flat lists, and one client's view of one
// SNR volume (the volume, its device and that device's mount points), each in
// four message versions. Both read without a transaction and take no lock.
#include "snr/VolumeLists.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/db/DBtable.h"
#include "host/db/SNRTables.h"
#include "service/ErrorCodes.h"
#include "service/HeldRows.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/ReplyArray.h"
#include "service/SourceNames.h"
#include "service/TranHandle.h"
#include "service/Utils.h"
#include "snr/SNRCases.h"

namespace {

const char OrderById[] = "id ASC";
const char NoMountPointsText[] = "Could not get list of mount points";
const char NoDevicesText[] = "Could not get list of devices from the database";

std::string MountPointsOfDevice(int deviceId) { return "DeviceNameID = " + std::to_string(deviceId); }

// The reads of the list of every volume: each table once, the devices and
// the mount points in the order of what they belong to.
const char EveryVolume[] = "id > 0";
const char EveryDevice[] = "SNRVolumeId > 0";
const char DevicesByVolume[] = "SNRVolumeId ASC, id ASC";
const char EveryMountPoint[] = "DeviceNameID > 0";
const char MountPointsByDevice[] = "DeviceNameID ASC, id ASC";

template <typename List>
using RecordOf = typename List::value_type;

}  // namespace

// Each table is read once. The devices come by volume and stay when their
// volume is listed; the mount points come by device id and are put in the
// order of the listed devices, those of other devices left out.
template <typename Ret>
bool ReplicationMgr::GetSNRVolumesDB(Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::GetSNRVolumeListDB()";
    ret.errMsg = "";
    ret.volumes.clear();
    ret.mountPoints.clear();
    ret.devices.clear();
    // A failure drops whatever was gathered: no reply carries a partial list.
    auto fail = [&](const char* text, const std::string& details, long line) {
        ret.volumes.clear();
        ret.devices.clear();
        ret.mountPoints.clear();
        return steps::Fail(*this, ret, kErrDatabase, text, details, ProgNameGetLists, Fn, line);
    };
    auto convert = [](auto& record, const auto& row) { YBSet(record, row); };

    // Outside a transaction, the three reads make one read of the catalogue.
    std::unique_ptr<DBReadView> view(tran == nullptr ? new DBReadView : nullptr);
    CSNRVolumeDB volumeDB;
    if (!volumeDB.getList(ret.volumes, convert, EveryVolume, OrderById, tran))
        return fail("Could not get volume information from the database",
                    std::string("\n\tCSNRVolumeDB::getList() failed\n\tParameters used:\n\tsWhere = ") + EveryVolume +
                        "\n\tTran = 0x" + steps::TranHandle(tran) +
                        "\n\tDB Err Code = " + std::to_string(volumeDB.getErrorCode()),
                    __LINE__);
    if (ret.volumes.empty()) return true;

    CSNRVolumeDeviceNameDB deviceDB;
    if (!deviceDB.getList(ret.devices, convert, EveryDevice, DevicesByVolume, tran))
        return fail(NoDevicesText,
                    std::string("\n\tCSNRVolumeDeviceNameDB::getList() failed\n\tParameters used:\n\tsWhere      = ") +
                        EveryDevice + "\n\tsOrderBy    = " + DevicesByVolume + "\n\tTran        = 0x" +
                        steps::TranHandle(tran) + "\n\tDB Err Code = " + std::to_string(deviceDB.getErrorCode()),
                    __LINE__);
    // A device whose volume is not listed is not listed; devices and
    // volumes both ascend by volume id.
    size_t listed = 0;
    for (size_t d = 0, v = 0; d < ret.devices.size(); ++d) {
        while (v < ret.volumes.size() && ret.volumes[v].id < ret.devices[d].SNRVolumeId) ++v;
        if (v == ret.volumes.size() || ret.volumes[v].id != ret.devices[d].SNRVolumeId) continue;
        if (listed != d) ret.devices[listed] = std::move(ret.devices[d]);
        ++listed;
    }
    ret.devices.erase(ret.devices.begin() + static_cast<std::ptrdiff_t>(listed), ret.devices.end());

    CSNRVolumeMountPointDB mountPointDB;
    std::vector<RecordOf<decltype(ret.mountPoints)>> byDevice;
    if (!mountPointDB.getList(byDevice, convert, EveryMountPoint, MountPointsByDevice, tran))
        return fail(NoMountPointsText,
                    std::string("\n\tCSNRVolumeMountPointDB::getList() failed\n\tParameters used:\n\tsWhere = ") +
                        EveryMountPoint + "\n\tsOrderBy = " + MountPointsByDevice + "\n\tTran = 0x" +
                        steps::TranHandle(tran) + "\n\tDB Err Code = " + std::to_string(mountPointDB.getErrorCode()),
                    __LINE__);
    // The mount points of each listed device lie in one run of byDevice;
    // the runs are taken in the order of the devices.
    std::vector<std::pair<int32_t, uint32_t>> devices;  // id, place in the list; by id
    devices.reserve(ret.devices.size());
    for (size_t i = 0; i < ret.devices.size(); ++i) devices.emplace_back(ret.devices[i].id, static_cast<uint32_t>(i));
    std::sort(devices.begin(), devices.end());
    std::vector<std::pair<size_t, size_t>> runs(ret.devices.size(), {0, 0});  // first, end
    size_t kept = 0;
    for (size_t m = 0, d = 0; m < byDevice.size();) {
        const int32_t deviceId = byDevice[m].DeviceNameId;
        size_t end = m;
        while (end < byDevice.size() && byDevice[end].DeviceNameId == deviceId) ++end;
        while (d < devices.size() && devices[d].first < deviceId) ++d;
        if (d < devices.size() && devices[d].first == deviceId) {
            runs[devices[d].second] = {m, end};
            kept += end - m;
        }
        m = end;
    }
    ret.mountPoints.reserve(kept);
    for (const std::pair<size_t, size_t>& run : runs)
        for (size_t m = run.first; m < run.second; ++m) ret.mountPoints.push_back(std::move(byDevice[m]));

    ret.errMsg = "";
    return true;
}

template <typename Args, typename Ret>
bool ReplicationMgr::GetSNRInfoByClientAndVolDB(const Args& args, Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::GetSNRInfoByClientAndVolDB()";
    const int clientId = args.clientId;
    const int volumeId = args.snrVolumeId;
    ret.mountPoints.clear();
    ret.errMsg = "";

    if (clientId <= 0 || volumeId <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Invalid client id or volume Id",
                           "\n\tParameters used:\n\tClient Id = " + std::to_string(clientId) +
                               "\n\tSNR Volume Id = " + std::to_string(volumeId),
                           ProgNameQueries, Fn, __LINE__);

    CSNRVolumeDB volumeDB;
    YBPhysicalVolume_t volumeRow;
    std::memset(static_cast<void*>(&volumeRow), 0, sizeof volumeRow);
    if (!volumeDB.getInfo(volumeId, volumeRow, tran)) {
        const int code = volumeDB.getErrorCode();
        const bool missing = code == DB_NO_MORE_ROWS;
        return steps::Fail(
            *this, ret, missing ? kErrNotFound : kErrDatabase,
            missing ? "No record found" : "Could not query volume information",
            "\n\tCSNRVolumeDB::getInfo() failed\n\tParameters used:\n\tKey: " + std::to_string(volumeId) +
                "\n\tTran = 0x" + steps::TranHandle(tran) + "\n\tDB Err Code = " + std::to_string(code),
            ProgNameQueries, Fn, __LINE__);
    }
    YBSet(ret.volume, volumeRow);

    CSNRVolumeDeviceNameDB deviceDB;
    steps::HeldRows<YBPhysicalDevice_t> devices(deviceDB);
    const std::string deviceWhere =
        "ClientID = " + std::to_string(clientId) + " AND SNRVolumeId = " + std::to_string(volumeId);
    if (!deviceDB.getList(devices.rows, devices.count, deviceWhere.c_str(), OrderById, tran))
        return steps::Fail(*this, ret, kErrDatabase, NoDevicesText,
                           "\n\tCSNRVolumeDeviceNameDB::getList() failed\n\tParameters used:\n\tsWhere = " +
                               deviceWhere + "\n\tsOrderBy = " + OrderById + "\n\tTran = 0x" + steps::TranHandle(tran) +
                               "\n\tDB Err Code   = " + std::to_string(deviceDB.getErrorCode()),
                           ProgNameQueries, Fn, __LINE__);

    if (devices.count == 0) {
        ret.device.id = -1;
        m_LogMsg << "\tEvent: No SNR Device found\n\tClient ID = " << clientId << "\n\tSNR Volume ID = " << volumeId;
        WriteLogMsg(ProgNameQueries, Fn, __LINE__, WARNING);
        return true;
    }
    if (devices.count > 1)
        return steps::Fail(
            *this, ret, kErrNotUnique, "There is more than one device associated with the volume and client",
            "\n\tNRows = " + std::to_string(devices.count) + "\n\tClient ID = " + std::to_string(clientId) +
                "\n\tSNR Volume ID = " + std::to_string(volumeId),
            ProgNameQueries, Fn, __LINE__);
    YBSet(ret.device, devices.rows[0]);

    CSNRVolumeMountPointDB mountPointDB;
    steps::HeldRows<YBMountPoint_t> mountPoints(mountPointDB);
    const std::string mountWhere = MountPointsOfDevice(ret.device.id);
    if (!mountPointDB.getList(mountPoints.rows, mountPoints.count, mountWhere.c_str(), OrderById, tran))
        return steps::Fail(
            *this, ret, kErrDatabase, NoMountPointsText,
            "\n\tCSNRVolumeMountPointDB::getList() failed\n\tParameters used:\n\tsWhere        = " + mountWhere +
                "\n\tsOrderBy      = " + OrderById + "\n\tTran          = 0x" + steps::TranHandle(tran) +
                "\n\tDB Err Code   = " + std::to_string(mountPointDB.getErrorCode()),
            ProgNameQueries, Fn, __LINE__);
    for (unsigned int m = 0; m < mountPoints.count; ++m) YBSet(ret.mountPoints, mountPoints.rows[m]);

    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::GetSNRVolumeList(GetSNRVolumeListRet_t& ret, DBtran* tran) { return GetSNRVolumesDB(ret, tran); }
bool ReplicationMgr::GetSNRVolumeList(GetSNRVolumeListV2Ret_t& ret, DBtran* tran)
{
    return GetSNRVolumesDB(ret, tran);
}
bool ReplicationMgr::GetSNRVolumeList(GetSNRVolumeListV3Ret_t& ret, DBtran* tran)
{
    return GetSNRVolumesDB(ret, tran);
}
bool ReplicationMgr::GetSNRVolumeList(GetSNRVolumeListV4Ret_t& ret, DBtran* tran)
{
    return GetSNRVolumesDB(ret, tran);
}

// The caller's transaction is not passed on: the query reads outside it.
bool ReplicationMgr::GetSNRInfoByClientAndVol(const GetSNRInfoByClientIdAndVolIdArgs_t& args,
                                              GetSNRInfoByClientIdAndVolIdRet_t& ret, DBtran*)
{
    return GetSNRInfoByClientAndVolDB(args, ret, nullptr);
}
bool ReplicationMgr::GetSNRInfoByClientAndVol(const GetSNRInfoByClientIdAndVolIdV2Args_t& args,
                                              GetSNRInfoByClientIdAndVolIdV2Ret_t& ret, DBtran*)
{
    return GetSNRInfoByClientAndVolDB(args, ret, nullptr);
}
bool ReplicationMgr::GetSNRInfoByClientAndVol(const GetSNRInfoByClientIdAndVolIdV3Args_t& args,
                                              GetSNRInfoByClientIdAndVolIdV3Ret_t& ret, DBtran*)
{
    return GetSNRInfoByClientAndVolDB(args, ret, nullptr);
}
bool ReplicationMgr::GetSNRInfoByClientAndVol(const GetSNRInfoByClientIdAndVolIdV4Args_t& args,
                                              GetSNRInfoByClientIdAndVolIdV4Ret_t& ret, DBtran*)
{
    return GetSNRInfoByClientAndVolDB(args, ret, nullptr);
}

// ---- Request handlers ----------------------------------------------------------

template <typename Reply, typename Ret>
void ReplicationMgr::GetSNRVolumesHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf*)
{
    Ret ret;
    // Each array is freed after the send, also one built before another failed.
    AutoFreeMem_t volumes;
    AutoFreeMem_t devices;
    AutoFreeMem_t mountPoints;

    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::GetSNRVolumesHandler()", requestCode, replyCode, false, ret,
        [&](DBtran*) { return GetSNRVolumeList(ret, nullptr); },
        [&](Reply& r) {
            // Built in this order; the first that cannot be allocated ends it.
            using steps::CopyListToReply;
            return CopyListToReply(volumes, r.volumes, r.volumeCount, ret.volumes) &&
                   CopyListToReply(devices, r.devices, r.deviceCount, ret.devices) &&
                   CopyListToReply(mountPoints, r.mountPoints, r.mountPointCount, ret.mountPoints);
        });
}

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::GetSNRInfoByClientAndVolHandler(unsigned long requestCode, unsigned long replyCode,
                                                     zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    const Req& request = cases::RequestOf<Req>(buf);
    args.clientId = request.clientId;
    args.snrVolumeId = request.snrVolumeId;
    AutoFreeMem_t mountPoints;  // freed after the send

    // The volume's and device's texts point into the result, which outlives the send.
    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::GetSNRInfoByClientAndVolHandler()", requestCode, replyCode, false, ret,
        [&](DBtran*) { return GetSNRInfoByClientAndVol(args, ret, nullptr); },
        [&](Reply& r) {
            YBSet(r.volume, ret.volume);
            YBSet(r.device, ret.device);
            return steps::CopyListToReply(mountPoints, r.mountPoints, r.mountPointCount, ret.mountPoints);
        });
}

// ---- Request cases, one per message version ---------------------------------

const ServedCase GetSNRVolumesCaseV1 =
    SERVE_LIST_HANDLER_CASE(GetSNRVolumesHandler, repGetSNRVolumesResp, GetSNRVolumeListRet_t);
const ServedCase GetSNRVolumesCaseV2 =
    SERVE_LIST_HANDLER_CASE(GetSNRVolumesHandler, repGetSNRVolumesV2Resp, GetSNRVolumeListV2Ret_t);
const ServedCase GetSNRVolumesCaseV3 =
    SERVE_LIST_HANDLER_CASE(GetSNRVolumesHandler, repGetSNRVolumesV3Resp, GetSNRVolumeListV3Ret_t);
const ServedCase GetSNRVolumesCaseV4 =
    SERVE_LIST_HANDLER_CASE(GetSNRVolumesHandler, repGetSNRVolumesV4Resp, GetSNRVolumeListV4Ret_t);
const ServedCase GetSNRInfoByClientAndVolCaseV1 =
    SERVE_HANDLER_CASE(GetSNRInfoByClientAndVolHandler, repGetSNRInfoByClientAndVolReq, repGetSNRInfoByClientAndVolResp,
                       GetSNRInfoByClientIdAndVolIdArgs_t, GetSNRInfoByClientIdAndVolIdRet_t);
const ServedCase GetSNRInfoByClientAndVolCaseV2 =
    SERVE_HANDLER_CASE(GetSNRInfoByClientAndVolHandler, repGetSNRInfoByClientAndVolV2Req,
                       repGetSNRInfoByClientAndVolV2Resp, GetSNRInfoByClientIdAndVolIdV2Args_t,
                       GetSNRInfoByClientIdAndVolIdV2Ret_t);
const ServedCase GetSNRInfoByClientAndVolCaseV3 =
    SERVE_HANDLER_CASE(GetSNRInfoByClientAndVolHandler, repGetSNRInfoByClientAndVolV3Req,
                       repGetSNRInfoByClientAndVolV3Resp, GetSNRInfoByClientIdAndVolIdV3Args_t,
                       GetSNRInfoByClientIdAndVolIdV3Ret_t);
const ServedCase GetSNRInfoByClientAndVolCaseV4 =
    SERVE_HANDLER_CASE(GetSNRInfoByClientAndVolHandler, repGetSNRInfoByClientAndVolV4Req,
                       repGetSNRInfoByClientAndVolV4Resp, GetSNRInfoByClientIdAndVolIdV4Args_t,
                       GetSNRInfoByClientIdAndVolIdV4Ret_t);
