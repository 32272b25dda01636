// Browse views by client and by replication policy: five cursor reads over
// the view's browse table, which the first read fills, under the table lock
// of the view; the request handlers send what they found as one reply.
#include "files/BrowseViews.h"

#include <cstring>
#include <string>
#include <type_traits>

#include "files/AppViewCases.h"
#include "files/AppViewSteps.h"
#include "host/ZXClient.h"
#include "host/db/DBtable.h"
#include "host/db/ReplicaTables.h"
#include "host/db/SNRTables.h"
#include "rows/Db/Cursor/YBBrowseByClient1.h"
#include "rows/Db/Cursor/YBBrowseByClient2.h"
#include "rows/Db/Cursor/YBBrowseByClient3.h"
#include "rows/Db/Cursor/YBBrowseByClient4.h"
#include "rows/Db/Cursor/YBBrowseByClient5.h"
#include "rows/Db/Cursor/YBBrowseByPolicy1.h"
#include "rows/Db/Cursor/YBBrowseByPolicy2.h"
#include "rows/Db/Cursor/YBBrowseByPolicy3.h"
#include "rows/Db/Cursor/YBBrowseByPolicy4.h"
#include "rows/Db/Cursor/YBBrowseByPolicy5.h"
#include "rows/Db/Cursor/YBNASBrowseByClient1.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/ReplyArray.h"
#include "service/SourceNames.h"
#include "service/TableLock.h"
#include "service/Utils.h"
#include "service/TransactionBeforeLock.h"
#include "service/RecordConversion.h"

using steps::Fail;

namespace {

// The operating system id of a NAS client, whose devices are named after it.
const int NasOperatingSystemId = 16;

// A row of a later browse step read as the table row whose layout it has
// (the browse row families pin the tie column by column).
template <typename TableRow, typename BrowseRow>
TableRow AsTableRow(const BrowseRow& row)
{
    static_assert(sizeof(TableRow) == sizeof(BrowseRow), "a browse row has the size of its table row");
    static_assert(std::is_trivially_copyable<TableRow>::value && std::is_trivially_copyable<BrowseRow>::value,
                  "rows are plain data");
    TableRow table;
    std::memcpy(static_cast<void*>(&table), static_cast<const void*>(&row), sizeof table);
    return table;
}

// Step 1: every row of the filled browse table, as a YB volume and its
// application name. The fetch code that ended it.
template <typename Cursor, typename Ret>
int ReadVolumes(Cursor& cursor, Ret& ret)
{
    int state = 0;
    int rc;
    while ((rc = getNextRow(&cursor, &state, -1, 0)) == DB_ROW_OK) {
        const auto& row = *cursor.getDataPtr();
        YBSet(ret.YBVolumes, row);
        ret.Apps.emplace_back(row.id, YBColumnText(row.AppName));
    }
    return rc;
}

// The next step after `step`: every row of its cursor, read as a TableRow and
// appended to the list; `step` is then its number. False, with the fetch code
// that ended it in rc, when that was not the end of the rows.
template <typename Cursor, typename TableRow, typename List>
bool ReadStep(List& list, int& step, int& rc, DBtran* tran)
{
    ++step;
    Cursor cursor(tran);
    cursor.setValues();
    int state = 0;
    while ((rc = getNextRow(&cursor, &state, -1, 0)) == DB_ROW_OK)
        YBSet(list, AsTableRow<TableRow>(*cursor.getDataPtr()));
    return rc == DB_NO_MORE_ROWS;
}

// The cursors of steps 2 to 5 of a view.
template <typename SNRVolumes, typename Devices, typename ScratchVolumes, typename MountPoints>
struct LaterSteps {
    using Step2 = SNRVolumes;
    using Step3 = Devices;
    using Step4 = ScratchVolumes;
    using Step5 = MountPoints;
};
using ClientSteps = LaterSteps<YBBrowseByClient2, YBBrowseByClient3, YBBrowseByClient4, YBBrowseByClient5>;
using PolicySteps = LaterSteps<YBBrowseByPolicy2, YBBrowseByPolicy3, YBBrowseByPolicy4, YBBrowseByPolicy5>;

// One browse as its entries name it: the function, the id and its label.
struct Browse {
    const char* function;
    const char* idLabel;  // "\n\tClient Id = " or "\n\tPolicy Id = "
    int id;
};

template <typename Ret>
void ClearLists(Ret& ret)
{
    ret.SNRVolumes.clear();
    ret.Devices.clear();
    ret.MountPoints.clear();
    ret.ScratchVolumes.clear();
    ret.YBVolumes.clear();
    ret.Apps.clear();
}

// What a step that failed answers, by step.
const char* const StepFailedText[] = {
    "",
    "Could not get YB Volume information from the database",
    "Could not get YBPhysical Volume information from the database",
    "Could not get YB Physical Device information from the database",
    "Could not get scratch volume information from the database",
    "Could not get mount point information from the database",
};

// A failed step: nothing found is kept; -4 with the step's text.
template <typename Ret>
bool StepFailed(ReplicationMgr& mgr, Ret& ret, int step, int rc, const Browse& browse, long line)
{
    ClearLists(ret);
    return Fail(mgr, ret, kErrDatabase, StepFailedText[step],
                "\n\tgetNextRow(BrowseByClient" + std::to_string(step) + " &) failed" + browse.idLabel +
                    std::to_string(browse.id) + "\n\tDB Err Code = " + std::to_string(rc),
                ProgNameQueries, browse.function, line);
}

// Steps 1 to 5 of a browse, the first with its cursor set; the view's lock is
// held. After step 5 the browse table is gone; a browse that ends before
// leaves it to the next first step, which drops it.
template <typename Steps, typename First, typename Ret>
bool ReadBrowse(ReplicationMgr& mgr, First& first, Ret& ret, const Browse& browse, DBtran* tran)
{
    int rc = ReadVolumes(first, ret);
    if (rc != DB_NO_MORE_ROWS) return StepFailed(mgr, ret, 1, rc, browse, __LINE__);
    if (ret.YBVolumes.empty()) {
        mgr.log() << "\tEvent: No YB Volumes found for the browse operation";
        mgr.WriteLogMsg(ProgNameQueries, browse.function, __LINE__, ReplicationMgr::INFO);
        ret.errMsg = "";
        return true;
    }

    int step = 1;
    const bool read = ReadStep<typename Steps::Step2, YBPhysicalVolume_t>(ret.SNRVolumes, step, rc, tran) &&
                      ReadStep<typename Steps::Step3, YBPhysicalDevice_t>(ret.Devices, step, rc, tran) &&
                      ReadStep<typename Steps::Step4, YBScratchVolume_t>(ret.ScratchVolumes, step, rc, tran) &&
                      ReadStep<typename Steps::Step5, YBMountPoint_t>(ret.MountPoints, step, rc, tran);
    if (!read) return StepFailed(mgr, ret, step, rc, browse, __LINE__);

    ret.errMsg = "";
    return true;
}

// Takes the view's table lock: false, with the lock's text and code in the
// result, when it is not granted.
template <typename Ret>
bool LockView(ReplicationMgr& mgr, int lockId, LockTableRet_t& lock, Ret& ret)
{
    if (mgr.LockTable(LockTableArgs_t(lockId), lock)) return true;
    ClearLists(ret);
    ret.errMsg = lock.m_sErrorMsg;
    ret.errCode = lock.m_nErrorCode;
    return false;
}

}  // namespace

