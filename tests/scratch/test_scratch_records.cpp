#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "scratch/ScratchRecords.h"

TEST(ScratchVolumeRecords, WireRowAndInvalidate)
{
    RVScratchVolumeV2Record_t rec;
    EXPECT_EQ(rec.id, -1);
    EXPECT_EQ(rec.LockedByJobId, 0);
    rec.id = 4;
    rec.PhysicalVolumeId = 12;
    rec.RVScratchVolumePoolId = 2;
    rec.LockedByJobId = int64_t(1) << 40;
    repRVScratchVolumeV2 wire;
    YBSet(wire, rec);
    EXPECT_EQ(wire.id, 4u);
    EXPECT_EQ(wire.PhysicalVolumeId, 12u);
    EXPECT_EQ(wire.RVScratchVolumePoolId, 2u);
    EXPECT_EQ(wire.LockedByJobId, int64_t(1) << 40);
    RVScratchVolumeV2Record_t back;
    YBSet(back, wire);
    EXPECT_EQ(back.LockedByJobId, int64_t(1) << 40);
    EXPECT_EQ(back.PhysicalVolumeId, 12);

    // A negative 32-bit column stays negative in the 64-bit field.
    YBScratchVolume_t row;
    row.id = 8;
    row.PhysicalVolumeId = 3;
    row.RVScratchVolumePoolId = 1;
    row.Flags = 0x7;
    row.LockedByJobId = -5;
    RVScratchVolumeV2Record_t fromRow;
    YBSet(fromRow, row);
    EXPECT_EQ(fromRow.id, 8);
    EXPECT_EQ(fromRow.RVScratchVolumePoolId, 1);
    EXPECT_EQ(fromRow.LockedByJobId, -5);

    repRVScratchVolumeV2 absent;
    Invalidate(absent);
    EXPECT_EQ(absent.id, 0xffffffffu);
    EXPECT_EQ(absent.PhysicalVolumeId, 0xffffffffu);
    EXPECT_EQ(absent.RVScratchVolumePoolId, 0xffffffffu);
    EXPECT_EQ(absent.LockedByJobId, -1);
    repRVScratchVolume absent1;
    Invalidate(absent1);
    EXPECT_EQ(absent1.RVScratchVolumePoolId, 0xffffffffu);

    // The absent record reads back as "no scratch volume".
    RVScratchVolumeRecord_t none;
    YBSet(none, absent1);
    EXPECT_EQ(none.id, -1);
}

TEST(ScratchPoolRecords, WireNamesAndVersions)
{
    RVScratchVolumePoolV3Record_t rec;
    EXPECT_EQ(rec.Type, 1);
    rec.id = 3;
    rec.TotalVolumes = 10;
    rec.AvailableVolumes = 4;
    rec.SnapEngineInfoId = 6;
    rec.Type = 2;
    rec.UpdateMask = 0x4;
    repRVScratchVolumePoolV3 wire;
    YBSet(wire, rec);
    EXPECT_EQ(wire.name, nullptr);  // empty name
    EXPECT_EQ(wire.SnapEngineInfoId, 6u);
    EXPECT_EQ(wire.Type, 2u);
    EXPECT_EQ(wire.UpdateMask, 4u);

    wire.name = const_cast<char*>("gold");
    RVScratchVolumePoolV3Record_t back;
    YBSet(back, wire);
    EXPECT_EQ(back.name, "gold");
    EXPECT_EQ(back.UpdateMask, 4);
    EXPECT_EQ(back.TotalVolumes, 10);
    wire.name = nullptr;
    back.name = "stale";
    YBSet(back, wire);
    EXPECT_EQ(back.name, "");

    RVScratchVolumePoolV2Record_t byName("silver", 9);
    EXPECT_EQ(byName.id, -1);
    EXPECT_EQ(byName.SnapEngineInfoId, 9);
    repRVScratchVolumePoolV2 w2;
    YBSet(w2, byName);
    EXPECT_STREQ(w2.name, "silver");
    EXPECT_EQ(w2.id, 0xffffffffu);
}

