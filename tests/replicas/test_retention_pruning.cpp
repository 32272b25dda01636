// Retention pruning through post (0x35000081) and through the member the
// host calls with a job control client, on a seeded catalogue with the
// client-side fakes journaling what each pruned volume frees.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "../cleanup/CleanupFixture.h"
#include "host/ZXMMDBDeviceInfo.h"
#include "host/ZXPlatformInfo.h"
#include "host/clients/ZXJobCtrlClient.h"
#include "replicas/RetentionPruning.h"
#include "service/Utils.h"

namespace {

struct PruneAnswer {
    unsigned long code = 0;
    size_t size = 0;
    uint32_t status = 99;
    uint32_t count = 0;
    bool idsNull = true;
    std::vector<int32_t> ids;
};

void* NoMemory(size_t) { return nullptr; }

// Besides the snapshots 500 (engine 1, policy 8, on SNR volume 20 seen by
// client 2 "alpha") and 600 (moved to policy 9, kept forever):
// policies 8 "Short" (100 s), 9 "Forever" (0), 10 "Long" (2^31 - 100 s);
// replica 700 on scratch volume 800 (SNR volume 31, reserved, device 310 of
// client 2 with mount point /mnt/r; pool 9 with 0 of 2 available);
// snapshots of engine 0 (removed from the catalogue alone when pruned) on
// SNR volume 20: 701 reserved, 702 of policy 10, 703 of policy 9, 705 due
// at 5050, 706 due at 5000; 704 a permanent replica, 709 a snapshot of
// engine 5: neither may be pruned. SNR volume 11 (scratch volume 801, the
// one member of pool 12, none available) is reserved with nothing on it;
// job history entry 1 names an SNR volume that is gone.
class PruneTest : public CleanupTest {
protected:
    static constexpr int kNow = 5000;

    void SetUp() override
    {
        CleanupTest::SetUp();
        exec("INSERT INTO YBPolicy (id, name, RetentionSeconds) VALUES (8, 'Short', 100), (9, 'Forever', 0), "
             "(10, 'Long', 2147483548)");
        exec("UPDATE YBVolume SET ReplicationPolicyId = 9 WHERE id = 600");
        exec("UPDATE YBPhysicalVolume SET Flags = 2 WHERE id = 11");
        exec("INSERT INTO YBScratchPool (id, TotalVolumes, AvailableVolumes, name) VALUES (12, 1, 0, 'stale')");
        exec("INSERT INTO YBScratchVolume (id, PhysicalVolumeId, RVScratchVolumePoolId) VALUES (801, 11, 12)");
        exec("INSERT INTO YBPhysicalVolume (id, UniqueId, Type, Flags) VALUES (31, 'uid-31', 1, 2)");
        exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (310, 2, 31, 'dev-310')");
        exec("INSERT INTO YBMountPoint (id, DeviceNameId, Path, Flags) VALUES (910, 310, '/mnt/r', 0)");
        exec("INSERT INTO YBScratchPool (id, TotalVolumes, AvailableVolumes, name) VALUES (9, 2, 0, 'pool')");
        exec("INSERT INTO YBScratchVolume (id, PhysicalVolumeId, RVScratchVolumePoolId) VALUES (800, 31, 9)");
        exec("INSERT INTO YBVolume (id, CurrentRole, PrimaryVolumeId, PhysicalVolumeId, ReplicationPolicyId, "
             "RVScratchVolumeId) VALUES (700, 1, 10, 31, 8, 800)");
        insertVolume(701, 2, 8, 0, 0, 0x1);
        insertVolume(702, 2, 10, 1000, 0);
        insertVolume(703, 2, 9, 0, 0);
        insertVolume(704, 4, 8, 0, 0);
        insertVolume(705, 2, 8, 4950, 0);
        insertVolume(706, 2, 8, 4900, 0);
        insertVolume(709, 2, 8, 0, 5);
        exec("INSERT INTO YBJobVolumeHistory (id, SrcVolId, DstVolId) VALUES (1, 99, 20), (2, 10, 20)");
        net.network.setSendObserver([this](unsigned long code, const void* data, unsigned long length) {
            PruneAnswer a;
            a.code = code;
            a.size = length;
            const auto* r = static_cast<const repPruneReplicaVolumeResp*>(data);
            a.status = r->status;
            a.count = r->count;
            a.idsNull = r->ids == nullptr;
            for (uint32_t i = 0; r->ids != nullptr && i < r->count; ++i) a.ids.push_back(r->ids[i]);
            answers.push_back(a);
        });
    }

