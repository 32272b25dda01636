// YBSet conversions of SNR volumes, devices, mount points and history names:
// each overload calls the setter of the highest version of its pair.
#include "snr/SNRSetters.h"

#include "rows/Db/Cursor/YBGetSNRDeviceByClientId.h"
#include "rows/Db/Cursor/YBGetSNRDeviceByPoolId.h"
#include "rows/Db/Cursor/YBGetSNRDeviceNameBySNRVolId.h"
#include "rows/Db/Cursor/YBGetSNRMountPointByClientId.h"
#include "rows/Db/Cursor/YBGetSNRMountPointByPoolId.h"
#include "rows/Db/Cursor/YBGetSNRMountPointBySNRDevId.h"
#include "rows/Db/Cursor/YBGetSNRVolInfoByClientId.h"
#include "rows/Db/Cursor/YBGetSNRVolInfoByPoolId.h"
#include "rows/Db/Cursor/YBGetSNRVolumeById.h"

// Wire to record.
void YBSet(SNRVolumeRecord_t& dst, const repSNRVolume& src) { SetVolRecV1(dst, src); }
void YBSet(SNRVolumeRecord42_t& dst, const repSNRVolume42& src) { SetVolRecV2(dst, src); }
void YBSet(SNRVolumeRecordV3_t& dst, const repSNRVolumeV3& src) { SetVolRecV3(dst, src); }
void YBSet(SNRVolumeRecordV4_t& dst, const repSNRVolumeV4& src) { SetVolRecV4(dst, src); }
void YBSet(SNRVolumeDeviceNameRecord_t& dst, const repSNRVolumeDeviceName& src) { SetDevRecV1(dst, src); }
void YBSet(SNRVolumeDeviceNameV2Record_t& dst, const repSNRVolumeDeviceNameV2& src) { SetDevRecV2(dst, src); }
void YBSet(SNRVolumeDeviceNameV3Record_t& dst, const repSNRVolumeDeviceNameV3& src) { SetDevRecV3(dst, src); }
void YBSet(SNRVolumeDeviceNameV4Record_t& dst, const repSNRVolumeDeviceNameV4& src) { SetDevRecV4(dst, src); }

void YBSet(SNRVolumeMountPointRecord_t& dst, const repSNRVolumeMountPoint& src)
{
    dst.id = src.id;
    dst.DeviceNameId = src.DeviceNameId;
    dst.Path = YBTextFromWire(src.Path);
    dst.IsCaseSensitive = YBBoolFromWire(src.IsCaseSensitive);
    dst.Unmounted = YBBoolFromWire(src.Unmounted);
}

void YBSet(MorvaneHistoryNameRecord_t& dst, const repYBTzHistoryNameRec& src)
{
    dst.DeviceId = src.DeviceId;
    dst.GlobalHistoryName = YBTextFromWire(src.GlobalHistoryName);
}

// Record to wire.
void YBSet(repSNRVolume& dst, const SNRVolumeRecord_t& src) { SetVolMsgV1(dst, src); }
void YBSet(repSNRVolume42& dst, const SNRVolumeRecord42_t& src) { SetVolMsgV2(dst, src); }
void YBSet(repSNRVolumeV3& dst, const SNRVolumeRecordV3_t& src) { SetVolMsgV3(dst, src); }
void YBSet(repSNRVolumeV4& dst, const SNRVolumeRecordV4_t& src) { SetVolMsgV4(dst, src); }
void YBSet(repSNRVolumeDeviceName& dst, const SNRVolumeDeviceNameRecord_t& src) { SetDevMsgV1(dst, src); }
void YBSet(repSNRVolumeDeviceNameV2& dst, const SNRVolumeDeviceNameV2Record_t& src) { SetDevMsgV2(dst, src); }
void YBSet(repSNRVolumeDeviceNameV3& dst, const SNRVolumeDeviceNameV3Record_t& src) { SetDevMsgV3(dst, src); }
void YBSet(repSNRVolumeDeviceNameV4& dst, const SNRVolumeDeviceNameV4Record_t& src) { SetDevMsgV4(dst, src); }

void YBSet(repSNRVolumeMountPoint& dst, const SNRVolumeMountPointRecord_t& src)
{
    dst.id = src.id;
    dst.DeviceNameId = src.DeviceNameId;
    dst.Path = YBWireText(src.Path);
    dst.IsCaseSensitive = YBWireBool(src.IsCaseSensitive);
    dst.Unmounted = YBWireBool(src.Unmounted);
}

void YBSet(repYBTzHistoryNameRec& dst, const MorvaneHistoryNameRecord_t& src)
{
    dst.DeviceId = src.DeviceId;
    dst.GlobalHistoryName = YBWireText(src.GlobalHistoryName);
}

