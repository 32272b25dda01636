#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "replicas/ReplicaRecords.h"

namespace {

ReplicationVolumeV5Record_t filledRecord()
{
    ReplicationVolumeV5Record_t r;
    r.id = 1;
    r.PointInTime = 100;
    r.CreationTime = 200;
    r.ModifyTime = 300;
    r.CurrentState = 4;
    r.CurrentRole = 2;
    r.PrimaryVolumeId = 10;
    r.PhysicalVolumeId = 11;
    r.ReplicationPolicyId = 12;
    r.RVScratchVolumeId = 0;
    r.SnapVolumeId = 13;
    r.SnapEngineType = 5;
    return r;
}

}  // namespace

TEST(ReplicationVolumeRecords, DefaultsAndWireRoundTrip)
{
    ReplicationVolumeV5Record_t def;
    EXPECT_EQ(def.PointInTime, -1);
    EXPECT_EQ(def.CurrentRole, -1);
    EXPECT_EQ(def.JobId, 0);
    EXPECT_EQ(def.SnapVolumeId, -1);
    EXPECT_EQ(def.SnapEngineType, 0);

    ReplicationVolumeV5Record_t r = filledRecord();
    r.DoNotPrune = true;
    r.ShadowSnap = true;
    r.JobId = int64_t(1) << 40;
    r.UpdateMap = 0x20;
    r.SnapvaultReplicaDir = "/vol/sv";
    repReplicationVolumeV5 w;
    YBSet(w, r);
    EXPECT_EQ(w.DoNotPrune, 1);
    EXPECT_EQ(w.IsSnapActive, 0);
    EXPECT_EQ(w.ShadowSnap, 1);
    EXPECT_EQ(w.JobId, int64_t(1) << 40);
    EXPECT_EQ(w.UpdateMap, 0x20);  // sent
    EXPECT_EQ(w.SnapvaultReplicaDir, r.SnapvaultReplicaDir.c_str());
    EXPECT_EQ(w.SourceGUID, nullptr);
    EXPECT_EQ(w.SnapEngineType, 5);

    w.ActivateSnap = 2;
    w.TransportableSnap = 1;
    ReplicationVolumeV5Record_t back;
    YBSet(back, w);
    EXPECT_EQ(back.UpdateMap, 0);  // never read from the wire
    EXPECT_FALSE(back.ActivateSnap);
    EXPECT_TRUE(back.TransportableSnap);
    EXPECT_TRUE(back.DoNotPrune);
    EXPECT_EQ(back.SourceGUID, "");
    EXPECT_EQ(back.SnapvaultReplicaDir, "/vol/sv");
    EXPECT_EQ(back.JobId, int64_t(1) << 40);
    EXPECT_EQ(back.ModifyTime, 300);
    EXPECT_EQ(back.SnapVolumeId, 13);

    repReplicationVolumeV4 w4;
    w4.UpdateMap = 0x400;
    ReplicationVolumeV4Record_t b4;
    YBSet(b4, w4);
    EXPECT_EQ(b4.UpdateMap, 0);

    ReplicationVolumeRecord_t v1;
    v1.DoNotPrune = true;
    repReplicationVolume w1;
    YBSet(w1, v1);
    EXPECT_EQ(w1.id, -1);
    EXPECT_EQ(w1.DoNotPrune, 1);
}

TEST(ReplicationVolumeRecords, RowFlagsAndJobId)
{
    YBVolume_t row;
    row.id = 9;
    row.PhysicalVolumeId = 3;
    row.Flags = 0x3f | 0x40 | 0x100;
    row.JobId = -2;
    row.SnapEngineType = 4;
    std::strcpy(row.SourceGUID, "{guid}");
    ReplicationVolumeV5Record_t r;
    YBSet(r, row);
    EXPECT_EQ(r.id, 9);
    EXPECT_EQ(r.PhysicalVolumeId, 3);
    EXPECT_TRUE(r.DoNotPrune && r.IsSnapActive && r.ActivateSnap && r.MorvaneVolume && r.ShadowSnap &&
                r.TransportableSnap);
    EXPECT_EQ(r.JobId, -2);
    EXPECT_EQ(r.SnapEngineType, 4);
    EXPECT_EQ(r.SourceGUID, "{guid}");
    EXPECT_EQ(r.SnapvaultReplicaDir, "");

    // The booleans go back as exactly the six bits.
    r.PrimaryVolumeId = 1;
    r.ReplicationPolicyId = 1;
    r.RVScratchVolumeId = 1;
    r.SnapVolumeId = 1;
    YBVolume_t out;
    int code = 0;
    EXPECT_EQ(YBSet(out, r, code), 0);
    EXPECT_EQ(out.Flags, 0x3f);

    row.Flags = 0x10;
    ReplicationVolumeRecord42_t r42;
    YBSet(r42, row);
    EXPECT_FALSE(r42.DoNotPrune || r42.IsSnapActive || r42.ActivateSnap);

    std::vector<ReplicationVolumeV3Record_t> list;
    YBSet(list, row);
    row.id = 10;
    YBSet(list, row);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_TRUE(list[0].ShadowSnap);
    EXPECT_EQ(list[1].id, 10);
}

