#include "files/TransferFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <ctime>
#include <mutex>
#include <random>

#include "host/ZXPIPlatform.h"

namespace transfer_files {

const int CreateFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
const int AppendFlags = O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC;
const int ReadFlags = O_RDONLY | O_NOFOLLOW | O_CLOEXEC;

namespace {

const size_t kRandomDigits = 16;
const int kCreateAttempts = 16;

// The host's temporary directory and the fixed start of every transfer name.
std::string NamePrefix()
{
    ZXPI_Drevhost platform;
    platform.setFocus(ZXPI_Focus::getFocus());
    return platform.getNimbrelTempDirectory() + "/YBFile_Volume";
}

const char* DirectionMark(Direction direction) { return direction == Direction::Upload ? "[U@" : "[D@"; }

}  // namespace

std::string RandomNameDigits()
{
    static std::mutex mutex;
    static std::mt19937_64 engine{std::random_device{}()};
    uint64_t value;
    {
        std::lock_guard<std::mutex> guard(mutex);
        value = engine();
    }
    static const char hex[] = "0123456789abcdef";
    std::string digits(kRandomDigits, '0');
    for (size_t i = 0; i < kRandomDigits; ++i, value >>= 4) digits[kRandomDigits - 1 - i] = hex[value & 0xf];
    return digits;
}

NameDigitsSource NameDigits = &RandomNameDigits;

namespace {

// Moves pos past between min and max characters that pass the test; false
// when fewer than min stand there.
template <typename Test>
bool Skip(const std::string& text, size_t& pos, size_t min, size_t max, Test test)
{
    size_t n = 0;
    while (n < max && pos + n < text.size() && test(static_cast<unsigned char>(text[pos + n]))) ++n;
    pos += n;
    return n >= min;
}

bool SkipText(const std::string& text, size_t& pos, const std::string& expected)
{
    if (text.compare(pos, expected.size(), expected) != 0) return false;
    pos += expected.size();
    return true;
}

bool IsDecimal(unsigned char c) { return std::isdigit(c) != 0; }
bool IsLowerHex(unsigned char c) { return std::isdigit(c) != 0 || (c >= 'a' && c <= 'f'); }

}  // namespace

void UniqueFd::reset(int fd)
{
    if (m_fd >= 0) close(m_fd);
    m_fd = fd;
}

int Create(Direction direction, int32_t volumeId, std::string& name)
{
    const std::string start = NamePrefix() + std::to_string(volumeId) + DirectionMark(direction) +
                              std::to_string(static_cast<long long>(time(nullptr))) + ".";
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        name = start + NameDigits() + "].YB";
        int fd = open(name.c_str(), CreateFlags, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool IsTransferName(const std::string& name, Direction direction)
{
    size_t pos = 0;
    if (!SkipText(name, pos, NamePrefix())) return false;
    if (pos < name.size() && name[pos] == '-') ++pos;
    return Skip(name, pos, 1, 10, IsDecimal) && SkipText(name, pos, DirectionMark(direction)) &&
           Skip(name, pos, 1, 20, IsDecimal) && SkipText(name, pos, ".") &&
           Skip(name, pos, kRandomDigits, kRandomDigits, IsLowerHex) && SkipText(name, pos, "].YB") &&
           pos == name.size();
}

int Open(const std::string& name, int flags) { return open(name.c_str(), flags); }

namespace {

// Moves all bytes with the call (read or write); false when the call fails
// or ends before all of them moved.
template <typename Data, typename Call>
bool MoveAll(int fd, Data* data, size_t length, Call call)
{
    while (length > 0) {
        ssize_t n = call(fd, data, length);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        length -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

bool WriteAll(int fd, const char* data, size_t length) { return MoveAll(fd, data, length, &write); }

bool ReadAll(int fd, char* data, size_t length) { return MoveAll(fd, data, length, &read); }

}  // namespace transfer_files
