#include "host/db/ServerText.h"

#include <cstring>

#include "host/HostJournal.h"

namespace {

HostJournal<std::string>& sentTexts()
{
    static HostJournal<std::string> journal;
    return journal;
}

const char kContinuation[] = "\\\r\n";
const size_t kContinuationLength = 3;

// The position of the first backslash-CR-LF in text[from, length), or length.
size_t nextContinuation(const char* text, size_t from, size_t length)
{
    while (from < length) {
        const void* found = std::memchr(text + from, '\\', length - from);
        if (found == nullptr) return length;
        const size_t at = static_cast<size_t>(static_cast<const char*>(found) - text);
        if (length - at >= kContinuationLength && std::memcmp(text + at, kContinuation, kContinuationLength) == 0)
            return at;
        from = at + 1;
    }
    return length;
}

}  // namespace

bool DBServerText::read(const char* sent, size_t length, const std::function<bool(const char*, size_t)>& store)
{
    size_t from = 0;
    while (from < length) {
        const size_t at = nextContinuation(sent, from, length);
        if (at > from && !store(sent + from, at - from)) return false;
        from = at + kContinuationLength;
    }
    return true;
}

size_t DBServerText::storedLength(const char* sent, size_t length)
{
    size_t stored = 0;
    read(sent, length, [&stored](const char*, size_t part) {
        stored += part;
        return true;
    });
    return stored;
}

std::string DBServerText::read(const std::string& sent)
{
    std::string stored;
    stored.reserve(sent.size());
    read(sent.data(), sent.size(), [&stored](const char* part, size_t length) {
        stored.append(part, length);
        return true;
    });
    return stored;
}

std::vector<std::string> DBServerText::sent() { return sentTexts().entries(); }

void DBServerText::clearSent() { sentTexts().clear(); }

void DBServerText::recordSent(const char* text)
{
    if (HostJournals::kept()) sentTexts().add(std::string(text));
}

void DBServerText::recordSent(const char* text, size_t length)
{
    if (HostJournals::kept()) sentTexts().add(std::string(text, length));
}
