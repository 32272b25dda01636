// The job volume history: adding one (job, source volume) entry, reading
// entries back by job, source volume, entry id or all at once, and deleting a
// job's entries.
#include "cleanup/JobVolumeHistory.h"

#include <cstring>
#include <string>

#include "host/ZXClient.h"
#include "host/db/DBtable.h"
#include "host/db/JobHistoryTable.h"
#include "host/db/SNRTables.h"
#include "service/ErrorCodes.h"
#include "service/RecordConversion.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/TranHandle.h"
#include "service/Utils.h"
#include "snr/VolumeLists.h"

namespace {

const char ProgNameJobHistory[] = "ReplicationMgrJobHistory";
const char AddFn[] = "ReplicationMgr::AddVolumeToYBJobHistory()";
const char ReadFailedText[] = "Cannot get YB Job history information from the database";

using steps::Fail;

// ---- Row and record ---------------------------------------------------------------

// The job id the row's two halves make.
int64_t JobIdOf(const YBJobVolumeHistory_t& row)
{
    long long jobId = 0;
    longToDlongDB(jobId, row.JobId_h, row.JobId_l);
    return jobId;
}

void SetJobVolumeHistoryFrom(YBJobVolumeHistoryRecord_t& r, const YBJobVolumeHistory_t& row)
{
    r.id = row.id;
    r.JobId = JobIdOf(row);
    r.CellId = row.CellId;
    r.SrcVolId = row.SrcVolId;
    r.SrcClientId = row.SrcClientId;
    r.SrcClientName = YBColumnText(row.SrcClientName);
    r.SrcBlockCount = row.SrcBlockCount;
    r.SrcBlockSize = row.SrcBlockSize;
    r.SrcDeviceName = YBColumnText(row.SrcDeviceName);
    r.DstVolId = row.DstVolId;
    r.DstClientId = row.DstClientId;
    r.DstClientName = YBColumnText(row.DstClientName);
    r.DstBlockCount = row.DstBlockCount;
    r.DstBlockSize = row.DstBlockSize;
    r.DstDeviceName = YBColumnText(row.DstDeviceName);
    r.DstCostCategoryId = row.DstCostCategoryId;
    r.FurtherNumber1 = row.FurtherNumber1;
    r.FurtherNumber2 = row.FurtherNumber2;
}

void SetJobVolumeHistoryFrom(YBJobVolumeHistoryRecord80_t& r, const YBJobVolumeHistory_t& row)
{
    SetJobVolumeHistoryFrom(static_cast<YBJobVolumeHistoryRecord_t&>(r), row);
    r.CopyMgrType = row.CopyMgrType;
    r.SpaceUsed = row.SpaceUsed;
}

// ---- Record and wire ------------------------------------------------------------

// Texts as the record has them: `nullEmpty` sends an empty one as null,
// otherwise as a pointer to an empty text.
void FillWire(repYBJobVolumeHistoryRec& w, const YBJobVolumeHistoryRecord_t& r, bool nullEmpty)
{
    auto text = [nullEmpty](const std::string& s) { return nullEmpty ? YBWireText(s) : const_cast<char*>(s.c_str()); };
    w.id = static_cast<uint32_t>(r.id);
    w.JobId = r.JobId;
    w.CellId = r.CellId;
    w.SrcVolId = r.SrcVolId;
    w.SrcClientId = r.SrcClientId;
    w.SrcClientName = text(r.SrcClientName);
    w.SrcBlockCount = r.SrcBlockCount;
    w.SrcBlockSize = r.SrcBlockSize;
    w.SrcDeviceName = text(r.SrcDeviceName);
    w.DstVolId = r.DstVolId;
    w.DstClientId = r.DstClientId;
    w.DstClientName = text(r.DstClientName);
    w.DstBlockCount = r.DstBlockCount;
    w.DstBlockSize = r.DstBlockSize;
    w.DstDeviceName = text(r.DstDeviceName);
    w.DstCostCategoryId = r.DstCostCategoryId;
    w.FurtherNumber1 = r.FurtherNumber1;
    w.FurtherNumber2 = r.FurtherNumber2;
}

}  // namespace

