#include "host/EvDebug.h"

#include <cstdio>
#include <cstring>
#include <mutex>

#include "host/ZXPlatformInfo.h"

namespace {

struct DebugLog {
    std::mutex mutex;
    std::vector<std::string> entries;
};

DebugLog& theLog() {
    static DebugLog log;
    return log;
}

// Entries go to the file named by the configuration ("EvDebug", "LogFile"),
// "none" for no output, or standard error when nothing is configured.
void writeOut(const std::string& entry) {
    std::string target;
    ZXPlatformInfo().getString("EvDebug", "LogFile", target);
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
    DebugLog& log = theLog();
    std::lock_guard<std::mutex> guard(log.mutex);
    log.entries.push_back(entry);
    writeOut(entry);
}

std::vector<std::string> EvDebug::entries() {
    DebugLog& log = theLog();
    std::lock_guard<std::mutex> guard(log.mutex);
    return log.entries;
}

void EvDebug::clearEntries() {
    DebugLog& log = theLog();
    std::lock_guard<std::mutex> guard(log.mutex);
    log.entries.clear();
}

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
