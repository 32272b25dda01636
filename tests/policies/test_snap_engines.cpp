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
#include "policies/SnapEngines.h"
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
struct HasEngine : std::false_type {};
template <typename T>
struct HasEngine<T, std::void_t<decltype(std::declval<T&>().SnapEngineInfo)>> : std::true_type {};
template <typename T, typename = void>
struct HasList : std::false_type {};
template <typename T>
struct HasList<T, std::void_t<decltype(std::declval<T&>().engines)>> : std::true_type {};

struct Answer {
    unsigned long code = 0;
    size_t size = 0;
    uint32_t status = 99;
    int32_t errCode = 0;  // 0 for replies that carry none
    std::string msg;
    uint32_t id = 0;          // add replies
    bool engineZero = false;  // query replies: the engine is all zero bytes
    uint32_t count = 0;
    bool arrayNull = true;
    std::vector<SnapEngineInfoV3Record_t> engines;  // wire texts, "(null)" for null
};

// One engine as a reply carried it, in the widest record; the numbers a
// version lacks keep the record's defaults, its missing texts read as null.
template <typename Wire>
SnapEngineInfoV3Record_t ReadEngine(const Wire& w)
{
    SnapEngineInfoV3Record_t e;
    e.id = static_cast<int32_t>(w.id);
    e.name = ReplyText(w.name);
    e.MultipleSnaps = w.MultipleSnaps == 1;
    e.CrossHostMount = w.CrossHostMount == 1;
    e.SameHostMount = w.SameHostMount == 1;
    e.SyncFunction = w.SyncFunction == 1;
    e.MountCmdHint = ReplyText(w.MountCmdHint);
    e.UnmountCmdHint = ReplyText(w.UnmountCmdHint);
    e.SyncCmdHint = ReplyText(w.SyncCmdHint);
    e.UnsyncCmdHint = ReplyText(w.UnsyncCmdHint);
    e.SnapCmdHint = ReplyText(w.SnapCmdHint);
    e.UnsnapCmdHint = ReplyText(w.UnsnapCmdHint);
    if constexpr (sizeof(Wire) >= sizeof(repSnapEngineInfo42)) {
        e.OsType = static_cast<int32_t>(w.OsType);
        e.Type = static_cast<int32_t>(w.Type);
    }
    if constexpr (sizeof(Wire) == sizeof(repSnapEngineInfoV3))
        e.RollbackCmdHint = ReplyText(w.RollbackCmdHint);
    else
        e.RollbackCmdHint = ReplyText(nullptr);
    return e;
}

template <typename Reply>
Answer Decode(const void* data)
{
    const auto* r = static_cast<const Reply*>(data);
    Answer a;
    a.status = r->status;
    a.msg = ReplyText(r->errMsg);
    if constexpr (cases::HasErrCode<Reply>::value) a.errCode = r->errCode;
    if constexpr (HasId<Reply>::value) a.id = r->id;
    if constexpr (HasEngine<Reply>::value) {
        static const char zeros[sizeof(r->SnapEngineInfo)] = {};
        a.engineZero = std::memcmp(&r->SnapEngineInfo, zeros, sizeof zeros) == 0;
        a.engines.push_back(ReadEngine(r->SnapEngineInfo));
    }
    if constexpr (HasList<Reply>::value) {
        a.count = r->count;
        a.arrayNull = r->engines == nullptr;
        for (uint32_t i = 0; r->engines != nullptr && i < r->count; ++i) a.engines.push_back(ReadEngine(r->engines[i]));
    }
    return a;
}

