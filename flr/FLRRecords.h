// Consistency points (recovery points), FLR snapshots, their pair
// associations, mount points and network shares: the in-memory records, the
// wire records of the replication protocol, the argument and result records
// of the subsystem's operations, and the YBSet conversions between records,
// wire records and the rows of host/db/FLRTables.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host/db/FLRTables.h"
#include "rows/YBDBDst.h"
#include "service/Utils.h"

// ---------------------------------------------------------------------------
// Flag bits, kinds and limits.

// YBFLRConsistencyPoint.Flags
constexpr int32_t FLRCP_FLAG_UNSTABLE = 0x1;
constexpr int32_t FLRCP_FLAG_AUTOMOUNT = 0x2;
constexpr int32_t FLRCP_FLAG_BIT4 = 0x4;  // carried as received
constexpr int32_t FLRCP_FLAG_ARCHIVE_SNAP = 0x8;

// YBFLRConsistencyPoint.Type of a point kept on the destination machine.
constexpr int32_t FLRCP_TYPE_DESTINATION_MACHINE = 1;

// What the destination host did with one snapshot of a cleanup (FLRSnap_t::Result).
constexpr int32_t FLRSNAP_SHARE_REMOVED = 0x1;
constexpr int32_t FLRSNAP_UNMOUNTED = 0x2;
constexpr int32_t FLRSNAP_DESTROYED = 0x4;

// Selection modes of GetFLRSnapArgs_t.
constexpr int32_t FLRSNAP_BY_CP = 0;
constexpr int32_t FLRSNAP_BY_REPSET = 1;
constexpr int32_t FLRSNAP_BY_REPSET_FOR_PRUNING = 2;
constexpr int32_t FLRSNAP_BY_VOLUME = 3;

// Application types whose consistency points go by the name "Exchange
// Database": 9, 15 and 53.
bool IsThisExchangeApplication(int32_t appType);

// Longest texts stored: a snapshot name, and a volume name, volume GUID,
// snapshot path, mount path or share name.
constexpr size_t kMaxFLRSnapNameLength = sizeof(YBFLRSnapshot_t::Name) - 2;          // 127
constexpr size_t kMaxFLRPathLength = sizeof(YBFLRSnapMountPoint_t::MountPath) - 2;  // 1023
static_assert(kMaxFLRPathLength == sizeof(YBFLRSnapshot_t::SnapVolumeName) - 2, "FLR text columns");
static_assert(kMaxFLRPathLength == sizeof(YBFLRSnapNetworkShare_t::NetShareName) - 2, "FLR text columns");

// ---------------------------------------------------------------------------
// Entity records. Each owns its texts; a null text pointer given to a
// constructor is an empty text.

struct FLRConsistencyPointRecord_t {
    // The set id comes before the creation time here, unlike the fields.
    FLRConsistencyPointRecord_t(int32_t id = -1, int64_t flrSetId = 0, int64_t creationTime = 0, int64_t jobId = 0,
                                bool unstable = false, bool autoMount = false, int32_t clientId = -1,
                                int32_t tallmarkId = -1, bool flagBit4 = false, int32_t srcClientId = -1,
                                int32_t auxValue = 0, int32_t type = 0, int32_t flags = 0);

    bool IsCPArchiveSnap() const { return (Flags & FLRCP_FLAG_ARCHIVE_SNAP) != 0; }
    bool IsCPTypeDestinationMachine() const { return Type == FLRCP_TYPE_DESTINATION_MACHINE; }

    int32_t id;
    int64_t CreationTime;  // seconds of the system clock
    int64_t FLRSetId;      // replication set
    int64_t JobId;
    bool Unstable;   // Flags bit 1
    bool AutoMount;  // Flags bit 2: its snapshots are mounted automatically
    int32_t ClientId;    // destination client
    int32_t TallmarkId;  // installation cell of the destination client
    bool FlagBit4;       // Flags bit 4
    int32_t SrcClientId;
    int32_t AuxValue;  // carried on the wire from version 2 on, never stored
    int32_t Type;
    int32_t Flags;
};

