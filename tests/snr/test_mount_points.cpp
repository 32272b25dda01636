// Adding, updating and removing mount points through post.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/ZXMMDBDeviceInfo.h"
#include "host/db/DBtable.h"
#include "snr/MountPointFixture.h"
#include "support/TestHost.h"

namespace {

using Calls = std::vector<std::string>;

// ---- The placeholder rule and the controller -------------------------------------

TEST_F(MountPointTest, TheLastMountPointStaysAsAPlaceholderThatTheNextAddReplaces)
{
    MountAnswer a = add(1, "/mnt/a");
    EXPECT_EQ(a.status, 1u);
    EXPECT_FALSE(a.hasMsg);
    const int32_t first = static_cast<int32_t>(a.id);
    // The request's unmounted flag and id are not taken: a new mount point is mounted.
    a = add(1, "/mnt/b", true, true);
    EXPECT_EQ(a.status, 1u);
    const int32_t second = static_cast<int32_t>(a.id);
    EXPECT_EQ(Rows(), (Calls{std::to_string(first) + ":1:/mnt/a:0", std::to_string(second) + ":1:/mnt/b:1"}));
    EXPECT_EQ(Journal(), (Calls{"activate 1", "activate 1"}));

    // One of two goes; the other stays mounted.
    a = remove(first);
    EXPECT_EQ(a.status, 1u);
    EXPECT_FALSE(a.hasMsg);
    EXPECT_EQ(Rows(), (Calls{std::to_string(second) + ":1:/mnt/b:1"}));

    // The last one stays, marked unmounted.
    a = remove(second);
    EXPECT_EQ(a.status, 1u);
    EXPECT_EQ(Rows(), (Calls{std::to_string(second) + ":1:/mnt/b:3"}));
    EXPECT_EQ(Journal(), (Calls{"activate 1", "activate 1", "deactivate 1", "deactivate 1"}));
    EXPECT_FALSE(ZXMMDBDeviceInfo::isControllerActive(1));
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::DeleteMountPoint()\n\tSNR Mount point with ID " + std::to_string(second) +
                             " was removed from DB")
                  .size(),
              1u);

    // A placeholder cannot be removed again.
    a = remove(second);
    expectFailed(a, "Cannot unmount volume that it is already unmounted");
    EXPECT_EQ(Rows(), (Calls{std::to_string(second) + ":1:/mnt/b:3"}));
    EXPECT_EQ(Journal().size(), 4u);
    EXPECT_EQ(LogEntriesWith("\n\tSNR Volume Device Name Id: 1\n\tSNR Volume Mount point id: " + std::to_string(second))
                  .size(),
              1u);

    // The next add clears the placeholder first: deactivate, then activate.
    a = add(1, "/mnt/c");
    EXPECT_EQ(a.status, 1u);
    EXPECT_EQ(Rows(), (Calls{std::to_string(a.id) + ":1:/mnt/c:0"}));
    EXPECT_EQ(Journal(), (Calls{"activate 1", "activate 1", "deactivate 1", "deactivate 1", "deactivate 1",
                                "activate 1"}));
    EXPECT_TRUE(ZXMMDBDeviceInfo::isControllerActive(1));
    EXPECT_EQ(LogEntriesWith("\tLast mount point removed for SNR Device ID 1").size(), 3u);
    EXPECT_EQ(LogEntriesWith("\tMount point /mnt/c was added\n\tID of new Mount point is: " + std::to_string(a.id))
                  .size(),
              1u);
    EXPECT_EQ(LogEntriesWith("REPLICA_PM_AddMountPoint_REQ completed successfully\n\tSending reply "
                             "REPLICA_PM_AddMountPoint_RSP to client...")
                  .size(),
              3u);
    EXPECT_EQ(LogEntriesWith("REPLICA_PM_RemoveMountPoint_REQ completed unsuccessfully\n\tSending reply "
                             "REPLICA_PM_RemoveMountPoint_RSP to client...")
                  .size(),
              1u);
}

