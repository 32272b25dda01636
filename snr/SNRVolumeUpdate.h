// Argument and result records and the request and reply structures of the
// SNR volume update in its four message versions, and the identity a
// volume keeps after an update.
#pragma once

#include <cstdint>
#include <string>

#include "snr/SNRRecords.h"

// ---- Arguments and results ----------------------------------------------------

// The arguments are the SNR volume record of the version; its id names the
// volume, GetUpdateMap(record) the columns written.
struct UpdateSNRVolumeArgs_t : SNRVolumeRecord_t {};
struct UpdateSNRVolume42Args_t : SNRVolumeRecord42_t {};
struct UpdateSNRVolumeV3Args_t : SNRVolumeRecordV3_t {};
struct UpdateSNRVolumeV4Args_t : SNRVolumeRecordV4_t {};

// Versions 1 and 42 carry no error code; V3 and V4 set it on every failure.
struct UpdateSNRVolumeRet_t {
    std::string errMsg;
};
struct UpdateSNRVolume42Ret_t : UpdateSNRVolumeRet_t {};
struct UpdateSNRVolumeV3Ret_t {
    std::string errMsg;
    int32_t errCode = 0;
};
struct UpdateSNRVolumeV4Ret_t : UpdateSNRVolumeV3Ret_t {};

// The identity an update leaves in force: the stored values, with those the
// update map names taken from the record.
struct UniqueYBPhysicalVolume {
    std::string UniqueId;
    int32_t UniqueIdType = 0;
    int32_t LUN = 0;
    int64_t StartLBA = 0;
    int64_t BlockCount = 0;
};

// Unique-id type of a disk that several clients see: its identity leaves
// out the LUN, and an update that makes it another row's twin merges the two.
constexpr int32_t kSharedDiskUniqueIdType = 15;

// ---- Requests: one wire SNR volume record -----------------------------------------

struct repUpdateSNRVolumeReq {
    static constexpr bool kHoldsPointers = true;
    repSNRVolume SNRVolume;
};
struct repUpdateSNRVolume42Req {
    static constexpr bool kHoldsPointers = true;
    repSNRVolume42 SNRVolume;
};
struct repUpdateSNRVolumeV3Req {
    static constexpr bool kHoldsPointers = true;
    repSNRVolumeV3 SNRVolume;
};
struct repUpdateSNRVolumeV4Req {
    static constexpr bool kHoldsPointers = true;
    repSNRVolumeV4 SNRVolume;
};

// ---- Replies (status 1 succeeded, 0 failed; the message null on success) ----------

struct repUpdateSNRVolumeResponse {
    int32_t status;
    char* errMsg;
};
struct repUpdateSNRVolume42Response : repUpdateSNRVolumeResponse {};
struct repUpdateSNRVolumeV3Response {
    int32_t status;
    char* errMsg;
    int32_t errCode;
};
struct repUpdateSNRVolumeV4Response : repUpdateSNRVolumeV3Response {};
