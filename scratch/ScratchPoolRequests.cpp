// The request handlers and request cases of the scratch pool catalogue: add,
// read by id, list and update in message versions 1 to 3, and remove in two.
#include "scratch/ScratchPools.h"

#include "scratch/ScratchCases.h"
#include "service/CasePatterns.h"
#include "service/RecordConversion.h"
#include "service/ReplicationMgr.h"
#include "service/ReplyArray.h"
#include "service/Utils.h"

// ---- Request handlers ----------------------------------------------------------------

namespace {

// The add request of each message version into its arguments.
void SetAddArgs(AddRVScratchVolPoolArgs_t& args, const repAddRVScratchVolumePoolReq& req)
{
    args.name = YBTextFromWire(req.name);
}
void SetAddArgs(AddRVScratchVolPoolV2Args_t& args, const repAddRVScratchVolumePoolV2Req& req)
{
    args.name = YBTextFromWire(req.name);
    args.SnapEngineInfoId = static_cast<int32_t>(req.SnapEngineInfoId);
}
void SetAddArgs(AddRVScratchVolPoolV3Args_t& args, const repAddRVScratchVolumePoolV3Req& req)
{
    YBSet(args.record, req);
}

const unsigned long kRemovePool70Reply = 0x3500022f;

// The remove request answered in the reply layout of its version.
template <typename Reply>
void AnswerRemovePool(ReplicationMgr& mgr, unsigned long requestCode, unsigned long replyCode,
                      const RemoveRVScratchVolumePoolArgs_t& args)
{
    RemoveRVScratchVolumePoolRet_t ret;
    AnswerByHandler<Reply>(
        mgr, "ReplicationMgr::RemoveScratchPoolHandler()", requestCode, replyCode, true, ret,
        [&](DBtran* tran) { return mgr.RemoveRVScratchVolPool(args, ret, tran); });
}

}  // namespace

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::AddRVScratchVolPoolHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    SetAddArgs(args, cases::RequestOf<Req>(buf));
    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::AddRVScratchVolPoolHandler()", requestCode, replyCode, true, ret,
        [&](DBtran* tran) { return AddRVScratchVolPool(args, ret, tran); },
        [&](Reply& r) { r.poolId = static_cast<uint32_t>(ret.poolId); });
}

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::QueryRVScratchVolPoolHandler(unsigned long requestCode, unsigned long replyCode,
                                                  zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    args.poolId = static_cast<int32_t>(cases::RequestOf<Req>(buf).poolId);
    // The pool's name points into the result, which outlives the send.
    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::QueryRVScratchVolPoolHandler()", requestCode, replyCode, false, ret,
        [&](DBtran*) { return QueryRVScratchVolPoolDB(args, ret, nullptr); },
        [&](Reply& r) { YBSet(r.pool, ret.record); });
}

template <typename Reply, typename Ret>
void ReplicationMgr::GetRVScratchVolPoolListHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf*)
{
    Ret ret;
    steps::AnswerListByHandler(*this, "ReplicationMgr::GetRVScratchVolPoolListHandler()", requestCode, replyCode, ret,
                               ret.pools, &Reply::pools, [&] { return GetRVScratchVolPoolListDB(ret, nullptr); });
}

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::UpdateRVScratchVolPoolHandler(unsigned long requestCode, unsigned long replyCode,
                                                   zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    YBSet(args.record, cases::RequestOf<Req>(buf));
    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::UpdateRVScratchVolPoolHandler()", requestCode, replyCode, true, ret,
        [&](DBtran* tran) { return UpdateRVScratchVolPool(args, ret, tran); });
}

void ReplicationMgr::RemoveScratchPoolHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    RemoveRVScratchVolumePoolArgs_t args;
    args.poolId = static_cast<int32_t>(cases::RequestOf<repRemoveRVScratchVolumePoolReq>(buf).poolId);
    if (replyCode == kRemovePool70Reply)
        AnswerRemovePool<repRemoveRVScratchVolumePool70Response>(*this, requestCode, replyCode, args);
    else
        AnswerRemovePool<repRemoveRVScratchVolumePoolResponse>(*this, requestCode, replyCode, args);
}

// ---- Request cases, one per message version -------------------------------------------

