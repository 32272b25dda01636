// The write-ahead log file under readers that never pause, with the default
// settings (a checkpoint every 1,000 pages, the log started again at 40,000,
// its hard limit at 48,000 with their frame headers, the file cut back to
// 64 MiB), or with another checkpoint size (the restart point and the hard
// limit follow it): four threads register devices through post for a few seconds, on
// a fresh catalogue, once alone, once beside two readers on connections of
// their own reading in read transactions of some 3 ms (1.5 to 4.5 ms), once
// beside two of some 100 ms (50 to 150 ms), once beside two of some 300 ms
// (150 to 450 ms), and once beside one reader whose read transaction lasts
// until the writes stop; the runs take turns, each round in another order.
// For each run: writes per second and their share of those of the round's
// run alone, the largest log file, the median, 99th percentile and longest
// write, how long after the writes the file was back within its limit while
// the readers went on, and the failed writes and reads. Exits 1 when a write
// or a read failed or the file did not come back within its limit.
//
//   replmgr_bench_wal [seconds of writes per run, default 5] [rounds, default 3]
//                     [number of the first round, default 0: its order]
//                     [checkpoint size in pages, default 1000]
//
// With "kept", what a log that a reader kept costs once the reader ends:
// four writers beside one reader that stays in one read transaction for the
// given time and two of 150 to 450 ms back to back, the writes going on
// after the stay until the log file is back within its hard limit (for up
// to a minute); for each run the largest log file, the longest write after
// the reader ended (the hold while the kept log is copied and its file
// emptied), how long after the end the file was back within the hard limit,
// and the registrations per second over the whole run.
//
//   replmgr_bench_wal kept [seconds the reader stays, default 20] [runs, default 1]
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "bench/BenchCatalogues.h"
#include "bench/BenchHost.h"
#include "host/HostJournal.h"
#include "host/ZXPlatformInfo.h"
#include "tests/support/LogUnderReaders.h"

