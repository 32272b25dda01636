// What retention pruning frees for one due volume: a replica or mirror is
// unmounted and its scratch volume released in a transaction of its own (on
// a NAS volume, its replication volume removed there and its snap-vault copy
// released on the filer before that transaction commits); a snapshot is
// cleaned up once on each of its clients.
#include "replicas/PruneReleases.h"

#include <functional>
#include <set>
#include <string>

#include "cleanup/SnapshotCleanup.h"
#include "host/clients/NasUtil.h"
#include "host/db/DBtable.h"
#include "scratch/ScratchLookups.h"
#include "scratch/ScratchPools.h"
#include "scratch/ScratchRelease.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"
#include "snr/DeviceQueries.h"
#include "snr/SNRVolumeById.h"

namespace replica_detail {

void PruneLog(ReplicationMgr& mgr, const std::string& text, long line, int level)
{
    mgr.log() << text;
    mgr.WriteLogMsg(ProgNameDeletes, PruneFn, line, level);
}

namespace {

// SNR volume Type of the NAS kinds of a replica's volume, and of a snap-vault snapshot.
bool IsNasVolume(int32_t type) { return type == 2 || type == 3 || type == 5; }
bool IsNasSource(int32_t type) { return type == 2 || type == 3 || type == 5 || type == 6; }
constexpr int32_t SNRTypeSnapVault = 4;
constexpr int32_t SNRFlagRegularCleanup = 0x20;
constexpr int32_t PoolTypeMirror = 3;

// Copy manager types the NAS utility knows.
constexpr int CopyManagerOSSV = 5;
constexpr int CopyManagerSnapVault = 6;
constexpr int CopyManagerSnapMirror = 7;

std::string ManyHosts(int32_t volumeId, size_t hosts, int32_t ybVolumeId)
{
    return "Snapvault volume " + std::to_string(volumeId) + " is being accessed by multiple hosts (" +
           std::to_string(hosts) + "). YB Volume Id = " + std::to_string(ybVolumeId);
}

// The copy manager of a replica whose source is on a NAS volume: by the
// snap engine and, for engine 5, whether the scratch volume's pool mirrors.
bool NasCopyManager(ReplicationMgr& mgr, const ReplicationVolumeV4Record_t& volume, int& copyManager)
{
    QueryRVScratchVolBySNRVolIdV2Args_t scratchArgs;
    scratchArgs.SNRVolumeId = volume.PhysicalVolumeId;
    QueryRVScratchVolBySNRVolIdV2Ret_t scratch;
    if (!mgr.QueryRVScratchVolBySNRVolId(scratchArgs, scratch, nullptr)) {
        PruneLog(mgr, "Cannot access scratch volume information from the DB. Error returned: " + scratch.errMsg,
            __LINE__, ReplicationMgr::MSG);
        return false;
    }
    QueryRVScratchVolPoolV3Args_t poolArgs;
    poolArgs.poolId = scratch.record.RVScratchVolumePoolId;
    QueryRVScratchVolPoolV3Ret_t pool;
    if (!mgr.QueryRVScratchVolPool(poolArgs, pool, nullptr)) {
        PruneLog(mgr, "Cannot access scratch volume pool information from the DB. Error returned: " + pool.errMsg,
            __LINE__, ReplicationMgr::MSG);
        return false;
    }
    const bool mirror = pool.record.Type == PoolTypeMirror;
    if (volume.SnapEngineType == 5) {
        copyManager = mirror ? CopyManagerSnapMirror : CopyManagerSnapVault;
        PruneLog(mgr, std::string("Copy Manager type is:[") + (mirror ? "SNAPMIRROR" : "SNAPVAULT") + "]", __LINE__,
            ReplicationMgr::MSG);
    } else if (volume.SnapEngineType == 8) {
        copyManager = CopyManagerSnapMirror;
        PruneLog(mgr, "Copy Manager type is:[SNAPMIRROR]", __LINE__, ReplicationMgr::MSG);
    } else {
        copyManager = CopyManagerOSSV;
        PruneLog(mgr, "Copy Manager type is:[OSSV]", __LINE__, ReplicationMgr::MSG);
    }
    return true;
}

// Releases the snap-vault copy of a replica on a NAS volume, the filer
// added to `acted` once it was asked; false (logged) when the scratch
// volume must stay.
bool ReleaseSnapVault(ReplicationMgr& mgr, const ReplicationVolumeV4Record_t& volume, const YBPhysicalVolume_t& snr,
                      const std::vector<SNRVolumeDeviceNameRecord_t>& devices, std::vector<HostThatActed>& acted)
{
    const int id = volume.id;
    if (devices.size() != 1) {
        PruneLog(mgr, ManyHosts(volume.PhysicalVolumeId, devices.size(), id), __LINE__, ReplicationMgr::MSG);
        return false;
    }
    QuerySNRVolumeByIdV4Args_t primaryArgs;
    primaryArgs.snrVolumeId = volume.PrimaryVolumeId;
    QuerySNRVolumeByIdV4Ret_t primary;
    if (!mgr.QuerySNRVolume(primaryArgs, primary, nullptr)) return false;  // the query logged

    int copyManager = CopyManagerOSSV;
    if (IsNasSource(primary.volume.VolType) && !NasCopyManager(mgr, volume, copyManager)) return false;

    NasUtil nas;
    const int replicaHost = devices.front().ClientId;
    auto filerActed = [&]() {
        std::string hostName;
        mgr.GetClientName(replicaHost, hostName);  // the entry's name only
        acted.push_back({volume.RVScratchVolumeId, replicaHost, hostName, snr.UniqueId,
                         "The filer had already released the snap-vault copy of its replica"});
        return true;
    };
    if (copyManager != CopyManagerOSSV) {
        // The filer answers for itself; nothing the scratch volume waits for.
        nas.deleteSnapVaultReplica(replicaHost, snr.UniqueId, 0, volume.PrimaryVolumeId, primary.volume.UniqueId,
                                   primary.volume.UniqueIdType, "", copyManager);
        return filerActed();
    }
    QuerySNRVolDevNameBySNRVolIdV2Args_t sourceArgs(volume.PrimaryVolumeId);
    QuerySNRVolDevNameBySNRVolIdV2Ret_t source;
    if (!mgr.QuerySNRVolDev(sourceArgs, source)) return false;  // the query logged
    if (source.devices.size() != 1) {
        PruneLog(mgr, ManyHosts(volume.PrimaryVolumeId, source.devices.size(), id), __LINE__, ReplicationMgr::MSG);
        return false;
    }
    if (nas.deleteSnapVaultReplica(replicaHost, snr.UniqueId, source.devices.front().ClientId, volume.PrimaryVolumeId,
                                   primary.volume.UniqueId, primary.volume.UniqueIdType, "", CopyManagerOSSV) == -1) {
        PruneLog(mgr, "Snapvault volume " + std::to_string(id) + " space could not be released", __LINE__,
            ReplicationMgr::MSG);
        return false;
    }
    return filerActed();
}

// The scratch volume's release, committed in a transaction of its own (the
// pass runs outside any) and undone whole when it fails; `last` (the filer's
// part, which nothing can take back) runs once the release is done in the
// database, before the commit, and its failure undoes the release too. A
// commit that fails after the host or the filer acted reports them.
bool ReleaseScratch(ReplicationMgr& mgr, int id, const ReleaseRVScratchVolumeV2Args_t& release,
                    const std::function<bool(ReleaseRVScratchVolumeV2Ret_t&)>& last = nullptr)
{
    ReleaseRVScratchVolumeV2Ret_t released;
    bool started = false;
    const bool ok = mgr.ReleaseInNestedStep(release, released, &started, last);
    if (!started) {
        // Released without a transaction, a failure half way would keep what
        // was written so far: the volume waits for the next pass.
        PruneLog(mgr, "\tCould not initiated database transactions for replication volume " + std::to_string(id),
            __LINE__, ReplicationMgr::ERR);
        return false;
    }
    PruneLog(mgr,
        "\tPruning for replication volume (replica or mirror) " + std::to_string(id) +
            (ok ? " was completed" : " could not be completed"),
        __LINE__, ReplicationMgr::MSG);
    return ok;
}

}  // namespace

bool PruneReplica(ReplicationMgr& mgr, const ReplicationVolumeV4Record_t& volume, const YBPhysicalVolume_t& snr,
                  const std::vector<SNRVolumeDeviceNameRecord_t>& devices)
{
    const int id = volume.id;
    ReleaseRVScratchVolumeV2Args_t release;
    release.RVScratchVolumeId = volume.RVScratchVolumeId;
    release.YBVolumeId = -1;
    release.DBOnly = false;
    if (IsNasVolume(snr.Type)) {
        release.YBVolumeId = id;
        return ReleaseScratch(mgr, id, release, [&](ReleaseRVScratchVolumeV2Ret_t& released) {
            return ReleaseSnapVault(mgr, volume, snr, devices, released.hostsThatActed);
        });
    }
    if (!mgr.UnmountYBVolumeDevices(id, devices)) {
        PruneLog(mgr,
            "\tEvent: Pruning of Replication volume " + std::to_string(id) + "will not be performed" +
                "\n\tReason: Unmount failure",
            __LINE__, ReplicationMgr::WARNING);
        return false;
    }
    return ReleaseScratch(mgr, id, release);
}

bool CleanupOnEachClient(ReplicationMgr& mgr, int ybVolumeId, SnapShotCleanupArgs_t cleanup,
                         const std::vector<SNRVolumeDeviceNameRecord_t>& devices, const char* function)
{
    std::set<int32_t> cleaned;
    for (const SNRVolumeDeviceNameRecord_t& device : devices) {
        if (!cleaned.insert(device.ClientId).second) continue;  // once per client
        cleanup.ClientId = device.ClientId;
        if (!mgr.SnapshotCleanup(cleanup)) {
            mgr.log() << "\tZXSnapTool call for client id " << device.ClientId << ", replication volume = " << ybVolumeId
                      << " Failed";
            mgr.WriteLogMsg(ProgNameDeletes, function, __LINE__, ReplicationMgr::WARNING);
            return false;
        }
    }
    return true;
}

bool PruneSnapshot(ReplicationMgr& mgr, const ReplicationVolumeV4Record_t& volume, const YBPhysicalVolume_t& snr,
                   const std::vector<SNRVolumeDeviceNameRecord_t>& devices)
{
    const int id = volume.id;
    SnapShotCleanupArgs_t cleanup;
    cleanup.PrimaryVolumeId = volume.PrimaryVolumeId;
    cleanup.PhysicalVolumeId = volume.PhysicalVolumeId;
    cleanup.ReplicationPolicyId = volume.ReplicationPolicyId;
    cleanup.SnapVolumeId = volume.SnapVolumeId;
    cleanup.SnapVault = snr.Type == SNRTypeSnapVault;
    cleanup.SnapEngineType = volume.SnapEngineType;
    cleanup.ReplicationVolumeId = id;
    cleanup.TransportableSnap = volume.TransportableSnap;
    cleanup.SNRFlag0x20 = (snr.Flags & SNRFlagRegularCleanup) != 0;
    cleanup.Tran = nullptr;
    const bool all = CleanupOnEachClient(mgr, id, cleanup, devices, PruneFn);
    PruneLog(mgr,
        "\tPruning for replication volume (snapshot) " + std::to_string(id) +
            (all ? " completed" : " could not be completed"),
        __LINE__, ReplicationMgr::MSG);
    return all;
}

}  // namespace replica_detail
