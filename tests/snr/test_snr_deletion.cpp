// The deletion of devices through post: the mount points and the device go,
// the volume with its permanent replica, snap parameters and files only with
// its last device; refusals, all before a client host is asked to delete
// anything, each setting the controller it switched off as the rows then
// give; permanent replicas that lie on one another, a second permanent
// replica, and a failure at any step that leaves every row and the
// controller as they were.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/ZXMMDBDeviceInfo.h"
#include "replicas/ReplicaPostFixture.h"
#include "service/DeletionTrail.h"
#include "snr/SNRDeletion.h"
#include "snr/SNRMessages.h"
#include "support/ClientFakesScope.h"

namespace {

class SNRDeletionTest : public ReplicaPostTest {
protected:
    // Volume 50: devices 500 (mount points 1 and 2) and 501 (mount point 3).
    // Volume 60: device 600 (mount point 4), snap parameters, a stored file,
    // the permanent replica 900 of it on volume 61, which has no device.
    void SetUp() override
    {
        ReplicaPostTest::SetUp();
        ZXMMDBDeviceInfo::reset();
        exec("INSERT INTO YBPhysicalVolume (id, UniqueId) VALUES (50, 'uid-50'), (60, 'uid-60'), (61, 'uid-61')");
        exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES "
             "(500, 2, 50, 'dev-500'), (501, 3, 50, 'dev-501'), (600, 2, 60, 'dev-600')");
        exec("INSERT INTO YBMountPoint (id, DeviceNameId, Path, Flags) VALUES "
             "(1, 500, '/mnt/a', 0), (2, 500, '/mnt/b', 0), (3, 501, '/mnt/c', 0), (4, 600, '/mnt/d', 0)");
        exec("INSERT INTO YBVolSnapParams (SNRVolumeId, SnapEngineId) VALUES (60, 1)");
        exec("INSERT INTO YBFile (VolumeId, Name, Content) VALUES (60, 'f60', 'x')");
        exec(InsertReplica({900, 1, 1, 1, 0, 4, 60, 61, 0, 0, 0, 0, 0, 0, "", ""}));
        for (int device : {500, 501, 600}) ZXMMDBDeviceInfo().activateControllerBySNRVolId(device, nullptr);
    }

    ReplicaAnswer deleteDevice(int id) { return ask<repDeleteSNRDeviceResponse>(0x35000003, repDeleteSNRDeviceReq{id}); }
    // The permanent replica 900 moved onto scratch volume 710 of pool 9 on
    // volume 61 (reserved, seen by device 610 of client 2 alone), which holds
    // the snapshot 902: its release asks client 2 to delete the snapshots on
    // it.
    void putTheReplicaOnAScratchVolumeWithASnapshot()
    {
        addAlpha();
        exec("UPDATE YBPhysicalVolume SET Flags = 2 WHERE id = 61");
        exec("INSERT INTO YBScratchPool (id, TotalVolumes, AvailableVolumes, name) VALUES (9, 1, 0, 'pool')");
        exec(InsertScratch({710, 61, 9, 0, 0}));
        exec("UPDATE YBVolume SET RVScratchVolumeId = 710 WHERE id = 900");
        exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (610, 2, 61, 'dev-610')");
        exec(InsertReplica({902, 1, 1, 1, 0, 5, 62, 63, 0, 0, 0, 0, 61, 0, "", ""}));
    }
    std::vector<ClientCall> snapDeletions() { return ClientFakesScope::fakes().calls("DeleteAllSnapsFromVolume"); }
    long long count(const std::string& table, const std::string& where)
    {
        return scalar("SELECT COUNT(*) FROM " + table + " WHERE " + where);
    }
    std::string everything()
    {
        std::string all = dump();
        for (const char* table : {"YBPhysicalVolume", "YBPhysicalDevice", "YBMountPoint", "YBScratchVolume",
                                  "YBScratchPool", "YBFile", "YBTzHistoryName"})
            all += DumpTable(m_path, table);
        return all;
    }
};

