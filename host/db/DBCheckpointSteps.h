// The steps on the database of which the checkpoints of a catalogue's
// write-ahead log are made (internal to host/db): a checkpoint that waits
// for the readers still reading from the log, the start of the log again
// without cutting its file, and one cut of a log file too large to be
// emptied at once.
#pragma once

#include <sqlite3.h>

#include <chrono>
#include <string>

class DBWriterQueue;

// The size of the write-ahead log file of the catalogue at path; 0 when it
// has none.
unsigned long long dbWalFileSize(const std::string& path);

// A checkpoint of db that copies the log whole and then waits for the
// readers still reading from it (mode RESTART or TRUNCATE: the next writer
// starts the log from its beginning; TRUNCATE also empties its file), tried
// again until they are gone or `wait` has passed, or the log is not yet
// copied whole after `copyWithin`; the writers must be held. The busy
// handling of db is the library's again afterwards. Its result (SQLITE_BUSY:
// the readers were not gone in time); *copied: the frames of the log in the
// file when it ended (-1: not known).
int dbCheckpointWithReadersGone(sqlite3* db, int mode, std::chrono::steady_clock::duration wait,
                                std::chrono::steady_clock::duration copyWithin, int* copied);

// Whether the log file of the file at path is too large to be emptied at
// once, its limit being limitBytes.
bool dbLogTooLargeToEmpty(const std::string& path, unsigned long long limitBytes);

// Writes the first frame of the log just started again, on db, a connection
// that never cuts the log file: the catalogue's user version, unchanged. Its
// result.
int dbBeginLogAgain(sqlite3* db);

// What one cut of a log file did.
struct DBLogCut {
    bool tried = false;                       // the turn and the write lock were had
    bool cut = false;                         // the file was cut
    unsigned long long to = 0;                // the size it was cut to
    std::chrono::steady_clock::duration took{0};  // how long the write lock was held for it
};
// Cuts the log file of the file at path, on db, toward limitBytes by the cut
// step (dbSetLogCutStep), never below the end of the log's frames: in a turn
// among the writers of the process and under the database's write lock, so
// that no writer adds a frame meanwhile, which holds the writers of all
// processes for that one cut. Not tried when the turn did not come within
// the busy timeout or a writer kept the lock for `wait`.
DBLogCut dbCutLogStep(const std::string& path, sqlite3* db, unsigned long long limitBytes, DBWriterQueue& writers,
                      std::chrono::milliseconds wait);
