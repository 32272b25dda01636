// A robust mutex, shared between processes or kept by one, and the guard
// that holds it, forgetting a holder that died with it (internal to host/db).
#pragma once

#include <errno.h>
#include <pthread.h>

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

// Holds a robust mutex for its scope. A holder that died with it is
// forgotten: the mutex is made consistent, for data that is consistent
// between any two statements. held() is false, with the reason in error(),
// when the mutex cannot be held any more (a process that recovered it did
// not make it consistent).
class DBRobustLock {
public:
    explicit DBRobustLock(pthread_mutex_t& mutex) : m_mutex(mutex)
    {
        int rc = pthread_mutex_lock(&m_mutex);
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
