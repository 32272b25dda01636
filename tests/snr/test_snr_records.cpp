#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "support/TestCatalogue.h"
#include "service/ResultCode.h"
#include "snr/SNRAdapters.h"
#include "snr/SNRMessageVersions.h"
#include "snr/SNRRecords.h"

namespace {

YBPhysicalVolume_t volumeRow()
{
    YBPhysicalVolume_t row;
    row.id = 17;
    std::strcpy(row.UniqueId, "600A0B80");
    row.UniqueIdType = 3;
    row.LUN = 9;
    row.StartLBA = (int64_t(1) << 32) + 5;
    row.BlockCount = (int64_t(3) << 32) + 7;
    row.BlockSize = 512;
    row.Flags = 0x3f;
    std::strcpy(row.FSType, "NTFS");
    std::strcpy(row.UniqueSnapshotID, "snap-1");
    row.ApplianceId = 4;
    row.TzState = 2;
    row.CostCategoryId = -1;
    row.Type = 5;
    return row;
}

YBPhysicalDevice_t deviceRow()
{
    YBPhysicalDevice_t row;
    row.id = 3;
    row.ClientId = 11;
    row.SNRVolumeId = 17;
    std::strcpy(row.DeviceName, "\\\\.\\PhysicalDrive2");
    row.Flags = 0xf;
    std::strcpy(row.OSDeviceName, "/dev/sdc");
    std::strcpy(row.AccessPath, "iqn.1992-08");
    row.FilerClientId = 7;
    return row;
}

}  // namespace

// The setter of each version runs the lower versions first: every field of
// every version arrives, the flags by their bits.
TEST(SNRVolumeRecords, RowFillsEachVersionWithItsFields)
{
    YBPhysicalVolume_t row = volumeRow();

    SNRVolumeRecord_t v1;
    YBSet(v1, row);
    EXPECT_EQ(v1.id, 17);
    EXPECT_EQ(v1.UniqueId, "600A0B80");
    EXPECT_EQ(v1.UniqueIdType, 3);
    EXPECT_EQ(v1.LUN, 9);
    EXPECT_EQ(v1.StartLBA, 5);       // low 32 bits only
    EXPECT_EQ(v1.BlockCount, 7);
    EXPECT_EQ(v1.BlockSize, 512);
    EXPECT_TRUE(v1.BackupFromSnap);
    EXPECT_TRUE(v1.Locked);
    EXPECT_TRUE(v1.UsePermReplica);
    EXPECT_EQ(v1.FSType, "NTFS");

    SNRVolumeRecord42_t v42;
    YBSet(v42, row);
    EXPECT_EQ(v42.StartLBA, 5);
    EXPECT_EQ(v42.UniqueSnapshotID, "snap-1");
    EXPECT_TRUE(v42.Allocated);

    SNRVolumeRecordV3_t v3;
    v3.UpdateMap = 0x44;
    YBSet(v3, row);
    EXPECT_EQ(v3.StartLBA, (int64_t(1) << 32) + 5);
    EXPECT_EQ(v3.BlockCount, (int64_t(3) << 32) + 7);
    EXPECT_TRUE(v3.MorvaneProtected);
    EXPECT_TRUE(v3.ShadowImported);
    EXPECT_TRUE(v3.Allocated);
    EXPECT_EQ(v3.ApplianceId, 4);
    EXPECT_EQ(v3.TzState, 2);
    EXPECT_EQ(v3.CostCategoryId, -1);  // widened with its sign
    EXPECT_EQ(v3.UpdateMap, 0x44);     // not touched by a row

    SNRVolumeRecordV4_t v4;
    YBSet(v4, row);
    EXPECT_EQ(v4.VolType, 5);
    EXPECT_EQ(v4.UniqueId, "600A0B80");
    EXPECT_TRUE(v4.MorvaneProtected && v4.ShadowImported && v4.Allocated && v4.Locked && v4.BackupFromSnap &&
                v4.UsePermReplica);
}

