// The removal of a replication volume through post and through the direct
// call: its application directories and subclient link go with it, the snap
// parameters of its primary volume after the last snapshot; refusals, and
// failures at each step that change nothing.
#include <gtest/gtest.h>

#include <string>

#include "replicas/ApplicationDirs.h"
#include "replicas/ReplicaPostFixture.h"
#include "replicas/ReplicaVolumeRemoval.h"

namespace {

class ReplicaRemovalTest : public ReplicaPostTest {
protected:
    // 600 a replica on scratch volume 701 (no pool) with two directories and
    // a subclient link; 601 a replica on 700 of pool 9; 602 an active
    // snapshot; 603 the only snapshot of primary 30, on no scratch volume;
    // 604 and 605 snapshots of 31; 606 a destination snapshot of engine 5
    // and 607 a snapshot of 32; 608 a snapshot of 33, which a subclient's
    // content names; 609 a snapshot of 34, which has no snap parameters.
    void SetUp() override
    {
        ReplicaPostTest::SetUp();
        exec(InsertScratch({700, 50, 9, 0, 0}));
        exec(InsertScratch({701, 51, 0, 0, 0}));
        const Replica volumes[] = {
            {600, 1, 1, 1, 0, 1, 20, 51, 8, 701, 0, 7, 0, 0, "", ""},
            {601, 1, 1, 1, 0, 1, 20, 50, 8, 700, 0, 7, 0, 0, "", ""},
            {602, 1, 1, 1, 0, 2, 21, 52, 8, 0, 0x6, 7, 52, 0, "", ""},
            {603, 1, 1, 1, 0, 2, 30, 53, 8, -1, 0x2, 7, 53, 0, "", ""},
            {604, 1, 1, 1, 0, 2, 31, 54, 8, -1, 0, 7, 54, 0, "", ""},
            {605, 1, 1, 1, 0, 2, 31, 55, 8, -1, 0, 7, 55, 0, "", ""},
            {606, 1, 1, 1, 0, 5, 32, 56, 8, -1, 0, 7, 56, 5, "", ""},
            {607, 1, 1, 1, 0, 2, 32, 57, 8, -1, 0, 7, 57, 0, "", ""},
            {608, 1, 1, 1, 0, 2, 33, 58, 8, -1, 0, 7, 58, 0, "", ""},
            {609, 1, 1, 1, 0, 2, 34, 59, 8, -1, 0, 7, 59, 0, "", ""},
        };
        for (const Replica& v : volumes) exec(InsertReplica(v));
        exec("INSERT INTO YBApplicationDirs (subclientId, clientId, objName, path, ReplicationVolumeId) VALUES "
             "(60, 2, 'db-a', '/a', 600), (60, 2, 'db-b', '/b', 600), (60, 2, 'db-c', '/c', 601), "
             "(61, 2, 'db-d', '/d', 603)");
        exec("INSERT INTO YBSubclientYBVolumes (Scid, YBVolumeId) VALUES (60, 600), (60, 601)");
        exec("INSERT INTO YBVolSnapParams (SNRVolumeId, SnapEngineId) VALUES (30, 1), (31, 1), (32, 1), (33, 1)");
        exec("INSERT INTO DHT_Application (id, appTypeId, subclientStatus) VALUES (1, 50, 0);"
             "INSERT INTO DHT_ScFilterFile (componentNameId, fileName, Type, modified) VALUES "
             "(1, '33' || char(21) || 'x', 1, 0)");
    }

