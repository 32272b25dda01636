// The write-ahead log file under readers that never pause, with the default
// settings (a checkpoint every 1,000 pages, the log started again at 40,000,
// the file cut back to 64 MiB): four threads register devices through post
// for a few seconds, on a fresh catalogue, once alone and once beside two
// readers on connections of their own reading in short, overlapping
// transactions (1 to 5 ms each); the two runs alternate, round after round.
// For each run: writes per second, the largest log file, the longest write,
// how long after the writes the file was back within its limit while the
// readers went on, and the failed writes and reads. Exits 1 when a write or a
// read failed or the file did not come back within its limit.
//
//   replmgr_bench_wal [seconds of writes per run, default 5] [rounds, default 3]
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "bench/BenchCatalogues.h"
#include "bench/BenchHost.h"
#include "host/HostJournal.h"
#include "tests/support/LogUnderReaders.h"

namespace {

const unsigned long long kDefaultLimitBytes = 65536ULL << 10;

void NoSeed(sqlite3*, int) {}

// One run on a fresh catalogue; prints its line. True when nothing failed.
bool RunOnce(BenchCatalogues& catalogues, int n, int readers, double seconds)
{
    const std::string& path = catalogues.get(n);
    log_under_readers::Load load;
    load.writers = 4;
    load.readers = readers;
    load.writing = std::chrono::milliseconds(static_cast<long>(seconds * 1000));
    load.settling = std::chrono::milliseconds(20000);
    load.limitBytes = kDefaultLimitBytes;
    const log_under_readers::Result r = log_under_readers::Run(path, load);
    std::printf("%-8d %8ld %10.0f %12.1f %12.1f %12.2f %7ld %7ld\n", readers, r.writes, r.writesPerSecond(),
                r.largestLogBytes / 1048576.0, r.longestWriteSeconds * 1e3, r.backWithinLimitSeconds,
                r.failedWrites, r.failedReads);
    std::fflush(stdout);
    RemoveCatalogueFiles(path);
    return r.failedWrites == 0 && r.failedReads == 0 && r.backWithinLimitSeconds >= 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    try {
        bench::quietHost();
        HostJournals::keep(false);
        BenchCatalogues catalogues("wal", &NoSeed);
        std::printf("%-8s %8s %10s %12s %12s %12s %7s %7s\n", "readers", "writes", "writes/s", "largest_MiB",
                    "longest_ms", "back_in_s", "w_fail", "r_fail");
        bool held = true;
        for (int round = 0; round < rounds; ++round) {
            // Alternating: the run beside the readers first in even rounds.
            const int first = round % 2 == 0 ? 2 : 0;
            held = RunOnce(catalogues, 2 * round, first, seconds) && held;
            held = RunOnce(catalogues, 2 * round + 1, 2 - first, seconds) && held;
        }
        return held ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "replmgr_bench_wal: %s\n", e.what());
        return 1;
    }
}
