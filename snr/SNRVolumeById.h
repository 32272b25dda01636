// Argument and result records and the request and reply structures of the
// SNR volume by id, with the replication volume and the scratch volume lying
// on it (five message versions; from V4 on the replication volume can be
// limited to the replicas of one source volume).
#pragma once

#include <cstdint>
#include <string>

#include "replicas/ReplicaRecords.h"
#include "scratch/ScratchRecords.h"
#include "snr/SNRRecords.h"

// ---- Arguments and results ----------------------------------------------------

struct QuerySNRVolumeByIdArgs_t {
    int32_t snrVolumeId = -1;
};
struct QuerySNRVolumeById42Args_t : QuerySNRVolumeByIdArgs_t {};
struct QuerySNRVolumeByIdV3Args_t : QuerySNRVolumeByIdArgs_t {};
// srcVolumeId 0: a replication volume of any source.
struct QuerySNRVolumeByIdV4Args_t {
    int32_t snrVolumeId = -1;
    int32_t srcVolumeId = 0;
};
struct QuerySNRVolumeByIdV5Args_t : QuerySNRVolumeByIdV4Args_t {};

// The records are filled on success only. The scratch volume's id is -1 when
// the SNR volume is no scratch volume, the replication volume's id -1 when
// no (matching) replication volume lies on it.
template <typename Volume, typename Scratch, typename Replica>
struct QuerySNRVolumeByIdRetOf {
    using VolumeRecord = Volume;
    using ScratchRecord = Scratch;
    using ReplicaRecord = Replica;

    std::string errMsg;
    Volume volume;
    Scratch scratchVolume;
    Replica replicationVolume;
};
struct QuerySNRVolumeByIdRet_t
    : QuerySNRVolumeByIdRetOf<SNRVolumeRecord_t, RVScratchVolumeRecord_t, ReplicationVolumeRecord_t> {};
struct QuerySNRVolumeById42Ret_t
    : QuerySNRVolumeByIdRetOf<SNRVolumeRecord42_t, RVScratchVolumeRecord_t, ReplicationVolumeRecord42_t> {};
struct QuerySNRVolumeByIdV3Ret_t
    : QuerySNRVolumeByIdRetOf<SNRVolumeRecordV3_t, RVScratchVolumeRecord_t, ReplicationVolumeV3Record_t> {
    int32_t errCode = 0;
};
struct QuerySNRVolumeByIdV4Ret_t
    : QuerySNRVolumeByIdRetOf<SNRVolumeRecordV4_t, RVScratchVolumeV2Record_t, ReplicationVolumeV4Record_t> {
    int32_t errCode = 0;
};
struct QuerySNRVolumeByIdV5Ret_t
    : QuerySNRVolumeByIdRetOf<SNRVolumeRecordV4_t, RVScratchVolumeV2Record_t, ReplicationVolumeV5Record_t> {
    int32_t errCode = 0;
};

// ---- Requests -------------------------------------------------------------------

struct repQuerySNRVolByIdReq {
    int32_t snrVolumeId;
};
struct repQuerySNRVolById42Req : repQuerySNRVolByIdReq {};
struct repQuerySNRVolByIdV3Req : repQuerySNRVolByIdReq {};
struct repQuerySNRVolByIdV4Req {
    int32_t snrVolumeId;
    int32_t srcVolumeId;  // 0: any source
};
struct repQuerySNRVolByIdV5Req : repQuerySNRVolByIdV4Req {};

// ---- Replies (status 1 succeeded, 0 failed; the message null on success) ---------

// The three records are held inline; a failed reply leaves them zero, a
// successful one gives an absent scratch or replication volume in its
// Invalidate form. From V3 on the code stands right after the message.
template <typename Volume, typename Scratch, typename Replica>
struct SNRVolByIdReplyOf {
    int32_t status;
    char* errMsg;
    Volume volume;
    Scratch scratchVolume;
    Replica replicationVolume;
};
template <typename Volume, typename Scratch, typename Replica>
struct SNRVolByIdCodedReplyOf {
    int32_t status;
    char* errMsg;
    int32_t errCode;
    Volume volume;
    Scratch scratchVolume;
    Replica replicationVolume;
};

struct repQuerySNRVolByIdResp : SNRVolByIdReplyOf<repSNRVolume, repRVScratchVolume, repReplicationVolume> {};
struct repQuerySNRVolById42Resp : SNRVolByIdReplyOf<repSNRVolume42, repRVScratchVolume, repReplicationVolume42> {};
struct repQuerySNRVolByIdV3Resp
    : SNRVolByIdCodedReplyOf<repSNRVolumeV3, repRVScratchVolume, repReplicationVolumeV3> {};
struct repQuerySNRVolByIdV4Resp
    : SNRVolByIdCodedReplyOf<repSNRVolumeV4, repRVScratchVolumeV2, repReplicationVolumeV4> {};
struct repQuerySNRVolByIdV5Resp
    : SNRVolByIdCodedReplyOf<repSNRVolumeV4, repRVScratchVolumeV2, repReplicationVolumeV5> {};
