// Shared pieces of the SNR operations: device registration, the SNR volume
// add and the global history names. Internal to snr/.
#pragma once

#include <string>

#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "service/CasePatterns.h"
#include "service/DispatchTable.h"
#include "service/ReplicationMgr.h"
#include "service/Utils.h"
#include "host/db/SqlText.h"
#include "snr/SNRAdapters.h"

namespace snr_detail {

// The transaction handle in hexadecimal, as the entries print it.
std::string TranHandle(const DBtran* tran);

// The condition that finds an SNR volume by its identity. Start and count go
// out signed: a volume stored with -1 is found again.
template <typename Volume>
std::string VolumeIdentityWhere(const Volume& volume)
{
    return "UniqueId = '" + SqlEscape(volume.UniqueId) + "' AND UniqueIdType = " +
           std::to_string(volume.UniqueIdType) + " AND LUN = " + std::to_string(volume.LUN) +
           " AND StartLBA = " + std::to_string(volume.StartLBA) +
           " AND BlockCount = " + std::to_string(volume.BlockCount);
}

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