TEST_F(MountPointTest, RefusedAddsAndRemovalsWriteNothing)
{
    const int32_t kept = store(2, "/srv/kept");
    struct Case {
        const char* what;
        int32_t device;
        std::string path;
        const char* text;
    };
    const Case cases[] = {
        {"no device", 0, "/mnt/x", "Invalid device name for mount point"},
        {"path one over the column", 2, std::string(1025, 'p'), "Volume mount point path is too long"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MountAnswer a = add(c.device, c.path);
        expectFailed(a, c.text);
        EXPECT_EQ(a.id, 0u);
    }
    expectFailed(remove(0), "Unknow mount point");
    expectFailed(remove(kept + 100), "Could not get mount point record from the database");
    EXPECT_EQ(Rows(), (Calls{std::to_string(kept) + ":2:/srv/kept:0"}));
    EXPECT_TRUE(Journal().empty());

    // The longest path the column holds is stored whole.
    const std::string longest(1024, 'q');
    MountAnswer a = add(2, longest);
    ASSERT_EQ(a.status, 1u);
    EXPECT_EQ(Rows().back(), std::to_string(a.id) + ":2:" + longest + ":0");
}

TEST_F(MountPointTest, DirectAddsAndUpdatesReportTooLongPathsWithTheirCode)
{
    const int32_t id = store(1, "/mnt/u");
    DBtran tran(false);
    ASSERT_EQ(tran.startTran(), 0);
    AddSNRMountPointArgs_t addArgs;
    addArgs.MountPoint.DeviceNameId = 1;
    addArgs.MountPoint.Path.assign(1025, 'x');
    AddSNRMountPointRet_t addRet;
    EXPECT_FALSE(mgr.AddMountPoint(addArgs, addRet, &tran));
    EXPECT_EQ(addRet.errCode, -18);
    EXPECT_EQ(addRet.errMsg, "Volume mount point path is too long");

    UpdateSNRMountPointArgs_t updateArgs;
    updateArgs.MountPoint.id = id;
    updateArgs.MountPoint.DeviceNameId = 1;
    updateArgs.MountPoint.Path.assign(1025, 'x');
    UpdateSNRMountPointRet_t updateRet;
    EXPECT_FALSE(mgr.UpdateSNRVolMountPoint(updateArgs, updateRet, &tran));
    EXPECT_EQ(updateRet.errCode, -18);
    EXPECT_EQ(updateRet.errMsg, "Volume mount point path is too long");
    tran.rollbackTran();
    EXPECT_EQ(Rows(), (Calls{std::to_string(id) + ":1:/mnt/u:0"}));
}

// ---- Failures at each step leave the rows as they were ------------------------------

struct Fault {
    const char* what;
    const char* call;  // a HostDBFaults kind, or "activate" / "deactivate" of the device layer
    int skip;
    std::string text;
};

void Arm(const Fault& f)
{
    const std::string call = f.call;
    if (call == "activate" || call == "deactivate")
        ZXMMDBDeviceInfo::failNext(call, 3, f.text);
    else
        HostDBFaults::failNext(call, 5, f.skip);
}

// The device's last mount point is removed (the placeholder stays, the
// controller off); an add that then fails leaves the placeholder, and the
// controller off as the rows give.
TEST_F(MountPointTest, AFailedAddOntoAPlaceholderLeavesThePlaceholder)
{
    const int32_t placeholder = store(1, "/mnt/old");
    ZXMMDBDeviceInfo().activateControllerBySNRVolId(1, nullptr);
    ASSERT_EQ(remove(placeholder).status, 1u);
    const Calls before = Rows();
    ASSERT_EQ(before, (Calls{std::to_string(placeholder) + ":1:/mnt/old:2"}));
    const Fault faults[] = {
        {"reading the device's mount points", "fetch", 0, "Could not get device name information from the database"},
        {"removing the placeholder", "remove", 0, "Could not remove mount point"},
        {"deactivating", "deactivate", 0, "controller busy"},
        {"inserting", "insert", 0, "Could not include new mount point"},
        {"activating", "activate", 0, "controller unreachable"},
        {"starting", "startTran", 0, "Could not initiated database transactions"},
        {"committing", "commitTran", 0, "Could not commit database transactions"},
    };
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.what);
        HostDBFaults::clear();
        Arm(f);
        expectFailed(add(1, "/mnt/new"), f.text);
        EXPECT_EQ(Rows(), before);
        EXPECT_FALSE(ZXMMDBDeviceInfo::isControllerActive(1));
    }
    // Once the placeholder's removal had switched the controller off (a
    // failed insert, activation or commit after it), the rollback sets it
    // off again.
    const Calls journal = Journal();
    EXPECT_EQ(Calls(journal.end() - 3, journal.end()), (Calls{"deactivate 1", "activate 1", "deactivate 1"}));
    EXPECT_EQ(LogEntriesWith("Controller of SNR Device ID 1 deactivated again after the rollback").size(), 3u);
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::RemoveLastMountPoint()\n\tEvent: Could not remove mount point"
                             "\n\tCSNRVolumeMountPointDB::remove() failed\n\tParameters used:\n\tid = " +
                             std::to_string(placeholder))
                  .size(),
              1u);
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::AddMountPoint()\n\tEvent: controller unreachable"
                             "\n\tZXMMDBDeviceInfo::activateControllerBySNRVolId() failed")
                  .size(),
              1u);
}

