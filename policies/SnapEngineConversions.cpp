// The YBSet conversions of snap engine records: the setter of a version
// calls the setter of the version before it on the same pair first, then
// sets what its version adds. Versions are 1, 42 (V2 here) and 3.
#include <string>
#include <vector>

#include "policies/SnapEngineRecords.h"
#include "service/ErrorCodes.h"
#include "service/RecordConversion.h"
#include "service/SetClause.h"

namespace {

struct FieldLabel {
    int bit;
    const char* label;
};

const FieldLabel kFieldLabels[] = {
    {YB_SE_ID, "Snap Engine Id"},
    {YB_SE_NAME, "Snap Engine Name"},
    {YB_SE_MULTIPLE_SNAPS, "Snap Engine Multiple Snaps flag"},
    {YB_SE_CROSS_HOST_MOUNT, "Snap Engine Cross Host Mount flag"},
    {YB_SE_SAME_HOST_MOUNT, "Snap Engine Same Host Mount flag"},
    {YB_SE_SYNC_FUNCTION, "Snap Engine Sync Function flag"},
    {YB_SE_MOUNT_CMD, "Snap Engine Mount Command Hint"},
    {YB_SE_UNMOUNT_CMD, "Snap Engine Unmount Command Hint"},
    {YB_SE_SYNC_CMD, "Snap Engine Sync Command Hint"},
    {YB_SE_UNSYNC_CMD, "Snap Engine Unsync Command Hint"},
    {YB_SE_SNAP_CMD, "Snap Engine Snap Command Hint"},
    {YB_SE_UNSNAP_CMD, "Snap Engine Unsnap Command Hint"},
    {YB_SE_OS_TYPE, "Snap Engine OS Type"},
    {YB_SE_TYPE, "Snap Engine Type"},
    {YB_SE_ROLLBACK_CMD, "Snap Engine Rollback Command Hint"},
};

// A capability flag: its field bit, its bit of the row's Flags and where
// the record keeps it.
struct CapabilityFlag {
    int32_t fieldBit;
    int32_t flagsBit;
    bool SnapEngineInfoRecord_t::*record;
};

const CapabilityFlag kCapabilityFlags[] = {
    {YB_SE_MULTIPLE_SNAPS, SNAPENGINE_FLAG_MULTIPLE_SNAPS, &SnapEngineInfoRecord_t::MultipleSnaps},
    {YB_SE_CROSS_HOST_MOUNT, SNAPENGINE_FLAG_CROSS_HOST_MOUNT, &SnapEngineInfoRecord_t::CrossHostMount},
    {YB_SE_SAME_HOST_MOUNT, SNAPENGINE_FLAG_SAME_HOST_MOUNT, &SnapEngineInfoRecord_t::SameHostMount},
    {YB_SE_SYNC_FUNCTION, SNAPENGINE_FLAG_SYNC_FUNCTION, &SnapEngineInfoRecord_t::SyncFunction},
};

// The six command hints of every version, in field order.
struct CommandHint {
    int32_t bit;
    std::string SnapEngineInfoRecord_t::*record;
    char (YBSnapEngineInfo_t::*row)[sizeof(YBSnapEngineInfo_t::MountCmdHint)];
};

const CommandHint kCommandHints[] = {
    {YB_SE_MOUNT_CMD, &SnapEngineInfoRecord_t::MountCmdHint, &YBSnapEngineInfo_t::MountCmdHint},
    {YB_SE_UNMOUNT_CMD, &SnapEngineInfoRecord_t::UnmountCmdHint, &YBSnapEngineInfo_t::UnmountCmdHint},
    {YB_SE_SYNC_CMD, &SnapEngineInfoRecord_t::SyncCmdHint, &YBSnapEngineInfo_t::SyncCmdHint},
    {YB_SE_UNSYNC_CMD, &SnapEngineInfoRecord_t::UnsyncCmdHint, &YBSnapEngineInfo_t::UnsyncCmdHint},
    {YB_SE_SNAP_CMD, &SnapEngineInfoRecord_t::SnapCmdHint, &YBSnapEngineInfo_t::SnapCmdHint},
    {YB_SE_UNSNAP_CMD, &SnapEngineInfoRecord_t::UnsnapCmdHint, &YBSnapEngineInfo_t::UnsnapCmdHint},
};

// ---- Wire to record --------------------------------------------------------------

template <typename Wire>
void SetSnapEngineInfoRecV1(SnapEngineInfoRecord_t& r, const Wire& w)
{
    r.id = static_cast<int32_t>(w.id);
    r.name = YBTextFromWire(w.name);
    r.MultipleSnaps = YBBoolFromWire(w.MultipleSnaps);
    r.CrossHostMount = YBBoolFromWire(w.CrossHostMount);
    r.SameHostMount = YBBoolFromWire(w.SameHostMount);
    r.SyncFunction = YBBoolFromWire(w.SyncFunction);
    r.MountCmdHint = YBTextFromWire(w.MountCmdHint);
    r.UnmountCmdHint = YBTextFromWire(w.UnmountCmdHint);
    r.SyncCmdHint = YBTextFromWire(w.SyncCmdHint);
    r.UnsyncCmdHint = YBTextFromWire(w.UnsyncCmdHint);
    r.SnapCmdHint = YBTextFromWire(w.SnapCmdHint);
    r.UnsnapCmdHint = YBTextFromWire(w.UnsnapCmdHint);
}

template <typename Wire>
void SetSnapEngineInfoRecV2(SnapEngineInfo42Record_t& r, const Wire& w)
{
    SetSnapEngineInfoRecV1(r, w);
    r.OsType = static_cast<int32_t>(w.OsType);
    r.Type = static_cast<int32_t>(w.Type);
}

void SetSnapEngineInfoRecV3(SnapEngineInfoV3Record_t& r, const repSnapEngineInfoV3& w)
{
    SetSnapEngineInfoRecV2(r, w);
    r.RollbackCmdHint = YBTextFromWire(w.RollbackCmdHint);
}

// ---- Record to wire ----------------------------------------------------------------

template <typename Wire>
void SetSnapEngineInfoMsgV1(Wire& w, const SnapEngineInfoRecord_t& r)
{
    w.id = static_cast<uint32_t>(r.id);
    w.name = YBWireText(r.name);
    w.MultipleSnaps = YBWireBool(r.MultipleSnaps);
    w.CrossHostMount = YBWireBool(r.CrossHostMount);
    w.SameHostMount = YBWireBool(r.SameHostMount);
    w.SyncFunction = YBWireBool(r.SyncFunction);
    w.MountCmdHint = YBWireText(r.MountCmdHint);
    w.UnmountCmdHint = YBWireText(r.UnmountCmdHint);
    w.SyncCmdHint = YBWireText(r.SyncCmdHint);
    w.UnsyncCmdHint = YBWireText(r.UnsyncCmdHint);
    w.SnapCmdHint = YBWireText(r.SnapCmdHint);
    w.UnsnapCmdHint = YBWireText(r.UnsnapCmdHint);
}

template <typename Wire>
void SetSnapEngineInfoMsgV2(Wire& w, const SnapEngineInfo42Record_t& r)
{
    SetSnapEngineInfoMsgV1(w, r);
    w.OsType = static_cast<uint32_t>(r.OsType);
    w.Type = static_cast<uint32_t>(r.Type);
}

void SetSnapEngineInfoMsgV3(repSnapEngineInfoV3& w, const SnapEngineInfoV3Record_t& r)
{
    SetSnapEngineInfoMsgV2(w, r);
    w.RollbackCmdHint = YBWireText(r.RollbackCmdHint);
}

// ---- Row to record -----------------------------------------------------------------

void SetSnapEngineInfoV1FromDB(SnapEngineInfoRecord_t& r, const YBSnapEngineInfo_t& row)
{
    r.id = row.id;
    r.name = YBColumnText(row.name);
    for (const CapabilityFlag& flag : kCapabilityFlags) r.*flag.record = YBFlagBit(row.Flags, flag.flagsBit);
    for (const CommandHint& hint : kCommandHints) r.*hint.record = YBColumnText(row.*hint.row);
}

void SetSnapEngineInfoV2FromDB(SnapEngineInfo42Record_t& r, const YBSnapEngineInfo_t& row)
{
    SetSnapEngineInfoV1FromDB(r, row);
    r.OsType = row.OsType;
    r.Type = row.Type;
}

void SetSnapEngineInfoV3FromDB(SnapEngineInfoV3Record_t& r, const YBSnapEngineInfo_t& row)
{
    SetSnapEngineInfoV2FromDB(r, row);
    r.RollbackCmdHint = YBColumnText(row.RollbackCmdHint);
}

// ---- Record to row, with the length limits ---------------------------------------------

int SetSnapEngineV1FromRec(YBSnapEngineInfo_t& row, const SnapEngineInfoRecord_t& r, int& code)
{
    YBZeroRow(row);
    row.id = r.id;
    if (!YBCopyCheckedText(row.name, r.name)) {
        code = kErrTooLong;
        return YB_SE_NAME;
    }
    for (const CapabilityFlag& flag : kCapabilityFlags) {
        if (r.*flag.record) row.Flags |= flag.flagsBit;
    }
    for (const CommandHint& hint : kCommandHints) {
        if (!YBCopyCheckedText(row.*hint.row, r.*hint.record)) {
            code = kErrTooLong;
            return hint.bit;
        }
    }
    return 0;
}

int SetSnapEngineV2FromRec(YBSnapEngineInfo_t& row, const SnapEngineInfo42Record_t& r, int& code)
{
    const int refused = SetSnapEngineV1FromRec(row, r, code);
    if (refused != 0) return refused;
    row.OsType = r.OsType;
    row.Type = r.Type;
    return 0;
}

int SetSnapEngineV3FromRec(YBSnapEngineInfo_t& row, const SnapEngineInfoV3Record_t& r, int& code)
{
    const int refused = SetSnapEngineV2FromRec(row, r, code);
    if (refused != 0) return refused;
    if (!YBCopyCheckedText(row.RollbackCmdHint, r.RollbackCmdHint)) {
        code = kErrTooLong;
        return YB_SE_ROLLBACK_CMD;
    }
    return 0;
}

}  // namespace

