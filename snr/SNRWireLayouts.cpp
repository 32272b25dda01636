// The wire layouts of the requests, replies and records of SNR devices,
// volumes, mount points and history names: sizes and field offsets, as the
// host reads and writes them by position; checked when this file compiles, so
// a structure that moves a field stops the build.
#include "snr/DeviceMaintenance.h"
#include "snr/DeviceMessages.h"
#include "snr/DeviceQueries.h"
#include "snr/MountPoints.h"
#include "snr/SNRDeletion.h"
#include "snr/SNRMessages.h"
#include "snr/SNRRecords.h"
#include "snr/SNRVolumeById.h"
#include "snr/SNRVolumeReplicas.h"
#include "snr/SNRVolumeUpdate.h"
#include "snr/SNRWireStructures.h"
#include "snr/VolumeInventory.h"
#include "snr/VolumeLists.h"
#include "snr/VolumeReservation.h"

#include "service/WireLayout.h"

#define ADD_DEVICE_REQUEST_LAYOUT(T, size, device, count, array) \
    WIRE_SIZE_IS(T, (size));                                     \
    WIRE_FIELD_AT(T, SNRVolume, 0);                              \
    WIRE_FIELD_AT(T, Device, device);                            \
    WIRE_FIELD_AT(T, MountPointCount, count);                    \
    WIRE_FIELD_AT(T, MountPoints, array)

#define ADD_DEVICE_REPLY_LAYOUT(T, size)  \
    WIRE_SIZE_IS(T, (size));              \
    WIRE_FIELD_AT(T, status, 0);          \
    WIRE_FIELD_AT(T, errMsg, 8);          \
    WIRE_FIELD_AT(T, SNRVolumeId, 16);    \
    WIRE_FIELD_AT(T, DeviceId, 20);       \
    WIRE_FIELD_AT(T, MountPathCount, 24); \
    WIRE_FIELD_AT(T, MountPaths, 32)

#define ADD_VOLUME_REPLY_LAYOUT(T) \
    WIRE_SIZE_IS(T, 24);           \
    WIRE_FIELD_AT(T, status, 0);   \
    WIRE_FIELD_AT(T, errMsg, 8);   \
    WIRE_FIELD_AT(T, volumeId, 16)

#define SNR_DEVICE_REPLY_LAYOUT(T, size, codeAt) \
    WIRE_SIZE_IS(T, (size));                     \
    WIRE_FIELD_AT(T, status, 0);                 \
    WIRE_FIELD_AT(T, errMsg, 8);                 \
    WIRE_FIELD_AT(T, device, 16);                \
    WIRE_FIELD_AT(T, errCode, codeAt)

#define SNR_DEVICE_LIST_REPLY_LAYOUT(T) \
    WIRE_FIELD_AT(T, status, 0);        \
    WIRE_FIELD_AT(T, errMsg, 8);        \
    WIRE_FIELD_AT(T, count, 16);        \
    WIRE_FIELD_AT(T, devices, 24)

#define SNR_MOUNT_POINT_LIST_REPLY_LAYOUT(T) \
    WIRE_SIZE_IS(T, 32);                     \
    WIRE_FIELD_AT(T, status, 0);             \
    WIRE_FIELD_AT(T, errMsg, 8);             \
    WIRE_FIELD_AT(T, count, 16);             \
    WIRE_FIELD_AT(T, MountPoints, 24)

#define SNR_STATUS_REPLY_LAYOUT(T) \
    WIRE_SIZE_IS(T, 16);           \
    WIRE_FIELD_AT(T, status, 0);   \
    WIRE_FIELD_AT(T, errCode, 4);  \
    WIRE_FIELD_AT(T, errMsg, 8)

#define SNR_HISTORY_QUERY_REPLY_LAYOUT(T)               \
    WIRE_SIZE_IS(T, 32);                                \
    WIRE_FIELD_AT(T, HistoryName.DeviceId, 0);          \
    WIRE_FIELD_AT(T, HistoryName.GlobalHistoryName, 8); \
    WIRE_FIELD_AT(T, status, 16);                       \
    WIRE_FIELD_AT(T, errCode, 20);                      \
    WIRE_FIELD_AT(T, errMsg, 24)

#define SNR_VOLBYID_REPLY_LAYOUT(T, size, volumeAt, scratchAt, replicaAt) \
    WIRE_SIZE_IS(T, (size));                                              \
    WIRE_FIELD_AT(T, status, 0);                                          \
    WIRE_FIELD_AT(T, errMsg, 8);                                          \
    WIRE_FIELD_AT(T, volume, volumeAt);                                   \
    WIRE_FIELD_AT(T, scratchVolume, scratchAt);                           \
    WIRE_FIELD_AT(T, replicationVolume, replicaAt)

