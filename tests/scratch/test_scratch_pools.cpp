#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "host/db/DBtable.h"
#include "host/db/PolicyTables.h"
#include "host/db/ReplicaTables.h"
#include "scratch/ScratchPools.h"
#include "scratch/ScratchPostFixture.h"
#include "service/Utils.h"
#include "support/TestHost.h"

namespace {

template <typename V>
class PoolCatalogueTest : public PoolPostTest<V> {};
using PoolVersions = ::testing::Types<PoolV1, PoolV2, PoolV3>;
TYPED_TEST_SUITE(PoolCatalogueTest, PoolVersions);

// ---- Add, query, list, rename, per message version ---------------------------------------

TYPED_TEST(PoolCatalogueTest, AddQueryListAndRename)
{
    constexpr int version = TypeParam::number;
    // Version 3 takes Type from the request and ignores id and counters.
    auto first = this->Pool("alpha", 4, 2, 99);
    first.TotalVolumes = 7;
    first.AvailableVolumes = 6;
    PoolAnswer a = this->add(first);
    this->expectSuccess(a);
    EXPECT_EQ(a.poolId, 1u);
    this->expectSuccess(this->add(this->Pool("beta", 0)));

    auto rows = this->pools();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].id, 1);
    EXPECT_STREQ(rows[0].name, "alpha");
    EXPECT_EQ(rows[0].TotalVolumes, 0);
    EXPECT_EQ(rows[0].AvailableVolumes, 0);
    EXPECT_EQ(rows[0].reserved, 0);
    EXPECT_EQ(rows[0].SnapEngineInfoId, version == 1 ? 0 : 4);
    EXPECT_EQ(rows[0].Type, version == 3 ? 2 : 1);
    EXPECT_EQ(LogEntriesWith("\tNew pool alpha was added to the DB\n\tThe ID of the new pool is 1").size(), 1u);

    a = this->query(1);
    this->expectSuccess(a);
    ASSERT_EQ(a.pools.size(), 1u);
    EXPECT_EQ(a.pools[0].id, 1);
    EXPECT_EQ(a.pools[0].name, "alpha");
    EXPECT_EQ(a.pools[0].TotalVolumes, 0);
    EXPECT_EQ(a.pools[0].SnapEngineInfoId, version == 1 ? -1 : rows[0].SnapEngineInfoId);
    EXPECT_EQ(a.pools[0].Type, version == 3 ? 2 : 1);
    EXPECT_EQ(a.pools[0].UpdateMask, 0);

    a = this->list();
    this->expectSuccess(a);
    ASSERT_EQ(a.count, 2u);
    ASSERT_EQ(a.pools.size(), 2u);
    EXPECT_EQ(a.pools[0].name, "alpha");
    EXPECT_EQ(a.pools[1].name, "beta");
    EXPECT_EQ(a.pools[1].id, 2);

    // Renaming leaves the engine (version 2 passes -1: no engine change) and
    // the type (version 3 with UpdateMask 0x1) as they are.
    auto renamed = this->Pool("gamma", -1, 3, 1);
    renamed.UpdateMask = 0x1;
    this->expectSuccess(this->update(renamed));
    rows = this->pools();
    EXPECT_STREQ(rows[0].name, "gamma");
    EXPECT_EQ(rows[0].SnapEngineInfoId, version == 1 ? 0 : 4);
    EXPECT_EQ(rows[0].Type, version == 3 ? 2 : 1);
    EXPECT_EQ(LogEntriesWith("\tRV Scratch volume pool with ID 1 was updated").size(), 1u);

    // A pool that is not there.
    this->expectFailure(this->query(9), -3, "Scratch volume pool record not found");
    this->expectFailure(this->query(0), -6, "Invalid scratch volume pool identifier");
    renamed.id = 9;
    this->expectFailure(this->update(renamed), -3, "RV scratch volume pool not found");
    renamed.id = 0;
    this->expectFailure(this->update(renamed), -6, "Cannot update scratch volume pool information with invalid id");
}

