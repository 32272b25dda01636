// Prunes the job volume history at the end of a retention pass. No argument;
// one row with retVal.
#pragma once

#include "rows/RowFamily.h"

#define YBPruneJobHistory_COLUMNS(I, B, S) I(retVal)

// SQLite statement run: RegisterSNRStatements in host/db/statements/SNRStatements.cpp
ZXDB_PROCEDURE(YBPruneJobHistory, "YBPruneJobHistory", YBPruneJobHistory_COLUMNS, "i|", "", "00010003030200020000",
               "source/include/Db/Proc/YBPruneJobHistory", ())
