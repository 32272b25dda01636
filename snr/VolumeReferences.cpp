// The counts of what names an SNR volume and the removal of what only
// describes it.
#include "snr/VolumeReferences.h"

#include "files/StoredFiles.h"
#include "host/db/PolicyTables.h"
#include "host/db/ReplicaTables.h"
#include "host/db/SNRTables.h"
#include "policies/VolSnapParams.h"
#include "replicas/ReplicaRecords.h"

namespace steps {

namespace {

std::string Id(int32_t volumeId) { return std::to_string(volumeId); }

// The replication volumes that name the volume in any of their three volume
// columns; with `withFirstPermanentReplica` false, not the lowest-id
// permanent replica whose primary volume it is (the one its deletion takes).
std::string ReplicationVolumesWhere(int32_t volumeId, bool withFirstPermanentReplica)
{
    const std::string id = Id(volumeId);
    std::string where = "PhysicalVolumeId = " + id + " OR SnapVolumeId = " + id + " OR ";
    if (withFirstPermanentReplica) return where + "PrimaryVolumeId = " + id;
    return where + "(PrimaryVolumeId = " + id + " AND id <> (SELECT COALESCE(MIN(id), 0) FROM YBVolume WHERE " +
           "PrimaryVolumeId = " + id + " AND CurrentRole = " + std::to_string(YBVOL_ROLE_PERMANENT_REPLICA) + "))";
}

template <typename Table>
bool Count(Table& table, const char* call, const std::string& where, DBtran* tran, unsigned int& count,
           std::string& failure)
{
    if (table.getNRows(where.c_str(), count, tran)) return true;
    failure = std::string("\n\t") + call + " failed\n\tsWhere = " + where +
              "\n\tDB Err Code = " + std::to_string(table.getErrorCode());
    return false;
}

}  // namespace

bool CountVolumeUsers(VolumeUser kind, int32_t volumeId, DBtran* tran, unsigned int& count, std::string& failure)
{
    count = 0;
    switch (kind) {
    case VolumeUser::Device: {
        CSNRVolumeDeviceNameDB devices;
        return Count(devices, "CSNRVolumeDeviceNameDB::getNRows()", "SNRVolumeId = " + Id(volumeId), tran, count,
                     failure);
    }
    case VolumeUser::ScratchVolume: {
        CRVScratchVolumeDB scratchVolumes;
        return Count(scratchVolumes, "CRVScratchVolumeDB::getNRows()", "PhysicalVolumeId = " + Id(volumeId), tran,
                     count, failure);
    }
    case VolumeUser::ReplicationVolume:
    case VolumeUser::OtherThanItsFirstPermanentReplica: {
        CReplicationVolumeDB replicas;
        return Count(replicas, "CReplicationVolumeDB::getNRows()",
                     ReplicationVolumesWhere(volumeId, kind == VolumeUser::ReplicationVolume), tran, count, failure);
    }
    }
    return false;
}

namespace {

// The refusal texts of a kind.
struct UserTexts {
    const char* used;
    const char* unread;
};
UserTexts TextsOf(VolumeUser kind)
{
    switch (kind) {
    case VolumeUser::Device:
        return {"Can not delete volume: still referenced by SNR devices in the database",
                "Could not get list of devices from the database"};
    case VolumeUser::ScratchVolume:
        return {"Can not delete volume: still referenced by YB Volume or Scratch Volume in the database",
                "Could not determine if volume still referenced by YB Volume or Scratch Volume in the database"};
    case VolumeUser::ReplicationVolume:
    case VolumeUser::OtherThanItsFirstPermanentReplica:
        return {"Can not delete volume: Still referenced by YB Volumes in the database",
                "Could not determine if volume still referenced by YB volumes in the database"};
    }
    return {"", ""};
}

}  // namespace

const char* VolumeUsedText(VolumeUser kind) { return TextsOf(kind).used; }
const char* VolumeUsersUnreadText(VolumeUser kind) { return TextsOf(kind).unread; }

bool RemoveVolumeDescriptions(ReplicationMgr& mgr, int32_t volumeId, std::string& errMsg, int32_t& errCode,
                              DBtran* tran, const char* source, const char* function)
{
    {
        const std::string where = "SNRVolumeId = " + Id(volumeId);
        CVolumeSnapParamsDB snapParams;
        unsigned int count = 0;
        if (!snapParams.getNRows(where.c_str(), count, tran)) {
            errCode = kErrDatabase;
            errMsg = "Cannot access Volume Snap Parameters information from the database";
            mgr.log() << "\tEvent: " << errMsg << "\n\tCVolumeSnapParamsDB::getNRows() failed\n\tsWhere = " << where
                      << "\n\tDB Err Code = " << snapParams.getErrorCode();
            mgr.WriteLogMsg(source, function, __LINE__, ReplicationMgr::ERR);
            return false;
        }
        if (count > 0) {
            RemoveVolSnapParamArgs_t removeArgs;
            removeArgs.SNRVolumeId = volumeId;
            RemoveVolSnapParamRet_t removed;
            if (!mgr.RemoveVolSnapParam(removeArgs, removed, tran)) {
                errCode = kErrDatabase;
                errMsg = removed.errMsg;
                return false;
            }
        }
    }

    DeleteYBFileByVolIdRet_t files;
    if (!mgr.DeleteYBFile(DeleteYBFileByVolIdArgs_t(volumeId), files, tran) && files.errCode != kErrNotFound) {
        errCode = files.errCode;
        errMsg = files.errMsg;
        return false;
    }
    return true;
}

}  // namespace steps
