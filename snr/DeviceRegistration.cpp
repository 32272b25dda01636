// Device registration: a client makes one of its devices known with the SNR
// volume it sits on, its mount points and (from message version V3 on) the
// global history name of a protected volume.
#include "snr/DeviceRegistration.h"

#include <cstdlib>
#include <cstring>

#include "host/ZXMMDBDeviceInfo.h"
#include "host/db/DBtable.h"
#include "host/db/SNRTables.h"
#include "service/ErrorCodes.h"
#include "service/ReplicationMgr.h"
#include "host/db/SqlText.h"
#include "service/SourceNames.h"
#include "service/TableLock.h"
#include "service/Utils.h"
#include "service/TransactionBeforeLock.h"
#include "snr/DeviceNameRule.h"
#include "snr/DeviceRegistrationSteps.h"
#include "snr/MountPoints.h"
#include "service/RecordConversion.h"
#include "snr/SNRCases.h"
#include "snr/SNRVolumeAdd.h"
#include "service/Refusals.h"
#include "service/ReplyArray.h"
#include "service/ResultCode.h"
#include "service/TranHandle.h"
#include "snr/SNRVolumeIdentity.h"

namespace {

const char AddDeviceDBFn[] = "ReplicationMgr::AddDeviceDB()";

// A refusal of the registration: "\tEvent: " + text + details at ERR.
template <typename Ret>
bool Refuse(ReplicationMgr& mgr, Ret& ret, int code, const std::string& text, const std::string& details, long line)
{
    return steps::Fail(mgr, ret, code, text, details, ProgNameInserts, AddDeviceDBFn, line);
}

}  // namespace

