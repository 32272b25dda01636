// Device maintenance: the update of chosen columns of a device row, and the
// configure (a new name, the old one kept as the OS device name, the
// configured mark) and unconfigure (the OS device name back as the name) of a
// device, with their request handlers and inline case. Each keeps the client's
// device names unique, an update moves a device only to a stored SNR volume,
// and each works inside the caller's transaction and takes no lock.
#include "snr/DeviceMaintenance.h"

#include <cstring>
#include <string>
#include <type_traits>
#include <utility>

#include "host/db/DBtable.h"
#include "host/db/SNRTables.h"
#include "host/db/SqlText.h"
#include "service/ErrorCodes.h"
#include "service/RecordConversion.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/ResultCode.h"
#include "service/SourceNames.h"
#include "service/TranHandle.h"
#include "snr/DeviceNameRule.h"
#include "snr/SNRCases.h"

namespace {

template <typename T, typename = void>
struct HasOSDeviceName : std::false_type {};
template <typename T>
struct HasOSDeviceName<T, std::void_t<decltype(std::declval<T&>().OSDeviceName)>> : std::true_type {};

template <typename T, typename = void>
struct HasVVM : std::false_type {};
template <typename T>
struct HasVVM<T, std::void_t<decltype(std::declval<T&>().VVM)>> : std::true_type {};

// The record's VVM mark; false for a version without one.
template <typename Record>
bool RecordVVM(const Record& record)
{
    if constexpr (HasVVM<Record>::value)
        return record.VVM;
    else
        return false;
}

// The update mask bits that carry one bit of Flags each.
struct FlagOfMask {
    int32_t maskBit;
    int32_t flagBit;
};
const FlagOfMask FlagsOfMask[] = {
    {YB_DEV_IS_CASE_SENSITIVE, SNRDEV_FLAG_IS_CASE_SENSITIVE},
    {YB_DEV_CONFIGURED, SNRDEV_FLAG_CONFIGURED},
    {YB_DEV_FAKE, SNRDEV_FLAG_FAKE},
    {YB_DEV_VVM, SNRDEV_FLAG_VVM},
};

// The SET text of an update: "Flags = " + flags, then one item per mask bit
// in column order, with the values of the converted row. A version 1 record
// carries no OS device name: its mask names the column, but the stored name
// is kept.
template <typename Record>
std::string DeviceUpdateText(int32_t mask, int32_t flags, const YBPhysicalDevice_t& row)
{
    std::string text = "Flags = " + std::to_string(flags);
    if (mask & YB_DEV_NAME) text += ", DeviceName = '" + SqlEscape(YBColumnText(row.DeviceName)) + "'";
    if ((mask & YB_DEV_CLIENT_ID) && row.ClientId > 0) text += ", ClientId = " + std::to_string(row.ClientId);
    if ((mask & YB_DEV_VOL_ID) && row.SNRVolumeId > 0) text += ", SNRVolumeId = " + std::to_string(row.SNRVolumeId);
    if ((mask & YB_DEV_OS_DEV_NAME) && HasOSDeviceName<Record>::value)
        text += ", OSDeviceName = '" + SqlEscape(YBColumnText(row.OSDeviceName)) + "'";
    if (mask & YB_DEV_ACCESS_PATH) text += ", AccessPath ='" + SqlEscape(YBColumnText(row.AccessPath)) + "'";
    if (mask & YB_DEV_FILER_CLIENT_ID) text += ", FilerClientId = " + std::to_string(row.FilerClientId);
    return text;
}

// Reads the stored row of the device into `row` (zeroed first). A missing
// row is refused with -3 "Device record not found", any other failure with
// -4 and `failedText`.
template <typename Ret>
bool ReadStoredDevice(ReplicationMgr& mgr, Ret& ret, int id, YBPhysicalDevice_t& row, DBtran* tran,
                      const char* failedText, const char* function)
{
    std::memset(static_cast<void*>(&row), 0, sizeof row);
    CSNRVolumeDeviceNameDB deviceDB;
    if (deviceDB.getInfo(id, row, tran)) return true;
    const int code = deviceDB.getErrorCode();
    if (code == DB_NO_MORE_ROWS)
        return steps::Fail(mgr, ret, kErrNotFound, "Device record not found", "\n\tDevice ID = " + std::to_string(id),
                           ProgNameUpdates, function, __LINE__);
    return steps::Fail(mgr, ret, kErrDatabase, failedText,
                       "\n\tCSNRVolumeDeviceNameDB::getInfo() failed\n\tDevice ID = " + std::to_string(id) +
                           "\n\tDB Err Code = " + std::to_string(code),
                       ProgNameUpdates, function, __LINE__);
}

// The record into a device row; a text too long for its column is refused
// with the conversion's text and code (-18).
template <typename Record, typename Ret>
bool ConvertDevice(ReplicationMgr& mgr, Ret& ret, const Record& record, YBPhysicalDevice_t& row, const char* function)
{
    YBDBDst_t<YBPhysicalDevice_t> dst(row, ret.errMsg);
    if (YBSet(dst, record)) return true;
    SetErrCode(ret, dst.errCode);
    mgr.log() << "\tEvent: " << ret.errMsg << "\n\tSNR Volume Device Name ID = " << record.id;
    mgr.WriteLogMsg(ProgNameUpdates, function, __LINE__, ReplicationMgr::ERR);
    return false;
}

// A device moves only to a stored SNR volume: a volume id that no stored
// volume has is refused with -3, a failed read of the volume with -4.
template <typename Ret>
bool RefuseUnstoredVolume(ReplicationMgr& mgr, Ret& ret, int deviceId, int volumeId, DBtran* tran,
                          const char* function)
{
    YBPhysicalVolume_t volume;
    std::memset(static_cast<void*>(&volume), 0, sizeof volume);
    CSNRVolumeDB volumeDB;
    if (volumeDB.getInfo(volumeId, volume, tran)) return true;
    const int code = volumeDB.getErrorCode();
    if (code == DB_NO_MORE_ROWS)
        return steps::Fail(mgr, ret, kErrNotFound, "SNR Volume record not found",
                           "\n\tSNR Volume Device Name ID = " + std::to_string(deviceId) +
                               "\n\tSNR Volume ID = " + std::to_string(volumeId),
                           ProgNameUpdates, function, __LINE__);
    return steps::Fail(mgr, ret, kErrDatabase, "Cannot access SNR Volume information from the database",
                       "\n\tCSNRVolumeDB::getInfo() failed\n\tSNR Volume Device Name ID = " + std::to_string(deviceId) +
                           "\n\tSNR Volume ID = " + std::to_string(volumeId) + "\n\tDB Err Code = " +
                           std::to_string(code),
                       ProgNameUpdates, function, __LINE__);
}

// Writes the SET text to the device's row. Success is logged at MSG as
// "has been <done>..."; a missing row is refused with -3, any other failure
// with -4 (the database code among the details when `withDbCode`).
template <typename Ret>
bool WriteDevice(ReplicationMgr& mgr, Ret& ret, int id, const std::string& set, DBtran* tran, const char* done,
                 bool withDbCode, const char* function)
{
    CSNRVolumeDeviceNameDB deviceDB;
    if (!deviceDB.Update(id, set.c_str(), tran)) {
        const int code = deviceDB.getErrorCode();
        if (code == DB_NO_MORE_ROWS)
            return steps::Fail(mgr, ret, kErrNotFound, "Record not found in the database", "", ProgNameUpdates,
                               function, __LINE__);
        std::string details = "\n\tParameters used: \n\tSNR Volume device name id: " + std::to_string(id) +
                              "\n\tsUpdate = " + EvDebug::escaped(set) + "\n\tTran = 0x" + steps::TranHandle(tran);
        if (withDbCode) details += "\n\tDB Err Code = " + std::to_string(code);
        return steps::Fail(mgr, ret, kErrDatabase, "Could not update device name information", details, ProgNameUpdates,
                           function, __LINE__);
    }
    mgr.log() << "\tSNR Volume device name " << id << " has been " << done << "...";
    mgr.WriteLogMsg(ProgNameUpdates, function, __LINE__, ReplicationMgr::MSG);
    ret.errMsg = "";
    return true;
}

}  // namespace