// The engine of a request; empty texts go as null pointers.
template <typename Wire>
void FillEngine(Wire& w, const SnapEngineInfoV3Record_t& e)
{
    w.id = static_cast<uint32_t>(e.id);
    w.name = RequestText(e.name);
    w.MultipleSnaps = e.MultipleSnaps;
    w.CrossHostMount = e.CrossHostMount;
    w.SameHostMount = e.SameHostMount;
    w.SyncFunction = e.SyncFunction;
    w.MountCmdHint = RequestText(e.MountCmdHint);
    w.UnmountCmdHint = RequestText(e.UnmountCmdHint);
    w.SyncCmdHint = RequestText(e.SyncCmdHint);
    w.UnsyncCmdHint = RequestText(e.UnsyncCmdHint);
    w.SnapCmdHint = RequestText(e.SnapCmdHint);
    w.UnsnapCmdHint = RequestText(e.UnsnapCmdHint);
    if constexpr (sizeof(Wire) >= sizeof(repSnapEngineInfo42)) {
        w.OsType = static_cast<uint32_t>(e.OsType);
        w.Type = static_cast<uint32_t>(e.Type);
    }
    if constexpr (sizeof(Wire) == sizeof(repSnapEngineInfoV3)) w.RollbackCmdHint = RequestText(e.RollbackCmdHint);
}

// A stored row as the widest record.
SnapEngineInfoV3Record_t RowEngine(const YBSnapEngineInfo_t& row)
{
    SnapEngineInfoV3Record_t e;
    e.id = row.id;
    e.name = row.name;
    e.MultipleSnaps = (row.Flags & 0x1) != 0;
    e.CrossHostMount = (row.Flags & 0x2) != 0;
    e.SameHostMount = (row.Flags & 0x4) != 0;
    e.SyncFunction = (row.Flags & 0x8) != 0;
    e.MountCmdHint = row.MountCmdHint;
    e.UnmountCmdHint = row.UnmountCmdHint;
    e.SyncCmdHint = row.SyncCmdHint;
    e.UnsyncCmdHint = row.UnsyncCmdHint;
    e.SnapCmdHint = row.SnapCmdHint;
    e.UnsnapCmdHint = row.UnsnapCmdHint;
    e.OsType = row.OsType;
    e.Type = row.Type;
    e.RollbackCmdHint = row.RollbackCmdHint;
    return e;
}

// The same engine; with wireTexts an empty text of `want` is expected as a
// null pointer.
void ExpectEngine(const SnapEngineInfoV3Record_t& got, const SnapEngineInfoV3Record_t& want, bool wireTexts)
{
    auto text = [wireTexts](const std::string& s) { return wireTexts && s.empty() ? std::string("(null)") : s; };
    EXPECT_EQ(got.id, want.id);
    EXPECT_EQ(got.name, text(want.name));
    EXPECT_EQ(got.MultipleSnaps, want.MultipleSnaps);
    EXPECT_EQ(got.CrossHostMount, want.CrossHostMount);
    EXPECT_EQ(got.SameHostMount, want.SameHostMount);
    EXPECT_EQ(got.SyncFunction, want.SyncFunction);
    EXPECT_EQ(got.MountCmdHint, text(want.MountCmdHint));
    EXPECT_EQ(got.UnmountCmdHint, text(want.UnmountCmdHint));
    EXPECT_EQ(got.SyncCmdHint, text(want.SyncCmdHint));
    EXPECT_EQ(got.UnsyncCmdHint, text(want.UnsyncCmdHint));
    EXPECT_EQ(got.SnapCmdHint, text(want.SnapCmdHint));
    EXPECT_EQ(got.UnsnapCmdHint, text(want.UnsnapCmdHint));
    EXPECT_EQ(got.OsType, want.OsType);
    EXPECT_EQ(got.Type, want.Type);
    EXPECT_EQ(got.RollbackCmdHint, text(want.RollbackCmdHint));
}

SnapEngineInfoV3Record_t Engine(const std::string& name)
{
    SnapEngineInfoV3Record_t e;
    e.name = name;
    e.MultipleSnaps = true;
    e.SameHostMount = true;
    e.MountCmdHint = "mount %dev";
    e.UnmountCmdHint = "umount %dev";
    e.SyncCmdHint = "sync";
    e.UnsyncCmdHint = "unsync";
    e.SnapCmdHint = "snap -a";
    e.UnsnapCmdHint = "unsnap -a";
    e.OsType = 2;
    e.Type = 5;
    e.RollbackCmdHint = "rollback";
    return e;
}

using EngineV1 = FamilyVersion<1, repAddSnapEngineInfoReq, repAddSnapEngineInfoResp, repQuerySnapEngineInfoByIdReq,
                               repQuerySnapEngineInfoByIdResp, repUpdateSnapEngineInfoReq, repUpdateSnapEngineInfoResp,
                               repGetSnapEngineInfoListResp, 0x35000029, 0x3500002b, 0x3500002f, 0x35000031>;
