// The members of one scratch pool at 1,000 and 10,000 members: the list of
// its volumes free to take (0x35000065) through post, in turns with plain
// sqlite3 reading the same answer in one statement; and the addition of one
// more member (0x35000015) through post. The aims: the list grows with the members alone,
// and an addition costs the same whatever the pool's size.
//
// Each size N has a catalogue of its own, not analysed: pool 1 holds N
// scratch volumes, each on an SNR volume seen by one device of client 7,
// every third volume flagged as not free to take; pool 2 holds N further
// volumes that the requests pass over. The volume added is one more of
// client 7's, in no pool.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchCatalogues.h"
#include "bench/BenchHost.h"
#include "bench/BenchSupport.h"
#include "host/ZxFramework.h"
#include "host/db/DBtable.h"
#include "scratch/ScratchLookups.h"
#include "scratch/ScratchMembership.h"
#include "service/ReplicationMgr.h"

namespace {

const unsigned long kGetAvailVolFromPool = 0x35000065;
const unsigned long kAddRVScratchVol = 0x35000015;
const unsigned long kRemoveRVScratchVol = 0x35000017;

bool Taken(int v) { return v % 3 == 0; }

// Volumes 1..N in pool 1, N+1..2N in pool 2, 2N+1 in no pool.
void Seed(sqlite3* db, int n)
{
    const char* const statements[] = {
        "INSERT INTO YBPhysicalVolume (id, UniqueId, Type, Flags) VALUES (?1, 'uid-' || ?1, 1, ?2)",
        "INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (?1, 7, ?1, '/dev/sd-' || ?1)",
        "INSERT INTO YBScratchVolume (id, PhysicalVolumeId, RVScratchVolumePoolId) SELECT ?1, ?1, ?3 WHERE ?3 > 0",
    };
    std::vector<sqlite3_stmt*> stmts;
    for (const char* sql : statements) {
        sqlite3_stmt* s = nullptr;
        BenchCheck(sqlite3_prepare_v2(db, sql, -1, &s, nullptr), db, "prepare");
        stmts.push_back(s);
    }
    for (int v = 1; v <= 2 * n + 1; ++v)
        for (sqlite3_stmt* s : stmts) {
            sqlite3_reset(s);
            sqlite3_bind_int(s, 1, v);
            sqlite3_bind_int(s, 2, Taken(v) ? 0x4 : 0);
            sqlite3_bind_int(s, 3, v <= n ? 1 : v <= 2 * n ? 2 : 0);
            BenchCheck(sqlite3_step(s), db, "insert");
        }
    for (sqlite3_stmt* s : stmts) sqlite3_finalize(s);
    const std::string pools = "INSERT INTO YBScratchPool (id, name, TotalVolumes, AvailableVolumes, Type) VALUES "
                              "(1, 'pool-1', " + std::to_string(n) + ", " + std::to_string(n) + ", 1), (2, 'pool-2', " +
                              std::to_string(n) + ", " + std::to_string(n) + ", 1)";
    BenchCheck(sqlite3_exec(db, pools.c_str(), nullptr, nullptr, nullptr), db, "pools");
}

BenchCatalogues g_catalogues("pool_members", &Seed);

// The volumes free to take through post, their count checked as the reply
// is sent; against plain sqlite3 answering with one statement.
void BM_AvailableVolumes(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const std::string& path = g_catalogues.get(n);
    DBtran::useCatalogue(path);
    bench::quietHost();
    uint32_t free = 0;
    for (int v = 1; v <= n; ++v) free += Taken(v) ? 0 : 1;

    CZxNetwork network;
    bool complete = false;
    network.setSendObserver([&](unsigned long, const void* data, unsigned long) {
        const auto* reply = static_cast<const repGetAvailVolumeFromPoolResp*>(data);
        complete = reply->status == 1 && reply->count == free;
    });
    ZxSessionSend session(&network);
    ReplicationMgr mgr(&session);
    bench::PlainConnection plain(path);
    sqlite3_stmt* stmt = plain.keep(
        "SELECT V.id, V.Flags FROM YBScratchVolume S JOIN YBPhysicalVolume V ON V.id = S.PhysicalVolumeId "
        "WHERE S.RVScratchVolumePoolId = ?1 ORDER BY S.id ASC");
    bench::alternate(state,
                     {"post", nullptr,
                      [&] {
                          complete = false;
                          repGetAvailVolumeFromPoolReq req{1};
                          zxsDatabuf buf;
                          buf.m_pData = &req;
                          return mgr.post(kGetAvailVolFromPool, 0, &buf) == 1 && complete;
                      }},
                     {"plain", nullptr, [&] {
                          std::vector<int> ids;
                          sqlite3_bind_int(stmt, 1, 1);
                          while (sqlite3_step(stmt) == SQLITE_ROW)
                              if ((sqlite3_column_int(stmt, 1) & 0x4) == 0) ids.push_back(sqlite3_column_int(stmt, 0));
                          sqlite3_reset(stmt);
                          return ids.size() == free;
                      }});
    state.SetItemsProcessed(state.iterations() * n);
}

// One more member of pool 1 through post; it is removed again (untimed,
// through post too), so that every run adds the (N+1)-th member.
void BM_AddPoolMember(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const std::string& path = g_catalogues.get(n);
    DBtran::useCatalogue(path);
    bench::quietHost();
    CZxNetwork network;
    uint32_t status = 0;
    uint32_t scratchId = 0;
    network.setSendObserver([&](unsigned long code, const void* data, unsigned long) {
        if (code == kAddRVScratchVol + 1) {
            const auto* reply = static_cast<const repAddRVScratchVolumeResponse*>(data);
            status = reply->status;
            scratchId = reply->scratchVolumeId;
        } else {
            status = static_cast<const repRemoveRVScratchVolumeResponse*>(data)->status;
        }
    });
    ZxSessionSend session(&network);
    ReplicationMgr mgr(&session);
    for (auto _ : state) {
        repAddRVScratchVolumeReq add{1, static_cast<uint32_t>(2 * n + 1)};
        zxsDatabuf buf;
        buf.m_pData = &add;
        const auto start = std::chrono::steady_clock::now();
        const unsigned long posted = mgr.post(kAddRVScratchVol, 0, &buf);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (posted != 1 || status != 1) {
            state.SkipWithError("the addition failed");
            break;
        }
        repRemoveRVScratchVolumeReq remove{scratchId};
        buf.m_pData = &remove;
        if (mgr.post(kRemoveRVScratchVol, 0, &buf) != 1 || status != 1) {
            state.SkipWithError("the removal failed");
            break;
        }
    }
}

}  // namespace

BENCHMARK(BM_AvailableVolumes)->Arg(10)->Arg(1000)->Arg(10000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddPoolMember)->Arg(10)->Arg(1000)->Arg(10000)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
