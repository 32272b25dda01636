#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "policies/PolicyRecords.h"

namespace {

ReplicationPolicyV3Record_t FullPolicy()
{
    ReplicationPolicyV3Record_t p;
    p.id = 9;
    p.name = "policy";
    p.RetentionSeconds = 3600;
    p.FlagBit1 = true;
    p.CopyMgrCtrlId = 2;
    p.SnapEngineInfoId = 3;
    p.VolumeScratchPoolId = 4;
    p.FlagBit2 = true;
    p.NSnapshot = 5;
    p.CopyManagerType = 6;
    return p;
}

}  // namespace

TEST(ReplicationPolicyRecords, UpdateRowTakesANameOf127CharactersAndRefusesOneMore)
{
    YBPolicy_t row;
    std::string message = "untouched";
    YBDBDst_t<YBPolicy_t> dst(row, message);
    ReplicationPolicyV3Record_t p = FullPolicy();
    p.name = std::string(127, 'n');
    ASSERT_TRUE(YBSet(dst, p));
    EXPECT_EQ(dst.errCode, 0);
    EXPECT_EQ(std::string(row.name), p.name);
    EXPECT_EQ(row.Flags, 0x3);
    EXPECT_EQ(row.NSnapshot, 5);
    EXPECT_EQ(row.CopyManagerType, 6);

    p.name += "n";
    EXPECT_FALSE(YBSet(dst, p));
    EXPECT_EQ(dst.errCode, -18);
    EXPECT_EQ(message, "YB Policy Name is too long");
    const YBPolicy_t zero{};
    EXPECT_EQ(std::memcmp(&row, &zero, sizeof row), 0);  // nothing converted
}

TEST(ReplicationPolicyRecords, WireNamesAndFlags)
{
    repReplicationPolicyV3 wire;
    ReplicationPolicyV3Record_t p = FullPolicy();
    p.name = "";
    YBSet(wire, p);
    EXPECT_EQ(wire.name, nullptr);
    EXPECT_EQ(wire.FlagBit1, 1u);
    EXPECT_EQ(wire.CopyManagerType, 6u);

    // A null name reads as ""; only a flag of exactly 1 is true; the update
    // mask is not on the wire and keeps its value.
    wire.FlagBit1 = 2;
    wire.FlagBit2 = 1;
    ReplicationPolicyV3Record_t back;
    back.UpdateMask = 0x8;
    back.name = "old";
    YBSet(back, wire);
    EXPECT_EQ(back.name, "");
    EXPECT_FALSE(back.FlagBit1);
    EXPECT_TRUE(back.FlagBit2);
    EXPECT_EQ(back.UpdateMask, 0x8);
    EXPECT_EQ(back.NSnapshot, 5);
}

TEST(ReplicationPolicyRecords, FlagsOfTableAndCursorRows)
{
    YBPolicy_t row;
    row.Flags = 0x3;
    YBGetYBPolicyList_t listRow{};
    listRow.Flags = 0x4;
    std::strcpy(listRow.name, "listed");
    listRow.CopyManagerType = 5;
    ReplicationPolicyV3Record_t fromRow;
    YBSet(fromRow, row);
    EXPECT_TRUE(fromRow.FlagBit1);
    EXPECT_TRUE(fromRow.FlagBit2);
    ReplicationPolicyV3Record_t fromList;
    YBSet(fromList, listRow);
    EXPECT_FALSE(fromList.FlagBit1);
    EXPECT_FALSE(fromList.FlagBit2);
    EXPECT_EQ(fromList.name, "listed");
    EXPECT_EQ(fromList.CopyManagerType, 5);
    EXPECT_EQ(fromList.UpdateMask, 0);
}
