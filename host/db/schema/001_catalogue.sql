-- Replication catalogue. Columns stand in the order the queries' "*" returns
-- them. Texts compare without regard to case; identities are never reused.
-- Every statement is idempotent: the schema runs on each open.

-- SNR volumes
CREATE TABLE IF NOT EXISTS YBPhysicalVolume (
    id               INTEGER PRIMARY KEY AUTOINCREMENT,
    UniqueId         VARCHAR(256) COLLATE NOCASE DEFAULT '',
    UniqueIdType     INTEGER DEFAULT 0,
    LUN              INTEGER DEFAULT 0,
    StartLBA         BIGINT DEFAULT 0,
    BlockCount       BIGINT DEFAULT 0,
    BlockSize        INTEGER DEFAULT 0,
    Flags            INTEGER DEFAULT 0,
    FSType           VARCHAR(128) COLLATE NOCASE DEFAULT '',
    UniqueSnapshotID VARCHAR(2048) COLLATE NOCASE DEFAULT '',
    ApplianceId      INTEGER DEFAULT 0,
    TzState          INTEGER DEFAULT 0,
    CostCategoryId   INTEGER DEFAULT 0,
    Type             INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_YBPhysicalVolume_UniqueId ON YBPhysicalVolume (UniqueId);
CREATE INDEX IF NOT EXISTS IX_YBPhysicalVolume_UniqueSnapshotID ON YBPhysicalVolume (UniqueSnapshotID);
CREATE INDEX IF NOT EXISTS IX_YBPhysicalVolume_ApplianceId ON YBPhysicalVolume (ApplianceId);

-- SNR devices: one client's access to an SNR volume under a device name
CREATE TABLE IF NOT EXISTS YBPhysicalDevice (
    id               INTEGER PRIMARY KEY AUTOINCREMENT,
    ClientId         INTEGER DEFAULT 0,
    SNRVolumeId      INTEGER DEFAULT 0,
    DeviceName       VARCHAR(1024) COLLATE NOCASE DEFAULT '',
    Flags            INTEGER DEFAULT 0,
    OSDeviceName     VARCHAR(1024) COLLATE NOCASE DEFAULT '',
    AccessPath       VARCHAR(128) COLLATE NOCASE DEFAULT '',
    FilerClientId    INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_YBPhysicalDevice_ClientId ON YBPhysicalDevice (ClientId);
CREATE INDEX IF NOT EXISTS IX_YBPhysicalDevice_SNRVolumeId ON YBPhysicalDevice (SNRVolumeId);
CREATE INDEX IF NOT EXISTS IX_YBPhysicalDevice_DeviceName ON YBPhysicalDevice (DeviceName);

-- Mount points of devices
CREATE TABLE IF NOT EXISTS YBMountPoint (
    id               INTEGER PRIMARY KEY AUTOINCREMENT,
    DeviceNameId     INTEGER DEFAULT 0,
    Path             VARCHAR(1024) COLLATE NOCASE DEFAULT '',
    Flags            INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_YBMountPoint_DeviceNameId ON YBMountPoint (DeviceNameId);
CREATE INDEX IF NOT EXISTS IX_YBMountPoint_Path ON YBMountPoint (Path);

-- Global history names of protected volumes, at most one per device
CREATE TABLE IF NOT EXISTS YBTzHistoryName (
    DeviceId          INTEGER PRIMARY KEY,
    GlobalHistoryName VARCHAR(1024) COLLATE NOCASE DEFAULT '',
    Flags             INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_YBTzHistoryName_Name ON YBTzHistoryName (GlobalHistoryName);

-- Replication volumes
CREATE TABLE IF NOT EXISTS YBVolume (
    id                  INTEGER PRIMARY KEY AUTOINCREMENT,
    PointInTime         INTEGER DEFAULT 0,
    CreationTime        INTEGER DEFAULT 0,
    ModifyTime          INTEGER DEFAULT 0,
    CurrentState        INTEGER DEFAULT 0,
    CurrentRole         INTEGER DEFAULT 0,
    PrimaryVolumeId     INTEGER DEFAULT 0,
    PhysicalVolumeId    INTEGER DEFAULT 0,
    ReplicationPolicyId INTEGER DEFAULT 0,
    RVScratchVolumeId   INTEGER DEFAULT 0,
    Flags               INTEGER DEFAULT 0,
    JobId               INTEGER DEFAULT 0,
    SnapVolumeId        INTEGER DEFAULT 0,
    SnapEngineType      INTEGER DEFAULT 0,
    SnapvaultReplicaDir VARCHAR(1024) COLLATE NOCASE DEFAULT '',
    SourceGUID          VARCHAR(256) COLLATE NOCASE DEFAULT ''
);
CREATE INDEX IF NOT EXISTS IX_YBVolume_PhysicalVolumeId ON YBVolume (PhysicalVolumeId);
CREATE INDEX IF NOT EXISTS IX_YBVolume_PrimaryVolumeId ON YBVolume (PrimaryVolumeId);
CREATE INDEX IF NOT EXISTS IX_YBVolume_SnapVolumeId ON YBVolume (SnapVolumeId);
CREATE INDEX IF NOT EXISTS IX_YBVolume_ReplicationPolicyId ON YBVolume (ReplicationPolicyId);
CREATE INDEX IF NOT EXISTS IX_YBVolume_RVScratchVolumeId ON YBVolume (RVScratchVolumeId);
CREATE INDEX IF NOT EXISTS IX_YBVolume_JobId ON YBVolume (JobId);

-- Scratch volumes
CREATE TABLE IF NOT EXISTS YBScratchVolume (
    id                    INTEGER PRIMARY KEY AUTOINCREMENT,
    PhysicalVolumeId      INTEGER DEFAULT 0,
    RVScratchVolumePoolId INTEGER DEFAULT 0,
    Flags                 INTEGER DEFAULT 0,
    LockedByJobId         INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_YBScratchVolume_PhysicalVolumeId ON YBScratchVolume (PhysicalVolumeId);
CREATE INDEX IF NOT EXISTS IX_YBScratchVolume_PoolId ON YBScratchVolume (RVScratchVolumePoolId);
CREATE INDEX IF NOT EXISTS IX_YBScratchVolume_LockedByJobId ON YBScratchVolume (LockedByJobId);

-- Application directories held by replication volumes
CREATE TABLE IF NOT EXISTS YBApplicationDirs (
    id                  INTEGER PRIMARY KEY AUTOINCREMENT,
    subclientId         INTEGER DEFAULT 0,
    clientId            INTEGER DEFAULT 0,
    pathType            INTEGER DEFAULT 0,
    objName             VARCHAR(2048) COLLATE NOCASE DEFAULT '',
    path                VARCHAR(2048) COLLATE NOCASE DEFAULT '',
    creationTime        INTEGER DEFAULT 0,
    modifyTime          INTEGER DEFAULT 0,
    ReplicationVolumeId INTEGER DEFAULT 0,
    Flags               INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_YBApplicationDirs_ReplicationVolumeId ON YBApplicationDirs (ReplicationVolumeId);
CREATE INDEX IF NOT EXISTS IX_YBApplicationDirs_subclientId ON YBApplicationDirs (subclientId);

-- ---- Browse views: user application definitions and subclient filter files ----

-- User application definitions
CREATE TABLE IF NOT EXISTS YBUserApplicationDef (
    id              INTEGER PRIMARY KEY AUTOINCREMENT,
    ClientId        INTEGER DEFAULT 0,
    ApplicationName VARCHAR(256) COLLATE NOCASE DEFAULT '',
    AppTag          VARCHAR(32) COLLATE NOCASE DEFAULT '',
    SuspendScript   VARCHAR(512) COLLATE NOCASE DEFAULT '',
    ResumeScript    VARCHAR(512) COLLATE NOCASE DEFAULT ''
);
CREATE INDEX IF NOT EXISTS IX_YBUserApplicationDef_ClientId ON YBUserApplicationDef (ClientId);

-- Filter file entries of subclients (host table); modified 0 marks the
-- current entry
CREATE TABLE IF NOT EXISTS DHT_ScFilterFile (
    id              INTEGER PRIMARY KEY AUTOINCREMENT,
    componentNameId INTEGER DEFAULT 0,
    fileName        VARCHAR(1024) COLLATE NOCASE DEFAULT '',
    Type            INTEGER DEFAULT 0,
    modified        INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_DHT_ScFilterFile_componentNameId ON DHT_ScFilterFile (componentNameId);
-- ---- end of browse views block ----

-- ---- Scratch pools, subclient links and job volume history -----------------

-- Scratch volume pools; the members are the YBScratchVolume rows naming the pool
CREATE TABLE IF NOT EXISTS YBScratchPool (
    id               INTEGER PRIMARY KEY AUTOINCREMENT,
    TotalVolumes     INTEGER DEFAULT 0,
    AvailableVolumes INTEGER DEFAULT 0,
    name             VARCHAR(128) COLLATE NOCASE DEFAULT '',
    Reserved         INTEGER DEFAULT 0,
    SnapEngineInfoId INTEGER DEFAULT 0,
    Type             INTEGER DEFAULT 1
);
CREATE INDEX IF NOT EXISTS IX_YBScratchPool_name ON YBScratchPool (name);

-- Replication volumes of a subclient
CREATE TABLE IF NOT EXISTS YBSubclientYBVolumes (
    id               INTEGER PRIMARY KEY AUTOINCREMENT,
    Scid             INTEGER DEFAULT 0,
    YBVolumeId       INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_YBSubclientYBVolumes_Scid ON YBSubclientYBVolumes (Scid);
CREATE INDEX IF NOT EXISTS IX_YBSubclientYBVolumes_YBVolumeId ON YBSubclientYBVolumes (YBVolumeId);

-- Job volume history: which source SNR volume a replication job copied to
-- which destination SNR volume, one entry per (job, source volume). Only the
-- low half of the job id is written (JobId_l); JobId_h stays 0 unless set, and
-- JobId is the job id the two halves make. YBPruneJobHistory, run at the end of
-- each retention pass, removes every entry whose source or destination SNR
-- volume (SrcVolId, DstVolId) no longer has a YBPhysicalVolume row.
CREATE TABLE IF NOT EXISTS YBJobVolumeHistory (
    id                INTEGER PRIMARY KEY AUTOINCREMENT,
    JobId_l           INTEGER DEFAULT 0,
    CellId            INTEGER DEFAULT 0,
    SrcVolId          INTEGER DEFAULT 0,
    SrcClientId       INTEGER DEFAULT 0,
    SrcClientName     VARCHAR(255) COLLATE NOCASE DEFAULT '',
    SrcBlockCount     BIGINT DEFAULT 0,
    SrcBlockSize      INTEGER DEFAULT 0,
    SrcDeviceName     VARCHAR(1024) COLLATE NOCASE DEFAULT '',
    DstVolId          INTEGER DEFAULT 0,
    DstClientId       INTEGER DEFAULT 0,
    DstClientName     VARCHAR(255) COLLATE NOCASE DEFAULT '',
    DstBlockCount     BIGINT DEFAULT 0,
    DstBlockSize      INTEGER DEFAULT 0,
    DstDeviceName     VARCHAR(1024) COLLATE NOCASE DEFAULT '',
    DstCostCategoryId INTEGER DEFAULT 0,
    FurtherNumber1    INTEGER DEFAULT 0,
    FurtherNumber2    BIGINT DEFAULT 0,
    JobId_h           INTEGER DEFAULT 0,
    JobId             BIGINT GENERATED ALWAYS AS (JobId_h * 4294967296 + (JobId_l & 4294967295)) VIRTUAL,
    CopyMgrType       INTEGER DEFAULT 1,
    SpaceUsed         BIGINT DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_YBJobVolumeHistory_JobId_l ON YBJobVolumeHistory (JobId_l);
CREATE INDEX IF NOT EXISTS IX_YBJobVolumeHistory_SrcVolId ON YBJobVolumeHistory (SrcVolId);
CREATE INDEX IF NOT EXISTS IX_YBJobVolumeHistory_DstVolId ON YBJobVolumeHistory (DstVolId);

-- ---- Files, policies, appliances, FLR consistency points, jobs and host tables ----

-- Product files stored per volume
CREATE TABLE IF NOT EXISTS YBFile (
    id       INTEGER PRIMARY KEY AUTOINCREMENT,
    VolumeId INTEGER DEFAULT 0,
    Name     VARCHAR(1024) COLLATE NOCASE DEFAULT '',
    Content  TEXT COLLATE NOCASE,
    Flags    INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_YBFile_VolumeId ON YBFile (VolumeId);
CREATE INDEX IF NOT EXISTS IX_YBFile_Name ON YBFile (Name);

-- Replication policies
CREATE TABLE IF NOT EXISTS YBPolicy (
    id                  INTEGER PRIMARY KEY AUTOINCREMENT,
    name                VARCHAR(128) COLLATE NOCASE DEFAULT '',
    RetentionSeconds    INTEGER DEFAULT 0,
    Flags               INTEGER DEFAULT 0,
    CopyMgrCtrlId       INTEGER DEFAULT 0,
    SnapEngineInfoId    INTEGER DEFAULT 0,
    VolumeScratchPoolId INTEGER DEFAULT 0,
    NSnapshot           INTEGER DEFAULT 0,
    CopyManagerType     INTEGER DEFAULT 0
);

-- Appliances that devices refer to
CREATE TABLE IF NOT EXISTS YBDevice (
    id       INTEGER PRIMARY KEY AUTOINCREMENT,
    Name     VARCHAR(256) COLLATE NOCASE DEFAULT '',
    Reserved INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_YBDevice_Name ON YBDevice (Name);

-- FLR consistency (recovery) points; Type 1 is a destination-machine point
CREATE TABLE IF NOT EXISTS YBFLRConsistencyPoint (
    id           INTEGER PRIMARY KEY AUTOINCREMENT,
    CreationTime INTEGER DEFAULT 0,
    FLRSetId     INTEGER DEFAULT 0,
    JobId        INTEGER DEFAULT 0,
    Flags        INTEGER DEFAULT 0,
    ClientId     INTEGER DEFAULT 0,
    TallmarkId   INTEGER DEFAULT 0,
    SrcClientId  INTEGER DEFAULT 0,
    Type         INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_YBFLRConsistencyPoint_ClientId ON YBFLRConsistencyPoint (ClientId);
CREATE INDEX IF NOT EXISTS IX_YBFLRConsistencyPoint_FLRSetId ON YBFLRConsistencyPoint (FLRSetId);
CREATE INDEX IF NOT EXISTS IX_YBFLRConsistencyPoint_JobId ON YBFLRConsistencyPoint (JobId);

-- FLR snapshots of consistency points
CREATE TABLE IF NOT EXISTS YBFLRSnapshot (
    id                 INTEGER PRIMARY KEY AUTOINCREMENT,
    ConsistencyPointId INTEGER DEFAULT 0,
    Name               VARCHAR(128) COLLATE NOCASE DEFAULT '',
    SnapVolumeName     VARCHAR(1024) COLLATE NOCASE DEFAULT '',
    VolumeGUID         VARCHAR(1024) COLLATE NOCASE DEFAULT '',
    CreationTime       INTEGER DEFAULT 0,
    Reserved           INTEGER DEFAULT 0,
    Type               INTEGER DEFAULT 1,
    SnapshotPath       VARCHAR(1024) COLLATE NOCASE DEFAULT '',
    AuxValue           INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_YBFLRSnapshot_ConsistencyPointId ON YBFLRSnapshot (ConsistencyPointId);
CREATE INDEX IF NOT EXISTS IX_YBFLRSnapshot_VolumeGUID ON YBFLRSnapshot (VolumeGUID);

-- Snapshot to replication pair (subclient) associations
CREATE TABLE IF NOT EXISTS YBFLRSnapPair (
    id         INTEGER PRIMARY KEY AUTOINCREMENT,
    SnapshotId INTEGER DEFAULT 0,
    PairId     INTEGER DEFAULT 0,
    Reserved   INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_YBFLRSnapPair_SnapshotId ON YBFLRSnapPair (SnapshotId);
CREATE INDEX IF NOT EXISTS IX_YBFLRSnapPair_PairId ON YBFLRSnapPair (PairId);

-- Mount points of FLR snapshots
CREATE TABLE IF NOT EXISTS YBFLRSnapMountPoint (
    id         INTEGER PRIMARY KEY AUTOINCREMENT,
    SnapshotId INTEGER DEFAULT 0,
    MountPath  VARCHAR(1024) COLLATE NOCASE DEFAULT '',
    Reserved   INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_YBFLRSnapMountPoint_SnapshotId ON YBFLRSnapMountPoint (SnapshotId);

-- Network shares of FLR snapshot mount points
CREATE TABLE IF NOT EXISTS YBFLRSnapNetworkShare (
    id           INTEGER PRIMARY KEY AUTOINCREMENT,
    MountPointId INTEGER DEFAULT 0,
    NetShareName VARCHAR(1024) COLLATE NOCASE DEFAULT '',
    Reserved     INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_YBFLRSnapNetworkShare_MountPointId ON YBFLRSnapNetworkShare (MountPointId);

-- Running jobs: a job has a row while it runs
CREATE TABLE IF NOT EXISTS JCJobInfo (
    JobId        BIGINT PRIMARY KEY,
    state        INTEGER DEFAULT 0,
    clientId     INTEGER DEFAULT 0,
    appTypeId    INTEGER DEFAULT 0,
    creationTime INTEGER DEFAULT 0
);

-- SAP/Oracle instance jobs: which job served which instance of a client
-- (application type code as the job views pass it)
CREATE TABLE IF NOT EXISTS YBSAPOracleJob (
    JobId        BIGINT PRIMARY KEY,
    ClientId     INTEGER DEFAULT 0,
    AppTypeId    INTEGER DEFAULT 0,
    InstanceName VARCHAR(256) COLLATE NOCASE DEFAULT '',
    CreationTime INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_YBSAPOracleJob_ClientId ON YBSAPOracleJob (ClientId);

-- Copy managers and their controllers
CREATE TABLE IF NOT EXISTS DHCopyManager (
    CopyManagerId   INTEGER PRIMARY KEY AUTOINCREMENT,
    CopyMgrName     VARCHAR(256) COLLATE NOCASE DEFAULT '',
    CopyManagerType INTEGER DEFAULT 0
);
CREATE TABLE IF NOT EXISTS DHCopyManagerCtrl (
    CopyManagerCtrlId INTEGER PRIMARY KEY AUTOINCREMENT,
    CopyManagerId     INTEGER DEFAULT 0,
    ClientId          INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_DHCopyManagerCtrl_CopyManagerId ON DHCopyManagerCtrl (CopyManagerId);

-- Operating systems of clients
CREATE TABLE IF NOT EXISTS DHT_OperatingSystem (
    id        INTEGER PRIMARY KEY,
    osName    VARCHAR(64) COLLATE NOCASE DEFAULT '',
    osRelease VARCHAR(64) COLLATE NOCASE DEFAULT '',
    osType    VARCHAR(64) COLLATE NOCASE DEFAULT ''
);

-- Application types and their names
CREATE TABLE IF NOT EXISTS DHT_AppType (
    id   INTEGER PRIMARY KEY,
    name VARCHAR(128) COLLATE NOCASE DEFAULT ''
);

-- Host clients
CREATE TABLE IF NOT EXISTS DHT_Client (
    id                   INTEGER PRIMARY KEY AUTOINCREMENT,
    name                 VARCHAR(255) COLLATE NOCASE DEFAULT '',
    net_hostname         VARCHAR(255) COLLATE NOCASE DEFAULT '',
    status               INTEGER DEFAULT 0,
    dhtOperatingSystemId INTEGER DEFAULT 0,
    release              VARCHAR(255) COLLATE NOCASE DEFAULT ''
);

-- Client properties; modified 0 marks the current value
CREATE TABLE IF NOT EXISTS DHT_ClientProp (
    id              INTEGER PRIMARY KEY AUTOINCREMENT,
    componentNameId INTEGER DEFAULT 0,
    attrName        VARCHAR(128) COLLATE NOCASE DEFAULT '',
    attrVal         VARCHAR(1024) COLLATE NOCASE DEFAULT '',
    modified        INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_DHT_ClientProp_componentNameId ON DHT_ClientProp (componentNameId);

-- Platforms of clients
CREATE TABLE IF NOT EXISTS DHT_Platform (
    id           INTEGER PRIMARY KEY AUTOINCREMENT,
    clientId     INTEGER DEFAULT 0,
    platformType INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_DHT_Platform_clientId ON DHT_Platform (clientId);

-- Agents installed on clients
CREATE TABLE IF NOT EXISTS DHT_AgtName (
    id        INTEGER PRIMARY KEY AUTOINCREMENT,
    ClientId  INTEGER DEFAULT 0,
    appTypeId INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_DHT_AgtName_ClientId ON DHT_AgtName (ClientId);

-- Subclients
CREATE TABLE IF NOT EXISTS DHT_Application (
    id              INTEGER PRIMARY KEY AUTOINCREMENT,
    clientId        INTEGER DEFAULT 0,
    appTypeId       INTEGER DEFAULT 0,
    backupSet       INTEGER DEFAULT 0,
    subclientName   VARCHAR(128) COLLATE NOCASE DEFAULT '',
    subclientStatus INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_DHT_Application_clientId ON DHT_Application (clientId);
CREATE INDEX IF NOT EXISTS IX_DHT_Application_backupSet ON DHT_Application (backupSet);

-- Subclient properties; modified 0 marks the current value
CREATE TABLE IF NOT EXISTS DHT_SubClientProp (
    id              INTEGER PRIMARY KEY AUTOINCREMENT,
    componentNameId INTEGER DEFAULT 0,
    attrName        VARCHAR(128) COLLATE NOCASE DEFAULT '',
    attrVal         VARCHAR(1024) COLLATE NOCASE DEFAULT '',
    modified        INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_DHT_SubClientProp_componentNameId ON DHT_SubClientProp (componentNameId);

-- Path properties of replication pairs, valid from created until modified
-- (0 while current); propType 10001 the source path, 10002 the destination
CREATE TABLE IF NOT EXISTS DHT_ScReplicationPair (
    id        INTEGER PRIMARY KEY AUTOINCREMENT,
    pairId    INTEGER DEFAULT 0,
    propType  INTEGER DEFAULT 0,
    stringVal VARCHAR(1024) COLLATE NOCASE DEFAULT '',
    created   INTEGER DEFAULT 0,
    modified  INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_DHT_ScReplicationPair_pairId ON DHT_ScReplicationPair (pairId);

-- Backup set (replication set) names
CREATE TABLE IF NOT EXISTS DHT_BackupSetName (
    id   INTEGER PRIMARY KEY AUTOINCREMENT,
    Name VARCHAR(128) COLLATE NOCASE DEFAULT ''
);
-- ---- end of files, policies, FLR, jobs and host tables block ----
