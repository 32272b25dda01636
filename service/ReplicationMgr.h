// The replication manager's service object.
#pragma once

#include <functional>
#include <sstream>
#include <string>

#include "host/ZxFramework.h"

class CaseRegistry;
struct LockTableArgs_t;
struct LockTableRet_t;
struct UnlockTableArgs_t;

class ReplicationMgr : public ZxPostMessageSubsystem {
public:
    // Log levels.
    static const int ALL = 0;
    static const int INFO = 1;
    static const int WARNING = 2;
    static const int MSG = 3;
    static const int ERR = 4;

    // Table lock ids.
    static const int REPLICAVOL_LOCK = 0;
    static const int SNRVOL_LOCK = 1;
    static const int TMPSNRVOLINFO_LOCK = 2;
    static const int TMPSNRVOL_LOCK = 3;
    static const int TMPYBBROWSECLIENT_LOCK = 4;
    static const int TMPYBBROWSEPOLICY_LOCK = 5;
    static const int ADDDEVICE_LOCK = 6;
    static const int BLK_FILTER_QUERY_LOCK = 7;
    static const int TOTAL_LOCKS = 8;

    // Serves the library's cases (ServedCases()).
    explicit ReplicationMgr(ZxSessionSend* session);
    // Serves the given cases, which must outlive the object.
    ReplicationMgr(ZxSessionSend* session, const CaseRegistry& cases);
    ReplicationMgr();
    ReplicationMgr(const ReplicationMgr&) = delete;
    ReplicationMgr& operator=(const ReplicationMgr&) = delete;
    ~ReplicationMgr();

    unsigned long post(unsigned long code, unsigned long param, zxsDatabuf* buf) override;

    // Log entries.
    void WriteLogMsg(const char* source, const char* function, long line, int level);
    int verboseLevel() const { return m_nVerboseLevel; }

    // Table locks.
    bool LockTable(const LockTableArgs_t& args, LockTableRet_t& ret);
    bool UnlockTable(const UnlockTableArgs_t& args);

    // Client directory.
    bool GetClientName(int clientId, std::string& hostName);

    ZxSessionSend* session() const { return m_poSession; }
    const CaseRegistry& cases() const { return *m_pCases; }
    std::ostringstream& log() { return m_LogMsg; }

    // Operations, request handlers and database halves, by subsystem.
#include "snr/SNRMembers.inc"
#include "scratch/ScratchMembers.inc"
#include "replicas/ReplicaMembers.inc"
#include "policies/PolicyMembers.inc"
#include "flr/FLRMembers.inc"
#include "cleanup/CleanupMembers.inc"
#include "files/FilesMembers.inc"

private:
    void GetVerboseLevel();

    ZxSessionSend* m_poSession;
    const CaseRegistry* m_pCases;
    std::ostringstream m_LogMsg;

public:
    // Cleared while the release of scratch volumes deletes a volume's product files.
    bool m_bReportMissingFiles;

private:
    int m_nVerboseLevel;
};
