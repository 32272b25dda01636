// Argument and result records of the cleanup of everything one client left
// in the replication tables and of the unmounting of one job's snapshots,
// with the request and reply of the cleanup.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct CleanupByClientIdArgs_t {
    int32_t ClientId = -1;
    bool Full = false;  // true: "Full" (the devices and scratch volumes go too); false: "Non SNR"
};
// Only the text reaches the reply.
struct CleanupByClientIdRet_t {
    std::string errMsg;
    int32_t errCode = 0;
};

struct UnmountSnapshotsByJobIdArgs_t {
    int64_t JobId = 0;
};
struct UnmountSnapshotsByJobIdRet_t {
    std::string errMsg;
    int32_t errCode = 0;
};

// ---- Request and reply ---------------------------------------------------------------

// Cleanup type 1 is "Full", any other value "Non SNR".
struct repCleanupByClientIdReq {
    int32_t ClientId;
    int32_t CleanupType;
};
// Status 1 succeeded, 0 failed; the message null on success.
struct repCleanupByclientIdResp {
    int32_t status;
    char* errMsg;
};

constexpr int32_t kCleanupTypeFull = 1;
