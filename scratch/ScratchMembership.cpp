// Membership of scratch pools: an SNR volume put into a pool or moved from
// its pool (with its snap parameters from the pool's engine), a scratch
// volume taken out of its pool, and the pool's count of available volumes,
// with the two inline request cases at the bottom.
#include "scratch/ScratchMembership.h"

#include <string>

#include "cleanup/SnapshotCleanup.h"
#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "host/db/PolicyTables.h"
#include "host/db/ReplicaTables.h"
#include "host/db/SNRTables.h"
#include "policies/VolSnapParams.h"
#include "scratch/EngineParams.h"
#include "scratch/ScratchCases.h"
#include "scratch/ScratchLookups.h"
#include "scratch/ScratchPools.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"
#include "service/TranHandle.h"
#include "service/TransactionBeforeLock.h"
#include "snr/DeviceQueries.h"
#include "snr/SNREntityRecords.h"
#include "snr/SNRVolumeById.h"

namespace {

std::string Number(long long value) { return std::to_string(value); }

// Pools of Type 2 and 3 hold only volumes of type 3 and may lie on another
// host than their volumes.
bool IsNASPool(int poolType) { return poolType == 2 || poolType == 3; }

// Whether a pool of the type takes a volume of the type.
bool Compatible(int poolType, int volumeType)
{
    if (poolType == 0 || volumeType == 0) return false;
    if (poolType == 1) return volumeType != 2;
    if (IsNASPool(poolType)) return volumeType == 3;
    return true;
}

// The engine type whose first engine a new member of a Type 2 or 3 pool
// takes.
const int kNASEngineType = 5;

// The minor event of a new member whose block filter could not be switched
// on, and the failure of the switch on the client, which raises none.
const unsigned int kBlockFilterNotEnabledEvent = 0x3900006b;
const int kClientFilterRefused = kErrClientOperation;

// Writes a pool's two counters in the caller's transaction.
bool WriteCounters(CRVScratchVolumePoolDB& poolDB, int poolId, int total, int available, DBtran* tran,
                   std::string& set)
{
    set = "TotalVolumes = " + Number(total) + ", AvailableVolumes = " + Number(available);
    return poolDB.Update(poolId, set.c_str(), tran);
}

}  // namespace

// ---- Adding and moving -------------------------------------------------------------

