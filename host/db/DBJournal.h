// The journal of a catalogue file (internal to host/db): the memory a
// connection gives it, the checkpoints of its write-ahead log, which a thread
// of their own runs in the background, and the waits for the log's readers
// at its hard limit (DBJournal.cpp).
#pragma once

#include <chrono>
#include <functional>
#include <string>

struct DBConnection;

// Settings of a connection to a prepared catalogue, from section
// "~ReplicationMgr" of the configuration: its page cache ("DBCacheSizeKB"),
// its memory map of the file ("DBMmapSizeMB"), the WAL size in pages at
// which a checkpoint runs ("DBCheckpointPages"), the size its file is cut
// back to ("DBWalSizeLimitKB"), its hard limit ("DBWalHardLimitKB") and the
// longest wait there for its readers ("DBReaderWaitCeilingMs"). The
// checkpoints run on a thread in the background; at the hard limit the
// thread that commits waits, the writers held, for the readers still reading
// from the log, up to the ceiling, and starts the log again before its commit
// returns. A value that is not a number within its key's range (README.md)
// gives the key's default, logged at ERR once per catalogue file, key and
// value; a page size that cannot be read counts as SQLite's default, 4096
// bytes. 0 or a database code.
int dbTuneConnection(DBConnection& conn);
// What the journal does after a commit on conn that left `pages` pages in
// the log (SQLite calls it so, with the writers' turn held; tests call it
// with a count of their choosing): from the checkpoint size on, it asks the
// background thread for a checkpoint, and from the hard limit on it first
// waits for the log's readers and starts the log again. SQLITE_OK.
int dbAfterCommit(DBConnection& conn, int pages);
// Checkpoints the background thread has run so far.
unsigned long dbBackgroundCheckpoints();
// Whether the background thread is started and waits on its condition
// variable, no checkpoint asked for (a retry may be due later).
bool dbBackgroundThreadIdle();
// Of the checkpoints of a catalogue file in this process that wait, in a
// turn among its writers, for the readers still reading from its log (the
// background thread's, and those of the thread that commits): the waits
// begun, those given up because the readers were not gone in time, and those
// not begun because an earlier give-up held them off; of them, the waits at
// the log's hard limit begun and given up. Their longest: of the waits at
// the hard limit, and of any of them (how long the writers were held for
// it).
struct DBReaderWaits {
    unsigned long begun = 0;
    unsigned long gaveUp = 0;
    unsigned long heldOff = 0;
    unsigned long hardLimitBegun = 0;
    unsigned long hardLimitGaveUp = 0;
    double longestHardLimitWaitMs = 0;
    double longestWaitMs = 0;
};
// Those of the catalogue file at path so far.
DBReaderWaits dbReaderWaits(const std::string& path);
// How long the first give-up of such a wait holds off the next ones, from
// now on (tests lengthen it; 0 or less: the usual again).
void dbSetReaderWaitHoldOff(std::chrono::milliseconds first);
// Called on the background thread as each of its checkpoints begins, from
// now on (tests slow the checkpoints with it; empty: nothing).
void dbSetCheckpointStart(std::function<void()> start);
