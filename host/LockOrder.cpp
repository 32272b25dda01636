// The check of the lock order: a list per thread of the locks it holds.
#include "host/LockOrder.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace lock_order {
namespace {

struct Held {
    int rank;
    std::string name;
    int levels;
};

bool initialChecking()
{
#ifndef NDEBUG
    return true;
#else
    const char* env = std::getenv("REPLMGR_LOCK_ORDER_CHECK");
    return env != nullptr && std::strcmp(env, "1") == 0;
#endif
}

std::atomic<bool>& checkingFlag()
{
    static std::atomic<bool> flag{initialChecking()};
    return flag;
}

std::vector<Held>& heldByThread()
{
    thread_local std::vector<Held> held;
    return held;
}

}  // namespace

bool checking()
{
    return checkingFlag().load(std::memory_order_relaxed);
}

void setChecking(bool on)
{
    checkingFlag().store(on, std::memory_order_relaxed);
}

void taking(int rank, const char* name)
{
    if (!checking()) return;
    for (const Held& h : heldByThread()) {
        if (h.rank == rank && h.name == name) return;  // taken again: the thread holds it already
    }
    for (const Held& h : heldByThread()) {
        if (h.rank >= rank) {
            std::fprintf(stderr,
                         "Lock order violated: taking \"%s\" while holding \"%s\"; \"%s\" must be taken first\n",
                         name, h.name.c_str(), name);
            std::fflush(stderr);
            std::abort();
        }
    }
}

void taken(int rank, const char* name)
{
    if (!checking()) return;
    for (Held& h : heldByThread()) {
        if (h.rank == rank && h.name == name) {
            ++h.levels;
            return;
        }
    }
    heldByThread().push_back(Held{rank, name, 1});
}

void released(int rank, const char* name)
{
    std::vector<Held>& held = heldByThread();
    for (auto it = held.begin(); it != held.end(); ++it) {
        if (it->rank == rank && it->name == name) {
            if (--it->levels == 0) held.erase(it);
            return;
        }
    }
}

int heldLevels()
{
    int levels = 0;
    for (const Held& h : heldByThread()) levels += h.levels;
    return levels;
}

}  // namespace lock_order
