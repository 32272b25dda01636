// YBSet conversions of scratch volumes and scratch pools: each overload
// calls the setter of the highest version of its pair, which calls the next
// lower version first.
#include "scratch/ScratchRecords.h"

#include <utility>

#include "rows/Db/Cursor/YBGetSNRVolInfoByClientId.h"
#include "rows/Db/Cursor/YBGetSNRVolInfoByPoolId.h"
#include "rows/Db/Cursor/YBGetSNRVolumeById.h"
#include "service/ErrorCodes.h"
#include "service/RecordConversion.h"

namespace {

// Scratch volumes.

template <typename Record, typename Wire>
void SetScratchVolRecV1(Record& r, const Wire& w)
{
    r.id = static_cast<int32_t>(w.id);
    r.PhysicalVolumeId = static_cast<int32_t>(w.PhysicalVolumeId);
    r.RVScratchVolumePoolId = static_cast<int32_t>(w.RVScratchVolumePoolId);
}

template <typename Record, typename Wire>
void SetScratchVolRecV2(Record& r, const Wire& w)
{
    SetScratchVolRecV1(r, w);
    r.LockedByJobId = w.LockedByJobId;
}

// The scratch volume row and the SNR volume cursor rows, which name its
// columns RVid, RVPhysicalVolumeId and RVLockedByJobId. LockedByJobId is
// widened with its sign; Flags (RVFlags) is not carried.

YB_ROW_COLUMN(YBScratchRowId, RVid, id)
YB_ROW_COLUMN(YBScratchRowPhysicalVolumeId, RVPhysicalVolumeId, PhysicalVolumeId)
YB_ROW_COLUMN(YBScratchRowLockedByJobId, RVLockedByJobId, LockedByJobId)

template <typename Record, typename Row>
void SetScratchVolFromCursorV1(Record& r, const Row& row)
{
    r.id = YBScratchRowId(row);
    r.PhysicalVolumeId = YBScratchRowPhysicalVolumeId(row);
    r.RVScratchVolumePoolId = row.RVScratchVolumePoolId;
}

template <typename Record, typename Row>
void SetScratchVolFromCursorV2(Record& r, const Row& row)
{
    SetScratchVolFromCursorV1(r, row);
    r.LockedByJobId = static_cast<int64_t>(YBScratchRowLockedByJobId(row));
}

template <typename Record>
void SetScratchVolRecV1(Record& r, const YBScratchVolume_t& row) { SetScratchVolFromCursorV1(r, row); }
template <typename Record>
void SetScratchVolRecV2(Record& r, const YBScratchVolume_t& row) { SetScratchVolFromCursorV2(r, row); }

template <typename Wire, typename Record>
void SetScratchVolMsgV1(Wire& w, const Record& r)
{
    w.id = static_cast<uint32_t>(r.id);
    w.PhysicalVolumeId = static_cast<uint32_t>(r.PhysicalVolumeId);
    w.RVScratchVolumePoolId = static_cast<uint32_t>(r.RVScratchVolumePoolId);
}

template <typename Wire, typename Record>
void SetScratchVolMsgV2(Wire& w, const Record& r)
{
    SetScratchVolMsgV1(w, r);
    w.LockedByJobId = r.LockedByJobId;
}

template <typename Wire>
void InvalidateScratchVolMsgV1(Wire& w)
{
    w.id = static_cast<uint32_t>(-1);
    w.PhysicalVolumeId = static_cast<uint32_t>(-1);
    w.RVScratchVolumePoolId = static_cast<uint32_t>(-1);
}

template <typename Wire>
void InvalidateScratchVolMsgV2(Wire& w)
{
    InvalidateScratchVolMsgV1(w);
    w.LockedByJobId = -1;
}

// Scratch pools.

template <typename Record, typename Wire>
void SetPoolRecV1(Record& r, const Wire& w)
{
    r.id = static_cast<int32_t>(w.id);
    r.TotalVolumes = static_cast<int32_t>(w.TotalVolumes);
    r.AvailableVolumes = static_cast<int32_t>(w.AvailableVolumes);
    r.name = YBTextFromWire(w.name);
}

template <typename Record, typename Wire>
void SetPoolRecV2(Record& r, const Wire& w)
{
    SetPoolRecV1(r, w);
    r.SnapEngineInfoId = static_cast<int32_t>(w.SnapEngineInfoId);
}

template <typename Record, typename Wire>
void SetPoolRecV3(Record& r, const Wire& w)
{
    SetPoolRecV2(r, w);
    r.Type = static_cast<int32_t>(w.Type);
    r.UpdateMask = static_cast<int32_t>(w.UpdateMask);
}

template <typename Wire, typename Record>
void SetPoolMsgV1(Wire& w, const Record& r)
{
    w.id = static_cast<uint32_t>(r.id);
    w.TotalVolumes = static_cast<uint32_t>(r.TotalVolumes);
    w.AvailableVolumes = static_cast<uint32_t>(r.AvailableVolumes);
    w.name = YBWireText(r.name);
}

template <typename Wire, typename Record>
void SetPoolMsgV2(Wire& w, const Record& r)
{
    SetPoolMsgV1(w, r);
    w.SnapEngineInfoId = static_cast<uint32_t>(r.SnapEngineInfoId);
}

template <typename Wire, typename Record>
void SetPoolMsgV3(Wire& w, const Record& r)
{
    SetPoolMsgV2(w, r);
    w.Type = static_cast<uint32_t>(r.Type);
    w.UpdateMask = static_cast<uint32_t>(r.UpdateMask);
}

// The reserved column is not carried; UpdateMask keeps its default.
template <typename Record>
void SetYBPoolV1FromDB(Record& r, const YBScratchPool_t& row)
{
    r.id = row.id;
    r.TotalVolumes = row.TotalVolumes;
    r.AvailableVolumes = row.AvailableVolumes;
    r.name = YBColumnText(row.name);
}

template <typename Record>
void SetYBPoolV2FromDB(Record& r, const YBScratchPool_t& row)
{
    SetYBPoolV1FromDB(r, row);
    r.SnapEngineInfoId = row.SnapEngineInfoId;
}

template <typename Record>
void SetYBPoolV3FromDB(Record& r, const YBScratchPool_t& row)
{
    SetYBPoolV2FromDB(r, row);
    r.Type = row.Type;
}

// Adding: only the record's columns are written; the name is copied only
// when it is not empty, and never past the column.
template <typename Record>
void YBSetPoolV1(YBScratchPool_t& row, const Record& r)
{
    row.Type = 1;
    if (!r.name.empty()) YBCopyText(row.name, r.name);
}

template <typename Record>
void YBSetPoolV2(YBScratchPool_t& row, const Record& r)
{
    YBSetPoolV1(row, r);
    row.SnapEngineInfoId = r.SnapEngineInfoId;
}

template <typename Record>
void YBSetPoolV3(YBScratchPool_t& row, const Record& r)
{
    YBSetPoolV2(row, r);
    row.Type = r.Type;
}

// Updating: the row starts zeroed; a name may hold 127 characters.
template <typename Record>
bool SetPoolDBV1(YBDBDst_t<YBScratchPool_t>& dst, const Record& r)
{
    YBScratchPool_t& row = dst.row;
    YBZeroRow(row);
    if (!YBCopyCheckedText(row.name, r.name)) {
        dst.errCode = kErrTooLong;
        dst.errMsg = "Scratch pool name is too long";
        return false;
    }
    return true;
}

template <typename Record>
bool SetPoolDBV2(YBDBDst_t<YBScratchPool_t>& dst, const Record& r)
{
    if (!SetPoolDBV1(dst, r)) return false;
    dst.row.SnapEngineInfoId = r.SnapEngineInfoId;
    return true;
}

template <typename Record>
bool SetPoolDBV3(YBDBDst_t<YBScratchPool_t>& dst, const Record& r)
{
    if (!SetPoolDBV2(dst, r)) return false;
    dst.row.Type = r.Type;
    return true;
}

}  // namespace

