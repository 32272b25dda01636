// Argument and result records and the request and reply structures of the
// membership of scratch pools: an SNR volume added to a pool (or moved into
// it), a scratch volume removed, and the pool's count of available volumes.
#pragma once

#include <cstdint>
#include <string>

// Operations on a pool's AvailableVolumes.
constexpr int32_t POOL_COUNTER_NONE = 0;
constexpr int32_t POOL_COUNTER_INCREMENT = 1;  // a volume was released
constexpr int32_t POOL_COUNTER_DECREMENT = 2;  // a volume was reserved

// ---- Arguments and results ------------------------------------------------------------

struct AddRVScratchVolumeArgs_t {
    int32_t poolId = -1;
    int32_t SNRVolumeId = -1;
};
// No error code: the reply carries status and text.
struct AddRVScratchVolumeRet_t {
    std::string errMsg;
    int32_t scratchVolumeId = -1;  // the new or moved member on success
};

struct RemoveRVScratchVolumeArgs_t {
    int32_t scratchVolumeId = -1;
};
struct RemoveRVScratchVolumeRet_t {
    std::string errMsg;
};

struct UpdateAvailVolPoolCounterArgs_t {
    int32_t SNRVolumeId = -1;
    int32_t operation = POOL_COUNTER_NONE;
};
struct UpdateAvailVolPoolCounterRet_t {
    std::string errMsg;
    int32_t availableVolumes = 0;  // the pool's new count on success
    int32_t errCode = 0;
};

// ---- Requests and replies (status 1 succeeded, 0 failed; the message null on success) ---

struct repAddRVScratchVolumeReq {
    uint32_t poolId;
    uint32_t SNRVolumeId;
};
struct repAddRVScratchVolumeResponse {
    uint32_t status;
    char* errMsg;
    uint32_t scratchVolumeId;  // 0 on failure
};

struct repRemoveRVScratchVolumeReq {
    uint32_t scratchVolumeId;
};
struct repRemoveRVScratchVolumeResponse {
    uint32_t status;
    char* errMsg;
};
