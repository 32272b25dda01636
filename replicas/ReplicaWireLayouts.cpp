// The wire layouts of the requests, replies and records of replication
// volumes, their reservations, pruning and application directories: sizes and
// field offsets, as the host reads and writes them by position; checked when
// this file compiles, so a structure that moves a field stops the build.
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

#include "service/WireLayout.h"

#define YB_CHECK_REPVOL_V1(Type)                  \
    WIRE_FIELD_AT(Type, id, 0);                   \
    WIRE_FIELD_AT(Type, PointInTime, 4);          \
    WIRE_FIELD_AT(Type, CreationTime, 8);         \
    WIRE_FIELD_AT(Type, ModifyTime, 12);          \
    WIRE_FIELD_AT(Type, CurrentState, 16);        \
    WIRE_FIELD_AT(Type, CurrentRole, 20);         \
    WIRE_FIELD_AT(Type, PrimaryVolumeId, 24);     \
    WIRE_FIELD_AT(Type, PhysicalVolumeId, 28);    \
    WIRE_FIELD_AT(Type, ReplicationPolicyId, 32); \
    WIRE_FIELD_AT(Type, RVScratchVolumeId, 36);   \
    WIRE_FIELD_AT(Type, DoNotPrune, 40)

#define YB_CHECK_REPVOL_42(Type)           \
    YB_CHECK_REPVOL_V1(Type);              \
    WIRE_FIELD_AT(Type, JobId, 48);        \
    WIRE_FIELD_AT(Type, IsSnapActive, 56); \
    WIRE_FIELD_AT(Type, ActivateSnap, 60)

#define YB_CHECK_REPVOL_V3(Type)            \
    YB_CHECK_REPVOL_42(Type);               \
    WIRE_FIELD_AT(Type, SnapVolumeId, 64);  \
    WIRE_FIELD_AT(Type, MorvaneVolume, 68); \
    WIRE_FIELD_AT(Type, ShadowSnap, 72);    \
    WIRE_FIELD_AT(Type, TransportableSnap, 76)

#define YB_CHECK_REPVOL_V4(Type)             \
    YB_CHECK_REPVOL_V3(Type);                \
    WIRE_FIELD_AT(Type, SnapEngineType, 80); \
    WIRE_FIELD_AT(Type, UpdateMap, 84)

#define YB_REPLICA_BYID_LAYOUT(T, size, recordAt) \
    WIRE_SIZE_IS(T, (size));                      \
    WIRE_FIELD_AT(T, errMsg, 8);                  \
    WIRE_FIELD_AT(T, ReplicationVolume, (recordAt))

#define YB_REPLICA_LIST_LAYOUT(T, size, countAt, arrayAt) \
    WIRE_SIZE_IS(T, (size));                              \
    WIRE_FIELD_AT(T, errMsg, 8);                          \
    WIRE_FIELD_AT(T, count, (countAt));                   \
    WIRE_FIELD_AT(T, volumes, (arrayAt))

#define YB_REPLICA_ARRAY_FIRST_LAYOUT(T) \
    WIRE_SIZE_IS(T, 32);                 \
    WIRE_FIELD_AT(T, volumes, 8);        \
    WIRE_FIELD_AT(T, status, 16);        \
    WIRE_FIELD_AT(T, errCode, 20);       \
    WIRE_FIELD_AT(T, errMsg, 24)

WIRE_SIZE_IS(repApplicationDirs, 48);
WIRE_FIELD_AT(repApplicationDirs, objName, 16);
WIRE_FIELD_AT(repApplicationDirs, ReplicationVolumeId, 32);
WIRE_FIELD_AT(repApplicationDirs, modifyTime, 40);
WIRE_SIZE_IS(repCreateAppDirsRecordsReq, 16);
WIRE_FIELD_AT(repCreateAppDirsRecordsReq, AppDirs, 8);
WIRE_SIZE_IS(repCreateAppDirsRecordsResp, 8);
WIRE_SIZE_IS(repCopyAppDirReq, 8);
WIRE_SIZE_IS(repCopyAppDirResp, 16);
WIRE_FIELD_AT(repCopyAppDirResp, errMsg, 8);
WIRE_SIZE_IS(repQueryAppDirsByReplicaVolResp, 32);
WIRE_FIELD_AT(repQueryAppDirsByReplicaVolResp, count, 16);
WIRE_FIELD_AT(repQueryAppDirsByReplicaVolResp, AppDirs, 24);
WIRE_SIZE_IS(repUpdateAppDirModifyTimeByRepVolReq, 24);
WIRE_FIELD_AT(repUpdateAppDirModifyTimeByRepVolReq, count, 8);
WIRE_FIELD_AT(repUpdateAppDirModifyTimeByRepVolReq, ReplicationVolumeIds, 16);
WIRE_SIZE_IS(repUpdateAppDirModifyTimeByRepVolResp, 16);
WIRE_SIZE_IS(repGetAppDirsBySubclientAndTime, 48);
WIRE_FIELD_AT(repGetAppDirsBySubclientAndTime, objName, 16);
WIRE_FIELD_AT(repGetAppDirsBySubclientAndTime, creationTime, 32);
WIRE_FIELD_AT(repGetAppDirsBySubclientAndTime, ReplicationVolumeId, 40);
WIRE_SIZE_IS(repGetAppDirsByClientAndTime, 48);
WIRE_SIZE_IS(repGetAppDirsBySubclientAndTimeResp, 24);
WIRE_FIELD_AT(repGetAppDirsBySubclientAndTimeResp, count, 8);
WIRE_FIELD_AT(repGetAppDirsBySubclientAndTimeResp, AppDirs, 16);
WIRE_SIZE_IS(repGetAppDirsByClientAndTimeResp, 24);

