#include "host/clients/ZXSVCClientSession.h"

#include <utility>

#include "host/clients/ClientFakes.h"

ZXSVCClientSnap_t::ZXSVCClientSnap_t(std::string name, std::string volumeGUID, std::string mountPath,
                                     std::string shareName, int32_t result)
    : m_sName(std::move(name)), m_sVolumeGUID(std::move(volumeGUID)), m_sMountPath(std::move(mountPath)),
      m_sShareName(std::move(shareName)), m_nResult(result)
{
}

ZXSVCClientSnapV2_t::ZXSVCClientSnapV2_t(std::string name, std::string volumeGUID, std::string mountPath,
                                         std::string shareName, std::string snapshotPath, int32_t snapEngineType,
                                         int32_t setIdResult, int64_t reserved)
    : m_sName(std::move(name)), m_sVolumeGUID(std::move(volumeGUID)), m_sMountPath(std::move(mountPath)),
      m_sShareName(std::move(shareName)), m_sSnapshotPath(std::move(snapshotPath)),
      m_nSnapEngineType(snapEngineType), m_nSetIdResult(setIdResult), m_llReserved(reserved)
{
}

ZXSVCClientSession::ZXSVCClientSession(const std::string& clientName, int clientId, CZxNetwork*, CZxNetwork*)
    : m_sClientName(clientName), m_nClientId(clientId)
{
}

bool ZXSVCClientSession::enter(const char* operation, std::vector<std::string> args) const
{
    return ClientFakes::instance().enter(ClientCall{operation, m_sClientName, m_nClientId, std::move(args)});
}

bool ZXSVCClientSession::FLRSnapCleanup(std::vector<ZXSVCClientSnap_t>& snaps)
{
    std::vector<std::string> args;
    for (const ZXSVCClientSnap_t& s : snaps) {
        args.insert(args.end(), {s.m_sName, s.m_sVolumeGUID, s.m_sMountPath, s.m_sShareName,
                                 std::to_string(s.m_nResult)});
    }
    if (enter("FLRSnapCleanup", std::move(args))) return false;
    for (ZXSVCClientSnap_t& s : snaps) s.m_nResult = ClientFakes::instance().snapResult(s.m_sName);
    return true;
}

bool ZXSVCClientSession::FLRSnapCleanup(std::vector<ZXSVCClientSnapV2_t>& snaps)
{
    std::vector<std::string> args;
    for (const ZXSVCClientSnapV2_t& s : snaps) {
        args.insert(args.end(), {s.m_sName, s.m_sVolumeGUID, s.m_sMountPath, s.m_sShareName, s.m_sSnapshotPath,
                                 std::to_string(s.m_nSnapEngineType), std::to_string(s.m_nSetIdResult),
                                 std::to_string(s.m_llReserved)});
    }
    if (enter("FLRSnapCleanupV2", std::move(args))) return false;
    for (ZXSVCClientSnapV2_t& s : snaps) s.m_nSetIdResult = ClientFakes::instance().snapResult(s.m_sName);
    return true;
}

bool ZXSVCClientSession::FindVolumeGUID(const std::vector<std::string>& paths, std::vector<std::string>& guids)
{
    if (enter("FindVolumeGUID", paths)) return false;
    guids.clear();
    if (ClientFakes::instance().volumeGUIDAnswer(guids)) return true;
    for (const std::string& path : paths) guids.push_back(ClientFakes::instance().volumeGUID(path));
    return true;
}

bool ZXSVCClientSession::removeVolumeMountPoint(const std::string& path, const std::string& secondPath, int first,
                                                int second)
{
    return !enter("removeVolumeMountPoint", {path, secondPath, std::to_string(first), std::to_string(second)});
}

bool ZXSVCClientSession::SetBlockFilterDriver(const std::vector<std::string>& enable,
                                              const std::vector<std::string>& disable)
{
    std::vector<std::string> args{std::to_string(enable.size())};
    args.insert(args.end(), enable.begin(), enable.end());
    args.push_back(std::to_string(disable.size()));
    args.insert(args.end(), disable.begin(), disable.end());
    return !enter("SetBlockFilterDriver", std::move(args));
}

bool ZXSVCClientSession::DeleteAllSnapsFromVolume(const std::string& volume)
{
    return !enter("DeleteAllSnapsFromVolume", {volume});
}