const char* GetSnapEngineFieldName(int bit)
{
    for (const FieldLabel& entry : kFieldLabels) {
        if (entry.bit == bit) return entry.label;
    }
    return "Snap Engine Unknown";
}

int32_t MergeSnapEngineFlags(int32_t stored, int32_t requested, int32_t mask)
{
    return MergeFlags(stored, requested, mask, kCapabilityFlags);
}

int32_t GetUpdateMap(const SnapEngineInfoRecord_t&) { return 0x4ff; }
int32_t GetUpdateMap(const SnapEngineInfo42Record_t&) { return 0x1fff; }
int32_t GetUpdateMap(const SnapEngineInfoV3Record_t&) { return 0x2fff; }

void YBSet(SnapEngineInfoRecord_t& dst, const repSnapEngineInfo& src) { SetSnapEngineInfoRecV1(dst, src); }
void YBSet(SnapEngineInfo42Record_t& dst, const repSnapEngineInfo42& src) { SetSnapEngineInfoRecV2(dst, src); }
void YBSet(SnapEngineInfoV3Record_t& dst, const repSnapEngineInfoV3& src) { SetSnapEngineInfoRecV3(dst, src); }

void YBSet(repSnapEngineInfo& dst, const SnapEngineInfoRecord_t& src) { SetSnapEngineInfoMsgV1(dst, src); }
void YBSet(repSnapEngineInfo42& dst, const SnapEngineInfo42Record_t& src) { SetSnapEngineInfoMsgV2(dst, src); }
void YBSet(repSnapEngineInfoV3& dst, const SnapEngineInfoV3Record_t& src) { SetSnapEngineInfoMsgV3(dst, src); }

