#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "host/db/DBtable.h"
#include "host/db/ReplicaTables.h"
#include "service/CasePatterns.h"
#include "snr/SNRVolumeReplicas.h"
#include "snr/VolumeQueryFixture.h"
#include "support/TestHost.h"

namespace {

using namespace volume_seed;

using Versions = ::testing::Types<
    Version<repQuerySNRVolume2ByIdReq, repQuerySNRVolume2ByIdResp, QuerySNRVolume2ByIdArgs_t,
            QuerySNRVolume2ByIdRet_t, 0x3500006f, 1>,
    Version<repQuerySNRVolume2ById42Req, repQuerySNRVolume2ById42Resp, QuerySNRVolume2ById42Args_t,
            QuerySNRVolume2ById42Ret_t, 0x3500009b, 42>,
    Version<repQuerySNRVolume2ByIdV3Req, repQuerySNRVolume2ByIdV3Resp, QuerySNRVolume2ByIdV3Args_t,
            QuerySNRVolume2ByIdV3Ret_t, 0x350000ed, 3>,
    Version<repQuerySNRVolume2ByIdV4Req, repQuerySNRVolume2ByIdV4Resp, QuerySNRVolume2ByIdV4Args_t,
            QuerySNRVolume2ByIdV4Ret_t, 0x35000163, 4>,
    Version<repQuerySNRVolume2ByIdV5Req, repQuerySNRVolume2ByIdV5Resp, QuerySNRVolume2ByIdV5Args_t,
            QuerySNRVolume2ByIdV5Ret_t, 0x350001c3, 5>>;

template <typename Ret>
struct Answer : StatusAnswer {
    bool zero = false;  // every byte after the status fields is 0
    typename Ret::VolumeRecord volume;
    typename Ret::ScratchRecord scratchVolume;
    bool scratchAbsent = false;  // every field of the wire record -1
    uint32_t count = 99;
    bool arrayNull = false;
    std::vector<typename Ret::ReplicaRecord> replicas;
};

template <typename Reply, typename Ret>
Answer<Ret> Decode(const void* data)
{
    const auto* r = static_cast<const Reply*>(data);
    Answer<Ret> a;
    a.readStatus(*r);
    const char* bytes = static_cast<const char*>(data);
    const size_t from = offsetof(Reply, volume);
    a.zero = std::all_of(bytes + from, bytes + sizeof(Reply), [](char c) { return c == 0; });
    a.volume = Read<typename Ret::VolumeRecord>(r->volume);
    a.scratchVolume = Read<typename Ret::ScratchRecord>(r->scratchVolume);
    const auto& s = r->scratchVolume;
    a.scratchAbsent = static_cast<int32_t>(s.id) == -1 && static_cast<int32_t>(s.PhysicalVolumeId) == -1 &&
                      static_cast<int32_t>(s.RVScratchVolumePoolId) == -1;
    if constexpr (std::is_same<decltype(r->scratchVolume), const repRVScratchVolumeV2>::value)
        a.scratchAbsent = a.scratchAbsent && s.LockedByJobId == -1;
    a.count = r->replicationVolumeCount;
    a.arrayNull = r->replicationVolumes == nullptr;
    a.replicas = ReadArray<typename Ret::ReplicaRecord>(r->replicationVolumes, r->replicationVolumeCount);
    return a;
}

int g_allocationsLeft = 0;
void* FailingAfter(size_t bytes) { return g_allocationsLeft-- > 0 ? malloc(bytes) : nullptr; }

template <typename V>
class SNRVolumeReplicasTest : public VolumeQueryTest<Answer<typename V::Ret>> {
protected:
    using A = Answer<typename V::Ret>;

    A decode(const void* data, unsigned long) override { return Decode<typename V::Reply, typename V::Ret>(data); }

    A query(int32_t volumeId, int32_t flags, int32_t creationTime = -1, int32_t role = 0)
    {
        typename V::Req req{};
        req.snrVolumeId = volumeId;
        req.flags = flags;
        req.creationTime = creationTime;
        req.role = role;
        return this->post(V::code, &req, sizeof(typename V::Reply));
    }

    void expectReplicas(const A& a, const std::vector<int>& ids)
    {
        ExpectSucceeded<V>(a);
        EXPECT_EQ(a.count, ids.size());
        EXPECT_EQ(a.arrayNull, ids.empty());
        ASSERT_EQ(a.replicas.size(), ids.size());
        for (size_t i = 0; i < ids.size(); ++i) ExpectReplica(a.replicas[i], ById(kReplicas, ids[i]));
    }

