// The client snapshot tool "ZXSnapTool.exe" run remotely by the snapshot
// cleanup: its command line and one run of it, and the steps the cleanup
// paths share around it.
#pragma once

#include <string>

class ReplicationMgr;

namespace cleanup_detail {

// Source name of the cleanup's log entries.
inline constexpr char ProgNameCleanup[] = "ReplicationMgrSnapCleanup";

// The byte that separates the fields of the "-s" value.
inline constexpr int SnapToolSeparator = 0x15;

// The name the tool gets after "-cn": the client's name, "UnknownHost" when
// the directory gives none. False, with an ERR entry under `function`, when
// the name holds a double quote or a control character, which would end or
// split its argument on the tool's command line: then nothing may run.
bool CommandLineClientName(ReplicationMgr& mgr, const char* function, int clientId, std::string& name);

// Formats the command arguments as the tool's 4096-byte buffer holds them.
// False, with an ERR entry under `function`, when they would not fit: a cut
// command line would name another snapshot or client.
bool FormatSnapToolArgs(ReplicationMgr& mgr, const char* function, int clientId, std::string& out,
                        const char* format, ...) __attribute__((format(printf, 5, 6)));

// One run of the tool and what its failure entry names.
struct SnapToolRun {
    const char* function;   // the log's function name
    std::string remoteHost;
    std::string commandArgs;
    long long logClientId;   // "Client ID" of the failure entry
    std::string logClientName;  // "Client Name" of the failure entry
    bool importPhase;        // the import of a transportable snapshot
};

// Runs the tool on the remote host and waits for it (120 s). True when the
// run reported no error and the tool returned 0; a failure is logged at ERR.
// The conversation is ended afterwards, for an import only after a success.
bool RunSnapTool(ReplicationMgr& mgr, const SnapToolRun& run);

// Raises a cleanup event with the host name and the event text.
void RaiseCleanupEvent(unsigned int eventId, const std::string& hostName, const std::string& eventText);

// Removes the snapshot's record alone, whole or not at all: nested in the
// transaction open on this thread (one of its own when none is), so that a
// removal failing part way leaves the record as it was. The result of
// RemoveReplicationVolume.
bool RemoveSnapshotRecord(ReplicationMgr& mgr, int replicationVolumeId);

// The ERR entry of a client whose network host name cannot be found: always false.
bool NoClientName(ReplicationMgr& mgr, const char* function, int clientId, long line);

}  // namespace cleanup_detail
