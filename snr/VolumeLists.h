// Result and argument records and the request and reply structures of the
// volume lists: every SNR volume with its devices and their mount points, and
// one client's view of one SNR volume (four message versions each).
#pragma once

#include <cstddef>
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

static_assert(sizeof(repGetSNRInfoByClientAndVolReq) == 8, "repGetSNRInfoByClientAndVolReq size");
YB_CHECK_FIELD(repGetSNRInfoByClientAndVolReq, snrVolumeId, 0);
YB_CHECK_FIELD(repGetSNRInfoByClientAndVolReq, clientId, 4);

#define SNR_VOLUME_LIST_REPLY_LAYOUT(T, size)    \
    static_assert(sizeof(T) == (size), #T " size"); \
    YB_CHECK_FIELD(T, status, 0);                \
    YB_CHECK_FIELD(T, errMsg, 8);                \
    YB_CHECK_FIELD(T, volumeCount, 16);          \
    YB_CHECK_FIELD(T, volumes, 24);              \
    YB_CHECK_FIELD(T, deviceCount, 32);          \
    YB_CHECK_FIELD(T, devices, 40);              \
    YB_CHECK_FIELD(T, mountPointCount, 48);      \
    YB_CHECK_FIELD(T, mountPoints, 56)
SNR_VOLUME_LIST_REPLY_LAYOUT(repGetSNRVolumesResp, 64);
SNR_VOLUME_LIST_REPLY_LAYOUT(repGetSNRVolumesV2Resp, 72);
SNR_VOLUME_LIST_REPLY_LAYOUT(repGetSNRVolumesV3Resp, 72);
SNR_VOLUME_LIST_REPLY_LAYOUT(repGetSNRVolumesV4Resp, 72);
YB_CHECK_FIELD(repGetSNRVolumesV2Resp, errCode, 64);
YB_CHECK_FIELD(repGetSNRVolumesV3Resp, errCode, 64);
YB_CHECK_FIELD(repGetSNRVolumesV4Resp, errCode, 64);
#undef SNR_VOLUME_LIST_REPLY_LAYOUT

#define SNR_CLIENT_VOLUME_REPLY_LAYOUT(T, size, deviceAt, countAt, arrayAt) \
    static_assert(sizeof(T) == (size), #T " size");                         \
    YB_CHECK_FIELD(T, status, 0);                                           \
    YB_CHECK_FIELD(T, errMsg, 8);                                           \
    YB_CHECK_FIELD(T, volume, 16);                                          \
    YB_CHECK_FIELD(T, device, deviceAt);                                    \
    YB_CHECK_FIELD(T, mountPointCount, countAt);                            \
    YB_CHECK_FIELD(T, mountPoints, arrayAt)
SNR_CLIENT_VOLUME_REPLY_LAYOUT(repGetSNRInfoByClientAndVolResp, 144, 96, 128, 136);
SNR_CLIENT_VOLUME_REPLY_LAYOUT(repGetSNRInfoByClientAndVolV2Resp, 208, 136, 184, 192);
SNR_CLIENT_VOLUME_REPLY_LAYOUT(repGetSNRInfoByClientAndVolV3Resp, 224, 136, 200, 208);
SNR_CLIENT_VOLUME_REPLY_LAYOUT(repGetSNRInfoByClientAndVolV4Resp, 232, 136, 208, 216);
YB_CHECK_FIELD(repGetSNRInfoByClientAndVolV2Resp, errCode, 200);
YB_CHECK_FIELD(repGetSNRInfoByClientAndVolV3Resp, errCode, 216);
YB_CHECK_FIELD(repGetSNRInfoByClientAndVolV4Resp, errCode, 224);
#undef SNR_CLIENT_VOLUME_REPLY_LAYOUT