template <typename Args, typename Ret>
bool ReplicationMgr::AddDeviceDB(const Args& args, Ret& ret, DBtran* tran)
{
    AddDeviceDB_t version;
    const auto& volume = args.SNRVolume;
    const auto& device = args.SNRDevice;

    CSNRVolumeDB volumeDB;
    CSNRVolumeDeviceNameDB deviceDB;
    CSNRVolumeMountPointDB mountPointDB;
    YBPhysicalDevice_t deviceRow;  // cleared by its conversion

    if (tran == nullptr)
        return RunWithTransactionBeforeLock(ret, [&](DBtran* own) { return AddDeviceDB(args, ret, own); });
    LockTableRet_t lock;
    if (!LockTable(LockTableArgs_t(ADDDEVICE_LOCK), lock)) {
        ret.errMsg = lock.m_sErrorMsg;
        SetErrCode(ret, lock.m_nErrorCode);
        return false;
    }
    HeldTableLock held(*this, lock);

    if (volume.UniqueId.empty())
        return Refuse(*this, ret, kErrMissingInput, "UniquedId field cannot be empty", "", __LINE__);

    const int32_t applianceId = version.GetApplianceId(volume);
    if (applianceId < 0)
        return Refuse(*this, ret, kErrInvalidId, "Volume has an incorrect appliance ID",
                      "\n\tAppliance ID = " + std::to_string(applianceId), __LINE__);

    const bool morvaneProtected = GetMorvaneProtected(volume);
    const int32_t tzState = GetMorvaneState(volume);
    if (volume.BlockSize < 0 || volume.LUN < 0 || (morvaneProtected && tzState == 0))
        return Refuse(*this, ret, kErrMissingInput, "Invalid input for volume detected",
                      "\n\tBlockSize          = " + std::to_string(volume.BlockSize) +
                          "\n\tLUN                = " + std::to_string(volume.LUN) + "\n\tMorvaneProtected  = " +
                          (morvaneProtected ? "true" : "false") + "\n\tState              = " + std::to_string(tzState),
                      __LINE__);

    const char* const orderBy = "id ASC";

    if (device.DeviceName.empty())
        return Refuse(*this, ret, kErrMissingInput, "Device name cannot be empty", "", __LINE__);

    // A path longer than the column would be cut when stored; refused before
    // anything is written or any controller is activated.
    for (const SNRVolumeMountPointRecord_t& mountPoint : args.MountPoints) {
        if (mountPoint.Path.size() > kMaxMountPathLength)
            return Refuse(*this, ret, kErrTooLong, MountPathTooLongErrMsg,
                          "\n\tPath length = " + std::to_string(mountPoint.Path.size()), __LINE__);
    }

    // Duplicate device name of the client.
    if (volume.UniqueIdType != 11 && volume.UniqueIdType != 13) {
        const snr_detail::DeviceNameCheck name = snr_detail::CheckDeviceName(device.ClientId, device.DeviceName, 0, tran);
        if (!name.listed)
            return snr_detail::RefuseUnlistedDeviceNames(*this, ret, device.ClientId, device.DeviceName, name.dbCode,
                                                         ProgNameInserts, AddDeviceDBFn, __LINE__);
        if (name.taken)
            return snr_detail::RefuseTakenDeviceName(*this, ret, device.ClientId, device.DeviceName,
                                                     name.caseSensitive, ProgNameInserts, AddDeviceDBFn, __LINE__);
    }

    // The volume with the same identity, or a new one. The lookup reads
    // outside the caller's transaction.
    const std::string identity = SNRVolumeIdentityWhere(volume);
    YBPhysicalVolume_t* volumes = nullptr;
    unsigned int volumeCount = 0;
    if (!volumeDB.getList(volumes, volumeCount, identity.c_str(), orderBy, nullptr)) {
        volumeDB.deleteList(volumes);
        return Refuse(*this, ret, kErrDatabase, "Cannot access volume information",
                      std::string("\n\tCSNRVolumeDB::getList() failed") + "\n\tParameters used:" +
                          "\n\tsWhere      = " + EvDebug::escaped(identity) + "\n\tsOrderBy    = " + orderBy +
                          "\n\tDB Err Code = " + std::to_string(volumeDB.getErrorCode()),
                      __LINE__);
    }
    if (volumeCount > 0) {
        ret.SNRVolumeId = volumes[0].id;
        volumeDB.deleteList(volumes);
        m_LogMsg << "\tAn SNR Volume record found where " << EvDebug::escaped(identity) << "\n\tThe Id of that record is "
                 << ret.SNRVolumeId;
        WriteLogMsg(ProgNameInserts, AddDeviceDBFn, __LINE__, MSG);
    } else {
        m_LogMsg << "\tNo SNR Volume record found where " << EvDebug::escaped(identity) << "\n\tCreating a new one...";
        WriteLogMsg(ProgNameInserts, AddDeviceDBFn, __LINE__, MSG);

        // Texts too long for their columns are refused, not cut.
        std::string tooLong;
        int32_t code = 0;
        const int field = CheckVolumeTextLengths(volume, tooLong, code);
        if (field == YB_PVOL_UNIQUE_ID) {
            m_LogMsg << "\tFailed to add SNR Volume record as uniqueid " << EvDebug::escaped(volume.UniqueId)
                     << "\t is longer then 256 charecters";
            WriteLogMsg(ProgNameInserts, AddDeviceDBFn, __LINE__, MSG);
            ret.errMsg = tooLong;
            SetErrCode(ret, code);
            return false;
        }
        if (field != 0) return Refuse(*this, ret, code, tooLong, "", __LINE__);

        YBPhysicalVolume_t volumeRow;
        YBSet(volumeRow, volume);
        if (!volumeDB.insert(volumeRow, tran))
            return Refuse(
                *this, ret, kErrDatabase, "Cannot include volume information in the database",
                "\n\tCSNRVolumeDB::insert() failed\n\tDB Err Code = " + std::to_string(volumeDB.getErrorCode()),
                __LINE__);
        ret.SNRVolumeId = volumeRow.id;
        m_LogMsg << "\tID of new SNR Volume record: " << ret.SNRVolumeId;
        WriteLogMsg(ProgNameInserts, AddDeviceDBFn, __LINE__, MSG);
    }

    // The device row, its texts checked against their columns.
    YBDBDst_t<YBPhysicalDevice_t> deviceDst(deviceRow, ret.errMsg);
    if (!YBSet(deviceDst, device)) {
        SetErrCode(ret, deviceDst.errCode);
        m_LogMsg << "\tEvent: " << ret.errMsg;
        WriteLogMsg(ProgNameInserts, AddDeviceDBFn, __LINE__, ERR);
        return false;
    }
    deviceRow.SNRVolumeId = ret.SNRVolumeId;

    const int unique = CheckUniquenessInDeviceTbl(deviceRow.ClientId, ret.SNRVolumeId, ret.errMsg, tran);
    if (unique != 0) {
        SetErrCode(ret, unique);
        return false;
    }

    if (!deviceDB.insert(deviceRow, tran))
        return Refuse(
            *this, ret, kErrDatabase, "Cannot include device information in the database",
            "\n\tCSNRVolumeDeviceNameDB::insert() failed\n\tDB Err Code = " + std::to_string(deviceDB.getErrorCode()),
            __LINE__);
    ret.DeviceId = deviceRow.id;
    m_LogMsg << "\tDevice name " << EvDebug::escaped(device.DeviceName) << " was added"
             << "\n\tID of new device: " << ret.DeviceId;
    WriteLogMsg(ProgNameInserts, AddDeviceDBFn, __LINE__, MSG);

    const std::string historyName = version.GetGlobalHistoryName(args);
    if (!historyName.empty()) {
        AddMorvaneVolHistoryNameArgs_t historyArgs;
        historyArgs.record.DeviceId = ret.DeviceId;
        historyArgs.record.GlobalHistoryName = historyName;
        AddMorvaneVolHistoryNameRet_t historyRet;
        if (!AddTzGlobalHistoryName(historyArgs, historyRet, tran)) {
            SetErrCode(ret, historyRet.errCode);
            ret.errMsg = historyRet.errMsg;
            return false;
        }
    }
    snr_detail::ActivatedControllers activated(*this, ret.ActivatedControllers, tran, ProgNameInserts, AddDeviceDBFn);
    for (const SNRVolumeMountPointRecord_t& mountPoint : args.MountPoints) {
        if (mountPoint.Path.empty())
            return Refuse(*this, ret, kErrMissingInput, "Volume mount point path cannot be empty", "", __LINE__);

        YBMountPoint_t mountPointRow;
        std::memset(static_cast<void*>(&mountPointRow), 0, sizeof mountPointRow);
        YBSet(mountPointRow, mountPoint);
        mountPointRow.DeviceNameId = ret.DeviceId;

        if (!mountPointDB.insert(mountPointRow, tran))
            return Refuse(*this, ret, kErrDatabase, "Could not add mount points to the database",
                          "\n\tCSNRVolumeMountPointDB::insert() failed\n\tDB Err Code = " +
                              std::to_string(mountPointDB.getErrorCode()),
                          __LINE__);
        SNRMountPath_t entry;
        entry.MountPointId = mountPointRow.id;
        m_LogMsg << "\tMount Point " << EvDebug::escaped(mountPoint.Path) << " was added"
                 << "\n\tID of new mount point is: " << entry.MountPointId;
        WriteLogMsg(ProgNameInserts, AddDeviceDBFn, __LINE__, MSG);

        ZXMMDBDeviceInfo deviceLayer;
        if (deviceLayer.activateControllerBySNRVolId(ret.DeviceId, tran) != 0) {
            char lastError[2048];
            deviceLayer.getLastError(lastError, sizeof lastError);
            return Refuse(*this, ret, kErrController, lastError,
                          "\n\tZXMMDBDeviceInfo::activateControllerBySNRVolId() failed", __LINE__);
        }
        activated.add(ret.DeviceId);

        entry.Path = YBColumnText(mountPointRow.Path);
        ret.MountPaths.push_back(entry);
    }

    activated.keep();
    ret.errMsg = "";
    return true;
}

