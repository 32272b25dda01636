// The global history names of the devices of one SNR volume, one row per device
// that has one. The join also returns the device columns; the row keeps the
// three history-name columns in front.
#pragma once

#include "rows/RowFamily.h"

#define YBGetTzGlobalHistoryNameByVolumeId_COLUMNS(I, B, S) \
    I(DeviceId)                                             \
    S(GlobalHistoryName, 1025)                              \
    I(Flags)

// SQLite statement run: RegisterSNRStatements in host/db/statements/SNRStatements.cpp
ZXDB_CURSOR(YBGetTzGlobalHistoryNameByVolumeId, YBGetTzGlobalHistoryNameByVolumeId_COLUMNS, "i|s1025|i|",
            "SET NOCOUNT ON \n"
            "\tSELECT * \n"
            "\tFROM YBTzHistoryName JOIN YBPhysicalDevice ON (DeviceId = Id AND SNRVolumeId = %d) \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBGetTzGlobalHistoryNameByVolumeId", (int snrVolumeId))
