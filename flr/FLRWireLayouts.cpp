// The wire layouts of the requests, replies and records of consistency points,
// FLR snapshots and recovery point lookups: sizes and field offsets, as the
// host reads and writes them by position; checked when this file compiles, so
// a structure that moves a field stops the build.
#include "flr/FLRDeleteMessages.h"
#include "flr/FLRMessages.h"
#include "flr/FLRQueryMessages.h"
#include "flr/FLRWireRecords.h"

#include "service/WireLayout.h"

#define FLR_CREATE_CP_REQ2_LAYOUT(T)   \
    WIRE_SIZE_IS(T, 72);               \
    WIRE_FIELD_AT(T, CPs, 8);          \
    WIRE_FIELD_AT(T, SnapCount, 16);   \
    WIRE_FIELD_AT(T, Snaps, 24);       \
    WIRE_FIELD_AT(T, PairCount, 32);   \
    WIRE_FIELD_AT(T, Pairs, 40);       \
    WIRE_FIELD_AT(T, MountCount, 48);  \
    WIRE_FIELD_AT(T, MountPoints, 56); \
    WIRE_FIELD_AT(T, DstClientId, 64)

#define FLR_CREATE_CP_REQ_LAYOUT(T, S)      \
    WIRE_SIZE_IS(T, (S) + 48);              \
    WIRE_FIELD_AT(T, SnapCount, S);         \
    WIRE_FIELD_AT(T, Snaps, (S) + 8);       \
    WIRE_FIELD_AT(T, PairCount, (S) + 16);  \
    WIRE_FIELD_AT(T, Pairs, (S) + 24);      \
    WIRE_FIELD_AT(T, MountCount, (S) + 32); \
    WIRE_FIELD_AT(T, MountPoints, (S) + 40)

#define FLR_CREATE_CP_RESP_LAYOUT(T)  \
    WIRE_SIZE_IS(T, 72);              \
    WIRE_FIELD_AT(T, errCode, 4);     \
    WIRE_FIELD_AT(T, errMsg, 8);      \
    WIRE_FIELD_AT(T, CPId, 16);       \
    WIRE_FIELD_AT(T, SnapCount, 24);  \
    WIRE_FIELD_AT(T, Snaps, 32);      \
    WIRE_FIELD_AT(T, PairCount, 40);  \
    WIRE_FIELD_AT(T, Pairs, 48);      \
    WIRE_FIELD_AT(T, MountCount, 56); \
    WIRE_FIELD_AT(T, MountPoints, 64)

#define FLR_STATUS_REPLY_LAYOUT(T) \
    WIRE_SIZE_IS(T, 16);           \
    WIRE_FIELD_AT(T, errCode, 4);  \
    WIRE_FIELD_AT(T, errMsg, 8)

#define FLR_EXPANDED_LISTS_LAYOUT(T, S)              \
    WIRE_FIELD_AT(T, lists.SnapCount, S);            \
    WIRE_FIELD_AT(T, lists.Snaps, (S) + 8);          \
    WIRE_FIELD_AT(T, lists.PairCount, (S) + 16);     \
    WIRE_FIELD_AT(T, lists.Pairs, (S) + 24);         \
    WIRE_FIELD_AT(T, lists.PairPathCount, (S) + 32); \
    WIRE_FIELD_AT(T, lists.PairPaths, (S) + 40);     \
    WIRE_FIELD_AT(T, lists.ShareCount, (S) + 48);    \
    WIRE_FIELD_AT(T, lists.Shares, (S) + 56);        \
    WIRE_FIELD_AT(T, lists.MountCount, (S) + 64);    \
    WIRE_FIELD_AT(T, lists.MountPoints, (S) + 72);   \
    WIRE_SIZE_IS(T, (S) + 80)

#define FLR_STATUS_FIRST_LAYOUT(T) \
    WIRE_FIELD_AT(T, errCode, 4);  \
    WIRE_FIELD_AT(T, errMsg, 8)

#define FLR_EXPANDED_CP_LAYOUT(T, S) \
    FLR_STATUS_FIRST_LAYOUT(T);      \
    WIRE_FIELD_AT(T, CP, 16);        \
    FLR_EXPANDED_LISTS_LAYOUT(T, S)

