// Removal of a snapshot from the client that holds it: from the database
// alone, or through the client snapshot tool as a regular, a snap-vault or a
// transportable snapshot.
#include "cleanup/SnapshotCleanup.h"

#include <vector>

#include "cleanup/SnapTool.h"
#include "host/EvDebug.h"
#include "host/Subclient.h"
#include "host/ZXClient.h"
#include "replicas/ReplicaRecords.h"
#include "service/ReplicationMgr.h"
#include "snr/DeviceQueries.h"
#include "snr/SNRVolumeReplicas.h"

using cleanup_detail::ProgNameCleanup;
using cleanup_detail::SnapToolSeparator;

namespace {

const char CleanupFn[] = "ReplicationMgr::SnapshotCleanup()";
const char SnapvaultFn[] = "ReplicationMgr::SnapvaultSnapshotCleanup()";
const char TransportableFn[] = "ReplicationMgr::TransportableSnapshotCleanup()";

constexpr unsigned int EventCleanupStarted = 0x39000065;
constexpr unsigned int EventCleanupSucceeded = 0x39000066;
constexpr unsigned int EventCleanupFailed = 0x39000067;

constexpr int SnapEngineDeviceClient = 7;  // the snap-vault tool is told the device's client

// The host that imports a transportable snapshot of the source volume: the
// default import host of a subclient whose content uses the volume; "" when
// none is found, the source host then doing the import.
std::string DefaultImportHost(ReplicationMgr& mgr, int primaryVolumeId)
{
    std::vector<int> subclients;
    const int code = ContentQuery().getSCListHavingVolId(primaryVolumeId, subclients, nullptr);
    if (code != 0) {
        mgr.log() << "\tEvent: Cannot find the subclient used for the transportable snapshot [" << code
                  << "]. Trying with source host";
        mgr.WriteLogMsg(ProgNameCleanup, TransportableFn, __LINE__, ReplicationMgr::MSG);
        return "";
    }
    if (subclients.empty()) {
        mgr.log() << "\tSubclient list associated with volume " << primaryVolumeId
                  << " is empty. Trying with source host";
        mgr.WriteLogMsg(ProgNameCleanup, TransportableFn, __LINE__, ReplicationMgr::MSG);
        return "";
    }
    auto noImportHost = [&mgr](int subclientId, long line) {
        mgr.log() << "\tEvent: Could not get import's default host for subclient id " << subclientId
                  << "\n\tTrying with source host";
        mgr.WriteLogMsg(ProgNameCleanup, TransportableFn, line, ReplicationMgr::MSG);
    };
    std::string host;
    if (subclients.size() == 1) {
        if (ReplicationSubclientConfiguration(subclients[0]).getDefaultImportHost(host, nullptr) != 0) {
            noImportHost(subclients[0], __LINE__);
            return "";
        }
        return host;
    }

    for (int id : subclients) {
        ReplicationSubclientConfiguration subclient(id);
        bool deleted = false;
        const int status = subclient.isDeleted(deleted, nullptr);
        if (status != 0) {
            mgr.log() << "\tCannot check status of subclient id " << id << "\n\tError Code = " << status;
            mgr.WriteLogMsg(ProgNameCleanup, TransportableFn, __LINE__, ReplicationMgr::MSG);
            continue;
        }
        if (deleted) {
            mgr.log() << "\tSubclient id " << id << " has been deleted. Trying with another one";
            mgr.WriteLogMsg(ProgNameCleanup, TransportableFn, __LINE__, ReplicationMgr::MSG);
            continue;
        }
        host.clear();
        if (subclient.getDefaultImportHost(host, nullptr) != 0) {
            noImportHost(id, __LINE__);
            host.clear();
            continue;
        }
        if (!host.empty()) break;
    }
    if (host.empty()) {
        mgr.log() << "\tEvent: Cannot find the subclient used for the transportable snapshot. Trying with source host";
        mgr.WriteLogMsg(ProgNameCleanup, TransportableFn, __LINE__, ReplicationMgr::MSG);
    } else {
        mgr.log() << "\tMore than one subclient is using the source volume " << primaryVolumeId
                  << "\n\tPicking host " << EvDebug::escaped(host);
        mgr.WriteLogMsg(ProgNameCleanup, TransportableFn, __LINE__, ReplicationMgr::MSG);
    }
    return host;
}

// The client id of the import host, by its client name and else by its
// network host name; false with an ERR entry when neither finds it.
bool ImportClientId(ReplicationMgr& mgr, const std::string& host, int& clientId)
{
    ZXClient byName(host, false, nullptr);
    if (byName.lookup(nullptr) == 0) {
        if (byName.getClientId(clientId, nullptr) == 0) return true;
        mgr.log() << "\tCannot find id for default import host"
                  << "\n\tDefault host = " << EvDebug::escaped(host);
        mgr.WriteLogMsg(ProgNameCleanup, TransportableFn, __LINE__, ReplicationMgr::ERR);
        return false;
    }
    ZXClient byNetworkName(host, true, nullptr);
    if (byNetworkName.lookup(nullptr) == 0 && byNetworkName.getClientId(clientId, nullptr) == 0) return true;
    mgr.log() << "\tCannot find id for default import host (Network name)"
              << "\n\tDefault host = " << EvDebug::escaped(host);
    mgr.WriteLogMsg(ProgNameCleanup, TransportableFn, __LINE__, ReplicationMgr::ERR);
    return false;
}

}  // namespace

