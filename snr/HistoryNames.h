// Argument and result records of the global history names of protected
// volumes (one name per device, table YBTzHistoryName).
#pragma once

#include <cstdint>
#include <string>

#include "snr/SNRRecords.h"

// Longest history name the catalogue column holds.
constexpr size_t kMaxGlobalHistoryNameLength = sizeof(YBTzHistoryName_t::GlobalHistoryName) - 1;

// The error codes of the results are set on failure only.
struct AddMorvaneVolHistoryNameArgs_t {
    MorvaneHistoryNameRecord_t record;
};
struct AddMorvaneVolHistoryNameRet_t {
    int32_t errCode = 0;
    std::string errMsg;
};

struct UpdateMorvaneVolHistoryNameArgs_t {
    MorvaneHistoryNameRecord_t record;
};
struct UpdateMorvaneVolHistoryNameRet_t {
    int32_t errCode = 0;
    std::string errMsg;
};

struct DeleteMorvaneVolHistoryNameArgs_t {
    int32_t DeviceId = -1;
};
struct DeleteMorvaneVolHistoryNameRet_t {
    int32_t errCode = 0;
    std::string errMsg;
};

// The removal of a device's global history name in the caller's
// transaction, shared by its deletion request and the device's deletion:
// Removed; None when the device has none (no entry); Failed after an ERR
// entry, with its text in `errMsg`. The entries carry the caller's
// function name.
enum class HistoryNameRemoval { Removed, None, Failed };
HistoryNameRemoval RemoveHistoryName(class ReplicationMgr& mgr, int deviceId, class DBtran* tran,
                                     std::string& errMsg, const char* function);

struct QueryMorvaneVolHistoryNameArgs_t {
    int32_t DeviceId = -1;
};
struct QueryMorvaneVolHistoryNameRet_t {
    MorvaneHistoryNameRecord_t record;
    int32_t errCode = 0;
    std::string errMsg;
};

struct QueryTzGlobalHistoryNameByVolumeIdArgs_t {
    int32_t SNRVolumeId = -1;
};
struct QueryTzGlobalHistoryNameByVolumeIdRet_t {
    MorvaneHistoryNameRecord_t record;
    int32_t errCode = 0;
    std::string errMsg;
};

// The history name an add-device request carries (message versions V3 to
// V5) into the record of the add-device arguments. Versions 1 and 42 carry
// none and leave the record as it is.
inline void SetMorvaneRecord(MorvaneHistoryNameRecord_t& record, const repYBTzHistoryNameRec& request)
{
    YBSet(record, request);
}
