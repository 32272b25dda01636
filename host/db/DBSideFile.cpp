// The side file: opened, its set-up lock waited for until a deadline, its
// pages made anew by a process alone with it or checked against this
// layout, and mapped once per process.
#include "host/db/DBSideFile.h"

#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "host/db/DBLogEpisode.h"
#include "host/db/DBPerFile.h"
#include "host/db/DBProcessTurn.h"
#include "host/db/DBRobustMutex.h"

namespace {

using Clock = std::chrono::steady_clock;

const size_t kFileBytes = DBSideFile::kPages * DBSideFile::kPageBytes;

// Each page's layout words and how it is set up, in the order of the pages.
struct PageKind {
    DBSideFileLayout (*layout)();
    void (*setUp)(void* page);
};
const PageKind kKinds[DBSideFile::kPages] = {
    {&DBProcessTurn::pageLayout, &DBProcessTurn::setUpPage},
    {&DBLogEpisode::pageLayout, &DBLogEpisode::setUpPage},
};

// Holds the set-up lock, a lock of the open file on the side file's first
// byte, tried again and again until the deadline: the kernel drops it with
// a process that dies, and (unlike a record lock of the process) a thread
// closing another descriptor of the file leaves it held.
class SetUpLock {
public:
    SetUpLock(int fd, Clock::time_point deadline) : m_fd(fd)
    {
        for (std::chrono::milliseconds pause(1);; pause = std::min(pause * 2, std::chrono::milliseconds(10))) {
            if (lock(F_WRLCK) == 0) {
                m_held = true;
                return;
            }
            if (errno != EAGAIN && errno != EACCES && errno != EINTR) return;
            if (Clock::now() >= deadline) {
                errno = ETIMEDOUT;
                return;
            }
            std::this_thread::sleep_for(pause);
        }
    }
    ~SetUpLock()
    {
        if (!m_held) return;
        const int error = errno;
        lock(F_UNLCK);
        errno = error;
    }
    SetUpLock(const SetUpLock&) = delete;
    SetUpLock& operator=(const SetUpLock&) = delete;

    bool held() const { return m_held; }

private:
    int lock(short type)
    {
        struct flock range = {};
        range.l_type = type;
        range.l_whence = SEEK_SET;
        range.l_len = 1;
        return fcntl(m_fd, F_OFD_SETLK, &range);
    }

    int m_fd;
    bool m_held = false;
};

// Grows the file to hold the pages, never shrinking it.
bool holdsPages(int fd)
{
    struct stat st;
    if (fstat(fd, &st) != 0) return false;
    if (static_cast<size_t>(st.st_size) >= kFileBytes) return true;
    if (fallocate(fd, 0, 0, static_cast<off_t>(kFileBytes)) == 0) return true;
    return fstat(fd, &st) == 0 &&
           (static_cast<size_t>(st.st_size) >= kFileBytes || ftruncate(fd, static_cast<off_t>(kFileBytes)) == 0);
}

// Whether every page of the mapping is of this layout.
bool ofThisLayout(const void* mapped)
{
    for (size_t p = 0; p < DBSideFile::kPages; ++p) {
        const auto* words = reinterpret_cast<const DBSideFileLayout*>(static_cast<const char*>(mapped) +
                                                                      p * DBSideFile::kPageBytes);
        DBSideFileLayout seen;
        seen.tag = __atomic_load_n(&words->tag, __ATOMIC_ACQUIRE);
        seen.sizes = __atomic_load_n(&words->sizes, __ATOMIC_ACQUIRE);
        if (!(seen == kKinds[p].layout())) return false;
    }
    return true;
}

// Under the set-up lock: maps the pages, made anew when no other process
// uses the file. MAP_FAILED with *why set when it cannot be used.
void* mapPages(int fd, bool& madeAnew, std::string* why)
{
    struct stat st;
    const auto failed = [why](const char* reason) {
        *why = reason != nullptr ? reason : std::strerror(errno);
        return MAP_FAILED;
    };
    if (fstat(fd, &st) != 0) return failed(nullptr);
    if (!S_ISREG(st.st_mode) || st.st_nlink != 1) return failed("not a file of its own");
    // Alone with the file, whatever its pages hold was left by processes
    // that ended.
    madeAnew = flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (madeAnew && !holdsPages(fd)) return failed(nullptr);
    if (!madeAnew && (flock(fd, LOCK_SH | LOCK_NB) != 0 || fstat(fd, &st) != 0)) return failed(nullptr);
    if (!madeAnew && static_cast<size_t>(st.st_size) < kFileBytes)
        return failed("another process uses it in another layout");
    void* mapped = mmap(nullptr, kFileBytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (mapped == MAP_FAILED) return failed(nullptr);
    if (madeAnew) {
        std::memset(mapped, 0, kFileBytes);
        for (size_t p = 0; p < DBSideFile::kPages; ++p)
            kKinds[p].setUp(static_cast<char*>(mapped) + p * DBSideFile::kPageBytes);
        // From exclusive to shared: no other process can take it
        // exclusively in between without the set-up lock.
        if (flock(fd, LOCK_SH) != 0) {
            const int error = errno;
            munmap(mapped, kFileBytes);
            errno = error;
            return failed(nullptr);
        }
    } else if (!ofThisLayout(mapped)) {
        munmap(mapped, kFileBytes);
        return failed("another process uses it in another layout");
    }
    return mapped;
}

}  // namespace

std::shared_ptr<DBSideFile> DBSideFile::open(const std::string& file, std::string* why)
{
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        *why = std::strerror(errno);
        return nullptr;
    }
    void* mapped = MAP_FAILED;
    bool madeAnew = false;
    {
        SetUpLock setUpLock(fd, Clock::now() + kSideFileLockWait);
        if (setUpLock.held())
            mapped = mapPages(fd, madeAnew, why);
        else
            *why = errno == ETIMEDOUT ? "its set-up lock was not had within " +
                                            std::to_string(kSideFileLockWait.count()) + " ms"
                                      : std::strerror(errno);
    }
    if (mapped != MAP_FAILED) return std::shared_ptr<DBSideFile>(new DBSideFile(mapped, fd));
    close(fd);  // its flock with it
    return nullptr;
}

DBSideFileLayout dbSideFileLayout(uint32_t tag, size_t stateBytes)
{
    DBSideFileLayout layout;
    layout.tag = tag;
    layout.sizes = static_cast<uint32_t>(stateBytes) << 8 | static_cast<uint32_t>(sizeof(pthread_mutex_t));
    return layout;
}

std::string DBSideFile::pathOf(const std::string& catalogue)
{
    return catalogue + "-writers";
}

std::shared_ptr<DBSideFile> DBSideFile::of(const std::string& catalogue, std::string* why)
{
    std::string reason;
    std::shared_ptr<DBSideFile> file = DBPerFile<DBSideFile>::of(
        catalogue, [&catalogue, &reason] { return open(pathOf(catalogue), &reason); });
    if (why != nullptr) *why = reason;
    return file;
}

DBSideFile::~DBSideFile()
{
    munmap(m_mapped, kFileBytes);
    close(m_fd);
}