bool ReplicationMgr::SnapshotCleanup(const SnapShotCleanupArgs_t& args)
{
    if (args.SnapEngineType == 0) return cleanup_detail::RemoveSnapshotRecord(*this, args.ReplicationVolumeId);
    if (args.SnapVault) return SnapvaultSnapshotCleanup(args);
    if (!args.SNRFlag0x20 && args.TransportableSnap) return TransportableSnapshotCleanup(args);
    return RegularSnapshotCleanup(args);
}

bool ReplicationMgr::RegularSnapshotCleanup(const SnapShotCleanupArgs_t& args)
{
    std::string host;
    if (!GetClientName(args.ClientId, host))
        return cleanup_detail::NoClientName(*this, CleanupFn, args.ClientId, __LINE__);

    bool installed = false;
    if (!IsYBInstalled(args.ClientId, args.SnapEngineType, &installed)) return false;
    if (!installed) return cleanup_detail::RemoveSnapshotRecord(*this, args.ReplicationVolumeId);

    // The command line is complete before anything is announced or run.
    std::string name;
    if (!cleanup_detail::CommandLineClientName(*this, CleanupFn, args.ClientId, name)) return false;
    const std::string jobOption = args.JobId != 0 ? "-j " + std::to_string(args.JobId) : "";
    std::string command;
    if (!cleanup_detail::FormatSnapToolArgs(*this, CleanupFn, args.ClientId, command,
                                            "-o delete -s %d%c%d%c%s%c -r %d %s -cn %s", args.PrimaryVolumeId,
                                            SnapToolSeparator, args.PhysicalVolumeId, SnapToolSeparator, "",
                                            SnapToolSeparator, args.ReplicationPolicyId, jobOption.c_str(),
                                            name.c_str()))
        return false;

    const bool events = !args.EventText.empty();
    if (events) cleanup_detail::RaiseCleanupEvent(EventCleanupStarted, host, args.EventText);
    const bool succeeded =
        cleanup_detail::RunSnapTool(*this, {CleanupFn, host, command, args.ClientId, host, false});
    if (events)
        cleanup_detail::RaiseCleanupEvent(succeeded ? EventCleanupSucceeded : EventCleanupFailed, host,
                                          args.EventText);
    return succeeded;
}

