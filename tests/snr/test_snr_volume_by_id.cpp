#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "host/db/DBtable.h"
#include "host/db/ReplicaTables.h"
#include "service/CasePatterns.h"
#include "snr/SNRVolumeById.h"
#include "snr/VolumeQueryFixture.h"
#include "support/TestHost.h"

namespace {

using namespace volume_seed;

// V4 and V5 requests carry a source volume.
template <typename V>
constexpr bool kBySource = V::number == 4 || V::number == 5;

using V1 = Version<repQuerySNRVolByIdReq, repQuerySNRVolByIdResp, QuerySNRVolumeByIdArgs_t, QuerySNRVolumeByIdRet_t,
                   0x35000057, 1>;
using V42 = Version<repQuerySNRVolById42Req, repQuerySNRVolById42Resp, QuerySNRVolumeById42Args_t,
                    QuerySNRVolumeById42Ret_t, 0x35000099, 42>;
using V3 = Version<repQuerySNRVolByIdV3Req, repQuerySNRVolByIdV3Resp, QuerySNRVolumeByIdV3Args_t,
                   QuerySNRVolumeByIdV3Ret_t, 0x350000eb, 3>;
using V4 = Version<repQuerySNRVolByIdV4Req, repQuerySNRVolByIdV4Resp, QuerySNRVolumeByIdV4Args_t,
                   QuerySNRVolumeByIdV4Ret_t, 0x3500015f, 4>;
using V5 = Version<repQuerySNRVolByIdV5Req, repQuerySNRVolByIdV5Resp, QuerySNRVolumeByIdV5Args_t,
                   QuerySNRVolumeByIdV5Ret_t, 0x350001bf, 5>;

template <typename Ret>
struct Answer : StatusAnswer {
    bool recordsZero = false;  // the three records are all zero bytes
    typename Ret::VolumeRecord volume;
    typename Ret::ScratchRecord scratchVolume;
    typename Ret::ReplicaRecord replicationVolume;
    bool scratchAbsent = false;  // every field of the wire record -1
    bool replicaAbsent = false;  // the Invalidate form of the wire record
};

template <typename Wire>
bool AllBytesZero(const Wire& wire)
{
    static const char zeros[sizeof(Wire)] = {};
    return std::memcmp(&wire, zeros, sizeof wire) == 0;
}

template <typename Wire>
bool ScratchAbsent(const Wire& w)
{
    bool absent = static_cast<int32_t>(w.id) == -1 && static_cast<int32_t>(w.PhysicalVolumeId) == -1 &&
                  static_cast<int32_t>(w.RVScratchVolumePoolId) == -1;
    if constexpr (std::is_same<Wire, repRVScratchVolumeV2>::value) absent = absent && w.LockedByJobId == -1;
    return absent;
}

template <typename Wire>
bool ReplicaAbsent(const Wire& w)
{
    const int32_t leading[] = {w.id,           w.PointInTime,     w.CreationTime,     w.ModifyTime,
                               w.CurrentState, w.CurrentRole,     w.PrimaryVolumeId,  w.PhysicalVolumeId,
                               w.ReplicationPolicyId, w.RVScratchVolumeId};
    for (int32_t v : leading)
        if (v != -1) return false;
    Wire expected;
    Invalidate(expected);
    return std::memcmp(&w, &expected, sizeof w) == 0 && w.DoNotPrune == 0;
}

template <typename Reply, typename Ret>
Answer<Ret> Decode(const void* data)
{
    const auto* r = static_cast<const Reply*>(data);
    Answer<Ret> a;
    a.readStatus(*r);
    a.recordsZero = AllBytesZero(r->volume) && AllBytesZero(r->scratchVolume) && AllBytesZero(r->replicationVolume);
    a.volume = Read<typename Ret::VolumeRecord>(r->volume);
    a.scratchVolume = Read<typename Ret::ScratchRecord>(r->scratchVolume);
    a.replicationVolume = Read<typename Ret::ReplicaRecord>(r->replicationVolume);
    a.scratchAbsent = ScratchAbsent(r->scratchVolume);
    a.replicaAbsent = ReplicaAbsent(r->replicationVolume);
    return a;
}

template <typename V>
class SNRVolumeByIdTest : public VolumeQueryTest<Answer<typename V::Ret>> {
protected:
    using A = Answer<typename V::Ret>;

    A decode(const void* data, unsigned long) override { return Decode<typename V::Reply, typename V::Ret>(data); }

    A query(int32_t volumeId, int32_t srcVolumeId = 0)
    {
        typename V::Req req;
        std::memset(static_cast<void*>(&req), 0, sizeof req);
        req.snrVolumeId = volumeId;
        if constexpr (kBySource<V>) req.srcVolumeId = srcVolumeId;
        return this->post(V::code, &req, sizeof(typename V::Reply));
    }

    void expectSuccess(const A& a, int volumeId)
    {
        ExpectSucceeded<V>(a);
        ExpectVolume(a.volume, ById(kVolumes, volumeId));
    }

