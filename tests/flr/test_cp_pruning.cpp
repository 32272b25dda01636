// Pruning a replication set to its maximum count and the fan-in points of a
// volume through post: which points go, mounted and shared snapshots, the
// point still being made, what the host leaves undone, and failures.
#include <gtest/gtest.h>

#include <utility>

#include "flr/FLRMessages.h"
#include "flr/FLRPruneFixture.h"

namespace {

using PruningTest = FLRPruneTest;

const char MountedShared[] =
    "Rep Set cannot be pruned because there is a snapshot that it's still mounted/shared. Unmount/Unshare the "
    "snapshot first";

TEST_F(PruningTest, OldestPointsBeyondTheMaximumGoLeavingOneSlotFree)
{
    const auto ids = points(5);
    setMax(40, 6);
    expectDone(prune(40));
    EXPECT_EQ(CPIds(), ids);
    EXPECT_TRUE(fakes().calls().empty());

    setMax(40, 5);
    expectDone(prune(40));
    EXPECT_EQ(CPIds(), std::vector<int32_t>(ids.begin() + 1, ids.end()));
    EXPECT_EQ(SnapNames(), (std::vector<std::string>{"snap-2", "snap-3", "snap-4", "snap-5"}));
    EXPECT_EQ(PairRows().size(), 4u);

    setMax(40, 0);
    expectDone(prune(40));
    EXPECT_EQ(AllRows(), (std::vector<std::string>{"--", "--", "--", "--", "--"}));
}

TEST_F(PruningTest, TwelvePointsWithTenAtMostLoseTheThreeOldest)
{
    const auto ids = points(12);
    setMax(40, 10);
    expectDone(prune(40));
    EXPECT_EQ(CPIds(), std::vector<int32_t>(ids.begin() + 3, ids.end()));
    EXPECT_EQ(sentNames("FLRSnapCleanupV2"), (std::vector<std::string>{"snap-1", "snap-2", "snap-3"}));
}

TEST_F(PruningTest, MountedOldestPointStaysAndTheNextGoesInItsPlace)
{
    const auto ids = points(5);
    mount(1, "/mnt/1");  // the oldest point's snapshot (engine type 2)
    setMax(40, 5);
    expectDone(prune(40));
    EXPECT_EQ(CPIds(), (std::vector<int32_t>{ids[0], ids[2], ids[3], ids[4]}));
    EXPECT_EQ(MountRows().size(), 1u);
}

TEST_F(PruningTest, MountedSnapshotOfEngineTypeOneStopsThePrune)
{
    point(40, 1, "snap-1", 1);
    point(40, 2, "snap-2");
    mount(1, "/mnt/1");
    setMax(40, 2);
    const auto before = AllRows();
    expectFailed(prune(40), -11,
                 "Rep Set cannot be pruned because there is a snapshot that it's still mounted. Unmount the snapshot first");
    EXPECT_EQ(AllRows(), before);
}

TEST_F(PruningTest, OnlyCandidateMountedOrSharedCannotBePruned)
{
    point(40, 1, "snap-1");
    share(mount(1, "/mnt/1"), "share-1");
    setMax(40, 1);
    const auto before = AllRows();
    expectFailed(prune(40), -11, MountedShared);
    EXPECT_EQ(AllRows(), before);
}

TEST_F(PruningTest, AutomountPointGoesWithItsMountAndShare)
{
    point(40, 1, "snap-1", 2, FLRCP_FLAG_AUTOMOUNT);
    const int32_t kept = point(40, 2, "snap-2");
    share(mount(1, "/mnt/1"), "share-1");
    setMax(40, 2);
    expectDone(prune(40));
    EXPECT_EQ(CPIds(), std::vector<int32_t>{kept});
    EXPECT_TRUE(MountRows().empty());
    EXPECT_TRUE(ShareRows().empty());
}

TEST_F(PruningTest, EachResultOfTheHostRemovesOnlyWhatItReportsDone)
{
    setMax(40, 2);
    for (int bits = 0; bits < 8; ++bits) {
        SCOPED_TRACE(bits);
        for (const char* table : {"YBFLRConsistencyPoint", "YBFLRSnapshot", "YBFLRSnapPair", "YBFLRSnapMountPoint",
                                  "YBFLRSnapNetworkShare"})
            exec(std::string("DELETE FROM ") + table);
        // Two points to go, the first an automount one, mounted and shared.
        const std::string b = std::to_string(bits);
        const int32_t first = cp(40, 1, FLRCP_FLAG_AUTOMOUNT);
        const int32_t s = snap(first, "a" + b);
        pair(s, 201);
        share(mount(s, "/mnt/a"), "share-a");
        point(40, 2, "b" + b);
        point(40, 3, "c" + b);
        const auto before = AllRows();

        fakes().setSnapResult("a" + b, bits);
        const FLRAnswer a = prune(40);
        if ((bits & 1) == 0) {
            // The share stayed: that entry keeps every row, its point too;
            // the other point goes.
            expectDone(a);
            EXPECT_EQ(SnapNames(), (std::vector<std::string>{"a" + b, "c" + b}));
            EXPECT_EQ(CPIds().size(), 2u);
            EXPECT_EQ(CPIds().front(), first);
            EXPECT_EQ(MountRows().size(), 1u);
            EXPECT_EQ(ShareRows().size(), 1u);
            EXPECT_EQ(PairRows().size(), 2u);
        } else if (bits != 7) {
            expectFailed(a, -24, (bits & 2) == 0 ? "Failed to unmount the snapshot from the host"
                                                 : "Failed to destroy the snapshot from the host");
            EXPECT_EQ(AllRows(), before);
        } else {
            expectDone(a);
            EXPECT_EQ(SnapNames(), std::vector<std::string>{"c" + b});
            EXPECT_EQ(CPIds().size(), 1u);
            EXPECT_TRUE(MountRows().empty());
            EXPECT_TRUE(ShareRows().empty());
        }
    }
}

TEST_F(PruningTest, HostThatFailsOrIsUnknownKeepsEveryRow)
{
    points(3);
    setMax(40, 2);
    const auto before = AllRows();
    fakes().failNext("FLRSnapCleanupV2");
    expectFailed(prune(40), -24, "Consistency point resource could not be released in the host");
    EXPECT_EQ(AllRows(), before);
    expectFailed(prune(0), -6, "Failed to prune the Replication set. Unknown Replication Set id");
    HostConfig::failNext("getMaxCountConsistPoints");
    expectFailed(prune(40), -17,
                 "Failed to prune the snapshot(s). Failed to find the maximum number of snapshots in the replication set");
    HostConfig::failNext("getDestinationHostId");
    expectFailed(prune(40), -17, "Failed to prune the snapshot(s). Failed to find the replication set destination host");
    HostDBFaults::failNext("getList", 5, 1);
    expectFailed(prune(40), -4, "Cannot find the snaps. Reason: DB Error");
    HostDBFaults::failNext("fetch", 5);
    expectFailed(prune(40), -4, "Could not get job state");
    EXPECT_EQ(AllRows(), before);
}

TEST_F(PruningTest, PointOfARunningJobIsLeftOut)
{
    const auto ids = points(3);
    exec("INSERT INTO JCJobInfo (JobId, state) VALUES (3, 1), (1, 1)");
    setMax(40, 0);
    expectDone(prune(40));
    // Only the newest point counts as running.
    EXPECT_EQ(CPIds(), std::vector<int32_t>{ids[2]});
}

TEST_F(PruningTest, FanInPruneOfAVolume)
{
    expectFailed(pruneFanIn(""), -2, "Cannot prune RPs if the volume GUID is missing");
    expectDone(pruneFanIn("{none}"));

    // Set 40 has three points on the volume; set 41 feeds it too, with a
    // snapshot of engine type 2 (released with the prune) and one of type 4
    // (kept).
    addSet(41, 5);
    const auto ids = points(3);
    const int32_t other = cp(41, 9);
    pair(snap(other, "snap-o2"), 202);
    pair(snap(other, "snap-o4", "{vol}\\", 4), 202);
    setMax(40, 3);
    // The GUID is matched with its trailing backslash added.
    expectDone(pruneFanIn("{vol}"));
    EXPECT_EQ(CPIds(), (std::vector<int32_t>{ids[1], ids[2], other}));
    EXPECT_EQ(SnapNames(), (std::vector<std::string>{"snap-2", "snap-3", "snap-o4"}));
    EXPECT_EQ(FlagsOf(other), FLRCP_FLAG_UNSTABLE);
}

TEST_F(PruningTest, RequestWithANullGUIDIsAnEmptyGUID)
{
    repPruneFanInRPReq req{nullptr};
    expectFailed(post(0x35000232, &req, sizeof(repPruneFanInRPResp)), -2,
                 "Cannot prune RPs if the volume GUID is missing");
}

// A prune never removes one of its set's points while a snapshot of it
// stays: the point is marked unstable instead, as another set's point is.
TEST_F(PruningTest, APointWhoseSnapshotsPartlyStayIsMarkedUnstableNotRemoved)
{
    // A fan-in prune of one of the two volumes the point has snapshots on.
    const int32_t spread = cp(40, 1);
    pair(snap(spread, "a1", "{ga}\\"), 201);
    pair(snap(spread, "a2", "{gb}\\"), 201);
    setMax(40, 1);
    expectDone(pruneFanIn("{ga}"));
    EXPECT_EQ(SnapNames(), std::vector<std::string>{"a2"});
    EXPECT_EQ(CPIds(), std::vector<int32_t>{spread});
    EXPECT_EQ(FlagsOf(spread), FLRCP_FLAG_UNSTABLE);
    EXPECT_EQ(orphans(), 0);
    exec("DELETE FROM YBFLRConsistencyPoint; DELETE FROM YBFLRSnapshot; DELETE FROM YBFLRSnapPair");

    // A set prune whose count runs out inside a point whose snapshots
    // interleave in time with the next point's.
    const int32_t older = cp(40, 1);
    const int32_t newer = cp(40, 2);
    pair(snap(older, "o1"), 201);
    pair(snap(newer, "n1"), 201);
    pair(snap(older, "o2", "{other}\\"), 201);
    setMax(40, 2);
    expectDone(prune(40));
    EXPECT_EQ(orphans(), 0);
    for (const std::string& name : SnapNames()) {
        SCOPED_TRACE(name);
        const long long cpId = scalar("SELECT ConsistencyPointId FROM YBFLRSnapshot WHERE Name = '" + name + "'");
        EXPECT_EQ(FlagsOf(static_cast<int32_t>(cpId)) & FLRCP_FLAG_UNSTABLE, FLRCP_FLAG_UNSTABLE);
    }
    exec("DELETE FROM YBFLRConsistencyPoint; DELETE FROM YBFLRSnapshot; DELETE FROM YBFLRSnapPair");

    // The host leaves one snapshot's share; the point's other snapshot goes.
    const int32_t shared = cp(40, 1, FLRCP_FLAG_AUTOMOUNT);
    const int32_t left = snap(shared, "s1");
    pair(left, 201);
    share(mount(left, "/mnt/s1"), "share-s1");
    pair(snap(shared, "s2", "{other}\\"), 201);
    point(40, 2, "b1");
    point(40, 3, "c1");
    setMax(40, 2);
    fakes().setSnapResult("s1", 6);
    prune(40);
    EXPECT_EQ(orphans(), 0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBFLRConsistencyPoint WHERE id = " + std::to_string(shared)), 1);
}

// While the host releases the snapshots a prune chose, another request waits
// for the writer turn and gets it when the prune gives the turn back before
// its second pass: a mount point it added to a snapshot the second pass
// removes goes with that snapshot.
TEST_F(PruningTest, AMountPointAddedWhileTheHostReleasesGoesWithItsSnapshot)
{
    const int32_t first = cp(40, 1, FLRCP_FLAG_AUTOMOUNT);
    const int32_t released = snap(first, "a1");
    pair(released, 201);
    const int32_t second = cp(40, 2, FLRCP_FLAG_AUTOMOUNT);
    const int32_t shared = snap(second, "b1");
    pair(shared, 201);
    share(mount(shared, "/mnt/b1"), "share-b1");
    point(40, 3, "c1");
    setMax(40, 2);
    fakes().setSnapResult("b1", 6);  // its share stays: the rows are removed again with what the host did

    const std::string path = "/mnt/late";
    repAddFLRSnapMountPointReq req{7, static_cast<uint32_t>(released), RequestText(path)};
    RequestWhileTheHostWorks adder(fakes(), "FLRSnapCleanupV2", m_path, 0x350001df, &req);
    prune(40);
    EXPECT_EQ(adder.status(), 1u);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBFLRSnapshot WHERE id = " + std::to_string(released)), 0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBFLRSnapMountPoint WHERE MountPath = '/mnt/late'"), 0);
    EXPECT_EQ(orphans(), 0);
}

