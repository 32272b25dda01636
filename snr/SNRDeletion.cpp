// The deletion of SNR volumes, which goes with their permanent replicas, and
// of devices, which goes with their mount points and, for a volume's last
// device, with the volume and what hangs on it; the restoring of what they
// did outside the database after a rollback, and the device deletion's
// inline request case.
#include "snr/SNRDeletion.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "files/StoredFiles.h"
#include "host/ZXMMDBDeviceInfo.h"
#include "host/db/DBtable.h"
#include "host/db/PolicyTables.h"
#include "host/db/ReplicaTables.h"
#include "host/db/SNRTables.h"
#include "policies/VolSnapParams.h"
#include "replicas/PermanentReplicas.h"
#include "service/DeletionCase.h"
#include "service/ErrorCodes.h"
#include "service/HeldRows.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"
#include "service/TranHandle.h"
#include "snr/MountPoints.h"
#include "snr/SNRCases.h"

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

    if (!DeleteVolumeReplicas(*this, id, ret.errMsg, tran, kept)) return false;

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
    // refers to it.
    const std::string physicalWhere = "PhysicalVolumeId = " + std::to_string(volumeId);
    {
        CRVScratchVolumeDB scratchVolumes;
        steps::HeldRows<YBScratchVolume_t> scratch(scratchVolumes);
        if (!scratchVolumes.getList(scratch.rows, scratch.count, physicalWhere.c_str(), "", tran) &&
            scratchVolumes.getErrorCode() != DB_NO_MORE_ROWS)
            return refuse(
                "Could not determine if volume still referenced by YB Volume or Scratch Volume in the database",
                "\n\tCRVScratchVolumeDB::getList() failed\n\tsWhere = " + physicalWhere + dbCode(scratchVolumes),
                __LINE__);
        if (scratch.count > 0)
            return refuse("Can not delete volume: still referenced by YB Volume or Scratch Volume in the database",
                          volumeLine + "\n\tOutput:\n\tNRows = " + std::to_string(scratch.count), __LINE__);
    }

    if (!DeleteVolumeReplicas(*this, volumeId, ret.errMsg, tran, kept)) return false;

    {
        const std::string usedWhere = physicalWhere + " OR PrimaryVolumeId = " + std::to_string(volumeId);
        CReplicationVolumeDB replicas;
        steps::HeldRows<YBVolume_t> users(replicas);
        if (!replicas.getList(users.rows, users.count, usedWhere.c_str(), "", tran) &&
            replicas.getErrorCode() != DB_NO_MORE_ROWS)
            return refuse("Could not determine if volume still referenced by YB volumes in the database",
                          "\n\tCReplicationVolumeDB::getList() failed\n\tsWhere = " + usedWhere + dbCode(replicas),
                          __LINE__);
        if (users.count > 0)
            return refuse("Can not delete volume: Still referenced by YB Volumes in the database",
                          volumeLine + "\n\tOutput:\n\tNRows = " + std::to_string(users.count), __LINE__);
    }

    {
        CVolumeSnapParamsDB snapParams;
        unsigned int count = 0;
        if (!snapParams.getNRows(volumeWhere.c_str(), count, tran))
            return refuse("Cannot access Volume Snap Parameters information from the database",
                          "\n\tCVolumeSnapParamsDB::getNRows() failed\n\tsWhere = " + volumeWhere + dbCode(snapParams),
                          __LINE__);
        if (count > 0) {
            RemoveVolSnapParamArgs_t removeArgs;
            removeArgs.SNRVolumeId = volumeId;
            RemoveVolSnapParamRet_t removed;
            if (!RemoveVolSnapParam(removeArgs, removed, tran)) {
                ret.errMsg = removed.errMsg;
                return false;
            }
        }
    }

    {
        DeleteYBFileByVolIdRet_t files;
        if (!DeleteYBFile(DeleteYBFileByVolIdArgs_t(volumeId), files, tran) && files.errCode != kErrNotFound) {
            ret.errMsg = files.errMsg;
            return false;
        }
    }

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
