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
#include "policies/VolSnapParams.h"
#include "service/ReplicationMgr.h"
#include "service/CasePatterns.h"
#include "service/Utils.h"
#include "snr/SNRPostFixture.h"
#include "support/TestHost.h"

namespace {

template <typename T, typename = void>
struct HasParams : std::false_type {};
template <typename T>
struct HasParams<T, std::void_t<decltype(std::declval<T&>().VolSnapParams)>> : std::true_type {};
template <typename T, typename = void>
struct HasList : std::false_type {};
template <typename T>
struct HasList<T, std::void_t<decltype(std::declval<T&>().params)>> : std::true_type {};

struct Answer {
    unsigned long code = 0;
    size_t size = 0;
    uint32_t status = 99;
    int32_t errCode = 0;  // 0 for replies that carry none
    std::string msg;
    bool paramsZero = false;  // query replies: the parameters are all zero bytes
    uint32_t count = 0;
    bool arrayNull = true;
    std::vector<VolSnapParamsV2Record_t> params;  // wire texts, "(null)" for null
};

template <typename Wire>
VolSnapParamsV2Record_t ReadParams(const Wire& w)
{
    VolSnapParamsV2Record_t p;
    p.SNRVolumeId = static_cast<int32_t>(w.SNRVolumeId);
    p.SnapEngineId = static_cast<int32_t>(w.SnapEngineId);
    p.MountClientId = static_cast<int32_t>(w.MountClientId);
    p.MountCmd = ReplyText(w.MountCmd);
    p.UnmountCmd = ReplyText(w.UnmountCmd);
    p.SyncClientId = static_cast<int32_t>(w.SyncClientId);
    p.SyncCmd = ReplyText(w.SyncCmd);
    p.UnsyncCmd = ReplyText(w.UnsyncCmd);
    p.SnapClientId = static_cast<int32_t>(w.SnapClientId);
    p.SnapCmd = ReplyText(w.SnapCmd);
    p.UnsnapCmd = ReplyText(w.UnsnapCmd);
    if constexpr (sizeof(Wire) == sizeof(repVolumeSnapParamsV2)) {
        p.FlagBit1 = w.FlagBit1 == 1;
        p.RollbackCmd = ReplyText(w.RollbackCmd);
    } else {
        p.RollbackCmd = ReplyText(nullptr);  // not carried
    }
    return p;
}

template <typename Reply>
Answer Decode(const void* data)
{
    const auto* r = static_cast<const Reply*>(data);
    Answer a;
    a.status = r->status;
    a.msg = ReplyText(r->errMsg);
    if constexpr (cases::HasErrCode<Reply>::value) a.errCode = r->errCode;
    if constexpr (HasParams<Reply>::value) {
        static const char zeros[sizeof(r->VolSnapParams)] = {};
        a.paramsZero = std::memcmp(&r->VolSnapParams, zeros, sizeof zeros) == 0;
        a.params.push_back(ReadParams(r->VolSnapParams));
    }
    if constexpr (HasList<Reply>::value) {
        a.count = r->count;
        a.arrayNull = r->params == nullptr;
        for (uint32_t i = 0; r->params != nullptr && i < r->count; ++i) a.params.push_back(ReadParams(r->params[i]));
    }
    return a;
}

template <typename Wire>
void FillParams(Wire& w, const VolSnapParamsV2Record_t& p)
{
    w.SNRVolumeId = static_cast<uint32_t>(p.SNRVolumeId);
    w.SnapEngineId = static_cast<uint32_t>(p.SnapEngineId);
    w.MountClientId = static_cast<uint32_t>(p.MountClientId);
    w.MountCmd = RequestText(p.MountCmd);
    w.UnmountCmd = RequestText(p.UnmountCmd);
    w.SyncClientId = static_cast<uint32_t>(p.SyncClientId);
    w.SyncCmd = RequestText(p.SyncCmd);
    w.UnsyncCmd = RequestText(p.UnsyncCmd);
    w.SnapClientId = static_cast<uint32_t>(p.SnapClientId);
    w.SnapCmd = RequestText(p.SnapCmd);
    w.UnsnapCmd = RequestText(p.UnsnapCmd);
    if constexpr (sizeof(Wire) == sizeof(repVolumeSnapParamsV2)) {
        w.FlagBit1 = p.FlagBit1 ? 1 : 0;
        w.RollbackCmd = RequestText(p.RollbackCmd);
    }
}

VolSnapParamsV2Record_t RowParams(const YBVolSnapParams_t& row)
{
    VolSnapParamsV2Record_t p;
    p.SNRVolumeId = row.SNRVolumeId;
    p.SnapEngineId = row.SnapEngineId;
    p.MountClientId = row.MountClientId;
    p.MountCmd = row.MountCmd;
    p.UnmountCmd = row.UnmountCmd;
    p.SyncClientId = row.SyncClientId;
    p.SyncCmd = row.SyncCmd;
    p.UnsyncCmd = row.UnsyncCmd;
    p.SnapClientId = row.SnapClientId;
    p.SnapCmd = row.SnapCmd;
    p.UnsnapCmd = row.UnsnapCmd;
    p.FlagBit1 = (row.Flags & 0x1) != 0;
    p.RollbackCmd = row.RollbackCmd;
    return p;
}

void ExpectParams(const VolSnapParamsV2Record_t& got, const VolSnapParamsV2Record_t& want, bool wireTexts)
{
    auto text = [wireTexts](const std::string& s) { return wireTexts && s.empty() ? std::string("(null)") : s; };
    EXPECT_EQ(got.SNRVolumeId, want.SNRVolumeId);
    EXPECT_EQ(got.SnapEngineId, want.SnapEngineId);
    EXPECT_EQ(got.MountClientId, want.MountClientId);
    EXPECT_EQ(got.MountCmd, text(want.MountCmd));
    EXPECT_EQ(got.UnmountCmd, text(want.UnmountCmd));
    EXPECT_EQ(got.SyncClientId, want.SyncClientId);
    EXPECT_EQ(got.SyncCmd, text(want.SyncCmd));
    EXPECT_EQ(got.UnsyncCmd, text(want.UnsyncCmd));
    EXPECT_EQ(got.SnapClientId, want.SnapClientId);
    EXPECT_EQ(got.SnapCmd, text(want.SnapCmd));
    EXPECT_EQ(got.UnsnapCmd, text(want.UnsnapCmd));
    EXPECT_EQ(got.FlagBit1, want.FlagBit1);
    EXPECT_EQ(got.RollbackCmd, text(want.RollbackCmd));
}

VolSnapParamsV2Record_t Params(int32_t volumeId)
{
    VolSnapParamsV2Record_t p;
    p.SNRVolumeId = volumeId;
    p.SnapEngineId = 2;
    p.MountClientId = 3;
    p.SyncClientId = 4;
    p.SnapClientId = 5;
    p.MountCmd = "mount /dev/x";
    p.UnmountCmd = "umount /dev/x";
    p.SyncCmd = "sync";
    p.UnsyncCmd = "";
    p.SnapCmd = "snap 'vol'";
    p.UnsnapCmd = "unsnap";
    p.FlagBit1 = true;
    p.RollbackCmd = "rollback";
    return p;
}

using ParamsV1 = FamilyVersion<1, repAddVolSnapParamsReq, repAddVolSnapParamsResp, repQueryVolSnapParamsBySNRVolReq,
                               repQueryVolSnapParamsBySNRVolResp, repUpdateVolSnapParamsReq, repUpdateVolSnapParamsResp,
                               repGetVolSnapParamsListResp, 0x35000033, 0x35000035, 0x35000039, 0x3500003b>;
using ParamsV2 = FamilyVersion<2, repAddVolSnapParamsV2Req, repAddVolSnapParamsV2Resp,
                               repQueryVolSnapParamsV2BySNRVolReq, repQueryVolSnapParamsV2BySNRVolResp,
                               repUpdateVolSnapParamsV2Req, repUpdateVolSnapParamsV2Resp, repGetVolSnapParamsV2ListResp,
                               0x350000d1, 0x350000d3, 0x350000d5, 0x350000d7>;

template <typename V>
class VolSnapParamsTest : public PolicyPostTest<Answer> {
protected:
    template <typename Reply>
    Answer send(unsigned long code, void* request)
    {
        return PolicyPostTest::send(code, request, sizeof(Reply), &Decode<Reply>);
    }

