// The request cases of replication volumes, each defined at the bottom of
// its operation's file and bound to its request code in
// replicas/ReplicaCases.cpp.
#pragma once

#include "service/CaseRegistry.h"

// Add (replicas/ReplicaVolumeAdd.cpp), by message version.
extern const ServedCase AddReplicationVolumeCaseV1;
extern const ServedCase AddReplicationVolumeCase42;
extern const ServedCase AddReplicationVolumeCaseV3;
extern const ServedCase AddReplicationVolumeCaseV4;
extern const ServedCase AddReplicationVolumeCaseV5;

// Update (replicas/ReplicaVolumeUpdate.cpp), by message version.
extern const ServedCase UpdateReplicationVolumeCaseV1;
extern const ServedCase UpdateReplicationVolumeCase42;
extern const ServedCase UpdateReplicationVolumeCaseV3;
extern const ServedCase UpdateReplicationVolumeCaseV4;
extern const ServedCase UpdateReplicationVolumeCaseV5;

// Queries (replicas/ReplicaVolumeQueries.cpp), by message version.
extern const ServedCase QueryReplicationVolumeCaseV1;
extern const ServedCase QueryReplicationVolumeCase42;
extern const ServedCase QueryReplicationVolumeCaseV3;
extern const ServedCase QueryReplicationVolumeCaseV4;
extern const ServedCase QueryReplicationVolumeCaseV5;
extern const ServedCase GetReplicationVolumeListCaseV1;
extern const ServedCase GetReplicationVolumeListCase42;
extern const ServedCase GetReplicationVolumeListCaseV3;
extern const ServedCase GetReplicationVolumeListCaseV4;
extern const ServedCase GetReplicationVolumeListCaseV5;
extern const ServedCase QueryReplicationVolumeByJobIdCaseV1;
extern const ServedCase QueryReplicationVolumeByJobIdCaseV2;
extern const ServedCase QueryReplicationVolumeByJobIdCaseV3;
extern const ServedCase QueryReplicationVolumeByJobIdCaseV4;
extern const ServedCase QueryReplicationVolumeByUniqueSnapIdCaseV1;
extern const ServedCase QueryReplicationVolumeByUniqueSnapIdCaseV2;
extern const ServedCase QueryReplicationVolumeByUniqueSnapIdCaseV3;
extern const ServedCase QueryYBVolumesCase;

// Removal (replicas/ReplicaVolumeRemoval.cpp).
extern const ServedCase RemoveReplicationVolumeCase;

// Latest replica of a primary volume (replicas/LatestReplica.cpp) and
// permanent replicas (replicas/PermanentReplicas.cpp), by message version.
extern const ServedCase GetLatestRepVolByPrimaryIdCaseV1;
extern const ServedCase GetLatestRepVolByPrimaryIdCase42;
extern const ServedCase GetLatestRepVolByPrimaryIdCaseV3;
extern const ServedCase GetLatestRepVolByPrimaryIdCaseV4;
extern const ServedCase CreatePermanentReplicaCaseV1;
extern const ServedCase CreatePermanentReplicaCase42;
extern const ServedCase CreatePermanentReplicaCaseV3;
extern const ServedCase CreatePermanentReplicaCaseV4;
extern const ServedCase QueryPermanentReplicaCaseV1;
extern const ServedCase QueryPermanentReplicaCase42;
extern const ServedCase QueryPermanentReplicaCaseV3;

// Reservation (replicas/ReplicaReservation.cpp).
extern const ServedCase ReserveReplicationVolumesCase;
extern const ServedCase UnreserveReplicationVolumesCase;

// Application directories (replicas/AppDirCopies.cpp, AppDirReplies.cpp).
extern const ServedCase CopyAppDirsCase;
extern const ServedCase QueryAppDirByReplicaVolCase;
extern const ServedCase UpdateAppDirModifyTimeCase;
extern const ServedCase CreateApplicationDirsRecordsCase;
extern const ServedCase GetAppDirsBySubclientCase;
extern const ServedCase GetAppDirsByClientCase;

// Retention pruning (replicas/RetentionPruning.cpp).
extern const ServedCase PruneReplicationVolumesCase;
