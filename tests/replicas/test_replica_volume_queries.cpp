// The replication volume queries through post on a seeded catalogue: by id,
// the list of all volumes, by job, by unique snapshot id and by subclient, in
// their message versions, with their refusals and failures.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "replicas/ReplicaPostFixture.h"
#include "replicas/ReplicaVolumeQueries.h"

namespace {

// SNR volumes 10, 11 and 13 carry snapshot ids ending in "abc-1"; 13 holds
// no replication volume. Volumes 500 and 501 lie on 10 (501 the newer),
// 502 on 11, 503 on 12. Jobs: 500 and 501 job 7, 502 job 8. Subclient 60
// links 502 and 500. A row with id 0 is never listed.
const std::vector<Replica> kSeeded = {
    {502, 3, 300, 301, 1, 1, 20, 11, 8, 0, 0x1, 8, 0, 0, "", "guid-502"},
    {500, 1, 100, 101, 1, 1, 20, 10, 8, 0, 0x3f, 7, 40, 5, "dir-500", ""},
    {501, 2, 200, 201, 1, 2, 20, 10, 8, 0, 0x2, 7, 41, 5, "", ""},
    {503, 4, 400, 401, 1, 5, 21, 12, 8, 0, 0, 9, 42, 5, "", ""},
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "", ""},
};

const Replica& Seeded(int id)
{
    for (const Replica& r : kSeeded)
        if (r.id == id) return r;
    return kSeeded.back();
}

class ReplicaQueryTest : public ReplicaPostTest {
protected:
    void SetUp() override
    {
        ReplicaPostTest::SetUp();
        exec("INSERT INTO YBPhysicalVolume (id, UniqueSnapshotID) VALUES (10, 'set-1\\abc-1'), (11, 'abc-1'), "
             "(12, 'abc-2'), (13, 'zzabc-1'), (14, 'abc-1-not')");
        for (const Replica& r : kSeeded) exec(InsertReplica(r));
        exec("INSERT INTO YBSubclientYBVolumes (Scid, YBVolumeId) VALUES (60, 502), (60, 500), (61, 0)");
    }

    // The ids of an answer's records, in order.
    static std::vector<int> Ids(const ReplicaAnswer& a)
    {
        std::vector<int> ids;
        for (const auto& v : a.volumes) ids.push_back(v.id);
        return ids;
    }
    ReplicaAnswer byUniqueId(unsigned long code, const char* id)
    {
        repQueryYBVolByUniqueSnapshotIdReq req{const_cast<char*>(id)};
        if (code == 0x35000141) return ask<repQueryYBVolByUniqueSnapshotIdResp>(code, req);
        if (code == 0x35000197) return ask<repQueryYBVolByUniqueSnapshotIdV2Resp>(code, req);
        return ask<repQueryYBVolByUniqueSnapshotIdV3Resp>(code, req);
    }
    ReplicaAnswer bySubclient(int id)
    {
        return ask<repGetYBVolumesBySubclientIdResp>(0x350001d3, repGetYBVolumesBySubclientIdReq{id});
    }
};

TEST_F(ReplicaQueryTest, OneVolumeByIdInEachVersion)
{
    const ReplicaAnswer v1 = ask<repQueryReplicationVolumeByIdResp>(0x35000049, repQueryReplicationVolumeByIdReq{500});
    expectSuccess(v1);
    ExpectReplica(static_cast<const ReplicationVolumeRecord_t&>(v1.volumes.at(0)), Seeded(500));
    const ReplicaAnswer v42 = ask<repQueryReplicationVol42ByIdResp>(0x35000089, repQueryReplicationVolumeByIdReq{500});
    ExpectReplica(static_cast<const ReplicationVolumeRecord42_t&>(v42.volumes.at(0)), Seeded(500));
    const ReplicaAnswer v3 = ask<repQueryReplicationVolV3ByIdResp>(0x350000df, repQueryReplicationVolumeByIdReq{500});
    ExpectReplica(static_cast<const ReplicationVolumeV3Record_t&>(v3.volumes.at(0)), Seeded(500));
    const ReplicaAnswer v4 = ask<repQueryReplicationVolV4ByIdResp>(0x3500018f, repQueryReplicationVolumeByIdReq{500});
    ExpectReplica(static_cast<const ReplicationVolumeV4Record_t&>(v4.volumes.at(0)), Seeded(500));
    const ReplicaAnswer v5 = ask<repQueryReplicationVolV5ByIdResp>(0x350001b9, repQueryReplicationVolumeByIdReq{502});
    expectSuccess(v5);
    ExpectReplica(v5.volumes.at(0), Seeded(502));

    // Refused before the catalogue is read; a missing id is -3, a failed read -4.
    for (int id : {0, -1}) {
        expectFailure(ask<repQueryReplicationVolumeByIdResp>(0x35000049, repQueryReplicationVolumeByIdReq{id}), 0,
                      "Invalid YB Volume identifier");
        expectFailure(ask<repQueryReplicationVolV3ByIdResp>(0x350000df, repQueryReplicationVolumeByIdReq{id}), -6,
                      "Invalid YB Volume identifier");
    }
    expectFailure(ask<repQueryReplicationVolV5ByIdResp>(0x350001b9, repQueryReplicationVolumeByIdReq{999}), -3,
                  "Record not found");
    HostDBFaults::failNext("getInfo", 5);
    expectFailure(ask<repQueryReplicationVolV4ByIdResp>(0x3500018f, repQueryReplicationVolumeByIdReq{500}), -4,
                  "Cannot access YB Volume information from the database");
}

