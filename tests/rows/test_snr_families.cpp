#include <cstring>
#include <string>
#include <vector>

#include "host/db/DBtable.h"
#include "rows/Db/Cursor/YBGetSNRDeviceByClientId.h"
#include "rows/Db/Cursor/YBGetSNRDeviceByPoolId.h"
#include "rows/Db/Cursor/YBGetSNRDeviceNameBySNRVolId.h"
#include "rows/Db/Cursor/YBGetSNRMountPointByClientId.h"
#include "rows/Db/Cursor/YBGetSNRMountPointByPoolId.h"
#include "rows/Db/Cursor/YBGetSNRMountPointBySNRDevId.h"
#include "rows/Db/Cursor/YBGetSNRVolInfoByClientId.h"
#include "rows/Db/Cursor/YBGetSNRVolInfoByPoolId.h"
#include "rows/Db/Cursor/YBGetSNRVolumeById.h"
#include "rows/Db/Cursor/YBGetTzGlobalHistoryNameByVolumeId.h"
#include "rows/SnrFamilyFixture.h"

namespace {

// The text's length, the room setValues reserves, and the formatted text:
// every argument in place, nothing cut.
template <class Family, class Desc, class... A>
void expectSizes(size_t textLength, unsigned long reserved, const char* formatted, A... args)
{
    Family family(nullptr);
    EXPECT_EQ(std::strlen(Desc::text), textLength) << family.description;
    EXPECT_EQ(family.description, std::string("Cursor ") + Desc::className);
    EXPECT_EQ(family.objectKind, ZXDB_KIND_CURSOR);
    family.setValues(args...);
    EXPECT_EQ(family.getReservedSize(), reserved) << family.description;
    std::string text = family.getStatementText();
    EXPECT_NE(text.find(formatted), std::string::npos) << family.description;
    EXPECT_EQ(text.find('%'), std::string::npos) << family.description;
    EXPECT_EQ(text.substr(0, 14), "SET NOCOUNT ON");
    EXPECT_EQ(text.substr(text.size() - 15), "SET NOCOUNT OFF");
}

// Checks a volume info row of any of the three column orders against the
// sentinel values seedSentinels writes.
template <class Row>
void expectSentinels(const Row& r)
{
    EXPECT_EQ(r.SNRVolid, 1001);
    EXPECT_STREQ(r.UniqueId, "unique-2");
    EXPECT_EQ(r.UniqueIdType, 3);
    EXPECT_EQ(r.LUN, 4);
    EXPECT_EQ(r.StartLBA, 5000000000005LL);
    EXPECT_EQ(r.BlockCount, 6000000000006LL);
    EXPECT_EQ(r.BlockSize, 7);
    EXPECT_EQ(r.SNRFlags, 8);
    EXPECT_STREQ(r.FSType, "fstype-9");
    EXPECT_STREQ(r.UniqueSnapshotID, "snapshot-10");
    EXPECT_EQ(r.ApplianceId, 11);
    EXPECT_EQ(r.TzState, 12);
    EXPECT_EQ(r.CostCategoryId, 13);
    EXPECT_EQ(r.VolType, 14);
    EXPECT_EQ(r.YBid, 2015);
    EXPECT_EQ(r.PointInTime, 16);
    EXPECT_EQ(r.CreationTime, 17);
    EXPECT_EQ(r.ModifyTime, 18);
    EXPECT_EQ(r.CurrentState, 19);
    EXPECT_EQ(r.CurrentRole, 20);
    EXPECT_EQ(r.PrimaryVolumeId, 21);
    EXPECT_EQ(r.YBPhysicalVolumeId, 1001);
    EXPECT_EQ(r.ReplicationPolicyId, 23);
    EXPECT_EQ(r.RVScratchVolumeId, 24);
    EXPECT_EQ(r.YBFlags, 25);
    EXPECT_EQ(r.JobId, 26);
    EXPECT_STREQ(r.SnapvaultReplicaDir, "replica-dir-27");
    EXPECT_STREQ(r.SourceGUID, "guid-28");
    EXPECT_EQ(r.RVid, 3029);
    EXPECT_EQ(r.RVPhysicalVolumeId, 1001);
    EXPECT_EQ(r.RVScratchVolumePoolId, 31);
    EXPECT_EQ(r.RVFlags, 32);
    EXPECT_EQ(r.SnapVolumeId, 33);
    EXPECT_EQ(r.SnapEngineType, 34);
    EXPECT_EQ(r.RVLockedByJobId, 35);
}

// Only the SNR volume's own columns set; every replica and scratch column 0
// or empty.
template <class Row>
void expectNoReplicaNoScratch(const Row& r, int volumeId)
{
    EXPECT_EQ(r.SNRVolid, volumeId);
    EXPECT_EQ(r.BlockCount, volumeId * 10LL);
    for (int v : {r.YBid, r.PointInTime, r.CreationTime, r.ModifyTime, r.CurrentState, r.CurrentRole,
                  r.PrimaryVolumeId, r.YBPhysicalVolumeId, r.ReplicationPolicyId, r.RVScratchVolumeId, r.YBFlags,
                  r.JobId, r.RVid, r.RVPhysicalVolumeId, r.RVScratchVolumePoolId, r.RVFlags, r.SnapVolumeId,
                  r.SnapEngineType, r.RVLockedByJobId})
        EXPECT_EQ(v, 0);
    EXPECT_STREQ(r.SnapvaultReplicaDir, "");
    EXPECT_STREQ(r.SourceGUID, "");
}

class SnrFamilies : public SnrFamilyTest {
protected:
    // One SNR volume 1001 on which a replication volume and a scratch volume
    // lie, every source column with a value of its own, seen by client 77
    // and a member of pool 31.
    void seedSentinels()
    {
        exec("INSERT INTO YBPhysicalVolume VALUES (1001, 'unique-2', 3, 4, 5000000000005, 6000000000006, 7, 8, "
             "'fstype-9', 'snapshot-10', 11, 12, 13, 14)");
        exec("INSERT INTO YBVolume VALUES (2015, 16, 17, 18, 19, 20, 21, 1001, 23, 24, 25, 26, 33, 34, "
             "'replica-dir-27', 'guid-28')");
        exec("INSERT INTO YBScratchVolume VALUES (3029, 1001, 31, 32, 35)");
        addDevice(1, 77, 1001);
    }
};

}  // namespace

