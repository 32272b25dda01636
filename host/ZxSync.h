// Host synchronisation primitives: named mutexes, critical sections and
// counting semaphores.
#pragma once

#include <functional>
#include <memory>
#include <string>

// A mutex known by its name. Every object built with one name refers to the
// same process-wide mutex, so two objects of one name exclude each other.
// The mutex is owned by a thread and is recursive for that thread, whichever
// object of the name it locks through.
class ZxNamedMutex {
public:
    explicit ZxNamedMutex(const char* name);
    // Releases the levels that this object still holds.
    ~ZxNamedMutex();
    ZxNamedMutex(const ZxNamedMutex&) = delete;
    ZxNamedMutex& operator=(const ZxNamedMutex&) = delete;

    // Waits at most the given number of milliseconds; true when acquired.
    bool lock(unsigned long milliseconds);
    // Waits without limit.
    bool lock();
    // Releases one level held through this object; false when the calling
    // thread holds none through it.
    bool unlock();

    // Levels held through this object.
    int getLockCnt() const { return m_nLockCnt; }
    const std::string& name() const { return m_sName; }

    // Scales every timed wait by the factor (1.0 by default). For tests.
    static void setWaitScale(double factor);
    static double waitScale();

    // For tests: called with the name and true on the thread that has just
    // taken a mutex (its first level), with false as it gives the last level
    // back; called outside the stand-in's own locks, so it may block the
    // thread. An empty observer (the default) is not called.
    using Observer = std::function<void(const std::string& name, bool held)>;
    static void setObserver(Observer observer);

    struct Entry;

private:
    bool acquire(bool timed, unsigned long milliseconds);

    std::string m_sName;
    std::shared_ptr<Entry> m_pEntry;
    int m_nLockCnt;
};

// An in-process critical section, recursive for the thread that holds it.
class ZxCriticalSectionH {
public:
    ZxCriticalSectionH();
    ~ZxCriticalSectionH();
    ZxCriticalSectionH(const ZxCriticalSectionH&) = delete;
    ZxCriticalSectionH& operator=(const ZxCriticalSectionH&) = delete;

    // With wait true, returns once the calling thread holds the section.
    // With wait false, only tries; true when the section was entered.
    bool enter(bool wait);
    void leave();

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};

// A counting semaphore.
class ZxSemaphoreH {
public:
    explicit ZxSemaphoreH(int count);
    ~ZxSemaphoreH();
    ZxSemaphoreH(const ZxSemaphoreH&) = delete;
    ZxSemaphoreH& operator=(const ZxSemaphoreH&) = delete;

    // Waits until the count is positive, then decrements it.
    void wait();
    // Adds n to the count; n not positive changes nothing and gives false.
    bool release(int n);
    int count() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};
