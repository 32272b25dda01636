// The inventory of one client: one row per SNR volume on which the client has a
// device, with the replication volume and the scratch volume lying on it
// (their columns 0 or empty when there is none). Run under TMPSNRVOLINFO_LOCK.
#pragma once

#include "rows/Db/Cursor/YBRowColumns.h"
#include "rows/RowFamily.h"

#define YBGetSNRVolInfoByClientId_COLUMNS(I, B, S) \
    YB_SNRVOLINFO_SNR_COLUMNS(I, B, S)             \
    YB_SNRVOLINFO_YB_COLUMNS(I, B, S)              \
    S(SnapvaultReplicaDir, 1025)                   \
    S(SourceGUID, 257)                             \
    YB_SNRVOLINFO_RV_COLUMNS(I, B, S)              \
    I(SnapVolumeId)                                \
    I(SnapEngineType)                              \
    I(RVLockedByJobId)

// SQLite statement run: RegisterSNRStatements in host/db/statements/SNRStatements.cpp
ZXDB_CURSOR(YBGetSNRVolInfoByClientId, YBGetSNRVolInfoByClientId_COLUMNS, "i|s257|i|i|b|b|i|i|s129|s2049|i|i|i|i|i|i|i|i|i|i|i|i|i|i|i|i|s1025|s257|i|i|i|i|i|i|i|",
            "SET NOCOUNT ON \n"
            "\tDECLARE @inClientId \tinteger \n"
            "\tSET @inClientId = %d \n"
            "\tIF object_id('tempdb.dbo.#TmpSNRVolInfo') IS NOT NULL DROP TABLE #TmpSNRVolInfo \n"
            "\tCREATE TABLE #TmpSNRVolInfo ( \n"
            "\tSNRVolid\t\t\t\tinteger primary key, \n"
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
            "\tSnapvaultReplicaDir\t\tvarchar(1024), \n"
            "\tSourceGUID\t\t\t\tvarchar(256), \n"
            "\tRVid\t\t\t\t\tinteger, \n"
            "\tRVPhysicalVolumeId\t\tinteger, \n"
            "\tRVScratchVolumePoolId\tinteger, \n"
            "\tRVFlags\t\t\t\t\tinteger, \n"
            "\tSnapVolumeId\t\t\tinteger, \n"
            "\tSnapEngineType\t\t\tinteger, \n"
            "\tRVLockedByJobId\t\t\tinteger) \n"
            "\tINSERT INTO #TmpSNRVolInfo \n"
            "\t(SNRVolid, UniqueId, UniqueIdType, LUN, StartLBA, BlockCount, BlockSize, SNRFlags, FSType, UniqueSnapshotID, ApplianceId, TzState, CostCategoryId, VolType)\n"
            "\t\tSELECT DISTINCT S.* \n"
            "\tFROM YBPhysicalVolume S, YBPhysicalDevice D \n"
            "\tWHERE S.id = D.SNRVolumeId AND D.ClientId = @inClientId \n"
            "\tORDER BY S.id ASC \n"
            "\tDECLARE @inSNRVolId\tinteger \n"
            "\tDECLARE\tSNRCursor CURSOR FOR \n"
            "\tSELECT SNRVolId FROM #TmpSNRVolInfo \n"
            "\tORDER BY SNRVolId \n"
            "\tOPEN SNRCursor \n"
            "\tFETCH NEXT FROM SNRCursor \n"
            "\tINTO @inSNRVolId \n"
            "\tWHILE @@FETCH_STATUS = 0 \n"
            "\tBEGIN \n"
            "\t\tUPDATE #TmpSNRVolInfo SET YBid = Q.id, PointInTime = Q.PointInTime, CreationTime = Q.CreationTime, ModifyTime = Q.ModifyTime, \n"
            "\t\tCurrentState = Q.CurrentState, CurrentRole = Q.CurrentRole, PrimaryVolumeId = Q.PrimaryVolumeId, YBPhysicalVolumeId = Q.PhysicalVolumeId, \n"
            "\t\tReplicationPolicyId = Q.ReplicationPolicyId, RVScratchVolumeId = Q.RVScratchVolumeId, YBFlags = Q.Flags, \n"
            "\t\tJobId = Q.JobId, SnapVolumeId = Q.SnapVolumeId, SnapEngineType = Q.SnapEngineType, \n"
            "\t\tSnapvaultReplicaDir = Q.SnapvaultReplicaDir, SourceGUID = Q.SourceGUID \n"
            "\t\tFROM #TmpSNRVolInfo T, YBVolume Q \n"
            "\t\tWHERE T.SNRVolId = Q.PhysicalVolumeId AND Q.PhysicalVolumeId = @inSNRVolId \n"
            "\t\tUPDATE #TmpSNRVolInfo SET RVid = R.id, RVPhysicalVolumeId = R.PhysicalVolumeId, RVScratchVolumePoolId = R.RVScratchVolumePoolId, \n"
            "\t\tRVFlags = R.Flags, RVLockedByJobId = R.LockedByJobId \n"
            "\t\tFROM #TmpSNRVolInfo T, YBScratchVolume R \n"
            "\t\tWHERE T.SNRVolId = R.PhysicalVolumeId AND R.PhysicalVolumeId = @inSNRVolid \n"
            "\t\tFETCH NEXT FROM SNRCursor \n"
            "\t\tINTO @inSNRVolId \n"
            "\tEND \n"
            "\tCLOSE SNRCursor \n"
            "\tDEALLOCATE SNRCursor \n"
            "\tSELECT * FROM #TmpSNRVolInfo \n"
            " DROP TABLE #TmpSNRVolInfo \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBGetSNRVolInfoByClientId", (int clientId))