TEST_F(SNRDeletionTest, ADeviceGoesWithItsMountPointsAndTheVolumeOnlyWithItsLastDevice)
{
    expectSuccess(deleteDevice(500));
    EXPECT_EQ(count("YBMountPoint", "DeviceNameId = 500"), 0);
    EXPECT_EQ(count("YBMountPoint", "id = 3"), 1);
    EXPECT_EQ(count("YBPhysicalDevice", "id = 500"), 0);
    EXPECT_EQ(count("YBPhysicalVolume", "id = 50"), 1);
    EXPECT_FALSE(ZXMMDBDeviceInfo::isControllerActive(500));
    EXPECT_TRUE(ZXMMDBDeviceInfo::isControllerActive(501));
    EXPECT_EQ(LogEntriesWith("\tSNR Device Name ID 500 removed from DB").size(), 1u);

    expectSuccess(deleteDevice(501));
    EXPECT_EQ(count("YBMountPoint", "DeviceNameId = 501"), 0);
    EXPECT_EQ(count("YBPhysicalVolume", "id = 50"), 0);
    EXPECT_EQ(LogEntriesWith("\tSNR Volume with ID 50 has been removed from DB").size(), 1u);
}

TEST_F(SNRDeletionTest, TheLastDeviceTakesThePermanentReplicaItsVolumeTheSnapParamsAndTheFiles)
{
    expectSuccess(deleteDevice(600));
    EXPECT_EQ(count("YBPhysicalVolume", "id IN (60, 61)"), 0);
    EXPECT_EQ(count("YBVolume", "id = 900"), 0);
    EXPECT_EQ(count("YBVolSnapParams", "SNRVolumeId = 60"), 0);
    EXPECT_EQ(count("YBFile", "VolumeId = 60"), 0);
    EXPECT_EQ(count("YBPhysicalVolume", "id = 50"), 1);
    EXPECT_EQ(LogEntriesWith("\tSNR Volume 61 was removed").size(), 1u);
}

TEST_F(SNRDeletionTest, RefusalsLeaveEveryRowAndControllerAsTheyWere)
{
    const std::string before = everything();
    expectFailure(deleteDevice(0), 0, "Invalid device name id");
    expectFailure(deleteDevice(999), 0, "Could not get information about the device in the database");

    ZXMMDBDeviceInfo::setInUse("volumeInUse", 600, true);
    expectFailure(deleteDevice(600), 0, "Cannot delete device because is being used as a storage device");
    ZXMMDBDeviceInfo::setInUse("volumeInUse", 600, false);
    ZXMMDBDeviceInfo::failNext("deactivate", 7, "controller of 600 is busy");
    expectFailure(deleteDevice(600), 0, "controller of 600 is busy");
    EXPECT_EQ(everything(), before);

    // A scratch volume on the volume; then a snapshot of it. A device in use
    // is refused first; otherwise each refusal comes after its controller
    // was switched off, and the rollback switches it on again.
    ZXMMDBDeviceInfo::setInUse("volumeInUse", 600, true);
    exec(InsertScratch({700, 60, 9, 0, 0}));
    const std::string withScratch = everything();
    expectFailure(deleteDevice(600), 0, "Cannot delete device because is being used as a storage device");
    ZXMMDBDeviceInfo::setInUse("volumeInUse", 600, false);
    expectFailure(deleteDevice(600), 0,
                  "Can not delete volume: still referenced by YB Volume or Scratch Volume in the database");
    EXPECT_EQ(everything(), withScratch);
    exec("DELETE FROM YBScratchVolume");
    exec(InsertReplica({901, 1, 1, 1, 0, 2, 60, 62, 0, 0, 0, 0, 0, 0, "", ""}));
    const std::string withSnapshot = everything();
    expectFailure(deleteDevice(600), 0, "Can not delete volume: Still referenced by YB Volumes in the database");
    EXPECT_EQ(everything(), withSnapshot);
    EXPECT_TRUE(ZXMMDBDeviceInfo::isControllerActive(600));
    EXPECT_EQ(LogEntriesWith("\tController of SNR Device ID 600 activated again after the rollback").size(), 2u);
}

