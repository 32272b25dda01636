// Freeing the volumes of a job: its replica unmounted on its client and its
// scratch volume released, its snapshot cleaned up; job 0 refused; with the
// caller's trail, the host of the scratch volume asked only by the caller.
#include <gtest/gtest.h>

#include <string>

#include "../cleanup/CleanupFixture.h"
#include "host/ZXMMDBDeviceInfo.h"
#include "replicas/JobVolumesRelease.h"
#include "replicas/ReplicaReservation.h"
#include "service/DeletionTrail.h"

namespace {

class JobVolumesTest : public CleanupTest {
protected:
    // Job 77 also has replica 700 on scratch volume 800 (SNR volume 30,
    // reserved, seen by client 2 with one mounted and one unmounted path).
    void SetUp() override
    {
        CleanupTest::SetUp();
        exec("UPDATE YBPhysicalVolume SET Flags = 2 WHERE id = 30");
        exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (300, 2, 30, 'dev-300'),"
             "(301, 2, 30, 'dev-301')");
        exec("INSERT INTO YBMountPoint (id, DeviceNameId, Path, Flags) VALUES (900, 300, '/mnt/r', 0), "
             "(901, 300, '/mnt/gone', 2)");
        exec("INSERT INTO YBScratchPool (id, TotalVolumes, AvailableVolumes, name) VALUES (9, 2, 0, 'pool')");
        exec("INSERT INTO YBScratchVolume (id, PhysicalVolumeId, RVScratchVolumePoolId) VALUES (800, 30, 9)");
        exec("INSERT INTO YBVolume (id, CurrentRole, PrimaryVolumeId, PhysicalVolumeId, RVScratchVolumeId, JobId) "
             "VALUES (700, 1, 10, 30, 800, 77)");
    }
    // Frees job 77 in a transaction of the test's, committed after.
    bool freeJob77(const std::string& eventText)
    {
        FreeYBVolumesByJobIdArgs_t args;
        args.jobId = 77;
        FreeYBVolumesByJobIdRet_t ret;
        DBtran tran(false);
        EXPECT_EQ(tran.startTran(), 0);
        const bool freed = mgr.FreeYBVolumesByJobId(args, ret, &tran, eventText);
        EXPECT_EQ(tran.commitTran(false), 0);
        return freed;
    }
    ClientFakesScope scope;
};

TEST_F(JobVolumesTest, AJobsReplicaIsUnmountedAndReleasedAndItsSnapshotCleaned)
{
    EXPECT_TRUE(freeJob77("freeing"));

    int unmounts = 0, others = 0;
    for (const ClientCall& call : ClientFakes::instance().calls()) {
        if (call.operation == "removeVolumeMountPoint") {
            ++unmounts;
            ASSERT_FALSE(call.args.empty());
            EXPECT_EQ(call.args[0], "/mnt/r");
        } else {
            ++others;
        }
    }
    EXPECT_EQ(unmounts, 1);  // the unmounted path is left alone, the second device of client 2 skipped
    EXPECT_GE(others, 1);    // the snapshot's cleanup on its client
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBMountPoint WHERE id = 900"), 0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBVolume WHERE id = 700"), 0);
    EXPECT_EQ(scalar("SELECT Flags FROM YBPhysicalVolume WHERE id = 30"), 0);
    EXPECT_EQ(scalar("SELECT AvailableVolumes FROM YBScratchPool WHERE id = 9"), 1);
    EXPECT_EQ(LogEntriesWith("\tFreeing for replication volume (replica or mirror) 700 was completed").size(), 1u);
    EXPECT_EQ(LogEntriesWith("\tDeleting snapshot with id 500").size(), 1u);
}

TEST_F(JobVolumesTest, AReleaseThatFailsPartWayKeepsItsReplicaWhileTheOthersAreFreed)
{
    // Job 77 also has replica 699 on scratch volume 801, whose SNR volume 31
    // was never reserved: its release removes the replica's directories and
    // row, then fails.
    exec("INSERT INTO YBPhysicalVolume (id, UniqueId, Type, Flags) VALUES (31, 'uid-31', 1, 0)");
    exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (310, 2, 31, 'dev-310')");
    exec("INSERT INTO YBScratchVolume (id, PhysicalVolumeId, RVScratchVolumePoolId) VALUES (801, 31, 9)");
    exec("INSERT INTO YBVolume (id, CurrentRole, PrimaryVolumeId, PhysicalVolumeId, RVScratchVolumeId, JobId) "
         "VALUES (699, 1, 10, 31, 801, 77)");
    exec("INSERT INTO YBApplicationDirs (subclientId, clientId, objName, path, ReplicationVolumeId) VALUES "
         "(1, 2, 'db', '/data', 699), (1, 2, 'log', '/logs', 699)");

    EXPECT_TRUE(freeJob77(""));

    // 699 is as it was; 700, released after it in the same transaction, is gone.
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBVolume WHERE id = 699"), 1);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBApplicationDirs WHERE ReplicationVolumeId = 699"), 2);
    EXPECT_EQ(scalar("SELECT Flags FROM YBPhysicalVolume WHERE id = 31"), 0);
    EXPECT_EQ(LogEntriesWith("\tFreeing for replication volume (replica or mirror) 699 could not be completed").size(),
              1u);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBVolume WHERE id = 700"), 0);
    EXPECT_EQ(scalar("SELECT Flags FROM YBPhysicalVolume WHERE id = 30"), 0);
    EXPECT_EQ(scalar("SELECT AvailableVolumes FROM YBScratchPool WHERE id = 9"), 1);
}

