// The distinct clients, with their network host names, that can serve as VE
// hosts.
#pragma once

#include "rows/RowFamily.h"

#define YBGetVEHosts_COLUMNS(I, B, S) \
    I(ClientId) \
    S(ClientNetworkHostName, 256)

// SQLite statement run: RegisterFileFlrCleanupStatements in host/db/statements/FileFlrCleanupStatements.cpp
ZXDB_CURSOR(YBGetVEHosts, YBGetVEHosts_COLUMNS, "i|s256|",
            "SET NOCOUNT ON \n"
            "IF object_id('tempdb.dbo.#YBGetVEHostsTmp') IS NOT NULL DROP TABLE #YBGetVEHostsTmp \n"
            "SELECT DISTINCT C.id as ClientId, C.net_hostname as ClientNetworkHostName \n"
            "INTO #YBGetVEHostsTmp \n"
            "FROM DHT_Client C, DHT_Platform P, DHT_AgtName I \n"
            "WHERE\tC.id = P.clientId AND \n"
            "\t\t(C.status = 0 OR ((C.status & 4096) = 4096) OR ((C.status & 128) = 128)) AND \n"
            "\t\t(P.platformType = 2 OR \n"
            "\t\t(P.platformType = 4 AND I.ClientId = C.id AND \n"
            "\t\t(I.appTypeId IN (47, 24, 48, 50, 65, 13, 75)))) AND \n"
            "\t\tC.dhtOperatingSystemId IN (3, 34, 35, 14, 15, 38, 47, 23, 24, 25, 51, 52, 16, 33, 36, 44, 46, 48, 59, 54, 61, 70, 71 ,72, 75, 65, 66, 67, \n"
            "\t\t\t\t\t 49, 50, 51, 52, 53, 54, 58, 61, 68, 69, 76, 77, 78, 62, 63, 64, 60, 79, 82, 83,93,94, 97, 98,100, 101, 104, 208,210,212) \n"
            "INSERT INTO #YBGetVEHostsTmp \n"
            "SELECT DISTINCT C.id as ClientId, C.net_hostname as ClientNetworkHostName \n"
            "FROM DHT_Client C, DHT_Platform P, DHT_AgtName I, Dht_ClientProp CP \n"
            "WHERE\tC.id = P.clientId AND \n"
            "\t\t(C.status = 0 OR (C.status & 128) = 128) AND \n"
            "\t\t(P.platformType = 4 AND I.ClientId = C.id AND \n"
            "\t\t(CP.componentNameId = C.id AND CP.attrname = 'HotSpot' AND CP.attrVal = '1' AND CP.modified = 0 AND C.dhtOperatingSystemId IN (36, 25, 51, 52, 54, 14, 15, 38, 47, 23, 61, 70, 71, 72, 75, \n"
            "\t\t65, 66, 67, 49, 50, 51, 52, 53, 54, 58, 61, 68, 69, 76, 77, 78, 62, 63, 64, 60, 79, 80, 82, 83, 97, 100, 101, 104, 208,210,212))) AND \n"
            "\t\tC.dhtOperatingSystemId IN (3, 34, 35, 14, 15, 38, 47, 23, 24, 25, 51, 52, 16, 33, 36, 44, 46, 48, 59, 54, 61, 70, 71 ,72, 75, 65, 66, 67, 49, 50, 51, 52, 53, 54, 58, 61, 68, 69, 76, 77, 78, 62, 63, 64, 60, 79, 80, 82, 83, 93,94, 97, 98,100, 101, 104, 208,210,212) \n"
            "SELECT DISTINCT * from #YBGetVEHostsTmp \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBGetVEHosts", ())