TEST_F(SnrFamilies, TextsAndReservedSizes)
{
    expectSizes<YBGetSNRDeviceByClientId, YBGetSNRDeviceByClientId_desc>(107, 238, "WHERE ClientId = 7 ", 7);
    expectSizes<YBGetSNRDeviceNameBySNRVolId, YBGetSNRDeviceNameBySNRVolId_desc>(173, 370, "SET @inSNRVolId = 12 ", 12);
    expectSizes<YBGetSNRMountPointByClientId, YBGetSNRMountPointByClientId_desc>(157, 338, "D.ClientId = -1 ", -1);
    expectSizes<YBGetSNRMountPointBySNRDevId, YBGetSNRMountPointBySNRDevId_desc>(170, 364, "SET @inSNRDevId = 2147483647 ", 2147483647);
    expectSizes<YBGetTzGlobalHistoryNameByVolumeId, YBGetTzGlobalHistoryNameByVolumeId_desc>(128, 280, "SNRVolumeId = 9)", 9);
    expectSizes<YBGetSNRVolInfoByClientId, YBGetSNRVolInfoByClientId_desc>(2806, 5636, "SET @inClientId = 3 ", 3);
    expectSizes<YBGetSNRVolumeById, YBGetSNRVolumeById_desc>(3031, 6110, "SET @inSNRVolId = 4 \n\tSET @inSrcVolId\t= -2147483648 ", 4,
                                    -2147483647 - 1);
    expectSizes<YBGetSNRVolInfoByPoolId, YBGetSNRVolInfoByPoolId_desc>(2589, 5202, "SET @inPoolId = 5 ", 5);
    expectSizes<YBGetSNRDeviceByPoolId, YBGetSNRDeviceByPoolId_desc>(186, 396, "R.RVScratchVolumePoolId = 6 ", 6);
    expectSizes<YBGetSNRMountPointByPoolId, YBGetSNRMountPointByPoolId_desc>(285, 594, "SET @inPoolId = 8 ", 8);

    EXPECT_STREQ(YBGetSNRDeviceByClientId(nullptr).columnList,
                 "id, ClientId, SNRVolumeId, DeviceName, Flags, OSDeviceName, AccessPath, FilerClientId");
    EXPECT_STREQ(YBGetSNRMountPointBySNRDevId(nullptr).columnList, "id, DeviceNameId, Path, Flags");
    EXPECT_STREQ(YBGetTzGlobalHistoryNameByVolumeId(nullptr).columnList, "DeviceId, GlobalHistoryName, Flags");
    EXPECT_STREQ(YBGetSNRVolInfoByPoolId(nullptr).columnList,
                 "SNRVolid, UniqueId, UniqueIdType, LUN, StartLBA, BlockCount, BlockSize, SNRFlags, FSType, "
                 "UniqueSnapshotID, ApplianceId, TzState, CostCategoryId, VolType, RVid, RVPhysicalVolumeId, "
                 "RVScratchVolumePoolId, RVFlags, YBid, PointInTime, CreationTime, ModifyTime, CurrentState, "
                 "CurrentRole, PrimaryVolumeId, YBPhysicalVolumeId, ReplicationPolicyId, RVScratchVolumeId, YBFlags, "
                 "JobId, SnapVolumeId, SnapEngineType, SnapvaultReplicaDir, SourceGUID, RVLockedByJobId");
}