    Answer add(const VolSnapParamsV2Record_t& p)
    {
        typename V::AddReq req{};
        FillParams(req.VolSnapParams, p);
        return send<typename V::AddResp>(V::add, &req);
    }
    Answer query(uint32_t id)
    {
        typename V::QueryReq req{};
        req.SNRVolumeId = id;
        return send<typename V::QueryResp>(V::query, &req);
    }
    Answer update(const VolSnapParamsV2Record_t& p)
    {
        typename V::UpdateReq req{};
        FillParams(req.VolSnapParams, p);
        return send<typename V::UpdateResp>(V::update, &req);
    }
    Answer list() { return send<typename V::ListResp>(V::list, nullptr); }
    Answer remove(uint32_t id)
    {
        repRemoveVolSnapParamsReq req{id};
        return send<repRemoveVolSnapParamsResp>(0x35000037, &req);
    }

    void expectSuccess(const Answer& a)
    {
        EXPECT_EQ(a.status, 1u);
        EXPECT_EQ(a.msg, "(null)");
        EXPECT_EQ(a.errCode, 0);
    }
    // Status 0, the text and, in version 2, the code.
    void expectFailure(const Answer& a, int code, const std::string& text)
    {
        EXPECT_EQ(a.status, 0u);
        EXPECT_EQ(a.msg, text);
        EXPECT_EQ(a.errCode, V::number == 2 ? code : 0);
    }

