// The wire layouts of the requests, replies and records of replication
// policies, snap engines and volume snap parameters: sizes and field offsets,
// as the host reads and writes them by position; checked when this file
// compiles, so a structure that moves a field stops the build.
#include "policies/PolicyRecords.h"
#include "policies/ReplicationPolicyMessages.h"
#include "policies/SnapEngineRecords.h"
#include "policies/SnapEngines.h"
#include "policies/VolSnapParamRecords.h"
#include "policies/VolSnapParams.h"

#include "service/WireLayout.h"

#define YB_CHECK_POLICY_V1(T)               \
    WIRE_FIELD_AT(T, id, 0);                \
    WIRE_FIELD_AT(T, name, 8);              \
    WIRE_FIELD_AT(T, RetentionSeconds, 16); \
    WIRE_FIELD_AT(T, FlagBit1, 20);         \
    WIRE_FIELD_AT(T, CopyMgrCtrlId, 24);    \
    WIRE_FIELD_AT(T, SnapEngineInfoId, 28); \
    WIRE_FIELD_AT(T, VolumeScratchPoolId, 32)

#define YB_CHECK_POLICY_V2(T)       \
    YB_CHECK_POLICY_V1(T);          \
    WIRE_FIELD_AT(T, FlagBit2, 36); \
    WIRE_FIELD_AT(T, NSnapshot, 40)

#define YB_CHECK_SNAPENGINE_V1(T)         \
    WIRE_FIELD_AT(T, id, 0);              \
    WIRE_FIELD_AT(T, name, 8);            \
    WIRE_FIELD_AT(T, MultipleSnaps, 16);  \
    WIRE_FIELD_AT(T, CrossHostMount, 20); \
    WIRE_FIELD_AT(T, SameHostMount, 24);  \
    WIRE_FIELD_AT(T, SyncFunction, 28);   \
    WIRE_FIELD_AT(T, MountCmdHint, 32);   \
    WIRE_FIELD_AT(T, UnmountCmdHint, 40); \
    WIRE_FIELD_AT(T, SyncCmdHint, 48);    \
    WIRE_FIELD_AT(T, UnsyncCmdHint, 56);  \
    WIRE_FIELD_AT(T, SnapCmdHint, 64);    \
    WIRE_FIELD_AT(T, UnsnapCmdHint, 72)

#define YB_CHECK_SNAPENGINE_42(T) \
    YB_CHECK_SNAPENGINE_V1(T);    \
    WIRE_FIELD_AT(T, OsType, 80); \
    WIRE_FIELD_AT(T, Type, 84)

#define YB_CHECK_VOLSNAP_V1(T)          \
    WIRE_FIELD_AT(T, SNRVolumeId, 0);   \
    WIRE_FIELD_AT(T, SnapEngineId, 4);  \
    WIRE_FIELD_AT(T, MountClientId, 8); \
    WIRE_FIELD_AT(T, MountCmd, 16);     \
    WIRE_FIELD_AT(T, UnmountCmd, 24);   \
    WIRE_FIELD_AT(T, SyncClientId, 32); \
    WIRE_FIELD_AT(T, SyncCmd, 40);      \
    WIRE_FIELD_AT(T, UnsyncCmd, 48);    \
    WIRE_FIELD_AT(T, SnapClientId, 56); \
    WIRE_FIELD_AT(T, SnapCmd, 64);      \
    WIRE_FIELD_AT(T, UnsnapCmd, 72)

WIRE_SIZE_IS(repReplicationPolicy, 40);
YB_CHECK_POLICY_V1(repReplicationPolicy);
WIRE_SIZE_IS(repReplicationPolicyV2, 48);
YB_CHECK_POLICY_V2(repReplicationPolicyV2);
WIRE_SIZE_IS(repReplicationPolicyV3, 56);
YB_CHECK_POLICY_V2(repReplicationPolicyV3);
WIRE_FIELD_AT(repReplicationPolicyV3, CopyManagerType, 44);
WIRE_FIELD_AT(repReplicationPolicyV3, Unused, 48);
static_assert(sizeof(YBGetYBPolicyList_t) == sizeof(YBPolicy_t), "the list cursor's row is the table row");

