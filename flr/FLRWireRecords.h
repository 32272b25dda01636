// The wire records of the FLR messages of the replication protocol, each
// pinned to its size and field offsets.
#pragma once

#include <cstddef>
#include <cstdint>

// ---------------------------------------------------------------------------
// Wire records (little-endian, natural alignment; a text is a pointer to a
// terminated string, null for an empty text; a flag is a 32-bit 1 or 0). A
// newly made wire record is all zeros.

// The fields of version 1 of a point's wire record, with which the later
// versions begin.
#define FLR_CP_WIRE_V1_FIELDS      \
    int32_t id = 0;                \
    int32_t CreationTime = 0;      \
    int32_t FLRSetId = 0;          \
    int64_t JobId = 0;             \
    uint32_t Unstable = 0;         \
    uint32_t AutoMount = 0;        \
    uint32_t FlagBit4 = 0;         \
    int32_t SrcClientId = 0;

struct repFLRConsistencyPointRec {
    FLR_CP_WIRE_V1_FIELDS
};

struct repWinFLRConsistencyPointRecV2 {
    FLR_CP_WIRE_V1_FIELDS
    int32_t AuxValue = 0;
    int32_t Type = 0;
};

struct repWinFLRConsistencyPointRecV3 {
    FLR_CP_WIRE_V1_FIELDS
    int32_t AuxValue = 0;
    int32_t Type = 0;
    uint32_t Flags = 0;
};
#undef FLR_CP_WIRE_V1_FIELDS

struct repFLRSnapRec {
    int32_t id = 0;
    int32_t ConsistencyPointId = 0;
    char* Name = nullptr;
    char* SnapVolumeName = nullptr;
    char* VolumeGUID = nullptr;
};

// Version 1 followed by the engine type, the path and the extra value; the
// four trailing fields are sent as 0 and not read.
struct repFLRSnapRecV2 {
    int32_t id = 0;
    int32_t ConsistencyPointId = 0;
    char* Name = nullptr;
    char* SnapVolumeName = nullptr;
    char* VolumeGUID = nullptr;
    int32_t Type = 0;
    char* SnapshotPath = nullptr;
    int32_t AuxValue = 0;
    uint32_t Padding = 0;
    uint32_t Reserved1 = 0;
    char* Reserved2 = nullptr;
    uint32_t Reserved3 = 0;
    char* Reserved4 = nullptr;
};

struct repRPInfo1 {
    int32_t CPId = 0;
    int32_t CreationTime = 0;
    char* Name = nullptr;
    char* MountPoint = nullptr;
    int32_t JobId = 0;
};

struct repFLRFanInDetailRec {
    char* SrcPath = nullptr;
    char* DstPath = nullptr;
    int32_t SrcClientId = 0;
    int32_t RepSetId = 0;
    char* SrcClientNetName = nullptr;
    char* RepSetName = nullptr;
    int32_t DstClientId = 0;
};

// Array elements of the requests and replies that carry pairs, pair paths,
// mount points and network shares.
struct repFLRSnapPairElem {
    int32_t id = 0;
    int32_t SnapshotId = 0;
    int32_t PairId = 0;
};

struct repFLRPairPathElem {
    int32_t PairId = 0;
    char* SrcPath = nullptr;
    char* DstPath = nullptr;
};

struct repFLRSnapMountPointElem {
    int32_t id = 0;
    int32_t SnapshotId = 0;
    char* MountPath = nullptr;
};

struct repFLRSnapNetworkShareElem {
    int32_t id = 0;
    int32_t MountPointId = 0;
    char* NetShareName = nullptr;
};

