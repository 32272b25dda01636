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
