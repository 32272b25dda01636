// The snapshot state queries: the mounted snapshots of a client through post
// in both versions, the VSS question through post, and the block-filter
// volumes of a client; each with its refusals and failing steps.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "cleanup/SnapshotStates.h"
#include "host/HostConfig.h"
#include "host/ZxSync.h"
#include "host/db/DBtable.h"
#include "service/Utils.h"
#include "snr/SNRPostFixture.h"
#include "support/CatalogueFiles.h"
#include "support/NamedMutexes.h"

namespace {

// An entry as sent: kind, mount point id, source device name, snapshot name,
// mount path, share name ("(null)" for a null text), share id, remount type.
using MountedSnap = std::tuple<int32_t, int32_t, std::string, std::string, std::string, std::string, int32_t, int32_t>;

std::string Text(const char* text) { return text != nullptr ? text : "(null)"; }

struct StateAnswer {
    unsigned long code = 0;
    unsigned long size = 0;
    uint32_t status = 0;
    int32_t errCode = 0;
    std::string errMsg;
    bool arrayNull = true;
    std::vector<MountedSnap> snaps;
    std::string sourceGUID;  // the VSS reply's texts, "(null)" for null
    std::string shadowSetId;
};

const unsigned long MountedV1 = 0x350001fb;
const unsigned long Mounted70 = 0x35000230;

}  // namespace

class SnapshotStatesTest : public SNRPostTest<StateAnswer> {
protected:
    void SetUp() override
    {
        SNRPostTest::SetUp();
        // 2 alpha and 5 delta of release 13; 3 beta of release 12 with the
        // agent; 4 gamma of release 10 without it.
        struct Seed {
            int id;
            const char* name;
            int release;
        };
        for (const Seed& s : {Seed{2, "alpha", 13}, Seed{3, "beta", 12}, Seed{4, "gamma", 10}, Seed{5, "delta", 13}}) {
            HostClientSeed c;
            c.id = s.id;
            c.name = s.name;
            c.netHostName = std::string(s.name) + ".net";
            c.releaseId = s.release;
            ASSERT_EQ(HostConfig::addClient(c), 0);
        }
        ASSERT_EQ(HostConfig::addPackage(3, 1007), 0);

        // Alpha: replica 1 of volume 60 (client 8's device "srcdev") on its
        // device 1, mounted at /m1 (and unmounted at /m2); FLR snapshots of
        // types 2 (shared), 4 and 3. Beta: one FLR snapshot of type 1.
        exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES "
             "(1, 2, 50, 'repdev'), (2, 8, 60, 'srcdev');"
             "INSERT INTO YBVolume (id, CurrentRole, PhysicalVolumeId, SnapVolumeId, SnapEngineType, PrimaryVolumeId) "
             "VALUES (1, 5, 50, 60, 1, 60);"
             "INSERT INTO YBMountPoint (id, DeviceNameId, Path, Flags) VALUES (1, 1, '/m1', 0), (2, 1, '/m2', 2);"
             "INSERT INTO YBFLRConsistencyPoint (id, CreationTime, FLRSetId, JobId, ClientId, SrcClientId, Type) VALUES "
             "(2, 1000, 40, 77, 2, 7, 1), (3, 1000, 41, 78, 3, 7, 1);"
             "INSERT INTO YBFLRSnapshot (id, ConsistencyPointId, Name, SnapVolumeName, VolumeGUID, Type, SnapshotPath) "
             "VALUES (10, 2, 'snapB', 'C:', '{g1}', 2, 'p10'), (11, 2, 'snapC', 'D:', '{g2}', 4, NULL), "
             "(12, 2, 'snapD', 'E:', '{g3}', 3, NULL), (13, 3, 'snapE', 'F:', '{g4}', 1, NULL);"
             "INSERT INTO YBFLRSnapMountPoint (id, SnapshotId, MountPath) VALUES "
             "(20, 10, '/mnt/b'), (21, 11, '/mnt/c'), (22, 12, '/mnt/d'), (23, 13, '/mnt/e');"
             "INSERT INTO YBFLRSnapNetworkShare (id, MountPointId, NetShareName) VALUES (30, 20, 'share-b');");
    }
    void TearDown() override
    {
        AllocReplyArray = &malloc;
        ZxNamedMutex::setWaitScale(1.0);
        SNRPostTest::TearDown();
    }

    StateAnswer decode(const void* data, unsigned long) override
    {
        StateAnswer a;
        if (vss) {
            auto r = static_cast<const repIsDevVSSSnapResp*>(data);
            a.status = r->status;
            a.errCode = r->errCode;
            a.errMsg = r->errMsg ? r->errMsg : "";
            a.sourceGUID = Text(r->SourceVolumeGUID);
            a.shadowSetId = Text(r->ShadowSetId);
            return a;
        }
        auto r = static_cast<const repQueryMountedSnapsResp*>(data);
        a.status = r->status;
        a.errCode = r->errCode;
        a.errMsg = r->errMsg ? r->errMsg : "";
        a.arrayNull = r->snaps == nullptr;
        for (uint32_t i = 0; i < r->count; ++i) {
            const repMountedSnapRec& e = r->snaps[i];
            a.snaps.push_back(MountedSnap{e.Kind, e.MountPointId, Text(e.SrcDevName), Text(e.SnapName),
                                          Text(e.MountPath), Text(e.NetShareName), e.NetShareId, e.RemountSnapType});
        }
        return a;
    }

    StateAnswer mounted(const char* host, unsigned long code = Mounted70)
    {
        vss = false;
        repQueryMountedSnapsReq req{const_cast<char*>(host)};
        return post(code, &req, sizeof(repQueryMountedSnapsResp));
    }
    StateAnswer isVSS(int32_t deviceId)
    {
        vss = true;
        repIsDevVSSSnapReq req{deviceId};
        return post(0x35000234, &req, sizeof(repIsDevVSSSnapResp));
    }

    static void expectFailure(const StateAnswer& a, int32_t code, const std::string& text)
    {
        EXPECT_EQ(a.status, 0u) << text;
        EXPECT_EQ(a.errCode, code) << text;
        EXPECT_EQ(a.errMsg, text);
        EXPECT_TRUE(a.arrayNull) << text;
        EXPECT_TRUE(a.snaps.empty()) << text;
    }

    // Alpha's mounted snapshots as version 70 sends them.
    static std::vector<MountedSnap> Alpha70()
    {
        return {
            {1, 1, "srcdev", "repdev", "/m1", "(null)", -1, 1},
            {2, 20, "{g1}", "snapB", "/mnt/b", "share-b", 30, 2},
            {2, 21, "{g2}", "snapC", "/mnt/c", "(null)", -1, 3},
            {2, 22, "{g3}", "snapD", "/mnt/d", "(null)", -1, 0},
        };
    }

    bool vss = false;
};