// Every database and device-layer call of a last device's deletion made to
// fail in turn: the reply fails and nothing changed, the controller included.
TEST_F(SNRDeletionTest, AFailureAtAnyStepLeavesEveryRowAsItWas)
{
    const std::string before = everything();
    const int failures = failEachStep({"remove", "getInfo", "getNRows", "getList", "fetch", "commitTran"}, 8,
                                      [&]() { return deleteDevice(600); },
                                      [&](const ReplicaAnswer& a) {
                                          EXPECT_FALSE(a.msg.empty());
                                          EXPECT_EQ(everything(), before);
                                          EXPECT_TRUE(ZXMMDBDeviceInfo::isControllerActive(600));
                                      });
    EXPECT_GE(failures, 20);
    ZXMMDBDeviceInfo::failNext("volumeInUse", 3, "no answer");
    expectFailure(deleteDevice(600), 0, "Could not check if device is being used");
    EXPECT_EQ(everything(), before);
}

// A caller with a transaction of its own deletes several devices; when one
// fails it rolls back, and the trail restores the controllers switched off.
TEST_F(SNRDeletionTest, ACallersTransactionTakesBackEveryDeviceItDeleted)
{
    const std::string before = everything();
    ZXMMDBDeviceInfo::setInUse("volumeInUse", 600, true);
    {
        DBtran tran;
        ASSERT_EQ(tran.startTran(), 0);
        DeletionTrail trail;
        DeleteSNRDeviceRet_t first;
        EXPECT_TRUE(mgr.DeleteSNRDevice(DeleteSNRDeviceArgs_t(500), first, &tran, &trail));
        DeleteSNRDeviceRet_t second;
        EXPECT_TRUE(mgr.DeleteSNRDevice(DeleteSNRDeviceArgs_t(501), second, &tran, &trail));
        DeleteSNRDeviceRet_t third;
        EXPECT_FALSE(mgr.DeleteSNRDevice(DeleteSNRDeviceArgs_t(600), third, &tran, &trail));
        EXPECT_EQ(third.errMsg, "Cannot delete device because is being used as a storage device");
        ASSERT_EQ(trail.deactivatedDevices.size(), 2u);
        EXPECT_EQ(trail.deactivatedDevices[0].deviceId, 500);
        EXPECT_EQ(trail.deactivatedDevices[1].deviceId, 501);
        EXPECT_TRUE(trail.volumesBeingDeleted.empty());
        EXPECT_EQ(tran.rollbackTran(), 0);
        steps::RestoreAfterRollback(mgr, trail);
    }
    EXPECT_EQ(everything(), before);
    EXPECT_TRUE(ZXMMDBDeviceInfo::isControllerActive(500));
    EXPECT_TRUE(ZXMMDBDeviceInfo::isControllerActive(501));
}

// Volumes 70 and 71 each hold the other's permanent replica. The deletion of
// 70's last device takes 70's replica 910; 71, named then by nothing but its
// own replica 911, goes with 911, and 70, met again through 911, is left to
// the deletion under way, which removes it.
TEST_F(SNRDeletionTest, PermanentReplicasOnOneAnotherGoWithTheLastDevice)
{
    exec("INSERT INTO YBPhysicalVolume (id, UniqueId) VALUES (70, 'uid-70'), (71, 'uid-71')");
    exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (700, 2, 70, 'dev-700')");
    exec(InsertReplica({910, 1, 1, 1, 0, 4, 70, 71, 0, 0, 0, 0, 0, 0, "", ""}));
    exec(InsertReplica({911, 1, 1, 1, 0, 4, 71, 70, 0, 0, 0, 0, 0, 0, "", ""}));
    expectSuccess(deleteDevice(700));
    EXPECT_EQ(count("YBPhysicalVolume", "id IN (70, 71)"), 0);
    EXPECT_EQ(count("YBVolume", "id IN (910, 911)"), 0);
    EXPECT_EQ(LogEntriesWith("The SNR volume is being deleted already and is not entered again").size(), 1u);
}

