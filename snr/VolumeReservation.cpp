// Reservation and allocation of SNR volumes: reserve (with the job stamp of
// the scratch volume and the pool counter), unreserve, allocate, deallocate,
// the release of a job's volumes and the reset of stale reservations, with
// the reserve handler and the inline request cases at the bottom.
#include "snr/VolumeReservation.h"

#include <cstring>
#include <set>
#include <string>

#include "host/db/DBtable.h"
#include "host/db/ReplicaTables.h"
#include "host/db/SNRTables.h"
#include "replicas/ReplicaVolumeQueries.h"
#include "scratch/ScratchMembership.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/NestedStep.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/ResultCode.h"
#include "service/SourceNames.h"
#include "service/TableLock.h"
#include "service/TranHandle.h"
#include "service/TransactionBeforeLock.h"
#include "snr/SNRAdapters.h"
#include "snr/SNRCases.h"
#include "snr/SNRVolumeReplicas.h"

namespace {

std::string Number(long long value) { return std::to_string(value); }

// The job id a reservation stamps on a scratch volume and a release looks
// for: its low 32 bits, signed, as the LockedByJobId column keeps them.
int32_t JobStamp(int64_t jobId) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(jobId))); }

// Reads one SNR volume row for a change of its flags; false with the
// database code in `code` (100: no such row).
bool ReadVolume(CSNRVolumeDB& db, int id, YBPhysicalVolume_t& row, DBtran* tran, int& code)
{
    std::memset(static_cast<void*>(&row), 0, sizeof row);
    if (db.getInfo(id, row, tran)) return true;
    code = db.getErrorCode();
    return false;
}

// Writes the volume's flags with the reservation bit changed and moves its
// scratch pool's available counter (operation) in the transaction; false
// with the text, and the code where the result has one.
template <typename Ret>
bool WriteReservation(ReplicationMgr& mgr, CSNRVolumeDB& volumeDB, int id, int32_t flags, int operation, Ret& ret,
                      DBtran* tran, const char* function)
{
    const std::string set = "Flags = " + Number(flags);
    if (!volumeDB.Update(id, set.c_str(), tran))
        return steps::Fail(mgr, ret, kErrDatabase, "Could not update volume information from database",
                           "\n\tCSNRVolumeDB::Update() failed\n\tParameters used:\n\tSNR Volume Id = " + Number(id) +
                               "\n\tsUpdate = " + set + "\n\tTran = 0x" + steps::TranHandle(tran) +
                               "\n\tDB Err Code = " + Number(volumeDB.getErrorCode()),
                           ProgNameUpdates, function, __LINE__);
    UpdateAvailVolPoolCounterArgs_t counterArgs;
    counterArgs.SNRVolumeId = id;
    counterArgs.operation = operation;
    UpdateAvailVolPoolCounterRet_t counter;
    if (!mgr.UpdateAvailVolPoolCounter(counterArgs, counter, tran))
        return steps::PassOn(ret, counter.errMsg, counter.errCode);
    return true;
}

// The texts of the allocation and of its reversal.
struct AllocationChange {
    const char* function;
    const char* emptyWarning;
    const char* invalidId;
    const char* notFound;
    const char* refused;  // the volume already has (allocate) or lacks (deallocate) the bit
    const char* done;
    bool set;             // set the bit (allocate) or clear it
    bool skipsSnapVaultSecondary;
};

const AllocationChange kAllocate{"ReplicationMgr::AllocateSNRVolumes()",
                                 "\tWarning: Allocate list is empty",
                                 "Cannot reserve SNR Volume with an invalid SNR Volume id",
                                 "SNR Volume Record not found",
                                 "An SNR Volume is already allocated",
                                 "\tAllocating SNR Volume ",
                                 true,
                                 true};
const AllocationChange kDeallocate{"ReplicationMgr::DeallocateSNRVolumes()",
                                   "\tWarning: Deallocate list is empty",
                                   "Cannot deallocate SNR Volumes with an invalid SNR Volume id(s)",
                                   "SNR Volume record not found",
                                   "A SNR Volume is not allocated",
                                   "\tDeallocating SNR Volume ",
                                   false,
                                   false};

