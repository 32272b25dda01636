#include "files/TransferFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <ctime>
#include <map>
#include <mutex>
#include <random>
#include <vector>

#include "host/ZXPIPlatform.h"
#include "host/ZXPlatformInfo.h"

namespace transfer_files {

const int CreateFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
const int AppendFlags = O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC;
const int ReadFlags = O_RDONLY | O_NOFOLLOW | O_CLOEXEC;

namespace {

// Seconds after its last change at which a transfer file counts as
// abandoned, and the longest age the setting takes (ten years).
const unsigned long long kDefaultMaxAge = 86400;
const unsigned long long kLongestMaxAge = 3650ULL * 86400;

const size_t kRandomDigits = 16;
const int kCreateAttempts = 16;

// The host's temporary directory.
std::string TempDirectory()
{
    ZXPI_Drevhost platform;
    platform.setFocus(ZXPI_Focus::getFocus());
    return platform.getNimbrelTempDirectory();
}

// The fixed start of every transfer name in the directory.
std::string NamePrefix(const std::string& directory) { return directory + "/YBFile_Volume"; }
std::string NamePrefix() { return NamePrefix(TempDirectory()); }

const char* DirectionMark(Direction direction) { return direction == Direction::Upload ? "[U@" : "[D@"; }

// The files this process created under transfer names and has not removed:
// a name sent back by a client opens only the file made under it.
class CreatedFiles {
public:
    static CreatedFiles& instance()
    {
        static CreatedFiles files;
        return files;
    }

    void keep(const std::string& name, const struct stat& st)
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_files[name] = Identity{st.st_dev, st.st_ino};
    }

    void forget(const std::string& name)
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_files.erase(name);
    }

    // True when st is the file created under the name.
    bool isCreated(const std::string& name, const struct stat& st)
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        auto it = m_files.find(name);
        return it != m_files.end() && it->second.dev == st.st_dev && it->second.ino == st.st_ino;
    }

    // Forgets the files whose names no longer exist.
    void forgetVanished()
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        struct stat st;
        for (auto it = m_files.begin(); it != m_files.end();)
            it = lstat(it->first.c_str(), &st) != 0 && errno == ENOENT ? m_files.erase(it) : std::next(it);
    }

private:
    struct Identity {
        dev_t dev;
        ino_t ino;
    };
    std::mutex m_mutex;
    std::map<std::string, Identity> m_files;
};

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
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) return fd;
        struct stat st;
        if (fstat(fd, &st) != 0) {
            const int error = errno;
            close(fd);
            unlink(name.c_str());
            errno = error;
            return -1;
        }
        CreatedFiles::instance().keep(name, st);
        return fd;
    }
    return -1;
}

namespace {

bool HasTransferForm(const std::string& name, const std::string& prefix, Direction direction)
{
    size_t pos = 0;
    if (!SkipText(name, pos, prefix)) return false;
    if (pos < name.size() && name[pos] == '-') ++pos;
    return Skip(name, pos, 1, 10, IsDecimal) && SkipText(name, pos, DirectionMark(direction)) &&
           Skip(name, pos, 1, 20, IsDecimal) && SkipText(name, pos, ".") &&
           Skip(name, pos, kRandomDigits, kRandomDigits, IsLowerHex) && SkipText(name, pos, "].YB") &&
           pos == name.size();
}

}  // namespace

bool IsTransferName(const std::string& name, Direction direction)
{
    return HasTransferForm(name, NamePrefix(), direction);
}

int Open(const std::string& name, int flags)
{
    int fd = open(name.c_str(), flags);
    if (fd < 0) return -1;
    struct stat st;
    if (fstat(fd, &st) == 0 && st.st_nlink == 1 && CreatedFiles::instance().isCreated(name, st)) return fd;
    close(fd);
    errno = EPERM;
    return -1;
}

bool Remove(const std::string& name)
{
    const bool removed = unlink(name.c_str()) == 0;
    if (removed || errno == ENOENT) CreatedFiles::instance().forget(name);
    return removed;
}

time_t MaxAgeSeconds()
{
    return static_cast<time_t>(ZXPlatformInfo().readSetting("~ReplicationMgr", "TransferFileMaxAgeSeconds",
                                                            {kLongestMaxAge, kDefaultMaxAge, true}));
}

void RemoveAbandoned(time_t maxAgeSeconds, const std::function<void(const std::string&, time_t, bool)>& removed)
{
    const std::string directory = TempDirectory();
    const std::string prefix = NamePrefix(directory);
    std::vector<std::string> names;
    if (DIR* dir = opendir(directory.c_str())) {
        while (dirent* entry = readdir(dir)) {
            std::string name = directory + "/" + entry->d_name;
            if (HasTransferForm(name, prefix, Direction::Upload) || HasTransferForm(name, prefix, Direction::Download))
                names.push_back(std::move(name));
        }
        closedir(dir);
    }
    const time_t now = time(nullptr);
    for (const std::string& name : names) {
        struct stat st;
        if (lstat(name.c_str(), &st) != 0 || !(S_ISREG(st.st_mode) || S_ISLNK(st.st_mode))) continue;
        const time_t age = now - st.st_mtime;
        if (age <= maxAgeSeconds) continue;
        const bool ok = unlink(name.c_str()) == 0;
        if (ok) CreatedFiles::instance().forget(name);
        removed(name, age, ok);
    }
    CreatedFiles::instance().forgetVanished();
}

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
