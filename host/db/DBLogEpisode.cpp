// The episodes at the log's hard limit: the episodes' page of the side file
// (DBSideFile), guarded by a robust process-shared mutex, or a page of the
// process's own when the side file cannot be used or its mutex is not had.
#include "host/db/DBLogEpisode.h"

#include <errno.h>
#include <pthread.h>

#include <cstring>

#include "host/db/DBPerFile.h"
#include "host/db/DBRobustMutex.h"
#include "host/db/DBSideFile.h"
#include "host/db/DBtable.h"

namespace {

const char kSourceFile[] = "DBLogEpisode";
// Marks a page of this layout (with its sizes: dbSideFileLayout); those
// before it were marked 0x52504c45 (set up apart from the turn's page) and
// 0x52504c46 (the mutex without its holder's identity).
const uint32_t kTag = 0x52504c47;

struct Fields {
    DBSideFilePageHead head;       // the layout words and the mutex
    DBLogGeneration log;           // the log the episode is of
    int32_t gaveUp;                // a wait gave up, its readers not moved on since
    int32_t reported;              // the give-up was logged
    int32_t movedPast;             // a copy got past keptAt: the readers moved on
    int64_t keptAt;                // frames copied at the give-up (-1: not known)
    int64_t firstWaitNs;           // when the first wait began (steady clock; 0: none)
};

void (*g_betweenStores)(int store) = nullptr;

template <typename T>
void store(T& field, T value, int number)
{
    __atomic_store_n(&field, value, __ATOMIC_RELEASE);
    if (g_betweenStores != nullptr) g_betweenStores(number);
}

}  // namespace

struct DBLogEpisode::Page {
    Fields f;
    char spare[DBSideFile::kPageBytes - sizeof(Fields)];
};
static_assert(sizeof(DBLogEpisode::Page) == DBSideFile::kPageBytes, "the episode fills one page of the side file");

namespace {

// The page starts an episode of `log`, nothing known of it yet. The fields
// first, the log last: a process that dies between two of the stores (the
// mutex held) leaves the episode of the log before with nothing known of it,
// which at worst lets a wait for its readers begin again, never the new log
// marked as given up.
void start(Fields& f, const DBLogGeneration& log)
{
    store(f.gaveUp, 0, 1);
    store(f.reported, 0, 2);
    store(f.movedPast, 0, 3);
    store(f.keptAt, static_cast<int64_t>(-1), 4);
    store(f.firstWaitNs, static_cast<int64_t>(0), 5);
    store(f.log.words[0], log.words[0], 6);
    store(f.log.words[1], log.words[1], 7);
    store(f.log.words[2], log.words[2], 8);
}

void setUp(Fields& f, bool shared)
{
    std::memset(static_cast<void*>(&f), 0, sizeof f);
    dbInitRobustMutex(f.head.mutex, shared);
    f.keptAt = -1;
}

long long nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(DBLogEpisode::Clock::now().time_since_epoch())
        .count();
}

}  // namespace

DBSideFileLayout DBLogEpisode::pageLayout()
{
    return dbSideFileLayout(kTag, sizeof(Fields));
}

void DBLogEpisode::setUpPage(void* page)
{
    Fields& f = static_cast<Page*>(page)->f;
    setUp(f, true);
    const DBSideFileLayout layout = pageLayout();
    __atomic_store_n(&f.head.layout.sizes, layout.sizes, __ATOMIC_RELEASE);
    __atomic_store_n(&f.head.layout.tag, layout.tag, __ATOMIC_RELEASE);
}

void DBLogEpisode::setBetweenStores(void (*hook)(int store))
{
    g_betweenStores = hook;
}

std::shared_ptr<DBLogEpisode> DBLogEpisode::of(const std::string& path)
{
    return DBPerFile<DBLogEpisode>::of(path, [&path]() -> std::shared_ptr<DBLogEpisode> {
        std::string why;
        std::shared_ptr<DBSideFile> side = DBSideFile::of(path, &why);
        if (!side)
            log_error(kSourceFile, __LINE__,
                      "Cannot use %s for the waits at the log's hard limit: %s; this process waits on its own",
                      DBSideFile::pathOf(path).c_str(), why.c_str());
        return std::shared_ptr<DBLogEpisode>(new DBLogEpisode(path, std::move(side)));
    });
}

