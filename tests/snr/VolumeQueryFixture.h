// A catalogue seeded for the volume queries (the inventory of a client, the
// SNR volume by id, the SNR volume with its replicas), the seeded rows as
// data, and checks of a record of any version against the row it came from.
//
// Clients 2, 3 and 4 have devices; client 5 has none. SNR volume 10 is shared
// by clients 2 and 3; client 2 has two devices on volume 11. Scratch pool 9
// holds volumes 10, 12 and 13. Replication volumes of several roles: 500 lies
// on 10; 501 (a snapshot of 10, snapshot volume 10) on 13; 502 (the permanent
// replica of 10) on 14; 503 (a snapshot of 11, snapshot volume 10) on 15;
// 504 (role 5) on 16. Each volume holds at most one replication and one
// scratch volume; the tests that need more add them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <future>
#include <set>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "host/ZxSync.h"
#include "host/db/SqlText.h"
#include "replicas/ReplicaRecords.h"
#include "scratch/ScratchRecords.h"
#include "service/CasePatterns.h"
#include "service/Sync.h"
#include "snr/SNRPostFixture.h"
#include "snr/SNRRecords.h"

namespace volume_seed {

struct Volume {
    int id;
    const char* uniqueId;
    int uniqueIdType, lun;
    long long startLBA, blockCount;
    int blockSize, flags;
    const char* fsType;
    const char* snapshotId;
    int applianceId, tzState, costCategoryId, type;
};
struct Device {
    int id, clientId, volumeId;
    const char* name;
    int flags;
    const char* osName;
    const char* accessPath;
    int filerClientId;
};
struct MountPoint {
    int id, deviceId;
    const char* path;
    int flags;
};
struct Replica {
    int id, pointInTime, creationTime, modifyTime, state, role, primary, physical, policy, scratchVolumeId, flags,
        jobId, snapVolumeId, engineType;
    const char* dir;
    const char* guid;
};
struct Scratch {
    int id, volumeId, poolId, flags, lockedByJobId;
};

// StartLBA and BlockCount of volume 10 need 64 bits; 11 has empty texts.
inline const std::vector<Volume> kVolumes = {
    {10, "uid-10", 1, 3, 63, 8589934599LL, 512, 0x19, "ntfs", "snap-10", 4, 2, 6, 1},
    {11, "uid-11", 2, 0, 2048, 1000, 4096, 0x22, "", "", 0, 0, 0, 3},
    {12, "uid'12", 1, 5, 0, 500, 512, 0x4, "ext4", "snap-12", 1, 0, 2, 2},
    {13, "uid-13", 1, 6, 0, 600, 512, 0, "xfs", "", 0, 0, 0, 1},
    {14, "uid-14", 1, 7, 0, 700, 512, 0x8, "ntfs", "snap-14", 0, 0, 0, 1},
    {15, "uid-15", 1, 8, 0, 800, 512, 0, "", "", 0, 0, 0, 1},
    {16, "uid-16", 1, 9, 0, 900, 512, 0, "", "", 0, 0, 0, 1},
};
// Stored out of id order.
inline const std::vector<Device> kDevices = {
    {104, 2, 12, "dev-104", 0, "/dev/sdd", "", 1},
    {100, 2, 10, "dev-100", 0xf, "/dev/sda", "ap-100", 7},
    {101, 3, 10, "dev-101", 0x2, "", "", 1},
    {103, 2, 11, "dev-103", 0, "", "", 1},
    {102, 2, 11, "dev-102", 0x1, "/dev/sdb", "", 1},
    {105, 3, 13, "dev-105", 0, "", "", 1},
    {106, 4, 14, "dev-106", 0, "", "", 1},
};
inline const std::vector<MountPoint> kMountPoints = {
    {302, 102, "/mnt/b", 0x1}, {300, 100, "/mnt/a", 0x3}, {301, 100, "E:\\", 0x2},
    {303, 101, "/mnt/c", 0},   {304, 106, "/mnt/d", 0},
};
inline const std::vector<Replica> kReplicas = {
    {500, 11, 1000, 1100, 1, 1, 20, 10, 8, 700, 0x3f, -2, 0, 3, "dir-500", "guid-500"},
    {501, 12, 3000, 3100, 2, 2, 10, 13, 8, 0, 0x2, 77, 10, 5, "", ""},
    {502, 13, 2000, 2100, 3, 4, 10, 14, 9, 0, 0x1, 78, 0, 0, "", "guid-502"},
    {503, 14, 4000, 4100, 4, 2, 11, 15, 8, 0, 0, 79, 10, 5, "dir-503", ""},
    {504, 15, 5000, 5100, 5, 5, 12, 16, 8, 0, 0x10, 80, 0, 5, "", ""},
};
inline const std::vector<Scratch> kScratch = {
    {700, 10, 9, 16, -5},
    {702, 12, 9, 0, 0},
    {701, 13, 9, 0, 44},
};

inline std::string Text(const char* s) { return "'" + SqlEscape(s) + "'"; }
inline std::string Num(long long v) { return std::to_string(v); }

inline std::string InsertReplica(const Replica& r)
{
    return "INSERT INTO YBVolume VALUES (" + Num(r.id) + ", " + Num(r.pointInTime) + ", " + Num(r.creationTime) +
           ", " + Num(r.modifyTime) + ", " + Num(r.state) + ", " + Num(r.role) + ", " + Num(r.primary) + ", " +
           Num(r.physical) + ", " + Num(r.policy) + ", " + Num(r.scratchVolumeId) + ", " + Num(r.flags) + ", " +
           Num(r.jobId) + ", " + Num(r.snapVolumeId) + ", " + Num(r.engineType) + ", " + Text(r.dir) + ", " +
           Text(r.guid) + ")";
}
inline std::string InsertScratch(const Scratch& s)
{
    return "INSERT INTO YBScratchVolume VALUES (" + Num(s.id) + ", " + Num(s.volumeId) + ", " + Num(s.poolId) +
           ", " + Num(s.flags) + ", " + Num(s.lockedByJobId) + ")";
}

template <typename Row>
const Row& ById(const std::vector<Row>& rows, int id)
{
    auto it = std::find_if(rows.begin(), rows.end(), [id](const Row& r) { return r.id == id; });
    EXPECT_NE(it, rows.end()) << "no seeded row " << id;
    return *it;
}

// ---- Message versions and replies ------------------------------------------------

// A message version of a query: its request, reply, argument and result
// types, its request code and its number (1, 42, 3, 4, ...).
template <typename R, typename P, typename A, typename T, unsigned long C, int N>
struct Version {
    using Req = R;
    using Reply = P;
    using Args = A;
    using Ret = T;
    static constexpr unsigned long code = C;
    static constexpr int number = N;
    static constexpr bool carriesCode = N != 1 && N != 42;
};

// The status fields of a sent reply; the error code 0 where it carries none.
struct StatusAnswer {
    unsigned long code = 0;
    size_t size = 0;
    int32_t status = 99;
    int32_t errCode = 0;
    bool hasMsg = false;
    std::string msg;