TEST_F(SnrFamilies, EachVolumeInfoOrderPutsEverySourceColumnInItsPlace)
{
    seedSentinels();
    {
        YBGetSNRVolInfoByClientId byClient(nullptr);
        byClient.setValues(77);
        auto rows = readAll(byClient);
        ASSERT_EQ(rows.size(), 1u);
        expectSentinels(rows[0]);
    }
    {
        YBGetSNRVolumeById byId(nullptr);
        byId.setValues(1001, 0);
        ASSERT_EQ(ZXDBReadOne(byId), 0);
        expectSentinels(*byId.getDataPtr());
        byId.setValues(1001, 21);  // the source volume of the replica
        ASSERT_EQ(ZXDBReadOne(byId), 0);
        expectSentinels(*byId.getDataPtr());
    }
    {
        YBGetSNRVolInfoByPoolId byPool(nullptr);
        byPool.setValues(31);
        auto rows = readAll(byPool);
        ASSERT_EQ(rows.size(), 1u);
        expectSentinels(rows[0]);
    }
}

TEST_F(SnrFamilies, ClientInventory)
{
    // Client 5 has two devices on volume 10 and one on 11; client 6 shares
    // volume 11 and alone sees 12. Volume 11 has neither replica nor scratch.
    for (int v : {10, 11, 12}) addVolume(v);
    addDevice(3, 5, 10);
    addDevice(1, 5, 11);
    addDevice(2, 5, 10);
    addDevice(4, 6, 11);
    addDevice(5, 6, 12);
    addReplica(40, 10);
    addReplica(39, 10);  // two replicas on volume 10: the lower id is read
    addReplica(41, 12);
    addScratch(51, 10, 2);
    addScratch(50, 10, 3);
    // Mount points of devices 3 and 1 interleaved by id.
    addMountPoint(100, 3);
    addMountPoint(101, 1);
    addMountPoint(102, 3);
    addMountPoint(103, 4);

    YBGetSNRDeviceByClientId devices(nullptr);
    devices.setValues(5);
    auto deviceRows = readAll(devices);
    ASSERT_EQ(deviceRows.size(), 3u);
    EXPECT_EQ(deviceRows[0].id, 1);
    EXPECT_EQ(deviceRows[1].id, 2);
    EXPECT_EQ(deviceRows[2].id, 3);
    EXPECT_EQ(deviceRows[2].ClientId, 5);
    EXPECT_EQ(deviceRows[2].SNRVolumeId, 10);
    EXPECT_STREQ(deviceRows[2].DeviceName, "dev-3");

    YBGetSNRVolInfoByClientId volumes(nullptr);
    volumes.setValues(5);
    auto volumeRows = readAll(volumes);
    ASSERT_EQ(volumeRows.size(), 2u);  // volume 10 once despite two devices
    EXPECT_EQ(volumeRows[0].SNRVolid, 10);
    EXPECT_EQ(volumeRows[0].YBid, 39);
    EXPECT_STREQ(volumeRows[0].SourceGUID, "guid-39");
    EXPECT_EQ(volumeRows[0].YBPhysicalVolumeId, 10);
    EXPECT_EQ(volumeRows[0].RVid, 50);
    EXPECT_EQ(volumeRows[0].RVScratchVolumePoolId, 3);
    EXPECT_STREQ(volumeRows[0].UniqueId, "vol-10");
    expectNoReplicaNoScratch(volumeRows[1], 11);

    YBGetSNRMountPointByClientId mounts(nullptr);
    mounts.setValues(5);
    auto mountRows = readAll(mounts);
    ASSERT_EQ(mountRows.size(), 3u);  // by mount point id, not grouped by device
    EXPECT_EQ(mountRows[0].id, 100);
    EXPECT_EQ(mountRows[1].id, 101);
    EXPECT_EQ(mountRows[1].DeviceNameId, 1);
    EXPECT_STREQ(mountRows[1].Path, "/mnt/101");
    EXPECT_EQ(mountRows[2].id, 102);

    // A client without devices: end of data at the first fetch.
    YBGetSNRDeviceByClientId none(nullptr);
    none.setValues(99);
    int counter = 0;
    EXPECT_EQ(getNextRow(&none, &counter, -1, 0), DB_NO_MORE_ROWS);
    YBGetSNRVolInfoByClientId noVolumes(nullptr);
    noVolumes.setValues(99);
    EXPECT_TRUE(readAll(noVolumes).empty());
}

