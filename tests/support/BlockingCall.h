// A call run on a thread of its own, for the tests of calls that wait (for a
// lock, a semaphore, a turn) until another thread lets them go: whether the
// call blocks, known without sleeping, from the state the kernel gives its
// thread (/proc/self/task/<id>/stat).
#pragma once

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>
#include <thread>

class BlockingCall {
public:
    // Starts the call at once.
    explicit BlockingCall(std::function<void()> call)
        : m_thread([this, call = std::move(call)] {
              m_tid.store(static_cast<long>(syscall(SYS_gettid)));
              m_begun.store(true);
              call();
              m_returned.store(true);
          })
    {
    }
    ~BlockingCall() { join(); }
    BlockingCall(const BlockingCall&) = delete;
    BlockingCall& operator=(const BlockingCall&) = delete;

    // Returns once the call has returned or its thread sleeps in the kernel;
    // true in the second case. A call sleeps where it waits, so a call that
    // waits for nothing gives false, and one that waits gives true until it
    // is let go. A thread also sleeps a moment in a short timed wait or when
    // it finds a lock of the allocator or of a sanitizer taken: a call can
    // then be seen blocked that returns soon after, never the other way
    // round.
    bool blocks()
    {
        while (!m_begun.load()) std::this_thread::yield();
        for (;;) {
            if (m_returned.load()) return false;
            const char state = threadState();
            // Read after the state: not returned then, so not before either.
            if (m_returned.load()) return false;
            if (state == 'S') return true;
            if (state == '?') {
                ADD_FAILURE() << "the state of thread " << m_tid.load() << " cannot be read";
                return true;
            }
            std::this_thread::yield();
        }
    }

    void join()
    {
        if (m_thread.joinable()) m_thread.join();
    }

private:
    // The state letter of the call's thread ('R' running, 'S' asleep, ...),
    // '?' when it cannot be read.
    char threadState() const
    {
        // Nothing allocated: the call may be taking the allocator's locks.
        char path[64];
        std::snprintf(path, sizeof(path), "/proc/self/task/%ld/stat", m_tid.load());
        const int fd = open(path, O_RDONLY);
        if (fd < 0) return '?';
        char text[512];
        const ssize_t n = read(fd, text, sizeof(text) - 1);
        close(fd);
        if (n <= 0) return '?';
        text[n] = '\0';
        // "<id> (<name>) <state> ...": the name may hold spaces and ')'.
        const char* end = std::strrchr(text, ')');
        return end != nullptr && end[1] == ' ' && end[2] != '\0' ? end[2] : '?';
    }

    std::atomic<long> m_tid{0};
    std::atomic<bool> m_begun{false};
    std::atomic<bool> m_returned{false};
    std::thread m_thread;  // last: started once the members above exist
};
