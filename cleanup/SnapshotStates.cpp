// The snapshot state queries: the snapshots mounted on a client, whether a
// device is a VSS snapshot, and the volumes a client protects through the
// block filter driver; with the request handlers of the first two.
#include "cleanup/SnapshotStates.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cleanup/CleanupCases.h"
#include "host/ClientProperties.h"
#include "host/EvDebug.h"
#include "host/ZXClient.h"
#include "host/db/DBtable.h"
#include "host/db/ReplicaTables.h"
#include "host/db/SNRTables.h"
#include "replicas/ReplicaRecords.h"
#include "rows/Db/Cursor/YBGetVolumesUsingBlkFilterDriver.h"
#include "rows/Db/Cursor/YBQueryMountedFLRSnapsByClientId.h"
#include "rows/Db/Cursor/YBQueryMountedSnapsByClientId.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/HeldRows.h"
#include "service/RecordConversion.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"
#include "service/TableLock.h"
#include "service/Utils.h"

namespace {

using steps::Fail;
using steps::HeldRows;

// Clients of releases up to this one run the snapshot agent only where its
// package is installed.
constexpr int LastReleaseWithOptionalAgent = 12;
constexpr int AgentPackageId = 1007;

// The snap engine of VSS snapshots.
constexpr int VSSSnapEngineType = 2;

// Reads every row of an opened cursor into the list, each row made a record
// by `record`. The fetch code that ended it: DB_NO_MORE_ROWS when all were read.
template <typename Cursor, typename Record>
int ReadMountedSnaps(Cursor& cursor, std::vector<PendrelMountRecord_t>& list, Record record)
{
    int count = 0;
    int rc;
    while ((rc = getNextRow(&cursor, &count, -1, 0)) == DB_ROW_OK) list.push_back(record(*cursor.getDataPtr()));
    return rc;
}

// A column text without its trailing blanks; a text of blanks only keeps its first.
template <size_t N>
std::string WithoutTrailingBlanks(const char (&column)[N])
{
    std::string text = YBColumnText(column);
    const size_t last = text.find_last_not_of(' ');
    text.resize(last == std::string::npos ? std::min<size_t>(text.size(), 1) : last + 1);
    return text;
}

}  // namespace

int ReplicationMgr::YBgetSnapTypeForRemount(int type, bool isVolumeSnapshot)
{
    if (isVolumeSnapshot || type == 1) return 1;
    if (type == 2) return 2;
    if (type == 4) return 3;
    return 0;
}