bool ReplicationMgr::AddRVScratchVol(const AddRVScratchVolumeArgs_t& args, AddRVScratchVolumeRet_t& ret,
                                     DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::AddRVScratchVol()";
    const int poolId = args.poolId;
    const int volumeId = args.SNRVolumeId;
    const std::string ids = "\n\tScratch Pool ID = " + Number(poolId) + "\n\tSNR Volume ID = " + Number(volumeId);
    const std::string tranText = "\n\tTran = 0x" + steps::TranHandle(tran);
    auto fail = [&](const std::string& text, const std::string& details, long line) {
        return steps::Fail(*this, ret, 0, text, details + ids, ProgNameInserts, Fn, line);
    };

    if (poolId <= 0 || volumeId <= 0)
        return fail("Cannot add a scratch volume to the database with an invalid volume or scratch volume pool", "",
                    __LINE__);

    CRVScratchVolumePoolDB poolDB;
    YBScratchPool_t pool;
    if (!poolDB.getInfo(poolId, pool, tran))
        return fail("cannot access scratch volume pool information from the database",
                    "\n\tCRVScratchVolumePoolDB::getInfo() failed\n\tDB Err Code = " + Number(poolDB.getErrorCode()) +
                        tranText,
                    __LINE__);

    QuerySNRVolumeByIdV4Args_t volumeArgs;
    volumeArgs.snrVolumeId = volumeId;
    QuerySNRVolumeByIdV4Ret_t volume;
    if (!QuerySNRVolume(volumeArgs, volume, nullptr)) {
        ret.errMsg = "Error detected checking scratch volume type";
        return false;
    }
    if (!Compatible(pool.Type, volume.volume.VolType))
        return fail("Scratch pool and scratch volume are not compatible",
                    "\n\tScratch Pool type  = " + Number(pool.Type) + "\n\tVolume type        = " +
                        Number(volume.volume.VolType),
                    __LINE__);

    ret.scratchVolumeId = -1;
    CRVScratchVolumeDB scratchDB;
    YBScratchVolume_t member;
    unsigned int members = 0;
    {
        YBScratchVolume_t* rows = nullptr;
        const std::string where = "PhysicalVolumeId = " + Number(volumeId);
        if (!scratchDB.getList(rows, members, where.c_str(), "id ASC", nullptr)) {
            scratchDB.deleteList(rows);
            return fail("Could not get scratch volume information from the database",
                        "\n\tCRVScratchVolumeDB::getList() failed\n\tsWhere = " + where + "\n\tDB Err Code = " +
                            Number(scratchDB.getErrorCode()),
                        __LINE__);
        }
        if (members > 0) member = rows[0];
        scratchDB.deleteList(rows);
    }

    // A pool's members lie on one host, except in pools of Type 2 and 3.
    if (pool.TotalVolumes != 0) {
        GetClientIdByPoolIdArgs_t hostArgs;
        hostArgs.poolId = poolId;
        GetClientIdByPoolIdRet_t poolHost;
        if (!GetClientIdByPoolId(hostArgs, poolHost, tran))
            return fail("Unable to find the host associated with the scratch pool", "", __LINE__);
        QuerySNRVolDevNameBySNRVolIdV3Args_t devArgs;
        devArgs.SNRVolumeId = volumeId;
        QuerySNRVolDevNameBySNRVolIdV3Ret_t devices;
        if (!QuerySNRVolDev(devArgs, devices))
            return fail("Unable to find the host associated with the scratch volume", "", __LINE__);
        if (devices.devices.empty()) return fail("No host is associated with the scratch volume", "", __LINE__);
        if (devices.devices.size() > 1)
            return fail("More than host is associated with the scratch volume",
                        "\n\tNHosts             = " + Number(devices.devices.size()), __LINE__);
        if (!IsNASPool(pool.Type) && poolHost.clientId != devices.devices[0].ClientId)
            return fail("Scratch volume's host and scratch volume pool's host are different",
                        "\n\tPool Client ID = " + Number(poolHost.clientId) + "\n\tVolume Client ID = " +
                            Number(devices.devices[0].ClientId),
                        __LINE__);
    }

    int oldEngine = 0;
    std::string set;
    if (members > 0) {
        CSNRVolumeDB volumeDB;
        YBPhysicalVolume_t row;
        if (!volumeDB.getInfo(volumeId, row, tran))
            return fail("Cannot check locking status of scratch volume",
                        "\n\tCSNRVolumeDB::getInfo() failed\n\tDB Err Code = " + Number(volumeDB.getErrorCode()),
                        __LINE__);
        if (row.Flags & SNRVOL_FLAG_LOCKED)
            return fail("Cannot move scratch volume to another pool because is still locked",
                        "\n\tFlags = " + Number(row.Flags), __LINE__);
        ret.scratchVolumeId = member.id;
        const int oldPoolId = member.RVScratchVolumePoolId;

        CReplicationVolumeDB replicaDB;
        unsigned int replicas = 0;
        const std::string usedWhere = "RVScratchVolumeId = " + Number(member.id);
        if (!replicaDB.getNRows(usedWhere.c_str(), replicas, nullptr))
            return fail("Cannot access YB Volume information from the database",
                        "\n\tCReplicationVolumeDB::getNRows() failed\n\tsWhere = " + usedWhere + "\n\tDB Err Code = " +
                            Number(replicaDB.getErrorCode()),
                        __LINE__);
        if (replicas > 0)
            return fail("Volume is already reserved in a YB volume", "\n\tNumber of YB volumes:" + Number(replicas),
                        __LINE__);

        const std::string moveTo = "RVScratchVolumePoolId = " + Number(poolId);
        if (!scratchDB.Update(member.id, moveTo.c_str(), tran))
            return fail("Cannot update scratch volume information in the database",
                        "\n\tCRVScratchVolumeDB::Update() failed\n\tsUpdate = " + moveTo + "\n\tDB Err Code = " +
                            Number(scratchDB.getErrorCode()) + tranText,
                        __LINE__);

        YBScratchPool_t oldPool;
        if (!poolDB.getInfo(oldPoolId, oldPool, tran))
            return fail("Cannot access scratch volume pool information from the database",
                        "\n\tOld Scratch Pool ID = " + Number(oldPoolId) + "\n\tDB Err Code = " +
                            Number(poolDB.getErrorCode()),
                        __LINE__);
        oldEngine = oldPool.SnapEngineInfoId;
        if (!WriteCounters(poolDB, oldPoolId, oldPool.TotalVolumes - 1, oldPool.AvailableVolumes - 1, tran, set))
            return fail("Cannot update scratch volume pool table information",
                        "\n\tsUpdate = " + set + "\n\tDB Err Code = " + Number(poolDB.getErrorCode()) + tranText,
                        __LINE__);
        m_LogMsg << "\tSNR volume " << volumeId << " was removed from pool with ID " << oldPoolId;
        WriteLogMsg(ProgNameInserts, Fn, __LINE__, MSG);
    } else {
        YBScratchVolume_t row;
        row.PhysicalVolumeId = volumeId;
        row.RVScratchVolumePoolId = poolId;
        row.Flags = 0;
        row.LockedByJobId = 0;
        if (!scratchDB.insert(row, tran))
            return fail("Cannot include new scratch volume pool into the database",
                        "\n\tCRVScratchVolumeDB::insert() failed\n\tDB Err Code = " + Number(scratchDB.getErrorCode()) +
                            tranText,
                        __LINE__);
        ret.scratchVolumeId = row.id;
    }

    // Read again: a move within the pool has just written it.
    if (!poolDB.getInfo(poolId, pool, tran))
        return fail("cannot access scratch volume pool information from the database",
                    "\n\tDB Err Code = " + Number(poolDB.getErrorCode()), __LINE__);
    if (!WriteCounters(poolDB, poolId, pool.TotalVolumes + 1, pool.AvailableVolumes + 1, tran, set))
        return fail("Cannot update volume counters of the scratch volume pool in the database",
                    "\n\tsUpdate = " + set + "\n\tDB Err Code = " + Number(poolDB.getErrorCode()) + tranText, __LINE__);

    QueryRVScratchVolPoolV3Args_t poolArgs;
    poolArgs.poolId = poolId;
    QueryRVScratchVolPoolV3Ret_t poolRecord;
    if (!QueryRVScratchVolPool(poolArgs, poolRecord, tran)) {
        ret.errMsg = poolRecord.errMsg;
        return false;
    }
    const int poolType = poolRecord.record.Type;
    const int engineValue =
        (members == 0 && IsNASPool(poolType)) ? kNASEngineType : poolRecord.record.SnapEngineInfoId;

    if (engineValue != 0) {
        if (!SetMemberSnapParams(volumeId, engineValue, IsNASPool(poolType), oldEngine != 0, ret, tran))
            return false;
    } else if (oldEngine != 0) {
        RemoveVolSnapParamArgs_t removeArgs;
        removeArgs.SNRVolumeId = volumeId;
        RemoveVolSnapParamRet_t removed;
        if (!RemoveVolSnapParam(removeArgs, removed, tran)) {
            ret.errMsg = removed.errMsg;
            return false;
        }
    }

    // Never fails the add.
    if (members == 0 && volume.volume.VolType == 1) EnableBlockFilter(ret.scratchVolumeId, volumeId, poolId);

    ret.errMsg = "";
    m_LogMsg << "\tScratch Volume ID " << ret.scratchVolumeId << " using SNR Volume with ID " << volumeId
             << " was added to pool with ID " << poolId;
    WriteLogMsg(ProgNameInserts, Fn, __LINE__, MSG);
    return true;
}

