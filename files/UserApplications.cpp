// User application definitions: the conversions, add, update, delete, query
// by id and list, and the inline request cases that serve them.
#include "files/UserApplications.h"

#include <cstring>
#include <string>

#include "files/AppViewCases.h"
#include "files/AppViewSteps.h"
#include "host/EvDebug.h"
#include "host/db/FileTables.h"
#include "host/db/SqlText.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/RecordConversion.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/ReplyArray.h"
#include "service/SourceNames.h"
#include "service/TranHandle.h"
#include "service/Utils.h"

using files_detail::RowCallFailed;
using steps::Fail;
using steps::TranLine;

// ---- Conversions ---------------------------------------------------------------

void YBSet(YBUserAppDefsRecord_t& dst, const repYBUserApplDefRec& src)
{
    dst.id = src.id;
    dst.ClientId = src.ClientId;
    dst.ApplicationName = YBTextFromWire(src.ApplicationName);
    dst.AppTag = YBTextFromWire(src.AppTag);
    dst.SuspendScript = YBTextFromWire(src.SuspendScript);
    dst.ResumeScript = YBTextFromWire(src.ResumeScript);
    dst.UpdateMask = static_cast<int32_t>(src.UpdateMask);
}

void YBSet(repYBUserApplDefRec& dst, const YBUserAppDefsRecord_t& src)
{
    dst.id = src.id;
    dst.ClientId = src.ClientId;
    dst.ApplicationName = YBWireText(src.ApplicationName);
    dst.AppTag = YBWireText(src.AppTag);
    dst.SuspendScript = YBWireText(src.SuspendScript);
    dst.ResumeScript = YBWireText(src.ResumeScript);
    dst.UpdateMask = static_cast<uint32_t>(src.UpdateMask);
}

void YBSet(YBUserAppDefsRecord_t& dst, const YBUserApplicationDef_t& src)
{
    dst.id = src.id;
    dst.ClientId = src.ClientId;
    dst.ApplicationName = YBColumnText(src.ApplicationName);
    dst.AppTag = YBColumnText(src.AppTag);
    dst.SuspendScript = YBColumnText(src.SuspendScript);
    dst.ResumeScript = YBColumnText(src.ResumeScript);
}

namespace {

// Copies the text into the column, or refuses it with -18 and the message
// when the column cannot hold it.
template <size_t N>
bool CopyColumn(YBDBDst_t<YBUserApplicationDef_t>& dst, char (&column)[N], const std::string& text,
                const char* tooLong)
{
    if (text.size() > N - 1) {
        dst.errCode = kErrTooLong;
        dst.errMsg = tooLong;
        return false;
    }
    YBCopyText(column, text);
    return true;
}

}  // namespace

bool YBSet(YBDBDst_t<YBUserApplicationDef_t>& dst, const YBUserAppDefsRecord_t& src)
{
    YBUserApplicationDef_t& row = dst.row;
    YBZeroRow(row);
    row.id = src.id;
    row.ClientId = src.ClientId;
    return CopyColumn(dst, row.ApplicationName, src.ApplicationName, "Application Name is too long") &&
           CopyColumn(dst, row.AppTag, src.AppTag, "Application tag is too long") &&
           CopyColumn(dst, row.SuspendScript, src.SuspendScript, "Suspend script is too long") &&
           CopyColumn(dst, row.ResumeScript, src.ResumeScript, "Resume script it too long");
}

template bool CopyVectorToMsg(repYBUserApplDefRec**, const std::vector<YBUserAppDefsRecord_t>&);

// ---- Operations --------------------------------------------------------------------

namespace {

// The id line of a definition's entries.
std::string IdLine(int id) { return "\n\tUser Application Id = " + std::to_string(id); }

}  // namespace

