// Application directories of replicas: the removal of every entry a
// replication volume holds.
#include "replicas/ApplicationDirs.h"

#include <string>

#include "host/db/DBtable.h"
#include "host/db/ReplicaTables.h"
#include "rows/Db/Tbl/YBApplicationDirs.h"
#include "service/ErrorCodes.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"

bool ReplicationMgr::DeleteAppDirsByReplicaVolId(const DeleteAppDirsByReplicationVolIdArgs_t& args,
                                                 DeleteAppDirsByReplicationVolIdRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::DeleteAppDirsByReplicaVolId()";
    const int id = args.ReplicationVolumeId;

    if (id <= 0)
        return steps::Fail(*this, ret, kErrInvalidId,
                           "Cannot delete application dirs records from the database with an invalid YB volume id",
                           "\n\tReplication Volume Id = " + std::to_string(id), ProgNameDeletes, Fn, __LINE__);

    const std::string where = "ReplicationVolumeId = " + std::to_string(id);
    ApplicationDirsDB dirs;
    unsigned int count = 0;
    if (!dirs.getNRows(where.c_str(), count, tran))
        return steps::Fail(*this, ret, kErrDatabase, "Cannot access application dirs information from the database",
                           "\n\tApplicationDirsDB::getNRows() failed\n\tsWhere = " + where +
                               "\n\tDB Err Code = " + std::to_string(dirs.getErrorCode()),
                           ProgNameDeletes, Fn, __LINE__);
    if (count > 0 && !dirs.remove(where.c_str(), tran))
        return steps::Fail(*this, ret, kErrDatabase, "Cannot remove application dirs information from the database",
                           "\n\tApplicationDirsDB::remove() failed\n\tsWhere = " + where + "\n\tNRows = " +
                               std::to_string(count) + "\n\tDB Err Code = " + std::to_string(dirs.getErrorCode()),
                           ProgNameDeletes, Fn, __LINE__);

    ret.errMsg = "";
    m_LogMsg << "\tApplication Dirs records removed for YB Volume " << id;
    WriteLogMsg(ProgNameDeletes, Fn, __LINE__, MSG);
    return true;
}
