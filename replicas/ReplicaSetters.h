// The versioned setters behind the YBSet conversions of replication
// volumes: the setter of version N calls the one of version N-1 first and
// then sets what version N adds. Versions are 1, 42 (V2 here), 3, 4 and 5.
#pragma once

#include "replicas/ReplicaRecords.h"
#include "service/ErrorCodes.h"
#include "service/RecordConversion.h"

// Record to wire.

template <typename Wire, typename Record>
void SetRepVolMsgV1(Wire& w, const Record& r)
{
    w.id = r.id;
    w.PointInTime = r.PointInTime;
    w.CreationTime = r.CreationTime;
    w.ModifyTime = r.ModifyTime;
    w.CurrentState = r.CurrentState;
    w.CurrentRole = r.CurrentRole;
    w.PrimaryVolumeId = r.PrimaryVolumeId;
    w.PhysicalVolumeId = r.PhysicalVolumeId;
    w.ReplicationPolicyId = r.ReplicationPolicyId;
    w.RVScratchVolumeId = r.RVScratchVolumeId;
    w.DoNotPrune = YBWireBool(r.DoNotPrune);
}

template <typename Wire, typename Record>
void SetRepVolMsgV2(Wire& w, const Record& r)
{
    SetRepVolMsgV1(w, r);
    w.JobId = r.JobId;
    w.IsSnapActive = YBWireBool(r.IsSnapActive);
    w.ActivateSnap = YBWireBool(r.ActivateSnap);
}

template <typename Wire, typename Record>
void SetRepVolMsgV3(Wire& w, const Record& r)
{
    SetRepVolMsgV2(w, r);
    w.SnapVolumeId = r.SnapVolumeId;
    w.MorvaneVolume = YBWireBool(r.MorvaneVolume);
    w.ShadowSnap = YBWireBool(r.ShadowSnap);
    w.TransportableSnap = YBWireBool(r.TransportableSnap);
}

template <typename Wire, typename Record>
void SetRepVolMsgV4(Wire& w, const Record& r)
{
    SetRepVolMsgV3(w, r);
    w.SnapEngineType = r.SnapEngineType;
    w.UpdateMap = r.UpdateMap;
}

template <typename Wire, typename Record>
void SetRepVolMsgV5(Wire& w, const Record& r)
{
    SetRepVolMsgV4(w, r);
    w.SnapvaultReplicaDir = YBWireText(r.SnapvaultReplicaDir);
    w.SourceGUID = YBWireText(r.SourceGUID);
}

// Wire to record. UpdateMap is not read from the wire.

template <typename Record, typename Wire>
void SetRepVolRecV1(Record& r, const Wire& w)
{
    r.id = w.id;
    r.PointInTime = w.PointInTime;
    r.CreationTime = w.CreationTime;
    r.ModifyTime = w.ModifyTime;
    r.CurrentState = w.CurrentState;
    r.CurrentRole = w.CurrentRole;
    r.PrimaryVolumeId = w.PrimaryVolumeId;
    r.PhysicalVolumeId = w.PhysicalVolumeId;
    r.ReplicationPolicyId = w.ReplicationPolicyId;
    r.RVScratchVolumeId = w.RVScratchVolumeId;
    r.DoNotPrune = YBBoolFromWire(w.DoNotPrune);
}

template <typename Record, typename Wire>
void SetRepVolRecV2(Record& r, const Wire& w)
{
    SetRepVolRecV1(r, w);
    r.JobId = w.JobId;
    r.IsSnapActive = YBBoolFromWire(w.IsSnapActive);
    r.ActivateSnap = YBBoolFromWire(w.ActivateSnap);
}

template <typename Record, typename Wire>
void SetRepVolRecV3(Record& r, const Wire& w)
{
    SetRepVolRecV2(r, w);
    r.SnapVolumeId = w.SnapVolumeId;
    r.MorvaneVolume = YBBoolFromWire(w.MorvaneVolume);
    r.ShadowSnap = YBBoolFromWire(w.ShadowSnap);
    r.TransportableSnap = YBBoolFromWire(w.TransportableSnap);
}

template <typename Record, typename Wire>
void SetRepVolRecV4(Record& r, const Wire& w)
{
    SetRepVolRecV3(r, w);
    r.SnapEngineType = w.SnapEngineType;
}

