// The wire structures of the SNR volume, device, mount-point and history-name
// messages of the replication protocol; their sizes and field offsets are
// pinned in snr/SNRWireLayouts.cpp.
#pragma once

#include <cstdint>

// ---------------------------------------------------------------------------
// Wire structures (host byte order; a text is a pointer to a NUL-terminated
// string, null for an empty text; a boolean is a 32-bit 1 or 0). A newly
// made wire structure is all zeros.

struct repSNRVolume {
    int32_t id = 0;
    char* UniqueId = nullptr;
    int32_t UniqueIdType = 0;
    int32_t LUN = 0;
    int32_t StartLBA = 0;
    int32_t BlockCount = 0;
    int32_t BlockSize = 0;
    int32_t BackupFromSnap = 0;
    int32_t Locked = 0;
    char* FSType = nullptr;
    int32_t UsePermReplica = 0;
};

struct repSNRVolume42 {
    int32_t id = 0;
    char* UniqueId = nullptr;
    int32_t UniqueIdType = 0;
    int32_t LUN = 0;
    int32_t StartLBA = 0;
    int32_t BlockCount = 0;
    int32_t BlockSize = 0;
    int32_t BackupFromSnap = 0;
    int32_t Locked = 0;
    char* FSType = nullptr;
    int32_t UsePermReplica = 0;
    char* UniqueSnapshotID = nullptr;
    int32_t Allocated = 0;
};

struct repSNRVolumeV3 {
    int32_t id = 0;
    char* UniqueId = nullptr;
    int32_t UniqueIdType = 0;
    int32_t LUN = 0;
    int64_t StartLBA = 0;
    int64_t BlockCount = 0;
    int32_t BlockSize = 0;
    int32_t BackupFromSnap = 0;
    int32_t Locked = 0;
    char* FSType = nullptr;
    int32_t UsePermReplica = 0;
    char* UniqueSnapshotID = nullptr;
    int32_t Allocated = 0;
    int32_t MorvaneProtected = 0;
    int32_t ApplianceId = 0;
    int32_t UpdateMap = 0;
    int32_t TzState = 0;
    int64_t CostCategoryId = 0;
    int32_t ShadowImported = 0;
};

struct repSNRVolumeV4 {
    int32_t id = 0;
    char* UniqueId = nullptr;
    int32_t UniqueIdType = 0;
    int32_t LUN = 0;
    int64_t StartLBA = 0;
    int64_t BlockCount = 0;
    int32_t BlockSize = 0;
    int32_t BackupFromSnap = 0;
    int32_t Locked = 0;
    char* FSType = nullptr;
    int32_t UsePermReplica = 0;
    char* UniqueSnapshotID = nullptr;
    int32_t Allocated = 0;
    int32_t MorvaneProtected = 0;
    int32_t ApplianceId = 0;
    int32_t UpdateMap = 0;
    int32_t TzState = 0;
    int64_t CostCategoryId = 0;
    int32_t ShadowImported = 0;
    int32_t VolType = 0;
};

struct repSNRVolumeDeviceName {
    static constexpr bool kHoldsPointers = true;
    int32_t id = 0;
    int32_t ClientId = 0;
    int32_t SNRVolumeId = 0;
    char* DeviceName = nullptr;
    int32_t IsCaseSensitive = 0;
};

struct repSNRVolumeDeviceNameV2 {
    static constexpr bool kHoldsPointers = true;
    int32_t id = 0;
    int32_t ClientId = 0;
    int32_t SNRVolumeId = 0;
    char* DeviceName = nullptr;
    int32_t IsCaseSensitive = 0;
    char* OSDeviceName = nullptr;
    int32_t Configured = 0;
    int32_t Fake = 0;
};

struct repSNRVolumeDeviceNameV3 {
    static constexpr bool kHoldsPointers = true;
    int32_t id = 0;
    int32_t ClientId = 0;
    int32_t SNRVolumeId = 0;
    char* DeviceName = nullptr;
    int32_t IsCaseSensitive = 0;
    char* OSDeviceName = nullptr;
    int32_t Configured = 0;
    int32_t Fake = 0;
    int32_t VVM = 0;
    int32_t UpdateMap = 0;
    char* AccessPath = nullptr;
};

struct repSNRVolumeDeviceNameV4 {
    static constexpr bool kHoldsPointers = true;
    int32_t id = 0;
    int32_t ClientId = 0;
    int32_t SNRVolumeId = 0;
    char* DeviceName = nullptr;
    int32_t IsCaseSensitive = 0;
    char* OSDeviceName = nullptr;
    int32_t Configured = 0;
    int32_t Fake = 0;
    int32_t VVM = 0;
    int32_t UpdateMap = 0;
    char* AccessPath = nullptr;
    int32_t FilerClientId = 0;
};

struct repSNRVolumeMountPoint {
    static constexpr bool kHoldsPointers = true;
    int32_t id = 0;
    int32_t DeviceNameId = 0;
    char* Path = nullptr;
    int32_t IsCaseSensitive = 0;
    int32_t Unmounted = 0;
};

struct repYBTzHistoryNameRec {
    static constexpr bool kHoldsPointers = true;
    int32_t DeviceId = 0;
    char* GlobalHistoryName = nullptr;
};
