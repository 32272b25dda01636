// The scratch pool catalogue's operations: add, read by id, list, update and
// remove pools, and the move of a pool's members to another snap engine. Their
// requests are answered in scratch/ScratchPoolRequests.cpp.
#include "scratch/ScratchPools.h"

#include <string>

#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "host/db/PolicyTables.h"
#include "host/db/ReplicaTables.h"
#include "host/db/SNRTables.h"
#include "host/db/SqlText.h"
#include "policies/VolSnapParams.h"
#include "scratch/EngineParams.h"
#include "service/ErrorCodes.h"
#include "service/RecordConversion.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/ResultCode.h"
#include "service/SourceNames.h"
#include "service/TranHandle.h"
#include "service/Utils.h"

namespace {

std::string Number(long long value) { return std::to_string(value); }

// The where of the members of a pool.
std::string PoolMembers(int poolId) { return "RVScratchVolumePoolId = " + Number(poolId); }

// The add of each message version: the name, the engine it names (version 1
// none), and the row built from the arguments.
const std::string& PoolName(const AddRVScratchVolPoolArgs_t& args) { return args.name; }
const std::string& PoolName(const AddRVScratchVolPoolV2Args_t& args) { return args.name; }
const std::string& PoolName(const AddRVScratchVolPoolV3Args_t& args) { return args.record.name; }
int32_t PoolSnapEngine(const AddRVScratchVolPoolArgs_t&) { return 0; }
int32_t PoolSnapEngine(const AddRVScratchVolPoolV2Args_t& args) { return args.SnapEngineInfoId; }
int32_t PoolSnapEngine(const AddRVScratchVolPoolV3Args_t& args) { return args.record.SnapEngineInfoId; }
void SetPoolRow(YBScratchPool_t& row, const AddRVScratchVolPoolArgs_t& args)
{
    YBSet(row, RVScratchVolumePoolRecord_t(args.name));
}
void SetPoolRow(YBScratchPool_t& row, const AddRVScratchVolPoolV2Args_t& args)
{
    YBSet(row, RVScratchVolumePoolV2Record_t(args.name, args.SnapEngineInfoId));
}
void SetPoolRow(YBScratchPool_t& row, const AddRVScratchVolPoolV3Args_t& args) { YBSet(row, args.record); }

// The SET clause of a pool update: the name when asked for and not empty,
// the engine when asked for and 0 or above, the type when asked for.
std::string PoolSetClause(const YBScratchPool_t& row, int32_t mask)
{
    std::string clause;
    auto add = [&clause](const std::string& item) { clause += (clause.empty() ? "" : ", ") + item; };
    const std::string name = YBColumnText(row.name);
    if ((mask & YB_POOL_NAME) && !name.empty()) add("name = '" + SqlEscape(name) + "'");
    if ((mask & YB_POOL_SNAP_ENGINE_INFO_ID) && row.SnapEngineInfoId >= 0)
        add("SnapEngineInfoId = " + Number(row.SnapEngineInfoId));
    if (mask & YB_POOL_TYPE) add("Type = " + Number(row.Type));
    return clause;
}

// The SET clause that gives a member's snap parameters an engine and its
// commands.
std::string EngineParamsClause(int engineId, const YBSnapEngineInfo_t& engine)
{
    return "SnapEngineId = " + Number(engineId) + ", " + scratch_detail::EngineCommandsClause(engine);
}

}  // namespace

// ---- Add ----------------------------------------------------------------------------

