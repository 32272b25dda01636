// Argument and result records and the request and reply structures of the
// scratch pool contents query in its six message versions: the SNR volumes
// of a pool with their scratch volumes, the replication volumes on them,
// their devices and the devices' mount points.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "replicas/ReplicaRecords.h"
#include "scratch/ScratchRecords.h"
#include "snr/SNRRecords.h"

// ---- Arguments and results ----------------------------------------------------------

struct QueryRVScratchVolArgs_t {
    int32_t poolId = -1;
};
struct QueryRVScratchVol42Args_t : QueryRVScratchVolArgs_t {};
struct QueryRVScratchVolV3Args_t : QueryRVScratchVolArgs_t {};
struct QueryRVScratchVolV4Args_t : QueryRVScratchVolArgs_t {};
struct QueryRVScratchVolV5Args_t : QueryRVScratchVolArgs_t {};
struct QueryRVScratchVolV6Args_t : QueryRVScratchVolArgs_t {};

// The five lists of one message version's record kinds. The SNR volume and
// scratch volume lists run in step; a volume without a replication volume
// adds none. All five are empty after a failure.
template <typename Volume, typename Device, typename Scratch, typename Replica>
struct PoolContentsOf {
    std::string errMsg;
    std::vector<Volume> volumes;
    std::vector<Device> devices;
    std::vector<SNRVolumeMountPointRecord_t> mountPoints;
    std::vector<Scratch> scratchVolumes;
    std::vector<Replica> replicas;

    void clear()
    {
        volumes.clear();
        devices.clear();
        mountPoints.clear();
        scratchVolumes.clear();
        replicas.clear();
    }
};

// Versions 1 and 42 carry no code.
struct QueryMgrRVScratchVolRet_t
    : PoolContentsOf<SNRVolumeRecord_t, SNRVolumeDeviceNameRecord_t, RVScratchVolumeRecord_t, ReplicationVolumeRecord_t> {
};
struct QueryMgrRVScratchVol42Ret_t : PoolContentsOf<SNRVolumeRecord42_t, SNRVolumeDeviceNameRecord_t,
                                                    RVScratchVolumeRecord_t, ReplicationVolumeRecord42_t> {};
struct QueryRVScratchVolV3Ret_t : PoolContentsOf<SNRVolumeRecordV3_t, SNRVolumeDeviceNameV2Record_t,
                                                 RVScratchVolumeRecord_t, ReplicationVolumeV3Record_t> {
    int32_t errCode = 0;  // set on failure
};
struct QueryRVScratchVolV4Ret_t : PoolContentsOf<SNRVolumeRecordV4_t, SNRVolumeDeviceNameV3Record_t,
                                                 RVScratchVolumeV2Record_t, ReplicationVolumeV4Record_t> {
    int32_t errCode = 0;
};
struct QueryRVScratchVolV5Ret_t : PoolContentsOf<SNRVolumeRecordV4_t, SNRVolumeDeviceNameV3Record_t,
                                                 RVScratchVolumeV2Record_t, ReplicationVolumeV5Record_t> {
    int32_t errCode = 0;
};
struct QueryRVScratchVolV6Ret_t : PoolContentsOf<SNRVolumeRecordV4_t, SNRVolumeDeviceNameV4Record_t,
                                                 RVScratchVolumeV2Record_t, ReplicationVolumeV5Record_t> {
    int32_t errCode = 0;
};

// ---- Requests ------------------------------------------------------------------------

struct repQueryRVScratchVolumeByScratchPoolIdReq {
    uint32_t poolId;
};
struct repQueryRVScratchVolumeByScratchPoolId42Req : repQueryRVScratchVolumeByScratchPoolIdReq {};
struct repQueryRVScratchVolumeByScratchPoolIdV3Req : repQueryRVScratchVolumeByScratchPoolIdReq {};
struct repQueryRVScratchVolumeByScratchPoolIdV4Req : repQueryRVScratchVolumeByScratchPoolIdReq {};
struct repQueryRVScratchVolumeByScratchPoolIdV5Req : repQueryRVScratchVolumeByScratchPoolIdReq {};
struct repQueryRVScratchVolumeByScratchPoolIdV6Req : repQueryRVScratchVolumeByScratchPoolIdReq {};

// ---- Replies (status 1 succeeded, 0 failed; the message null on success) -------------

// The five arrays of a reply; each is null exactly when its count is 0.
template <typename Volume, typename Device, typename Scratch, typename Replica>
struct PoolContentsLists {
    uint32_t nVolumes;
    Volume* volumes;
    uint32_t nDevices;
    Device* devices;
    uint32_t nMountPoints;
    repSNRVolumeMountPoint* mountPoints;
    uint32_t nScratchVolumes;
    Scratch* scratchVolumes;
    uint32_t nReplicas;
    Replica* replicas;
};

template <typename Lists>
struct PoolContentsReply {
    uint32_t status;
    char* errMsg;
    Lists lists;
};
// From version 3 the code follows the message, ahead of the lists.
template <typename Lists>
struct PoolContentsReplyWithCode {
    uint32_t status;
    char* errMsg;
    int32_t errCode;
    Lists lists;
};

struct repQueryRVScratchVolumeByScratchPoolIdResponse
    : PoolContentsReply<PoolContentsLists<repSNRVolume, repSNRVolumeDeviceName, repRVScratchVolume, repReplicationVolume>> {
};
struct repQueryRVScratchVolumeByScratchPoolId42Response
    : PoolContentsReply<
          PoolContentsLists<repSNRVolume42, repSNRVolumeDeviceName, repRVScratchVolume, repReplicationVolume42>> {};
struct repQueryRVScratchVolumeByScratchPoolIdV3Response
    : PoolContentsReplyWithCode<
          PoolContentsLists<repSNRVolumeV3, repSNRVolumeDeviceNameV2, repRVScratchVolume, repReplicationVolumeV3>> {};
struct repQueryRVScratchVolumeByScratchPoolIdV4Response
    : PoolContentsReplyWithCode<
          PoolContentsLists<repSNRVolumeV4, repSNRVolumeDeviceNameV3, repRVScratchVolumeV2, repReplicationVolumeV4>> {};
struct repQueryRVScratchVolumeByScratchPoolIdV5Response
    : PoolContentsReplyWithCode<
          PoolContentsLists<repSNRVolumeV4, repSNRVolumeDeviceNameV3, repRVScratchVolumeV2, repReplicationVolumeV5>> {};
struct repQueryRVScratchVolumeByScratchPoolIdV6Response
    : PoolContentsReplyWithCode<
          PoolContentsLists<repSNRVolumeV4, repSNRVolumeDeviceNameV4, repRVScratchVolumeV2, repReplicationVolumeV5>> {};
