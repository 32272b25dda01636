#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "host/db/DBConnection.h"
#include "support/TestCatalogue.h"
#include "rows/Db/Cursor/YBBrowseByClient1.h"
#include "rows/Db/Cursor/YBBrowseByClient2.h"
#include "rows/Db/Cursor/YBBrowseByClient3.h"
#include "rows/Db/Cursor/YBBrowseByClient4.h"
#include "rows/Db/Cursor/YBBrowseByClient5.h"
#include "rows/Db/Cursor/YBBrowseByPolicy1.h"
#include "rows/Db/Cursor/YBBrowseByPolicy2.h"
#include "rows/Db/Cursor/YBBrowseByPolicy3.h"
#include "rows/Db/Cursor/YBBrowseByPolicy4.h"
#include "rows/Db/Cursor/YBBrowseByPolicy5.h"
#include "rows/Db/Cursor/YBNASBrowseByClient1.h"

namespace
{

const int kKind = 33554432;  // pathType of application kind 1

// Reads every row of a fresh cursor of family F; rc 0 or the database code.
template <class F, class... A>
int readAll(std::vector<typename F::Row>& rows, A... args)
{
    F cursor(nullptr);
    cursor.setValues(args...);
    rows.clear();
    return ZXDBReadList(cursor, rows);
}

template <class Row>
std::vector<int> ids(const std::vector<Row>& rows)
{
    std::vector<int> out;
    for (const Row& r : rows) out.push_back(r.id);
    std::sort(out.begin(), out.end());
    return out;
}

template <class Row>
const Row* byId(const std::vector<Row>& rows, int id)
{
    for (const Row& r : rows)
        if (r.id == id) return &r;
    return nullptr;
}

class BrowseFamilyTest : public CatalogueTest
{
protected:
    void exec(const std::string& sql)
    {
        std::shared_ptr<DBConnection> conn;
        ASSERT_EQ(dbThreadConnection(conn), 0);
        ASSERT_EQ(dbExec(*conn, sql.c_str()), 0) << sql;
    }

    void volume(int id, int primary, int physical, int policy, const std::string& dir = "")
    {
        exec(
            "INSERT INTO YBVolume (id, PointInTime, PrimaryVolumeId, PhysicalVolumeId, ReplicationPolicyId, JobId, "
            "SnapvaultReplicaDir, SourceGUID) VALUES (" +
            std::to_string(id) + ", " + std::to_string(id * 100) + ", " + std::to_string(primary) + ", " +
            std::to_string(physical) + ", " + std::to_string(policy) + ", 77, '" + dir + "', 'guid-" +
            std::to_string(id) + "')");
    }

    void snr(int id)
    {
        exec("INSERT INTO YBPhysicalVolume (id, UniqueId, StartLBA) VALUES (" + std::to_string(id) + ", 'uid-" +
             std::to_string(id) + "', 5000000000)");
    }

    void device(int id, int client, int snrId, const std::string& name)
    {
        exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (" + std::to_string(id) +
             ", " + std::to_string(client) + ", " + std::to_string(snrId) + ", '" + name + "')");
    }

    void appDir(int id, int volumeId, long long pathType, int subclient = 0)
    {
        exec("INSERT INTO YBApplicationDirs (id, subclientId, pathType, ReplicationVolumeId) VALUES (" +
             std::to_string(id) + ", " + std::to_string(subclient) + ", " + std::to_string(pathType) + ", " +
             std::to_string(volumeId) + ")");
    }

    void userApp(int id, const std::string& name)
    {
        exec("INSERT INTO YBUserApplicationDef (id, ClientId, ApplicationName) VALUES (" + std::to_string(id) +
             ", 1, '" + name + "')");
    }

    // A filter file entry "<volume>" char(21) "<user application>".
    void filterFile(int subclient, const std::string& volume, const std::string& app, int modified = 0)
    {
        exec("INSERT INTO DHT_ScFilterFile (componentNameId, fileName, Type, modified) VALUES (" +
             std::to_string(subclient) + ", '" + volume + "' || char(21) || '" + app + "', 1, " +
             std::to_string(modified) + ")");
    }

    bool tableExists(const std::string& name)
    {
        std::shared_ptr<DBConnection> conn;
        EXPECT_EQ(dbThreadConnection(conn), 0);
        sqlite3_stmt* stmt = nullptr;
        EXPECT_EQ(
            sqlite3_prepare_v2(conn->db, "SELECT count(*) FROM sqlite_master WHERE name = ?1", -1, &stmt, nullptr),
            SQLITE_OK);
        sqlite3_bind_text(stmt, 1, name.c_str(), -1, SQLITE_TRANSIENT);
        bool found = sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_int(stmt, 0) > 0;
        sqlite3_finalize(stmt);
        return found;
    }