    // A failure: status 0, the text, the code from V3 on, nothing else.
    void expectFailure(const A& a, int code, const std::string& text)
    {
        ExpectFailed<V>(a, code, text);
        EXPECT_TRUE(a.zero);
    }
};
TYPED_TEST_SUITE(SNRVolumeReplicasTest, Versions);

TYPED_TEST(SNRVolumeReplicasTest, SelectionFlagsAloneAndCombinedChooseTheReplicasNewestFirst)
{
    struct Selection {
        int32_t volume, flags, creationTime, role;
        std::vector<int> replicas;
    };
    const std::vector<int> all = {504, 503, 501, 502, 500};
    const std::vector<Selection> selections = {
        {10, 0x0, -1, 0, {}},               // no replicas asked for
        {10, 0x1, -1, 0, {500}},            // lying on volume 10
        {10, 0x3, -1, 0, {500}},            // 0x1 wins over 0x2
        {10, 0x11, -1, 0, {500}},           // and over 0x10
        {10, 0x2, -1, 0, {501, 502}},       // copies of volume 10
        {10, 0x12, -1, 0, {501, 502}},      // 0x2 wins over 0x10
        {10, 0x10, -1, 0, {503, 501}},      // snapshots on volume 10
        {10, 0x4, 2500, 0, {502, 500}},     // created before 2500, any volume
        {10, 0x4, 0, 0, all},               // bound 0: no term at all
        {10, 0x8, -1, 2, {503, 501}},       // role 2, any volume
        {10, 0x40, -1, 0, all},             // a bit outside the table
        {10, 0x6, 2500, 0, {502}},          // copies of 10 created before 2500
        {10, 0xa, -1, 4, {502}},            // copies of 10 in role 4
        {10, 0x1c, 3500, 2, {501}},         // snapshots on 10, before 3500, role 2
        {11, 0x2, -1, 0, {503}},            // copies of volume 11
        {12, 0x1, -1, 0, {}},               // nothing lies on volume 12
    };
    for (const Selection& s : selections) {
        SCOPED_TRACE("volume " + std::to_string(s.volume) + ", flags " + std::to_string(s.flags));
        auto a = this->query(s.volume, s.flags, s.creationTime, s.role);
        ExpectVolume(a.volume, ById(kVolumes, s.volume));
        this->expectReplicas(a, s.replicas);
    }
    EXPECT_EQ(LogEntriesWith(Completion<TypeParam>("ReplicationMgr::QuerySNRVolume2Handler()", "successfully")).size(),
              selections.size());
}

TYPED_TEST(SNRVolumeReplicasTest, TheScratchVolumeIsTheLowestIdOrTheAbsentForm)
{
    auto a = this->query(10, 0);
    ExpectScratch(a.scratchVolume, ById(kScratch, 700));
    EXPECT_FALSE(a.scratchAbsent);

    a = this->query(11, 0);
    EXPECT_EQ(a.status, 1);
    EXPECT_TRUE(a.scratchAbsent);

    // Two scratch volumes on volume 11: the lower id, no error, a warning.
    this->exec(InsertScratch({711, 11, 9, 0, 0}));
    this->exec(InsertScratch({710, 11, 9, 0, -3}));
    a = this->query(11, 0);
    EXPECT_EQ(a.status, 1);
    ExpectScratch(a.scratchVolume, Scratch{710, 11, 9, 0, -3});
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::QuerySNRVolume2DB()\n\tEvent: More than one scratch volume lies on the "
                             "SNR volume; the one with the lowest id is reported\n\tParameters used:\n\tSNR Volume id "
                             "= 11\n\tFound    = 2\n\tReported = 710")
                  .size(),
              1u);
}

