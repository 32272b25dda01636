// Subclients (replication pairs) by id and the subclients that hold a volume,
// read from the catalogue (seeded through HostConfig). Queries return 0,
// HOSTCFG_NOT_FOUND (HostConfig.h) for a subclient that does not exist, or another non-zero
// status, leaving the value as it was; the context is the caller's open
// DBtran, or null. A subclient without a configuration row is not a default
// one and has empty texts.
#pragma once

#include <string>
#include <vector>

class Subclient {
public:
    explicit Subclient(int subclientId) : m_nSubclientId(subclientId) {}
    virtual ~Subclient() = default;

    int isDeleted(bool& deleted, void* context = nullptr);
    int isDefaultSubclient(bool& isDefault, void* context = nullptr);

protected:
    struct Values {
        bool deleted = false;
        bool isDefault = false;
        std::string destinationGUID;
        std::string defaultImportHost;
    };
    int read(const char* query, void* context, Values& subclient);

    int m_nSubclientId;
};

class FileReplicationSubClient : public Subclient {
public:
    explicit FileReplicationSubClient(int subclientId) : Subclient(subclientId) {}

    // The GUID of the pair's destination volume.
    int getDestinationGUID(std::string& guid, void* context = nullptr);
};

class ReplicationSubclientConfiguration : public Subclient {
public:
    explicit ReplicationSubclientConfiguration(int subclientId) : Subclient(subclientId) {}

    // The host that imports the subclient's snapshots; empty for none.
    int getDefaultImportHost(std::string& host, void* context = nullptr);
};

class ContentQuery {
public:
    // The ids (ascending, each once) of the subclients with a current content
    // entry on the SNR volume; none is no failure.
    int getSCListHavingVolId(int volumeId, std::vector<int>& subclientIds, void* context = nullptr);
};
