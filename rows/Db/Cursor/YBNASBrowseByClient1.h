// Browse by client, first step for a NAS client: as YBBrowseByClient1, but
// the client's devices are those named "client", the client id in decimal, ":"
// and the rest, whatever client they are registered to; the application names
// are those of the browse by policy.
#pragma once

#include "rows/Db/Cursor/YBBrowseLayout.h"
#include "rows/Db/Cursor/YBRowColumns.h"
#include "rows/RowFamily.h"

// The replication volume columns, then the application name.
#define YBNASBrowseByClient1_COLUMNS(I, B, S) YB_VOLUME_COLUMNS(I, B, S) S(AppName, 257)

// SQLite statement run: RegisterBrowseStatements in host/db/statements/BrowseStatements.cpp
ZXDB_CURSOR(
    YBNASBrowseByClient1, YBNASBrowseByClient1_COLUMNS, "i|i|i|i|i|i|i|i|i|i|i|i|i|i|s1025|s257|s257|",
    "SET NOCOUNT ON \n"
    "IF object_id('tempdb.dbo.##YBBrowseByClientTmp') IS NOT NULL DROP TABLE ##YBBrowseByClientTmp \n"
    "CREATE TABLE ##YBBrowseByClientTmp ( \n"
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
    "INSERT INTO ##YBBrowseByClientTmp \n"
    "(id, PointInTime, CreationTime, ModifyTime, CurrentState, CurrentRole, PrimaryVolumeId, PhysicalVolumeId, \n"
    "ReplicationPolicyId, RVScratchVolumeId, Flags, JobId, SnapVolumeId, SnapEngineType, SnapvaultReplicaDir, "
    "SourceGUID) \n"
    "SELECT DISTINCT Q.* \n"
    "FROM YBVolume Q, YBPhysicalDevice D \n"
    "WHERE SUBSTRING(D.DeviceName, 1, 6) = 'client' and \n"
    "%d = CONVERT(int, SUBSTRING(D .DeviceName, 7, CHARINDEX(':', D.DeviceName) - 7)) \n"
    "and D.SNRVolumeId = Q.PrimaryVolumeId \n"
    "UPDATE ##YBBrowseByClientTmp \n"
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
    "\tFROM  YBUserApplicationDef UA, DHT_ScFilterFile F\n"
    "\t\tWHERE \tA.subclientId = F.componentNameId \n"
    "\t\tAND \n"
    "\t\tF.modified = 0 \n"
    "\t\tAND \n"
    "\t\tT.PrimaryVolumeId = CONVERT(int, SUBSTRING(F.fileName, 1, CHARINDEX(char(21), F.fileName) - 1)) \n"
    "\t\tAND \n"
    "\t\tUA.Id = CONVERT(int, SUBSTRING(F.fileName, CHARINDEX(char(21), F.fileName) + 1, (LEN(F.fileName) - "
    "CHARINDEX(char(21), F.fileName) + 1)))) \n"
    "ELSE 'Unknown Application' \n"
    "END \n"
    "FROM YBApplicationDirs A, ##YBBrowseByClientTmp T \n"
    "WHERE T.Id = A.ReplicationVolumeId \n"
    "SELECT * FROM ##YBBrowseByClientTmp \n"
    "\tSET NOCOUNT OFF",
    "source/include/Db/Cursor/YBNASBrowseByClient1", (int clientId))

YBBROWSE_ASSERT_LAYOUT(YBNASBrowseByClient1, YBNASBrowseByClient1_t, YBVolume_t, YB_VOLUME_COLUMNS, false)
