#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/db/DBStatementRegistry.h"
#include "rows/Db/Cursor/YBFLRGetRPByClientIdAndVolGuid.h"
#include "rows/Db/Cursor/YBFLRGetRPByClientIdAndVolName.h"
#include "rows/Db/Cursor/YBGetCopyMgrCtrls.h"
#include "rows/Db/Cursor/YBGetFLRPairPath.h"
#include "rows/Db/Cursor/YBGetFLRPairPathByCPId.h"
#include "rows/Db/Cursor/YBGetFLRSnapsByDestClientId.h"
#include "rows/Db/Cursor/YBGetSCListByYBPolicy.h"
#include "rows/Db/Cursor/YBGetSubclientVolumes.h"
#include "rows/Db/Cursor/YBGetVEHosts.h"
#include "rows/Db/Cursor/YBGetVolumesUsingBlkFilterDriver.h"
#include "rows/Db/Cursor/YBGetYBFileList.h"
#include "rows/Db/Cursor/YBGetYBPolicyList.h"
#include "rows/Db/Cursor/YBGetYBPrimaryVolByClient.h"
#include "rows/Db/Cursor/YBQueryFanInLatestRP.h"
#include "rows/Db/Cursor/YBQueryInt.h"
#include "rows/Db/Cursor/YBQueryMountedFLRSnapsByClientId.h"
#include "rows/Db/Cursor/YBQueryMountedSnapsByClientId.h"
#include "rows/Db/Cursor/YBQueryYBFileById.h"
#include "rows/Db/Cursor/YBQueryYBFileByName.h"
#include "rows/Db/Cursor/YBQueryYBFileByVolId.h"
#include "rows/Db/Proc/DhtGetOSType.h"
#include "rows/Db/Proc/YBGetAllRPsbyDstClientId.h"
#include "rows/Db/Proc/YBGetCPsBYClientIDAndAppType.h"
#include "rows/Db/Proc/YB_GetJobDetailsForYBSAPOracle.h"
#include "rows/Db/Proc/YB_GetJobListForYBSAPOracle.h"
#include "support/TestCatalogue.h"

namespace {

class FileFlrFamilyTest : public CatalogueTest {
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        DBStatementRegistry::restoreCatalogueStatements();
    }

    template <class Family>
    std::vector<typename Family::Row> rowsOf(Family& family, int expectedRc = 0)
    {
        std::vector<typename Family::Row> rows;
        EXPECT_EQ(ZXDBReadList(family, rows), expectedRc);
        return rows;
    }
};

// Each cursor reserves twice its text length plus the room of its arguments.
TEST_F(FileFlrFamilyTest, CursorsReserveTheirSizes)
{
#define RESERVES(N, SIZE, ...)              \
    {                                       \
        N family(nullptr);                  \
        family.setValues(__VA_ARGS__);      \
        EXPECT_EQ(family.getReservedSize(), static_cast<unsigned long>(SIZE)) << #N; \
    }
    RESERVES(YBGetYBFileList, 198)
    RESERVES(YBQueryYBFileByVolId, 266, 3)
    RESERVES(YBQueryYBFileByName, 2 * (119 + 5), "a.txt")
    RESERVES(YBQueryYBFileById, 254, 3)
    RESERVES(YBGetYBPolicyList, 184)
    RESERVES(YBGetSCListByYBPolicy, 896, 1, 2)
    RESERVES(YBGetSubclientVolumes, 1388)
    RESERVES(YBGetVEHosts, 3416)
    RESERVES(YBGetCopyMgrCtrls, 1968)
    RESERVES(YBQueryInt, 2 * (36 + 8), "SELECT 1")
    RESERVES(YBGetFLRPairPath, 2 * (313 + 12 + 4), 5, "1, 2")
    RESERVES(YBGetFLRSnapsByDestClientId, 438, 4)
    RESERVES(YBFLRGetRPByClientIdAndVolName, 2 * (338 + 12 + 2), 4, "C:")
    RESERVES(YBFLRGetRPByClientIdAndVolGuid, 2 * (334 + 12 + 3), 4, "{g}")
    RESERVES(YBGetFLRPairPathByCPId, 3294, 4)
    RESERVES(YBQueryFanInLatestRP, 2 * (246 + 12 + 3), 4, "{g}")
    RESERVES(YBGetYBPrimaryVolByClient, 700, 4)
    RESERVES(YBGetVolumesUsingBlkFilterDriver, 3854, 4)
    RESERVES(YBQueryMountedSnapsByClientId, 996, 4)
    RESERVES(YBQueryMountedFLRSnapsByClientId, 1020, 4)
#undef RESERVES

    YBGetCopyMgrCtrls controllers(nullptr);
    EXPECT_EQ(controllers.description, "Cursor YBGetCopyMgrCtrls");
    EXPECT_STREQ(controllers.columnList, "CMCId, CMName, CMType, MAId, ClientId, NetHostName, OSId, OSName");
    YBQueryYBFileByName byName(nullptr);
    byName.setValues("a.txt");
    EXPECT_STREQ(byName.getStatementText(),
                 "SET NOCOUNT ON \n\tSELECT id, VolumeId, Name, Flags \n\tFROM YBFile \n\tWHERE Name = 'a.txt' "
                 "\n\tORDER BY id ASC \n\tSET NOCOUNT OFF");
}

