// Devices registered through post, one after another, by a host of its own:
// the writes of the tests that write from several threads or processes.
#pragma once

#include <chrono>
#include <string>

#include "host/ZxFramework.h"
#include "service/ReplicationMgr.h"
#include "snr/DeviceMessages.h"
#include "AddDeviceRequest.h"

// Registers a new device of the client on a new SNR volume, two mount points
// each, named by the prefix and a count from 0, while more(count) says so;
// after each, done(registered, seconds the post took).
template <typename More, typename Done>
void RegisterDevices(int clientId, const std::string& prefix, More more, Done done)
{
    CZxNetwork network;
    int status = 0;
    network.setSendObserver([&status](unsigned long code, const void* data, unsigned long length) {
        status = code == 0x35000002 && length == sizeof(repAddSNRDeviceResponse)
                     ? static_cast<int>(static_cast<const repAddSNRDeviceResponse*>(data)->status)
                     : -1;
    });
    ZxSessionSend session(&network);
    ReplicationMgr mgr(&session);
    for (long n = 0; more(n); ++n) {
        AddDeviceRequest request(clientId, prefix + std::to_string(n));
        zxsDatabuf buf;
        buf.m_pData = &request.req;
        status = 0;
        const auto begin = std::chrono::steady_clock::now();
        const unsigned long served = mgr.post(0x35000001, 0, &buf);
        done(served == 1 && status == 1, std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count());
    }
}
