#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "files/BrowseViews.h"
#include "files/FilesPostFixture.h"
#include "host/HostConfig.h"
#include "host/ZxSync.h"
#include "host/db/DBtable.h"
#include "service/Sync.h"
#include "support/BlockingCall.h"
#include "support/NamedMutexes.h"

namespace {

const unsigned long kByClient = 0x350001c9;
const unsigned long kByClientV2 = 0x35000218;
const unsigned long kByPolicy = 0x350001cd;
const unsigned long kByPolicyV2 = 0x35000220;
const long long kKind = 33554432;  // pathType of application kind 1

// A browse reply read back into records; an application name that went out
// as a null pointer reads "(null)".
template <typename Device>
struct Browsed {
    Status s;
    std::vector<uint32_t> counts;
    int arrays = 0;  // arrays that were sent
    std::vector<SNRVolumeRecordV4_t> volumes;
    std::vector<Device> devices;
    std::vector<SNRVolumeMountPointRecord_t> mounts;
    std::vector<RVScratchVolumeV2Record_t> scratch;
    std::vector<ReplicationVolumeV5Record_t> ybVolumes;
    std::vector<std::pair<int32_t, std::string>> apps;
};

template <typename Record, typename Wire>
std::vector<Record> ReadArray(const Wire* array, uint32_t count, int& arrays)
{
    std::vector<Record> records;
    if (array != nullptr) ++arrays;
    for (uint32_t i = 0; array != nullptr && i < count; ++i) {
        Record record;
        YBSet(record, array[i]);
        records.push_back(record);
    }
    return records;
}

template <typename Device, typename Reply>
Browsed<Device> ReadBrowse(const Reply& r)
{
    Browsed<Device> b;
    b.s = StatusOfReply(r);
    b.counts = {r.SNRVolumeCount, r.DeviceCount, r.MountPointCount, r.ScratchVolumeCount, r.YBVolumeCount, r.AppCount};
    b.volumes = ReadArray<SNRVolumeRecordV4_t>(r.SNRVolumes, r.SNRVolumeCount, b.arrays);
    b.devices = ReadArray<Device>(r.Devices, r.DeviceCount, b.arrays);
    b.mounts = ReadArray<SNRVolumeMountPointRecord_t>(r.MountPoints, r.MountPointCount, b.arrays);
    b.scratch = ReadArray<RVScratchVolumeV2Record_t>(r.ScratchVolumes, r.ScratchVolumeCount, b.arrays);
    b.ybVolumes = ReadArray<ReplicationVolumeV5Record_t>(r.YBVolumes, r.YBVolumeCount, b.arrays);
    if (r.Apps != nullptr) ++b.arrays;
    for (uint32_t i = 0; r.Apps != nullptr && i < r.AppCount; ++i)
        b.apps.emplace_back(r.Apps[i].id, WireText(r.Apps[i].AppName));
    return b;
}

template <typename List>
std::vector<int32_t> Ids(const List& list)
{
    std::vector<int32_t> ids;
    for (const auto& record : list) ids.push_back(record.id);
    std::sort(ids.begin(), ids.end());
    return ids;
}

template <typename List>
auto ById(const List& list, int32_t id) -> typename List::value_type
{
    for (const auto& record : list)
        if (record.id == id) return record;
    ADD_FAILURE() << "no record " << id;
    return typename List::value_type();
}

using V1Browse = Browsed<SNRVolumeDeviceNameV3Record_t>;
using V2Browse = Browsed<SNRVolumeDeviceNameV4Record_t>;

class BrowseViewTest : public FilesPostTest {
protected:
    // SNR volumes 1 to 9, 3 with every column set. Client 5 has devices 1
    // and 2 on SNR volume 1 and 7 on volume 9, client 6 device 3 on volume 2,
    // client 7 device 4 (every column set) on volume 3. YB volumes (primary,
    // physical, policy): 10 (1, 3, 9, every column set), 11 (2, 4, 9), 12 (1,
    // 6, 8), 13 (3, 5, 9), 14 (7, 8, 9). Scratch volumes 20 on physical
    // volume 3, 21 on 1, 22 on 5; mount points 30 and 31 of device 1, 32 of
    // device 4, 33 of device 3. Directories: 10 of kind 1, 11 of kind 8.
    void SetUp() override
    {
        FilesPostTest::SetUp();
        std::string sql = "INSERT INTO YBPhysicalVolume (id, UniqueId) VALUES ";
        for (int i : {1, 2, 4, 5, 6, 7, 8, 9}) sql += (i == 1 ? "(" : ", (") + std::to_string(i) + ", 'uid-" +
                                                     std::to_string(i) + "')";
        exec(sql);
        exec("INSERT INTO YBPhysicalVolume (id, UniqueId, UniqueIdType, LUN, StartLBA, BlockCount, BlockSize, Flags, "
             "FSType, UniqueSnapshotID, ApplianceId, TzState, CostCategoryId, Type) VALUES "
             "(3, 'uid-3', 2, 7, 5000000000, 6000000000, 512, 63, 'ntfs', 'snap-3', 4, 1, 11, 2)");
        exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName, Flags, OSDeviceName, AccessPath, "
             "FilerClientId) VALUES (1, 5, 1, '/dev/sdb', 0, '', '', 0), (2, 5, 1, '/dev/sdc', 0, '', '', 0), "
             "(3, 6, 2, '/dev/sdd', 0, '', '', 0), (4, 7, 3, '/dev/sde', 15, 'os-4', 'acc-4', 9), "
             "(7, 5, 9, '/dev/sdf', 0, '', '', 0)");
        exec("INSERT INTO YBVolume (id, PointInTime, CreationTime, ModifyTime, CurrentState, CurrentRole, "
             "PrimaryVolumeId, PhysicalVolumeId, ReplicationPolicyId, RVScratchVolumeId, Flags, JobId, SnapVolumeId, "
             "SnapEngineType, SnapvaultReplicaDir, SourceGUID) VALUES "
             "(10, 1001, 1002, 1003, 4, 5, 1, 3, 9, 20, 63, 77, 13, 2, 'vault/10', 'guid-10'), "
             "(11, 0, 0, 0, 0, 0, 2, 4, 9, 0, 0, 0, 0, 0, '', ''), (12, 0, 0, 0, 0, 0, 1, 6, 8, 0, 0, 0, 0, 0, '', ''), "
             "(13, 0, 0, 0, 0, 0, 3, 5, 9, 0, 0, 0, 0, 0, '', ''), (14, 0, 0, 0, 0, 0, 7, 8, 9, 0, 0, 0, 0, 0, '', '')");
        exec("INSERT INTO YBScratchVolume (id, PhysicalVolumeId, RVScratchVolumePoolId, LockedByJobId) VALUES "
             "(20, 3, 1, 33), (21, 1, 1, 0), (22, 5, 2, 0)");
        exec("INSERT INTO YBMountPoint (id, DeviceNameId, Path, Flags) VALUES (30, 1, '/mnt/a', 0), "
             "(31, 1, '/mnt/b', 3), (32, 4, '/mnt/c', 0), (33, 3, '/mnt/d', 0)");
        exec("INSERT INTO YBApplicationDirs (id, pathType, ReplicationVolumeId) VALUES (1, " + std::to_string(kKind) +
             ", 10), (2, " + std::to_string(8 * kKind + 5) + ", 11)");
    }

