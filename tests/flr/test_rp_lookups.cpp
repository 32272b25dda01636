// The recovery point lookups through post, and whether any point concerns a
// client: the destination points of a client by volume name or GUID and all
// of them, the pairs feeding a point, a snapshot and a point by id, the
// points of a client for an application type.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flr/FLRQueryFixture.h"
#include "support/TestHost.h"

namespace {

using Rows = std::vector<std::string>;

// The destination points of host 5 that hold volume vol-a / {g-fan}: point 2
// with its snapshot's mount point, point 3 without one.
const Rows HostFivePoints{"2:2000:snap-2a:/mnt/2a:600", "3:1500:snap-3a:(null):700"};

class RPLookupTest : public FLRQueryTest {
protected:
    QueryAnswer byVolume(int32_t client, const std::string& volume)
    {
        repGetRPsByClientIdAndVolNameReq req{client, RequestText(volume)};
        return send(0x35000228, &req, sizeof(repGetRPsByClientIdAndVolNameResp));
    }
    QueryAnswer byVolumeV2(int32_t client, const std::string& volume, int32_t isGUID)
    {
        repGetRPsByClientIdAndVolNameV2Req req{client, RequestText(volume), isGUID};
        return send(0x35000248, &req, sizeof(repGetRPsByClientIdAndVolNameV2Resp));
    }
    QueryAnswer allOf(int32_t client)
    {
        repGetRPsByDstClientIdReq req{client};
        return send(0x35000256, &req, sizeof(repGetRPsByDstClientIdResp));
    }
    QueryAnswer fanIn(int32_t rpId)
    {
        repGetFanInDetailInfoByRPIdReq req{rpId};
        return send(0x3500022a, &req, sizeof(repGetFanInDetailInfoByRPIdResp));
    }
    QueryAnswer snapshot(int32_t id)
    {
        repQueryFLRSnapBySnapIdReq req{id};
        return send(0x3500022c, &req, sizeof(repQueryFLRSnapBySnapIdResp));
    }
    QueryAnswer point(int32_t id)
    {
        repQueryCPByIdReq req{id};
        return send(0x3500024a, &req, sizeof(repQueryCPByIdResp));
    }
    QueryAnswer ofApplication(int32_t client, int32_t appType)
    {
        repQueryFLRCPsByClientIdAndAppTypeReq req{client, appType};
        return send(0x350001f7, &req, sizeof(repQueryFLRCPsByClientIdAndAppTypeResp));
    }
    doesClientHaveAnyRPsRet_t anyRP(int32_t client, bool expected)
    {
        doesClientHaveAnyRPsArgs_t args;
        args.ClientId = client;
        doesClientHaveAnyRPsRet_t ret;
        EXPECT_EQ(mgr.doesClientHaveAnyRP(args, ret, nullptr), expected);
        return ret;
    }
};

// ---- Destination points of a client ------------------------------------------------

TEST_F(RPLookupTest, DestinationPointsOfAClientByVolumeNameOrGuid)
{
    QueryAnswer a = byVolume(5, "vol-a");
    expectDone(a);
    EXPECT_EQ(a.rps, HostFivePoints);
    // The GUID request answers in the same layout, by either.
    a = byVolumeV2(5, "{g-fan}", 1);
    expectDone(a);
    EXPECT_EQ(a.rps, HostFivePoints);
    a = byVolumeV2(5, "vol-a", 0);
    expectDone(a);
    EXPECT_EQ(a.rps, HostFivePoints);
    // Only the GUID request matches by GUID; point 1 is no destination point.
    a = byVolume(5, "{g-fan}");
    expectDone(a);
    EXPECT_TRUE(a.rps.empty());
    a = byVolumeV2(5, "{g-a}", 1);
    expectDone(a);
    EXPECT_TRUE(a.rps.empty());
    EXPECT_EQ(LogEntriesWith("REPLICA_PM_QUERY_RP_BY_DST_CLIENT_ID_AND_VOL_NAME_V2_REQ completed successfully\n\tSending "
                             "reply REPLICA_PM_QUERY_RP_BY_DST_CLIENT_ID_AND_VOL_NAME_V2_RESP to client...")
                  .size(),
              3u);

    expectFailed(byVolume(1, "vol-a"), -6, "Invalid client id received");
    expectFailed(byVolumeV2(5, "", 1), -2, "Volume name is empty");
    expectEachFault({{"reading the points", "fetch", 0, -4, "Could not get RP information from the database"}},
                    [&] { return byVolumeV2(5, "{g-fan}", 1); });
    expectNoMemoryAtEachArray(1, [&] { return byVolume(5, "vol-a"); });
}

TEST_F(RPLookupTest, EveryDestinationPointOfAClient)
{
    QueryAnswer a = allOf(5);
    expectDone(a);
    EXPECT_EQ(a.rps, HostFivePoints);
    a = allOf(6);
    expectDone(a);
    EXPECT_TRUE(a.rps.empty());
    expectFailed(allOf(1), -6, "Invalid client id received");
    expectEachFault({{"reading the points", "fetch", 0, -4, "Could not get list of RPs from the database"}},
                    [&] { return allOf(5); });
    expectNoMemoryAtEachArray(1, [&] { return allOf(5); });
}

// ---- The pairs feeding a point ---------------------------------------------------------

TEST_F(RPLookupTest, FanInDetailsNameEachPairsPathsSourceAndSet)
{
    QueryAnswer a = fanIn(2);
    expectDone(a);
    EXPECT_EQ(a.details, (Rows{"/src/a2:/dst/a:8:40:src-a.net:set-40:5", "/src/b:/dst/b:8:40:src-a.net:set-40:5"}));
    a = fanIn(3);
    expectDone(a);
    EXPECT_EQ(a.details, Rows{"/src/c:/dst/c:9:41:src-b.net:set-41:5"});

    // A point without pair rows has one detail of "N/A".
    a = fanIn(4);
    expectDone(a);
    EXPECT_EQ(a.details, Rows{"N/A:N/A:0:0:N/A:N/A:0"});

    expectFailed(fanIn(0), -6, "Invalid Recovery point id received");
    expectEachFault({{"counting the pair rows", "fetch", 0, -4, "Could not get pairinformation from the database"},
                     {"reading the pairs", "fetch", 2, -4, "Could not get RP information from the database"}},
                    [&] { return fanIn(2); });
    expectNoMemoryAtEachArray(1, [&] { return fanIn(2); });
}

// ---- One snapshot, one point ----------------------------------------------------------------

TEST_F(RPLookupTest, ASnapshotById)
{
    for (int32_t id : {1, 2, 5}) {
        QueryAnswer a = snapshot(id);
        expectDone(a);
        EXPECT_EQ(a.snaps, StoredSnaps({id}, 2));
    }
    expectFailed(snapshot(0), -6, "Invalid FLR snap id [ FLR Snap id < 0 ]");
    expectFailed(snapshot(99), -3, "FLR Snapshot was not found in the database");
    expectEachFault({{"reading the snapshot", "getInfo", 0, -4, "Could not get FLR snapshot information from the database"}},
                    [&] { return snapshot(1); });
}

TEST_F(RPLookupTest, APointByIdWithItsTypeAndWholeFlags)
{
    for (int32_t id : {1, 2, 3}) {
        QueryAnswer a = point(id);
        expectDone(a);
        EXPECT_EQ(a.cp, StoredCP(id, 3));
    }
    // The archive bit shows only in the Flags word.
    EXPECT_EQ(point(3).cp, "3:1500:41:700:0:0:0:9:0:1:8");
    EXPECT_EQ(LogEntriesWith("REPLICA_PM_GET_CP_BY_ID_RESP to client...\n\tRet.CP.flag :8\n\toQueryResp.CP.flag :8").size(),
              2u);

    expectFailed(point(-1), -6, "Invalid FLR CP id [ FLR CP id < 0 ]");
    expectFailed(point(99), -3, "FLR Snapshot was not found in the database");
    EXPECT_EQ(LogEntriesWith("\n\tRet.CP.flag :0\n\toQueryResp.CP.flag :0").size(), 2u);
    expectEachFault({{"reading the point", "getInfo", 0, -4, "Could not get FLR snapshot information from the database"}},
                    [&] { return point(1); });
}

// ---- Points of a client for an application type ---------------------------------------------

TEST_F(RPLookupTest, PointsOfAClientForAnApplicationType)
{
    // Type 0: the points whose source is the client.
    QueryAnswer a = ofApplication(8, 0);
    expectDone(a);
    EXPECT_EQ(a.cps, (Rows{StoredCP(1, 1), StoredCP(2, 1)}));
    // Type 84 by its name: the points holding a pair of the client's subclients.
    a = ofApplication(8, 84);
    expectDone(a);
    EXPECT_EQ(a.cps, (Rows{StoredCP(1, 1), StoredCP(2, 1)}));
    a = ofApplication(9, 84);
    expectDone(a);
    EXPECT_EQ(a.cps, Rows{StoredCP(3, 1)});

    // A type with no points of the client: success and nothing.
    ASSERT_EQ(HostConfig::addAppType(85, "Other"), 0);
    a = ofApplication(8, 85);
    expectDone(a);
    EXPECT_TRUE(a.cps.empty());
    EXPECT_EQ(LogEntriesWith("\tNo FLR Application found\n\tClient Id = 8\n\tApp Type  = 85").size(), 1u);

    expectFailed(ofApplication(0, 0), -2, "Invalid client id or AppType");
    expectFailed(ofApplication(8, -1), -2, "Invalid client id or AppType");
    expectFailed(ofApplication(7, 0), -3, "Could not find the FLR consistency point record(s) in the database");
    expectFailed(ofApplication(8, 77), -17, "Cannot check application information from the database");
    expectEachFault(
        {{"reading the point ids", "fetch", 0, -4, "Could not get Replication sets associated with the application"},
         {"reading the points", "getList", 0, -4, "Could not get list of FLR Consistency point records from the database"}},
        [&] { return ofApplication(8, 84); });
    expectNoMemoryAtEachArray(1, [&] { return ofApplication(8, 84); });
}

TEST_F(RPLookupTest, ExchangeTypesGoByOneNameWithoutAskingTheConfiguration)
{
    ASSERT_EQ(HostConfig::addAppType(15, "Exchange Database"), 0);
    addPair(215, 9, 41, "mailbox", 15);
    storePair(5, 215);  // point 4's snapshot
    for (int32_t type : {9, 15, 53}) {
        SCOPED_TRACE(type);
        HostConfig::failNext("GetAppTypeName");
        QueryAnswer a = ofApplication(9, type);
        expectDone(a);
        EXPECT_EQ(a.cps, Rows{StoredCP(4, 1)});
        HostDBFaults::clear();
    }
    EXPECT_TRUE(IsThisExchangeApplication(53));
    EXPECT_FALSE(IsThisExchangeApplication(84));
}

// ---- Whether any point concerns a client ---------------------------------------------------------

// The points whose source is the client, and the pair rows of destination
// points that hold a pair of the client's sets.
TEST_F(RPLookupTest, PointsOfAClientAsSourceAndInItsSetsPairs)
{
    EXPECT_EQ(anyRP(8, true).Count, 4u);  // points 1 and 2; pair rows 3 and 4 of point 2
    EXPECT_EQ(anyRP(9, true).Count, 2u);  // points 3 and 4; no instance
    doesClientHaveAnyRPsRet_t ret = anyRP(1, false);
    EXPECT_EQ(ret.errCode, -6);
    EXPECT_EQ(ret.errMsg, "Invalid client id");

    struct Fault {
        const char* what;
        void (*arm)();
        int32_t code;
        const char* text;
    };
    const Fault faults[] = {
        {"counting", [] { HostDBFaults::failNext("getNRows", 5); }, -4, "Cannot get the list of RPs from the DB"},
        {"instances", [] { HostConfig::failNext("getInstanceList"); }, -17, "Failed to query list of instances in the client"},
        {"sets", [] { HostConfig::failNext("getBackupSetList"); }, -17, "Failed to query list of replication pairs"},
        {"pairs", [] { HostConfig::failNext("getSubclientList"); }, -17,
         "Failed to query possible fan in snapshot(s). Cannot get the Replication set's pair list"},
        {"destination points", [] { HostDBFaults::failNext("fetch", 5); }, -4,
         "Could not get Fan In RPs associated with the client"},
    };
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.what);
        f.arm();
        ret = anyRP(8, false);
        EXPECT_EQ(ret.Count, 0u);
        EXPECT_EQ(ret.errCode, f.code);
        EXPECT_EQ(ret.errMsg, f.text);
        HostDBFaults::clear();
    }
}

}  // namespace