    // A failure: status 0, the text, the code from V3 on, three zero records.
    void expectFailure(const A& a, int code, const std::string& text)
    {
        ExpectFailed<V>(a, code, text);
        EXPECT_TRUE(a.recordsZero);
    }
};

using AllVersions = ::testing::Types<V1, V42, V3, V4, V5>;
TYPED_TEST_SUITE(SNRVolumeByIdTest, AllVersions);

TYPED_TEST(SNRVolumeByIdTest, ReadsTheVolumeWithTheReplicationAndScratchVolumeOnIt)
{
    auto a = this->query(10);
    this->expectSuccess(a, 10);
    ExpectScratch(a.scratchVolume, ById(kScratch, 700));
    ExpectReplica(a.replicationVolume, ById(kReplicas, 500));

    a = this->query(13);
    this->expectSuccess(a, 13);
    ExpectScratch(a.scratchVolume, ById(kScratch, 701));
    ExpectReplica(a.replicationVolume, ById(kReplicas, 501));

    EXPECT_EQ(LogEntriesWith(Completion<TypeParam>("ReplicationMgr::QuerySNRVolumeHandler()", "successfully")).size(),
              2u);
    EXPECT_TRUE(LogEntriesWith("More than one").empty());
}

TYPED_TEST(SNRVolumeByIdTest, AVolumeWithNeitherGivesTheAbsentForms)
{
    auto a = this->query(11);
    this->expectSuccess(a, 11);
    EXPECT_TRUE(a.scratchAbsent);
    EXPECT_TRUE(a.replicaAbsent);

    // Volume 12 is a scratch volume without a replica.
    a = this->query(12);
    this->expectSuccess(a, 12);
    ExpectScratch(a.scratchVolume, ById(kScratch, 702));
    EXPECT_TRUE(a.replicaAbsent);
}

TYPED_TEST(SNRVolumeByIdTest, FailuresAnswerTheirTextAndCodeAndZeroRecords)
{
    for (int id : {0, -1}) {
        this->expectFailure(this->query(id), -6, "Invalid Volume id");
        EXPECT_EQ(LogEntriesWith("ReplicationMgr::QuerySNRVolumeDB()\n\tEvent: Invalid Volume id\n\tParameters "
                                 "used:\n\tSNR Volume Id = " +
                                 std::to_string(id))
                      .size(),
                  1u);
    }

    this->expectFailure(this->query(99), -3, "Record not found");
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::QuerySNRVolumeDB()\n\tEvent: Record not found\n\tgetOneRow("
                             "GetSNRVolumeById &) failed\n\tParameters used:\n\tSNR Volume id = 99\n\tSrc Volume id = "
                             "0\n\tDB Err Code = 100")
                  .size(),
              1u);

    // Each read of volume 10: the row, then the counts of its replication
    // and its scratch volumes.
    const char* const text = "Could not get volume information from the database";
    HostDBFaults::failNext("fetch", 7);
    this->expectFailure(this->query(10), -4, text);
    EXPECT_EQ(LogEntriesWith("getOneRow(GetSNRVolumeById &) failed\n\tParameters used:\n\tSNR Volume id = 10"
                             "\n\tSrc Volume id = 0\n\tDB Err Code = 7")
                  .size(),
              1u);
    HostDBFaults::failNext("getNRows", 8);
    this->expectFailure(this->query(10), -4, text);
    EXPECT_EQ(LogEntriesWith("\tEvent: Could not get volume information from the database\n\tCReplicationVolumeDB::"
                             "getNRows() failed\n\tParameters used:\n\tsWhere = PhysicalVolumeId = 10\n\tDB Err "
                             "Code = 8")
                  .size(),
              1u);
    HostDBFaults::failNext("getNRows", 9, 1);
    this->expectFailure(this->query(10), -4, text);
    EXPECT_EQ(LogEntriesWith("CRVScratchVolumeDB::getNRows() failed\n\tParameters used:\n\tsWhere = "
                             "PhysicalVolumeId = 10\n\tDB Err Code = 9")
                  .size(),
              1u);
    EXPECT_TRUE(LockHeldElsewhere::isFree("TmpSNRVol"));
}

TYPED_TEST(SNRVolumeByIdTest, ALockHeldElsewhereTimesOutBeforeTheIdIsTested)
{
    {
        LockHeldElsewhere held("TmpSNRVol");
        this->expectFailure(this->query(10), -8, "Cannot have exclusive access to TmpSNRVol");
        this->expectFailure(this->query(0), -8, "Cannot have exclusive access to TmpSNRVol");
    }
    this->expectSuccess(this->query(10), 10);
}

