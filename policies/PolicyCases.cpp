// The request codes of policies and snap engines and the case that answers each.
#include "policies/PolicyCases.h"
#include "service/ServedCases.h"

void BindPolicyCases(CaseRegistry& cases)
{
    // Replication policies: add, query by id, update, list and the list by
    // scratch pool in message versions 1 to 3; remove; the subclients that
    // name a policy.
    cases.bind(0x3500001f, AddReplicationPolicyCaseV1);
    cases.bind(0x350000c7, AddReplicationPolicyCaseV2);
    cases.bind(0x35000173, AddReplicationPolicyCaseV3);
    cases.bind(0x35000021, QueryReplicationPolicyCaseV1);
    cases.bind(0x350000c9, QueryReplicationPolicyCaseV2);
    cases.bind(0x35000175, QueryReplicationPolicyCaseV3);
    cases.bind(0x35000025, UpdateReplicationPolicyCaseV1);
    cases.bind(0x350000cb, UpdateReplicationPolicyCaseV2);
    cases.bind(0x35000177, UpdateReplicationPolicyCaseV3);
    cases.bind(0x35000027, GetReplicationPolicyListCaseV1);
    cases.bind(0x350000cd, GetReplicationPolicyListCaseV2);
    cases.bind(0x35000179, GetReplicationPolicyListCaseV3);
    cases.bind(0x350000b5, QueryReplicationPolicyByPoolIdCaseV1);
    cases.bind(0x350000cf, QueryReplicationPolicyByPoolIdCaseV2);
    cases.bind(0x35000181, QueryReplicationPolicyByPoolIdCaseV3);
    cases.bind(0x35000023, RemoveReplicationPolicyCase);
    cases.bind(0x350001d1, GetSCListByYBPolicyCase);

    // Snap engines: add, query, update and list in message versions 1, 42, V3;
    // remove by id and by name.
    cases.bind(0x35000029, AddSnapEngineInfoCaseV1);
    cases.bind(0x350000a1, AddSnapEngineInfoCase42);
    cases.bind(0x35000133, AddSnapEngineInfoCaseV3);
    cases.bind(0x3500002b, QuerySnapEngineInfoCaseV1);
    cases.bind(0x350000a3, QuerySnapEngineInfoCase42);
    cases.bind(0x35000135, QuerySnapEngineInfoCaseV3);
    cases.bind(0x3500002f, UpdateSnapEngineInfoCaseV1);
    cases.bind(0x350000a5, UpdateSnapEngineInfoCase42);
    cases.bind(0x35000137, UpdateSnapEngineInfoCaseV3);
    cases.bind(0x35000031, GetSnapEngineInfoListCaseV1);
    cases.bind(0x350000a7, GetSnapEngineInfoListCase42);
    cases.bind(0x35000139, GetSnapEngineInfoListCaseV3);
    cases.bind(0x3500002d, RemoveSnapEngineInfoCase);
    cases.bind(0x3500008f, RemoveSnapEngineInfoByNameCase);

    // Volume snap parameters: add, query, update and list in message versions
    // 1 and V2; remove.
    cases.bind(0x35000033, AddVolSnapParamsCaseV1);
    cases.bind(0x350000d1, AddVolSnapParamsCaseV2);
    cases.bind(0x35000035, QueryVolSnapParamsCaseV1);
    cases.bind(0x350000d3, QueryVolSnapParamsCaseV2);
    cases.bind(0x35000039, UpdateVolSnapParamCaseV1);
    cases.bind(0x350000d5, UpdateVolSnapParamCaseV2);
    cases.bind(0x3500003b, GetVolSnapParamsListCaseV1);
    cases.bind(0x350000d7, GetVolSnapParamsListCaseV2);
    cases.bind(0x35000037, RemoveVolSnapParamCase);
}