// UniqueIdType of a snap-vault secondary volume, which is never allocated.
const int32_t kSnapVaultSecondary = 12;

// Sets or clears the allocation bit of every listed volume under
// SNRVOL_LOCK; stops at the first volume refused.
template <typename Ret>
bool ChangeAllocation(ReplicationMgr& mgr, const std::vector<int32_t>& ids, Ret& ret, DBtran* tran,
                      const AllocationChange& change)
{
    const char* Fn = change.function;
    if (ids.empty()) {
        mgr.log() << change.emptyWarning;
        mgr.WriteLogMsg(ProgNameUpdates, Fn, __LINE__, ReplicationMgr::WARNING);
        ret.errMsg = "";
        return true;
    }
    if (tran == nullptr)
        return RunWithTransactionBeforeLock(ret,
                                            [&](DBtran* own) { return ChangeAllocation(mgr, ids, ret, own, change); });
    LockTableRet_t lock;
    if (!mgr.LockTable(LockTableArgs_t(ReplicationMgr::SNRVOL_LOCK), lock)) {
        ret.errMsg = lock.m_sErrorMsg;
        ret.errCode = lock.m_nErrorCode;
        return false;
    }
    HeldTableLock held(mgr, lock);
    const std::string tranText = "\n\tTran = 0x" + steps::TranHandle(tran);

    CSNRVolumeDB volumeDB;
    for (const int32_t id : ids) {
        if (id < 1)
            return steps::Fail(mgr, ret, kErrInvalidId, change.invalidId,
                               "\n\tParameters used:\n\tSNR Volume Id = " + Number(id), ProgNameUpdates, Fn, __LINE__);
        YBPhysicalVolume_t row;
        int code = 0;
        if (!ReadVolume(volumeDB, id, row, tran, code)) {
            const bool missing = code == DB_NO_MORE_ROWS;
            return steps::Fail(mgr, ret, missing ? kErrNotFound : kErrDatabase,
                               missing ? change.notFound : "Cannot access SNR Volume information from the database",
                               "\n\tCSNRVolumeDB::getInfo() failed\n\tParameters used:\n\tId = " + Number(id) +
                                   tranText + "\n\tDB Err Code = " + Number(code),
                               ProgNameUpdates, Fn, __LINE__);
        }
        if (change.skipsSnapVaultSecondary && row.UniqueIdType == kSnapVaultSecondary) {
            mgr.log() << "\tEvent: Volume ID " << id
                      << " is a snapvault secondary volume. Skipping allocation for this volume";
            mgr.WriteLogMsg(ProgNameUpdates, Fn, __LINE__, ReplicationMgr::MSG);
            continue;
        }
        const bool allocated = (row.Flags & SNRVOL_FLAG_ALLOCATED) != 0;
        // The allocation refuses an allocated volume, its reversal one that is not.
        if (allocated == change.set)
            return steps::Fail(mgr, ret, kErrInUse, change.refused,
                               "\n\tOutput from CSNRVolumeDB::getInfo()\n\tSNR Volume Id = " + Number(id) +
                                   "\n\tFlags = " + Number(row.Flags),
                               ProgNameUpdates, Fn, __LINE__);
        const int32_t flags = change.set ? (row.Flags | SNRVOL_FLAG_ALLOCATED) : (row.Flags & ~SNRVOL_FLAG_ALLOCATED);
        const std::string set = "Flags = " + Number(flags);
        if (!volumeDB.Update(id, set.c_str(), tran))
            return steps::Fail(
                mgr, ret, kErrDatabase, "Could not update SNR volume information from database",
                "\n\tCSNRVolumeDB::Update() failed\n\tParameters used:\n\tSNR Volume Id = " + Number(id) +
                    "\n\tsUpdate = " + set + tranText + "\n\tDB Err Code = " + Number(volumeDB.getErrorCode()),
                ProgNameUpdates, Fn, __LINE__);
        mgr.log() << change.done << id;
        mgr.WriteLogMsg(ProgNameUpdates, Fn, __LINE__, ReplicationMgr::MSG);
    }
    ret.errMsg = "";
    return true;
}

}  // namespace

// ---- Reserve ---------------------------------------------------------------------

