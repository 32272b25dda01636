// A worker process of the tests that run the library in processes of their
// own: by default, the eight threads of one process of the concurrent load
// test in several processes (service/test_concurrent_load.cpp), their result
// written to the file it names; with "end-in-checkpoint", a process that
// ends while the background thread's checkpoint is under way, and with
// "end-holding-writer", one that ends while a writer holds its transaction
// open (host/db/test_process_end.cpp); with "fork-while-writing", a process
// whose writers go on while it forks children that post
// (service/test_fork_child.cpp).
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "host/db/DBConnection.h"
#include "host/db/DBJournal.h"
#include "host/db/DBQuery.h"
#include "host/db/DBLogFile.h"
#include "service/Utils.h"
#include "support/LoadProcesses.h"
#include "support/RegisterDevices.h"

namespace {

// Set by the background thread as its first checkpoint begins.
std::atomic<bool> g_checkpointUnderWay{false};

// Registers devices on the catalogue at path until the background thread's
// first checkpoint is under way, which a pause at its start keeps under way
// for a while, and then ends the process as `how` says: "return" from main,
// or "exit" through exit().
int EndInCheckpoint(const char* path, const char* how)
{
    ZXPlatformInfo::setValue("EvDebug", "LogFile", "none");
    HostJournals::keep(false);
    ZXPlatformInfo::setValue("~ReplicationMgr", "DBCheckpointPages", "10");
    DBtran::useCatalogue(path);
    dbSetCheckpointStart([] {
        g_checkpointUnderWay.store(true);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    });
    RegisterDevices(
        7, "ending-", [](long) { return !g_checkpointUnderWay.load(); }, [](bool, double) {});
    if (std::strcmp(how, "exit") == 0) std::exit(0);
    return 0;
}

// Whether `reached` holds within 20 s, looked at every millisecond.
bool Await(const std::function<bool()>& reached)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!reached()) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// The background thread's first checkpoint, held at its start until let go.
struct HeldCheckpoint {
    std::mutex mutex;
    std::condition_variable changed;
    bool started = false;
    bool letGo = false;
};

// Ends the process as `how` says ("return" from main, or "exit" through
// exit()) while a writer keeps its transaction open with a row written in
// it, two writers queue behind it and the background thread waits behind
// them for the writers' turn; a byte is written to the descriptor `ending`
// just before. Each state is reached before the next step begins; a state
// not reached within 20 s ends the process with a status of its own.
int EndHoldingWriter(const char* path, const char* how, int ending)
{
    ZXPlatformInfo::setValue("EvDebug", "LogFile", "none");
    HostJournals::keep(false);
    // A log of ten pages is checkpointed; its file, above its limit once
    // copied whole, is emptied in a turn of the background thread. The
    // writers never empty it themselves at the hard limit.
    ZXPlatformInfo::setValue("~ReplicationMgr", "DBCheckpointPages", "10");
    ZXPlatformInfo::setValue("~ReplicationMgr", "DBWalSizeLimitKB", "1");
    ZXPlatformInfo::setValue("~ReplicationMgr", "DBWalHardLimitKB", "1048576");
    DBtran::useCatalogue(path);
    if (dbQuery(nullptr, "CREATE TABLE IF NOT EXISTS KeptOpen (note TEXT)", {}, nullptr) != 0) return 2;
    static HeldCheckpoint& held = *new HeldCheckpoint();
    // Held: the first checkpoint that begins with the log's file above its
    // limit (40960 bytes, ten pages), which it empties in its turn.
    const std::string file = path;
    dbSetCheckpointStart([file] {
        std::unique_lock<std::mutex> lock(held.mutex);
        if (held.started || dbWalFileSize(file) <= 40960) return;
        held.started = true;
        held.changed.wait(lock, [] { return held.letGo; });
    });
    RegisterDevices(
        7, "before-",
        [](long) {
            std::lock_guard<std::mutex> guard(held.mutex);
            return !held.started;
        },
        [](bool, double) {});

    static std::atomic<bool> holding{false};
    std::thread([] {
        DBtran tran;
        if (tran.startTran() != 0 ||
            dbQuery(&tran, "INSERT INTO KeptOpen (note) VALUES (?1)", {dbText("never committed")}, nullptr) != 0)
            std::_Exit(3);
        holding.store(true);
        while (true) pause();
    }).detach();
    if (!Await([] { return holding.load(); })) return 4;
    std::shared_ptr<DBWriterQueue> writers = DBWriterQueue::of(path);
    for (const char* prefix : {"queued-a-", "queued-b-"})
        std::thread([prefix] { RegisterDevices(7, prefix, [](long n) { return n < 1; }, [](bool, double) {}); })
            .detach();
    if (!Await([&writers] { return writers->waiting() == 2; })) return 5;
    {
        std::lock_guard<std::mutex> guard(held.mutex);
        held.letGo = true;
    }
    held.changed.notify_all();
    // The third in the queue is the background thread.
    if (!Await([&writers] { return writers->waiting() == 3; })) return 6;
    if (write(ending, "e", 1) != 1) return 7;
    if (std::strcmp(how, "exit") == 0) std::exit(0);
    return 0;
}

// Set in the children forked below. The leak check at their exit (in the
// sanitizer build) is off: the objects it would find are those of the
// parent's threads, which a fork does not copy into the child, their
// requests under way among them; the parent's own check at its exit stays.
std::atomic<bool> g_forkedChild{false};

