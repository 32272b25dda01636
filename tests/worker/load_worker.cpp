// A worker process of the concurrent load test in several processes
// (service/test_concurrent_load.cpp): the eight threads of one process on the
// catalogue the test seeded, their result written to the file it names.
#include "support/LoadProcesses.h"

int main(int argc, char** argv)
{
    return concurrent_load::RunWorker(argc - 1, argv + 1);
}
