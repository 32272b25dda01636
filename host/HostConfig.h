// The host's configuration of clients, replication (backup) sets, subclients,
// installed packages and application types as the configuration objects read
// it from the catalogue: the one API that seeds it, the failure injection of
// its queries, and the reads the objects share.
#pragma once

#include <string>
#include <vector>

#include "host/db/DBQuery.h"

// Status of a configuration query besides 0 (success): no such client, set,
// subclient or application type; the object exists but the value asked for
// was never configured. Any other non-zero value is the database's code or an
// injected failure.
enum {
    HOSTCFG_NOT_FOUND = 2,
    HOSTCFG_NO_VALUE = 3
};

// A client: its DHT_Client row and its configuration beside it.
struct HostClientSeed {
    int id = 0;  // 0: the catalogue gives one, written back here
    std::string name;
    std::string netHostName;
    int status = 0;
    int osId = 0;
    int releaseId = 0;
    int tallmarkId = 0;
    std::string password;  // empty: the client has none
    bool encryption = false;
    int dataEncType = 0;
    int dataKeyLen = 0;
};

// A replication (backup) set of a client's application instance.
struct HostBackupSetSeed {
    int id = 0;  // 0: the catalogue gives one, written back here
    std::string name;
    int clientId = 0;
    int appTypeId = 0;
    int instanceId = 0;
    int flags = 0;
    int destinationHostId = 0;
    int maxConsistencyPoints = 0;
};

// A subclient (replication pair) of a set.
struct HostSubclientSeed {
    int id = 0;  // 0: the catalogue gives one, written back here
    int clientId = 0;
    int appTypeId = 0;
    int backupSetId = 0;
    std::string name;
    bool deleted = false;
    bool isDefault = false;
    std::string destinationGUID;
    std::string defaultImportHost;
};

class HostConfig {
public:
    // Each adds its rows in tran (null: a transaction of its own, committed
    // before it returns) and returns 0, -18 for a text longer than its column
    // (nothing written), or the database's code.
    static int addClient(HostClientSeed& client, DBtran* tran = nullptr);
    static int addAppType(int appTypeId, const std::string& name, DBtran* tran = nullptr);
    // An agent of an application type installed on a client.
    static int addAgent(int clientId, int appTypeId, DBtran* tran = nullptr);
    static int addPackage(int clientId, int packageId, DBtran* tran = nullptr);
    static int addInstance(int& instanceId, int clientId, int appTypeId, const std::string& name,
                           DBtran* tran = nullptr);
    static int addBackupSet(HostBackupSetSeed& set, DBtran* tran = nullptr);
    static int addSubclient(HostSubclientSeed& subclient, DBtran* tran = nullptr);
    // A current content entry of the subclient on an SNR volume.
    static int addSubclientVolume(int subclientId, int volumeId, const std::string& path = "",
                                  DBtran* tran = nullptr);

    // The next call of the named query (the method's name, for example
    // "getDestinationHostId") fails with status, reading nothing. HostDBFaults::
    // clear drops what is pending.
    static void failNext(const std::string& query, int status = 1);
};

// For the configuration objects: runs the read of the named query through the
// context (the caller's DBtran, or null), after its injected failure if one is
// pending. 0 with the rows, or a non-zero status.
int hostConfigRead(const char* query, void* context, const std::string& sql, const std::vector<DBArgument>& args,
                   std::vector<DBRow>& rows);

// A client as ZXClient and ClientProperties read it.
struct HostClientRecord {
    long long id = 0;
    std::string name;
    std::string netHostName;
    int osId = 0;
    bool configured = false;  // the values below were seeded
    int releaseId = 0;
    int tallmarkId = 0;
    std::string password;
    bool encryption = false;
    int dataEncType = 0;
    int dataKeyLen = 0;
};

// The client of that id, or (byName) the lowest-id client of that name or,
// with netHostName, of that network host name. 0, HOSTCFG_NOT_FOUND,
// HOSTCFG_NO_VALUE when configured values are needed and the client has none,
// or the failure of the read.
int hostConfigReadClient(const char* query, void* context, long long id, bool byName, const std::string& name,
                         bool netHostName, bool needsConfiguration, HostClientRecord& client);