bool ReplicationMgr::SetMemberSnapParams(int volumeId, int engineValue, bool byEngineType, bool rewrite,
                                         AddRVScratchVolumeRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::AddRVScratchVol()";
    auto fail = [&](const std::string& text, const std::string& details, long line) {
        return steps::Fail(*this, ret, 0, text, details + "\n\tSNR Volume ID = " + Number(volumeId), ProgNameInserts,
                           Fn, line);
    };
    auto engineLookupFailed = [&](int code, const std::string& details, long line) {
        return fail(code == DB_NO_MORE_ROWS ? "Snap Engine info record could not be found"
                                            : "Could not get the snap engine information from the database",
                    details + "\n\tDB Err Code = " + Number(code), line);
    };

    CSnapEngineInfoDB engineDB;
    YBSnapEngineInfo_t engine;
    if (!byEngineType) {
        if (!engineDB.getInfo(engineValue, engine, tran))
            return engineLookupFailed(engineDB.getErrorCode(), "\n\tSnap Engine ID = " + Number(engineValue), __LINE__);
    } else {
        YBSnapEngineInfo_t* engines = nullptr;
        unsigned int count = 0;
        const std::string where = "Type = " + Number(engineValue);
        if (!engineDB.getList(engines, count, where.c_str(), "id ASC", tran)) {
            engineDB.deleteList(engines);
            return engineLookupFailed(engineDB.getErrorCode(), "\n\tSWhere = " + where, __LINE__);
        }
        if (count > 0) engine = engines[0];
        engineDB.deleteList(engines);
        if (count == 0)
            return fail("No entries found for SnapVault/SnapMirror engine",
                        "\n\tNEngines = " + Number(count) + "\n\tSWhere = " + where, __LINE__);
        if (count > 1)
            steps::Warn(*this, "Multiple Snap engines found for SnapVault/SnapMirror. Picking the first one",
                        "\n\tNEngines = " + Number(count), ProgNameInserts, Fn, __LINE__);
    }

    CVolumeSnapParamsDB paramsDB;
    if (rewrite) {
        const std::string clause = scratch_detail::EngineCommandsClause(engine);
        if (!paramsDB.Update(volumeId, clause.c_str(), tran)) {
            const int code = paramsDB.getErrorCode();
            return fail(code == DB_NO_MORE_ROWS ? "Volume Snap parameters could not be found"
                                                : "Could not update volume snap parameters information from database",
                        "\n\tsUpdate = " + EvDebug::escaped(clause) + "\n\tDB Err Code = " + Number(code), __LINE__);
        }
        return true;
    }

    CSNRVolumeDeviceNameDB deviceDB;
    YBPhysicalDevice_t* devices = nullptr;
    unsigned int nDevices = 0;
    const std::string deviceWhere = "SNRVolumeId = " + Number(volumeId);
    if (!deviceDB.getList(devices, nDevices, deviceWhere.c_str(), "id ASC", tran)) {
        deviceDB.deleteList(devices);
        const int code = deviceDB.getErrorCode();
        return fail(code == DB_NO_MORE_ROWS ? "Cannot determine which host is using a scratch volume"
                                            : "Could not get device information from the database",
                    "\n\tsWhere = " + deviceWhere + "\n\tDB Err Code = " + Number(code), __LINE__);
    }
    const int clientId = nDevices == 1 ? devices[0].ClientId : 0;
    deviceDB.deleteList(devices);
    if (nDevices == 0) return fail("Volume cannot be accessed by any host", "\n\tsWhere = " + deviceWhere, __LINE__);
    if (nDevices > 1) return fail("Volume can be accessed by two or more hosts", "\n\tDevs = " + Number(nDevices), __LINE__);

    YBVolSnapParams_t params = scratch_detail::MemberSnapParams(volumeId, engine.id, clientId, engine);
    if (!paramsDB.insert(params, tran))
        return fail("Cannot include new volume snap parameters into the database",
                    "\n\tCVolumeSnapParamsDB::insert() failed\n\tDB Err Code = " + Number(paramsDB.getErrorCode()),
                    __LINE__);
    m_LogMsg << "\tVolume Snap parameters (destination snapshot) for SNR Volume " << volumeId << " were added";
    WriteLogMsg(ProgNameInserts, Fn, __LINE__, MSG);
    return true;
}

