// Scratch volume and scratch pool records, their wire structures and the
// YBSet conversions between records, wire structures and table rows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/db/ReplicaTables.h"
#include "rows/YBDBDst.h"
#include "service/Utils.h"

// Fields an update of a version 3 pool record writes.
constexpr int32_t YB_POOL_NAME = 0x1;
constexpr int32_t YB_POOL_SNAP_ENGINE_INFO_ID = 0x2;
constexpr int32_t YB_POOL_TYPE = 0x4;

// ---------------------------------------------------------------------------
// Records.

struct RVScratchVolumeRecord_t {
    int32_t id = -1;
    int32_t PhysicalVolumeId = -1;
    int32_t RVScratchVolumePoolId = -1;
};

struct RVScratchVolumeV2Record_t : RVScratchVolumeRecord_t {
    int64_t LockedByJobId = 0;
};

struct RVScratchVolumePoolRecord_t {
    RVScratchVolumePoolRecord_t() = default;
    explicit RVScratchVolumePoolRecord_t(const std::string& poolName) : name(poolName) {}

    int32_t id = -1;
    int32_t TotalVolumes = -1;
    int32_t AvailableVolumes = -1;
    std::string name;
};

struct RVScratchVolumePoolV2Record_t : RVScratchVolumePoolRecord_t {
    RVScratchVolumePoolV2Record_t() = default;
    RVScratchVolumePoolV2Record_t(const std::string& poolName, int32_t snapEngineInfoId)
        : RVScratchVolumePoolRecord_t(poolName), SnapEngineInfoId(snapEngineInfoId)
    {
    }

    int32_t SnapEngineInfoId = -1;
};

struct RVScratchVolumePoolV3Record_t : RVScratchVolumePoolV2Record_t {
    int32_t Type = 1;
    int32_t UpdateMask = 0;
};

// ---------------------------------------------------------------------------
// Wire structures; all zeros when made.

struct repRVScratchVolume {
    uint32_t id = 0;
    uint32_t PhysicalVolumeId = 0;
    uint32_t RVScratchVolumePoolId = 0;
};

struct repRVScratchVolumeV2 {
    uint32_t id = 0;
    uint32_t PhysicalVolumeId = 0;
    uint32_t RVScratchVolumePoolId = 0;
    int64_t LockedByJobId = 0;
};

struct repRVScratchVolumePool {
    static constexpr bool kHoldsPointers = true;
    uint32_t id = 0;
    uint32_t TotalVolumes = 0;
    uint32_t AvailableVolumes = 0;
    char* name = nullptr;
};

struct repRVScratchVolumePoolV2 {
    static constexpr bool kHoldsPointers = true;
    uint32_t id = 0;
    uint32_t TotalVolumes = 0;
    uint32_t AvailableVolumes = 0;
    char* name = nullptr;
    uint32_t SnapEngineInfoId = 0;
};

struct repRVScratchVolumePoolV3 {
    static constexpr bool kHoldsPointers = true;
    uint32_t id = 0;
    uint32_t TotalVolumes = 0;
    uint32_t AvailableVolumes = 0;
    char* name = nullptr;
    uint32_t SnapEngineInfoId = 0;
    uint32_t Type = 0;
    uint32_t UpdateMask = 0;
};

// ---------------------------------------------------------------------------
// Masks.

// The fields an update of the pool writes: version 1 the name, version 2
// also the snap engine, version 3 the record's UpdateMask, or all three
// (GetFields) when it is 0.
int32_t GetUpdateMap(const RVScratchVolumePoolRecord_t& record);
int32_t GetUpdateMap(const RVScratchVolumePoolV2Record_t& record);
int32_t GetUpdateMap(const RVScratchVolumePoolV3Record_t& record);
int32_t GetFields(const RVScratchVolumePoolV3Record_t& record);

// ---------------------------------------------------------------------------
// Conversions.

void YBSet(RVScratchVolumeRecord_t& dst, const repRVScratchVolume& src);
void YBSet(RVScratchVolumeV2Record_t& dst, const repRVScratchVolumeV2& src);
void YBSet(repRVScratchVolume& dst, const RVScratchVolumeRecord_t& src);
void YBSet(repRVScratchVolumeV2& dst, const RVScratchVolumeV2Record_t& src);

// The absent scratch volume: every field -1.
void Invalidate(repRVScratchVolume& dst);
void Invalidate(repRVScratchVolumeV2& dst);

void YBSet(RVScratchVolumeRecord_t& dst, const YBScratchVolume_t& src);
void YBSet(RVScratchVolumeV2Record_t& dst, const YBScratchVolume_t& src);

