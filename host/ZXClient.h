// Host client directory: a client by id, or by its name or network host name,
// read from the catalogue's clients (seeded through HostConfig).
#pragma once

#include <string>

struct HostClientRecord;

class ZXClient {
public:
    // The id is the 32-bit client id widened with its sign.
    explicit ZXClient(unsigned long long clientId);
    // By the client's name, or with isNetHostName by its network host name;
    // the lowest id wins when several clients share it. The context is used
    // by every query that is given none of its own.
    ZXClient(const std::string& name, bool isNetHostName, void* context = nullptr);
    ~ZXClient();

    // Every query returns 0 with its value, HOSTCFG_NOT_FOUND (HostConfig.h) when there is
    // no such client, HOSTCFG_NO_VALUE when the value was never configured,
    // or another non-zero status (a failed read), leaving the value as it
    // was. The context is the caller's open DBtran, or null.

    // 0 when the client exists.
    int lookup(void* context = nullptr);
    int getClientId(int& clientId, void* context = nullptr);
    int getName(std::string& name, void* context = nullptr);
    int getNetworkHostnameMangled(std::string& hostName, void* context = nullptr);
    int getOperatingSystemId(int& osId, void* context = nullptr);
    int getReleaseId(int& releaseId, void* context = nullptr);
    // The cell (tallmark) of the client.
    int getTallmarkId(int& tallmarkId, void* context = nullptr);
    // HOSTCFG_NO_VALUE for a client without a password.
    int getPassword(std::string& password, void* context = nullptr);

private:
    int read(const char* query, void* context, HostClientRecord& client, bool needsConfiguration = false);

    unsigned long long m_ullClientId;
    std::string m_sName;
    bool m_bByName;
    bool m_bNetHostName;
    void* m_pContext;
};
