// The replication policy catalogue's operations: add (after the compatibility
// checks of its copy manager type with its scratch pool and snap engine), query
// by id, the policies of a scratch pool, update, list, remove and the subclients
// that name a policy, with the entry point of each message version. Their
// requests are answered in policies/ReplicationPolicyRequests.cpp.
#include "policies/ReplicationPolicies.h"

#include <string>

#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "host/db/PolicyTables.h"
#include "host/db/ReplicaTables.h"
#include "host/db/SqlText.h"
#include "policies/SnapEngines.h"
#include "rows/Db/Cursor/YBGetSCListByYBPolicy.h"
#include "rows/Db/Cursor/YBGetYBPolicyList.h"
#include "scratch/ScratchPools.h"
#include "service/CursorRows.h"
#include "service/ErrorCodes.h"
#include "service/HeldRows.h"
#include "service/RecordConversion.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/ResultCode.h"
#include "service/SetClause.h"
#include "service/SourceNames.h"
#include "service/TranHandle.h"

namespace {

std::string Number(long long value) { return std::to_string(value); }

// The replication volumes made under the policy.
std::string VolumesOfPolicy(int policyId) { return "ReplicationPolicyId = " + Number(policyId); }

// The flags an update may change: the mask bit of each and its bit of Flags.
const FlagField kUpdateFlags[] = {{YB_POLICY_FLAG_BIT1, YBPOLICY_FLAG_BIT1}, {YB_POLICY_FLAG_BIT2, YBPOLICY_FLAG_BIT2}};

// What an update writes after Flags, in this order; the mask picks the
// items. An empty name is never written.
const SetClauseItem<YBPolicy_t> kUpdateItems[] = {
    {YB_POLICY_RETENTION, [](const YBPolicy_t& r) { return SetNumberItem("RetentionSeconds", r.RetentionSeconds); }},
    {YB_POLICY_COPY_MGR_CTRL_ID, [](const YBPolicy_t& r) { return SetNumberItem("CopyMgrCtrlId", r.CopyMgrCtrlId); }},
    {YB_POLICY_SCRATCH_POOL_ID,
     [](const YBPolicy_t& r) { return SetNumberItem("VolumeScratchPoolId", r.VolumeScratchPoolId); }},
    {YB_POLICY_NSNAPSHOT, [](const YBPolicy_t& r) { return SetNumberItem("NSnapshot", r.NSnapshot); }},
    {YB_POLICY_SNAP_ENGINE_ID, [](const YBPolicy_t& r) { return SetNumberItem("SnapEngineInfoId", r.SnapEngineInfoId); }},
    {YB_POLICY_NAME,
     [](const YBPolicy_t& r) { return r.name[0] != '\0' ? SetTextItem("Name", YBColumnText(r.name)) : std::string(); }},
    {YB_POLICY_COPY_MANAGER_TYPE,
     [](const YBPolicy_t& r) { return SetNumberItem("CopyManagerType", r.CopyManagerType); }},
};

// The values the add's entries show, as the record of each version has them.
AddYBPolicy_t AddValues(const ReplicationPolicyRecord_t&)
{
    AddYBPolicy_t values;
    values.CopyManagerType = YB_POLICY_DEFAULT_COPY_MANAGER_TYPE;
    return values;
}
AddYBPolicy_t AddValues(const ReplicationPolicyV2Record_t& record)
{
    AddYBPolicy_t values;
    values.NSnapshot = record.NSnapshot;
    values.CopyManagerType = YB_POLICY_DEFAULT_COPY_MANAGER_TYPE;
    return values;
}
AddYBPolicy_t AddValues(const ReplicationPolicyV3Record_t& record)
{
    AddYBPolicy_t values;
    values.NSnapshot = record.NSnapshot;
    values.CopyManagerType = record.CopyManagerType;
    return values;
}

}  // namespace

// ---- The add's checks ---------------------------------------------------------------

bool AddYBPolicy_t::IsNSnapshotInvalid(const ReplicationPolicyRecord_t&) { return false; }
bool AddYBPolicy_t::IsNSnapshotInvalid(const ReplicationPolicyV2Record_t& record) { return record.NSnapshot < 0; }

