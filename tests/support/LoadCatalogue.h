// The catalogue of the concurrent load (tests/support/ConcurrentLoad.h): the
// rows it starts from, the host configuration of a process that posts the
// load, and the checks of the catalogue afterwards.
#pragma once

#include <sqlite3.h>

#include <functional>
#include <string>
#include <vector>

#include "TestHost.h"
#include "host/HostConfig.h"
#include "host/HostJournal.h"

namespace concurrent_load {

// Pools 1 to 3 (type 1, no engine) of client 7's SNR volumes 101 to 124 (one
// device each): 101 to 118 are members, six in each pool, 119 to 124 in none.
// The load moves any of them from pool to pool, but takes only 113 to 124 out
// of their pools; jobs reserve 101 to 112.
// Snapshots lie on SNR volume 20 (client 7's too) of primary volume 10, under
// policy 8 (100 s): every snapshot and replica added at time 0 is due. Set 40
// (owner 8, destination host 5) has the pairs 201 and 202 for the points.
const int kPools = 3;
const int kFirstPoolVolume = 101;
const int kPoolVolumes = 24;
const int kFirstMembers = 18;
const int kSnapshotVolume = 20;
const int kPrimaryVolume = 10;
const int kPolicy = 8;
const int kSet = 40;

// Runs SQL on a connection of its own; the database's text, or "" when it ran.
inline std::string ExecSql(const std::string& path, const std::string& sql)
{
    sqlite3* db = nullptr;
    std::string error;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
        error = "cannot open " + path;
    } else {
        sqlite3_busy_timeout(db, 10000);
        char* msg = nullptr;
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &msg) != SQLITE_OK) error = msg ? msg : "failed";
        sqlite3_free(msg);
    }
    sqlite3_close(db);
    return error;
}

// The catalogue above, written into the library's catalogue at path (which
// the calling process uses already); "" or what failed.
inline std::string SeedCatalogue(const std::string& path)
{
    HostClientSeed poolHost;
    poolHost.id = 7;
    poolHost.name = "pool-host";
    poolHost.netHostName = "pool-host.net";
    HostClientSeed destination;
    destination.id = 5;
    destination.name = "dst-host";
    destination.tallmarkId = 3;
    HostClientSeed owner;
    owner.id = 8;
    owner.name = "owner";
    owner.tallmarkId = 4;
    for (HostClientSeed* client : {&poolHost, &destination, &owner})
        if (HostConfig::addClient(*client) != 0) return "cannot add client " + client->name;
    HostBackupSetSeed set;
    set.id = kSet;
    set.name = "set-40";
    set.clientId = 8;
    set.appTypeId = 84;
    set.destinationHostId = 5;
    if (HostConfig::addBackupSet(set) != 0) return "cannot add the backup set";

    std::string sql = "INSERT INTO YBPolicy (id, name, RetentionSeconds) VALUES (" + std::to_string(kPolicy) +
                      ", 'Short', 100);"
                      "INSERT INTO DHT_Application (id, clientId, appTypeId, backupSet, subclientName, "
                      "subclientStatus) VALUES (201, 8, 84, 40, 'pair-a', 40), (202, 9, 84, 40, 'pair-b', 40);";
    const int perPool = kFirstMembers / kPools;
    for (int pool = 1; pool <= kPools; ++pool)
        sql += "INSERT INTO YBScratchPool (id, name, TotalVolumes, AvailableVolumes, SnapEngineInfoId, Type) VALUES (" +
               std::to_string(pool) + ", 'pool-" + std::to_string(pool) + "', " + std::to_string(perPool) + ", " +
               std::to_string(perPool) + ", 0, 1);";
    std::vector<int> volumes = {kPrimaryVolume, kSnapshotVolume};
    for (int i = 0; i < kPoolVolumes; ++i) volumes.push_back(kFirstPoolVolume + i);
    for (int id : volumes) {
        const std::string n = std::to_string(id);
        sql += "INSERT INTO YBPhysicalVolume (id, UniqueId, Type) VALUES (" + n + ", 'uid-" + n + "', 1);";
        if (id != kPrimaryVolume)
            sql += "INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (" +
                   std::to_string(1000 + id) + ", 7, " + n + ", '/dev/v" + n + "');";
    }
    for (int i = 0; i < kFirstMembers; ++i)
        sql += "INSERT INTO YBScratchVolume (id, PhysicalVolumeId, RVScratchVolumePoolId) VALUES (" +
               std::to_string(500 + i) + ", " + std::to_string(kFirstPoolVolume + i) + ", " +
               std::to_string(1 + i / perPool) + ");";
    return ExecSql(path, sql);
}