#define SNR_VOLUME2_REPLY_LAYOUT(T, size, volumeAt, scratchAt, countAt) \
    WIRE_SIZE_IS(T, (size));                                            \
    WIRE_FIELD_AT(T, status, 0);                                        \
    WIRE_FIELD_AT(T, errMsg, 8);                                        \
    WIRE_FIELD_AT(T, volume, volumeAt);                                 \
    WIRE_FIELD_AT(T, scratchVolume, scratchAt);                         \
    WIRE_FIELD_AT(T, replicationVolumeCount, countAt);                  \
    WIRE_FIELD_AT(T, replicationVolumes, (countAt) + 8)

#define SNR_MESSAGE_REPLY_LAYOUT(T, size) \
    WIRE_SIZE_IS(T, (size));              \
    WIRE_FIELD_AT(T, status, 0);          \
    WIRE_FIELD_AT(T, errMsg, 8)

#define SNR_VOLINFO_REPLY_LAYOUT(T, size, listsAt)            \
    WIRE_SIZE_IS(T, (size));                                  \
    WIRE_FIELD_AT(T, status, 0);                              \
    WIRE_FIELD_AT(T, errMsg, 8);                              \
    WIRE_FIELD_AT(T, volumeCount, (listsAt));                 \
    WIRE_FIELD_AT(T, volumes, (listsAt) + 8);                 \
    WIRE_FIELD_AT(T, deviceCount, (listsAt) + 16);            \
    WIRE_FIELD_AT(T, devices, (listsAt) + 24);                \
    WIRE_FIELD_AT(T, mountPointCount, (listsAt) + 32);        \
    WIRE_FIELD_AT(T, mountPoints, (listsAt) + 40);            \
    WIRE_FIELD_AT(T, scratchVolumeCount, (listsAt) + 48);     \
    WIRE_FIELD_AT(T, scratchVolumes, (listsAt) + 56);         \
    WIRE_FIELD_AT(T, replicationVolumeCount, (listsAt) + 64); \
    WIRE_FIELD_AT(T, replicationVolumes, (listsAt) + 72)

#define SNR_VOLUME_LIST_REPLY_LAYOUT(T, size) \
    WIRE_SIZE_IS(T, (size));                  \
    WIRE_FIELD_AT(T, status, 0);              \
    WIRE_FIELD_AT(T, errMsg, 8);              \
    WIRE_FIELD_AT(T, volumeCount, 16);        \
    WIRE_FIELD_AT(T, volumes, 24);            \
    WIRE_FIELD_AT(T, deviceCount, 32);        \
    WIRE_FIELD_AT(T, devices, 40);            \
    WIRE_FIELD_AT(T, mountPointCount, 48);    \
    WIRE_FIELD_AT(T, mountPoints, 56)

#define SNR_CLIENT_VOLUME_REPLY_LAYOUT(T, size, deviceAt, countAt, arrayAt) \
    WIRE_SIZE_IS(T, (size));                                                \
    WIRE_FIELD_AT(T, status, 0);                                            \
    WIRE_FIELD_AT(T, errMsg, 8);                                            \
    WIRE_FIELD_AT(T, volume, 16);                                           \
    WIRE_FIELD_AT(T, device, deviceAt);                                     \
    WIRE_FIELD_AT(T, mountPointCount, countAt);                             \
    WIRE_FIELD_AT(T, mountPoints, arrayAt)

WIRE_SIZE_IS(repUnconfigureDeviceReq, 4);
WIRE_SIZE_IS(repUpdateSNRDeviceNameResp, 24);
WIRE_FIELD_AT(repUpdateSNRDeviceNameResp, status, 0);
WIRE_FIELD_AT(repUpdateSNRDeviceNameResp, errMsg, 8);
WIRE_FIELD_AT(repUpdateSNRDeviceNameResp, errCode, 16);
WIRE_SIZE_IS(repConfigureDeviceResp, 16);
WIRE_FIELD_AT(repConfigureDeviceResp, status, 0);
WIRE_FIELD_AT(repConfigureDeviceResp, errCode, 4);
WIRE_FIELD_AT(repConfigureDeviceResp, errMsg, 8);

