// The YBSet conversions of replication policy records: the setter of a
// version calls the setter of the version before it on the same pair first,
// then sets what its version adds.
#include <string>
#include <vector>

#include "policies/PolicyRecords.h"
#include "service/ErrorCodes.h"
#include "service/RecordConversion.h"

namespace {

const char NameTooLongMsg[] = "YB Policy Name is too long";

// ---- Wire to record --------------------------------------------------------------

template <typename Wire>
void SetYBPolicyRecV1(ReplicationPolicyRecord_t& r, const Wire& w)
{
    r.id = static_cast<int32_t>(w.id);
    r.name = YBTextFromWire(w.name);
    r.RetentionSeconds = static_cast<int32_t>(w.RetentionSeconds);
    r.FlagBit1 = YBBoolFromWire(static_cast<int32_t>(w.FlagBit1));
    r.CopyMgrCtrlId = static_cast<int32_t>(w.CopyMgrCtrlId);
    r.SnapEngineInfoId = static_cast<int32_t>(w.SnapEngineInfoId);
    r.VolumeScratchPoolId = static_cast<int32_t>(w.VolumeScratchPoolId);
}

template <typename Wire>
void SetYBPolicyRecV2(ReplicationPolicyV2Record_t& r, const Wire& w)
{
    SetYBPolicyRecV1(r, w);
    r.FlagBit2 = YBBoolFromWire(static_cast<int32_t>(w.FlagBit2));
    r.NSnapshot = static_cast<int32_t>(w.NSnapshot);
}

void SetYBPolicyRecV3(ReplicationPolicyV3Record_t& r, const repReplicationPolicyV3& w)
{
    SetYBPolicyRecV2(r, w);
    r.CopyManagerType = static_cast<int32_t>(w.CopyManagerType);
}

// ---- Record to wire ----------------------------------------------------------------

template <typename Wire>
void SetYBPolicyMsgV1(Wire& w, const ReplicationPolicyRecord_t& r)
{
    w.id = static_cast<uint32_t>(r.id);
    w.name = YBWireText(r.name);
    w.RetentionSeconds = static_cast<uint32_t>(r.RetentionSeconds);
    w.FlagBit1 = static_cast<uint32_t>(YBWireBool(r.FlagBit1));
    w.CopyMgrCtrlId = static_cast<uint32_t>(r.CopyMgrCtrlId);
    w.SnapEngineInfoId = static_cast<uint32_t>(r.SnapEngineInfoId);
    w.VolumeScratchPoolId = static_cast<uint32_t>(r.VolumeScratchPoolId);
}

template <typename Wire>
void SetYBPolicyMsgV2(Wire& w, const ReplicationPolicyV2Record_t& r)
{
    SetYBPolicyMsgV1(w, r);
    w.FlagBit2 = static_cast<uint32_t>(YBWireBool(r.FlagBit2));
    w.NSnapshot = static_cast<uint32_t>(r.NSnapshot);
}

void SetYBPolicyMsgV3(repReplicationPolicyV3& w, const ReplicationPolicyV3Record_t& r)
{
    SetYBPolicyMsgV2(w, r);
    w.CopyManagerType = static_cast<uint32_t>(r.CopyManagerType);
    w.Unused = 0;
}

// ---- Row (table or list cursor) to record ----------------------------------------------

template <typename Row>
void SetYBPolicyV1FromDB(ReplicationPolicyRecord_t& r, const Row& row)
{
    r.id = row.id;
    r.name = YBColumnText(row.name);
    r.RetentionSeconds = row.RetentionSeconds;
    r.FlagBit1 = YBFlagBit(row.Flags, YBPOLICY_FLAG_BIT1);
    r.CopyMgrCtrlId = row.CopyMgrCtrlId;
    r.SnapEngineInfoId = row.SnapEngineInfoId;
    r.VolumeScratchPoolId = row.VolumeScratchPoolId;
}

template <typename Row>
void SetYBPolicyV2FromDB(ReplicationPolicyV2Record_t& r, const Row& row)
{
    SetYBPolicyV1FromDB(r, row);
    r.FlagBit2 = YBFlagBit(row.Flags, YBPOLICY_FLAG_BIT2);
    r.NSnapshot = row.NSnapshot;
}

template <typename Row>
void SetYBPolicyV3FromDB(ReplicationPolicyV3Record_t& r, const Row& row)
{
    SetYBPolicyV2FromDB(r, row);
    r.CopyManagerType = row.CopyManagerType;
}

// ---- Record to row for an update, with the length limit ---------------------------------

bool SetPolicyDBV1(YBDBDst_t<YBPolicy_t>& dst, const ReplicationPolicyRecord_t& r)
{
    YBPolicy_t& row = dst.row;
    YBZeroRow(row);
    if (!YBCopyCheckedText(row.name, r.name)) {
        dst.errCode = kErrTooLong;
        dst.errMsg = NameTooLongMsg;
        return false;
    }
    row.RetentionSeconds = r.RetentionSeconds;
    YBSetFlagBit(row.Flags, YBPOLICY_FLAG_BIT1, r.FlagBit1);
    row.CopyMgrCtrlId = r.CopyMgrCtrlId;
    row.SnapEngineInfoId = r.SnapEngineInfoId;
    row.VolumeScratchPoolId = r.VolumeScratchPoolId;
    return true;
}

bool SetPolicyDBV2(YBDBDst_t<YBPolicy_t>& dst, const ReplicationPolicyV2Record_t& r)
{
    if (!SetPolicyDBV1(dst, r)) return false;
    YBSetFlagBit(dst.row.Flags, YBPOLICY_FLAG_BIT2, r.FlagBit2);
    dst.row.NSnapshot = r.NSnapshot;
    return true;
}

bool SetPolicyDBV3(YBDBDst_t<YBPolicy_t>& dst, const ReplicationPolicyV3Record_t& r)
{
    if (!SetPolicyDBV2(dst, r)) return false;
    dst.row.CopyManagerType = r.CopyManagerType;
    return true;
}

// ---- Record to row for an add -------------------------------------------------------

void YBSetPolicyV1(YBPolicy_t& row, const ReplicationPolicyRecord_t& r)
{
    row.CopyManagerType = YB_POLICY_DEFAULT_COPY_MANAGER_TYPE;
    if (!r.name.empty()) YBCopyText(row.name, r.name);
    row.RetentionSeconds = r.RetentionSeconds;
    YBSetFlagBit(row.Flags, YBPOLICY_FLAG_BIT1, r.FlagBit1);
    row.CopyMgrCtrlId = r.CopyMgrCtrlId;
    row.SnapEngineInfoId = r.SnapEngineInfoId;
    row.VolumeScratchPoolId = r.VolumeScratchPoolId;
}

void YBSetPolicyV2(YBPolicy_t& row, const ReplicationPolicyV2Record_t& r)
{
    YBSetPolicyV1(row, r);
    YBSetFlagBit(row.Flags, YBPOLICY_FLAG_BIT2, r.FlagBit2);
    row.NSnapshot = r.NSnapshot;
}

void YBSetPolicyV3(YBPolicy_t& row, const ReplicationPolicyV3Record_t& r)
{
    YBSetPolicyV2(row, r);
    row.CopyManagerType = r.CopyManagerType;
}

}  // namespace

