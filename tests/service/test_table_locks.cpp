#include <gtest/gtest.h>

#include <pthread.h>

#include <cerrno>
#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include <boost/weak_ptr.hpp>

#include "host/EvDebug.h"
#include "host/HostJournal.h"
#include "host/ZXPlatformInfo.h"
#include "host/ZxFramework.h"
#include "host/ZxSync.h"
#include "service/ReplicationMgr.h"
#include "service/Sync.h"
#include "service/TableLock.h"
#include "support/BlockingCall.h"

namespace {

using Clock = std::chrono::steady_clock;

long long msSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// Runs fn on a thread of its own and gives its result.
template <typename Fn>
auto onOtherThread(Fn fn)
{
    return std::async(std::launch::async, fn).get();
}

bool nameIsFree(const char* name)
{
    return onOtherThread([name] {
        ZxNamedMutex m(name);
        bool got = m.lock(1);
        if (got) m.unlock();
        return got;
    });
}

// Holds a table lock on a thread of its own until release().
class LockHolder {
public:
    LockHolder(ReplicationMgr& mgr, int id)
    {
        std::promise<bool> locked;
        std::future<bool> lockedF = locked.get_future();
        std::future<void> releaseF = m_release.get_future();
        m_thread = std::thread([&mgr, id, locked = std::move(locked), releaseF = std::move(releaseF)]() mutable {
            LockTableArgs_t args(id);
            LockTableRet_t ret;
            bool ok = mgr.LockTable(args, ret);
            locked.set_value(ok);
            releaseF.wait();
            if (ok) mgr.UnlockTable(UnlockTableArgs_t(ret.m_pMutex));
        });
        m_bLocked = lockedF.get();
    }
    ~LockHolder() { release(); }
    void release()
    {
        if (m_thread.joinable()) {
            m_release.set_value();
            m_thread.join();
        }
    }
    bool locked() const { return m_bLocked; }

private:
    std::promise<void> m_release;
    std::thread m_thread;
    bool m_bLocked = false;
};

const char* const kLockNames[] = {"YB Volume",         "SNR Volume",        "TmpSNRVolInfo", "TmpSNRVol",
                                  "TmpYBBrowseClient", "TmpYBBrowsePolicy", "YBAddDevice",   "BlockFilterQuery"};

class TableLocksTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ZXPlatformInfo::setValue("~ReplicationMgr", "VerboseLevel", "0");
        ZXPlatformInfo::setValue("EvDebug", "LogFile", "none");
        HostJournals::keep(true);
        // The 60-second lock wait takes 60 ms here.
        ZxNamedMutex::setWaitScale(0.001);
        m_pMgr.reset(new ReplicationMgr(&m_session));
        EvDebug::clearEntries();
    }
    void TearDown() override
    {
        m_pMgr.reset();
        ZxNamedMutex::setWaitScale(1.0);
        ZXPlatformInfo::clearValue("~ReplicationMgr", "VerboseLevel");
        ZXPlatformInfo::clearValue("EvDebug", "LogFile");
        EvDebug::clearEntries();
    }

    ReplicationMgr& mgr() { return *m_pMgr; }

    CZxNetwork m_network;
    ZxSessionSend m_session{&m_network};
    std::unique_ptr<ReplicationMgr> m_pMgr;
};

TEST_F(TableLocksTest, InvalidIdsFailWithoutBuildingAMutex)
{
    for (int id : {8, -1}) {
        EvDebug::clearEntries();
        LockTableRet_t ret;
        EXPECT_FALSE(mgr().LockTable(LockTableArgs_t(id), ret));
        EXPECT_EQ("YB Manager Internal Error", ret.m_sErrorMsg);
        EXPECT_EQ(-9, ret.m_nErrorCode);
        EXPECT_FALSE(ret.m_pMutex);

        std::vector<std::string> log = EvDebug::entries();
        ASSERT_EQ(1u, log.size());
        EXPECT_EQ(0u, log[0].find("ReplicationMgrUtils["));
        std::string expected = "] -> ReplicationMgr::LockMutex()\n\tEvent: YB Manager Internal Error"
                               "\n\tInvalid TableId value\n\tTableId = " + std::to_string(id) + "\n";
        EXPECT_NE(std::string::npos, log[0].find(expected)) << log[0];
        EXPECT_EQ(expected.size(), log[0].size() - log[0].find(expected));
    }

    // The mutex already in the result stays as it was.
    LockTableRet_t ret;
    boost::shared_ptr<FXNamedMutex> before(new FXNamedMutex("TableLocksTest keep"));
    ret.m_pMutex = before;
    EXPECT_FALSE(mgr().LockTable(LockTableArgs_t(ReplicationMgr::TOTAL_LOCKS), ret));
    EXPECT_EQ(before, ret.m_pMutex);
}

