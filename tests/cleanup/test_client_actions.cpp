// The client actions as pruning and the scratch volumes call them: removing a
// mount point, switching the block filter driver and deleting every snapshot
// of a scratch volume, through the client snapshot service's fakes.
#include <string>
#include <vector>

#include "cleanup/CleanupFixture.h"

using Args = std::vector<std::string>;

TEST_F(CleanupTest, UnmountVolumeRemovesTheMountPointOnTheClient)
{
    UnmountVolumeArgs_t args;
    args.ClientId = 2;
    args.MountPath = "/mnt/snap-500";
    EXPECT_TRUE(mgr.UnmountVolume(args));
    std::vector<ClientCall> calls = fakes().calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].operation, "removeVolumeMountPoint");
    EXPECT_EQ(calls[0].client, "alpha.net");
    EXPECT_EQ(calls[0].clientId, 2);
    EXPECT_EQ(calls[0].args, (Args{"/mnt/snap-500", "", "0", "0"}));

    ASSERT_TRUE(fakes().failNext("removeVolumeMountPoint"));
    EXPECT_FALSE(mgr.UnmountVolume(args));
    std::vector<std::string> logged = LogEntriesWith("\tZXSVCClientSession::removeVolumeMountPoint() failed");
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_NE(logged[0].find("ReplicationMgr::UnmountVolume()\n\tZXSVCClientSession::removeVolumeMountPoint() failed"
                             "\n\tInput:\n\tClientName      = alpha.net\n\tClient ID       = 2"
                             "\n\tPath            = /mnt/snap-500\n"),
              std::string::npos)
        << logged[0];

    fakes().reset();
    args.ClientId = 99;
    EXPECT_FALSE(mgr.UnmountVolume(args));
    EXPECT_TRUE(fakes().calls().empty());
    EXPECT_EQ(LogEntriesWith("\tCould not get client name\n\tClient ID             = 99").size(), 1u);
}

TEST_F(CleanupTest, SetBlkFilterVolumesSwitchesTheDriverOrFillsTheResult)
{
    YBSetBlkFilterArgs_t args(2);
    args.EnableVolumes = {"dev-200"};
    YBSetBlkFilterRet_t ret;
    EXPECT_TRUE(mgr.SetBlkFilterVolumes(args, ret));
    EXPECT_EQ(ret.errCode, 0);
    EXPECT_EQ(ret.errMsg, "");
    std::vector<ClientCall> calls = fakes().calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].operation, "SetBlockFilterDriver");
    EXPECT_EQ(calls[0].client, "alpha.net");
    EXPECT_EQ(calls[0].clientId, 2);
    EXPECT_EQ(calls[0].args, (Args{"1", "dev-200", "0"}));

    fakes().reset();
    args.EnableVolumes.clear();
    args.DisableVolumes = {"dev-101", "dev-200"};
    EXPECT_TRUE(mgr.SetBlkFilterVolumes(args, ret));
    ASSERT_EQ(fakes().calls().size(), 1u);
    EXPECT_EQ(fakes().calls()[0].args, (Args{"0", "2", "dev-101", "dev-200"}));

    // The client refusing.
    ASSERT_TRUE(fakes().failNext("SetBlockFilterDriver"));
    EXPECT_FALSE(mgr.SetBlkFilterVolumes(args, ret));
    EXPECT_EQ(ret.errCode, -20);
    EXPECT_EQ(ret.errMsg, "Setting (enabled/disabled) volume's block filter driver failed");
    EXPECT_EQ(LogEntriesWith("\tEvent: Setting (enabled/disabled) volume's block filter driver failed"
                             "\n\tZXSVCClientSession::SetBlockFilterDriver() failed\n\tInput:"
                             "\n\tClientName      = alpha.net\n\tClient ID       = 2\n")
                  .size(),
              1u);

    // A client without a host name, then an invalid id; a success afterwards clears the result.
    fakes().reset();
    YBSetBlkFilterArgs_t unknown(99);
    unknown.EnableVolumes = {"dev-9"};
    EXPECT_FALSE(mgr.SetBlkFilterVolumes(unknown, ret));
    EXPECT_EQ(ret.errCode, -17);
    EXPECT_EQ(ret.errMsg, "Could not get the host name to set the block filter driver");
    EXPECT_EQ(LogEntriesWith("\tEvent: Could not get the host name to set the block filter driver"
                             "\n\tCould not get client name\n\tClient ID             = 99\n")
                  .size(),
              1u);
    YBSetBlkFilterArgs_t invalid(-1);
    invalid.EnableVolumes = {"dev-9"};
    EXPECT_FALSE(mgr.SetBlkFilterVolumes(invalid, ret));
    EXPECT_EQ(ret.errCode, -6);
    EXPECT_EQ(ret.errMsg, "Invalid Client id");
    EXPECT_EQ(LogEntriesWith("\tEvent: Invalid Client id\n\tParameters used:\n\tClient Id = -1\n").size(), 1u);
    EXPECT_TRUE(fakes().calls().empty());
    EXPECT_TRUE(mgr.SetBlkFilterVolumes(args, ret));
    EXPECT_EQ(ret.errCode, 0);
    EXPECT_EQ(ret.errMsg, "");
}

