// The references between catalogue rows that a removal must not leave
// dangling, watched around one write: a reference counts as broken when it
// named a stored row before the write, still names it afterwards and the row
// is gone. A row that a write points at an id no row has is the host's to
// set right (it passes the ids), with one exception: a device moved to an SNR
// volume that is not stored. And the scratch pools' counters against a fresh
// count of their members.
#pragma once

#include <sqlite3.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/StatementRows.h"

// A column whose value is the id of a row of `target`.
struct RowReference {
    const char* table;
    const char* column;
    const char* target;
    // Also broken when a write moves a stored row to an id not stored.
    bool movedToMissing = false;
};

// Every column naming a scratch volume, an SNR volume, a device, a
// replication volume, a mount point or a row of a consistency point, and a
// scratch volume's pool. Not watched, on purpose: what names a snap engine
// or an appliance (pools, policies, snap parameters and volumes keep such
// ids when those go), the job volume history (it keeps the ids of deleted
// volumes until a retention pass prunes it), and what names the host's own
// rows (clients, subclients, sets, jobs).
inline const std::vector<RowReference>& WatchedReferences()
{
    static const std::vector<RowReference> references = {
        {"YBPhysicalDevice", "SNRVolumeId", "YBPhysicalVolume", true},
        {"YBMountPoint", "DeviceNameId", "YBPhysicalDevice"},
        {"YBTzHistoryName", "DeviceId", "YBPhysicalDevice"},
        {"YBVolume", "PrimaryVolumeId", "YBPhysicalVolume"},
        {"YBVolume", "PhysicalVolumeId", "YBPhysicalVolume"},
        {"YBVolume", "SnapVolumeId", "YBPhysicalVolume"},
        {"YBVolume", "RVScratchVolumeId", "YBScratchVolume"},
        {"YBScratchVolume", "PhysicalVolumeId", "YBPhysicalVolume"},
        {"YBScratchVolume", "RVScratchVolumePoolId", "YBScratchPool"},  // the members the counters count
        {"YBVolSnapParams", "SNRVolumeId", "YBPhysicalVolume"},
        {"YBFile", "VolumeId", "YBPhysicalVolume"},
        {"YBApplicationDirs", "ReplicationVolumeId", "YBVolume"},
        {"YBSubclientYBVolumes", "YBVolumeId", "YBVolume"},
        {"YBFLRSnapshot", "ConsistencyPointId", "YBFLRConsistencyPoint"},
        {"YBFLRSnapPair", "SnapshotId", "YBFLRSnapshot"},
        {"YBFLRSnapMountPoint", "SnapshotId", "YBFLRSnapshot"},
        {"YBFLRSnapNetworkShare", "MountPointId", "YBFLRSnapMountPoint"},
    };
    return references;
}

// One row naming a row that is gone.
struct BrokenReference {
    const RowReference* reference = nullptr;
    long long rowId = 0;
    long long missingId = 0;
    bool moved = false;  // the write moved the row there

    // "YBScratchVolume.PhysicalVolumeId -> YBPhysicalVolume"
    std::string kind() const
    {
        return std::string(reference->table) + "." + reference->column + " -> " + reference->target +
               (moved ? " (moved there)" : "");
    }
    std::string text() const
    {
        return std::string(reference->table) + " row " + std::to_string(rowId) + ", column " + reference->column +
               ", names " + reference->target + " " + std::to_string(missingId) +
               (moved ? ", which the write moved it to and which is not stored" : ", which is gone");
    }
};

