// The memory a connection gives the catalogue (page cache, memory map) and
// the checkpoints of its write-ahead log, which a thread of their own runs in
// the background so that no request waits for one (the thread that commits
// runs one only at the log's hard limit, which readers or a thread fallen
// behind let it reach), and which keep the log file from staying larger than
// its limit.
//
// The background thread is started by the first checkpoint asked for and
// ends with the process: its Checkpointer, like the per-file registries it
// uses, is never destroyed, and a handler registered with the C library
// when the thread starts (std::atexit, run on a return from main and on
// exit(), before the objects made before the thread are destroyed) stops the
// thread and joins it. The libraries are never unloaded (dlclose leaves them
// mapped: they hold unique symbols, which the loader keeps), so the handler
// runs at the process's end only. Stopping wakes the thread out of each of
// its waits at once (the writers' turn, its connection's busy handler, the
// waits for the log's readers), whatever the other threads hold: the end
// waits for no writer. A child of fork, which has no such thread, neither
// stops nor joins anything.
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <map>
#include <string>
#include <thread>

#include "host/db/DBConnection.h"
#include "host/db/DBJournal.h"
#include "host/db/DBLog.h"
#include "host/db/DBLogEpisode.h"
#include "host/db/DBLogFile.h"
#include "host/db/DBSettings.h"

namespace {

const char kSourceFile[] = "DBJournal";

// A log this many times the checkpoint size is copied whole and started
// again from its beginning, in a turn among the writers. While writers keep
// the log busy it is never found copied whole between two of them; the turn
// holds them for the two file syncs of the checkpoint (milliseconds), so it
// is taken rarely.
const unsigned long kRestartFactor = 40;
// A log file still above its limit after a checkpoint (a reader kept its
// pages, another process held the log) is checkpointed again after this
// delay, doubled each time up to the longest; a checkpoint that gave up
// waiting for the readers of a log holds off the next waits for them as
// long.
const std::chrono::milliseconds kFirstRetry(250);
const std::chrono::milliseconds kLongestRetry(8000);
// The first hold-off after a give-up: kFirstRetry unless a test lengthened
// it.
std::atomic<long long> g_firstHoldOffMs{kFirstRetry.count()};
// Called on the background thread as each checkpoint begins (tests slow the
// checkpoints with it); guarded by g_checkpointStartMutex.
std::mutex g_checkpointStartMutex;
std::function<void()> g_checkpointStart;
// How long a checkpoint below the hard limit, in its turn among the
// writers, waits for the readers still reading from the log; the writers
// queued behind it wait no longer than that for it. It covers readers of a
// few milliseconds: the readers of an older state must end before the log is
// copied whole, and those that began meanwhile (they took a place in the log)
// before it can be started again.
const std::chrono::milliseconds kReaderWait(200);
// A copy of the log beside the writers that took longer than this left a
// log far from copied whole (a reader that kept it ended, the thread fell
// behind): the background thread copies again at once, up to
// kMostCatchUpCopies times, before any checkpoint holds the writers; one
// that held them would copy all that was written meanwhile. What is left
// after a copy this short is copied within about as long.
const std::chrono::milliseconds kLastStretch(50);
const int kMostCatchUpCopies = 16;

using Clock = std::chrono::steady_clock;

// One try of a checkpoint that waits for the log's readers waits this long
// for a reader. A reader that begins again at once may take the very place
// in the log's reader marks that the checkpoint waits for, now marking the
// end of the log, and the checkpoint would wait for it to the end; the next
// try reads the marks afresh and no longer waits for that one.
const std::chrono::milliseconds kReaderTry(10);
// What a try waits for: its deadline, and the flag that ends it sooner.
struct TryLimit {
    Clock::time_point deadline;
    const std::atomic<bool>* giveUp;

