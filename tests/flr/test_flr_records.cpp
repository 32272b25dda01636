// Conversions of consistency points and FLR snapshots between records, wire
// records and rows, and the numbering of snapshots in creation arguments.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "flr/FLRRecords.h"

namespace {

std::string Text(const char* wire) { return wire != nullptr ? wire : "(null)"; }

}  // namespace

TEST(FLRConsistencyPointRecords, WireFlagsReadTrueOnlyAsOneAndSetTheirBits)
{
    repFLRConsistencyPointRec wire;
    wire.id = 7;
    wire.CreationTime = -5;
    wire.FLRSetId = -2;
    wire.JobId = (int64_t(1) << 40) + 3;
    wire.Unstable = 1;
    wire.AutoMount = 2;  // not 1: false, no bit
    wire.FlagBit4 = 1;
    wire.SrcClientId = 12;

    FLRConsistencyPointRecord_t cp;
    cp.Flags = 0x10;  // bits set before stay set
    YBSet(cp, wire);
    EXPECT_EQ(cp.id, 7);
    EXPECT_EQ(cp.CreationTime, -5);  // sign-extended
    EXPECT_EQ(cp.FLRSetId, -2);
    EXPECT_EQ(cp.JobId, (int64_t(1) << 40) + 3);
    EXPECT_TRUE(cp.Unstable);
    EXPECT_FALSE(cp.AutoMount);
    EXPECT_TRUE(cp.FlagBit4);
    EXPECT_EQ(cp.Flags, 0x10 | FLRCP_FLAG_UNSTABLE | FLRCP_FLAG_BIT4);
    EXPECT_EQ(cp.SrcClientId, 12);
    EXPECT_EQ(cp.ClientId, -1);  // not carried: the defaults stay
    EXPECT_EQ(cp.TallmarkId, -1);

    // Version 3 ORs its Flags in; the booleans come from the flag fields only.
    repWinFLRConsistencyPointRecV3 v3;
    v3.Flags = FLRCP_FLAG_UNSTABLE | FLRCP_FLAG_AUTOMOUNT;
    v3.AuxValue = 9;
    v3.Type = 1;
    FLRConsistencyPointRecord_t fromV3;
    YBSet(fromV3, v3);
    EXPECT_EQ(fromV3.Flags, FLRCP_FLAG_UNSTABLE | FLRCP_FLAG_AUTOMOUNT);
    EXPECT_FALSE(fromV3.Unstable);
    EXPECT_FALSE(fromV3.AutoMount);
    EXPECT_EQ(fromV3.AuxValue, 9);
    EXPECT_TRUE(fromV3.IsCPTypeDestinationMachine());
    EXPECT_FALSE(fromV3.IsCPArchiveSnap());
}

TEST(FLRConsistencyPointRecords, EachWireVersionCarriesItsOwnFields)
{
    FLRConsistencyPointRecord_t cp(4, (int64_t(1) << 33) + 6, (int64_t(1) << 32) + 8, (int64_t(1) << 40) + 1, true,
                                   false, 3, 2, true, 11, 21, 1, 0x1d);
    EXPECT_EQ(cp.FLRSetId, (int64_t(1) << 33) + 6);  // the set id is given before the creation time
    EXPECT_TRUE(cp.IsCPArchiveSnap());

    repFLRConsistencyPointRec v1;
    YBSet(v1, cp);
    EXPECT_EQ(v1.CreationTime, 8);  // low 32 bits
    EXPECT_EQ(v1.FLRSetId, 6);
    EXPECT_EQ(v1.JobId, (int64_t(1) << 40) + 1);
    EXPECT_EQ(v1.Unstable, 1u);
    EXPECT_EQ(v1.AutoMount, 0u);
    EXPECT_EQ(v1.FlagBit4, 1u);
    EXPECT_EQ(v1.SrcClientId, 11);

    repWinFLRConsistencyPointRecV2 v2;
    YBSet(v2, cp);
    EXPECT_EQ(v2.AuxValue, 21);
    EXPECT_EQ(v2.Type, 1);
    repWinFLRConsistencyPointRecV3 v3;
    YBSet(v3, cp);
    EXPECT_EQ(v3.Type, 1);
    EXPECT_EQ(v3.Flags, 0x1du);
    EXPECT_EQ(v3.id, 4);
}

