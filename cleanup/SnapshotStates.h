// Records and message structures of the snapshot state queries: the
// snapshots mounted on a client, whether a device is a VSS snapshot, and the
// volumes a client protects through the block filter driver.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Kinds of a mounted snapshot.
enum : int32_t {
    MOUNTED_VOLUME_SNAPSHOT = 1,
    MOUNTED_FLR_SNAPSHOT = 2
};

// One snapshot mounted on a client.
struct PendrelMountRecord_t {
    PendrelMountRecord_t(int32_t kind, int32_t mountPointId, std::string srcDevName, std::string snapName,
                         std::string mountPath, std::string netShareName, int32_t netShareId, int32_t remountSnapType)
        : Kind(kind), MountPointId(mountPointId), SrcDevName(std::move(srcDevName)), SnapName(std::move(snapName)),
          MountPath(std::move(mountPath)), NetShareName(std::move(netShareName)), NetShareId(netShareId),
          RemountSnapType(remountSnapType)
    {
    }
    int32_t Kind;
    int32_t MountPointId;
    std::string SrcDevName;
    std::string SnapName;
    std::string MountPath;
    std::string NetShareName;  // empty when not shared
    int32_t NetShareId;        // -1 when not shared
    int32_t RemountSnapType;
};

struct QueryMountedSnapsByClientNameArgs_t {
    std::string ClientName;  // the client's network host name
};
struct QueryMountedSnapsByClientNameRet_t {
    int32_t errCode = 0;
    std::string errMsg;
    std::vector<PendrelMountRecord_t> Snaps;  // volume snapshots first; empty after a failure
};

struct IsDevVSSSnapArgs_t {
    int32_t DeviceId = -1;
};
// Both texts are empty unless the device is a VSS snapshot.
struct IsDevVSSSnapRet_t {
    int32_t errCode = 0;
    std::string errMsg;
    std::string SourceVolumeGUID;
    std::string ShadowSetId;
};

struct GetVolumesUsingTheBlockFilterDriverArgs_t {
    int32_t ClientId = 0;
};
struct GetVolumesUsingTheBlockFilterDriverRet_t {
    std::vector<std::string> Volumes;  // in ascending order; empty after a failure
    std::string errMsg;
    int32_t errCode = 0;
};

// ---- Wire structures ----------------------------------------------------------------

// Requests 0x350001fb (version 1) and 0x35000230 (version 70).
struct repQueryMountedSnapsReq {
    static constexpr bool kHoldsPointers = true;
    char* ClientName;
};

// One mounted snapshot in either version. Version 1 sends the remount snap
// type's four bytes as 0: they are reserved there.
struct repMountedSnapRec {
    int32_t Kind;  // MOUNTED_VOLUME_SNAPSHOT, MOUNTED_FLR_SNAPSHOT, 0 for any other
    int32_t MountPointId;
    char* SrcDevName;    // null when empty, as the three below
    char* SnapName;
    char* MountPath;
    char* NetShareName;
    int32_t NetShareId;
    int32_t RemountSnapType;
};

// Replies 0x350001fc (version 1) and 0x35000231 (version 70): one layout.
struct repQueryMountedSnapsResp {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
    uint32_t count;
    repMountedSnapRec* snaps;
};
using repQueryMountedSnaps70Resp = repQueryMountedSnapsResp;

// Request 0x35000234 and its reply 0x35000235.
struct repIsDevVSSSnapReq {
    int32_t DeviceId;
};

struct repIsDevVSSSnapResp {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
    char* SourceVolumeGUID;  // null when empty, as the shadow set id
    char* ShadowSetId;
};