TEST_F(ReplicaQueryTest, TheListHoldsEveryVolumeAboveIdZeroInIdOrder)
{
    const std::vector<int> all{500, 501, 502, 503};
    const ReplicaAnswer v1 = askWithout<repGetReplicationVolumeListResp>(0x35000055);
    expectSuccess(v1);
    EXPECT_EQ(Ids(v1), all);
    EXPECT_EQ(Ids(askWithout<repGetReplicationVolumeList42Resp>(0x35000091)), all);
    EXPECT_EQ(Ids(askWithout<repGetReplicationVolumeListV3Resp>(0x350000e3)), all);
    EXPECT_EQ(Ids(askWithout<repGetReplicationVolumeListV4Resp>(0x35000193)), all);
    const ReplicaAnswer v5 = askWithout<repGetReplicationVolumeListV5Resp>(0x350001bd);
    ASSERT_EQ(Ids(v5), all);
    for (const auto& v : v5.volumes) ExpectReplica(v, Seeded(v.id));

    // The forms other operations call directly.
    GetReplicationVolumeListRet_t direct1;
    EXPECT_TRUE(mgr.GetReplicationVolumeList(direct1));
    EXPECT_EQ(direct1.volumes.size(), 4u);
    GetReplicationVolumeListV4Ret_t direct4;
    EXPECT_TRUE(mgr.GetReplicationVolumeList(direct4));
    ASSERT_EQ(direct4.volumes.size(), 4u);
    ExpectReplica(direct4.volumes[0], Seeded(500));

    HostDBFaults::failNext("fetch", 5, 1);
    expectFailure(askWithout<repGetReplicationVolumeListV3Resp>(0x350000e3), -4,
                  "Cannot get the list of YB volumes from the database");
    AllocReplyArray = [](size_t) -> void* { return nullptr; };
    expectFailure(askWithout<repGetReplicationVolumeListResp>(0x35000055), 0, NoMemoryErrMsg);
    expectFailure(askWithout<repGetReplicationVolumeListV5Resp>(0x350001bd), -5, NoMemoryErrMsg);
    AllocReplyArray = &malloc;

    exec("DELETE FROM YBVolume");
    const ReplicaAnswer none = askWithout<repGetReplicationVolumeListV5Resp>(0x350001bd);
    expectSuccess(none);
    EXPECT_EQ(none.count, 0u);
    EXPECT_TRUE(none.arrayNull);
}

TEST_F(ReplicaQueryTest, TheVolumesOfAJobAreFoundByTheLowHalfOfItsId)
{
    // Version 1 carries version-42 records with the 64-bit JobId.
    const ReplicaAnswer v1 = ask<repQueryReplicaVolumeByJobIdResp>(0x35000087, repQueryReplicaVolumeByJobIdReq{7});
    expectSuccess(v1);
    EXPECT_EQ(Ids(v1), (std::vector<int>{500, 501}));
    EXPECT_EQ(v1.wireJobIds, (std::vector<int64_t>{7, 7}));
    // Another job of the same low half shares the rows.
    const int64_t high = (int64_t(1) << 32) + 7;
    const ReplicaAnswer v4 =
        ask<repQueryReplicaVolumeV4ByJobIdResp>(0x350001c5, repQueryReplicaVolumeByJobIdReq{high});
    expectSuccess(v4);
    ASSERT_EQ(Ids(v4), (std::vector<int>{500, 501}));
    ExpectReplica(v4.volumes[0], Seeded(500));
    EXPECT_EQ(Ids(ask<repQueryReplicaVolumeV2ByJobIdResp>(0x350000dd, repQueryReplicaVolumeByJobIdReq{8})),
              (std::vector<int>{502}));
    const ReplicaAnswer none = ask<repQueryReplicaVolumeV3ByJobIdResp>(0x3500018d, repQueryReplicaVolumeByJobIdReq{99});
    expectSuccess(none);
    EXPECT_TRUE(none.arrayNull);

    QueryReplicationVolumeByJobIdV4Args_t args;
    args.jobId = 8;
    QueryReplicationVolumeByJobIdV4Ret_t direct;
    EXPECT_TRUE(mgr.QueryReplicationVolumeByJobId(args, direct, nullptr));
    ASSERT_EQ(direct.volumes.size(), 1u);
    EXPECT_EQ(direct.volumes[0].SourceGUID, "guid-502");

    expectFailure(ask<repQueryReplicaVolumeByJobIdResp>(0x35000087, repQueryReplicaVolumeByJobIdReq{0}), 0,
                  "Invalid Job identifier");
    expectFailure(ask<repQueryReplicaVolumeV2ByJobIdResp>(0x350000dd, repQueryReplicaVolumeByJobIdReq{-3}), -6,
                  "Invalid Job identifier");
    HostDBFaults::failNext("getList", 5);
    expectFailure(ask<repQueryReplicaVolumeV3ByJobIdResp>(0x3500018d, repQueryReplicaVolumeByJobIdReq{7}), -4,
                  "Cannot get the list of YB volumes from the database");
    AllocReplyArray = [](size_t) -> void* { return nullptr; };
    expectFailure(ask<repQueryReplicaVolumeByJobIdResp>(0x35000087, repQueryReplicaVolumeByJobIdReq{7}), 0,
                  NoMemoryErrMsg);
}