TEST(SNRVolumeRecords, FlagBitsMapOneToOne)
{
    const struct {
        int32_t bit;
        bool SNRVolumeRecordV3_t::*field;
    } bits[] = {
        {0x1, &SNRVolumeRecordV3_t::BackupFromSnap}, {0x2, &SNRVolumeRecordV3_t::Locked},
        {0x4, &SNRVolumeRecordV3_t::UsePermReplica}, {0x8, &SNRVolumeRecordV3_t::Allocated},
        {0x10, &SNRVolumeRecordV3_t::MorvaneProtected}, {0x20, &SNRVolumeRecordV3_t::ShadowImported},
    };
    for (const auto& b : bits) {
        YBPhysicalVolume_t row;
        row.Flags = b.bit;
        SNRVolumeRecordV3_t rec;
        YBSet(rec, row);
        int set = 0;
        for (const auto& other : bits) set += (rec.*other.field) ? 1 : 0;
        EXPECT_TRUE(rec.*b.field) << b.bit;
        EXPECT_EQ(set, 1) << b.bit;

        // The update row carries the bit back, except Allocated.
        std::string msg;
        YBPhysicalVolume_t out;
        YBDBDst_t<YBPhysicalVolume_t> dst(out, msg);
        EXPECT_EQ(YBSet(dst, rec), 0);
        EXPECT_EQ(out.Flags, b.bit == 0x8 ? 0 : b.bit) << b.bit;
    }
}

TEST(SNRVolumeRecords, EmptyColumnsAndDefaults)
{
    YBPhysicalVolume_t row;  // empty texts
    SNRVolumeRecordV4_t rec;
    rec.FSType = "stale";
    YBSet(rec, row);
    EXPECT_EQ(rec.FSType, "");
    EXPECT_EQ(rec.UniqueId, "");
    EXPECT_EQ(rec.UniqueSnapshotID, "");

    // A column without its terminator is read to its end and no further.
    YBPhysicalVolume_t full;
    std::memset(full.UniqueId, 'u', sizeof(full.UniqueId));
    std::memset(full.FSType, 'f', sizeof(full.FSType));
    SNRVolumeRecord_t unterminated;
    YBSet(unterminated, full);
    EXPECT_EQ(unterminated.UniqueId, std::string(257, 'u'));
    EXPECT_EQ(unterminated.FSType, std::string(129, 'f'));

    SNRVolumeRecord_t v1;
    EXPECT_EQ(v1.StartLBA, -1);
    EXPECT_EQ(v1.BlockCount, -1);
    SNRVolumeRecordV4_t v4;
    EXPECT_EQ(v4.StartLBA, 0);
    EXPECT_EQ(v4.CostCategoryId, 0);
    EXPECT_EQ(v4.ApplianceId, -1);
    EXPECT_EQ(v4.BlockSize, -1);
    EXPECT_FALSE(isNasVolume(v4));
}

TEST(SNRVolumeRecords, WireRoundTripWithBooleansAndTexts)
{
    SNRVolumeRecordV4_t rec;
    rec.id = 8;
    rec.UniqueId = "";
    rec.UniqueIdType = 15;
    rec.LUN = 0;
    rec.StartLBA = int64_t(1) << 40;
    rec.BlockCount = -2;
    rec.BlockSize = 4096;
    rec.Locked = true;
    rec.FSType = "ext4";
    rec.UniqueSnapshotID = "sid";
    rec.ShadowImported = true;
    rec.UpdateMap = 0x800;
    rec.CostCategoryId = int64_t(1) << 33;
    rec.VolType = 3;

    repSNRVolumeV4 wire;
    YBSet(wire, rec);
    EXPECT_EQ(wire.UniqueId, nullptr);
    EXPECT_EQ(wire.FSType, rec.FSType.c_str());  // points into the record
    EXPECT_EQ(wire.Locked, 1);
    EXPECT_EQ(wire.BackupFromSnap, 0);
    EXPECT_EQ(wire.ShadowImported, 1);
    EXPECT_EQ(wire.StartLBA, int64_t(1) << 40);
    EXPECT_EQ(wire.CostCategoryId, int64_t(1) << 33);
    EXPECT_EQ(wire.UpdateMap, 0x800);
    EXPECT_EQ(wire.VolType, 3);

    // Only exactly 1 reads as true.
    wire.Locked = 2;
    wire.BackupFromSnap = -1;
    wire.Allocated = 1;
    SNRVolumeRecordV4_t back;
    YBSet(back, wire);
    EXPECT_FALSE(back.Locked);
    EXPECT_FALSE(back.BackupFromSnap);
    EXPECT_TRUE(back.Allocated);
    EXPECT_TRUE(back.ShadowImported);
    EXPECT_EQ(back.UniqueId, "");
    EXPECT_EQ(back.FSType, "ext4");
    EXPECT_EQ(back.BlockCount, -2);
    EXPECT_EQ(back.UpdateMap, 0x800);
    EXPECT_EQ(back.CostCategoryId, int64_t(1) << 33);
    EXPECT_EQ(back.VolType, 3);

    SNRVolumeRecord_t v1;
    v1.StartLBA = -1;
    v1.UsePermReplica = true;
    repSNRVolume w1;
    YBSet(w1, v1);
    EXPECT_EQ(w1.StartLBA, -1);
    EXPECT_EQ(w1.UsePermReplica, 1);
    w1.UsePermReplica = 2;
    SNRVolumeRecord_t b1;
    YBSet(b1, w1);
    EXPECT_FALSE(b1.UsePermReplica);

    repSNRVolume42 w42;
    w42.UniqueSnapshotID = const_cast<char*>("x");
    SNRVolumeRecord42_t r42;
    YBSet(r42, w42);
    EXPECT_EQ(r42.UniqueSnapshotID, "x");
    EXPECT_EQ(r42.UniqueId, "");
}

