// Rows of the replication volume, scratch volume and scratch pool tables as
// the host's entity database classes exchange them.
#pragma once

#include <cstddef>
#include <cstdint>

// Table YBVolume: one copy of a primary SNR volume. All zero when made.
struct YBVolume_t {
    int32_t id = 0;
    int32_t PointInTime = 0;
    int32_t CreationTime = 0;
    int32_t ModifyTime = 0;
    int32_t CurrentState = 0;
    int32_t CurrentRole = 0;
    int32_t PrimaryVolumeId = 0;
    int32_t PhysicalVolumeId = 0;
    int32_t ReplicationPolicyId = 0;
    int32_t RVScratchVolumeId = 0;
    int32_t Flags = 0;
    int32_t JobId = 0;
    int32_t SnapVolumeId = 0;
    int32_t SnapEngineType = 0;
    char SnapvaultReplicaDir[1025] = {};
    char SourceGUID[257] = {};
};

// Table YBScratchVolume: ties one SNR volume to one scratch pool.
struct YBScratchVolume_t {
    int32_t id = 0;
    int32_t PhysicalVolumeId = 0;
    int32_t RVScratchVolumePoolId = 0;
    int32_t Flags = 0;
    int32_t LockedByJobId = 0;
};

// A scratch volume pool.
struct YBScratchPool_t {
    int32_t id = 0;
    int32_t TotalVolumes = 0;
    int32_t AvailableVolumes = 0;
    char name[129] = {};
    int32_t reserved = 0;
    int32_t SnapEngineInfoId = 0;
    int32_t Type = 0;
};

static_assert(sizeof(YBVolume_t) == 1340, "YBVolume_t size");
static_assert(offsetof(YBVolume_t, id) == 0, "YBVolume_t layout");
static_assert(offsetof(YBVolume_t, PointInTime) == 4, "YBVolume_t layout");
static_assert(offsetof(YBVolume_t, CreationTime) == 8, "YBVolume_t layout");
static_assert(offsetof(YBVolume_t, ModifyTime) == 12, "YBVolume_t layout");
static_assert(offsetof(YBVolume_t, CurrentState) == 16, "YBVolume_t layout");
static_assert(offsetof(YBVolume_t, CurrentRole) == 20, "YBVolume_t layout");
static_assert(offsetof(YBVolume_t, PrimaryVolumeId) == 24, "YBVolume_t layout");
static_assert(offsetof(YBVolume_t, PhysicalVolumeId) == 28, "YBVolume_t layout");
static_assert(offsetof(YBVolume_t, ReplicationPolicyId) == 32, "YBVolume_t layout");
static_assert(offsetof(YBVolume_t, RVScratchVolumeId) == 36, "YBVolume_t layout");
static_assert(offsetof(YBVolume_t, Flags) == 40, "YBVolume_t layout");
static_assert(offsetof(YBVolume_t, JobId) == 44, "YBVolume_t layout");
static_assert(offsetof(YBVolume_t, SnapVolumeId) == 48, "YBVolume_t layout");
static_assert(offsetof(YBVolume_t, SnapEngineType) == 52, "YBVolume_t layout");
static_assert(offsetof(YBVolume_t, SnapvaultReplicaDir) == 56, "YBVolume_t layout");
static_assert(offsetof(YBVolume_t, SourceGUID) == 1081, "YBVolume_t layout");

static_assert(sizeof(YBScratchVolume_t) == 20, "YBScratchVolume_t size");
static_assert(offsetof(YBScratchVolume_t, id) == 0, "YBScratchVolume_t layout");
static_assert(offsetof(YBScratchVolume_t, PhysicalVolumeId) == 4, "YBScratchVolume_t layout");
static_assert(offsetof(YBScratchVolume_t, RVScratchVolumePoolId) == 8, "YBScratchVolume_t layout");
static_assert(offsetof(YBScratchVolume_t, Flags) == 12, "YBScratchVolume_t layout");
static_assert(offsetof(YBScratchVolume_t, LockedByJobId) == 16, "YBScratchVolume_t layout");

static_assert(sizeof(YBScratchPool_t) == 156, "YBScratchPool_t size");
static_assert(offsetof(YBScratchPool_t, id) == 0, "YBScratchPool_t layout");
static_assert(offsetof(YBScratchPool_t, TotalVolumes) == 4, "YBScratchPool_t layout");
static_assert(offsetof(YBScratchPool_t, AvailableVolumes) == 8, "YBScratchPool_t layout");
static_assert(offsetof(YBScratchPool_t, name) == 12, "YBScratchPool_t layout");
static_assert(offsetof(YBScratchPool_t, reserved) == 144, "YBScratchPool_t layout");
static_assert(offsetof(YBScratchPool_t, SnapEngineInfoId) == 148, "YBScratchPool_t layout");
static_assert(offsetof(YBScratchPool_t, Type) == 152, "YBScratchPool_t layout");