template <typename Args, typename Ret>
bool ReplicationMgr::BrowseByClientIdDB(const Args& args, Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::BrowseByClientIdDB()";
    const int clientId = args.ClientId;
    ZXClient client(static_cast<unsigned long long>(static_cast<long long>(clientId)));

    // The browse writes its browse table under the view's lock.
    if (tran == nullptr)
        return RunWithTransactionBeforeLock(ret, [&](DBtran* own) { return BrowseByClientIdDB(args, ret, own); });
    LockTableRet_t lock;
    if (!LockView(*this, TMPYBBROWSECLIENT_LOCK, lock, ret)) return false;
    HeldTableLock held(*this, lock);

    if (clientId < 1)
        return Fail(*this, ret, kErrInvalidId, "Invalid client id", "\n\tClient Id = " + std::to_string(clientId),
                    ProgNameQueries, Fn, __LINE__);

    // A client whose system cannot be read is browsed as any other.
    int osId = 0;
    client.getOperatingSystemId(osId, nullptr);
    const Browse browse{Fn, "\n\tClient Id = ", clientId};
    if (osId == NasOperatingSystemId) {
        YBNASBrowseByClient1 first(tran);
        first.setValues(clientId);
        return ReadBrowse<ClientSteps>(*this, first, ret, browse, tran);
    }
    YBBrowseByClient1 first(tran);
    first.setValues(clientId);
    return ReadBrowse<ClientSteps>(*this, first, ret, browse, tran);
}

template <typename Args, typename Ret>
bool ReplicationMgr::BrowseByPolicyIdDB(const Args& args, Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::BrowseByPolicyIdDB()";
    const int policyId = args.PolicyId;

    if (tran == nullptr)
        return RunWithTransactionBeforeLock(ret, [&](DBtran* own) { return BrowseByPolicyIdDB(args, ret, own); });
    LockTableRet_t lock;
    if (!LockView(*this, TMPYBBROWSEPOLICY_LOCK, lock, ret)) return false;
    HeldTableLock held(*this, lock);

    if (policyId < 1)
        return Fail(*this, ret, kErrInvalidId, "Invalid Policy id", "\n\tPolicy Id = " + std::to_string(policyId),
                    ProgNameQueries, Fn, __LINE__);

    YBBrowseByPolicy1 first(tran);
    first.setValues(policyId);
    return ReadBrowse<PolicySteps>(*this, first, ret, Browse{Fn, "\n\tPolicy Id = ", policyId}, tran);
}

