// The wire layouts of the requests, replies and records of scratch pools and
// their volumes: sizes and field offsets, as the host reads and writes them by
// position; checked when this file compiles, so a structure that moves a field
// stops the build.
#include "scratch/PoolContents.h"
#include "scratch/ScratchLookups.h"
#include "scratch/ScratchMembership.h"
#include "scratch/ScratchPoolMessages.h"
#include "scratch/ScratchRecords.h"
#include "scratch/ScratchRelease.h"

#include "service/WireLayout.h"

// The lists of version 1 under one name, as the checks take it.
using PoolContentsListsV1 =
    PoolContentsLists<repSNRVolume, repSNRVolumeDeviceName, repRVScratchVolume, repReplicationVolume>;

WIRE_SIZE_IS(repQueryRVScratchVolumeByScratchPoolIdV6Req, 4);
WIRE_SIZE_IS(repQueryRVScratchVolumeByScratchPoolIdResponse, 96);
WIRE_SIZE_IS(repQueryRVScratchVolumeByScratchPoolId42Response, 96);
WIRE_SIZE_IS(repQueryRVScratchVolumeByScratchPoolIdV3Response, 104);
WIRE_SIZE_IS(repQueryRVScratchVolumeByScratchPoolIdV6Response, 104);
WIRE_FIELD_AT(repQueryRVScratchVolumeByScratchPoolIdResponse, errMsg, 8);
WIRE_FIELD_AT(repQueryRVScratchVolumeByScratchPoolIdResponse, lists, 16);
WIRE_FIELD_AT(repQueryRVScratchVolumeByScratchPoolIdV3Response, errCode, 16);
WIRE_FIELD_AT(repQueryRVScratchVolumeByScratchPoolIdV3Response, lists, 24);
WIRE_FIELD_AT(PoolContentsListsV1, volumes, 8);
WIRE_FIELD_AT(PoolContentsListsV1, nDevices, 16);
WIRE_FIELD_AT(PoolContentsListsV1, nMountPoints, 32);
WIRE_FIELD_AT(PoolContentsListsV1, nScratchVolumes, 48);
WIRE_FIELD_AT(PoolContentsListsV1, nReplicas, 64);
WIRE_FIELD_AT(PoolContentsListsV1, replicas, 72);

WIRE_SIZE_IS(repQueryRVScratchVolBySNRVolIdV2Req, 4);
WIRE_SIZE_IS(repQueryRVScratchVolBySNRVolIdResp, 32);
WIRE_FIELD_AT(repQueryRVScratchVolBySNRVolIdResp, errMsg, 8);
WIRE_FIELD_AT(repQueryRVScratchVolBySNRVolIdResp, scratchVolume, 16);
WIRE_SIZE_IS(repQueryRVScratchVolBySNRVolIdV2Resp, 48);
WIRE_FIELD_AT(repQueryRVScratchVolBySNRVolIdV2Resp, scratchVolume, 16);
WIRE_FIELD_AT(repQueryRVScratchVolBySNRVolIdV2Resp, errCode, 40);
WIRE_SIZE_IS(repQueryScratchVolumeByIdResp, 40);
WIRE_FIELD_AT(repQueryScratchVolumeByIdResp, status, 24);
WIRE_FIELD_AT(repQueryScratchVolumeByIdResp, errMsg, 32);
WIRE_SIZE_IS(repGetAvailVolumeFromPoolResp, 32);
WIRE_FIELD_AT(repGetAvailVolumeFromPoolResp, count, 16);
WIRE_FIELD_AT(repGetAvailVolumeFromPoolResp, volumeIds, 24);
WIRE_SIZE_IS(repGetClientIdByPoolIdResp, 24);
WIRE_FIELD_AT(repGetClientIdByPoolIdResp, clientId, 16);
WIRE_FIELD_AT(repGetClientIdByPoolIdResp, errCode, 20);
WIRE_SIZE_IS(repUpdateCostToVolsInPoolReq, 8);
WIRE_SIZE_IS(repUpdateCostToVolsInPoolResp, 16);
WIRE_FIELD_AT(repUpdateCostToVolsInPoolResp, errMsg, 8);

