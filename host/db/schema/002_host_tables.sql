-- Snap engines and volume snap parameters, the indexes the entity tables' lookups
-- lacked, and the configuration of clients, replication sets and subclients
-- that the configuration objects read.

-- Snap engines and their command hints
CREATE TABLE IF NOT EXISTS YBSnapEngineInfo (
    id              INTEGER PRIMARY KEY AUTOINCREMENT,
    name            VARCHAR(128) COLLATE NOCASE DEFAULT '',
    Flags           INTEGER DEFAULT 0,
    MountCmdHint    VARCHAR(256) COLLATE NOCASE DEFAULT '',
    UnmountCmdHint  VARCHAR(256) COLLATE NOCASE DEFAULT '',
    SyncCmdHint     VARCHAR(256) COLLATE NOCASE DEFAULT '',
    UnsyncCmdHint   VARCHAR(256) COLLATE NOCASE DEFAULT '',
    SnapCmdHint     VARCHAR(256) COLLATE NOCASE DEFAULT '',
    UnsnapCmdHint   VARCHAR(256) COLLATE NOCASE DEFAULT '',
    OsType          INTEGER DEFAULT 0,
    Type            INTEGER DEFAULT 0,
    RollbackCmdHint VARCHAR(256) COLLATE NOCASE DEFAULT ''
);
CREATE INDEX IF NOT EXISTS IX_YBSnapEngineInfo_name ON YBSnapEngineInfo (name);
CREATE INDEX IF NOT EXISTS IX_YBSnapEngineInfo_Type ON YBSnapEngineInfo (Type);

-- Snap parameters of SNR volumes, one row per volume
CREATE TABLE IF NOT EXISTS YBVolSnapParams (
    SNRVolumeId   INTEGER PRIMARY KEY,
    SnapEngineId  INTEGER DEFAULT 0,
    MountClientId INTEGER DEFAULT 0,
    MountCmd      VARCHAR(256) COLLATE NOCASE DEFAULT '',
    UnmountCmd    VARCHAR(256) COLLATE NOCASE DEFAULT '',
    SyncClientId  INTEGER DEFAULT 0,
    SyncCmd       VARCHAR(256) COLLATE NOCASE DEFAULT '',
    UnsyncCmd     VARCHAR(256) COLLATE NOCASE DEFAULT '',
    SnapClientId  INTEGER DEFAULT 0,
    SnapCmd       VARCHAR(256) COLLATE NOCASE DEFAULT '',
    UnsnapCmd     VARCHAR(256) COLLATE NOCASE DEFAULT '',
    Flags         INTEGER DEFAULT 0,
    RollbackCmd   VARCHAR(256) COLLATE NOCASE DEFAULT ''
);

-- Lookups of the tables above that had no index yet
CREATE INDEX IF NOT EXISTS IX_YBPolicy_name ON YBPolicy (name);
CREATE INDEX IF NOT EXISTS IX_YBPolicy_VolumeScratchPoolId ON YBPolicy (VolumeScratchPoolId);
CREATE INDEX IF NOT EXISTS IX_YBApplicationDirs_clientId ON YBApplicationDirs (clientId);
CREATE INDEX IF NOT EXISTS IX_YBFLRConsistencyPoint_SrcClientId ON YBFLRConsistencyPoint (SrcClientId);
CREATE INDEX IF NOT EXISTS IX_YBFLRSnapshot_Name ON YBFLRSnapshot (Name);
CREATE INDEX IF NOT EXISTS IX_YBJobVolumeHistory_JobId ON YBJobVolumeHistory (JobId);
CREATE INDEX IF NOT EXISTS IX_YBJobVolumeHistory_JobId_h ON YBJobVolumeHistory (JobId_h, JobId_l);
CREATE INDEX IF NOT EXISTS IX_DHT_Client_name ON DHT_Client (name);
CREATE INDEX IF NOT EXISTS IX_DHT_Client_net_hostname ON DHT_Client (net_hostname);
CREATE INDEX IF NOT EXISTS IX_DHT_ScFilterFile_fileName ON DHT_ScFilterFile (fileName);

-- Configuration of a client beside its DHT_Client row: release, cell
-- (tallmark), password and data encryption (cipher and key length)
CREATE TABLE IF NOT EXISTS HostClientConfig (
    clientId          INTEGER PRIMARY KEY,
    releaseId         INTEGER DEFAULT 0,
    tallmarkId        INTEGER DEFAULT 0,
    password          VARCHAR(255) DEFAULT '',
    encryptionEnabled INTEGER DEFAULT 0,
    dataEncType       INTEGER DEFAULT 0,
    dataKeyLen        INTEGER DEFAULT 0
);

-- Packages installed on clients
CREATE TABLE IF NOT EXISTS HostInstalledPackage (
    id        INTEGER PRIMARY KEY AUTOINCREMENT,
    clientId  INTEGER DEFAULT 0,
    packageId INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_HostInstalledPackage_clientId ON HostInstalledPackage (clientId);

-- Application instances of clients
CREATE TABLE IF NOT EXISTS HostInstance (
    id        INTEGER PRIMARY KEY AUTOINCREMENT,
    clientId  INTEGER DEFAULT 0,
    appTypeId INTEGER DEFAULT 0,
    name      VARCHAR(128) COLLATE NOCASE DEFAULT ''
);
CREATE INDEX IF NOT EXISTS IX_HostInstance_clientId ON HostInstance (clientId);

-- Backup (replication) sets beside their DHT_BackupSetName rows: owner,
-- instance, destination host and the most consistency points kept
CREATE TABLE IF NOT EXISTS HostBackupSet (
    id                    INTEGER PRIMARY KEY,
    clientId              INTEGER DEFAULT 0,
    appTypeId             INTEGER DEFAULT 0,
    instanceId            INTEGER DEFAULT 0,
    flags                 INTEGER DEFAULT 0,
    destinationHostId     INTEGER DEFAULT 0,
    maxConsistencyPoints  INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_HostBackupSet_instanceId ON HostBackupSet (instanceId);

-- Subclients beside their DHT_Application rows (subclientStatus bit 1 marks a
-- deleted one): default subclient, destination volume GUID, import host
CREATE TABLE IF NOT EXISTS HostSubclientConfig (
    subclientId       INTEGER PRIMARY KEY,
    isDefault         INTEGER DEFAULT 0,
    destinationGUID   VARCHAR(1024) COLLATE NOCASE DEFAULT '',
    defaultImportHost VARCHAR(255) COLLATE NOCASE DEFAULT ''
);