TEST_F(JobVolumesTest, AMountPointRemovalThatFailsPartWayKeepsItsRow)
{
    // /mnt/r is unmounted and its row removed, then the device's controller
    // cannot be deactivated: the replica is not released.
    ZXMMDBDeviceInfo::failNext("deactivate", -1, "controller busy");
    EXPECT_TRUE(freeJob77(""));
    EXPECT_EQ(LogEntriesWith("\tWarning: Mount point information remains in the database although volume has been "
                             "unmounted\n\tCheck database\n\tSNR Volume Mount Point ID = 900")
                  .size(),
              1u);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBMountPoint WHERE id = 900"), 1);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBVolume WHERE id = 700"), 1);
    EXPECT_EQ(scalar("SELECT Flags FROM YBPhysicalVolume WHERE id = 30"), 2);
}

TEST_F(JobVolumesTest, AReleaseWhoseNestedTransactionDoesNotStartIsSkipped)
{
    // After the caller's transaction, the first nested one removes /mnt/r's
    // row; the second, the release's, does not start.
    HostDBFaults::failNext("startTran", 5, 2);
    EXPECT_TRUE(freeJob77(""));
    EXPECT_EQ(LogEntriesWith("\tCould not initiated database transactions for replication volume 700").size(), 1u);
    EXPECT_EQ(LogEntriesWith("\tFreeing for replication volume (replica or mirror) 700 could not be completed").size(),
              1u);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBVolume WHERE id = 700"), 1);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBMountPoint WHERE id = 900"), 0);
}