TEST_F(SnrFamilies, VolumeById)
{
    addVolume(20);
    addVolume(21);
    addReplica(60, 20, 7);
    addReplica(59, 20, 8);
    addScratch(70, 20, 4);

    YBGetSNRVolumeById byId(nullptr);
    YBGetSNRVolumeById_t* row = byId.getDataPtr();

    byId.setValues(999, 0);
    EXPECT_EQ(ZXDBReadOne(byId), DB_NO_MORE_ROWS);

    byId.setValues(20, 0);  // any replica on the volume: the lowest id
    ASSERT_EQ(ZXDBReadOne(byId), 0);
    EXPECT_EQ(row->YBid, 59);
    EXPECT_EQ(row->RVid, 70);

    byId.setValues(20, 7);  // the replica of source volume 7
    ASSERT_EQ(ZXDBReadOne(byId), 0);
    EXPECT_EQ(row->YBid, 60);
    EXPECT_EQ(row->PrimaryVolumeId, 7);
    EXPECT_STREQ(row->SourceGUID, "guid-60");

    // No replica of that source volume: YBid 0, the scratch columns as usual.
    byId.setValues(20, 9);
    ASSERT_EQ(ZXDBReadOne(byId), 0);
    EXPECT_EQ(row->SNRVolid, 20);
    EXPECT_EQ(row->YBid, 0);
    EXPECT_EQ(row->PrimaryVolumeId, 0);
    EXPECT_STREQ(row->SourceGUID, "");
    EXPECT_EQ(row->RVid, 70);
    EXPECT_EQ(row->RVScratchVolumePoolId, 4);

    byId.setValues(21, 0);
    ASSERT_EQ(ZXDBReadOne(byId), 0);
    expectNoReplicaNoScratch(*row, 21);
}

TEST_F(SnrFamilies, DevicesAndMountPointsOfOneVolumeOrDevice)
{
    addVolume(30);
    addDevice(8, 2, 30);
    addDevice(6, 1, 30);
    addDevice(7, 3, 31);
    addMountPoint(12, 6);
    addMountPoint(11, 6);
    addMountPoint(13, 8);

    YBGetSNRDeviceNameBySNRVolId devices(nullptr);
    devices.setValues(30);
    auto rows = readAll(devices);
    ASSERT_EQ(rows.size(), 2u);  // whatever their client, by id
    EXPECT_EQ(rows[0].id, 6);
    EXPECT_EQ(rows[0].ClientId, 1);
    EXPECT_EQ(rows[1].id, 8);

    YBGetSNRMountPointBySNRDevId mounts(nullptr);
    mounts.setValues(6);
    auto mountRows = readAll(mounts);
    ASSERT_EQ(mountRows.size(), 2u);
    EXPECT_EQ(mountRows[0].id, 11);
    EXPECT_EQ(mountRows[1].id, 12);
    mounts.setValues(7);
    EXPECT_TRUE(readAll(mounts).empty());
}

