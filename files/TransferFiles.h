// The temporary files in which product-file transfers are staged between
// requests: their names, which only this system makes and which it accepts
// back from clients only in the exact form it made them, the files this
// process made under them, and the file steps of the transfer on them.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace transfer_files {

enum class Direction { Upload, Download };

// An open file descriptor, closed when the owner goes.
class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) : m_fd(fd) {}
    ~UniqueFd() { reset(); }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    void reset(int fd = -1);
    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }

private:
    int m_fd;
};

// Open flags of the file steps, also written into log entries.
extern const int CreateFlags;  // a new file, never an existing one
extern const int AppendFlags;  // an existing transfer file, for writing at its end
extern const int ReadFlags;    // an existing transfer file, for reading

// The 16 random lowercase hexadecimal digits of a new name: a random source
// unless a test has put another in place.
using NameDigitsSource = std::string (*)();
extern NameDigitsSource NameDigits;
std::string RandomNameDigits();

// Creates a new, empty transfer file of the volume in the host's temporary
// directory, readable and writable by this process's user only. Its name is
// the directory, "/YBFile_Volume", the volume id, "[U@" (upload) or "[D@"
// (download), the time in seconds, "." and 16 random hexadecimal digits,
// then "].YB"; an existing file is never opened again. The file (its device
// and inode) is kept as this process's file of that name until Remove. The
// descriptor is open for writing; -1 when no file could be created (name:
// the last tried).
int Create(Direction direction, int32_t volumeId, std::string& name);

// True when the name has exactly the form Create gives for the direction in
// the temporary directory now configured.
bool IsTransferName(const std::string& name, Direction direction);

// Opens the transfer file this process created under the name: a link is not
// followed, and a file with another name besides this one (a link count
// other than 1) or that is not the file created under it (another device or
// inode) is not opened (errno EPERM). -1 on failure.
int Open(const std::string& name, int flags);

// Removes a transfer file and forgets it; false (errno set) when it could not
// be removed.
bool Remove(const std::string& name);

// The age in seconds after which a transfer file no request has changed
// counts as abandoned: "TransferFileMaxAgeSeconds" of section
// "~ReplicationMgr", from 1 s to ten years; a day when it is not set, 0 or
// not taken.
time_t MaxAgeSeconds();

// Removes the entries of the temporary directory now configured that have a
// transfer name of either direction (made by this process or another) and
// were last changed more than maxAgeSeconds ago, links included (not what
// they lead to), and forgets them and every kept file whose name is gone.
// Calls removed(name, ageSeconds, ok) for each entry it tried to remove.
void RemoveAbandoned(time_t maxAgeSeconds,
                     const std::function<void(const std::string&, time_t, bool)>& removed);

// Writes all bytes; false when not all of them were written.
bool WriteAll(int fd, const char* data, size_t length);

// Reads exactly length bytes from the current position; false otherwise.
bool ReadAll(int fd, char* data, size_t length);

}  // namespace transfer_files