TEST_F(JobVolumesTest, JobZeroAndAFailedUnmount)
{
    FreeYBVolumesByJobIdArgs_t args;
    FreeYBVolumesByJobIdRet_t ret;
    EXPECT_FALSE(mgr.FreeYBVolumesByJobId(args, ret, nullptr, ""));
    EXPECT_EQ(ret.errCode, -6);
    EXPECT_EQ(ret.errMsg, "YB Volumes cannot be freed for job id 0");

    // The unmount fails: the scratch volume stays reserved, the job still frees the rest.
    ClientFakes::instance().failNext("removeVolumeMountPoint");
    args.jobId = 77;
    DBtran tran(false);
    ASSERT_EQ(tran.startTran(), 0);
    EXPECT_TRUE(mgr.FreeYBVolumesByJobId(args, ret, &tran, ""));
    ASSERT_EQ(tran.commitTran(false), 0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBVolume WHERE id = 700"), 1);
    EXPECT_EQ(scalar("SELECT Flags FROM YBPhysicalVolume WHERE id = 30"), 2);
    EXPECT_EQ(LogEntriesWith("\tCannot unmount mount point /mnt/r, Client ID = 2, Replication volume = 700").size(), 1u);
    EXPECT_EQ(LogEntriesWith("\tDeleting snapshot with id 500").size(), 1u);
}

// Scratch volume 800 holds the destination snapshot 710 and is seen by
// device 300 alone: its release has client 2 delete the snapshots on it. A
// caller that gives its trail and then fails (a later step of its own, the
// host's deletion, its commit) rolls back and hands the trail on: no host
// was asked before the caller did, a host that deleted before the failed
// commit is reported, and device 300, whose controller the unmount's nested
// steps switched off, once per mount point, has /mnt/r and /mnt/gone back,
// mounted, and its controller set on once, as the rows give. One that
// succeeds asks the host before committing.
TEST_F(JobVolumesTest, WithTheCallersTrailTheHostIsAskedOnlyByTheCaller)
{
    exec("DELETE FROM YBPhysicalDevice WHERE id = 301");
    exec("UPDATE YBMountPoint SET Flags = 0 WHERE id = 901");
    exec("INSERT INTO YBVolume (id, CurrentRole, PrimaryVolumeId, PhysicalVolumeId, SnapVolumeId) "
         "VALUES (710, 5, 10, 33, 30)");
    ZXMMDBDeviceInfo().activateControllerBySNRVolId(300, nullptr);
    auto snapDeletions = []() { return ClientFakes::instance().calls("DeleteAllSnapsFromVolume"); };
    const char* reported = "\tEvent: The release of RV scratch volume 800 was rolled back";
    const char* hostFailed = "\tZXSVCClientSession::DeleteAllSnapsFromVolume() failed";
    FreeYBVolumesByJobIdArgs_t args;
    args.jobId = 77;
    enum class Then { LaterStepFails, HostFails, CommitFails };
    size_t asked = 0;
    for (Then then : {Then::LaterStepFails, Then::HostFails, Then::CommitFails}) {
        SCOPED_TRACE(static_cast<int>(then));
        DBtran tran(false);
        ASSERT_EQ(tran.startTran(), 0);
        DeletionTrail trail;
        FreeYBVolumesByJobIdRet_t ret;
        EXPECT_TRUE(mgr.FreeYBVolumesByJobId(args, ret, &tran, "", &trail));
        EXPECT_EQ(snapDeletions().size(), asked);
        EXPECT_FALSE(ZXMMDBDeviceInfo::isControllerActive(300));
        if (then != Then::LaterStepFails) {
            if (then == Then::HostFails) {
                ASSERT_TRUE(ClientFakes::instance().failNext("DeleteAllSnapsFromVolume"));
            }
            std::string failure;
            EXPECT_EQ(steps::AskHostsLeft(mgr, trail, failure), then == Then::CommitFails);
            ++asked;
        }
        if (then == Then::CommitFails) {
            HostDBFaults::failNext("commitTran", 5);
            EXPECT_NE(tran.commitTran(false), 0);
        }
        ASSERT_EQ(tran.rollbackTran(), 0);
        steps::RestoreAfterRollback(mgr, trail);
        EXPECT_EQ(snapDeletions().size(), asked);
        EXPECT_EQ(LogEntriesWith(hostFailed).size(), then == Then::LaterStepFails ? 0u : 1u);
        EXPECT_EQ(LogEntriesWith(reported).size(), then == Then::CommitFails ? 1u : 0u);
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBVolume WHERE id IN (700, 710)"), 2);
        EXPECT_EQ(scalar("SELECT Flags FROM YBPhysicalVolume WHERE id = 30"), 2);
        EXPECT_EQ(scalar("SELECT AvailableVolumes FROM YBScratchPool WHERE id = 9"), 0);
        EXPECT_EQ(scalar("SELECT SUM(Flags) FROM YBMountPoint WHERE id IN (900, 901)"), 0);
        EXPECT_TRUE(ZXMMDBDeviceInfo::isControllerActive(300));
        EXPECT_EQ(LogEntriesWith("\tController of SNR Device ID 300 activated again after the rollback").size(),
                  static_cast<size_t>(then) + 1);
    }

    DBtran tran(false);
    ASSERT_EQ(tran.startTran(), 0);
    DeletionTrail trail;
    FreeYBVolumesByJobIdRet_t ret;
    EXPECT_TRUE(mgr.FreeYBVolumesByJobId(args, ret, &tran, "", &trail));
    std::string failure;
    EXPECT_TRUE(steps::AskHostsLeft(mgr, trail, failure));
    ASSERT_EQ(tran.commitTran(false), 0);
    ASSERT_EQ(snapDeletions().size(), asked + 1);
    EXPECT_EQ(snapDeletions().back().args, std::vector<std::string>{"dev-300"});
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBVolume WHERE id IN (700, 710)"), 0);
    EXPECT_EQ(scalar("SELECT Flags FROM YBPhysicalVolume WHERE id = 30"), 0);
}

// Without the caller's trail alpha deletes the snapshots of 800 inside the
// release's nested step; that step's commit failing afterwards is reported
// naming alpha and the scratch volume, and the replica keeps its volume.
TEST_F(JobVolumesTest, WithoutATrailACommitFailingAfterTheHostDeletedIsReported)
{
    exec("DELETE FROM YBPhysicalDevice WHERE id = 301");
    exec("INSERT INTO YBVolume (id, CurrentRole, PrimaryVolumeId, PhysicalVolumeId, SnapVolumeId) "
         "VALUES (710, 5, 10, 33, 30)");
    ClientFakes::instance().onNextCall("DeleteAllSnapsFromVolume", []() { HostDBFaults::failNext("commitTran", 5); });
    EXPECT_TRUE(freeJob77(""));
    EXPECT_EQ(ClientFakes::instance().calls("DeleteAllSnapsFromVolume").size(), 1u);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBVolume WHERE id IN (700, 710)"), 2);
    EXPECT_EQ(scalar("SELECT Flags FROM YBPhysicalVolume WHERE id = 30"), 2);
    EXPECT_EQ(LogEntriesWith("\tEvent: The release of RV scratch volume 800 was rolled back"
                             "\n\tIts host had already deleted the snapshots it held"
                             "\n\tClient ID   = 2\n\tClient Name = alpha.net\n\tVolume      = dev-300")
                  .size(),
              1u);
}

}  // namespace
