#include "host/ZXPlatformInfo.h"

#include <pthread.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <set>

#include "host/EvDebug.h"
#include "host/clients/ClientFakes.h"

namespace {

struct Store {
    std::mutex mutex;
    std::map<std::string, std::string> values;  // "section\nkey" -> value
    bool fileRead = false;
    std::set<std::string> logged;  // "user\nsection\nkey\nvalue" of the values not taken
};

Store& theStore();

// The store's lock is held across a fork by the thread that forks, so that a
// child never waits for it held by a thread of its parent it does not have.
void holdStoreForFork() { theStore().mutex.lock(); }
void releaseStoreAfterFork() { theStore().mutex.unlock(); }

// Never destroyed: a thread of the library may read the configuration while
// the process ends.
Store& theStore() {
    static Store& store = *new Store();
    static const bool heldAcrossFork =
        pthread_atfork(&holdStoreForFork, &releaseStoreAfterFork, &releaseStoreAfterFork) == 0;
    static_cast<void>(heldAcrossFork);
    return store;
}

std::string keyOf(const char* section, const char* key) {
    return std::string(section ? section : "") + "\n" + (key ? key : "");
}

std::string trim(const std::string& s) {
    const char* ws = " \t\r\n";
    size_t b = s.find_first_not_of(ws);
    if (b == std::string::npos) return "";
    size_t e = s.find_last_not_of(ws);
    return s.substr(b, e - b + 1);
}

// Reads the INI-style file named by REPLMGR_CONFIG once; values set by
// setValue before that are not overwritten.
void readFileOnce(Store& store) {
    if (store.fileRead) return;
    store.fileRead = true;
    const char* path = std::getenv("REPLMGR_CONFIG");
    if (!path || !*path) return;
    std::ifstream in(path);
    std::string line, section;
    while (std::getline(in, line)) {
        line = trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            section = trim(line.substr(1, line.size() - 2));
            continue;
        }
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        store.values.emplace(keyOf(section.c_str(), trim(line.substr(0, eq)).c_str()),
                             trim(line.substr(eq + 1)));
    }
}

bool lookup(const char* section, const char* key, std::string& out) {
    Store& store = theStore();
    std::lock_guard<std::mutex> guard(store.mutex);
    readFileOnce(store);
    auto it = store.values.find(keyOf(section, key));
    if (it == store.values.end()) return false;
    out = it->second;
    return true;
}

}  // namespace

ZXPlatformInfo::NumberRead ZXPlatformInfo::readNumber(const char* section, const char* key, long long* value,
                                                      std::string* text) {
    std::string found;
    if (!lookup(section, key, found)) return NumberRead::absent;
    found = trim(found);
    if (text) *text = found;
    if (found.empty()) return NumberRead::absent;
    errno = 0;
    char* end = nullptr;
    // Decimal, or hexadecimal after "0x"; a leading zero does not mean octal.
    bool hex = found.size() > 2 && found[0] == '0' && (found[1] == 'x' || found[1] == 'X');
    long long n = std::strtoll(found.c_str(), &end, hex ? 16 : 10);
    if (errno != 0 || end == found.c_str() || *end != '\0') return NumberRead::malformed;
    if (value) *value = n;
    return NumberRead::read;
}

unsigned long long ZXPlatformInfo::readSetting(const char* section, const char* key, const NumberRange& range,
                                               const std::string& user)
{
    long long value = 0;
    std::string text;
    const NumberRead read = readNumber(section, key, &value, &text);
    const bool taken = read == NumberRead::read && value >= 0 && static_cast<unsigned long long>(value) <= range.most;
    if (taken) return range.zeroIsDefault && value == 0 ? range.fallback : static_cast<unsigned long long>(value);
    if (read == NumberRead::absent) return range.fallback;
    {
        Store& store = theStore();
        std::lock_guard<std::mutex> guard(store.mutex);
        if (!store.logged.insert(user + '\n' + keyOf(section, key) + '\n' + text).second) return range.fallback;
    }
    const std::string entry = "ZXPlatformInfo[" + std::to_string(__LINE__) + "] -> The setting " +
                              EvDebug::escaped(key ? key : "") + " of section " + (section ? section : "") +
                              " is \"" + EvDebug::escaped(text) + "\", not a number from 0 to " +
                              std::to_string(range.most) + ": " + user + " takes the key's default\n";
    EvDebug().debug(entry.c_str());
    return range.fallback;
}

unsigned int ZXPlatformInfo::getNumber(const char* section, const char* key, unsigned long* value) {
    long long n = 0;
    if (!value || readNumber(section, key, &n) != NumberRead::read) return 0;
    *value = static_cast<unsigned long>(n);
    return 1;
}

unsigned int ZXPlatformInfo::getRegInt(const char* section, const char* key, int* value) {
    unsigned long number = 0;
    if (!value || !getNumber(section, key, &number)) return 0;
    *value = static_cast<int>(number);
    return 1;
}

unsigned int ZXPlatformInfo::getString(const char* section, const char* key, std::string& value) {
    std::string text;
    if (!lookup(section, key, text)) return 0;
    value = text;
    return 1;
}

void ZXPlatformInfo::setValue(const char* section, const char* key, const std::string& value) {
    Store& store = theStore();
    std::lock_guard<std::mutex> guard(store.mutex);
    readFileOnce(store);
    store.values[keyOf(section, key)] = value;
}

void ZXPlatformInfo::clearValue(const char* section, const char* key) {
    Store& store = theStore();
    std::lock_guard<std::mutex> guard(store.mutex);
    readFileOnce(store);
    store.values.erase(keyOf(section, key));
}

void ZXPlatformInfo::clearAll() {
    Store& store = theStore();
    std::lock_guard<std::mutex> guard(store.mutex);
    store.fileRead = true;
    store.values.clear();
    store.logged.clear();
}

unsigned int ZXPlatformInfo::getZXPlatformType()
{
    ClientFakes& fakes = ClientFakes::instance();
    fakes.enter(ClientCall{"getZXPlatformType", "", -1, {}});
    return fakes.platformType();
}

bool ZXPlatformInfo::getDrevhostClientName(char* buffer, int size)
{
    ClientFakes& fakes = ClientFakes::instance();
    bool fail = fakes.enter(ClientCall{"getDrevhostClientName", "", -1, {std::to_string(size)}});
    if (buffer == nullptr || size <= 0) return false;
    buffer[0] = '\0';
    if (fail) return false;
    std::string name = fakes.drevhostClientName();
    size_t n = std::min(name.size(), static_cast<size_t>(size) - 1);
    std::memcpy(buffer, name.data(), n);
    buffer[n] = '\0';
    return true;
}

std::string ZXPlatformInfo::getPhysicalMachine()
{
    ClientFakes& fakes = ClientFakes::instance();
    fakes.enter(ClientCall{"getPhysicalMachine", "", -1, {}});
    return fakes.physicalMachine();
}
