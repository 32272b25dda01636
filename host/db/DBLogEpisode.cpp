// The episodes at the log's hard limit: a page of the side file beside the
// catalogue, at offset 4096 (the writers' queue keeps the first 4096 bytes),
// set up once under a lock of its bytes and guarded by a robust process-shared
// mutex.
#include "host/db/DBLogEpisode.h"

#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "host/db/DBPerFile.h"
#include "host/db/DBProcessTurn.h"
#include "host/db/DBRobustMutex.h"
#include "host/db/DBtable.h"

namespace {

const char kSourceFile[] = "DBLogEpisode";
const uint32_t kMagic = 0x52504c45;  // marks a page set up in full
const off_t kPageOffset = DBProcessTurn::kBytes;  // after the writers' queue
const size_t kPageSize = 4096;

struct Fields {
    uint32_t magic;
    pthread_mutex_t mutex;
    DBLogEpisode::Generation log;  // the log the episode is of
    int32_t gaveUp;                // a wait gave up, its readers not moved on since
    int32_t reported;              // the give-up was logged
    int32_t movedPast;             // a copy got past keptAt: the readers moved on
    int64_t keptAt;                // frames copied at the give-up (-1: not known)
    int64_t firstWaitNs;           // when the first wait began (steady clock; 0: none)
};

}  // namespace

struct DBLogEpisode::Page {
    Fields f;
    char spare[kPageSize - sizeof(Fields)];
};
static_assert(sizeof(DBLogEpisode::Page) == kPageSize, "the episode fills one page of the side file");

namespace {

// The page starts an episode of `log`, nothing known of it yet.
void start(Fields& f, const DBLogEpisode::Generation& log)
{
    f.log = log;
    f.gaveUp = 0;
    f.reported = 0;
    f.movedPast = 0;
    f.keptAt = -1;
    f.firstWaitNs = 0;
}

// An episode of another log than `log` is over: the page starts one of it.
void follow(Fields& f, const DBLogEpisode::Generation& log)
{
    if (!(f.log == log)) start(f, log);
}

bool setUp(DBLogEpisode::Page& page, bool shared)
{
    if (dbInitRobustMutex(page.f.mutex, shared) != 0) return false;
    start(page.f, DBLogEpisode::Generation());
    __atomic_store_n(&page.f.magic, kMagic, __ATOMIC_RELEASE);
    return true;
}

// Maps the page of the side file, setting it up when it is new; null (and
// *error) when it cannot be used.
DBLogEpisode::Page* mapPage(const std::string& file, int* error)
{
    *error = 0;
    if (sysconf(_SC_PAGESIZE) <= 0 || kPageOffset % sysconf(_SC_PAGESIZE) != 0) {
        *error = EINVAL;
        return nullptr;
    }
    const int fd = open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        *error = errno;
        return nullptr;
    }
    void* mapped = MAP_FAILED;
    // The first process to lock the page's bytes sets the page up; the others
    // wait. A lock of the open file, on the page's bytes alone: the writers'
    // queue holds a shared lock of the whole file (flock) for as long as it
    // has it mapped, and the kernel drops this one with a process that dies.
    struct flock range = {};
    range.l_type = F_WRLCK;
    range.l_whence = SEEK_SET;
    range.l_start = kPageOffset;
    range.l_len = static_cast<off_t>(kPageSize);
    int locked;
    while ((locked = fcntl(fd, F_OFD_SETLKW, &range)) != 0 && errno == EINTR) {
    }
    if (locked == 0) {
        struct stat st;
        const off_t size = kPageOffset + static_cast<off_t>(kPageSize);
        bool ready = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink == 1;
        if (ready && st.st_size < size) ready = ftruncate(fd, size) == 0;
        if (ready) mapped = mmap(nullptr, kPageSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, kPageOffset);
        if (mapped != MAP_FAILED) {
            auto* page = static_cast<DBLogEpisode::Page*>(mapped);
            if (__atomic_load_n(&page->f.magic, __ATOMIC_ACQUIRE) != kMagic && !setUp(*page, true)) {
                munmap(mapped, kPageSize);
                mapped = MAP_FAILED;
            }
        }
        if (mapped == MAP_FAILED && errno == 0) errno = EINVAL;
        *error = mapped == MAP_FAILED ? errno : 0;
        range.l_type = F_UNLCK;
        fcntl(fd, F_OFD_SETLK, &range);
    } else {
        *error = errno;
    }
    close(fd);
    return mapped == MAP_FAILED ? nullptr : static_cast<DBLogEpisode::Page*>(mapped);
}

long long nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(DBLogEpisode::Clock::now().time_since_epoch())
        .count();
}

}  // namespace

std::shared_ptr<DBLogEpisode> DBLogEpisode::of(const std::string& path)
{
    return DBPerFile<DBLogEpisode>::of(path, [&path]() -> std::shared_ptr<DBLogEpisode> {
        const std::string file = DBProcessTurn::sideFile(path);
        int error = 0;
        // Without the turn the page could be made anew under this process.
        std::shared_ptr<DBProcessTurn> turn = DBProcessTurn::of(path);
        Page* page = turn != nullptr ? mapPage(file, &error) : nullptr;
        if (turn == nullptr) error = ENOLCK;
        if (page != nullptr) return std::shared_ptr<DBLogEpisode>(new DBLogEpisode(page, std::move(turn)));
        log_error(kSourceFile, __LINE__,
                  "Cannot use %s for the waits at the log's hard limit: %s; this process waits on its own",
                  file.c_str(), std::strerror(error));
        std::unique_ptr<Page> own(new Page());
        if (!setUp(*own, false)) return nullptr;
        return std::shared_ptr<DBLogEpisode>(new DBLogEpisode(own.release(), nullptr));
    });
}

DBLogEpisode::~DBLogEpisode()
{
    if (m_shared)
        munmap(m_page, kPageSize);
    else
        delete m_page;
}

bool DBLogEpisode::kept(const Generation& log)
{
    DBRobustLock lock(m_page->f.mutex);
    return m_page->f.log == log && m_page->f.gaveUp != 0;
}

bool DBLogEpisode::beginWait(const Generation& log, Clock::time_point* since)
{
    DBRobustLock lock(m_page->f.mutex);
    Fields& f = m_page->f;
    follow(f, log);
    if (f.gaveUp != 0) return false;
    if (f.firstWaitNs == 0) f.firstWaitNs = nowNs();
    *since = Clock::time_point(std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(f.firstWaitNs)));
    return true;
}

bool DBLogEpisode::gaveUp(const Generation& log, long long copied)
{
    DBRobustLock lock(m_page->f.mutex);
    Fields& f = m_page->f;
    follow(f, log);
    f.gaveUp = 1;
    f.movedPast = 0;
    f.keptAt = copied;
    const bool report = f.reported == 0;
    f.reported = 1;
    return report;
}

bool DBLogEpisode::noteCopied(const Generation& log, long long copied, bool caughtUp)
{
    DBRobustLock lock(m_page->f.mutex);
    Fields& f = m_page->f;
    follow(f, log);
    if (f.gaveUp == 0 || copied < 0) return false;
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
