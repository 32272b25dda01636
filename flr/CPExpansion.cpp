// The expansion of a consistency point into its snapshots, pair rows, pair
// paths, mount points and network shares, as the point queries send it.
#include "flr/CPExpansion.h"

#include "host/db/FLRTables.h"
#include "rows/Db/Cursor/YBGetFLRPairPath.h"
#include "service/ErrorCodes.h"
#include "service/HeldRows.h"
#include "service/RecordConversion.h"

namespace flr_detail {

namespace {

// Path type of a pair's source path; any other is its destination path.
const int32_t kSourcePathType = 10001;

}  // namespace

const ExpansionStyle ExpandById = {" IN (", false, "Could not find the FLR snapshots record(s) in the database"};
const ExpansionStyle ExpandFound = {" IN ( ", true, "Job id has no FLR snapshots record(s) in the database"};

std::string JoinIds(const std::vector<int32_t>& ids)
{
    std::string joined;
    for (size_t i = 0; i < ids.size(); ++i) joined += (i ? ", " : "") + std::to_string(ids[i]);
    return joined;
}

FLRConsistencyPointRecord_t ReportedCP(const YBFLRConsistencyPoint_t& row, bool withType, bool withFlags)
{
    FLRConsistencyPointRecord_t cp;
    YBSet(cp, row);
    cp.ClientId = -1;
    cp.TallmarkId = -1;
    if (!withType) cp.Type = 0;
    if (!withFlags) cp.Flags = 0;
    return cp;
}

void PairPathFold::add(int32_t pairId, int32_t pathType, const std::string& path)
{
    if (!m_source.path.empty() && !m_destination.path.empty()) {
        m_out.emplace_back(m_pairId, m_source.path, m_destination.path);
        m_source = Held();
        m_destination = Held();
        m_pairId = 0;
    }
    Held& kind = pathType == kSourcePathType ? m_source : m_destination;
    Held& other = pathType == kSourcePathType ? m_destination : m_source;
    if (!other.path.empty() && other.pairId != pairId) other = Held();
    if (m_pairId == 0) m_pairId = pairId;
    kind.path = path;
    kind.pairId = pairId;
}

void PairPathFold::finish()
{
    if (!m_source.path.empty() && !m_destination.path.empty())
        m_out.emplace_back(m_pairId, m_source.path, m_destination.path);
    m_source = Held();
    m_destination = Held();
    m_pairId = 0;
}

bool ExpandCP(ReplicationMgr& mgr, const ExpansionStyle& style, const QueryLog& log, int32_t cpId,
              int32_t pointInTime, FLRCPExpansion_t& ret, DBtran* tran)
{
    const std::string open = style.listOpen;

    std::vector<int32_t> snapshotIds;
    {
        FLRSnapshotDB db;
        steps::HeldRows<YBFLRSnapshot_t> rows(db);
        const ListRead read{"FLRSnapshotDB", "ConsistencyPointId = " + std::to_string(cpId), "id ASC",
                            "Could not get list of FLR snapshot records from the database", style.noSnapshotsText};
        if (!ReadRows(mgr, ret, log, read, db, rows, nullptr, __LINE__)) return false;
        for (unsigned int i = 0; i < rows.count; ++i) {
            YBSet(ret.Snapshots, rows.rows[i]);
            snapshotIds.push_back(rows.rows[i].id);
        }
    }

    std::vector<int32_t> pairIds;
    std::vector<int32_t> pairedSnapshotIds;
    {
        FLRSnapPairDB db;
        steps::HeldRows<YBFLRSnapPair_t> rows(db);
        const ListRead read{"FLRSnapPairDB", "SnapshotId" + open + JoinIds(snapshotIds) + ")", "id ASC",
                            "Could not get list of FLR snapshot pair records from the database",
                            "Could not find the FLR snapshots pair record(s) in the database"};
        if (!ReadRows(mgr, ret, log, read, db, rows, nullptr, __LINE__)) return false;
        for (unsigned int i = 0; i < rows.count; ++i) {
            ret.Pairs.emplace_back(rows.rows[i].id, rows.rows[i].SnapshotId, rows.rows[i].PairId);
            pairIds.push_back(rows.rows[i].PairId);
            pairedSnapshotIds.push_back(rows.rows[i].SnapshotId);
        }
    }

    const std::string pairList = JoinIds(pairIds);
    YBGetFLRPairPath cursor(tran);
    cursor.setValues(pointInTime, pairList.c_str());
    PairPathFold fold(ret.PairPaths);
    int state = 0;
    int rc;
    while ((rc = getNextRow(&cursor, &state, -1, 0)) == DB_ROW_OK) {
        const YBGetFLRPairPath_t& row = *cursor.getDataPtr();
        fold.add(row.PairId, row.PathType, YBColumnText(row.Path));
    }
    fold.finish();
    if (rc != DB_NO_MORE_ROWS) {
        ret.errCode = kErrDatabase;
        ret.errMsg = "Cannot get the list of pair path from the database";
        mgr.log() << "\tEvent: " << ret.errMsg << "\n\tgetNextRow(YBGetFLRPairPath &) failed\n\tPoint in Time = "
                  << pointInTime << "\n\tPair id(s)  = (" << pairList << ")\n\tDB Err Code = " << rc;
        mgr.WriteLogMsg(log.source, log.function, __LINE__, ReplicationMgr::ERR);
        return false;
    }

    std::vector<int32_t> mountPointIds;
    {
        FLRSnapMountPointDB db;
        steps::HeldRows<YBFLRSnapMountPoint_t> rows(db);
        const std::vector<int32_t>& ofSnapshots = style.mountsOfPairedSnapshots ? pairedSnapshotIds : snapshotIds;
        const ListRead read{"FLRSnapMountPointDB", "SnapshotId" + open + JoinIds(ofSnapshots) + ")", "id ASC",
                            "Could not get list of FLR snapshot Mount point records from the database", nullptr};
        if (!ReadRows(mgr, ret, log, read, db, rows, nullptr, __LINE__)) return false;
        for (unsigned int i = 0; i < rows.count; ++i) {
            ret.MountPoints.emplace_back();
            YBSet(ret.MountPoints.back(), rows.rows[i]);
            mountPointIds.push_back(rows.rows[i].id);
        }
    }

    if (!mountPointIds.empty()) {
        FLRSnapNetworkShareDB db;
        steps::HeldRows<YBFLRSnapNetworkShare_t> rows(db);
        const ListRead read{"FLRSnapNetworkShareDB", "MountPointId" + open + JoinIds(mountPointIds) + ")", "id ASC",
                            "Could not get list of FLR snapshot network shares records from the database", nullptr};
        if (!ReadRows(mgr, ret, log, read, db, rows, nullptr, __LINE__)) return false;
        for (unsigned int i = 0; i < rows.count; ++i) {
            ret.Shares.emplace_back();
            YBSet(ret.Shares.back(), rows.rows[i]);
        }
    }

    ret.errMsg = "";
    return true;
}

}  // namespace flr_detail
