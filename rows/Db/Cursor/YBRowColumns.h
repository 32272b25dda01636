// Column runs shared by cursor families: the whole rows of the catalogue
// tables the cursors return, and the groups of the SNR volume inventories.
// Each family still lists its own columns in its own order from these runs.
#pragma once

// A YBVolume row: the 14 leading columns, then its two texts.
#define YB_VOLUME_LEADING_COLUMNS(I, B, S) \
    I(id)                                  \
    I(PointInTime)                         \
    I(CreationTime)                        \
    I(ModifyTime)                          \
    I(CurrentState)                        \
    I(CurrentRole)                         \
    I(PrimaryVolumeId)                     \
    I(PhysicalVolumeId)                    \
    I(ReplicationPolicyId)                 \
    I(RVScratchVolumeId)                   \
    I(Flags)                               \
    I(JobId)                               \
    I(SnapVolumeId)                        \
    I(SnapEngineType)
#define YB_VOLUME_COLUMNS(I, B, S) \
    YB_VOLUME_LEADING_COLUMNS(I, B, S) S(SnapvaultReplicaDir, 1025) S(SourceGUID, 257)

// A YBPhysicalVolume row.
#define YB_PHYSICAL_VOLUME_COLUMNS(I, B, S) \
    I(id)                                   \
    S(UniqueId, 257)                        \
    I(UniqueIdType)                         \
    I(LUN)                                  \
    B(StartLBA)                             \
    B(BlockCount)                           \
    I(BlockSize)                            \
    I(Flags)                                \
    S(FSType, 129)                          \
    S(UniqueSnapshotID, 2049)               \
    I(ApplianceId)                          \
    I(TzState)                              \
    I(CostCategoryId)                       \
    I(Type)

// A YBPhysicalDevice row.
#define YB_PHYSICAL_DEVICE_COLUMNS(I, B, S) \
    I(id)                                   \
    I(ClientId)                             \
    I(SNRVolumeId)                          \
    S(DeviceName, 1025)                     \
    I(Flags)                                \
    S(OSDeviceName, 1025)                   \
    S(AccessPath, 129)                      \
    I(FilerClientId)

// A YBScratchVolume row.
#define YB_SCRATCH_VOLUME_COLUMNS(I, B, S) \
    I(id)                                  \
    I(PhysicalVolumeId)                    \
    I(RVScratchVolumePoolId)               \
    I(Flags)                               \
    I(LockedByJobId)

// A YBMountPoint row.
#define YB_MOUNT_POINT_COLUMNS(I, B, S) \
    I(id)                               \
    I(DeviceNameId)                     \
    S(Path, 1025)                       \
    I(Flags)

// The SNR volume inventories: the SNR volume's columns as the inventory
// table names them, ...
#define YB_SNRVOLINFO_SNR_COLUMNS(I, B, S) \
    I(SNRVolid)                            \
    S(UniqueId, 257)                       \
    I(UniqueIdType)                        \
    I(LUN)                                 \
    B(StartLBA)                            \
    B(BlockCount)                          \
    I(BlockSize)                           \
    I(SNRFlags)                            \
    S(FSType, 129)                         \
    S(UniqueSnapshotID, 2049)              \
    I(ApplianceId)                         \
    I(TzState)                             \
    I(CostCategoryId)                      \
    I(VolType)

// ... the replication volume's up to its job id, ...
#define YB_SNRVOLINFO_YB_COLUMNS(I, B, S) \
    I(YBid)                               \
    I(PointInTime)                        \
    I(CreationTime)                       \
    I(ModifyTime)                         \
    I(CurrentState)                       \
    I(CurrentRole)                        \
    I(PrimaryVolumeId)                    \
    I(YBPhysicalVolumeId)                 \
    I(ReplicationPolicyId)                \
    I(RVScratchVolumeId)                  \
    I(YBFlags)                            \
    I(JobId)

// ... and the scratch volume's, but for its lock.
#define YB_SNRVOLINFO_RV_COLUMNS(I, B, S) \
    I(RVid)                               \
    I(RVPhysicalVolumeId)                 \
    I(RVScratchVolumePoolId)              \
    I(RVFlags)
