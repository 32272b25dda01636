// Reservation of replication volumes (the do-not-prune bit) under
// REPLICAVOL_LOCK, the question whether a snapshot kept in a destination
// volume may be deleted, and the inline cases of reserve and unreserve.
#include "replicas/ReplicaReservation.h"

#include <string>

#include "host/db/DBtable.h"
#include "host/db/ReplicaTables.h"
#include "replicas/ReplicaCases.h"
#include "replicas/ReplicaRecords.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"
#include "service/TableLock.h"
#include "service/TransactionBeforeLock.h"
#include "snr/SNRVolumeReplicas.h"

namespace {

constexpr int32_t ReservedBit = 0x1;

// What differs between reserve and unreserve.
struct ReservationForm {
    bool reserve;
    const char* function;
    const char* invalidId;
    const char* noRow;
    const char* wrongState;
    const char* done;  // the MSG line before the id
};

const ReservationForm Reserve{true, "ReplicationMgr::ReserveReplicationVolumes()",
                              "Cannot reserve YB Volume with an invalid YB Volume id",
                              "A YB Volume record was not found in the database", "A YB Volume is already reserved",
                              "\tReserving YB Volume "};
const ReservationForm Unreserve{false, "ReplicationMgr::UnreserveReplicationVolumes()",
                                "Cannot unreserve YB Volume(s) with an invalid YB Volume id(s)",
                                "No YB Volume record was found in the database", "A YB Volume is not in used",
                                "\tUnreserving YB Volume "};

// Sets or clears the reservation bit of each volume in list order; the
// first refusal ends the pass and leaves the undoing to the caller's rollback.
// With a null transaction the pass runs in a transaction of its own, opened
// before the lock and rolled back on failure.
template <typename Ret>
bool ChangeReservation(ReplicationMgr& mgr, const ReservationForm& form, const std::vector<int32_t>& ids, Ret& ret,
                       DBtran* tran)
{
    const char* Fn = form.function;
    if (ids.empty()) {
        mgr.log() << "\tWarning: Unreserve list is empty";
        mgr.WriteLogMsg(ProgNameUpdates, Fn, __LINE__, ReplicationMgr::WARNING);
        ret.errMsg = "";
        return true;
    }

    if (tran == nullptr)
        return RunWithTransactionBeforeLock(ret,
                                            [&](DBtran* own) { return ChangeReservation(mgr, form, ids, ret, own); });
    LockTableRet_t lock;
    if (!mgr.LockTable(LockTableArgs_t(ReplicationMgr::REPLICAVOL_LOCK), lock)) {
        ret.errMsg = lock.m_sErrorMsg;
        return false;
    }
    HeldTableLock held(mgr, lock);

    for (int32_t id : ids) {
        if (id < 1)
            return steps::Fail(mgr, ret, kErrInvalidId, form.invalidId,
                               "\n\tParameters used:\n\tReplication Volume Id = " + std::to_string(id), ProgNameUpdates,
                               Fn, __LINE__);
        const std::string where = "id = " + std::to_string(id);
        CReplicationVolumeDB volumes;
        YBVolume_t* rows = nullptr;
        unsigned int count = 0;
        if (!volumes.getList(rows, count, where.c_str(), "id ASC", tran))
            return steps::Fail(mgr, ret, kErrDatabase, "Cannot access YB Volume information from the database",
                               "\n\tCReplicationVolumeDB::getList() failed\n\tReplication Volume Id = " +
                                   std::to_string(id) + "\n\tDB Err Code = " + std::to_string(volumes.getErrorCode()),
                               ProgNameUpdates, Fn, __LINE__);
        if (count == 0)
            return steps::Fail(mgr, ret, kErrNotFound, form.noRow,
                               "\n\tOutput from CReplicationVolumeDB::getList()\n\tReplication Volume Id = " +
                                   std::to_string(id) + "\n\tNRows = 0",
                               ProgNameUpdates, Fn, __LINE__);
        const int32_t flags = rows[0].Flags;
        volumes.deleteList(rows);

        if (((flags & ReservedBit) != 0) == form.reserve)
            return steps::Fail(
                mgr, ret, kErrInUse, form.wrongState,
                "\n\tReplication Volume Id = " + std::to_string(id) + "\n\tFlags = " + std::to_string(flags),
                ProgNameUpdates, Fn, __LINE__);
        const int32_t changed = form.reserve ? (flags | ReservedBit) : (flags & ~ReservedBit);
        const std::string update = "Flags = " + std::to_string(changed);
        if (!volumes.Update(id, update.c_str(), tran))
            return steps::Fail(mgr, ret, kErrDatabase, "Could not update YB volume information from database",
                               "\n\tCReplicationVolumeDB::Update() failed\n\tReplication Volume Id = " +
                                   std::to_string(id) + "\n\tsUpdate = " + update,
                               ProgNameUpdates, Fn, __LINE__);
        mgr.log() << form.done << id;
        mgr.WriteLogMsg(ProgNameUpdates, Fn, __LINE__, ReplicationMgr::MSG);
    }
    ret.errMsg = "";
    return true;
}

}  // namespace

bool ReplicationMgr::ReserveReplicationVolumes(const ReserveReplicaVolListArgs_t& args, ReserveReplicaVolListRet_t& ret,
                                               DBtran* tran)
{
    return ChangeReservation(*this, Reserve, args.ids, ret, tran);
}

