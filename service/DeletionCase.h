// The inline case of a deletion request, which asks the hosts its deletions
// left once it succeeded and, after a rollback, sets the controllers they
// switched as the rows then give and reports the hosts that deleted; and the
// trail a deletion keeps when its caller gave none.
#pragma once

#include "host/db/DBtable.h"
#include "service/CasePatterns.h"
#include "service/DeletionTrail.h"
#include "service/ErrorCodes.h"
#include "service/ReplicationMgr.h"
#include "service/ResultCode.h"

namespace steps {

// The trail a deletion keeps: its caller's, or, for a caller that gave none,
// one of its own, the deletion's writes then made in a step nested in the
// transaction the thread has open (its own when none is). With its own, the
// hosts are asked when the deletion succeeded, then the step is committed
// (Succeeded); a deletion that ends otherwise, a failed host call or commit
// included, has its step rolled back, the controllers it switched set as
// their devices' rows then give and the hosts that deleted snapshots
// reported, the caller being bound to roll back its own.
class KeptTrail {
public:
    KeptTrail(ReplicationMgr& mgr, DeletionTrail* callers)
        : m_mgr(mgr),
          m_trail(callers != nullptr ? *callers : m_own),
          m_owned(callers == nullptr),
          m_begun(!m_owned || m_step.startTran() == 0)
    {
    }
    ~KeptTrail()
    {
        if (!m_owned || m_succeeded) return;
        m_step.rollbackTran();
        RestoreAfterRollback(m_mgr, m_own);
    }
    KeptTrail(const KeptTrail&) = delete;
    KeptTrail& operator=(const KeptTrail&) = delete;

    DeletionTrail& trail() { return m_trail; }
    // False when the step of a trail of its own did not start: the deletion
    // fails before it writes anything.
    bool begun() const { return m_begun; }

    // The deletion succeeded. With a trail of its own, the hosts left are
    // asked and the step is committed now: a failure fails the deletion with
    // its text (DBCommitErrorMsg for the commit) and `code` into a result
    // that carries one.
    template <typename Ret>
    bool Succeeded(Ret& ret, int code)
    {
        if (m_owned) {
            if (!AskHostsLeft(m_mgr, m_own, ret.errMsg)) {
                SetErrCode(ret, code);
                return false;
            }
            if (m_step.commitTran() != 0) {
                ret.errMsg = DBCommitErrorMsg;
                SetErrCode(ret, code);
                return false;
            }
        }
        m_succeeded = true;
        return true;
    }

private:
    ReplicationMgr& m_mgr;
    DeletionTrail m_own;
    DeletionTrail& m_trail;
    bool m_owned;
    DBtran m_step{false};
    bool m_begun;
    bool m_succeeded = false;
};

// The inline case of a deletion request: the operation(tran, trail) runs in
// the case's transaction with a trail of its own, and once it succeeded the
// hosts of the scratch volumes it released are all made ready, then asked
// to delete their snapshots (a failure there fails the request); after a
// failed request, rolled back, what it did outside the database is restored
// or reported.
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
