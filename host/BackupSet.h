// Replication (backup) sets by id, read from the catalogue (seeded through
// HostConfig). Queries return 0, HOSTCFG_NOT_FOUND (HostConfig.h) for a set that does not
// exist, HOSTCFG_NO_VALUE for a value never configured, or another non-zero
// status, leaving the value as it was; the context is the caller's open
// DBtran, or null.
#pragma once

#include <string>

class BackupSet {
public:
    explicit BackupSet(int backupSetId) : m_nBackupSetId(backupSetId) {}
    virtual ~BackupSet() = default;

    int getBackupSetName(std::string& name, void* context = nullptr);
    // The client that owns the set.
    int getClientIdForBackupSet(int& clientId, void* context = nullptr);

protected:
    struct Values {
        std::string name;
        bool configured = false;
        int clientId = 0;
        int destinationHostId = 0;
        int maxConsistencyPoints = 0;
    };
    // HOSTCFG_NO_VALUE when the configured values are needed and missing.
    int read(const char* query, void* context, Values& set, bool needsConfiguration = false);

    int m_nBackupSetId;
};

class FileReplicationBackupSet : public BackupSet {
public:
    explicit FileReplicationBackupSet(int backupSetId) : BackupSet(backupSetId) {}

    // The client the set replicates to.
    int getDestinationHostId(int& hostId, void* context = nullptr);
    // The most consistency points the set keeps.
    int getMaxCountConsistPoints(int& count, void* context = nullptr);
};