template <typename Args, typename Ret>
bool ReplicationMgr::AddRVScratchVolPoolDB(const Args& args, Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::AddRVScratchVolPoolDB()";
    const std::string& name = PoolName(args);
    const int32_t engineId = PoolSnapEngine(args);

    if (name.empty())
        return steps::Fail(*this, ret, kErrMissingInput,
                           "Cannot add a scratch volume pool to the database with an empty name", "", ProgNameInserts,
                           Fn, __LINE__);
    if (engineId < 0)
        return steps::Fail(
            *this, ret, kErrInvalidId, "Cannot add a new scratch volume pool with an invalid snap engine type",
            "\n\tParameters used: \n\tSnapEngineInfoId = " + Number(engineId), ProgNameInserts, Fn, __LINE__);
    // The column would keep a cut name, another pool's perhaps.
    if (name.size() > kMaxScratchPoolNameLength)
        return steps::Fail(*this, ret, kErrTooLong, "Scratch pool name is too long",
                           "\n\tParameters used:\n\tLength = " + Number(name.size()), ProgNameInserts, Fn, __LINE__);
    ret.poolId = -1;

    // The name check reads outside the caller's transaction.
    CRVScratchVolumePoolDB poolDB;
    YBScratchPool_t* rows = nullptr;
    unsigned int count = 0;
    const std::string where = "name = '" + SqlEscape(name) + "'";
    if (!poolDB.getList(rows, count, where.c_str(), "id ASC", nullptr)) {
        poolDB.deleteList(rows);
        return steps::Fail(
            *this, ret, kErrDatabase, "Could not query scratch volume pool information from the database",
            "\n\tCRVScratchVolumePoolDB::getList() failed\n\tParameters used:\n\tsWhere = " + EvDebug::escaped(where) +
                "\n\tsOrderBy = id ASC\n\tDB Err Code = " + Number(poolDB.getErrorCode()),
            ProgNameInserts, Fn, __LINE__);
    }
    bool taken = false;
    for (unsigned int i = 0; i < count; ++i) taken = taken || YBColumnText(rows[i].name) == name;
    poolDB.deleteList(rows);
    if (taken)
        return steps::Fail(*this, ret, kErrAlreadyExists, "Scratch volume pool name already exists in the database",
                           "\n\tParameters used:\n\tPool Name = " + EvDebug::escaped(name), ProgNameInserts, Fn,
                           __LINE__);

    YBScratchPool_t row;
    SetPoolRow(row, args);
    row.TotalVolumes = 0;
    row.AvailableVolumes = 0;
    row.reserved = 0;
    if (!poolDB.insert(row, tran))
        return steps::Fail(*this, ret, kErrDatabase, "Could not add new scratch volume pool in the database",
                           "\n\tCRVScratchVolumePoolDB::insert() failed\n\tDB Err Code = " +
                               Number(poolDB.getErrorCode()) + "\n\tTran = 0x" + steps::TranHandle(tran),
                           ProgNameInserts, Fn, __LINE__);

    ret.errMsg = "";
    ret.poolId = row.id;
    m_LogMsg << "\tNew pool " << EvDebug::escaped(name) << " was added to the DB"
             << "\n\tThe ID of the new pool is " << row.id;
    WriteLogMsg(ProgNameInserts, Fn, __LINE__, MSG);
    return true;
}

bool ReplicationMgr::AddRVScratchVolPool(const AddRVScratchVolPoolArgs_t& args, AddRVScratchVolPoolRet_t& ret,
                                         DBtran* tran)
{
    return AddRVScratchVolPoolDB(args, ret, tran);
}
bool ReplicationMgr::AddRVScratchVolPool(const AddRVScratchVolPoolV2Args_t& args, AddRVScratchVolPoolV2Ret_t& ret,
                                         DBtran* tran)
{
    return AddRVScratchVolPoolDB(args, ret, tran);
}
bool ReplicationMgr::AddRVScratchVolPool(const AddRVScratchVolPoolV3Args_t& args, AddRVScratchVolPoolV3Ret_t& ret,
                                         DBtran* tran)
{
    return AddRVScratchVolPoolDB(args, ret, tran);
}

// ---- Query and list ------------------------------------------------------------------

