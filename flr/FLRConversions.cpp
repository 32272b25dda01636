// YBSet conversions of consistency points, FLR snapshots, pairs, pair paths,
// mount points, shares, recovery points and fan-in details between records,
// wire records and rows: each overload calls the setter of the highest
// version of its pair, which calls the next lower one first.
#include "flr/FLRRecords.h"

#include "rows/Db/Cursor/YBFLRGetRPByClientIdAndVolGuid.h"
#include "rows/Db/Cursor/YBFLRGetRPByClientIdAndVolName.h"
#include "rows/Db/Cursor/YBGetFLRPairPathByCPId.h"
#include "rows/Db/Proc/YBGetAllRPsbyDstClientId.h"
#include "service/ErrorCodes.h"
#include "service/RecordConversion.h"

namespace {

// ---- Snapshots ----

template <typename Wire>
void SetMsgFLRSnapV1(Wire& dst, const FLRSnapshotRecord_t& src)
{
    dst.id = src.id;
    dst.ConsistencyPointId = src.ConsistencyPointId;
    dst.Name = YBWireText(src.Name);
    dst.SnapVolumeName = YBWireText(src.SnapVolumeName);
    dst.VolumeGUID = YBWireText(src.VolumeGUID);
}

void SetMsgFLRSnapV2(repFLRSnapRecV2& dst, const FLRSnapshotRecord_t& src)
{
    SetMsgFLRSnapV1(dst, src);
    dst.Type = src.Type;
    dst.SnapshotPath = YBWireText(src.SnapshotPath);
    dst.AuxValue = src.AuxValue;
}

template <typename Wire>
void SetRecFLRSnapV1(FLRSnapshotRecord_t& dst, const Wire& src)
{
    dst.id = src.id;
    dst.ConsistencyPointId = src.ConsistencyPointId;
    dst.Name = YBTextFromWire(src.Name);
    dst.SnapVolumeName = YBTextFromWire(src.SnapVolumeName);
    dst.VolumeGUID = YBTextFromWire(src.VolumeGUID);
}

void SetRecFLRSnapV2(FLRSnapshotRecord_t& dst, const repFLRSnapRecV2& src)
{
    SetRecFLRSnapV1(dst, src);
    dst.Type = src.Type;
    dst.SnapshotPath = YBTextFromWire(src.SnapshotPath);
    dst.AuxValue = src.AuxValue;
}

// ---- Consistency points ----

// A wire flag reads true only as 1; a true flag sets its bit.
void SetCPFlag(bool& flag, int32_t& flags, uint32_t wire, int32_t bit)
{
    flag = wire == 1;
    if (flag) flags |= bit;
}

template <typename Wire>
void SetCPV1(FLRConsistencyPointRecord_t& dst, const Wire& src)
{
    dst.id = src.id;
    dst.CreationTime = src.CreationTime;
    dst.FLRSetId = src.FLRSetId;
    dst.JobId = src.JobId;
    SetCPFlag(dst.Unstable, dst.Flags, src.Unstable, FLRCP_FLAG_UNSTABLE);
    SetCPFlag(dst.AutoMount, dst.Flags, src.AutoMount, FLRCP_FLAG_AUTOMOUNT);
    SetCPFlag(dst.FlagBit4, dst.Flags, src.FlagBit4, FLRCP_FLAG_BIT4);
    dst.SrcClientId = src.SrcClientId;
}

template <typename Wire>
void SetCPV2(FLRConsistencyPointRecord_t& dst, const Wire& src)
{
    SetCPV1(dst, src);
    dst.AuxValue = src.AuxValue;
    dst.Type = src.Type;
}

void SetCPV3(FLRConsistencyPointRecord_t& dst, const repWinFLRConsistencyPointRecV3& src)
{
    SetCPV2(dst, src);
    dst.Flags |= static_cast<int32_t>(src.Flags);
}

template <typename Wire>
void SetMsgCPV1(Wire& dst, const FLRConsistencyPointRecord_t& src)
{
    dst.id = src.id;
    dst.CreationTime = static_cast<int32_t>(src.CreationTime);
    dst.FLRSetId = static_cast<int32_t>(src.FLRSetId);
    dst.JobId = src.JobId;
    dst.Unstable = YBWireBool(src.Unstable);
    dst.AutoMount = YBWireBool(src.AutoMount);
    dst.FlagBit4 = YBWireBool(src.FlagBit4);
    dst.SrcClientId = src.SrcClientId;
}

template <size_t N, size_t M>
void AppendRPInfo(std::vector<RPInfo1Record_t>& dst, int32_t cpId, int32_t creationTime, const char (&name)[N],
                  const char (&mountPoint)[M], int64_t jobId)
{
    RPInfo1Record_t rp;
    rp.CPId = cpId;
    rp.CreationTime = creationTime;
    rp.Name = YBColumnText(name);
    rp.MountPoint = YBColumnText(mountPoint);
    rp.JobId = static_cast<int32_t>(jobId);
    dst.push_back(std::move(rp));
}

template <typename Wire>
void SetMsgCPType(Wire& dst, const FLRConsistencyPointRecord_t& src)
{
    dst.AuxValue = src.AuxValue;
    dst.Type = src.Type;
    YBSetCPFlag(dst, src);
}

}  // namespace

