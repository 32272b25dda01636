// Statements of the catalogue run for the cursors and procedures of stored
// files, policies, VE hosts, copy managers, subclient lists, consistency
// points and FLR snapshots, snapshot cleanup and the SAP/Oracle job views,
// and of the integer query, which runs the caller's own text.
// Each returns the rows of its family in the family's column order; arguments
// are bound as ?1, ?2, ... so that no text argument becomes part of the SQL.
//
// Where the database must refuse a whole statement (a value that cannot be
// converted to an integer) the statement evaluates abs() of the smallest
// 64-bit integer, which fails with an integer overflow.
#include <string>

#include "host/db/statements/CatalogueStatements.h"

namespace {

const char* const kFail = "abs(-9223372036854775807 - 1)";

// A text (already trimmed) that is a 32-bit decimal integer with an optional
// sign.
std::string isInteger(const std::string& v)
{
    std::string digits = "(CASE WHEN substr(" + v + ", 1, 1) IN ('+', '-') THEN substr(" + v + ", 2) ELSE " + v + " END)";
    return "(" + digits + " <> '' AND " + digits + " NOT GLOB '*[^0-9]*' AND length(" + digits +
           ") <= 10 AND CAST(" + v + " AS INTEGER) BETWEEN -2147483648 AND 2147483647)";
}

const char* const kFileColumns = "SELECT id, VolumeId, Name, Flags FROM YBFile ";

// The operating-system ids of the VE host lists.
const char* const kVEOsList1 =
    "(3, 34, 35, 14, 15, 38, 47, 23, 24, 25, 51, 52, 16, 33, 36, 44, 46, 48, 59, 54, 61, 70, 71, 72, 75, 65, 66, 67, "
    "49, 50, 51, 52, 53, 54, 58, 61, 68, 69, 76, 77, 78, 62, 63, 64, 60, 79, 82, 83, 93, 94, 97, 98, 100, 101, 104, "
    "208, 210, 212)";
const char* const kVEOsList2 =
    "(36, 25, 51, 52, 54, 14, 15, 38, 47, 23, 61, 70, 71, 72, 75, 65, 66, 67, 49, 50, 51, 52, 53, 54, 58, 61, 68, 69, "
    "76, 77, 78, 62, 63, 64, 60, 79, 80, 82, 83, 97, 100, 101, 104, 208, 210, 212)";
const char* const kVEOsList3 =
    "(3, 34, 35, 14, 15, 38, 47, 23, 24, 25, 51, 52, 16, 33, 36, 44, 46, 48, 59, 54, 61, 70, 71, 72, 75, 65, 66, 67, "
    "49, 50, 51, 52, 53, 54, 58, 61, 68, 69, 76, 77, 78, 62, 63, 64, 60, 79, 80, 82, 83, 93, 94, 97, 98, 100, 101, "
    "104, 208, 210, 212)";

// The path property (10001 source, 10002 destination) of pair P valid at
// time T; of several, the one created last.
std::string pairPath(int propType, const std::string& pair, const std::string& time)
{
    return "(SELECT R.stringVal FROM DHT_ScReplicationPair R WHERE R.pairId = " + pair +
           " AND R.propType = " + std::to_string(propType) + " AND R.created <= " + time +
           " AND (R.modified = 0 OR R.modified >= " + time + ") ORDER BY R.created DESC, R.id DESC LIMIT 1)";
}

// The first mount path of the device of SNR volume V on client C, '' when
// there is none.
std::string volumeMountPath(const std::string& volume, const std::string& client)
{
    return "IFNULL((SELECT M.Path FROM YBPhysicalDevice D, YBMountPoint M WHERE D.SNRVolumeId = " + volume +
           " AND D.ClientId = " + client + " AND M.DeviceNameId = D.id ORDER BY M.id LIMIT 1), '')";
}

}  // namespace