// Table row to record.
void YBSet(SNRVolumeRecord_t& dst, const YBPhysicalVolume_t& src) { SetVolRecV1(dst, src); }
void YBSet(SNRVolumeRecord42_t& dst, const YBPhysicalVolume_t& src) { SetVolRecV2(dst, src); }
void YBSet(SNRVolumeRecordV3_t& dst, const YBPhysicalVolume_t& src) { SetVolRecV3(dst, src); }
void YBSet(SNRVolumeRecordV4_t& dst, const YBPhysicalVolume_t& src) { SetVolRecV4(dst, src); }
void YBSet(SNRVolumeDeviceNameRecord_t& dst, const YBPhysicalDevice_t& src) { SetDeviceRecV1FromDB(dst, src); }
void YBSet(SNRVolumeDeviceNameV2Record_t& dst, const YBPhysicalDevice_t& src) { SetDeviceRecV2FromDB(dst, src); }
void YBSet(SNRVolumeDeviceNameV3Record_t& dst, const YBPhysicalDevice_t& src) { SetDeviceRecV3FromDB(dst, src); }
void YBSet(SNRVolumeDeviceNameV4Record_t& dst, const YBPhysicalDevice_t& src) { SetDeviceRecV4FromDB(dst, src); }
void YBSet(SNRVolumeMountPointRecord_t& dst, const YBMountPoint_t& src) { SetMountFromDB(dst, src); }

// Cursor row to record.
void YBSet(SNRVolumeRecord_t& dst, const YBGetSNRVolInfoByClientId_t& src) { SetVolumeRecV1FromVolCursor(dst, src); }
void YBSet(SNRVolumeRecord42_t& dst, const YBGetSNRVolInfoByClientId_t& src) { SetVolumeRecV2FromVolCursor(dst, src); }
void YBSet(SNRVolumeRecordV3_t& dst, const YBGetSNRVolInfoByClientId_t& src) { SetVolumeRecV3FromVolCursor(dst, src); }
void YBSet(SNRVolumeRecordV4_t& dst, const YBGetSNRVolInfoByClientId_t& src) { SetVolumeRecV4FromVolCursor(dst, src); }
void YBSet(SNRVolumeRecord_t& dst, const YBGetSNRVolInfoByPoolId_t& src) { SetVolumeRecV1FromVolCursor(dst, src); }
void YBSet(SNRVolumeRecord42_t& dst, const YBGetSNRVolInfoByPoolId_t& src) { SetVolumeRecV2FromVolCursor(dst, src); }
void YBSet(SNRVolumeRecordV3_t& dst, const YBGetSNRVolInfoByPoolId_t& src) { SetVolumeRecV3FromVolCursor(dst, src); }
void YBSet(SNRVolumeRecordV4_t& dst, const YBGetSNRVolInfoByPoolId_t& src) { SetVolumeRecV4FromVolCursor(dst, src); }
void YBSet(SNRVolumeRecord_t& dst, const YBGetSNRVolumeById_t& src) { SetVolumeRecV1FromVolCursor(dst, src); }
void YBSet(SNRVolumeRecord42_t& dst, const YBGetSNRVolumeById_t& src) { SetVolumeRecV2FromVolCursor(dst, src); }
void YBSet(SNRVolumeRecordV3_t& dst, const YBGetSNRVolumeById_t& src) { SetVolumeRecV3FromVolCursor(dst, src); }
void YBSet(SNRVolumeRecordV4_t& dst, const YBGetSNRVolumeById_t& src) { SetVolumeRecV4FromVolCursor(dst, src); }
void YBSet(SNRVolumeDeviceNameRecord_t& dst, const YBGetSNRDeviceByClientId_t& src) { SetDeviceRecV1FromDB(dst, src); }
void YBSet(SNRVolumeDeviceNameV2Record_t& dst, const YBGetSNRDeviceByClientId_t& src) { SetDeviceRecV2FromDB(dst, src); }
void YBSet(SNRVolumeDeviceNameV3Record_t& dst, const YBGetSNRDeviceByClientId_t& src) { SetDeviceRecV3FromDB(dst, src); }
void YBSet(SNRVolumeDeviceNameV4Record_t& dst, const YBGetSNRDeviceByClientId_t& src) { SetDeviceRecV4FromDB(dst, src); }
void YBSet(SNRVolumeDeviceNameRecord_t& dst, const YBGetSNRDeviceByPoolId_t& src) { SetDeviceRecV1FromDB(dst, src); }
void YBSet(SNRVolumeDeviceNameV2Record_t& dst, const YBGetSNRDeviceByPoolId_t& src) { SetDeviceRecV2FromDB(dst, src); }
void YBSet(SNRVolumeDeviceNameV3Record_t& dst, const YBGetSNRDeviceByPoolId_t& src) { SetDeviceRecV3FromDB(dst, src); }
void YBSet(SNRVolumeDeviceNameV4Record_t& dst, const YBGetSNRDeviceByPoolId_t& src) { SetDeviceRecV4FromDB(dst, src); }
void YBSet(SNRVolumeDeviceNameRecord_t& dst, const YBGetSNRDeviceNameBySNRVolId_t& src) { SetRecordFromCursorV1(dst, src); }
void YBSet(SNRVolumeDeviceNameV2Record_t& dst, const YBGetSNRDeviceNameBySNRVolId_t& src) { SetRecordFromCursorV2(dst, src); }
void YBSet(SNRVolumeDeviceNameV3Record_t& dst, const YBGetSNRDeviceNameBySNRVolId_t& src) { SetRecordFromCursorV3(dst, src); }
void YBSet(SNRVolumeDeviceNameV4Record_t& dst, const YBGetSNRDeviceNameBySNRVolId_t& src) { SetRecordFromCursorV4(dst, src); }
void YBSet(SNRVolumeMountPointRecord_t& dst, const YBGetSNRMountPointByClientId_t& src) { SetMountFromDB(dst, src); }
void YBSet(SNRVolumeMountPointRecord_t& dst, const YBGetSNRMountPointByPoolId_t& src) { SetMountFromDB(dst, src); }
void YBSet(SNRVolumeMountPointRecord_t& dst, const YBGetSNRMountPointBySNRDevId_t& src) { SetMountFromDB(dst, src); }

