// Pruning a replication set to its maximum count of consistency points, and
// the fan-in points of one destination volume: the oldest points beyond the
// count are chosen, their rows removed in the caller's transaction and their
// snapshots released on the destination host; when the host leaves some
// step undone, the rows of only what it did are removed instead. With the
// request cases of both.
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "flr/FLRCases.h"
#include "flr/FLRDeleteMessages.h"
#include "flr/SnapRowRemoval.h"
#include "host/BackupSet.h"
#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/RecordConversion.h"
#include "service/Refusals.h"
#include "service/SourceNames.h"
#include "service/Sync.h"

namespace {

const char PruneSetFn[] = "ReplicationMgr::PruneRepSet()";
const char PruneFanInFn[] = "ReplicationMgr::PruneFanInRP()";
const char PruneDBFn[] = "ReplicationMgr::PruneRepSetFromDB()";
const char MaxCountFailed[] =
    "Failed to prune the snapshot(s). Failed to find the maximum number of snapshots in the replication set";

// Engine type whose snapshots of other sets are never released by a prune.
const int32_t kKeptEngineType = 4;
// Engine type whose mounted or shared snapshot stops a prune.
const int32_t kBlockingEngineType = 1;

std::string Num(long long value) { return std::to_string(value); }

// Where a prune core writes its failure and logs.
struct PruneRun {
    ReplicationMgr& mgr;
    const char* function;
    int32_t* errCode;
    std::string* errText;
    DBtran* tran;
    int64_t setId;
};

bool Refused(const PruneRun& run, int32_t code, const std::string& text, const std::string& details, int level,
             long line)
{
    *run.errCode = code;
    *run.errText = text;
    run.mgr.log() << "\tEvent: " << text << details;
    run.mgr.WriteLogMsg(ProgNameDeletes, run.function, line, level);
    return false;
}

bool ReadMaxCount(const PruneRun& run, int& max)
{
    FileReplicationBackupSet set(static_cast<int>(run.setId));
    const int status = set.getMaxCountConsistPoints(max, run.tran);
    if (status == 0) return true;
    return Refused(run, kErrLookupFailed, MaxCountFailed,
                   "\n\tFileReplicationBackupSet::getMaxCountConsistPoints() failed\n\tReplication Set id = " +
                       Num(run.setId) + "\n\tApp Mgr Ret Code   = " + Num(status),
                   ReplicationMgr::ERR, __LINE__);
}

// What the walk over the groups of one core run builds.
struct Selection {
    FLRSnapCleanup_t release{0};
    std::set<int64_t> skip;  // points that keep a mounted snapshot
};

// Chooses among one group of snapshots (oldest first) those to release: the
// oldest points of the set beyond the maximum count, passing over points
// whose snapshots are still mounted or shared. volumeGUID is empty for a
// set's group (n counts points), else the volume of a fan-in group (n
// counts the set's snapshots on it).
bool SelectGroup(const PruneRun& run, const std::vector<FLRSnap_t>& group, int max, const std::string* volumeGUID,
                 Selection& chosen)
{
    std::map<int64_t, int32_t> counter;
    unsigned long long n = 0;
    for (const FLRSnap_t& snap : group) {
        if (snap.CP.FLRSetId != run.setId) continue;
        if (++counter[snap.CP.id] == 1 || volumeGUID != nullptr) ++n;
    }
    unsigned long long prune = 0;
    unsigned long long start = 0;
    if (max == 0)
        prune = n;
    else if (n >= static_cast<unsigned long long>(max))
        // One slot stays free for the point about to be made.
        prune = start = n - static_cast<unsigned long long>(max) + 1;
    if (prune == 0) {
        run.mgr.log() << (volumeGUID != nullptr ? "\tNothing to be pruned for volume " + EvDebug::escaped(*volumeGUID)
                                                : std::string("\tNothing to be pruned "));
        run.mgr.WriteLogMsg(ProgNameDeletes, run.function, __LINE__, ReplicationMgr::INFO);
    }

    for (const FLRSnap_t& snap : group) {
        const bool blocking = snap.Snapshot.Type == kBlockingEngineType;
        if (snap.CP.FLRSetId != run.setId && snap.Snapshot.Type != kKeptEngineType) {
            chosen.release.Snaps.push_back(snap);
            continue;
        }
        if (prune == 0) continue;
        int32_t& left = counter[snap.CP.id];
        if (left > 0) --left;
        // While more than one point is to go the count falls per snapshot;
        // at one, with the last snapshot of that point.
        if (prune > 1 || left == 0) --prune;
        if (snap.CP.AutoMount) {
            chosen.release.Snaps.push_back(snap);
            continue;
        }
        const std::string snapLines = "\n\tCP Id\t       = " + Num(snap.CP.id) + "\n\tSnapshot Id    = " +
                                      Num(snap.Snapshot.id) + "\n\tVolume Path    = " +
                                      EvDebug::escaped(snap.Snapshot.SnapVolumeName);
        const int level = blocking ? ReplicationMgr::ERR : ReplicationMgr::MSG;
        if (snap.MountPoint.id != -1) {
            Refused(run, kErrInUse,
                    "Rep Set cannot be pruned because there is a snapshot that it's still mounted. Unmount the "
                    "snapshot first",
                    snapLines + "\n\tMount Point Id = " + Num(snap.MountPoint.id) +
                        "\n\tMount Path     = " + EvDebug::escaped(snap.MountPoint.MountPath),
                    level, __LINE__);
            if (blocking) return false;
            if (left == 0) ++prune;
            chosen.skip.insert(snap.CP.id);
            continue;
        }
        if (snap.Share.id != -1) {
            Refused(run, kErrInUse,
                    "Rep Set cannot be pruned because there is a snapshot that it's still shared. Unshare the "
                    "Snapshot first",
                    snapLines + "\n\tMount Path     = " + EvDebug::escaped(snap.MountPoint.MountPath) +
                        "\n\tShare Id       = " + Num(snap.Share.id) +
                        "\n\tShare Name     = " + EvDebug::escaped(snap.Share.NetShareName),
                    level, __LINE__);
            if (blocking) return false;
            if (left == 0) ++prune;
            continue;
        }
        chosen.release.Snaps.push_back(snap);
    }
    if (prune != 0 && prune == start)
        return Refused(run, kErrInUse,
                       "Rep Set cannot be pruned because there is a snapshot that it's still mounted/shared. "
                       "Unmount/Unshare the snapshot first",
                       "", ReplicationMgr::ERR, __LINE__);
    return true;
}

// The common start of both cores: the maximum count and the set's
// destination host, which takes the release.
bool StartCore(const PruneRun& run, int& max, Selection& chosen)
{
    if (!ReadMaxCount(run, max)) return false;
    FileReplicationBackupSet set(static_cast<int>(run.setId));
    const int status = set.getDestinationHostId(chosen.release.ClientId, run.tran);
    if (status == 0) return true;
    return Refused(
        run, kErrLookupFailed, "Failed to prune the snapshot(s). Failed to find the replication set destination host",
        "\n\tFileReplicationBackupSet::getDestinationHostId() failed\n\tReplication Set id = " + Num(run.setId) +
            "\n\tApp Mgr Ret Code   = " + Num(status),
        ReplicationMgr::ERR, __LINE__);
}

bool Incomplete(const FLRSnap_t& snap)
{
    return (snap.Share.id != -1 && (snap.Result & FLRSNAP_SHARE_REMOVED) == 0) ||
           (snap.MountPoint.id != -1 && (snap.Result & FLRSNAP_UNMOUNTED) == 0) ||
           (snap.Result & FLRSNAP_DESTROYED) == 0;
}

// The common end of both cores: the rows first, then the host; when the host
// left a step undone, the rows again with only what it did.
bool CompleteCore(const PruneRun& run, Selection& chosen)
{
    std::vector<FLRSnap_t>& list = chosen.release.Snaps;
    std::vector<FLRSnap_t> kept;
    for (FLRSnap_t& snap : list)
        if (chosen.skip.count(snap.CP.id) == 0) kept.push_back(std::move(snap));
    list.swap(kept);

    const int32_t setId = static_cast<int32_t>(run.setId);
    ReplicationMgr& mgr = run.mgr;
    if (!mgr.PruneRepSetFromDB(setId, chosen.release, true, run.errCode, run.errText, run.tran)) return false;
    if (!mgr.FLRSnapCleanup(chosen.release)) {
        *run.errCode = kErrHostRelease;
        *run.errText = "Consistency point resource could not be released in the host";
        return false;
    }
    bool incomplete = false;
    for (const FLRSnap_t& snap : list) incomplete = incomplete || Incomplete(snap);
    if (!incomplete) return true;

    // Statements after the rollback open a new transaction on the same
    // object, which the caller commits.
    if (run.tran == nullptr || run.tran->rollbackTran() != 0)
        return Refused(run, kErrDatabase, "Could not roll back the removal of the snapshots the host did not release",
                       "\n\tReplication Set Id = " + Num(run.setId), ReplicationMgr::ERR, __LINE__);
    return mgr.PruneRepSetFromDB(setId, chosen.release, false, run.errCode, run.errText, run.tran);
}

}  // namespace