// The insert row: Type and CostCategoryId 1 below V3/V4, no id, no Locked or
// Allocated bit, the row otherwise left as the caller made it.
TEST(SNRVolumeRecords, InsertRowRules)
{
    SNRVolumeRecord42_t r42;
    r42.id = 99;
    r42.StartLBA = -1;
    r42.BlockCount = -1;
    r42.Locked = true;
    r42.Allocated = true;
    r42.BackupFromSnap = true;
    r42.UniqueId = "uid";
    YBPhysicalVolume_t row;
    YBSet(row, r42);
    EXPECT_EQ(row.id, 0);
    EXPECT_EQ(row.Type, 1);
    EXPECT_EQ(row.CostCategoryId, 1);
    EXPECT_EQ(row.StartLBA, -1);
    EXPECT_EQ(row.BlockCount, -1);
    EXPECT_EQ(row.Flags, 0x1);
    EXPECT_STREQ(row.UniqueId, "uid");

    // Bits the caller set stay; bits of the record are set or cleared.
    YBPhysicalVolume_t preset;
    preset.Flags = 0x2 | 0x8 | 0x1 | 0x10;
    std::strcpy(preset.FSType, "keep");
    SNRVolumeRecordV3_t v3;
    v3.CostCategoryId = 0;
    v3.ShadowImported = true;
    YBSet(preset, v3);
    EXPECT_EQ(preset.Flags, 0x2 | 0x8 | 0x20);
    EXPECT_EQ(preset.CostCategoryId, 1);
    EXPECT_EQ(preset.Type, 1);
    EXPECT_STREQ(preset.FSType, "keep");  // an empty text is not written

    SNRVolumeRecordV4_t v4;
    v4.CostCategoryId = 6;
    v4.VolType = 4;
    v4.StartLBA = int64_t(1) << 35;
    YBPhysicalVolume_t r4;
    YBSet(r4, v4);
    EXPECT_EQ(r4.CostCategoryId, 6);
    EXPECT_EQ(r4.Type, 4);
    EXPECT_EQ(r4.StartLBA, int64_t(1) << 35);

    // No length test, but never past a column.
    SNRVolumeRecordV4_t big;
    big.UniqueId = std::string(400, 'u');
    big.FSType = std::string(300, 'f');
    YBPhysicalVolume_t r5;
    r5.UniqueIdType = 0;
    YBSet(r5, big);
    EXPECT_EQ(std::strlen(r5.UniqueId), 256u);
    EXPECT_EQ(std::strlen(r5.FSType), 128u);
    EXPECT_EQ(r5.UniqueIdType, big.UniqueIdType);
}

