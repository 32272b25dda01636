// Shared pieces of the stored product files: the refusal of an operation or
// a transfer step, and the transaction handle as the entries print it.
// Internal to files/.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>

#include "service/ReplicationMgr.h"

namespace stored_files {

// Text and code into the result, then "\tEvent: " + text + details at ERR.
// Always false.
template <typename Ret>
bool Refuse(ReplicationMgr& mgr, Ret& ret, int32_t code, const std::string& text, const std::string& details,
            const char* source, const char* function, long line)
{
    ret.errMsg = text;
    ret.errCode = code;
    mgr.log() << "\tEvent: " << text << details;
    mgr.WriteLogMsg(source, function, line, ReplicationMgr::ERR);
    return false;
}

inline std::string TranHandle(const void* tran)
{
    std::ostringstream out;
    out << std::hex << reinterpret_cast<uintptr_t>(tran);
    return out.str();
}

}  // namespace stored_files