    void TearDown() override
    {
        AllocReplyArray = &malloc;
        ZXPlatformInfo::clearAll();
        CleanupTest::TearDown();
    }

    // A volume on SNR volume 20, of primary volume 10 and snap volume 30.
    void insertVolume(int id, int role, int policy, int created, int engine, int flags = 0, int physical = 20)
    {
        exec("INSERT INTO YBVolume (id, CreationTime, CurrentRole, PrimaryVolumeId, PhysicalVolumeId, "
             "ReplicationPolicyId, SnapVolumeId, SnapEngineType, Flags) VALUES (" +
             std::to_string(id) + ", " + std::to_string(created) + ", " + std::to_string(role) + ", 10, " +
             std::to_string(physical) + ", " + std::to_string(policy) + ", 30, " + std::to_string(engine) + ", " +
             std::to_string(flags) + ")");
    }

    PruneAnswer prune(int32_t now)
    {
        answers.clear();
        repPruneReplicaVolumeReq req{now};
        zxsDatabuf buf;
        buf.m_pData = &req;
        EXPECT_EQ(mgr.post(0x35000081, 0, &buf), 1u);
        EXPECT_EQ(answers.size(), 1u);
        PruneAnswer a = answers.empty() ? PruneAnswer() : answers.back();
        EXPECT_EQ(a.code, 0x35000082u);
        EXPECT_EQ(a.size, sizeof(repPruneReplicaVolumeResp));
        return a;
    }

    std::string remaining()
    {
        std::string ids;
        for (long long id = 0;;) {
            id = scalar("SELECT MIN(id) FROM YBVolume WHERE id > " + std::to_string(id));
            if (id <= 0) break;
            ids += std::to_string(id) + " ";
        }
        return ids;
    }
    bool logged(const std::string& text) { return !LogEntriesWith(text).empty(); }
    static size_t calls(const char* operation) { return fakes().calls(operation).size(); }

    std::vector<PruneAnswer> answers;
};

TEST_F(PruneTest, APassPrunesTheDueVolumesAndFreesWhatTheyHeld)
{
    const PruneAnswer a = prune(kNow);
    EXPECT_EQ(a.status, 1u);
    EXPECT_EQ(a.count, 0u);
    EXPECT_TRUE(a.idsNull);

    // 700 released with its scratch volume, 706 (due exactly now) removed;
    // snapshot 500's record waits for the tool's report.
    EXPECT_EQ(remaining(), "500 600 701 702 703 704 705 709 ");
    EXPECT_TRUE(logged("\tPruning for replication volume (replica or mirror) 700 was completed"));
    EXPECT_TRUE(logged("\tPruning for replication volume (snapshot) 500 completed"));
    EXPECT_TRUE(logged("\tPruning for replication volume (snapshot) 706 completed"));
    EXPECT_EQ(LogEntriesWith("\tPruning for replication volume").size(), 3u);
    EXPECT_TRUE(logged("\tReplication volume 701 is in use"));
    EXPECT_TRUE(logged("\tYB volume 704 role (4) and Snap engine type (0) does not allow prunning"));
    EXPECT_TRUE(logged("\tYB volume 709 role (2) and Snap engine type (5) does not allow prunning"));
    EXPECT_TRUE(logged("\tIt is not pruning time or retention is set for infinite for replication volume 702\n"));
    EXPECT_TRUE(logged("\tIt is not pruning time or retention is set for infinite for replication volume 703\n"));
    EXPECT_TRUE(logged("\tIt is not pruning time or retention is set for infinite for replication volume 705\n"));

    // On the clients: the replica's one mounted path, the snapshot's tool run.
    ASSERT_EQ(calls("removeVolumeMountPoint"), 1u);
    EXPECT_EQ(fakes().calls("removeVolumeMountPoint")[0].args[0], "/mnt/r");
    ASSERT_EQ(runs().size(), 1u);
    EXPECT_EQ(runs()[0].client, "alpha.net");
    EXPECT_EQ(scalar("SELECT Flags & 2 FROM YBMountPoint WHERE id = 910"), 2);  // the placeholder of its device
    EXPECT_EQ(scalar("SELECT Flags FROM YBPhysicalVolume WHERE id = 31"), 0);
    EXPECT_EQ(scalar("SELECT AvailableVolumes FROM YBScratchPool WHERE id = 9"), 1);

    // Then the stale reservation of 11 is reset and the history pruned.
    EXPECT_EQ(scalar("SELECT Flags FROM YBPhysicalVolume WHERE id = 11"), 0);
    EXPECT_EQ(scalar("SELECT AvailableVolumes FROM YBScratchPool WHERE id = 12"), 1);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBJobVolumeHistory WHERE id = 1"), 0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBJobVolumeHistory WHERE id = 2"), 1);
}

