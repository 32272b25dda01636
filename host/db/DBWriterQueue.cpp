#include "host/db/DBWriterQueue.h"

#include <algorithm>
#include <map>

std::shared_ptr<DBWriterQueue> DBWriterQueue::of(const std::string& path)
{
    static std::mutex mutex;
    static std::map<std::string, std::weak_ptr<DBWriterQueue>> queues;
    std::lock_guard<std::mutex> guard(mutex);
    std::shared_ptr<DBWriterQueue> queue = queues[path].lock();
    if (!queue) {
        // Forget the queues of files no connection uses any more.
        for (auto it = queues.begin(); it != queues.end();)
            it = it->second.expired() ? queues.erase(it) : std::next(it);
        queue = std::make_shared<DBWriterQueue>();
        queues[path] = queue;
    }
    return queue;
}

bool DBWriterQueue::enter(std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_held && m_waiters.empty()) {
        m_held = true;
        return true;
    }
    Waiter me;
    m_waiters.push_back(&me);
    if (me.wake.wait_for(lock, timeout, [&me] { return me.granted; })) return true;
    m_waiters.erase(std::find(m_waiters.begin(), m_waiters.end(), &me));
    return false;
}

void DBWriterQueue::leave()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    if (m_waiters.empty()) {
        m_held = false;
        return;
    }
    // The turn passes straight to the first waiter: no one arriving later
    // can take it in between.
    Waiter* next = m_waiters.front();
    m_waiters.pop_front();
    next->granted = true;
    next->wake.notify_one();
}

size_t DBWriterQueue::waiting()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_waiters.size();
}
