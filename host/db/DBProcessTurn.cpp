// The queue of the processes writing one catalogue file: a ticket queue in
// the turn's page of the side file, guarded by a robust process-shared
// mutex, its waiters asleep on a futex in the same page.
#include "host/db/DBProcessTurn.h"

#include <dirent.h>
#include <errno.h>
#include <linux/futex.h>
#include <pthread.h>
#include <signal.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "host/db/DBPerFile.h"
#include "host/db/DBProcStat.h"
#include "host/db/DBRobustMutex.h"
#include "host/db/DBSideFile.h"
#include "host/db/DBtable.h"

namespace {

const char kSourceFile[] = "DBProcessTurn";
// Marks a page of this layout (with its sizes: dbSideFileLayout). Those
// before it were marked 0x52504d57 (with a condition variable), 0x52505432
// (the layout words one word, no count of tickets passed over) and
// 0x52505433 (the mutex without its holder's identity).
const uint32_t kTag = 0x52505434;
// Tickets drawn and not yet served at once: one per process at most, and
// those given up that the queue has not reached yet.
const uint64_t kSlots = 128;
// How long the ticket being served may stay so before a waiter looks whether
// its process still lives.
const std::chrono::milliseconds kLivenessCheck(100);

using Clock = std::chrono::steady_clock;

}  // namespace

// The page of the side file. Each change of the queue that another process
// may see half done is one store, and a new ticket's slot is written before
// the ticket is given out, so a process may die between any two statements.
struct DBProcessTurn::Shared {
    DBSideFilePageHead head;  // the layout words and the queue's mutex
    // Changes (under the mutex) whenever the ticket being served does; the
    // waiters sleep on it.
    uint32_t passed;
    uint64_t next;     // the ticket the next waiter draws
    uint64_t serving;  // the ticket whose turn it is (the turn is its process's)
    uint64_t passedOver;  // tickets passed over because their process had ended
    uint64_t givenUpPassedOver;  // tickets passed over because their process gave them up
    struct Slot {
        uint64_t started;  // its start time, in clock ticks after boot (0: unknown)
        int32_t pid;       // the process that drew the ticket
        int32_t gaveUp;    // it stopped waiting
    } slots[kSlots];
};
// The rest of the side file belongs to the journal.
static_assert(sizeof(DBProcessTurn::Shared) <= DBSideFile::kPageBytes, "the turn's state fits its page");

namespace {

void (*g_beforeTicketGivenOut)() = nullptr;

using Slot = DBProcessTurn::Shared::Slot;

template <typename T>
void publish(T& field, T value)
{
    __atomic_store_n(&field, value, __ATOMIC_RELEASE);
}

// The calling process as a slot names it.
Slot self()
{
    return Slot{dbThisProcessStarted(), getpid(), 0};
}

bool sameProcess(const Slot& a, const Slot& b)
{
    return a.pid == b.pid && a.started == b.started;
}

// Threads of the process: its leader may be a zombie while others still run.
int threadsOf(pid_t pid)
{
    char name[64];
    std::snprintf(name, sizeof name, "/proc/%d/task", static_cast<int>(pid));
    DIR* dir = opendir(name);
    if (dir == nullptr) return 0;
    int threads = 0;
    while (const dirent* entry = readdir(dir))
        if (entry->d_name[0] != '.') ++threads;
    closedir(dir);
    return threads;
}

// Whether the pid of the process that drew the ticket of slot is free.
bool gone(const Slot& slot)
{
    return slot.pid <= 0 || (kill(slot.pid, 0) != 0 && errno == ESRCH);
}

// Whether the process that drew the ticket of slot still runs: not when it
// is gone, a zombie (ended, not yet reaped), or its pid now names another
// process (a different start time). When /proc cannot tell, the process
// counts as running while its pid is there.
bool alive(const Slot& slot)
{
    if (gone(slot)) return false;
    char state = 0;
    uint64_t started = 0;
    if (!dbReadProcStat(slot.pid, state, started)) return errno != ENOENT && errno != ESRCH;
    if ((state == 'Z' || state == 'X') && threadsOf(slot.pid) <= 1) return false;
    return slot.started == 0 || started == slot.started;
}

// Passes over the tickets given up that the queue reached. Called at the
// start of each change, so that the queue also goes on after a process
// that died between passing the turn and this.
void passOverGivenUp(DBProcessTurn::Shared& s)
{
    while (s.serving < s.next && s.slots[s.serving % kSlots].gaveUp) {
        publish(s.serving, s.serving + 1);
        publish(s.givenUpPassedOver, s.givenUpPassedOver + 1);
    }
}

// The turn passes from the ticket being served to the next one waiting.
void passTurn(DBProcessTurn::Shared& s)
{
    publish(s.serving, s.serving + 1);
    passOverGivenUp(s);
    __atomic_add_fetch(&s.passed, 1, __ATOMIC_RELEASE);
}

long futex(uint32_t* word, int op, uint32_t value, const timespec* timeout)
{
    return syscall(SYS_futex, word, op, value, timeout, nullptr, 0);
}

// Sleeps while the word is still seen, for up to span; shared between
// processes, so not the private futex.
void sleepWhile(uint32_t* word, uint32_t seen, Clock::duration span)
{
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(span).count();
    if (ns <= 0) return;
    timespec timeout;
    timeout.tv_sec = static_cast<time_t>(ns / 1000000000LL);
    timeout.tv_nsec = static_cast<long>(ns % 1000000000LL);
    futex(word, FUTEX_WAIT, seen, &timeout);
}

void wakeAll(uint32_t* word)
{
    futex(word, FUTEX_WAKE, INT_MAX, nullptr);
}

}  // namespace

