#include "host/db/SNRTables.h"

#include <cstring>

namespace {

const DBEntityColumn kVolumeColumns[] = {
    DB_ENTITY_COLUMN(YBPhysicalVolume_t, id, DB_COL_INT32, true, true),
    DB_ENTITY_COLUMN(YBPhysicalVolume_t, UniqueId, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBPhysicalVolume_t, UniqueIdType, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBPhysicalVolume_t, LUN, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBPhysicalVolume_t, StartLBA, DB_COL_INT64, false, false),
    DB_ENTITY_COLUMN(YBPhysicalVolume_t, BlockCount, DB_COL_INT64, false, false),
    DB_ENTITY_COLUMN(YBPhysicalVolume_t, BlockSize, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBPhysicalVolume_t, Flags, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBPhysicalVolume_t, FSType, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBPhysicalVolume_t, UniqueSnapshotID, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBPhysicalVolume_t, ApplianceId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBPhysicalVolume_t, TzState, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBPhysicalVolume_t, CostCategoryId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBPhysicalVolume_t, Type, DB_COL_INT32, false, false),
};

const DBEntityColumn kDeviceColumns[] = {
    DB_ENTITY_COLUMN(YBPhysicalDevice_t, id, DB_COL_INT32, true, true),
    DB_ENTITY_COLUMN(YBPhysicalDevice_t, ClientId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBPhysicalDevice_t, SNRVolumeId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBPhysicalDevice_t, DeviceName, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBPhysicalDevice_t, Flags, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBPhysicalDevice_t, OSDeviceName, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBPhysicalDevice_t, AccessPath, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBPhysicalDevice_t, FilerClientId, DB_COL_INT32, false, false),
};

const DBEntityColumn kMountPointColumns[] = {
    DB_ENTITY_COLUMN(YBMountPoint_t, id, DB_COL_INT32, true, true),
    DB_ENTITY_COLUMN(YBMountPoint_t, DeviceNameId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBMountPoint_t, Path, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBMountPoint_t, Flags, DB_COL_INT32, false, false),
};

const DBEntityColumn kHistoryNameColumns[] = {
    DB_ENTITY_COLUMN(YBTzHistoryName_t, DeviceId, DB_COL_INT32, true, false),
    DB_ENTITY_COLUMN(YBTzHistoryName_t, GlobalHistoryName, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBTzHistoryName_t, Flags, DB_COL_INT32, false, false),
};

}  // namespace

const DBEntityTable kYBPhysicalVolumeTable = dbEntityTable("YBPhysicalVolume", kVolumeColumns);
const DBEntityTable kYBPhysicalDeviceTable = dbEntityTable("YBPhysicalDevice", kDeviceColumns);
const DBEntityTable kYBMountPointTable = dbEntityTable("YBMountPoint", kMountPointColumns);
const DBEntityTable kYBTzHistoryNameTable = dbEntityTable("YBTzHistoryName", kHistoryNameColumns);

bool CSNRVolumeMountPointDB::CheckMountPathSyntax(char* path, unsigned long size)
{
    if (path == nullptr || size == 0) return false;
    size_t length = strnlen(path, size);
    if (length >= size) return false;  // no terminator within the room given
    while (length > 0 && (path[length - 1] == ' ' || path[length - 1] == '\t')) path[--length] = '\0';
    if (length == 0) return false;
    for (size_t i = 0; i < length; ++i)
        if (static_cast<unsigned char>(path[i]) < 0x20) return false;
    return true;
}
