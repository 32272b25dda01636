// Reading mount points through post, the reply arrays and their release.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "host/db/DBtable.h"
#include "snr/MountPointFixture.h"
#include "support/TestHost.h"

namespace {

// ---- By device ------------------------------------------------------------------------

TEST_F(MountPointTest, TheMountPointsOfADeviceInIdOrder)
{
    const int32_t a = store(1, "/mnt/a", SNRMNT_FLAG_IS_CASE_SENSITIVE);
    const int32_t b = store(2, "/srv/other");
    const int32_t c = store(1, "", SNRMNT_FLAG_UNMOUNTED);
    MountAnswer r = ofDevice(1);
    EXPECT_EQ(r.status, 1u);
    EXPECT_FALSE(r.hasMsg);
    ASSERT_EQ(r.count, 2u);
    EXPECT_EQ(r.mountPoints[0].id, a);
    EXPECT_EQ(r.mountPoints[0].deviceId, 1);
    EXPECT_EQ(r.mountPoints[0].path, "/mnt/a");
    EXPECT_EQ(r.mountPoints[0].caseSensitive, 1);
    EXPECT_EQ(r.mountPoints[0].unmounted, 0);
    EXPECT_EQ(r.mountPoints[1].id, c);
    EXPECT_EQ(r.mountPoints[1].path, "");  // an empty path is an empty copy, not a null text
    EXPECT_EQ(r.mountPoints[1].unmounted, 1);
    EXPECT_NE(b, c);

    r = ofDevice(3);
    EXPECT_EQ(r.status, 1u);
    EXPECT_EQ(r.count, 0u);
    EXPECT_TRUE(r.arrayNull);

    expectFailedList(ofDevice(0), "Invalid Device name ID");
    HostDBFaults::failNext("fetch", 8, 1);
    expectFailedList(ofDevice(1), "Could not get device name information from the database");
    EXPECT_EQ(LogEntriesWith("\n\tgetNextRow(GetSNRMountPointBySNRDevId &) failed\n\tParameters used:"
                             "\n\tSNR Device Name id = 1\n\tDB Err Code = 8")
                  .size(),
              1u);
    EXPECT_EQ(LogEntriesWith("REPLICA_PM_QuerySNRVolMntPntBySNRDev_REQ completed unsuccessfully\n\tSending reply "
                             "REPLICA_PM_QuerySNRVolMntPntBySNRDev_RESP to client...")
                  .size(),
              2u);
}

// ---- By id --------------------------------------------------------------------------------

TEST_F(MountPointTest, OneMountPointByIdWithACopyOfItsPath)
{
    const int32_t id = store(2, "/srv/x", SNRMNT_FLAG_IS_CASE_SENSITIVE | SNRMNT_FLAG_UNMOUNTED);
    MountAnswer r = byId(id);
    EXPECT_EQ(r.status, 1u);
    EXPECT_FALSE(r.hasMsg);
    ASSERT_EQ(r.mountPoints.size(), 1u);
    EXPECT_EQ(r.mountPoints[0].id, id);
    EXPECT_EQ(r.mountPoints[0].deviceId, 2);
    EXPECT_EQ(r.mountPoints[0].path, "/srv/x");
    EXPECT_EQ(r.mountPoints[0].caseSensitive, 1);
    EXPECT_EQ(r.mountPoints[0].unmounted, 1);

    expectFailed(byId(0), "Invalid mount point ID");
    expectFailed(byId(id + 1), "Could not get mount point record from the database");
    AllocationsLeft() = 0;
    AllocReplyArray = &LimitedAlloc;
    r = byId(id);
    expectFailed(r, "No enough memory to perform mount point query operation");
    EXPECT_EQ(r.mountPoints[0].id, 0);
    EXPECT_EQ(r.mountPoints[0].path, "(null)");
}

// ---- By path ---------------------------------------------------------------------------------

TEST_F(MountPointTest, PathsMatchWithoutOneTrailingSeparatorAndCaseSensitiveRowsExactly)
{
    const int32_t loose = store(1, "E:\\Data");
    const int32_t exact = store(2, "E:\\Data", SNRMNT_FLAG_IS_CASE_SENSITIVE);
    const int32_t root = store(3, "");

    // Both rows for the stored spelling; the letter case is the database's
    // business for the other row only.
    MountAnswer r = byPath("E:\\Data");
    ASSERT_EQ(r.count, 2u);
    EXPECT_EQ(r.mountPoints[0].id, loose);
    EXPECT_EQ(r.mountPoints[1].id, exact);
    r = byPath("e:\\data");
    ASSERT_EQ(r.count, 1u);
    EXPECT_EQ(r.mountPoints[0].id, loose);

    // One trailing separator is dropped for the search; the exact row
    // compares the path as asked for.
    for (const char* asked : {"E:\\Data\\", "E:\\Data/"}) {
        SCOPED_TRACE(asked);
        r = byPath(asked);
        EXPECT_EQ(r.status, 1u);
        ASSERT_EQ(r.count, 1u);
        EXPECT_EQ(r.mountPoints[0].id, loose);
    }
    expectFailedList(byPath("E:\\Data\\\\"), "Could not find the mount point record in the database");

    // A single slash searches for the empty path.
    r = byPath("/");
    ASSERT_EQ(r.count, 1u);
    EXPECT_EQ(r.mountPoints[0].id, root);

    // Rows found but none matching exactly: success without an array.
    exec("DELETE FROM YBMountPoint WHERE id = " + std::to_string(loose));
    r = byPath("e:\\DATA");
    EXPECT_EQ(r.status, 1u);
    EXPECT_FALSE(r.hasMsg);
    EXPECT_EQ(r.count, 0u);
    EXPECT_TRUE(r.arrayNull);

    expectFailedList(byPath(""), "Invalid (empty) Mount point path");
    expectFailedList(byPath(nullptr), "Invalid (empty) Mount point path");
    expectFailedList(byPath("/nowhere"), "Could not find the mount point record in the database");
    EXPECT_EQ(LogEntriesWith("\n\tCSNRVolumeMountPointDB::getList() output:\n\tNRows = 0").size(), 2u);
    HostDBFaults::failNext("getList", 5);
    expectFailedList(byPath("E:\\Data"), "Could not get list of mount point records from the database");
    EXPECT_EQ(LogEntriesWith("\n\tsWhere = Path = 'E:\\Data'\n\tsOrderBy = id ASC").size(), 1u);
}

// ---- By SNR volume -------------------------------------------------------------------------------

TEST_F(MountPointTest, TheMountPointsOfAVolumeWithTheirClients)
{
    const int32_t second = store(2, "/srv/two");
    const int32_t first = store(1, "/mnt/one");
    const int32_t third = store(1, "/mnt/three", SNRMNT_FLAG_UNMOUNTED);
    store(3, "/elsewhere");

    MountAnswer r = ofVolume(5);
    EXPECT_EQ(r.status, 1u);
    ASSERT_EQ(r.count, 3u);
    // By device, then by mount point.
    EXPECT_EQ(r.mountPoints[0].id, first);
    EXPECT_EQ(r.mountPoints[0].clientId, 2);
    EXPECT_EQ(r.mountPoints[1].id, third);
    EXPECT_EQ(r.mountPoints[1].unmounted, 1);
    EXPECT_EQ(r.mountPoints[1].clientId, 2);
    EXPECT_EQ(r.mountPoints[2].id, second);
    EXPECT_EQ(r.mountPoints[2].path, "/srv/two");
    EXPECT_EQ(r.mountPoints[2].clientId, 3);

    r = ofVolume(9);
    EXPECT_EQ(r.status, 1u);
    EXPECT_EQ(r.count, 0u);
    EXPECT_TRUE(r.arrayNull);

    expectFailedList(ofVolume(0), "Invalid Volume id");
    HostDBFaults::failNext("getList", 5);
    expectFailedList(ofVolume(5), "Could not get list of devices from the database");
    // The mount points of the second device cannot be read.
    HostDBFaults::failNext("getList", 5, 2);
    expectFailedList(ofVolume(5), "Could not get list of mount points");
    EXPECT_EQ(LogEntriesWith("\n\tCSNRVolumeMountPointDB::getList() failed\n\tParameters used:"
                             "\n\tsWhere = DeviceNameId = 2\n\tsOrderBy = id ASC")
                  .size(),
              1u);
}

// ---- Reply arrays out of memory ---------------------------------------------------------------------

TEST_F(MountPointTest, ListRepliesWithoutMemoryCarryTheCopyTextAndNoArray)
{
    store(1, "/mnt/one");
    store(1, "/mnt/two");
    struct Step {
        const char* what;
        int allocations;  // those that succeed
        const char* text;
    };
    const Step steps[] = {
        {"the array", 0, "No memory available for query information"},
        {"the first path", 1, "No memory available for query informaton"},
        {"the second path", 2, "No memory available for query informaton"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        AllocReplyArray = &LimitedAlloc;
        AllocationsLeft() = s.allocations;
        expectFailedList(ofDevice(1), s.text);
        if (s.allocations < 2) {  // the path matches one row
            AllocationsLeft() = s.allocations;
            expectFailedList(byPath("/mnt/two"), s.text);
        }
        AllocationsLeft() = s.allocations;
        expectFailedList(ofVolume(5), s.text);
    }
}

TEST_F(MountPointTest, CopiesOfAMissingListOrWithoutMemoryLeaveNothingAllocated)
{
    CopySNRMountPointToMsgArgs_t args;
    CopySNRMountPointToMsgRet_t ret;
    EXPECT_FALSE(mgr.CopySNRMountPointToMsg(args, ret));
    EXPECT_EQ(ret.errCode, -14);
    EXPECT_EQ(ret.errMsg, "Internal error detected processing mount points information");
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::CopySNRMountPointToMsg()\n\tEvent: Internal error detected processing "
                             "mount points information\n\tArgs.pvSNRMountList = NULL")
                  .size(),
              1u);

