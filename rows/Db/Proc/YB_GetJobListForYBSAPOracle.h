// The SAP/Oracle jobs of a client's application type and instance, with their
// creation times.
#pragma once

#include "rows/RowFamily.h"

#define YB_GetJobListForYBSAPOracle_COLUMNS(I, B, S) \
    I(o_jobId)                                       \
    I(o_creationTime)

// SQLite statement run: RegisterFileFlrCleanupStatements in host/db/statements/FileFlrCleanupStatements.cpp
ZXDB_PROCEDURE(YB_GetJobListForYBSAPOracle, "YB_GetJobListForYBSAPOracle", YB_GetJobListForYBSAPOracle_COLUMNS,
               "i|i|", "%d,%d,'%s'", "00010001029400020000",
               "source/include/Db/Proc/YB_GetJobListForYBSAPOracle",
               (int clientId, int appTypeId, const char* instanceName))