namespace {

const unsigned long long kDefaultLimitBytes = 65536ULL << 10;

void NoSeed(sqlite3*, int) {}

// The readers beside the writers in one kind of run.
struct Readers {
    const char* name;
    int readers;
    long shortestUs;
    long longestUs;
    bool stays;  // the first one stays in one read transaction
};

const Readers kRuns[] = {
    {"none", 0, 0, 0, false},
    {"2x3ms", 2, 1500, 4500, false},
    {"2x100ms", 2, 50000, 150000, false},
    {"2x300ms", 2, 150000, 450000, false},
    {"stays", 1, 0, 0, true},
};
const int kKinds = sizeof(kRuns) / sizeof(kRuns[0]);

// One run on a fresh catalogue; prints its line against the writes per
// second alone (0: not known yet). False when something failed.
bool RunOnce(BenchCatalogues& catalogues, int n, const Readers& readers, double seconds, double* alone)
{
    const std::string& path = catalogues.get(n);
    log_under_readers::Load load;
    load.writers = 4;
    load.readers = readers.readers;
    load.readShortest = std::chrono::microseconds(readers.shortestUs);
    load.readLongest = std::chrono::microseconds(readers.longestUs);
    load.writing = std::chrono::milliseconds(static_cast<long>(seconds * 1000));
    if (readers.stays) load.stay = load.writing;
    load.settling = std::chrono::milliseconds(20000);
    load.limitBytes = kDefaultLimitBytes;
    const log_under_readers::Result r = log_under_readers::Run(path, load);
    if (readers.readers == 0) *alone = r.writesPerSecond();
    char share[16] = "-";
    if (*alone > 0) std::snprintf(share, sizeof share, "%.0f%%", 100 * r.writesPerSecond() / *alone);
    std::printf("%-8s %8ld %10.0f %6s %12.1f %8.1f %8.1f %8.1f %10.2f %7ld %7ld\n", readers.name, r.writes,
                r.writesPerSecond(), share, r.largestLogBytes / 1048576.0, r.medianWriteSeconds * 1e3,
                r.p99WriteSeconds * 1e3, r.longestWriteSeconds * 1e3, r.backWithinLimitSeconds, r.failedWrites,
                r.failedReads);
    std::fflush(stdout);
    RemoveCatalogueFiles(path);
    return r.failedWrites == 0 && r.failedReads == 0 && r.backWithinLimitSeconds >= 0;
}

// Runs the kept log's runs; false when something failed.
bool RunKept(double staySeconds, int runs)
{
    BenchCatalogues catalogues("wal-kept", &NoSeed);
    std::printf("%-8s %8s %10s %12s %14s %12s %7s %7s\n", "stay_s", "writes", "writes/s", "largest_MiB",
                "after_max_ms", "back_in_s", "w_fail", "r_fail");
    bool held = true;
    for (int n = 0; n < runs; ++n) {
        const std::string& path = catalogues.get(n);
        log_under_readers::Load load;
        load.writers = 4;
        load.readers = 3;
        load.readShortest = std::chrono::milliseconds(150);
        load.readLongest = std::chrono::milliseconds(450);
        load.stay = std::chrono::milliseconds(static_cast<long>(staySeconds * 1000));
        load.writing = load.stay;
        load.longest = load.stay + std::chrono::milliseconds(60000);
        load.boundBytes = log_under_readers::LogBytesOf(path, 48 * 1000);
        load.settling = std::chrono::milliseconds(20000);
        load.limitBytes = kDefaultLimitBytes;
        const log_under_readers::Result r = log_under_readers::Run(path, load);
        std::printf("%-8.1f %8ld %10.0f %12.1f %14.1f %12.2f %7ld %7ld\n", staySeconds, r.writes,
                    r.writesPerSecond(), r.largestLogBytes / 1048576.0, r.longestWriteAfterStaySeconds * 1e3,
                    r.backWithinBoundSeconds, r.failedWrites, r.failedReads);
        std::fflush(stdout);
        RemoveCatalogueFiles(path);
        held = held && r.failedWrites == 0 && r.failedReads == 0 && r.backWithinBoundSeconds >= 0;
    }
    return held;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "kept") {
        try {
            bench::quietHost();
            HostJournals::keep(false);
            return RunKept(argc > 2 ? std::atof(argv[2]) : 20.0, argc > 3 ? std::atoi(argv[3]) : 1) ? 0 : 1;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "replmgr_bench_wal: %s\n", e.what());
            return 1;
        }
    }
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    const int firstRound = argc > 3 ? std::atoi(argv[3]) : 0;
    const char* checkpointPages = argc > 4 ? argv[4] : nullptr;
    try {
        bench::quietHost();
        if (checkpointPages != nullptr) ZXPlatformInfo::setValue("~ReplicationMgr", "DBCheckpointPages", checkpointPages);
        HostJournals::keep(false);
        BenchCatalogues catalogues("wal", &NoSeed);
        std::printf("%-8s %8s %10s %6s %12s %8s %8s %8s %10s %7s %7s\n", "readers", "writes", "writes/s", "share",
                    "largest_MiB", "p50_ms", "p99_ms", "max_ms", "back_in_s", "w_fail", "r_fail");
        bool held = true;
        for (int round = firstRound; round < firstRound + rounds; ++round) {
            // The run alone first, then the others, each round beginning
            // with another of them.
            double alone = 0;
            held = RunOnce(catalogues, kKinds * round, kRuns[0], seconds, &alone) && held;
            for (int k = 0; k < kKinds - 1; ++k) {
                const Readers& readers = kRuns[1 + (round + k) % (kKinds - 1)];
                held = RunOnce(catalogues, kKinds * round + 1 + k, readers, seconds, &alone) && held;
            }
        }
        return held ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "replmgr_bench_wal: %s\n", e.what());
        return 1;
    }
}