// Pool Types 2 and 3 take copy manager types 5 or 6, and 6, alone.
bool AddYBPolicy_t::AreCopyManagerAndPoolCompatible(const ReplicationPolicyRecord_t&, int32_t poolType)
{
    return poolType != 2 && poolType != 3;
}
bool AddYBPolicy_t::AreCopyManagerAndPoolCompatible(const ReplicationPolicyV3Record_t& record, int32_t poolType)
{
    const int32_t c = record.CopyManagerType;
    if (poolType == 2) return c == 5 || c == 6;
    if (poolType == 3) return c == 6;
    return c != 5 && c != 6;
}

// Copy manager type 5 takes engine Types 1 and 2; type 6 and engine Type 5
// go only with each other.
bool AddYBPolicy_t::AreCopyManagerAndSnapCompatible(const ReplicationPolicyRecord_t&, int32_t) { return true; }
bool AddYBPolicy_t::AreCopyManagerAndSnapCompatible(const ReplicationPolicyV3Record_t& record, int32_t engineType)
{
    const int32_t c = record.CopyManagerType;
    if (c == 5 && engineType != 1 && engineType != 2) return false;
    if (c == 6 && engineType != 5) return false;
    if (engineType == 5 && c != 6) return false;
    return true;
}

// ---- Database halves ----------------------------------------------------------------

template <typename Args, typename Ret>
bool ReplicationMgr::AddReplicationPolicyDB(const Args& args, Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::AddReplicationPolicyDB()";
    const auto& record = args.record;
    AddYBPolicy_t values = AddValues(record);
    ret.id = -1;

    if (record.SnapEngineInfoId <= 0)
        return steps::Fail(*this, ret, kErrInvalidId,
                           "Cannot add a YB policy record to the database with invalid snap engine info",
                           "\n\tParameters used:\n\tSnapEngine Info Id = " + Number(record.SnapEngineInfoId),
                           ProgNameInserts, Fn, __LINE__);

    if (AddYBPolicy_t::IsNSnapshotInvalid(record))
        return steps::Fail(*this, ret, kErrMissingInput,
                           "Cannot add a YB policy record to the database with a negative snapshot limit",
                           "\n\tParameters used:\n\tNSnapshot = " + Number(values.NSnapshot), ProgNameInserts, Fn,
                           __LINE__);

    // A name is refused before anything is read rather than cut to the column.
    if (!PolicyNameFits(record.name))
        return steps::Fail(*this, ret, kErrTooLong, "YB Policy Name is too long",
                           "\n\tParameters used:\n\tPolicy Name length = " + Number(record.name.size()),
                           ProgNameInserts, Fn, __LINE__);

    if (record.VolumeScratchPoolId != 0) {
        QueryRVScratchVolPoolV3Args_t poolArgs;
        poolArgs.poolId = record.VolumeScratchPoolId;
        QueryRVScratchVolPoolV3Ret_t pool;
        if (!QueryRVScratchVolPool(poolArgs, pool, tran)) {
            ret.errMsg = pool.errMsg;
            SetErrCode(ret, pool.errCode);
            return false;
        }
        if (!AddYBPolicy_t::AreCopyManagerAndPoolCompatible(record, pool.record.Type))
            return steps::Fail(*this, ret, kErrMissingInput,
                               "Copy Manager type and YB Scratch pool type are not compatible",
                               "\n\tCopy Manager Type       = " + Number(values.CopyManagerType) +
                                   "\n\tYB Scratch Pool Type    = " + Number(pool.record.Type),
                               ProgNameInserts, Fn, __LINE__);
    }

    QuerySnapEngineInfoV3Args_t engineArgs;
    engineArgs.id = record.SnapEngineInfoId;
    QuerySnapEngineInfoV3Ret_t engine;
    if (!QuerySnapEngineInfo(engineArgs, engine)) {
        ret.errMsg = engine.errMsg;
        SetErrCode(ret, engine.errCode);
        return false;
    }
    values.SnapEngineType = engine.record.Type;
    if (!AddYBPolicy_t::AreCopyManagerAndSnapCompatible(record, values.SnapEngineType))
        return steps::Fail(*this, ret, kErrMissingInput,
                           "Copy Manager type and Snapshot Engine type are not compatible",
                           "\n\tCopy Manager type = " + Number(values.CopyManagerType) +
                               "\n\tSnapshot Engine type = " + Number(values.SnapEngineType),
                           ProgNameInserts, Fn, __LINE__);

    CReplicationPolicyDB db;
    const std::string where = "name = '" + SqlEscape(record.name) + "'";
    unsigned int count = 0;
    if (!db.getNRows(where.c_str(), count, tran))
        return steps::Fail(
            *this, ret, kErrDatabase, "Cannot check for YB policy name uniqueness",
            "\n\tCReplicationPolicyDB.getNRows() failed\n\tParameters used:\n\tsWhere = " + EvDebug::escaped(where) +
                "\n\tDB Error Code = " + Number(db.getErrorCode()) + "\n\tTran = 0x" + steps::TranHandle(tran),
            ProgNameInserts, Fn, __LINE__);
    if (count != 0)
        return steps::Fail(*this, ret, kErrAlreadyExists,
                           "Cannot add new YB Policy because there is an existing YB policy with the same name",
                           "\n\tPolicyName = " + EvDebug::escaped(record.name) + "\n\tNRows = " + Number(count),
                           ProgNameInserts, Fn, __LINE__);

    YBPolicy_t row;
    YBZeroRow(row);
    YBSet(row, record);
    if (!db.insert(row, tran))
        return steps::Fail(
            *this, ret, kErrDatabase, "Cannot include new YB policy into the database",
            "\n\tDB Error Code = " + Number(db.getErrorCode()) + "\n\tCReplicationPolicyDB::insert()failed",
            ProgNameInserts, Fn, __LINE__);

    ret.id = row.id;
    m_LogMsg << "\tYB Policy " << EvDebug::escaped(record.name) << " was added to DB with ID " << ret.id;
    WriteLogMsg(ProgNameInserts, Fn, __LINE__, MSG);
    ret.errMsg = "";
    return true;
}

