// The volume ids named in the filter files of the active subclients of
// application types 50 and 47.
#pragma once

#include "rows/RowFamily.h"

#define YBGetSubclientVolumes_COLUMNS(I, B, S) \
    I(VolumeId)

// SQLite statement run: RegisterFileFlrCleanupStatements in host/db/statements/FileFlrCleanupStatements.cpp
ZXDB_CURSOR(YBGetSubclientVolumes, YBGetSubclientVolumes_COLUMNS, "i|",
            "SET NOCOUNT ON \n"
            "IF OBJECT_ID (N'tempdb.dbo.#YBGetSubclientVolumesTemp', N'U') IS NOT NULL \n"
            "    DROP TABLE #YBGetSubclientVolumesTemp \n"
            "create table #YBGetSubclientVolumesTemp ( \n"
            "\t\tVolumeIdStr nvarchar(1024) \n"
            "\t) \n"
            "INSERT INTO #YBGetSubclientVolumesTemp \n"
            "SELECT DISTINCT F.fileName \n"
            "FROM DHT_Application A WITH (NOLOCK), DHT_ScFilterFile F WITH (NOLOCK) \n"
            "WHERE (A.AppTypeId = 50 OR A.AppTypeId = 47) AND A.subclientStatus = 0 \n"
            "AND A.id = F.componentNameId AND F.modified = 0 AND F.Type = 1 \n"
            "ORDER BY F.fileName \n"
            "SELECT CONVERT(INT, SUBSTRING(VolumeIdStr, 1, CHARINDEX(char(21), VolumeIdStr) - 1)) AS VolumeId \n"
            "FROM #YBGetSubclientVolumesTemp \n"
            "DROP TABLE #YBGetSubclientVolumesTemp \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBGetSubclientVolumes", ())
