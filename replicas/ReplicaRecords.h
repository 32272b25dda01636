// Replication volume records, their wire structures, the Flags bits, the
// field mask with its labels, and the YBSet conversions between records,
// wire structures and the YBVolume row.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "host/db/ReplicaTables.h"
#include "service/Utils.h"

// YBVolume.Flags (also the YBFlags column of the SNR volume cursors).
constexpr int32_t YBVOL_FLAG_DO_NOT_PRUNE = 0x1;
constexpr int32_t YBVOL_FLAG_IS_SNAP_ACTIVE = 0x2;
constexpr int32_t YBVOL_FLAG_ACTIVATE_SNAP = 0x4;
constexpr int32_t YBVOL_FLAG_MORVANE_VOL = 0x8;
constexpr int32_t YBVOL_FLAG_SHADOW_SNAP = 0x10;
constexpr int32_t YBVOL_FLAG_TRANSPORTABLE_SNAP = 0x20;

// YBVolume.CurrentRole: the kind of copy a replication volume is.
constexpr int32_t YBVOL_ROLE_REPLICA = 1;               // a replica or mirror on a scratch volume
constexpr int32_t YBVOL_ROLE_SNAPSHOT = 2;
constexpr int32_t YBVOL_ROLE_COPY = 3;                  // let through pruning's gates and left alone
constexpr int32_t YBVOL_ROLE_PERMANENT_REPLICA = 4;
constexpr int32_t YBVOL_ROLE_DESTINATION_SNAPSHOT = 5;  // a snapshot kept in a destination volume

// Field mask of an update; the record-to-row conversion names a refused
// field by its bit.
constexpr int32_t YB_VOL_ID = 0x0;
constexpr int32_t YB_VOL_POINT_IN_TIME = 0x1;
constexpr int32_t YB_VOL_CREATION_TIME = 0x2;
constexpr int32_t YB_VOL_MODIFY_TIME = 0x4;
constexpr int32_t YB_VOL_CURRENT_STATE = 0x8;
constexpr int32_t YB_VOL_CURRENT_ROLE = 0x10;
constexpr int32_t YB_VOL_PRIMARY_VOL_ID = 0x20;
constexpr int32_t YB_VOL_PHYSICAL_VOL_ID = 0x40;
constexpr int32_t YB_VOL_YB_POLICY_ID = 0x80;
constexpr int32_t YB_VOL_SCRATCH_VOL_ID = 0x100;
constexpr int32_t YB_VOL_DO_NOT_PRUNE = 0x200;
constexpr int32_t YB_VOL_JOB_ID = 0x400;
constexpr int32_t YB_VOL_IS_SNAP_ACTIVE = 0x800;
constexpr int32_t YB_VOL_ACTIVATE_SNAP = 0x1000;
constexpr int32_t YB_VOL_SNAP_VOL_ID = 0x2000;
constexpr int32_t YB_VOL_MORVANE_VOL = 0x4000;
constexpr int32_t YB_VOL_SHADOW_SNAP = 0x8000;
constexpr int32_t YB_VOL_TRANSPORTABLE_SNAP = 0x10000;
constexpr int32_t YB_VOL_SNAP_ENGINE_TYPE = 0x20000;
constexpr int32_t YB_VOL_SNAPVAULT_DIR = 0x40000;
constexpr int32_t YB_VOL_SOURCE_GUID = 0x80000;

// The label of a field-mask bit; "" for a value that is no single bit of
// the mask.
const char* GetYBVolumeFieldName(int bit);

// ---------------------------------------------------------------------------
// Records.

struct ReplicationVolumeRecord_t {
    int32_t id = -1;
    int32_t PointInTime = -1;
    int32_t CreationTime = -1;
    int32_t ModifyTime = -1;
    int32_t CurrentState = -1;
    int32_t CurrentRole = -1;
    int32_t PrimaryVolumeId = -1;
    int32_t PhysicalVolumeId = -1;
    int32_t ReplicationPolicyId = -1;
    int32_t RVScratchVolumeId = -1;
    bool DoNotPrune = false;
};

struct ReplicationVolumeRecord42_t : ReplicationVolumeRecord_t {
    int64_t JobId = 0;
    bool IsSnapActive = false;
    bool ActivateSnap = false;
};

struct ReplicationVolumeV3Record_t : ReplicationVolumeRecord42_t {
    int32_t SnapVolumeId = -1;
    bool MorvaneVolume = false;
    bool ShadowSnap = false;
    bool TransportableSnap = false;
};

