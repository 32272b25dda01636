// Scratch volume lookups: the scratch volume of an SNR volume (with the test
// whether a replication volume uses it), a scratch volume by id, the SNR
// volumes of a pool that are free to take, the client of a pool's volumes
// and the cost category of a pool's volumes, with their request handler and
// inline cases at the bottom.
#include "scratch/ScratchLookups.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "host/db/DBtable.h"
#include "host/db/ReplicaTables.h"
#include "host/db/SNRTables.h"
#include "scratch/PoolContents.h"
#include "service/ReplyArray.h"
#include "scratch/ScratchCases.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"
#include "service/Utils.h"
#include "snr/SNRVolumeUpdate.h"

namespace {

// The SNR volume flag that keeps a pool's volume off the list of volumes
// free to take.
const int32_t kUnavailableVolumeFlag = 0x4;

std::string Number(long long value) { return std::to_string(value); }

// The where of the members of a pool.
std::string PoolMembers(int poolId) { return "RVScratchVolumePoolId = " + Number(poolId); }

// The where of the SNR volumes of the members of a pool.
std::string VolumesOfPool(int poolId)
{
    return "id IN (SELECT PhysicalVolumeId FROM YBScratchVolume WHERE " + PoolMembers(poolId) + ")";
}

}  // namespace

template <typename Args, typename Ret>
bool ReplicationMgr::QueryRVScratchVolBySNRVolIdDB(const Args& args, Ret& ret, DBtran* tran, bool* inUse)
{
    static const char Fn[] = "ReplicationMgr::QueryRVScratchVolBySNRVolIdDB()";
    const int volumeId = args.SNRVolumeId;

    if (volumeId <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Invalid Volume identifier",
                           "\n\tParameters used:\n\tSNR Volume Id = " + Number(volumeId), ProgNameQueries, Fn,
                           __LINE__);

    CRVScratchVolumeDB scratchDB;
    YBScratchVolume_t* rows = nullptr;
    unsigned int count = 0;
    const std::string where = "PhysicalVolumeId = " + Number(volumeId);
    if (!scratchDB.getList(rows, count, where.c_str(), "id ASC", tran)) {
        scratchDB.deleteList(rows);
        // A failed read answers -4, not whatever code the result held.
        return steps::Fail(*this, ret, kErrDatabase, "Cannot access scratch volume information from the database",
                           "\n\tCRVScratchVolumeDB::getList() failed\n\tParameters used:\n\tsWhere = " + where +
                               "\n\tDB Err Code = " + Number(scratchDB.getErrorCode()),
                           ProgNameQueries, Fn, __LINE__);
    }
    if (count != 1) {
        scratchDB.deleteList(rows);
        if (count == 0)
            return steps::Fail(*this, ret, kErrNotFound, "Could not find scratch volume information in the database",
                               "\n\tParameters used:\n\tsWhere = " + where, ProgNameQueries, Fn, __LINE__);
        return steps::Fail(*this, ret, kErrNotUnique,
                           "Multiple Scratch volume records found for this Volume. Check database",
                           "\n\tNRows = " + Number(count) + "\n\tsWhere = " + where, ProgNameQueries, Fn, __LINE__);
    }
    YBSet(ret.record, rows[0]);
    scratchDB.deleteList(rows);
    ret.errMsg = "";

    if (inUse == nullptr) return true;
    CReplicationVolumeDB replicaDB;
    unsigned int users = 0;
    const std::string usedWhere = "RVScratchVolumeId = " + Number(ret.record.id);
    if (!replicaDB.getNRows(usedWhere.c_str(), users, tran))
        return steps::Fail(*this, ret, kErrDatabase, "Cannot access YB Volume information from the database",
                           "\n\tCReplicationVolumeDB::getNRows() failed\n\tParameters used:\n\tsWhere = " + usedWhere +
                               "\n\tDB Err Code = " + Number(replicaDB.getErrorCode()),
                           ProgNameQueries, Fn, __LINE__);
    if (users > 0) *inUse = true;
    return true;
}

bool ReplicationMgr::QueryRVScratchVolBySNRVolId(const QueryRVScratchVolBySNRVolIdArgs_t& args,
                                                 QueryRVScratchVolBySNRVolIdRet_t& ret, DBtran* tran)
{
    return QueryRVScratchVolBySNRVolIdDB(args, ret, tran, nullptr);
}

bool ReplicationMgr::QueryRVScratchVolBySNRVolId(const QueryRVScratchVolBySNRVolIdV2Args_t& args,
                                                 QueryRVScratchVolBySNRVolIdV2Ret_t& ret, DBtran* tran, bool* inUse)
{
    return QueryRVScratchVolBySNRVolIdDB(args, ret, tran, inUse);
}

