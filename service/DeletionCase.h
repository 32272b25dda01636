// The inline case of a deletion request, which asks the hosts its deletions
// left once it succeeded and restores after a rollback what they did outside
// the database.
#pragma once

#include "service/CasePatterns.h"
#include "service/DeletionTrail.h"
#include "service/ErrorCodes.h"
#include "service/ReplicationMgr.h"
#include "service/ResultCode.h"

namespace steps {

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
        if (AskHostsLeft(mgr, trail, ret.errMsg)) return true;
        SetErrCode(ret, kErrNestedCall);
        return false;
    });
    if (!answered) RestoreAfterRollback(mgr, trail);
}

}  // namespace steps
