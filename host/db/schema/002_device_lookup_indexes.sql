-- Lookups of a client's devices: by name (the duplicate check of a
-- registration, in the name column's own collation) and by SNR volume (the
-- uniqueness check), each found without reading the client's other devices.
CREATE INDEX IF NOT EXISTS IX_YBPhysicalDevice_ClientId_DeviceName ON YBPhysicalDevice (ClientId, DeviceName COLLATE NOCASE);
CREATE INDEX IF NOT EXISTS IX_YBPhysicalDevice_ClientId_SNRVolumeId ON YBPhysicalDevice (ClientId, SNRVolumeId);
