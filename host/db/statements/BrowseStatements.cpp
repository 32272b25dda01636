// Statements of the catalogue run for the browse cursors (by client, by NAS
// client and by policy). Arguments are bound as ?1.
//
// The browse tables. The management database keeps one browse table per view
// for all of its connections: the first step drops a table left behind by an
// earlier run, creates a new one, fills it and returns its rows; the later
// steps read it; the last step drops it. Here they are ordinary tables of the
// catalogue, so every connection sees the same one (the browse table locks
// serialise their users), and a later step run without a table fails with
// "no such table" instead of returning nothing.
//
// The text columns of the browse table come back without trailing blanks, as
// the database's fixed-width columns are read. Id texts converted to integers
// (the client id inside a NAS device name, the volume and user application
// ids inside a filter file name) match only when they are decimal digits, with
// blanks around them at most; a name of any other form simply does not match.
#include <string>

#include "host/db/statements/CatalogueStatements.h"

namespace
{

const char* const kClientTable = "YBBrowseByClientTmp";
const char* const kPolicyTable = "YBBrowseByPolicyTmp";

// The text value of TEXT as an integer when it is a decimal number of at most
// ten digits with blanks around it at most; NULL otherwise.
std::string integerForm(const std::string& text)
{
    const std::string t = "trim(" + text + ")";
    return "(CASE WHEN " + t + " <> '' AND " + t + " NOT GLOB '*[^0-9]*' AND length(" + t + ") <= 10 THEN CAST(" + t +
           " AS INTEGER) END)";
}

// A kind-7 directory A of browse row T names user application UA through the
// filter file F of its subclient: "<primary volume id>" char(21) "<UA id>".
std::string userApplicationMatch()
{
    const std::string split = "instr(F.fileName, char(21))";
    return "F.componentNameId = A.subclientId AND F.modified = 0 AND " + split + " > 0 AND " +
           integerForm("substr(F.fileName, 1, " + split + " - 1)") + " = T.PrimaryVolumeId AND " +
           integerForm("substr(F.fileName, " + split + " + 1)") + " = UA.id";
}

// Marks a browse row whose kind-7 directory names more than one user
// application; the browse table's check refuses it, failing the step as the
// database does for a subquery with more than one value.
const char* const kAmbiguousMark = "char(1)";

std::string createTable(const std::string& table)
{
    return "CREATE TABLE " + table +
           " (id INTEGER PRIMARY KEY, PointInTime INTEGER, CreationTime INTEGER, ModifyTime INTEGER, "
           "CurrentState INTEGER, CurrentRole INTEGER, PrimaryVolumeId INTEGER, PhysicalVolumeId INTEGER, "
           "ReplicationPolicyId INTEGER, RVScratchVolumeId INTEGER, Flags INTEGER, JobId INTEGER, "
           "SnapVolumeId INTEGER, SnapEngineType INTEGER, SnapvaultReplicaDir TEXT COLLATE NOCASE, "
           "SourceGUID TEXT COLLATE NOCASE, AppName TEXT COLLATE NOCASE "
           "CONSTRAINT \"subquery returned more than one user application\" CHECK (AppName IS NULL OR AppName <> " +
           std::string(kAmbiguousMark) + "))";
}

// The distinct replication volumes of FROM_WHERE (over YBVolume Q) into the
// browse table.
std::string fillTable(const std::string& table, const std::string& fromWhere)
{
    return "INSERT INTO " + table +
           " (id, PointInTime, CreationTime, ModifyTime, CurrentState, CurrentRole, PrimaryVolumeId, "
           "PhysicalVolumeId, ReplicationPolicyId, RVScratchVolumeId, Flags, JobId, SnapVolumeId, SnapEngineType, "
           "SnapvaultReplicaDir, SourceGUID) "
           "SELECT DISTINCT Q.id, Q.PointInTime, Q.CreationTime, Q.ModifyTime, Q.CurrentState, Q.CurrentRole, "
           "Q.PrimaryVolumeId, Q.PhysicalVolumeId, Q.ReplicationPolicyId, Q.RVScratchVolumeId, Q.Flags, Q.JobId, "
           "Q.SnapVolumeId, Q.SnapEngineType, rtrim(Q.SnapvaultReplicaDir, ' '), rtrim(Q.SourceGUID, ' ') " +
           fromWhere;
}

// Names the application of every browse row with directories, from the
// directory with the lowest id: by kind = pathType / 2^25, NAMES[kind] for
// kinds 0 to 6, the user application for kind 7, else "Unknown Application".
std::string nameApplications(const std::string& table, const char* const (&names)[7])
{
    const std::string match = userApplicationMatch();
    std::string kindCase = "CASE A.pathType / 33554432";
    for (int kind = 0; kind < 7; ++kind) kindCase += " WHEN " + std::to_string(kind) + " THEN '" + names[kind] + "'";
    kindCase += " WHEN 7 THEN (SELECT UA.ApplicationName FROM YBUserApplicationDef UA, DHT_ScFilterFile F WHERE " +
                match + ") ELSE 'Unknown Application' END";
    return "UPDATE " + table +
           " AS T SET AppName = CASE WHEN EXISTS (SELECT 1 FROM YBApplicationDirs A WHERE A.ReplicationVolumeId = "
           "T.id AND A.pathType / 33554432 = 7 AND (SELECT COUNT(*) FROM YBUserApplicationDef UA, DHT_ScFilterFile "
           "F WHERE " +
           match + ") > 1) THEN " + kAmbiguousMark + " ELSE (SELECT rtrim(" + kindCase +
           ", ' ') FROM YBApplicationDirs A WHERE A.ReplicationVolumeId = T.id ORDER BY A.id LIMIT 1) END "
           "WHERE EXISTS (SELECT 1 FROM YBApplicationDirs A WHERE A.ReplicationVolumeId = T.id)";
}

const char* const kClientNames[7] = {"Exchange",       "Exchange",        "SQL Server", "SQL Server",
                                     "Notes Database", "Oracle Database", "Exchange"};
const char* const kPolicyNames[7] = {"Exchange Database",     "Exchange 2000 Database", "SQL Server",
                                     "SQL Server 2000",       "Notes Database",         "Oracle Database",
                                     "Exchange 2003 Database"};

std::string firstStep(const std::string& table, const std::string& fromWhere, const char* const (&names)[7])
{
    return "DROP TABLE IF EXISTS " + table + "; " + createTable(table) + "; " + fillTable(table, fromWhere) + "; " +
           nameApplications(table, names) + "; SELECT * FROM " + table + " ORDER BY id";
}

// The rows of the later steps, each once.
std::string volumeStep(const std::string& table)
{
    return "SELECT DISTINCT V.* FROM " + table +
           " TmpTbl, YBPhysicalVolume V WHERE (TmpTbl.PrimaryVolumeId = V.id OR TmpTbl.PhysicalVolumeId = V.id) "
           "ORDER BY V.id";
}

std::string deviceStep(const std::string& table)
{
    return "SELECT DISTINCT D.* FROM " + table +
           " TmpTbl, YBPhysicalDevice D WHERE (D.SNRVolumeId = TmpTbl.PrimaryVolumeId OR D.SNRVolumeId = "
           "TmpTbl.PhysicalVolumeId) ORDER BY D.id";
}

// The scratch volumes and mount points are looked up by the keys the browse
// table yields (IN), so that they are found through their indexes: as a join,
// the browse table (of unknown size to the planner) would make it read all
// of YBScratchVolume, or index all of YBMountPoint anew, on every browse.
std::string scratchStep(const std::string& table)
{
    return "SELECT SV.* FROM YBScratchVolume SV WHERE SV.PhysicalVolumeId IN (SELECT TmpTbl.PhysicalVolumeId FROM " +
           table + " TmpTbl) ORDER BY SV.id";
}

// The mount points are kept in a table of the connection while the browse
// table is dropped, then handed out and removed in one statement.
std::string mountPointStep(const std::string& table)
{
    const std::string kept = "temp." + table + "MountPoints";
    return "DROP TABLE IF EXISTS " + kept + "; CREATE TABLE " + kept +
           " AS SELECT M.* FROM YBMountPoint M WHERE M.DeviceNameId IN (SELECT D.id FROM " + table +
           " TmpTbl, YBPhysicalDevice D WHERE TmpTbl.PhysicalVolumeId = D.SNRVolumeId OR "
           "TmpTbl.PrimaryVolumeId = D.SNRVolumeId) ORDER BY M.id; DROP TABLE " +
           table + "; DELETE FROM " + kept + " RETURNING *";
}

}  // namespace

