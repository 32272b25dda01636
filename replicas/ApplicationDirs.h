// Argument and result records of the application directories that
// replication volumes hold (table YBApplicationDirs).
#pragma once

#include <cstdint>
#include <string>

struct DeleteAppDirsByReplicationVolIdArgs_t {
    int32_t ReplicationVolumeId = -1;
};
// The text only.
struct DeleteAppDirsByReplicationVolIdRet_t {
    std::string errMsg;
};
