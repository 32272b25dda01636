// Argument and result records and the request and reply structures of the
// deletion of SNR volumes and devices and of the pruning of protected
// volumes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "service/DeletionTrail.h"
#include "snr/SNRRecords.h"

// ---- Arguments and results ----------------------------------------------------

struct DeleteSNRVolByIdArgs_t {
    explicit DeleteSNRVolByIdArgs_t(int32_t volumeId = -1) : id(volumeId) {}
    int32_t id;
};
struct DeleteSNRVolumeByIdRet_t {
    std::string errMsg;
};

struct DeleteSNRDeviceArgs_t {
    explicit DeleteSNRDeviceArgs_t(int32_t deviceId = -1) : DeviceId(deviceId) {}
    int32_t DeviceId;
};
struct DeleteSNRDeviceRet_t {
    std::string errMsg;
};

// The names of the consistency points that have not expired.
struct PruneMorvaneVolumeArgs_t {
    int32_t SNRVolumeId = -1;
    std::vector<std::string> unexpiredNames;
};
// The code is set on failure only.
struct PruneMorvaneVolumeRet_t {
    int32_t errCode = 0;
    std::string errMsg;
};

// ---- Requests and replies (status 1 succeeded, 0 failed; the message null on success)

struct repDeleteSNRDeviceReq {
    int32_t DeviceId;
};
struct repDeleteSNRDeviceResponse {
    uint32_t status;
    char* errMsg;
};

// `count` name texts at `names` (a null text reads as an empty one).
struct repPruneMorvaneVolumeReq {
    static constexpr bool kHoldsPointers = true;
    int32_t SNRVolumeId;
    int32_t reserved;
    uint32_t count;
    char** names;
};
struct repPruneMorvaneVolumesResp {
    int32_t status;
    int32_t errCode;
    char* errMsg;
};
