// The POSIX record locks this process holds on a file, counted exactly from
// the kernel's own view of each of the process's descriptors open on it, and
// a thread that samples that count while a test runs. Free of any test
// framework.
#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <thread>

namespace record_locks {

// The POSIX record locks this process holds on the file at path; -1 when
// the file or the process's descriptors cannot be looked at.
//
// /proc/self/fdinfo/<fd> lists, under the file's own lock, the locks taken
// through that descriptor's open file that this process owns (POSIX) or that
// the open file owns (OFD, "OFDLCK"). Every POSIX lock of the process on the
// file shows under one of the process's descriptors open on it (closing any
// one of them drops all of them), and under each descriptor duplicated from
// that one: they are told apart by their ranges, which never overlap among
// one owner's locks of one file. /proc/locks would be no exact count: it is
// produced a page per read, and a line is skipped when another process's
// lock goes away between two reads.
inline int LocksHeldOn(const std::string& path)
{
    struct stat file;
    if (::stat(path.c_str(), &file) != 0) return -1;
    // As the kernel names the file in a lock's line: "fe:00:10953205".
    char id[64];
    std::snprintf(id, sizeof id, " %02x:%02x:%llu ", major(file.st_dev), minor(file.st_dev),
                  static_cast<unsigned long long>(file.st_ino));
    DIR* fds = ::opendir("/proc/self/fd");
    if (fds == nullptr) return -1;
    std::set<std::string> ranges;
    while (const dirent* entry = ::readdir(fds)) {
        if (entry->d_name[0] < '0' || entry->d_name[0] > '9') continue;
        const std::string fd = entry->d_name;
        struct stat open;
        if (::stat(("/proc/self/fd/" + fd).c_str(), &open) != 0 || open.st_dev != file.st_dev ||
            open.st_ino != file.st_ino)
            continue;
        // Read whole: the kernel makes it at the first read.
        const int info = ::open(("/proc/self/fdinfo/" + fd).c_str(), O_RDONLY | O_CLOEXEC);
        if (info < 0) continue;  // closed meanwhile
        std::string text;
        char buf[4096];
        for (ssize_t n; (n = ::read(info, buf, sizeof buf)) > 0;) text.append(buf, static_cast<size_t>(n));
        ::close(info);
        // "lock:\t1: POSIX  ADVISORY  READ 25684 fe:00:10953205 128 128"
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            if (line.compare(0, 5, "lock:") != 0 || line.find(" POSIX ") == std::string::npos) continue;
            const std::string padded = line + ' ';
            const size_t at = padded.find(id);
            if (at != std::string::npos) ranges.insert(padded.substr(at + std::strlen(id)));
        }
    }
    ::closedir(fds);
    return static_cast<int>(ranges.size());
}

// Counts the locks this process holds on a file every millisecond, from its
// construction until stop(): how many samples were taken and how many found
// none.
class Sampler {
public:
    explicit Sampler(const std::string& path)
        : m_thread([this, path] {
              while (!m_stop.load()) {
                  if (LocksHeldOn(path) == 0) ++m_lockless;
                  ++m_samples;
                  std::this_thread::sleep_for(std::chrono::milliseconds(1));
              }
          })
    {
    }
    ~Sampler() { stop(); }
    void stop()
    {
        m_stop.store(true);
        if (m_thread.joinable()) m_thread.join();
    }
    long samples() const { return m_samples.load(); }
    long lockless() const { return m_lockless.load(); }
    // Returns once a sample begun after the call has been taken.
    void awaitNextSample() const
    {
        const long now = m_samples.load();
        while (m_samples.load() < now + 2) std::this_thread::yield();
    }

private:
    std::atomic<bool> m_stop{false};
    std::atomic<long> m_samples{0};
    std::atomic<long> m_lockless{0};
    std::thread m_thread;
};

}  // namespace record_locks
