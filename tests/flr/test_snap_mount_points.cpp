// Mount points of FLR snapshots and network shares of mount points through
// post: one of each at most, a shared mount point kept, failures at each step.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flr/FLRPostFixture.h"
#include "support/TestHost.h"

namespace {

using Rows = std::vector<std::string>;

TEST_F(FLRPostTest, OneMountPointPerSnapshotAndOneSharePerMountPoint)
{
    FLRAnswer mount = addMount(3, "/mnt/it's");
    expectDone(mount);
    EXPECT_EQ(MountRows(), Rows{std::to_string(mount.id) + ":3:/mnt/it's"});
    expectFailed(addMount(3, "/mnt/other"), -13, "The FLR Snapshot mount point is already in the database");

    const int32_t mountId = static_cast<int32_t>(mount.id);
    FLRAnswer share = addShare(mountId, "share-x");
    expectDone(share);
    EXPECT_EQ(ShareRows(), Rows{std::to_string(share.id) + ":" + std::to_string(mountId) + ":share-x"});
    expectFailed(addShare(mountId, "share-y"), -13, "The FLR Snapshot has network share already");

    // The shared mount point stays until its share is gone.
    const Rows both = AllRows();
    expectFailed(deleteMount(mountId), -11,
                 "Mount point has a share associated with it. Please delete the share first");
    EXPECT_EQ(AllRows(), both);
    expectDone(deleteShare(static_cast<int32_t>(share.id)));
    EXPECT_TRUE(ShareRows().empty());
    expectFailed(deleteShare(static_cast<int32_t>(share.id)), -3, "FLR Snaphshot network share not found");
    expectDone(deleteMount(mountId));
    EXPECT_TRUE(MountRows().empty());
    expectFailed(deleteMount(mountId), -3, "FLR Snaphshot mount point not found");

    EXPECT_EQ(LogEntriesWith("\tFLR Snapshot mount point [3 - /mnt/it's] was added, using ID " +
                             std::to_string(mountId))
                  .size(),
              1u);
    EXPECT_EQ(LogEntriesWith("\tMessage REPLICA_PM_ADD_FLR_SNAP_NET_SHARE_REQ completed successfully\n\tSending reply "
                             "REPLICA_PM_ADD_FLR_SNAP_NET_SHARE_RESP to client...")
                  .size(),
              1u);
    EXPECT_EQ(LogEntriesWith("\tMessage REPLICA_PM_DEL_FLR_SNAP_MOUNT_POINT_REQ completed unsuccessfully").size(), 2u);
}

TEST_F(FLRPostTest, RefusedMountPointsAndSharesWriteNothing)
{
    expectFailed(addMount(0, "/mnt/x"), -6, "The FLR snapshot cannot be mounted with an invalid snapshot id");
    expectFailed(addMount(3, ""), -2, "Mount point cannot be empty");
    expectFailed(addMount(3, std::string(1024, 'm')), -18, "Mount point name is too big");
    expectFailed(addShare(0, "share"), -6, "The FLR snapshot cannot be shared with an invalid mount point id");
    expectFailed(addShare(4, ""), -2, "Share name cannot be empty");
    expectFailed(addShare(4, std::string(1024, 's')), -18, "Share name is too big");
    expectFailed(deleteMount(0), -6, "Cannot remove FLR snapshot mount point from the database with invalid values");
    expectFailed(deleteShare(0), -6, "Cannot remove FLR snapshot network share from the database with invalid values");
    EXPECT_TRUE(MountRows().empty());
    EXPECT_TRUE(ShareRows().empty());

    // The longest texts are stored whole.
    FLRAnswer mount = addMount(3, std::string(1023, 'm'));
    expectDone(mount);
    EXPECT_EQ(MountRows(), Rows{std::to_string(mount.id) + ":3:" + std::string(1023, 'm')});
    FLRAnswer share = addShare(static_cast<int32_t>(mount.id), std::string(1023, 's'));
    expectDone(share);
    EXPECT_EQ(ShareRows().size(), 1u);
    EXPECT_EQ(ShareRows()[0].size(), std::to_string(share.id).size() + std::to_string(mount.id).size() + 2 + 1023);
}

TEST_F(FLRPostTest, FailedAddsLeaveNoRow)
{
    const int32_t mountId = static_cast<int32_t>(addMount(3, "/mnt/a").id);
    expectEachFault(
        {
            {"counting", "getNRows", 5, 0, -4,
             "Cannot include new FLR Snapshot mount point. DB Error while checking duplicates"},
            {"inserting", "insert", 5, 0, -4, "Cannot include new FLR snapshot mount point record into the database"},
            {"starting", "startTran", 5, 0, -7, "Could not initiated database transactions"},
            {"committing", "commitTran", 5, 0, -4, "Could not commit database transactions"},
        },
        [&] { return addMount(4, "/mnt/b"); });
    expectEachFault(
        {
            {"counting", "getNRows", 5, 0, -4, "Cannot verify in the DB if mount path has network share"},
            {"inserting", "insert", 5, 0, -4, "Cannot include new FLR snapshot network share record into the database"},
            {"committing", "commitTran", 5, 0, -4, "Could not commit database transactions"},
        },
        [&] { return addShare(mountId, "share"); });
    EXPECT_EQ(LogEntriesWith("\n\tFLRSnapNetworkShareDB::getNRows() failed\n\tArguments:\n\tsWhere: MountPointId = " +
                             std::to_string(mountId))
                  .size(),
              1u);

    // A count that finds no row counts nothing.
    HostDBFaults::failNext("getNRows", 100);
    expectDone(addShare(mountId, "share"));
}

TEST_F(FLRPostTest, FailedDeletionsLeaveTheRows)
{
    const int32_t shared = static_cast<int32_t>(addMount(3, "/mnt/a").id);
    const int32_t shareId = static_cast<int32_t>(addShare(shared, "share").id);
    const int32_t plain = static_cast<int32_t>(addMount(4, "/mnt/b").id);

    // The share count of a deletion fails whatever its code, 100 included;
    // a removal the database fails is no missing row.
    expectEachFault(
        {
            {"counting", "getNRows", 5, 0, -4, "DB error when checking if mount point has a share"},
            {"counting no row", "getNRows", 100, 0, -4, "DB error when checking if mount point has a share"},
            {"removing", "remove", 5, 0, -4, "Cannot remove the FLR Snapshot mount point from the database"},
            {"starting", "startTran", 5, 0, -7, "Could not initiated database transactions"},
            {"committing", "commitTran", 5, 0, -4, "Could not commit database transactions"},
        },
        [&] { return deleteMount(plain); });
    expectEachFault(
        {
            {"removing", "remove", 5, 0, -4, "Cannot remove the FLR Snapshot network share from the database"},
            {"committing", "commitTran", 5, 0, -4, "Could not commit database transactions"},
        },
        [&] { return deleteShare(shareId); });
    EXPECT_EQ(LogEntriesWith("\tEVent:DB error when checking if mount point has a share\n\tsWhere = MountPointId = " +
                             std::to_string(plain) + "\n\tDB err code = 100")
                  .size(),
              1u);
}

}  // namespace
