// What /proc says of a process or a thread of this machine (internal to
// host/db): whether it runs, is stopped or ended, and when it started.
#pragma once

#include <sys/types.h>

#include <cstdint>

// The state letter (field 3 of /proc/<id>/stat: 'R', 'S', 'T' stopped, 't'
// stopped by a debugger, 'Z' zombie, ...) and the start time (field 22, in
// clock ticks after boot) of the process or thread `id`; false with errno
// ENOENT or ESRCH when it is gone, another errno when what /proc says cannot
// be read.
bool dbReadProcStat(pid_t id, char& state, uint64_t& started);
// The same of thread `thread` of process `pid` (/proc/<pid>/task/<thread>),
// false as well when the thread is not one of that process's.
bool dbReadThreadStat(pid_t pid, pid_t thread, char& state, uint64_t& started);
// The start time of the calling process, in clock ticks after boot; 0 when
// /proc cannot tell. Read once per process (a child of fork reads its own),
// without a lock.
uint64_t dbThisProcessStarted();
