#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "host/db/DBtable.h"
#include "host/db/PolicyTables.h"
#include "policies/PolicyTestSupport.h"
#include "policies/ReplicationPolicies.h"
#include "service/CasePatterns.h"
#include "service/Utils.h"
#include "snr/SNRPostFixture.h"
#include "support/TestHost.h"

namespace {

template <typename T, typename = void>
struct HasId : std::false_type {};
template <typename T>
struct HasId<T, std::void_t<decltype(std::declval<T&>().id)>> : std::true_type {};
template <typename T, typename = void>
struct HasPolicy : std::false_type {};
template <typename T>
struct HasPolicy<T, std::void_t<decltype(std::declval<T&>().policy)>> : std::true_type {};
template <typename T, typename = void>
struct HasList : std::false_type {};
template <typename T>
struct HasList<T, std::void_t<decltype(std::declval<T&>().policies)>> : std::true_type {};

// One policy as a reply carried it, in the widest record; what a version
// lacks keeps the record's defaults, a null name reads "(null)".
struct WirePolicy {
    ReplicationPolicyV3Record_t record;
    uint32_t unused = 0;  // the word at 48 of a version 3 policy
};

struct Answer {
    unsigned long code = 0;
    size_t size = 0;
    uint32_t status = 99;
    int32_t errCode = 0;  // 0 for replies that carry none
    std::string msg;
    int32_t id = 0;           // add replies
    bool policyZero = false;  // query replies: the policy is all zero bytes
    uint32_t count = 0;
    bool arrayNull = true;
    std::vector<WirePolicy> policies;
};

template <typename Wire>
WirePolicy ReadPolicy(const Wire& w)
{
    WirePolicy p;
    ReplicationPolicyV3Record_t& r = p.record;
    r.id = static_cast<int32_t>(w.id);
    r.name = ReplyText(w.name);
    r.RetentionSeconds = static_cast<int32_t>(w.RetentionSeconds);
    r.FlagBit1 = w.FlagBit1 == 1;
    r.CopyMgrCtrlId = static_cast<int32_t>(w.CopyMgrCtrlId);
    r.SnapEngineInfoId = static_cast<int32_t>(w.SnapEngineInfoId);
    r.VolumeScratchPoolId = static_cast<int32_t>(w.VolumeScratchPoolId);
    if constexpr (sizeof(Wire) >= sizeof(repReplicationPolicyV2)) {
        r.FlagBit2 = w.FlagBit2 == 1;
        r.NSnapshot = static_cast<int32_t>(w.NSnapshot);
    }
    if constexpr (sizeof(Wire) == sizeof(repReplicationPolicyV3)) {
        r.CopyManagerType = static_cast<int32_t>(w.CopyManagerType);
        p.unused = w.Unused;
    }
    return p;
}

template <typename Reply>
Answer Decode(const void* data)
{
    const auto* r = static_cast<const Reply*>(data);
    Answer a;
    a.status = static_cast<uint32_t>(r->status);
    a.msg = ReplyText(r->errMsg);
    if constexpr (cases::HasErrCode<Reply>::value) a.errCode = r->errCode;
    if constexpr (HasId<Reply>::value) a.id = r->id;
    if constexpr (HasPolicy<Reply>::value) {
        static const char zeros[sizeof(r->policy)] = {};
        a.policyZero = std::memcmp(&r->policy, zeros, sizeof zeros) == 0;
        a.policies.push_back(ReadPolicy(r->policy));
    }
    if constexpr (HasList<Reply>::value) {
        a.count = r->count;
        a.arrayNull = r->policies == nullptr;
        for (uint32_t i = 0; r->policies != nullptr && i < r->count; ++i) a.policies.push_back(ReadPolicy(r->policies[i]));
    }
    return a;
}

// The policy of a request; an empty name goes as a null pointer.
template <typename Wire>
void FillPolicy(Wire& w, const ReplicationPolicyV3Record_t& p)
{
    w.id = static_cast<uint32_t>(p.id);
    w.name = RequestText(p.name);
    w.RetentionSeconds = static_cast<uint32_t>(p.RetentionSeconds);
    w.FlagBit1 = p.FlagBit1;
    w.CopyMgrCtrlId = static_cast<uint32_t>(p.CopyMgrCtrlId);
    w.SnapEngineInfoId = static_cast<uint32_t>(p.SnapEngineInfoId);
    w.VolumeScratchPoolId = static_cast<uint32_t>(p.VolumeScratchPoolId);
    if constexpr (sizeof(Wire) >= sizeof(repReplicationPolicyV2)) {
        w.FlagBit2 = p.FlagBit2;
        w.NSnapshot = static_cast<uint32_t>(p.NSnapshot);
    }
    if constexpr (sizeof(Wire) == sizeof(repReplicationPolicyV3)) {
        w.CopyManagerType = static_cast<uint32_t>(p.CopyManagerType);
        w.Unused = 77;  // never read
    }
}

// A stored row as the widest record.
ReplicationPolicyV3Record_t RowPolicy(const YBPolicy_t& row)
{
    ReplicationPolicyV3Record_t p;
    p.id = row.id;
    p.name = row.name;
    p.RetentionSeconds = row.RetentionSeconds;
    p.FlagBit1 = (row.Flags & 0x1) != 0;
    p.CopyMgrCtrlId = row.CopyMgrCtrlId;
    p.SnapEngineInfoId = row.SnapEngineInfoId;
    p.VolumeScratchPoolId = row.VolumeScratchPoolId;
    p.FlagBit2 = (row.Flags & 0x2) != 0;
    p.NSnapshot = row.NSnapshot;
    p.CopyManagerType = row.CopyManagerType;
    return p;
}

// The same policy; with wireText an empty name of `want` is expected as a
// null pointer.
void ExpectPolicy(const ReplicationPolicyV3Record_t& got, const ReplicationPolicyV3Record_t& want, bool wireText)
{
    EXPECT_EQ(got.id, want.id);
    EXPECT_EQ(got.name, wireText && want.name.empty() ? std::string("(null)") : want.name);
    EXPECT_EQ(got.RetentionSeconds, want.RetentionSeconds);
    EXPECT_EQ(got.FlagBit1, want.FlagBit1);
    EXPECT_EQ(got.CopyMgrCtrlId, want.CopyMgrCtrlId);
    EXPECT_EQ(got.SnapEngineInfoId, want.SnapEngineInfoId);
    EXPECT_EQ(got.VolumeScratchPoolId, want.VolumeScratchPoolId);
    EXPECT_EQ(got.FlagBit2, want.FlagBit2);
    EXPECT_EQ(got.NSnapshot, want.NSnapshot);
    EXPECT_EQ(got.CopyManagerType, want.CopyManagerType);
}

ReplicationPolicyV3Record_t Policy(const std::string& name, int32_t pool, int32_t engine, int32_t copyManager = 4)
{
    ReplicationPolicyV3Record_t p;
    p.name = name;
    p.RetentionSeconds = 86400;
    p.FlagBit1 = true;
    p.CopyMgrCtrlId = 3;
    p.SnapEngineInfoId = engine;
    p.VolumeScratchPoolId = pool;
    p.FlagBit2 = true;
    p.NSnapshot = 7;
    p.CopyManagerType = copyManager;
    return p;
}

// Snap engines 1, 2, 5 of their Type; pools 11, 12, 13 of Types 1, 2, 3.
const char kSeed[] =
    "INSERT INTO YBSnapEngineInfo (id, name, Type) VALUES (1, 'e1', 1), (2, 'e2', 2), (5, 'e5', 5);"
    "INSERT INTO YBScratchPool (id, name, SnapEngineInfoId, Type) VALUES"
    " (11, 'p1', 1, 1), (12, 'p2', 5, 2), (13, 'p3', 5, 3);";

template <int Number, typename AddReqT, typename AddRespT, typename QueryReqT, typename QueryRespT,
          typename UpdateReqT, typename UpdateRespT, typename ListRespT, typename PoolReqT, typename PoolRespT,
          unsigned long Add, unsigned long Query, unsigned long Update, unsigned long List, unsigned long Pool>
struct PolicyVersion : FamilyVersion<Number, AddReqT, AddRespT, QueryReqT, QueryRespT, UpdateReqT, UpdateRespT,
                                     ListRespT, Add, Query, Update, List> {
    using PoolReq = PoolReqT;
    using PoolResp = PoolRespT;
    static constexpr unsigned long pool = Pool;
};

using PolicyV1 = PolicyVersion<1, repAddReplicationPolicyReq, repAddReplicationPolicyResp,
                               repQueryReplicationPolicyByIdReq, repQueryReplicationPolicyByIdResp,
                               repUpdateReplicationPolicyReq, repUpdateReplicationPolicyResp,
                               repGetReplicationPolicyListResp, repQueryReplicaPolicyByPoolIdReq,
                               repQueryReplicaPolicyByPoolIdResp, 0x3500001f, 0x35000021, 0x35000025, 0x35000027,
                               0x350000b5>;
using PolicyV2 = PolicyVersion<2, repAddReplicationPolicyV2Req, repAddReplicationPolicyV2Resp,
                               repQueryReplicationPolicyV2ByIdReq, repQueryReplicationPolicyV2ByIdResp,
                               repUpdateReplicationPolicyV2Req, repUpdateReplicationPolicyV2Resp,
                               repGetReplicationPolicyV2ListResp, repQueryReplicaPolicyV2ByPoolIdReq,
                               repQueryReplicaPolicyV2ByPoolIdResp, 0x350000c7, 0x350000c9, 0x350000cb, 0x350000cd,
                               0x350000cf>;
using PolicyV3 = PolicyVersion<3, repAddReplicationPolicyV3Req, repAddReplicationPolicyV3Resp,
                               repQueryReplicationPolicyV3ByIdReq, repQueryReplicationPolicyV3ByIdResp,
                               repUpdateReplicationPolicyV3Req, repUpdateReplicationPolicyV2Resp,
                               repGetReplicationPolicyV3ListResp, repQueryReplicaPolicyV3ByPoolIdReq,
                               repQueryReplicaPolicyV3ByPoolIdResp, 0x35000173, 0x35000175, 0x35000177, 0x35000179,
                               0x35000181>;

template <typename V>
class ReplicationPolicyTest : public PolicyPostTest<Answer> {
protected:
    void SetUp() override
    {
        PolicyPostTest::SetUp();
        exec(kSeed);
    }

