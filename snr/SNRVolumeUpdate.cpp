// Update of the columns of an SNR volume that its update map chooses, under
// SNRVOL_LOCK: the pool counter kept in step with the reservation bit, the
// history name dropped when protection ends, and the merge of a shared
// disk's volume into the row that already describes the same disk. The
// request handler of the four message versions is at the bottom.
#include "snr/SNRVolumeUpdate.h"

#include <cstring>
#include <string>

#include "host/EvDebug.h"
#include "host/ZXMMDBDeviceInfo.h"
#include "host/db/DBtable.h"
#include "host/db/SNRTables.h"
#include "scratch/ScratchMembership.h"
#include "service/ErrorCodes.h"
#include "service/HeldRows.h"
#include "service/RecordConversion.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/ResultCode.h"
#include "service/SourceNames.h"
#include "service/TableLock.h"
#include "service/TranHandle.h"
#include "service/TransactionBeforeLock.h"
#include "snr/DeviceMaintenance.h"
#include "snr/DeviceQueries.h"
#include "snr/HistoryNames.h"
#include "snr/SNRCases.h"
#include "snr/SNRVolumeIdentity.h"
#include "snr/SNRVolumeReplicas.h"
#include "snr/VolumeReferences.h"

namespace {

const char UpdateSNRVolumeDBFn[] = "ReplicationMgr::UpdateSNRVolumeDB()";
const char OrderById[] = "id ASC";

std::string Number(long long value) { return std::to_string(value); }

// The update map bits that carry one bit of Flags each.
struct FlagOfMap {
    int32_t mapBit;
    int32_t flagBit;
};
const FlagOfMap kFlagsOfMap[] = {
    {YB_PVOL_BACKUP_FROM_SNAP, SNRVOL_FLAG_BACKUP_FROM_SNAP},
    {YB_PVOL_LOCK, SNRVOL_FLAG_LOCKED},
    {YB_PVOL_USE_PERM_REPLICA, SNRVOL_FLAG_USE_PERM_REPLICA},
    {YB_PVOL_TZ_PROTECTED, SNRVOL_FLAG_MORVANE_PROTECTED},
    {YB_PVOL_SHADOW_IMPORTED, SNRVOL_FLAG_SHADOW_IMPORTED},
};

// The identity the update leaves in force: the record's values where the
// map names them (start and count only for a NAS volume), else the stored ones.
template <typename Record>
UniqueYBPhysicalVolume IdentityAfterUpdate(const Record& record, const YBPhysicalVolume_t& stored, int32_t map,
                                           bool nas)
{
    UniqueYBPhysicalVolume identity;
    identity.UniqueId = (map & YB_PVOL_UNIQUE_ID) ? record.UniqueId : YBColumnText(stored.UniqueId);
    identity.UniqueIdType = (map & YB_PVOL_UNIQUE_ID_TYPE) ? record.UniqueIdType : stored.UniqueIdType;
    identity.LUN = (map & YB_PVOL_LUN) ? record.LUN : stored.LUN;
    identity.BlockCount = (nas && (map & YB_PVOL_BLOCK_COUNT)) ? record.BlockCount : stored.BlockCount;
    identity.StartLBA = (nas && (map & YB_PVOL_START_LBA)) ? record.StartLBA : stored.StartLBA;
    return identity;
}

// The SET text: "Flags = " + flags, then one item per map bit in column
// order with the values of the converted row; start and count only for a
// NAS volume.
std::string VolumeUpdateText(int32_t map, bool nas, int32_t flags, const YBPhysicalVolume_t& row)
{
    std::string set = "Flags = " + Number(flags);
    if (map & YB_PVOL_UNIQUE_ID) set += ", UniqueId = '" + SqlEscape(YBColumnText(row.UniqueId)) + "'";
    if (map & YB_PVOL_UNIQUE_ID_TYPE) set += ", UniqueIdType = " + Number(row.UniqueIdType);
    if (map & YB_PVOL_LUN) set += ", LUN = " + Number(row.LUN);
    if (map & YB_PVOL_FSTYPE) set += ", FSType = '" + SqlEscape(YBColumnText(row.FSType)) + "'";
    if (map & YB_PVOL_UNIQUE_SNAP_ID)
        set += ", UniqueSnapshotID ='" + SqlEscape(YBColumnText(row.UniqueSnapshotID)) + "'";
    if (map & YB_PVOL_TZSTATE) set += ", TzState = " + Number(row.TzState);
    if (map & YB_PVOL_APPLIANCE_ID) set += ", ApplianceId =" + Number(row.ApplianceId);
    if (map & YB_PVOL_COST_ID) set += ", CostCategoryId = " + Number(row.CostCategoryId);
    if (map & YB_PVOL_TYPE) set += ", Type = " + Number(row.Type);
    if (nas && (map & YB_PVOL_BLOCK_COUNT)) set += ",  BlockCount = " + Number(row.BlockCount);
    if (nas && (map & YB_PVOL_START_LBA)) set += ",  StartLBA = " + Number(row.StartLBA);
    return set;
}

// Moves every device of the volume to its twin and removes the volume's
// row with its snap parameters and stored files, in the caller's
// transaction; refused while a scratch volume or a replication volume names
// the volume. The rollback puts back both volumes and every device when a
// step fails. The twin row itself is not changed.
template <typename Ret>
bool MergeIntoTwin(ReplicationMgr& mgr, Ret& ret, int id, int twinId, const std::string& where, DBtran* tran)
{
    const char* Fn = UpdateSNRVolumeDBFn;
    bool inUse = false;
    ZXMMDBDeviceInfo deviceInfo;
    if (deviceInfo.isSNRPartitionBeingUsed(id, inUse) != 0) {
        const std::string text = "Could not check if volume is being used";
        return steps::Refuse(mgr, ret, kErrController, text,
                             "\tEvent: " + text + "\n\tZXMMDBDeviceInfo::isSNRPartitionBeingUsed() failed" +
                                 "\n\tInput Parameters:" + "\n\tSNRVolumeId = " + Number(id),
                             ProgNameUpdates, UpdateSNRVolumeDBFn, __LINE__);
    }
    if (inUse) {
        const std::string text = "Cannot delete volume because is being used as a storage device";
        return steps::Refuse(mgr, ret, kErrInUse, text, "\tEvent: " + text + "\n\tSNRVolumeId  = " + Number(id),
                             ProgNameUpdates, UpdateSNRVolumeDBFn, __LINE__);
    }

    // Nothing may be left naming the volume that goes: scratch volumes and
    // replication volumes refuse the merge; its devices move below.
    for (steps::VolumeUser kind : {steps::VolumeUser::ScratchVolume, steps::VolumeUser::ReplicationVolume})
        if (steps::CheckVolumeUsers(mgr, ret, steps::WhileNamed::Refuse, kErrAlreadyExists, kind, id, tran,
                                    ProgNameUpdates, Fn) != steps::Named::No)
            return false;

    mgr.log() << "\tEvent: A shared disk volume has been found with this information"
              << "\n\tsWhere = " << EvDebug::escaped(where) << "\n\tId of that volume is " << twinId
              << "\n\tLooking for devices using the old volume id " << id;
    mgr.WriteLogMsg(ProgNameUpdates, Fn, __LINE__, ReplicationMgr::MSG);

    QuerySNRVolDevNameBySNRVolIdV3Args_t devicesArgs;
    devicesArgs.SNRVolumeId = id;
    QuerySNRVolDevNameBySNRVolIdV3Ret_t devices;
    if (!mgr.QuerySNRVolDev(devicesArgs, devices)) return steps::PassOn(ret, devices.errMsg, devices.errCode);

    for (const SNRVolumeDeviceNameV3Record_t& device : devices.devices) {
        mgr.log() << "\tEvent: Device id " << device.id << " will point from  volume id " << id << " to Volume Id "
                  << twinId;
        mgr.WriteLogMsg(ProgNameUpdates, Fn, __LINE__, ReplicationMgr::MSG);
        UpdateSNRDeviceV4Args_t move;
        move.UpdateSNRVolumeId(twinId);
        move.id = device.id;
        UpdateSNRDeviceV4Ret_t moved;
        if (!mgr.UpdateSNRDevice(move, moved, tran)) return steps::PassOn(ret, moved.errMsg, moved.errCode);
    }

    mgr.log() << "\tEvent: Deleting old shared disk volume id " << id;
    mgr.WriteLogMsg(ProgNameUpdates, Fn, __LINE__, ReplicationMgr::MSG);
    int32_t descriptionCode = 0;
    if (!steps::RemoveVolumeDescriptions(mgr, id, ret.errMsg, descriptionCode, tran, ProgNameUpdates, Fn)) {
        SetErrCode(ret, descriptionCode);
        return false;
    }
    CSNRVolumeDB volumeDB;
    if (!volumeDB.remove(id, tran)) {
        const std::string text = "Could not delete shared disk volume information from database";
        return steps::Refuse(mgr, ret, kErrDatabase, text,
                             "\tEvent: " + text + "\n\tCSNRVolumeDB::remove() failed" + "\n\tParameters used:" +
                                 "\n\tid = " + Number(id) + "\n\tTran = 0x" + steps::TranHandle(tran),
                             ProgNameUpdates, UpdateSNRVolumeDBFn, __LINE__);
    }
    ret.errMsg = "";
    return true;
}

}  // namespace

