// Shared pieces of the FLR operations: refusals whose log entry is worded
// otherwise than the result's text, and the inline cases with a transaction
// of their own. Internal to flr/.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "service/CasePatterns.h"
#include "service/ReplicationMgr.h"

namespace flr_detail {

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

// An inline case with its own transaction: the operation runs on the
// arguments the caller read from the request; `onSuccess(Reply&)` puts the
// result's new id into the reply.
template <typename Reply, typename Args, typename Ret, typename OnSuccess = cases::NoReplyFields>
void ServeInTran(ReplicationMgr& mgr, unsigned long code, const Args& args, Ret& ret,
                 bool (ReplicationMgr::*operation)(const Args&, Ret&, DBtran*), OnSuccess&& onSuccess = OnSuccess())
{
    AnswerInlineTranCase<Reply>(
        mgr, code, ret, cases::Order::B, cases::Message::PointIntoResult,
        [&](DBtran* tran) { return (mgr.*operation)(args, ret, tran); }, std::forward<OnSuccess>(onSuccess));
}

}  // namespace flr_detail
