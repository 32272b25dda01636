// The request and reply structures of the scratch pool catalogue: add, query,
// list and update in message versions 1 to 3, remove in versions 1 and "70".
#pragma once

#include <cstddef>
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

static_assert(sizeof(repAddRVScratchVolumePoolReq) == 8, "repAddRVScratchVolumePoolReq size");
static_assert(sizeof(repAddRVScratchVolumePoolV2Req) == 16, "repAddRVScratchVolumePoolV2Req size");
static_assert(offsetof(repAddRVScratchVolumePoolV2Req, SnapEngineInfoId) == 8, "repAddRVScratchVolumePoolV2Req layout");
static_assert(sizeof(repAddRVScratchVolumePoolV3Req) == 40, "repAddRVScratchVolumePoolV3Req size");
static_assert(sizeof(repQueryRVScratchVolPoolV3Req) == 4, "repQueryRVScratchVolPoolV3Req size");
static_assert(sizeof(repUpdateRVScratchVolPoolReq) == 24, "repUpdateRVScratchVolPoolReq size");
static_assert(sizeof(repUpdateRVScratchVolPoolV2Req) == 32, "repUpdateRVScratchVolPoolV2Req size");
static_assert(sizeof(repUpdateRVScratchVolPoolV3Req) == 40, "repUpdateRVScratchVolPoolV3Req size");
static_assert(sizeof(repRemoveRVScratchVolumePool70Req) == 4, "repRemoveRVScratchVolumePool70Req size");

static_assert(sizeof(repAddRVScratchVolumePoolResponse) == 24, "repAddRVScratchVolumePoolResponse size");
static_assert(offsetof(repAddRVScratchVolumePoolResponse, errMsg) == 8, "repAddRVScratchVolumePoolResponse layout");
static_assert(offsetof(repAddRVScratchVolumePoolResponse, poolId) == 16, "repAddRVScratchVolumePoolResponse layout");
static_assert(sizeof(repAddRVScratchVolumePoolV3Response) == 24, "repAddRVScratchVolumePoolV3Response size");
static_assert(offsetof(repAddRVScratchVolumePoolV2Response, errCode) == 4, "repAddRVScratchVolumePoolV2Response layout");
static_assert(offsetof(repAddRVScratchVolumePoolV2Response, errMsg) == 8, "repAddRVScratchVolumePoolV2Response layout");
static_assert(offsetof(repAddRVScratchVolumePoolV2Response, poolId) == 16, "repAddRVScratchVolumePoolV2Response layout");
static_assert(sizeof(repQueryRVScratchVolPoolResponse) == 40, "repQueryRVScratchVolPoolResponse size");
static_assert(offsetof(repQueryRVScratchVolPoolResponse, pool) == 16, "repQueryRVScratchVolPoolResponse layout");
static_assert(sizeof(repQueryRVScratchVolPoolV2Response) == 48, "repQueryRVScratchVolPoolV2Response size");
static_assert(offsetof(repQueryRVScratchVolPoolV2Response, errCode) == 4, "repQueryRVScratchVolPoolV2Response layout");
static_assert(offsetof(repQueryRVScratchVolPoolV2Response, pool) == 16, "repQueryRVScratchVolPoolV2Response layout");
static_assert(sizeof(repQueryRVScratchVolPoolV3Response) == 56, "repQueryRVScratchVolPoolV3Response size");
static_assert(offsetof(repQueryRVScratchVolPoolV3Response, pool) == 16, "repQueryRVScratchVolPoolV3Response layout");
static_assert(sizeof(repGetRVScratchVolumePoolListResponse) == 32, "repGetRVScratchVolumePoolListResponse size");
static_assert(offsetof(repGetRVScratchVolumePoolListResponse, count) == 16, "repGetRVScratchVolumePoolListResponse layout");
static_assert(offsetof(repGetRVScratchVolumePoolListResponse, pools) == 24, "repGetRVScratchVolumePoolListResponse layout");
static_assert(sizeof(repGetRVScratchVolumePoolV2ListResponse) == 32, "repGetRVScratchVolumePoolV2ListResponse size");
static_assert(offsetof(repGetRVScratchVolumePoolV2ListResponse, errCode) == 4, "repGetRVScratchVolumePoolV2ListResponse layout");
static_assert(offsetof(repGetRVScratchVolumePoolV2ListResponse, count) == 16, "repGetRVScratchVolumePoolV2ListResponse layout");
static_assert(offsetof(repGetRVScratchVolumePoolV2ListResponse, pools) == 24, "repGetRVScratchVolumePoolV2ListResponse layout");
static_assert(sizeof(repGetRVScratchVolumePoolV3ListResponse) == 32, "repGetRVScratchVolumePoolV3ListResponse size");
static_assert(sizeof(repUpdateRVScratchVolPoolResp) == 16, "repUpdateRVScratchVolPoolResp size");
static_assert(sizeof(repUpdateRVScratchVolPoolV2Resp) == 16, "repUpdateRVScratchVolPoolV2Resp size");
static_assert(offsetof(repUpdateRVScratchVolPoolV2Resp, errCode) == 4, "repUpdateRVScratchVolPoolV2Resp layout");
static_assert(sizeof(repUpdateRVScratchVolPoolV3Resp) == 16, "repUpdateRVScratchVolPoolV3Resp size");
static_assert(sizeof(repRemoveRVScratchVolumePoolResponse) == 16, "repRemoveRVScratchVolumePoolResponse size");
static_assert(sizeof(repRemoveRVScratchVolumePool70Response) == 24, "repRemoveRVScratchVolumePool70Response size");
static_assert(offsetof(repRemoveRVScratchVolumePool70Response, errCode) == 16, "repRemoveRVScratchVolumePool70Response layout");
