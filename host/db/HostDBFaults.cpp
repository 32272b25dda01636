#include <atomic>
#include <deque>
#include <map>
#include <mutex>

#include "host/db/DBtable.h"

namespace {

struct PendingFault {
    int skip;
    int code;
};

std::mutex g_faultMutex;
std::map<std::string, std::deque<PendingFault>> g_faults;
// Faults armed and not yet taken: while there is none, a check reads
// nothing else.
std::atomic<size_t> g_armed{0};

}  // namespace

void HostDBFaults::failNext(const std::string& call, int code, int skip)
{
    std::lock_guard<std::mutex> guard(g_faultMutex);
    g_faults[call].push_back(PendingFault{skip < 0 ? 0 : skip, code});
    g_armed.fetch_add(1, std::memory_order_release);
}

void HostDBFaults::clear()
{
    std::lock_guard<std::mutex> guard(g_faultMutex);
    g_faults.clear();
    g_armed.store(0, std::memory_order_release);
}

bool HostDBFaults::pending(const std::string& call)
{
    std::lock_guard<std::mutex> guard(g_faultMutex);
    auto it = g_faults.find(call);
    return it != g_faults.end() && !it->second.empty();
}

int HostDBFaults::check(const char* call)
{
    if (g_armed.load(std::memory_order_acquire) == 0) return 0;
    std::lock_guard<std::mutex> guard(g_faultMutex);
    auto it = g_faults.find(call);
    if (it == g_faults.end() || it->second.empty()) return 0;
    PendingFault& next = it->second.front();
    if (next.skip > 0) {
        --next.skip;
        return 0;
    }
    int code = next.code;
    it->second.pop_front();
    g_armed.fetch_sub(1, std::memory_order_release);
    return code;
}