WIRE_SIZE_IS(repSNRMountPath, 16);
WIRE_FIELD_AT(repSNRMountPath, MountPointId, 0);
WIRE_FIELD_AT(repSNRMountPath, Path, 8);
ADD_DEVICE_REQUEST_LAYOUT(repAddSNRDeviceReq, 112, 64, 96, 104);
ADD_DEVICE_REQUEST_LAYOUT(repAddSNRDevice42Req, 128, 80, 112, 120);
ADD_DEVICE_REQUEST_LAYOUT(repAddSNRDeviceV3Req, 200, 120, 168, 176);
ADD_DEVICE_REQUEST_LAYOUT(repAddSNRDeviceV4Req, 216, 120, 184, 192);
ADD_DEVICE_REQUEST_LAYOUT(repAddSNRDeviceV5Req, 224, 120, 192, 200);
WIRE_FIELD_AT(repAddSNRDeviceV3Req, HistoryName, 184);
WIRE_FIELD_AT(repAddSNRDeviceV4Req, HistoryName, 200);
WIRE_FIELD_AT(repAddSNRDeviceV5Req, HistoryName, 208);
ADD_DEVICE_REPLY_LAYOUT(repAddSNRDeviceResponse, 40);
ADD_DEVICE_REPLY_LAYOUT(repAddSNRDevice42Response, 40);
ADD_DEVICE_REPLY_LAYOUT(repAddSNRDeviceV3Response, 48);
ADD_DEVICE_REPLY_LAYOUT(repAddSNRDeviceV4Response, 48);
ADD_DEVICE_REPLY_LAYOUT(repAddSNRDeviceV5Response, 48);
WIRE_FIELD_AT(repAddSNRDeviceV3Response, errCode, 40);
WIRE_FIELD_AT(repAddSNRDeviceV4Response, errCode, 40);
WIRE_FIELD_AT(repAddSNRDeviceV5Response, errCode, 40);
WIRE_SIZE_IS(repAddSNRVolumeReq, 64);
WIRE_SIZE_IS(repAddSNRVolume42Req, 80);
WIRE_SIZE_IS(repAddSNRVolumeV3Req, 120);
WIRE_SIZE_IS(repAddSNRVolumeV4Req, 120);
ADD_VOLUME_REPLY_LAYOUT(repAddSNRVolumeResp);
ADD_VOLUME_REPLY_LAYOUT(repAddSNRVolume42Resp);
ADD_VOLUME_REPLY_LAYOUT(repAddSNRVolumeV3Resp);
ADD_VOLUME_REPLY_LAYOUT(repAddSNRVolumeV4Resp);
WIRE_FIELD_AT(repAddSNRVolumeV3Resp, errCode, 20);
WIRE_FIELD_AT(repAddSNRVolumeV4Resp, errCode, 20);

WIRE_SIZE_IS(repQuerySNRDeviceByIdReq, 4);
WIRE_SIZE_IS(repQuerySNRDeviceByIdV4Req, 4);
WIRE_SIZE_IS(repQuerySNRVolDevsBySNRVolIdReq, 4);
WIRE_SIZE_IS(repQuerySNRVolDevsBySNRVolIdV4Req, 4);
WIRE_SIZE_IS(repQuerySNRDeviceByIdResp, 48);
WIRE_FIELD_AT(repQuerySNRDeviceByIdResp, status, 0);
WIRE_FIELD_AT(repQuerySNRDeviceByIdResp, errMsg, 8);
WIRE_FIELD_AT(repQuerySNRDeviceByIdResp, device, 16);
SNR_DEVICE_REPLY_LAYOUT(repQuerySNRDeviceByIdV2Resp, 72, 64);
SNR_DEVICE_REPLY_LAYOUT(repQuerySNRDeviceByIdV3Resp, 88, 80);
SNR_DEVICE_REPLY_LAYOUT(repQuerySNRDeviceByIdV4Resp, 96, 88);
WIRE_SIZE_IS(repQuerySNRVolDevsBySNRVolIdResp, 32);
SNR_DEVICE_LIST_REPLY_LAYOUT(repQuerySNRVolDevsBySNRVolIdResp);
WIRE_SIZE_IS(repQuerySNRVolDevsBySNRVolIdV2Resp, 40);
WIRE_SIZE_IS(repQuerySNRVolDevsBySNRVolIdV3Resp, 40);
WIRE_SIZE_IS(repQuerySNRVolDevsBySNRVolIdV4Resp, 40);
SNR_DEVICE_LIST_REPLY_LAYOUT(repQuerySNRVolDevsBySNRVolIdV2Resp);
SNR_DEVICE_LIST_REPLY_LAYOUT(repQuerySNRVolDevsBySNRVolIdV3Resp);
SNR_DEVICE_LIST_REPLY_LAYOUT(repQuerySNRVolDevsBySNRVolIdV4Resp);
WIRE_FIELD_AT(repQuerySNRVolDevsBySNRVolIdV2Resp, errCode, 32);
WIRE_FIELD_AT(repQuerySNRVolDevsBySNRVolIdV3Resp, errCode, 32);
WIRE_FIELD_AT(repQuerySNRVolDevsBySNRVolIdV4Resp, errCode, 32);

