// What the library reads of the database engine's own files of a catalogue
// (internal to host/db): the size of the write-ahead log file and which log
// it holds.
//
// It is where the rule of DBtable.h's opening comment is kept: those files
// are read through SQLite's own descriptors or through `stat`, never opened.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>

// The size of the write-ahead log file of the catalogue at path (through
// `stat`); 0 when it has none.
unsigned long long dbWalFileSize(const std::string& path);

// Which log a catalogue file has: the checkpoint sequence number and the
// salts of the log's header, which change each time it is started again.
struct DBLogGeneration {
    uint32_t words[3] = {0, 0, 0};
    bool operator==(const DBLogGeneration& other) const;
};

// The generation of the log of the catalogue open on db ("main"), read
// through the descriptor SQLite keeps for the log file of that connection;
// zeros when the connection has no log open or the log has no header yet.
// Only on the thread that uses db, or with db's mutex free to be taken.
DBLogGeneration dbLogGeneration(sqlite3* db);
