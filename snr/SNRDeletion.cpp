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

// The permanent replicas whose primary volume is the volume, deleted with
// the volume marked as being deleted. True also when it has none.
bool DeleteVolumeReplicas(ReplicationMgr& mgr, int32_t volumeId, std::string& errMsg, DBtran* tran,
                          DeletionTrail& trail)
{
    const VolumeBeingDeleted marked(trail, volumeId);
    DeletePermanentReplicaRet_t replicas;
    if (mgr.DeletePermanentReplica(DeletePermanentReplicaArgs_t(volumeId), replicas, tran, &trail) ||
        replicas.NotFound)
        return true;
    errMsg = replicas.errMsg;
    return false;
}

// Whether an SNR volume stays because rows of that kind name it: a WARNING
// entry when they do; a count that could not be read fails the deletion.
enum class Stays { No, Yes, Failed };
Stays StaysWhileNamed(ReplicationMgr& mgr, DeleteSNRVolumeByIdRet_t& ret, int32_t volumeId, steps::VolumeUser kind,
                      DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::DeleteSNRVolume()";
    unsigned int count = 0;
    std::string failure;
    if (!steps::CountVolumeUsers(kind, volumeId, tran, count, failure)) {
        steps::Fail(mgr, ret, 0, steps::VolumeUsersUnreadText(kind), failure, ProgNameDeletes, Fn, __LINE__);
        return Stays::Failed;
    }
    if (count == 0) return Stays::No;
    steps::Warn(mgr, steps::VolumeUsedText(kind),
                "\n\tSNR Volume id = " + std::to_string(volumeId) + " stays\n\tOutput:\n\tNRows = " +
                    std::to_string(count),
                ProgNameDeletes, Fn, __LINE__);
    ret.errMsg = "";
    return Stays::Yes;
}

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
    // Permanent replicas that lie on one another lead back here: the
    // deletion under way removes the volume.
    if (IsBeingDeleted(kept, id)) {
        steps::Warn(*this, "The SNR volume is being deleted already and is not entered again",
                    "\n\tSNR Volume ID = " + std::to_string(id), ProgNameDeletes, Fn, __LINE__);
        ret.errMsg = "";
        return true;
    }

    // The volume stays, and its deletion succeeds, while a device, a scratch
    // volume or a replication volume other than its own permanent replicas
    // names it; then those stay too. Otherwise they go first, and the volume
    // stays after all when another permanent replica of it is left.
    for (steps::VolumeUser kind : {steps::VolumeUser::Device, steps::VolumeUser::ScratchVolume,
                                   steps::VolumeUser::OtherThanItsPermanentReplicas}) {
        const Stays stays = StaysWhileNamed(*this, ret, id, kind, tran);
        if (stays != Stays::No) return stays == Stays::Yes;
    }
    if (!DeleteVolumeReplicas(*this, id, ret.errMsg, tran, kept)) return false;
    const Stays stays = StaysWhileNamed(*this, ret, id, steps::VolumeUser::ReplicationVolume, tran);
    if (stays != Stays::No) return stays == Stays::Yes;

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
    return true;
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

    // 2. Its mount points, if it has any.
    const std::string mountWhere = "DeviceNameId = " + std::to_string(id);
    CSNRVolumeMountPointDB mountPoints;
    if (!mountPoints.remove(mountWhere.c_str(), tran) && mountPoints.getErrorCode() != DB_NO_MORE_ROWS)
        return refuse("Could not remove mount point from the database",
                      "\n\tCSNRVolumeMountPointDB::remove() failed\n\tsWhere = " + mountWhere + dbCode(mountPoints),
                      __LINE__);

    // Its global history name, if it has one, goes with it too.
    {
        CYBTzHistoryNameDB historyNames;
        if (!historyNames.remove(id, tran) && historyNames.getErrorCode() != DB_NO_MORE_ROWS)
            return refuse("Global history name cannot be removed from the database",
                          "\n\tCYBTzHistoryNameDB::remove() failed" + deviceLine + dbCode(historyNames), __LINE__);
    }

    // 3-5. The device, not in use, its controller switched off.
    CSNRVolumeDeviceNameDB devices;
    YBPhysicalDevice_t device;
    std::memset(static_cast<void*>(&device), 0, sizeof device);
    if (!devices.getInfo(id, device, tran))
        return refuse("Could not get information about the device in the database",
                      "\n\tCSNRVolumeDeviceNameDB::getInfo() failed" + deviceLine + dbCode(devices), __LINE__);
    const int32_t volumeId = device.SNRVolumeId;
    const std::string volumeLine = "\n\tSNR Volume id = " + std::to_string(volumeId);
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

    // 6-7. The devices of the volume, this one included; then the device.
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
        return true;
    }

    // 9. The volume's last device: the volume goes unless something still
    // refers to it; what only describes it goes with it.
    if (!steps::RefuseWhileNamed(*this, ret, 0, steps::VolumeUser::ScratchVolume, volumeId, tran, ProgNameDeletes,
                                 Fn))
        return false;
    if (!DeleteVolumeReplicas(*this, volumeId, ret.errMsg, tran, kept)) return false;
    if (!steps::RefuseWhileNamed(*this, ret, 0, steps::VolumeUser::ReplicationVolume, volumeId, tran,
                                 ProgNameDeletes, Fn))
        return false;
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
    return true;
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