    template <typename Reply>
    Answer send(unsigned long code, void* request)
    {
        return PolicyPostTest::send(code, request, sizeof(Reply), &Decode<Reply>);
    }

    Answer add(const ReplicationPolicyV3Record_t& p)
    {
        typename V::AddReq req{};
        FillPolicy(req.policy, p);
        return send<typename V::AddResp>(V::add, &req);
    }
    Answer query(int32_t id)
    {
        typename V::QueryReq req{};
        req.id = id;
        return send<typename V::QueryResp>(V::query, &req);
    }
    Answer update(const ReplicationPolicyV3Record_t& p)
    {
        typename V::UpdateReq req{};
        FillPolicy(req.policy, p);
        return send<typename V::UpdateResp>(V::update, &req);
    }
    Answer byPool(int32_t poolId)
    {
        typename V::PoolReq req{};
        req.poolId = poolId;
        return send<typename V::PoolResp>(V::pool, &req);
    }
    // The list request carries no data.
    Answer list() { return send<typename V::ListResp>(V::list, nullptr); }

    void expectSuccess(const Answer& a)
    {
        EXPECT_EQ(a.status, 1u);
        EXPECT_EQ(a.msg, "(null)");
        EXPECT_EQ(a.errCode, 0);
    }
    // Status 0, the text and, from version 2, the code; no id, no policy.
    void expectFailure(const Answer& a, int code, const std::string& text)
    {
        EXPECT_EQ(a.status, 0u);
        EXPECT_EQ(a.msg, text);
        EXPECT_EQ(a.errCode, V::number >= 2 ? code : 0);
        EXPECT_EQ(a.id, 0);
        EXPECT_TRUE(a.policies.empty() || a.policyZero);
        EXPECT_TRUE(a.arrayNull);
    }
    // The add refused with the text and code; nothing stored.
    void expectAddRefused(const ReplicationPolicyV3Record_t& p, int code, const std::string& text)
    {
        const std::string before = dump();
        expectFailure(add(p), code, text);
        EXPECT_EQ(dump(), before);
    }
    int32_t added(const ReplicationPolicyV3Record_t& p)
    {
        Answer a = add(p);
        expectSuccess(a);
        EXPECT_GT(a.id, 0);
        return a.id;
    }

