// The pair rows of a source replication set's pairs, and the snapshots they
// tie them to.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "flr/FLRPostFixture.h"

namespace {

class FanInPairsTest : public FLRPostTest {
protected:
    // Pairs 201 to 203 belong to set 40; pair 300 to no set of it.
    void SetUp() override
    {
        FLRPostTest::SetUp();
        exec("INSERT INTO YBFLRSnapPair (id, SnapshotId, PairId) VALUES (1, 7, 201), (2, 7, 202), (3, 8, 203),"
             " (4, 9, 300)");
    }

    FanInRPAssociatedWithSrcRepSetRet_t query(int32_t setId, bool ok)
    {
        FanInRPAssociatedWithSrcRepSetArgs_t args;
        args.SrcRepSetId = setId;
        FanInRPAssociatedWithSrcRepSetRet_t ret;
        EXPECT_EQ(mgr.getFanInRPAssociatedWithSrcRepSet(args, ret, nullptr), ok);
        return ret;
    }

    static std::vector<std::string> PairsOf(const FanInRPAssociatedWithSrcRepSetRet_t& ret)
    {
        std::vector<std::string> out;
        for (const YBFLRSnapPair_t& p : ret.Pairs) out.push_back(join({p.id, p.SnapshotId, p.PairId}));
        return out;
    }
};

TEST_F(FanInPairsTest, ThePairRowsOfTheSetsPairsAndTheirSnapshots)
{
    FanInRPAssociatedWithSrcRepSetRet_t ret = query(40, true);
    EXPECT_EQ(PairsOf(ret), (std::vector<std::string>{"1:7:201", "2:7:202", "3:8:203"}));
    EXPECT_EQ(ret.SnapshotIds, (std::set<int32_t>{7, 8}));
    EXPECT_EQ(ret.errCode, 0);
    EXPECT_EQ(ret.errMsg, "");
}

TEST_F(FanInPairsTest, ASetWithoutPairsReadsNoPairRows)
{
    HostBackupSetSeed empty;
    empty.id = 41;
    empty.name = "set-41";
    ASSERT_EQ(HostConfig::addBackupSet(empty), 0);
    HostDBFaults::failNext("getList", 5);  // would fail a read
    FanInRPAssociatedWithSrcRepSetRet_t ret = query(41, true);
    EXPECT_TRUE(ret.Pairs.empty());
    EXPECT_TRUE(ret.SnapshotIds.empty());
}

TEST_F(FanInPairsTest, FailedReadsAnswerTheirCodes)
{
    const char* pairListText = "Failed to query possible fan in snapshot(s). Cannot get the Replication set's pair list";
    FanInRPAssociatedWithSrcRepSetRet_t unknown = query(99, false);
    EXPECT_EQ(unknown.errCode, -17);
    EXPECT_EQ(unknown.errMsg, pairListText);

    HostConfig::failNext("getSubclientList", 7);
    FanInRPAssociatedWithSrcRepSetRet_t listed = query(40, false);
    EXPECT_EQ(listed.errCode, -17);
    EXPECT_EQ(LogEntriesWith("\n\tReplication Set Id = 40\n\tApp Mgr Ret Code   = 7").size(), 1u);

    HostDBFaults::failNext("getList", 5);
    FanInRPAssociatedWithSrcRepSetRet_t read = query(40, false);
    EXPECT_EQ(read.errCode, -4);
    EXPECT_EQ(read.errMsg, "Cannot get the list of RP-Pairs from the DB");
    EXPECT_TRUE(read.Pairs.empty());
    EXPECT_EQ(LogEntriesWith("\n\tsWhere = PairId IN (201, 202, 203)\n\tRep Set Id  = 40").size(), 1u);
}

}  // namespace