// ---- Wire to record ----

void YBSet(FLRSnapshotRecord_t& dst, const repFLRSnapRec& src) { SetRecFLRSnapV1(dst, src); }
void YBSet(FLRSnapshotRecord_t& dst, const repFLRSnapRecV2& src) { SetRecFLRSnapV2(dst, src); }
void YBSet(FLRConsistencyPointRecord_t& dst, const repFLRConsistencyPointRec& src) { SetCPV1(dst, src); }
void YBSet(FLRConsistencyPointRecord_t& dst, const repWinFLRConsistencyPointRecV2& src) { SetCPV2(dst, src); }
void YBSet(FLRConsistencyPointRecord_t& dst, const repWinFLRConsistencyPointRecV3& src) { SetCPV3(dst, src); }

void YBSet(FanInDetail_t& dst, const repFLRFanInDetailRec& src)
{
    dst.SrcPath = YBTextFromWire(src.SrcPath);
    dst.DstPath = YBTextFromWire(src.DstPath);
    dst.SrcClientId = src.SrcClientId;
    dst.RepSetId = src.RepSetId;
    dst.SrcClientNetName = YBTextFromWire(src.SrcClientNetName);
    dst.RepSetName = YBTextFromWire(src.RepSetName);
    dst.DstClientId = src.DstClientId;
}

// ---- Record to wire ----

void YBSet(repFLRSnapRec& dst, const FLRSnapshotRecord_t& src) { SetMsgFLRSnapV1(dst, src); }
void YBSet(repFLRSnapRecV2& dst, const FLRSnapshotRecord_t& src) { SetMsgFLRSnapV2(dst, src); }

void YBSet(repFLRConsistencyPointRec& dst, const FLRConsistencyPointRecord_t& src) { SetMsgCPV1(dst, src); }

void YBSet(repWinFLRConsistencyPointRecV2& dst, const FLRConsistencyPointRecord_t& src)
{
    SetMsgCPV1(dst, src);
    YBSetCPType(dst, src);
}

void YBSet(repWinFLRConsistencyPointRecV3& dst, const FLRConsistencyPointRecord_t& src)
{
    SetMsgCPV1(dst, src);
    YBSetCPType(dst, src);
}

void YBSetCPType(repFLRConsistencyPointRec&, const FLRConsistencyPointRecord_t&) {}
void YBSetCPType(repWinFLRConsistencyPointRecV2& dst, const FLRConsistencyPointRecord_t& src) { SetMsgCPType(dst, src); }
void YBSetCPType(repWinFLRConsistencyPointRecV3& dst, const FLRConsistencyPointRecord_t& src) { SetMsgCPType(dst, src); }
void YBSetCPFlag(repWinFLRConsistencyPointRecV2&, const FLRConsistencyPointRecord_t&) {}