WIRE_SIZE_IS(repAddReplicationPolicyReq, 40);
WIRE_SIZE_IS(repAddReplicationPolicyV2Req, 48);
WIRE_SIZE_IS(repAddReplicationPolicyV3Req, 56);
WIRE_SIZE_IS(repQueryReplicationPolicyV3ByIdReq, 4);
WIRE_SIZE_IS(repUpdateReplicationPolicyV3Req, 56);
WIRE_SIZE_IS(repQueryReplicaPolicyV3ByPoolIdReq, 4);
WIRE_SIZE_IS(repRemoveReplicationPolicyReq, 4);
WIRE_SIZE_IS(repGetSCListByPolicyReq, 24);
WIRE_FIELD_AT(repGetSCListByPolicyReq, count, 8);
WIRE_FIELD_AT(repGetSCListByPolicyReq, appTypes, 16);
WIRE_SIZE_IS(repAddReplicationPolicyResp, 24);
WIRE_FIELD_AT(repAddReplicationPolicyResp, status, 4);
WIRE_FIELD_AT(repAddReplicationPolicyResp, errMsg, 8);
WIRE_FIELD_AT(repAddReplicationPolicyResp, reserved, 16);
WIRE_SIZE_IS(repAddReplicationPolicyV3Resp, 24);
WIRE_FIELD_AT(repAddReplicationPolicyV2Resp, errCode, 16);
WIRE_SIZE_IS(repQueryReplicationPolicyByIdResp, 56);
WIRE_FIELD_AT(repQueryReplicationPolicyByIdResp, policy, 16);
WIRE_SIZE_IS(repQueryReplicationPolicyV2ByIdResp, 72);
WIRE_FIELD_AT(repQueryReplicationPolicyV2ByIdResp, errCode, 64);
WIRE_SIZE_IS(repQueryReplicationPolicyV3ByIdResp, 80);
WIRE_FIELD_AT(repQueryReplicationPolicyV3ByIdResp, errCode, 72);
WIRE_SIZE_IS(repUpdateReplicationPolicyResp, 16);
WIRE_SIZE_IS(repUpdateReplicationPolicyV2Resp, 24);
WIRE_FIELD_AT(repUpdateReplicationPolicyV2Resp, errCode, 16);
WIRE_SIZE_IS(repGetReplicationPolicyListResp, 32);
WIRE_FIELD_AT(repGetReplicationPolicyListResp, count, 16);
WIRE_FIELD_AT(repGetReplicationPolicyListResp, policies, 24);
WIRE_SIZE_IS(repGetReplicationPolicyV3ListResp, 40);
WIRE_FIELD_AT(repGetReplicationPolicyV3ListResp, errCode, 32);
WIRE_SIZE_IS(repRemoveReplicationPolicyResp, 16);
WIRE_SIZE_IS(repGetSCListByPolicyResp, 32);
WIRE_FIELD_AT(repGetSCListByPolicyResp, errCode, 4);
WIRE_FIELD_AT(repGetSCListByPolicyResp, errMsg, 8);
WIRE_FIELD_AT(repGetSCListByPolicyResp, count, 16);
WIRE_FIELD_AT(repGetSCListByPolicyResp, subclients, 24);

WIRE_SIZE_IS(repSnapEngineInfo, 80);
YB_CHECK_SNAPENGINE_V1(repSnapEngineInfo);
WIRE_SIZE_IS(repSnapEngineInfo42, 88);
YB_CHECK_SNAPENGINE_42(repSnapEngineInfo42);
WIRE_SIZE_IS(repSnapEngineInfoV3, 96);
YB_CHECK_SNAPENGINE_42(repSnapEngineInfoV3);
WIRE_FIELD_AT(repSnapEngineInfoV3, RollbackCmdHint, 88);

