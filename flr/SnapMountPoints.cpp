// Mount points of FLR snapshots and network shares of those mount points: add
// and delete, each with its inline request case in a transaction of its own.
// A snapshot has at most one mount point and a mount point at most one
// share; a mount point with a share is not deleted.
#include <cstring>
#include <string>

#include "flr/FLRCases.h"
#include "flr/FLRMessages.h"
#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "host/db/FLRTables.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/RecordConversion.h"
#include "service/Refusals.h"
#include "service/SourceNames.h"
#include "service/TranHandle.h"

using steps::Fail;

namespace {

std::string Num(long long value) { return std::to_string(value); }

// The texts of one kind of attachment: a mount point of a snapshot, or a
// share of a mount point.
struct Attachment {
    const char* function;
    const char* keyColumn;
    const char* invalidKeyEntry;
    const char* invalidKeyText;
    const char* emptyText;
    const char* keyLabel;
    const char* tooBigText;
    const char* textLabel;
    const char* duplicateText;
    const char* countFailedText;
    const char* countFailedLine;
    const char* insertFailedText;
    const char* insertFailedLine;
    const char* addedEntry;
};

const Attachment MountPointOfSnapshot = {
    "ReplicationMgr::AddFLRSnapMountPoint()",
    "SnapshotId",
    "\tEvent: Snapshot id is invalid [Snapshot Id < 1]",
    "The FLR snapshot cannot be mounted with an invalid snapshot id",
    "Mount point cannot be empty",
    "\n\tSnapshot id = ",
    "Mount point name is too big",
    "\n\tMount Point = ",
    "The FLR Snapshot mount point is already in the database",
    "Cannot include new FLR Snapshot mount point. DB Error while checking duplicates",
    "\n\tFLRSnapMountPointDB.getNRows() failed",
    "Cannot include new FLR snapshot mount point record into the database",
    "\n\tFLRSnapMountPointDB::insert() failed",
    "\tFLR Snapshot mount point [",
};

const Attachment ShareOfMountPoint = {
    "ReplicationMgr::AddFLRSnapNetworkShare()",
    "MountPointId",
    "\tEvent: Mount point id is invalid [Mount Point Id < 1]",
    "The FLR snapshot cannot be shared with an invalid mount point id",
    "Share name cannot be empty",
    "\n\tMount Point id = ",
    "Share name is too big",
    "\n\tShare Name = ",
    "The FLR Snapshot has network share already",
    "Cannot verify in the DB if mount path has network share",
    "\n\tFLRSnapNetworkShareDB::getNRows() failed",
    "Cannot include new FLR snapshot network share record into the database",
    "\n\tFLRSnapNetworkShareDB::insert() failed",
    "\tFLR Snapshot network share [",
};

// Stores the text as the one attachment of the key (its KeyField), in the
// row's TextColumn; the new id goes into newId.
template <typename Table, typename Row, size_t N, typename Ret>
bool Attach(ReplicationMgr& mgr, const Attachment& a, int32_t key, const std::string& text, int32_t Row::*keyField,
            char (Row::*textColumn)[N], Ret& ret, int32_t& newId, DBtran* tran)
{
    if (key < 1)
        return steps::Refuse(mgr, ret, kErrInvalidId, a.invalidKeyText, a.invalidKeyEntry, ProgNameInserts, a.function,
                             __LINE__);
    const std::string keyLine = a.keyLabel + Num(key);
    if (text.empty())
        return Fail(mgr, ret, kErrMissingInput, a.emptyText, keyLine, ProgNameInserts, a.function, __LINE__);
    if (text.size() > kMaxFLRPathLength)
        return Fail(mgr, ret, kErrTooLong, a.tooBigText, keyLine + a.textLabel + EvDebug::escaped(text),
                    ProgNameInserts, a.function, __LINE__);

    Table db;
    const std::string where = std::string(a.keyColumn) + " = " + Num(key);
    unsigned int count = 0;
    if (!db.getNRows(where.c_str(), count, tran)) {
        // No row to count is no attachment.
        if (db.getErrorCode() != DB_NO_MORE_ROWS)
            return Fail(mgr, ret, kErrDatabase, a.countFailedText,
                        a.countFailedLine + std::string("\n\tArguments:\n\tsWhere: ") + where + "\n\tTran = 0x" +
                            steps::TranHandle(tran) + "\n\tDB Err Code = " + Num(db.getErrorCode()),
                        ProgNameInserts, a.function, __LINE__);
        count = 0;
    }
    if (count != 0)
        return Fail(mgr, ret, kErrNotUnique, a.duplicateText, "\n\tsWhere = " + where + "\n\tNRows = " + Num(count),
                    ProgNameInserts, a.function, __LINE__);

    Row row;
    row.*keyField = key;
    YBCopyText(row.*textColumn, text);  // fits: length checked above
    if (!db.insert(row, tran))
        return Fail(mgr, ret, kErrDatabase, a.insertFailedText,
                    a.insertFailedLine + std::string("\n\tDB Err Code = ") + Num(db.getErrorCode()), ProgNameInserts,
                    a.function, __LINE__);

    newId = row.id;
    ret.errMsg = "";
    mgr.log() << a.addedEntry << key << " - " << EvDebug::escaped(text) << "] was added, using ID " << row.id;
    mgr.WriteLogMsg(ProgNameInserts, a.function, __LINE__, ReplicationMgr::MSG);
    return true;
}

// The texts of the removal of one row by its id.
struct Removal {
    const char* function;
    const char* notFoundText;
    const char* failedText;
    const char* failedLine;
    const char* idLabel;
    const char* removedEntry;
};

// Removes the row of the id: -3 when there is none, -4 when the database
// fails.
template <typename Table, typename Ret>
bool RemoveById(ReplicationMgr& mgr, const Removal& r, int32_t id, Ret& ret, DBtran* tran)
{
    Table db;
    if (!db.remove(id, tran)) {
        const int code = db.getErrorCode();
        const bool missing = code == DB_NO_MORE_ROWS;
        return Fail(mgr, ret, missing ? kErrNotFound : kErrDatabase, missing ? r.notFoundText : r.failedText,
                    r.failedLine + std::string("\n\tParameters used:") + r.idLabel + Num(id) + "\n\tTran = 0x" +
                        steps::TranHandle(tran) + "\n\tDB Err Code = " + Num(code),
                    ProgNameDeletes, r.function, __LINE__);
    }
    ret.errMsg = "";
    mgr.log() << r.removedEntry << id << " was removed...";
    mgr.WriteLogMsg(ProgNameDeletes, r.function, __LINE__, ReplicationMgr::MSG);
    return true;
}

const Removal MountPointRemoval = {
    "ReplicationMgr::DeleteFLRSnapMountPoint()",
    "FLR Snaphshot mount point not found",
    "Cannot remove the FLR Snapshot mount point from the database",
    "\n\tFLRSnapMountPointDB::remove() failed",
    "\n\tMount Point ID = ",
    "\tFLR Snapshot Mount Point Id ",
};

const Removal ShareRemoval = {
    "ReplicationMgr::DeleteFLRSnapNetworkShare()",
    "FLR Snaphshot network share not found",
    "Cannot remove the FLR Snapshot network share from the database",
    "\n\tFLRSnapNetworkShareDB::remove() failed",
    "\n\tShare ID = ",
    "\tFLR Snapshot Share Id ",
};

}  // namespace

