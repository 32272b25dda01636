// The two ways an operation reports what went wrong: a refusal, which fails
// it, and a warning, for a condition it works around. Both log
// "\tEvent: " + text + details under the caller's source, function and line.
#pragma once

#include <string>

#include "service/ReplicationMgr.h"
#include "service/ResultCode.h"

namespace steps {

// A refused operation: text and (where the result carries one) code into the
// result, then "\tEvent: " + text + details at ERR. Always false.
template <typename Ret>
bool Fail(ReplicationMgr& mgr, Ret& ret, int code, const std::string& text, const std::string& details,
          const char* source, const char* function, long line)
{
    ret.errMsg = text;
    SetErrCode(ret, code);
    mgr.log() << "\tEvent: " << text << details;
    mgr.WriteLogMsg(source, function, line, ReplicationMgr::ERR);
    return false;
}

// A condition the operation works around: "\tEvent: " + text + details at
// WARNING.
inline void Warn(ReplicationMgr& mgr, const std::string& text, const std::string& details, const char* source,
                 const char* function, long line)
{
    mgr.log() << "\tEvent: " << text << details;
    mgr.WriteLogMsg(source, function, line, ReplicationMgr::WARNING);
}

}  // namespace steps
