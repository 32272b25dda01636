// The wire layouts of the requests, replies and records of client cleanup,
// snapshot states, SAP/Oracle jobs and job volume history: sizes and field
// offsets, as the host reads and writes them by position; checked when this
// file compiles, so a structure that moves a field stops the build.
#include "cleanup/ClientCleanup.h"
#include "cleanup/JobVolumeHistory.h"
#include "cleanup/SAPOracleJobs.h"
#include "cleanup/SnapshotStates.h"

#include "service/WireLayout.h"

WIRE_SIZE_IS(repCleanupByClientIdReq, 8);
WIRE_FIELD_AT(repCleanupByClientIdReq, CleanupType, 4);
WIRE_SIZE_IS(repCleanupByclientIdResp, 16);
WIRE_FIELD_AT(repCleanupByclientIdResp, errMsg, 8);

WIRE_FIELD_AT(repYBJobVolumeHistoryRec, SrcClientName, 32);
WIRE_FIELD_AT(repYBJobVolumeHistoryRec, SrcDeviceName, 56);
WIRE_FIELD_AT(repYBJobVolumeHistoryRec, DstClientName, 72);
WIRE_FIELD_AT(repYBJobVolumeHistoryRec, DstDeviceName, 96);
WIRE_SIZE_IS(repYBJobVolumeHistoryRec, 128);
WIRE_FIELD_AT(repYBJobVolumeHistory80Rec, CopyMgrType, 128);
WIRE_SIZE_IS(repYBJobVolumeHistory80Rec, 144);
WIRE_SIZE_IS(repAddVolumeToYBJobHistoryResp, 24);
WIRE_SIZE_IS(repYBJobHistoryListResp, 32);
WIRE_FIELD_AT(repYBJobHistoryListResp, errMsg, 24);
WIRE_SIZE_IS(repYBJobHistoryByIdResp, 144);
WIRE_SIZE_IS(repYBJobHistoryById80Resp, 160);
WIRE_SIZE_IS(repDeleteYBJobHistoryByJobIdResp, 16);

WIRE_SIZE_IS(repSAPOracleJobsReq, 24);
WIRE_SIZE_IS(repSAPJobIdRec, 16);
WIRE_SIZE_IS(repSAPVolumeDetailsRec, 24);
WIRE_SIZE_IS(repSAPJobDetailsRec, 24);
WIRE_SIZE_IS(repSAPOracleJobListResp, 32);
WIRE_FIELD_AT(repSAPOracleJobListResp, entries, 24);

WIRE_SIZE_IS(repQueryMountedSnapsReq, 8);
WIRE_SIZE_IS(repMountedSnapRec, 48);
WIRE_FIELD_AT(repMountedSnapRec, NetShareId, 40);
WIRE_SIZE_IS(repQueryMountedSnapsResp, 32);
WIRE_FIELD_AT(repQueryMountedSnapsResp, snaps, 24);
WIRE_SIZE_IS(repIsDevVSSSnapReq, 4);
WIRE_SIZE_IS(repIsDevVSSSnapResp, 32);
WIRE_FIELD_AT(repIsDevVSSSnapResp, ShadowSetId, 24);