void snr_detail::DeactivateControllers(ReplicationMgr& mgr, std::vector<int32_t>& devices, DBtran* tran,
                                       const char* source, const char* function)
{
    for (auto it = devices.rbegin(); it != devices.rend(); ++it) {
        ZXMMDBDeviceInfo deviceLayer;
        if (deviceLayer.deactivateControllerBySNRVolId(*it, tran) == 0) continue;
        char lastError[2048];
        deviceLayer.getLastError(lastError, sizeof lastError);
        mgr.log() << "\tEvent: Cannot deactivate the controller of device " << *it << " after its registration failed"
                  << "\n\t" << lastError << "\n\tZXMMDBDeviceInfo::deactivateControllerBySNRVolId() failed";
        mgr.WriteLogMsg(source, function, __LINE__, ReplicationMgr::ERR);
    }
    devices.clear();
}

int ReplicationMgr::CheckUniquenessInDeviceTbl(int clientId, int snrVolumeId, std::string& errMsg, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::CheckUniquenessInDeviceTbl()";
    CSNRVolumeDeviceNameDB deviceDB;
    const std::string where = "ClientId = " + std::to_string(clientId) + " AND SNRVolumeId = " +
                              std::to_string(snrVolumeId);
    unsigned int count = 0;
    if (!deviceDB.getNRows(where.c_str(), count, tran)) {
        errMsg = "Cannot check device uniqueness condition";
        m_LogMsg << "\tEvent: " << errMsg << "\n\tYBPhysicalDevice_t::getNRows() failed"
                 << "\n\tsWhere = " << where << "\n\tTran = 0x" << steps::TranHandle(tran)
                 << "\n\tDB Err Code = " << deviceDB.getErrorCode();
        WriteLogMsg(ProgNameUtils, Fn, __LINE__, ERR);
        return kErrDatabase;
    }
    if (count != 0) {
        errMsg = "Device with the same client id and volume id is already in the database";
        m_LogMsg << "\tEvent: " << errMsg << "\n\tsWhere = " << where << "\n\tNRows = " << count;
        WriteLogMsg(ProgNameUtils, Fn, __LINE__, ERR);
        return kErrNotUnique;
    }
    return 0;
}

