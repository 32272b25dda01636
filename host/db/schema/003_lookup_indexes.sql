-- Indexes for the lookups of the system's statements that no index served.

-- A client's device by name (the duplicate-name check of a registration); the
-- name compares without regard to case, as its column does.
CREATE INDEX IF NOT EXISTS IX_YBPhysicalDevice_ClientId_DeviceName ON YBPhysicalDevice (ClientId, DeviceName COLLATE NOCASE);
-- A client's device on an SNR volume (the uniqueness check of a registration).
CREATE INDEX IF NOT EXISTS IX_YBPhysicalDevice_ClientId_SNRVolumeId ON YBPhysicalDevice (ClientId, SNRVolumeId);
-- Both begin with the client: the index of the client alone serves nothing more.
DROP INDEX IF EXISTS IX_YBPhysicalDevice_ClientId;

-- Subclients of an application type (the subclients of a policy, the
-- subclients' volumes).
CREATE INDEX IF NOT EXISTS IX_DHT_Application_appTypeId ON DHT_Application (appTypeId);

-- NAS devices by the client id their name carries ("client<id>:..."), for the
-- NAS browse by client. The condition and the expression are the ones that
-- statement writes, character for character, or the index is not used.
CREATE INDEX IF NOT EXISTS IX_YBPhysicalDevice_NASClientId ON YBPhysicalDevice (
    (CASE WHEN trim(substr(DeviceName, 7, instr(DeviceName, ':') - 7)) <> ''
          AND trim(substr(DeviceName, 7, instr(DeviceName, ':') - 7)) NOT GLOB '*[^0-9]*'
          AND length(trim(substr(DeviceName, 7, instr(DeviceName, ':') - 7))) <= 10
     THEN CAST(trim(substr(DeviceName, 7, instr(DeviceName, ':') - 7)) AS INTEGER) END))
    WHERE substr(DeviceName, 1, 6) = 'client' COLLATE NOCASE AND instr(DeviceName, ':') > 7;