TEST(ReplicationVolumeRecords, RowChecksInOrder)
{
    YBVolume_t row;
    int code = 0;

    // A record left at its defaults fails on the primary volume id.
    EXPECT_EQ(YBSet(row, ReplicationVolumeV5Record_t(), code), YB_VOL_PRIMARY_VOL_ID);
    EXPECT_EQ(code, -6);

    ReplicationVolumeV5Record_t r = filledRecord();
    const struct {
        int32_t ReplicationVolumeRecord_t::*field;
        int bit;
    } ids[] = {
        {&ReplicationVolumeRecord_t::PhysicalVolumeId, YB_VOL_PHYSICAL_VOL_ID},
        {&ReplicationVolumeRecord_t::ReplicationPolicyId, YB_VOL_YB_POLICY_ID},
        {&ReplicationVolumeRecord_t::RVScratchVolumeId, YB_VOL_SCRATCH_VOL_ID},
    };
    for (const auto& id : ids) {
        ReplicationVolumeV5Record_t bad = r;
        bad.*id.field = -1;
        code = 0;
        EXPECT_EQ(YBSet(row, bad, code), id.bit);
        EXPECT_EQ(code, -6);
        EXPECT_EQ(row.PointInTime, 0);  // nothing copied
    }

    // Version-1 checks come first.
    ReplicationVolumeV5Record_t both = r;
    both.PrimaryVolumeId = -3;
    both.SnapVolumeId = -1;
    EXPECT_EQ(YBSet(row, both, code), YB_VOL_PRIMARY_VOL_ID);

    // A V3 record with its snapshot volume left at -1 keeps the earlier fields.
    ReplicationVolumeV3Record_t v3;
    static_cast<ReplicationVolumeRecord_t&>(v3) = static_cast<const ReplicationVolumeRecord_t&>(r);
    v3.IsSnapActive = true;
    code = 0;
    EXPECT_EQ(YBSet(row, v3, code), YB_VOL_SNAP_VOL_ID);
    EXPECT_EQ(code, -6);
    EXPECT_EQ(row.PrimaryVolumeId, 10);
    EXPECT_EQ(row.Flags, 0x2);

    // A version 1 or 42 record needs no snapshot volume; id may be negative.
    ReplicationVolumeRecord42_t v42;
    static_cast<ReplicationVolumeRecord_t&>(v42) = static_cast<const ReplicationVolumeRecord_t&>(r);
    v42.id = -1;
    v42.JobId = (int64_t(1) << 32) + 0x80000001ll;
    code = 0;
    EXPECT_EQ(YBSet(row, v42, code), 0);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(row.id, -1);
    EXPECT_EQ(row.SnapVolumeId, 0);
    EXPECT_EQ(row.JobId, static_cast<int32_t>(0x80000001u));  // low 32 bits
    ReplicationVolumeRecord42_t reread;
    YBSet(reread, row);
    EXPECT_EQ(reread.JobId, -2147483647ll);  // widened with its sign
}

TEST(ReplicationVolumeRecords, TextLimits)
{
    YBVolume_t row;
    int code = 0;
    ReplicationVolumeV5Record_t r = filledRecord();
    r.SnapvaultReplicaDir = std::string(1023, 'd');
    r.SourceGUID = std::string(255, 'g');
    EXPECT_EQ(YBSet(row, r, code), 0);
    EXPECT_EQ(std::strlen(row.SnapvaultReplicaDir), 1023u);
    EXPECT_EQ(std::strlen(row.SourceGUID), 255u);

    r.SnapvaultReplicaDir += "d";
    EXPECT_EQ(YBSet(row, r, code), YB_VOL_SNAPVAULT_DIR);
    EXPECT_EQ(code, -18);

    r.SnapvaultReplicaDir.clear();
    r.SourceGUID += "g";
    code = 0;
    EXPECT_EQ(YBSet(row, r, code), YB_VOL_SOURCE_GUID);
    EXPECT_EQ(code, -18);
}

