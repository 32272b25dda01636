#include "host/ClientProperties.h"

#include "host/HostConfig.h"

namespace {

// The (id, name, ...) rows of a list whose owner is the row of ownerTable
// with that id: ids and names filled, the rows kept for further columns. 0,
// HOSTCFG_NOT_FOUND when there is no owner, or the failure of a read.
int readList(const char* query, void* context, const char* ownerTable, int ownerId, const std::string& sql,
             const std::vector<DBArgument>& args, std::vector<DBRow>& rows, std::vector<int>& ids,
             std::vector<std::string>& names)
{
    int rc = hostConfigRead(query, context, std::string("SELECT 1 FROM ") + ownerTable + " WHERE id = ?1",
                            {dbInt(ownerId)}, rows);
    if (rc != 0) return rc;
    if (rows.empty()) return HOSTCFG_NOT_FOUND;
    rc = hostConfigRead(query, context, sql, args, rows);
    if (rc != 0) return rc;
    ids.clear();
    names.clear();
    for (const DBRow& r : rows) {
        ids.push_back(static_cast<int>(r[0].i));
        names.push_back(r[1].s);
    }
    return 0;
}

}  // namespace

int ClientProperties::isInstalled(int packageId, bool& installed, void* context)
{
    std::vector<DBRow> rows;
    int rc = hostConfigRead("isInstalled", context,
                            "SELECT EXISTS (SELECT 1 FROM HostInstalledPackage P WHERE P.clientId = C.id "
                            "AND P.packageId = ?2) FROM DHT_Client C WHERE C.id = ?1",
                            {dbInt(m_nClientId), dbInt(packageId)}, rows);
    if (rc != 0) return rc;
    if (rows.empty()) return HOSTCFG_NOT_FOUND;
    installed = rows.front()[0].i != 0;
    return 0;
}

int ClientProperties::getClientEncryption(bool& enabled, void* context)
{
    HostClientRecord client;
    int rc = hostConfigReadClient("getClientEncryption", context, m_nClientId, false, "", false, true, client);
    if (rc == 0) enabled = client.encryption;
    return rc;
}

int ClientProperties::getDataEncType(Zxc::CIPHER& cipher, void* context)
{
    HostClientRecord client;
    int rc = hostConfigReadClient("getDataEncType", context, m_nClientId, false, "", false, true, client);
    if (rc == 0) cipher = static_cast<Zxc::CIPHER>(client.dataEncType);
    return rc;
}

int ClientProperties::getDataKeyLen(int& keyLength, void* context)
{
    HostClientRecord client;
    int rc = hostConfigReadClient("getDataKeyLen", context, m_nClientId, false, "", false, true, client);
    if (rc == 0) keyLength = client.dataKeyLen;
    return rc;
}

int ClientApplicationList::isAppTypeInstalled(int clientId, int appTypeId, bool& installed, void* context)
{
    std::vector<DBRow> rows;
    int rc = hostConfigRead("isAppTypeInstalled", context,
                            "SELECT 1 FROM DHT_AgtName WHERE ClientId = ?1 AND appTypeId = ?2 LIMIT 1",
                            {dbInt(clientId), dbInt(appTypeId)}, rows);
    if (rc != 0) return rc;
    installed = !rows.empty();
    return 0;
}

int ClientApplicationList::getInstanceList(int clientId, int appTypeId, std::vector<int>& instanceIds,
                                           std::vector<std::string>& names, void* context, int)
{
    std::vector<DBRow> rows;
    return readList("getInstanceList", context, "DHT_Client", clientId,
                    "SELECT id, name FROM HostInstance WHERE clientId = ?1 AND appTypeId = ?2 ORDER BY id",
                    {dbInt(clientId), dbInt(appTypeId)}, rows, instanceIds, names);
}

int ClientApplicationList::getBackupSetList(std::vector<int>& backupSetIds, std::vector<std::string>& names,
                                            std::vector<int>& flags, int clientId, int appTypeId, int instanceId,
                                            void* context, int)
{
    std::vector<DBRow> rows;
    int rc = readList("getBackupSetList", context, "DHT_Client", clientId,
                      "SELECT S.id, N.Name, S.flags FROM HostBackupSet S LEFT JOIN DHT_BackupSetName N ON N.id = S.id "
                      "WHERE S.instanceId = ?3 AND S.clientId = ?1 AND S.appTypeId = ?2 ORDER BY S.id",
                      {dbInt(clientId), dbInt(appTypeId), dbInt(instanceId)}, rows, backupSetIds, names);
    if (rc != 0) return rc;
    flags.clear();
    for (const DBRow& r : rows) flags.push_back(static_cast<int>(r[2].i));
    return 0;
}

int ClientApplicationList::getSubclientList(std::vector<int>& subclientIds, std::vector<std::string>& names,
                                            int appTypeId, int backupSetId, void* context, int)
{
    std::vector<DBRow> rows;
    return readList("getSubclientList", context, "DHT_BackupSetName", backupSetId,
                    "SELECT id, subclientName FROM DHT_Application WHERE backupSet = ?1 AND appTypeId = ?2 ORDER BY id",
                    {dbInt(backupSetId), dbInt(appTypeId)}, rows, subclientIds, names);
}

int AppTypeNameId::GetAppTypeName(std::string& name, void* context)
{
    std::vector<DBRow> rows;
    int rc = hostConfigRead("GetAppTypeName", context, "SELECT name FROM DHT_AppType WHERE id = ?1",
                            {dbInt(m_nAppTypeId)}, rows);
    if (rc != 0) return rc;
    if (rows.empty()) return HOSTCFG_NOT_FOUND;
    name = rows.front()[0].s;
    return 0;
}
