#include "service/ReplicationMgr.h"

#include "host/EvDebug.h"
#include "host/ZXPlatformInfo.h"
#include "service/ServedCases.h"

ReplicationMgr::ReplicationMgr(ZxSessionSend* session) : ReplicationMgr(session, ServedCases()) {}

ReplicationMgr::ReplicationMgr(ZxSessionSend* session, const CaseRegistry& cases)
    : ZxPostMessageSubsystem(session), m_poSession(session), m_pCases(&cases), m_LogMsg(), m_bReportMissingFiles(true),
      m_nVerboseLevel(4) {
    GetVerboseLevel();
    m_LogMsg.str("");
}

ReplicationMgr::ReplicationMgr() : ReplicationMgr(nullptr) {}

ReplicationMgr::~ReplicationMgr() = default;

void ReplicationMgr::GetVerboseLevel() {
    // The low three bits of the number read (a negative one as its 32 bits),
    // 4 when no number is read; nothing is logged.
    unsigned int level = 4;
    ZXPlatformInfo().getNumber("~ReplicationMgr", "VerboseLevel", &level);
    m_nVerboseLevel = static_cast<int>(level & 7);
}

void ReplicationMgr::WriteLogMsg(const char* source, const char* function, long line, int level) {
    if (level == ERR || level == MSG || m_nVerboseLevel == 0 || level >= m_nVerboseLevel) {
        std::string text = m_LogMsg.str();
        if (text.empty()) text = "Unknown Error";
        std::string entry = std::string(source) + "[" + std::to_string(line) + "] -> " + function + "\n" + text + "\n";
        EvEvent().debug(entry.c_str());
    }
    m_LogMsg.str("");
    m_LogMsg.clear();
}
