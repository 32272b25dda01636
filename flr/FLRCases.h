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

// Consistency point queries (flr/CPQueries.cpp): the points of a set, a
// point by its id and the point of a job, by message version.
extern const ServedCase QueryFLRCPointsByFLRSetIdCase;
extern const ServedCase QueryFLRSnapshotsByCPIdCaseV1;
extern const ServedCase QueryFLRSnapshotsByCPIdCaseV2;
extern const ServedCase QueryFLRCPByJobIdCaseV1;
extern const ServedCase QueryFLRCPByJobIdCaseV2;
extern const ServedCase QueryFLRCPByJobIdCaseV3;

// The latest point of a replication set (flr/LatestCP.cpp), by message version.
extern const ServedCase QueryRepSetLastCPCaseV1;
extern const ServedCase QueryRepSetLastCPCaseV2;
extern const ServedCase QueryRepSetLastCPCaseV3;

// The replication set of destination volumes (flr/RepSetByVolume.cpp).
extern const ServedCase FindRepSetByVolumeCase;

// Recovery point lookups (flr/RecoveryPointLookups.cpp); one case answers
// both versions of the lookup by volume.
extern const ServedCase QueryCPsByClientIdAndAppTypeCase;
extern const ServedCase QueryRPByDstClientIdAndVolNameCase;
extern const ServedCase QueryRPsByDstClientIdCase;
extern const ServedCase QueryFanInRPDetailsCase;
extern const ServedCase QueryFLRSnapBySnapIdCase;
extern const ServedCase QueryCPByIdCase;

// Deleting consistency points (flr/CPDeletion.cpp): every point of a set, or
// one point.
extern const ServedCase DelAllCPsByRepSetIdCase;
extern const ServedCase DelCPCase;

// Rebuilding a destination client's points from its snapshot list
// (flr/CPRebuild.cpp), with snapshots of version 1 or 2.
extern const ServedCase CreateCPCase2V1;
extern const ServedCase CreateCPCase2V2;

// Pruning a replication set and the fan-in points of a volume (flr/Pruning.cpp).
extern const ServedCase PruneRepSetCase;
extern const ServedCase PruneFanInRPsCase;