    // SNR volumes 1..9. Client 5 has devices 1 and 2 on SNR volume 1 and
    // device 7 on SNR volume 9; client 6 device 3 on SNR volume 2; client 7
    // device 4 on SNR volume 3. Replication volumes (primary, physical,
    // policy): 10 (1, 3, 9), 11 (2, 4, 9), 12 (1, 6, 8), 13 (3, 5, 9) and 14
    // (7, 8, 9), the last without any device.
    void seedViews()
    {
        for (int i = 1; i <= 9; ++i) snr(i);
        device(1, 5, 1, "/dev/sdb");
        device(2, 5, 1, "/dev/sdc");
        device(3, 6, 2, "/dev/sdd");
        device(4, 7, 3, "/dev/sde");
        device(7, 5, 9, "/dev/sdf");
        volume(10, 1, 3, 9, "replica dir  ");
        volume(11, 2, 4, 9);
        volume(12, 1, 6, 8);
        volume(13, 3, 5, 9);
        volume(14, 7, 8, 9);
        // Scratch 20 on physical volume 3, 21 on volume 1 (a primary volume
        // only), 22 on physical volume 5.
        exec(
            "INSERT INTO YBScratchVolume (id, PhysicalVolumeId, RVScratchVolumePoolId, LockedByJobId) VALUES "
            "(20, 3, 1, 0), (21, 1, 1, 0), (22, 5, 2, 33)");
        // Mount points 30, 31 of device 1; 32 of device 4; 33 of device 3.
        exec(
            "INSERT INTO YBMountPoint (id, DeviceNameId, Path) VALUES (30, 1, '/mnt/a'), (31, 1, '/mnt/b'), "
            "(32, 4, '/mnt/c'), (33, 3, '/mnt/d')");
    }
};

}  // namespace

TEST_F(BrowseFamilyTest, TextsReservedSizesAndNames)
{
    struct Expected {
        const char* text;
        size_t length;
        const char* header;
    };
    const Expected first[] = {
        {YBBrowseByClient1_desc::text, 1820, YBBrowseByClient1_desc::headerPath},
        {YBNASBrowseByClient1_desc::text, 1974, YBNASBrowseByClient1_desc::headerPath},
        {YBBrowseByPolicy1_desc::text, 1816, YBBrowseByPolicy1_desc::headerPath},
    };
    for (const Expected& e : first) EXPECT_EQ(std::strlen(e.text), e.length) << e.header;
    EXPECT_STREQ(YBNASBrowseByClient1_desc::headerPath, "source/include/Db/Cursor/YBNASBrowseByClient1");

    YBBrowseByClient1 client(nullptr);
    client.setValues(42);
    EXPECT_EQ(client.getReservedSize(), 3664u);
    EXPECT_NE(std::strstr(client.getStatementText(), "WHERE D.ClientId = 42 and D.SNRVolumeId = Q.PrimaryVolumeId"),
              nullptr);
    EXPECT_EQ(client.description, "Cursor YBBrowseByClient1");
    EXPECT_EQ(std::string(client.columnList).substr(0, 15), "id, PointInTime");
    EXPECT_NE(std::strstr(client.columnList, "SnapvaultReplicaDir, SourceGUID, AppName"), nullptr);

    YBNASBrowseByClient1 nas(nullptr);
    nas.setValues(42);
    EXPECT_EQ(nas.getReservedSize(), 3972u);
    EXPECT_NE(std::strstr(nas.getStatementText(), "\n42 = CONVERT(int, SUBSTRING(D .DeviceName, 7,"), nullptr);

    YBBrowseByPolicy1 policy(nullptr);
    policy.setValues(3);
    EXPECT_EQ(policy.getReservedSize(), 3656u);
    EXPECT_NE(std::strstr(policy.getStatementText(), "WHERE Q.ReplicationPolicyId  = 3 \n"), nullptr);

    // The later steps: no argument, twice the text; the policy texts are the
    // client texts on the policy table.
    auto onPolicyTable = [](std::string text) {
        for (size_t at = text.find("##YBBrowseByClientTmp"); at != std::string::npos;
             at = text.find("##YBBrowseByClientTmp", at))
            text.replace(at, 21, "##YBBrowseByPolicyTmp");
        return text;
    };
    const char* clientTexts[] = {YBBrowseByClient2_desc::text, YBBrowseByClient3_desc::text,
                                 YBBrowseByClient4_desc::text, YBBrowseByClient5_desc::text};
    const char* policyTexts[] = {YBBrowseByPolicy2_desc::text, YBBrowseByPolicy3_desc::text,
                                 YBBrowseByPolicy4_desc::text, YBBrowseByPolicy5_desc::text};
    const size_t lengths[] = {181, 199, 164, 275};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(std::strlen(clientTexts[i]), lengths[i]);
        EXPECT_EQ(std::string(policyTexts[i]), onPolicyTable(clientTexts[i]));
    }
    YBBrowseByClient2 c2(nullptr);
    c2.setValues();
    EXPECT_EQ(c2.getReservedSize(), 362u);
    EXPECT_STREQ(c2.getStatementText(), YBBrowseByClient2_desc::text);
    YBBrowseByPolicy3 p3(nullptr);
    p3.setValues();
    EXPECT_EQ(p3.getReservedSize(), 398u);
    YBBrowseByClient4 c4(nullptr);
    c4.setValues();
    EXPECT_EQ(c4.getReservedSize(), 328u);
    YBBrowseByPolicy5 p5(nullptr);
    p5.setValues();
    EXPECT_EQ(p5.getReservedSize(), 550u);
    EXPECT_STREQ(p5.columnList, "id, DeviceNameId, Path, Flags");
}

