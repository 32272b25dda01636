// A worker process of the tests that run the library in processes of their
// own: by default, the eight threads of one process of the concurrent load
// test in several processes (service/test_concurrent_load.cpp), their result
// written to the file it names; with "end-in-checkpoint", a process that
// ends while the background thread's checkpoint is under way
// (host/db/test_process_end.cpp).
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "host/db/DBConnection.h"
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

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "end-in-checkpoint") == 0) return EndInCheckpoint(argv[2], argv[3]);
    return concurrent_load::RunWorker(argc - 1, argv + 1);
}
