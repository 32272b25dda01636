// Shared pieces of the SNR operations: device registration, the SNR volume
// add, the global history names, the device queries and the mount points.
// Internal to snr/.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "service/CasePatterns.h"
#include "service/DispatchTable.h"
#include "service/ReplicationMgr.h"
#include "service/TableLock.h"
#include "service/Utils.h"
#include "host/db/SqlText.h"
#include "snr/SNRAdapters.h"

namespace snr_detail {

// The transaction handle in hexadecimal, as the entries print it.
std::string TranHandle(const DBtran* tran);

// The condition that finds an SNR volume by its identity; without the LUN
// when withLun is false (a shared disk, which each client sees under a LUN
// of its own). Start and count go out signed: a volume stored with -1 is
// found again.
template <typename Volume>
std::string VolumeIdentityWhere(const Volume& volume, bool withLun = true)
{
    std::string where = "UniqueId = '" + SqlEscape(volume.UniqueId) + "' AND UniqueIdType = " +
                        std::to_string(volume.UniqueIdType);
    if (withLun) where += " AND LUN = " + std::to_string(volume.LUN);
    return where + " AND StartLBA = " + std::to_string(volume.StartLBA) +
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

// A condition the operation works around: "\tEvent: " + text + details at
// WARNING.
inline void Warn(ReplicationMgr& mgr, const std::string& text, const std::string& details, const char* source,
                 const char* function, long line)
{
    mgr.log() << "\tEvent: " << text << details;
    mgr.WriteLogMsg(source, function, line, ReplicationMgr::WARNING);
}

// Counts the rows of the table under the where clause. A count that fails
// fails the operation: code -4 with the text given, and the call, the clause
// and the database code at ERR.
template <typename Table, typename Ret>
bool CountRows(ReplicationMgr& mgr, Ret& ret, Table& table, const char* tableClass, const std::string& where,
               unsigned int& count, DBtran* tran, const char* text, const char* source, const char* function,
               long line)
{
    if (table.getNRows(where.c_str(), count, tran)) return true;
    return Fail(mgr, ret, -4, text,
                "\n\t" + std::string(tableClass) + "::getNRows() failed\n\tParameters used:\n\tsWhere = " + where +
                    "\n\tDB Err Code = " + std::to_string(table.getErrorCode()),
                source, function, line);
}

// Deactivates the controllers of the devices, last activated first, and
// empties the list. A deactivation that fails is logged at ERR under the
// source and function given; the others still run.
void DeactivateControllers(ReplicationMgr& mgr, std::vector<int32_t>& devices, DBtran* tran, const char* source,
                           const char* function);

// The controllers one request activates, recorded in `devices` in order.
// Unless kept, they are deactivated again when the guard goes out of scope.
class ActivatedControllers {
public:
    ActivatedControllers(ReplicationMgr& mgr, std::vector<int32_t>& devices, DBtran* tran, const char* source,
                         const char* function)
        : m_mgr(mgr), m_devices(devices), m_tran(tran), m_source(source), m_function(function)
    {
    }
    ~ActivatedControllers()
    {
        if (!m_kept) DeactivateControllers(m_mgr, m_devices, m_tran, m_source, m_function);
    }
    ActivatedControllers(const ActivatedControllers&) = delete;
    ActivatedControllers& operator=(const ActivatedControllers&) = delete;

    void add(int32_t deviceId) { m_devices.push_back(deviceId); }
    // The request succeeded so far: whoever owns its transaction decides.
    void keep() { m_kept = true; }

private:
    ReplicationMgr& m_mgr;
    std::vector<int32_t>& m_devices;
    DBtran* m_tran;
    const char* m_source;
    const char* m_function;
    bool m_kept = false;
};

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

// Builds a reply's array from the records and hands it to its owner, which
// frees it after the send; the count is that of the array, 0 when there is
// none. False when the array cannot be allocated.
template <typename Wire, typename Count, typename Record>
bool CopyListToReply(AutoFreeMem_t& owner, Wire*& array, Count& count, const std::vector<Record>& records)
{
    Wire* built = nullptr;
    if (!CopyVectorToMsg(&built, records)) return false;
    owner = built;
    array = built;
    count = built != nullptr ? static_cast<Count>(records.size()) : 0;
    return true;
}

// A scratch or replication volume record into its wire record, or the
// wire record's absent form when the record's id is -1.
template <typename Wire, typename Record>
void SetOrInvalidate(Wire& wire, const Record& record)
{
    if (record.id == -1)
        Invalidate(wire);
    else
        YBSet(wire, record);
}

}  // namespace snr_detail
