// Appliances: add, delete, query by id and list, the reply array of the list
// with its own name copies, and the inline request cases that serve them.
#include "files/Appliances.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "files/AppViewCases.h"
#include "files/AppViewSteps.h"
#include "host/EvDebug.h"
#include "host/db/FileTables.h"
#include "host/db/SqlText.h"
#include "service/CasePatterns.h"
#include "service/DispatchTable.h"
#include "service/ErrorCodes.h"
#include "service/RecordConversion.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"
#include "service/TranHandle.h"
#include "service/Utils.h"

using files_detail::RowCallFailed;
using steps::Fail;
using steps::TranLine;

// A stored appliance as the operations hand it out.
static void YBSet(YBApplianceRecord_t& record, const YBDevice_t& row)
{
    record.id = row.id;
    record.name = YBColumnText(row.Name);
}

void FreeYBApplianceArray(repYBApplianceRec*& array, uint32_t& count)
{
    for (uint32_t i = 0; array != nullptr && i < count; ++i) free(array[i].name);
    free(array);
    array = nullptr;
    count = 0;
}

bool ReplicationMgr::AddYBAppliance(const AddYBApplianceArgs_t& args, AddYBApplianceRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::AddYBAppliance()";
    const std::string& name = args.name;

    if (name.empty())
        return Fail(*this, ret, kErrMissingInput, "Appliance name is empty", "", ProgNameInserts, Fn, __LINE__);
    // The column would keep a cut name: another appliance's, or one that no
    // later add of this name finds.
    if (name.size() > kMaxApplianceNameLength)
        return Fail(*this, ret, kErrTooLong, "Appliance name is too long",
                    "\n\tLength = " + std::to_string(name.size()), ProgNameInserts, Fn, __LINE__);

    CYBApplianceDB db;
    const std::string where = "Name = '" + SqlEscape(name) + "'";
    unsigned int count = 0;
    if (!db.getNRows(where.c_str(), count, tran))
        return Fail(*this, ret, kErrDatabase, "Database error while reading YB Appliance information",
                    "\n\tsWhere = " + EvDebug::escaped(where) +
                        "\n\tDB Err Code = " + std::to_string(db.getErrorCode()) + TranLine(tran),
                    ProgNameInserts, Fn, __LINE__);
    if (count > 0)
        return Fail(*this, ret, kErrAlreadyExists, "Appliance name is already in the database", "", ProgNameInserts, Fn,
                    __LINE__);

    YBDevice_t row;
    YBCopyText(row.Name, name);  // fits: length checked above
    if (!db.insert(row, tran))
        return Fail(*this, ret, kErrDatabase, "New Appliance cannot be added to the database",
                    "\n\tCYBApplianceDB::insert() failed\n\tAppliance Name = " + EvDebug::escaped(name) +
                        "\n\tDB Err Code = " + std::to_string(db.getErrorCode()) + TranLine(tran),
                    ProgNameInserts, Fn, __LINE__);

    ret.id = row.id;
    ret.errMsg = "";
    m_LogMsg << "\tAppliance " << EvDebug::escaped(name) << " was added to database with id = " << row.id;
    WriteLogMsg(ProgNameInserts, Fn, __LINE__, MSG);
    return true;
}

bool ReplicationMgr::DeleteYBAppliance(const DeleteYBApplianceArgs_t& args, DeleteYBApplianceRet_t& ret,
                                       DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::DeleteYBAppliance()";
    const int id = args.id;

    if (id < 1)
        return Fail(*this, ret, kErrInvalidId, "Cannot remove YB Appliance from the database with invalid id",
                    "\n\tAppliance Id = " + std::to_string(id), ProgNameDeletes, Fn, __LINE__);

    CYBApplianceDB db;
    if (!db.remove(id, tran))
        return RowCallFailed(*this, ret, db.getErrorCode(), "Record not found",
                             "Cannot remove YB Appliance from the database", "CYBApplianceDB::remove()",
                             "\n\tAppliance Id = " + std::to_string(id), TranLine(tran), ProgNameDeletes, Fn, __LINE__);

    ret.errMsg = "";
    m_LogMsg << "\tYB Appliance with ID " << id << " was removed from DB...";
    WriteLogMsg(ProgNameDeletes, Fn, __LINE__, MSG);
    return true;
}

