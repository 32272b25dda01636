// The checkpoint that waits for the log's readers, in short tries.
#include "host/db/DBCheckpointSteps.h"

#include <algorithm>
#include <thread>

#include "host/db/DBConnection.h"

namespace {

using Clock = std::chrono::steady_clock;

// One try of a checkpoint that waits for the log's readers waits this long
// for a reader. A reader that begins again at once may take the very place in the log's reader marks that
// the checkpoint waits for, now marking the end of the log, and the
// checkpoint would wait for it to the end; the next try reads the marks
// afresh and no longer waits for that one.
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

}  // namespace

int dbCheckpointWithReadersGone(sqlite3* db, int mode, Clock::duration wait, Clock::duration copyWithin, int* copied,
                                bool* gaveUpEarly, const std::atomic<bool>* giveUp)
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
    *gaveUpEarly = rc == SQLITE_BUSY && until < begin + wait;
    return rc;
}
