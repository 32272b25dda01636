// The replication volume add: one database half and one request handler for
// the five message versions, the thin operation of each version and its
// request case.
#include "replicas/ReplicaVolumeAdd.h"

#include <cstring>
#include <string>

#include "host/db/DBtable.h"
#include "host/db/ReplicaTables.h"
#include "replicas/ReplicaCases.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"

template <typename Args, typename Ret>
bool ReplicationMgr::AddReplicationVolumeDB(const Args& args, Ret& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::AddReplicationVolumeDB()";
    static const char InsertFailed[] = "Cannot include new YB Volume into the database";
    const int subclientId = GetSubclientId(args);
    ret.id = -1;

    YBVolume_t row;
    int code = 0;
    const int refused = YBSet(row, args.record, code);
    if (refused != 0)
        return steps::Fail(*this, ret, code, steps::FieldNotValidText(GetYBVolumeFieldName(refused)), "",
                           ProgNameInserts, Fn, __LINE__);

    CReplicationVolumeDB volumes;
    if (!volumes.insert(row, tran))
        return steps::Fail(
            *this, ret, kErrDatabase, InsertFailed,
            "\n\tCReplicationVolumeDB::insert()failed\n\tDB Error Code = " + std::to_string(volumes.getErrorCode()),
            ProgNameInserts, Fn, __LINE__);

    if (subclientId != 0) {
        YBSubclientYBVolumes_t link;
        std::memset(static_cast<void*>(&link), 0, sizeof link);
        link.Scid = subclientId;
        link.YBVolumeId = row.id;
        YBSubclientYBVolumesDB links;
        if (!links.insert(link, tran))
            return steps::Fail(*this, ret, kErrDatabase, InsertFailed,
                               "\n\tYBSubclientYBVolumeDB::insert()failed\n\tSubclient Id = " +
                                   std::to_string(subclientId) + "\n\tYB Volume Id = " + std::to_string(row.id) +
                                   "\n\tDB Error Code = " + std::to_string(links.getErrorCode()),
                               ProgNameInserts, Fn, __LINE__);
    }

    ret.id = row.id;
    m_LogMsg << "\tYB Volume " << row.id << "(" << row.CurrentRole << " - " << row.PrimaryVolumeId << " - "
             << row.PhysicalVolumeId << " - YBJobId: " << row.JobId << ") was created successfully";
    WriteLogMsg(ProgNameInserts, Fn, __LINE__, MSG);
    ret.errMsg = "";
    return true;
}

// ---- Per-version entry points ------------------------------------------------------

bool ReplicationMgr::AddReplicationVolume(const AddReplicationVolumeArgs_t& args, AddReplicationVolumeRet_t& ret,
                                          DBtran* tran)
{
    return AddReplicationVolumeDB(args, ret, tran);
}
bool ReplicationMgr::AddReplicationVolume(const AddReplicationVolume42Args_t& args, AddReplicationVolume42Ret_t& ret,
                                          DBtran* tran)
{
    return AddReplicationVolumeDB(args, ret, tran);
}
bool ReplicationMgr::AddReplicationVolume(const AddReplicationVolumeV3Args_t& args, AddReplicationVolumeV3Ret_t& ret,
                                          DBtran* tran)
{
    return AddReplicationVolumeDB(args, ret, tran);
}
bool ReplicationMgr::AddReplicationVolume(const AddReplicationVolumeV4Args_t& args, AddReplicationVolumeV4Ret_t& ret,
                                          DBtran* tran)
{
    return AddReplicationVolumeDB(args, ret, tran);
}
bool ReplicationMgr::AddReplicationVolume(const AddReplicationVolumeV5Args_t& args, AddReplicationVolumeV5Ret_t& ret,
                                          DBtran* tran)
{
    return AddReplicationVolumeDB(args, ret, tran);
}

// ---- Request handler and cases -------------------------------------------------------

// The record is read from the request before the transaction starts.
template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::AddReplicationVolumeHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    const Req& request = cases::RequestOf<Req>(buf);
    YBSet(args.record, request.ReplicationVolume);
    SetSubclientId(args, &request);
    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::AddRepllcationvolumeHandler()", requestCode, replyCode, true, ret,
        [&](DBtran* tran) { return AddReplicationVolume(args, ret, tran); },
        [&](Reply& r) { r.id = ret.id; });
}

const ServedCase AddReplicationVolumeCaseV1 =
    SERVE_HANDLER_CASE(AddReplicationVolumeHandler, repAddReplicationVolumeReq, repAddReplicationVolumeResp,
                       AddReplicationVolumeArgs_t, AddReplicationVolumeRet_t);
const ServedCase AddReplicationVolumeCase42 =
    SERVE_HANDLER_CASE(AddReplicationVolumeHandler, repAddReplicationVolume42Req, repAddReplicationVolume42Resp,
                       AddReplicationVolume42Args_t, AddReplicationVolume42Ret_t);
const ServedCase AddReplicationVolumeCaseV3 =
    SERVE_HANDLER_CASE(AddReplicationVolumeHandler, repAddReplicationVolumeV3Req, repAddReplicationVolumeV3Resp,
                       AddReplicationVolumeV3Args_t, AddReplicationVolumeV3Ret_t);
const ServedCase AddReplicationVolumeCaseV4 =
    SERVE_HANDLER_CASE(AddReplicationVolumeHandler, repAddReplicationVolumeV4Req, repAddReplicationVolumeV4Resp,
                       AddReplicationVolumeV4Args_t, AddReplicationVolumeV4Ret_t);
const ServedCase AddReplicationVolumeCaseV5 =
    SERVE_HANDLER_CASE(AddReplicationVolumeHandler, repAddReplicationVolumeV5Req, repAddReplicationVolumeV5Resp,
                       AddReplicationVolumeV5Args_t, AddReplicationVolumeV5Ret_t);
