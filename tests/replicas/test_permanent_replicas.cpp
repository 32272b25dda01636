// Permanent replicas through post: creation on an SNR volume found by its
// identity or registered for it, refusals and failures at each step that
// change nothing, the query of each version, the created replica found as
// the latest replica of its primary volume, and the deletion: with the SNR
// volume registered for it, with the scratch volume it lies on, an SNR
// volume still used staying, and failures at each step that change nothing.
#include <gtest/gtest.h>

#include <string>

#include "replicas/LatestReplica.h"
#include "replicas/PermanentReplicas.h"
#include "replicas/ReplicaPostFixture.h"
#include "support/ClientFakesScope.h"

namespace {

ReplicaAnswer DecodeCreated(const void* data)
{
    const auto* r = static_cast<const repCreatePermanentReplicaV3Resp*>(data);
    ReplicaAnswer a;
    a.status = r->status;
    a.msg = ReplyText(r->errMsg);
    a.errCode = r->errCode;
    a.id = r->ReplicationVolumeId;
    a.count = static_cast<uint32_t>(r->PhysicalVolumeId);  // the SNR volume holding it
    return a;
}
ReplicaAnswer DecodeCreatedV1(const void* data)
{
    const auto* r = static_cast<const repCreatePermanentReplicaResp*>(data);
    ReplicaAnswer a;
    a.status = r->status;
    a.msg = ReplyText(r->errMsg);
    a.id = r->ReplicationVolumeId;
    a.count = static_cast<uint32_t>(r->PhysicalVolumeId);
    return a;
}

class PermanentReplicaTest : public ReplicaPostTest {
protected:
    // SNR volume 50 lies on scratch volume 700; 51 and 52 share one identity.
    void SetUp() override
    {
        ReplicaPostTest::SetUp();
        exec("INSERT INTO YBPhysicalVolume VALUES "
             "(50, 'uid-50', 1, 0, 0, 100, 512, 0, '', '', 0, 0, 0, 1), "
             "(52, 'uid-twin', 1, 0, 0, 100, 512, 0, '', '', 0, 0, 0, 1), "
             "(51, 'uid-twin', 1, 0, 0, 100, 512, 0, '', '', 0, 0, 0, 1)");
        exec(InsertScratch({700, 50, 9, 0, 0}));
    }

    static repSNRVolumeV3 Volume(const char* uniqueId)
    {
        repSNRVolumeV3 v;
        v.UniqueId = const_cast<char*>(uniqueId);
        v.UniqueIdType = 1;
        v.BlockCount = 100;
        v.BlockSize = 512;
        v.FSType = const_cast<char*>("ntfs");
        v.ApplianceId = 3;
        return v;
    }
    ReplicaAnswer create(const repSNRVolumeV3& volume, int primary, int64_t jobId = 0, int snapActive = 0,
                         int activate = 0)
    {
        repCreatePermanentReplicaV3Req req;
        req.SNRVolume = volume;
        req.PrimaryVolumeId = primary;
        req.JobId = jobId;
        req.IsSnapActive = snapActive;
        req.ActivateSnap = activate;
        return send(0x35000117, &req, sizeof(repCreatePermanentReplicaV3Resp), &DecodeCreated);
    }
    std::string dumpAll() { return dump() + DumpTable(m_path, "YBPhysicalVolume"); }
    long long count(const std::string& table, const std::string& where)
    {
        return scalar("SELECT COUNT(*) FROM " + table + " WHERE " + where);
    }
};

TEST_F(PermanentReplicaTest, AnUnknownVolumeIsRegisteredFirstAndAKnownOneIsReused)
{
    const ReplicaAnswer first = create(Volume("uid-new"), 30, (int64_t{4} << 32) | 77, 1, 1);
    expectSuccess(first);
    const int physical = static_cast<int>(first.count);
    EXPECT_GT(physical, 52);
    EXPECT_EQ(count("YBPhysicalVolume", "id = " + std::to_string(physical) +
                                            " AND UniqueId = 'uid-new' AND FSType = 'ntfs' AND ApplianceId = 3"),
              1);
    const std::vector<YBVolume_t> rows = stored();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].id, first.id);
    EXPECT_EQ(rows[0].CurrentRole, 4);
    EXPECT_EQ(rows[0].PrimaryVolumeId, 30);
    EXPECT_EQ(rows[0].PhysicalVolumeId, physical);
    EXPECT_EQ(rows[0].JobId, 77);  // the low half of the job id
    EXPECT_EQ(rows[0].Flags, 0x6);
    EXPECT_EQ(rows[0].RVScratchVolumeId, 0);
    EXPECT_EQ(LogEntriesWith("\tPermanent YB Volume " + std::to_string(first.id) + " was added successfully...")
                  .size(),
              1u);

    // The same identity again: no second SNR volume, a second replica.
    const ReplicaAnswer second = create(Volume("uid-new"), 30, 0, 2, 0);
    expectSuccess(second);
    EXPECT_EQ(static_cast<int>(second.count), physical);
    EXPECT_EQ(count("YBPhysicalVolume", "UniqueId = 'uid-new'"), 1);
    EXPECT_EQ(stored().back().Flags, 0);  // a flag is set only by 1

    // Of two volumes with one identity the lower id holds the replica.
    EXPECT_EQ(create(Volume("uid-twin"), 31).count, 51u);
}