struct FLRSnapshotRecord_t {
    FLRSnapshotRecord_t(int32_t id = -1, int32_t consistencyPointId = -1, const char* name = nullptr,
                        const char* snapVolumeName = nullptr, const char* volumeGUID = nullptr, int32_t type = 1,
                        std::string snapshotPath = std::string(), int32_t auxValue = 0);

    // The snap engine of Type: "Pendrel", "VSS", "OS-Provided", "OnTap" or
    // "Unknown Snap Engine".
    const char* getSnapStr() const;

    int32_t id;
    int32_t ConsistencyPointId;
    std::string Name;
    std::string SnapVolumeName;
    std::string VolumeGUID;
    int32_t Type;              // snap engine
    std::string SnapshotPath;  // the shadow set id of a VSS snapshot
    int32_t AuxValue;
};

// A snapshot's association with one replication pair (subclient) of the set.
struct FLRSnapPairRecord_t {
    FLRSnapPairRecord_t(int32_t id_ = -1, int32_t snapshotId = -1, int32_t pairId = -1)
        : id(id_), SnapshotId(snapshotId), PairId(pairId)
    {
    }
    int32_t id;
    int32_t SnapshotId;
    int32_t PairId;
};

struct FLRSnapMountPointRecord_t {
    FLRSnapMountPointRecord_t(int32_t id = -1, int32_t snapshotId = -1, const char* mountPath = nullptr);
    int32_t id;
    int32_t SnapshotId;
    std::string MountPath;
};

struct FLRSnapNetworkShareRecord_t {
    FLRSnapNetworkShareRecord_t(int32_t id = -1, int32_t mountPointId = -1, const char* netShareName = nullptr);
    int32_t id;
    int32_t MountPointId;
    std::string NetShareName;
};

// The source and destination paths of one replication pair at a point's
// creation time.
struct FLRPairPathRecord_t {
    FLRPairPathRecord_t(int32_t pairId = 0, std::string srcPath = std::string(), std::string dstPath = std::string())
        : PairId(pairId), SrcPath(std::move(srcPath)), DstPath(std::move(dstPath))
    {
    }
    int32_t PairId;
    std::string SrcPath;
    std::string DstPath;
};

// One recovery point of a destination client.
struct RPInfo1Record_t {
    int32_t CPId = -1;
    int32_t CreationTime = 0;
    std::string Name;  // snapshot name
    std::string MountPoint;
    int32_t JobId = 0;
};

// One pair of a fan-in recovery point with its source and its set.
struct FanInDetail_t {
    FanInDetail_t(std::string srcPath = std::string(), std::string dstPath = std::string(), int32_t srcClientId = -1,
                  int32_t repSetId = -1, std::string srcClientNetName = std::string(),
                  std::string repSetName = std::string(), int32_t dstClientId = -1);
    std::string SrcPath;
    std::string DstPath;
    int32_t SrcClientId;
    int32_t RepSetId;
    std::string SrcClientNetName;
    std::string RepSetName;
    int32_t DstClientId;
};

// One snapshot selected for deletion or pruning, with what hangs on it. An
// id of -1 in the mount point or share: there is none.
struct FLRSnap_t {
    FLRConsistencyPointRecord_t CP;
    FLRSnapshotRecord_t Snapshot;
    FLRSnapMountPointRecord_t MountPoint;
    FLRSnapNetworkShareRecord_t Share;
    int32_t Result = 0;  // FLRSNAP_* bits the host cleanup sets
};

// The snapshots to release on one destination host; the cleanup writes its
// results back into the entries.
struct FLRSnapCleanup_t {
    explicit FLRSnapCleanup_t(int32_t clientId) : ClientId(clientId) {}
    int32_t ClientId;
    std::vector<FLRSnap_t> Snaps;
};

struct GetFLRSnapsForDeletion_t {
    GetFLRSnapsForDeletion_t(int32_t snapshotId = -1, int32_t cpId = -1) : SnapshotId(snapshotId), CPId(cpId) {}
    int32_t SnapshotId;
    int32_t CPId;
    uint8_t ToDelete = 1;
};

