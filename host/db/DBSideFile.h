// The side file beside a catalogue ("<catalogue>-writers"), in which the
// processes writing the catalogue share what they know (internal to
// host/db). It is the one unit that opens, locks, sets up and maps it.
//
// Layout: pages of 4096 bytes, each the state of one unit, each beginning
// with its layout words (DBSideFileLayout), then the robust mutex that
// guards the rest of it (DBSideFilePageHead):
//   page 0, the writers' turn among the processes (DBProcessTurn);
//   page 1, the episodes at the write-ahead log's hard limit (DBLogEpisode).
// The layout words say whose page it is, in which layout, and the sizes it
// was made with (of the page's state and of a process-shared mutex), so that
// processes of another layout or of another ABI (a 32-bit and a 64-bit
// process) refuse each other's pages instead of reading them at other
// offsets.
//
// Who may make the pages anew: only a process alone with the file. Each
// process holds a shared flock on the file for as long as it has the pages
// mapped: one mapping per process, shared by the turn and the episodes, so
// that the episodes' page is never made anew under a process that has it
// mapped. Whether a process is alone is decided under the set-up lock, an
// open-file lock of the file's first byte (the kernel drops it with a
// process that dies), waited for no longer than kSideFileLockWait (a lock of
// the open file names no holder whose state could be looked at). A process
// alone sets every page up anew, whatever processes that ended left in it
// (a mutex held after a crash of the machine); a process that is not alone
// uses the file only when every page is of this layout, and otherwise not
// at all (the writers then rely on the database's busy handler, and each
// process keeps its episodes alone). The file is grown, never shrunk,
// replaced or removed.
//
// A process of an earlier version of the library holds no lock while it
// uses the file: see README.md on several processes of one catalogue.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "host/db/DBRobustMutex.h"

// The layout words at the start of each page of the side file.
struct DBSideFileLayout {
    uint32_t tag;    // whose page and which layout
    uint32_t sizes;  // the size of the page's state and of a mutex
    bool operator==(const DBSideFileLayout& other) const { return tag == other.tag && sizes == other.sizes; }
};

// How each page of the side file begins: its layout words, then the mutex
// that guards the rest of the page, held for a few statements at a time.
struct DBSideFilePageHead {
    DBSideFileLayout layout;
    DBRobustMutex mutex;
};

// The layout words of a page of `tag` whose state is `stateBytes` long.
DBSideFileLayout dbSideFileLayout(uint32_t tag, size_t stateBytes);

class DBSideFile {
public:
    enum Page { kTurnPage = 0, kEpisodePage = 1, kPages = 2 };
    static const size_t kPageBytes = 4096;

    // The side file of the catalogue at path.
    static std::string pathOf(const std::string& catalogue);
    // The side file of the catalogue at path, mapped, shared in this process
    // by the turn and the episodes; null when it cannot be used, with the
    // reason in *why (a later call tries again).
    static std::shared_ptr<DBSideFile> of(const std::string& catalogue, std::string* why);

    ~DBSideFile();
    DBSideFile(const DBSideFile&) = delete;
    DBSideFile& operator=(const DBSideFile&) = delete;

    // The page's bytes, kPageBytes of them, its layout words first.
    void* page(Page which) const { return static_cast<char*>(m_mapped) + which * kPageBytes; }

private:
    // Opens the side file at file, maps it and holds its shared flock; null
    // with the reason in *why.
    static std::shared_ptr<DBSideFile> open(const std::string& file, std::string* why);
    DBSideFile(void* mapped, int fd) : m_mapped(mapped), m_fd(fd) {}

    void* m_mapped;
    int m_fd;  // the file, with the shared flock held
};