WIRE_SIZE_IS(repAddRVScratchVolumeReq, 8);
WIRE_FIELD_AT(repAddRVScratchVolumeReq, SNRVolumeId, 4);
WIRE_SIZE_IS(repAddRVScratchVolumeResponse, 24);
WIRE_FIELD_AT(repAddRVScratchVolumeResponse, errMsg, 8);
WIRE_FIELD_AT(repAddRVScratchVolumeResponse, scratchVolumeId, 16);
WIRE_SIZE_IS(repRemoveRVScratchVolumeReq, 4);
WIRE_SIZE_IS(repRemoveRVScratchVolumeResponse, 16);
WIRE_FIELD_AT(repRemoveRVScratchVolumeResponse, errMsg, 8);

WIRE_SIZE_IS(repAddRVScratchVolumePoolReq, 8);
WIRE_SIZE_IS(repAddRVScratchVolumePoolV2Req, 16);
WIRE_FIELD_AT(repAddRVScratchVolumePoolV2Req, SnapEngineInfoId, 8);
WIRE_SIZE_IS(repAddRVScratchVolumePoolV3Req, 40);
WIRE_SIZE_IS(repQueryRVScratchVolPoolV3Req, 4);
WIRE_SIZE_IS(repUpdateRVScratchVolPoolReq, 24);
WIRE_SIZE_IS(repUpdateRVScratchVolPoolV2Req, 32);
WIRE_SIZE_IS(repUpdateRVScratchVolPoolV3Req, 40);
WIRE_SIZE_IS(repRemoveRVScratchVolumePool70Req, 4);
WIRE_SIZE_IS(repAddRVScratchVolumePoolResponse, 24);
WIRE_FIELD_AT(repAddRVScratchVolumePoolResponse, errMsg, 8);
WIRE_FIELD_AT(repAddRVScratchVolumePoolResponse, poolId, 16);
WIRE_SIZE_IS(repAddRVScratchVolumePoolV3Response, 24);
WIRE_FIELD_AT(repAddRVScratchVolumePoolV2Response, errCode, 4);
WIRE_FIELD_AT(repAddRVScratchVolumePoolV2Response, errMsg, 8);
WIRE_FIELD_AT(repAddRVScratchVolumePoolV2Response, poolId, 16);
WIRE_SIZE_IS(repQueryRVScratchVolPoolResponse, 40);
WIRE_FIELD_AT(repQueryRVScratchVolPoolResponse, pool, 16);
WIRE_SIZE_IS(repQueryRVScratchVolPoolV2Response, 48);
WIRE_FIELD_AT(repQueryRVScratchVolPoolV2Response, errCode, 4);
WIRE_FIELD_AT(repQueryRVScratchVolPoolV2Response, pool, 16);
WIRE_SIZE_IS(repQueryRVScratchVolPoolV3Response, 56);
WIRE_FIELD_AT(repQueryRVScratchVolPoolV3Response, pool, 16);
WIRE_SIZE_IS(repGetRVScratchVolumePoolListResponse, 32);
WIRE_FIELD_AT(repGetRVScratchVolumePoolListResponse, count, 16);
WIRE_FIELD_AT(repGetRVScratchVolumePoolListResponse, pools, 24);
WIRE_SIZE_IS(repGetRVScratchVolumePoolV2ListResponse, 32);
WIRE_FIELD_AT(repGetRVScratchVolumePoolV2ListResponse, errCode, 4);
WIRE_FIELD_AT(repGetRVScratchVolumePoolV2ListResponse, count, 16);
WIRE_FIELD_AT(repGetRVScratchVolumePoolV2ListResponse, pools, 24);
WIRE_SIZE_IS(repGetRVScratchVolumePoolV3ListResponse, 32);
WIRE_SIZE_IS(repUpdateRVScratchVolPoolResp, 16);
WIRE_SIZE_IS(repUpdateRVScratchVolPoolV2Resp, 16);
WIRE_FIELD_AT(repUpdateRVScratchVolPoolV2Resp, errCode, 4);
WIRE_SIZE_IS(repUpdateRVScratchVolPoolV3Resp, 16);
WIRE_SIZE_IS(repRemoveRVScratchVolumePoolResponse, 16);
WIRE_SIZE_IS(repRemoveRVScratchVolumePool70Response, 24);
WIRE_FIELD_AT(repRemoveRVScratchVolumePool70Response, errCode, 16);

