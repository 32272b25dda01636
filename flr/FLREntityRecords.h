// Consistency points (recovery points), FLR snapshots, their pair
// associations, mount points and network shares as in-memory records, with
// the flag bits, kinds and text limits they use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "host/db/FLRTables.h"

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
// The other path columns are as long.
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
