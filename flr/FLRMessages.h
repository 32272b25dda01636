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

// ---- Layouts --------------------------------------------------------------------------

static_assert(sizeof(repAddFLRConsistencyPointResp) == 24, "repAddFLRConsistencyPointResp size");
FLR_CHECK_FIELD(repAddFLRConsistencyPointResp, status, 4);
FLR_CHECK_FIELD(repAddFLRConsistencyPointResp, errCode, 8);
FLR_CHECK_FIELD(repAddFLRConsistencyPointResp, errMsg, 16);

#define FLR_CREATE_CP_REQ_LAYOUT(T, S)         \
    static_assert(sizeof(T) == (S) + 48, #T " size"); \
    FLR_CHECK_FIELD(T, SnapCount, S);          \
    FLR_CHECK_FIELD(T, Snaps, (S) + 8);        \
    FLR_CHECK_FIELD(T, PairCount, (S) + 16);   \
    FLR_CHECK_FIELD(T, Pairs, (S) + 24);       \
    FLR_CHECK_FIELD(T, MountCount, (S) + 32);  \
    FLR_CHECK_FIELD(T, MountPoints, (S) + 40)
FLR_CREATE_CP_REQ_LAYOUT(repCreateCPReq, 40);
FLR_CREATE_CP_REQ_LAYOUT(repCreateCPReqV2, 48);
FLR_CREATE_CP_REQ_LAYOUT(repCreateCPReqV3, 56);
#undef FLR_CREATE_CP_REQ_LAYOUT

#define FLR_CREATE_CP_RESP_LAYOUT(T)      \
    static_assert(sizeof(T) == 72, #T " size"); \
    FLR_CHECK_FIELD(T, errCode, 4);       \
    FLR_CHECK_FIELD(T, errMsg, 8);        \
    FLR_CHECK_FIELD(T, CPId, 16);         \
    FLR_CHECK_FIELD(T, SnapCount, 24);    \
    FLR_CHECK_FIELD(T, Snaps, 32);        \
    FLR_CHECK_FIELD(T, PairCount, 40);    \
    FLR_CHECK_FIELD(T, Pairs, 48);        \
    FLR_CHECK_FIELD(T, MountCount, 56);   \
    FLR_CHECK_FIELD(T, MountPoints, 64)
FLR_CREATE_CP_RESP_LAYOUT(repCreateCPResp);
FLR_CREATE_CP_RESP_LAYOUT(repCreateCPRespV2);
#undef FLR_CREATE_CP_RESP_LAYOUT

static_assert(sizeof(repAddFLRSnapMountPointReq) == 16, "repAddFLRSnapMountPointReq size");
FLR_CHECK_FIELD(repAddFLRSnapMountPointReq, SnapshotId, 4);
FLR_CHECK_FIELD(repAddFLRSnapMountPointReq, MountPath, 8);
static_assert(sizeof(repAddFLRSnaphsotMountPointResp) == 24, "repAddFLRSnaphsotMountPointResp size");
FLR_CHECK_FIELD(repAddFLRSnaphsotMountPointResp, MountPointId, 4);
FLR_CHECK_FIELD(repAddFLRSnaphsotMountPointResp, errCode, 8);
FLR_CHECK_FIELD(repAddFLRSnaphsotMountPointResp, errMsg, 16);

static_assert(sizeof(repAddFLRSnapNetworkShareReq) == 16, "repAddFLRSnapNetworkShareReq size");
FLR_CHECK_FIELD(repAddFLRSnapNetworkShareReq, MountPointId, 4);
FLR_CHECK_FIELD(repAddFLRSnapNetworkShareReq, NetShareName, 8);
static_assert(sizeof(repAddFLRSnapNetworkShareResp) == 24, "repAddFLRSnapNetworkShareResp size");
FLR_CHECK_FIELD(repAddFLRSnapNetworkShareResp, errCode, 4);
FLR_CHECK_FIELD(repAddFLRSnapNetworkShareResp, errMsg, 8);
FLR_CHECK_FIELD(repAddFLRSnapNetworkShareResp, ShareId, 16);

static_assert(sizeof(repDeleteFLRSnapMountPointReq) == 4, "repDeleteFLRSnapMountPointReq size");
static_assert(sizeof(repDeleteFLRSnapNetworkShareReq) == 4, "repDeleteFLRSnapNetworkShareReq size");

#define FLR_STATUS_REPLY_LAYOUT(T)        \
    static_assert(sizeof(T) == 16, #T " size"); \
    FLR_CHECK_FIELD(T, errCode, 4);       \
    FLR_CHECK_FIELD(T, errMsg, 8)
FLR_STATUS_REPLY_LAYOUT(repDeleteFLRSnapshotMountPointResp);
FLR_STATUS_REPLY_LAYOUT(repDelFLRSnapNetworkShareResp);
FLR_STATUS_REPLY_LAYOUT(repUpdateFLRSnapshotResp);
#undef FLR_STATUS_REPLY_LAYOUT

static_assert(sizeof(repUpdateFLRSnapshotReq) == 32, "repUpdateFLRSnapshotReq size");
FLR_CHECK_FIELD(repUpdateFLRSnapshotReq, count, 16);
FLR_CHECK_FIELD(repUpdateFLRSnapshotReq, Snaps, 24);
