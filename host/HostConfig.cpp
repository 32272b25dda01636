#include "host/HostConfig.h"

namespace {

const int kNameTooLong = -18;

// Inserts a row and, when besideSql is not empty, the row beside it, which
// takes the new id as ?1 before besideArgs; in tran, or in a transaction of
// their own that is committed, or rolled back after a failure. id receives
// the new id.
int insertRows(DBtran* tran, int& id, const std::string& sql, const std::vector<DBArgument>& args,
               const std::string& besideSql = "", std::vector<DBArgument> besideArgs = {})
{
    DBtran own;
    DBtran* target = tran != nullptr ? tran : &own;
    long long newId = 0;
    int rc = dbQuery(target, sql, args, nullptr, &newId);
    if (rc == 0 && !besideSql.empty()) {
        besideArgs.insert(besideArgs.begin(), dbInt(newId));
        rc = dbQuery(target, besideSql, besideArgs, nullptr);
    }
    if (tran == nullptr) {
        if (rc == 0)
            rc = own.commitTran();
        else
            own.rollbackTran();
    }
    if (rc == 0) id = static_cast<int>(newId);
    return rc;
}

// An id to insert: 0 lets the catalogue give one.
DBArgument idArgument(int id)
{
    return id != 0 ? dbInt(id) : DBArgument{DBArgument::NUL, 0, 0.0, std::string()};
}

bool longerThan(const std::string& text, size_t column)
{
    return text.size() > column;
}

std::string faultName(const char* query)
{
    return std::string("config.") + (query != nullptr ? query : "");
}

}  // namespace

int HostConfig::addClient(HostClientSeed& client, DBtran* tran)
{
    if (longerThan(client.name, 255) || longerThan(client.netHostName, 255) || longerThan(client.password, 255))
        return kNameTooLong;
    return insertRows(tran, client.id,
                      "INSERT INTO DHT_Client (id, name, net_hostname, status, dhtOperatingSystemId, release) "
                      "VALUES (?1, ?2, ?3, ?4, ?5, ?6)",
                      {idArgument(client.id), dbText(client.name), dbText(client.netHostName), dbInt(client.status),
                       dbInt(client.osId), dbText(std::to_string(client.releaseId))},
                      "INSERT INTO HostClientConfig (clientId, releaseId, tallmarkId, password, encryptionEnabled, "
                      "dataEncType, dataKeyLen) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)",
                      {dbInt(client.releaseId), dbInt(client.tallmarkId), dbText(client.password),
                       dbInt(client.encryption ? 1 : 0), dbInt(client.dataEncType), dbInt(client.dataKeyLen)});
}

int HostConfig::addAppType(int appTypeId, const std::string& name, DBtran* tran)
{
    if (longerThan(name, 128)) return kNameTooLong;
    int id = 0;
    return insertRows(tran, id, "INSERT INTO DHT_AppType (id, name) VALUES (?1, ?2)", {dbInt(appTypeId), dbText(name)});
}

int HostConfig::addAgent(int clientId, int appTypeId, DBtran* tran)
{
    int id = 0;
    return insertRows(tran, id, "INSERT INTO DHT_AgtName (ClientId, appTypeId) VALUES (?1, ?2)",
                      {dbInt(clientId), dbInt(appTypeId)});
}

int HostConfig::addPackage(int clientId, int packageId, DBtran* tran)
{
    int id = 0;
    return insertRows(tran, id, "INSERT INTO HostInstalledPackage (clientId, packageId) VALUES (?1, ?2)",
                      {dbInt(clientId), dbInt(packageId)});
}

int HostConfig::addInstance(int& instanceId, int clientId, int appTypeId, const std::string& name, DBtran* tran)
{
    if (longerThan(name, 128)) return kNameTooLong;
    return insertRows(tran, instanceId, "INSERT INTO HostInstance (clientId, appTypeId, name) VALUES (?1, ?2, ?3)",
                      {dbInt(clientId), dbInt(appTypeId), dbText(name)});
}

