// Readers and writers at once on one catalogue:
//   readers  — 1, 2, 4 and 8 threads, each with a manager of its own, read a
//              client's inventory (V6, 1,000 volumes) through post for a
//              few seconds: inventories per second and the longest one;
//   processes — 3 processes, one writer each, register devices through post
//              on one catalogue for a few seconds: the registrations each
//              process completed and its longest wait.
// Usage: replmgr_bench_concurrency [seconds per run, default 3]
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "bench/BenchCatalogues.h"
#include "bench/BenchHost.h"
#include "bench/BenchSupport.h"
#include "host/ZXPlatformInfo.h"
#include "host/ZxFramework.h"
#include "service/ReplicationMgr.h"
#include "snr/VolumeInventory.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

const int kClient = 1;
const int kVolumes = 1000;

// Client 1 sees kVolumes volumes, each with a device, a mount point and a
// replication volume; 10,000 more belong to other clients.
void SeedInventory(sqlite3* db, int n)
{
    const std::string all = std::to_string(n + 10000);
    const std::string statements[] = {
        "WITH RECURSIVE v(id) AS (SELECT 1 UNION ALL SELECT id + 1 FROM v WHERE id < " + all +
            ") INSERT INTO YBPhysicalVolume (id, UniqueId, UniqueIdType, BlockCount, BlockSize, FSType) "
            "SELECT id, 'unique-id-' || id, 2, 2048, 512, 'NTFS' FROM v",
        "INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) SELECT id, CASE WHEN id <= " +
            std::to_string(n) + " THEN 1 ELSE 2 + id / 10 END, id, '/dev/sd' || id FROM YBPhysicalVolume",
        "INSERT INTO YBMountPoint (id, DeviceNameId, Path) SELECT id, id, '/mnt/v' || id FROM YBPhysicalDevice",
        "INSERT INTO YBVolume (id, CreationTime, CurrentRole, PrimaryVolumeId, PhysicalVolumeId, JobId) "
        "SELECT id, 1700000000, 2, id + 1000000, id, 42 FROM YBPhysicalVolume",
    };
    for (const std::string& sql : statements)
        BenchCheck(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), db, "seed");
}

void Readers(double seconds)
{
    BenchCatalogues catalogues("readers", &SeedInventory);
    const std::string path = catalogues.get(kVolumes);
    std::printf("inventory readers, %d volumes of the client, %.1f s a run\n", kVolumes, seconds);
    std::printf("%8s %14s %16s %14s\n", "threads", "inventories/s", "per thread /s", "longest ms");
    for (int threads : {1, 2, 4, 8}) {
        std::atomic<long> done{0};
        std::atomic<long> failed{0};
        std::atomic<long long> longestUs{0};
        std::atomic<bool> stop{false};
        std::vector<std::thread> pool;
        for (int t = 0; t < threads; ++t) {
            pool.emplace_back([&] {
                bool complete = false;
                CZxNetwork network;
                network.setSendObserver([&](unsigned long, const void* data, unsigned long length) {
                    const auto* r = static_cast<const repQuerySNRDeviceByClientIdV6Response*>(data);
                    complete = length == sizeof *r && r->status == 1 && r->volumeCount == kVolumes;
                });
                ZxSessionSend session(&network);
                ReplicationMgr mgr(&session);
                repQuerySNRDeviceByClientIdV6Req request;
                request.ClientId = kClient;
                while (!stop.load()) {
                    zxsDatabuf buf;
                    buf.m_pData = &request;
                    complete = false;
                    const auto start = Clock::now();
                    mgr.post(0x35000208, 0, &buf);
                    const long long us =
                        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
                    long long seen = longestUs.load();
                    while (us > seen && !longestUs.compare_exchange_weak(seen, us)) {
                    }
                    ++(complete ? done : failed);
                }
            });
        }
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
        stop = true;
        for (std::thread& t : pool) t.join();
        if (failed.load() != 0) throw std::runtime_error("failed inventories: " + std::to_string(failed.load()));
        const double rate = static_cast<double>(done.load()) / seconds;
        std::printf("%8d %14.0f %16.0f %14.1f\n", threads, rate, rate / threads, longestUs.load() / 1000.0);
    }
}

// One writing process: registers devices of its own client for the given
// time; prints "<registrations> <longest wait in µs> <failures>".
int Writer(const std::string& path, int client, double seconds)
{
    bench::quietLog();
    DBtran::useCatalogue(path);
    bench::Host host;
    long done = 0;
    long failed = 0;
    long long longestUs = 0;
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < end) {
        bench::AddDevice add(client, "p" + std::to_string(client) + "-" + std::to_string(done + failed));
        const auto start = Clock::now();
        const bool ok = add.post(host);
        longestUs = std::max<long long>(
            longestUs, std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count());
        ++(ok ? done : failed);
    }
    std::printf("%ld %lld %ld\n", done, longestUs, failed);
    return failed == 0 ? 0 : 1;
}

void Processes(const char* self, double seconds)
{
    bench::EmptyCatalogue catalogue("processes");
    const std::string path = catalogue.path();
    const int kProcesses = 3;
    std::printf("\n%d processes, one writer each, registering devices on one catalogue, %.1f s\n", kProcesses,
                seconds);
    std::printf("%8s %14s %12s %10s\n", "process", "registrations", "longest ms", "failed");
    std::vector<std::pair<pid_t, int>> children;
    const std::string time = std::to_string(seconds);
    for (int p = 0; p < kProcesses; ++p) {
        int out[2];
        if (pipe(out) != 0) throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const std::string client = std::to_string(100 + p);
        char* argv[] = {const_cast<char*>(self), const_cast<char*>("--writer"), const_cast<char*>(path.c_str()),
                        const_cast<char*>(client.c_str()), const_cast<char*>(time.c_str()), nullptr};
        pid_t pid = 0;
        if (posix_spawn(&pid, "/proc/self/exe", &actions, nullptr, argv, environ) != 0)
            throw std::runtime_error("spawn");
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        children.emplace_back(pid, out[0]);
    }
    int p = 0;
    for (auto& child : children) {
        std::string text;
        char chunk[256];
        ssize_t n;
        while ((n = read(child.second, chunk, sizeof chunk)) > 0) text.append(chunk, static_cast<size_t>(n));
        close(child.second);
        int status = 0;
        waitpid(child.first, &status, 0);
        long done = 0;
        long long longestUs = 0;
        long failed = 0;
        if (std::sscanf(text.c_str(), "%ld %lld %ld", &done, &longestUs, &failed) != 3)
            throw std::runtime_error("no figures from a writer: " + text);
        std::printf("%8d %14ld %12.1f %10ld\n", ++p, done, longestUs / 1000.0, failed);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        if (argc == 5 && std::strcmp(argv[1], "--writer") == 0)
            return Writer(argv[2], std::atoi(argv[3]), std::atof(argv[4]));
        const double seconds = argc > 1 ? std::atof(argv[1]) : 3.0;
        bench::quietLog();
        Readers(seconds);
        Processes(argv[0], seconds);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ERROR OCCURRED: %s\n", e.what());
        return 1;
    }
    return 0;
}