TEST_F(BrowseFamilyTest, ClientViewStepsReturnEachRowOnce)
{
    seedViews();
    appDir(1, 10, 1LL * kKind);  // kind 1
    appDir(2, 13, 9LL * kKind);  // kind 9, not browsed

    std::vector<YBBrowseByClient1_t> volumes;
    ASSERT_EQ(readAll<YBBrowseByClient1>(volumes, 5), 0);
    // Two devices of the client on SNR volume 1: each replication volume once;
    // the others have their primary volume on other clients' devices or none.
    ASSERT_EQ(ids(volumes), (std::vector<int>{10, 12}));
    const YBBrowseByClient1_t* v10 = byId(volumes, 10);
    EXPECT_EQ(v10->PointInTime, 1000);
    EXPECT_EQ(v10->PrimaryVolumeId, 1);
    EXPECT_EQ(v10->PhysicalVolumeId, 3);
    EXPECT_EQ(v10->ReplicationPolicyId, 9);
    EXPECT_EQ(v10->JobId, 77);
    EXPECT_STREQ(v10->SnapvaultReplicaDir, "replica dir");  // read back without the padding blanks
    EXPECT_STREQ(v10->SourceGUID, "guid-10");
    EXPECT_STREQ(v10->AppName, "Exchange");
    EXPECT_STREQ(byId(volumes, 12)->AppName, "");  // no directory: NULL

    std::vector<YBBrowseByClient2_t> snrs;
    ASSERT_EQ(readAll<YBBrowseByClient2>(snrs), 0);
    // Volume 1 is the primary volume of both.
    EXPECT_EQ(ids(snrs), (std::vector<int>{1, 3, 6}));
    EXPECT_STREQ(byId(snrs, 3)->UniqueId, "uid-3");
    EXPECT_EQ(byId(snrs, 3)->StartLBA, 5000000000LL);

    std::vector<YBBrowseByClient3_t> devices;
    ASSERT_EQ(readAll<YBBrowseByClient3>(devices), 0);
    // Devices on those volumes, whichever client they belong to.
    EXPECT_EQ(ids(devices), (std::vector<int>{1, 2, 4}));
    EXPECT_STREQ(byId(devices, 4)->DeviceName, "/dev/sde");
    EXPECT_EQ(byId(devices, 4)->ClientId, 7);

    std::vector<YBBrowseByClient4_t> scratch;
    ASSERT_EQ(readAll<YBBrowseByClient4>(scratch), 0);
    // Only scratch volumes on a physical volume; 21 lies on a primary only.
    EXPECT_EQ(ids(scratch), (std::vector<int>{20}));
    EXPECT_EQ(scratch[0].PhysicalVolumeId, 3);

    std::vector<YBBrowseByClient5_t> mounts;
    ASSERT_EQ(readAll<YBBrowseByClient5>(mounts), 0);
    EXPECT_EQ(ids(mounts), (std::vector<int>{30, 31, 32}));
    EXPECT_STREQ(byId(mounts, 32)->Path, "/mnt/c");
    EXPECT_EQ(byId(mounts, 31)->DeviceNameId, 1);

    // Step 5 dropped the table: every later step now fails.
    EXPECT_FALSE(tableExists("YBBrowseByClientTmp"));
    int rc = readAll<YBBrowseByClient2>(snrs);
    EXPECT_NE(rc, 0);
    EXPECT_NE(rc, DB_NO_MORE_ROWS);
    EXPECT_NE(readAll<YBBrowseByClient3>(devices), 0);
    EXPECT_NE(readAll<YBBrowseByClient4>(scratch), 0);
    rc = readAll<YBBrowseByClient5>(mounts);
    EXPECT_NE(rc, 0);
    EXPECT_NE(rc, DB_NO_MORE_ROWS);
}

