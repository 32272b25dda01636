#include "host/BackupSet.h"

#include "host/HostConfig.h"

int BackupSet::read(const char* query, void* context, Values& set, bool needsConfiguration)
{
    std::vector<DBRow> rows;
    int rc = hostConfigRead(query, context,
                            "SELECT N.Name, S.id, S.clientId, S.destinationHostId, S.maxConsistencyPoints "
                            "FROM DHT_BackupSetName N LEFT JOIN HostBackupSet S ON S.id = N.id WHERE N.id = ?1",
                            {dbInt(m_nBackupSetId)}, rows);
    if (rc != 0) return rc;
    if (rows.empty()) return HOSTCFG_NOT_FOUND;
    const DBRow& r = rows.front();
    set.name = r[0].s;
    set.configured = !r[1].isNull;
    set.clientId = static_cast<int>(r[2].i);
    set.destinationHostId = static_cast<int>(r[3].i);
    set.maxConsistencyPoints = static_cast<int>(r[4].i);
    return needsConfiguration && !set.configured ? HOSTCFG_NO_VALUE : 0;
}

int BackupSet::getBackupSetName(std::string& name, void* context)
{
    Values set;
    int rc = read("getBackupSetName", context, set);
    if (rc == 0) name = set.name;
    return rc;
}

int BackupSet::getClientIdForBackupSet(int& clientId, void* context)
{
    Values set;
    int rc = read("getClientIdForBackupSet", context, set, true);
    if (rc == 0) clientId = set.clientId;
    return rc;
}

int FileReplicationBackupSet::getDestinationHostId(int& hostId, void* context)
{
    Values set;
    int rc = read("getDestinationHostId", context, set, true);
    if (rc == 0) hostId = set.destinationHostId;
    return rc;
}

int FileReplicationBackupSet::getMaxCountConsistPoints(int& count, void* context)
{
    Values set;
    int rc = read("getMaxCountConsistPoints", context, set, true);
    if (rc == 0) count = set.maxConsistencyPoints;
    return rc;
}
