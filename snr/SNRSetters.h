// The versioned setters behind the YBSet conversions of SNR volumes, devices
// and mount points. The setter of version N first calls the setter of
// version N-1 on the same two objects and then sets only what version N
// adds. Each is a template over the record (and wire or row) type, so one
// rule per field serves every version that carries it; the 32-bit StartLBA
// and BlockCount of versions 1 and 42 and the 64-bit ones of V3 and V4 go
// through the same assignments.
#pragma once

#include <utility>
#include <vector>

#include "service/ErrorCodes.h"
#include "service/RecordConversion.h"
#include "snr/SNRRecords.h"

// ---------------------------------------------------------------------------
// Record to wire.

template <typename Wire, typename Record>
void SetVolMsgV1(Wire& w, const Record& r)
{
    w.id = r.id;
    w.UniqueId = YBWireText(r.UniqueId);
    w.UniqueIdType = r.UniqueIdType;
    w.LUN = r.LUN;
    w.StartLBA = r.StartLBA;
    w.BlockCount = r.BlockCount;
    w.BlockSize = r.BlockSize;
    w.BackupFromSnap = YBWireBool(r.BackupFromSnap);
    w.Locked = YBWireBool(r.Locked);
    w.FSType = YBWireText(r.FSType);
    w.UsePermReplica = YBWireBool(r.UsePermReplica);
}

template <typename Wire, typename Record>
void SetVolMsgV2(Wire& w, const Record& r)
{
    SetVolMsgV1(w, r);
    w.UniqueSnapshotID = YBWireText(r.UniqueSnapshotID);
    w.Allocated = YBWireBool(r.Allocated);
}

template <typename Wire, typename Record>
void SetVolMsgV3(Wire& w, const Record& r)
{
    SetVolMsgV2(w, r);
    w.MorvaneProtected = YBWireBool(r.MorvaneProtected);
    w.ApplianceId = r.ApplianceId;
    w.UpdateMap = r.UpdateMap;
    w.TzState = r.TzState;
    w.CostCategoryId = r.CostCategoryId;
    w.ShadowImported = YBWireBool(r.ShadowImported);
}

template <typename Wire, typename Record>
void SetVolMsgV4(Wire& w, const Record& r)
{
    SetVolMsgV3(w, r);
    w.VolType = r.VolType;
}

template <typename Wire, typename Record>
void SetDevMsgV1(Wire& w, const Record& r)
{
    w.id = r.id;
    w.ClientId = r.ClientId;
    w.SNRVolumeId = r.SNRVolumeId;
    w.DeviceName = YBWireText(r.DeviceName);
    w.IsCaseSensitive = YBWireBool(r.IsCaseSensitive);
}

template <typename Wire, typename Record>
void SetDevMsgV2(Wire& w, const Record& r)
{
    SetDevMsgV1(w, r);
    w.OSDeviceName = YBWireText(r.OSDeviceName);
    w.Configured = YBWireBool(r.Configured);
    w.Fake = YBWireBool(r.Fake);
}

template <typename Wire, typename Record>
void SetDevMsgV3(Wire& w, const Record& r)
{
    SetDevMsgV2(w, r);
    w.VVM = YBWireBool(r.VVM);
    w.UpdateMap = r.UpdateMap;
    w.AccessPath = YBWireText(r.AccessPath);
}

template <typename Wire, typename Record>
void SetDevMsgV4(Wire& w, const Record& r)
{
    SetDevMsgV3(w, r);
    w.FilerClientId = r.FilerClientId;
}

// ---------------------------------------------------------------------------
// Wire to record.

template <typename Record, typename Wire>
void SetVolRecV1(Record& r, const Wire& w)
{
    r.id = w.id;
    r.UniqueId = YBTextFromWire(w.UniqueId);
    r.UniqueIdType = w.UniqueIdType;
    r.LUN = w.LUN;
    r.StartLBA = w.StartLBA;
    r.BlockCount = w.BlockCount;
    r.BlockSize = w.BlockSize;
    r.BackupFromSnap = YBBoolFromWire(w.BackupFromSnap);
    r.Locked = YBBoolFromWire(w.Locked);
    r.FSType = YBTextFromWire(w.FSType);
    r.UsePermReplica = YBBoolFromWire(w.UsePermReplica);
}

