-- The application directories of a client, listed up to a time.
CREATE INDEX IF NOT EXISTS IX_YBApplicationDirs_clientId ON YBApplicationDirs (clientId);
