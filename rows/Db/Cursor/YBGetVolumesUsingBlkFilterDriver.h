// The distinct volumes of a client protected through the block filter driver,
// blank-padded, in ascending order. Its reader holds BLK_FILTER_QUERY_LOCK.
#pragma once

#include "rows/RowFamily.h"

#define YBGetVolumesUsingBlkFilterDriver_COLUMNS(I, B, S) \
    S(Volume, 1025)

// SQLite statement run: RegisterFileFlrCleanupStatements in host/db/statements/FileFlrCleanupStatements.cpp
ZXDB_CURSOR(YBGetVolumesUsingBlkFilterDriver, YBGetVolumesUsingBlkFilterDriver_COLUMNS, "s1025|",
            "SET NOCOUNT ON \n"
            "DECLARE @inClientId integer \n"
            "SET @inClientId = %d \n"
            "IF object_id('tempdb.dbo.#YBBlkFilterVolumes') IS NOT NULL DROP TABLE #YBBlkFilterVolumes \n"
            "CREATE TABLE #YBBlkFilterVolumes ( \n"
            "\tVolume char(1024) \n"
            ") \n"
            "DECLARE @TMP_VOLUME char(1024) \n"
            "DECLARE @STRING_INDEX INTEGER \n"
            "DECLARE IMSC_CURSOR CURSOR FOR \n"
            "SELECT DISTINCT SC.fileName \n"
            "FROM DHT_Application A, DHT_ScFilterFile SC \n"
            "WHERE A.id = SC.componentNameId AND A.appTypeId = 65 AND A.subclientStatus = 0 AND A.clientId = @inClientId AND \n"
            "SC.modified = 0 \n"
            "OPEN IMSC_CURSOR \n"
            "FETCH NEXT FROM IMSC_CURSOR INTO @TMP_VOLUME \n"
            "WHILE @@FETCH_STATUS = 0 \n"
            "BEGIN \n"
            "\tSET @STRING_INDEX = CHARINDEX(CHAR(19), @TMP_VOLUME) \n"
            "\tIF @STRING_INDEX = 0 \n"
            "\tBEGIN \n"
            "\t\tINSERT INTO #YBBlkFilterVolumes (Volume) VALUES(@TMP_VOLUME) \n"
            "\tEND \n"
            "\tELSE \n"
            "\tBEGIN \n"
            "\t\tSET @TMP_VOLUME = REPLACE(@TMP_VOLUME, CHAR(19), '\\') \n"
            "\t\tINSERT INTO #YBBlkFilterVolumes (Volume) VALUES(SUBSTRING(@TMP_VOLUME, 1, @STRING_INDEX)) \n"
            "\tEND \n"
            "\tFETCH NEXT FROM IMSC_CURSOR INTO @TMP_VOLUME \n"
            "END \n"
            "CLOSE IMSC_CURSOR \n"
            "DEALLOCATE IMSC_CURSOR \n"
            "INSERT INTO #YBBlkFilterVolumes \n"
            "(Volume) \n"
            "SELECT DISTINCT SUBSTRING(SC.fileName, 1, CHARINDEX(char(21), SC.fileName) - 1) \n"
            "FROM DHT_Application A, DHT_ScFilterFile SC \n"
            "WHERE A.id = SC.componentNameId AND A.appTypeId =  76 AND A.subclientStatus = 0 AND A.clientId = @inClientId AND \n"
            "SC.modified = 0 \n"
            "INSERT INTO #YBBlkFilterVolumes \n"
            "(Volume) \n"
            "SELECT DISTINCT D.DeviceName \n"
            "FROM DHT_Application A, DHT_ScFilterFile SC, YBPhysicalDevice D, YBPhysicalVolume V\n"
            "\tWHERE A.id = SC.componentNameId AND A.appTypeId = 47 AND A.subclientStatus = 0 AND A.clientId = @inClientId AND \n"
            "SC.modified = 0 AND CHARINDEX(char(21), SC.fileName) > 0 AND D.SNRVolumeId = CONVERT(int, SUBSTRING(SC.fileName, 1, CHARINDEX(char(21), SC.fileName) - 1)) \n"
            "AND D.SNRVolumeId = V.Id AND V.Type = 1 \n"
            "SELECT DISTINCT * FROM #YBBlkFilterVolumes order by Volume asc \n"
            "DROP TABLE #YBBlkFilterVolumes \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBGetVolumesUsingBlkFilterDriver", (int clientId))
