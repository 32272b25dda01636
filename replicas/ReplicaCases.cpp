// The request codes of replication volumes and the case that answers each.
#include "replicas/ReplicaCases.h"
#include "service/ServedCases.h"

void BindReplicaCases(CaseRegistry& cases)
{
    // Add and update in message versions 1, 42, 3, 4 and 5.
    cases.bind(0x35000047, AddReplicationVolumeCaseV1);
    cases.bind(0x35000085, AddReplicationVolumeCase42);
    cases.bind(0x350000db, AddReplicationVolumeCaseV3);
    cases.bind(0x3500018b, AddReplicationVolumeCaseV4);
    cases.bind(0x350001b7, AddReplicationVolumeCaseV5);
    cases.bind(0x35000053, UpdateReplicationVolumeCaseV1);
    cases.bind(0x35000093, UpdateReplicationVolumeCase42);
    cases.bind(0x350000e5, UpdateReplicationVolumeCaseV3);
    cases.bind(0x35000195, UpdateReplicationVolumeCaseV4);
    cases.bind(0x350001bb, UpdateReplicationVolumeCaseV5);

    // Queries: by id and the list in versions 1, 42, 3, 4 and 5; by job in
    // versions 1 to 4; by unique snapshot id in versions 1 to 3; by subclient.
    cases.bind(0x35000049, QueryReplicationVolumeCaseV1);
    cases.bind(0x35000089, QueryReplicationVolumeCase42);
    cases.bind(0x350000df, QueryReplicationVolumeCaseV3);
    cases.bind(0x3500018f, QueryReplicationVolumeCaseV4);
    cases.bind(0x350001b9, QueryReplicationVolumeCaseV5);
    cases.bind(0x35000055, GetReplicationVolumeListCaseV1);
    cases.bind(0x35000091, GetReplicationVolumeListCase42);
    cases.bind(0x350000e3, GetReplicationVolumeListCaseV3);
    cases.bind(0x35000193, GetReplicationVolumeListCaseV4);
    cases.bind(0x350001bd, GetReplicationVolumeListCaseV5);
    cases.bind(0x35000087, QueryReplicationVolumeByJobIdCaseV1);
    cases.bind(0x350000dd, QueryReplicationVolumeByJobIdCaseV2);
    cases.bind(0x3500018d, QueryReplicationVolumeByJobIdCaseV3);
    cases.bind(0x350001c5, QueryReplicationVolumeByJobIdCaseV4);
    cases.bind(0x35000141, QueryReplicationVolumeByUniqueSnapIdCaseV1);
    cases.bind(0x35000197, QueryReplicationVolumeByUniqueSnapIdCaseV2);
    cases.bind(0x350001c7, QueryReplicationVolumeByUniqueSnapIdCaseV3);
    cases.bind(0x350001d3, QueryYBVolumesCase);

    // Removal of one volume.
    cases.bind(0x35000051, RemoveReplicationVolumeCase);

    // Latest replica of a primary volume in versions 1, 42, 3 and 4;
    // permanent replicas: creation in versions 1, 42, 3 and 4, the query in
    // versions 1, 42 and 3.
    cases.bind(0x3500003d, GetLatestRepVolByPrimaryIdCaseV1);
    cases.bind(0x350000b1, GetLatestRepVolByPrimaryIdCase42);
    cases.bind(0x350000f3, GetLatestRepVolByPrimaryIdCaseV3);
    cases.bind(0x3500015d, GetLatestRepVolByPrimaryIdCaseV4);
    cases.bind(0x3500005f, CreatePermanentReplicaCaseV1);
    cases.bind(0x3500008b, CreatePermanentReplicaCase42);
    cases.bind(0x35000117, CreatePermanentReplicaCaseV3);
    cases.bind(0x35000161, CreatePermanentReplicaCaseV4);
    cases.bind(0x35000061, QueryPermanentReplicaCaseV1);
    cases.bind(0x3500008d, QueryPermanentReplicaCase42);
    cases.bind(0x350000e1, QueryPermanentReplicaCaseV3);

    // Reservation, and the application directories of replicas (the last
    // three answer through their operations' own replies).
    cases.bind(0x3500007b, ReserveReplicationVolumesCase);
    cases.bind(0x3500007f, UnreserveReplicationVolumesCase);
    cases.bind(0x350000d9, CopyAppDirsCase);
    cases.bind(0x35000073, QueryAppDirByReplicaVolCase);
    cases.bind(0x35000083, UpdateAppDirModifyTimeCase);
    cases.bind(0x35000045, CreateApplicationDirsRecordsCase);
    cases.bind(0x3500003f, GetAppDirsBySubclientCase);
    cases.bind(0x35000043, GetAppDirsByClientCase);

    // Retention pruning.
    cases.bind(0x35000081, PruneReplicationVolumesCase);
}