template <typename Args, typename Ret>
bool ReplicationMgr::QueryReplicationPolicyDB(const Args& args, Ret& ret)
{
    static const char Fn[] = "ReplicationMgr::QueryReplicationPolicyDB()";
    const int id = args.id;

    if (id < 1)
        return steps::Fail(*this, ret, kErrInvalidId, "Invalid YB Policy identifier",
                           "\n\tParameters used:\n\tReplication Policy Id = " + Number(id), ProgNameQueries, Fn,
                           __LINE__);

    CReplicationPolicyDB db;
    YBPolicy_t row;
    if (!db.getInfo(id, row, nullptr)) {
        const int dbCode = db.getErrorCode();
        const bool missing = dbCode == DB_NO_MORE_ROWS;
        return steps::Fail(*this, ret, missing ? kErrNotFound : kErrDatabase,
                           missing ? "Record not found" : "Cannot access YB policy information from the database",
                           "\n\tCReplicationPolicyDB::getInfo() failed\n\tParameters used:"
                           "\n\tReplication Policy Id = " +
                               Number(id) + "\n\tDB Error code = " + Number(dbCode),
                           ProgNameQueries, Fn, __LINE__);
    }

    YBSet(ret.record, row);
    ret.errMsg = "";
    return true;
}

template <typename Args, typename Ret>
bool ReplicationMgr::QueryReplicationPolicyByPoolId(const Args& args, Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::QueryReplicationPolicyByPoolId()";
    static const char OrderBy[] = "id ASC";
    const int poolId = args.poolId;

    ret.policies.clear();
    if (poolId < 1)
        return steps::Fail(*this, ret, kErrInvalidId, "Invalid Scratch volume pool identifier",
                           "\n\tParameters used:\n\tRV Scratch volume pool Id = " + Number(poolId), ProgNameQueries, Fn,
                           __LINE__);

    CReplicationPolicyDB db;
    const std::string where = "VolumeScratchPoolId = " + Number(poolId);
    steps::HeldRows<YBPolicy_t> list(db);
    if (!db.getList(list.rows, list.count, where.c_str(), OrderBy, tran))
        return steps::Fail(*this, ret, kErrDatabase, "Cannot access YB policy information from the database",
                           "\n\tCReplicationPolicyDB::getList() failed\n\tParameters used:\n\tsWhere = " + where +
                               "\n\tsOrderBy = " + OrderBy + "\n\tDB Error code = " + Number(db.getErrorCode()) +
                               "\n\tTran = 0x" + steps::TranHandle(tran),
                           ProgNameQueries, Fn, __LINE__);

    ret.errMsg = "";
    if (list.count == 0) {
        m_LogMsg << "\tNo YB Policy was found\n\tQuery Criteria: " << where;
        WriteLogMsg(ProgNameQueries, Fn, __LINE__, WARNING);
        SetErrCode(ret, kErrNotFound);
        return true;
    }
    for (unsigned int i = 0; i < list.count; ++i) YBSet(ret.policies, list.rows[i]);
    return true;
}