TEST_F(TableLocksTest, FailuresAreLoggedWhateverTheVerboseLevel)
{
    ZXPlatformInfo::setValue("~ReplicationMgr", "VerboseLevel", "7");
    ReplicationMgr quiet(&m_session);
    EvDebug::clearEntries();
    LockTableRet_t ret;
    EXPECT_FALSE(quiet.LockTable(LockTableArgs_t(9), ret));
    EXPECT_FALSE(quiet.UnlockTable(UnlockTableArgs_t(boost::shared_ptr<FXNamedMutex>())));
    std::vector<std::string> log = EvDebug::entries();
    ASSERT_EQ(2u, log.size());
    EXPECT_NE(std::string::npos, log[0].find("\n\tTableId = 9\n"));
    EXPECT_NE(std::string::npos, log[1].find("\tWarning: mutex is NULL\n"));
}

TEST_F(TableLocksTest, EachIdTakesTheMutexOfItsName)
{
    for (int id = 0; id < ReplicationMgr::TOTAL_LOCKS; ++id) {
        SCOPED_TRACE(kLockNames[id]);
        LockTableRet_t ret;
        ASSERT_TRUE(mgr().LockTable(LockTableArgs_t(id), ret));
        ASSERT_TRUE(ret.m_pMutex);
        EXPECT_EQ(1, ret.m_pMutex->GetLockCnt());
        EXPECT_TRUE(ret.m_sErrorMsg.empty());
        EXPECT_FALSE(nameIsFree(kLockNames[id]));
        // The other names stay free.
        EXPECT_TRUE(nameIsFree(kLockNames[(id + 1) % ReplicationMgr::TOTAL_LOCKS]));

        UnlockTableArgs_t unlockArgs(ret.m_pMutex);
        EXPECT_TRUE(mgr().UnlockTable(unlockArgs));
        EXPECT_TRUE(nameIsFree(kLockNames[id]));
    }
    EXPECT_TRUE(EvDebug::entries().empty());
}

TEST_F(TableLocksTest, BlockFilterQueryAndYBVolumeAreTheNamesOfIds7And0)
{
    ZxNamedMutex blk("BlockFilterQuery");
    ZxNamedMutex vol("YB Volume");
    ASSERT_TRUE(blk.lock(1));
    ASSERT_TRUE(vol.lock(1));
    auto failsElsewhere = [this](int id) {
        return onOtherThread([this, id] {
            LockTableRet_t ret;
            bool ok = mgr().LockTable(LockTableArgs_t(id), ret);
            if (ok) mgr().UnlockTable(UnlockTableArgs_t(ret.m_pMutex));
            return ok ? std::string() : ret.m_sErrorMsg;
        });
    };
    EXPECT_EQ("Cannot have exclusive access to BlockFilterQuery", failsElsewhere(ReplicationMgr::BLK_FILTER_QUERY_LOCK));
    EXPECT_EQ("Cannot have exclusive access to YB Volume", failsElsewhere(ReplicationMgr::REPLICAVOL_LOCK));
    blk.unlock();
    vol.unlock();
    EXPECT_EQ("", failsElsewhere(ReplicationMgr::BLK_FILTER_QUERY_LOCK));
    EXPECT_EQ("", failsElsewhere(ReplicationMgr::REPLICAVOL_LOCK));
}

TEST_F(TableLocksTest, LockHeldElsewhereTimesOutWithMinus8)
{
    LockHolder holder(mgr(), ReplicationMgr::SNRVOL_LOCK);
    ASSERT_TRUE(holder.locked());
    EvDebug::clearEntries();

    LockTableRet_t ret;
    Clock::time_point start = Clock::now();
    EXPECT_FALSE(mgr().LockTable(LockTableArgs_t(ReplicationMgr::SNRVOL_LOCK), ret));
    EXPECT_GE(msSince(start), 55);  // the scaled 60000 ms
    EXPECT_EQ(-8, ret.m_nErrorCode);
    EXPECT_EQ("Cannot have exclusive access to SNR Volume", ret.m_sErrorMsg);
    // The result keeps the new mutex object, not locked.
    ASSERT_TRUE(ret.m_pMutex);
    EXPECT_EQ(0, ret.m_pMutex->GetLockCnt());
    EXPECT_EQ(0u, ret.m_pMutex->GetLockOwner());

    std::vector<std::string> log = EvDebug::entries();
    ASSERT_EQ(1u, log.size());
    EXPECT_NE(std::string::npos,
              log[0].find("] -> ReplicationMgr::LockMutex()\n\tEvent: Cannot have exclusive access to SNR Volume"
                          "\n\tWaitForSingleObject() Windows API call failed\n\tParameters used:"
                          "\n\tTimeout: 60000\n\tTableId: 1\n"))
        << log[0];

    holder.release();
    LockTableRet_t again;
    ASSERT_TRUE(mgr().LockTable(LockTableArgs_t(ReplicationMgr::SNRVOL_LOCK), again));
    EXPECT_TRUE(mgr().UnlockTable(UnlockTableArgs_t(again.m_pMutex)));
}