template <typename Args, typename Ret>
bool ReplicationMgr::UpdateSNRDeviceDB(const Args& args, Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::UpdateSNRDeviceDB()";
    const int id = args.id;

    if (id < 1)
        return steps::Fail(*this, ret, kErrInvalidId, "Cannot update device with invalid id",
                           "\n\tSNR Volume Device Name ID = " + std::to_string(id), ProgNameUpdates, Fn, __LINE__);

    const int32_t mask = GetUpdateMap(args);
    if ((mask & YB_DEV_NAME) && args.DeviceName.empty())
        return steps::Fail(*this, ret, kErrMissingInput, "Device name cannot be empty",
                           "\n\tSNR Volume Device Name ID = " + std::to_string(id), ProgNameUpdates, Fn, __LINE__);

    YBPhysicalDevice_t stored;
    if (!ReadStoredDevice(*this, ret, id, stored, tran, "Failure reading device information from DB", Fn)) return false;
    int32_t flags = stored.Flags;

    // The record's name must stay unique for the record's client, whatever the mask.
    const snr_detail::DeviceNameCheck name = snr_detail::CheckDeviceName(args.ClientId, args.DeviceName, id, tran);
    if (!name.listed)
        return snr_detail::RefuseUnlistedDeviceNames(*this, ret, args.ClientId, args.DeviceName, name.dbCode,
                                                     ProgNameUpdates, Fn, __LINE__);
    if (name.taken)
        return snr_detail::RefuseTakenDeviceName(*this, ret, args.ClientId, args.DeviceName, name.caseSensitive,
                                                 ProgNameUpdates, Fn, __LINE__);

    // Texts too long for their columns are refused before anything is written.
    YBPhysicalDevice_t row;
    if (!ConvertDevice(*this, ret, args, row, Fn)) return false;

    if ((mask & YB_DEV_VOL_ID) && row.SNRVolumeId > 0 &&
        !RefuseUnstoredVolume(*this, ret, id, row.SNRVolumeId, tran, Fn))
        return false;

    for (const FlagOfMask& bit : FlagsOfMask)
        if (mask & bit.maskBit) YBSetFlagBit(flags, bit.flagBit, YBFlagBit(row.Flags, bit.flagBit));

    return WriteDevice(*this, ret, id, DeviceUpdateText<Args>(mask, flags, row), tran, "updated", false, Fn);
}