// From the SNR volume cursor rows: the scratch volume lying on the SNR volume.
struct YBGetSNRVolInfoByClientId_t;
struct YBGetSNRVolInfoByPoolId_t;
struct YBGetSNRVolumeById_t;
void YBSet(RVScratchVolumeRecord_t& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(RVScratchVolumeV2Record_t& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(RVScratchVolumeRecord_t& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(RVScratchVolumeV2Record_t& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(RVScratchVolumeRecord_t& dst, const YBGetSNRVolumeById_t& src);
void YBSet(RVScratchVolumeV2Record_t& dst, const YBGetSNRVolumeById_t& src);

void YBSet(RVScratchVolumePoolRecord_t& dst, const repRVScratchVolumePool& src);
void YBSet(RVScratchVolumePoolV2Record_t& dst, const repRVScratchVolumePoolV2& src);
void YBSet(RVScratchVolumePoolV3Record_t& dst, const repRVScratchVolumePoolV3& src);
void YBSet(repRVScratchVolumePool& dst, const RVScratchVolumePoolRecord_t& src);
void YBSet(repRVScratchVolumePoolV2& dst, const RVScratchVolumePoolV2Record_t& src);
void YBSet(repRVScratchVolumePoolV3& dst, const RVScratchVolumePoolV3Record_t& src);

void YBSet(RVScratchVolumePoolRecord_t& dst, const YBScratchPool_t& src);
void YBSet(RVScratchVolumePoolV2Record_t& dst, const YBScratchPool_t& src);
void YBSet(RVScratchVolumePoolV3Record_t& dst, const YBScratchPool_t& src);

// Record to row for adding a pool: Type 1 unless a V3 record gives it; only
// the record's columns are written.
void YBSet(YBScratchPool_t& dst, const RVScratchVolumePoolRecord_t& src);
void YBSet(YBScratchPool_t& dst, const RVScratchVolumePoolV2Record_t& src);
void YBSet(YBScratchPool_t& dst, const RVScratchVolumePoolV3Record_t& src);

// Record to row for updating a pool: false, with -18 and its message in the
// destination, when the name is longer than 127 characters.
bool YBSet(YBDBDst_t<YBScratchPool_t>& dst, const RVScratchVolumePoolRecord_t& src);
bool YBSet(YBDBDst_t<YBScratchPool_t>& dst, const RVScratchVolumePoolV2Record_t& src);
bool YBSet(YBDBDst_t<YBScratchPool_t>& dst, const RVScratchVolumePoolV3Record_t& src);

// List forms.
void YBSet(std::vector<RVScratchVolumePoolRecord_t>& dst, const YBScratchPool_t& src);
void YBSet(std::vector<RVScratchVolumePoolV2Record_t>& dst, const YBScratchPool_t& src);
void YBSet(std::vector<RVScratchVolumePoolV3Record_t>& dst, const YBScratchPool_t& src);
void YBSet(std::vector<RVScratchVolumeV2Record_t>& dst, const YBScratchVolume_t& src);
void YBSet(std::vector<RVScratchVolumeRecord_t>& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(std::vector<RVScratchVolumeV2Record_t>& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(std::vector<RVScratchVolumeRecord_t>& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(std::vector<RVScratchVolumeV2Record_t>& dst, const YBGetSNRVolInfoByPoolId_t& src);

void YBSet(repRVScratchVolume* dst, const std::vector<RVScratchVolumeRecord_t>& src);
void YBSet(repRVScratchVolumeV2* dst, const std::vector<RVScratchVolumeV2Record_t>& src);
void YBSet(repRVScratchVolumePool* dst, const std::vector<RVScratchVolumePoolRecord_t>& src);
void YBSet(repRVScratchVolumePoolV2* dst, const std::vector<RVScratchVolumePoolV2Record_t>& src);
void YBSet(repRVScratchVolumePoolV3* dst, const std::vector<RVScratchVolumePoolV3Record_t>& src);

extern template bool CopyVectorToMsg(repRVScratchVolume**, const std::vector<RVScratchVolumeRecord_t>&);
extern template bool CopyVectorToMsg(repRVScratchVolumeV2**, const std::vector<RVScratchVolumeV2Record_t>&);
extern template bool CopyVectorToMsg(repRVScratchVolumePool**, const std::vector<RVScratchVolumePoolRecord_t>&);
extern template bool CopyVectorToMsg(repRVScratchVolumePoolV2**, const std::vector<RVScratchVolumePoolV2Record_t>&);
extern template bool CopyVectorToMsg(repRVScratchVolumePoolV3**, const std::vector<RVScratchVolumePoolV3Record_t>&);
