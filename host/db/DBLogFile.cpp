// The log file's size through `stat`, and its header through the descriptor
// of the log file that SQLite keeps for a connection (the header: a magic
// number, the format version, the page size and the checkpoint sequence
// number in its first 16 bytes, big-endian, then the two salts).
#include "host/db/DBLogFile.h"

#include <sys/stat.h>

#include <cstring>

namespace {

const size_t kHeaderBytes = 24;  // up to the salts' end
const size_t kGenerationAt = 12;  // the checkpoint sequence number, then the salts

// Whether the header starts with a log file's magic number (either
// checksum byte order).
bool isLogHeader(const unsigned char* header)
{
    return header[0] == 0x37 && header[1] == 0x7f && header[2] == 0x06 && (header[3] & 0xfe) == 0x82;
}

}  // namespace

unsigned long long dbWalFileSize(const std::string& path)
{
    struct stat st;
    return ::stat((path + "-wal").c_str(), &st) == 0 ? static_cast<unsigned long long>(st.st_size) : 0;
}

bool DBLogGeneration::operator==(const DBLogGeneration& other) const
{
    return std::memcmp(words, other.words, sizeof words) == 0;
}

DBLogGeneration dbLogGeneration(sqlite3* db)
{
    DBLogGeneration log;
    if (db == nullptr) return log;
    sqlite3_mutex* mutex = sqlite3_db_mutex(db);
    sqlite3_mutex_enter(mutex);
    // The log file of a connection in WAL mode that has read; a rollback
    // journal otherwise, or a file not open (no methods).
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_JOURNAL_POINTER, &file) == SQLITE_OK && file != nullptr &&
        file->pMethods != nullptr) {
        // Read until two reads agree, so that a header being written (by
        // another process) is not taken half old, half new.
        unsigned char header[kHeaderBytes];
        unsigned char again[kHeaderBytes];
        for (int tries = 0; tries < 4; ++tries) {
            if (file->pMethods->xRead(file, header, sizeof header, 0) != SQLITE_OK || !isLogHeader(header)) {
                std::memset(header, 0, sizeof header);
                break;
            }
            if (tries > 0 && std::memcmp(header, again, sizeof header) == 0) break;
            std::memcpy(again, header, sizeof header);
        }
        std::memcpy(log.words, header + kGenerationAt, sizeof log.words);
    }
    sqlite3_mutex_leave(mutex);
    return log;
}
