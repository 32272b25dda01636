// Lists for other components: the subclient volume ids, the volume explorer
// hosts and the copy manager controllers, each read by one cursor without a
// transaction, with the inline request cases that serve them.
#include "files/ComponentLists.h"

#include <cstring>
#include <string>

#include "files/AppViewCases.h"
#include "files/AppViewSteps.h"
#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "rows/Db/Cursor/YBGetCopyMgrCtrls.h"
#include "rows/Db/Cursor/YBGetSubclientVolumes.h"
#include "rows/Db/Cursor/YBGetVEHosts.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/RecordConversion.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/ReplyArray.h"
#include "service/SourceNames.h"
#include "service/Sync.h"
#include "service/Utils.h"

void YBSet(repVEHostRec& dst, const VEHostRecord_t& src)
{
    dst.ClientId = static_cast<uint32_t>(src.ClientId);
    dst.NetworkHostName = const_cast<char*>(src.NetworkHostName.c_str());
    dst.Flag = static_cast<uint32_t>(YBWireBool(src.Flag));
}

void YBSet(repYBCopyMgrCtrlRec& dst, const YBCopyMgrCtrlRecord_t& src)
{
    dst.CMCId = static_cast<uint32_t>(src.CMCId);
    dst.CMName = YBWireText(src.CMName);
    dst.CMType = static_cast<uint32_t>(src.CMType);
    dst.MAId = static_cast<uint32_t>(src.MAId);
    dst.ClientId = static_cast<uint32_t>(src.ClientId);
    dst.NetHostName = YBWireText(src.NetHostName);
    dst.OSId = static_cast<uint32_t>(src.OSId);
    dst.OSName = YBWireText(src.OSName);
    dst.Reserved = 0;
}

template bool CopyVectorToMsg(repVEHostRec**, const std::vector<VEHostRecord_t>&);
template bool CopyVectorToMsg(repYBCopyMgrCtrlRec**, const std::vector<YBCopyMgrCtrlRecord_t>&);

namespace {

// Runs the list's cursor and hands each row to onRow, which appends to the
// list. A failed fetch empties the list and refuses with -4 and the text.
template <typename Cursor, typename Ret, typename List, typename OnRow>
bool ReadCursorList(ReplicationMgr& mgr, Ret& ret, List& list, const char* text, const char* cursorName,
                    const char* function, DBtran* tran, OnRow&& onRow)
{
    list.clear();
    Cursor cursor(tran);
    cursor.setValues();
    int state = 0;
    int rc;
    while ((rc = getNextRow(&cursor, &state, -1, 0)) == DB_ROW_OK) onRow(*cursor.getDataPtr());
    if (rc != DB_NO_MORE_ROWS) {
        list.clear();
        return steps::Fail(
            mgr, ret, kErrDatabase, text,
            std::string("\n\tgetNextRow(") + cursorName + " &) failed\n\tDB Err Code = " + std::to_string(rc),
            ProgNameQueries, function, __LINE__);
    }
    ret.errMsg = "";
    return true;
}

}  // namespace

bool ReplicationMgr::GetSubclientVolumesList(GetYBSubclientVolumesListRet_t& ret, DBtran* tran)
{
    return GetSubclientVolumesListDB(ret, tran);
}

bool ReplicationMgr::GetSubclientVolumesListDB(GetYBSubclientVolumesListRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::GetSubclientVolumesListDB()";
    return ReadCursorList<YBGetSubclientVolumes>(
        *this, ret, ret.volumeIds, "Cannot get the list of volumes associated to the YB subclients from the database",
        "YBGetSubclientVolumes", Fn, tran, [&](const YBGetSubclientVolumes_t& row) {
            m_LogMsg << "\tSubclient volume id " << row.VolumeId << " found";
            WriteLogMsg(ProgNameQueries, Fn, __LINE__, INFO);
            ret.volumeIds.push_back(row.VolumeId);
        });
}

bool ReplicationMgr::GetVEHosts(GetVEHostsRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::GetVEHosts()";
    // The cursor fills a temporary table of its own: one list at a time.
    static ZxCriticalSection GetVEHostCS;
    ZxCriticalSectionLock held(&GetVEHostCS);

    return ReadCursorList<YBGetVEHosts>(
        *this, ret, ret.hosts, "Cannot get the list of Volume Explore's hosts from the database", "YBGetVEHosts", Fn,
        tran, [&](const YBGetVEHosts_t& row) {
            std::string hostName = YBColumnText(row.ClientNetworkHostName);
            m_LogMsg << "\tVE Hosts  " << EvDebug::escaped(hostName) << " found";
            WriteLogMsg(ProgNameQueries, Fn, __LINE__, INFO);
            ret.hosts.emplace_back(row.ClientId, std::move(hostName), false);
        });
}

bool ReplicationMgr::GetCopyMgrs(GetYBCopyMgrCtrlsRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::GetCopyMgrs()";
    return ReadCursorList<YBGetCopyMgrCtrls>(
        *this, ret, ret.controllers, "Cannot get the list of copy managers from the database", "YBGetCopyMgrCtrls", Fn,
        tran, [&](const YBGetCopyMgrCtrls_t& row) {
            YBCopyMgrCtrlRecord_t record;
            record.CMCId = row.CMCId;
            record.CMName = YBColumnText(row.CMName);
            record.CMType = row.CMType;
            record.MAId = row.MAId;
            record.ClientId = row.ClientId;
            record.NetHostName = YBColumnText(row.NetHostName);
            record.OSId = row.OSId;
            record.OSName = YBColumnText(row.OSName);
            ret.controllers.push_back(record);
        });
}

// ---- Inline request cases ---------------------------------------------------

namespace {

void ServeGetSubclientVolumesList(ReplicationMgr& mgr, unsigned long code, zxsDatabuf*)
{
    GetYBSubclientVolumesListRet_t ret;
    steps::AnswerListInline(mgr, code, ret, ret.volumeIds, &repGetSubclientVolumesListResp::array,
                            [&]() { return mgr.GetSubclientVolumesList(ret, nullptr); });
}

void ServeGetVEHosts(ReplicationMgr& mgr, unsigned long code, zxsDatabuf*)
{
    GetVEHostsRet_t ret;
    steps::AnswerListInline(mgr, code, ret, ret.hosts, &repGetVEHostsResp::array,
                            [&]() { return mgr.GetVEHosts(ret, nullptr); });
}

void ServeGetCopyMgrs(ReplicationMgr& mgr, unsigned long code, zxsDatabuf*)
{
    GetYBCopyMgrCtrlsRet_t ret;
    steps::AnswerListInline(mgr, code, ret, ret.controllers, &repGetCopyMgrCtrlsResp::array,
                            [&]() { return mgr.GetCopyMgrs(ret, nullptr); });
}

}  // namespace

const ServedCase GetSubclientVolumesListCase =
    cases::Serve<cases::NoRequest, repGetSubclientVolumesListResp>(&ServeGetSubclientVolumesList);
const ServedCase GetVEHostsCase = cases::Serve<cases::NoRequest, repGetVEHostsResp>(&ServeGetVEHosts);
const ServedCase GetCopyMgrsCase = cases::Serve<cases::NoRequest, repGetCopyMgrCtrlsResp>(&ServeGetCopyMgrs);
