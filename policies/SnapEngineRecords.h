// Snap engine records in versions 1, 42 and 3, their wire structures, the
// field bits with their labels, and the YBSet conversions between records,
// wire structures and the YBSnapEngineInfo row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/db/PolicyTables.h"
#include "service/Utils.h"

// YBSnapEngineInfo.Flags: the four capability flags.
constexpr int32_t SNAPENGINE_FLAG_MULTIPLE_SNAPS = 0x1;
constexpr int32_t SNAPENGINE_FLAG_CROSS_HOST_MOUNT = 0x2;
constexpr int32_t SNAPENGINE_FLAG_SAME_HOST_MOUNT = 0x4;
constexpr int32_t SNAPENGINE_FLAG_SYNC_FUNCTION = 0x8;

// Field bits: the columns an update writes, and the field a record-to-row
// conversion refused. The capability flags sit one bit above their Flags bit.
constexpr int32_t YB_SE_ID = 0x0;
constexpr int32_t YB_SE_NAME = 0x1;
constexpr int32_t YB_SE_MULTIPLE_SNAPS = 0x2;
constexpr int32_t YB_SE_CROSS_HOST_MOUNT = 0x4;
constexpr int32_t YB_SE_SAME_HOST_MOUNT = 0x8;
constexpr int32_t YB_SE_SYNC_FUNCTION = 0x10;
constexpr int32_t YB_SE_MOUNT_CMD = 0x20;
constexpr int32_t YB_SE_UNMOUNT_CMD = 0x40;
constexpr int32_t YB_SE_SYNC_CMD = 0x80;
constexpr int32_t YB_SE_UNSYNC_CMD = 0x100;
constexpr int32_t YB_SE_SNAP_CMD = 0x200;
constexpr int32_t YB_SE_UNSNAP_CMD = 0x400;
constexpr int32_t YB_SE_OS_TYPE = 0x800;
constexpr int32_t YB_SE_TYPE = 0x1000;
constexpr int32_t YB_SE_ROLLBACK_CMD = 0x2000;

// The label of one field bit ("Snap Engine Name"); "Snap Engine Unknown"
// for any other value, combinations of bits included.
const char* GetSnapEngineFieldName(int bit);

// ---------------------------------------------------------------------------
// Records: each version holds every field of the one before.

struct SnapEngineInfoRecord_t {
    int32_t id = -1;
    std::string name;
    bool MultipleSnaps = false;
    bool CrossHostMount = false;
    bool SameHostMount = false;
    bool SyncFunction = false;
    std::string MountCmdHint;
    std::string UnmountCmdHint;
    std::string SyncCmdHint;
    std::string UnsyncCmdHint;
    std::string SnapCmdHint;
    std::string UnsnapCmdHint;
};

struct SnapEngineInfo42Record_t : SnapEngineInfoRecord_t {
    int32_t OsType = 0;  // stored and returned, never interpreted
    int32_t Type = 0;    // engine kind
};

struct SnapEngineInfoV3Record_t : SnapEngineInfo42Record_t {
    std::string RollbackCmdHint;
};

// ---------------------------------------------------------------------------
// Wire structures; all zeros (null pointers) when made.

#define YB_SNAPENGINE_WIRE_V1_FIELDS   \
    uint32_t id = 0;                   \
    char* name = nullptr;              \
    uint32_t MultipleSnaps = 0;        \
    uint32_t CrossHostMount = 0;       \
    uint32_t SameHostMount = 0;        \
    uint32_t SyncFunction = 0;         \
    char* MountCmdHint = nullptr;      \
    char* UnmountCmdHint = nullptr;    \
    char* SyncCmdHint = nullptr;       \
    char* UnsyncCmdHint = nullptr;     \
    char* SnapCmdHint = nullptr;       \
    char* UnsnapCmdHint = nullptr;

#define YB_SNAPENGINE_WIRE_42_FIELDS   \
    YB_SNAPENGINE_WIRE_V1_FIELDS       \
    uint32_t OsType = 0;               \
    uint32_t Type = 0;

