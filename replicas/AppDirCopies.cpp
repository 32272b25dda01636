// Application directories of replicas: the copy of a replication volume's
// entries to another, the listing of one volume's entries with the reply
// entries built from it, the refresh of their modify time, and the inline
// cases of post for the three.
#include <cstdint>
#include <cstring>
#include <ctime>
#include <set>
#include <string>
#include <vector>

#include "host/db/DBtable.h"
#include "host/db/ReplicaTables.h"
#include "replicas/AppDirTexts.h"
#include "replicas/ApplicationDirs.h"
#include "replicas/ReplicaCases.h"
#include "rows/Db/Tbl/YBApplicationDirs.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"
#include "service/TranHandle.h"
#include "service/Utils.h"

using replica_detail::CopyEntryText;
using replica_detail::FreeEntries;

// The source's entries are read one row at a time, between the copies: a
// volume with many entries takes no more memory than one. A copy onto the
// source itself is refused, since it would read back its own copies.
bool ReplicationMgr::CopyAppDirs(const CopyAppDirsArgs_t& args, CopyAppDirsRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::CopyAppDirs()";
    static const char ReadFailed[] = "Could not get Application dirs information from the database";
    const int src = args.SrcYBVolId;
    const int dst = args.DstYBVolId;
    const std::string ids = "\n\tDstYBVolId = " + std::to_string(dst) + "\n\tSrcYBVolId = " + std::to_string(src);
    if (src < 0 || dst < 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Cannot copy Application Dirs records with invalid YB Volume Ids",
                           ids, ProgNameInserts, Fn, __LINE__);
    if (src == dst)
        return steps::Fail(*this, ret, kErrInvalidId,
                           "Cannot copy Application Dirs records onto the YB Volume that holds them", ids,
                           ProgNameInserts, Fn, __LINE__);

    YBApplicationDirs source(tran);
    source.setWhere("ReplicationVolumeId = %d", src);
    source.setOrderBy("id ASC");
    const std::string read = "\n\tsWhere = ReplicationVolumeId = " + std::to_string(src) + "\n\tsOrderBy = id ASC";
    int rc = source.openCursor();
    if (rc != 0)
        return steps::Fail(
            *this, ret, kErrDatabase, ReadFailed,
            "\n\tApplicationDirs::openCursor() failed" + read + "\n\tDB Error Code = " + std::to_string(rc),
            ProgNameInserts, Fn, __LINE__);
    // Closed on every path.
    struct OpenCursor {
        YBApplicationDirs& table;
        ~OpenCursor() { table.closeCursor(); }
    } open{source};

    const int now = static_cast<int>(time(nullptr));
    ApplicationDirsDB dirs;
    unsigned int copied = 0;
    while ((rc = source.fetchCursor(false)) == DB_ROW_OK) {
        YBApplicationDirs_t copy = *source.getDataPtr();
        copy.ReplicationVolumeId = dst;
        copy.creationTime = now;
        copy.modifyTime = 0;
        if (!dirs.insert(copy, tran))
            return steps::Fail(
                *this, ret, kErrDatabase, "Could not add Application dirs information to the database",
                "\n\tApplicationDirsDB::insert() failed\n\tDB Error Code = " + std::to_string(dirs.getErrorCode()),
                ProgNameInserts, Fn, __LINE__);
        ++copied;
        m_LogMsg << "\tNew Application Dirs record " << copy.id << " was added to DB";
        WriteLogMsg(ProgNameInserts, Fn, __LINE__, MSG);
    }
    if (rc != DB_NO_MORE_ROWS)
        return steps::Fail(
            *this, ret, kErrDatabase, ReadFailed,
            "\n\tApplicationDirs::fetchCursor() failed" + read + "\n\tDB Error Code = " + std::to_string(rc),
            ProgNameInserts, Fn, __LINE__);
    if (copied == 0)
        return steps::Fail(*this, ret, kErrNotFound, "NO YB Volume records found to perform Application Dirs update",
                           "\n\tApplicationDirsDB::getList() return 0 records" + read, ProgNameInserts, Fn, __LINE__);

    m_LogMsg << "\tCopy Application Dirs record from YB Volume " << src << " to " << dst << " completed successfully";
    WriteLogMsg(ProgNameInserts, Fn, __LINE__, MSG);
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::QueryAppDirByReplicaVol(const QueryAppDirByReplicaVolArgs_t& args,
                                             QueryAppDirByReplicaVolRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::QueryAppDirByReplicaVol()";
    ret.AppDirs.clear();
    const int id = args.ReplicationVolumeId;
    if (id < 1)
        return steps::Fail(*this, ret, kErrInvalidId,
                           "Cannot access Application Dirs information with invalid YB volume",
                           "\n\tReplica Volume Id = " + std::to_string(id), ProgNameQueries, Fn, __LINE__);

    const std::string where = "ReplicationVolumeId = " + std::to_string(id);
    ApplicationDirsDB dirs;
    YBApplicationDirs_t* rows = nullptr;
    unsigned int count = 0;
    if (!dirs.getList(rows, count, where.c_str(), "id ASC", tran))
        return steps::Fail(*this, ret, kErrDatabase, "Could not get list of application dirs records from the database",
                           "\n\tApplicationDirsDB::getList() failed\n\tsWhere = " + where +
                               "\n\tDB Error Code = " + std::to_string(dirs.getErrorCode()),
                           ProgNameQueries, Fn, __LINE__);
    if (count == 0) {
        ret.errMsg = "Could not find application dirs record using the given YB volume";
        steps::Warn(*this, ret.errMsg, "\n\tApplicationDirsDB::getList() output:\n\tNRows = 0", ProgNameQueries, Fn,
                    __LINE__);
        return true;
    }
    for (unsigned int i = 0; i < count; ++i) {
        const YBApplicationDirs_t& row = rows[i];
        ApplicationDirsRecord_t r;
        r.id = row.id;
        r.subclientId = row.subclientId;
        r.clientId = row.clientId;
        r.pathType = row.pathType;
        r.objName = row.objName;
        r.path = row.path;
        r.creationTime = row.creationTime;
        r.modifyTime = row.modifyTime;
        r.ReplicationVolumeId = row.ReplicationVolumeId;
        ret.AppDirs.push_back(std::move(r));
    }
    dirs.deleteList(rows);
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::CopyAppDirToMsg(const CopyAppDirToMsgArgs_t& args, CopyAppDirToMsgRet_t& ret)
{
    static const char Fn[] = "ReplicationMgr::CopyAppDirToMsg()";
    ret.AppDirs = nullptr;
    ret.count = 0;
    if (args.pvAppDirList == nullptr)
        return steps::Fail(*this, ret, -1, "Internal error detected processing application dirs information",
                           "\n\tArgs.pvAppDirList = NULL", ProgNameQueries, Fn, __LINE__);
    const std::vector<ApplicationDirsRecord_t>& list = *args.pvAppDirList;
    ret.errMsg = "";
    if (list.empty()) return true;

    const uint32_t n = static_cast<uint32_t>(list.size());
    auto* entries = static_cast<repApplicationDirs*>(AllocReplyArray(sizeof(repApplicationDirs) * n));
    if (entries == nullptr)
        return steps::Fail(*this, ret, kErrNoMemory, "No memory available for query information", "", ProgNameQueries,
                           Fn, __LINE__);
    std::memset(static_cast<void*>(entries), 0, sizeof(repApplicationDirs) * n);
    for (uint32_t i = 0; i < n; ++i) {
        const ApplicationDirsRecord_t& r = list[i];
        repApplicationDirs& e = entries[i];
        e.id = r.id;
        e.subclientId = r.subclientId;
        e.clientId = r.clientId;
        e.pathType = r.pathType;
        e.ReplicationVolumeId = r.ReplicationVolumeId;
        e.creationTime = r.creationTime;
        e.modifyTime = r.modifyTime;
        if (!CopyEntryText(e.objName, r.objName.c_str()) || !CopyEntryText(e.path, r.path.c_str())) {
            FreeEntries(entries, i + 1);
            return steps::Fail(*this, ret, kErrNoMemory, "No memory available to perform application dirs info query",
                               "", ProgNameQueries, Fn, __LINE__);
        }
    }
    ret.AppDirs = entries;
    ret.count = n;
    return true;
}

bool ReplicationMgr::UpdateAppDirModifyTimeByRepVol(const UpdateAppDirModifyTimeByRepVolArgs_t& args,
                                                    UpdateAppDirModifyTimeByRepVolRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::UpdateAppDirModifyTimeByRepVol()";
    if (args.ReplicationVolumeIds.empty()) {
        m_LogMsg << "\tWarning: Unreserve list is empty";
        WriteLogMsg(ProgNameUpdates, Fn, __LINE__, WARNING);
        ret.errMsg = "";
        return true;
    }

    const int now = static_cast<int>(time(nullptr));
    std::string where = "ReplicationVolumeId IN (";
    std::set<int> notFound;
    for (size_t i = 0; i < args.ReplicationVolumeIds.size(); ++i) {
        where += (i ? ", " : "") + std::to_string(args.ReplicationVolumeIds[i]);
        notFound.insert(args.ReplicationVolumeIds[i]);
    }
    where += ")";

    ApplicationDirsDB dirs;
    YBApplicationDirs_t* rows = nullptr;
    unsigned int count = 0;
    if (!dirs.getList(rows, count, where.c_str(), "id ASC", tran))
        return steps::Fail(*this, ret, kErrDatabase, "Could not get list of application dirs records",
                           "\n\tApplicationDirsDB::getList() failed\n\tsWhere = " + where +
                               "\n\tDB Error Code = " + std::to_string(dirs.getErrorCode()),
                           ProgNameUpdates, Fn, __LINE__);
    if (count == 0) {
        ret.errMsg = "No application dirs to be udpated";
        m_LogMsg << "\tEvent: " << ret.errMsg << "\n\tApplicationDirsDB::getList() returned no records";
        WriteLogMsg(ProgNameUpdates, Fn, __LINE__, MSG);
        return true;
    }

    const std::string update = "modifyTime = " + std::to_string(args.ModifyTime != 0 ? args.ModifyTime : now);
    bool ok = true;
    for (unsigned int i = 0; i < count; ++i) {
        if (!dirs.Update(rows[i].id, update.c_str(), tran)) {
            ok = steps::Fail(*this, ret, kErrDatabase, "Could not update application dirs record",
                             "\n\tApplicationDirsDB::Update() failed\n\tID: " + std::to_string(rows[i].id) +
                                 "\n\tsUpdate: " + update + "\n\tTran: " + steps::TranHandle(tran),
                             ProgNameUpdates, Fn, __LINE__);
            break;
        }
        m_LogMsg << "\tUpdating Application Dirs record " << rows[i].id;
        WriteLogMsg(ProgNameUpdates, Fn, __LINE__, MSG);
        notFound.erase(rows[i].ReplicationVolumeId);
    }
    dirs.deleteList(rows);
    if (!ok) return false;

    for (int id : args.ReplicationVolumeIds) {
        if (notFound.count(id) == 0) continue;
        notFound.erase(id);  // one warning per id
        m_LogMsg << "\tWarning: No Application Dirs records were found for replication volume id " << id;
        WriteLogMsg(ProgNameUpdates, Fn, __LINE__, WARNING);
    }
    ret.errMsg = "";
    return true;
}

// ---- Request cases --------------------------------------------------------------------

namespace {

void ServeCopyAppDirs(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    const auto& req = cases::RequestOf<repCopyAppDirReq>(buf);
    CopyAppDirsArgs_t args;
    args.SrcYBVolId = req.SrcYBVolId;
    args.DstYBVolId = req.DstYBVolId;
    CopyAppDirsRet_t ret;
    AnswerInlineTranCase<repCopyAppDirResp>(mgr, code, ret, cases::Order::B, cases::Message::Copy,
                                            [&](DBtran* tran) { return mgr.CopyAppDirs(args, ret, tran); });
}

// The entries are built by the operation's step, so that a failure to build
// them answers with the text of that step; they are freed after the send.
void ServeQueryAppDirs(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    QueryAppDirByReplicaVolArgs_t args;
    args.ReplicationVolumeId = cases::RequestOf<repQueryAppDirsByReplicaVolReq>(buf).ReplicationVolumeId;
    QueryAppDirByReplicaVolRet_t ret;
    CopyAppDirToMsgRet_t built;
    AnswerInlineCase<repQueryAppDirsByReplicaVolResp>(
        mgr, code, ret, cases::Message::Copy,
        [&]() {
            if (!mgr.QueryAppDirByReplicaVol(args, ret, nullptr)) return false;
            CopyAppDirToMsgArgs_t toMsg;
            toMsg.pvAppDirList = &ret.AppDirs;
            if (mgr.CopyAppDirToMsg(toMsg, built)) return true;
            ret.errMsg = built.errMsg;
            return false;
        },
        [&](repQueryAppDirsByReplicaVolResp& r) {
            r.count = built.count;
            r.AppDirs = built.AppDirs;
        });
    FreeEntries(built.AppDirs, built.count);
}

// A count with a null list is an empty list.
void ServeUpdateAppDirModifyTime(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    const auto& req = cases::RequestOf<repUpdateAppDirModifyTimeByRepVolReq>(buf);
    UpdateAppDirModifyTimeByRepVolArgs_t args;
    args.ModifyTime = req.ModifyTime;
    if (req.ReplicationVolumeIds != nullptr)
        args.ReplicationVolumeIds.assign(req.ReplicationVolumeIds, req.ReplicationVolumeIds + req.count);
    UpdateAppDirModifyTimeByRepVolRet_t ret;
    AnswerInlineTranCase<repUpdateAppDirModifyTimeByRepVolResp>(
        mgr, code, ret, cases::Order::B, cases::Message::Copy,
        [&](DBtran* tran) { return mgr.UpdateAppDirModifyTimeByRepVol(args, ret, tran); });
}

}  // namespace

const ServedCase CopyAppDirsCase = cases::Serve<repCopyAppDirReq, repCopyAppDirResp>(&ServeCopyAppDirs);
const ServedCase QueryAppDirByReplicaVolCase =
    cases::Serve<repQueryAppDirsByReplicaVolReq, repQueryAppDirsByReplicaVolResp>(&ServeQueryAppDirs);
const ServedCase UpdateAppDirModifyTimeCase =
    cases::Serve<repUpdateAppDirModifyTimeByRepVolReq, repUpdateAppDirModifyTimeByRepVolResp>(
        &ServeUpdateAppDirModifyTime);
