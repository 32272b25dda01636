// The request cases of snapshot cleanup and job history, each defined in the
// file named above it; BindCleanupCases binds them to their codes.
#pragma once

#include "service/CaseRegistry.h"

// cleanup/ClientCleanup.cpp
extern const ServedCase CleanupByClientIdCase;

// cleanup/JobVolumeHistoryCases.cpp
extern const ServedCase AddVolumeToYBJobHistoryCase;
extern const ServedCase QueryYBJobHistoryByJobIdCase;
extern const ServedCase QueryYBJobHistoryByIdCase;
extern const ServedCase QueryYBJobHistoryByVolIdCase;
extern const ServedCase GetYBJobHistoryListCase;
extern const ServedCase DeleteYBJobHistoryByJobIdCase;
extern const ServedCase AddVolumeToYBJobHistory80Case;
extern const ServedCase QueryYBJobHistoryByJobId80Case;
extern const ServedCase QueryYBJobHistoryById80Case;
extern const ServedCase QueryYBJobHistoryByVolId80Case;
extern const ServedCase GetYBJobHistoryList80Case;

// cleanup/SAPOracleJobs.cpp
extern const ServedCase GetJobListForYBSAPOracleCase;
extern const ServedCase GetJobDetailsForYBSAPOracleCase;

// cleanup/SnapshotStates.cpp
extern const ServedCase QueryMountedSnapsCase;
extern const ServedCase IsDevVSSSnapCase;
