// The load of the soak tests (tests/service/test_concurrent_load.cpp), run
// longer: eight threads, each with its own service object, posting the mix
// of a busy host's requests (registrations, reservations, pool membership
// changes, replica adds and deletes, consistency points, retention pruning
// passes) against one catalogue; then three processes of eight threads on a
// fresh catalogue. For each: the posts, the time, the throughput, the median,
// 99th percentile and longest time a request took, the refusals of the state
// other threads left, and the checks of the catalogue afterwards (counters,
// scratch rows, volumes, the writer turn). Exits 1 when a check failed, a
// request failed otherwise or a request waited for a timeout.
//
//   replmgr_bench_load [posts per thread]    (2000 unless given)
//   replmgr_bench_load --worker <arguments>  (a worker process; started by itself)
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchCatalogues.h"
#include "tests/support/ConcurrentLoad.h"
#include "tests/support/LoadProcesses.h"

using namespace concurrent_load;

namespace {

const int kDefaultPostsPerThread = 2000;
const int kProcesses = 3;

// Seeds a catalogue of the load; n only tells the variants' catalogues apart.
void Seed(sqlite3* db, int)
{
    const std::string failed = SeedCatalogue(sqlite3_db_filename(db, "main"));
    if (!failed.empty()) throw std::runtime_error(failed);
}

// Prints one variant's figures and what went wrong; true when nothing did.
bool Report(const char* variant, const LoadResult& r, const std::vector<std::string>& faults)
{
    long refused = 0;
    for (const Tally& t : r.tallies) refused += t.refused;
    std::printf("%-14s %7ld %8.2f %8.0f %8.2f %8.2f %9.1f %8ld %10ld %s\n", variant, r.posts, r.seconds(),
                r.postsPerSecond(), r.percentile(0.5) * 1e3, r.percentile(0.99) * 1e3, r.longestSeconds * 1e3,
                refused, r.unexpectedCount + r.badReplies, faults.empty() ? "held" : "FAILED");
    for (int k = 0; k < KindCount; ++k)
        std::printf("    %-18s %7ld posts %7ld succeeded %7ld refused\n", KindName(k), r.tallies[k].posts,
                    r.tallies[k].succeeded, r.tallies[k].refused);
    for (const std::string& u : r.unexpected) std::printf("    unexpected: %s\n", u.c_str());
    for (const std::string& f : faults) std::printf("    check failed: %s\n", f.c_str());
    return faults.empty() && r.unexpectedCount == 0 && r.badReplies == 0 && r.longestSeconds < kStallSeconds;
}

// The checks of a run besides its requests' own: the catalogue's, and the
// writer turn of every posting process and of this one.
std::vector<std::string> Checks(const std::string& catalogue, const LoadResult& r)
{
    std::vector<std::string> faults = CatalogueFaults(catalogue);
    if (!r.turnFree || !WriterTurnFree(catalogue)) faults.push_back("the writer turn was not free afterwards");
    return faults;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "--worker") return RunWorker(argc - 2, argv + 2);
    const int posts = argc > 1 ? std::atoi(argv[1]) : kDefaultPostsPerThread;
    if (posts <= 0) {
        std::fprintf(stderr, "usage: %s [posts per thread]\n", argv[0]);
        return 2;
    }
    ConfigureLoadHost();
    std::printf("%d posts per thread; times in ms\n", posts);
    std::printf("%-14s %7s %8s %8s %8s %8s %9s %8s %10s %s\n", "variant", "posts", "seconds", "posts/s", "median",
                "p99", "longest", "refused", "unexpected", "checks");

    // A fresh catalogue for each variant, made the process's catalogue.
    BenchCatalogues catalogues("load", &Seed);
    auto seeded = [&catalogues](int variant) {
        try {
            return catalogues.get(variant);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "cannot seed the catalogue: %s\n", e.what());
            return std::string();
        }
    };
    bool sound = true;
    {
        const std::string catalogue = seeded(1);
        if (catalogue.empty()) return 1;
        const LoadResult r = RunThreads(catalogue, 0, posts, 1);
        sound = Report("8 threads", r, Checks(catalogue, r)) && sound;
    }
    {
        const std::string catalogue = seeded(2);
        if (catalogue.empty()) return 1;
        std::vector<std::string> failures;
        const LoadResult r = RunProcesses(OwnProgram(), {"--worker"}, catalogue, kProcesses, posts, 2, failures);
        std::vector<std::string> faults = Checks(catalogue, r);
        faults.insert(faults.end(), failures.begin(), failures.end());
        sound = Report("3 x 8 threads", r, faults) && sound;
    }
    return sound ? 0 : 1;
}
