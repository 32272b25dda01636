// Argument and result records and the request and reply structures of the
// replication volume update (message versions 1, 42, 3, 4 and 5).
#pragma once

#include <cstdint>
#include <string>

#include "replicas/ReplicaRecords.h"

// ---- Arguments and results ----------------------------------------------------

// The record's id names the row; GetUpdateMap(record) the columns written.
template <typename Record>
struct UpdateReplicationVolumeArgsOf {
    Record record;
};
struct UpdateReplicationVolumeArgs_t : UpdateReplicationVolumeArgsOf<ReplicationVolumeRecord_t> {};
struct UpdateReplicationVolume42Args_t : UpdateReplicationVolumeArgsOf<ReplicationVolumeRecord42_t> {};
struct UpdateReplicationVolumeV3Args_t : UpdateReplicationVolumeArgsOf<ReplicationVolumeV3Record_t> {};
struct UpdateReplicationVolumeV4Args_t : UpdateReplicationVolumeArgsOf<ReplicationVolumeV4Record_t> {};
struct UpdateReplicationVolumeV5Args_t : UpdateReplicationVolumeArgsOf<ReplicationVolumeV5Record_t> {};

// Versions 1 and 42 carry no code.
struct UpdateReplicationVolumeRet_t {
    std::string errMsg;
};
struct UpdateReplicationVolume42Ret_t : UpdateReplicationVolumeRet_t {};
struct UpdateReplicationVolumeV3Ret_t : UpdateReplicationVolumeRet_t {
    int32_t errCode = 0;
};
struct UpdateReplicationVolumeV4Ret_t : UpdateReplicationVolumeV3Ret_t {};
struct UpdateReplicationVolumeV5Ret_t : UpdateReplicationVolumeV3Ret_t {};

// ---- Requests: the wire record alone ---------------------------------------------

struct repUpdateReplicationVolumeReq {
    repReplicationVolume ReplicationVolume;
};
struct repUpdateReplicationVolume42Req {
    repReplicationVolume42 ReplicationVolume;
};
struct repUpdateReplicationVolumeV3Req {
    repReplicationVolumeV3 ReplicationVolume;
};
struct repUpdateReplicationVolumeV4Req {
    repReplicationVolumeV4 ReplicationVolume;
};
struct repUpdateReplicationVolumeV5Req {
    static constexpr bool kHoldsPointers = true;
    repReplicationVolumeV5 ReplicationVolume;
};

// ---- Replies (status 1 succeeded, 0 failed; the message null on success) ---------

struct repUpdateReplicationVolumeResp {
    uint32_t status;
    char* errMsg;
};
struct repUpdateReplicationVolume42Resp : repUpdateReplicationVolumeResp {};
struct repUpdateReplicationVolumeV3Resp {
    uint32_t status;
    char* errMsg;
    int32_t errCode;
};
struct repUpdateReplicationVolumeV4Resp : repUpdateReplicationVolumeV3Resp {};
struct repUpdateReplicationVolumeV5Resp : repUpdateReplicationVolumeV3Resp {};
