// The configuration objects over seeded catalogue rows: every query answers
// from what was seeded, fails once when told, and reads through the caller's
// open transaction when given it.
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "host/BackupSet.h"
#include "host/ClientProperties.h"
#include "host/HostConfig.h"
#include "host/Subclient.h"
#include "host/ZXClient.h"
#include "support/TestCatalogue.h"

namespace {

const int kWrongAnswer = -999;

// The query's status, or kWrongAnswer when it succeeded with another value
// than the one seeded.
int answer(int status, bool right)
{
    return status != 0 ? status : right ? 0 : kWrongAnswer;
}

struct Seeded {
    int instanceId = 0;
    int setId = 0;
    int emptySetId = 0;
    int pair = 0;
    int deletedPair = 0;
    int defaultPair = 0;
};

// Destination client 10 and source client 20 with a replication set of three
// pairs on an instance of the source; pairs 1 and 2 hold volume 5.
Seeded seed(DBtran* tran)
{
    Seeded s;
    HostClientSeed dst;
    dst.id = 10;
    dst.name = "dst-client";
    dst.netHostName = "dst.example";
    dst.osId = 16;
    dst.releaseId = 12;
    dst.tallmarkId = 3;
    dst.password = "secret'pw";
    dst.encryption = true;
    dst.dataEncType = 2;
    dst.dataKeyLen = 32;
    EXPECT_EQ(HostConfig::addClient(dst, tran), 0);
    HostClientSeed src;
    src.name = "src-client";
    src.netHostName = "src.example";
    EXPECT_EQ(HostConfig::addClient(src, tran), 0);
    EXPECT_EQ(src.id, 11);
    EXPECT_EQ(HostConfig::addAppType(84, "File Replication", tran), 0);
    EXPECT_EQ(HostConfig::addAgent(11, 47, tran), 0);
    EXPECT_EQ(HostConfig::addPackage(10, 1007, tran), 0);
    EXPECT_EQ(HostConfig::addInstance(s.instanceId, 11, 84, "Instance001", tran), 0);

    HostBackupSetSeed set;
    set.name = "RepSet1";
    set.clientId = 11;
    set.appTypeId = 84;
    set.instanceId = s.instanceId;
    set.flags = 4;
    set.destinationHostId = 10;
    set.maxConsistencyPoints = 7;
    EXPECT_EQ(HostConfig::addBackupSet(set, tran), 0);
    s.setId = set.id;
    HostBackupSetSeed empty = set;
    empty.id = 0;
    empty.name = "Empty";
    EXPECT_EQ(HostConfig::addBackupSet(empty, tran), 0);
    s.emptySetId = empty.id;

    HostSubclientSeed pair;
    pair.clientId = 11;
    pair.appTypeId = 84;
    pair.backupSetId = s.setId;
    pair.name = "pair1";
    pair.destinationGUID = "{dst-guid-1}";
    pair.defaultImportHost = "import.example";
    EXPECT_EQ(HostConfig::addSubclient(pair, tran), 0);
    s.pair = pair.id;
    HostSubclientSeed deleted = pair;
    deleted.id = 0;
    deleted.name = "pair2";
    deleted.deleted = true;
    EXPECT_EQ(HostConfig::addSubclient(deleted, tran), 0);
    s.deletedPair = deleted.id;
    HostSubclientSeed byDefault = pair;
    byDefault.id = 0;
    byDefault.name = "default";
    byDefault.isDefault = true;
    EXPECT_EQ(HostConfig::addSubclient(byDefault, tran), 0);
    s.defaultPair = byDefault.id;
    HostSubclientSeed otherType = pair;
    otherType.id = 0;
    otherType.appTypeId = 47;
    EXPECT_EQ(HostConfig::addSubclient(otherType, tran), 0);

    EXPECT_EQ(HostConfig::addSubclientVolume(s.pair, 5, "/vol/5", tran), 0);
    EXPECT_EQ(HostConfig::addSubclientVolume(s.deletedPair, 5, "", tran), 0);
    EXPECT_EQ(HostConfig::addSubclientVolume(s.defaultPair, 55, "", tran), 0);
    return s;
}

struct Query {
    const char* name;
    std::function<int(void*)> run;
};

// Every query of every object, each checking the seeded answer.
std::vector<Query> queries(const Seeded& s)
{
    return {
        {"lookup", [](void* c) { return ZXClient(10ULL).lookup(c); }},
        {"getClientId",
         [](void* c) {
             int id = 0;
             int rc = ZXClient("DST.example", true).getClientId(id, c);
             return answer(rc, id == 10);
         }},
        {"getName",
         [](void* c) {
             std::string name;
             int rc = ZXClient("dst-client", false).getName(name, c);
             return answer(rc, name == "dst-client");
         }},
        {"getNetworkHostnameMangled",
         [](void* c) {
             std::string host;
             // The context given to the constructor serves a query given none.
             int rc = ZXClient("dst-client", false, c).getNetworkHostnameMangled(host);
             return answer(rc, host == "dst.example");
         }},
        {"getOperatingSystemId",
         [](void* c) {
             int os = 0;
             int rc = ZXClient(10ULL).getOperatingSystemId(os, c);
             return answer(rc, os == 16);
         }},
        {"getReleaseId",
         [](void* c) {
             int release = 0;
             int rc = ZXClient(10ULL).getReleaseId(release, c);
             return answer(rc, release == 12);
         }},
        {"getTallmarkId",
         [](void* c) {
             int tallmark = 0;
             int rc = ZXClient(10ULL).getTallmarkId(tallmark, c);
             return answer(rc, tallmark == 3);
         }},
        {"getPassword",
         [](void* c) {
             std::string password;
             int rc = ZXClient(10ULL).getPassword(password, c);
             return answer(rc, password == "secret'pw");
         }},
        {"getBackupSetName",
         [s](void* c) {
             std::string name;
             int rc = FileReplicationBackupSet(s.setId).getBackupSetName(name, c);
             return answer(rc, name == "RepSet1");
         }},
        {"getClientIdForBackupSet",
         [s](void* c) {
             int client = 0;
             int rc = FileReplicationBackupSet(s.setId).getClientIdForBackupSet(client, c);
             return answer(rc, client == 11);
         }},
        {"getDestinationHostId",
         [s](void* c) {
             int host = 0;
             int rc = FileReplicationBackupSet(s.setId).getDestinationHostId(host, c);
             return answer(rc, host == 10);
         }},
        {"getMaxCountConsistPoints",
         [s](void* c) {
             int count = 0;
             int rc = FileReplicationBackupSet(s.setId).getMaxCountConsistPoints(count, c);
             return answer(rc, count == 7);
         }},
        {"isDeleted",
         [s](void* c) {
             bool deleted = false;
             int rc = Subclient(s.deletedPair).isDeleted(deleted, c);
             return answer(rc, deleted);
         }},
        {"isDefaultSubclient",
         [s](void* c) {
             bool isDefault = false;
             int rc = FileReplicationSubClient(s.defaultPair).isDefaultSubclient(isDefault, c);
             return answer(rc, isDefault);
         }},
        {"getDestinationGUID",
         [s](void* c) {
             std::string guid;
             int rc = FileReplicationSubClient(s.pair).getDestinationGUID(guid, c);
             return answer(rc, guid == "{dst-guid-1}");
         }},
        {"getDefaultImportHost",
         [s](void* c) {
             std::string host;
             int rc = ReplicationSubclientConfiguration(s.pair).getDefaultImportHost(host, c);
             return answer(rc, host == "import.example");
         }},
        {"getSCListHavingVolId",
         [s](void* c) {
             std::vector<int> ids;
             int rc = ContentQuery().getSCListHavingVolId(5, ids, c);
             return answer(rc, ids == std::vector<int>{s.pair, s.deletedPair});
         }},
        {"isInstalled",
         [](void* c) {
             bool installed = false;
             int rc = ClientProperties(10).isInstalled(1007, installed, c);
             return answer(rc, installed);
         }},
        {"getClientEncryption",
         [](void* c) {
             bool enabled = false;
             int rc = ClientProperties(10).getClientEncryption(enabled, c);
             return answer(rc, enabled);
         }},
        {"getDataEncType",
         [](void* c) {
             Zxc::CIPHER cipher = static_cast<Zxc::CIPHER>(0);
             int rc = ClientProperties(10).getDataEncType(cipher, c);
             return answer(rc, static_cast<int>(cipher) == 2);
         }},
        {"getDataKeyLen",
         [](void* c) {
             int length = 0;
             int rc = ClientProperties(10).getDataKeyLen(length, c);
             return answer(rc, length == 32);
         }},
        {"isAppTypeInstalled",
         [](void* c) {
             bool installed = false;
             int rc = ClientApplicationList().isAppTypeInstalled(11, 47, installed, c);
             return answer(rc, installed);
         }},
        {"getInstanceList",
         [s](void* c) {
             std::vector<int> ids;
             std::vector<std::string> names;
             int rc = ClientApplicationList().getInstanceList(11, 84, ids, names, c, 1);
             return answer(rc, ids == std::vector<int>{s.instanceId} && names == std::vector<std::string>{"Instance001"});
         }},
        {"getBackupSetList",
         [s](void* c) {
             std::vector<int> ids;
             std::vector<std::string> names;
             std::vector<int> flags;
             int rc = ClientApplicationList().getBackupSetList(ids, names, flags, 11, 84, s.instanceId, c, 1);
             return answer(rc, ids == std::vector<int>{s.setId, s.emptySetId} &&
                                   names == std::vector<std::string>{"RepSet1", "Empty"} &&
                                   flags == std::vector<int>{4, 4});
         }},
        {"getSubclientList",
         [s](void* c) {
             std::vector<int> ids;
             std::vector<std::string> names;
             int rc = ClientApplicationList().getSubclientList(ids, names, 84, s.setId, c, 1);
             return answer(rc, ids == std::vector<int>{s.pair, s.deletedPair, s.defaultPair} &&
                                   names == std::vector<std::string>{"pair1", "pair2", "default"});
         }},
        {"GetAppTypeName",
         [](void* c) {
             std::string name;
             int rc = AppTypeNameId(84).GetAppTypeName(name, c);
             return answer(rc, name == "File Replication");
         }},
    };
}

using HostConfigTest = CatalogueTest;

}  // namespace

