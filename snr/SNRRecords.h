// SNR volume, device, mount-point and history-name records: the in-memory
// records, the wire structures of the replication protocol, the flag bits of
// the rows' Flags columns, the field masks of partial updates, and the
// YBSet conversions between the three forms.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/db/SNRTables.h"
#include "rows/YBDBDst.h"
#include "service/Utils.h"

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

// The rows the conversions rely on, column by column.
static_assert(sizeof(YBPhysicalVolume_t) == 2496, "YBPhysicalVolume_t size");
YB_CHECK_FIELD(YBPhysicalVolume_t, id, 0);
YB_CHECK_FIELD(YBPhysicalVolume_t, UniqueId, 4);
YB_CHECK_FIELD(YBPhysicalVolume_t, UniqueIdType, 264);
YB_CHECK_FIELD(YBPhysicalVolume_t, LUN, 268);
YB_CHECK_FIELD(YBPhysicalVolume_t, StartLBA, 272);
YB_CHECK_FIELD(YBPhysicalVolume_t, BlockCount, 280);
YB_CHECK_FIELD(YBPhysicalVolume_t, BlockSize, 288);
YB_CHECK_FIELD(YBPhysicalVolume_t, Flags, 292);
YB_CHECK_FIELD(YBPhysicalVolume_t, FSType, 296);
YB_CHECK_FIELD(YBPhysicalVolume_t, UniqueSnapshotID, 425);
YB_CHECK_FIELD(YBPhysicalVolume_t, ApplianceId, 2476);
YB_CHECK_FIELD(YBPhysicalVolume_t, TzState, 2480);
YB_CHECK_FIELD(YBPhysicalVolume_t, CostCategoryId, 2484);
YB_CHECK_FIELD(YBPhysicalVolume_t, Type, 2488);
static_assert(sizeof(YBPhysicalVolume_t::UniqueId) == 257, "UniqueId column");
static_assert(sizeof(YBPhysicalVolume_t::FSType) == 129, "FSType column");
static_assert(sizeof(YBPhysicalVolume_t::UniqueSnapshotID) == 2049, "UniqueSnapshotID column");

static_assert(sizeof(YBPhysicalDevice_t) == 2204, "YBPhysicalDevice_t size");
YB_CHECK_FIELD(YBPhysicalDevice_t, id, 0);
YB_CHECK_FIELD(YBPhysicalDevice_t, ClientId, 4);
YB_CHECK_FIELD(YBPhysicalDevice_t, SNRVolumeId, 8);
YB_CHECK_FIELD(YBPhysicalDevice_t, DeviceName, 12);
YB_CHECK_FIELD(YBPhysicalDevice_t, Flags, 1040);
YB_CHECK_FIELD(YBPhysicalDevice_t, OSDeviceName, 1044);
YB_CHECK_FIELD(YBPhysicalDevice_t, AccessPath, 2069);
YB_CHECK_FIELD(YBPhysicalDevice_t, FilerClientId, 2200);

YB_CHECK_FIELD(YBMountPoint_t, id, 0);
YB_CHECK_FIELD(YBMountPoint_t, DeviceNameId, 4);
YB_CHECK_FIELD(YBMountPoint_t, Path, 8);
YB_CHECK_FIELD(YBMountPoint_t, Flags, 1036);
static_assert(sizeof(YBMountPoint_t) == 1040, "YBMountPoint_t size");

YB_CHECK_FIELD(YBTzHistoryName_t, DeviceId, 0);
YB_CHECK_FIELD(YBTzHistoryName_t, GlobalHistoryName, 4);
YB_CHECK_FIELD(YBTzHistoryName_t, Flags, 1032);
static_assert(sizeof(YBTzHistoryName_t) == 1036, "YBTzHistoryName_t size");

// ---------------------------------------------------------------------------
// Masks and kinds of a record.