    ReplicaAnswer remove(int id)
    {
        return ask<repRemoveReplicationVolumeResp>(0x35000051, repRemoveReplicationVolumeReq{id});
    }
    long long count(const std::string& table, const std::string& where)
    {
        return scalar("SELECT COUNT(*) FROM " + table + " WHERE " + where);
    }
    bool hasParams(int volumeId) { return count("YBVolSnapParams", "SNRVolumeId = " + std::to_string(volumeId)) == 1; }
};

TEST_F(ReplicaRemovalTest, AVolumeGoesWithItsDirectoriesAndItsSubclientLink)
{
    expectSuccess(remove(600));
    EXPECT_EQ(count("YBVolume", "id = 600"), 0);
    EXPECT_EQ(count("YBApplicationDirs", "ReplicationVolumeId = 600"), 0);
    EXPECT_EQ(count("YBSubclientYBVolumes", "YBVolumeId = 600"), 0);
    // What belongs to other volumes stays; a replica leaves snap parameters alone.
    EXPECT_EQ(count("YBApplicationDirs", "ReplicationVolumeId = 601"), 1);
    EXPECT_EQ(count("YBSubclientYBVolumes", "YBVolumeId = 601"), 1);
    EXPECT_EQ(count("YBVolSnapParams", "1 = 1"), 4);
    EXPECT_EQ(LogEntriesWith("\tApplication Dirs records removed for YB Volume 600").size(), 1u);
    EXPECT_EQ(LogEntriesWith("\tYB Volume 600 was removed...").size(), 1u);

    // A volume on no scratch volume and without a link: removed with a
    // warning; the last snapshot of primary 30 takes its snap parameters.
    expectSuccess(remove(603));
    EXPECT_EQ(count("YBVolume", "id = 603"), 0);
    EXPECT_EQ(count("YBApplicationDirs", "ReplicationVolumeId = 603"), 0);
    EXPECT_EQ(LogEntriesWith("\tWarning: YBSubclientYBVolumes table has no record associated with the YB Volume Id 603")
                  .size(),
              1u);
    EXPECT_FALSE(hasParams(30));
}

TEST_F(ReplicaRemovalTest, TheSnapParametersOfThePrimaryStayWhileItIsStillNeeded)
{
    expectSuccess(remove(604));  // 605 is still a snapshot of 31
    EXPECT_TRUE(hasParams(31));
    EXPECT_EQ(LogEntriesWith("\n\tVolume Id       = 31\n\tNumber of Snaps = 1").size(), 1u);
    expectSuccess(remove(605));
    EXPECT_FALSE(hasParams(31));

    expectSuccess(remove(607));  // 606 is a kept snapshot of engine 5
    EXPECT_TRUE(hasParams(32));
    expectSuccess(remove(608));  // a subclient's content names 33
    EXPECT_TRUE(hasParams(33));
    // A primary without snap parameters has nothing to drop.
    expectSuccess(remove(609));
    EXPECT_EQ(count("YBVolume", "id = 609"), 0);
}

TEST_F(ReplicaRemovalTest, RefusedRemovalsChangeNothing)
{
    const std::string before = dump();
    expectFailure(remove(0), 0, "Cannot remove YB Volume from the database with invalid values");
    expectFailure(remove(999), 0, "Record not found");
    expectFailure(remove(601), 0, "YB volume cannot be removed because it belongs to a scratch volume pool");
    expectFailure(remove(602), 0, "YB Volume cannot be removed because the snapshot is still active");
    EXPECT_EQ(dump(), before);
}

TEST_F(ReplicaRemovalTest, AFailureAtEachStepAnswersItsTextAndChangesNothing)
{
    struct Step {
        const char* call;
        int skip;
        const char* text;
    };
    const Step steps[] = {
        {"startTran", 0, "Could not initiated database transactions"},
        {"getInfo", 0, "Cannot access YB Volume information from the database"},
        {"getInfo", 1, "Cannot remove YB volume record"},
        {"getNRows", 0, "Cannot access application dirs information from the database"},
        {"remove", 0, "Cannot remove application dirs information from the database"},
        {"remove", 1, "YB volume record cannot be removed from the DB. Check log files"},
        {"remove", 2, "Cannot remove YB Volume from the database"},
        {"getNRows", 1, "Cannot check if the source volume has any snapshots"},
        {"fetch", 0, "Cannot check if the snapshot source volume is part of any subclient content"},
        {"getNRows", 2, "Cannot check if the volume has any snapshots"},
        {"remove", 3, "Cannot remove volume snap parameters info from the database"},
    };
    exec("INSERT INTO YBSubclientYBVolumes (Scid, YBVolumeId) VALUES (61, 603)");
    const std::string before = dump();
    for (const Step& s : steps) {
        SCOPED_TRACE(std::string(s.call) + " after " + std::to_string(s.skip));
        HostDBFaults::failNext(s.call, 5, s.skip);
        expectFailure(remove(603), 0, s.text);
        EXPECT_EQ(dump(), before);
        HostDBFaults::clear();
    }
    expectSuccess(remove(603));
    EXPECT_FALSE(hasParams(30));
}

// Other operations remove volumes inside their own transactions.
TEST_F(ReplicaRemovalTest, TheDirectCallWorksInTheCallersTransaction)
{
    const std::string before = dump();
    {
        DBtran tran;
        ASSERT_EQ(tran.startTran(), 0);
        RemoveReplicationVolumeRet_t ret;
        EXPECT_TRUE(mgr.RemoveReplicationVolume(RemoveReplicationVolumeArgs_t(600), ret, &tran)) << ret.errMsg;
        EXPECT_EQ(ret.errMsg, "");
        EXPECT_EQ(tran.rollbackTran(), 0);
    }
    EXPECT_EQ(dump(), before);

    DeleteAppDirsByReplicationVolIdArgs_t args;
    DeleteAppDirsByReplicationVolIdRet_t ret;
    args.ReplicationVolumeId = 0;
    EXPECT_FALSE(mgr.DeleteAppDirsByReplicaVolId(args, ret, nullptr));
    EXPECT_EQ(ret.errMsg, "Cannot delete application dirs records from the database with an invalid YB volume id");
    // A volume without directories: nothing to remove, and the removal line.
    args.ReplicationVolumeId = 602;
    EXPECT_TRUE(mgr.DeleteAppDirsByReplicaVolId(args, ret, nullptr));
    EXPECT_EQ(ret.errMsg, "");
    EXPECT_EQ(LogEntriesWith("\tApplication Dirs records removed for YB Volume 602").size(), 1u);
    EXPECT_EQ(dump(), before);
}

}  // namespace
