// Request and reply structures of the SNR cases served inline by post.
#pragma once

#include <cstddef>
#include <cstdint>

#include "snr/SNRRecords.h"

// ---- Global history names ---------------------------------------------------

// 0x3500010b (add) and 0x3500010d (update): the request is a
// repYBTzHistoryNameRec (device id at 0, name at 8).

// 0x3500010f (delete) and 0x35000111 (query by device).
struct repTzGlobalHistoryNameByDeviceReq {
    int32_t DeviceId;
};

// 0x35000113 (query by SNR volume).
struct repTzGlobalHistoryNameByVolIdReq {
    int32_t SNRVolumeId;
};

struct repAddGlobalHistoryNameResp {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
};
struct repUpdateTzGlobalHistoryNameResp {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
};
struct repDeleteTzGlobalHistoryNameResp {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
};

// The record is filled on success only.
struct repQueryTzGlobalHistoryNameResp {
    repYBTzHistoryNameRec HistoryName;
    uint32_t status;
    int32_t errCode;
    char* errMsg;
};
struct repQueryTzGlobalHistoryNameByVolIdResp {
    repYBTzHistoryNameRec HistoryName;
    uint32_t status;
    int32_t errCode;
    char* errMsg;
};

static_assert(sizeof(repTzGlobalHistoryNameByDeviceReq) == 4, "repTzGlobalHistoryNameByDeviceReq size");
static_assert(sizeof(repTzGlobalHistoryNameByVolIdReq) == 4, "repTzGlobalHistoryNameByVolIdReq size");

#define SNR_STATUS_REPLY_LAYOUT(T)                      \
    static_assert(sizeof(T) == 16, #T " size");         \
    YB_CHECK_FIELD(T, status, 0);                       \
    YB_CHECK_FIELD(T, errCode, 4);                      \
    YB_CHECK_FIELD(T, errMsg, 8)
SNR_STATUS_REPLY_LAYOUT(repAddGlobalHistoryNameResp);
SNR_STATUS_REPLY_LAYOUT(repUpdateTzGlobalHistoryNameResp);
SNR_STATUS_REPLY_LAYOUT(repDeleteTzGlobalHistoryNameResp);
#undef SNR_STATUS_REPLY_LAYOUT

#define SNR_HISTORY_QUERY_REPLY_LAYOUT(T)                                                    \
    static_assert(sizeof(T) == 32, #T " size");                                              \
    static_assert(offsetof(T, HistoryName) + offsetof(repYBTzHistoryNameRec, DeviceId) == 0, \
                  #T " device id");                                                          \
    static_assert(offsetof(T, HistoryName) + offsetof(repYBTzHistoryNameRec, GlobalHistoryName) == 8, \
                  #T " history name");                                                       \
    YB_CHECK_FIELD(T, status, 16);                                                           \
    YB_CHECK_FIELD(T, errCode, 20);                                                          \
    YB_CHECK_FIELD(T, errMsg, 24)
SNR_HISTORY_QUERY_REPLY_LAYOUT(repQueryTzGlobalHistoryNameResp);
SNR_HISTORY_QUERY_REPLY_LAYOUT(repQueryTzGlobalHistoryNameByVolIdResp);
#undef SNR_HISTORY_QUERY_REPLY_LAYOUT
