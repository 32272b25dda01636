// An add-device request (0x35000001) of a new device on a new SNR volume with
// two mount points, and the texts it points at; `tag` keeps the names of one
// request apart from those of every other. Free of any test framework: the
// benchmarks post it too.
#pragma once

#include <string>

#include "snr/DeviceMessages.h"
#include "snr/SNRMessages.h"

struct AddDeviceRequest {
    std::string uniqueId;
    std::string fsType = "NTFS";
    std::string deviceName;
    std::string paths[2];
    repSNRVolumeMountPoint points[2];
    repAddSNRDeviceReq req;

    AddDeviceRequest(int clientId, const std::string& tag)
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
    AddDeviceRequest(const AddDeviceRequest&) = delete;
    AddDeviceRequest& operator=(const AddDeviceRequest&) = delete;
};