TEST_F(CleanupTest, SetBlkFilterVolumesWithTwoEmptyListsContactsNoClient)
{
    YBSetBlkFilterRet_t ret;
    EXPECT_TRUE(mgr.SetBlkFilterVolumes(YBSetBlkFilterArgs_t(99), ret));
    EXPECT_TRUE(mgr.SetBlkFilterVolumes(YBSetBlkFilterArgs_t(2), ret));
    EXPECT_EQ(ret.errCode, 0);
    EXPECT_TRUE(fakes().calls().empty());
}

TEST_F(CleanupTest, DeleteAllSnapsFromScratchVolumeAsksTheClientUnlessTheAgentIsGone)
{
    EXPECT_TRUE(mgr.DeleteAllSnapsFromScratchVolume(DeleteAllSnapsFromScratchVolumeArgs_t(2, "dev-200")));
    std::vector<ClientCall> calls = fakes().calls("DeleteAllSnapsFromVolume");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].client, "alpha.net");
    EXPECT_EQ(calls[0].clientId, 2);
    EXPECT_EQ(calls[0].args, Args{"dev-200"});

    ASSERT_TRUE(fakes().failNext("DeleteAllSnapsFromVolume"));
    EXPECT_FALSE(mgr.DeleteAllSnapsFromScratchVolume(DeleteAllSnapsFromScratchVolumeArgs_t(2, "dev-200")));
    EXPECT_EQ(LogEntriesWith("\tZXSVCClientSession::DeleteAllSnapsFromVolume() failed\n\tInput:"
                             "\n\tClientName      = alpha.net\n\tClient ID       = 2\n\tVolume Id       = dev-200\n")
                  .size(),
              1u);

    // No agent on client 6: nothing to ask. The engine check failing, or no host name: false.
    fakes().reset();
    EXPECT_TRUE(mgr.DeleteAllSnapsFromScratchVolume(DeleteAllSnapsFromScratchVolumeArgs_t(6, "dev-600")));
    HostConfig::failNext("isInstalled");
    EXPECT_FALSE(mgr.DeleteAllSnapsFromScratchVolume(DeleteAllSnapsFromScratchVolumeArgs_t(2, "dev-200")));
    EXPECT_FALSE(mgr.DeleteAllSnapsFromScratchVolume(DeleteAllSnapsFromScratchVolumeArgs_t(99, "dev-9")));
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::DeleteAllSnapsFromScratchVolume()\n\tCould not get client name"
                             "\n\tClient ID             = 99\n")
                  .size(),
              1u);
    EXPECT_TRUE(fakes().calls("DeleteAllSnapsFromVolume").empty());
}
