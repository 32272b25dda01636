// The application-directory operations that send their own replies: the
// recording of a backup's entries and the two listings of entries up to a
// time, with the cases of post that call them.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "host/db/DBtable.h"
#include "replicas/AppDirTexts.h"
#include "replicas/ApplicationDirs.h"
#include "replicas/ReplicaCases.h"
#include "rows/Db/Tbl/YBApplicationDirs.h"
#include "service/CasePatterns.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"
#include "service/Utils.h"

using replica_detail::CopyEntryText;
using replica_detail::FreeEntries;

namespace {

constexpr int64_t RecordOk = 0;
constexpr int64_t RecordFailed = 2;
constexpr int64_t RecordNothing = 4;

constexpr int64_t ListOk = 0;
constexpr int64_t ListEmpty = 1;
constexpr int64_t ListDbError = 2;
constexpr int64_t ListNoMemory = 3;

constexpr size_t kMaxAppDirText = sizeof(YBApplicationDirs_t::objName) - 1;

void SendRecordResult(ReplicationMgr& mgr, int64_t result)
{
    repCreateAppDirsRecordsResp reply;
    reply.result = result;
    cases::SendReply(mgr, 0x35000046, reply);
}

}  // namespace

bool ReplicationMgr::CreateApplicationDirsRecords(const CreateAppDirsRecordsArgs_t& args, CreateAppDirsRecordsRet_t&)
{
    static const char Fn[] = "ReplicationMgr::CreateApplicationDirsRecords()";
    if (args.records.empty()) {
        m_LogMsg << "Event:No records to add where found in the function arguments";
        WriteLogMsg(ProgNameInserts, Fn, __LINE__, ERR);
        SendRecordResult(*this, RecordNothing);
        return false;
    }

    DBtran tran(false);
    const int started = tran.startTran();
    if (started != 0) {
        m_LogMsg << "\tEvent: Could not start transaction.\n\tDBTran::startTran() failed\n\tThe error is: "
                 << DBtable::getErrorStr(started);
        WriteLogMsg(ProgNameInserts, Fn, __LINE__, ERR);
        SendRecordResult(*this, RecordFailed);
        return false;
    }
    auto fail = [&](long line) {
        WriteLogMsg(ProgNameInserts, Fn, line, ERR);
        tran.rollbackTran();
        SendRecordResult(*this, RecordFailed);
        return false;
    };

    const int now = static_cast<int>(time(nullptr));
    for (const ApplicationDirsRecord_t& entry : args.records) {
        // A text the column cannot hold whole is refused, never cut.
        if (entry.objName.size() > kMaxAppDirText || entry.path.size() > kMaxAppDirText) {
            m_LogMsg << "\tEvent: Could not add record to table Application Dirs."
                     << "\n\tReason: object name or path longer than " << kMaxAppDirText << " characters"
                     << "\n\tSubclient Id = " << entry.subclientId;
            return fail(__LINE__);
        }
        YBApplicationDirs dirs(&tran);
        dirs.setWhere("subclientId = %d AND objName = '%s' AND path = '%s'", entry.subclientId,
                      entry.objName.c_str(), entry.path.c_str());
        int rc = dirs.openCursor();
        if (rc != 0) {
            m_LogMsg << "\tEvent: Could not open cursor.\n\tApplicationDirs::openCursor() failed\n\tThe error is: "
                     << DBtable::getErrorStr(rc);
            return fail(__LINE__);
        }
        rc = dirs.fetchCursor(false);
        if (rc == 0) {
            dirs.getDataPtr()->modifyTime = now;
            const int updated = dirs.rowUpdate(nullptr);
            dirs.closeCursor();
            if (updated != 0) {
                m_LogMsg << "\tEvent: Unable to update record in table Application Dirs.\n\tThe error is: "
                         << DBtable::getErrorStr(updated);
                return fail(__LINE__);
            }
        } else if (rc == DB_NO_MORE_ROWS) {
            dirs.closeCursor();
        } else {
            dirs.closeCursor();
            m_LogMsg << "\tEvent: Could not fetch cursor for Application Dirs table."
                     << "\n\tApplicationDirs::fetchCursor() failed\n\tThe error is: " << DBtable::getErrorStr(rc);
            return fail(__LINE__);
        }

        YBApplicationDirs_t row;
        row.subclientId = entry.subclientId;
        row.clientId = entry.clientId;
        zxstrcpy(row.objName, entry.objName.c_str(), sizeof row.objName);
        zxstrcpy(row.path, entry.path.c_str(), sizeof row.path);
        row.pathType = entry.pathType;
        row.ReplicationVolumeId = entry.ReplicationVolumeId;
        row.creationTime = now;
        row.modifyTime = now;
        row.Flags = 0;
        YBApplicationDirs inserter(&tran);
        inserter.setValues(&row);
        rc = inserter.rowInsert(false);
        if (rc != 0) {
            m_LogMsg << "\tEvent: Could not add record to table Application Dirs."
                     << "\n\tApplicationDirs::rowInsert() failed\n\tThe error is: " << DBtable::getErrorStr(rc);
            return fail(__LINE__);
        }
        m_LogMsg << "\tApplication Dirs record " << inserter.getDataPtr()->id << " was added...";
        WriteLogMsg(ProgNameInserts, Fn, __LINE__, MSG);
    }

    // A commit that does not go through is a failure, never reported as done.
    const int committed = tran.commitTran(false);
    if (committed != 0) {
        m_LogMsg << "\tEvent: Could not commit transaction.\n\tThe error is: " << DBtable::getErrorStr(committed);
        return fail(__LINE__);
    }
    SendRecordResult(*this, RecordOk);
    return true;
}