TEST_F(BrowseFamilyTest, PolicyViewTakesEveryVolumeOfThePolicy)
{
    seedViews();
    appDir(1, 10, 1LL * kKind);       // kind 1
    appDir(2, 11, 8LL * kKind + 17);  // kind 8
    appDir(3, 12, 6LL * kKind);
    appDir(4, 13, 0);

    std::vector<YBBrowseByPolicy1_t> volumes;
    ASSERT_EQ(readAll<YBBrowseByPolicy1>(volumes, 9), 0);
    ASSERT_EQ(ids(volumes), (std::vector<int>{10, 11, 13, 14}));  // 14 has no device at all
    EXPECT_STREQ(byId(volumes, 10)->AppName, "Exchange 2000 Database");
    EXPECT_STREQ(byId(volumes, 11)->AppName, "Unknown Application");
    EXPECT_STREQ(byId(volumes, 13)->AppName, "Exchange Database");
    EXPECT_STREQ(byId(volumes, 14)->AppName, "");
    EXPECT_EQ(byId(volumes, 14)->PrimaryVolumeId, 7);

    // Volume 3 is the physical volume of 10 and the primary volume of 13.
    std::vector<YBBrowseByPolicy2_t> snrs;
    ASSERT_EQ(readAll<YBBrowseByPolicy2>(snrs), 0);
    EXPECT_EQ(ids(snrs), (std::vector<int>{1, 2, 3, 4, 5, 7, 8}));
    std::vector<YBBrowseByPolicy3_t> devices;
    ASSERT_EQ(readAll<YBBrowseByPolicy3>(devices), 0);
    EXPECT_EQ(ids(devices), (std::vector<int>{1, 2, 3, 4}));
    std::vector<YBBrowseByPolicy4_t> scratch;
    ASSERT_EQ(readAll<YBBrowseByPolicy4>(scratch), 0);
    EXPECT_EQ(ids(scratch), (std::vector<int>{20, 22}));
    EXPECT_EQ(byId(scratch, 22)->LockedByJobId, 33);
    EXPECT_EQ(byId(scratch, 22)->RVScratchVolumePoolId, 2);
    std::vector<YBBrowseByPolicy5_t> mounts;
    ASSERT_EQ(readAll<YBBrowseByPolicy5>(mounts), 0);
    EXPECT_EQ(ids(mounts), (std::vector<int>{30, 31, 32, 33}));
    int rc = readAll<YBBrowseByPolicy2>(snrs);
    EXPECT_NE(rc, 0);
    EXPECT_NE(rc, DB_NO_MORE_ROWS);

    // Policy 8: kind 6 by the policy names; no scratch volume on its
    // physical volume (21 lies on its primary volume).
    ASSERT_EQ(readAll<YBBrowseByPolicy1>(volumes, 8), 0);
    ASSERT_EQ(ids(volumes), (std::vector<int>{12}));
    EXPECT_STREQ(volumes[0].AppName, "Exchange 2003 Database");
    ASSERT_EQ(readAll<YBBrowseByPolicy4>(scratch), 0);
    EXPECT_TRUE(scratch.empty());
}