TEST_F(FileFlrFamilyTest, ProceduresFormatOrBindTheirArguments)
{
    {
        BaseMode mode(false);
        YBGetCPsBYClientIDAndAppType cps(nullptr);
        cps.setValues(7, "abc");
        EXPECT_EQ(cps.getReservedSize(), 23UL);
        EXPECT_STREQ(cps.getStatementText(), "7,N'abc'");
        EXPECT_STREQ(cps.procStamp, "00d:0000000000000000");
        EXPECT_EQ(cps.description, "Procedure YBGetCPsBYClientIDAndAppType");
        YBGetAllRPsbyDstClientId rps(nullptr);
        rps.setValues(12);
        EXPECT_EQ(rps.getReservedSize(), 14UL);
        EXPECT_STREQ(rps.getStatementText(), "12");
        DhtGetOSType os(nullptr);
        os.setValues(7);
        EXPECT_EQ(os.getReservedSize(), 14UL);
        EXPECT_STREQ(os.getStatementText(), "7");
        YB_GetJobDetailsForYBSAPOracle details(nullptr);
        details.setValues(2, 3, "abc", 5000000000LL);
        EXPECT_EQ(details.getReservedSize(), 64UL);
        EXPECT_STREQ(details.getStatementText(), "2,3,'abc',5000000000");
    }
    {
        BaseMode mode(true);
        YBGetCPsBYClientIDAndAppType cps(nullptr);
        cps.setValues(7, "abc");
        ASSERT_EQ(cps.getBoundInputs().size(), 2U);
        EXPECT_EQ(cps.getBoundInputs()[0]->getDataType(), DB_COL_INT32);
        EXPECT_EQ(cps.getBoundInputs()[1]->getDataType(), DB_COL_TEXT);
        EXPECT_EQ(cps.inputsBound, 1);
    }
}

TEST_F(FileFlrFamilyTest, StoredFilesByListVolumeNameAndId)
{
    exec("INSERT INTO YBFile (id, VolumeId, Name, Content, Flags) VALUES "
         "(3, 10, 'it''s.txt', 'x', 4), (1, 10, 'a.txt', 'y', 0), (2, 11, 'A.TXT', 'z', 1), (5, 12, 'b', '', 0);");
    YBGetYBFileList all(nullptr);
    all.setValues();
    auto rows = rowsOf(all);
    ASSERT_EQ(rows.size(), 4U);
    EXPECT_EQ(rows[0].id, 1);
    EXPECT_EQ(rows[3].id, 5);

    YBQueryYBFileByVolId byVol(nullptr);
    byVol.setValues(10);
    auto volRows = rowsOf(byVol);
    ASSERT_EQ(volRows.size(), 2U);
    EXPECT_EQ(volRows[0].id, 1);
    EXPECT_EQ(volRows[1].id, 3);
    EXPECT_EQ(volRows[1].Flags, 4);
    byVol.setValues(99);
    EXPECT_TRUE(rowsOf(byVol).empty());

    // A quote inside the name is part of the name, nothing else.
    YBQueryYBFileByName byName(nullptr);
    byName.setValues("it's.txt");
    auto nameRows = rowsOf(byName);
    ASSERT_EQ(nameRows.size(), 1U);
    EXPECT_STREQ(nameRows[0].Name, "it's.txt");
    byName.setValues("x' OR '1'='1");
    EXPECT_TRUE(rowsOf(byName).empty());
    byName.setValues("a.txt");
    nameRows = rowsOf(byName);
    ASSERT_EQ(nameRows.size(), 2U);  // names compare without regard to case
    EXPECT_EQ(nameRows[0].VolumeId, 10);
    EXPECT_EQ(nameRows[1].VolumeId, 11);

    YBQueryYBFileById byId(nullptr);
    byId.setValues(2);
    ASSERT_EQ(ZXDBReadOne(byId), 0);
    EXPECT_STREQ(byId.getDataPtr()->Name, "A.TXT");
    byId.setValues(4);
    EXPECT_EQ(ZXDBReadOne(byId), 100);
}

