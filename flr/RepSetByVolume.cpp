// Which replication set already holds each of the destination volumes a set
// is being given: the volumes' GUIDs from the client service on the set's
// destination host, and the set and host of each volume's oldest snapshot;
// with its request case.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "host/BackupSet.h"
#include "host/EvDebug.h"
#include "host/ZXClient.h"
#include "host/clients/ZXSVCClientSession.h"
#include "host/db/DBtable.h"
#include "host/db/FLRTables.h"
#include "host/db/SqlText.h"
#include "flr/FLRCases.h"
#include "flr/FLRQueryMessages.h"
#include "service/ErrorCodes.h"
#include "service/RecordConversion.h"
#include "service/HeldRows.h"
#include "service/Refusals.h"
#include "service/SourceNames.h"

using steps::Fail;

namespace {

// Operating systems whose client service maps volume paths to GUIDs.
const int kGUIDOperatingSystems[] = {2,  3,  21, 24, 27, 34,  35,  39,  46,  48,  62,  63,  64,
                                     65, 66, 67, 93, 94, 200, 208, 209, 210, 211, 212, 213};

bool MapsPathsToGUIDs(int osId)
{
    return std::find(std::begin(kGUIDOperatingSystems), std::end(kGUIDOperatingSystems), osId) !=
           std::end(kGUIDOperatingSystems);
}

}  // namespace

bool ReplicationMgr::FindVolumeGUID(YBFindGUIDReq_t& request)
{
    static const char Fn[] = "ReplicationMgr::FindVolumeGUID()";
    if (request.Paths.empty()) return true;

    std::string clientName;
    if (!GetClientName(request.HostClientId, clientName)) {
        m_LogMsg << "\tCould not get client name\n\tClient ID             = " << request.HostClientId;
        WriteLogMsg(ProgNameQueries, Fn, __LINE__, ERR);
        return false;
    }

    std::vector<std::string> paths;
    for (const YBGUIDFromPath_t& entry : request.Paths) paths.push_back(entry.Path);
    ZXSVCClientSession session(clientName, request.HostClientId, nullptr, nullptr);
    std::vector<std::string> guids;
    if (!session.FindVolumeGUID(paths, guids)) {
        m_LogMsg << "\tZXSVCClientSession::FindVolumeGUID() failed\n\tInput:\n\tClientName      = "
                 << EvDebug::escaped(clientName) << "\n\tClient ID       = " << request.HostClientId;
        WriteLogMsg(ProgNameQueries, Fn, __LINE__, ERR);
        return false;
    }
    // As many as the client gave, and no more than were asked for.
    for (size_t i = 0; i < guids.size() && i < request.Paths.size(); ++i) request.Paths[i].GUID = guids[i];
    return true;
}