    bool givenUp() const { return giveUp != nullptr && giveUp->load(std::memory_order_acquire); }
};

// A busy handler: true (wait a little and try again) until the deadline of
// the TryLimit it is given has passed or its flag is set.
int waitUntil(void* limit, int)
{
    const TryLimit& tryLimit = *static_cast<const TryLimit*>(limit);
    const Clock::time_point until = tryLimit.deadline;
    const Clock::time_point now = Clock::now();
    if (now >= until || tryLimit.givenUp()) return 0;
    std::this_thread::sleep_for(std::min<Clock::duration>(std::chrono::milliseconds(1), until - now));
    return 1;
}

// A checkpoint of db that copies the log whole and then waits for the
// readers still reading from it (mode RESTART or TRUNCATE: the next writer
// starts the log from its beginning; TRUNCATE also empties its file), tried
// again until they are gone or `wait` has passed, or the log is not yet
// copied whole after `copyWithin`; the writers must be held. The busy
// handling of db is the library's again afterwards. Its result (SQLITE_BUSY:
// the readers were not gone in time); *copied: the frames of the log in the
// file when it ended (-1: not known).
// Once *giveUp (when given) is true, it gives up within a millisecond, as
// when the readers were not gone in time.
int checkpointWithReadersGone(sqlite3* db, int mode, Clock::duration wait, Clock::duration copyWithin, int* copied,
                              const std::atomic<bool>* giveUp)
{
    // Each try waits for the readers until its deadline.
    TryLimit limit{Clock::time_point(), giveUp};
    sqlite3_busy_handler(db, &waitUntil, &limit);
    const Clock::time_point begin = Clock::now();
    Clock::time_point until = begin + std::min(wait, copyWithin);
    int rc = SQLITE_BUSY;
    *copied = -1;
    for (Clock::time_point now = begin; now < until && !limit.givenUp(); now = Clock::now()) {
        limit.deadline = std::min(until, now + kReaderTry);
        int logged = -1;
        int done = -1;
        rc = sqlite3_wal_checkpoint_v2(db, "main", mode, &logged, &done);
        if (done >= 0) *copied = done;
        if (rc != SQLITE_BUSY) break;
        // Copied whole: what is left is the wait for the readers that took a
        // place in the log meanwhile.
        if (logged >= 0 && done == logged) until = begin + wait;
        // Busy at once (another process's checkpoint): not a spin.
        if (Clock::now() - now < std::chrono::milliseconds(1)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    dbSetBusyHandling(db);
    return rc;
}

// Of the log of a catalogue file.
struct Limit {
    unsigned long long bytes = ~0ULL;  // the size its file is cut back to
    unsigned long restartPages = 0;    // the pages at which it is started again
    std::chrono::milliseconds ceiling{kDefaultReaderWaitCeilingMs};  // the longest wait there
};

// Runs the checkpoints asked for, one catalogue file at a time, each on a
// connection of its own opened for it. Keeps, for each file, the limits of
// its log and the hold-offs of the waits for its readers, which the thread
// that commits shares.
class Checkpointer {
public:
    static Checkpointer& instance()
    {
        // Never destroyed: the thread may still run when the objects of
        // static storage go (stop() ends it first).
        static Checkpointer* const checkpointer = new Checkpointer();
        return *checkpointer;
    }

    // Asks for a checkpoint of the file at path; with restart, for one that
    // lets the next writer start the log again.
    void request(const std::string& path, bool restart)
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        if (m_stopping) return;
        m_pending[path] |= restart;
        if (!m_thread) {
            // Registered before the thread starts, so that it runs before the
            // objects the thread uses are destroyed; once per process: the
            // thread is not started again after the stop.
            if (!m_stopRegistered) m_stopRegistered = std::atexit(&Checkpointer::stopAtEnd) == 0;
            m_thread.reset(new std::thread([this] { run(); }));
        }
        m_wake.notify_one();
    }

    // Stops the thread and joins it: the checkpoint under way ends at once,
    // out of any wait (for the writers' turn, in the busy handler, for the
    // log's readers), whatever other threads hold; no checkpoint is run
    // afterwards.
    void stop()
    {
        std::shared_ptr<DBWriterQueue> waitedOn;
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            m_stopping = true;
            waitedOn = m_turnWaitedOn;
            m_wake.notify_one();
        }
        // After the flag: a wait for the turn that begins later sees it.
        if (waitedOn) waitedOn->wakeAll();
        if (m_thread && m_thread->joinable() && m_thread->get_id() != std::this_thread::get_id()) m_thread->join();
    }

    // The limits of the log of the file at path.
    void setLimit(const std::string& path, const Limit& limit)
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_logs[path].limit = limit;
    }

