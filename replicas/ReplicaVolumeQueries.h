// Argument and result records and the request and reply structures of the
// replication volume queries: one volume by id, the list of all volumes,
// the volumes of a job, the volumes on the SNR volumes of a unique snapshot
// id, and the volumes of a subclient.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "replicas/ReplicaRecords.h"

// ---- Arguments and results ----------------------------------------------------
// Records and lists are filled on success only; a failed list is empty.

struct QueryReplicationVolumeByIdArgs_t {
    int32_t id = -1;
};
struct QueryReplicationVolume42ByIdArgs_t : QueryReplicationVolumeByIdArgs_t {};
struct QueryReplicationVolumeByIdV3Args_t : QueryReplicationVolumeByIdArgs_t {};
struct QueryReplicationVolumeByIdV4Args_t : QueryReplicationVolumeByIdArgs_t {};
struct QueryReplicationVolumeByIdV5Args_t : QueryReplicationVolumeByIdArgs_t {};

template <typename Record>
struct QueryReplicationVolumeByIdRetOf {
    using RecordType = Record;
    std::string errMsg;
    Record record;
};
struct QueryReplicationVolumeByIdRet_t : QueryReplicationVolumeByIdRetOf<ReplicationVolumeRecord_t> {};
struct QueryReplicationVolume42ByIdRet_t : QueryReplicationVolumeByIdRetOf<ReplicationVolumeRecord42_t> {};
struct QueryReplicationVolumeByIdV3Ret_t : QueryReplicationVolumeByIdRetOf<ReplicationVolumeV3Record_t> {
    int32_t errCode = 0;
};
struct QueryReplicationVolumeByIdV4Ret_t : QueryReplicationVolumeByIdRetOf<ReplicationVolumeV4Record_t> {
    int32_t errCode = 0;
};
struct QueryReplicationVolumeByIdV5Ret_t : QueryReplicationVolumeByIdRetOf<ReplicationVolumeV5Record_t> {
    int32_t errCode = 0;
};

template <typename Record>
struct ReplicationVolumeListRetOf {
    std::string errMsg;
    std::vector<Record> volumes;
};
struct GetReplicationVolumeListRet_t : ReplicationVolumeListRetOf<ReplicationVolumeRecord_t> {};
struct GetReplicationVolumeList42Ret_t : ReplicationVolumeListRetOf<ReplicationVolumeRecord42_t> {};
struct GetReplicationVolumeListV3Ret_t : ReplicationVolumeListRetOf<ReplicationVolumeV3Record_t> {
    int32_t errCode = 0;
};
struct GetReplicationVolumeListV4Ret_t : ReplicationVolumeListRetOf<ReplicationVolumeV4Record_t> {
    int32_t errCode = 0;
};
struct GetReplicationVolumeListV5Ret_t : ReplicationVolumeListRetOf<ReplicationVolumeV5Record_t> {
    int32_t errCode = 0;
};

// The job id as the job knows it; the table keeps its low 32 bits.
struct QueryReplicationVolumeByJobIdArgs_t {
    int64_t jobId = -1;
};
struct QueryReplicationVolumeByJobIdV2Args_t : QueryReplicationVolumeByJobIdArgs_t {};
struct QueryReplicationVolumeByJobIdV3Args_t : QueryReplicationVolumeByJobIdArgs_t {};
struct QueryReplicationVolumeByJobIdV4Args_t : QueryReplicationVolumeByJobIdArgs_t {};

// Message version 1 carries records of version 42, and so on.
struct QueryReplicationVolumeByJobIdRet_t : ReplicationVolumeListRetOf<ReplicationVolumeRecord42_t> {};
struct QueryReplicationVolumeByJobIdV2Ret_t : ReplicationVolumeListRetOf<ReplicationVolumeV3Record_t> {
    int32_t errCode = 0;
};
struct QueryReplicationVolumeByJobIdV3Ret_t : ReplicationVolumeListRetOf<ReplicationVolumeV4Record_t> {
    int32_t errCode = 0;
};
struct QueryReplicationVolumeByJobIdV4Ret_t : ReplicationVolumeListRetOf<ReplicationVolumeV5Record_t> {
    int32_t errCode = 0;
};

// Matched as the end of the SNR volumes' UniqueSnapshotID.
struct QueryYBVolByUniqueSnapIdArgs_t {
    std::string uniqueSnapshotId;
};
struct QueryYBVolByUniqueSnapIdV2Args_t : QueryYBVolByUniqueSnapIdArgs_t {};
struct QueryYBVolByUniqueSnapIdV3Args_t : QueryYBVolByUniqueSnapIdArgs_t {};

// Message version 1 carries records of version 3, and so on.
template <typename Record>
struct QueryYBVolByUniqueSnapIdRetOf {
    std::vector<Record> volumes;
    int32_t errCode = 0;
    std::string errMsg;
};
struct QueryYBVolByUniqueSnapIdRet_t : QueryYBVolByUniqueSnapIdRetOf<ReplicationVolumeV3Record_t> {};
struct QueryYBVolByUniqueSnapIdV2Ret_t : QueryYBVolByUniqueSnapIdRetOf<ReplicationVolumeV4Record_t> {};
struct QueryYBVolByUniqueSnapIdV3Ret_t : QueryYBVolByUniqueSnapIdRetOf<ReplicationVolumeV5Record_t> {};

