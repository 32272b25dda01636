// The pruning of an expired protected volume: its newest replication volume
// and its one device go, and with the device, when it was the volume's last,
// the volume itself; a volume whose consistency point has not expired stays.
// The operation and its inline request case.
#include <algorithm>
#include <string>

#include "host/EvDebug.h"
#include "replicas/ReplicaVolumeRemoval.h"
#include "service/DeletionCase.h"
#include "service/ErrorCodes.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"
#include "service/Utils.h"
#include "snr/DeviceQueries.h"
#include "snr/SNRCases.h"
#include "snr/SNRDeletion.h"
#include "snr/SNRVolumeReplicas.h"

namespace {

const char Fn[] = "ReplicationMgr::PruneMorvaneVolume()";

// The consistency point name of a unique snapshot id: the text after its
// last ":", each "-" made ":" and then each "~" a blank. False when the id
// holds no ":".
bool ConsistencyPointName(const std::string& uniqueSnapshotId, std::string& name)
{
    const std::string::size_type colon = uniqueSnapshotId.rfind(':');
    if (colon == std::string::npos) return false;
    name = uniqueSnapshotId.substr(colon + 1);
    std::replace(name.begin(), name.end(), '-', ':');
    std::replace(name.begin(), name.end(), '~', ' ');
    return true;
}

}  // namespace

bool ReplicationMgr::PruneMorvaneVolume(const PruneMorvaneVolumeArgs_t& args, PruneMorvaneVolumeRet_t& ret,
                                        DBtran* tran, DeletionTrail* trail)
{
    const int32_t id = args.SNRVolumeId;
    const std::string volumeLine = "\n\tSNR Volume ID = " + std::to_string(id);
    auto fail = [&](int code, const std::string& text, const std::string& details, long line) {
        return steps::Fail(*this, ret, code, text, details, ProgNameDeletes, Fn, line);
    };

    if (id < 1)
        return fail(kErrInvalidId, "Morvane volume cannot be prunned with an invalid volume Id", volumeLine, __LINE__);
    m_LogMsg << "\tPruneMorvaneVolume has started for volume id " << id;
    WriteLogMsg(ProgNameDeletes, Fn, __LINE__, MSG);

    // The volume with the replication volumes on it, newest first.
    QuerySNRVolume2ByIdV3Args_t volumeArgs;
    volumeArgs.snrVolumeId = id;
    volumeArgs.flags = SNRVOL2_ON_VOLUME;
    QuerySNRVolume2ByIdV3Ret_t volume;
    if (!QuerySNRVolume2(volumeArgs, volume)) return fail(volume.errCode, volume.errMsg, volumeLine, __LINE__);

    if (!args.unexpiredNames.empty()) {
        const std::string& uniqueSnapshotId = volume.volume.UniqueSnapshotID;
        if (uniqueSnapshotId.empty())
            return fail(kErrMissingInput, "\tMorvane volume prunning cannot continue with Unique Snapshot ID empty",
                        volumeLine, __LINE__);
        std::string name;
        if (!ConsistencyPointName(uniqueSnapshotId, name))
            return fail(kErrMissingInput, "\tConsistency Point name cannot not be found",
                        "\n\tConsistency Point name cannot be found in the UniqueSnapshotId of the volume"
                        "\n\tSNR Volume ID    = " +
                            std::to_string(id) + "\n\tUniqueSnapshotId = " + EvDebug::escaped(uniqueSnapshotId),
                        __LINE__);
        for (const std::string& unexpired : args.unexpiredNames) {
            if (FXString::CompareNoCase(name, unexpired) != 0) continue;
            ret.errCode = kErrInUse;
            ret.errMsg = "Morvane volume cannot be pruned because it has not expired";
            steps::Warn(*this, ret.errMsg, volumeLine, ProgNameDeletes, Fn, __LINE__);
            return false;
        }
    }

    // Its newest replication volume; a volume without one has none to lose.
    if (volume.replicationVolumes.empty()) {
        steps::Warn(*this, "The protected volume has no replication volume to remove", volumeLine, ProgNameDeletes, Fn,
                    __LINE__);
    } else {
        RemoveReplicationVolumeRet_t removed;
        if (!RemoveReplicationVolume(RemoveReplicationVolumeArgs_t(volume.replicationVolumes.front().id), removed,
                                     tran))
            return fail(kErrNestedCall, removed.errMsg, volumeLine, __LINE__);
    }

    // Its one device, and with it the volume when it was the last.
    QuerySNRVolDevNameBySNRVolIdV2Ret_t devices;
    if (!QuerySNRVolDev(QuerySNRVolDevNameBySNRVolIdV2Args_t(id), devices))
        return fail(devices.errCode, devices.errMsg, volumeLine, __LINE__);
    if (devices.devices.size() != 1) {
        const bool none = devices.devices.empty();
        return fail(none ? kErrNotFound : kErrNotUnique, "Morvane Prunning failed",
                    std::string("\n\tReason: ") + (none ? "No device was found" : "Multiple device entries found") +
                        volumeLine + "\n\tN Devices     = " + std::to_string(devices.devices.size()),
                    __LINE__);
    }
    DeleteSNRDeviceRet_t deleted;
    if (!DeleteSNRDevice(DeleteSNRDeviceArgs_t(devices.devices.front().id), deleted, tran, trail))
        return fail(kErrNestedCall, deleted.errMsg, volumeLine, __LINE__);

    ret.errMsg = "";
    return true;
}

// ---- Inline request case ------------------------------------------------------------

namespace {

// The names come as `count` texts; a request that names a count without
// its texts is refused before anything is read.
void ServePruneMorvaneVolume(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    const repPruneMorvaneVolumeReq& request = cases::RequestOf<repPruneMorvaneVolumeReq>(buf);
    PruneMorvaneVolumeArgs_t args;
    args.SNRVolumeId = request.SNRVolumeId;
    PruneMorvaneVolumeRet_t ret;
    const bool malformed = request.count > 0 && request.names == nullptr;
    for (uint32_t i = 0; !malformed && i < request.count; ++i)
        args.unexpiredNames.push_back(request.names[i] != nullptr ? request.names[i] : "");
    steps::RunDeletionCase<repPruneMorvaneVolumesResp>(
        mgr, code, ret, cases::Order::A, cases::Message::PointIntoResult, [&](DBtran* tran, DeletionTrail& trail) {
            if (!malformed) return mgr.PruneMorvaneVolume(args, ret, tran, &trail);
            return steps::Fail(
                mgr, ret, kErrMissingInput, NoRequestDataMsg,
                "\n\tThe request names " + std::to_string(request.count) + " consistency points without their texts",
                ProgNameDeletes, Fn, __LINE__);
        });
}

}  // namespace

const ServedCase PruneMorvaneVolumeCase =
    cases::Serve<repPruneMorvaneVolumeReq, repPruneMorvaneVolumesResp>(&ServePruneMorvaneVolume);
