#include <cstring>
#include <memory>
#include <new>
#include <thread>

#include "host/ZXPlatformInfo.h"
#include "host/db/SNRTables.h"
#include "support/BlockingCall.h"
#include "support/CatalogueFiles.h"
#include "support/TestCatalogue.h"

namespace {

YBPhysicalDevice_t device(int clientId, const char* name)
{
    YBPhysicalDevice_t row;
    row.ClientId = clientId;
    row.SNRVolumeId = 1;
    std::strncpy(row.DeviceName, name, sizeof(row.DeviceName) - 1);
    return row;
}

unsigned int countOnOtherThread(const char* where)
{
    unsigned int count = 999;
    std::thread reader([&] {
        CSNRVolumeDeviceNameDB db;
        if (!db.getNRows(where, count, nullptr)) count = 998;
    });
    reader.join();
    return count;
}

}  // namespace

using DBtranTest = CatalogueTest;

TEST_F(DBtranTest, RolledBackInsertIsGoneAndCommittedOneIsSeenElsewhere)
{
    CSNRVolumeDeviceNameDB db;
    {
        DBtran tran(false);
        ASSERT_EQ(tran.startTran(), 0);
        YBPhysicalDevice_t row = device(1, "/dev/rolledback");
        ASSERT_TRUE(db.insert(row, &tran));
        ASSERT_EQ(tran.rollbackTran(), 0);
    }
    unsigned int count = 9;
    ASSERT_TRUE(db.getNRows("DeviceName = '/dev/rolledback'", count, nullptr));
    EXPECT_EQ(count, 0u);

    DBtran tran(false);
    ASSERT_EQ(tran.startTran(), 0);
    YBPhysicalDevice_t row = device(1, "/dev/committed");
    ASSERT_TRUE(db.insert(row, &tran));
    // Not visible to another thread until committed.
    EXPECT_EQ(countOnOtherThread("DeviceName = '/dev/committed'"), 0u);
    ASSERT_EQ(tran.commitTran(false), 0);
    EXPECT_EQ(countOnOtherThread("DeviceName = '/dev/committed'"), 1u);
}

TEST_F(DBtranTest, NullTransactionOnSameThreadSeesOpenTransaction)
{
    CSNRVolumeDeviceNameDB db;
    DBtran tran(false);
    ASSERT_EQ(tran.startTran(), 0);
    YBPhysicalDevice_t row = device(7, "/dev/open");
    ASSERT_TRUE(db.insert(row, &tran));

    unsigned int count = 0;
    ASSERT_TRUE(db.getNRows("ClientId = 7", count, nullptr));
    EXPECT_EQ(count, 1u);
    YBPhysicalDevice_t read;
    ASSERT_TRUE(db.getInfo(row.id, read, nullptr));
    EXPECT_STREQ(read.DeviceName, "/dev/open");
    // A write with a null transaction on the same thread does not deadlock.
    ASSERT_TRUE(db.Update(row.id, "Flags = 3", nullptr));
    ASSERT_EQ(tran.rollbackTran(), 0);
    ASSERT_TRUE(db.getNRows("ClientId = 7", count, nullptr));
    EXPECT_EQ(count, 0u);
}

TEST_F(DBtranTest, RollbackThenCommitKeepsWhatCameAfter)
{
    CSNRVolumeDeviceNameDB db;
    DBtran tran(false);
    ASSERT_EQ(tran.startTran(), 0);
    YBPhysicalDevice_t before = device(2, "/dev/before");
    ASSERT_TRUE(db.insert(before, &tran));
    ASSERT_EQ(tran.rollbackTran(), 0);
    YBPhysicalDevice_t after = device(2, "/dev/after");
    ASSERT_TRUE(db.insert(after, &tran));
    ASSERT_EQ(tran.commitTran(false), 0);

    EXPECT_EQ(countOnOtherThread("DeviceName = '/dev/before'"), 0u);
    EXPECT_EQ(countOnOtherThread("DeviceName = '/dev/after'"), 1u);
}

TEST_F(DBtranTest, SecondTransactionOnThreadNestsAsSavepoint)
{
    CSNRVolumeDeviceNameDB db;
    DBtran outer(false);
    ASSERT_EQ(outer.startTran(), 0);
    YBPhysicalDevice_t a = device(3, "/dev/outer");
    ASSERT_TRUE(db.insert(a, &outer));
    {
        DBtran inner(false);
        ASSERT_EQ(inner.startTran(), 0);
        YBPhysicalDevice_t b = device(3, "/dev/inner-undone");
        ASSERT_TRUE(db.insert(b, &inner));
        ASSERT_EQ(inner.rollbackTran(), 0);
    }
    {
        DBtran inner(false);
        ASSERT_EQ(inner.startTran(), 0);
        YBPhysicalDevice_t c = device(3, "/dev/inner-kept");
        ASSERT_TRUE(db.insert(c, &inner));
        ASSERT_EQ(inner.commitTran(false), 0);
    }
    // The inner commit is not final before the outer one.
    EXPECT_EQ(countOnOtherThread("ClientId = 3"), 0u);
    ASSERT_EQ(outer.commitTran(false), 0);
    EXPECT_EQ(countOnOtherThread("ClientId = 3"), 2u);
    EXPECT_EQ(countOnOtherThread("DeviceName = '/dev/inner-undone'"), 0u);
}

TEST_F(DBtranTest, DestroyedOpenTransactionRollsBack)
{
    CSNRVolumeDeviceNameDB db;
    {
        DBtran tran(false);
        ASSERT_EQ(tran.startTran(), 0);
        YBPhysicalDevice_t row = device(4, "/dev/abandoned");
        ASSERT_TRUE(db.insert(row, &tran));
    }
    unsigned int count = 9;
    ASSERT_TRUE(db.getNRows("ClientId = 4", count, nullptr));
    EXPECT_EQ(count, 0u);
}

