// The transaction of an operation that writes under a table lock. The
// library takes the writer turn before any table lock (host/LockOrder.h), so
// such an operation called without a transaction runs in one of its own,
// opened before it takes its lock, committed when it succeeds and rolled
// back when it fails.
#pragma once

#include "host/db/DBtable.h"
#include "service/CasePatterns.h"
#include "service/NestedStep.h"
#include "service/ErrorCodes.h"

// Runs operation(tran) in the caller's transaction, or, when tran is null, in
// a transaction of its own. Its result, or false with "Could not initiated
// database transactions" (-7) when the transaction cannot be started, or
// with the commit's text (-4) when it cannot be committed; nothing the
// operation wrote then stays.
template <typename Ret, typename Operation>
bool RunWithTransactionBeforeLock(DBtran* tran, Ret& ret, Operation&& operation)
{
    if (tran != nullptr) return operation(tran);
    bool started = false;
    bool operated = false;
    if (RunNestedStep([&](DBtran* own) { return operated = operation(own); }, &started)) return true;
    if (!started) {
        ret.errMsg = "Could not initiated database transactions";
        if constexpr (cases::HasErrCode<Ret>::value) ret.errCode = kErrNoTransaction;
    } else if (operated) {
        ret.errMsg = DBCommitErrorMsg;
        if constexpr (cases::HasErrCode<Ret>::value) ret.errCode = kErrDatabase;
    }
    return false;
}