#define FLR_COUNT_FIRST_LAYOUT(T)  \
    WIRE_SIZE_IS(T, 32);           \
    WIRE_FIELD_AT(T, status, 16);  \
    WIRE_FIELD_AT(T, errCode, 20); \
    WIRE_FIELD_AT(T, errMsg, 24)

#define FLR_LOOKUP_LIST_LAYOUT(T) \
    WIRE_SIZE_IS(T, 32);          \
    FLR_STATUS_FIRST_LAYOUT(T);   \
    WIRE_FIELD_AT(T, count, 16);  \
    WIRE_FIELD_AT(T, list, 24)

#define FLR_CP_V1_LAYOUT(T)            \
    WIRE_FIELD_AT(T, id, 0);           \
    WIRE_FIELD_AT(T, CreationTime, 4); \
    WIRE_FIELD_AT(T, FLRSetId, 8);     \
    WIRE_FIELD_AT(T, JobId, 16);       \
    WIRE_FIELD_AT(T, Unstable, 24);    \
    WIRE_FIELD_AT(T, AutoMount, 28);   \
    WIRE_FIELD_AT(T, FlagBit4, 32);    \
    WIRE_FIELD_AT(T, SrcClientId, 36)

#define FLR_SNAP_V1_LAYOUT(T)                \
    WIRE_FIELD_AT(T, id, 0);                 \
    WIRE_FIELD_AT(T, ConsistencyPointId, 4); \
    WIRE_FIELD_AT(T, Name, 8);               \
    WIRE_FIELD_AT(T, SnapVolumeName, 16);    \
    WIRE_FIELD_AT(T, VolumeGUID, 24)

WIRE_SIZE_IS(repDelAllCPsByRepSetIdReq, 8);
WIRE_SIZE_IS(repDelCPReq, 4);
WIRE_SIZE_IS(repPruneRepSetReq, 4);
WIRE_SIZE_IS(repPruneFanInRPReq, 8);
WIRE_SIZE_IS(repFLRStatusResp, 16);
WIRE_FIELD_AT(repFLRStatusResp, errCode, 4);
WIRE_FIELD_AT(repFLRStatusResp, errMsg, 8);
WIRE_SIZE_IS(repDelAllCPsByRepSetIdResp, 16);
WIRE_SIZE_IS(repDelCPResp, 16);
WIRE_SIZE_IS(repPruneRepSetResp, 16);
WIRE_SIZE_IS(repPruneFanInRPResp, 16);
WIRE_SIZE_IS(repCreateCPEntry, 36);
WIRE_FIELD_AT(repCreateCPEntry, Unstable, 16);
WIRE_FIELD_AT(repCreateCPEntry, SrcClientId, 28);
WIRE_FIELD_AT(repCreateCPEntry, ClientId, 32);
FLR_CREATE_CP_REQ2_LAYOUT(repCreateCPReq2);
FLR_CREATE_CP_REQ2_LAYOUT(repCreateCPReq2V2);

