// Properties and application lists of clients and the names of application
// types, read from the catalogue (seeded through HostConfig). Queries return
// 0, HOSTCFG_NOT_FOUND (HostConfig.h) for a client, set or application type that does not
// exist, HOSTCFG_NO_VALUE for a value never configured, or another non-zero
// status, leaving their out-values as they were; the context is the caller's
// open DBtran, or null. Lists come in ascending id order.
#pragma once

#include <string>
#include <vector>

#include "host/crypto/Zxc.h"

class ClientProperties {
public:
    explicit ClientProperties(int clientId) : m_nClientId(clientId) {}

    // Whether the package (by its id) is installed on the client.
    int isInstalled(int packageId, bool& installed, void* context = nullptr);
    int getClientEncryption(bool& enabled, void* context = nullptr);
    int getDataEncType(Zxc::CIPHER& cipher, void* context = nullptr);
    // The data key length in bytes.
    int getDataKeyLen(int& keyLength, void* context = nullptr);

private:
    int m_nClientId;
};

class ClientApplicationList {
public:
    // Whether an agent of the application type is installed on the client: a
    // client without one, or unknown, has none (0 and false).
    int isAppTypeInstalled(int clientId, int appTypeId, bool& installed, void* context = nullptr);

    // The last argument of the three lists is passed as 1 by every caller and
    // selects nothing.
    int getInstanceList(int clientId, int appTypeId, std::vector<int>& instanceIds, std::vector<std::string>& names,
                        void* context = nullptr, int = 1);
    // The sets of the client's application instance, with their flags.
    int getBackupSetList(std::vector<int>& backupSetIds, std::vector<std::string>& names, std::vector<int>& flags,
                         int clientId, int appTypeId, int instanceId, void* context = nullptr, int = 1);
    // The subclients (replication pairs) of the set, deleted ones included.
    int getSubclientList(std::vector<int>& subclientIds, std::vector<std::string>& names, int appTypeId,
                         int backupSetId, void* context = nullptr, int = 1);
};

class AppTypeNameId {
public:
    explicit AppTypeNameId(int appTypeId) : m_nAppTypeId(appTypeId) {}

    int GetAppTypeName(std::string& name, void* context = nullptr);

private:
    int m_nAppTypeId;
};
