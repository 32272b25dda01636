// The shape of the request handlers of snap engines and volume snap
// parameters, on the request-handler pattern: a reply filled from the
// result.
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

}  // namespace policy_detail
