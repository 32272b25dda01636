// Request and reply structures of the consistency point queries, the latest
// point of a replication set, the replication set of a volume and the
// recovery point lookups. A reply carries status 1 (succeeded) or 0 (failed)
// and a message that is null on success; an array is null when its count is 0.
#pragma once

#include <cstddef>
#include <cstdint>

#include "flr/FLRRecords.h"

// ---- An expanded point -----------------------------------------------------------

// The arrays of a point's snapshots, pair rows, pair paths, network shares
// and mount points, each count followed by its array.
template <typename SnapWire>
struct repFLRExpandedLists {
    uint32_t SnapCount;
    SnapWire* Snaps;
    uint32_t PairCount;
    repFLRSnapPairElem* Pairs;
    uint32_t PairPathCount;
    repFLRPairPathElem* PairPaths;
    uint32_t ShareCount;
    repFLRSnapNetworkShareElem* Shares;
    uint32_t MountCount;
    repFLRSnapMountPointElem* MountPoints;
};

// A point by its id: the arrays without the point.
template <typename SnapWire>
struct repQueryFLRSnapshotsByCPIdRespOf {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
    repFLRExpandedLists<SnapWire> lists;
};

// A point found by its job or set: the point, then its arrays.
template <typename CPWire, typename SnapWire>
struct repExpandedCPRespOf {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
    CPWire CP;
    repFLRExpandedLists<SnapWire> lists;
};

// ---- Consistency point queries ----------------------------------------------------

// 0x350001d7: the points of a replication set.
struct repQueryFLRCPointsByFLRSetIdReq {
    int32_t FLRSetId;
};
struct repQueryFLRCPointsByFLRSetIdResp {
    uint32_t count;
    repFLRConsistencyPointRec* CPs;
    uint32_t status;
    int32_t errCode;
    char* errMsg;
};

// 0x350001dd and 0x35000200: a point by its id.
struct repQueryFLRSnapshotsByCPIdReq {
    uint32_t CPId;
};
struct repQueryFLRSnapshotsByCPIdReqV2 : repQueryFLRSnapshotsByCPIdReq {};
struct repQueryFLRSnapshotsByCPIdResp : repQueryFLRSnapshotsByCPIdRespOf<repFLRSnapRec> {};
struct repQueryFLRSnapshotsByCPIdRespV2 : repQueryFLRSnapshotsByCPIdRespOf<repFLRSnapRecV2> {};

// 0x350001e7, 0x35000202 and 0x35000252: the point of a job.
struct repQueryFLRCPByJobIdReq {
    int64_t JobId;
};
struct repQueryFLRCPByJobIdReqV2 : repQueryFLRCPByJobIdReq {};
struct repQueryFLRCPByJobIdResp : repExpandedCPRespOf<repFLRConsistencyPointRec, repFLRSnapRec> {};
struct repQueryFLRCPByJobIdRespV2 : repExpandedCPRespOf<repWinFLRConsistencyPointRecV2, repFLRSnapRecV2> {};
struct repQueryFLRCPByJobIdRespV3 : repExpandedCPRespOf<repWinFLRConsistencyPointRecV3, repFLRSnapRecV2> {};

// ---- Latest point of a replication set ----------------------------------------------

// 0x350001e9: by set; 0x35000204 and 0x35000254: by set and, when given, a
// destination volume GUID.
struct repQueryRepSetLastCPReq {
    uint32_t FLRSetId;
};
struct repQueryRepSetLastCPReqV2 {
    static constexpr bool kHoldsPointers = true;
    uint32_t FLRSetId;
    char* VolumeGUID;
};
struct repQueryRepSetLastCPResp : repExpandedCPRespOf<repFLRConsistencyPointRec, repFLRSnapRec> {};
struct repQueryRepSetLastCPRespV2 : repExpandedCPRespOf<repWinFLRConsistencyPointRecV2, repFLRSnapRecV2> {};
struct repQueryRepSetLastCPRespV3 : repExpandedCPRespOf<repWinFLRConsistencyPointRecV3, repFLRSnapRecV2> {};

// ---- Replication set of a volume ------------------------------------------------------

// 0x350001f3: the destination volume paths and the set being configured.
struct repFindRepSetByVolumeReq {
    static constexpr bool kHoldsPointers = true;
    uint32_t count;
    char** VolumePaths;  // a null entry is an empty path
    int32_t ExcludedRepSetId;
};
// One per path, in request order.
struct repRepSetVolumeRec {
    char* VolumePath;
    char* RepSetName;
    char* DstHostName;
    int32_t DstClientId;
    int32_t RepSetId;
};
struct repFindRepSetByVolumeResp {
    uint32_t count;
    repRepSetVolumeRec* Volumes;
    int32_t status;
    int32_t errCode;
    char* errMsg;
};

// ---- Recovery point lookups ------------------------------------------------------------

// A list reply of the lookups.
template <typename Rec>
struct repFLRLookupListRespOf {
    int32_t status;
    int32_t errCode;
    char* errMsg;
    uint32_t count;
    Rec* list;
};

// 0x35000228 by volume name; 0x35000248 by volume name or, with IsGUID 1,
// by volume GUID.
struct repGetRPsByClientIdAndVolNameReq {
    static constexpr bool kHoldsPointers = true;
    int32_t DstClientId;
    char* VolName;
};
struct repGetRPsByClientIdAndVolNameV2Req {
    static constexpr bool kHoldsPointers = true;
    int32_t DstClientId;
    char* VolName;
    int32_t IsGUID;
};
struct repGetRPsByClientIdAndVolNameResp : repFLRLookupListRespOf<repRPInfo1> {};
struct repGetRPsByClientIdAndVolNameV2Resp : repFLRLookupListRespOf<repRPInfo1> {};

// 0x35000256: every recovery point of a destination client.
struct repGetRPsByDstClientIdReq {
    int32_t DstClientId;
};
struct repGetRPsByDstClientIdResp : repFLRLookupListRespOf<repRPInfo1> {};

// 0x3500022a: the pairs feeding a recovery point.
struct repGetFanInDetailInfoByRPIdReq {
    int32_t RPId;
};
struct repGetFanInDetailInfoByRPIdResp : repFLRLookupListRespOf<repFLRFanInDetailRec> {};

// 0x3500022c: one snapshot.
struct repQueryFLRSnapBySnapIdReq {
    int32_t SnapshotId;
};
struct repQueryFLRSnapBySnapIdResp {
    int32_t status;
    repFLRSnapRecV2 Snapshot;
    char* errMsg;
    int32_t errCode;
};

// 0x3500024a: one point.
struct repQueryCPByIdReq {
    int32_t CPId;
};
struct repQueryCPByIdResp {
    int32_t status;
    repWinFLRConsistencyPointRecV3 CP;
    char* errMsg;
    int32_t errCode;
};

// 0x350001f7: the points of a client for an application type.
struct repQueryFLRCPsByClientIdAndAppTypeReq {
    int32_t ClientId;
    int32_t AppType;
};
struct repQueryFLRCPsByClientIdAndAppTypeResp {
    uint32_t count;
    repFLRConsistencyPointRec* CPs;
    int32_t status;
    int32_t errCode;
    char* errMsg;
};