TEST_F(BrowseFamilyTest, ApplicationNamesByKindDifferBetweenTheViews)
{
    const char* clientNames[] = {"Exchange",       "Exchange",        "SQL Server", "SQL Server",
                                 "Notes Database", "Oracle Database", "Exchange"};
    const char* policyNames[] = {"Exchange Database",     "Exchange 2000 Database", "SQL Server",
                                 "SQL Server 2000",       "Notes Database",         "Oracle Database",
                                 "Exchange 2003 Database"};
    snr(1);
    snr(2);
    device(1, 5, 1, "client5:/vol/vol0");
    for (int kind = 0; kind <= 9; ++kind) {
        volume(100 + kind, 1, 2, 4);
        appDir(100 + kind, 100 + kind, 1LL * kind * kKind + (kind == 3 ? kKind - 1 : 0));
    }
    std::vector<YBBrowseByClient1_t> client;
    std::vector<YBNASBrowseByClient1_t> nas;
    std::vector<YBBrowseByPolicy1_t> policy;
    ASSERT_EQ(readAll<YBBrowseByClient1>(client, 5), 0);
    ASSERT_EQ(readAll<YBNASBrowseByClient1>(nas, 5), 0);
    ASSERT_EQ(readAll<YBBrowseByPolicy1>(policy, 4), 0);
    ASSERT_EQ(client.size(), 10u);
    ASSERT_EQ(nas.size(), 10u);
    ASSERT_EQ(policy.size(), 10u);
    for (int kind = 0; kind <= 9; ++kind) {
        SCOPED_TRACE(kind);
        const int id = 100 + kind;
        if (kind == 7) {
            // No filter file names a user application: NULL.
            EXPECT_STREQ(byId(client, id)->AppName, "");
            EXPECT_STREQ(byId(policy, id)->AppName, "");
        } else if (kind > 7) {
            EXPECT_STREQ(byId(client, id)->AppName, "Unknown Application");
            EXPECT_STREQ(byId(nas, id)->AppName, "Unknown Application");
            EXPECT_STREQ(byId(policy, id)->AppName, "Unknown Application");
        } else {
            EXPECT_STREQ(byId(client, id)->AppName, clientNames[kind]);
            EXPECT_STREQ(byId(nas, id)->AppName, policyNames[kind]);
            EXPECT_STREQ(byId(policy, id)->AppName, policyNames[kind]);
        }
    }
}

TEST_F(BrowseFamilyTest, UserApplicationNamesOfKindSeven)
{
    snr(1);
    snr(2);
    snr(3);
    userApp(40, "Billing  ");
    userApp(41, "Ledger");
    userApp(42, "Other");
    volume(10, 1, 2, 4);
    volume(11, 3, 2, 4);
    volume(12, 2, 3, 4);
    volume(13, 1, 3, 4);
    appDir(1, 10, 7LL * kKind, 60);
    appDir(2, 11, 7LL * kKind, 61);
    appDir(3, 12, 7LL * kKind, 62);
    appDir(4, 13, 7LL * kKind, 63);
    filterFile(60, "1", "40");   // volume 10: primary 1, application 40
    filterFile(60, "3", "41");   // another volume of the same subclient
    filterFile(60, "x1", "41");  // not a volume id: no match, no failure
    filterFile(60, "1", "4 1");
    filterFile(61, "3", "41", 1);                                                       // modified: not current
    filterFile(62, " 2 ", "42 ");                                                       // blanks around the ids
    filterFile(63, "1", "");                                                            // no application id
    exec("INSERT INTO DHT_ScFilterFile (componentNameId, fileName) VALUES (63, '1')");  // no separator

    std::vector<YBBrowseByPolicy1_t> rows;
    ASSERT_EQ(readAll<YBBrowseByPolicy1>(rows, 4), 0);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_STREQ(byId(rows, 10)->AppName, "Billing");
    EXPECT_STREQ(byId(rows, 11)->AppName, "");
    EXPECT_STREQ(byId(rows, 12)->AppName, "Other");
    EXPECT_STREQ(byId(rows, 13)->AppName, "");

    // A second kind-7 directory of volume 10 whose filter files name two
    // applications for the volume: the subquery has two values, step 1 fails.
    filterFile(64, "1", "41");
    filterFile(64, "1", "42");
    appDir(5, 10, 7LL * kKind, 64);
    int rc = readAll<YBBrowseByPolicy1>(rows, 4);
    EXPECT_NE(rc, 0);
    EXPECT_NE(rc, DB_NO_MORE_ROWS);
    // The table it left behind is dropped by the next step 1.
    EXPECT_TRUE(tableExists("YBBrowseByPolicyTmp"));
    exec("DELETE FROM DHT_ScFilterFile WHERE componentNameId = 64 AND fileName LIKE '%42'");
    ASSERT_EQ(readAll<YBBrowseByPolicy1>(rows, 4), 0);
    EXPECT_EQ(rows.size(), 4u);
}