WIRE_SIZE_IS(repAddSnapEngineInfoReq, 80);
WIRE_SIZE_IS(repAddSnapEngineInfo42Req, 88);
WIRE_SIZE_IS(repAddSnapEngineInfoV3Req, 96);
WIRE_SIZE_IS(repQuerySnapEngineInfoV3ByIdReq, 4);
WIRE_SIZE_IS(repUpdateSnapEngineInfoV3Req, 96);
WIRE_SIZE_IS(repRemoveSnapEngineInfoReq, 4);
WIRE_SIZE_IS(repRemoveSnapEngineInfoByNameReq, 8);
WIRE_SIZE_IS(repAddSnapEngineInfoResp, 16);
WIRE_FIELD_AT(repAddSnapEngineInfoResp, id, 4);
WIRE_FIELD_AT(repAddSnapEngineInfoResp, errMsg, 8);
WIRE_SIZE_IS(repAddSnapEngineInfo42Resp, 16);
WIRE_SIZE_IS(repAddSnapEngineInfoV3Resp, 24);
WIRE_FIELD_AT(repAddSnapEngineInfoV3Resp, errCode, 16);
WIRE_SIZE_IS(repQuerySnapEngineInfoByIdResp, 96);
WIRE_FIELD_AT(repQuerySnapEngineInfoByIdResp, SnapEngineInfo, 16);
WIRE_SIZE_IS(repQuerySnapEngineInfo42ByIdResp, 104);
WIRE_SIZE_IS(repQuerySnapEngineInfoV3ByIdResp, 120);
WIRE_FIELD_AT(repQuerySnapEngineInfoV3ByIdResp, errCode, 112);
WIRE_SIZE_IS(repUpdateSnapEngineInfoResp, 16);
WIRE_SIZE_IS(repUpdateSnapEngineInfo42Resp, 16);
WIRE_SIZE_IS(repUpdateSnapEngineInfoV3Resp, 24);
WIRE_FIELD_AT(repUpdateSnapEngineInfoV3Resp, errCode, 16);
WIRE_SIZE_IS(repGetSnapEngineInfoListResp, 32);
WIRE_FIELD_AT(repGetSnapEngineInfoListResp, count, 16);
WIRE_FIELD_AT(repGetSnapEngineInfoListResp, engines, 24);
WIRE_SIZE_IS(repGetSnapEngineInfo42ListResp, 32);
WIRE_SIZE_IS(repGetSnapEngineInfoV3ListResp, 40);
WIRE_FIELD_AT(repGetSnapEngineInfoV3ListResp, errCode, 32);
WIRE_SIZE_IS(repRemoveSnapEngineInfoResp, 16);
WIRE_SIZE_IS(repRemoveSnapEngineInfoByNameResp, 16);

WIRE_SIZE_IS(repVolumeSnapParams, 80);
YB_CHECK_VOLSNAP_V1(repVolumeSnapParams);
WIRE_SIZE_IS(repVolumeSnapParamsV2, 96);
YB_CHECK_VOLSNAP_V1(repVolumeSnapParamsV2);
WIRE_FIELD_AT(repVolumeSnapParamsV2, FlagBit1, 80);
WIRE_FIELD_AT(repVolumeSnapParamsV2, RollbackCmd, 88);

WIRE_SIZE_IS(repAddVolSnapParamsReq, 80);
WIRE_SIZE_IS(repAddVolSnapParamsV2Req, 96);
WIRE_SIZE_IS(repQueryVolSnapParamsV2BySNRVolReq, 4);
WIRE_SIZE_IS(repRemoveVolSnapParamsReq, 4);
WIRE_SIZE_IS(repAddVolSnapParamsResp, 16);
WIRE_FIELD_AT(repAddVolSnapParamsResp, errMsg, 8);
WIRE_SIZE_IS(repAddVolSnapParamsV2Resp, 24);
WIRE_FIELD_AT(repAddVolSnapParamsV2Resp, errCode, 16);
WIRE_SIZE_IS(repUpdateVolSnapParamsResp, 16);
WIRE_SIZE_IS(repUpdateVolSnapParamsV2Resp, 24);
WIRE_SIZE_IS(repQueryVolSnapParamsBySNRVolResp, 96);
WIRE_FIELD_AT(repQueryVolSnapParamsBySNRVolResp, status, 80);
WIRE_FIELD_AT(repQueryVolSnapParamsBySNRVolResp, errMsg, 88);
WIRE_SIZE_IS(repQueryVolSnapParamsV2BySNRVolResp, 120);
WIRE_FIELD_AT(repQueryVolSnapParamsV2BySNRVolResp, status, 96);
WIRE_FIELD_AT(repQueryVolSnapParamsV2BySNRVolResp, errMsg, 104);
WIRE_FIELD_AT(repQueryVolSnapParamsV2BySNRVolResp, errCode, 112);
WIRE_SIZE_IS(repRemoveVolSnapParamsResp, 16);
WIRE_SIZE_IS(repGetVolSnapParamsListResp, 32);
WIRE_FIELD_AT(repGetVolSnapParamsListResp, count, 16);
WIRE_FIELD_AT(repGetVolSnapParamsListResp, params, 24);
WIRE_SIZE_IS(repGetVolSnapParamsV2ListResp, 40);
WIRE_FIELD_AT(repGetVolSnapParamsV2ListResp, errCode, 32);
