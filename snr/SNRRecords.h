// The YBSet conversions between the SNR records, their wire structures and the
// rows of host/db/SNRTables.h, the masks and kinds of a record, and the reply
// arrays; includes the record and wire headers, so one include brings them all.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/db/SNRTables.h"
#include "rows/YBDBDst.h"
#include "service/Utils.h"
#include "snr/SNREntityRecords.h"
#include "snr/SNRWireStructures.h"

// ---------------------------------------------------------------------------
// Masks and kinds of a record.

int32_t GetUpdateMap(const SNRVolumeRecord_t& record);    // always 0x7f
int32_t GetUpdateMap(const SNRVolumeRecord42_t& record);  // always 0xff
int32_t GetUpdateMap(const SNRVolumeRecordV3_t& record);  // UpdateMap, or GetFields when 0
int32_t GetUpdateMap(const SNRVolumeRecordV4_t& record);
int32_t GetFields(const SNRVolumeRecordV3_t& record);     // 0x1fff
int32_t GetFields(const SNRVolumeRecordV4_t& record);     // 0x3fff, 0xffff for a NAS volume

bool isNasVolume(const SNRVolumeRecord_t& record);
bool isNasVolume(const SNRVolumeRecordV3_t& record);
bool isNasVolume(const SNRVolumeRecordV4_t& record);      // VolType 2 to 6

bool GetMorvaneProtected(const SNRVolumeRecord_t& record);
bool GetMorvaneProtected(const SNRVolumeRecordV3_t& record);
int32_t GetMorvaneState(const SNRVolumeRecord_t& record);
int32_t GetMorvaneState(const SNRVolumeRecordV3_t& record);

int32_t GetUpdateMap(const SNRVolumeDeviceNameRecord_t& record);    // always 0x1f
int32_t GetUpdateMap(const SNRVolumeDeviceNameV3Record_t& record);  // UpdateMap, or GetFields when 0
int32_t GetUpdateMap(const SNRVolumeDeviceNameV4Record_t& record);
int32_t GetFields(const SNRVolumeDeviceNameV3Record_t& record);     // 0x1ff
int32_t GetFields(const SNRVolumeDeviceNameV4Record_t& record);     // 0x3ff

// ---------------------------------------------------------------------------
// Conversions.

// Wire to record.
void YBSet(SNRVolumeRecord_t& dst, const repSNRVolume& src);
void YBSet(SNRVolumeRecord42_t& dst, const repSNRVolume42& src);
void YBSet(SNRVolumeRecordV3_t& dst, const repSNRVolumeV3& src);
void YBSet(SNRVolumeRecordV4_t& dst, const repSNRVolumeV4& src);
void YBSet(SNRVolumeDeviceNameRecord_t& dst, const repSNRVolumeDeviceName& src);
void YBSet(SNRVolumeDeviceNameV2Record_t& dst, const repSNRVolumeDeviceNameV2& src);
void YBSet(SNRVolumeDeviceNameV3Record_t& dst, const repSNRVolumeDeviceNameV3& src);
void YBSet(SNRVolumeDeviceNameV4Record_t& dst, const repSNRVolumeDeviceNameV4& src);
void YBSet(SNRVolumeMountPointRecord_t& dst, const repSNRVolumeMountPoint& src);
void YBSet(MorvaneHistoryNameRecord_t& dst, const repYBTzHistoryNameRec& src);

// Record to wire: the texts point into the record, which must outlive the
// wire structure unchanged.
void YBSet(repSNRVolume& dst, const SNRVolumeRecord_t& src);
void YBSet(repSNRVolume42& dst, const SNRVolumeRecord42_t& src);
void YBSet(repSNRVolumeV3& dst, const SNRVolumeRecordV3_t& src);
void YBSet(repSNRVolumeV4& dst, const SNRVolumeRecordV4_t& src);
void YBSet(repSNRVolumeDeviceName& dst, const SNRVolumeDeviceNameRecord_t& src);
void YBSet(repSNRVolumeDeviceNameV2& dst, const SNRVolumeDeviceNameV2Record_t& src);
void YBSet(repSNRVolumeDeviceNameV3& dst, const SNRVolumeDeviceNameV3Record_t& src);
void YBSet(repSNRVolumeDeviceNameV4& dst, const SNRVolumeDeviceNameV4Record_t& src);
void YBSet(repSNRVolumeMountPoint& dst, const SNRVolumeMountPointRecord_t& src);
void YBSet(repYBTzHistoryNameRec& dst, const MorvaneHistoryNameRecord_t& src);

