// A robust mutex, shared between processes or kept by one, with who holds
// it; the guard that holds it, forgetting a holder that died with it and
// waiting for one that lives no longer than the side file's own wait (less
// for one seen stopped); and the waits of one user of such a lock, which
// after a wait that did not have it wait briefly until one has it again
// (internal to host/db).
#pragma once

#include <errno.h>
#include <pthread.h>
#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>

// How long a lock of the side file is waited for, whatever its caller's own
// deadline: its holders keep it for a few statements, so a holder that keeps
// it longer does not go on (stopped, frozen, or waiting for what it should
// not wait for under it).
const std::chrono::milliseconds kSideFileLockWait(1000);
// Once a wait did not have the lock, the next ones wait no longer than this
// until the lock is had again: the holder that kept it keeps it for as long
// as it does not go on.
const std::chrono::milliseconds kSideFileLockRetry(10);

// A robust mutex and its holder's identity, which the holder writes after
// locking it and clears before unlocking it, so that a waiter can tell
// whether the holder is stopped. All zeros is none known.
struct DBRobustMutex {
    pthread_mutex_t mutex;
    uint64_t holderIds;      // the holder's process id << 32 | its thread id
    uint64_t holderStarted;  // the start time of the holder's process (clock ticks after boot)
};

// Sets mutex up robust, and shared between the processes that map it where
// shared is true, with no holder. 0, or the error that kept it from being
// set up.
int dbInitRobustMutex(DBRobustMutex& mutex, bool shared);

// Holds a robust mutex for its scope. A holder that died with it is
// forgotten: the mutex is made consistent, for data that is consistent
// between any two statements. A holder that lives is waited for until the
// deadline, unless it is seen stopped (by a signal or a debugger; its state
// looked at every 100 ms): a process stopped while it holds the mutex (a
// debugger, a suspended job) holds no one past that. held() is false when
// the mutex was not had, with the reason in outcome().
class DBRobustLock {
public:
    using Clock = std::chrono::steady_clock;
    enum Outcome {
        kHeld,
        kTimedOut,       // the holder did not give it back by the deadline
        kHolderStopped,  // the holder, process stoppedHolder(), is stopped
        kFailed,         // it cannot be had: error() (ENOTRECOVERABLE, ...)
    };

    DBRobustLock(DBRobustMutex& mutex, Clock::time_point deadline);
    ~DBRobustLock();
    DBRobustLock(const DBRobustLock&) = delete;
    DBRobustLock& operator=(const DBRobustLock&) = delete;

    bool held() const { return m_outcome == kHeld; }
    Outcome outcome() const { return m_outcome; }
    // With kFailed, the error the mutex gave.
    int error() const { return m_error; }
    // With kHolderStopped, the stopped holder's process id.
    pid_t stoppedHolder() const { return m_stoppedHolder; }

private:
    DBRobustMutex& m_mutex;
    Outcome m_outcome = kTimedOut;
    int m_error = 0;
    pid_t m_stoppedHolder = 0;
};

// The waits of one user (a unit's object of one catalogue) for one lock of
// the side file: each waits kSideFileLockWait, until one does not have the
// lock; from then on each waits kSideFileLockRetry, until one has it again.
// So a holder that does not go on costs the user one full wait, and one log
// entry, until the lock is had again.
class DBSideFileWaits {
public:
    // The deadline of the next wait, from now.
    DBRobustLock::Clock::time_point deadline() const;
    // Notes how the wait of lock ended. True when the lock was not had and
    // the wait before had it (or none came before): the user writes its one
    // entry then.
    bool firstMiss(const DBRobustLock& lock);

private:
    std::atomic<bool> m_missing{false};  // the last wait did not have the lock
};
