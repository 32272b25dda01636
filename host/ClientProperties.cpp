#include "host/ClientProperties.h"

#include "host/HostConfig.h"

namespace {

// 0 when a row of the table has that id, else HOSTCFG_NOT_FOUND or the
// failure of the read.
int requireRow(const char* query, void* context, const char* table, int id)
{
    std::vector<DBRow> rows;
    int rc = hostConfigRead(query, context, std::string("SELECT 1 FROM ") + table + " WHERE id = ?1", {dbInt(id)}, rows);
    if (rc != 0) return rc;
    return rows.empty() ? HOSTCFG_NOT_FOUND : 0;
}

// Fills ids and names from (id, name) rows.
void takeList(const std::vector<DBRow>& rows, std::vector<int>& ids, std::vector<std::string>& names)
{
    ids.clear();
    names.clear();
    for (const DBRow& r : rows) {
        ids.push_back(static_cast<int>(r[0].i));
        names.push_back(r[1].s);
    }
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

bool ClientApplicationList::isAppTypeInstalled(int clientId, int appTypeId, void* context)
{
    std::vector<DBRow> rows;
    int rc = hostConfigRead("isAppTypeInstalled", context,
                            "SELECT 1 FROM DHT_AgtName WHERE ClientId = ?1 AND appTypeId = ?2 LIMIT 1",
                            {dbInt(clientId), dbInt(appTypeId)}, rows);
    return rc == 0 && !rows.empty();
}

int ClientApplicationList::getInstanceList(int clientId, int appTypeId, std::vector<int>& instanceIds,
                                           std::vector<std::string>& names, void* context, int)
{
    int rc = requireRow("getInstanceList", context, "DHT_Client", clientId);
    if (rc != 0) return rc;
    std::vector<DBRow> rows;
    rc = hostConfigRead("getInstanceList", context,
                        "SELECT id, name FROM HostInstance WHERE clientId = ?1 AND appTypeId = ?2 ORDER BY id",
                        {dbInt(clientId), dbInt(appTypeId)}, rows);
    if (rc == 0) takeList(rows, instanceIds, names);
    return rc;
}

int ClientApplicationList::getBackupSetList(std::vector<int>& backupSetIds, std::vector<std::string>& names,
                                            std::vector<int>& flags, int clientId, int appTypeId, int instanceId,
                                            void* context, int)
{
    int rc = requireRow("getBackupSetList", context, "DHT_Client", clientId);
    if (rc != 0) return rc;
    std::vector<DBRow> rows;
    rc = hostConfigRead("getBackupSetList", context,
                        "SELECT S.id, N.Name, S.flags FROM HostBackupSet S LEFT JOIN DHT_BackupSetName N ON N.id = S.id "
                        "WHERE S.instanceId = ?3 AND S.clientId = ?1 AND S.appTypeId = ?2 ORDER BY S.id",
                        {dbInt(clientId), dbInt(appTypeId), dbInt(instanceId)}, rows);
    if (rc != 0) return rc;
    takeList(rows, backupSetIds, names);
    flags.clear();
    for (const DBRow& r : rows) flags.push_back(static_cast<int>(r[2].i));
    return 0;
}

int ClientApplicationList::getSubclientList(std::vector<int>& subclientIds, std::vector<std::string>& names,
                                            int appTypeId, int backupSetId, void* context, int)
{
    int rc = requireRow("getSubclientList", context, "DHT_BackupSetName", backupSetId);
    if (rc != 0) return rc;
    std::vector<DBRow> rows;
    rc = hostConfigRead("getSubclientList", context,
                        "SELECT id, subclientName FROM DHT_Application WHERE backupSet = ?1 AND appTypeId = ?2 "
                        "ORDER BY id",
                        {dbInt(backupSetId), dbInt(appTypeId)}, rows);
    if (rc == 0) takeList(rows, subclientIds, names);
    return rc;
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
