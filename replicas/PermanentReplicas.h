// Argument and result records and the request and reply structures of the
// permanent replicas: creation (message versions 1, 42, 3 and 4) and the
// query by primary volume (versions 1, 42 and 3).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "replicas/ReplicaRecords.h"
#include "snr/SNRRecords.h"

// ---- Creation ------------------------------------------------------------------------

template <typename Record>
struct CreatePermanentReplicaArgsOf {
    Record record;
    int32_t PrimaryVolumeId = -1;
};
struct CreatePermanentReplicaArgs_t : CreatePermanentReplicaArgsOf<SNRVolumeRecord_t> {};
template <typename Record>
struct CreatePermanentReplicaJobArgsOf : CreatePermanentReplicaArgsOf<Record> {
    int64_t JobId = 0;
    bool IsSnapActive = false;
    bool ActivateSnap = false;
};
struct CreatePermanentReplica42Args_t : CreatePermanentReplicaJobArgsOf<SNRVolumeRecord42_t> {};
struct CreatePermanentReplicaV3Args_t : CreatePermanentReplicaJobArgsOf<SNRVolumeRecordV3_t> {};
struct CreatePermanentReplicaV4Args_t : CreatePermanentReplicaJobArgsOf<SNRVolumeRecordV4_t> {};

// The ids are those of the SNR volume holding the replica and of the new
// replication volume, set on success. Versions 1 and 42 carry no code.
struct CreatePermanentReplicaRet_t {
    std::string errMsg;
    int32_t PhysicalVolumeId = 0;
    int32_t ReplicationVolumeId = 0;
};
struct CreatePermanentReplica42Ret_t : CreatePermanentReplicaRet_t {};
struct CreatePermanentReplicaV3Ret_t : CreatePermanentReplicaRet_t {
    int32_t errCode = 0;
};
struct CreatePermanentReplicaV4Ret_t : CreatePermanentReplicaV3Ret_t {};

// A flag of a request is true only when it is 1.
struct repCreatePermanentReplicaReq {
    static constexpr bool kHoldsPointers = true;
    repSNRVolume SNRVolume;
    int32_t PrimaryVolumeId;
};
template <typename Wire>
struct repCreatePermanentReplicaJobReqOf {
    static constexpr bool kHoldsPointers = true;
    Wire SNRVolume;
    int32_t PrimaryVolumeId;
    int64_t JobId;
    int32_t IsSnapActive;
    int32_t ActivateSnap;
};
struct repCreatePermanentReplica42Req : repCreatePermanentReplicaJobReqOf<repSNRVolume42> {};
struct repCreatePermanentReplicaV3Req : repCreatePermanentReplicaJobReqOf<repSNRVolumeV3> {};
struct repCreatePermanentReplicaV4Req : repCreatePermanentReplicaJobReqOf<repSNRVolumeV4> {};

// Status 1 succeeded, 0 failed; the message null and the ids set on success only.
struct repCreatePermanentReplicaResp {
    uint32_t status;
    char* errMsg;
    int32_t PhysicalVolumeId;
    int32_t ReplicationVolumeId;
};
struct repCreatePermanentReplica42Resp : repCreatePermanentReplicaResp {};
struct repCreatePermanentReplicaV3Resp {
    uint32_t status;
    char* errMsg;
    int32_t PhysicalVolumeId;
    int32_t ReplicationVolumeId;
    int32_t errCode;
};
struct repCreatePermanentReplicaV4Resp : repCreatePermanentReplicaV3Resp {};

