// The inline case of a deletion request, which restores after a rollback
// what the deletion did outside the database.
#pragma once

#include "service/CasePatterns.h"
#include "service/DeletionTrail.h"
#include "service/ReplicationMgr.h"

namespace steps {

// The inline case of a deletion request: the operation(tran, trail) runs in
// the case's transaction with a trail of its own; after a failed request,
// rolled back, what it did outside the database is restored or reported.
template <typename Reply, typename Ret, typename Operation>
void RunDeletionCase(ReplicationMgr& mgr, unsigned long code, const Ret& ret, cases::Order order, cases::Message mode,
                     Operation&& operation)
{
    DeletionTrail trail;
    if (!AnswerInlineTranCase<Reply>(mgr, code, ret, order, mode, [&](DBtran* tran) { return operation(tran, trail); }))
        mgr.RestoreAfterRollback(trail);
}

}  // namespace steps
