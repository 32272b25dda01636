// The remote run of the client snapshot tool and the steps the cleanup paths
// share around it.
#include "cleanup/SnapTool.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "host/EvDebug.h"
#include "host/ZXClient.h"
#include "host/ZXPlatformInfo.h"
#include "host/ZxFramework.h"
#include "host/clients/RemoteExecute.h"
#include "replicas/ReplicaVolumeRemoval.h"
#include "service/NestedStep.h"
#include "service/ReplicationMgr.h"

namespace cleanup_detail {

namespace {

const char SnapToolExecutable[] = "ZXSnapTool.exe";
const char UnknownHost[] = "UnknownHost";
// The command arguments' buffer, its terminating zero included.
constexpr size_t SnapToolArgsSize = 4096;
// The wait limit of the run and of the disconnect.
constexpr int SnapToolWaitLimit = 120;

// Framework numbers of the remote execute request and its fields.
constexpr int RequestFamily = 9;
constexpr int RequestType = 37;
constexpr unsigned long AccessorTypeId = 0x900030d;
constexpr unsigned long AccessorCheck = 11657439;
constexpr unsigned long FieldTypeId = 0x9000501;
constexpr int ArgsGroup = 3, ArgsIndex = 6;
constexpr unsigned long ArgsCheck = 959324;
constexpr int NumberGroup = 1, NumberIndex = 1;
constexpr unsigned long NumberCheck = 7634917;
constexpr int ExecutableGroup = 2, ExecutableIndex = 2;
constexpr unsigned long ExecutableCheck = 7933915;

bool EndsOrSplitsArgument(unsigned char c) { return c == '"' || c < 0x20 || c == 0x7f; }

// The name of this machine as the client sees the caller.
std::string LocalMachineName()
{
    ZXPlatformInfo platform;
    char buffer[256];
    std::memset(buffer, 0, sizeof buffer);
    if (platform.getZXPlatformType() & 1) {
        platform.getDrevhostClientName(buffer, sizeof buffer);
    } else {
        const std::string machine = platform.getPhysicalMachine();
        machine.copy(buffer, sizeof buffer - 1);
    }
    return buffer;
}

}  // namespace

bool CommandLineClientName(ReplicationMgr& mgr, const char* function, int clientId, std::string& name)
{
    name = UnknownHost;
    ZXClient(static_cast<unsigned long long>(static_cast<long long>(clientId))).getName(name, nullptr);
    for (char c : name) {
        if (!EndsOrSplitsArgument(static_cast<unsigned char>(c))) continue;
        mgr.log() << "\tEvent: The client name cannot be given to " << SnapToolExecutable
                  << ": it holds a double quote or a control character"
                  << "\n\tClient ID   = " << clientId << "\n\tClient Name = " << EvDebug::escaped(name);
        mgr.WriteLogMsg(ProgNameCleanup, function, __LINE__, ReplicationMgr::ERR);
        return false;
    }
    return true;
}

bool FormatSnapToolArgs(ReplicationMgr& mgr, const char* function, int clientId, std::string& out,
                        const char* format, ...)
{
    char buffer[SnapToolArgsSize];
    va_list values;
    va_start(values, format);
    const int length = std::vsnprintf(buffer, sizeof buffer, format, values);
    va_end(values);
    if (length >= 0 && static_cast<size_t>(length) < sizeof buffer) {
        out.assign(buffer, static_cast<size_t>(length));
        return true;
    }
    mgr.log() << "\tEvent: The " << SnapToolExecutable << " command arguments do not fit their buffer"
              << "\n\tClient ID = " << clientId << "\n\tLength    = " << length
              << "\n\tLimit     = " << SnapToolArgsSize - 1;
    mgr.WriteLogMsg(ProgNameCleanup, function, __LINE__, ReplicationMgr::ERR);
    return false;
}

bool RunSnapTool(ReplicationMgr& mgr, const SnapToolRun& run)
{
    CNSession::zxsRemoteExecuteAsUserRequestType request(RequestFamily, RequestType);
    CNObjectAccessor* fields = request.getObjectAccessor(true, true, 1, 1, AccessorTypeId, AccessorCheck, RequestFamily, 1);
    const bool built =
        fields != nullptr &&
        fields->setstring(ArgsGroup, ArgsIndex, run.commandArgs.c_str(), FieldTypeId, ArgsCheck) &&
        fields->setint64(NumberGroup, NumberIndex, 0, FieldTypeId, NumberCheck) &&
        fields->setstring(ExecutableGroup, ExecutableIndex, SnapToolExecutable, FieldTypeId, ExecutableCheck);
    if (!built) {
        mgr.log() << "\tEvent: The " << SnapToolExecutable << " request could not be built"
                  << "\n\tClient ID    = " << run.logClientId
                  << "\n\tCommand Args = " << EvDebug::escaped(run.commandArgs);
        mgr.WriteLogMsg(ProgNameCleanup, run.function, __LINE__, ReplicationMgr::ERR);
        return false;
    }
    zxsRemoteExecuteResponseType response;
    std::memset(&response, 0, sizeof response);
    const std::string localMachine = LocalMachineName();

    CZxNetwork network;
    bool connected = false;
    const CWuError error = network.ExecRemoteCmdAndWait(run.remoteHost.c_str(), &request, localMachine.c_str(),
                                                        &response, SnapToolWaitLimit, connected);
    const bool succeeded = !error.IsError() && response.returnCode == 0;
    if (!succeeded) {
        mgr.log() << "\tWarning: ZXSession::executeRemoteCommand() failed"
                  << (run.importPhase ? " in the import phase" : "")
                  << "\n\tClient ID                = " << run.logClientId
                  << "\n\tClient Name              = " << EvDebug::escaped(run.logClientName)
                  << "\n\tCommand Args             = "
                  << EvDebug::escaped(fields->getstringByRef(ArgsGroup, ArgsIndex, FieldTypeId, ArgsCheck))
                  << "\n\tRet Code                 = " << response.returnCode
                  << "\n Msg\t\t\t\t\t\t = " << EvDebug::escaped(error.text());
        mgr.WriteLogMsg(ProgNameCleanup, run.function, __LINE__, ReplicationMgr::ERR);
    }
    if (!run.importPhase || succeeded) network.ReplyDisconnect(SnapToolWaitLimit, connected);
    return succeeded;
}

void RaiseCleanupEvent(unsigned int eventId, const std::string& hostName, const std::string& eventText)
{
    EvEvent event;
    event << hostName.c_str() << eventText.c_str();
    event.InfoEvent(eventId, 0, 0);
}

bool RemoveSnapshotRecord(ReplicationMgr& mgr, int replicationVolumeId)
{
    RemoveReplicationVolumeArgs_t args(replicationVolumeId);
    RemoveReplicationVolumeRet_t ret;
    return RunNestedStep([&](DBtran* nested) { return mgr.RemoveReplicationVolume(args, ret, nested); });
}

bool NoClientName(ReplicationMgr& mgr, const char* function, int clientId, long line)
{
    mgr.log() << "\tCould not get client name"
              << "\n\tClient ID = " << clientId;
    mgr.WriteLogMsg(ProgNameCleanup, function, line, ReplicationMgr::ERR);
    return false;
}

}  // namespace cleanup_detail
