#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "replicas/ReplicaRecords.h"
#include "rows/Db/Cursor/YBBrowseByClient1.h"
#include "rows/Db/Cursor/YBBrowseByPolicy1.h"
#include "rows/Db/Cursor/YBGetSNRVolInfoByClientId.h"
#include "rows/Db/Cursor/YBGetSNRVolInfoByPoolId.h"
#include "rows/Db/Cursor/YBGetSNRVolumeById.h"
#include "rows/Db/Cursor/YBGetYBVolList.h"
#include "rows/Db/Cursor/YBGetYBVolumesBySubclientId.h"
#include "rows/Db/Cursor/YBNASBrowseByClient1.h"
#include "snr/CursorSeedFixture.h"

namespace {


// Replication volume 70 as a version 5 record: every column, all six flag
// bits, the job id widened with its sign.
void expectVolume70(const ReplicationVolumeV5Record_t& r)
{
    EXPECT_EQ(r.id, 70);
    EXPECT_EQ(r.PointInTime, 1);
    EXPECT_EQ(r.CreationTime, 2);
    EXPECT_EQ(r.ModifyTime, 3);
    EXPECT_EQ(r.CurrentState, 4);
    EXPECT_EQ(r.CurrentRole, 5);
    EXPECT_EQ(r.PrimaryVolumeId, 6);
    EXPECT_EQ(r.PhysicalVolumeId, 40);
    EXPECT_EQ(r.ReplicationPolicyId, 8);
    EXPECT_EQ(r.RVScratchVolumeId, 60);
    EXPECT_TRUE(r.DoNotPrune);
    EXPECT_EQ(r.JobId, -2);
    EXPECT_TRUE(r.IsSnapActive);
    EXPECT_TRUE(r.ActivateSnap);
    EXPECT_EQ(r.SnapVolumeId, 11);
    EXPECT_TRUE(r.MorvaneVolume);
    EXPECT_TRUE(r.ShadowSnap);
    EXPECT_TRUE(r.TransportableSnap);
    EXPECT_EQ(r.SnapEngineType, 12);
    EXPECT_EQ(r.UpdateMap, 0);
    EXPECT_EQ(r.SnapvaultReplicaDir, "dir-70");
    EXPECT_EQ(r.SourceGUID, "guid-70");
}

// Every record version from a row of the volume list or an SNR volume
// cursor; each version takes its own fields and those below.
template <class Row>
void expectEveryVersion(const Row& row)
{
    ReplicationVolumeRecord_t v1;
    YBSet(v1, row);
    EXPECT_EQ(v1.id, 70);
    EXPECT_EQ(v1.PhysicalVolumeId, 40);
    EXPECT_EQ(v1.RVScratchVolumeId, 60);
    EXPECT_TRUE(v1.DoNotPrune);

    ReplicationVolumeRecord42_t v42;
    YBSet(v42, row);
    EXPECT_EQ(v42.id, 70);
    EXPECT_EQ(v42.JobId, -2);
    EXPECT_TRUE(v42.IsSnapActive);
    EXPECT_TRUE(v42.ActivateSnap);

    ReplicationVolumeV3Record_t v3;
    YBSet(v3, row);
    EXPECT_EQ(v3.SnapVolumeId, 11);
    EXPECT_TRUE(v3.TransportableSnap);

    ReplicationVolumeV4Record_t v4;
    YBSet(v4, row);
    EXPECT_EQ(v4.SnapEngineType, 12);
    EXPECT_EQ(v4.PrimaryVolumeId, 6);

    ReplicationVolumeV5Record_t v5;
    YBSet(v5, row);
    expectVolume70(v5);
}

class ReplicaCursorConversions : public CursorSeedTest {
protected:
    // Replication volume 70 as a version 5 record from the first row of a
    // fresh cursor of family F that yields that row alone.
    template <class F, class... A>
    void expectOnlyVolume70(A... args)
    {
        auto rows = rowsOf<F>(args...);
        ASSERT_EQ(rows.size(), 1u);
        ReplicationVolumeV5Record_t record;
        YBSet(record, rows[0]);
        expectVolume70(record);
    }
};

}  // namespace

