// The wire records of the FLR messages of the replication protocol; their
// sizes and field offsets are pinned in flr/FLRWireLayouts.cpp.
#pragma once

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
