// Argument and result records and the request and reply structures of the
// SNR volume with its replicas: the SNR volume, the replication volumes
// related to it as the selection flags choose, and the scratch volume lying
// on it (five message versions).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "replicas/ReplicaRecords.h"
#include "scratch/ScratchRecords.h"
#include "snr/SNRRecords.h"

// Selection flags: which replication volumes are listed. At most one of the
// three volume terms counts, the first set of 0x1, 0x2, 0x10; the time and
// role terms are added to it. Flags 0 list none.
constexpr int32_t SNRVOL2_ON_VOLUME = 0x1;       // "PhysicalVolumeId = " id: replicas lying on the volume
constexpr int32_t SNRVOL2_OF_PRIMARY = 0x2;      // "PrimaryVolumeId = " id: replicas of the volume
constexpr int32_t SNRVOL2_CREATED_BEFORE = 0x4;  // "CreationTime < " bound, unless the bound is 0
constexpr int32_t SNRVOL2_IN_ROLE = 0x8;         // "CurrentRole = " role
constexpr int32_t SNRVOL2_OF_SNAPSHOT = 0x10;    // "SnapVolumeId = " id: replicas whose snapshot it is

// ---- Arguments and results ----------------------------------------------------

struct QuerySNRVolume2ByIdArgs_t {
    int32_t snrVolumeId = -1;
    int32_t flags = 0;          // SNRVOL2_*
    int32_t creationTime = -1;  // upper bound for SNRVOL2_CREATED_BEFORE
    int32_t role = 0;           // the CurrentRole of SNRVOL2_IN_ROLE
};
struct QuerySNRVolume2ById42Args_t : QuerySNRVolume2ByIdArgs_t {};
struct QuerySNRVolume2ByIdV3Args_t : QuerySNRVolume2ByIdArgs_t {};
struct QuerySNRVolume2ByIdV4Args_t : QuerySNRVolume2ByIdArgs_t {};
struct QuerySNRVolume2ByIdV5Args_t : QuerySNRVolume2ByIdArgs_t {};

// The replicas newest first (CreationTime descending); the scratch volume's
// id is -1 when none lies on the SNR volume. The error code is written by
// failures only.
template <typename Volume, typename Scratch, typename Replica>
struct QuerySNRVolume2RetOf {
    using VolumeRecord = Volume;
    using ScratchRecord = Scratch;
    using ReplicaRecord = Replica;

    std::string errMsg;
    Volume volume;
    Scratch scratchVolume;
    std::vector<Replica> replicationVolumes;
};
struct QuerySNRVolume2ByIdRet_t
    : QuerySNRVolume2RetOf<SNRVolumeRecord_t, RVScratchVolumeRecord_t, ReplicationVolumeRecord_t> {};
struct QuerySNRVolume2ById42Ret_t
    : QuerySNRVolume2RetOf<SNRVolumeRecord42_t, RVScratchVolumeRecord_t, ReplicationVolumeRecord42_t> {};
struct QuerySNRVolume2ByIdV3Ret_t
    : QuerySNRVolume2RetOf<SNRVolumeRecordV3_t, RVScratchVolumeRecord_t, ReplicationVolumeV3Record_t> {
    int32_t errCode = 0;
};
struct QuerySNRVolume2ByIdV4Ret_t
    : QuerySNRVolume2RetOf<SNRVolumeRecordV4_t, RVScratchVolumeV2Record_t, ReplicationVolumeV4Record_t> {
    int32_t errCode = 0;
};
struct QuerySNRVolume2ByIdV5Ret_t
    : QuerySNRVolume2RetOf<SNRVolumeRecordV4_t, RVScratchVolumeV2Record_t, ReplicationVolumeV5Record_t> {
    int32_t errCode = 0;
};

// ---- Requests -------------------------------------------------------------------

// The four argument fields in their order.
struct repQuerySNRVolume2ByIdReq {
    int32_t snrVolumeId;
    int32_t flags;
    int32_t creationTime;
    int32_t role;
};
struct repQuerySNRVolume2ById42Req : repQuerySNRVolume2ByIdReq {};
struct repQuerySNRVolume2ByIdV3Req : repQuerySNRVolume2ByIdReq {};
struct repQuerySNRVolume2ByIdV4Req : repQuerySNRVolume2ByIdReq {};
struct repQuerySNRVolume2ByIdV5Req : repQuerySNRVolume2ByIdReq {};

// ---- Replies (status 1 succeeded, 0 failed; the message null on success) ---------

// The SNR volume and the scratch volume inline, the replicas as an array of
// `replicationVolumeCount` wire records, null exactly when the count is 0.
// The count starts on an 8-byte boundary whatever the size of the scratch
// record before it. From V3 on the code stands right after the message.
template <typename Volume, typename Scratch, typename Replica>
struct SNRVolume2ReplyOf {
    int32_t status;
    char* errMsg;
    Volume volume;
    Scratch scratchVolume;
    alignas(8) uint32_t replicationVolumeCount;
    Replica* replicationVolumes;
};
template <typename Volume, typename Scratch, typename Replica>
struct SNRVolume2CodedReplyOf {
    int32_t status;
    char* errMsg;
    int32_t errCode;
    Volume volume;
    Scratch scratchVolume;
    alignas(8) uint32_t replicationVolumeCount;
    Replica* replicationVolumes;
};

struct repQuerySNRVolume2ByIdResp : SNRVolume2ReplyOf<repSNRVolume, repRVScratchVolume, repReplicationVolume> {};
struct repQuerySNRVolume2ById42Resp
    : SNRVolume2ReplyOf<repSNRVolume42, repRVScratchVolume, repReplicationVolume42> {};
struct repQuerySNRVolume2ByIdV3Resp
    : SNRVolume2CodedReplyOf<repSNRVolumeV3, repRVScratchVolume, repReplicationVolumeV3> {};
struct repQuerySNRVolume2ByIdV4Resp
    : SNRVolume2CodedReplyOf<repSNRVolumeV4, repRVScratchVolumeV2, repReplicationVolumeV4> {};
struct repQuerySNRVolume2ByIdV5Resp
    : SNRVolume2CodedReplyOf<repSNRVolumeV4, repRVScratchVolumeV2, repReplicationVolumeV5> {};