TEST_F(ReplicaCursorConversions, EveryVersionFromTheVolumeListAndTheSNRVolumeCursors)
{
    auto list = rowsOf<YBGetYBVolList>();
    ASSERT_EQ(list.size(), 1u);
    expectEveryVersion(list[0]);

    forEachVolumeCursor([](const auto& row) { expectEveryVersion(row); }, [](const auto&) {});
    YBGetSNRVolumeById byId(nullptr);
    byId.setValues(40, 6);  // the replica of primary volume 6
    ASSERT_EQ(ZXDBReadOne(byId), 0);
    expectEveryVersion(*byId.getDataPtr());

    // SNR volume 41 holds no replica: the record reads the NULL columns as 0
    // and empty texts; the caller tells the absent replica by id 0.
    ReplicationVolumeV5Record_t none;
    YBSet(none, rowsOf<YBGetSNRVolInfoByClientId>(77).at(1));
    EXPECT_EQ(none.id, 0);
    EXPECT_EQ(none.PhysicalVolumeId, 0);
    EXPECT_FALSE(none.DoNotPrune);
    EXPECT_EQ(none.SourceGUID, "");
}

TEST_F(ReplicaCursorConversions, VersionFiveFromTheSubclientAndBrowseCursors)
{
    expectOnlyVolume70<YBGetYBVolumesBySubclientId>(5);
    expectOnlyVolume70<YBBrowseByClient1>(88);
    expectOnlyVolume70<YBNASBrowseByClient1>(88);
    expectOnlyVolume70<YBBrowseByPolicy1>(8);
}

TEST_F(ReplicaCursorConversions, ListsFromCursorRowsIntoReplyArrays)
{
    // A second replica, of primary volume 41, without flags or texts.
    exec("INSERT INTO YBVolume (id, PrimaryVolumeId, PhysicalVolumeId, ReplicationPolicyId, Flags, JobId) "
         "VALUES (71, 41, 6, 8, 0, 9)");

    std::vector<ReplicationVolumeV5Record_t> volumes;
    for (const auto& row : rowsOf<YBGetYBVolList>()) YBSet(volumes, row);
    ASSERT_EQ(volumes.size(), 2u);
    repReplicationVolumeV5* array = nullptr;
    ASSERT_TRUE(CopyVectorToMsg(&array, volumes));
    EXPECT_EQ(array[0].id, 70);
    EXPECT_EQ(array[0].JobId, -2);
    EXPECT_EQ(array[0].ShadowSnap, 1);
    EXPECT_STREQ(array[0].SourceGUID, "guid-70");
    EXPECT_EQ(array[1].id, 71);
    EXPECT_EQ(array[1].DoNotPrune, 0);
    EXPECT_EQ(array[1].SnapvaultReplicaDir, nullptr);
    free(array);

    std::vector<ReplicationVolumeRecord42_t> onVolumes;
    for (const auto& row : rowsOf<YBGetSNRVolInfoByPoolId>(9)) YBSet(onVolumes, row);
    ASSERT_EQ(onVolumes.size(), 2u);
    EXPECT_EQ(onVolumes[0].id, 70);
    EXPECT_EQ(onVolumes[1].id, 0);  // SNR volume 41 holds no replica

    std::vector<ReplicationVolumeV5Record_t> browsed;
    for (const auto& row : rowsOf<YBBrowseByPolicy1>(8)) YBSet(browsed, row);
    for (const auto& row : rowsOf<YBGetYBVolumesBySubclientId>(5)) YBSet(browsed, row);
    ASSERT_EQ(browsed.size(), 3u);
    EXPECT_EQ(browsed[0].id, 70);
    EXPECT_EQ(browsed[1].id, 71);
    EXPECT_EQ(browsed[1].JobId, 9);
    EXPECT_EQ(browsed[2].id, 70);
}
