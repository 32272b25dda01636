// The one way a reply gets its array: built from a result's records through
// the reply-array allocator, counted from the array built, owned until the
// reply is sent, and the two list cases whose reply carries one such array.
#pragma once

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "service/CasePatterns.h"
#include "service/DispatchTable.h"
#include "service/ReplicationMgr.h"
#include "service/Utils.h"

namespace steps {

// Builds a reply's array from the records and hands it to its owner, which
// frees it after the send; the count is that of the array, 0 when there is
// none. False when the array cannot be allocated; the array and the count
// are then left as they were and the case answers -5 with its no-memory text.
template <typename Wire, typename Count, typename Record>
bool CopyListToReply(AutoFreeMem_t& owner, Wire*& array, Count& count, const std::vector<Record>& records)
{
    Wire* built = nullptr;
    if (!CopyVectorToMsg(&built, records)) return false;
    owner = built;
    array = built;
    count = built != nullptr ? static_cast<Count>(records.size()) : 0;
    return true;
}

// A list answered by its request handler: `list()` runs without a
// transaction, then the reply (zeroed) gets the records in its `array`
// member and its `count`, the array freed after the send; an array that
// cannot be allocated fails the reply with -5 and NoMemoryErrMsg.
template <typename Reply, typename Ret, typename Wire, typename Record, typename List>
void AnswerListByHandler(ReplicationMgr& mgr, const char* function, unsigned long requestCode,
                         unsigned long replyCode, const Ret& ret, const std::vector<Record>& records,
                         Wire* Reply::*array, List&& list)
{
    AutoFreeMem_t owner;  // freed after the send
    AnswerByHandler<Reply>(
        mgr, function, requestCode, replyCode, false, ret, [&](DBtran*) { return list(); },
        [&](Reply& r) { return CopyListToReply(owner, r.*array, r.count, records); });
}

// A list answered inline, without a transaction, with the handler's log
// entries and the failure's message pointing into the result: the operation
// runs, then the reply (zeroed) gets the records in its `array` member and
// its `count`, the array freed after the send; an array that cannot be
// allocated fails the reply with -5 and NoMemoryErrMsg.
template <typename Reply, typename Ret, typename Wire, typename Record, typename Operation>
void AnswerListInline(ReplicationMgr& mgr, unsigned long code, const Ret& ret, const std::vector<Record>& records,
                      Wire* Reply::*array, Operation&& operation)
{
    AutoFreeMem_t owner;  // freed after the send
    AnswerInlineCase<Reply>(mgr, code, ret, cases::Message::PointIntoResult, std::forward<Operation>(operation),
                            [&](Reply& r) { return CopyListToReply(owner, r.*array, r.count, records); });
}

}  // namespace steps