struct ReplicationVolumeV4Record_t : ReplicationVolumeV3Record_t {
    int32_t SnapEngineType = 0;
    int32_t UpdateMap = 0;
};

struct ReplicationVolumeV5Record_t : ReplicationVolumeV4Record_t {
    std::string SnapvaultReplicaDir;
    std::string SourceGUID;
};

// A replication volume id with the application name of a browse row.
struct YBVolumeApp_t {
    YBVolumeApp_t() = default;
    YBVolumeApp_t(int32_t volumeId, std::string appName) : id(volumeId), AppName(std::move(appName)) {}

    int32_t id = -1;
    std::string AppName;
};

// ---------------------------------------------------------------------------
// Wire structures; all zeros (null pointers) when made.

#define YB_REPVOL_WIRE_V1_FIELDS          \
    int32_t id = 0;                       \
    int32_t PointInTime = 0;              \
    int32_t CreationTime = 0;             \
    int32_t ModifyTime = 0;               \
    int32_t CurrentState = 0;             \
    int32_t CurrentRole = 0;              \
    int32_t PrimaryVolumeId = 0;          \
    int32_t PhysicalVolumeId = 0;         \
    int32_t ReplicationPolicyId = 0;      \
    int32_t RVScratchVolumeId = 0;        \
    int32_t DoNotPrune = 0;

#define YB_REPVOL_WIRE_42_FIELDS  \
    YB_REPVOL_WIRE_V1_FIELDS      \
    int64_t JobId = 0;            \
    int32_t IsSnapActive = 0;     \
    int32_t ActivateSnap = 0;

#define YB_REPVOL_WIRE_V3_FIELDS  \
    YB_REPVOL_WIRE_42_FIELDS      \
    int32_t SnapVolumeId = 0;     \
    int32_t MorvaneVolume = 0;    \
    int32_t ShadowSnap = 0;       \
    int32_t TransportableSnap = 0;

#define YB_REPVOL_WIRE_V4_FIELDS  \
    YB_REPVOL_WIRE_V3_FIELDS      \
    int32_t SnapEngineType = 0;   \
    int32_t UpdateMap = 0;

struct repReplicationVolume {
    YB_REPVOL_WIRE_V1_FIELDS
};

struct repReplicationVolume42 {
    YB_REPVOL_WIRE_42_FIELDS
};

struct repReplicationVolumeV3 {
    YB_REPVOL_WIRE_V3_FIELDS
};

struct repReplicationVolumeV4 {
    YB_REPVOL_WIRE_V4_FIELDS
};

struct repReplicationVolumeV5 {
    YB_REPVOL_WIRE_V4_FIELDS
    char* SnapvaultReplicaDir = nullptr;
    char* SourceGUID = nullptr;
};

struct repYBVolumeApp {
    int32_t id = 0;
    char* AppName = nullptr;
};

#undef YB_REPVOL_WIRE_V4_FIELDS
#undef YB_REPVOL_WIRE_V3_FIELDS
#undef YB_REPVOL_WIRE_42_FIELDS
#undef YB_REPVOL_WIRE_V1_FIELDS

// ---------------------------------------------------------------------------
// Masks: versions 1, 42 and 3 fixed; 4 and 5 the record's UpdateMap, or
// GetFields when it is 0.

int32_t GetUpdateMap(const ReplicationVolumeRecord_t& record);    // 0x3ff
int32_t GetUpdateMap(const ReplicationVolumeRecord42_t& record);  // 0x1fff
int32_t GetUpdateMap(const ReplicationVolumeV3Record_t& record);  // 0x1ffff
int32_t GetUpdateMap(const ReplicationVolumeV4Record_t& record);
int32_t GetUpdateMap(const ReplicationVolumeV5Record_t& record);
int32_t GetFields(const ReplicationVolumeV4Record_t& record);     // 0x3ffff
int32_t GetFields(const ReplicationVolumeV5Record_t& record);     // 0x7ffff

// ---------------------------------------------------------------------------
// Conversions.

// Wire to record; UpdateMap is never read from the wire.
void YBSet(ReplicationVolumeRecord_t& dst, const repReplicationVolume& src);
void YBSet(ReplicationVolumeRecord42_t& dst, const repReplicationVolume42& src);
void YBSet(ReplicationVolumeV3Record_t& dst, const repReplicationVolumeV3& src);
void YBSet(ReplicationVolumeV4Record_t& dst, const repReplicationVolumeV4& src);
void YBSet(ReplicationVolumeV5Record_t& dst, const repReplicationVolumeV5& src);

