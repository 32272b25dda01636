// The deletion of devices through post: the mount points and the device go,
// the volume with its permanent replica, snap parameters and files only with
// its last device; refusals, permanent replicas that lie on one another, and
// a failure at any step that leaves every row and the controller as they were.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/ZXMMDBDeviceInfo.h"
#include "replicas/ReplicaPostFixture.h"
#include "snr/SNRDeletion.h"
#include "snr/SNRMessages.h"

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

    // A scratch volume on the volume; then, after the permanent replica went,
    // a snapshot of it: each refusal comes after the device's rows went.
    exec(InsertScratch({700, 60, 9, 0, 0}));
    const std::string withScratch = everything();
    expectFailure(deleteDevice(600), 0,
                  "Can not delete volume: still referenced by YB Volume or Scratch Volume in the database");
    EXPECT_EQ(everything(), withScratch);
    exec("DELETE FROM YBScratchVolume");
    exec(InsertReplica({901, 1, 1, 1, 0, 2, 60, 62, 0, 0, 0, 0, 0, 0, "", ""}));
    const std::string withSnapshot = everything();
    expectFailure(deleteDevice(600), 0, "Can not delete volume: Still referenced by YB Volumes in the database");
    EXPECT_EQ(everything(), withSnapshot);
    EXPECT_TRUE(ZXMMDBDeviceInfo::isControllerActive(600));
    EXPECT_FALSE(LogEntriesWith("\tController of SNR Device ID 600 activated again after the rollback").empty());
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
        EXPECT_EQ(trail.deactivatedDevices, (std::vector<int32_t>{500, 501}));
        EXPECT_TRUE(trail.volumesBeingDeleted.empty());
        EXPECT_EQ(tran.rollbackTran(), 0);
        mgr.RestoreAfterRollback(trail);
    }
    EXPECT_EQ(everything(), before);
    EXPECT_TRUE(ZXMMDBDeviceInfo::isControllerActive(500));
    EXPECT_TRUE(ZXMMDBDeviceInfo::isControllerActive(501));
}

// Volumes 70 and 71 each hold the other's permanent replica: the deletion
// of 70's last device removes both replicas and both volumes, entering
// neither volume twice.
TEST_F(SNRDeletionTest, PermanentReplicasOnOneAnotherAreDeletedOnce)
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

}  // namespace

