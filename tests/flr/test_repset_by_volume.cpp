// Which replication set holds each destination volume, through post: GUIDs
// scripted in the client fakes, volumes of the excluded set, volumes without
// a GUID, hosts that give no GUIDs, and every failing step.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flr/FLRQueryFixture.h"
#include "support/TestHost.h"

namespace {

using Rows = std::vector<std::string>;

class RepSetByVolumeTest : public FLRQueryTest {
protected:
    void SetUp() override
    {
        FLRQueryTest::SetUp();
        fakes.fakes().setVolumeGUID("E:\\", "{g-fan}");
        fakes.fakes().setVolumeGUID("F:\\", "{g-a}");
        fakes.fakes().setVolumeGUID("G:\\", "{g-none}");
        // H:\ has no GUID on the host; snapshot 5 (of point 4, set 41) has none either.
    }

    QueryAnswer find(const std::vector<std::string>& paths, int32_t excluded)
    {
        std::vector<char*> texts;
        for (const std::string& p : paths) texts.push_back(RequestText(p));
        repFindRepSetByVolumeReq req{static_cast<uint32_t>(texts.size()), texts.empty() ? nullptr : texts.data(),
                                     excluded};
        return send(0x350001f3, &req, sizeof(repFindRepSetByVolumeResp));
    }

    static std::string none(const std::string& path) { return path + ":(null):(null):-1:-1"; }

    ClientFakesScope fakes;
    const std::vector<std::string> fourPaths{"E:\\", "F:\\", "G:\\", "H:\\"};
};

TEST_F(RepSetByVolumeTest, EachVolumeNamesTheSetOfItsOldestSnapshotUnlessItIsTheExcludedOne)
{
    // {g-fan}: snapshot 4 of set 41 (1500) is older than snapshot 3 of set 40;
    // {g-a} is held by the excluded set; {g-none} by nobody; H:\ has no GUID.
    QueryAnswer a = find(fourPaths, 40);
    expectDone(a);
    EXPECT_EQ(a.volumes, (Rows{"E:\\:set-41:dst-host:41:5", none("F:\\"), none("G:\\"), none("H:\\")}));

    // The client service of the excluded set's destination host was asked once.
    const auto calls = fakes.fakes().calls("FindVolumeGUID");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].client, "dst-host.net");
    EXPECT_EQ(calls[0].clientId, 5);
    EXPECT_EQ(calls[0].args, fourPaths);
    EXPECT_EQ(LogEntriesWith("\tEvent: No GUID for the volume\n\tVolume = H:\\").size(), 1u);

    // Excluding set 41: its snapshot is the oldest on {g-fan}, so the volume
    // is free although set 40 has a newer one there.
    a = find({"E:\\", "F:\\"}, 41);
    expectDone(a);
    EXPECT_EQ(a.volumes, (Rows{none("E:\\"), "F:\\:set-40:dst-host:40:5"}));
}

// A volume the client gives no GUID for is no volume of the catalogue, even
// where snapshot rows without a GUID are stored; a host whose client service
// gives no GUIDs is not asked.
TEST_F(RepSetByVolumeTest, VolumesWithoutAGuidAreHeldByNoSet)
{
    QueryAnswer a = find({"H:\\"}, 40);
    expectDone(a);
    EXPECT_EQ(a.volumes, Rows{none("H:\\")});

    fakes.fakes().reset();
    a = find(fourPaths, 42);  // destination host 6
    expectDone(a);
    EXPECT_EQ(a.volumes, (Rows{none("E:\\"), none("F:\\"), none("G:\\"), none("H:\\")}));
    EXPECT_TRUE(fakes.fakes().calls("FindVolumeGUID").empty());
}

// The client's answer is read for as many GUIDs as it gave and as paths were
// asked for.
TEST_F(RepSetByVolumeTest, AnAnswerWithMoreOrFewerGuidsThanPaths)
{
    fakes.fakes().setVolumeGUIDAnswer({"{g-fan}"});
    QueryAnswer a = find({"E:\\", "F:\\", "G:\\"}, 40);
    expectDone(a);
    EXPECT_EQ(a.volumes, (Rows{"E:\\:set-41:dst-host:41:5", none("F:\\"), none("G:\\")}));

    fakes.fakes().setVolumeGUIDAnswer({"{g-none}", "{g-fan}", "{g-fan}", "{g-fan}", "{g-fan}"});
    a = find({"E:\\", "F:\\"}, 40);
    expectDone(a);
    EXPECT_EQ(a.volumes, (Rows{none("E:\\"), "F:\\:set-41:dst-host:41:5"}));
}

TEST_F(RepSetByVolumeTest, NoPathsIsAnEmptyAnswer)
{
    QueryAnswer a = find({}, 0);
    expectDone(a);
    EXPECT_TRUE(a.volumes.empty());
    // A count without its array holds nothing.
    repFindRepSetByVolumeReq req{3, nullptr, 40};
    a = send(0x350001f3, &req, sizeof(repFindRepSetByVolumeResp));
    expectDone(a);
    EXPECT_TRUE(a.volumes.empty());
    EXPECT_TRUE(fakes.fakes().calls().empty());
}

TEST_F(RepSetByVolumeTest, EveryFailingStepAnswersItsCodeAndNoVolumes)
{
    expectFailed(find(fourPaths, 0), -6, "Cannot find the possible replication sets using the destination volumes");

    struct ConfigFault {
        const char* query;
        int32_t code;
        const char* text;
    };
    const ConfigFault configFaults[] = {
        {"getDestinationHostId", -17,
         "Failed to find the volume's replication set. Failed to find the replication set destination host"},
        {"lookup", -17, "Failed to lookup client."},
        {"getOperatingSystemId", -17, "Failed to get client OS id."},
        {"getNetworkHostnameMangled", -20, "Cannot find the volume's GUID"},
        {"getBackupSetName", -17, "Failed to find the snapshot's replication set"},
        {"getName", -17, "Failed to find the snapshot's host name"},
    };
    for (const ConfigFault& f : configFaults) {
        SCOPED_TRACE(f.query);
        HostConfig::failNext(f.query);
        expectFailed(find(fourPaths, 40), f.code, f.text);
        HostDBFaults::clear();
    }
    EXPECT_EQ(LogEntriesWith("Event: Failed to lookup client., client id: 5").size(), 1u);

    ASSERT_TRUE(fakes.fakes().failNext("FindVolumeGUID"));
    expectFailed(find(fourPaths, 40), -20, "Cannot find the volume's GUID");
    EXPECT_EQ(LogEntriesWith("\tZXSVCClientSession::FindVolumeGUID() failed\n\tInput:\n\tClientName      = "
                             "dst-host.net\n\tClient ID       = 5")
                  .size(),
              1u);

    expectEachFault({{"reading the volume's snapshots", "getList", 0, -4,
                      "Cannot check if the destination volume has snapshots. DB Err Code"},
                     {"reading the snapshot's point", "getInfo", 0, -4,
                      "Cannot check the consistency point of the destination volume. DB Err Code"}},
                    [&] { return find(fourPaths, 40); });

    // Without the reply's array the client is not asked.
    fakes.fakes().reset();
    fakes.fakes().keepJournal(true);
    expectNoMemoryAtEachArray(1, [&] { return find(fourPaths, 40); });
    EXPECT_TRUE(fakes.fakes().calls().empty());
}

}  // namespace
