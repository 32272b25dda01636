// The header of the log's index: two copies of 48 bytes at its start, in the
// byte order of the machine, each holding the version of the index format,
// whether it is set up, the page size and the number of valid frames.
#include "host/db/DBLogFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

namespace {

const uint32_t kIndexVersion = 3007000;
const size_t kHeaderCopy = 48;
const long long kLogHeader = 32;  // the log file's own header
const long long kFrameHeader = 24;

}  // namespace

long long dbLogFramesEnd(const std::string& path)
{
    const int fd = open((path + "-shm").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    unsigned char header[2 * kHeaderCopy];
    const bool read = pread(fd, header, sizeof header, 0) == static_cast<ssize_t>(sizeof header);
    close(fd);
    // Both copies agree once a writer has finished with the header.
    if (!read || std::memcmp(header, header + kHeaderCopy, kHeaderCopy) != 0) return -1;
    uint32_t version = 0;
    uint16_t pageSize = 0;
    uint32_t frames = 0;
    std::memcpy(&version, header, sizeof version);
    std::memcpy(&pageSize, header + 14, sizeof pageSize);
    std::memcpy(&frames, header + 16, sizeof frames);
    if (version != kIndexVersion || header[12] != 1) return -1;
    // A page size of 65536 is written as 1.
    const long long page = (pageSize & 0xfe00) + (static_cast<long long>(pageSize & 0x0001) << 16);
    if (page < 512) return -1;
    return frames == 0 ? 0 : kLogHeader + static_cast<long long>(frames) * (page + kFrameHeader);
}