template <typename Args, typename Ret>
bool ReplicationMgr::QueryRVScratchVolPoolDB(const Args& args, Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::QueryRVScratchVolPoolDB()";
    const int poolId = args.poolId;

    if (poolId <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Invalid scratch volume pool identifier",
                           "\n\tParameters used:\n\tRV Scratch Volume Pool Id = " + Number(poolId), ProgNameQueries, Fn,
                           __LINE__);

    CRVScratchVolumePoolDB poolDB;
    YBScratchPool_t row;
    if (!poolDB.getInfo(poolId, row, tran)) {
        const int code = poolDB.getErrorCode();
        const bool missing = code == DB_NO_MORE_ROWS;
        return steps::Fail(*this, ret, missing ? kErrNotFound : kErrDatabase,
                           missing ? "Scratch volume pool record not found"
                                   : "Cannot access scratch volume pool information from the database",
                           "\n\tCRVScratchVolumePoolDB::getInfo() failed\n\tParameters used:"
                           "\n\tRV Scratch volume pool id = " +
                               Number(poolId) + "\n\tDB Error Code = " + Number(code) + "\n\tTran = 0x" +
                               steps::TranHandle(tran),
                           ProgNameQueries, Fn, __LINE__);
    }
    YBSet(ret.record, row);
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::QueryRVScratchVolPool(const QueryRVScratchVolPoolArgs_t& args, QueryRVScratchVolPoolRet_t& ret)
{
    return QueryRVScratchVolPoolDB(args, ret, nullptr);
}
bool ReplicationMgr::QueryRVScratchVolPool(const QueryRVScratchVolPoolV2Args_t& args,
                                           QueryRVScratchVolPoolV2Ret_t& ret, DBtran* tran)
{
    return QueryRVScratchVolPoolDB(args, ret, tran);
}
bool ReplicationMgr::QueryRVScratchVolPool(const QueryRVScratchVolPoolV3Args_t& args,
                                           QueryRVScratchVolPoolV3Ret_t& ret, DBtran* tran)
{
    return QueryRVScratchVolPoolDB(args, ret, tran);
}

template <typename Ret>
bool ReplicationMgr::GetRVScratchVolPoolListDB(Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::GetRVScratchVolPoolListDB()";
    ret.pools.clear();

    CRVScratchVolumePoolDB poolDB;
    YBScratchPool_t* rows = nullptr;
    unsigned int count = 0;
    if (!poolDB.getList(rows, count, "id > 0", "id ASC", tran)) {
        poolDB.deleteList(rows);
        return steps::Fail(*this, ret, kErrDatabase, "Cannot get the list of scratch volume pools from the database",
                           "\n\tCRVScratchVolumePoolDB::getList() failed\n\tsWhere = id > 0\n\tsOrderBy = id ASC"
                           "\n\tDB Err Code = " +
                               Number(poolDB.getErrorCode()) + "\n\tTran = 0x" + steps::TranHandle(tran),
                           ProgNameGetLists, Fn, __LINE__);
    }
    for (unsigned int i = 0; i < count; ++i) YBSet(ret.pools, rows[i]);
    poolDB.deleteList(rows);
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::GetRVScratchVolPoolList(GetRVScratchVolPoolListRet_t& ret)
{
    return GetRVScratchVolPoolListDB(ret, nullptr);
}
bool ReplicationMgr::GetRVScratchVolPoolList(GetRVScratchVolPoolV2ListRet_t& ret, DBtran* tran)
{
    return GetRVScratchVolPoolListDB(ret, tran);
}
bool ReplicationMgr::GetRVScratchVolPoolList(GetRVScratchVolPoolV3ListRet_t& ret, DBtran* tran)
{
    return GetRVScratchVolPoolListDB(ret, tran);
}

// The request handlers read pools of every message version through these.
template bool ReplicationMgr::QueryRVScratchVolPoolDB(const QueryRVScratchVolPoolArgs_t&, QueryRVScratchVolPoolRet_t&,
                                                     DBtran*);
template bool ReplicationMgr::QueryRVScratchVolPoolDB(const QueryRVScratchVolPoolV2Args_t&,
                                                     QueryRVScratchVolPoolV2Ret_t&, DBtran*);
template bool ReplicationMgr::QueryRVScratchVolPoolDB(const QueryRVScratchVolPoolV3Args_t&,
                                                     QueryRVScratchVolPoolV3Ret_t&, DBtran*);
template bool ReplicationMgr::GetRVScratchVolPoolListDB(GetRVScratchVolPoolListRet_t&, DBtran*);
template bool ReplicationMgr::GetRVScratchVolPoolListDB(GetRVScratchVolPoolV2ListRet_t&, DBtran*);
template bool ReplicationMgr::GetRVScratchVolPoolListDB(GetRVScratchVolPoolV3ListRet_t&, DBtran*);

// ---- Update --------------------------------------------------------------------------

template <typename Args, typename Ret>
bool ReplicationMgr::UpdateRVScratchVolPoolDB(const Args& args, Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::UpdateRVScratchVolPoolDB()";
    const auto& record = args.record;
    const int32_t mask = GetUpdateMap(record);
    const int poolId = record.id;

    if (poolId <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Cannot update scratch volume pool information with invalid id",
                           "\n\tParameters used:\n\tRV Scratch volume Pool Id = " + Number(poolId), ProgNameUpdates, Fn,
                           __LINE__);

    YBScratchPool_t row;
    std::string message;
    YBDBDst_t<YBScratchPool_t> dst(row, message);
    if (!YBSet(dst, record)) return steps::Fail(*this, ret, dst.errCode, message, "", ProgNameUpdates, Fn, __LINE__);

    const std::string clause = PoolSetClause(row, mask);
    if (clause.empty()) {
        m_LogMsg << "\tEvent: Nothing to update in the Scratch Volume pool table\n\tParameters used:"
                 << "\n\tRV Scratch volume Pool Id = " << poolId;
        WriteLogMsg(ProgNameUpdates, Fn, __LINE__, WARNING);
        ret.errMsg = "";
        return true;
    }

    // Compared with the engine the pool holds until its row is written.
    if ((mask & YB_POOL_SNAP_ENGINE_INFO_ID) && row.SnapEngineInfoId >= 0) {
        UpdateScratchPoolSnapParamsArgs_t paramsArgs;
        paramsArgs.poolId = poolId;
        paramsArgs.snapEngineId = row.SnapEngineInfoId;
        UpdateScratchPoolSnapParamsRet_t paramsRet;
        if (!UpdateScratchPoolSnapParams(paramsArgs, paramsRet, tran)) {
            ret.errMsg = paramsRet.errMsg;
            SetErrCode(ret, paramsRet.errCode);
            return false;
        }
    }

    CRVScratchVolumePoolDB poolDB;
    if (!poolDB.Update(poolId, clause.c_str(), tran)) {
        const int code = poolDB.getErrorCode();
        const bool missing = code == DB_NO_MORE_ROWS;
        return steps::Fail(*this, ret, missing ? kErrNotFound : kErrDatabase,
                           missing ? "RV scratch volume pool not found"
                                   : "Could not update scratch volume pool information from database",
                           "\n\tCRVScratchVolumePoolDB::Update() failed\n\tParameters used:"
                           "\n\tScratch Volume Pool Id = " +
                               Number(poolId) + "\n\tsUpdate = " + EvDebug::escaped(clause) +
                               "\n\tDB Err Code = " + Number(code) + "\n\tTran = 0x" + steps::TranHandle(tran),
                           ProgNameUpdates, Fn, __LINE__);
    }

    ret.errMsg = "";
    m_LogMsg << "\tRV Scratch volume pool with ID " << poolId << " was updated";
    WriteLogMsg(ProgNameUpdates, Fn, __LINE__, MSG);
    return true;
}

bool ReplicationMgr::UpdateRVScratchVolPool(const UpdateRVScratchVolPoolArgs_t& args,
                                            UpdateRVScratchVolPoolRet_t& ret, DBtran* tran)
{
    return UpdateRVScratchVolPoolDB(args, ret, tran);
}
bool ReplicationMgr::UpdateRVScratchVolPool(const UpdateRVScratchVolPoolV2Args_t& args,
                                            UpdateRVScratchVolPoolV2Ret_t& ret, DBtran* tran)
{
    return UpdateRVScratchVolPoolDB(args, ret, tran);
}
bool ReplicationMgr::UpdateRVScratchVolPool(const UpdateRVScratchVolPoolV3Args_t& args,
                                            UpdateRVScratchVolPoolV3Ret_t& ret, DBtran* tran)
{
    return UpdateRVScratchVolPoolDB(args, ret, tran);
}

bool ReplicationMgr::UpdateScratchPoolSnapParams(const UpdateScratchPoolSnapParamsArgs_t& args,
                                                 UpdateScratchPoolSnapParamsRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::UpdateScratchPoolSnapParams()";
    const int poolId = args.poolId;
    const int engineId = args.snapEngineId;
    const std::string tranText = "\n\tTran = 0x" + steps::TranHandle(tran);

    if (poolId < 1)
        return steps::Fail(*this, ret, kErrInvalidId,
                           "Cannot update scratch volume snap parameters with invalid scratch pool id",
                           "\n\tRV Scratch volume Pool Id = " + Number(poolId), ProgNameUpdates, Fn, __LINE__);
    if (engineId < 0)
        return steps::Fail(*this, ret, kErrInvalidId,
                           "Cannot update scratch volume snap parameters with invalid snap engine id",
                           "\n\tSnap engine info Id = " + Number(engineId), ProgNameUpdates, Fn, __LINE__);

    QueryRVScratchVolPoolV3Args_t poolArgs;
    poolArgs.poolId = poolId;
    QueryRVScratchVolPoolV3Ret_t pool;
    if (!QueryRVScratchVolPool(poolArgs, pool, tran)) {
        ret.errMsg = pool.errMsg;
        ret.errCode = pool.errCode;
        return false;
    }
    if (engineId == pool.record.SnapEngineInfoId) {
        ret.errMsg = "";
        return true;
    }

    CRVScratchVolumeDB scratchDB;
    YBScratchVolume_t* members = nullptr;
    unsigned int count = 0;
    const std::string where = PoolMembers(poolId);
    if (!scratchDB.getList(members, count, where.c_str(), "id ASC", tran)) {
        scratchDB.deleteList(members);
        return steps::Fail(*this, ret, kErrDatabase, "Could not get list of scratch volumes in the pool",
                           "\n\tCRVScratchVolumeDB::getList() failed\n\tInput: \n\tsWhere = " + where +
                               "\n\tsOrderBy = id ASC\n\tDB Error Code = " + Number(scratchDB.getErrorCode()) +
                               tranText,
                           ProgNameUpdates, Fn, __LINE__);
    }
    // The member rows are freed on every path from here.
    struct MemberRows {
        CRVScratchVolumeDB& db;
        YBScratchVolume_t*& rows;
        ~MemberRows() { db.deleteList(rows); }
    } owner{scratchDB, members};

    if (count == 0) {
        // No member to bring along: the engine is not read.
        ret.errMsg = "";
        return true;
    }
    if (engineId == 0) {
        for (unsigned int i = 0; i < count; ++i) {
            RemoveVolSnapParam42Args_t removeArgs;
            removeArgs.SNRVolumeId = members[i].PhysicalVolumeId;
            RemoveVolSnapParam42Ret_t removed;
            if (!RemoveVolSnapParam(removeArgs, removed, tran) && removed.errCode != kErrNotFound) {
                ret.errMsg = removed.errMsg;
                ret.errCode = removed.errCode;
                return false;
            }
        }
        ret.errMsg = "";
        return true;
    }

    CSnapEngineInfoDB engineDB;
    YBSnapEngineInfo_t engine;
    if (!engineDB.getInfo(engineId, engine, tran)) {
        const int code = engineDB.getErrorCode();
        const bool missing = code == DB_NO_MORE_ROWS;
        return steps::Fail(*this, ret, missing ? kErrNotFound : kErrDatabase,
                           missing ? "Snap Engine info record could not be found"
                                   : "Could not get the snap engine information from the database",
                           "\n\tCSnapEngineInfoDB::getInfo() failed\n\tParameters used:\n\tSnap Engine Info Id = " +
                               Number(engineId) + "\n\tDB Error Code = " + Number(code) + tranText,
                           ProgNameUpdates, Fn, __LINE__);
    }

    const std::string clause = EngineParamsClause(engineId, engine);
    CVolumeSnapParamsDB paramsDB;
    CSNRVolumeDeviceNameDB deviceDB;
    for (unsigned int i = 0; i < count; ++i) {
        const int volumeId = members[i].PhysicalVolumeId;
        const std::string member = "\n\tScratch Volume ID = " + Number(members[i].id);
        if (paramsDB.Update(volumeId, clause.c_str(), tran)) {
            m_LogMsg << "\tVolume Snap parameters for SNR Volume " << volumeId << " were updated";
            WriteLogMsg(ProgNameUpdates, Fn, __LINE__, MSG);
            continue;
        }
        if (paramsDB.getErrorCode() != DB_NO_MORE_ROWS)
            return steps::Fail(
                *this, ret, kErrDatabase, "Could not update volume snap parameters information from database",
                "\n\tCVolumeSnapParamsDB::Update() failed\n\tParameters used:\n\tSNR Volume Id = " + Number(volumeId) +
                    "\n\tsUpdate = " + EvDebug::escaped(clause) + member + tranText +
                    "\n\tDB Error Code = " + Number(paramsDB.getErrorCode()),
                ProgNameUpdates, Fn, __LINE__);

        // No parameters yet: they are made for the one host that sees the volume.
        YBPhysicalDevice_t* devices = nullptr;
        unsigned int nDevices = 0;
        const std::string deviceWhere = "SNRVolumeId = " + Number(volumeId);
        if (!deviceDB.getList(devices, nDevices, deviceWhere.c_str(), "id ASC", tran)) {
            deviceDB.deleteList(devices);
            const int code = deviceDB.getErrorCode();
            const bool missing = code == DB_NO_MORE_ROWS;
            return steps::Fail(*this, ret, missing ? kErrNotFound : kErrDatabase,
                               missing ? "Cannot determine which host is using a scratch volume"
                                       : "Could not get device information from the database",
                               "\n\tCSNRVolumeDeviceNameDB::getList() failed\n\tParameters used:\n\tsWhere = " +
                                   deviceWhere + "\n\tDB Error Code = " + Number(code) + "\n\tsOrderBy = id ASC",
                               ProgNameUpdates, Fn, __LINE__);
        }
        const int clientId = nDevices == 1 ? devices[0].ClientId : 0;
        deviceDB.deleteList(devices);
        if (nDevices == 0)
            return steps::Fail(*this, ret, kErrNotFound, "Scratch volume cannot be accessed by any host",
                               "\n\tRV Scratch Volume ID = " + Number(members[i].id) + "\n\tsWhere = " + deviceWhere,
                               ProgNameUpdates, Fn, __LINE__);
        if (nDevices > 1)
            return steps::Fail(*this, ret, kErrNotUnique, "Scratch volume can be accessed by two or more hosts",
                               "\n\tDevs = " + Number(nDevices) + "\n\tRV Scratch Volume ID = " +
                                   Number(members[i].id) + "\n\tsWhere = " + deviceWhere,
                               ProgNameUpdates, Fn, __LINE__);

        YBVolSnapParams_t params = scratch_detail::MemberSnapParams(volumeId, engineId, clientId, engine);
        if (!paramsDB.insert(params, tran))
            return steps::Fail(*this, ret, kErrDatabase, "Cannot include new volume snap parameters into the database",
                               "\n\tCVolumeSnapParamsDB::insert()failed\n\tSNR Volume ID = " + Number(volumeId) +
                                   "\n\tDB Err Code = " + Number(paramsDB.getErrorCode()) + member + tranText,
                               ProgNameUpdates, Fn, __LINE__);
        m_LogMsg << "\tVolume Snap parameters (destination snapshot) for SNR Volume " << volumeId << " were added";
        WriteLogMsg(ProgNameUpdates, Fn, __LINE__, MSG);
    }

    ret.errMsg = "";
    return true;
}

// ---- Remove --------------------------------------------------------------------------

bool ReplicationMgr::RemoveRVScratchVolPool(const RemoveRVScratchVolumePoolArgs_t& args,
                                            RemoveRVScratchVolumePoolRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::RemoveRVScratchVolPool()";
    const int poolId = args.poolId;

    if (poolId < 1)
        return steps::Fail(*this, ret, kErrInvalidId,
                           "Scratch volume pool record with invalid pool id could not be deleted",
                           "\n\tParameters used:\n\tPool Id = " + Number(poolId), ProgNameDeletes, Fn, __LINE__);

    // Both counts read outside the caller's transaction.
    CRVScratchVolumeDB scratchDB;
    unsigned int members = 0;
    const std::string where = PoolMembers(poolId);
    if (!scratchDB.getNRows(where.c_str(), members, nullptr))
        return steps::Fail(*this, ret, kErrDatabase, "Could not get list of scratch volume records from the database",
                           "\n\tCRVScratchVolumeDB::getNRows() failed\n\tParameters used:\n\tsWhere = " + where +
                               "\n\tDB Err Code = " + Number(scratchDB.getErrorCode()),
                           ProgNameDeletes, Fn, __LINE__);
    if (members > 0)
        return steps::Fail(*this, ret, kErrInUse,
                           "Scratch volume pool cannot be deleted. The volumes must first be removed from the pool",
                           "\n\tPool Id = " + Number(poolId) + "\n\tNumber of elements in pool = " + Number(members),
                           ProgNameDeletes, Fn, __LINE__);

    CReplicationPolicyDB policyDB;
    unsigned int policies = 0;
    const std::string policyWhere = "VolumeScratchPoolId = " + Number(poolId);
    if (!policyDB.getNRows(policyWhere.c_str(), policies, nullptr))
        return steps::Fail(*this, ret, kErrDatabase, "Could not get list of YB policy records from the database",
                           "\n\tCReplicationPolicyDB::getNRows() failed\n\tParameters used:\n\tsWhere = " +
                               policyWhere + "\n\tDB Err Code = " + Number(policyDB.getErrorCode()),
                           ProgNameDeletes, Fn, __LINE__);
    if (policies > 0)
        return steps::Fail(
            *this, ret, kErrPoolInUse,
            "Could not delete scratch volume pool record because it is being used by at least "
            "one YB Policy",
            "\n\tPool Id = " + Number(poolId) + "\n\tNumber of YB Policies using it= " + Number(policies),
            ProgNameDeletes, Fn, __LINE__);

    CRVScratchVolumePoolDB poolDB;
    if (!poolDB.remove(poolId, tran))
        return steps::Fail(*this, ret, kErrDatabase, "Could not delete scratch volume pool from the database",
                           "\n\tCRVScratchVolumePoolDB::remove() failed\n\tParameters used:\n\tId = " + Number(poolId) +
                               "\n\tDB Err Code = " + Number(poolDB.getErrorCode()) + "\n\tTran = 0x" +
                               steps::TranHandle(tran),
                           ProgNameDeletes, Fn, __LINE__);

    ret.errMsg = "";
    m_LogMsg << "\tRV Scratch volume pool with ID " << poolId << " was removed from DB";
    WriteLogMsg(ProgNameDeletes, Fn, __LINE__, MSG);
    return true;
}
