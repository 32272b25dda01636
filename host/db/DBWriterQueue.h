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
    // not come within the timeout, or when *giveUp (if given) is true, seen
    // at once after wakeAll (the caller then stays out of the queue).
    bool enter(std::chrono::milliseconds timeout, const std::atomic<bool>* giveUp = nullptr);
    // Ends the caller's turn and hands it to the longest waiting one.
    void leave();
    // Threads waiting for their turn.
    size_t waiting();
    // Wakes every waiting thread, so that a wait whose giveUp flag was set
    // before the call ends at once; the others wait on.
    void wakeAll();

private:
    struct Waiter {
        std::condition_variable wake;
        std::atomic<bool> granted{false};
    };

    std::mutex m_mutex;
    bool m_held = false;
    std::deque<Waiter*> m_waiters;
};
