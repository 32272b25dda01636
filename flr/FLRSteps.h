// Shared pieces of the FLR operations: refusals whose log entry is worded
// otherwise than the result's text, reply arrays built from result lists,
// and the inline cases with a transaction of their own. Internal to flr/.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "service/CasePatterns.h"
#include "service/DispatchTable.h"
#include "service/ReplicationMgr.h"
#include "service/Utils.h"

namespace flr_detail {

// Source names of the units the operations log under.
inline constexpr char ProgNameInserts[] = "ReplicationMgrInserts";
inline constexpr char ProgNameDeletes[] = "ReplicationMgrDeletes";
inline constexpr char ProgNameUpdates[] = "ReplicationMgrUpdates";
inline constexpr char ProgNameQueries[] = "ReplicationMgrQueries";

// A refused operation whose log entry is not "\tEvent: " + its text: text
// and code into the result, then the entry at ERR. Always false.
template <typename Ret>
bool Refuse(ReplicationMgr& mgr, Ret& ret, int code, const std::string& text, const std::string& entry,
            const char* source, const char* function, long line)
{
    ret.errMsg = text;
    ret.errCode = code;
    mgr.log() << entry;
    mgr.WriteLogMsg(source, function, line, ReplicationMgr::ERR);
    return false;
}

// A nested operation failed: its code and text become the caller's. Always
// false.
template <typename Ret, typename Nested>
bool PassOn(Ret& ret, const Nested& nested)
{
    ret.errCode = nested.errCode;
    ret.errMsg = nested.errMsg;
    return false;
}

// Puts the records into a new reply array owned by `owner` (freed after the
// send), with its count: no array and 0 for none. False when the array
// cannot be allocated.
template <typename Wire, typename Record>
bool SetReplyArray(AutoFreeMem_t& owner, Wire*& array, uint32_t& count, const std::vector<Record>& records)
{
    Wire* built = nullptr;
    if (!CopyVectorToMsg(&built, records)) return false;
    owner = built;
    array = built;
    count = static_cast<uint32_t>(built != nullptr ? records.size() : 0);
    return true;
}

// An inline case without a transaction whose reply carries one list (its
// `count` and the array member given): the operation runs, then the records
// go into a new array, freed after the send.
template <typename Reply, typename Wire, typename Ret, typename Record, typename Operation>
void ServeListInline(ReplicationMgr& mgr, unsigned long code, const Ret& ret, const std::vector<Record>& records,
                     Wire* Reply::*array, Operation&& operation)
{
    Reply reply;
    std::memset(static_cast<void*>(&reply), 0, sizeof reply);
    AutoFreeMem_t owner;
    const unsigned long replyCode = ReplyCodeFor(code);
    RunInlineCase(mgr, replyCode, reply, cases::StatusOf<Reply>(), ret, cases::HandlerLog(code, replyCode),
                  cases::Message::PointIntoResult, std::forward<Operation>(operation),
                  [&](Reply& r) { return SetReplyArray(owner, r.*array, r.count, records); });
}

// An inline case with its own transaction: the operation runs on the
// arguments the caller read from the request; `onSuccess(Reply&)` puts the
// result's new id into the reply.
template <typename Reply, typename Args, typename Ret, typename OnSuccess>
void ServeInTran(ReplicationMgr& mgr, unsigned long code, const Args& args, Ret& ret,
                 bool (ReplicationMgr::*operation)(const Args&, Ret&, DBtran*), OnSuccess&& onSuccess)
{
    Reply reply;
    std::memset(static_cast<void*>(&reply), 0, sizeof reply);
    const unsigned long replyCode = ReplyCodeFor(code);
    RunInlineTranCase(
        mgr, replyCode, reply, cases::StatusOf<Reply>(), ret, cases::HandlerLog(code, replyCode), cases::Order::B,
        cases::Message::PointIntoResult, [&](DBtran* tran) { return (mgr.*operation)(args, ret, tran); },
        std::forward<OnSuccess>(onSuccess));
}

}  // namespace flr_detail