// A device's global history name goes with it, so that the volume's next
// device can carry the name again; a replication volume holding a snapshot
// of the last device's volume keeps the volume.
TEST_F(SNRDeletionTest, TheHistoryNameGoesWithItsDeviceAndASnapshotKeepsTheVolume)
{
    exec("INSERT INTO YBTzHistoryName (DeviceId, GlobalHistoryName) VALUES (500, 'history-50')");
    expectSuccess(deleteDevice(500));
    EXPECT_EQ(count("YBTzHistoryName", "DeviceId = 500"), 0);
    const std::vector<std::string> removed =
        LogEntriesWith("\tGlobal History Name used by Device ID = 500 was removed from the database");
    ASSERT_EQ(removed.size(), 1u);
    EXPECT_NE(removed[0].find("ReplicationMgr::DeleteSNRDevice()"), std::string::npos);
    EXPECT_EQ(removed[0].find("ReplicationMgr::DeleteTzGlobalHistoryName()"), std::string::npos);
    exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (502, 4, 50, 'dev-502')");
    repYBTzHistoryNameRec name;
    name.DeviceId = 502;
    name.GlobalHistoryName = const_cast<char*>("history-50");
    expectSuccess(ask<repAddGlobalHistoryNameResp>(0x3500010b, name));
    EXPECT_EQ(count("YBTzHistoryName", "DeviceId = 502 AND GlobalHistoryName = 'history-50'"), 1);

    exec(InsertReplica({901, 1, 1, 1, 0, 2, 99, 62, 0, 0, 0, 0, 60, 0, "", ""}));
    const std::string withSnapshot = everything();
    expectFailure(deleteDevice(600), 0, "Can not delete volume: Still referenced by YB Volumes in the database");
    EXPECT_EQ(everything(), withSnapshot);
    EXPECT_EQ(count("YBPhysicalVolume", "id = 60"), 1);
}

// A replication volume holding a snapshot of the last device's volume
// refuses the deletion before the permanent replica's scratch volume is
// released: its host is asked nothing and nothing changes. Without it the
// same deletion releases the scratch volume on its host and succeeds.
TEST_F(SNRDeletionTest, AVolumeStillNamedIsRefusedBeforeAHostDeletesAnySnapshot)
{
    ClientFakesScope fakes;
    putTheReplicaOnAScratchVolumeWithASnapshot();
    exec(InsertReplica({903, 1, 1, 1, 0, 2, 99, 62, 0, 0, 0, 0, 60, 0, "", ""}));
    const std::string before = everything();
    expectFailure(deleteDevice(600), 0, "Can not delete volume: Still referenced by YB Volumes in the database");
    EXPECT_EQ(snapDeletions().size(), 0u);
    EXPECT_EQ(everything(), before);
    EXPECT_TRUE(LogEntriesWith("\tEvent: The release of RV scratch volume 710 was rolled back").empty());

    exec("DELETE FROM YBVolume WHERE id = 903");
    expectSuccess(deleteDevice(600));
    const std::vector<ClientCall> deletions = snapDeletions();
    ASSERT_EQ(deletions.size(), 1u);
    EXPECT_EQ(deletions[0].args, std::vector<std::string>{"dev-610"});
    EXPECT_EQ(count("YBVolume", "id IN (900, 902)"), 0);
    EXPECT_EQ(count("YBScratchVolume", "id = 710"), 0);
    EXPECT_EQ(count("YBPhysicalVolume", "id = 60"), 0);
}

