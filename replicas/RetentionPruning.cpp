// Retention pruning: one pass over every replication volume that frees what
// each due volume, not reserved and not protected by its policy's keep rule,
// holds on the clients; then stale SNR volume lock flags are reset and the
// job history is pruned. The request case of 0x35000081 is at the bottom.
#include "replicas/RetentionPruning.h"

#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "host/ZXPlatformInfo.h"
#include "host/clients/ZXJobCtrlClient.h"
#include "host/db/SNRTables.h"
#include "policies/ReplicationPolicies.h"
#include "replicas/PruneReleases.h"
#include "replicas/ReplicaCases.h"
#include "replicas/ReplicaRecords.h"
#include "replicas/ReplicaVolumeQueries.h"
#include "rows/Db/Proc/YBPruneJobHistory.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/ReplicationMgr.h"
#include "service/ReplyArray.h"
#include "service/TableLock.h"
#include "snr/DeviceQueries.h"

using replica_detail::PruneLog;

namespace {

const char PruneSection[] = "~ReplicationMgr";

// True when the volume is to wait while replication jobs run.
bool YBSkipPrunningIfJobsAreRunning(const YBSkipPruningArgs_t& args)
{
    const int32_t role = args.CurrentRole;
    const int32_t engine = args.SnapEngineType;
    if ((role == YBVOL_ROLE_SNAPSHOT || role == YBVOL_ROLE_DESTINATION_SNAPSHOT) && (engine == 0 || engine == 1))
        return true;
    if (role == YBVOL_ROLE_SNAPSHOT && engine == 5) return true;
    if (role == YBVOL_ROLE_DESTINATION_SNAPSHOT && engine != 5) return true;
    if (role == YBVOL_ROLE_SNAPSHOT && engine == 2 && !args.TransportableSnap && !args.VSSPruningAllowed) return true;
    return false;
}

bool RoleAllowsPruning(int32_t role, int32_t engine)
{
    return role == YBVOL_ROLE_REPLICA || (role == YBVOL_ROLE_SNAPSHOT && engine != 5) || role == YBVOL_ROLE_COPY ||
           (role == YBVOL_ROLE_DESTINATION_SNAPSHOT && (engine == 5 || engine == 8));
}

bool KeepRuleApplies(int32_t role, int32_t engine)
{
    return (engine == 5 && role == YBVOL_ROLE_DESTINATION_SNAPSHOT) || (engine == 7 && role == YBVOL_ROLE_SNAPSHOT) ||
           (engine == 8 && role == YBVOL_ROLE_DESTINATION_SNAPSHOT);
}

// Snapshots of one series share their primary volume, engine, snap volume,
// policy and role.
using SeriesKey = std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t>;
SeriesKey KeyOf(const ReplicationVolumeV4Record_t& v)
{
    return SeriesKey(v.PrimaryVolumeId, v.SnapEngineType, v.SnapVolumeId, v.ReplicationPolicyId, v.CurrentRole);
}

// The creation times of every series of the list, made on first use. The
// list stays as read for the whole pass: a volume pruned earlier still
// counts as a neighbour.
class SeriesTimes {
public:
    explicit SeriesTimes(const std::vector<ReplicationVolumeV4Record_t>& volumes) : m_volumes(volumes) {}
    const std::vector<long>& of(const ReplicationVolumeV4Record_t& volume)
    {
        if (!m_built) {
            for (const ReplicationVolumeV4Record_t& v : m_volumes) m_series[KeyOf(v)].push_back(v.CreationTime);
            m_built = true;
        }
        return m_series[KeyOf(volume)];
    }

private:
    const std::vector<ReplicationVolumeV4Record_t>& m_volumes;
    bool m_built = false;
    std::map<SeriesKey, std::vector<long>> m_series;
};

std::string Bracketed(const char* name, long value) { return std::string(name) + ":[" + std::to_string(value) + "] "; }

// The entry of a keep rule that could not compute its times.
std::string KeepFailureText(int id, const keep_rule::KeepDecision& d, long ct)
{
    using keep_rule::Failure;
    const std::string head = "\tCould not prune replication volume " + std::to_string(id) + ". ";
    auto bounds = [&](const char* period, const char* unit) {
        const std::string p = unit;
        return head + "Could not determine beginning/end of " + period + ". " + Bracketed("Snaptime", ct) +
               Bracketed((p + "Start").c_str(), d.start) + Bracketed((p + "End").c_str(), d.end) + p +
               "Expiration:[" + std::to_string(d.expire) + "]";
    };
    switch (d.failure) {
    case Failure::DayExpiry: return head + "Could not determine expiration date for daily snaps.";
    case Failure::DayBounds: return bounds("day", "Day");
    case Failure::WeekExpiry: return head + "Could not determine expiration date for weekly snaps.";
    case Failure::WeekBounds: return bounds("week", "Week");
    case Failure::MonthStart: return head + "Could not determine start of month for monthly snaps.";
    case Failure::MonthExpiry: return head + "Could not determine expiration date for monthly snaps.";
    case Failure::MonthBounds: return bounds("month", "Month");
    case Failure::None: break;
    }
    return head;
}

// The entry of a snapshot its policy keeps.
std::string KeepText(int id, const keep_rule::KeepDecision& d, const keep_rule::KeepCounts& counts, long ct)
{
    using keep_rule::Period;
    std::string text = "\tIt is not pruning time for Snap:[" + std::to_string(id) + "]. ";
    if (d.period == Period::Day)
        text += "Daily snaps saved for [" + std::to_string(counts.daily) + "] days. ";
    else if (d.period == Period::Week)
        text += "Weekly snaps saved for [" + std::to_string(counts.weekly) + "] weeks. ";
    else
        text += "Monthly snaps saved for [" + std::to_string(counts.monthly) + "] months. ";
    return text + Bracketed("CreationTime", ct) + Bracketed("ExpireTime", d.expire) +
           Bracketed(counts.saveFirstInPeriod ? "PrevSnapTime" : "NextSnapTime", d.neighbour) +
           Bracketed("PeriodStart", d.start) + "PeriodEnd:[" + std::to_string(d.end) + "].";
}

}  // namespace

