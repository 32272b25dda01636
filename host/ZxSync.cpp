#include "host/ZxSync.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

// ---------------------------------------------------------------------------
// Named mutexes

// The shared state of one name. Guarded by the registry mutex.
struct ZxNamedMutex::Entry {
    std::thread::id owner;  // default id when free
    int levels = 0;         // levels held by the owner over all objects
    std::condition_variable released;
};

namespace {

std::mutex& registryMutex()
{
    static std::mutex m;
    return m;
}

// Name -> entry; an entry lives while an object of its name exists.
std::map<std::string, std::weak_ptr<ZxNamedMutex::Entry>>& registry()
{
    static std::map<std::string, std::weak_ptr<ZxNamedMutex::Entry>> r;
    return r;
}

std::atomic<double> g_waitScale{1.0};

std::mutex g_observerMutex;
std::shared_ptr<const ZxNamedMutex::Observer> g_observer;

// Tells the observer, if there is one, that the calling thread took or gave
// back the mutex of the name. Called with no lock held.
void notifyObserver(const std::string& name, bool held)
{
    std::shared_ptr<const ZxNamedMutex::Observer> observer;
    {
        std::lock_guard<std::mutex> guard(g_observerMutex);
        observer = g_observer;
    }
    if (observer) (*observer)(name, held);
}

// Waits longer than this are treated as waits without limit.
const double kMaxWaitMs = 1e12;

}  // namespace

void ZxNamedMutex::setWaitScale(double factor)
{
    g_waitScale.store(factor > 0.0 ? factor : 0.0);
}

double ZxNamedMutex::waitScale()
{
    return g_waitScale.load();
}

void ZxNamedMutex::setObserver(Observer observer)
{
    std::lock_guard<std::mutex> guard(g_observerMutex);
    g_observer = observer ? std::make_shared<const Observer>(std::move(observer)) : nullptr;
}

ZxNamedMutex::ZxNamedMutex(const char* name) : m_sName(name ? name : ""), m_nLockCnt(0)
{
    std::lock_guard<std::mutex> guard(registryMutex());
    auto& reg = registry();
    std::weak_ptr<Entry>& slot = reg[m_sName];
    m_pEntry = slot.lock();
    if (!m_pEntry) {
        m_pEntry = std::make_shared<Entry>();
        slot = m_pEntry;
    }
    // Forget names that no object refers to any more.
    for (auto it = reg.begin(); it != reg.end();) {
        if (it->second.expired())
            it = reg.erase(it);
        else
            ++it;
    }
}

ZxNamedMutex::~ZxNamedMutex()
{
    bool released = false;
    {
        std::lock_guard<std::mutex> guard(registryMutex());
        // A mutex abandoned with levels held is released so that the other
        // holders of the name are not locked out for good.
        if (m_nLockCnt > 0) {
            m_pEntry->levels -= m_nLockCnt;
            if (m_pEntry->levels <= 0) {
                m_pEntry->levels = 0;
                m_pEntry->owner = std::thread::id();
                m_pEntry->released.notify_all();
                released = true;
            }
            m_nLockCnt = 0;
        }
        m_pEntry.reset();
    }
    if (released) notifyObserver(m_sName, false);
}

bool ZxNamedMutex::acquire(bool timed, unsigned long milliseconds)
{
    const std::thread::id self = std::this_thread::get_id();
    std::unique_lock<std::mutex> guard(registryMutex());
    Entry& e = *m_pEntry;

    auto isFree = [&e, self] { return e.levels == 0 || e.owner == self; };

    if (!isFree()) {
        const double waitMs = static_cast<double>(milliseconds) * g_waitScale.load();
        if (timed && waitMs < kMaxWaitMs) {
            const auto deadline = std::chrono::steady_clock::now() +
                                  std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                      std::chrono::duration<double, std::milli>(waitMs));
            if (!e.released.wait_until(guard, deadline, isFree)) return false;
        } else {
            e.released.wait(guard, isFree);
        }
    }
    e.owner = self;
    const bool taken = ++e.levels == 1;
    ++m_nLockCnt;
    guard.unlock();
    if (taken) notifyObserver(m_sName, true);
    return true;
}

bool ZxNamedMutex::lock(unsigned long milliseconds)
{
    return acquire(true, milliseconds);
}

bool ZxNamedMutex::lock()
{
    return acquire(false, 0);
}

bool ZxNamedMutex::unlock()
{
    bool released = false;
    {
        std::lock_guard<std::mutex> guard(registryMutex());
        Entry& e = *m_pEntry;
        if (m_nLockCnt <= 0 || e.owner != std::this_thread::get_id()) return false;
        --m_nLockCnt;
        if (--e.levels == 0) {
            e.owner = std::thread::id();
            e.released.notify_all();
            released = true;
        }
    }
    if (released) notifyObserver(m_sName, false);
    return true;
}

// ---------------------------------------------------------------------------
// Critical sections

struct ZxCriticalSectionH::Impl {
    std::recursive_mutex mutex;
};

ZxCriticalSectionH::ZxCriticalSectionH() : m_pImpl(new Impl) {}

ZxCriticalSectionH::~ZxCriticalSectionH() = default;

bool ZxCriticalSectionH::enter(bool wait)
{
    if (wait) {
        m_pImpl->mutex.lock();
        return true;
    }
    return m_pImpl->mutex.try_lock();
}

void ZxCriticalSectionH::leave()
{
    m_pImpl->mutex.unlock();
}

// ---------------------------------------------------------------------------
// Semaphores

struct ZxSemaphoreH::Impl {
    mutable std::mutex mutex;
    std::condition_variable available;
    int count = 0;
};

ZxSemaphoreH::ZxSemaphoreH(int count) : m_pImpl(new Impl)
{
    m_pImpl->count = count;
}

ZxSemaphoreH::~ZxSemaphoreH() = default;

void ZxSemaphoreH::wait()
{
    std::unique_lock<std::mutex> guard(m_pImpl->mutex);
    m_pImpl->available.wait(guard, [this] { return m_pImpl->count > 0; });
    --m_pImpl->count;
}

bool ZxSemaphoreH::release(int n)
{
    if (n <= 0) return false;
    {
        std::lock_guard<std::mutex> guard(m_pImpl->mutex);
        m_pImpl->count += n;
    }
    m_pImpl->available.notify_all();
    return true;
}

int ZxSemaphoreH::count() const
{
    std::lock_guard<std::mutex> guard(m_pImpl->mutex);
    return m_pImpl->count;
}
