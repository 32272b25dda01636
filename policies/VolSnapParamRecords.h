// Volume snap parameter records in versions 1 and 2, their wire structures,
// the update mask bits, and the YBSet conversions between records, wire
// structures and the YBVolSnapParams row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/db/PolicyTables.h"
#include "rows/YBDBDst.h"
#include "service/Utils.h"

// YBVolSnapParams.Flags: bit 1 marks the parameters of a scratch volume,
// which go with its scratch volume row.
constexpr int32_t VOLSNAP_FLAG_BIT1 = 0x1;

// Mask bits of an update, one per field in field order.
constexpr int32_t YB_VSP_SNAP_ENGINE_ID = 0x1;
constexpr int32_t YB_VSP_MOUNT_CLIENT_ID = 0x2;
constexpr int32_t YB_VSP_MOUNT_CMD = 0x4;
constexpr int32_t YB_VSP_UNMOUNT_CMD = 0x8;
constexpr int32_t YB_VSP_SYNC_CLIENT_ID = 0x10;
constexpr int32_t YB_VSP_SYNC_CMD = 0x20;
constexpr int32_t YB_VSP_UNSYNC_CMD = 0x40;
constexpr int32_t YB_VSP_SNAP_CLIENT_ID = 0x80;
constexpr int32_t YB_VSP_SNAP_CMD = 0x100;
constexpr int32_t YB_VSP_UNSNAP_CMD = 0x200;
constexpr int32_t YB_VSP_FLAG_BIT1 = 0x400;
constexpr int32_t YB_VSP_ROLLBACK_CMD = 0x800;

// ---------------------------------------------------------------------------
// Records: ids default to -1, texts to "".

struct VolSnapParamsRecord_t {
    int32_t SNRVolumeId = -1;
    int32_t SnapEngineId = -1;
    int32_t MountClientId = -1;
    std::string MountCmd;
    std::string UnmountCmd;
    int32_t SyncClientId = -1;
    std::string SyncCmd;
    std::string UnsyncCmd;
    int32_t SnapClientId = -1;
    std::string SnapCmd;
    std::string UnsnapCmd;
};

struct VolSnapParamsV2Record_t : VolSnapParamsRecord_t {
    bool FlagBit1 = false;
    std::string RollbackCmd;
};

// ---------------------------------------------------------------------------
// Wire structures; all zeros (null pointers) when made.

#define YB_VOLSNAP_WIRE_V1_FIELDS   \
    uint32_t SNRVolumeId = 0;       \
    uint32_t SnapEngineId = 0;      \
    uint32_t MountClientId = 0;     \
    char* MountCmd = nullptr;       \
    char* UnmountCmd = nullptr;     \
    uint32_t SyncClientId = 0;      \
    char* SyncCmd = nullptr;        \
    char* UnsyncCmd = nullptr;      \
    uint32_t SnapClientId = 0;      \
    char* SnapCmd = nullptr;        \
    char* UnsnapCmd = nullptr;

struct repVolumeSnapParams {
    YB_VOLSNAP_WIRE_V1_FIELDS
};

struct repVolumeSnapParamsV2 {
    YB_VOLSNAP_WIRE_V1_FIELDS
    uint32_t FlagBit1 = 0;
    char* RollbackCmd = nullptr;
};

#undef YB_VOLSNAP_WIRE_V1_FIELDS

// ---------------------------------------------------------------------------
// Conversions.

// Wire to record: a null text reads as "", the flag is true only when it is 1.
void YBSet(VolSnapParamsRecord_t& dst, const repVolumeSnapParams& src);
void YBSet(VolSnapParamsV2Record_t& dst, const repVolumeSnapParamsV2& src);

// Record to wire: texts point into the record (null when empty).
void YBSet(repVolumeSnapParams& dst, const VolSnapParamsRecord_t& src);
void YBSet(repVolumeSnapParamsV2& dst, const VolSnapParamsV2Record_t& src);

// Row to record.
void YBSet(VolSnapParamsRecord_t& dst, const YBVolSnapParams_t& src);
void YBSet(VolSnapParamsV2Record_t& dst, const YBVolSnapParams_t& src);

// Record to a zeroed row: false at the first command too long for its
// column (more than 255 characters), with code -18 and the command's refusal text ("Mount Command is
// too long") in the destination; the row is then incomplete.
bool YBSet(YBDBDst_t<YBVolSnapParams_t>& dst, const VolSnapParamsRecord_t& src);
bool YBSet(YBDBDst_t<YBVolSnapParams_t>& dst, const VolSnapParamsV2Record_t& src);

// List forms.
void YBSet(std::vector<VolSnapParamsRecord_t>& dst, const YBVolSnapParams_t& src);
void YBSet(std::vector<VolSnapParamsV2Record_t>& dst, const YBVolSnapParams_t& src);
void YBSet(repVolumeSnapParams* dst, const std::vector<VolSnapParamsRecord_t>& src);
void YBSet(repVolumeSnapParamsV2* dst, const std::vector<VolSnapParamsV2Record_t>& src);

extern template bool CopyVectorToMsg(repVolumeSnapParams**, const std::vector<VolSnapParamsRecord_t>&);
extern template bool CopyVectorToMsg(repVolumeSnapParamsV2**, const std::vector<VolSnapParamsV2Record_t>&);

// The fixed update mask of a message version: 0x3ff for version 1, 0xfff
// for version 2.
int32_t GetUpdateMap(const VolSnapParamsRecord_t& record);
int32_t GetUpdateMap(const VolSnapParamsV2Record_t& record);