    template <typename Reply, typename Device>
    Browsed<Device> browse(unsigned long code, int32_t id)
    {
        int32_t request = id;  // client or policy id at +0
        return post<Reply>(code, &request, [](const Reply& r) { return ReadBrowse<Device>(r); });
    }
    V1Browse byClient(int32_t id) { return browse<repBrowseByClientIdResp, SNRVolumeDeviceNameV3Record_t>(kByClient, id); }
    V2Browse byClientV2(int32_t id)
    {
        return browse<repBrowseByClientIdV2Resp, SNRVolumeDeviceNameV4Record_t>(kByClientV2, id);
    }
    V1Browse byPolicy(int32_t id) { return browse<repBrowseByPolicyIdResp, SNRVolumeDeviceNameV3Record_t>(kByPolicy, id); }
    V2Browse byPolicyV2(int32_t id)
    {
        return browse<repBrowseByPolicyIdV2Resp, SNRVolumeDeviceNameV4Record_t>(kByPolicyV2, id);
    }

    // What a browse of client 5 answers, in either version.
    template <typename Device>
    static void expectClient5(const Browsed<Device>& b)
    {
        EXPECT_EQ(b.s.status, 1u);
        EXPECT_EQ(b.s.errCode, 0);
        EXPECT_EQ(b.s.msg, "(null)");
        EXPECT_EQ(b.counts, (std::vector<uint32_t>{3, 3, 3, 1, 2, 2}));
        EXPECT_EQ(b.arrays, 6);

        ASSERT_EQ(Ids(b.ybVolumes), (std::vector<int32_t>{10, 12}));
        const ReplicationVolumeV5Record_t v = ById(b.ybVolumes, 10);
        EXPECT_EQ(v.PointInTime, 1001);
        EXPECT_EQ(v.CreationTime, 1002);
        EXPECT_EQ(v.ModifyTime, 1003);
        EXPECT_EQ(v.CurrentState, 4);
        EXPECT_EQ(v.CurrentRole, 5);
        EXPECT_EQ(v.PrimaryVolumeId, 1);
        EXPECT_EQ(v.PhysicalVolumeId, 3);
        EXPECT_EQ(v.ReplicationPolicyId, 9);
        EXPECT_EQ(v.RVScratchVolumeId, 20);
        EXPECT_TRUE(v.DoNotPrune && v.IsSnapActive && v.ActivateSnap && v.MorvaneVolume && v.ShadowSnap &&
                    v.TransportableSnap);
        EXPECT_EQ(v.JobId, 77);
        EXPECT_EQ(v.SnapVolumeId, 13);
        EXPECT_EQ(v.SnapEngineType, 2);
        EXPECT_EQ(v.SnapvaultReplicaDir, "vault/10");
        EXPECT_EQ(v.SourceGUID, "guid-10");
        // The application names follow the YB volumes, one each.
        ASSERT_EQ(b.apps.size(), 2u);
        for (size_t i = 0; i < b.apps.size(); ++i) EXPECT_EQ(b.apps[i].first, b.ybVolumes[i].id);
        EXPECT_EQ(ById(b.ybVolumes, 12).PhysicalVolumeId, 6);
        std::vector<std::pair<int32_t, std::string>> apps = b.apps;
        std::sort(apps.begin(), apps.end());
        EXPECT_EQ(apps, (std::vector<std::pair<int32_t, std::string>>{{10, "Exchange"}, {12, "(null)"}}));

        // The primary and physical volumes of both.
        ASSERT_EQ(Ids(b.volumes), (std::vector<int32_t>{1, 3, 6}));
        const SNRVolumeRecordV4_t s = ById(b.volumes, 3);
        EXPECT_EQ(s.UniqueId, "uid-3");
        EXPECT_EQ(s.UniqueIdType, 2);
        EXPECT_EQ(s.LUN, 7);
        EXPECT_EQ(s.StartLBA, 5000000000LL);
        EXPECT_EQ(s.BlockCount, 6000000000LL);
        EXPECT_EQ(s.BlockSize, 512);
        EXPECT_TRUE(s.BackupFromSnap && s.Locked && s.UsePermReplica && s.Allocated && s.MorvaneProtected &&
                    s.ShadowImported);
        EXPECT_EQ(s.FSType, "ntfs");
        EXPECT_EQ(s.UniqueSnapshotID, "snap-3");
        EXPECT_EQ(s.ApplianceId, 4);
        EXPECT_EQ(s.TzState, 1);
        EXPECT_EQ(s.CostCategoryId, 11);
        EXPECT_EQ(s.VolType, 2);
        EXPECT_EQ(ById(b.volumes, 6).UniqueId, "uid-6");

        // Every device on those volumes, whichever client it belongs to.
        ASSERT_EQ(Ids(b.devices), (std::vector<int32_t>{1, 2, 4}));
        const Device d = ById(b.devices, 4);
        EXPECT_EQ(d.ClientId, 7);
        EXPECT_EQ(d.SNRVolumeId, 3);
        EXPECT_EQ(d.DeviceName, "/dev/sde");
        EXPECT_TRUE(d.IsCaseSensitive && d.Configured && d.Fake && d.VVM);
        EXPECT_EQ(d.OSDeviceName, "os-4");
        EXPECT_EQ(d.AccessPath, "acc-4");
        EXPECT_EQ(ById(b.devices, 2).DeviceName, "/dev/sdc");

        // Scratch volumes on a physical volume only (21 lies on a primary).
        ASSERT_EQ(Ids(b.scratch), (std::vector<int32_t>{20}));
        EXPECT_EQ(b.scratch[0].PhysicalVolumeId, 3);
        EXPECT_EQ(b.scratch[0].RVScratchVolumePoolId, 1);
        EXPECT_EQ(b.scratch[0].LockedByJobId, 33);

        ASSERT_EQ(Ids(b.mounts), (std::vector<int32_t>{30, 31, 32}));
        const SNRVolumeMountPointRecord_t m = ById(b.mounts, 31);
        EXPECT_EQ(m.DeviceNameId, 1);
        EXPECT_EQ(m.Path, "/mnt/b");
        EXPECT_TRUE(m.IsCaseSensitive && m.Unmounted);
        EXPECT_EQ(ById(b.mounts, 32).Path, "/mnt/c");
    }

