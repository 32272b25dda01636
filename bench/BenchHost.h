// A host around one ReplicationMgr for the benchmarks: a network that keeps
// the last reply's status, code and ids, and a quiet debug log; and the
// add-device request with the texts it points at.
#pragma once

#include <cstring>
#include <string>

#include "host/ZXPlatformInfo.h"
#include "host/ZxFramework.h"
#include "service/ReplicationMgr.h"
#include "snr/DeviceMessages.h"
#include "snr/SNRMessages.h"

namespace bench {

// The configuration of the benchmarks: the default verbose level, log entries
// composed but written nowhere, the host's journals off.
inline void quietLog()
{
    ZXPlatformInfo::setValue("EvDebug", "LogFile", "none");
}

// The same on a configuration cleared of every value set before.
inline void quietHost()
{
    ZXPlatformInfo::clearAll();
    quietLog();
}

struct Host {
    Host()
    {
        network.setSendObserver([this](unsigned long code, const void* data, unsigned long length) {
            replyCode = code;
            if (code == 0x35000002 && length == sizeof(repAddSNRDeviceResponse)) {
                const auto* r = static_cast<const repAddSNRDeviceResponse*>(data);
                status = r->status;
                errCode = 0;
                deviceId = r->DeviceId;
                volumeId = r->SNRVolumeId;
            } else if (code == 0x35000112 && length == sizeof(repQueryTzGlobalHistoryNameResp)) {
                const auto* r = static_cast<const repQueryTzGlobalHistoryNameResp*>(data);
                status = static_cast<int>(r->status);
                errCode = r->errCode;
            } else {
                status = -1;
            }
        });
    }

    // Posts a request; true when it was answered.
    bool post(unsigned long code, void* request)
    {
        replyCode = 0;
        zxsDatabuf buf;
        buf.m_pData = request;
        return mgr.post(code, 0, &buf) == 1 && replyCode == code + 1;
    }

    CZxNetwork network;
    ZxSessionSend session{&network};
    ReplicationMgr mgr{&session};
    unsigned long replyCode = 0;
    int status = 0;
    int errCode = 0;
    int deviceId = 0;
    int volumeId = 0;
};

// An add-device request (0x35000001) of a new device on a new SNR volume with
// two mount points.
struct AddDevice {
    std::string uniqueId;
    std::string fsType = "NTFS";
    std::string deviceName;
    std::string paths[2];
    repSNRVolumeMountPoint points[2];
    repAddSNRDeviceReq req;

    AddDevice(int clientId, const std::string& tag)
        : uniqueId("600A0B80-" + tag), deviceName("/dev/" + tag), paths{"/mnt/" + tag + "/a", "/mnt/" + tag + "/b"}
    {
        req.SNRVolume.UniqueId = &uniqueId[0];
        req.SNRVolume.UniqueIdType = 1;
        req.SNRVolume.LUN = 4;
        req.SNRVolume.StartLBA = 0;
        req.SNRVolume.BlockCount = 2048;
        req.SNRVolume.BlockSize = 512;
        req.SNRVolume.FSType = &fsType[0];
        req.Device.ClientId = clientId;
        req.Device.DeviceName = &deviceName[0];
        for (int i = 0; i < 2; ++i) points[i].Path = &paths[i][0];
        req.MountPointCount = 2;
        req.MountPoints = points;
    }
    AddDevice(const AddDevice&) = delete;
    AddDevice& operator=(const AddDevice&) = delete;

    // Posts it; true when the device was registered.
    bool post(Host& host) { return host.post(0x35000001, &req) && host.status == 1; }
};

}  // namespace bench