TEST_F(FileFlrFamilyTest, PoliciesAndSubclientsOfAPolicy)
{
    exec("INSERT INTO YBPolicy VALUES (0, 'zero', 1, 2, 3, 4, 5, 6, 7), (2, 'p2', 60, 3, 4, 5, 6, 7, 8), "
         "(-1, 'neg', 0, 0, 0, 0, 0, 0, 0), (1, 'p1', 30, 1, 0, 0, 0, 0, 0);"
         "INSERT INTO DHT_Application (id, clientId, appTypeId, subclientStatus) VALUES "
         "(10, 1, 50, 0), (11, 1, 50, 0), (12, 1, 50, 1), (13, 1, 50, 0), (14, 1, 47, 0), (15, 1, 50, 0), "
         "(16, 1, 50, 0), (17, 1, 50, 0), (18, 1, 50, 0);"
         "INSERT INTO DHT_SubClientProp (componentNameId, attrName, attrVal, modified) VALUES "
         "(10, 'Replication Policy', '2', 0), (11, 'replication policy', ' 2 ', 0), (12, 'Replication Policy', '2', 0), "
         "(13, 'Replication Policy', '2', 99), (14, 'Replication Policy', '2', 0), (15, 'Replication Policy', '1.5', 0), "
         "(16, 'Replication Policy', '1e3', 0), (17, 'Replication Policy', 'abc', 0), "
         "(18, 'Replication Policy', '99999999999', 0);");
    YBGetYBPolicyList policies(nullptr);
    policies.setValues();
    auto rows = rowsOf(policies);
    ASSERT_EQ(rows.size(), 2U);
    EXPECT_EQ(rows[0].id, 1);
    EXPECT_EQ(rows[1].id, 2);
    EXPECT_STREQ(rows[1].name, "p2");
    EXPECT_EQ(rows[1].RetentionSeconds, 60);
    EXPECT_EQ(rows[1].CopyManagerType, 8);

    // Values an integer conversion refuses are skipped, not a failure.
    YBGetSCListByYBPolicy list(nullptr);
    list.setValues(2, 50);
    auto ids = rowsOf(list);
    ASSERT_EQ(ids.size(), 2U);
    EXPECT_EQ(ids[0].SCId, 10);
    EXPECT_EQ(ids[1].SCId, 11);
    list.setValues(2, 47);  // armed again for the next type
    ids = rowsOf(list);
    ASSERT_EQ(ids.size(), 1U);
    EXPECT_EQ(ids[0].SCId, 14);
    list.setValues(1, 50);
    EXPECT_TRUE(rowsOf(list).empty());
}

TEST_F(FileFlrFamilyTest, SubclientVolumesFromFilterNames)
{
    exec("INSERT INTO DHT_Application (id, appTypeId, subclientStatus) VALUES (1, 50, 0), (2, 47, 0), (3, 50, 1), "
         "(4, 13, 0);"
         "INSERT INTO DHT_ScFilterFile (componentNameId, fileName, Type, modified) VALUES "
         "(1, '12' || char(21) || 'abc', 1, 0), (2, '12' || char(21) || 'abc', 1, 0), (2, '7' || char(21), 1, 0), "
         "(1, 'x', 2, 0), (1, 'y', 1, 5), (3, 'z', 1, 0), (4, 'w', 1, 0);");
    YBGetSubclientVolumes volumes(nullptr);
    volumes.setValues();
    auto rows = rowsOf(volumes);
    ASSERT_EQ(rows.size(), 2U);
    EXPECT_EQ(rows[0].VolumeId, 12);
    EXPECT_EQ(rows[1].VolumeId, 7);

    exec("INSERT INTO DHT_ScFilterFile (componentNameId, fileName, Type, modified) VALUES (1, 'noseparator', 1, 0);");
    volumes.setValues();
    std::vector<YBGetSubclientVolumes_t> out;
    EXPECT_NE(ZXDBReadList(volumes, out), 0);
    exec("DELETE FROM DHT_ScFilterFile WHERE fileName = 'noseparator';"
         "INSERT INTO DHT_ScFilterFile (componentNameId, fileName, Type, modified) VALUES (1, '1.5' || char(21), 1, 0);");
    volumes.setValues();
    out.clear();
    EXPECT_NE(ZXDBReadList(volumes, out), 0);
}