bool ReplicationMgr::PruneRepSetFromDB(int32_t setId, const FLRSnapCleanup_t& releaseList, bool ignoreHostResults,
                                       int32_t* errorCode, std::string* errorText, DBtran* tran)
{
    flr_detail::RowRemoval removal{*this, flr_detail::RemovalKind::Prune, PruneDBFn, errorCode, errorText, tran, setId};
    removal.honourHost = !ignoreHostResults;
    // The second pass runs after the host released, in a transaction of its
    // own: other requests may have removed rows since the ids were read.
    removal.goneIsRemoved = !ignoreHostResults;
    std::set<int32_t> own;
    std::set<int32_t> other;
    for (const FLRSnap_t& snap : releaseList.Snaps) {
        const flr_detail::ItemRows done = flr_detail::RemoveItemRows(removal, snap);
        if (done == flr_detail::ItemRows::Failed) return false;
        if (done == flr_detail::ItemRows::LeftWhole) continue;
        (snap.CP.FLRSetId == setId ? own : other).insert(snap.CP.id);
    }
    return flr_detail::RemoveTouchedCPs(removal, own, other);
}

bool ReplicationMgr::PruneFLRRepSet(GetFLRSnapForRepSetRet_t& snapshots, unsigned long long setId,
                                    int32_t* errorCode, std::string* errorText, DBtran* tran)
{
    const PruneRun run{*this, PruneSetFn, errorCode, errorText, tran, static_cast<int64_t>(setId)};
    int max = 0;
    Selection chosen;
    return StartCore(run, max, chosen) && SelectGroup(run, snapshots.Snaps, max, nullptr, chosen) &&
           CompleteCore(run, chosen);
}