int32_t GetUpdateMap(const RVScratchVolumePoolRecord_t&) { return YB_POOL_NAME; }
int32_t GetUpdateMap(const RVScratchVolumePoolV2Record_t&) { return YB_POOL_NAME | YB_POOL_SNAP_ENGINE_INFO_ID; }

int32_t GetUpdateMap(const RVScratchVolumePoolV3Record_t& record)
{
    return record.UpdateMask != 0 ? record.UpdateMask : GetFields(record);
}

int32_t GetFields(const RVScratchVolumePoolV3Record_t&)
{
    return YB_POOL_NAME | YB_POOL_SNAP_ENGINE_INFO_ID | YB_POOL_TYPE;
}

void YBSet(RVScratchVolumeRecord_t& dst, const repRVScratchVolume& src) { SetScratchVolRecV1(dst, src); }
void YBSet(RVScratchVolumeV2Record_t& dst, const repRVScratchVolumeV2& src) { SetScratchVolRecV2(dst, src); }
void YBSet(repRVScratchVolume& dst, const RVScratchVolumeRecord_t& src) { SetScratchVolMsgV1(dst, src); }
void YBSet(repRVScratchVolumeV2& dst, const RVScratchVolumeV2Record_t& src) { SetScratchVolMsgV2(dst, src); }
void Invalidate(repRVScratchVolume& dst) { InvalidateScratchVolMsgV1(dst); }
void Invalidate(repRVScratchVolumeV2& dst) { InvalidateScratchVolMsgV2(dst); }
void YBSet(RVScratchVolumeRecord_t& dst, const YBScratchVolume_t& src) { SetScratchVolRecV1(dst, src); }
void YBSet(RVScratchVolumeV2Record_t& dst, const YBScratchVolume_t& src) { SetScratchVolRecV2(dst, src); }
void YBSet(RVScratchVolumeRecord_t& dst, const YBGetSNRVolInfoByClientId_t& src) { SetScratchVolFromCursorV1(dst, src); }
void YBSet(RVScratchVolumeV2Record_t& dst, const YBGetSNRVolInfoByClientId_t& src) { SetScratchVolFromCursorV2(dst, src); }
void YBSet(RVScratchVolumeRecord_t& dst, const YBGetSNRVolInfoByPoolId_t& src) { SetScratchVolFromCursorV1(dst, src); }
void YBSet(RVScratchVolumeV2Record_t& dst, const YBGetSNRVolInfoByPoolId_t& src) { SetScratchVolFromCursorV2(dst, src); }
void YBSet(RVScratchVolumeRecord_t& dst, const YBGetSNRVolumeById_t& src) { SetScratchVolFromCursorV1(dst, src); }
void YBSet(RVScratchVolumeV2Record_t& dst, const YBGetSNRVolumeById_t& src) { SetScratchVolFromCursorV2(dst, src); }

