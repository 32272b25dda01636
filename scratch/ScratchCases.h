// The request cases of scratch volumes and pools, each defined at the bottom
// of its operation's file and bound to its request code in
// scratch/ScratchCases.cpp.
#pragma once

#include "service/CaseRegistry.h"

// Scratch pool catalogue (scratch/ScratchPoolRequests.cpp), by message version.
extern const ServedCase AddPoolCaseV1;
extern const ServedCase AddPoolCaseV2;
extern const ServedCase AddPoolCaseV3;
extern const ServedCase QueryPoolCaseV1;
extern const ServedCase QueryPoolCaseV2;
extern const ServedCase QueryPoolCaseV3;
extern const ServedCase ListPoolsCaseV1;
extern const ServedCase ListPoolsCaseV2;
extern const ServedCase ListPoolsCaseV3;
extern const ServedCase UpdatePoolCaseV1;
extern const ServedCase UpdatePoolCaseV2;
extern const ServedCase UpdatePoolCaseV3;
extern const ServedCase RemovePoolCaseV1;
extern const ServedCase RemovePoolCase70;

// Scratch volume lookups (scratch/ScratchLookups.cpp).
extern const ServedCase QueryRVScratchVolBySNRVolIdCaseV1;
extern const ServedCase QueryRVScratchVolBySNRVolIdCaseV2;
extern const ServedCase QueryRVScratchVolCase;
extern const ServedCase GetAvailSNRVolByPoolIdCase;
extern const ServedCase GetClientIdByPoolIdCase;
extern const ServedCase UpdateCostToVolsInPoolCase;

// Pool contents (scratch/PoolContents.cpp), by message version.
extern const ServedCase PoolContentsCaseV1;
extern const ServedCase PoolContentsCase42;
extern const ServedCase PoolContentsCaseV3;
extern const ServedCase PoolContentsCaseV4;
extern const ServedCase PoolContentsCaseV5;
extern const ServedCase PoolContentsCaseV6;

// Pool membership (scratch/ScratchMembership.cpp).
extern const ServedCase AddRVScratchVolCase;
extern const ServedCase RemoveRVScratchVolCase;

// Release of a scratch volume (scratch/ScratchRelease.cpp), by message version.
extern const ServedCase ReleaseRVScratchVolCaseV1;
extern const ServedCase ReleaseRVScratchVolCaseV2;