template <typename Args, typename Ret>
bool ReplicationMgr::UpdateReplicationPolicyDB(const Args& args, Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::UpdateReplicationPolicyDB()";
    const auto& record = args.record;
    const int id = record.id;
    int32_t mask = GetUpdateMap(record);

    if (id <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Cannot update YB policy information with invalid id",
                           "\n\tParameters used:\n\tReplication Policy Id = " + Number(id), ProgNameUpdates, Fn,
                           __LINE__);

    unsigned int volumes = 0;
    if (mask & YB_POLICY_SNAP_ENGINE_ID) {
        CReplicationVolumeDB volumeDB;
        const std::string where = VolumesOfPolicy(id);
        if (!volumeDB.getNRows(where.c_str(), volumes, tran))
            return steps::Fail(*this, ret, kErrDatabase,
                               "Error while trying to verify which YB Volumes are associated this YB Policy",
                               "\n\tCReplicationVolumeDB::getNRows() failed\n\tParameters used:\n\tsWhere = " + where +
                                   "\n\tDB Error code = " + Number(volumeDB.getErrorCode()) + "\n\tTran = 0x" +
                                   steps::TranHandle(tran),
                               ProgNameUpdates, Fn, __LINE__);
    }

    CReplicationPolicyDB db;
    YBPolicy_t stored;
    if (!db.getInfo(id, stored, tran)) {
        const int dbCode = db.getErrorCode();
        const bool missing = dbCode == DB_NO_MORE_ROWS;
        return steps::Fail(*this, ret, missing ? kErrNotFound : kErrDatabase,
                           missing ? "YB Policy not found" : "Cannot access YB Policy information from the database",
                           "\n\tCReplicationPolicyDB::getInfo() failed\n\tParameters used:\n\tsId = " + Number(id) +
                               "\n\tTran = 0x" + steps::TranHandle(tran) + "\n\tDB Err Code = " + Number(dbCode),
                           ProgNameUpdates, Fn, __LINE__);
    }

    YBPolicy_t row;
    std::string refusal;
    YBDBDst_t<YBPolicy_t> dst(row, refusal);
    if (!YBSet(dst, record)) return steps::Fail(*this, ret, dst.errCode, refusal, "", ProgNameUpdates, Fn, __LINE__);

    // Only the flags the mask names change; the other bits stay as stored.
    const int32_t flags = MergeFlags(stored.Flags, row.Flags, mask, kUpdateFlags);

    if ((mask & YB_POLICY_SNAP_ENGINE_ID) && volumes != 0) {
        m_LogMsg << "\tWarning: At least one replication volume is using this policy"
                 << "\n\tSnap Engine Info ID will not be updated";
        WriteLogMsg(ProgNameUpdates, Fn, __LINE__, WARNING);
        mask &= ~YB_POLICY_SNAP_ENGINE_ID;
    }

    const std::string set = BuildFlagsSetClause(flags, mask, kUpdateItems, row);
    if (!db.Update(id, set.c_str(), tran)) {
        const bool missing = db.getErrorCode() == DB_NO_MORE_ROWS;
        return steps::Fail(*this, ret, missing ? kErrNotFound : kErrDatabase,
                           missing ? "YB Policy not found" : "Could not update YB policy information from database",
                           "\n\tCReplicationPolicyDB::Update() failed\n\tParameters used:"
                           "\n\tReplication Policy Id = " +
                               Number(id) + "\n\tsUpdate = " + EvDebug::escaped(set) + "\n\tDB Error code = " +
                               Number(db.getErrorCode()) + "\n\tTran = 0x" + steps::TranHandle(tran),
                           ProgNameUpdates, Fn, __LINE__);
    }

    m_LogMsg << "\tYB Policy with ID " << id << " was updated...";
    WriteLogMsg(ProgNameUpdates, Fn, __LINE__, MSG);
    ret.errMsg = "";
    return true;
}