// Record to row for an insert.
void YBSet(YBPhysicalVolume_t& dst, const SNRVolumeRecord_t& src) { YBSetVolV1(dst, src); }
void YBSet(YBPhysicalVolume_t& dst, const SNRVolumeRecord42_t& src) { YBSetVolV2(dst, src); }
void YBSet(YBPhysicalVolume_t& dst, const SNRVolumeRecordV3_t& src) { YBSetVolV3(dst, src); }
void YBSet(YBPhysicalVolume_t& dst, const SNRVolumeRecordV4_t& src) { YBSetVolV4(dst, src); }

void YBSet(YBMountPoint_t& dst, const SNRVolumeMountPointRecord_t& src)
{
    YBSetFlagBit(dst.Flags, SNRMNT_FLAG_IS_CASE_SENSITIVE, src.IsCaseSensitive);
    YBSetFlagBit(dst.Flags, SNRMNT_FLAG_UNMOUNTED, src.Unmounted);
    dst.DeviceNameId = src.DeviceNameId;
    if (!src.Path.empty()) YBCopyText(dst.Path, src.Path);
}

// Record to row for an update, with length checks.
int YBSet(YBDBDst_t<YBPhysicalVolume_t>& dst, const SNRVolumeRecord_t& src) { return SetVolumeDBV1(dst, src); }
int YBSet(YBDBDst_t<YBPhysicalVolume_t>& dst, const SNRVolumeRecord42_t& src) { return SetVolumeDBV2(dst, src); }
int YBSet(YBDBDst_t<YBPhysicalVolume_t>& dst, const SNRVolumeRecordV3_t& src) { return SetVolumeDBV3(dst, src); }
int YBSet(YBDBDst_t<YBPhysicalVolume_t>& dst, const SNRVolumeRecordV4_t& src) { return SetVolumeDBV4(dst, src); }

bool YBSet(YBDBDst_t<YBPhysicalDevice_t>& dst, const SNRVolumeDeviceNameRecord_t& src) { return YBSetDeviceV1(dst, src); }
bool YBSet(YBDBDst_t<YBPhysicalDevice_t>& dst, const SNRVolumeDeviceNameV2Record_t& src) { return YBSetDeviceV2(dst, src); }
bool YBSet(YBDBDst_t<YBPhysicalDevice_t>& dst, const SNRVolumeDeviceNameV3Record_t& src) { return YBSetDeviceV3(dst, src); }
bool YBSet(YBDBDst_t<YBPhysicalDevice_t>& dst, const SNRVolumeDeviceNameV4Record_t& src) { return YBSetDeviceV4(dst, src); }