// The prune of two points whose second pass runs: the first point's
// snapshot a1 mounted and shared, the host releasing all of it; the
// second's snapshot b1 mounted and shared, the host leaving its share; a
// third point that stays. The ids of a1's point, mount point and share.
struct SecondPassRows {
    int32_t point = 0;
    int32_t mountPoint = 0;
    int32_t share = 0;
};

// While the host releases, another request removes a row the second pass
// then removes by the id it read before: the row is gone all the same, and
// the prune succeeds.
TEST_F(PruningTest, ARowAnotherRequestRemovedWhileTheHostReleasesCountsAsRemoved)
{
    const auto layOut = [&] {
        for (const char* table : {"YBFLRConsistencyPoint", "YBFLRSnapshot", "YBFLRSnapPair", "YBFLRSnapMountPoint",
                                  "YBFLRSnapNetworkShare"})
            exec(std::string("DELETE FROM ") + table);
        SecondPassRows rows;
        rows.point = cp(40, 1, FLRCP_FLAG_AUTOMOUNT);
        const int32_t a1 = snap(rows.point, "a1");
        pair(a1, 201);
        rows.mountPoint = mount(a1, "/mnt/a1");
        rows.share = share(rows.mountPoint, "share-a1");
        const int32_t b1 = snap(cp(40, 2, FLRCP_FLAG_AUTOMOUNT), "b1");
        pair(b1, 201);
        share(mount(b1, "/mnt/b1"), "share-b1");
        point(40, 3, "c1");
        fakes().setSnapResult("b1", 6);
        return rows;
    };
    setMax(40, 2);
    const char* const removedBy[] = {"a deletion of its share", "a deletion of its mount point",
                                     "a deletion of its point"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(removedBy[i]);
        const SecondPassRows rows = layOut();
        // Its share gone first, the mount point can be deleted on its own.
        if (i == 1) exec("DELETE FROM YBFLRSnapNetworkShare WHERE id = " + std::to_string(rows.share));
        repDeleteFLRSnapNetworkShareReq shareReq{static_cast<uint32_t>(rows.share)};
        repDeleteFLRSnapMountPointReq mountReq{static_cast<uint32_t>(rows.mountPoint)};
        repDelCPReq pointReq{static_cast<uint32_t>(rows.point)};
        const std::pair<unsigned long, void*> requests[] = {
            {0x350001e5, &shareReq}, {0x350001e1, &mountReq}, {0x350001ef, &pointReq}};
        RequestWhileTheHostWorks other(fakes(), "FLRSnapCleanupV2", m_path, requests[i].first, requests[i].second);
        expectDone(prune(40));
        EXPECT_EQ(other.status(), 1u);
        EXPECT_EQ(SnapNames(), (std::vector<std::string>{"b1", "c1"}));
        EXPECT_EQ(CPIds().size(), 2u);
        EXPECT_EQ(FlagsOf(rows.point), -1);
        EXPECT_EQ(MountRows().size(), 1u);
        EXPECT_EQ(ShareRows().size(), 1u);
        EXPECT_EQ(orphans(), 0);
    }
}

// Any other failure of the second pass still fails the prune, and every row
// stays.
TEST_F(PruningTest, AFailureOfTheSecondPassOtherThanARowGoneFailsThePrune)
{
    const int32_t first = cp(40, 1, FLRCP_FLAG_AUTOMOUNT);
    const int32_t a1 = snap(first, "a1");
    pair(a1, 201);
    share(mount(a1, "/mnt/a1"), "share-a1");
    point(40, 2, "b1", 2, FLRCP_FLAG_AUTOMOUNT);
    point(40, 3, "c1");
    setMax(40, 2);
    fakes().setSnapResult("b1", 3);  // the snapshot stays
    const auto before = AllRows();
    // The first removal after the host's release is the second pass's.
    fakes().onNextCall("FLRSnapCleanupV2", [] { HostDBFaults::failNext("remove", 5); });
    expectFailed(prune(40), -4, "Failed to remove the share information from the DB");
    EXPECT_EQ(AllRows(), before);
}

}  // namespace