bool ReplicationMgr::AddFLRSnapMountPoint(const AddFLRSnapMountPointArgs_t& args, AddFLRSnapMountPointRet_t& ret,
                                          DBtran* tran)
{
    return Attach<FLRSnapMountPointDB>(*this, MountPointOfSnapshot, args.MountPoint.SnapshotId,
                                       args.MountPoint.MountPath, &YBFLRSnapMountPoint_t::SnapshotId,
                                       &YBFLRSnapMountPoint_t::MountPath, ret, ret.MountPointId, tran);
}

bool ReplicationMgr::AddFLRSnapNetworkShare(const AddFLRSnapNetworkShareArgs_t& args,
                                            AddFLRSnapNetworkShareRet_t& ret, DBtran* tran)
{
    return Attach<FLRSnapNetworkShareDB>(*this, ShareOfMountPoint, args.Share.MountPointId, args.Share.NetShareName,
                                         &YBFLRSnapNetworkShare_t::MountPointId,
                                         &YBFLRSnapNetworkShare_t::NetShareName, ret, ret.ShareId, tran);
}

bool ReplicationMgr::DeleteFLRSnapMountPoint(const DeleteFLRSnapMountPointArgs_t& args,
                                             DeleteFLRSnapMountPointRet_t& ret, DBtran* tran)
{
    const char* Fn = MountPointRemoval.function;
    const int32_t id = args.MountPointId;
    if (id < 1)
        return Fail(*this, ret, kErrInvalidId,
                    "Cannot remove FLR snapshot mount point from the database with invalid values",
                    "\n\tParameters used:\n\tFLR Snapshot Mount point ID = " + Num(id), ProgNameDeletes, Fn, __LINE__);

    // A mount point with a share stays; a count that cannot be read is a
    // failure, whatever its code.
    FLRSnapNetworkShareDB shareDB;
    const std::string where = "MountPointId = " + Num(id);
    unsigned int count = 0;
    if (!shareDB.getNRows(where.c_str(), count, tran)) {
        const std::string text = "DB error when checking if mount point has a share";
        return steps::Refuse(
            *this, ret, kErrDatabase, text,
            "\tEVent:" + text + "\n\tsWhere = " + where + "\n\tDB err code = " + Num(shareDB.getErrorCode()),
            ProgNameDeletes, Fn, __LINE__);
    }
    if (count != 0) {
        const std::string text = "Mount point has a share associated with it. Please delete the share first";
        return steps::Refuse(*this, ret, kErrInUse, text,
                             "\n\tEvent: " + text + "\n\tsWhere = " + where + "\n\tNRows = " + Num(count),
                             ProgNameDeletes, Fn, __LINE__);
    }
    return RemoveById<FLRSnapMountPointDB>(*this, MountPointRemoval, id, ret, tran);
}

