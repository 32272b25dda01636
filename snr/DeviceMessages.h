// Request and reply structures of device registration (five message
// versions) and of the SNR volume add (four message versions).
#pragma once

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