TEST_F(FileFlrFamilyTest, VEHostsAndCopyManagerControllers)
{
    exec("INSERT INTO DHT_OperatingSystem VALUES (3, 'Windows Server', '2019', 'Windows'), (36, 'Linux', '5', 'Unix');"
         "INSERT INTO DHT_Client (id, name, net_hostname, status, dhtOperatingSystemId, release) VALUES "
         "(1, 'c1', 'h1', 0, 3, 'r1'), (2, 'c2', 'h2', 128, 36, ''), (3, 'c3', 'h3', 0, 36, ''), "
         "(4, 'c4', 'h4', 2, 3, ''), (5, 'c5', 'h5', 0, 999, ''), (6, 'c6', 'h6', 4096, 3, '');"
         // 1: platform 2 twice and an agent: once. 2: platform 4 with listed agents and HotSpot: once.
         // 3: platform 4 with an unlisted agent and HotSpot: through the second part only.
         // 4: status refused. 5: unlisted system. 6: platform 4, unlisted agent, no HotSpot.
         "INSERT INTO DHT_Platform (clientId, platformType) VALUES (1, 2), (1, 2), (2, 4), (3, 4), (4, 2), (5, 2), (6, 4);"
         "INSERT INTO DHT_AgtName (ClientId, appTypeId) VALUES (1, 47), (2, 47), (2, 50), (3, 99), (6, 99);"
         "INSERT INTO DHT_ClientProp (componentNameId, attrName, attrVal, modified) VALUES "
         "(2, 'HotSpot', '1', 0), (3, 'hotspot', '1', 0), (1, 'Open System SnapVault', '1', 0), "
         "(1, 'Other', 'x', 0), (1, 'Other2', 'y', 0), (2, 'ONTAP SnapVault', '1', 7), (3, 'ONTAP SnapVault', '1', 0);"
         "INSERT INTO DHCopyManager VALUES (1, 'cm-plain', 2), (2, 'cm-ossv', 5), (3, 'cm-ontap', 6);"
         "INSERT INTO DHCopyManagerCtrl VALUES (10, 1, 1), (11, 2, 1), (12, 3, 2), (13, 3, 3), (14, 1, 5), (15, 2, 2);");
    YBGetVEHosts hosts(nullptr);
    hosts.setValues();
    auto rows = rowsOf(hosts);
    ASSERT_EQ(rows.size(), 3U);
    EXPECT_EQ(rows[0].ClientId, 1);
    EXPECT_STREQ(rows[0].ClientNetworkHostName, "h1");
    EXPECT_EQ(rows[1].ClientId, 2);
    EXPECT_EQ(rows[2].ClientId, 3);

    YBGetCopyMgrCtrls controllers(nullptr);
    controllers.setValues();
    auto ctrls = rowsOf(controllers);
    // 10: type 2, client with properties, once. 11: type 5 with the property.
    // 12: type 6 but the property is not current. 13: type 6 with it.
    // 14: client without properties. 15: type 5 without the property.
    ASSERT_EQ(ctrls.size(), 3U);
    EXPECT_EQ(ctrls[0].CMCId, 10);
    EXPECT_STREQ(ctrls[0].CMName, "cm-plain");
    EXPECT_EQ(ctrls[0].CMType, 2);
    EXPECT_EQ(ctrls[0].MAId, 1);
    EXPECT_EQ(ctrls[0].ClientId, 1);
    EXPECT_STREQ(ctrls[0].NetHostName, "h1");
    EXPECT_EQ(ctrls[0].OSId, 3);
    EXPECT_STREQ(ctrls[0].OSName, "Windows Server");
    EXPECT_EQ(ctrls[1].CMCId, 11);
    EXPECT_EQ(ctrls[2].CMCId, 13);
    EXPECT_STREQ(ctrls[2].OSName, "Linux");

    DhtGetOSType os(nullptr);
    os.setValues(1);
    ASSERT_EQ(os.openCursor(), 0);
    ASSERT_EQ(os.fetchCursor(true), 0);
    EXPECT_EQ(os.getDataPtr()->o_dhtOSId, 3);
    EXPECT_STREQ(os.getDataPtr()->o_dhtOSType, "Windows");
    EXPECT_STREQ(os.getDataPtr()->o_dhtOSRelease, "2019");
    EXPECT_STREQ(os.getDataPtr()->o_hostName, "h1");
    EXPECT_STREQ(os.getDataPtr()->o_release, "r1");
    EXPECT_EQ(os.fetchCursor(true), 100);
    os.closeCursor();
}

