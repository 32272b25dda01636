// Field-mask labels, update masks and YBSet conversions of replication
// volumes: each overload calls the setter of the highest version of its
// pair.
#include "replicas/ReplicaSetters.h"

#include "rows/Db/Cursor/YBBrowseByClient1.h"
#include "rows/Db/Cursor/YBBrowseByPolicy1.h"
#include "rows/Db/Cursor/YBGetSNRVolInfoByClientId.h"
#include "rows/Db/Cursor/YBGetSNRVolInfoByPoolId.h"
#include "rows/Db/Cursor/YBGetSNRVolumeById.h"
#include "rows/Db/Cursor/YBGetYBVolList.h"
#include "rows/Db/Cursor/YBGetYBVolumesBySubclientId.h"
#include "rows/Db/Cursor/YBNASBrowseByClient1.h"

#include <utility>

namespace {

struct FieldLabel {
    int bit;
    const char* label;
};

const FieldLabel kFieldLabels[] = {
    {YB_VOL_ID, "YB Volume Id"},
    {YB_VOL_POINT_IN_TIME, "YB Volume Point in Time"},
    {YB_VOL_CREATION_TIME, "YB Volume creation time"},
    {YB_VOL_MODIFY_TIME, "YB Volume Modify Time"},
    {YB_VOL_CURRENT_STATE, "YB Volume current state"},
    {YB_VOL_CURRENT_ROLE, "YB Volume Current Role"},
    {YB_VOL_PRIMARY_VOL_ID, "YB Volume Primary Volume Id"},
    {YB_VOL_PHYSICAL_VOL_ID, "YB Volume Physical Volume Id"},
    {YB_VOL_YB_POLICY_ID, "YB Volume Policy Id"},
    {YB_VOL_SCRATCH_VOL_ID, "YB Volume scratch volume Id"},
    {YB_VOL_DO_NOT_PRUNE, "YB Volume Do Not Prune flag"},
    {YB_VOL_JOB_ID, "YB Volume Job Id"},
    {YB_VOL_IS_SNAP_ACTIVE, "YB Volume Snap Active flag"},
    {YB_VOL_ACTIVATE_SNAP, "YB Volume Activate Snap flag"},
    {YB_VOL_SNAP_VOL_ID, "YB Volume Snap Volume Id"},
    {YB_VOL_MORVANE_VOL, "YB Volume Morvane Volume flag"},
    {YB_VOL_SHADOW_SNAP, "YB Volume ShadowCopy snapshot flag"},
    {YB_VOL_TRANSPORTABLE_SNAP, "YB Volume Transportable snapshot flag"},
    {YB_VOL_SNAP_ENGINE_TYPE, "YB Volume snap engine type"},
    {YB_VOL_SNAPVAULT_DIR, "YB Volume Snapvault Replica directory"},
    {YB_VOL_SOURCE_GUID, "YB Volume Source GUID"},
};

}  // namespace

const char* GetYBVolumeFieldName(int bit)
{
    for (const FieldLabel& entry : kFieldLabels) {
        if (entry.bit == bit) return entry.label;
    }
    return "";
}

int32_t GetUpdateMap(const ReplicationVolumeRecord_t&) { return 0x3ff; }
int32_t GetUpdateMap(const ReplicationVolumeRecord42_t&) { return 0x1fff; }
int32_t GetUpdateMap(const ReplicationVolumeV3Record_t&) { return 0x1ffff; }

int32_t GetUpdateMap(const ReplicationVolumeV4Record_t& record)
{
    return record.UpdateMap != 0 ? record.UpdateMap : GetFields(record);
}

int32_t GetUpdateMap(const ReplicationVolumeV5Record_t& record)
{
    return record.UpdateMap != 0 ? record.UpdateMap : GetFields(record);
}

int32_t GetFields(const ReplicationVolumeV4Record_t&) { return 0x3ffff; }