template <typename Record, typename Wire>
void SetVolRecV2(Record& r, const Wire& w)
{
    SetVolRecV1(r, w);
    r.UniqueSnapshotID = YBTextFromWire(w.UniqueSnapshotID);
    r.Allocated = YBBoolFromWire(w.Allocated);
}

template <typename Record, typename Wire>
void SetVolRecV3(Record& r, const Wire& w)
{
    SetVolRecV2(r, w);
    r.MorvaneProtected = YBBoolFromWire(w.MorvaneProtected);
    r.ApplianceId = w.ApplianceId;
    r.UpdateMap = w.UpdateMap;
    r.TzState = w.TzState;
    r.CostCategoryId = w.CostCategoryId;
    r.ShadowImported = YBBoolFromWire(w.ShadowImported);
}

template <typename Record, typename Wire>
void SetVolRecV4(Record& r, const Wire& w)
{
    SetVolRecV3(r, w);
    r.VolType = w.VolType;
}

template <typename Record, typename Wire>
void SetDevRecV1(Record& r, const Wire& w)
{
    r.id = w.id;
    r.ClientId = w.ClientId;
    r.SNRVolumeId = w.SNRVolumeId;
    r.DeviceName = YBTextFromWire(w.DeviceName);
    r.IsCaseSensitive = YBBoolFromWire(w.IsCaseSensitive);
}

template <typename Record, typename Wire>
void SetDevRecV2(Record& r, const Wire& w)
{
    SetDevRecV1(r, w);
    r.OSDeviceName = YBTextFromWire(w.OSDeviceName);
    r.Configured = YBBoolFromWire(w.Configured);
    r.Fake = YBBoolFromWire(w.Fake);
}

template <typename Record, typename Wire>
void SetDevRecV3(Record& r, const Wire& w)
{
    SetDevRecV2(r, w);
    r.VVM = YBBoolFromWire(w.VVM);
    r.UpdateMap = w.UpdateMap;
    r.AccessPath = YBTextFromWire(w.AccessPath);
}

template <typename Record, typename Wire>
void SetDevRecV4(Record& r, const Wire& w)
{
    SetDevRecV3(r, w);
    r.FilerClientId = w.FilerClientId;
}

// ---------------------------------------------------------------------------
// Table row or volume cursor row to record. A version 1 or 42 record keeps
// only the low 32 bits of the 64-bit StartLBA and BlockCount; V3 and V4 take
// them whole. The 32-bit CostCategoryId is widened with its sign. UpdateMap
// is not touched. The volume cursors name three columns of the table row
// otherwise: SNRVolid (id), SNRFlags (Flags) and VolType (Type).

YB_ROW_COLUMN(YBVolRowId, SNRVolid, id)
YB_ROW_COLUMN(YBVolRowFlags, SNRFlags, Flags)
YB_ROW_COLUMN(YBVolRowType, VolType, Type)

template <typename Record, typename Row>
void SetVolumeRecV1FromVolCursor(Record& r, const Row& row)
{
    const int32_t flags = YBVolRowFlags(row);
    r.id = YBVolRowId(row);
    r.UniqueId = YBColumnText(row.UniqueId);
    r.UniqueIdType = row.UniqueIdType;
    r.LUN = row.LUN;
    r.StartLBA = static_cast<decltype(r.StartLBA)>(row.StartLBA);
    r.BlockCount = static_cast<decltype(r.BlockCount)>(row.BlockCount);
    r.BlockSize = row.BlockSize;
    r.BackupFromSnap = YBFlagBit(flags, SNRVOL_FLAG_BACKUP_FROM_SNAP);
    r.Locked = YBFlagBit(flags, SNRVOL_FLAG_LOCKED);
    r.FSType = YBColumnText(row.FSType);
    r.UsePermReplica = YBFlagBit(flags, SNRVOL_FLAG_USE_PERM_REPLICA);
}