void ReplicationMgr::EnableBlockFilter(int scratchVolumeId, int volumeId, int poolId)
{
    static const char Fn[] = "ReplicationMgr::AddRVScratchVol()";
    QuerySNRVolDevNameBySNRVolIdV3Args_t devArgs;
    devArgs.SNRVolumeId = volumeId;
    QuerySNRVolDevNameBySNRVolIdV3Ret_t devices;
    bool raise = true;
    if (QuerySNRVolDev(devArgs, devices)) {
        if (devices.devices.size() == 1) {
            YBSetBlkFilterArgs_t filterArgs(devices.devices[0].ClientId);
            filterArgs.EnableVolumes.push_back(devices.devices[0].DeviceName);
            YBSetBlkFilterRet_t filter;
            // A refusal of the client itself has been logged and needs no event.
            raise = !SetBlkFilterVolumes(filterArgs, filter) && filter.errCode != kClientFilterRefused;
        } else {
            m_LogMsg << "\tWarning: Block filter driver was not enabled on the volume"
                     << "\n\tReason: Zero or more than one host is accessing the scratch volume."
                     << "\n\tScratch Volume ID = " << scratchVolumeId << "\n\tSNR Volume ID = " << volumeId
                     << "\n\tScratch Pool ID = " << poolId << "\n\tNHosts         = " << devices.devices.size();
            WriteLogMsg(ProgNameInserts, Fn, __LINE__, MSG);
        }
    }
    if (raise) {
        EvEvent event;
        event << volumeId;
        event.MinorEvent(kBlockFilterNotEnabledEvent, 0, 0);
    }
}