WIRE_SIZE_IS(repAddFLRConsistencyPointResp, 24);
WIRE_FIELD_AT(repAddFLRConsistencyPointResp, status, 4);
WIRE_FIELD_AT(repAddFLRConsistencyPointResp, errCode, 8);
WIRE_FIELD_AT(repAddFLRConsistencyPointResp, errMsg, 16);
FLR_CREATE_CP_REQ_LAYOUT(repCreateCPReq, 40);
FLR_CREATE_CP_REQ_LAYOUT(repCreateCPReqV2, 48);
FLR_CREATE_CP_REQ_LAYOUT(repCreateCPReqV3, 56);
FLR_CREATE_CP_RESP_LAYOUT(repCreateCPResp);
FLR_CREATE_CP_RESP_LAYOUT(repCreateCPRespV2);
WIRE_SIZE_IS(repAddFLRSnapMountPointReq, 16);
WIRE_FIELD_AT(repAddFLRSnapMountPointReq, SnapshotId, 4);
WIRE_FIELD_AT(repAddFLRSnapMountPointReq, MountPath, 8);
WIRE_SIZE_IS(repAddFLRSnaphsotMountPointResp, 24);
WIRE_FIELD_AT(repAddFLRSnaphsotMountPointResp, MountPointId, 4);
WIRE_FIELD_AT(repAddFLRSnaphsotMountPointResp, errCode, 8);
WIRE_FIELD_AT(repAddFLRSnaphsotMountPointResp, errMsg, 16);
WIRE_SIZE_IS(repAddFLRSnapNetworkShareReq, 16);
WIRE_FIELD_AT(repAddFLRSnapNetworkShareReq, MountPointId, 4);
WIRE_FIELD_AT(repAddFLRSnapNetworkShareReq, NetShareName, 8);
WIRE_SIZE_IS(repAddFLRSnapNetworkShareResp, 24);
WIRE_FIELD_AT(repAddFLRSnapNetworkShareResp, errCode, 4);
WIRE_FIELD_AT(repAddFLRSnapNetworkShareResp, errMsg, 8);
WIRE_FIELD_AT(repAddFLRSnapNetworkShareResp, ShareId, 16);
WIRE_SIZE_IS(repDeleteFLRSnapMountPointReq, 4);
WIRE_SIZE_IS(repDeleteFLRSnapNetworkShareReq, 4);
FLR_STATUS_REPLY_LAYOUT(repDeleteFLRSnapshotMountPointResp);
FLR_STATUS_REPLY_LAYOUT(repDelFLRSnapNetworkShareResp);
FLR_STATUS_REPLY_LAYOUT(repUpdateFLRSnapshotResp);
WIRE_SIZE_IS(repUpdateFLRSnapshotReq, 32);
WIRE_FIELD_AT(repUpdateFLRSnapshotReq, count, 16);
WIRE_FIELD_AT(repUpdateFLRSnapshotReq, Snaps, 24);

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
WIRE_FIELD_AT(repQueryFLRCPointsByFLRSetIdResp, CPs, 8);
FLR_COUNT_FIRST_LAYOUT(repFindRepSetByVolumeResp);
WIRE_FIELD_AT(repFindRepSetByVolumeResp, Volumes, 8);
FLR_COUNT_FIRST_LAYOUT(repQueryFLRCPsByClientIdAndAppTypeResp);
WIRE_FIELD_AT(repQueryFLRCPsByClientIdAndAppTypeResp, CPs, 8);
FLR_LOOKUP_LIST_LAYOUT(repGetRPsByClientIdAndVolNameResp);
FLR_LOOKUP_LIST_LAYOUT(repGetRPsByClientIdAndVolNameV2Resp);
FLR_LOOKUP_LIST_LAYOUT(repGetRPsByDstClientIdResp);
FLR_LOOKUP_LIST_LAYOUT(repGetFanInDetailInfoByRPIdResp);
WIRE_SIZE_IS(repQueryRepSetLastCPReqV2, 16);
WIRE_FIELD_AT(repQueryRepSetLastCPReqV2, VolumeGUID, 8);
WIRE_SIZE_IS(repFindRepSetByVolumeReq, 24);
WIRE_FIELD_AT(repFindRepSetByVolumeReq, VolumePaths, 8);
WIRE_FIELD_AT(repFindRepSetByVolumeReq, ExcludedRepSetId, 16);
WIRE_SIZE_IS(repRepSetVolumeRec, 32);
WIRE_FIELD_AT(repRepSetVolumeRec, RepSetName, 8);
WIRE_FIELD_AT(repRepSetVolumeRec, DstHostName, 16);
WIRE_FIELD_AT(repRepSetVolumeRec, DstClientId, 24);
WIRE_FIELD_AT(repRepSetVolumeRec, RepSetId, 28);
WIRE_FIELD_AT(repGetRPsByClientIdAndVolNameReq, VolName, 8);
WIRE_SIZE_IS(repGetRPsByClientIdAndVolNameV2Req, 24);
WIRE_FIELD_AT(repGetRPsByClientIdAndVolNameV2Req, IsGUID, 16);
WIRE_SIZE_IS(repQueryFLRSnapBySnapIdResp, 112);
WIRE_FIELD_AT(repQueryFLRSnapBySnapIdResp, Snapshot, 8);
WIRE_FIELD_AT(repQueryFLRSnapBySnapIdResp, errMsg, 96);
WIRE_FIELD_AT(repQueryFLRSnapBySnapIdResp, errCode, 104);
WIRE_SIZE_IS(repQueryCPByIdResp, 80);
WIRE_FIELD_AT(repQueryCPByIdResp, CP, 8);
WIRE_FIELD_AT(repQueryCPByIdResp, errMsg, 64);
WIRE_FIELD_AT(repQueryCPByIdResp, errCode, 72);
WIRE_FIELD_AT(repQueryFLRCPsByClientIdAndAppTypeReq, AppType, 4);