static_assert(offsetof(repCreatePermanentReplicaReq, PrimaryVolumeId) == 64, "repCreatePermanentReplicaReq layout");
static_assert(offsetof(repCreatePermanentReplica42Req, PrimaryVolumeId) == 80, "repCreatePermanentReplica42Req layout");
static_assert(offsetof(repCreatePermanentReplica42Req, JobId) == 88, "repCreatePermanentReplica42Req layout");
static_assert(offsetof(repCreatePermanentReplica42Req, IsSnapActive) == 96, "repCreatePermanentReplica42Req layout");
static_assert(offsetof(repCreatePermanentReplica42Req, ActivateSnap) == 100, "repCreatePermanentReplica42Req layout");
static_assert(offsetof(repCreatePermanentReplicaV3Req, PrimaryVolumeId) == 120, "repCreatePermanentReplicaV3Req layout");
static_assert(offsetof(repCreatePermanentReplicaV3Req, JobId) == 128, "repCreatePermanentReplicaV3Req layout");
static_assert(offsetof(repCreatePermanentReplicaV3Req, ActivateSnap) == 140, "repCreatePermanentReplicaV3Req layout");
static_assert(offsetof(repCreatePermanentReplicaV4Req, ActivateSnap) == 140, "repCreatePermanentReplicaV4Req layout");
static_assert(sizeof(repCreatePermanentReplicaResp) == 24, "repCreatePermanentReplicaResp size");
static_assert(offsetof(repCreatePermanentReplicaResp, ReplicationVolumeId) == 20, "repCreatePermanentReplicaResp layout");
static_assert(sizeof(repCreatePermanentReplica42Resp) == 24, "repCreatePermanentReplica42Resp size");
static_assert(sizeof(repCreatePermanentReplicaV3Resp) == 32, "repCreatePermanentReplicaV3Resp size");
static_assert(offsetof(repCreatePermanentReplicaV3Resp, errCode) == 24, "repCreatePermanentReplicaV3Resp layout");
static_assert(sizeof(repCreatePermanentReplicaV4Resp) == 32, "repCreatePermanentReplicaV4Resp size");

// ---- Query by primary volume -----------------------------------------------------------

struct QueryPermanentReplicaArgs_t {
    int32_t PrimaryVolumeId = -1;
};
struct QueryPermanentReplica42Args_t : QueryPermanentReplicaArgs_t {};
struct QueryPermanentReplicaV3Args_t : QueryPermanentReplicaArgs_t {};

// The record is filled on success; ShadowSnap and TransportableSnap stay false.
struct QueryPermanentReplicaRet_t {
    std::string errMsg;
    ReplicationVolumeRecord_t record;
};
struct QueryPermanentReplica42Ret_t {
    std::string errMsg;
    ReplicationVolumeRecord42_t record;
};
struct QueryPermanentReplicaV3Ret_t {
    std::string errMsg;
    ReplicationVolumeV3Record_t record;
    int32_t errCode = 0;
};

struct repQueryPermanentReplicaReq {
    int32_t PrimaryVolumeId;
};

// Status 1 succeeded, 0 failed; the message null and the record set on success only.
struct repQueryPermanentReplicaResp {
    uint32_t status;
    char* errMsg;
    repReplicationVolume ReplicationVolume;
};
struct repQueryPermanentReplica42Resp {
    uint32_t status;
    char* errMsg;
    repReplicationVolume42 ReplicationVolume;
};
struct repQueryPermanentReplicaV3Resp {
    uint32_t status;
    char* errMsg;
    int32_t errCode;
    repReplicationVolumeV3 ReplicationVolume;
};

static_assert(sizeof(repQueryPermanentReplicaResp) == 64, "repQueryPermanentReplicaResp size");
static_assert(offsetof(repQueryPermanentReplicaResp, ReplicationVolume) == 16, "repQueryPermanentReplicaResp layout");
static_assert(sizeof(repQueryPermanentReplica42Resp) == 80, "repQueryPermanentReplica42Resp size");
static_assert(sizeof(repQueryPermanentReplicaV3Resp) == 104, "repQueryPermanentReplicaV3Resp size");
static_assert(offsetof(repQueryPermanentReplicaV3Resp, ReplicationVolume) == 24, "repQueryPermanentReplicaV3Resp layout");

// ---- Deletion ------------------------------------------------------------------------

struct DeletePermanentReplicaArgs_t {
    explicit DeletePermanentReplicaArgs_t(int32_t primaryVolumeId = -1) : PrimaryVolumeId(primaryVolumeId) {}
    int32_t PrimaryVolumeId;
};
// NotFound: the primary volume has no permanent replica.
struct DeletePermanentReplicaRet_t {
    std::string errMsg;
    bool NotFound = false;
};

struct repDeletePermanentReplicaReq {
    int32_t PrimaryVolumeId;
};
struct repDeletePermanentReplicaResp {
    uint32_t status;
    char* errMsg;
};

static_assert(sizeof(repDeletePermanentReplicaReq) == 4, "repDeletePermanentReplicaReq size");
static_assert(sizeof(repDeletePermanentReplicaResp) == 16, "repDeletePermanentReplicaResp size");
static_assert(offsetof(repDeletePermanentReplicaResp, errMsg) == 8, "repDeletePermanentReplicaResp layout");
