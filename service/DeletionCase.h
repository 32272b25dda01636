// The inline case of a deletion request, which restores after a rollback
// what the deletion did outside the database.
#pragma once

#include "service/CasePatterns.h"
#include "service/DeletionTrail.h"
#include "service/ErrorCodes.h"
#include "service/ReplicationMgr.h"

namespace steps {

namespace detail {
// A result's code, where it has one.
template <typename Ret>
auto SetErrCode(Ret& ret, int32_t code, int) -> decltype(ret.errCode = code, void())
{
    ret.errCode = code;
}
template <typename Ret>
void SetErrCode(Ret&, int32_t, long)
{
}
}  // namespace detail

// The inline case of a deletion request: the operation(tran, trail) runs in
// the case's transaction with a trail of its own, and once it succeeded the
// hosts of the scratch volumes it released are asked to delete their
// snapshots (a failure there fails the request); after a failed request,
// rolled back, what it did outside the database is restored or reported.
template <typename Reply, typename Ret, typename Operation>
void RunDeletionCase(ReplicationMgr& mgr, unsigned long code, Ret& ret, cases::Order order, cases::Message mode,
                     Operation&& operation)
{
    DeletionTrail trail;
    const bool answered = AnswerInlineTranCase<Reply>(mgr, code, ret, order, mode, [&](DBtran* tran) {
        if (!operation(tran, trail)) return false;
        if (mgr.AskHostsLeft(trail, ret.errMsg)) return true;
        detail::SetErrCode(ret, kErrNestedCall, 0);
        return false;
    });
    if (!answered) mgr.RestoreAfterRollback(trail);
}

}  // namespace steps
