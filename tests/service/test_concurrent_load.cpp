// The soak tests: eight threads, and three processes of eight threads, post
// the mix of a busy host's requests (pruning passes among them) against one
// catalogue on the library's real lock and writer timeouts. No request may
// wait for a timeout, every post is answered once, refusals are only those
// of the state other threads left, and afterwards every pool's counters are
// a fresh count of its rows and the writer turn is free. A request that waits
// kStallSeconds ends the posting process there, naming the requests in
// flight (the test process, or a worker process the test then reports).
// bench/ runs the same load longer (replmgr_bench_load).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ConcurrentLoad.h"
#include "support/LoadProcesses.h"
#include "support/TestCatalogue.h"

namespace {

using namespace concurrent_load;

// Requests each thread posts: in a sanitizer build on two cores about 2 s
// for eight threads and 8 to 10 s for three processes (1 s and 2.5 s built
// with optimisation), enough for pruning passes to meet reservations and
// membership changes many times over.
const int kPostsPerThread = 300;
const int kProcesses = 3;

std::string Joined(const std::vector<std::string>& texts)
{
    std::string all;
    for (const std::string& t : texts) all += t + "\n";
    return all;
}

class ConcurrentLoadTest : public CatalogueTest {
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        ConfigureLoadHost();
        ASSERT_EQ(SeedCatalogue(m_path), "");
    }

    // What every run must show, however it was posted.
    void expectSound(const LoadResult& r, long posts)
    {
        // Shown in the test report; the figures of a longer run are bench/'s.
        RecordProperty("longest_ms", static_cast<int>(r.longestSeconds * 1e3));
        RecordProperty("posts_per_second", static_cast<int>(r.postsPerSecond()));
        EXPECT_EQ(r.posts, posts);
        EXPECT_EQ(r.badReplies, 0) << "posts not answered by exactly one reply of their code";
        EXPECT_EQ(r.unexpectedCount, 0) << Joined(r.unexpected);
        EXPECT_LT(r.longestSeconds, kStallSeconds) << "a request waited for a timeout";
        EXPECT_TRUE(r.turnFree) << "a posting process's writer turn was not free after the run";
        EXPECT_TRUE(WriterTurnFree(m_path));
        EXPECT_EQ(Joined(CatalogueFaults(m_path)), "");
        // The load did what it is for: every kind of request went through
        // (a pruning pass that meets volumes another pass freed first lists
        // them, so passes need not succeed), reservations met each other,
        // and pruning passes released replicas that jobs had recorded on
        // reserved volumes.
        for (int k = 0; k < KindCount; ++k)
            EXPECT_GT(k == Pruning ? r.tallies[k].posts : r.tallies[k].succeeded, 0) << KindName(k);
        EXPECT_GT(r.tallies[Reserve].refused + r.tallies[JobReserve].refused, 0);
        EXPECT_LT(scalar("SELECT COUNT(*) FROM YBVolume WHERE CurrentRole = 1"), r.tallies[JobReplica].succeeded);
    }
};

TEST_F(ConcurrentLoadTest, EightThreadsNeverWaitForATimeoutAndKeepEveryCounter)
{
    const LoadResult r = RunThreads(m_path, 0, kPostsPerThread, 1);
    expectSound(r, static_cast<long>(kThreads) * kPostsPerThread);
}

// Each process is started afresh from the worker program built beside the
// tests: its first connection to the catalogue is its own. The table locks
// and the writer turn are the process's own, so between processes only the
// database's write lock keeps the writers apart.
TEST_F(ConcurrentLoadTest, ThreeForkedProcessesOfEightThreadsKeepEveryCounter)
{
    std::vector<std::string> failures;
    const LoadResult r = RunProcesses(WorkerProgram(), {}, m_path, kProcesses, kPostsPerThread, 2, failures);
    ASSERT_EQ(Joined(failures), "") << "the catalogue afterwards:\n" << Joined(CatalogueFaults(m_path));
    expectSound(r, static_cast<long>(kProcesses) * kThreads * kPostsPerThread);
}

}  // namespace