WIRE_SIZE_IS(repSNRVolumeMountPointEx, 32);
WIRE_FIELD_AT(repSNRVolumeMountPointEx, MountPoint, 0);
WIRE_FIELD_AT(repSNRVolumeMountPointEx, ClientId, 24);
WIRE_SIZE_IS(repRemoveMountPointReq, 4);
WIRE_SIZE_IS(repQuerySNRVolMntPointsBySNRVolDevIdReq, 4);
WIRE_SIZE_IS(repQuerySNRMountPointByIdReq, 4);
WIRE_SIZE_IS(repQuerySNRMountPointByPathReq, 8);
WIRE_SIZE_IS(repQuerySNRMountPointBySNRVolIdReq, 4);
WIRE_SIZE_IS(repRemoveMountPointResponse, 16);
WIRE_FIELD_AT(repRemoveMountPointResponse, status, 0);
WIRE_FIELD_AT(repRemoveMountPointResponse, errMsg, 8);
WIRE_SIZE_IS(repAddMountPointResponse, 16);
WIRE_FIELD_AT(repAddMountPointResponse, MountPointId, 0);
WIRE_FIELD_AT(repAddMountPointResponse, status, 4);
WIRE_FIELD_AT(repAddMountPointResponse, errMsg, 8);
WIRE_SIZE_IS(repUpdateSNRVolumeMountPointResp, 16);
WIRE_FIELD_AT(repUpdateSNRVolumeMountPointResp, status, 0);
WIRE_FIELD_AT(repUpdateSNRVolumeMountPointResp, errMsg, 8);
WIRE_SIZE_IS(repQuerySNRMountPointByIdResp, 40);
WIRE_FIELD_AT(repQuerySNRMountPointByIdResp, status, 0);
WIRE_FIELD_AT(repQuerySNRMountPointByIdResp, errMsg, 8);
WIRE_FIELD_AT(repQuerySNRMountPointByIdResp, MountPoint, 16);
SNR_MOUNT_POINT_LIST_REPLY_LAYOUT(repQuerySNRVolMntPointsBySNRVolDevIdResp);
SNR_MOUNT_POINT_LIST_REPLY_LAYOUT(repQuerySNRMountPointByPathResp);
SNR_MOUNT_POINT_LIST_REPLY_LAYOUT(repQuerySNRMountPointBySNRVolIdResp);

WIRE_SIZE_IS(repDeleteSNRDeviceReq, 4);
WIRE_SIZE_IS(repDeleteSNRDeviceResponse, 16);
WIRE_FIELD_AT(repDeleteSNRDeviceResponse, errMsg, 8);
WIRE_SIZE_IS(repPruneMorvaneVolumeReq, 24);
WIRE_FIELD_AT(repPruneMorvaneVolumeReq, count, 8);
WIRE_FIELD_AT(repPruneMorvaneVolumeReq, names, 16);
WIRE_SIZE_IS(repPruneMorvaneVolumesResp, 16);
WIRE_FIELD_AT(repPruneMorvaneVolumesResp, errCode, 4);
WIRE_FIELD_AT(repPruneMorvaneVolumesResp, errMsg, 8);

WIRE_SIZE_IS(repTzGlobalHistoryNameByDeviceReq, 4);
WIRE_SIZE_IS(repTzGlobalHistoryNameByVolIdReq, 4);
SNR_STATUS_REPLY_LAYOUT(repAddGlobalHistoryNameResp);
SNR_STATUS_REPLY_LAYOUT(repUpdateTzGlobalHistoryNameResp);
SNR_STATUS_REPLY_LAYOUT(repDeleteTzGlobalHistoryNameResp);
SNR_HISTORY_QUERY_REPLY_LAYOUT(repQueryTzGlobalHistoryNameResp);
SNR_HISTORY_QUERY_REPLY_LAYOUT(repQueryTzGlobalHistoryNameByVolIdResp);

