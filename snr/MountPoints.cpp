// Adding, updating and removing the mount points of devices, with the inline
// request cases that serve them. A removal keeps a device's last mount point
// as an unmounted placeholder, which the next add replaces; every add
// activates and every removal deactivates the device's controller, and
// after a rollback the controller is set as the device's rows then give.
#include "snr/MountPoints.h"

#include <cstring>
#include <string>
#include <vector>

#include "host/EvDebug.h"
#include "host/ZXMMDBDeviceInfo.h"
#include "host/db/DBtable.h"
#include "host/db/SNRTables.h"
#include "host/db/SqlText.h"
#include "service/DeletionTrail.h"
#include "service/ErrorCodes.h"
#include "service/NestedStep.h"
#include "service/RecordConversion.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"
#include "service/TranHandle.h"
#include "snr/SNRCases.h"

const char* const MountPathTooLongErrMsg = "Volume mount point path is too long";

namespace {

enum class Controller { Activate, Deactivate };

// Activates or deactivates the device's controller through the device
// layer; false with the layer's last error text.
bool SwitchController(Controller to, int deviceId, DBtran* tran, std::string& lastError)
{
    ZXMMDBDeviceInfo deviceLayer;
    const int rc = to == Controller::Activate ? deviceLayer.activateControllerBySNRVolId(deviceId, tran)
                                              : deviceLayer.deactivateControllerBySNRVolId(deviceId, tran);
    if (rc == 0) return true;
    char text[2048];
    deviceLayer.getLastError(text, sizeof text);
    lastError = text;
    return false;
}

const char ActivateFailed[] = "\n\tZXMMDBDeviceInfo::activateControllerBySNRVolId() failed";
const char DeactivateFailed[] = "\n\tZXMMDBDeviceInfo::deactivateControllerBySNRVolId() failed";

// The details of a failed removal of a mount point row.
std::string RemoveFailedDetails(int mountPointId, const DBtran* tran)
{
    return "\n\tCSNRVolumeMountPointDB::remove() failed\n\tParameters used:\n\tid = " + std::to_string(mountPointId) +
           "\n\tTran = 0x" + steps::TranHandle(tran);
}

}  // namespace