TYPED_TEST(PoolCatalogueTest, AddRefusalsWriteNothing)
{
    this->expectSuccess(this->add(this->Pool("alpha")));
    const std::string before = this->dump();

    this->expectFailure(this->add(this->Pool("")), -2,
                        "Cannot add a scratch volume pool to the database with an empty name");
    PoolAnswer a = this->add(this->Pool("alpha"));
    this->expectFailure(a, -12, "Scratch volume pool name already exists in the database");
    // The column holds 128 characters; a longer name is refused, not cut.
    this->expectFailure(this->add(this->Pool(std::string(129, 'n'))), -18, "Scratch pool name is too long");
    if (TypeParam::number >= 2)
        this->expectFailure(this->add(this->Pool("delta", -1)), -6,
                            "Cannot add a new scratch volume pool with an invalid snap engine type");
    EXPECT_EQ(this->dump(), before);

    // Another case is another name; a quote is part of the name.
    this->expectSuccess(this->add(this->Pool("ALPHA")));
    this->expectSuccess(this->add(this->Pool("it's")));
    this->expectFailure(this->add(this->Pool("it's")), -12, "Scratch volume pool name already exists in the database");
    this->expectSuccess(this->add(this->Pool(std::string(128, 'n'))));
    auto rows = this->pools();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_STREQ(rows[1].name, "ALPHA");
    EXPECT_STREQ(rows[2].name, "it's");
    EXPECT_EQ(std::string(rows[3].name), std::string(128, 'n'));
}

TYPED_TEST(PoolCatalogueTest, UpdatesWriteWhatTheVersionAsksFor)
{
    this->exec("INSERT INTO YBScratchPool (id, name, SnapEngineInfoId, Type) VALUES (1, 'alpha', 0, 1)");
    this->exec("INSERT INTO YBSnapEngineInfo (id, name) VALUES (4, 'e4')");

    // An empty name with nothing else to write: a warning and no change.
    const std::string before = this->dump();
    auto nothing = this->Pool("", -1, 1, 1);
    nothing.UpdateMask = 0x1;
    this->expectSuccess(this->update(nothing));
    EXPECT_EQ(this->dump(), before);
    EXPECT_EQ(LogEntriesWith("\tEvent: Nothing to update in the Scratch Volume pool table").size(), 1u);

    // A name of 128 characters does not pass an update (127 do).
    this->expectFailure(this->update(this->Pool(std::string(128, 'x'), -1, 1, 1)), -18,
                        "Scratch pool name is too long");
    EXPECT_EQ(this->dump(), before);
    this->expectSuccess(this->update(this->Pool(std::string(127, 'x'), -1, 1, 1)));
    EXPECT_EQ(std::string(this->pools()[0].name), std::string(127, 'x'));

    // A quote in the new name is stored as it is.
    auto quoted = this->Pool("o'pool", 4, 3, 1);  // version 3: UpdateMask 0 writes all three
    this->expectSuccess(this->update(quoted));
    auto row = this->pools()[0];
    EXPECT_STREQ(row.name, "o'pool");
    EXPECT_EQ(row.SnapEngineInfoId, TypeParam::number >= 2 ? 4 : 0);
    EXPECT_EQ(row.Type, TypeParam::number == 3 ? 3 : 1);
}

// ---- A pool given another snap engine --------------------------------------------------

template <typename V>
class PoolEngineTest : public PoolPostTest<V> {
protected:
    // Pool 5 of engine 1 holds SNR volumes 40, 41 and 42 (scratch volumes 60
    // to 62). Volumes 40 and 41 have snap parameters of engine 1; volume 42
    // has none and is seen by client 77 alone. Engine 2's hints hold quotes.
    void SetUp() override
    {
        PoolPostTest<V>::SetUp();
        this->exec("INSERT INTO YBScratchPool (id, name, SnapEngineInfoId, Type, TotalVolumes) VALUES (5, 'p', 1, 1, 3)");
        this->exec("INSERT INTO YBPhysicalVolume (id, UniqueId) VALUES (40, 'u40'), (41, 'u41'), (42, 'u42')");
        this->exec("INSERT INTO YBScratchVolume (id, PhysicalVolumeId, RVScratchVolumePoolId) VALUES "
                   "(60, 40, 5), (61, 41, 5), (62, 42, 5)");
        this->exec("INSERT INTO YBSnapEngineInfo (id, name, MountCmdHint) VALUES (1, 'old', 'm1')");
        this->exec("INSERT INTO YBSnapEngineInfo (id, name, MountCmdHint, UnmountCmdHint, SyncCmdHint, UnsyncCmdHint, "
                   "SnapCmdHint, UnsnapCmdHint, RollbackCmdHint) VALUES (2, 'new', 'mount ''a''', 'umount', 'sync', "
                   "'unsync', 'snap ''b''', 'unsnap', 'rollback')");
        this->exec("INSERT INTO YBVolSnapParams (SNRVolumeId, SnapEngineId, MountClientId, MountCmd, SyncClientId, "
                   "SnapClientId, SnapCmd, Flags, RollbackCmd) VALUES (40, 1, 5, 'm1', 6, 7, 's1', 0, 'rb40'), "
                   "(41, 1, 8, 'm1', 8, 8, 's1', 2, '')");
        this->exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (1, 77, 42, 'd42')");
    }