WIRE_SIZE_IS(repRVScratchVolume, 12);
WIRE_FIELD_AT(repRVScratchVolume, id, 0);
WIRE_FIELD_AT(repRVScratchVolume, PhysicalVolumeId, 4);
WIRE_FIELD_AT(repRVScratchVolume, RVScratchVolumePoolId, 8);
WIRE_SIZE_IS(repRVScratchVolumeV2, 24);
WIRE_FIELD_AT(repRVScratchVolumeV2, id, 0);
WIRE_FIELD_AT(repRVScratchVolumeV2, PhysicalVolumeId, 4);
WIRE_FIELD_AT(repRVScratchVolumeV2, RVScratchVolumePoolId, 8);
WIRE_FIELD_AT(repRVScratchVolumeV2, LockedByJobId, 16);
WIRE_SIZE_IS(repRVScratchVolumePool, 24);
WIRE_FIELD_AT(repRVScratchVolumePool, id, 0);
WIRE_FIELD_AT(repRVScratchVolumePool, TotalVolumes, 4);
WIRE_FIELD_AT(repRVScratchVolumePool, AvailableVolumes, 8);
WIRE_FIELD_AT(repRVScratchVolumePool, name, 16);
WIRE_SIZE_IS(repRVScratchVolumePoolV2, 32);
WIRE_FIELD_AT(repRVScratchVolumePoolV2, id, 0);
WIRE_FIELD_AT(repRVScratchVolumePoolV2, TotalVolumes, 4);
WIRE_FIELD_AT(repRVScratchVolumePoolV2, AvailableVolumes, 8);
WIRE_FIELD_AT(repRVScratchVolumePoolV2, name, 16);
WIRE_FIELD_AT(repRVScratchVolumePoolV2, SnapEngineInfoId, 24);
WIRE_SIZE_IS(repRVScratchVolumePoolV3, 40);
WIRE_FIELD_AT(repRVScratchVolumePoolV3, id, 0);
WIRE_FIELD_AT(repRVScratchVolumePoolV3, TotalVolumes, 4);
WIRE_FIELD_AT(repRVScratchVolumePoolV3, AvailableVolumes, 8);
WIRE_FIELD_AT(repRVScratchVolumePoolV3, name, 16);
WIRE_FIELD_AT(repRVScratchVolumePoolV3, SnapEngineInfoId, 24);
WIRE_FIELD_AT(repRVScratchVolumePoolV3, Type, 28);
WIRE_FIELD_AT(repRVScratchVolumePoolV3, UpdateMask, 32);

WIRE_SIZE_IS(repReleaseRVScratchVolumeReq, 4);
WIRE_SIZE_IS(repReleaseRVScratchVolumeResponse, 16);
WIRE_FIELD_AT(repReleaseRVScratchVolumeResponse, errMsg, 8);
WIRE_SIZE_IS(repReleaseRVScratchVolumeV2Req, 8);
WIRE_SIZE_IS(repReleaseRVScratchVolumeV2Response, 16);
WIRE_FIELD_AT(repReleaseRVScratchVolumeV2Response, errCode, 4);
WIRE_FIELD_AT(repReleaseRVScratchVolumeV2Response, errMsg, 8);
