// Argument and result records and the request and reply structures of the
// scratch volume lookups: the scratch volume of an SNR volume, a scratch
// volume by id, the SNR volumes of a pool free to take, the client of a
// pool's volumes, and the cost category given to every volume of a pool.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scratch/ScratchRecords.h"

// ---- Arguments and results ----------------------------------------------------------

struct QueryRVScratchVolBySNRVolIdArgs_t {
    int32_t SNRVolumeId = -1;
};
struct QueryRVScratchVolBySNRVolIdV2Args_t : QueryRVScratchVolBySNRVolIdArgs_t {};
// The record is filled on success.
struct QueryRVScratchVolBySNRVolIdRet_t {
    std::string errMsg;
    RVScratchVolumeRecord_t record;
};
struct QueryRVScratchVolBySNRVolIdV2Ret_t {
    std::string errMsg;
    RVScratchVolumeV2Record_t record;
    int32_t errCode = 0;
};

struct QueryScratchVolByIdArgs_t {
    int32_t id = -1;
};
struct QueryScratchVolByIdRet_t {
    RVScratchVolumeV2Record_t record;
    std::string errMsg;
    int32_t errCode = 0;
};

struct GetAvailVolFromPoolArgs_t {
    int32_t poolId = -1;
};
// No error code: the reply carries status and text only.
struct GetAvailVolFromPoolRet_t {
    std::string errMsg;
    std::vector<int> volumeIds;
};

struct GetClientIdByPoolIdArgs_t {
    int32_t poolId = -1;
};
struct GetClientIdByPoolIdRet_t {
    int32_t clientId = -1;
    std::string errMsg;
    int32_t errCode = 0;
};

struct UpdateCostCategoryToVolsInPoolArgs_t {
    int32_t poolId = -1;
    int64_t costCategoryId = 0;
};
// The reply carries status and text only.
struct UpdateCostCategoryToVolsInPoolRet_t {
    int32_t errCode = 0;
    std::string errMsg;
};

// ---- Requests ------------------------------------------------------------------------

struct repQueryRVScratchVolBySNRVolIdReq {
    uint32_t SNRVolumeId;
};
struct repQueryRVScratchVolBySNRVolIdV2Req : repQueryRVScratchVolBySNRVolIdReq {};
struct repQueryScratchVolumeByIdReq {
    uint32_t id;
};
struct repGetAvailVolumeFromPoolReq {
    uint32_t poolId;
};
struct repGetClientIdByPoolIdReq {
    uint32_t poolId;
};
struct repUpdateCostToVolsInPoolReq {
    uint32_t poolId;
    uint32_t costCategoryId;
};

// ---- Replies (status 1 succeeded, 0 failed; the message null on success) -------------
// Records and ids are carried on success only.

struct repQueryRVScratchVolBySNRVolIdResp {
    uint32_t status;
    char* errMsg;
    repRVScratchVolume scratchVolume;
};
struct repQueryRVScratchVolBySNRVolIdV2Resp {
    uint32_t status;
    char* errMsg;
    repRVScratchVolumeV2 scratchVolume;
    int32_t errCode;
};
struct repQueryScratchVolumeByIdResp {
    repRVScratchVolumeV2 scratchVolume;
    uint32_t status;
    char* errMsg;
};
// The array holds count SNR volume ids; it is null exactly when count is 0.
struct repGetAvailVolumeFromPoolResp {
    uint32_t status;
    char* errMsg;
    uint32_t count;
    int* volumeIds;
};
struct repGetClientIdByPoolIdResp {
    uint32_t status;
    char* errMsg;
    uint32_t clientId;
    int32_t errCode;
};
struct repUpdateCostToVolsInPoolResp {
    uint32_t status;
    char* errMsg;
};
