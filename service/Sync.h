// Locks, time spans, critical sections and semaphores.
//
// FXLockableResource, FXCriticalSection, CTimeInterval and the two platform
// functions are defined entirely in this header: the database access library
// of the host holds an FXCriticalSection and must not depend on symbols of
// the replication manager.
#pragma once

#include <pthread.h>

#include <cerrno>
#include <string>

#include <boost/date_time/posix_time/posix_time_types.hpp>
#include <boost/interprocess/exceptions.hpp>
#include <boost/interprocess/sync/interprocess_recursive_mutex.hpp>

#include "host/ZxSync.h"

// The calling thread's id as pthread_self() gives it.
inline unsigned long GetCurrentThreadId()
{
    return static_cast<unsigned long>(pthread_self());
}

// The calling thread's last error number.
inline int GetLastError()
{
    return errno;
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

// A lock over the host's named mutex: every object of one name shares it.
class FXNamedMutex : public FXLockableResource {
public:
    explicit FXNamedMutex(const std::string& name);
    // Destroys the host mutex object without unlocking it first.
    ~FXNamedMutex() override;

    // Waits at most 1 ms.
    bool TryLock() override;
    bool TryLock(CTimeInterval interval) override;
    // Waits without limit.
    void Lock() override;
    void Unlock() override;

    // Levels held through this object.
    int GetLockCnt() const { return m_oMutex.getLockCnt(); }

private:
    ZxNamedMutex m_oMutex;
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

// An in-process critical section owned on the heap.
class ZxCriticalSection {
public:
    ZxCriticalSection();
    ~ZxCriticalSection();
    ZxCriticalSection(const ZxCriticalSection&) = delete;
    ZxCriticalSection& operator=(const ZxCriticalSection&) = delete;

    bool enter(bool wait);
    void leave();

private:
    ZxCriticalSectionH* m_pCS;
};

// Holds a critical section for the life of the guard; a null section is
// neither entered nor left.
class ZxCriticalSectionLock {
public:
    explicit ZxCriticalSectionLock(ZxCriticalSection* cs);
    ~ZxCriticalSectionLock();
    ZxCriticalSectionLock(const ZxCriticalSectionLock&) = delete;
    ZxCriticalSectionLock& operator=(const ZxCriticalSectionLock&) = delete;

private:
    ZxCriticalSection* m_pCS;
};

// A counting semaphore owned on the heap.
class ZxSemaphore {
public:
    explicit ZxSemaphore(int count);
    ~ZxSemaphore();
    ZxSemaphore(const ZxSemaphore&) = delete;
    ZxSemaphore& operator=(const ZxSemaphore&) = delete;

    void wait();
    bool release(int n);

private:
    ZxSemaphoreH* m_pSem;
};