template <typename Args, typename Ret>
bool ReplicationMgr::UpdateSNRVolumeDB(const Args& args, Ret& ret, DBtran* tran)
{
    const char* Fn = UpdateSNRVolumeDBFn;
    const int32_t map = GetUpdateMap(args);
    const bool nas = isNasVolume(args);
    const int id = args.id;
    // A refusal whose entry is "\tEvent: " + text + details.
    auto event = [&](int code, const std::string& text, const std::string& details, long line) {
        return steps::Refuse(*this, ret, code, text, "\tEvent: " + text + details, ProgNameUpdates,
                             UpdateSNRVolumeDBFn, line);
    };

    if (id < 0) return event(kErrInvalidId, "Invalid Volume ID", "\n\tSNR Volume ID = " + Number(id), __LINE__);

    if (tran == nullptr)
        return RunWithTransactionBeforeLock(ret, [&](DBtran* own) { return UpdateSNRVolumeDB(args, ret, own); });
    LockTableRet_t lock;
    if (!LockTable(LockTableArgs_t(SNRVOL_LOCK), lock)) return steps::PassOn(ret, lock.m_sErrorMsg, lock.m_nErrorCode);
    HeldTableLock held(*this, lock);

    CSNRVolumeDB volumeDB;
    YBPhysicalVolume_t stored;
    std::memset(static_cast<void*>(&stored), 0, sizeof stored);
    if (!volumeDB.getInfo(id, stored, tran)) {
        const int code = volumeDB.getErrorCode();
        const bool missing = code == DB_NO_MORE_ROWS;
        return event(missing ? kErrNotFound : kErrDatabase,
                     missing ? "Record not found" : "Cannot read volume information from DB",
                     "\n\tCSNRVolumeDB::getInfo() failed\n\tParameters used:\n\tId          = " + Number(id) +
                         "\n\tDB Err Code = " + Number(code) + "\n\tTran        = " + steps::TranHandle(tran),
                     __LINE__);
    }

    const UniqueYBPhysicalVolume identity = IdentityAfterUpdate(args, stored, map, nas);

    if ((map & YB_PVOL_LUN) && args.LUN < 0)
        return steps::Refuse(*this, ret, kErrInvalidId, "Invalid LUN",
                             "\nEvent: Invalid LUN\n\tInput:\n\tLUN  = " + Number(args.LUN), ProgNameUpdates,
                             UpdateSNRVolumeDBFn, __LINE__);

    const bool storedProtected = (stored.Flags & SNRVOL_FLAG_MORVANE_PROTECTED) != 0;
    const bool protectedAfter = (map & YB_PVOL_TZ_PROTECTED) ? GetMorvaneProtected(args) : storedProtected;
    if (map & (YB_PVOL_TZ_PROTECTED | YB_PVOL_TZSTATE)) {
        const int32_t state = (map & YB_PVOL_TZSTATE) ? GetMorvaneState(args) : stored.TzState;
        if (protectedAfter != (state != 0)) {
            const std::string text = "Invalid Morvane Volume status";
            return steps::Refuse(*this, ret, kErrInvalidId, text,
                                 "\nEvent: " + text + "\n\tInput:" + "\n\tMorvaneProtected    = " +
                                     (protectedAfter ? "true" : "false") + "\n\tState                = " +
                                     Number(state),
                                 ProgNameUpdates, UpdateSNRVolumeDBFn, __LINE__);
        }
    }

    // The reservation bit and the pool's available counter change together.
    if (map & YB_PVOL_LOCK) {
        const bool reserved = (stored.Flags & SNRVOL_FLAG_LOCKED) != 0;
        auto moveCounter = [&](int operation) {
            UpdateAvailVolPoolCounterArgs_t counterArgs;
            counterArgs.SNRVolumeId = id;
            counterArgs.operation = operation;
            UpdateAvailVolPoolCounterRet_t counter;
            if (UpdateAvailVolPoolCounter(counterArgs, counter, tran)) return true;
            return steps::PassOn(ret, counter.errMsg, counter.errCode);
        };
        if (args.Locked && !reserved) {
            if (!moveCounter(POOL_COUNTER_DECREMENT)) return false;
        } else if (!args.Locked && reserved) {
            QuerySNRVolume2ByIdV3Args_t replicaArgs;
            replicaArgs.snrVolumeId = id;
            replicaArgs.flags = SNRVOL2_ON_VOLUME;
            QuerySNRVolume2ByIdV3Ret_t replicas;
            if (!QuerySNRVolume2(replicaArgs, replicas)) return steps::PassOn(ret, replicas.errMsg, replicas.errCode);
            if (!replicas.replicationVolumes.empty())
                return event(kErrInUse, "Volume cannot be unreserved if there are YB Volumes associated with it",
                             "\n\tPhysical Volume Id: " + Number(id), __LINE__);

            CRVScratchVolumeDB scratchDB;
            unsigned int scratchCount = 0;
            {
                steps::HeldRows<YBScratchVolume_t> scratch(scratchDB);
                const std::string where = "PhysicalVolumeId = " + Number(id);
                if (!scratchDB.getList(scratch.rows, scratch.count, where.c_str(), OrderById, tran))
                    return event(kErrDatabase, "Cannot access scratch volume information from the database",
                                 "\n\tCRVScratchVolumeDB::getList() failed\n\tParameters used:\n\tsWhere = " + where +
                                     "\n\tsOrderBy = " + OrderById,
                                 __LINE__);
                scratchCount = scratch.count;
            }
            if (scratchCount >= 2)
                return event(kErrNotUnique, "Multiple scratch volume records found for this volume. Check database",
                             "\n\tCRVScratchVolumeDB::getList() output:\n\tNRows = " + Number(scratchCount), __LINE__);
            if (scratchCount == 1 && !moveCounter(POOL_COUNTER_INCREMENT)) return false;
        }
    }

    // Protection ends: the history name of the volume's first device goes.
    if (!protectedAfter && storedProtected) {
        QuerySNRVolDevNameBySNRVolIdV2Ret_t devices;
        if (!QuerySNRVolDev(QuerySNRVolDevNameBySNRVolIdV2Args_t(id), devices))
            return steps::PassOn(ret, devices.errMsg, devices.errCode);
        if (!devices.devices.empty()) {
            DeleteMorvaneVolHistoryNameArgs_t historyArgs;
            historyArgs.DeviceId = devices.devices.front().id;
            DeleteMorvaneVolHistoryNameRet_t history;
            if (!DeleteTzGlobalHistoryName(historyArgs, history, tran) && history.errCode != kErrNotFound)
                return steps::PassOn(ret, history.errMsg, history.errCode);
        }
    }

    // The record's values, texts refused when too long for their columns.
    YBPhysicalVolume_t row;
    YBDBDst_t<YBPhysicalVolume_t> dst(row, ret.errMsg);
    if (YBSet(dst, args) != 0) {
        SetErrCode(ret, dst.errCode);
        m_LogMsg << "\tEvent: " << ret.errMsg;
        WriteLogMsg(ProgNameUpdates, Fn, __LINE__, ERR);
        return false;
    }

    int32_t flags = stored.Flags;
    for (const FlagOfMap& bit : kFlagsOfMap)
        if (map & bit.mapBit) YBSetFlagBit(flags, bit.flagBit, YBFlagBit(row.Flags, bit.flagBit));
    const std::string set = VolumeUpdateText(map, nas, flags, row);

    // Another row with the identity in force, read outside the transaction.
    const bool sharedDisk = identity.UniqueIdType == kSharedDiskUniqueIdType;
    const std::string where = SNRVolumeIdentityWhere(identity, !sharedDisk);
    bool hasTwin = false;
    int twinId = 0;
    {
        steps::HeldRows<YBPhysicalVolume_t> matches(volumeDB);
        if (!volumeDB.getList(matches.rows, matches.count, where.c_str(), OrderById, nullptr))
            return event(
                kErrDatabase, "Cannot access volume information to verify its integrity",
                "\n\tCSNRVolumeDB::getList() failed\n\tParameters used:\n\tsWhere      = " + EvDebug::escaped(where) +
                    "\n\tsOrderBy    = " + OrderById + "\n\tDB Err Code = " + Number(volumeDB.getErrorCode()),
                __LINE__);
        for (unsigned int i = 0; i < matches.count && !hasTwin; ++i) {
            if (matches.rows[i].id == id) continue;
            hasTwin = true;
            twinId = matches.rows[i].id;
        }
    }

    if (hasTwin && !sharedDisk) {
        const std::string text = "Cannot update volume information because of volume information conflict";
        return steps::Refuse(
            *this, ret, kErrAlreadyExists, text,
            "\tEvent:" + text + "\n\tUniqueId                   = " + EvDebug::escaped(identity.UniqueId) +
                "\n\tUniqueId Type              = " + Number(identity.UniqueIdType) +
                "\n\tLUN                        = " + Number(identity.LUN) + "\n\tStart LBA                  = " +
                Number(identity.StartLBA) + "\n\tBlock Count\t\t           = " + Number(identity.BlockCount) +
                "\n\tID found in the DB         = " + Number(twinId) + "\n\tID of record to be updated = " + Number(id),
            ProgNameUpdates, UpdateSNRVolumeDBFn, __LINE__);
    }
    // A shared disk's twin stays as it is and the requested changes are
    // dropped; what the reservation and protection steps wrote stays.
    if (hasTwin) return MergeIntoTwin(*this, ret, id, twinId, where, tran);

    if (!volumeDB.Update(id, set.c_str(), tran))
        return event(kErrDatabase, "Could not update volume information from database",
                     "\n\tCSNRVolumeDB::Update() failed\n\tParameters used:\n\tid = " + Number(id) +
                         "\n\tsUpdate = " + EvDebug::escaped(set) + "\n\tTran = 0x" + steps::TranHandle(tran),
                     __LINE__);
    m_LogMsg << "\tSNR Volume with ID " << id << " has been updated";
    WriteLogMsg(ProgNameUpdates, Fn, __LINE__, MSG);
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::UpdateSNRVolume(const UpdateSNRVolumeArgs_t& args, UpdateSNRVolumeRet_t& ret, DBtran* tran)
{
    return UpdateSNRVolumeDB(args, ret, tran);
}
bool ReplicationMgr::UpdateSNRVolume(const UpdateSNRVolume42Args_t& args, UpdateSNRVolume42Ret_t& ret, DBtran* tran)
{
    return UpdateSNRVolumeDB(args, ret, tran);
}
bool ReplicationMgr::UpdateSNRVolume(const UpdateSNRVolumeV3Args_t& args, UpdateSNRVolumeV3Ret_t& ret, DBtran* tran)
{
    return UpdateSNRVolumeDB(args, ret, tran);
}
bool ReplicationMgr::UpdateSNRVolume(const UpdateSNRVolumeV4Args_t& args, UpdateSNRVolumeV4Ret_t& ret, DBtran* tran)
{
    return UpdateSNRVolumeDB(args, ret, tran);
}

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::UpdateSNRVolumeHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    const Req& request = cases::RequestOf<Req>(buf);
    Args args;
    Ret ret;

    YBSet(args, request.SNRVolume);

    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::UpdateSNRVolumeHandler()", requestCode, replyCode, true, ret,
        [&](DBtran* tran) { return UpdateSNRVolume(args, ret, tran); }, cases::NoReplyFields(),
        cases::Unstarted::Nothing);
}