    unsigned long runs()
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        return m_runs;
    }

    // Whether the thread waits on m_wake with no checkpoint asked for.
    bool idle()
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        return m_idle && m_pending.empty();
    }

    // Whether a short wait for the readers of the log of the file at path
    // would be held off now; counted when it would. While a give-up at the
    // log's hard limit, in this process or another, holds for its readers,
    // every such wait is; otherwise a retry never is, and a first try is
    // within the hold-off of the last give-up.
    bool shortWaitHeldOff(const std::string& path, sqlite3* db, bool retrying)
    {
        const std::shared_ptr<DBLogEpisode> episode = episodeOf(path);
        const bool readersKeptLog = episode->kept(dbLogGeneration(db));
        std::lock_guard<std::mutex> guard(m_mutex);
        Log& log = m_logs[path];
        if (readersKeptLog) {
            ++log.waits.heldOff;
            return true;
        }
        return !retrying && withinHoldOff(log, log.shortWaits);
    }

    // Runs checkpointWithReadersGone on db, a connection to the file at
    // path, for up to kReaderWait while the caller holds the writers of the
    // file, unless a give-up of the background thread or of the thread that
    // commits holds such waits off: one hold-off per file, so that a long
    // reader holds the writers for kReaderWait only now and then. A give-up
    // holds them off for twice as long as the one before, up to
    // kLongestRetry; a wait that ends in time ends the doubling. Without
    // heedHoldOff it waits even so; it gives up once *giveUp (when given)
    // is true. Its result; SQLITE_BUSY when held off.
    int waitForReaders(const std::string& path, sqlite3* db, int mode, bool heedHoldOff = true,
                       const std::atomic<bool>* giveUp = nullptr)
    {
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            Log& log = m_logs[path];
            if (heedHoldOff && withinHoldOff(log, log.shortWaits)) return SQLITE_BUSY;
            ++log.waits.begun;
        }
        int copied = -1;
        const Clock::time_point began = Clock::now();
        const int rc = checkpointWithReadersGone(db, mode, kReaderWait, kReaderWait, &copied, giveUp);
        const Clock::duration took = Clock::now() - began;
        std::lock_guard<std::mutex> guard(m_mutex);
        Log& log = m_logs[path];
        log.waits.longestWaitMs = std::max(log.waits.longestWaitMs, milliseconds(took));
        if (rc == SQLITE_BUSY) {
            ++log.waits.gaveUp;
            holdOff(log.shortWaits);
        } else if (rc == SQLITE_OK) {
            log.shortWaits = HoldOff();
        }
        return rc;
    }

    // At the hard limit of the log of the file at path, while the thread
    // that commits on db holds its writers: waits for the readers still
    // reading from the log for up to the ceiling (for up to half of it until
    // the log is copied whole), so that the log is started again before it
    // grows further. After a give-up (a reader stayed longer), in this
    // process or another one, no wait for the readers begins before those
    // readers moved on (a checkpoint beside the writers copies more of the
    // log, and copies it nearly whole); after that, within its own hold-off,
    // the short wait of waitForReaders is tried instead. The first give-up
    // among all processes after the log was last started again writes one
    // entry. Its result; SQLITE_BUSY when the readers were not gone in time
    // or the wait was held off.
    int waitAtHardLimit(const std::string& path, sqlite3* db, int mode)
    {
        const std::shared_ptr<DBLogEpisode> episode = episodeOf(path);
        // The writers of this process are held, not those of the others: a
        // background thread of another process may start the log again
        // during the wait, and a give-up is then of a log that is no more
        // (the episode notes none of it).
        const DBLogGeneration generation = dbLogGeneration(db);
        std::chrono::milliseconds ceiling{0};
        bool holdsOff = false;
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            Log& log = m_logs[path];
            ceiling = log.limit.ceiling;
            holdsOff = Clock::now() < log.longWaits.until;
        }
        Clock::time_point since;
        const bool readersKeptLog = episode->kept(generation);
        if (readersKeptLog || holdsOff) {
            {
                std::lock_guard<std::mutex> guard(m_mutex);
                ++m_logs[path].waits.heldOff;
            }
            return readersKeptLog ? SQLITE_BUSY : waitForReaders(path, db, mode);
        }
        if (!episode->beginWait(generation, &since)) {
            std::lock_guard<std::mutex> guard(m_mutex);
            ++m_logs[path].waits.heldOff;
            return SQLITE_BUSY;
        }
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            Log& log = m_logs[path];
            ++log.waits.begun;
            ++log.waits.hardLimitBegun;
        }

        const Clock::time_point began = Clock::now();
        int copied = -1;
        // The ceiling covers two reads: one still under way when the wait
        // began, until the log is copied whole, and one begun meanwhile.
        const int rc = checkpointWithReadersGone(db, mode, ceiling, ceiling / 2, &copied, nullptr);
        const Clock::duration took = Clock::now() - began;
        const bool report = rc == SQLITE_BUSY && episode->gaveUp(generation, copied);
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            Log& log = m_logs[path];
            log.waits.longestWaitMs = std::max(log.waits.longestWaitMs, milliseconds(took));
            log.waits.longestHardLimitWaitMs = std::max(log.waits.longestHardLimitWaitMs, milliseconds(took));
            if (rc == SQLITE_BUSY) {
                ++log.waits.gaveUp;
                ++log.waits.hardLimitGaveUp;
                holdOff(log.longWaits);
                // The readers outlast any short wait too.
                holdOff(log.shortWaits);
            } else if (rc == SQLITE_OK) {
                log.longWaits = HoldOff();
                // Readers that outlast the short waits: those are held off.
                if (took > kReaderWait)
                    holdOff(log.shortWaits);
                else
                    log.shortWaits = HoldOff();
            }
        }
        if (report)
            log_error(kSourceFile, __LINE__,
                      "The write-ahead log of the catalogue %s is %llu bytes: its readers have kept it from being "
                      "started again for %.1f s",
                      path.c_str(), dbWalFileSize(path), std::chrono::duration<double>(Clock::now() - since).count());
        return rc;
    }

    DBReaderWaits readerWaits(const std::string& path)
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        const auto found = m_logs.find(path);
        return found != m_logs.end() ? found->second.waits : DBReaderWaits();
    }