TEST_F(BrowseFamilyTest, NasClientDevicesByName)
{
    for (int i = 1; i <= 6; ++i) snr(i);
    // The client id is read from the device name; the device's ClientId plays
    // no part. Names of other forms simply do not match.
    device(1, 99, 1, "client5:/vol/vol0");
    device(2, 5, 2, "/dev/sdb");
    device(3, 0, 3, "client55:/vol/vol1");
    device(4, 0, 4, "nas-share");
    device(5, 0, 4, "clientX:/vol");
    device(6, 0, 4, "client5");
    device(7, 0, 4, "client:/vol");
    device(8, 0, 5, "CLIENT5:/vol/vol2");
    device(9, 0, 6, "client 5 :/vol/vol3");
    for (int v = 1; v <= 6; ++v) volume(10 + v, v, 1, 3);
    appDir(1, 11, 1LL * kKind);

    std::vector<YBNASBrowseByClient1_t> rows;
    ASSERT_EQ(readAll<YBNASBrowseByClient1>(rows, 5), 0);
    EXPECT_EQ(ids(rows), (std::vector<int>{11, 15, 16}));
    EXPECT_STREQ(byId(rows, 11)->AppName, "Exchange 2000 Database");

    ASSERT_EQ(readAll<YBNASBrowseByClient1>(rows, 55), 0);
    EXPECT_EQ(ids(rows), (std::vector<int>{13}));

    // The NAS step works on the client table: the later client steps read it.
    std::vector<YBBrowseByClient2_t> snrs;
    ASSERT_EQ(readAll<YBBrowseByClient2>(snrs), 0);
    EXPECT_EQ(ids(snrs), (std::vector<int>{1, 3}));
}

TEST_F(BrowseFamilyTest, BrowseTableLifeCycle)
{
    seedViews();

    // Fresh catalogue: no table, a later step fails.
    std::vector<YBBrowseByClient2_t> snrs;
    int rc = readAll<YBBrowseByClient2>(snrs);
    EXPECT_NE(rc, 0);
    EXPECT_NE(rc, DB_NO_MORE_ROWS);

    // Step 1 without rows keeps its table: the later steps find it empty.
    std::vector<YBBrowseByClient1_t> volumes;
    ASSERT_EQ(readAll<YBBrowseByClient1>(volumes, 1234), 0);
    EXPECT_TRUE(volumes.empty());
    EXPECT_TRUE(tableExists("YBBrowseByClientTmp"));
    ASSERT_EQ(readAll<YBBrowseByClient2>(snrs), 0);
    EXPECT_TRUE(snrs.empty());

    // A run left unfinished, then the next run: only its own rows.
    ASSERT_EQ(readAll<YBBrowseByClient1>(volumes, 5), 0);
    EXPECT_EQ(ids(volumes), (std::vector<int>{10, 12}));
    ASSERT_EQ(readAll<YBBrowseByClient1>(volumes, 6), 0);
    EXPECT_EQ(ids(volumes), (std::vector<int>{11}));
    ASSERT_EQ(readAll<YBBrowseByClient2>(snrs), 0);
    EXPECT_EQ(ids(snrs), (std::vector<int>{2, 4}));

    // The two views keep separate tables.
    std::vector<YBBrowseByPolicy1_t> policyVolumes;
    ASSERT_EQ(readAll<YBBrowseByPolicy1>(policyVolumes, 8), 0);
    std::vector<YBBrowseByPolicy5_t> policyMounts;
    ASSERT_EQ(readAll<YBBrowseByPolicy5>(policyMounts), 0);
    EXPECT_FALSE(tableExists("YBBrowseByPolicyTmp"));
    ASSERT_EQ(readAll<YBBrowseByClient2>(snrs), 0);
    EXPECT_EQ(ids(snrs), (std::vector<int>{2, 4}));

    // One table for every connection: the later steps run on another thread.
    std::vector<YBBrowseByClient3_t> devices;
    std::vector<YBBrowseByClient5_t> mounts;
    int rc3 = -1, rc5 = -1;
    std::thread other([&] {
        rc3 = readAll<YBBrowseByClient3>(devices);
        rc5 = readAll<YBBrowseByClient5>(mounts);
    });
    other.join();
    EXPECT_EQ(rc3, 0);
    EXPECT_EQ(ids(devices), (std::vector<int>{3}));
    EXPECT_EQ(rc5, 0);
    EXPECT_EQ(ids(mounts), (std::vector<int>{33}));
    // Dropped there, gone here.
    std::vector<YBBrowseByClient4_t> scratch;
    rc = readAll<YBBrowseByClient4>(scratch);
    EXPECT_NE(rc, 0);
    EXPECT_NE(rc, DB_NO_MORE_ROWS);
}
