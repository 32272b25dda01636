#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "host/HostConfig.h"
#include "host/db/DBtable.h"
#include "scratch/MembershipFixture.h"
#include "support/ClientFakesScope.h"
#include "support/TestHost.h"

namespace {

const int P = 1;
const int Q = 2;

// The counters through adds, moves, counter operations and removals; the
// counter refuses to go below 0 and an unknown or missing operation.
TEST_F(MembershipTest, CountersFollowEveryAddMoveReservationAndRemoval)
{
    pool(P);
    pool(Q);
    volume(10);
    volume(11);
    volume(12);
    EXPECT_EQ(counters(P), Counters(0, 0));

    MemberAnswer a = add(P, 10);
    ExpectSuccess(a);
    const uint32_t scratch10 = a.scratchVolumeId;
    EXPECT_EQ(static_cast<int>(scratch10), scratchOf(10));
    EXPECT_EQ(counters(P), Counters(1, 1));
    ExpectSuccess(add(P, 11));
    EXPECT_EQ(counters(P), Counters(2, 2));

    EXPECT_EQ(counter(10, POOL_COUNTER_DECREMENT).availableVolumes, 1);
    EXPECT_EQ(counters(P), Counters(2, 1));
    EXPECT_EQ(counter(11, POOL_COUNTER_DECREMENT).errCode, 0);
    EXPECT_EQ(counters(P), Counters(2, 0));
    UpdateAvailVolPoolCounterRet_t below = counter(11, POOL_COUNTER_DECREMENT);
    EXPECT_EQ(below.errCode, -14);
    EXPECT_EQ(below.errMsg, "Internal Error: Invalid value for scratch volume pool available counter");
    EXPECT_EQ(counters(P), Counters(2, 0));
    EXPECT_EQ(counter(10, POOL_COUNTER_INCREMENT).availableVolumes, 1);
    EXPECT_EQ(counters(P), Counters(2, 1));

    // Again into its own pool: the scratch volume stays, the counters too.
    a = add(P, 10);
    ExpectSuccess(a);
    EXPECT_EQ(a.scratchVolumeId, scratch10);
    EXPECT_EQ(counters(P), Counters(2, 1));
    // Into an empty pool: moved, with its id.
    a = add(Q, 10);
    ExpectSuccess(a);
    EXPECT_EQ(a.scratchVolumeId, scratch10);
    EXPECT_EQ(counters(P), Counters(1, 0));
    EXPECT_EQ(counters(Q), Counters(1, 1));

    UpdateAvailVolPoolCounterRet_t none = counter(10, POOL_COUNTER_NONE);
    EXPECT_EQ(none.errCode, -14);
    EXPECT_EQ(none.errMsg, "Internal Error: Available volume pool counter operation not specified");
    UpdateAvailVolPoolCounterRet_t unknown = counter(10, 3);
    EXPECT_EQ(unknown.errCode, -14);
    EXPECT_EQ(unknown.errMsg, "Internal Error: Unknown available volume pool counter operation");
    UpdateAvailVolPoolCounterRet_t notMember = counter(12, POOL_COUNTER_INCREMENT);
    EXPECT_EQ(notMember.errCode, -16);
    EXPECT_EQ(notMember.errMsg, "Could not find scratch volume information in the database");
    UpdateAvailVolPoolCounterRet_t invalid = counter(0, POOL_COUNTER_INCREMENT);
    EXPECT_EQ(invalid.errCode, -6);
    EXPECT_EQ(counters(Q), Counters(1, 1));

    // Reserved, the volume stays in its pool; released, it can go.
    ExpectSuccess(reserve({10}));
    EXPECT_EQ(counters(Q), Counters(1, 0));
    const std::string before = dump();
    ExpectFailure(remove(static_cast<int>(scratch10)), "Cannot remove scratch volume because is still locked");
    ExpectFailure(add(P, 10), "Cannot move scratch volume to another pool because is still locked");
    EXPECT_EQ(dump(), before);
    ExpectSuccess(unreserve({10}));
    EXPECT_EQ(counters(Q), Counters(1, 1));
    ExpectSuccess(remove(static_cast<int>(scratch10)));
    EXPECT_EQ(counters(Q), fresh(Q));
    EXPECT_EQ(counters(Q), Counters(0, 0));
    EXPECT_EQ(scratchOf(10), -1);
}

// Which pool takes which volume, by pool type and volume type.
TEST_F(MembershipTest, PoolAndVolumeTypesMustMatch)
{
    struct Case {
        int poolType;
        int volumeType;
        bool accepted;
    };
    const Case table[] = {{0, 1, false}, {1, 0, false}, {1, 1, true}, {1, 2, false}, {1, 3, true}, {2, 3, true},
                          {3, 3, true},  {2, 1, false}, {3, 2, false}, {4, 2, true},  {4, 0, false}};
    int id = 20;
    for (const Case& c : table) {
        pool(id, c.poolType);
        volume(id, c.volumeType);
        exec("INSERT INTO YBSnapEngineInfo (id, name, Type) VALUES (" + std::to_string(id) + ", 'e" +
             std::to_string(id) + "', 5)");
        MemberAnswer a = add(id, id);
        if (c.accepted) {
            ExpectSuccess(a);
        } else {
            ExpectFailure(a, "Scratch pool and scratch volume are not compatible");
            EXPECT_EQ(scratchOf(id), -1);
        }
        ++id;
    }
    ExpectFailure(add(0, 20), "Cannot add a scratch volume to the database with an invalid volume or scratch volume pool");
    ExpectFailure(add(20, -1), "Cannot add a scratch volume to the database with an invalid volume or scratch volume pool");
    ExpectFailure(add(99, 20), "cannot access scratch volume pool information from the database");
    ExpectFailure(add(22, 99), "Error detected checking scratch volume type");
}

// The first member of a pool lies anywhere; later ones on the pool's host,
// seen by exactly one client; pools of Type 2 and 3 take any one host.
TEST_F(MembershipTest, LaterMembersMustLieOnThePoolsHost)
{
    pool(P);
    volume(10, 1, 7);
    volume(11, 1, 8);
    volume(12, 1, 0);
    volume(13, 1, 7);
    exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId) VALUES (2013, 8, 13)");
    ExpectSuccess(add(P, 11));  // the first member: no host checks
    ExpectFailure(add(P, 10), "Scratch volume's host and scratch volume pool's host are different");
    ExpectFailure(add(P, 12), "No host is associated with the scratch volume");
    ExpectFailure(add(P, 13), "More than host is associated with the scratch volume");
    EXPECT_EQ(counters(P), Counters(1, 1));