namespace replica_detail {

namespace {

// A number of the "~ReplicationMgr" configuration section from 0 to most; 0
// when it is not set or not taken.
int PruneSetting(const std::string& key, unsigned long long most)
{
    return static_cast<int>(ZXPlatformInfo().readSetting(PruneSection, key.c_str(), {most, 0, false}));
}

}  // namespace

int PruneWithJobsRunning() { return PruneSetting("nPruneWithJobsRunning", PruneVSSSnapshots); }

keep_rule::KeepCounts ReadKeepCounts(const std::string& policyName)
{
    // A count keeps snapshots of up to ten years' periods.
    auto count = [&](const char* suffix, const char* fallback, unsigned long long most) {
        const int value = PruneSetting(policyName + suffix, most);
        return value != 0 ? value : PruneSetting(fallback, most);
    };
    keep_rule::KeepCounts counts;
    counts.daily = count("_daily", "SaveDailySnaps", 3650);
    counts.weekly = count("_weekly", "SaveWeeklySnaps", 520);
    counts.monthly = count("_monthly", "SaveMonthlySnaps", 120);
    counts.saveFirstInPeriod = PruneSetting(policyName + "_SaveFirstInPeriod", 1) == 1;
    return counts;
}

}  // namespace replica_detail

bool ReplicationMgr::PruneReplicationVolumes(const PruneReplicationVolumeArgs_t& args, PruneReplicationVolumeRet_t& ret,
                                             ZXJobCtrlClient* jobCtrl)
{
    ret.volumeIds.clear();
    bool result = true;
    int pruneWithJobsRunning = 0;
    GetReplicationVolumeListV4Ret_t listed;
    {
        LockTableRet_t lock;
        if (!LockTable(LockTableArgs_t(REPLICAVOL_LOCK), lock)) return false;
        HeldTableLock held(*this, lock);
        if (args.JobsRunning) {
            pruneWithJobsRunning = replica_detail::PruneWithJobsRunning();
            if (pruneWithJobsRunning == 0) {
                PruneLog(*this, "\tYB Pruning will be skipped while Jobs are running ", __LINE__, MSG);
                return true;
            }
            PruneLog(*this, "\tYB Pruning while Jobs are running registry entry detected", __LINE__, MSG);
        }
        if (!GetReplicationVolumeList(listed)) {
            // Nothing was looked at: the pass did not take place.
            PruneLog(*this, "\tEvent: Replication volumes cannot be pruned\n\tReason: " + listed.errMsg, __LINE__, ERR);
            return false;
        }
    }
    PruneLog(*this, "\t" + std::to_string(listed.volumes.size()) + " replication volumes found", __LINE__, MSG);

    SeriesTimes series(listed.volumes);
    auto problem = [&](int id) {
        ret.volumeIds.push_back(id);
        result = false;
    };
    for (const ReplicationVolumeV4Record_t& volume : listed.volumes) {
        const int id = volume.id;
        const int32_t role = volume.CurrentRole;
        const int32_t engine = volume.SnapEngineType;
        if (jobCtrl != nullptr && jobCtrl->checkQuitFlag()) {
            PruneLog(*this, "\tWarning: Archive pruning process has been killed", __LINE__, WARNING);
            break;
        }
        PruneLog(*this, "\tTrying to prune replication volume " + std::to_string(id), __LINE__, MSG);
        if (volume.DoNotPrune) {
            PruneLog(*this, "\tReplication volume " + std::to_string(id) + " is in use", __LINE__, MSG);
            continue;
        }
        if (args.JobsRunning) {
            YBSkipPruningArgs_t skip;
            skip.CurrentRole = role;
            skip.SnapEngineType = engine;
            skip.TransportableSnap = volume.TransportableSnap;
            skip.VSSPruningAllowed = pruneWithJobsRunning == PruneVSSSnapshots;
            if (YBSkipPrunningIfJobsAreRunning(skip)) {
                PruneLog(*this,
                    "\tINFO:Replication volume " + std::to_string(id) + " will not be pruned while YB jobs are running",
                    __LINE__, MSG);
                continue;
            }
        }
        if (!RoleAllowsPruning(role, engine)) {
            PruneLog(*this,
                "\tYB volume " + std::to_string(id) + " role (" + std::to_string(role) + ") and Snap engine type (" +
                    std::to_string(engine) + ") does not allow prunning",
                __LINE__, MSG);
            continue;
        }
        QueryReplicationPolicyByIdArgs_t policyArgs;
        policyArgs.id = volume.ReplicationPolicyId;
        QueryReplicationPolicyByIdRet_t policy;
        if (!QueryReplicationPolicy(policyArgs, policy)) {
            PruneLog(*this, "\tCould not prune replication volume " + std::to_string(id), __LINE__, WARNING);
            problem(id);
            continue;
        }
        if (role == YBVOL_ROLE_SNAPSHOT && volume.ActivateSnap && volume.IsSnapActive) {
            PruneLog(*this,
                "\tPruning for YB Volume " + std::to_string(id) + " not possible. Reason: Snapshot is active",
                __LINE__, MSG);
            continue;
        }
        if (role == YBVOL_ROLE_SNAPSHOT && volume.MorvaneVolume) {
            PruneLog(*this, "\tPruning for YB Volume " + std::to_string(id) + " not possible. Reason: Morvane snapshot",
                __LINE__, MSG);
            continue;
        }
        // Summed in 64 bits: a retention near the 32-bit limit must not wrap
        // into the past.
        const int64_t retention = policy.record.RetentionSeconds;
        if (retention == 0 || static_cast<int64_t>(volume.CreationTime) + retention > args.CurrentTime) {
            PruneLog(*this,
                "\tIt is not pruning time or retention is set for infinite for replication volume " + std::to_string(id),
                __LINE__, MSG);
            continue;
        }
        if (KeepRuleApplies(role, engine)) {
            const keep_rule::KeepCounts counts = replica_detail::ReadKeepCounts(policy.record.name);
            const keep_rule::KeepDecision d =
                keep_rule::ApplyKeepRule(series.of(volume), volume.CreationTime, static_cast<long>(time(nullptr)), counts);
            if (d.outcome == keep_rule::Outcome::Failed) {
                PruneLog(*this, KeepFailureText(id, d, volume.CreationTime), __LINE__, WARNING);
                result = false;
                continue;
            }
            if (d.outcome == keep_rule::Outcome::Keep) {
                PruneLog(*this, KeepText(id, d, counts, volume.CreationTime), __LINE__, MSG);
                continue;
            }
        }
        if (role == YBVOL_ROLE_SNAPSHOT && engine == 2) {
            QueryReplicationVolumeByIdV3Args_t againArgs;
            againArgs.id = id;
            QueryReplicationVolumeByIdV3Ret_t again;
            if (!QueryReplicationVolume(againArgs, again, nullptr)) {
                if (again.errCode == kErrNotFound) {
                    PruneLog(*this,
                        "YB Volume " + std::to_string(id) +
                            " was part of a shadow set that has been already deleted by ZXSnaptool",
                        __LINE__, MSG);
                } else {
                    PruneLog(*this,
                        "Could not check status of YB Volume " + std::to_string(id) +
                            ", which is associated with a shadow copy snap. Skipping in it",
                        __LINE__, MSG);
                    result = false;
                }
                continue;
            }
        }
        if (role == YBVOL_ROLE_COPY) continue;

        QuerySNRVolDevNameBySNRVolIdArgs_t devArgs;
        devArgs.SNRVolumeId = engine == 6 ? volume.PrimaryVolumeId : volume.PhysicalVolumeId;
        QuerySNRVolDevNameBySNRVolIdRet_t devices;
        if (!QuerySNRVolDev(devArgs, devices)) {
            PruneLog(*this, "\tCould not get client info for replication volume " + std::to_string(id), __LINE__, MSG);
            problem(id);
            continue;
        }
        CSNRVolumeDB snrVolumes;
        YBPhysicalVolume_t snr;
        std::memset(static_cast<void*>(&snr), 0, sizeof snr);
        if (!snrVolumes.getInfo(volume.PhysicalVolumeId, snr, nullptr)) {
            PruneLog(*this,
                "\tCSNRVolumeDB::getInfo() for volume " + std::to_string(volume.PhysicalVolumeId) +
                    ", replication volume = " + std::to_string(id) + " Failed. Cannot check volume's type",
                __LINE__, MSG);
            problem(id);
            continue;
        }
        const bool freed = role == YBVOL_ROLE_REPLICA
                               ? replica_detail::PruneReplica(*this, volume, snr, devices.devices)
                               : replica_detail::PruneSnapshot(*this, volume, snr, devices.devices);
        if (!freed) problem(id);
    }

    const bool quit = jobCtrl != nullptr && jobCtrl->checkQuitFlag();
    if (!quit && !args.JobsRunning && !ResetSNRVolLockFlag())
        PruneLog(*this, "\tEvent: Errors found during SNR Volume lock flag reset process", __LINE__, ERR);

    YBPruneJobHistory history(nullptr);
    if (getOneRow(&history, false, -1, 0) != DB_ROW_OK || history.getDataPtr()->retVal != 0)
        PruneLog(*this, "\tEvent: Errors found when pruning the YB job history", __LINE__, ERR);
    return result;
}