// An update never changes SourceGUID: its bit is not part of the mask.
int32_t GetFields(const ReplicationVolumeV5Record_t&) { return 0x7ffff; }

void YBSet(ReplicationVolumeRecord_t& dst, const repReplicationVolume& src) { SetRepVolRecV1(dst, src); }
void YBSet(ReplicationVolumeRecord42_t& dst, const repReplicationVolume42& src) { SetRepVolRecV2(dst, src); }
void YBSet(ReplicationVolumeV3Record_t& dst, const repReplicationVolumeV3& src) { SetRepVolRecV3(dst, src); }
void YBSet(ReplicationVolumeV4Record_t& dst, const repReplicationVolumeV4& src) { SetRepVolRecV4(dst, src); }
void YBSet(ReplicationVolumeV5Record_t& dst, const repReplicationVolumeV5& src) { SetRepVolRecV5(dst, src); }

void YBSet(repReplicationVolume& dst, const ReplicationVolumeRecord_t& src) { SetRepVolMsgV1(dst, src); }
void YBSet(repReplicationVolume42& dst, const ReplicationVolumeRecord42_t& src) { SetRepVolMsgV2(dst, src); }
void YBSet(repReplicationVolumeV3& dst, const ReplicationVolumeV3Record_t& src) { SetRepVolMsgV3(dst, src); }
void YBSet(repReplicationVolumeV4& dst, const ReplicationVolumeV4Record_t& src) { SetRepVolMsgV4(dst, src); }
void YBSet(repReplicationVolumeV5& dst, const ReplicationVolumeV5Record_t& src) { SetRepVolMsgV5(dst, src); }

void YBSet(repYBVolumeApp& dst, const YBVolumeApp_t& src)
{
    dst.id = src.id;
    dst.AppName = YBWireText(src.AppName);
}

void Invalidate(repReplicationVolume& dst) { InvalidateRepVolMsgV1(dst); }
void Invalidate(repReplicationVolume42& dst) { InvalidateRepVolMsgV2(dst); }
void Invalidate(repReplicationVolumeV3& dst) { InvalidateRepVolMsgV3(dst); }
void Invalidate(repReplicationVolumeV4& dst) { InvalidateRepVolMsgV4(dst); }
void Invalidate(repReplicationVolumeV5& dst) { InvalidateRepVolMsgV5(dst); }

void YBSet(ReplicationVolumeRecord_t& dst, const YBVolume_t& src) { SetRepVolRecV1FromDB(dst, src); }
void YBSet(ReplicationVolumeRecord42_t& dst, const YBVolume_t& src) { SetRepVolRecV2FromDB(dst, src); }
void YBSet(ReplicationVolumeV3Record_t& dst, const YBVolume_t& src) { SetRepVolRecV3FromDB(dst, src); }
void YBSet(ReplicationVolumeV4Record_t& dst, const YBVolume_t& src) { SetRepVolRecV4FromDB(dst, src); }
void YBSet(ReplicationVolumeV5Record_t& dst, const YBVolume_t& src) { SetRepVolRecV5FromDB(dst, src); }