    pool(Q, 2);
    exec("INSERT INTO YBSnapEngineInfo (id, name, Type) VALUES (5, 'nas', 5)");
    volume(30, 3, 7);
    volume(31, 3, 8);
    volume(32, 3, 0);
    ExpectSuccess(add(Q, 30));
    ExpectSuccess(add(Q, 31));
    ExpectFailure(add(Q, 32), "No host is associated with the scratch volume");
    EXPECT_EQ(counters(Q), Counters(2, 2));
}

// A new member takes snap parameters from its pool's engine (pools of Type 2
// and 3: the first engine of type 5); a move to another engine rewrites
// their commands; a move to a pool without engine removes them.
TEST_F(MembershipTest, MembersTakeTheSnapParametersOfThePoolsEngine)
{
    exec("INSERT INTO YBSnapEngineInfo (id, name, Type, MountCmdHint, SnapCmdHint) VALUES "
         "(3, 'local', 1, 'mount-3', 'snap-3'), (4, 'other', 1, 'mount-4', 'it''s-4'), (6, 'nas-a', 5, 'mount-6', ''), "
         "(7, 'nas-b', 5, 'mount-7', '')");
    pool(P, 1, 3);
    pool(Q, 1, 4);
    pool(3, 2);
    pool(4, 1, 0);
    volume(10, 1, 7);
    volume(30, 3, 9);

    ExpectSuccess(add(P, 10));
    auto params = [this](int volumeId, const char* column) {
        return scalar(std::string("SELECT ") + column + " FROM YBVolSnapParams WHERE SNRVolumeId = " +
                      std::to_string(volumeId));
    };
    EXPECT_EQ(params(10, "SnapEngineId"), 3);
    EXPECT_EQ(params(10, "MountClientId"), 7);
    EXPECT_EQ(params(10, "SyncClientId"), 7);
    EXPECT_EQ(params(10, "SnapClientId"), 7);
    EXPECT_EQ(params(10, "Flags"), 1);
    EXPECT_EQ(DumpTable(m_path, "YBVolSnapParams"), "10|3|7|mount-3||7|||7|snap-3||1||\n");

    // To another engine: the commands change, the engine and clients stay.
    ExpectSuccess(add(Q, 10));
    EXPECT_EQ(DumpTable(m_path, "YBVolSnapParams"), "10|3|7|mount-4||7|||7|it's-4||1||\n");
    // To a pool without engine: removed.
    ExpectSuccess(add(4, 10));
    EXPECT_EQ(DumpTable(m_path, "YBVolSnapParams"), "");
    // Into a pool without engine: none made.
    volume(11, 1, 7);
    ExpectSuccess(add(4, 11));
    EXPECT_EQ(DumpTable(m_path, "YBVolSnapParams"), "");

    EvDebug::clearEntries();
    ExpectSuccess(add(3, 30));
    EXPECT_EQ(params(30, "SnapEngineId"), 6);
    EXPECT_EQ(params(30, "MountClientId"), 9);
    EXPECT_EQ(LogEntriesWith("Multiple Snap engines found for SnapVault/SnapMirror. Picking the first one").size(), 1u);

    // No engine of type 5: refused, nothing written.
    exec("DELETE FROM YBSnapEngineInfo WHERE Type = 5");
    volume(31, 3, 9);
    const std::string before = dump();
    ExpectFailure(add(3, 31), "No entries found for SnapVault/SnapMirror engine");
    EXPECT_EQ(dump(), before);
}

