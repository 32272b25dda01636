// The check of the library's lock order: the locks each thread holds as it
// records them, and the abort, naming both locks, of a thread that takes a
// lock against the order.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "host/LockOrder.h"
#include "host/db/DBConnection.h"
#include "host/db/DBtable.h"
#include "service/ReplicationMgr.h"
#include "service/TableLock.h"
#include "support/CatalogueFiles.h"
#include "support/TestHost.h"

namespace {

// The calling thread's connection to a new catalogue whose files and
// directory are removed already (the connection keeps the files open). A
// death test's child re-runs the test from its start and aborts: a catalogue
// it makes this way, and not in a fixture, leaves nothing behind. Null when
// there is none.
std::shared_ptr<DBConnection> ConnectionToARemovedCatalogue()
{
    char dir[] = "/tmp/replmgr_db_XXXXXX";
    if (mkdtemp(dir) == nullptr) return nullptr;
    const std::string path = std::string(dir) + "/catalogue.db";
    DBtran::useCatalogue(path);  // creates the file with its schema
    std::shared_ptr<DBConnection> conn;
    if (dbThreadConnection(conn) != 0) conn.reset();
    RemoveCatalogueFiles(path);
    rmdir(dir);
    return conn;
}

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

// A statement that writes outside a transaction while its thread holds a
// table lock waits for the writer turn out of order: the process aborts and
// names both locks.
TEST(LockOrderDeathTest, AWriteUnderATableLockWithoutATransactionAborts)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            lock_order::setChecking(true);
            // Made before the table lock is taken: making a catalogue writes.
            std::shared_ptr<DBConnection> conn = ConnectionToARemovedCatalogue();
            if (!conn) return;
            RecordingNetwork host;
            ReplicationMgr mgr(&host.session);
            LockTableRet_t lock;
            if (!mgr.LockTable(LockTableArgs_t(ReplicationMgr::SNRVOL_LOCK), lock)) return;
            sqlite3_stmt* write = nullptr;
            sqlite3_prepare_v2(conn->db, "DELETE FROM YBPhysicalDevice WHERE id = 0", -1, &write, nullptr);
            DBWriteTurn turn(*conn, write);
            sqlite3_finalize(write);
        },
        "taking \"writer turn\" while holding \"SNR Volume\"");
}

// Table locks are taken in the order of their ids.
TEST(LockOrderDeathTest, TableLocksTakenAgainstTheirOrderAbort)
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
