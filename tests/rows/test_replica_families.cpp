#include <cstring>
#include <string>
#include <vector>

#include "host/db/DBtable.h"
#include "rows/Db/Cursor/YBGetLatestRepVolByPVId.h"
#include "rows/Db/Cursor/YBGetYBVolList.h"
#include "rows/Db/Cursor/YBGetYBVolumesBySubclientId.h"
#include "rows/Db/Proc/YBPruneJobHistory.h"
#include "rows/SnrFamilyFixture.h"

namespace {

class ReplicaFamilies : public SnrFamilyTest {
protected:
    void addHistory(int id, int srcVolId, int dstVolId, int jobIdLow = 1)
    {
        exec("INSERT INTO YBJobVolumeHistory (id, JobId_l, SrcVolId, DstVolId) VALUES (" + std::to_string(id) + ", " +
             std::to_string(jobIdLow) + ", " + std::to_string(srcVolId) + ", " + std::to_string(dstVolId) + ")");
    }
};

std::vector<int> idsOf(const std::vector<YBGetYBVolList_t>& rows)
{
    std::vector<int> ids;
    for (const auto& r : rows) ids.push_back(r.id);
    return ids;
}

}  // namespace

TEST_F(ReplicaFamilies, TextsReservedSizesAndStamp)
{
    EXPECT_EQ(std::strlen(YBGetYBVolList_desc::text), 94u);
    EXPECT_EQ(std::strlen(YBGetYBVolumesBySubclientId_desc::text), 153u);
    EXPECT_EQ(std::strlen(YBGetLatestRepVolByPVId_desc::text), 932u);

    YBGetYBVolList list(nullptr);
    list.setValues();
    EXPECT_EQ(list.getReservedSize(), 188u);
    EXPECT_STREQ(list.getStatementText(), YBGetYBVolList_desc::text);
    EXPECT_EQ(list.description, "Cursor YBGetYBVolList");
    EXPECT_STREQ(list.columnList,
                 "id, PointInTime, CreationTime, ModifyTime, CurrentState, CurrentRole, PrimaryVolumeId, "
                 "PhysicalVolumeId, ReplicationPolicyId, RVScratchVolumeId, Flags, JobId, SnapVolumeId, "
                 "SnapEngineType, SnapvaultReplicaDir, SourceGUID");

    YBGetYBVolumesBySubclientId bySubclient(nullptr);
    bySubclient.setValues(17);
    EXPECT_EQ(bySubclient.getReservedSize(), 330u);
    EXPECT_NE(std::string(bySubclient.getStatementText()).find("S.Scid = 17)"), std::string::npos);

    YBGetLatestRepVolByPVId latest(nullptr);
    latest.setValues(3, 4, -5);
    EXPECT_EQ(latest.getReservedSize(), 1936u);
    std::string text = latest.getStatementText();
    EXPECT_NE(text.find("set @pvid = 3 \n\tdeclare @role integer \n\tset @role = 4 "), std::string::npos);
    EXPECT_NE(text.find("set @jobid = -5 "), std::string::npos);
    EXPECT_STREQ(latest.columnList,
                 "id, UniqueId, UniqueIdType, LUN, StartLBA, BlockCount, BlockSize, Flags, FSType, "
                 "UniqueSnapshotID, ApplianceId, TzState, CostCategoryId, Type");

    YBPruneJobHistory prune(nullptr);
    EXPECT_EQ(prune.objectKind, ZXDB_KIND_PROCEDURE);
    EXPECT_EQ(prune.description, "Procedure YBPruneJobHistory");
    EXPECT_STREQ(prune.procStamp, "00010003030200020000");
    EXPECT_STREQ(prune.columnList, "retVal");
    EXPECT_EQ(prune.inputsBound, 0);
}

TEST_F(ReplicaFamilies, VolumeListSkipsIdsOfZeroAndBelow)
{
    YBGetYBVolList empty(nullptr);
    empty.setValues();
    int counter = 0;
    EXPECT_EQ(getNextRow(&empty, &counter, -1, 0), DB_NO_MORE_ROWS);

    addReplica(0, 5);
    addReplica(-3, 5);
    YBGetYBVolList onlyPlaceholders(nullptr);
    onlyPlaceholders.setValues();
    EXPECT_TRUE(readAll(onlyPlaceholders).empty());

    addReplica(9, 5, 2, 4, 100, 77);
    addReplica(4, 6);
    YBGetYBVolList list(nullptr);
    list.setValues();
    auto rows = readAll(list);
    EXPECT_EQ(idsOf(rows), (std::vector<int>{4, 9}));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].PhysicalVolumeId, 5);
    EXPECT_EQ(rows[1].PrimaryVolumeId, 2);
    EXPECT_EQ(rows[1].CurrentRole, 4);
    EXPECT_EQ(rows[1].ModifyTime, 100);
    EXPECT_EQ(rows[1].JobId, 77);
    EXPECT_STREQ(rows[1].SourceGUID, "guid-9");
}

