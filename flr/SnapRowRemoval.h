// The database half shared by the deletions and the prunes of consistency
// points: the rows of one released snapshot (share, mount point, pair rows,
// snapshot) removed where the host reported the step done, and afterwards
// the points touched removed or marked unstable. Internal to flr/.
#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "flr/FLRRecords.h"
#include "host/db/DBtable.h"
#include "service/ReplicationMgr.h"

class DBtran;

namespace flr_detail {

// Whose rows are removed: the entries and the answer to a step the host did
// not report done differ.
enum class RemovalKind {
    OnePoint,  // a point's deletion: -24
    WholeSet,  // a set's deletion: -24, unless forced
    Prune,     // a share left: the entry stays whole; a mount point or snapshot left: -24
};

// One run of the database half: where failures go and what the entries say.
struct RowRemoval {
    ReplicationMgr& mgr;
    RemovalKind kind;
    const char* function;
    int32_t* errCode;
    std::string* errText;
    DBtran* tran;
    int64_t contextId;      // the point (OnePoint) or the replication set
    bool honourHost = true;  // false: remove whatever the host reported
    // true: a row that is gone when its id comes to be removed (another
    // request removed it since the id was read) counts as removed
    bool goneIsRemoved = false;
};

enum class ItemRows { Removed, LeftWhole, Failed };

// Removes the share, mount point, pair rows and snapshot row of the item in
// that order, each only where its step is done, unless the host is not
// honoured. The item's share and mount point are the first ones, which the
// host released; the snapshot's other mount points and their shares go
// with the snapshot row.
ItemRows RemoveItemRows(const RowRemoval& r, const FLRSnap_t& item);

// The network shares of a snapshot's mount points.
std::string SnapshotSharesWhere(int32_t snapshotId);

// Removes the rows of the where clause through the table class; no row to
// remove counts as done. A failure goes to failed(details), the details of
// its entry naming the table call, the where clause and the database's code,
// and its result is returned.
template <typename Table, typename Failed>
bool RemoveRowsWhere(const std::string& where, const char* callLine, DBtran* tran, Failed&& failed)
{
    Table db;
    if (db.remove(where.c_str(), tran) || db.getErrorCode() == DB_NO_MORE_ROWS) return true;
    return failed(std::string(callLine) + "\n\tsWhere      = " + where +
                  "\n\tDB Err Code = " + std::to_string(db.getErrorCode()));
}

// Counts the snapshots of the point; none found counts 0. A count that
// cannot be read fails with -4 in the code and text, logged for the function.
bool CountCPSnapshots(ReplicationMgr& mgr, const char* function, int32_t cpId, unsigned int& count, int32_t* errCode,
                      std::string* errText, DBtran* tran);

// After the items: the points of other sets lose only their snapshots and go
// through MarkCPUnstable; the set's own points are removed, each unless a
// snapshot still names it, and then it goes through MarkCPUnstable too.
bool RemoveTouchedCPs(const RowRemoval& r, const std::set<int32_t>& own, const std::set<int32_t>& other);

}  // namespace flr_detail
