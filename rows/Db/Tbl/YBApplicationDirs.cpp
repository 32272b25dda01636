#include "rows/Db/Tbl/YBApplicationDirs.h"

#include "host/db/ReplicaTables.h"
#include "host/db/SNRTables.h"

YBApplicationDirs_t& YBApplicationDirs_t::operator=(const YBApplicationDirs_t& other)
{
    if (this == &other) return *this;
    id = other.id;
    subclientId = other.subclientId;
    clientId = other.clientId;
    pathType = other.pathType;
    zxstrcpy(objName, other.objName, 2049);
    zxstrcpy(path, other.path, 2049);
    creationTime = other.creationTime;
    modifyTime = other.modifyTime;
    ReplicationVolumeId = other.ReplicationVolumeId;
    Flags = other.Flags;
    return *this;
}

// The row lists freed through CRepBaseDB::deleteList whose row types exist so
// far; the other entity rows get theirs with their tables.
template void CRepBaseDB::deleteList<YBApplicationDirs_t>(YBApplicationDirs_t*&);
template void CRepBaseDB::deleteList<YBPhysicalVolume_t>(YBPhysicalVolume_t*&);
template void CRepBaseDB::deleteList<YBPhysicalDevice_t>(YBPhysicalDevice_t*&);
template void CRepBaseDB::deleteList<YBMountPoint_t>(YBMountPoint_t*&);
template void CRepBaseDB::deleteList<YBTzHistoryName_t>(YBTzHistoryName_t*&);
template void CRepBaseDB::deleteList<YBScratchVolume_t>(YBScratchVolume_t*&);
template void CRepBaseDB::deleteList<YBVolume_t>(YBVolume_t*&);
template void CRepBaseDB::deleteList<YBScratchPool_t>(YBScratchPool_t*&);
