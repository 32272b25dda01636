// The YBSet conversions of volume snap parameter records: the version 2
// setter of a pair calls the version 1 setter first, then sets the flag and
// the rollback command.
#include <string>
#include <vector>

#include "policies/VolSnapParamRecords.h"
#include "service/ErrorCodes.h"
#include "service/RecordConversion.h"

namespace {

// The six commands of every version, in field order, with the refusal of
// a command too long for its column.
struct Command {
    std::string VolSnapParamsRecord_t::*record;
    char (YBVolSnapParams_t::*row)[sizeof(YBVolSnapParams_t::MountCmd)];
    const char* tooLong;
};

const Command kCommands[] = {
    {&VolSnapParamsRecord_t::MountCmd, &YBVolSnapParams_t::MountCmd, "Mount Command is too long"},
    {&VolSnapParamsRecord_t::UnmountCmd, &YBVolSnapParams_t::UnmountCmd, "Unmount command is too long"},
    {&VolSnapParamsRecord_t::SyncCmd, &YBVolSnapParams_t::SyncCmd, "Sync Command is too long"},
    {&VolSnapParamsRecord_t::UnsyncCmd, &YBVolSnapParams_t::UnsyncCmd, "Unsync command is too long"},
    {&VolSnapParamsRecord_t::SnapCmd, &YBVolSnapParams_t::SnapCmd, "Snap command is too long"},
    {&VolSnapParamsRecord_t::UnsnapCmd, &YBVolSnapParams_t::UnsnapCmd, "Unsnap command is too long"},
};

bool Refuse(YBDBDst_t<YBVolSnapParams_t>& dst, const char* text)
{
    dst.errCode = kErrTooLong;
    dst.errMsg = text;
    return false;
}

// ---- Wire to record ----------------------------------------------------------------

template <typename Wire>
void SetVolSnapParamsRecV1(VolSnapParamsRecord_t& r, const Wire& w)
{
    r.SNRVolumeId = static_cast<int32_t>(w.SNRVolumeId);
    r.SnapEngineId = static_cast<int32_t>(w.SnapEngineId);
    r.MountClientId = static_cast<int32_t>(w.MountClientId);
    r.MountCmd = YBTextFromWire(w.MountCmd);
    r.UnmountCmd = YBTextFromWire(w.UnmountCmd);
    r.SyncClientId = static_cast<int32_t>(w.SyncClientId);
    r.SyncCmd = YBTextFromWire(w.SyncCmd);
    r.UnsyncCmd = YBTextFromWire(w.UnsyncCmd);
    r.SnapClientId = static_cast<int32_t>(w.SnapClientId);
    r.SnapCmd = YBTextFromWire(w.SnapCmd);
    r.UnsnapCmd = YBTextFromWire(w.UnsnapCmd);
}

void SetVolSnapParamsRecV2(VolSnapParamsV2Record_t& r, const repVolumeSnapParamsV2& w)
{
    SetVolSnapParamsRecV1(r, w);
    r.FlagBit1 = YBBoolFromWire(w.FlagBit1);
    r.RollbackCmd = YBTextFromWire(w.RollbackCmd);
}

// ---- Record to wire ----------------------------------------------------------------

template <typename Wire>
void SetVolSnapParamsMsgV1(Wire& w, const VolSnapParamsRecord_t& r)
{
    w.SNRVolumeId = static_cast<uint32_t>(r.SNRVolumeId);
    w.SnapEngineId = static_cast<uint32_t>(r.SnapEngineId);
    w.MountClientId = static_cast<uint32_t>(r.MountClientId);
    w.MountCmd = YBWireText(r.MountCmd);
    w.UnmountCmd = YBWireText(r.UnmountCmd);
    w.SyncClientId = static_cast<uint32_t>(r.SyncClientId);
    w.SyncCmd = YBWireText(r.SyncCmd);
    w.UnsyncCmd = YBWireText(r.UnsyncCmd);
    w.SnapClientId = static_cast<uint32_t>(r.SnapClientId);
    w.SnapCmd = YBWireText(r.SnapCmd);
    w.UnsnapCmd = YBWireText(r.UnsnapCmd);
}

void SetVolSnapParamsMsgV2(repVolumeSnapParamsV2& w, const VolSnapParamsV2Record_t& r)
{
    SetVolSnapParamsMsgV1(w, r);
    w.FlagBit1 = YBWireBool(r.FlagBit1);
    w.RollbackCmd = YBWireText(r.RollbackCmd);
}

// ---- Row to record -----------------------------------------------------------------

void SetVolSnapParamsV1FromDB(VolSnapParamsRecord_t& r, const YBVolSnapParams_t& row)
{
    r.SNRVolumeId = row.SNRVolumeId;
    r.SnapEngineId = row.SnapEngineId;
    r.MountClientId = row.MountClientId;
    r.SyncClientId = row.SyncClientId;
    r.SnapClientId = row.SnapClientId;
    for (const Command& command : kCommands) r.*command.record = YBColumnText(row.*command.row);
}

void SetVolSnapParamsV2FromDB(VolSnapParamsV2Record_t& r, const YBVolSnapParams_t& row)
{
    SetVolSnapParamsV1FromDB(r, row);
    r.FlagBit1 = YBFlagBit(row.Flags, VOLSNAP_FLAG_BIT1);
    r.RollbackCmd = YBColumnText(row.RollbackCmd);
}

// ---- Record to row, with the length limits ---------------------------------------------

bool SetVolSnapParamsV1FromRec(YBDBDst_t<YBVolSnapParams_t>& dst, const VolSnapParamsRecord_t& r)
{
    YBVolSnapParams_t& row = dst.row;
    YBZeroRow(row);
    row.SNRVolumeId = r.SNRVolumeId;
    row.SnapEngineId = r.SnapEngineId;
    row.MountClientId = r.MountClientId;
    row.SyncClientId = r.SyncClientId;
    row.SnapClientId = r.SnapClientId;
    for (const Command& command : kCommands) {
        if (!YBCopyCheckedText(row.*command.row, r.*command.record)) return Refuse(dst, command.tooLong);
    }
    return true;
}

bool SetVolSnapParamsV2FromRec(YBDBDst_t<YBVolSnapParams_t>& dst, const VolSnapParamsV2Record_t& r)
{
    if (!SetVolSnapParamsV1FromRec(dst, r)) return false;
    if (r.FlagBit1) dst.row.Flags |= VOLSNAP_FLAG_BIT1;
    if (!YBCopyCheckedText(dst.row.RollbackCmd, r.RollbackCmd)) return Refuse(dst, "Rollback command is too long");
    return true;
}

}  // namespace