bool ReplicationMgr::AddSNRDevice(const AddSNRDeviceArgs_t& args, AddSNRDeviceRet_t& ret, DBtran* tran)
{
    return AddDeviceDB(args, ret, tran);
}
bool ReplicationMgr::AddSNRDevice(const AddSNRDevice42Args_t& args, AddSNRDevice42Ret_t& ret, DBtran* tran)
{
    return AddDeviceDB(args, ret, tran);
}
bool ReplicationMgr::AddSNRDevice(const AddSNRDeviceV3Args_t& args, AddSNRDeviceV3Ret_t& ret, DBtran* tran)
{
    return AddDeviceDB(args, ret, tran);
}
bool ReplicationMgr::AddSNRDevice(const AddSNRDeviceV4Args_t& args, AddSNRDeviceV4Ret_t& ret, DBtran* tran)
{
    return AddDeviceDB(args, ret, tran);
}
bool ReplicationMgr::AddSNRDevice(const AddSNRDeviceV5Args_t& args, AddSNRDeviceV5Ret_t& ret, DBtran* tran)
{
    return AddDeviceDB(args, ret, tran);
}

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::AddDeviceHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    const Req& request = cases::RequestOf<Req>(buf);
    Args args;
    Ret ret;
    AutoFreeMem_t mountPathArray;

    YBSet(args.SNRVolume, request.SNRVolume);
    YBSet(args.SNRDevice, request.Device);
    SetMorvaneRecord(args, request);

    if (request.MountPoints != nullptr) {
        for (uint32_t i = 0; i < request.MountPointCount; ++i) YBAppendFromRow(args.MountPoints, request.MountPoints[i]);
    }

    static const char Fn[] = "ReplicationMgr::AddDeviceHandler()";
    DBtran* requestTran = nullptr;
    AnswerByHandler<Reply>(
        *this, Fn, requestCode, replyCode, true, ret,
        [&](DBtran* tran) {
            requestTran = tran;
            return AddSNRDevice(args, ret, tran);
        },
        [&](Reply& r) {
            r.SNRVolumeId = ret.SNRVolumeId;
            r.DeviceId = ret.DeviceId;
            return steps::CopyListToReply(mountPathArray, r.MountPaths, r.MountPathCount, ret.MountPaths);
        },
        cases::Unstarted::Nothing,
        // The registration's rows are not kept: neither are its controllers.
        [&]() {
            snr_detail::DeactivateControllers(*this, ret.ActivatedControllers, requestTran, cases::ProgName, Fn);
        });
}

// ---- Request cases, one per message version ---------------------------------

const ServedCase AddDeviceCaseV1 =
    SERVE_HANDLER_CASE(AddDeviceHandler, repAddSNRDeviceReq, repAddSNRDeviceResponse, AddSNRDeviceArgs_t,
                       AddSNRDeviceRet_t);
const ServedCase AddDeviceCase42 =
    SERVE_HANDLER_CASE(AddDeviceHandler, repAddSNRDevice42Req, repAddSNRDevice42Response, AddSNRDevice42Args_t,
                       AddSNRDevice42Ret_t);
const ServedCase AddDeviceCaseV3 =
    SERVE_HANDLER_CASE(AddDeviceHandler, repAddSNRDeviceV3Req, repAddSNRDeviceV3Response, AddSNRDeviceV3Args_t,
                       AddSNRDeviceV3Ret_t);
const ServedCase AddDeviceCaseV4 =
    SERVE_HANDLER_CASE(AddDeviceHandler, repAddSNRDeviceV4Req, repAddSNRDeviceV4Response, AddSNRDeviceV4Args_t,
                       AddSNRDeviceV4Ret_t);
const ServedCase AddDeviceCaseV5 =
    SERVE_HANDLER_CASE(AddDeviceHandler, repAddSNRDeviceV5Req, repAddSNRDeviceV5Response, AddSNRDeviceV5Args_t,
                       AddSNRDeviceV5Ret_t);
