// The robust mutex's guard: a try, then timed waits of 100 ms at most, the
// holder's state looked at between them through the identity it wrote
// beside the mutex; the waits of one user of a lock of the side file.
#include "host/db/DBRobustMutex.h"

#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>

#include "host/db/DBProcStat.h"

namespace {

using Clock = DBRobustLock::Clock;

uint64_t load(const uint64_t& word)
{
    return __atomic_load_n(&word, __ATOMIC_ACQUIRE);
}

void store(uint64_t& word, uint64_t value)
{
    __atomic_store_n(&word, value, __ATOMIC_RELEASE);
}

// Whether the holder whose identity mutex carries is stopped; its process
// id in *pid. Not when no holder is named, when the process named ended or
// its pid names another process (another start time), or when the identity
// changed while its state was looked at (the mutex changed hands).
bool holderStopped(const DBRobustMutex& mutex, pid_t* pid)
{
    const uint64_t ids = load(mutex.holderIds);
    const uint64_t started = load(mutex.holderStarted);
    if (ids == 0) return false;
    const pid_t process = static_cast<pid_t>(ids >> 32);
    const pid_t thread = static_cast<pid_t>(ids & 0xffffffffU);
    char state = 0;
    uint64_t seen = 0;
    if (!dbReadProcStat(process, state, seen) || seen != started) return false;
    if (!dbReadThreadStat(process, thread, state, seen) || (state != 'T' && state != 't')) return false;
    *pid = process;
    return load(mutex.holderIds) == ids && load(mutex.holderStarted) == started;
}

}  // namespace

int dbInitRobustMutex(DBRobustMutex& mutex, bool shared)
{
    mutex.holderIds = 0;
    mutex.holderStarted = 0;
    pthread_mutexattr_t ma;
    const int init = pthread_mutexattr_init(&ma);
    if (init != 0) return init;
    if (shared) pthread_mutexattr_setpshared(&ma, PTHREAD_PROCESS_SHARED);
    pthread_mutexattr_setrobust(&ma, PTHREAD_MUTEX_ROBUST);
    const int rc = pthread_mutex_init(&mutex.mutex, &ma);
    pthread_mutexattr_destroy(&ma);
    return rc;
}

DBRobustLock::DBRobustLock(DBRobustMutex& mutex, Clock::time_point deadline) : m_mutex(mutex)
{
    // Known before the lock is held, so that the holder writes it at once.
    const uint64_t started = dbThisProcessStarted();
    const uint64_t ids = static_cast<uint64_t>(static_cast<uint32_t>(getpid())) << 32 |
                         static_cast<uint32_t>(syscall(SYS_gettid));
    int rc = pthread_mutex_trylock(&m_mutex.mutex);
    while (rc == EBUSY) {
        if (holderStopped(m_mutex, &m_stoppedHolder)) {
            m_outcome = kHolderStopped;
            return;
        }
        const Clock::duration left = deadline - Clock::now();
        if (left <= Clock::duration::zero()) {
            m_outcome = kTimedOut;
            return;
        }
        // The timed lock counts on the wall clock; a step of it ends a try
        // early or late, never the wait past the deadline.
        timespec until;
        clock_gettime(CLOCK_REALTIME, &until);
        const long long ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                 std::min<Clock::duration>(left, std::chrono::milliseconds(100)))
                                 .count();
        until.tv_sec += static_cast<time_t>((until.tv_nsec + ns) / 1000000000LL);
        until.tv_nsec = static_cast<long>((until.tv_nsec + ns) % 1000000000LL);
        rc = pthread_mutex_timedlock(&m_mutex.mutex, &until);
        if (rc == ETIMEDOUT) rc = EBUSY;
    }
    if (rc == EOWNERDEAD) rc = pthread_mutex_consistent(&m_mutex.mutex);
    if (rc != 0) {
        m_outcome = kFailed;
        m_error = rc;
        return;
    }
    store(m_mutex.holderStarted, started);
    store(m_mutex.holderIds, ids);
    m_outcome = kHeld;
}

DBRobustLock::~DBRobustLock()
{
    if (m_outcome != kHeld) return;
    store(m_mutex.holderIds, 0);
    store(m_mutex.holderStarted, 0);
    pthread_mutex_unlock(&m_mutex.mutex);
}

DBRobustLock::Clock::time_point DBSideFileWaits::deadline() const
{
    return Clock::now() + (m_missing.load() ? kSideFileLockRetry : kSideFileLockWait);
}

bool DBSideFileWaits::firstMiss(const DBRobustLock& lock)
{
    if (lock.held()) {
        m_missing.store(false);
        return false;
    }
    return !m_missing.exchange(true);
}
