// Named mutexes seen from other threads, for the tests of table locks:
// whether a lock is free, and a lock held elsewhere for a scope.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

#include "service/Sync.h"

// Whether nobody holds the named mutex: taken and given back from a thread
// of its own.
inline bool NamedMutexIsFree(const char* name)
{
    bool free = false;
    std::thread([&free, name] {
        FXNamedMutex mutex(name);
        free = mutex.TryLock();
        if (free) mutex.Unlock();
    }).join();
    return free;
}

// Holds the named mutex from a thread of its own from construction (which
// returns once it is held) to destruction.
class NamedMutexHeldElsewhere {
public:
    explicit NamedMutexHeldElsewhere(const char* name)
        : m_holder([this, name] {
              FXNamedMutex mutex(name);
              mutex.Lock();
              std::unique_lock<std::mutex> guard(m_mutex);
              m_held = true;
              m_changed.notify_all();
              m_changed.wait(guard, [this] { return m_release; });
              mutex.Unlock();
          })
    {
        std::unique_lock<std::mutex> guard(m_mutex);
        m_changed.wait(guard, [this] { return m_held; });
    }
    ~NamedMutexHeldElsewhere()
    {
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            m_release = true;
        }
        m_changed.notify_all();
        m_holder.join();
    }
    NamedMutexHeldElsewhere(const NamedMutexHeldElsewhere&) = delete;
    NamedMutexHeldElsewhere& operator=(const NamedMutexHeldElsewhere&) = delete;

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_held = false;
    bool m_release = false;
    std::thread m_holder;  // last: started once the members above exist
};