// ---- Request cases, one per message version ---------------------------------

const ServedCase UpdateSNRVolumeCaseV1 =
    SERVE_HANDLER_CASE(UpdateSNRVolumeHandler, repUpdateSNRVolumeReq, repUpdateSNRVolumeResponse, UpdateSNRVolumeArgs_t,
                       UpdateSNRVolumeRet_t);
const ServedCase UpdateSNRVolumeCase42 =
    SERVE_HANDLER_CASE(UpdateSNRVolumeHandler, repUpdateSNRVolume42Req, repUpdateSNRVolume42Response,
                       UpdateSNRVolume42Args_t, UpdateSNRVolume42Ret_t);
const ServedCase UpdateSNRVolumeCaseV3 =
    SERVE_HANDLER_CASE(UpdateSNRVolumeHandler, repUpdateSNRVolumeV3Req, repUpdateSNRVolumeV3Response,
                       UpdateSNRVolumeV3Args_t, UpdateSNRVolumeV3Ret_t);
const ServedCase UpdateSNRVolumeCaseV4 =
    SERVE_HANDLER_CASE(UpdateSNRVolumeHandler, repUpdateSNRVolumeV4Req, repUpdateSNRVolumeV4Response,
                       UpdateSNRVolumeV4Args_t, UpdateSNRVolumeV4Ret_t);