    // The parameters as this version stores them.
    static VolSnapParamsV2Record_t asStored(VolSnapParamsV2Record_t p)
    {
        if (V::number == 1) {
            p.FlagBit1 = false;
            p.RollbackCmd = "";
        }
        return p;
    }

    std::vector<YBVolSnapParams_t> stored()
    {
        return StoredRows<YBVolSnapParams_t, CVolumeSnapParamsDB>("SNRVolumeId ASC");
    }
    std::string dump() { return DumpTable(m_path, "YBVolSnapParams"); }
};

using ParamsVersions = ::testing::Types<ParamsV1, ParamsV2>;
TYPED_TEST_SUITE(VolSnapParamsTest, ParamsVersions);

TYPED_TEST(VolSnapParamsTest, AddQueryUpdateListAndRemove)
{
    VolSnapParamsV2Record_t p = Params(5);
    this->expectSuccess(this->add(p));
    auto rows = this->stored();
    ASSERT_EQ(rows.size(), 1u);
    ExpectParams(RowParams(rows[0]), this->asStored(p), false);
    EXPECT_EQ(LogEntriesWith("\tVolume Snap parameters for SNR Volume 5 were added").size(), 1u);

    Answer a = this->query(5);
    this->expectSuccess(a);
    ASSERT_EQ(a.params.size(), 1u);
    ExpectParams(a.params[0], this->asStored(p), true);

    p.SnapEngineId = 9;
    p.MountCmd = "mount -r";
    p.RollbackCmd = "rollback -f";
    this->expectSuccess(this->update(p));
    a = this->query(5);
    ASSERT_EQ(a.params.size(), 1u);
    ExpectParams(a.params[0], this->asStored(p), true);

    this->expectSuccess(this->add(Params(3)));
    a = this->list();
    this->expectSuccess(a);
    ASSERT_EQ(a.count, 2u);
    ASSERT_EQ(a.params.size(), 2u);
    ExpectParams(a.params[0], this->asStored(Params(3)), true);
    ExpectParams(a.params[1], this->asStored(p), true);

    a = this->remove(5);
    EXPECT_EQ(a.status, 1u);
    EXPECT_EQ(a.msg, "(null)");
    rows = this->stored();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].SNRVolumeId, 3);
    a = this->query(5);
    this->expectFailure(a, -3, "Volume Snap Parameters record not found");
    EXPECT_TRUE(a.paramsZero);
}

TYPED_TEST(VolSnapParamsTest, AddRefusesNegativeIdsAndCommandsLongerThanTheirColumns)
{
    using Record = VolSnapParamsV2Record_t;
    const std::string before = this->dump();
    for (int32_t Record::*id : {&Record::SNRVolumeId, &Record::SnapEngineId, &Record::MountClientId,
                                &Record::SyncClientId, &Record::SnapClientId}) {
        VolSnapParamsV2Record_t p = Params(5);
        p.*id = -1;
        this->expectFailure(this->add(p), -6,
                            "Cannot add a volume snap parameters record to the database with invalid values");
    }

    std::vector<std::pair<std::string Record::*, const char*>> commands = {
        {&Record::MountCmd, "Mount Command is too long"},   {&Record::UnmountCmd, "Unmount command is too long"},
        {&Record::SyncCmd, "Sync Command is too long"},     {&Record::UnsyncCmd, "Unsync command is too long"},
        {&Record::SnapCmd, "Snap command is too long"},     {&Record::UnsnapCmd, "Unsnap command is too long"},
    };
    if (TypeParam::number == 2) commands.push_back({&Record::RollbackCmd, "Rollback command is too long"});
    for (const auto& command : commands) {
        VolSnapParamsV2Record_t p = Params(5);
        p.*command.first = std::string(256, 'c');
        this->expectFailure(this->add(p), -18, command.second);
    }
    EXPECT_EQ(this->dump(), before);

    // All ids 0 and commands of 255 characters are stored.
    VolSnapParamsV2Record_t p = Params(0);
    p.SnapEngineId = p.MountClientId = p.SyncClientId = p.SnapClientId = 0;
    for (const auto& command : commands) p.*command.first = std::string(255, 'c');
    this->expectSuccess(this->add(p));
    auto rows = this->stored();
    ASSERT_EQ(rows.size(), 1u);
    ExpectParams(RowParams(rows[0]), this->asStored(p), false);

    // A second row for the same volume fails at the insert.
    const std::string stored = this->dump();
    this->expectFailure(this->add(p), -4, "Cannot include new volume snap parameters into the database");
    EXPECT_EQ(this->dump(), stored);
}