const ServedCase AddPoolCaseV1 =
    SERVE_HANDLER_CASE(AddRVScratchVolPoolHandler, repAddRVScratchVolumePoolReq, repAddRVScratchVolumePoolResponse,
                       AddRVScratchVolPoolArgs_t, AddRVScratchVolPoolRet_t);
const ServedCase AddPoolCaseV2 =
    SERVE_HANDLER_CASE(AddRVScratchVolPoolHandler, repAddRVScratchVolumePoolV2Req, repAddRVScratchVolumePoolV2Response,
                       AddRVScratchVolPoolV2Args_t, AddRVScratchVolPoolV2Ret_t);
const ServedCase AddPoolCaseV3 =
    SERVE_HANDLER_CASE(AddRVScratchVolPoolHandler, repAddRVScratchVolumePoolV3Req, repAddRVScratchVolumePoolV3Response,
                       AddRVScratchVolPoolV3Args_t, AddRVScratchVolPoolV3Ret_t);
const ServedCase QueryPoolCaseV1 =
    SERVE_HANDLER_CASE(QueryRVScratchVolPoolHandler, repQueryRVScratchVolPoolReq, repQueryRVScratchVolPoolResponse,
                       QueryRVScratchVolPoolArgs_t, QueryRVScratchVolPoolRet_t);
const ServedCase QueryPoolCaseV2 =
    SERVE_HANDLER_CASE(QueryRVScratchVolPoolHandler, repQueryRVScratchVolPoolV2Req, repQueryRVScratchVolPoolV2Response,
                       QueryRVScratchVolPoolV2Args_t, QueryRVScratchVolPoolV2Ret_t);
const ServedCase QueryPoolCaseV3 =
    SERVE_HANDLER_CASE(QueryRVScratchVolPoolHandler, repQueryRVScratchVolPoolV3Req, repQueryRVScratchVolPoolV3Response,
                       QueryRVScratchVolPoolV3Args_t, QueryRVScratchVolPoolV3Ret_t);
const ServedCase ListPoolsCaseV1 =
    SERVE_LIST_HANDLER_CASE(GetRVScratchVolPoolListHandler, repGetRVScratchVolumePoolListResponse,
                            GetRVScratchVolPoolListRet_t);
const ServedCase ListPoolsCaseV2 =
    SERVE_LIST_HANDLER_CASE(GetRVScratchVolPoolListHandler, repGetRVScratchVolumePoolV2ListResponse,
                            GetRVScratchVolPoolV2ListRet_t);
const ServedCase ListPoolsCaseV3 =
    SERVE_LIST_HANDLER_CASE(GetRVScratchVolPoolListHandler, repGetRVScratchVolumePoolV3ListResponse,
                            GetRVScratchVolPoolV3ListRet_t);
const ServedCase UpdatePoolCaseV1 =
    SERVE_HANDLER_CASE(UpdateRVScratchVolPoolHandler, repUpdateRVScratchVolPoolReq, repUpdateRVScratchVolPoolResp,
                       UpdateRVScratchVolPoolArgs_t, UpdateRVScratchVolPoolRet_t);
const ServedCase UpdatePoolCaseV2 =
    SERVE_HANDLER_CASE(UpdateRVScratchVolPoolHandler, repUpdateRVScratchVolPoolV2Req, repUpdateRVScratchVolPoolV2Resp,
                       UpdateRVScratchVolPoolV2Args_t, UpdateRVScratchVolPoolV2Ret_t);
const ServedCase UpdatePoolCaseV3 =
    SERVE_HANDLER_CASE(UpdateRVScratchVolPoolHandler, repUpdateRVScratchVolPoolV3Req, repUpdateRVScratchVolPoolV3Resp,
                       UpdateRVScratchVolPoolV3Args_t, UpdateRVScratchVolPoolV3Ret_t);
const ServedCase RemovePoolCaseV1 = cases::Serve<repRemoveRVScratchVolumePoolReq, repRemoveRVScratchVolumePoolResponse>(
    &cases::HandlerCase<&ReplicationMgr::RemoveScratchPoolHandler>);
const ServedCase RemovePoolCase70 =
    cases::Serve<repRemoveRVScratchVolumePool70Req, repRemoveRVScratchVolumePool70Response>(
        &cases::HandlerCase<&ReplicationMgr::RemoveScratchPoolHandler>);