TEST_F(TableLocksTest, OwningThreadTakesTheLockAgain)
{
    LockTableRet_t first;
    LockTableRet_t second;
    ASSERT_TRUE(mgr().LockTable(LockTableArgs_t(ReplicationMgr::SNRVOL_LOCK), first));
    ASSERT_TRUE(mgr().LockTable(LockTableArgs_t(ReplicationMgr::SNRVOL_LOCK), second));  // else refused after its wait
    EXPECT_NE(first.m_pMutex, second.m_pMutex);

    EXPECT_TRUE(mgr().UnlockTable(UnlockTableArgs_t(second.m_pMutex)));
    EXPECT_FALSE(nameIsFree("SNR Volume"));
    EXPECT_TRUE(mgr().UnlockTable(UnlockTableArgs_t(first.m_pMutex)));
    EXPECT_TRUE(nameIsFree("SNR Volume"));
}

TEST_F(TableLocksTest, UnlockWithoutMutexFailsWithAWarning)
{
    UnlockTableArgs_t none{boost::shared_ptr<FXNamedMutex>()};
    EXPECT_FALSE(mgr().UnlockTable(none));
    std::vector<std::string> log = EvDebug::entries();
    ASSERT_EQ(1u, log.size());
    EXPECT_EQ(0u, log[0].find("ReplicationMgrUtils["));
    EXPECT_NE(std::string::npos, log[0].find("] -> ReplicationMgr::UnlockMutex()\n\tWarning: mutex is NULL\n"));
    EXPECT_EQ(std::string::npos, log[0].find("Event:"));
}

TEST_F(TableLocksTest, DroppingTheResultAfterUnlockDoesNotUnlockAgain)
{
    LockTableRet_t outer;
    ASSERT_TRUE(mgr().LockTable(LockTableArgs_t(ReplicationMgr::TMPSNRVOL_LOCK), outer));
    boost::weak_ptr<FXNamedMutex> watch;
    {
        LockTableRet_t inner;
        ASSERT_TRUE(mgr().LockTable(LockTableArgs_t(ReplicationMgr::TMPSNRVOL_LOCK), inner));
        watch = inner.m_pMutex;
        UnlockTableArgs_t unlockArgs(inner.m_pMutex);
        EXPECT_TRUE(mgr().UnlockTable(unlockArgs));
        EXPECT_FALSE(watch.expired());  // shared by the result and the argument
        EXPECT_EQ(inner.m_pMutex, unlockArgs.m_pMutex);
    }
    EXPECT_TRUE(watch.expired());
    // The level of the outer lock is still held.
    EXPECT_FALSE(nameIsFree("TmpSNRVol"));
    EXPECT_EQ(1, outer.m_pMutex->GetLockCnt());
    EXPECT_TRUE(mgr().UnlockTable(UnlockTableArgs_t(outer.m_pMutex)));
    EXPECT_TRUE(nameIsFree("TmpSNRVol"));
}

// ---------------------------------------------------------------------------

unsigned int ownId()
{
    return static_cast<unsigned int>(GetCurrentThreadId());
}

class SyncTest : public ::testing::Test {
protected:
    void SetUp() override { ZxNamedMutex::setWaitScale(0.001); }
    void TearDown() override { ZxNamedMutex::setWaitScale(1.0); }
};

TEST_F(SyncTest, TimeIntervalMillisecondsTruncateTowardZero)
{
    EXPECT_EQ(60000, CTimeInterval::FromSeconds(60).AsMilliseconds());
    EXPECT_EQ(-1, CTimeInterval(-15000).AsMilliseconds());
    EXPECT_EQ(0, CTimeInterval(-9999).AsMilliseconds());
    EXPECT_EQ(1, CTimeInterval(19999).AsMilliseconds());
    EXPECT_EQ(-30000, CTimeInterval::FromSeconds(-30).AsMilliseconds());
    EXPECT_EQ(86400000LL * 365 * 100, CTimeInterval::FromSeconds(86400LL * 365 * 100).AsMilliseconds());
}

