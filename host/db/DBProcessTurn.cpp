// The queue of the processes writing one catalogue file: a ticket queue in a
// mapped side file, guarded by a robust process-shared mutex.
#include "host/db/DBProcessTurn.h"

#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>

#include "host/db/DBtable.h"

namespace {

const char kSourceFile[] = "DBProcessTurn";
const uint32_t kMagic = 0x52504d57;  // marks a side file set up in full
// Tickets waiting at once: one per process at most.
const size_t kSlots = 256;
// How often a waiter looks whether the holder still lives.
const std::chrono::milliseconds kLivenessCheck(100);

bool alive(pid_t pid)
{
    return pid > 0 && (kill(pid, 0) == 0 || errno != ESRCH);
}

}  // namespace

struct DBProcessTurn::Shared {
    uint32_t magic;
    pthread_mutex_t mutex;
    pthread_cond_t turnPassed;
    uint64_t next;     // the ticket the next waiter draws
    uint64_t serving;  // the ticket whose turn it is
    pid_t holder;      // the process holding the turn, 0 when free
    struct Slot {
        pid_t pid;       // the process that drew the ticket
        int32_t gaveUp;  // it stopped waiting
    } slots[kSlots];
};

namespace {

// Holds the side file's mutex; a holder that died with it is forgotten (the
// queue's fields are always left consistent between two statements).
class SharedLock {
public:
    explicit SharedLock(DBProcessTurn::Shared& shared) : m_mutex(shared.mutex)
    {
        if (pthread_mutex_lock(&m_mutex) == EOWNERDEAD) pthread_mutex_consistent(&m_mutex);
    }
    ~SharedLock() { pthread_mutex_unlock(&m_mutex); }
    SharedLock(const SharedLock&) = delete;
    SharedLock& operator=(const SharedLock&) = delete;

    // Waits for a broadcast until the deadline (a CLOCK_MONOTONIC time).
    void waitUntil(pthread_cond_t& cond, const timespec& deadline)
    {
        if (pthread_cond_timedwait(&cond, &m_mutex, &deadline) == EOWNERDEAD) pthread_mutex_consistent(&m_mutex);
    }

private:
    pthread_mutex_t& m_mutex;
};

timespec monotonicIn(std::chrono::nanoseconds span)
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const long long ns = now.tv_nsec + span.count();
    now.tv_sec += static_cast<time_t>(ns / 1000000000LL);
    now.tv_nsec = static_cast<long>(ns % 1000000000LL);
    return now;
}

// Passes over the tickets of processes that gave up or ended, while the turn
// is free and the ticket being served is not the caller's.
void passOverAbsent(DBProcessTurn::Shared& s, uint64_t mine)
{
    while (s.holder == 0 && s.serving < s.next && s.serving != mine) {
        const auto& slot = s.slots[s.serving % kSlots];
        if (!slot.gaveUp && alive(slot.pid)) break;
        ++s.serving;
    }
}

bool setUp(DBProcessTurn::Shared& s)
{
    pthread_mutexattr_t ma;
    pthread_condattr_t ca;
    if (pthread_mutexattr_init(&ma) != 0) return false;
    pthread_mutexattr_setpshared(&ma, PTHREAD_PROCESS_SHARED);
    pthread_mutexattr_setrobust(&ma, PTHREAD_MUTEX_ROBUST);
    const int m = pthread_mutex_init(&s.mutex, &ma);
    pthread_mutexattr_destroy(&ma);
    if (m != 0 || pthread_condattr_init(&ca) != 0) return false;
    pthread_condattr_setpshared(&ca, PTHREAD_PROCESS_SHARED);
    pthread_condattr_setclock(&ca, CLOCK_MONOTONIC);
    const int c = pthread_cond_init(&s.turnPassed, &ca);
    pthread_condattr_destroy(&ca);
    if (c != 0) return false;
    s.next = s.serving = 0;
    s.holder = 0;
    std::memset(s.slots, 0, sizeof s.slots);
    __atomic_store_n(&s.magic, kMagic, __ATOMIC_RELEASE);
    return true;
}

