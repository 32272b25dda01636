// Releasing collected FLR snapshots on their destination host: unshared,
// unmounted and destroyed through the client snapshot service or, on hosts
// that are not Windows hosts, the FLR client; the archive snapshots of
// archive points deleted through the media-management interface. Each item
// gets back what the host reports done.
#include <string>
#include <vector>

#include "host/EvDebug.h"
#include "host/ZXClient.h"
#include "host/clients/ZXFLRClientApi.h"
#include "host/clients/ZXSVCClientSession.h"
#include "host/db/DBtable.h"
#include "flr/FLRRecords.h"
#include "rows/Db/Proc/DhtGetOSType.h"
#include "service/RecordConversion.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"

namespace {

const char CleanupFn[] = "ReplicationMgr::FLRSnapCleanup()";

// The release whose hosts take the first item form.
const int kOldItemRelease = 11;

// Recovery point query values of the archive snapshot interfaces.
const long long kArchiveJobId = -123456;
const unsigned int kArchiveRetrieveValidFlags = 65;

// The operating system type of the host ("" when it has no row); false when
// the procedure fails.
bool HostOSType(ReplicationMgr& mgr, int32_t hostId, std::string& osType)
{
    DhtGetOSType os(nullptr);
    os.setValues(hostId);
    int rc = os.openCursor();
    const char* failed = "\tDhtGetOSType::openCursor to get the OS type of the destination machine failed";
    if (rc == 0 || rc == DB_NO_MORE_ROWS) {
        rc = os.fetchCursor(true);
        failed = "\tDhtGetOSType::fetchCursor to get the OS type of the destination machine failed";
    }
    if (rc != 0 && rc != DB_NO_MORE_ROWS) {
        mgr.log() << failed << "\n\tClient Id   = " << hostId;
        mgr.WriteLogMsg(ProgNameDeletes, CleanupFn, __LINE__, ReplicationMgr::ERR);
        return false;
    }
    osType = rc == 0 ? YBColumnText(os.getDataPtr()->o_dhtOSType) : std::string();
    os.closeCursor();
    return true;
}

// Deletes the archive snapshots of the item's point.
bool DeleteArchiveSnaps(ReplicationMgr& mgr, const FLRSnap_t& item, SMVolSnapInfo& query, ZXMMSnapAPI& archive,
                        ZXSnapClientAPI& snapClient)
{
    query.setJobId(kArchiveJobId);
    query.setRecoveryPointId(item.CP.id);
    query.setRetrieveValidFlags(kArchiveRetrieveValidFlags);
    query.setSnapJobId(static_cast<int>(item.CP.JobId));
    const char* entry = "\tDeleted archive snap for ";
    bool ok = true;
    if (!archive.getVolumeSnaps(query)) {
        entry = "\tFailed to fetch archive snaps information for";
        ok = false;
    } else if (!snapClient.deleteVolumeSnaps(query)) {
        entry = "\tFailed to delete archive snaps for";
        ok = false;
    }
    mgr.log() << entry << "\n\tCP ID   = " << item.CP.id;
    mgr.WriteLogMsg(ProgNameDeletes, CleanupFn, __LINE__, ReplicationMgr::ERR);
    return ok;
}

void LogItemResult(ReplicationMgr& mgr, const FLRSnap_t& item, const char* engine, const std::string& volumeLine)
{
    mgr.log() << "\t" << engine << " Snapshot [" << EvDebug::escaped(item.Snapshot.Name) << "]" << volumeLine << "\n\t"
              << ((item.Result & FLRSNAP_DESTROYED) != 0 ? "was deleted successfully" : "failed to be deleted");
    mgr.WriteLogMsg(ProgNameDeletes, CleanupFn, __LINE__, ReplicationMgr::MSG);
}

}  // namespace

