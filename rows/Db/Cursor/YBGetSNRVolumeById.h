// One SNR volume with the replication volume and the scratch volume lying on it;
// with a source volume id other than 0 only the replica of that source volume.
// No row for an unknown volume. Run under TMPSNRVOL_LOCK.
#pragma once

#include "rows/Db/Cursor/YBRowColumns.h"
#include "rows/RowFamily.h"

#define YBGetSNRVolumeById_COLUMNS(I, B, S) \
    YB_SNRVOLINFO_SNR_COLUMNS(I, B, S)      \
    YB_SNRVOLINFO_YB_COLUMNS(I, B, S)       \
    YB_SNRVOLINFO_RV_COLUMNS(I, B, S)       \
    I(SnapVolumeId)                         \
    I(SnapEngineType)                       \
    S(SnapvaultReplicaDir, 1025)            \
    S(SourceGUID, 257)                      \
    I(RVLockedByJobId)

// SQLite statement run: RegisterSNRStatements in host/db/statements/SNRStatements.cpp
ZXDB_CURSOR(YBGetSNRVolumeById, YBGetSNRVolumeById_COLUMNS, "i|s257|i|i|b|b|i|i|s129|s2049|i|i|i|i|i|i|i|i|i|i|i|i|i|i|i|i|i|i|i|i|i|i|s1025|s257|i|",
            "SET NOCOUNT ON \n"
            "\tDECLARE @inSNRVolId \tinteger \n"
            "\tDECLARE @inSrcVolId\t\tinteger \n"
            "\tSET @inSNRVolId = %d \n"
            "\tSET @inSrcVolId\t= %d \n"
            "\tIF object_id('tempdb.dbo.#TmpSNRVol') IS NOT NULL DROP TABLE #TmpSNRVol \n"
            "\tCREATE TABLE #TmpSNRVol ( \n"
            "\tSNRVolid INT PRIMARY KEY, \n"
            "\tUniqueId\t\t\t\tvarchar(256), \n"
            "\tUniqueIdType\t\t\tinteger, \n"
            "\tLUN\t\t\t\t\t\tinteger, \n"
            "\tStartLBA\t\t\t\tbigint, \n"
            "\tBlockCount\t\t\t\tbigint, \n"
            "\tBlockSize\t\t\t\tinteger, \n"
            "\tSNRFlags\t\t\t\tinteger, \n"
            "\tFSType\t\t\t\t\tvarchar(128), \n"
            "\tUniqueSnapshotID\t\tvarchar(2048), \n"
            "\tApplianceId\t\t\t\tinteger, \n"
            "\tTzState\t\t\t\t\tinteger, \n"
            "\tCostCategoryId\t\t\tinteger, \n"
            "\tVolType\t\t\t\t\tinteger, \n"
            "\tYBid\t\t\t\t\tinteger, \n"
            "\tPointInTime\t\t\t\tinteger, \n"
            "\tCreationTime\t\t\tinteger, \n"
            "\tModifyTime\t\t\t\tinteger, \n"
            "\tCurrentState\t\t\tinteger, \n"
            "\tCurrentRole\t\t\t\tinteger, \n"
            "\tPrimaryVolumeId\t\t\tinteger, \n"
            "\tYBPhysicalVolumeId\t\tinteger, \n"
            "\tReplicationPolicyId\t\tinteger, \n"
            "\tRVScratchVolumeId\t\tinteger, \n"
            "\tYBFlags\t\t\t\t\tinteger, \n"
            "\tJobId\t\t\t\t\tinteger, \n"
            "\tRVid\t\t\t\t\tinteger, \n"
            "\tRVPhysicalVolumeId\t\tinteger, \n"
            "\tRVScratchVolumePoolId\tinteger, \n"
            "\tRVFlags\t\t\t\t\tinteger, \n"
            "\tSnapVolumeId\t\t\tinteger, \n"
            "\tSnapEngineType\t\t\tinteger, \n"
            "\tSnapvaultReplicaDir\t\tvarchar(1024), \n"
            "\tSourceGUID\t\t\t\tvarchar(256), \n"
            "\tRVLockedByJobId\t\t\tinteger)\n"
            "\t\tINSERT INTO #TmpSNRVol \n"
            "\t(SNRVolid, UniqueId, UniqueIdType, LUN, StartLBA, BlockCount, BlockSize, SNRFlags, FSType, UniqueSnapshotID, ApplianceId, TzState, CostCategoryId, VolType) \n"
            "\tSELECT * FROM YBPhysicalVolume WHERE id = @inSNRVolId \n"
            "\tIF @inSrcVolId = 0 \n"
            "\tBEGIN \n"
            "\t\tUPDATE #TmpSNRVol SET YBid = Q.id, PointInTime = Q.PointInTime, CreationTime = Q.CreationTime, ModifyTime = Q.ModifyTime, \n"
            "\t\tCurrentState = Q.CurrentState, CurrentRole = Q.CurrentRole, PrimaryVolumeId = Q.PrimaryVolumeId, YBPhysicalVolumeId = Q.PhysicalVolumeId, \n"
            "\t\tReplicationPolicyId = Q.ReplicationPolicyId, RVScratchVolumeId = Q.RVScratchVolumeId, YBFlags = Q.Flags, JobId = Q.JobId, \n"
            "\t\tSnapVolumeId = Q.SnapVolumeId, SnapEngineType = Q.SnapEngineType, \n"
            "\t\tSnapvaultReplicaDir = Q.SnapvaultReplicaDir, SourceGUID = Q.SourceGUID \n"
            "\t\tFROM #TmpSNRVol T, YBVolume Q \n"
            "\t\tWHERE Q.PhysicalVolumeId = T.SNRVolid \n"
            "\tEND \n"
            "\tELSE \n"
            "\tBEGIN \n"
            "\t\tUPDATE #TmpSNRVol SET YBid = Q.id, PointInTime = Q.PointInTime, CreationTime = Q.CreationTime, ModifyTime = Q.ModifyTime, \n"
            "\t\tCurrentState = Q.CurrentState, CurrentRole = Q.CurrentRole, PrimaryVolumeId = Q.PrimaryVolumeId, YBPhysicalVolumeId = Q.PhysicalVolumeId, \n"
            "\t\tReplicationPolicyId = Q.ReplicationPolicyId, RVScratchVolumeId = Q.RVScratchVolumeId, YBFlags = Q.Flags, JobId = Q.JobId, \n"
            "\t\tSnapVolumeId = Q.SnapVolumeId, SnapEngineType = Q.SnapEngineType, \n"
            "\t\tSnapvaultReplicaDir = Q.SnapvaultReplicaDir, SourceGUID = Q.SourceGUID \n"
            "\t\tFROM #TmpSNRVol T, YBVolume Q \n"
            "\t\tWHERE Q.PhysicalVolumeId = T.SNRVolid AND Q.PrimaryVolumeId = @inSrcVolId \n"
            "\tEND \n"
            "\tUPDATE #TmpSNRVol SET RVid = R.id, RVPhysicalVolumeId = R.PhysicalVolumeId, RVScratchVolumePoolId = R.RVScratchVolumePoolId, \n"
            "\tRVFlags = R.Flags, RVLockedByJobId = R.LockedByJobId \n"
            "\tFROM #TmpSNRVol T, YBScratchVolume R \n"
            "\tWHERE R.PhysicalVolumeId = T.SNRVolid \n"
            "\tSELECT * FROM #TmpSNRVol \n"
            " DROP TABLE #TmpSNRVol \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBGetSNRVolumeById", (int snrVolumeId, int srcVolumeId))
