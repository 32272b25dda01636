// The sizes and field offsets of the catalogue row structures, fixed by the
// column widths the rows are read and written with; checked when this file
// compiles, so a structure that moves a field stops the build.
#include "host/db/FLRTables.h"
#include "host/db/FileTables.h"
#include "host/db/JobHistoryTable.h"
#include "host/db/PolicyTables.h"
#include "host/db/ReplicaTables.h"
#include "host/db/SNRTables.h"

#include <cstddef>

// The library's two layout checks (service/WireLayout.h), which the host's
// side does not include.
#define WIRE_SIZE_IS(Type, size) static_assert(sizeof(Type) == (size), #Type " size")
#define WIRE_FIELD_AT(Type, field, offset) static_assert(offsetof(Type, field) == (offset), #Type "." #field " offset")

WIRE_SIZE_IS(YBFLRConsistencyPoint_t, 36);
WIRE_FIELD_AT(YBFLRConsistencyPoint_t, Type, 32);
WIRE_SIZE_IS(YBFLRSnapshot_t, 3232);
WIRE_FIELD_AT(YBFLRSnapshot_t, Name, 8);
WIRE_FIELD_AT(YBFLRSnapshot_t, SnapVolumeName, 137);
WIRE_FIELD_AT(YBFLRSnapshot_t, VolumeGUID, 1162);
WIRE_FIELD_AT(YBFLRSnapshot_t, CreationTime, 2188);
WIRE_FIELD_AT(YBFLRSnapshot_t, Type, 2196);
WIRE_FIELD_AT(YBFLRSnapshot_t, SnapshotPath, 2200);
WIRE_FIELD_AT(YBFLRSnapshot_t, AuxValue, 3228);
WIRE_SIZE_IS(YBFLRSnapPair_t, 16);
WIRE_SIZE_IS(YBFLRSnapMountPoint_t, 1040);
WIRE_FIELD_AT(YBFLRSnapMountPoint_t, Reserved, 1036);
WIRE_SIZE_IS(YBFLRSnapNetworkShare_t, 1040);
WIRE_FIELD_AT(YBFLRSnapNetworkShare_t, Reserved, 1036);

WIRE_FIELD_AT(YBFile_t, Content, 1040);
WIRE_FIELD_AT(YBFile_t, Flags, 1048);
WIRE_SIZE_IS(YBDevice_t, 268);
WIRE_FIELD_AT(YBDevice_t, Reserved, 264);
WIRE_FIELD_AT(YBUserApplicationDef_t, AppTag, 265);
WIRE_FIELD_AT(YBUserApplicationDef_t, ResumeScript, 811);

WIRE_FIELD_AT(YBJobVolumeHistory_t, SrcClientName, 20);
WIRE_FIELD_AT(YBJobVolumeHistory_t, SrcBlockCount, 280);
WIRE_FIELD_AT(YBJobVolumeHistory_t, SrcDeviceName, 292);
WIRE_FIELD_AT(YBJobVolumeHistory_t, DstVolId, 1320);
WIRE_FIELD_AT(YBJobVolumeHistory_t, DstClientName, 1328);
WIRE_FIELD_AT(YBJobVolumeHistory_t, DstBlockCount, 1584);
WIRE_FIELD_AT(YBJobVolumeHistory_t, DstDeviceName, 1596);
WIRE_FIELD_AT(YBJobVolumeHistory_t, DstCostCategoryId, 2624);
WIRE_FIELD_AT(YBJobVolumeHistory_t, FurtherNumber2, 2632);
WIRE_FIELD_AT(YBJobVolumeHistory_t, JobId_h, 2640);
WIRE_FIELD_AT(YBJobVolumeHistory_t, CopyMgrType, 2652);
WIRE_FIELD_AT(YBJobVolumeHistory_t, SpaceUsed, 2656);
WIRE_SIZE_IS(YBJobVolumeHistory_t, 2664);

