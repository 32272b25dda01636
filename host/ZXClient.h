// Host client directory.
#pragma once

#include <string>

class ZXClient {
public:
    explicit ZXClient(unsigned long long clientId);
    ~ZXClient();

    // Writes the client's network host name; 0 when it was written.
    int getNetworkHostnameMangled(std::string& hostName, void* reserved);

    // Directory contents.
    static void setHostName(unsigned long long clientId, const std::string& hostName);
    // Makes the lookup of a client return this non-zero code, after writing
    // the given text into the caller's string.
    static void setLookupFailure(unsigned long long clientId, int code, const std::string& leftText = "");
    static void removeClient(unsigned long long clientId);
    static void clearAll();

private:
    unsigned long long m_ullClientId;
};
