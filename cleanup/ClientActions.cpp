// Actions on a client through its snapshot service: removing a mount point,
// switching the block filter driver of volumes, and deleting every snapshot
// of a scratch volume.
#include <string>

#include "cleanup/SnapTool.h"
#include "cleanup/SnapshotCleanup.h"
#include "host/EvDebug.h"
#include "host/clients/ZXSVCClientSession.h"
#include "service/ErrorCodes.h"
#include "service/ReplicationMgr.h"

using cleanup_detail::ProgNameCleanup;

namespace {

const char UnmountVolumeFn[] = "ReplicationMgr::UnmountVolume()";
const char SetBlkFilterVolumesFn[] = "ReplicationMgr::SetBlkFilterVolumes()";
const char DeleteAllSnapsFn[] = "ReplicationMgr::DeleteAllSnapsFromScratchVolume()";

// The entry of a client whose network host name cannot be found.
void LogNoClientName(ReplicationMgr& mgr, int clientId)
{
    mgr.log() << "\tCould not get client name"
              << "\n\tClient ID             = " << clientId;
}

// The client's network host name; false with the entry of a client without
// one, at ERR under the function given.
bool HostNameOf(ReplicationMgr& mgr, const char* function, int clientId, std::string& host)
{
    if (mgr.GetClientName(clientId, host)) return true;
    LogNoClientName(mgr, clientId);
    mgr.WriteLogMsg(ProgNameCleanup, function, __LINE__, ReplicationMgr::ERR);
    return false;
}

// The input lines of a failed call on the client's snapshot service.
void LogServiceInput(ReplicationMgr& mgr, const char* call, const std::string& host, int clientId)
{
    mgr.log() << "\tZXSVCClientSession::" << call << "() failed"
              << "\n\tInput:"
              << "\n\tClientName      = " << EvDebug::escaped(host) << "\n\tClient ID       = " << clientId;
}

}  // namespace

bool ReplicationMgr::UnmountVolume(const UnmountVolumeArgs_t& args)
{
    std::string host;
    if (!HostNameOf(*this, UnmountVolumeFn, args.ClientId, host)) return false;
    ZXSVCClientSession session(host, args.ClientId, nullptr, nullptr);
    if (session.removeVolumeMountPoint(args.MountPath, "", 0, 0)) return true;
    LogServiceInput(*this, "removeVolumeMountPoint", host, args.ClientId);
    m_LogMsg << "\n\tPath            = " << EvDebug::escaped(args.MountPath);
    WriteLogMsg(ProgNameCleanup, UnmountVolumeFn, __LINE__, ERR);
    return false;
}

bool ReplicationMgr::SetBlkFilterVolumes(const YBSetBlkFilterArgs_t& args, YBSetBlkFilterRet_t& ret)
{
    ret.errMsg = "";
    ret.errCode = 0;
    if (args.ClientId < 0) {
        ret.errMsg = "Invalid Client id";
        ret.errCode = kErrInvalidId;
        m_LogMsg << "\tEvent: " << ret.errMsg << "\n\tParameters used:"
                 << "\n\tClient Id = " << args.ClientId;
        WriteLogMsg(ProgNameCleanup, SetBlkFilterVolumesFn, __LINE__, ERR);
        return false;
    }
    if (args.EnableVolumes.empty() && args.DisableVolumes.empty()) return true;

    std::string host;
    if (!GetClientName(args.ClientId, host)) {
        ret.errMsg = "Could not get the host name to set the block filter driver";
        ret.errCode = kErrLookupFailed;
        m_LogMsg << "\tEvent: " << ret.errMsg << "\n";
        LogNoClientName(*this, args.ClientId);
        WriteLogMsg(ProgNameCleanup, SetBlkFilterVolumesFn, __LINE__, ERR);
        return false;
    }
    ZXSVCClientSession session(host, args.ClientId, nullptr, nullptr);
    if (session.SetBlockFilterDriver(args.EnableVolumes, args.DisableVolumes)) return true;
    ret.errMsg = "Setting (enabled/disabled) volume's block filter driver failed";
    ret.errCode = kErrClientOperation;
    m_LogMsg << "\tEvent: " << ret.errMsg << "\n";
    LogServiceInput(*this, "SetBlockFilterDriver", host, args.ClientId);
    WriteLogMsg(ProgNameCleanup, SetBlkFilterVolumesFn, __LINE__, ERR);
    return false;
}

bool ReplicationMgr::ReadyForSnapshotDeletion(const DeleteAllSnapsFromScratchVolumeArgs_t& args, ReadyHost& ready)
{
    return HostNameOf(*this, DeleteAllSnapsFn, args.ClientId, ready.name) &&
           IsYBInstalled(args.ClientId, 1, &ready.installed);
}

bool ReplicationMgr::DeleteSnapsOnReadyHost(const DeleteAllSnapsFromScratchVolumeArgs_t& args, const ReadyHost& ready)
{
    if (!ready.installed) return true;  // nothing left on the client to delete with
    ZXSVCClientSession session(ready.name, args.ClientId, nullptr, nullptr);
    if (session.DeleteAllSnapsFromVolume(args.Volume)) return true;
    LogServiceInput(*this, "DeleteAllSnapsFromVolume", ready.name, args.ClientId);
    m_LogMsg << "\n\tVolume Id       = " << EvDebug::escaped(args.Volume);
    WriteLogMsg(ProgNameCleanup, DeleteAllSnapsFn, __LINE__, ERR);
    return false;
}

bool ReplicationMgr::DeleteAllSnapsFromScratchVolume(const DeleteAllSnapsFromScratchVolumeArgs_t& args)
{
    ReadyHost ready;
    return ReadyForSnapshotDeletion(args, ready) && DeleteSnapsOnReadyHost(args, ready);
}