// Reads outside any transaction, as the lookup by id always has.
bool ReplicationMgr::QueryRVScratchVol(const QueryScratchVolByIdArgs_t& args, QueryScratchVolByIdRet_t& ret, DBtran*)
{
    static const char Fn[] = "ReplicationMgr::QueryRVScratchVol()";
    const int id = args.id;

    if (id <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Invalid scratch volume identifier",
                           "\n\tParameters used:\n\tScratch Volume Id = " + Number(id), ProgNameQueries, Fn, __LINE__);

    CRVScratchVolumeDB scratchDB;
    YBScratchVolume_t row;
    if (!scratchDB.getInfo(id, row, nullptr)) {
        const int code = scratchDB.getErrorCode();
        const bool missing = code == DB_NO_MORE_ROWS;
        return steps::Fail(*this, ret, missing ? kErrNotFound : kErrDatabase,
                           missing ? "Record not found" : "Cannot access user application from the database",
                           "\n\tCRVScratchVolumeDB::getInfo() failed\n\tParameters used:\n\tScratch Volume Id = " +
                               Number(id) + "\n\tDB Err Code = " + Number(code),
                           ProgNameQueries, Fn, __LINE__);
    }
    YBSet(ret.record, row);
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::GetAvailSNRVolByPoolId(const GetAvailVolFromPoolArgs_t& args, GetAvailVolFromPoolRet_t& ret)
{
    static const char Fn[] = "ReplicationMgr::GetAvailSNRVolByPoolId()";
    const int poolId = args.poolId;

    ret.volumeIds.clear();
    if (poolId < 1)
        return steps::Fail(
            *this, ret, kErrInvalidId, "Cannot get list of available volumes with an invalid scratch pool id",
            "\n\tParameters used:\n\tScratch Pool Id = " + Number(poolId), ProgNameQueries, Fn, __LINE__);

    // The members and their SNR volumes read as one state of the catalogue,
    // each table once.
    DBReadView view;
    CRVScratchVolumeDB scratchDB;
    std::vector<int32_t> members;  // their SNR volumes, in scratch volume id order
    const std::string where = PoolMembers(poolId);
    if (!scratchDB.forEach(where.c_str(), "id ASC", nullptr,
                           [&](const YBScratchVolume_t& row) { members.push_back(row.PhysicalVolumeId); }))
        return steps::Fail(*this, ret, kErrDatabase, "Cannot get the list of scratch volumes from the database",
                           "\n\tCRVScratchVolumeDB::getList() failed\n\tParameters used:\n\tsWhere = " + where +
                               "\n\tDB Err Code = " + Number(scratchDB.getErrorCode()),
                           ProgNameQueries, Fn, __LINE__);
    if (members.empty()) {
        ret.errMsg = "";
        return true;
    }

    CSNRVolumeDB volumeDB;
    std::vector<std::pair<int32_t, int32_t>> flags;  // id and Flags of each SNR volume, by id
    const std::string volumesWhere = VolumesOfPool(poolId);
    if (!volumeDB.forEach(volumesWhere.c_str(), "id ASC", nullptr,
                          [&](const YBPhysicalVolume_t& row) { flags.emplace_back(row.id, row.Flags); }))
        return steps::Fail(*this, ret, kErrDatabase, "Cannot check reservation status of the volume",
                           "\n\tCSNRVolumeDB::getList() failed\n\tParameters used:\n\tsWhere = " + volumesWhere +
                               "\n\tDB Err Code = " + Number(volumeDB.getErrorCode()),
                           ProgNameQueries, Fn, __LINE__);
    for (int32_t volumeId : members) {
        auto found = std::lower_bound(flags.begin(), flags.end(), std::make_pair(volumeId, INT32_MIN));
        if (found == flags.end() || found->first != volumeId) {
            ret.volumeIds.clear();
            return steps::Fail(*this, ret, kErrDatabase, "Cannot check reservation status of the volume",
                               "\n\tCSNRVolumeDB::getList() found no row\n\tParameters used:\n\tSNR Volume Id = " +
                                   Number(volumeId) + "\n\tDB Err Code = " + Number(DB_NO_MORE_ROWS),
                               ProgNameQueries, Fn, __LINE__);
        }
        if ((found->second & kUnavailableVolumeFlag) == 0) ret.volumeIds.push_back(volumeId);
    }
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::GetClientIdByPoolId(const GetClientIdByPoolIdArgs_t& args, GetClientIdByPoolIdRet_t& ret,
                                         DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::GetClientIdByPoolId()";
    const int poolId = args.poolId;

    if (poolId <= 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Invalid Scratch volume pool identifier",
                           "\n\tParameters used:\n\tScratch Pool Id = " + Number(poolId), ProgNameQueries, Fn,
                           __LINE__);

    // The first member alone, then the first device of its volume alone.
    CRVScratchVolumeDB scratchDB;
    YBScratchVolume_t first;
    bool found = false;
    const std::string where = PoolMembers(poolId);
    if (!scratchDB.getFirst(first, found, where.c_str(), "id ASC", tran)) {
        const int code = scratchDB.getErrorCode();
        const bool missing = code == DB_NO_MORE_ROWS;
        return steps::Fail(
            *this, ret, missing ? kErrNotFound : kErrDatabase,
            missing ? "No scratch volume record found" : "Could not query Scratch volume pool information",
            "\n\tCRVScratchVolumeDB::getList() failed\n\tParameters used:\n\tsWhere = " + where +
                "\n\tDB Err Code = " + Number(code),
            ProgNameQueries, Fn, __LINE__);
    }
    if (!found)
        return steps::Fail(*this, ret, kErrEmpty, "No scratch volume record found",
                           "\n\tParameters used:\n\tsWhere = " + where, ProgNameQueries, Fn, __LINE__);

    CSNRVolumeDeviceNameDB deviceDB;
    YBPhysicalDevice_t device;
    const std::string deviceWhere = "SNRVolumeId = " + Number(first.PhysicalVolumeId);
    if (!deviceDB.getFirst(device, found, deviceWhere.c_str(), "id ASC", tran)) {
        const int code = deviceDB.getErrorCode();
        const bool missing = code == DB_NO_MORE_ROWS;
        return steps::Fail(*this, ret, missing ? kErrNotFound : kErrDatabase,
                           missing ? "No device name record found" : "Could not query Scratch volume pool information",
                           "\n\tCSNRVolumeDeviceNameDB::getList() failed\n\tParameters used:\n\tsWhere = " +
                               deviceWhere + "\n\tDB Err Code = " + Number(code),
                           ProgNameQueries, Fn, __LINE__);
    }
    if (!found)
        return steps::Fail(*this, ret, kErrNotFound, "No device name record found",
                           "\n\tParameters used:\n\tsWhere = " + deviceWhere, ProgNameQueries, Fn, __LINE__);
    ret.clientId = device.ClientId;
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::UpdateCostToVolsInPool(const UpdateCostCategoryToVolsInPoolArgs_t& args,
                                            UpdateCostCategoryToVolsInPoolRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::UpdateCostToVolsInPool()";
    const int poolId = args.poolId;
    const int64_t costCategoryId = args.costCategoryId;

    // The volumes keep the cost category in 32 bits: a larger id would be
    // stored as another one.
    if (poolId < 1 || costCategoryId < 2 || costCategoryId > INT32_MAX)
        return steps::Fail(*this, ret, kErrMissingInput, "Cost update cannot be peformed with invalid values",
                           "\n\tParameters used:\n\tScratch Pool Id = " + Number(poolId) +
                               "\n\tCost Category Id = " + Number(costCategoryId),
                           ProgNameUpdates, Fn, __LINE__);

    QueryRVScratchVolV3Args_t contentsArgs;
    contentsArgs.poolId = poolId;
    QueryRVScratchVolV3Ret_t contents;
    if (!QueryRVScratchVolInfo(contentsArgs, contents, tran)) {
        ret.errMsg = contents.errMsg;
        ret.errCode = contents.errCode;
        return false;
    }
    // The volumes changed before a failure go back with the caller's rollback.
    for (const SNRVolumeRecordV3_t& volume : contents.volumes) {
        UpdateSNRVolumeV3Args_t update;
        update.id = volume.id;
        update.SetCostCategoryId(static_cast<int>(costCategoryId));
        UpdateSNRVolumeV3Ret_t updated;
        if (!UpdateSNRVolume(update, updated, tran)) {
            ret.errMsg = updated.errMsg;
            ret.errCode = updated.errCode;
            return false;
        }
    }
    ret.errMsg = "";
    return true;
}

// ---- Request handler -----------------------------------------------------------------

// Without a transaction and without the in-use test.
template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::QueryRVScratchVolBySNRVolIdHandler(unsigned long requestCode, unsigned long replyCode,
                                                        zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    args.SNRVolumeId = static_cast<int32_t>(cases::RequestOf<Req>(buf).SNRVolumeId);
    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::QueryRVScratchVolBySNRVolIdHandler()", requestCode, replyCode, false, ret,
        [&](DBtran*) { return QueryRVScratchVolBySNRVolIdDB(args, ret, nullptr, nullptr); },
        [&](Reply& r) { YBSet(r.scratchVolume, ret.record); });
}

// ---- Inline request cases ------------------------------------------------------------

namespace {

void ServeQueryRVScratchVol(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    QueryScratchVolByIdArgs_t args;
    QueryScratchVolByIdRet_t ret;
    args.id = static_cast<int32_t>(cases::RequestOf<repQueryScratchVolumeByIdReq>(buf).id);
    AnswerInlineCase<repQueryScratchVolumeByIdResp>(
        mgr, code, ret, cases::Message::PointIntoResult, [&]() { return mgr.QueryRVScratchVol(args, ret, nullptr); },
        [&](repQueryScratchVolumeByIdResp& r) { YBSet(r.scratchVolume, ret.record); });
}

void ServeGetAvailSNRVolByPoolId(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    GetAvailVolFromPoolArgs_t args;
    GetAvailVolFromPoolRet_t ret;
    args.poolId = static_cast<int32_t>(cases::RequestOf<repGetAvailVolumeFromPoolReq>(buf).poolId);
    AutoFreeMem_t ids;  // freed after the send
    AnswerInlineCase<repGetAvailVolumeFromPoolResp>(
        mgr, code, ret, cases::Message::PointIntoResult, [&]() { return mgr.GetAvailSNRVolByPoolId(args, ret); },
        [&](repGetAvailVolumeFromPoolResp& r) {
            return steps::CopyListToReply(ids, r.volumeIds, r.count, ret.volumeIds);
        },
        "No enough memory to return list of available volumes");
}

void ServeGetClientIdByPoolId(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    GetClientIdByPoolIdArgs_t args;
    GetClientIdByPoolIdRet_t ret;
    args.poolId = static_cast<int32_t>(cases::RequestOf<repGetClientIdByPoolIdReq>(buf).poolId);
    AnswerInlineCase<repGetClientIdByPoolIdResp>(
        mgr, code, ret, cases::Message::PointIntoResult, [&]() { return mgr.GetClientIdByPoolId(args, ret, nullptr); },
        [&](repGetClientIdByPoolIdResp& r) { r.clientId = static_cast<uint32_t>(ret.clientId); });
}

void ServeUpdateCostToVolsInPool(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    const repUpdateCostToVolsInPoolReq& request = cases::RequestOf<repUpdateCostToVolsInPoolReq>(buf);
    UpdateCostCategoryToVolsInPoolArgs_t args;
    args.poolId = static_cast<int32_t>(request.poolId);
    args.costCategoryId = request.costCategoryId;
    UpdateCostCategoryToVolsInPoolRet_t ret;
    AnswerInlineTranCase<repUpdateCostToVolsInPoolResp>(
        mgr, code, ret, cases::Order::B, cases::Message::Copy,
        [&](DBtran* tran) { return mgr.UpdateCostToVolsInPool(args, ret, tran); });
}

}  // namespace

const ServedCase QueryRVScratchVolBySNRVolIdCaseV1 =
    SERVE_HANDLER_CASE(QueryRVScratchVolBySNRVolIdHandler, repQueryRVScratchVolBySNRVolIdReq,
                       repQueryRVScratchVolBySNRVolIdResp, QueryRVScratchVolBySNRVolIdArgs_t,
                       QueryRVScratchVolBySNRVolIdRet_t);
const ServedCase QueryRVScratchVolBySNRVolIdCaseV2 =
    SERVE_HANDLER_CASE(QueryRVScratchVolBySNRVolIdHandler, repQueryRVScratchVolBySNRVolIdV2Req,
                       repQueryRVScratchVolBySNRVolIdV2Resp, QueryRVScratchVolBySNRVolIdV2Args_t,
                       QueryRVScratchVolBySNRVolIdV2Ret_t);
const ServedCase QueryRVScratchVolCase =
    cases::Serve<repQueryScratchVolumeByIdReq, repQueryScratchVolumeByIdResp>(&ServeQueryRVScratchVol);
const ServedCase GetAvailSNRVolByPoolIdCase =
    cases::Serve<repGetAvailVolumeFromPoolReq, repGetAvailVolumeFromPoolResp>(&ServeGetAvailSNRVolByPoolId);
const ServedCase GetClientIdByPoolIdCase =
    cases::Serve<repGetClientIdByPoolIdReq, repGetClientIdByPoolIdResp>(&ServeGetClientIdByPoolId);
const ServedCase UpdateCostToVolsInPoolCase =
    cases::Serve<repUpdateCostToVolsInPoolReq, repUpdateCostToVolsInPoolResp>(&ServeUpdateCostToVolsInPool);
