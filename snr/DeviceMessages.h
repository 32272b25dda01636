// Request and reply structures of device registration (five message
// versions) and of the SNR volume add (four message versions).
#pragma once

#include <cstddef>
#include <cstdint>

#include "snr/SNRRecords.h"

// ---- Device registration ----------------------------------------------------

// One registered mount point of a reply: its id and its path (null when
// empty). The path points into the result of the registration.
struct repSNRMountPath {
    int32_t MountPointId = 0;
    char* Path = nullptr;
};

struct repAddSNRDeviceReq {
    static constexpr bool kHoldsPointers = true;
    repSNRVolume SNRVolume;
    repSNRVolumeDeviceName Device;
    uint32_t MountPointCount = 0;
    repSNRVolumeMountPoint* MountPoints = nullptr;
};

struct repAddSNRDevice42Req {
    static constexpr bool kHoldsPointers = true;
    repSNRVolume42 SNRVolume;
    repSNRVolumeDeviceName Device;
    uint32_t MountPointCount = 0;
    repSNRVolumeMountPoint* MountPoints = nullptr;
};

struct repAddSNRDeviceV3Req {
    static constexpr bool kHoldsPointers = true;
    repSNRVolumeV3 SNRVolume;
    repSNRVolumeDeviceNameV2 Device;
    uint32_t MountPointCount = 0;
    repSNRVolumeMountPoint* MountPoints = nullptr;
    repYBTzHistoryNameRec HistoryName;
};

struct repAddSNRDeviceV4Req {
    static constexpr bool kHoldsPointers = true;
    repSNRVolumeV4 SNRVolume;
    repSNRVolumeDeviceNameV3 Device;
    uint32_t MountPointCount = 0;
    repSNRVolumeMountPoint* MountPoints = nullptr;
    repYBTzHistoryNameRec HistoryName;
};

struct repAddSNRDeviceV5Req {
    static constexpr bool kHoldsPointers = true;
    repSNRVolumeV4 SNRVolume;
    repSNRVolumeDeviceNameV4 Device;
    uint32_t MountPointCount = 0;
    repSNRVolumeMountPoint* MountPoints = nullptr;
    repYBTzHistoryNameRec HistoryName;
};

// Versions 1 and 42 carry no error code.
struct repAddSNRDeviceResponse {
    int32_t status = 0;
    char* errMsg = nullptr;
    int32_t SNRVolumeId = 0;
    int32_t DeviceId = 0;
    uint32_t MountPathCount = 0;
    repSNRMountPath* MountPaths = nullptr;
};
struct repAddSNRDevice42Response : repAddSNRDeviceResponse {};

struct repAddSNRDeviceV3Response {
    int32_t status = 0;
    char* errMsg = nullptr;
    int32_t SNRVolumeId = 0;
    int32_t DeviceId = 0;
    uint32_t MountPathCount = 0;
    repSNRMountPath* MountPaths = nullptr;
    int32_t errCode = 0;
};
struct repAddSNRDeviceV4Response : repAddSNRDeviceV3Response {};
struct repAddSNRDeviceV5Response : repAddSNRDeviceV3Response {};

static_assert(sizeof(repSNRMountPath) == 16, "repSNRMountPath size");
YB_CHECK_FIELD(repSNRMountPath, MountPointId, 0);
YB_CHECK_FIELD(repSNRMountPath, Path, 8);

