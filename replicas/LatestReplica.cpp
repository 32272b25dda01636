// The latest replica of a primary volume: the SNR volume holding its most
// recently changed permanent replica, else its most recently changed
// snapshot; the row-to-wire conversion, the operation, its request handler
// and the cases of the four message versions.
#include "replicas/LatestReplica.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "host/db/DBtable.h"
#include "replicas/AppDirTexts.h"
#include "replicas/ReplicaCases.h"
#include "replicas/ReplicaRecords.h"
#include "rows/Db/Cursor/YBGetLatestRepVolByPVId.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/ReplicationMgr.h"
#include "service/ResultCode.h"
#include "service/SourceNames.h"

using replica_detail::CopyEntryText;

namespace {

const char NoMemoryText[] = "No memory available to complete query";
const char NoVolumeText[] = "Could not get volume information from the database";

void FreeText(char*& text)
{
    std::free(text);
    text = nullptr;
}

int32_t Flag(int32_t flags, int32_t bit) { return (flags & bit) != 0 ? 1 : 0; }

template <typename Wire>
bool SetVolMsgV1FromPrimaryCursor(Wire& dst, const YBGetLatestRepVolByPVId_t& src)
{
    dst.id = src.id;
    if (!CopyEntryText(dst.UniqueId, src.UniqueId)) return false;
    dst.UniqueIdType = src.UniqueIdType;
    dst.LUN = src.LUN;
    // 32-bit in versions 1 and 42: the low half.
    dst.StartLBA = static_cast<decltype(dst.StartLBA)>(src.StartLBA);
    dst.BlockCount = static_cast<decltype(dst.BlockCount)>(src.BlockCount);
    dst.BlockSize = src.BlockSize;
    dst.BackupFromSnap = Flag(src.Flags, SNRVOL_FLAG_BACKUP_FROM_SNAP);
    dst.Locked = Flag(src.Flags, SNRVOL_FLAG_LOCKED);
    if (!CopyEntryText(dst.FSType, src.FSType)) return false;
    dst.UsePermReplica = Flag(src.Flags, SNRVOL_FLAG_USE_PERM_REPLICA);
    return true;
}

template <typename Wire>
bool SetVolMsgV2FromPrimaryCursor(Wire& dst, const YBGetLatestRepVolByPVId_t& src)
{
    if (!SetVolMsgV1FromPrimaryCursor(dst, src)) return false;
    if (!CopyEntryText(dst.UniqueSnapshotID, src.UniqueSnapshotID)) return false;
    dst.Allocated = Flag(src.Flags, SNRVOL_FLAG_ALLOCATED);
    return true;
}

template <typename Wire>
bool SetVolMsgV3FromPrimaryCursor(Wire& dst, const YBGetLatestRepVolByPVId_t& src)
{
    if (!SetVolMsgV2FromPrimaryCursor(dst, src)) return false;
    dst.MorvaneProtected = Flag(src.Flags, SNRVOL_FLAG_MORVANE_PROTECTED);
    dst.ApplianceId = src.ApplianceId;
    dst.TzState = src.TzState;
    dst.CostCategoryId = static_cast<int64_t>(src.CostCategoryId);
    dst.ShadowImported = Flag(src.Flags, SNRVOL_FLAG_SHADOW_IMPORTED);
    return true;
}

bool SetVolMsgV4FromPrimaryCursor(repSNRVolumeV4& dst, const YBGetLatestRepVolByPVId_t& src)
{
    if (!SetVolMsgV3FromPrimaryCursor(dst, src)) return false;
    dst.VolType = src.Type;
    return true;
}

}  // namespace

int32_t GetJobId_l(const repGetLatestSnapForSNRVolReq&) { return 0; }
int32_t GetJobId_l(const repGetLatestSnapForSNRVolV4Req& request) { return static_cast<int32_t>(request.JobId); }
int32_t GetJobId_h(const repGetLatestSnapForSNRVolReq&) { return 0; }
int32_t GetJobId_h(const repGetLatestSnapForSNRVolV4Req& request) { return static_cast<int32_t>(request.JobId); }

bool YBSet(repSNRVolume& dst, const YBGetLatestRepVolByPVId_t& src) { return SetVolMsgV1FromPrimaryCursor(dst, src); }
bool YBSet(repSNRVolume42& dst, const YBGetLatestRepVolByPVId_t& src) { return SetVolMsgV2FromPrimaryCursor(dst, src); }
bool YBSet(repSNRVolumeV3& dst, const YBGetLatestRepVolByPVId_t& src) { return SetVolMsgV3FromPrimaryCursor(dst, src); }
bool YBSet(repSNRVolumeV4& dst, const YBGetLatestRepVolByPVId_t& src) { return SetVolMsgV4FromPrimaryCursor(dst, src); }

void CleanMemory(repSNRVolume& wire)
{
    FreeText(wire.UniqueId);
    FreeText(wire.FSType);
}
void CleanMemory(repSNRVolume42& wire)
{
    FreeText(wire.UniqueId);
    FreeText(wire.FSType);
    FreeText(wire.UniqueSnapshotID);
}
void CleanMemory(repSNRVolumeV3& wire)
{
    FreeText(wire.UniqueId);
    FreeText(wire.FSType);
    FreeText(wire.UniqueSnapshotID);
}
void CleanMemory(repSNRVolumeV4& wire)
{
    FreeText(wire.UniqueId);
    FreeText(wire.FSType);
    FreeText(wire.UniqueSnapshotID);
}

