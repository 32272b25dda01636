#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <type_traits>
#include <vector>

#include "host/db/DBtable.h"
#include "policies/PolicyTestSupport.h"
#include "scratch/PoolSeed.h"
#include "scratch/ScratchLookups.h"
#include "service/CasePatterns.h"
#include "service/Utils.h"
#include "support/StatementRuns.h"
#include "support/TestHost.h"

namespace {

struct LookupAnswer {
    unsigned long code = 0;
    size_t size = 0;
    uint32_t status = 99;
    int32_t errCode = 0;
    std::string msg;
    RVScratchVolumeV2Record_t scratch;  // LockedByJobId -7 where the reply carries none
    uint32_t clientId = 0;
    uint32_t count = 0;
    bool arrayNull = true;
    std::vector<int> ids;
};

template <typename T, typename = void>
struct HasScratch : std::false_type {};
template <typename T>
struct HasScratch<T, std::void_t<decltype(std::declval<T&>().scratchVolume)>> : std::true_type {};

template <typename Reply>
LookupAnswer Decode(const void* data)
{
    const auto* r = static_cast<const Reply*>(data);
    LookupAnswer a;
    a.scratch.id = 0;  // replies without a scratch volume
    a.status = r->status;
    a.msg = ReplyText(r->errMsg);
    if constexpr (cases::HasErrCode<Reply>::value) a.errCode = r->errCode;
    if constexpr (HasScratch<Reply>::value) {
        a.scratch.id = static_cast<int32_t>(r->scratchVolume.id);
        a.scratch.PhysicalVolumeId = static_cast<int32_t>(r->scratchVolume.PhysicalVolumeId);
        a.scratch.RVScratchVolumePoolId = static_cast<int32_t>(r->scratchVolume.RVScratchVolumePoolId);
        a.scratch.LockedByJobId = -7;
        if constexpr (std::is_same<std::decay_t<decltype(r->scratchVolume)>, repRVScratchVolumeV2>::value)
            a.scratch.LockedByJobId = r->scratchVolume.LockedByJobId;
    }
    if constexpr (std::is_same<Reply, repGetClientIdByPoolIdResp>::value) a.clientId = r->clientId;
    if constexpr (std::is_same<Reply, repGetAvailVolumeFromPoolResp>::value) {
        a.count = r->count;
        a.arrayNull = r->volumeIds == nullptr;
        for (uint32_t i = 0; r->volumeIds != nullptr && i < r->count; ++i) a.ids.push_back(r->volumeIds[i]);
    }
    return a;
}

class ScratchLookupTest : public PolicyPostTest<LookupAnswer> {
protected:
    void SetUp() override
    {
        PolicyPostTest<LookupAnswer>::SetUp();
        exec(PoolSeedSql());
    }
    template <typename Reply>
    LookupAnswer ask(unsigned long code, int value)
    {
        uint32_t req = static_cast<uint32_t>(value);
        return send(code, &req, sizeof(Reply), &Decode<Reply>);
    }
    LookupAnswer bySNRVolV1(int id) { return ask<repQueryRVScratchVolBySNRVolIdResp>(0x35000077, id); }
    LookupAnswer bySNRVolV2(int id) { return ask<repQueryRVScratchVolBySNRVolIdV2Resp>(0x350001af, id); }
    LookupAnswer byId(int id) { return ask<repQueryScratchVolumeByIdResp>(0x350001a5, id); }
    LookupAnswer available(int pool) { return ask<repGetAvailVolumeFromPoolResp>(0x35000065, pool); }
    LookupAnswer clientOf(int pool) { return ask<repGetClientIdByPoolIdResp>(0x350000b7, pool); }
    LookupAnswer setCost(uint32_t pool, uint32_t cost)
    {
        repUpdateCostToVolsInPoolReq req{pool, cost};
        return send(0x35000131, &req, sizeof(repUpdateCostToVolsInPoolResp), &Decode<repUpdateCostToVolsInPoolResp>);
    }
    long long costOf(int volumeId)
    {
        return scalar("SELECT CostCategoryId FROM YBPhysicalVolume WHERE id = " + std::to_string(volumeId));
    }

