// Request and reply structures of the SNR cases served inline by post.
#pragma once

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
