// Browse views by client and by replication policy: everything the
// replication tables hold about the replicas of one client or one policy in
// one reply. The argument and result records and the request and reply
// structures of both message versions (they differ only in the device
// record version).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "replicas/ReplicaRecords.h"
#include "scratch/ScratchRecords.h"
#include "snr/SNRRecords.h"

struct BrowseByClientIdArgs_t {
    int32_t ClientId = -1;
};
struct BrowseByClientIdV2Args_t : BrowseByClientIdArgs_t {};
struct BrowseByPolicyIdArgs_t {
    int32_t PolicyId = -1;
};
struct BrowseByPolicyIdV2Args_t : BrowseByPolicyIdArgs_t {};

// What a browse found; every list is empty after a failure. Apps holds the
// application name of each YB volume, in the order of YBVolumes.
template <typename Device>
struct BrowseRetOf {
    std::vector<SNRVolumeRecordV4_t> SNRVolumes;
    std::vector<Device> Devices;
    std::vector<SNRVolumeMountPointRecord_t> MountPoints;
    std::vector<RVScratchVolumeV2Record_t> ScratchVolumes;
    std::vector<ReplicationVolumeV5Record_t> YBVolumes;
    std::vector<YBVolumeApp_t> Apps;
    std::string errMsg;
    int32_t errCode = 0;
};
struct BrowseByClientIdRet_t : BrowseRetOf<SNRVolumeDeviceNameV3Record_t> {};
struct BrowseByClientIdV2Ret_t : BrowseRetOf<SNRVolumeDeviceNameV4Record_t> {};
struct BrowseByPolicyIdRet_t : BrowseRetOf<SNRVolumeDeviceNameV3Record_t> {};
struct BrowseByPolicyIdV2Ret_t : BrowseRetOf<SNRVolumeDeviceNameV4Record_t> {};

// ---- Requests and replies ---------------------------------------------------------

struct repBrowseByClientIdReq {
    int32_t ClientId;
};
struct repBrowseByClientIdV2Req : repBrowseByClientIdReq {};
struct repBrowseByPolicyIdReq {
    int32_t PolicyId;
};
struct repBrowseByPolicyIdV2Req : repBrowseByPolicyIdReq {};

// Each array holds its count of records and is null exactly when the count
// is 0; a failed reply carries no arrays.
template <typename DeviceWire>
struct repBrowseRespOf {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
    uint32_t SNRVolumeCount;
    repSNRVolumeV4* SNRVolumes;
    uint32_t DeviceCount;
    DeviceWire* Devices;
    uint32_t MountPointCount;
    repSNRVolumeMountPoint* MountPoints;
    uint32_t ScratchVolumeCount;
    repRVScratchVolumeV2* ScratchVolumes;
    uint32_t YBVolumeCount;
    repReplicationVolumeV5* YBVolumes;
    uint32_t AppCount;
    repYBVolumeApp* Apps;
};
struct repBrowseByClientIdResp : repBrowseRespOf<repSNRVolumeDeviceNameV3> {};
struct repBrowseByClientIdV2Resp : repBrowseRespOf<repSNRVolumeDeviceNameV4> {};
struct repBrowseByPolicyIdResp : repBrowseRespOf<repSNRVolumeDeviceNameV3> {};
struct repBrowseByPolicyIdV2Resp : repBrowseRespOf<repSNRVolumeDeviceNameV4> {};
