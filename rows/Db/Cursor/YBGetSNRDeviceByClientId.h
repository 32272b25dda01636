// The SNR devices of one client, in ascending id order.
#pragma once

#include "rows/Db/Cursor/YBRowColumns.h"
#include "rows/RowFamily.h"

#define YBGetSNRDeviceByClientId_COLUMNS(I, B, S) YB_PHYSICAL_DEVICE_COLUMNS(I, B, S)

// SQLite statement run: RegisterSNRStatements in host/db/statements/SNRStatements.cpp
ZXDB_CURSOR(YBGetSNRDeviceByClientId, YBGetSNRDeviceByClientId_COLUMNS, "i|i|i|s1025|i|s1025|s129|i|",
            "SET NOCOUNT ON \n"
            "\tSELECT * \n"
            "\tFROM YBPhysicalDevice \n"
            "\tWHERE ClientId = %d \n"
            "\tORDER BY id ASC \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBGetSNRDeviceByClientId", (int clientId))