bool ReplicationMgr::AddMountPoint(const AddSNRMountPointArgs_t& args, AddSNRMountPointRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::AddMountPoint()";
    const SNRVolumeMountPointRecord_t& mountPoint = args.MountPoint;
    const int deviceId = mountPoint.DeviceNameId;

    if (deviceId <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Invalid device name for mount point",
                           "\n\tParameters used:\n\tid = " + std::to_string(deviceId), ProgNameInserts, Fn, __LINE__);
    // The column would cut a longer path.
    if (mountPoint.Path.size() > kMaxMountPathLength)
        return steps::Fail(*this, ret, kErrTooLong, MountPathTooLongErrMsg,
                           "\n\tDevice ID = " + std::to_string(deviceId) +
                               "\n\tPath length = " + std::to_string(mountPoint.Path.size()),
                           ProgNameInserts, Fn, __LINE__);

    // A new mount point is always mounted; its id comes from the insert.
    SNRVolumeMountPointRecord_t mounted = mountPoint;
    mounted.Unmounted = false;
    YBMountPoint_t row;
    std::memset(static_cast<void*>(&row), 0, sizeof row);
    YBSet(row, mounted);

    RemoveLastMountPointArgs_t lastArgs;
    lastArgs.DeviceId = deviceId;
    RemoveLastMountPointRet_t lastRet;
    const bool lastRemoved = RemoveLastMountPoint(lastArgs, lastRet, tran);
    ret.ControllerSwitched = lastRet.Deactivated;
    if (!lastRemoved) {
        // The removal has written its own entry.
        ret.errMsg = lastRet.errMsg;
        ret.errCode = kErrNestedCall;
        return false;
    }

    CSNRVolumeMountPointDB mountPointDB;
    if (!mountPointDB.insert(row, tran))
        return steps::Fail(*this, ret, kErrDatabase, "Could not include new mount point",
                           "\n\tCSNRVolumeMountPointDB::insert() failed", ProgNameInserts, Fn, __LINE__);

    std::string lastError;
    if (!SwitchController(Controller::Activate, deviceId, tran, lastError))
        return steps::Fail(*this, ret, kErrController, lastError, ActivateFailed, ProgNameInserts, Fn, __LINE__);
    ret.ControllerSwitched = true;

    ret.MountPointId = row.id;
    m_LogMsg << "\tMount point " << EvDebug::escaped(mountPoint.Path) << " was added"
             << "\n\tID of new Mount point is: " << row.id;
    WriteLogMsg(ProgNameInserts, Fn, __LINE__, MSG);
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::RemoveLastMountPoint(const RemoveLastMountPointArgs_t& args, RemoveLastMountPointRet_t& ret,
                                          DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::RemoveLastMountPoint()";
    const int deviceId = args.DeviceId;

    if (deviceId < 1)
        return steps::Fail(*this, ret, kErrInternal, "YB Manager Internal Error",
                           "\n\tReason: SNR Volume Device Name id is < 1", ProgNameDeletes, Fn, __LINE__);

    QuerySNRVolMountPointBySNRVolDevIdArgs_t queryArgs;
    queryArgs.DeviceId = deviceId;
    QuerySNRVolMountPointBySNRVolDevIdRet_t queryRet;
    if (!QuerySNRVolMountPoint(queryArgs, queryRet, tran)) {
        ret.errMsg = queryRet.errMsg;  // the query has written its own entry
        return false;
    }

    const std::vector<SNRVolumeMountPointRecord_t>& mountPoints = queryRet.MountPoints;
    if (mountPoints.size() == 1 && mountPoints[0].Unmounted) {
        const SNRVolumeMountPointRecord_t& placeholder = mountPoints[0];
        CSNRVolumeMountPointDB mountPointDB;
        if (!mountPointDB.remove(placeholder.id, tran))
            return steps::Fail(*this, ret, kErrDatabase, "Could not remove mount point",
                               RemoveFailedDetails(placeholder.id, tran), ProgNameDeletes, Fn, __LINE__);
        std::string lastError;
        if (!SwitchController(Controller::Deactivate, placeholder.DeviceNameId, tran, lastError))
            return steps::Fail(*this, ret, kErrController, lastError, DeactivateFailed, ProgNameDeletes, Fn, __LINE__);
        ret.Deactivated = true;
    }

    m_LogMsg << "\tLast mount point removed for SNR Device ID " << deviceId;
    WriteLogMsg(ProgNameDeletes, Fn, __LINE__, MSG);
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::DeleteMountPoint(const RemoveSNRMountPointArgs_t& args, RemoveSNRMountPointRet_t& ret,
                                      DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::DeleteMountPoint()";
    const int id = args.MountPointId;

    if (id <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Unknow mount point",
                           "\n\tParameters used:\n\tid = " + std::to_string(id), ProgNameDeletes, Fn, __LINE__);

    // The nested operations write their own entries.
    QuerySNRMountPointArgs_t byIdArgs;
    byIdArgs.MountPointId = id;
    QuerySNRMountPointRet_t byIdRet;
    if (!QuerySNRMountPoint(byIdArgs, byIdRet)) {
        ret.errMsg = byIdRet.errMsg;
        return false;
    }
    const int deviceId = byIdRet.MountPoint.DeviceNameId;

    QuerySNRVolMountPointBySNRVolDevIdArgs_t deviceArgs;
    deviceArgs.DeviceId = deviceId;
    QuerySNRVolMountPointBySNRVolDevIdRet_t deviceRet;
    if (!QuerySNRVolMountPoint(deviceArgs, deviceRet, tran)) {
        ret.errMsg = deviceRet.errMsg;
        return false;
    }

    const std::vector<SNRVolumeMountPointRecord_t>& mountPoints = deviceRet.MountPoints;
    if (mountPoints.size() == 1) {
        // The device's last mount point stays, marked unmounted.
        if (mountPoints[0].Unmounted)
            return steps::Fail(*this, ret, kErrInUse, "Cannot unmount volume that it is already unmounted",
                               "\n\tSNR Volume Device Name Id: " + std::to_string(deviceId) +
                                   "\n\tSNR Volume Mount point id: " + std::to_string(mountPoints[0].id),
                               ProgNameDeletes, Fn, __LINE__);
        UpdateSNRMountPointArgs_t updateArgs;
        updateArgs.MountPoint = mountPoints[0];
        updateArgs.MountPoint.Unmounted = true;
        UpdateSNRMountPointRet_t updateRet;
        if (!UpdateSNRVolMountPoint(updateArgs, updateRet, tran)) {
            ret.errMsg = updateRet.errMsg;
            return false;
        }
    } else {
        CSNRVolumeMountPointDB mountPointDB;
        if (!mountPointDB.remove(id, tran))
            return steps::Fail(*this, ret, kErrDatabase, "Could not remove mount point", RemoveFailedDetails(id, tran),
                               ProgNameDeletes, Fn, __LINE__);
    }

    std::string lastError;
    ret.DeviceId = deviceId;
    if (!SwitchController(Controller::Deactivate, deviceId, tran, lastError))
        return steps::Fail(*this, ret, kErrController, lastError, DeactivateFailed, ProgNameDeletes, Fn, __LINE__);

    m_LogMsg << "\tSNR Mount point with ID " << id << " was removed from DB";
    WriteLogMsg(ProgNameDeletes, Fn, __LINE__, MSG);
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::DeleteMountPointNested(const RemoveSNRMountPointArgs_t& args, RemoveSNRMountPointRet_t& ret,
                                            DeletionTrail* trail)
{
    bool removed = false;
    if (RunNestedStep([&](DBtran* nested) { return removed = DeleteMountPoint(args, ret, nested); })) {
        if (trail != nullptr) trail->deactivatedDevices.push_back({ret.DeviceId});
        return true;
    }
    if (removed) RestoreControllerAfterRollback(ret.DeviceId);
    return false;
}

bool ReplicationMgr::UpdateSNRVolMountPoint(const UpdateSNRMountPointArgs_t& args, UpdateSNRMountPointRet_t& ret,
                                            DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::UpdateSNRVolMountPoint()";
    const SNRVolumeMountPointRecord_t& mountPoint = args.MountPoint;

    if (mountPoint.id <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Cannot update mount point information with invalid id",
                           "\n\tParameters used:\n\tSNR Volume Mount point ID = " + std::to_string(mountPoint.id),
                           ProgNameUpdates, Fn, __LINE__);
    if (mountPoint.DeviceNameId <= 0)
        return steps::Fail(
            *this, ret, kErrInvalidId, "Cannot update mount point information with invalid device name id",
            "\n\tParameters used:\n\tSNR Volume Device Name ID = " + std::to_string(mountPoint.DeviceNameId),
            ProgNameUpdates, Fn, __LINE__);
    // The column would cut a longer path; the buffer below holds as much as
    // the column.
    if (mountPoint.Path.size() > kMaxMountPathLength)
        return steps::Fail(*this, ret, kErrTooLong, MountPathTooLongErrMsg,
                           "\n\tSNR Volume Mount point ID = " + std::to_string(mountPoint.id) +
                               "\n\tPath length = " + std::to_string(mountPoint.Path.size()),
                           ProgNameUpdates, Fn, __LINE__);

    int32_t flags = 0;
    YBSetFlagBit(flags, SNRMNT_FLAG_IS_CASE_SENSITIVE, mountPoint.IsCaseSensitive);
    YBSetFlagBit(flags, SNRMNT_FLAG_UNMOUNTED, mountPoint.Unmounted);

    char path[sizeof(YBMountPoint_t::Path)];
    YBCopyText(path, mountPoint.Path);
    CSNRVolumeMountPointDB mountPointDB;
    if (!mountPointDB.CheckMountPathSyntax(path, sizeof path))
        return steps::Fail(*this, ret, kErrInternal, "Internal error during update of mount point information",
                           "\n\tParameters used:\n\tOrginal Mount Path = " + EvDebug::escaped(mountPoint.Path) +
                               "\n\tResulting Mount Path = " + EvDebug::escaped(path),
                           ProgNameUpdates, Fn, __LINE__);

    const std::string set = "DeviceNameId = " + std::to_string(mountPoint.DeviceNameId) + ", Path = '" +
                            SqlEscape(path) + "'" + ", Flags = " + std::to_string(flags);
    if (!mountPointDB.Update(mountPoint.id, set.c_str(), tran))
        return steps::Fail(*this, ret, kErrDatabase, "Could not update mount point information from database",
                           "\n\tCSNRVolumeMountPointDB::Update() failed\n\tParameters used:"
                           "\n\tSNR Volume Mount point Id = " +
                               std::to_string(mountPoint.id) + "\n\tsUpdate = " + EvDebug::escaped(set) +
                               "\n\tTran = 0x" + steps::TranHandle(tran),
                           ProgNameUpdates, Fn, __LINE__);

    m_LogMsg << "\tSNR Mount point " << mountPoint.id << " was updated successfully...";
    WriteLogMsg(ProgNameUpdates, Fn, __LINE__, MSG);
    ret.errMsg = "";
    return true;
}

void ReplicationMgr::RestoreControllerAfterRollback(int deviceId)
{
    static const char Fn[] = "ReplicationMgr::post()";
    QuerySNRVolMountPointBySNRVolDevIdArgs_t args;
    args.DeviceId = deviceId;
    QuerySNRVolMountPointBySNRVolDevIdRet_t rows;
    std::string failure;
    if (QuerySNRVolMountPoint(args, rows, nullptr)) {
        const std::vector<SNRVolumeMountPointRecord_t>& mountPoints = rows.MountPoints;
        const bool on = !(mountPoints.size() == 1 && mountPoints[0].Unmounted);
        if (SwitchController(on ? Controller::Activate : Controller::Deactivate, deviceId, nullptr, failure)) {
            m_LogMsg << "\tController of SNR Device ID " << deviceId << (on ? " activated" : " deactivated")
                     << " again after the rollback";
            WriteLogMsg(cases::ProgName, Fn, __LINE__, MSG);
            return;
        }
    } else {
        failure = rows.errMsg;  // the query has written its own entry
    }
    m_LogMsg << "\tEvent: " << failure << "\n\tThe controller of SNR Device ID " << deviceId
             << " could not be restored after the rollback";
    WriteLogMsg(cases::ProgName, Fn, __LINE__, ERR);
}

// ---- Inline request cases ---------------------------------------------------------

namespace {

void ServeRemoveMountPoint(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    repRemoveMountPointResponse reply;
    std::memset(static_cast<void*>(&reply), 0, sizeof reply);
    RemoveSNRMountPointArgs_t args;
    RemoveSNRMountPointRet_t ret;
    args.MountPointId = cases::RequestOf<repRemoveMountPointReq>(buf).MountPointId;
    bool removed = false;
    RunInlineTranCase(
        mgr, ReplyCodeFor(code), reply, cases::StatusOf<repRemoveMountPointResponse>(), ret,
        cases::HandlerLog(code, ReplyCodeFor(code)), cases::Order::A, cases::Message::PointIntoResult,
        [&](DBtran* tran) { return removed = mgr.DeleteMountPoint(args, ret, tran); },
        [](repRemoveMountPointResponse&) {});

    // The row is back as it was; its device's controller as the rows give.
    if (removed && reply.status != 1) mgr.RestoreControllerAfterRollback(ret.DeviceId);
}

void ServeAddMountPoint(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    repAddMountPointResponse reply;
    std::memset(static_cast<void*>(&reply), 0, sizeof reply);
    AddSNRMountPointArgs_t args;
    AddSNRMountPointRet_t ret;
    YBSet(args.MountPoint, cases::RequestOf<repSNRVolumeMountPoint>(buf));
    RunInlineTranCase(
        mgr, ReplyCodeFor(code), reply, cases::StatusOf<repAddMountPointResponse>(), ret,
        cases::HandlerLog(code, ReplyCodeFor(code)), cases::Order::A, cases::Message::PointIntoResult,
        [&](DBtran* tran) { return mgr.AddMountPoint(args, ret, tran); },
        [&](repAddMountPointResponse& r) { r.MountPointId = static_cast<uint32_t>(ret.MountPointId); });

    // The rows are back as they were; the controller, switched off with a
    // placeholder or on for the new mount point, as they give.
    if (ret.ControllerSwitched && reply.status != 1) mgr.RestoreControllerAfterRollback(args.MountPoint.DeviceNameId);
}

// The request has the layout of a wire mount point; its unmounted flag is not
// read, so an update always writes the mount point mounted.
void ServeUpdateSNRMountPoint(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    UpdateSNRMountPointArgs_t args;
    UpdateSNRMountPointRet_t ret;
    const repSNRVolumeMountPoint& request = cases::RequestOf<repSNRVolumeMountPoint>(buf);
    args.MountPoint.id = request.id;
    args.MountPoint.DeviceNameId = request.DeviceNameId;
    args.MountPoint.Path = YBTextFromWire(request.Path);
    args.MountPoint.IsCaseSensitive = YBBoolFromWire(request.IsCaseSensitive);
    AnswerInlineTranCase<repUpdateSNRVolumeMountPointResp>(
        mgr, code, ret, cases::Order::B, cases::Message::Copy,
        [&](DBtran* tran) { return mgr.UpdateSNRVolMountPoint(args, ret, tran); });
}

}  // namespace

const ServedCase RemoveMountPointCase =
    cases::Serve<repRemoveMountPointReq, repRemoveMountPointResponse>(&ServeRemoveMountPoint);
const ServedCase AddMountPointCase =
    cases::Serve<repSNRVolumeMountPoint, repAddMountPointResponse>(&ServeAddMountPoint);
const ServedCase UpdateSNRMountPointCase =
    cases::Serve<repSNRVolumeMountPoint, repUpdateSNRVolumeMountPointResp>(&ServeUpdateSNRMountPoint);