// Table row to record.
void YBSet(SNRVolumeRecord_t& dst, const YBPhysicalVolume_t& src);
void YBSet(SNRVolumeRecord42_t& dst, const YBPhysicalVolume_t& src);
void YBSet(SNRVolumeRecordV3_t& dst, const YBPhysicalVolume_t& src);
void YBSet(SNRVolumeRecordV4_t& dst, const YBPhysicalVolume_t& src);
void YBSet(SNRVolumeDeviceNameRecord_t& dst, const YBPhysicalDevice_t& src);
void YBSet(SNRVolumeDeviceNameV2Record_t& dst, const YBPhysicalDevice_t& src);
void YBSet(SNRVolumeDeviceNameV3Record_t& dst, const YBPhysicalDevice_t& src);
void YBSet(SNRVolumeDeviceNameV4Record_t& dst, const YBPhysicalDevice_t& src);
void YBSet(SNRVolumeMountPointRecord_t& dst, const YBMountPoint_t& src);

// Cursor row to record: the SNR volume cursors, the device cursors by client,
// by pool and by SNR volume, and the mount-point cursors.
struct YBGetSNRVolInfoByClientId_t;
struct YBGetSNRVolInfoByPoolId_t;
struct YBGetSNRVolumeById_t;
struct YBGetSNRDeviceByClientId_t;
struct YBGetSNRDeviceByPoolId_t;
struct YBGetSNRDeviceNameBySNRVolId_t;
struct YBGetSNRMountPointByClientId_t;
struct YBGetSNRMountPointByPoolId_t;
struct YBGetSNRMountPointBySNRDevId_t;