void YBSetCPFlag(repWinFLRConsistencyPointRecV3& dst, const FLRConsistencyPointRecord_t& src)
{
    dst.Flags = static_cast<uint32_t>(src.Flags);
}

void YBSet(repRPInfo1& dst, const RPInfo1Record_t& src)
{
    dst.CPId = src.CPId;
    dst.CreationTime = src.CreationTime;
    dst.Name = YBWireText(src.Name);
    dst.MountPoint = YBWireText(src.MountPoint);
    dst.JobId = src.JobId;
}

void YBSet(repFLRFanInDetailRec& dst, const FanInDetail_t& src)
{
    dst.SrcPath = YBWireText(src.SrcPath);
    dst.DstPath = YBWireText(src.DstPath);
    dst.SrcClientId = src.SrcClientId;
    dst.RepSetId = src.RepSetId;
    dst.SrcClientNetName = YBWireText(src.SrcClientNetName);
    dst.RepSetName = YBWireText(src.RepSetName);
    dst.DstClientId = src.DstClientId;
}

void YBSet(repFLRSnapPairElem& dst, const FLRSnapPairRecord_t& src)
{
    dst.id = src.id;
    dst.SnapshotId = src.SnapshotId;
    dst.PairId = src.PairId;
}

void YBSet(repFLRPairPathElem& dst, const FLRPairPathRecord_t& src)
{
    dst.PairId = src.PairId;
    dst.SrcPath = YBWireText(src.SrcPath);
    dst.DstPath = YBWireText(src.DstPath);
}

void YBSet(repFLRSnapMountPointElem& dst, const FLRSnapMountPointRecord_t& src)
{
    dst.id = src.id;
    dst.SnapshotId = src.SnapshotId;
    dst.MountPath = YBWireText(src.MountPath);
}

void YBSet(repFLRSnapNetworkShareElem& dst, const FLRSnapNetworkShareRecord_t& src)
{
    dst.id = src.id;
    dst.MountPointId = src.MountPointId;
    dst.NetShareName = YBWireText(src.NetShareName);
}

// ---- Row to record ----

void YBSet(FLRConsistencyPointRecord_t& dst, const YBFLRConsistencyPoint_t& src)
{
    dst.id = src.id;
    dst.CreationTime = src.CreationTime;
    dst.FLRSetId = src.FLRSetId;
    dst.JobId = src.JobId;
    dst.Flags = src.Flags;
    dst.Unstable = YBFlagBit(src.Flags, FLRCP_FLAG_UNSTABLE);
    dst.AutoMount = YBFlagBit(src.Flags, FLRCP_FLAG_AUTOMOUNT);
    dst.FlagBit4 = YBFlagBit(src.Flags, FLRCP_FLAG_BIT4);
    dst.ClientId = src.ClientId;
    dst.TallmarkId = src.TallmarkId;
    dst.SrcClientId = src.SrcClientId;
    dst.Type = src.Type;
    dst.AuxValue = 0;
}

void YBSet(FLRSnapshotRecord_t& dst, const YBFLRSnapshot_t& src)
{
    dst.id = src.id;
    dst.ConsistencyPointId = src.ConsistencyPointId;
    dst.Name = YBColumnText(src.Name);
    dst.SnapVolumeName = YBColumnText(src.SnapVolumeName);
    dst.VolumeGUID = YBColumnText(src.VolumeGUID);
    dst.Type = src.Type;
    dst.SnapshotPath = YBColumnText(src.SnapshotPath);
    dst.AuxValue = src.AuxValue;
}

void YBSet(FLRSnapPairRecord_t& dst, const YBFLRSnapPair_t& src)
{
    dst.id = src.id;
    dst.SnapshotId = src.SnapshotId;
    dst.PairId = src.PairId;
}

void YBSet(FLRSnapMountPointRecord_t& dst, const YBFLRSnapMountPoint_t& src)
{
    dst.id = src.id;
    dst.SnapshotId = src.SnapshotId;
    dst.MountPath = YBColumnText(src.MountPath);
}

