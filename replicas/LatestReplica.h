// Request, reply and result records of the latest replica of a primary volume
// (message versions 1, 42, 3 and 4), and the conversion of the SNR volume row
// found into the SNR volume record of the reply.
#pragma once

#include <cstdint>
#include <string>

#include "snr/SNRRecords.h"

struct YBGetLatestRepVolByPVId_t;

// ---- Requests ------------------------------------------------------------------------
// IgnorePermReplica 0: a permanent replica is looked for first.

struct repGetLatestSnapForSNRVolReq {
    int32_t PrimaryVolumeId = 0;
    int32_t IgnorePermReplica = 0;
};
struct repGetLatestSnapForSNRVol42Req : repGetLatestSnapForSNRVolReq {};
struct repGetLatestSnapForSNRVolV3Req : repGetLatestSnapForSNRVolReq {};
// Only the low 32 bits of the job id are used; 0 or less: every job.
struct repGetLatestSnapForSNRVolV4Req {
    int32_t PrimaryVolumeId = 0;
    int32_t IgnorePermReplica = 0;
    int64_t JobId = 0;
};

// ---- Replies (status 1 succeeded, 0 failed; the message null on success) -------------
// The record's texts are owned by the reply and released after the send.

struct repGetLatestSnapForSNRVolResp {
    uint32_t status;
    char* errMsg;
    repSNRVolume SNRVolume;
};
struct repGetLatestSnapForSNRVol42Resp {
    uint32_t status;
    char* errMsg;
    repSNRVolume42 SNRVolume;
};
struct repGetLatestSnapForSNRVolV3Resp {
    uint32_t status;
    char* errMsg;
    repSNRVolumeV3 SNRVolume;
    int32_t errCode;
};
struct repGetLatestSnapForSNRVolV4Resp {
    uint32_t status;
    char* errMsg;
    repSNRVolumeV4 SNRVolume;
    int32_t errCode;
};

// ---- Results: the reply being built, whose SNR volume record the operation fills --------

template <typename Reply>
struct LatestRepVolRetOf {
    Reply* reply = nullptr;
    std::string errMsg;
};
struct QueryMgrLatestRepVolByPrimaryIdRet_t : LatestRepVolRetOf<repGetLatestSnapForSNRVolResp> {};
struct QueryMgrLatestRepVolByPrimaryId42Ret_t : LatestRepVolRetOf<repGetLatestSnapForSNRVol42Resp> {};
struct QueryMgrLatestRepVolByPrimaryIdV3Ret_t : LatestRepVolRetOf<repGetLatestSnapForSNRVolV3Resp> {
    int32_t errCode = 0;
};
struct QueryMgrLatestRepVolByPrimaryIdV4Ret_t : LatestRepVolRetOf<repGetLatestSnapForSNRVolV4Resp> {
    int32_t errCode = 0;
};

// The job a request is restricted to: 0 before version 4, else the low 32
// bits of its job id (both halves alike).
int32_t GetJobId_l(const repGetLatestSnapForSNRVolReq& request);
int32_t GetJobId_l(const repGetLatestSnapForSNRVolV4Req& request);
int32_t GetJobId_h(const repGetLatestSnapForSNRVolReq& request);
int32_t GetJobId_h(const repGetLatestSnapForSNRVolV4Req& request);

// ---- Row to wire record --------------------------------------------------------------
// Each version sets the fields of the one before and its own; texts are copied
// into new blocks of AllocReplyArray, an empty column leaves a null pointer.
// False when a copy cannot be allocated: the texts copied so far stay in the
// record for CleanMemory.
bool YBSet(repSNRVolume& dst, const YBGetLatestRepVolByPVId_t& src);
bool YBSet(repSNRVolume42& dst, const YBGetLatestRepVolByPVId_t& src);
bool YBSet(repSNRVolumeV3& dst, const YBGetLatestRepVolByPVId_t& src);
bool YBSet(repSNRVolumeV4& dst, const YBGetLatestRepVolByPVId_t& src);

// Frees the copied texts of a record and nulls their pointers.
void CleanMemory(repSNRVolume& wire);
void CleanMemory(repSNRVolume42& wire);
void CleanMemory(repSNRVolumeV3& wire);
void CleanMemory(repSNRVolumeV4& wire);