// ---- Removing --------------------------------------------------------------------------

bool ReplicationMgr::RemoveRVScratchVol(const RemoveRVScratchVolumeArgs_t& args, RemoveRVScratchVolumeRet_t& ret,
                                        DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::RemoveRVScratchVol()";
    const int id = args.scratchVolumeId;
    const std::string tranText = "\n\tTran = 0x" + steps::TranHandle(tran);
    auto fail = [&](const std::string& text, const std::string& details, long line) {
        return steps::Fail(*this, ret, 0, text, details + "\n\tScratch Volume ID = " + Number(id), ProgNameDeletes, Fn,
                           line);
    };

    if (id <= 0) return fail("Cannot remove the scratch volume to the database with invalid id", "", __LINE__);

    CRVScratchVolumeDB scratchDB;
    YBScratchVolume_t member;
    if (!scratchDB.getInfo(id, member, tran))
        return fail("cannot access scratch volume information from the database",
                    "\n\tCRVScratchVolumeDB::getInfo() failed\n\tDB Err Code = " + Number(scratchDB.getErrorCode()) +
                        tranText,
                    __LINE__);
    const int volumeId = member.PhysicalVolumeId;

    QuerySNRVolumeByIdV4Args_t volumeArgs;
    volumeArgs.snrVolumeId = volumeId;
    QuerySNRVolumeByIdV4Ret_t volume;
    if (!QuerySNRVolume(volumeArgs, volume, nullptr)) {
        ret.errMsg = volume.errMsg;
        return false;
    }
    if (volume.volume.Allocated)
        return fail("Scratch volume cannot be deleted if it's still reserved by the schedule", "", __LINE__);

    CReplicationVolumeDB replicaDB;
    unsigned int replicas = 0;
    const std::string usedWhere = "RVScratchVolumeId = " + Number(id) + " OR SnapVolumeId = " + Number(volumeId);
    if (!replicaDB.getNRows(usedWhere.c_str(), replicas, tran))
        return fail("Cannot access YB volume information from the database",
                    "\n\tsWhere = " + usedWhere + "\n\tDB Err Code = " + Number(replicaDB.getErrorCode()), __LINE__);
    if (replicas > 0)
        return fail("Cannot remove scratch volume that it is associated with a YB volume",
                    "\n\tNRows = " + Number(replicas), __LINE__);

    CSNRVolumeDB volumeDB;
    YBPhysicalVolume_t row;
    if (!volumeDB.getInfo(volumeId, row, tran))
        return fail("cannot access volume information from database",
                    "\n\tDB Err Code = " + Number(volumeDB.getErrorCode()), __LINE__);
    if (row.Flags & SNRVOL_FLAG_LOCKED)
        return fail("Cannot remove scratch volume because is still locked", "\n\tFlags = " + Number(row.Flags),
                    __LINE__);

    CRVScratchVolumePoolDB poolDB;
    YBScratchPool_t pool;
    const int poolId = member.RVScratchVolumePoolId;
    if (!poolDB.getInfo(poolId, pool, tran))
        return fail("cannot access scratch volume pool information from the database",
                    "\n\tScratch Pool ID = " + Number(poolId) + "\n\tDB Err Code = " + Number(poolDB.getErrorCode()),
                    __LINE__);
    std::string set;
    if (!WriteCounters(poolDB, poolId, pool.TotalVolumes - 1, pool.AvailableVolumes - 1, tran, set))
        return fail("cannot update scratch volume pool information in the database",
                    "\n\tsUpdate = " + set + "\n\tDB Err Code = " + Number(poolDB.getErrorCode()) + tranText, __LINE__);

    if (!scratchDB.remove(id, tran))
        return fail("cannot remove scratch volume record from the database",
                    "\n\tDB Err Code = " + Number(scratchDB.getErrorCode()) + tranText, __LINE__);

    // Its snap parameters as a scratch volume go with it, whatever keeps
    // the volume; other parameters only as the pool's engine gave them.
    CVolumeSnapParamsDB paramsDB;
    YBVolSnapParams_t params;
    const bool hasParams = paramsDB.getInfo(volumeId, params, tran);
    if (!hasParams && paramsDB.getErrorCode() != DB_NO_MORE_ROWS)
        return fail("Cannot access volume snap parameters information from the database",
                    "\n\tCVolumeSnapParamsDB::getInfo() failed\n\tSNR Volume ID = " + Number(volumeId) +
                        "\n\tDB Err Code = " + Number(paramsDB.getErrorCode()) + tranText,
                    __LINE__);
    if (hasParams && (params.Flags & VOLSNAP_FLAG_BIT1) != 0) {
        if (!paramsDB.remove(volumeId, tran))
            return fail("Cannot remove volume snap parameters info from the database",
                        "\n\tCVolumeSnapParamsDB::remove() failed\n\tSNR Volume ID = " + Number(volumeId) +
                            "\n\tDB Err Code = " + Number(paramsDB.getErrorCode()) + tranText,
                        __LINE__);
        m_LogMsg << "\tScratch volume snap parameters of SNR Volume " << volumeId << " were removed from DB";
        WriteLogMsg(ProgNameDeletes, Fn, __LINE__, MSG);
    } else if (pool.SnapEngineInfoId != 0 || IsNASPool(pool.Type)) {
        RemoveVolSnapParam42Args_t removeArgs;
        removeArgs.SNRVolumeId = volumeId;
        RemoveVolSnapParam42Ret_t removed;
        if (!RemoveVolSnapParam(removeArgs, removed, tran) && removed.errCode != kErrNotFound) {
            ret.errMsg = removed.errMsg;
            return false;
        }
    }

    ret.errMsg = "";
    m_LogMsg << "\tRV Scratch volume " << id << " was removed from DB";
    WriteLogMsg(ProgNameDeletes, Fn, __LINE__, MSG);
    return true;
}