void YBSet(repYBJobVolumeHistoryRec& wire, const YBJobVolumeHistoryRecord_t& record)
{
    FillWire(wire, record, true);
}

void YBSet(repYBJobVolumeHistory80Rec& wire, const YBJobVolumeHistoryRecord80_t& record)
{
    FillWire(wire.common, record, true);
    wire.CopyMgrType = record.CopyMgrType;
    wire.SpaceUsed = record.SpaceUsed;
}

void YBSet(YBJobVolumeHistoryRecord_t& r, const repYBJobVolumeHistoryRec& w)
{
    r.id = static_cast<int32_t>(w.id);
    r.JobId = w.JobId;
    r.CellId = w.CellId;
    r.SrcVolId = w.SrcVolId;
    r.SrcClientId = w.SrcClientId;
    r.SrcClientName = YBTextFromWire(w.SrcClientName);
    r.SrcBlockCount = w.SrcBlockCount;
    r.SrcBlockSize = w.SrcBlockSize;
    r.SrcDeviceName = YBTextFromWire(w.SrcDeviceName);
    r.DstVolId = w.DstVolId;
    r.DstClientId = w.DstClientId;
    r.DstClientName = YBTextFromWire(w.DstClientName);
    r.DstBlockCount = w.DstBlockCount;
    r.DstBlockSize = w.DstBlockSize;
    r.DstDeviceName = YBTextFromWire(w.DstDeviceName);
    r.DstCostCategoryId = w.DstCostCategoryId;
    r.FurtherNumber1 = w.FurtherNumber1;
    r.FurtherNumber2 = w.FurtherNumber2;
}

void YBSet(YBJobVolumeHistoryRecord80_t& record, const repYBJobVolumeHistory80Rec& wire)
{
    YBSet(static_cast<YBJobVolumeHistoryRecord_t&>(record), wire.common);
    record.CopyMgrType = wire.CopyMgrType;
    record.SpaceUsed = wire.SpaceUsed;
}

// ---- Reply arrays -----------------------------------------------------------------

// The version-1 array of the replies by source volume and of the full list:
// every text is a pointer, an empty one to an empty text. False when the
// array cannot be allocated.
bool CopyYBJobHistoryToMsg(repYBJobVolumeHistoryRec** out, const std::vector<YBJobVolumeHistoryRecord_t>& list)
{
    *out = nullptr;
    if (list.empty()) return true;
    auto* array = static_cast<repYBJobVolumeHistoryRec*>(AllocReplyArray(sizeof(repYBJobVolumeHistoryRec) * list.size()));
    if (array == nullptr) return false;
    std::memset(static_cast<void*>(array), 0, sizeof(repYBJobVolumeHistoryRec) * list.size());
    for (size_t i = 0; i < list.size(); ++i) FillWire(array[i], list[i], false);
    *out = array;
    return true;
}

