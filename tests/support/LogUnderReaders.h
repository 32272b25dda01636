// Writers registering devices through post while readers on connections of
// their own never pause, or one of them stays in one read transaction a
// while: what the write-ahead log file of the catalogue does meanwhile (its
// largest size, how long it takes to come back within its bound after the
// reader that stayed ended and within its limit once the writes stop while
// the readers go on), and what the writes and reads met. The reader that
// stays may stay until the log file has grown past a size, and the writes
// may go on until what a test measures has happened, so that a slow or
// loaded machine only takes longer. Used by the tests of the log file's
// bound and by its benchmark; free of any test framework.
#pragma once

#include <sqlite3.h>
#include <sys/stat.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "host/db/DBConnection.h"
#include "RegisterDevices.h"

namespace log_under_readers {

using Clock = std::chrono::steady_clock;

struct Load {
    int writers = 4;
    int firstWriter = 0;  // the number of the first writer (its devices' names)
    int readers = 2;  // 0: the writes alone
    // How long each read transaction lasts: from `readShortest` to
    // `readLongest`, drawn anew each time.
    std::chrono::microseconds readShortest{1000};
    std::chrono::microseconds readLongest{5000};
    // The readers hand the log on to one another: one ends its read
    // transaction only once another is in one, so that at no moment does
    // none of them read (however the threads are scheduled).
    bool handOff = false;
    // With a time: the first reader, from the first write on, stays in one
    // read transaction that long (or until the writes stop), then reads no
    // more; with boundBytes too, the writes then go on until the log file is
    // back within it.
    std::chrono::milliseconds stay{0};
    // With a size: the first reader stays in one read transaction until the
    // log file has grown past it (or until the writes stop), then reads no
    // more; the writes then go on until the log file is back within
    // boundBytes.
    unsigned long long stayPastBytes = 0;
    // The log file's bound, once the reader that stayed ended.
    unsigned long long boundBytes = 0;
    // A file made when the reader that stayed ended (for processes that
    // write beside this one).
    std::string stayEndedFile;
    // The writes go on for at least this long, and on as the fields below
    // ask, for up to `longest` in all (0: `writing`).
    std::chrono::milliseconds writing{3000};
    std::chrono::milliseconds longest{0};
    // With a size: until the log file has reached that size and then been
    // cut back within its limit.
    unsigned long long reachBytes = 0;
    // With a count: until the log file has been cut back within its limit
    // that many times while the writes went on, each time after it had grown
    // past cutFromBytes.
    int cutBacks = 0;
    unsigned long long cutFromBytes = 0;
    // Until this says what is measured has happened.
    std::function<bool()> enough;
    // Until this file exists (the writes of a process that writes for
    // another one).
    std::string stopFile;
    // How long the readers go on after the writes while the log file is
    // above the limit; 0: not at all.
    std::chrono::milliseconds settling{0};
    unsigned long long limitBytes = 0;  // the log file's limit
};

struct Result {
    long writes = 0;
    long failedWrites = 0;
    long reads = 0;
    long failedReads = 0;
    double writeSeconds = 0;       // from the first write to the last reply
    double longestWriteSeconds = 0;
    // Of the writes that ended after the reader that stayed had ended, and
    // of those that ended before (all when none stayed).
    double longestWriteAfterStaySeconds = 0;
    double longestWriteBeforeStayEndedSeconds = 0;
    double medianWriteSeconds = 0;
    double p99WriteSeconds = 0;
    unsigned long long largestLogBytes = 0;
    // From the end of the writes until the log file was within its limit;
    // negative when it was not within the settling time.
    double backWithinLimitSeconds = -1;
    // Whether the log file reached load.reachBytes, and whether it was cut
    // back within its limit after that while the writes went on.
    bool reached = false;
    bool cutBackAfterReaching = false;
    // The times the log file was cut back within its limit while the writes
    // went on, after it had grown past load.cutFromBytes.
    int cutBacks = 0;
    // From the end of the read transaction that stayed until the log file
    // was within load.boundBytes while the writes went on; negative when it
    // never was.
    double backWithinBoundSeconds = -1;
    // Whether the reader that stays saw the log file past
    // load.stayPastBytes before it ended.
    bool stayedPastBound = false;
    // Whether the writes stopped at load.longest before what they went on
    // for had happened.
    bool timedOut = false;
    // Writes begun while the log file was larger than load.boundBytes.
    long writesPastBound = 0;
    // Each write's time (filled by the writers, sorted at the end).
    std::vector<double> writeTimes;

