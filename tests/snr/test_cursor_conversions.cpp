#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "rows/Db/Cursor/YBGetSNRDeviceByClientId.h"
#include "rows/Db/Cursor/YBGetSNRDeviceByPoolId.h"
#include "rows/Db/Cursor/YBGetSNRDeviceNameBySNRVolId.h"
#include "rows/Db/Cursor/YBGetSNRMountPointByClientId.h"
#include "rows/Db/Cursor/YBGetSNRMountPointByPoolId.h"
#include "rows/Db/Cursor/YBGetSNRMountPointBySNRDevId.h"
#include "rows/Db/Cursor/YBGetSNRVolInfoByClientId.h"
#include "rows/Db/Cursor/YBGetSNRVolInfoByPoolId.h"
#include "rows/Db/Cursor/YBGetSNRVolumeById.h"
#include "snr/CursorSeedFixture.h"
#include "snr/SNRRecords.h"

namespace {

// Volume 40 as each record version reads it: versions 1 and 42 keep the low
// 32 bits of StartLBA and BlockCount, V3 and V4 the whole values.
template <class Row>
void expectVolume40(const Row& row)
{
    SNRVolumeRecord_t v1;
    YBSet(v1, row);
    EXPECT_EQ(v1.id, 40);
    EXPECT_EQ(v1.UniqueId, "uid-40");
    EXPECT_EQ(v1.UniqueIdType, 3);
    EXPECT_EQ(v1.LUN, 4);
    EXPECT_EQ(v1.StartLBA, 5);
    EXPECT_EQ(v1.BlockCount, 6);
    EXPECT_EQ(v1.BlockSize, 512);
    EXPECT_TRUE(v1.BackupFromSnap);
    EXPECT_TRUE(v1.Locked);
    EXPECT_EQ(v1.FSType, "ntfs");
    EXPECT_TRUE(v1.UsePermReplica);

    SNRVolumeRecord42_t v42;
    YBSet(v42, row);
    EXPECT_EQ(v42.StartLBA, 5);
    EXPECT_EQ(v42.UniqueSnapshotID, "snap-40");
    EXPECT_TRUE(v42.Allocated);

    SNRVolumeRecordV3_t v3;
    YBSet(v3, row);
    EXPECT_EQ(v3.id, 40);
    EXPECT_EQ(v3.StartLBA, 4294967301LL);
    EXPECT_EQ(v3.BlockCount, 8589934598LL);
    EXPECT_TRUE(v3.Locked);
    EXPECT_TRUE(v3.Allocated);
    EXPECT_TRUE(v3.MorvaneProtected);
    EXPECT_TRUE(v3.ShadowImported);
    EXPECT_EQ(v3.ApplianceId, 11);
    EXPECT_EQ(v3.TzState, 12);
    EXPECT_EQ(v3.CostCategoryId, -1);
    EXPECT_EQ(v3.UpdateMap, 0);

    SNRVolumeRecordV4_t v4;
    v4.UpdateMap = 0x20;  // not a column: kept as the record held it
    YBSet(v4, row);
    EXPECT_EQ(v4.VolType, 4);
    EXPECT_TRUE(isNasVolume(v4));
    EXPECT_EQ(v4.UpdateMap, 0x20);
    EXPECT_EQ(v4.UniqueSnapshotID, "snap-40");
    EXPECT_EQ(v4.CostCategoryId, -1);
}

// Volume 41: flags 0x5 only, empty texts, StartLBA -1.
template <class Row>
void expectVolume41(const Row& row)
{
    SNRVolumeRecordV4_t v4;
    YBSet(v4, row);
    EXPECT_EQ(v4.id, 41);
    EXPECT_TRUE(v4.BackupFromSnap);
    EXPECT_FALSE(v4.Locked);
    EXPECT_TRUE(v4.UsePermReplica);
    EXPECT_FALSE(v4.Allocated);
    EXPECT_FALSE(v4.MorvaneProtected);
    EXPECT_FALSE(v4.ShadowImported);
    EXPECT_EQ(v4.FSType, "");
    EXPECT_EQ(v4.UniqueSnapshotID, "");
    EXPECT_EQ(v4.StartLBA, -1);
    EXPECT_EQ(v4.VolType, 1);
    EXPECT_FALSE(isNasVolume(v4));

    SNRVolumeRecord_t v1;
    YBSet(v1, row);
    EXPECT_EQ(v1.StartLBA, -1);
    EXPECT_EQ(v1.BlockCount, 100);
}

// Device 1 (flags 0xf, FilerClientId 7) by version; device 2 (flags 0x2).
template <class Row>
void expectDevices(const std::vector<Row>& rows)
{
    ASSERT_EQ(rows.size(), 2u);
    SNRVolumeDeviceNameRecord_t v1;
    YBSet(v1, rows[0]);
    EXPECT_EQ(v1.id, 1);
    EXPECT_EQ(v1.ClientId, 77);
    EXPECT_EQ(v1.SNRVolumeId, 40);
    EXPECT_EQ(v1.DeviceName, "dev-1");
    EXPECT_TRUE(v1.IsCaseSensitive);

    SNRVolumeDeviceNameV2Record_t v2;
    YBSet(v2, rows[0]);
    EXPECT_EQ(v2.OSDeviceName, "os-1");
    EXPECT_TRUE(v2.Configured);
    EXPECT_TRUE(v2.Fake);

    SNRVolumeDeviceNameV3Record_t v3;
    YBSet(v3, rows[0]);
    EXPECT_TRUE(v3.VVM);
    EXPECT_EQ(v3.AccessPath, "ap-1");
    EXPECT_EQ(v3.UpdateMap, 0);

    SNRVolumeDeviceNameV4Record_t v4;
    YBSet(v4, rows[0]);
    EXPECT_EQ(v4.FilerClientId, 7);
    EXPECT_EQ(v4.DeviceName, "dev-1");

    SNRVolumeDeviceNameV4Record_t second;
    YBSet(second, rows[1]);
    EXPECT_EQ(second.id, 2);
    EXPECT_EQ(second.SNRVolumeId, 41);
    EXPECT_FALSE(second.IsCaseSensitive);
    EXPECT_TRUE(second.Configured);
    EXPECT_FALSE(second.Fake);
    EXPECT_FALSE(second.VVM);
    EXPECT_EQ(second.OSDeviceName, "");
    EXPECT_EQ(second.AccessPath, "");
    EXPECT_EQ(second.FilerClientId, 1);
}

template <class Row>
void expectMountPoint(const Row& row, int id, int deviceId, const char* path, bool caseSensitive, bool unmounted)
{
    SNRVolumeMountPointRecord_t record;
    YBSet(record, row);
    EXPECT_EQ(record.id, id);
    EXPECT_EQ(record.DeviceNameId, deviceId);
    EXPECT_EQ(record.Path, path);
    EXPECT_EQ(record.IsCaseSensitive, caseSensitive);
    EXPECT_EQ(record.Unmounted, unmounted);
}

class SNRCursorConversions : public CursorSeedTest {
protected:
    // Mount points 5 and 6 from a mount-point cursor; first 1 when the
    // cursor yields only 6.
    template <class F, class... A>
    void expectMountPointsOf(size_t first, A... args)
    {
        auto rows = rowsOf<F>(args...);
        ASSERT_EQ(rows.size(), 2 - first);
        if (first == 0) expectMountPoint(rows[0], 5, 1, "/mnt/a", true, true);
        expectMountPoint(rows[1 - first], 6, 2, "/mnt/b", false, true);
    }
};

}  // namespace

