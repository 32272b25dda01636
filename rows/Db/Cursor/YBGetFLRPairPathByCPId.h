// Per pair association of a recovery point: the pair's source and destination
// paths at the point's creation time, the source client, the replication set
// and the destination client.
#pragma once

#include "rows/RowFamily.h"

#define YBGetFLRPairPathByCPId_COLUMNS(I, B, S) \
    S(SrcPath, 2049) \
    S(DstPath, 2049) \
    I(SrcClientId) \
    S(SrcClientNetName, 511) \
    I(RepSetId) \
    S(RepSetName, 257) \
    I(DstClientId)

// SQLite statement run: RegisterFileFlrCleanupStatements in host/db/statements/FileFlrCleanupStatements.cpp
ZXDB_CURSOR(YBGetFLRPairPathByCPId, YBGetFLRPairPathByCPId_COLUMNS, "s2049|s2049|i|s511|i|s257|i|",
            "SET NOCOUNT ON \n"
            "IF object_id('tempdb.dbo.#YBGetFLRPairPathByCPIdTmp') IS NOT NULL DROP TABLE #YBGetFLRPairPathByCPIdTmp \n"
            "CREATE TABLE #YBGetFLRPairPathByCPIdTmp ( \n"
            "SrcPath\t\t\t\t\t\tnvarchar(1024), \n"
            "DstPath\t\t\t\t\t\tnvarchar(1024), \n"
            "SrcClientId\t\t\t\t\tint, \n"
            "SrcClientNetName\t\t\tnvarchar(255), \n"
            "RepSetId\t\t\t\t\tint, \n"
            "RepSetName\t\t\t\t\tnvarchar(128), \n"
            "DstClientId\t\t\t\t\tint, \n"
            "RPPairId\t\t\t\t\tint, \n"
            ") \n"
            "DECLARE @inRPId \tinteger \n"
            "DECLARE @inPointInTime integer \n"
            "SET @inRPId = %d \n"
            "SET @inPointInTime = (SELECT CreationTime FROM YBFLRConsistencyPoint WHERE Id = @inRPId) \n"
            "INSERT INTO #YBGetFLRPairPathByCPIdTmp (DstClientId, SrcClientId, SrcClientNetName, RepSetId, RepSetName, RPPairId) \n"
            "SELECT RP.ClientId, SC.ClientId, C.net_hostname, SC.BackupSet, BS.Name, SP.PairId \n"
            "FROM YBFLRSnapshot S, YBFLRSnapPair SP, YBFLRConsistencyPoint RP, DHT_Application SC, DHT_Client C, DHT_BackupSetName BS \n"
            "WHERE\tRP.Id = @inRPId AND \n"
            "\t\tS.ConsistencyPointId = @inRPId AND \n"
            "\t\tSP.SnapshotId = S.Id AND \n"
            "\t\tSP.PairId = SC.Id AND \n"
            "\t\tSC.ClientId = C.Id AND \n"
            "\t\tSC.BackupSet = BS.Id \n"
            "UPDATE #YBGetFLRPairPathByCPIdTmp \n"
            "SET SrcPath = stringVal \n"
            "FROM DHT_ScReplicationPair \n"
            "WHERE\tRPPairId = pairId AND propType = 10001 AND created <= @inPointInTime AND (modified = 0 OR modified >= @inPointInTime) \n"
            "UPDATE #YBGetFLRPairPathByCPIdTmp \n"
            "SET DstPath = stringVal \n"
            "FROM DHT_ScReplicationPair \n"
            "WHERE\tRPPairId = pairId AND propType = 10002 AND created <= @inPointInTime AND (modified = 0 OR modified >= @inPointInTime) \n"
            "SELECT Srcpath, DstPath, SrcClientId, SrcClientNetName, RepSetId, RepSetName, DstClientId from #YBGetFLRPairPathByCPIdTmp \n"
            "DROP TABLE #YBGetFLRPairPathByCPIdTmp \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBGetFLRPairPathByCPId", (int recoveryPointId))
