// Argument and result records and the request and reply structures of the
// release of a scratch volume (message versions 1 and 2), with the adapters
// that let one release body serve both versions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "service/DeletionTrail.h"

struct ReleaseRVScratchVolumeArgs_t {
    int RVScratchVolumeId = -1;
};
// A direct caller may name one replication volume of the scratch volume to
// remove alone, and may release without contacting the client (DBOnly).
struct ReleaseRVScratchVolumeV2Args_t {
    int RVScratchVolumeId = -1;
    int YBVolumeId = -1;
    bool DBOnly = false;  // never taken from a request
};
// hostsThatActed: after a release that asked its host, the host that
// deleted the volume's snapshots (a caller may add what it had done outside
// the database itself), for whoever commits the release to report when the
// commit fails (steps::ReportHostsThatActed).
struct ReleaseRVScratchVolumeRet_t {
    std::string errMsg;
    std::vector<HostThatActed> hostsThatActed;
};
// The code starts at 0 and is set by every failure.
struct ReleaseRVScratchVolumeV2Ret_t {
    std::string errMsg;
    int errCode = 0;
    std::vector<HostThatActed> hostsThatActed;
    // After a database-only release of a volume that held snapshots: the
    // host that still has them, for the caller to ask once nothing of its
    // own can be refused any more (ReplicationMgr::ReleaseScratchForDeletion
    // keeps it in a deletion's trail).
    std::optional<SnapshotsLeftOnHost> snapshotsLeft;
};

struct repReleaseRVScratchVolumeReq {
    int32_t RVScratchVolumeId;
};
struct repReleaseRVScratchVolumeResponse {
    uint32_t status;
    char* errMsg;
};
struct repReleaseRVScratchVolumeV2Req {
    int32_t RVScratchVolumeId;
    int32_t YBVolumeId;
};
struct repReleaseRVScratchVolumeV2Response {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
};

// The replication volume a release names alone: V1 none (-1).
inline int GetYBVolId(const ReleaseRVScratchVolumeArgs_t&) { return -1; }
inline int GetYBVolId(const ReleaseRVScratchVolumeV2Args_t& args) { return args.YBVolumeId; }
// 1 for a release that leaves the client alone; V1 -1.
inline int GetDBOnlyFlag(const ReleaseRVScratchVolumeArgs_t&) { return -1; }
inline int GetDBOnlyFlag(const ReleaseRVScratchVolumeV2Args_t& args) { return args.DBOnly ? 1 : 0; }
inline void SetYBVolId(ReleaseRVScratchVolumeArgs_t&, const repReleaseRVScratchVolumeReq&) {}
inline void SetYBVolId(ReleaseRVScratchVolumeV2Args_t& args, const repReleaseRVScratchVolumeV2Req& req)
{
    args.YBVolumeId = req.YBVolumeId;
}
