// Argument and result records of device registration, one pair per message
// version, the reply entry of a registered mount point, and the per-version
// accessor that lets one registration body serve every version.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "service/RecordConversion.h"
#include "snr/DeviceMessages.h"
#include "snr/HistoryNames.h"
#include "snr/SNRRecords.h"

// One registered mount point as the result carries it.
struct SNRMountPath_t {
    std::string Path;
    int32_t MountPointId = -1;
};

// Record to wire: the path (null when empty) points into the record, which
// must outlive the wire structure unchanged.
inline void YBSet(repSNRMountPath& dst, const SNRMountPath_t& src)
{
    dst.MountPointId = src.MountPointId;
    dst.Path = YBWireText(src.Path);
}

template <typename Volume, typename Device>
struct AddSNRDeviceArgsOf {
    Volume SNRVolume;
    Device SNRDevice;
    std::vector<SNRVolumeMountPointRecord_t> MountPoints;
};

struct AddSNRDeviceArgs_t : AddSNRDeviceArgsOf<SNRVolumeRecord_t, SNRVolumeDeviceNameRecord_t> {};
struct AddSNRDevice42Args_t : AddSNRDeviceArgsOf<SNRVolumeRecord42_t, SNRVolumeDeviceNameRecord_t> {};
struct AddSNRDeviceV3Args_t : AddSNRDeviceArgsOf<SNRVolumeRecordV3_t, SNRVolumeDeviceNameV2Record_t> {
    MorvaneHistoryNameRecord_t HistoryName;
};
struct AddSNRDeviceV4Args_t : AddSNRDeviceArgsOf<SNRVolumeRecordV4_t, SNRVolumeDeviceNameV3Record_t> {
    MorvaneHistoryNameRecord_t HistoryName;
};
struct AddSNRDeviceV5Args_t : AddSNRDeviceArgsOf<SNRVolumeRecordV4_t, SNRVolumeDeviceNameV4Record_t> {
    MorvaneHistoryNameRecord_t HistoryName;
};

// The ids are written on success, the error code on every failure.
struct AddSNRDeviceRet_t {
    std::string errMsg;
    int32_t SNRVolumeId = 0;
    int32_t DeviceId = 0;
    std::vector<SNRMountPath_t> MountPaths;
    // Devices whose controller the registration activated, in order; left
    // here on success, deactivated and emptied when the registration fails.
    std::vector<int32_t> ActivatedControllers;
};
struct AddSNRDevice42Ret_t : AddSNRDeviceRet_t {};
struct AddSNRDeviceV3Ret_t : AddSNRDeviceRet_t {
    int32_t errCode = 0;
};
struct AddSNRDeviceV4Ret_t : AddSNRDeviceV3Ret_t {};
struct AddSNRDeviceV5Ret_t : AddSNRDeviceV3Ret_t {};

// The history name of the request into the arguments: versions V3 to V5
// carry one, 1 and 42 none.
inline void SetMorvaneRecord(AddSNRDeviceArgs_t&, const repAddSNRDeviceReq&) {}
inline void SetMorvaneRecord(AddSNRDevice42Args_t&, const repAddSNRDevice42Req&) {}
inline void SetMorvaneRecord(AddSNRDeviceV3Args_t& args, const repAddSNRDeviceV3Req& request)
{
    SetMorvaneRecord(args.HistoryName, request.HistoryName);
}
inline void SetMorvaneRecord(AddSNRDeviceV4Args_t& args, const repAddSNRDeviceV4Req& request)
{
    SetMorvaneRecord(args.HistoryName, request.HistoryName);
}
inline void SetMorvaneRecord(AddSNRDeviceV5Args_t& args, const repAddSNRDeviceV5Req& request)
{
    SetMorvaneRecord(args.HistoryName, request.HistoryName);
}

// What the registration reads of a record through the version at hand:
// versions 1 and 42 have no appliance id or history name.
struct AddDeviceDB_t {
    int32_t GetApplianceId(const SNRVolumeRecord_t&) const { return 0; }
    int32_t GetApplianceId(const SNRVolumeRecordV3_t& volume) const { return volume.ApplianceId; }

    std::string GetGlobalHistoryName(const AddSNRDeviceArgs_t&) const { return ""; }
    std::string GetGlobalHistoryName(const AddSNRDevice42Args_t&) const { return ""; }
    std::string GetGlobalHistoryName(const AddSNRDeviceV3Args_t& args) const { return args.HistoryName.GlobalHistoryName; }
    std::string GetGlobalHistoryName(const AddSNRDeviceV4Args_t& args) const { return args.HistoryName.GlobalHistoryName; }
    std::string GetGlobalHistoryName(const AddSNRDeviceV5Args_t& args) const { return args.HistoryName.GlobalHistoryName; }
};