// ---- The available counter -------------------------------------------------------------

bool ReplicationMgr::UpdateAvailVolPoolCounter(const UpdateAvailVolPoolCounterArgs_t& args,
                                               UpdateAvailVolPoolCounterRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::UpdateAvailVolPoolCounter()";
    const int volumeId = args.SNRVolumeId;
    const int operation = args.operation;
    const std::string params = "\n\tParameters used:\n\tSNR Volume ID = " + Number(volumeId) +
                               "\n\tOperation = " + Number(operation);

    if (operation == POOL_COUNTER_NONE)
        return steps::Fail(*this, ret, kErrInternal,
                           "Internal Error: Available volume pool counter operation not specified", params,
                           ProgNameUpdates, Fn, __LINE__);
    // Neither an increment nor a decrement: refused before anything is read.
    if (operation != POOL_COUNTER_INCREMENT && operation != POOL_COUNTER_DECREMENT)
        return steps::Fail(*this, ret, kErrInternal, "Internal Error: Unknown available volume pool counter operation",
                           params + "\n\tReason: Unknown opearation found", ProgNameUpdates, Fn, __LINE__);
    if (volumeId <= 0)
        return steps::Fail(*this, ret, kErrInvalidId,
                           "Internal Error: Cannot udpate scratch volume pool available volume counter with "
                           "invalid id",
                           params, ProgNameUpdates, Fn, __LINE__);

    // The counter is read and written back in one transaction, so that two
    // changes of one pool's counter never lose one another.
    if (tran == nullptr)
        return RunWithTransactionBeforeLock(ret,
                                            [&](DBtran* own) { return UpdateAvailVolPoolCounter(args, ret, own); });

    QueryRVScratchVolBySNRVolIdArgs_t scratchArgs;
    scratchArgs.SNRVolumeId = volumeId;
    QueryRVScratchVolBySNRVolIdRet_t scratch;
    if (!QueryRVScratchVolBySNRVolId(scratchArgs, scratch, tran)) {
        ret.errMsg = scratch.errMsg;
        ret.errCode = kErrNestedCall;
        return false;
    }
    const int poolId = scratch.record.RVScratchVolumePoolId;
    if (poolId == 0) {
        ret.errCode = kErrInternal;
        m_LogMsg << "\tEvent: " << ret.errMsg << params << "\n\tReason: Cannot update counter in RV scratch volume pool id 0";
        WriteLogMsg(ProgNameUpdates, Fn, __LINE__, ERR);
        return false;
    }

    CRVScratchVolumePoolDB poolDB;
    YBScratchPool_t pool;
    if (!poolDB.getInfo(poolId, pool, tran))
        return steps::Fail(
            *this, ret, kErrDatabase, "Cannot get scratch volume pool available volume information from database",
            params + "\n\tScratch Pool ID = " + Number(poolId) + "\n\tDB Err Code = " + Number(poolDB.getErrorCode()),
            ProgNameUpdates, Fn, __LINE__);
    if (operation == POOL_COUNTER_DECREMENT && pool.AvailableVolumes <= 0)
        return steps::Fail(*this, ret, kErrInternal,
                           "Internal Error: Invalid value for scratch volume pool available counter",
                           params + "\n\tScratch Pool ID = " + Number(poolId) +
                               "\n\tAvailable Volumes = " + Number(pool.AvailableVolumes),
                           ProgNameUpdates, Fn, __LINE__);

    const int available = pool.AvailableVolumes + (operation == POOL_COUNTER_INCREMENT ? 1 : -1);
    const std::string set = "AvailableVolumes = " + Number(available);
    if (!poolDB.Update(poolId, set.c_str(), tran))
        return steps::Fail(*this, ret, kErrDatabase, "Could not update scratch volume pool information from database",
                           params + "\n\tsUpdate = " + set + "\n\tDB Err Code = " + Number(poolDB.getErrorCode()) +
                               "\n\tTran = 0x" + steps::TranHandle(tran),
                           ProgNameUpdates, Fn, __LINE__);

    ret.availableVolumes = available;
    ret.errMsg = "";
    m_LogMsg << "\tRV Scratch volume pool " << poolId << " has been "
             << (operation == POOL_COUNTER_INCREMENT ? "incremented" : "decremented");
    WriteLogMsg(ProgNameUpdates, Fn, __LINE__, MSG);
    return true;
}

