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

// A refusal whose entry is worded otherwise than "\tEvent: " + its text:
// text and code into the result, then the entry as given at ERR. Always
// false.
template <typename Ret>
bool Refuse(ReplicationMgr& mgr, Ret& ret, int code, const std::string& text, const std::string& entry,
            const char* source, const char* function, long line)
{
    ret.errMsg = text;
    SetErrCode(ret, code);
    mgr.log() << entry;
    mgr.WriteLogMsg(source, function, line, ReplicationMgr::ERR);
    return false;
}

// A failure a nested step reported (and logged): its text and code become
// the result's, with no entry of its own. Always false.
template <typename Ret>
bool PassOn(Ret& ret, const std::string& text, int code)
{
    ret.errMsg = text;
    SetErrCode(ret, code);
    return false;
}

// "Field <label> is not valid": a record field the row conversion refused.
inline std::string FieldNotValidText(const char* label) { return std::string("Field ") + label + " is not valid"; }

// A condition the operation works around: "\tEvent: " + text + details at
// WARNING.
inline void Warn(ReplicationMgr& mgr, const std::string& text, const std::string& details, const char* source,
                 const char* function, long line)
{
    mgr.log() << "\tEvent: " << text << details;
    mgr.WriteLogMsg(source, function, line, ReplicationMgr::WARNING);
}

}  // namespace steps
