// Global history names of the devices of protected volumes: add, update,
// delete and the queries by device and by SNR volume, with their inline
// request cases.
#include "snr/HistoryNames.h"

#include <cstring>
#include <sstream>

#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "host/db/SNRTables.h"
#include "rows/Db/Cursor/YBGetTzGlobalHistoryNameByVolumeId.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/ReplicationMgr.h"
#include "host/db/SqlText.h"
#include "service/Refusals.h"
#include "service/RecordConversion.h"
#include "service/SourceNames.h"
#include "snr/SNRCases.h"
#include "snr/SNRMessages.h"

namespace {

const char TooLongText[] = "Global History Name is too long";

// "GlobalHistoryName = '<name>'": the where of the lookup by name and the SET
// of an update.
std::string HistoryNameIs(const std::string& name)
{
    return "GlobalHistoryName = '" + SqlEscape(name) + "'";
}

}  // namespace

bool ReplicationMgr::AddTzGlobalHistoryName(const AddMorvaneVolHistoryNameArgs_t& args,
                                            AddMorvaneVolHistoryNameRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::AddTzGlobalHistoryName()";
    const int deviceId = args.record.DeviceId;
    const std::string& name = args.record.GlobalHistoryName;

    if (deviceId <= 0)
        return steps::Fail(*this, ret, kErrInvalidId,
                           "Morvane global history name cannot be added with an invalid device Id",
                           "\n\tDevice ID = " + std::to_string(deviceId), ProgNameInserts, Fn, __LINE__);
    if (name.empty())
        return steps::Fail(*this, ret, kErrMissingInput, "Morvane global history name is empty", "", ProgNameInserts,
                           Fn, __LINE__);
    // A longer name would be cut by the column and stored as another name.
    if (name.size() > kMaxGlobalHistoryNameLength)
        return steps::Fail(
            *this, ret, kErrTooLong, TooLongText,
            "\n\tDevice ID = " + std::to_string(deviceId) + "\n\tLength    = " + std::to_string(name.size()),
            ProgNameInserts, Fn, __LINE__);

    CYBTzHistoryNameDB db;
    YBTzHistoryName_t* rows = nullptr;
    unsigned int count = 0;
    const std::string where = HistoryNameIs(name);
    if (!db.getList(rows, count, where.c_str(), "DeviceId ASC", tran)) {
        db.deleteList(rows);
        return steps::Fail(
            *this, ret, kErrDatabase, "Cannot access Morvane global history name information",
            "\n\tsWhere = " + EvDebug::escaped(where) + "\n\tDB Err Code = " + std::to_string(db.getErrorCode()),
            ProgNameInserts, Fn, __LINE__);
    }
    const bool ownedByThisDevice = count == 1 && rows[0].DeviceId == deviceId;
    db.deleteList(rows);

    if (ownedByThisDevice) {
        m_LogMsg << "\tGlobal History Name " << EvDebug::escaped(name) << " used by Device ID = " << deviceId
                 << " was already int the the database";
        WriteLogMsg(ProgNameInserts, Fn, __LINE__, MSG);
        ret.errMsg = "";
        return true;
    }
    if (count > 0)
        return steps::Fail(*this, ret, kErrAlreadyExists, "Morvane global history name is already in the database", "",
                           ProgNameInserts, Fn, __LINE__);

    QueryMorvaneVolHistoryNameArgs_t queryArgs;
    queryArgs.DeviceId = deviceId;
    QueryMorvaneVolHistoryNameRet_t queryRet;
    bool updated = false;
    if (QueryTzGlobalHistoryName(queryArgs, queryRet, tran)) {
        const std::string set = HistoryNameIs(name);
        if (!db.Update(deviceId, set.c_str(), tran))
            return steps::Fail(*this, ret, kErrDatabase, "Cannot Update Morvane global history name information",
                               "\n\tCYBTzHistoryNameDB::Update() failed\n\tInput Used:\n\tDevice ID = " +
                                   std::to_string(deviceId) + "\n\tsUpdate   = " + EvDebug::escaped(set) +
                                   "\n\tDB Err Code = " + std::to_string(db.getErrorCode()),
                               ProgNameInserts, Fn, __LINE__);
        updated = true;
    } else if (queryRet.errCode == kErrNotFound) {
        YBTzHistoryName_t row;
        std::memset(static_cast<void*>(&row), 0, sizeof row);
        row.DeviceId = deviceId;
        YBCopyText(row.GlobalHistoryName, name);  // fits: length checked above
        row.Flags = 0;
        if (!db.insert(row, tran))
            return steps::Fail(*this, ret, kErrDatabase, "Global history name could not be added to the database",
                               "\n\tCYBTzHistoryNameDB::insert() failed\n\tInput: \n\tDevice Id           = " +
                                   std::to_string(deviceId) + "\n\tGlobal History Name = " + EvDebug::escaped(name) +
                                   "\n\tDB Err Code         = " + std::to_string(db.getErrorCode()),
                               ProgNameInserts, Fn, __LINE__);
    } else {
        // The query has written its own entry.
        ret.errCode = queryRet.errCode;
        ret.errMsg = queryRet.errMsg;
        return false;
    }

    m_LogMsg << "\tGlobal History Name " << EvDebug::escaped(name) << " used by Device ID = " << deviceId << " was "
             << (updated ? "updated" : "added") << " to the database";
    WriteLogMsg(ProgNameInserts, Fn, __LINE__, MSG);
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::UpdateTzGlobalHistoryName(const UpdateMorvaneVolHistoryNameArgs_t& args,
                                               UpdateMorvaneVolHistoryNameRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::UpdateTzGlobalHistoryName()";
    const int deviceId = args.record.DeviceId;
    const std::string& name = args.record.GlobalHistoryName;

    if (deviceId <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Global history name could not be updated with invalid device ID",
                           "", ProgNameUpdates, Fn, __LINE__);
    if (name.empty())
        return steps::Fail(*this, ret, kErrMissingInput, "Empty Global history name are not allowed", "",
                           ProgNameUpdates, Fn, __LINE__);
    // The column would give back a cut name.
    if (name.size() > kMaxGlobalHistoryNameLength)
        return steps::Fail(
            *this, ret, kErrTooLong, TooLongText,
            "\n\tDevice ID = " + std::to_string(deviceId) + "\n\tLength    = " + std::to_string(name.size()),
            ProgNameUpdates, Fn, __LINE__);

    CYBTzHistoryNameDB db;
    const std::string set = HistoryNameIs(name);
    if (!db.Update(deviceId, set.c_str(), tran))
        return steps::Fail(*this, ret, kErrDatabase, "Global history name could not be updated to the database",
                           "\n\tCYBTzHistoryNameDB::Update() failed\n\tInput: \n\tDevice Id           = " +
                               std::to_string(deviceId) + "\n\tGlobal History Name = " + EvDebug::escaped(name) +
                               "\n\tDB Err Code         = " + std::to_string(db.getErrorCode()),
                           ProgNameUpdates, Fn, __LINE__);

    m_LogMsg << "\tGlobal History Name " << EvDebug::escaped(name) << " used by Device ID = " << deviceId
             << " was updated to the database";
    WriteLogMsg(ProgNameUpdates, Fn, __LINE__, MSG);
    ret.errMsg = "";
    return true;
}

HistoryNameRemoval RemoveHistoryName(ReplicationMgr& mgr, int deviceId, DBtran* tran, std::string& errMsg,
                                     const char* function)
{
    CYBTzHistoryNameDB db;
    if (db.remove(deviceId, tran)) {
        mgr.log() << "\tGlobal History Name used by Device ID = " << deviceId << " was removed from the database";
        mgr.WriteLogMsg(ProgNameDeletes, function, __LINE__, ReplicationMgr::MSG);
        return HistoryNameRemoval::Removed;
    }
    if (db.getErrorCode() == DB_NO_MORE_ROWS) return HistoryNameRemoval::None;
    errMsg = "Global history name cannot be removed from the database";
    mgr.log() << "\tEvent: " << errMsg << "\n\tCYBTzHistoryNameDB::remove() failed\n\tInput: \n\tDevice Id           = "
              << deviceId << "\n\tDB Err Code         = " << db.getErrorCode();
    mgr.WriteLogMsg(ProgNameDeletes, function, __LINE__, ReplicationMgr::ERR);
    return HistoryNameRemoval::Failed;
}

bool ReplicationMgr::DeleteTzGlobalHistoryName(const DeleteMorvaneVolHistoryNameArgs_t& args,
                                               DeleteMorvaneVolHistoryNameRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::DeleteTzGlobalHistoryName()";
    const int deviceId = args.DeviceId;

    if (deviceId <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Global history name could not be deleted with invalid device ID",
                           "", ProgNameDeletes, Fn, __LINE__);

    std::string failure;
    switch (RemoveHistoryName(*this, deviceId, tran, failure, Fn)) {
    case HistoryNameRemoval::None:
        return steps::Fail(*this, ret, kErrNotFound, "Global History name not found", "", ProgNameDeletes, Fn,
                           __LINE__);
    case HistoryNameRemoval::Failed:
        return steps::PassOn(ret, failure, kErrDatabase);
    case HistoryNameRemoval::Removed:
        break;
    }
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::QueryTzGlobalHistoryName(const QueryMorvaneVolHistoryNameArgs_t& args,
                                              QueryMorvaneVolHistoryNameRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::QueryTzGlobalHistoryName()";
    const int deviceId = args.DeviceId;

    if (deviceId <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Global history name could not be queried with invalid device ID",
                           "", ProgNameQueries, Fn, __LINE__);

    CYBTzHistoryNameDB db;
    YBTzHistoryName_t row;
    std::memset(static_cast<void*>(&row), 0, sizeof row);
    if (!db.getInfo(deviceId, row, tran)) {
        if (db.getErrorCode() == DB_NO_MORE_ROWS)
            return steps::Fail(*this, ret, kErrNotFound, "Record not found", "", ProgNameQueries, Fn, __LINE__);
        return steps::Fail(
            *this, ret, kErrDatabase, "Cannot access Morvane Volume Global History Name from the database",
            "\n\tCYBTzHistoryNameDB::getInfo() failed\n\tParameters used:\n\tDevice Id = " + std::to_string(deviceId) +
                "\n\tDB Error code = " + std::to_string(db.getErrorCode()),
            ProgNameQueries, Fn, __LINE__);
    }
    ret.record.DeviceId = row.DeviceId;
    ret.record.GlobalHistoryName = YBColumnText(row.GlobalHistoryName);
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::QueryTzGlobalHistoryNameByVolId(const QueryTzGlobalHistoryNameByVolumeIdArgs_t& args,
                                                     QueryTzGlobalHistoryNameByVolumeIdRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::QueryTzGlobalHistoryNameByVolId()";
    const int volumeId = args.SNRVolumeId;

    if (volumeId <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Global history name could not be queried with invalid volume ID",
                           "", ProgNameQueries, Fn, __LINE__);

    YBGetTzGlobalHistoryNameByVolumeId cursor(tran);
    cursor.setValues(volumeId);
    int rc = getOneRow(&cursor, false, -1, 0);
    if (rc == DB_ROW_OK) {
        const YBGetTzGlobalHistoryNameByVolumeId_t* row = cursor.getDataPtr();
        ret.record.DeviceId = row->DeviceId;
        ret.record.GlobalHistoryName = YBColumnText(row->GlobalHistoryName);
        ret.errMsg = "";
        return true;
    }

    int code = kErrDatabase;
    const char* text = "DB failure detect trying to access Tz Global history name information";
    if (rc == DB_NO_MORE_ROWS) {
        code = kErrNotFound;
        text = "Volume does not have an Tz Global History Name";
    } else if (rc == DB_MORE_THAN_ONE_ROW) {
        code = kErrNotUnique;
        text = "Volume has more than one Tz Global History Name";
    }
    return steps::Fail(*this, ret, code, text,
                       "\n\tgetOneRow(YBGetTzGlobalHistoryNameByVolumeId) failed\n\tInput:\n\tSNR Volume ID = " +
                           std::to_string(volumeId) + "\n\tDB Err Code   = " + std::to_string(rc),
                       ProgNameQueries, Fn, __LINE__);
}

// ---- Inline request cases ---------------------------------------------------

namespace {

// The record of a query reply; the name points into the result, an empty
// name as an empty text.
void FillHistoryName(repYBTzHistoryNameRec& wire, const MorvaneHistoryNameRecord_t& record)
{
    wire.DeviceId = record.DeviceId;
    wire.GlobalHistoryName = const_cast<char*>(record.GlobalHistoryName.c_str());
}

void ServeAddTzGlobalHistoryName(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    AddMorvaneVolHistoryNameArgs_t args;
    AddMorvaneVolHistoryNameRet_t ret;
    YBSet(args.record, cases::RequestOf<repYBTzHistoryNameRec>(buf));
    AnswerInlineTranCase<repAddGlobalHistoryNameResp>(
        mgr, code, ret, cases::Order::B, cases::Message::PointIntoResult,
        [&](DBtran* tran) { return mgr.AddTzGlobalHistoryName(args, ret, tran); });
}

void ServeUpdateTzGlobalHistoryName(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    UpdateMorvaneVolHistoryNameArgs_t args;
    UpdateMorvaneVolHistoryNameRet_t ret;
    YBSet(args.record, cases::RequestOf<repYBTzHistoryNameRec>(buf));
    AnswerInlineTranCase<repUpdateTzGlobalHistoryNameResp>(
        mgr, code, ret, cases::Order::B, cases::Message::PointIntoResult,
        [&](DBtran* tran) { return mgr.UpdateTzGlobalHistoryName(args, ret, tran); });
}

void ServeDeleteTzGlobalHistoryName(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    DeleteMorvaneVolHistoryNameArgs_t args;
    DeleteMorvaneVolHistoryNameRet_t ret;
    args.DeviceId = cases::RequestOf<repTzGlobalHistoryNameByDeviceReq>(buf).DeviceId;
    AnswerInlineTranCase<repDeleteTzGlobalHistoryNameResp>(
        mgr, code, ret, cases::Order::B, cases::Message::PointIntoResult,
        [&](DBtran* tran) { return mgr.DeleteTzGlobalHistoryName(args, ret, tran); });
}

void ServeQueryTzGlobalHistoryName(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    QueryMorvaneVolHistoryNameArgs_t args;
    QueryMorvaneVolHistoryNameRet_t ret;
    args.DeviceId = cases::RequestOf<repTzGlobalHistoryNameByDeviceReq>(buf).DeviceId;
    AnswerInlineCase<repQueryTzGlobalHistoryNameResp>(
        mgr, code, ret, cases::Message::PointIntoResult,
        [&]() { return mgr.QueryTzGlobalHistoryName(args, ret, nullptr); },
        [&](repQueryTzGlobalHistoryNameResp& r) { FillHistoryName(r.HistoryName, ret.record); });
}

void ServeQueryTzGlobalHistoryNameByVolId(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    QueryTzGlobalHistoryNameByVolumeIdArgs_t args;
    QueryTzGlobalHistoryNameByVolumeIdRet_t ret;
    args.SNRVolumeId = cases::RequestOf<repTzGlobalHistoryNameByVolIdReq>(buf).SNRVolumeId;
    AnswerInlineCase<repQueryTzGlobalHistoryNameByVolIdResp>(
        mgr, code, ret, cases::Message::PointIntoResult,
        [&]() { return mgr.QueryTzGlobalHistoryNameByVolId(args, ret, nullptr); },
        [&](repQueryTzGlobalHistoryNameByVolIdResp& r) { FillHistoryName(r.HistoryName, ret.record); });
}

}  // namespace

const ServedCase AddTzGlobalHistoryNameCase =
    cases::Serve<repYBTzHistoryNameRec, repAddGlobalHistoryNameResp>(&ServeAddTzGlobalHistoryName);
const ServedCase UpdateTzGlobalHistoryNameCase =
    cases::Serve<repYBTzHistoryNameRec, repUpdateTzGlobalHistoryNameResp>(&ServeUpdateTzGlobalHistoryName);
const ServedCase DeleteTzGlobalHistoryNameCase =
    cases::Serve<repTzGlobalHistoryNameByDeviceReq, repDeleteTzGlobalHistoryNameResp>(&ServeDeleteTzGlobalHistoryName);
const ServedCase QueryTzGlobalHistoryNameCase =
    cases::Serve<repTzGlobalHistoryNameByDeviceReq, repQueryTzGlobalHistoryNameResp>(&ServeQueryTzGlobalHistoryName);
const ServedCase QueryTzGlobalHistoryNameByVolIdCase =
    cases::Serve<repTzGlobalHistoryNameByVolIdReq, repQueryTzGlobalHistoryNameByVolIdResp>(
        &ServeQueryTzGlobalHistoryNameByVolId);