template <typename Args, typename Ret>
bool ReplicationMgr::ReserveSNRVolumesDB(const Args& args, Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::ReserveSNRVolumes()";
    const int32_t jobId = JobStamp(GetJobId(args));

    if (args.ids.empty()) {
        ret.errMsg = "";
        return true;
    }
    if (tran == nullptr)
        return RunWithTransactionBeforeLock(ret, [&](DBtran* own) { return ReserveSNRVolumesDB(args, ret, own); });
    LockTableRet_t lock;
    if (!LockTable(LockTableArgs_t(SNRVOL_LOCK), lock)) {
        ret.errMsg = lock.m_sErrorMsg;
        SetErrCode(ret, kErrLockTimedOut);
        return false;
    }
    HeldTableLock held(*this, lock);
    const std::string tranText = "\n\tTran = 0x" + steps::TranHandle(tran);

    CSNRVolumeDB volumeDB;
    CRVScratchVolumeDB scratchDB;
    for (const int32_t id : args.ids) {
        if (id < 1)
            return steps::Fail(*this, ret, kErrInvalidId, "Cannot reserve volume with an invalid Volume id",
                               "\n\tParameters used:\n\tSNR Volume Id = " + Number(id), ProgNameUpdates, Fn, __LINE__);
        YBPhysicalVolume_t row;
        int code = 0;
        if (!ReadVolume(volumeDB, id, row, tran, code)) {
            const bool missing = code == DB_NO_MORE_ROWS;
            return steps::Fail(*this, ret, missing ? kErrNotFound : kErrDatabase,
                               missing ? "Record Not Found" : "Cannot access volume information from the database",
                               "\n\tCSNRVolumeDB::getInfo() failed\n\tParameters used:\n\tsKey = " + Number(id) +
                                   "\n\tsOrderBy = " + tranText + "\n\tDB Err Code = " + Number(code),
                               ProgNameUpdates, Fn, __LINE__);
        }
        const int32_t flags = row.Flags;

        if (jobId != 0) {
            YBScratchVolume_t* rows = nullptr;
            unsigned int count = 0;
            const std::string where = "PhysicalVolumeId = " + Number(id);
            if (!scratchDB.getList(rows, count, where.c_str(), "id ASC", tran)) {
                scratchDB.deleteList(rows);
                return steps::Fail(*this, ret, kErrDatabase, "Cannot access volume information from the database",
                                   "\n\tCRVScratchVolumeDB::getList() failed\n\tParameters used:\n\tsWhere = " + where +
                                       "\n\tsOrderBy = id ASC" + tranText +
                                       "\n\tDB Err Code = " + Number(scratchDB.getErrorCode()),
                                   ProgNameUpdates, Fn, __LINE__);
            }
            const int32_t scratchId = count == 1 ? rows[0].id : 0;
            const int32_t stamped = count == 1 ? rows[0].LockedByJobId : 0;
            scratchDB.deleteList(rows);
            if (count == 0)
                return steps::Fail(*this, ret, kErrNotFound, "Scratch volume Record not found", "\n\tsWhere = " + where,
                                   ProgNameUpdates, Fn, __LINE__);
            if (count > 1)
                return steps::Fail(
                    *this, ret, kErrNotUnique, "Multiple scratch volume found using the same physical volume",
                    "\n\tsWhere = " + where + "\n\tNRows = " + Number(count), ProgNameUpdates, Fn, __LINE__);

            const bool reserved = (flags & SNRVOL_FLAG_LOCKED) != 0;
            if (reserved && stamped == jobId) {
                m_LogMsg << "\tScratch Volume Id " << scratchId << " is already locked by job id " << jobId
                         << ". Assuming YB job has been restarted";
                WriteLogMsg(ProgNameUpdates, Fn, __LINE__, MSG);
                continue;
            }
            if (reserved && stamped != 0) {
                m_LogMsg << "\tScratch volume id " << scratchId << " has already been locked by job id " << stamped
                         << ". Job id information will be overwritten";
                WriteLogMsg(ProgNameUpdates, Fn, __LINE__, MSG);
            }
            const std::string stamp = "LockedByJobId = " + Number(jobId);
            if (!scratchDB.Update(scratchId, stamp.c_str(), tran))
                return steps::Fail(*this, ret, kErrDatabase,
                                   "Scratch volume information could not be update into the database",
                                   "\n\tScratch Volume ID = " + Number(scratchId) + "\n\tsUpdate = " + stamp +
                                       tranText + "\n\tDB Err Code = " + Number(scratchDB.getErrorCode()),
                                   ProgNameUpdates, Fn, __LINE__);
            m_LogMsg << "\tScratch Volume id " << scratchId << " has been locked by job id " << jobId;
            WriteLogMsg(ProgNameUpdates, Fn, __LINE__, MSG);
        }

        // A volume another job holds is refused after the stamp; the
        // caller's rollback gives the stamp back.
        if (flags & SNRVOL_FLAG_LOCKED)
            return steps::Fail(*this, ret, kErrInUse, "A volume is already reserved",
                               "\n\tOutput from CSNRVolumeDB::getInfo()\n\tSNR Volume Id = " + Number(id) +
                                   "\n\tFlags = " + Number(flags),
                               ProgNameUpdates, Fn, __LINE__);
        if (!WriteReservation(*this, volumeDB, id, flags | SNRVOL_FLAG_LOCKED, POOL_COUNTER_DECREMENT, ret, tran, Fn))
            return false;
        m_LogMsg << "\tReserving (Locking) SNR Volume " << id;
        WriteLogMsg(ProgNameUpdates, Fn, __LINE__, MSG);
    }
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::ReserveSNRVolumes(const ReserveSNRVolumeListArgs_t& args, ReserveSNRVolumeListRet_t& ret,
                                       DBtran* tran)
{
    return ReserveSNRVolumesDB(args, ret, tran);
}
bool ReplicationMgr::ReserveSNRVolumes(const ReserveSNRVolumeListV2Args_t& args, ReserveSNRVolumeListV2Ret_t& ret,
                                       DBtran* tran)
{
    return ReserveSNRVolumesDB(args, ret, tran);
}

// ---- Unreserve ---------------------------------------------------------------------

bool ReplicationMgr::UnreserveSNRVolumes(const UnreserveSNRVolumeListArgs_t& args, UnreserveSNRVolumeListRet_t& ret,
                                         DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::UnreserveSNRVolumes()";
    if (args.ids.empty()) {
        m_LogMsg << "\tWarning: Unreserve list is empty";
        WriteLogMsg(ProgNameUpdates, Fn, __LINE__, WARNING);
        ret.errMsg = "";
        return true;
    }
    if (tran == nullptr)
        return RunWithTransactionBeforeLock(ret, [&](DBtran* own) { return UnreserveSNRVolumes(args, ret, own); });
    LockTableRet_t lock;
    if (!LockTable(LockTableArgs_t(SNRVOL_LOCK), lock)) {
        ret.errMsg = lock.m_sErrorMsg;
        return false;
    }
    HeldTableLock held(*this, lock);
    const std::string tranText = "\n\tTran = 0x" + steps::TranHandle(tran);

    CSNRVolumeDB volumeDB;
    for (const int32_t id : args.ids) {
        if (id < 1)
            return steps::Fail(*this, ret, 0, "Cannot unreserve volume(s) with an invalid volume id(s)",
                               "\n\tParameters used:\n\tSNR Volume Id = " + Number(id), ProgNameUpdates, Fn, __LINE__);
        YBPhysicalVolume_t* rows = nullptr;
        unsigned int count = 0;
        const std::string where = "id = " + Number(id);
        if (!volumeDB.getList(rows, count, where.c_str(), "id ASC", tran)) {
            volumeDB.deleteList(rows);
            return steps::Fail(*this, ret, 0, "Cannot access volume information from the database",
                               "\n\tCSNRVolumeDB::getList() failed\n\tParameters used:\n\tsWhere = " + where +
                                   "\n\tsOrderBy = id ASC" + tranText,
                               ProgNameUpdates, Fn, __LINE__);
        }
        const int32_t flags = count > 0 ? rows[0].Flags : 0;
        volumeDB.deleteList(rows);
        if (count == 0)
            return steps::Fail(*this, ret, 0, "A volume record was not found in the database",
                               "\n\tOutput from CSNRVolumeDB::getList()\n\tSNR Volume Id = " + Number(id) +
                                   "\n\tNRows = " + Number(count),
                               ProgNameUpdates, Fn, __LINE__);
        if ((flags & SNRVOL_FLAG_LOCKED) == 0)
            return steps::Fail(*this, ret, 0, "A volume is not reserved",
                               "\n\tOutput from CSNRVolumeDB::getList()\n\tSNR Volume Id = " + Number(id) +
                                   "\n\tFlags = " + Number(flags),
                               ProgNameUpdates, Fn, __LINE__);

        QuerySNRVolume2ByIdV3Args_t replicaArgs;
        replicaArgs.snrVolumeId = id;
        replicaArgs.flags = SNRVOL2_ON_VOLUME;
        QuerySNRVolume2ByIdV3Ret_t replicas;
        if (!QuerySNRVolume2(replicaArgs, replicas)) {
            ret.errMsg = replicas.errMsg;
            return false;
        }
        if (!replicas.replicationVolumes.empty())
            return steps::Fail(*this, ret, 0, "Volume cannot be unreserved if there are YB Volumes associated with it",
                               "\n\tPhysical Volume Id: " + Number(id), ProgNameUpdates, Fn, __LINE__);

        if (!WriteReservation(*this, volumeDB, id, flags & ~SNRVOL_FLAG_LOCKED, POOL_COUNTER_INCREMENT, ret, tran, Fn))
            return false;
        m_LogMsg << "\tUnreserving (Unlocking) SNR Volume " << id;
        WriteLogMsg(ProgNameUpdates, Fn, __LINE__, MSG);
    }
    ret.errMsg = "";
    return true;
}

// ---- Allocate and deallocate ---------------------------------------------------------

bool ReplicationMgr::AllocateSNRVolumes(const AllocateSNRVolumeListArgs_t& args, AllocateSNRVolumeListRet_t& ret,
                                        DBtran* tran)
{
    return ChangeAllocation(*this, args.ids, ret, tran, kAllocate);
}

bool ReplicationMgr::DeallocateSNRVolumes(const DeallocateSNRVolumeListArgs_t& args,
                                          DeallocateSNRVolumeListRet_t& ret, DBtran* tran)
{
    return ChangeAllocation(*this, args.ids, ret, tran, kDeallocate);
}

// ---- Release by job and the reset of stale reservations --------------------------------

bool ReplicationMgr::UnlockVolumesByJobId(const UnlockVolumesByJobIdArgs_t& args, UnlockVolumesByJobIdRet_t& ret,
                                          DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::UnlockVolumesByJobId()";
    const int64_t jobId = args.jobId;
    // A job id whose low 32 bits are 0 stamps nothing: looking for 0 would
    // release every volume that no job stamped.
    const int32_t stamp = JobStamp(jobId);
    if (stamp == 0)
        return steps::Fail(*this, ret, kErrInvalidId, "Volume(s) cannot be unlocked with an invalid job id", "",
                           ProgNameUpdates, Fn, __LINE__);

    CRVScratchVolumeDB scratchDB;
    YBScratchVolume_t* rows = nullptr;
    unsigned int count = 0;
    const std::string where = "LockedByJobId = " + Number(stamp);
    const std::string tranText = "\n\tTran = 0x" + steps::TranHandle(tran);
    if (!scratchDB.getList(rows, count, where.c_str(), "id ASC", tran)) {
        scratchDB.deleteList(rows);
        return steps::Fail(*this, ret, kErrDatabase, "Cannot get list of scratch volume used by a particular job",
                           "\n\tCRVScratchVolumeDB::getList() failed\n\tsWhere = " + where + tranText +
                               "\n\tDB Err Code = " + Number(scratchDB.getErrorCode()),
                           ProgNameUpdates, Fn, __LINE__);
    }
    m_LogMsg << "\t" << count << " scratch volume(s) found for job id " << jobId;
    WriteLogMsg(ProgNameUpdates, Fn, __LINE__, MSG);

    UnreserveSNRVolumeListArgs_t unreserve;
    const char clear[] = "LockedByJobId = 0";
    for (unsigned int i = 0; i < count; ++i) {
        unreserve.ids.push_back(rows[i].PhysicalVolumeId);
        if (!scratchDB.Update(rows[i].id, clear, tran)) {
            const int scratchId = rows[i].id;
            scratchDB.deleteList(rows);
            return steps::Fail(*this, ret, kErrDatabase, "Could clear Job id value for the scratch volume record",
                               "\n\tKey = " + Number(scratchId) + "\n\tsUpdate = " + clear + "\n\tJob ID = " +
                                   Number(jobId) + "\n\tDB Err Code = " + Number(scratchDB.getErrorCode()),
                               ProgNameUpdates, Fn, __LINE__);
        }
    }
    scratchDB.deleteList(rows);

    UnreserveSNRVolumeListRet_t unreserved;
    if (!UnreserveSNRVolumes(unreserve, unreserved, tran)) {
        ret.errMsg = unreserved.errMsg;
        ret.errCode = kErrNestedCall;
        return false;
    }
    m_LogMsg << "\tVolumes used by job id " << jobId << " were unlocked";
    WriteLogMsg(ProgNameUpdates, Fn, __LINE__, MSG);
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::ResetSNRVolLockFlag()
{
    static const char Fn[] = "ReplicationMgr::ResetSNRVolLockFlag()";
    std::set<int32_t> inUse;
    {
        GetReplicationVolumeListRet_t replicas;
        if (!GetReplicationVolumeList(replicas)) return false;
        for (const ReplicationVolumeRecord_t& replica : replicas.volumes) inUse.insert(replica.PhysicalVolumeId);
    }

    CSNRVolumeDB volumeDB;
    YBPhysicalVolume_t* rows = nullptr;
    unsigned int count = 0;
    if (!volumeDB.getList(rows, count, "id > 0", "id ASC", nullptr)) {
        volumeDB.deleteList(rows);
        m_LogMsg << "\tEvent: Cannot get list of SNR Volume records";
        WriteLogMsg(ProgNameUpdates, Fn, __LINE__, ERR);
        return false;
    }
    if (count == 0) {
        m_LogMsg << "\tNo SNR Volumes were found in the database";
        WriteLogMsg(ProgNameUpdates, Fn, __LINE__, MSG);
        return true;
    }
    UnreserveSNRVolumeListArgs_t unreserve;
    for (unsigned int i = 0; i < count; ++i) {
        if (inUse.count(rows[i].id) != 0 || (rows[i].Flags & SNRVOL_FLAG_LOCKED) == 0) continue;
        m_LogMsg << "\tUnlocking SNR Volume " << rows[i].id;
        WriteLogMsg(ProgNameUpdates, Fn, __LINE__, MSG);
        unreserve.ids.push_back(rows[i].id);
    }
    volumeDB.deleteList(rows);

    // One volume at a time, each in a transaction of its own opened before
    // the unreserve takes its lock: a volume whose release fails part-way is
    // rolled back whole, its reservation flag together with its pool's
    // counter, so that it stays reserved for the next pass, and the pass goes
    // on with the next volume. A transaction that cannot start (another
    // writer holds the catalogue) ends the reset there: the volumes after it
    // would each wait for the catalogue in vain, and stay for the next pass.
    bool allReleased = true;
    for (int32_t id : unreserve.ids) {
        UnreserveSNRVolumeListArgs_t one;
        one.ids.push_back(id);
        UnreserveSNRVolumeListRet_t unreserved;
        bool started = false;
        const bool done =
            RunNestedStep([&](DBtran* tran) { return UnreserveSNRVolumes(one, unreserved, tran); }, &started);
        if (!started) {
            m_LogMsg << "\tEvent: Could not initiated database transactions\n\tSNR Volume Id = " << id
                     << "\n\tThe volumes not yet unlocked stay reserved until the next pass";
            WriteLogMsg(ProgNameUpdates, Fn, __LINE__, ERR);
            return false;
        }
        if (!done) {
            m_LogMsg << "\tCould not unlock SNR Volumes\n\tSNR Volume Id = " << id;
            WriteLogMsg(ProgNameUpdates, Fn, __LINE__, ERR);
            allReleased = false;
        }
    }
    if (!allReleased) return false;
    m_LogMsg << "\tUnlock SNR Volume operation was completed successfully";
    WriteLogMsg(ProgNameUpdates, Fn, __LINE__, MSG);
    return true;
}

// ---- Reserve handler and the inline cases -----------------------------------------------

namespace {

// The ids a request lists, in order; false when it counts ids but carries
// no array of them.
template <typename Req>
bool ReadIds(const Req& req, std::vector<int32_t>& ids)
{
    if (req.count > 0 && req.ids == nullptr) return false;
    if (req.count > 0) ids.assign(req.ids, req.ids + req.count);
    return true;
}

// An inline case over a list of SNR volume ids: the operation in a
// transaction, the failure text sent as a copy.
template <typename Req, typename Reply, typename Ret, typename Operation>
void ServeVolumeList(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf, std::vector<int32_t>& ids, Ret& ret,
                     Operation&& operation)
{
    if (!ReadIds(cases::RequestOf<Req>(buf), ids)) {
        cases::RefuseMissingRequest<Reply>(mgr, code, "SNR volume id array");
        return;
    }
    AnswerInlineTranCase<Reply>(mgr, code, ret, cases::Order::B, cases::Message::Copy,
                                std::forward<Operation>(operation));
}

void ServeUnreserve(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    UnreserveSNRVolumeListArgs_t args;
    UnreserveSNRVolumeListRet_t ret;
    ServeVolumeList<repUnreserveSNRVolReq, repUnreserveSNRVolResp>(
        mgr, code, buf, args.ids, ret, [&](DBtran* tran) { return mgr.UnreserveSNRVolumes(args, ret, tran); });
}

void ServeAllocate(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    AllocateSNRVolumeListArgs_t args;
    AllocateSNRVolumeListRet_t ret;
    ServeVolumeList<repAllocateSNRVolReq, repAllocateSNRVolResp>(
        mgr, code, buf, args.ids, ret, [&](DBtran* tran) { return mgr.AllocateSNRVolumes(args, ret, tran); });
}

void ServeDeallocate(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    DeallocateSNRVolumeListArgs_t args;
    DeallocateSNRVolumeListRet_t ret;
    ServeVolumeList<repDeallocateSNRVolReq, repDeallocateSNRVolResp>(
        mgr, code, buf, args.ids, ret, [&](DBtran* tran) { return mgr.DeallocateSNRVolumes(args, ret, tran); });
}

}  // namespace

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::ReserveSNRVolumesHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    const Req& req = cases::RequestOf<Req>(buf);
    Args args;
    if (!ReadIds(req, args.ids)) {
        cases::RefuseMissingRequest<Reply>(*this, requestCode, "SNR volume id array");
        return;
    }
    SetJobId(args, req);
    Ret ret;
    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::ReserveSNRVolumesHandler()", requestCode, replyCode, true, ret,
        [&](DBtran* tran) { return ReserveSNRVolumes(args, ret, tran); });
}

