// Example host: one day of a deployment, through post on a session whose
// network prints every reply in one line. Two clients' devices are
// registered, a scratch pool is built from a spare volume, a snap engine and
// a policy are added, a replica and a consistency point are recorded, a
// product file is stored and fetched back, a client is handed a key, the
// nightly pruning pass runs and a retired client is cleaned up. The debug
// log is printed at the end.
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "cleanup/ClientCleanup.h"
#include "files/EncryptionKeys.h"
#include "files/StoredFileMessages.h"
#include "flr/FLRMessages.h"
#include "flr/FLRQueryMessages.h"
#include "host/EvDebug.h"
#include "host/HostConfig.h"
#include "host/HostJournal.h"
#include "host/ZXPlatformInfo.h"
#include "host/ZxFramework.h"
#include "host/db/DBtable.h"
#include "policies/ReplicationPolicies.h"
#include "policies/SnapEngines.h"
#include "replicas/LatestReplica.h"
#include "replicas/ReplicaVolumeAdd.h"
#include "replicas/RetentionPruning.h"
#include "scratch/ScratchMembership.h"
#include "scratch/ScratchPools.h"
#include "service/ReplicationMgr.h"
#include "service/ServedCases.h"
#include "snr/DeviceMessages.h"
#include "snr/VolumeInventory.h"

namespace {

// The service object on a network that prints each reply as it is sent and
// keeps its bytes, for the ids the next requests name.
class Deployment {
public:
    Deployment() : m_session(&m_network), m_mgr(&m_session)
    {
        m_network.setSendObserver([this](unsigned long code, const void* data, unsigned long length) {
            sent(code, data, length);
        });
    }

    // Posts a request and gives back its reply in the layout Reply; all zero
    // when no reply of that size came.
    template <typename Reply>
    Reply post(const char* step, unsigned long code, void* request)
    {
        m_step = step;
        m_asked = code;
        m_bytes.clear();
        zxsDatabuf buf;
        buf.m_pData = request;
        if (m_mgr.post(code, 0, &buf) != 1) std::printf("%-40s 0x%08lx not served\n", step, code);
        Reply reply;
        std::memset(static_cast<void*>(&reply), 0, sizeof reply);
        if (m_bytes.size() == sizeof reply) std::memcpy(static_cast<void*>(&reply), m_bytes.data(), sizeof reply);
        return reply;
    }

private:
    // One line per reply: the step, the codes, the status and the message
    // (read in the reply layout of the case that answered).
    void sent(unsigned long code, const void* data, unsigned long length)
    {
        m_bytes.assign(static_cast<const char*>(data), static_cast<const char*>(data) + length);
        std::printf("%-40s 0x%08lx -> 0x%08lx %s, %lu bytes", m_step, m_asked, code,
                    ZXS_ReplicationMgr_PM_STRING(static_cast<unsigned int>(code)), length);
        const ServedCase* served = ServedCases().find(m_asked);
        if (served != nullptr && length == served->replySize) {
            const SentStatus status = served->readStatus(data);
            std::printf(", status %lld", static_cast<long long>(status.status));
            if (status.hasErrCode && status.errCode != 0) std::printf(", code %d", status.errCode);
            if (status.errMsg != nullptr) std::printf(", \"%s\"", status.errMsg);
        }
        std::printf("\n");
    }

    CZxNetwork m_network;
    ZxSessionSend m_session;
    ReplicationMgr m_mgr;
    const char* m_step = "";
    unsigned long m_asked = 0;
    std::string m_bytes;
};

char* Text(const char* text) { return const_cast<char*>(text); }

// A device of a client on its SNR volume, with one mount point (none for a
// null path) and the history name of the volume.
struct Registration {
    const char* uniqueId;
    int32_t lun;
    const char* fsType;
    int32_t clientId;
    const char* deviceName;
    const char* mountPath;
    const char* historyName;
};

repAddSNRDeviceV5Response Register(Deployment& day, const char* step, const Registration& r)
{
    repAddSNRDeviceV5Req req;
    req.SNRVolume.UniqueId = Text(r.uniqueId);
    req.SNRVolume.UniqueIdType = 1;
    req.SNRVolume.LUN = r.lun;
    req.SNRVolume.StartLBA = 63;
    req.SNRVolume.BlockCount = 41943040;
    req.SNRVolume.BlockSize = 512;
    req.SNRVolume.FSType = Text(r.fsType);
    req.SNRVolume.VolType = 1;  // a block volume of the array
    req.Device.ClientId = r.clientId;
    req.Device.DeviceName = Text(r.deviceName);
    repSNRVolumeMountPoint mount;
    mount.Path = Text(r.mountPath);
    req.MountPointCount = r.mountPath != nullptr ? 1 : 0;
    req.MountPoints = r.mountPath != nullptr ? &mount : nullptr;
    req.HistoryName.GlobalHistoryName = Text(r.historyName);
    return day.post<repAddSNRDeviceV5Response>(step, 0x35000206, &req);
}

}  // namespace

