// The two shapes of the request handlers of snap engines and volume snap
// parameters, on the request-handler pattern: a reply filled from the
// result, and a list reply whose array is built from the result's records.
// Internal to policies/.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "service/CasePatterns.h"
#include "service/ReplicationMgr.h"
#include "service/Utils.h"

namespace policy_detail {

// Runs `operation(DBtran*)` in a transaction of its own (withTran) or
// without one, and answers with a zeroed Reply that `fill(Reply&)`
// completes on success.
template <typename Reply, typename Ret, typename Operation, typename Fill>
void RunHandler(ReplicationMgr& mgr, const char* function, unsigned long requestCode, unsigned long replyCode,
                bool withTran, const Ret& ret, Operation&& operation, Fill&& fill)
{
    Reply reply;
    std::memset(static_cast<void*>(&reply), 0, sizeof reply);
    RunRequestHandler(mgr, function, requestCode, replyCode, withTran, reply, cases::StatusOf<Reply>(), ret,
                      operation, [&](Reply& r) {
                          fill(r);
                          return true;
                      });
}

// Runs `list()` without a transaction and answers with the records in a
// reply array (`array` of the Reply, with its count), owned until the reply
// is sent; an array that cannot be allocated fails the reply with -5.
template <typename Reply, typename Ret, typename Wire, typename Record, typename List>
void RunListHandler(ReplicationMgr& mgr, const char* function, unsigned long requestCode, unsigned long replyCode,
                    const Ret& ret, const std::vector<Record>& records, Wire* Reply::*array, List&& list)
{
    Reply reply;
    std::memset(static_cast<void*>(&reply), 0, sizeof reply);
    AutoFreeMem_t owner;  // freed after the send
    RunRequestHandler(mgr, function, requestCode, replyCode, false, reply, cases::StatusOf<Reply>(), ret,
                      [&](DBtran*) { return list(); },
                      [&](Reply& r) {
                          Wire* wires = nullptr;
                          if (!CopyVectorToMsg(&wires, records)) return false;
                          owner = wires;
                          r.*array = wires;
                          r.count = wires != nullptr ? static_cast<uint32_t>(records.size()) : 0;
                          return true;
                      });
}

}  // namespace policy_detail