const ServedCase ReserveSNRVolumesCaseV1 = cases::Serve<repReserveSNRVolReq, repReserveSNRVolResp>(
    &cases::HandlerCase<&ReplicationMgr::ReserveSNRVolumesHandler<repReserveSNRVolReq, repReserveSNRVolResp,
                                                                  ReserveSNRVolumeListArgs_t, ReserveSNRVolumeListRet_t>>);
const ServedCase ReserveSNRVolumesCaseV2 = cases::Serve<repReserveSNRVolV2Req, repReserveSNRVolV2Resp>(
    &cases::HandlerCase<&ReplicationMgr::ReserveSNRVolumesHandler<repReserveSNRVolV2Req, repReserveSNRVolV2Resp,
                                                                  ReserveSNRVolumeListV2Args_t,
                                                                  ReserveSNRVolumeListV2Ret_t>>);
const ServedCase UnreserveSNRVolumesCase =
    cases::Serve<repUnreserveSNRVolReq, repUnreserveSNRVolResp>(&ServeUnreserve);
const ServedCase AllocateSNRVolumesCase = cases::Serve<repAllocateSNRVolReq, repAllocateSNRVolResp>(&ServeAllocate);
const ServedCase DeallocateSNRVolumesCase =
    cases::Serve<repDeallocateSNRVolReq, repDeallocateSNRVolResp>(&ServeDeallocate);
