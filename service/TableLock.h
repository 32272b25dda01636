// Arguments and results of taking and releasing a table lock.
#pragma once

#include <string>

#include <boost/shared_ptr.hpp>

#include "service/Sync.h"

struct LockTableArgs_t {
    explicit LockTableArgs_t(int id) : m_nTableId(id) {}

    int m_nTableId;  // one of ReplicationMgr's lock ids
};

struct LockTableRet_t {
    LockTableRet_t() : m_nErrorCode(0) {}

    std::string m_sErrorMsg;                 // empty unless the lock failed
    boost::shared_ptr<FXNamedMutex> m_pMutex;  // the held mutex once the lock is granted
    int m_nErrorCode;                        // set only when the lock failed
};

struct UnlockTableArgs_t {
    // Shares the ownership of the mutex, normally the one of a granted lock.
    explicit UnlockTableArgs_t(boost::shared_ptr<FXNamedMutex> mutex) : m_pMutex(mutex) {}

    boost::shared_ptr<FXNamedMutex> m_pMutex;
};

struct GetWindowsErrMsgRet_t {
    std::string m_sErrorMsg;
};
