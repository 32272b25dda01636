// Rebuilding a destination client's consistency points from its snapshot
// list through post: points added and merged, stored snapshots the list no
// longer names removed with their pairs, mount points and the mount points'
// shares, and failures.
#include <gtest/gtest.h>

#include <ctime>
#include <map>

#include "flr/FLRPruneFixture.h"

namespace {

// A list of the client: points by position, snapshots naming their point
// by that position.
struct ClientList {
    struct Snap {
        int32_t number;
        int32_t cpIndex;
        std::string name;
        int32_t type = 3;
    };
    std::vector<repCreateCPEntry> cps;
    std::vector<Snap> snaps;
    std::vector<repFLRSnapPairElem> pairs;
    std::vector<std::pair<int32_t, std::string>> mounts;
};

class CPRebuildTest : public FLRPruneTest {
protected:
    static repCreateCPEntry Entry(int32_t setId, int32_t jobId)
    {
        return repCreateCPEntry{77, 123, setId, jobId, 0, 0, 0, -5, 5};
    }

    template <typename Req>
    FLRAnswer rebuild(unsigned long code, const ClientList& list)
    {
        std::vector<std::remove_pointer_t<decltype(Req::Snaps)>> snaps(list.snaps.size());
        for (size_t i = 0; i < snaps.size(); ++i) {
            std::memset(static_cast<void*>(&snaps[i]), 0, sizeof snaps[i]);
            snaps[i].id = list.snaps[i].number;
            snaps[i].ConsistencyPointId = list.snaps[i].cpIndex;
            snaps[i].Name = RequestText(list.snaps[i].name);
            snaps[i].SnapVolumeName = const_cast<char*>("vol");
            snaps[i].VolumeGUID = const_cast<char*>("{vol}\\");
            setType(snaps[i], list.snaps[i].type);
        }
        std::vector<repFLRSnapMountPointElem> mounts;
        for (const auto& m : list.mounts) mounts.push_back({-7, m.first, RequestText(m.second)});
        Req req;
        std::memset(static_cast<void*>(&req), 0, sizeof req);
        req.CPCount = static_cast<uint32_t>(list.cps.size());
        req.CPs = list.cps.empty() ? nullptr : const_cast<repCreateCPEntry*>(list.cps.data());
        req.SnapCount = static_cast<uint32_t>(snaps.size());
        req.Snaps = snaps.empty() ? nullptr : snaps.data();
        req.PairCount = static_cast<uint32_t>(list.pairs.size());
        req.Pairs = list.pairs.empty() ? nullptr : const_cast<repFLRSnapPairElem*>(list.pairs.data());
        req.MountCount = static_cast<uint32_t>(mounts.size());
        req.MountPoints = mounts.empty() ? nullptr : mounts.data();
        req.DstClientId = 5;
        return post(code, &req, sizeof(repCreateCPResp));
    }

private:
    static void setType(repFLRSnapRec&, int32_t) {}
    static void setType(repFLRSnapRecV2& s, int32_t type)
    {
        s.Type = type;
        s.SnapshotPath = const_cast<char*>("{not-used}");
    }
};

TEST_F(CPRebuildTest, ListAddsMergesAndDropsAsTheClientHoldsThem)
{
    // Stored: point A (job 1) with snapshots a1, a2; point B (job 2) with b1,
    // mounted; point C (job 3) with c1 only.
    const int32_t a = cp(40, 1);
    pair(snap(a, "a1"), 201);
    const int32_t a2 = snap(a, "a2");
    pair(a2, 201);
    mount(a2, "/mnt/a2");
    const int32_t b = cp(40, 2);
    const int32_t b1 = snap(b, "b1");
    pair(b1, 202);
    mount(b1, "/mnt/b1");
    const int32_t c = cp(40, 3);
    pair(snap(c, "c1"), 201);

    // The list: point 0 is A again without a2; point 1 is B (same job) with
    // a new snapshot b2; point 2 is new with n1. C is gone.
    ClientList list;
    list.cps = {Entry(40, 1), Entry(40, 2), Entry(40, 9)};
    list.snaps = {{1, 0, "a1"}, {2, 1, "b1"}, {3, 1, "b2"}, {4, 2, "n1"}};
    list.pairs = {{0, 3, 202}, {0, 4, 201}, {0, 2, 202}};
    list.mounts = {{4, "/mnt/n1"}};
    const time_t start = std::time(nullptr);
    const FLRAnswer answer = rebuild<repCreateCPReq2V2>(0x35000245, list);
    expectDone(answer);

    // a2 is gone with its pair and mount point, A marked unstable; C has no
    // snapshot left and is gone; B got b2; the new point holds n1.
    const auto ids = CPIds();
    ASSERT_EQ(ids.size(), 3u);
    EXPECT_EQ(ids[0], a);
    EXPECT_EQ(ids[1], b);
    const int32_t created = ids[2];
    EXPECT_EQ(answer.id, created);
    EXPECT_EQ(FlagsOf(a), FLRCP_FLAG_UNSTABLE);
    EXPECT_EQ(FlagsOf(b), 0);
    EXPECT_EQ(SnapNames(), (std::vector<std::string>{"a1", "b1", "b2", "n1"}));
    std::vector<std::string> snapsOf;
    for (const auto& r : StoredRows<YBFLRSnapshot_t, FLRSnapshotDB>())
        snapsOf.push_back(std::string(r.Name) + ":" + std::to_string(r.ConsistencyPointId) + ":" +
                          std::to_string(r.Type) + ":" + r.SnapshotPath);
    EXPECT_EQ(snapsOf[2], "b2:" + std::to_string(b) + ":3:");
    EXPECT_EQ(snapsOf[3], "n1:" + std::to_string(created) + ":3:");
    EXPECT_EQ(MountRows().size(), 2u);  // b1's and n1's
    EXPECT_EQ(PairRows().size(), 4u);  // a1, b1, b2, n1
    for (const auto& r : StoredRows<YBFLRConsistencyPoint_t, FLRConsistencyPointDB>())
        if (r.id == created) {
            EXPECT_GE(r.CreationTime, static_cast<int32_t>(start));
            EXPECT_EQ(r.JobId, 9);
        }
}

// The network shares of the mount points removed go with them; the shares
// of the snapshots the list still names stay.
TEST_F(CPRebuildTest, TheSharesOfTheRemovedMountPointsGoWithThem)
{
    const int32_t a = cp(40, 1);
    const int32_t a1 = snap(a, "a1");
    pair(a1, 201);
    const int32_t a2 = snap(a, "a2");
    pair(a2, 201);
    const int32_t kept = mount(a1, "/mnt/a1");
    const int32_t keptShare = share(kept, "share-a1");
    share(mount(a2, "/mnt/a2"), "share-a2");
    const int32_t second = mount(a2, "/mnt/a2-again");
    share(second, "share-a2-1");
    share(second, "share-a2-2");

    ClientList list;
    list.cps = {Entry(40, 1)};
    list.snaps = {{1, 0, "a1"}};
    expectDone(rebuild<repCreateCPReq2V2>(0x35000245, list));
    EXPECT_EQ(SnapNames(), std::vector<std::string>{"a1"});
    ASSERT_EQ(MountRows().size(), 1u);
    ASSERT_EQ(ShareRows().size(), 1u);
    EXPECT_EQ(ShareRows()[0], join({keptShare, kept}) + ":share-a1");
}

TEST_F(CPRebuildTest, PointsOfOneSetMadeByOneRebuildStayApartUnlessTheyShareTheirJob)
{
    // Three new points of set 40, all stamped within the same rebuild: jobs
    // 8 and 9 are two recovery points; the third entry is job 9 again and
    // joins its point.
    ClientList list;
    list.cps = {Entry(40, 8), Entry(40, 9), Entry(40, 9)};
    list.snaps = {{1, 0, "s8"}, {2, 1, "s9"}, {3, 2, "t9"}};
    list.pairs = {{0, 1, 201}, {0, 2, 201}, {0, 3, 202}};
    expectDone(rebuild<repCreateCPReq2V2>(0x35000245, list));

    std::map<int32_t, int32_t> jobOf;
    for (const auto& r : StoredRows<YBFLRConsistencyPoint_t, FLRConsistencyPointDB>()) jobOf[r.id] = r.JobId;
    ASSERT_EQ(jobOf.size(), 2u);
    std::vector<std::string> held;
    for (const auto& r : StoredRows<YBFLRSnapshot_t, FLRSnapshotDB>())
        held.push_back(std::string(r.Name) + ":" + std::to_string(jobOf[r.ConsistencyPointId]));
    EXPECT_EQ(held, (std::vector<std::string>{"s8:8", "s9:9", "t9:9"}));
    EXPECT_EQ(PairRows().size(), 3u);
}

TEST_F(CPRebuildTest, FirstVersionGivesEngineTypeOneAndAnEmptyListDropsEverything)
{
    ClientList list;
    list.cps = {Entry(40, 9)};
    list.snaps = {{1, 0, "n1"}};
    list.pairs = {{0, 1, 201}};
    expectDone(rebuild<repCreateCPReq2>(0x350001fd, list));
    ASSERT_EQ((StoredRows<YBFLRSnapshot_t, FLRSnapshotDB>().size()), 1u);
    EXPECT_EQ((StoredRows<YBFLRSnapshot_t, FLRSnapshotDB>()[0].Type), 1);

    // The same list again changes nothing.
    const auto before = AllRows();
    expectDone(rebuild<repCreateCPReq2>(0x350001fd, list));
    EXPECT_EQ(AllRows(), before);

    expectDone(rebuild<repCreateCPReq2>(0x350001fd, ClientList()));
    EXPECT_EQ(AllRows(), (std::vector<std::string>{"--", "--", "--", "--", "--"}));
}

TEST_F(CPRebuildTest, FailedCreationStopsBeforeAnyRemoval)
{
    point(40, 1, "old");
    ClientList list;
    // The second new point has no pair and cannot be created; the third is
    // never tried.
    list.cps = {Entry(40, 7), Entry(40, 8), Entry(40, 9)};
    list.snaps = {{1, 0, "n1"}, {2, 1, "n2"}, {3, 2, "n3"}};
    list.pairs = {{0, 1, 201}, {0, 3, 201}};
    const auto before = AllRows();
    expectFailed(rebuild<repCreateCPReq2V2>(0x35000245, list), -2, "Snapshots have no pair id");
    EXPECT_EQ(AllRows(), before);
}

TEST_F(CPRebuildTest, FailuresOfTheReadAndOfTheRemovalsAreAnswered)
{
    const int32_t kept = point(40, 1, "kept");
    snap(kept, "dropped");
    ClientList list;
    list.cps = {Entry(40, 1)};
    list.snaps = {{1, 0, "kept"}};
    expectEachFault(
        {
            {"reading the stored snapshots", "fetch", 5, 0, -4, "Could not get snapshot information from the database"},
            {"removing the pairs", "remove", 5, 0, -4, "Failed to removed the snap pair information from the DB"},
            {"removing the shares", "remove", 5, 1, -4, "Failed to remove the share information from the DB"},
            {"removing the mount points", "remove", 5, 2, -4,
             "Failed to removed the snap mount point information from the DB"},
            {"removing the snapshot", "remove", 5, 3, -4, "Failed to removed the snap information from the DB"},
            // The point still has a snapshot and cannot be marked: the rebuild fails.
            {"marking the point", "Update", 5, 0, -4, "Cannot mark the consistency point unstable. Database Error"},
        },
        [&] { return rebuild<repCreateCPReq2V2>(0x35000245, list); });
    expectDone(rebuild<repCreateCPReq2V2>(0x35000245, list));
    EXPECT_EQ(SnapNames(), std::vector<std::string>{"kept"});
    EXPECT_EQ(FlagsOf(kept), FLRCP_FLAG_UNSTABLE);
}

}  // namespace