bool ReplicationMgr::QueryMountedSnaps(const QueryMountedSnapsByClientNameArgs_t& args,
                                       QueryMountedSnapsByClientNameRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::QueryMountedSnaps()";
    ret.Snaps.clear();
    const std::string& name = args.ClientName;
    if (name.empty())
        return Fail(*this, ret, kErrMissingInput, "Host name is missing", "", ProgNameQueries, Fn, __LINE__);

    ZXClient client(name, true, nullptr);
    int code = client.lookup(nullptr);
    if (code != 0)
        return Fail(*this, ret, kErrLookupFailed, "Could not find host information in the DB",
                    "\n\tClient Name  = " + EvDebug::escaped(name) + "\n\tApp Mgr Code = " + std::to_string(code),
                    ProgNameQueries, Fn, __LINE__);
    int clientId = 0;
    code = client.getClientId(clientId, nullptr);
    if (code != 0)
        return Fail(*this, ret, kErrLookupFailed, "Could not find host's id in the DB",
                    "\n\tClient Name  = " + EvDebug::escaped(name) + "\n\tApp Mgr Code = " + std::to_string(code),
                    ProgNameQueries, Fn, __LINE__);

    // A release that cannot be read is taken for an old one: the agent's
    // installation then decides.
    int release = 0;
    if (client.getReleaseId(release, nullptr) != 0) release = 0;
    if (release <= LastReleaseWithOptionalAgent) {
        bool installed = false;
        code = ClientProperties(clientId).isInstalled(AgentPackageId, installed, nullptr);
        if (code != 0)
            return Fail(*this, ret, kErrLookupFailed, "Could not check if Pendrel is installed in the host",
                        "\n\tClient Name  = " + EvDebug::escaped(name) + "\n\tClient Id    = " +
                            std::to_string(clientId) + "\n\tApp Mgr Code = " + std::to_string(code),
                        ProgNameQueries, Fn, __LINE__);
        if (!installed) {
            log() << "\tEvent: Pendrel is not installed" << "\n\tClient Id   = " << clientId
                  << "\n\tClient Name = " << EvDebug::escaped(name);
            WriteLogMsg(ProgNameQueries, Fn, __LINE__, INFO);
            ret.errMsg.clear();
            return true;
        }
    }

    // A failed read leaves no snapshot in the result.
    auto readFailed = [&](const char* text, const char* cursor, int rc, long line) {
        ret.Snaps.clear();
        return Fail(*this, ret, kErrDatabase, text,
                    "\n\tgetNextRow(" + std::string(cursor) + " &) failed\n\tClient Id : " + std::to_string(clientId) +
                        "\n\tDB Err Code = " + std::to_string(rc),
                    ProgNameQueries, Fn, line);
    };
    YBQueryMountedSnapsByClientId volumes(tran);
    volumes.setValues(clientId);
    int rc = ReadMountedSnaps(volumes, ret.Snaps, [](const YBQueryMountedSnapsByClientId_t& row) {
        return PendrelMountRecord_t(MOUNTED_VOLUME_SNAPSHOT, row.MountPointId, YBColumnText(row.SrcDevName),
                                    YBColumnText(row.SnapName), YBColumnText(row.MountPath), "", -1,
                                    YBgetSnapTypeForRemount(row.Type, true));
    });
    if (rc != DB_NO_MORE_ROWS)
        return readFailed("Could not get mounted MVS snapshots", "YBQueryMountedSnapsByClientId", rc, __LINE__);

    YBQueryMountedFLRSnapsByClientId flrSnaps(tran);
    flrSnaps.setValues(clientId);
    rc = ReadMountedSnaps(flrSnaps, ret.Snaps, [](const YBQueryMountedFLRSnapsByClientId_t& row) {
        const bool shared = row.NetShareId != -1;
        return PendrelMountRecord_t(MOUNTED_FLR_SNAPSHOT, row.MountPointId, YBColumnText(row.SrcDevName),
                                    YBColumnText(row.SnapName), YBColumnText(row.MountPath),
                                    shared ? YBColumnText(row.NetShareName) : std::string(), row.NetShareId,
                                    YBgetSnapTypeForRemount(row.Type, false));
    });
    if (rc != DB_NO_MORE_ROWS)
        return readFailed("Could not get mounted FLR snapshots", "YBQueryMountedFLRSnapsByClientId", rc, __LINE__);
    ret.errMsg.clear();
    return true;
}

