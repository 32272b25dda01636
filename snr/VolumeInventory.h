// Argument and result records and the request and reply structures of the
// volume inventory of a client: its devices, the SNR volumes they reach with
// the replication and scratch volume lying on each, and the devices' mount
// points (six message versions).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "replicas/ReplicaRecords.h"
#include "scratch/ScratchRecords.h"
#include "snr/SNRRecords.h"

// ---- Arguments and results ----------------------------------------------------

struct QuerySNRDeviceArgs_t {
    int32_t clientId = -1;
};
struct QuerySNRDevice42Args_t : QuerySNRDeviceArgs_t {};
struct QuerySNRDeviceV3Args_t : QuerySNRDeviceArgs_t {};
struct QuerySNRDeviceV4Args_t : QuerySNRDeviceArgs_t {};
struct QuerySNRDeviceV5Args_t : QuerySNRDeviceArgs_t {};
struct QuerySNRDeviceV6Args_t : QuerySNRDeviceArgs_t {};

// Every list in the order its cursor returned the rows; all five are empty
// after a failure. The scratch and replication lists hold one record per
// listed SNR volume that has one, paired with it by PhysicalVolumeId.
template <typename Volume, typename Device, typename Scratch, typename Replica>
struct QueryVolInfoRetOf {
    using VolumeRecord = Volume;
    using DeviceRecord = Device;
    using ScratchRecord = Scratch;
    using ReplicaRecord = Replica;

    std::string errMsg;
    std::vector<Device> devices;
    std::vector<Volume> volumes;
    std::vector<SNRVolumeMountPointRecord_t> mountPoints;
    std::vector<Scratch> scratchVolumes;
    std::vector<Replica> replicationVolumes;
};

// Versions 1 and 42 carry no error code.
struct QueryMgrSNRDeviceRet_t
    : QueryVolInfoRetOf<SNRVolumeRecord_t, SNRVolumeDeviceNameRecord_t, RVScratchVolumeRecord_t,
                        ReplicationVolumeRecord_t> {};
struct QueryMgrSNRDevice42Ret_t
    : QueryVolInfoRetOf<SNRVolumeRecord42_t, SNRVolumeDeviceNameRecord_t, RVScratchVolumeRecord_t,
                        ReplicationVolumeRecord42_t> {};
struct QuerySNRDeviceV3Ret_t
    : QueryVolInfoRetOf<SNRVolumeRecordV3_t, SNRVolumeDeviceNameV2Record_t, RVScratchVolumeRecord_t,
                        ReplicationVolumeV3Record_t> {
    int32_t errCode = 0;
};
struct QuerySNRDeviceV4Ret_t
    : QueryVolInfoRetOf<SNRVolumeRecordV4_t, SNRVolumeDeviceNameV3Record_t, RVScratchVolumeV2Record_t,
                        ReplicationVolumeV4Record_t> {
    int32_t errCode = 0;
};
struct QuerySNRDeviceV5Ret_t
    : QueryVolInfoRetOf<SNRVolumeRecordV4_t, SNRVolumeDeviceNameV3Record_t, RVScratchVolumeV2Record_t,
                        ReplicationVolumeV5Record_t> {
    int32_t errCode = 0;
};
struct QuerySNRDeviceV6Ret_t
    : QueryVolInfoRetOf<SNRVolumeRecordV4_t, SNRVolumeDeviceNameV4Record_t, RVScratchVolumeV2Record_t,
                        ReplicationVolumeV5Record_t> {
    int32_t errCode = 0;
};

// ---- Requests -------------------------------------------------------------------

struct repQuerySNRDeviceByClientIdReq {
    int32_t ClientId;
};
struct repQuerySNRDeviceByClientId42Req : repQuerySNRDeviceByClientIdReq {};
struct repQuerySNRDeviceByClientIdV3Req : repQuerySNRDeviceByClientIdReq {};
struct repQuerySNRDeviceByClientIdV4Req : repQuerySNRDeviceByClientIdReq {};
struct repQuerySNRDeviceByClientIdV5Req : repQuerySNRDeviceByClientIdReq {};
struct repQuerySNRDeviceByClientIdV6Req : repQuerySNRDeviceByClientIdReq {};

// ---- Replies (status 1 succeeded, 0 failed; the message null on success) ---------

// Each array holds its count of wire records and is null exactly when the
// count is 0. Versions 1 and 42 carry no error code; from V3 on it stands
// right after the message, ahead of the lists, and the first count starts
// on the next 8-byte boundary.
template <typename Volume, typename Device, typename Scratch, typename Replica>
struct VolInfoReplyOf {
    int32_t status;
    char* errMsg;
    uint32_t volumeCount;
    Volume* volumes;
    uint32_t deviceCount;
    Device* devices;
    uint32_t mountPointCount;
    repSNRVolumeMountPoint* mountPoints;
    uint32_t scratchVolumeCount;
    Scratch* scratchVolumes;
    uint32_t replicationVolumeCount;
    Replica* replicationVolumes;
};

template <typename Volume, typename Device, typename Scratch, typename Replica>
struct VolInfoCodedReplyOf {
    int32_t status;
    char* errMsg;
    int32_t errCode;
    alignas(8) uint32_t volumeCount;
    Volume* volumes;
    uint32_t deviceCount;
    Device* devices;
    uint32_t mountPointCount;
    repSNRVolumeMountPoint* mountPoints;
    uint32_t scratchVolumeCount;
    Scratch* scratchVolumes;
    uint32_t replicationVolumeCount;
    Replica* replicationVolumes;
};

struct repQuerySNRDeviceByClientIdResponse
    : VolInfoReplyOf<repSNRVolume, repSNRVolumeDeviceName, repRVScratchVolume, repReplicationVolume> {};
struct repQuerySNRDeviceByClientId42Response
    : VolInfoReplyOf<repSNRVolume42, repSNRVolumeDeviceName, repRVScratchVolume, repReplicationVolume42> {};
struct repQuerySNRDeviceByClientIdV3Response
    : VolInfoCodedReplyOf<repSNRVolumeV3, repSNRVolumeDeviceNameV2, repRVScratchVolume, repReplicationVolumeV3> {};
struct repQuerySNRDeviceByClientIdV4Response
    : VolInfoCodedReplyOf<repSNRVolumeV4, repSNRVolumeDeviceNameV3, repRVScratchVolumeV2, repReplicationVolumeV4> {};
struct repQuerySNRDeviceByClientIdV5Response
    : VolInfoCodedReplyOf<repSNRVolumeV4, repSNRVolumeDeviceNameV3, repRVScratchVolumeV2, repReplicationVolumeV5> {};
struct repQuerySNRDeviceByClientIdV6Response
    : VolInfoCodedReplyOf<repSNRVolumeV4, repSNRVolumeDeviceNameV4, repRVScratchVolumeV2, repReplicationVolumeV5> {};