bool PolicyNameFits(const std::string& name) { return name.size() <= sizeof(YBPolicy_t::name) - 2; }

int32_t GetUpdateMap(const ReplicationPolicyRecord_t&) { return 0x3f; }
int32_t GetUpdateMap(const ReplicationPolicyV2Record_t&) { return 0xff; }
int32_t GetUpdateMap(const ReplicationPolicyV3Record_t& record)
{
    return record.UpdateMask != 0 ? record.UpdateMask : 0x1ff;
}

void YBSet(ReplicationPolicyRecord_t& dst, const repReplicationPolicy& src) { SetYBPolicyRecV1(dst, src); }
void YBSet(ReplicationPolicyV2Record_t& dst, const repReplicationPolicyV2& src) { SetYBPolicyRecV2(dst, src); }
void YBSet(ReplicationPolicyV3Record_t& dst, const repReplicationPolicyV3& src) { SetYBPolicyRecV3(dst, src); }

void YBSet(repReplicationPolicy& dst, const ReplicationPolicyRecord_t& src) { SetYBPolicyMsgV1(dst, src); }
void YBSet(repReplicationPolicyV2& dst, const ReplicationPolicyV2Record_t& src) { SetYBPolicyMsgV2(dst, src); }
void YBSet(repReplicationPolicyV3& dst, const ReplicationPolicyV3Record_t& src) { SetYBPolicyMsgV3(dst, src); }

