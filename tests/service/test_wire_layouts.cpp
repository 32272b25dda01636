// The layouts the host reads and writes by position: every request, reply,
// wire record and catalogue row structure, size and field offsets, checked
// when this file compiles. A structure that moves a field fails the build.
#include "cleanup/ClientCleanup.h"
#include "cleanup/JobVolumeHistory.h"
#include "cleanup/SAPOracleJobs.h"
#include "cleanup/SnapshotStates.h"
#include "files/AppViewReplies.h"
#include "files/Appliances.h"
#include "files/BrowseViews.h"
#include "files/ComponentLists.h"
#include "files/EncryptionKeys.h"
#include "files/StoredFileMessages.h"
#include "files/UserApplications.h"
#include "flr/FLRDeleteMessages.h"
#include "flr/FLREntityRecords.h"
#include "flr/FLRMessages.h"
#include "flr/FLRQueryMessages.h"
#include "flr/FLRWireRecords.h"
#include "host/db/FLRTables.h"
#include "host/db/FileTables.h"
#include "host/db/JobHistoryTable.h"
#include "host/db/PolicyTables.h"
#include "host/db/ReplicaTables.h"
#include "host/db/SNRTables.h"
#include "policies/PolicyRecords.h"
#include "policies/ReplicationPolicyMessages.h"
#include "policies/SnapEngineRecords.h"
#include "policies/SnapEngines.h"
#include "policies/VolSnapParamRecords.h"
#include "policies/VolSnapParams.h"
#include "replicas/ApplicationDirs.h"
#include "replicas/LatestReplica.h"
#include "replicas/PermanentReplicas.h"
#include "replicas/ReplicaRecords.h"
#include "replicas/ReplicaReservation.h"
#include "replicas/ReplicaVolumeAdd.h"
#include "replicas/ReplicaVolumeQueries.h"
#include "replicas/ReplicaVolumeRemoval.h"
#include "replicas/ReplicaVolumeUpdate.h"
#include "replicas/RetentionPruning.h"
#include "scratch/PoolContents.h"
#include "scratch/ScratchLookups.h"
#include "scratch/ScratchMembership.h"
#include "scratch/ScratchPoolMessages.h"
#include "scratch/ScratchRecords.h"
#include "scratch/ScratchRelease.h"
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

#include <cstddef>

#define SIZE_IS(Type, size) static_assert(sizeof(Type) == (size), #Type " size")
#define FIELD_AT(Type, field, offset) static_assert(offsetof(Type, field) == (offset), #Type "." #field " offset")

#define YB_BROWSE_REPLY_LAYOUT(T)        \
    SIZE_IS(T, 112);                     \
    FIELD_AT(T, errCode, 4);             \
    FIELD_AT(T, errMsg, 8);              \
    FIELD_AT(T, SNRVolumeCount, 16);     \
    FIELD_AT(T, SNRVolumes, 24);         \
    FIELD_AT(T, DeviceCount, 32);        \
    FIELD_AT(T, Devices, 40);            \
    FIELD_AT(T, MountPointCount, 48);    \
    FIELD_AT(T, MountPoints, 56);        \
    FIELD_AT(T, ScratchVolumeCount, 64); \
    FIELD_AT(T, ScratchVolumes, 72);     \
    FIELD_AT(T, YBVolumeCount, 80);      \
    FIELD_AT(T, YBVolumes, 88);          \
    FIELD_AT(T, AppCount, 96);           \
    FIELD_AT(T, Apps, 104)

#define FLR_CREATE_CP_REQ2_LAYOUT(T) \
    SIZE_IS(T, 72);                  \
    FIELD_AT(T, CPs, 8);             \
    FIELD_AT(T, SnapCount, 16);      \
    FIELD_AT(T, Snaps, 24);          \
    FIELD_AT(T, PairCount, 32);      \
    FIELD_AT(T, Pairs, 40);          \
    FIELD_AT(T, MountCount, 48);     \
    FIELD_AT(T, MountPoints, 56);    \
    FIELD_AT(T, DstClientId, 64)

#define FLR_CREATE_CP_REQ_LAYOUT(T, S) \
    SIZE_IS(T, (S) + 48);              \
    FIELD_AT(T, SnapCount, S);         \
    FIELD_AT(T, Snaps, (S) + 8);       \
    FIELD_AT(T, PairCount, (S) + 16);  \
    FIELD_AT(T, Pairs, (S) + 24);      \
    FIELD_AT(T, MountCount, (S) + 32); \
    FIELD_AT(T, MountPoints, (S) + 40)

#define FLR_CREATE_CP_RESP_LAYOUT(T) \
    SIZE_IS(T, 72);                  \
    FIELD_AT(T, errCode, 4);         \
    FIELD_AT(T, errMsg, 8);          \
    FIELD_AT(T, CPId, 16);           \
    FIELD_AT(T, SnapCount, 24);      \
    FIELD_AT(T, Snaps, 32);          \
    FIELD_AT(T, PairCount, 40);      \
    FIELD_AT(T, Pairs, 48);          \
    FIELD_AT(T, MountCount, 56);     \
    FIELD_AT(T, MountPoints, 64)

#define FLR_STATUS_REPLY_LAYOUT(T) \
    SIZE_IS(T, 16);                \
    FIELD_AT(T, errCode, 4);       \
    FIELD_AT(T, errMsg, 8)

#define FLR_EXPANDED_LISTS_LAYOUT(T, S)         \
    FIELD_AT(T, lists.SnapCount, S);            \
    FIELD_AT(T, lists.Snaps, (S) + 8);          \
    FIELD_AT(T, lists.PairCount, (S) + 16);     \
    FIELD_AT(T, lists.Pairs, (S) + 24);         \
    FIELD_AT(T, lists.PairPathCount, (S) + 32); \
    FIELD_AT(T, lists.PairPaths, (S) + 40);     \
    FIELD_AT(T, lists.ShareCount, (S) + 48);    \
    FIELD_AT(T, lists.Shares, (S) + 56);        \
    FIELD_AT(T, lists.MountCount, (S) + 64);    \
    FIELD_AT(T, lists.MountPoints, (S) + 72);   \
    SIZE_IS(T, (S) + 80)

#define FLR_STATUS_FIRST_LAYOUT(T) \
    FIELD_AT(T, errCode, 4);       \
    FIELD_AT(T, errMsg, 8)

#define FLR_EXPANDED_CP_LAYOUT(T, S) \
    FLR_STATUS_FIRST_LAYOUT(T);      \
    FIELD_AT(T, CP, 16);             \
    FLR_EXPANDED_LISTS_LAYOUT(T, S)

#define FLR_COUNT_FIRST_LAYOUT(T) \
    SIZE_IS(T, 32);               \
    FIELD_AT(T, status, 16);      \
    FIELD_AT(T, errCode, 20);     \
    FIELD_AT(T, errMsg, 24)

#define FLR_LOOKUP_LIST_LAYOUT(T) \
    SIZE_IS(T, 32);               \
    FLR_STATUS_FIRST_LAYOUT(T);   \
    FIELD_AT(T, count, 16);       \
    FIELD_AT(T, list, 24)

#define FLR_CP_V1_LAYOUT(T)       \
    FIELD_AT(T, id, 0);           \
    FIELD_AT(T, CreationTime, 4); \
    FIELD_AT(T, FLRSetId, 8);     \
    FIELD_AT(T, JobId, 16);       \
    FIELD_AT(T, Unstable, 24);    \
    FIELD_AT(T, AutoMount, 28);   \
    FIELD_AT(T, FlagBit4, 32);    \
    FIELD_AT(T, SrcClientId, 36)

#define FLR_SNAP_V1_LAYOUT(T)           \
    FIELD_AT(T, id, 0);                 \
    FIELD_AT(T, ConsistencyPointId, 4); \
    FIELD_AT(T, Name, 8);               \
    FIELD_AT(T, SnapVolumeName, 16);    \
    FIELD_AT(T, VolumeGUID, 24)

#define YB_CHECK_POLICY_V1(T)          \
    FIELD_AT(T, id, 0);                \
    FIELD_AT(T, name, 8);              \
    FIELD_AT(T, RetentionSeconds, 16); \
    FIELD_AT(T, FlagBit1, 20);         \
    FIELD_AT(T, CopyMgrCtrlId, 24);    \
    FIELD_AT(T, SnapEngineInfoId, 28); \
    FIELD_AT(T, VolumeScratchPoolId, 32)

#define YB_CHECK_POLICY_V2(T)  \
    YB_CHECK_POLICY_V1(T);     \
    FIELD_AT(T, FlagBit2, 36); \
    FIELD_AT(T, NSnapshot, 40)

#define YB_CHECK_SNAPENGINE_V1(T)    \
    FIELD_AT(T, id, 0);              \
    FIELD_AT(T, name, 8);            \
    FIELD_AT(T, MultipleSnaps, 16);  \
    FIELD_AT(T, CrossHostMount, 20); \
    FIELD_AT(T, SameHostMount, 24);  \
    FIELD_AT(T, SyncFunction, 28);   \
    FIELD_AT(T, MountCmdHint, 32);   \
    FIELD_AT(T, UnmountCmdHint, 40); \
    FIELD_AT(T, SyncCmdHint, 48);    \
    FIELD_AT(T, UnsyncCmdHint, 56);  \
    FIELD_AT(T, SnapCmdHint, 64);    \
    FIELD_AT(T, UnsnapCmdHint, 72)

#define YB_CHECK_SNAPENGINE_42(T) \
    YB_CHECK_SNAPENGINE_V1(T);    \
    FIELD_AT(T, OsType, 80);      \
    FIELD_AT(T, Type, 84)

#define YB_CHECK_VOLSNAP_V1(T)     \
    FIELD_AT(T, SNRVolumeId, 0);   \
    FIELD_AT(T, SnapEngineId, 4);  \
    FIELD_AT(T, MountClientId, 8); \
    FIELD_AT(T, MountCmd, 16);     \
    FIELD_AT(T, UnmountCmd, 24);   \
    FIELD_AT(T, SyncClientId, 32); \
    FIELD_AT(T, SyncCmd, 40);      \
    FIELD_AT(T, UnsyncCmd, 48);    \
    FIELD_AT(T, SnapClientId, 56); \
    FIELD_AT(T, SnapCmd, 64);      \
    FIELD_AT(T, UnsnapCmd, 72)

#define YB_CHECK_REPVOL_V1(Type)             \
    FIELD_AT(Type, id, 0);                   \
    FIELD_AT(Type, PointInTime, 4);          \
    FIELD_AT(Type, CreationTime, 8);         \
    FIELD_AT(Type, ModifyTime, 12);          \
    FIELD_AT(Type, CurrentState, 16);        \
    FIELD_AT(Type, CurrentRole, 20);         \
    FIELD_AT(Type, PrimaryVolumeId, 24);     \
    FIELD_AT(Type, PhysicalVolumeId, 28);    \
    FIELD_AT(Type, ReplicationPolicyId, 32); \
    FIELD_AT(Type, RVScratchVolumeId, 36);   \
    FIELD_AT(Type, DoNotPrune, 40)

#define YB_CHECK_REPVOL_42(Type)      \
    YB_CHECK_REPVOL_V1(Type);         \
    FIELD_AT(Type, JobId, 48);        \
    FIELD_AT(Type, IsSnapActive, 56); \
    FIELD_AT(Type, ActivateSnap, 60)

#define YB_CHECK_REPVOL_V3(Type)       \
    YB_CHECK_REPVOL_42(Type);          \
    FIELD_AT(Type, SnapVolumeId, 64);  \
    FIELD_AT(Type, MorvaneVolume, 68); \
    FIELD_AT(Type, ShadowSnap, 72);    \
    FIELD_AT(Type, TransportableSnap, 76)

#define YB_CHECK_REPVOL_V4(Type)        \
    YB_CHECK_REPVOL_V3(Type);           \
    FIELD_AT(Type, SnapEngineType, 80); \
    FIELD_AT(Type, UpdateMap, 84)

#define YB_REPLICA_BYID_LAYOUT(T, size, recordAt) \
    SIZE_IS(T, (size));                           \
    FIELD_AT(T, errMsg, 8);                       \
    FIELD_AT(T, ReplicationVolume, (recordAt))

#define YB_REPLICA_LIST_LAYOUT(T, size, countAt, arrayAt) \
    SIZE_IS(T, (size));                                   \
    FIELD_AT(T, errMsg, 8);                               \
    FIELD_AT(T, count, (countAt));                        \
    FIELD_AT(T, volumes, (arrayAt))

#define YB_REPLICA_ARRAY_FIRST_LAYOUT(T) \
    SIZE_IS(T, 32);                      \
    FIELD_AT(T, volumes, 8);             \
    FIELD_AT(T, status, 16);             \
    FIELD_AT(T, errCode, 20);            \
    FIELD_AT(T, errMsg, 24)

#define ADD_DEVICE_REQUEST_LAYOUT(T, size, device, count, array) \
    SIZE_IS(T, (size));                                          \
    FIELD_AT(T, SNRVolume, 0);                                   \
    FIELD_AT(T, Device, device);                                 \
    FIELD_AT(T, MountPointCount, count);                         \
    FIELD_AT(T, MountPoints, array)

