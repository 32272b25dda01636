// The client inventory read: YBGetSNRVolInfoByClientId through getNextRow,
// beside the same rows read with plain sqlite3 calls on the same catalogue.
//
// Each size gets a catalogue of its own, seeded once: client 1 sees N SNR
// volumes (one device each), every volume has a replication volume and every
// second one a scratch volume; client 2 sees as many volumes again, which the
// query must pass over.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>

#include "host/db/DBStatementRegistry.h"
#include "host/db/DBtable.h"
#include "rows/Db/Cursor/YBGetSNRVolInfoByClientId.h"

namespace {

const int kClient = 1;

void check(int rc, sqlite3* db, const char* what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

class Catalogues {
public:
    ~Catalogues()
    {
        for (const auto& c : m_paths)
            for (const char* suffix : {"", "-wal", "-shm", "-journal"}) unlink((c.second + suffix).c_str());
        if (!m_dir.empty()) rmdir(m_dir.c_str());
    }

    // The catalogue of size n, made and seeded on first use.
    const std::string& get(int n)
    {
        auto it = m_paths.find(n);
        if (it != m_paths.end()) return it->second;
        if (m_dir.empty()) {
            char dir[] = "/tmp/replmgr_bench_XXXXXX";
            if (mkdtemp(dir) == nullptr) throw std::runtime_error("mkdtemp failed");
            m_dir = dir;
        }
        std::string path = m_dir + "/catalogue-" + std::to_string(n) + ".db";
        DBtran::useCatalogue(path);
        {
            DBtran tran(false);  // lays down the schema
            if (tran.startTran() != 0 || tran.commitTran(false) != 0) throw std::runtime_error("no catalogue");
        }
        seed(path, n);
        return m_paths[n] = path;
    }

private:
    static void seed(const std::string& path, int n)
    {
        sqlite3* db = nullptr;
        check(sqlite3_open(path.c_str(), &db), db, "open");
        sqlite3_busy_timeout(db, 5000);
        check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
        sqlite3_stmt* volume = nullptr;
        sqlite3_stmt* device = nullptr;
        sqlite3_stmt* replica = nullptr;
        sqlite3_stmt* scratch = nullptr;
        check(sqlite3_prepare_v2(db,
                                 "INSERT INTO YBPhysicalVolume (id, UniqueId, UniqueIdType, LUN, StartLBA, BlockCount, "
                                 "BlockSize, Flags, FSType, UniqueSnapshotID, ApplianceId) "
                                 "VALUES (?1, 'unique-id-' || ?1, 2, ?1 % 256, 2048, 20971520, 512, 1, 'NTFS', "
                                 "'snapshot-' || ?1, 3)",
                                 -1, &volume, nullptr),
              db, "prepare volume");
        check(sqlite3_prepare_v2(db,
                                 "INSERT INTO YBPhysicalDevice (ClientId, SNRVolumeId, DeviceName, OSDeviceName) "
                                 "VALUES (?2, ?1, '\\\\.\\PhysicalDrive' || ?1, '/dev/sd' || ?1)",
                                 -1, &device, nullptr),
              db, "prepare device");
        check(sqlite3_prepare_v2(db,
                                 "INSERT INTO YBVolume (PointInTime, CreationTime, ModifyTime, CurrentState, "
                                 "CurrentRole, PrimaryVolumeId, PhysicalVolumeId, JobId, SnapvaultReplicaDir, "
                                 "SourceGUID) VALUES (1700000000, 1700000000, 1700000100, 1, 2, ?1 + 1000000, ?1, "
                                 "42, '/vol/replica/' || ?1, 'guid-' || ?1)",
                                 -1, &replica, nullptr),
              db, "prepare replica");
        check(sqlite3_prepare_v2(db,
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
                check(sqlite3_step(s), db, "insert");
            }
            if (v % 2 == 0) {
                sqlite3_reset(scratch);
                sqlite3_bind_int(scratch, 1, v);
                check(sqlite3_step(scratch), db, "insert scratch");
            }
        }
        for (sqlite3_stmt* s : {volume, device, replica, scratch}) sqlite3_finalize(s);
        check(sqlite3_exec(db, "COMMIT; ANALYZE", nullptr, nullptr, nullptr), db, "commit");
        sqlite3_close(db);
    }

    std::string m_dir;
    std::map<int, std::string> m_paths;
};

Catalogues g_catalogues;

// Through the row facility: construct, setValues, getNextRow to the end.
void BM_RowFacility(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    DBtran::useCatalogue(g_catalogues.get(n));
    for (auto _ : state) {
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
        if (rc != DB_NO_MORE_ROWS || rows != n) {
            state.SkipWithError("the inventory read failed or gave the wrong count");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * n);
}

// The same statement with plain sqlite3 calls: prepare, bind, step, and copy
// every column into the same row structure.
void BM_PlainSqlite(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const std::string& path = g_catalogues.get(n);
    DBStatementRegistry::Entry entry;
    if (!DBStatementRegistry::lookup("YBGetSNRVolInfoByClientId", entry)) {
        state.SkipWithError("no statement registered");
        return;
    }
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        state.SkipWithError("cannot open the catalogue");
        sqlite3_close(db);
        return;
    }
    const size_t count = sizeof(YBGetSNRVolInfoByClientId_desc::columns) / sizeof(ZXDBColumnDef);
    for (auto _ : state) {
        YBGetSNRVolInfoByClientId_t row;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, entry.sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
            state.SkipWithError("prepare failed");
            break;
        }
        sqlite3_bind_int(stmt, 1, kClient);
        int rows = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            char* base = reinterpret_cast<char*>(&row);
            for (size_t i = 0; i < count; ++i) {
                const ZXDBColumnDef& c = YBGetSNRVolInfoByClientId_desc::columns[i];
                int col = static_cast<int>(i);
                if (c.letter == 'i') {
                    int v = sqlite3_column_int(stmt, col);
                    std::memcpy(base + c.offset, &v, sizeof(v));
                } else if (c.letter == 'b') {
                    long long v = sqlite3_column_int64(stmt, col);
                    std::memcpy(base + c.offset, &v, sizeof(v));
                } else {
                    const unsigned char* text = sqlite3_column_text(stmt, col);
                    zxstrcpy(base + c.offset, reinterpret_cast<const char*>(text), c.size);
                }
            }
            benchmark::DoNotOptimize(row.YBid);
            ++rows;
        }
        sqlite3_finalize(stmt);
        if (rows != n) {
            state.SkipWithError("wrong row count");
            break;
        }
    }
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * n);
}

}  // namespace

BENCHMARK(BM_RowFacility)->Arg(10)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainSqlite)->Arg(10)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