namespace {

// ---- Add ------------------------------------------------------------------------

// What differs between the versions of an add.
int32_t CopyMgrTypeOf(const AddYBJobVolumeHistoryArgs_t&) { return 1; }
int32_t CopyMgrTypeOf(const AddYBJobVolumeHistoryArgs80_t& args) { return args.record.CopyMgrType; }
int64_t SpaceUsedOf(const AddYBJobVolumeHistoryArgs_t&) { return 0; }
int64_t SpaceUsedOf(const AddYBJobVolumeHistoryArgs80_t& args) { return args.record.SpaceUsed; }

// A text into its column; a text the column cannot hold is refused, never cut.
template <size_t N, typename Ret>
bool CopyColumn(ReplicationMgr& mgr, Ret& ret, char (&column)[N], const std::string& text, const char* label)
{
    if (text.size() > N - 1)
        return Fail(mgr, ret, kErrTooLong, std::string(label) + " is too long",
                    "\n\tLength = " + std::to_string(text.size()), ProgNameJobHistory, AddFn, __LINE__);
    YBCopyText(column, text);
    return true;
}

// One side of the entry: the volume's size and cost category, and the name
// the client knows it by (its first mount point when mounted, else its
// device). False with the result filled.
struct VolumeSide {
    int64_t blockCount = 0;
    int32_t blockSize = 0;
    int64_t costCategoryId = 0;
    std::string deviceName;
    std::string clientName;
};

template <typename Ret>
bool ReadVolumeSide(ReplicationMgr& mgr, Ret& ret, int clientId, int volumeId, VolumeSide& side, DBtran* tran)
{
    GetSNRInfoByClientIdAndVolIdV2Args_t args;
    args.clientId = clientId;
    args.snrVolumeId = volumeId;
    GetSNRInfoByClientIdAndVolIdV2Ret_t info;
    if (!mgr.GetSNRInfoByClientAndVol(args, info, tran)) {
        ret.errCode = info.errCode;
        ret.errMsg = info.errMsg;
        return false;
    }
    side.blockCount = info.volume.BlockCount;
    side.blockSize = info.volume.BlockSize;
    side.costCategoryId = info.volume.CostCategoryId;
    if (!info.mountPoints.empty() && !info.mountPoints.front().Unmounted)
        side.deviceName = info.mountPoints.front().Path;
    else if (info.device.id != -1)
        side.deviceName = info.device.DeviceName;
    else
        return Fail(mgr, ret, kErrNotFound, "No device name found that can be added to the Job History",
                    "\n\tInput used:\n\tVolume ID        = " + std::to_string(volumeId) +
                        "\n\tClient ID        = " + std::to_string(clientId),
                    ProgNameJobHistory, AddFn, __LINE__);
    ZXClient(static_cast<unsigned long long>(clientId)).getName(side.clientName);
    return true;
}

template <typename Args, typename Ret>
bool AddVolumeToYBJobHistoryDB(ReplicationMgr& mgr, const Args& args, Ret& ret, DBtran* tran)
{
    const auto& in = args.record;
    if (in.SrcVolId <= 0 || in.DstVolId <= 0)
        return Fail(mgr, ret, kErrMissingInput, "YB Job volume history could not be added with incorrect Volume Id(s)",
                    "\n\tInput:\n\tSrc Vol ID     = " + std::to_string(in.SrcVolId) +
                        "\n\tDst Vol ID     = " + std::to_string(in.DstVolId),
                    ProgNameJobHistory, AddFn, __LINE__);

    CYBJobVolumeHistoryDB table;
    const std::string where =
        "JobId = " + std::to_string(static_cast<long long>(in.JobId)) + " AND SrcVolId = " + std::to_string(in.SrcVolId);
    YBJobVolumeHistory_t* rows = nullptr;
    unsigned int count = 0;
    if (!table.getList(rows, count, where.c_str(), "ID asc", tran)) {
        table.deleteList(rows);
        return Fail(mgr, ret, kErrDatabase, "Cannot query YB job history table",
                    "\n\tCYBJobVolumeHistoryDB::getList() failed\n\tQueryStr = " + where, ProgNameJobHistory, AddFn,
                    __LINE__);
    }
    if (count > 0) {
        ret.id = rows[0].id;
        table.deleteList(rows);
        mgr.log() << "\tEvent: YB job history for " << where << " is already in the database"
                  << "\n\tThe YB job history id is: " << ret.id;
        mgr.WriteLogMsg(ProgNameJobHistory, AddFn, __LINE__, ReplicationMgr::MSG);
        return true;
    }
    table.deleteList(rows);

    YBJobVolumeHistory_t row;
    std::memset(static_cast<void*>(&row), 0, sizeof row);
    row.CellId = in.CellId;
    // Both halves are kept: a job id above 2^32 is found again by JobId.
    dLongToLongDB(in.JobId, row.JobId_h, row.JobId_l);

    VolumeSide dst;
    if (!ReadVolumeSide(mgr, ret, in.DstClientId, in.DstVolId, dst, tran)) return false;
    row.DstVolId = in.DstVolId;
    row.DstClientId = in.DstClientId;
    row.DstBlockSize = dst.blockSize;
    row.DstBlockCount = dst.blockCount;
    row.DstCostCategoryId = static_cast<int32_t>(dst.costCategoryId);
    if (!CopyColumn(mgr, ret, row.DstDeviceName, dst.deviceName, "Destination device name") ||
        !CopyColumn(mgr, ret, row.DstClientName, dst.clientName, "Destination client name"))
        return false;

    VolumeSide src;
    if (!ReadVolumeSide(mgr, ret, in.SrcClientId, in.SrcVolId, src, tran)) return false;
    row.SrcVolId = in.SrcVolId;
    row.SrcClientId = in.SrcClientId;
    row.SrcBlockSize = src.blockSize;
    row.SrcBlockCount = src.blockCount;
    if (!CopyColumn(mgr, ret, row.SrcDeviceName, src.deviceName, "Source device name") ||
        !CopyColumn(mgr, ret, row.SrcClientName, src.clientName, "Source client name"))
        return false;

    if (CopyMgrTypeOf(args) == 1) {
        CSNRVolumeDB volumes;
        YBPhysicalVolume_t volume;
        if (!volumes.getInfo(in.SrcVolId, volume, tran)) {
            const int rc = volumes.getErrorCode();
            return Fail(mgr, ret, rc == DB_NO_MORE_ROWS ? kErrNotFound : kErrDatabase,
                        rc == DB_NO_MORE_ROWS ? "Record not found" : "Cannot access volume record in the database",
                        "\n\tCSNRVolumeDB::getInfo() failed\n\tParameters used:\n\tSNR Volume Id = " +
                            std::to_string(in.SrcVolId) + steps::TranLine(tran) + "\n\tDB Err Code = " +
                            std::to_string(rc),
                        ProgNameJobHistory, AddFn, __LINE__);
        }
        if (volume.UniqueIdType == 11) {
            row.CopyMgrType = 6;
            row.SpaceUsed = static_cast<int64_t>(row.SrcBlockSize) * row.SrcBlockCount;
        } else {
            row.CopyMgrType = 5;
            row.SpaceUsed = static_cast<int64_t>(row.DstBlockSize) * row.DstBlockCount;
        }
    } else {
        row.CopyMgrType = CopyMgrTypeOf(args);
        row.SpaceUsed = SpaceUsedOf(args);
    }
    mgr.log() << "\tAmount of Space used is " << row.SpaceUsed;
    mgr.WriteLogMsg(ProgNameJobHistory, AddFn, __LINE__, ReplicationMgr::MSG);

    if (!table.insert(row, tran))
        return Fail(mgr, ret, kErrDatabase, "Failed to add Volume Job history information in the database",
                    "\n\ttallmarkId     = " + std::to_string(row.CellId) +
                        "\n\tJobId        = " + std::to_string(static_cast<long long>(in.JobId)) +
                        "\n\tDB Err Code    = " + std::to_string(table.getErrorCode()),
                    ProgNameJobHistory, AddFn, __LINE__);
    ret.id = row.id;
    ret.errMsg.clear();
    mgr.log() << "\tThe Id of the Volume Job history for Job ID " << static_cast<long long>(in.JobId) << " Volumes = ("
              << in.SrcVolId << ", " << in.DstVolId << ") is " << row.id;
    mgr.WriteLogMsg(ProgNameJobHistory, AddFn, __LINE__, ReplicationMgr::MSG);
    return true;
}

// ---- Queries ----------------------------------------------------------------------

// The entries under the where clause in id order, as records of the result's
// version.
template <typename Ret>
bool ReadEntries(ReplicationMgr& mgr, Ret& ret, const std::string& where, const char* function)
{
    ret.list.clear();
    CYBJobVolumeHistoryDB table;
    auto convert = [](auto& record, const YBJobVolumeHistory_t& row) { SetJobVolumeHistoryFrom(record, row); };
    if (!table.getList(ret.list, convert, where.c_str(), "id ASC", nullptr))
        return Fail(mgr, ret, kErrDatabase, ReadFailedText,
                    "\n\tCYBJobVolumeHistoryDB::getList() failed\n\tParameters used:\n\tsWhere = " + where +
                        "\n\tsOrderBy = id ASC\n\tDB Err Code = " + std::to_string(table.getErrorCode()),
                    ProgNameJobHistory, function, __LINE__);
    ret.errMsg.clear();
    return true;
}

template <typename Ret>
bool QueryYBJobHistoryByJobIdDB(ReplicationMgr& mgr, const QueryYBJobHistoryByJobIdArgs_t& args, Ret& ret)
{
    static const char Fn[] = "ReplicationMgr::QueryYBJobHistoryByJobId()";
    const long long jobId = args.JobId;
    if (jobId <= 0)
        return Fail(mgr, ret, kErrInvalidId, "Invalid Job identifier", "\n\tJobId = " + std::to_string(jobId),
                    ProgNameJobHistory, Fn, __LINE__);
    return ReadEntries(mgr, ret, "JobId = " + std::to_string(jobId), Fn);
}

template <typename Ret>
bool QueryYBJobHistoryByVolIdDB(ReplicationMgr& mgr, const QueryYBJobHistoryByVolIdArgs_t& args, Ret& ret)
{
    static const char Fn[] = "ReplicationMgr::QueryYBJobHistoryByVolId()";
    if (args.SrcVolId <= 0)
        return Fail(mgr, ret, kErrInvalidId, "Invalid volume identifier",
                    "\n\tVolume Id = " + std::to_string(args.SrcVolId), ProgNameJobHistory, Fn, __LINE__);
    return ReadEntries(mgr, ret, "SrcVolId = " + std::to_string(args.SrcVolId), Fn);
}

template <typename Ret>
bool QueryYBJobHistoryByIdDB(ReplicationMgr& mgr, const QueryYBJobHistoryByIdArgs_t& args, Ret& ret)
{
    static const char Fn[] = "ReplicationMgr::QueryYBJobHistoryById()";
    if (args.id <= 0)
        return Fail(mgr, ret, kErrInvalidId, "Invalid YB Job Volume history identifier",
                    "\n\tId = " + std::to_string(args.id), ProgNameJobHistory, Fn, __LINE__);
    CYBJobVolumeHistoryDB table;
    YBJobVolumeHistory_t row;
    std::memset(static_cast<void*>(&row), 0, sizeof row);
    if (!table.getInfo(args.id, row, nullptr)) {
        const int rc = table.getErrorCode();
        return Fail(mgr, ret, rc == DB_NO_MORE_ROWS ? kErrNotFound : kErrDatabase,
                    rc == DB_NO_MORE_ROWS ? "History not found" : ReadFailedText,
                    "\n\tCYBJobVolumeHistoryDB::getInfo() failed\n\tKey = " + std::to_string(args.id) +
                        "\n\tDB Err Code = " + std::to_string(rc),
                    ProgNameJobHistory, Fn, __LINE__);
    }
    SetJobVolumeHistoryFrom(ret.record, row);
    ret.errMsg.clear();
    return true;
}

}  // namespace

