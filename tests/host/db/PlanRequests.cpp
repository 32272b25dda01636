// The requests the statement tests run, and the whole-table reads they accept.
#include "host/db/PlanRequests.h"

#include "cleanup/ClientCleanup.h"
#include "cleanup/JobVolumeHistory.h"
#include "cleanup/SAPOracleJobs.h"
#include "cleanup/SnapshotStates.h"
#include "files/Appliances.h"
#include "files/BrowseViews.h"
#include "files/ComponentLists.h"
#include "files/UserApplications.h"
#include "flr/FLRDeleteMessages.h"
#include "flr/FLRMessages.h"
#include "flr/FLRQueryMessages.h"
#include "host/HostConfig.h"
#include "files/StoredFileMessages.h"
#include "host/db/DBtable.h"
#include "host/db/SNRTables.h"
#include "policies/ReplicationPolicies.h"
#include "policies/SnapEngines.h"
#include "policies/VolSnapParams.h"
#include "replicas/LatestReplica.h"
#include "replicas/PermanentReplicas.h"
#include "replicas/ApplicationDirs.h"
#include "replicas/ReplicaReservation.h"
#include "replicas/ReplicaVolumeAdd.h"
#include "replicas/ReplicaVolumeQueries.h"
#include "replicas/ReplicaVolumeRemoval.h"
#include "replicas/ReplicaVolumeUpdate.h"
#include "replicas/RetentionPruning.h"
#include "rows/Db/Tbl/YBApplicationDirs.h"
#include "scratch/ScratchLookups.h"
#include "scratch/ScratchMembership.h"
#include "scratch/ScratchRelease.h"
#include "snr/DeviceMaintenance.h"
#include "snr/DeviceMessages.h"
#include "snr/DeviceQueries.h"
#include "snr/MountPoints.h"
#include "snr/SNRMessages.h"
#include "snr/SNRDeletion.h"
#include "snr/SNRVolumeById.h"
#include "snr/SNRVolumeReplicas.h"
#include "snr/SNRVolumeUpdate.h"
#include "snr/VolumeInventory.h"
#include "snr/VolumeLists.h"
#include "snr/VolumeReservation.h"
#include "support/ClientFakesScope.h"