TEST(ScratchPoolRecords, RowsForAddingAndUpdating)
{
    // Adding: Type 1 for versions 1 and 2 and for a V3 record left at its default.
    RVScratchVolumePoolRecord_t v1("bronze");
    YBScratchPool_t row;
    row.id = 5;
    row.TotalVolumes = 2;
    row.Type = 3;
    YBSet(row, v1);
    EXPECT_EQ(row.Type, 1);
    EXPECT_STREQ(row.name, "bronze");
    EXPECT_EQ(row.id, 5);            // nothing else touched
    EXPECT_EQ(row.TotalVolumes, 2);
    RVScratchVolumePoolV3Record_t v3;
    v3.name = std::string(200, 'n');  // never past the column
    YBScratchPool_t row3;
    YBSet(row3, v3);
    EXPECT_EQ(row3.Type, 1);
    EXPECT_EQ(row3.SnapEngineInfoId, -1);
    EXPECT_EQ(std::strlen(row3.name), 128u);
    v3.Type = 3;
    YBSet(row3, v3);
    EXPECT_EQ(row3.Type, 3);

    // Updating: zero-filled, 127 characters pass, 128 fail.
    std::string msg;
    YBScratchPool_t upd;
    upd.id = 9;
    upd.AvailableVolumes = 4;
    YBDBDst_t<YBScratchPool_t> dst(upd, msg);
    RVScratchVolumePoolV3Record_t u;
    u.name = std::string(127, 'p');
    u.SnapEngineInfoId = 2;
    u.Type = 2;
    EXPECT_TRUE(YBSet(dst, u));
    EXPECT_EQ(upd.id, 0);
    EXPECT_EQ(upd.AvailableVolumes, 0);
    EXPECT_EQ(upd.SnapEngineInfoId, 2);
    EXPECT_EQ(upd.Type, 2);
    EXPECT_EQ(msg, "");
    u.name += "p";
    EXPECT_FALSE(YBSet(dst, u));
    EXPECT_EQ(dst.errCode, -18);
    EXPECT_EQ(msg, "Scratch pool name is too long");
    EXPECT_EQ(upd.Type, 0);  // nothing further set
    EXPECT_STREQ(upd.name, "");

    // Row to record: UpdateMask keeps 0, the reserved column is not carried.
    YBScratchPool_t stored;
    stored.id = 1;
    std::strcpy(stored.name, "pool");
    stored.reserved = 77;
    stored.SnapEngineInfoId = 4;
    stored.Type = 2;
    std::vector<RVScratchVolumePoolV3Record_t> pools;
    YBSet(pools, stored);
    ASSERT_EQ(pools.size(), 1u);
    EXPECT_EQ(pools[0].UpdateMask, 0);
    EXPECT_EQ(pools[0].Type, 2);
    EXPECT_EQ(pools[0].name, "pool");
    RVScratchVolumePoolRecord_t p1;
    YBSet(p1, stored);
    EXPECT_EQ(p1.id, 1);
}

TEST(ScratchPoolRecords, UpdateMasks)
{
    EXPECT_EQ(GetUpdateMap(RVScratchVolumePoolRecord_t()), 0x1);
    EXPECT_EQ(GetUpdateMap(RVScratchVolumePoolV2Record_t()), 0x3);
    RVScratchVolumePoolV3Record_t v3;
    EXPECT_EQ(GetUpdateMap(v3), 0x7);
    v3.UpdateMask = YB_POOL_TYPE;
    EXPECT_EQ(GetUpdateMap(v3), YB_POOL_TYPE);
}

TEST(ScratchRecordLists, CopyVectorToMsg)
{
    std::vector<RVScratchVolumeRecord_t> vols(2);
    vols[0].id = 1;
    vols[1].id = 2;
    repRVScratchVolume* array = nullptr;
    ASSERT_TRUE(CopyVectorToMsg(&array, vols));
    EXPECT_EQ(array[0].id, 1u);
    EXPECT_EQ(array[1].id, 2u);
    EXPECT_EQ(array[1].PhysicalVolumeId, 0xffffffffu);
    free(array);

    std::vector<RVScratchVolumePoolV2Record_t> pools;
    pools.emplace_back("a", 1);
    pools.emplace_back("", 2);
    repRVScratchVolumePoolV2* poolArray = nullptr;
    ASSERT_TRUE(CopyVectorToMsg(&poolArray, pools));
    EXPECT_STREQ(poolArray[0].name, "a");
    EXPECT_EQ(poolArray[1].name, nullptr);
    EXPECT_EQ(poolArray[1].SnapEngineInfoId, 2u);
    free(poolArray);

    std::vector<RVScratchVolumeV2Record_t> none;
    repRVScratchVolumeV2* empty = reinterpret_cast<repRVScratchVolumeV2*>(0x1);
    EXPECT_TRUE(CopyVectorToMsg(&empty, none));
    EXPECT_EQ(empty, nullptr);

    std::vector<RVScratchVolumeV2Record_t> fromRows;
    YBScratchVolume_t row;
    row.id = 6;
    row.LockedByJobId = 12;
    YBSet(fromRows, row);
    ASSERT_EQ(fromRows.size(), 1u);
    EXPECT_EQ(fromRows[0].LockedByJobId, 12);
}
