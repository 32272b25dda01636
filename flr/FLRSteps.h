// The inline case of the FLR operations that run in a transaction of the
// case. Internal to flr/.
#pragma once

#include <utility>

#include "service/CasePatterns.h"
#include "service/ReplicationMgr.h"

namespace flr_detail {

// An inline case with its own transaction: the operation runs on the
// arguments the caller read from the request; `onSuccess(Reply&)`, where
// given, puts the result's new id into the reply (left out, the reply carries
// its status alone).
template <typename Reply, typename Args, typename Ret, typename OnSuccess = cases::NoReplyFields>
void ServeInTran(ReplicationMgr& mgr, unsigned long code, const Args& args, Ret& ret,
                 bool (ReplicationMgr::*operation)(const Args&, Ret&, DBtran*), OnSuccess&& onSuccess = OnSuccess())
{
    AnswerInlineTranCase<Reply>(
        mgr, code, ret, cases::Order::B, cases::Message::PointIntoResult,
        [&](DBtran* tran) { return (mgr.*operation)(args, ret, tran); }, std::forward<OnSuccess>(onSuccess));
}

}  // namespace flr_detail
