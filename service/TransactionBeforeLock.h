// The transaction of an operation called without one. The library takes the
// writer turn before any table lock (host/LockOrder.h), so an operation that
// writes under a table lock, or whose read and write must stay together, runs
// in a transaction of its own when its caller has none: opened before it takes
// its lock, committed when it succeeds and rolled back when it fails.
#pragma once

#include "host/db/DBtable.h"
#include "service/ErrorCodes.h"
#include "service/NestedStep.h"
#include "service/ResultCode.h"
#include "service/Utils.h"

// Runs operation(own) in a transaction of its own. Its result, or false with
// DBTranErrorMsg (-7) when the transaction cannot be started, or with the
// commit's text (-4) when it cannot be committed; nothing the operation wrote
// then stays.
template <typename Ret, typename Operation>
bool RunWithTransactionBeforeLock(Ret& ret, Operation&& operation)
{
    bool started = false;
    bool operated = false;
    if (RunNestedStep([&](DBtran* own) { return operated = operation(own); }, &started)) return true;
    if (!started) {
        ret.errMsg = DBTranErrorMsg;
        SetErrCode(ret, kErrNoTransaction);
    } else if (operated) {
        ret.errMsg = DBCommitErrorMsg;
        SetErrCode(ret, kErrDatabase);
    }
    return false;
}
