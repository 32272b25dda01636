// A robust mutex, shared between processes or kept by one, and the guard
// that holds it, forgetting a holder that died with it, waiting no longer
// than its caller's deadline for one that lives and not at all for one
// seen stopped (internal to host/db).
#pragma once

#include <errno.h>
#include <pthread.h>
#include <time.h>

#include <algorithm>
#include <chrono>

// Sets mutex up robust, and shared between the processes that map it where
// shared is true. 0, or the error that kept it from being set up.
inline int dbInitRobustMutex(pthread_mutex_t& mutex, bool shared)
{
    pthread_mutexattr_t ma;
    const int init = pthread_mutexattr_init(&ma);
    if (init != 0) return init;
    if (shared) pthread_mutexattr_setpshared(&ma, PTHREAD_PROCESS_SHARED);
    pthread_mutexattr_setrobust(&ma, PTHREAD_MUTEX_ROBUST);
    const int rc = pthread_mutex_init(&mutex, &ma);
    pthread_mutexattr_destroy(&ma);
    return rc;
}

// How long a lock of the side file is waited for when the caller has no
// deadline of its own: its holders keep it for a few statements.
const std::chrono::milliseconds kSideFileLockWait(1000);
// Once a wait gave up on a stopped holder, the next ones wait no longer than
// this until the lock is had again: the holder keeps it for as long as it
// stays stopped.
const std::chrono::milliseconds kSideFileLockRetry(10);

// The deadline of a wait for a lock of the side file, of a caller whose own
// deadline is `deadline`, after a wait that gave up on a stopped holder
// (stuck) or not.
inline std::chrono::steady_clock::time_point dbSideFileLockDeadline(std::chrono::steady_clock::time_point deadline,
                                                                      bool stuck)
{
    return stuck ? std::min(deadline, std::chrono::steady_clock::now() + kSideFileLockRetry) : deadline;
}

// Whether the thread that holds mutex, a robust mutex held by a thread of
// this process or of another, is stopped (by a signal or a debugger): the
// kernel's robust-futex protocol keeps the holder's thread id in the
// mutex's word.
bool dbRobustMutexHolderStopped(const pthread_mutex_t& mutex);

// Holds a robust mutex for its scope. A holder that died with it is
// forgotten: the mutex is made consistent, for data that is consistent
// between any two statements. A holder that lives is waited for until the
// deadline, unless it is seen stopped (looked at every 100 ms): a process
// stopped while it holds the mutex (a debugger, a frozen container, a
// suspended job) holds no one past that. held() is false, with the reason
// in error() (ETIMEDOUT after the wait), when the mutex was not had.
class DBRobustLock {
public:
    using Clock = std::chrono::steady_clock;

    DBRobustLock(pthread_mutex_t& mutex, Clock::time_point deadline) : m_mutex(mutex)
    {
        int rc = pthread_mutex_trylock(&m_mutex);
        while (rc == EBUSY) {
            const Clock::duration left = deadline - Clock::now();
            if (left <= Clock::duration::zero() || dbRobustMutexHolderStopped(m_mutex)) {
                rc = ETIMEDOUT;
                break;
            }
            // The timed lock counts on the wall clock; a step of it ends a
            // try early or late, never the wait past the deadline.
            timespec until;
            clock_gettime(CLOCK_REALTIME, &until);
            const long long ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                     std::min<Clock::duration>(left, std::chrono::milliseconds(100)))
                                     .count();
            until.tv_sec += static_cast<time_t>((until.tv_nsec + ns) / 1000000000LL);
            until.tv_nsec = static_cast<long>((until.tv_nsec + ns) % 1000000000LL);
            rc = pthread_mutex_timedlock(&m_mutex, &until);
            if (rc == ETIMEDOUT) rc = EBUSY;
        }
        if (rc == EOWNERDEAD) rc = pthread_mutex_consistent(&m_mutex);
        m_error = rc;
    }
    ~DBRobustLock()
    {
        if (m_error == 0) pthread_mutex_unlock(&m_mutex);
    }
    DBRobustLock(const DBRobustLock&) = delete;
    DBRobustLock& operator=(const DBRobustLock&) = delete;

    bool held() const { return m_error == 0; }
    int error() const { return m_error; }

private:
    pthread_mutex_t& m_mutex;
    int m_error;
};
