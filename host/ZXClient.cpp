#include "host/ZXClient.h"

#include <map>
#include <mutex>

namespace {

struct Directory {
    std::mutex mutex;
    std::map<unsigned long long, std::pair<int, std::string>> hosts;  // id -> (result, text)
};

Directory& theDirectory() {
    static Directory dir;
    return dir;
}

}  // namespace

ZXClient::ZXClient(unsigned long long clientId) : m_ullClientId(clientId) {}

ZXClient::~ZXClient() = default;

int ZXClient::getNetworkHostnameMangled(std::string& hostName, void*) {
    Directory& dir = theDirectory();
    std::lock_guard<std::mutex> guard(dir.mutex);
    auto it = dir.hosts.find(m_ullClientId);
    if (it == dir.hosts.end()) return 2;  // no such client
    hostName = it->second.second;
    return it->second.first;
}

void ZXClient::setHostName(unsigned long long clientId, const std::string& hostName) {
    Directory& dir = theDirectory();
    std::lock_guard<std::mutex> guard(dir.mutex);
    dir.hosts[clientId] = {0, hostName};
}

void ZXClient::setLookupFailure(unsigned long long clientId, int code, const std::string& leftText) {
    Directory& dir = theDirectory();
    std::lock_guard<std::mutex> guard(dir.mutex);
    dir.hosts[clientId] = {code, leftText};
}

void ZXClient::removeClient(unsigned long long clientId) {
    Directory& dir = theDirectory();
    std::lock_guard<std::mutex> guard(dir.mutex);
    dir.hosts.erase(clientId);
}

void ZXClient::clearAll() {
    Directory& dir = theDirectory();
    std::lock_guard<std::mutex> guard(dir.mutex);
    dir.hosts.clear();
}