// The scratch volume a permanent replica lies on cannot be removed while a
// replication volume other than its snapshots names it: the deletion is
// refused once its release is done in the database, before its host is
// asked to delete the snapshots on it. A host that fails to delete them
// fails the deletion after all else; its failure is its own entry, and no
// host had deleted anything to be reported.
TEST_F(SNRDeletionTest, NoHostDeletesSnapshotsBeforeTheDeletionCanNoLongerBeRefused)
{
    ClientFakesScope fakes;
    putTheReplicaOnAScratchVolumeWithASnapshot();
    const char* reported = "\tEvent: The release of RV scratch volume 710 was rolled back";
    const char* hostFailed = "\tZXSVCClientSession::DeleteAllSnapsFromVolume() failed";
    exec(InsertReplica({904, 1, 1, 1, 0, 2, 99, 62, 0, 0, 0, 0, 61, 0, "", ""}));
    const std::string named = everything();
    const ReplicaAnswer refused = deleteDevice(600);
    EXPECT_EQ(refused.status, 0u);
    EXPECT_EQ(snapDeletions().size(), 0u);
    EXPECT_EQ(everything(), named);
    EXPECT_TRUE(LogEntriesWith(reported).empty());

    exec("DELETE FROM YBVolume WHERE id = 904");
    const std::string before = everything();
    ASSERT_TRUE(fakes.fakes().failNext("DeleteAllSnapsFromVolume"));
    expectFailure(deleteDevice(600), 0, "Failed to delete the snapshots in the scratch volume");
    EXPECT_EQ(snapDeletions().size(), 1u);
    EXPECT_EQ(everything(), before);
    EXPECT_EQ(LogEntriesWith(hostFailed).size(), 1u);
    EXPECT_TRUE(LogEntriesWith(reported).empty());

    expectSuccess(deleteDevice(600));
    EXPECT_EQ(snapDeletions().size(), 2u);
    EXPECT_EQ(count("YBScratchVolume", "id = 710"), 0);
}

// The creation takes a second permanent replica of a primary volume. The
// deletion of that volume's last device takes the first and is refused for
// the second: rolled back, no host asked. Once the user deleted both by
// name (the first's scratch volume released on its host), the device goes.
TEST_F(SNRDeletionTest, ASecondPermanentReplicaRefusesTheLastDeviceUntilDeletedByName)
{
    ClientFakesScope fakes;
    putTheReplicaOnAScratchVolumeWithASnapshot();
    expectSuccess(ask<repCreatePermanentReplicaV3Resp>(0x35000117, PermanentReplicaRequest("uid-second", 60)));
    ASSERT_EQ(count("YBVolume", "PrimaryVolumeId = 60 AND CurrentRole = 4"), 2);
    const std::string before = everything();
    expectFailure(deleteDevice(600), 0, "Can not delete volume: Still referenced by YB Volumes in the database");
    EXPECT_TRUE(snapDeletions().empty());
    EXPECT_EQ(everything(), before);
    EXPECT_TRUE(ZXMMDBDeviceInfo::isControllerActive(600));

    for (int replica = 0; replica < 2; ++replica)
        expectSuccess(ask<repDeletePermanentReplicaResp>(0x35000063, repDeletePermanentReplicaReq{60}));
    EXPECT_EQ(snapDeletions().size(), 1u);
    expectSuccess(deleteDevice(600));
    EXPECT_EQ(snapDeletions().size(), 1u);
    EXPECT_EQ(count("YBVolume", "PrimaryVolumeId = 60"), 0);
    EXPECT_EQ(count("YBPhysicalVolume", "id = 60 OR UniqueId = 'uid-second'"), 0);
    EXPECT_EQ(count("YBPhysicalVolume", "id = 61"), 1);  // its device keeps it
}

