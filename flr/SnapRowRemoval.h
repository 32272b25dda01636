// The database half shared by the deletions and the prunes of consistency
// points: the rows of one released snapshot (share, mount point, pair rows,
// snapshot) removed where the host reported the step done, and afterwards
// the points touched removed or marked unstable. Internal to flr/.
#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "flr/FLRRecords.h"
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

// After the items: the points of other sets lose only their snapshots and go
// through MarkCPUnstable; the set's own points are removed, each unless a
// snapshot still names it, and then it goes through MarkCPUnstable too.
bool RemoveTouchedCPs(const RowRemoval& r, const std::set<int32_t>& own, const std::set<int32_t>& other);

}  // namespace flr_detail
