// Constructors and small members of the FLR records.
#include "flr/FLRRecords.h"

#include "service/RecordConversion.h"

FLRConsistencyPointRecord_t::FLRConsistencyPointRecord_t(int32_t id_, int64_t flrSetId, int64_t creationTime,
                                                         int64_t jobId, bool unstable, bool autoMount,
                                                         int32_t clientId, int32_t tallmarkId, bool flagBit4,
                                                         int32_t srcClientId, int32_t auxValue, int32_t type,
                                                         int32_t flags)
    : id(id_),
      CreationTime(creationTime),
      FLRSetId(flrSetId),
      JobId(jobId),
      Unstable(unstable),
      AutoMount(autoMount),
      ClientId(clientId),
      TallmarkId(tallmarkId),
      FlagBit4(flagBit4),
      SrcClientId(srcClientId),
      AuxValue(auxValue),
      Type(type),
      Flags(flags)
{
}

FLRSnapshotRecord_t::FLRSnapshotRecord_t(int32_t id_, int32_t consistencyPointId, const char* name,
                                         const char* snapVolumeName, const char* volumeGUID, int32_t type,
                                         std::string snapshotPath, int32_t auxValue)
    : id(id_),
      ConsistencyPointId(consistencyPointId),
      Name(YBTextFromWire(name)),
      SnapVolumeName(YBTextFromWire(snapVolumeName)),
      VolumeGUID(YBTextFromWire(volumeGUID)),
      Type(type),
      SnapshotPath(std::move(snapshotPath)),
      AuxValue(auxValue)
{
}

const char* FLRSnapshotRecord_t::getSnapStr() const
{
    switch (Type) {
    case 1:
        return "Pendrel";
    case 2:
        return "VSS";
    case 3:
        return "OS-Provided";
    case 4:
        return "OnTap";
    default:
        return "Unknown Snap Engine";
    }
}

FLRSnapMountPointRecord_t::FLRSnapMountPointRecord_t(int32_t id_, int32_t snapshotId, const char* mountPath)
    : id(id_), SnapshotId(snapshotId), MountPath(YBTextFromWire(mountPath))
{
}

FLRSnapNetworkShareRecord_t::FLRSnapNetworkShareRecord_t(int32_t id_, int32_t mountPointId, const char* netShareName)
    : id(id_), MountPointId(mountPointId), NetShareName(YBTextFromWire(netShareName))
{
}

FanInDetail_t::FanInDetail_t(std::string srcPath, std::string dstPath, int32_t srcClientId, int32_t repSetId,
                             std::string srcClientNetName, std::string repSetName, int32_t dstClientId)
    : SrcPath(std::move(srcPath)),
      DstPath(std::move(dstPath)),
      SrcClientId(srcClientId),
      RepSetId(repSetId),
      SrcClientNetName(std::move(srcClientNetName)),
      RepSetName(std::move(repSetName)),
      DstClientId(dstClientId)
{
}

int32_t CreateCPArgs_t::AddSnapshot(const FLRSnapshotRecord_t& snapshot)
{
    ++SnapCounter;
    Snapshots.push_back(snapshot);
    Snapshots.back().id = SnapCounter;
    return SnapCounter;
}

void CreateCPArgs_t::AddPair(int32_t index, const FLRSnapPairRecord_t& pair)
{
    Pairs.push_back(pair);
    Pairs.back().SnapshotId = index;
}

void CreateCPArgs_t::AddMount(int32_t index, const FLRSnapMountPointRecord_t& mountPoint)
{
    MountPoints.push_back(mountPoint);
    MountPoints.back().SnapshotId = index;
}

void FLRCPExpansion_t::clearLists()
{
    Snapshots.clear();
    Pairs.clear();
    PairPaths.clear();
    MountPoints.clear();
    Shares.clear();
}

bool IsThisExchangeApplication(int32_t appType) { return appType == 9 || appType == 15 || appType == 53; }
