// Reading the mount points of devices: by device, by id, by path and by SNR
// volume, the reply arrays with their own path copies and their release, and
// the inline request cases that serve the reads.
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "host/db/SNRTables.h"
#include "host/db/SqlText.h"
#include "rows/Db/Cursor/YBGetSNRMountPointBySNRDevId.h"
#include "service/CursorRows.h"
#include "service/ErrorCodes.h"
#include "service/HeldRows.h"
#include "service/RecordConversion.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"
#include "service/Utils.h"
#include "snr/MountPoints.h"
#include "snr/SNRCases.h"

namespace {

const char OrderById[] = "id ASC";

// The mount-point part of a list record or a reply entry of either kind.
const SNRVolumeMountPointRecord_t& MountPart(const SNRVolumeMountPointRecord_t& record) { return record; }
const SNRVolumeMountPointRecord_t& MountPart(const SNRVolumeMountPointExRecord_t& record) { return record.MountPoint; }
repSNRVolumeMountPoint& MountPart(repSNRVolumeMountPoint& entry) { return entry; }
repSNRVolumeMountPoint& MountPart(repSNRVolumeMountPointEx& entry) { return entry.MountPoint; }

void SetClient(repSNRVolumeMountPoint&, const SNRVolumeMountPointRecord_t&) {}
void SetClient(repSNRVolumeMountPointEx& entry, const SNRVolumeMountPointExRecord_t& record)
{
    entry.ClientId = record.ClientId;
}

// A copy of a text in memory of its own (an empty text too); null when none
// could be had.
char* CopyText(const std::string& text)
{
    char* copy = static_cast<char*>(AllocReplyArray(text.size() + 1));
    if (copy != nullptr) std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

// Frees the path of each of the count entries and the array; afterwards the
// array is null and the count 0. A null array is left alone whatever the count.
template <typename Entry>
void FreeEntries(Entry*& array, uint32_t& count)
{
    for (uint32_t i = 0; array != nullptr && i < count; ++i) {
        repSNRVolumeMountPoint& entry = MountPart(array[i]);
        free(entry.Path);
        entry.Path = nullptr;
    }
    free(array);
    array = nullptr;
    count = 0;
}

enum class Copied { All, NoArray, NoPath };

// Builds the reply array of a list, entry i from record i, each path a copy
// of its own. When that fails, nothing stays allocated: the array is null and
// the count 0.
template <typename Entry, typename Record>
Copied CopyEntries(const std::vector<Record>& list, Entry*& array, uint32_t& count)
{
    array = nullptr;
    count = 0;
    if (list.empty()) return Copied::All;
    const size_t bytes = sizeof(Entry) * list.size();
    array = static_cast<Entry*>(AllocReplyArray(bytes));
    if (array == nullptr) return Copied::NoArray;
    std::memset(static_cast<void*>(array), 0, bytes);
    count = static_cast<uint32_t>(list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        const SNRVolumeMountPointRecord_t& record = MountPart(list[i]);
        repSNRVolumeMountPoint& entry = MountPart(array[i]);
        char* path = CopyText(record.Path);
        if (path == nullptr) {
            FreeEntries(array, count);
            return Copied::NoPath;
        }
        YBSet(entry, record);
        entry.Path = path;
        SetClient(array[i], list[i]);
    }
    return Copied::All;
}

// The copy operations of both entry kinds, told apart by their results'
// fields and the detail of a missing list.
template <typename Record, typename Ret>
bool CopyToMsg(ReplicationMgr& mgr, const std::vector<Record>* list, Ret& ret, const char* missingListDetail,
               const char* function)
{
    ret.MountPoints = nullptr;
    ret.count = 0;
    if (list == nullptr)
        return steps::Fail(mgr, ret, kErrInternal, "Internal error detected processing mount points information",
                           missingListDetail, ProgNameUtils, function, __LINE__);
    switch (CopyEntries(*list, ret.MountPoints, ret.count)) {
    case Copied::NoArray:
        return steps::Fail(mgr, ret, kErrNoMemory, "No memory available for query information", "", ProgNameUtils,
                           function, __LINE__);
    case Copied::NoPath:
        return steps::Fail(mgr, ret, kErrNoMemory, "No memory available for query informaton", "", ProgNameUtils,
                           function, __LINE__);
    case Copied::All:
        break;
    }
    ret.errMsg = "";
    return true;
}

template <typename Reply>
void FreeReply(Reply& reply)
{
    free(reply.errMsg);
    reply.errMsg = nullptr;
    FreeEntries(reply.MountPoints, reply.count);
}

}  // namespace

bool ReplicationMgr::QuerySNRVolMountPoint(const QuerySNRVolMountPointBySNRVolDevIdArgs_t& args,
                                           QuerySNRVolMountPointBySNRVolDevIdRet_t& ret, DBtran*)
{
    static const char Fn[] = "ReplicationMgr::QuerySNRVolMountPoint()";
    const int deviceId = args.DeviceId;

    ret.MountPoints.clear();
    if (deviceId < 1)
        return steps::Fail(*this, ret, kErrInvalidId, "Invalid Device name ID",
                           "\n\tParameters used:\n\tSNR Volume DeviceName Id = " + std::to_string(deviceId),
                           ProgNameQueries, Fn, __LINE__);

    YBGetSNRMountPointBySNRDevId cursor(nullptr);
    cursor.setValues(deviceId);
    const int rc = steps::ReadAllRows(cursor, ret.MountPoints);
    if (rc != DB_NO_MORE_ROWS)
        return steps::Fail(*this, ret, kErrDatabase, "Could not get device name information from the database",
                           "\n\tgetNextRow(GetSNRMountPointBySNRDevId &) failed\n\tParameters used:"
                           "\n\tSNR Device Name id = " +
                               std::to_string(deviceId) + "\n\tDB Err Code = " + std::to_string(rc),
                           ProgNameQueries, Fn, __LINE__);

    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::QuerySNRMountPoint(const QuerySNRMountPointArgs_t& args, QuerySNRMountPointRet_t& ret)
{
    static const char Fn[] = "ReplicationMgr::QuerySNRMountPoint()";
    const int id = args.MountPointId;

    if (id <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Invalid mount point ID",
                           "\n\tParameters used:\n\tSNR Volume mount point Id = " + std::to_string(id), ProgNameQueries,
                           Fn, __LINE__);

    CSNRVolumeMountPointDB mountPointDB;
    YBMountPoint_t row;
    std::memset(static_cast<void*>(&row), 0, sizeof row);
    if (!mountPointDB.getInfo(id, row, nullptr))
        return steps::Fail(*this, ret, kErrDatabase, "Could not get mount point record from the database",
                           "\n\tParameters used:\n\tSNR Volume mount point = " + std::to_string(id), ProgNameQueries,
                           Fn, __LINE__);

    YBSet(ret.MountPoint, row);
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::QuerySNRMountPoint(const QuerySNRMountPointByPathArgs_t& args, QuerySNRMountPointByPathRet_t& ret)
{
    static const char Fn[] = "ReplicationMgr::QuerySNRMountPoint()";
    const std::string& path = args.Path;

    ret.MountPoints.clear();
    if (path.empty())
        return steps::Fail(*this, ret, kErrMissingInput, "Invalid (empty) Mount point path", "", ProgNameQueries, Fn,
                           __LINE__);

    // One trailing separator is not part of the stored path.
    std::string searched = path;
    if (searched.back() == '\\' || searched.back() == '/') searched.pop_back();

    CSNRVolumeMountPointDB mountPointDB;
    steps::HeldRows<YBMountPoint_t> found(mountPointDB);
    const std::string where = "Path = '" + SqlEscape(searched) + "'";
    if (!mountPointDB.getList(found.rows, found.count, where.c_str(), OrderById, nullptr))
        return steps::Fail(*this, ret, kErrDatabase, "Could not get list of mount point records from the database",
                           "\n\tCSNRVolumeMountPointDB::getList() failed\n\tParameters used:\n\tsWhere = " +
                               EvDebug::escaped(where) + "\n\tsOrderBy = " + OrderById,
                           ProgNameQueries, Fn, __LINE__);
    if (found.count == 0)
        return steps::Fail(*this, ret, kErrNotFound, "Could not find the mount point record in the database",
                           "\n\tCSNRVolumeMountPointDB::getList() output:\n\tNRows = 0", ProgNameQueries, Fn, __LINE__);

    // The database matched regardless of letter case; a case-sensitive row
    // counts only for the path exactly as asked for.
    for (unsigned int i = 0; i < found.count; ++i) {
        SNRVolumeMountPointRecord_t record;
        YBSet(record, found.rows[i]);
        if (record.IsCaseSensitive && record.Path != path) continue;
        ret.MountPoints.push_back(record);
    }
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::QuerySNRMountPointBySNRVolId(const QuerySNRMountPointBySNRVolIdArgs_t& args,
                                                  QuerySNRMountPointBySNRVolIdRet_t& ret)
{
    static const char Fn[] = "ReplicationMgr::QuerySNRMountPointBySNRVolId()";
    const int volumeId = args.SNRVolumeId;

    ret.MountPoints.clear();
    if (volumeId < 1)
        return steps::Fail(*this, ret, kErrInvalidId, "Invalid Volume id",
                           "\n\tParameters used:\n\tSNR Volume Id = " + std::to_string(volumeId), ProgNameQueries, Fn,
                           __LINE__);

    CSNRVolumeDeviceNameDB deviceDB;
    steps::HeldRows<YBPhysicalDevice_t> devices(deviceDB);
    const std::string where = "SNRVolumeId = " + std::to_string(volumeId);
    if (!deviceDB.getList(devices.rows, devices.count, where.c_str(), OrderById, nullptr))
        return steps::Fail(*this, ret, kErrDatabase, "Could not get list of devices from the database",
                           "\n\tCSNRVolumeDeviceNameDB::getList() failed\n\tParameters used:\n\tsWhere = " + where +
                               "\n\tsOrderBy = " + OrderById,
                           ProgNameQueries, Fn, __LINE__);

    CSNRVolumeMountPointDB mountPointDB;
    for (unsigned int d = 0; d < devices.count; ++d) {
        const YBPhysicalDevice_t& device = devices.rows[d];
        steps::HeldRows<YBMountPoint_t> mountPoints(mountPointDB);
        const std::string deviceWhere = "DeviceNameId = " + std::to_string(device.id);
        if (!mountPointDB.getList(mountPoints.rows, mountPoints.count, deviceWhere.c_str(), OrderById, nullptr)) {
            ret.MountPoints.clear();
            return steps::Fail(*this, ret, kErrDatabase, "Could not get list of mount points",
                               "\n\tCSNRVolumeMountPointDB::getList() failed\n\tParameters used:\n\tsWhere = " +
                                   deviceWhere + "\n\tsOrderBy = " + OrderById,
                               ProgNameQueries, Fn, __LINE__);
        }
        for (unsigned int m = 0; m < mountPoints.count; ++m) {
            SNRVolumeMountPointExRecord_t record;
            record.ClientId = device.ClientId;
            YBSet(record.MountPoint, mountPoints.rows[m]);
            ret.MountPoints.push_back(record);
        }
    }

    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::CopySNRMountPointToMsg(const CopySNRMountPointToMsgArgs_t& args, CopySNRMountPointToMsgRet_t& ret)
{
    return CopyToMsg(*this, args.pvSNRMountList, ret, "\n\tArgs.pvSNRMountList = NULL",
                     "ReplicationMgr::CopySNRMountPointToMsg()");
}

bool ReplicationMgr::CopySNRMountPointExToMsg(const CopySNRMountPointExToMsgArgs_t& args,
                                              CopySNRMountPointExToMsgRet_t& ret)
{
    return CopyToMsg(*this, args.pvSNRMountExList, ret, "\n\tArgs.pvSNRMountExList = NULL",
                     "ReplicationMgr::CopySNRMountPointExToMsg()");
}

void ReplicationMgr::FreeMsgResources(repQuerySNRVolMntPointsBySNRVolDevIdResp& reply) { FreeReply(reply); }
void ReplicationMgr::FreeMsgResources(repQuerySNRMountPointByPathResp& reply) { FreeReply(reply); }
void ReplicationMgr::FreeMsgResources(repQuerySNRMountPointBySNRVolIdResp& reply) { FreeReply(reply); }

// ---- Inline request cases ---------------------------------------------------------

namespace {

// The text a case sends when its array copy failed. It is kept here, where
// it lives until the send, since the copy's own result is gone by then.
struct CopyFailure {
    char text[128] = "";
};

// The copy operation of each kind of list.
CopySNRMountPointToMsgRet_t CopyOf(ReplicationMgr& mgr, const std::vector<SNRVolumeMountPointRecord_t>& list,
                                   bool& copied)
{
    CopySNRMountPointToMsgArgs_t args;
    args.pvSNRMountList = &list;
    CopySNRMountPointToMsgRet_t ret;
    copied = mgr.CopySNRMountPointToMsg(args, ret);
    return ret;
}
CopySNRMountPointExToMsgRet_t CopyOf(ReplicationMgr& mgr, const std::vector<SNRVolumeMountPointExRecord_t>& list,
                                     bool& copied)
{
    CopySNRMountPointExToMsgArgs_t args;
    args.pvSNRMountExList = &list;
    CopySNRMountPointExToMsgRet_t ret;
    copied = mgr.CopySNRMountPointExToMsg(args, ret);
    return ret;
}

// The array and count of a reply from its list; the copy's text when it failed.
template <typename Record, typename Entry>
bool CopyList(ReplicationMgr& mgr, const std::vector<Record>& list, Entry*& array, uint32_t& count,
              CopyFailure& failure)
{
    bool copied = false;
    const auto ret = CopyOf(mgr, list, copied);
    array = ret.MountPoints;
    count = ret.count;
    if (!copied) YBCopyText(failure.text, ret.errMsg);
    return copied;
}

// The pattern of the list queries: the operation, then the array with its
// own path copies, which FreeMsgResources releases after the send. A failure
// sends a copy of the operation's or the array copy's text and no array.
template <typename Reply, typename Ret, typename Operation>
void RunListCase(ReplicationMgr& mgr, unsigned long code, const Ret& ret, Operation&& operation)
{
    Reply reply;
    std::memset(static_cast<void*>(&reply), 0, sizeof reply);
    CopyFailure failure;
    RunInlineCase(
        mgr, ReplyCodeFor(code), reply, cases::StatusOf<Reply>(), ret, cases::HandlerLog(code, ReplyCodeFor(code)),
        cases::Message::Copy, operation,
        [&](Reply& r) { return CopyList(mgr, ret.MountPoints, r.MountPoints, r.count, failure); }, failure.text);
    ReplicationMgr::FreeMsgResources(reply);
}

void ServeQuerySNRVolMntPoints(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    QuerySNRVolMountPointBySNRVolDevIdArgs_t args;
    QuerySNRVolMountPointBySNRVolDevIdRet_t ret;
    args.DeviceId = cases::RequestOf<repQuerySNRVolMntPointsBySNRVolDevIdReq>(buf).DeviceId;
    RunListCase<repQuerySNRVolMntPointsBySNRVolDevIdResp>(
        mgr, code, ret, [&]() { return mgr.QuerySNRVolMountPoint(args, ret, nullptr); });
}

void ServeQuerySNRMountPointByPath(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    QuerySNRMountPointByPathArgs_t args;
    QuerySNRMountPointByPathRet_t ret;
    args.Path = YBTextFromWire(cases::RequestOf<repQuerySNRMountPointByPathReq>(buf).Path);
    RunListCase<repQuerySNRMountPointByPathResp>(mgr, code, ret,
                                                 [&]() { return mgr.QuerySNRMountPoint(args, ret); });
}

void ServeQuerySNRMountPointBySNRVolId(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    QuerySNRMountPointBySNRVolIdArgs_t args;
    QuerySNRMountPointBySNRVolIdRet_t ret;
    args.SNRVolumeId = cases::RequestOf<repQuerySNRMountPointBySNRVolIdReq>(buf).SNRVolumeId;
    RunListCase<repQuerySNRMountPointBySNRVolIdResp>(mgr, code, ret,
                                                     [&]() { return mgr.QuerySNRMountPointBySNRVolId(args, ret); });
}

// The mount point goes out with a copy of its path, freed after the send.
void ServeQuerySNRMountPointById(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    repQuerySNRMountPointByIdResp reply;
    std::memset(static_cast<void*>(&reply), 0, sizeof reply);
    QuerySNRMountPointArgs_t args;
    QuerySNRMountPointRet_t ret;
    args.MountPointId = cases::RequestOf<repQuerySNRMountPointByIdReq>(buf).MountPointId;
    RunInlineCase(
        mgr, ReplyCodeFor(code), reply, cases::StatusOf<repQuerySNRMountPointByIdResp>(), ret,
        cases::HandlerLog(code, ReplyCodeFor(code)), cases::Message::Copy,
        [&]() { return mgr.QuerySNRMountPoint(args, ret); },
        [&](repQuerySNRMountPointByIdResp& r) {
            char* path = CopyText(ret.MountPoint.Path);
            if (path == nullptr) return false;
            YBSet(r.MountPoint, ret.MountPoint);
            r.MountPoint.Path = path;
            return true;
        },
        "No enough memory to perform mount point query operation");
    free(reply.MountPoint.Path);
    reply.MountPoint.Path = nullptr;
}

}  // namespace

const ServedCase QuerySNRVolMntPointsCase =
    cases::Serve<repQuerySNRVolMntPointsBySNRVolDevIdReq, repQuerySNRVolMntPointsBySNRVolDevIdResp>(
        &ServeQuerySNRVolMntPoints);
const ServedCase QuerySNRMountPointByIdCase =
    cases::Serve<repQuerySNRMountPointByIdReq, repQuerySNRMountPointByIdResp>(&ServeQuerySNRMountPointById);
const ServedCase QuerySNRMountPointByPathCase =
    cases::Serve<repQuerySNRMountPointByPathReq, repQuerySNRMountPointByPathResp>(&ServeQuerySNRMountPointByPath);
const ServedCase QuerySNRMountPointBySNRVolIdCase =
    cases::Serve<repQuerySNRMountPointBySNRVolIdReq, repQuerySNRMountPointBySNRVolIdResp>(
        &ServeQuerySNRMountPointBySNRVolId);
