#include "host/ZXClient.h"

#include "host/HostConfig.h"

ZXClient::ZXClient(unsigned long long clientId)
    : m_ullClientId(clientId), m_bByName(false), m_bNetHostName(false), m_pContext(nullptr)
{
}

ZXClient::ZXClient(const std::string& name, bool isNetHostName, void* context)
    : m_ullClientId(0), m_sName(name), m_bByName(true), m_bNetHostName(isNetHostName), m_pContext(context)
{
}

ZXClient::~ZXClient() = default;

int ZXClient::read(const char* query, void* context, HostClientRecord& client, bool needsConfiguration)
{
    return hostConfigReadClient(query, context != nullptr ? context : m_pContext,
                                static_cast<long long>(m_ullClientId), m_bByName, m_sName, m_bNetHostName,
                                needsConfiguration, client);
}

int ZXClient::lookup(void* context)
{
    HostClientRecord client;
    return read("lookup", context, client);
}

int ZXClient::getClientId(int& clientId, void* context)
{
    HostClientRecord client;
    int rc = read("getClientId", context, client);
    if (rc == 0) clientId = static_cast<int>(client.id);
    return rc;
}

int ZXClient::getName(std::string& name, void* context)
{
    HostClientRecord client;
    int rc = read("getName", context, client);
    if (rc == 0) name = client.name;
    return rc;
}

int ZXClient::getNetworkHostnameMangled(std::string& hostName, void* context)
{
    HostClientRecord client;
    int rc = read("getNetworkHostnameMangled", context, client);
    if (rc == 0) hostName = client.netHostName;
    return rc;
}

int ZXClient::getOperatingSystemId(int& osId, void* context)
{
    HostClientRecord client;
    int rc = read("getOperatingSystemId", context, client);
    if (rc == 0) osId = client.osId;
    return rc;
}

int ZXClient::getReleaseId(int& releaseId, void* context)
{
    HostClientRecord client;
    int rc = read("getReleaseId", context, client, true);
    if (rc == 0) releaseId = client.releaseId;
    return rc;
}

int ZXClient::getTallmarkId(int& tallmarkId, void* context)
{
    HostClientRecord client;
    int rc = read("getTallmarkId", context, client, true);
    if (rc == 0) tallmarkId = client.tallmarkId;
    return rc;
}

int ZXClient::getPassword(std::string& password, void* context)
{
    HostClientRecord client;
    int rc = read("getPassword", context, client);
    if (rc == 0 && client.password.empty()) rc = HOSTCFG_NO_VALUE;
    if (rc == 0) password = client.password;
    return rc;
}
