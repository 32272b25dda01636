// The rows of released snapshots, removed where the host did its part, and
// the consistency points they leave behind.
#include "flr/SnapRowRemoval.h"

#include <vector>

#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "host/db/FLRTables.h"
#include "flr/CPExpansion.h"
#include "service/ErrorCodes.h"
#include "service/HeldRows.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"

namespace flr_detail {

namespace {

std::string Num(long long value) { return std::to_string(value); }

// The entries of one kind of run, written once as data.
struct RemovalTexts {
    const char* contextLine;  // label of RowRemoval::contextId in the failure entries
    const char* shareRemoved[2];
    const char* mountRemoved[2];
    const char* pairsRemoved[2];
    const char* snapRemoved[2];
};

const RemovalTexts kOnePoint = {
    "\n\tConsistency Point Id = ",
    {"\tSnapshot's Share id ", " was removed successfully from the DB"},
    {"\tSnapshot's Mount Point id ", " was removed successfully from the DB"},
    {"\tSnapshot's Pair reference [", "] was removed successfully from the DB"},
    {"\tSnapshot id ", " was removed successfully from the DB"},
};
const RemovalTexts kWholeSet = {
    "\n\tReplication Set Id   = ",
    {"\tFLR Snapshot's share id [", "] was removed from DB"},
    {"\tFLR Snapshot's mount point id [", "] was removed from DB"},
    {"\tFLR Snapshot's pair reference ", "was removed from DB"},
    {"\tFLR Snapshot id [", "] was removed from DB"},
};
const RemovalTexts kPrune = {
    "\n\tReplication Set Id   = ",
    {"\tFLR's snapshot share id [", "] was removed successfully from the DB"},
    {"\tFLR's snapshot mount point id [", "] was removed successfully from the DB"},
    {"\tFLR's snapshot pair reference ", " was removed successfully from the DB"},
    {"\tFLR's snapshot Id [", "] was removed successfully from the DB"},
};

const RemovalTexts& TextsOf(RemovalKind kind)
{
    return kind == RemovalKind::OnePoint ? kOnePoint : kind == RemovalKind::WholeSet ? kWholeSet : kPrune;
}

bool Failed(const RowRemoval& r, int32_t code, const std::string& text, const std::string& details, long line)
{
    *r.errCode = code;
    *r.errText = text;
    r.mgr.log() << "\tEvent: " << text << details;
    r.mgr.WriteLogMsg(ProgNameDeletes, r.function, line, ReplicationMgr::ERR);
    return false;
}

void Removed(const RowRemoval& r, const char* const (&entry)[2], const std::string& what, long line)
{
    r.mgr.log() << entry[0] << what << entry[1];
    r.mgr.WriteLogMsg(ProgNameDeletes, r.function, line, ReplicationMgr::MSG);
}

// A step the host did not report done, named by its text and the line
// naming what stayed.
bool HostLeft(const RowRemoval& r, const char* text, const std::string& whatLine, long line)
{
    return Failed(r, kErrHostRelease, text, whatLine + TextsOf(r.kind).contextLine + Num(r.contextId), line);
}

// Removes the row of the id through the table class and logs its removal.
template <typename Table>
bool RemoveRow(const RowRemoval& r, int32_t id, const char* const (&removed)[2], const char* text,
               const char* callLine, const char* idLine, long line)
{
    Table db;
    if (db.remove(id, r.tran)) {
        Removed(r, removed, Num(id), line);
        return true;
    }
    if (r.goneIsRemoved && db.getErrorCode() == DB_NO_MORE_ROWS) {
        r.mgr.log() << "\tEvent: The row was removed from the DB by another request" << idLine << id
                    << TextsOf(r.kind).contextLine << r.contextId;
        r.mgr.WriteLogMsg(ProgNameDeletes, r.function, __LINE__, ReplicationMgr::MSG);
        return true;
    }
    return Failed(r, kErrDatabase, text,
                  std::string(callLine) + idLine + Num(id) + TextsOf(r.kind).contextLine + Num(r.contextId) +
                      "\n\tDB Err Code          = " + Num(db.getErrorCode()),
                  line);
}

bool RemovePairRows(const RowRemoval& r, const FLRSnap_t& item)
{
    const std::string where = "SnapshotId = " + Num(item.Snapshot.id);
    FLRSnapPairDB pairDB;
    steps::HeldRows<YBFLRSnapPair_t> pairs(pairDB);
    if (!pairDB.getList(pairs.rows, pairs.count, where.c_str(), "", r.tran))
        return Failed(r, kErrDatabase, "Cannot find the pair associated with the snapshot. DB Error",
                      "\n\tFLRSnapPairDB::getList() failed\n\tsWhere      = " + where +
                          "\n\tDB Err Code = " + Num(pairDB.getErrorCode()),
                      __LINE__);
    if (pairs.count == 0) return true;
    std::vector<int32_t> ids;
    for (unsigned int i = 0; i < pairs.count; ++i) ids.push_back(pairs.rows[i].id);
    const std::string removeWhere = "id in (" + JoinIds(ids) + ")";
    if (!pairDB.remove(removeWhere.c_str(), r.tran))
        return Failed(r, kErrDatabase, "Cannot remove snapshot's pair information from the Database. DB Error",
                      "\n\tFLRSnapPairDB::remove() failed\n\tsWhere      = " + removeWhere +
                          "\n\tDB Err Code = " + Num(pairDB.getErrorCode()),
                      __LINE__);
    Removed(r, TextsOf(r.kind).pairsRemoved, removeWhere, __LINE__);
    return true;
}

// The rows of the where clause through the table class, a failure in the
// run's result.
template <typename Table>
bool RemoveRowsOf(const RowRemoval& r, const std::string& where, const char* text, const char* callLine, long line)
{
    return RemoveRowsWhere<Table>(where, callLine, r.tran, [&](const std::string& details) {
        return Failed(r, kErrDatabase, text, details, line);
    });
}

// The snapshot's other mount points and their shares: a create or a
// rebuild may have stored several, and only the first is released with the
// item.
bool RemoveOtherMountRows(const RowRemoval& r, const FLRSnap_t& item)
{
    return RemoveRowsOf<FLRSnapNetworkShareDB>(r, SnapshotSharesWhere(item.Snapshot.id),
                                               "Failed to remove the share information from the DB",
                                               "\n\tFLRSnapNetworkShareDB::remove() failed", __LINE__) &&
           RemoveRowsOf<FLRSnapMountPointDB>(r, "SnapshotId = " + Num(item.Snapshot.id),
                                             "Failed to remove the mount point information from the DB",
                                             "\n\tFLRSnapMountPointDB::remove() failed", __LINE__);
}

}  // namespace

std::string SnapshotSharesWhere(int32_t snapshotId)
{
    return "MountPointId IN (SELECT id FROM YBFLRSnapMountPoint WHERE SnapshotId = " + Num(snapshotId) + ")";
}

bool CountCPSnapshots(ReplicationMgr& mgr, const char* function, int32_t cpId, unsigned int& count, int32_t* errCode,
                      std::string* errText, DBtran* tran)
{
    const std::string where = "ConsistencyPointId = " + Num(cpId);
    FLRSnapshotDB snapDB;
    if (snapDB.getNRows(where.c_str(), count, tran)) return true;
    count = 0;
    if (snapDB.getErrorCode() == DB_NO_MORE_ROWS) return true;
    *errCode = kErrDatabase;
    *errText = "Cannot find how many snapshot the consistency point has. DB Error";
    mgr.log() << "\tEvent: " << *errText << "\n\tFLRSnasphot::getNRows() failed\n\tsWhere      = " << where
              << "\n\tDB Err Code = " << snapDB.getErrorCode();
    mgr.WriteLogMsg(ProgNameDeletes, function, __LINE__, ReplicationMgr::ERR);
    return false;
}

ItemRows RemoveItemRows(const RowRemoval& r, const FLRSnap_t& item)
{
    const RemovalTexts& texts = TextsOf(r.kind);
    const bool prune = r.kind == RemovalKind::Prune;

    if (item.Share.id != -1) {
        if (r.honourHost && (item.Result & FLRSNAP_SHARE_REMOVED) == 0) {
            if (!prune) {
                HostLeft(r, "Failed to destroy the network share from the host",
                         "\n\tNetwork Share Name = " + EvDebug::escaped(item.Share.NetShareName), __LINE__);
                return ItemRows::Failed;
            }
            // The entry keeps all its rows; its point is not recorded.
            r.mgr.log() << "\tEvent: Network Share name could not be deleted from dest. host"
                        << "\n\tNetwork Share Name    = " << EvDebug::escaped(item.Share.NetShareName)
                        << "\n\tNetwork share name id = " << item.Share.id
                        << "\n\tReplication Set Id    = " << r.contextId;
            r.mgr.WriteLogMsg(ProgNameDeletes, r.function, __LINE__, ReplicationMgr::ERR);
            return ItemRows::LeftWhole;
        }
        if (!RemoveRow<FLRSnapNetworkShareDB>(r, item.Share.id, texts.shareRemoved,
                                              "Failed to remove the share information from the DB",
                                              "\n\tFLRnapNetworkShareDB::remove() failed",
                                              "\n\tShare Id             = ", __LINE__))
            return ItemRows::Failed;
    }

    if (item.MountPoint.id != -1) {
        if (r.honourHost && (item.Result & FLRSNAP_UNMOUNTED) == 0) {
            HostLeft(r, "Failed to unmount the snapshot from the host",
                     (prune ? "\n\tMount Point could not be unmounted from the dest.host. DB entry remains" : "") +
                         std::string("\n\tMount Path = ") + EvDebug::escaped(item.MountPoint.MountPath),
                     __LINE__);
            return ItemRows::Failed;
        }
        if (!RemoveRow<FLRSnapMountPointDB>(r, item.MountPoint.id, texts.mountRemoved,
                                            "Failed to remove the mount point information from the DB",
                                            "\n\tFLRSnapMountPointDB\t::remove() failed",
                                            "\n\tMount Point Id       = ", __LINE__))
            return ItemRows::Failed;
    }

    if (r.honourHost && (item.Result & FLRSNAP_DESTROYED) == 0) {
        HostLeft(r, "Failed to destroy the snapshot from the host",
                 (prune ? "\n\tCould nto destroy snapshot from dest. host. DB entry remains" : "") +
                     std::string("\n\tSnapshot Id         = ") + EvDebug::escaped(item.Snapshot.Name),
                 __LINE__);
        return ItemRows::Failed;
    }

    if (!RemoveOtherMountRows(r, item) || !RemovePairRows(r, item)) return ItemRows::Failed;
    if (!RemoveRow<FLRSnapshotDB>(r, item.Snapshot.id, texts.snapRemoved,
                                  "Failed to remove the snapshot information from the DB. DB Error",
                                  "\n\tFLRSnapshotDB::remove() failed", "\n\tSnapshot DB id       = ", __LINE__))
        return ItemRows::Failed;
    return ItemRows::Removed;
}

bool RemoveTouchedCPs(const RowRemoval& r, const std::set<int32_t>& own, const std::set<int32_t>& other)
{
    // A point of the set's own that still has snapshots (some of its
    // snapshots stayed, or one joined it since the list was read) is not
    // removed under them: it is marked unstable as the other sets' points are.
    std::set<int32_t> unstable = other;
    std::vector<int32_t> empty;
    for (int32_t cpId : own) {
        unsigned int count = 0;
        if (!CountCPSnapshots(r.mgr, r.function, cpId, count, r.errCode, r.errText, r.tran)) return false;
        if (count > 0)
            unstable.insert(cpId);
        else
            empty.push_back(cpId);
    }
    if (!unstable.empty()) {
        MarkCPUnstableArgs_t args;
        args.CPIds.assign(unstable.begin(), unstable.end());
        MarkCPUnstableRet_t marked;
        if (!r.mgr.MarkCPUnstable(args, marked, r.tran)) {
            *r.errCode = marked.errCode;
            *r.errText = marked.errMsg;
            return false;
        }
    }
    if (empty.empty()) return true;

    const std::string where = "id IN (" + JoinIds(empty) + ")";
    FLRConsistencyPointDB cpDB;
    // Points that are gone already: another request removed them since the
    // snapshots were read.
    if (!cpDB.remove(where.c_str(), r.tran) && !(r.goneIsRemoved && cpDB.getErrorCode() == DB_NO_MORE_ROWS))
        return Failed(r, kErrDatabase, "Failed to delete Consistency point from the database. Error returned from DB",
                      "\n\tFLRConsistencyPointDB::remove() failed\n\tReplication Set Id = " + Num(r.contextId) +
                          "\n\tsWhere             = " + where + "\n\tDB Err Code        = " + Num(cpDB.getErrorCode()),
                      __LINE__);
    r.mgr.log() << (r.kind == RemovalKind::Prune ? "\tFLR's RP " : "\tRPs ") << where
                << (r.kind == RemovalKind::Prune ? " was removed successfully from the DB"
                                                 : " were removed from the DB successfully");
    r.mgr.WriteLogMsg(ProgNameDeletes, r.function, __LINE__, ReplicationMgr::MSG);
    return true;
}

}  // namespace flr_detail
