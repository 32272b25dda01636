// The expansion of a consistency point shared by the queries that send a
// point with everything that hangs on it: the list reads with their failure
// entries, the fold of the pair path rows, and the reply arrays. Internal to
// flr/.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "flr/FLRRecords.h"
#include "service/ErrorCodes.h"
#include "service/HeldRows.h"
#include "service/ReplicationMgr.h"
#include "service/ReplyArray.h"

namespace flr_detail {

// Where the entries of one operation go, and the line each puts after its
// where text ("\n\tJob Id = 7"; empty for none).
struct QueryLog {
    const char* source;
    const char* function;
    std::string context;
};

// One list read of a table class and the answers of its failures: -4 with
// failText when the read fails, -3 with noRowsText when it finds nothing
// (null: nothing found is no failure).
struct ListRead {
    const char* table;  // the class the entries name, "FLRSnapshotDB"
    std::string where;
    const char* orderBy;
    const char* failText;
    const char* noRowsText;
    bool logsCode = true;  // the failure entry gives the database's code
};

// Reads the rows of `read` into `rows` (released by their holder). False
// with the result's code and text set and the entry written at ERR.
template <typename Table, typename Row>
bool ReadRows(ReplicationMgr& mgr, FLRResult_t& ret, const QueryLog& log, const ListRead& read, Table& db,
              steps::HeldRows<Row>& rows, DBtran* tran, long line)
{
    if (!db.getList(rows.rows, rows.count, read.where.c_str(), read.orderBy, tran)) {
        ret.errCode = kErrDatabase;
        ret.errMsg = read.failText;
        mgr.log() << "\tEvent: " << read.failText << "\n\t" << read.table << "::getList() failed\n\tParameters used:"
                  << "\n\tsWhere = " << read.where << log.context << "\n\tsOrderBy = " << read.orderBy;
        if (read.logsCode) mgr.log() << "\n\tDB Err Code = " << db.getErrorCode();
        mgr.WriteLogMsg(log.source, log.function, line, ReplicationMgr::ERR);
        return false;
    }
    if (rows.count == 0 && read.noRowsText != nullptr) {
        ret.errCode = kErrNotFound;
        ret.errMsg = read.noRowsText;
        mgr.log() << "\tEvent: " << read.noRowsText << "\n\tt" << read.table << "::getList() input & output:"
                  << "\n\tsWhere = " << read.where << log.context << "\n\tNRows = 0";
        mgr.WriteLogMsg(log.source, log.function, line, ReplicationMgr::ERR);
        return false;
    }
    return true;
}

// The ids joined by ", ".
std::string JoinIds(const std::vector<int32_t>& ids);

// A point of a row as the queries send it: id, creation time, set, job,
// source client and the three flags, with the type and the whole Flags word
// where asked; the destination client and its tallmark stay -1.
FLRConsistencyPointRecord_t ReportedCP(const YBFLRConsistencyPoint_t& row, bool withType, bool withFlags);

// Folds the path rows of pairs (source 10001, any other type destination),
// in the order they come, into pair path records: a record is made when a
// row finds both paths held, and at the end; it bears the pair id of the
// first row since the record before. A path is replaced by the next row of
// its kind, and a held path of another pair than the row's is dropped, so
// that the paths of two pairs never make one record.
class PairPathFold {
public:
    explicit PairPathFold(std::vector<FLRPairPathRecord_t>& out) : m_out(out) {}
    void add(int32_t pairId, int32_t pathType, const std::string& path);
    // Makes the record of the paths still held, if both are.
    void finish();

private:
    struct Held {
        std::string path;
        int32_t pairId = 0;
    };
    std::vector<FLRPairPathRecord_t>& m_out;
    int32_t m_pairId = 0;
    Held m_source;
    Held m_destination;
};

// How a query expands its point.
struct ExpansionStyle {
    const char* listOpen;          // " IN (" or " IN ( ": what follows the column of an id list
    bool mountsOfPairedSnapshots;  // the mount points of the pair rows' snapshots, else of every snapshot
    const char* noSnapshotsText;
};
// The expansion by a point's id, and the one of a point found by its job or set.
extern const ExpansionStyle ExpandById;
extern const ExpansionStyle ExpandFound;

// Reads the snapshots of the point, their pair rows, the pairs' paths valid
// at pointInTime, the mount points and their shares into ret's lists. The
// path cursor runs in tran; the tables are read outside any transaction.
// False with the result's code and text set: -4 a failed read, -3 a point
// without snapshots or snapshots without pair rows.
bool ExpandCP(ReplicationMgr& mgr, const ExpansionStyle& style, const QueryLog& log, int32_t cpId,
              int32_t pointInTime, FLRCPExpansion_t& ret, DBtran* tran);

// The five arrays of an expanded point in a reply, owned until the send.
struct ExpansionArrays {
    AutoFreeMem_t snaps;
    AutoFreeMem_t pairs;
    AutoFreeMem_t pairPaths;
    AutoFreeMem_t mounts;
    AutoFreeMem_t shares;

    // Builds the arrays in the order snapshots, pairs, pair paths, mount
    // points, shares; false at the first that cannot be allocated.
    template <typename Lists>
    bool fill(Lists& r, const FLRCPExpansion_t& ret)
    {
        return steps::CopyListToReply(snaps, r.Snaps, r.SnapCount, ret.Snapshots) &&
               steps::CopyListToReply(pairs, r.Pairs, r.PairCount, ret.Pairs) &&
               steps::CopyListToReply(pairPaths, r.PairPaths, r.PairPathCount, ret.PairPaths) &&
               steps::CopyListToReply(mounts, r.MountPoints, r.MountCount, ret.MountPoints) &&
               steps::CopyListToReply(shares, r.Shares, r.ShareCount, ret.Shares);
    }

    // The point into the reply, then its arrays unless there is no point.
    template <typename Reply, typename Ret>
    bool fillWithCP(Reply& r, const Ret& ret)
    {
        YBSet(r.CP, ret.CP);
        return ret.CP.id == -1 || fill(r.lists, ret);
    }
};

}  // namespace flr_detail