TEST(FLRConsistencyPointRecords, RowsCarryTheFlagsAsBooleansAndTheRecordBackInFull)
{
    YBFLRConsistencyPoint_t row;
    row.id = 30;
    row.CreationTime = -1;
    row.FLRSetId = 40;
    row.JobId = 50;
    row.Flags = 6;
    row.ClientId = 5;
    row.TallmarkId = 2;
    row.SrcClientId = 8;
    row.Type = 1;
    FLRConsistencyPointRecord_t cp;
    cp.AuxValue = 77;
    YBSet(cp, row);
    EXPECT_FALSE(cp.Unstable);
    EXPECT_TRUE(cp.AutoMount);
    EXPECT_TRUE(cp.FlagBit4);
    EXPECT_EQ(cp.CreationTime, -1);
    EXPECT_EQ(cp.AuxValue, 0);  // never stored
    EXPECT_EQ(cp.ClientId, 5);
    EXPECT_EQ(cp.TallmarkId, 2);

    YBFLRConsistencyPoint_t back;
    std::string msg;
    YBDBDst_t<YBFLRConsistencyPoint_t> dst(back, msg);
    EXPECT_TRUE(YBSet(dst, cp));
    EXPECT_EQ(std::memcmp(&back, &row, sizeof row), 0);
}

TEST(FLRSnapshotRecords, TextLimitsRefuseTheFirstTooLongTextInOrder)
{
    FLRSnapshotRecord_t snap(3, 9, std::string(127, 'n').c_str(), std::string(1023, 'v').c_str(),
                             std::string(1023, 'g').c_str(), 2, std::string(1023, 'p'), 6);
    YBFLRSnapshot_t row;
    std::string msg = "kept";
    YBDBDst_t<YBFLRSnapshot_t> dst(row, msg);
    ASSERT_TRUE(YBSet(dst, snap));
    EXPECT_EQ(std::string(row.Name), snap.Name);
    EXPECT_EQ(std::string(row.SnapshotPath), snap.SnapshotPath);
    EXPECT_EQ(row.Type, 2);
    EXPECT_EQ(row.AuxValue, 6);
    EXPECT_EQ(msg, "kept");

    struct Case {
        const char* what;
        std::string FLRSnapshotRecord_t::*field;
        size_t length;
        const char* text;
    };
    const Case cases[] = {
        {"name", &FLRSnapshotRecord_t::Name, 128, "Snapshot name is too long"},
        {"volume name", &FLRSnapshotRecord_t::SnapVolumeName, 1024, "Volume name is too long"},
        {"volume GUID", &FLRSnapshotRecord_t::VolumeGUID, 1024, "Volume GUID is too long"},
        {"snapshot path", &FLRSnapshotRecord_t::SnapshotPath, 1024, "VSS Shadow set id is too long"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FLRSnapshotRecord_t tooLong = snap;
        tooLong.*c.field = std::string(c.length, 'x');
        YBFLRSnapshot_t r;
        std::string m;
        YBDBDst_t<YBFLRSnapshot_t> d(r, m);
        EXPECT_FALSE(YBSet(d, tooLong));
        EXPECT_EQ(d.errCode, -18);
        EXPECT_EQ(m, c.text);
    }

    // Several too long: the first in the order name, volume name, GUID, path;
    // the texts before it are copied.
    FLRSnapshotRecord_t several = snap;
    several.VolumeGUID.assign(1024, 'x');
    several.SnapshotPath.assign(1024, 'x');
    YBFLRSnapshot_t partial;
    std::string m;
    YBDBDst_t<YBFLRSnapshot_t> d(partial, m);
    EXPECT_FALSE(YBSet(d, several));
    EXPECT_EQ(m, "Volume GUID is too long");
    EXPECT_EQ(std::string(partial.SnapVolumeName), snap.SnapVolumeName);
    EXPECT_STREQ(partial.VolumeGUID, "");
}

TEST(FLRSnapshotRecords, EmptyTextsTravelAsNullAndNullAsEmpty)
{
    FLRSnapshotRecord_t snap(5, 6, "s1", nullptr, "{guid}", 2, "", 4);
    repFLRSnapRecV2 wire;
    YBSet(wire, snap);
    EXPECT_EQ(Text(wire.Name), "s1");
    EXPECT_EQ(wire.SnapVolumeName, nullptr);
    EXPECT_EQ(wire.SnapshotPath, nullptr);
    EXPECT_EQ(wire.Type, 2);
    EXPECT_EQ(wire.AuxValue, 4);
    EXPECT_EQ(wire.Reserved1, 0u);
    EXPECT_EQ(wire.Reserved4, nullptr);

    // A version-1 record gives engine type 1 and no path.
    repFLRSnapRec v1;
    v1.id = 2;
    v1.ConsistencyPointId = 3;
    v1.Name = const_cast<char*>("s2");
    std::vector<FLRSnapshotRecord_t> list;
    YBSet(list, v1);
    wire.Name = nullptr;
    wire.SnapshotPath = const_cast<char*>("{shadow}");
    YBSet(list, wire);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Name, "s2");
    EXPECT_EQ(list[0].VolumeGUID, "");
    EXPECT_EQ(list[0].Type, 1);
    EXPECT_STREQ(list[0].getSnapStr(), "Pendrel");
    EXPECT_EQ(list[1].Name, "");
    EXPECT_EQ(list[1].VolumeGUID, "{guid}");
    EXPECT_EQ(list[1].SnapshotPath, "{shadow}");
    EXPECT_STREQ(list[1].getSnapStr(), "VSS");

    for (int type : {0, 5}) {
        FLRSnapshotRecord_t other;
        other.Type = type;
        EXPECT_STREQ(other.getSnapStr(), "Unknown Snap Engine");
    }
}