    double writesPerSecond() const { return writeSeconds > 0 ? writes / writeSeconds : 0; }
};

inline unsigned long long LogFileSize(const std::string& path)
{
    struct stat st;
    return ::stat((path + "-wal").c_str(), &st) == 0 ? static_cast<unsigned long long>(st.st_size) : 0;
}

// The size of a log file holding `frames` pages of the catalogue at path.
inline unsigned long long LogBytesOf(const std::string& path, unsigned long long frames)
{
    sqlite3* db = nullptr;
    long long pageSize = 4096;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA page_size", -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW)
            pageSize = sqlite3_column_int64(stmt, 0);
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    // The file's header, then each frame's header and page.
    return 32 + frames * static_cast<unsigned long long>(pageSize + 24);
}

namespace detail {

// One writer: a host of its own registering a new device on a new SNR
// volume, two mount points each, until told to stop.
inline void Write(int writer, const std::atomic<bool>& stop, const std::atomic<bool>& pastBound,
                  const std::atomic<long long>& stayEnded, Result& mine)
{
    RegisterDevices(
        100 + writer, "log-" + std::to_string(writer) + "-",
        [&](long) {
            if (stop.load()) return false;
            if (pastBound.load()) ++mine.writesPastBound;
            return true;
        },
        [&mine, &stayEnded](bool registered, double took) {
            mine.longestWriteSeconds = std::max(mine.longestWriteSeconds, took);
            if (stayEnded.load() != 0)
                mine.longestWriteAfterStaySeconds = std::max(mine.longestWriteAfterStaySeconds, took);
            else
                mine.longestWriteBeforeStayEndedSeconds = std::max(mine.longestWriteBeforeStayEndedSeconds, took);
            mine.writeTimes.push_back(took);
            ++mine.writes;
            if (!registered) ++mine.failedWrites;
        });
}

// One reader on a connection of its own with the library's busy timeout:
// read transactions over the newest devices back to back, each open for a
// time between load.readShortest and load.readLongest, as a reader's is
// while it works through what it read. With stayUntil, one read transaction
// open until then, or with load.stayPastBytes until the log file has grown
// past that (either way until the writes stop at the latest), and no other;
// its end is stored in stayEnded, and whether it saw the log file past
// load.stayPastBytes in stayedPast.
// The readers' hand-off: how many are in a read transaction, and how many
// still read.
struct HandOff {
    std::atomic<int> reading{0};
    std::atomic<int> readers{0};