bool ReplicationMgr::AddApplication(const AddYBUserAppDefsArgs_t& args, AddYBUserAppDefsRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::AddApplication()";
    const YBUserAppDefsRecord_t& application = args.application;

    // A missing name or tag is logged in words of its own.
    const char* missing = nullptr;
    if (application.ApplicationName.empty()) {
        ret.errMsg = "Cannot include user application with a missing name value";
        missing = "\tEvent: Name field of the YB User application is empty";
    } else if (application.AppTag.empty()) {
        ret.errMsg = "Cannot include user application with a missing application tag value";
        missing = "\tEvent: Application tag field of the YB User application is empty";
    }
    if (missing != nullptr) {
        ret.errCode = kErrMissingInput;
        m_LogMsg << missing;
        WriteLogMsg(ProgNameInserts, Fn, __LINE__, ERR);
        return false;
    }

    YBUserApplicationDef_t row;
    std::string tooLong;
    YBDBDst_t<YBUserApplicationDef_t> dst(row, tooLong);
    if (!YBSet(dst, application)) return Fail(*this, ret, dst.errCode, tooLong, "", ProgNameInserts, Fn, __LINE__);

    YBUserApplicationDefDB db;
    const std::string where =
        "ClientId = " + std::to_string(application.ClientId) + " AND AppTag = '" + SqlEscape(application.AppTag) + "'";
    unsigned int count = 0;
    if (!db.getNRows(where.c_str(), count, tran))
        return Fail(*this, ret, kErrDatabase, "Cannot include new user application. DB Error while checking duplicates",
                    "\n\tsWhere = " + EvDebug::escaped(where) +
                        "\n\tDB Err Code = " + std::to_string(db.getErrorCode()) + TranLine(tran),
                    ProgNameInserts, Fn, __LINE__);
    if (count > 0)
        return Fail(*this, ret, kErrNotUnique, "The User Application is already in the database",
                    "\n\tClient Id = " + std::to_string(application.ClientId) +
                        "\n\tApplication Tag = " + EvDebug::escaped(application.AppTag),
                    ProgNameInserts, Fn, __LINE__);

    if (!db.insert(row, tran))
        return Fail(*this, ret, kErrDatabase, "Cannot include new user application record into the database",
                    "\n\tYBUserApplicationDefDB::insert() failed\n\tDB Err Code = " +
                        std::to_string(db.getErrorCode()) + TranLine(tran),
                    ProgNameInserts, Fn, __LINE__);

    ret.id = row.id;
    ret.errMsg = "";
    m_LogMsg << "\tUser Application " << EvDebug::escaped(application.ApplicationName) << " was added, using ID "
             << row.id;
    WriteLogMsg(ProgNameInserts, Fn, __LINE__, MSG);
    return true;
}

namespace {

// "Column = '<text>'" with the text quoted.
std::string SetItem(const char* column, const char* text)
{
    return std::string(column) + " = '" + SqlEscape(text) + "'";
}

// The SET clause of an update: the columns the mask selects (all of them for
// 0), in the order name, tag, resume script, suspend script, an empty text
// written as such.
std::string UpdateClause(const YBUserApplicationDef_t& row, int32_t mask)
{
    struct Item {
        int32_t bit;
        const char* column;
        const char* text;
    };
    const Item items[] = {
        {YB_USER_APP_NAME, "ApplicationName", row.ApplicationName},
        {YB_USER_APP_TAG, "AppTag", row.AppTag},
        {YB_USER_APP_RESUME_SCRIPT, "ResumeScript", row.ResumeScript},
        {YB_USER_APP_SUSPEND_SCRIPT, "SuspendScript", row.SuspendScript},
    };
    std::string set;
    for (const Item& item : items) {
        if (mask != 0 && (mask & item.bit) == 0) continue;
        if (!set.empty()) set += ", ";
        set += SetItem(item.column, item.text);
    }
    return set;
}

}  // namespace

bool ReplicationMgr::UpdateApplication(const UpdateYBUserAppDefsArgs_t& args, UpdateYBUserAppDefsRet_t& ret,
                                       DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::UpdateApplication()";
    const YBUserAppDefsRecord_t& application = args.application;
    const int id = application.id;

    if (id < 1)
        return Fail(*this, ret, kErrInvalidId, "Cannot update user application information with invalid values",
                    IdLine(id), ProgNameUpdates, Fn, __LINE__);

    // A text too long for its column is refused without a log entry.
    YBUserApplicationDef_t row;
    YBDBDst_t<YBUserApplicationDef_t> dst(row, ret.errMsg);
    if (!YBSet(dst, application)) {
        ret.errCode = dst.errCode;
        return false;
    }

    YBUserApplicationDefDB db;
    const std::string set = UpdateClause(row, application.UpdateMask);
    if (!db.Update(id, set.c_str(), tran))
        return RowCallFailed(*this, ret, db.getErrorCode(), "Record not found",
                             "Could not update User Application in the database", "YBUserApplicationDefDB::Update()",
                             IdLine(id), "\n\tsUpdate = " + EvDebug::escaped(set) + TranLine(tran), ProgNameUpdates, Fn,
                             __LINE__);

    ret.errMsg = "";
    m_LogMsg << "\tUser Application " << id << " was updated successfully...";
    WriteLogMsg(ProgNameUpdates, Fn, __LINE__, MSG);
    return true;
}

bool ReplicationMgr::DeleteApplication(const DeleteYBUserAppDefsArgs_t& args, DeleteYBUserAppDefsRet_t& ret,
                                       DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::DeleteApplication()";
    const int id = args.id;

    if (id < 1)
        return Fail(*this, ret, kErrInvalidId, "Cannot remove user application from the database with invalid values",
                    IdLine(id), ProgNameDeletes, Fn, __LINE__);

    YBUserApplicationDefDB db;
    if (!db.remove(id, tran))
        return RowCallFailed(*this, ret, db.getErrorCode(), "User application not found",
                             "Cannot remove user application from the database", "YBUserApplicationDefDB::remove()",
                             IdLine(id), TranLine(tran), ProgNameDeletes, Fn, __LINE__);

    ret.errMsg = "";
    m_LogMsg << "\tUser Application " << id << " was removed...";
    WriteLogMsg(ProgNameDeletes, Fn, __LINE__, MSG);
    return true;
}