private:
    Checkpointer() = default;

    // At the process's end. A child of fork has no thread of its own, and
    // the parent's mutex, condition and thread are not its own to use.
    static void stopAtEnd()
    {
        if (dbCatalogueInherited()) return;
        instance().stop();
    }

    bool stopping() const { return m_stopping.load(std::memory_order_acquire); }

    // The busy handler of the thread's connection: waits as the library's
    // does (up to kBusyTimeoutMs), in short sleeps, and gives up once the
    // thread is stopping.
    static int busyUntilStopped(void* self, int tries)
    {
        Checkpointer& checkpointer = *static_cast<Checkpointer*>(self);
        const Clock::time_point now = Clock::now();
        if (tries == 0) checkpointer.m_busySince = now;
        if (checkpointer.stopping() || now - checkpointer.m_busySince >= std::chrono::milliseconds(kBusyTimeoutMs))
            return 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(tries + 1, 10)));
        return 1;
    }

    static double milliseconds(Clock::duration span) { return std::chrono::duration<double, std::milli>(span).count(); }

    // Waits for the readers of a log: none begins before `until`; the next
    // give-up holds them off for `next` (0: the first hold-off).
    struct HoldOff {
        Clock::time_point until{};
        std::chrono::milliseconds next{0};
    };

    // The log of a catalogue file: its limits, the hold-offs of the short
    // waits for its readers and of those at its hard limit, what the readers
    // did there, and its episodes at the hard limit, which the processes
    // writing the file share.
    struct Log {
        Limit limit;
        HoldOff shortWaits;
        HoldOff longWaits;
        DBReaderWaits waits;
        std::shared_ptr<DBLogEpisode> episode;
    };

    // The episodes of the log of the file at path.
    std::shared_ptr<DBLogEpisode> episodeOf(const std::string& path)
    {
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            const auto found = m_logs.find(path);
            if (found != m_logs.end() && found->second.episode) return found->second.episode;
        }
        // Mapped outside m_mutex: the side file's lock may be waited for.
        std::shared_ptr<DBLogEpisode> episode = DBLogEpisode::of(path);
        std::lock_guard<std::mutex> guard(m_mutex);
        Log& log = m_logs[path];
        if (!log.episode) log.episode = episode;
        return log.episode;
    }

    // Whether a wait is within holdOff now; counted as held off when it is.
    // Under m_mutex.
    static bool withinHoldOff(Log& log, const HoldOff& holdOff)
    {
        if (Clock::now() >= holdOff.until) return false;
        ++log.waits.heldOff;
        return true;
    }

    // After a give-up: the next waits are held off for twice as long as after
    // the last one, up to kLongestRetry. Under m_mutex.
    static void holdOff(HoldOff& holdOff)
    {
        const std::chrono::milliseconds delay =
            holdOff.next.count() > 0 ? holdOff.next : std::chrono::milliseconds(g_firstHoldOffMs.load());
        holdOff.until = Clock::now() + delay;
        holdOff.next = std::min(delay * 2, kLongestRetry);
    }

    // What a copy of the log beside the writers found: `copied` of its
    // frames in the file, and with caughtUp, what is left is a short
    // stretch. Past the frames copied when a wait at the hard limit gave up
    // (a count known), the readers that kept the log moved on: once the copy
    // caught up, the waits for the readers are tried again at once.
    void noteCopied(const std::string& path, sqlite3* db, int copied, bool caughtUp)
    {
        const std::shared_ptr<DBLogEpisode> episode = episodeOf(path);
        if (!episode->noteCopied(dbLogGeneration(db), copied, caughtUp)) return;
        std::lock_guard<std::mutex> guard(m_mutex);
        m_logs[path].shortWaits.until = Clock::time_point();
    }

    // A checkpoint of a log file that stayed above its limit, due at a time.
    struct Retry {
        Clock::time_point due;
        std::chrono::milliseconds delay;
    };

    void run()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        while (true) {
            m_idle = true;
            if (m_retries.empty())
                m_wake.wait(lock, [this] { return m_stopping || !m_pending.empty(); });
            else
                m_wake.wait_until(lock, earliestRetry()->second.due,
                                  [this] { return m_stopping || !m_pending.empty(); });
            m_idle = false;
            if (m_stopping) {
                closeConnection();
                return;
            }
            std::string path;
            bool restart = false;
            bool retrying = false;
            std::chrono::milliseconds delay = kFirstRetry;
            if (!m_pending.empty()) {
                path = m_pending.begin()->first;
                restart = m_pending.begin()->second;
                m_pending.erase(m_pending.begin());
                m_retries.erase(path);
            } else {
                auto retry = earliestRetry();
                if (retry->second.due > Clock::now()) continue;
                path = retry->first;
                delay = std::min(retry->second.delay * 2, kLongestRetry);
                m_retries.erase(retry);
                retrying = true;
            }
            const auto found = m_logs.find(path);
            const Limit limit = found != m_logs.end() ? found->second.limit : Limit();
            lock.unlock();
            const bool above = checkpoint(path, restart, limit, retrying);
            lock.lock();
            ++m_runs;
            if (above && m_pending.count(path) == 0) m_retries[path] = Retry{Clock::now() + delay, delay};
        }
    }

    std::map<std::string, Retry>::iterator earliestRetry()
    {
        auto earliest = m_retries.begin();
        for (auto it = m_retries.begin(); it != m_retries.end(); ++it)
            if (it->second.due < earliest->second.due) earliest = it;
        return earliest;
    }

    // Copies the log into the file while the writers go on, again and again
    // while each copy takes long (the log far from copied whole) and gets
    // further. For a restart, or when the log was copied whole and its file
    // is larger than the limit, it then takes a turn of its own among them,
    // once the copy caught up, copies what they added meanwhile and waits up
    // to kReaderWait for the readers still reading from the log: the next
    // writer then starts the log again from its beginning instead of letting
    // it grow, and a file above the limit is emptied meanwhile (however
    // large: the writers are held while the file system frees its blocks,
    // about 0.5 s per GiB). When the readers are
    // not gone in time it gives up, leaving the log as it was, and the
    // writers go on; within the hold-off after a give-up (its own or the
    // thread's that commits) it takes no such turn, unless the readers that
    // kept the log at its hard limit moved on, or it is retrying (no writer
    // asked for a checkpoint since the last one: the retries' own doubling
    // delays space its turns); while a give-up at the hard limit holds for
    // the readers, it takes none. Once the thread is stopping, it copies no
    // further and takes no turn, and a wait for the turn or for the readers
    // under way ends.
    // True when the log file is still larger than the limit afterwards.
    bool checkpoint(const std::string& path, bool restart, const Limit& limit, bool retrying)
    {
        sqlite3* db = connectionTo(path);
        if (db == nullptr) return false;
        {
            std::function<void()> start;
            {
                std::lock_guard<std::mutex> guard(g_checkpointStartMutex);
                start = g_checkpointStart;
            }
            if (start) start();
        }
        int logged = 0;
        int copied = 0;
        int rc = SQLITE_OK;
        bool caughtUp = false;
        for (int copies = 0; rc == SQLITE_OK && !caughtUp; ++copies) {
            const int before = copied;
            const Clock::time_point began = Clock::now();
            rc = sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_PASSIVE, &logged, &copied);
            // Short, or nothing more to copy (the readers keep the rest).
            caughtUp = Clock::now() - began <= kLastStretch || copied <= before;
            if (rc == SQLITE_OK) noteCopied(path, db, copied, caughtUp);
            if (!caughtUp && (copies + 1 >= kMostCatchUpCopies || stopping())) break;
        }
        const bool above = dbWalFileSize(path) > limit.bytes;
        // A restart asked for before the log was started again meanwhile is
        // not needed any more.
        restart = restart && static_cast<unsigned long>(logged) >= limit.restartPages;
        if (rc == SQLITE_OK && caughtUp && (restart || (above && logged == copied)) && !stopping() &&
            !shortWaitHeldOff(path, db, retrying)) {
            std::shared_ptr<DBWriterQueue> writers = DBWriterQueue::of(path);
            {
                std::lock_guard<std::mutex> guard(m_mutex);
                m_turnWaitedOn = writers;
            }
            const bool entered = writers->enter(std::chrono::milliseconds(kBusyTimeoutMs), &m_stopping);
            {
                std::lock_guard<std::mutex> guard(m_mutex);
                m_turnWaitedOn.reset();
            }
            if (entered) {
                // The file as it is now that no writer of the process adds to it.
                const int mode =
                    dbWalFileSize(path) > limit.bytes ? SQLITE_CHECKPOINT_TRUNCATE : SQLITE_CHECKPOINT_RESTART;
                rc = waitForReaders(path, db, mode, !retrying, &m_stopping);
                sqlite3_busy_handler(db, &Checkpointer::busyUntilStopped, this);
                writers->leave();
            }
        }
        if (rc != SQLITE_OK && rc != SQLITE_BUSY) {
            log_error(kSourceFile, __LINE__, "Checkpoint of the catalogue %s failed: %s", path.c_str(),
                      sqlite3_errmsg(db));
            closeConnection();
            return false;
        }
        return dbWalFileSize(path) > limit.bytes;
    }

    // The thread's connection to the file at path, kept from one checkpoint
    // to the next of the same file (its schema is read once); a file put in
    // the place of the one it was opened on is opened anew. Null when the
    // file cannot be opened; a file removed meanwhile is not made again.
    sqlite3* connectionTo(const std::string& path)
    {
        struct stat now;
        const bool exists = ::stat(path.c_str(), &now) == 0;
        if (m_db != nullptr && m_path == path && exists && now.st_dev == m_file.st_dev && now.st_ino == m_file.st_ino)
            return m_db;
        closeConnection();
        if (!exists) return nullptr;
        sqlite3* db = nullptr;
        int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        // Before the first read, which may wait for another process.
        if (rc == SQLITE_OK) sqlite3_busy_handler(db, &Checkpointer::busyUntilStopped, this);
        // A first read finds the log.
        if (rc == SQLITE_OK) rc = sqlite3_exec(db, "PRAGMA schema_version", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            log_error(kSourceFile, __LINE__, "Checkpoint of the catalogue %s failed: %s", path.c_str(),
                      db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
            sqlite3_close_v2(db);
            return nullptr;
        }
        sqlite3_busy_handler(db, &Checkpointer::busyUntilStopped, this);
        m_db = db;
        m_path = path;
        m_file = now;
        return m_db;
    }

    // Closes the thread's connection.
    void closeConnection()
    {
        if (m_db != nullptr) sqlite3_close_v2(m_db);
        m_db = nullptr;
        m_path.clear();
    }

    // The checkpoint thread's own.
    sqlite3* m_db = nullptr;
    std::string m_path;
    struct stat m_file {};
    Clock::time_point m_busySince;  // the first try of its connection's busy wait

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::map<std::string, bool> m_pending;  // file -> restart
    std::map<std::string, Retry> m_retries;
    std::map<std::string, Log> m_logs;
    // Set under m_mutex, read by the thread's waits without it.
    std::atomic<bool> m_stopping{false};
    bool m_stopRegistered = false;
    // The queue whose turn the thread waits for, while it does.
    std::shared_ptr<DBWriterQueue> m_turnWaitedOn;
    unsigned long m_runs = 0;
    bool m_idle = false;  // the thread waits on m_wake
    std::unique_ptr<std::thread> m_thread;
};