int32_t GetUpdateMap(const SNRVolumeRecord_t& record);    // always 0x7f
int32_t GetUpdateMap(const SNRVolumeRecord42_t& record);  // always 0xff
int32_t GetUpdateMap(const SNRVolumeRecordV3_t& record);  // UpdateMap, or GetFields when 0
int32_t GetUpdateMap(const SNRVolumeRecordV4_t& record);
int32_t GetFields(const SNRVolumeRecordV3_t& record);     // 0x1fff
int32_t GetFields(const SNRVolumeRecordV4_t& record);     // 0x3fff, 0xffff for a NAS volume

bool isNasVolume(const SNRVolumeRecord_t& record);
bool isNasVolume(const SNRVolumeRecordV3_t& record);
bool isNasVolume(const SNRVolumeRecordV4_t& record);      // VolType 2 to 6

bool GetMorvaneProtected(const SNRVolumeRecord_t& record);
bool GetMorvaneProtected(const SNRVolumeRecordV3_t& record);
int32_t GetMorvaneState(const SNRVolumeRecord_t& record);
int32_t GetMorvaneState(const SNRVolumeRecordV3_t& record);

int32_t GetUpdateMap(const SNRVolumeDeviceNameRecord_t& record);    // always 0x1f
int32_t GetUpdateMap(const SNRVolumeDeviceNameV3Record_t& record);  // UpdateMap, or GetFields when 0
int32_t GetUpdateMap(const SNRVolumeDeviceNameV4Record_t& record);
int32_t GetFields(const SNRVolumeDeviceNameV3Record_t& record);     // 0x1ff
int32_t GetFields(const SNRVolumeDeviceNameV4Record_t& record);     // 0x3ff

// ---------------------------------------------------------------------------
// Conversions.

// Wire to record.
void YBSet(SNRVolumeRecord_t& dst, const repSNRVolume& src);
void YBSet(SNRVolumeRecord42_t& dst, const repSNRVolume42& src);
void YBSet(SNRVolumeRecordV3_t& dst, const repSNRVolumeV3& src);
void YBSet(SNRVolumeRecordV4_t& dst, const repSNRVolumeV4& src);
void YBSet(SNRVolumeDeviceNameRecord_t& dst, const repSNRVolumeDeviceName& src);
void YBSet(SNRVolumeDeviceNameV2Record_t& dst, const repSNRVolumeDeviceNameV2& src);
void YBSet(SNRVolumeDeviceNameV3Record_t& dst, const repSNRVolumeDeviceNameV3& src);
void YBSet(SNRVolumeDeviceNameV4Record_t& dst, const repSNRVolumeDeviceNameV4& src);
void YBSet(SNRVolumeMountPointRecord_t& dst, const repSNRVolumeMountPoint& src);
void YBSet(MorvaneHistoryNameRecord_t& dst, const repYBTzHistoryNameRec& src);

// Record to wire: the texts point into the record, which must outlive the
// wire structure unchanged.
void YBSet(repSNRVolume& dst, const SNRVolumeRecord_t& src);
void YBSet(repSNRVolume42& dst, const SNRVolumeRecord42_t& src);
void YBSet(repSNRVolumeV3& dst, const SNRVolumeRecordV3_t& src);
void YBSet(repSNRVolumeV4& dst, const SNRVolumeRecordV4_t& src);
void YBSet(repSNRVolumeDeviceName& dst, const SNRVolumeDeviceNameRecord_t& src);
void YBSet(repSNRVolumeDeviceNameV2& dst, const SNRVolumeDeviceNameV2Record_t& src);
void YBSet(repSNRVolumeDeviceNameV3& dst, const SNRVolumeDeviceNameV3Record_t& src);
void YBSet(repSNRVolumeDeviceNameV4& dst, const SNRVolumeDeviceNameV4Record_t& src);
void YBSet(repSNRVolumeMountPoint& dst, const SNRVolumeMountPointRecord_t& src);
void YBSet(repYBTzHistoryNameRec& dst, const MorvaneHistoryNameRecord_t& src);

