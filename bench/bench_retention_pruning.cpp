// A retention pass through post (0x35000081) over N replication volumes of
// 100 policies, with none of them due and with 10 % due; the time per volume.
//
// Each (N, due %) has a catalogue of its own, seeded once; every pass runs on
// a fresh copy of it (made untimed), so that each pass finds the same work.
// Half the volumes are replicas, each on a reserved scratch volume of its own
// seen by one device with one mount point; half are snapshots (engine 1) on
// an SNR volume seen by one device; ten clients share the devices. A due
// replica is unmounted and its scratch volume released in a transaction of
// its own; a due snapshot is deleted by the client snapshot tool (the
// client-side stand-ins answer at once, journaling nothing).
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchCatalogues.h"
#include "bench/BenchFreshCopy.h"
#include "bench/BenchHost.h"
#include "host/db/DBtable.h"
#include "replicas/RetentionPruning.h"
#include "service/ReplicationMgr.h"

namespace {

const int kPolicies = 100;
const int kClients = 10;
const int kSources = 50;
const int32_t kNow = 1000000000;

// The catalogue key: N * 1000 + the due percentage.
int Key(int n, int duePercent) { return n * 1000 + duePercent; }

// Volume v is due in every (100 / duePercent)-th pair of volumes, so that as
// many replicas as snapshots are due.
bool Due(int v, int duePercent) { return duePercent > 0 && (v / 2) % (100 / duePercent) == 0; }

void Seed(sqlite3* db, int key)
{
    const int n = key / 1000;
    const int duePercent = key % 1000;
    std::string sql;
    for (int c = 1; c <= kClients; ++c) {
        const std::string id = std::to_string(c);
        sql += "INSERT INTO DHT_Client (id, name, net_hostname) VALUES (" + id + ", 'client-" + id + "', 'client-" + id +
               ".net'); INSERT INTO HostClientConfig (clientId) VALUES (" + id +
               "); INSERT INTO DHT_AgtName (ClientId, appTypeId) VALUES (" + id +
               ", 47); INSERT INTO HostInstalledPackage (clientId, packageId) VALUES (" + id + ", 1007), (" + id +
               ", 1066);";
    }
    for (int p = 1; p <= kPolicies; ++p)
        sql += "INSERT INTO YBPolicy (id, name, RetentionSeconds) VALUES (" + std::to_string(p) + ", 'policy-" +
               std::to_string(p) + "', 3600); INSERT INTO YBScratchPool (id, TotalVolumes, AvailableVolumes, name) "
               "VALUES (" + std::to_string(p) + ", 1000000, 0, 'pool-" + std::to_string(p) + "');";
    for (int s = 1; s <= kSources; ++s)
        sql += "INSERT INTO YBPhysicalVolume (id, UniqueId, Type) VALUES (" + std::to_string(n + s) + ", 'source-" +
               std::to_string(s) + "', 1);";
    BenchCheck(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), db, "seed clients and policies");

    const char* const statements[] = {
        // ?1 volume, ?2 replica (1) or snapshot (0), ?3 client, ?4 policy, ?5 creation time, ?6 primary
        "INSERT INTO YBPhysicalVolume (id, UniqueId, Type, Flags) VALUES (?1, 'uid-' || ?1, 1, 2 * ?2)",
        "INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (?1, ?3, ?1, 'dev-' || ?1)",
        "INSERT INTO YBMountPoint (DeviceNameId, Path) SELECT ?1, '/mnt/r-' || ?1 WHERE ?2 = 1",
        "INSERT INTO YBScratchVolume (id, PhysicalVolumeId, RVScratchVolumePoolId) SELECT ?1, ?1, ?4 WHERE ?2 = 1",
        "INSERT INTO YBVolume (id, CreationTime, CurrentRole, PrimaryVolumeId, PhysicalVolumeId, ReplicationPolicyId, "
        "RVScratchVolumeId, SnapEngineType) VALUES (?1, ?5, 2 - ?2, ?6, ?1, ?4, ?1 * ?2, 1 - ?2)",
    };
    sqlite3_stmt* stmts[5] = {};
    for (int i = 0; i < 5; ++i) BenchCheck(sqlite3_prepare_v2(db, statements[i], -1, &stmts[i], nullptr), db, "prepare");
    for (int v = 1; v <= n; ++v) {
        for (sqlite3_stmt* s : stmts) {
            sqlite3_reset(s);
            sqlite3_bind_int(s, 1, v);
            sqlite3_bind_int(s, 2, v % 2);
            sqlite3_bind_int(s, 3, 1 + v % kClients);
            sqlite3_bind_int(s, 4, 1 + v % kPolicies);
            sqlite3_bind_int(s, 5, Due(v, duePercent) ? kNow - 7200 : kNow - 10);
            sqlite3_bind_int(s, 6, n + 1 + v % kSources);
            BenchCheck(sqlite3_step(s), db, "insert");
        }
    }
    for (sqlite3_stmt* s : stmts) sqlite3_finalize(s);
}

BenchCatalogues g_catalogues("pruning", &Seed);

using bench::FreshCopy;

void BM_PrunePass(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const int duePercent = static_cast<int>(state.range(1));
    const std::string seeded = g_catalogues.get(Key(n, duePercent));
    bench::quietHost();
    CZxNetwork network;
    repPruneReplicaVolumeResp sent{};
    network.setSendObserver([&](unsigned long, const void* data, unsigned long) {
        std::memcpy(static_cast<void*>(&sent), data, sizeof sent);
    });
    ZxSessionSend session(&network);
    ReplicationMgr mgr(&session);

    int dueReplicas = 0;
    for (int v = 1; v <= n; ++v) dueReplicas += Due(v, duePercent) && v % 2 == 1 ? 1 : 0;
    double seconds = 0;
    int serial = 0;
    for (auto _ : state) {
        FreshCopy copy(seeded, serial++);
        // The catalogue opened (its schema checked) before the clock starts.
        DBtran warm(false);
        if (warm.startTran() != 0 || warm.commitTran(false) != 0 ||
            bench::count("SELECT COUNT(*) FROM YBPolicy") != kPolicies) {
            state.SkipWithError("the copy cannot be used");
            break;
        }
        repPruneReplicaVolumeReq req{kNow};
        zxsDatabuf buf;
        buf.m_pData = &req;
        sent = repPruneReplicaVolumeResp{};
        const auto start = std::chrono::steady_clock::now();
        const unsigned long posted = mgr.post(0x35000081, 0, &buf);
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(elapsed);
        seconds += elapsed;
        if (posted != 1 || sent.status != 1) {
            state.SkipWithError("the pass reported problems");
            break;
        }
        // The due replicas are gone; the due snapshots' records wait for the tool's report.
        if (bench::count("SELECT COUNT(*) FROM YBVolume") != n - dueReplicas) {
            state.SkipWithError("wrong number of volumes left");
            break;
        }
    }
    DBtran::useCatalogue(seeded);
    const double passes = static_cast<double>(state.iterations());
    state.counters["us_per_volume"] = passes > 0 ? seconds * 1e6 / (passes * n) : 0;
    state.counters["due"] = static_cast<double>(n * duePercent / 100);
}

}  // namespace

BENCHMARK(BM_PrunePass)
    ->Args({100, 10})
    ->Args({10000, 0})
    ->Args({10000, 10})
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