// Summed in 32 bits, 1000 + 2^31 - 100 would wrap into the past.
TEST_F(PruneTest, ARetentionNearTheLimitPrunesNothing)
{
    exec("DELETE FROM YBVolume WHERE ReplicationPolicyId <> 10");
    insertVolume(710, 2, 10, 0, 0);
    EXPECT_EQ(prune(2147483547).status, 1u);  // one second short for 710
    EXPECT_EQ(remaining(), "702 710 ");
    EXPECT_EQ(prune(2147483548).status, 1u);
    EXPECT_EQ(remaining(), "702 ");
}

TEST_F(PruneTest, FailedFreeingsAreListedInTheOrderMet)
{
    // The snapshot's tool run fails, and the replica cannot be unmounted.
    fakes().setToolReturnCode(3);
    fakes().failNext("removeVolumeMountPoint");
    const PruneAnswer a = prune(kNow);
    EXPECT_EQ(a.status, 0u);
    EXPECT_EQ(a.ids, (std::vector<int32_t>{500, 700}));
    EXPECT_EQ(a.count, 2u);
    EXPECT_TRUE(logged("\tZXSnapTool call for client id 2, replication volume = 500 Failed"));
    EXPECT_TRUE(logged("\tPruning for replication volume (snapshot) 500 could not be completed"));
    EXPECT_TRUE(logged("\tEvent: Pruning of Replication volume 700will not be performed\n\tReason: Unmount failure"));
    // The replica keeps its scratch volume; the others were still pruned.
    EXPECT_EQ(remaining(), "500 600 700 701 702 703 704 705 709 ");
    EXPECT_EQ(scalar("SELECT Flags FROM YBPhysicalVolume WHERE id = 31"), 2);
    EXPECT_EQ(scalar("SELECT AvailableVolumes FROM YBScratchPool WHERE id = 9"), 0);

    // No memory for the list: status 0 without it.
    fakes().reset();
    fakes().setToolReturnCode(3);
    AllocReplyArray = &NoMemory;
    const PruneAnswer none = prune(kNow);
    EXPECT_EQ(none.status, 0u);
    EXPECT_EQ(none.count, 0u);
    EXPECT_TRUE(none.idsNull);
    EXPECT_TRUE(logged("\tNo memory available to send list of replication volume with pruning problems"));
}

TEST_F(PruneTest, AFailedReleaseIsRolledBackAndListed)
{
    // The SNR volume is not reserved: the release refuses after it removed
    // the replication volume, which the rollback brings back.
    exec("UPDATE YBPhysicalVolume SET Flags = 0 WHERE id = 31");
    const PruneAnswer a = prune(kNow);
    EXPECT_EQ(a.status, 0u);
    EXPECT_EQ(a.ids, std::vector<int32_t>{700});
    EXPECT_TRUE(logged("\tPruning for replication volume (replica or mirror) 700 could not be completed"));
    EXPECT_EQ(remaining(), "500 600 700 701 702 703 704 705 709 ");
    EXPECT_EQ(scalar("SELECT AvailableVolumes FROM YBScratchPool WHERE id = 9"), 0);
}

