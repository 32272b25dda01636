// Locks, time spans, critical sections and semaphores of the replication
// manager: the named-mutex lock of the table locks, the heap-owned critical
// section with its guard and the semaphore, on the host's primitives. The
// lock base, the recursive lock and the time span are the host's
// (host/FxLock.h).
#pragma once

#include <cerrno>
#include <string>

#include "host/FxLock.h"
#include "host/ZxSync.h"

// The calling thread's last error number.
inline int GetLastError()
{
    return errno;
}

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
    const std::string& name() const { return m_oMutex.name(); }

private:
    ZxNamedMutex m_oMutex;
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