    // Gives up this reader's place once another reader is in a read
    // transaction, or none other reads any more, or the readers stop.
    void leave(const std::atomic<bool>& stop)
    {
        int now = reading.load();
        for (;;) {
            if (now >= 2 || readers.load() < 2 || stop.load()) {
                if (reading.compare_exchange_weak(now, now - 1)) return;
                continue;
            }
            std::this_thread::yield();
            now = reading.load();
        }
    }
};

inline void Read(const std::string& path, int reader, const Load& load, const std::atomic<bool>& stop,
                 const std::atomic<bool>& writesStopped, const Clock::time_point* stayUntil,
                 std::atomic<long long>& stayEnded, std::atomic<bool>& stayedPast, HandOff* handOff, Result& mine)
{
    // Leaves the hand-off when this reader reads no more.
    struct Leaving {
        HandOff* handOff;
        ~Leaving()
        {
            if (handOff != nullptr) --handOff->readers;
        }
    } leaving{handOff};
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        ++mine.failedReads;
        sqlite3_close(db);
        return;
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_stmt* newest = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT id, DeviceName FROM YBPhysicalDevice ORDER BY id DESC LIMIT 20", -1, &newest,
                           nullptr) != SQLITE_OK) {
        ++mine.failedReads;
        sqlite3_close(db);
        return;
    }
    const long long shortest = load.readShortest.count();
    const long long spread = std::max<long long>(load.readLongest.count() - shortest, 0) + 1;
    unsigned seed = 7u + static_cast<unsigned>(reader);
    bool stayed = false;
    while (!stop.load() && !stayed) {
        bool ok = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
        int rc = SQLITE_ROW;
        while (ok && (rc = sqlite3_step(newest)) == SQLITE_ROW) {
        }
        ok = ok && rc == SQLITE_DONE;
        sqlite3_reset(newest);
        if (handOff != nullptr && ok) ++handOff->reading;
        if (stayUntil != nullptr) {
            while (!writesStopped.load() && !stop.load()) {
                if (load.stayPastBytes > 0 ? LogFileSize(path) > load.stayPastBytes : Clock::now() >= *stayUntil)
                    break;
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            if (load.stayPastBytes > 0) stayedPast.store(LogFileSize(path) > load.stayPastBytes);
            stayed = true;
        } else {
            seed = seed * 1103515245u + 12345u;
            std::this_thread::sleep_for(std::chrono::microseconds(shortest + static_cast<long long>(seed >> 8) % spread));
        }
        if (handOff != nullptr && ok) handOff->leave(stop);
        ok = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK && ok;
        if (stayed) {
            stayEnded.store(Clock::now().time_since_epoch().count());
            if (!load.stayEndedFile.empty()) ::close(::open(load.stayEndedFile.c_str(), O_WRONLY | O_CREAT, 0600));
        }
        ++mine.reads;
        if (!ok) {
            ++mine.failedReads;
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        }
    }
    sqlite3_finalize(newest);
    sqlite3_close(db);
}

}  // namespace detail

