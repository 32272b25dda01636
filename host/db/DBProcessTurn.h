// The turn among the processes that write one catalogue file (internal to
// host/db). Inside a process the writers queue in DBWriterQueue; the one
// whose turn it is then queues here, first come first served, with the
// writers of the other processes. The queue lives in the first page of a
// small file beside the catalogue ("<catalogue>-writers"), mapped into each
// process; the turn passes to the next process the moment it is given back,
// instead of leaving the processes to poll for the database's write lock in
// turns of sleep. No process's death stops the others, at any instant: a
// process that ends (or lingers unreaped) while it holds the turn, waits for
// it or holds the side file's lock is passed over within a tenth of a second.
//
// The side file: its first 4096 bytes are the turn's; the rest of the file
// belongs to the write-ahead log's journal, whose users hold the turn while
// they have it mapped; it is touched here only by a process alone with the
// file, which zeroes it so that it is set up anew. The file is never shrunk,
// replaced or removed. Each process holds a shared
// flock on it for as long as it has it mapped; the page is made anew (when
// it is new, of another layout or left half made) only by a process that
// can take the flock exclusively, that is when no other process uses it.
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
    // The bytes of the side file that hold the turn, from its start.
    static const size_t kBytes = 4096;

    ~DBProcessTurn();
    DBProcessTurn(const DBProcessTurn&) = delete;
    DBProcessTurn& operator=(const DBProcessTurn&) = delete;

    // Waits for the turn: true once it is this process's, false when it did
    // not come within the timeout (the place in the queue is then given up).
    // One thread of the process at a time: the holder of its writer queue.
    bool enter(std::chrono::milliseconds timeout);
    // Gives the turn to the next process waiting.
    void leave();

    // For tests: called inside enter() with the side file's lock held, once
    // the slot of the ticket being drawn is written and before the ticket is
    // given out (a process dying there leaves the queue as it was).
    static void setBeforeTicketGivenOut(void (*hook)());

    struct Shared;

private:
    DBProcessTurn(Shared* shared, int fd) : m_shared(shared), m_fd(fd) {}

    Shared* m_shared;
    int m_fd;  // the side file, with the shared flock held
};