// Table row to record.
void YBSet(SNRVolumeRecord_t& dst, const YBPhysicalVolume_t& src);
void YBSet(SNRVolumeRecord42_t& dst, const YBPhysicalVolume_t& src);
void YBSet(SNRVolumeRecordV3_t& dst, const YBPhysicalVolume_t& src);
void YBSet(SNRVolumeRecordV4_t& dst, const YBPhysicalVolume_t& src);
void YBSet(SNRVolumeDeviceNameRecord_t& dst, const YBPhysicalDevice_t& src);
void YBSet(SNRVolumeDeviceNameV2Record_t& dst, const YBPhysicalDevice_t& src);
void YBSet(SNRVolumeDeviceNameV3Record_t& dst, const YBPhysicalDevice_t& src);
void YBSet(SNRVolumeDeviceNameV4Record_t& dst, const YBPhysicalDevice_t& src);
void YBSet(SNRVolumeMountPointRecord_t& dst, const YBMountPoint_t& src);

// Cursor row to record: the SNR volume cursors, the device cursors by client,
// by pool and by SNR volume, and the mount-point cursors.
struct YBGetSNRVolInfoByClientId_t;
struct YBGetSNRVolInfoByPoolId_t;
struct YBGetSNRVolumeById_t;
struct YBGetSNRDeviceByClientId_t;
struct YBGetSNRDeviceByPoolId_t;
struct YBGetSNRDeviceNameBySNRVolId_t;
struct YBGetSNRMountPointByClientId_t;
struct YBGetSNRMountPointByPoolId_t;
struct YBGetSNRMountPointBySNRDevId_t;

