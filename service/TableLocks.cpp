#include <new>

#include "service/ReplicationMgr.h"
#include "service/TableLock.h"

namespace {

const char* const ProgName = "ReplicationMgrUtils";

// How long a table lock is waited for.
const long long LockTimeoutSeconds = 60;

}  // namespace

bool ReplicationMgr::LockTable(const LockTableArgs_t& args, LockTableRet_t& ret)
{
    static const char* const TableName[TOTAL_LOCKS] = {
        "YB Volume",         "SNR Volume",        "TmpSNRVolInfo", "TmpSNRVol",
        "TmpYBBrowseClient", "TmpYBBrowsePolicy", "YBAddDevice",   "BlockFilterQuery",
    };

    const int id = args.m_nTableId;
    if (static_cast<unsigned int>(id) >= static_cast<unsigned int>(TOTAL_LOCKS)) {
        ret.m_sErrorMsg = "YB Manager Internal Error";
        log() << "\tEvent: " << ret.m_sErrorMsg << "\n\tInvalid TableId value"
              << "\n\tTableId = " << id;
        WriteLogMsg(ProgName, "ReplicationMgr::LockMutex()", __LINE__, ERR);
        ret.m_nErrorCode = -9;
        return false;
    }

    const char* name = TableName[id];
    ret.m_pMutex.reset(new (std::nothrow) FXNamedMutex(name));
    if (!ret.m_pMutex) {
        GetWindowsErrMsgRet_t reason;
        ret.m_sErrorMsg = std::string("Cannot have exclusive access to ") + name;
        log() << "\tEvent: " << ret.m_sErrorMsg << "\n\tCreateMutex() Windows API call failed"
              << "\n\tReason: " << reason.m_sErrorMsg;
        WriteLogMsg(ProgName, "ReplicationMgr::LockMutex()", __LINE__, ERR);
        ret.m_nErrorCode = -10;
        return false;
    }

    const CTimeInterval timeout = CTimeInterval::FromSeconds(LockTimeoutSeconds);
    FXLockableResource& lock = *ret.m_pMutex;
    if (!lock.TryLock(timeout)) {
        ret.m_sErrorMsg = std::string("Cannot have exclusive access to ") + name;
        log() << "\tEvent: " << ret.m_sErrorMsg << "\n\tWaitForSingleObject() Windows API call failed"
              << "\n\tParameters used:"
              << "\n\tTimeout: " << timeout.AsMilliseconds() << "\n\tTableId: " << id;
        WriteLogMsg(ProgName, "ReplicationMgr::LockMutex()", __LINE__, ERR);
        ret.m_nErrorCode = -8;
        return false;
    }
    return true;
}

bool ReplicationMgr::UnlockTable(const UnlockTableArgs_t& args)
{
    if (!args.m_pMutex) {
        log() << "\tWarning: mutex is NULL";
        WriteLogMsg(ProgName, "ReplicationMgr::UnlockMutex()", __LINE__, ERR);
        return false;
    }
    FXLockableResource& lock = *args.m_pMutex;
    lock.Unlock();
    return true;
}