bool ReplicationMgr::UnreserveReplicationVolumes(const UnreserveReplicaVolumeListArgs_t& args,
                                                 UnreserveReplicaVolumeListRet_t& ret, DBtran* tran)
{
    return ChangeReservation(*this, Unreserve, args.ids, ret, tran);
}

bool ReplicationMgr::CanDeleteYBSnapshot(const CanDeleteYBSnapshotArgs_t& args, CanDeleteYBSnapshotRet_t& ret,
                                         DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::CanDeleteYBSnapshot()";
    ret.canDelete = false;
    const int32_t id = args.id;
    if (id <= 0) {
        ret.errMsg = "Invalid YB Volume Id";
        ret.errCode = kErrInvalidId;
        m_LogMsg << "\tEvent: " << ret.errMsg << "\t\nYB Volume Id = " << id;
        WriteLogMsg(ProgNameQueries, Fn, __LINE__, ERR);
        return false;
    }

    CReplicationVolumeDB volumes;
    YBVolume_t volume;
    if (!volumes.getInfo(id, volume, tran)) {
        ret.errMsg = "Could not get YB Volume record from the database";
        m_LogMsg << "\tEvent: " << ret.errMsg << "\n\tYB Volume Id = " << id
                 << "\n\tDB Err Code = " << volumes.getErrorCode();
        WriteLogMsg(ProgNameQueries, Fn, __LINE__, ERR);
        return false;
    }
    if (volume.CurrentRole != YBVOL_ROLE_DESTINATION_SNAPSHOT) {
        m_LogMsg << "\tEvent: The YB Volume is not a snapshot in the destination volume"
                 << "\n\tYBVolume Id = " << id << "\n\tRole        = " << volume.CurrentRole;
        WriteLogMsg(ProgNameQueries, Fn, __LINE__, INFO);
        ret.canDelete = true;
        return true;
    }

    QuerySNRVolume2ByIdV5Args_t snapArgs;
    snapArgs.snrVolumeId = volume.SnapVolumeId;
    snapArgs.flags = SNRVOL2_OF_SNAPSHOT | SNRVOL2_IN_ROLE;
    snapArgs.role = YBVOL_ROLE_DESTINATION_SNAPSHOT;
    QuerySNRVolume2ByIdV5Ret_t snaps;
    if (!QuerySNRVolume2(snapArgs, snaps, nullptr)) {
        ret.errMsg = snaps.errMsg;
        ret.errCode = snaps.errCode;
        m_LogMsg << "\tCannot check if the snapshot can be deleted";
        WriteLogMsg(ProgNameQueries, Fn, __LINE__, ERR);
        return false;
    }
    if (snaps.replicationVolumes.empty()) {
        m_LogMsg << "\tEvent: Cannot find the multiple snapshot that is about to be deleted"
                 << "\n\t:Input: " << "\n\tYB Volume Id = " << id << "\n\tSnap Volume Id = " << volume.SnapVolumeId;
        WriteLogMsg(ProgNameQueries, Fn, __LINE__, WARNING);
        ret.canDelete = true;
        return true;
    }
    // Newest first: only the last, the oldest, may go.
    const int32_t oldest = snaps.replicationVolumes.back().id;
    ret.canDelete = oldest == id;
    ret.errMsg = "";
    if (!ret.canDelete) {
        m_LogMsg << "\tSnapshot in the destination volume cannot be deleted because is not the oldest one"
                 << "\n\tYB Volume Info:" << "\n\tId = " << id << "\n\tSrc Vol Id = " << volume.PrimaryVolumeId
                 << "\n\tDst Vol Id = " << volume.PhysicalVolumeId << "\n\tSnap Vol Id = " << volume.SnapVolumeId
                 << "\n\tCreation Time = " << volume.CreationTime << "\n\tOldest snap id = " << oldest;
        WriteLogMsg(ProgNameQueries, Fn, __LINE__, MSG);
    }
    return true;
}

// ---- Request cases --------------------------------------------------------------------

namespace {

// The ids in request order; a count with a null list is an empty list.
template <typename Args, typename Ret, typename Reply>
void ServeReservation(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf,
                      bool (ReplicationMgr::*operation)(const Args&, Ret&, DBtran*))
{
    const auto& req = cases::RequestOf<repReserveReplicaVolReq>(buf);
    Args args;
    if (req.ids != nullptr) args.ids.assign(req.ids, req.ids + req.count);
    Ret ret;
    AnswerInlineTranCase<Reply>(mgr, code, ret, cases::Order::B, cases::Message::Copy,
                                [&](DBtran* tran) { return (mgr.*operation)(args, ret, tran); });
}

void ServeReserve(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    ServeReservation<ReserveReplicaVolListArgs_t, ReserveReplicaVolListRet_t, repReserveReplicaVolResp>(
        mgr, code, buf, &ReplicationMgr::ReserveReplicationVolumes);
}

void ServeUnreserve(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    ServeReservation<UnreserveReplicaVolumeListArgs_t, UnreserveReplicaVolumeListRet_t, repUnreserveReplicaVolResp>(
        mgr, code, buf, &ReplicationMgr::UnreserveReplicationVolumes);
}

}  // namespace

const ServedCase ReserveReplicationVolumesCase =
    cases::Serve<repReserveReplicaVolReq, repReserveReplicaVolResp>(&ServeReserve);
const ServedCase UnreserveReplicationVolumesCase =
    cases::Serve<repUnreserveReplicaVolReq, repUnreserveReplicaVolResp>(&ServeUnreserve);