    template <typename Reply>
    void readStatus(const Reply& r)
    {
        status = r.status;
        hasMsg = r.errMsg != nullptr;
        if (hasMsg) msg = r.errMsg;
        if constexpr (cases::HasErrCode<Reply>::value) errCode = r.errCode;
    }
};

template <typename V>
void ExpectSucceeded(const StatusAnswer& a)
{
    EXPECT_EQ(a.status, 1);
    EXPECT_FALSE(a.hasMsg);
    EXPECT_EQ(a.errCode, 0);
}

// Status 0, the text and, where the version carries one, the code.
template <typename V>
void ExpectFailed(const StatusAnswer& a, int code, const std::string& text)
{
    EXPECT_EQ(a.status, 0);
    EXPECT_EQ(a.msg, text);
    EXPECT_EQ(a.errCode, V::carriesCode ? code : 0);
}

// The completion entry of a request handler for the version's codes.
template <typename V>
std::string Completion(const char* handler, const char* outcome)
{
    return std::string(handler) + "\n\tMessage " + ZXS_ReplicationMgr_PM_STRING(static_cast<unsigned int>(V::code)) +
           " completed " + outcome + "\n\tSending reply " +
           ZXS_ReplicationMgr_PM_STRING(static_cast<unsigned int>(V::code + 1)) + " to client...";
}

// ---- A record of any version against its row ------------------------------------

template <typename Base, typename Record>
constexpr bool Has = std::is_base_of<Base, Record>::value;

template <typename Record>
void ExpectVolume(const Record& got, const Volume& v)
{
    SCOPED_TRACE("SNR volume " + std::to_string(v.id));
    EXPECT_EQ(got.id, v.id);
    EXPECT_EQ(got.UniqueId, v.uniqueId);
    EXPECT_EQ(got.UniqueIdType, v.uniqueIdType);
    EXPECT_EQ(got.LUN, v.lun);
    // Versions 1 and 42 carry the low 32 bits.
    EXPECT_EQ(got.StartLBA, static_cast<decltype(got.StartLBA)>(v.startLBA));
    EXPECT_EQ(got.BlockCount, static_cast<decltype(got.BlockCount)>(v.blockCount));
    EXPECT_EQ(got.BlockSize, v.blockSize);
    EXPECT_EQ(got.BackupFromSnap, (v.flags & 0x1) != 0);
    EXPECT_EQ(got.Locked, (v.flags & 0x2) != 0);
    EXPECT_EQ(got.FSType, v.fsType);
    EXPECT_EQ(got.UsePermReplica, (v.flags & 0x4) != 0);
    if constexpr (!std::is_same<Record, SNRVolumeRecord_t>::value) {
        EXPECT_EQ(got.UniqueSnapshotID, v.snapshotId);
        EXPECT_EQ(got.Allocated, (v.flags & 0x8) != 0);
    }
    if constexpr (Has<SNRVolumeRecordV3_t, Record>) {
        EXPECT_EQ(got.MorvaneProtected, (v.flags & 0x10) != 0);
        EXPECT_EQ(got.ApplianceId, v.applianceId);
        EXPECT_EQ(got.TzState, v.tzState);
        EXPECT_EQ(got.CostCategoryId, v.costCategoryId);
        EXPECT_EQ(got.ShadowImported, (v.flags & 0x20) != 0);
    }
    if constexpr (Has<SNRVolumeRecordV4_t, Record>) {
        EXPECT_EQ(got.VolType, v.type);
    }
}

template <typename Record>
void ExpectDevice(const Record& got, const Device& d)
{
    SCOPED_TRACE("device " + std::to_string(d.id));
    EXPECT_EQ(got.id, d.id);
    EXPECT_EQ(got.ClientId, d.clientId);
    EXPECT_EQ(got.SNRVolumeId, d.volumeId);
    EXPECT_EQ(got.DeviceName, d.name);
    EXPECT_EQ(got.IsCaseSensitive, (d.flags & 0x1) != 0);
    if constexpr (Has<SNRVolumeDeviceNameV2Record_t, Record>) {
        EXPECT_EQ(got.OSDeviceName, d.osName);
        EXPECT_EQ(got.Configured, (d.flags & 0x2) != 0);
        EXPECT_EQ(got.Fake, (d.flags & 0x4) != 0);
    }
    if constexpr (Has<SNRVolumeDeviceNameV3Record_t, Record>) {
        EXPECT_EQ(got.VVM, (d.flags & 0x8) != 0);
        EXPECT_EQ(got.AccessPath, d.accessPath);
    }
    if constexpr (Has<SNRVolumeDeviceNameV4Record_t, Record>) {
        EXPECT_EQ(got.FilerClientId, d.filerClientId);
    }
}

inline void ExpectMountPoint(const SNRVolumeMountPointRecord_t& got, const MountPoint& m)
{
    SCOPED_TRACE("mount point " + std::to_string(m.id));
    EXPECT_EQ(got.id, m.id);
    EXPECT_EQ(got.DeviceNameId, m.deviceId);
    EXPECT_EQ(got.Path, m.path);
    EXPECT_EQ(got.IsCaseSensitive, (m.flags & 0x1) != 0);
    EXPECT_EQ(got.Unmounted, (m.flags & 0x2) != 0);
}

template <typename Record>
void ExpectScratch(const Record& got, const Scratch& s)
{
    SCOPED_TRACE("scratch volume " + std::to_string(s.id));
    EXPECT_EQ(got.id, s.id);
    EXPECT_EQ(got.PhysicalVolumeId, s.volumeId);
    EXPECT_EQ(got.RVScratchVolumePoolId, s.poolId);
    if constexpr (Has<RVScratchVolumeV2Record_t, Record>) {
        EXPECT_EQ(got.LockedByJobId, s.lockedByJobId);
    }
}

template <typename Record>
void ExpectReplica(const Record& got, const Replica& r)
{
    SCOPED_TRACE("replication volume " + std::to_string(r.id));
    EXPECT_EQ(got.id, r.id);
    EXPECT_EQ(got.PointInTime, r.pointInTime);
    EXPECT_EQ(got.CreationTime, r.creationTime);
    EXPECT_EQ(got.ModifyTime, r.modifyTime);
    EXPECT_EQ(got.CurrentState, r.state);
    EXPECT_EQ(got.CurrentRole, r.role);
    EXPECT_EQ(got.PrimaryVolumeId, r.primary);
    EXPECT_EQ(got.PhysicalVolumeId, r.physical);
    EXPECT_EQ(got.ReplicationPolicyId, r.policy);
    EXPECT_EQ(got.RVScratchVolumeId, r.scratchVolumeId);
    EXPECT_EQ(got.DoNotPrune, (r.flags & 0x1) != 0);
    if constexpr (Has<ReplicationVolumeRecord42_t, Record>) {
        EXPECT_EQ(got.JobId, r.jobId);
        EXPECT_EQ(got.IsSnapActive, (r.flags & 0x2) != 0);
        EXPECT_EQ(got.ActivateSnap, (r.flags & 0x4) != 0);
    }
    if constexpr (Has<ReplicationVolumeV3Record_t, Record>) {
        EXPECT_EQ(got.SnapVolumeId, r.snapVolumeId);
        EXPECT_EQ(got.MorvaneVolume, (r.flags & 0x8) != 0);
        EXPECT_EQ(got.ShadowSnap, (r.flags & 0x10) != 0);
        EXPECT_EQ(got.TransportableSnap, (r.flags & 0x20) != 0);
    }
    if constexpr (Has<ReplicationVolumeV4Record_t, Record>) {
        EXPECT_EQ(got.SnapEngineType, r.engineType);
    }
    if constexpr (Has<ReplicationVolumeV5Record_t, Record>) {
        EXPECT_EQ(got.SnapvaultReplicaDir, r.dir);
        EXPECT_EQ(got.SourceGUID, r.guid);
    }
}

// Wire records read back into the record of the same version.
template <typename Record, typename Wire>
Record Read(const Wire& wire)
{
    Record record;
    YBSet(record, wire);
    return record;
}

template <typename Record, typename Wire, typename Count>
std::vector<Record> ReadArray(const Wire* array, Count count)
{
    std::vector<Record> records;
    for (Count i = 0; array != nullptr && i < count; ++i) records.push_back(Read<Record>(array[i]));
    return records;
}

}  // namespace volume_seed

