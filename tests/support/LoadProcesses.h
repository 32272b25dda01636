// The concurrent load in several processes: worker processes started from a
// program file (each a fresh process, its first connection to the catalogue
// its own), each running the threads of the load and writing what they saw
// to a result file that the starting process reads back.
#pragma once

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ConcurrentLoad.h"
#include "host/db/DBtable.h"

extern char** environ;

namespace concurrent_load {

// Writes a process's result to path; false when it cannot.
inline bool WriteResult(const std::string& path, const LoadResult& r)
{
    std::ofstream out(path);
    out.precision(17);
    out << "posts " << r.posts << "\nbad " << r.badReplies << "\nunexpected " << r.unexpectedCount << "\nlongest "
        << r.longestSeconds << "\nstarted " << r.started << "\nended " << r.ended << "\nturn " << (r.turnFree ? 1 : 0)
        << "\n";
    for (int k = 0; k < KindCount; ++k)
        out << "tally " << k << " " << r.tallies[k].posts << " " << r.tallies[k].succeeded << " "
            << r.tallies[k].refused << "\n";
    for (std::string text : r.unexpected) {
        for (char& c : text)
            if (c == '\n') c = ' ';
        out << "text " << text << "\n";
    }
    out << "latencies";
    for (uint32_t us : r.latenciesUs) out << " " << us;
    out << "\n";
    return static_cast<bool>(out);
}

// Reads a result written by WriteResult; false when the file is missing or
// incomplete.
inline bool ReadResult(const std::string& path, LoadResult& r)
{
    std::ifstream in(path);
    std::string line;
    bool complete = false;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string key;
        fields >> key;
        if (key == "posts") fields >> r.posts;
        if (key == "bad") fields >> r.badReplies;
        if (key == "unexpected") fields >> r.unexpectedCount;
        if (key == "longest") fields >> r.longestSeconds;
        if (key == "started") fields >> r.started;
        if (key == "ended") fields >> r.ended;
        if (key == "turn") {
            int free = 0;
            fields >> free;
            r.turnFree = free == 1;
        }
        if (key == "tally") {
            int k = -1;
            fields >> k;
            if (k >= 0 && k < KindCount) fields >> r.tallies[k].posts >> r.tallies[k].succeeded >> r.tallies[k].refused;
        }
        if (key == "text") r.unexpected.push_back(line.substr(5));
        if (key == "latencies") {
            uint32_t us = 0;
            while (fields >> us) r.latenciesUs.push_back(us);
            complete = true;
        }
    }
    return complete;
}

// The arguments of a worker process: the catalogue, its process number (1
// and up: 0 is the threads of a single process), the posts per thread, the
// seed and the file for its result.
inline std::vector<std::string> WorkerArguments(const std::string& catalogue, int process, int posts, unsigned seed,
                                                const std::string& resultFile)
{
    return {catalogue, std::to_string(process), std::to_string(posts), std::to_string(seed), resultFile};
}

// The worker's side: runs the load of one process as the arguments say
// (after the program's own leading arguments) and writes its result. 0 when
// the result was written, 2 when the arguments were wrong, 1 otherwise.
inline int RunWorker(int argc, char** argv)
{
    if (argc != 5) return 2;
    const std::string catalogue = argv[0];
    const int process = std::atoi(argv[1]);
    const int posts = std::atoi(argv[2]);
    const unsigned seed = static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10));
    ConfigureLoadHost();
    DBtran::useCatalogue(catalogue);
    const LoadResult r = RunThreads(catalogue, process, posts, seed);
    return WriteResult(argv[4], r) ? 0 : 1;
}

// Starts `processes` worker processes of the program at `program` (its
// leading arguments first, then those of WorkerArguments) at once, waits for
// all and adds up their results. A process that failed or wrote no result is
// named in `failures`.
inline LoadResult RunProcesses(const std::string& program, const std::vector<std::string>& leading,
                               const std::string& catalogue, int processes, int posts, unsigned seed,
                               std::vector<std::string>& failures)
{
    std::vector<pid_t> pids;
    std::vector<std::string> results;
    for (int p = 1; p <= processes; ++p) {
        results.push_back(catalogue + ".result-" + std::to_string(p));
        std::vector<std::string> args = {program};
        args.insert(args.end(), leading.begin(), leading.end());
        for (const std::string& a : WorkerArguments(catalogue, p, posts, seed, results.back())) args.push_back(a);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(&a[0]);
        argv.push_back(nullptr);
        pid_t pid = 0;
        if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
            failures.push_back("cannot start " + program);
            continue;
        }
        pids.push_back(pid);
    }
    std::vector<bool> exited(results.size(), false);
    for (size_t i = 0; i < pids.size(); ++i) {
        int status = 0;
        const std::string name = "worker process " + std::to_string(i + 1);
        if (waitpid(pids[i], &status, 0) != pids[i] || !WIFEXITED(status))
            failures.push_back(name + " did not exit");
        else if (WEXITSTATUS(status) == kStalledExit)
            failures.push_back(name + ": a request waited for a timeout");
        else if (WEXITSTATUS(status) != 0)
            failures.push_back(name + " exited with " + std::to_string(WEXITSTATUS(status)));
        else
            exited[i] = true;
    }
    LoadResult all;
    for (size_t i = 0; i < results.size(); ++i) {
        LoadResult one;
        if (exited[i] && !ReadResult(results[i], one))
            failures.push_back("no result in " + results[i]);
        else if (exited[i])
            all.add(one);
        std::remove(results[i].c_str());
    }
    return all;
}

// The program file of the calling process.
inline std::string OwnProgram()
{
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string();
}

// The worker program built beside the tests (tests/worker/load_worker.cpp).
inline std::string WorkerProgram()
{
    const std::string program = OwnProgram();
    return program.substr(0, program.rfind('/') + 1) + "replmgr_load_worker";
}

// Starts the worker program with these arguments after its name; its id, or
// -1 when it cannot be started.
inline pid_t StartWorker(std::vector<std::string> args)
{
    const std::string worker = WorkerProgram();
    args.insert(args.begin(), worker);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    pid_t pid = -1;
    return posix_spawn(&pid, worker.c_str(), nullptr, nullptr, argv.data(), environ) == 0 ? pid : -1;
}

}  // namespace concurrent_load
