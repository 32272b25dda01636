// A host around one ReplicationMgr for tests: a network that records every
// reply, a session on it, and a quiet debug log whose entries are kept.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "host/EvDebug.h"
#include "host/HostJournal.h"
#include "host/ZXPlatformInfo.h"
#include "host/ZxFramework.h"

struct SentReply {
    unsigned long code;
    std::vector<char> bytes;
};

class RecordingNetwork {
public:
    RecordingNetwork() {
        network.setSendObserver([this](unsigned long code, const void* data, unsigned long length) {
            SentReply r{code, {}};
            if (data && length) r.bytes.assign(static_cast<const char*>(data), static_cast<const char*>(data) + length);
            replies.push_back(std::move(r));
        });
    }
    CZxNetwork network;
    ZxSessionSend session{&network};
    std::vector<SentReply> replies;
};

// Entries of the debug log that contain the given text.
inline std::vector<std::string> LogEntriesWith(const std::string& text) {
    std::vector<std::string> found;
    for (const std::string& e : EvDebug::entries())
        if (e.find(text) != std::string::npos) found.push_back(e);
    return found;
}

// Quiet configuration for a test: no log output, the given verbose level, and
// the host's journals on (log entries, cleaned buffers, device-layer calls).
inline void ConfigureQuietHost(const char* verboseLevel = "0") {
    HostJournals::keep(true);
    ZXPlatformInfo::clearAll();
    ZXPlatformInfo::setValue("EvDebug", "LogFile", "none");
    if (verboseLevel) ZXPlatformInfo::setValue("~ReplicationMgr", "VerboseLevel", verboseLevel);
    EvDebug::clearEntries();
}

// A quiet configuration made when it is built: a member declared ahead of
// the service object, which reads its verbose level as it is built.
struct QuietHost {
    explicit QuietHost(const char* verboseLevel = "0") { ConfigureQuietHost(verboseLevel); }
};
