// The consistency point ids of a client for one application type.
#pragma once

#include "rows/RowFamily.h"

#define YBGetCPsBYClientIDAndAppType_COLUMNS(I, B, S) I(CpId)

// SQLite statement run: RegisterFileFlrCleanupStatements in host/db/statements/FileFlrCleanupStatements.cpp
ZXDB_PROCEDURE(YBGetCPsBYClientIDAndAppType, "YBGetCPsBYClientIDAndAppType", YBGetCPsBYClientIDAndAppType_COLUMNS,
               "i|", "%d,N'%s'", "00d:0000000000000000", "source/include/Db/Proc/YBGetCPsBYClientIDAndAppType",
               (int clientId, const char* appType))
