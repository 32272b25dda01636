// The pruning of protected volumes through post: with and without names of
// unexpired consistency points, a volume without any replication volume,
// refusals, made before a host is asked anything, and a failure at any step
// that changes nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/ZXMMDBDeviceInfo.h"
#include "replicas/ReplicaPostFixture.h"
#include "snr/SNRDeletion.h"
#include "support/ClientFakesScope.h"

namespace {

class MorvanePruningTest : public ReplicaPostTest {
protected:
    // Volume 90 (consistency point "Daily:1 backup"): device 800, replication
    // volume 920. Volume 91 (no unique snapshot id): device 801, no
    // replication volume. Volume 92: devices 802 and 803, replication
    // volumes 930 (older) and 931.
    void SetUp() override
    {
        ReplicaPostTest::SetUp();
        ZXMMDBDeviceInfo::reset();
        exec("INSERT INTO YBPhysicalVolume (id, UniqueId, Flags, UniqueSnapshotID) VALUES "
             "(90, 'uid-90', 16, 'host:vol:Daily-1~backup'), (91, 'uid-91', 16, ''), (92, 'uid-92', 16, 'a:b')");
        exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES "
             "(800, 2, 90, 'dev-800'), (801, 2, 91, 'dev-801'), (802, 2, 92, 'dev-802'), (803, 3, 92, 'dev-803')");
        exec("INSERT INTO YBMountPoint (id, DeviceNameId, Path, Flags) VALUES (1, 800, '/mnt/p', 0)");
        exec(InsertReplica({920, 1, 10, 1, 0, 1, 30, 90, 0, 0, 0, 0, 0, 0, "", ""}));
        exec(InsertReplica({930, 1, 10, 1, 0, 1, 30, 92, 0, 0, 0, 0, 0, 0, "", ""}));
        exec(InsertReplica({931, 1, 20, 1, 0, 1, 30, 92, 0, 0, 0, 0, 0, 0, "", ""}));
        ZXMMDBDeviceInfo().activateControllerBySNRVolId(800, nullptr);
    }

    ReplicaAnswer prune(int volumeId, std::vector<const char*> names)
    {
        repPruneMorvaneVolumeReq req;
        req.SNRVolumeId = volumeId;
        req.reserved = 0;
        req.count = static_cast<uint32_t>(names.size());
        req.names = names.empty() ? nullptr : const_cast<char**>(names.data());
        return ask<repPruneMorvaneVolumesResp>(0x35000115, req);
    }
    long long count(const std::string& table, const std::string& where)
    {
        return scalar("SELECT COUNT(*) FROM " + table + " WHERE " + where);
    }
    std::string everything()
    {
        return dump() + DumpTable(m_path, "YBPhysicalVolume") + DumpTable(m_path, "YBPhysicalDevice") +
               DumpTable(m_path, "YBMountPoint");
    }
};

TEST_F(MorvanePruningTest, AnUnexpiredConsistencyPointKeepsTheVolumeAndAnExpiredOneIsPruned)
{
    const std::string before = everything();
    expectFailure(prune(90, {"other", "DAILY:1 BACKUP"}), -11,
                  "Morvane volume cannot be pruned because it has not expired");
    EXPECT_EQ(everything(), before);
    EXPECT_EQ(LogEntriesWith("\tEvent: Morvane volume cannot be pruned because it has not expired").size(), 1u);

    expectSuccess(prune(90, {"other", nullptr, "Daily:1"}));
    EXPECT_EQ(count("YBVolume", "id = 920"), 0);
    EXPECT_EQ(count("YBPhysicalDevice", "id = 800"), 0);
    EXPECT_EQ(count("YBMountPoint", "id = 1"), 0);
    EXPECT_EQ(count("YBPhysicalVolume", "id = 90"), 0);
    EXPECT_FALSE(ZXMMDBDeviceInfo::isControllerActive(800));
    EXPECT_EQ(LogEntriesWith("\tPruneMorvaneVolume has started for volume id 90").size(), 2u);
}

TEST_F(MorvanePruningTest, WithoutNamesTheIdIsNotReadAndWithoutReplicationVolumeTheDeviceStillGoes)
{
    expectSuccess(prune(91, {}));
    EXPECT_EQ(count("YBPhysicalDevice", "id = 801"), 0);
    EXPECT_EQ(count("YBPhysicalVolume", "id = 91"), 0);
    EXPECT_EQ(LogEntriesWith("\tEvent: The protected volume has no replication volume to remove").size(), 1u);
    EXPECT_EQ(count("YBVolume", "1 = 1"), 3);
}