TEST(FLRSnapshotRecords, ReplyArraysHoldEveryRecordOrNothing)
{
    std::vector<FLRSnapshotRecord_t> none;
    repFLRSnapRec before;
    repFLRSnapRec* array = &before;
    EXPECT_TRUE(CopyVectorToMsg(&array, none));
    EXPECT_EQ(array, nullptr);

    std::vector<FLRSnapMountPointRecord_t> mounts{{1, 2, "/mnt/a"}, {3, 4, nullptr}};
    repFLRSnapMountPointElem* elems = nullptr;
    ASSERT_TRUE(CopyVectorToMsg(&elems, mounts));
    EXPECT_EQ(elems[0].id, 1);
    EXPECT_EQ(Text(elems[0].MountPath), "/mnt/a");
    EXPECT_EQ(elems[1].SnapshotId, 4);
    EXPECT_EQ(elems[1].MountPath, nullptr);
    free(elems);
}

TEST(CreateCPArgs, SnapshotsAreNumberedFromZeroAndTheirPairsAndMountsNameTheNumber)
{
    CreateCPArgs_t args;
    FLRSnapshotRecord_t snap(40, 1, "a");
    EXPECT_EQ(args.AddSnapshot(snap), 0);
    EXPECT_EQ(args.AddSnapshot(snap), 1);
    args.AddPair(1, FLRSnapPairRecord_t(-1, 99, 7));
    args.AddMount(0, FLRSnapMountPointRecord_t(-1, 99, "/m"));
    EXPECT_EQ(args.Snapshots[1].id, 1);
    EXPECT_EQ(args.Pairs[0].SnapshotId, 1);
    EXPECT_EQ(args.Pairs[0].PairId, 7);
    EXPECT_EQ(args.MountPoints[0].SnapshotId, 0);
}
