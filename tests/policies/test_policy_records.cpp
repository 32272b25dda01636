#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "policies/SnapEngineRecords.h"
#include "policies/VolSnapParamRecords.h"

namespace {

SnapEngineInfoV3Record_t FullEngine()
{
    SnapEngineInfoV3Record_t e;
    e.id = 9;
    e.name = "engine";
    e.CrossHostMount = true;
    e.SyncFunction = true;
    e.MountCmdHint = "mount";
    e.UnmountCmdHint = "unmount";
    e.SyncCmdHint = "sync";
    e.UnsyncCmdHint = "unsync";
    e.SnapCmdHint = "snap";
    e.UnsnapCmdHint = "unsnap";
    e.OsType = 4;
    e.Type = 5;
    e.RollbackCmdHint = "rollback";
    return e;
}

}  // namespace

TEST(SnapEngineRecords, TextsAtTheirLimitFitAndOneMoreIsRefusedWithItsFieldBit)
{
    YBSnapEngineInfo_t row;
    SnapEngineInfoV3Record_t e = FullEngine();
    e.name = std::string(127, 'n');
    e.MountCmdHint = e.UnmountCmdHint = e.SyncCmdHint = e.UnsyncCmdHint = e.SnapCmdHint = e.UnsnapCmdHint =
        e.RollbackCmdHint = std::string(255, 'h');
    int code = 0;
    ASSERT_EQ(YBSet(row, e, code), 0);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(std::string(row.name), e.name);
    EXPECT_EQ(std::string(row.RollbackCmdHint), e.RollbackCmdHint);

    e.name += "n";
    EXPECT_EQ(YBSet(row, e, code), YB_SE_NAME);
    EXPECT_EQ(code, -18);
    EXPECT_STREQ(GetSnapEngineFieldName(YB_SE_NAME), "Snap Engine Name");
    EXPECT_EQ(row.id, 9);  // the row holds only the id
    EXPECT_EQ(row.name[0], '\0');
    EXPECT_EQ(row.Flags, 0);

    // With several texts too long the first in field order is reported.
    e = FullEngine();
    const std::vector<std::pair<std::string SnapEngineInfoV3Record_t::*, int>> order = {
        {&SnapEngineInfoV3Record_t::RollbackCmdHint, YB_SE_ROLLBACK_CMD},
        {&SnapEngineInfoV3Record_t::UnsnapCmdHint, YB_SE_UNSNAP_CMD},
        {&SnapEngineInfoV3Record_t::SnapCmdHint, YB_SE_SNAP_CMD},
        {&SnapEngineInfoV3Record_t::UnsyncCmdHint, YB_SE_UNSYNC_CMD},
        {&SnapEngineInfoV3Record_t::SyncCmdHint, YB_SE_SYNC_CMD},
        {&SnapEngineInfoV3Record_t::UnmountCmdHint, YB_SE_UNMOUNT_CMD},
        {&SnapEngineInfoV3Record_t::MountCmdHint, YB_SE_MOUNT_CMD},
        {&SnapEngineInfoV3Record_t::name, YB_SE_NAME},
    };
    for (const auto& field : order) {
        e.*field.first = std::string(field.first == &SnapEngineInfoV3Record_t::name ? 128 : 256, 'x');
        code = 0;
        EXPECT_EQ(YBSet(row, e, code), field.second) << GetSnapEngineFieldName(field.second);
        EXPECT_EQ(code, -18);
    }
}

TEST(SnapEngineRecords, LowerVersionsLeaveTheLaterColumnsEmpty)
{
    const SnapEngineInfoV3Record_t full = FullEngine();
    YBSnapEngineInfo_t row;
    int code = 0;

    ASSERT_EQ(YBSet(row, static_cast<const SnapEngineInfoRecord_t&>(full), code), 0);
    EXPECT_EQ(row.Flags, SNAPENGINE_FLAG_CROSS_HOST_MOUNT | SNAPENGINE_FLAG_SYNC_FUNCTION);
    EXPECT_EQ(std::string(row.UnsnapCmdHint), "unsnap");
    EXPECT_EQ(row.OsType, 0);
    EXPECT_EQ(row.Type, 0);
    EXPECT_EQ(row.RollbackCmdHint[0], '\0');

    ASSERT_EQ(YBSet(row, static_cast<const SnapEngineInfo42Record_t&>(full), code), 0);
    EXPECT_EQ(row.OsType, 4);
    EXPECT_EQ(row.Type, 5);
    EXPECT_EQ(row.RollbackCmdHint[0], '\0');
}

