// The devices of one SNR volume, whatever their client, in ascending id order.
#pragma once

#include "rows/Db/Cursor/YBRowColumns.h"
#include "rows/RowFamily.h"

#define YBGetSNRDeviceNameBySNRVolId_COLUMNS(I, B, S) YB_PHYSICAL_DEVICE_COLUMNS(I, B, S)

// SQLite statement run: RegisterSNRStatements in host/db/statements/SNRStatements.cpp
ZXDB_CURSOR(YBGetSNRDeviceNameBySNRVolId, YBGetSNRDeviceNameBySNRVolId_COLUMNS, "i|i|i|s1025|i|s1025|s129|i|",
            "SET NOCOUNT ON \n"
            "\tDECLARE @inSNRVolId \tinteger \n"
            "\tSET @inSNRVolId = %d \n"
            "\tSELECT * \n"
            "\tFROM YBPhysicalDevice \n"
            "\tWHERE SNRVolumeId = @inSNRVolId \n"
            "\tORDER BY id ASC \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBGetSNRDeviceNameBySNRVolId", (int snrVolumeId))
