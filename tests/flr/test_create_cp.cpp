// Creating and merging consistency points through post, in the three message
// versions of the create request, and the header-only add.
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "flr/FLRPostFixture.h"
#include "support/TestHost.h"

namespace {

using Rows = std::vector<std::string>;

class CreateCPTest : public FLRPostTest, public ::testing::WithParamInterface<int> {
protected:
    int version() const { return GetParam(); }

    // The stored snapshots of ThreeSnapshots() with ids 1 to 3 of point 1:
    // version 1 carries no engine type, path or extra value.
    Rows threeStoredSnapshots() const
    {
        if (version() == 1)
            return {"1:1:snapA:vol-a:{ga}:1::0", "2:1:snapB:vol-b:{gb}:1::0", "3:1:snapC:vol-c:{gc}:1::0"};
        return {"1:1:snapA:vol-a:{ga}:2:{shadow-a}:5", "2:1:snapB:vol-b:{gb}:3::0", "3:1:snapC:vol-c:{gc}:2:{shadow-c}:6"};
    }
    Rows threeSentSnapshots() const
    {
        if (version() == 1) return {"1:1:snapA:vol-a:{ga}", "2:1:snapB:vol-b:{gb}", "3:1:snapC:vol-c:{gc}"};
        return {"1:1:snapA:vol-a:{ga}:2:{shadow-a}:5", "2:1:snapB:vol-b:{gb}:3:(null):0",
                "3:1:snapC:vol-c:{gc}:2:{shadow-c}:6"};
    }
};

INSTANTIATE_TEST_SUITE_P(MessageVersions, CreateCPTest, ::testing::Values(1, 2, 3));

TEST_P(CreateCPTest, APointIsStoredWithItsSnapshotsPairsAndMountPointsAndSentBack)
{
    CPRequest r = ThreeSnapshots();
    r.flags = FLRCP_FLAG_ARCHIVE_SNAP;  // version 3 only
    const int32_t before = static_cast<int32_t>(std::time(nullptr));
    FLRAnswer a = create(version(), r);
    const int32_t after = static_cast<int32_t>(std::time(nullptr));

    expectDone(a);
    EXPECT_EQ(a.id, 1);
    // Destination host 5 with its tallmark 3; the source client is the last
    // active pair's client of the set.
    EXPECT_EQ(CPRows(), Rows{version() == 3 ? "1:40:77:8:5:3:9:0" : "1:40:77:0:5:3:9:0"});
    EXPECT_EQ(SnapRows(), threeStoredSnapshots());
    EXPECT_EQ(PairRows(), (Rows{"1:1:201", "2:2:202", "3:3:201", "4:3:202"}));
    EXPECT_EQ(MountRows(), (Rows{"1:1:/mnt/a", "2:3:/mnt/c"}));
    // Stamped with the system clock, not the request's time.
    for (int32_t t : CreationTimes()) {
        EXPECT_GE(t, before);
        EXPECT_LE(t, after);
    }

    EXPECT_EQ(a.snapCount, 3u);
    EXPECT_EQ(a.snaps, threeSentSnapshots());
    EXPECT_EQ(a.pairCount, 4u);
    EXPECT_EQ(a.pairs, PairRows());
    EXPECT_EQ(a.mountCount, 2u);
    EXPECT_EQ(a.mounts, MountRows());
    EXPECT_EQ(LogEntriesWith("\tFLR CP [40 - ").size(), 1u);
    EXPECT_EQ(LogEntriesWith(" completed successfully\n\tSending reply ").size(), 1u);
}

TEST_P(CreateCPTest, ThePointReportedAgainMergesOnlyItsNewSnapshots)
{
    const CPRequest r = ThreeSnapshots();
    ASSERT_EQ(create(version(), r).status, 1u);
    const Rows stored = AllRows();

    // The same report: the stored point, nothing new.
    FLRAnswer again = create(version(), r);
    expectDone(again);
    EXPECT_EQ(again.id, 1);
    EXPECT_EQ(again.snapCount + again.pairCount + again.mountCount, 0u);
    EXPECT_TRUE(again.arraysNull);
    EXPECT_EQ(AllRows(), stored);
    EXPECT_EQ(LogEntriesWith("\tEvent: Snapshot snapB is already in the DB. Skipping it").size(), 1u);

    // The job's point, reported at another time: only the new name is added,
    // its pairs and mount point with it; the point stays as it was.
    CPRequest later = r;
    later.creationTime = 5000;
    later.flags = FLRCP_FLAG_UNSTABLE;
    later.snaps.push_back({13, "snapD", "vol-d", "{gd}", 2, "", 0});
    later.pairs.push_back({13, 202});
    later.mounts.push_back({13, "/mnt/d"});
    FLRAnswer merged = create(version(), later);
    expectDone(merged);
    EXPECT_EQ(merged.id, 1);
    EXPECT_EQ(merged.snapCount, 1u);
    EXPECT_EQ(merged.pairs, (Rows{"5:4:202"}));
    EXPECT_EQ(merged.mounts, (Rows{"3:4:/mnt/d"}));
    EXPECT_EQ(CPRows().size(), 1u);
    EXPECT_EQ(SnapRows().size(), 4u);
    EXPECT_EQ(SnapRows().back().substr(0, 10), "4:1:snapD:");
}

TEST_P(CreateCPTest, PointsOfJobsWithoutAnIdStayApart)
{
    CPRequest first = ThreeSnapshots();
    first.jobId = 0;
    CPRequest second = first;
    second.creationTime = 2000;
    second.snaps = {{20, "snapX", "vol-x", "{gx}", 2, "", 0}};
    second.pairs = {{20, 201}};
    second.mounts.clear();

    expectDone(create(version(), first));
    FLRAnswer a = create(version(), second);
    expectDone(a);
    EXPECT_EQ(a.id, 2);
    EXPECT_EQ(CPRows(), (Rows{"1:40:0:0:5:3:9:0", "2:40:0:0:5:3:9:0"}));
    EXPECT_EQ(SnapRows().back().substr(0, 10), "4:2:snapX:");
}

TEST_P(CreateCPTest, OfSeveralMatchingPointsTheLowestIdTakesTheMerge)
{
    const int32_t byJob = storeCP(40, 3000, 77);
    const int32_t bySetAndTime = storeCP(40, 1000, 5);
    ASSERT_LT(byJob, bySetAndTime);
    FLRAnswer a = create(version(), ThreeSnapshots());
    expectDone(a);
    EXPECT_EQ(a.id, byJob);
    EXPECT_EQ(CPRows().size(), 2u);
    EXPECT_EQ(SnapRows().front().substr(0, 4), "1:" + std::to_string(byJob) + ":");
}

TEST_P(CreateCPTest, AFailureAtAnyStepLeavesTheTablesAsTheyWere)
{
    storeCP(41, 1000, 5);  // another set's point stays untouched
    const Rows before = AllRows();
    expectEachFault(
        {
            {"looking the point up", "getList", 5, 0, -4,
             "Cannot include new consistency point. DB Error while checking duplicates"},
            {"reading the source client", "fetch", 5, 0, -4, "Could not get rep set source client id from the database"},
            {"finding the destination host", "config.getDestinationHostId", 5, 0, -17,
             "Consistency Point cannot be added. Cannot find the destination host of the Replication Set"},
            {"finding the tallmark", "config.getTallmarkId", 5, 0, -17,
             "Consistency Point cannot be added. Cannot find the tallmark id of the Replication Set"},
            {"inserting the point", "insert", 5, 0, -4,
             "Cannot include new FLR consistency point record into the database"},
            {"inserting the first snapshot", "insert", 5, 1, -4,
             "Cannot include new FLR snapshot record into the database"},
            {"inserting the first pair", "insert", 5, 2, -4, "Cannot include new FLR snapshot pair into the database"},
            {"inserting the first mount point", "insert", 5, 3, -4,
             "Cannot include new FLR snapshot mount point into the database"},
            {"inserting the last mount point", "insert", 5, 9, -4,
             "Cannot include new FLR snapshot mount point into the database"},
            {"starting", "startTran", 5, 0, -7, "Could not initiated database transactions"},
            {"committing", "commitTran", 5, 0, -4, "Could not commit database transactions"},
        },
        [&] { return create(version(), ThreeSnapshots()); });

    // No reply array, no point: the rows of the whole request go back.
    for (int allocations = 0; allocations < 3; ++allocations) {
        SCOPED_TRACE(allocations);
        AllocationsLeft() = allocations;
        AllocReplyArray = &LimitedAlloc;
        expectFailed(create(version(), ThreeSnapshots()), -5, "No memory available to perform operation");
        AllocReplyArray = &malloc;
        EXPECT_EQ(AllRows(), before);
    }

    // The snapshot list of a stored point cannot be read for the merge.
    ASSERT_EQ(create(version(), ThreeSnapshots()).status, 1u);
    CPRequest more = ThreeSnapshots();
    more.snaps.push_back({13, "snapD", "vol-d", "{gd}", 2, "", 0});
    more.pairs.push_back({13, 202});
    expectEachFault({{"reading the merged point's snapshots", "getList", 5, 1, -4,
                      "Failed to get the list of snapshot for the consistency point"}},
                    [&] { return create(version(), more); });
}

// ---- One message version is enough below: the operation is the same ----------

TEST_F(FLRPostTest, RefusedCreationsWriteNothing)
{
    struct Case {
        const char* what;
        void (*change)(CPRequest&);
        int32_t code;
        const char* text;
    };
    const Case cases[] = {
        {"no replication set", [](CPRequest& r) { r.setId = 0; }, -6, "Replication set id is invalid"},
        {"a negative replication set", [](CPRequest& r) { r.setId = -3; }, -6, "Replication set id is invalid"},
        {"automount without mount points",
         [](CPRequest& r) {
             r.autoMount = true;
             r.mounts.clear();
         },
         -2, "Failed to create the consistency point"},
        {"no snapshots", [](CPRequest& r) { r.snaps.clear(); }, -2, "Consistency point has no snapshots"},
        {"no pairs", [](CPRequest& r) { r.pairs.clear(); }, -2, "Snapshots have no pair id"},
        {"a snapshot without pairs", [](CPRequest& r) { r.pairs.pop_back(), r.pairs.pop_back(); }, -2,
         "Snapshot has no pair ids"},
        {"two snapshots of one name", [](CPRequest& r) { r.snaps[2].name = "snapA"; }, -2,
         "There is more than one snapshot with the same name"},
        {"a name one over its limit", [](CPRequest& r) { r.snaps[1].name.assign(128, 'n'); }, -18,
         "Snapshot name is too long"},
        {"an empty name", [](CPRequest& r) { r.snaps[1].name.clear(); }, -2, "Snap name is empty"},
        {"an empty volume name", [](CPRequest& r) { r.snaps[1].volume.clear(); }, -2, "Snap volume name is empty"},
        {"an empty mount path", [](CPRequest& r) { r.mounts[1].second.clear(); }, -2,
         "Snapshot's mount point is missing"},
        {"a mount path one over its limit", [](CPRequest& r) { r.mounts[1].second.assign(1024, 'm'); }, -18,
         "Snapshot's mount point is too long"},
    };
    const Rows nothing = AllRows();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CPRequest r = ThreeSnapshots();
        c.change(r);
        expectFailed(create(2, r), c.code, c.text);
        EXPECT_EQ(AllRows(), nothing);
    }
    EXPECT_EQ(LogEntriesWith("\tEvent: No mount points specified for the automount consistency point").size(), 1u);