// List forms.
void YBSet(std::vector<SNRVolumeRecord_t>& dst, const YBPhysicalVolume_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeRecord42_t>& dst, const YBPhysicalVolume_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeRecordV3_t>& dst, const YBPhysicalVolume_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeRecordV4_t>& dst, const YBPhysicalVolume_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeDeviceNameRecord_t>& dst, const YBPhysicalDevice_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeDeviceNameV2Record_t>& dst, const YBPhysicalDevice_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeDeviceNameV3Record_t>& dst, const YBPhysicalDevice_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeDeviceNameV4Record_t>& dst, const YBPhysicalDevice_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeMountPointRecord_t>& dst, const YBMountPoint_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeRecord_t>& dst, const YBGetSNRVolInfoByClientId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeRecord42_t>& dst, const YBGetSNRVolInfoByClientId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeRecordV3_t>& dst, const YBGetSNRVolInfoByClientId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeRecordV4_t>& dst, const YBGetSNRVolInfoByClientId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeRecord_t>& dst, const YBGetSNRVolInfoByPoolId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeRecord42_t>& dst, const YBGetSNRVolInfoByPoolId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeRecordV3_t>& dst, const YBGetSNRVolInfoByPoolId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeRecordV4_t>& dst, const YBGetSNRVolInfoByPoolId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeRecord_t>& dst, const YBGetSNRVolumeById_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeRecord42_t>& dst, const YBGetSNRVolumeById_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeRecordV3_t>& dst, const YBGetSNRVolumeById_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeRecordV4_t>& dst, const YBGetSNRVolumeById_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeDeviceNameRecord_t>& dst, const YBGetSNRDeviceByClientId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeDeviceNameV2Record_t>& dst, const YBGetSNRDeviceByClientId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeDeviceNameV3Record_t>& dst, const YBGetSNRDeviceByClientId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeDeviceNameV4Record_t>& dst, const YBGetSNRDeviceByClientId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeDeviceNameRecord_t>& dst, const YBGetSNRDeviceByPoolId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeDeviceNameV2Record_t>& dst, const YBGetSNRDeviceByPoolId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeDeviceNameV3Record_t>& dst, const YBGetSNRDeviceByPoolId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeDeviceNameV4Record_t>& dst, const YBGetSNRDeviceByPoolId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeDeviceNameRecord_t>& dst, const YBGetSNRDeviceNameBySNRVolId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeDeviceNameV2Record_t>& dst, const YBGetSNRDeviceNameBySNRVolId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeDeviceNameV3Record_t>& dst, const YBGetSNRDeviceNameBySNRVolId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeDeviceNameV4Record_t>& dst, const YBGetSNRDeviceNameBySNRVolId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeMountPointRecord_t>& dst, const YBGetSNRMountPointByClientId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeMountPointRecord_t>& dst, const YBGetSNRMountPointByPoolId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SNRVolumeMountPointRecord_t>& dst, const YBGetSNRMountPointBySNRDevId_t& src) { YBAppendFromRow(dst, src); }

void YBSet(repSNRVolume* dst, const std::vector<SNRVolumeRecord_t>& src) { YBSetArray(dst, src); }
void YBSet(repSNRVolume42* dst, const std::vector<SNRVolumeRecord42_t>& src) { YBSetArray(dst, src); }
void YBSet(repSNRVolumeV3* dst, const std::vector<SNRVolumeRecordV3_t>& src) { YBSetArray(dst, src); }
void YBSet(repSNRVolumeV4* dst, const std::vector<SNRVolumeRecordV4_t>& src) { YBSetArray(dst, src); }
void YBSet(repSNRVolumeDeviceName* dst, const std::vector<SNRVolumeDeviceNameRecord_t>& src) { YBSetArray(dst, src); }
void YBSet(repSNRVolumeDeviceNameV2* dst, const std::vector<SNRVolumeDeviceNameV2Record_t>& src) { YBSetArray(dst, src); }
void YBSet(repSNRVolumeDeviceNameV3* dst, const std::vector<SNRVolumeDeviceNameV3Record_t>& src) { YBSetArray(dst, src); }
void YBSet(repSNRVolumeDeviceNameV4* dst, const std::vector<SNRVolumeDeviceNameV4Record_t>& src) { YBSetArray(dst, src); }
void YBSet(repSNRVolumeMountPoint* dst, const std::vector<SNRVolumeMountPointRecord_t>& src) { YBSetArray(dst, src); }

template bool CopyVectorToMsg(repSNRVolume**, const std::vector<SNRVolumeRecord_t>&);
template bool CopyVectorToMsg(repSNRVolume42**, const std::vector<SNRVolumeRecord42_t>&);
template bool CopyVectorToMsg(repSNRVolumeV3**, const std::vector<SNRVolumeRecordV3_t>&);
template bool CopyVectorToMsg(repSNRVolumeV4**, const std::vector<SNRVolumeRecordV4_t>&);
template bool CopyVectorToMsg(repSNRVolumeDeviceName**, const std::vector<SNRVolumeDeviceNameRecord_t>&);
template bool CopyVectorToMsg(repSNRVolumeDeviceNameV2**, const std::vector<SNRVolumeDeviceNameV2Record_t>&);
template bool CopyVectorToMsg(repSNRVolumeDeviceNameV3**, const std::vector<SNRVolumeDeviceNameV3Record_t>&);
template bool CopyVectorToMsg(repSNRVolumeDeviceNameV4**, const std::vector<SNRVolumeDeviceNameV4Record_t>&);
template bool CopyVectorToMsg(repSNRVolumeMountPoint**, const std::vector<SNRVolumeMountPointRecord_t>&);