TEST_F(HostConfigTest, EveryQueryAnswersFromTheSeededRows)
{
    Seeded s = seed(nullptr);
    for (const Query& q : queries(s)) EXPECT_EQ(q.run(nullptr), 0) << q.name;
}

TEST_F(HostConfigTest, AbsentObjectsAndValues)
{
    Seeded s = seed(nullptr);
    exec("INSERT INTO DHT_Client (id, name, net_hostname) VALUES (30, 'bare', 'bare.example')");
    exec("INSERT INTO DHT_Application (id, backupSet, appTypeId) VALUES (90, 0, 84)");

    std::string text = "kept";
    int number = -5;
    bool flag = true;
    EXPECT_EQ(ZXClient(999ULL).lookup(), HOSTCFG_NOT_FOUND);
    EXPECT_EQ(ZXClient("nobody", false).getName(text), HOSTCFG_NOT_FOUND);
    EXPECT_EQ(ZXClient("dst-client", true).lookup(), HOSTCFG_NOT_FOUND);  // a name, not a network name
    EXPECT_EQ(ZXClient(11ULL).getPassword(text), HOSTCFG_NO_VALUE);
    EXPECT_EQ(ZXClient(30ULL).lookup(), 0);
    EXPECT_EQ(ZXClient(30ULL).getReleaseId(number), HOSTCFG_NO_VALUE);
    EXPECT_EQ(ClientProperties(30).getClientEncryption(flag), HOSTCFG_NO_VALUE);
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(number, -5);
    EXPECT_TRUE(flag);

    EXPECT_EQ(ClientProperties(10).isInstalled(1029, flag), 0);
    EXPECT_FALSE(flag);
    EXPECT_EQ(ClientProperties(999).isInstalled(1007, flag), HOSTCFG_NOT_FOUND);
    // An agent the client lacks, and a client that has none or does not exist.
    for (std::pair<int, int> agent : {std::pair<int, int>{11, 50}, {10, 47}, {999, 47}}) {
        flag = true;
        EXPECT_EQ(ClientApplicationList().isAppTypeInstalled(agent.first, agent.second, flag), 0);
        EXPECT_FALSE(flag) << agent.first << " " << agent.second;
    }

    std::vector<int> ids{1};
    std::vector<std::string> names{"x"};
    EXPECT_EQ(ClientApplicationList().getSubclientList(ids, names, 84, s.emptySetId, nullptr, 1), 0);
    EXPECT_TRUE(ids.empty());
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(ClientApplicationList().getSubclientList(ids, names, 84, 4242, nullptr, 1), HOSTCFG_NOT_FOUND);
    EXPECT_EQ(ClientApplicationList().getInstanceList(999, 84, ids, names, nullptr, 1), HOSTCFG_NOT_FOUND);
    EXPECT_EQ(ClientApplicationList().getInstanceList(10, 84, ids, names, nullptr, 1), 0);
    EXPECT_TRUE(ids.empty());

    EXPECT_EQ(FileReplicationBackupSet(4242).getDestinationHostId(number), HOSTCFG_NOT_FOUND);
    EXPECT_EQ(AppTypeNameId(5).GetAppTypeName(text), HOSTCFG_NOT_FOUND);
    EXPECT_EQ(Subclient(999).isDeleted(flag), HOSTCFG_NOT_FOUND);
    // A subclient without configuration is an active, not default one
    // without texts.
    EXPECT_EQ(Subclient(90).isDefaultSubclient(flag), 0);
    EXPECT_FALSE(flag);
    EXPECT_EQ(FileReplicationSubClient(90).getDestinationGUID(text), 0);
    EXPECT_EQ(text, "");
    EXPECT_EQ(ContentQuery().getSCListHavingVolId(55, ids), 0);
    EXPECT_EQ(ids, std::vector<int>{s.defaultPair});
    EXPECT_EQ(ContentQuery().getSCListHavingVolId(6, ids), 0);
    EXPECT_TRUE(ids.empty());
}