// ---- Inline request cases ------------------------------------------------------------------

namespace {

void ServeAddRVScratchVol(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    const repAddRVScratchVolumeReq& req = cases::RequestOf<repAddRVScratchVolumeReq>(buf);
    AddRVScratchVolumeArgs_t args;
    args.poolId = static_cast<int32_t>(req.poolId);
    args.SNRVolumeId = static_cast<int32_t>(req.SNRVolumeId);
    AddRVScratchVolumeRet_t ret;
    AnswerInlineTranCase<repAddRVScratchVolumeResponse>(
        mgr, code, ret, cases::Order::B, cases::Message::Copy,
        [&](DBtran* tran) { return mgr.AddRVScratchVol(args, ret, tran); },
        [&](repAddRVScratchVolumeResponse& r) { r.scratchVolumeId = static_cast<uint32_t>(ret.scratchVolumeId); });
}

void ServeRemoveRVScratchVol(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    RemoveRVScratchVolumeArgs_t args;
    args.scratchVolumeId = static_cast<int32_t>(cases::RequestOf<repRemoveRVScratchVolumeReq>(buf).scratchVolumeId);
    RemoveRVScratchVolumeRet_t ret;
    AnswerInlineTranCase<repRemoveRVScratchVolumeResponse>(
        mgr, code, ret, cases::Order::B, cases::Message::Copy,
        [&](DBtran* tran) { return mgr.RemoveRVScratchVol(args, ret, tran); });
}

}  // namespace

const ServedCase AddRVScratchVolCase =
    cases::Serve<repAddRVScratchVolumeReq, repAddRVScratchVolumeResponse>(&ServeAddRVScratchVol);
const ServedCase RemoveRVScratchVolCase =
    cases::Serve<repRemoveRVScratchVolumeReq, repRemoveRVScratchVolumeResponse>(&ServeRemoveRVScratchVol);