    // The longest name and path are stored whole; pairs and mount points of
    // numbers no snapshot has are left out.
    CPRequest longest = ThreeSnapshots();
    longest.snaps[0].name.assign(127, 'n');
    longest.mounts[0].second.assign(1023, 'm');
    longest.pairs.push_back({99, 201});
    longest.mounts.push_back({99, "/mnt/none"});
    FLRAnswer a = create(2, longest);
    expectDone(a);
    EXPECT_EQ(SnapRows().front().substr(4, 127), std::string(127, 'n'));
    EXPECT_EQ(MountRows().front(), "1:1:" + std::string(1023, 'm'));
    EXPECT_EQ(PairRows().size(), 4u);
    EXPECT_EQ(MountRows().size(), 2u);
}

TEST_F(FLRPostTest, TheSourceAndDestinationClientsComeFromTheRequestOrTheSet)
{
    HostBackupSetSeed quiet;
    quiet.id = 41;
    quiet.name = "set-41";
    quiet.clientId = 8;
    quiet.destinationHostId = 5;
    ASSERT_EQ(HostConfig::addBackupSet(quiet), 0);
    HostBackupSetSeed unreachable;
    unreachable.id = 42;
    unreachable.name = "set-42";
    unreachable.clientId = 8;
    unreachable.destinationHostId = 6;  // no such client
    ASSERT_EQ(HostConfig::addBackupSet(unreachable), 0);

    CPRequest given = ThreeSnapshots();
    given.srcClientId = 12;
    expectDone(create(2, given));
    // A set without active pairs has no source client; a destination-machine
    // point belongs to the set's own client.
    CPRequest destinationMachine = ThreeSnapshots();
    destinationMachine.setId = 41;
    destinationMachine.jobId = 78;
    destinationMachine.type = FLRCP_TYPE_DESTINATION_MACHINE;
    expectDone(create(3, destinationMachine));
    EXPECT_EQ(CPRows(), (Rows{"1:40:77:0:5:3:12:0", "2:41:78:0:8:4:0:1"}));

    CPRequest unknownSet = ThreeSnapshots();
    unknownSet.setId = 99;
    unknownSet.jobId = 79;
    expectFailed(create(2, unknownSet), -17,
                 "Consistency Point cannot be added. Cannot find the destination host of the Replication Set");
    CPRequest noHost = ThreeSnapshots();
    noHost.setId = 42;
    noHost.jobId = 80;
    expectFailed(create(2, noHost), -17,
                 "Consistency Point cannot be added. Cannot find the tallmark id of the Replication Set");
    EXPECT_EQ(CPRows().size(), 2u);
}