TEST_F(MountPointTest, AFailedRemovalLeavesTheRowAndTheControllerAsTheyWere)
{
    const int32_t only = store(1, "/mnt/only");
    const int32_t first = store(2, "/srv/one");
    const int32_t second = store(2, "/srv/two");
    const Calls before = Rows();
    struct Removal {
        Fault fault;
        int32_t id;
    };
    const Removal removals[] = {
        {{"reading the mount point", "getInfo", 0, "Could not get mount point record from the database"}, first},
        {{"reading the device's mount points", "fetch", 1, "Could not get device name information from the database"},
         first},
        {{"marking the last one unmounted", "Update", 0, "Could not update mount point information from database"},
         only},
        {{"removing one of two", "remove", 0, "Could not remove mount point"}, second},
        {{"deactivating", "deactivate", 0, "controller busy"}, second},
        {{"starting", "startTran", 0, "Could not initiated database transactions"}, only},
        {{"committing the last one", "commitTran", 0, "Could not commit database transactions"}, only},
        {{"committing one of two", "commitTran", 0, "Could not commit database transactions"}, first},
    };
    for (const Removal& r : removals) {
        SCOPED_TRACE(r.fault.what);
        HostDBFaults::clear();
        ZXMMDBDeviceInfo::reset();
        EvDebug::clearEntries();
        // Both devices have mounted mount points: their controllers are on.
        for (int device : {1, 2}) ZXMMDBDeviceInfo().activateControllerBySNRVolId(device, nullptr);
        Arm(r.fault);
        expectFailed(remove(r.id), r.fault.text);
        EXPECT_EQ(Rows(), before);
        const std::string commit = r.fault.call;
        if (commit == "commitTran") {
            // The controller was deactivated before the commit failed: the
            // row is back, mounted, and the controller on, as it gives.
            const std::string d = std::to_string(r.id == only ? 1 : 2);
            EXPECT_EQ(Journal(), (Calls{"activate 1", "activate 2", "deactivate " + d, "activate " + d}));
            EXPECT_EQ(LogEntriesWith("Controller of SNR Device ID " + d + " activated again after the rollback").size(),
                      1u);
        }
        EXPECT_TRUE(ZXMMDBDeviceInfo::isControllerActive(1));
        EXPECT_TRUE(ZXMMDBDeviceInfo::isControllerActive(2));
    }
}

// A switch that fails, or a read of the rows after the rollback that
// fails, leaves the controller as the removal left it, with an entry.
TEST_F(MountPointTest, AControllerThatCannotBeRestoredIsReported)
{
    const int32_t only = store(1, "/mnt/only");
    ZXMMDBDeviceInfo().activateControllerBySNRVolId(1, nullptr);
    HostDBFaults::failNext("commitTran", 5);
    ZXMMDBDeviceInfo::failNext("activate", 3, "controller gone");
    expectFailed(remove(only), "Could not commit database transactions");
    EXPECT_EQ(Journal(), (Calls{"activate 1", "deactivate 1", "activate 1"}));
    EXPECT_EQ(LogEntriesWith("\tEvent: controller gone\n\tThe controller of SNR Device ID 1 could not be restored "
                             "after the rollback")
                  .size(),
              1u);

    // The removal fetches the device's one row and the end of its rows; the
    // restore's read comes after.
    HostDBFaults::failNext("commitTran", 5);
    HostDBFaults::failNext("fetch", 5, 2);
    expectFailed(remove(only), "Could not commit database transactions");
    EXPECT_EQ(Journal(), (Calls{"activate 1", "deactivate 1", "activate 1", "deactivate 1"}));
    EXPECT_FALSE(ZXMMDBDeviceInfo::isControllerActive(1));
    EXPECT_EQ(LogEntriesWith("\tEvent: Could not get device name information from the database\n\tThe controller "
                             "of SNR Device ID 1 could not be restored after the rollback")
                  .size(),
              1u);
}

// ---- Update -------------------------------------------------------------------------

