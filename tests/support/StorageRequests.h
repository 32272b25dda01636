// Random requests of the storage side of the catalogue, each in the layout of
// its code: SNR volumes, devices, mount points and history names; scratch
// pools and their members; replication volumes, permanent replicas, the
// retention pass and application directories. Ids come mostly from what is
// stored, so that removals meet rows that others name.
#pragma once

#include <cstdint>
#include <ctime>
#include <sstream>
#include <string>
#include <type_traits>

#include "replicas/ApplicationDirs.h"
#include "replicas/PermanentReplicas.h"
#include "replicas/ReplicaReservation.h"
#include "replicas/ReplicaVolumeAdd.h"
#include "replicas/ReplicaVolumeRemoval.h"
#include "replicas/ReplicaVolumeUpdate.h"
#include "replicas/RetentionPruning.h"
#include "scratch/ScratchLookups.h"
#include "scratch/ScratchMembership.h"
#include "scratch/ScratchPoolMessages.h"
#include "scratch/ScratchRelease.h"
#include "snr/DeviceMaintenance.h"
#include "snr/DeviceMessages.h"
#include "snr/MountPoints.h"
#include "snr/SNRDeletion.h"
#include "snr/SNRMessages.h"
#include "snr/SNRVolumeUpdate.h"
#include "snr/VolumeReservation.h"
#include "support/RequestDraw.h"