#define ADD_DEVICE_REPLY_LAYOUT(T, size) \
    SIZE_IS(T, (size));                  \
    FIELD_AT(T, status, 0);              \
    FIELD_AT(T, errMsg, 8);              \
    FIELD_AT(T, SNRVolumeId, 16);        \
    FIELD_AT(T, DeviceId, 20);           \
    FIELD_AT(T, MountPathCount, 24);     \
    FIELD_AT(T, MountPaths, 32)

#define ADD_VOLUME_REPLY_LAYOUT(T) \
    SIZE_IS(T, 24);                \
    FIELD_AT(T, status, 0);        \
    FIELD_AT(T, errMsg, 8);        \
    FIELD_AT(T, volumeId, 16)

#define SNR_DEVICE_REPLY_LAYOUT(T, size, codeAt) \
    SIZE_IS(T, (size));                          \
    FIELD_AT(T, status, 0);                      \
    FIELD_AT(T, errMsg, 8);                      \
    FIELD_AT(T, device, 16);                     \
    FIELD_AT(T, errCode, codeAt)

#define SNR_DEVICE_LIST_REPLY_LAYOUT(T) \
    FIELD_AT(T, status, 0);             \
    FIELD_AT(T, errMsg, 8);             \
    FIELD_AT(T, count, 16);             \
    FIELD_AT(T, devices, 24)

#define SNR_MOUNT_POINT_LIST_REPLY_LAYOUT(T) \
    SIZE_IS(T, 32);                          \
    FIELD_AT(T, status, 0);                  \
    FIELD_AT(T, errMsg, 8);                  \
    FIELD_AT(T, count, 16);                  \
    FIELD_AT(T, MountPoints, 24)

#define SNR_STATUS_REPLY_LAYOUT(T) \
    SIZE_IS(T, 16);                \
    FIELD_AT(T, status, 0);        \
    FIELD_AT(T, errCode, 4);       \
    FIELD_AT(T, errMsg, 8)