// ---- Listings up to a time -----------------------------------------------------------

namespace {

// What differs between the subclient and the client listing.
struct ListingForm {
    const char* where;      // "<key> = %d AND creationTime <= %d"
    const char* function;   // the operation's function name
    const char* request;    // the request's literal name
    const char* reply;      // the reply's literal name
    unsigned long replyCode;
};

const ListingForm BySubclient{"subclientId = %d AND creationTime <= %d",
                              "ReplicationMgr::GetApplicationDirsBySubclientIdAndTime()",
                              "REPLICA_PM_GetAppDirsBySubclient_REQ", "REPLICA_PM_GetAppDirsBySubclient_RESP",
                              0x35000040};
const ListingForm ByClient{"clientId = %d AND creationTime <= %d",
                           "ReplicationMgr::GetApplicationDirsByClientIdAndTime()",
                           "REPLICA_PM_GetAppDirsByClient_REQ", "REPLICA_PM_GetAppDirsByClient_RESP", 0x35000044};

// The second field of an entry: the client of a subclient listing, the
// subclient of a client listing.
inline void SetOtherKey(repGetAppDirsBySubclientAndTime& e, const YBApplicationDirs_t& row) { e.clientId = row.clientId; }
inline void SetOtherKey(repGetAppDirsByClientAndTime& e, const YBApplicationDirs_t& row) { e.subclientId = row.subclientId; }

template <typename Reply, typename Entry>
bool ListAppDirs(ReplicationMgr& mgr, const ListingForm& form, int key, int32_t until)
{
    const std::string completedOk = std::string("\tMessage ") + form.request + " completed successfully" +
                                    "\n\tSending reply " + form.reply + " to client...";
    const std::string completedBad = std::string("\n\tMessage ") + form.request + " completed unsuccessfully" +
                                     "\n\tSending reply " + form.reply + " to client...";
    Reply reply;
    std::memset(static_cast<void*>(&reply), 0, sizeof reply);
    auto answer = [&](int64_t status, int level, long line) {
        reply.status = status;
        if (status != ListOk) {
            reply.count = 0;
            reply.AppDirs = nullptr;
        }
        mgr.WriteLogMsg(ProgNameQueries, form.function, line, level);
        cases::SendReply(mgr, form.replyCode, reply);
        return status == ListOk || status == ListEmpty;
    };
    auto refuse = [&](int64_t status, long line) { return answer(status, ReplicationMgr::ERR, line); };

    const int32_t bound = until == 0 ? 2147483647 : until;
    YBApplicationDirs dirs(nullptr);
    dirs.setWhere(form.where, key, bound);
    dirs.setOrderBy("creationTime DESC");
    int n = 0;
    const int counted = dirs.getRowsInTable(&n, false);
    if (counted == DB_NO_MORE_ROWS) {
        mgr.log() << "\tNo records found\n" << completedOk;
        return answer(ListEmpty, ReplicationMgr::INFO, __LINE__);
    }
    if (counted != 0) {
        mgr.log() << "\tError ocurred during ApplicationDirs.getRowsInTable()" << completedBad;
        return refuse(ListDbError, __LINE__);
    }

    Entry* entries = static_cast<Entry*>(AllocReplyArray(sizeof(Entry) * static_cast<size_t>(n)));
    if (entries == nullptr) {
        mgr.log() << "\tEvent: No memory available" << completedBad;
        return refuse(ListNoMemory, __LINE__);
    }
    std::memset(static_cast<void*>(entries), 0, sizeof(Entry) * static_cast<size_t>(n));

    if (dirs.openCursor() != 0) {
        FreeEntries(entries, 0);
        mgr.log() << "\tError ocurred during ApplicationDirs.openCursor()" << completedBad;
        return refuse(ListDbError, __LINE__);
    }
    // Rows may come and go between the count and the fetch: at most n are
    // taken, and the reply counts the entries filled.
    int filled = 0;
    int rc = 0;
    bool noMemory = false;
    while (filled < n && (rc = dirs.fetchCursor(false)) == 0) {
        const YBApplicationDirs_t& row = *dirs.getDataPtr();
        Entry& e = entries[filled++];
        e.id = row.id;
        SetOtherKey(e, row);
        e.pathType = row.pathType;
        e.creationTime = row.creationTime;
        e.modifyTime = row.modifyTime;
        e.ReplicationVolumeId = row.ReplicationVolumeId;
        if (!CopyEntryText(e.objName, row.objName) || !CopyEntryText(e.path, row.path)) {
            noMemory = true;
            break;
        }
    }
    if (filled == n && !noMemory) rc = DB_NO_MORE_ROWS;
    dirs.closeCursor();

    if (noMemory) {
        FreeEntries(entries, filled);
        mgr.log() << "\tEvent: No memory available" << completedBad;
        return refuse(ListNoMemory, __LINE__);
    }
    if (rc != DB_NO_MORE_ROWS) {
        FreeEntries(entries, filled);
        mgr.log() << "\tError ocurred during ApplicationDirs.fetchCursor()\n\tThe error is: "
                  << DBtable::getErrorStr(rc) << completedBad;
        return refuse(ListDbError, __LINE__);
    }
    reply.count = filled;
    reply.AppDirs = entries;
    mgr.log() << completedOk;
    answer(ListOk, ReplicationMgr::INFO, __LINE__);
    FreeEntries(entries, filled);
    return true;
}

}  // namespace