// A destination snapshot of volume 60 taken on its mirror lies on the scratch
// volume of 60's permanent replica: the release of that scratch volume
// removes it with the snapshots held there, so that the deletion of 60's
// last device goes through, with one host call, and nothing names 60 after.
TEST_F(SNRDeletionTest, ASnapshotOnTheReplicasScratchVolumeGoesWithItsRelease)
{
    ClientFakesScope fakes;
    putTheReplicaOnAScratchVolumeWithASnapshot();
    exec(InsertReplica({905, 1, 1, 1, 0, 5, 60, 63, 0, 0, 0, 0, 61, 0, "", ""}));
    expectSuccess(deleteDevice(600));
    ASSERT_EQ(snapDeletions().size(), 1u);
    EXPECT_EQ(snapDeletions()[0].args, std::vector<std::string>{"dev-610"});
    EXPECT_EQ(count("YBPhysicalVolume", "id = 60"), 0);
    EXPECT_EQ(count("YBVolume", "PrimaryVolumeId = 60 OR PhysicalVolumeId = 60 OR SnapVolumeId = 60"), 0);
    EXPECT_EQ(count("YBPhysicalDevice", "SNRVolumeId = 60") + count("YBScratchVolume", "PhysicalVolumeId = 60") +
                  count("YBVolSnapParams", "SNRVolumeId = 60") + count("YBFile", "VolumeId = 60"),
              0);
}

// A caller without a trail of its own: the deletion keeps one and asks its
// hosts when it succeeded. A host that fails fails the deletion, which puts
// back the controller it switched off, the caller being bound to roll back.
TEST_F(SNRDeletionTest, WithoutATrailTheHostIsAskedLastAndAFailureIsReported)
{
    ClientFakesScope fakes;
    putTheReplicaOnAScratchVolumeWithASnapshot();
    const char* hostFailed = "\tZXSVCClientSession::DeleteAllSnapsFromVolume() failed";
    {
        DBtran tran;
        ASSERT_EQ(tran.startTran(), 0);
        ASSERT_TRUE(fakes.fakes().failNext("DeleteAllSnapsFromVolume"));
        DeleteSNRDeviceRet_t ret;
        EXPECT_FALSE(mgr.DeleteSNRDevice(DeleteSNRDeviceArgs_t(600), ret, &tran));
        EXPECT_EQ(ret.errMsg, "Failed to delete the snapshots in the scratch volume");
        EXPECT_EQ(snapDeletions().size(), 1u);
        EXPECT_EQ(LogEntriesWith(hostFailed).size(), 1u);
        EXPECT_EQ(tran.rollbackTran(), 0);
        EXPECT_TRUE(ZXMMDBDeviceInfo::isControllerActive(600));
    }
    DBtran tran;
    ASSERT_EQ(tran.startTran(), 0);
    DeleteSNRDeviceRet_t ret;
    EXPECT_TRUE(mgr.DeleteSNRDevice(DeleteSNRDeviceArgs_t(600), ret, &tran));
    EXPECT_EQ(tran.commitTran(), 0);
    EXPECT_EQ(snapDeletions().size(), 2u);
    EXPECT_EQ(LogEntriesWith(hostFailed).size(), 1u);
    EXPECT_EQ(count("YBPhysicalVolume", "id = 60"), 0);
}

