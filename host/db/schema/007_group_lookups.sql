-- Indexes for the lookups that walked a whole group of rows (the members of a
-- pool, the replicas of a volume, the jobs of a client) to return a few of
-- them, so that each costs the same per row it returns however large the
-- group grows. The catalogue is never analysed: each index is chosen on the
-- planner's default estimates.

-- The scratch row of a member volume in one pool (the pool contents): found by
-- both columns, not by walking the pool once per member.
CREATE INDEX IF NOT EXISTS IX_YBScratchVolume_PhysicalVolumeId_PoolId ON YBScratchVolume (PhysicalVolumeId, RVScratchVolumePoolId);

-- The newest replica of a source volume in a role, of any job and of one job:
-- the first entry of each index read backwards.
CREATE INDEX IF NOT EXISTS IX_YBVolume_PrimaryVolumeId_Role_ModifyTime ON YBVolume (PrimaryVolumeId, CurrentRole, ModifyTime);
CREATE INDEX IF NOT EXISTS IX_YBVolume_JobId_PrimaryVolumeId_Role_ModifyTime ON YBVolume (JobId, PrimaryVolumeId, CurrentRole, ModifyTime);

-- The mounted snapshots of a snapshot engine (role 5), few at any time: a
-- client's are found among them rather than among the replicas of every
-- device of the client.
CREATE INDEX IF NOT EXISTS IX_YBVolume_SnapEngineType_Role ON YBVolume (SnapEngineType, CurrentRole);

-- A subclient's directory at a path (looked for before one is recorded).
CREATE INDEX IF NOT EXISTS IX_YBApplicationDirs_subclientId_path ON YBApplicationDirs (subclientId, path);

-- The jobs of one instance of a client.
CREATE INDEX IF NOT EXISTS IX_YBSAPOracleJob_ClientId_Instance ON YBSAPOracleJob (ClientId, AppTypeId, InstanceName);

-- The subclients naming a replication policy, by the policy id their property
-- holds. The condition and the expression are the ones the statement
-- (YBGetSCListByYBPolicy) writes, character for character, or the index is
-- not used.
CREATE INDEX IF NOT EXISTS IX_DHT_SubClientProp_ReplicationPolicy ON DHT_SubClientProp (CAST(trim(attrVal) AS INTEGER))
    WHERE attrName = 'Replication Policy' AND modified = 0;

-- The points of a set at one creation time (a point added on its own, and
-- the merge lookup of a new point).
CREATE INDEX IF NOT EXISTS IX_YBFLRConsistencyPoint_FLRSetId_CreationTime ON YBFLRConsistencyPoint (FLRSetId, CreationTime);
