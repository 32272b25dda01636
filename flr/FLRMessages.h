// Request and reply structures of the consistency point creation requests and
// of the snapshot mount point, network share and path requests. A reply
// carries status 1 (succeeded) or 0 (failed) and a message that is null on
// success.
#pragma once

#include <cstddef>
#include <cstdint>

#include "flr/FLRRecords.h"

// ---- Consistency point creation ------------------------------------------------

// 0x350001d5 takes a repFLRConsistencyPointRec; its reply puts the new id first.
struct repAddFLRConsistencyPointResp {
    int32_t CPId;  // 0 on failure
    uint32_t status;
    int32_t errCode;
    char* errMsg;
};

// The point, then its snapshots, pairs and mount points; a pair or mount
// point names its snapshot by the id the request gives the snapshot.
template <typename CPWire, typename SnapWire>
struct repCreateCPReqOf {
    static constexpr bool kHoldsPointers = true;
    CPWire CP;
    uint32_t SnapCount;
    SnapWire* Snaps;
    uint32_t PairCount;
    repFLRSnapPairElem* Pairs;
    uint32_t MountCount;
    repFLRSnapMountPointElem* MountPoints;
};
struct repCreateCPReq : repCreateCPReqOf<repFLRConsistencyPointRec, repFLRSnapRec> {};
struct repCreateCPReqV2 : repCreateCPReqOf<repWinFLRConsistencyPointRecV2, repFLRSnapRecV2> {};
struct repCreateCPReqV3 : repCreateCPReqOf<repWinFLRConsistencyPointRecV3, repFLRSnapRecV2> {};

// The point's id and the rows the request stored.
template <typename SnapWire>
struct repCreateCPRespOf {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
    int32_t CPId;
    uint32_t Reserved;
    uint32_t SnapCount;
    SnapWire* Snaps;
    uint32_t PairCount;
    repFLRSnapPairElem* Pairs;
    uint32_t MountCount;
    repFLRSnapMountPointElem* MountPoints;
};
struct repCreateCPResp : repCreateCPRespOf<repFLRSnapRec> {};
struct repCreateCPRespV2 : repCreateCPRespOf<repFLRSnapRecV2> {};

// ---- Snapshot mount points, network shares and paths --------------------------------

struct repAddFLRSnapMountPointReq {
    static constexpr bool kHoldsPointers = true;
    uint32_t Reserved;  // not read
    uint32_t SnapshotId;
    char* MountPath;
};
// The new id follows the status; the code comes after it.
struct repAddFLRSnaphsotMountPointResp {
    uint32_t status;
    uint32_t MountPointId;
    int32_t errCode;
    char* errMsg;
};

struct repDeleteFLRSnapMountPointReq {
    uint32_t MountPointId;
};
struct repDeleteFLRSnapshotMountPointResp {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
};

struct repAddFLRSnapNetworkShareReq {
    static constexpr bool kHoldsPointers = true;
    uint32_t Reserved;  // not read
    uint32_t MountPointId;
    char* NetShareName;
};
// The code follows the status; the new id comes last.
struct repAddFLRSnapNetworkShareResp {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
    uint32_t ShareId;
};

struct repDeleteFLRSnapNetworkShareReq {
    uint32_t ShareId;
};
struct repDelFLRSnapNetworkShareResp {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
};

// Snapshots by name with their new paths.
struct repUpdateFLRSnapshotReq {
    static constexpr bool kHoldsPointers = true;
    uint8_t Reserved[16];  // not read
    uint32_t count;
    repFLRSnapRecV2* Snaps;
};
struct repUpdateFLRSnapshotResp {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
};