template <typename Record, typename Row>
void SetVolumeRecV2FromVolCursor(Record& r, const Row& row)
{
    SetVolumeRecV1FromVolCursor(r, row);
    r.UniqueSnapshotID = YBColumnText(row.UniqueSnapshotID);
    r.Allocated = YBFlagBit(YBVolRowFlags(row), SNRVOL_FLAG_ALLOCATED);
}

template <typename Record, typename Row>
void SetVolumeRecV3FromVolCursor(Record& r, const Row& row)
{
    SetVolumeRecV2FromVolCursor(r, row);
    const int32_t flags = YBVolRowFlags(row);
    r.MorvaneProtected = YBFlagBit(flags, SNRVOL_FLAG_MORVANE_PROTECTED);
    r.ApplianceId = row.ApplianceId;
    r.TzState = row.TzState;
    r.CostCategoryId = static_cast<int64_t>(row.CostCategoryId);
    r.ShadowImported = YBFlagBit(flags, SNRVOL_FLAG_SHADOW_IMPORTED);
}

template <typename Record, typename Row>
void SetVolumeRecV4FromVolCursor(Record& r, const Row& row)
{
    SetVolumeRecV3FromVolCursor(r, row);
    r.VolType = YBVolRowType(row);
}

// The table row takes the same steps.
template <typename Record>
void SetVolRecV1(Record& r, const YBPhysicalVolume_t& row) { SetVolumeRecV1FromVolCursor(r, row); }
template <typename Record>
void SetVolRecV2(Record& r, const YBPhysicalVolume_t& row) { SetVolumeRecV2FromVolCursor(r, row); }
template <typename Record>
void SetVolRecV3(Record& r, const YBPhysicalVolume_t& row) { SetVolumeRecV3FromVolCursor(r, row); }
template <typename Record>
void SetVolRecV4(Record& r, const YBPhysicalVolume_t& row) { SetVolumeRecV4FromVolCursor(r, row); }

// The device row and every cursor row with the device row's columns.
template <typename Record, typename Row>
void SetDeviceRecV1FromDB(Record& r, const Row& row)
{
    r.id = row.id;
    r.ClientId = row.ClientId;
    r.SNRVolumeId = row.SNRVolumeId;
    r.DeviceName = YBColumnText(row.DeviceName);
    r.IsCaseSensitive = YBFlagBit(row.Flags, SNRDEV_FLAG_IS_CASE_SENSITIVE);
}

template <typename Record, typename Row>
void SetDeviceRecV2FromDB(Record& r, const Row& row)
{
    SetDeviceRecV1FromDB(r, row);
    r.OSDeviceName = YBColumnText(row.OSDeviceName);
    r.Configured = YBFlagBit(row.Flags, SNRDEV_FLAG_CONFIGURED);
    r.Fake = YBFlagBit(row.Flags, SNRDEV_FLAG_FAKE);
}

template <typename Record, typename Row>
void SetDeviceRecV3FromDB(Record& r, const Row& row)
{
    SetDeviceRecV2FromDB(r, row);
    r.VVM = YBFlagBit(row.Flags, SNRDEV_FLAG_VVM);
    r.AccessPath = YBColumnText(row.AccessPath);
}

template <typename Record, typename Row>
void SetDeviceRecV4FromDB(Record& r, const Row& row)
{
    SetDeviceRecV3FromDB(r, row);
    r.FilerClientId = row.FilerClientId;
}

// The by-volume device cursor: the same steps as the device row.
template <typename Record, typename Row>
void SetRecordFromCursorV1(Record& r, const Row& row) { SetDeviceRecV1FromDB(r, row); }
template <typename Record, typename Row>
void SetRecordFromCursorV2(Record& r, const Row& row) { SetDeviceRecV2FromDB(r, row); }
template <typename Record, typename Row>
void SetRecordFromCursorV3(Record& r, const Row& row) { SetDeviceRecV3FromDB(r, row); }
template <typename Record, typename Row>
void SetRecordFromCursorV4(Record& r, const Row& row) { SetDeviceRecV4FromDB(r, row); }

