// Statements of the catalogue run for the cursors of SNR devices and volumes,
// of scratch pools and of replication volumes, and for the job-history
// pruning procedure. Each returns the rows of its family in the family's
// column order; arguments are bound as ?1, ?2, ...
//
// The volume inventories read one SNR volume per row with the replication
// volume (YBVolume) and the scratch volume (YBScratchVolume) lying on it.
// Where several such rows lie on one SNR volume the one with the lowest id is
// taken, so that a read is repeatable; where none does, its columns are NULL
// and reach the row as 0 or empty text.
#include <string>

#include "host/db/statements/CatalogueStatements.h"

namespace {

// The 14 columns of the SNR volume, then the groups of the replication volume
// and the scratch volume as each inventory orders them.
const char* const kVolumeColumns =
    "S.id, S.UniqueId, S.UniqueIdType, S.LUN, S.StartLBA, S.BlockCount, S.BlockSize, S.Flags, S.FSType, "
    "S.UniqueSnapshotID, S.ApplianceId, S.TzState, S.CostCategoryId, S.Type";
const char* const kReplicaColumns =
    "Q.id, Q.PointInTime, Q.CreationTime, Q.ModifyTime, Q.CurrentState, Q.CurrentRole, Q.PrimaryVolumeId, "
    "Q.PhysicalVolumeId, Q.ReplicationPolicyId, Q.RVScratchVolumeId, Q.Flags, Q.JobId";
const char* const kScratchColumns = "R.id, R.PhysicalVolumeId, R.RVScratchVolumePoolId, R.Flags";
// What the pool and single-volume inventories put last.
const char* const kTailColumns =
    "Q.SnapVolumeId, Q.SnapEngineType, Q.SnapvaultReplicaDir, Q.SourceGUID, R.LockedByJobId";

// The SNR volumes of the scratch volumes of pool ?1.
const char* const kPoolMembers =
    "(SELECT R.PhysicalVolumeId FROM YBScratchVolume R WHERE R.RVScratchVolumePoolId = ?1)";

// The lowest-id replication volume on S (of source volume ?2 unless ?2 is 0
// when bySource), and the lowest-id scratch volume on S (of pool ?1 when
// inPool).
std::string replicaJoin(bool bySource)
{
    return std::string(" LEFT JOIN YBVolume Q ON Q.id = (SELECT MIN(V.id) FROM YBVolume V WHERE V.PhysicalVolumeId = S.id") +
           (bySource ? " AND (?2 = 0 OR V.PrimaryVolumeId = ?2))" : ")");
}

std::string scratchJoin(bool inPool)
{
    return std::string(
               " LEFT JOIN YBScratchVolume R ON R.id = (SELECT MIN(X.id) FROM YBScratchVolume X WHERE "
               "X.PhysicalVolumeId = S.id") +
           (inPool ? " AND X.RVScratchVolumePoolId = ?1)" : ")");
}

}  // namespace