template <typename Record, typename Wire>
void SetRepVolRecV5(Record& r, const Wire& w)
{
    SetRepVolRecV4(r, w);
    r.SnapvaultReplicaDir = YBTextFromWire(w.SnapvaultReplicaDir);
    r.SourceGUID = YBTextFromWire(w.SourceGUID);
}

// Invalidation: the absent replication volume.

template <typename Wire>
void InvalidateRepVolMsgV1(Wire& w)
{
    w.id = -1;
    w.PointInTime = -1;
    w.CreationTime = -1;
    w.ModifyTime = -1;
    w.CurrentState = -1;
    w.CurrentRole = -1;
    w.PrimaryVolumeId = -1;
    w.PhysicalVolumeId = -1;
    w.ReplicationPolicyId = -1;
    w.RVScratchVolumeId = -1;
    w.DoNotPrune = 0;
}

template <typename Wire>
void InvalidateRepVolMsgV2(Wire& w)
{
    InvalidateRepVolMsgV1(w);
    w.JobId = 0;
    w.IsSnapActive = 0;
    w.ActivateSnap = 0;
}

template <typename Wire>
void InvalidateRepVolMsgV3(Wire& w)
{
    InvalidateRepVolMsgV2(w);
    w.SnapVolumeId = -1;
    w.MorvaneVolume = 0;
    w.ShadowSnap = 0;
    w.TransportableSnap = 0;
}

template <typename Wire>
void InvalidateRepVolMsgV4(Wire& w)
{
    InvalidateRepVolMsgV3(w);
    w.SnapEngineType = 0;
}

template <typename Wire>
void InvalidateRepVolMsgV5(Wire& w)
{
    InvalidateRepVolMsgV4(w);
    w.SnapvaultReplicaDir = nullptr;
}

// Row to record: the booleans from Flags, JobId widened with its sign, an
// empty text column gives "". Serves YBVolume_t, the rows with its column
// names and the SNR volume cursor rows, which name the replication volume's
// id, physical volume and flags YBid, YBPhysicalVolumeId and YBFlags.

YB_ROW_COLUMN(YBRepVolRowId, YBid, id)
YB_ROW_COLUMN(YBRepVolRowPhysicalVolumeId, YBPhysicalVolumeId, PhysicalVolumeId)
YB_ROW_COLUMN(YBRepVolRowFlags, YBFlags, Flags)

template <typename Record, typename Row>
void SetRepVolRecV1FromDB(Record& r, const Row& row)
{
    r.id = YBRepVolRowId(row);
    r.PointInTime = row.PointInTime;
    r.CreationTime = row.CreationTime;
    r.ModifyTime = row.ModifyTime;
    r.CurrentState = row.CurrentState;
    r.CurrentRole = row.CurrentRole;
    r.PrimaryVolumeId = row.PrimaryVolumeId;
    r.PhysicalVolumeId = YBRepVolRowPhysicalVolumeId(row);
    r.ReplicationPolicyId = row.ReplicationPolicyId;
    r.RVScratchVolumeId = row.RVScratchVolumeId;
    r.DoNotPrune = YBFlagBit(YBRepVolRowFlags(row), YBVOL_FLAG_DO_NOT_PRUNE);
}

template <typename Record, typename Row>
void SetRepVolRecV2FromDB(Record& r, const Row& row)
{
    SetRepVolRecV1FromDB(r, row);
    r.JobId = static_cast<int64_t>(row.JobId);
    r.IsSnapActive = YBFlagBit(YBRepVolRowFlags(row), YBVOL_FLAG_IS_SNAP_ACTIVE);
    r.ActivateSnap = YBFlagBit(YBRepVolRowFlags(row), YBVOL_FLAG_ACTIVATE_SNAP);
}

template <typename Record, typename Row>
void SetRepVolRecV3FromDB(Record& r, const Row& row)
{
    SetRepVolRecV2FromDB(r, row);
    r.SnapVolumeId = row.SnapVolumeId;
    r.MorvaneVolume = YBFlagBit(YBRepVolRowFlags(row), YBVOL_FLAG_MORVANE_VOL);
    r.ShadowSnap = YBFlagBit(YBRepVolRowFlags(row), YBVOL_FLAG_SHADOW_SNAP);
    r.TransportableSnap = YBFlagBit(YBRepVolRowFlags(row), YBVOL_FLAG_TRANSPORTABLE_SNAP);
}