// A volume path and the replication set that holds it (ids -1 and names
// empty when no other set does).
struct RepSetVolume_t {
    std::string VolumePath;
    std::string RepSetName;
    std::string DstHostName;
    int32_t RepSetId = -1;
    int32_t DstClientId = -1;
};

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

// ---------------------------------------------------------------------------
// Argument and result records. Ids of arguments start at -1, counts and
// times at 0, flags false, texts empty. Every result starts with error code
// 0 and an empty text; a failure sets both.

struct FLRResult_t {
    int32_t errCode = 0;
    std::string errMsg;
};

struct AddFLRConsistencyPointArgs_t {
    FLRConsistencyPointRecord_t CP;
};
struct AddFLRConsistencyPointRet_t : FLRResult_t {
    int32_t CPId = 0;
};

// A pair or mount point names its snapshot by the snapshot's id in the same
// arguments (a number of the sender's choosing, not a database id).
struct CreateCPArgs_t {
    FLRConsistencyPointRecord_t CP;
    std::vector<FLRSnapshotRecord_t> Snapshots;
    std::vector<FLRSnapPairRecord_t> Pairs;
    std::vector<FLRSnapMountPointRecord_t> MountPoints;
    int32_t SnapCounter = -1;
    // Stored points that only the job term of the merge lookup may find, not
    // the set and creation time (a rebuild's own new points, all stamped
    // with the same clock).
    std::set<int32_t> MergeByJobOnly;

    // Appends the snapshot numbered by the counter (0 for the first) and
    // returns its number.
    int32_t AddSnapshot(const FLRSnapshotRecord_t& snapshot);
    // Append the pair or mount point of the snapshot numbered index.
    void AddPair(int32_t index, const FLRSnapPairRecord_t& pair);
    void AddMount(int32_t index, const FLRSnapMountPointRecord_t& mountPoint);
};
// The point's id (new or merged) and the rows this call stored, with their
// database ids.
struct CreateCPRet_t : FLRResult_t {
    int32_t CPId = -1;
    bool Created = false;  // a new point was stored, rather than merged into
    std::vector<FLRSnapshotRecord_t> Snapshots;
    std::vector<FLRSnapPairRecord_t> Pairs;
    std::vector<FLRSnapMountPointRecord_t> MountPoints;
};

// Several points at once: a snapshot's ConsistencyPointId is the position of
// its header in CPs.
struct CreateCPArgsById_t {
    std::vector<FLRConsistencyPointRecord_t> CPs;
    std::vector<FLRSnapshotRecord_t> Snapshots;
    std::vector<FLRSnapPairRecord_t> Pairs;
    std::vector<FLRSnapMountPointRecord_t> MountPoints;
    int32_t DstClientId = -1;
    int32_t Reserved1 = -1;
    int32_t Reserved2 = -1;
};

struct QueryFLRConsistencyPointsByFLRSetIdV1Args_t {
    int32_t FLRSetId = -1;
};
struct QueryFLRConsistencyPointsByFLRSetIdRet_t : FLRResult_t {
    std::vector<FLRConsistencyPointRecord_t> CPs;
};

// A point expanded: its snapshots, their pair associations, the pairs' paths
// at the point's creation time, the snapshots' mount points and the mount
// points' network shares.
struct FLRCPExpansion_t : FLRResult_t {
    std::vector<FLRSnapshotRecord_t> Snapshots;
    std::vector<FLRSnapPairRecord_t> Pairs;
    std::vector<FLRPairPathRecord_t> PairPaths;
    std::vector<FLRSnapMountPointRecord_t> MountPoints;
    std::vector<FLRSnapNetworkShareRecord_t> Shares;

    void clearLists();
};

struct QueryFLRSnapshotsByCPIdArgs_t {
    int32_t CPId = -1;
};
struct QueryFLRSnapshotsByCPIdRet_t : FLRCPExpansion_t {};

struct QueryFLRCPByJobIdV1Args_t {
    int64_t JobId = 0;
};
// The point of the job (id -1 when the job has none), expanded.
struct QueryFLRCPByJobIdRet_t : FLRCPExpansion_t {
    FLRConsistencyPointRecord_t CP;
};

