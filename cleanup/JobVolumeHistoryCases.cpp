// The request cases of the job volume history: the version-1 inline cases,
// the version-80 request handlers, and the served cases that route to them.
#include "cleanup/JobVolumeHistory.h"

#include "cleanup/CleanupCases.h"

#include "service/CasePatterns.h"
#include "service/ReplicationMgr.h"
#include "service/ReplyArray.h"
#include "service/Utils.h"

namespace {

const char NoQueryMemoryText[] = "No memory available for query information";

// ---- Version-1 inline cases -------------------------------------------------------

void ServeAddVolumeToYBJobHistory(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    AddYBJobVolumeHistoryArgs_t args;
    AddYBJobVolumeHistoryRet_t ret;
    YBSet(args.record, cases::RequestOf<repYBJobVolumeHistoryRec>(buf));
    AnswerInlineTranCase<repAddVolumeToYBJobHistoryResp>(
        mgr, code, ret, cases::Order::B, cases::Message::Copy,
        [&](DBtran* tran) { return mgr.AddVolumeToYBJobHistory(args, ret, tran); },
        [&](repAddVolumeToYBJobHistoryResp& r) { r.id = static_cast<uint32_t>(ret.id); });
}

void ServeDeleteYBJobHistoryByJobId(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    DeleteYBJobHistoryByJobIdArgs_t args;
    DeleteYBJobHistoryByJobIdRet_t ret;
    args.JobId = cases::RequestOf<repYBJobHistoryByJobIdReq>(buf).JobId;
    AnswerInlineTranCase<repDeleteYBJobHistoryByJobIdResp>(
        mgr, code, ret, cases::Order::B, cases::Message::Copy,
        [&](DBtran* tran) { return mgr.DeleteYBJobHistoryByJobId(args, ret, tran); });
}

// A list case of version 1: `query(ret)` reads the entries into the reply's
// array. With `nullEmpty` (the list by job) an empty text goes as null and an
// array that cannot be allocated answers NoMemoryErrMsg; otherwise an empty
// text goes as an empty text and that failure answers NoQueryMemoryText.
template <typename Query>
void ServeListV1(ReplicationMgr& mgr, unsigned long code, Query&& query, bool nullEmpty)
{
    YBJobHistoryListRet_t ret;
    AutoFreeMem_t entries;  // freed after the send
    AnswerInlineCase<repYBJobHistoryListResp>(
        mgr, code, ret, cases::Message::Copy, [&]() { return query(ret); },
        [&](repYBJobHistoryListResp& r) {
            const bool built = nullEmpty ? CopyVectorToMsg(&r.entries, ret.list) : CopyYBJobHistoryToMsg(&r.entries, ret.list);
            if (!built) return false;
            entries = r.entries;
            r.count = static_cast<uint32_t>(ret.list.size());
            return true;
        },
        nullEmpty ? NoMemoryErrMsg : NoQueryMemoryText);
}

void ServeQueryYBJobHistoryByJobId(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    QueryYBJobHistoryByJobIdArgs_t args;
    args.JobId = cases::RequestOf<repYBJobHistoryByJobIdReq>(buf).JobId;
    ServeListV1(
        mgr, code, [&](YBJobHistoryListRet_t& ret) { return mgr.QueryYBJobHistoryByJobId(args, ret); }, true);
}

void ServeQueryYBJobHistoryByVolId(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    QueryYBJobHistoryByVolIdArgs_t args;
    args.SrcVolId = cases::RequestOf<repYBJobHistoryByVolIdReq>(buf).SrcVolId;
    ServeListV1(
        mgr, code, [&](YBJobHistoryListRet_t& ret) { return mgr.QueryYBJobHistoryByVolId(args, ret); }, false);
}

void ServeGetYBJobHistoryList(ReplicationMgr& mgr, unsigned long code, zxsDatabuf*)
{
    ServeListV1(
        mgr, code, [&](YBJobHistoryListRet_t& ret) { return mgr.GetYBJobHistoryList(ret); }, false);
}

void ServeQueryYBJobHistoryById(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    QueryYBJobHistoryByIdArgs_t args;
    QueryYBJobHistoryByIdRet_t ret;
    args.id = cases::RequestOf<repYBJobHistoryByIdReq>(buf).id;
    AnswerInlineCase<repYBJobHistoryByIdResp>(
        mgr, code, ret, cases::Message::Copy, [&]() { return mgr.QueryYBJobHistoryById(args, ret); },
        [&](repYBJobHistoryByIdResp& r) { YBSet(r.entry, ret.record); });
}

}  // namespace

// ---- Version-80 request handlers --------------------------------------------------

void ReplicationMgr::AddVolumeToYBJobHistoryHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    AddYBJobVolumeHistoryArgs80_t args;
    AddYBJobVolumeHistoryRet80_t ret;
    YBSet(args.record, cases::RequestOf<repYBJobVolumeHistory80Rec>(buf));
    AnswerByHandler<repAddVolumeToYBJobHistoryResp>(
        *this, "ReplicationMgr::AddVolumeToYBJobHistoryHandler", requestCode, replyCode, true, ret,
        [&](DBtran* tran) { return AddVolumeToYBJobHistory(args, ret, tran); },
        [&](repAddVolumeToYBJobHistoryResp& r) { r.id = static_cast<uint32_t>(ret.id); });
}