WIRE_SIZE_IS(YBPhysicalVolume_t, 2496);
WIRE_FIELD_AT(YBPhysicalVolume_t, id, 0);
WIRE_FIELD_AT(YBPhysicalVolume_t, UniqueId, 4);
WIRE_FIELD_AT(YBPhysicalVolume_t, UniqueIdType, 264);
WIRE_FIELD_AT(YBPhysicalVolume_t, LUN, 268);
WIRE_FIELD_AT(YBPhysicalVolume_t, StartLBA, 272);
WIRE_FIELD_AT(YBPhysicalVolume_t, BlockCount, 280);
WIRE_FIELD_AT(YBPhysicalVolume_t, BlockSize, 288);
WIRE_FIELD_AT(YBPhysicalVolume_t, Flags, 292);
WIRE_FIELD_AT(YBPhysicalVolume_t, FSType, 296);
WIRE_FIELD_AT(YBPhysicalVolume_t, UniqueSnapshotID, 425);
WIRE_FIELD_AT(YBPhysicalVolume_t, ApplianceId, 2476);
WIRE_FIELD_AT(YBPhysicalVolume_t, TzState, 2480);
WIRE_FIELD_AT(YBPhysicalVolume_t, CostCategoryId, 2484);
WIRE_FIELD_AT(YBPhysicalVolume_t, Type, 2488);
WIRE_SIZE_IS(YBPhysicalVolume_t::UniqueId, 257);
WIRE_SIZE_IS(YBPhysicalVolume_t::FSType, 129);
WIRE_SIZE_IS(YBPhysicalVolume_t::UniqueSnapshotID, 2049);
WIRE_SIZE_IS(YBPhysicalDevice_t, 2204);
WIRE_FIELD_AT(YBPhysicalDevice_t, id, 0);
WIRE_FIELD_AT(YBPhysicalDevice_t, ClientId, 4);
WIRE_FIELD_AT(YBPhysicalDevice_t, SNRVolumeId, 8);
WIRE_FIELD_AT(YBPhysicalDevice_t, DeviceName, 12);
WIRE_FIELD_AT(YBPhysicalDevice_t, Flags, 1040);
WIRE_FIELD_AT(YBPhysicalDevice_t, OSDeviceName, 1044);
WIRE_FIELD_AT(YBPhysicalDevice_t, AccessPath, 2069);
WIRE_FIELD_AT(YBPhysicalDevice_t, FilerClientId, 2200);
WIRE_FIELD_AT(YBMountPoint_t, id, 0);
WIRE_FIELD_AT(YBMountPoint_t, DeviceNameId, 4);
WIRE_FIELD_AT(YBMountPoint_t, Path, 8);
WIRE_FIELD_AT(YBMountPoint_t, Flags, 1036);
WIRE_SIZE_IS(YBMountPoint_t, 1040);
WIRE_FIELD_AT(YBTzHistoryName_t, DeviceId, 0);
WIRE_FIELD_AT(YBTzHistoryName_t, GlobalHistoryName, 4);
WIRE_FIELD_AT(YBTzHistoryName_t, Flags, 1032);
WIRE_SIZE_IS(YBTzHistoryName_t, 1036);

WIRE_SIZE_IS(repQuerySNRVolByIdReq, 4);
WIRE_SIZE_IS(repQuerySNRVolByIdV3Req, 4);
WIRE_SIZE_IS(repQuerySNRVolByIdV4Req, 8);
WIRE_SIZE_IS(repQuerySNRVolByIdV5Req, 8);
WIRE_FIELD_AT(repQuerySNRVolByIdV4Req, srcVolumeId, 4);
SNR_VOLBYID_REPLY_LAYOUT(repQuerySNRVolByIdResp, 136, 16, 80, 92);
SNR_VOLBYID_REPLY_LAYOUT(repQuerySNRVolById42Resp, 176, 16, 96, 112);
SNR_VOLBYID_REPLY_LAYOUT(repQuerySNRVolByIdV3Resp, 240, 24, 144, 160);
SNR_VOLBYID_REPLY_LAYOUT(repQuerySNRVolByIdV4Resp, 256, 24, 144, 168);
SNR_VOLBYID_REPLY_LAYOUT(repQuerySNRVolByIdV5Resp, 272, 24, 144, 168);
WIRE_FIELD_AT(repQuerySNRVolByIdV3Resp, errCode, 16);
WIRE_FIELD_AT(repQuerySNRVolByIdV4Resp, errCode, 16);
WIRE_FIELD_AT(repQuerySNRVolByIdV5Resp, errCode, 16);

WIRE_SIZE_IS(repQuerySNRVolume2ByIdReq, 16);
WIRE_SIZE_IS(repQuerySNRVolume2ByIdV5Req, 16);
WIRE_FIELD_AT(repQuerySNRVolume2ByIdReq, flags, 4);
WIRE_FIELD_AT(repQuerySNRVolume2ByIdReq, creationTime, 8);
WIRE_FIELD_AT(repQuerySNRVolume2ByIdReq, role, 12);
SNR_VOLUME2_REPLY_LAYOUT(repQuerySNRVolume2ByIdResp, 112, 16, 80, 96);
SNR_VOLUME2_REPLY_LAYOUT(repQuerySNRVolume2ById42Resp, 128, 16, 96, 112);
SNR_VOLUME2_REPLY_LAYOUT(repQuerySNRVolume2ByIdV3Resp, 176, 24, 144, 160);
SNR_VOLUME2_REPLY_LAYOUT(repQuerySNRVolume2ByIdV4Resp, 184, 24, 144, 168);
SNR_VOLUME2_REPLY_LAYOUT(repQuerySNRVolume2ByIdV5Resp, 184, 24, 144, 168);
WIRE_FIELD_AT(repQuerySNRVolume2ByIdV3Resp, errCode, 16);
WIRE_FIELD_AT(repQuerySNRVolume2ByIdV4Resp, errCode, 16);
WIRE_FIELD_AT(repQuerySNRVolume2ByIdV5Resp, errCode, 16);