bool ReplicationMgr::PruneFLRCommon(GetFLRSnapRet_t& snapshots, unsigned long long setId, int32_t* errorCode,
                                    std::string* errorText, DBtran* tran)
{
    const PruneRun run{*this, PruneFanInFn, errorCode, errorText, tran, static_cast<int64_t>(setId)};
    int max = 0;
    Selection chosen;
    if (!StartCore(run, max, chosen)) return false;
    for (const auto& volume : snapshots.Snaps)
        if (!SelectGroup(run, volume.second, max, &volume.first, chosen)) return false;
    return CompleteCore(run, chosen);
}

bool ReplicationMgr::PruneRepSet(const PruneReplicationSetArgs_t& args, PruneReplicationSetRet_t& ret, DBtran* tran)
{
    static ZxCriticalSection PruneRepSetCS;
    ZxCriticalSectionLock held(&PruneRepSetCS);

    const int32_t setId = args.RepSetId;
    const PruneRun run{*this, PruneSetFn, &ret.errCode, &ret.errMsg, tran, setId};
    if (setId < 1)
        return Refused(run, kErrInvalidId, "Failed to prune the Replication set. Unknown Replication Set id",
                       "\n\tInvalid Replication Set id\n\tReplication Set id = " + Num(setId), ERR, __LINE__);
    int max = 0;
    if (!ReadMaxCount(run, max)) return false;

    GetFLRSnapForRepSetRet_t snapshots;
    if (!GetFLRSnapsForRepSet(static_cast<unsigned long>(setId), snapshots, tran))
        return steps::PassOn(ret, snapshots.errMsg, snapshots.errCode);
    if (snapshots.Snaps.empty()) return true;
    return PruneFLRRepSet(snapshots, static_cast<unsigned long long>(setId), &ret.errCode, &ret.errMsg, tran);
}

bool ReplicationMgr::PruneFanInRP(const PruneFanInRPArgs_t& args, PruneFanInRPRet_t& ret, DBtran* tran)
{
    static ZxCriticalSection PruneFanInRPCS;
    ZxCriticalSectionLock held(&PruneFanInRPCS);

    if (args.DstVolumeGUID.empty())
        return steps::Fail(*this, ret, kErrMissingInput, "Cannot prune RPs if the volume GUID is missing", "",
                           ProgNameDeletes, PruneFanInFn, __LINE__);
    GetFLRSnapArgs_t select;
    select.Mode = FLRSNAP_BY_VOLUME;
    select.VolumeGUID = args.DstVolumeGUID;
    if (select.VolumeGUID.back() != '\\') select.VolumeGUID += '\\';
    GetFLRSnapRet_t snapshots;
    if (!GetFLRSnaps(select, snapshots, tran)) return steps::PassOn(ret, snapshots.errMsg, snapshots.errCode);
    if (snapshots.Snaps.empty()) return true;
    const int64_t setId = snapshots.Snaps.begin()->second.front().CP.FLRSetId;
    return PruneFLRCommon(snapshots, static_cast<unsigned long long>(setId), &ret.errCode, &ret.errMsg, tran);
}

// ---- Request handler and cases -----------------------------------------------------

void ReplicationMgr::PruneFanInRPsHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    PruneFanInRPArgs_t args;
    args.DstVolumeGUID = YBTextFromWire(cases::RequestOf<repPruneFanInRPReq>(buf).DstVolumeGUID);
    PruneFanInRPRet_t ret;
    AnswerByHandler<repPruneFanInRPResp>(
        *this, "ReplicationMgr::PruneFanInRPsHandler()", requestCode, replyCode, true, ret,
        [&](DBtran* tran) { return PruneFanInRP(args, ret, tran); });
}

namespace {

void ServePruneRepSet(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    PruneReplicationSetArgs_t args;
    args.RepSetId = cases::RequestOf<repPruneRepSetReq>(buf).RepSetId;
    PruneReplicationSetRet_t ret;
    AnswerOperationInTran<repPruneRepSetResp>(mgr, code, args, ret, &ReplicationMgr::PruneRepSet);
}

}  // namespace

const ServedCase PruneRepSetCase = cases::Serve<repPruneRepSetReq, repPruneRepSetResp>(&ServePruneRepSet);
const ServedCase PruneFanInRPsCase = cases::Serve<repPruneFanInRPReq, repPruneFanInRPResp>(
    &cases::HandlerCase<&ReplicationMgr::PruneFanInRPsHandler>);