namespace random_posts {

// ---- SNR volumes and devices ----

template <typename Wire> struct RecordOfWire;
template <> struct RecordOfWire<repSNRVolume> { using type = SNRVolumeRecord_t; };
template <> struct RecordOfWire<repSNRVolume42> { using type = SNRVolumeRecord42_t; };
template <> struct RecordOfWire<repSNRVolumeV3> { using type = SNRVolumeRecordV3_t; };
template <> struct RecordOfWire<repSNRVolumeV4> { using type = SNRVolumeRecordV4_t; };

// A volume of the identity as the wire record of its version carries it
// (from V3 on with the update map), the record kept with the request.
template <typename Wire>
Wire VolumeWire(Draw& d, const Identity& identity, bool locked, int id = -1, int32_t map = 0)
{
    using Record = typename RecordOfWire<Wire>::type;
    Record r;
    r.id = id;
    r.UniqueId = identity.uniqueId;
    r.UniqueIdType = identity.type;
    r.LUN = identity.lun;
    r.StartLBA = static_cast<decltype(r.StartLBA)>(identity.startLBA);
    r.BlockCount = static_cast<decltype(r.BlockCount)>(identity.blockCount);
    r.BlockSize = 512;
    r.FSType = "NTFS";
    r.Locked = locked;
    if constexpr (!std::is_same<Record, SNRVolumeRecord_t>::value)
        r.UniqueSnapshotID = d.chance(50) ? "SNAP-" + identity.uniqueId : "";
    if constexpr (std::is_base_of<SNRVolumeRecordV3_t, Record>::value) {
        r.ApplianceId = d.chance(20) ? d.id("YBDevice") : 0;
        r.MorvaneProtected = d.chance(20);
        r.TzState = r.MorvaneProtected ? 1 : 0;
        r.UpdateMap = map;
    }
    if constexpr (std::is_same<Record, SNRVolumeRecordV4_t>::value) r.VolType = d.chance(85) ? 1 : 3;
    Wire w;
    YBSet(w, d.request().keep(r));
    return w;
}

inline std::string HexText(long long n)
{
    std::ostringstream s;
    s << "0x" << std::hex << n;
    return s.str();
}

// A device of a client on a disk, with up to two mount points; from V3 on
// with a history name at times.
template <typename Req>
void AddDevice(Draw& d)
{
    auto& req = d.body<Req>();
    const Identity identity = d.identity();
    req.SNRVolume = VolumeWire<decltype(req.SNRVolume)>(d, identity, false);
    const int client = d.clientId();
    req.Device.ClientId = client;
    req.Device.DeviceName = d.text("/dev/d" + Num(1 + d.below(6)));
    const int mounts = d.below(3);
    req.MountPointCount = static_cast<uint32_t>(mounts);
    req.MountPoints = d.request().array<repSNRVolumeMountPoint>(static_cast<size_t>(mounts));
    for (int i = 0; i < mounts; ++i) req.MountPoints[i].Path = d.text("/mnt/m" + Num(1 + d.below(8)));
    std::string history;
    if constexpr (!std::is_same<Req, repAddSNRDeviceReq>::value && !std::is_same<Req, repAddSNRDevice42Req>::value) {
        if (d.chance(40)) {
            history = "H" + Num(1 + d.below(4));
            req.HistoryName.GlobalHistoryName = d.text(history);
        }
    }
    d.says("client " + Num(client) + " " + Describe(identity) + ", " + Num(mounts) + " mount points" +
           (history.empty() ? "" : ", history name " + history));
}

template <typename Req>
void AddSNRVolume(Draw& d)
{
    auto& req = d.body<Req>();
    const Identity identity = d.identity();
    req.SNRVolume = VolumeWire<decltype(req.SNRVolume)>(d, identity, false);
    d.says(Describe(identity));
}

// An update of a stored volume: often with another stored volume's unique
// id (a shared disk's merge when both are of type 15), else its own
// identity with the reservation, protection or file system changed.
template <typename Req>
void UpdateSNRVolume(Draw& d)
{
    auto& req = d.body<Req>();
    const StoredVolume* v = d.oneOf(d.stored().volumes);
    const int id = v != nullptr ? v->id : d.volumeId();
    Identity identity = v != nullptr ? Draw::IdentityOf(*v) : d.identity();
    std::string what = "volume " + Num(id);
    const StoredVolume* other = d.chance(50) ? d.oneOf(d.stored().volumes) : nullptr;
    if (other != nullptr) {
        identity.uniqueId = other->uniqueId;
        identity.type = d.chance(80) ? kSharedDiskUniqueIdType : other->uniqueIdType;
        what += " with the unique id of volume " + Num(other->id) + " (type " + Num(identity.type) + ")";
    }
    const int32_t maps[] = {YB_PVOL_UNIQUE_ID | YB_PVOL_UNIQUE_ID_TYPE, YB_PVOL_LOCK,
                            YB_PVOL_TZ_PROTECTED | YB_PVOL_TZSTATE, YB_PVOL_FSTYPE, 0};
    const int32_t map = other != nullptr ? (YB_PVOL_UNIQUE_ID | YB_PVOL_UNIQUE_ID_TYPE) : d.oneOf(maps);
    const bool locked = d.chance(30);
    req.SNRVolume = VolumeWire<decltype(req.SNRVolume)>(d, identity, locked, id, map);
    if constexpr (std::is_same<Req, repUpdateSNRVolumeV3Req>::value || std::is_same<Req, repUpdateSNRVolumeV4Req>::value)
        what += ", map " + HexText(map);
    d.says(what + (locked ? ", reserved" : ""));
}

// The deletion of a device, at times of one on a snapshot's volume.
inline void DeleteDevice(Draw& d)
{
    auto& req = d.body<repDeleteSNRDeviceReq>();
    std::vector<int> onSnapVolumes;
    for (const StoredDevice& device : d.stored().devices)
        for (const StoredReplica& r : d.stored().replicas)
            if (r.snapVolumeId == device.volumeId) onSnapVolumes.push_back(device.id);
    const int* device = d.chance(40) ? d.oneOf(onSnapVolumes) : nullptr;
    req.DeviceId = device != nullptr ? *device : d.id("YBPhysicalDevice");
    std::string on;
    for (const StoredDevice& stored : d.stored().devices)
        if (stored.id == req.DeviceId) on = " on volume " + Num(stored.volumeId);
    d.says("device " + Num(req.DeviceId) + on);
}

inline void AddMountPoint(Draw& d)
{
    auto& req = d.body<repSNRVolumeMountPoint>();
    req.DeviceNameId = d.id("YBPhysicalDevice");
    req.Path = d.text("/mnt/m" + Num(1 + d.below(8)));
    d.says("device " + Num(req.DeviceNameId));
}

inline void UpdateMountPoint(Draw& d)
{
    auto& req = d.body<repSNRVolumeMountPoint>();
    req.id = d.id("YBMountPoint");
    req.DeviceNameId = d.id("YBPhysicalDevice");
    req.Path = d.text("/mnt/m" + Num(1 + d.below(8)));
    d.says("mount point " + Num(req.id) + " to device " + Num(req.DeviceNameId));
}

inline void RemoveMountPoint(Draw& d)
{
    auto& req = d.body<repRemoveMountPointReq>();
    req.MountPointId = d.id("YBMountPoint");
    d.says("mount point " + Num(req.MountPointId));
}

// The add and the update of a history name: four names, so that they meet.
inline void HistoryName(Draw& d)
{
    auto& req = d.body<repYBTzHistoryNameRec>();
    req.DeviceId = d.id("YBPhysicalDevice");
    const std::string name = "H" + Num(1 + d.below(4));
    req.GlobalHistoryName = d.text(name);
    d.says("device " + Num(req.DeviceId) + " " + name);
}

inline void DeleteHistoryName(Draw& d)
{
    auto& req = d.body<repTzGlobalHistoryNameByDeviceReq>();
    req.DeviceId = d.id("YBPhysicalDevice");
    d.says("device " + Num(req.DeviceId));
}

inline void PruneProtectedVolume(Draw& d)
{
    auto& req = d.body<repPruneMorvaneVolumeReq>();
    req.SNRVolumeId = d.volumeId();
    const int count = d.below(2);
    req.count = static_cast<uint32_t>(count);
    req.names = d.request().array<char*>(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) req.names[i] = d.text("S" + Num(1 + d.below(10)));
    d.says("volume " + Num(req.SNRVolumeId));
}

// A device update: V1 writes every column; V3 and V4 those of their map,
// often the SNR volume alone.
template <typename Req>
void UpdateDevice(Draw& d)
{
    auto& req = d.body<Req>();
    const StoredDevice* device = d.oneOf(d.stored().devices);
    req.id = device != nullptr && d.chance(90) ? device->id : d.id("YBPhysicalDevice");
    req.ClientId = device != nullptr ? device->clientId : d.clientId();
    req.SNRVolumeId = d.chance(30) ? d.goneId("YBPhysicalVolume") : d.volumeId();
    req.DeviceName = d.text(device != nullptr && d.chance(70) ? device->name : "/dev/d" + Num(1 + d.below(6)));
    std::string map;
    if constexpr (!std::is_same<Req, repSNRVolumeDeviceName>::value) {
        const int32_t maps[] = {YB_DEV_VOL_ID, YB_DEV_VOL_ID | YB_DEV_NAME, YB_DEV_NAME, YB_DEV_CONFIGURED};
        req.UpdateMap = d.oneOf(maps);
        map = ", map " + HexText(req.UpdateMap);
    }
    d.says("device " + Num(req.id) + " to volume " + Num(req.SNRVolumeId) + map);
}

template <typename Req>
void ConfigureDevice(Draw& d)
{
    auto& req = d.body<Req>();
    const StoredDevice* device = d.oneOf(d.stored().devices);
    req.id = device != nullptr ? device->id : d.id("YBPhysicalDevice");
    req.ClientId = device != nullptr ? device->clientId : d.clientId();
    req.SNRVolumeId = device != nullptr ? device->volumeId : d.volumeId();
    req.DeviceName = d.text("/dev/c" + Num(1 + d.below(6)));
    req.OSDeviceName = d.text("/dev/os" + Num(1 + d.below(6)));
    d.says("device " + Num(req.id));
}

inline void UnconfigureDevice(Draw& d)
{
    auto& req = d.body<repUnconfigureDeviceReq>();
    req.DeviceId = d.id("YBPhysicalDevice");
    d.says("device " + Num(req.DeviceId));
}

// The reservation requests: one or two volumes, mostly pool members; the
// second version with a job.
template <typename Req>
void VolumeList(Draw& d)
{
    auto& req = d.body<Req>();
    const int count = d.chance(80) ? 1 : 2;
    req.count = static_cast<uint32_t>(count);
    req.ids = d.request().array<int32_t>(static_cast<size_t>(count));
    std::string what = "volumes";
    for (int i = 0; i < count; ++i) {
        req.ids[i] = d.memberVolumeId();
        what += " " + Num(req.ids[i]);
    }
    if constexpr (std::is_same<Req, repReserveSNRVolV2Req>::value) {
        req.jobId = 1 + d.below(6);
        what += ", job " + Num(req.jobId);
    }
    d.says(what);
}

// ---- Scratch pools ----

template <typename Req>
void AddPool(Draw& d)
{
    auto& req = d.body<Req>();
    const std::string name = "pool" + Num(1 + d.below(5));
    int engine = 0;
    int type = 1;
    if constexpr (std::is_same<Req, repAddRVScratchVolumePoolV3Req>::value) {
        RVScratchVolumePoolV3Record_t r;
        r.name = name;
        r.SnapEngineInfoId = engine = d.chance(40) ? d.id("YBSnapEngineInfo") : 0;
        r.Type = type = d.chance(80) ? 1 : 3;
        YBSet(static_cast<repRVScratchVolumePoolV3&>(req), d.request().keep(r));
    } else {
        req.name = d.text(name);
        if constexpr (std::is_same<Req, repAddRVScratchVolumePoolV2Req>::value)
            req.SnapEngineInfoId = static_cast<uint32_t>(engine = d.chance(40) ? d.id("YBSnapEngineInfo") : 0);
    }
    d.says(name + ", engine " + Num(engine) + ", type " + Num(type));
}

template <typename Req, typename Wire>
void UpdatePool(Draw& d)
{
    auto& req = d.body<Req>();
    RVScratchVolumePoolV3Record_t r;
    r.id = d.id("YBScratchPool");
    r.name = "pool" + Num(1 + d.below(5));
    r.SnapEngineInfoId = d.chance(50) ? d.id("YBSnapEngineInfo") : 0;
    r.Type = d.chance(80) ? 1 : 3;
    r.UpdateMask = d.chance(50) ? YB_POOL_SNAP_ENGINE_INFO_ID : YB_POOL_NAME;
    YBSet(static_cast<Wire&>(req), d.request().keep(r));
    d.says("pool " + Num(r.id));
}

template <typename Req>
void RemovePool(Draw& d)
{
    auto& req = d.body<Req>();
    req.poolId = static_cast<uint32_t>(d.id("YBScratchPool"));
    d.says("pool " + Num(req.poolId));
}

inline void AddMember(Draw& d)
{
    auto& req = d.body<repAddRVScratchVolumeReq>();
    req.poolId = static_cast<uint32_t>(d.id("YBScratchPool"));
    req.SNRVolumeId = static_cast<uint32_t>(d.volumeId());
    d.says("pool " + Num(req.poolId) + ", volume " + Num(req.SNRVolumeId));
}

inline void RemoveMember(Draw& d)
{
    auto& req = d.body<repRemoveRVScratchVolumeReq>();
    req.scratchVolumeId = static_cast<uint32_t>(d.id("YBScratchVolume"));
    d.says("scratch volume " + Num(req.scratchVolumeId));
}

template <typename Req>
void ReleaseMember(Draw& d)
{
    auto& req = d.body<Req>();
    const StoredReplica* replica = d.oneOf(d.stored().replicas);
    req.RVScratchVolumeId = replica != nullptr && replica->scratchVolumeId != 0 && d.chance(60)
                                ? replica->scratchVolumeId
                                : d.id("YBScratchVolume");
    std::string what = "scratch volume " + Num(req.RVScratchVolumeId);
    if constexpr (std::is_same<Req, repReleaseRVScratchVolumeV2Req>::value) {
        req.YBVolumeId = d.chance(50) ? d.id("YBVolume") : -1;
        what += ", replication volume " + Num(req.YBVolumeId);
    }
    d.says(what);
}

inline void PoolCost(Draw& d)
{
    auto& req = d.body<repUpdateCostToVolsInPoolReq>();
    req.poolId = static_cast<uint32_t>(d.id("YBScratchPool"));
    req.costCategoryId = static_cast<uint32_t>(1 + d.below(3));
    d.says("pool " + Num(req.poolId));
}

// ---- Replication volumes ----

// A volume with a device that no replication volume lies on or copies, when
// there is one: a snapshot's volume that nothing else keeps.
inline int SnapOnlyVolumeId(Draw& d)
{
    std::vector<int> volumes;
    for (const StoredDevice& device : d.stored().devices) {
        bool named = false;
        for (const StoredReplica& r : d.stored().replicas)
            named = named || r.primaryVolumeId == device.volumeId || r.physicalVolumeId == device.volumeId;
        if (!named) volumes.push_back(device.volumeId);
    }
    const int* volume = d.oneOf(volumes);
    return volume != nullptr ? *volume : d.volumeId();
}

// A replication volume of any role on stored volumes, created up to a day
// ago; a replica (role 1) names a scratch volume and mostly lies on it.
inline ReplicationVolumeV5Record_t ReplicaRecord(Draw& d, int id)
{
    ReplicationVolumeV5Record_t r;
    const int roles[] = {YBVOL_ROLE_REPLICA, YBVOL_ROLE_SNAPSHOT, YBVOL_ROLE_SNAPSHOT, YBVOL_ROLE_COPY,
                         YBVOL_ROLE_PERMANENT_REPLICA, YBVOL_ROLE_DESTINATION_SNAPSHOT};
    r.id = id;
    r.PointInTime = static_cast<int32_t>(std::time(nullptr)) - d.below(86400);
    r.CreationTime = r.PointInTime;
    r.ModifyTime = r.PointInTime;
    r.CurrentState = 1;
    r.CurrentRole = d.oneOf(roles);
    r.PrimaryVolumeId = d.volumeId();
    r.PhysicalVolumeId = d.volumeId();
    r.ReplicationPolicyId = d.chance(80) ? d.storedId("YBPolicy") : 0;
    r.RVScratchVolumeId = 0;
    if (r.CurrentRole == YBVOL_ROLE_REPLICA || d.chance(15)) {
        const StoredScratchVolume* scratch = d.oneOf(d.stored().scratch);
        r.RVScratchVolumeId = scratch != nullptr && d.chance(85) ? scratch->id : d.id("YBScratchVolume");
        if (scratch != nullptr && r.RVScratchVolumeId == scratch->id && d.chance(80))
            r.PhysicalVolumeId = scratch->volumeId;
    }
    r.DoNotPrune = d.chance(10);
    r.JobId = 1 + d.below(6);
    r.IsSnapActive = d.chance(10);
    r.SnapVolumeId = d.chance(50) ? (d.chance(60) ? SnapOnlyVolumeId(d) : d.volumeId()) : 0;
    r.SnapEngineType = d.chance(30) ? 5 : 1;
    r.SnapvaultReplicaDir = d.chance(20) ? "/vault/" + Num(d.below(4)) : "";
    return r;
}

inline std::string Describe(const ReplicationVolumeV5Record_t& r)
{
    return "role " + Num(r.CurrentRole) + ", primary " + Num(r.PrimaryVolumeId) + ", on " + Num(r.PhysicalVolumeId) +
           ", snap volume " + Num(r.SnapVolumeId) + ", scratch " + Num(r.RVScratchVolumeId);
}

// The add, in the record of its version; V5 links it to a subclient at times.
template <typename Req, typename Record>
void AddReplica(Draw& d)
{
    auto& req = d.body<Req>();
    const ReplicationVolumeV5Record_t& r = d.request().keep(ReplicaRecord(d, 0));
    YBSet(req.ReplicationVolume, static_cast<const Record&>(r));
    std::string what = Describe(r);
    if constexpr (std::is_same<Req, repAddReplicationVolumeV5Req>::value) {
        req.subclientId = d.chance(80) ? d.oneOf(kSubclients) : 0;
        what += ", subclient " + Num(req.subclientId);
    }
    d.says(what);
}

// The update: V1 to V3 write every field; V4 and V5 those of their map.
template <typename Req, typename Record>
void UpdateReplica(Draw& d)
{
    auto& req = d.body<Req>();
    ReplicationVolumeV5Record_t r = ReplicaRecord(d, d.id("YBVolume"));
    if constexpr (std::is_base_of<ReplicationVolumeV4Record_t, Record>::value) {
        const int32_t maps[] = {YB_VOL_PHYSICAL_VOL_ID, YB_VOL_PRIMARY_VOL_ID, YB_VOL_SNAP_VOL_ID,
                                YB_VOL_SCRATCH_VOL_ID, YB_VOL_CURRENT_ROLE, YB_VOL_DO_NOT_PRUNE, 0};
        r.UpdateMap = d.oneOf(maps);
    }
    YBSet(req.ReplicationVolume, static_cast<const Record&>(d.request().keep(r)));
    d.says("replication volume " + Num(r.id) + ": " + Describe(r));
}

inline void RemoveReplica(Draw& d)
{
    auto& req = d.body<repRemoveReplicationVolumeReq>();
    req.id = d.id("YBVolume");
    d.says("replication volume " + Num(req.id));
}

// A permanent replica of a stored volume on a disk, often a stored
// volume's identity, so that it lies on a volume others name.
template <typename Req>
void CreatePermanent(Draw& d)
{
    auto& req = d.body<Req>();
    const Identity identity = d.identity();
    req.PrimaryVolumeId = d.volumeId();
    req.SNRVolume = VolumeWire<decltype(req.SNRVolume)>(d, identity, false);
    if constexpr (!std::is_same<Req, repCreatePermanentReplicaReq>::value) req.JobId = 1 + d.below(6);
    d.says("of volume " + Num(req.PrimaryVolumeId) + " on " + Describe(identity));
}

inline void DeletePermanent(Draw& d)
{
    auto& req = d.body<repDeletePermanentReplicaReq>();
    std::vector<int> primaries;
    for (const StoredReplica& r : d.stored().replicas)
        if (r.role == YBVOL_ROLE_PERMANENT_REPLICA) primaries.push_back(r.primaryVolumeId);
    const int* primary = d.chance(80) ? d.oneOf(primaries) : nullptr;
    req.PrimaryVolumeId = primary != nullptr ? *primary : d.volumeId();
    d.says("of volume " + Num(req.PrimaryVolumeId));
}

// The reservation and its reversal of replication volumes.
inline void ReplicaList(Draw& d)
{
    auto& req = d.body<repReserveReplicaVolReq>();
    const int count = 1 + d.below(2);
    req.count = static_cast<uint32_t>(count);
    req.ids = d.request().array<int32_t>(static_cast<size_t>(count));
    std::string what = "replication volumes";
    for (int i = 0; i < count; ++i) {
        req.ids[i] = d.id("YBVolume");
        what += " " + Num(req.ids[i]);
    }
    d.says(what);
}

// The retention pass, at a time up to two days ahead.
inline void Prune(Draw& d)
{
    auto& req = d.body<repPruneReplicaVolumeReq>();
    req.CurrentTime = static_cast<int32_t>(std::time(nullptr)) + d.below(2 * 86400);
    d.says("");
}

inline void AddAppDirs(Draw& d)
{
    auto& req = d.body<repCreateAppDirsRecordsReq>();
    const int count = 1 + d.below(2);
    req.count = static_cast<uint32_t>(count);
    req.AppDirs = d.request().array<repApplicationDirs>(static_cast<size_t>(count));
    std::string what = "for replication volumes";
    for (int i = 0; i < count; ++i) {
        repApplicationDirs& e = req.AppDirs[i];
        e.subclientId = d.oneOf(kSubclients);
        e.clientId = d.clientId();
        e.pathType = 1;
        e.objName = d.text("obj" + Num(d.below(3)));
        e.path = d.text("/data/" + Num(d.below(4)));
        e.ReplicationVolumeId = d.id("YBVolume");
        e.creationTime = static_cast<int32_t>(std::time(nullptr));
        e.modifyTime = e.creationTime;
        what += " " + Num(e.ReplicationVolumeId);
    }
    d.says(what);
}

inline void CopyAppDirs(Draw& d)
{
    auto& req = d.body<repCopyAppDirReq>();
    req.SrcYBVolId = d.id("YBVolume");
    req.DstYBVolId = d.id("YBVolume");
    d.says("from " + Num(req.SrcYBVolId) + " to " + Num(req.DstYBVolId));
}

inline void AppDirTimes(Draw& d)
{
    auto& req = d.body<repUpdateAppDirModifyTimeByRepVolReq>();
    req.count = 1;
    req.ReplicationVolumeIds = d.request().array<int32_t>(1);
    req.ReplicationVolumeIds[0] = d.id("YBVolume");
    d.says("replication volume " + Num(req.ReplicationVolumeIds[0]));
}

}  // namespace random_posts
