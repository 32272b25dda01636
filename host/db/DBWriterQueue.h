// The queue in which the writers of one catalogue file wait inside the
// process, first come first served, before they take the database's write
// lock (internal to host/db). Waiting here, a thread is woken the moment its
// turn comes instead of sleeping in the database's busy handler.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

class DBWriterQueue {
public:
    // The queue of the catalogue file at path, shared by its connections.
    static std::shared_ptr<DBWriterQueue> of(const std::string& path);

    // Waits for the turn: true once it is the caller's, false when it did
    // not come within the timeout (the caller then stays out of the queue).
    bool enter(std::chrono::milliseconds timeout);
    // Ends the caller's turn and hands it to the longest waiting one.
    void leave();
    // Threads waiting for their turn.
    size_t waiting();

private:
    struct Waiter {
        std::condition_variable wake;
        std::atomic<bool> granted{false};
    };

    std::mutex m_mutex;
    bool m_held = false;
    std::deque<Waiter*> m_waiters;
};