void YBSet(FLRSnapNetworkShareRecord_t& dst, const YBFLRSnapNetworkShare_t& src)
{
    dst.id = src.id;
    dst.MountPointId = src.MountPointId;
    dst.NetShareName = YBColumnText(src.NetShareName);
}

// ---- Record to row ----

bool YBSet(YBDBDst_t<YBFLRConsistencyPoint_t>& dst, const FLRConsistencyPointRecord_t& src)
{
    YBFLRConsistencyPoint_t& row = dst.row;
    row.id = src.id;
    row.CreationTime = static_cast<int32_t>(src.CreationTime);
    row.FLRSetId = static_cast<int32_t>(src.FLRSetId);
    row.JobId = static_cast<int32_t>(src.JobId);
    row.Flags = src.Flags;
    row.ClientId = src.ClientId;
    row.TallmarkId = src.TallmarkId;
    row.SrcClientId = src.SrcClientId;
    row.Type = src.Type;
    return true;
}

bool YBSet(YBDBDst_t<YBFLRSnapshot_t>& dst, const FLRSnapshotRecord_t& src)
{
    YBFLRSnapshot_t& row = dst.row;
    row.id = src.id;
    row.ConsistencyPointId = src.ConsistencyPointId;
    row.Type = src.Type;
    row.AuxValue = src.AuxValue;
    // Each text within its limit, else -18 with the text's message.
    struct Text {
        const std::string& value;
        char* column;
        size_t columnSize;
        const char* tooLong;
    };
    const Text texts[] = {
        {src.Name, row.Name, sizeof row.Name, "Snapshot name is too long"},
        {src.SnapVolumeName, row.SnapVolumeName, sizeof row.SnapVolumeName, "Volume name is too long"},
        {src.VolumeGUID, row.VolumeGUID, sizeof row.VolumeGUID, "Volume GUID is too long"},
        {src.SnapshotPath, row.SnapshotPath, sizeof row.SnapshotPath, "VSS Shadow set id is too long"},
    };
    for (const Text& t : texts) {
        if (t.value.size() > t.columnSize - 2) {
            dst.errCode = kErrTooLong;
            dst.errMsg = t.tooLong;
            return false;
        }
        if (t.value.empty()) continue;
        t.value.copy(t.column, t.value.size());
        t.column[t.value.size()] = '\0';
    }
    return true;
}

// ---- Vector forms ----

void YBSet(std::vector<FLRSnapshotRecord_t>& dst, const repFLRSnapRec& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<FLRSnapshotRecord_t>& dst, const repFLRSnapRecV2& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<FLRSnapshotRecord_t>& dst, const YBFLRSnapshot_t& src) { YBAppendFromRow(dst, src); }

void YBSet(std::vector<RPInfo1Record_t>& dst, const YBFLRGetRPByClientIdAndVolName_t& src)
{
    AppendRPInfo(dst, src.CPId, src.CreationTime, src.Name, src.MountPoint, src.JobId);
}

void YBSet(std::vector<RPInfo1Record_t>& dst, const YBFLRGetRPByClientIdAndVolGuid_t& src)
{
    AppendRPInfo(dst, src.CPId, src.CreationTime, src.Name, src.MountPoint, src.JobId);
}

void YBSet(std::vector<RPInfo1Record_t>& dst, const YBGetAllRPsbyDstClientId_t& src)
{
    AppendRPInfo(dst, src.CpId, src.iCreationTime, src.szName, src.szMountPoint, src.llJobId);
}

void YBSet(std::vector<FanInDetail_t>& dst, const YBGetFLRPairPathByCPId_t& src)
{
    dst.emplace_back(YBColumnText(src.SrcPath), YBColumnText(src.DstPath), src.SrcClientId, src.RepSetId,
                     YBColumnText(src.SrcClientNetName), YBColumnText(src.RepSetName), src.DstClientId);
}