TEST_F(ReplicaFamilies, VolumesOfASubclientOncePerLinkRow)
{
    addReplica(10, 1);
    addReplica(11, 1);
    addReplica(12, 1);
    exec("INSERT INTO YBSubclientYBVolumes (Scid, YBVolumeId) VALUES (5, 11), (5, 10), (5, 11), (5, 99), (6, 12)");

    YBGetYBVolumesBySubclientId bySubclient(nullptr);
    bySubclient.setValues(5);
    std::vector<YBGetYBVolumesBySubclientId_t> rows = readAll(bySubclient);
    std::vector<int> ids;
    for (const auto& r : rows) ids.push_back(r.id);
    EXPECT_EQ(ids, (std::vector<int>{10, 11, 11}));  // the dangling link to 99 gives nothing

    bySubclient.setValues(7);
    EXPECT_TRUE(readAll(bySubclient).empty());
}

TEST_F(ReplicaFamilies, LatestReplicaOfAPrimaryVolume)
{
    // Primary volume 1: role-2 replicas on SNR volumes 20 (older) and 21
    // (newer, job 8), a still newer role-2 replica whose SNR volume row is
    // missing, and a role-4 replica of job 9 on 22.
    exec("INSERT INTO YBPhysicalVolume VALUES (20, 'u20', 3, 4, 5000000000005, 6000000000006, 7, 8, 'ntfs', "
         "'snap-20', 11, 12, 13, 14)");
    addVolume(21);
    addVolume(22);
    addReplica(100, 20, 1, 2, 1000, 7);
    addReplica(101, 21, 1, 2, 2000, 8);
    addReplica(102, 999, 1, 2, 3000, 8);
    addReplica(103, 22, 1, 4, 500, 9);
    addReplica(104, 21, 2, 2, 9000, 7);  // another primary volume

    YBGetLatestRepVolByPVId latest(nullptr);
    YBGetLatestRepVolByPVId_t* row = latest.getDataPtr();

    latest.setValues(1, 2, 0);  // job id 0: JobId ignored
    ASSERT_EQ(ZXDBReadOne(latest), 0);
    EXPECT_EQ(row->id, 21);
    latest.setValues(1, 2, -1);
    ASSERT_EQ(ZXDBReadOne(latest), 0);
    EXPECT_EQ(row->id, 21);

    latest.setValues(1, 2, 7);  // only job 7's replicas
    ASSERT_EQ(ZXDBReadOne(latest), 0);
    EXPECT_EQ(row->id, 20);
    EXPECT_STREQ(row->UniqueId, "u20");
    EXPECT_EQ(row->StartLBA, 5000000000005LL);
    EXPECT_EQ(row->BlockCount, 6000000000006LL);
    EXPECT_EQ(row->Flags, 8);
    EXPECT_STREQ(row->FSType, "ntfs");
    EXPECT_STREQ(row->UniqueSnapshotID, "snap-20");
    EXPECT_EQ(row->CostCategoryId, 13);
    EXPECT_EQ(row->Type, 14);

    latest.setValues(1, 2, 9);  // job 9 has no role-2 replica, others do
    EXPECT_EQ(ZXDBReadOne(latest), DB_NO_MORE_ROWS);

    // The reader's order on one object: permanent replica first, then role 2.
    latest.setValues(1, 4, 8);
    EXPECT_EQ(ZXDBReadOne(latest), DB_NO_MORE_ROWS);
    latest.setValues(1, 2, 8);
    ASSERT_EQ(ZXDBReadOne(latest), 0);
    EXPECT_EQ(row->id, 21);
    latest.setValues(1, 4, 0);
    ASSERT_EQ(ZXDBReadOne(latest), 0);
    EXPECT_EQ(row->id, 22);

    // Several replicas changed at the same moment still give one row.
    addReplica(105, 20, 1, 2, 2000, 8);
    latest.setValues(1, 2, 0);
    EXPECT_EQ(ZXDBReadOne(latest), 0);

    // The row copies as a whole.
    latest.setValues(1, 2, 7);
    ASSERT_EQ(ZXDBReadOne(latest), 0);
    YBGetLatestRepVolByPVId_t copy(*row);
    EXPECT_EQ(copy.id, 20);
    EXPECT_STREQ(copy.UniqueSnapshotID, "snap-20");
    EXPECT_EQ(copy.BlockCount, 6000000000006LL);
}

TEST_F(ReplicaFamilies, PruneJobHistoryDropsEntriesOfVolumesGone)
{
    addVolume(1);
    addVolume(2);
    addHistory(10, 1, 2);
    addHistory(11, 1, 3);  // destination gone
    addHistory(12, 4, 2);  // source gone
    addHistory(13, 2, 1, -5);

    YBPruneJobHistory prune(nullptr);
    prune.getDataPtr()->retVal = 99;
    ASSERT_EQ(ZXDBReadOne(prune), 0);
    EXPECT_EQ(prune.getDataPtr()->retVal, 0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBJobVolumeHistory"), 2);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBJobVolumeHistory WHERE id IN (10, 13)"), 2);
    // The job id the halves make: a negative low half is its unsigned value.
    EXPECT_EQ(scalar("SELECT JobId FROM YBJobVolumeHistory WHERE id = 13"), 4294967291LL);

    // Nothing to remove: still one row with 0; inside a transaction too.
    DBtran tran(false);
    ASSERT_EQ(tran.startTran(), 0);
    YBPruneJobHistory again(&tran);
    EXPECT_EQ(ZXDBReadOne(again), 0);
    EXPECT_EQ(again.getDataPtr()->retVal, 0);
    EXPECT_EQ(tran.commitTran(false), 0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBJobVolumeHistory"), 2);
}