bool ReplicationMgr::IsDevVSSSnap(const IsDevVSSSnapArgs_t& args, IsDevVSSSnapRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::IsDevVSSSnap()";
    ret.SourceVolumeGUID.clear();
    ret.ShadowSetId.clear();
    const int deviceId = args.DeviceId;
    if (deviceId <= 0) return Fail(*this, ret, kErrInvalidId, "Invalid Device id", "", ProgNameQueries, Fn, __LINE__);

    // A device that does not exist is no snapshot.
    CSNRVolumeDeviceNameDB devices;
    YBPhysicalDevice_t device;
    if (!devices.getInfo(deviceId, device, tran)) {
        if (devices.getErrorCode() == DB_NO_MORE_ROWS) {
            ret.errMsg.clear();
            return true;
        }
        return Fail(*this, ret, kErrDatabase, "Failure detected when checkin the status of physical device",
                    "\n\tCSNRVolumeDeviceNameDB::getInfo() failed\n\tDevice Id   = " + std::to_string(deviceId) +
                        "\n\tDB Err Code = " + std::to_string(devices.getErrorCode()),
                    ProgNameQueries, Fn, __LINE__);
    }

    const std::string where = "CurrentRole = " + std::to_string(YBVOL_ROLE_SNAPSHOT) +
                              " AND PhysicalVolumeId = " + std::to_string(device.SNRVolumeId);
    CReplicationVolumeDB replicas;
    HeldRows<YBVolume_t> snapshots(replicas);
    if (!replicas.getList(snapshots.rows, snapshots.count, where.c_str(), "", tran))
        return Fail(*this, ret, kErrDatabase, "Failure detected when checking snapshot information (if any)",
                    "\n\tCReplicationVolumeDB::getList() failed\n\tsWhere      = " + where +
                        "\n\tDB Err Code = " + std::to_string(replicas.getErrorCode()),
                    ProgNameQueries, Fn, __LINE__);
    if (snapshots.count > 1)
        return Fail(*this, ret, kErrNotUnique, "Multiple entries found in the DB for the same snapshot",
                    "\n\tCReplicationVolumeDB::getList() failed\n\tsWhere      = " + where +
                        "\n\tNRows       = " + std::to_string(snapshots.count),
                    ProgNameQueries, Fn, __LINE__);
    if (snapshots.count == 0 || snapshots.rows[0].SnapEngineType != VSSSnapEngineType) {
        ret.errMsg.clear();
        return true;
    }
    const std::string sourceGUID = YBColumnText(snapshots.rows[0].SourceGUID);

    CSNRVolumeDB volumes;
    YBPhysicalVolume_t volume;
    if (!volumes.getInfo(device.SNRVolumeId, volume, tran))
        return Fail(*this, ret, kErrDatabase, "Cannot obtain the shadow set id of the snapshot",
                    "\n\tCSNRVolumeDB::getInfo() failed\n\tId          = " + std::to_string(device.SNRVolumeId) +
                        "\n\tDB Err Code = " + std::to_string(volumes.getErrorCode()),
                    ProgNameQueries, Fn, __LINE__);

    // The shadow set id ends the unique snapshot id, after its last ':'. An
    // id that ends in ':' names none: answering it would report a VSS
    // snapshot without its shadow set.
    const std::string uniqueSnapshotId = YBColumnText(volume.UniqueSnapshotID);
    const size_t colon = uniqueSnapshotId.rfind(':');
    if (colon == std::string::npos || colon + 1 == uniqueSnapshotId.size())
        return Fail(*this, ret, kErrShadowSetFormat, "Shadow set id format is unknown",
                    "\n\tShadow set id = " + EvDebug::escaped(uniqueSnapshotId), ProgNameQueries, Fn, __LINE__);
    ret.ShadowSetId = uniqueSnapshotId.substr(colon + 1);
    ret.SourceVolumeGUID = sourceGUID;
    ret.errMsg.clear();
    return true;
}

bool ReplicationMgr::GetVolumesUsingTheBlockFilterDriver(const GetVolumesUsingTheBlockFilterDriverArgs_t& args,
                                                         GetVolumesUsingTheBlockFilterDriverRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::GetVolumesUsingTheBlockFilterDriver()";
    ret.Volumes.clear();
    // The cursor fills a temporary table of the connection: one reader at a time.
    LockTableRet_t lock;
    if (!LockTable(LockTableArgs_t(BLK_FILTER_QUERY_LOCK), lock)) {
        ret.errMsg = lock.m_sErrorMsg;
        ret.errCode = lock.m_nErrorCode;
        return false;
    }
    HeldTableLock held(*this, lock);

    const int clientId = args.ClientId;
    if (clientId < 0)
        return Fail(*this, ret, kErrInvalidId, "Invalid Client id",
                    "\n\tParameters used:\n\tClient Id = " + std::to_string(clientId), ProgNameQueries, Fn, __LINE__);

    YBGetVolumesUsingBlkFilterDriver volumes(tran);
    volumes.setValues(clientId);
    int count = 0;
    int rc;
    while ((rc = getNextRow(&volumes, &count, -1, 0)) == DB_ROW_OK)
        ret.Volumes.push_back(WithoutTrailingBlanks(volumes.getDataPtr()->Volume));
    if (rc != DB_NO_MORE_ROWS) {
        ret.Volumes.clear();
        return Fail(*this, ret, kErrDatabase,
                    "Cannot get the list of volumes used for the block filter from the database",
                    "\n\tgetNextRow(YBGetVolumesUsingBlkFilterDriver &) failed\n\tDB Err Code = " + std::to_string(rc),
                    ProgNameQueries, Fn, __LINE__);
    }

    for (const std::string& volume : ret.Volumes) {
        log() << "\tVolume Content: " << EvDebug::escaped(volume);
        WriteLogMsg(ProgNameQueries, Fn, __LINE__, INFO);
    }
    ret.errMsg.clear();
    return true;
}

// ---- Request handlers --------------------------------------------------------------