void RegisterSNRStatements(DBStatementSet& statements)
{
    const std::string volume = kVolumeColumns;
    const std::string replica = kReplicaColumns;
    const std::string scratch = kScratchColumns;
    const std::string tail = kTailColumns;
    const std::string poolMembers = kPoolMembers;

    // Devices and mount points.
    statements.add("YBGetSNRDeviceByClientId",
                   "SELECT * FROM YBPhysicalDevice WHERE ClientId = ?1 ORDER BY id ASC");
    statements.add("YBGetSNRDeviceNameBySNRVolId",
                   "SELECT * FROM YBPhysicalDevice WHERE SNRVolumeId = ?1 ORDER BY id ASC");
    statements.add("YBGetSNRMountPointByClientId",
                   "SELECT M.* FROM YBMountPoint M, YBPhysicalDevice D "
                   "WHERE M.DeviceNameId = D.id AND D.ClientId = ?1 ORDER BY M.id ASC");
    statements.add("YBGetSNRMountPointBySNRDevId",
                   "SELECT * FROM YBMountPoint WHERE DeviceNameId = ?1 ORDER BY id ASC");
    // The history-name columns first, the device's after them.
    statements.add("YBGetTzGlobalHistoryNameByVolumeId",
                   "SELECT H.DeviceId, H.GlobalHistoryName, H.Flags, D.* "
                   "FROM YBTzHistoryName H JOIN YBPhysicalDevice D "
                   "ON (H.DeviceId = D.id AND D.SNRVolumeId = ?1) ORDER BY H.DeviceId");

    // Volume inventory of a client, client order.
    statements.add(
        "YBGetSNRVolInfoByClientId",
        "SELECT " + volume + ", " + replica + ", Q.SnapvaultReplicaDir, Q.SourceGUID, " + scratch +
            ", Q.SnapVolumeId, Q.SnapEngineType, R.LockedByJobId FROM YBPhysicalVolume S" + replicaJoin(false) +
            scratchJoin(false) +
            " WHERE S.id IN (SELECT D.SNRVolumeId FROM YBPhysicalDevice D WHERE D.ClientId = ?1) ORDER BY S.id ASC");

    // One SNR volume, id order.
    statements.add(
        "YBGetSNRVolumeById",
        "SELECT " + volume + ", " + replica + ", " + scratch + ", " + tail + " FROM YBPhysicalVolume S" +
            replicaJoin(true) + scratchJoin(false) + " WHERE S.id = ?1");

    // Scratch pool contents, pool order. A member volume is one row even
    // when two scratch rows of the pool lie on it; the devices and mount
    // points of a member come once each.
    statements.add(
        "YBGetSNRVolInfoByPoolId",
        "SELECT " + volume + ", " + scratch + ", " + replica + ", " + tail + " FROM YBPhysicalVolume S" +
            scratchJoin(true) + replicaJoin(false) +
            " WHERE S.id IN (SELECT P.PhysicalVolumeId FROM YBScratchVolume P WHERE P.RVScratchVolumePoolId = ?1) "
            "ORDER BY S.id ASC");
    statements.add(
        "YBGetSNRDeviceByPoolId",
        "SELECT D.* FROM YBPhysicalDevice D WHERE D.SNRVolumeId IN " + poolMembers + " ORDER BY D.id ASC");
    statements.add(
        "YBGetSNRMountPointByPoolId",
        "SELECT M.* FROM YBMountPoint M, YBPhysicalDevice D WHERE M.DeviceNameId = D.id AND D.SNRVolumeId IN " +
            poolMembers + " ORDER BY M.id ASC");

    // Replication volumes.
    statements.add("YBGetYBVolList", "SELECT * FROM YBVolume WHERE (id > 0) ORDER BY id ASC");
    statements.add("YBGetYBVolumesBySubclientId",
                   "SELECT Q.* FROM YBVolume Q, YBSubclientYBVolumes S "
                   "WHERE (Q.id = S.YBVolumeId AND S.Scid = ?1) ORDER BY Q.id ASC");
    // ?1 primary volume, ?2 role, ?3 job id (ignored unless above 0). Of
    // replicas changed at the same time the newest (highest id) counts.
    // One arm per case, each of which only its case runs, so that each
    // reads its replicas newest first from an index of its own (of the
    // volume's role, and of the job's replicas of the volume's role).
    const std::string latest =
        "SELECT " + volume + ", rv.ModifyTime AS ReplicaTime, rv.id AS ReplicaId FROM YBVolume rv, YBPhysicalVolume S "
        "WHERE rv.PrimaryVolumeId = ?1 AND rv.CurrentRole = ?2 AND rv.PhysicalVolumeId = S.id AND ";
    statements.add(
        "YBGetLatestRepVolByPVId",
        "SELECT id, UniqueId, UniqueIdType, LUN, StartLBA, BlockCount, BlockSize, Flags, FSType, UniqueSnapshotID, "
        "ApplianceId, TzState, CostCategoryId, Type FROM (" +
            latest + "?3 <= 0 UNION ALL " + latest +
            "?3 > 0 AND rv.JobId = ?3 ORDER BY ReplicaTime DESC, ReplicaId DESC LIMIT 1)");

    // Job history pruning: drops the entries whose source or destination
    // SNR volume is gone from the catalogue; one row, retVal 0.
    statements.add(
        "YBPruneJobHistory",
        "DELETE FROM YBJobVolumeHistory "
        "WHERE NOT EXISTS (SELECT 1 FROM YBPhysicalVolume P WHERE P.id = YBJobVolumeHistory.SrcVolId) "
        "OR NOT EXISTS (SELECT 1 FROM YBPhysicalVolume P WHERE P.id = YBJobVolumeHistory.DstVolId); "
        "SELECT 0 AS retVal");
}