DBSideFileLayout DBProcessTurn::pageLayout()
{
    return dbSideFileLayout(kTag, sizeof(Shared));
}

void DBProcessTurn::setUpPage(void* page)
{
    Shared& s = *static_cast<Shared*>(page);
    std::memset(static_cast<void*>(&s), 0, sizeof s);
    dbInitRobustMutex(s.head.mutex, true);
    const DBSideFileLayout layout = pageLayout();
    publish(s.head.layout.sizes, layout.sizes);
    publish(s.head.layout.tag, layout.tag);
}

void DBProcessTurn::setBeforeTicketGivenOut(void (*hook)())
{
    g_beforeTicketGivenOut = hook;
}

std::shared_ptr<DBProcessTurn> DBProcessTurn::of(const std::string& path)
{
    return DBPerFile<DBProcessTurn>::of(path, [&path]() -> std::shared_ptr<DBProcessTurn> {
        std::string why;
        std::shared_ptr<DBSideFile> side = DBSideFile::of(path, &why);
        if (!side) {
            log_error(kSourceFile, __LINE__, "Cannot use %s as the writers' queue: %s", DBSideFile::pathOf(path).c_str(),
                      why.c_str());
            return nullptr;
        }
        return std::shared_ptr<DBProcessTurn>(new DBProcessTurn(path, std::move(side)));
    });
}

DBProcessTurn::DBProcessTurn(const std::string& path, std::shared_ptr<DBSideFile> side)
    : m_path(path), m_shared(static_cast<Shared*>(side->page(DBSideFile::kTurnPage))), m_side(std::move(side))
{
}

DBProcessTurn::~DBProcessTurn() = default;

unsigned long long DBProcessTurn::passedOver() const
{
    return __atomic_load_n(&m_shared->passedOver, __ATOMIC_ACQUIRE);
}

unsigned long long DBProcessTurn::givenUpPassedOver() const
{
    return __atomic_load_n(&m_shared->givenUpPassedOver, __ATOMIC_ACQUIRE);
}