    template <typename Device>
    static void expectFailure(const Browsed<Device>& b, int code, const std::string& text)
    {
        EXPECT_EQ(b.s.status, 0u);
        EXPECT_EQ(b.s.errCode, code);
        EXPECT_EQ(b.s.msg, text);
        EXPECT_EQ(b.counts, std::vector<uint32_t>(6, 0));
        EXPECT_EQ(b.arrays, 0);
    }

    bool tableExists(const std::string& name)
    {
        return scalar("SELECT count(*) FROM sqlite_master WHERE name = '" + name + "'") > 0;
    }
};

}  // namespace

TEST_F(BrowseViewTest, ByClientAnswersTheClientsReplicasFieldByField)
{
    V1Browse v1 = byClient(5);
    expectClient5(v1);
    EXPECT_FALSE(tableExists("YBBrowseByClientTmp"));  // dropped by the last step
    EXPECT_TRUE(NamedMutexIsFree("TmpYBBrowseClient"));

    // Version 2: the devices in their V4 layout, the rest alike.
    V2Browse v2 = byClientV2(5);
    expectClient5(v2);
    EXPECT_EQ(ById(v2.devices, 4).FilerClientId, 9);
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::BrowseByClientHandler()\n\tMessage REPLICA_PM_BROWSE_BY_CLIENT_V2_REQ "
                             "completed successfully\n\tSending reply REPLICA_PM_BROWSE_BY_CLIENT_V2_RESP to client...")
                  .size(),
              1u);

    V1Browse other = byClient(6);
    EXPECT_EQ(other.s.status, 1u);
    EXPECT_EQ(Ids(other.ybVolumes), (std::vector<int32_t>{11}));
    EXPECT_EQ(other.apps, (std::vector<std::pair<int32_t, std::string>>{{11, "Unknown Application"}}));
    EXPECT_EQ(Ids(other.volumes), (std::vector<int32_t>{2, 4}));
    EXPECT_EQ(Ids(other.devices), (std::vector<int32_t>{3}));
    EXPECT_TRUE(other.scratch.empty());
    EXPECT_EQ(Ids(other.mounts), (std::vector<int32_t>{33}));
    EXPECT_EQ(other.arrays, 5);  // no scratch volume: no array
}

