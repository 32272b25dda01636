// The cleanup of one client through post (0x3500005d), "Non SNR" and "Full",
// for a client with N SNR volumes in a catalogue twice that size; the time of
// one cleanup and the time per volume. The aim is a cleanup whose time grows
// with the client's volumes alone: 100,000 volumes in at most 12 times the
// time of 10,000.
//
// Each N has a catalogue of its own, seeded once and not analysed; every
// cleanup, of either mode, runs on a fresh copy of it (made untimed). Client
// 1 has N volumes, one device on each; client 2 has N volumes of its own and
// a device on every tenth volume of client 1 as well. On client 1's volumes:
// every odd and every tenth one holds a snapshot of one of client 2's
// volumes, with an application directory; every fourth has a permanent
// replica on one of client 2's volumes; every twentieth (plus two) a free
// scratch volume; every one snap parameters.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchCatalogues.h"
#include "bench/BenchFreshCopy.h"
#include "bench/BenchHost.h"
#include "cleanup/ClientCleanup.h"
#include "host/ZxFramework.h"
#include "host/db/DBtable.h"
#include "service/ReplicationMgr.h"

namespace {

const unsigned long kCleanupByClientId = 0x3500005d;

bool Snapshot(int v) { return v % 2 == 1 || v % 10 == 0; }
bool Shared(int v) { return v % 10 == 0; }
bool ReplicaElsewhere(int v) { return v % 4 == 0; }
bool FreeScratch(int v) { return v % 20 == 2; }

void Seed(sqlite3* db, int n)
{
    const char* const statements[] = {
        // ?1 volume of client 1, ?2 its client-2 partner volume (N + ?1), ?3 flags of the row kinds
        "INSERT INTO YBPhysicalVolume (id, UniqueId, Type) VALUES (?1, 'uid-' || ?1, 1), (?2, 'uid-' || ?2, 1)",
        "INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES "
        "(?1, 1, ?1, '/dev/disk/by-id/wwn-' || ?1), (?2, 2, ?2, '/dev/disk/by-id/wwn-' || ?2)",
        "INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) SELECT 2 * ?2, 2, ?1, "
        "'/dev/shared-' || ?1 WHERE ?3 & 1",
        "INSERT INTO YBVolume (id, CurrentRole, PrimaryVolumeId, PhysicalVolumeId, SnapEngineType) "
        "SELECT ?1, 2, ?2, ?1, 1 WHERE ?3 & 2",
        "INSERT INTO YBApplicationDirs (clientId, ReplicationVolumeId, path) SELECT 1, ?1, '/data/app-' || ?1 "
        "WHERE ?3 & 2",
        "INSERT INTO YBVolume (id, CurrentRole, PrimaryVolumeId, PhysicalVolumeId) SELECT ?2, 4, ?1, ?2 WHERE ?3 & 4",
        "INSERT INTO YBScratchVolume (id, PhysicalVolumeId, RVScratchVolumePoolId) SELECT ?1, ?1, 1 WHERE ?3 & 8",
        "INSERT INTO YBVolSnapParams (SNRVolumeId, SnapEngineId, Flags) VALUES (?1, 1, 0)",
    };
    std::vector<sqlite3_stmt*> stmts;
    for (const char* sql : statements) {
        sqlite3_stmt* s = nullptr;
        BenchCheck(sqlite3_prepare_v2(db, sql, -1, &s, nullptr), db, "prepare");
        stmts.push_back(s);
    }
    int scratch = 0;
    for (int v = 1; v <= n; ++v) {
        const int kinds = (Shared(v) ? 1 : 0) | (Snapshot(v) ? 2 : 0) | (ReplicaElsewhere(v) ? 4 : 0) |
                          (FreeScratch(v) ? 8 : 0);
        scratch += FreeScratch(v) ? 1 : 0;
        for (sqlite3_stmt* s : stmts) {
            sqlite3_reset(s);
            sqlite3_bind_int(s, 1, v);
            sqlite3_bind_int(s, 2, n + v);
            sqlite3_bind_int(s, 3, kinds);
            BenchCheck(sqlite3_step(s), db, "insert");
        }
    }
    for (sqlite3_stmt* s : stmts) sqlite3_finalize(s);
    const std::string pool = "INSERT INTO YBScratchPool (id, name, TotalVolumes, AvailableVolumes, Type) VALUES (1, "
                             "'pool-1', " + std::to_string(scratch) + ", " + std::to_string(scratch) + ", 1)";
    BenchCheck(sqlite3_exec(db, pool.c_str(), nullptr, nullptr, nullptr), db, "pool");
}

BenchCatalogues g_catalogues("cleanup", &Seed);

// The replication volumes a cleanup of client 1 leaves: the snapshots on the
// shared volumes and the replicas of the shared volumes elsewhere.
long long ReplicasLeft(int n)
{
    long long left = 0;
    for (int v = 1; v <= n; ++v) left += (Shared(v) && Snapshot(v) ? 1 : 0) + (Shared(v) && ReplicaElsewhere(v) ? 1 : 0);
    return left;
}

void BM_ClientCleanup(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const bool full = state.range(1) != 0;
    const std::string seeded = g_catalogues.get(n);
    bench::quietHost();
    CZxNetwork network;
    repCleanupByclientIdResp sent{};
    network.setSendObserver([&](unsigned long, const void* data, unsigned long) {
        std::memcpy(static_cast<void*>(&sent), data, sizeof sent);
    });
    ZxSessionSend session(&network);
    ReplicationMgr mgr(&session);

    double seconds = 0;
    double walMB = 0;
    int serial = 0;
    for (auto _ : state) {
        bench::FreshCopy copy(seeded, serial++);
        repCleanupByClientIdReq req{1, full ? kCleanupTypeFull : 2};
        zxsDatabuf buf;
        buf.m_pData = &req;
        sent = repCleanupByclientIdResp{};
        const auto start = std::chrono::steady_clock::now();
        const unsigned long posted = mgr.post(kCleanupByClientId, 0, &buf);
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(elapsed);
        seconds += elapsed;
        if (posted != 1 || sent.status != 1) {
            state.SkipWithError("the cleanup failed");
            break;
        }
        struct stat wal;
        if (stat((DBtran::cataloguePath() + "-wal").c_str(), &wal) == 0)
            walMB = std::max(walMB, static_cast<double>(wal.st_size) / (1024.0 * 1024.0));
        const long long devices = bench::count("SELECT COUNT(*) FROM YBPhysicalDevice WHERE ClientId = 1");
        if (bench::count("SELECT COUNT(*) FROM YBVolume") != ReplicasLeft(n) || devices != (full ? 0 : n) ||
            bench::count("SELECT COUNT(*) FROM YBVolSnapParams WHERE SNRVolumeId <= " + std::to_string(n)) != n / 10) {
            state.SkipWithError("wrong rows left");
            break;
        }
    }
    DBtran::useCatalogue(seeded);
    const double runs = static_cast<double>(state.iterations());
    state.counters["us_per_volume"] = runs > 0 ? seconds * 1e6 / (runs * n) : 0;
    // The largest the write-ahead log was after a cleanup.
    state.counters["wal_MB"] = walMB;
}

}  // namespace

BENCHMARK(BM_ClientCleanup)
    ->ArgNames({"volumes", "full"})
    ->Args({100, 0})
    ->Args({100, 1})
    ->Args({10000, 0})
    ->Args({10000, 1})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
