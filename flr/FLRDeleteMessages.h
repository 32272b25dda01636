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

// ---- Layouts --------------------------------------------------------------------

static_assert(sizeof(repDelAllCPsByRepSetIdReq) == 8, "repDelAllCPsByRepSetIdReq size");
static_assert(sizeof(repDelCPReq) == 4, "repDelCPReq size");
static_assert(sizeof(repPruneRepSetReq) == 4, "repPruneRepSetReq size");
static_assert(sizeof(repPruneFanInRPReq) == 8, "repPruneFanInRPReq size");

static_assert(sizeof(repFLRStatusResp) == 16, "repFLRStatusResp size");
FLR_CHECK_FIELD(repFLRStatusResp, errCode, 4);
FLR_CHECK_FIELD(repFLRStatusResp, errMsg, 8);
static_assert(sizeof(repDelAllCPsByRepSetIdResp) == 16 && sizeof(repDelCPResp) == 16 &&
                  sizeof(repPruneRepSetResp) == 16 && sizeof(repPruneFanInRPResp) == 16,
              "status reply sizes");

static_assert(sizeof(repCreateCPEntry) == 36, "repCreateCPEntry size");
FLR_CHECK_FIELD(repCreateCPEntry, Unstable, 16);
FLR_CHECK_FIELD(repCreateCPEntry, SrcClientId, 28);
FLR_CHECK_FIELD(repCreateCPEntry, ClientId, 32);

#define FLR_CREATE_CP_REQ2_LAYOUT(T)       \
    static_assert(sizeof(T) == 72, #T " size"); \
    FLR_CHECK_FIELD(T, CPs, 8);            \
    FLR_CHECK_FIELD(T, SnapCount, 16);     \
    FLR_CHECK_FIELD(T, Snaps, 24);         \
    FLR_CHECK_FIELD(T, PairCount, 32);     \
    FLR_CHECK_FIELD(T, Pairs, 40);         \
    FLR_CHECK_FIELD(T, MountCount, 48);    \
    FLR_CHECK_FIELD(T, MountPoints, 56);   \
    FLR_CHECK_FIELD(T, DstClientId, 64)
FLR_CREATE_CP_REQ2_LAYOUT(repCreateCPReq2);
FLR_CREATE_CP_REQ2_LAYOUT(repCreateCPReq2V2);
#undef FLR_CREATE_CP_REQ2_LAYOUT
