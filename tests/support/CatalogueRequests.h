// Random requests of the rest of the catalogue, each in the layout of its
// code: replication policies, snap engines and volume snap parameters;
// consistency points with their snapshots, mount points and shares, their
// deletion, pruning and rebuild; client cleanup and job volume history;
// appliances, stored files and user applications.
#pragma once

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "cleanup/ClientCleanup.h"
#include "cleanup/JobVolumeHistory.h"
#include "files/Appliances.h"
#include "files/StoredFileMessages.h"
#include "files/UserApplications.h"
#include "flr/FLRDeleteMessages.h"
#include "flr/FLRMessages.h"
#include "policies/ReplicationPolicyMessages.h"
#include "policies/SnapEngines.h"
#include "policies/VolSnapParams.h"
#include "support/RequestDraw.h"

namespace random_posts {

// ---- Policies, snap engines and snap parameters ----

// A policy on a stored engine, with a stored pool at times; four names, so
// that adds meet names taken.
template <typename Req, typename Record>
void Policy(Draw& d, bool update)
{
    auto& req = d.body<Req>();
    ReplicationPolicyV3Record_t r;
    r.id = update ? d.id("YBPolicy") : 0;
    r.name = "policy" + Num(1 + d.below(4));
    r.RetentionSeconds = 3600 * (1 + d.below(24));
    r.CopyMgrCtrlId = 1;
    r.SnapEngineInfoId = d.storedId("YBSnapEngineInfo");
    r.VolumeScratchPoolId = d.chance(60) ? d.storedId("YBScratchPool") : 0;
    r.NSnapshot = d.below(3);
    r.CopyManagerType = 4;
    YBSet(req.policy, static_cast<const Record&>(d.request().keep(r)));
    d.says((update ? "policy " + Num(r.id) + ", " : std::string()) + "pool " + Num(r.VolumeScratchPoolId));
}
template <typename Req, typename Record>
void AddPolicy(Draw& d)
{
    Policy<Req, Record>(d, false);
}
template <typename Req, typename Record>
void UpdatePolicy(Draw& d)
{
    Policy<Req, Record>(d, true);
}

inline void RemovePolicy(Draw& d)
{
    auto& req = d.body<repRemoveReplicationPolicyReq>();
    req.id = d.id("YBPolicy");
    d.says("policy " + Num(req.id));
}

template <typename Req, typename Record>
void Engine(Draw& d, bool update)
{
    auto& req = d.body<Req>();
    SnapEngineInfoV3Record_t r;
    r.id = update ? d.id("YBSnapEngineInfo") : 0;
    r.name = "engine" + Num(1 + d.below(4));
    r.MountCmdHint = "mount";
    r.SnapCmdHint = "snap";
    r.Type = d.chance(40) ? 5 : 1;
    YBSet(req.SnapEngineInfo, static_cast<const Record&>(d.request().keep(r)));
    d.says((update ? "engine " + Num(r.id) + ", " : std::string()) + r.name + ", type " + Num(r.Type));
}
template <typename Req, typename Record>
void AddEngine(Draw& d)
{
    Engine<Req, Record>(d, false);
}
template <typename Req, typename Record>
void UpdateEngine(Draw& d)
{
    Engine<Req, Record>(d, true);
}

inline void RemoveEngine(Draw& d)
{
    auto& req = d.body<repRemoveSnapEngineInfoReq>();
    req.id = static_cast<uint32_t>(d.id("YBSnapEngineInfo"));
    d.says("engine " + Num(req.id));
}

inline void RemoveEngineByName(Draw& d)
{
    auto& req = d.body<repRemoveSnapEngineInfoByNameReq>();
    const std::string name = "engine" + Num(1 + d.below(4));
    req.name = d.text(name);
    d.says(name);
}

// The add and the update of a volume's snap parameters.
template <typename Req, typename Record>
void SnapParams(Draw& d)
{
    auto& req = d.body<Req>();
    VolSnapParamsV2Record_t r;
    r.SNRVolumeId = d.volumeId();
    r.SnapEngineId = d.id("YBSnapEngineInfo");
    r.MountClientId = d.clientId();
    r.SyncClientId = r.MountClientId;
    r.SnapClientId = r.MountClientId;
    r.MountCmd = "mount";
    YBSet(req.VolSnapParams, static_cast<const Record&>(d.request().keep(r)));
    d.says("volume " + Num(r.SNRVolumeId));
}

inline void RemoveSnapParams(Draw& d)
{
    auto& req = d.body<repRemoveVolSnapParamsReq>();
    req.SNRVolumeId = static_cast<uint32_t>(d.volumeId());
    d.says("volume " + Num(req.SNRVolumeId));
}

// ---- Consistency points ----

// Snapshot names S1 to S10 meet again across points and rebuilds.
inline std::string SnapName(Draw& d) { return "S" + Num(1 + d.below(10)); }

// The volume GUID of a snapshot: mostly ending in the backslash that a
// fan-in prune matches, whether the prune's request ends in one or not.
inline std::string SnapGUID(Draw& d, const std::string& name)
{
    return "{" + name + "}" + (d.chance(80) ? "\\" : "");
}

// Mount points on the snapshots numbered from 10, `snaps` of them, in half
// of the requests: one to one more than there are snapshots, each on any of
// them, so that a snapshot may get several. Says which.
inline repFLRSnapMountPointElem* SnapMounts(Draw& d, int snaps, uint32_t& count, std::string& what)
{
    const int mounts = d.chance(50) ? 1 + d.below(snaps + 1) : 0;
    count = static_cast<uint32_t>(mounts);
    repFLRSnapMountPointElem* elems = d.request().array<repFLRSnapMountPointElem>(static_cast<size_t>(mounts));
    for (int i = 0; i < mounts; ++i) {
        const std::string path = "/mnt/cp" + Num(d.below(6));
        elems[i].SnapshotId = 10 + d.below(snaps);
        elems[i].MountPath = d.text(path);
        what += " " + Num(elems[i].SnapshotId) + ":" + path;
    }
    return elems;
}

// A point of a set with one to three snapshots, each on a pair of the set,
// mount points on some of them, and at times mounting automatically (which
// a prune and a deletion release mounted and shared).
template <typename Req, typename SnapWire>
void CreateCP(Draw& d)
{
    auto& req = d.body<Req>();
    const int set = d.oneOf(kSets);
    req.CP.CreationTime = 1000 + d.below(5) * 100;
    req.CP.FLRSetId = set;
    req.CP.JobId = 1 + d.below(6);
    const int snaps = 1 + d.below(3);
    req.SnapCount = static_cast<uint32_t>(snaps);
    req.Snaps = d.request().array<SnapWire>(static_cast<size_t>(snaps));
    req.PairCount = static_cast<uint32_t>(snaps);
    req.Pairs = d.request().array<repFLRSnapPairElem>(static_cast<size_t>(snaps));
    std::string what = "set " + Num(set) + ", job " + Num(req.CP.JobId) + ", snapshots";
    std::set<std::string> names;
    for (int i = 0; i < snaps; ++i) {
        std::string name = SnapName(d);
        while (!names.insert(name).second) name = SnapName(d);
        req.Snaps[i].id = 10 + i;
        req.Snaps[i].Name = d.text(name);
        req.Snaps[i].SnapVolumeName = d.text("vol-" + name);
        req.Snaps[i].VolumeGUID = d.text(SnapGUID(d, name));
        if constexpr (std::is_same<SnapWire, repFLRSnapRecV2>::value) req.Snaps[i].Type = 2;
        req.Pairs[i].SnapshotId = 10 + i;
        req.Pairs[i].PairId = set == 40 ? 201 + d.below(2) : 203 + d.below(2);
        what += " " + name;
    }
    what += ", mount points";
    req.MountPoints = SnapMounts(d, snaps, req.MountCount, what);
    req.CP.AutoMount = req.MountCount > 0 && d.chance(60) ? 1 : 0;
    d.says(what + (req.CP.AutoMount ? ", automount" : ""));
}

inline void AddCP(Draw& d)
{
    auto& req = d.body<repFLRConsistencyPointRec>();
    req.FLRSetId = d.oneOf(kSets);
    req.CreationTime = 1000 + d.below(5) * 100;
    req.JobId = 1 + d.below(6);
    d.says("set " + Num(req.FLRSetId));
}

inline void AddSnapMount(Draw& d)
{
    auto& req = d.body<repAddFLRSnapMountPointReq>();
    req.SnapshotId = static_cast<uint32_t>(d.id("YBFLRSnapshot"));
    req.MountPath = d.text("/mnt/snap" + Num(d.below(6)));
    d.says("snapshot " + Num(req.SnapshotId));
}

inline void DeleteSnapMount(Draw& d)
{
    auto& req = d.body<repDeleteFLRSnapMountPointReq>();
    req.MountPointId = static_cast<uint32_t>(d.id("YBFLRSnapMountPoint"));
    d.says("mount point " + Num(req.MountPointId));
}

inline void AddShare(Draw& d)
{
    auto& req = d.body<repAddFLRSnapNetworkShareReq>();
    req.MountPointId = static_cast<uint32_t>(d.id("YBFLRSnapMountPoint"));
    req.NetShareName = d.text("share" + Num(d.below(6)));
    d.says("mount point " + Num(req.MountPointId));
}

inline void DeleteShare(Draw& d)
{
    auto& req = d.body<repDeleteFLRSnapNetworkShareReq>();
    req.ShareId = static_cast<uint32_t>(d.id("YBFLRSnapNetworkShare"));
    d.says("share " + Num(req.ShareId));
}

inline void DeleteSetCPs(Draw& d)
{
    auto& req = d.body<repDelAllCPsByRepSetIdReq>();
    req.RepSetId = static_cast<uint32_t>(d.oneOf(kSets));
    req.Force = d.chance(50) ? 1 : 0;
    d.says("set " + Num(req.RepSetId) + (req.Force ? ", forced" : ""));
}

inline void DeleteCP(Draw& d)
{
    auto& req = d.body<repDelCPReq>();
    req.CPId = static_cast<uint32_t>(d.id("YBFLRConsistencyPoint"));
    d.says("point " + Num(req.CPId));
}

inline void PruneSet(Draw& d)
{
    auto& req = d.body<repPruneRepSetReq>();
    req.RepSetId = d.oneOf(kSets);
    d.says("set " + Num(req.RepSetId));
}

// Mostly the volume of a stored snapshot, its trailing backslash at times
// left for the prune to add.
inline void PruneFanIn(Draw& d)
{
    auto& req = d.body<repPruneFanInRPReq>();
    const StoredSnapshot* on = d.chance(80) ? d.oneOf(d.stored().snapshots) : nullptr;
    std::string guid = on != nullptr ? on->guid : SnapGUID(d, SnapName(d));
    if (!guid.empty() && guid.back() == '\\' && d.chance(30)) guid.pop_back();
    req.DstVolumeGUID = d.text(guid);
    d.says(guid);
}

inline void SnapshotPaths(Draw& d)
{
    auto& req = d.body<repUpdateFLRSnapshotReq>();
    req.count = 1;
    req.Snaps = d.request().array<repFLRSnapRecV2>(1);
    const std::string name = SnapName(d);
    req.Snaps[0].Name = d.text(name);
    req.Snaps[0].SnapshotPath = d.text("/shadow/" + name);
    d.says(name);
}

// The rebuild of a destination host's points from its snapshot list: most
// of its stored snapshots named again, the others go with their rows; the
// new ones with mount points as a create's.
template <typename Req, typename SnapWire>
void RebuildCPs(Draw& d)
{
    auto& req = d.body<Req>();
    const int host = d.oneOf(kDestinationHosts);
    req.DstClientId = static_cast<uint32_t>(host);
    std::vector<std::string> names;
    std::string kept;
    for (const StoredSnapshot& s : d.stored().snapshots)
        if (s.clientId == host && d.chance(50) &&
            std::find(names.begin(), names.end(), s.name) == names.end()) {
            names.push_back(s.name);
            kept += " " + s.name;
        }
    if (d.chance(50)) {
        const std::string added = SnapName(d);
        if (std::find(names.begin(), names.end(), added) == names.end()) names.push_back(added);
    }
    req.CPCount = 1;
    req.CPs = d.request().array<repCreateCPEntry>(1);
    req.CPs[0].FLRSetId = host == 5 ? 40 : 41;
    req.CPs[0].JobId = 1 + d.below(6);
    req.CPs[0].ClientId = host;
    req.SnapCount = static_cast<uint32_t>(names.size());
    req.Snaps = d.request().array<SnapWire>(names.size());
    req.PairCount = static_cast<uint32_t>(names.size());
    req.Pairs = d.request().array<repFLRSnapPairElem>(names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        req.Snaps[i].id = static_cast<int32_t>(10 + i);
        req.Snaps[i].ConsistencyPointId = 0;
        req.Snaps[i].Name = d.text(names[i]);
        req.Snaps[i].SnapVolumeName = d.text("vol-" + names[i]);
        req.Snaps[i].VolumeGUID = d.text(SnapGUID(d, names[i]));
        req.Pairs[i].SnapshotId = static_cast<int32_t>(10 + i);
        req.Pairs[i].PairId = host == 5 ? 201 : 203;
    }
    std::string mounts = ", mount points";
    if (!names.empty()) req.MountPoints = SnapMounts(d, static_cast<int>(names.size()), req.MountCount, mounts);
    req.CPs[0].AutoMount = req.MountCount > 0 && d.chance(60) ? 1 : 0;
    d.says("host " + Num(host) + ", keeping" + kept + (names.size() > 0 ? ", listing " + Num(names.size()) : "") +
           (req.MountCount > 0 ? mounts : "") + (req.CPs[0].AutoMount ? ", automount" : ""));
}

// ---- Client cleanup and job volume history ----

inline void CleanupClient(Draw& d)
{
    auto& req = d.body<repCleanupByClientIdReq>();
    req.ClientId = d.clientId();
    req.CleanupType = d.chance(70) ? 1 : 0;
    d.says("client " + Num(req.ClientId) + ", type " + Num(req.CleanupType));
}

inline void FillHistory(Draw& d, repYBJobVolumeHistoryRec& rec)
{
    rec.JobId = 1 + d.below(6);
    rec.SrcVolId = d.volumeId();
    rec.SrcClientId = d.clientId();
    rec.SrcClientName = d.text("client" + Num(rec.SrcClientId));
    rec.SrcDeviceName = d.text("/dev/d1");
    rec.DstVolId = d.volumeId();
    rec.DstClientId = d.clientId();
    rec.DstClientName = d.text("client" + Num(rec.DstClientId));
    rec.DstDeviceName = d.text("/dev/d2");
}

inline void AddHistory(Draw& d)
{
    auto& req = d.body<repYBJobVolumeHistoryRec>();
    FillHistory(d, req);
    d.says("job " + Num(req.JobId));
}

inline void AddHistory80(Draw& d)
{
    auto& req = d.body<repYBJobVolumeHistory80Rec>();
    FillHistory(d, req.common);
    req.CopyMgrType = 1;
    d.says("job " + Num(req.common.JobId));
}

inline void DeleteHistory(Draw& d)
{
    auto& req = d.body<repYBJobHistoryByJobIdReq>();
    req.JobId = 1 + d.below(6);
    d.says("job " + Num(req.JobId));
}

// ---- Appliances, files and user applications ----

inline void AddAppliance(Draw& d)
{
    auto& req = d.body<repYBApplianceRec>();
    req.name = d.text("appliance" + Num(d.below(4)));
    d.says("");
}

inline void DeleteAppliance(Draw& d)
{
    auto& req = d.body<repYBApplianceByIdReq>();
    req.id = d.id("YBDevice");
    d.says("appliance " + Num(req.id));
}

inline void UploadFile(Draw& d)
{
    auto& req = d.body<repUploadYBFileReq>();
    req.file.VolumeId = d.volumeId();
    req.file.Name = d.text("file" + Num(d.below(6)));
    req.file.Content = d.text("content");
    d.says("volume " + Num(req.file.VolumeId));
}

inline void UpdateFile(Draw& d)
{
    auto& req = d.body<repUpdateYBFileReq>();
    req.file.id = static_cast<uint32_t>(d.id("YBFile"));
    req.file.VolumeId = d.volumeId();
    req.file.Name = d.text("file" + Num(d.below(6)));
    req.updateMap = d.chance(50) ? 1 : 3;
    d.says("file " + Num(req.file.id) + " to volume " + Num(req.file.VolumeId));
}

inline void DeleteFile(Draw& d)
{
    auto& req = d.body<repYBFileIdReq>();
    req.id = d.id("YBFile");
    d.says("file " + Num(req.id));
}

inline void DeleteVolumeFiles(Draw& d)
{
    auto& req = d.body<repYBFileIdReq>();
    req.id = d.volumeId();
    d.says("volume " + Num(req.id));
}

inline void Application(Draw& d)
{
    auto& req = d.body<repYBUserApplDefRec>();
    req.id = d.id("YBUserApplicationDef");
    req.ClientId = d.clientId();
    req.ApplicationName = d.text("app" + Num(d.below(3)));
    req.AppTag = d.text("tag");
    req.UpdateMask = 0;
    d.says("application " + Num(req.id));
}

inline void DeleteApplication(Draw& d)
{
    auto& req = d.body<repYBUserApplDefByIdReq>();
    req.id = d.id("YBUserApplicationDef");
    d.says("application " + Num(req.id));
}

}  // namespace random_posts