// The hook SQLite calls after each commit.
int afterCommit(void* context, sqlite3*, const char*, int pages)
{
    return dbAfterCommit(*static_cast<DBConnection*>(context), pages);
}

}  // namespace

int dbTuneConnection(DBConnection& conn)
{
    const DBSettings settings = dbReadSettings(conn.path);
    const DBLogLimits limits = dbLogLimits(settings, dbPageSize(conn), kReaderWait);
    conn.checkpointPages = limits.checkpointPages;
    // A negative cache size counts KiB rather than pages.
    std::string sql = "PRAGMA cache_size = -" + std::to_string(settings.cacheKB) +
                      "; PRAGMA mmap_size = " + std::to_string(static_cast<unsigned long long>(settings.mmapMB) << 20) +
                      "; PRAGMA journal_size_limit = " + std::to_string(limits.walLimitBytes);
    int rc = dbExec(conn, sql.c_str());
    if (rc != 0) {
        log_error(kSourceFile, __LINE__, "Cannot set up the connection to the catalogue %s: %s", conn.path.c_str(),
                  sqlite3_errstr(rc));
        return rc;
    }
    conn.walLimitBytes = limits.walLimitBytes;
    conn.hardLimitPages = limits.hardLimitPages;
    conn.readerWaitCeiling = limits.readerWaitCeiling;
    Limit limit;
    limit.bytes = limits.walLimitBytes;
    limit.restartPages = kRestartFactor * conn.checkpointPages;
    limit.ceiling = conn.readerWaitCeiling;
    Checkpointer::instance().setLimit(conn.path, limit);
    // Replaces the checkpoint SQLite runs itself on the committing thread.
    sqlite3_wal_hook(conn.db, afterCommit, &conn);
    return 0;
}

