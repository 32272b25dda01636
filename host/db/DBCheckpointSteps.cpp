// The steps on the database of which the checkpoints of a catalogue's
// write-ahead log are made: the wait for the log's readers in short tries,
// the start of the log again without cutting its file, and the cutting of a
// large log file by one step at a time.
#include "host/db/DBCheckpointSteps.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "host/db/DBConnection.h"
#include "host/db/DBLogFile.h"
#include "host/db/DBWriterQueue.h"

namespace {

using Clock = std::chrono::steady_clock;

// One try of a checkpoint that waits for the log's readers waits this long
// for a reader. A reader that begins again at once may take the very place in the log's reader marks that
// the checkpoint waits for, now marking the end of the log, and the
// checkpoint would wait for it to the end; the next try reads the marks
// afresh and no longer waits for that one.
const std::chrono::milliseconds kReaderTry(10);
// A log file larger than its limit by more than this (a log that readers
// kept grew large) is not emptied at once when the log is started again: the
// file system frees its blocks while the writers wait (about 0.5 s per GiB on
// a disk mounted with discard). The background thread starts the log again
// without cutting the file, then cuts the tail beyond the new log's frames
// by this much at a time, each cut under the database's write lock (unless a
// test set another step), and leaves the writers as long again before the
// next one.
const unsigned long long kCutStep = 64ULL << 20;
// A file larger than its limit by up to this many steps (more than the hard
// limit's worth with the default settings) is emptied at once.
const unsigned long long kCutsBeforeEmptying = 4;
std::atomic<unsigned long long> g_cutStep{kCutStep};

// A busy handler: true (wait a little and try again) until the time point
// it is given has passed.
int waitUntil(void* deadline, int)
{
    const Clock::time_point until = *static_cast<const Clock::time_point*>(deadline);
    const Clock::time_point now = Clock::now();
    if (now >= until) return 0;
    std::this_thread::sleep_for(std::min<Clock::duration>(std::chrono::milliseconds(1), until - now));
    return 1;
}

}  // namespace

unsigned long long dbWalFileSize(const std::string& path)
{
    struct stat st;
    return ::stat((path + "-wal").c_str(), &st) == 0 ? static_cast<unsigned long long>(st.st_size) : 0;
}

int dbCheckpointWithReadersGone(sqlite3* db, int mode, Clock::duration wait, Clock::duration copyWithin, int* copied)
{
    // Each try waits for the readers until its deadline.
    Clock::time_point deadline;
    sqlite3_busy_handler(db, &waitUntil, &deadline);
    const Clock::time_point begin = Clock::now();
    Clock::time_point until = begin + std::min(wait, copyWithin);
    int rc = SQLITE_BUSY;
    *copied = -1;
    for (Clock::time_point now = begin; now < until; now = Clock::now()) {
        deadline = std::min(until, now + kReaderTry);
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

bool dbLogTooLargeToEmpty(const std::string& path, unsigned long long limitBytes)
{
    const unsigned long long size = dbWalFileSize(path);
    return size > limitBytes && size - limitBytes > kCutsBeforeEmptying * g_cutStep.load();
}

int dbBeginLogAgain(sqlite3* db)
{
    int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return rc;
    sqlite3_stmt* stmt = nullptr;
    long long version = -1;
    rc = sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &stmt, nullptr);
    if (rc == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW) version = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    if (version >= 0) {
        const std::string sql = "PRAGMA user_version = " + std::to_string(version);
        rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    }
    if (version >= 0 && rc == SQLITE_OK) return sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return rc == SQLITE_OK ? SQLITE_ERROR : rc;
}

DBLogCut dbCutLogStep(const std::string& path, sqlite3* db, unsigned long long limitBytes, DBWriterQueue& writers,
                      std::chrono::milliseconds wait)
{
    DBLogCut step;
    if (!writers.enter(std::chrono::milliseconds(kBusyTimeoutMs))) return step;
    Clock::time_point deadline = Clock::now() + wait;
    sqlite3_busy_handler(db, &waitUntil, &deadline);
    const int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    dbSetBusyHandling(db);
    if (rc != SQLITE_OK) {
        writers.leave();
        return step;
    }
    step.tried = true;
    const Clock::time_point began = Clock::now();
    const unsigned long long size = dbWalFileSize(path);
    const long long end = dbLogFramesEnd(path);
    unsigned long long to = std::max<unsigned long long>(limitBytes, size > g_cutStep.load() ? size - g_cutStep.load() : 0);
    if (end >= 0 && to < size) {
        to = std::max<unsigned long long>(to, static_cast<unsigned long long>(end));
        step.cut = to < size && ::truncate((path + "-wal").c_str(), static_cast<off_t>(to)) == 0;
    }
    step.to = to;
    step.took = Clock::now() - began;
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    writers.leave();
    return step;
}

void dbSetLogCutStep(unsigned long long bytes)
{
    g_cutStep.store(bytes > 0 ? bytes : kCutStep);
}
