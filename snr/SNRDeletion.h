// Argument and result records and the request and reply structures of the
// deletion of SNR volumes and devices and of the pruning of protected
// volumes, with the trail a deletion keeps of what it did outside the
// database and of the volumes it is deleting.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "service/CasePatterns.h"
#include "snr/SNRRecords.h"

// What one request's deletions are doing: the SNR volumes whose deletion is
// under way (a volume among them is not entered again), the devices whose
// controller they switched off and the scratch volumes they released, whose
// snapshots the release may have deleted on their host. A caller that owns
// the transaction hands one trail to every deletion and, after rolling back,
// to ReplicationMgr::RestoreAfterRollback.
struct DeletionTrail {
    std::vector<int32_t> volumesBeingDeleted;
    std::vector<int32_t> deactivatedDevices;
    std::vector<int32_t> releasedScratchVolumes;
};

// ---- Arguments and results ----------------------------------------------------

struct DeleteSNRVolByIdArgs_t {
    explicit DeleteSNRVolByIdArgs_t(int32_t volumeId = -1) : id(volumeId) {}
    int32_t id;
};
struct DeleteSNRVolumeByIdRet_t {
    std::string errMsg;
};

struct DeleteSNRDeviceArgs_t {
    explicit DeleteSNRDeviceArgs_t(int32_t deviceId = -1) : DeviceId(deviceId) {}
    int32_t DeviceId;
};
struct DeleteSNRDeviceRet_t {
    std::string errMsg;
};

// The names of the consistency points that have not expired.
struct PruneMorvaneVolumeArgs_t {
    int32_t SNRVolumeId = -1;
    std::vector<std::string> unexpiredNames;
};
// The code is set on failure only.
struct PruneMorvaneVolumeRet_t {
    int32_t errCode = 0;
    std::string errMsg;
};

// ---- Requests and replies (status 1 succeeded, 0 failed; the message null on success)

struct repDeleteSNRDeviceReq {
    int32_t DeviceId;
};
struct repDeleteSNRDeviceResponse {
    uint32_t status;
    char* errMsg;
};

// `count` name texts at `names` (a null text reads as an empty one).
struct repPruneMorvaneVolumeReq {
    static constexpr bool kHoldsPointers = true;
    int32_t SNRVolumeId;
    int32_t reserved;
    uint32_t count;
    char** names;
};
struct repPruneMorvaneVolumesResp {
    int32_t status;
    int32_t errCode;
    char* errMsg;
};

static_assert(sizeof(repDeleteSNRDeviceReq) == 4, "repDeleteSNRDeviceReq size");
static_assert(sizeof(repDeleteSNRDeviceResponse) == 16, "repDeleteSNRDeviceResponse size");
YB_CHECK_FIELD(repDeleteSNRDeviceResponse, errMsg, 8);
static_assert(sizeof(repPruneMorvaneVolumeReq) == 24, "repPruneMorvaneVolumeReq size");
YB_CHECK_FIELD(repPruneMorvaneVolumeReq, count, 8);
YB_CHECK_FIELD(repPruneMorvaneVolumeReq, names, 16);
static_assert(sizeof(repPruneMorvaneVolumesResp) == 16, "repPruneMorvaneVolumesResp size");
YB_CHECK_FIELD(repPruneMorvaneVolumesResp, errCode, 4);
YB_CHECK_FIELD(repPruneMorvaneVolumesResp, errMsg, 8);

namespace snr_detail {

// The inline case of a deletion request: the operation(tran, trail) runs in
// the case's transaction with a trail of its own; after a failed request,
// rolled back, what it did outside the database is restored or reported.
template <typename Reply, typename Ret, typename Operation>
void RunDeletionCase(ReplicationMgr& mgr, unsigned long code, const Ret& ret, cases::Order order, cases::Message mode,
                     Operation&& operation)
{
    Reply reply;
    std::memset(static_cast<void*>(&reply), 0, sizeof reply);
    DeletionTrail trail;
    RunInlineTranCase(
        mgr, ReplyCodeFor(code), reply, cases::StatusOf<Reply>(), ret, cases::HandlerLog(code, ReplyCodeFor(code)),
        order, mode, [&](DBtran* tran) { return operation(tran, trail); }, [](Reply&) {});
    if (reply.status != 1) mgr.RestoreAfterRollback(trail);
}

}  // namespace snr_detail