using Engine42 = FamilyVersion<42, repAddSnapEngineInfo42Req, repAddSnapEngineInfo42Resp,
                               repQuerySnapEngineInfo42ByIdReq, repQuerySnapEngineInfo42ByIdResp,
                               repUpdateSnapEngineInfo42Req, repUpdateSnapEngineInfo42Resp,
                               repGetSnapEngineInfo42ListResp, 0x350000a1, 0x350000a3, 0x350000a5, 0x350000a7>;
using EngineV3 = FamilyVersion<3, repAddSnapEngineInfoV3Req, repAddSnapEngineInfoV3Resp,
                               repQuerySnapEngineInfoV3ByIdReq, repQuerySnapEngineInfoV3ByIdResp,
                               repUpdateSnapEngineInfoV3Req, repUpdateSnapEngineInfoV3Resp,
                               repGetSnapEngineInfoV3ListResp, 0x35000133, 0x35000135, 0x35000137, 0x35000139>;

template <typename V>
class SnapEngineTest : public PolicyPostTest<Answer> {
protected:
    template <typename Reply>
    Answer send(unsigned long code, void* request)
    {
        return PolicyPostTest::send(code, request, sizeof(Reply), &Decode<Reply>);
    }

    Answer add(const SnapEngineInfoV3Record_t& e)
    {
        typename V::AddReq req{};
        FillEngine(req.SnapEngineInfo, e);
        return send<typename V::AddResp>(V::add, &req);
    }
    Answer query(uint32_t id)
    {
        typename V::QueryReq req{};
        req.id = id;
        return send<typename V::QueryResp>(V::query, &req);
    }
    Answer update(const SnapEngineInfoV3Record_t& e)
    {
        typename V::UpdateReq req{};
        FillEngine(req.SnapEngineInfo, e);
        return send<typename V::UpdateResp>(V::update, &req);
    }
    // The list request carries no data.
    Answer list() { return send<typename V::ListResp>(V::list, nullptr); }
    Answer removeById(uint32_t id)
    {
        repRemoveSnapEngineInfoReq req{id};
        return send<repRemoveSnapEngineInfoResp>(0x3500002d, &req);
    }
    Answer removeByName(const std::string& name)
    {
        repRemoveSnapEngineInfoByNameReq req{RequestText(name)};
        return send<repRemoveSnapEngineInfoByNameResp>(0x3500008f, &req);
    }

    void expectSuccess(const Answer& a)
    {
        EXPECT_EQ(a.status, 1u);
        EXPECT_EQ(a.msg, "(null)");
        EXPECT_EQ(a.errCode, 0);
    }
    // Status 0, the text and, in version 3, the code; no id.
    void expectFailure(const Answer& a, int code, const std::string& text)
    {
        EXPECT_EQ(a.status, 0u);
        EXPECT_EQ(a.msg, text);
        EXPECT_EQ(a.errCode, V::number == 3 ? code : 0);
        EXPECT_EQ(a.id, 0u);
    }

    // The engine as this version stores it: what the version does not carry
    // stays 0 or empty.
    static SnapEngineInfoV3Record_t asStored(SnapEngineInfoV3Record_t e, int32_t id)
    {
        e.id = id;
        if (V::number == 1) e.OsType = e.Type = 0;
        if (V::number != 3) e.RollbackCmdHint = "";
        return e;
    }

    std::vector<YBSnapEngineInfo_t> stored() { return StoredRows<YBSnapEngineInfo_t, CSnapEngineInfoDB>(); }
    std::string dump() { return DumpTable(m_path, "YBSnapEngineInfo"); }
};

using EngineVersions = ::testing::Types<EngineV1, Engine42, EngineV3>;
TYPED_TEST_SUITE(SnapEngineTest, EngineVersions);