bool ReplicationMgr::FLRSnapCleanup(FLRSnapCleanup_t& batch)
{
    if (batch.Snaps.empty()) return true;
    const int32_t hostId = batch.ClientId;

    std::string clientName;
    if (!GetClientName(hostId, clientName)) {
        m_LogMsg << "\tCould not get client name\n\tClient ID             = " << hostId;
        WriteLogMsg(ProgNameDeletes, CleanupFn, __LINE__, ERR);
        return false;
    }
    int release = 0;
    if (ZXClient(static_cast<unsigned long long>(static_cast<long long>(hostId))).getReleaseId(release) != 0) {
        m_LogMsg << "\tCould not get the release version of the destination machine\n\tClient Id   = " << hostId
                 << "\n\tClient Name = " << clientName;
        WriteLogMsg(ProgNameDeletes, CleanupFn, __LINE__, ERR);
        return false;
    }
    const bool oldItems = release == kOldItemRelease;

    ZXSVCClientSession session(clientName, hostId, nullptr, nullptr);
    std::vector<ZXSVCClientSnap_t> items;
    std::vector<ZXSVCClientSnapV2_t> itemsV2;
    std::vector<std::string> names;
    std::vector<FLRSnap_t*> sent;  // the batch item behind each client item
    bool nonWindows = false;
    SMVolSnapInfo query;
    ZXMMSnapAPI archive(1);
    ZXSnapClientAPI snapClient;

    for (FLRSnap_t& item : batch.Snaps) {
        const bool isArchive = item.CP.IsCPArchiveSnap();
        m_LogMsg << "\tCP Flag check\n\tCP ID   = " << item.CP.id << "\n\tCP Flag   = " << item.CP.Flags
                 << (isArchive ? 1 : 0);
        WriteLogMsg(ProgNameDeletes, CleanupFn, __LINE__, ERR);
        if (isArchive) {
            if (!DeleteArchiveSnaps(*this, item, query, archive, snapClient)) return false;
            continue;
        }
        const FLRSnapshotRecord_t& snap = item.Snapshot;
        if (oldItems) {
            items.emplace_back(snap.Name, snap.VolumeGUID, item.MountPoint.MountPath, item.Share.NetShareName, 0);
            sent.push_back(&item);
            continue;
        }
        std::string osType;
        if (!HostOSType(*this, hostId, osType)) return false;
        if (osType == "Windows") {
            itemsV2.emplace_back(snap.Name, snap.VolumeGUID, item.MountPoint.MountPath, item.Share.NetShareName,
                                 snap.SnapshotPath, snap.Type, static_cast<int32_t>(item.CP.FLRSetId), 0);
            sent.push_back(&item);
        } else {
            names.push_back(snap.Name);
            nonWindows = true;
        }
    }

    bool accepted = true;
    if (oldItems)
        accepted = session.FLRSnapCleanup(items);
    else if (!nonWindows)
        accepted = itemsV2.empty() || session.FLRSnapCleanup(itemsV2);
    else
        accepted = ZXFLRClientApi(clientName, hostId, nullptr).FLRDelSnaps(names) == 0;
    if (!accepted) {
        m_LogMsg << "\tZXSVCClientSession::FLRSnapCleanup() failed\n\tInput:\n\tClientName      = " << clientName
                 << "\n\tClient ID       = " << hostId;
        WriteLogMsg(ProgNameDeletes, CleanupFn, __LINE__, ERR);
        return false;
    }

    if (!nonWindows) {
        // Items of archive points sent nothing and keep their bits.
        for (size_t i = 0; i < sent.size(); ++i)
            sent[i]->Result = oldItems ? items[i].m_nResult : itemsV2[i].m_nSetIdResult;
        for (FLRSnap_t& item : batch.Snaps)
            LogItemResult(*this, item, oldItems || itemsV2.empty() ? "Pendrel" : item.Snapshot.getSnapStr(),
                          "\n\t volume [" + EvDebug::escaped(item.Snapshot.VolumeGUID) + "]");
        return true;
    }
    // The FLR client leaves in the list the names it could not destroy; it
    // reports nothing of shares and mounts.
    for (FLRSnap_t& item : batch.Snaps) {
        item.Result = FLRSNAP_DESTROYED;
        for (const std::string& left : names)
            if (left == item.Snapshot.Name) {
                item.Result = 0;
                break;
            }
        LogItemResult(*this, item, item.Snapshot.getSnapStr(),
                      "\n\tVolume [" + EvDebug::escaped(item.Snapshot.SnapVolumeName) + "]");
    }
    return true;
}