TEST_F(PermanentReplicaTest, AStoredVolumeIsUsedWhateverTheLengthOfTheRequestsOtherTexts)
{
    // The stored volume of the identity is used and the request's texts are
    // never written: one too long for its column does not matter.
    const std::string longText(300, 'f');
    repSNRVolumeV3 known = Volume("uid-twin");
    known.FSType = const_cast<char*>(longText.c_str());
    const ReplicaAnswer a = create(known, 31);
    expectSuccess(a);
    EXPECT_EQ(a.count, 51u);
    EXPECT_EQ(count("YBPhysicalVolume", "id = 51 AND FSType = ''"), 1);

    // A volume to register is refused with the same text.
    repSNRVolumeV3 unknown = Volume("uid-new");
    unknown.FSType = const_cast<char*>(longText.c_str());
    const ReplicaAnswer refused = create(unknown, 31);
    EXPECT_EQ(refused.status, 0u);
    EXPECT_EQ(refused.errCode, -18);
    EXPECT_EQ(count("YBPhysicalVolume", "UniqueId = 'uid-new'"), 0);
}

TEST_F(PermanentReplicaTest, AQuoteInTheIdentityIsStoredAndFoundAgain)
{
    const ReplicaAnswer first = create(Volume("uid'quoted"), 32);
    expectSuccess(first);
    const ReplicaAnswer second = create(Volume("uid'quoted"), 32);
    expectSuccess(second);
    EXPECT_EQ(second.count, first.count);
    EXPECT_EQ(count("YBPhysicalVolume", "UniqueId = 'uid''quoted'"), 1);
}

TEST_F(PermanentReplicaTest, VersionOneWritesNoJobNorFlags)
{
    repCreatePermanentReplicaReq req;
    req.SNRVolume.UniqueId = const_cast<char*>("uid-v1");
    req.SNRVolume.BlockCount = 10;
    req.PrimaryVolumeId = 33;
    const ReplicaAnswer a = send(0x3500005f, &req, sizeof(repCreatePermanentReplicaResp), &DecodeCreatedV1);
    EXPECT_EQ(a.status, 1u);
    EXPECT_GT(a.id, 0);
    EXPECT_EQ(stored().at(0).JobId, 0);
    EXPECT_EQ(stored().at(0).Flags, 0);
}