// Two consistency points of client 5 (one of type 0), pairs 100 and 101 of
// subclients of client 7 in replication set 40.
const char* const kFlrSeed =
    "INSERT INTO YBFLRConsistencyPoint (id, CreationTime, FLRSetId, JobId, ClientId, SrcClientId, Type) VALUES "
    "(2, 1000, 40, 77, 5, 7, 1), (1, 2000, 40, 78, 5, 7, 1), (3, 3000, 40, 79, 5, 7, 0), (4, 500, 41, 80, 6, 7, 1);"
    "INSERT INTO YBFLRSnapshot (id, ConsistencyPointId, Name, SnapVolumeName, VolumeGUID, Type, SnapshotPath) VALUES "
    "(10, 2, 'snapB', 'C:', '{g1}', 2, 'p10'), (11, 1, 'snapA', 'C:', '{g1}', 2, ''), (12, 3, 'snapC', 'C:', '{g1}', 1, ''), "
    "(13, 1, 'snapD', 'D''s', '{g''2}', 1, NULL), (14, 4, 'snapE', 'C:', '{g1}', 1, '');"
    "INSERT INTO YBFLRSnapMountPoint (id, SnapshotId, MountPath) VALUES (20, 10, '/mnt/b'), (21, 13, '/mnt/d');"
    "INSERT INTO YBFLRSnapNetworkShare (id, MountPointId, NetShareName) VALUES (30, 20, 'share-b');"
    "INSERT INTO YBFLRSnapPair (SnapshotId, PairId) VALUES (10, 100), (10, 101), (11, 100), (10, 102);"
    "INSERT INTO DHT_Client (id, net_hostname) VALUES (7, 'src7');"
    "INSERT INTO DHT_BackupSetName (id, Name) VALUES (40, 'set40');"
    "INSERT INTO DHT_AppType (id, name) VALUES (33, 'File System'), (34, 'Exchange Database');"
    "INSERT INTO DHT_Application (id, clientId, appTypeId, backupSet) VALUES (100, 7, 33, 40), (101, 7, 34, 40);"
    "INSERT INTO DHT_ScReplicationPair (pairId, propType, stringVal, created, modified) VALUES "
    "(100, 10001, '/src/100', 900, 0), (100, 10002, '/dst/100', 900, 1000), "
    "(101, 10002, '/dst/101', 900, 0), (101, 10001, '/src/101-late', 1500, 0), "
    "(101, 10001, '/src/101-old', 100, 999), (100, 10003, '/other', 0, 0);";