    // The policy as this version stores it: versions 1 and 2 carry no copy
    // manager type (4 is stored), version 1 neither the second flag nor the
    // snapshot limit.
    static ReplicationPolicyV3Record_t asStored(ReplicationPolicyV3Record_t p, int32_t id)
    {
        p.id = id;
        if (V::number < 3) p.CopyManagerType = 4;
        if (V::number == 1) {
            p.FlagBit2 = false;
            p.NSnapshot = 0;
        }
        return p;
    }
    // The policy as this version's replies carry it: what the version lacks
    // reads as the widest record's defaults.
    static ReplicationPolicyV3Record_t asSent(ReplicationPolicyV3Record_t p)
    {
        const ReplicationPolicyV3Record_t defaults;
        if (V::number < 3) p.CopyManagerType = defaults.CopyManagerType;
        if (V::number == 1) {
            p.FlagBit2 = defaults.FlagBit2;
            p.NSnapshot = defaults.NSnapshot;
        }
        return p;
    }

    std::vector<YBPolicy_t> stored() { return StoredRows<YBPolicy_t, CReplicationPolicyDB>(); }
    std::string dump() { return DumpTable(m_path, "YBPolicy"); }
};

using PolicyVersions = ::testing::Types<PolicyV1, PolicyV2, PolicyV3>;
TYPED_TEST_SUITE(ReplicationPolicyTest, PolicyVersions);

TYPED_TEST(ReplicationPolicyTest, AddQueryListByPoolAndListAll)
{
    const ReplicationPolicyV3Record_t a = Policy("daily", 11, 1);
    const ReplicationPolicyV3Record_t b = Policy("weekly", 11, 2);
    const ReplicationPolicyV3Record_t c = Policy("", 0, 1);  // no pool, an empty name
    const int32_t idA = this->added(a);
    const int32_t idB = this->added(b);
    const int32_t idC = this->added(c);
    auto rows = this->stored();
    ASSERT_EQ(rows.size(), 3u);
    ExpectPolicy(RowPolicy(rows[0]), this->asStored(a, idA), false);
    ExpectPolicy(RowPolicy(rows[2]), this->asStored(c, idC), false);
    EXPECT_EQ(LogEntriesWith("\tYB Policy daily was added to DB with ID " + std::to_string(idA)).size(), 1u);

    Answer q = this->query(idA);
    this->expectSuccess(q);
    ASSERT_EQ(q.policies.size(), 1u);
    ExpectPolicy(q.policies[0].record, this->asSent(this->asStored(a, idA)), true);
    EXPECT_EQ(q.policies[0].unused, 0u);  // whatever the add's request held there
    q = this->query(idC);
    ASSERT_EQ(q.policies.size(), 1u);
    EXPECT_EQ(q.policies[0].record.name, "(null)");

    Answer pool = this->byPool(11);
    this->expectSuccess(pool);
    ASSERT_EQ(pool.count, 2u);
    ASSERT_EQ(pool.policies.size(), 2u);
    EXPECT_EQ(pool.policies[0].record.id, idA);
    ExpectPolicy(pool.policies[1].record, this->asSent(this->asStored(b, idB)), true);

    // A pool that no policy uses: success, no array, no code.
    pool = this->byPool(12);
    this->expectSuccess(pool);
    EXPECT_EQ(pool.count, 0u);
    EXPECT_TRUE(pool.arrayNull);
    EXPECT_EQ(LogEntriesWith("\tNo YB Policy was found\n\tQuery Criteria: VolumeScratchPoolId = 12").size(), 1u);

    Answer all = this->list();
    this->expectSuccess(all);
    ASSERT_EQ(all.count, 3u);
    ASSERT_EQ(all.policies.size(), 3u);
    EXPECT_EQ(all.policies[0].record.id, idA);
    EXPECT_EQ(all.policies[1].record.id, idB);
    ExpectPolicy(all.policies[2].record, this->asSent(this->asStored(c, idC)), true);
    if (TypeParam::number == 3) {
        EXPECT_EQ(all.code, 0x35000180u);
        EXPECT_EQ(all.policies[2].unused, 0u);
    }
}

TYPED_TEST(ReplicationPolicyTest, QueryRefusals)
{
    Answer a = this->query(0);
    this->expectFailure(a, -6, "Invalid YB Policy identifier");
    EXPECT_TRUE(a.policyZero);
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::QueryReplicationPolicyDB()\n\tEvent: Invalid YB Policy identifier"
                             "\n\tParameters used:\n\tReplication Policy Id = 0")
                  .size(),
              1u);
    a = this->query(77);
    this->expectFailure(a, -3, "Record not found");
    EXPECT_TRUE(a.policyZero);
    this->expectFailure(this->byPool(0), -6, "Invalid Scratch volume pool identifier");

    Answer list = this->list();
    this->expectSuccess(list);
    EXPECT_EQ(list.count, 0u);
    EXPECT_TRUE(list.arrayNull);
}