TEST_F(SNRCursorConversions, VolumeRecordsFromTheThreeVolumeCursors)
{
    forEachVolumeCursor([](const auto& row) { expectVolume40(row); }, [](const auto& row) { expectVolume41(row); });
}

TEST_F(SNRCursorConversions, DeviceRecordsFromTheThreeDeviceCursors)
{
    YBGetSNRDeviceByClientId byClient(nullptr);
    byClient.setValues(77);
    expectDevices(readAll(byClient));

    YBGetSNRDeviceByPoolId byPool(nullptr);
    byPool.setValues(9);
    expectDevices(readAll(byPool));

    // By volume: one device each.
    YBGetSNRDeviceNameBySNRVolId byVolume(nullptr);
    byVolume.setValues(40);
    auto rows = readAll(byVolume);
    byVolume.setValues(41);
    auto more = readAll(byVolume);
    rows.insert(rows.end(), more.begin(), more.end());
    expectDevices(rows);
}

TEST_F(SNRCursorConversions, MountPointRecordsFromTheThreeMountPointCursors)
{
    expectMountPointsOf<YBGetSNRMountPointByClientId>(0, 77);
    expectMountPointsOf<YBGetSNRMountPointByPoolId>(0, 9);
    expectMountPointsOf<YBGetSNRMountPointBySNRDevId>(1, 2);
}

