// The deletion of SNR volumes, which goes with their permanent replicas, and
// of devices, which goes with their mount points and, for a volume's last
// device, with the volume and what hangs on it; and the device deletion's
// inline request case.
#include "snr/SNRDeletion.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "host/ZXMMDBDeviceInfo.h"
#include "host/db/DBtable.h"
#include "host/db/ReplicaTables.h"
#include "host/db/SNRTables.h"
#include "replicas/PermanentReplicas.h"
#include "service/DeletionCase.h"
#include "service/DeletionTrail.h"
#include "service/ErrorCodes.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"
#include "service/TranHandle.h"
#include "service/Utils.h"
#include "snr/HistoryNames.h"
#include "snr/SNRCases.h"
#include "snr/VolumeReferences.h"

namespace {

// The volume stands in the trail while its permanent replica is deleted.
class VolumeBeingDeleted {
public:
    VolumeBeingDeleted(DeletionTrail& trail, int32_t volumeId) : m_trail(trail)
    {
        m_trail.volumesBeingDeleted.push_back(volumeId);
    }
    ~VolumeBeingDeleted() { m_trail.volumesBeingDeleted.pop_back(); }
    VolumeBeingDeleted(const VolumeBeingDeleted&) = delete;
    VolumeBeingDeleted& operator=(const VolumeBeingDeleted&) = delete;

private:
    DeletionTrail& m_trail;
};

bool IsBeingDeleted(const DeletionTrail& trail, int32_t volumeId)
{
    const auto& volumes = trail.volumesBeingDeleted;
    return std::find(volumes.begin(), volumes.end(), volumeId) != volumes.end();
}

// The volume's permanent replica (its lowest id), deleted with the volume
// marked as being deleted. True also when it has none.
bool DeletePermanentReplicaOf(ReplicationMgr& mgr, int32_t volumeId, std::string& errMsg, DBtran* tran,
                              DeletionTrail& trail)
{
    const VolumeBeingDeleted marked(trail, volumeId);
    DeletePermanentReplicaRet_t replica;
    if (mgr.DeletePermanentReplica(DeletePermanentReplicaArgs_t(volumeId), replica, tran, &trail) || replica.NotFound)
        return true;
    errMsg = replica.errMsg;
    return false;
}

// What keeps the row of a volume whose deletion was asked for by the
// deletion of a permanent replica lying on it: its devices, the scratch
// volumes on it and the replication volumes that name it, the permanent
// replica its own deletion takes aside.
constexpr steps::VolumeUser kVolumeKeepers[] = {steps::VolumeUser::Device, steps::VolumeUser::ScratchVolume,
                                                steps::VolumeUser::OtherThanItsFirstPermanentReplica};

}  // namespace

