// The request and reply structures of the scratch pool catalogue: add, query,
// list and update in message versions 1 to 3, remove in versions 1 and "70".
#pragma once

#include <cstdint>

#include "scratch/ScratchRecords.h"

// ---- Requests ------------------------------------------------------------------------

struct repAddRVScratchVolumePoolReq {
    static constexpr bool kHoldsPointers = true;
    char* name;
};
struct repAddRVScratchVolumePoolV2Req {
    static constexpr bool kHoldsPointers = true;
    char* name;
    uint32_t SnapEngineInfoId;
};
struct repAddRVScratchVolumePoolV3Req : repRVScratchVolumePoolV3 {};

struct repQueryRVScratchVolPoolReq {
    uint32_t poolId;
};
struct repQueryRVScratchVolPoolV2Req : repQueryRVScratchVolPoolReq {};
struct repQueryRVScratchVolPoolV3Req : repQueryRVScratchVolPoolReq {};

struct repUpdateRVScratchVolPoolReq : repRVScratchVolumePool {};
struct repUpdateRVScratchVolPoolV2Req : repRVScratchVolumePoolV2 {};
struct repUpdateRVScratchVolPoolV3Req : repRVScratchVolumePoolV3 {};

// Both remove versions carry the pool id alone.
struct repRemoveRVScratchVolumePoolReq {
    uint32_t poolId;
};
struct repRemoveRVScratchVolumePool70Req : repRemoveRVScratchVolumePoolReq {};

// ---- Replies (status 1 succeeded, 0 failed; the message null on success) -------------
// From message version 2 the code follows the status.

struct repAddRVScratchVolumePoolResponse {
    uint32_t status;
    char* errMsg;
    uint32_t poolId;  // 0 on failure
};
struct repAddRVScratchVolumePoolV2Response {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
    uint32_t poolId;
};
struct repAddRVScratchVolumePoolV3Response : repAddRVScratchVolumePoolV2Response {};

// The pool is filled on success only; its name points into the result.
struct repQueryRVScratchVolPoolResponse {
    uint32_t status;
    char* errMsg;
    repRVScratchVolumePool pool;
};
struct repQueryRVScratchVolPoolV2Response {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
    repRVScratchVolumePoolV2 pool;
};
struct repQueryRVScratchVolPoolV3Response {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
    repRVScratchVolumePoolV3 pool;
};

// The array holds count pools; it is null exactly when count is 0.
struct repGetRVScratchVolumePoolListResponse {
    uint32_t status;
    char* errMsg;
    uint32_t count;
    repRVScratchVolumePool* pools;
};
struct repGetRVScratchVolumePoolV2ListResponse {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
    uint32_t count;
    repRVScratchVolumePoolV2* pools;
};
struct repGetRVScratchVolumePoolV3ListResponse {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
    uint32_t count;
    repRVScratchVolumePoolV3* pools;
};

struct repUpdateRVScratchVolPoolResp {
    uint32_t status;
    char* errMsg;
};
struct repUpdateRVScratchVolPoolV2Resp {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
};
struct repUpdateRVScratchVolPoolV3Resp : repUpdateRVScratchVolPoolV2Resp {};

struct repRemoveRVScratchVolumePoolResponse {
    uint32_t status;
    char* errMsg;
};
// Version "70" carries the code at the end.
struct repRemoveRVScratchVolumePool70Response {
    uint32_t status;
    char* errMsg;
    int32_t errCode;
};
