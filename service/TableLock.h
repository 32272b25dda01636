// Arguments and results of taking and releasing a table lock, and the guard
// that gives a granted lock back.
#pragma once

#include <string>

#include <boost/shared_ptr.hpp>

#include "service/ReplicationMgr.h"
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

// Holds a granted table lock and gives it back when it goes out of scope.
class HeldTableLock {
public:
    HeldTableLock(ReplicationMgr& mgr, const LockTableRet_t& lock) : m_mgr(mgr), m_lock(lock) {}
    ~HeldTableLock() { m_mgr.UnlockTable(UnlockTableArgs_t(m_lock.m_pMutex)); }
    HeldTableLock(const HeldTableLock&) = delete;
    HeldTableLock& operator=(const HeldTableLock&) = delete;

private:
    ReplicationMgr& m_mgr;
    const LockTableRet_t& m_lock;
};

struct GetWindowsErrMsgRet_t {
    std::string m_sErrorMsg;
};