bool ReplicationMgr::DeleteSNRVolume(const DeleteSNRVolByIdArgs_t& args, DeleteSNRVolumeByIdRet_t& ret, DBtran* tran,
                                     DeletionTrail* trail)
{
    static const char Fn[] = "ReplicationMgr::DeleteSNRVolume()";
    const int32_t id = args.id;
    if (id <= 0)
        return steps::Fail(*this, ret, 0, "Cannot remove volume information from the database with invalid values",
                           "\n\tParameters used:\n\tSNR Volume ID = " + std::to_string(id), ProgNameDeletes, Fn,
                           __LINE__);

    steps::KeptTrail keeper(*this, trail);
    if (!keeper.begun())
        return steps::Fail(*this, ret, 0, DBTranErrorMsg, "", ProgNameDeletes, Fn, __LINE__);
    DeletionTrail& kept = keeper.trail();
    // A volume is entered again only through a permanent replica lying on
    // it: the deletion under way removes the volume.
    if (IsBeingDeleted(kept, id)) {
        steps::Warn(*this, "The SNR volume is being deleted already and is not entered again",
                    "\n\tSNR Volume ID = " + std::to_string(id), ProgNameDeletes, Fn, __LINE__);
        ret.errMsg = "";
        return keeper.Succeeded(ret, 0);
    }

    // The volume stays, with its permanent replicas, and its deletion
    // succeeds, while a device, a scratch volume or a replication volume
    // other than the permanent replica it takes names it.
    for (steps::VolumeUser kind : kVolumeKeepers) {
        const steps::Named named =
            steps::CheckVolumeUsers(*this, ret, steps::WhileNamed::Stay, 0, kind, id, tran, ProgNameDeletes, Fn);
        if (named == steps::Named::Unread) return false;
        if (named == steps::Named::Yes) return keeper.Succeeded(ret, 0);
    }

    // Its permanent replica, what only describes it, its row.
    if (!DeletePermanentReplicaOf(*this, id, ret.errMsg, tran, kept)) return false;
    int32_t descriptionCode = 0;
    if (!steps::RemoveVolumeDescriptions(*this, id, ret.errMsg, descriptionCode, tran, ProgNameDeletes, Fn))
        return false;

    CSNRVolumeDB volumes;
    if (!volumes.remove(id, tran))
        return steps::Fail(*this, ret, 0, "Cannot remove volume information from the database",
                           "\n\tCSNRVolumeDB::remove() failed\n\tParameters used:\n\tSNR Volume ID = " +
                               std::to_string(id) + "\n\tTran = 0x" + steps::TranHandle(tran),
                           ProgNameDeletes, Fn, __LINE__);

    m_LogMsg << "\tSNR Volume " << id << " was removed";
    WriteLogMsg(ProgNameDeletes, Fn, __LINE__, MSG);
    ret.errMsg = "";
    return keeper.Succeeded(ret, 0);
}