struct QueryRepSetLastestCPArgs_t {
    int32_t FLRSetId = 0;
    std::string VolumeGUID;  // empty: any volume
};
// The newest point (id -1 when there is none), expanded.
struct QueryRepSetLastestCPRet_t : FLRCPExpansion_t {
    FLRConsistencyPointRecord_t CP;
};

struct AddFLRSnapMountPointArgs_t {
    FLRSnapMountPointRecord_t MountPoint;
};
struct AddFLRSnapMountPointRet_t : FLRResult_t {
    int32_t MountPointId = -1;
};

struct AddFLRSnapNetworkShareArgs_t {
    FLRSnapNetworkShareRecord_t Share;
};
struct AddFLRSnapNetworkShareRet_t : FLRResult_t {
    int32_t ShareId = -1;
};

struct DeleteFLRSnapMountPointArgs_t {
    int32_t MountPointId = -1;
};
struct DeleteFLRSnapMountPointRet_t : FLRResult_t {};

struct DeleteFLRSnapNetworkShareArgs_t {
    int32_t ShareId = -1;
};
struct DeleteFLRSnapNetworkShareRet_t : FLRResult_t {};

struct DeleteAllCPsByRepSetIdArgs_t {
    explicit DeleteAllCPsByRepSetIdArgs_t(int32_t repSetId = -1, bool force = false) : RepSetId(repSetId), Force(force)
    {
    }
    int32_t RepSetId;
    bool Force;
};
struct DeleteAllCPsByRepSetIdRet_t : FLRResult_t {};

struct DelCPArgs_t {
    explicit DelCPArgs_t(int32_t cpId = -1, bool force = false) : CPId(cpId), Force(force) {}
    int32_t CPId;
    bool Force;
};
struct DelCPRet_t : FLRResult_t {};

struct PruneReplicationSetArgs_t {
    int32_t RepSetId = -1;
};
struct PruneReplicationSetRet_t : FLRResult_t {};

struct PruneFanInRPArgs_t {
    std::string DstVolumeGUID;
};
struct PruneFanInRPRet_t : FLRResult_t {};

struct FindRepSetByVolumeArgs_t {
    std::vector<std::string> VolumePaths;
    int32_t ExcludedRepSetId = -1;
};
struct FindRepSetByVolumeRet_t : FLRResult_t {
    std::vector<RepSetVolume_t> Volumes;
};

// A volume path and the GUID a client gave for it (empty until then).
struct YBGUIDFromPath_t {
    YBGUIDFromPath_t(std::string path = std::string(), std::string guid = std::string())
        : Path(std::move(path)), GUID(std::move(guid))
    {
    }
    std::string Path;
    std::string GUID;
};
// The paths whose GUIDs the client of HostClientId is asked for.
struct YBFindGUIDReq_t {
    std::vector<YBGUIDFromPath_t> Paths;
    int32_t HostClientId = -1;
};

struct QueryFLRCPsByClientIdAndAppTypeV1Args_t {
    int32_t ClientId = -1;
    int32_t AppType = -1;
};
struct QueryFLRCPsByClientIdAndAppTypeRet_t : FLRResult_t {
    std::vector<FLRConsistencyPointRecord_t> CPs;
};

struct QueryRPByDstClientIdAndVolNameArgs_t {
    int32_t DstClientId = -1;
    std::string VolName;  // a volume name, or a volume GUID when IsGUID is not 0
    int32_t IsGUID = 0;
};
struct QueryRPByDstClientIdAndVolNameRet_t : FLRResult_t {
    std::vector<RPInfo1Record_t> RPs;
};

struct QueryRPsByDstClientIdArgs_t {
    int32_t DstClientId = -1;
};
struct QueryRPsByDstClientIdRet_t : FLRResult_t {
    std::vector<RPInfo1Record_t> RPs;
};

struct QueryFanInDetailInfoByRPIdArgs_t {
    int32_t RPId = -1;
};
struct QueryFanInDetailInfoByRPIdRet_t : FLRResult_t {
    std::vector<FanInDetail_t> Details;
};