TEST(SNRVolumeRecords, UpdateRowZeroFillsAndChecksLengths)
{
    std::string msg;
    YBPhysicalVolume_t row;
    row.id = 5;
    row.BlockSize = 512;
    std::strcpy(row.UniqueSnapshotID, "old");
    YBDBDst_t<YBPhysicalVolume_t> dst(row, msg);

    SNRVolumeRecordV3_t v3;
    v3.UniqueId = std::string(255, 'a');
    v3.CostCategoryId = 0;
    v3.StartLBA = 77;
    v3.Allocated = true;
    v3.Locked = true;
    EXPECT_EQ(YBSet(dst, v3), 0);
    EXPECT_EQ(msg, "");
    EXPECT_EQ(row.id, 0);
    EXPECT_EQ(row.BlockSize, 0);
    EXPECT_EQ(row.StartLBA, 0);  // only V4 writes it
    EXPECT_EQ(row.CostCategoryId, 0);
    EXPECT_EQ(row.Flags, 0x2);
    EXPECT_STREQ(row.UniqueSnapshotID, "");
    EXPECT_EQ(std::strlen(row.UniqueId), 255u);

    v3.UniqueId = std::string(256, 'a');
    dst.errCode = 0;
    EXPECT_EQ(YBSet(dst, v3), YB_PVOL_UNIQUE_ID);
    EXPECT_EQ(dst.errCode, -18);
    EXPECT_EQ(msg, "YB Physical Volume is too long");

    SNRVolumeRecord_t v1;
    v1.FSType = std::string(127, 'f');
    msg.clear();
    EXPECT_EQ(YBSet(dst, v1), 0);
    v1.FSType += "f";
    v1.LUN = 3;
    EXPECT_EQ(YBSet(dst, v1), YB_PVOL_FSTYPE);
    EXPECT_EQ(msg, "YB Physical Volume FS Type is too long");
    EXPECT_EQ(row.LUN, 3);  // fields before the failing one are in the row

    SNRVolumeRecord42_t v42;
    v42.UniqueSnapshotID = std::string(2047, 's');
    EXPECT_EQ(YBSet(dst, v42), 0);
    v42.UniqueSnapshotID += "s";
    EXPECT_EQ(YBSet(dst, v42), YB_PVOL_UNIQUE_SNAP_ID);
    EXPECT_EQ(msg, "YB Physical Volume's unique snapshot id is too long");

    SNRVolumeRecordV4_t v4;
    v4.VolType = 2;
    v4.StartLBA = -9;
    v4.BlockCount = int64_t(1) << 36;
    v4.CostCategoryId = (int64_t(1) << 32) + 3;
    std::string ok;
    YBDBDst_t<YBPhysicalVolume_t> dst4(row, ok);
    dst4.errCode = 42;
    EXPECT_EQ(YBSet(dst4, v4), 0);
    EXPECT_EQ(dst4.errCode, 42);  // written only on failure
    EXPECT_EQ(row.Type, 2);
    EXPECT_EQ(row.StartLBA, -9);
    EXPECT_EQ(row.BlockCount, int64_t(1) << 36);
    EXPECT_EQ(row.CostCategoryId, 3);  // narrowed to 32 bits
}

TEST(SNRVolumeRecords, MasksAndKinds)
{
    EXPECT_EQ(GetUpdateMap(SNRVolumeRecord_t()), 0x7f);
    EXPECT_EQ(GetUpdateMap(SNRVolumeRecord42_t()), 0xff);
    SNRVolumeRecordV3_t v3;
    EXPECT_EQ(GetUpdateMap(v3), 0x1fff);
    v3.SetCostCategoryId(-4);
    EXPECT_EQ(v3.CostCategoryId, -4);
    EXPECT_EQ(GetUpdateMap(v3), YB_PVOL_COST_ID);

    SNRVolumeRecordV4_t v4;
    for (int type = 0; type <= 8; ++type) {
        v4.VolType = type;
        bool nas = type >= 2 && type <= 6;
        EXPECT_EQ(isNasVolume(v4), nas) << type;
        EXPECT_EQ(GetUpdateMap(v4), nas ? 0xffff : 0x3fff) << type;
    }
    v4.UpdateMap = YB_PVOL_LOCK | YB_PVOL_TYPE;
    EXPECT_EQ(GetUpdateMap(v4), YB_PVOL_LOCK | YB_PVOL_TYPE);

    // A V4 record passed where an older version is expected keeps its kind.
    const SNRVolumeRecordV3_t& asV3 = v4;
    EXPECT_FALSE(isNasVolume(asV3));
    EXPECT_FALSE(isNasVolume(SNRVolumeRecord42_t()));

    v4.MorvaneProtected = true;
    v4.TzState = 3;
    EXPECT_TRUE(GetMorvaneProtected(v4));
    EXPECT_EQ(GetMorvaneState(v4), 3);
    EXPECT_FALSE(GetMorvaneProtected(SNRVolumeRecord42_t()));
    EXPECT_EQ(GetMorvaneState(SNRVolumeRecord_t()), 0);
}