    static void ExpectFailure(const LookupAnswer& a, int code, const std::string& text)
    {
        EXPECT_EQ(a.status, 0u);
        EXPECT_EQ(a.msg, text);
        EXPECT_EQ(a.errCode, code);
        EXPECT_EQ(a.scratch.id, 0);
        EXPECT_EQ(a.clientId, 0u);
        EXPECT_EQ(a.count, 0u);
        EXPECT_TRUE(a.arrayNull);
    }
};

TEST_F(ScratchLookupTest, ScratchVolumeOfAnSNRVolume)
{
    LookupAnswer a = bySNRVolV1(40);
    EXPECT_EQ(a.status, 1u);
    EXPECT_EQ(a.msg, "(null)");
    EXPECT_EQ(a.scratch.id, 60);
    EXPECT_EQ(a.scratch.PhysicalVolumeId, 40);
    EXPECT_EQ(a.scratch.RVScratchVolumePoolId, 9);
    EXPECT_EQ(a.scratch.LockedByJobId, -7);
    a = bySNRVolV2(40);
    EXPECT_EQ(a.status, 1u);
    EXPECT_EQ(a.scratch.id, 60);
    EXPECT_EQ(a.scratch.LockedByJobId, -5);

    ExpectFailure(bySNRVolV2(99), -3, "Could not find scratch volume information in the database");
    ExpectFailure(bySNRVolV2(0), -6, "Invalid Volume identifier");
    ExpectFailure(bySNRVolV1(99), 0, "Could not find scratch volume information in the database");
    exec("INSERT INTO YBScratchVolume (id, PhysicalVolumeId, RVScratchVolumePoolId) VALUES (64, 42, 10)");
    ExpectFailure(bySNRVolV2(42), -13, "Multiple Scratch volume records found for this Volume. Check database");
    // A failed read answers -4, not the code the result was made with.
    HostDBFaults::failNext("getList", 7);
    ExpectFailure(bySNRVolV2(40), -4, "Cannot access scratch volume information from the database");
}

TEST_F(ScratchLookupTest, InUseTestOfTheDirectEntryPoint)
{
    QueryRVScratchVolBySNRVolIdV2Args_t args;
    args.SNRVolumeId = 40;
    QueryRVScratchVolBySNRVolIdV2Ret_t ret;
    bool inUse = false;
    ASSERT_TRUE(mgr.QueryRVScratchVolBySNRVolId(args, ret, nullptr, &inUse));
    EXPECT_TRUE(inUse);
    EXPECT_EQ(ret.record.id, 60);

    args.SNRVolumeId = 42;
    inUse = false;
    ASSERT_TRUE(mgr.QueryRVScratchVolBySNRVolId(args, ret, nullptr, &inUse));
    EXPECT_FALSE(inUse);
    EXPECT_EQ(ret.record.id, 62);

    HostDBFaults::failNext("getNRows", 7);
    QueryRVScratchVolBySNRVolIdV2Ret_t failed;
    EXPECT_FALSE(mgr.QueryRVScratchVolBySNRVolId(args, failed, nullptr, &inUse));
    EXPECT_EQ(failed.errCode, -4);
    EXPECT_EQ(failed.errMsg, "Cannot access YB Volume information from the database");
}

TEST_F(ScratchLookupTest, ScratchVolumeById)
{
    LookupAnswer a = byId(60);
    EXPECT_EQ(a.status, 1u);
    EXPECT_EQ(a.scratch.id, 60);
    EXPECT_EQ(a.scratch.PhysicalVolumeId, 40);
    EXPECT_EQ(a.scratch.RVScratchVolumePoolId, 9);
    EXPECT_EQ(a.scratch.LockedByJobId, -5);
    ExpectFailure(byId(99), 0, "Record not found");
    ExpectFailure(byId(0), 0, "Invalid scratch volume identifier");
    HostDBFaults::failNext("getInfo", 7);
    ExpectFailure(byId(60), 0, "Cannot access user application from the database");
}

TEST_F(ScratchLookupTest, VolumesFreeToTake)
{
    // Volume 41 has flag 0x4; the reserved volume 40 is still listed.
    LookupAnswer a = available(9);
    EXPECT_EQ(a.status, 1u);
    EXPECT_EQ(a.ids, (std::vector<int>{40, 42}));
    EXPECT_EQ(a.count, 2u);

    a = available(10);
    EXPECT_EQ(a.status, 1u);
    EXPECT_EQ(a.count, 0u);
    EXPECT_TRUE(a.arrayNull);
    exec("UPDATE YBPhysicalVolume SET Flags = 4");
    a = available(9);
    EXPECT_EQ(a.status, 1u);
    EXPECT_EQ(a.count, 0u);
    EXPECT_TRUE(a.arrayNull);
    exec("UPDATE YBPhysicalVolume SET Flags = 0");

    ExpectFailure(available(0), 0, "Cannot get list of available volumes with an invalid scratch pool id");
    HostDBFaults::failNext("getList", 7);
    ExpectFailure(available(9), 0, "Cannot get the list of scratch volumes from the database");
    // The SNR volumes of the members are read after the members.
    HostDBFaults::failNext("getList", 7, 1);
    ExpectFailure(available(9), 0, "Cannot check reservation status of the volume");
    EXPECT_EQ(LogEntriesWith("\n\tCSNRVolumeDB::getList() failed\n\tParameters used:\n\tsWhere = id IN (SELECT "
                             "PhysicalVolumeId FROM YBScratchVolume WHERE RVScratchVolumePoolId = 9)\n\tDB Err Code = 7")
                  .size(),
              1u);
    AllocReplyArray = &NoMemory;
    ExpectFailure(available(9), 0, "No enough memory to return list of available volumes");
    AllocReplyArray = &malloc;

    // Each member in scratch volume order (no volume flagged now), a volume
    // of two members twice; a member whose SNR volume is gone fails the list.
    exec("INSERT INTO YBScratchVolume (id, PhysicalVolumeId, RVScratchVolumePoolId) VALUES (64, 40, 9)");
    EXPECT_EQ(available(9).ids, (std::vector<int>{40, 41, 42, 40}));
    exec("DELETE FROM YBPhysicalVolume WHERE id = 42");
    ExpectFailure(available(9), 0, "Cannot check reservation status of the volume");
    EXPECT_EQ(LogEntriesWith("\n\tCSNRVolumeDB::getList() found no row\n\tParameters used:\n\tSNR Volume Id = 42"
                             "\n\tDB Err Code = 100")
                  .size(),
              1u);
}

// The members of a pool are read once for its free volumes, and only the
// first of them for its client: as many statements for 33 members as for 3.
TEST_F(ScratchLookupTest, APoolsLookupsRunTheSameStatementsWhateverItsSize)
{
    StatementRuns runs(m_path);
    LookupAnswer free;
    LookupAnswer client;
    const size_t freeOfThree = runs.of([&] { free = available(9); });
    const size_t clientOfThree = runs.of([&] { client = clientOf(9); });
    ASSERT_EQ(free.count, 2u);
    ASSERT_EQ(client.clientId, 77u);
    for (int v = 100; v < 130; ++v)
        exec("INSERT INTO YBPhysicalVolume (id, UniqueId) VALUES (" + std::to_string(v) + ", 'uid-" + std::to_string(v) +
             "'); INSERT INTO YBScratchVolume (PhysicalVolumeId, RVScratchVolumePoolId) VALUES (" + std::to_string(v) +
             ", 9)");
    EXPECT_EQ(runs.of([&] { free = available(9); }), freeOfThree);
    EXPECT_EQ(runs.of([&] { client = clientOf(9); }), clientOfThree);
    EXPECT_EQ(free.count, 32u);
    EXPECT_EQ(free.ids.back(), 129);
    EXPECT_EQ(client.clientId, 77u);
    // The client's reads each stop at their first row.
    const std::vector<std::string> texts = DBStatementTrace::recorded();
    for (const char* read : {"FROM YBScratchVolume WHERE RVScratchVolumePoolId = ?1 ORDER BY id ASC LIMIT 1",
                             "FROM YBPhysicalDevice WHERE SNRVolumeId = ?1 ORDER BY id ASC LIMIT 1"})
        EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                                [&](const std::string& text) { return text.find(read) != std::string::npos; }))
            << read;
}

