// Argument and result records and the request and reply structures of the
// reservation of replication volumes, and of the question whether a
// snapshot kept in a destination volume may be deleted.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Ids in request order.
struct ReserveReplicaVolListArgs_t {
    std::vector<int32_t> ids;
};
struct UnreserveReplicaVolumeListArgs_t {
    std::vector<int32_t> ids;
};
// The text only: reservation carries no code.
struct ReserveReplicaVolListRet_t {
    std::string errMsg;
};
struct UnreserveReplicaVolumeListRet_t {
    std::string errMsg;
};

struct CanDeleteYBSnapshotArgs_t {
    int32_t id = -1;
};
struct CanDeleteYBSnapshotRet_t {
    bool canDelete = false;
    int32_t errCode = 0;
    std::string errMsg;
};

// The reserve and unreserve requests share one layout.
struct repReserveReplicaVolReq {
    static constexpr bool kHoldsPointers = true;
    uint32_t count;
    int32_t* ids;
};
using repUnreserveReplicaVolReq = repReserveReplicaVolReq;
struct repReserveReplicaVolResp {
    uint32_t status;
    char* errMsg;
};
struct repUnreserveReplicaVolResp {
    uint32_t status;
    char* errMsg;
};