// Record to wire: texts point into the record.
void YBSet(repReplicationVolume& dst, const ReplicationVolumeRecord_t& src);
void YBSet(repReplicationVolume42& dst, const ReplicationVolumeRecord42_t& src);
void YBSet(repReplicationVolumeV3& dst, const ReplicationVolumeV3Record_t& src);
void YBSet(repReplicationVolumeV4& dst, const ReplicationVolumeV4Record_t& src);
void YBSet(repReplicationVolumeV5& dst, const ReplicationVolumeV5Record_t& src);
void YBSet(repYBVolumeApp& dst, const YBVolumeApp_t& src);

// The absent replication volume of a reply.
void Invalidate(repReplicationVolume& dst);
void Invalidate(repReplicationVolume42& dst);
void Invalidate(repReplicationVolumeV3& dst);
void Invalidate(repReplicationVolumeV4& dst);
void Invalidate(repReplicationVolumeV5& dst);

// Table row to record.
void YBSet(ReplicationVolumeRecord_t& dst, const YBVolume_t& src);
void YBSet(ReplicationVolumeRecord42_t& dst, const YBVolume_t& src);
void YBSet(ReplicationVolumeV3Record_t& dst, const YBVolume_t& src);
void YBSet(ReplicationVolumeV4Record_t& dst, const YBVolume_t& src);
void YBSet(ReplicationVolumeV5Record_t& dst, const YBVolume_t& src);

