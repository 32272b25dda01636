#include <new>
#include <string>

#include "host/LockOrder.h"

#include "service/ErrorCodes.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"
#include "service/TableLock.h"

namespace {

// How long a table lock is waited for.
const long long LockTimeoutSeconds = 60;

const char* const TableName[ReplicationMgr::TOTAL_LOCKS] = {
    "YB Volume",         "SNR Volume",        "TmpSNRVolInfo", "TmpSNRVol",
    "TmpYBBrowseClient", "TmpYBBrowsePolicy", "YBAddDevice",   "BlockFilterQuery",
};

// A table lock's place in the library's lock order (host/LockOrder.h): after
// the writer turn, in the order of the ids.
int LockRank(const std::string& name)
{
    for (int id = 0; id < ReplicationMgr::TOTAL_LOCKS; ++id)
        if (name == TableName[id]) return lock_order::TableLocks + id;
    return lock_order::TableLocks + ReplicationMgr::TOTAL_LOCKS;
}

}  // namespace

bool ReplicationMgr::LockTable(const LockTableArgs_t& args, LockTableRet_t& ret)
{
    const int id = args.m_nTableId;
    if (static_cast<unsigned int>(id) >= static_cast<unsigned int>(TOTAL_LOCKS)) {
        ret.m_sErrorMsg = "YB Manager Internal Error";
        log() << "\tEvent: " << ret.m_sErrorMsg << "\n\tInvalid TableId value"
              << "\n\tTableId = " << id;
        WriteLogMsg(ProgNameUtils, "ReplicationMgr::LockMutex()", __LINE__, ERR);
        ret.m_nErrorCode = kErrInvalidLockId;
        return false;
    }

    const char* name = TableName[id];
    ret.m_pMutex.reset(new (std::nothrow) FXNamedMutex(name));
    if (!ret.m_pMutex) {
        GetWindowsErrMsgRet_t reason;
        ret.m_sErrorMsg = std::string("Cannot have exclusive access to ") + name;
        log() << "\tEvent: " << ret.m_sErrorMsg << "\n\tCreateMutex() Windows API call failed"
              << "\n\tReason: " << reason.m_sErrorMsg;
        WriteLogMsg(ProgNameUtils, "ReplicationMgr::LockMutex()", __LINE__, ERR);
        ret.m_nErrorCode = kErrNotAccessible;
        return false;
    }

    const CTimeInterval timeout = CTimeInterval::FromSeconds(LockTimeoutSeconds);
    FXLockableResource& lock = *ret.m_pMutex;
    lock_order::taking(lock_order::TableLocks + id, name);
    if (!lock.TryLock(timeout)) {
        ret.m_sErrorMsg = std::string("Cannot have exclusive access to ") + name;
        log() << "\tEvent: " << ret.m_sErrorMsg << "\n\tWaitForSingleObject() Windows API call failed"
              << "\n\tParameters used:"
              << "\n\tTimeout: " << timeout.AsMilliseconds() << "\n\tTableId: " << id;
        WriteLogMsg(ProgNameUtils, "ReplicationMgr::LockMutex()", __LINE__, ERR);
        ret.m_nErrorCode = kErrLockTimedOut;
        return false;
    }
    lock_order::taken(lock_order::TableLocks + id, name);
    return true;
}

bool ReplicationMgr::UnlockTable(const UnlockTableArgs_t& args)
{
    if (!args.m_pMutex) {
        log() << "\tWarning: mutex is NULL";
        WriteLogMsg(ProgNameUtils, "ReplicationMgr::UnlockMutex()", __LINE__, ERR);
        return false;
    }
    FXNamedMutex& lock = *args.m_pMutex;
    lock_order::released(LockRank(lock.name()), lock.name().c_str());
    lock.Unlock();
    return true;
}
