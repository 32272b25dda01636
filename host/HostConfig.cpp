#include "host/HostConfig.h"

namespace {

const int kNameTooLong = -18;

// The seeding statements of one call, in the caller's transaction or in one
// of their own that end() commits, or rolls back after a failure.
class SeedWrite {
public:
    explicit SeedWrite(DBtran* tran) : m_pTran(tran != nullptr ? tran : &m_own), m_bOwn(tran == nullptr) {}

    int run(const std::string& sql, const std::vector<DBArgument>& args, long long* newId = nullptr)
    {
        return dbQuery(m_pTran, sql, args, nullptr, newId);
    }

    int end(int rc)
    {
        if (!m_bOwn) return rc;
        if (rc != 0) {
            m_own.rollbackTran();
            return rc;
        }
        return m_own.commitTran();
    }

private:
    DBtran m_own;
    DBtran* m_pTran;
    bool m_bOwn;
};

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
    SeedWrite write(tran);
    long long id = 0;
    int rc = write.run(
        "INSERT INTO DHT_Client (id, name, net_hostname, status, dhtOperatingSystemId, release) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6)",
        {idArgument(client.id), dbText(client.name), dbText(client.netHostName), dbInt(client.status),
         dbInt(client.osId), dbText(std::to_string(client.releaseId))},
        &id);
    if (rc == 0)
        rc = write.run(
            "INSERT INTO HostClientConfig (clientId, releaseId, tallmarkId, password, encryptionEnabled, "
            "dataEncType, dataKeyLen) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)",
            {dbInt(id), dbInt(client.releaseId), dbInt(client.tallmarkId), dbText(client.password),
             dbInt(client.encryption ? 1 : 0), dbInt(client.dataEncType), dbInt(client.dataKeyLen)});
    rc = write.end(rc);
    if (rc == 0) client.id = static_cast<int>(id);
    return rc;
}

int HostConfig::addAppType(int appTypeId, const std::string& name, DBtran* tran)
{
    if (longerThan(name, 128)) return kNameTooLong;
    SeedWrite write(tran);
    return write.end(write.run("INSERT INTO DHT_AppType (id, name) VALUES (?1, ?2)", {dbInt(appTypeId), dbText(name)}));
}

int HostConfig::addAgent(int clientId, int appTypeId, DBtran* tran)
{
    SeedWrite write(tran);
    return write.end(
        write.run("INSERT INTO DHT_AgtName (ClientId, appTypeId) VALUES (?1, ?2)", {dbInt(clientId), dbInt(appTypeId)}));
}

int HostConfig::addPackage(int clientId, int packageId, DBtran* tran)
{
    SeedWrite write(tran);
    return write.end(write.run("INSERT INTO HostInstalledPackage (clientId, packageId) VALUES (?1, ?2)",
                               {dbInt(clientId), dbInt(packageId)}));
}

int HostConfig::addInstance(int& instanceId, int clientId, int appTypeId, const std::string& name, DBtran* tran)
{
    if (longerThan(name, 128)) return kNameTooLong;
    SeedWrite write(tran);
    long long id = 0;
    int rc = write.end(write.run("INSERT INTO HostInstance (clientId, appTypeId, name) VALUES (?1, ?2, ?3)",
                                 {dbInt(clientId), dbInt(appTypeId), dbText(name)}, &id));
    if (rc == 0) instanceId = static_cast<int>(id);
    return rc;
}

int HostConfig::addBackupSet(HostBackupSetSeed& set, DBtran* tran)
{
    if (longerThan(set.name, 128)) return kNameTooLong;
    SeedWrite write(tran);
    long long id = 0;
    int rc = write.run("INSERT INTO DHT_BackupSetName (id, Name) VALUES (?1, ?2)", {idArgument(set.id), dbText(set.name)},
                       &id);
    if (rc == 0)
        rc = write.run(
            "INSERT INTO HostBackupSet (id, clientId, appTypeId, instanceId, flags, destinationHostId, "
            "maxConsistencyPoints) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)",
            {dbInt(id), dbInt(set.clientId), dbInt(set.appTypeId), dbInt(set.instanceId), dbInt(set.flags),
             dbInt(set.destinationHostId), dbInt(set.maxConsistencyPoints)});
    rc = write.end(rc);
    if (rc == 0) set.id = static_cast<int>(id);
    return rc;
}

int HostConfig::addSubclient(HostSubclientSeed& subclient, DBtran* tran)
{
    if (longerThan(subclient.name, 128) || longerThan(subclient.destinationGUID, 1024) ||
        longerThan(subclient.defaultImportHost, 255))
        return kNameTooLong;
    SeedWrite write(tran);
    long long id = 0;
    int rc = write.run(
        "INSERT INTO DHT_Application (id, clientId, appTypeId, backupSet, subclientName, subclientStatus) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6)",
        {idArgument(subclient.id), dbInt(subclient.clientId), dbInt(subclient.appTypeId), dbInt(subclient.backupSetId),
         dbText(subclient.name), dbInt(subclient.deleted ? 1 : 0)},
        &id);
    if (rc == 0)
        rc = write.run(
            "INSERT INTO HostSubclientConfig (subclientId, isDefault, destinationGUID, defaultImportHost) "
            "VALUES (?1, ?2, ?3, ?4)",
            {dbInt(id), dbInt(subclient.isDefault ? 1 : 0), dbText(subclient.destinationGUID),
             dbText(subclient.defaultImportHost)});
    rc = write.end(rc);
    if (rc == 0) subclient.id = static_cast<int>(id);
    return rc;
}

int HostConfig::addSubclientVolume(int subclientId, int volumeId, const std::string& path, DBtran* tran)
{
    std::string fileName = std::to_string(volumeId) + '\x15' + path;
    if (longerThan(fileName, 1024)) return kNameTooLong;
    SeedWrite write(tran);
    return write.end(write.run(
        "INSERT INTO DHT_ScFilterFile (componentNameId, fileName, Type, modified) VALUES (?1, ?2, 1, 0)",
        {dbInt(subclientId), dbText(fileName)}));
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
                         bool netHostName, HostClientRecord& client)
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
    return 0;
}