int HostConfig::addBackupSet(HostBackupSetSeed& set, DBtran* tran)
{
    if (longerThan(set.name, 128)) return kNameTooLong;
    return insertRows(tran, set.id, "INSERT INTO DHT_BackupSetName (id, Name) VALUES (?1, ?2)",
                      {idArgument(set.id), dbText(set.name)},
                      "INSERT INTO HostBackupSet (id, clientId, appTypeId, instanceId, flags, destinationHostId, "
                      "maxConsistencyPoints) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)",
                      {dbInt(set.clientId), dbInt(set.appTypeId), dbInt(set.instanceId), dbInt(set.flags),
                       dbInt(set.destinationHostId), dbInt(set.maxConsistencyPoints)});
}

int HostConfig::addSubclient(HostSubclientSeed& subclient, DBtran* tran)
{
    if (longerThan(subclient.name, 128) || longerThan(subclient.destinationGUID, 1024) ||
        longerThan(subclient.defaultImportHost, 255))
        return kNameTooLong;
    return insertRows(tran, subclient.id,
                      "INSERT INTO DHT_Application (id, clientId, appTypeId, backupSet, subclientName, "
                      "subclientStatus) VALUES (?1, ?2, ?3, ?4, ?5, ?6)",
                      {idArgument(subclient.id), dbInt(subclient.clientId), dbInt(subclient.appTypeId),
                       dbInt(subclient.backupSetId), dbText(subclient.name), dbInt(subclient.deleted ? 1 : 0)},
                      "INSERT INTO HostSubclientConfig (subclientId, isDefault, destinationGUID, defaultImportHost) "
                      "VALUES (?1, ?2, ?3, ?4)",
                      {dbInt(subclient.isDefault ? 1 : 0), dbText(subclient.destinationGUID),
                       dbText(subclient.defaultImportHost)});
}

int HostConfig::addSubclientVolume(int subclientId, int volumeId, const std::string& path, DBtran* tran)
{
    std::string fileName = std::to_string(volumeId) + '\x15' + path;
    if (longerThan(fileName, 1024)) return kNameTooLong;
    int id = 0;
    return insertRows(tran, id,
                      "INSERT INTO DHT_ScFilterFile (componentNameId, fileName, Type, modified) VALUES (?1, ?2, 1, 0)",
                      {dbInt(subclientId), dbText(fileName)});
}

void HostConfig::failNext(const std::string& query, int status)
{
    HostDBFaults::failNext(faultName(query.c_str()), status);
}

int hostConfigRead(const char* query, void* context, const std::string& sql, const std::vector<DBArgument>& args,
                   std::vector<DBRow>& rows)
{
    rows.clear();
    int fault = HostDBFaults::check(faultName(query).c_str());
    if (fault != 0) return fault;
    return dbQuery(static_cast<DBtran*>(context), sql, args, &rows);
}

int hostConfigReadClient(const char* query, void* context, long long id, bool byName, const std::string& name,
                         bool netHostName, bool needsConfiguration, HostClientRecord& client)
{
    std::string sql =
        "SELECT C.id, C.name, C.net_hostname, C.dhtOperatingSystemId, K.clientId, K.releaseId, K.tallmarkId, "
        "K.password, K.encryptionEnabled, K.dataEncType, K.dataKeyLen "
        "FROM DHT_Client C LEFT JOIN HostClientConfig K ON K.clientId = C.id WHERE ";
    sql += !byName ? "C.id = ?1" : netHostName ? "C.net_hostname = ?1" : "C.name = ?1";
    sql += " ORDER BY C.id LIMIT 1";
    std::vector<DBRow> rows;
    int rc = hostConfigRead(query, context, sql, {byName ? dbText(name) : dbInt(id)}, rows);
    if (rc != 0) return rc;
    if (rows.empty()) return HOSTCFG_NOT_FOUND;
    const DBRow& r = rows.front();
    client.id = r[0].i;
    client.name = r[1].s;
    client.netHostName = r[2].s;
    client.osId = static_cast<int>(r[3].i);
    client.configured = !r[4].isNull;
    client.releaseId = static_cast<int>(r[5].i);
    client.tallmarkId = static_cast<int>(r[6].i);
    client.password = r[7].s;
    client.encryption = r[8].i != 0;
    client.dataEncType = static_cast<int>(r[9].i);
    client.dataKeyLen = static_cast<int>(r[10].i);
    return needsConfiguration && !client.configured ? HOSTCFG_NO_VALUE : 0;
}