// ---- Mounted snapshots ----------------------------------------------------------------

TEST_F(SnapshotStatesTest, MountedSnapshotsVolumeSnapshotsFirstWithTheirRemountTypes)
{
    StateAnswer a = mounted("alpha.net");
    ASSERT_EQ(a.status, 1u) << a.errMsg;
    EXPECT_EQ(a.errCode, 0);
    EXPECT_EQ(a.snaps, Alpha70());

    // Version 1: the same entries, the remount type's bytes left 0.
    StateAnswer v1 = mounted("alpha.net", MountedV1);
    ASSERT_EQ(v1.status, 1u) << v1.errMsg;
    std::vector<MountedSnap> expected = Alpha70();
    for (MountedSnap& s : expected) std::get<7>(s) = 0;
    EXPECT_EQ(v1.snaps, expected);

    // Release 12 with the agent is read like a newer one.
    StateAnswer beta = mounted("beta.net");
    ASSERT_EQ(beta.status, 1u) << beta.errMsg;
    EXPECT_EQ(beta.snaps, (std::vector<MountedSnap>{{2, 23, "{g4}", "snapE", "/mnt/e", "(null)", -1, 1}}));

    StateAnswer none = mounted("delta.net");
    EXPECT_EQ(none.status, 1u);
    EXPECT_TRUE(none.arrayNull);
}