TEST(SNRDeviceRecords, RowAndWireConversions)
{
    YBPhysicalDevice_t row = deviceRow();
    SNRVolumeDeviceNameRecord_t v1;
    YBSet(v1, row);
    EXPECT_EQ(v1.id, 3);
    EXPECT_EQ(v1.ClientId, 11);
    EXPECT_EQ(v1.SNRVolumeId, 17);
    EXPECT_EQ(v1.DeviceName, "\\\\.\\PhysicalDrive2");
    EXPECT_TRUE(v1.IsCaseSensitive);

    row.Flags = 0x2 | 0x8;
    SNRVolumeDeviceNameV4Record_t v4;
    v4.UpdateMap = 0x10;
    YBSet(v4, row);
    EXPECT_FALSE(v4.IsCaseSensitive);
    EXPECT_TRUE(v4.Configured);
    EXPECT_FALSE(v4.Fake);
    EXPECT_TRUE(v4.VVM);
    EXPECT_EQ(v4.OSDeviceName, "/dev/sdc");
    EXPECT_EQ(v4.AccessPath, "iqn.1992-08");
    EXPECT_EQ(v4.FilerClientId, 7);
    EXPECT_EQ(v4.UpdateMap, 0x10);

    repSNRVolumeDeviceNameV4 wire;
    YBSet(wire, v4);
    EXPECT_EQ(wire.Configured, 1);
    EXPECT_EQ(wire.IsCaseSensitive, 0);
    EXPECT_EQ(wire.FilerClientId, 7);
    EXPECT_EQ(wire.UpdateMap, 0x10);
    EXPECT_STREQ(wire.AccessPath, "iqn.1992-08");
    wire.Fake = 2;
    wire.VVM = 1;
    wire.OSDeviceName = nullptr;
    SNRVolumeDeviceNameV4Record_t back;
    YBSet(back, wire);
    EXPECT_FALSE(back.Fake);
    EXPECT_TRUE(back.VVM);
    EXPECT_EQ(back.OSDeviceName, "");
    EXPECT_EQ(back.UpdateMap, 0x10);
    EXPECT_EQ(back.DeviceName, v4.DeviceName);

    SNRVolumeDeviceNameV2Record_t v2;
    repSNRVolumeDeviceNameV2 w2;
    YBSet(w2, v2);
    EXPECT_EQ(w2.DeviceName, nullptr);
    EXPECT_EQ(w2.id, -1);
}

TEST(SNRDeviceRecords, CheckedRowLimitsAndFilerClient)
{
    std::string msg;
    YBPhysicalDevice_t row = deviceRow();
    YBDBDst_t<YBPhysicalDevice_t> dst(row, msg);

    SNRVolumeDeviceNameV3Record_t v3;
    v3.id = 40;
    v3.ClientId = 2;
    v3.SNRVolumeId = 6;
    v3.VVM = true;
    v3.AccessPath = std::string(127, 'p');
    v3.DeviceName = std::string(1023, 'd');
    EXPECT_TRUE(YBSet(dst, v3));
    EXPECT_EQ(row.id, 0);
    EXPECT_EQ(row.FilerClientId, 1);  // a V3 record gives the default filer
    EXPECT_EQ(row.Flags, 0x8);
    EXPECT_STREQ(row.OSDeviceName, "");
    EXPECT_EQ(std::strlen(row.DeviceName), 1023u);
    EXPECT_EQ(std::strlen(row.AccessPath), 127u);

    v3.AccessPath += "p";
    EXPECT_FALSE(YBSet(dst, v3));
    EXPECT_EQ(dst.errCode, -18);
    EXPECT_EQ(msg, "Access Path is too long");

    v3.AccessPath.clear();
    v3.DeviceName += "d";
    EXPECT_FALSE(YBSet(dst, v3));
    EXPECT_EQ(msg, "Device Name is too long");

    SNRVolumeDeviceNameV2Record_t v2;
    v2.OSDeviceName = std::string(1024, 'o');
    v2.Configured = true;
    EXPECT_FALSE(YBSet(dst, v2));
    EXPECT_EQ(msg, "OS Device Name is too long");

    // An empty device name of any version converts and leaves the column empty.
    SNRVolumeDeviceNameRecord_t v1;
    v1.IsCaseSensitive = true;
    msg.clear();
    EXPECT_TRUE(YBSet(dst, v1));
    EXPECT_STREQ(row.DeviceName, "");
    EXPECT_EQ(row.Flags, 0x1);
    SNRVolumeDeviceNameV4Record_t v4;
    v4.FilerClientId = 9;
    EXPECT_TRUE(YBSet(dst, v4));
    EXPECT_EQ(row.FilerClientId, 9);
    EXPECT_EQ(msg, "");
}

