// The step on the database of which the checkpoints of a catalogue's
// write-ahead log that wait for its readers are made (internal to host/db):
// a checkpoint tried again and again until the readers still reading from
// the log are gone.
#pragma once

#include <sqlite3.h>

#include <atomic>
#include <chrono>

// A checkpoint of db that copies the log whole and then waits for the
// readers still reading from it (mode RESTART or TRUNCATE: the next writer
// starts the log from its beginning; TRUNCATE also empties its file), tried
// again until they are gone or `wait` has passed, or the log is not yet
// copied whole after `copyWithin`; the writers must be held. The busy
// handling of db is the library's again afterwards. Its result (SQLITE_BUSY:
// the readers were not gone in time); *copied: the frames of the log in the
// file when it ended (-1: not known); *gaveUpEarly: whether it gave up at
// `copyWithin`, before `wait` had passed, the log not copied whole by then.
// Once *giveUp (when given) is true, it gives up within a millisecond, as
// when the readers were not gone in time.
int dbCheckpointWithReadersGone(sqlite3* db, int mode, std::chrono::steady_clock::duration wait,
                                std::chrono::steady_clock::duration copyWithin, int* copied, bool* gaveUpEarly,
                                const std::atomic<bool>* giveUp = nullptr);
