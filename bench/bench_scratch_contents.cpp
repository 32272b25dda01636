// The contents of one scratch pool (message version 6): the whole request
// through post, alone and in turns with the rows of the same three registered
// statements read with plain sqlite3 calls into the same row structures, on
// the same catalogue.
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
#include <stdexcept>
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
// lists converted, the five reply arrays built and the reply sent; its counts
// checked as it is sent.
class PoolContentsPost {
public:
    explicit PoolContentsPost(int n) : m_expected(static_cast<uint32_t>(n)), m_session(&m_network), m_mgr(&m_session)
    {
        m_network.setSendObserver([this](unsigned long, const void* data, unsigned long) {
            std::memcpy(static_cast<void*>(&m_sent), data, sizeof m_sent);
        });
    }
    bool run()
    {
        repQueryRVScratchVolumeByScratchPoolIdV6Req req{};
        req.poolId = kPool;
        zxsDatabuf buf;
        buf.m_pData = &req;
        m_sent.status = 0;
        if (m_mgr.post(kPoolContentsV6, 0, &buf) != 1 || m_sent.status != 1) return false;
        const auto& l = m_sent.lists;
        return l.nVolumes == m_expected && l.nScratchVolumes == m_expected && l.nDevices == m_expected &&
               l.nMountPoints == m_expected && l.nReplicas == m_expected / 2;
    }

private:
    uint32_t m_expected;
    repQueryRVScratchVolumeByScratchPoolIdV6Response m_sent{};
    CZxNetwork m_network;
    ZxSessionSend m_session;
    ReplicationMgr m_mgr;
};

void BM_PoolContentsPost(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    DBtran::useCatalogue(g_catalogues.get(n));
    bench::quietHost();
    PoolContentsPost post(n);
    for (auto _ : state) {
        if (!post.run()) {
            state.SkipWithError("the request failed or its counts are wrong");
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

// A registered statement kept prepared on a plain connection.
sqlite3_stmt* KeepRegistered(bench::PlainConnection& plain, const char* name)
{
    DBStatementRegistry::Entry entry;
    if (!DBStatementRegistry::lookup(name, entry)) throw std::runtime_error(std::string("no statement ") + name);
    return plain.keep(entry.sql);
}

// The rows of a kept statement for the pool, each copied into the row
// structure; the number of rows.
template <typename Desc, typename Row>
int ReadRows(sqlite3_stmt* stmt, Row& row)
{
    sqlite3_bind_int(stmt, 1, kPool);
    int rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        bench::copyColumns<Desc>(stmt, row);
        benchmark::DoNotOptimize(row);
        ++rows;
    }
    sqlite3_reset(stmt);
    return rows;
}

// The request through post in turns with the rows of its three registered
// statements, kept prepared on a plain connection, each row copied into the
// cursor's row structure.
void BM_PoolContentsAgainstPlain(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const std::string& path = g_catalogues.get(n);
    DBtran::useCatalogue(path);
    bench::quietHost();
    PoolContentsPost post(n);
    bench::PlainConnection plain(path);
    sqlite3_stmt* volumes = KeepRegistered(plain, "YBGetSNRVolInfoByPoolId");
    sqlite3_stmt* devices = KeepRegistered(plain, "YBGetSNRDeviceByPoolId");
    sqlite3_stmt* mountPoints = KeepRegistered(plain, "YBGetSNRMountPointByPoolId");
    YBGetSNRVolInfoByPoolId_t volume;
    YBGetSNRDeviceByPoolId_t device;
    YBGetSNRMountPointByPoolId_t mountPoint;
    bench::alternate(state, {"post", nullptr, [&] { return post.run(); }},
                     {"plain", nullptr, [&] {
                          return ReadRows<YBGetSNRVolInfoByPoolId_desc>(volumes, volume) == n &&
                                 ReadRows<YBGetSNRDeviceByPoolId_desc>(devices, device) == n &&
                                 ReadRows<YBGetSNRMountPointByPoolId_desc>(mountPoints, mountPoint) == n;
                      }});
    state.SetItemsProcessed(state.iterations() * n);
}

}  // namespace

BENCHMARK(BM_PoolContentsPost)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PoolContentsAgainstPlain)
    ->Arg(10)
    ->Arg(1000)
    ->Arg(10000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InventoryBesidePoolContents)->Arg(0)->Arg(10)->Arg(1000)->Arg(10000)->UseRealTime();

BENCHMARK_MAIN();