    // The request that gives pool 5 the engine: version 2 with its name,
    // version 3 with the engine bit alone.
    PoolAnswer giveEngine(int engine)
    {
        auto pool = this->Pool(V::number == 3 ? "" : "p", engine, 1, 5);
        pool.UpdateMask = 0x2;
        return this->update(pool);
    }

    std::vector<YBVolSnapParams_t> params()
    {
        return StoredRows<YBVolSnapParams_t, CVolumeSnapParamsDB>("SNRVolumeId ASC");
    }

    static void ExpectEngine2Commands(const YBVolSnapParams_t& row)
    {
        EXPECT_EQ(row.SnapEngineId, 2);
        EXPECT_STREQ(row.MountCmd, "mount 'a'");
        EXPECT_STREQ(row.UnmountCmd, "umount");
        EXPECT_STREQ(row.SyncCmd, "sync");
        EXPECT_STREQ(row.UnsyncCmd, "unsync");
        EXPECT_STREQ(row.SnapCmd, "snap 'b'");
        EXPECT_STREQ(row.UnsnapCmd, "unsnap");
    }
};
using EngineVersions = ::testing::Types<PoolV2, PoolV3>;
TYPED_TEST_SUITE(PoolEngineTest, EngineVersions);

TYPED_TEST(PoolEngineTest, EveryMemberFollowsTheNewEngine)
{
    this->expectSuccess(this->giveEngine(2));
    EXPECT_EQ(this->pools()[0].SnapEngineInfoId, 2);
    EXPECT_STREQ(this->pools()[0].name, "p");

    auto rows = this->params();
    ASSERT_EQ(rows.size(), 3u);
    // Rewritten: the commands and the engine; clients, flags and rollback kept.
    EXPECT_EQ(rows[0].SNRVolumeId, 40);
    this->ExpectEngine2Commands(rows[0]);
    EXPECT_EQ(rows[0].MountClientId, 5);
    EXPECT_EQ(rows[0].SyncClientId, 6);
    EXPECT_EQ(rows[0].SnapClientId, 7);
    EXPECT_EQ(rows[0].Flags, 0);
    EXPECT_STREQ(rows[0].RollbackCmd, "rb40");
    EXPECT_EQ(rows[1].SNRVolumeId, 41);
    this->ExpectEngine2Commands(rows[1]);
    EXPECT_EQ(rows[1].MountClientId, 8);
    EXPECT_EQ(rows[1].Flags, 2);
    // Made for the one client that sees the volume.
    EXPECT_EQ(rows[2].SNRVolumeId, 42);
    this->ExpectEngine2Commands(rows[2]);
    EXPECT_EQ(rows[2].MountClientId, 77);
    EXPECT_EQ(rows[2].SyncClientId, 77);
    EXPECT_EQ(rows[2].SnapClientId, 77);
    EXPECT_EQ(rows[2].Flags, 1);
    EXPECT_STREQ(rows[2].RollbackCmd, "");
    EXPECT_EQ(LogEntriesWith("\tVolume Snap parameters for SNR Volume 41 were updated").size(), 1u);
    EXPECT_EQ(LogEntriesWith("\tVolume Snap parameters (destination snapshot) for SNR Volume 42 were added").size(), 1u);

    // The engine the pool already has rewrites nothing.
    this->exec("UPDATE YBVolSnapParams SET MountCmd = 'changed' WHERE SNRVolumeId = 40");
    const std::string before = this->dump();
    this->expectSuccess(this->giveEngine(2));
    EXPECT_EQ(this->dump(), before);
}

TYPED_TEST(PoolEngineTest, NoEngineRemovesTheMembersParameters)
{
    this->expectSuccess(this->giveEngine(0));
    EXPECT_TRUE(this->params().empty());
    EXPECT_EQ(this->pools()[0].SnapEngineInfoId, 0);
}