int32_t GetUpdateMap(const VolSnapParamsRecord_t&) { return 0x3ff; }
int32_t GetUpdateMap(const VolSnapParamsV2Record_t&) { return 0xfff; }

void YBSet(VolSnapParamsRecord_t& dst, const repVolumeSnapParams& src) { SetVolSnapParamsRecV1(dst, src); }
void YBSet(VolSnapParamsV2Record_t& dst, const repVolumeSnapParamsV2& src) { SetVolSnapParamsRecV2(dst, src); }

void YBSet(repVolumeSnapParams& dst, const VolSnapParamsRecord_t& src) { SetVolSnapParamsMsgV1(dst, src); }
void YBSet(repVolumeSnapParamsV2& dst, const VolSnapParamsV2Record_t& src) { SetVolSnapParamsMsgV2(dst, src); }

void YBSet(VolSnapParamsRecord_t& dst, const YBVolSnapParams_t& src) { SetVolSnapParamsV1FromDB(dst, src); }
void YBSet(VolSnapParamsV2Record_t& dst, const YBVolSnapParams_t& src) { SetVolSnapParamsV2FromDB(dst, src); }

bool YBSet(YBDBDst_t<YBVolSnapParams_t>& dst, const VolSnapParamsRecord_t& src)
{
    return SetVolSnapParamsV1FromRec(dst, src);
}
bool YBSet(YBDBDst_t<YBVolSnapParams_t>& dst, const VolSnapParamsV2Record_t& src)
{
    return SetVolSnapParamsV2FromRec(dst, src);
}

void YBSet(std::vector<VolSnapParamsRecord_t>& dst, const YBVolSnapParams_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<VolSnapParamsV2Record_t>& dst, const YBVolSnapParams_t& src) { YBAppendFromRow(dst, src); }

void YBSet(repVolumeSnapParams* dst, const std::vector<VolSnapParamsRecord_t>& src) { YBSetArray(dst, src); }
void YBSet(repVolumeSnapParamsV2* dst, const std::vector<VolSnapParamsV2Record_t>& src) { YBSetArray(dst, src); }

template bool CopyVectorToMsg(repVolumeSnapParams**, const std::vector<VolSnapParamsRecord_t>&);
template bool CopyVectorToMsg(repVolumeSnapParamsV2**, const std::vector<VolSnapParamsV2Record_t>&);