TEST(ReplicationVolumeRecords, InvalidateByVersion)
{
    repReplicationVolumeV5 w;
    w.DoNotPrune = 1;
    w.JobId = 5;
    w.MorvaneVolume = 1;
    w.SnapEngineType = 3;
    w.SnapvaultReplicaDir = const_cast<char*>("x");
    Invalidate(w);
    EXPECT_EQ(w.id, -1);
    EXPECT_EQ(w.RVScratchVolumeId, -1);
    EXPECT_EQ(w.DoNotPrune, 0);
    EXPECT_EQ(w.JobId, 0);
    EXPECT_EQ(w.SnapVolumeId, -1);
    EXPECT_EQ(w.MorvaneVolume, 0);
    EXPECT_EQ(w.SnapEngineType, 0);
    EXPECT_EQ(w.SnapvaultReplicaDir, nullptr);
    EXPECT_EQ(w.UpdateMap, 0);
    EXPECT_EQ(w.SourceGUID, nullptr);

    repReplicationVolume42 w42;
    w42.IsSnapActive = 1;
    Invalidate(w42);
    EXPECT_EQ(w42.PointInTime, -1);
    EXPECT_EQ(w42.IsSnapActive, 0);

    ReplicationVolumeV4Record_t absent;
    repReplicationVolumeV4 w4;
    Invalidate(w4);
    YBSet(absent, w4);
    EXPECT_EQ(absent.id, -1);
    EXPECT_EQ(absent.SnapVolumeId, -1);
}

TEST(ReplicationVolumeRecords, MasksAndLabels)
{
    EXPECT_EQ(GetUpdateMap(ReplicationVolumeRecord_t()), 0x3ff);
    EXPECT_EQ(GetUpdateMap(ReplicationVolumeRecord42_t()), 0x1fff);
    EXPECT_EQ(GetUpdateMap(ReplicationVolumeV3Record_t()), 0x1ffff);
    EXPECT_EQ(GetUpdateMap(ReplicationVolumeV4Record_t()), 0x3ffff);
    ReplicationVolumeV5Record_t v5;
    EXPECT_EQ(GetUpdateMap(v5), 0x7ffff);
    EXPECT_EQ(GetUpdateMap(v5) & YB_VOL_SOURCE_GUID, 0);
    v5.UpdateMap = YB_VOL_MODIFY_TIME;
    EXPECT_EQ(GetUpdateMap(v5), YB_VOL_MODIFY_TIME);

    EXPECT_STREQ(GetYBVolumeFieldName(YB_VOL_ID), "YB Volume Id");
    EXPECT_STREQ(GetYBVolumeFieldName(YB_VOL_POINT_IN_TIME), "YB Volume Point in Time");
    EXPECT_STREQ(GetYBVolumeFieldName(YB_VOL_SCRATCH_VOL_ID), "YB Volume scratch volume Id");
    EXPECT_STREQ(GetYBVolumeFieldName(YB_VOL_MORVANE_VOL), "YB Volume Morvane Volume flag");
    EXPECT_STREQ(GetYBVolumeFieldName(YB_VOL_SHADOW_SNAP), "YB Volume ShadowCopy snapshot flag");
    EXPECT_STREQ(GetYBVolumeFieldName(YB_VOL_SNAPVAULT_DIR), "YB Volume Snapvault Replica directory");
    EXPECT_STREQ(GetYBVolumeFieldName(YB_VOL_SOURCE_GUID), "YB Volume Source GUID");
    // Every bit of the mask has a label of its own.
    std::vector<std::string> labels;
    for (int bit = 1; bit <= YB_VOL_SOURCE_GUID; bit <<= 1) {
        std::string label = GetYBVolumeFieldName(bit);
        EXPECT_EQ(label.rfind("YB Volume ", 0), 0u) << bit;
        for (const std::string& seen : labels) EXPECT_NE(seen, label);
        labels.push_back(label);
    }
    EXPECT_EQ(labels.size(), 20u);
    EXPECT_STREQ(GetYBVolumeFieldName(0x3), "");
}

TEST(ReplicationVolumeRecords, ReplyArrays)
{
    std::vector<ReplicationVolumeV5Record_t> vols(2, filledRecord());
    vols[1].id = 2;
    vols[1].SourceGUID = "g";
    repReplicationVolumeV5* array = nullptr;
    ASSERT_TRUE(CopyVectorToMsg(&array, vols));
    EXPECT_EQ(array[0].id, 1);
    EXPECT_EQ(array[0].SourceGUID, nullptr);
    EXPECT_EQ(array[1].id, 2);
    EXPECT_STREQ(array[1].SourceGUID, "g");
    free(array);

    std::vector<YBVolumeApp_t> apps;
    apps.emplace_back(7, "SQL");
    apps.emplace_back(8, "");
    repYBVolumeApp* appArray = nullptr;
    ASSERT_TRUE(CopyVectorToMsg(&appArray, apps));
    EXPECT_EQ(appArray[0].id, 7);
    EXPECT_STREQ(appArray[0].AppName, "SQL");
    EXPECT_EQ(appArray[1].AppName, nullptr);
    free(appArray);

    std::vector<ReplicationVolumeRecord_t> none;
    repReplicationVolume* empty = reinterpret_cast<repReplicationVolume*>(0x1);
    EXPECT_TRUE(CopyVectorToMsg(&empty, none));
    EXPECT_EQ(empty, nullptr);
}