TEST_F(FileFlrFamilyTest, PairPathsValidAtAPointInTime)
{
    exec(kFlrSeed);
    YBGetFLRPairPath paths(nullptr);
    paths.setValues(1000, "100, 101");
    auto rows = rowsOf(paths);
    // 100 both (modified 1000 is at the time), 101 only its destination: the
    // late source was created after, the old one modified before.
    ASSERT_EQ(rows.size(), 3U);
    EXPECT_EQ(rows[0].PairId, 100);
    EXPECT_EQ(rows[0].PathType, 10001);
    EXPECT_STREQ(rows[0].Path, "/src/100");
    EXPECT_EQ(rows[1].PairId, 100);
    EXPECT_EQ(rows[1].PathType, 10002);
    EXPECT_EQ(rows[2].PairId, 101);
    EXPECT_STREQ(rows[2].Path, "/dst/101");
    EXPECT_FALSE(paths.isListRefused());

    // Blanks and tabs the list check lets through are accepted by the database too.
    paths.setValues(1000, "100,\t101 ");
    EXPECT_FALSE(paths.isListRefused());
    EXPECT_EQ(rowsOf(paths).size(), 3U);

    paths.setValues(1001, "100,100");
    rows = rowsOf(paths);
    ASSERT_EQ(rows.size(), 1U);
    EXPECT_EQ(rows[0].PathType, 10001);

    for (const char* bad : {"", "100; DROP TABLE YBFile", "1.5", "100,", "1) OR (1=1", "99999999999", "zz"}) {
        paths.setValues(1000, bad);
        EXPECT_TRUE(paths.isListRefused()) << bad;
        EXPECT_EQ(std::string(paths.getStatementText()).find(bad[0] != '\0' ? bad : "\x01"), std::string::npos) << bad;
        std::vector<YBGetFLRPairPath_t> out;
        EXPECT_NE(ZXDBReadList(paths, out), 0) << bad;
        EXPECT_TRUE(out.empty());
    }
    EXPECT_TRUE(YBGetFLRPairPath::isPairIdList(" -3 ,4,+5"));
}

TEST_F(FileFlrFamilyTest, RecoveryPointsOfAClient)
{
    exec(kFlrSeed);
    YBGetFLRSnapsByDestClientId snaps(nullptr);
    snaps.setValues(5);
    auto snapRows = rowsOf(snaps);
    ASSERT_EQ(snapRows.size(), 4U);
    EXPECT_STREQ(snapRows[0].Name, "snapA");
    EXPECT_EQ(snapRows[0].CPId, 1);
    EXPECT_STREQ(snapRows[3].Name, "snapD");
    snaps.setValues(99);
    EXPECT_TRUE(rowsOf(snaps).empty());

    YBFLRGetRPByClientIdAndVolName byName(nullptr);
    byName.setValues(5, "C:");
    auto rows = rowsOf(byName);
    ASSERT_EQ(rows.size(), 2U);  // type 0 point 3 left out, ascending id
    EXPECT_EQ(rows[0].CPId, 1);
    EXPECT_STREQ(rows[0].Name, "snapA");
    EXPECT_STREQ(rows[0].MountPoint, "");
    EXPECT_EQ(rows[0].JobId, 78);
    EXPECT_EQ(rows[1].CPId, 2);
    EXPECT_EQ(rows[1].CreationTime, 1000);
    EXPECT_STREQ(rows[1].MountPoint, "/mnt/b");
    byName.setValues(5, "D's");
    rows = rowsOf(byName);
    ASSERT_EQ(rows.size(), 1U);
    EXPECT_STREQ(rows[0].MountPoint, "/mnt/d");

    YBFLRGetRPByClientIdAndVolGuid byGuid(nullptr);
    byGuid.setValues(5, "{g'2}");
    auto guidRows = rowsOf(byGuid);
    ASSERT_EQ(guidRows.size(), 1U);
    EXPECT_EQ(guidRows[0].CPId, 1);

    YBGetAllRPsbyDstClientId all(nullptr);
    all.setValues(5);
    auto rps = rowsOf(all);
    ASSERT_EQ(rps.size(), 2U);
    EXPECT_EQ(rps[0].CpId, 1);
    EXPECT_STREQ(rps[0].szName, "snapA");
    EXPECT_EQ(rps[1].llJobId, 77);
    EXPECT_STREQ(rps[1].szMountPoint, "/mnt/b");

    YBGetCPsBYClientIDAndAppType cps(nullptr);
    cps.setValues(7, "Exchange Database");
    auto cpIds = rowsOf(cps);
    ASSERT_EQ(cpIds.size(), 1U);
    EXPECT_EQ(cpIds[0].CpId, 2);
    cps.setValues(7, "File System");
    EXPECT_EQ(rowsOf(cps).size(), 2U);
}

