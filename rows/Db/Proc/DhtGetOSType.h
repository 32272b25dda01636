// The operating system of one client.
#pragma once

#include "rows/RowFamily.h"

#define DhtGetOSType_COLUMNS(I, B, S) \
    I(o_dhtOSId)                      \
    S(o_dhtOSName, 65)                \
    S(o_dhtOSRelease, 65)             \
    S(o_dhtOSType, 65)                \
    S(o_hostName, 256)                \
    S(o_release, 256)

// SQLite statement run: RegisterFileFlrCleanupStatements in host/db/statements/FileFlrCleanupStatements.cpp
ZXDB_PROCEDURE(DhtGetOSType, "dhtGetOSType", DhtGetOSType_COLUMNS, "i|s65|s65|s65|s256|s256|", "%d",
               "00010005008800020000", "source/include/Db/Proc/dhtGetOSType", (int clientId))
