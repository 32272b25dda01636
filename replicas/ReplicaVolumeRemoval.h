// Argument and result records and the request and reply structures of the
// removal of one replication volume with its application directories and
// its subclient link.
#pragma once

#include <cstdint>
#include <string>

struct RemoveReplicationVolumeArgs_t {
    RemoveReplicationVolumeArgs_t() = default;
    explicit RemoveReplicationVolumeArgs_t(int volumeId) : id(volumeId) {}

    int32_t id = -1;
};
// The text only: the removal carries no code.
struct RemoveReplicationVolumeRet_t {
    std::string errMsg;
};

struct repRemoveReplicationVolumeReq {
    int32_t id;
};
struct repRemoveReplicationVolumeResp {
    uint32_t status;
    char* errMsg;
};