WIRE_SIZE_IS(repGetLatestSnapForSNRVolV4Req, 16);
WIRE_FIELD_AT(repGetLatestSnapForSNRVolV4Req, JobId, 8);
WIRE_SIZE_IS(repGetLatestSnapForSNRVolResp, 80);
WIRE_SIZE_IS(repGetLatestSnapForSNRVol42Resp, 96);
WIRE_SIZE_IS(repGetLatestSnapForSNRVolV3Resp, 144);
WIRE_FIELD_AT(repGetLatestSnapForSNRVolV3Resp, SNRVolume, 16);
WIRE_FIELD_AT(repGetLatestSnapForSNRVolV3Resp, errCode, 136);
WIRE_SIZE_IS(repGetLatestSnapForSNRVolV4Resp, 144);
WIRE_FIELD_AT(repGetLatestSnapForSNRVolV4Resp, errCode, 136);

WIRE_FIELD_AT(repCreatePermanentReplicaReq, PrimaryVolumeId, 64);
WIRE_FIELD_AT(repCreatePermanentReplica42Req, PrimaryVolumeId, 80);
WIRE_FIELD_AT(repCreatePermanentReplica42Req, JobId, 88);
WIRE_FIELD_AT(repCreatePermanentReplica42Req, IsSnapActive, 96);
WIRE_FIELD_AT(repCreatePermanentReplica42Req, ActivateSnap, 100);
WIRE_FIELD_AT(repCreatePermanentReplicaV3Req, PrimaryVolumeId, 120);
WIRE_FIELD_AT(repCreatePermanentReplicaV3Req, JobId, 128);
WIRE_FIELD_AT(repCreatePermanentReplicaV3Req, ActivateSnap, 140);
WIRE_FIELD_AT(repCreatePermanentReplicaV4Req, ActivateSnap, 140);
WIRE_SIZE_IS(repCreatePermanentReplicaResp, 24);
WIRE_FIELD_AT(repCreatePermanentReplicaResp, ReplicationVolumeId, 20);
WIRE_SIZE_IS(repCreatePermanentReplica42Resp, 24);
WIRE_SIZE_IS(repCreatePermanentReplicaV3Resp, 32);
WIRE_FIELD_AT(repCreatePermanentReplicaV3Resp, errCode, 24);
WIRE_SIZE_IS(repCreatePermanentReplicaV4Resp, 32);
WIRE_SIZE_IS(repQueryPermanentReplicaResp, 64);
WIRE_FIELD_AT(repQueryPermanentReplicaResp, ReplicationVolume, 16);
WIRE_SIZE_IS(repQueryPermanentReplica42Resp, 80);
WIRE_SIZE_IS(repQueryPermanentReplicaV3Resp, 104);
WIRE_FIELD_AT(repQueryPermanentReplicaV3Resp, ReplicationVolume, 24);
WIRE_SIZE_IS(repDeletePermanentReplicaReq, 4);
WIRE_SIZE_IS(repDeletePermanentReplicaResp, 16);
WIRE_FIELD_AT(repDeletePermanentReplicaResp, errMsg, 8);

WIRE_SIZE_IS(repReplicationVolume, 44);
YB_CHECK_REPVOL_V1(repReplicationVolume);
WIRE_SIZE_IS(repReplicationVolume42, 64);
YB_CHECK_REPVOL_42(repReplicationVolume42);
WIRE_SIZE_IS(repReplicationVolumeV3, 80);
YB_CHECK_REPVOL_V3(repReplicationVolumeV3);
WIRE_SIZE_IS(repReplicationVolumeV4, 88);
YB_CHECK_REPVOL_V4(repReplicationVolumeV4);
WIRE_SIZE_IS(repReplicationVolumeV5, 104);
YB_CHECK_REPVOL_V4(repReplicationVolumeV5);
WIRE_FIELD_AT(repReplicationVolumeV5, SnapvaultReplicaDir, 88);
WIRE_FIELD_AT(repReplicationVolumeV5, SourceGUID, 96);
WIRE_SIZE_IS(repYBVolumeApp, 16);
WIRE_FIELD_AT(repYBVolumeApp, id, 0);
WIRE_FIELD_AT(repYBVolumeApp, AppName, 8);

