// The host's device layer: activation of a device's controller and the
// in-use checks of devices and shared-disk partitions.
//
// A new ZXMMDBDeviceInfo is built for every call, so what the layer knows is
// kept process-wide (and guarded for use from several threads): the devices
// whose controller is active, the devices and partitions in use, failures
// programmed by tests, and a journal of the calls made while the host's
// journals are on (HostJournals::keep).
#pragma once

#include <string>
#include <vector>

class DBtran;

// Last error text of a device-layer object.
class MMS2BaseError {
public:
    MMS2BaseError() {}
    virtual ~MMS2BaseError() {}

    // Copies the last error text into buffer, cut to size-1 characters and
    // always terminated; an empty text when the last call succeeded.
    void getLastError(char* buffer, int size) const;

protected:
    void setLastError(const std::string& text) { m_sLastError = text; }

private:
    std::string m_sLastError;
};

class ZXMMDBDeviceInfo : public MMS2BaseError {
public:
    ZXMMDBDeviceInfo() {}

    // 0 on success, else an error code with the text in getLastError. A
    // device id of 0 or less is refused.
    int activateControllerBySNRVolId(int deviceId, DBtran* tran);
    int deactivateControllerBySNRVolId(int deviceId, DBtran* tran);
    // 0 when the check ran; inUse then tells whether the device is used as a
    // storage device.
    int isSNRVolumeBeingUsed(int deviceId, bool& inUse);
    // 0 when the check ran; inUse then tells whether the shared-disk
    // partition of the SNR volume is in use.
    int isSNRPartitionBeingUsed(int snrVolumeId, bool& inUse);

    // Whether the device's controller is active.
    static bool isControllerActive(int deviceId);

    // Calls made while the host's journals were on, in order:
    // "activate <id>", "deactivate <id>", "volumeInUse <id>",
    // "partitionInUse <id>".
    static std::vector<std::string> journal();
    // The next call of that kind ("activate", "deactivate", "volumeInUse",
    // "partitionInUse") fails with code and text; several are queued in
    // order. A code of 0 or an unknown call is ignored.
    static void failNext(const std::string& call, int code, const std::string& text);
    // Marks a device ("volumeInUse") or a partition ("partitionInUse") as in
    // use or not; another call name is ignored.
    static void setInUse(const std::string& call, int id, bool inUse);
    // Forgets everything: active controllers, in-use marks, failures, journal.
    static void reset();

private:
    // Journals the call; true with the text set when a failure was programmed.
    bool takeFailure(const char* call, int id, int& code);
    // The in-use check of one kind of call ("volumeInUse", "partitionInUse").
    int checkInUse(const char* call, int id, bool& inUse);
};