TEST_F(PermanentReplicaTest, RefusalsAndFailuresAtEachStepChangeNothing)
{
    const std::string before = dumpAll();
    expectFailure(create(Volume(""), 30), -2, "UniquedId field cannot be empty");
    const std::string tooLong(300, 'u');
    const ReplicaAnswer longId = create(Volume(tooLong.c_str()), 30);
    EXPECT_EQ(longId.status, 0u);
    EXPECT_EQ(longId.errCode, -18);
    expectFailure(create(Volume("uid-50"), 30), -4,
                  "Cannot create permanent YB if physical volume belongs to an scratch volume");
    EXPECT_EQ(dumpAll(), before);

    struct Step {
        const char* call;
        int skip;
        const char* uniqueId;
        int code;
        const char* text;
    };
    const Step steps[] = {
        {"startTran", 0, "uid-new", -7, "Could not initiated database transactions"},
        {"getList", 0, "uid-new", -4, "Cannot access volume information"},
        {"insert", 0, "uid-new", -4, "Cannot add new volume information in the database for the YB volume"},
        {"insert", 1, "uid-new", -4, "Could not add new permanent YB to the database"},
        {"getList", 1, "uid-twin", -4, "Cannot access scratch volume information from the database"},
        {"insert", 0, "uid-twin", -4, "Could not add new permanent YB to the database"},
        {"commitTran", 0, "uid-new", -4, nullptr},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(std::string(s.call) + " after " + std::to_string(s.skip));
        HostDBFaults::failNext(s.call, 5, s.skip);
        const ReplicaAnswer a = create(Volume(s.uniqueId), 30);
        EXPECT_EQ(a.status, 0u);
        EXPECT_EQ(a.errCode, s.code);
        EXPECT_EQ(a.id, 0);
        EXPECT_EQ(a.count, 0u);
        if (s.text != nullptr) {
            EXPECT_EQ(a.msg, s.text);
        }
        EXPECT_EQ(dumpAll(), before);
        HostDBFaults::clear();
    }
}

// ---- Query ---------------------------------------------------------------------------

class PermanentReplicaQueryTest : public ReplicaPostTest {
protected:
    // Primary 40: permanent replicas 901 and 900 (the lower id answers), a
    // snapshot 902. Primary 41: a snapshot only.
    void SetUp() override
    {
        ReplicaPostTest::SetUp();
        const Replica volumes[] = {
            {901, 1, 2, 3, 4, 4, 40, 61, 8, 0, 0, 9, 0, 0, "", ""},
            {900, 5, 6, 7, 1, 4, 40, 60, 8, 0, 0x3f, -3, 62, 0, "", ""},
            {902, 1, 1, 9, 0, 2, 40, 63, 8, 0, 0, 9, 0, 0, "", ""},
            {903, 1, 1, 9, 0, 2, 41, 63, 8, 0, 0, 9, 0, 0, "", ""},
        };
        for (const Replica& v : volumes) exec(InsertReplica(v));
    }
    ReplicaAnswer query(unsigned long code, int primary)
    {
        repQueryPermanentReplicaReq req{primary};
        switch (code) {
            case 0x35000061: return ask<repQueryPermanentReplicaResp>(code, req);
            case 0x3500008d: return ask<repQueryPermanentReplica42Resp>(code, req);
            default: return ask<repQueryPermanentReplicaV3Resp>(code, req);
        }
    }
};

TEST_F(PermanentReplicaQueryTest, EachVersionAnswersTheLowestIdWithItsFields)
{
    const ReplicaAnswer v3 = query(0x350000e1, 40);
    expectSuccess(v3);
    ASSERT_EQ(v3.volumes.size(), 1u);
    const ReplicationVolumeV5Record_t& r = v3.volumes[0];
    EXPECT_EQ(r.id, 900);
    EXPECT_EQ(r.PointInTime, 5);
    EXPECT_EQ(r.CreationTime, 6);
    EXPECT_EQ(r.ModifyTime, 7);
    EXPECT_EQ(r.CurrentState, 1);
    EXPECT_EQ(r.CurrentRole, 4);
    EXPECT_EQ(r.PhysicalVolumeId, 60);
    EXPECT_EQ(r.SnapVolumeId, 62);
    EXPECT_TRUE(r.DoNotPrune && r.IsSnapActive && r.ActivateSnap && r.MorvaneVolume);
    // Bits 0x10 and 0x20 are stored but never answered.
    EXPECT_FALSE(r.ShadowSnap);
    EXPECT_FALSE(r.TransportableSnap);
    EXPECT_EQ(v3.wireJobIds.at(0), -3);

    const ReplicaAnswer v1 = query(0x35000061, 40);
    EXPECT_EQ(v1.status, 1u);
    EXPECT_EQ(v1.volumes.at(0).id, 900);
    EXPECT_EQ(query(0x3500008d, 40).wireJobIds.at(0), -3);
}

TEST_F(PermanentReplicaQueryTest, RefusalsAndAFailedRead)
{
    expectFailure(query(0x350000e1, 0), -6, "Invalid Primary volume id for permanent YB");
    expectFailure(query(0x35000061, -1), 0, "Invalid Primary volume id for permanent YB");
    expectFailure(query(0x350000e1, 41), -3, "No record found");
    expectFailure(query(0x3500008d, 41), 0, "No record found");
    HostDBFaults::failNext("getList", 5);
    expectFailure(query(0x350000e1, 40), -4, "Cannot access YB Volume information from the database");
    HostDBFaults::clear();
}