// Runs the load on the catalogue at path, which the calling process uses
// (DBtran::useCatalogue): the readers start first, the writers write for
// load.writing and on as the load asks, for up to load.longest, and the
// readers go on for up to load.settling until the log file is within its
// limit. The log file's size is looked at every millisecond throughout.
inline Result Run(const std::string& path, const Load& load)
{
    std::atomic<bool> writersStop{false};
    std::atomic<bool> readersStop{false};
    std::atomic<bool> watching{true};
    std::atomic<unsigned long long> largest{0};
    std::atomic<bool> reached{false};
    std::atomic<bool> cutBack{false};
    std::atomic<int> cutBacks{0};
    std::atomic<long long> stayEnded{0};
    std::atomic<bool> stayedPast{false};
    std::atomic<long long> withinBound{0};
    std::atomic<bool> pastBound{false};
    std::thread watcher([&] {
        bool grown = false;
        while (watching.load()) {
            const unsigned long long now = LogFileSize(path);
            if (now > largest.load()) largest.store(now);
            if (load.reachBytes > 0 && now >= load.reachBytes) reached.store(true);
            if (reached.load() && now <= load.limitBytes && !writersStop.load()) cutBack.store(true);
            if (load.cutBacks > 0 && now > load.cutFromBytes) grown = true;
            if (grown && now <= load.limitBytes && !writersStop.load()) {
                ++cutBacks;
                grown = false;
            }
            if (stayEnded.load() != 0 && withinBound.load() == 0 && now <= load.boundBytes && !writersStop.load())
                withinBound.store(Clock::now().time_since_epoch().count());
            pastBound.store(load.boundBytes > 0 && now > load.boundBytes);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });

    const Clock::time_point begin = Clock::now();
    const Clock::time_point stayUntil = begin + load.stay;
    std::vector<Result> readerResults(static_cast<size_t>(load.readers));
    detail::HandOff handOff;
    handOff.readers.store(load.readers);
    std::vector<std::thread> readers;
    for (int r = 0; r < load.readers; ++r)
        readers.emplace_back([&, r] {
            detail::Read(path, r, load, readersStop, writersStop,
                         r == 0 && (load.stay.count() > 0 || load.stayPastBytes > 0) ? &stayUntil : nullptr,
                         stayEnded, stayedPast, load.handOff ? &handOff : nullptr,
                         readerResults[static_cast<size_t>(r)]);
        });

    std::vector<Result> writerResults(static_cast<size_t>(load.writers));
    std::vector<std::thread> writers;
    for (int w = 0; w < load.writers; ++w)
        writers.emplace_back([&, w] {
            detail::Write(load.firstWriter + w, writersStop, pastBound, stayEnded,
                          writerResults[static_cast<size_t>(w)]);
        });
    Result result;
    // What the writes go on for.
    const auto happened = [&] {
        if (load.reachBytes > 0 && !cutBack.load()) return false;
        if (cutBacks.load() < load.cutBacks) return false;
        if ((load.stayPastBytes > 0 || (load.stay.count() > 0 && load.boundBytes > 0)) && withinBound.load() == 0)
            return false;
        if (!load.stopFile.empty() && ::access(load.stopFile.c_str(), F_OK) != 0) return false;
        return !load.enough || load.enough();
    };
    const std::chrono::milliseconds longest = std::max(load.longest, load.writing);
    while (Clock::now() - begin < load.writing || !happened()) {
        if (Clock::now() - begin >= longest) {
            result.timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    writersStop.store(true);
    for (std::thread& t : writers) t.join();
    const Clock::time_point written = Clock::now();

    result.writeSeconds = std::chrono::duration<double>(written - begin).count();
    while (Clock::now() - written < load.settling) {
        if (LogFileSize(path) <= load.limitBytes) {
            result.backWithinLimitSeconds = std::chrono::duration<double>(Clock::now() - written).count();
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    readersStop.store(true);
    for (std::thread& t : readers) t.join();
    watching.store(false);
    watcher.join();

    for (Result& w : writerResults) {
        result.writes += w.writes;
        result.failedWrites += w.failedWrites;
        result.writesPastBound += w.writesPastBound;
        result.longestWriteSeconds = std::max(result.longestWriteSeconds, w.longestWriteSeconds);
        result.longestWriteAfterStaySeconds =
            std::max(result.longestWriteAfterStaySeconds, w.longestWriteAfterStaySeconds);
        result.longestWriteBeforeStayEndedSeconds =
            std::max(result.longestWriteBeforeStayEndedSeconds, w.longestWriteBeforeStayEndedSeconds);
        result.writeTimes.insert(result.writeTimes.end(), w.writeTimes.begin(), w.writeTimes.end());
    }
    std::sort(result.writeTimes.begin(), result.writeTimes.end());
    if (!result.writeTimes.empty()) {
        result.medianWriteSeconds = result.writeTimes[result.writeTimes.size() / 2];
        result.p99WriteSeconds = result.writeTimes[result.writeTimes.size() * 99 / 100];
    }
    for (const Result& r : readerResults) {
        result.reads += r.reads;
        result.failedReads += r.failedReads;
    }
    result.largestLogBytes = std::max(largest.load(), LogFileSize(path));
    result.reached = reached.load();
    result.cutBackAfterReaching = cutBack.load();
    result.cutBacks = cutBacks.load();
    result.stayedPastBound = stayedPast.load();
    if (stayEnded.load() != 0 && withinBound.load() != 0)
        result.backWithinBoundSeconds =
            std::chrono::duration<double>(Clock::duration(withinBound.load() - stayEnded.load())).count();
    return result;
}

}  // namespace log_under_readers
