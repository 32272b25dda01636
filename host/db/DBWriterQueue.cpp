#include "host/db/DBWriterQueue.h"

#include <algorithm>
#include <thread>

#include "host/db/DBPerFile.h"

std::shared_ptr<DBWriterQueue> DBWriterQueue::of(const std::string& path)
{
    return DBPerFile<DBWriterQueue>::of(path, [] { return std::make_shared<DBWriterQueue>(); });
}

namespace {
// How long the first waiter polls for its turn before it sleeps. A sleeping
// thread woken on a turn first has to be scheduled again, which on an idle
// processor can take longer than a short transaction; the first in line is
// woken early (when the thread before it gets its turn) and polls instead.
const std::chrono::microseconds kPollFor(2000);
}  // namespace

bool DBWriterQueue::enter(std::chrono::milliseconds timeout, const std::atomic<bool>* giveUp)
{
    const auto given = [giveUp] { return giveUp != nullptr && giveUp->load(std::memory_order_acquire); };
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_held && m_waiters.empty()) {
        m_held = true;
        return true;
    }
    Waiter me;
    m_waiters.push_back(&me);
    while (!me.granted) {
        if (m_waiters.front() == &me) {
            lock.unlock();
            const auto pollUntil = std::min(deadline, std::chrono::steady_clock::now() + kPollFor);
            while (!me.granted.load(std::memory_order_acquire) && std::chrono::steady_clock::now() < pollUntil &&
                   !given())
                std::this_thread::yield();
            lock.lock();
            if (me.granted) break;
        }
        // Checked under m_mutex, which wakeAll takes: a flag set before it
        // is seen here or wakes the wait below.
        const bool gaveUp = given() || me.wake.wait_until(lock, deadline) == std::cv_status::timeout || given();
        if (gaveUp && !me.granted) {
            m_waiters.erase(std::find(m_waiters.begin(), m_waiters.end(), &me));
            // The one now first may poll.
            if (!m_waiters.empty()) m_waiters.front()->wake.notify_one();
            return false;
        }
    }
    return true;
}

void DBWriterQueue::leave()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    if (m_waiters.empty()) {
        m_held = false;
        return;
    }
    // The turn passes straight to the first waiter: no one arriving later
    // can take it in between. The one behind it wakes to poll for the next.
    Waiter* next = m_waiters.front();
    m_waiters.pop_front();
    next->granted.store(true, std::memory_order_release);
    next->wake.notify_one();
    if (!m_waiters.empty()) m_waiters.front()->wake.notify_one();
}

void DBWriterQueue::wakeAll()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    for (Waiter* waiter : m_waiters) waiter->wake.notify_one();
}

size_t DBWriterQueue::waiting()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_waiters.size();
}
