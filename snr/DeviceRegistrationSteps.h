// Shared pieces of the handlers of device registration and of the SNR volume
// add. Internal to snr/.
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

}  // namespace snr_detail