// The mount-point row and every cursor row with its columns.
template <typename Row>
void SetMountFromDB(SNRVolumeMountPointRecord_t& r, const Row& row)
{
    r.id = row.id;
    r.DeviceNameId = row.DeviceNameId;
    r.Path = YBColumnText(row.Path);
    r.IsCaseSensitive = YBFlagBit(row.Flags, SNRMNT_FLAG_IS_CASE_SENSITIVE);
    r.Unmounted = YBFlagBit(row.Flags, SNRMNT_FLAG_UNMOUNTED);
}

// ---------------------------------------------------------------------------
// Record to row for an insert. The row is not cleared: only the columns
// below are overwritten; id and the Locked and Allocated bits never are.

template <typename Record>
void YBSetVolV1(YBPhysicalVolume_t& row, const Record& r)
{
    row.Type = 1;
    row.CostCategoryId = 1;
    row.UniqueIdType = r.UniqueIdType;
    row.LUN = r.LUN;
    row.StartLBA = static_cast<int64_t>(r.StartLBA);
    row.BlockCount = static_cast<int64_t>(r.BlockCount);
    row.BlockSize = r.BlockSize;
    if (!r.FSType.empty()) YBCopyText(row.FSType, r.FSType);
    if (!r.UniqueId.empty()) YBCopyText(row.UniqueId, r.UniqueId);
    YBSetFlagBit(row.Flags, SNRVOL_FLAG_BACKUP_FROM_SNAP, r.BackupFromSnap);
    YBSetFlagBit(row.Flags, SNRVOL_FLAG_USE_PERM_REPLICA, r.UsePermReplica);
}

template <typename Record>
void YBSetVolV2(YBPhysicalVolume_t& row, const Record& r)
{
    YBSetVolV1(row, r);
    if (!r.UniqueSnapshotID.empty()) YBCopyText(row.UniqueSnapshotID, r.UniqueSnapshotID);
}

template <typename Record>
void YBSetVolV3(YBPhysicalVolume_t& row, const Record& r)
{
    YBSetVolV2(row, r);
    row.CostCategoryId = r.CostCategoryId != 0 ? static_cast<int32_t>(r.CostCategoryId) : 1;
    row.ApplianceId = r.ApplianceId;
    row.TzState = r.TzState;
    YBSetFlagBit(row.Flags, SNRVOL_FLAG_MORVANE_PROTECTED, r.MorvaneProtected);
    YBSetFlagBit(row.Flags, SNRVOL_FLAG_SHADOW_IMPORTED, r.ShadowImported);
}

template <typename Record>
void YBSetVolV4(YBPhysicalVolume_t& row, const Record& r)
{
    YBSetVolV3(row, r);
    row.Type = r.VolType;
}

// ---------------------------------------------------------------------------
// Record to row for an update, with length checks. The row starts zeroed, a
// text may be one character shorter than its column; the first one that is
// longer stops the conversion with -18 and its message.

template <typename Row>
inline void YBRefuseText(YBDBDst_t<Row>& dst, const char* message)
{
    dst.errCode = kErrTooLong;
    dst.errMsg = message;
}

template <typename Record>
int SetVolumeDBV1(YBDBDst_t<YBPhysicalVolume_t>& dst, const Record& r)
{
    YBPhysicalVolume_t& row = dst.row;
    YBZeroRow(row);
    if (!YBCopyCheckedText(row.UniqueId, r.UniqueId)) {
        YBRefuseText(dst, "YB Physical Volume is too long");
        return YB_PVOL_UNIQUE_ID;
    }
    row.UniqueIdType = r.UniqueIdType;
    row.LUN = r.LUN;
    if (r.BackupFromSnap) row.Flags |= SNRVOL_FLAG_BACKUP_FROM_SNAP;
    if (r.Locked) row.Flags |= SNRVOL_FLAG_LOCKED;
    if (r.UsePermReplica) row.Flags |= SNRVOL_FLAG_USE_PERM_REPLICA;
    if (!YBCopyCheckedText(row.FSType, r.FSType)) {
        YBRefuseText(dst, "YB Physical Volume FS Type is too long");
        return YB_PVOL_FSTYPE;
    }
    return 0;
}