// ---- Created, then found as the latest replica ---------------------------------------

ReplicaAnswer DecodeLatestId(const void* data)
{
    const auto* r = static_cast<const repGetLatestSnapForSNRVolV4Resp*>(data);
    ReplicaAnswer a;
    a.status = r->status;
    a.id = r->SNRVolume.id;
    return a;
}

TEST_F(PermanentReplicaTest, ACreatedReplicaIsTheLatestBeforeANewerSnapshot)
{
    exec(InsertReplica({800, 1, 1, 5000, 0, 2, 30, 52, 8, 0, 0, 0, 0, 0, "", ""}));
    const ReplicaAnswer created = create(Volume("uid-new"), 30);
    expectSuccess(created);
    repGetLatestSnapForSNRVolV4Req req{30, 0, 0};
    const ReplicaAnswer latest = send(0x3500015d, &req, sizeof(repGetLatestSnapForSNRVolV4Resp), &DecodeLatestId);
    EXPECT_EQ(latest.status, 1u);
    EXPECT_EQ(latest.id, static_cast<int>(created.count));
    req.IgnorePermReplica = 1;
    EXPECT_EQ(send(0x3500015d, &req, sizeof(repGetLatestSnapForSNRVolV4Resp), &DecodeLatestId).id, 52);
}

// ---- Deletion ------------------------------------------------------------------------

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