// The seeded catalogue and one ReplicationMgr on a recording network.
template <typename Answer>
class VolumeQueryTest : public SNRPostTest<Answer> {
protected:
    void SetUp() override
    {
        SNRPostTest<Answer>::SetUp();
        using namespace volume_seed;
        this->exec("INSERT INTO YBScratchPool (id, TotalVolumes, AvailableVolumes, name) VALUES (9, 3, 2, 'pool-9')");
        for (const Volume& v : kVolumes)
            this->exec("INSERT INTO YBPhysicalVolume VALUES (" + Num(v.id) + ", " + Text(v.uniqueId) + ", " +
                       Num(v.uniqueIdType) + ", " + Num(v.lun) + ", " + Num(v.startLBA) + ", " + Num(v.blockCount) +
                       ", " + Num(v.blockSize) + ", " + Num(v.flags) + ", " + Text(v.fsType) + ", " +
                       Text(v.snapshotId) + ", " + Num(v.applianceId) + ", " + Num(v.tzState) + ", " +
                       Num(v.costCategoryId) + ", " + Num(v.type) + ")");
        for (const Device& d : kDevices)
            this->exec("INSERT INTO YBPhysicalDevice VALUES (" + Num(d.id) + ", " + Num(d.clientId) + ", " +
                       Num(d.volumeId) + ", " + Text(d.name) + ", " + Num(d.flags) + ", " + Text(d.osName) + ", " +
                       Text(d.accessPath) + ", " + Num(d.filerClientId) + ")");
        for (const MountPoint& m : kMountPoints)
            this->exec("INSERT INTO YBMountPoint VALUES (" + Num(m.id) + ", " + Num(m.deviceId) + ", " +
                       Text(m.path) + ", " + Num(m.flags) + ")");
        for (const Replica& r : kReplicas) this->exec(InsertReplica(r));
        for (const Scratch& s : kScratch) this->exec(InsertScratch(s));
    }

    void TearDown() override
    {
        AllocReplyArray = &malloc;
        ZxNamedMutex::setWaitScale(1.0);
        SNRPostTest<Answer>::TearDown();
    }
};

// Another thread holds the named mutex of a table lock while it lives.
class LockHeldElsewhere {
public:
    explicit LockHeldElsewhere(const char* name)
    {
        ZxNamedMutex::setWaitScale(0.001);  // the 60 s wait becomes 60 ms
        std::promise<void> locked;
        std::future<void> lockedF = locked.get_future();
        m_thread = std::thread([this, name, locked = std::move(locked)]() mutable {
            FXNamedMutex mutex(name);
            mutex.Lock();
            locked.set_value();
            m_release.get_future().wait();
            mutex.Unlock();
        });
        lockedF.wait();
    }
    ~LockHeldElsewhere()
    {
        m_release.set_value();
        m_thread.join();
    }

    // Whether another thread could take the named mutex at once.
    static bool isFree(const char* name)
    {
        bool free = false;
        std::thread([&free, name] {
            FXNamedMutex mutex(name);
            free = mutex.TryLock();
            if (free) mutex.Unlock();
        }).join();
        return free;
    }

private:
    std::promise<void> m_release;
    std::thread m_thread;
};