TYPED_TEST(SNRVolumeByIdTest, ExtraReplicationAndScratchVolumesOfTheVolumeAreNamedInAWarning)
{
    const Replica later{511, 1, 1, 1, 1, 1, 30, 11, 8, 0, 0, 0, 0, 0, "", ""};
    const Replica lowest{510, 2, 2, 2, 2, 2, 31, 11, 8, 0, 0x4, 5, 0, 0, "dir-510", ""};
    this->exec(InsertReplica(later));
    this->exec(InsertReplica(lowest));
    this->exec(InsertScratch({711, 11, 9, 0, 0}));
    this->exec(InsertScratch({710, 11, 9, 0, 3}));

    auto a = this->query(11);
    this->expectSuccess(a, 11);
    ExpectReplica(a.replicationVolume, lowest);
    ExpectScratch(a.scratchVolume, Scratch{710, 11, 9, 0, 3});
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::QuerySNRVolumeDB()\n\tEvent: More than one replication volume lies "
                             "on the SNR volume; the one with the lowest id is reported\n\tParameters used:\n\tSNR "
                             "Volume id = 11\n\tSrc Volume id = 0\n\tFound    = 2\n\tReported = 510")
                  .size(),
              1u);
    EXPECT_EQ(LogEntriesWith("\tEvent: More than one scratch volume lies on the SNR volume; the one with the lowest "
                             "id is reported\n\tParameters used:\n\tSNR Volume id = 11\n\tSrc Volume id = 0\n\tFound "
                             "   = 2\n\tReported = 710")
                  .size(),
              1u);

    // From V4 on a source volume narrows the replicas to one: no warning of them.
    if constexpr (kBySource<TypeParam>) {
        EvDebug::clearEntries();
        a = this->query(11, 30);
        ExpectReplica(a.replicationVolume, later);
        EXPECT_TRUE(LogEntriesWith("More than one replication volume").empty());
        EXPECT_EQ(LogEntriesWith("More than one scratch volume").size(), 1u);
    }
}

// ---- The source volume of V4 and V5 ------------------------------------------------

template <typename V>
class SNRVolumeBySourceTest : public SNRVolumeByIdTest<V> {};
using SourceVersions = ::testing::Types<V4, V5>;
TYPED_TEST_SUITE(SNRVolumeBySourceTest, SourceVersions);

TYPED_TEST(SNRVolumeBySourceTest, OnlyAReplicaOfTheSourceVolumeIsReported)
{
    // Replica 501 on volume 13 copies volume 10.
    auto a = this->query(13, 10);
    this->expectSuccess(a, 13);
    ExpectReplica(a.replicationVolume, ById(kReplicas, 501));
    ExpectScratch(a.scratchVolume, ById(kScratch, 701));

    a = this->query(13, 11);
    this->expectSuccess(a, 13);
    EXPECT_TRUE(a.replicaAbsent);
    ExpectScratch(a.scratchVolume, ById(kScratch, 701));

    a = this->query(13, 0);
    ExpectReplica(a.replicationVolume, ById(kReplicas, 501));

    this->expectFailure(this->query(98, 10), -3, "Record not found");
    EXPECT_EQ(LogEntriesWith("SNR Volume id = 98\n\tSrc Volume id = 10\n\tDB Err Code = 100").size(), 1u);
}

// The entry point that scratch volume add and removal and pruning call: with
// their transaction the read sees their uncommitted rows; without one it
// reads what is committed.
TYPED_TEST(SNRVolumeBySourceTest, DirectCallReadsInsideTheTransactionGivenOrNone)
{
    typename TypeParam::Args args;
    args.snrVolumeId = 11;
    typename TypeParam::Ret ret;
    ret.errMsg = "stale";
    ASSERT_TRUE(this->mgr.QuerySNRVolume(args, ret, nullptr));
    EXPECT_EQ(ret.errMsg, "");
    ExpectVolume(ret.volume, ById(kVolumes, 11));
    EXPECT_EQ(ret.replicationVolume.id, -1);
    EXPECT_EQ(ret.scratchVolume.id, -1);

    DBtran tran(false);
    ASSERT_EQ(tran.startTran(), 0);
    YBVolume_t row;
    row.CurrentRole = 1;
    row.PrimaryVolumeId = 12;
    row.PhysicalVolumeId = 11;
    CReplicationVolumeDB replicas;
    ASSERT_TRUE(replicas.insert(row, &tran));
    args.srcVolumeId = 12;
    ASSERT_TRUE(this->mgr.QuerySNRVolume(args, ret, &tran));
    EXPECT_EQ(ret.replicationVolume.id, row.id);
    EXPECT_EQ(ret.replicationVolume.PrimaryVolumeId, 12);
    EXPECT_TRUE(LockHeldElsewhere::isFree("TmpSNRVol"));
    ASSERT_EQ(tran.rollbackTran(), 0);

    ASSERT_TRUE(this->mgr.QuerySNRVolume(args, ret, nullptr));
    EXPECT_EQ(ret.replicationVolume.id, -1);
    EXPECT_EQ(ret.replicationVolume.PrimaryVolumeId, -1);  // the constructed record, not the one before
    EXPECT_TRUE(this->answers.empty());
}

}  // namespace
