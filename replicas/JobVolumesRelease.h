// Argument and result records of the freeing of the replication volumes a
// job left behind.
#pragma once

#include <cstdint>
#include <string>

struct FreeYBVolumesByJobIdArgs_t {
    int64_t jobId = 0;
};
struct FreeYBVolumesByJobIdRet_t {
    std::string errMsg;
    int32_t errCode = 0;
};