struct QueryFLRSnapBySnapIdArgs_t {
    int32_t SnapshotId = -1;
};
struct QueryFLRSnapBySnapIdRet_t : FLRResult_t {
    FLRSnapshotRecord_t Snapshot;
};

struct QueryCPByIdArgs_t {
    int32_t CPId = -1;
};
struct QueryCPByIdRet_t : FLRResult_t {
    FLRConsistencyPointRecord_t CP;
};

struct doesClientHaveAnyRPsArgs_t {
    int32_t ClientId = -1;
};
// The points whose source client is the client, and the destination points
// that hold a pair of the client's replication sets.
struct doesClientHaveAnyRPsRet_t : FLRResult_t {
    uint64_t Count = 0;
};

// The names and snapshot paths of the snapshots are used.
struct UpdateFLRSnapshotArgs_t {
    std::string Text;  // not read by the path update
    std::vector<FLRSnapshotRecord_t> Snapshots;
};
struct UpdateFLRSnapshotRet_t : FLRResult_t {};

struct GetFLRSnapArgs_t {
    int32_t Id = -1;  // a point id (FLRSNAP_BY_CP) or a replication set id
    std::string VolumeGUID;  // FLRSNAP_BY_VOLUME
    int32_t Mode = FLRSNAP_BY_CP;
};
// The collected snapshots by destination volume GUID.
struct GetFLRSnapRet_t : FLRResult_t {
    std::map<std::string, std::vector<FLRSnap_t>> Snaps;
};
struct GetFLRSnapForRepSetRet_t : FLRResult_t {
    std::vector<FLRSnap_t> Snaps;
};

// The stored snapshots of a destination client by snapshot name; an entry
// whose ToDelete stays set is removed by the rebuild.
struct GetFLRSnapArgsByClient_t {
    int32_t ClientId = -1;
};
struct GetYBFLRSnapArgsByClientRet_t : FLRResult_t {
    std::map<std::string, GetFLRSnapsForDeletion_t> Snaps;
};

struct MarkCPUnstableArgs_t {
    std::vector<int32_t> CPIds;
};
struct MarkCPUnstableRet_t : FLRResult_t {};

struct FanInRPAssociatedWithSrcRepSetArgs_t {
    int32_t SrcRepSetId = -1;
};
// The pair rows of the set's pairs and the snapshots they tie them to.
struct FanInRPAssociatedWithSrcRepSetRet_t : FLRResult_t {
    std::vector<YBFLRSnapPair_t> Pairs;
    std::set<int32_t> SnapshotIds;
};

// ---------------------------------------------------------------------------
// Conversions.

// Wire to record. A null text is an empty text; the flags of a point read
// true only from a wire 1, and a true flag sets its bit in Flags (bits set
// before stay set); a version-3 point's Flags are ORed in.
void YBSet(FLRSnapshotRecord_t& dst, const repFLRSnapRec& src);
void YBSet(FLRSnapshotRecord_t& dst, const repFLRSnapRecV2& src);
void YBSet(FLRConsistencyPointRecord_t& dst, const repFLRConsistencyPointRec& src);
void YBSet(FLRConsistencyPointRecord_t& dst, const repWinFLRConsistencyPointRecV2& src);
void YBSet(FLRConsistencyPointRecord_t& dst, const repWinFLRConsistencyPointRecV3& src);
void YBSet(FanInDetail_t& dst, const repFLRFanInDetailRec& src);