// Versions 1 and 2 store copy manager type 4, which no pool of Type 2 or 3
// takes and every engine does.
TYPED_TEST(ReplicationPolicyTest, CopyManagerTypesThatDoNotFitThePoolOrTheEngineAreRefused)
{
    const char* const poolRefused = "Copy Manager type and YB Scratch pool type are not compatible";
    const char* const engineRefused = "Copy Manager type and Snapshot Engine type are not compatible";
    if (TypeParam::number < 3) {
        this->expectAddRefused(Policy("p2", 12, 5), -2, poolRefused);
        this->expectAddRefused(Policy("p3", 13, 5), -2, poolRefused);
        EXPECT_EQ(LogEntriesWith("\n\tCopy Manager Type       = 4\n\tYB Scratch Pool Type    = 3").size(), 1u);
        this->added(Policy("engine 5", 11, 5));
        return;
    }
    struct Case {
        int32_t pool;
        int32_t copyManager;
        int32_t engine;
        const char* refusal;  // null: added
    };
    const Case table[] = {
        {12, 4, 1, poolRefused},   {12, 5, 1, nullptr},       {12, 6, 5, nullptr},      {13, 5, 1, poolRefused},
        {13, 6, 5, nullptr},       {11, 5, 1, poolRefused},   {11, 6, 5, poolRefused},  {0, 5, 5, engineRefused},
        {0, 6, 1, engineRefused},  {0, 4, 5, engineRefused},  {0, 5, 2, nullptr},       {0, 4, 1, nullptr},
        {0, 7, 2, nullptr},
    };
    int n = 0;
    for (const Case& c : table) {
        SCOPED_TRACE("pool " + std::to_string(c.pool) + ", copy manager " + std::to_string(c.copyManager) +
                     ", engine " + std::to_string(c.engine));
        const ReplicationPolicyV3Record_t p = Policy("policy " + std::to_string(++n), c.pool, c.engine, c.copyManager);
        if (c.refusal != nullptr) {
            this->expectAddRefused(p, -2, c.refusal);
        } else {
            const int32_t id = this->added(p);
            EXPECT_EQ(this->scalar("SELECT CopyManagerType FROM YBPolicy WHERE id = " + std::to_string(id)),
                      c.copyManager);
        }
    }
    EXPECT_EQ(LogEntriesWith("\n\tCopy Manager type = 4\n\tSnapshot Engine type = 5").size(), 1u);
}

