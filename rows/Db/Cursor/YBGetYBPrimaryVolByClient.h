// The replicas, kept on other clients, of the volumes of one client: the first
// 14 columns of their YBVolume rows, in ascending id order.
#pragma once

#include "rows/Db/Cursor/YBRowColumns.h"
#include "rows/RowFamily.h"

#define YBGetYBPrimaryVolByClient_COLUMNS(I, B, S) YB_VOLUME_LEADING_COLUMNS(I, B, S)

// SQLite statement run: RegisterFileFlrCleanupStatements in host/db/statements/FileFlrCleanupStatements.cpp
ZXDB_CURSOR(YBGetYBPrimaryVolByClient, YBGetYBPrimaryVolByClient_COLUMNS, "i|i|i|i|i|i|i|i|i|i|i|i|i|i|",
            "SET NOCOUNT ON \n"
            "\tDECLARE @inClientId\tinteger \n"
            "\tSET @inClientId = %d \n"
            "\tSELECT R.* \n"
            "\tFROM (SELECT Q.* FROM YBVolume Q, YBPhysicalDevice S WHERE S.SNRVolumeId = Q.PhysicalVolumeId AND S.ClientId <> @inClientId) R, YBPhysicalDevice S \n"
            "\tWHERE R.PrimaryVolumeId = S.SNRVolumeId AND S.ClientId = @inClientId \n"
            "\tORDER BY R.id ASC \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBGetYBPrimaryVolByClient", (int clientId))
