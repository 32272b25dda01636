// Argument and result records and the request and reply structures of the
// reservation (SNRVOL_FLAG_LOCKED) and allocation (SNRVOL_FLAG_ALLOCATED) of
// SNR volumes: reserve in message versions V1 and V2, unreserve, allocate,
// deallocate, and the release of the volumes a job holds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "snr/SNRRecords.h"

// ---- Arguments and results --------------------------------------------------------
// The SNR volume ids in request order. Success leaves an error code as it was.

struct ReserveSNRVolumeListArgs_t {
    std::vector<int32_t> ids;
};
struct ReserveSNRVolumeListV2Args_t : ReserveSNRVolumeListArgs_t {
    int64_t jobId = 0;  // the scratch volumes keep its low 32 bits
};
// Version 1 carries no error code.
struct ReserveSNRVolumeListRet_t {
    std::string errMsg;
};
struct ReserveSNRVolumeListV2Ret_t {
    std::string errMsg;
    int32_t errCode = 0;
};

struct UnreserveSNRVolumeListArgs_t {
    std::vector<int32_t> ids;
};
struct UnreserveSNRVolumeListRet_t {
    std::string errMsg;
};

struct AllocateSNRVolumeListArgs_t {
    std::vector<int32_t> ids;
};
struct AllocateSNRVolumeListRet_t {
    std::string errMsg;
    int32_t errCode = 0;
};
struct DeallocateSNRVolumeListArgs_t {
    std::vector<int32_t> ids;
};
struct DeallocateSNRVolumeListRet_t {
    std::string errMsg;
    int32_t errCode = 0;
};

struct UnlockVolumesByJobIdArgs_t {
    int64_t jobId = 0;
};
struct UnlockVolumesByJobIdRet_t {
    std::string errMsg;
    int32_t errCode = 0;
};

// ---- Requests: a count and the array of that many SNR volume ids -------------------

struct repReserveSNRVolReq {
    static constexpr bool kHoldsPointers = true;
    uint32_t count;
    int32_t* ids;
};
struct repReserveSNRVolV2Req {
    static constexpr bool kHoldsPointers = true;
    uint32_t count;
    int32_t* ids;
    int64_t jobId;
};
struct repUnreserveSNRVolReq : repReserveSNRVolReq {};
struct repAllocateSNRVolReq : repReserveSNRVolReq {};
struct repDeallocateSNRVolReq : repReserveSNRVolReq {};

// ---- Replies (status 1 succeeded, 0 failed; the message null on success) ----------

struct repReserveSNRVolResp {
    int32_t status;
    char* errMsg;
};
struct repUnreserveSNRVolResp {
    int32_t status;
    char* errMsg;
};
struct repReserveSNRVolV2Resp {
    int32_t status;
    char* errMsg;
    int32_t errCode;
};
struct repAllocateSNRVolResp {
    int32_t status;
    char* errMsg;
    int32_t errCode;
};
struct repDeallocateSNRVolResp {
    int32_t status;
    char* errMsg;
    int32_t errCode;
};