TEST_F(SyncTest, PlatformFunctions)
{
    EXPECT_EQ(static_cast<unsigned long>(pthread_self()), GetCurrentThreadId());
    unsigned long mine = GetCurrentThreadId();
    EXPECT_NE(mine, onOtherThread([] { return GetCurrentThreadId(); }));
    errno = ENOENT;
    EXPECT_EQ(ENOENT, GetLastError());
    errno = 0;
}

TEST_F(SyncTest, NamedMutexKeepsItsOwnerUntilTheLastLevelIsReleased)
{
    FXNamedMutex m("SyncTest nested");
    EXPECT_EQ(0u, m.GetLockOwner());
    ASSERT_TRUE(m.TryLock());
    ASSERT_TRUE(m.TryLock(CTimeInterval::FromSeconds(1)));
    EXPECT_EQ(ownId(), m.GetLockOwner());
    EXPECT_EQ(2, m.GetLockCnt());
    m.Unlock();
    EXPECT_EQ(ownId(), m.GetLockOwner());
    EXPECT_FALSE(nameIsFree("SyncTest nested"));
    m.Unlock();
    EXPECT_EQ(0u, m.GetLockOwner());
    EXPECT_TRUE(nameIsFree("SyncTest nested"));
}

TEST_F(SyncTest, NamedMutexTimedLocksFailWhileHeldElsewhere)
{
    FXNamedMutex held("SyncTest held");
    held.Lock();
    EXPECT_EQ(ownId(), held.GetLockOwner());
    bool results[3] = {true, true, true};
    std::thread([&results] {
        FXNamedMutex other("SyncTest held");
        results[0] = other.TryLock();
        results[1] = other.TryLock(CTimeInterval::FromSeconds(1));
        // A negative span must not turn into an endless wait.
        results[2] = other.TryLock(CTimeInterval(-15000));
        EXPECT_EQ(0u, other.GetLockOwner());
    }).join();
    EXPECT_FALSE(results[0]);
    EXPECT_FALSE(results[1]);
    EXPECT_FALSE(results[2]);

    // Lock() waits without limit for the release.
    int levels = 0;
    BlockingCall waiter([&levels] {
        FXNamedMutex other("SyncTest held");
        other.Lock();
        levels = other.GetLockCnt();
        other.Unlock();
    });
    EXPECT_TRUE(waiter.blocks());
    held.Unlock();
    waiter.join();
    EXPECT_EQ(1, levels);
}

TEST_F(SyncTest, CriticalSectionIsRecursiveAndClearsItsOwnerOnEveryUnlock)
{
    FXCriticalSection cs;
    cs.Lock();
    ASSERT_TRUE(cs.TryLock());
    EXPECT_EQ(ownId(), cs.GetLockOwner());
    bool elsewhere = onOtherThread([&cs] {
        bool got = cs.TryLock(CTimeInterval::FromSeconds(0));
        if (got) cs.Unlock();
        return got;
    });
    EXPECT_FALSE(elsewhere);
    cs.Unlock();
    EXPECT_EQ(0u, cs.GetLockOwner());  // cleared although a level remains
    EXPECT_FALSE(onOtherThread([&cs] {
        bool got = cs.TryLock();
        if (got) cs.Unlock();
        return got;
    }));
    cs.Unlock();
    EXPECT_TRUE(onOtherThread([&cs] {
        bool got = cs.TryLock(CTimeInterval::FromSeconds(1));
        if (got) cs.Unlock();
        return got;
    }));
}

TEST_F(SyncTest, CriticalSectionGuardHoldsTheSectionForItsScope)
{
    ZxCriticalSection cs;
    auto freeElsewhere = [&cs] {
        return onOtherThread([&cs] {
            bool got = cs.enter(false);
            if (got) cs.leave();
            return got;
        });
    };
    {
        ZxCriticalSectionLock guard(&cs);
        EXPECT_FALSE(freeElsewhere());
        {
            ZxCriticalSectionLock nested(&cs);  // the holder may enter again
            ZxCriticalSectionLock none(nullptr);
        }
        EXPECT_FALSE(freeElsewhere());
    }
    EXPECT_TRUE(freeElsewhere());
    {
        ZxCriticalSectionLock none(nullptr);  // enters nothing
        EXPECT_TRUE(freeElsewhere());
    }
    EXPECT_TRUE(freeElsewhere());  // and leaves nothing
}

TEST_F(SyncTest, SemaphoreCountsWaitsAndReleases)
{
    ZxSemaphore sem(1);
    sem.wait();
    BlockingCall waiter([&sem] { sem.wait(); });
    EXPECT_TRUE(waiter.blocks());
    EXPECT_TRUE(sem.release(1));
    waiter.join();
}

}  // namespace
