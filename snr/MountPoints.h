// Mount points of devices: the argument and result records of their
// operations, the mount point with its client, and the request and reply
// structures of the mount-point requests served inline by post.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "snr/SNRRecords.h"

// Longest mount path the Path column holds; a longer one is refused with
// -18 and this text before anything is written.
constexpr size_t kMaxMountPathLength = sizeof(YBMountPoint_t::Path) - 1;
extern const char* const MountPathTooLongErrMsg;  // "Volume mount point path is too long"

// A mount point with the client of the device it belongs to.
struct SNRVolumeMountPointExRecord_t {
    int32_t ClientId = -1;
    SNRVolumeMountPointRecord_t MountPoint;
};

// ---- Arguments and results ------------------------------------------------------
// Failures are told by the text; only the add, the update and the array
// copies also carry a code.

struct RemoveSNRMountPointArgs_t {
    int32_t MountPointId = -1;
};
struct RemoveSNRMountPointRet_t {
    std::string errMsg;
    // Set once the removal reaches its device's controller.
    int32_t DeviceId = -1;
};

struct RemoveLastMountPointArgs_t {
    int32_t DeviceId = -1;
};
struct RemoveLastMountPointRet_t {
    std::string errMsg;
    bool Deactivated = false;  // the device's controller was switched off
};

struct AddSNRMountPointArgs_t {
    SNRVolumeMountPointRecord_t MountPoint;
};
struct AddSNRMountPointRet_t {
    int32_t MountPointId = -1;  // set on success
    std::string errMsg;
    int32_t errCode = 0;
    bool ControllerSwitched = false;  // the device's controller was switched, off or on
};

struct UpdateSNRMountPointArgs_t {
    SNRVolumeMountPointRecord_t MountPoint;
};
struct UpdateSNRMountPointRet_t {
    std::string errMsg;
    int32_t errCode = 0;
};

struct QuerySNRVolMountPointBySNRVolDevIdArgs_t {
    int32_t DeviceId = -1;
};
struct QuerySNRVolMountPointBySNRVolDevIdRet_t {
    std::string errMsg;
    std::vector<SNRVolumeMountPointRecord_t> MountPoints;
};

struct QuerySNRMountPointArgs_t {
    int32_t MountPointId = -1;
};
struct QuerySNRMountPointRet_t {
    std::string errMsg;
    SNRVolumeMountPointRecord_t MountPoint;
};

struct QuerySNRMountPointByPathArgs_t {
    std::string Path;
};
struct QuerySNRMountPointByPathRet_t {
    std::string errMsg;
    std::vector<SNRVolumeMountPointRecord_t> MountPoints;
};

struct QuerySNRMountPointBySNRVolIdArgs_t {
    int32_t SNRVolumeId = -1;
};
struct QuerySNRMountPointBySNRVolIdRet_t {
    std::string errMsg;
    std::vector<SNRVolumeMountPointExRecord_t> MountPoints;
};

// ---- Wire structures --------------------------------------------------------------

// The entry of a mount point with its client.
struct repSNRVolumeMountPointEx {
    repSNRVolumeMountPoint MountPoint;
    int32_t ClientId = 0;
};

// The reply arrays built from a record list. Each entry's path is a copy of
// its own (also for an empty path); the array is null exactly when the count
// is 0, also after a failure.
struct CopySNRMountPointToMsgArgs_t {
    const std::vector<SNRVolumeMountPointRecord_t>* pvSNRMountList = nullptr;
};
struct CopySNRMountPointToMsgRet_t {
    repSNRVolumeMountPoint* MountPoints = nullptr;
    uint32_t count = 0;
    std::string errMsg;
    int32_t errCode = 0;
};
struct CopySNRMountPointExToMsgArgs_t {
    const std::vector<SNRVolumeMountPointExRecord_t>* pvSNRMountExList = nullptr;
};
struct CopySNRMountPointExToMsgRet_t {
    repSNRVolumeMountPointEx* MountPoints = nullptr;
    uint32_t count = 0;
    std::string errMsg;
};

// 0x35000007 (remove), 0x3500005b (the mount points of a device), 0x3500006b
// (one by id), 0x3500006d (by path), 0x35000079 (those of an SNR volume). The
// add (0x35000009) and the update (0x35000075) send a repSNRVolumeMountPoint;
// the update reads all of it but the unmounted flag.
struct repRemoveMountPointReq {
    int32_t MountPointId;
};
struct repQuerySNRVolMntPointsBySNRVolDevIdReq {
    int32_t DeviceId;
};
struct repQuerySNRMountPointByIdReq {
    int32_t MountPointId;
};
struct repQuerySNRMountPointByPathReq {
    static constexpr bool kHoldsPointers = true;
    char* Path;  // null reads as ""
};
struct repQuerySNRMountPointBySNRVolIdReq {
    int32_t SNRVolumeId;
};

struct repRemoveMountPointResponse {
    uint32_t status;
    char* errMsg;
};
// The id is set on success only.
struct repAddMountPointResponse {
    uint32_t MountPointId;
    uint32_t status;
    char* errMsg;
};
struct repUpdateSNRVolumeMountPointResp {
    uint32_t status;
    char* errMsg;
};

// The mount point, with a path copy of its own, is filled on success only.
struct repQuerySNRMountPointByIdResp {
    uint32_t status;
    char* errMsg;
    repSNRVolumeMountPoint MountPoint;
};

// count entries; the array is null exactly when count is 0.
struct repQuerySNRVolMntPointsBySNRVolDevIdResp {
    uint32_t status;
    char* errMsg;
    uint32_t count;
    repSNRVolumeMountPoint* MountPoints;
};
struct repQuerySNRMountPointByPathResp {
    uint32_t status;
    char* errMsg;
    uint32_t count;
    repSNRVolumeMountPoint* MountPoints;
};
struct repQuerySNRMountPointBySNRVolIdResp {
    uint32_t status;
    char* errMsg;
    uint32_t count;
    repSNRVolumeMountPointEx* MountPoints;
};
