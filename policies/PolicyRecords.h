// Replication policy records in versions 1 to 3, their wire structures, the
// update mask bits, and the YBSet conversions between records, wire
// structures, the YBPolicy row and the rows of the policy list cursor.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/db/PolicyTables.h"
#include "rows/Db/Cursor/YBGetYBPolicyList.h"
#include "rows/YBDBDst.h"
#include "service/Utils.h"

// YBPolicy.Flags
constexpr int32_t YBPOLICY_FLAG_BIT1 = 0x1;
constexpr int32_t YBPOLICY_FLAG_BIT2 = 0x2;

// Mask bits of an update: the columns it writes.
constexpr int32_t YB_POLICY_NAME = 0x1;
constexpr int32_t YB_POLICY_RETENTION = 0x2;
constexpr int32_t YB_POLICY_FLAG_BIT1 = 0x4;
constexpr int32_t YB_POLICY_COPY_MGR_CTRL_ID = 0x8;
constexpr int32_t YB_POLICY_SNAP_ENGINE_ID = 0x10;
constexpr int32_t YB_POLICY_SCRATCH_POOL_ID = 0x20;
constexpr int32_t YB_POLICY_FLAG_BIT2 = 0x40;
constexpr int32_t YB_POLICY_NSNAPSHOT = 0x80;
constexpr int32_t YB_POLICY_COPY_MANAGER_TYPE = 0x100;

// The copy manager type every policy added in message version 1 or 2 gets.
constexpr int32_t YB_POLICY_DEFAULT_COPY_MANAGER_TYPE = 4;

// Whether a policy name fits the name column: at most 127 characters.
bool PolicyNameFits(const std::string& name);

// ---------------------------------------------------------------------------
// Records: each version holds every field of the one before.

struct ReplicationPolicyRecord_t {
    int32_t id = -1;
    std::string name;
    int32_t RetentionSeconds = -1;
    bool FlagBit1 = false;
    int32_t CopyMgrCtrlId = -1;
    int32_t SnapEngineInfoId = -1;
    int32_t VolumeScratchPoolId = -1;  // 0: no pool
};

struct ReplicationPolicyV2Record_t : ReplicationPolicyRecord_t {
    bool FlagBit2 = false;
    int32_t NSnapshot = 0;
};

struct ReplicationPolicyV3Record_t : ReplicationPolicyV2Record_t {
    int32_t CopyManagerType = 0;
    int32_t UpdateMask = 0;  // columns an update writes; 0: all; never on the wire
};

// ---------------------------------------------------------------------------
// Wire structures; all zeros (null name) when made.

#define YB_POLICY_WIRE_V1_FIELDS        \
    uint32_t id = 0;                    \
    char* name = nullptr;               \
    uint32_t RetentionSeconds = 0;      \
    uint32_t FlagBit1 = 0;              \
    uint32_t CopyMgrCtrlId = 0;         \
    uint32_t SnapEngineInfoId = 0;      \
    uint32_t VolumeScratchPoolId = 0;

#define YB_POLICY_WIRE_V2_FIELDS        \
    YB_POLICY_WIRE_V1_FIELDS            \
    uint32_t FlagBit2 = 0;              \
    uint32_t NSnapshot = 0;

struct repReplicationPolicy {
    YB_POLICY_WIRE_V1_FIELDS
};

struct repReplicationPolicyV2 {
    YB_POLICY_WIRE_V2_FIELDS
};

struct repReplicationPolicyV3 {
    YB_POLICY_WIRE_V2_FIELDS
    uint32_t CopyManagerType = 0;
    uint32_t Unused = 0;  // neither read nor written; 0 in every reply
};

#undef YB_POLICY_WIRE_V2_FIELDS
#undef YB_POLICY_WIRE_V1_FIELDS

// ---------------------------------------------------------------------------
// Conversions.

// Wire to record: a null name reads as "", a flag is true only when it is 1;
// the update mask keeps the value it had.
void YBSet(ReplicationPolicyRecord_t& dst, const repReplicationPolicy& src);
void YBSet(ReplicationPolicyV2Record_t& dst, const repReplicationPolicyV2& src);
void YBSet(ReplicationPolicyV3Record_t& dst, const repReplicationPolicyV3& src);

// Record to wire: the name points into the record (null when empty), flags
// go out as 1 or 0.
void YBSet(repReplicationPolicy& dst, const ReplicationPolicyRecord_t& src);
void YBSet(repReplicationPolicyV2& dst, const ReplicationPolicyV2Record_t& src);
void YBSet(repReplicationPolicyV3& dst, const ReplicationPolicyV3Record_t& src);

// Table row or list cursor row to record; the update mask stays 0.
void YBSet(ReplicationPolicyRecord_t& dst, const YBPolicy_t& src);
void YBSet(ReplicationPolicyV2Record_t& dst, const YBPolicy_t& src);
void YBSet(ReplicationPolicyV3Record_t& dst, const YBPolicy_t& src);
void YBSet(ReplicationPolicyRecord_t& dst, const YBGetYBPolicyList_t& src);
void YBSet(ReplicationPolicyV2Record_t& dst, const YBGetYBPolicyList_t& src);
void YBSet(ReplicationPolicyV3Record_t& dst, const YBGetYBPolicyList_t& src);

// Record to a zeroed row for an update: false, with -18 and "YB Policy Name
// is too long", when the name does not fit; the row then stays zeroed.
bool YBSet(YBDBDst_t<YBPolicy_t>& dst, const ReplicationPolicyRecord_t& src);
bool YBSet(YBDBDst_t<YBPolicy_t>& dst, const ReplicationPolicyV2Record_t& src);
bool YBSet(YBDBDst_t<YBPolicy_t>& dst, const ReplicationPolicyV3Record_t& src);

// Record to a row the caller zeroed, for an add, whose name the caller has
// found to fit. Versions 1 and 2 store copy manager type 4.
void YBSet(YBPolicy_t& dst, const ReplicationPolicyRecord_t& src);
void YBSet(YBPolicy_t& dst, const ReplicationPolicyV2Record_t& src);
void YBSet(YBPolicy_t& dst, const ReplicationPolicyV3Record_t& src);

// List forms.
void YBSet(std::vector<ReplicationPolicyRecord_t>& dst, const YBPolicy_t& src);
void YBSet(std::vector<ReplicationPolicyV2Record_t>& dst, const YBPolicy_t& src);
void YBSet(std::vector<ReplicationPolicyV3Record_t>& dst, const YBPolicy_t& src);
void YBSet(std::vector<ReplicationPolicyRecord_t>& dst, const YBGetYBPolicyList_t& src);
void YBSet(std::vector<ReplicationPolicyV2Record_t>& dst, const YBGetYBPolicyList_t& src);
void YBSet(std::vector<ReplicationPolicyV3Record_t>& dst, const YBGetYBPolicyList_t& src);

extern template bool CopyVectorToMsg(repReplicationPolicy**, const std::vector<ReplicationPolicyRecord_t>&);
extern template bool CopyVectorToMsg(repReplicationPolicyV2**, const std::vector<ReplicationPolicyV2Record_t>&);
extern template bool CopyVectorToMsg(repReplicationPolicyV3**, const std::vector<ReplicationPolicyV3Record_t>&);

// The columns an update writes: 0x3f for version 1, 0xff for version 2, the
// record's UpdateMask or, when it is 0, all nine columns (0x1ff) for version 3.
int32_t GetUpdateMap(const ReplicationPolicyRecord_t& record);
int32_t GetUpdateMap(const ReplicationPolicyV2Record_t& record);
int32_t GetUpdateMap(const ReplicationPolicyV3Record_t& record);