struct QueryYBVolumeBySubclientIdArgs_t {
    int32_t subclientId = -1;
};
struct QueryYBVolumeBySubclientIdRet_t : QueryYBVolByUniqueSnapIdRetOf<ReplicationVolumeV5Record_t> {};

// ---- Requests -------------------------------------------------------------------

struct repQueryReplicationVolumeByIdReq {
    int32_t id;
};
struct repQueryReplicationVol42ByIdReq : repQueryReplicationVolumeByIdReq {};
struct repQueryReplicationVolV3ByIdReq : repQueryReplicationVolumeByIdReq {};
struct repQueryReplicationVolV4ByIdReq : repQueryReplicationVolumeByIdReq {};
struct repQueryReplicationVolV5ByIdReq : repQueryReplicationVolumeByIdReq {};

struct repQueryReplicaVolumeByJobIdReq {
    int64_t jobId;
};
struct repQueryReplicaVolumeV2ByJobIdReq : repQueryReplicaVolumeByJobIdReq {};
struct repQueryReplicaVolumeV3ByJobIdReq : repQueryReplicaVolumeByJobIdReq {};
struct repQueryReplicaVolumeV4ByJobIdReq : repQueryReplicaVolumeByJobIdReq {};

// A null pointer reads as an empty id.
struct repQueryYBVolByUniqueSnapshotIdReq {
    static constexpr bool kHoldsPointers = true;
    char* uniqueSnapshotId;
};
struct repQueryYBVolByUniqueSnapshotIdV2Req : repQueryYBVolByUniqueSnapshotIdReq {};
struct repQueryYBVolByUniqueSnapshotIdV3Req : repQueryYBVolByUniqueSnapshotIdReq {};

struct repGetYBVolumesBySubclientIdReq {
    int32_t subclientId;
};

// ---- Replies (status 1 succeeded, 0 failed; the message null on success) ---------

// By id: the wire record follows the status fields.
template <typename Wire>
struct ReplicaByIdReplyOf {
    uint32_t status;
    char* errMsg;
    Wire ReplicationVolume;
};
template <typename Wire>
struct ReplicaByIdCodedReplyOf {
    uint32_t status;
    char* errMsg;
    int32_t errCode;
    Wire ReplicationVolume;
};

// Lists: the array holds count records and is null exactly when count is 0.
template <typename Wire>
struct ReplicaListReplyOf {
    uint32_t status;
    char* errMsg;
    uint32_t count;
    Wire* volumes;
};
// The count stands on its own 8 bytes after the code.
template <typename Wire>
struct ReplicaListCodedReplyOf {
    uint32_t status;
    char* errMsg;
    int32_t errCode;
    alignas(8) uint32_t count;
    Wire* volumes;
};
// The unique-snapshot and subclient replies put the array first.
template <typename Wire>
struct ReplicaArrayFirstReplyOf {
    uint32_t count;
    Wire* volumes;
    uint32_t status;
    int32_t errCode;
    char* errMsg;
};

struct repQueryReplicationVolumeByIdResp : ReplicaByIdReplyOf<repReplicationVolume> {};
struct repQueryReplicationVol42ByIdResp : ReplicaByIdReplyOf<repReplicationVolume42> {};
struct repQueryReplicationVolV3ByIdResp : ReplicaByIdCodedReplyOf<repReplicationVolumeV3> {};
struct repQueryReplicationVolV4ByIdResp : ReplicaByIdCodedReplyOf<repReplicationVolumeV4> {};
struct repQueryReplicationVolV5ByIdResp : ReplicaByIdCodedReplyOf<repReplicationVolumeV5> {};

struct repGetReplicationVolumeListResp : ReplicaListReplyOf<repReplicationVolume> {};
struct repGetReplicationVolumeList42Resp : ReplicaListReplyOf<repReplicationVolume42> {};
struct repGetReplicationVolumeListV3Resp : ReplicaListCodedReplyOf<repReplicationVolumeV3> {};
struct repGetReplicationVolumeListV4Resp : ReplicaListCodedReplyOf<repReplicationVolumeV4> {};
struct repGetReplicationVolumeListV5Resp : ReplicaListCodedReplyOf<repReplicationVolumeV5> {};

struct repQueryReplicaVolumeByJobIdResp : ReplicaListReplyOf<repReplicationVolume42> {};
struct repQueryReplicaVolumeV2ByJobIdResp : ReplicaListCodedReplyOf<repReplicationVolumeV3> {};
struct repQueryReplicaVolumeV3ByJobIdResp : ReplicaListCodedReplyOf<repReplicationVolumeV4> {};
struct repQueryReplicaVolumeV4ByJobIdResp : ReplicaListCodedReplyOf<repReplicationVolumeV5> {};

struct repQueryYBVolByUniqueSnapshotIdResp : ReplicaArrayFirstReplyOf<repReplicationVolumeV3> {};
struct repQueryYBVolByUniqueSnapshotIdV2Resp : ReplicaArrayFirstReplyOf<repReplicationVolumeV4> {};
struct repQueryYBVolByUniqueSnapshotIdV3Resp : ReplicaArrayFirstReplyOf<repReplicationVolumeV5> {};
struct repGetYBVolumesBySubclientIdResp : ReplicaArrayFirstReplyOf<repReplicationVolumeV5> {};