// The list forms append one record per row in the order of the rows, and
// the reply arrays made from those lists carry the rows' values.
TEST_F(SNRCursorConversions, ListsFromCursorRowsIntoReplyArrays)
{
    YBGetSNRVolInfoByPoolId byPool(nullptr);
    byPool.setValues(9);
    std::vector<SNRVolumeRecord42_t> volumes;
    for (const auto& row : readAll(byPool)) YBSet(volumes, row);
    ASSERT_EQ(volumes.size(), 2u);
    repSNRVolume42* volumeArray = nullptr;
    ASSERT_TRUE(CopyVectorToMsg(&volumeArray, volumes));
    EXPECT_EQ(volumeArray[0].id, 40);
    EXPECT_EQ(volumeArray[0].StartLBA, 5);
    EXPECT_EQ(volumeArray[0].Allocated, 1);
    EXPECT_STREQ(volumeArray[0].UniqueSnapshotID, "snap-40");
    EXPECT_EQ(volumeArray[1].id, 41);
    EXPECT_EQ(volumeArray[1].FSType, nullptr);  // an empty column goes out as null
    EXPECT_EQ(volumeArray[1].Locked, 0);
    free(volumeArray);

    YBGetSNRDeviceByClientId devicesOfClient(nullptr);
    devicesOfClient.setValues(77);
    std::vector<SNRVolumeDeviceNameV4Record_t> devices;
    for (const auto& row : readAll(devicesOfClient)) YBSet(devices, row);
    YBGetSNRDeviceNameBySNRVolId devicesOfVolume(nullptr);
    devicesOfVolume.setValues(6);
    for (const auto& row : readAll(devicesOfVolume)) YBSet(devices, row);
    ASSERT_EQ(devices.size(), 3u);
    repSNRVolumeDeviceNameV4* deviceArray = nullptr;
    ASSERT_TRUE(CopyVectorToMsg(&deviceArray, devices));
    EXPECT_EQ(deviceArray[0].FilerClientId, 7);
    EXPECT_EQ(deviceArray[0].VVM, 1);
    EXPECT_EQ(deviceArray[1].AccessPath, nullptr);
    EXPECT_EQ(deviceArray[2].ClientId, 88);
    EXPECT_STREQ(deviceArray[2].DeviceName, "client88:/vol/vol0");
    free(deviceArray);

    YBGetSNRMountPointByPoolId mountsOfPool(nullptr);
    mountsOfPool.setValues(9);
    std::vector<SNRVolumeMountPointRecord_t> mounts;
    for (const auto& row : readAll(mountsOfPool)) YBSet(mounts, row);
    YBGetSNRMountPointBySNRDevId mountsOfDevice(nullptr);
    mountsOfDevice.setValues(1);
    for (const auto& row : readAll(mountsOfDevice)) YBSet(mounts, row);
    ASSERT_EQ(mounts.size(), 3u);
    EXPECT_EQ(mounts[0].id, 5);
    EXPECT_EQ(mounts[1].id, 6);
    EXPECT_EQ(mounts[2].id, 5);

    // A pool without members gives an empty list and no array.
    byPool.setValues(99);
    std::vector<SNRVolumeRecordV4_t> none;
    for (const auto& row : readAll(byPool)) YBSet(none, row);
    repSNRVolumeV4* noArray = nullptr;
    EXPECT_TRUE(CopyVectorToMsg(&noArray, none));
    EXPECT_EQ(noArray, nullptr);
}