template <typename Args, typename Ret>
bool ReplicationMgr::ConfigureDeviceDB(const Args& args, Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::ConfigureDeviceDB()";
    const int id = args.id;

    if (id < 1)
        return steps::Fail(*this, ret, kErrInvalidId, "Cannot configure device with invalid id",
                           "\n\tSNR Volume Device Name ID = " + std::to_string(id), ProgNameUpdates, Fn, __LINE__);

    YBPhysicalDevice_t stored;
    if (!ReadStoredDevice(*this, ret, id, stored, tran, "DB failure reading device information", Fn)) return false;
    const std::string oldName = YBColumnText(stored.DeviceName);

    YBPhysicalDevice_t row;
    if (!ConvertDevice(*this, ret, args, row, Fn)) return false;

    const std::string& newName = args.DeviceName;
    if (!newName.empty()) {
        const snr_detail::DeviceNameCheck name = snr_detail::CheckDeviceName(row.ClientId, newName, id, tran);
        if (!name.listed && name.dbCode != DB_NO_MORE_ROWS)
            return snr_detail::RefuseUnlistedDeviceNames(*this, ret, row.ClientId, newName, name.dbCode,
                                                         ProgNameUpdates, Fn, __LINE__);
        if (name.taken)
            return snr_detail::RefuseTakenDeviceName(*this, ret, row.ClientId, newName, name.caseSensitive,
                                                     ProgNameUpdates, Fn, __LINE__);
    }

    // A configure marks the device and can set its VVM mark; it clears no bit.
    int32_t flags = stored.Flags | SNRDEV_FLAG_CONFIGURED;
    if (RecordVVM(args)) flags |= SNRDEV_FLAG_VVM;

    std::string set = "Flags = " + std::to_string(flags);
    if (!newName.empty())
        set += ", DeviceName = '" + SqlEscape(newName) + "', OSDeviceName = '" + SqlEscape(oldName) + "'";
    return WriteDevice(*this, ret, id, set, tran, "configured", true, Fn);
}