TEST(SNRDeviceRecords, MasksAndRepointing)
{
    EXPECT_EQ(GetUpdateMap(SNRVolumeDeviceNameRecord_t()), 0x1f);
    EXPECT_EQ(GetUpdateMap(SNRVolumeDeviceNameV3Record_t()), 0x1ff);
    SNRVolumeDeviceNameV4Record_t v4;
    EXPECT_EQ(GetUpdateMap(v4), 0x3ff);
    EXPECT_EQ(v4.FilerClientId, 1);
    v4.UpdateMap = YB_DEV_NAME;
    v4.UpdateSNRVolumeId(31);
    EXPECT_EQ(v4.SNRVolumeId, 31);
    EXPECT_EQ(GetUpdateMap(v4), YB_DEV_NAME | YB_DEV_VOL_ID);
}

TEST(SNRMountPoints, ConversionsKeepForeignBits)
{
    YBMountPoint_t row;
    row.id = 4;
    row.DeviceNameId = 3;
    std::strcpy(row.Path, "/mnt/a");
    row.Flags = 0x2 | 0x40;
    SNRVolumeMountPointRecord_t rec;
    YBSet(rec, row);
    EXPECT_EQ(rec.id, 4);
    EXPECT_EQ(rec.DeviceNameId, 3);
    EXPECT_EQ(rec.Path, "/mnt/a");
    EXPECT_FALSE(rec.IsCaseSensitive);
    EXPECT_TRUE(rec.Unmounted);

    rec.IsCaseSensitive = true;
    rec.Unmounted = false;
    rec.id = 77;
    rec.Path.clear();
    YBSet(row, rec);
    EXPECT_EQ(row.Flags, 0x1 | 0x40);
    EXPECT_EQ(row.id, 4);
    EXPECT_STREQ(row.Path, "/mnt/a");  // an empty path is not written
    rec.Path = std::string(2000, 'p');
    YBSet(row, rec);
    EXPECT_EQ(std::strlen(row.Path), 1024u);

    repSNRVolumeMountPoint wire;
    rec.Path.clear();
    YBSet(wire, rec);
    EXPECT_EQ(wire.Path, nullptr);
    EXPECT_EQ(wire.IsCaseSensitive, 1);
    wire.Unmounted = 2;
    SNRVolumeMountPointRecord_t back;
    YBSet(back, wire);
    EXPECT_FALSE(back.Unmounted);
    EXPECT_EQ(back.Path, "");

    MorvaneHistoryNameRecord_t hist;
    hist.DeviceId = 12;
    repYBTzHistoryNameRec hw;
    YBSet(hw, hist);
    EXPECT_EQ(hw.GlobalHistoryName, nullptr);
    hw.GlobalHistoryName = const_cast<char*>("GHN-1");
    MorvaneHistoryNameRecord_t hb;
    YBSet(hb, hw);
    EXPECT_EQ(hb.DeviceId, 12);
    EXPECT_EQ(hb.GlobalHistoryName, "GHN-1");
}