WIRE_SIZE_IS(repUpdateSNRVolumeReq, sizeof(repSNRVolume));
WIRE_SIZE_IS(repUpdateSNRVolumeV4Req, 120);
SNR_MESSAGE_REPLY_LAYOUT(repUpdateSNRVolumeResponse, 16);
SNR_MESSAGE_REPLY_LAYOUT(repUpdateSNRVolume42Response, 16);
SNR_MESSAGE_REPLY_LAYOUT(repUpdateSNRVolumeV3Response, 24);
SNR_MESSAGE_REPLY_LAYOUT(repUpdateSNRVolumeV4Response, 24);
WIRE_FIELD_AT(repUpdateSNRVolumeV3Response, errCode, 16);
WIRE_FIELD_AT(repUpdateSNRVolumeV4Response, errCode, 16);

WIRE_SIZE_IS(repSNRVolume, 64);
WIRE_FIELD_AT(repSNRVolume, id, 0);
WIRE_FIELD_AT(repSNRVolume, UniqueId, 8);
WIRE_FIELD_AT(repSNRVolume, UniqueIdType, 16);
WIRE_FIELD_AT(repSNRVolume, LUN, 20);
WIRE_FIELD_AT(repSNRVolume, StartLBA, 24);
WIRE_FIELD_AT(repSNRVolume, BlockCount, 28);
WIRE_FIELD_AT(repSNRVolume, BlockSize, 32);
WIRE_FIELD_AT(repSNRVolume, BackupFromSnap, 36);
WIRE_FIELD_AT(repSNRVolume, Locked, 40);
WIRE_FIELD_AT(repSNRVolume, FSType, 48);
WIRE_FIELD_AT(repSNRVolume, UsePermReplica, 56);
WIRE_SIZE_IS(repSNRVolume42, 80);
WIRE_FIELD_AT(repSNRVolume42, id, 0);
WIRE_FIELD_AT(repSNRVolume42, UniqueId, 8);
WIRE_FIELD_AT(repSNRVolume42, UniqueIdType, 16);
WIRE_FIELD_AT(repSNRVolume42, LUN, 20);
WIRE_FIELD_AT(repSNRVolume42, StartLBA, 24);
WIRE_FIELD_AT(repSNRVolume42, BlockCount, 28);
WIRE_FIELD_AT(repSNRVolume42, BlockSize, 32);
WIRE_FIELD_AT(repSNRVolume42, BackupFromSnap, 36);
WIRE_FIELD_AT(repSNRVolume42, Locked, 40);
WIRE_FIELD_AT(repSNRVolume42, FSType, 48);
WIRE_FIELD_AT(repSNRVolume42, UsePermReplica, 56);
WIRE_FIELD_AT(repSNRVolume42, UniqueSnapshotID, 64);
WIRE_FIELD_AT(repSNRVolume42, Allocated, 72);
WIRE_SIZE_IS(repSNRVolumeV3, 120);
WIRE_FIELD_AT(repSNRVolumeV3, id, 0);
WIRE_FIELD_AT(repSNRVolumeV3, UniqueId, 8);
WIRE_FIELD_AT(repSNRVolumeV3, UniqueIdType, 16);
WIRE_FIELD_AT(repSNRVolumeV3, LUN, 20);
WIRE_FIELD_AT(repSNRVolumeV3, StartLBA, 24);
WIRE_FIELD_AT(repSNRVolumeV3, BlockCount, 32);
WIRE_FIELD_AT(repSNRVolumeV3, BlockSize, 40);
WIRE_FIELD_AT(repSNRVolumeV3, BackupFromSnap, 44);
WIRE_FIELD_AT(repSNRVolumeV3, Locked, 48);
WIRE_FIELD_AT(repSNRVolumeV3, FSType, 56);
WIRE_FIELD_AT(repSNRVolumeV3, UsePermReplica, 64);
WIRE_FIELD_AT(repSNRVolumeV3, UniqueSnapshotID, 72);
WIRE_FIELD_AT(repSNRVolumeV3, Allocated, 80);
WIRE_FIELD_AT(repSNRVolumeV3, MorvaneProtected, 84);
WIRE_FIELD_AT(repSNRVolumeV3, ApplianceId, 88);
WIRE_FIELD_AT(repSNRVolumeV3, UpdateMap, 92);
WIRE_FIELD_AT(repSNRVolumeV3, TzState, 96);
WIRE_FIELD_AT(repSNRVolumeV3, CostCategoryId, 104);
WIRE_FIELD_AT(repSNRVolumeV3, ShadowImported, 112);
WIRE_SIZE_IS(repSNRVolumeV4, 120);
WIRE_FIELD_AT(repSNRVolumeV4, id, 0);
WIRE_FIELD_AT(repSNRVolumeV4, UniqueId, 8);
WIRE_FIELD_AT(repSNRVolumeV4, UniqueIdType, 16);
WIRE_FIELD_AT(repSNRVolumeV4, LUN, 20);
WIRE_FIELD_AT(repSNRVolumeV4, StartLBA, 24);
WIRE_FIELD_AT(repSNRVolumeV4, BlockCount, 32);
WIRE_FIELD_AT(repSNRVolumeV4, BlockSize, 40);
WIRE_FIELD_AT(repSNRVolumeV4, BackupFromSnap, 44);
WIRE_FIELD_AT(repSNRVolumeV4, Locked, 48);
WIRE_FIELD_AT(repSNRVolumeV4, FSType, 56);
WIRE_FIELD_AT(repSNRVolumeV4, UsePermReplica, 64);
WIRE_FIELD_AT(repSNRVolumeV4, UniqueSnapshotID, 72);
WIRE_FIELD_AT(repSNRVolumeV4, Allocated, 80);
WIRE_FIELD_AT(repSNRVolumeV4, MorvaneProtected, 84);
WIRE_FIELD_AT(repSNRVolumeV4, ApplianceId, 88);
WIRE_FIELD_AT(repSNRVolumeV4, UpdateMap, 92);
WIRE_FIELD_AT(repSNRVolumeV4, TzState, 96);
WIRE_FIELD_AT(repSNRVolumeV4, CostCategoryId, 104);
WIRE_FIELD_AT(repSNRVolumeV4, ShadowImported, 112);
WIRE_FIELD_AT(repSNRVolumeV4, VolType, 116);
WIRE_SIZE_IS(repSNRVolumeDeviceName, 32);
WIRE_SIZE_IS(repSNRVolumeDeviceNameV2, 48);
WIRE_SIZE_IS(repSNRVolumeDeviceNameV3, 64);
WIRE_SIZE_IS(repSNRVolumeDeviceNameV4, 72);
WIRE_FIELD_AT(repSNRVolumeDeviceName, id, 0);
WIRE_FIELD_AT(repSNRVolumeDeviceName, ClientId, 4);
WIRE_FIELD_AT(repSNRVolumeDeviceName, SNRVolumeId, 8);
WIRE_FIELD_AT(repSNRVolumeDeviceName, DeviceName, 16);
WIRE_FIELD_AT(repSNRVolumeDeviceName, IsCaseSensitive, 24);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV2, id, 0);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV2, ClientId, 4);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV2, SNRVolumeId, 8);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV2, DeviceName, 16);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV2, IsCaseSensitive, 24);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV2, OSDeviceName, 32);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV2, Configured, 40);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV2, Fake, 44);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV3, id, 0);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV3, ClientId, 4);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV3, SNRVolumeId, 8);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV3, DeviceName, 16);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV3, IsCaseSensitive, 24);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV3, OSDeviceName, 32);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV3, Configured, 40);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV3, Fake, 44);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV3, VVM, 48);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV3, UpdateMap, 52);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV3, AccessPath, 56);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV4, id, 0);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV4, ClientId, 4);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV4, SNRVolumeId, 8);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV4, DeviceName, 16);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV4, IsCaseSensitive, 24);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV4, OSDeviceName, 32);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV4, Configured, 40);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV4, Fake, 44);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV4, VVM, 48);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV4, UpdateMap, 52);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV4, AccessPath, 56);
WIRE_FIELD_AT(repSNRVolumeDeviceNameV4, FilerClientId, 64);
WIRE_SIZE_IS(repSNRVolumeMountPoint, 24);
WIRE_FIELD_AT(repSNRVolumeMountPoint, id, 0);
WIRE_FIELD_AT(repSNRVolumeMountPoint, DeviceNameId, 4);
WIRE_FIELD_AT(repSNRVolumeMountPoint, Path, 8);
WIRE_FIELD_AT(repSNRVolumeMountPoint, IsCaseSensitive, 16);
WIRE_FIELD_AT(repSNRVolumeMountPoint, Unmounted, 20);
WIRE_SIZE_IS(repYBTzHistoryNameRec, 16);
WIRE_FIELD_AT(repYBTzHistoryNameRec, DeviceId, 0);
WIRE_FIELD_AT(repYBTzHistoryNameRec, GlobalHistoryName, 8);