// The cursor reads without a transaction. A failed permanent-replica read
// falls through to the snapshots without a word; on every failure the
// reply's record holds no allocated text.
template <typename Req, typename Ret>
bool ReplicationMgr::GetLatestRepVolByPrimaryIdDB(const Req& request, Ret& ret)
{
    static const char Fn[] = "ReplicationMgr::GetLatestRepVolByPrimaryId()";
    auto& wire = ret.reply->SNRVolume;
    const int32_t jobId = GetJobId_l(request);
    YBGetLatestRepVolByPVId cursor(nullptr);

    auto convert = [&]() {
        if (YBSet(wire, *cursor.getDataPtr())) {
            ret.errMsg = "";
            return true;
        }
        CleanMemory(wire);
        ret.errMsg = NoMemoryText;
        SetErrCode(ret, kErrNoMemory);
        return false;
    };

    if (request.IgnorePermReplica == 0) {
        cursor.setValues(request.PrimaryVolumeId, YBVOL_ROLE_PERMANENT_REPLICA, jobId);
        if (getOneRow(&cursor, false, -1, 0) == DB_ROW_OK) return convert();
    }

    cursor.setValues(request.PrimaryVolumeId, YBVOL_ROLE_SNAPSHOT, jobId);
    const int rc = getOneRow(&cursor, false, -1, 0);
    if (rc != DB_ROW_OK) {
        ret.errMsg = NoVolumeText;
        SetErrCode(ret, kErrDatabase);
        m_LogMsg << "\tEvent:            " << NoVolumeText << "\n\tInput Used"
                 << "\n\tPrimary Volume ID       : " << request.PrimaryVolumeId
                 << "\n\tIgnore Permanent Replica: " << request.IgnorePermReplica
                 << "\n\tDB Err Code             : " << rc;
        WriteLogMsg(ProgNameQueries, Fn, __LINE__, ERR);
        CleanMemory(wire);
        return false;
    }
    return convert();
}

bool ReplicationMgr::GetLatestRepVolByPrimaryId(const repGetLatestSnapForSNRVolReq& request,
                                                QueryMgrLatestRepVolByPrimaryIdRet_t& ret)
{
    return GetLatestRepVolByPrimaryIdDB(request, ret);
}
bool ReplicationMgr::GetLatestRepVolByPrimaryId(const repGetLatestSnapForSNRVol42Req& request,
                                                QueryMgrLatestRepVolByPrimaryId42Ret_t& ret)
{
    return GetLatestRepVolByPrimaryIdDB(request, ret);
}
bool ReplicationMgr::GetLatestRepVolByPrimaryId(const repGetLatestSnapForSNRVolV3Req& request,
                                                QueryMgrLatestRepVolByPrimaryIdV3Ret_t& ret)
{
    return GetLatestRepVolByPrimaryIdDB(request, ret);
}
bool ReplicationMgr::GetLatestRepVolByPrimaryId(const repGetLatestSnapForSNRVolV4Req& request,
                                                QueryMgrLatestRepVolByPrimaryIdV4Ret_t& ret)
{
    return GetLatestRepVolByPrimaryIdDB(request, ret);
}

// ---- Request handler and cases -------------------------------------------------------

// The operation writes the record straight into the reply; its texts are
// released once the reply is sent.
template <typename Req, typename Reply, typename Ret>
void ReplicationMgr::GetLatestRepVolByPrimaryIdHandler(unsigned long requestCode, unsigned long replyCode,
                                                       zxsDatabuf* buf)
{
    Reply reply;
    std::memset(static_cast<void*>(&reply), 0, sizeof reply);
    Ret ret;
    ret.reply = &reply;
    const Req& request = cases::RequestOf<Req>(buf);
    RunRequestHandler(
        *this, "ReplicationMgr::GetLatestRepVolByPrimaryIdHandler()", requestCode, replyCode, false, reply,
        cases::StatusOf<Reply>(), ret, [&](DBtran*) { return GetLatestRepVolByPrimaryId(request, ret); },
        cases::NoReplyFields());
    CleanMemory(reply.SNRVolume);
}

const ServedCase GetLatestRepVolByPrimaryIdCaseV1 =
    SERVE_HANDLER_CASE(GetLatestRepVolByPrimaryIdHandler, repGetLatestSnapForSNRVolReq, repGetLatestSnapForSNRVolResp,
                       QueryMgrLatestRepVolByPrimaryIdRet_t);
const ServedCase GetLatestRepVolByPrimaryIdCase42 =
    SERVE_HANDLER_CASE(GetLatestRepVolByPrimaryIdHandler, repGetLatestSnapForSNRVol42Req,
                       repGetLatestSnapForSNRVol42Resp, QueryMgrLatestRepVolByPrimaryId42Ret_t);
const ServedCase GetLatestRepVolByPrimaryIdCaseV3 =
    SERVE_HANDLER_CASE(GetLatestRepVolByPrimaryIdHandler, repGetLatestSnapForSNRVolV3Req,
                       repGetLatestSnapForSNRVolV3Resp, QueryMgrLatestRepVolByPrimaryIdV3Ret_t);
const ServedCase GetLatestRepVolByPrimaryIdCaseV4 =
    SERVE_HANDLER_CASE(GetLatestRepVolByPrimaryIdHandler, repGetLatestSnapForSNRVolV4Req,
                       repGetLatestSnapForSNRVolV4Resp, QueryMgrLatestRepVolByPrimaryIdV4Ret_t);
