// A process that ends while the background thread's checkpoint is under way,
// by a return from main or through exit(), ends cleanly: the thread is
// stopped and joined before anything it uses is destroyed. Each round runs
// the worker program built beside the tests, whose first checkpoint is kept
// under way by a pause at its start.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "support/CatalogueFiles.h"
#include "support/LoadProcesses.h"
#include "support/TestCatalogue.h"

namespace {

class ProcessEndTest : public CatalogueTest {
protected:
    // Runs `rounds` worker processes, four at a time, each on a catalogue of
    // its own, ending as `how` says: the failures, each with its status.
    std::vector<std::string> Rounds(const char* how, int rounds)
    {
        const std::string program = concurrent_load::OwnProgram();
        const std::string worker = program.substr(0, program.rfind('/') + 1) + "replmgr_load_worker";
        std::vector<std::string> failures;
        for (int first = 0; first < rounds; first += 4) {
            std::vector<std::pair<pid_t, std::string>> started;
            for (int round = first; round < std::min(first + 4, rounds); ++round) {
                const std::string catalogue = m_dir + "/" + how + "-" + std::to_string(round) + ".db";
                std::vector<std::string> args = {worker, "end-in-checkpoint", catalogue, how};
                std::vector<char*> argv;
                for (std::string& a : args) argv.push_back(&a[0]);
                argv.push_back(nullptr);
                pid_t pid = -1;
                if (posix_spawn(&pid, worker.c_str(), nullptr, nullptr, argv.data(), environ) != 0) pid = -1;
                started.emplace_back(pid, catalogue);
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

}  // namespace
