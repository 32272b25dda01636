// The writer turn of a catalogue as a lone writer of this process finds it.
// Free of any test framework, for the tests and the benchmarks.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "host/db/DBWriterQueue.h"

// Whether a lone writer gets the writer turn of the catalogue at path at once
// (and gives it back).
inline bool WriterTurnFree(const std::string& path)
{
    std::shared_ptr<DBWriterQueue> writers = DBWriterQueue::of(path);
    if (!writers->enter(std::chrono::milliseconds(0))) return false;
    writers->leave();
    return true;
}