// From cursor rows: every version from the volume list and the SNR volume
// cursors, version 5 from the subclient and browse cursors.
struct YBGetYBVolList_t;
struct YBGetSNRVolInfoByClientId_t;
struct YBGetSNRVolInfoByPoolId_t;
struct YBGetSNRVolumeById_t;
struct YBGetYBVolumesBySubclientId_t;
struct YBBrowseByClient1_t;
struct YBNASBrowseByClient1_t;
struct YBBrowseByPolicy1_t;
void YBSet(ReplicationVolumeRecord_t& dst, const YBGetYBVolList_t& src);
void YBSet(ReplicationVolumeRecord42_t& dst, const YBGetYBVolList_t& src);
void YBSet(ReplicationVolumeV3Record_t& dst, const YBGetYBVolList_t& src);
void YBSet(ReplicationVolumeV4Record_t& dst, const YBGetYBVolList_t& src);
void YBSet(ReplicationVolumeV5Record_t& dst, const YBGetYBVolList_t& src);
void YBSet(ReplicationVolumeRecord_t& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(ReplicationVolumeRecord42_t& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(ReplicationVolumeV3Record_t& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(ReplicationVolumeV4Record_t& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(ReplicationVolumeV5Record_t& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(ReplicationVolumeRecord_t& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(ReplicationVolumeRecord42_t& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(ReplicationVolumeV3Record_t& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(ReplicationVolumeV4Record_t& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(ReplicationVolumeV5Record_t& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(ReplicationVolumeRecord_t& dst, const YBGetSNRVolumeById_t& src);
void YBSet(ReplicationVolumeRecord42_t& dst, const YBGetSNRVolumeById_t& src);
void YBSet(ReplicationVolumeV3Record_t& dst, const YBGetSNRVolumeById_t& src);
void YBSet(ReplicationVolumeV4Record_t& dst, const YBGetSNRVolumeById_t& src);
void YBSet(ReplicationVolumeV5Record_t& dst, const YBGetSNRVolumeById_t& src);
void YBSet(ReplicationVolumeV5Record_t& dst, const YBGetYBVolumesBySubclientId_t& src);
void YBSet(ReplicationVolumeV5Record_t& dst, const YBBrowseByClient1_t& src);
void YBSet(ReplicationVolumeV5Record_t& dst, const YBNASBrowseByClient1_t& src);
void YBSet(ReplicationVolumeV5Record_t& dst, const YBBrowseByPolicy1_t& src);

// Record to row, with checks: 0 when the row is complete, else the
// field-mask bit of the first field refused, with errorCode -6 (negative
// id) or -18 (text too long).
int YBSet(YBVolume_t& dst, const ReplicationVolumeRecord_t& src, int& errorCode);
int YBSet(YBVolume_t& dst, const ReplicationVolumeRecord42_t& src, int& errorCode);
int YBSet(YBVolume_t& dst, const ReplicationVolumeV3Record_t& src, int& errorCode);
int YBSet(YBVolume_t& dst, const ReplicationVolumeV4Record_t& src, int& errorCode);
int YBSet(YBVolume_t& dst, const ReplicationVolumeV5Record_t& src, int& errorCode);

// List forms.
void YBSet(std::vector<ReplicationVolumeRecord_t>& dst, const YBVolume_t& src);
void YBSet(std::vector<ReplicationVolumeRecord42_t>& dst, const YBVolume_t& src);
void YBSet(std::vector<ReplicationVolumeV3Record_t>& dst, const YBVolume_t& src);
void YBSet(std::vector<ReplicationVolumeV4Record_t>& dst, const YBVolume_t& src);
void YBSet(std::vector<ReplicationVolumeV5Record_t>& dst, const YBVolume_t& src);
void YBSet(std::vector<ReplicationVolumeRecord_t>& dst, const YBGetYBVolList_t& src);
void YBSet(std::vector<ReplicationVolumeRecord42_t>& dst, const YBGetYBVolList_t& src);
void YBSet(std::vector<ReplicationVolumeV3Record_t>& dst, const YBGetYBVolList_t& src);
void YBSet(std::vector<ReplicationVolumeV4Record_t>& dst, const YBGetYBVolList_t& src);
void YBSet(std::vector<ReplicationVolumeV5Record_t>& dst, const YBGetYBVolList_t& src);
void YBSet(std::vector<ReplicationVolumeRecord_t>& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(std::vector<ReplicationVolumeRecord42_t>& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(std::vector<ReplicationVolumeV3Record_t>& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(std::vector<ReplicationVolumeV4Record_t>& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(std::vector<ReplicationVolumeV5Record_t>& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(std::vector<ReplicationVolumeRecord_t>& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(std::vector<ReplicationVolumeRecord42_t>& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(std::vector<ReplicationVolumeV3Record_t>& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(std::vector<ReplicationVolumeV4Record_t>& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(std::vector<ReplicationVolumeV5Record_t>& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(std::vector<ReplicationVolumeRecord_t>& dst, const YBGetSNRVolumeById_t& src);
void YBSet(std::vector<ReplicationVolumeRecord42_t>& dst, const YBGetSNRVolumeById_t& src);
void YBSet(std::vector<ReplicationVolumeV3Record_t>& dst, const YBGetSNRVolumeById_t& src);
void YBSet(std::vector<ReplicationVolumeV4Record_t>& dst, const YBGetSNRVolumeById_t& src);
void YBSet(std::vector<ReplicationVolumeV5Record_t>& dst, const YBGetSNRVolumeById_t& src);
void YBSet(std::vector<ReplicationVolumeV5Record_t>& dst, const YBGetYBVolumesBySubclientId_t& src);
void YBSet(std::vector<ReplicationVolumeV5Record_t>& dst, const YBBrowseByClient1_t& src);
void YBSet(std::vector<ReplicationVolumeV5Record_t>& dst, const YBNASBrowseByClient1_t& src);
void YBSet(std::vector<ReplicationVolumeV5Record_t>& dst, const YBBrowseByPolicy1_t& src);

void YBSet(repReplicationVolume* dst, const std::vector<ReplicationVolumeRecord_t>& src);
void YBSet(repReplicationVolume42* dst, const std::vector<ReplicationVolumeRecord42_t>& src);
void YBSet(repReplicationVolumeV3* dst, const std::vector<ReplicationVolumeV3Record_t>& src);
void YBSet(repReplicationVolumeV4* dst, const std::vector<ReplicationVolumeV4Record_t>& src);
void YBSet(repReplicationVolumeV5* dst, const std::vector<ReplicationVolumeV5Record_t>& src);
void YBSet(repYBVolumeApp* dst, const std::vector<YBVolumeApp_t>& src);

extern template bool CopyVectorToMsg(repReplicationVolume**, const std::vector<ReplicationVolumeRecord_t>&);
extern template bool CopyVectorToMsg(repReplicationVolume42**, const std::vector<ReplicationVolumeRecord42_t>&);
extern template bool CopyVectorToMsg(repReplicationVolumeV3**, const std::vector<ReplicationVolumeV3Record_t>&);
extern template bool CopyVectorToMsg(repReplicationVolumeV4**, const std::vector<ReplicationVolumeV4Record_t>&);
extern template bool CopyVectorToMsg(repReplicationVolumeV5**, const std::vector<ReplicationVolumeV5Record_t>&);
extern template bool CopyVectorToMsg(repYBVolumeApp**, const std::vector<YBVolumeApp_t>&);