WIRE_SIZE_IS(repFLRConsistencyPointRec, 40);
FLR_CP_V1_LAYOUT(repFLRConsistencyPointRec);
WIRE_SIZE_IS(repWinFLRConsistencyPointRecV2, 48);
FLR_CP_V1_LAYOUT(repWinFLRConsistencyPointRecV2);
WIRE_FIELD_AT(repWinFLRConsistencyPointRecV2, AuxValue, 40);
WIRE_FIELD_AT(repWinFLRConsistencyPointRecV2, Type, 44);
WIRE_SIZE_IS(repWinFLRConsistencyPointRecV3, 56);
FLR_CP_V1_LAYOUT(repWinFLRConsistencyPointRecV3);
WIRE_FIELD_AT(repWinFLRConsistencyPointRecV3, AuxValue, 40);
WIRE_FIELD_AT(repWinFLRConsistencyPointRecV3, Type, 44);
WIRE_FIELD_AT(repWinFLRConsistencyPointRecV3, Flags, 48);
WIRE_SIZE_IS(repFLRSnapRec, 32);
FLR_SNAP_V1_LAYOUT(repFLRSnapRec);
WIRE_SIZE_IS(repFLRSnapRecV2, 88);
FLR_SNAP_V1_LAYOUT(repFLRSnapRecV2);
WIRE_FIELD_AT(repFLRSnapRecV2, Type, 32);
WIRE_FIELD_AT(repFLRSnapRecV2, SnapshotPath, 40);
WIRE_FIELD_AT(repFLRSnapRecV2, AuxValue, 48);
WIRE_FIELD_AT(repFLRSnapRecV2, Reserved1, 56);
WIRE_FIELD_AT(repFLRSnapRecV2, Reserved2, 64);
WIRE_FIELD_AT(repFLRSnapRecV2, Reserved3, 72);
WIRE_FIELD_AT(repFLRSnapRecV2, Reserved4, 80);
WIRE_SIZE_IS(repRPInfo1, 32);
WIRE_FIELD_AT(repRPInfo1, CreationTime, 4);
WIRE_FIELD_AT(repRPInfo1, Name, 8);
WIRE_FIELD_AT(repRPInfo1, MountPoint, 16);
WIRE_FIELD_AT(repRPInfo1, JobId, 24);
WIRE_SIZE_IS(repFLRFanInDetailRec, 48);
WIRE_FIELD_AT(repFLRFanInDetailRec, DstPath, 8);
WIRE_FIELD_AT(repFLRFanInDetailRec, SrcClientId, 16);
WIRE_FIELD_AT(repFLRFanInDetailRec, RepSetId, 20);
WIRE_FIELD_AT(repFLRFanInDetailRec, SrcClientNetName, 24);
WIRE_FIELD_AT(repFLRFanInDetailRec, RepSetName, 32);
WIRE_FIELD_AT(repFLRFanInDetailRec, DstClientId, 40);
WIRE_SIZE_IS(repFLRSnapPairElem, 12);
WIRE_FIELD_AT(repFLRSnapPairElem, SnapshotId, 4);
WIRE_FIELD_AT(repFLRSnapPairElem, PairId, 8);
WIRE_SIZE_IS(repFLRPairPathElem, 24);
WIRE_FIELD_AT(repFLRPairPathElem, SrcPath, 8);
WIRE_FIELD_AT(repFLRPairPathElem, DstPath, 16);
WIRE_SIZE_IS(repFLRSnapMountPointElem, 16);
WIRE_FIELD_AT(repFLRSnapMountPointElem, SnapshotId, 4);
WIRE_FIELD_AT(repFLRSnapMountPointElem, MountPath, 8);
WIRE_SIZE_IS(repFLRSnapNetworkShareElem, 16);
WIRE_FIELD_AT(repFLRSnapNetworkShareElem, MountPointId, 4);
WIRE_FIELD_AT(repFLRSnapNetworkShareElem, NetShareName, 8);