bool ReplicationMgr::UnconfigureDevice(const UnconfigureDeviceArgs_t& args, UnconfigureDeviceRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::UnConfigureDevice()";
    const int id = args.DeviceId;

    if (id < 1)
        return steps::Fail(*this, ret, kErrInvalidId, "Cannot deconfigure device with invalid id",
                           "\n\tSNR Volume Device Name ID = " + std::to_string(id), ProgNameUpdates, Fn, __LINE__);

    YBPhysicalDevice_t stored;
    if (!ReadStoredDevice(*this, ret, id, stored, tran, "DB failure reading device information", Fn)) return false;
    const int32_t flags = stored.Flags & ~SNRDEV_FLAG_CONFIGURED;
    const std::string osName = YBColumnText(stored.OSDeviceName);

    // The restored name must be free among all the client's devices, this
    // one's own row included.
    if (!osName.empty()) {
        const snr_detail::DeviceNameCheck name = snr_detail::CheckDeviceName(stored.ClientId, osName, 0, tran);
        if (!name.listed && name.dbCode != DB_NO_MORE_ROWS)
            return snr_detail::RefuseUnlistedDeviceNames(*this, ret, stored.ClientId, osName, name.dbCode,
                                                         ProgNameUpdates, Fn, __LINE__);
        if (name.taken)
            return snr_detail::RefuseTakenDeviceName(*this, ret, stored.ClientId, osName, name.caseSensitive,
                                                     ProgNameUpdates, Fn, __LINE__);
    }

    std::string set = "Flags = " + std::to_string(flags);
    if (!osName.empty()) set += ", DeviceName = '" + SqlEscape(osName) + "', OSDeviceName = ''";
    return WriteDevice(*this, ret, id, set, tran, "deconfigured", true, Fn);
}

bool ReplicationMgr::UpdateSNRDevice(const UpdateSNRDeviceArgs_t& args, UpdateSNRDeviceRet_t& ret, DBtran* tran)
{
    return UpdateSNRDeviceDB(args, ret, tran);
}
bool ReplicationMgr::UpdateSNRDevice(const UpdateSNRDeviceV3Args_t& args, UpdateSNRDeviceV3Ret_t& ret, DBtran* tran)
{
    return UpdateSNRDeviceDB(args, ret, tran);
}
bool ReplicationMgr::UpdateSNRDevice(const UpdateSNRDeviceV4Args_t& args, UpdateSNRDeviceV4Ret_t& ret, DBtran* tran)
{
    return UpdateSNRDeviceDB(args, ret, tran);
}

bool ReplicationMgr::ConfigureDevice(const ConfigureDeviceArgs_t& args, ConfigureDeviceRet_t& ret, DBtran* tran)
{
    return ConfigureDeviceDB(args, ret, tran);
}
bool ReplicationMgr::ConfigureDevice(const ConfigureDeviceV2Args_t& args, ConfigureDeviceV2Ret_t& ret, DBtran* tran)
{
    return ConfigureDeviceDB(args, ret, tran);
}
bool ReplicationMgr::ConfigureDevice(const ConfigureDeviceV3Args_t& args, ConfigureDeviceV3Ret_t& ret, DBtran* tran)
{
    return ConfigureDeviceDB(args, ret, tran);
}

// ---- Request handlers ----------------------------------------------------------

