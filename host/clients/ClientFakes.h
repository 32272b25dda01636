// What the stand-ins of the client-side services answer and what was asked of
// them: one process-wide object holding the scripted answers and, while a
// test switches it on, the journal of every call.
//
// The services (client snapshot service, FLR client, archive snapshot
// interfaces, remote tool execution, events, NAS utility, job control and the
// platform's machine names) reach no client machine: each call is recorded
// here and answered from the script, or with the default answer of a client
// that did what it was asked.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

// One call made on a client-side service.
struct ClientCall {
    std::string operation;          // the service's function name, see the table below
    std::string client;             // host name the call went to; "" when the call names none
    long long clientId = -1;        // client id the service object was built with; -1 when none
    std::vector<std::string> args;  // the arguments, numbers in decimal, in the order listed below
};

// Operations and the arguments journaled for each, in order:
//   FLRSnapCleanup           per item: name, volume GUID, mount path, share name, result field
//   FLRSnapCleanupV2         per item: name, volume GUID, mount path, share name, snapshot path,
//                            engine type, replication set id field, 64-bit field
//   FindVolumeGUID           the paths
//   removeVolumeMountPoint   path, second path, the two numbers
//   SetBlockFilterDriver     count of volumes to enable, those volumes, count to disable, those
//   DeleteAllSnapsFromVolume the volume
//   FLRDelSnaps              the snapshot names
//   getVolumeSnaps,
//   deleteVolumeSnaps        job id, recovery point id, retrieve-valid flags, snap job id
//   ExecRemoteCmdAndWait     executable, command arguments, the 64-bit field, local machine name,
//                            wait limit (client = remote host)
//   ReplyDisconnect          wait limit
//   InfoEvent, MinorEvent    event id ("0x39000065"), the two numbers, then each event argument
//   deleteSnapVaultReplica   the eight arguments in call order
//   checkQuitFlag            none
//   getZXPlatformType        none
//   getDrevhostClientName    buffer size
//   getPhysicalMachine       none
class ClientFakes {
public:
    static ClientFakes& instance();

    // The journal is kept only while switched on (off at start); reset()
    // leaves the switch as it is.
    void keepJournal(bool on);
    bool journalKept() const;
    std::vector<ClientCall> calls() const;
    std::vector<ClientCall> calls(const std::string& operation) const;

    // Scripted answers.
    // Result bits a host reports for the snapshot of that name (1 share
    // removed, 2 unmounted, 4 destroyed); 7 for a name not scripted.
    void setSnapResult(const std::string& snapName, int bits);
    // GUID that FindVolumeGUID gives for the path; "" for a path not scripted.
    void setVolumeGUID(const std::string& path, const std::string& guid);
    // The GUIDs every later FindVolumeGUID gives, whatever the paths (an
    // answer with more or fewer GUIDs than paths); none scripted at start.
    void setVolumeGUIDAnswer(const std::vector<std::string>& guids);
    // Return code of every later remote tool run (0, success, at start).
    void setToolReturnCode(int code);
    // The next `count` calls of the operation fail, each in its own way (a
    // false result, a non-zero status, an error object, -1). False for an
    // operation that cannot fail (events, quit flag, platform type, machine
    // name) or an unknown name.
    bool failNext(const std::string& operation, int count = 1);
    // checkQuitFlag answers false `calls` times, then true; never true at start
    // or after a negative count.
    void setQuitAfter(int calls);
    // What ZXPlatformInfo reports: the platform type (0 at start), the name
    // getDrevhostClientName writes ("drevhost") and getPhysicalMachine
    // ("replmgr-host").
    void setPlatformType(unsigned int type);
    void setDrevhostClientName(const std::string& name);
    void setPhysicalMachine(const std::string& name);

    // Runs the action once, on the calling thread, when the operation is next
    // called and before that call is answered: what happens elsewhere while
    // a client works on a request.
    void onNextCall(const std::string& operation, std::function<void()> action);

    // Empties the journal and returns every scripted answer to its default.
    void reset();

    // For the services: journals the call (when kept) and tells whether it is
    // to fail, consuming one scripted failure.
    bool enter(ClientCall call);
    int snapResult(const std::string& snapName) const;
    std::string volumeGUID(const std::string& path) const;
    // The whole answer of FindVolumeGUID when one is scripted.
    bool volumeGUIDAnswer(std::vector<std::string>& guids) const;
    int toolReturnCode() const;
    // Counts the question and answers it.
    bool nextQuitFlag();
    unsigned int platformType() const;
    std::string drevhostClientName() const;
    std::string physicalMachine() const;

private:
    // Every scripted answer at its default.
    struct Script {
        std::map<std::string, int> snapResults;
        std::map<std::string, std::string> guids;
        bool guidAnswerScripted = false;
        std::vector<std::string> guidAnswer;
        std::map<std::string, int> failures;  // operation -> calls still to fail
        std::map<std::string, std::function<void()>> nextCallActions;
        int toolReturnCode = 0;
        int quitAfter = -1;
        int quitQuestions = 0;
        unsigned int platformType = 0;
        std::string drevhostName = "drevhost";
        std::string physicalMachine = "replmgr-host";
    };

    ClientFakes() = default;

    mutable std::mutex m_mutex;
    bool m_bKeepJournal = false;
    std::vector<ClientCall> m_journal;
    Script m_script;
};