namespace statement_plans {

const std::vector<Inherent>& InherentScans()
{
    static const std::vector<Inherent> scans = {
        {"", "YBBrowseByClientTmp", "a browse table holds the rows of one browse; each step reads all of them"},
        {"", "YBBrowseByPolicyTmp", "a browse table holds the rows of one browse; each step reads all of them"},
        {"", "YBBrowseByClientTmpMountPoints", "the mount points of one browse, handed out whole"},
        {"", "YBBrowseByPolicyTmpMountPoints", "the mount points of one browse, handed out whole"},
        {"YBGetYBFileList", "YBFile", "lists every stored file"},
        {"YBGetVEHosts", "DHT_Client", "lists the virtualization hosts among all clients by status bits and platform"},
        {"YBPruneJobHistory", "YBJobVolumeHistory", "looks at every entry for an SNR volume that is gone"},
        {"UniqueSnapshotID LIKE", "YBPhysicalVolume",
         "a unique snapshot id is matched as the end of the stored id, an order no index keeps"},
        {"FROM YBVolume WHERE CurrentRole = ", "YBVolume",
         "the replicas of an SNR volume chosen by role alone are every replica in that role, read newest first"},
    };
    return scans;
}

const Inherent* InherentScan(const std::string& name, const std::string& text, const std::string& table)
{
    for (const Inherent& i : InherentScans()) {
        const bool statement = *i.statement == '\0' || name == i.statement || text.find(i.statement) != std::string::npos;
        if (statement && table == i.table) return &i;
    }
    return nullptr;
}

void PlanRequestTest::runRequests(int seededRows)
{
    // Devices: a registration, its name taken, the volume again for
    // another client; the queries of a device and of a volume's devices.
    Registration first{"PLAN-VOLUME-1", 7, "/dev/plan-a", "/mnt/plan-a", "plan-history-a", {}};
    EXPECT_EQ(registerDevice(first).status, 1);
    EXPECT_EQ(registerDevice(first).status, 0);
    Registration second{"PLAN-VOLUME-1", 8, "/dev/plan-b", "/mnt/plan-b", "", {}};
    const repAddSNRDeviceV5Response device = registerDevice(second);
    ASSERT_EQ(device.status, 1);
    ASSERT_GT(device.DeviceId, seededRows);
    const int32_t deviceId = device.DeviceId;
    const int32_t volumeId = device.SNRVolumeId;
    EXPECT_EQ((statusOf<repQuerySNRDeviceByIdV4Resp>(0x3500020e, repQuerySNRDeviceByIdV4Req{{deviceId}})), 1);
    EXPECT_EQ((statusOf<repQuerySNRVolDevsBySNRVolIdV4Resp>(0x3500020c, repQuerySNRVolDevsBySNRVolIdV4Req{{volumeId}})),
              1);

    // SNR volumes: a new one, then known already.
    repAddSNRVolumeV4Req volume;
    volume.SNRVolume.UniqueId = const_cast<char*>("PLAN-VOLUME-2");
    volume.SNRVolume.UniqueIdType = 2;
    volume.SNRVolume.BlockCount = 8192;
    volume.SNRVolume.BlockSize = 512;
    volume.SNRVolume.FSType = const_cast<char*>("VMFS");
    EXPECT_EQ(statusOf<repAddSNRVolumeV4Resp>(0x35000165, volume), 1);
    EXPECT_EQ(statusOf<repAddSNRVolumeV4Resp>(0x35000165, volume), 0);

    // SNR volume updates: in place; two views of a shared disk merged;
    // protection set and ended; a reservation taken and one given back;
    // the cost category of a pool's volumes.
    repUpdateSNRVolumeV4Req change;
    change.SNRVolume.id = volumeId;
    change.SNRVolume.FSType = const_cast<char*>("ReFS");
    change.SNRVolume.UpdateMap = YB_PVOL_FSTYPE;
    EXPECT_EQ(statusOf<repUpdateSNRVolumeV4Response>(0x35000157, change), 1);
    volume.SNRVolume.UniqueId = const_cast<char*>("PLAN-SHARED");
    volume.SNRVolume.UniqueIdType = kSharedDiskUniqueIdType;
    const auto kept = ReplyOf<repAddSNRVolumeV4Resp>(post(0x35000165, &volume, sizeof(repAddSNRVolumeV4Resp)));
    volume.SNRVolume.LUN = 2;
    const auto merged = ReplyOf<repAddSNRVolumeV4Resp>(post(0x35000165, &volume, sizeof(repAddSNRVolumeV4Resp)));
    ASSERT_EQ(kept.status, 1);
    ASSERT_EQ(merged.status, 1);
    change.SNRVolume.id = merged.volumeId;
    EXPECT_EQ(statusOf<repUpdateSNRVolumeV4Response>(0x35000157, change), 1);
    change.SNRVolume.id = kept.volumeId;
    change.SNRVolume.UpdateMap = YB_PVOL_TZ_PROTECTED | YB_PVOL_TZSTATE;
    change.SNRVolume.MorvaneProtected = 1;
    change.SNRVolume.TzState = 1;
    EXPECT_EQ(statusOf<repUpdateSNRVolumeV4Response>(0x35000157, change), 1);
    change.SNRVolume.MorvaneProtected = 0;
    change.SNRVolume.TzState = 0;
    EXPECT_EQ(statusOf<repUpdateSNRVolumeV4Response>(0x35000157, change), 1);
    change.SNRVolume.UpdateMap = YB_PVOL_LOCK;
    change.SNRVolume.Locked = 1;
    statusOf<repUpdateSNRVolumeV4Response>(0x35000157, change);
    change.SNRVolume.id = 2;  // seeded reserved
    change.SNRVolume.Locked = 0;
    statusOf<repUpdateSNRVolumeV4Response>(0x35000157, change);
    statusOf<repUpdateCostToVolsInPoolResp>(0x35000131, repUpdateCostToVolsInPoolReq{1, 5});

    // Mount points: added, changed, read every way, removed.
    repSNRVolumeMountPoint newMountPoint = mountPoint(0, deviceId, "/mnt/plan-c");
    const repAddMountPointResponse added =
        ReplyOf<repAddMountPointResponse>(post(0x35000009, &newMountPoint, sizeof(repAddMountPointResponse)));
    ASSERT_EQ(added.status, 1u);
    const int32_t mountPointId = static_cast<int32_t>(added.MountPointId);
    EXPECT_EQ(statusOf<repUpdateSNRVolumeMountPointResp>(0x35000075, mountPoint(mountPointId, deviceId, "/mnt/plan-d")),
              1);
    EXPECT_EQ((statusOf<repQuerySNRVolMntPointsBySNRVolDevIdResp>(0x3500005b, repQuerySNRVolMntPointsBySNRVolDevIdReq{deviceId})),
              1);
    EXPECT_EQ(statusOf<repQuerySNRMountPointByIdResp>(0x3500006b, repQuerySNRMountPointByIdReq{mountPointId}), 1);
    EXPECT_EQ(statusOf<repQuerySNRMountPointByPathResp>(0x3500006d,
                                                        repQuerySNRMountPointByPathReq{const_cast<char*>("/mnt/plan-d")}),
              1);
    EXPECT_EQ(statusOf<repQuerySNRMountPointBySNRVolIdResp>(0x35000079, repQuerySNRMountPointBySNRVolIdReq{volumeId}), 1);
    EXPECT_EQ(statusOf<repRemoveMountPointResponse>(0x35000007, repRemoveMountPointReq{mountPointId}), 1);

    // History names: by volume (the first device's), added, changed,
    // read, removed.
    EXPECT_EQ(statusOf<repQueryTzGlobalHistoryNameByVolIdResp>(0x35000113, repTzGlobalHistoryNameByVolIdReq{volumeId}),
              1);
    EXPECT_EQ(statusOf<repAddGlobalHistoryNameResp>(0x3500010b,
                                                    repYBTzHistoryNameRec{deviceId, const_cast<char*>("plan-history-b")}),
              1);
    EXPECT_EQ(statusOf<repUpdateTzGlobalHistoryNameResp>(
                  0x3500010d, repYBTzHistoryNameRec{deviceId, const_cast<char*>("plan-history-c")}),
              1);
    EXPECT_EQ(statusOf<repQueryTzGlobalHistoryNameResp>(0x35000111, repTzGlobalHistoryNameByDeviceReq{deviceId}), 1);
    EXPECT_EQ(statusOf<repDeleteTzGlobalHistoryNameResp>(0x3500010f, repTzGlobalHistoryNameByDeviceReq{deviceId}), 1);

    // Volume lists: every volume, and one client's; device maintenance:
    // a rename, configure and unconfigure.
    EXPECT_EQ(ReplyOf<repGetSNRVolumesV4Resp>(post(0x35000210, nullptr, sizeof(repGetSNRVolumesV4Resp))).status, 1);
    EXPECT_EQ(statusOf<repGetSNRInfoByClientAndVolV4Resp>(0x35000212, repGetSNRInfoByClientAndVolReq{volumeId, 8}), 1);
    repSNRVolumeDeviceNameV4 rename;
    rename.id = deviceId;
    rename.ClientId = 8;
    rename.DeviceName = const_cast<char*>("/dev/plan-e");
    rename.UpdateMap = YB_DEV_NAME;
    EXPECT_EQ(statusOf<repUpdateSNRDeviceNameV4Resp>(0x35000214, rename), 1);
    rename.DeviceName = const_cast<char*>("/dev/plan-f");
    EXPECT_EQ(statusOf<repConfigureDeviceV3Resp>(0x35000216, rename), 1);
    EXPECT_EQ(statusOf<repUnconfigureDeviceResp>(0x35000101, repUnconfigureDeviceReq{deviceId}), 1);

    // Snap engines: added, found again by name, read, changed, listed,
    // removed by id and by name.
    repAddSnapEngineInfoV3Req engine{};
    engine.SnapEngineInfo.name = const_cast<char*>("plan-engine");
    const auto engineAdded =
        ReplyOf<repAddSnapEngineInfoV3Resp>(post(0x35000133, &engine, sizeof(repAddSnapEngineInfoV3Resp)));
    ASSERT_EQ(engineAdded.status, 1u);
    EXPECT_EQ(statusOf<repAddSnapEngineInfoV3Resp>(0x35000133, engine), 1);
    EXPECT_EQ(statusOf<repQuerySnapEngineInfoV3ByIdResp>(0x35000135, repQuerySnapEngineInfoV3ByIdReq{{engineAdded.id}}),
              1);
    engine.SnapEngineInfo.id = engineAdded.id;
    engine.SnapEngineInfo.MountCmdHint = const_cast<char*>("mount");
    EXPECT_EQ(statusOf<repUpdateSnapEngineInfoV3Resp>(0x35000137, repUpdateSnapEngineInfoV3Req{engine.SnapEngineInfo}), 1);
    EXPECT_EQ(ReplyOf<repGetSnapEngineInfoV3ListResp>(post(0x35000139, nullptr, sizeof(repGetSnapEngineInfoV3ListResp))).status,
              1u);
    EXPECT_EQ(statusOf<repRemoveSnapEngineInfoResp>(0x3500002d, repRemoveSnapEngineInfoReq{engineAdded.id}), 1);
    EXPECT_EQ(statusOf<repRemoveSnapEngineInfoByNameResp>(0x3500008f,
                                                          repRemoveSnapEngineInfoByNameReq{const_cast<char*>("name-5")}),
              1);

    // Volume snap parameters: added, read, changed, listed, looked for,
    // removed.
    repAddVolSnapParamsV2Req params{};
    params.VolSnapParams.SNRVolumeId = kFreeIds + 5;
    params.VolSnapParams.MountCmd = const_cast<char*>("mount");
    EXPECT_EQ(statusOf<repAddVolSnapParamsV2Resp>(0x350000d1, params), 1);
    EXPECT_EQ(statusOf<repQueryVolSnapParamsV2BySNRVolResp>(
                  0x350000d3, repQueryVolSnapParamsV2BySNRVolReq{{params.VolSnapParams.SNRVolumeId}}),
              1);
    params.VolSnapParams.SnapEngineId = 2;
    EXPECT_EQ(statusOf<repUpdateVolSnapParamsV2Resp>(0x350000d5, repUpdateVolSnapParamsV2Req{params.VolSnapParams}), 1);
    EXPECT_EQ(ReplyOf<repGetVolSnapParamsV2ListResp>(post(0x350000d7, nullptr, sizeof(repGetVolSnapParamsV2ListResp))).status,
              1u);
    IsSNRVolIdInVolSnapParamsTblArgs_t lookFor;
    lookFor.SNRVolumeId = static_cast<int32_t>(params.VolSnapParams.SNRVolumeId);
    IsSNRVolIdInVolSnapParamsTblRet_t found;
    EXPECT_TRUE(mgr.IsSNRVolIdInVolSnapParamsTbl(lookFor, found));
    EXPECT_TRUE(found.found);
    EXPECT_EQ(statusOf<repRemoveVolSnapParamsResp>(0x35000037, repRemoveVolSnapParamsReq{params.VolSnapParams.SNRVolumeId}),
              1);

    // Replication policies: added (its pool and engine read), read, the
    // pool's listed, changed (its volumes counted), listed, removed; the
    // subclients that name one.
    repAddReplicationPolicyV3Req policy{};
    policy.policy.name = const_cast<char*>("plan-policy");
    policy.policy.SnapEngineInfoId = 1;
    policy.policy.VolumeScratchPoolId = 1;
    policy.policy.CopyManagerType = 4;
    const auto policyAdded =
        ReplyOf<repAddReplicationPolicyV3Resp>(post(0x35000173, &policy, sizeof(repAddReplicationPolicyV3Resp)));
    ASSERT_EQ(policyAdded.status, 1u);
    EXPECT_EQ(statusOf<repQueryReplicationPolicyV3ByIdResp>(0x35000175,
                                                            repQueryReplicationPolicyV3ByIdReq{{policyAdded.id}}),
              1);
    EXPECT_EQ(statusOf<repQueryReplicaPolicyV3ByPoolIdResp>(0x35000181, repQueryReplicaPolicyV3ByPoolIdReq{{1}}), 1);
    policy.policy.id = static_cast<uint32_t>(policyAdded.id);
    policy.policy.RetentionSeconds = 3600;
    EXPECT_EQ(statusOf<repUpdateReplicationPolicyV2Resp>(0x35000177, repUpdateReplicationPolicyV3Req{policy.policy}),
              1);
    EXPECT_EQ(ReplyOf<repGetReplicationPolicyV3ListResp>(
                  post(0x35000179, nullptr, sizeof(repGetReplicationPolicyV3ListResp))).status,
              1u);
    EXPECT_EQ(statusOf<repRemoveReplicationPolicyResp>(0x35000023, repRemoveReplicationPolicyReq{policyAdded.id}), 1);
    int32_t appTypes[] = {50, 47};
    EXPECT_EQ(statusOf<repGetSCListByPolicyResp>(0x350001d1, repGetSCListByPolicyReq{2, 0, 2, appTypes}), 1);

    // Replication volumes: a snapshot added and linked to a subclient,
    // read, changed, listed by every key, removed.
    repAddReplicationVolumeV5Req replica;
    replica.ReplicationVolume.CurrentRole = 2;
    replica.ReplicationVolume.PrimaryVolumeId = 7;
    replica.ReplicationVolume.PhysicalVolumeId = 8;
    replica.ReplicationVolume.ReplicationPolicyId = 1;
    replica.ReplicationVolume.SnapVolumeId = 9;
    replica.ReplicationVolume.JobId = 900002;
    replica.ReplicationVolume.SnapvaultReplicaDir = const_cast<char*>("plan-dir");
    replica.subclientId = kFreeIds + 1;
    const auto replicaAdded =
        ReplyOf<repAddReplicationVolumeV5Resp>(post(0x350001b7, &replica, sizeof(repAddReplicationVolumeV5Resp)));
    ASSERT_EQ(replicaAdded.status, 1u);
    const int32_t replicaId = replicaAdded.id;
    EXPECT_EQ(statusOf<repQueryReplicationVolV5ByIdResp>(0x350001b9, repQueryReplicationVolumeByIdReq{replicaId}), 1);
    replica.ReplicationVolume.id = replicaId;
    EXPECT_EQ(statusOf<repUpdateReplicationVolumeV5Resp>(0x350001bb,
                                                         repUpdateReplicationVolumeV5Req{replica.ReplicationVolume}),
              1);
    EXPECT_EQ(ReplyOf<repGetReplicationVolumeListV5Resp>(post(0x350001bd, nullptr, sizeof(repGetReplicationVolumeListV5Resp)))
                  .status,
              1u);
    EXPECT_EQ(statusOf<repQueryReplicaVolumeV4ByJobIdResp>(0x350001c5, repQueryReplicaVolumeByJobIdReq{900002}), 1);
    EXPECT_EQ(statusOf<repQueryYBVolByUniqueSnapshotIdV3Resp>(
                  0x350001c7, repQueryYBVolByUniqueSnapshotIdReq{const_cast<char*>("-7")}),
              1);
    EXPECT_EQ(statusOf<repGetYBVolumesBySubclientIdResp>(0x350001d3, repGetYBVolumesBySubclientIdReq{kFreeIds + 1}),
              1);
    // Reservation, and the application directories of the volume:
    // recorded twice, copied, listed, refreshed, listed up to a time.
    int32_t reserved[] = {replicaId};
    EXPECT_EQ(statusOf<repReserveReplicaVolResp>(0x3500007b, repReserveReplicaVolReq{1, reserved}), 1);
    EXPECT_EQ(statusOf<repUnreserveReplicaVolResp>(0x3500007f, repReserveReplicaVolReq{1, reserved}), 1);
    repApplicationDirs dirEntry{};
    dirEntry.subclientId = 1;
    dirEntry.clientId = 1;
    dirEntry.objName = const_cast<char*>("plan-obj");
    dirEntry.path = const_cast<char*>("/plan");
    dirEntry.ReplicationVolumeId = replicaId;
    for (int round = 0; round < 2; ++round) {
        repCreateAppDirsRecordsReq dirs{1, &dirEntry};
        EXPECT_EQ(ReplyOf<repCreateAppDirsRecordsResp>(post(0x35000045, &dirs, sizeof(repCreateAppDirsRecordsResp))).result, 0);
    }
    EXPECT_EQ(statusOf<repCopyAppDirResp>(0x350000d9, repCopyAppDirReq{replicaId, replicaId + 1}), 1);
    EXPECT_EQ(statusOf<repQueryAppDirsByReplicaVolResp>(0x35000073, repQueryAppDirsByReplicaVolReq{replicaId}), 1);
    EXPECT_EQ(statusOf<repUpdateAppDirModifyTimeByRepVolResp>(0x35000083,
                                                              repUpdateAppDirModifyTimeByRepVolReq{0, 0, 1, reserved}),
              1);
    repGetAppDirsBySubclientAndTimeReq bySubclient{1, 0};
    EXPECT_EQ(ReplyOf<repGetAppDirsBySubclientAndTimeResp>(
                  post(0x3500003f, &bySubclient, sizeof(repGetAppDirsBySubclientAndTimeResp))).status,
              0);
    repGetAppDirsByClientAndTimeReq byClient{1, 0};
    EXPECT_EQ(ReplyOf<repGetAppDirsByClientAndTimeResp>(
                  post(0x35000043, &byClient, sizeof(repGetAppDirsByClientAndTimeResp))).status,
              0);
    // The release of a scratch volume (its statements whatever the outcome),
    // and of one named replication volume.
    repReleaseRVScratchVolumeReq releaseAll{1};
    post(0x35000019, &releaseAll, sizeof(repReleaseRVScratchVolumeResponse));
    repReleaseRVScratchVolumeV2Req releaseOne{0, replicaId + 1};
    EXPECT_EQ(ReplyOf<repReleaseRVScratchVolumeV2Response>(
                  post(0x350001a3, &releaseOne, sizeof(repReleaseRVScratchVolumeV2Response))).status,
              0u);
    EXPECT_EQ(statusOf<repRemoveReplicationVolumeResp>(0x35000051, repRemoveReplicationVolumeReq{replicaId}), 1);

    // Permanent replicas: one created on a new SNR volume and again on
    // the same one, queried, and found as the latest replica.
    repCreatePermanentReplicaV4Req permanent;
    std::memset(static_cast<void*>(&permanent), 0, sizeof permanent);
    permanent.SNRVolume.UniqueId = const_cast<char*>("plan-permanent");
    permanent.SNRVolume.BlockCount = 10;
    permanent.PrimaryVolumeId = kFreeIds + 2;
    for (int round = 0; round < 2; ++round)
        EXPECT_EQ(statusOf<repCreatePermanentReplicaV4Resp>(0x35000161, permanent), 1);
    EXPECT_EQ(statusOf<repQueryPermanentReplicaV3Resp>(0x350000e1, repQueryPermanentReplicaReq{kFreeIds + 2}),
              1);
    EXPECT_EQ(statusOf<repGetLatestSnapForSNRVolV4Resp>(
                  0x3500015d, repGetLatestSnapForSNRVolV4Req{kFreeIds + 2, 0, 0}),
              1);
    // Restricted to a job without replicas of it: both reads run, neither finds one.
    EXPECT_EQ(statusOf<repGetLatestSnapForSNRVolV4Resp>(
                  0x3500015d, repGetLatestSnapForSNRVolV4Req{kFreeIds + 2, 0, 900002}),
              0);

    // Consistency points of a set of their own: one created, reported
    // again by its job, its header-only twin; a mount point and a share
    // added and removed; the snapshot's path set by its name; the pair
    // rows of the set's pairs.
    HostClientSeed host;
    host.id = kFreeIds + 1;
    host.name = "plan-host";
    host.osId = 2;  // its client service maps volume paths to GUIDs
    ASSERT_EQ(HostConfig::addClient(host), 0);
    int instance = 0;
    ASSERT_EQ(HostConfig::addInstance(instance, host.id, 84, "plan-instance"), 0);
    HostBackupSetSeed set;
    set.id = kFreeIds + 1;
    set.name = "plan-set";
    set.clientId = host.id;
    set.appTypeId = 84;
    set.instanceId = instance;
    set.destinationHostId = host.id;
    ASSERT_EQ(HostConfig::addBackupSet(set), 0);
    repFLRSnapRecV2 snap;
    snap.id = 1;
    snap.Name = const_cast<char*>("plan-snap");
    snap.SnapVolumeName = const_cast<char*>("plan-volume");
    snap.VolumeGUID = const_cast<char*>("{plan-guid}");
    repFLRSnapPairElem pair{0, 1, kFreeIds + 1};
    repFLRSnapMountPointElem mount{0, 1, const_cast<char*>("/mnt/plan-snap")};
    repCreateCPReqV3 cp;
    std::memset(static_cast<void*>(&cp), 0, sizeof cp);
    cp.CP.FLRSetId = set.id;
    cp.CP.CreationTime = 12345;
    cp.CP.JobId = 900001;
    cp.SnapCount = cp.PairCount = cp.MountCount = 1;
    cp.Snaps = &snap;
    cp.Pairs = &pair;
    cp.MountPoints = &mount;
    const auto created = ReplyOf<repCreateCPRespV2>(post(0x3500024c, &cp, sizeof(repCreateCPRespV2)));
    ASSERT_EQ(created.status, 1u);
    const int32_t cpId = created.CPId;
    EXPECT_EQ(statusOf<repCreateCPRespV2>(0x3500024c, cp), 1u);
    // A point added by itself is stamped with the time of its adding: in a
    // set of its own, so that it never becomes the latest point of the set
    // above when the clock passes a second in between.
    auto ownSet = cp.CP;
    ownSet.FLRSetId = 1;
    EXPECT_EQ(ReplyOf<repAddFLRConsistencyPointResp>(post(0x350001d5, &ownSet, sizeof(repAddFLRConsistencyPointResp))).status,
              1u);
    repAddFLRSnapMountPointReq addMount{0, 999999, const_cast<char*>("/mnt/plan-other")};
    const auto mounted = ReplyOf<repAddFLRSnaphsotMountPointResp>(
        post(0x350001df, &addMount, sizeof(repAddFLRSnaphsotMountPointResp)));
    ASSERT_EQ(mounted.status, 1u);
    repAddFLRSnapNetworkShareReq addShare{0, mounted.MountPointId, const_cast<char*>("plan-share")};
    const auto shared =
        ReplyOf<repAddFLRSnapNetworkShareResp>(post(0x350001e3, &addShare, sizeof(repAddFLRSnapNetworkShareResp)));
    ASSERT_EQ(shared.status, 1u);
    EXPECT_EQ(statusOf<repDelFLRSnapNetworkShareResp>(0x350001e5, repDeleteFLRSnapNetworkShareReq{shared.ShareId}), 1u);
    EXPECT_EQ(statusOf<repDeleteFLRSnapshotMountPointResp>(0x350001e1,
                                                           repDeleteFLRSnapMountPointReq{mounted.MountPointId}),
              1u);
    snap.SnapshotPath = const_cast<char*>("plan-path");
    repUpdateFLRSnapshotReq paths;
    std::memset(&paths, 0, sizeof paths);
    paths.count = 1;
    paths.Snaps = &snap;
    EXPECT_EQ(statusOf<repUpdateFLRSnapshotResp>(0x35000246, paths), 1u);
    HostSubclientSeed pairOfSet;
    pairOfSet.id = kFreeIds + 1;  // the pair of the snapshot above
    pairOfSet.appTypeId = 84;
    pairOfSet.backupSetId = set.id;
    pairOfSet.name = "plan-pair";
    ASSERT_EQ(HostConfig::addSubclient(pairOfSet), 0);
    FanInRPAssociatedWithSrcRepSetArgs_t fanIn;
    fanIn.SrcRepSetId = set.id;
    FanInRPAssociatedWithSrcRepSetRet_t pairs;
    EXPECT_TRUE(mgr.getFanInRPAssociatedWithSrcRepSet(fanIn, pairs, nullptr));
    EXPECT_EQ(pairs.SnapshotIds.size(), 1u);

    // The same point read back: by its set, id and job, as the set's
    // latest (of any volume, and of one); the set of its volume; the
    // recovery point lookups; what concerns its host.
    EXPECT_EQ(statusOf<repQueryFLRCPointsByFLRSetIdResp>(0x350001d7, repQueryFLRCPointsByFLRSetIdReq{set.id}), 1u);
    EXPECT_EQ(statusOf<repQueryFLRSnapshotsByCPIdRespV2>(
                  0x35000200, repQueryFLRSnapshotsByCPIdReqV2{{static_cast<uint32_t>(cpId)}}),
              1u);
    EXPECT_EQ(statusOf<repQueryFLRCPByJobIdRespV3>(0x35000252, repQueryFLRCPByJobIdReqV2{{cp.CP.JobId}}), 1u);
    EXPECT_EQ(statusOf<repQueryRepSetLastCPRespV2>(
                  0x35000204, repQueryRepSetLastCPReqV2{static_cast<uint32_t>(set.id), nullptr}),
              1u);
    EXPECT_EQ(statusOf<repQueryRepSetLastCPRespV3>(
                  0x35000254, repQueryRepSetLastCPReqV2{static_cast<uint32_t>(set.id), snap.VolumeGUID}),
              1u);
    {
        ClientFakesScope fakes;
        fakes.fakes().setVolumeGUID("E:", "{plan-guid}");
        char* paths[] = {const_cast<char*>("E:")};
        EXPECT_EQ(statusOf<repFindRepSetByVolumeResp>(0x350001f3, repFindRepSetByVolumeReq{1, paths, set.id}), 1);
        EXPECT_EQ(fakes.fakes().calls("FindVolumeGUID").size(), 1u);
    }
    // The point was stored before its set had an active pair: no source
    // client, none of the host's.
    EXPECT_EQ(statusOf<repQueryFLRCPsByClientIdAndAppTypeResp>(
                  0x350001f7, repQueryFLRCPsByClientIdAndAppTypeReq{host.id, 0}),
              0);
    statusOf<repQueryFLRCPsByClientIdAndAppTypeResp>(0x350001f7, repQueryFLRCPsByClientIdAndAppTypeReq{host.id, 84});
    EXPECT_EQ(statusOf<repGetRPsByClientIdAndVolNameV2Resp>(
                  0x35000248, repGetRPsByClientIdAndVolNameV2Req{host.id, snap.VolumeGUID, 1}),
              1);
    EXPECT_EQ(statusOf<repGetRPsByDstClientIdResp>(0x35000256, repGetRPsByDstClientIdReq{host.id}), 1);
    EXPECT_EQ(statusOf<repGetFanInDetailInfoByRPIdResp>(0x3500022a, repGetFanInDetailInfoByRPIdReq{cpId}), 1);
    EXPECT_EQ(statusOf<repQueryCPByIdResp>(0x3500024a, repQueryCPByIdReq{cpId}), 1);
    EXPECT_EQ(statusOf<repQueryFLRSnapBySnapIdResp>(0x3500022c, repQueryFLRSnapBySnapIdReq{1}), 1);
    doesClientHaveAnyRPsArgs_t client;
    client.ClientId = host.id;
    doesClientHaveAnyRPsRet_t concerns;
    EXPECT_TRUE(mgr.doesClientHaveAnyRP(client, concerns, nullptr));

    // The point's snapshots collected in each mode; the set pruned, and
    // the fan-in points of its volume; the point deleted (refused: it is
    // mounted); the host's points rebuilt from an empty list; every
    // point of the set deleted, forced, which clears its pairs out of
    // fan-in points.
    {
        ClientFakesScope released;
        for (int32_t mode : {FLRSNAP_BY_CP, FLRSNAP_BY_REPSET, FLRSNAP_BY_REPSET_FOR_PRUNING, FLRSNAP_BY_VOLUME}) {
            GetFLRSnapArgs_t select;
            select.Id = mode == FLRSNAP_BY_CP ? cpId : set.id;
            select.VolumeGUID = "{plan-guid}";
            select.Mode = mode;
            GetFLRSnapRet_t collected;
            mgr.GetFLRSnaps(select, collected, nullptr);
        }
        GetFLRSnapForRepSetRet_t ofSet;
        EXPECT_TRUE(mgr.GetFLRSnapsForRepSet(static_cast<unsigned long>(set.id), ofSet, nullptr));
        EXPECT_EQ(statusOf<repPruneRepSetResp>(0x350001f1, repPruneRepSetReq{set.id}), 1);
        EXPECT_EQ(statusOf<repPruneFanInRPResp>(0x35000232, repPruneFanInRPReq{snap.VolumeGUID}), 1);
        EXPECT_EQ(statusOf<repDelCPResp>(0x350001ef, repDelCPReq{static_cast<uint32_t>(cpId)}), 0);
        repCreateCPReq2 list;
        std::memset(static_cast<void*>(&list), 0, sizeof list);
        list.DstClientId = static_cast<uint32_t>(host.id);
        EXPECT_EQ(statusOf<repCreateCPResp>(0x350001fd, list), 1);
        statusOf<repDelAllCPsByRepSetIdResp>(0x350001eb,
                                             repDelAllCPsByRepSetIdReq{static_cast<uint32_t>(set.id), 1});
    }

    // Stored files: one stored, read, renamed and moved, removed; the
    // files of a seeded volume removed.
    repUploadYBFileReq upload{};
    upload.file.VolumeId = volumeId;
    upload.file.Name = const_cast<char*>("plan.cfg");
    upload.file.Content = const_cast<char*>("plan");
    const auto file = ReplyOf<repUploadYBFileResp>(post(0x35000143, &upload, sizeof(repUploadYBFileResp)));
    ASSERT_EQ(file.status, 1u);
    EXPECT_EQ(statusOf<repDownloadYBFileByIdResp>(0x35000145, repDownloadYBFileByIdReq{file.fileId, 0, nullptr}), 1);
    repUpdateYBFileReq moved{};
    moved.file.id = file.fileId;
    moved.file.VolumeId = 1;
    moved.file.Name = const_cast<char*>("plan-b.cfg");
    moved.updateMap = 3;
    EXPECT_EQ(statusOf<repUpdateYBFileResp>(0x35000153, moved), 1);
    EXPECT_EQ(statusOf<repDeleteYBFileByIdResp>(0x3500014f, repYBFileIdReq{static_cast<int32_t>(file.fileId)}), 1);
    EXPECT_EQ(statusOf<repDeleteYBFileByVolIdResp>(0x35000151, repYBFileIdReq{1}), 1);

    // Appliances and user application definitions: added, added again,
    // read, listed, changed and removed; the browse views and the lists.
    repYBApplianceRec appliance{0, const_cast<char*>("plan-appliance")};
    const auto addedAppliance = ReplyOf<repAddYBApplianceResp>(post(0x35000103, &appliance, sizeof(repAddYBApplianceResp)));
    EXPECT_EQ(addedAppliance.status, 1u);
    EXPECT_EQ(statusOf<repAddYBApplianceResp>(0x35000103, appliance), 0);
    const repYBApplianceByIdReq applianceId{static_cast<int32_t>(addedAppliance.id)};
    EXPECT_EQ(statusOf<repQueryYBApplianceResp>(0x35000109, applianceId), 1);
    EXPECT_EQ(ReplyOf<repGetYBApplianceListResp>(post(0x35000107, nullptr, sizeof(repGetYBApplianceListResp))).status, 1u);
    EXPECT_EQ(statusOf<repDeleteYBApplianceResp>(0x35000105, applianceId), 1);
    repYBUserApplDefRec application{0, 7, const_cast<char*>("Plan"), const_cast<char*>("PLAN"), nullptr, nullptr, 0};
    const auto addedApplication =
        ReplyOf<repAddYBUserApplDefResp>(post(0x35000199, &application, sizeof(repAddYBUserApplDefResp)));
    EXPECT_EQ(addedApplication.status, 1u);
    EXPECT_EQ(statusOf<repAddYBUserApplDefResp>(0x35000199, application), 0);
    application.id = static_cast<int32_t>(addedApplication.id);
    EXPECT_EQ(statusOf<repUpdateYBUserApplDefResp>(0x3500019b, application), 1);
    const repYBUserApplDefByIdReq applicationId{application.id};
    EXPECT_EQ(statusOf<repQueryYBUserApplDefByIdResp>(0x3500019f, applicationId), 1);
    EXPECT_EQ(ReplyOf<repGetYBUserApplDefResp>(post(0x350001a1, nullptr, sizeof(repGetYBUserApplDefResp))).status, 1u);
    EXPECT_EQ(statusOf<repDeleteYBUserApplDefResp>(0x3500019d, applicationId), 1);
    EXPECT_EQ(statusOf<repBrowseByClientIdV2Resp>(0x35000218, repBrowseByClientIdV2Req{{8}}), 1);
    EXPECT_EQ(statusOf<repBrowseByPolicyIdResp>(0x350001cd, repBrowseByPolicyIdReq{2}), 1);
    EXPECT_EQ(ReplyOf<repGetSubclientVolumesListResp>(post(0x350001cb, nullptr, sizeof(repGetSubclientVolumesListResp))).status,
              1u);
    EXPECT_EQ(ReplyOf<repGetCopyMgrCtrlsResp>(post(0x350001d9, nullptr, sizeof(repGetCopyMgrCtrlsResp))).status, 1u);

    // Job volume history: an entry of client 8's registered volume added
    // in both versions, read by job, volume, id and whole, and deleted.
    repYBJobVolumeHistoryRec entry{};
    entry.JobId = (int64_t{3} << 32) + 1;
    entry.SrcVolId = volumeId;
    entry.SrcClientId = 8;
    entry.DstVolId = volumeId;
    entry.DstClientId = 8;
    const auto history = ReplyOf<repAddVolumeToYBJobHistoryResp>(
        post(0x35000119, &entry, sizeof(repAddVolumeToYBJobHistoryResp)));
    EXPECT_EQ(history.status, 1u);
    repYBJobVolumeHistory80Rec entry80{entry, 1, 0};
    EXPECT_EQ(statusOf<repAddVolumeToYBJobHistoryResp>(0x3500023a, entry80), 1u);
    for (unsigned long code : {0x35000121ul, 0x3500023cul})
        EXPECT_EQ(statusOf<repYBJobHistoryListResp>(code, repYBJobHistoryByJobIdReq{entry.JobId}), 1u);
    for (unsigned long code : {0x35000125ul, 0x35000241ul})
        EXPECT_EQ(statusOf<repYBJobHistoryListResp>(code, repYBJobHistoryByVolIdReq{volumeId}), 1u);
    for (unsigned long code : {0x35000127ul, 0x35000243ul})
        EXPECT_EQ(ReplyOf<repYBJobHistoryListResp>(post(code, nullptr, sizeof(repYBJobHistoryListResp))).status, 1u);
    const repYBJobHistoryByIdReq historyId{static_cast<int32_t>(history.id)};
    EXPECT_EQ(statusOf<repYBJobHistoryByIdResp>(0x35000123, historyId), 1u);
    EXPECT_EQ(statusOf<repYBJobHistoryById80Resp>(0x3500023f, historyId), 1u);
    EXPECT_EQ(statusOf<repDeleteYBJobHistoryByJobIdResp>(0x35000129, repYBJobHistoryByJobIdReq{entry.JobId}), 1u);

    // SAP/Oracle views: the jobs of an instance and their volumes.
    for (int64_t job : {int64_t{0}, entry.JobId}) {
        repSAPOracleJobsReq sap{const_cast<char*>("PLAN"), 8, 5, job};
        EXPECT_EQ(statusOf<repSAPOracleJobListResp>(0x35000236, sap), 1u);
        EXPECT_EQ(statusOf<repSAPOracleJobDetailsListResp>(0x35000238, sap), 1u);
    }

    // Snapshot states: the mounted snapshots of a client of a new release
    // in both versions (both cursors run); whether the registered device
    // is a VSS snapshot (a role-2 replica of engine 2 on its volume); the
    // block-filter volumes of a seeded client.
    HostClientSeed mounts;
    mounts.id = kFreeIds + 2;
    mounts.name = "plan-mounts";
    mounts.netHostName = "plan-mounts.net";
    mounts.releaseId = 13;
    ASSERT_EQ(HostConfig::addClient(mounts), 0);
    for (unsigned long code : {0x350001fbul, 0x35000230ul})
        EXPECT_EQ(statusOf<repQueryMountedSnapsResp>(code, repQueryMountedSnapsReq{mounts.netHostName.data()}), 1u);
    // (The volume by its unique id: the same text whatever the seeded rows.)
    ASSERT_EQ(scalar("SELECT id FROM YBPhysicalVolume WHERE UniqueId = 'PLAN-VOLUME-1'"), volumeId);
    exec("INSERT INTO YBVolume (CurrentRole, PhysicalVolumeId, SnapEngineType, SourceGUID) "
         "SELECT 2, id, 2, '{plan-source}' FROM YBPhysicalVolume WHERE UniqueId = 'PLAN-VOLUME-1';"
         "UPDATE YBPhysicalVolume SET UniqueSnapshotID = 'plan:{plan-shadow}' WHERE UniqueId = 'PLAN-VOLUME-1'");
    EXPECT_EQ(statusOf<repIsDevVSSSnapResp>(0x35000234, repIsDevVSSSnapReq{deviceId}), 1u);
    GetVolumesUsingTheBlockFilterDriverArgs_t filtered;
    filtered.ClientId = 5;
    GetVolumesUsingTheBlockFilterDriverRet_t filterVolumes;
    EXPECT_TRUE(mgr.GetVolumesUsingTheBlockFilterDriver(filtered, filterVolumes, nullptr)) << filterVolumes.errMsg;

    // The inventory of a seeded client (its volumes hold replication and
    // scratch volumes); a seeded SNR volume by id, of any source and of
    // one; and with its replicas chosen by each volume term, by creation
    // time, and by role alone.
    EXPECT_EQ(statusOf<repQuerySNRDeviceByClientIdV6Response>(0x35000208, repQuerySNRDeviceByClientIdV6Req{{1}}),
              1);
    EXPECT_EQ(statusOf<repQuerySNRVolByIdV5Resp>(0x350001bf, repQuerySNRVolByIdV5Req{{1, 0}}), 1);
    EXPECT_EQ(statusOf<repQuerySNRVolByIdV5Resp>(0x350001bf, repQuerySNRVolByIdV5Req{{1, 5}}), 1);
    for (int32_t flags : {SNRVOL2_ON_VOLUME, SNRVOL2_OF_PRIMARY | SNRVOL2_IN_ROLE, SNRVOL2_OF_SNAPSHOT,
                          SNRVOL2_CREATED_BEFORE, SNRVOL2_IN_ROLE})
        EXPECT_EQ(statusOf<repQuerySNRVolume2ByIdV5Resp>(0x350001c3, repQuerySNRVolume2ByIdV5Req{{1, flags, 100, 2}}),
                  1);

    // Scratch pool membership: a new member taking its pool's engine,
    // moved to another engine, a member of a Type 2 pool; reserved for a
    // job and released by it, reserved and unreserved, allocated and
    // deallocated; removed; stale reservations reset. (The Type 2 pool
    // finds no engine of type 5 among the seeded ones.)
    exec("INSERT INTO YBPhysicalVolume (id, UniqueId, Type) VALUES (25001, 'plan-member', 1), (25002, 'plan-nas', 3);"
         "INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (25001, 7, 25001, '/dev/plan-m'), "
         "(25002, 7, 25002, '/dev/plan-n');"
         "INSERT INTO YBScratchPool (id, name, SnapEngineInfoId, Type) VALUES (25001, 'plan-p', 1, 1), "
         "(25002, 'plan-q', 2, 1), (25003, 'plan-nas', 0, 2)");
    repAddRVScratchVolumeReq newMember{25001, 25001};
    const auto member = ReplyOf<repAddRVScratchVolumeResponse>(
        post(0x35000015, &newMember, sizeof(repAddRVScratchVolumeResponse)));
    EXPECT_EQ(member.status, 1u);
    EXPECT_EQ(statusOf<repAddRVScratchVolumeResponse>(0x35000015, repAddRVScratchVolumeReq{25002, 25001}), 1);
    EXPECT_EQ(statusOf<repAddRVScratchVolumeResponse>(0x35000015, repAddRVScratchVolumeReq{25003, 25002}), 0);
    int32_t memberVolume = 25001;
    EXPECT_EQ(statusOf<repReserveSNRVolV2Resp>(0x350001b1, repReserveSNRVolV2Req{1, &memberVolume, 900003}), 1);
    {
        UnlockVolumesByJobIdArgs_t job;
        job.jobId = 900003;
        UnlockVolumesByJobIdRet_t unlocked;
        DBtran tran;
        ASSERT_EQ(tran.startTran(), 0);
        EXPECT_TRUE(mgr.UnlockVolumesByJobId(job, unlocked, &tran)) << unlocked.errMsg;
        EXPECT_EQ(tran.commitTran(), 0);
    }
    EXPECT_EQ(statusOf<repReserveSNRVolResp>(0x35000067, repReserveSNRVolReq{1, &memberVolume}), 1);
    EXPECT_EQ(statusOf<repUnreserveSNRVolResp>(0x3500007d, repReserveSNRVolReq{1, &memberVolume}), 1);
    EXPECT_EQ(statusOf<repAllocateSNRVolResp>(0x350000bb, repReserveSNRVolReq{1, &memberVolume}), 1);
    EXPECT_EQ(statusOf<repDeallocateSNRVolResp>(0x350000bd, repReserveSNRVolReq{1, &memberVolume}), 1);
    EXPECT_EQ(statusOf<repRemoveRVScratchVolumeResponse>(0x35000017, repRemoveRVScratchVolumeReq{member.scratchVolumeId}),
              1);
    // The seeded volumes' reservations are not all releasable: only
    // the statements count here.
    mgr.ResetSNRVolLockFlag();
    // Retention pruning at time 1: the volumes created at 0 with a
    // retention of 1 are due (what each frees counts here, not the outcome).
    // Retention pruning: a replica on a reserved scratch volume, a
    // snapshot, a snapshot kept in a destination volume, and replicas on
    // NAS volumes of a NAS source and of a plain one, all due (what each
    // frees counts here, not the outcome).
    exec("INSERT INTO YBPolicy (id, name, RetentionSeconds) VALUES (26001, 'plan-prune', 10);"
         "INSERT INTO YBPhysicalVolume (id, UniqueId, Type, Flags) VALUES (26001, 'plan-r', 1, 2), "
         "(26002, 'plan-s', 1, 0), (26003, 'plan-v', 5, 2), (26004, 'plan-w', 5, 0), (26005, 'plan-x', 5, 2);"
         "INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (26001, 7, 26001, '/dev/plan-r'), "
         "(26002, 7, 26002, '/dev/plan-s'), (26003, 7, 26003, '/dev/plan-v'), (26005, 7, 26005, '/dev/plan-x');"
         "INSERT INTO YBMountPoint (id, DeviceNameId, Path) VALUES (26001, 26001, '/plan/r');"
         "INSERT INTO YBScratchVolume (id, PhysicalVolumeId, RVScratchVolumePoolId) VALUES (26001, 26001, 25001), "
         "(26003, 26003, 25001), (26005, 26005, 25001);"
         "INSERT INTO YBVolume (id, CurrentRole, PrimaryVolumeId, PhysicalVolumeId, ReplicationPolicyId, "
         "RVScratchVolumeId, SnapEngineType, Flags, CreationTime) VALUES (26001, 1, 26002, 26001, 26001, 26001, 0, 0, 0), "
         "(26002, 2, 26001, 26002, 26001, 0, 1, 0, 0), (26003, 5, 26001, 26002, 26001, 0, 5, 0, 0), "
         "(26004, 1, 26004, 26003, 26001, 26003, 5, 0, 0), (26005, 1, 26002, 26005, 26001, 26005, 0, 0, 0)");
    {
        ClientFakesScope pruned;
        repPruneReplicaVolumeReq pruneTime{1000};
        post(0x35000081, &pruneTime, sizeof(repPruneReplicaVolumeResp));
    }

    // Deletions: a permanent replica with the SNR volume it lay on; a
    // device with its mount point, then its volume's last device with the
    // volume; a protected volume pruned with its device and volume.
    EXPECT_EQ(statusOf<repDeletePermanentReplicaResp>(0x35000063, repDeletePermanentReplicaReq{kFreeIds + 2}),
              1);
    const int32_t firstGone = registerDevice({"PLAN-VOLUME-3", 9, "/dev/plan-g", "/mnt/plan-g", "", {}}).DeviceId;
    const int32_t lastGone = registerDevice({"PLAN-VOLUME-3", 10, "/dev/plan-h", "/mnt/plan-h", "", {}}).DeviceId;
    EXPECT_EQ(statusOf<repDeleteSNRDeviceResponse>(0x35000003, repDeleteSNRDeviceReq{firstGone}), 1);
    EXPECT_EQ(statusOf<repDeleteSNRDeviceResponse>(0x35000003, repDeleteSNRDeviceReq{lastGone}), 1);
    const int32_t pruned = registerDevice({"PLAN-VOLUME-4", 9, "/dev/plan-i", "/mnt/plan-i", "", {}}).SNRVolumeId;
    EXPECT_EQ(statusOf<repPruneMorvaneVolumesResp>(0x35000115, repPruneMorvaneVolumeReq{pruned, 0, 0, nullptr}), 1);

    // Client-wide cleanup of client 90011, which no seeded row names,
    // in "Non SNR" then in "Full" mode: its volume 25010 holds a snapshot
    // on its reserved scratch volume, 25011 a replica, which has a replica
    // on the volume 25012 it shares with client 90012.
    exec("INSERT INTO YBPhysicalVolume (id, UniqueId, Flags, Type) VALUES (25010, 'plan-c1', 2, 1), "
         "(25011, 'plan-c2', 0, 1), (25012, 'plan-c3', 0, 1);"
         "INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (25010, 90011, 25010, '/dev/c1'), "
         "(25011, 90011, 25011, '/dev/c2'), (25012, 90011, 25012, '/dev/c3'), (25013, 90012, 25012, '/dev/c4');"
         "INSERT INTO YBScratchVolume (id, PhysicalVolumeId, RVScratchVolumePoolId) VALUES (25010, 25010, 25001);"
         "INSERT INTO YBVolume (id, CurrentRole, PrimaryVolumeId, PhysicalVolumeId, RVScratchVolumeId) VALUES "
         "(900010, 2, 1, 25010, 25010), (900011, 1, 1, 25011, 0), (900012, 4, 25011, 25012, 0);"
         "INSERT INTO YBVolSnapParams (SNRVolumeId, SnapEngineId, Flags) VALUES (25010, 1, 1), (25011, 1, 0)");
    EXPECT_EQ(statusOf<repCleanupByclientIdResp>(0x3500005d, repCleanupByClientIdReq{90011, 2}), 1);
    EXPECT_EQ(statusOf<repCleanupByclientIdResp>(0x3500005d, repCleanupByClientIdReq{90011, 1}), 1);

    // A table class: rows by a where clause on an indexed column,
    // counted, changed, added.
    YBApplicationDirs dirs(nullptr);
    dirs.setWhere("ReplicationVolumeId = %d", 7);
    int count = 0;
    EXPECT_EQ(dirs.getRowsInTable(&count, true), 0);
    ASSERT_EQ(dirs.openCursor(), 0);
    ASSERT_EQ(dirs.fetchCursor(true), 0);
    EXPECT_EQ(dirs.rowUpdate(nullptr), 0);
    EXPECT_EQ(dirs.rowUpdate("Flags = %d", 2), 0);
    dirs.closeCursor();
    EXPECT_EQ(dirs.rowInsert(true), 0);
}

}  // namespace statement_plans