TEST_F(ScratchLookupTest, ClientOfAPool)
{
    LookupAnswer a = clientOf(9);
    EXPECT_EQ(a.status, 1u);
    EXPECT_EQ(a.clientId, 77u);
    EXPECT_EQ(a.errCode, 0);

    ExpectFailure(clientOf(10), -19, "No scratch volume record found");
    ExpectFailure(clientOf(11), -3, "No device name record found");
    ExpectFailure(clientOf(0), -6, "Invalid Scratch volume pool identifier");
    HostDBFaults::failNext("getList", 7);
    ExpectFailure(clientOf(9), -4, "Could not query Scratch volume pool information");
    HostDBFaults::failNext("getList", 7, 1);
    ExpectFailure(clientOf(9), -4, "Could not query Scratch volume pool information");
}

// Every volume of the pool takes the cost category, each through an SNR
// volume update of that column alone, in the request's transaction.
TEST_F(ScratchLookupTest, CostCategoryOfAPoolsVolumes)
{
    // A protected volume keeps its protection and its device's history name.
    exec("UPDATE YBPhysicalVolume SET Flags = 0x14, TzState = 1 WHERE id = 41;"
         "INSERT INTO YBTzHistoryName (DeviceId, GlobalHistoryName) VALUES (3, 'h-3')");
    const std::string before = DumpTable(m_path, "YBPhysicalVolume");
    LookupAnswer a = setCost(9, 12);
    EXPECT_EQ(a.status, 1u);
    EXPECT_EQ(a.msg, "(null)");
    for (int id : {40, 41, 42}) EXPECT_EQ(costOf(id), 12);
    EXPECT_EQ(costOf(43), 0);
    EXPECT_EQ(scalar("SELECT Flags FROM YBPhysicalVolume WHERE id = 41"), 0x14);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBTzHistoryName WHERE DeviceId = 3"), 1);
    EXPECT_EQ(setCost(10, 12).status, 1u);  // an empty pool

    exec("UPDATE YBPhysicalVolume SET CostCategoryId = 0");
    ASSERT_EQ(DumpTable(m_path, "YBPhysicalVolume"), before);
    ExpectFailure(setCost(0, 12), 0, "Cost update cannot be peformed with invalid values");
    ExpectFailure(setCost(9, 1), 0, "Cost update cannot be peformed with invalid values");
    // The column keeps 32 bits: a larger id would be stored as a negative one.
    ExpectFailure(setCost(9, 0x80000000u), 0, "Cost update cannot be peformed with invalid values");
    // The second volume's update fails: the first one's goes back too.
    HostDBFaults::failNext("Update", 7, 1);
    ExpectFailure(setCost(9, 12), 0, "Could not update volume information from database");
    EXPECT_EQ(DumpTable(m_path, "YBPhysicalVolume"), before);
}

}  // namespace