TEST_F(PruneTest, AMountPointRemovalThatFailsPartWayLeavesTheMountPointAsItWas)
{
    // The client unmounts /mnt/r; marking its row unmounted succeeds, then
    // the device's controller cannot be deactivated.
    ZXMMDBDeviceInfo::failNext("deactivate", -1, "controller busy");
    const PruneAnswer a = prune(kNow);
    EXPECT_EQ(a.ids, std::vector<int32_t>{700});
    EXPECT_TRUE(logged("\tWarning: Mount point information remains in the database although volume has been "
                       "unmounted\n\tCheck database\n\tSNR Volume Mount Point ID = 910"));
    EXPECT_EQ(scalar("SELECT Flags FROM YBMountPoint WHERE id = 910"), 0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBVolume WHERE id = 700"), 1);

    // The removal done, its commit fails: the row stays mounted, and the
    // controller the removal switched off is on again, as it found it.
    ZXMMDBDeviceInfo().activateControllerBySNRVolId(310, nullptr);
    fakes().onNextCall("removeVolumeMountPoint", []() { HostDBFaults::failNext("commitTran", 5); });
    EXPECT_EQ(prune(kNow).ids, std::vector<int32_t>{700});
    EXPECT_EQ(scalar("SELECT Flags FROM YBMountPoint WHERE id = 910"), 0);
    EXPECT_TRUE(ZXMMDBDeviceInfo::isControllerActive(310));
}

TEST_F(PruneTest, ASnapshotRecordWhoseRemovalFailsPartWayStaysWhole)
{
    // Only snapshot 706 (engine 0, due) is left; pruning removes its record
    // alone: its directories go, then its subclient links cannot.
    exec("DELETE FROM YBVolume WHERE id <> 706");
    exec("INSERT INTO YBApplicationDirs (subclientId, clientId, objName, path, ReplicationVolumeId) VALUES "
         "(1, 2, 'db', '/data', 706)");
    HostDBFaults::failNext("remove", 5, 1);
    const PruneAnswer a = prune(kNow);
    EXPECT_EQ(a.ids, std::vector<int32_t>{706});
    EXPECT_TRUE(logged("\tPruning for replication volume (snapshot) 706 could not be completed"));
    EXPECT_EQ(remaining(), "706 ");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBApplicationDirs WHERE ReplicationVolumeId = 706"), 1);
}

// Released without a transaction, a release failing half way would keep
// what it wrote: the volume is skipped and listed instead.
TEST_F(PruneTest, AReleaseWhoseTransactionDoesNotStartIsSkipped)
{
    // The first transaction of the pass is the removal of the replica's
    // mount point; the second its release.
    HostDBFaults::failNext("startTran", 5, 1);
    const PruneAnswer a = prune(kNow);
    EXPECT_EQ(a.status, 0u);
    EXPECT_EQ(a.ids, std::vector<int32_t>{700});
    const auto entries = LogEntriesWith("\tCould not initiated database transactions for replication volume 700");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_NE(entries[0].find("ReplicationMgrDeletes["), std::string::npos);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBVolume WHERE id = 700"), 1);
    EXPECT_EQ(scalar("SELECT Flags FROM YBPhysicalVolume WHERE id = 31"), 2);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBVolume WHERE id = 706"), 0);  // the pass went on
}

// A pass that could not read the volumes did not take place.
TEST_F(PruneTest, AnUnreadableVolumeListFailsThePass)
{
    HostDBFaults::failNext("fetch", 5);
    const PruneAnswer a = prune(kNow);
    EXPECT_EQ(a.status, 0u);
    EXPECT_EQ(a.count, 0u);
    EXPECT_TRUE(a.idsNull);
    EXPECT_EQ(LogEntriesWith("\tEvent: Replication volumes cannot be pruned").size(), 1u);
    EXPECT_EQ(remaining(), "500 600 700 701 702 703 704 705 706 709 ");
    EXPECT_TRUE(fakes().calls().empty());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBJobVolumeHistory"), 2);
}

TEST_F(PruneTest, TheQuitFlagStopsBetweenVolumesKeepingWhatWasDone)
{
    // Asked before 500, 600 and 700; the fourth question (before 701) stops it.
    fakes().setQuitAfter(3);
    ZXJobCtrlClient jobs;
    PruneReplicationVolumeArgs_t args;
    args.CurrentTime = kNow;
    PruneReplicationVolumeRet_t ret;
    EXPECT_TRUE(mgr.PruneReplicationVolumes(args, ret, &jobs));
    EXPECT_TRUE(ret.volumeIds.empty());
    EXPECT_TRUE(logged("\tWarning: Archive pruning process has been killed"));
    EXPECT_EQ(calls("checkQuitFlag"), 5u);  // four in the loop, one after it
    // 700's release was committed; 706 was never reached.
    EXPECT_EQ(remaining(), "500 600 701 702 703 704 705 706 709 ");
    EXPECT_EQ(scalar("SELECT AvailableVolumes FROM YBScratchPool WHERE id = 9"), 1);
    // No lock flag reset after a quit; the history is still pruned.
    EXPECT_EQ(scalar("SELECT Flags FROM YBPhysicalVolume WHERE id = 11"), 2);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBJobVolumeHistory"), 1);

    // Without a quit the client is asked before each volume and once after.
    fakes().reset();
    EXPECT_TRUE(mgr.PruneReplicationVolumes(args, ret, &jobs));
    EXPECT_EQ(calls("checkQuitFlag"), 10u);
    EXPECT_EQ(remaining(), "500 600 701 702 703 704 705 709 ");
    EXPECT_EQ(scalar("SELECT Flags FROM YBPhysicalVolume WHERE id = 11"), 0);
}

TEST_F(PruneTest, WhileJobsRunOnlyWhatTheSettingAllows)
{
    // A shadow-copy snapshot (engine 2) and a transportable one.
    insertVolume(711, 2, 8, 0, 2);
    insertVolume(712, 2, 8, 0, 2, 0x20);
    PruneReplicationVolumeArgs_t args;
    args.CurrentTime = kNow;
    args.JobsRunning = true;
    PruneReplicationVolumeRet_t ret;

    // No setting: the pass is skipped.
    EXPECT_TRUE(mgr.PruneReplicationVolumes(args, ret, nullptr));
    EXPECT_TRUE(logged("\tYB Pruning will be skipped while Jobs are running "));
    EXPECT_TRUE(fakes().calls().empty());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBJobVolumeHistory"), 2);

    // 1: snapshots of engines 0, 1 and the plain shadow copy wait; the
    // replica and the transportable shadow copy go; no lock flag reset.
    ZXPlatformInfo::setValue("~ReplicationMgr", "nPruneWithJobsRunning", "1");
    EvDebug::clearEntries();
    EXPECT_TRUE(mgr.PruneReplicationVolumes(args, ret, nullptr));
    EXPECT_TRUE(logged("\tYB Pruning while Jobs are running registry entry detected"));
    for (int id : {500, 706, 711})
        EXPECT_TRUE(logged("\tINFO:Replication volume " + std::to_string(id) +
                           " will not be pruned while YB jobs are running"))
            << id;
    EXPECT_TRUE(logged("\tPruning for replication volume (replica or mirror) 700 was completed"));
    EXPECT_TRUE(logged("\tPruning for replication volume (snapshot) 712 completed"));
    EXPECT_FALSE(logged("(snapshot) 711"));
    EXPECT_EQ(scalar("SELECT Flags FROM YBPhysicalVolume WHERE id = 11"), 2);

    // 2: the plain shadow copy goes too.
    ZXPlatformInfo::setValue("~ReplicationMgr", "nPruneWithJobsRunning", "2");
    EvDebug::clearEntries();
    EXPECT_TRUE(mgr.PruneReplicationVolumes(args, ret, nullptr));
    EXPECT_TRUE(logged("\tPruning for replication volume (snapshot) 711 completed"));
}

// The snap-vault copy is released on the filer once the replication volume
// is removed in the release's transaction, before it commits.
TEST_F(PruneTest, ReplicasOnNasVolumesReleaseTheirSnapVaultCopy)
{
    exec("DELETE FROM YBVolume WHERE id <> 600");
    // 720 on NAS volume 32 (one device, client 3) of primary 11 (one device,
    // client 4); 721 on NAS volume 33, seen by two clients.
    exec("INSERT INTO YBPhysicalVolume (id, UniqueId, UniqueIdType, Type, Flags) VALUES (32, 'uid-32', 1, 5, 2), "
         "(33, 'uid-33', 1, 5, 2)");
    exec("UPDATE YBPhysicalVolume SET UniqueIdType = 3 WHERE id = 11");
    exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (320, 3, 32, 'dev-320'), "
         "(330, 3, 33, 'dev-330'), (331, 4, 33, 'dev-331'), (110, 4, 11, 'dev-110')");
    exec("INSERT INTO YBScratchVolume (id, PhysicalVolumeId, RVScratchVolumePoolId) VALUES (820, 32, 9), (821, 33, 9)");
    exec("INSERT INTO YBVolume (id, CurrentRole, PrimaryVolumeId, PhysicalVolumeId, ReplicationPolicyId, "
         "RVScratchVolumeId) VALUES (720, 1, 11, 32, 8, 820), (721, 1, 11, 33, 8, 821)");

    const PruneAnswer a = prune(kNow);
    EXPECT_EQ(a.status, 0u);
    EXPECT_EQ(a.ids, std::vector<int32_t>{721});
    EXPECT_TRUE(logged("Snapvault volume 33 is being accessed by multiple hosts (2). YB Volume Id = 721"));
    const auto released = fakes().calls("deleteSnapVaultReplica");
    ASSERT_EQ(released.size(), 1u);
    EXPECT_EQ(released[0].args, (std::vector<std::string>{"3", "uid-32", "4", "11", "uid-11", "3", "", "5"}));
    EXPECT_TRUE(fakes().calls("removeVolumeMountPoint").empty());
    // The named replication volume alone goes; 721 keeps its scratch volume.
    EXPECT_EQ(remaining(), "600 721 ");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBScratchVolume WHERE id IN (820, 821)"), 2);

    // The filer refusing the release keeps the volume too.
    fakes().reset();
    exec("INSERT INTO YBVolume (id, CurrentRole, PrimaryVolumeId, PhysicalVolumeId, ReplicationPolicyId, "
         "RVScratchVolumeId) VALUES (720, 1, 11, 32, 8, 820)");
    fakes().failNext("deleteSnapVaultReplica");
    EXPECT_EQ(prune(kNow).ids, (std::vector<int32_t>{720, 721}));
    EXPECT_TRUE(logged("Snapvault volume 720 space could not be released"));
    EXPECT_EQ(remaining(), "600 720 721 ");

    // A release that cannot be done in the database leaves the filer alone.
    fakes().reset();
    HostDBFaults::failNext("startTran", 5);
    EXPECT_EQ(prune(kNow).ids, (std::vector<int32_t>{720, 721}));
    EXPECT_TRUE(logged("\tCould not initiated database transactions for replication volume 720"));
    EXPECT_TRUE(fakes().calls("deleteSnapVaultReplica").empty());
    EXPECT_EQ(remaining(), "600 720 721 ");
}

