#include <gtest/gtest.h>

#include "host/LockOrder.h"
#include "host/db/DBConnection.h"
#include "service/ReplicationMgr.h"
#include "service/TableLock.h"
#include "support/TestCatalogue.h"
#include "support/TestHost.h"

namespace {

// The check records the locks each thread holds, counts the levels of a lock
// taken again, and forgets a lock once its last level is given back.
TEST(LockOrderTest, LocksTakenInOrderAreRecordedAndForgotten)
{
    lock_order::setChecking(true);
    lock_order::taking(lock_order::WriterTurn, "writer turn");
    lock_order::taken(lock_order::WriterTurn, "writer turn");
    lock_order::taking(lock_order::TableLocks + 1, "SNR Volume");
    lock_order::taken(lock_order::TableLocks + 1, "SNR Volume");
    lock_order::taking(lock_order::TableLocks + 1, "SNR Volume");  // again: in order
    lock_order::taken(lock_order::TableLocks + 1, "SNR Volume");
    EXPECT_EQ(lock_order::heldLevels(), 3);
    lock_order::released(lock_order::TableLocks + 1, "SNR Volume");
    lock_order::released(lock_order::TableLocks + 1, "SNR Volume");
    lock_order::released(lock_order::WriterTurn, "writer turn");
    EXPECT_EQ(lock_order::heldLevels(), 0);
    // One given back that was never recorded is ignored.
    lock_order::released(lock_order::TableLocks, "YB Volume");
    EXPECT_EQ(lock_order::heldLevels(), 0);
}

using LockOrderDeathTest = CatalogueTest;

// A statement that writes outside a transaction while its thread holds a
// table lock waits for the writer turn out of order: the process aborts and
// names both locks.
TEST_F(LockOrderDeathTest, AWriteUnderATableLockWithoutATransactionAborts)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            lock_order::setChecking(true);
            RecordingNetwork host;
            ReplicationMgr mgr(&host.session);
            LockTableRet_t lock;
            if (!mgr.LockTable(LockTableArgs_t(ReplicationMgr::SNRVOL_LOCK), lock)) return;
            std::shared_ptr<DBConnection> conn;
            if (dbThreadConnection(conn) != 0) return;
            sqlite3_stmt* write = nullptr;
            sqlite3_prepare_v2(conn->db, "DELETE FROM YBPhysicalDevice WHERE id = 0", -1, &write, nullptr);
            DBWriteTurn turn(*conn, write);
            sqlite3_finalize(write);
        },
        "taking \"writer turn\" while holding \"SNR Volume\"");
}

// Table locks are taken in the order of their ids.
TEST_F(LockOrderDeathTest, TableLocksTakenAgainstTheirOrderAbort)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            lock_order::setChecking(true);
            RecordingNetwork host;
            ReplicationMgr mgr(&host.session);
            LockTableRet_t later;
            LockTableRet_t earlier;
            if (!mgr.LockTable(LockTableArgs_t(ReplicationMgr::SNRVOL_LOCK), later)) return;
            mgr.LockTable(LockTableArgs_t(ReplicationMgr::REPLICAVOL_LOCK), earlier);
        },
        "taking \"YB Volume\" while holding \"SNR Volume\"");
}

}  // namespace