struct repSnapEngineInfo {
    YB_SNAPENGINE_WIRE_V1_FIELDS
};

struct repSnapEngineInfo42 {
    YB_SNAPENGINE_WIRE_42_FIELDS
};

struct repSnapEngineInfoV3 {
    YB_SNAPENGINE_WIRE_42_FIELDS
    char* RollbackCmdHint = nullptr;
};

#undef YB_SNAPENGINE_WIRE_42_FIELDS
#undef YB_SNAPENGINE_WIRE_V1_FIELDS

// ---------------------------------------------------------------------------
// Conversions.

// Wire to record: a null text reads as "", a flag is true only when it is 1.
void YBSet(SnapEngineInfoRecord_t& dst, const repSnapEngineInfo& src);
void YBSet(SnapEngineInfo42Record_t& dst, const repSnapEngineInfo42& src);
void YBSet(SnapEngineInfoV3Record_t& dst, const repSnapEngineInfoV3& src);

// Record to wire: texts point into the record (null when empty), flags go
// out as 1 or 0.
void YBSet(repSnapEngineInfo& dst, const SnapEngineInfoRecord_t& src);
void YBSet(repSnapEngineInfo42& dst, const SnapEngineInfo42Record_t& src);
void YBSet(repSnapEngineInfoV3& dst, const SnapEngineInfoV3Record_t& src);

// Row to record: Flags bits above 0x8 are not carried.
void YBSet(SnapEngineInfoRecord_t& dst, const YBSnapEngineInfo_t& src);
void YBSet(SnapEngineInfo42Record_t& dst, const YBSnapEngineInfo_t& src);
void YBSet(SnapEngineInfoV3Record_t& dst, const YBSnapEngineInfo_t& src);

// Record to a zeroed row: 0 when every text fits its column (127 characters
// of the name, 255 of a hint), else the field bit of the first text too
// long (name, then the hints in field order, then the rollback hint) with
// code -18. A version 1 record leaves OsType, Type and the rollback hint 0
// and empty, a version 42 record the rollback hint.
int YBSet(YBSnapEngineInfo_t& dst, const SnapEngineInfoRecord_t& src, int& code);
int YBSet(YBSnapEngineInfo_t& dst, const SnapEngineInfo42Record_t& src, int& code);
int YBSet(YBSnapEngineInfo_t& dst, const SnapEngineInfoV3Record_t& src, int& code);

// List forms.
void YBSet(std::vector<SnapEngineInfoRecord_t>& dst, const YBSnapEngineInfo_t& src);
void YBSet(std::vector<SnapEngineInfo42Record_t>& dst, const YBSnapEngineInfo_t& src);
void YBSet(std::vector<SnapEngineInfoV3Record_t>& dst, const YBSnapEngineInfo_t& src);
void YBSet(repSnapEngineInfo* dst, const std::vector<SnapEngineInfoRecord_t>& src);
void YBSet(repSnapEngineInfo42* dst, const std::vector<SnapEngineInfo42Record_t>& src);
void YBSet(repSnapEngineInfoV3* dst, const std::vector<SnapEngineInfoV3Record_t>& src);

extern template bool CopyVectorToMsg(repSnapEngineInfo**, const std::vector<SnapEngineInfoRecord_t>&);
extern template bool CopyVectorToMsg(repSnapEngineInfo42**, const std::vector<SnapEngineInfo42Record_t>&);
extern template bool CopyVectorToMsg(repSnapEngineInfoV3**, const std::vector<SnapEngineInfoV3Record_t>&);

// The stored Flags word with each capability flag whose field bit is in the
// mask taken from the requested Flags; every other bit stays as stored.
int32_t MergeSnapEngineFlags(int32_t stored, int32_t requested, int32_t mask);

// The fixed update mask of a message version: 0x4ff for version 1, 0x1fff
// for 42, 0x2fff for 3.
int32_t GetUpdateMap(const SnapEngineInfoRecord_t& record);
int32_t GetUpdateMap(const SnapEngineInfo42Record_t& record);
int32_t GetUpdateMap(const SnapEngineInfoV3Record_t& record);