template <typename Record, typename Row>
void SetRepVolRecV4FromDB(Record& r, const Row& row)
{
    SetRepVolRecV3FromDB(r, row);
    r.SnapEngineType = row.SnapEngineType;
}

template <typename Record, typename Row>
void SetRepVolRecV5FromDB(Record& r, const Row& row)
{
    SetRepVolRecV4FromDB(r, row);
    r.SnapvaultReplicaDir = YBColumnText(row.SnapvaultReplicaDir);
    r.SourceGUID = YBColumnText(row.SourceGUID);
}

// Record to row, with checks; each step returns at once when it fails.

template <typename Record>
int SetRepVolDBV1(YBVolume_t& row, const Record& r, int& errorCode)
{
    YBZeroRow(row);
    int refused = 0;
    if (r.PrimaryVolumeId < 0)
        refused = YB_VOL_PRIMARY_VOL_ID;
    else if (r.PhysicalVolumeId < 0)
        refused = YB_VOL_PHYSICAL_VOL_ID;
    else if (r.ReplicationPolicyId < 0)
        refused = YB_VOL_YB_POLICY_ID;
    else if (r.RVScratchVolumeId < 0)
        refused = YB_VOL_SCRATCH_VOL_ID;
    if (refused != 0) {
        errorCode = kErrInvalidId;
        return refused;
    }
    row.id = r.id;
    row.PointInTime = r.PointInTime;
    row.CreationTime = r.CreationTime;
    row.ModifyTime = r.ModifyTime;
    row.CurrentState = r.CurrentState;
    row.CurrentRole = r.CurrentRole;
    row.PrimaryVolumeId = r.PrimaryVolumeId;
    row.PhysicalVolumeId = r.PhysicalVolumeId;
    row.ReplicationPolicyId = r.ReplicationPolicyId;
    row.RVScratchVolumeId = r.RVScratchVolumeId;
    row.Flags = r.DoNotPrune ? YBVOL_FLAG_DO_NOT_PRUNE : 0;
    return 0;
}

template <typename Record>
int SetRepVolDBV2(YBVolume_t& row, const Record& r, int& errorCode)
{
    int refused = SetRepVolDBV1(row, r, errorCode);
    if (refused != 0) return refused;
    row.JobId = static_cast<int32_t>(r.JobId);
    if (r.IsSnapActive) row.Flags |= YBVOL_FLAG_IS_SNAP_ACTIVE;
    if (r.ActivateSnap) row.Flags |= YBVOL_FLAG_ACTIVATE_SNAP;
    return 0;
}

template <typename Record>
int SetRepVolDBV3(YBVolume_t& row, const Record& r, int& errorCode)
{
    int refused = SetRepVolDBV2(row, r, errorCode);
    if (refused != 0) return refused;
    if (r.SnapVolumeId < 0) {
        errorCode = kErrInvalidId;
        return YB_VOL_SNAP_VOL_ID;
    }
    row.SnapVolumeId = r.SnapVolumeId;
    if (r.MorvaneVolume) row.Flags |= YBVOL_FLAG_MORVANE_VOL;
    if (r.ShadowSnap) row.Flags |= YBVOL_FLAG_SHADOW_SNAP;
    if (r.TransportableSnap) row.Flags |= YBVOL_FLAG_TRANSPORTABLE_SNAP;
    return 0;
}

template <typename Record>
int SetRepVolDBV4(YBVolume_t& row, const Record& r, int& errorCode)
{
    int refused = SetRepVolDBV3(row, r, errorCode);
    if (refused != 0) return refused;
    row.SnapEngineType = r.SnapEngineType;
    return 0;
}

template <typename Record>
int SetRepVolDBV5(YBVolume_t& row, const Record& r, int& errorCode)
{
    int refused = SetRepVolDBV4(row, r, errorCode);
    if (refused != 0) return refused;
    if (!YBCopyCheckedText(row.SnapvaultReplicaDir, r.SnapvaultReplicaDir)) {
        errorCode = kErrTooLong;
        return YB_VOL_SNAPVAULT_DIR;
    }
    if (!YBCopyCheckedText(row.SourceGUID, r.SourceGUID)) {
        errorCode = kErrTooLong;
        return YB_VOL_SOURCE_GUID;
    }
    return 0;
}
