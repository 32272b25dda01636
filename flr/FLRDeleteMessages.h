// Request and reply structures of the deletion and pruning of consistency
// points and of the rebuild of a destination client's points from its
// snapshot list. A reply carries status 1 (succeeded) or 0 (failed), then
// the error code and a message that is null on success.
#pragma once

#include <cstddef>
#include <cstdint>

#include "flr/FLRMessages.h"

// ---- Deletion and pruning ------------------------------------------------------

struct repDelAllCPsByRepSetIdReq {
    uint32_t RepSetId;
    uint32_t Force;  // forced only when 1
};
struct repDelCPReq {
    uint32_t CPId;
};
struct repPruneRepSetReq {
    int32_t RepSetId;
};
struct repPruneFanInRPReq {
    static constexpr bool kHoldsPointers = true;
    char* DstVolumeGUID;  // null: empty
};

struct repFLRStatusResp {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
};
struct repDelAllCPsByRepSetIdResp : repFLRStatusResp {};
struct repDelCPResp : repFLRStatusResp {};
struct repPruneRepSetResp : repFLRStatusResp {};
struct repPruneFanInRPResp : repFLRStatusResp {};

// ---- Rebuild from a client's snapshot list --------------------------------------

// A point of the list; its snapshots name it by its position in the list.
struct repCreateCPEntry {
    int32_t id;
    int32_t CreationTime;
    int32_t FLRSetId;
    int32_t JobId;
    uint32_t Unstable;  // each flag true when not 0
    uint32_t AutoMount;
    uint32_t FlagBit4;
    int32_t SrcClientId;
    int32_t ClientId;
};

// The points, their snapshots (repFLRSnapRec or repFLRSnapRecV2), pairs and
// mount points of one destination client; a pair or mount point names its
// snapshot by the id the request gives it.
template <typename SnapWire>
struct repCreateCPReq2Of {
    static constexpr bool kHoldsPointers = true;
    uint32_t CPCount;
    repCreateCPEntry* CPs;
    uint32_t SnapCount;
    SnapWire* Snaps;
    uint32_t PairCount;
    repFLRSnapPairElem* Pairs;
    uint32_t MountCount;
    repFLRSnapMountPointElem* MountPoints;
    uint32_t DstClientId;
};
struct repCreateCPReq2 : repCreateCPReq2Of<repFLRSnapRec> {};
struct repCreateCPReq2V2 : repCreateCPReq2Of<repFLRSnapRecV2> {};
