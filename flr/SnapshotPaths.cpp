// The paths of FLR snapshots named in a list, set by snapshot name, with the
// request handler that serves the list.
#include <cstring>
#include <string>

#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "host/db/FLRTables.h"
#include "host/db/SqlText.h"
#include "flr/FLRCases.h"
#include "flr/FLRMessages.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"

namespace {

// Records the failure unless an earlier one is recorded: the answer names
// the first.
template <typename Ret>
void KeepFirstFailure(Ret& ret, bool& failed, int code, const std::string& text)
{
    if (failed) return;
    failed = true;
    ret.errCode = code;
    ret.errMsg = text;
}

}  // namespace

template <typename Args, typename Ret>
bool ReplicationMgr::UpdateFLRSnapshotsDB(const Args& args, Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::UpdateFLRSnapshots";
    if (args.Snapshots.empty())
        return steps::Refuse(*this, ret, kErrMissingInput, "Update has no snapshots",
                             "\tEvent: No snapshot were specified", ProgNameUpdates, Fn, __LINE__);

    // Each path is written on its own: a refused name stops the list, a
    // failed write does not; the answer is the first failure.
    bool failed = false;
    FLRSnapshotDB db;
    for (const FLRSnapshotRecord_t& snap : args.Snapshots) {
        const std::string name = EvDebug::escaped(snap.Name);
        if (snap.Name.empty()) {
            KeepFirstFailure(ret, failed, kErrMissingInput, "Snap name is empty");
            m_LogMsg << "\tEvent: snap name cannot be empty";
            WriteLogMsg(ProgNameUpdates, Fn, __LINE__, ERR);
            return false;
        }
        if (snap.Name.size() > kMaxFLRSnapNameLength) {
            const std::string text = "Snap name cannot exceed " + std::to_string(kMaxFLRSnapNameLength) + " characters";
            KeepFirstFailure(ret, failed, kErrTooLong, text);
            m_LogMsg << "\tEvent: " << text << "\n\tSnap name is too long\n\tName =  " << name
                     << "\n\tSize = " << snap.Name.size();
            WriteLogMsg(ProgNameUpdates, Fn, __LINE__, ERR);
            return false;
        }
        // The column would give back a cut path.
        if (snap.SnapshotPath.size() > kMaxFLRPathLength) {
            const std::string text = "Snapshot path cannot exceed " + std::to_string(kMaxFLRPathLength) + " characters";
            KeepFirstFailure(ret, failed, kErrTooLong, text);
            m_LogMsg << "\tEvent: " << text << "\n\tName = " << name << "\n\tSize = " << snap.SnapshotPath.size();
            WriteLogMsg(ProgNameUpdates, Fn, __LINE__, ERR);
            return false;
        }

        const std::string where = "Name = '" + SqlEscape(snap.Name) + "'";
        const std::string set = "SnapshotPath = '" + SqlEscape(snap.SnapshotPath) + "'";
        if (!db.Update(where.c_str(), set.c_str(), tran)) {
            const std::string text = "Cannot update FLR snapshot record in database";
            KeepFirstFailure(ret, failed, kErrDatabase, text);
            m_LogMsg << "\tEvent: " << text << "\n\tFLRSnapshotDB::update() failed\n\tName = " << name
                     << "\n\tDB Err Code = " << db.getErrorCode();
            WriteLogMsg(ProgNameUpdates, Fn, __LINE__, INFO);
            continue;
        }
        m_LogMsg << "\tSnapshot " << snap.id << " was updated\n\tName = " << name
                 << ", SnapshotPath = " << EvDebug::escaped(snap.SnapshotPath);
        WriteLogMsg(ProgNameUpdates, Fn, __LINE__, MSG);
    }
    if (failed) return false;
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::UpdateFLRSnapshots(const UpdateFLRSnapshotArgs_t& args, UpdateFLRSnapshotRet_t& ret, DBtran* tran)
{
    return UpdateFLRSnapshotsDB<UpdateFLRSnapshotArgs_t, UpdateFLRSnapshotRet_t>(args, ret, tran);
}

// ---- Request handler ----------------------------------------------------------

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::UpdateFLRSnapshotHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    const Req& request = cases::RequestOf<Req>(buf);
    Args args;
    Ret ret;
    // An array that is not there holds nothing, whatever its count.
    for (uint32_t i = 0; request.Snaps != nullptr && i < request.count; ++i) YBSet(args.Snapshots, request.Snaps[i]);

    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::UpdateFLRSnapshotHandler", requestCode, replyCode, false, ret,
        [&](DBtran*) { return UpdateFLRSnapshots(args, ret, nullptr); });
}

const ServedCase UpdateFLRSnapshotCase = cases::Serve<repUpdateFLRSnapshotReq, repUpdateFLRSnapshotResp>(
    &cases::HandlerCase<&ReplicationMgr::UpdateFLRSnapshotHandler<repUpdateFLRSnapshotReq, repUpdateFLRSnapshotResp,
                                                                  UpdateFLRSnapshotArgs_t, UpdateFLRSnapshotRet_t>>);