void YBSet(RVScratchVolumePoolRecord_t& dst, const repRVScratchVolumePool& src) { SetPoolRecV1(dst, src); }
void YBSet(RVScratchVolumePoolV2Record_t& dst, const repRVScratchVolumePoolV2& src) { SetPoolRecV2(dst, src); }
void YBSet(RVScratchVolumePoolV3Record_t& dst, const repRVScratchVolumePoolV3& src) { SetPoolRecV3(dst, src); }
void YBSet(repRVScratchVolumePool& dst, const RVScratchVolumePoolRecord_t& src) { SetPoolMsgV1(dst, src); }
void YBSet(repRVScratchVolumePoolV2& dst, const RVScratchVolumePoolV2Record_t& src) { SetPoolMsgV2(dst, src); }
void YBSet(repRVScratchVolumePoolV3& dst, const RVScratchVolumePoolV3Record_t& src) { SetPoolMsgV3(dst, src); }

void YBSet(RVScratchVolumePoolRecord_t& dst, const YBScratchPool_t& src) { SetYBPoolV1FromDB(dst, src); }
void YBSet(RVScratchVolumePoolV2Record_t& dst, const YBScratchPool_t& src) { SetYBPoolV2FromDB(dst, src); }
void YBSet(RVScratchVolumePoolV3Record_t& dst, const YBScratchPool_t& src) { SetYBPoolV3FromDB(dst, src); }