// The release's commit failing once its host deleted the snapshots of the
// scratch volume, or once the filer released a NAS replica's copy: the
// volume is listed, keeps its scratch volume, and the entry names the host
// and the scratch volume.
TEST_F(PruneTest, ACommitFailingAfterTheHostOrTheFilerActedIsReported)
{
    // Scratch volume 800 also holds the snapshot 730, which alpha deletes.
    exec("INSERT INTO YBVolume (id, CurrentRole, PrimaryVolumeId, PhysicalVolumeId, SnapVolumeId, SnapEngineType) "
         "VALUES (730, 5, 10, 20, 31, 1)");
    fakes().onNextCall("DeleteAllSnapsFromVolume", []() { HostDBFaults::failNext("commitTran", 5); });
    EXPECT_EQ(prune(kNow).ids, std::vector<int32_t>{700});
    EXPECT_EQ(calls("DeleteAllSnapsFromVolume"), 1u);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBVolume WHERE id IN (700, 730)"), 2);
    EXPECT_EQ(LogEntriesWith("\tEvent: The release of RV scratch volume 800 was rolled back"
                             "\n\tIts host had already deleted the snapshots it held"
                             "\n\tClient ID   = 2\n\tClient Name = alpha.net\n\tVolume      = dev-310")
                  .size(),
              1u);

    // 720 on NAS volume 32 (client 3 alone) of primary 11 (client 4 alone).
    exec("DELETE FROM YBVolume WHERE id <> 600");
    exec("INSERT INTO YBPhysicalVolume (id, UniqueId, UniqueIdType, Type, Flags) VALUES (32, 'uid-32', 1, 5, 2)");
    exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (320, 3, 32, 'dev-320'), "
         "(110, 4, 11, 'dev-110')");
    exec("INSERT INTO YBScratchVolume (id, PhysicalVolumeId, RVScratchVolumePoolId) VALUES (820, 32, 9)");
    exec("INSERT INTO YBVolume (id, CurrentRole, PrimaryVolumeId, PhysicalVolumeId, ReplicationPolicyId, "
         "RVScratchVolumeId) VALUES (720, 1, 11, 32, 8, 820)");
    fakes().onNextCall("deleteSnapVaultReplica", []() { HostDBFaults::failNext("commitTran", 5); });
    EXPECT_EQ(prune(kNow).ids, std::vector<int32_t>{720});
    EXPECT_EQ(calls("deleteSnapVaultReplica"), 1u);
    EXPECT_EQ(remaining(), "600 720 ");
    EXPECT_EQ(LogEntriesWith("\tEvent: The release of RV scratch volume 820 was rolled back"
                             "\n\tThe filer had already released the snap-vault copy of its replica"
                             "\n\tClient ID   = 3\n\tClient Name = beta.net\n\tVolume      = uid-32")
                  .size(),
              1u);
}

