// The argument and result records of the FLR subsystem's operations.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "flr/FLREntityRecords.h"
#include "host/db/FLRTables.h"

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
