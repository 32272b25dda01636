// The request cases of snap engines, volume snap parameters and replication
// policies, each defined in the file named above its group and bound to its
// request code in policies/PolicyCases.cpp.
#pragma once

#include "service/CaseRegistry.h"

// Snap engines (policies/SnapEngines.cpp), by message version.
extern const ServedCase AddSnapEngineInfoCaseV1;
extern const ServedCase AddSnapEngineInfoCase42;
extern const ServedCase AddSnapEngineInfoCaseV3;
extern const ServedCase QuerySnapEngineInfoCaseV1;
extern const ServedCase QuerySnapEngineInfoCase42;
extern const ServedCase QuerySnapEngineInfoCaseV3;
extern const ServedCase UpdateSnapEngineInfoCaseV1;
extern const ServedCase UpdateSnapEngineInfoCase42;
extern const ServedCase UpdateSnapEngineInfoCaseV3;
extern const ServedCase GetSnapEngineInfoListCaseV1;
extern const ServedCase GetSnapEngineInfoListCase42;
extern const ServedCase GetSnapEngineInfoListCaseV3;
extern const ServedCase RemoveSnapEngineInfoCase;
extern const ServedCase RemoveSnapEngineInfoByNameCase;

// Volume snap parameters (policies/VolSnapParams.cpp), by message version.
extern const ServedCase AddVolSnapParamsCaseV1;
extern const ServedCase AddVolSnapParamsCaseV2;
extern const ServedCase QueryVolSnapParamsCaseV1;
extern const ServedCase QueryVolSnapParamsCaseV2;
extern const ServedCase UpdateVolSnapParamCaseV1;
extern const ServedCase UpdateVolSnapParamCaseV2;
extern const ServedCase GetVolSnapParamsListCaseV1;
extern const ServedCase GetVolSnapParamsListCaseV2;
extern const ServedCase RemoveVolSnapParamCase;

// Replication policies (policies/ReplicationPolicyRequests.cpp), by message version.
extern const ServedCase AddReplicationPolicyCaseV1;
extern const ServedCase AddReplicationPolicyCaseV2;
extern const ServedCase AddReplicationPolicyCaseV3;
extern const ServedCase QueryReplicationPolicyCaseV1;
extern const ServedCase QueryReplicationPolicyCaseV2;
extern const ServedCase QueryReplicationPolicyCaseV3;
extern const ServedCase UpdateReplicationPolicyCaseV1;
extern const ServedCase UpdateReplicationPolicyCaseV2;
extern const ServedCase UpdateReplicationPolicyCaseV3;
extern const ServedCase GetReplicationPolicyListCaseV1;
extern const ServedCase GetReplicationPolicyListCaseV2;
extern const ServedCase GetReplicationPolicyListCaseV3;
extern const ServedCase QueryReplicationPolicyByPoolIdCaseV1;
extern const ServedCase QueryReplicationPolicyByPoolIdCaseV2;
extern const ServedCase QueryReplicationPolicyByPoolIdCaseV3;
extern const ServedCase RemoveReplicationPolicyCase;
extern const ServedCase GetSCListByYBPolicyCase;
