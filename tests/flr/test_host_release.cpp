// Releasing snapshots on the destination host: the item form by the host's
// release and operating system, the FLR client of hosts that are not Windows
// hosts, the archive snapshots of archive points, and the host's failures.
#include <gtest/gtest.h>

#include "flr/FLRPruneFixture.h"

namespace {

using HostReleaseTest = FLRPruneTest;

TEST_F(HostReleaseTest, HostOfReleaseElevenTakesTheFirstItemForm)
{
    const int32_t id = cp(40, 1, FLRCP_FLAG_AUTOMOUNT, 6);
    const int32_t s = snap(id, "snap-a");
    share(mount(s, "/mnt/a"), "share-a");
    expectDone(delCP(static_cast<uint32_t>(id)));
    const auto calls = fakes().calls("FLRSnapCleanup");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].client, "old-host.net");
    EXPECT_EQ(calls[0].clientId, 6);
    EXPECT_EQ(calls[0].args, (std::vector<std::string>{"snap-a", "{vol}\\", "/mnt/a", "share-a", "0"}));
    EXPECT_TRUE(fakes().calls("FLRSnapCleanupV2").empty());
    EXPECT_TRUE(CPIds().empty());
}

TEST_F(HostReleaseTest, HostThatIsNotWindowsGetsTheNamesAndReportsOnlyDestroyed)
{
    const int32_t id = cp(40, 1, 0, 7);
    snap(id, "snap-a");
    snap(id, "snap-b");
    fakes().setSnapResult("snap-b", 3);  // not destroyed: its name comes back
    const auto before = AllRows();
    expectFailed(delCP(static_cast<uint32_t>(id)), -24, "Failed to destroy the snapshot from the host");
    EXPECT_EQ(AllRows(), before);
    EXPECT_EQ(sentNames("FLRDelSnaps"), (std::vector<std::string>{"snap-a", "snap-b"}));

    fakes().setSnapResult("snap-b", 4);
    expectDone(delCP(static_cast<uint32_t>(id)));
    EXPECT_TRUE(CPIds().empty());

    // A mounted snapshot of an automount point: the FLR client reports
    // nothing of mounts, so its row stays and the deletion fails.
    const int32_t mounted = cp(40, 2, FLRCP_FLAG_AUTOMOUNT, 7);
    mount(snap(mounted, "snap-m"), "/mnt/m");
    expectFailed(delCP(static_cast<uint32_t>(mounted)), -24, "Failed to unmount the snapshot from the host");
}

TEST_F(HostReleaseTest, ArchivePointsAreDeletedThroughTheArchiveInterfaces)
{
    FLRSnapCleanup_t batch(5);
    FLRSnap_t archived;
    archived.CP.id = 31;
    archived.CP.JobId = 0x100000007LL;
    archived.CP.Flags = FLRCP_FLAG_ARCHIVE_SNAP;
    archived.Snapshot.Name = "snap-arch";
    archived.Result = 2;
    batch.Snaps.push_back(archived);
    EXPECT_TRUE(mgr.FLRSnapCleanup(batch));
    EXPECT_EQ(batch.Snaps[0].Result, 2);  // untouched
    const auto fetched = fakes().calls("getVolumeSnaps");
    ASSERT_EQ(fetched.size(), 1u);
    EXPECT_EQ(fetched[0].args, (std::vector<std::string>{"-123456", "31", "65", "7"}));
    EXPECT_EQ(fakes().calls("deleteVolumeSnaps").size(), 1u);
    EXPECT_TRUE(fakes().calls("FLRSnapCleanupV2").empty());

    // A failed archive delete stops the batch before anything is sent.
    FLRSnap_t plain;
    plain.Snapshot.Name = "snap-plain";
    batch.Snaps.push_back(plain);
    fakes().reset();
    fakes().failNext("deleteVolumeSnaps");
    EXPECT_FALSE(mgr.FLRSnapCleanup(batch));
    EXPECT_TRUE(fakes().calls("FLRSnapCleanupV2").empty());
    EXPECT_EQ(batch.Snaps[1].Result, 0);

    fakes().reset();
    fakes().failNext("getVolumeSnaps");
    EXPECT_FALSE(mgr.FLRSnapCleanup(batch));
    EXPECT_TRUE(fakes().calls("deleteVolumeSnaps").empty());
}

TEST_F(HostReleaseTest, EmptyBatchAsksNothingAndUnknownHostsFail)
{
    FLRSnapCleanup_t empty(999);
    EXPECT_TRUE(mgr.FLRSnapCleanup(empty));
    EXPECT_TRUE(fakes().calls().empty());

    FLRSnapCleanup_t unknown(999);
    unknown.Snaps.emplace_back();
    EXPECT_FALSE(mgr.FLRSnapCleanup(unknown));
    FLRSnapCleanup_t host(5);
    host.Snaps.emplace_back();
    HostDBFaults::failNext("fetch", 5);
    EXPECT_FALSE(mgr.FLRSnapCleanup(host));
    EXPECT_TRUE(fakes().calls().empty());
}

}  // namespace