WIRE_SIZE_IS(repQuerySNRDeviceByClientIdReq, 4);
WIRE_SIZE_IS(repQuerySNRDeviceByClientIdV6Req, 4);
SNR_VOLINFO_REPLY_LAYOUT(repQuerySNRDeviceByClientIdResponse, 96, 16);
SNR_VOLINFO_REPLY_LAYOUT(repQuerySNRDeviceByClientId42Response, 96, 16);
SNR_VOLINFO_REPLY_LAYOUT(repQuerySNRDeviceByClientIdV3Response, 104, 24);
SNR_VOLINFO_REPLY_LAYOUT(repQuerySNRDeviceByClientIdV4Response, 104, 24);
SNR_VOLINFO_REPLY_LAYOUT(repQuerySNRDeviceByClientIdV5Response, 104, 24);
SNR_VOLINFO_REPLY_LAYOUT(repQuerySNRDeviceByClientIdV6Response, 104, 24);
WIRE_FIELD_AT(repQuerySNRDeviceByClientIdV3Response, errCode, 16);
WIRE_FIELD_AT(repQuerySNRDeviceByClientIdV4Response, errCode, 16);
WIRE_FIELD_AT(repQuerySNRDeviceByClientIdV5Response, errCode, 16);
WIRE_FIELD_AT(repQuerySNRDeviceByClientIdV6Response, errCode, 16);