bool ReplicationMgr::GetApplicationDirsBySubclientIdAndTime(const GetApplicationDirsBySubclientIdAndTimeArgs_t& args,
                                                            GetApplicationDirsBySubclientIdAndTimeRet_t&)
{
    return ListAppDirs<repGetAppDirsBySubclientAndTimeResp, repGetAppDirsBySubclientAndTime>(
        *this, BySubclient, args.SubclientId, args.Time);
}

bool ReplicationMgr::GetApplicationDirsByClientIdAndTime(const GetApplicationDirsByClientAndTimeArgs_t& args,
                                                         GetApplicationDirsByClientAndTimeRet_t&)
{
    return ListAppDirs<repGetAppDirsByClientAndTimeResp, repGetAppDirsByClientAndTime>(*this, ByClient, args.ClientId,
                                                                                       args.Time);
}

// ---- Request cases -------------------------------------------------------------------
// Post writes no entry for these: the operations log and reply themselves.

namespace {

// The entries of the recording request; a null text reads as empty, a count
// with a null list as no entries.
void ServeCreateAppDirs(ReplicationMgr& mgr, unsigned long, zxsDatabuf* buf)
{
    const auto& req = cases::RequestOf<repCreateAppDirsRecordsReq>(buf);
    CreateAppDirsRecordsArgs_t args;
    for (uint32_t i = 0; req.AppDirs != nullptr && i < req.count; ++i) {
        const repApplicationDirs& w = req.AppDirs[i];
        ApplicationDirsRecord_t r;
        r.id = 0;
        r.subclientId = w.subclientId;
        r.clientId = w.clientId;
        r.pathType = w.pathType;
        r.objName = w.objName != nullptr ? w.objName : "";
        r.path = w.path != nullptr ? w.path : "";
        r.creationTime = 0;
        r.modifyTime = 0;
        r.ReplicationVolumeId = w.ReplicationVolumeId;
        args.records.push_back(std::move(r));
    }
    CreateAppDirsRecordsRet_t ret;
    mgr.CreateApplicationDirsRecords(args, ret);
}

void ServeAppDirsBySubclient(ReplicationMgr& mgr, unsigned long, zxsDatabuf* buf)
{
    const auto& req = cases::RequestOf<repGetAppDirsBySubclientAndTimeReq>(buf);
    GetApplicationDirsBySubclientIdAndTimeArgs_t args;
    args.SubclientId = req.SubclientId;
    args.Time = req.Time;
    GetApplicationDirsBySubclientIdAndTimeRet_t ret;
    mgr.GetApplicationDirsBySubclientIdAndTime(args, ret);
}

void ServeAppDirsByClient(ReplicationMgr& mgr, unsigned long, zxsDatabuf* buf)
{
    const auto& req = cases::RequestOf<repGetAppDirsByClientAndTimeReq>(buf);
    GetApplicationDirsByClientAndTimeArgs_t args;
    args.ClientId = req.ClientId;
    args.Time = req.Time;
    GetApplicationDirsByClientAndTimeRet_t ret;
    mgr.GetApplicationDirsByClientIdAndTime(args, ret);
}

// These replies carry a result value and no text: a request without its data
// is answered with the failure value (2) and an ERR entry.
template <typename Reply>
void RefuseWithResult(ReplicationMgr& mgr, unsigned long code, const char* missing)
{
    Reply reply;
    std::memset(static_cast<void*>(&reply), 0, sizeof reply);
    if constexpr (std::is_same<Reply, repCreateAppDirsRecordsResp>::value)
        reply.result = RecordFailed;
    else
        reply.status = ListDbError;
    cases::LogRefusal(mgr, missing, __LINE__);
    const cases::CaseLog lit = cases::HandlerLog(code, ReplyCodeFor(code));
    mgr.log() << lit.completed << "unsuccessfully" << lit.sending;
    mgr.WriteLogMsg(cases::ProgName, "ReplicationMgr::post()", __LINE__, ReplicationMgr::INFO);
    cases::SendReply(mgr, ReplyCodeFor(code), reply);
}

// Status 1 for the result value of success (and of an empty listing), 0 for
// the others; the replies carry no text.
template <typename Reply>
SentStatus ReadResult(const void* data)
{
    Reply reply;
    std::memcpy(static_cast<void*>(&reply), data, sizeof reply);
    int64_t value;
    if constexpr (std::is_same<Reply, repCreateAppDirsRecordsResp>::value)
        value = reply.result;
    else
        value = reply.status == ListEmpty ? ListOk : reply.status;
    return SentStatus{value == 0 ? 1 : 0, false, 0, nullptr};
}

template <typename Req, typename Reply>
constexpr ServedCase ServeSelfReplying(CaseFn serve)
{
    return ServedCase{serve, &RefuseWithResult<Reply>, &ReadResult<Reply>, sizeof(Reply), true, sizeof(Req),
                      cases::HoldsPointers<Req>::value};
}

}  // namespace

const ServedCase CreateApplicationDirsRecordsCase =
    ServeSelfReplying<repCreateAppDirsRecordsReq, repCreateAppDirsRecordsResp>(&ServeCreateAppDirs);
const ServedCase GetAppDirsBySubclientCase =
    ServeSelfReplying<repGetAppDirsBySubclientAndTimeReq, repGetAppDirsBySubclientAndTimeResp>(&ServeAppDirsBySubclient);
const ServedCase GetAppDirsByClientCase =
    ServeSelfReplying<repGetAppDirsByClientAndTimeReq, repGetAppDirsByClientAndTimeResp>(&ServeAppDirsByClient);