void YBSet(SNRVolumeRecord_t& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(SNRVolumeRecord42_t& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(SNRVolumeRecordV3_t& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(SNRVolumeRecordV4_t& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(SNRVolumeRecord_t& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(SNRVolumeRecord42_t& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(SNRVolumeRecordV3_t& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(SNRVolumeRecordV4_t& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(SNRVolumeRecord_t& dst, const YBGetSNRVolumeById_t& src);
void YBSet(SNRVolumeRecord42_t& dst, const YBGetSNRVolumeById_t& src);
void YBSet(SNRVolumeRecordV3_t& dst, const YBGetSNRVolumeById_t& src);
void YBSet(SNRVolumeRecordV4_t& dst, const YBGetSNRVolumeById_t& src);
void YBSet(SNRVolumeDeviceNameRecord_t& dst, const YBGetSNRDeviceByClientId_t& src);
void YBSet(SNRVolumeDeviceNameV2Record_t& dst, const YBGetSNRDeviceByClientId_t& src);
void YBSet(SNRVolumeDeviceNameV3Record_t& dst, const YBGetSNRDeviceByClientId_t& src);
void YBSet(SNRVolumeDeviceNameV4Record_t& dst, const YBGetSNRDeviceByClientId_t& src);
void YBSet(SNRVolumeDeviceNameRecord_t& dst, const YBGetSNRDeviceByPoolId_t& src);
void YBSet(SNRVolumeDeviceNameV2Record_t& dst, const YBGetSNRDeviceByPoolId_t& src);
void YBSet(SNRVolumeDeviceNameV3Record_t& dst, const YBGetSNRDeviceByPoolId_t& src);
void YBSet(SNRVolumeDeviceNameV4Record_t& dst, const YBGetSNRDeviceByPoolId_t& src);
void YBSet(SNRVolumeDeviceNameRecord_t& dst, const YBGetSNRDeviceNameBySNRVolId_t& src);
void YBSet(SNRVolumeDeviceNameV2Record_t& dst, const YBGetSNRDeviceNameBySNRVolId_t& src);
void YBSet(SNRVolumeDeviceNameV3Record_t& dst, const YBGetSNRDeviceNameBySNRVolId_t& src);
void YBSet(SNRVolumeDeviceNameV4Record_t& dst, const YBGetSNRDeviceNameBySNRVolId_t& src);
void YBSet(SNRVolumeMountPointRecord_t& dst, const YBGetSNRMountPointByClientId_t& src);
void YBSet(SNRVolumeMountPointRecord_t& dst, const YBGetSNRMountPointByPoolId_t& src);
void YBSet(SNRVolumeMountPointRecord_t& dst, const YBGetSNRMountPointBySNRDevId_t& src);

// Record to row for an insert: overwrites only the record's columns; never
// writes id nor the Locked and Allocated bits; tests no length (the callers
// do) but never writes past a column.
void YBSet(YBPhysicalVolume_t& dst, const SNRVolumeRecord_t& src);
void YBSet(YBPhysicalVolume_t& dst, const SNRVolumeRecord42_t& src);
void YBSet(YBPhysicalVolume_t& dst, const SNRVolumeRecordV3_t& src);
void YBSet(YBPhysicalVolume_t& dst, const SNRVolumeRecordV4_t& src);
void YBSet(YBMountPoint_t& dst, const SNRVolumeMountPointRecord_t& src);

// Record to row for an update, with length checks: 0, or the field-mask bit
// of the text that is too long (code -18 and its message in the destination).
int YBSet(YBDBDst_t<YBPhysicalVolume_t>& dst, const SNRVolumeRecord_t& src);
int YBSet(YBDBDst_t<YBPhysicalVolume_t>& dst, const SNRVolumeRecord42_t& src);
int YBSet(YBDBDst_t<YBPhysicalVolume_t>& dst, const SNRVolumeRecordV3_t& src);
int YBSet(YBDBDst_t<YBPhysicalVolume_t>& dst, const SNRVolumeRecordV4_t& src);

// Record to device row, with length checks: false when a text is too long.
bool YBSet(YBDBDst_t<YBPhysicalDevice_t>& dst, const SNRVolumeDeviceNameRecord_t& src);
bool YBSet(YBDBDst_t<YBPhysicalDevice_t>& dst, const SNRVolumeDeviceNameV2Record_t& src);
bool YBSet(YBDBDst_t<YBPhysicalDevice_t>& dst, const SNRVolumeDeviceNameV3Record_t& src);
bool YBSet(YBDBDst_t<YBPhysicalDevice_t>& dst, const SNRVolumeDeviceNameV4Record_t& src);

// List forms: one record appended per row.
void YBSet(std::vector<SNRVolumeRecord_t>& dst, const YBPhysicalVolume_t& src);
void YBSet(std::vector<SNRVolumeRecord42_t>& dst, const YBPhysicalVolume_t& src);
void YBSet(std::vector<SNRVolumeRecordV3_t>& dst, const YBPhysicalVolume_t& src);
void YBSet(std::vector<SNRVolumeRecordV4_t>& dst, const YBPhysicalVolume_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameRecord_t>& dst, const YBPhysicalDevice_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameV2Record_t>& dst, const YBPhysicalDevice_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameV3Record_t>& dst, const YBPhysicalDevice_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameV4Record_t>& dst, const YBPhysicalDevice_t& src);
void YBSet(std::vector<SNRVolumeMountPointRecord_t>& dst, const YBMountPoint_t& src);
void YBSet(std::vector<SNRVolumeRecord_t>& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(std::vector<SNRVolumeRecord42_t>& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(std::vector<SNRVolumeRecordV3_t>& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(std::vector<SNRVolumeRecordV4_t>& dst, const YBGetSNRVolInfoByClientId_t& src);
void YBSet(std::vector<SNRVolumeRecord_t>& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(std::vector<SNRVolumeRecord42_t>& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(std::vector<SNRVolumeRecordV3_t>& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(std::vector<SNRVolumeRecordV4_t>& dst, const YBGetSNRVolInfoByPoolId_t& src);
void YBSet(std::vector<SNRVolumeRecord_t>& dst, const YBGetSNRVolumeById_t& src);
void YBSet(std::vector<SNRVolumeRecord42_t>& dst, const YBGetSNRVolumeById_t& src);
void YBSet(std::vector<SNRVolumeRecordV3_t>& dst, const YBGetSNRVolumeById_t& src);
void YBSet(std::vector<SNRVolumeRecordV4_t>& dst, const YBGetSNRVolumeById_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameRecord_t>& dst, const YBGetSNRDeviceByClientId_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameV2Record_t>& dst, const YBGetSNRDeviceByClientId_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameV3Record_t>& dst, const YBGetSNRDeviceByClientId_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameV4Record_t>& dst, const YBGetSNRDeviceByClientId_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameRecord_t>& dst, const YBGetSNRDeviceByPoolId_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameV2Record_t>& dst, const YBGetSNRDeviceByPoolId_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameV3Record_t>& dst, const YBGetSNRDeviceByPoolId_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameV4Record_t>& dst, const YBGetSNRDeviceByPoolId_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameRecord_t>& dst, const YBGetSNRDeviceNameBySNRVolId_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameV2Record_t>& dst, const YBGetSNRDeviceNameBySNRVolId_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameV3Record_t>& dst, const YBGetSNRDeviceNameBySNRVolId_t& src);
void YBSet(std::vector<SNRVolumeDeviceNameV4Record_t>& dst, const YBGetSNRDeviceNameBySNRVolId_t& src);
void YBSet(std::vector<SNRVolumeMountPointRecord_t>& dst, const YBGetSNRMountPointByClientId_t& src);
void YBSet(std::vector<SNRVolumeMountPointRecord_t>& dst, const YBGetSNRMountPointByPoolId_t& src);
void YBSet(std::vector<SNRVolumeMountPointRecord_t>& dst, const YBGetSNRMountPointBySNRDevId_t& src);

// List forms: element i of the array from record i, in order.
void YBSet(repSNRVolume* dst, const std::vector<SNRVolumeRecord_t>& src);
void YBSet(repSNRVolume42* dst, const std::vector<SNRVolumeRecord42_t>& src);
void YBSet(repSNRVolumeV3* dst, const std::vector<SNRVolumeRecordV3_t>& src);
void YBSet(repSNRVolumeV4* dst, const std::vector<SNRVolumeRecordV4_t>& src);
void YBSet(repSNRVolumeDeviceName* dst, const std::vector<SNRVolumeDeviceNameRecord_t>& src);
void YBSet(repSNRVolumeDeviceNameV2* dst, const std::vector<SNRVolumeDeviceNameV2Record_t>& src);
void YBSet(repSNRVolumeDeviceNameV3* dst, const std::vector<SNRVolumeDeviceNameV3Record_t>& src);
void YBSet(repSNRVolumeDeviceNameV4* dst, const std::vector<SNRVolumeDeviceNameV4Record_t>& src);
void YBSet(repSNRVolumeMountPoint* dst, const std::vector<SNRVolumeMountPointRecord_t>& src);

// Reply arrays, one instance per wire type (compiled once, in the library).
extern template bool CopyVectorToMsg(repSNRVolume**, const std::vector<SNRVolumeRecord_t>&);
extern template bool CopyVectorToMsg(repSNRVolume42**, const std::vector<SNRVolumeRecord42_t>&);
extern template bool CopyVectorToMsg(repSNRVolumeV3**, const std::vector<SNRVolumeRecordV3_t>&);
extern template bool CopyVectorToMsg(repSNRVolumeV4**, const std::vector<SNRVolumeRecordV4_t>&);
extern template bool CopyVectorToMsg(repSNRVolumeDeviceName**, const std::vector<SNRVolumeDeviceNameRecord_t>&);
extern template bool CopyVectorToMsg(repSNRVolumeDeviceNameV2**, const std::vector<SNRVolumeDeviceNameV2Record_t>&);
extern template bool CopyVectorToMsg(repSNRVolumeDeviceNameV3**, const std::vector<SNRVolumeDeviceNameV3Record_t>&);
extern template bool CopyVectorToMsg(repSNRVolumeDeviceNameV4**, const std::vector<SNRVolumeDeviceNameV4Record_t>&);
extern template bool CopyVectorToMsg(repSNRVolumeMountPoint**, const std::vector<SNRVolumeMountPointRecord_t>&);
