// Journals the stand-ins keep of what they were asked (debug log entries,
// buffers handed back, device-layer calls) so that tests can read them back.
// A journal keeps nothing unless journals were switched on: a host that never
// switches them on keeps nothing, however long it runs.
#pragma once

#include <mutex>
#include <utility>
#include <vector>

class HostJournals {
public:
    // Switches every journal of the process on or off; off at start. What
    // was kept stays until its journal is cleared.
    static void keep(bool on);
    static bool kept();
};

// One journal: its entries in the order they were added, while journals are on.
template <typename T>
class HostJournal {
public:
    void add(T entry)
    {
        if (!HostJournals::kept()) return;
        std::lock_guard<std::mutex> guard(m_mutex);
        m_entries.push_back(std::move(entry));
    }

    std::vector<T> entries() const
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        return m_entries;
    }

    void clear()
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_entries.clear();
    }

    // Held by the thread that forks, from before the fork until after it in
    // both processes, so that the child never finds it held by a thread it
    // does not have.
    void holdForFork() const { m_mutex.lock(); }
    void releaseAfterFork() const { m_mutex.unlock(); }

private:
    mutable std::mutex m_mutex;
    std::vector<T> m_entries;
};
