// A permanent replica on a reserved scratch volume, deleted through post by
// each request that reaches it: the scratch volume's snap parameters go
// with its scratch row while its SNR volume stays, so that a later cleanup
// of the client still succeeds; and a failed read of whether its host has
// the agent fails the request, which changes nothing and asks no host.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "cleanup/ClientCleanup.h"
#include "host/HostConfig.h"
#include "host/ZXMMDBDeviceInfo.h"
#include "replicas/ReplicaPostFixture.h"
#include "scratch/ScratchMembership.h"
#include "snr/SNRDeletion.h"
#include "support/ClientFakesScope.h"

namespace {

class ScratchReplicaDeletionTest : public ReplicaPostTest {
protected:
    // Volume 60 (device 600 of alpha, plain snap parameters) has its
    // permanent replica 900 on scratch volume 710 of pool 9, which has no
    // engine: SNR volume 61, reserved, seen by alpha's device 610 alone,
    // with snap parameters flagged as a scratch volume's. The destination
    // snapshot 902 (of volume 62) is held on it, so its release asks alpha
    // to delete the snapshots on dev-610.
    void SetUp() override
    {
        ReplicaPostTest::SetUp();
        ZXMMDBDeviceInfo::reset();
        addAlpha();
        exec("INSERT INTO YBPhysicalVolume (id, UniqueId, Flags) VALUES (60, 'uid-60', 0), (61, 'uid-61', 2)");
        exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES "
             "(600, 2, 60, 'dev-600'), (610, 2, 61, 'dev-610')");
        exec("INSERT INTO YBScratchPool (id, TotalVolumes, AvailableVolumes, name) VALUES (9, 1, 0, 'pool')");
        exec(InsertScratch({710, 61, 9, 0, 0}));
        exec("INSERT INTO YBVolSnapParams (SNRVolumeId, SnapEngineId, Flags) VALUES (60, 1, 0), (61, 1, 1)");
        exec(InsertReplica({900, 1, 1, 1, 0, 4, 60, 61, 0, 710, 0, 0, 0, 0, "", ""}));
        exec(InsertReplica({902, 1, 1, 1, 0, 5, 62, 63, 0, 0, 0, 0, 61, 0, "", ""}));
    }

    ReplicaAnswer deleteDevice(int id) { return ask<repDeleteSNRDeviceResponse>(0x35000003, repDeleteSNRDeviceReq{id}); }
    ReplicaAnswer deleteReplica(int primary)
    {
        return ask<repDeletePermanentReplicaResp>(0x35000063, repDeletePermanentReplicaReq{primary});
    }
    ReplicaAnswer cleanup(int32_t clientId, int32_t type)
    {
        return ask<repCleanupByclientIdResp>(0x3500005d, repCleanupByClientIdReq{clientId, type});
    }
    ReplicaAnswer removeScratch(uint32_t id)
    {
        return ask<repRemoveRVScratchVolumeResponse>(0x35000017, repRemoveRVScratchVolumeReq{id});
    }
    ReplicaAnswer prune(int volumeId)
    {
        repPruneMorvaneVolumeReq req;
        req.SNRVolumeId = volumeId;
        req.reserved = 0;
        req.count = 0;
        req.names = nullptr;
        return ask<repPruneMorvaneVolumesResp>(0x35000115, req);
    }

    std::string rows(const std::string& sql) { return DumpQuery(m_path, sql) + "--\n"; }
    std::string everything()
    {
        std::string all = dump();
        for (const char* table : {"YBPhysicalVolume", "YBPhysicalDevice", "YBMountPoint", "YBScratchVolume",
                                  "YBScratchPool", "YBFile"})
            all += DumpTable(m_path, table);
        return all;
    }
    // The catalogue as seeded, no client called and nothing logged.
    void fresh()
    {
        restart();
        ClientFakesScope::fakes().reset();
        EvDebug::clearEntries();
    }
    static std::vector<ClientCall> snapDeletions() { return ClientFakesScope::fakes().calls("DeleteAllSnapsFromVolume"); }

    ClientFakesScope fakesScope;
};