int dbAfterCommit(DBConnection& conn, int pages)
{
    const unsigned long logged = pages > 0 ? static_cast<unsigned long>(pages) : 0;
    if (logged < conn.checkpointPages) return SQLITE_OK;
    // At the hard limit whatever the log file's size: the writers wait there
    // in every state but the hold-offs after a give-up.
    if (logged >= conn.hardLimitPages) {
        const int mode = dbWalFileSize(conn.path) > conn.walLimitBytes ? SQLITE_CHECKPOINT_TRUNCATE
                                                                     : SQLITE_CHECKPOINT_RESTART;
        if (Checkpointer::instance().waitAtHardLimit(conn.path, conn.db, mode) == SQLITE_OK) return SQLITE_OK;
    }
    Checkpointer::instance().request(conn.path, logged >= kRestartFactor * conn.checkpointPages);
    return SQLITE_OK;
}

unsigned long dbBackgroundCheckpoints() { return Checkpointer::instance().runs(); }

bool dbBackgroundThreadIdle() { return Checkpointer::instance().idle(); }

DBReaderWaits dbReaderWaits(const std::string& path) { return Checkpointer::instance().readerWaits(path); }

void dbSetReaderWaitHoldOff(std::chrono::milliseconds first)
{
    g_firstHoldOffMs.store(first.count() > 0 ? first.count() : kFirstRetry.count());
}

void dbSetCheckpointStart(std::function<void()> start)
{
    std::lock_guard<std::mutex> guard(g_checkpointStartMutex);
    g_checkpointStart = std::move(start);
}
