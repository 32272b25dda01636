// The request handlers and request cases of the replication policy catalogue:
// add, query by id, update, list and the list by scratch pool in message
// versions 1 to 3; remove and the subclients that name a policy as inline cases.
#include "policies/ReplicationPolicies.h"

#include "policies/PolicyCases.h"
#include "service/CasePatterns.h"
#include "service/ReplicationMgr.h"
#include "service/ReplyArray.h"
#include "service/Utils.h"

// ---- Request handlers --------------------------------------------------------------

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::AddReplicationPolicyHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    YBSet(args.record, cases::RequestOf<Req>(buf).policy);
    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::AddReplicationPolicyHandler()", requestCode, replyCode, true, ret,
        [&](DBtran* tran) { return AddReplicationPolicy(args, ret, tran); },
        [&](Reply& r) { r.id = ret.id; });
}

// The policy's name points into the result, which outlives the send.
template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::QueryReplicationPolicyHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    args.id = cases::RequestOf<Req>(buf).id;
    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::QueryReplicationPolicyHandler()", requestCode, replyCode, false, ret,
        [&](DBtran*) { return QueryReplicationPolicy(args, ret); },
        [&](Reply& r) { YBSet(r.policy, ret.record); });
}

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::UpdateReplicationPolicyHandler(unsigned long requestCode, unsigned long replyCode,
                                                    zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    YBSet(args.record, cases::RequestOf<Req>(buf).policy);
    AnswerByHandler<Reply>(*this, "ReplicationMgr::UpdateReplicationPolicyHandler()", requestCode, replyCode, true, ret,
                           [&](DBtran* tran) { return UpdateReplicationPolicy(args, ret, tran); });
}

template <typename Reply, typename Ret>
void ReplicationMgr::GetReplicationPolicyListHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf*)
{
    Ret ret;
    steps::AnswerListByHandler(*this, "ReplicationMgr::GetReplicationPolicyListHandler()", requestCode, replyCode,
                               ret, ret.policies, &Reply::policies, [&] { return GetReplicationPolicyList(ret); });
}

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::QueryReplicationPolicyByPoolIdHandler(unsigned long requestCode, unsigned long replyCode,
                                                           zxsDatabuf* buf)
{
    Args args;
    Ret ret;
    args.poolId = cases::RequestOf<Req>(buf).poolId;
    steps::AnswerListByHandler(*this, "ReplicationMgr::QueryReplicationPolicyByPoolIdHandler()", requestCode,
                               replyCode, ret, ret.policies, &Reply::policies,
                               [&] { return QueryReplicationPolicy(args, ret, nullptr); });
}

// ---- Request cases -----------------------------------------------------------------

namespace {

void ServeRemoveReplicationPolicy(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    RemoveReplicationPolicyArgs_t args;
    RemoveReplicationPolicyRet_t ret;
    args.id = cases::RequestOf<repRemoveReplicationPolicyReq>(buf).id;
    AnswerInlineTranCase<repRemoveReplicationPolicyResp>(
        mgr, code, ret, cases::Order::B, cases::Message::Copy,
        [&](DBtran* tran) { return mgr.RemoveReplicationPolicy(args, ret, tran); });
}

// The application types are read in the order given; an array that is
// missing asks for none.
void ServeGetSCListByYBPolicy(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    const repGetSCListByPolicyReq& req = cases::RequestOf<repGetSCListByPolicyReq>(buf);
    GetYBSCListByPolicyArgs_t args;
    GetYBSCListByPolicyRet_t ret;
    args.policyId = req.policyId;
    if (req.appTypes != nullptr) args.appTypes.assign(req.appTypes, req.appTypes + req.count);
    AutoFreeMem_t owner;  // freed after the send
    AnswerInlineCase<repGetSCListByPolicyResp>(
        mgr, code, ret, cases::Message::PointIntoResult, [&]() { return mgr.GetSCListByYBPolicy(args, ret, nullptr); },
        [&](repGetSCListByPolicyResp& r) {
            return steps::CopyListToReply(owner, r.subclients, r.count, ret.subclients);
        });
}

}  // namespace

const ServedCase AddReplicationPolicyCaseV1 =
    SERVE_HANDLER_CASE(AddReplicationPolicyHandler, repAddReplicationPolicyReq, repAddReplicationPolicyResp,
                       AddReplicationPolicyArgs_t, AddReplicationPolicyRet_t);
const ServedCase AddReplicationPolicyCaseV2 =
    SERVE_HANDLER_CASE(AddReplicationPolicyHandler, repAddReplicationPolicyV2Req, repAddReplicationPolicyV2Resp,
                       AddReplicationPolicyV2Args_t, AddReplicationPolicyV2Ret_t);