TEST_F(ReplicaQueryTest, AUniqueSnapshotIdGathersTheReplicasOnEverySNRVolumeEndingInIt)
{
    // Volume 10's replicas newest first, then 11's; 13 adds none.
    for (unsigned long code : {0x35000141ul, 0x35000197ul, 0x350001c7ul}) {
        SCOPED_TRACE(code);
        const ReplicaAnswer a = byUniqueId(code, "abc-1");
        expectSuccess(a);
        EXPECT_EQ(a.count, 3u);
        EXPECT_EQ(Ids(a), (std::vector<int>{501, 500, 502}));
    }
    const ReplicaAnswer v3 = byUniqueId(0x350001c7, "abc-1");
    for (const auto& v : v3.volumes) ExpectReplica(v, Seeded(v.id));
    EXPECT_EQ(Ids(byUniqueId(0x35000141, "2")), (std::vector<int>{503}));

    expectFailure(byUniqueId(0x35000141, nullptr), -2, "Unique Snapshot ID is missing");
    expectFailure(byUniqueId(0x35000197, "none"), -3, "UniqueSnapshotID not found in the database");
    // A quote in the id is matched as a character.
    expectFailure(byUniqueId(0x350001c7, "abc'-1"), -3, "UniqueSnapshotID not found in the database");
    HostDBFaults::failNext("getList", 5);
    expectFailure(byUniqueId(0x350001c7, "abc-1"), -4, "Could not check volume information");
    // The SNR volume query of the second volume fails: its text and code, no list.
    HostDBFaults::failNext("getInfo", 5, 1);
    expectFailure(byUniqueId(0x350001c7, "abc-1"), -4, "Could not get volume information from the database");
    AllocReplyArray = [](size_t) -> void* { return nullptr; };
    expectFailure(byUniqueId(0x35000141, "abc-1"), -5, NoMemoryErrMsg);
}

TEST_F(ReplicaQueryTest, AUniqueSnapshotIdMatchesOnlyItselfAsTheEnd)
{
    // Volume 15's id holds the pattern characters themselves.
    exec("INSERT INTO YBPhysicalVolume (id, UniqueSnapshotID) VALUES (15, 'snap%_x\\y')");
    for (unsigned long code : {0x35000141ul, 0x35000197ul, 0x350001c7ul}) {
        SCOPED_TRACE(code);
        // No id ends in "%" or "_-1": neither stands for other characters.
        expectFailure(byUniqueId(code, "%"), -3, "UniqueSnapshotID not found in the database");
        expectFailure(byUniqueId(code, "_-1"), -3, "UniqueSnapshotID not found in the database");
        // The escape character is a character too: only volume 10 ends in "\abc-1".
        EXPECT_EQ(Ids(byUniqueId(code, "\\abc-1")), (std::vector<int>{501, 500}));
        EvDebug::clearEntries();
        expectSuccess(byUniqueId(code, "%_x\\y"));
        const auto found = LogEntriesWith("\tFound Volume ID ");
        ASSERT_EQ(found.size(), 1u);
        EXPECT_NE(found[0].find("\tFound Volume ID 15 for UniqueSnapshotID: %_x\\y"), std::string::npos);
    }
}

TEST_F(ReplicaQueryTest, TheVolumesOfASubclientComeInIdOrderBeforeTheStatus)
{
    const ReplicaAnswer a = bySubclient(60);
    expectSuccess(a);
    EXPECT_EQ(a.count, 2u);
    ASSERT_EQ(Ids(a), (std::vector<int>{500, 502}));
    ExpectReplica(a.volumes[0], Seeded(500));
    ExpectReplica(a.volumes[1], Seeded(502));
    EXPECT_EQ(LogEntriesWith("\tMessage REPLICA_PM_GetYBVolumesBySCID_REQ completed successfully"
                             "\n\tSending reply REPLICA_PM_GetYBVolumesBySCID_RESP to client...")
                  .size(),
              1u);

    const ReplicaAnswer none = bySubclient(62);
    expectSuccess(none);
    EXPECT_EQ(none.count, 0u);
    EXPECT_TRUE(none.arrayNull);

    expectFailure(bySubclient(0), -6, "Cannot get YB Volumes with an invalid subclient id");
    HostDBFaults::failNext("fetch", 5);
    expectFailure(bySubclient(60), -4, "Could not get YB Volumes information from the database");
    AllocReplyArray = [](size_t) -> void* { return nullptr; };
    expectFailure(bySubclient(60), -5, NoMemoryErrMsg);
}

}  // namespace