template <typename Ret>
bool ReplicationMgr::GetReplicationPolicyListDB(Ret& ret)
{
    static const char Fn[] = "ReplicationMgr::GetReplicationPolicyList()";

    ret.policies.clear();
    YBGetYBPolicyList cursor(nullptr);
    cursor.setValues();
    const int rc = steps::ReadAllRows(cursor, ret.policies);
    if (rc != DB_NO_MORE_ROWS)
        return steps::Fail(*this, ret, kErrDatabase, "Cannot get the list of YB policies from the database",
                           "\n\tgetNextRow(YBGetYBPolicyList &) failed\n\tDB Err Code = " + Number(rc),
                           ProgNameGetLists, Fn, __LINE__);

    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::RemoveReplicationPolicy(const RemoveReplicationPolicyArgs_t& args,
                                             RemoveReplicationPolicyRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::RemoveReplicationPolicy()";
    const int id = args.id;

    if (id <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Cannot remove YB policy from the database with invalid id",
                           "\n\tParameters used:\n\tReplication Policy Id = " + Number(id), ProgNameDeletes, Fn,
                           __LINE__);

    CReplicationVolumeDB volumeDB;
    const std::string where = VolumesOfPolicy(id);
    unsigned int volumes = 0;
    if (!volumeDB.getNRows(where.c_str(), volumes, tran))
        return steps::Fail(*this, ret, kErrDatabase, "Cannot access YB volume information from the database",
                           "\n\tCReplicationVolumeDB::getNRows() failed\n\tParameters used:\n\tsWhere = " + where +
                               "\n\tTran = 0x" + steps::TranHandle(tran),
                           ProgNameDeletes, Fn, __LINE__);
    if (volumes != 0)
        return steps::Fail(*this, ret, kErrInUse,
                           "Cannot update YB policy while there is at least one YB volume using it",
                           "\n\toutput from CReplicationVolumeDB::getNRows()\n\tNRows = " + Number(volumes),
                           ProgNameDeletes, Fn, __LINE__);

    CReplicationPolicyDB db;
    if (!db.remove(id, tran))
        return steps::Fail(*this, ret, kErrDatabase, "Cannot remove YB policy from the database",
                           "\n\tCReplicationPolicyDB::remove() failed\n\tParameters used:"
                           "\n\tReplication Policy Id = " +
                               Number(id) + "\n\tTran = 0x" + steps::TranHandle(tran),
                           ProgNameDeletes, Fn, __LINE__);

    m_LogMsg << "\tYB Policy with ID " << id << " was removed from DB...";
    WriteLogMsg(ProgNameDeletes, Fn, __LINE__, ERR);
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::GetSCListByYBPolicy(const GetYBSCListByPolicyArgs_t& args, GetYBSCListByPolicyRet_t& ret,
                                         DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::GetSCListByYBPolicy()";
    const int policyId = args.policyId;

    YBGetSCListByYBPolicy cursor(tran);
    ret.subclients.clear();
    if (policyId < 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Invalid YB Policy id",
                           "\n\tParameters used:\n\tPolicy Id = " + Number(policyId), ProgNameQueries, Fn, __LINE__);
    if (args.appTypes.empty())
        return steps::Fail(*this, ret, kErrMissingInput, "No Application Type was specified", "", ProgNameQueries, Fn,
                           __LINE__);

    for (int32_t appType : args.appTypes) {
        m_LogMsg << "Looking for SC of type " << appType << " using YB Policy Id " << policyId;
        WriteLogMsg(ProgNameQueries, Fn, __LINE__, INFO);
        cursor.setValues(policyId, appType);
        int state = 0;
        int rc;
        while ((rc = getNextRow(&cursor, &state, -1, 0)) == DB_ROW_OK) {
            const int subclientId = cursor.getDataPtr()->SCId;
            m_LogMsg << "Found SC " << subclientId;
            WriteLogMsg(ProgNameQueries, Fn, __LINE__, INFO);
            ret.subclients.push_back(subclientId);
        }
        if (rc != DB_NO_MORE_ROWS) {
            ret.subclients.clear();
            return steps::Fail(
                *this, ret, kErrDatabase, "Cannot get the list of subclient from the database",
                "\n\tgetNextRow(YBGetSCListByYBPolicy_t &) failed\n\tYB Policy Id = " + Number(policyId) +
                    "\n\tApp Type Id  = " + Number(appType) + "\n\tDB Err Code = " + Number(rc),
                ProgNameQueries, Fn, __LINE__);
        }
    }

    ret.errMsg = "";
    return true;
}

// ---- Per-version entry points ------------------------------------------------------

bool ReplicationMgr::AddReplicationPolicy(const AddReplicationPolicyArgs_t& args, AddReplicationPolicyRet_t& ret,
                                          DBtran* tran)
{
    return AddReplicationPolicyDB(args, ret, tran);
}
bool ReplicationMgr::AddReplicationPolicy(const AddReplicationPolicyV2Args_t& args, AddReplicationPolicyV2Ret_t& ret,
                                          DBtran* tran)
{
    return AddReplicationPolicyDB(args, ret, tran);
}
bool ReplicationMgr::AddReplicationPolicy(const AddReplicationPolicyV3Args_t& args, AddReplicationPolicyV3Ret_t& ret,
                                          DBtran* tran)
{
    return AddReplicationPolicyDB(args, ret, tran);
}

bool ReplicationMgr::QueryReplicationPolicy(const QueryReplicationPolicyByIdArgs_t& args,
                                            QueryReplicationPolicyByIdRet_t& ret)
{
    return QueryReplicationPolicyDB(args, ret);
}
bool ReplicationMgr::QueryReplicationPolicy(const QueryReplicationPolicyByIdV2Args_t& args,
                                            QueryReplicationPolicyByIdV2Ret_t& ret)
{
    return QueryReplicationPolicyDB(args, ret);
}
bool ReplicationMgr::QueryReplicationPolicy(const QueryReplicationPolicyByIdV3Args_t& args,
                                            QueryReplicationPolicyByIdV3Ret_t& ret)
{
    return QueryReplicationPolicyDB(args, ret);
}

bool ReplicationMgr::QueryReplicationPolicy(const QueryReplicationPolicyByPoolIdArgs_t& args,
                                            QueryReplicationPolicyByPoolIdRet_t& ret, DBtran* tran)
{
    return QueryReplicationPolicyByPoolId(args, ret, tran);
}
bool ReplicationMgr::QueryReplicationPolicy(const QueryReplicationPolicyByPoolIdV2Args_t& args,
                                            QueryReplicationPolicyByPoolIdV2Ret_t& ret, DBtran* tran)
{
    return QueryReplicationPolicyByPoolId(args, ret, tran);
}
bool ReplicationMgr::QueryReplicationPolicy(const QueryReplicationPolicyByPoolIdV3Args_t& args,
                                            QueryReplicationPolicyByPoolIdV3Ret_t& ret, DBtran* tran)
{
    return QueryReplicationPolicyByPoolId(args, ret, tran);
}

bool ReplicationMgr::UpdateReplicationPolicy(const UpdateReplicationPolicyArgs_t& args,
                                             UpdateReplicationPolicyRet_t& ret, DBtran* tran)
{
    return UpdateReplicationPolicyDB(args, ret, tran);
}
bool ReplicationMgr::UpdateReplicationPolicy(const UpdateReplicationPolicyV2Args_t& args,
                                             UpdateReplicationPolicyV2Ret_t& ret, DBtran* tran)
{
    return UpdateReplicationPolicyDB(args, ret, tran);
}
bool ReplicationMgr::UpdateReplicationPolicy(const UpdateReplicationPolicyV3Args_t& args,
                                             UpdateReplicationPolicyV3Ret_t& ret, DBtran* tran)
{
    return UpdateReplicationPolicyDB(args, ret, tran);
}

bool ReplicationMgr::GetReplicationPolicyList(GetReplicationPolicyListRet_t& ret)
{
    return GetReplicationPolicyListDB(ret);
}
bool ReplicationMgr::GetReplicationPolicyList(GetReplicationPolicyListV2Ret_t& ret)
{
    return GetReplicationPolicyListDB(ret);
}
bool ReplicationMgr::GetReplicationPolicyList(GetReplicationPolicyListV3Ret_t& ret)
{
    return GetReplicationPolicyListDB(ret);
}