// What keeps a scratch volume in its pool, and the snap parameters going
// with it from a pool that has an engine (none to remove is no failure).
TEST_F(MembershipTest, RemovalRefusalsAndTheSnapParametersOfTheRemovedMember)
{
    exec("INSERT INTO YBSnapEngineInfo (id, name, Type) VALUES (3, 'local', 1)");
    pool(P, 1, 3);
    volume(10);
    volume(11);
    ExpectSuccess(add(P, 10));
    ExpectSuccess(add(P, 11));
    const int s10 = scratchOf(10);
    const int s11 = scratchOf(11);

    exec("UPDATE YBPhysicalVolume SET Flags = 8 WHERE id = 10");
    ExpectFailure(remove(s10), "Scratch volume cannot be deleted if it's still reserved by the schedule");
    exec("UPDATE YBPhysicalVolume SET Flags = 0 WHERE id = 10");
    exec("INSERT INTO YBVolume (id, PhysicalVolumeId, SnapVolumeId, RVScratchVolumeId) VALUES (70, 5, 10, 0)");
    ExpectFailure(remove(s10), "Cannot remove scratch volume that it is associated with a YB volume");
    exec("UPDATE YBVolume SET SnapVolumeId = 0, RVScratchVolumeId = " + std::to_string(s10));
    ExpectFailure(remove(s10), "Cannot remove scratch volume that it is associated with a YB volume");
    ExpectFailure(add(P, 10), "Volume is already reserved in a YB volume");
    exec("DELETE FROM YBVolume");
    ExpectFailure(remove(0), "Cannot remove the scratch volume to the database with invalid id");
    ExpectFailure(remove(999), "cannot access scratch volume information from the database");
    EXPECT_EQ(counters(P), Counters(2, 2));

    ExpectSuccess(remove(s10));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBVolSnapParams WHERE SNRVolumeId = 10"), 0);
    exec("DELETE FROM YBVolSnapParams");
    ExpectSuccess(remove(s11));
    EXPECT_EQ(counters(P), Counters(0, 0));
}