template <typename Record>
int SetVolumeDBV2(YBDBDst_t<YBPhysicalVolume_t>& dst, const Record& r)
{
    int failed = SetVolumeDBV1(dst, r);
    if (failed != 0) return failed;
    YBPhysicalVolume_t& row = dst.row;
    if (!YBCopyCheckedText(row.UniqueSnapshotID, r.UniqueSnapshotID)) {
        YBRefuseText(dst, "YB Physical Volume's unique snapshot id is too long");
        return YB_PVOL_UNIQUE_SNAP_ID;
    }
    return 0;
}

template <typename Record>
int SetVolumeDBV3(YBDBDst_t<YBPhysicalVolume_t>& dst, const Record& r)
{
    int failed = SetVolumeDBV2(dst, r);
    if (failed != 0) return failed;
    YBPhysicalVolume_t& row = dst.row;
    row.TzState = r.TzState;
    if (r.MorvaneProtected) row.Flags |= SNRVOL_FLAG_MORVANE_PROTECTED;
    row.ApplianceId = r.ApplianceId;
    row.CostCategoryId = static_cast<int32_t>(r.CostCategoryId);
    if (r.ShadowImported) row.Flags |= SNRVOL_FLAG_SHADOW_IMPORTED;
    return 0;
}

template <typename Record>
int SetVolumeDBV4(YBDBDst_t<YBPhysicalVolume_t>& dst, const Record& r)
{
    int failed = SetVolumeDBV3(dst, r);
    if (failed != 0) return failed;
    YBPhysicalVolume_t& row = dst.row;
    row.Type = r.VolType;
    row.BlockCount = r.BlockCount;
    row.StartLBA = r.StartLBA;
    return 0;
}

template <typename Record>
bool YBSetDeviceV1(YBDBDst_t<YBPhysicalDevice_t>& dst, const Record& r)
{
    YBPhysicalDevice_t& row = dst.row;
    YBZeroRow(row);
    row.ClientId = r.ClientId;
    row.SNRVolumeId = r.SNRVolumeId;
    row.FilerClientId = 1;
    if (!YBCopyCheckedText(row.DeviceName, r.DeviceName)) {
        YBRefuseText(dst, "Device Name is too long");
        return false;
    }
    YBSetFlagBit(row.Flags, SNRDEV_FLAG_IS_CASE_SENSITIVE, r.IsCaseSensitive);
    return true;
}

template <typename Record>
bool YBSetDeviceV2(YBDBDst_t<YBPhysicalDevice_t>& dst, const Record& r)
{
    if (!YBSetDeviceV1(dst, r)) return false;
    YBPhysicalDevice_t& row = dst.row;
    if (!YBCopyCheckedText(row.OSDeviceName, r.OSDeviceName)) {
        YBRefuseText(dst, "OS Device Name is too long");
        return false;
    }
    YBSetFlagBit(row.Flags, SNRDEV_FLAG_CONFIGURED, r.Configured);
    YBSetFlagBit(row.Flags, SNRDEV_FLAG_FAKE, r.Fake);
    return true;
}

template <typename Record>
bool YBSetDeviceV3(YBDBDst_t<YBPhysicalDevice_t>& dst, const Record& r)
{
    if (!YBSetDeviceV2(dst, r)) return false;
    YBPhysicalDevice_t& row = dst.row;
    if (!YBCopyCheckedText(row.AccessPath, r.AccessPath)) {
        YBRefuseText(dst, "Access Path is too long");
        return false;
    }
    YBSetFlagBit(row.Flags, SNRDEV_FLAG_VVM, r.VVM);
    return true;
}

template <typename Record>
bool YBSetDeviceV4(YBDBDst_t<YBPhysicalDevice_t>& dst, const Record& r)
{
    if (!YBSetDeviceV3(dst, r)) return false;
    dst.row.FilerClientId = r.FilerClientId;
    return true;
}