bool ReplicationMgr::AddVolumeToYBJobHistory(const AddYBJobVolumeHistoryArgs_t& args, AddYBJobVolumeHistoryRet_t& ret,
                                             DBtran* tran)
{
    return AddVolumeToYBJobHistoryDB(*this, args, ret, tran);
}

bool ReplicationMgr::AddVolumeToYBJobHistory(const AddYBJobVolumeHistoryArgs80_t& args,
                                             AddYBJobVolumeHistoryRet80_t& ret, DBtran* tran)
{
    return AddVolumeToYBJobHistoryDB(*this, args, ret, tran);
}

bool ReplicationMgr::QueryYBJobHistoryByJobId(const QueryYBJobHistoryByJobIdArgs_t& args, YBJobHistoryListRet_t& ret)
{
    return QueryYBJobHistoryByJobIdDB(*this, args, ret);
}

bool ReplicationMgr::QueryYBJobHistoryByJobId(const QueryYBJobHistoryByJobIdArgs_t& args, YBJobHistoryListRet80_t& ret)
{
    return QueryYBJobHistoryByJobIdDB(*this, args, ret);
}

bool ReplicationMgr::QueryYBJobHistoryByVolId(const QueryYBJobHistoryByVolIdArgs_t& args, YBJobHistoryListRet_t& ret)
{
    return QueryYBJobHistoryByVolIdDB(*this, args, ret);
}