// A new member of volume type 1 gets its block filter switched on on its one
// host; when that cannot be done (except by the client's own refusal) a
// minor event names the volume, and the add still succeeds.
TEST_F(MembershipTest, NewMembersOfType1GetTheirBlockFilterSwitchedOn)
{
    ClientFakesScope scope;
    ClientFakes& fakes = ClientFakesScope::fakes();
    HostClientSeed host;
    host.id = 7;
    host.name = "seven";
    host.netHostName = "seven.net";
    ASSERT_EQ(HostConfig::addClient(host), 0);
    pool(P);
    pool(Q);
    pool(3, 2);
    pool(4);
    pool(5);
    exec("INSERT INTO YBSnapEngineInfo (id, name, Type) VALUES (5, 'nas', 5)");
    volume(10, 1, 7);
    volume(11, 1, 7);
    volume(12, 1, 8);  // a client without a host name
    volume(13, 1, 7);
    exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId) VALUES (2013, 7, 13)");
    volume(30, 3, 7);
    using Args = std::vector<std::string>;
    auto minorEvents = [&fakes] {
        std::vector<Args> found;
        for (const ClientCall& c : fakes.calls("MinorEvent")) found.push_back(c.args);
        return found;
    };

    ExpectSuccess(add(P, 10));
    ASSERT_EQ(fakes.calls("SetBlockFilterDriver").size(), 1u);
    EXPECT_EQ(fakes.calls("SetBlockFilterDriver")[0].client, "seven.net");
    EXPECT_EQ(fakes.calls("SetBlockFilterDriver")[0].args, (Args{"1", "/dev/v10", "0"}));
    EXPECT_TRUE(minorEvents().empty());

    // Refused by the client: no event.
    ASSERT_TRUE(fakes.failNext("SetBlockFilterDriver"));
    ExpectSuccess(add(P, 11));
    EXPECT_TRUE(minorEvents().empty());

    // No host name, two devices: the event with the SNR volume id.
    ExpectSuccess(add(Q, 12));
    ExpectSuccess(add(4, 13));
    EXPECT_EQ(minorEvents(), (std::vector<Args>{{"0x3900006b", "0", "0", "12"}, {"0x3900006b", "0", "0", "13"}}));
    EXPECT_EQ(LogEntriesWith("\tWarning: Block filter driver was not enabled on the volume").size(), 1u);

    // Moves and volumes of other types are left alone.
    fakes.reset();
    ExpectSuccess(add(5, 10));
    ExpectSuccess(add(3, 30));
    EXPECT_TRUE(fakes.calls().empty());
}

// A database failure at any step of an add, a move or a removal fails the
// request and leaves every table as it was.
TEST_F(MembershipTest, AFailureAtAnyStepLeavesTheTablesAsTheyWere)
{
    exec("INSERT INTO YBSnapEngineInfo (id, name, Type) VALUES (3, 'local', 1), (4, 'other', 1)");
    pool(P, 1, 3);
    pool(Q, 1, 4);
    volume(10);
    volume(11);
    volume(12);
    ExpectSuccess(add(P, 10));
    ExpectSuccess(add(Q, 12));
    const int s10 = scratchOf(10);

    struct Step {
        const char* call;
        int skip;
        std::function<MemberAnswer()> request;
        std::string text;
    };
    const std::vector<Step> steps = {
        // A new member of P (P has members: host checks run).
        {"getInfo", 0, [&] { return add(P, 11); }, "cannot access scratch volume pool information from the database"},
        {"getList", 0, [&] { return add(P, 11); }, "Could not get scratch volume information from the database"},
        {"getList", 1, [&] { return add(P, 11); }, "Unable to find the host associated with the scratch pool"},
        {"insert", 0, [&] { return add(P, 11); }, "Cannot include new scratch volume pool into the database"},
        {"Update", 0, [&] { return add(P, 11); },
         "Cannot update volume counters of the scratch volume pool in the database"},
        {"insert", 1, [&] { return add(P, 11); }, "Cannot include new volume snap parameters into the database"},
        // A move of 12 from Q to P.
        {"getNRows", 1, [&] { return add(P, 12); }, "Cannot access YB Volume information from the database"},
        {"Update", 0, [&] { return add(P, 12); }, "Cannot update scratch volume information in the database"},
        {"Update", 1, [&] { return add(P, 12); }, "Cannot update scratch volume pool table information"},
        {"Update", 2, [&] { return add(P, 12); },
         "Cannot update volume counters of the scratch volume pool in the database"},
        {"Update", 3, [&] { return add(P, 12); }, "Could not update volume snap parameters information from database"},
        // The removal of 10.
        {"getInfo", 0, [&] { return remove(s10); }, "cannot access scratch volume information from the database"},
        {"getNRows", 1, [&] { return remove(s10); }, "Cannot access YB volume information from the database"},
        {"Update", 0, [&] { return remove(s10); }, "cannot update scratch volume pool information in the database"},
        {"remove", 0, [&] { return remove(s10); }, "cannot remove scratch volume record from the database"},
        {"remove", 1, [&] { return remove(s10); }, "Cannot remove volume snap parameters info from the database"},
    };
    const std::string before = dump();
    for (const Step& step : steps) {
        HostDBFaults::failNext(step.call, 1, step.skip);
        ExpectFailure(step.request(), step.text);
        HostDBFaults::clear();
        EXPECT_EQ(dump(), before) << step.call << " " << step.skip;
    }
    HostDBFaults::failNext("startTran", 1);
    ExpectFailure(add(P, 11), "Could not initiated database transactions");
    EXPECT_EQ(dump(), before);
}

