// The holder of a robust mutex looked up by the thread id in the mutex's
// word (the kernel's robust-futex protocol: the id in its low 30 bits).
#include "host/db/DBRobustMutex.h"

#include "host/db/DBProcStat.h"

bool dbRobustMutexHolderStopped(const pthread_mutex_t& mutex)
{
    const int word = __atomic_load_n(&mutex.__data.__lock, __ATOMIC_RELAXED);
    const pid_t holder = static_cast<pid_t>(static_cast<unsigned>(word) & 0x3fffffffU);
    char state = 0;
    uint64_t started = 0;
    return holder > 0 && dbReadProcStat(holder, state, started) && (state == 'T' || state == 't');
}
