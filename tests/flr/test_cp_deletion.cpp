// Deleting one consistency point and every point of a set through post: the
// host releases first, rows go only where it reported the step done, points
// without snapshots, fan-in points of a deleted set, and failures at each step.
#include <gtest/gtest.h>

#include "flr/FLRPruneFixture.h"

namespace {

using CPDeletionTest = FLRPruneTest;

const char ShareLeft[] = "Failed to destroy the network share from the host";
const char MountLeft[] = "Failed to unmount the snapshot from the host";
const char SnapLeft[] = "Failed to destroy the snapshot from the host";

TEST_F(CPDeletionTest, EachResultOfTheHostRemovesOnlyWhatItReportsDone)
{
    // An automount point: its mounted and shared snapshot may go.
    const int32_t id = cp(40, 1, FLRCP_FLAG_AUTOMOUNT);
    const int32_t s = snap(id, "snap-a");
    pair(s, 201);
    share(mount(s, "/mnt/a"), "share-a");
    const auto before = AllRows();
    for (int bits = 0; bits < 7; ++bits) {
        SCOPED_TRACE(bits);
        fakes().setSnapResult("snap-a", bits);
        const char* text = (bits & 1) == 0 ? ShareLeft : (bits & 2) == 0 ? MountLeft : SnapLeft;
        expectFailed(delCP(static_cast<uint32_t>(id)), -24, text);
        EXPECT_EQ(AllRows(), before);
    }
    fakes().setSnapResult("snap-a", 7);
    expectDone(delCP(static_cast<uint32_t>(id)));
    EXPECT_EQ(AllRows(), (std::vector<std::string>{"--", "--", "--", "--", "--"}));
    // Windows host of release 0: the second item form, the set id in the result field.
    const auto calls = fakes().calls("FLRSnapCleanupV2");
    ASSERT_EQ(calls.size(), 8u);
    EXPECT_EQ(calls.back().client, "dst-host.net");
    EXPECT_EQ(calls.back().args, (std::vector<std::string>{"snap-a", "{vol}\\", "/mnt/a", "share-a", "path-snap-a",
                                                           "2", "40", "0"}));
}

TEST_F(CPDeletionTest, MountedOrSharedPointIsRefusedBeforeTheHostIsAsked)
{
    const int32_t mounted = cp(40, 1);
    mount(snap(mounted, "snap-m"), "/mnt/m");
    const auto before = AllRows();
    expectFailed(delCP(static_cast<uint32_t>(mounted)), -11,
                 "Consistency point cannot be deleted because it's still mounted. Unmount the consistency point first");
    EXPECT_EQ(AllRows(), before);
    EXPECT_TRUE(fakes().calls().empty());
}

TEST_F(CPDeletionTest, PointsWithoutSnapshotsAndUnknownIds)
{
    expectFailed(delCP(0), -6, "Failed to delete the consistency point. Unknown consistency point id");
    expectFailed(delCP(0x80000000u), -6, "Failed to delete the consistency point. Unknown consistency point id");
    // Nothing to release: the row goes.
    const int32_t empty = cp(40, 1);
    const int32_t kept = point(40, 2, "snap-k");
    expectDone(delCP(static_cast<uint32_t>(empty)));
    EXPECT_EQ(CPIds(), std::vector<int32_t>{kept});
    expectFailed(delCP(static_cast<uint32_t>(empty)), -3,
                 "Failed to delete the consistency point. The consistency point does not exist");
    EXPECT_TRUE(fakes().calls().empty());
}

TEST_F(CPDeletionTest, HostThatCannotBeReachedOrFailsKeepsEveryRow)
{
    const int32_t id = point(40, 1, "snap-a");
    const auto before = AllRows();
    fakes().failNext("FLRSnapCleanupV2");
    expectFailed(delCP(static_cast<uint32_t>(id)), -24, "Consistency point resource could not be released in the host");
    HostConfig::failNext("getReleaseId");
    expectFailed(delCP(static_cast<uint32_t>(id)), -24, "Consistency point resource could not be released in the host");
    EXPECT_EQ(AllRows(), before);
}

TEST_F(CPDeletionTest, DatabaseFailuresAtEachStepLeaveEveryRow)
{
    const int32_t id = cp(40, 1, FLRCP_FLAG_AUTOMOUNT);
    const int32_t s = snap(id, "snap-a");
    pair(s, 201);
    share(mount(s, "/mnt/a"), "share-a");
    expectEachFault(
        {
            {"reading the snapshots", "getList", 5, 0, -4, "Cannot find the snaps. Reason: DB Error"},
            {"reading the points", "getList", 5, 1, -4, "Cannot find the Consistency points. Reason: DB Error"},
            {"reading the mount points", "getList", 5, 2, -4, "Cannot find the mount points. Reason: DB Error"},
            {"reading the shares", "getList", 5, 3, -4, "Cannot find the network share(s). Reason: DB Error"},
            {"reading the point", "getInfo", 5, 0, -4,
             "Cannot find the Consistency point information in the DB. Reason: DB Error"},
            {"removing the share", "remove", 5, 0, -4, "Failed to remove the share information from the DB"},
            {"removing the mount point", "remove", 5, 1, -4, "Failed to remove the mount point information from the DB"},
            {"removing the other shares", "remove", 5, 2, -4, "Failed to remove the share information from the DB"},
            {"removing the other mount points", "remove", 5, 3, -4,
             "Failed to remove the mount point information from the DB"},
            {"reading the pairs", "getList", 5, 4, -4, "Cannot find the pair associated with the snapshot. DB Error"},
            {"removing the pairs", "remove", 5, 4, -4,
             "Cannot remove snapshot's pair information from the Database. DB Error"},
            {"removing the snapshot", "remove", 5, 5, -4,
             "Failed to remove the snapshot information from the DB. DB Error"},
            {"removing the point", "remove", 5, 6, -4,
             "Failed to delete Consistency point from the database. Error returned from DB"},
        },
        [&] { return delCP(static_cast<uint32_t>(id)); });
}

TEST_F(CPDeletionTest, WholeSetTakesOtherSetsSnapshotsOnItsVolumes)
{
    addSet(41, 5);
    point(40, 1, "snap-a");
    point(40, 2, "snap-b");
    // Set 41 has two points on the same volume, one also on another volume,
    // and one point elsewhere only.
    const int32_t fanIn = cp(41, 3, FLRCP_FLAG_AUTOMOUNT);
    pair(snap(fanIn, "snap-f1"), 202);
    pair(snap(fanIn, "snap-f2", "{other}\\"), 202);
    point(41, 4, "snap-g");
    const int32_t elsewhere = cp(41, 5);
    snap(elsewhere, "snap-e", "{other}\\");

    expectDone(delAll(40));
    EXPECT_EQ(CPIds(), (std::vector<int32_t>{fanIn, elsewhere}));
    EXPECT_EQ(SnapNames(), (std::vector<std::string>{"snap-f2", "snap-e"}));
    EXPECT_EQ(FlagsOf(fanIn), FLRCP_FLAG_AUTOMOUNT | FLRCP_FLAG_UNSTABLE);
    EXPECT_EQ(FlagsOf(elsewhere), 0);
    EXPECT_EQ(sentNames("FLRSnapCleanupV2"), (std::vector<std::string>{"snap-a", "snap-b", "snap-f1", "snap-g"}));
}

TEST_F(CPDeletionTest, WholeSetRefusesItsOwnMountedSnapshotsUnlessForced)
{
    const int32_t s = snap(cp(40, 1), "snap-a");
    mount(s, "/mnt/a");
    const auto before = AllRows();
    expectFailed(delAll(40), -11,
                 "Consistency point cannot be deleted because it's still mounted. Unmount the consistency point first");
    expectFailed(delAll(40, 2), -11,
                 "Consistency point cannot be deleted because it's still mounted. Unmount the consistency point first");
    EXPECT_EQ(AllRows(), before);
    // Forced: the rows go whatever the host did or reported.
    fakes().failNext("FLRSnapCleanupV2");
    expectDone(delAll(40, 1));
    EXPECT_EQ(AllRows(), (std::vector<std::string>{"--", "--", "--", "--", "--"}));
}

TEST_F(CPDeletionTest, WholeSetStopsAtAStepTheHostLeft)
{
    point(40, 1, "snap-a");
    point(40, 2, "snap-b");
    const auto before = AllRows();
    fakes().setSnapResult("snap-b", 3);
    expectFailed(delAll(40), -24, SnapLeft);
    EXPECT_EQ(AllRows(), before);
    expectFailed(delAll(0), -6, "Failed to delete the Replication set's consistency point(s). Unknown Replication Set id");
}

TEST_F(CPDeletionTest, SetWithoutPointsLeavesTheFanInPointsItFed)
{
    addSet(41, 5);
    // Point p1 of set 41 holds only pairs of set 40: it goes. Point p2 holds
    // one snapshot fed by set 40 alone and another fed by set 41: it stays,
    // without set 40's pair row.
    const int32_t p1 = cp(41, 1);
    const int32_t s1 = snap(p1, "snap-1");
    pair(s1, 201);
    pair(s1, 202);
    const int32_t p2 = cp(41, 2);
    pair(snap(p2, "snap-2a"), 201);
    const int32_t keep = pair(snap(p2, "snap-2b", "{other}\\"), 999);
    const int32_t p3 = cp(41, 3);
    pair(snap(p3, "snap-3"), 999);

    expectDone(delAll(40));
    EXPECT_EQ(CPIds(), (std::vector<int32_t>{p2, p3}));
    EXPECT_EQ(SnapNames(), (std::vector<std::string>{"snap-2a", "snap-2b", "snap-3"}));
    const auto pairs = PairRows();
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0].substr(0, pairs[0].find(':')), std::to_string(keep));
}