TEST_F(FileFlrFamilyTest, FanInDetailsAndLatestRecoveryPoint)
{
    exec(kFlrSeed);
    YBGetFLRPairPathByCPId details(nullptr);
    details.setValues(2);
    auto rows = rowsOf(details);
    // Pair 102 has no subclient: no row.
    ASSERT_EQ(rows.size(), 2U);
    EXPECT_STREQ(rows[0].SrcPath, "/src/100");
    EXPECT_STREQ(rows[0].DstPath, "/dst/100");
    EXPECT_EQ(rows[0].SrcClientId, 7);
    EXPECT_STREQ(rows[0].SrcClientNetName, "src7");
    EXPECT_EQ(rows[0].RepSetId, 40);
    EXPECT_STREQ(rows[0].RepSetName, "set40");
    EXPECT_EQ(rows[0].DstClientId, 5);
    EXPECT_STREQ(rows[1].SrcPath, "");  // no source path valid at 1000
    EXPECT_STREQ(rows[1].DstPath, "/dst/101");
    details.setValues(999);
    EXPECT_TRUE(rowsOf(details).empty());

    YBQueryFanInLatestRP latest(nullptr);
    latest.setValues(40, "{g1}");
    auto ids = rowsOf(latest);
    ASSERT_EQ(ids.size(), 1U);
    EXPECT_EQ(ids[0].RPId, 1);  // created 2000; point 3 is newer but of type 0
    latest.setValues(40, "{none}");
    EXPECT_TRUE(rowsOf(latest).empty());

    YBQueryInt count(nullptr);
    count.setValues("SELECT COUNT(P.id) FROM YBFLRSnapshot S, YBFLRSnapPair P WHERE S.ConsistencyPointId = 2 AND S.Id = P.SnapshotId");
    auto values = rowsOf(count);
    ASSERT_EQ(values.size(), 1U);
    EXPECT_EQ(values[0].IntValue, 3);
    count.setValues(" SELECT state FROM JCJobInfo WHERE JobId = 5");
    EXPECT_TRUE(rowsOf(count).empty());
}

TEST_F(FileFlrFamilyTest, MountedSnapshotsOfAClient)
{
    exec(kFlrSeed);
    YBQueryMountedFLRSnapsByClientId flr(nullptr);
    flr.setValues(5);
    auto rows = rowsOf(flr);
    ASSERT_EQ(rows.size(), 2U);
    EXPECT_STREQ(rows[0].SrcDevName, "{g1}");
    EXPECT_STREQ(rows[0].SnapName, "snapB");
    EXPECT_EQ(rows[0].Type, 2);
    EXPECT_STREQ(rows[0].MountPath, "/mnt/b");
    EXPECT_EQ(rows[0].MountPointId, 20);
    EXPECT_EQ(rows[0].NetShareId, 30);
    EXPECT_STREQ(rows[0].NetShareName, "share-b");
    EXPECT_STREQ(rows[0].SnapshotPath, "p10");
    EXPECT_EQ(rows[1].MountPointId, 21);
    EXPECT_EQ(rows[1].NetShareId, -1);
    EXPECT_STREQ(rows[1].NetShareName, " ");
    EXPECT_STREQ(rows[1].SnapshotPath, " ");

    exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES "
         "(1, 5, 50, 'repdev'), (2, 8, 60, 'srcdev'), (3, 5, 70, 'other');"
         "INSERT INTO YBVolume (id, CurrentRole, PhysicalVolumeId, SnapVolumeId, SnapEngineType, PrimaryVolumeId) VALUES "
         "(1, 5, 50, 60, 1, 60), (2, 5, 70, 60, 2, 60), (3, 4, 50, 60, 1, 60);"
         "INSERT INTO YBMountPoint (id, DeviceNameId, Path, Flags) VALUES (1, 1, '/m1', 0), (2, 1, '/m2', 2), "
         "(3, 3, '/m3', 0);");
    YBQueryMountedSnapsByClientId mounted(nullptr);
    mounted.setValues(5);
    auto mounts = rowsOf(mounted);
    ASSERT_EQ(mounts.size(), 1U);  // volume 2 has engine 2, volume 3 role 4; mount 2 has flag 2
    EXPECT_STREQ(mounts[0].SrcDevName, "srcdev");
    EXPECT_STREQ(mounts[0].SnapName, "repdev");
    EXPECT_STREQ(mounts[0].MountPath, "/m1");
    EXPECT_EQ(mounts[0].MountPointId, 1);
    EXPECT_EQ(mounts[0].Type, 1);

    // Replicas elsewhere of client 8's volume 60: volumes 1, 2 and 3 (on client 5).
    YBGetYBPrimaryVolByClient primaries(nullptr);
    primaries.setValues(8);
    auto vols = rowsOf(primaries);
    ASSERT_EQ(vols.size(), 3U);
    EXPECT_EQ(vols[0].id, 1);
    EXPECT_EQ(vols[1].SnapEngineType, 2);
    EXPECT_EQ(vols[2].CurrentRole, 4);
    primaries.setValues(5);
    EXPECT_TRUE(rowsOf(primaries).empty());
}

