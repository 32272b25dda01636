// Reads /proc/<id>/stat: the state after the name in parentheses, then the
// start time 19 fields on.
#include "host/db/DBProcStat.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool readStat(const char* name, char& state, uint64_t& started)
{
    const int fd = open(name, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char text[1024];
    const ssize_t n = read(fd, text, sizeof text - 1);
    const int error = errno;
    close(fd);
    errno = error;
    if (n < 0) return false;
    errno = EINVAL;  // from here on: what it says cannot be read
    if (n == 0) return false;
    text[n] = '\0';
    // After the name in parentheses: the state (field 3), ..., the start
    // time (field 22).
    const char* p = std::strrchr(text, ')');
    if (p == nullptr || p[1] != ' ') return false;
    p += 2;
    state = *p;
    for (int field = 3; field < 22 && p != nullptr; ++field) {
        p = std::strchr(p, ' ');
        if (p != nullptr) ++p;
    }
    if (p == nullptr) return false;
    started = std::strtoull(p, nullptr, 10);
    return true;
}

}  // namespace

bool dbReadProcStat(pid_t id, char& state, uint64_t& started)
{
    char name[64];
    std::snprintf(name, sizeof name, "/proc/%d/stat", static_cast<int>(id));
    return readStat(name, state, started);
}

bool dbReadThreadStat(pid_t pid, pid_t thread, char& state, uint64_t& started)
{
    char name[96];
    std::snprintf(name, sizeof name, "/proc/%d/task/%d/stat", static_cast<int>(pid), static_cast<int>(thread));
    return readStat(name, state, started);
}

uint64_t dbThisProcessStarted()
{
    // The start time is stored before the pid it is of, and read after it:
    // whoever stores them for one pid stores the same value.
    static std::atomic<pid_t> knownPid{0};
    static std::atomic<uint64_t> knownStarted{0};
    const pid_t pid = getpid();
    if (knownPid.load(std::memory_order_acquire) == pid) return knownStarted.load(std::memory_order_relaxed);
    char state = 0;
    uint64_t started = 0;
    if (!dbReadProcStat(pid, state, started)) started = 0;
    knownStarted.store(started, std::memory_order_relaxed);
    knownPid.store(pid, std::memory_order_release);
    return started;
}
