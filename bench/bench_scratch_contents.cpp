// The contents of one scratch pool (message version 6): the whole request
// through post, and beside it the rows of the same three registered
// statements read with plain sqlite3 calls into the same row structures, on
// the same catalogue in the same run.
//
// Each size N has a catalogue of its own, seeded once: pool 7 holds N SNR
// volumes, each seen by one device with one mount point, every second one
// with a replication volume on it; pool 8 holds N further volumes that the
// query passes over. Client 2 sees ten more volumes of no pool, for the
// inventories read beside the pool contents.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "bench/BenchCatalogues.h"
#include "bench/BenchHost.h"
#include "bench/BenchSupport.h"
#include "host/db/DBStatementRegistry.h"
#include "host/db/DBtable.h"
#include "rows/Db/Cursor/YBGetSNRDeviceByPoolId.h"
#include "rows/Db/Cursor/YBGetSNRMountPointByPoolId.h"
#include "rows/Db/Cursor/YBGetSNRVolInfoByPoolId.h"
#include "scratch/PoolContents.h"
#include "service/ReplicationMgr.h"
#include "snr/VolumeInventory.h"

namespace {

const unsigned long kPoolContentsV6 = 0x3500020a;
const unsigned long kInventoryV6 = 0x35000208;
const int kPool = 7;
const int kSmallClient = 2;
const int kSmallClientVolumes = 10;

void Seed(sqlite3* db, int n)
{
    const char* const statements[] = {
        "INSERT INTO YBPhysicalVolume (id, UniqueId, UniqueIdType, LUN, StartLBA, BlockCount, BlockSize, Flags, "
        "FSType, UniqueSnapshotID, ApplianceId, Type) VALUES (?1, '600A0B80-' || ?1, 2, ?1 % 256, 2048, 20971520, "
        "512, 1, 'NTFS', 'snapshot-' || ?1, 3, 1)",
        "INSERT INTO YBScratchVolume (PhysicalVolumeId, RVScratchVolumePoolId) VALUES (?1, ?2)",
        "INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName, OSDeviceName) "
        "VALUES (?1, 1, ?1, 'dev-' || ?1, '/dev/sd' || ?1)",
        "INSERT INTO YBMountPoint (DeviceNameId, Path) VALUES (?1, '/mnt/data-' || ?1)",
    };
    sqlite3_stmt* stmts[4] = {};
    for (int i = 0; i < 4; ++i)
        BenchCheck(sqlite3_prepare_v2(db, statements[i], -1, &stmts[i], nullptr), db, "prepare");
    sqlite3_stmt* replica = nullptr;
    BenchCheck(sqlite3_prepare_v2(db,
                                  "INSERT INTO YBVolume (CurrentRole, PrimaryVolumeId, PhysicalVolumeId, "
                                  "RVScratchVolumeId, JobId, SnapvaultReplicaDir, SourceGUID) "
                                  "VALUES (1, ?1 + 1000000, ?1, ?1, 42, '/vol/replica/' || ?1, 'guid-' || ?1)",
                                  -1, &replica, nullptr),
               db, "prepare replica");
    for (int v = 1; v <= 2 * n; ++v) {
        for (sqlite3_stmt* s : stmts) {
            sqlite3_reset(s);
            sqlite3_bind_int(s, 1, v);
            sqlite3_bind_int(s, 2, v <= n ? kPool : kPool + 1);
            BenchCheck(sqlite3_step(s), db, "insert");
        }
        if (v % 2 == 0) {
            sqlite3_reset(replica);
            sqlite3_bind_int(replica, 1, v);
            BenchCheck(sqlite3_step(replica), db, "insert replica");
        }
    }
    for (sqlite3_stmt* s : stmts) sqlite3_finalize(s);
    sqlite3_finalize(replica);
    const std::string first = std::to_string(2 * n + 1);
    const std::string last = std::to_string(2 * n + kSmallClientVolumes);
    const std::string small =
        "WITH RECURSIVE v(id) AS (SELECT " + first + " UNION ALL SELECT id + 1 FROM v WHERE id < " + last + ") "
        "INSERT INTO YBPhysicalVolume (id, UniqueId, Type) SELECT id, 'small-' || id, 1 FROM v; "
        "INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) SELECT id, " +
        std::to_string(kSmallClient) + ", id, 'small-dev-' || id FROM YBPhysicalVolume WHERE id >= " + first + ";";
    BenchCheck(sqlite3_exec(db, small.c_str(), nullptr, nullptr, nullptr), db, "small client");
}

BenchCatalogues g_catalogues("scratch", &Seed);

// The whole request through post: the three passes under the lock, the five
// lists converted, the five reply arrays built and the reply sent.
void BM_PoolContentsPost(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    DBtran::useCatalogue(g_catalogues.get(n));
    bench::quietHost();
    CZxNetwork network;
    repQueryRVScratchVolumeByScratchPoolIdV6Response sent{};
    network.setSendObserver([&](unsigned long, const void* data, unsigned long) {
        std::memcpy(static_cast<void*>(&sent), data, sizeof sent);
    });
    ZxSessionSend session(&network);
    ReplicationMgr mgr(&session);
    const uint32_t expected = static_cast<uint32_t>(n);
    for (auto _ : state) {
        repQueryRVScratchVolumeByScratchPoolIdV6Req req{};
        req.poolId = kPool;
        zxsDatabuf buf;
        buf.m_pData = &req;
        if (mgr.post(kPoolContentsV6, 0, &buf) != 1 || sent.status != 1) {
            state.SkipWithError("the request failed");
            break;
        }
        const auto& l = sent.lists;
        if (l.nVolumes != expected || l.nScratchVolumes != expected || l.nDevices != expected ||
            l.nMountPoints != expected || l.nReplicas != expected / 2) {
            state.SkipWithError("wrong counts");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * n);
}

// Client 2's inventory (V6, ten volumes) through post, back to back, while
// another thread posts the contents of the pool of N volumes over and over
// (none for N = 0): both take "TmpSNRVolInfo", so an inventory waits at most
// for one pool-contents query. Reported: inventories per second, the
// longest and the 99th-percentile inventory, and the pool contents answered
// meanwhile.
void BM_InventoryBesidePoolContents(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    DBtran::useCatalogue(g_catalogues.get(std::max(n, 10)));
    bench::quietHost();

    std::atomic<bool> stop{false};
    std::atomic<long> contents{0};
    std::atomic<bool> contentsFailed{false};
    std::thread pool;
    if (n > 0) {
        pool = std::thread([&] {
            CZxNetwork network;
            uint32_t status = 0;
            network.setSendObserver([&](unsigned long, const void* data, unsigned long) {
                status = static_cast<const repQueryRVScratchVolumeByScratchPoolIdV6Response*>(data)->status;
            });
            ZxSessionSend session(&network);
            ReplicationMgr mgr(&session);
            while (!stop.load()) {
                repQueryRVScratchVolumeByScratchPoolIdV6Req req{};
                req.poolId = kPool;
                zxsDatabuf buf;
                buf.m_pData = &req;
                status = 0;
                if (mgr.post(kPoolContentsV6, 0, &buf) != 1 || status != 1) contentsFailed = true;
                ++contents;
            }
        });
    }

    bool complete = false;
    CZxNetwork network;
    network.setSendObserver([&](unsigned long, const void* data, unsigned long length) {
        const auto* r = static_cast<const repQuerySNRDeviceByClientIdV6Response*>(data);
        complete = length == sizeof *r && r->status == 1 && r->deviceCount == kSmallClientVolumes &&
                   r->volumeCount == kSmallClientVolumes;
    });
    ZxSessionSend session(&network);
    ReplicationMgr mgr(&session);
    repQuerySNRDeviceByClientIdV6Req request;
    request.ClientId = kSmallClient;
    std::vector<double> waits;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        const auto before = std::chrono::steady_clock::now();
        zxsDatabuf buf;
        buf.m_pData = &request;
        complete = false;
        mgr.post(kInventoryV6, 0, &buf);
        waits.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - before).count());
        if (!complete) {
            state.SkipWithError("the inventory failed");
            break;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    stop = true;
    if (pool.joinable()) pool.join();
    if (contentsFailed) state.SkipWithError("a pool contents request failed");
    if (!waits.empty()) {
        state.counters["inventories_per_s"] = static_cast<double>(waits.size()) / seconds;
        state.counters["p99_us"] = bench::percentile(waits, 0.99);
        state.counters["max_us"] = *std::max_element(waits.begin(), waits.end());
    }
    state.counters["pool_contents"] = static_cast<double>(contents.load());
}

// The rows of one registered statement with plain sqlite3 calls: prepare,
// bind the pool, step, copy every column into the row structure.
template <typename Desc, typename Row>
int ReadRegistered(sqlite3* db, const char* name)
{
    DBStatementRegistry::Entry entry;
    if (!DBStatementRegistry::lookup(name, entry)) return -1;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, entry.sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) return -1;
    sqlite3_bind_int(stmt, 1, kPool);
    const size_t count = sizeof(Desc::columns) / sizeof(ZXDBColumnDef);
    Row row;
    int rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        char* base = reinterpret_cast<char*>(&row);
        for (size_t i = 0; i < count; ++i) {
            const ZXDBColumnDef& c = Desc::columns[i];
            const int col = static_cast<int>(i);
            if (c.letter == 'i') {
                int v = sqlite3_column_int(stmt, col);
                std::memcpy(base + c.offset, &v, sizeof v);
            } else if (c.letter == 'b') {
                long long v = sqlite3_column_int64(stmt, col);
                std::memcpy(base + c.offset, &v, sizeof v);
            } else {
                zxstrcpy(base + c.offset, reinterpret_cast<const char*>(sqlite3_column_text(stmt, col)), c.size);
            }
        }
        benchmark::DoNotOptimize(row);
        ++rows;
    }
    sqlite3_finalize(stmt);
    return rows;
}

void BM_PlainSqliteSameRows(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const std::string& path = g_catalogues.get(n);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        state.SkipWithError("cannot open the catalogue");
        sqlite3_close(db);
        return;
    }
    for (auto _ : state) {
        const int volumes =
            ReadRegistered<YBGetSNRVolInfoByPoolId_desc, YBGetSNRVolInfoByPoolId_t>(db, "YBGetSNRVolInfoByPoolId");
        const int devices =
            ReadRegistered<YBGetSNRDeviceByPoolId_desc, YBGetSNRDeviceByPoolId_t>(db, "YBGetSNRDeviceByPoolId");
        const int mountPoints = ReadRegistered<YBGetSNRMountPointByPoolId_desc, YBGetSNRMountPointByPoolId_t>(
            db, "YBGetSNRMountPointByPoolId");
        if (volumes != n || devices != n || mountPoints != n) {
            state.SkipWithError("wrong row counts");
            break;
        }
    }
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * n);
}

}  // namespace

BENCHMARK(BM_PoolContentsPost)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainSqliteSameRows)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InventoryBesidePoolContents)->Arg(0)->Arg(10)->Arg(1000)->Arg(10000)->UseRealTime();

BENCHMARK_MAIN();