void YBSet(ReplicationPolicyRecord_t& dst, const YBPolicy_t& src) { SetYBPolicyV1FromDB(dst, src); }
void YBSet(ReplicationPolicyV2Record_t& dst, const YBPolicy_t& src) { SetYBPolicyV2FromDB(dst, src); }
void YBSet(ReplicationPolicyV3Record_t& dst, const YBPolicy_t& src) { SetYBPolicyV3FromDB(dst, src); }
void YBSet(ReplicationPolicyRecord_t& dst, const YBGetYBPolicyList_t& src) { SetYBPolicyV1FromDB(dst, src); }
void YBSet(ReplicationPolicyV2Record_t& dst, const YBGetYBPolicyList_t& src) { SetYBPolicyV2FromDB(dst, src); }
void YBSet(ReplicationPolicyV3Record_t& dst, const YBGetYBPolicyList_t& src) { SetYBPolicyV3FromDB(dst, src); }

bool YBSet(YBDBDst_t<YBPolicy_t>& dst, const ReplicationPolicyRecord_t& src) { return SetPolicyDBV1(dst, src); }
bool YBSet(YBDBDst_t<YBPolicy_t>& dst, const ReplicationPolicyV2Record_t& src) { return SetPolicyDBV2(dst, src); }
bool YBSet(YBDBDst_t<YBPolicy_t>& dst, const ReplicationPolicyV3Record_t& src) { return SetPolicyDBV3(dst, src); }

void YBSet(YBPolicy_t& dst, const ReplicationPolicyRecord_t& src) { YBSetPolicyV1(dst, src); }
void YBSet(YBPolicy_t& dst, const ReplicationPolicyV2Record_t& src) { YBSetPolicyV2(dst, src); }
void YBSet(YBPolicy_t& dst, const ReplicationPolicyV3Record_t& src) { YBSetPolicyV3(dst, src); }

void YBSet(std::vector<ReplicationPolicyRecord_t>& dst, const YBPolicy_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationPolicyV2Record_t>& dst, const YBPolicy_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationPolicyV3Record_t>& dst, const YBPolicy_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationPolicyRecord_t>& dst, const YBGetYBPolicyList_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<ReplicationPolicyV2Record_t>& dst, const YBGetYBPolicyList_t& src)
{
    YBAppendFromRow(dst, src);
}
void YBSet(std::vector<ReplicationPolicyV3Record_t>& dst, const YBGetYBPolicyList_t& src)
{
    YBAppendFromRow(dst, src);
}

template bool CopyVectorToMsg(repReplicationPolicy**, const std::vector<ReplicationPolicyRecord_t>&);
template bool CopyVectorToMsg(repReplicationPolicyV2**, const std::vector<ReplicationPolicyV2Record_t>&);
template bool CopyVectorToMsg(repReplicationPolicyV3**, const std::vector<ReplicationPolicyV3Record_t>&);