TYPED_TEST(SnapEngineTest, AddQueryUpdateListAndRemoveById)
{
    SnapEngineInfoV3Record_t e = Engine("primary");
    Answer a = this->add(e);
    this->expectSuccess(a);
    const int32_t id = static_cast<int32_t>(a.id);
    ASSERT_GT(id, 0);
    auto rows = this->stored();
    ASSERT_EQ(rows.size(), 1u);
    ExpectEngine(RowEngine(rows[0]), this->asStored(e, id), false);

    a = this->query(static_cast<uint32_t>(id));
    this->expectSuccess(a);
    ASSERT_EQ(a.engines.size(), 1u);
    ExpectEngine(a.engines[0], this->asStored(e, id), true);

    e.id = id;
    e.name = "renamed";
    e.MultipleSnaps = false;
    e.MountCmdHint = "mount -o ro";
    e.UnmountCmdHint = "";
    this->expectSuccess(this->update(e));
    a = this->query(static_cast<uint32_t>(id));
    ASSERT_EQ(a.engines.size(), 1u);
    EXPECT_EQ(a.engines[0].name, "renamed");
    EXPECT_FALSE(a.engines[0].MultipleSnaps);
    EXPECT_EQ(a.engines[0].MountCmdHint, "mount -o ro");
    EXPECT_EQ(a.engines[0].UnmountCmdHint, "(null)");  // emptied, and sent as a null text

    const uint32_t second = this->add(Engine("second")).id;
    a = this->list();
    this->expectSuccess(a);
    ASSERT_EQ(a.count, 2u);
    ASSERT_EQ(a.engines.size(), 2u);
    EXPECT_EQ(a.engines[0].name, "renamed");
    ExpectEngine(a.engines[1], this->asStored(Engine("second"), static_cast<int32_t>(second)), true);

    this->expectSuccess(this->removeById(static_cast<uint32_t>(id)));
    rows = this->stored();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].id, static_cast<int32_t>(second));
    this->expectFailure(this->query(static_cast<uint32_t>(id)), -3, "Record not found");
}

TYPED_TEST(SnapEngineTest, AddUnderAStoredNameAnswersTheLowestIdAndChangesNothing)
{
    this->exec("INSERT INTO YBSnapEngineInfo (id, name, Flags, MountCmdHint, Type) VALUES"
               " (9, 'shared', 1, 'a', 1), (4, 'shared', 2, 'b', 2), (6, 'other', 0, '', 0)");
    const std::string before = this->dump();
    Answer a = this->add(Engine("shared"));
    this->expectSuccess(a);
    EXPECT_EQ(a.id, 4u);
    EXPECT_EQ(this->dump(), before);
    EXPECT_EQ(LogEntriesWith("ReplicationMgrInserts").size(), 1u);
    EXPECT_EQ(LogEntriesWith("\tname = 'shared' was found in the database\n\tReturning id = 4").size(), 1u);
}

TYPED_TEST(SnapEngineTest, QuotesInNamesAndHintsAreStoredAsTheyAre)
{
    SnapEngineInfoV3Record_t e = Engine("it's O'Neil's");
    e.MountCmdHint = "mount '%dev' 'x'";
    e.RollbackCmdHint = "rb ''";
    const uint32_t id = this->add(e).id;
    ASSERT_GT(id, 0u);
    EXPECT_EQ(this->add(e).id, id);  // found again under the quoted name
    auto rows = this->stored();
    ASSERT_EQ(rows.size(), 1u);
    ExpectEngine(RowEngine(rows[0]), this->asStored(e, static_cast<int32_t>(id)), false);

    e.id = static_cast<int32_t>(id);
    e.name = "x' OR '1'='1";
    e.UnsnapCmdHint = "'; DROP TABLE YBSnapEngineInfo; --";
    this->expectSuccess(this->update(e));
    Answer a = this->list();
    ASSERT_EQ(a.engines.size(), 1u);
    EXPECT_EQ(a.engines[0].name, "x' OR '1'='1");
    EXPECT_EQ(a.engines[0].UnsnapCmdHint, "'; DROP TABLE YBSnapEngineInfo; --");
}