// Cursor row to record: every version from the volume list and the SNR
// volume cursors, version 5 from the subclient and browse cursors.
void YBSet(ReplicationVolumeRecord_t& dst, const YBGetYBVolList_t& src) { SetRepVolRecV1FromDB(dst, src); }
void YBSet(ReplicationVolumeRecord42_t& dst, const YBGetYBVolList_t& src) { SetRepVolRecV2FromDB(dst, src); }
void YBSet(ReplicationVolumeV3Record_t& dst, const YBGetYBVolList_t& src) { SetRepVolRecV3FromDB(dst, src); }
void YBSet(ReplicationVolumeV4Record_t& dst, const YBGetYBVolList_t& src) { SetRepVolRecV4FromDB(dst, src); }
void YBSet(ReplicationVolumeV5Record_t& dst, const YBGetYBVolList_t& src) { SetRepVolRecV5FromDB(dst, src); }
void YBSet(ReplicationVolumeRecord_t& dst, const YBGetSNRVolInfoByClientId_t& src) { SetRepVolRecV1FromDB(dst, src); }
void YBSet(ReplicationVolumeRecord42_t& dst, const YBGetSNRVolInfoByClientId_t& src) { SetRepVolRecV2FromDB(dst, src); }
void YBSet(ReplicationVolumeV3Record_t& dst, const YBGetSNRVolInfoByClientId_t& src) { SetRepVolRecV3FromDB(dst, src); }
void YBSet(ReplicationVolumeV4Record_t& dst, const YBGetSNRVolInfoByClientId_t& src) { SetRepVolRecV4FromDB(dst, src); }
void YBSet(ReplicationVolumeV5Record_t& dst, const YBGetSNRVolInfoByClientId_t& src) { SetRepVolRecV5FromDB(dst, src); }
void YBSet(ReplicationVolumeRecord_t& dst, const YBGetSNRVolInfoByPoolId_t& src) { SetRepVolRecV1FromDB(dst, src); }
void YBSet(ReplicationVolumeRecord42_t& dst, const YBGetSNRVolInfoByPoolId_t& src) { SetRepVolRecV2FromDB(dst, src); }
void YBSet(ReplicationVolumeV3Record_t& dst, const YBGetSNRVolInfoByPoolId_t& src) { SetRepVolRecV3FromDB(dst, src); }
void YBSet(ReplicationVolumeV4Record_t& dst, const YBGetSNRVolInfoByPoolId_t& src) { SetRepVolRecV4FromDB(dst, src); }
void YBSet(ReplicationVolumeV5Record_t& dst, const YBGetSNRVolInfoByPoolId_t& src) { SetRepVolRecV5FromDB(dst, src); }
void YBSet(ReplicationVolumeRecord_t& dst, const YBGetSNRVolumeById_t& src) { SetRepVolRecV1FromDB(dst, src); }
void YBSet(ReplicationVolumeRecord42_t& dst, const YBGetSNRVolumeById_t& src) { SetRepVolRecV2FromDB(dst, src); }
void YBSet(ReplicationVolumeV3Record_t& dst, const YBGetSNRVolumeById_t& src) { SetRepVolRecV3FromDB(dst, src); }
void YBSet(ReplicationVolumeV4Record_t& dst, const YBGetSNRVolumeById_t& src) { SetRepVolRecV4FromDB(dst, src); }
void YBSet(ReplicationVolumeV5Record_t& dst, const YBGetSNRVolumeById_t& src) { SetRepVolRecV5FromDB(dst, src); }
void YBSet(ReplicationVolumeV5Record_t& dst, const YBGetYBVolumesBySubclientId_t& src) { SetRepVolRecV5FromDB(dst, src); }
void YBSet(ReplicationVolumeV5Record_t& dst, const YBBrowseByClient1_t& src) { SetRepVolRecV5FromDB(dst, src); }
void YBSet(ReplicationVolumeV5Record_t& dst, const YBNASBrowseByClient1_t& src) { SetRepVolRecV5FromDB(dst, src); }
void YBSet(ReplicationVolumeV5Record_t& dst, const YBBrowseByPolicy1_t& src) { SetRepVolRecV5FromDB(dst, src); }

int YBSet(YBVolume_t& dst, const ReplicationVolumeRecord_t& src, int& errorCode) { return SetRepVolDBV1(dst, src, errorCode); }
int YBSet(YBVolume_t& dst, const ReplicationVolumeRecord42_t& src, int& errorCode) { return SetRepVolDBV2(dst, src, errorCode); }
int YBSet(YBVolume_t& dst, const ReplicationVolumeV3Record_t& src, int& errorCode) { return SetRepVolDBV3(dst, src, errorCode); }
int YBSet(YBVolume_t& dst, const ReplicationVolumeV4Record_t& src, int& errorCode) { return SetRepVolDBV4(dst, src, errorCode); }
int YBSet(YBVolume_t& dst, const ReplicationVolumeV5Record_t& src, int& errorCode) { return SetRepVolDBV5(dst, src, errorCode); }

