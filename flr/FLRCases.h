// The request cases of consistency points and FLR, each defined at the bottom
// of its operation's file and bound to its request code in flr/FLRCases.cpp.
#pragma once

#include "service/CaseRegistry.h"

// Consistency points (flr/ConsistencyPoints.cpp): the header-only add, and
// the creation by message version.
extern const ServedCase AddFLRConsistencyPointCase;
extern const ServedCase CreateCPCaseV1;
extern const ServedCase CreateCPCaseV2;
extern const ServedCase CreateCPCaseV3;

// Snapshot mount points and network shares (flr/SnapMountPoints.cpp).
extern const ServedCase AddFLRSnapMountPointCase;
extern const ServedCase DeleteFLRSnapMountPointCase;
extern const ServedCase AddFLRSnapNetworkShareCase;
extern const ServedCase DeleteFLRSnapNetworkShareCase;

// Snapshot paths (flr/SnapshotPaths.cpp).
extern const ServedCase UpdateFLRSnapshotCase;
