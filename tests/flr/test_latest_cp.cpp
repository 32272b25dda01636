// The latest consistency point of a replication set through post, in the
// three message versions, with and without a destination volume GUID.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flr/FLRQueryFixture.h"
#include "support/TestHost.h"

namespace {

using Rows = std::vector<std::string>;

class LatestCPRequests : public FLRQueryTest {
protected:
    // The latest point of the set; versions 2 and 3 name the volume.
    QueryAnswer latest(int version, int32_t setId, const std::string& guid = "")
    {
        if (version == 1) {
            repQueryRepSetLastCPReq req{static_cast<uint32_t>(setId)};
            return send(0x350001e9, &req, sizeof(repQueryRepSetLastCPResp));
        }
        repQueryRepSetLastCPReqV2 req{static_cast<uint32_t>(setId), RequestText(guid)};
        if (version == 2) return send(0x35000204, &req, sizeof(repQueryRepSetLastCPRespV2));
        return send(0x35000254, &req, sizeof(repQueryRepSetLastCPRespV3));
    }
    static std::string noPoint(int version)
    {
        return version == 1 ? "-1:0:0:0:0:0:0:-1" : version == 2 ? "-1:0:0:0:0:0:0:-1:0:0" : "-1:0:0:0:0:0:0:-1:0:0:0";
    }
};

class LatestCPTest : public LatestCPRequests, public ::testing::WithParamInterface<int> {
protected:
    int version() const { return GetParam(); }
    QueryAnswer latest(int32_t setId) { return LatestCPRequests::latest(version(), setId); }
};

INSTANTIATE_TEST_SUITE_P(MessageVersions, LatestCPTest, ::testing::Values(1, 2, 3));

// Point 2 is the newest of set 40; pair 202's destination moved after it was
// made, and the reply gives the path of its time.
TEST_P(LatestCPTest, TheNewestPointOfTheSetComesWithThePathsOfItsTime)
{
    QueryAnswer a = latest(40);
    expectDone(a);
    EXPECT_EQ(a.cp, StoredCP(2, version()));
    EXPECT_EQ(a.snaps, StoredSnaps({3}, version() == 1 ? 1 : 2));
    EXPECT_EQ(a.pairs, StoredPairs({3, 4}));
    EXPECT_EQ(a.pairPaths, (Rows{"201:/src/a2:/dst/a", "202:/src/b:/dst/b"}));
    EXPECT_EQ(a.mounts, StoredMounts({2}));
    EXPECT_TRUE(a.shares.empty());

    // Point 1 with its share.
    exec("UPDATE YBFLRConsistencyPoint SET CreationTime = 5000 WHERE id = 1");
    a = latest(40);
    expectDone(a);
    EXPECT_EQ(a.cp, StoredCP(1, version()));
    EXPECT_EQ(a.pairPaths, (Rows{"201:/src/a2:/dst/a", "202:/src/b:/dst/b2"}));
    EXPECT_EQ(a.shares, StoredShares({1}));
    EXPECT_EQ(LogEntriesWith(" completed successfully\n\tSending reply ").size(), 2u);
}

TEST_P(LatestCPTest, ASetWithoutPointsAnswersPointMinusOne)
{
    QueryAnswer a = latest(42);
    expectDone(a);
    EXPECT_EQ(a.cp, noPoint(version()));
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(LogEntriesWith("\tEvent: No consistency points were found\n\tsWhere = FLRSetId = 42").size(), 1u);
}

TEST_P(LatestCPTest, RefusalsAndFailedReads)
{
    expectFailed(latest(0), -6, "Cannot get FLR Consistency points with an invalid RepSet id");
    // Set 41's newest point has a snapshot without pair rows.
    expectFailed(latest(41), -3, "Could not find the FLR snapshots pair record(s) in the database");
    EXPECT_EQ(LogEntriesWith("\n\ttFLRSnapPairDB::getList() input & output:\n\tsWhere = SnapshotId IN ( 5)\n\tRepSet Id "
                             "= 41\n\tNRows = 0")
                  .size(),
              1u);
    const int32_t bare = storeCP(43, 100, 0, 0, 5, 8);
    ASSERT_GT(bare, 0);
    expectFailed(latest(43), -3, "Job id has no FLR snapshots record(s) in the database");

    std::vector<FLRFaultCase> faults = ExpansionFaults(1, false);
    faults.insert(faults.begin(), {"reading the point", "getList", 0, -4,
                                   "Could not get list of FLR Consistency point records from the database"});
    expectEachFault(faults, [&] { return latest(40); });
    expectNoMemoryAtEachArray(4, [&] { return latest(40); });
}

TEST_F(LatestCPRequests, SnapshotEntriesLeaveTheAuxValueZero)
{
    // Point 2's snapshot holds an AuxValue; the entries of this request
    // never carry one, with or without a volume.
    const Rows sent = StoredSnaps({3}, 2);
    exec("UPDATE YBFLRSnapshot SET AuxValue = 7 WHERE id = 3");
    for (int version : {2, 3}) {
        SCOPED_TRACE(version);
        QueryAnswer a = latest(version, 40);
        expectDone(a);
        EXPECT_EQ(a.snaps, sent);
        a = latest(version, 40, "{g-fan}");
        expectDone(a);
        EXPECT_EQ(a.snaps, sent);
    }
}

// ---- With a volume GUID ----------------------------------------------------------------

TEST_F(LatestCPRequests, WithAVolumeTheNewestDestinationPointHoldingItIsTheAnswer)
{
    // Set 41's newest point (4) holds another volume; an older destination
    // point of {g-fan} is older still than point 3.
    ASSERT_EQ(storePair(storeSnapshot(storeCP(41, 1200, 710, 0, 5, 9, 1), "snap-old", "vol-a", "{g-fan}", 1200), 211),
              6);
    for (int version : {2, 3}) {
        SCOPED_TRACE(version);
        QueryAnswer a = latest(version, 41, "{g-fan}");
        expectDone(a);
        EXPECT_EQ(a.cp, StoredCP(3, version));
        EXPECT_EQ(a.snaps, StoredSnaps({4}, 2));
        EXPECT_EQ(a.pairs, StoredPairs({5}));
        EXPECT_EQ(a.pairPaths, Rows{"211:/src/c:/dst/c"});
        EXPECT_TRUE(a.mounts.empty());

        // Set 40 holds {g-fan} in point 2 (a destination point) ...
        a = latest(version, 40, "{g-fan}");
        expectDone(a);
        EXPECT_EQ(a.cp, StoredCP(2, version));
        // ... and {g-a} only in point 1, which is not one.
        a = latest(version, 40, "{g-a}");
        expectDone(a);
        EXPECT_EQ(a.cp.substr(0, 3), "-1:");
        EXPECT_TRUE(a.empty());
    }

    expectEachFault({{"reading the point of the volume", "fetch", 0, -4,
                      "Could not get latest Recovery point associated with the volume"},
                     {"reading the pair paths", "fetch", 1, -4, "Cannot get the list of pair path from the database"}},
                    [&] { return latest(3, 41, "{g-fan}"); });
    EXPECT_EQ(LogEntriesWith("\n\tgetNextRow(YBQueryFanInLatestRP &) failed\n\tRepSet id    : 41\n\tVolume GUID  : "
                             "{g-fan}\n\tDB Err Code = 5")
                  .size(),
              1u);
}

}  // namespace