void RegisterBrowseStatements(DBStatementSet& statements)
{
    const std::string clientTable = kClientTable;
    const std::string policyTable = kPolicyTable;

    statements.add(
        "YBBrowseByClient1",
        firstStep(clientTable,
                  "FROM YBVolume Q, YBPhysicalDevice D WHERE D.ClientId = ?1 AND D.SNRVolumeId = Q.PrimaryVolumeId",
                  kClientNames));
    // A NAS client's devices: "client", the client id, ":" and the rest.
    // The index IX_YBPhysicalDevice_NASClientId holds this condition and
    // this client id expression, written alike: change them together.
    statements.add(
        "YBNASBrowseByClient1",
        firstStep(clientTable,
                  "FROM YBVolume Q, YBPhysicalDevice D WHERE substr(D.DeviceName, 1, 6) = 'client' COLLATE "
                  "NOCASE AND instr(D.DeviceName, ':') > 7 AND " +
                      integerForm("substr(D.DeviceName, 7, instr(D.DeviceName, ':') - 7)") +
                      " = ?1 AND D.SNRVolumeId = Q.PrimaryVolumeId",
                  kPolicyNames));
    statements.add(
        "YBBrowseByPolicy1",
        firstStep(policyTable, "FROM YBVolume Q WHERE Q.ReplicationPolicyId = ?1", kPolicyNames));

    statements.add("YBBrowseByClient2", volumeStep(clientTable));
    statements.add("YBBrowseByClient3", deviceStep(clientTable));
    statements.add("YBBrowseByClient4", scratchStep(clientTable));
    statements.add("YBBrowseByClient5", mountPointStep(clientTable));
    statements.add("YBBrowseByPolicy2", volumeStep(policyTable));
    statements.add("YBBrowseByPolicy3", deviceStep(policyTable));
    statements.add("YBBrowseByPolicy4", scratchStep(policyTable));
    statements.add("YBBrowseByPolicy5", mountPointStep(policyTable));
}
