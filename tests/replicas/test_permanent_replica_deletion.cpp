// The deletion of permanent replicas through post: a created replica found
// as the latest and deleted with the SNR volume registered for it; one on a
// scratch volume releases and removes that volume; an SNR volume still used
// stays; refusals, and a failure at any step that changes nothing.
#include <gtest/gtest.h>

#include <string>

#include "replicas/LatestReplica.h"
#include "replicas/PermanentReplicas.h"
#include "replicas/ReplicaPostFixture.h"

namespace {

class PermanentReplicaDeletionTest : public ReplicaPostTest {
protected:
    // Primary volume 30: permanent replica 950 on SNR volume 50, which lies
    // on scratch volume 700 of pool 9 (reserved), and a snapshot 951 on
    // volume 52. Primary volume 31: permanent replica 952 on volume 53,
    // which replica 953 of another primary also uses.
    void SetUp() override
    {
        ReplicaPostTest::SetUp();
        exec("INSERT INTO YBPhysicalVolume (id, UniqueId, Flags, Type) VALUES "
             "(50, 'uid-50', 2, 1), (52, 'uid-52', 0, 1), (53, 'uid-53', 0, 1)");
        exec("INSERT INTO YBScratchPool (id, TotalVolumes, AvailableVolumes, name) VALUES (9, 3, 1, 'pool')");
        exec(InsertScratch({700, 50, 9, 0, 77}));
        exec(InsertReplica({950, 1, 1, 1, 0, 4, 30, 50, 0, 700, 0, 0, 0, 0, "", ""}));
        exec(InsertReplica({951, 1, 1, 5000, 0, 2, 30, 52, 0, 0, 0, 0, 0, 0, "", ""}));
        exec(InsertReplica({952, 1, 1, 1, 0, 4, 31, 53, 0, 0, 0, 0, 0, 0, "", ""}));
        exec(InsertReplica({953, 1, 1, 1, 0, 1, 32, 53, 0, 0, 0, 0, 0, 0, "", ""}));
        exec("INSERT INTO YBVolSnapParams (SNRVolumeId, SnapEngineId) VALUES (53, 1)");
    }