TYPED_TEST(PoolEngineTest, AVolumeWithoutOneHostFailsAndChangesNothing)
{
    this->exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (2, 78, 42, 'd42b')");
    const std::string before = this->dump();
    this->expectFailure(this->giveEngine(2), -13, "Scratch volume can be accessed by two or more hosts");
    EXPECT_EQ(this->dump(), before);

    this->exec("DELETE FROM YBPhysicalDevice");
    const std::string unseen = this->dump();
    this->expectFailure(this->giveEngine(2), -3, "Scratch volume cannot be accessed by any host");
    EXPECT_EQ(this->dump(), unseen);

    this->expectFailure(this->giveEngine(9), -3, "Snap Engine info record could not be found");
    EXPECT_EQ(this->dump(), unseen);
}

TYPED_TEST(PoolEngineTest, APoolWithoutMembersTakesAnyEngineUnread)
{
    // With no scratch volume to bring along, the engine is never read: one
    // that is not in the catalogue is stored as it is.
    this->exec("DELETE FROM YBScratchVolume");
    this->expectSuccess(this->giveEngine(9));
    EXPECT_EQ(this->pools()[0].SnapEngineInfoId, 9);
    EXPECT_EQ(this->params().size(), 2u);  // the former members' parameters are left alone
}

TYPED_TEST(PoolEngineTest, FailureAtEachDatabaseStepChangesNothing)
{
    auto engine2 = [&] { return this->giveEngine(2); };
    const std::vector<FailingCall<PoolAnswer>> steps = {
        {"startTran", engine2, -7, DBTranErrorMsg, 0},
        {"getInfo", engine2, -4, "Cannot access scratch volume pool information from the database", 0},
        {"getList", engine2, -4, "Could not get list of scratch volumes in the pool", 0},
        {"getInfo", engine2, -4, "Could not get the snap engine information from the database", 1},
        {"Update", engine2, -4, "Could not update volume snap parameters information from database", 1},
        {"getList", engine2, -4, "Could not get device information from the database", 1},
        {"insert", engine2, -4, "Cannot include new volume snap parameters into the database", 0},
        // Three member updates, then the pool row.
        {"Update", engine2, -4, "Could not update scratch volume pool information from database", 3},
        {"commitTran", engine2, -4, "Could not commit database transactions", 0},
        {"remove", [&] { return this->giveEngine(0); }, -4, "", 0},
        {"startTran", [&] { return this->add(this->Pool("new")); }, -7, DBTranErrorMsg, 0},
        {"getList", [&] { return this->add(this->Pool("new")); }, -4,
         "Could not query scratch volume pool information from the database", 0},
        {"insert", [&] { return this->add(this->Pool("new")); }, -4,
         "Could not add new scratch volume pool in the database", 0},
        {"commitTran", [&] { return this->add(this->Pool("new")); }, -4, "Could not commit database transactions", 0},
        {"getInfo", [&] { return this->query(5); }, -4,
         "Cannot access scratch volume pool information from the database", 0},
        {"getList", [&] { return this->list(); }, -4, "Cannot get the list of scratch volume pools from the database",
         0},
    };
    const std::string before = this->dump();
    for (const FailingCall<PoolAnswer>& step : steps) {
        SCOPED_TRACE(std::string(step.call) + " after " + std::to_string(step.skip) + ": " + step.text);
        HostDBFaults::failNext(step.call, 7, step.skip);
        PoolAnswer a = step.request();
        if (step.text.empty()) {
            // The removal's own text and code.
            EXPECT_EQ(a.status, 0u);
            EXPECT_EQ(a.errCode, -4);
        } else {
            this->expectFailure(a, step.code, step.text);
        }
        for (const auto& pool : a.pools) {  // a query's pool is left zero
            EXPECT_EQ(pool.id, 0);
            EXPECT_EQ(pool.name, "(null)");
        }
        EXPECT_EQ(this->dump(), before);
        HostDBFaults::clear();
    }

    AllocReplyArray = &NoMemory;
    this->expectFailure(this->list(), -5, NoMemoryErrMsg);
}

// ---- Remove ----------------------------------------------------------------------------

struct RemoveAnswer {
    unsigned long code = 0;
    size_t size = 0;
    uint32_t status = 99;
    int32_t errCode = 0;
    std::string msg;
};

