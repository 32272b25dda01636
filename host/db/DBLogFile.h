// What the library reads of a catalogue's write-ahead log beside SQLite
// (internal to host/db): where the frames of the log end, from the header of
// its index (the "-shm" file), so that the file's tail beyond them, left by
// a log that grew large before it was started again, can be cut in steps.
#pragma once

#include <string>

// The end in bytes of the frames of the log of the catalogue at path, as the
// header of its index says; -1 when the index cannot be read or is not set
// up. Only while the caller holds the database's write lock (a write
// transaction open) does no frame follow meanwhile.
long long dbLogFramesEnd(const std::string& path);