bool ReplicationMgr::QueryApplication(const QueryYBUserAppDefsArgs_t& args, QueryYBUserAppDefsRet_t& ret,
                                      DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::QueryApplication()";
    const int id = args.id;

    if (id < 1)
        return Fail(*this, ret, kErrInvalidId, "Invalid user application identifier", IdLine(id), ProgNameQueries, Fn,
                    __LINE__);

    YBUserApplicationDefDB db;
    YBUserApplicationDef_t row;
    if (!db.getInfo(id, row, tran))
        return RowCallFailed(*this, ret, db.getErrorCode(), "Record not found",
                             "Cannot access user application from the database", "YBUserApplicationDefDB::getInfo()",
                             IdLine(id), "", ProgNameQueries, Fn, __LINE__);

    YBSet(ret.application, row);
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::GetApplicationList(GetYBUserApplicationListListRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::GetApplicationList()";

    YBUserApplicationDefDB db;
    if (!files_detail::ReadList(db, ret.applications, tran))
        return Fail(*this, ret, kErrDatabase, "Cannot get the list of user application from the database",
                    std::string("\n\tsWhere = ") + files_detail::ListWhere + "\n\tsOrderBy = " +
                        files_detail::ListOrderBy + "\n\tDB Err Code = " + std::to_string(db.getErrorCode()),
                    ProgNameQueries, Fn, __LINE__);

    ret.errMsg = "";
    return true;
}

// ---- Inline request cases ---------------------------------------------------

namespace {

void ServeAddApplication(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    AddYBUserAppDefsArgs_t args;
    AddYBUserAppDefsRet_t ret;
    YBSet(args.application, cases::RequestOf<repYBUserApplDefRec>(buf));
    AnswerInlineTranCase<repAddYBUserApplDefResp>(
        mgr, code, ret, cases::Order::B, cases::Message::PointIntoResult,
        [&](DBtran* tran) { return mgr.AddApplication(args, ret, tran); },
        [&](repAddYBUserApplDefResp& r) { r.id = static_cast<uint32_t>(ret.id); });
}

void ServeUpdateApplication(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    UpdateYBUserAppDefsArgs_t args;
    UpdateYBUserAppDefsRet_t ret;
    YBSet(args.application, cases::RequestOf<repYBUserApplDefRec>(buf));
    AnswerInlineTranCase<repUpdateYBUserApplDefResp>(
        mgr, code, ret, cases::Order::B, cases::Message::PointIntoResult,
        [&](DBtran* tran) { return mgr.UpdateApplication(args, ret, tran); });
}

void ServeDeleteApplication(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    DeleteYBUserAppDefsArgs_t args;
    DeleteYBUserAppDefsRet_t ret;
    args.id = cases::RequestOf<repYBUserApplDefByIdReq>(buf).id;
    AnswerInlineTranCase<repDeleteYBUserApplDefResp>(
        mgr, code, ret, cases::Order::B, cases::Message::PointIntoResult,
        [&](DBtran* tran) { return mgr.DeleteApplication(args, ret, tran); });
}

void ServeQueryApplication(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    QueryYBUserAppDefsArgs_t args;
    QueryYBUserAppDefsRet_t ret;
    args.id = cases::RequestOf<repYBUserApplDefByIdReq>(buf).id;
    AnswerInlineCase<repQueryYBUserApplDefByIdResp>(
        mgr, code, ret, cases::Message::PointIntoResult, [&]() { return mgr.QueryApplication(args, ret, nullptr); },
        [&](repQueryYBUserApplDefByIdResp& r) { YBSet(r.application, ret.application); });
}

void ServeGetApplicationList(ReplicationMgr& mgr, unsigned long code, zxsDatabuf*)
{
    GetYBUserApplicationListListRet_t ret;
    steps::AnswerListInline(mgr, code, ret, ret.applications, &repGetYBUserApplDefResp::array,
                            [&]() { return mgr.GetApplicationList(ret, nullptr); });
}

}  // namespace

const ServedCase AddApplicationCase = cases::Serve<repYBUserApplDefRec, repAddYBUserApplDefResp>(&ServeAddApplication);
const ServedCase UpdateApplicationCase =
    cases::Serve<repYBUserApplDefRec, repUpdateYBUserApplDefResp>(&ServeUpdateApplication);
const ServedCase DeleteApplicationCase =
    cases::Serve<repYBUserApplDefByIdReq, repDeleteYBUserApplDefResp>(&ServeDeleteApplication);
const ServedCase QueryApplicationCase =
    cases::Serve<repYBUserApplDefByIdReq, repQueryYBUserApplDefByIdResp>(&ServeQueryApplication);
const ServedCase GetApplicationListCase =
    cases::Serve<cases::NoRequest, repGetYBUserApplDefResp>(&ServeGetApplicationList);