TYPED_TEST(ReplicationPolicyTest, AddRefusals)
{
    this->expectAddRefused(Policy("p", 11, 0), -6,
                           "Cannot add a YB policy record to the database with invalid snap engine info");
    ReplicationPolicyV3Record_t p = Policy("p", 11, 1);
    p.NSnapshot = -1;
    if (TypeParam::number == 1)
        this->added(p);  // the snapshot limit is not carried
    else
        this->expectAddRefused(p, -2, "Cannot add a YB policy record to the database with a negative snapshot limit");
    // The pool and engine queries' own texts and codes.
    this->expectAddRefused(Policy("q", -1, 1), -6, "Invalid scratch volume pool identifier");
    this->expectAddRefused(Policy("q", 99, 1), -3, "Scratch volume pool record not found");
    this->expectAddRefused(Policy("q", 11, 99), -3, "Record not found");

    // Names are unique; an empty name is a name like any other.
    this->added(Policy("q", 11, 1));
    this->expectAddRefused(Policy("q", 0, 2), -12,
                           "Cannot add new YB Policy because there is an existing YB policy with the same name");
    this->added(Policy("", 0, 1));
    this->expectAddRefused(Policy("", 0, 1), -12,
                           "Cannot add new YB Policy because there is an existing YB policy with the same name");
}

// A name reaches the database as a value, and one longer than its column is
// refused rather than cut.
TYPED_TEST(ReplicationPolicyTest, NamesAreStoredWholeOrRefused)
{
    const std::string quoted = "it's x' OR '1'='1";
    const int32_t id = this->added(Policy(quoted, 11, 1));
    this->expectAddRefused(Policy(quoted, 11, 1), -12,
                           "Cannot add new YB Policy because there is an existing YB policy with the same name");
    this->added(Policy("it", 11, 1));  // not taken by the quoted name

    this->expectAddRefused(Policy(std::string(128, 'n'), 11, 1), -18, "YB Policy Name is too long");
    const int32_t longest = this->added(Policy(std::string(127, 'n'), 11, 1));
    EXPECT_EQ(this->scalar("SELECT length(name) FROM YBPolicy WHERE id = " + std::to_string(longest)), 127);

    ReplicationPolicyV3Record_t p = Policy("'; DROP TABLE YBPolicy; --", 11, 1);
    p.id = id;
    this->expectSuccess(this->update(p));
    Answer q = this->query(id);
    ASSERT_EQ(q.policies.size(), 1u);
    EXPECT_EQ(q.policies[0].record.name, "'; DROP TABLE YBPolicy; --");

    const std::string before = this->dump();
    p.name = std::string(128, 'n');
    this->expectFailure(this->update(p), -18, "YB Policy Name is too long");
    EXPECT_EQ(this->dump(), before);
}

// Each version writes the columns of its fixed mask: 0x3f, 0xff, all nine.
TYPED_TEST(ReplicationPolicyTest, UpdateWritesTheColumnsOfItsVersion)
{
    this->exec("INSERT INTO YBPolicy (id, name, RetentionSeconds, Flags, CopyMgrCtrlId, SnapEngineInfoId,"
               " VolumeScratchPoolId, NSnapshot, CopyManagerType) VALUES (4, 'old', 60, 6, 1, 1, 11, 2, 4)");
    ReplicationPolicyV3Record_t p;
    p.id = 4;
    p.name = "new";
    p.RetentionSeconds = 120;
    p.FlagBit1 = true;
    p.CopyMgrCtrlId = 9;
    p.SnapEngineInfoId = 2;
    p.VolumeScratchPoolId = 12;
    p.FlagBit2 = false;
    p.NSnapshot = 8;
    p.CopyManagerType = 6;
    this->expectSuccess(this->update(p));

    auto rows = this->stored();
    ASSERT_EQ(rows.size(), 1u);
    const YBPolicy_t& row = rows[0];
    EXPECT_STREQ(row.name, "new");
    EXPECT_EQ(row.RetentionSeconds, 120);
    EXPECT_EQ(row.CopyMgrCtrlId, 9);
    EXPECT_EQ(row.SnapEngineInfoId, 2);
    EXPECT_EQ(row.VolumeScratchPoolId, 12);
    const int v = TypeParam::number;
    EXPECT_EQ(row.Flags, v == 1 ? 0x7 : 0x5);  // bit 0x4 as stored
    EXPECT_EQ(row.NSnapshot, v == 1 ? 2 : 8);
    EXPECT_EQ(row.CopyManagerType, v == 3 ? 6 : 4);
    EXPECT_EQ(LogEntriesWith("\tYB Policy with ID 4 was updated...").size(), 1u);

    // An empty name leaves the name column out; the rest is written.
    p.name = "";
    p.RetentionSeconds = 30;
    this->expectSuccess(this->update(p));
    rows = this->stored();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_STREQ(rows[0].name, "new");
    EXPECT_EQ(rows[0].RetentionSeconds, 30);
}

TYPED_TEST(ReplicationPolicyTest, UpdateKeepsTheSnapEngineWhileAReplicationVolumeUsesThePolicy)
{
    this->exec("INSERT INTO YBPolicy (id, name, SnapEngineInfoId, VolumeScratchPoolId) VALUES (4, 'used', 1, 11);"
               "INSERT INTO YBVolume (id, ReplicationPolicyId) VALUES (30, 4)");
    ReplicationPolicyV3Record_t p = Policy("renamed", 13, 5);
    p.id = 4;
    this->expectSuccess(this->update(p));
    auto rows = this->stored();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_STREQ(rows[0].name, "renamed");
    EXPECT_EQ(rows[0].VolumeScratchPoolId, 13);  // an update repeats none of the add's rules
    EXPECT_EQ(rows[0].SnapEngineInfoId, 1);
    EXPECT_EQ(LogEntriesWith("\tWarning: At least one replication volume is using this policy"
                             "\n\tSnap Engine Info ID will not be updated")
                  .size(),
              1u);

    this->exec("DELETE FROM YBVolume");
    this->expectSuccess(this->update(p));
    EXPECT_EQ(this->stored()[0].SnapEngineInfoId, 5);

    const std::string before = this->dump();
    p.id = 0;
    this->expectFailure(this->update(p), -6, "Cannot update YB policy information with invalid id");
    p.id = 77;
    this->expectFailure(this->update(p), -3, "YB Policy not found");
    EXPECT_EQ(this->dump(), before);
}

