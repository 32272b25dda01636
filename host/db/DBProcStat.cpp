// Reads /proc/<id>/stat: the state after the name in parentheses, then the
// start time 19 fields on.
#include "host/db/DBProcStat.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

bool dbReadProcStat(pid_t id, char& state, uint64_t& started)
{
    char name[64];
    std::snprintf(name, sizeof name, "/proc/%d/stat", static_cast<int>(id));
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