const ServedCase AddReplicationPolicyCaseV3 =
    SERVE_HANDLER_CASE(AddReplicationPolicyHandler, repAddReplicationPolicyV3Req, repAddReplicationPolicyV3Resp,
                       AddReplicationPolicyV3Args_t, AddReplicationPolicyV3Ret_t);
const ServedCase QueryReplicationPolicyCaseV1 =
    SERVE_HANDLER_CASE(QueryReplicationPolicyHandler, repQueryReplicationPolicyByIdReq,
                       repQueryReplicationPolicyByIdResp, QueryReplicationPolicyByIdArgs_t,
                       QueryReplicationPolicyByIdRet_t);
const ServedCase QueryReplicationPolicyCaseV2 =
    SERVE_HANDLER_CASE(QueryReplicationPolicyHandler, repQueryReplicationPolicyV2ByIdReq,
                       repQueryReplicationPolicyV2ByIdResp, QueryReplicationPolicyByIdV2Args_t,
                       QueryReplicationPolicyByIdV2Ret_t);
const ServedCase QueryReplicationPolicyCaseV3 =
    SERVE_HANDLER_CASE(QueryReplicationPolicyHandler, repQueryReplicationPolicyV3ByIdReq,
                       repQueryReplicationPolicyV3ByIdResp, QueryReplicationPolicyByIdV3Args_t,
                       QueryReplicationPolicyByIdV3Ret_t);
const ServedCase UpdateReplicationPolicyCaseV1 =
    SERVE_HANDLER_CASE(UpdateReplicationPolicyHandler, repUpdateReplicationPolicyReq, repUpdateReplicationPolicyResp,
                       UpdateReplicationPolicyArgs_t, UpdateReplicationPolicyRet_t);
const ServedCase UpdateReplicationPolicyCaseV2 =
    SERVE_HANDLER_CASE(UpdateReplicationPolicyHandler, repUpdateReplicationPolicyV2Req,
                       repUpdateReplicationPolicyV2Resp, UpdateReplicationPolicyV2Args_t,
                       UpdateReplicationPolicyV2Ret_t);
const ServedCase UpdateReplicationPolicyCaseV3 =
    SERVE_HANDLER_CASE(UpdateReplicationPolicyHandler, repUpdateReplicationPolicyV3Req,
                       repUpdateReplicationPolicyV2Resp, UpdateReplicationPolicyV3Args_t,
                       UpdateReplicationPolicyV3Ret_t);
const ServedCase GetReplicationPolicyListCaseV1 =
    SERVE_LIST_HANDLER_CASE(GetReplicationPolicyListHandler, repGetReplicationPolicyListResp,
                            GetReplicationPolicyListRet_t);
const ServedCase GetReplicationPolicyListCaseV2 =
    SERVE_LIST_HANDLER_CASE(GetReplicationPolicyListHandler, repGetReplicationPolicyV2ListResp,
                            GetReplicationPolicyListV2Ret_t);
const ServedCase GetReplicationPolicyListCaseV3 =
    SERVE_LIST_HANDLER_CASE(GetReplicationPolicyListHandler, repGetReplicationPolicyV3ListResp,
                            GetReplicationPolicyListV3Ret_t);
const ServedCase QueryReplicationPolicyByPoolIdCaseV1 =
    SERVE_HANDLER_CASE(QueryReplicationPolicyByPoolIdHandler, repQueryReplicaPolicyByPoolIdReq,
                       repQueryReplicaPolicyByPoolIdResp, QueryReplicationPolicyByPoolIdArgs_t,
                       QueryReplicationPolicyByPoolIdRet_t);
const ServedCase QueryReplicationPolicyByPoolIdCaseV2 =
    SERVE_HANDLER_CASE(QueryReplicationPolicyByPoolIdHandler, repQueryReplicaPolicyV2ByPoolIdReq,
                       repQueryReplicaPolicyV2ByPoolIdResp, QueryReplicationPolicyByPoolIdV2Args_t,
                       QueryReplicationPolicyByPoolIdV2Ret_t);
const ServedCase QueryReplicationPolicyByPoolIdCaseV3 =
    SERVE_HANDLER_CASE(QueryReplicationPolicyByPoolIdHandler, repQueryReplicaPolicyV3ByPoolIdReq,
                       repQueryReplicaPolicyV3ByPoolIdResp, QueryReplicationPolicyByPoolIdV3Args_t,
                       QueryReplicationPolicyByPoolIdV3Ret_t);
const ServedCase RemoveReplicationPolicyCase =
    cases::Serve<repRemoveReplicationPolicyReq, repRemoveReplicationPolicyResp>(&ServeRemoveReplicationPolicy);
const ServedCase GetSCListByYBPolicyCase =
    cases::Serve<repGetSCListByPolicyReq, repGetSCListByPolicyResp>(&ServeGetSCListByYBPolicy);