void YBSet(std::vector<ReplicationVolumeRecord_t>& dst, const YBVolume_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeRecord42_t>& dst, const YBVolume_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeV3Record_t>& dst, const YBVolume_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeV4Record_t>& dst, const YBVolume_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeV5Record_t>& dst, const YBVolume_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeRecord_t>& dst, const YBGetYBVolList_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeRecord42_t>& dst, const YBGetYBVolList_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeV3Record_t>& dst, const YBGetYBVolList_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeV4Record_t>& dst, const YBGetYBVolList_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeV5Record_t>& dst, const YBGetYBVolList_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeRecord_t>& dst, const YBGetSNRVolInfoByClientId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeRecord42_t>& dst, const YBGetSNRVolInfoByClientId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeV3Record_t>& dst, const YBGetSNRVolInfoByClientId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeV4Record_t>& dst, const YBGetSNRVolInfoByClientId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeV5Record_t>& dst, const YBGetSNRVolInfoByClientId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeRecord_t>& dst, const YBGetSNRVolInfoByPoolId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeRecord42_t>& dst, const YBGetSNRVolInfoByPoolId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeV3Record_t>& dst, const YBGetSNRVolInfoByPoolId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeV4Record_t>& dst, const YBGetSNRVolInfoByPoolId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeV5Record_t>& dst, const YBGetSNRVolInfoByPoolId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeRecord_t>& dst, const YBGetSNRVolumeById_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeRecord42_t>& dst, const YBGetSNRVolumeById_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeV3Record_t>& dst, const YBGetSNRVolumeById_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeV4Record_t>& dst, const YBGetSNRVolumeById_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeV5Record_t>& dst, const YBGetSNRVolumeById_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeV5Record_t>& dst, const YBGetYBVolumesBySubclientId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeV5Record_t>& dst, const YBBrowseByClient1_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeV5Record_t>& dst, const YBNASBrowseByClient1_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationVolumeV5Record_t>& dst, const YBBrowseByPolicy1_t& src) { YBAppendFromRow(dst, src); }

void YBSet(repReplicationVolume* dst, const std::vector<ReplicationVolumeRecord_t>& src) { YBSetArray(dst, src); }
void YBSet(repReplicationVolume42* dst, const std::vector<ReplicationVolumeRecord42_t>& src) { YBSetArray(dst, src); }
void YBSet(repReplicationVolumeV3* dst, const std::vector<ReplicationVolumeV3Record_t>& src) { YBSetArray(dst, src); }
void YBSet(repReplicationVolumeV4* dst, const std::vector<ReplicationVolumeV4Record_t>& src) { YBSetArray(dst, src); }
void YBSet(repReplicationVolumeV5* dst, const std::vector<ReplicationVolumeV5Record_t>& src) { YBSetArray(dst, src); }
void YBSet(repYBVolumeApp* dst, const std::vector<YBVolumeApp_t>& src) { YBSetArray(dst, src); }

template bool CopyVectorToMsg(repReplicationVolume**, const std::vector<ReplicationVolumeRecord_t>&);
template bool CopyVectorToMsg(repReplicationVolume42**, const std::vector<ReplicationVolumeRecord42_t>&);
template bool CopyVectorToMsg(repReplicationVolumeV3**, const std::vector<ReplicationVolumeV3Record_t>&);
template bool CopyVectorToMsg(repReplicationVolumeV4**, const std::vector<ReplicationVolumeV4Record_t>&);
template bool CopyVectorToMsg(repReplicationVolumeV5**, const std::vector<ReplicationVolumeV5Record_t>&);
template bool CopyVectorToMsg(repYBVolumeApp**, const std::vector<YBVolumeApp_t>&);