// The counter's failures once the scratch volume is found.
TEST_F(MembershipTest, CounterFailuresLeaveThePoolAsItWas)
{
    pool(P);
    volume(10);
    ExpectSuccess(add(P, 10));
    HostDBFaults::failNext("getInfo", 1);
    UpdateAvailVolPoolCounterRet_t r = counter(10, POOL_COUNTER_DECREMENT);
    EXPECT_EQ(r.errCode, -4);
    EXPECT_EQ(r.errMsg, "Cannot get scratch volume pool available volume information from database");
    HostDBFaults::failNext("Update", 1);
    r = counter(10, POOL_COUNTER_DECREMENT);
    EXPECT_EQ(r.errCode, -4);
    EXPECT_EQ(r.errMsg, "Could not update scratch volume pool information from database");
    exec("UPDATE YBScratchVolume SET RVScratchVolumePoolId = 0");
    r = counter(10, POOL_COUNTER_DECREMENT);
    EXPECT_EQ(r.errCode, -14);
    EXPECT_EQ(counters(P), Counters(1, 1));
}

// Eight threads add, move, reserve, unreserve and remove volumes among three
// pools; every request either goes through or meets a refusal of the state
// it found, and the counters end as a fresh count of each pool's rows.
TEST_F(MembershipTest, ConcurrentMembershipAndReservationsKeepTheCountersExact)
{
    const int pools[] = {1, 2, 3};
    for (int p : pools) pool(p);
    const int kVolumes = 12;
    for (int v = 1; v <= kVolumes; ++v) volume(100 + v);

    const std::set<std::string> refusals = {
        "Cannot move scratch volume to another pool because is still locked",
        "Cannot remove scratch volume because is still locked",
        "A volume is already reserved",
        "A volume is not reserved",
        "Could not find scratch volume information in the database",
        "cannot access scratch volume information from the database",
    };
    std::vector<std::vector<std::string>> unexpected(8);
    std::vector<int> succeeded(8, 0);
    auto worker = [&](int t) {
        RecordingNetwork network;
        int64_t status = 0;
        std::string text;
        network.network.setSendObserver([&](unsigned long, const void* data, unsigned long) {
            const auto* reply = static_cast<const repRemoveRVScratchVolumeResponse*>(data);
            status = reply->status;
            text = ReplyText(reply->errMsg);
        });
        ReplicationMgr own(&network.session);
        std::mt19937 random(1234 + t);
        for (int i = 0; i < 40; ++i) {
            int32_t volumeId = 101 + static_cast<int>(random() % kVolumes);
            zxsDatabuf buf;
            repAddRVScratchVolumeReq addReq{static_cast<uint32_t>(pools[random() % 3]), static_cast<uint32_t>(volumeId)};
            repReserveSNRVolReq listReq{1, &volumeId};
            repRemoveRVScratchVolumeReq removeReq{0};
            unsigned long code = 0;
            switch (random() % 4) {
            case 0: code = 0x35000015; buf.m_pData = &addReq; break;
            case 1: code = 0x35000067; buf.m_pData = &listReq; break;
            case 2: code = 0x3500007d; buf.m_pData = &listReq; break;
            default: {
                const long long scratchId = scalar("SELECT id FROM YBScratchVolume WHERE PhysicalVolumeId = " +
                                                   std::to_string(volumeId));
                if (scratchId < 0) continue;
                removeReq.scratchVolumeId = static_cast<uint32_t>(scratchId);
                code = 0x35000017;
                buf.m_pData = &removeReq;
            }
            }
            own.post(code, 0, &buf);
            if (status == 1)
                ++succeeded[t];
            else if (refusals.count(text) == 0)
                unexpected[t].push_back(text);
        }
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) threads.emplace_back(worker, t);
    for (std::thread& thread : threads) thread.join();

    int total = 0;
    for (int t = 0; t < 8; ++t) {
        EXPECT_TRUE(unexpected[t].empty()) << "thread " << t << ": " << unexpected[t].front();
        total += succeeded[t];
    }
    EXPECT_GT(total, 80);
    for (int p : pools) EXPECT_EQ(counters(p), fresh(p)) << "pool " << p;
}

}  // namespace
