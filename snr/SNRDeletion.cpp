// The deletion of SNR volumes, which goes with their permanent replicas, and
// of devices, which goes with their mount points and, for a volume's last
// device, with the volume and what hangs on it; the restoring of what they
// did outside the database after a rollback, and the device deletion's
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
#include "service/ErrorCodes.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"
#include "service/TranHandle.h"
#include "snr/HistoryNames.h"
#include "snr/MountPoints.h"
#include "snr/SNRCases.h"
#include "snr/VolumeReferences.h"

namespace {

// The volume stands in the trail while its permanent replicas are deleted.
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

// Every permanent replica whose primary volume is the volume, deleted with
// the volume marked as being deleted. True also when it has none.
bool DeleteVolumeReplicas(ReplicationMgr& mgr, int32_t volumeId, std::string& errMsg, DBtran* tran,
                          DeletionTrail& trail)
{
    const VolumeBeingDeleted marked(trail, volumeId);
    DeletePermanentReplicaRet_t replicas;
    do {
        replicas = DeletePermanentReplicaRet_t();
        if (!mgr.DeletePermanentReplica(DeletePermanentReplicaArgs_t(volumeId), replicas, tran, &trail)) {
            if (replicas.NotFound) return true;
            errMsg = replicas.errMsg;
            return false;
        }
    } while (replicas.OthersLeft);
    return true;
}

// What keeps a volume's row: its devices, the scratch volumes on it and the
// replication volumes that name it, its own permanent replicas aside, which
// go with it. Read before anything is asked of a host, so that a deletion
// refused for them is refused before a host acted.
constexpr steps::VolumeUser kVolumeUsers[] = {steps::VolumeUser::Device, steps::VolumeUser::ScratchVolume,
                                              steps::VolumeUser::OtherThanItsPermanentReplicas};

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

    DeletionTrail own;
    DeletionTrail& kept = trail != nullptr ? *trail : own;
    // A volume is entered again only through a permanent replica lying on
    // it, which the checks below keep it for: should one lead back here all
    // the same, the deletion under way removes the volume.
    if (IsBeingDeleted(kept, id)) {
        steps::Warn(*this, "The SNR volume is being deleted already and is not entered again",
                    "\n\tSNR Volume ID = " + std::to_string(id), ProgNameDeletes, Fn, __LINE__);
        ret.errMsg = "";
        return true;
    }

    // The volume stays, and its deletion succeeds, while a device, a scratch
    // volume or a replication volume other than its own permanent replicas
    // names it; then those stay too. Otherwise they all go first.
    for (steps::VolumeUser kind : kVolumeUsers) {
        const steps::Named named =
            steps::CheckVolumeUsers(*this, ret, steps::WhileNamed::Stay, 0, kind, id, tran, ProgNameDeletes, Fn);
        if (named != steps::Named::No) return named == steps::Named::Yes;
    }
    if (!DeleteVolumeReplicas(*this, id, ret.errMsg, tran, kept)) return false;

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
    return trail != nullptr || AskHostsLeft(own, ret.errMsg);
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
    DeletionTrail own;
    DeletionTrail& kept = trail != nullptr ? *trail : own;

    if (id <= 0) return refuse("Invalid device name id", "\n\tParameters used:" + deviceLine, __LINE__);

    // Its mount points and its global history name, if it has them.
    const std::string mountWhere = "DeviceNameId = " + std::to_string(id);
    CSNRVolumeMountPointDB mountPoints;
    if (!mountPoints.remove(mountWhere.c_str(), tran) && mountPoints.getErrorCode() != DB_NO_MORE_ROWS)
        return refuse("Could not remove mount point from the database",
                      "\n\tCSNRVolumeMountPointDB::remove() failed\n\tsWhere = " + mountWhere + dbCode(mountPoints),
                      __LINE__);
    if (RemoveHistoryName(*this, id, tran, ret.errMsg) == HistoryNameRemoval::Failed) return false;

    // The device's row and whether it is its volume's last device; the last
    // one's volume must be free to go before a host is asked anything.
    CSNRVolumeDeviceNameDB devices;
    YBPhysicalDevice_t device;
    std::memset(static_cast<void*>(&device), 0, sizeof device);
    if (!devices.getInfo(id, device, tran))
        return refuse("Could not get information about the device in the database",
                      "\n\tCSNRVolumeDeviceNameDB::getInfo() failed" + deviceLine + dbCode(devices), __LINE__);
    const int32_t volumeId = device.SNRVolumeId;
    const std::string volumeLine = "\n\tSNR Volume id = " + std::to_string(volumeId);
    const std::string volumeWhere = "SNRVolumeId = " + std::to_string(volumeId);
    unsigned int volumeDevices = 0;
    if (!devices.getNRows(volumeWhere.c_str(), volumeDevices, tran))
        return refuse("Could not get list of devices from the database",
                      "\n\tCSNRVolumeDeviceNameDB::getNRows() failed\n\tsWhere = " + volumeWhere + dbCode(devices),
                      __LINE__);
    const bool lastDevice = volumeDevices == 1;
    if (lastDevice)
        for (steps::VolumeUser kind : kVolumeUsers)
            if (kind != steps::VolumeUser::Device &&
                steps::CheckVolumeUsers(*this, ret, steps::WhileNamed::Refuse, 0, kind, volumeId, tran,
                                        ProgNameDeletes, Fn) != steps::Named::No)
                return false;

    // The device not in use; its controller switched off, then its row.
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
        kept.deactivatedDevices.push_back(id);
    }
    if (!devices.remove(id, tran))
        return refuse("Could not remove device from the database",
                      "\n\tCSNRVolumeDeviceNameDB::remove() failed" + deviceLine + "\n\tTran = 0x" +
                          steps::TranHandle(tran) + dbCode(devices),
                      __LINE__);
    m_LogMsg << "\tSNR Device Name ID " << id << " removed from DB";
    WriteLogMsg(ProgNameDeletes, Fn, __LINE__, MSG);

    if (!lastDevice) {
        ret.errMsg = "";
        return true;
    }

    // The volume of its last device, with its permanent replicas and what
    // only describes it.
    if (!DeleteVolumeReplicas(*this, volumeId, ret.errMsg, tran, kept)) return false;
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
    return trail != nullptr || AskHostsLeft(own, ret.errMsg);
}

void ReplicationMgr::RestoreAfterRollback(const DeletionTrail& trail)
{
    for (int32_t deviceId : trail.deactivatedDevices) RestoreControllerAfterRollback(*this, deviceId);
    for (int32_t scratchId : trail.releasedScratchVolumes) {
        m_LogMsg << "\tEvent: The release of RV scratch volume " << scratchId << " was rolled back"
                 << "\n\tThe snapshots it held may have been deleted on its host already";
        WriteLogMsg(cases::ProgName, "ReplicationMgr::post()", __LINE__, ERR);
    }
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
