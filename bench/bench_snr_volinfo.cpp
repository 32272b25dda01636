// The client inventory read: the cursor YBGetSNRVolInfoByClientId through
// getNextRow, in turns with the same statement kept prepared in plain sqlite3
// on the same catalogue.
//
// Each size gets a catalogue of its own, seeded once: client 1 sees N SNR
// volumes (one device each), every volume has a replication volume and every
// second one a scratch volume; client 2 sees as many volumes again, which the
// query must pass over.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <string>

#include "bench/BenchSupport.h"
#include "host/db/DBStatementRegistry.h"
#include "host/db/DBtable.h"
#include "rows/Db/Cursor/YBGetSNRVolInfoByClientId.h"

namespace {

const int kClient = 1;

// Client 1 sees n SNR volumes, one device each; every volume has a
// replication volume and every second one a scratch volume; client 2 sees as
// many volumes again.
void seed(sqlite3* db, int n)
{
    sqlite3_stmt* volume = nullptr;
    sqlite3_stmt* device = nullptr;
    sqlite3_stmt* replica = nullptr;
    sqlite3_stmt* scratch = nullptr;
    BenchCheck(sqlite3_prepare_v2(db,
                                  "INSERT INTO YBPhysicalVolume (id, UniqueId, UniqueIdType, LUN, StartLBA, BlockCount, "
                                  "BlockSize, Flags, FSType, UniqueSnapshotID, ApplianceId) "
                                  "VALUES (?1, 'unique-id-' || ?1, 2, ?1 % 256, 2048, 20971520, 512, 1, 'NTFS', "
                                  "'snapshot-' || ?1, 3)",
                                  -1, &volume, nullptr),
               db, "prepare volume");
    BenchCheck(sqlite3_prepare_v2(db,
                                  "INSERT INTO YBPhysicalDevice (ClientId, SNRVolumeId, DeviceName, OSDeviceName) "
                                  "VALUES (?2, ?1, '\\\\.\\PhysicalDrive' || ?1, '/dev/sd' || ?1)",
                                  -1, &device, nullptr),
               db, "prepare device");
    BenchCheck(sqlite3_prepare_v2(db,
                                  "INSERT INTO YBVolume (PointInTime, CreationTime, ModifyTime, CurrentState, "
                                  "CurrentRole, PrimaryVolumeId, PhysicalVolumeId, JobId, SnapvaultReplicaDir, "
                                  "SourceGUID) VALUES (1700000000, 1700000000, 1700000100, 1, 2, ?1 + 1000000, ?1, "
                                  "42, '/vol/replica/' || ?1, 'guid-' || ?1)",
                                  -1, &replica, nullptr),
               db, "prepare replica");
    BenchCheck(sqlite3_prepare_v2(db,
                                  "INSERT INTO YBScratchVolume (PhysicalVolumeId, RVScratchVolumePoolId, Flags) "
                                  "VALUES (?1, 7, 0)",
                                  -1, &scratch, nullptr),
               db, "prepare scratch");
    for (int v = 1; v <= 2 * n; ++v) {
        int client = v <= n ? kClient : 2;
        for (sqlite3_stmt* s : {volume, device, replica}) {
            sqlite3_reset(s);
            sqlite3_bind_int(s, 1, v);
            if (s == device) sqlite3_bind_int(s, 2, client);
            BenchCheck(sqlite3_step(s), db, "insert");
        }
        if (v % 2 == 0) {
            sqlite3_reset(scratch);
            sqlite3_bind_int(scratch, 1, v);
            BenchCheck(sqlite3_step(scratch), db, "insert scratch");
        }
    }
    for (sqlite3_stmt* s : {volume, device, replica, scratch}) sqlite3_finalize(s);
}

BenchCatalogues g_catalogues("inventory", &seed);

// Reads the inventory through the row facility: construct, setValues,
// getNextRow to the end. The number of rows read.
int readThroughFacility()
{
    YBGetSNRVolInfoByClientId volumes(nullptr);
    YBGetSNRVolInfoByClientId_t* row = volumes.getDataPtr();
    volumes.setValues(kClient);
    int counter = 0;
    int rows = 0;
    int rc;
    while ((rc = getNextRow(&volumes, &counter, -1, 0)) == DB_ROW_OK) {
        benchmark::DoNotOptimize(row->YBid);
        ++rows;
    }
    return rc == DB_NO_MORE_ROWS ? rows : -1;
}

// The same statement kept prepared with plain sqlite3 calls: bind, step,
// copy every column into the same row structure, reset. The number of rows.
int readPlain(sqlite3_stmt* stmt)
{
    YBGetSNRVolInfoByClientId_t row;
    sqlite3_bind_int(stmt, 1, kClient);
    int rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        bench::copyColumns<YBGetSNRVolInfoByClientId_desc>(stmt, row);
        benchmark::DoNotOptimize(row.YBid);
        ++rows;
    }
    sqlite3_reset(stmt);
    return rows;
}

// Both reads in turns on the catalogue of size N.
void BM_InventoryRead(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const std::string& path = g_catalogues.get(n);
    DBtran::useCatalogue(path);
    DBStatementRegistry::Entry entry;
    if (!DBStatementRegistry::lookup("YBGetSNRVolInfoByClientId", entry)) {
        state.SkipWithError("no statement registered");
        return;
    }
    bench::PlainConnection plain(path);
    sqlite3_stmt* stmt = plain.keep(entry.sql);
    bench::alternate(state, {"facility", nullptr, [n] { return readThroughFacility() == n; }},
                     {"plain", nullptr, [n, stmt] { return readPlain(stmt) == n; }});
    state.SetItemsProcessed(state.iterations() * n);
}

}  // namespace

BENCHMARK(BM_InventoryRead)->Arg(10)->Arg(1000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMicrosecond);
