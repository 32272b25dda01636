// Shared pieces of the SNR operations: device registration, the SNR volume
// add and the global history names. Internal to snr/.
#pragma once

#include <string>

#include "host/db/DBtable.h"
#include "service/CasePatterns.h"
#include "service/DispatchTable.h"
#include "service/ReplicationMgr.h"
#include "service/Utils.h"
#include "snr/SNRAdapters.h"

namespace snr_detail {

// The transaction handle in hexadecimal, as the entries print it.
std::string TranHandle(const DBtran* tran);

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

}  // namespace snr_detail