class RemovePoolTest : public PolicyPostTest<RemoveAnswer> {
protected:
    template <typename Reply>
    static RemoveAnswer Decode(const void* data)
    {
        const auto* r = static_cast<const Reply*>(data);
        RemoveAnswer a;
        a.status = r->status;
        a.msg = ReplyText(r->errMsg);
        if constexpr (cases::HasErrCode<Reply>::value) a.errCode = r->errCode;
        return a;
    }
    RemoveAnswer remove70(int poolId)
    {
        repRemoveRVScratchVolumePool70Req req{};
        req.poolId = static_cast<uint32_t>(poolId);
        return send(0x3500022e, &req, 24, &Decode<repRemoveRVScratchVolumePool70Response>);
    }
    RemoveAnswer remove1(int poolId)
    {
        repRemoveRVScratchVolumePoolReq req{static_cast<uint32_t>(poolId)};
        return send(0x35000013, &req, 16, &Decode<repRemoveRVScratchVolumePoolResponse>);
    }
    std::string pools() { return DumpTable(m_path, "YBScratchPool"); }
};

TEST_F(RemovePoolTest, RefusalsAndRemovalInBothLayouts)
{
    exec("INSERT INTO YBScratchPool (id, name) VALUES (1, 'used'), (2, 'named'), (3, 'free'), (4, 'free2')");
    exec("INSERT INTO YBScratchVolume (id, PhysicalVolumeId, RVScratchVolumePoolId) VALUES (60, 40, 1)");
    exec("INSERT INTO YBPolicy (id, name, VolumeScratchPoolId) VALUES (1, 'pol', 2)");
    const std::string before = pools();

    RemoveAnswer a = remove70(1);
    EXPECT_EQ(a.status, 0u);
    EXPECT_EQ(a.errCode, -11);
    EXPECT_EQ(a.msg, "Scratch volume pool cannot be deleted. The volumes must first be removed from the pool");
    a = remove70(2);
    EXPECT_EQ(a.errCode, -27);
    EXPECT_EQ(a.msg, "Could not delete scratch volume pool record because it is being used by at least one YB Policy");
    a = remove70(0);
    EXPECT_EQ(a.errCode, -6);
    EXPECT_EQ(a.msg, "Scratch volume pool record with invalid pool id could not be deleted");
    a = remove1(2);
    EXPECT_EQ(a.status, 0u);
    EXPECT_EQ(a.msg, "Could not delete scratch volume pool record because it is being used by at least one YB Policy");
    EXPECT_EQ(pools(), before);

    a = remove70(3);
    EXPECT_EQ(a.status, 1u);
    EXPECT_EQ(a.errCode, 0);
    EXPECT_EQ(a.msg, "(null)");
    a = remove1(4);
    EXPECT_EQ(a.status, 1u);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBScratchPool"), 2);
    EXPECT_EQ(LogEntriesWith("\tRV Scratch volume pool with ID 3 was removed from DB").size(), 1u);
}

TEST_F(RemovePoolTest, FailureAtEachDatabaseStepChangesNothing)
{
    exec("INSERT INTO YBScratchPool (id, name) VALUES (3, 'free')");
    const std::vector<FailingCall<RemoveAnswer>> steps = {
        {"startTran", [&] { return remove70(3); }, -7, DBTranErrorMsg, 0},
        {"getNRows", [&] { return remove70(3); }, -4, "Could not get list of scratch volume records from the database", 0},
        {"getNRows", [&] { return remove70(3); }, -4, "Could not get list of YB policy records from the database", 1},
        {"remove", [&] { return remove70(3); }, -4, "Could not delete scratch volume pool from the database", 0},
        {"commitTran", [&] { return remove70(3); }, -4, "Could not commit database transactions", 0},
    };
    const std::string before = pools();
    for (const FailingCall<RemoveAnswer>& step : steps) {
        SCOPED_TRACE(std::string(step.call) + ": " + step.text);
        HostDBFaults::failNext(step.call, 7, step.skip);
        RemoveAnswer a = step.request();
        EXPECT_EQ(a.status, 0u);
        EXPECT_EQ(a.errCode, step.code);
        EXPECT_EQ(a.msg, step.text);
        EXPECT_EQ(pools(), before);
        HostDBFaults::clear();
    }
}

}  // namespace