void RegisterFileFlrCleanupStatements(DBStatementSet& statements)
{
    // ---- The caller's integer query ----
    // Runs its statement text as the caller wrote it.
    statements.addCallerText("YBQueryInt", 1);

    // ---- Stored files, policies and lists ----
    statements.add("YBGetYBFileList", std::string(kFileColumns) + "ORDER BY id ASC");
    statements.add("YBQueryYBFileByVolId", std::string(kFileColumns) + "WHERE VolumeId = ?1 ORDER BY id ASC");
    statements.add("YBQueryYBFileByName", std::string(kFileColumns) + "WHERE Name = ?1 ORDER BY id ASC");
    statements.add("YBQueryYBFileById", std::string(kFileColumns) + "WHERE id = ?1 ORDER BY id ASC");
    statements.add("YBGetYBPolicyList", "SELECT * FROM YBPolicy WHERE id > 0 ORDER BY id ASC");

    // A property value that an integer conversion rejects ("1.5", "1e3", "abc")
    // names no policy: the subclient is left out. The subclients are found
    // from the properties naming the policy, through the index
    // IX_DHT_SubClientProp_ReplicationPolicy, which holds this condition and
    // this expression of the value, written alike: change them together.
    statements.add(
        "YBGetSCListByYBPolicy",
        "SELECT A.id FROM DHT_SubClientProp SCP CROSS JOIN DHT_Application A "
        "WHERE SCP.attrName = 'Replication Policy' AND SCP.modified = 0 AND CAST(trim(SCP.attrVal) AS INTEGER) = ?1 "
        "AND " + isInteger("trim(SCP.attrVal)") + " AND A.id = SCP.componentNameId AND A.appTypeId = ?2 "
        "AND A.subclientStatus = 0 ORDER BY A.id");

    // A filter file name without the separator or with a leading part that is
    // not an integer fails the whole statement.
    statements.add(
        "YBGetSubclientVolumes",
        "SELECT CASE WHEN instr(V, char(21)) > 0 AND " + isInteger("trim(substr(V, 1, instr(V, char(21)) - 1))") +
            " THEN CAST(trim(substr(V, 1, instr(V, char(21)) - 1)) AS INTEGER) ELSE " + kFail + " END AS VolumeId "
            "FROM (SELECT DISTINCT F.fileName AS V FROM DHT_Application A, DHT_ScFilterFile F "
            "WHERE (A.appTypeId = 50 OR A.appTypeId = 47) AND A.subclientStatus = 0 "
            "AND A.id = F.componentNameId AND F.modified = 0 AND F.Type = 1) ORDER BY V");

    statements.add(
        "YBGetVEHosts",
        std::string("SELECT C.id AS ClientId, C.net_hostname AS ClientNetworkHostName FROM DHT_Client C "
                    "WHERE (C.status = 0 OR (C.status & 4096) = 4096 OR (C.status & 128) = 128) "
                    "AND (EXISTS (SELECT 1 FROM DHT_Platform P WHERE P.clientId = C.id AND P.platformType = 2) "
                    "OR (EXISTS (SELECT 1 FROM DHT_Platform P WHERE P.clientId = C.id AND P.platformType = 4) "
                    "AND EXISTS (SELECT 1 FROM DHT_AgtName I WHERE I.ClientId = C.id "
                    "AND I.appTypeId IN (47, 24, 48, 50, 65, 13, 75)))) "
                    "AND C.dhtOperatingSystemId IN ") +
            kVEOsList1 +
            " UNION "
            "SELECT C.id, C.net_hostname FROM DHT_Client C "
            "WHERE (C.status = 0 OR (C.status & 128) = 128) "
            "AND EXISTS (SELECT 1 FROM DHT_Platform P WHERE P.clientId = C.id AND P.platformType = 4) "
            "AND EXISTS (SELECT 1 FROM DHT_AgtName I WHERE I.ClientId = C.id) "
            "AND EXISTS (SELECT 1 FROM DHT_ClientProp CP WHERE CP.componentNameId = C.id AND CP.attrName = 'HotSpot' "
            "AND CP.attrVal = '1' AND CP.modified = 0) "
            "AND C.dhtOperatingSystemId IN " +
            kVEOsList2 + " AND C.dhtOperatingSystemId IN " + kVEOsList3 + " ORDER BY 1");

    statements.add(
        "YBGetCopyMgrCtrls",
        "SELECT DISTINCT CMC.CopyManagerCtrlId, CM.CopyMgrName, CM.CopyManagerType, CMC.ClientId, CMC.ClientId, "
        "C.net_hostname, C.dhtOperatingSystemId, "
        "(SELECT OS.osName FROM DHT_OperatingSystem OS WHERE OS.id = C.dhtOperatingSystemId) "
        "FROM DHCopyManager CM "
        "INNER JOIN DHCopyManagerCtrl CMC ON CMC.CopyManagerId = CM.CopyManagerId "
        "INNER JOIN DHT_Client C ON CMC.ClientId = C.id "
        "INNER JOIN DHT_ClientProp CP ON CP.componentNameId = C.id "
        "WHERE CMC.CopyManagerCtrlId > 0 AND (CM.CopyManagerType NOT IN (5, 6) "
        "OR (CM.CopyManagerType = 5 AND CP.attrName = 'Open System SnapVault' AND CP.attrVal = '1' AND CP.modified = 0) "
        "OR (CM.CopyManagerType = 6 AND CP.attrName = 'ONTAP SnapVault' AND CP.attrVal = '1' AND CP.modified = 0)) "
        "ORDER BY CMC.CopyManagerCtrlId");

    // ---- Consistency points and FLR ----
    // ?2 is the pair-id list as "1, 2, 3"; an empty or malformed item fails
    // the statement.
    statements.add(
        "YBGetFLRPairPath",
        std::string("WITH RECURSIVE split(item, rest) AS (SELECT NULL, IFNULL(?2, '') || ',' UNION ALL "
                    "SELECT trim(substr(rest, 1, instr(rest, ',') - 1), ' ' || char(9)), substr(rest, instr(rest, ',') + 1) "
                    "FROM split WHERE rest <> ''), "
                    "ids(pairId) AS (SELECT DISTINCT CASE WHEN ") +
            isInteger("item") + " THEN CAST(item AS INTEGER) ELSE " + kFail +
            " END FROM split WHERE item IS NOT NULL) "
            "SELECT R.pairId, R.propType, R.stringVal FROM ids CROSS JOIN DHT_ScReplicationPair R "
            "WHERE R.pairId = ids.pairId AND R.propType IN (10001, 10002) "
            "AND R.created <= ?1 AND (R.modified = 0 OR R.modified >= ?1) "
            "ORDER BY R.pairId ASC, R.propType ASC, R.id ASC");

    statements.add(
        "YBGetFLRSnapsByDestClientId",
        "SELECT DISTINCT S.id, S.ConsistencyPointId, S.Name FROM YBFLRSnapshot S, YBFLRConsistencyPoint CP "
        "WHERE CP.ClientId = ?1 AND S.ConsistencyPointId = CP.id ORDER BY S.Name, S.id");

    // The recovery points of a client by snapshot volume name and by volume
    // GUID. A GUID names one volume: its snapshots are read first, then their
    // points. A volume name (a drive letter, a mount path) is commonly the
    // same on many clients: the client's points are read first.
    const char* const byVolume[][3] = {
        {"YBFLRGetRPByClientIdAndVolName", "YBFLRConsistencyPoint CP CROSS JOIN YBFLRSnapshot S", "SnapVolumeName"},
        {"YBFLRGetRPByClientIdAndVolGuid", "YBFLRSnapshot S CROSS JOIN YBFLRConsistencyPoint CP", "VolumeGUID"}};
    for (const auto& [objectName, tables, column] : byVolume) {
        statements.add(objectName, std::string("SELECT DISTINCT CP.id, CP.CreationTime, S.Name, "
                                               "IFNULL(MP.MountPath, ''), CP.JobId FROM ") +
                                       tables +
                                       " LEFT JOIN YBFLRSnapMountPoint MP ON S.id = MP.SnapshotId "
                                       "WHERE CP.ClientId = ?1 AND S.ConsistencyPointId = CP.id AND S." +
                                       column + " = ?2 AND CP.Type = 1 ORDER BY CP.id");
    }

    statements.add(
        "YBGetFLRPairPathByCPId",
        "SELECT " + pairPath(10001, "SP.PairId", "RP.CreationTime") + ", " +
            pairPath(10002, "SP.PairId", "RP.CreationTime") +
            ", SC.clientId, C.net_hostname, SC.backupSet, BS.Name, RP.ClientId "
            "FROM YBFLRSnapshot S, YBFLRSnapPair SP, YBFLRConsistencyPoint RP, DHT_Application SC, DHT_Client C, "
            "DHT_BackupSetName BS "
            "WHERE RP.id = ?1 AND S.ConsistencyPointId = ?1 AND SP.SnapshotId = S.id AND SP.PairId = SC.id "
            "AND SC.clientId = C.id AND SC.backupSet = BS.id ORDER BY SP.id");

    statements.add(
        "YBQueryFanInLatestRP",
        "SELECT RP.id FROM YBFLRConsistencyPoint RP, YBFLRSnapshot S "
        "WHERE RP.FLRSetId = ?1 AND RP.Type = 1 AND RP.id = S.ConsistencyPointId AND S.VolumeGUID = ?2 "
        "ORDER BY RP.CreationTime DESC, RP.id DESC LIMIT 1");

    // One row per destination recovery point of the client: the name and mount
    // path of its first snapshot.
    statements.add(
        "YBGetAllRPsbyDstClientId",
        "SELECT CP.id, CP.CreationTime, "
        "IFNULL((SELECT S.Name FROM YBFLRSnapshot S WHERE S.ConsistencyPointId = CP.id ORDER BY S.id LIMIT 1), ''), "
        "IFNULL((SELECT M.MountPath FROM YBFLRSnapshot S, YBFLRSnapMountPoint M WHERE S.ConsistencyPointId = CP.id "
        "AND M.SnapshotId = S.id ORDER BY S.id, M.id LIMIT 1), ''), CP.JobId "
        "FROM YBFLRConsistencyPoint CP WHERE CP.ClientId = ?1 AND CP.Type = 1 ORDER BY CP.id");

    // The consistency points holding a pair of a subclient of the client whose
    // application type has the name given.
    statements.add(
        "YBGetCPsBYClientIDAndAppType",
        "SELECT DISTINCT RP.id FROM YBFLRConsistencyPoint RP, YBFLRSnapshot S, YBFLRSnapPair SP, "
        "DHT_Application SC, DHT_AppType T "
        "WHERE S.ConsistencyPointId = RP.id AND SP.SnapshotId = S.id AND SP.PairId = SC.id "
        "AND SC.clientId = ?1 AND T.id = SC.appTypeId AND T.name = ?2 ORDER BY RP.id");

    // ---- Cleanup and job history ----
    statements.add(
        "dhtGetOSType",
        "SELECT C.dhtOperatingSystemId, OS.osName, OS.osRelease, OS.osType, C.net_hostname, C.release "
        "FROM DHT_Client C LEFT JOIN DHT_OperatingSystem OS ON OS.id = C.dhtOperatingSystemId WHERE C.id = ?1");

    statements.add(
        "YBGetYBPrimaryVolByClient",
        "SELECT R.* FROM (SELECT Q.* FROM YBVolume Q, YBPhysicalDevice S "
        "WHERE S.SNRVolumeId = Q.PhysicalVolumeId AND S.ClientId <> ?1) R, YBPhysicalDevice S "
        "WHERE R.PrimaryVolumeId = S.SNRVolumeId AND S.ClientId = ?1 ORDER BY R.id ASC");

    // Names are char(1024): blank-padded to 1024 characters, equal when they
    // differ only in trailing blanks.
    statements.add(
        "YBGetVolumesUsingBlkFilterDriver",
        "WITH F AS (SELECT DISTINCT SC.fileName AS name, A.appTypeId AS t FROM DHT_Application A, DHT_ScFilterFile SC "
        "WHERE A.id = SC.componentNameId AND A.appTypeId IN (65, 76) AND A.subclientStatus = 0 AND A.clientId = ?1 "
        "AND SC.modified = 0), "
        "V(Volume) AS ("
        "SELECT CASE WHEN instr(name, char(19)) = 0 THEN name "
        "ELSE substr(replace(name, char(19), '\\'), 1, instr(name, char(19))) END FROM F WHERE t = 65 "
        "UNION ALL "
        "SELECT substr(name, 1, instr(name, char(21)) - 1) FROM F WHERE t = 76 AND instr(name, char(21)) > 0 "
        "UNION ALL "
        "SELECT D.DeviceName FROM DHT_Application A, DHT_ScFilterFile SC, YBPhysicalDevice D, YBPhysicalVolume PV "
        "WHERE A.id = SC.componentNameId AND A.appTypeId = 47 AND A.subclientStatus = 0 AND A.clientId = ?1 "
        "AND SC.modified = 0 AND instr(SC.fileName, char(21)) > 0 "
        "AND " + isInteger("trim(substr(SC.fileName, 1, instr(SC.fileName, char(21)) - 1))") +
        " AND D.SNRVolumeId = CAST(trim(substr(SC.fileName, 1, instr(SC.fileName, char(21)) - 1)) AS INTEGER) "
        "AND D.SNRVolumeId = PV.id AND PV.Type = 1) "
        "SELECT DISTINCT substr(printf('%-1024s', rtrim(Volume, ' ')), 1, 1024) COLLATE NOCASE AS Volume "
        "FROM V ORDER BY 1");

    statements.add(
        "YBQueryMountedSnapsByClientId",
        "SELECT S.DeviceName, D.DeviceName, M.Path, M.id, Q.SnapEngineType "
        "FROM YBVolume Q, YBPhysicalDevice D, YBMountPoint M, (SELECT SNRVolumeId, DeviceName FROM YBPhysicalDevice) S "
        "WHERE Q.SnapEngineType = 1 AND Q.CurrentRole = 5 AND Q.PhysicalVolumeId = D.SNRVolumeId "
        "AND Q.SnapVolumeId = S.SNRVolumeId AND D.ClientId = ?1 AND M.DeviceNameId = D.id AND (M.Flags & 2) = 0 "
        "ORDER BY M.id");

    statements.add(
        "YBQueryMountedFLRSnapsByClientId",
        "SELECT S.VolumeGUID, S.Name, S.Type, M.MountPath, M.id, IFNULL(N.id, -1), IFNULL(N.NetShareName, ' '), "
        "IFNULL(S.SnapshotPath, ' ') "
        "FROM YBFLRSnapshot S, YBFLRConsistencyPoint CP, YBFLRSnapMountPoint M "
        "LEFT JOIN YBFLRSnapNetworkShare N ON N.MountPointId = M.id "
        "WHERE M.SnapshotId = S.id AND S.ConsistencyPointId = CP.id AND CP.ClientId = ?1 ORDER BY M.id, N.id");

    // The jobs of an instance (?1 client, ?2 application type code, ?3
    // instance name), oldest first.
    statements.add(
        "YB_GetJobListForYBSAPOracle",
        "SELECT J.JobId, J.CreationTime FROM YBSAPOracleJob J "
        "WHERE J.ClientId = ?1 AND J.AppTypeId = ?2 AND J.InstanceName = ?3 ORDER BY J.CreationTime, J.JobId");

    // The volume pairs that job ?4 of the instance copied (every job of the
    // instance for job id 0), rows of one job together.
    statements.add(
        "YB_GetJobDetailsForYBSAPOracle",
        "SELECT J.JobId, H.SrcVolId, H.DstVolId, " + volumeMountPath("H.SrcVolId", "H.SrcClientId") + ", " +
            volumeMountPath("H.DstVolId", "H.DstClientId") +
            " FROM YBSAPOracleJob J, YBJobVolumeHistory H "
            "WHERE J.ClientId = ?1 AND J.AppTypeId = ?2 AND J.InstanceName = ?3 AND (?4 = 0 OR J.JobId = ?4) "
            "AND H.JobId = J.JobId ORDER BY J.JobId, H.id");
}