// The transactions of all threads run on one writing connection, one at a
// time: a second writer begun while the first's transaction is open waits
// for its turn instead of failing or writing into the first's, and each
// commit lands its own rows.
TEST_F(DBtranTest, TwoThreadsWriteThroughTheirOwnTransactions)
{
    // Inserts rows of the client in tran; how many could not be inserted.
    auto insertRows = [](DBtran& tran, int clientId, int rows) {
        CSNRVolumeDeviceNameDB db;
        int failed = 0;
        for (int i = 0; i < rows; ++i) {
            YBPhysicalDevice_t row = device(clientId, "/dev/concurrent");
            if (!db.insert(row, &tran)) ++failed;
        }
        return failed;
    };
    DBtran first(false);
    ASSERT_EQ(first.startTran(), 0);
    EXPECT_EQ(insertRows(first, 11, 2), 0);

    int secondFailures = -1;
    BlockingCall second([&] {
        DBtran tran(false);
        if (tran.startTran() != 0) return;
        secondFailures = insertRows(tran, 12, 5);
        if (tran.commitTran(false) != 0) ++secondFailures;
    });
    EXPECT_TRUE(second.blocks()) << "the second writer did not wait for the first's transaction";
    // The first goes on writing while the second waits.
    EXPECT_EQ(insertRows(first, 11, 3), 0);
    EXPECT_EQ(countOnOtherThread("ClientId = 12"), 0u);
    EXPECT_EQ(first.commitTran(false), 0);
    first.rollbackTran();  // lets the second go should the commit have failed
    second.join();

    EXPECT_EQ(secondFailures, 0);
    EXPECT_EQ(countOnOtherThread("ClientId = 11"), 5u);
    EXPECT_EQ(countOnOtherThread("ClientId = 12"), 5u);
}

TEST_F(DBtranTest, InjectedFailuresOfStartAndCommit)
{
    CSNRVolumeDeviceNameDB db;
    DBtran tran(false);
    HostDBFaults::failNext("startTran", 1205);
    EXPECT_EQ(tran.startTran(), 1205);
    EXPECT_FALSE(tran.isActive());
    ASSERT_EQ(tran.startTran(), 0);
    YBPhysicalDevice_t row = device(5, "/dev/commit-fails");
    ASSERT_TRUE(db.insert(row, &tran));
    HostDBFaults::failNext("commitTran", 8, 1);
    ASSERT_EQ(tran.commitTran(false), 0);  // skipped once
    DBtran second(false);
    ASSERT_EQ(second.startTran(), 0);
    EXPECT_EQ(second.commitTran(false), 8);
    EXPECT_EQ(second.rollbackTran(), 0);
    EXPECT_EQ(countOnOtherThread("ClientId = 5"), 1u);
}

TEST_F(DBtranTest, UseCatalogueSwitchesFiles)
{
    CSNRVolumeDeviceNameDB db;
    YBPhysicalDevice_t row = device(6, "/dev/first-file");
    ASSERT_TRUE(db.insert(row, nullptr));
    std::string other = m_dir + "/other.db";
    DBtran::useCatalogue(other);
    EXPECT_EQ(DBtran::cataloguePath(), other);
    unsigned int count = 9;
    ASSERT_TRUE(db.getNRows("", count, nullptr));
    EXPECT_EQ(count, 0u);
    DBtran::useCatalogue(m_path);
    ASSERT_TRUE(db.getNRows("", count, nullptr));
    EXPECT_EQ(count, 1u);
    RemoveCatalogueFiles(other);
}

TEST_F(DBtranTest, CatalogueFileComesFromConfigurationThenEnvironment)
{
    std::string configured = m_dir + "/configured.db";
    ZXPlatformInfo::setValue("Database", "CatalogueFile", configured);
    setenv("REPLMGR_DB", (m_dir + "/environment.db").c_str(), 1);
    DBtran::useCatalogue("");
    EXPECT_EQ(DBtran::cataloguePath(), configured);
    EXPECT_EQ(access(configured.c_str(), F_OK), 0);  // created with the schema

    ZXPlatformInfo::clearValue("Database", "CatalogueFile");
    EXPECT_EQ(DBtran::cataloguePath(), m_dir + "/environment.db");
    unsetenv("REPLMGR_DB");
    EXPECT_EQ(DBtran::cataloguePath(), "replmgr.db");

    DBtran::useCatalogue(m_path);
    RemoveCatalogueFiles(configured);
}

// Only a registration that succeeded is undone: an object whose addObject
// failed never reaches back into its transaction, which may be gone first.
TEST_F(DBtranTest, OnlySucceededRegistrationsAreUndone)
{
    alignas(DBtran) unsigned char storage[sizeof(DBtran)];
    DBtran* tran = new (storage) DBtran(false);
    ASSERT_EQ(tran->startTran(), 0);
    auto failed = std::make_unique<DBtable>("YBPhysicalDevice", 0, tran);
    HostDBFaults::failNext("addObject", 21);
    EXPECT_THROW(tran->addObject(failed.get()), DBException);
    auto registered = std::make_unique<DBtable>("YBPhysicalDevice", 0, tran);
    tran->addObject(registered.get());
    auto early = std::make_unique<DBtable>("YBPhysicalDevice", 0, tran);
    tran->addObject(early.get());
    early.reset();  // leaves the transaction's list

    tran->~DBtran();
    EXPECT_EQ(registered->getTran(), nullptr);
    // Nothing of the transaction is left: every word of it differs.
    for (size_t i = 0; i < sizeof(storage); ++i) storage[i] = static_cast<unsigned char>(0x91 + 7 * i);
    failed.reset();
    registered.reset();
}