TYPED_TEST(VolSnapParamsTest, UpdateKeepsUnsetIdsClearsBlankCommandsAndChangesOnlyItsFlag)
{
    this->exec("INSERT INTO YBVolSnapParams (SNRVolumeId, SnapEngineId, MountClientId, MountCmd, UnmountCmd,"
               " SyncClientId, SyncCmd, UnsyncCmd, SnapClientId, SnapCmd, UnsnapCmd, Flags, RollbackCmd) VALUES"
               " (5, 4, 6, 'm0', 'u0', 7, 's0', 'us0', 8, 'sn0', 'usn0', 6, 'r0')");
    VolSnapParamsV2Record_t p;
    p.SNRVolumeId = 5;
    p.SnapEngineId = 0;
    p.MountClientId = -1;
    p.SyncClientId = 9;
    p.SnapClientId = 0;
    p.MountCmd = "";
    p.UnmountCmd = " umount";
    p.SyncCmd = "it's";
    p.UnsyncCmd = "us1";
    p.SnapCmd = "sn1";
    p.UnsnapCmd = " unsnap";
    p.FlagBit1 = true;
    p.RollbackCmd = "r1";
    this->expectSuccess(this->update(p));

    auto rows = this->stored();
    ASSERT_EQ(rows.size(), 1u);
    const YBVolSnapParams_t& row = rows[0];
    EXPECT_EQ(row.SnapEngineId, 4);
    EXPECT_EQ(row.MountClientId, 6);
    EXPECT_EQ(row.SyncClientId, 9);
    EXPECT_EQ(row.SnapClientId, 8);
    EXPECT_STREQ(row.MountCmd, "");
    EXPECT_STREQ(row.UnmountCmd, "");
    EXPECT_STREQ(row.SyncCmd, "it's");
    EXPECT_STREQ(row.UnsyncCmd, "us1");
    EXPECT_STREQ(row.SnapCmd, "sn1");
    EXPECT_STREQ(row.UnsnapCmd, "");
    EXPECT_EQ(row.Flags, TypeParam::number == 2 ? 7 : 6);
    EXPECT_STREQ(row.RollbackCmd, TypeParam::number == 2 ? "r1" : "r0");

    p.FlagBit1 = false;
    this->expectSuccess(this->update(p));
    EXPECT_EQ(this->stored()[0].Flags, 6);

    const std::string before = this->dump();
    p.SnapCmd = std::string(256, 's');
    this->expectFailure(this->update(p), -18, "Snap command is too long");
    p.SnapCmd = "sn1";
    p.SNRVolumeId = -1;
    this->expectFailure(this->update(p), -6, "Cannot update volume snap parameters information with invalid values");
    p.SNRVolumeId = 0;
    this->expectFailure(this->update(p), -3, "Record not found");
    EXPECT_EQ(this->dump(), before);
}

TYPED_TEST(VolSnapParamsTest, QueryOfAnInvalidOrMissingVolume)
{
    Answer a = this->query(0);
    this->expectFailure(a, -6, "Invalid Volume snap parameters identifier");
    EXPECT_TRUE(a.paramsZero);
    a = this->query(12);
    this->expectFailure(a, -3, "Volume Snap Parameters record not found");
    EXPECT_TRUE(a.paramsZero);
}

