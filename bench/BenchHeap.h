// Heap accounting of the benchmarks: the bytes that the C++ heap and the reply
// arrays hold, counted while a measurement runs. Include this header in
// exactly one source of an executable: it replaces the global operator new
// and delete of that executable (uncounted they cost one flag test).
#pragma once

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "service/Utils.h"

namespace bench {

class HeapCount {
public:
    // The most bytes that what run() allocated held at once (C++ heap and
    // reply arrays, as malloc sizes them), beyond what was held when it
    // started. Allocations of other threads meanwhile count too.
    template <typename Run>
    static long long peakOf(Run&& run)
    {
        s_current.store(0, std::memory_order_relaxed);
        s_peak.store(0, std::memory_order_relaxed);
        const ReplyArrayAllocator before = AllocReplyArray;
        AllocReplyArray = &countedReplyArray;
        s_on.store(true, std::memory_order_release);
        run();
        s_on.store(false, std::memory_order_release);
        AllocReplyArray = before;
        return s_peak.load(std::memory_order_relaxed);
    }

    static bool on() { return s_on.load(std::memory_order_relaxed); }
    static void add(long long bytes)
    {
        const long long now = s_current.fetch_add(bytes, std::memory_order_relaxed) + bytes;
        long long peak = s_peak.load(std::memory_order_relaxed);
        while (now > peak && !s_peak.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
        }
    }

private:
    // A reply array is freed with free, uncounted: it lives until the reply
    // went out, after the peak.
    static void* countedReplyArray(size_t bytes)
    {
        void* p = std::malloc(bytes);
        if (p != nullptr) add(static_cast<long long>(malloc_usable_size(p)));
        return p;
    }

    static inline std::atomic<bool> s_on{false};
    static inline std::atomic<long long> s_current{0};
    static inline std::atomic<long long> s_peak{0};
};

inline void* countedNew(size_t bytes)
{
    void* p = std::malloc(bytes != 0 ? bytes : 1);
    if (p == nullptr) throw std::bad_alloc();
    if (HeapCount::on()) HeapCount::add(static_cast<long long>(malloc_usable_size(p)));
    return p;
}

inline void countedDelete(void* p) noexcept
{
    if (p == nullptr) return;
    if (HeapCount::on()) HeapCount::add(-static_cast<long long>(malloc_usable_size(p)));
    std::free(p);
}

}  // namespace bench

void* operator new(size_t bytes) { return bench::countedNew(bytes); }
void* operator new[](size_t bytes) { return bench::countedNew(bytes); }
void* operator new(size_t bytes, const std::nothrow_t&) noexcept
{
    try {
        return bench::countedNew(bytes);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](size_t bytes, const std::nothrow_t&) noexcept
{
    try {
        return bench::countedNew(bytes);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* p) noexcept { bench::countedDelete(p); }
void operator delete[](void* p) noexcept { bench::countedDelete(p); }
void operator delete(void* p, size_t) noexcept { bench::countedDelete(p); }
void operator delete[](void* p, size_t) noexcept { bench::countedDelete(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { bench::countedDelete(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { bench::countedDelete(p); }