TEST_F(BrowseViewTest, ByPolicyTakesEveryVolumeOfThePolicy)
{
    for (bool v2 : {false, true}) {
        SCOPED_TRACE(v2 ? "V2" : "V1");
        V1Browse b;
        if (v2) {
            V2Browse b2 = byPolicyV2(9);
            EXPECT_EQ(ById(b2.devices, 4).FilerClientId, 9);
            EXPECT_EQ(Ids(b2.devices), (std::vector<int32_t>{1, 2, 3, 4}));
            b.s = b2.s;
            b.ybVolumes = b2.ybVolumes;
            b.volumes = b2.volumes;
            b.scratch = b2.scratch;
            b.mounts = b2.mounts;
            b.apps = b2.apps;
        } else {
            b = byPolicy(9);
            EXPECT_EQ(Ids(b.devices), (std::vector<int32_t>{1, 2, 3, 4}));
        }
        EXPECT_EQ(b.s.status, 1u);
        ASSERT_EQ(Ids(b.ybVolumes), (std::vector<int32_t>{10, 11, 13, 14}));  // 14 has no device at all
        EXPECT_EQ(ById(b.ybVolumes, 10).SnapvaultReplicaDir, "vault/10");
        std::vector<std::pair<int32_t, std::string>> apps = b.apps;
        std::sort(apps.begin(), apps.end());
        EXPECT_EQ(apps, (std::vector<std::pair<int32_t, std::string>>{
                            {10, "Exchange 2000 Database"}, {11, "Unknown Application"}, {13, "(null)"}, {14, "(null)"}}));
        EXPECT_EQ(Ids(b.volumes), (std::vector<int32_t>{1, 2, 3, 4, 5, 7, 8}));
        EXPECT_EQ(Ids(b.scratch), (std::vector<int32_t>{20, 22}));
        EXPECT_EQ(Ids(b.mounts), (std::vector<int32_t>{30, 31, 32, 33}));
    }
    EXPECT_FALSE(tableExists("YBBrowseByPolicyTmp"));
    EXPECT_EQ(Ids(byPolicy(8).ybVolumes), (std::vector<int32_t>{12}));
}