TYPED_TEST(VolSnapParamsTest, FailureAtEachDatabaseStepChangesNothing)
{
    this->exec("INSERT INTO YBVolSnapParams (SNRVolumeId, SnapEngineId, MountCmd) VALUES (5, 2, 'm')");
    const std::vector<FailingStep<Answer>> steps = {
        {"startTran", [&] { return this->add(Params(6)); }, -7, DBTranErrorMsg},
        {"insert", [&] { return this->add(Params(6)); }, -4, "Cannot include new volume snap parameters into the database"},
        {"commitTran", [&] { return this->add(Params(6)); }, -4, "Could not commit database transactions"},
        {"getInfo", [&] { return this->query(5); }, -4,
         "Cannot access Volume snap parameters information from the database"},
        {"startTran", [&] { return this->update(Params(5)); }, -7, DBTranErrorMsg},
        {"getInfo", [&] { return this->update(Params(5)); }, -4, "Cannot access volume snap parameters from the database"},
        {"Update", [&] { return this->update(Params(5)); }, -4,
         "Could not update volume snap parameters information from database"},
        {"commitTran", [&] { return this->update(Params(5)); }, -4, "Could not commit database transactions"},
        {"getList", [&] { return this->list(); }, -4,
         "Cannot get the list of volume snap parameters records from the database"},
    };
    const std::string before = this->dump();
    for (const FailingStep<Answer>& step : steps) {
        SCOPED_TRACE(std::string(step.call) + ": " + step.text);
        HostDBFaults::failNext(step.call, 7);
        Answer a = step.request();
        this->expectFailure(a, step.code, step.text);
        EXPECT_EQ(a.count, 0u);
        EXPECT_TRUE(a.arrayNull);
        EXPECT_TRUE(a.params.empty() || a.paramsZero);
        EXPECT_EQ(this->dump(), before);
        HostDBFaults::clear();
    }

    AllocReplyArray = &NoMemory;
    Answer a = this->list();
    this->expectFailure(a, -5, NoMemoryErrMsg);
    EXPECT_TRUE(a.arrayNull);
}

TYPED_TEST(VolSnapParamsTest, ListOfAnEmptyTable)
{
    Answer a = this->list();
    this->expectSuccess(a);
    EXPECT_EQ(a.count, 0u);
    EXPECT_TRUE(a.arrayNull);
}

// ---- Removal, through post and directly -----------------------------------------------

// Parameters of SNR volumes 5 to 8; replication volumes with primary volume 5
// (a snapshot), 6 (a destination snapshot of engine type 5) and 7 (a
// destination snapshot of another engine type).
class VolSnapParamsRemoveTest : public VolSnapParamsTest<ParamsV1> {
protected:
    void SetUp() override
    {
        VolSnapParamsTest::SetUp();
        exec("INSERT INTO YBVolSnapParams (SNRVolumeId, SnapEngineId) VALUES (5, 1), (6, 1), (7, 1), (8, 1);"
             "INSERT INTO YBVolume (id, PrimaryVolumeId, CurrentRole, SnapEngineType) VALUES"
             " (1, 5, 2, 0), (2, 6, 5, 5), (3, 7, 5, 3), (4, 8, 4, 5)");
    }
    std::vector<int32_t> volumes()
    {
        std::vector<int32_t> ids;
        for (const YBVolSnapParams_t& row : stored()) ids.push_back(row.SNRVolumeId);
        return ids;
    }
};

TEST_F(VolSnapParamsRemoveTest, ParametersStayWhileTheVolumeHasSnapshots)
{
    for (uint32_t id : {5u, 6u, 7u, 8u}) {
        Answer a = remove(id);
        EXPECT_EQ(a.status, 1u) << id;
        EXPECT_EQ(a.msg, "(null)");
    }
    EXPECT_EQ(volumes(), (std::vector<int32_t>{5, 6}));
    EXPECT_EQ(LogEntriesWith("\tVolume Snap Params will not be deleted because there are still snapshots associated "
                             "with it\n\tVolume Id       = 5\n\tNumber of Snaps = 1")
                  .size(),
              1u);
    EXPECT_EQ(LogEntriesWith("\tVolume Snap Parameters for SNR Volume 7 were removed from DB").size(), 1u);
    EXPECT_EQ(LogEntriesWith("\tMessage REPLICA_PM_RemoveVolSnapParams_REQ completed successfully"
                             "\n\tSending reply REPLICA_PM_RemoveVolSnapParams_RESP to client...")
                  .size(),
              4u);
}