TEST(SnapEngineRecords, WireFlagsAreOneOrZeroAndEmptyTextsNullPointers)
{
    repSnapEngineInfoV3 wire;
    wire.id = 3;
    wire.MultipleSnaps = 2;
    wire.CrossHostMount = 1;
    wire.SameHostMount = 0xffffffffu;
    wire.name = const_cast<char*>("n");
    SnapEngineInfoV3Record_t record;
    YBSet(record, wire);
    EXPECT_EQ(record.id, 3);
    EXPECT_FALSE(record.MultipleSnaps);
    EXPECT_TRUE(record.CrossHostMount);
    EXPECT_FALSE(record.SameHostMount);
    EXPECT_EQ(record.name, "n");
    EXPECT_EQ(record.MountCmdHint, "");
    EXPECT_EQ(record.RollbackCmdHint, "");

    repSnapEngineInfoV3 back;
    YBSet(back, record);
    EXPECT_EQ(back.CrossHostMount, 1u);
    EXPECT_EQ(back.MultipleSnaps, 0u);
    EXPECT_EQ(back.name, record.name.c_str());
    EXPECT_EQ(back.MountCmdHint, nullptr);
    EXPECT_EQ(back.RollbackCmdHint, nullptr);
}

TEST(SnapEngineRecords, RowFlagsAboveTheFourCapabilitiesAreNotCarried)
{
    YBSnapEngineInfo_t row;
    row.Flags = 0x10 | SNAPENGINE_FLAG_MULTIPLE_SNAPS | SNAPENGINE_FLAG_SAME_HOST_MOUNT;
    SnapEngineInfoV3Record_t record;
    YBSet(record, row);
    EXPECT_TRUE(record.MultipleSnaps);
    EXPECT_FALSE(record.CrossHostMount);
    EXPECT_TRUE(record.SameHostMount);
    EXPECT_FALSE(record.SyncFunction);
    int code = 0;
    YBSnapEngineInfo_t again;
    record.name = "n";
    ASSERT_EQ(YBSet(again, record, code), 0);
    EXPECT_EQ(again.Flags, SNAPENGINE_FLAG_MULTIPLE_SNAPS | SNAPENGINE_FLAG_SAME_HOST_MOUNT);

    // An update takes the flags its mask names and keeps every other bit.
    EXPECT_EQ(MergeSnapEngineFlags(0x1f, 0x2, YB_SE_MULTIPLE_SNAPS | YB_SE_CROSS_HOST_MOUNT), 0x1e);
    EXPECT_EQ(MergeSnapEngineFlags(0x10, 0xf, 0), 0x10);
}

TEST(VolSnapParamRecords, EachCommandIsRefusedPastItsColumnWithItsOwnText)
{
    VolSnapParamsV2Record_t record;
    record.SNRVolumeId = 4;
    const std::vector<std::pair<std::string VolSnapParamsV2Record_t::*, const char*>> commands = {
        {&VolSnapParamsV2Record_t::MountCmd, "Mount Command is too long"},
        {&VolSnapParamsV2Record_t::UnmountCmd, "Unmount command is too long"},
        {&VolSnapParamsV2Record_t::SyncCmd, "Sync Command is too long"},
        {&VolSnapParamsV2Record_t::UnsyncCmd, "Unsync command is too long"},
        {&VolSnapParamsV2Record_t::SnapCmd, "Snap command is too long"},
        {&VolSnapParamsV2Record_t::UnsnapCmd, "Unsnap command is too long"},
        {&VolSnapParamsV2Record_t::RollbackCmd, "Rollback command is too long"},
    };
    YBVolSnapParams_t row;
    for (const auto& command : commands) {
        SCOPED_TRACE(command.second);
        VolSnapParamsV2Record_t r = record;
        r.*command.first = std::string(255, 'c');
        std::string msg;
        YBDBDst_t<YBVolSnapParams_t> fits(row, msg);
        EXPECT_TRUE(YBSet(fits, r));
        EXPECT_EQ(fits.errCode, 0);
        (r.*command.first) += "c";
        YBDBDst_t<YBVolSnapParams_t> refused(row, msg);
        EXPECT_FALSE(YBSet(refused, r));
        EXPECT_EQ(refused.errCode, -18);
        EXPECT_EQ(msg, command.second);
    }
}

TEST(VolSnapParamRecords, FlagBit1RoundTripsInVersion2Only)
{
    repVolumeSnapParamsV2 wire;
    wire.SNRVolumeId = 5;
    wire.FlagBit1 = 2;
    VolSnapParamsV2Record_t record;
    YBSet(record, wire);
    EXPECT_FALSE(record.FlagBit1);
    wire.FlagBit1 = 1;
    YBSet(record, wire);
    EXPECT_TRUE(record.FlagBit1);
    EXPECT_EQ(record.MountCmd, "");

    YBVolSnapParams_t row;
    std::string msg;
    YBDBDst_t<YBVolSnapParams_t> dst(row, msg);
    ASSERT_TRUE(YBSet(dst, record));
    EXPECT_EQ(row.Flags, VOLSNAP_FLAG_BIT1);
    ASSERT_TRUE(YBSet(dst, static_cast<const VolSnapParamsRecord_t&>(record)));
    EXPECT_EQ(row.Flags, 0);

    row.Flags = 0x6;
    VolSnapParamsV2Record_t read;
    YBSet(read, row);
    EXPECT_FALSE(read.FlagBit1);
    repVolumeSnapParamsV2 back;
    YBSet(back, record);
    EXPECT_EQ(back.FlagBit1, 1u);
    EXPECT_EQ(back.MountCmd, nullptr);
}