// ---- Request case ------------------------------------------------------------------

namespace {

void ServePruneReplicationVolumes(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    const cases::CaseLog lit = cases::HandlerLog(code, ReplyCodeFor(code));
    repPruneReplicaVolumeResp reply;
    PruneReplicationVolumeArgs_t args;
    args.CurrentTime = cases::RequestOf<repPruneReplicaVolumeReq>(buf).CurrentTime;
    PruneReplicationVolumeRet_t ret;
    AutoFreeMem_t ids;  // freed after the send
    if (mgr.PruneReplicationVolumes(args, ret, nullptr)) {
        reply.status = 1;
    } else if (!steps::CopyListToReply(ids, reply.ids, reply.count, ret.volumeIds)) {
        mgr.log() << "\tNo memory available to send list of replication volume with pruning problems";
        mgr.WriteLogMsg(cases::ProgName, "ReplicationMgr::post()", __LINE__, ReplicationMgr::ERR);
    }
    mgr.log() << lit.completed << lit.sending;
    mgr.WriteLogMsg(cases::ProgName, "ReplicationMgr::post()", __LINE__, ReplicationMgr::INFO);
    cases::SendReply(mgr, ReplyCodeFor(code), reply);
}

// The reply carries no text: a request without its data gets status 0 and
// no list, with an ERR entry.
void RefusePrune(ReplicationMgr& mgr, unsigned long code, const char* missing)
{
    const cases::CaseLog lit = cases::HandlerLog(code, ReplyCodeFor(code));
    repPruneReplicaVolumeResp reply;
    mgr.log() << "\tEvent: " << NoRequestDataMsg << "\n\t" << missing << " is null";
    mgr.WriteLogMsg(cases::ProgName, "ReplicationMgr::post()", __LINE__, ReplicationMgr::ERR);
    mgr.log() << lit.completed << "unsuccessfully" << lit.sending;
    mgr.WriteLogMsg(cases::ProgName, "ReplicationMgr::post()", __LINE__, ReplicationMgr::INFO);
    cases::SendReply(mgr, ReplyCodeFor(code), reply);
}

SentStatus ReadPruneStatus(const void* data)
{
    repPruneReplicaVolumeResp reply;
    std::memcpy(static_cast<void*>(&reply), data, sizeof reply);
    return SentStatus{reply.status, false, 0, nullptr};
}

}  // namespace

const ServedCase PruneReplicationVolumesCase{&ServePruneReplicationVolumes,
                                             &RefusePrune,
                                             &ReadPruneStatus,
                                             sizeof(repPruneReplicaVolumeResp),
                                             true,
                                             sizeof(repPruneReplicaVolumeReq),
                                             cases::HoldsPointers<repPruneReplicaVolumeReq>::value};