// Maps the side file, setting it up when it is new; null (logged) when it
// cannot be used.
DBProcessTurn::Shared* mapSideFile(const std::string& file)
{
    const int fd = open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        log_error(kSourceFile, __LINE__, "Cannot open %s: %s", file.c_str(), std::strerror(errno));
        return nullptr;
    }
    const size_t size = sizeof(DBProcessTurn::Shared);
    void* mapped = MAP_FAILED;
    // The first process to lock the file sets it up; the others wait.
    if (flock(fd, LOCK_EX) == 0) {
        struct stat st;
        bool ready = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink == 1;
        if (ready && static_cast<size_t>(st.st_size) < size) ready = ftruncate(fd, static_cast<off_t>(size)) == 0;
        if (ready) mapped = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (mapped != MAP_FAILED) {
            auto* shared = static_cast<DBProcessTurn::Shared*>(mapped);
            if (__atomic_load_n(&shared->magic, __ATOMIC_ACQUIRE) != kMagic && !setUp(*shared)) {
                munmap(mapped, size);
                mapped = MAP_FAILED;
            }
        }
        flock(fd, LOCK_UN);
    }
    const int error = errno;
    close(fd);
    if (mapped == MAP_FAILED) {
        log_error(kSourceFile, __LINE__, "Cannot use %s as the writers' queue: %s", file.c_str(), std::strerror(error));
        return nullptr;
    }
    return static_cast<DBProcessTurn::Shared*>(mapped);
}

}  // namespace

std::string DBProcessTurn::sideFile(const std::string& path)
{
    return path + "-writers";
}

std::shared_ptr<DBProcessTurn> DBProcessTurn::of(const std::string& path)
{
    static std::mutex mutex;
    static std::map<std::string, std::weak_ptr<DBProcessTurn>> turns;
    std::lock_guard<std::mutex> guard(mutex);
    std::shared_ptr<DBProcessTurn> turn = turns[path].lock();
    if (turn) return turn;
    for (auto it = turns.begin(); it != turns.end();) it = it->second.expired() ? turns.erase(it) : std::next(it);
    Shared* shared = mapSideFile(sideFile(path));
    if (shared == nullptr) return nullptr;
    turn.reset(new DBProcessTurn(shared));
    turns[path] = turn;
    return turn;
}

DBProcessTurn::~DBProcessTurn()
{
    munmap(m_shared, sizeof(Shared));
}

bool DBProcessTurn::enter(std::chrono::milliseconds timeout)
{
    Shared& s = *m_shared;
    const pid_t self = getpid();
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    SharedLock lock(s);
    const uint64_t mine = s.next++;
    s.slots[mine % kSlots] = Shared::Slot{self, 0};
    for (;;) {
        passOverAbsent(s, mine);
        if (s.holder == 0 && s.serving == mine) {
            s.holder = self;
            return true;
        }
        if (s.holder != 0 && !alive(s.holder)) {
            // Its holder ended: the turn passes on.
            s.holder = 0;
            ++s.serving;
            pthread_cond_broadcast(&s.turnPassed);
            continue;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            s.slots[mine % kSlots].gaveUp = 1;
            passOverAbsent(s, s.next);
            pthread_cond_broadcast(&s.turnPassed);
            return false;
        }
        const auto wait = std::min<std::chrono::steady_clock::duration>(deadline - now, kLivenessCheck);
        lock.waitUntil(s.turnPassed, monotonicIn(std::chrono::duration_cast<std::chrono::nanoseconds>(wait)));
    }
}

void DBProcessTurn::leave()
{
    Shared& s = *m_shared;
    SharedLock lock(s);
    if (s.holder != getpid()) return;
    s.holder = 0;
    ++s.serving;
    pthread_cond_broadcast(&s.turnPassed);
}
