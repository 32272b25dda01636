// Locks of the host's framework that the database access library and the
// replication manager share: a span of time, the lock that remembers its
// holder, and the in-process recursive lock (the library's critical section).
// Defined entirely in this header.
#pragma once

#include <pthread.h>

#include <boost/date_time/posix_time/posix_time_types.hpp>
#include <boost/interprocess/exceptions.hpp>
#include <boost/interprocess/sync/interprocess_recursive_mutex.hpp>

// The calling thread's id as pthread_self() gives it.
inline unsigned long GetCurrentThreadId()
{
    return static_cast<unsigned long>(pthread_self());
}

// A span of time in ticks of 100 nanoseconds.
class CTimeInterval {
public:
    CTimeInterval(long long ticks) : m_llTicks(ticks) {}
    ~CTimeInterval() {}

    static CTimeInterval FromSeconds(long long seconds) { return CTimeInterval(seconds * 10000000LL); }

    // Whole milliseconds, truncated toward zero.
    long long AsMilliseconds() const { return m_llTicks / 10000LL; }
    long long Ticks() const { return m_llTicks; }

private:
    long long m_llTicks;
};

// A lock that remembers the thread holding it.
class FXLockableResource {
public:
    FXLockableResource() : m_nOwnerThreadId(0) {}
    virtual ~FXLockableResource() {}
    FXLockableResource(const FXLockableResource&) = delete;
    FXLockableResource& operator=(const FXLockableResource&) = delete;

    virtual bool TryLock() = 0;
    virtual bool TryLock(CTimeInterval interval) = 0;
    virtual void Lock() = 0;
    virtual void Unlock() = 0;

    // Low 32 bits of the holder's thread id; 0 when nobody holds the lock.
    unsigned int GetLockOwner() const { return m_nOwnerThreadId; }

protected:
    void SetLockOwner() { m_nOwnerThreadId = static_cast<unsigned int>(GetCurrentThreadId()); }
    void ClearLockOwner() { m_nOwnerThreadId = 0; }

private:
    unsigned int m_nOwnerThreadId;
};

// An in-process recursive lock.
class FXCriticalSection : public FXLockableResource {
public:
    FXCriticalSection() {}

    bool TryLock() override
    {
        try {
            if (!m_oMutex.try_lock()) return false;
        } catch (const boost::interprocess::interprocess_exception&) {
            return false;
        }
        SetLockOwner();
        return true;
    }

    bool TryLock(CTimeInterval interval) override
    {
        long long ms = interval.AsMilliseconds();
        if (ms < 0) ms = 0;
        try {
            if (!m_oMutex.timed_lock(boost::posix_time::microsec_clock::universal_time() +
                                     boost::posix_time::milliseconds(ms)))
                return false;
        } catch (const boost::interprocess::interprocess_exception&) {
            return false;
        }
        SetLockOwner();
        return true;
    }

    // A lock that cannot be taken is not reported: the owner then stays unset.
    void Lock() override
    {
        try {
            m_oMutex.lock();
            SetLockOwner();
        } catch (const boost::interprocess::interprocess_exception&) {
        }
    }

    // Clears the owner on every release, also when the thread keeps levels.
    void Unlock() override
    {
        ClearLockOwner();
        m_oMutex.unlock();
    }

private:
    boost::interprocess::interprocess_recursive_mutex m_oMutex;
};