bool ReplicationMgr::BrowseByClientId(const BrowseByClientIdArgs_t& args, BrowseByClientIdRet_t& ret, DBtran* tran)
{
    return BrowseByClientIdDB(args, ret, tran);
}
bool ReplicationMgr::BrowseByClientId(const BrowseByClientIdV2Args_t& args, BrowseByClientIdV2Ret_t& ret,
                                      DBtran* tran)
{
    return BrowseByClientIdDB(args, ret, tran);
}
bool ReplicationMgr::BrowseByPolicyId(const BrowseByPolicyIdArgs_t& args, BrowseByPolicyIdRet_t& ret, DBtran* tran)
{
    return BrowseByPolicyIdDB(args, ret, tran);
}
bool ReplicationMgr::BrowseByPolicyId(const BrowseByPolicyIdV2Args_t& args, BrowseByPolicyIdV2Ret_t& ret,
                                      DBtran* tran)
{
    return BrowseByPolicyIdDB(args, ret, tran);
}

// ---- Request handlers ----------------------------------------------------------

namespace {

// The handler of both views: the browse outside any transaction, then the
// six arrays in the order SNR volumes, devices, mount points, scratch
// volumes, YB volumes, application names, each held until the send. An
// array that cannot be allocated fails the reply with -5.
template <typename Reply, typename Ret, typename Operation>
void RunBrowseHandler(ReplicationMgr& mgr, const char* function, unsigned long requestCode, unsigned long replyCode,
                      const Ret& ret, Operation&& operation)
{
    using steps::CopyListToReply;
    AutoFreeMem_t arrays[6];
    AnswerByHandler<Reply>(mgr, function, requestCode, replyCode, false, ret, operation, [&](Reply& r) {
        return CopyListToReply(arrays[0], r.SNRVolumes, r.SNRVolumeCount, ret.SNRVolumes) &&
               CopyListToReply(arrays[1], r.Devices, r.DeviceCount, ret.Devices) &&
               CopyListToReply(arrays[2], r.MountPoints, r.MountPointCount, ret.MountPoints) &&
               CopyListToReply(arrays[3], r.ScratchVolumes, r.ScratchVolumeCount, ret.ScratchVolumes) &&
               CopyListToReply(arrays[4], r.YBVolumes, r.YBVolumeCount, ret.YBVolumes) &&
               CopyListToReply(arrays[5], r.Apps, r.AppCount, ret.Apps);
    });
}

}  // namespace

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::BrowseByClientHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    args.ClientId = cases::RequestOf<Req>(buf).ClientId;
    RunBrowseHandler<Reply>(*this, "ReplicationMgr::BrowseByClientHandler()", requestCode, replyCode, ret,
                            [&](DBtran* tran) { return BrowseByClientId(args, ret, tran); });
}

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::BrowseByPolicyHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    args.PolicyId = cases::RequestOf<Req>(buf).PolicyId;
    RunBrowseHandler<Reply>(*this, "ReplicationMgr::BrowseByPolicyHandler()", requestCode, replyCode, ret,
                            [&](DBtran* tran) { return BrowseByPolicyId(args, ret, tran); });
}

// ---- Request cases, one per view and message version ------------------------

const ServedCase BrowseByClientCaseV1 = cases::Serve<repBrowseByClientIdReq, repBrowseByClientIdResp>(
    &cases::HandlerCase<&ReplicationMgr::BrowseByClientHandler<repBrowseByClientIdReq, repBrowseByClientIdResp,
                                                               BrowseByClientIdArgs_t, BrowseByClientIdRet_t>>);
const ServedCase BrowseByClientCaseV2 = cases::Serve<repBrowseByClientIdV2Req, repBrowseByClientIdV2Resp>(
    &cases::HandlerCase<&ReplicationMgr::BrowseByClientHandler<repBrowseByClientIdV2Req, repBrowseByClientIdV2Resp,
                                                               BrowseByClientIdV2Args_t, BrowseByClientIdV2Ret_t>>);
const ServedCase BrowseByPolicyCaseV1 = cases::Serve<repBrowseByPolicyIdReq, repBrowseByPolicyIdResp>(
    &cases::HandlerCase<&ReplicationMgr::BrowseByPolicyHandler<repBrowseByPolicyIdReq, repBrowseByPolicyIdResp,
                                                               BrowseByPolicyIdArgs_t, BrowseByPolicyIdRet_t>>);
const ServedCase BrowseByPolicyCaseV2 = cases::Serve<repBrowseByPolicyIdV2Req, repBrowseByPolicyIdV2Resp>(
    &cases::HandlerCase<&ReplicationMgr::BrowseByPolicyHandler<repBrowseByPolicyIdV2Req, repBrowseByPolicyIdV2Resp,
                                                               BrowseByPolicyIdV2Args_t, BrowseByPolicyIdV2Ret_t>>);