// A child forked from the process below: posts five registrations under a
// 20 s alarm, each of which must be answered at once as a request whose
// transaction cannot start, and ends through exit(): 0, or 10 + the replies
// that were not that.
[[noreturn]] void PostInChild()
{
    g_forkedChild.store(true);
    alarm(20);
    CZxNetwork network;
    int status = -1;
    std::string text;
    network.setSendObserver([&](unsigned long code, const void* data, unsigned long length) {
        if (code != 0x35000002 || length != sizeof(repAddSNRDeviceResponse)) return;
        const repAddSNRDeviceResponse& reply = *static_cast<const repAddSNRDeviceResponse*>(data);
        status = reply.status;
        text = reply.errMsg != nullptr ? reply.errMsg : "";
    });
    ZxSessionSend session(&network);
    ReplicationMgr mgr(&session);
    int wrong = 0;
    for (int n = 0; n < 5; ++n) {
        AddDeviceRequest request(7, "child-" + std::to_string(getpid()) + "-" + std::to_string(n));
        zxsDatabuf buf;
        buf.m_pData = &request.req;
        status = -1;
        text.clear();
        if (mgr.post(0x35000001, 0, &buf) != 1 || status != 0 || text != DBTranErrorMsg) ++wrong;
    }
    std::exit(wrong == 0 ? 0 : 10 + wrong);
}

// Four threads register devices through post on the catalogue at path while
// the process forks five children, each after the writers wrote more; the
// writers then pause, and once the background thread is idle on its
// condition variable the process forks five more; the writers then write on.
// 0 when every child exited 0 and every registration of the writers
// succeeded; otherwise a status of its own, said on standard error.
int ForkWhileWriting(const char* path)
{
    ZXPlatformInfo::setValue("EvDebug", "LogFile", "none");
    HostJournals::keep(false);
    // Checkpoints all along: the background thread is busy at the forks.
    ZXPlatformInfo::setValue("~ReplicationMgr", "DBCheckpointPages", "10");
    DBtran::useCatalogue(path);
    static std::atomic<long> posts{0};
    static std::atomic<long> failures{0};
    // 0: writing; 1: pausing; 2: writing again; 3: ending.
    static std::atomic<int> phase{0};
    // Never destroyed: a child's exit() must not wait for the parent's
    // threads registered on the condition variable.
    static std::mutex& mutex = *new std::mutex();
    static std::condition_variable& changed = *new std::condition_variable();
    static int paused = 0;
    std::vector<std::thread> writers;
    for (int w = 0; w < 4; ++w)
        writers.emplace_back([w] {
            RegisterDevices(
                7, "writer-" + std::to_string(w) + "-",
                [](long) {
                    if (phase.load() == 1) {
                        std::unique_lock<std::mutex> lock(mutex);
                        ++paused;
                        changed.notify_all();
                        changed.wait(lock, [] { return phase.load() != 1; });
                    }
                    return phase.load() != 3;
                },
                [](bool registered, double) {
                    ++posts;
                    if (!registered) ++failures;
                });
        });
    std::vector<pid_t> children;
    auto forkChild = [&children] {
        const pid_t child = fork();
        if (child == 0) PostInChild();
        children.push_back(child);
    };
    int result = 0;
    for (int k = 0; k < 5 && result == 0; ++k) {
        const long after = posts.load() + 8;
        if (!Await([after] { return posts.load() >= after; })) result = 2;
        forkChild();
    }
    if (result == 0) {
        std::unique_lock<std::mutex> lock(mutex);
        phase.store(1);
        if (!changed.wait_for(lock, std::chrono::seconds(20), [] { return paused == 4; })) result = 3;
    }
    const std::shared_ptr<DBWriterQueue> queue = DBWriterQueue::of(path);
    if (result == 0 && !Await([&queue] { return dbBackgroundThreadIdle() && queue->waiting() == 0; })) result = 4;
    for (int k = 0; k < 5 && result == 0; ++k) forkChild();
    {
        std::lock_guard<std::mutex> guard(mutex);
        phase.store(2);
    }
    changed.notify_all();
    const long after = posts.load() + 40;
    if (!Await([after] { return posts.load() >= after; }) && result == 0) result = 5;
    {
        std::lock_guard<std::mutex> guard(mutex);
        phase.store(3);
    }
    changed.notify_all();
    for (std::thread& writer : writers) writer.join();
    for (const pid_t child : children) {
        int status = -1;
        if (child <= 0 || waitpid(child, &status, 0) != child) status = -1;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "child %d: %s %d\n", static_cast<int>(child),
                         WIFSIGNALED(status) ? "signal" : "status",
                         WIFSIGNALED(status) ? WTERMSIG(status) : WEXITSTATUS(status));
            if (result == 0) result = 6;
        }
    }
    if (failures.load() != 0) {
        std::fprintf(stderr, "%ld of %ld registrations of the writers failed\n", failures.load(), posts.load());
        if (result == 0) result = 7;
    }
    if (result != 0) std::fprintf(stderr, "fork-while-writing: status %d\n", result);
    return result;
}

}  // namespace

#if defined(__SANITIZE_ADDRESS__)
extern "C" int __lsan_is_turned_off()
{
    return g_forkedChild.load() ? 1 : 0;
}
#endif

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "end-in-checkpoint") == 0) return EndInCheckpoint(argv[2], argv[3]);
    if (argc == 5 && std::strcmp(argv[1], "end-holding-writer") == 0)
        return EndHoldingWriter(argv[2], argv[3], std::atoi(argv[4]));
    if (argc == 3 && std::strcmp(argv[1], "fork-while-writing") == 0) return ForkWhileWriting(argv[2]);
    return concurrent_load::RunWorker(argc - 1, argv + 1);
}
