// Whether a client still has the agent software and the snapshot engine that
// its snapshots need.
#include <iterator>
#include <string>

#include "cleanup/SnapTool.h"
#include "host/ClientProperties.h"
#include "host/EvDebug.h"
#include "service/ReplicationMgr.h"

using cleanup_detail::ProgNameCleanup;

namespace {

const char IsYBInstalledFn[] = "ReplicationMgr::IsYBInstalled()";

// Application types of the agent: either one will do.
constexpr int AgentAppType = 47;
constexpr int AgentAppTypeAlternative = 50;

// Snapshot engines whose installation is not checked, and the one whose
// package has an older alternative.
constexpr int SnapEngineNotChecked = 6;
constexpr int SnapEngineWithAlternative = 5;
constexpr int AlternativeAppType = 1029;

struct EngineAppType {
    int snapEngineType;
    int appType;
};
constexpr EngineAppType EngineAppTypes[] = {
    {1, 1007}, {2, 1008}, {3, 1013}, {4, 1017}, {5, 1031}, {6, 1007}, {7, 1066},
};

}  // namespace

int ReplicationMgr::GetAppTypeBySnapEngineType(int snapEngineType)
{
    for (const EngineAppType& e : EngineAppTypes)
        if (e.snapEngineType == snapEngineType) return e.appType;
    return 0;
}

bool ReplicationMgr::IsYBInstalled(int clientId, int snapEngineType, bool* installed)
{
    if (installed == nullptr) return false;
    std::string host;
    GetClientName(clientId, host);  // for the entries only

    // A read that fails leaves the state undetermined: it is not taken for
    // an agent uninstalled.
    ClientApplicationList applications;
    *installed = false;
    for (int agentAppType : {AgentAppType, AgentAppTypeAlternative}) {
        const int code = applications.isAppTypeInstalled(clientId, agentAppType, *installed, nullptr);
        if (code != 0) {
            m_LogMsg << "\tCannot check the client's agent installation status"
                     << "\n\tApp Mgr Code     = " << code << "\n\tClient Id        = " << clientId
                     << "\n\tApp Type\t     = " << agentAppType << "\n\tHost Name        = " << EvDebug::escaped(host);
            WriteLogMsg(ProgNameCleanup, IsYBInstalledFn, __LINE__, ERR);
            return false;
        }
        if (*installed) break;
    }
    if (!*installed) {
        m_LogMsg << "\tYB has been uninstalled. Removing snapshot from the DB only"
                 << "\n\tClient Id = " << clientId << "\n\tHost Name = " << EvDebug::escaped(host);
        WriteLogMsg(ProgNameCleanup, IsYBInstalledFn, __LINE__, MSG);
        return true;
    }
    if (snapEngineType == SnapEngineNotChecked) return true;

    int appType = GetAppTypeBySnapEngineType(snapEngineType);
    if (appType == 0) return false;
    ClientProperties properties(clientId);
    int code = properties.isInstalled(appType, *installed, nullptr);
    if (code == 0 && !*installed && snapEngineType == SnapEngineWithAlternative) {
        appType = AlternativeAppType;
        code = properties.isInstalled(appType, *installed, nullptr);
    }
    if (code != 0) {
        m_LogMsg << "\tCannot check the client's snapshot engine installation status"
                 << "\n\tApp Mgr Code     = " << code << "\n\tClient Id        = " << clientId
                 << "\n\tApp Type\t     = " << appType << "\n\tSnap Engine Type = " << snapEngineType
                 << "\n\tHost Name        = " << EvDebug::escaped(host);
        WriteLogMsg(ProgNameCleanup, IsYBInstalledFn, __LINE__, ERR);
        return false;
    }
    if (!*installed) {
        m_LogMsg << "\tSnapshot engine has been uninstalled. Removing snapshot from the DB only"
                 << "\n\tClient Id = " << clientId << "\n\tApp Type  = " << appType
                 << "\n\tHost Name = " << EvDebug::escaped(host);
        WriteLogMsg(ProgNameCleanup, IsYBInstalledFn, __LINE__, MSG);
    }
    return true;
}
