// The files of a catalogue on disk: the file itself, the database's
// companions beside it and the writers' side file. Free of any test framework,
// for the tests and the benchmarks.
#pragma once

#include <unistd.h>

#include <string>

#include "host/db/DBSideFile.h"

// Removes the catalogue file at path and every file kept beside it; one that
// is not there is passed over.
inline void RemoveCatalogueFiles(const std::string& path)
{
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) unlink((path + suffix).c_str());
    unlink(DBSideFile::pathOf(path).c_str());
}