#define SNR_HISTORY_QUERY_REPLY_LAYOUT(T)                                                             \
    SIZE_IS(T, 32);                                                                                   \
    static_assert(offsetof(T, HistoryName) + offsetof(repYBTzHistoryNameRec, DeviceId) == 0,          \
                  #T " device id");                                                                   \
    static_assert(offsetof(T, HistoryName) + offsetof(repYBTzHistoryNameRec, GlobalHistoryName) == 8, \
                  #T " history name");                                                                \
    FIELD_AT(T, status, 16);                                                                          \
    FIELD_AT(T, errCode, 20);                                                                         \
    FIELD_AT(T, errMsg, 24)

#define SNR_VOLBYID_REPLY_LAYOUT(T, size, volumeAt, scratchAt, replicaAt) \
    SIZE_IS(T, (size));                                                   \
    FIELD_AT(T, status, 0);                                               \
    FIELD_AT(T, errMsg, 8);                                               \
    FIELD_AT(T, volume, volumeAt);                                        \
    FIELD_AT(T, scratchVolume, scratchAt);                                \
    FIELD_AT(T, replicationVolume, replicaAt)

#define SNR_VOLUME2_REPLY_LAYOUT(T, size, volumeAt, scratchAt, countAt) \
    SIZE_IS(T, (size));                                                 \
    FIELD_AT(T, status, 0);                                             \
    FIELD_AT(T, errMsg, 8);                                             \
    FIELD_AT(T, volume, volumeAt);                                      \
    FIELD_AT(T, scratchVolume, scratchAt);                              \
    FIELD_AT(T, replicationVolumeCount, countAt);                       \
    FIELD_AT(T, replicationVolumes, (countAt) + 8)

#define SNR_UPDATE_REPLY_LAYOUT(T, size) \
    SIZE_IS(T, (size));                  \
    FIELD_AT(T, status, 0);              \
    FIELD_AT(T, errMsg, 8)

#define SNR_VOLINFO_REPLY_LAYOUT(T, size, listsAt)       \
    SIZE_IS(T, (size));                                  \
    FIELD_AT(T, status, 0);                              \
    FIELD_AT(T, errMsg, 8);                              \
    FIELD_AT(T, volumeCount, (listsAt));                 \
    FIELD_AT(T, volumes, (listsAt) + 8);                 \
    FIELD_AT(T, deviceCount, (listsAt) + 16);            \
    FIELD_AT(T, devices, (listsAt) + 24);                \
    FIELD_AT(T, mountPointCount, (listsAt) + 32);        \
    FIELD_AT(T, mountPoints, (listsAt) + 40);            \
    FIELD_AT(T, scratchVolumeCount, (listsAt) + 48);     \
    FIELD_AT(T, scratchVolumes, (listsAt) + 56);         \
    FIELD_AT(T, replicationVolumeCount, (listsAt) + 64); \
    FIELD_AT(T, replicationVolumes, (listsAt) + 72)

#define SNR_VOLUME_LIST_REPLY_LAYOUT(T, size) \
    SIZE_IS(T, (size));                       \
    FIELD_AT(T, status, 0);                   \
    FIELD_AT(T, errMsg, 8);                   \
    FIELD_AT(T, volumeCount, 16);             \
    FIELD_AT(T, volumes, 24);                 \
    FIELD_AT(T, deviceCount, 32);             \
    FIELD_AT(T, devices, 40);                 \
    FIELD_AT(T, mountPointCount, 48);         \
    FIELD_AT(T, mountPoints, 56)

#define SNR_CLIENT_VOLUME_REPLY_LAYOUT(T, size, deviceAt, countAt, arrayAt) \
    SIZE_IS(T, (size));                                                     \
    FIELD_AT(T, status, 0);                                                 \
    FIELD_AT(T, errMsg, 8);                                                 \
    FIELD_AT(T, volume, 16);                                                \
    FIELD_AT(T, device, deviceAt);                                          \
    FIELD_AT(T, mountPointCount, countAt);                                  \
    FIELD_AT(T, mountPoints, arrayAt)

#define SNR_RESERVE_REPLY_LAYOUT(T, size) \
    SIZE_IS(T, (size));                   \
    FIELD_AT(T, status, 0);               \
    FIELD_AT(T, errMsg, 8)

// cleanup/ClientCleanup.h
static_assert(sizeof(repCleanupByClientIdReq) == 8 && offsetof(repCleanupByClientIdReq, CleanupType) == 4,
              "repCleanupByClientIdReq layout");
static_assert(sizeof(repCleanupByclientIdResp) == 16 && offsetof(repCleanupByclientIdResp, errMsg) == 8,
              "repCleanupByclientIdResp layout");

// cleanup/JobVolumeHistory.h
FIELD_AT(repYBJobVolumeHistoryRec, SrcClientName, 32);
FIELD_AT(repYBJobVolumeHistoryRec, SrcDeviceName, 56);
FIELD_AT(repYBJobVolumeHistoryRec, DstClientName, 72);
FIELD_AT(repYBJobVolumeHistoryRec, DstDeviceName, 96);
SIZE_IS(repYBJobVolumeHistoryRec, 128);
FIELD_AT(repYBJobVolumeHistory80Rec, CopyMgrType, 128);
SIZE_IS(repYBJobVolumeHistory80Rec, 144);
SIZE_IS(repAddVolumeToYBJobHistoryResp, 24);
SIZE_IS(repYBJobHistoryListResp, 32);
FIELD_AT(repYBJobHistoryListResp, errMsg, 24);
SIZE_IS(repYBJobHistoryByIdResp, 144);
SIZE_IS(repYBJobHistoryById80Resp, 160);
SIZE_IS(repDeleteYBJobHistoryByJobIdResp, 16);

// cleanup/SAPOracleJobs.h
SIZE_IS(repSAPOracleJobsReq, 24);
SIZE_IS(repSAPJobIdRec, 16);
SIZE_IS(repSAPVolumeDetailsRec, 24);
SIZE_IS(repSAPJobDetailsRec, 24);
SIZE_IS(repSAPOracleJobListResp, 32);
FIELD_AT(repSAPOracleJobListResp, entries, 24);

// cleanup/SnapshotStates.h
SIZE_IS(repQueryMountedSnapsReq, 8);
SIZE_IS(repMountedSnapRec, 48);
FIELD_AT(repMountedSnapRec, NetShareId, 40);
SIZE_IS(repQueryMountedSnapsResp, 32);
FIELD_AT(repQueryMountedSnapsResp, snaps, 24);
SIZE_IS(repIsDevVSSSnapReq, 4);
SIZE_IS(repIsDevVSSSnapResp, 32);
FIELD_AT(repIsDevVSSSnapResp, ShadowSetId, 24);

// files/AppViewReplies.h
SIZE_IS(repFilesStatusResp, 16);
FIELD_AT(repFilesStatusResp, errCode, 4);
FIELD_AT(repFilesStatusResp, errMsg, 8);
SIZE_IS(repFilesNewIdResp, 24);
FIELD_AT(repFilesNewIdResp, status, 4);
FIELD_AT(repFilesNewIdResp, errCode, 8);
FIELD_AT(repFilesNewIdResp, errMsg, 16);
SIZE_IS(repFilesListResp<int>, 32);
FIELD_AT(repFilesListResp<int>, array, 8);
FIELD_AT(repFilesListResp<int>, status, 16);
FIELD_AT(repFilesListResp<int>, errCode, 20);
FIELD_AT(repFilesListResp<int>, errMsg, 24);

// files/Appliances.h
SIZE_IS(repYBApplianceRec, 16);
FIELD_AT(repYBApplianceRec, name, 8);
SIZE_IS(repAddYBApplianceResp, 24);
SIZE_IS(repDeleteYBApplianceResp, 16);
SIZE_IS(repGetYBApplianceListResp, 32);
FIELD_AT(repGetYBApplianceListResp, errMsg, 8);
FIELD_AT(repGetYBApplianceListResp, count, 16);
FIELD_AT(repGetYBApplianceListResp, appliances, 24);
SIZE_IS(repQueryYBApplianceResp, 32);
FIELD_AT(repQueryYBApplianceResp, appliance, 16);

// files/BrowseViews.h
SIZE_IS(repBrowseByClientIdReq, 4);
SIZE_IS(repBrowseByPolicyIdReq, 4);
YB_BROWSE_REPLY_LAYOUT(repBrowseRespOf<repSNRVolumeDeviceNameV3>);
YB_BROWSE_REPLY_LAYOUT(repBrowseRespOf<repSNRVolumeDeviceNameV4>);

// files/ComponentLists.h
SIZE_IS(repVEHostRec, 24);
FIELD_AT(repVEHostRec, NetworkHostName, 8);
FIELD_AT(repVEHostRec, Flag, 16);
SIZE_IS(repYBCopyMgrCtrlRec, 64);
FIELD_AT(repYBCopyMgrCtrlRec, CMName, 8);
FIELD_AT(repYBCopyMgrCtrlRec, CMType, 16);
FIELD_AT(repYBCopyMgrCtrlRec, MAId, 20);
FIELD_AT(repYBCopyMgrCtrlRec, ClientId, 24);
FIELD_AT(repYBCopyMgrCtrlRec, NetHostName, 32);
FIELD_AT(repYBCopyMgrCtrlRec, OSId, 40);
FIELD_AT(repYBCopyMgrCtrlRec, OSName, 48);
FIELD_AT(repYBCopyMgrCtrlRec, Reserved, 56);

// files/EncryptionKeys.h
static_assert(sizeof(repGetEKeyReq) == 16 && offsetof(repGetEKeyReq, clientName) == 8, "repGetEKeyReq layout");
static_assert(sizeof(repGetEKeyReqV2) == 24 && offsetof(repGetEKeyReqV2, clientId) == 8 &&
                  offsetof(repGetEKeyReqV2, clientName) == 16,
              "repGetEKeyReqV2 layout");
static_assert(sizeof(repGetEKeyResp) == 32 && offsetof(repGetEKeyResp, errCode) == 4 &&
                  offsetof(repGetEKeyResp, errMsg) == 8 && offsetof(repGetEKeyResp, keyText) == 16 &&
                  offsetof(repGetEKeyResp, encrypted) == 24,
              "repGetEKeyResp layout");
static_assert(sizeof(repGetEKeyRespV2) == 40 && offsetof(repGetEKeyRespV2, errCode) == 4 &&
                  offsetof(repGetEKeyRespV2, errMsg) == 8 && offsetof(repGetEKeyRespV2, keyText) == 16 &&
                  offsetof(repGetEKeyRespV2, encrypted) == 24 && offsetof(repGetEKeyRespV2, keySize) == 28 &&
                  offsetof(repGetEKeyRespV2, cipherType) == 32,
              "repGetEKeyRespV2 layout");

// files/StoredFileMessages.h
SIZE_IS(repYBFileRec, 48);
FIELD_AT(repYBFileRec, VolumeId, 4);
FIELD_AT(repYBFileRec, Name, 8);
FIELD_AT(repYBFileRec, Content, 16);
FIELD_AT(repYBFileRec, Field24, 24);
FIELD_AT(repYBFileRec, Reserved, 32);
SIZE_IS(repUploadYBFileReq, 56);
FIELD_AT(repUploadYBFileReq, TmpFileName, 48);
SIZE_IS(repUploadYBFileResp, 32);
FIELD_AT(repUploadYBFileResp, status, 4);
FIELD_AT(repUploadYBFileResp, errCode, 8);
FIELD_AT(repUploadYBFileResp, errMsg, 16);
FIELD_AT(repUploadYBFileResp, TmpFileName, 24);
SIZE_IS(repDownloadYBFileByIdReq, 24);
FIELD_AT(repDownloadYBFileByIdReq, offset, 8);
FIELD_AT(repDownloadYBFileByIdReq, TmpFileName, 16);
SIZE_IS(repDownloadYBFileByIdResp, 80);
FIELD_AT(repDownloadYBFileByIdResp, status, 48);
FIELD_AT(repDownloadYBFileByIdResp, errCode, 52);
FIELD_AT(repDownloadYBFileByIdResp, errMsg, 56);
FIELD_AT(repDownloadYBFileByIdResp, nextOffset, 64);
FIELD_AT(repDownloadYBFileByIdResp, TmpFileName, 72);
SIZE_IS(repYBFileIdReq, 4);
SIZE_IS(repQueryYBFileByNameReq, 8);
SIZE_IS(repYBFileListResp, 32);
FIELD_AT(repYBFileListResp, files, 8);
FIELD_AT(repYBFileListResp, status, 16);
FIELD_AT(repYBFileListResp, errCode, 20);
FIELD_AT(repYBFileListResp, errMsg, 24);
SIZE_IS(repQueryYBFileByIdResp, 64);
FIELD_AT(repQueryYBFileByIdResp, status, 48);
FIELD_AT(repQueryYBFileByIdResp, errCode, 52);
FIELD_AT(repQueryYBFileByIdResp, errMsg, 56);
SIZE_IS(repYBFileStatusResp, 16);
FIELD_AT(repYBFileStatusResp, errCode, 4);
FIELD_AT(repYBFileStatusResp, errMsg, 8);
SIZE_IS(repUpdateYBFileReq, 56);
FIELD_AT(repUpdateYBFileReq, updateMap, 48);

// files/UserApplications.h
SIZE_IS(repYBUserApplDefRec, 48);
FIELD_AT(repYBUserApplDefRec, ClientId, 4);
FIELD_AT(repYBUserApplDefRec, ApplicationName, 8);
FIELD_AT(repYBUserApplDefRec, AppTag, 16);
FIELD_AT(repYBUserApplDefRec, SuspendScript, 24);
FIELD_AT(repYBUserApplDefRec, ResumeScript, 32);
FIELD_AT(repYBUserApplDefRec, UpdateMask, 40);
SIZE_IS(repAddYBUserApplDefResp, 24);
SIZE_IS(repUpdateYBUserApplDefResp, 16);
SIZE_IS(repQueryYBUserApplDefByIdResp, 64);
FIELD_AT(repQueryYBUserApplDefByIdResp, status, 48);
FIELD_AT(repQueryYBUserApplDefByIdResp, errCode, 52);
FIELD_AT(repQueryYBUserApplDefByIdResp, errMsg, 56);
SIZE_IS(repGetYBUserApplDefResp, 32);

// flr/FLRDeleteMessages.h
SIZE_IS(repDelAllCPsByRepSetIdReq, 8);
SIZE_IS(repDelCPReq, 4);
SIZE_IS(repPruneRepSetReq, 4);
SIZE_IS(repPruneFanInRPReq, 8);
SIZE_IS(repFLRStatusResp, 16);
FIELD_AT(repFLRStatusResp, errCode, 4);
FIELD_AT(repFLRStatusResp, errMsg, 8);
static_assert(sizeof(repDelAllCPsByRepSetIdResp) == 16 && sizeof(repDelCPResp) == 16 &&
                  sizeof(repPruneRepSetResp) == 16 && sizeof(repPruneFanInRPResp) == 16,
              "status reply sizes");
SIZE_IS(repCreateCPEntry, 36);
FIELD_AT(repCreateCPEntry, Unstable, 16);
FIELD_AT(repCreateCPEntry, SrcClientId, 28);
FIELD_AT(repCreateCPEntry, ClientId, 32);
FLR_CREATE_CP_REQ2_LAYOUT(repCreateCPReq2);
FLR_CREATE_CP_REQ2_LAYOUT(repCreateCPReq2V2);

// flr/FLREntityRecords.h
static_assert(kMaxFLRPathLength == sizeof(YBFLRSnapshot_t::SnapVolumeName) - 2, "FLR text columns");
static_assert(kMaxFLRPathLength == sizeof(YBFLRSnapNetworkShare_t::NetShareName) - 2, "FLR text columns");

// flr/FLRMessages.h
SIZE_IS(repAddFLRConsistencyPointResp, 24);
FIELD_AT(repAddFLRConsistencyPointResp, status, 4);
FIELD_AT(repAddFLRConsistencyPointResp, errCode, 8);
FIELD_AT(repAddFLRConsistencyPointResp, errMsg, 16);
FLR_CREATE_CP_REQ_LAYOUT(repCreateCPReq, 40);
FLR_CREATE_CP_REQ_LAYOUT(repCreateCPReqV2, 48);
FLR_CREATE_CP_REQ_LAYOUT(repCreateCPReqV3, 56);
FLR_CREATE_CP_RESP_LAYOUT(repCreateCPResp);
FLR_CREATE_CP_RESP_LAYOUT(repCreateCPRespV2);
SIZE_IS(repAddFLRSnapMountPointReq, 16);
FIELD_AT(repAddFLRSnapMountPointReq, SnapshotId, 4);
FIELD_AT(repAddFLRSnapMountPointReq, MountPath, 8);
SIZE_IS(repAddFLRSnaphsotMountPointResp, 24);
FIELD_AT(repAddFLRSnaphsotMountPointResp, MountPointId, 4);
FIELD_AT(repAddFLRSnaphsotMountPointResp, errCode, 8);
FIELD_AT(repAddFLRSnaphsotMountPointResp, errMsg, 16);
SIZE_IS(repAddFLRSnapNetworkShareReq, 16);
FIELD_AT(repAddFLRSnapNetworkShareReq, MountPointId, 4);
FIELD_AT(repAddFLRSnapNetworkShareReq, NetShareName, 8);
SIZE_IS(repAddFLRSnapNetworkShareResp, 24);
FIELD_AT(repAddFLRSnapNetworkShareResp, errCode, 4);
FIELD_AT(repAddFLRSnapNetworkShareResp, errMsg, 8);
FIELD_AT(repAddFLRSnapNetworkShareResp, ShareId, 16);
SIZE_IS(repDeleteFLRSnapMountPointReq, 4);
SIZE_IS(repDeleteFLRSnapNetworkShareReq, 4);
FLR_STATUS_REPLY_LAYOUT(repDeleteFLRSnapshotMountPointResp);
FLR_STATUS_REPLY_LAYOUT(repDelFLRSnapNetworkShareResp);
FLR_STATUS_REPLY_LAYOUT(repUpdateFLRSnapshotResp);
SIZE_IS(repUpdateFLRSnapshotReq, 32);
FIELD_AT(repUpdateFLRSnapshotReq, count, 16);
FIELD_AT(repUpdateFLRSnapshotReq, Snaps, 24);

// flr/FLRQueryMessages.h
FLR_STATUS_FIRST_LAYOUT(repQueryFLRSnapshotsByCPIdResp);
FLR_EXPANDED_LISTS_LAYOUT(repQueryFLRSnapshotsByCPIdResp, 16);
FLR_STATUS_FIRST_LAYOUT(repQueryFLRSnapshotsByCPIdRespV2);
FLR_EXPANDED_LISTS_LAYOUT(repQueryFLRSnapshotsByCPIdRespV2, 16);
FLR_EXPANDED_CP_LAYOUT(repQueryFLRCPByJobIdResp, 56);
FLR_EXPANDED_CP_LAYOUT(repQueryFLRCPByJobIdRespV2, 64);
FLR_EXPANDED_CP_LAYOUT(repQueryFLRCPByJobIdRespV3, 72);
FLR_EXPANDED_CP_LAYOUT(repQueryRepSetLastCPResp, 56);
FLR_EXPANDED_CP_LAYOUT(repQueryRepSetLastCPRespV2, 64);
FLR_EXPANDED_CP_LAYOUT(repQueryRepSetLastCPRespV3, 72);
FLR_COUNT_FIRST_LAYOUT(repQueryFLRCPointsByFLRSetIdResp);
FIELD_AT(repQueryFLRCPointsByFLRSetIdResp, CPs, 8);
FLR_COUNT_FIRST_LAYOUT(repFindRepSetByVolumeResp);
FIELD_AT(repFindRepSetByVolumeResp, Volumes, 8);
FLR_COUNT_FIRST_LAYOUT(repQueryFLRCPsByClientIdAndAppTypeResp);
FIELD_AT(repQueryFLRCPsByClientIdAndAppTypeResp, CPs, 8);
FLR_LOOKUP_LIST_LAYOUT(repGetRPsByClientIdAndVolNameResp);
FLR_LOOKUP_LIST_LAYOUT(repGetRPsByClientIdAndVolNameV2Resp);
FLR_LOOKUP_LIST_LAYOUT(repGetRPsByDstClientIdResp);
FLR_LOOKUP_LIST_LAYOUT(repGetFanInDetailInfoByRPIdResp);
SIZE_IS(repQueryRepSetLastCPReqV2, 16);
FIELD_AT(repQueryRepSetLastCPReqV2, VolumeGUID, 8);
SIZE_IS(repFindRepSetByVolumeReq, 24);
FIELD_AT(repFindRepSetByVolumeReq, VolumePaths, 8);
FIELD_AT(repFindRepSetByVolumeReq, ExcludedRepSetId, 16);
SIZE_IS(repRepSetVolumeRec, 32);
FIELD_AT(repRepSetVolumeRec, RepSetName, 8);
FIELD_AT(repRepSetVolumeRec, DstHostName, 16);
FIELD_AT(repRepSetVolumeRec, DstClientId, 24);
FIELD_AT(repRepSetVolumeRec, RepSetId, 28);
FIELD_AT(repGetRPsByClientIdAndVolNameReq, VolName, 8);
SIZE_IS(repGetRPsByClientIdAndVolNameV2Req, 24);
FIELD_AT(repGetRPsByClientIdAndVolNameV2Req, IsGUID, 16);
SIZE_IS(repQueryFLRSnapBySnapIdResp, 112);
FIELD_AT(repQueryFLRSnapBySnapIdResp, Snapshot, 8);
FIELD_AT(repQueryFLRSnapBySnapIdResp, errMsg, 96);
FIELD_AT(repQueryFLRSnapBySnapIdResp, errCode, 104);
SIZE_IS(repQueryCPByIdResp, 80);
FIELD_AT(repQueryCPByIdResp, CP, 8);
FIELD_AT(repQueryCPByIdResp, errMsg, 64);
FIELD_AT(repQueryCPByIdResp, errCode, 72);
FIELD_AT(repQueryFLRCPsByClientIdAndAppTypeReq, AppType, 4);

// flr/FLRWireRecords.h
SIZE_IS(repFLRConsistencyPointRec, 40);
FLR_CP_V1_LAYOUT(repFLRConsistencyPointRec);
SIZE_IS(repWinFLRConsistencyPointRecV2, 48);
FLR_CP_V1_LAYOUT(repWinFLRConsistencyPointRecV2);
FIELD_AT(repWinFLRConsistencyPointRecV2, AuxValue, 40);
FIELD_AT(repWinFLRConsistencyPointRecV2, Type, 44);
SIZE_IS(repWinFLRConsistencyPointRecV3, 56);
FLR_CP_V1_LAYOUT(repWinFLRConsistencyPointRecV3);
FIELD_AT(repWinFLRConsistencyPointRecV3, AuxValue, 40);
FIELD_AT(repWinFLRConsistencyPointRecV3, Type, 44);
FIELD_AT(repWinFLRConsistencyPointRecV3, Flags, 48);
SIZE_IS(repFLRSnapRec, 32);
FLR_SNAP_V1_LAYOUT(repFLRSnapRec);
SIZE_IS(repFLRSnapRecV2, 88);
FLR_SNAP_V1_LAYOUT(repFLRSnapRecV2);
FIELD_AT(repFLRSnapRecV2, Type, 32);
FIELD_AT(repFLRSnapRecV2, SnapshotPath, 40);
FIELD_AT(repFLRSnapRecV2, AuxValue, 48);
FIELD_AT(repFLRSnapRecV2, Reserved1, 56);
FIELD_AT(repFLRSnapRecV2, Reserved2, 64);
FIELD_AT(repFLRSnapRecV2, Reserved3, 72);
FIELD_AT(repFLRSnapRecV2, Reserved4, 80);
SIZE_IS(repRPInfo1, 32);
FIELD_AT(repRPInfo1, CreationTime, 4);
FIELD_AT(repRPInfo1, Name, 8);
FIELD_AT(repRPInfo1, MountPoint, 16);
FIELD_AT(repRPInfo1, JobId, 24);
SIZE_IS(repFLRFanInDetailRec, 48);
FIELD_AT(repFLRFanInDetailRec, DstPath, 8);
FIELD_AT(repFLRFanInDetailRec, SrcClientId, 16);
FIELD_AT(repFLRFanInDetailRec, RepSetId, 20);
FIELD_AT(repFLRFanInDetailRec, SrcClientNetName, 24);
FIELD_AT(repFLRFanInDetailRec, RepSetName, 32);
FIELD_AT(repFLRFanInDetailRec, DstClientId, 40);
SIZE_IS(repFLRSnapPairElem, 12);
FIELD_AT(repFLRSnapPairElem, SnapshotId, 4);
FIELD_AT(repFLRSnapPairElem, PairId, 8);
SIZE_IS(repFLRPairPathElem, 24);
FIELD_AT(repFLRPairPathElem, SrcPath, 8);
FIELD_AT(repFLRPairPathElem, DstPath, 16);
SIZE_IS(repFLRSnapMountPointElem, 16);
FIELD_AT(repFLRSnapMountPointElem, SnapshotId, 4);
FIELD_AT(repFLRSnapMountPointElem, MountPath, 8);
SIZE_IS(repFLRSnapNetworkShareElem, 16);
FIELD_AT(repFLRSnapNetworkShareElem, MountPointId, 4);
FIELD_AT(repFLRSnapNetworkShareElem, NetShareName, 8);

// host/db/FLRTables.h
SIZE_IS(YBFLRConsistencyPoint_t, 36);
FIELD_AT(YBFLRConsistencyPoint_t, Type, 32);
SIZE_IS(YBFLRSnapshot_t, 3232);
FIELD_AT(YBFLRSnapshot_t, Name, 8);
FIELD_AT(YBFLRSnapshot_t, SnapVolumeName, 137);
FIELD_AT(YBFLRSnapshot_t, VolumeGUID, 1162);
FIELD_AT(YBFLRSnapshot_t, CreationTime, 2188);
FIELD_AT(YBFLRSnapshot_t, Type, 2196);
FIELD_AT(YBFLRSnapshot_t, SnapshotPath, 2200);
FIELD_AT(YBFLRSnapshot_t, AuxValue, 3228);
SIZE_IS(YBFLRSnapPair_t, 16);
SIZE_IS(YBFLRSnapMountPoint_t, 1040);
FIELD_AT(YBFLRSnapMountPoint_t, Reserved, 1036);
SIZE_IS(YBFLRSnapNetworkShare_t, 1040);
FIELD_AT(YBFLRSnapNetworkShare_t, Reserved, 1036);

// host/db/FileTables.h
FIELD_AT(YBFile_t, Content, 1040);
FIELD_AT(YBFile_t, Flags, 1048);
SIZE_IS(YBDevice_t, 268);
FIELD_AT(YBDevice_t, Reserved, 264);
FIELD_AT(YBUserApplicationDef_t, AppTag, 265);
FIELD_AT(YBUserApplicationDef_t, ResumeScript, 811);

// host/db/JobHistoryTable.h
FIELD_AT(YBJobVolumeHistory_t, SrcClientName, 20);
FIELD_AT(YBJobVolumeHistory_t, SrcBlockCount, 280);
FIELD_AT(YBJobVolumeHistory_t, SrcDeviceName, 292);
FIELD_AT(YBJobVolumeHistory_t, DstVolId, 1320);
FIELD_AT(YBJobVolumeHistory_t, DstClientName, 1328);
FIELD_AT(YBJobVolumeHistory_t, DstBlockCount, 1584);
FIELD_AT(YBJobVolumeHistory_t, DstDeviceName, 1596);
FIELD_AT(YBJobVolumeHistory_t, DstCostCategoryId, 2624);
FIELD_AT(YBJobVolumeHistory_t, FurtherNumber2, 2632);
FIELD_AT(YBJobVolumeHistory_t, JobId_h, 2640);
FIELD_AT(YBJobVolumeHistory_t, CopyMgrType, 2652);
FIELD_AT(YBJobVolumeHistory_t, SpaceUsed, 2656);
SIZE_IS(YBJobVolumeHistory_t, 2664);

// host/db/PolicyTables.h
SIZE_IS(YBPolicy_t, 164);
FIELD_AT(YBPolicy_t, RetentionSeconds, 136);
FIELD_AT(YBPolicy_t, CopyManagerType, 160);
SIZE_IS(YBSnapEngineInfo_t, 1952);
FIELD_AT(YBSnapEngineInfo_t, Flags, 136);
FIELD_AT(YBSnapEngineInfo_t, MountCmdHint, 140);
FIELD_AT(YBSnapEngineInfo_t, UnsnapCmdHint, 1425);
FIELD_AT(YBSnapEngineInfo_t, OsType, 1684);
FIELD_AT(YBSnapEngineInfo_t, Type, 1688);
FIELD_AT(YBSnapEngineInfo_t, RollbackCmdHint, 1692);
SIZE_IS(YBVolSnapParams_t, 1832);
FIELD_AT(YBVolSnapParams_t, MountCmd, 12);
FIELD_AT(YBVolSnapParams_t, SyncClientId, 528);
FIELD_AT(YBVolSnapParams_t, SnapClientId, 1048);
FIELD_AT(YBVolSnapParams_t, Flags, 1568);
FIELD_AT(YBVolSnapParams_t, RollbackCmd, 1572);

// host/db/ReplicaTables.h
SIZE_IS(YBVolume_t, 1340);
FIELD_AT(YBVolume_t, id, 0);
FIELD_AT(YBVolume_t, PointInTime, 4);
FIELD_AT(YBVolume_t, CreationTime, 8);
FIELD_AT(YBVolume_t, ModifyTime, 12);
FIELD_AT(YBVolume_t, CurrentState, 16);
FIELD_AT(YBVolume_t, CurrentRole, 20);
FIELD_AT(YBVolume_t, PrimaryVolumeId, 24);
FIELD_AT(YBVolume_t, PhysicalVolumeId, 28);
FIELD_AT(YBVolume_t, ReplicationPolicyId, 32);
FIELD_AT(YBVolume_t, RVScratchVolumeId, 36);
FIELD_AT(YBVolume_t, Flags, 40);
FIELD_AT(YBVolume_t, JobId, 44);
FIELD_AT(YBVolume_t, SnapVolumeId, 48);
FIELD_AT(YBVolume_t, SnapEngineType, 52);
FIELD_AT(YBVolume_t, SnapvaultReplicaDir, 56);
FIELD_AT(YBVolume_t, SourceGUID, 1081);
SIZE_IS(YBScratchVolume_t, 20);
FIELD_AT(YBScratchVolume_t, id, 0);
FIELD_AT(YBScratchVolume_t, PhysicalVolumeId, 4);
FIELD_AT(YBScratchVolume_t, RVScratchVolumePoolId, 8);
FIELD_AT(YBScratchVolume_t, Flags, 12);
FIELD_AT(YBScratchVolume_t, LockedByJobId, 16);
SIZE_IS(YBScratchPool_t, 156);
FIELD_AT(YBScratchPool_t, id, 0);
FIELD_AT(YBScratchPool_t, TotalVolumes, 4);
FIELD_AT(YBScratchPool_t, AvailableVolumes, 8);
FIELD_AT(YBScratchPool_t, name, 12);
FIELD_AT(YBScratchPool_t, reserved, 144);
FIELD_AT(YBScratchPool_t, SnapEngineInfoId, 148);
FIELD_AT(YBScratchPool_t, Type, 152);
SIZE_IS(YBSubclientYBVolumes_t, 16);
FIELD_AT(YBSubclientYBVolumes_t, Scid, 4);
FIELD_AT(YBSubclientYBVolumes_t, YBVolumeId, 8);

// host/db/SNRTables.h
SIZE_IS(YBPhysicalVolume_t, 2496);
FIELD_AT(YBPhysicalVolume_t, UniqueSnapshotID, 425);
FIELD_AT(YBPhysicalVolume_t, Type, 2488);
SIZE_IS(YBPhysicalDevice_t, 2204);
FIELD_AT(YBPhysicalDevice_t, AccessPath, 2069);
FIELD_AT(YBPhysicalDevice_t, FilerClientId, 2200);

// policies/PolicyRecords.h
SIZE_IS(repReplicationPolicy, 40);
YB_CHECK_POLICY_V1(repReplicationPolicy);
SIZE_IS(repReplicationPolicyV2, 48);
YB_CHECK_POLICY_V2(repReplicationPolicyV2);
SIZE_IS(repReplicationPolicyV3, 56);
YB_CHECK_POLICY_V2(repReplicationPolicyV3);
FIELD_AT(repReplicationPolicyV3, CopyManagerType, 44);
FIELD_AT(repReplicationPolicyV3, Unused, 48);
static_assert(sizeof(YBGetYBPolicyList_t) == sizeof(YBPolicy_t), "the list cursor's row is the table row");

// policies/ReplicationPolicyMessages.h
SIZE_IS(repAddReplicationPolicyReq, 40);
SIZE_IS(repAddReplicationPolicyV2Req, 48);
SIZE_IS(repAddReplicationPolicyV3Req, 56);
SIZE_IS(repQueryReplicationPolicyV3ByIdReq, 4);
SIZE_IS(repUpdateReplicationPolicyV3Req, 56);
SIZE_IS(repQueryReplicaPolicyV3ByPoolIdReq, 4);
SIZE_IS(repRemoveReplicationPolicyReq, 4);
SIZE_IS(repGetSCListByPolicyReq, 24);
FIELD_AT(repGetSCListByPolicyReq, count, 8);
FIELD_AT(repGetSCListByPolicyReq, appTypes, 16);
SIZE_IS(repAddReplicationPolicyResp, 24);
FIELD_AT(repAddReplicationPolicyResp, status, 4);
FIELD_AT(repAddReplicationPolicyResp, errMsg, 8);
FIELD_AT(repAddReplicationPolicyResp, reserved, 16);
SIZE_IS(repAddReplicationPolicyV3Resp, 24);
FIELD_AT(repAddReplicationPolicyV2Resp, errCode, 16);
SIZE_IS(repQueryReplicationPolicyByIdResp, 56);
FIELD_AT(repQueryReplicationPolicyByIdResp, policy, 16);
SIZE_IS(repQueryReplicationPolicyV2ByIdResp, 72);
FIELD_AT(repQueryReplicationPolicyV2ByIdResp, errCode, 64);
SIZE_IS(repQueryReplicationPolicyV3ByIdResp, 80);
FIELD_AT(repQueryReplicationPolicyV3ByIdResp, errCode, 72);
SIZE_IS(repUpdateReplicationPolicyResp, 16);
SIZE_IS(repUpdateReplicationPolicyV2Resp, 24);
FIELD_AT(repUpdateReplicationPolicyV2Resp, errCode, 16);
SIZE_IS(repGetReplicationPolicyListResp, 32);
FIELD_AT(repGetReplicationPolicyListResp, count, 16);
FIELD_AT(repGetReplicationPolicyListResp, policies, 24);
SIZE_IS(repGetReplicationPolicyV3ListResp, 40);
FIELD_AT(repGetReplicationPolicyV3ListResp, errCode, 32);
SIZE_IS(repRemoveReplicationPolicyResp, 16);
SIZE_IS(repGetSCListByPolicyResp, 32);
FIELD_AT(repGetSCListByPolicyResp, errCode, 4);
FIELD_AT(repGetSCListByPolicyResp, errMsg, 8);
FIELD_AT(repGetSCListByPolicyResp, count, 16);
FIELD_AT(repGetSCListByPolicyResp, subclients, 24);

// policies/SnapEngineRecords.h
SIZE_IS(repSnapEngineInfo, 80);
YB_CHECK_SNAPENGINE_V1(repSnapEngineInfo);
SIZE_IS(repSnapEngineInfo42, 88);
YB_CHECK_SNAPENGINE_42(repSnapEngineInfo42);
SIZE_IS(repSnapEngineInfoV3, 96);
YB_CHECK_SNAPENGINE_42(repSnapEngineInfoV3);
FIELD_AT(repSnapEngineInfoV3, RollbackCmdHint, 88);

// policies/SnapEngines.h
SIZE_IS(repAddSnapEngineInfoReq, 80);
SIZE_IS(repAddSnapEngineInfo42Req, 88);
SIZE_IS(repAddSnapEngineInfoV3Req, 96);
SIZE_IS(repQuerySnapEngineInfoV3ByIdReq, 4);
SIZE_IS(repUpdateSnapEngineInfoV3Req, 96);
SIZE_IS(repRemoveSnapEngineInfoReq, 4);
SIZE_IS(repRemoveSnapEngineInfoByNameReq, 8);
SIZE_IS(repAddSnapEngineInfoResp, 16);
FIELD_AT(repAddSnapEngineInfoResp, id, 4);
FIELD_AT(repAddSnapEngineInfoResp, errMsg, 8);
SIZE_IS(repAddSnapEngineInfo42Resp, 16);
SIZE_IS(repAddSnapEngineInfoV3Resp, 24);
FIELD_AT(repAddSnapEngineInfoV3Resp, errCode, 16);
SIZE_IS(repQuerySnapEngineInfoByIdResp, 96);
FIELD_AT(repQuerySnapEngineInfoByIdResp, SnapEngineInfo, 16);
SIZE_IS(repQuerySnapEngineInfo42ByIdResp, 104);
SIZE_IS(repQuerySnapEngineInfoV3ByIdResp, 120);
FIELD_AT(repQuerySnapEngineInfoV3ByIdResp, errCode, 112);
SIZE_IS(repUpdateSnapEngineInfoResp, 16);
SIZE_IS(repUpdateSnapEngineInfo42Resp, 16);
SIZE_IS(repUpdateSnapEngineInfoV3Resp, 24);
FIELD_AT(repUpdateSnapEngineInfoV3Resp, errCode, 16);
SIZE_IS(repGetSnapEngineInfoListResp, 32);
FIELD_AT(repGetSnapEngineInfoListResp, count, 16);
FIELD_AT(repGetSnapEngineInfoListResp, engines, 24);
SIZE_IS(repGetSnapEngineInfo42ListResp, 32);
SIZE_IS(repGetSnapEngineInfoV3ListResp, 40);
FIELD_AT(repGetSnapEngineInfoV3ListResp, errCode, 32);
SIZE_IS(repRemoveSnapEngineInfoResp, 16);
SIZE_IS(repRemoveSnapEngineInfoByNameResp, 16);

// policies/VolSnapParamRecords.h
SIZE_IS(repVolumeSnapParams, 80);
YB_CHECK_VOLSNAP_V1(repVolumeSnapParams);
SIZE_IS(repVolumeSnapParamsV2, 96);
YB_CHECK_VOLSNAP_V1(repVolumeSnapParamsV2);
FIELD_AT(repVolumeSnapParamsV2, FlagBit1, 80);
FIELD_AT(repVolumeSnapParamsV2, RollbackCmd, 88);

// policies/VolSnapParams.h
SIZE_IS(repAddVolSnapParamsReq, 80);
SIZE_IS(repAddVolSnapParamsV2Req, 96);
SIZE_IS(repQueryVolSnapParamsV2BySNRVolReq, 4);
SIZE_IS(repRemoveVolSnapParamsReq, 4);
SIZE_IS(repAddVolSnapParamsResp, 16);
FIELD_AT(repAddVolSnapParamsResp, errMsg, 8);
SIZE_IS(repAddVolSnapParamsV2Resp, 24);
FIELD_AT(repAddVolSnapParamsV2Resp, errCode, 16);
SIZE_IS(repUpdateVolSnapParamsResp, 16);
SIZE_IS(repUpdateVolSnapParamsV2Resp, 24);
SIZE_IS(repQueryVolSnapParamsBySNRVolResp, 96);
FIELD_AT(repQueryVolSnapParamsBySNRVolResp, status, 80);
FIELD_AT(repQueryVolSnapParamsBySNRVolResp, errMsg, 88);
SIZE_IS(repQueryVolSnapParamsV2BySNRVolResp, 120);
FIELD_AT(repQueryVolSnapParamsV2BySNRVolResp, status, 96);
FIELD_AT(repQueryVolSnapParamsV2BySNRVolResp, errMsg, 104);
FIELD_AT(repQueryVolSnapParamsV2BySNRVolResp, errCode, 112);
SIZE_IS(repRemoveVolSnapParamsResp, 16);
SIZE_IS(repGetVolSnapParamsListResp, 32);
FIELD_AT(repGetVolSnapParamsListResp, count, 16);
FIELD_AT(repGetVolSnapParamsListResp, params, 24);
SIZE_IS(repGetVolSnapParamsV2ListResp, 40);
FIELD_AT(repGetVolSnapParamsV2ListResp, errCode, 32);

// replicas/ApplicationDirs.h
static_assert(sizeof(repApplicationDirs) == 48 && offsetof(repApplicationDirs, objName) == 16 &&
                  offsetof(repApplicationDirs, ReplicationVolumeId) == 32 &&
                  offsetof(repApplicationDirs, modifyTime) == 40,
              "repApplicationDirs layout");
static_assert(sizeof(repCreateAppDirsRecordsReq) == 16 && offsetof(repCreateAppDirsRecordsReq, AppDirs) == 8,
              "repCreateAppDirsRecordsReq layout");
SIZE_IS(repCreateAppDirsRecordsResp, 8);
SIZE_IS(repCopyAppDirReq, 8);
static_assert(sizeof(repCopyAppDirResp) == 16 && offsetof(repCopyAppDirResp, errMsg) == 8, "repCopyAppDirResp layout");
static_assert(sizeof(repQueryAppDirsByReplicaVolResp) == 32 && offsetof(repQueryAppDirsByReplicaVolResp, count) == 16 &&
                  offsetof(repQueryAppDirsByReplicaVolResp, AppDirs) == 24,
              "repQueryAppDirsByReplicaVolResp layout");
static_assert(sizeof(repUpdateAppDirModifyTimeByRepVolReq) == 24 &&
                  offsetof(repUpdateAppDirModifyTimeByRepVolReq, count) == 8 &&
                  offsetof(repUpdateAppDirModifyTimeByRepVolReq, ReplicationVolumeIds) == 16,
              "repUpdateAppDirModifyTimeByRepVolReq layout");
SIZE_IS(repUpdateAppDirModifyTimeByRepVolResp, 16);
static_assert(sizeof(repGetAppDirsBySubclientAndTime) == 48 &&
                  offsetof(repGetAppDirsBySubclientAndTime, objName) == 16 &&
                  offsetof(repGetAppDirsBySubclientAndTime, creationTime) == 32 &&
                  offsetof(repGetAppDirsBySubclientAndTime, ReplicationVolumeId) == 40,
              "repGetAppDirsBySubclientAndTime layout");
SIZE_IS(repGetAppDirsByClientAndTime, 48);
static_assert(sizeof(repGetAppDirsBySubclientAndTimeResp) == 24 &&
                  offsetof(repGetAppDirsBySubclientAndTimeResp, count) == 8 &&
                  offsetof(repGetAppDirsBySubclientAndTimeResp, AppDirs) == 16,
              "repGetAppDirsBySubclientAndTimeResp layout");
SIZE_IS(repGetAppDirsByClientAndTimeResp, 24);

// replicas/LatestReplica.h
SIZE_IS(repGetLatestSnapForSNRVolV4Req, 16);
FIELD_AT(repGetLatestSnapForSNRVolV4Req, JobId, 8);
static_assert(sizeof(repSNRVolume) == 64 && sizeof(repSNRVolume42) == 80, "SNR volume wire sizes");
static_assert(sizeof(repSNRVolumeV3) == 120 && sizeof(repSNRVolumeV4) == 120, "SNR volume wire sizes");
SIZE_IS(repGetLatestSnapForSNRVolResp, 80);
SIZE_IS(repGetLatestSnapForSNRVol42Resp, 96);
SIZE_IS(repGetLatestSnapForSNRVolV3Resp, 144);
FIELD_AT(repGetLatestSnapForSNRVolV3Resp, SNRVolume, 16);
FIELD_AT(repGetLatestSnapForSNRVolV3Resp, errCode, 136);
SIZE_IS(repGetLatestSnapForSNRVolV4Resp, 144);
FIELD_AT(repGetLatestSnapForSNRVolV4Resp, errCode, 136);

// replicas/PermanentReplicas.h
FIELD_AT(repCreatePermanentReplicaReq, PrimaryVolumeId, 64);
FIELD_AT(repCreatePermanentReplica42Req, PrimaryVolumeId, 80);
FIELD_AT(repCreatePermanentReplica42Req, JobId, 88);
FIELD_AT(repCreatePermanentReplica42Req, IsSnapActive, 96);
FIELD_AT(repCreatePermanentReplica42Req, ActivateSnap, 100);
FIELD_AT(repCreatePermanentReplicaV3Req, PrimaryVolumeId, 120);
FIELD_AT(repCreatePermanentReplicaV3Req, JobId, 128);
FIELD_AT(repCreatePermanentReplicaV3Req, ActivateSnap, 140);
FIELD_AT(repCreatePermanentReplicaV4Req, ActivateSnap, 140);
SIZE_IS(repCreatePermanentReplicaResp, 24);
FIELD_AT(repCreatePermanentReplicaResp, ReplicationVolumeId, 20);
SIZE_IS(repCreatePermanentReplica42Resp, 24);
SIZE_IS(repCreatePermanentReplicaV3Resp, 32);
FIELD_AT(repCreatePermanentReplicaV3Resp, errCode, 24);
SIZE_IS(repCreatePermanentReplicaV4Resp, 32);
SIZE_IS(repQueryPermanentReplicaResp, 64);
FIELD_AT(repQueryPermanentReplicaResp, ReplicationVolume, 16);
SIZE_IS(repQueryPermanentReplica42Resp, 80);
SIZE_IS(repQueryPermanentReplicaV3Resp, 104);
FIELD_AT(repQueryPermanentReplicaV3Resp, ReplicationVolume, 24);
SIZE_IS(repDeletePermanentReplicaReq, 4);
SIZE_IS(repDeletePermanentReplicaResp, 16);
FIELD_AT(repDeletePermanentReplicaResp, errMsg, 8);

// replicas/ReplicaRecords.h
SIZE_IS(repReplicationVolume, 44);
YB_CHECK_REPVOL_V1(repReplicationVolume);
SIZE_IS(repReplicationVolume42, 64);
YB_CHECK_REPVOL_42(repReplicationVolume42);
SIZE_IS(repReplicationVolumeV3, 80);
YB_CHECK_REPVOL_V3(repReplicationVolumeV3);
SIZE_IS(repReplicationVolumeV4, 88);
YB_CHECK_REPVOL_V4(repReplicationVolumeV4);
SIZE_IS(repReplicationVolumeV5, 104);
YB_CHECK_REPVOL_V4(repReplicationVolumeV5);
FIELD_AT(repReplicationVolumeV5, SnapvaultReplicaDir, 88);
FIELD_AT(repReplicationVolumeV5, SourceGUID, 96);
SIZE_IS(repYBVolumeApp, 16);
FIELD_AT(repYBVolumeApp, id, 0);
FIELD_AT(repYBVolumeApp, AppName, 8);

// replicas/ReplicaReservation.h
static_assert(sizeof(repReserveReplicaVolReq) == 16 && offsetof(repReserveReplicaVolReq, ids) == 8,
              "repReserveReplicaVolReq layout");
static_assert(sizeof(repReserveReplicaVolResp) == 16 && offsetof(repReserveReplicaVolResp, errMsg) == 8,
              "repReserveReplicaVolResp layout");
SIZE_IS(repUnreserveReplicaVolResp, 16);

// replicas/ReplicaVolumeAdd.h
SIZE_IS(repAddReplicationVolumeReq, 44);
SIZE_IS(repAddReplicationVolume42Req, 64);
SIZE_IS(repAddReplicationVolumeV3Req, 80);
SIZE_IS(repAddReplicationVolumeV4Req, 88);
FIELD_AT(repAddReplicationVolumeV5Req, subclientId, 104);
SIZE_IS(repAddReplicationVolumeResp, 16);
FIELD_AT(repAddReplicationVolumeResp, status, 4);
FIELD_AT(repAddReplicationVolumeResp, errMsg, 8);
SIZE_IS(repAddReplicationVolume42Resp, 16);
SIZE_IS(repAddReplicationVolumeV3Resp, 24);
FIELD_AT(repAddReplicationVolumeV3Resp, errCode, 16);
SIZE_IS(repAddReplicationVolumeV5Resp, 24);

// replicas/ReplicaVolumeQueries.h
SIZE_IS(repQueryReplicationVolumeByIdReq, 4);
SIZE_IS(repQueryReplicaVolumeByJobIdReq, 8);
SIZE_IS(repQueryYBVolByUniqueSnapshotIdReq, 8);
SIZE_IS(repGetYBVolumesBySubclientIdReq, 4);
YB_REPLICA_BYID_LAYOUT(repQueryReplicationVolumeByIdResp, 64, 16);
YB_REPLICA_BYID_LAYOUT(repQueryReplicationVol42ByIdResp, 80, 16);
YB_REPLICA_BYID_LAYOUT(repQueryReplicationVolV3ByIdResp, 104, 24);
YB_REPLICA_BYID_LAYOUT(repQueryReplicationVolV4ByIdResp, 112, 24);
YB_REPLICA_BYID_LAYOUT(repQueryReplicationVolV5ByIdResp, 128, 24);
FIELD_AT(repQueryReplicationVolV3ByIdResp, errCode, 16);
YB_REPLICA_LIST_LAYOUT(repGetReplicationVolumeListResp, 32, 16, 24);
YB_REPLICA_LIST_LAYOUT(repGetReplicationVolumeList42Resp, 32, 16, 24);
YB_REPLICA_LIST_LAYOUT(repGetReplicationVolumeListV3Resp, 40, 24, 32);
YB_REPLICA_LIST_LAYOUT(repGetReplicationVolumeListV5Resp, 40, 24, 32);
YB_REPLICA_LIST_LAYOUT(repQueryReplicaVolumeByJobIdResp, 32, 16, 24);
YB_REPLICA_LIST_LAYOUT(repQueryReplicaVolumeV4ByJobIdResp, 40, 24, 32);
FIELD_AT(repGetReplicationVolumeListV3Resp, errCode, 16);
YB_REPLICA_ARRAY_FIRST_LAYOUT(repQueryYBVolByUniqueSnapshotIdResp);
YB_REPLICA_ARRAY_FIRST_LAYOUT(repQueryYBVolByUniqueSnapshotIdV3Resp);
YB_REPLICA_ARRAY_FIRST_LAYOUT(repGetYBVolumesBySubclientIdResp);

// replicas/ReplicaVolumeRemoval.h
SIZE_IS(repRemoveReplicationVolumeReq, 4);
SIZE_IS(repRemoveReplicationVolumeResp, 16);
FIELD_AT(repRemoveReplicationVolumeResp, errMsg, 8);

// replicas/ReplicaVolumeUpdate.h
SIZE_IS(repUpdateReplicationVolumeReq, 44);
SIZE_IS(repUpdateReplicationVolumeV5Req, 104);
SIZE_IS(repUpdateReplicationVolumeResp, 16);
FIELD_AT(repUpdateReplicationVolumeResp, errMsg, 8);
SIZE_IS(repUpdateReplicationVolume42Resp, 16);
SIZE_IS(repUpdateReplicationVolumeV3Resp, 24);
FIELD_AT(repUpdateReplicationVolumeV3Resp, errCode, 16);
SIZE_IS(repUpdateReplicationVolumeV5Resp, 24);

// replicas/RetentionPruning.h
SIZE_IS(repPruneReplicaVolumeReq, 4);
SIZE_IS(repPruneReplicaVolumeResp, 24);
FIELD_AT(repPruneReplicaVolumeResp, count, 8);
FIELD_AT(repPruneReplicaVolumeResp, ids, 16);

// scratch/PoolContents.h
SIZE_IS(repQueryRVScratchVolumeByScratchPoolIdV6Req, 4);
SIZE_IS(repQueryRVScratchVolumeByScratchPoolIdResponse, 96);
SIZE_IS(repQueryRVScratchVolumeByScratchPoolId42Response, 96);
SIZE_IS(repQueryRVScratchVolumeByScratchPoolIdV3Response, 104);
SIZE_IS(repQueryRVScratchVolumeByScratchPoolIdV6Response, 104);
FIELD_AT(repQueryRVScratchVolumeByScratchPoolIdResponse, errMsg, 8);
FIELD_AT(repQueryRVScratchVolumeByScratchPoolIdResponse, lists, 16);
FIELD_AT(repQueryRVScratchVolumeByScratchPoolIdV3Response, errCode, 16);
FIELD_AT(repQueryRVScratchVolumeByScratchPoolIdV3Response, lists, 24);
FIELD_AT(PoolContentsListsV1, volumes, 8);
FIELD_AT(PoolContentsListsV1, nDevices, 16);
FIELD_AT(PoolContentsListsV1, nMountPoints, 32);
FIELD_AT(PoolContentsListsV1, nScratchVolumes, 48);
FIELD_AT(PoolContentsListsV1, nReplicas, 64);
FIELD_AT(PoolContentsListsV1, replicas, 72);

// scratch/ScratchLookups.h
SIZE_IS(repQueryRVScratchVolBySNRVolIdV2Req, 4);
SIZE_IS(repQueryRVScratchVolBySNRVolIdResp, 32);
FIELD_AT(repQueryRVScratchVolBySNRVolIdResp, errMsg, 8);
FIELD_AT(repQueryRVScratchVolBySNRVolIdResp, scratchVolume, 16);
SIZE_IS(repQueryRVScratchVolBySNRVolIdV2Resp, 48);
FIELD_AT(repQueryRVScratchVolBySNRVolIdV2Resp, scratchVolume, 16);
FIELD_AT(repQueryRVScratchVolBySNRVolIdV2Resp, errCode, 40);
SIZE_IS(repQueryScratchVolumeByIdResp, 40);
FIELD_AT(repQueryScratchVolumeByIdResp, status, 24);
FIELD_AT(repQueryScratchVolumeByIdResp, errMsg, 32);
SIZE_IS(repGetAvailVolumeFromPoolResp, 32);
FIELD_AT(repGetAvailVolumeFromPoolResp, count, 16);
FIELD_AT(repGetAvailVolumeFromPoolResp, volumeIds, 24);
SIZE_IS(repGetClientIdByPoolIdResp, 24);
FIELD_AT(repGetClientIdByPoolIdResp, clientId, 16);
FIELD_AT(repGetClientIdByPoolIdResp, errCode, 20);
SIZE_IS(repUpdateCostToVolsInPoolReq, 8);
SIZE_IS(repUpdateCostToVolsInPoolResp, 16);
FIELD_AT(repUpdateCostToVolsInPoolResp, errMsg, 8);

// scratch/ScratchMembership.h
SIZE_IS(repAddRVScratchVolumeReq, 8);
FIELD_AT(repAddRVScratchVolumeReq, SNRVolumeId, 4);
SIZE_IS(repAddRVScratchVolumeResponse, 24);
FIELD_AT(repAddRVScratchVolumeResponse, errMsg, 8);
FIELD_AT(repAddRVScratchVolumeResponse, scratchVolumeId, 16);
SIZE_IS(repRemoveRVScratchVolumeReq, 4);
SIZE_IS(repRemoveRVScratchVolumeResponse, 16);
FIELD_AT(repRemoveRVScratchVolumeResponse, errMsg, 8);

// scratch/ScratchPoolMessages.h
SIZE_IS(repAddRVScratchVolumePoolReq, 8);
SIZE_IS(repAddRVScratchVolumePoolV2Req, 16);
FIELD_AT(repAddRVScratchVolumePoolV2Req, SnapEngineInfoId, 8);
SIZE_IS(repAddRVScratchVolumePoolV3Req, 40);
SIZE_IS(repQueryRVScratchVolPoolV3Req, 4);
SIZE_IS(repUpdateRVScratchVolPoolReq, 24);
SIZE_IS(repUpdateRVScratchVolPoolV2Req, 32);
SIZE_IS(repUpdateRVScratchVolPoolV3Req, 40);
SIZE_IS(repRemoveRVScratchVolumePool70Req, 4);
SIZE_IS(repAddRVScratchVolumePoolResponse, 24);
FIELD_AT(repAddRVScratchVolumePoolResponse, errMsg, 8);
FIELD_AT(repAddRVScratchVolumePoolResponse, poolId, 16);
SIZE_IS(repAddRVScratchVolumePoolV3Response, 24);
FIELD_AT(repAddRVScratchVolumePoolV2Response, errCode, 4);
FIELD_AT(repAddRVScratchVolumePoolV2Response, errMsg, 8);
FIELD_AT(repAddRVScratchVolumePoolV2Response, poolId, 16);
SIZE_IS(repQueryRVScratchVolPoolResponse, 40);
FIELD_AT(repQueryRVScratchVolPoolResponse, pool, 16);
SIZE_IS(repQueryRVScratchVolPoolV2Response, 48);
FIELD_AT(repQueryRVScratchVolPoolV2Response, errCode, 4);
FIELD_AT(repQueryRVScratchVolPoolV2Response, pool, 16);
SIZE_IS(repQueryRVScratchVolPoolV3Response, 56);
FIELD_AT(repQueryRVScratchVolPoolV3Response, pool, 16);
SIZE_IS(repGetRVScratchVolumePoolListResponse, 32);
FIELD_AT(repGetRVScratchVolumePoolListResponse, count, 16);
FIELD_AT(repGetRVScratchVolumePoolListResponse, pools, 24);
SIZE_IS(repGetRVScratchVolumePoolV2ListResponse, 32);
FIELD_AT(repGetRVScratchVolumePoolV2ListResponse, errCode, 4);
FIELD_AT(repGetRVScratchVolumePoolV2ListResponse, count, 16);
FIELD_AT(repGetRVScratchVolumePoolV2ListResponse, pools, 24);
SIZE_IS(repGetRVScratchVolumePoolV3ListResponse, 32);
SIZE_IS(repUpdateRVScratchVolPoolResp, 16);
SIZE_IS(repUpdateRVScratchVolPoolV2Resp, 16);
FIELD_AT(repUpdateRVScratchVolPoolV2Resp, errCode, 4);
SIZE_IS(repUpdateRVScratchVolPoolV3Resp, 16);
SIZE_IS(repRemoveRVScratchVolumePoolResponse, 16);
SIZE_IS(repRemoveRVScratchVolumePool70Response, 24);
FIELD_AT(repRemoveRVScratchVolumePool70Response, errCode, 16);

// scratch/ScratchRecords.h
SIZE_IS(repRVScratchVolume, 12);
FIELD_AT(repRVScratchVolume, id, 0);
FIELD_AT(repRVScratchVolume, PhysicalVolumeId, 4);
FIELD_AT(repRVScratchVolume, RVScratchVolumePoolId, 8);
SIZE_IS(repRVScratchVolumeV2, 24);
FIELD_AT(repRVScratchVolumeV2, id, 0);
FIELD_AT(repRVScratchVolumeV2, PhysicalVolumeId, 4);
FIELD_AT(repRVScratchVolumeV2, RVScratchVolumePoolId, 8);
FIELD_AT(repRVScratchVolumeV2, LockedByJobId, 16);
SIZE_IS(repRVScratchVolumePool, 24);
FIELD_AT(repRVScratchVolumePool, id, 0);
FIELD_AT(repRVScratchVolumePool, TotalVolumes, 4);
FIELD_AT(repRVScratchVolumePool, AvailableVolumes, 8);
FIELD_AT(repRVScratchVolumePool, name, 16);
SIZE_IS(repRVScratchVolumePoolV2, 32);
FIELD_AT(repRVScratchVolumePoolV2, id, 0);
FIELD_AT(repRVScratchVolumePoolV2, TotalVolumes, 4);
FIELD_AT(repRVScratchVolumePoolV2, AvailableVolumes, 8);
FIELD_AT(repRVScratchVolumePoolV2, name, 16);
FIELD_AT(repRVScratchVolumePoolV2, SnapEngineInfoId, 24);
SIZE_IS(repRVScratchVolumePoolV3, 40);
FIELD_AT(repRVScratchVolumePoolV3, id, 0);
FIELD_AT(repRVScratchVolumePoolV3, TotalVolumes, 4);
FIELD_AT(repRVScratchVolumePoolV3, AvailableVolumes, 8);
FIELD_AT(repRVScratchVolumePoolV3, name, 16);
FIELD_AT(repRVScratchVolumePoolV3, SnapEngineInfoId, 24);
FIELD_AT(repRVScratchVolumePoolV3, Type, 28);
FIELD_AT(repRVScratchVolumePoolV3, UpdateMask, 32);

// scratch/ScratchRelease.h
SIZE_IS(repReleaseRVScratchVolumeReq, 4);
static_assert(sizeof(repReleaseRVScratchVolumeResponse) == 16 &&
                  offsetof(repReleaseRVScratchVolumeResponse, errMsg) == 8,
              "repReleaseRVScratchVolumeResponse layout");
SIZE_IS(repReleaseRVScratchVolumeV2Req, 8);
static_assert(sizeof(repReleaseRVScratchVolumeV2Response) == 16 &&
                  offsetof(repReleaseRVScratchVolumeV2Response, errCode) == 4 &&
                  offsetof(repReleaseRVScratchVolumeV2Response, errMsg) == 8,
              "repReleaseRVScratchVolumeV2Response layout");

// snr/DeviceMaintenance.h
SIZE_IS(repUnconfigureDeviceReq, 4);
SIZE_IS(repUpdateSNRDeviceNameResp, 24);
FIELD_AT(repUpdateSNRDeviceNameResp, status, 0);
FIELD_AT(repUpdateSNRDeviceNameResp, errMsg, 8);
FIELD_AT(repUpdateSNRDeviceNameResp, errCode, 16);
SIZE_IS(repConfigureDeviceResp, 16);
FIELD_AT(repConfigureDeviceResp, status, 0);
FIELD_AT(repConfigureDeviceResp, errCode, 4);
FIELD_AT(repConfigureDeviceResp, errMsg, 8);

// snr/DeviceMessages.h
SIZE_IS(repSNRMountPath, 16);
FIELD_AT(repSNRMountPath, MountPointId, 0);
FIELD_AT(repSNRMountPath, Path, 8);
ADD_DEVICE_REQUEST_LAYOUT(repAddSNRDeviceReq, 112, 64, 96, 104);
ADD_DEVICE_REQUEST_LAYOUT(repAddSNRDevice42Req, 128, 80, 112, 120);
ADD_DEVICE_REQUEST_LAYOUT(repAddSNRDeviceV3Req, 200, 120, 168, 176);
ADD_DEVICE_REQUEST_LAYOUT(repAddSNRDeviceV4Req, 216, 120, 184, 192);
ADD_DEVICE_REQUEST_LAYOUT(repAddSNRDeviceV5Req, 224, 120, 192, 200);
FIELD_AT(repAddSNRDeviceV3Req, HistoryName, 184);
FIELD_AT(repAddSNRDeviceV4Req, HistoryName, 200);
FIELD_AT(repAddSNRDeviceV5Req, HistoryName, 208);
ADD_DEVICE_REPLY_LAYOUT(repAddSNRDeviceResponse, 40);
ADD_DEVICE_REPLY_LAYOUT(repAddSNRDevice42Response, 40);
ADD_DEVICE_REPLY_LAYOUT(repAddSNRDeviceV3Response, 48);
ADD_DEVICE_REPLY_LAYOUT(repAddSNRDeviceV4Response, 48);
ADD_DEVICE_REPLY_LAYOUT(repAddSNRDeviceV5Response, 48);
FIELD_AT(repAddSNRDeviceV3Response, errCode, 40);
FIELD_AT(repAddSNRDeviceV4Response, errCode, 40);
FIELD_AT(repAddSNRDeviceV5Response, errCode, 40);
SIZE_IS(repAddSNRVolumeReq, 64);
SIZE_IS(repAddSNRVolume42Req, 80);
SIZE_IS(repAddSNRVolumeV3Req, 120);
SIZE_IS(repAddSNRVolumeV4Req, 120);
ADD_VOLUME_REPLY_LAYOUT(repAddSNRVolumeResp);
ADD_VOLUME_REPLY_LAYOUT(repAddSNRVolume42Resp);
ADD_VOLUME_REPLY_LAYOUT(repAddSNRVolumeV3Resp);
ADD_VOLUME_REPLY_LAYOUT(repAddSNRVolumeV4Resp);
FIELD_AT(repAddSNRVolumeV3Resp, errCode, 20);
FIELD_AT(repAddSNRVolumeV4Resp, errCode, 20);

// snr/DeviceQueries.h
SIZE_IS(repQuerySNRDeviceByIdReq, 4);
SIZE_IS(repQuerySNRDeviceByIdV4Req, 4);
SIZE_IS(repQuerySNRVolDevsBySNRVolIdReq, 4);
SIZE_IS(repQuerySNRVolDevsBySNRVolIdV4Req, 4);
SIZE_IS(repQuerySNRDeviceByIdResp, 48);
FIELD_AT(repQuerySNRDeviceByIdResp, status, 0);
FIELD_AT(repQuerySNRDeviceByIdResp, errMsg, 8);
FIELD_AT(repQuerySNRDeviceByIdResp, device, 16);
SNR_DEVICE_REPLY_LAYOUT(repQuerySNRDeviceByIdV2Resp, 72, 64);
SNR_DEVICE_REPLY_LAYOUT(repQuerySNRDeviceByIdV3Resp, 88, 80);
SNR_DEVICE_REPLY_LAYOUT(repQuerySNRDeviceByIdV4Resp, 96, 88);
SIZE_IS(repQuerySNRVolDevsBySNRVolIdResp, 32);
SNR_DEVICE_LIST_REPLY_LAYOUT(repQuerySNRVolDevsBySNRVolIdResp);
SIZE_IS(repQuerySNRVolDevsBySNRVolIdV2Resp, 40);
SIZE_IS(repQuerySNRVolDevsBySNRVolIdV3Resp, 40);
SIZE_IS(repQuerySNRVolDevsBySNRVolIdV4Resp, 40);
SNR_DEVICE_LIST_REPLY_LAYOUT(repQuerySNRVolDevsBySNRVolIdV2Resp);
SNR_DEVICE_LIST_REPLY_LAYOUT(repQuerySNRVolDevsBySNRVolIdV3Resp);
SNR_DEVICE_LIST_REPLY_LAYOUT(repQuerySNRVolDevsBySNRVolIdV4Resp);
FIELD_AT(repQuerySNRVolDevsBySNRVolIdV2Resp, errCode, 32);
FIELD_AT(repQuerySNRVolDevsBySNRVolIdV3Resp, errCode, 32);
FIELD_AT(repQuerySNRVolDevsBySNRVolIdV4Resp, errCode, 32);

// snr/MountPoints.h
SIZE_IS(repSNRVolumeMountPointEx, 32);
FIELD_AT(repSNRVolumeMountPointEx, MountPoint, 0);
FIELD_AT(repSNRVolumeMountPointEx, ClientId, 24);
SIZE_IS(repRemoveMountPointReq, 4);
SIZE_IS(repQuerySNRVolMntPointsBySNRVolDevIdReq, 4);
SIZE_IS(repQuerySNRMountPointByIdReq, 4);
SIZE_IS(repQuerySNRMountPointByPathReq, 8);
SIZE_IS(repQuerySNRMountPointBySNRVolIdReq, 4);
SIZE_IS(repRemoveMountPointResponse, 16);
FIELD_AT(repRemoveMountPointResponse, status, 0);
FIELD_AT(repRemoveMountPointResponse, errMsg, 8);
SIZE_IS(repAddMountPointResponse, 16);
FIELD_AT(repAddMountPointResponse, MountPointId, 0);
FIELD_AT(repAddMountPointResponse, status, 4);
FIELD_AT(repAddMountPointResponse, errMsg, 8);
SIZE_IS(repUpdateSNRVolumeMountPointResp, 16);
FIELD_AT(repUpdateSNRVolumeMountPointResp, status, 0);
FIELD_AT(repUpdateSNRVolumeMountPointResp, errMsg, 8);
SIZE_IS(repQuerySNRMountPointByIdResp, 40);
FIELD_AT(repQuerySNRMountPointByIdResp, status, 0);
FIELD_AT(repQuerySNRMountPointByIdResp, errMsg, 8);
FIELD_AT(repQuerySNRMountPointByIdResp, MountPoint, 16);
SNR_MOUNT_POINT_LIST_REPLY_LAYOUT(repQuerySNRVolMntPointsBySNRVolDevIdResp);
SNR_MOUNT_POINT_LIST_REPLY_LAYOUT(repQuerySNRMountPointByPathResp);
SNR_MOUNT_POINT_LIST_REPLY_LAYOUT(repQuerySNRMountPointBySNRVolIdResp);

// snr/SNRDeletion.h
SIZE_IS(repDeleteSNRDeviceReq, 4);
SIZE_IS(repDeleteSNRDeviceResponse, 16);
FIELD_AT(repDeleteSNRDeviceResponse, errMsg, 8);
SIZE_IS(repPruneMorvaneVolumeReq, 24);
FIELD_AT(repPruneMorvaneVolumeReq, count, 8);
FIELD_AT(repPruneMorvaneVolumeReq, names, 16);
SIZE_IS(repPruneMorvaneVolumesResp, 16);
FIELD_AT(repPruneMorvaneVolumesResp, errCode, 4);
FIELD_AT(repPruneMorvaneVolumesResp, errMsg, 8);

// snr/SNRMessages.h
SIZE_IS(repTzGlobalHistoryNameByDeviceReq, 4);
SIZE_IS(repTzGlobalHistoryNameByVolIdReq, 4);
SNR_STATUS_REPLY_LAYOUT(repAddGlobalHistoryNameResp);
SNR_STATUS_REPLY_LAYOUT(repUpdateTzGlobalHistoryNameResp);
SNR_STATUS_REPLY_LAYOUT(repDeleteTzGlobalHistoryNameResp);
SNR_HISTORY_QUERY_REPLY_LAYOUT(repQueryTzGlobalHistoryNameResp);
SNR_HISTORY_QUERY_REPLY_LAYOUT(repQueryTzGlobalHistoryNameByVolIdResp);

// snr/SNRRecords.h
SIZE_IS(YBPhysicalVolume_t, 2496);
FIELD_AT(YBPhysicalVolume_t, id, 0);
FIELD_AT(YBPhysicalVolume_t, UniqueId, 4);
FIELD_AT(YBPhysicalVolume_t, UniqueIdType, 264);
FIELD_AT(YBPhysicalVolume_t, LUN, 268);
FIELD_AT(YBPhysicalVolume_t, StartLBA, 272);
FIELD_AT(YBPhysicalVolume_t, BlockCount, 280);
FIELD_AT(YBPhysicalVolume_t, BlockSize, 288);
FIELD_AT(YBPhysicalVolume_t, Flags, 292);
FIELD_AT(YBPhysicalVolume_t, FSType, 296);
FIELD_AT(YBPhysicalVolume_t, UniqueSnapshotID, 425);
FIELD_AT(YBPhysicalVolume_t, ApplianceId, 2476);
FIELD_AT(YBPhysicalVolume_t, TzState, 2480);
FIELD_AT(YBPhysicalVolume_t, CostCategoryId, 2484);
FIELD_AT(YBPhysicalVolume_t, Type, 2488);
SIZE_IS(YBPhysicalVolume_t::UniqueId, 257);
SIZE_IS(YBPhysicalVolume_t::FSType, 129);
SIZE_IS(YBPhysicalVolume_t::UniqueSnapshotID, 2049);
SIZE_IS(YBPhysicalDevice_t, 2204);
FIELD_AT(YBPhysicalDevice_t, id, 0);
FIELD_AT(YBPhysicalDevice_t, ClientId, 4);
FIELD_AT(YBPhysicalDevice_t, SNRVolumeId, 8);
FIELD_AT(YBPhysicalDevice_t, DeviceName, 12);
FIELD_AT(YBPhysicalDevice_t, Flags, 1040);
FIELD_AT(YBPhysicalDevice_t, OSDeviceName, 1044);
FIELD_AT(YBPhysicalDevice_t, AccessPath, 2069);
FIELD_AT(YBPhysicalDevice_t, FilerClientId, 2200);
FIELD_AT(YBMountPoint_t, id, 0);
FIELD_AT(YBMountPoint_t, DeviceNameId, 4);
FIELD_AT(YBMountPoint_t, Path, 8);
FIELD_AT(YBMountPoint_t, Flags, 1036);
SIZE_IS(YBMountPoint_t, 1040);
FIELD_AT(YBTzHistoryName_t, DeviceId, 0);
FIELD_AT(YBTzHistoryName_t, GlobalHistoryName, 4);
FIELD_AT(YBTzHistoryName_t, Flags, 1032);
SIZE_IS(YBTzHistoryName_t, 1036);

// snr/SNRVolumeById.h
SIZE_IS(repQuerySNRVolByIdReq, 4);
SIZE_IS(repQuerySNRVolByIdV3Req, 4);
SIZE_IS(repQuerySNRVolByIdV4Req, 8);
SIZE_IS(repQuerySNRVolByIdV5Req, 8);
FIELD_AT(repQuerySNRVolByIdV4Req, srcVolumeId, 4);
SNR_VOLBYID_REPLY_LAYOUT(repQuerySNRVolByIdResp, 136, 16, 80, 92);
SNR_VOLBYID_REPLY_LAYOUT(repQuerySNRVolById42Resp, 176, 16, 96, 112);
SNR_VOLBYID_REPLY_LAYOUT(repQuerySNRVolByIdV3Resp, 240, 24, 144, 160);
SNR_VOLBYID_REPLY_LAYOUT(repQuerySNRVolByIdV4Resp, 256, 24, 144, 168);
SNR_VOLBYID_REPLY_LAYOUT(repQuerySNRVolByIdV5Resp, 272, 24, 144, 168);
FIELD_AT(repQuerySNRVolByIdV3Resp, errCode, 16);
FIELD_AT(repQuerySNRVolByIdV4Resp, errCode, 16);
FIELD_AT(repQuerySNRVolByIdV5Resp, errCode, 16);

// snr/SNRVolumeReplicas.h
SIZE_IS(repQuerySNRVolume2ByIdReq, 16);
SIZE_IS(repQuerySNRVolume2ByIdV5Req, 16);
FIELD_AT(repQuerySNRVolume2ByIdReq, flags, 4);
FIELD_AT(repQuerySNRVolume2ByIdReq, creationTime, 8);
FIELD_AT(repQuerySNRVolume2ByIdReq, role, 12);
SNR_VOLUME2_REPLY_LAYOUT(repQuerySNRVolume2ByIdResp, 112, 16, 80, 96);
SNR_VOLUME2_REPLY_LAYOUT(repQuerySNRVolume2ById42Resp, 128, 16, 96, 112);
SNR_VOLUME2_REPLY_LAYOUT(repQuerySNRVolume2ByIdV3Resp, 176, 24, 144, 160);
SNR_VOLUME2_REPLY_LAYOUT(repQuerySNRVolume2ByIdV4Resp, 184, 24, 144, 168);
SNR_VOLUME2_REPLY_LAYOUT(repQuerySNRVolume2ByIdV5Resp, 184, 24, 144, 168);
FIELD_AT(repQuerySNRVolume2ByIdV3Resp, errCode, 16);
FIELD_AT(repQuerySNRVolume2ByIdV4Resp, errCode, 16);
FIELD_AT(repQuerySNRVolume2ByIdV5Resp, errCode, 16);

// snr/SNRVolumeUpdate.h
static_assert(sizeof(repUpdateSNRVolumeReq) == sizeof(repSNRVolume), "repUpdateSNRVolumeReq size");
SIZE_IS(repUpdateSNRVolumeV4Req, 120);
SNR_UPDATE_REPLY_LAYOUT(repUpdateSNRVolumeResponse, 16);
SNR_UPDATE_REPLY_LAYOUT(repUpdateSNRVolume42Response, 16);
SNR_UPDATE_REPLY_LAYOUT(repUpdateSNRVolumeV3Response, 24);
SNR_UPDATE_REPLY_LAYOUT(repUpdateSNRVolumeV4Response, 24);
FIELD_AT(repUpdateSNRVolumeV3Response, errCode, 16);
FIELD_AT(repUpdateSNRVolumeV4Response, errCode, 16);

// snr/SNRWireStructures.h
SIZE_IS(repSNRVolume, 64);
FIELD_AT(repSNRVolume, id, 0);
FIELD_AT(repSNRVolume, UniqueId, 8);
FIELD_AT(repSNRVolume, UniqueIdType, 16);
FIELD_AT(repSNRVolume, LUN, 20);
FIELD_AT(repSNRVolume, StartLBA, 24);
FIELD_AT(repSNRVolume, BlockCount, 28);
FIELD_AT(repSNRVolume, BlockSize, 32);
FIELD_AT(repSNRVolume, BackupFromSnap, 36);
FIELD_AT(repSNRVolume, Locked, 40);
FIELD_AT(repSNRVolume, FSType, 48);
FIELD_AT(repSNRVolume, UsePermReplica, 56);
SIZE_IS(repSNRVolume42, 80);
FIELD_AT(repSNRVolume42, id, 0);
FIELD_AT(repSNRVolume42, UniqueId, 8);
FIELD_AT(repSNRVolume42, UniqueIdType, 16);
FIELD_AT(repSNRVolume42, LUN, 20);
FIELD_AT(repSNRVolume42, StartLBA, 24);
FIELD_AT(repSNRVolume42, BlockCount, 28);
FIELD_AT(repSNRVolume42, BlockSize, 32);
FIELD_AT(repSNRVolume42, BackupFromSnap, 36);
FIELD_AT(repSNRVolume42, Locked, 40);
FIELD_AT(repSNRVolume42, FSType, 48);
FIELD_AT(repSNRVolume42, UsePermReplica, 56);
FIELD_AT(repSNRVolume42, UniqueSnapshotID, 64);
FIELD_AT(repSNRVolume42, Allocated, 72);
SIZE_IS(repSNRVolumeV3, 120);
FIELD_AT(repSNRVolumeV3, id, 0);
FIELD_AT(repSNRVolumeV3, UniqueId, 8);
FIELD_AT(repSNRVolumeV3, UniqueIdType, 16);
FIELD_AT(repSNRVolumeV3, LUN, 20);
FIELD_AT(repSNRVolumeV3, StartLBA, 24);
FIELD_AT(repSNRVolumeV3, BlockCount, 32);
FIELD_AT(repSNRVolumeV3, BlockSize, 40);
FIELD_AT(repSNRVolumeV3, BackupFromSnap, 44);
FIELD_AT(repSNRVolumeV3, Locked, 48);
FIELD_AT(repSNRVolumeV3, FSType, 56);
FIELD_AT(repSNRVolumeV3, UsePermReplica, 64);
FIELD_AT(repSNRVolumeV3, UniqueSnapshotID, 72);
FIELD_AT(repSNRVolumeV3, Allocated, 80);
FIELD_AT(repSNRVolumeV3, MorvaneProtected, 84);
FIELD_AT(repSNRVolumeV3, ApplianceId, 88);
FIELD_AT(repSNRVolumeV3, UpdateMap, 92);
FIELD_AT(repSNRVolumeV3, TzState, 96);
FIELD_AT(repSNRVolumeV3, CostCategoryId, 104);
FIELD_AT(repSNRVolumeV3, ShadowImported, 112);
SIZE_IS(repSNRVolumeV4, 120);
FIELD_AT(repSNRVolumeV4, id, 0);
FIELD_AT(repSNRVolumeV4, UniqueId, 8);
FIELD_AT(repSNRVolumeV4, UniqueIdType, 16);
FIELD_AT(repSNRVolumeV4, LUN, 20);
FIELD_AT(repSNRVolumeV4, StartLBA, 24);
FIELD_AT(repSNRVolumeV4, BlockCount, 32);
FIELD_AT(repSNRVolumeV4, BlockSize, 40);
FIELD_AT(repSNRVolumeV4, BackupFromSnap, 44);
FIELD_AT(repSNRVolumeV4, Locked, 48);
FIELD_AT(repSNRVolumeV4, FSType, 56);
FIELD_AT(repSNRVolumeV4, UsePermReplica, 64);
FIELD_AT(repSNRVolumeV4, UniqueSnapshotID, 72);
FIELD_AT(repSNRVolumeV4, Allocated, 80);
FIELD_AT(repSNRVolumeV4, MorvaneProtected, 84);
FIELD_AT(repSNRVolumeV4, ApplianceId, 88);
FIELD_AT(repSNRVolumeV4, UpdateMap, 92);
FIELD_AT(repSNRVolumeV4, TzState, 96);
FIELD_AT(repSNRVolumeV4, CostCategoryId, 104);
FIELD_AT(repSNRVolumeV4, ShadowImported, 112);
FIELD_AT(repSNRVolumeV4, VolType, 116);
SIZE_IS(repSNRVolumeDeviceName, 32);
SIZE_IS(repSNRVolumeDeviceNameV2, 48);
SIZE_IS(repSNRVolumeDeviceNameV3, 64);
SIZE_IS(repSNRVolumeDeviceNameV4, 72);
FIELD_AT(repSNRVolumeDeviceName, id, 0);
FIELD_AT(repSNRVolumeDeviceName, ClientId, 4);
FIELD_AT(repSNRVolumeDeviceName, SNRVolumeId, 8);
FIELD_AT(repSNRVolumeDeviceName, DeviceName, 16);
FIELD_AT(repSNRVolumeDeviceName, IsCaseSensitive, 24);
FIELD_AT(repSNRVolumeDeviceNameV2, id, 0);
FIELD_AT(repSNRVolumeDeviceNameV2, ClientId, 4);
FIELD_AT(repSNRVolumeDeviceNameV2, SNRVolumeId, 8);
FIELD_AT(repSNRVolumeDeviceNameV2, DeviceName, 16);
FIELD_AT(repSNRVolumeDeviceNameV2, IsCaseSensitive, 24);
FIELD_AT(repSNRVolumeDeviceNameV2, OSDeviceName, 32);
FIELD_AT(repSNRVolumeDeviceNameV2, Configured, 40);
FIELD_AT(repSNRVolumeDeviceNameV2, Fake, 44);
FIELD_AT(repSNRVolumeDeviceNameV3, id, 0);
FIELD_AT(repSNRVolumeDeviceNameV3, ClientId, 4);
FIELD_AT(repSNRVolumeDeviceNameV3, SNRVolumeId, 8);
FIELD_AT(repSNRVolumeDeviceNameV3, DeviceName, 16);
FIELD_AT(repSNRVolumeDeviceNameV3, IsCaseSensitive, 24);
FIELD_AT(repSNRVolumeDeviceNameV3, OSDeviceName, 32);
FIELD_AT(repSNRVolumeDeviceNameV3, Configured, 40);
FIELD_AT(repSNRVolumeDeviceNameV3, Fake, 44);
FIELD_AT(repSNRVolumeDeviceNameV3, VVM, 48);
FIELD_AT(repSNRVolumeDeviceNameV3, UpdateMap, 52);
FIELD_AT(repSNRVolumeDeviceNameV3, AccessPath, 56);
FIELD_AT(repSNRVolumeDeviceNameV4, id, 0);
FIELD_AT(repSNRVolumeDeviceNameV4, ClientId, 4);
FIELD_AT(repSNRVolumeDeviceNameV4, SNRVolumeId, 8);
FIELD_AT(repSNRVolumeDeviceNameV4, DeviceName, 16);
FIELD_AT(repSNRVolumeDeviceNameV4, IsCaseSensitive, 24);
FIELD_AT(repSNRVolumeDeviceNameV4, OSDeviceName, 32);
FIELD_AT(repSNRVolumeDeviceNameV4, Configured, 40);
FIELD_AT(repSNRVolumeDeviceNameV4, Fake, 44);
FIELD_AT(repSNRVolumeDeviceNameV4, VVM, 48);
FIELD_AT(repSNRVolumeDeviceNameV4, UpdateMap, 52);
FIELD_AT(repSNRVolumeDeviceNameV4, AccessPath, 56);
FIELD_AT(repSNRVolumeDeviceNameV4, FilerClientId, 64);
SIZE_IS(repSNRVolumeMountPoint, 24);
FIELD_AT(repSNRVolumeMountPoint, id, 0);
FIELD_AT(repSNRVolumeMountPoint, DeviceNameId, 4);
FIELD_AT(repSNRVolumeMountPoint, Path, 8);
FIELD_AT(repSNRVolumeMountPoint, IsCaseSensitive, 16);
FIELD_AT(repSNRVolumeMountPoint, Unmounted, 20);
SIZE_IS(repYBTzHistoryNameRec, 16);
FIELD_AT(repYBTzHistoryNameRec, DeviceId, 0);
FIELD_AT(repYBTzHistoryNameRec, GlobalHistoryName, 8);

// snr/VolumeInventory.h
SIZE_IS(repQuerySNRDeviceByClientIdReq, 4);
SIZE_IS(repQuerySNRDeviceByClientIdV6Req, 4);
SNR_VOLINFO_REPLY_LAYOUT(repQuerySNRDeviceByClientIdResponse, 96, 16);
SNR_VOLINFO_REPLY_LAYOUT(repQuerySNRDeviceByClientId42Response, 96, 16);
SNR_VOLINFO_REPLY_LAYOUT(repQuerySNRDeviceByClientIdV3Response, 104, 24);
SNR_VOLINFO_REPLY_LAYOUT(repQuerySNRDeviceByClientIdV4Response, 104, 24);
SNR_VOLINFO_REPLY_LAYOUT(repQuerySNRDeviceByClientIdV5Response, 104, 24);
SNR_VOLINFO_REPLY_LAYOUT(repQuerySNRDeviceByClientIdV6Response, 104, 24);
FIELD_AT(repQuerySNRDeviceByClientIdV3Response, errCode, 16);
FIELD_AT(repQuerySNRDeviceByClientIdV4Response, errCode, 16);
FIELD_AT(repQuerySNRDeviceByClientIdV5Response, errCode, 16);
FIELD_AT(repQuerySNRDeviceByClientIdV6Response, errCode, 16);

// snr/VolumeLists.h
SIZE_IS(repGetSNRInfoByClientAndVolReq, 8);
FIELD_AT(repGetSNRInfoByClientAndVolReq, snrVolumeId, 0);
FIELD_AT(repGetSNRInfoByClientAndVolReq, clientId, 4);
SNR_VOLUME_LIST_REPLY_LAYOUT(repGetSNRVolumesResp, 64);
SNR_VOLUME_LIST_REPLY_LAYOUT(repGetSNRVolumesV2Resp, 72);
SNR_VOLUME_LIST_REPLY_LAYOUT(repGetSNRVolumesV3Resp, 72);
SNR_VOLUME_LIST_REPLY_LAYOUT(repGetSNRVolumesV4Resp, 72);
FIELD_AT(repGetSNRVolumesV2Resp, errCode, 64);
FIELD_AT(repGetSNRVolumesV3Resp, errCode, 64);
FIELD_AT(repGetSNRVolumesV4Resp, errCode, 64);
SNR_CLIENT_VOLUME_REPLY_LAYOUT(repGetSNRInfoByClientAndVolResp, 144, 96, 128, 136);
SNR_CLIENT_VOLUME_REPLY_LAYOUT(repGetSNRInfoByClientAndVolV2Resp, 208, 136, 184, 192);
SNR_CLIENT_VOLUME_REPLY_LAYOUT(repGetSNRInfoByClientAndVolV3Resp, 224, 136, 200, 208);
SNR_CLIENT_VOLUME_REPLY_LAYOUT(repGetSNRInfoByClientAndVolV4Resp, 232, 136, 208, 216);
FIELD_AT(repGetSNRInfoByClientAndVolV2Resp, errCode, 200);
FIELD_AT(repGetSNRInfoByClientAndVolV3Resp, errCode, 216);
FIELD_AT(repGetSNRInfoByClientAndVolV4Resp, errCode, 224);

// snr/VolumeReservation.h
SIZE_IS(repReserveSNRVolReq, 16);
FIELD_AT(repReserveSNRVolReq, ids, 8);
SIZE_IS(repReserveSNRVolV2Req, 24);
FIELD_AT(repReserveSNRVolV2Req, ids, 8);
FIELD_AT(repReserveSNRVolV2Req, jobId, 16);
SIZE_IS(repUnreserveSNRVolReq, 16);
SNR_RESERVE_REPLY_LAYOUT(repReserveSNRVolResp, 16);
SNR_RESERVE_REPLY_LAYOUT(repUnreserveSNRVolResp, 16);
SNR_RESERVE_REPLY_LAYOUT(repReserveSNRVolV2Resp, 24);
SNR_RESERVE_REPLY_LAYOUT(repAllocateSNRVolResp, 24);
SNR_RESERVE_REPLY_LAYOUT(repDeallocateSNRVolResp, 24);
FIELD_AT(repReserveSNRVolV2Resp, errCode, 16);
FIELD_AT(repAllocateSNRVolResp, errCode, 16);
FIELD_AT(repDeallocateSNRVolResp, errCode, 16);