TYPED_TEST(ReplicationPolicyTest, FailureAtEachDatabaseStepChangesNothing)
{
    this->exec("INSERT INTO YBPolicy (id, name, SnapEngineInfoId, VolumeScratchPoolId) VALUES (4, 'seed', 1, 11)");
    ReplicationPolicyV3Record_t changed = Policy("changed", 11, 2);
    changed.id = 4;
    const std::vector<FailingStep<Answer>> steps = {
        {"startTran", [&] { return this->add(Policy("new", 11, 1)); }, -7, DBTranErrorMsg},
        {"getInfo", [&] { return this->add(Policy("new", 11, 1)); }, -4,
         "Cannot access scratch volume pool information from the database"},
        {"getInfo", [&] { return this->add(Policy("new", 0, 1)); }, -4,
         "Cannot access Snap engine information from the database"},
        {"getNRows", [&] { return this->add(Policy("new", 11, 1)); }, -4, "Cannot check for YB policy name uniqueness"},
        {"insert", [&] { return this->add(Policy("new", 11, 1)); }, -4, "Cannot include new YB policy into the database"},
        {"commitTran", [&] { return this->add(Policy("new", 11, 1)); }, -4, "Could not commit database transactions"},
        {"getInfo", [&] { return this->query(4); }, -4, "Cannot access YB policy information from the database"},
        {"getList", [&] { return this->byPool(11); }, -4, "Cannot access YB policy information from the database"},
        {"startTran", [&] { return this->update(changed); }, -7, DBTranErrorMsg},
        {"getNRows", [&] { return this->update(changed); }, -4,
         "Error while trying to verify which YB Volumes are associated this YB Policy"},
        {"getInfo", [&] { return this->update(changed); }, -4, "Cannot access YB Policy information from the database"},
        {"Update", [&] { return this->update(changed); }, -4, "Could not update YB policy information from database"},
        {"commitTran", [&] { return this->update(changed); }, -4, "Could not commit database transactions"},
        {"fetch", [&] { return this->list(); }, -4, "Cannot get the list of YB policies from the database"},
    };
    const std::string before = this->dump();
    for (const FailingStep<Answer>& step : steps) {
        SCOPED_TRACE(std::string(step.call) + ": " + step.text);
        HostDBFaults::failNext(step.call, 7);
        Answer a = step.request();
        this->expectFailure(a, step.code, step.text);
        EXPECT_EQ(a.count, 0u);
        EXPECT_EQ(this->dump(), before);
        HostDBFaults::clear();
    }

    AllocReplyArray = &NoMemory;
    this->expectFailure(this->list(), -5, NoMemoryErrMsg);
    this->expectFailure(this->byPool(11), -5, NoMemoryErrMsg);
}

// ---- Single columns through the direct call -------------------------------------------

class PolicyDirectTest : public ReplicationPolicyTest<PolicyV3> {
protected:
    void SetUp() override
    {
        ReplicationPolicyTest::SetUp();
        exec("INSERT INTO YBPolicy (id, name, RetentionSeconds, Flags, CopyMgrCtrlId, SnapEngineInfoId,"
             " VolumeScratchPoolId, NSnapshot, CopyManagerType) VALUES (4, 'old', 60, 4, 1, 1, 11, 2, 4)");
    }
};

