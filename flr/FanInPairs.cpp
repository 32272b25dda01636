// The pair rows that tie the replication pairs of a source replication set
// to snapshots, as the deletion of the set needs them before the rows of
// fan-in recovery points go.
#include <string>
#include <vector>

#include "host/ClientProperties.h"
#include "host/db/DBtable.h"
#include "host/db/FLRTables.h"
#include "flr/FLRRecords.h"
#include "service/ErrorCodes.h"
#include "service/HeldRows.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"

namespace {

// Application type of the replication pairs (subclients) of a set.
const int kReplicationPairAppType = 84;

}  // namespace

bool ReplicationMgr::getFanInRPAssociatedWithSrcRepSet(const FanInRPAssociatedWithSrcRepSetArgs_t& args,
                                                       FanInRPAssociatedWithSrcRepSetRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::getFanInRPAssociatedWithSrcRepSet()";
    const std::string setId = std::to_string(args.SrcRepSetId);
    ret.Pairs.clear();
    ret.SnapshotIds.clear();

    std::vector<int> pairIds;
    std::vector<std::string> names;
    ClientApplicationList apps;
    const int status = apps.getSubclientList(pairIds, names, kReplicationPairAppType, args.SrcRepSetId, tran, 1);
    if (status != 0)
        return steps::Fail(*this, ret, kErrLookupFailed,
                           "Failed to query possible fan in snapshot(s). Cannot get the Replication set's pair list",
                           "\n\tClientApplicationList::getSubclientList() failed\n\tReplication Set Id = " + setId +
                               "\n\tApp Mgr Ret Code   = " + std::to_string(status),
                           ProgNameQueries, Fn, __LINE__);
    if (pairIds.empty()) {
        ret.errMsg = "";
        return true;
    }

    std::string where = "PairId IN (";
    for (size_t i = 0; i < pairIds.size(); ++i) where += (i ? ", " : "") + std::to_string(pairIds[i]);
    where += ")";
    FLRSnapPairDB pairDB;
    steps::HeldRows<YBFLRSnapPair_t> rows(pairDB);
    if (!pairDB.getList(rows.rows, rows.count, where.c_str(), "", tran))
        return steps::Fail(*this, ret, kErrDatabase, "Cannot get the list of RP-Pairs from the DB",
                           "\n\tFLRSnapPairDB::getList() failed\n\tsWhere = " + where + "\n\tRep Set Id  = " + setId +
                               "\n\tDB Err Code = " + std::to_string(pairDB.getErrorCode()),
                           ProgNameQueries, Fn, __LINE__);
    for (unsigned int i = 0; i < rows.count; ++i) {
        ret.Pairs.push_back(rows.rows[i]);
        ret.SnapshotIds.insert(rows.rows[i].SnapshotId);
    }
    ret.errMsg = "";
    return true;
}