TEST(SNRRecordLists, RowsAppendAndArraysFollowTheListOrder)
{
    std::vector<SNRVolumeRecordV3_t> vols;
    YBPhysicalVolume_t row = volumeRow();
    YBSet(vols, row);
    row.id = 18;
    std::strcpy(row.UniqueId, "");
    YBSet(vols, row);
    ASSERT_EQ(vols.size(), 2u);
    EXPECT_EQ(vols[1].id, 18);
    EXPECT_EQ(vols[1].UpdateMap, 0);

    repSNRVolumeV3* array = reinterpret_cast<repSNRVolumeV3*>(0x1);
    ASSERT_TRUE(CopyVectorToMsg(&array, vols));
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(array[0].id, 17);
    EXPECT_STREQ(array[0].UniqueId, "600A0B80");
    EXPECT_EQ(array[1].id, 18);
    EXPECT_EQ(array[1].UniqueId, nullptr);
    free(array);

    std::vector<SNRVolumeDeviceNameV4Record_t> empty;
    repSNRVolumeDeviceNameV4* none = reinterpret_cast<repSNRVolumeDeviceNameV4*>(0x1);
    EXPECT_TRUE(CopyVectorToMsg(&none, empty));
    EXPECT_EQ(none, nullptr);

    std::vector<SNRVolumeDeviceNameRecord_t> devs;
    YBSet(devs, deviceRow());
    repSNRVolumeDeviceName* devArray = nullptr;
    ASSERT_TRUE(CopyVectorToMsg(&devArray, devs));
    EXPECT_EQ(devArray[0].ClientId, 11);
    EXPECT_EQ(devArray[0].IsCaseSensitive, 1);
    free(devArray);
}

TEST(SNRMessageVersions, RecordVersionPerMessageVersion)
{
    const SNRMsgRecordVersions* e = FindSNRMsgRecordVersions(SNRMsgOperation::QueryVolInfo, 5);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->volumeRecord, 4);
    EXPECT_EQ(e->deviceRecord, 3);
    e = FindSNRMsgRecordVersions(SNRMsgOperation::GetSNRVolumes, 1);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->volumeRecord, 42);
    EXPECT_EQ(e->deviceRecord, 1);
    EXPECT_EQ(FindSNRMsgRecordVersions(SNRMsgOperation::UpdateSNRDevice, 2), nullptr);

    static_assert(std::is_same<SNRVolumeRecordFor<SNRMsgOperation::AddDevice, 5>, SNRVolumeRecordV4_t>::value, "");
    static_assert(std::is_same<SNRDeviceRecordFor<SNRMsgOperation::AddDevice, 42>, SNRVolumeDeviceNameRecord_t>::value,
                  "");
    static_assert(
        std::is_same<SNRDeviceRecordFor<SNRMsgOperation::ConfigureDevice, 1>, SNRVolumeDeviceNameV2Record_t>::value, "");
    static_assert(SNRMsgRecords<SNRMsgOperation::QuerySNRVolume, 4>::scratchVersion == 2, "");
    // The inventory and the query with replicas carry scratch records too:
    // version 1 records up to message version V3, V2 records from V4 on.
    static_assert(SNRMsgRecords<SNRMsgOperation::QueryVolInfo, 3>::scratchVersion == 1, "");
    static_assert(SNRMsgRecords<SNRMsgOperation::QueryVolInfo, 4>::scratchVersion == 2, "");
    static_assert(SNRMsgRecords<SNRMsgOperation::QuerySNRVolume2, 42>::scratchVersion == 1, "");
    static_assert(SNRMsgRecords<SNRMsgOperation::QuerySNRVolume2, 5>::scratchVersion == 2, "");

    // Every operation's rows name record versions that exist.
    for (const SNRMsgRecordVersions& row : kSNRMsgRecordVersions) {
        EXPECT_TRUE(row.volumeRecord == 0 || row.volumeRecord == 1 || row.volumeRecord == 42 ||
                    row.volumeRecord == 3 || row.volumeRecord == 4);
        EXPECT_TRUE(row.deviceRecord >= 0 && row.deviceRecord <= 4);
        EXPECT_EQ(FindSNRMsgRecordVersions(row.operation, row.messageVersion), &row);
    }
}

namespace {
struct ReplyWithCode {
    int32_t status = 0;
    int32_t errCode = 0;
};
struct ReplyWithoutCode {
    int32_t status = 0;
};
struct ResultWithCode {
    std::string errMsg;
    int32_t errCode = -6;
};
struct RequestV4 {
    int32_t snrVolumeId = 1;
    int32_t srcVolumeId = 9;
};
struct RequestV1 {
    int32_t snrVolumeId = 1;
};
struct ArgsV4 {
    int32_t snrVolumeId = -1;
    int32_t srcVolumeId = 0;
};
struct ReserveV2Req {
    int64_t jobId = int64_t(1) << 40;
};
struct ReserveV2Args {
    int64_t jobId = 0;
};
}  // namespace