namespace {

// The request (the wire device record of the version) into the arguments,
// the operation in the handler's own transaction, and the status reply.
template <typename Req, typename Reply, typename Args, typename Ret, typename Operation>
void ServeDeviceWrite(ReplicationMgr& mgr, const char* function, unsigned long requestCode, unsigned long replyCode,
                      zxsDatabuf* buf, Operation&& operation)
{
    Args args;
    Ret ret;
    YBSet(args, cases::RequestOf<Req>(buf));
    AnswerByHandler<Reply>(
        mgr, function, requestCode, replyCode, true, ret, [&](DBtran* tran) { return operation(args, ret, tran); },
        cases::NoReplyFields(), cases::Unstarted::Nothing);
}

}  // namespace

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::UpdateSNRDeviceHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    ServeDeviceWrite<Req, Reply, Args, Ret>(
        *this, "ReplicationMgr::UpdateSNRDeviceHandler()", requestCode, replyCode, buf,
        [this](const Args& args, Ret& ret, DBtran* tran) { return UpdateSNRDevice(args, ret, tran); });
}

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::ConfigureDeviceHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    ServeDeviceWrite<Req, Reply, Args, Ret>(
        *this, "ReplicationMgr::ConfigureDeviceHandler()", requestCode, replyCode, buf,
        [this](const Args& args, Ret& ret, DBtran* tran) { return ConfigureDevice(args, ret, tran); });
}

// ---- Request cases ----------------------------------------------------------------

namespace {

// The reply's message is a copy of the result's text, freed after the send.
void ServeUnconfigureDevice(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    UnconfigureDeviceArgs_t args;
    UnconfigureDeviceRet_t ret;
    args.DeviceId = cases::RequestOf<repUnconfigureDeviceReq>(buf).DeviceId;
    AnswerInlineTranCase<repUnconfigureDeviceResp>(
        mgr, code, ret, cases::Order::A, cases::Message::Copy,
        [&](DBtran* tran) { return mgr.UnconfigureDevice(args, ret, tran); });
}

}  // namespace

const ServedCase UpdateSNRDeviceCaseV1 =
    SERVE_HANDLER_CASE(UpdateSNRDeviceHandler, repUpdateSNRDeviceNameReq, repUpdateSNRDeviceNameResp,
                       UpdateSNRDeviceArgs_t, UpdateSNRDeviceRet_t);
const ServedCase UpdateSNRDeviceCaseV3 =
    SERVE_HANDLER_CASE(UpdateSNRDeviceHandler, repUpdateSNRDeviceNameV3Req, repUpdateSNRDeviceNameV3Resp,
                       UpdateSNRDeviceV3Args_t, UpdateSNRDeviceV3Ret_t);
const ServedCase UpdateSNRDeviceCaseV4 =
    SERVE_HANDLER_CASE(UpdateSNRDeviceHandler, repUpdateSNRDeviceNameV4Req, repUpdateSNRDeviceNameV4Resp,
                       UpdateSNRDeviceV4Args_t, UpdateSNRDeviceV4Ret_t);
const ServedCase ConfigureDeviceCaseV1 =
    SERVE_HANDLER_CASE(ConfigureDeviceHandler, repConfigureDeviceReq, repConfigureDeviceResp, ConfigureDeviceArgs_t,
                       ConfigureDeviceRet_t);
const ServedCase ConfigureDeviceCaseV2 =
    SERVE_HANDLER_CASE(ConfigureDeviceHandler, repConfigureDeviceV2Req, repConfigureDeviceV2Resp,
                       ConfigureDeviceV2Args_t, ConfigureDeviceV2Ret_t);
const ServedCase ConfigureDeviceCaseV3 =
    SERVE_HANDLER_CASE(ConfigureDeviceHandler, repConfigureDeviceV3Req, repConfigureDeviceV3Resp,
                       ConfigureDeviceV3Args_t, ConfigureDeviceV3Ret_t);
const ServedCase UnconfigureDeviceCase =
    cases::Serve<repUnconfigureDeviceReq, repUnconfigureDeviceResp>(&ServeUnconfigureDevice);
