// SNR volume, device, mount-point and history-name records in memory, with
// the flag bits of the rows' Flags columns and the field masks of partial updates.
#pragma once

#include <cstdint>
#include <string>

// ---------------------------------------------------------------------------
// Flag bits of the rows' Flags columns.

// YBPhysicalVolume.Flags
constexpr int32_t SNRVOL_FLAG_BACKUP_FROM_SNAP = 0x1;
constexpr int32_t SNRVOL_FLAG_LOCKED = 0x2;
constexpr int32_t SNRVOL_FLAG_USE_PERM_REPLICA = 0x4;
constexpr int32_t SNRVOL_FLAG_ALLOCATED = 0x8;
constexpr int32_t SNRVOL_FLAG_MORVANE_PROTECTED = 0x10;
constexpr int32_t SNRVOL_FLAG_SHADOW_IMPORTED = 0x20;

// YBPhysicalDevice.Flags
constexpr int32_t SNRDEV_FLAG_IS_CASE_SENSITIVE = 0x1;
constexpr int32_t SNRDEV_FLAG_CONFIGURED = 0x2;
constexpr int32_t SNRDEV_FLAG_FAKE = 0x4;
constexpr int32_t SNRDEV_FLAG_VVM = 0x8;

// YBMountPoint.Flags
constexpr int32_t SNRMNT_FLAG_IS_CASE_SENSITIVE = 0x1;
constexpr int32_t SNRMNT_FLAG_UNMOUNTED = 0x2;

// ---------------------------------------------------------------------------
// Field masks of partial updates; a failed record-to-row conversion returns
// the bit of the field it refused.

constexpr int32_t YB_PVOL_ID = 0x0;
constexpr int32_t YB_PVOL_UNIQUE_ID = 0x1;
constexpr int32_t YB_PVOL_UNIQUE_ID_TYPE = 0x2;
constexpr int32_t YB_PVOL_LUN = 0x4;
constexpr int32_t YB_PVOL_BACKUP_FROM_SNAP = 0x8;
constexpr int32_t YB_PVOL_LOCK = 0x10;
constexpr int32_t YB_PVOL_FSTYPE = 0x20;
constexpr int32_t YB_PVOL_USE_PERM_REPLICA = 0x40;
constexpr int32_t YB_PVOL_UNIQUE_SNAP_ID = 0x80;
constexpr int32_t YB_PVOL_TZSTATE = 0x100;
constexpr int32_t YB_PVOL_TZ_PROTECTED = 0x200;
constexpr int32_t YB_PVOL_APPLIANCE_ID = 0x400;
constexpr int32_t YB_PVOL_COST_ID = 0x800;
constexpr int32_t YB_PVOL_SHADOW_IMPORTED = 0x1000;
constexpr int32_t YB_PVOL_TYPE = 0x2000;
constexpr int32_t YB_PVOL_BLOCK_COUNT = 0x4000;
constexpr int32_t YB_PVOL_START_LBA = 0x8000;

constexpr int32_t YB_DEV_ID = 0x0;
constexpr int32_t YB_DEV_CLIENT_ID = 0x1;
constexpr int32_t YB_DEV_VOL_ID = 0x2;
constexpr int32_t YB_DEV_IS_CASE_SENSITIVE = 0x4;
constexpr int32_t YB_DEV_OS_DEV_NAME = 0x8;
constexpr int32_t YB_DEV_NAME = 0x10;
constexpr int32_t YB_DEV_CONFIGURED = 0x20;
constexpr int32_t YB_DEV_FAKE = 0x40;
constexpr int32_t YB_DEV_VVM = 0x80;
constexpr int32_t YB_DEV_ACCESS_PATH = 0x100;
constexpr int32_t YB_DEV_FILER_CLIENT_ID = 0x200;

// ---------------------------------------------------------------------------
// SNR volume records. 1 and 42 hold StartLBA and BlockCount in 32 bits, V3
// and V4 in 64 bits.

struct SNRVolumeRecord_t {
    int32_t id = -1;
    std::string UniqueId;
    int32_t UniqueIdType = -1;
    int32_t LUN = -1;
    int32_t StartLBA = -1;
    int32_t BlockCount = -1;
    int32_t BlockSize = -1;
    bool BackupFromSnap = false;
    bool Locked = false;
    std::string FSType;
    bool UsePermReplica = false;
};

struct SNRVolumeRecord42_t : SNRVolumeRecord_t {
    std::string UniqueSnapshotID;
    bool Allocated = false;
};

struct SNRVolumeRecordV3_t {
    int32_t id = -1;
    std::string UniqueId;
    int32_t UniqueIdType = -1;
    int32_t LUN = -1;
    int64_t StartLBA = 0;
    int64_t BlockCount = 0;
    int32_t BlockSize = -1;
    bool BackupFromSnap = false;
    bool Locked = false;
    std::string FSType;
    bool UsePermReplica = false;
    std::string UniqueSnapshotID;
    bool Allocated = false;
    bool MorvaneProtected = false;
    int32_t ApplianceId = -1;
    int32_t UpdateMap = 0;
    int32_t TzState = 0;
    int64_t CostCategoryId = 0;
    bool ShadowImported = false;

    // Stores the cost category and marks it in the update map.
    void SetCostCategoryId(int costCategoryId);
};

struct SNRVolumeRecordV4_t : SNRVolumeRecordV3_t {
    int32_t VolType = 0;
};

// ---------------------------------------------------------------------------
// Device records: one client's access to one SNR volume under a device name.

struct SNRVolumeDeviceNameRecord_t {
    int32_t id = -1;
    int32_t ClientId = -1;
    int32_t SNRVolumeId = -1;
    std::string DeviceName;
    bool IsCaseSensitive = false;
};

struct SNRVolumeDeviceNameV2Record_t : SNRVolumeDeviceNameRecord_t {
    std::string OSDeviceName;
    bool Configured = false;
    bool Fake = false;
};

struct SNRVolumeDeviceNameV3Record_t : SNRVolumeDeviceNameV2Record_t {
    bool VVM = false;
    int32_t UpdateMap = 0;
    std::string AccessPath;
};

struct SNRVolumeDeviceNameV4Record_t : SNRVolumeDeviceNameV3Record_t {
    int32_t FilerClientId = 1;

    // Points the device at another SNR volume and marks the volume id in
    // the update map.
    void UpdateSNRVolumeId(int snrVolumeId);
};

// ---------------------------------------------------------------------------
// Mount point of a device, and the global history name of a device of a
// protected volume.

struct SNRVolumeMountPointRecord_t {
    int32_t id = -1;
    int32_t DeviceNameId = -1;
    std::string Path;
    bool IsCaseSensitive = false;
    bool Unmounted = false;
};

struct MorvaneHistoryNameRecord_t {
    int32_t DeviceId = -1;
    std::string GlobalHistoryName;
};
