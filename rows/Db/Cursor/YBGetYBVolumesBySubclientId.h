// The replication volumes linked to one subclient, once per link row, in
// ascending volume id order.
#pragma once

#include "rows/Db/Cursor/YBRowColumns.h"
#include "rows/RowFamily.h"

#define YBGetYBVolumesBySubclientId_COLUMNS(I, B, S) YB_VOLUME_COLUMNS(I, B, S)

// SQLite statement run: RegisterSNRStatements in host/db/statements/SNRStatements.cpp
ZXDB_CURSOR(YBGetYBVolumesBySubclientId, YBGetYBVolumesBySubclientId_COLUMNS, "i|i|i|i|i|i|i|i|i|i|i|i|i|i|s1025|s257|",
            "SET NOCOUNT ON \n"
            "\tSELECT Q.* \n"
            "\tFROM YBVolume Q, YBSubclientYBVolumes S \n"
            "\tWHERE (Q.id = S.YBVolumeId AND S.Scid = %d) \n"
            "\tORDER BY Q.id ASC \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBGetYBVolumesBySubclientId", (int subclientId))