TEST_F(PermanentReplicaDeletionTest, ACreatedReplicaIsTheLatestUntilItIsDeletedWithItsVolume)
{
    repCreatePermanentReplicaV3Req req = PermanentReplicaRequest("uid-created", 40);
    exec(InsertReplica({960, 1, 1, 9000, 0, 2, 40, 52, 0, 0, 0, 0, 0, 0, "", ""}));
    const ReplicaAnswer created = send(0x35000117, &req, sizeof(repCreatePermanentReplicaV3Resp), &DecodeCreated);
    expectSuccess(created);
    const int physical = static_cast<int>(created.count);

    // Preferred to the snapshot modified later.
    repGetLatestSnapForSNRVolV4Req latestReq{40, 0, 0};
    ReplicaAnswer latest = send(0x3500015d, &latestReq, sizeof(repGetLatestSnapForSNRVolV4Resp), &DecodeLatestId);
    EXPECT_EQ(latest.status, 1u);
    EXPECT_EQ(latest.id, physical);

    expectSuccess(deleteReplica(40));
    EXPECT_EQ(count("YBVolume", "id = " + std::to_string(created.id)), 0);
    EXPECT_EQ(count("YBPhysicalVolume", "id = " + std::to_string(physical)), 0);
    EXPECT_EQ(LogEntriesWith("\tDeleting Physical volume id " + std::to_string(physical)).size(), 1u);
    latest = send(0x3500015d, &latestReq, sizeof(repGetLatestSnapForSNRVolV4Resp), &DecodeLatestId);
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
    EXPECT_EQ(count("YBVolSnapParams", "SNRVolumeId = 53"), 1);
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
// turn: nothing changes. The scratch volume holds no snapshot: no host is
// asked, and no release is reported as having reached one.
TEST_F(PermanentReplicaDeletionTest, AFailureAtAnyStepChangesNothing)
{
    ClientFakesScope fakes;
    const std::string before = everything();
    const char* reported = "\tEvent: The release of RV scratch volume 700 was rolled back";
    const int failures = failEachStep({"getList", "getInfo", "getNRows", "remove", "Update", "fetch", "commitTran"}, 6,
                                      [&]() { return deleteReplica(30); },
                                      [&](const ReplicaAnswer& a) {
                                          EXPECT_FALSE(a.msg.empty());
                                          EXPECT_EQ(everything(), before);
                                      });
    EXPECT_GE(failures, 20);
    EXPECT_TRUE(fakes.fakes().calls("DeleteAllSnapsFromVolume").empty());
    EXPECT_TRUE(LogEntriesWith(reported).empty());
}

// The SNR volume a deleted permanent replica lay on stays while a device, a
// scratch volume or a replication volume other than its own first permanent
// replica names it, and its permanent replicas, its snap parameters and its
// stored files stay with it; otherwise it goes with its first permanent
// replica, its snap parameters and stored files.
TEST_F(PermanentReplicaDeletionTest, TheReplicasVolumeStaysWhileAnythingNamesIt)
{
    exec("INSERT INTO YBPhysicalVolume (id, UniqueId, Flags, Type) VALUES (54, 'uid-54', 0, 1), (55, 'uid-55', 0, 1)");
    exec("INSERT INTO YBFile (VolumeId, Name, Content) VALUES (54, 'f54', 'x')");
    exec("INSERT INTO YBVolSnapParams (SNRVolumeId, SnapEngineId) VALUES (54, 1)");
    struct Namer {
        const char* rows;
        const char* text;
    };
    const Namer namers[] = {
        {"INSERT INTO YBScratchVolume (id, PhysicalVolumeId, RVScratchVolumePoolId) VALUES (701, 54, 9)",
         "Can not delete volume: still referenced by YB Volume or Scratch Volume in the database"},
        {"INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (800, 2, 54, 'dev-800');"
         "INSERT INTO YBMountPoint (id, DeviceNameId, Path) VALUES (1, 800, '/mnt/q')",
         "Can not delete volume: still referenced by SNR devices in the database"},
        {"INSERT INTO YBVolume (id, CurrentRole, PrimaryVolumeId, PhysicalVolumeId) VALUES (972, 2, 54, 52)",
         "Can not delete volume: Still referenced by YB Volumes in the database"},
        {"INSERT INTO YBVolume (id, CurrentRole, PrimaryVolumeId, PhysicalVolumeId, SnapVolumeId) "
         "VALUES (972, 2, 33, 52, 54)",
         "Can not delete volume: Still referenced by YB Volumes in the database"},
        // A second permanent replica of 54: its deletion would take the
        // first alone.
        {"INSERT INTO YBVolume (id, CurrentRole, PrimaryVolumeId, PhysicalVolumeId) VALUES (972, 4, 54, 52)",
         "Can not delete volume: Still referenced by YB Volumes in the database"},
    };
    for (const Namer& namer : namers) {
        SCOPED_TRACE(namer.rows);
        exec(InsertReplica({970, 1, 1, 1, 0, 4, 40, 54, 0, 0, 0, 0, 0, 0, "", ""}));
        exec(InsertReplica({971, 1, 1, 1, 0, 4, 54, 55, 0, 0, 0, 0, 0, 0, "", ""}));
        exec(namer.rows);
        const size_t warnings = LogEntriesWith(namer.text).size();
        expectSuccess(deleteReplica(40));
        EXPECT_EQ(count("YBVolume", "id = 970"), 0);
        EXPECT_EQ(count("YBPhysicalVolume", "id IN (54, 55)"), 2);
        EXPECT_EQ(count("YBVolume", "id = 971"), 1);
        EXPECT_EQ(count("YBFile", "VolumeId = 54"), 1);
        EXPECT_EQ(count("YBVolSnapParams", "SNRVolumeId = 54"), 1);
        EXPECT_EQ(LogEntriesWith(namer.text).size(), warnings + 1);
        exec("DELETE FROM YBScratchVolume WHERE id = 701; DELETE FROM YBPhysicalDevice; DELETE FROM YBMountPoint;"
             "DELETE FROM YBVolume WHERE id IN (971, 972)");
    }

    // Named by nothing, the volume goes with its files, and so does the
    // volume of its own permanent replica.
    exec(InsertReplica({970, 1, 1, 1, 0, 4, 40, 54, 0, 0, 0, 0, 0, 0, "", ""}));
    exec(InsertReplica({971, 1, 1, 1, 0, 4, 54, 55, 0, 0, 0, 0, 0, 0, "", ""}));
    expectSuccess(deleteReplica(40));
    EXPECT_EQ(count("YBVolume", "id IN (970, 971)"), 0);
    EXPECT_EQ(count("YBPhysicalVolume", "id IN (54, 55)"), 0);
    EXPECT_EQ(count("YBFile", "VolumeId = 54"), 0);
    EXPECT_EQ(count("YBVolSnapParams", "SNRVolumeId = 54"), 0);
}

}  // namespace