bool ReplicationMgr::DeleteSNRDevice(const DeleteSNRDeviceArgs_t& args, DeleteSNRDeviceRet_t& ret, DBtran* tran,
                                     DeletionTrail* trail)
{
    static const char Fn[] = "ReplicationMgr::DeleteSNRDevice()";
    const int32_t id = args.DeviceId;
    const std::string deviceLine = "\n\tDevice Name id = " + std::to_string(id);
    auto refuse = [&](const std::string& text, const std::string& details, long line) {
        return steps::Fail(*this, ret, 0, text, details, ProgNameDeletes, Fn, line);
    };
    auto dbCode = [](const CRepTableCore& table) {
        return "\n\tDB Err Code = " + std::to_string(table.getErrorCode());
    };
    auto refusedFor = [&](steps::VolumeUser kind, int32_t volumeId) {
        return steps::CheckVolumeUsers(*this, ret, steps::WhileNamed::Refuse, 0, kind, volumeId, tran,
                                       ProgNameDeletes, Fn) != steps::Named::No;
    };

    if (id <= 0) return refuse("Invalid device name id", "\n\tParameters used:" + deviceLine, __LINE__);
    steps::KeptTrail keeper(*this, trail);
    if (!keeper.begun()) return refuse(DBTranErrorMsg, "", __LINE__);
    DeletionTrail& kept = keeper.trail();

    // Its mount points and its global history name, if it has them.
    const std::string mountWhere = "DeviceNameId = " + std::to_string(id);
    CSNRVolumeMountPointDB mountPoints;
    if (!mountPoints.remove(mountWhere.c_str(), tran) && mountPoints.getErrorCode() != DB_NO_MORE_ROWS)
        return refuse("Could not remove mount point from the database",
                      "\n\tCSNRVolumeMountPointDB::remove() failed\n\tsWhere = " + mountWhere + dbCode(mountPoints),
                      __LINE__);
    if (RemoveHistoryName(*this, id, tran, ret.errMsg, Fn) == HistoryNameRemoval::Failed) return false;

    CSNRVolumeDeviceNameDB devices;
    YBPhysicalDevice_t device;
    std::memset(static_cast<void*>(&device), 0, sizeof device);
    if (!devices.getInfo(id, device, tran))
        return refuse("Could not get information about the device in the database",
                      "\n\tCSNRVolumeDeviceNameDB::getInfo() failed" + deviceLine + dbCode(devices), __LINE__);
    const int32_t volumeId = device.SNRVolumeId;
    const std::string volumeLine = "\n\tSNR Volume id = " + std::to_string(volumeId);

    // The device not in use; its controller switched off (set as its rows
    // give after a rollback, through the trail), the count of its volume's
    // devices, then its row.
    {
        ZXMMDBDeviceInfo deviceLayer;
        bool inUse = false;
        if (deviceLayer.isSNRVolumeBeingUsed(id, inUse) != 0)
            return refuse("Could not check if device is being used", deviceLine + volumeLine, __LINE__);
        if (inUse)
            return refuse("Cannot delete device because is being used as a storage device", deviceLine + volumeLine,
                          __LINE__);
    }
    {
        ZXMMDBDeviceInfo deviceLayer;
        if (deviceLayer.deactivateControllerBySNRVolId(id, tran) != 0) {
            char lastError[2048];
            deviceLayer.getLastError(lastError, sizeof lastError);
            return refuse(lastError, "\n\tZXMMDBDeviceInfo::deactivateControllerBySNRVolId() failed" + deviceLine +
                                         volumeLine,
                          __LINE__);
        }
        kept.deactivatedDevices.push_back({id});
    }
    const std::string volumeWhere = "SNRVolumeId = " + std::to_string(volumeId);
    unsigned int volumeDevices = 0;
    if (!devices.getNRows(volumeWhere.c_str(), volumeDevices, tran))
        return refuse("Could not get list of devices from the database",
                      "\n\tCSNRVolumeDeviceNameDB::getNRows() failed\n\tsWhere = " + volumeWhere + dbCode(devices),
                      __LINE__);
    if (!devices.remove(id, tran))
        return refuse("Could not remove device from the database",
                      "\n\tCSNRVolumeDeviceNameDB::remove() failed" + deviceLine + "\n\tTran = 0x" +
                          steps::TranHandle(tran) + dbCode(devices),
                      __LINE__);
    m_LogMsg << "\tSNR Device Name ID " << id << " removed from DB";
    WriteLogMsg(ProgNameDeletes, Fn, __LINE__, MSG);

    if (volumeDevices != 1) {
        ret.errMsg = "";
        return keeper.Succeeded(ret, 0);
    }

    // The volume of its last device: refused while a scratch volume lies on
    // it; its permanent replica goes, then it is refused while a replication
    // volume still names it; then what only describes it, and its row. A
    // refusal here relies on the caller's rollback for the rows that went
    // before and on the trail for the controller switched off; no host has
    // been asked to delete anything yet.
    if (refusedFor(steps::VolumeUser::ScratchVolume, volumeId)) return false;
    if (!DeletePermanentReplicaOf(*this, volumeId, ret.errMsg, tran, kept)) return false;
    if (refusedFor(steps::VolumeUser::ReplicationVolume, volumeId)) return false;
    int32_t descriptionCode = 0;
    if (!steps::RemoveVolumeDescriptions(*this, volumeId, ret.errMsg, descriptionCode, tran, ProgNameDeletes, Fn))
        return false;

    CSNRVolumeDB volumes;
    if (!volumes.remove(volumeId, tran))
        return refuse("Could not remove volume from the database",
                      "\n\tVolumeId = " + std::to_string(volumeId) + dbCode(volumes), __LINE__);
    m_LogMsg << "\tSNR Volume with ID " << volumeId << " has been removed from DB";
    WriteLogMsg(ProgNameDeletes, Fn, __LINE__, MSG);
    ret.errMsg = "";
    return keeper.Succeeded(ret, 0);
}

// ---- Inline request case ------------------------------------------------------------

namespace {

// The reply carries no code; its message points into the result.
void ServeDeleteSNRDevice(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    const DeleteSNRDeviceArgs_t args(cases::RequestOf<repDeleteSNRDeviceReq>(buf).DeviceId);
    DeleteSNRDeviceRet_t ret;
    steps::RunDeletionCase<repDeleteSNRDeviceResponse>(
        mgr, code, ret, cases::Order::A, cases::Message::PointIntoResult,
        [&](DBtran* tran, DeletionTrail& trail) { return mgr.DeleteSNRDevice(args, ret, tran, &trail); });
}

}  // namespace

const ServedCase DeleteSNRDeviceCase =
    cases::Serve<repDeleteSNRDeviceReq, repDeleteSNRDeviceResponse>(&ServeDeleteSNRDevice);
