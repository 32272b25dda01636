// The client snapshot service: a session with the service on one client
// machine, built per call. This stand-in reaches no client; it journals each
// call in ClientFakes and answers from its script.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CZxNetwork;

// A snapshot to release, for hosts of release 11. The service returns the
// snapshot's result bits (1 share removed, 2 unmounted, 4 destroyed) in
// m_nResult.
struct ZXSVCClientSnap_t {
    ZXSVCClientSnap_t(std::string name, std::string volumeGUID, std::string mountPath, std::string shareName,
                      int32_t result);

    std::string m_sName;
    std::string m_sVolumeGUID;
    std::string m_sMountPath;
    std::string m_sShareName;
    int32_t m_nResult;
};

// A snapshot to release, for the other releases. The service returns the
// snapshot's result bits in m_nSetIdResult, the field that carried the
// replication set id.
struct ZXSVCClientSnapV2_t {
    ZXSVCClientSnapV2_t(std::string name, std::string volumeGUID, std::string mountPath, std::string shareName,
                        std::string snapshotPath, int32_t snapEngineType, int32_t setIdResult, int64_t reserved);

    std::string m_sName;
    std::string m_sVolumeGUID;
    std::string m_sMountPath;
    std::string m_sShareName;
    std::string m_sSnapshotPath;
    int32_t m_nSnapEngineType;
    int32_t m_nSetIdResult;
    int64_t m_llReserved;
};

class ZXSVCClientSession {
public:
    // The two network objects may be null; the session then opens its own.
    ZXSVCClientSession(const std::string& clientName, int clientId, CZxNetwork* network, CZxNetwork* callback);

    // Unshares, unmounts and destroys the snapshots; true when the host took
    // the batch, each item then holding its result bits. False leaves the
    // items as they were.
    bool FLRSnapCleanup(std::vector<ZXSVCClientSnap_t>& snaps);
    bool FLRSnapCleanup(std::vector<ZXSVCClientSnapV2_t>& snaps);
    // One GUID per path, in path order, replacing what guids held.
    bool FindVolumeGUID(const std::vector<std::string>& paths, std::vector<std::string>& guids);
    bool removeVolumeMountPoint(const std::string& path, const std::string& secondPath, int first, int second);
    bool SetBlockFilterDriver(const std::vector<std::string>& enable, const std::vector<std::string>& disable);
    // Deletes every snapshot of the volume (its device name on the client).
    bool DeleteAllSnapsFromVolume(const std::string& volume);

private:
    // Journals the call; true when it is to fail.
    bool enter(const char* operation, std::vector<std::string> args) const;

    std::string m_sClientName;
    int m_nClientId;
};