TYPED_TEST(SnapEngineTest, TextsLongerThanTheirColumnsAreRefusedBeforeAnythingIsWritten)
{
    const std::string before = this->dump();
    this->expectFailure(this->add(Engine("")), -2, "Cannot include snap engine information with a missing name value");
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::AddSnapEngineInfoDB()\n\tEvent: Name field of the SnapEngineInfo table is empty")
                  .size(),
              1u);
    this->expectFailure(this->add(Engine(std::string(128, 'n'))), -18, "Field Snap Engine Name is not valid");
    // Each hint too long names its own field.
    const std::vector<std::pair<std::string SnapEngineInfoV3Record_t::*, const char*>> hints = {
        {&SnapEngineInfoV3Record_t::MountCmdHint, "Field Snap Engine Mount Command Hint is not valid"},
        {&SnapEngineInfoV3Record_t::UnmountCmdHint, "Field Snap Engine Unmount Command Hint is not valid"},
        {&SnapEngineInfoV3Record_t::SyncCmdHint, "Field Snap Engine Sync Command Hint is not valid"},
        {&SnapEngineInfoV3Record_t::UnsyncCmdHint, "Field Snap Engine Unsync Command Hint is not valid"},
        {&SnapEngineInfoV3Record_t::SnapCmdHint, "Field Snap Engine Snap Command Hint is not valid"},
        {&SnapEngineInfoV3Record_t::UnsnapCmdHint, "Field Snap Engine Unsnap Command Hint is not valid"},
    };
    SnapEngineInfoV3Record_t e;
    for (const auto& hint : hints) {
        SCOPED_TRACE(hint.second);
        e = Engine("long");
        e.*hint.first = std::string(256, 'h');
        this->expectFailure(this->add(e), -18, hint.second);
    }
    if (TypeParam::number == 3) {
        e = Engine("long");
        e.RollbackCmdHint = std::string(256, 'r');
        this->expectFailure(this->add(e), -18, "Field Snap Engine Rollback Command Hint is not valid");
    }
    EXPECT_EQ(this->dump(), before);

    // At their limits the texts are stored whole.
    e = Engine(std::string(127, 'n'));
    e.MountCmdHint = e.UnsnapCmdHint = e.RollbackCmdHint = std::string(255, 'h');
    const uint32_t id = this->add(e).id;
    ASSERT_GT(id, 0u);
    auto rows = this->stored();
    ASSERT_EQ(rows.size(), 1u);
    ExpectEngine(RowEngine(rows[0]), this->asStored(e, static_cast<int32_t>(id)), false);

    const std::string stored = this->dump();
    e.id = static_cast<int32_t>(id);
    e.SyncCmdHint = std::string(256, 's');
    this->expectFailure(this->update(e), -18, "Field Snap Engine Sync Command Hint is not valid");
    EXPECT_EQ(this->dump(), stored);
}

TYPED_TEST(SnapEngineTest, UpdateWritesTheColumnsOfItsVersionAndKeepsOtherFlagBits)
{
    this->exec("INSERT INTO YBSnapEngineInfo (id, name, Flags, MountCmdHint, UnmountCmdHint, SyncCmdHint,"
               " UnsyncCmdHint, SnapCmdHint, UnsnapCmdHint, OsType, Type, RollbackCmdHint) VALUES"
               " (7, 'old', 17, 'm0', 'u0', 's0', 'us0', 'sn0', 'usn0', 3, 2, 'r0')");
    SnapEngineInfoV3Record_t e;
    e.id = 7;
    e.name = "new";
    e.CrossHostMount = e.SameHostMount = true;
    e.MountCmdHint = "m1";
    e.SyncCmdHint = "s1";
    e.UnsyncCmdHint = "us1";
    e.SnapCmdHint = "sn1";
    e.UnsnapCmdHint = "usn1";
    e.OsType = 8;
    e.Type = 5;
    e.RollbackCmdHint = "r1";
    this->expectSuccess(this->update(e));

    auto rows = this->stored();
    ASSERT_EQ(rows.size(), 1u);
    const YBSnapEngineInfo_t& row = rows[0];
    EXPECT_EQ(row.Flags, 0x16);  // the four flags from the request, 0x10 as stored
    EXPECT_STREQ(row.name, "new");
    EXPECT_STREQ(row.MountCmdHint, "m1");
    EXPECT_STREQ(row.UnmountCmdHint, "");  // an empty hint empties its column
    EXPECT_STREQ(row.SyncCmdHint, "s1");
    EXPECT_STREQ(row.UnsnapCmdHint, "usn1");
    const bool v1 = TypeParam::number == 1;
    EXPECT_STREQ(row.UnsyncCmdHint, v1 ? "us0" : "us1");
    EXPECT_STREQ(row.SnapCmdHint, v1 ? "sn0" : "sn1");
    EXPECT_EQ(row.OsType, v1 ? 3 : 8);
    EXPECT_EQ(row.Type, TypeParam::number == 42 ? 5 : 2);
    EXPECT_STREQ(row.RollbackCmdHint, TypeParam::number == 3 ? "r1" : "r0");
}