TEST_F(MountPointTest, AnUpdateRewritesDevicePathAndFlagsAndAlwaysMounts)
{
    const int32_t placeholder = store(1, "/mnt/old", SNRMNT_FLAG_UNMOUNTED | SNRMNT_FLAG_IS_CASE_SENSITIVE);
    MountAnswer a = update(placeholder, 3, "/mnt/New", 1);
    EXPECT_EQ(a.status, 1u);
    EXPECT_FALSE(a.hasMsg);
    EXPECT_EQ(Rows(), (Calls{std::to_string(placeholder) + ":3:/mnt/New:1"}));

    // Only 1 means case sensitive; trailing blanks are dropped by the host.
    a = update(placeholder, 3, "/mnt/New  ", 2);
    EXPECT_EQ(a.status, 1u);
    EXPECT_EQ(Rows(), (Calls{std::to_string(placeholder) + ":3:/mnt/New:0"}));
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::UpdateSNRVolMountPoint()\n\tSNR Mount point " +
                             std::to_string(placeholder) + " was updated successfully...")
                  .size(),
              2u);
    EXPECT_TRUE(Journal().empty());  // an update does not touch the controller
}

TEST_F(MountPointTest, RefusedUpdatesLeaveTheRow)
{
    const int32_t id = store(1, "/mnt/u", SNRMNT_FLAG_IS_CASE_SENSITIVE);
    const Calls before = Rows();
    expectFailed(update(0, 1, "/x", 0), "Cannot update mount point information with invalid id");
    expectFailed(update(id, 0, "/x", 0), "Cannot update mount point information with invalid device name id");
    expectFailed(update(id, 1, std::string(1025, 'p'), 0), "Volume mount point path is too long");
    expectFailed(update(id, 1, "", 0), "Internal error during update of mount point information");
    expectFailed(update(id, 1, "/bad\tpath", 0), "Internal error during update of mount point information");
    HostDBFaults::failNext("Update", 5);
    expectFailed(update(id, 1, "/x", 0), "Could not update mount point information from database");
    HostDBFaults::failNext("startTran", 5);
    expectFailed(update(id, 1, "/x", 0), "Could not initiated database transactions");
    expectFailed(update(id + 1, 1, "/x", 0), "Could not update mount point information from database");
    EXPECT_EQ(Rows(), before);
    EXPECT_EQ(LogEntriesWith("\n\tOrginal Mount Path = /bad\\tpath\n\tResulting Mount Path = /bad\\tpath").size(), 1u);
    EXPECT_EQ(LogEntriesWith("\n\tsUpdate = DeviceNameId = 1, Path = '/x', Flags = 0\n\tTran = 0x").size(), 2u);
    EXPECT_EQ(LogEntriesWith("REPLICA_PM_UpdateSNRMountPoint_REQ completed unsuccessfully\n\tSending reply "
                             "REPLICA_PM_UpdateSNRMountPoint_RESP to client...")
                  .size(),
              8u);
}

// ---- Texts that SQL would read otherwise ----------------------------------------------

TEST_F(MountPointTest, QuotesAndPercentSignsAreStoredAndFoundByteForByte)
{
    const std::string quoted = "C:\\O'Brien's 'share'";
    const std::string percent = "/mnt/100%_%s%d%n";
    MountAnswer a = add(1, quoted, true);
    ASSERT_EQ(a.status, 1u);
    const int32_t quotedId = static_cast<int32_t>(a.id);
    a = add(1, percent);
    ASSERT_EQ(a.status, 1u);
    const int32_t percentId = static_cast<int32_t>(a.id);

    for (const std::string& path : {quoted, percent}) {
        SCOPED_TRACE(path);
        MountAnswer found = byPath(path.c_str());
        EXPECT_EQ(found.status, 1u);
        ASSERT_EQ(found.count, 1u);
        EXPECT_EQ(found.mountPoints[0].path, path);
    }
    EXPECT_EQ(byId(quotedId).mountPoints[0].path, quoted);

    // An update writes them back through its SET text.
    a = update(percentId, 1, quoted + "%", 0);
    EXPECT_EQ(a.status, 1u);
    MountAnswer found = byId(percentId);
    EXPECT_EQ(found.mountPoints[0].path, quoted + "%");
    // A percent sign matches itself only.
    expectFailedList(byPath("/mnt/100%"), "Could not find the mount point record in the database");

    // A line break of a request's path is written out in the log.
    ASSERT_EQ(add(2, "/mnt/line\nbreak").status, 1u);
    EXPECT_EQ(LogEntriesWith("\tMount point /mnt/line\\nbreak was added").size(), 1u);
}

}  // namespace