void YBSet(SnapEngineInfoRecord_t& dst, const YBSnapEngineInfo_t& src) { SetSnapEngineInfoV1FromDB(dst, src); }
void YBSet(SnapEngineInfo42Record_t& dst, const YBSnapEngineInfo_t& src) { SetSnapEngineInfoV2FromDB(dst, src); }
void YBSet(SnapEngineInfoV3Record_t& dst, const YBSnapEngineInfo_t& src) { SetSnapEngineInfoV3FromDB(dst, src); }

int YBSet(YBSnapEngineInfo_t& dst, const SnapEngineInfoRecord_t& src, int& code)
{
    return SetSnapEngineV1FromRec(dst, src, code);
}
int YBSet(YBSnapEngineInfo_t& dst, const SnapEngineInfo42Record_t& src, int& code)
{
    return SetSnapEngineV2FromRec(dst, src, code);
}
int YBSet(YBSnapEngineInfo_t& dst, const SnapEngineInfoV3Record_t& src, int& code)
{
    return SetSnapEngineV3FromRec(dst, src, code);
}

void YBSet(std::vector<SnapEngineInfoRecord_t>& dst, const YBSnapEngineInfo_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SnapEngineInfo42Record_t>& dst, const YBSnapEngineInfo_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<SnapEngineInfoV3Record_t>& dst, const YBSnapEngineInfo_t& src) { YBAppendFromRow(dst, src); }

void YBSet(repSnapEngineInfo* dst, const std::vector<SnapEngineInfoRecord_t>& src) { YBSetArray(dst, src); }
void YBSet(repSnapEngineInfo42* dst, const std::vector<SnapEngineInfo42Record_t>& src) { YBSetArray(dst, src); }
void YBSet(repSnapEngineInfoV3* dst, const std::vector<SnapEngineInfoV3Record_t>& src) { YBSetArray(dst, src); }

template bool CopyVectorToMsg(repSnapEngineInfo**, const std::vector<SnapEngineInfoRecord_t>&);
template bool CopyVectorToMsg(repSnapEngineInfo42**, const std::vector<SnapEngineInfo42Record_t>&);
template bool CopyVectorToMsg(repSnapEngineInfoV3**, const std::vector<SnapEngineInfoV3Record_t>&);
