// The consistency point queries through post: the points of a set, a point
// by its id and the point of a job, in every message version; and the fold
// of pair path rows they share.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flr/CPExpansion.h"
#include "flr/FLRQueryFixture.h"
#include "support/TestHost.h"

namespace {

using Rows = std::vector<std::string>;

class CPQueryTest : public FLRQueryTest {
protected:
    QueryAnswer listBySet(int32_t setId)
    {
        repQueryFLRCPointsByFLRSetIdReq req{setId};
        return send(0x350001d7, &req, sizeof(repQueryFLRCPointsByFLRSetIdResp));
    }
    QueryAnswer byId(int version, int32_t cpId)
    {
        repQueryFLRSnapshotsByCPIdReq req{static_cast<uint32_t>(cpId)};
        if (version == 1) return send(0x350001dd, &req, sizeof(repQueryFLRSnapshotsByCPIdResp));
        return send(0x35000200, &req, sizeof(repQueryFLRSnapshotsByCPIdRespV2));
    }
    QueryAnswer byJob(int version, int64_t jobId)
    {
        repQueryFLRCPByJobIdReq req{jobId};
        if (version == 1) return send(0x350001e7, &req, sizeof(repQueryFLRCPByJobIdResp));
        if (version == 2) return send(0x35000202, &req, sizeof(repQueryFLRCPByJobIdRespV2));
        return send(0x35000252, &req, sizeof(repQueryFLRCPByJobIdRespV3));
    }
};

class VersionedCPQueryTest : public CPQueryTest, public ::testing::WithParamInterface<int> {
protected:
    int version() const { return GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(MessageVersions, VersionedCPQueryTest, ::testing::Values(1, 2, 3));

// ---- The points of a set ----------------------------------------------------------

TEST_F(CPQueryTest, TheSetsPointsAreListedInIdOrderAsVersionOnePoints)
{
    QueryAnswer a = listBySet(40);
    expectDone(a);
    EXPECT_EQ(a.cps, (Rows{StoredCP(1, 1), StoredCP(2, 1)}));
    EXPECT_EQ(a.cps[0], "1:1000:40:500:0:1:1:8");  // Flags 6: automount and the carried bit

    a = listBySet(41);
    expectDone(a);
    EXPECT_EQ(a.cps, (Rows{StoredCP(3, 1), StoredCP(4, 1)}));
    EXPECT_EQ(LogEntriesWith("REPLICA_PM_QueryFLRCPointsByFLRSetId_REQ completed successfully").size(), 2u);
}

TEST_F(CPQueryTest, ListingRefusesSetZeroAndFindsNothingForOthers)
{
    expectFailed(listBySet(0), -6, "Invalid FLR set id [ FLRSetId == 0 ]");
    expectFailed(listBySet(-3), -3, "Could not find the FLR consistency point record(s) in the database");
    EXPECT_EQ(LogEntriesWith("\n\ttFLRConsistencyPointDB::getList() input & output:\n\tsWhere = FLRSetId = -3"
                             "\n\tNRows = 0")
                  .size(),
              1u);
    expectEachFault({{"reading the points", "getList", 0, -4,
                      "Could not get list of FLR Consistency point records from the database"}},
                    [&] { return listBySet(40); });
    expectNoMemoryAtEachArray(1, [&] { return listBySet(40); });
}

// ---- A point by its id -------------------------------------------------------------------

TEST_F(CPQueryTest, APointByIdComesWithItsRowsAndThePathsOfItsTime)
{
    for (int version : {1, 2}) {
        SCOPED_TRACE(version);
        QueryAnswer a = byId(version, 1);
        expectDone(a);
        EXPECT_EQ(a.snaps, StoredSnaps({1, 2}, version));
        EXPECT_EQ(a.pairs, StoredPairs({1, 2}));
        EXPECT_EQ(a.pairPaths, (Rows{"201:/src/a:/dst/a", "202:/src/b:/dst/b"}));
        EXPECT_EQ(a.mounts, StoredMounts({1}));
        EXPECT_EQ(a.shares, StoredShares({1}));
    }
    // Version 2 carries the engine, the path and the extra value.
    EXPECT_EQ(StoredSnaps({1}, 2), Rows{"1:1:snap-1a:vol-a:{g-a}:2:{shadow-1a}:4"});

    // The later point sees the paths valid at 2000: pair 201's new source,
    // pair 202's destination before it moved at 3000.
    QueryAnswer later = byId(2, 2);
    expectDone(later);
    EXPECT_EQ(later.pairPaths, (Rows{"201:/src/a2:/dst/a", "202:/src/b:/dst/b"}));
    EXPECT_EQ(later.mounts, StoredMounts({2}));
    EXPECT_TRUE(later.shares.empty());
}

TEST_F(CPQueryTest, PointsByIdThatCannotBeExpanded)
{
    expectFailed(byId(1, 0), -6, "Cannot get FLR Snapshots with an invalid Consistency Point id");
    expectFailed(byId(1, -2), -6, "Cannot get FLR Snapshots with an invalid Consistency Point id");
    expectFailed(byId(1, 99), -4, "Could not get the recovery point information from the database");
    expectFailed(byId(2, 4), -3, "Could not find the FLR snapshots pair record(s) in the database");
    const int32_t bare = storeCP(40, 3000, 900, 0, 5, 8);
    expectFailed(byId(2, bare), -3, "Could not find the FLR snapshots record(s) in the database");
    EXPECT_EQ(LogEntriesWith("\n\ttFLRSnapshotDB::getList() input & output:\n\tsWhere = ConsistencyPointId = " +
                             std::to_string(bare) + "\n\tNRows = 0")
                  .size(),
              1u);

    std::vector<FLRFaultCase> faults = ExpansionFaults(0, true);
    faults.insert(faults.begin(),
                  {"reading the point", "getInfo", 0, -4, "Could not get the recovery point information from the database"});
    expectEachFault(faults, [&] { return byId(2, 1); });
    EXPECT_EQ(LogEntriesWith("\tEvent: Cannot get the list of pair path from the database\n\tgetNextRow(YBGetFLRPairPath &) "
                             "failed\n\tPoint in Time = 1000\n\tPair id(s)  = (201, 202)\n\tDB Err Code = 5")
                  .size(),
              1u);
    expectNoMemoryAtEachArray(5, [&] { return byId(2, 1); });
}

// Of two pairs whose paths only partly hold at the point's time, no record
// joins the paths of different pairs; a pair with one path lends its id to
// the record that follows.
TEST_F(CPQueryTest, PairsWithoutBothPathsAtThePointsTime)
{
    storePath(301, 10001, "/src/301", 100, 0);  // no destination
    storePath(302, 10001, "/src/302", 100, 0);
    storePath(302, 10002, "/dst/302", 100, 0);
    storePath(303, 10002, "/dst/303", 100, 0);  // no source
    storePath(304, 10001, "/src/304", 100, 0);
    storePath(304, 10002, "/dst/304", 100, 0);
    const int32_t cp = storeCP(43, 1000, 901, 0, 5, 8);
    const int32_t snap = storeSnapshot(cp, "snap-x", "vol-x", "{g-x}", 1000);
    for (int pair : {301, 302, 303, 304}) storePair(snap, pair);

    QueryAnswer a = byId(1, cp);
    expectDone(a);
    EXPECT_EQ(a.pairPaths, (Rows{"301:/src/302:/dst/302", "303:/src/304:/dst/304"}));

    // Before any path was valid: no record, and still success.
    const int32_t early = storeCP(43, 50, 902, 0, 5, 8);
    storePair(storeSnapshot(early, "snap-y", "vol-y", "{g-y}", 50), 201);
    a = byId(1, early);
    expectDone(a);
    EXPECT_TRUE(a.pairPaths.empty());
    EXPECT_EQ(a.pairs.size(), 1u);
}

// ---- The point of a job -----------------------------------------------------------------

TEST_P(VersionedCPQueryTest, TheJobsPointComesInTheVersionsRecordWithItsRows)
{
    QueryAnswer a = byJob(version(), 600);
    expectDone(a);
    EXPECT_EQ(a.cp, StoredCP(2, version()));
    if (version() == 3) {
        EXPECT_EQ(a.cp, "2:2000:40:600:1:0:0:8:0:1:1");
    }
    EXPECT_EQ(a.snaps, StoredSnaps({3}, version() == 1 ? 1 : 2));
    EXPECT_EQ(a.pairs, StoredPairs({3, 4}));
    EXPECT_EQ(a.pairPaths, (Rows{"201:/src/a2:/dst/a", "202:/src/b:/dst/b"}));
    EXPECT_EQ(a.mounts, StoredMounts({2}));
    EXPECT_TRUE(a.shares.empty());
}

TEST_P(VersionedCPQueryTest, AJobWithoutAPointAnswersPointMinusOneAndNothingElse)
{
    QueryAnswer a = byJob(version(), 999);
    expectDone(a);
    EXPECT_EQ(a.cp, version() == 1 ? "-1:0:0:0:0:0:0:-1" : version() == 2 ? "-1:0:0:0:0:0:0:-1:0:0"
                                                                            : "-1:0:0:0:0:0:0:-1:0:0:0");
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(LogEntriesWith("\tEvent: No consistency points were found\n\tsWhere = JobId = 999").size(), 1u);
}

TEST_F(CPQueryTest, JobsThatCannotBeAnswered)
{
    expectFailed(byJob(3, 0), -6, "Cannot get FLR Consistency points with an invalid Job id");
    storeCP(40, 4000, 600, 0, 5, 8);
    expectFailed(byJob(2, 600), -13, "Job id has multiple consistency points");
    expectFailed(byJob(1, 800), -3, "Could not find the FLR snapshots pair record(s) in the database");
    EXPECT_EQ(LogEntriesWith("\n\ttFLRSnapPairDB::getList() input & output:\n\tsWhere = SnapshotId IN ( 5)\n\tJob Id = "
                             "800\n\tNRows = 0")
                  .size(),
              1u);

    std::vector<FLRFaultCase> faults = ExpansionFaults(1, true);
    faults.insert(faults.begin(), {"reading the point", "getList", 0, -4,
                                   "Could not get list of FLR Consistency point records from the database"});
    expectEachFault(faults, [&] { return byJob(3, 500); });
    expectNoMemoryAtEachArray(5, [&] { return byJob(3, 500); });
}

// The job's point takes the mount points of the snapshots that have pair
// rows, once per pair row; the point by id those of all its snapshots.
TEST_F(CPQueryTest, MountPointsFollowThePairRowsOnlyInTheJobsPoint)
{
    const int32_t cp = storeCP(43, 1000, 950, 0, 5, 8);
    const int32_t paired = storeSnapshot(cp, "snap-p", "vol-p", "{g-p}", 1000);
    const int32_t unpaired = storeSnapshot(cp, "snap-u", "vol-u", "{g-u}", 1000);
    storePair(paired, 201);
    storePair(paired, 202);
    const int32_t pairedMount = storeMount(paired, "/mnt/p");
    const int32_t unpairedMount = storeMount(unpaired, "/mnt/u");

    QueryAnswer job = byJob(2, 950);
    expectDone(job);
    EXPECT_EQ(job.snaps.size(), 2u);
    EXPECT_EQ(job.mounts, StoredMounts({pairedMount}));

    QueryAnswer point = byId(2, cp);
    expectDone(point);
    EXPECT_EQ(point.mounts, StoredMounts({pairedMount, unpairedMount}));
}

// ---- The fold of pair path rows ---------------------------------------------------------

std::vector<std::string> Folded(const std::vector<std::tuple<int32_t, int32_t, std::string>>& rows)
{
    std::vector<FLRPairPathRecord_t> records;
    flr_detail::PairPathFold fold(records);
    for (const auto& [pair, type, path] : rows) fold.add(pair, type, path);
    fold.finish();
    std::vector<std::string> out;
    for (const FLRPairPathRecord_t& r : records) out.push_back(std::to_string(r.PairId) + ":" + r.SrcPath + ":" + r.DstPath);
    return out;
}

TEST(PairPathFoldTest, RowsAreFoldedInTheOrderTheyCome)
{
    // Either path may come first.
    EXPECT_EQ(Folded({{7, 10001, "s7"}, {7, 10002, "d7"}, {8, 10002, "d8"}, {8, 10001, "s8"}}),
              (Rows{"7:s7:d7", "8:s8:d8"}));
    // A held path is replaced by the next of its kind; the record bears the
    // pair id of the first row since the record before.
    EXPECT_EQ(Folded({{7, 10001, "s7"}, {8, 10001, "s8"}, {8, 10002, "d8"}}), Rows{"7:s8:d8"});
    EXPECT_EQ(Folded({{7, 10001, "s7"}, {7, 10001, "s7b"}, {7, 10002, "d7"}}), Rows{"7:s7b:d7"});
    // A held path of another pair is dropped, not joined to the row's path
    // of the other kind.
    EXPECT_EQ(Folded({{7, 10002, "d7"}, {8, 10001, "s8"}, {8, 10002, "d8"}}), Rows{"7:s8:d8"});
    EXPECT_EQ(Folded({{7, 10001, "s7"}, {8, 10002, "d8"}, {9, 10001, "s9"}, {9, 10002, "d9"}}), Rows{"7:s9:d9"});
    // Any type but the source's is a destination; a lone path at the end
    // makes nothing.
    EXPECT_EQ(Folded({{7, 10001, "s7"}, {7, 4, "d7"}, {8, 10001, "s8"}}), Rows{"7:s7:d7"});
    EXPECT_TRUE(Folded({}).empty());
}

}  // namespace
