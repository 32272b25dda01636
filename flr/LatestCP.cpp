// The latest consistency point of a replication set, or of one destination
// volume of the set, expanded into its snapshots and what hangs on them as
// they were when the point was made; with its request cases.
#include <cstring>
#include <string>

#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "host/db/FLRTables.h"
#include "flr/CPExpansion.h"
#include "flr/FLRCases.h"
#include "flr/FLRQueryMessages.h"
#include "rows/Db/Cursor/YBQueryFanInLatestRP.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/RecordConversion.h"
#include "service/HeldRows.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"

using steps::Fail;

bool ReplicationMgr::QueryRepSetLastestCP(const QueryRepSetLastestCPArgs_t& args, QueryRepSetLastestCPRet_t& ret,
                                          DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::QueryRepSetLastestCP()";
    const std::string setId = std::to_string(args.FLRSetId);
    ret.clearLists();
    ret.CP = FLRConsistencyPointRecord_t();
    if (args.FLRSetId < 1)
        return Fail(*this, ret, kErrInvalidId, "Cannot get FLR Consistency points with an invalid RepSet id",
                    "\n\tRepSet id: " + setId, ProgNameQueries, Fn, __LINE__);

    // The point: the newest of the set, or of the set's destination points
    // that hold a snapshot of the volume.
    std::string where = "FLRSetId = " + setId;
    if (!args.VolumeGUID.empty()) {
        YBQueryFanInLatestRP cursor(tran);
        cursor.setValues(args.FLRSetId, args.VolumeGUID.c_str());
        int state = 0;
        const int rc = getNextRow(&cursor, &state, -1, 0);
        if (rc == DB_ROW_OK) {
            where = "id = " + std::to_string(cursor.getDataPtr()->RPId);
        } else if (rc == DB_NO_MORE_ROWS) {
            m_LogMsg << "\tEvent: No consistency points were found\n\tRepSet id    : " << setId
                     << "\n\tVolume GUID  : " << EvDebug::escaped(args.VolumeGUID);
            WriteLogMsg(ProgNameQueries, Fn, __LINE__, MSG);
            ret.errMsg = "";
            return true;
        } else {
            return Fail(*this, ret, kErrDatabase, "Could not get latest Recovery point associated with the volume",
                        "\n\tgetNextRow(YBQueryFanInLatestRP &) failed\n\tRepSet id    : " + setId +
                            "\n\tVolume GUID  : " + EvDebug::escaped(args.VolumeGUID) +
                            "\n\tDB Err Code = " + std::to_string(rc),
                        ProgNameQueries, Fn, __LINE__);
        }
    }

    FLRConsistencyPointDB db;
    steps::HeldRows<YBFLRConsistencyPoint_t> rows(db);
    const flr_detail::ListRead read{"FLRConsistencyPointDB", where, "CreationTime DESC",
                                    "Could not get list of FLR Consistency point records from the database", nullptr};
    if (!flr_detail::ReadRows(*this, ret, {ProgNameQueries, Fn, ""}, read, db, rows, tran, __LINE__)) return false;
    if (rows.count == 0) {
        m_LogMsg << "\tEvent: No consistency points were found\n\tsWhere = " << where;
        WriteLogMsg(ProgNameQueries, Fn, __LINE__, MSG);
        ret.errMsg = "";
        return true;
    }

    ret.CP = flr_detail::ReportedCP(rows.rows[0], true, true);
    return flr_detail::ExpandCP(*this, flr_detail::ExpandFound, {ProgNameQueries, Fn, "\n\tRepSet Id = " + setId},
                                ret.CP.id, static_cast<int32_t>(ret.CP.CreationTime), ret, tran);
}

// ---- Request cases ---------------------------------------------------------------

namespace {

template <typename Req>
void ReadLatestCPRequest(const Req& request, QueryRepSetLastestCPArgs_t& args)
{
    args.FLRSetId = static_cast<int32_t>(request.FLRSetId);
}

void ReadLatestCPRequest(const repQueryRepSetLastCPReqV2& request, QueryRepSetLastestCPArgs_t& args)
{
    args.FLRSetId = static_cast<int32_t>(request.FLRSetId);
    args.VolumeGUID = YBTextFromWire(request.VolumeGUID);
}

// The point in the version's wire record, then its arrays unless there is
// none.
template <typename Req, typename Reply>
void ServeQueryRepSetLastCP(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    QueryRepSetLastestCPArgs_t args;
    QueryRepSetLastestCPRet_t ret;
    ReadLatestCPRequest(cases::RequestOf<Req>(buf), args);
    flr_detail::ExpansionArrays arrays;  // freed after the send
    AnswerInlineCase<Reply>(
        mgr, code, ret, cases::Message::PointIntoResult, [&]() { return mgr.QueryRepSetLastestCP(args, ret, nullptr); },
        [&](Reply& r) {
            // This request's snapshot entries carry no AuxValue.
            for (FLRSnapshotRecord_t& snapshot : ret.Snapshots) snapshot.AuxValue = 0;
            return arrays.fillWithCP(r, ret);
        });
}

}  // namespace

const ServedCase QueryRepSetLastCPCaseV1 =
    cases::Serve<repQueryRepSetLastCPReq, repQueryRepSetLastCPResp>(
        &ServeQueryRepSetLastCP<repQueryRepSetLastCPReq, repQueryRepSetLastCPResp>);
const ServedCase QueryRepSetLastCPCaseV2 =
    cases::Serve<repQueryRepSetLastCPReqV2, repQueryRepSetLastCPRespV2>(
        &ServeQueryRepSetLastCP<repQueryRepSetLastCPReqV2, repQueryRepSetLastCPRespV2>);
const ServedCase QueryRepSetLastCPCaseV3 =
    cases::Serve<repQueryRepSetLastCPReqV2, repQueryRepSetLastCPRespV3>(
        &ServeQueryRepSetLastCP<repQueryRepSetLastCPReqV2, repQueryRepSetLastCPRespV3>);