    std::vector<SNRVolumeMountPointRecord_t> list(3);
    list[2].Path = "/p";
    args.pvSNRMountList = &list;
    AllocReplyArray = &LimitedAlloc;
    AllocationsLeft() = 2;
    EXPECT_FALSE(mgr.CopySNRMountPointToMsg(args, ret));
    EXPECT_EQ(ret.errCode, -5);
    EXPECT_EQ(ret.count, 0u);
    EXPECT_EQ(ret.MountPoints, nullptr);

    AllocationsLeft() = 4;
    ASSERT_TRUE(mgr.CopySNRMountPointToMsg(args, ret));
    ASSERT_EQ(ret.count, 3u);
    EXPECT_STREQ(ret.MountPoints[0].Path, "");
    EXPECT_STREQ(ret.MountPoints[2].Path, "/p");
    repQuerySNRVolMntPointsBySNRVolDevIdResp reply{1, nullptr, ret.count, ret.MountPoints};
    ReplicationMgr::FreeMsgResources(reply);
    EXPECT_EQ(reply.MountPoints, nullptr);
    EXPECT_EQ(reply.count, 0u);

    CopySNRMountPointExToMsgArgs_t exArgs;
    CopySNRMountPointExToMsgRet_t exRet;
    EXPECT_FALSE(mgr.CopySNRMountPointExToMsg(exArgs, exRet));
    EXPECT_EQ(LogEntriesWith("\n\tArgs.pvSNRMountExList = NULL").size(), 1u);

    // A count without an array frees nothing else.
    repQuerySNRMountPointBySNRVolIdResp countOnly{0, static_cast<char*>(malloc(4)), 7, nullptr};
    ReplicationMgr::FreeMsgResources(countOnly);
    EXPECT_EQ(countOnly.errMsg, nullptr);
    EXPECT_EQ(countOnly.count, 0u);
}

}  // namespace
