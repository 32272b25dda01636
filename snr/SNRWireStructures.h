// The wire structures of the SNR volume, device, mount-point and history-name
// messages of the replication protocol, each pinned to its size and field offsets.
#pragma once

#include <cstddef>
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

#define YB_CHECK_FIELD(Type, field, offset) \
    static_assert(offsetof(Type, field) == (offset), #Type "." #field " offset")

static_assert(sizeof(repSNRVolume) == 64, "repSNRVolume size");
YB_CHECK_FIELD(repSNRVolume, id, 0);
YB_CHECK_FIELD(repSNRVolume, UniqueId, 8);
YB_CHECK_FIELD(repSNRVolume, UniqueIdType, 16);
YB_CHECK_FIELD(repSNRVolume, LUN, 20);
YB_CHECK_FIELD(repSNRVolume, StartLBA, 24);
YB_CHECK_FIELD(repSNRVolume, BlockCount, 28);
YB_CHECK_FIELD(repSNRVolume, BlockSize, 32);
YB_CHECK_FIELD(repSNRVolume, BackupFromSnap, 36);
YB_CHECK_FIELD(repSNRVolume, Locked, 40);
YB_CHECK_FIELD(repSNRVolume, FSType, 48);
YB_CHECK_FIELD(repSNRVolume, UsePermReplica, 56);

static_assert(sizeof(repSNRVolume42) == 80, "repSNRVolume42 size");
YB_CHECK_FIELD(repSNRVolume42, id, 0);
YB_CHECK_FIELD(repSNRVolume42, UniqueId, 8);
YB_CHECK_FIELD(repSNRVolume42, UniqueIdType, 16);
YB_CHECK_FIELD(repSNRVolume42, LUN, 20);
YB_CHECK_FIELD(repSNRVolume42, StartLBA, 24);
YB_CHECK_FIELD(repSNRVolume42, BlockCount, 28);
YB_CHECK_FIELD(repSNRVolume42, BlockSize, 32);
YB_CHECK_FIELD(repSNRVolume42, BackupFromSnap, 36);
YB_CHECK_FIELD(repSNRVolume42, Locked, 40);
YB_CHECK_FIELD(repSNRVolume42, FSType, 48);
YB_CHECK_FIELD(repSNRVolume42, UsePermReplica, 56);
YB_CHECK_FIELD(repSNRVolume42, UniqueSnapshotID, 64);
YB_CHECK_FIELD(repSNRVolume42, Allocated, 72);

static_assert(sizeof(repSNRVolumeV3) == 120, "repSNRVolumeV3 size");
YB_CHECK_FIELD(repSNRVolumeV3, id, 0);
YB_CHECK_FIELD(repSNRVolumeV3, UniqueId, 8);
YB_CHECK_FIELD(repSNRVolumeV3, UniqueIdType, 16);
YB_CHECK_FIELD(repSNRVolumeV3, LUN, 20);
YB_CHECK_FIELD(repSNRVolumeV3, StartLBA, 24);
YB_CHECK_FIELD(repSNRVolumeV3, BlockCount, 32);
YB_CHECK_FIELD(repSNRVolumeV3, BlockSize, 40);
YB_CHECK_FIELD(repSNRVolumeV3, BackupFromSnap, 44);
YB_CHECK_FIELD(repSNRVolumeV3, Locked, 48);
YB_CHECK_FIELD(repSNRVolumeV3, FSType, 56);
YB_CHECK_FIELD(repSNRVolumeV3, UsePermReplica, 64);
YB_CHECK_FIELD(repSNRVolumeV3, UniqueSnapshotID, 72);
YB_CHECK_FIELD(repSNRVolumeV3, Allocated, 80);
YB_CHECK_FIELD(repSNRVolumeV3, MorvaneProtected, 84);
YB_CHECK_FIELD(repSNRVolumeV3, ApplianceId, 88);
YB_CHECK_FIELD(repSNRVolumeV3, UpdateMap, 92);
YB_CHECK_FIELD(repSNRVolumeV3, TzState, 96);
YB_CHECK_FIELD(repSNRVolumeV3, CostCategoryId, 104);
YB_CHECK_FIELD(repSNRVolumeV3, ShadowImported, 112);

static_assert(sizeof(repSNRVolumeV4) == 120, "repSNRVolumeV4 size");
YB_CHECK_FIELD(repSNRVolumeV4, id, 0);
YB_CHECK_FIELD(repSNRVolumeV4, UniqueId, 8);
YB_CHECK_FIELD(repSNRVolumeV4, UniqueIdType, 16);
YB_CHECK_FIELD(repSNRVolumeV4, LUN, 20);
YB_CHECK_FIELD(repSNRVolumeV4, StartLBA, 24);
YB_CHECK_FIELD(repSNRVolumeV4, BlockCount, 32);
YB_CHECK_FIELD(repSNRVolumeV4, BlockSize, 40);
YB_CHECK_FIELD(repSNRVolumeV4, BackupFromSnap, 44);
YB_CHECK_FIELD(repSNRVolumeV4, Locked, 48);
YB_CHECK_FIELD(repSNRVolumeV4, FSType, 56);
YB_CHECK_FIELD(repSNRVolumeV4, UsePermReplica, 64);
YB_CHECK_FIELD(repSNRVolumeV4, UniqueSnapshotID, 72);
YB_CHECK_FIELD(repSNRVolumeV4, Allocated, 80);
YB_CHECK_FIELD(repSNRVolumeV4, MorvaneProtected, 84);
YB_CHECK_FIELD(repSNRVolumeV4, ApplianceId, 88);
YB_CHECK_FIELD(repSNRVolumeV4, UpdateMap, 92);
YB_CHECK_FIELD(repSNRVolumeV4, TzState, 96);
YB_CHECK_FIELD(repSNRVolumeV4, CostCategoryId, 104);
YB_CHECK_FIELD(repSNRVolumeV4, ShadowImported, 112);
YB_CHECK_FIELD(repSNRVolumeV4, VolType, 116);

static_assert(sizeof(repSNRVolumeDeviceName) == 32, "repSNRVolumeDeviceName size");
static_assert(sizeof(repSNRVolumeDeviceNameV2) == 48, "repSNRVolumeDeviceNameV2 size");
static_assert(sizeof(repSNRVolumeDeviceNameV3) == 64, "repSNRVolumeDeviceNameV3 size");
static_assert(sizeof(repSNRVolumeDeviceNameV4) == 72, "repSNRVolumeDeviceNameV4 size");
YB_CHECK_FIELD(repSNRVolumeDeviceName, id, 0);
YB_CHECK_FIELD(repSNRVolumeDeviceName, ClientId, 4);
YB_CHECK_FIELD(repSNRVolumeDeviceName, SNRVolumeId, 8);
YB_CHECK_FIELD(repSNRVolumeDeviceName, DeviceName, 16);
YB_CHECK_FIELD(repSNRVolumeDeviceName, IsCaseSensitive, 24);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV2, id, 0);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV2, ClientId, 4);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV2, SNRVolumeId, 8);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV2, DeviceName, 16);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV2, IsCaseSensitive, 24);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV2, OSDeviceName, 32);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV2, Configured, 40);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV2, Fake, 44);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV3, id, 0);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV3, ClientId, 4);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV3, SNRVolumeId, 8);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV3, DeviceName, 16);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV3, IsCaseSensitive, 24);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV3, OSDeviceName, 32);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV3, Configured, 40);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV3, Fake, 44);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV3, VVM, 48);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV3, UpdateMap, 52);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV3, AccessPath, 56);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV4, id, 0);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV4, ClientId, 4);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV4, SNRVolumeId, 8);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV4, DeviceName, 16);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV4, IsCaseSensitive, 24);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV4, OSDeviceName, 32);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV4, Configured, 40);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV4, Fake, 44);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV4, VVM, 48);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV4, UpdateMap, 52);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV4, AccessPath, 56);
YB_CHECK_FIELD(repSNRVolumeDeviceNameV4, FilerClientId, 64);

static_assert(sizeof(repSNRVolumeMountPoint) == 24, "repSNRVolumeMountPoint size");
YB_CHECK_FIELD(repSNRVolumeMountPoint, id, 0);
YB_CHECK_FIELD(repSNRVolumeMountPoint, DeviceNameId, 4);
YB_CHECK_FIELD(repSNRVolumeMountPoint, Path, 8);
YB_CHECK_FIELD(repSNRVolumeMountPoint, IsCaseSensitive, 16);
YB_CHECK_FIELD(repSNRVolumeMountPoint, Unmounted, 20);

static_assert(sizeof(repYBTzHistoryNameRec) == 16, "repYBTzHistoryNameRec size");
YB_CHECK_FIELD(repYBTzHistoryNameRec, DeviceId, 0);
YB_CHECK_FIELD(repYBTzHistoryNameRec, GlobalHistoryName, 8);
