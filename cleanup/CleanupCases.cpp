// The request codes of snapshot cleanup and job history and the case that answers each.
#include "cleanup/CleanupCases.h"

#include "service/ServedCases.h"

void BindCleanupCases(CaseRegistry& cases)
{
    // Job volume history, version 1.
    cases.bind(0x35000119, AddVolumeToYBJobHistoryCase);
    cases.bind(0x35000121, QueryYBJobHistoryByJobIdCase);
    cases.bind(0x35000123, QueryYBJobHistoryByIdCase);
    cases.bind(0x35000125, QueryYBJobHistoryByVolIdCase);
    cases.bind(0x35000127, GetYBJobHistoryListCase);
    cases.bind(0x35000129, DeleteYBJobHistoryByJobIdCase);
    // Job volume history, version 80.
    cases.bind(0x3500023a, AddVolumeToYBJobHistory80Case);
    cases.bind(0x3500023c, QueryYBJobHistoryByJobId80Case);
    cases.bind(0x3500023f, QueryYBJobHistoryById80Case);
    cases.bind(0x35000241, QueryYBJobHistoryByVolId80Case);
    cases.bind(0x35000243, GetYBJobHistoryList80Case);
    // Snapshot state queries.
    cases.bind(0x350001fb, QueryMountedSnapsCase);
    cases.bind(0x35000230, QueryMountedSnapsCase);
    cases.bind(0x35000234, IsDevVSSSnapCase);
    // SAP/Oracle job views.
    cases.bind(0x35000236, GetJobListForYBSAPOracleCase);
    cases.bind(0x35000238, GetJobDetailsForYBSAPOracleCase);
}