// A host that logs nowhere and keeps no journals, as a host runs for long.
inline void ConfigureLoadHost()
{
    ConfigureQuietHost();
    HostJournals::keep(false);
}

// What is wrong in the catalogue: each pool's TotalVolumes must be the count
// of its members and AvailableVolumes the count of those whose SNR volume is
// not reserved; no SNR volume may be in two scratch rows, and no volume
// registered twice (two rows of one identity). Empty when all holds.
inline std::vector<std::string> CatalogueFaults(const std::string& path)
{
    std::vector<std::string> faults;
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        return {"cannot open " + path};
    }
    sqlite3_busy_timeout(db, 10000);
    auto rows = [db, &faults](const char* sql, const std::function<void(sqlite3_stmt*)>& row) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
            faults.push_back(std::string("cannot read: ") + sqlite3_errmsg(db));
            return;
        }
        while (sqlite3_step(stmt) == SQLITE_ROW) row(stmt);
        sqlite3_finalize(stmt);
    };
    rows("SELECT P.id, P.TotalVolumes, P.AvailableVolumes, COUNT(S.id), "
         "COALESCE(SUM(CASE WHEN (V.Flags & 2) = 0 THEN 1 ELSE 0 END), 0) "
         "FROM YBScratchPool P LEFT JOIN YBScratchVolume S ON S.RVScratchVolumePoolId = P.id "
         "LEFT JOIN YBPhysicalVolume V ON V.id = S.PhysicalVolumeId GROUP BY P.id ORDER BY P.id",
         [&faults](sqlite3_stmt* s) {
             const long long stored[2] = {sqlite3_column_int64(s, 1), sqlite3_column_int64(s, 2)};
             const long long counted[2] = {sqlite3_column_int64(s, 3), sqlite3_column_int64(s, 4)};
             if (stored[0] != counted[0] || stored[1] != counted[1])
                 faults.push_back("pool " + std::to_string(sqlite3_column_int64(s, 0)) + ": total/available " +
                                  std::to_string(stored[0]) + "/" + std::to_string(stored[1]) + ", counted " +
                                  std::to_string(counted[0]) + "/" + std::to_string(counted[1]));
         });
    rows("SELECT PhysicalVolumeId, COUNT(*) FROM YBScratchVolume GROUP BY PhysicalVolumeId HAVING COUNT(*) > 1",
         [&faults](sqlite3_stmt* s) {
             faults.push_back("SNR volume " + std::to_string(sqlite3_column_int64(s, 0)) + " in " +
                              std::to_string(sqlite3_column_int64(s, 1)) + " scratch rows");
         });
    rows("SELECT UniqueId, COUNT(*) FROM YBPhysicalVolume GROUP BY UniqueId, UniqueIdType, LUN, StartLBA, BlockCount "
         "HAVING COUNT(*) > 1",
         [&faults](sqlite3_stmt* s) {
             faults.push_back(std::string("volume ") + reinterpret_cast<const char*>(sqlite3_column_text(s, 0)) +
                              " in " + std::to_string(sqlite3_column_int64(s, 1)) + " rows");
         });
    sqlite3_close(db);
    return faults;
}

}  // namespace concurrent_load
