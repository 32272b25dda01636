// The active subclients of one application type whose current "Replication
// Policy" property names the policy.
#pragma once

#include "rows/RowFamily.h"

#define YBGetSCListByYBPolicy_COLUMNS(I, B, S) \
    I(SCId)

// SQLite statement run: RegisterFileFlrCleanupStatements in host/db/statements/FileFlrCleanupStatements.cpp
ZXDB_CURSOR(YBGetSCListByYBPolicy, YBGetSCListByYBPolicy_COLUMNS, "i|",
            "SET NOCOUNT ON \n"
            "DECLARE @inPolicyId \tinteger \n"
            "DECLARE @inAppType\t\tinteger \n"
            "SET @inPolicyId = %d \n"
            "SET @inAppType\t= %d \n"
            "SELECT A.id \n"
            "FROM DHT_Application A, DHT_SubClientProp SCP \n"
            "WHERE A.AppTypeId = @inAppType \n"
            "AND A.subclientStatus = 0 \n"
            "AND A.id = SCP.componentNameId AND SCP.modified = 0 \n"
            "AND SCP.attrName = 'Replication Policy' \n"
            "AND ISNUMERIC(SCP.attrVal) = 1 \n"
            "AND @inPolicyId = CONVERT(INT, SCP.attrVal) \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBGetSCListByYBPolicy", (int policyId, int appType))
