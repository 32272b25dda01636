// Argument and result records and the request and reply structures of the
// permanent replicas: creation (message versions 1, 42, 3 and 4) and the
// query by primary volume (versions 1, 42 and 3).
#pragma once

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
