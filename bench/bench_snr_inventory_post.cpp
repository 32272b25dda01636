// The inventory of one client through the whole request path: post with the
// V6 inventory request, the operation under its table lock, the device,
// volume and mount point cursors, the counts of what lies on the volumes,
// the records, the five reply arrays and the send. In turns with it the same
// statements kept prepared with plain sqlite3 calls (bind, step, copy every
// column into the cursor's row structure) on the same catalogue.
//
// Each size N gets a catalogue of its own, seeded once: client 1 sees N SNR
// volumes, and 2N more (at least 1,000) belong to other clients, ten each; every volume has
// one device, one mount point and one replication volume, every second one a
// scratch volume. Client 1 is read; the other clients' rows must not slow its
// read, so before timing, every statement is checked with EXPLAIN QUERY PLAN
// to find its rows through an index.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchCatalogues.h"
#include "bench/BenchHost.h"
#include "bench/BenchSupport.h"
#include "host/ZxFramework.h"
#include "host/db/DBStatementRegistry.h"
#include "host/db/DBtable.h"
#include "rows/Db/Cursor/YBGetSNRDeviceByClientId.h"
#include "rows/Db/Cursor/YBGetSNRMountPointByClientId.h"
#include "rows/Db/Cursor/YBGetSNRVolInfoByClientId.h"
#include "service/ReplicationMgr.h"
#include "snr/VolumeInventory.h"

namespace {

const int kClient = 1;
// So many volumes of other clients at the least: in a smaller catalogue the
// planner may rightly read a table whole.
const int kLeastOthers = 1000;

// The statements of one inventory read, as the library runs them: the three
// cursors' registered statements and the two counts of the host's tables.
std::vector<std::string> InventoryStatements()
{
    std::vector<std::string> statements;
    for (const char* cursor : {"YBGetSNRDeviceByClientId", "YBGetSNRVolInfoByClientId", "YBGetSNRMountPointByClientId"}) {
        DBStatementRegistry::Entry entry;
        if (!DBStatementRegistry::lookup(cursor, entry)) throw std::runtime_error(std::string("no statement ") + cursor);
        statements.push_back(entry.sql);
    }
    for (const char* table : {"YBVolume", "YBScratchVolume"})
        statements.push_back(std::string("SELECT COUNT(*) FROM ") + table +
                             " WHERE PhysicalVolumeId IN (SELECT SNRVolumeId FROM YBPhysicalDevice WHERE ClientId = ?1)");
    return statements;
}

// A plan line that reads a whole table or index, or "" when every access
// searches an index.
std::string FullScanOf(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* stmt = nullptr;
    BenchCheck(sqlite3_prepare_v2(db, ("EXPLAIN QUERY PLAN " + sql).c_str(), -1, &stmt, nullptr), db, "explain");
    std::string scan;
    while (scan.empty() && sqlite3_step(stmt) == SQLITE_ROW) {
        const std::string line = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 3));
        if (line.rfind("SCAN", 0) == 0) scan = line;
    }
    sqlite3_finalize(stmt);
    return scan;
}

// Client 1 sees volumes 1 to n; the next 2n (at least kLeastOthers) belong
// to other clients, ten each. Every volume has a device, a mount point and a replication volume
// carrying its id, and a scratch volume when its id is even. Then every
// statement of the read is checked to search an index.
void Seed(sqlite3* db, int n)
{
    const int others = std::max(2 * n, kLeastOthers);
    const std::string volumes = "WITH RECURSIVE v(id) AS (SELECT 1 UNION ALL SELECT id + 1 FROM v WHERE id < " +
                                std::to_string(n + others) + ") ";
    const std::string client = "CASE WHEN id <= " + std::to_string(n) + " THEN " + std::to_string(kClient) +
                               " ELSE 2 + (id - " + std::to_string(n) + " - 1) / 10 END";
    const std::string statements[] = {
        volumes + "INSERT INTO YBPhysicalVolume (id, UniqueId, UniqueIdType, LUN, StartLBA, BlockCount, BlockSize, "
                  "Flags, FSType, UniqueSnapshotID, ApplianceId) SELECT id, 'unique-id-' || id, 2, id % 256, 2048, "
                  "20971520, 512, 1, 'NTFS', 'snapshot-' || id, 3 FROM v",
        "INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName, OSDeviceName, AccessPath) SELECT id, " +
            client + ", id, '\\\\.\\PhysicalDrive' || id, '/dev/sd' || id, 'path-' || id FROM YBPhysicalVolume",
        "INSERT INTO YBMountPoint (id, DeviceNameId, Path) SELECT id, id, '/mnt/volume-' || id FROM YBPhysicalDevice",
        "INSERT INTO YBVolume (id, PointInTime, CreationTime, ModifyTime, CurrentState, CurrentRole, PrimaryVolumeId, "
        "PhysicalVolumeId, JobId, SnapvaultReplicaDir, SourceGUID) SELECT id, 1700000000, 1700000000 + id, "
        "1700000100, 1, 2, id + 1000000, id, 42, '/vol/replica/' || id, 'guid-' || id FROM YBPhysicalVolume",
        "INSERT INTO YBScratchVolume (PhysicalVolumeId, RVScratchVolumePoolId, LockedByJobId) SELECT id, 7, 0 "
        "FROM YBPhysicalVolume WHERE id % 2 = 0",
    };
    for (const std::string& sql : statements) BenchCheck(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), db, "seed");
}