TEST_F(FileFlrFamilyTest, BlockFilterVolumes)
{
    exec("INSERT INTO DHT_Application (id, clientId, appTypeId, subclientStatus) VALUES "
         "(1, 5, 65, 0), (2, 5, 76, 0), (3, 5, 47, 0), (4, 6, 65, 0), (5, 5, 65, 1);"
         "INSERT INTO DHT_ScFilterFile (componentNameId, fileName, Type, modified) VALUES "
         "(1, 'C:' || char(19) || 'x' || char(19) || 'y', 1, 0), (1, 'E:\\', 1, 0), (1, 'E:\\ ', 1, 0), "
         "(1, 'F:', 1, 3), (2, 'G:' || char(21) || '9', 1, 0), (2, 'nosep', 1, 0), "
         "(3, '050' || char(21) || '1', 1, 0), (3, '51' || char(21) || '1', 1, 0), (4, 'H:', 1, 0), (5, 'I:', 1, 0);"
         "INSERT INTO YBPhysicalVolume (id, Type) VALUES (50, 1), (51, 2);"
         "INSERT INTO YBPhysicalDevice (ClientId, SNRVolumeId, DeviceName) VALUES (5, 50, 'A:'), (5, 51, 'B:');");
    YBGetVolumesUsingBlkFilterDriver volumes(nullptr);
    volumes.setValues(5);
    auto rows = rowsOf(volumes);
    std::vector<std::string> names;
    for (const auto& row : rows) {
        std::string name(row.Volume);
        EXPECT_EQ(name.size(), 1024U);  // char(1024), blank-padded
        names.push_back(name.substr(0, name.find_last_not_of(' ') + 1));
    }
    // "C:\x\y" cut after its first separator; "E:\" and "E:\ " are one volume;
    // "050" names SNR volume 50.
    EXPECT_EQ(names, (std::vector<std::string>{"A:", "C:\\", "E:\\", "G:"}));
}

TEST_F(FileFlrFamilyTest, SAPOracleJobViews)
{
    int code = (5 << 25) + 1;
    exec("INSERT INTO YBSAPOracleJob VALUES (7, 2, " + std::to_string(code) + ", 'ORA1', 100), (9, 2, " +
         std::to_string(code) + ", 'ora1', 200), (11, 2, " + std::to_string(code) + ", 'ORA2', 300);"
         "INSERT INTO YBJobVolumeHistory (JobId_l, SrcVolId, SrcClientId, DstVolId, DstClientId) VALUES "
         "(7, 1, 2, 3, 4), (9, 5, 2, 6, 4), (7, 8, 2, 9, 4);"
         "INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId) VALUES (1, 2, 1), (2, 4, 3);"
         "INSERT INTO YBMountPoint (DeviceNameId, Path) VALUES (1, '/src1'), (2, '/dst3');");
    YB_GetJobListForYBSAPOracle list(nullptr);
    list.setValues(2, code, "ORA1");
    auto jobs = rowsOf(list);
    ASSERT_EQ(jobs.size(), 2U);
    EXPECT_EQ(jobs[0].o_jobId, 7);
    EXPECT_EQ(jobs[0].o_creationTime, 100);
    EXPECT_EQ(jobs[1].o_jobId, 9);

    YB_GetJobDetailsForYBSAPOracle details(nullptr);
    details.setValues(2, code, "ORA1", 7LL);
    auto vols = rowsOf(details);
    ASSERT_EQ(vols.size(), 2U);
    EXPECT_EQ(vols[0].o_jobId, 7);
    EXPECT_EQ(vols[0].o_srcVolId, 1);
    EXPECT_EQ(vols[0].o_destVolId, 3);
    EXPECT_STREQ(vols[0].o_srcMountPath, "/src1");
    EXPECT_STREQ(vols[0].o_destMountPath, "/dst3");
    EXPECT_STREQ(vols[1].o_srcMountPath, "");
    details.setValues(2, code, "ORA1", 0LL);
    EXPECT_EQ(rowsOf(details).size(), 3U);
}

}  // namespace