void YBSet(SNRVolumeRecord_t& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(SNRVolumeRecord42_t& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(SNRVolumeRecordV3_t& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(SNRVolumeRecordV4_t& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(SNRVolumeRecord_t& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(SNRVolumeRecord42_t& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(SNRVolumeRecordV3_t& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(SNRVolumeRecordV4_t& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(SNRVolumeRecord_t& dst, const YBGetSNRVolumeById_t& src);
void YBSet(SNRVolumeRecord42_t& dst, const YBGetSNRVolumeById_t& src);
void YBSet(SNRVolumeRecordV3_t& dst, const YBGetSNRVolumeById_t& src);
void YBSet(SNRVolumeRecordV4_t& dst, const YBGetSNRVolumeById_t& src);
void YBSet(SNRVolumeDeviceNameRecord_t& dst, const YBGetSNRDeviceByClientId_t& src);
void YBSet(SNRVolumeDeviceNameV2Record_t& dst, const YBGetSNRDeviceByClientId_t& src);
void YBSet(SNRVolumeDeviceNameV3Record_t& dst, const YBGetSNRDeviceByClientId_t& src);
void YBSet(SNRVolumeDeviceNameV4Record_t& dst, const YBGetSNRDeviceByClientId_t& src);
void YBSet(SNRVolumeDeviceNameRecord_t& dst, const YBGetSNRDeviceByPoolId_t& src);
void YBSet(SNRVolumeDeviceNameV2Record_t& dst, const YBGetSNRDeviceByPoolId_t& src);
void YBSet(SNRVolumeDeviceNameV3Record_t& dst, const YBGetSNRDeviceByPoolId_t& src);
void YBSet(SNRVolumeDeviceNameV4Record_t& dst, const YBGetSNRDeviceByPoolId_t& src);
void YBSet(SNRVolumeDeviceNameRecord_t& dst, const YBGetSNRDeviceNameBySNRVolId_t& src);
void YBSet(SNRVolumeDeviceNameV2Record_t& dst, const YBGetSNRDeviceNameBySNRVolId_t& src);
void YBSet(SNRVolumeDeviceNameV3Record_t& dst, const YBGetSNRDeviceNameBySNRVolId_t& src);
void YBSet(SNRVolumeDeviceNameV4Record_t& dst, const YBGetSNRDeviceNameBySNRVolId_t& src);
void YBSet(SNRVolumeMountPointRecord_t& dst, const YBGetSNRMountPointByClientId_t& src);
void YBSet(SNRVolumeMountPointRecord_t& dst, const YBGetSNRMountPointByPoolId_t& src);
void YBSet(SNRVolumeMountPointRecord_t& dst, const YBGetSNRMountPointBySNRDevId_t& src);

// Record to row for an insert: overwrites only the record's columns; never
// writes id nor the Locked and Allocated bits; tests no length (the callers
// do) but never writes past a column.
void YBSet(YBPhysicalVolume_t& dst, const SNRVolumeRecord_t& src);
void YBSet(YBPhysicalVolume_t& dst, const SNRVolumeRecord42_t& src);
void YBSet(YBPhysicalVolume_t& dst, const SNRVolumeRecordV3_t& src);
void YBSet(YBPhysicalVolume_t& dst, const SNRVolumeRecordV4_t& src);
void YBSet(YBMountPoint_t& dst, const SNRVolumeMountPointRecord_t& src);

// Record to row for an update, with length checks: 0, or the field-mask bit
// of the text that is too long (code -18 and its message in the destination).
int YBSet(YBDBDst_t<YBPhysicalVolume_t>& dst, const SNRVolumeRecord_t& src);
int YBSet(YBDBDst_t<YBPhysicalVolume_t>& dst, const SNRVolumeRecord42_t& src);
int YBSet(YBDBDst_t<YBPhysicalVolume_t>& dst, const SNRVolumeRecordV3_t& src);
int YBSet(YBDBDst_t<YBPhysicalVolume_t>& dst, const SNRVolumeRecordV4_t& src);

// Record to device row, with length checks: false when a text is too long.
bool YBSet(YBDBDst_t<YBPhysicalDevice_t>& dst, const SNRVolumeDeviceNameRecord_t& src);
bool YBSet(YBDBDst_t<YBPhysicalDevice_t>& dst, const SNRVolumeDeviceNameV2Record_t& src);
bool YBSet(YBDBDst_t<YBPhysicalDevice_t>& dst, const SNRVolumeDeviceNameV3Record_t& src);
bool YBSet(YBDBDst_t<YBPhysicalDevice_t>& dst, const SNRVolumeDeviceNameV4Record_t& src);

// List forms: one record appended per row.
void YBSet(std::vector<SNRVolumeRecord_t>& dst, const YBPhysicalVolume_t& src);
void YBSet(std::vector<SNRVolumeRecord42_t>& dst, const YBPhysicalVolume_t& src);
void YBSet(std::vector<SNRVolumeRecordV3_t>& dst, const YBPhysicalVolume_t& src);
void YBSet(std::vector<SNRVolumeRecordV4_t>& dst, const YBPhysicalVolume_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameRecord_t>& dst, const YBPhysicalDevice_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameV2Record_t>& dst, const YBPhysicalDevice_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameV3Record_t>& dst, const YBPhysicalDevice_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameV4Record_t>& dst, const YBPhysicalDevice_t& src);
void YBSet(std::vector<SNRVolumeMountPointRecord_t>& dst, const YBMountPoint_t& src);
void YBSet(std::vector<SNRVolumeRecord_t>& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(std::vector<SNRVolumeRecord42_t>& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(std::vector<SNRVolumeRecordV3_t>& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(std::vector<SNRVolumeRecordV4_t>& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(std::vector<SNRVolumeRecord_t>& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(std::vector<SNRVolumeRecord42_t>& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(std::vector<SNRVolumeRecordV3_t>& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(std::vector<SNRVolumeRecordV4_t>& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(std::vector<SNRVolumeRecord_t>& dst, const YBGetSNRVolumeById_t& src);
void YBSet(std::vector<SNRVolumeRecord42_t>& dst, const YBGetSNRVolumeById_t& src);
void YBSet(std::vector<SNRVolumeRecordV3_t>& dst, const YBGetSNRVolumeById_t& src);
void YBSet(std::vector<SNRVolumeRecordV4_t>& dst, const YBGetSNRVolumeById_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameRecord_t>& dst, const YBGetSNRDeviceByClientId_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameV2Record_t>& dst, const YBGetSNRDeviceByClientId_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameV3Record_t>& dst, const YBGetSNRDeviceByClientId_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameV4Record_t>& dst, const YBGetSNRDeviceByClientId_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameRecord_t>& dst, const YBGetSNRDeviceByPoolId_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameV2Record_t>& dst, const YBGetSNRDeviceByPoolId_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameV3Record_t>& dst, const YBGetSNRDeviceByPoolId_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameV4Record_t>& dst, const YBGetSNRDeviceByPoolId_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameRecord_t>& dst, const YBGetSNRDeviceNameBySNRVolId_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameV2Record_t>& dst, const YBGetSNRDeviceNameBySNRVolId_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameV3Record_t>& dst, const YBGetSNRDeviceNameBySNRVolId_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameV4Record_t>& dst, const YBGetSNRDeviceNameBySNRVolId_t& src);
void YBSet(std::vector<SNRVolumeMountPointRecord_t>& dst, const YBGetSNRMountPointByClientId_t& src);
void YBSet(std::vector<SNRVolumeMountPointRecord_t>& dst, const YBGetSNRMountPointByPoolId_t& src);
void YBSet(std::vector<SNRVolumeMountPointRecord_t>& dst, const YBGetSNRMountPointBySNRDevId_t& src);

// List forms: element i of the array from record i, in order.
void YBSet(repSNRVolume* dst, const std::vector<SNRVolumeRecord_t>& src);
void YBSet(repSNRVolume42* dst, const std::vector<SNRVolumeRecord42_t>& src);
void YBSet(repSNRVolumeV3* dst, const std::vector<SNRVolumeRecordV3_t>& src);
void YBSet(repSNRVolumeV4* dst, const std::vector<SNRVolumeRecordV4_t>& src);
void YBSet(repSNRVolumeDeviceName* dst, const std::vector<SNRVolumeDeviceNameRecord_t>& src);
void YBSet(repSNRVolumeDeviceNameV2* dst, const std::vector<SNRVolumeDeviceNameV2Record_t>& src);
void YBSet(repSNRVolumeDeviceNameV3* dst, const std::vector<SNRVolumeDeviceNameV3Record_t>& src);
void YBSet(repSNRVolumeDeviceNameV4* dst, const std::vector<SNRVolumeDeviceNameV4Record_t>& src);
void YBSet(repSNRVolumeMountPoint* dst, const std::vector<SNRVolumeMountPointRecord_t>& src);

// Reply arrays, one instance per wire type (compiled once, in the library).
extern template bool CopyVectorToMsg(repSNRVolume**, const std::vector<SNRVolumeRecord_t>&);
extern template bool CopyVectorToMsg(repSNRVolume42**, const std::vector<SNRVolumeRecord42_t>&);
extern template bool CopyVectorToMsg(repSNRVolumeV3**, const std::vector<SNRVolumeRecordV3_t>&);
extern template bool CopyVectorToMsg(repSNRVolumeV4**, const std::vector<SNRVolumeRecordV4_t>&);
extern template bool CopyVectorToMsg(repSNRVolumeDeviceName**, const std::vector<SNRVolumeDeviceNameRecord_t>&);
extern template bool CopyVectorToMsg(repSNRVolumeDeviceNameV2**, const std::vector<SNRVolumeDeviceNameV2Record_t>&);
extern template bool CopyVectorToMsg(repSNRVolumeDeviceNameV3**, const std::vector<SNRVolumeDeviceNameV3Record_t>&);
extern template bool CopyVectorToMsg(repSNRVolumeDeviceNameV4**, const std::vector<SNRVolumeDeviceNameV4Record_t>&);
extern template bool CopyVectorToMsg(repSNRVolumeMountPoint**, const std::vector<SNRVolumeMountPointRecord_t>&);