TEST_F(VolSnapParamsRemoveTest, RefusalsAndFailuresChangeNothing)
{
    const std::string before = dump();
    struct Step {
        const char* call;  // "" for none
        uint32_t id;
        std::string text;
    };
    const std::vector<Step> steps = {
        {"", 0, "Cannot remove volume snap parameters info from the database with invalid values"},
        {"", 9, "Volume Snap parameter record not found"},
        {"getNRows", 8, "Cannot check if the volume has any snapshots"},
        {"remove", 8, "Cannot remove volume snap parameters info from the database"},
        {"startTran", 8, DBTranErrorMsg},
        {"commitTran", 8, "Could not commit database transactions"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.text);
        if (*step.call) HostDBFaults::failNext(step.call, 7);
        Answer a = remove(step.id);
        EXPECT_EQ(a.status, 0u);
        EXPECT_EQ(a.msg, step.text);
        EXPECT_EQ(dump(), before);
        HostDBFaults::clear();
    }
}

// The removal that scratch pools, permanent replicas and the removal of
// replication volumes call runs in their transaction and tells a missing row
// (-3) from a failure (-4).
TEST_F(VolSnapParamsRemoveTest, DirectRemovalRunsInTheCallersTransaction)
{
    {
        DBtran tran(false);
        ASSERT_EQ(tran.startTran(), 0);
        RemoveVolSnapParam42Args_t args;
        args.SNRVolumeId = 8;
        RemoveVolSnapParam42Ret_t ret;
        ret.errCode = 99;
        EXPECT_TRUE(mgr.RemoveVolSnapParam(args, ret, &tran));
        EXPECT_EQ(ret.errCode, 0);
        EXPECT_EQ(ret.errMsg, "");
        EXPECT_FALSE(mgr.RemoveVolSnapParam(args, ret, &tran));
        EXPECT_EQ(ret.errCode, -3);
        EXPECT_EQ(ret.errMsg, "Volume Snap parameter record not found");
        EXPECT_EQ(tran.rollbackTran(), 0);
    }
    EXPECT_EQ(volumes(), (std::vector<int32_t>{5, 6, 7, 8}));

    RemoveVolSnapParam42Args_t args;
    RemoveVolSnapParam42Ret_t ret;
    args.SNRVolumeId = 0;
    EXPECT_FALSE(mgr.RemoveVolSnapParam(args, ret, nullptr));
    EXPECT_EQ(ret.errCode, -6);
    args.SNRVolumeId = 7;
    HostDBFaults::failNext("remove", 7);
    EXPECT_FALSE(mgr.RemoveVolSnapParam(args, ret, nullptr));
    EXPECT_EQ(ret.errCode, -4);
    EXPECT_EQ(ret.errMsg, "Cannot remove volume snap parameters info from the database");

    // The first form keeps only the text.
    RemoveVolSnapParamArgs_t first;
    first.SNRVolumeId = 9;
    RemoveVolSnapParamRet_t firstRet;
    EXPECT_FALSE(mgr.RemoveVolSnapParam(first, firstRet, nullptr));
    EXPECT_EQ(firstRet.errMsg, "Volume Snap parameter record not found");
    first.SNRVolumeId = 7;
    EXPECT_TRUE(mgr.RemoveVolSnapParam(first, firstRet, nullptr));
    EXPECT_EQ(firstRet.errMsg, "");
    EXPECT_EQ(volumes(), (std::vector<int32_t>{5, 6, 8}));
}

TEST_F(VolSnapParamsRemoveTest, IsSNRVolIdInVolSnapParamsTbl)
{
    IsSNRVolIdInVolSnapParamsTblArgs_t args;
    IsSNRVolIdInVolSnapParamsTblRet_t ret;
    args.SNRVolumeId = 6;
    EXPECT_TRUE(mgr.IsSNRVolIdInVolSnapParamsTbl(args, ret));
    EXPECT_TRUE(ret.found);
    args.SNRVolumeId = 9;
    EXPECT_TRUE(mgr.IsSNRVolIdInVolSnapParamsTbl(args, ret));
    EXPECT_FALSE(ret.found);
    EXPECT_EQ(ret.errMsg, "");

    args.SNRVolumeId = 0;
    EXPECT_FALSE(mgr.IsSNRVolIdInVolSnapParamsTbl(args, ret));
    EXPECT_EQ(ret.errMsg, "Cannot check Volume Snap Parameters with Invalid volume id");
    args.SNRVolumeId = 6;
    HostDBFaults::failNext("getList", 7);
    EXPECT_FALSE(mgr.IsSNRVolIdInVolSnapParamsTbl(args, ret));
    EXPECT_FALSE(ret.found);
    EXPECT_EQ(ret.errMsg, "Cannot access the volume snap parameters records from the database");
}

}  // namespace
