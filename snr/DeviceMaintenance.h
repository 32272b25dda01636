// Argument and result records and the request and reply structures of the
// device maintenance: the update of chosen columns of a device, and the
// configure and unconfigure of a device.
#pragma once

#include <cstdint>
#include <string>

#include "snr/SNRRecords.h"

// ---- Arguments and results ----------------------------------------------------

// The update's record chooses its columns with its update mask (GetUpdateMap).
struct UpdateSNRDeviceArgs_t : SNRVolumeDeviceNameRecord_t {};
struct UpdateSNRDeviceV3Args_t : SNRVolumeDeviceNameV3Record_t {};
struct UpdateSNRDeviceV4Args_t : SNRVolumeDeviceNameV4Record_t {};

// id: the device; DeviceName: the new name; ClientId: the client whose names
// must stay unique. From V2 on, VVM can set the stored bit.
struct ConfigureDeviceArgs_t : SNRVolumeDeviceNameV2Record_t {};
struct ConfigureDeviceV2Args_t : SNRVolumeDeviceNameV3Record_t {};
struct ConfigureDeviceV3Args_t : SNRVolumeDeviceNameV4Record_t {};

struct UnconfigureDeviceArgs_t {
    int32_t DeviceId = -1;
};

// The code is set on failure.
struct DeviceMaintenanceRet_t {
    std::string errMsg;
    int32_t errCode = 0;
};
struct UpdateSNRDeviceRet_t : DeviceMaintenanceRet_t {};
struct UpdateSNRDeviceV3Ret_t : DeviceMaintenanceRet_t {};
struct UpdateSNRDeviceV4Ret_t : DeviceMaintenanceRet_t {};
struct ConfigureDeviceRet_t : DeviceMaintenanceRet_t {};
struct ConfigureDeviceV2Ret_t : DeviceMaintenanceRet_t {};
struct ConfigureDeviceV3Ret_t : DeviceMaintenanceRet_t {};
struct UnconfigureDeviceRet_t : DeviceMaintenanceRet_t {};

// ---- Requests -------------------------------------------------------------------

// An update or a configure request is the wire device record of its version.
using repUpdateSNRDeviceNameReq = repSNRVolumeDeviceName;
using repUpdateSNRDeviceNameV3Req = repSNRVolumeDeviceNameV3;
using repUpdateSNRDeviceNameV4Req = repSNRVolumeDeviceNameV4;
using repConfigureDeviceReq = repSNRVolumeDeviceNameV2;
using repConfigureDeviceV2Req = repSNRVolumeDeviceNameV3;
using repConfigureDeviceV3Req = repSNRVolumeDeviceNameV4;

struct repUnconfigureDeviceReq {
    int32_t DeviceId;
};

// ---- Replies (status 1 succeeded, 0 failed; the message null on success) ---------

struct repUpdateSNRDeviceNameResp {
    int32_t status;
    char* errMsg;
    int32_t errCode;
};
using repUpdateSNRDeviceNameV3Resp = repUpdateSNRDeviceNameResp;
using repUpdateSNRDeviceNameV4Resp = repUpdateSNRDeviceNameResp;

struct repConfigureDeviceResp {
    int32_t status;
    int32_t errCode;
    char* errMsg;
};
using repConfigureDeviceV2Resp = repConfigureDeviceResp;
using repConfigureDeviceV3Resp = repConfigureDeviceResp;
using repUnconfigureDeviceResp = repConfigureDeviceResp;
