#include "host/EvDebug.h"

#include <pthread.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "host/HostJournal.h"
#include "host/ZXPlatformInfo.h"
#include "host/clients/ClientFakes.h"

namespace {

struct DebugLog {
    std::mutex mutex;  // one entry written out at a time
    HostJournal<std::string> entries;
};

DebugLog& theLog();

// The log's locks are held across a fork by the thread that forks (in the
// order an entry takes them), so that a child never waits for a lock that
// another thread of its parent held at the fork.
void holdLogForFork() {
    DebugLog& log = theLog();
    log.mutex.lock();
    log.entries.holdForFork();
}

void releaseLogAfterFork() {
    DebugLog& log = theLog();
    log.entries.releaseAfterFork();
    log.mutex.unlock();
}

// Never destroyed: a thread of the library may write an entry while the
// process ends.
DebugLog& theLog() {
    static DebugLog& log = *new DebugLog();
    static const bool heldAcrossFork =
        pthread_atfork(&holdLogForFork, &releaseLogAfterFork, &releaseLogAfterFork) == 0;
    static_cast<void>(heldAcrossFork);
    return log;
}

// Where entries go: the file named by the configuration ("EvDebug",
// "LogFile"), "none" for no output, or standard error when nothing is
// configured.
std::string logTarget() {
    std::string target;
    ZXPlatformInfo().getString("EvDebug", "LogFile", target);
    return target;
}

void writeOut(const std::string& target, const std::string& entry) {
    if (target == "none") return;
    if (target.empty()) {
        std::fwrite(entry.data(), 1, entry.size(), stderr);
        return;
    }
    if (FILE* f = std::fopen(target.c_str(), "a")) {
        std::fwrite(entry.data(), 1, entry.size(), f);
        std::fclose(f);
    }
}

}  // namespace

void EvDebug::debug(const char* format, ...) {
    std::string entry = format ? format : "";
    // Looked up before the entry takes its turn: the turn covers the write.
    const std::string target = logTarget();
    DebugLog& log = theLog();
    std::lock_guard<std::mutex> guard(log.mutex);
    writeOut(target, entry);
    log.entries.add(std::move(entry));
}

std::string EvDebug::escaped(const std::string& value) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u != 0x7f) {
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else {
            out += "\\x";
            out += hex[u >> 4];
            out += hex[u & 0xf];
        }
    }
    return out;
}

std::vector<std::string> EvDebug::entries() { return theLog().entries.entries(); }

void EvDebug::clearEntries() { theLog().entries.clear(); }

void EvEvent::addArgument(const void* value, int type) {
    Argument arg{type, std::string()};
    if (type == ARG_TEXT) {
        arg.bytes = value ? static_cast<const char*>(value) : "";
    } else if (type == ARG_INT32) {
        arg.bytes.assign(static_cast<const char*>(value), 4);
    }
    m_args.push_back(std::move(arg));
}

void littleEndianInt(int* value) {
    unsigned int v;
    std::memcpy(&v, value, 4);
    unsigned char bytes[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                              static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    std::memcpy(value, bytes, 4);
}

// Raised events are journaled with the calls on the client-side services, in
// the one journal of ClientFakes, not in a journal of their own: an event
// reports on those calls, and its place among them is part of what it says
// (a snapshot cleanup raises its start event before the tool runs on the
// client and its outcome after). One journal keeps that order as it happened;
// two would need a shared counter to give it back.
namespace {

// The event as journaled: id in hexadecimal, the two numbers, the arguments.
ClientCall eventCall(const char* severity, unsigned int eventId, int first, int second,
                     const std::vector<EvEvent::Argument>& arguments)
{
    char id[16];
    std::snprintf(id, sizeof(id), "0x%08x", eventId);
    ClientCall call{severity, "", -1, {id, std::to_string(first), std::to_string(second)}};
    for (const EvEvent::Argument& arg : arguments) {
        if (arg.type == EvEvent::ARG_INT32 && arg.bytes.size() == 4) {
            const unsigned char* b = reinterpret_cast<const unsigned char*>(arg.bytes.data());
            uint32_t v = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
            call.args.push_back(std::to_string(static_cast<int32_t>(v)));
        } else {
            call.args.push_back(arg.bytes);
        }
    }
    return call;
}

}  // namespace

void EvEvent::InfoEvent(unsigned int eventId, int first, int second)
{
    ClientFakes::instance().enter(eventCall("InfoEvent", eventId, first, second, m_args));
}

void EvEvent::MinorEvent(unsigned int eventId, int first, int second)
{
    ClientFakes::instance().enter(eventCall("MinorEvent", eventId, first, second, m_args));
}
