// The numeric settings of a connection to a catalogue file, as the
// configuration gives them, and the sizes and limits of its page cache and
// write-ahead log computed from them (internal to host/db).
#pragma once

#include <chrono>
#include <string>

struct DBConnection;

// The longest wait for the readers at the log's hard limit, in milliseconds,
// unless the settings give another: the rest of one read transaction and the
// whole of the next (a reader that begins again before the log is copied
// whole takes a place in it), for reads of up to 1.5 s; far below the busy
// timeout, so that no writer of this process or another one queued behind it
// fails. A read still under way after half of it is longer than that: the
// wait gives up then.
const unsigned long kDefaultReaderWaitCeilingMs = 3000;

// The numeric settings of a connection to a catalogue file.
struct DBSettings {
    unsigned long cacheKB = 0;
    unsigned long mmapMB = 0;
    unsigned long checkpointPages = 0;
    unsigned long walLimitKB = 0;
    unsigned long hardLimitKB = 0;  // 0: kHardLimitFactor times the checkpoint size
    unsigned long ceilingMs = 0;
};

// The settings for a connection to the catalogue file at path, as the
// configuration gives them now. A value not taken is logged at ERR once per
// catalogue file, key and value (connections are opened often).
DBSettings dbReadSettings(const std::string& path);

// The page size of the catalogue open on conn; SQLite's default when it
// cannot be read (logged at ERR).
unsigned long long dbPageSize(DBConnection& conn);

// What the settings come to for the log of a catalogue file of pages of
// pageSize bytes.
struct DBLogLimits {
    unsigned long checkpointPages = 0;    // the log's size that asks for a checkpoint
    unsigned long long walLimitBytes = 0;  // the size its file is cut back to, at most the hard limit
    unsigned long hardLimitPages = 0;      // its hard limit
    std::chrono::milliseconds readerWaitCeiling{0};  // the longest wait for its readers there
};
// Those of settings; the ceiling is no shorter than shortestWait (the short
// wait of the checkpoints for the readers).
DBLogLimits dbLogLimits(const DBSettings& settings, unsigned long long pageSize,
                        std::chrono::milliseconds shortestWait);
