// The FLR client of hosts that are not Windows hosts, and the archive snapshot
// interfaces of media management. Stand-ins: each call is journaled in
// ClientFakes and answered from its script.
#pragma once

#include <string>
#include <vector>

class CZxNetwork;

class ZXFLRClientApi {
public:
    ZXFLRClientApi(const std::string& clientName, int clientId, CZxNetwork* network);

    // Destroys the named snapshots; 0 when the host took the list. On return
    // the list holds the names of the snapshots that were not destroyed (those
    // whose scripted result bits lack 4), so an empty list means all went. A
    // non-zero status leaves the list as it was.
    int FLRDelSnaps(std::vector<std::string>& snapNames);

private:
    std::string m_sClientName;
    int m_nClientId;
};

// The query of the archive snapshots of one recovery point.
class SMVolSnapInfo {
public:
    void setJobId(long long jobId) { m_llJobId = jobId; }
    void setRecoveryPointId(int recoveryPointId) { m_nRecoveryPointId = recoveryPointId; }
    void setRetrieveValidFlags(unsigned int flags) { m_nRetrieveValidFlags = flags; }
    void setSnapJobId(int snapJobId) { m_nSnapJobId = snapJobId; }

    long long getJobId() const { return m_llJobId; }
    int getRecoveryPointId() const { return m_nRecoveryPointId; }
    unsigned int getRetrieveValidFlags() const { return m_nRetrieveValidFlags; }
    int getSnapJobId() const { return m_nSnapJobId; }

private:
    long long m_llJobId = 0;
    int m_nRecoveryPointId = 0;
    unsigned int m_nRetrieveValidFlags = 0;
    int m_nSnapJobId = 0;
};

class ZXMMSnapAPI {
public:
    // The mode is the media-management interface's own (callers pass 1).
    explicit ZXMMSnapAPI(int mode);
    // Fetches the archive snapshots the query selects; true on success.
    bool getVolumeSnaps(SMVolSnapInfo& query);
};

class ZXSnapClientAPI {
public:
    ZXSnapClientAPI() = default;
    // Deletes the archive snapshots the query selects; true on success.
    bool deleteVolumeSnaps(SMVolSnapInfo& query);
};