bool DBProcessTurn::held(const DBRobustLock& lock)
{
    if (!m_waits.firstMiss(lock)) return lock.held();
    const std::string file = DBSideFile::pathOf(m_path);
    switch (lock.outcome()) {
    case DBRobustLock::kHolderStopped:
        log_error(kSourceFile, __LINE__,
                  "The writers' queue %s is held by process %d, which is stopped; the writers go without it until "
                  "it is had again",
                  file.c_str(), static_cast<int>(lock.stoppedHolder()));
        break;
    case DBRobustLock::kFailed:
        log_error(kSourceFile, __LINE__, "Cannot lock the writers' queue: %s; the writers go without it",
                  std::strerror(lock.error()));
        break;
    default:
        log_error(kSourceFile, __LINE__,
                  "The writers' queue %s was not had within %lld ms: a process holding it does not go on; the "
                  "writers go without it until it is had again",
                  file.c_str(), static_cast<long long>(kSideFileLockWait.count()));
        break;
    }
    return false;
}

bool DBProcessTurn::enter(std::chrono::milliseconds timeout)
{
    Shared& s = *m_shared;
    const Slot me = self();
    const auto deadline = Clock::now() + timeout;
    const uint64_t kNone = UINT64_MAX;
    uint64_t mine = kNone;
    // The ticket seen served, since when, and its slot then.
    uint64_t front = kNone;
    Clock::time_point frontSince;
    Slot frontSlot{};
    for (;;) {
        uint32_t seen = 0;
        Clock::time_point now;
        {
            // The mutex is waited for on its own bound, whatever is left of
            // the caller's: a caller whose deadline passed still takes its
            // turn if the turn is free.
            DBRobustLock lock(s.head.mutex, m_waits.deadline());
            if (!held(lock)) return goWithout(mine);
            now = Clock::now();
            passOverGivenUp(s);
            // A ticket is drawn once the queue has room for it.
            if (mine == kNone && s.next - s.serving < kSlots) {
                Slot& slot = s.slots[s.next % kSlots];
                slot.started = me.started;
                slot.pid = me.pid;
                slot.gaveUp = 0;
                if (g_beforeTicketGivenOut != nullptr) g_beforeTicketGivenOut();
                mine = s.next;
                publish(s.next, mine + 1);
            }
            if (s.serving == mine) return true;
            if (now >= deadline) {
                if (mine != kNone) publish(s.slots[mine % kSlots].gaveUp, 1);
                return false;
            }
            seen = __atomic_load_n(&s.passed, __ATOMIC_ACQUIRE);
            if (s.serving != front) {
                front = s.serving;
                frontSince = now;
                frontSlot = s.slots[front % kSlots];
            }
        }
        // The process of the ticket served may have died while it held the
        // turn or waited for it: looked at in full once it was served that
        // long, its pid at each wake.
        const bool due = now - frontSince >= kLivenessCheck;
        if (gone(frontSlot) || (due && !alive(frontSlot))) {
            {
                DBRobustLock lock(s.head.mutex, m_waits.deadline());
                if (!held(lock)) return goWithout(mine);
                if (s.serving == front) {
                    passTurn(s);
                    publish(s.passedOver, s.passedOver + 1);
                }
            }
            wakeAll(&s.passed);
            continue;
        }
        if (due) frontSince = now;
        sleepWhile(&s.passed, seen, std::min(deadline, frontSince + kLivenessCheck) - Clock::now());
    }
}

void DBProcessTurn::leave()
{
    Shared& s = *m_shared;
    const Slot me = self();
    {
        DBRobustLock lock(s.head.mutex, m_waits.deadline());
        if (!held(lock)) {
            // The ticket served is this process's (it holds the turn): given
            // up, it is passed over by the next process that has the queue.
            Slot& slot = s.slots[__atomic_load_n(&s.serving, __ATOMIC_ACQUIRE) % kSlots];
            if (sameProcess(slot, me)) publish(slot.gaveUp, 1);
        } else {
            if (s.serving >= s.next) return;
            const Slot& slot = s.slots[s.serving % kSlots];
            if (slot.gaveUp || !sameProcess(slot, me)) return;
            passTurn(s);
        }
    }
    wakeAll(&s.passed);
}

bool DBProcessTurn::goWithout(uint64_t ticket)
{
    if (ticket != UINT64_MAX) publish(m_shared->slots[ticket % kSlots].gaveUp, 1);
    return true;
}