TEST_F(BrowseViewTest, ANasClientIsBrowsedThroughItsDeviceNames)
{
    // Client 55 runs the NAS system; its volume's device is registered to
    // client 6 under the name "client55:...".
    HostClientSeed nas;
    nas.id = 55;
    nas.name = "filer";
    nas.osId = 16;
    ASSERT_EQ(HostConfig::addClient(nas), 0);
    exec("UPDATE YBPhysicalDevice SET DeviceName = 'client55:/vol/vol0' WHERE id = 3");

    V1Browse b = byClient(55);
    EXPECT_EQ(b.s.status, 1u);
    EXPECT_EQ(Ids(b.ybVolumes), (std::vector<int32_t>{11}));
    EXPECT_EQ(Ids(b.devices), (std::vector<int32_t>{3}));
    EXPECT_EQ(Ids(b.mounts), (std::vector<int32_t>{33}));

    // Another system: the devices of the client itself (none).
    exec("UPDATE DHT_Client SET dhtOperatingSystemId = 15 WHERE id = 55");
    V1Browse plain = byClient(55);
    EXPECT_EQ(plain.s.status, 1u);
    EXPECT_TRUE(plain.ybVolumes.empty());
}

TEST_F(BrowseViewTest, NothingToBrowseAndInvalidIds)
{
    V1Browse none = byClient(99);
    EXPECT_EQ(none.s.status, 1u);
    EXPECT_EQ(none.s.msg, "(null)");
    EXPECT_EQ(none.counts, std::vector<uint32_t>(6, 0));
    EXPECT_EQ(none.arrays, 0);
    EXPECT_EQ(LogEntriesWith("\tEvent: No YB Volumes found for the browse operation").size(), 1u);
    // The browse table stays for the next first step, which drops it.
    EXPECT_TRUE(tableExists("YBBrowseByClientTmp"));
    expectClient5(byClient(5));

    V2Browse emptyPolicy = byPolicyV2(77);
    EXPECT_EQ(emptyPolicy.s.status, 1u);
    EXPECT_EQ(emptyPolicy.arrays, 0);

    expectFailure(byClient(0), -6, "Invalid client id");
    expectFailure(byClientV2(-3), -6, "Invalid client id");
    expectFailure(byPolicy(0), -6, "Invalid Policy id");
    EXPECT_EQ(LogEntriesWith("\tEvent: Invalid Policy id\n\tPolicy Id = 0").size(), 1u);
    EXPECT_TRUE(NamedMutexIsFree("TmpYBBrowseClient"));
    EXPECT_TRUE(NamedMutexIsFree("TmpYBBrowsePolicy"));
}

