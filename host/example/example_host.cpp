// Example host: loads the replication manager on a session whose network
// prints every reply, posts a few requests and prints the debug log.
#include <cstdio>
#include <string>
#include <vector>

#include "host/EvDebug.h"
#include "host/HostJournal.h"
#include "host/ZXPlatformInfo.h"
#include "host/ZxFramework.h"
#include "host/db/DBtable.h"
#include "service/ReplicationMgr.h"
#include "snr/DeviceMessages.h"
#include "snr/MountPoints.h"
#include "snr/SNRMessages.h"
#include "snr/VolumeInventory.h"

namespace {

void postAndReport(ReplicationMgr& mgr, unsigned long code, void* request) {
    zxsDatabuf buf;
    buf.m_pData = request;
    unsigned long served = mgr.post(code, 0, &buf);
    std::printf("post 0x%08lx %s -> %lu\n", code, ZXS_ReplicationMgr_PM_STRING(static_cast<unsigned int>(code)),
                served);
}

}  // namespace

int main() {
    // The debug log is printed at the end from its journal; keep it off
    // standard error.
    ZXPlatformInfo::setValue("EvDebug", "LogFile", "none");
    HostJournals::keep(true);
    ZXPlatformInfo::setValue("~ReplicationMgr", "VerboseLevel", "0");

    // A fresh catalogue on every run, so that reruns answer alike.
    const char* catalogue = "example.db";
    std::remove(catalogue);
    DBtran::useCatalogue(catalogue);

    // The device and mount point ids the replies give back, for the requests after them.
    int32_t lastDeviceId = 0;
    std::vector<int32_t> mountPointIds;

    CZxNetwork network;
    network.setSendObserver([&](unsigned long code, const void* data, unsigned long length) {
        std::printf("reply 0x%08lx %s, %lu bytes\n", code, ZXS_ReplicationMgr_PM_STRING(static_cast<unsigned int>(code)),
                    length);
        if (code == 0x3500010c && length == sizeof(repAddGlobalHistoryNameResp)) {
            const auto* r = static_cast<const repAddGlobalHistoryNameResp*>(data);
            std::printf("  status %u, code %d, message %s\n", r->status, r->errCode, r->errMsg ? r->errMsg : "(none)");
        } else if (code == 0x350000f0 && length == sizeof(repAddSNRDeviceV3Response)) {
            const auto* r = static_cast<const repAddSNRDeviceV3Response*>(data);
            std::printf("  status %d, code %d, message %s, volume %d, device %d, %u mount paths\n", r->status,
                        r->errCode, r->errMsg ? r->errMsg : "(none)", r->SNRVolumeId, r->DeviceId, r->MountPathCount);
            lastDeviceId = r->DeviceId;
            mountPointIds.clear();
            for (unsigned int i = 0; r->MountPaths != nullptr && i < r->MountPathCount; ++i) {
                std::printf("    mount point %d: %s\n", r->MountPaths[i].MountPointId,
                            r->MountPaths[i].Path ? r->MountPaths[i].Path : "(none)");
                mountPointIds.push_back(r->MountPaths[i].MountPointId);
            }
        } else if (code == 0x3500000a && length == sizeof(repAddMountPointResponse)) {
            const auto* r = static_cast<const repAddMountPointResponse*>(data);
            std::printf("  status %u, message %s, mount point %u\n", r->status, r->errMsg ? r->errMsg : "(none)",
                        r->MountPointId);
            if (r->status == 1) mountPointIds.push_back(static_cast<int32_t>(r->MountPointId));
        } else if (code == 0x35000008 && length == sizeof(repRemoveMountPointResponse)) {
            const auto* r = static_cast<const repRemoveMountPointResponse*>(data);
            std::printf("  status %u, message %s\n", r->status, r->errMsg ? r->errMsg : "(none)");
        } else if (code == 0x3500005c && length == sizeof(repQuerySNRVolMntPointsBySNRVolDevIdResp)) {
            const auto* r = static_cast<const repQuerySNRVolMntPointsBySNRVolDevIdResp*>(data);
            std::printf("  status %u, message %s, %u mount points\n", r->status, r->errMsg ? r->errMsg : "(none)",
                        r->count);
            for (unsigned int i = 0; r->MountPoints != nullptr && i < r->count; ++i)
                std::printf("    mount point %d of device %d: %s%s\n", r->MountPoints[i].id,
                            r->MountPoints[i].DeviceNameId, r->MountPoints[i].Path ? r->MountPoints[i].Path : "(none)",
                            r->MountPoints[i].Unmounted ? " (unmounted)" : "");
        } else if (code == 0x350000e8 && length == sizeof(repQuerySNRDeviceByClientIdV3Response)) {
            const auto* r = static_cast<const repQuerySNRDeviceByClientIdV3Response*>(data);
            std::printf("  status %d, code %d, message %s: %u devices, %u volumes, %u mount points, %u scratch "
                        "volumes, %u replication volumes\n",
                        r->status, r->errCode, r->errMsg ? r->errMsg : "(none)", r->deviceCount, r->volumeCount,
                        r->mountPointCount, r->scratchVolumeCount, r->replicationVolumeCount);
            for (unsigned int i = 0; r->devices != nullptr && i < r->deviceCount; ++i)
                std::printf("    device %d of client %d on volume %d: %s\n", r->devices[i].id, r->devices[i].ClientId,
                            r->devices[i].SNRVolumeId, r->devices[i].DeviceName ? r->devices[i].DeviceName : "(none)");
            for (unsigned int i = 0; r->volumes != nullptr && i < r->volumeCount; ++i)
                std::printf("    volume %d: %s, LUN %d, %lld blocks of %d bytes, %s\n", r->volumes[i].id,
                            r->volumes[i].UniqueId ? r->volumes[i].UniqueId : "(none)", r->volumes[i].LUN,
                            static_cast<long long>(r->volumes[i].BlockCount), r->volumes[i].BlockSize,
                            r->volumes[i].FSType ? r->volumes[i].FSType : "(none)");
            for (unsigned int i = 0; r->mountPoints != nullptr && i < r->mountPointCount; ++i)
                std::printf("    mount point %d of device %d: %s\n", r->mountPoints[i].id,
                            r->mountPoints[i].DeviceNameId, r->mountPoints[i].Path ? r->mountPoints[i].Path : "(none)");
        } else if (code == 0x35000112 && length == sizeof(repQueryTzGlobalHistoryNameResp)) {
            const auto* r = static_cast<const repQueryTzGlobalHistoryNameResp*>(data);
            std::printf("  status %u, code %d, message %s, device %d, history name %s\n", r->status, r->errCode,
                        r->errMsg ? r->errMsg : "(none)", r->HistoryName.DeviceId,
                        r->HistoryName.GlobalHistoryName ? r->HistoryName.GlobalHistoryName : "(none)");
        }
    });
    ZxSessionSend session(&network);
    ReplicationMgr mgr(&session);

    postAndReport(mgr, 0x35000000, nullptr);  // outside the served range
    postAndReport(mgr, 0x35000002, nullptr);  // a reply code, not a request

    // A history name for device 7, added twice (the second add finds it
    // already there), then queried back; then a query for a device without one.
    repYBTzHistoryNameRec name;
    name.DeviceId = 7;
    name.GlobalHistoryName = const_cast<char*>("example-history");
    postAndReport(mgr, 0x3500010b, &name);
    postAndReport(mgr, 0x3500010b, &name);
    repTzGlobalHistoryNameByDeviceReq byDevice{7};
    postAndReport(mgr, 0x35000111, &byDevice);
    repTzGlobalHistoryNameByDeviceReq missing{8};
    postAndReport(mgr, 0x35000111, &missing);

    // A device of client 2 on a new SNR volume, with two mount points and
    // the history name of the protected volume; then a device of client 3
    // on the same volume (same five identity values), which reuses it.
    repAddSNRDeviceV3Req device;
    device.SNRVolume.UniqueId = const_cast<char*>("600A0B800026B2820000");
    device.SNRVolume.UniqueIdType = 1;
    device.SNRVolume.LUN = 3;
    device.SNRVolume.StartLBA = 63;
    device.SNRVolume.BlockCount = 41943040;
    device.SNRVolume.BlockSize = 512;
    device.SNRVolume.FSType = const_cast<char*>("NTFS");
    device.SNRVolume.MorvaneProtected = 1;
    device.SNRVolume.TzState = 1;
    device.Device.ClientId = 2;
    device.Device.DeviceName = const_cast<char*>("\\\\.\\PhysicalDrive1");
    repSNRVolumeMountPoint mounts[2];
    mounts[0].Path = const_cast<char*>("E:\\");
    mounts[1].Path = const_cast<char*>("C:\\mnt\\data");
    device.MountPointCount = 2;
    device.MountPoints = mounts;
    device.HistoryName.GlobalHistoryName = const_cast<char*>("example-volume-history");
    postAndReport(mgr, 0x350000ef, &device);

    // The inventory of client 2 as it stands after the registration.
    repQuerySNRDeviceByClientIdV3Req inventory;
    inventory.ClientId = 2;
    postAndReport(mgr, 0x350000e7, &inventory);

    repAddSNRDeviceV3Req second = device;
    second.Device.ClientId = 3;
    second.Device.DeviceName = const_cast<char*>("/dev/sdb");
    repSNRVolumeMountPoint secondMount;
    secondMount.Path = const_cast<char*>("/mnt/shared");
    second.MountPointCount = 1;
    second.MountPoints = &secondMount;
    second.HistoryName.GlobalHistoryName = const_cast<char*>("example-volume-history-b");
    postAndReport(mgr, 0x350000ef, &second);

    // A second mount point for that device; its mount points listed; both
    // removed: the last one stays behind, marked unmounted.
    repSNRVolumeMountPoint extra;
    extra.DeviceNameId = lastDeviceId;
    extra.Path = const_cast<char*>("/mnt/shared-backup");
    postAndReport(mgr, 0x35000009, &extra);
    repQuerySNRVolMntPointsBySNRVolDevIdReq ofDevice{lastDeviceId};
    postAndReport(mgr, 0x3500005b, &ofDevice);
    const std::vector<int32_t> toRemove = mountPointIds;
    for (auto it = toRemove.rbegin(); it != toRemove.rend(); ++it) {
        repRemoveMountPointReq removal{*it};
        postAndReport(mgr, 0x35000007, &removal);
    }
    postAndReport(mgr, 0x3500005b, &ofDevice);

    std::printf("\n--- debug log ---\n");
    for (const std::string& entry : EvDebug::entries()) std::printf("%s", entry.c_str());
    return 0;
}
