#include "service/Sync.h"

// ---------------------------------------------------------------------------
// FXNamedMutex

FXNamedMutex::FXNamedMutex(const std::string& name) : FXLockableResource(), m_oMutex(name.c_str()) {}

FXNamedMutex::~FXNamedMutex() {}

bool FXNamedMutex::TryLock()
{
    bool locked = m_oMutex.lock(1);
    if (locked) SetLockOwner();
    return locked;
}

bool FXNamedMutex::TryLock(CTimeInterval interval)
{
    // A negative span is no wait at all, not an endless one.
    long long ms = interval.AsMilliseconds();
    bool locked = m_oMutex.lock(ms > 0 ? static_cast<unsigned long>(ms) : 0UL);
    if (locked) SetLockOwner();
    return locked;
}

void FXNamedMutex::Lock()
{
    m_oMutex.lock();
    SetLockOwner();
}

void FXNamedMutex::Unlock()
{
    if (m_oMutex.getLockCnt() == 1) ClearLockOwner();
    m_oMutex.unlock();
}

// ---------------------------------------------------------------------------
// ZxCriticalSection

ZxCriticalSection::ZxCriticalSection() : m_pCS(new ZxCriticalSectionH()) {}

ZxCriticalSection::~ZxCriticalSection()
{
    delete m_pCS;
    m_pCS = nullptr;
}

bool ZxCriticalSection::enter(bool wait)
{
    return m_pCS->enter(wait);
}

void ZxCriticalSection::leave()
{
    m_pCS->leave();
}

ZxCriticalSectionLock::ZxCriticalSectionLock(ZxCriticalSection* cs) : m_pCS(cs)
{
    if (m_pCS) m_pCS->enter(true);
}

ZxCriticalSectionLock::~ZxCriticalSectionLock()
{
    if (m_pCS) m_pCS->leave();
}

// ---------------------------------------------------------------------------
// ZxSemaphore

ZxSemaphore::ZxSemaphore(int count) : m_pSem(new ZxSemaphoreH(count)) {}

ZxSemaphore::~ZxSemaphore()
{
    delete m_pSem;
}

void ZxSemaphore::wait()
{
    m_pSem->wait();
}

bool ZxSemaphore::release(int n)
{
    return m_pSem->release(n);
}