TEST_F(CPDeletionTest, SetWhosePointsHaveNoSnapshotsLosesThem)
{
    cp(40, 1);
    cp(40, 2);
    addSet(41, 5);
    const int32_t other = cp(41, 3);
    pair(snap(other, "snap-o"), 999);
    expectDone(delAll(40));
    EXPECT_EQ(CPIds(), std::vector<int32_t>{other});
}

TEST_F(CPDeletionTest, RequestWithoutDataIsRefused)
{
    zxsDatabuf buf;
    buf.m_pData = nullptr;
    answers.clear();
    EXPECT_EQ(mgr.post(0x350001ef, 0, &buf), 1u);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].status, 0u);
}

// A snapshot stored with several mount points loses every one of them, with
// their shares, when it goes, whether its point or its whole set is deleted.
TEST_F(CPDeletionTest, EveryMountPointOfASnapshotGoesWithIt)
{
    for (const bool wholeSet : {false, true}) {
        SCOPED_TRACE(wholeSet);
        const int32_t id = cp(40, 1, FLRCP_FLAG_AUTOMOUNT);
        const int32_t s = snap(id, "snap-a");
        pair(s, 201);
        share(mount(s, "/mnt/a1"), "share-a1");
        share(mount(s, "/mnt/a2"), "share-a2");
        mount(s, "/mnt/a3");
        const int32_t kept = snap(cp(41, 2), "snap-k", "{elsewhere}\\");
        const int32_t keptMount = mount(kept, "/mnt/k");
        fakes().setSnapResult("snap-a", 7);
        expectDone(wholeSet ? delAll(40) : delCP(static_cast<uint32_t>(id)));
        EXPECT_EQ(MountRows(), std::vector<std::string>{std::to_string(keptMount) + ":" + std::to_string(kept) +
                                                        ":/mnt/k"});
        EXPECT_TRUE(ShareRows().empty());
        EXPECT_EQ(orphans(), 0);
        exec("DELETE FROM YBFLRConsistencyPoint; DELETE FROM YBFLRSnapshot; DELETE FROM YBFLRSnapPair; "
             "DELETE FROM YBFLRSnapMountPoint");
    }
}

}  // namespace