TEST_F(SnapshotStatesTest, AnOldReleaseWithoutTheAgentHasNoMountedSnapshots)
{
    exec("INSERT INTO YBFLRConsistencyPoint (id, ClientId, Type) VALUES (4, 4, 1);"
         "INSERT INTO YBFLRSnapshot (id, ConsistencyPointId, Name) VALUES (14, 4, 'snapG');"
         "INSERT INTO YBFLRSnapMountPoint (id, SnapshotId, MountPath) VALUES (24, 14, '/mnt/g')");
    StateAnswer gamma = mounted("gamma.net");
    EXPECT_EQ(gamma.status, 1u);
    EXPECT_TRUE(gamma.arrayNull);
    EXPECT_EQ(LogEntriesWith("\tEvent: Pendrel is not installed\n\tClient Id   = 4\n\tClient Name = gamma.net").size(),
              1u);

    // A release that cannot be read is taken for an old one: alpha has no agent.
    HostConfig::failNext("getReleaseId");
    StateAnswer unknownRelease = mounted("alpha.net");
    EXPECT_EQ(unknownRelease.status, 1u);
    EXPECT_TRUE(unknownRelease.snaps.empty());
    EXPECT_EQ(mounted("alpha.net").snaps.size(), 4u);
}

TEST_F(SnapshotStatesTest, MountedSnapshotsOfAHostNotKnownByItsNetworkName)
{
    expectFailure(mounted(nullptr), -2, "Host name is missing");
    expectFailure(mounted(""), -2, "Host name is missing");
    // Alpha is its plain name, not its network name.
    expectFailure(mounted("alpha"), -17, "Could not find host information in the DB");
    EXPECT_EQ(LogEntriesWith("\n\tClient Name  = alpha\n\tApp Mgr Code = 2").size(), 1u);

    HostConfig::failNext("lookup");
    expectFailure(mounted("alpha.net"), -17, "Could not find host information in the DB");
    HostConfig::failNext("getClientId");
    expectFailure(mounted("alpha.net"), -17, "Could not find host's id in the DB");
    HostConfig::failNext("isInstalled");
    expectFailure(mounted("beta.net"), -17, "Could not check if Pendrel is installed in the host");
    EXPECT_EQ(LogEntriesWith("\n\tClient Name  = beta.net\n\tClient Id    = 3\n\tApp Mgr Code = 1").size(), 1u);
}

TEST_F(SnapshotStatesTest, MountedSnapshotsFailingReadsAndReplyArray)
{
    HostDBFaults::failNext("fetch", 5);
    expectFailure(mounted("alpha.net"), -4, "Could not get mounted MVS snapshots");
    // Alpha's volume cursor takes two fetches (its row, its end); then the FLR
    // cursor's first, and its second after one row was read.
    HostDBFaults::failNext("fetch", 5, 2);
    expectFailure(mounted("alpha.net"), -4, "Could not get mounted FLR snapshots");
    HostDBFaults::failNext("fetch", 5, 3);
    expectFailure(mounted("alpha.net", MountedV1), -4, "Could not get mounted FLR snapshots");
    EXPECT_EQ(LogEntriesWith("\n\tgetNextRow(YBQueryMountedFLRSnapsByClientId &) failed\n\tClient Id : 2\n\t"
                             "DB Err Code = 5")
                  .size(),
              2u);
    HostDBFaults::clear();

    AllocReplyArray = [](size_t) -> void* { return nullptr; };
    expectFailure(mounted("alpha.net"), -5, "No memory available to perform operation");
    // Nothing to allocate for an empty list.
    EXPECT_EQ(mounted("delta.net").status, 1u);
}