bool ReplicationMgr::QueryYBAppliance(const QueryYBApplianceArgs_t& args, QueryYBApplianceRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::QueryYBAppliance()";
    const int id = args.id;

    if (id < 1)
        return Fail(*this, ret, kErrInvalidId, "Invalid YB Appliance identifier",
                    "\n\tAppliance Id = " + std::to_string(id), ProgNameQueries, Fn, __LINE__);

    CYBApplianceDB db;
    YBDevice_t row;
    if (!db.getInfo(id, row, tran))
        return RowCallFailed(*this, ret, db.getErrorCode(), "Record not found",
                             "Cannot access YB Appliance Information from the database", "CYBApplianceDB::getInfo()",
                             "\n\tAppliance Id = " + std::to_string(id), "", ProgNameQueries, Fn, __LINE__);

    YBSet(ret.appliance, row);
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::GetYBApplianceList(GetYBApplianceListRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::GetYBApplianceList()";

    CYBApplianceDB db;
    if (!files_detail::ReadList(db, ret.appliances, tran))
        return Fail(*this, ret, kErrDatabase, "YB appliance list cannot be obtained from the database",
                    std::string("\n\tsWhere = ") + files_detail::ListWhere +
                        "\n\tsOrderBy = " + files_detail::ListOrderBy + TranLine(tran) +
                        "\n\tDB Err Code = " + std::to_string(db.getErrorCode()),
                    ProgNameQueries, Fn, __LINE__);

    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::CopyYBApplianceToMsg(const CopyYBApplianceToMsgArgs_t& args, CopyYBApplianceToMsgRet_t& ret)
{
    static const char Fn[] = "ReplicationMgr::CopyYBApplianceToMsg()";

    ret.appliances = nullptr;
    ret.count = 0;
    if (args.pApplianceList == nullptr)
        return Fail(*this, ret, kErrInternal, "Internal error detected processing YB appliance information",
                    "\n\tArgs.pApplianceList = NULL", ProgNameUtils, Fn, __LINE__);
    const std::vector<YBApplianceRecord_t>& list = *args.pApplianceList;
    if (list.empty()) {
        ret.errMsg = "";
        return true;
    }

    const size_t bytes = sizeof(repYBApplianceRec) * list.size();
    auto* array = static_cast<repYBApplianceRec*>(AllocReplyArray(bytes));
    if (array == nullptr)
        return Fail(*this, ret, kErrNoMemory, "No memory available for query information", "", ProgNameUtils, Fn,
                    __LINE__);
    std::memset(static_cast<void*>(array), 0, bytes);
    uint32_t count = static_cast<uint32_t>(list.size());
    for (uint32_t i = 0; i < count; ++i) {
        char* name = files_detail::CopyReplyText(list[i].name);
        if (name == nullptr) {
            FreeYBApplianceArray(array, count);
            return Fail(*this, ret, kErrNoMemory, "No memory available for query informaton", "", ProgNameUtils, Fn,
                        __LINE__);
        }
        array[i].id = static_cast<uint32_t>(list[i].id);
        array[i].name = name;
    }

    ret.appliances = array;
    ret.count = count;
    ret.errMsg = "";
    return true;
}

// ---- Inline request cases ---------------------------------------------------

namespace {

void ServeAddYBAppliance(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    AddYBApplianceArgs_t args;
    AddYBApplianceRet_t ret;
    args.name = YBTextFromWire(cases::RequestOf<repYBApplianceRec>(buf).name);
    AnswerInlineTranCase<repAddYBApplianceResp>(
        mgr, code, ret, cases::Order::B, cases::Message::Copy,
        [&](DBtran* tran) { return mgr.AddYBAppliance(args, ret, tran); },
        [&](repAddYBApplianceResp& r) { r.id = static_cast<uint32_t>(ret.id); });
}

void ServeDeleteYBAppliance(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    DeleteYBApplianceArgs_t args;
    DeleteYBApplianceRet_t ret;
    args.id = cases::RequestOf<repYBApplianceByIdReq>(buf).id;
    AnswerInlineTranCase<repDeleteYBApplianceResp>(
        mgr, code, ret, cases::Order::B, cases::Message::Copy,
        [&](DBtran* tran) { return mgr.DeleteYBAppliance(args, ret, tran); });
}

// The array goes out with a copy of each name; a failed copy sends a copy of
// its own text. Names and array are freed after the send.
void ServeGetYBApplianceList(ReplicationMgr& mgr, unsigned long code, zxsDatabuf*)
{
    repGetYBApplianceListResp reply;
    std::memset(static_cast<void*>(&reply), 0, sizeof reply);
    GetYBApplianceListRet_t ret;
    char copyFailure[128] = "";  // read when the copy fails, after it wrote it
    RunInlineCase(
        mgr, ReplyCodeFor(code), reply, cases::StatusOf<repGetYBApplianceListResp>(), ret,
        cases::HandlerLog(code, ReplyCodeFor(code)), cases::Message::Copy,
        [&]() { return mgr.GetYBApplianceList(ret, nullptr); },
        [&](repGetYBApplianceListResp& r) {
            CopyYBApplianceToMsgArgs_t copyArgs;
            copyArgs.pApplianceList = &ret.appliances;
            CopyYBApplianceToMsgRet_t copied;
            if (!mgr.CopyYBApplianceToMsg(copyArgs, copied)) {
                YBCopyText(copyFailure, copied.errMsg);
                return false;
            }
            r.appliances = copied.appliances;
            r.count = copied.count;
            return true;
        },
        copyFailure);
    FreeYBApplianceArray(reply.appliances, reply.count);
}

// The appliance goes out with a copy of its name, freed after the send.
void ServeQueryYBAppliance(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    repQueryYBApplianceResp reply;
    std::memset(static_cast<void*>(&reply), 0, sizeof reply);
    QueryYBApplianceArgs_t args;
    QueryYBApplianceRet_t ret;
    args.id = cases::RequestOf<repYBApplianceByIdReq>(buf).id;
    RunInlineCase(
        mgr, ReplyCodeFor(code), reply, cases::StatusOf<repQueryYBApplianceResp>(), ret,
        cases::HandlerLog(code, ReplyCodeFor(code)), cases::Message::Copy,
        [&]() { return mgr.QueryYBAppliance(args, ret, nullptr); },
        [&](repQueryYBApplianceResp& r) {
            char* name = files_detail::CopyReplyText(ret.appliance.name);
            if (name == nullptr) return false;
            r.appliance.id = static_cast<uint32_t>(ret.appliance.id);
            r.appliance.name = name;
            return true;
        },
        "No memory available to get YB appliance information");
    free(reply.appliance.name);
    reply.appliance.name = nullptr;
}

}  // namespace

const ServedCase AddYBApplianceCase = cases::Serve<repYBApplianceRec, repAddYBApplianceResp>(&ServeAddYBAppliance);
const ServedCase DeleteYBApplianceCase =
    cases::Serve<repYBApplianceByIdReq, repDeleteYBApplianceResp>(&ServeDeleteYBAppliance);
const ServedCase GetYBApplianceListCase =
    cases::Serve<cases::NoRequest, repGetYBApplianceListResp>(&ServeGetYBApplianceList);
const ServedCase QueryYBApplianceCase =
    cases::Serve<repYBApplianceByIdReq, repQueryYBApplianceResp>(&ServeQueryYBAppliance);