WIRE_SIZE_IS(repReserveReplicaVolReq, 16);
WIRE_FIELD_AT(repReserveReplicaVolReq, ids, 8);
WIRE_SIZE_IS(repReserveReplicaVolResp, 16);
WIRE_FIELD_AT(repReserveReplicaVolResp, errMsg, 8);
WIRE_SIZE_IS(repUnreserveReplicaVolResp, 16);

WIRE_SIZE_IS(repAddReplicationVolumeReq, 44);
WIRE_SIZE_IS(repAddReplicationVolume42Req, 64);
WIRE_SIZE_IS(repAddReplicationVolumeV3Req, 80);
WIRE_SIZE_IS(repAddReplicationVolumeV4Req, 88);
WIRE_FIELD_AT(repAddReplicationVolumeV5Req, subclientId, 104);
WIRE_SIZE_IS(repAddReplicationVolumeResp, 16);
WIRE_FIELD_AT(repAddReplicationVolumeResp, status, 4);
WIRE_FIELD_AT(repAddReplicationVolumeResp, errMsg, 8);
WIRE_SIZE_IS(repAddReplicationVolume42Resp, 16);
WIRE_SIZE_IS(repAddReplicationVolumeV3Resp, 24);
WIRE_FIELD_AT(repAddReplicationVolumeV3Resp, errCode, 16);
WIRE_SIZE_IS(repAddReplicationVolumeV5Resp, 24);

WIRE_SIZE_IS(repQueryReplicationVolumeByIdReq, 4);
WIRE_SIZE_IS(repQueryReplicaVolumeByJobIdReq, 8);
WIRE_SIZE_IS(repQueryYBVolByUniqueSnapshotIdReq, 8);
WIRE_SIZE_IS(repGetYBVolumesBySubclientIdReq, 4);
YB_REPLICA_BYID_LAYOUT(repQueryReplicationVolumeByIdResp, 64, 16);
YB_REPLICA_BYID_LAYOUT(repQueryReplicationVol42ByIdResp, 80, 16);
YB_REPLICA_BYID_LAYOUT(repQueryReplicationVolV3ByIdResp, 104, 24);
YB_REPLICA_BYID_LAYOUT(repQueryReplicationVolV4ByIdResp, 112, 24);
YB_REPLICA_BYID_LAYOUT(repQueryReplicationVolV5ByIdResp, 128, 24);
WIRE_FIELD_AT(repQueryReplicationVolV3ByIdResp, errCode, 16);
YB_REPLICA_LIST_LAYOUT(repGetReplicationVolumeListResp, 32, 16, 24);
YB_REPLICA_LIST_LAYOUT(repGetReplicationVolumeList42Resp, 32, 16, 24);
YB_REPLICA_LIST_LAYOUT(repGetReplicationVolumeListV3Resp, 40, 24, 32);
YB_REPLICA_LIST_LAYOUT(repGetReplicationVolumeListV5Resp, 40, 24, 32);
YB_REPLICA_LIST_LAYOUT(repQueryReplicaVolumeByJobIdResp, 32, 16, 24);
YB_REPLICA_LIST_LAYOUT(repQueryReplicaVolumeV4ByJobIdResp, 40, 24, 32);
WIRE_FIELD_AT(repGetReplicationVolumeListV3Resp, errCode, 16);
YB_REPLICA_ARRAY_FIRST_LAYOUT(repQueryYBVolByUniqueSnapshotIdResp);
YB_REPLICA_ARRAY_FIRST_LAYOUT(repQueryYBVolByUniqueSnapshotIdV3Resp);
YB_REPLICA_ARRAY_FIRST_LAYOUT(repGetYBVolumesBySubclientIdResp);

WIRE_SIZE_IS(repRemoveReplicationVolumeReq, 4);
WIRE_SIZE_IS(repRemoveReplicationVolumeResp, 16);
WIRE_FIELD_AT(repRemoveReplicationVolumeResp, errMsg, 8);

WIRE_SIZE_IS(repUpdateReplicationVolumeReq, 44);
WIRE_SIZE_IS(repUpdateReplicationVolumeV5Req, 104);
WIRE_SIZE_IS(repUpdateReplicationVolumeResp, 16);
WIRE_FIELD_AT(repUpdateReplicationVolumeResp, errMsg, 8);
WIRE_SIZE_IS(repUpdateReplicationVolume42Resp, 16);
WIRE_SIZE_IS(repUpdateReplicationVolumeV3Resp, 24);
WIRE_FIELD_AT(repUpdateReplicationVolumeV3Resp, errCode, 16);
WIRE_SIZE_IS(repUpdateReplicationVolumeV5Resp, 24);

WIRE_SIZE_IS(repPruneReplicaVolumeReq, 4);
WIRE_SIZE_IS(repPruneReplicaVolumeResp, 24);
WIRE_FIELD_AT(repPruneReplicaVolumeResp, count, 8);
WIRE_FIELD_AT(repPruneReplicaVolumeResp, ids, 16);