bool ReplicationMgr::DeleteFLRSnapNetworkShare(const DeleteFLRSnapNetworkShareArgs_t& args,
                                               DeleteFLRSnapNetworkShareRet_t& ret, DBtran* tran)
{
    const int32_t id = args.ShareId;
    if (id < 1)
        return Fail(*this, ret, kErrInvalidId,
                    "Cannot remove FLR snapshot network share from the database with invalid values",
                    "\n\tParameters used:\n\tFLR Snapshot Network Share ID = " + Num(id), ProgNameDeletes,
                    ShareRemoval.function, __LINE__);
    return RemoveById<FLRSnapNetworkShareDB>(*this, ShareRemoval, id, ret, tran);
}

// ---- Inline request cases ----------------------------------------------------------

namespace {


void ServeAddFLRSnapMountPoint(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    const auto& request = cases::RequestOf<repAddFLRSnapMountPointReq>(buf);
    AddFLRSnapMountPointArgs_t args;
    AddFLRSnapMountPointRet_t ret;
    args.MountPoint.SnapshotId = static_cast<int32_t>(request.SnapshotId);
    args.MountPoint.MountPath = YBTextFromWire(request.MountPath);
    AnswerOperationInTran<repAddFLRSnaphsotMountPointResp>(
        mgr, code, args, ret, &ReplicationMgr::AddFLRSnapMountPoint,
        [&](repAddFLRSnaphsotMountPointResp& r) { r.MountPointId = static_cast<uint32_t>(ret.MountPointId); });
}

void ServeDeleteFLRSnapMountPoint(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    DeleteFLRSnapMountPointArgs_t args;
    DeleteFLRSnapMountPointRet_t ret;
    args.MountPointId = static_cast<int32_t>(cases::RequestOf<repDeleteFLRSnapMountPointReq>(buf).MountPointId);
    AnswerOperationInTran<repDeleteFLRSnapshotMountPointResp>(mgr, code, args, ret,
                                                              &ReplicationMgr::DeleteFLRSnapMountPoint);
}

void ServeAddFLRSnapNetworkShare(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    const auto& request = cases::RequestOf<repAddFLRSnapNetworkShareReq>(buf);
    AddFLRSnapNetworkShareArgs_t args;
    AddFLRSnapNetworkShareRet_t ret;
    args.Share.MountPointId = static_cast<int32_t>(request.MountPointId);
    args.Share.NetShareName = YBTextFromWire(request.NetShareName);
    AnswerOperationInTran<repAddFLRSnapNetworkShareResp>(
        mgr, code, args, ret, &ReplicationMgr::AddFLRSnapNetworkShare,
        [&](repAddFLRSnapNetworkShareResp& r) { r.ShareId = static_cast<uint32_t>(ret.ShareId); });
}

void ServeDeleteFLRSnapNetworkShare(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    DeleteFLRSnapNetworkShareArgs_t args;
    DeleteFLRSnapNetworkShareRet_t ret;
    args.ShareId = static_cast<int32_t>(cases::RequestOf<repDeleteFLRSnapNetworkShareReq>(buf).ShareId);
    AnswerOperationInTran<repDelFLRSnapNetworkShareResp>(mgr, code, args, ret,
                                                         &ReplicationMgr::DeleteFLRSnapNetworkShare);
}

}  // namespace

const ServedCase AddFLRSnapMountPointCase =
    cases::Serve<repAddFLRSnapMountPointReq, repAddFLRSnaphsotMountPointResp>(&ServeAddFLRSnapMountPoint);
const ServedCase DeleteFLRSnapMountPointCase =
    cases::Serve<repDeleteFLRSnapMountPointReq, repDeleteFLRSnapshotMountPointResp>(&ServeDeleteFLRSnapMountPoint);
const ServedCase AddFLRSnapNetworkShareCase =
    cases::Serve<repAddFLRSnapNetworkShareReq, repAddFLRSnapNetworkShareResp>(&ServeAddFLRSnapNetworkShare);
const ServedCase DeleteFLRSnapNetworkShareCase =
    cases::Serve<repDeleteFLRSnapNetworkShareReq, repDelFLRSnapNetworkShareResp>(&ServeDeleteFLRSnapNetworkShare);