#define ADD_DEVICE_REQUEST_LAYOUT(T, size, device, count, array)  \
    static_assert(sizeof(T) == (size), #T " size");              \
    YB_CHECK_FIELD(T, SNRVolume, 0);                             \
    YB_CHECK_FIELD(T, Device, device);                           \
    YB_CHECK_FIELD(T, MountPointCount, count);                   \
    YB_CHECK_FIELD(T, MountPoints, array)
ADD_DEVICE_REQUEST_LAYOUT(repAddSNRDeviceReq, 112, 64, 96, 104);
ADD_DEVICE_REQUEST_LAYOUT(repAddSNRDevice42Req, 128, 80, 112, 120);
ADD_DEVICE_REQUEST_LAYOUT(repAddSNRDeviceV3Req, 200, 120, 168, 176);
ADD_DEVICE_REQUEST_LAYOUT(repAddSNRDeviceV4Req, 216, 120, 184, 192);
ADD_DEVICE_REQUEST_LAYOUT(repAddSNRDeviceV5Req, 224, 120, 192, 200);
#undef ADD_DEVICE_REQUEST_LAYOUT
YB_CHECK_FIELD(repAddSNRDeviceV3Req, HistoryName, 184);
YB_CHECK_FIELD(repAddSNRDeviceV4Req, HistoryName, 200);
YB_CHECK_FIELD(repAddSNRDeviceV5Req, HistoryName, 208);

#define ADD_DEVICE_REPLY_LAYOUT(T, size)          \
    static_assert(sizeof(T) == (size), #T " size"); \
    YB_CHECK_FIELD(T, status, 0);                 \
    YB_CHECK_FIELD(T, errMsg, 8);                 \
    YB_CHECK_FIELD(T, SNRVolumeId, 16);           \
    YB_CHECK_FIELD(T, DeviceId, 20);              \
    YB_CHECK_FIELD(T, MountPathCount, 24);        \
    YB_CHECK_FIELD(T, MountPaths, 32)
ADD_DEVICE_REPLY_LAYOUT(repAddSNRDeviceResponse, 40);
ADD_DEVICE_REPLY_LAYOUT(repAddSNRDevice42Response, 40);
ADD_DEVICE_REPLY_LAYOUT(repAddSNRDeviceV3Response, 48);
ADD_DEVICE_REPLY_LAYOUT(repAddSNRDeviceV4Response, 48);
ADD_DEVICE_REPLY_LAYOUT(repAddSNRDeviceV5Response, 48);
#undef ADD_DEVICE_REPLY_LAYOUT
YB_CHECK_FIELD(repAddSNRDeviceV3Response, errCode, 40);
YB_CHECK_FIELD(repAddSNRDeviceV4Response, errCode, 40);
YB_CHECK_FIELD(repAddSNRDeviceV5Response, errCode, 40);

// ---- SNR volume add ---------------------------------------------------------

struct repAddSNRVolumeReq {
    static constexpr bool kHoldsPointers = true;
    repSNRVolume SNRVolume;
};
struct repAddSNRVolume42Req {
    static constexpr bool kHoldsPointers = true;
    repSNRVolume42 SNRVolume;
};
struct repAddSNRVolumeV3Req {
    static constexpr bool kHoldsPointers = true;
    repSNRVolumeV3 SNRVolume;
};
struct repAddSNRVolumeV4Req {
    static constexpr bool kHoldsPointers = true;
    repSNRVolumeV4 SNRVolume;
};

// 24 bytes in every version; versions 1 and 42 have padding where the later
// ones carry the error code.
struct repAddSNRVolumeResp {
    int32_t status = 0;
    char* errMsg = nullptr;
    int32_t volumeId = 0;
};
struct repAddSNRVolume42Resp : repAddSNRVolumeResp {};

struct repAddSNRVolumeV3Resp {
    int32_t status = 0;
    char* errMsg = nullptr;
    int32_t volumeId = 0;
    int32_t errCode = 0;
};
struct repAddSNRVolumeV4Resp : repAddSNRVolumeV3Resp {};

static_assert(sizeof(repAddSNRVolumeReq) == 64, "repAddSNRVolumeReq size");
static_assert(sizeof(repAddSNRVolume42Req) == 80, "repAddSNRVolume42Req size");
static_assert(sizeof(repAddSNRVolumeV3Req) == 120, "repAddSNRVolumeV3Req size");
static_assert(sizeof(repAddSNRVolumeV4Req) == 120, "repAddSNRVolumeV4Req size");

#define ADD_VOLUME_REPLY_LAYOUT(T)            \
    static_assert(sizeof(T) == 24, #T " size"); \
    YB_CHECK_FIELD(T, status, 0);             \
    YB_CHECK_FIELD(T, errMsg, 8);             \
    YB_CHECK_FIELD(T, volumeId, 16)
ADD_VOLUME_REPLY_LAYOUT(repAddSNRVolumeResp);
ADD_VOLUME_REPLY_LAYOUT(repAddSNRVolume42Resp);
ADD_VOLUME_REPLY_LAYOUT(repAddSNRVolumeV3Resp);
ADD_VOLUME_REPLY_LAYOUT(repAddSNRVolumeV4Resp);
#undef ADD_VOLUME_REPLY_LAYOUT
YB_CHECK_FIELD(repAddSNRVolumeV3Resp, errCode, 20);
YB_CHECK_FIELD(repAddSNRVolumeV4Resp, errCode, 20);
