// The turn among the processes that write one catalogue file (internal to
// host/db). Inside a process the writers queue in DBWriterQueue; the one
// whose turn it is then queues here, first come first served, with the
// writers of the other processes. The queue lives in a small file beside the
// catalogue ("<catalogue>-writers"), mapped into each process; the turn
// passes to the next process the moment it is given back, instead of leaving
// the processes to poll for the database's write lock in turns of sleep.
// A process that ends while it holds the turn or waits for it is passed over.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <string>

class DBProcessTurn {
public:
    // The turn of the catalogue file at path, shared by its connections in
    // this process; null when the side file cannot be used (the writers then
    // rely on the database's busy handler alone, and the reason is logged).
    static std::shared_ptr<DBProcessTurn> of(const std::string& path);
    // The side file of the catalogue at path.
    static std::string sideFile(const std::string& path);

    ~DBProcessTurn();
    DBProcessTurn(const DBProcessTurn&) = delete;
    DBProcessTurn& operator=(const DBProcessTurn&) = delete;

    // Waits for the turn: true once it is this process's, false when it did
    // not come within the timeout (the place in the queue is then given up).
    // One thread of the process at a time: the holder of its writer queue.
    bool enter(std::chrono::milliseconds timeout);
    // Gives the turn to the next process waiting.
    void leave();

    struct Shared;

private:
    explicit DBProcessTurn(Shared* shared) : m_shared(shared) {}

    Shared* m_shared;
};