// Record to wire: the texts point into the record (null for an empty text),
// which must outlive the wire record unchanged; 64-bit fields go out as
// their low 32 bits where the wire field is narrower.
void YBSet(repFLRSnapRec& dst, const FLRSnapshotRecord_t& src);
void YBSet(repFLRSnapRecV2& dst, const FLRSnapshotRecord_t& src);
void YBSet(repFLRConsistencyPointRec& dst, const FLRConsistencyPointRecord_t& src);
void YBSet(repWinFLRConsistencyPointRecV2& dst, const FLRConsistencyPointRecord_t& src);
void YBSet(repWinFLRConsistencyPointRecV3& dst, const FLRConsistencyPointRecord_t& src);
void YBSet(repRPInfo1& dst, const RPInfo1Record_t& src);
void YBSet(repFLRFanInDetailRec& dst, const FanInDetail_t& src);
void YBSet(repFLRSnapPairElem& dst, const FLRSnapPairRecord_t& src);
void YBSet(repFLRPairPathElem& dst, const FLRPairPathRecord_t& src);
void YBSet(repFLRSnapMountPointElem& dst, const FLRSnapMountPointRecord_t& src);
void YBSet(repFLRSnapNetworkShareElem& dst, const FLRSnapNetworkShareRecord_t& src);

// The fields a point's wire record adds to version 1: AuxValue and Type from
// version 2 on (YBSetCPType), Flags in version 3 (YBSetCPFlag). Nothing for
// the versions without them.
void YBSetCPType(repFLRConsistencyPointRec& dst, const FLRConsistencyPointRecord_t& src);
void YBSetCPType(repWinFLRConsistencyPointRecV2& dst, const FLRConsistencyPointRecord_t& src);
void YBSetCPType(repWinFLRConsistencyPointRecV3& dst, const FLRConsistencyPointRecord_t& src);
void YBSetCPFlag(repWinFLRConsistencyPointRecV2& dst, const FLRConsistencyPointRecord_t& src);
void YBSetCPFlag(repWinFLRConsistencyPointRecV3& dst, const FLRConsistencyPointRecord_t& src);

// Row to record.
void YBSet(FLRConsistencyPointRecord_t& dst, const YBFLRConsistencyPoint_t& src);
void YBSet(FLRSnapshotRecord_t& dst, const YBFLRSnapshot_t& src);
void YBSet(FLRSnapPairRecord_t& dst, const YBFLRSnapPair_t& src);
void YBSet(FLRSnapMountPointRecord_t& dst, const YBFLRSnapMountPoint_t& src);
void YBSet(FLRSnapNetworkShareRecord_t& dst, const YBFLRSnapNetworkShare_t& src);

// Record to row, into a row the caller has zeroed. A point never fails. A
// snapshot's texts are tested in the order name (127 characters at most),
// volume name, volume GUID, snapshot path (1023 each): the first that is
// longer fails with -18 and its message in dst, the texts before it copied.
// The row's CreationTime is left to the caller.
bool YBSet(YBDBDst_t<YBFLRConsistencyPoint_t>& dst, const FLRConsistencyPointRecord_t& src);
bool YBSet(YBDBDst_t<YBFLRSnapshot_t>& dst, const FLRSnapshotRecord_t& src);

// Rows of the recovery point cursors and procedures, appended as records:
// a recovery point of a destination client (the job id keeps its low 32
// bits), and a pair of a fan-in recovery point.
struct YBFLRGetRPByClientIdAndVolName_t;
struct YBFLRGetRPByClientIdAndVolGuid_t;
struct YBGetAllRPsbyDstClientId_t;
struct YBGetFLRPairPathByCPId_t;
void YBSet(std::vector<RPInfo1Record_t>& dst, const YBFLRGetRPByClientIdAndVolName_t& src);
void YBSet(std::vector<RPInfo1Record_t>& dst, const YBFLRGetRPByClientIdAndVolGuid_t& src);
void YBSet(std::vector<RPInfo1Record_t>& dst, const YBGetAllRPsbyDstClientId_t& src);
void YBSet(std::vector<FanInDetail_t>& dst, const YBGetFLRPairPathByCPId_t& src);

// Appends a snapshot made with the defaults (engine type 1) and converted
// from the wire record or row.
void YBSet(std::vector<FLRSnapshotRecord_t>& dst, const repFLRSnapRec& src);
void YBSet(std::vector<FLRSnapshotRecord_t>& dst, const repFLRSnapRecV2& src);
void YBSet(std::vector<FLRSnapshotRecord_t>& dst, const YBFLRSnapshot_t& src);