WIRE_SIZE_IS(repGetSNRInfoByClientAndVolReq, 8);
WIRE_FIELD_AT(repGetSNRInfoByClientAndVolReq, snrVolumeId, 0);
WIRE_FIELD_AT(repGetSNRInfoByClientAndVolReq, clientId, 4);
SNR_VOLUME_LIST_REPLY_LAYOUT(repGetSNRVolumesResp, 64);
SNR_VOLUME_LIST_REPLY_LAYOUT(repGetSNRVolumesV2Resp, 72);
SNR_VOLUME_LIST_REPLY_LAYOUT(repGetSNRVolumesV3Resp, 72);
SNR_VOLUME_LIST_REPLY_LAYOUT(repGetSNRVolumesV4Resp, 72);
WIRE_FIELD_AT(repGetSNRVolumesV2Resp, errCode, 64);
WIRE_FIELD_AT(repGetSNRVolumesV3Resp, errCode, 64);
WIRE_FIELD_AT(repGetSNRVolumesV4Resp, errCode, 64);
SNR_CLIENT_VOLUME_REPLY_LAYOUT(repGetSNRInfoByClientAndVolResp, 144, 96, 128, 136);
SNR_CLIENT_VOLUME_REPLY_LAYOUT(repGetSNRInfoByClientAndVolV2Resp, 208, 136, 184, 192);
SNR_CLIENT_VOLUME_REPLY_LAYOUT(repGetSNRInfoByClientAndVolV3Resp, 224, 136, 200, 208);
SNR_CLIENT_VOLUME_REPLY_LAYOUT(repGetSNRInfoByClientAndVolV4Resp, 232, 136, 208, 216);
WIRE_FIELD_AT(repGetSNRInfoByClientAndVolV2Resp, errCode, 200);
WIRE_FIELD_AT(repGetSNRInfoByClientAndVolV3Resp, errCode, 216);
WIRE_FIELD_AT(repGetSNRInfoByClientAndVolV4Resp, errCode, 224);

WIRE_SIZE_IS(repReserveSNRVolReq, 16);
WIRE_FIELD_AT(repReserveSNRVolReq, ids, 8);
WIRE_SIZE_IS(repReserveSNRVolV2Req, 24);
WIRE_FIELD_AT(repReserveSNRVolV2Req, ids, 8);
WIRE_FIELD_AT(repReserveSNRVolV2Req, jobId, 16);
WIRE_SIZE_IS(repUnreserveSNRVolReq, 16);
SNR_MESSAGE_REPLY_LAYOUT(repReserveSNRVolResp, 16);
SNR_MESSAGE_REPLY_LAYOUT(repUnreserveSNRVolResp, 16);
SNR_MESSAGE_REPLY_LAYOUT(repReserveSNRVolV2Resp, 24);
SNR_MESSAGE_REPLY_LAYOUT(repAllocateSNRVolResp, 24);
SNR_MESSAGE_REPLY_LAYOUT(repDeallocateSNRVolResp, 24);
WIRE_FIELD_AT(repReserveSNRVolV2Resp, errCode, 16);
WIRE_FIELD_AT(repAllocateSNRVolResp, errCode, 16);
WIRE_FIELD_AT(repDeallocateSNRVolResp, errCode, 16);