#define FLR_CHECK_FIELD(Type, field, offset) \
    static_assert(offsetof(Type, field) == (offset), #Type "." #field " offset")

#define FLR_CP_V1_LAYOUT(T)              \
    FLR_CHECK_FIELD(T, id, 0);           \
    FLR_CHECK_FIELD(T, CreationTime, 4); \
    FLR_CHECK_FIELD(T, FLRSetId, 8);     \
    FLR_CHECK_FIELD(T, JobId, 16);       \
    FLR_CHECK_FIELD(T, Unstable, 24);    \
    FLR_CHECK_FIELD(T, AutoMount, 28);   \
    FLR_CHECK_FIELD(T, FlagBit4, 32);    \
    FLR_CHECK_FIELD(T, SrcClientId, 36)
static_assert(sizeof(repFLRConsistencyPointRec) == 40, "repFLRConsistencyPointRec size");
FLR_CP_V1_LAYOUT(repFLRConsistencyPointRec);
static_assert(sizeof(repWinFLRConsistencyPointRecV2) == 48, "repWinFLRConsistencyPointRecV2 size");
FLR_CP_V1_LAYOUT(repWinFLRConsistencyPointRecV2);
FLR_CHECK_FIELD(repWinFLRConsistencyPointRecV2, AuxValue, 40);
FLR_CHECK_FIELD(repWinFLRConsistencyPointRecV2, Type, 44);
static_assert(sizeof(repWinFLRConsistencyPointRecV3) == 56, "repWinFLRConsistencyPointRecV3 size");
FLR_CP_V1_LAYOUT(repWinFLRConsistencyPointRecV3);
FLR_CHECK_FIELD(repWinFLRConsistencyPointRecV3, AuxValue, 40);
FLR_CHECK_FIELD(repWinFLRConsistencyPointRecV3, Type, 44);
FLR_CHECK_FIELD(repWinFLRConsistencyPointRecV3, Flags, 48);
#undef FLR_CP_V1_LAYOUT

#define FLR_SNAP_V1_LAYOUT(T)                  \
    FLR_CHECK_FIELD(T, id, 0);                 \
    FLR_CHECK_FIELD(T, ConsistencyPointId, 4); \
    FLR_CHECK_FIELD(T, Name, 8);               \
    FLR_CHECK_FIELD(T, SnapVolumeName, 16);    \
    FLR_CHECK_FIELD(T, VolumeGUID, 24)
static_assert(sizeof(repFLRSnapRec) == 32, "repFLRSnapRec size");
FLR_SNAP_V1_LAYOUT(repFLRSnapRec);
static_assert(sizeof(repFLRSnapRecV2) == 88, "repFLRSnapRecV2 size");
FLR_SNAP_V1_LAYOUT(repFLRSnapRecV2);
FLR_CHECK_FIELD(repFLRSnapRecV2, Type, 32);
FLR_CHECK_FIELD(repFLRSnapRecV2, SnapshotPath, 40);
FLR_CHECK_FIELD(repFLRSnapRecV2, AuxValue, 48);
FLR_CHECK_FIELD(repFLRSnapRecV2, Reserved1, 56);
FLR_CHECK_FIELD(repFLRSnapRecV2, Reserved2, 64);
FLR_CHECK_FIELD(repFLRSnapRecV2, Reserved3, 72);
FLR_CHECK_FIELD(repFLRSnapRecV2, Reserved4, 80);
#undef FLR_SNAP_V1_LAYOUT

static_assert(sizeof(repRPInfo1) == 32, "repRPInfo1 size");
FLR_CHECK_FIELD(repRPInfo1, CreationTime, 4);
FLR_CHECK_FIELD(repRPInfo1, Name, 8);
FLR_CHECK_FIELD(repRPInfo1, MountPoint, 16);
FLR_CHECK_FIELD(repRPInfo1, JobId, 24);

static_assert(sizeof(repFLRFanInDetailRec) == 48, "repFLRFanInDetailRec size");
FLR_CHECK_FIELD(repFLRFanInDetailRec, DstPath, 8);
FLR_CHECK_FIELD(repFLRFanInDetailRec, SrcClientId, 16);
FLR_CHECK_FIELD(repFLRFanInDetailRec, RepSetId, 20);
FLR_CHECK_FIELD(repFLRFanInDetailRec, SrcClientNetName, 24);
FLR_CHECK_FIELD(repFLRFanInDetailRec, RepSetName, 32);
FLR_CHECK_FIELD(repFLRFanInDetailRec, DstClientId, 40);

static_assert(sizeof(repFLRSnapPairElem) == 12, "repFLRSnapPairElem size");
FLR_CHECK_FIELD(repFLRSnapPairElem, SnapshotId, 4);
FLR_CHECK_FIELD(repFLRSnapPairElem, PairId, 8);
static_assert(sizeof(repFLRPairPathElem) == 24, "repFLRPairPathElem size");
FLR_CHECK_FIELD(repFLRPairPathElem, SrcPath, 8);
FLR_CHECK_FIELD(repFLRPairPathElem, DstPath, 16);
static_assert(sizeof(repFLRSnapMountPointElem) == 16, "repFLRSnapMountPointElem size");
FLR_CHECK_FIELD(repFLRSnapMountPointElem, SnapshotId, 4);
FLR_CHECK_FIELD(repFLRSnapMountPointElem, MountPath, 8);
static_assert(sizeof(repFLRSnapNetworkShareElem) == 16, "repFLRSnapNetworkShareElem size");
FLR_CHECK_FIELD(repFLRSnapNetworkShareElem, MountPointId, 4);
FLR_CHECK_FIELD(repFLRSnapNetworkShareElem, NetShareName, 8);
