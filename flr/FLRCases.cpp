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
}