namespace catalogue_references {

// (rowid, value) of each row whose column is not 0, those whose value names
// a stored row of the target or those whose value names none.
inline std::set<std::pair<long long, long long>> Rows(sqlite3* db, const RowReference& r, bool stored)
{
    const std::string sql = std::string("SELECT rowid, ") + r.column + " FROM " + r.table + " WHERE " + r.column +
                            " <> 0 AND " + r.column + (stored ? " IN" : " NOT IN") + " (SELECT id FROM " + r.target +
                            ")";
    std::set<std::pair<long long, long long>> rows;
    ReadRows(db, sql,
             [&](sqlite3_stmt* row) { rows.emplace(sqlite3_column_int64(row, 0), sqlite3_column_int64(row, 1)); });
    return rows;
}

// Every (rowid, value) of the column.
inline std::map<long long, long long> AllRows(sqlite3* db, const RowReference& r)
{
    const std::string sql = std::string("SELECT rowid, ") + r.column + " FROM " + r.table;
    std::map<long long, long long> rows;
    ReadRows(db, sql, [&](sqlite3_stmt* row) { rows[sqlite3_column_int64(row, 0)] = sqlite3_column_int64(row, 1); });
    return rows;
}

}  // namespace catalogue_references

// The watched references of a catalogue around one write, read on the
// caller's connection: before() ahead of the write, after() once it ended.
class ReferenceWatch {
public:
    explicit ReferenceWatch(sqlite3* db) : m_db(db) {}

    void before()
    {
        m_satisfied.clear();
        m_values.clear();
        for (const RowReference& r : WatchedReferences()) {
            m_satisfied.push_back(catalogue_references::Rows(m_db, r, true));
            m_values.push_back(r.movedToMissing ? catalogue_references::AllRows(m_db, r)
                                                : std::map<long long, long long>());
        }
    }

    std::vector<BrokenReference> after() const
    {
        std::vector<BrokenReference> broken;
        const std::vector<RowReference>& references = WatchedReferences();
        for (size_t i = 0; i < references.size() && i < m_satisfied.size(); ++i) {
            for (const auto& row : catalogue_references::Rows(m_db, references[i], false)) {
                BrokenReference b;
                b.reference = &references[i];
                b.rowId = row.first;
                b.missingId = row.second;
                if (m_satisfied[i].count(row) != 0) {
                    broken.push_back(b);
                    continue;
                }
                auto was = m_values[i].find(row.first);
                if (references[i].movedToMissing && was != m_values[i].end() && was->second != row.second) {
                    b.moved = true;
                    broken.push_back(b);
                }
            }
        }
        return broken;
    }

private:
    sqlite3* m_db;
    std::vector<std::set<std::pair<long long, long long>>> m_satisfied;
    std::vector<std::map<long long, long long>> m_values;
};

// Each pool whose TotalVolumes is not the count of its members or whose
// AvailableVolumes is not the count of those whose SNR volume is not
// reserved. A member whose SNR volume is gone leaves its pool's available
// count unknown: a broken reference tells of it, and only the total is
// compared.
inline std::vector<std::string> PoolCounterFaults(sqlite3* db)
{
    std::vector<std::string> faults;
    const char* sql =
        "SELECT P.id, P.TotalVolumes, P.AvailableVolumes, COUNT(S.id), "
        "COALESCE(SUM(CASE WHEN V.id IS NOT NULL AND (V.Flags & 2) = 0 THEN 1 ELSE 0 END), 0), "
        "COALESCE(SUM(CASE WHEN S.id IS NOT NULL AND V.id IS NULL THEN 1 ELSE 0 END), 0) "
        "FROM YBScratchPool P LEFT JOIN YBScratchVolume S ON S.RVScratchVolumePoolId = P.id "
        "LEFT JOIN YBPhysicalVolume V ON V.id = S.PhysicalVolumeId GROUP BY P.id ORDER BY P.id";
    ReadRows(db, sql, [&](sqlite3_stmt* row) {
        const long long total = sqlite3_column_int64(row, 1);
        const long long available = sqlite3_column_int64(row, 2);
        const long long members = sqlite3_column_int64(row, 3);
        const long long free = sqlite3_column_int64(row, 4);
        const bool unknown = sqlite3_column_int64(row, 5) != 0;
        if (total != members || (!unknown && available != free))
            faults.push_back("YBScratchPool row " + std::to_string(sqlite3_column_int64(row, 0)) +
                             ": TotalVolumes/AvailableVolumes " + std::to_string(total) + "/" +
                             std::to_string(available) + ", counted " + std::to_string(members) + "/" +
                             (unknown ? std::string("?") : std::to_string(free)));
    });
    return faults;
}
