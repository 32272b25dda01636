// The temporary files in which product-file transfers are staged between
// requests: their names, which only this system makes and which it accepts
// back from clients only in the exact form it made them, and the file steps
// of the transfer on them.
#pragma once

#include <cstddef>
#include <cstdint>
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
// then "].YB"; an existing file is never opened again. The descriptor is
// open for writing; -1 when no file could be created (name: the last tried).
int Create(Direction direction, int32_t volumeId, std::string& name);

// True when the name has exactly the form Create gives for the direction in
// the temporary directory now configured.
bool IsTransferName(const std::string& name, Direction direction);

// Opens an existing transfer file; a link is not followed. -1 on failure.
int Open(const std::string& name, int flags);

// Writes all bytes; false when not all of them were written.
bool WriteAll(int fd, const char* data, size_t length);

// Reads exactly length bytes from the current position; false otherwise.
bool ReadAll(int fd, char* data, size_t length);

}  // namespace transfer_files