// Snapshots kept in a destination volume (engine 5) follow the keep rule of
// their policy's settings, anchored on the wall clock. The snapshots are of a
// fixed day; the daily window reaches back from today to before it.
TEST_F(PruneTest, TheKeepRuleProtectsTheFirstSnapshotOfADay)
{
    exec("DELETE FROM YBVolume WHERE id <> 600");
    // A local time in March 2024, converted as the keep rule converts.
    auto march = [](int day, int hour) {
        struct tm t {};
        t.tm_year = 2024 - 1900;
        t.tm_mon = 2;
        t.tm_mday = day;
        t.tm_hour = hour;
        t.tm_isdst = -1;
        return static_cast<long>(mktime(&t));
    };
    // Monday the 11th: its bounds and its snapshots at 08:00, 10:00 and 12:00.
    const long dayStart = march(11, 0);
    const long dayEnd = march(12, 0);
    const std::vector<long> times{march(11, 8), march(11, 10), march(11, 12)};
    // The days since, and two more: for a clock change in between and for
    // midnight passing before the pass reads the clock.
    const long days = (static_cast<long>(time(nullptr)) - dayStart) / 86400 + 2;
    const std::string bounds =
        "PeriodStart:[" + std::to_string(dayStart) + "] PeriodEnd:[" + std::to_string(dayEnd) + "].";

    insertVolume(730, 5, 8, static_cast<int>(times[0]), 5);
    insertVolume(731, 5, 8, static_cast<int>(times[1]), 5);
    insertVolume(732, 5, 8, static_cast<int>(times[2]), 5);
    ZXPlatformInfo::setValue("~ReplicationMgr", "Short_daily", "0");
    ZXPlatformInfo::setValue("~ReplicationMgr", "SaveDailySnaps", std::to_string(days));
    ZXPlatformInfo::setValue("~ReplicationMgr", "Short_SaveFirstInPeriod", "1");

    // Asked at the next midnight, when the retention of all three is over.
    EXPECT_EQ(prune(static_cast<int32_t>(dayEnd)).status, 1u);
    const auto first = LogEntriesWith("\tIt is not pruning time for Snap:[730]. Daily snaps saved for [" +
                                      std::to_string(days) + "] days. CreationTime:[" + std::to_string(times[0]) +
                                      "] ");
    ASSERT_EQ(first.size(), 1u);
    EXPECT_NE(first[0].find("PrevSnapTime:[0] " + bounds), std::string::npos) << first[0];
    EXPECT_TRUE(logged("\tPruning for replication volume (snapshot) 731 completed"));
    EXPECT_TRUE(logged("\tPruning for replication volume (snapshot) 732 completed"));
    EXPECT_FALSE(logged("(snapshot) 730"));
    EXPECT_EQ(remaining(), "600 730 ");

    // Last mode keeps 12:00 instead.
    insertVolume(731, 5, 8, static_cast<int>(times[1]), 5);
    insertVolume(732, 5, 8, static_cast<int>(times[2]), 5);
    ZXPlatformInfo::clearValue("~ReplicationMgr", "Short_SaveFirstInPeriod");
    EvDebug::clearEntries();
    EXPECT_EQ(prune(static_cast<int32_t>(dayEnd)).status, 1u);
    const auto last = LogEntriesWith("\tIt is not pruning time for Snap:[732]. ");
    ASSERT_EQ(last.size(), 1u);
    EXPECT_NE(last[0].find("NextSnapTime:[0] " + bounds), std::string::npos) << last[0];
    EXPECT_TRUE(logged("(snapshot) 730 completed"));
    EXPECT_EQ(remaining(), "600 732 ");
}

}  // namespace