// Each deletion of the replica (by name, with the last device of 60, in the
// cleanup, with the pruning of 60) removes scratch row 710 while volume 61
// stays (its device names it): the parameters flagged as 710's go with the
// row, volume 60's plain ones stay while 60 does, and the client's cleanup,
// which takes flagged parameters for a scratch volume still there, succeeds
// after it, again and again.
TEST_F(ScratchReplicaDeletionTest, AScratchVolumesSnapParamsGoWithItsRow)
{
    struct Deletion {
        const char* name;
        std::function<ReplicaAnswer()> run;
        const char* paramsLeft;  // the SNR volumes whose parameters stay
    };
    const std::vector<Deletion> deletions = {
        {"replica", [&] { return deleteReplica(60); }, "60|\n--\n"},
        {"device", [&] { return deleteDevice(600); }, "--\n"},
        {"cleanup", [&] { return cleanup(2, 2); }, "--\n"},
        {"prune",
         [&] {
             exec("UPDATE YBPhysicalVolume SET Flags = 16 WHERE id = 60");  // protected
             return prune(60);
         },
         "--\n"},
    };
    for (const Deletion& deletion : deletions) {
        SCOPED_TRACE(deletion.name);
        fresh();
        expectSuccess(deletion.run());
        EXPECT_EQ(rows("SELECT id FROM YBScratchVolume"), "--\n");
        EXPECT_EQ(rows("SELECT id, Flags FROM YBPhysicalVolume WHERE id = 61"), "61|0|\n--\n");
        EXPECT_EQ(rows("SELECT SNRVolumeId FROM YBVolSnapParams ORDER BY 1"), deletion.paramsLeft);
        EXPECT_EQ(snapDeletions().size(), 1u);

        for (int again = 0; again < 2; ++again) expectSuccess(cleanup(2, 2));
        EXPECT_EQ(rows("SELECT SNRVolumeId FROM YBVolSnapParams"), "--\n");
        EXPECT_EQ(rows("SELECT id FROM YBPhysicalVolume WHERE id = 61"), "61|\n--\n");
        EXPECT_EQ(snapDeletions().size(), 1u);
    }
}

// The removal of a scratch volume by request, from a pool without engine:
// the flagged parameters of 70 go with 720; the plain ones of 71 stay with
// 71, whose row 721 goes too. The cleanup of the client then succeeds.
TEST_F(ScratchReplicaDeletionTest, ARemovedScratchVolumeTakesOnlyItsFlaggedSnapParams)
{
    exec("INSERT INTO YBPhysicalVolume (id, UniqueId, Flags) VALUES (70, 'uid-70', 0), (71, 'uid-71', 0)");
    exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES "
         "(700, 2, 70, 'dev-700'), (701, 2, 71, 'dev-701')");
    exec("UPDATE YBScratchPool SET TotalVolumes = 3, AvailableVolumes = 2 WHERE id = 9");
    exec(InsertScratch({720, 70, 9, 0, 0}));
    exec(InsertScratch({721, 71, 9, 0, 0}));
    exec("INSERT INTO YBVolSnapParams (SNRVolumeId, SnapEngineId, Flags) VALUES (70, 1, 1), (71, 1, 0)");

    expectSuccess(removeScratch(720));
    expectSuccess(removeScratch(721));
    EXPECT_EQ(rows("SELECT id FROM YBScratchVolume"), "710|\n--\n");
    EXPECT_EQ(rows("SELECT TotalVolumes, AvailableVolumes FROM YBScratchPool"), "1|0|\n--\n");
    EXPECT_EQ(rows("SELECT SNRVolumeId, Flags FROM YBVolSnapParams ORDER BY 1"), "60|0|\n61|1|\n71|0|\n--\n");
    EXPECT_EQ(LogEntriesWith("\tScratch volume snap parameters of SNR Volume 70 were removed from DB").size(), 1u);

    expectSuccess(cleanup(2, 2));
    EXPECT_EQ(rows("SELECT SNRVolumeId FROM YBVolSnapParams"), "--\n");
}

// The read of alpha's agent fails as the released scratch volume's host is
// about to be asked to delete the snapshots on it, in each request that
// releases it: the request fails and is rolled back, the snapshots' records
// stay, alpha is asked nothing, and nothing is taken for the agent
// uninstalled. Without the fault the same request succeeds and asks alpha.
TEST_F(ScratchReplicaDeletionTest, AFailedReadOfTheHostsAgentFailsTheDeletion)
{
    struct Deletion {
        const char* name;
        std::function<ReplicaAnswer()> run;
    };
    const std::vector<Deletion> deletions = {
        {"device", [&] { return deleteDevice(600); }},
        {"replica", [&] { return deleteReplica(60); }},
        {"cleanup Non SNR", [&] { return cleanup(2, 2); }},
        {"cleanup Full", [&] { return cleanup(2, 1); }},
        {"prune", [&] { return prune(60); }},
    };
    for (const Deletion& deletion : deletions) {
        SCOPED_TRACE(deletion.name);
        fresh();
        exec("UPDATE YBPhysicalVolume SET Flags = 16 WHERE id = 60");  // protected, for the pruning
        const std::string before = everything();

        HostConfig::failNext("isAppTypeInstalled", 7);
        const ReplicaAnswer failed = deletion.run();
        EXPECT_EQ(failed.status, 0u);
        EXPECT_EQ(failed.msg, "Failed to delete the snapshots in the scratch volume");
        EXPECT_EQ(everything(), before);
        EXPECT_TRUE(snapDeletions().empty());
        EXPECT_TRUE(LogEntriesWith("\tYB has been uninstalled. Removing snapshot from the DB only").empty());
        EXPECT_EQ(LogEntriesWith("\tCannot check the client's agent installation status\n\tApp Mgr Code     = 7"
                                 "\n\tClient Id        = 2\n\tApp Type\t     = 47\n\tHost Name        = alpha.net")
                      .size(),
                  1u);

        expectSuccess(deletion.run());
        EXPECT_EQ(rows("SELECT id FROM YBVolume"), "--\n");
        EXPECT_EQ(snapDeletions().size(), 1u);
    }
}

}  // namespace