bool ReplicationMgr::FindRepSetByVolume(const FindRepSetByVolumeArgs_t& args, FindRepSetByVolumeRet_t& ret,
                                        DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::FindRepSetByVolume()";
    const int32_t excluded = args.ExcludedRepSetId;
    ret.Volumes.clear();
    if (args.VolumePaths.empty()) {
        ret.errMsg = "";
        return true;
    }
    if (excluded < 1)
        return Fail(*this, ret, kErrInvalidId,
                    "Cannot find the possible replication sets using the destination volumes",
                    "\n\tExcluded Replication Set Id is invalid [" + std::to_string(excluded) + "]", ProgNameQueries,
                    Fn, __LINE__);

    int hostId = 0;
    int status = FileReplicationBackupSet(excluded).getDestinationHostId(hostId, tran);
    if (status != 0)
        return Fail(*this, ret, kErrLookupFailed,
                    "Failed to find the volume's replication set. Failed to find the replication set destination host",
                    "\n\tFileReplicationBackupSet::getDestinationHostId() failed\n\tExcluded Replication Set Id = " +
                        std::to_string(excluded) + "\n\tApp Mgr Ret Code   = " + std::to_string(status),
                    ProgNameQueries, Fn, __LINE__);

    YBFindGUIDReq_t request;
    request.HostClientId = hostId;
    for (const std::string& path : args.VolumePaths) request.Paths.emplace_back(path);

    ZXClient host(static_cast<unsigned long long>(static_cast<long long>(hostId)));
    const std::string hostLine = ", client id: " + std::to_string(hostId);
    if (host.lookup() != 0)
        return steps::Refuse(*this, ret, kErrLookupFailed, "Failed to lookup client.",
                             "Event: Failed to lookup client." + hostLine, ProgNameQueries, Fn, __LINE__);
    int osId = 0;
    if (host.getOperatingSystemId(osId) != 0)
        return steps::Refuse(*this, ret, kErrLookupFailed, "Failed to get client OS id.",
                             "Event: Failed to get client OS id." + hostLine, ProgNameQueries, Fn, __LINE__);
    // Other hosts give no GUIDs.
    if (MapsPathsToGUIDs(osId) && !FindVolumeGUID(request))
        return Fail(*this, ret, kErrClientOperation, "Cannot find the volume's GUID",
                    "\n\tFindVolumeGUID failed()\n\tHost Id = " + std::to_string(hostId), ProgNameQueries, Fn,
                    __LINE__);

    for (const YBGUIDFromPath_t& entry : request.Paths) {
        RepSetVolume_t volume;
        volume.VolumePath = entry.Path;
        // A volume without a GUID is none the catalogue knows.
        if (entry.GUID.empty()) {
            m_LogMsg << "\tEvent: No GUID for the volume\n\tVolume = " << EvDebug::escaped(entry.Path);
            WriteLogMsg(ProgNameQueries, Fn, __LINE__, INFO);
            ret.Volumes.push_back(volume);
            continue;
        }

        FLRSnapshotDB snapDB;
        steps::HeldRows<YBFLRSnapshot_t> snaps(snapDB);
        const std::string where = "VolumeGUID = '" + SqlEscape(entry.GUID) + "'";
        if (!snapDB.getList(snaps.rows, snaps.count, where.c_str(), "CreationTime ASC", tran))
            return Fail(*this, ret, kErrDatabase, "Cannot check if the destination volume has snapshots. DB Err Code",
                        "\n\tFLRSnapshotDB::getList() failed\n\tsWhere = " + EvDebug::escaped(where) +
                            "\n\tDB Err Code = " + std::to_string(snapDB.getErrorCode()),
                        ProgNameQueries, Fn, __LINE__);
        if (snaps.count == 0) {
            ret.Volumes.push_back(volume);
            continue;
        }

        // The point of the volume's oldest snapshot.
        const int32_t cpId = snaps.rows[0].ConsistencyPointId;
        FLRConsistencyPointDB cpDB;
        YBFLRConsistencyPoint_t cp;
        if (!cpDB.getInfo(cpId, cp, tran))
            return Fail(
                *this, ret, kErrDatabase, "Cannot check the consistency point of the destination volume. DB Err Code",
                "\n\tFLRConsistencyPointDB::getInfo() failed\n\tConsistency Point Id = " + std::to_string(cpId) +
                    "\n\tDB Err Code = " + std::to_string(cpDB.getErrorCode()),
                ProgNameQueries, Fn, __LINE__);
        if (cp.FLRSetId != excluded) {
            volume.RepSetId = cp.FLRSetId;
            volume.DstClientId = cp.ClientId;
            const std::string setLine = "\n\tReplication Set Id = " + std::to_string(volume.RepSetId);
            status = FileReplicationBackupSet(volume.RepSetId).getBackupSetName(volume.RepSetName, tran);
            if (status != 0)
                return Fail(*this, ret, kErrLookupFailed, "Failed to find the snapshot's replication set",
                            "\n\tFileReplicationBackupSet::getBackupSetName() failed" + setLine +
                                "\n\tApp Mgr Ret Code   = " + std::to_string(status),
                            ProgNameQueries, Fn, __LINE__);
            ZXClient dst(static_cast<unsigned long long>(static_cast<long long>(volume.DstClientId)));
            status = dst.getName(volume.DstHostName, tran);
            if (status != 0)
                return Fail(*this, ret, kErrLookupFailed, "Failed to find the snapshot's host name",
                            "\n\tZXClient::getName() failed" + setLine +
                                "\n\tClient Id          = " + std::to_string(volume.DstClientId) +
                                "\n\tApp Mgr Ret Code   = " + std::to_string(status),
                            ProgNameQueries, Fn, __LINE__);
        }
        ret.Volumes.push_back(volume);
    }
    ret.errMsg = "";
    return true;
}

// ---- Request case ------------------------------------------------------------------

namespace {

void YBSet(repRepSetVolumeRec& dst, const RepSetVolume_t& src)
{
    dst.VolumePath = YBWireText(src.VolumePath);
    dst.RepSetName = YBWireText(src.RepSetName);
    dst.DstHostName = YBWireText(src.DstHostName);
    dst.DstClientId = src.DstClientId;
    dst.RepSetId = src.RepSetId;
}

// The records of the paths, one per path in request order; the array is
// allocated before the operation runs.
void ServeFindRepSetByVolume(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    const auto& request = cases::RequestOf<repFindRepSetByVolumeReq>(buf);
    FindRepSetByVolumeArgs_t args;
    FindRepSetByVolumeRet_t ret;
    args.ExcludedRepSetId = request.ExcludedRepSetId;
    // An array that is not there holds nothing, whatever its count.
    for (uint32_t i = 0; request.VolumePaths != nullptr && i < request.count; ++i)
        args.VolumePaths.push_back(YBTextFromWire(request.VolumePaths[i]));

    AutoFreeMem_t owner;  // freed after the send
    repRepSetVolumeRec* records = nullptr;
    AnswerInlineCase<repFindRepSetByVolumeResp>(
        mgr, code, ret, cases::Message::PointIntoResult,
        [&]() {
            const size_t count = args.VolumePaths.size();
            if (count > 0) {
                records = static_cast<repRepSetVolumeRec*>(AllocReplyArray(count * sizeof(repRepSetVolumeRec)));
                if (records == nullptr) {
                    ret.errCode = kErrNoMemory;
                    ret.errMsg = NoMemoryErrMsg;
                    return false;
                }
                owner = records;
                std::memset(static_cast<void*>(records), 0, count * sizeof(repRepSetVolumeRec));
            }
            return mgr.FindRepSetByVolume(args, ret, nullptr);
        },
        [&](repFindRepSetByVolumeResp& r) {
            const size_t count = std::min(ret.Volumes.size(), args.VolumePaths.size());
            for (size_t i = 0; i < count; ++i) YBSet(records[i], ret.Volumes[i]);
            r.Volumes = count > 0 ? records : nullptr;
            r.count = static_cast<uint32_t>(count);
        });
}

}  // namespace

const ServedCase FindRepSetByVolumeCase =
    cases::Serve<repFindRepSetByVolumeReq, repFindRepSetByVolumeResp>(&ServeFindRepSetByVolume);