TEST_F(SnapshotStatesTest, MountedSnapshotsOnARefusedCatalogue)
{
    const std::string foreign = m_dir + "/foreign.db";
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(foreign.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE Accounts (id INTEGER PRIMARY KEY)", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    DBtran::useCatalogue(foreign);
    StateAnswer refused = mounted("alpha.net");
    StateAnswer refusedVSS = isVSS(1);
    DBtran::useCatalogue(m_path);
    RemoveCatalogueFiles(foreign);

    expectFailure(refused, -7, "Could not initiated database transactions");
    EXPECT_EQ(refusedVSS.status, 0u);
    EXPECT_EQ(refusedVSS.errCode, -7);
    EXPECT_EQ(mounted("alpha.net").snaps.size(), 4u);
}

// ---- VSS snapshots ---------------------------------------------------------------

class VSSSnapTest : public SnapshotStatesTest {
protected:
    void SetUp() override
    {
        SnapshotStatesTest::SetUp();
        // Devices 40 to 46 of client 2 on volumes 70 to 77; the role-2
        // replicas of those volumes, engine 2 unless said.
        exec("INSERT INTO YBPhysicalVolume (id, UniqueId, UniqueSnapshotID) VALUES "
             "(70, 'u70', 'host:{set}:{shadow-70}'), (71, 'u71', 'no-separator'), (72, 'u72', 'host:'), "
             "(74, 'u74', 'x:y'), (75, 'u75', 'x:y'), (76, 'u76', 'x:y');"
             "INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (40, 2, 70, 'v70'), "
             "(41, 2, 71, 'v71'), (42, 2, 72, 'v72'), (43, 2, 74, 'v74'), (44, 2, 75, 'v75'), (45, 2, 76, 'v76'), "
             "(46, 2, 77, 'v77');"
             "INSERT INTO YBVolume (id, CurrentRole, PhysicalVolumeId, SnapEngineType, SourceGUID) VALUES "
             "(101, 2, 70, 2, '{source-70}'), (102, 2, 71, 2, '{source-71}'), (103, 2, 72, 2, '{source-72}'), "
             "(104, 5, 74, 2, '{source-74}'), (105, 2, 75, 1, '{source-75}'), (106, 2, 76, 2, ''), "
             "(107, 2, 76, 2, ''), (108, 2, 77, 2, '{source-77}')");
    }

    void expectNoSnapshot(int32_t deviceId)
    {
        StateAnswer a = isVSS(deviceId);
        EXPECT_EQ(a.status, 1u) << deviceId << ": " << a.errMsg;
        EXPECT_EQ(a.errMsg, "");
        EXPECT_EQ(a.sourceGUID, "(null)") << deviceId;
        EXPECT_EQ(a.shadowSetId, "(null)") << deviceId;
    }
    void expectVSSFailure(int32_t deviceId, int32_t code, const std::string& text)
    {
        StateAnswer a = isVSS(deviceId);
        EXPECT_EQ(a.status, 0u) << deviceId;
        EXPECT_EQ(a.errCode, code) << deviceId;
        EXPECT_EQ(a.errMsg, text) << deviceId;
        EXPECT_EQ(a.sourceGUID, "(null)") << deviceId;
        EXPECT_EQ(a.shadowSetId, "(null)") << deviceId;
    }
};

TEST_F(VSSSnapTest, ShadowSetIdFollowsTheLastSeparator)
{
    StateAnswer a = isVSS(40);
    ASSERT_EQ(a.status, 1u) << a.errMsg;
    EXPECT_EQ(a.sourceGUID, "{source-70}");
    EXPECT_EQ(a.shadowSetId, "{shadow-70}");

    expectVSSFailure(41, -21, "Shadow set id format is unknown");
    EXPECT_EQ(LogEntriesWith("\n\tShadow set id = no-separator").size(), 1u);
    // An id that ends in its separator names no shadow set.
    expectVSSFailure(42, -21, "Shadow set id format is unknown");
}

TEST_F(VSSSnapTest, DevicesThatAreNoVSSSnapshots)
{
    expectNoSnapshot(999);  // no such device
    expectNoSnapshot(43);   // its volume's replica is in role 5
    expectNoSnapshot(44);   // a snapshot of engine 1
    expectNoSnapshot(1);    // a device without a replica on its volume
    expectVSSFailure(0, -6, "Invalid Device id");
    expectVSSFailure(-1, -6, "Invalid Device id");
    expectVSSFailure(45, -13, "Multiple entries found in the DB for the same snapshot");
    EXPECT_EQ(LogEntriesWith("\n\tsWhere      = CurrentRole = 2 AND PhysicalVolumeId = 76\n\tNRows       = 2").size(),
              1u);
    // Volume 77 has no row.
    expectVSSFailure(46, -4, "Cannot obtain the shadow set id of the snapshot");
}

TEST_F(VSSSnapTest, FailingStepsAnswerWithTheirCodes)
{
    HostDBFaults::failNext("getInfo", 5);
    expectVSSFailure(40, -4, "Failure detected when checkin the status of physical device");
    HostDBFaults::failNext("getList", 5);
    expectVSSFailure(40, -4, "Failure detected when checking snapshot information (if any)");
    HostDBFaults::failNext("getInfo", 5, 1);  // the volume's, after the device's
    expectVSSFailure(40, -4, "Cannot obtain the shadow set id of the snapshot");
    EXPECT_EQ(LogEntriesWith("\n\tCSNRVolumeDB::getInfo() failed\n\tId          = 70\n\tDB Err Code = 5").size(), 1u);
    HostDBFaults::failNext("startTran", 5);
    expectVSSFailure(40, -7, "Could not initiated database transactions");
    HostDBFaults::clear();
    EXPECT_EQ(isVSS(40).shadowSetId, "{shadow-70}");
}

// ---- Block-filter volumes ---------------------------------------------------------

class BlockFilterVolumesTest : public SnapshotStatesTest {
protected:
    void SetUp() override
    {
        SnapshotStatesTest::SetUp();
        // Client 5's filter files of active subclients of types 65, 76 and 47
        // (SNR volume 150 of type 1; 151 of type 2 does not count); another
        // client's and an inactive subclient's.
        exec("INSERT INTO DHT_Application (id, clientId, appTypeId, subclientStatus) VALUES "
             "(1, 5, 65, 0), (2, 5, 76, 0), (3, 5, 47, 0), (4, 6, 65, 0), (5, 5, 65, 1);"
             "INSERT INTO DHT_ScFilterFile (componentNameId, fileName, Type, modified) VALUES "
             "(1, 'C:' || char(19) || 'x', 1, 0), (1, 'E:\\', 1, 0), (1, '   ', 1, 0), "
             "(2, 'G:' || char(21) || '9', 1, 0), (3, '150' || char(21) || '1', 1, 0), "
             "(3, '151' || char(21) || '1', 1, 0), (4, 'H:', 1, 0), (5, 'I:', 1, 0);"
             "INSERT INTO YBPhysicalVolume (id, UniqueId, Type) VALUES (150, 'u150', 1), (151, 'u151', 2);"
             "INSERT INTO YBPhysicalDevice (ClientId, SNRVolumeId, DeviceName) VALUES (5, 150, 'A:'), (5, 151, 'B:')");
    }

    bool volumesOf(int32_t clientId, GetVolumesUsingTheBlockFilterDriverRet_t& ret)
    {
        GetVolumesUsingTheBlockFilterDriverArgs_t args;
        args.ClientId = clientId;
        return mgr.GetVolumesUsingTheBlockFilterDriver(args, ret, nullptr);
    }
};

TEST_F(BlockFilterVolumesTest, VolumesWithoutTheirTrailingBlanks)
{
    GetVolumesUsingTheBlockFilterDriverRet_t ret;
    ret.Volumes.push_back("stale");
    ASSERT_TRUE(volumesOf(5, ret)) << ret.errMsg;
    // A name of blanks only keeps its first blank.
    EXPECT_EQ(ret.Volumes, (std::vector<std::string>{" ", "A:", "C:\\", "E:\\", "G:"}));
    EXPECT_EQ(ret.errMsg, "");
    EXPECT_EQ(LogEntriesWith("\tVolume Content: C:\\").size(), 1u);

    GetVolumesUsingTheBlockFilterDriverRet_t none;
    EXPECT_TRUE(volumesOf(0, none));
    EXPECT_TRUE(none.Volumes.empty());
    EXPECT_TRUE(NamedMutexIsFree("BlockFilterQuery"));
}

TEST_F(BlockFilterVolumesTest, RefusalsAndFailuresReleaseTheLock)
{
    GetVolumesUsingTheBlockFilterDriverRet_t ret;
    EXPECT_FALSE(volumesOf(-1, ret));
    EXPECT_EQ(ret.errCode, -6);
    EXPECT_EQ(ret.errMsg, "Invalid Client id");
    EXPECT_TRUE(NamedMutexIsFree("BlockFilterQuery"));

    HostDBFaults::failNext("fetch", 5, 1);  // after one volume was read
    GetVolumesUsingTheBlockFilterDriverRet_t failed;
    EXPECT_FALSE(volumesOf(5, failed));
    EXPECT_EQ(failed.errCode, -4);
    EXPECT_EQ(failed.errMsg, "Cannot get the list of volumes used for the block filter from the database");
    EXPECT_TRUE(failed.Volumes.empty());
    EXPECT_TRUE(NamedMutexIsFree("BlockFilterQuery"));

    ZxNamedMutex::setWaitScale(0.001);  // the 60 s wait becomes 60 ms
    GetVolumesUsingTheBlockFilterDriverRet_t refused;
    {
        NamedMutexHeldElsewhere held("BlockFilterQuery");
        EXPECT_FALSE(volumesOf(5, refused));
    }
    EXPECT_EQ(refused.errCode, -8);
    EXPECT_EQ(refused.errMsg, "Cannot have exclusive access to BlockFilterQuery");
    GetVolumesUsingTheBlockFilterDriverRet_t after;
    EXPECT_TRUE(volumesOf(5, after));
    EXPECT_EQ(after.Volumes.size(), 5u);
}