TEST_F(HostConfigTest, EveryQueryFailsOnceWhenTold)
{
    Seeded s = seed(nullptr);
    for (const Query& q : queries(s)) {
        HostConfig::failNext(q.name, 4242);
        EXPECT_EQ(q.run(nullptr), 4242) << q.name;
        EXPECT_EQ(q.run(nullptr), 0) << q.name << " failed twice";
    }
}

TEST_F(HostConfigTest, QueriesReadThroughTheCallersOpenTransaction)
{
    DBtran tran;
    ASSERT_EQ(tran.startTran(), 0);
    Seeded s = seed(&tran);
    std::vector<Query> all = queries(s);
    std::vector<int> through(all.size(), -1);
    std::vector<int> outside(all.size(), -1);
    // Another thread: without the transaction it sees only what is committed.
    std::thread reader([&]() {
        for (size_t i = 0; i < all.size(); ++i) {
            through[i] = all[i].run(&tran);
            outside[i] = all[i].run(nullptr);
        }
    });
    reader.join();
    for (size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(through[i], 0) << all[i].name;
        EXPECT_NE(outside[i], 0) << all[i].name;
    }
    ASSERT_EQ(tran.rollbackTran(), 0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM DHT_Client"), 0);
}

TEST_F(HostConfigTest, SeedingRefusesLongTextsAndWritesAllOrNothing)
{
    HostClientSeed client;
    client.name = std::string(256, 'n');
    EXPECT_EQ(HostConfig::addClient(client), -18);
    client.name = std::string(255, 'n');
    client.password = std::string(256, 'p');
    EXPECT_EQ(HostConfig::addClient(client), -18);
    HostSubclientSeed pair;
    pair.destinationGUID = std::string(1025, 'g');
    EXPECT_EQ(HostConfig::addSubclient(pair), -18);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM DHT_Client") + scalar("SELECT COUNT(*) FROM DHT_Application"), 0);

    // The second row of a set fails: the first goes too.
    exec("INSERT INTO HostBackupSet (id) VALUES (77)");
    HostBackupSetSeed set;
    set.id = 77;
    set.name = "clash";
    EXPECT_NE(HostConfig::addBackupSet(set), 0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM DHT_BackupSetName"), 0);
    EXPECT_EQ(set.id, 77);

    client.password = std::string(255, 'p');
    EXPECT_EQ(HostConfig::addClient(client), 0);
    std::string name;
    EXPECT_EQ(ZXClient(static_cast<unsigned long long>(client.id)).getName(name), 0);
    EXPECT_EQ(name, std::string(255, 'n'));
}