TEST(SNRAdapters, VersionsWithoutTheFieldDoNothing)
{
    ReplyWithCode with;
    ReplyWithoutCode without;
    ResultWithCode result;
    SetErrCode(with, result);
    SetErrCode(without, result);
    EXPECT_EQ(with.errCode, -6);
    SetErrCode(with, -18);
    EXPECT_EQ(with.errCode, -18);
    SetErrCode(without, -18);
    EXPECT_EQ(without.status, 0);

    ArgsV4 args;
    SetSrcVolId(args, RequestV1());
    EXPECT_EQ(GetSrcVolId(args), 0);
    SetSrcVolId(args, RequestV4());
    EXPECT_EQ(GetSrcVolId(args), 9);
    EXPECT_EQ(GetSrcVolId(RequestV1()), 0);

    ReserveV2Args reserve;
    SetJobId(reserve, ReserveV2Req());
    EXPECT_EQ(GetJobId(reserve), int64_t(1) << 40);
    EXPECT_EQ(GetJobId(ArgsV4()), 0);
}

// Records written through the catalogue's SNR tables come back as they went.
using SNRRecordCatalogueTest = CatalogueTest;

TEST_F(SNRRecordCatalogueTest, InsertedVolumeAndDeviceReadBack)
{
    SNRVolumeRecordV4_t vol;
    vol.UniqueId = "it's-a-lun";
    vol.UniqueIdType = 15;
    vol.LUN = 2;
    vol.StartLBA = (int64_t(1) << 33) + 1;
    vol.BlockCount = 4096;
    vol.BlockSize = 512;
    vol.FSType = "NTFS";
    vol.UniqueSnapshotID = "snap";
    vol.MorvaneProtected = true;
    vol.ApplianceId = 3;
    vol.TzState = 1;
    vol.CostCategoryId = 0;
    vol.VolType = 1;
    vol.Locked = true;  // never written by the insert conversion

    YBPhysicalVolume_t row;
    YBSet(row, vol);
    CSNRVolumeDB volumes;
    ASSERT_TRUE(volumes.insert(row, nullptr));
    ASSERT_GT(row.id, 0);

    YBPhysicalVolume_t stored;
    ASSERT_TRUE(volumes.getInfo(row.id, stored, nullptr));
    SNRVolumeRecordV4_t back;
    YBSet(back, stored);
    EXPECT_EQ(back.id, row.id);
    EXPECT_EQ(back.UniqueId, vol.UniqueId);
    EXPECT_EQ(back.StartLBA, vol.StartLBA);
    EXPECT_EQ(back.FSType, "NTFS");
    EXPECT_EQ(back.UniqueSnapshotID, "snap");
    EXPECT_TRUE(back.MorvaneProtected);
    EXPECT_FALSE(back.Locked);
    EXPECT_EQ(back.CostCategoryId, 1);
    EXPECT_EQ(back.VolType, 1);

    SNRVolumeDeviceNameV4Record_t dev;
    dev.ClientId = 5;
    dev.SNRVolumeId = row.id;
    dev.DeviceName = "/dev/sdb";
    dev.Configured = true;
    dev.FilerClientId = 2;
    std::string msg;
    YBPhysicalDevice_t devRow;
    YBDBDst_t<YBPhysicalDevice_t> dst(devRow, msg);
    ASSERT_TRUE(YBSet(dst, dev));
    CSNRVolumeDeviceNameDB devices;
    ASSERT_TRUE(devices.insert(devRow, nullptr));
    YBPhysicalDevice_t* list = nullptr;
    unsigned int count = 0;
    ASSERT_TRUE(devices.getList(list, count, "ClientId = 5", "id ASC", nullptr));
    ASSERT_EQ(count, 1u);
    std::vector<SNRVolumeDeviceNameV4Record_t> found;
    YBSet(found, list[0]);
    devices.deleteList(list);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].SNRVolumeId, row.id);
    EXPECT_EQ(found[0].DeviceName, "/dev/sdb");
    EXPECT_TRUE(found[0].Configured);
    EXPECT_EQ(found[0].FilerClientId, 2);
}