WIRE_SIZE_IS(YBPolicy_t, 164);
WIRE_FIELD_AT(YBPolicy_t, RetentionSeconds, 136);
WIRE_FIELD_AT(YBPolicy_t, CopyManagerType, 160);
WIRE_SIZE_IS(YBSnapEngineInfo_t, 1952);
WIRE_FIELD_AT(YBSnapEngineInfo_t, Flags, 136);
WIRE_FIELD_AT(YBSnapEngineInfo_t, MountCmdHint, 140);
WIRE_FIELD_AT(YBSnapEngineInfo_t, UnsnapCmdHint, 1425);
WIRE_FIELD_AT(YBSnapEngineInfo_t, OsType, 1684);
WIRE_FIELD_AT(YBSnapEngineInfo_t, Type, 1688);
WIRE_FIELD_AT(YBSnapEngineInfo_t, RollbackCmdHint, 1692);
WIRE_SIZE_IS(YBVolSnapParams_t, 1832);
WIRE_FIELD_AT(YBVolSnapParams_t, MountCmd, 12);
WIRE_FIELD_AT(YBVolSnapParams_t, SyncClientId, 528);
WIRE_FIELD_AT(YBVolSnapParams_t, SnapClientId, 1048);
WIRE_FIELD_AT(YBVolSnapParams_t, Flags, 1568);
WIRE_FIELD_AT(YBVolSnapParams_t, RollbackCmd, 1572);

WIRE_SIZE_IS(YBVolume_t, 1340);
WIRE_FIELD_AT(YBVolume_t, id, 0);
WIRE_FIELD_AT(YBVolume_t, PointInTime, 4);
WIRE_FIELD_AT(YBVolume_t, CreationTime, 8);
WIRE_FIELD_AT(YBVolume_t, ModifyTime, 12);
WIRE_FIELD_AT(YBVolume_t, CurrentState, 16);
WIRE_FIELD_AT(YBVolume_t, CurrentRole, 20);
WIRE_FIELD_AT(YBVolume_t, PrimaryVolumeId, 24);
WIRE_FIELD_AT(YBVolume_t, PhysicalVolumeId, 28);
WIRE_FIELD_AT(YBVolume_t, ReplicationPolicyId, 32);
WIRE_FIELD_AT(YBVolume_t, RVScratchVolumeId, 36);
WIRE_FIELD_AT(YBVolume_t, Flags, 40);
WIRE_FIELD_AT(YBVolume_t, JobId, 44);
WIRE_FIELD_AT(YBVolume_t, SnapVolumeId, 48);
WIRE_FIELD_AT(YBVolume_t, SnapEngineType, 52);
WIRE_FIELD_AT(YBVolume_t, SnapvaultReplicaDir, 56);
WIRE_FIELD_AT(YBVolume_t, SourceGUID, 1081);
WIRE_SIZE_IS(YBScratchVolume_t, 20);
WIRE_FIELD_AT(YBScratchVolume_t, id, 0);
WIRE_FIELD_AT(YBScratchVolume_t, PhysicalVolumeId, 4);
WIRE_FIELD_AT(YBScratchVolume_t, RVScratchVolumePoolId, 8);
WIRE_FIELD_AT(YBScratchVolume_t, Flags, 12);
WIRE_FIELD_AT(YBScratchVolume_t, LockedByJobId, 16);
WIRE_SIZE_IS(YBScratchPool_t, 156);
WIRE_FIELD_AT(YBScratchPool_t, id, 0);
WIRE_FIELD_AT(YBScratchPool_t, TotalVolumes, 4);
WIRE_FIELD_AT(YBScratchPool_t, AvailableVolumes, 8);
WIRE_FIELD_AT(YBScratchPool_t, name, 12);
WIRE_FIELD_AT(YBScratchPool_t, reserved, 144);
WIRE_FIELD_AT(YBScratchPool_t, SnapEngineInfoId, 148);
WIRE_FIELD_AT(YBScratchPool_t, Type, 152);
WIRE_SIZE_IS(YBSubclientYBVolumes_t, 16);
WIRE_FIELD_AT(YBSubclientYBVolumes_t, Scid, 4);
WIRE_FIELD_AT(YBSubclientYBVolumes_t, YBVolumeId, 8);

WIRE_SIZE_IS(YBPhysicalVolume_t, 2496);
WIRE_FIELD_AT(YBPhysicalVolume_t, UniqueSnapshotID, 425);
WIRE_FIELD_AT(YBPhysicalVolume_t, Type, 2488);
WIRE_SIZE_IS(YBPhysicalDevice_t, 2204);
WIRE_FIELD_AT(YBPhysicalDevice_t, AccessPath, 2069);
WIRE_FIELD_AT(YBPhysicalDevice_t, FilerClientId, 2200);