// A device whose only mount point is the unmounted placeholder has its
// controller off. A deletion refused after the switch-off (a scratch volume
// lies on the last device's volume) sets it off again, as the rows give
// after the rollback: for a caller without a trail, whose step the deletion
// rolls back itself, and through post.
TEST_F(SNRDeletionTest, ARefusedDeletionSetsTheControllerAsTheRowsGive)
{
    const char* refusal = "Can not delete volume: still referenced by YB Volume or Scratch Volume in the database";
    const char* setOff = "\tController of SNR Device ID 600 deactivated again after the rollback";
    exec("UPDATE YBMountPoint SET Flags = 2 WHERE id = 4");
    ZXMMDBDeviceInfo().deactivateControllerBySNRVolId(600, nullptr);
    exec(InsertScratch({700, 60, 9, 0, 0}));
    const std::string before = everything();
    {
        DBtran tran;
        ASSERT_EQ(tran.startTran(), 0);
        DeleteSNRDeviceRet_t ret;
        EXPECT_FALSE(mgr.DeleteSNRDevice(DeleteSNRDeviceArgs_t(600), ret, &tran));
        EXPECT_EQ(ret.errMsg, refusal);
        EXPECT_FALSE(ZXMMDBDeviceInfo::isControllerActive(600));
        EXPECT_EQ(LogEntriesWith(setOff).size(), 1u);
        EXPECT_EQ(tran.rollbackTran(), 0);
    }
    expectFailure(deleteDevice(600), 0, refusal);
    EXPECT_EQ(everything(), before);
    EXPECT_FALSE(ZXMMDBDeviceInfo::isControllerActive(600));
    EXPECT_EQ(LogEntriesWith(setOff).size(), 2u);
}

// The host deletes the snapshots on the replica's scratch volume, then a
// commit fails: without a trail the deletion's own step's, with the caller's
// trail the caller's. Once rolled back, the host is reported and the
// controller of 600, whose only mount point is the placeholder, is off as
// the rows give. Without a trail, a step that cannot start refuses the
// deletion before it switches anything.
TEST_F(SNRDeletionTest, AFailedCommitAfterTheHostDeletedSetsTheControllerAsTheRowsGive)
{
    ClientFakesScope fakes;
    putTheReplicaOnAScratchVolumeWithASnapshot();
    exec("UPDATE YBMountPoint SET Flags = 2 WHERE id = 4");
    ZXMMDBDeviceInfo().deactivateControllerBySNRVolId(600, nullptr);
    const std::string before = everything();
    for (bool withTrail : {false, true}) {
        SCOPED_TRACE(withTrail ? "the caller's trail" : "no trail");
        DBtran tran;
        ASSERT_EQ(tran.startTran(), 0);
        fakes.fakes().onNextCall("DeleteAllSnapsFromVolume", []() { HostDBFaults::failNext("commitTran", 5); });
        DeletionTrail trail;
        DeleteSNRDeviceRet_t ret;
        if (withTrail) {
            EXPECT_TRUE(mgr.DeleteSNRDevice(DeleteSNRDeviceArgs_t(600), ret, &tran, &trail));
            std::string failure;
            EXPECT_TRUE(steps::AskHostsLeft(mgr, trail, failure));
            EXPECT_NE(tran.commitTran(), 0);
        } else {
            EXPECT_FALSE(mgr.DeleteSNRDevice(DeleteSNRDeviceArgs_t(600), ret, &tran));
            EXPECT_EQ(ret.errMsg, "Could not commit database transactions");
        }
        EXPECT_EQ(tran.rollbackTran(), 0);
        steps::RestoreAfterRollback(mgr, trail);
        EXPECT_EQ(everything(), before);
        EXPECT_FALSE(ZXMMDBDeviceInfo::isControllerActive(600));
        const size_t times = withTrail ? 2 : 1;
        EXPECT_EQ(LogEntriesWith("\tEvent: The release of RV scratch volume 710 was rolled back").size(), times);
        EXPECT_EQ(LogEntriesWith("\tController of SNR Device ID 600 deactivated again after the rollback").size(),
                  times);
    }

    const size_t switches = ZXMMDBDeviceInfo::journal().size();
    DBtran tran;
    ASSERT_EQ(tran.startTran(), 0);
    HostDBFaults::failNext("startTran", 5);
    DeleteSNRDeviceRet_t ret;
    EXPECT_FALSE(mgr.DeleteSNRDevice(DeleteSNRDeviceArgs_t(600), ret, &tran));
    EXPECT_EQ(ret.errMsg, "Could not initiated database transactions");
    EXPECT_EQ(ZXMMDBDeviceInfo::journal().size(), switches);
}

}  // namespace