int main()
{
    // The debug log is printed at the end from its journal; keep it off
    // standard error.
    ZXPlatformInfo::setValue("EvDebug", "LogFile", "none");
    HostJournals::keep(true);
    ZXPlatformInfo::setValue("~ReplicationMgr", "VerboseLevel", "0");

    // A fresh catalogue on every run, so that reruns answer alike.
    const char* catalogue = "example.db";
    std::remove(catalogue);
    DBtran::useCatalogue(catalogue);

    // The host's own configuration: a file server whose data is encrypted,
    // a database host, and on the file server the backup set whose volumes
    // are replicated to the database host, with its one pair.
    HostClientSeed fileServer;
    fileServer.name = "fileserver";
    fileServer.netHostName = "fileserver.example.net";
    fileServer.osId = 2;
    fileServer.password = "fileserver-secret";
    fileServer.encryption = true;
    fileServer.dataEncType = 3;
    fileServer.dataKeyLen = 32;
    HostClientSeed dbHost;
    dbHost.name = "dbhost";
    dbHost.netHostName = "dbhost.example.net";
    dbHost.osId = 2;
    int instance = 0;
    HostBackupSetSeed set;
    HostSubclientSeed pair;
    if (HostConfig::addClient(fileServer) != 0 || HostConfig::addClient(dbHost) != 0 ||
        HostConfig::addInstance(instance, fileServer.id, 84, "fileserver-volumes") != 0) {
        std::printf("the host's configuration could not be written to %s\n", catalogue);
        return 1;
    }
    set.name = "fileserver-daily";
    set.clientId = fileServer.id;
    set.appTypeId = 84;
    set.instanceId = instance;
    set.destinationHostId = dbHost.id;
    if (HostConfig::addBackupSet(set) != 0) {
        std::printf("the host's configuration could not be written to %s\n", catalogue);
        return 1;
    }
    pair.clientId = fileServer.id;
    pair.appTypeId = 84;
    pair.backupSetId = set.id;
    pair.name = "fileserver-E";
    if (HostConfig::addSubclient(pair) != 0) {
        std::printf("the host's configuration could not be written to %s\n", catalogue);
        return 1;
    }

    Deployment day;

    // 08:00 The two clients' devices: the file server's data volume, the
    // database host's volume and a spare LUN of the array seen by it.
    const auto data = Register(day, "register fileserver E:", {"600A0B800026B2820000", 3, "NTFS", fileServer.id,
                                                                "\\\\.\\PhysicalDrive1", "E:\\", "fileserver-data"});
    Register(day, "register dbhost /data", {"600A0B800026B2820004", 4, "ext4", dbHost.id, "/dev/sdb", "/data",
                                            "dbhost-data"});
    const auto spare = Register(day, "register dbhost spare LUN", {"600A0B800026B2820008", 8, "ext4", dbHost.id,
                                                                   "/dev/sdc", nullptr, "dbhost-spare"});
    repQuerySNRDeviceByClientIdV6Req inventory;
    inventory.ClientId = fileServer.id;
    day.post<repQuerySNRDeviceByClientIdV6Response>("inventory of fileserver", 0x35000208, &inventory);

    // 09:00 A snap engine, a scratch pool of the spare LUN and the policy
    // that replicates with both.
    repAddSnapEngineInfoV3Req engine{};
    engine.SnapEngineInfo.name = Text("array-snap");
    engine.SnapEngineInfo.MultipleSnaps = 1;
    engine.SnapEngineInfo.CrossHostMount = 1;
    const auto engineAdded = day.post<repAddSnapEngineInfoV3Resp>("add snap engine", 0x35000133, &engine);

    repAddRVScratchVolumePoolV3Req pool{};
    pool.name = Text("dbhost-scratch");
    pool.Type = 1;  // block volumes
    pool.SnapEngineInfoId = engineAdded.id;
    const auto poolAdded = day.post<repAddRVScratchVolumePoolV3Response>("add scratch pool", 0x35000171, &pool);
    repAddRVScratchVolumeReq member{poolAdded.poolId, static_cast<uint32_t>(spare.SNRVolumeId)};
    day.post<repAddRVScratchVolumeResponse>("add spare LUN to the pool", 0x35000015, &member);

    repAddReplicationPolicyV3Req policy{};
    policy.policy.name = Text("fileserver-hourly");
    policy.policy.RetentionSeconds = 7 * 24 * 3600;
    policy.policy.SnapEngineInfoId = engineAdded.id;
    policy.policy.VolumeScratchPoolId = poolAdded.poolId;
    policy.policy.NSnapshot = 24;
    policy.policy.CopyManagerType = 4;
    const auto policyAdded = day.post<repAddReplicationPolicyV3Resp>("add policy", 0x35000173, &policy);

    // 12:00 The noon job replicates E: onto the spare LUN and records a
    // consistency point of the set on the database host.
    const int64_t job = 7001;
    repAddReplicationVolumeV5Req replica;
    replica.ReplicationVolume.CreationTime = replica.ReplicationVolume.ModifyTime =
        static_cast<int32_t>(std::time(nullptr));
    replica.ReplicationVolume.CurrentRole = 2;
    replica.ReplicationVolume.PrimaryVolumeId = data.SNRVolumeId;
    replica.ReplicationVolume.PhysicalVolumeId = spare.SNRVolumeId;
    replica.ReplicationVolume.ReplicationPolicyId = policyAdded.id;
    replica.ReplicationVolume.JobId = job;
    replica.ReplicationVolume.SnapvaultReplicaDir = Text("fileserver-E-0700");
    replica.subclientId = pair.id;
    day.post<repAddReplicationVolumeV5Resp>("record replica of E:", 0x350001b7, &replica);
    repGetLatestSnapForSNRVolV4Req latest{data.SNRVolumeId, 0, 0};
    day.post<repGetLatestSnapForSNRVolV4Resp>("latest replica of E:", 0x3500015d, &latest);

    repFLRSnapRecV2 snap;
    snap.id = 1;  // the snapshot's number within the request
    snap.Name = Text("fileserver-E-1200");
    snap.SnapVolumeName = Text("/dev/sdc");
    snap.VolumeGUID = Text("{6f1c2a7e-0e4b-4d55-9a41-2d0e5c7b9f10}");
    repFLRSnapPairElem snapPair{0, 1, pair.id};
    repFLRSnapMountPointElem snapMount{0, 1, Text("/mnt/fileserver-E")};
    repCreateCPReqV3 cp;
    std::memset(static_cast<void*>(&cp), 0, sizeof cp);
    cp.CP.FLRSetId = set.id;
    cp.CP.CreationTime = 1700000000;
    cp.CP.JobId = job;
    cp.CP.AutoMount = 1;
    cp.SnapCount = cp.PairCount = cp.MountCount = 1;
    cp.Snaps = &snap;
    cp.Pairs = &snapPair;
    cp.MountPoints = &snapMount;
    day.post<repCreateCPRespV2>("record consistency point", 0x3500024c, &cp);
    repQueryRepSetLastCPReqV2 lastCP{static_cast<uint32_t>(set.id), nullptr};
    day.post<repQueryRepSetLastCPRespV3>("latest consistency point", 0x35000254, &lastCP);

    // 17:00 The product's configuration file of the data volume, stored and
    // fetched back; the file server asks for its key.
    repUploadYBFileReq upload{};
    upload.file.VolumeId = data.SNRVolumeId;
    upload.file.Name = Text("replication.cfg");
    upload.file.Content = Text("schedule=hourly\nretain=24\n");
    const auto stored = day.post<repUploadYBFileResp>("store product file", 0x35000143, &upload);
    repDownloadYBFileByIdReq download{stored.fileId, 0, nullptr};
    day.post<repDownloadYBFileByIdResp>("fetch product file", 0x35000145, &download);

    repGetEKeyReqV2 key{Text("job-7001"), fileServer.id, Text("fileserver")};
    day.post<repGetEKeyRespV2>("hand off key", 0x35000222, &key);

    // 23:00 The nightly pruning pass: replicas past their policy's retention
    // go (today's are kept).
    repPruneReplicaVolumeReq prune{static_cast<int32_t>(std::time(nullptr))};
    day.post<repPruneReplicaVolumeResp>("prune expired replicas", 0x35000081, &prune);

    // 23:30 The database host is retired: its volumes, the scratch pool's
    // use of its spare LUN and its devices leave the catalogue.
    repCleanupByClientIdReq retire{dbHost.id, 1};
    day.post<repCleanupByclientIdResp>("clean up dbhost (full)", 0x3500005d, &retire);

    std::printf("\n--- debug log ---\n");
    for (const std::string& entry : EvDebug::entries()) std::printf("%s", entry.c_str());
    return 0;
}