TYPED_TEST(SnapEngineTest, RefusalsOfQueryAndUpdate)
{
    Answer a = this->query(0);
    this->expectFailure(a, -6, "Invalid Snap engine info identifier");
    EXPECT_TRUE(a.engineZero);
    EXPECT_EQ(LogEntriesWith("ReplicationMgrQueries[").size(), 1u);
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::QuerySnapEngineInfo()\n\tEvent: Invalid Snap engine info identifier"
                             "\n\tParameters used:\n\tSnap Engine Info Id = 0")
                  .size(),
              1u);
    a = this->query(77);
    this->expectFailure(a, -3, "Record not found");
    EXPECT_TRUE(a.engineZero);

    SnapEngineInfoV3Record_t e = Engine("e");
    e.id = 0;
    this->expectFailure(this->update(e), -6, "Cannot update snap engine information with invalid values");
    e.id = 77;
    this->expectFailure(this->update(e), -3, "Snap Engine not found");
    EXPECT_TRUE(this->stored().empty());
}

TYPED_TEST(SnapEngineTest, FailureAtEachDatabaseStepChangesNothing)
{
    this->exec("INSERT INTO YBSnapEngineInfo (id, name, Flags, MountCmdHint) VALUES (7, 'seed', 1, 'm')");
    SnapEngineInfoV3Record_t changed = Engine("changed");
    changed.id = 7;
    const std::vector<FailingStep<Answer>> steps = {
        {"startTran", [&] { return this->add(Engine("new")); }, -7, DBTranErrorMsg},
        {"getList", [&] { return this->add(Engine("new")); }, -4, "Cannot include new snap engine information"},
        {"insert", [&] { return this->add(Engine("new")); }, -4,
         "Cannot include new snap engine info record into the database"},
        {"commitTran", [&] { return this->add(Engine("new")); }, -4, "Could not commit database transactions"},
        {"getInfo", [&] { return this->query(7); }, -4, "Cannot access Snap engine information from the database"},
        {"startTran", [&] { return this->update(changed); }, -7, DBTranErrorMsg},
        {"getInfo", [&] { return this->update(changed); }, -4, "Cannot access Snap Engine information from the database"},
        {"Update", [&] { return this->update(changed); }, -4, "Could not update snap engine information from database"},
        {"commitTran", [&] { return this->update(changed); }, -4, "Could not commit database transactions"},
        {"getList", [&] { return this->list(); }, -4, "Cannot get the list of snap engine records from the database"},
    };
    const std::string before = this->dump();
    for (const FailingStep<Answer>& step : steps) {
        SCOPED_TRACE(std::string(step.call) + ": " + step.text);
        HostDBFaults::failNext(step.call, 7);
        Answer a = step.request();
        this->expectFailure(a, step.code, step.text);
        EXPECT_EQ(a.count, 0u);
        EXPECT_TRUE(a.arrayNull);
        EXPECT_TRUE(a.engines.empty() || a.engineZero);
        EXPECT_EQ(this->dump(), before);
        HostDBFaults::clear();
    }

    AllocReplyArray = &NoMemory;
    Answer a = this->list();
    this->expectFailure(a, -5, NoMemoryErrMsg);
    EXPECT_TRUE(a.arrayNull);
}

TYPED_TEST(SnapEngineTest, ListOfAnEmptyTable)
{
    Answer a = this->list();
    this->expectSuccess(a);
    EXPECT_EQ(a.count, 0u);
    EXPECT_TRUE(a.arrayNull);
    if (TypeParam::number == 3) {
        EXPECT_EQ(a.code, 0x35000140u);
    }
}