TEST_F(BrowseViewTest, AFailedStepAnswersItsTextAndTheNextBrowseSucceeds)
{
    // Fetches of a browse of client 5: step 1 reads 2 rows, then 3, 3, 1 and
    // 3; each step ends with one more fetch.
    struct Step {
        int skip;  // fetches before the failing one
        const char* text;
    };
    const Step steps[] = {
        {0, "Could not get YB Volume information from the database"},
        {3, "Could not get YBPhysical Volume information from the database"},
        {7 + 2, "Could not get YB Physical Device information from the database"},  // after two devices
        {11, "Could not get scratch volume information from the database"},
        {13 + 3, "Could not get mount point information from the database"},  // the fetch after the last row
    };
    for (int n = 0; n < 5; ++n) {
        SCOPED_TRACE(n + 1);
        HostDBFaults::failNext("fetch", kDbIoError, steps[n].skip);
        expectFailure(byClient(5), -4, steps[n].text);
        EXPECT_EQ(LogEntriesWith("\n\tgetNextRow(BrowseByClient" + std::to_string(n + 1) +
                                 " &) failed\n\tClient Id = 5\n\tDB Err Code = 10")
                      .size(),
                  1u);
        EXPECT_TRUE(NamedMutexIsFree("TmpYBBrowseClient"));
        expectClient5(byClient(5));
        EvDebug::clearEntries();
    }

    // The policy view in the same words.
    HostDBFaults::failNext("fetch", kDbIoError, 5);
    expectFailure(byPolicyV2(9), -4, "Could not get YBPhysical Volume information from the database");
    EXPECT_EQ(LogEntriesWith("\n\tgetNextRow(BrowseByClient2 &) failed\n\tPolicy Id = 9").size(), 1u);
    EXPECT_EQ(byPolicyV2(9).counts, (std::vector<uint32_t>{7, 4, 4, 2, 4, 4}));
}

TEST_F(BrowseViewTest, ArraysThatCannotBeAllocatedFailTheReply)
{
    for (int allowed = 0; allowed < 6; ++allowed) {
        SCOPED_TRACE(allowed);
        FailAllocationsAfter(allowed);
        expectFailure(byClientV2(5), -5, "No memory available to perform operation");
    }
    AllocReplyArray = &malloc;
    expectClient5(byClientV2(5));
}

TEST_F(BrowseViewTest, ABrowseWaitsForItsViewsLockOnly)
{
    ZxNamedMutex::setWaitScale(0.001);
    V1Browse refused, policy;
    {
        NamedMutexHeldElsewhere held("TmpYBBrowseClient");
        refused = byClient(5);
        policy = byPolicy(9);
    }

    expectFailure(refused, -8, "Cannot have exclusive access to TmpYBBrowseClient");
    EXPECT_EQ(policy.s.status, 1u);
    EXPECT_EQ(Ids(policy.ybVolumes), (std::vector<int32_t>{10, 11, 13, 14}));
    expectClient5(byClient(5));
}

