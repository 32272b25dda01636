// Result and argument records and the request and reply structures of the
// volume lists: every SNR volume with its devices and their mount points, and
// one client's view of one SNR volume (four message versions each).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "snr/SNRMessageVersions.h"
#include "snr/SNRRecords.h"

// ---- Every SNR volume ---------------------------------------------------------

// Volumes in ascending id; devices grouped by volume in the order of the
// volumes, ascending id within one; mount points grouped by device in the
// order of the devices. All three are empty after a failure.
template <int MessageVersion>
struct GetSNRVolumeListRetOf {
    std::string errMsg;
    std::vector<SNRVolumeRecordFor<SNRMsgOperation::GetSNRVolumes, MessageVersion>> volumes;
    std::vector<SNRDeviceRecordFor<SNRMsgOperation::GetSNRVolumes, MessageVersion>> devices;
    std::vector<SNRVolumeMountPointRecord_t> mountPoints;
};
struct GetSNRVolumeListRet_t : GetSNRVolumeListRetOf<1> {};
struct GetSNRVolumeListV2Ret_t : GetSNRVolumeListRetOf<2> {
    int32_t errCode = 0;  // set on failure
};
struct GetSNRVolumeListV3Ret_t : GetSNRVolumeListRetOf<3> {
    int32_t errCode = 0;
};
struct GetSNRVolumeListV4Ret_t : GetSNRVolumeListRetOf<4> {
    int32_t errCode = 0;
};

// ---- One client's volume ------------------------------------------------------

struct GetSNRInfoByClientIdAndVolIdArgs_t {
    int32_t clientId = 0;
    int32_t snrVolumeId = 0;
};
struct GetSNRInfoByClientIdAndVolIdV2Args_t : GetSNRInfoByClientIdAndVolIdArgs_t {};
struct GetSNRInfoByClientIdAndVolIdV3Args_t : GetSNRInfoByClientIdAndVolIdArgs_t {};
struct GetSNRInfoByClientIdAndVolIdV4Args_t : GetSNRInfoByClientIdAndVolIdArgs_t {};

// The volume, the client's one device on it (id -1 when the client has
// none) and that device's mount points in id order.
template <int MessageVersion>
struct GetSNRInfoByClientIdAndVolIdRetOf {
    std::string errMsg;
    SNRVolumeRecordFor<SNRMsgOperation::GetSNRInfoByClientAndVol, MessageVersion> volume;
    SNRDeviceRecordFor<SNRMsgOperation::GetSNRInfoByClientAndVol, MessageVersion> device;
    std::vector<SNRVolumeMountPointRecord_t> mountPoints;
};
struct GetSNRInfoByClientIdAndVolIdRet_t : GetSNRInfoByClientIdAndVolIdRetOf<1> {};
struct GetSNRInfoByClientIdAndVolIdV2Ret_t : GetSNRInfoByClientIdAndVolIdRetOf<2> {
    int32_t errCode = 0;  // set on failure
};
struct GetSNRInfoByClientIdAndVolIdV3Ret_t : GetSNRInfoByClientIdAndVolIdRetOf<3> {
    int32_t errCode = 0;
};
struct GetSNRInfoByClientIdAndVolIdV4Ret_t : GetSNRInfoByClientIdAndVolIdRetOf<4> {
    int32_t errCode = 0;
};

// ---- Requests -------------------------------------------------------------------

// The whole list is asked for without a request body.

// The volume comes first on the wire, the client first in the arguments.
struct repGetSNRInfoByClientAndVolReq {
    int32_t snrVolumeId;
    int32_t clientId;
};
using repGetSNRInfoByClientAndVolV2Req = repGetSNRInfoByClientAndVolReq;
using repGetSNRInfoByClientAndVolV3Req = repGetSNRInfoByClientAndVolReq;
using repGetSNRInfoByClientAndVolV4Req = repGetSNRInfoByClientAndVolReq;

// ---- Replies (status 1 succeeded, 0 failed; the message null on success) ---------

// Each array holds its count of records; it is null exactly when its count
// is 0. Version 1 carries no error code.
template <typename Volume, typename Device>
struct repGetSNRVolumesRespOf {
    int32_t status;
    char* errMsg;
    int32_t volumeCount;
    Volume* volumes;
    int32_t deviceCount;
    Device* devices;
    int32_t mountPointCount;
    repSNRVolumeMountPoint* mountPoints;
};
template <typename Volume, typename Device>
struct repGetSNRVolumesCodedRespOf {
    int32_t status;
    char* errMsg;
    int32_t volumeCount;
    Volume* volumes;
    int32_t deviceCount;
    Device* devices;
    int32_t mountPointCount;
    repSNRVolumeMountPoint* mountPoints;
    int32_t errCode;
};
using repGetSNRVolumesResp = repGetSNRVolumesRespOf<repSNRVolume42, repSNRVolumeDeviceName>;
using repGetSNRVolumesV2Resp = repGetSNRVolumesCodedRespOf<repSNRVolumeV3, repSNRVolumeDeviceNameV2>;
using repGetSNRVolumesV3Resp = repGetSNRVolumesCodedRespOf<repSNRVolumeV4, repSNRVolumeDeviceNameV3>;
using repGetSNRVolumesV4Resp = repGetSNRVolumesCodedRespOf<repSNRVolumeV4, repSNRVolumeDeviceNameV4>;

// The volume and the device are filled on success only.
template <typename Volume, typename Device>
struct repGetSNRInfoByClientAndVolRespOf {
    int32_t status;
    char* errMsg;
    Volume volume;
    Device device;
    int32_t mountPointCount;
    repSNRVolumeMountPoint* mountPoints;
};
template <typename Volume, typename Device>
struct repGetSNRInfoByClientAndVolCodedRespOf {
    int32_t status;
    char* errMsg;
    Volume volume;
    Device device;
    int32_t mountPointCount;
    repSNRVolumeMountPoint* mountPoints;
    int32_t errCode;
};
using repGetSNRInfoByClientAndVolResp = repGetSNRInfoByClientAndVolRespOf<repSNRVolume42, repSNRVolumeDeviceName>;
using repGetSNRInfoByClientAndVolV2Resp =
    repGetSNRInfoByClientAndVolCodedRespOf<repSNRVolumeV3, repSNRVolumeDeviceNameV2>;
using repGetSNRInfoByClientAndVolV3Resp =
    repGetSNRInfoByClientAndVolCodedRespOf<repSNRVolumeV4, repSNRVolumeDeviceNameV3>;
using repGetSNRInfoByClientAndVolV4Resp =
    repGetSNRInfoByClientAndVolCodedRespOf<repSNRVolumeV4, repSNRVolumeDeviceNameV4>;
