// Argument and result records of retention pruning, the request and reply of
// its request code, and the reading of the keep settings of a policy.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "replicas/KeepRule.h"

struct PruneReplicationVolumeArgs_t {
    int32_t CurrentTime = 0;   // seconds since the epoch; a volume is due once creation + retention reaches it
    bool JobsRunning = false;  // replication jobs are running
};

// The ids of the volumes that had pruning problems, in the order met.
struct PruneReplicationVolumeRet_t {
    std::vector<int32_t> volumeIds;
};

// What the skip rule while jobs run looks at of one volume.
struct YBSkipPruningArgs_t {
    int32_t CurrentRole = -1;
    int32_t SnapEngineType = -1;
    bool TransportableSnap = false;
    bool VSSPruningAllowed = false;  // "nPruneWithJobsRunning" is PruneVSSSnapshots
};

// "nPruneWithJobsRunning" value that lets shadow-copy snapshots go while jobs run.
constexpr int PruneVSSSnapshots = 2;

// 0x35000081, "REPLICA_PM_PruneReplicaVolume_REQ".
struct repPruneReplicaVolumeReq {
    int32_t CurrentTime;
};
// 0x35000082: status 1 on success, else 0 with the ids of the volumes that
// had problems (none when there were none to send).
struct repPruneReplicaVolumeResp {
    uint32_t status = 0;
    alignas(8) uint32_t count = 0;
    int32_t* ids = nullptr;
};

namespace replica_detail {

// "nPruneWithJobsRunning": 0 skips the pass while jobs run, 1 runs it,
// PruneVSSSnapshots runs it over non-transportable shadow copies too.
int PruneWithJobsRunning();

// The keep counts of the policy named: policy + "_daily", "_weekly",
// "_monthly" (up to 3650 days, 520 weeks, 120 months), a 0 or a value not
// taken replaced by "SaveDailySnaps", "SaveWeeklySnaps" or
// "SaveMonthlySnaps" (0 when not taken); first mode when policy +
// "_SaveFirstInPeriod" is 1.
keep_rule::KeepCounts ReadKeepCounts(const std::string& policyName);

}  // namespace replica_detail
