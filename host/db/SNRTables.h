// Rows and entity classes of the SNR tables: volumes, devices, mount points
// and the global history names of protected volumes.
#pragma once

#include <cstdint>

#include "host/db/CRepTableDB.h"

struct YBPhysicalVolume_t {
    int32_t id = 0;
    char UniqueId[257] = {};
    int32_t UniqueIdType = 0;
    int32_t LUN = 0;
    int64_t StartLBA = 0;
    int64_t BlockCount = 0;
    int32_t BlockSize = 0;
    int32_t Flags = 0;
    char FSType[129] = {};
    char UniqueSnapshotID[2049] = {};
    int32_t ApplianceId = 0;
    int32_t TzState = 0;
    int32_t CostCategoryId = 0;
    int32_t Type = 0;
};

struct YBPhysicalDevice_t {
    int32_t id = 0;
    int32_t ClientId = 0;
    int32_t SNRVolumeId = 0;
    char DeviceName[1025] = {};
    int32_t Flags = 0;
    char OSDeviceName[1025] = {};
    char AccessPath[129] = {};
    int32_t FilerClientId = 0;
};

struct YBMountPoint_t {
    int32_t id = 0;
    int32_t DeviceNameId = 0;
    char Path[1025] = {};
    int32_t Flags = 0;
};

struct YBTzHistoryName_t {
    int32_t DeviceId = 0;
    char GlobalHistoryName[1025] = {};
    int32_t Flags = 0;
};

extern const DBEntityTable kYBPhysicalVolumeTable;
extern const DBEntityTable kYBPhysicalDeviceTable;
extern const DBEntityTable kYBMountPointTable;
extern const DBEntityTable kYBTzHistoryNameTable;

class CSNRVolumeDB : public CRepTableDB<YBPhysicalVolume_t> {
public:
    CSNRVolumeDB() : CRepTableDB(kYBPhysicalVolumeTable) {}
};

class CSNRVolumeDeviceNameDB : public CRepTableDB<YBPhysicalDevice_t> {
public:
    CSNRVolumeDeviceNameDB() : CRepTableDB(kYBPhysicalDeviceTable) {}
};

class CSNRVolumeMountPointDB : public CRepTableDB<YBMountPoint_t> {
public:
    CSNRVolumeMountPointDB() : CRepTableDB(kYBMountPointTable) {}

    // True when the path is acceptable as a mount path. Rules:
    // - a null path or a size of 0 is refused;
    // - the path must fit: its terminator lies within the first size bytes
    //   (at most size-1 characters);
    // - trailing blanks and tabs are cut off in place; a path that is empty
    //   then (empty or blanks only) is refused;
    // - a control character (below 0x20) anywhere in it is refused.
    // A refused path is left as it was, except for the blanks cut off.
    bool CheckMountPathSyntax(char* path, unsigned long size);
};

// Keyed by the device id.
class CYBTzHistoryNameDB : public CRepTableDB<YBTzHistoryName_t> {
public:
    CYBTzHistoryNameDB() : CRepTableDB(kYBTzHistoryNameTable) {}
};