bool ReplicationMgr::SnapvaultSnapshotCleanup(const SnapShotCleanupArgs_t& args)
{
    QuerySNRVolume2ByIdV4Args_t snapshotsArgs;
    snapshotsArgs.snrVolumeId = args.PhysicalVolumeId;
    snapshotsArgs.flags = SNRVOL2_ON_VOLUME | SNRVOL2_IN_ROLE;
    snapshotsArgs.role = YBVOL_ROLE_DESTINATION_SNAPSHOT;
    QuerySNRVolume2ByIdV4Ret_t snapshots;
    if (!QuerySNRVolume2(snapshotsArgs, snapshots)) return false;

    // A volume that holds several snapshots keeps the others: only the record goes.
    if (snapshots.replicationVolumes.size() > 1) {
        for (const ReplicationVolumeV4Record_t& snapshot : snapshots.replicationVolumes)
            if (snapshot.PrimaryVolumeId == args.PrimaryVolumeId && snapshot.PhysicalVolumeId == args.PhysicalVolumeId)
                return cleanup_detail::RemoveSnapshotRecord(*this, snapshot.id);
        return false;
    }

    QuerySNRVolDevNameBySNRVolIdV2Args_t devicesArgs(args.PrimaryVolumeId);
    QuerySNRVolDevNameBySNRVolIdV2Ret_t devices;
    if (!QuerySNRVolDev(devicesArgs, devices) || devices.devices.empty()) return false;
    const int deviceClientId = devices.devices[0].ClientId;

    std::string host;
    const bool named = GetClientName(deviceClientId, host);
    bool installed = false;
    if (!IsYBInstalled(deviceClientId, args.SnapEngineType, &installed)) return false;
    if (!installed) return cleanup_detail::RemoveSnapshotRecord(*this, args.ReplicationVolumeId);
    // Without a host name there is no client to run the tool on.
    if (!named) return cleanup_detail::NoClientName(*this, SnapvaultFn, deviceClientId, __LINE__);

    std::string name;
    if (!cleanup_detail::CommandLineClientName(*this, SnapvaultFn, deviceClientId, name)) return false;
    const int toolClientId = args.SnapEngineType == SnapEngineDeviceClient ? deviceClientId : args.ClientId;
    std::string command;
    if (!cleanup_detail::FormatSnapToolArgs(*this, SnapvaultFn, deviceClientId, command,
                                            "-o delete -s %d%c%d%c%s%c -r %d -client %d -cn %s", args.SnapVolumeId,
                                            SnapToolSeparator, args.PhysicalVolumeId, SnapToolSeparator, "",
                                            SnapToolSeparator, args.ReplicationPolicyId, toolClientId, name.c_str()))
        return false;

    if (cleanup_detail::RunSnapTool(*this, {SnapvaultFn, host, command, args.ClientId, host, false})) return true;
    m_LogMsg << "Check the ZXSnapTool and SnapVaultSnap logs on machine [" << EvDebug::escaped(host)
             << "] for details.";
    WriteLogMsg(ProgNameCleanup, SnapvaultFn, __LINE__, ERR);
    return false;
}

bool ReplicationMgr::TransportableSnapshotCleanup(const SnapShotCleanupArgs_t& args)
{
    std::string importHost = DefaultImportHost(*this, args.PrimaryVolumeId);
    if (importHost.empty() && !GetClientName(args.ClientId, importHost))
        return cleanup_detail::NoClientName(*this, TransportableFn, args.ClientId, __LINE__);

    int importClientId = -1;
    if (!ImportClientId(*this, importHost, importClientId)) return false;

    bool installed = false;
    if (!IsYBInstalled(importClientId, args.SnapEngineType, &installed)) return false;
    if (!installed) return cleanup_detail::RemoveSnapshotRecord(*this, args.ReplicationVolumeId);

    std::string remoteHost;
    if (!GetClientName(importClientId, remoteHost))
        return cleanup_detail::NoClientName(*this, TransportableFn, importClientId, __LINE__);
    std::string name;
    if (!cleanup_detail::CommandLineClientName(*this, TransportableFn, importClientId, name)) return false;
    std::string command;
    if (!cleanup_detail::FormatSnapToolArgs(
            *this, TransportableFn, importClientId, command, "-s %c%d%c%d%c%c -o import -client %lu -cn %s",
            SnapToolSeparator, args.PrimaryVolumeId, SnapToolSeparator, args.PhysicalVolumeId, SnapToolSeparator,
            SnapToolSeparator, static_cast<unsigned long>(static_cast<long>(importClientId)), name.c_str()))
        return false;

    m_LogMsg << "\tRunning import command in " << EvDebug::escaped(remoteHost);
    WriteLogMsg(ProgNameCleanup, TransportableFn, __LINE__, MSG);
    if (!cleanup_detail::RunSnapTool(*this, {TransportableFn, remoteHost, command, importClientId, importHost, true}))
        return false;

    // Imported: the snapshot is now deleted like a regular one, on the client of its volume.
    QuerySNRVolDevNameBySNRVolIdV3Args_t devicesArgs;
    devicesArgs.SNRVolumeId = args.PhysicalVolumeId;
    QuerySNRVolDevNameBySNRVolIdV3Ret_t devices;
    if (!QuerySNRVolDev(devicesArgs, devices) || devices.devices.empty()) return false;
    SnapShotCleanupArgs_t regular = args;
    regular.ClientId = devices.devices[0].ClientId;
    return RegularSnapshotCleanup(regular);
}
