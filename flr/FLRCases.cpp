// The request codes of consistency points and FLR and the case that answers each.
#include "flr/FLRCases.h"
#include "service/ServedCases.h"

void BindFLRCases(CaseRegistry& cases)
{
    // Consistency points: the header-only add, and the creation in message
    // versions 1, V2 and V3.
    cases.bind(0x350001d5, AddFLRConsistencyPointCase);
    cases.bind(0x350001db, CreateCPCaseV1);
    cases.bind(0x350001fe, CreateCPCaseV2);
    cases.bind(0x3500024c, CreateCPCaseV3);

    // Snapshot mount points, network shares and paths.
    cases.bind(0x350001df, AddFLRSnapMountPointCase);
    cases.bind(0x350001e1, DeleteFLRSnapMountPointCase);
    cases.bind(0x350001e3, AddFLRSnapNetworkShareCase);
    cases.bind(0x350001e5, DeleteFLRSnapNetworkShareCase);
    cases.bind(0x35000246, UpdateFLRSnapshotCase);

    // Queries of consistency points, the latest point of a set, the set of a
    // volume and the recovery point lookups.
    cases.bind(0x350001d7, QueryFLRCPointsByFLRSetIdCase);
    cases.bind(0x350001dd, QueryFLRSnapshotsByCPIdCaseV1);
    cases.bind(0x35000200, QueryFLRSnapshotsByCPIdCaseV2);
    cases.bind(0x350001e7, QueryFLRCPByJobIdCaseV1);
    cases.bind(0x35000202, QueryFLRCPByJobIdCaseV2);
    cases.bind(0x35000252, QueryFLRCPByJobIdCaseV3);
    cases.bind(0x350001e9, QueryRepSetLastCPCaseV1);
    cases.bind(0x35000204, QueryRepSetLastCPCaseV2);
    cases.bind(0x35000254, QueryRepSetLastCPCaseV3);
    cases.bind(0x350001f3, FindRepSetByVolumeCase);
    cases.bind(0x350001f7, QueryCPsByClientIdAndAppTypeCase);
    cases.bind(0x35000228, QueryRPByDstClientIdAndVolNameCase);
    cases.bind(0x35000248, QueryRPByDstClientIdAndVolNameCase);
    cases.bind(0x3500022a, QueryFanInRPDetailsCase);
    cases.bind(0x3500022c, QueryFLRSnapBySnapIdCase);
    cases.bind(0x3500024a, QueryCPByIdCase);
    cases.bind(0x35000256, QueryRPsByDstClientIdCase);

    // Rebuilding a client's points from its snapshot list, deleting points,
    // and pruning sets and fan-in points.
    cases.bind(0x350001fd, CreateCPCase2V1);
    cases.bind(0x35000245, CreateCPCase2V2);
    cases.bind(0x350001eb, DelAllCPsByRepSetIdCase);
    cases.bind(0x350001ef, DelCPCase);
    cases.bind(0x350001f1, PruneRepSetCase);
    cases.bind(0x35000232, PruneFanInRPsCase);
}