    ReplicaAnswer deleteReplica(int primary)
    {
        return ask<repDeletePermanentReplicaResp>(0x35000063, repDeletePermanentReplicaReq{primary});
    }
    long long count(const std::string& table, const std::string& where)
    {
        return scalar("SELECT COUNT(*) FROM " + table + " WHERE " + where);
    }
    std::string everything()
    {
        return dump() + DumpTable(m_path, "YBPhysicalVolume") + DumpTable(m_path, "YBScratchVolume") +
               DumpTable(m_path, "YBScratchPool");
    }
};

ReplicaAnswer DecodeCreated(const void* data)
{
    const auto* r = static_cast<const repCreatePermanentReplicaV3Resp*>(data);
    ReplicaAnswer a;
    a.status = r->status;
    a.msg = ReplyText(r->errMsg);
    a.errCode = r->errCode;
    a.id = r->ReplicationVolumeId;
    a.count = static_cast<uint32_t>(r->PhysicalVolumeId);
    return a;
}
ReplicaAnswer DecodeLatest(const void* data)
{
    const auto* r = static_cast<const repGetLatestSnapForSNRVolV4Resp*>(data);
    ReplicaAnswer a;
    a.status = r->status;
    a.id = r->SNRVolume.id;
    return a;
}

TEST_F(PermanentReplicaDeletionTest, ACreatedReplicaIsTheLatestUntilItIsDeletedWithItsVolume)
{
    repCreatePermanentReplicaV3Req req;
    req.SNRVolume.UniqueId = const_cast<char*>("uid-created");
    req.SNRVolume.BlockCount = 100;
    req.PrimaryVolumeId = 40;
    req.JobId = 0;
    req.IsSnapActive = 0;
    req.ActivateSnap = 0;
    exec(InsertReplica({960, 1, 1, 9000, 0, 2, 40, 52, 0, 0, 0, 0, 0, 0, "", ""}));
    const ReplicaAnswer created = send(0x35000117, &req, sizeof(repCreatePermanentReplicaV3Resp), &DecodeCreated);
    expectSuccess(created);
    const int physical = static_cast<int>(created.count);

    // Preferred to the snapshot modified later.
    repGetLatestSnapForSNRVolV4Req latestReq{40, 0, 0};
    ReplicaAnswer latest = send(0x3500015d, &latestReq, sizeof(repGetLatestSnapForSNRVolV4Resp), &DecodeLatest);
    EXPECT_EQ(latest.status, 1u);
    EXPECT_EQ(latest.id, physical);

    expectSuccess(deleteReplica(40));
    EXPECT_EQ(count("YBVolume", "id = " + std::to_string(created.id)), 0);
    EXPECT_EQ(count("YBPhysicalVolume", "id = " + std::to_string(physical)), 0);
    EXPECT_EQ(LogEntriesWith("\tDeleting Physical volume id " + std::to_string(physical)).size(), 1u);
    latest = send(0x3500015d, &latestReq, sizeof(repGetLatestSnapForSNRVolV4Resp), &DecodeLatest);
    EXPECT_EQ(latest.id, 52);
}

TEST_F(PermanentReplicaDeletionTest, AReplicaOnAScratchVolumeReleasesAndRemovesIt)
{
    expectSuccess(deleteReplica(30));
    EXPECT_EQ(count("YBVolume", "id = 950"), 0);
    EXPECT_EQ(count("YBVolume", "id = 951"), 1);
    EXPECT_EQ(count("YBScratchVolume", "id = 700"), 0);
    EXPECT_EQ(count("YBPhysicalVolume", "id = 50"), 0);
    // Counted back by the release, then out of the pool with the removal.
    EXPECT_EQ(scalar("SELECT TotalVolumes FROM YBScratchPool WHERE id = 9"), 2);
    EXPECT_EQ(scalar("SELECT AvailableVolumes FROM YBScratchPool WHERE id = 9"), 1);
    EXPECT_EQ(LogEntriesWith("\tRV scratch volume 700 was released").size(), 1u);
}

TEST_F(PermanentReplicaDeletionTest, AVolumeStillUsedStaysAndRefusalsChangeNothing)
{
    expectSuccess(deleteReplica(31));
    EXPECT_EQ(count("YBVolume", "id = 952"), 0);
    EXPECT_EQ(count("YBPhysicalVolume", "id = 53"), 1);
    EXPECT_EQ(count("YBVolSnapParams", "SNRVolumeId = 53"), 0);
    EXPECT_EQ(LogEntriesWith("\tCannot delete Physical volume id 53"
                             "\n\tReason: At least a Replication volume was found using physical volume Id 53")
                  .size(),
              1u);

    const std::string before = everything();
    expectFailure(deleteReplica(0), 0, "Cannot delete permanent YB from the database with invalid primary volume id");
    expectFailure(deleteReplica(31), 0, "No record found");
    // The scratch volume is no longer reserved: its release is refused.
    exec("UPDATE YBPhysicalVolume SET Flags = 0 WHERE id = 50");
    const std::string unreserved = everything();
    expectFailure(deleteReplica(30), 0, "Volume has not been previously locked");
    EXPECT_EQ(everything(), unreserved);
    exec("UPDATE YBPhysicalVolume SET Flags = 2 WHERE id = 50");
    EXPECT_EQ(everything(), before);
}

// Each database call of the deletion on a scratch volume made to fail in
// turn: nothing changes, and a release taken back is reported.
TEST_F(PermanentReplicaDeletionTest, AFailureAtAnyStepChangesNothing)
{
    const std::string before = everything();
    const int failures = failEachStep({"getList", "getInfo", "getNRows", "remove", "Update", "fetch", "commitTran"}, 6,
                                      [&]() { return deleteReplica(30); },
                                      [&](const ReplicaAnswer& a) {
                                          EXPECT_FALSE(a.msg.empty());
                                          EXPECT_EQ(everything(), before);
                                      });
    EXPECT_GE(failures, 20);
    EXPECT_FALSE(LogEntriesWith("\tEvent: The release of RV scratch volume 700 was rolled back").empty());
}

}  // namespace
