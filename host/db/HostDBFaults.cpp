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

}  // namespace

void HostDBFaults::failNext(const std::string& call, int code, int skip)
{
    std::lock_guard<std::mutex> guard(g_faultMutex);
    g_faults[call].push_back(PendingFault{skip < 0 ? 0 : skip, code});
}

void HostDBFaults::clear()
{
    std::lock_guard<std::mutex> guard(g_faultMutex);
    g_faults.clear();
}

int HostDBFaults::check(const char* call)
{
    std::lock_guard<std::mutex> guard(g_faultMutex);
    if (g_faults.empty()) return 0;
    auto it = g_faults.find(call);
    if (it == g_faults.end() || it->second.empty()) return 0;
    PendingFault& next = it->second.front();
    if (next.skip > 0) {
        --next.skip;
        return 0;
    }
    int code = next.code;
    it->second.pop_front();
    return code;
}
