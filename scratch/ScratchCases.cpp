// The request codes of scratch volumes and pools and the case that answers each.
#include "scratch/ScratchCases.h"
#include "service/ServedCases.h"

void BindScratchCases(CaseRegistry& cases)
{
    // Pool catalogue: list, add, query and update in message versions 1, 2
    // and 3; remove in versions 1 and "70".
    cases.bind(0x3500000f, ListPoolsCaseV1);
    cases.bind(0x350000bf, ListPoolsCaseV2);
    cases.bind(0x3500016b, ListPoolsCaseV3);
    cases.bind(0x35000011, AddPoolCaseV1);
    cases.bind(0x350000c1, AddPoolCaseV2);
    cases.bind(0x35000171, AddPoolCaseV3);
    cases.bind(0x3500001b, QueryPoolCaseV1);
    cases.bind(0x350000c3, QueryPoolCaseV2);
    cases.bind(0x3500016d, QueryPoolCaseV3);
    cases.bind(0x3500001d, UpdatePoolCaseV1);
    cases.bind(0x350000c5, UpdatePoolCaseV2);
    cases.bind(0x3500016f, UpdatePoolCaseV3);
    cases.bind(0x35000013, RemovePoolCaseV1);
    cases.bind(0x3500022e, RemovePoolCase70);

    // Scratch volume lookups, and the cost category of a pool's volumes.
    cases.bind(0x35000077, QueryRVScratchVolBySNRVolIdCaseV1);
    cases.bind(0x350001af, QueryRVScratchVolBySNRVolIdCaseV2);
    cases.bind(0x350001a5, QueryRVScratchVolCase);
    cases.bind(0x35000065, GetAvailSNRVolByPoolIdCase);
    cases.bind(0x350000b7, GetClientIdByPoolIdCase);
    cases.bind(0x35000131, UpdateCostToVolsInPoolCase);

    // Pool contents: message versions 1, 42, V3, V4, V5, V6.
    cases.bind(0x3500000d, PoolContentsCaseV1);
    cases.bind(0x35000097, PoolContentsCase42);
    cases.bind(0x350000e9, PoolContentsCaseV3);
    cases.bind(0x3500015b, PoolContentsCaseV4);
    cases.bind(0x350001b5, PoolContentsCaseV5);
    cases.bind(0x3500020a, PoolContentsCaseV6);

    // Pool membership: a volume added or moved, a scratch volume removed.
    cases.bind(0x35000015, AddRVScratchVolCase);
    cases.bind(0x35000017, RemoveRVScratchVolCase);

    // Release of a scratch volume: message versions 1 and 2.
    cases.bind(0x35000019, ReleaseRVScratchVolCaseV1);
    cases.bind(0x350001a3, ReleaseRVScratchVolCaseV2);
}