// ---- The header-only add ---------------------------------------------------------

TEST_F(FLRPostTest, TheHeaderOnlyAddStoresThePointStampedWithTheClock)
{
    const int32_t before = static_cast<int32_t>(std::time(nullptr));
    FLRAnswer a = addCP(40, 1234);
    expectDone(a);
    EXPECT_EQ(a.id, 1);
    // Only the set and the clock's time are stored.
    EXPECT_EQ(CPRows(), Rows{"1:40:0:0:0:0:0:0"});
    EXPECT_GE(CreationTimes()[0], before);
    EXPECT_EQ(LogEntriesWith("REPLICA_PM_AddFLRConsistencyPoint_REQ completed successfully\n\tSending reply "
                             "REPLICA_PM_AddFLRConsistencyPoint_RESP to client...")
                  .size(),
              1u);

    // The stored time is not the request's: the same request is accepted again.
    EXPECT_EQ(addCP(40, 1234).id, 2);
    // A stored point of that set and time refuses it.
    storeCP(40, 555, 0);
    const Rows stored = AllRows();
    expectFailed(addCP(40, 555), -13, "The Consistency point is already in the database");
    expectFailed(addCP(0, 5), -6, "Replication set id is invalid");
    EXPECT_EQ(LogEntriesWith("\tEvent: Replication set id is invalid [FLRSetId == 0]").size(), 1u);
    // A negative set id names no set either: nothing is stored for it.
    expectFailed(addCP(-1, 5), -6, "Replication set id is invalid");
    EXPECT_EQ(LogEntriesWith("\tEvent: Replication set id is invalid [FLRSetId == -1]").size(), 1u);

    HostDBFaults::failNext("getNRows", 5);
    expectFailed(addCP(40, 9), -4, "Cannot include new consistency point. DB Error while checking duplicates");
    HostDBFaults::failNext("insert", 5);
    expectFailed(addCP(40, 9), -4, "Cannot include new FLR consistency point record into the database");
    HostDBFaults::failNext("startTran", 5);
    expectFailed(addCP(40, 9), -7, "Could not initiated database transactions");
    EXPECT_EQ(AllRows(), stored);

    // A count that finds no row is no duplicate.
    HostDBFaults::failNext("getNRows", 100);
    expectDone(addCP(40, 555));
}

}  // namespace
