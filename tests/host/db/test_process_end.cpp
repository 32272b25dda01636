// A process ends cleanly and at once, by a return from main or through
// exit(): while the background thread's checkpoint is under way (the thread
// is stopped and joined before anything it uses is destroyed), and while a
// writer holds its transaction open with other writers and the background
// thread queued behind it (nothing at the end waits for a writer). Each
// process is the worker program built beside the tests.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include "support/CatalogueFiles.h"
#include "support/LoadProcesses.h"
#include "support/TestCatalogue.h"

namespace {

using Clock = std::chrono::steady_clock;

class ProcessEndTest : public CatalogueTest {
protected:
    // Runs `rounds` worker processes, four at a time, each on a catalogue of
    // its own, ending as `how` says: the failures, each with its status.
    std::vector<std::string> Rounds(const char* how, int rounds)
    {
        std::vector<std::string> failures;
        for (int first = 0; first < rounds; first += 4) {
            std::vector<std::pair<pid_t, std::string>> started;
            for (int round = first; round < std::min(first + 4, rounds); ++round) {
                const std::string catalogue = m_dir + "/" + how + "-" + std::to_string(round) + ".db";
                started.emplace_back(concurrent_load::StartWorker({"end-in-checkpoint", catalogue, how}), catalogue);
            }
            for (const auto& process : started) {
                int status = -1;
                if (process.first <= 0 || waitpid(process.first, &status, 0) != process.first) status = -1;
                if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
                    failures.push_back(process.second + ": status " + std::to_string(status));
                RemoveCatalogueFiles(process.second);
            }
        }
        return failures;
    }
};

TEST_F(ProcessEndTest, AReturnFromMainOrExitDuringACheckpointEndsCleanly)
{
    for (const char* how : {"return", "exit"}) {
        const std::vector<std::string> failures = Rounds(how, 20);
        std::string said;
        for (const std::string& f : failures) said += "\n" + f;
        EXPECT_TRUE(failures.empty()) << how << ":" << said;
    }
}

// A writer holds its transaction open, a row written in it, as a request
// waiting on a host call does; two writers wait for their turn behind it and
// the background thread behind them, to empty the log's file. The process
// then ends (by a return from main, by exit()): it exits 0 within 2 s of
// the worker's last step, as the parent sees it.
TEST_F(ProcessEndTest, AnEndWaitsForNoWriterNorForTheWritersTurn)
{
    for (const char* how : {"return", "exit"}) {
        SCOPED_TRACE(how);
        const std::string catalogue = m_dir + "/holding-" + how + ".db";
        int ending[2];
        ASSERT_EQ(pipe(ending), 0);
        const pid_t worker =
            concurrent_load::StartWorker({"end-holding-writer", catalogue, how, std::to_string(ending[1])});
        close(ending[1]);
        ASSERT_GT(worker, 0);
        // The worker's steps are bounded by 20 s each.
        pollfd ready{ending[0], POLLIN, 0};
        char byte = 0;
        const bool ended = poll(&ready, 1, 90000) == 1 && read(ending[0], &byte, 1) == 1;
        const Clock::time_point endBegan = Clock::now();
        close(ending[0]);
        int status = -1;
        pid_t waited = 0;
        while ((waited = waitpid(worker, &status, WNOHANG)) == 0 && Clock::now() - endBegan < std::chrono::seconds(120))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const double took = std::chrono::duration<double>(Clock::now() - endBegan).count();
        if (waited == 0) {
            kill(worker, SIGKILL);
            waitpid(worker, &status, 0);
        }
        EXPECT_TRUE(ended) << "the worker never reached its end, status " << status;
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
        EXPECT_LT(took, 2.0) << "the end took " << took << " s";
        RemoveCatalogueFiles(catalogue);
    }
}

}  // namespace
