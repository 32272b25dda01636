// Shared pieces of the SNR operations: device registration, the SNR volume
// add, the global history names, the device queries and the mount points.
// Internal to snr/.
#pragma once

#include <string>

#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "service/CasePatterns.h"
#include "service/DispatchTable.h"
#include "service/ReplicationMgr.h"
#include "service/Utils.h"
#include "host/db/SqlText.h"
#include "snr/SNRAdapters.h"

namespace snr_detail {

// The transaction handle in hexadecimal, as the entries print it.
std::string TranHandle(const DBtran* tran);

// The condition that finds an SNR volume by its identity. Start and count go
// out signed: a volume stored with -1 is found again.
template <typename Volume>
std::string VolumeIdentityWhere(const Volume& volume)
{
    return "UniqueId = '" + SqlEscape(volume.UniqueId) + "' AND UniqueIdType = " +
           std::to_string(volume.UniqueIdType) + " AND LUN = " + std::to_string(volume.LUN) +
           " AND StartLBA = " + std::to_string(volume.StartLBA) +
           " AND BlockCount = " + std::to_string(volume.BlockCount);
}

// A refused operation: text and (where the result carries one) code into the
// result, then "\tEvent: " + text + details at ERR. Always false.
template <typename Ret>
bool Fail(ReplicationMgr& mgr, Ret& ret, int code, const std::string& text, const std::string& details,
          const char* source, const char* function, long line)
{
    ret.errMsg = text;
    SetErrCode(ret, code);
    mgr.log() << "\tEvent: " << text << details;
    mgr.WriteLogMsg(source, function, line, ReplicationMgr::ERR);
    return false;
}

// Rows a getList returned, given back with deleteList when the holder goes
// out of scope.
template <typename Row>
class HeldRows {
public:
    explicit HeldRows(CRepBaseDB& db) : m_db(db) {}
    ~HeldRows() { m_db.deleteList(rows); }
    HeldRows(const HeldRows&) = delete;
    HeldRows& operator=(const HeldRows&) = delete;

    Row* rows = nullptr;
    unsigned int count = 0;

private:
    CRepBaseDB& m_db;
};

// Appends every row of an opened cursor to the list, in order: the fetch
// code that ended it, DB_NO_MORE_ROWS when all were read. After any other
// code (a failed fetch) the list is empty.
template <typename Cursor, typename List>
int ReadAllRows(Cursor& cursor, List& list)
{
    int state = 0;
    int rc;
    while ((rc = getNextRow(&cursor, &state, -1, 0)) == DB_ROW_OK) YBSet(list, *cursor.getDataPtr());
    if (rc != DB_NO_MORE_ROWS) list.clear();
    return rc;
}

}  // namespace snr_detail