BenchCatalogues g_inventories("inventory", &Seed);

// The catalogue of size n, every statement of the read checked (once) to
// find its rows through an index as the catalogue stands, unanalysed.
const std::string& CheckedCatalogue(int n)
{
    static std::map<int, bool> checked;
    const std::string& path = g_inventories.get(n);
    if (!checked[n]) {
        sqlite3* db = nullptr;
        BenchCheck(sqlite3_open(path.c_str(), &db), db, "open");
        std::string scan;
        std::string statement;
        for (const std::string& sql : InventoryStatements()) {
            if (!scan.empty()) break;
            scan = FullScanOf(db, sql);
            statement = sql;
        }
        sqlite3_close(db);
        if (!scan.empty()) throw std::runtime_error("without an index (" + scan + "): " + statement);
        checked[n] = true;
    }
    return path;
}

// Runs a kept statement for the client and copies each of its rows; the
// number of rows, or -1 when it failed.
template <typename Desc, typename Row>
int ReadRows(sqlite3_stmt* stmt, Row& row)
{
    sqlite3_bind_int(stmt, 1, kClient);
    int rows = 0;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        bench::copyColumns<Desc>(stmt, row);
        benchmark::DoNotOptimize(row);
        ++rows;
    }
    sqlite3_reset(stmt);
    return rc == SQLITE_DONE ? rows : -1;
}

// A kept count statement for the client.
long long Count(sqlite3_stmt* stmt)
{
    sqlite3_bind_int(stmt, 1, kClient);
    const long long count = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : -1;
    sqlite3_reset(stmt);
    return count;
}

// Through post, the V6 inventory of client 1 with its reply checked as it is
// sent, in turns with the same five statements kept prepared in plain
// sqlite3, their rows copied into the cursors' row structures.
void BM_InventoryPost(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const std::string& path = CheckedCatalogue(n);
    DBtran::useCatalogue(path);
    bench::quietLog();

    bool complete = false;
    CZxNetwork network;
    network.setSendObserver([&](unsigned long, const void* data, unsigned long length) {
        const auto* r = static_cast<const repQuerySNRDeviceByClientIdV6Response*>(data);
        const uint32_t all = static_cast<uint32_t>(n);
        complete = length == sizeof *r && r->status == 1 && r->deviceCount == all && r->volumeCount == all &&
                   r->mountPointCount == all && r->replicationVolumeCount == all &&
                   r->scratchVolumeCount == all / 2 && r->volumes[n - 1].id == n;
    });
    ZxSessionSend session(&network);
    ReplicationMgr mgr(&session);
    repQuerySNRDeviceByClientIdV6Req request;
    request.ClientId = kClient;

    bench::PlainConnection plain(path);
    std::vector<sqlite3_stmt*> kept;
    for (const std::string& sql : InventoryStatements()) kept.push_back(plain.keep(sql));
    YBGetSNRDeviceByClientId_t device;
    YBGetSNRVolInfoByClientId_t volume;
    YBGetSNRMountPointByClientId_t mountPoint;

    bench::alternate(state,
                     {"post", nullptr,
                      [&] {
                          zxsDatabuf buf;
                          buf.m_pData = &request;
                          complete = false;
                          mgr.post(0x35000208, 0, &buf);
                          return complete;
                      }},
                     {"plain", nullptr, [&] {
                          return ReadRows<YBGetSNRDeviceByClientId_desc>(kept[0], device) == n &&
                                 ReadRows<YBGetSNRVolInfoByClientId_desc>(kept[1], volume) == n &&
                                 Count(kept[3]) == n && Count(kept[4]) == n / 2 &&
                                 ReadRows<YBGetSNRMountPointByClientId_desc>(kept[2], mountPoint) == n;
                      }});
    state.SetItemsProcessed(state.iterations() * n);
}

// Size 10 is the smoke test's.
BENCHMARK(BM_InventoryPost)->Arg(10)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