// ---- Removal by id and by name ------------------------------------------------------

class SnapEngineRemoveTest : public SnapEngineTest<EngineV1> {
protected:
    void SetUp() override
    {
        SnapEngineTest::SetUp();
        exec("INSERT INTO YBSnapEngineInfo (id, name) VALUES (3, 'dup'), (4, 'Dup'), (5, 'O''Neil'), (6, 'keep')");
    }
    // The removes carry no code in any version.
    void expectRefused(const Answer& a, const std::string& text, const std::string& before)
    {
        EXPECT_EQ(a.status, 0u);
        EXPECT_EQ(a.msg, text);
        EXPECT_EQ(dump(), before);
    }
};

TEST_F(SnapEngineRemoveTest, RemoveByIdRefusals)
{
    const std::string before = dump();
    expectRefused(removeById(0), "Cannot remove snap engine info from the database with invalid values", before);
    expectRefused(removeById(99), "Cannot remove snap engine info from the database", before);
    HostDBFaults::failNext("remove", 7);
    expectRefused(removeById(3), "Cannot remove snap engine info from the database", before);
    EXPECT_EQ(LogEntriesWith("ReplicationMgrDeletes[").size(), 3u);
    EXPECT_EQ(LogEntriesWith("\n\tCSnapEngineInfoDB::remove() failed\n\tParameters used:\n\tSnap Engine Info ID = 3")
                  .size(),
              1u);
    HostDBFaults::failNext("startTran", 7);
    expectRefused(removeById(3), DBTranErrorMsg, before);
    HostDBFaults::failNext("commitTran", 7);
    expectRefused(removeById(3), "Could not commit database transactions", before);
    EXPECT_EQ(LogEntriesWith("\tMessage REPLICA_PM_RemoveSnapEngineInfo_REQ completed unsuccessfully"
                             "\n\tSending reply REPLICA_PM_RemoveSnapEngineInfo_RESP to client...")
                  .size(),
              5u);
}

TEST_F(SnapEngineRemoveTest, RemoveByNameRemovesEveryEngineOfTheName)
{
    const std::string before = dump();
    expectRefused(removeByName(""), "Cannot remove snap engine info from the database with an empty name argument",
                  before);
    expectRefused(removeByName("missing"), "Cannot remove snap engine info from the database", before);
    HostDBFaults::failNext("remove", 7);
    expectRefused(removeByName("dup"), "Cannot remove snap engine info from the database", before);
    HostDBFaults::failNext("startTran", 7);
    expectRefused(removeByName("dup"), DBTranErrorMsg, before);

    // Names are compared as the catalogue compares them, without regard to case.
    expectSuccess(removeByName("dup"));
    expectSuccess(removeByName("O'Neil"));
    auto rows = stored();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_STREQ(rows[0].name, "keep");
    EXPECT_EQ(LogEntriesWith("\tSnap Engine Info O'Neil was removed successfully...").size(), 1u);
}

// Neither remove looks for what still names the engine: a pool, a policy and
// volume snap parameters keep its id, and nothing else of theirs changes.
TEST_F(SnapEngineRemoveTest, RowsThatNameARemovedEngineKeepItsId)
{
    exec("INSERT INTO YBScratchPool (id, name, SnapEngineInfoId, Type) VALUES (1, 'pool', 3, 1);"
         "INSERT INTO YBPolicy (id, name, SnapEngineInfoId, VolumeScratchPoolId) VALUES (2, 'policy', 3, 1);"
         "INSERT INTO YBVolSnapParams (SNRVolumeId, SnapEngineId, MountCmd) VALUES (8, 3, 'mount')");
    const std::string pools = dump();
    const std::string others = DumpTable(m_path, "YBScratchPool") + DumpTable(m_path, "YBPolicy") +
                               DumpTable(m_path, "YBVolSnapParams");
    expectSuccess(removeById(3));
    EXPECT_NE(dump(), pools);
    EXPECT_EQ(DumpTable(m_path, "YBScratchPool") + DumpTable(m_path, "YBPolicy") + DumpTable(m_path, "YBVolSnapParams"),
              others);
}

}  // namespace
