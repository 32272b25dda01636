// Browse by policy, first step: fills the policy browse table with the
// replication volumes of the policy, names the application each one's
// directories hold, and returns the table's rows. Any browse table left behind
// by an earlier run is dropped first.
#pragma once

#include "rows/Db/Cursor/YBBrowseLayout.h"
#include "rows/Db/Cursor/YBRowColumns.h"
#include "rows/RowFamily.h"

// The replication volume columns, then the application name.
#define YBBrowseByPolicy1_COLUMNS(I, B, S) YB_VOLUME_COLUMNS(I, B, S) S(AppName, 257)

// SQLite statement run: RegisterBrowseStatements in host/db/statements/BrowseStatements.cpp
ZXDB_CURSOR(
    YBBrowseByPolicy1, YBBrowseByPolicy1_COLUMNS, "i|i|i|i|i|i|i|i|i|i|i|i|i|i|s1025|s257|s257|",
    "SET NOCOUNT ON \n"
    "IF object_id('tempdb.dbo.##YBBrowseByPolicyTmp') IS NOT NULL DROP TABLE ##YBBrowseByPolicyTmp \n"
    "CREATE TABLE ##YBBrowseByPolicyTmp ( \n"
    "\tid\t\t\t\t\tint primary key, \n"
    "\tPointInTime\t\t\tinteger, \n"
    "\tCreationTime\t\tinteger, \n"
    "\tModifyTime\t\t\tinteger, \n"
    "\tCurrentState\t\tinteger, \n"
    "\tCurrentRole\t\t\tinteger, \n"
    "\tPrimaryVolumeId\t\tinteger, \n"
    "\tPhysicalVolumeId\tinteger, \n"
    "\tReplicationPolicyId\tinteger, \n"
    "\tRVScratchVolumeId\tinteger, \n"
    "\tFlags\t\t\t\tinteger, \n"
    "\tJobId\t\t\t\tinteger, \n"
    "\tSnapVolumeId\t\tinteger, \n"
    "\tSnapEngineType\t\tinteger, \n"
    "\tSnapvaultReplicaDir\tchar(1024), \n"
    "\tSourceGUID\t\t\tchar(256), \n"
    "\tAppName\t\t\t\tchar(256) \n"
    ") \n"
    "INSERT INTO ##YBBrowseByPolicyTmp \n"
    "(id, PointInTime, CreationTime, ModifyTime, CurrentState, CurrentRole, PrimaryVolumeId, PhysicalVolumeId, \n"
    "ReplicationPolicyId, RVScratchVolumeId, Flags, JobId, SnapVolumeId, SnapEngineType, SnapvaultReplicaDir, "
    "SourceGUID) \n"
    "SELECT DISTINCT Q.* \n"
    "FROM YBVolume Q \n"
    "WHERE Q.ReplicationPolicyId  = %d \n"
    "UPDATE ##YBBrowseByPolicyTmp \n"
    "SET AppName = \n"
    "case A.pathType / 33554432 \n"
    "WHEN 0 THEN 'Exchange Database' \n"
    "WHEN 1 THEN 'Exchange 2000 Database' \n"
    "WHEN 2 THEN 'SQL Server' \n"
    "WHEN 3 THEN 'SQL Server 2000' \n"
    "WHEN 4 THEN 'Notes Database' \n"
    "WHEN 5 THEN 'Oracle Database' \n"
    "WHEN 6 THEN 'Exchange 2003 Database' \n"
    "WHEN 7 THEN \n"
    "\t(select UA.ApplicationName \n"
    "\tFROM  YBUserApplicationDef UA, DHT_ScFilterFile F \n"
    "\tWHERE \tA.subclientId = F.componentNameId \n"
    "\t\tAND\n"
    "\t\t\tF.modified = 0 \n"
    "\t\tAND \n"
    "\t\tT.PrimaryVolumeId = CONVERT(int, SUBSTRING(F.fileName, 1, CHARINDEX(char(21), F.fileName) - 1)) \n"
    "\t\tAND \n"
    "\t\tUA.Id = CONVERT(int, SUBSTRING(F.fileName, CHARINDEX(char(21), F.fileName) + 1, (LEN(F.fileName) - "
    "CHARINDEX(char(21), F.fileName) + 1)))) \n"
    "ELSE 'Unknown Application' \n"
    "END \n"
    "FROM YBApplicationDirs A, ##YBBrowseByPolicyTmp T \n"
    "WHERE T.Id = A.ReplicationVolumeId \n"
    "SELECT * FROM ##YBBrowseByPolicyTmp \n"
    "\tSET NOCOUNT OFF",
    "source/include/Db/Cursor/YBBrowseByPolicy1", (int policyId))

YBBROWSE_ASSERT_LAYOUT(YBBrowseByPolicy1, YBBrowseByPolicy1_t, YBVolume_t, YB_VOLUME_COLUMNS, false)