// A version 3 record's own mask picks the columns; each bit writes its
// column alone (the flag word is always written, as merged).
TEST_F(PolicyDirectTest, EachMaskBitWritesItsColumnAlone)
{
    ReplicationPolicyV3Record_t p;
    p.id = 4;
    p.name = "new";
    p.RetentionSeconds = 120;
    p.FlagBit1 = true;
    p.CopyMgrCtrlId = 9;
    p.SnapEngineInfoId = 2;
    p.VolumeScratchPoolId = 12;
    p.FlagBit2 = true;
    p.NSnapshot = 8;
    p.CopyManagerType = 6;
    const YBPolicy_t original = stored()[0];
    struct Column {
        int32_t bit;
        std::function<void(YBPolicy_t&)> expect;
    };
    const Column columns[] = {
        {YB_POLICY_NAME, [](YBPolicy_t& r) { std::strcpy(r.name, "new"); }},
        {YB_POLICY_RETENTION, [](YBPolicy_t& r) { r.RetentionSeconds = 120; }},
        {YB_POLICY_FLAG_BIT1, [](YBPolicy_t& r) { r.Flags = 5; }},
        {YB_POLICY_COPY_MGR_CTRL_ID, [](YBPolicy_t& r) { r.CopyMgrCtrlId = 9; }},
        {YB_POLICY_SNAP_ENGINE_ID, [](YBPolicy_t& r) { r.SnapEngineInfoId = 2; }},
        {YB_POLICY_SCRATCH_POOL_ID, [](YBPolicy_t& r) { r.VolumeScratchPoolId = 12; }},
        {YB_POLICY_FLAG_BIT2, [](YBPolicy_t& r) { r.Flags = 6; }},
        {YB_POLICY_NSNAPSHOT, [](YBPolicy_t& r) { r.NSnapshot = 8; }},
        {YB_POLICY_COPY_MANAGER_TYPE, [](YBPolicy_t& r) { r.CopyManagerType = 6; }},
    };
    for (const Column& column : columns) {
        SCOPED_TRACE("bit " + std::to_string(column.bit));
        exec("UPDATE YBPolicy SET name = 'old', RetentionSeconds = 60, Flags = 4, CopyMgrCtrlId = 1,"
             " SnapEngineInfoId = 1, VolumeScratchPoolId = 11, NSnapshot = 2, CopyManagerType = 4");
        UpdateReplicationPolicyV3Args_t args;
        args.record = p;
        args.record.UpdateMask = column.bit;
        UpdateReplicationPolicyV3Ret_t ret;
        DBtran tran(false);
        ASSERT_EQ(tran.startTran(), 0);
        EXPECT_TRUE(mgr.UpdateReplicationPolicy(args, ret, &tran));
        EXPECT_EQ(ret.errCode, 0);
        ASSERT_EQ(tran.commitTran(), 0);

        YBPolicy_t want = original;
        column.expect(want);
        const YBPolicy_t got = stored()[0];
        ExpectPolicy(RowPolicy(got), RowPolicy(want), false);
        EXPECT_EQ(got.Flags, want.Flags);
    }
}

// Retention pruning reads a policy's name and retention through the version
// 1 query, which keeps a text and no code.
TEST_F(PolicyDirectTest, VersionOneQueryById)
{
    QueryReplicationPolicyByIdArgs_t args;
    args.id = 4;
    QueryReplicationPolicyByIdRet_t ret;
    ASSERT_TRUE(mgr.QueryReplicationPolicy(args, ret));
    EXPECT_EQ(ret.errMsg, "");
    EXPECT_EQ(ret.record.name, "old");
    EXPECT_EQ(ret.record.RetentionSeconds, 60);
    EXPECT_EQ(ret.record.VolumeScratchPoolId, 11);

    args.id = 5;
    QueryReplicationPolicyByIdRet_t missing;
    EXPECT_FALSE(mgr.QueryReplicationPolicy(args, missing));
    EXPECT_EQ(missing.errMsg, "Record not found");
    EXPECT_EQ(missing.record.id, -1);  // filled on success only
}

// ---- Remove --------------------------------------------------------------------------

class PolicyRemoveTest : public ReplicationPolicyTest<PolicyV1> {
protected:
    void SetUp() override
    {
        ReplicationPolicyTest::SetUp();
        exec("INSERT INTO YBPolicy (id, name) VALUES (4, 'used'), (5, 'free');"
             "INSERT INTO YBVolume (id, ReplicationPolicyId) VALUES (30, 4)");
    }
    Answer remove(int32_t id)
    {
        repRemoveReplicationPolicyReq req{id};
        return send<repRemoveReplicationPolicyResp>(0x35000023, &req);
    }
    // The remove carries no code.
    void expectRefused(const Answer& a, const std::string& text, const std::string& before)
    {
        EXPECT_EQ(a.status, 0u);
        EXPECT_EQ(a.msg, text);
        EXPECT_EQ(dump(), before);
    }
};

TEST_F(PolicyRemoveTest, RefusedWhileAReplicationVolumeUsesThePolicyAndAcceptedAfter)
{
    const std::string before = dump();
    expectRefused(remove(4), "Cannot update YB policy while there is at least one YB volume using it", before);
    EXPECT_EQ(LogEntriesWith("\n\toutput from CReplicationVolumeDB::getNRows()\n\tNRows = 1").size(), 1u);
    expectRefused(remove(0), "Cannot remove YB policy from the database with invalid id", before);

    exec("DELETE FROM YBVolume");
    expectSuccess(remove(4));
    expectSuccess(remove(5));
    EXPECT_TRUE(stored().empty());
    EXPECT_EQ(LogEntriesWith("\tYB Policy with ID 4 was removed from DB...").size(), 1u);
    EXPECT_EQ(LogEntriesWith("\tMessage REPLICA_PM_RemoveReplicationPolicy_REQ completed successfully"
                             "\n\tSending reply REPLICA_PM_RemoveReplicationPolicy_RESP to client...")
                  .size(),
              2u);
}

TEST_F(PolicyRemoveTest, FailureAtEachDatabaseStepChangesNothing)
{
    const std::string before = dump();
    const std::pair<const char*, const char*> steps[] = {
        {"startTran", DBTranErrorMsg},
        {"getNRows", "Cannot access YB volume information from the database"},
        {"remove", "Cannot remove YB policy from the database"},
        {"commitTran", "Could not commit database transactions"},
    };
    for (const auto& [call, text] : steps) {
        SCOPED_TRACE(call);
        HostDBFaults::failNext(call, 7);
        expectRefused(remove(5), text, before);
        HostDBFaults::clear();
    }
    EXPECT_EQ(LogEntriesWith("\tMessage REPLICA_PM_RemoveReplicationPolicy_REQ completed unsuccessfully").size(), 4u);
}

