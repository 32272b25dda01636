#include "host/ZXMMDBDeviceInfo.h"

#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <utility>

#include "host/HostJournal.h"

namespace {

struct DeviceLayerState {
    std::mutex lock;
    std::set<int> activeControllers;
    std::set<int> devicesInUse;
    std::set<int> partitionsInUse;
    std::map<std::string, std::deque<std::pair<int, std::string>>> failures;
    HostJournal<std::string> journal;
};

DeviceLayerState& state()
{
    static DeviceLayerState s;
    return s;
}

bool knownCall(const std::string& call)
{
    return call == "activate" || call == "deactivate" || call == "volumeInUse" || call == "partitionInUse";
}

// The in-use marks a check call reads ("volumeInUse", "partitionInUse"); null for another call.
std::set<int>* inUseMarks(DeviceLayerState& s, const std::string& call)
{
    if (call == "volumeInUse") return &s.devicesInUse;
    if (call == "partitionInUse") return &s.partitionsInUse;
    return nullptr;
}

}  // namespace

void MMS2BaseError::getLastError(char* buffer, int size) const
{
    if (buffer == nullptr || size <= 0) return;
    size_t n = m_sLastError.size();
    if (n > static_cast<size_t>(size) - 1) n = static_cast<size_t>(size) - 1;
    std::memcpy(buffer, m_sLastError.data(), n);
    buffer[n] = '\0';
}

bool ZXMMDBDeviceInfo::takeFailure(const char* call, int id, int& code)
{
    DeviceLayerState& s = state();
    // Called with the lock held.
    s.journal.add(std::string(call) + " " + std::to_string(id));
    auto it = s.failures.find(call);
    if (it == s.failures.end() || it->second.empty()) {
        setLastError("");
        return false;
    }
    code = it->second.front().first;
    setLastError(it->second.front().second);
    it->second.pop_front();
    return true;
}

int ZXMMDBDeviceInfo::activateControllerBySNRVolId(int deviceId, DBtran*)
{
    DeviceLayerState& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    int code = 0;
    if (takeFailure("activate", deviceId, code)) return code;
    if (deviceId <= 0) {
        setLastError("Cannot activate the controller of device " + std::to_string(deviceId) + ": invalid device id");
        return -1;
    }
    s.activeControllers.insert(deviceId);
    return 0;
}

int ZXMMDBDeviceInfo::deactivateControllerBySNRVolId(int deviceId, DBtran*)
{
    DeviceLayerState& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    int code = 0;
    if (takeFailure("deactivate", deviceId, code)) return code;
    if (deviceId <= 0) {
        setLastError("Cannot deactivate the controller of device " + std::to_string(deviceId) +
                     ": invalid device id");
        return -1;
    }
    s.activeControllers.erase(deviceId);
    return 0;
}

int ZXMMDBDeviceInfo::checkInUse(const char* call, int id, bool& inUse)
{
    DeviceLayerState& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    int code = 0;
    if (takeFailure(call, id, code)) return code;
    inUse = inUseMarks(s, call)->count(id) > 0;
    return 0;
}

int ZXMMDBDeviceInfo::isSNRVolumeBeingUsed(int deviceId, bool& inUse)
{
    return checkInUse("volumeInUse", deviceId, inUse);
}

int ZXMMDBDeviceInfo::isSNRPartitionBeingUsed(int snrVolumeId, bool& inUse)
{
    return checkInUse("partitionInUse", snrVolumeId, inUse);
}

bool ZXMMDBDeviceInfo::isControllerActive(int deviceId)
{
    DeviceLayerState& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    return s.activeControllers.count(deviceId) > 0;
}

std::vector<std::string> ZXMMDBDeviceInfo::journal()
{
    return state().journal.entries();
}

void ZXMMDBDeviceInfo::failNext(const std::string& call, int code, const std::string& text)
{
    if (code == 0 || !knownCall(call)) return;
    DeviceLayerState& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    s.failures[call].emplace_back(code, text);
}

void ZXMMDBDeviceInfo::setInUse(const std::string& call, int id, bool inUse)
{
    DeviceLayerState& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    std::set<int>* marks = inUseMarks(s, call);
    if (marks == nullptr) return;
    if (inUse)
        marks->insert(id);
    else
        marks->erase(id);
}

void ZXMMDBDeviceInfo::reset()
{
    DeviceLayerState& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    s.activeControllers.clear();
    s.devicesInUse.clear();
    s.partitionsInUse.clear();
    s.failures.clear();
    s.journal.clear();
}
