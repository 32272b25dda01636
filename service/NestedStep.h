// A step that an operation runs inside the transaction the thread has open,
// so that a failed step undoes its own writes and nothing else.
#pragma once

#include "host/db/DBtable.h"

// Runs step(DBtran*) in a transaction nested in the one the thread has open
// (a savepoint of it; a transaction of its own when none is open). When the
// step returns true its writes stay, for the outer transaction's owner to
// commit or roll back; when it returns false they are undone and the outer
// transaction goes on as before the step. False without calling the step
// when the nested transaction does not start; *started (when given) tells
// whether it did.
template <typename Step>
bool RunNestedStep(Step step, bool* started = nullptr)
{
    DBtran nested(false);
    const bool begun = nested.startTran() == 0;
    if (started != nullptr) *started = begun;
    if (!begun) return false;
    if (step(&nested) && nested.commitTran(false) == 0) return true;
    nested.rollbackTran();
    return false;
}