namespace {

// The browse a test thread posts, for the named mutex's observer.
thread_local const char* t_browse = nullptr;

}  // namespace

TEST_F(BrowseViewTest, ConcurrentBrowsesOfOneViewAreSerialised)
{
    struct Worker {
        RecordingNetwork net;
        ReplicationMgr mgr{&net.session};
        V1Browse answer;
        bool replied = false;
    };
    Worker first, second;
    std::mutex m;
    std::condition_variable cv;
    std::vector<std::pair<std::string, bool>> events;  // who took (true) or gave back the lock
    bool paused = false;
    bool resume = false;

    // The first browse pauses as soon as it holds the lock.
    // The second takes the lock only once the first has read its last step,
    // which drops the browse table.
    bool tableWhenSecondTook = true;
    ZxNamedMutex::setObserver([&](const std::string& name, bool held) {
        if (name != "TmpYBBrowseClient" || t_browse == nullptr) return;
        const bool second = held && std::string(t_browse) == "second";
        const bool table = second && tableExists("YBBrowseByClientTmp");
        std::unique_lock<std::mutex> guard(m);
        if (second) tableWhenSecondTook = table;
        events.emplace_back(t_browse, held);
        if (!held || events.size() > 1) return;
        paused = true;
        cv.notify_all();
        cv.wait(guard, [&] { return resume; });
    });
    // The browse a worker posts, for a thread of its own.
    auto browse = [&](Worker& w, const char* who, int32_t clientId) {
        w.net.network.setSendObserver([&](unsigned long, const void* data, unsigned long length) {
            std::lock_guard<std::mutex> guard(m);
            if (length == sizeof(repBrowseByClientIdResp))
                w.answer = ReadBrowse<SNRVolumeDeviceNameV3Record_t>(*static_cast<const repBrowseByClientIdResp*>(data));
            w.replied = true;
            cv.notify_all();
        });
        return [&w, who, clientId]() mutable {
            t_browse = who;
            zxsDatabuf buf;
            buf.m_pData = &clientId;
            w.mgr.post(kByClient, 0, &buf);
        };
    };

    std::thread firstThread(browse(first, "first", 5));
    {
        std::unique_lock<std::mutex> guard(m);
        cv.wait(guard, [&] { return paused || first.replied; });
    }
    EXPECT_TRUE(paused) << "the browse answered without taking TmpYBBrowseClient";
    // While the first holds the lock the second must wait (for its turn to
    // write, which comes before the lock) and not reach its first step, which
    // would drop the first's browse table.
    std::unique_ptr<BlockingCall> secondCall;
    if (paused) {
        secondCall = std::make_unique<BlockingCall>(browse(second, "second", 6));
        EXPECT_TRUE(secondCall->blocks()) << "the second browse did not wait while the first held the lock";
        std::lock_guard<std::mutex> guard(m);
        EXPECT_FALSE(second.replied) << "the second browse answered while the first held the lock";
    }
    {
        std::lock_guard<std::mutex> guard(m);
        resume = true;
        cv.notify_all();
    }
    firstThread.join();
    if (secondCall) secondCall->join();
    ZxNamedMutex::setObserver(nullptr);

    // A release is told after it happened: the first's may be told after the
    // second took the lock.
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events.front(), std::make_pair(std::string("first"), true));
    std::sort(events.begin(), events.end());
    EXPECT_EQ(events, (std::vector<std::pair<std::string, bool>>{
                          {"first", false}, {"first", true}, {"second", false}, {"second", true}}));
    EXPECT_FALSE(tableWhenSecondTook);
    expectClient5(first.answer);
    EXPECT_EQ(second.answer.s.status, 1u);
    EXPECT_EQ(Ids(second.answer.ybVolumes), (std::vector<int32_t>{11}));
    EXPECT_EQ(Ids(second.answer.devices), (std::vector<int32_t>{3}));
    EXPECT_EQ(Ids(second.answer.mounts), (std::vector<int32_t>{33}));
}