TEST_F(MorvanePruningTest, RefusalsChangeNothing)
{
    const std::string before = everything();
    expectFailure(prune(0, {}), -6, "Morvane volume cannot be prunned with an invalid volume Id");
    expectFailure(prune(91, {"x"}), -2, "\tMorvane volume prunning cannot continue with Unique Snapshot ID empty");
    exec("UPDATE YBPhysicalVolume SET UniqueSnapshotID = 'no-colon' WHERE id = 90");
    expectFailure(prune(90, {"x"}), -2, "\tConsistency Point name cannot not be found");
    exec("UPDATE YBPhysicalVolume SET UniqueSnapshotID = 'host:vol:Daily-1~backup' WHERE id = 90");
    // Two devices: the newest replication volume's removal is rolled back.
    expectFailure(prune(92, {}), -13, "Morvane Prunning failed");
    expectFailure(prune(93, {}), -3, "Record not found");
    // A count without its texts.
    repPruneMorvaneVolumeReq malformed{90, 0, 2, nullptr};
    expectFailure(ask<repPruneMorvaneVolumesResp>(0x35000115, malformed), -2, "Invalid request: no request data");
    EXPECT_EQ(everything(), before);
}

TEST_F(MorvanePruningTest, AFailureAtAnyStepChangesNothing)
{
    const std::string before = everything();
    const int failures = failEachStep({"getList", "getInfo", "getNRows", "remove", "fetch", "commitTran"}, 8,
                                      [&]() { return prune(90, {"other"}); },
                                      [&](const ReplicaAnswer& a) {
                                          EXPECT_NE(a.errCode, 0);
                                          EXPECT_EQ(everything(), before);
                                          EXPECT_TRUE(ZXMMDBDeviceInfo::isControllerActive(800));
                                      });
    EXPECT_GE(failures, 20);
}

// Volume 90's permanent replica 940 lies on scratch volume 710 of volume 95,
// seen by alpha alone, which holds the snapshot 942: the last device's
// deletion would have alpha delete it. The replication volume 943 naming 90
// refuses the prune before alpha is asked anything; without it, the prune
// goes through and alpha deletes the snapshots.
TEST_F(MorvanePruningTest, ARefusalOfTheLastDeviceComesBeforeAHostDeletesAnySnapshot)
{
    ClientFakesScope fakes;
    addAlpha();
    exec("INSERT INTO YBPhysicalVolume (id, UniqueId, Flags) VALUES (95, 'uid-95', 2)");
    exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (805, 2, 95, 'dev-805')");
    exec("INSERT INTO YBScratchPool (id, TotalVolumes, AvailableVolumes, name) VALUES (9, 1, 0, 'pool')");
    exec(InsertScratch({710, 95, 9, 0, 0}));
    exec(InsertReplica({940, 1, 1, 1, 0, 4, 90, 95, 0, 710, 0, 0, 0, 0, "", ""}));
    exec(InsertReplica({942, 1, 1, 1, 0, 5, 96, 97, 0, 0, 0, 0, 95, 0, "", ""}));
    exec(InsertReplica({943, 1, 1, 1, 0, 2, 96, 98, 0, 0, 0, 0, 90, 0, "", ""}));
    const std::string before = everything();
    expectFailure(prune(90, {}), -16, "Can not delete volume: Still referenced by YB Volumes in the database");
    EXPECT_TRUE(ClientFakesScope::fakes().calls().empty());
    EXPECT_EQ(everything(), before);

    exec("DELETE FROM YBVolume WHERE id = 943");
    expectSuccess(prune(90, {}));
    const std::vector<ClientCall> deletions = ClientFakesScope::fakes().calls("DeleteAllSnapsFromVolume");
    ASSERT_EQ(deletions.size(), 1u);
    EXPECT_EQ(deletions[0].args, std::vector<std::string>{"dev-805"});
    EXPECT_EQ(count("YBVolume", "id IN (920, 940, 942)"), 0);
    EXPECT_EQ(count("YBPhysicalVolume", "id = 90"), 0);
}

}  // namespace