// ---- Subclients that name a policy ---------------------------------------------------

struct SubclientAnswer {
    unsigned long code = 0;
    size_t size = 0;
    int32_t status = 99;
    int32_t errCode = 99;
    std::string msg;
    uint32_t count = 0;
    bool arrayNull = true;
    std::vector<int> subclients;
};

SubclientAnswer DecodeSubclients(const void* data)
{
    const auto* r = static_cast<const repGetSCListByPolicyResp*>(data);
    SubclientAnswer a;
    a.status = r->status;
    a.errCode = r->errCode;
    a.msg = ReplyText(r->errMsg);
    a.count = r->count;
    a.arrayNull = r->subclients == nullptr;
    if (r->subclients != nullptr) a.subclients.assign(r->subclients, r->subclients + r->count);
    return a;
}

class SubclientsOfAPolicyTest : public PolicyPostTest<SubclientAnswer> {
protected:
    void SetUp() override
    {
        PolicyPostTest::SetUp();
        exec("INSERT INTO DHT_Application (id, clientId, appTypeId, subclientStatus) VALUES"
             " (10, 1, 50, 0), (11, 1, 50, 0), (12, 1, 50, 1), (14, 1, 47, 0), (15, 1, 50, 0);"
             "INSERT INTO DHT_SubClientProp (componentNameId, attrName, attrVal, modified) VALUES"
             " (10, 'Replication Policy', '2', 0), (11, 'Replication Policy', '2', 0),"
             " (12, 'Replication Policy', '2', 0), (14, 'Replication Policy', '2', 0),"
             " (15, 'Replication Policy', '0', 0)");
    }
    SubclientAnswer request(int32_t policyId, std::vector<int32_t> types, bool withArray = true)
    {
        repGetSCListByPolicyReq req{};
        req.policyId = policyId;
        req.count = static_cast<uint32_t>(types.size());
        req.appTypes = withArray ? types.data() : nullptr;
        return send(0x350001d1, &req, sizeof(repGetSCListByPolicyResp), &DecodeSubclients);
    }
    void expectFailure(const SubclientAnswer& a, int code, const std::string& text)
    {
        EXPECT_EQ(a.status, 0);
        EXPECT_EQ(a.errCode, code);
        EXPECT_EQ(a.msg, text);
        EXPECT_EQ(a.count, 0u);
        EXPECT_TRUE(a.arrayNull);
    }
};

TEST_F(SubclientsOfAPolicyTest, ActiveSubclientsOfEachTypeInTheOrderAsked)
{
    SubclientAnswer a = request(2, {47, 50, 47});
    EXPECT_EQ(a.status, 1);
    EXPECT_EQ(a.errCode, 0);
    EXPECT_EQ(a.msg, "(null)");
    EXPECT_EQ(a.code, 0x350001d2u);
    EXPECT_EQ(a.subclients, (std::vector<int>{14, 10, 11, 14}));  // listed once per type asked
    EXPECT_EQ(a.count, 4u);
    EXPECT_EQ(LogEntriesWith("Looking for SC of type 50 using YB Policy Id 2").size(), 1u);
    EXPECT_EQ(LogEntriesWith("Found SC 14").size(), 2u);

    a = request(0, {50});  // id 0 is a policy id like any other
    EXPECT_EQ(a.status, 1);
    EXPECT_EQ(a.subclients, std::vector<int>{15});
    a = request(3, {50});
    EXPECT_EQ(a.status, 1);
    EXPECT_EQ(a.count, 0u);
    EXPECT_TRUE(a.arrayNull);
}

TEST_F(SubclientsOfAPolicyTest, Refusals)
{
    expectFailure(request(-1, {50}), -6, "Invalid YB Policy id");
    expectFailure(request(2, {}), -2, "No Application Type was specified");
    expectFailure(request(2, {50, 47}, false), -2, "No Application Type was specified");
    HostDBFaults::failNext("fetch", 7, 1);  // the second type's first row (type 48 has none)
    expectFailure(request(2, {48, 50}), -4, "Cannot get the list of subclient from the database");
    EXPECT_EQ(LogEntriesWith("\n\tgetNextRow(YBGetSCListByYBPolicy_t &) failed\n\tYB Policy Id = 2"
                             "\n\tApp Type Id  = 50\n\tDB Err Code = 7")
                  .size(),
              1u);
    HostDBFaults::clear();
    AllocReplyArray = &NoMemory;
    expectFailure(request(2, {50}), -5, NoMemoryErrMsg);
    EXPECT_EQ(LogEntriesWith("\tMessage REPLICA_PM_GetSCListByYBPolicy_REQ completed unsuccessfully"
                             "\n\tSending reply REPLICA_PM_GetSCListByYBPolicy_RESP to client...")
                  .size(),
              5u);
}

}  // namespace