void YBSet(YBScratchPool_t& dst, const RVScratchVolumePoolRecord_t& src) { YBSetPoolV1(dst, src); }
void YBSet(YBScratchPool_t& dst, const RVScratchVolumePoolV2Record_t& src) { YBSetPoolV2(dst, src); }
void YBSet(YBScratchPool_t& dst, const RVScratchVolumePoolV3Record_t& src) { YBSetPoolV3(dst, src); }

bool YBSet(YBDBDst_t<YBScratchPool_t>& dst, const RVScratchVolumePoolRecord_t& src) { return SetPoolDBV1(dst, src); }
bool YBSet(YBDBDst_t<YBScratchPool_t>& dst, const RVScratchVolumePoolV2Record_t& src) { return SetPoolDBV2(dst, src); }
bool YBSet(YBDBDst_t<YBScratchPool_t>& dst, const RVScratchVolumePoolV3Record_t& src) { return SetPoolDBV3(dst, src); }

void YBSet(std::vector<RVScratchVolumePoolRecord_t>& dst, const YBScratchPool_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<RVScratchVolumePoolV2Record_t>& dst, const YBScratchPool_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<RVScratchVolumePoolV3Record_t>& dst, const YBScratchPool_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<RVScratchVolumeV2Record_t>& dst, const YBScratchVolume_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<RVScratchVolumeRecord_t>& dst, const YBGetSNRVolInfoByClientId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<RVScratchVolumeV2Record_t>& dst, const YBGetSNRVolInfoByClientId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<RVScratchVolumeRecord_t>& dst, const YBGetSNRVolInfoByPoolId_t& src) { YBAppendFromRow(dst, src); }
void YBSet(std::vector<RVScratchVolumeV2Record_t>& dst, const YBGetSNRVolInfoByPoolId_t& src) { YBAppendFromRow(dst, src); }

void YBSet(repRVScratchVolume* dst, const std::vector<RVScratchVolumeRecord_t>& src) { YBSetArray(dst, src); }
void YBSet(repRVScratchVolumeV2* dst, const std::vector<RVScratchVolumeV2Record_t>& src) { YBSetArray(dst, src); }
void YBSet(repRVScratchVolumePool* dst, const std::vector<RVScratchVolumePoolRecord_t>& src) { YBSetArray(dst, src); }
void YBSet(repRVScratchVolumePoolV2* dst, const std::vector<RVScratchVolumePoolV2Record_t>& src) { YBSetArray(dst, src); }
void YBSet(repRVScratchVolumePoolV3* dst, const std::vector<RVScratchVolumePoolV3Record_t>& src) { YBSetArray(dst, src); }

template bool CopyVectorToMsg(repRVScratchVolume**, const std::vector<RVScratchVolumeRecord_t>&);
template bool CopyVectorToMsg(repRVScratchVolumeV2**, const std::vector<RVScratchVolumeV2Record_t>&);
template bool CopyVectorToMsg(repRVScratchVolumePool**, const std::vector<RVScratchVolumePoolRecord_t>&);
template bool CopyVectorToMsg(repRVScratchVolumePoolV2**, const std::vector<RVScratchVolumePoolV2Record_t>&);
template bool CopyVectorToMsg(repRVScratchVolumePoolV3**, const std::vector<RVScratchVolumePoolV3Record_t>&);
