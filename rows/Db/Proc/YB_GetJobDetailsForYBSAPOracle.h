// The volumes of one SAP/Oracle job: source and destination volume ids and
// mount paths, the rows of one job adjacent.
#pragma once

#include "rows/RowFamily.h"

#define YB_GetJobDetailsForYBSAPOracle_COLUMNS(I, B, S) \
    B(o_jobId)                                          \
    I(o_srcVolId)                                       \
    I(o_destVolId)                                      \
    S(o_srcMountPath, 256)                              \
    S(o_destMountPath, 256)

// SQLite statement run: RegisterFileFlrCleanupStatements in host/db/statements/FileFlrCleanupStatements.cpp
ZXDB_PROCEDURE(YB_GetJobDetailsForYBSAPOracle, "YB_GetJobDetailsForYBSAPOracle",
               YB_GetJobDetailsForYBSAPOracle_COLUMNS, "b|i|i|s256|s256|", "%d,%d,'%s',%lld",
               "00010003029400020000", "source/include/Db/Proc/YB_GetJobDetailsForYBSAPOracle",
               (int clientId, int appTypeId, const char* instanceName, long long jobId))
