-- Replication volumes created before a time (the replicas of an SNR volume
-- chosen by creation time alone), and all of them newest first.
CREATE INDEX IF NOT EXISTS IX_YBVolume_CreationTime ON YBVolume (CreationTime);