TEST_F(SnrFamilies, HistoryNamesOfAVolume)
{
    addVolume(40);
    addVolume(41);
    addDevice(1, 5, 40);
    addDevice(2, 6, 40);
    addDevice(3, 5, 41);
    exec("INSERT INTO YBTzHistoryName VALUES (2, 'history-b', 4)");
    exec("INSERT INTO YBTzHistoryName VALUES (1, 'history-a', 3)");

    YBGetTzGlobalHistoryNameByVolumeId names(nullptr);
    YBGetTzGlobalHistoryNameByVolumeId_t* row = names.getDataPtr();
    names.setValues(40);
    auto rows = readAll(names);
    ASSERT_EQ(rows.size(), 2u);
    // The three history-name columns, not the device columns behind them.
    EXPECT_EQ(rows[0].DeviceId, 1);
    EXPECT_STREQ(rows[0].GlobalHistoryName, "history-a");
    EXPECT_EQ(rows[0].Flags, 3);
    EXPECT_EQ(rows[1].DeviceId, 2);
    EXPECT_EQ(rows[1].Flags, 4);
    EXPECT_EQ(ZXDBReadOne(names), DB_MORE_THAN_ONE_ROW);

    names.setValues(41);  // a device without a history name
    EXPECT_EQ(ZXDBReadOne(names), DB_NO_MORE_ROWS);
    names.setValues(42);  // no devices at all
    EXPECT_EQ(ZXDBReadOne(names), DB_NO_MORE_ROWS);

    exec("DELETE FROM YBTzHistoryName WHERE DeviceId = 2");
    names.setValues(40);
    ASSERT_EQ(ZXDBReadOne(names), 0);
    EXPECT_STREQ(row->GlobalHistoryName, "history-a");
}

TEST_F(SnrFamilies, ScratchPoolContents)
{
    // Pool 3: volume 50 (three devices of two clients, a replica), volume 51
    // (no replica), a scratch row whose SNR volume row is missing (52), and
    // volume 53 of pool 4.
    for (int v : {50, 51, 53}) addVolume(v);
    addScratch(61, 50, 3);
    addScratch(62, 51, 3);
    addScratch(63, 52, 3);
    addScratch(64, 53, 4);
    addScratch(65, 50, 3);  // a second scratch row of the pool on volume 50
    addReplica(70, 50);
    addDevice(5, 1, 50);
    addDevice(2, 2, 51);
    addDevice(9, 2, 50);
    addDevice(3, 1, 50);
    addDevice(7, 1, 52);
    addDevice(8, 1, 53);
    addMountPoint(21, 9);
    addMountPoint(20, 7);
    addMountPoint(22, 2);
    addMountPoint(23, 8);

    YBGetSNRVolInfoByPoolId volumes(nullptr);
    volumes.setValues(3);
    auto rows = readAll(volumes);
    ASSERT_EQ(rows.size(), 2u);  // one row per member; 52 has no volume row
    EXPECT_EQ(rows[0].SNRVolid, 50);
    EXPECT_EQ(rows[0].RVid, 61);
    EXPECT_EQ(rows[0].RVScratchVolumePoolId, 3);
    EXPECT_EQ(rows[0].YBid, 70);
    EXPECT_STREQ(rows[0].SourceGUID, "guid-70");
    EXPECT_EQ(rows[1].SNRVolid, 51);
    EXPECT_EQ(rows[1].RVid, 62);
    EXPECT_EQ(rows[1].RVPhysicalVolumeId, 51);
    EXPECT_EQ(rows[1].YBid, 0);
    EXPECT_EQ(rows[1].YBPhysicalVolumeId, 0);
    EXPECT_STREQ(rows[1].SnapvaultReplicaDir, "");

    YBGetSNRDeviceByPoolId devices(nullptr);
    devices.setValues(3);
    auto deviceRows = readAll(devices);
    std::vector<int> ids;
    for (const auto& d : deviceRows) ids.push_back(d.id);
    EXPECT_EQ(ids, (std::vector<int>{2, 3, 5, 7, 9}));  // across the pool, each once

    YBGetSNRMountPointByPoolId mounts(nullptr);
    mounts.setValues(3);
    auto mountRows = readAll(mounts);
    ids.clear();
    for (const auto& m : mountRows) ids.push_back(m.id);
    EXPECT_EQ(ids, (std::vector<int>{20, 21, 22}));

    // An empty pool and a pool id naming no pool alike: end of data at once.
    exec("INSERT INTO YBScratchPool (id, name) VALUES (9, 'empty')");
    for (int pool : {9, 12345}) {
        YBGetSNRVolInfoByPoolId empty(nullptr);
        empty.setValues(pool);
        int counter = 0;
        EXPECT_EQ(getNextRow(&empty, &counter, -1, 0), DB_NO_MORE_ROWS);
    }
}