TYPED_TEST(SNRVolumeReplicasTest, FailuresAnswerTheirTextAndCodeAndNothingElse)
{
    this->expectFailure(this->query(-1, 0x1), -6, "Invalid Volume Id");
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::QuerySNRVolume2DB()\n\tEvent: Invalid Volume Id\n\tParameters used:"
                             "\n\tSNR Volume Id = -1")
                  .size(),
              1u);
    // Id 0 is read, and not found.
    this->expectFailure(this->query(0, 0x1), -3, "Record not found");
    EXPECT_EQ(LogEntriesWith("\tEvent: Record not found\n\tCSNRVolumeDB::getInfo() failed\n\tParameters used:"
                             "\n\tSNR Volume id = 0\n\tDB Err Code = 100")
                  .size(),
              1u);

    HostDBFaults::failNext("getInfo", 7);
    this->expectFailure(this->query(10, 0x1), -4, "Could not get volume information from the database");
    HostDBFaults::failNext("getInfo", 100);
    this->expectFailure(this->query(10, 0x1), -3, "Record not found");

    HostDBFaults::failNext("getList", 7);
    this->expectFailure(this->query(10, 0x6, 2500), -4, "Could not get YB volume information from the database");
    EXPECT_EQ(LogEntriesWith("\tEvent: Could not get YB volume information from the database\n\t"
                             "CReplicationVolumeDB::getList() failed\n\tParameters used:\n\tsWhere = PrimaryVolumeId = "
                             "10 AND CreationTime < 2500\n\tsOrderBy = CreationTime DESC")
                  .size(),
              1u);

    // With flags 0 the replicas are not listed: the first list read is the
    // scratch volumes'.
    HostDBFaults::failNext("getList", 7);
    this->expectFailure(this->query(10, 0), -4, "Could not get scratch volume information from the database");
    EXPECT_EQ(LogEntriesWith("\n\tCRVScratchVolumeDB::getList() failed\n\tParameters used:\n\tsWhere = "
                             "PhysicalVolumeId = 10\n\tsOrderBy = id ASC\n\tDB Err Code = 7")
                  .size(),
              1u);
    HostDBFaults::failNext("getList", 100, 1);
    this->expectFailure(this->query(10, 0x1), -3, "Record not found");

    AllocReplyArray = &FailingAfter;
    g_allocationsLeft = 0;
    this->expectFailure(this->query(10, 0x2), -5, "No memory available to perform operation");
    // An empty list needs no array.
    this->expectReplicas(this->query(12, 0x1), {});
}

// The V5 entry point reads in the caller's transaction; the others in none.
using V5 = Version<repQuerySNRVolume2ByIdV5Req, repQuerySNRVolume2ByIdV5Resp, QuerySNRVolume2ByIdV5Args_t,
                   QuerySNRVolume2ByIdV5Ret_t, 0x350001c3, 5>;
class SNRVolumeReplicasDirectTest : public SNRVolumeReplicasTest<V5> {};

TEST_F(SNRVolumeReplicasDirectTest, Version5ReadsInsideTheTransactionGiven)
{
    DBtran tran(false);
    ASSERT_EQ(tran.startTran(), 0);
    YBVolume_t row;
    row.CreationTime = 9000;
    row.CurrentRole = 2;
    row.PhysicalVolumeId = 11;
    CReplicationVolumeDB replicas;
    ASSERT_TRUE(replicas.insert(row, &tran));

    QuerySNRVolume2ByIdV5Args_t args;
    args.snrVolumeId = 11;
    args.flags = SNRVOL2_ON_VOLUME;
    QuerySNRVolume2ByIdV5Ret_t ret;
    ASSERT_TRUE(mgr.QuerySNRVolume2(args, ret, &tran));
    ASSERT_EQ(ret.replicationVolumes.size(), 1u);
    EXPECT_EQ(ret.replicationVolumes[0].id, row.id);
    EXPECT_EQ(ret.replicationVolumes[0].CreationTime, 9000);
    EXPECT_EQ(ret.scratchVolume.id, -1);
    ExpectVolume(ret.volume, ById(kVolumes, 11));
    ASSERT_EQ(tran.rollbackTran(), 0);

    ASSERT_TRUE(mgr.QuerySNRVolume2(args, ret, nullptr));
    EXPECT_TRUE(ret.replicationVolumes.empty());

    QuerySNRVolume2ByIdArgs_t v1;
    v1.snrVolumeId = 10;
    v1.flags = SNRVOL2_OF_PRIMARY | SNRVOL2_IN_ROLE;
    v1.role = 4;
    QuerySNRVolume2ByIdRet_t v1Ret;
    ASSERT_TRUE(mgr.QuerySNRVolume2(v1, v1Ret));
    ASSERT_EQ(v1Ret.replicationVolumes.size(), 1u);
    ExpectReplica(v1Ret.replicationVolumes[0], ById(kReplicas, 502));
    ExpectScratch(v1Ret.scratchVolume, ById(kScratch, 700));
    EXPECT_TRUE(answers.empty());
}

}  // namespace
