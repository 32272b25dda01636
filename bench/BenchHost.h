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
#include "tests/support/AddDeviceRequest.h"

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

// The add-device request, posted through a host.
struct AddDevice : AddDeviceRequest {
    using AddDeviceRequest::AddDeviceRequest;

    // Posts it; true when the device was registered.
    bool post(Host& host) { return host.post(0x35000001, &req) && host.status == 1; }
};

}  // namespace bench