DBLogEpisode::DBLogEpisode(const std::string& path, std::shared_ptr<DBSideFile> side)
    : m_path(path), m_side(std::move(side)), m_own(new Page())
{
    setUp(m_own->f, false);
    m_page = m_side ? static_cast<Page*>(m_side->page(DBSideFile::kEpisodePage)) : m_own.get();
}

DBLogEpisode::~DBLogEpisode()
{
    pthread_mutex_destroy(&m_own->f.head.mutex.mutex);
}

DBLogEpisode::Page& DBLogEpisode::pageFor(const DBRobustLock& lock, std::unique_ptr<DBRobustLock>& ownLock)
{
    if (lock.held()) {
        if (m_page != m_own.get()) m_waits.firstMiss(lock);
        return *m_page;
    }
    if (m_waits.firstMiss(lock)) {
        const std::string file = DBSideFile::pathOf(m_path);
        switch (lock.outcome()) {
        case DBRobustLock::kHolderStopped:
            log_error(kSourceFile, __LINE__,
                      "The waits at the log's hard limit in %s are held by process %d, which is stopped: this "
                      "process waits on its own until they are had again",
                      file.c_str(), static_cast<int>(lock.stoppedHolder()));
            break;
        case DBRobustLock::kFailed:
            log_error(kSourceFile, __LINE__,
                      "The waits at the log's hard limit in %s cannot be had (%s): this process waits on its own",
                      file.c_str(), std::strerror(lock.error()));
            break;
        default:
            log_error(kSourceFile, __LINE__,
                      "The waits at the log's hard limit in %s were not had within %lld ms: this process waits "
                      "on its own until they are had again",
                      file.c_str(), static_cast<long long>(kSideFileLockWait.count()));
            break;
        }
    }
    ownLock.reset(new DBRobustLock(m_own->f.head.mutex, Clock::time_point::max()));
    return *m_own;
}

bool DBLogEpisode::kept(const DBLogGeneration& log)
{
    DBRobustLock lock(m_page->f.head.mutex, m_waits.deadline());
    std::unique_ptr<DBRobustLock> ownLock;
    const Fields& f = pageFor(lock, ownLock).f;
    return f.log == log && f.gaveUp != 0;
}

bool DBLogEpisode::beginWait(const DBLogGeneration& log, Clock::time_point* since)
{
    DBRobustLock lock(m_page->f.head.mutex, m_waits.deadline());
    std::unique_ptr<DBRobustLock> ownLock;
    Fields& f = pageFor(lock, ownLock).f;
    // An episode of another log is over: the page starts one of this one.
    if (!(f.log == log)) start(f, log);
    if (f.gaveUp != 0) return false;
    if (f.firstWaitNs == 0) f.firstWaitNs = nowNs();
    *since = Clock::time_point(std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(f.firstWaitNs)));
    return true;
}

bool DBLogEpisode::gaveUp(const DBLogGeneration& log, long long copied)
{
    DBRobustLock lock(m_page->f.head.mutex, m_waits.deadline());
    std::unique_ptr<DBRobustLock> ownLock;
    Fields& f = pageFor(lock, ownLock).f;
    // The log was started again since the wait began (by another process):
    // what its readers did says nothing of the episode now under way.
    if (!(f.log == log)) return false;
    f.gaveUp = 1;
    f.movedPast = 0;
    f.keptAt = copied;
    const bool report = f.reported == 0;
    f.reported = 1;
    return report;
}

bool DBLogEpisode::noteCopied(const DBLogGeneration& log, long long copied, bool caughtUp)
{
    DBRobustLock lock(m_page->f.head.mutex, m_waits.deadline());
    std::unique_ptr<DBRobustLock> ownLock;
    Fields& f = pageFor(lock, ownLock).f;
    if (!(f.log == log) || f.gaveUp == 0 || copied < 0) return false;
    // Not known at the give-up: the mark from now on.
    if (f.keptAt < 0) {
        f.keptAt = copied;
        return false;
    }
    if (copied > f.keptAt) {
        f.movedPast = 1;
        f.keptAt = copied;
    }
    if (f.movedPast == 0 || !caughtUp) return false;
    f.gaveUp = 0;
    f.movedPast = 0;
    return true;
}