bool ReplicationMgr::QueryYBJobHistoryByVolId(const QueryYBJobHistoryByVolIdArgs_t& args, YBJobHistoryListRet80_t& ret)
{
    return QueryYBJobHistoryByVolIdDB(*this, args, ret);
}

bool ReplicationMgr::QueryYBJobHistoryById(const QueryYBJobHistoryByIdArgs_t& args, QueryYBJobHistoryByIdRet_t& ret)
{
    return QueryYBJobHistoryByIdDB(*this, args, ret);
}

bool ReplicationMgr::QueryYBJobHistoryById(const QueryYBJobHistoryByIdArgs_t& args, QueryYBJobHistoryByIdRet80_t& ret)
{
    return QueryYBJobHistoryByIdDB(*this, args, ret);
}

bool ReplicationMgr::GetYBJobHistoryList(YBJobHistoryListRet_t& ret)
{
    return ReadEntries(*this, ret, "id > 0", "ReplicationMgr::GetYBJobHistoryList");
}

bool ReplicationMgr::GetYBJobHistoryList(YBJobHistoryListRet80_t& ret)
{
    return ReadEntries(*this, ret, "id > 0", "ReplicationMgr::GetYBJobHistoryList");
}

bool ReplicationMgr::DeleteYBJobHistoryByJobId(const DeleteYBJobHistoryByJobIdArgs_t& args,
                                               DeleteYBJobHistoryByJobIdRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::DeleteYBJobHistoryByJobId()";
    const long long jobId = args.JobId;
    if (jobId <= 0)
        return Fail(*this, ret, kErrInvalidId, "Invalid JobId identifier",
                    "\n\tParameters used:\n\tJob Id = " + std::to_string(jobId), ProgNameJobHistory, Fn, __LINE__);
    int high = 0;
    int low = 0;
    dLongToLongDB(jobId, high, low);
    const std::string where = "JobId_h = " + std::to_string(high) + " AND JobId_l = " + std::to_string(low);
    CYBJobVolumeHistoryDB table;
    if (!table.remove(where.c_str(), tran)) {
        const int rc = table.getErrorCode();
        return Fail(*this, ret, rc == DB_NO_MORE_ROWS ? kErrNotFound : kErrDatabase,
                    rc == DB_NO_MORE_ROWS ? "JobId has no YB Job history"
                                          : "Cannot remove YB Job history information from the database",
                    "\n\tCYBJobVolumeHistoryDB::remove() failed\n\tsWhere = " + where +
                        "\n\tDB Err Code = " + std::to_string(rc),
                    ProgNameJobHistory, Fn, __LINE__);
    }
    ret.errMsg.clear();
    return true;
}
