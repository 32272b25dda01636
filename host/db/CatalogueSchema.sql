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