void ReplicationMgr::QueryYBJobHistoryByJobIdHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    QueryYBJobHistoryByJobIdArgs_t args;
    args.JobId = cases::RequestOf<repYBJobHistoryByJobIdReq>(buf).JobId;
    YBJobHistoryListRet80_t ret;
    steps::AnswerListByHandler(*this, "ReplicationMgr::QueryYBJobHistoryByJobIdHandler", requestCode, replyCode, ret,
                               ret.list, &repYBJobHistoryList80Resp::entries,
                               [&] { return QueryYBJobHistoryByJobId(args, ret); });
}

void ReplicationMgr::QueryYBJobHistoryByVolIdHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    QueryYBJobHistoryByVolIdArgs_t args;
    args.SrcVolId = cases::RequestOf<repYBJobHistoryByVolIdReq>(buf).SrcVolId;
    YBJobHistoryListRet80_t ret;
    steps::AnswerListByHandler(*this, "ReplicationMgr::QueryYBJobHistoryByVolIdHandler", requestCode, replyCode, ret,
                               ret.list, &repYBJobHistoryList80Resp::entries,
                               [&] { return QueryYBJobHistoryByVolId(args, ret); });
}

void ReplicationMgr::GetYBJobHistoryListHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf*)
{
    YBJobHistoryListRet80_t ret;
    steps::AnswerListByHandler(*this, "ReplicationMgr::GetYBJobHistoryListHandler", requestCode, replyCode, ret,
                               ret.list, &repYBJobHistoryList80Resp::entries, [&] { return GetYBJobHistoryList(ret); });
}

void ReplicationMgr::QueryYBJobHistoryByIdHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    QueryYBJobHistoryByIdArgs_t args;
    QueryYBJobHistoryByIdRet80_t ret;
    args.id = cases::RequestOf<repYBJobHistoryByIdReq>(buf).id;
    AnswerByHandler<repYBJobHistoryById80Resp>(
        *this, "ReplicationMgr::QueryYBJobHistoryByIdHandler", requestCode, replyCode, false, ret,
        [&](DBtran*) { return QueryYBJobHistoryById(args, ret); },
        [&](repYBJobHistoryById80Resp& r) { YBSet(r.entry, ret.record); });
}

// ---- Cases ------------------------------------------------------------------------

const ServedCase AddVolumeToYBJobHistoryCase =
    cases::Serve<repYBJobVolumeHistoryRec, repAddVolumeToYBJobHistoryResp>(&ServeAddVolumeToYBJobHistory);
const ServedCase QueryYBJobHistoryByJobIdCase =
    cases::Serve<repYBJobHistoryByJobIdReq, repQueryYBJobHistoryByJobIdResp>(&ServeQueryYBJobHistoryByJobId);
const ServedCase QueryYBJobHistoryByIdCase =
    cases::Serve<repYBJobHistoryByIdReq, repQueryYBJobHistoryByIdResp>(&ServeQueryYBJobHistoryById);
const ServedCase QueryYBJobHistoryByVolIdCase =
    cases::Serve<repYBJobHistoryByVolIdReq, repQueryYBJobHistoryByVolumeIdResp>(&ServeQueryYBJobHistoryByVolId);
const ServedCase GetYBJobHistoryListCase =
    cases::Serve<cases::NoRequest, repGetYBJobVolumeHistoryListResp>(&ServeGetYBJobHistoryList);
const ServedCase DeleteYBJobHistoryByJobIdCase =
    cases::Serve<repYBJobHistoryByJobIdReq, repDeleteYBJobHistoryByJobIdResp>(&ServeDeleteYBJobHistoryByJobId);
const ServedCase AddVolumeToYBJobHistory80Case =
    cases::Serve<repAddVolumeToYBJobHistory80Req, repAddVolumeToYBJobHistory80Resp>(
        &cases::HandlerCase<&ReplicationMgr::AddVolumeToYBJobHistoryHandler>);
const ServedCase QueryYBJobHistoryByJobId80Case =
    cases::Serve<repQueryYBJobHistoryByJobId80Req, repQueryYBJobHistoryByJobId80Resp>(
        &cases::HandlerCase<&ReplicationMgr::QueryYBJobHistoryByJobIdHandler>);
const ServedCase QueryYBJobHistoryById80Case =
    cases::Serve<repQueryYBJobHistoryById80Req, repQueryYBJobHistoryById80Resp>(
        &cases::HandlerCase<&ReplicationMgr::QueryYBJobHistoryByIdHandler>);
const ServedCase QueryYBJobHistoryByVolId80Case =
    cases::Serve<repQueryYBJobHistoryByVolumeId80Req, repQueryYBJobHistoryByVolumeId80Resp>(
        &cases::HandlerCase<&ReplicationMgr::QueryYBJobHistoryByVolIdHandler>);
const ServedCase GetYBJobHistoryList80Case = cases::Serve<cases::NoRequest, repGetYBJobVolumeHistoryList80Resp>(
    &cases::HandlerCase<&ReplicationMgr::GetYBJobHistoryListHandler>);
