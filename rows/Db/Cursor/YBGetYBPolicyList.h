// Every replication policy with an id above 0, in ascending id order; the
// columns of YBPolicy in table order.
#pragma once

#include "rows/RowFamily.h"

#define YBGetYBPolicyList_COLUMNS(I, B, S) \
    I(id) \
    S(name, 129) \
    I(RetentionSeconds) \
    I(Flags) \
    I(CopyMgrCtrlId) \
    I(SnapEngineInfoId) \
    I(VolumeScratchPoolId) \
    I(NSnapshot) \
    I(CopyManagerType)

// SQLite statement run: RegisterFileFlrCleanupStatements in host/db/statements/FileFlrCleanupStatements.cpp
ZXDB_CURSOR(YBGetYBPolicyList, YBGetYBPolicyList_COLUMNS, "i|s129|i|i|i|i|i|i|i|",
            "SET NOCOUNT ON \n"
            "\tSELECT * \n"
            "\tFROM YBPolicy \n"
            "\tWHERE id > 0 \n"
            "\tORDER BY id ASC \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBGetYBPolicyList", ())
