#include "host/Subclient.h"

#include "host/HostConfig.h"

int Subclient::read(const char* query, void* context, Values& subclient)
{
    std::vector<DBRow> rows;
    int rc = hostConfigRead(query, context,
                            "SELECT A.subclientStatus, K.isDefault, K.destinationGUID, K.defaultImportHost "
                            "FROM DHT_Application A LEFT JOIN HostSubclientConfig K ON K.subclientId = A.id "
                            "WHERE A.id = ?1",
                            {dbInt(m_nSubclientId)}, rows);
    if (rc != 0) return rc;
    if (rows.empty()) return HOSTCFG_NOT_FOUND;
    const DBRow& r = rows.front();
    subclient.deleted = (r[0].i & 1) != 0;
    subclient.isDefault = r[1].i != 0;
    subclient.destinationGUID = r[2].s;
    subclient.defaultImportHost = r[3].s;
    return 0;
}

int Subclient::isDeleted(bool& deleted, void* context)
{
    Values subclient;
    int rc = read("isDeleted", context, subclient);
    if (rc == 0) deleted = subclient.deleted;
    return rc;
}

int Subclient::isDefaultSubclient(bool& isDefault, void* context)
{
    Values subclient;
    int rc = read("isDefaultSubclient", context, subclient);
    if (rc == 0) isDefault = subclient.isDefault;
    return rc;
}

int FileReplicationSubClient::getDestinationGUID(std::string& guid, void* context)
{
    Values subclient;
    int rc = read("getDestinationGUID", context, subclient);
    if (rc == 0) guid = subclient.destinationGUID;
    return rc;
}

int ReplicationSubclientConfiguration::getDefaultImportHost(std::string& host, void* context)
{
    Values subclient;
    int rc = read("getDefaultImportHost", context, subclient);
    if (rc == 0) host = subclient.defaultImportHost;
    return rc;
}

// A content entry names its volume before the first char(21): the entries of
// volume N lie from "N\x15" up to (not including) "N\x16".
int ContentQuery::getSCListHavingVolId(int volumeId, std::vector<int>& subclientIds, void* context)
{
    std::vector<DBRow> rows;
    std::string volume = std::to_string(volumeId);
    int rc = hostConfigRead("getSCListHavingVolId", context,
                            "SELECT DISTINCT F.componentNameId FROM DHT_ScFilterFile F "
                            "WHERE F.fileName >= ?1 AND F.fileName < ?2 AND F.modified = 0 AND F.Type = 1 "
                            "ORDER BY F.componentNameId",
                            {dbText(volume + '\x15'), dbText(volume + '\x16')}, rows);
    if (rc != 0) return rc;
    subclientIds.clear();
    for (const DBRow& r : rows) subclientIds.push_back(static_cast<int>(r[0].i));
    return 0;
}