namespace {

// The mounted-snapshot reply in the version of its request: 0x350001fb
// selects version 1, any other code version 70. The entries are freed when
// the wrapper goes away, after the send.
class MountSnapMsgWrapper_t {
public:
    MountSnapMsgWrapper_t(unsigned long requestCode, const repQueryMountedSnapsReq& request)
        : m_version70(requestCode != 0x350001fb), m_request(request)
    {
        std::memset(static_cast<void*>(&m_reply), 0, sizeof m_reply);
    }
    ~MountSnapMsgWrapper_t() { free(m_snaps); }
    MountSnapMsgWrapper_t(const MountSnapMsgWrapper_t&) = delete;
    MountSnapMsgWrapper_t& operator=(const MountSnapMsgWrapper_t&) = delete;

    std::string getClientName() const { return YBTextFromWire(m_request.ClientName); }
    repQueryMountedSnapsResp& reply() { return m_reply; }

    // Zeroed room for n entries as the reply's array; none for 0. False when
    // it cannot be allocated.
    bool allocateSnapsMemory(size_t n)
    {
        if (n == 0) return true;
        m_snaps = static_cast<repMountedSnapRec*>(AllocReplyArray(sizeof(repMountedSnapRec) * n));
        if (m_snaps == nullptr) return false;
        std::memset(static_cast<void*>(m_snaps), 0, sizeof(repMountedSnapRec) * n);
        m_reply.snaps = m_snaps;
        m_reply.count = static_cast<uint32_t>(n);
        return true;
    }

    // The entry's texts point into the record.
    void setSnap(const PendrelMountRecord_t& record, size_t index)
    {
        repMountedSnapRec& entry = m_snaps[index];
        const bool known = record.Kind == MOUNTED_VOLUME_SNAPSHOT || record.Kind == MOUNTED_FLR_SNAPSHOT;
        entry.Kind = known ? record.Kind : 0;
        entry.MountPointId = record.MountPointId;
        entry.SrcDevName = YBWireText(record.SrcDevName);
        entry.SnapName = YBWireText(record.SnapName);
        entry.MountPath = YBWireText(record.MountPath);
        entry.NetShareName = YBWireText(record.NetShareName);
        entry.NetShareId = record.NetShareId;
        if (m_version70) entry.RemountSnapType = record.RemountSnapType;
    }

private:
    bool m_version70;
    const repQueryMountedSnapsReq& m_request;
    repQueryMountedSnapsResp m_reply;
    repMountedSnapRec* m_snaps = nullptr;
};

}  // namespace

void ReplicationMgr::QueryMountedSnapsHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    MountSnapMsgWrapper_t wrapper(requestCode, cases::RequestOf<repQueryMountedSnapsReq>(buf));
    QueryMountedSnapsByClientNameArgs_t args;
    args.ClientName = wrapper.getClientName();
    QueryMountedSnapsByClientNameRet_t ret;
    RunRequestHandler(
        *this, "ReplicationMgr::QueryMountedSnapsHandler()", requestCode, replyCode, false, wrapper.reply(),
        cases::StatusOf<repQueryMountedSnapsResp>(), ret, [&](DBtran*) { return QueryMountedSnaps(args, ret, nullptr); },
        [&](repQueryMountedSnapsResp&) {
            if (!wrapper.allocateSnapsMemory(ret.Snaps.size())) return false;
            for (size_t i = 0; i < ret.Snaps.size(); ++i) wrapper.setSnap(ret.Snaps[i], i);
            return true;
        });
}

void ReplicationMgr::IsDevVSSSnapHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    IsDevVSSSnapArgs_t args;
    args.DeviceId = cases::RequestOf<repIsDevVSSSnapReq>(buf).DeviceId;
    IsDevVSSSnapRet_t ret;
    AnswerByHandler<repIsDevVSSSnapResp>(
        *this, "ReplicationMgr::IsDevVSSSnapHandler()", requestCode, replyCode, true, ret,
        [&](DBtran* tran) { return IsDevVSSSnap(args, ret, tran); },
        [&](repIsDevVSSSnapResp& r) {
            r.SourceVolumeGUID = YBWireText(ret.SourceVolumeGUID);
            r.ShadowSetId = YBWireText(ret.ShadowSetId);
        });
}

const ServedCase QueryMountedSnapsCase = cases::Serve<repQueryMountedSnapsReq, repQueryMountedSnapsResp>(
    &cases::HandlerCase<&ReplicationMgr::QueryMountedSnapsHandler>);
const ServedCase IsDevVSSSnapCase =
    cases::Serve<repIsDevVSSSnapReq, repIsDevVSSSnapResp>(&cases::HandlerCase<&ReplicationMgr::IsDevVSSSnapHandler>);
