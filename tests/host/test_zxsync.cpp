#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "host/ZxSync.h"
#include "support/BlockingCall.h"

namespace {

using Clock = std::chrono::steady_clock;

long long msSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// Keeps a named mutex locked on a thread of its own until release().
class NamedHolder {
public:
    explicit NamedHolder(const char* name)
    {
        std::promise<bool> locked;
        std::future<bool> lockedF = locked.get_future();
        std::future<void> releaseF = m_release.get_future();
        m_thread = std::thread([name, locked = std::move(locked), releaseF = std::move(releaseF)]() mutable {
            ZxNamedMutex m(name);
            locked.set_value(m.lock());
            releaseF.wait();
            m.unlock();
        });
        m_bLocked = lockedF.get();
    }
    ~NamedHolder() { release(); }
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

class ZxNamedMutexTest : public ::testing::Test {
protected:
    void SetUp() override { ZxNamedMutex::setWaitScale(1.0); }
    void TearDown() override { ZxNamedMutex::setWaitScale(1.0); }
};

TEST_F(ZxNamedMutexTest, ObjectsOfOneNameExcludeEachOtherAcrossThreads)
{
    NamedHolder holder("zxsync one name");
    ASSERT_TRUE(holder.locked());

    ZxNamedMutex same("zxsync one name");
    ZxNamedMutex other("zxsync other name");
    EXPECT_FALSE(same.lock(20));
    EXPECT_EQ(0, same.getLockCnt());
    EXPECT_FALSE(same.unlock());  // holds nothing
    EXPECT_TRUE(other.lock(20));  // another name is independent
    EXPECT_TRUE(other.unlock());

    holder.release();
    EXPECT_TRUE(same.lock(20));
    EXPECT_EQ(1, same.getLockCnt());
    EXPECT_TRUE(same.unlock());
}

TEST_F(ZxNamedMutexTest, ObserverSeesTheFirstTakeAndTheLastGiveBack)
{
    std::vector<std::string> seen;
    ZxNamedMutex::setObserver([&seen](const std::string& name, bool held) {
        if (name.compare(0, 14, "zxsync observe") == 0) seen.push_back(name + (held ? " taken" : " given back"));
    });
    {
        ZxNamedMutex a("zxsync observe");
        ZxNamedMutex b("zxsync observe");
        ASSERT_TRUE(a.lock(1));
        ASSERT_TRUE(b.lock(1));  // a second level: not seen
        EXPECT_TRUE(a.unlock());
        EXPECT_TRUE(b.unlock());
        ZxNamedMutex abandoned("zxsync observe abandoned");
        ASSERT_TRUE(abandoned.lock(1));
    }
    ZxNamedMutex::setObserver(nullptr);
    ZxNamedMutex later("zxsync observe");
    ASSERT_TRUE(later.lock(1));
    EXPECT_TRUE(later.unlock());
    EXPECT_EQ(seen, (std::vector<std::string>{"zxsync observe taken", "zxsync observe given back",
                                              "zxsync observe abandoned taken", "zxsync observe abandoned given back"}));
}

TEST_F(ZxNamedMutexTest, RecursiveForTheOwningThreadAndCountedPerObject)
{
    ZxNamedMutex a("zxsync recursive");
    ZxNamedMutex b("zxsync recursive");
    ASSERT_TRUE(a.lock(1));
    ASSERT_TRUE(a.lock(1));
    ASSERT_TRUE(b.lock(1));  // same thread, other object: no wait
    EXPECT_EQ(2, a.getLockCnt());
    EXPECT_EQ(1, b.getLockCnt());

    auto tryFromOtherThread = [] {
        return std::async(std::launch::async, [] {
                   ZxNamedMutex c("zxsync recursive");
                   bool got = c.lock(10);
                   if (got) c.unlock();
                   return got;
               }).get();
    };

    EXPECT_TRUE(a.unlock());
    EXPECT_TRUE(a.unlock());
    EXPECT_FALSE(a.unlock());  // no level left in a
    EXPECT_EQ(0, a.getLockCnt());
    EXPECT_FALSE(tryFromOtherThread());  // b still holds a level
    EXPECT_TRUE(b.unlock());
    EXPECT_TRUE(tryFromOtherThread());
}

TEST_F(ZxNamedMutexTest, OnlyTheOwningThreadUnlocks)
{
    ZxNamedMutex a("zxsync owner only");
    ASSERT_TRUE(a.lock());
    bool unlockedElsewhere = std::async(std::launch::async, [&a] { return a.unlock(); }).get();
    EXPECT_FALSE(unlockedElsewhere);
    EXPECT_EQ(1, a.getLockCnt());
    EXPECT_TRUE(a.unlock());
}

TEST_F(ZxNamedMutexTest, LockWithoutLimitWaitsForTheRelease)
{
    ZxNamedMutex a("zxsync unlimited");
    ASSERT_TRUE(a.lock());
    bool got = false;
    BlockingCall waiter([&got] {
        ZxNamedMutex b("zxsync unlimited");
        got = b.lock();
        b.unlock();
    });
    EXPECT_TRUE(waiter.blocks());
    a.unlock();
    waiter.join();
    EXPECT_TRUE(got);
}

TEST_F(ZxNamedMutexTest, WaitScaleShortensTimedWaits)
{
    NamedHolder holder("zxsync scaled");
    ASSERT_TRUE(holder.locked());
    ZxNamedMutex m("zxsync scaled");

    ZxNamedMutex::setWaitScale(0.001);
    Clock::time_point start = Clock::now();
    EXPECT_FALSE(m.lock(60000));  // 60 ms
    long long elapsed = msSince(start);
    EXPECT_GE(elapsed, 55);
    EXPECT_LT(elapsed, 60000);  // shorter than the unscaled wait
}

TEST_F(ZxNamedMutexTest, DestroyingALockedObjectReleasesItsLevels)
{
    {
        ZxNamedMutex a("zxsync abandoned");
        ASSERT_TRUE(a.lock());
        ASSERT_TRUE(a.lock());
    }
    bool got = std::async(std::launch::async, [] {
                   ZxNamedMutex b("zxsync abandoned");
                   bool ok = b.lock(10);
                   if (ok) b.unlock();
                   return ok;
               }).get();
    EXPECT_TRUE(got);
}

// Waits the real minute; run explicitly with --gtest_also_run_disabled_tests.
TEST_F(ZxNamedMutexTest, DISABLED_TimedWaitLastsTheFullMinute)
{
    NamedHolder holder("zxsync real minute");
    ASSERT_TRUE(holder.locked());
    ZxNamedMutex m("zxsync real minute");
    Clock::time_point start = Clock::now();
    EXPECT_FALSE(m.lock(60000));
    EXPECT_GE(msSince(start), 59900);
}

TEST(ZxCriticalSectionHTest, RecursiveForItsThreadAndExclusiveForOthers)
{
    ZxCriticalSectionH cs;
    ASSERT_TRUE(cs.enter(true));
    ASSERT_TRUE(cs.enter(false));
    auto tryElsewhere = [&cs] {
        return std::async(std::launch::async, [&cs] {
                   bool got = cs.enter(false);
                   if (got) cs.leave();
                   return got;
               }).get();
    };
    EXPECT_FALSE(tryElsewhere());
    cs.leave();
    EXPECT_FALSE(tryElsewhere());
    cs.leave();
    EXPECT_TRUE(tryElsewhere());
}

TEST(ZxSemaphoreHTest, WaitBlocksUntilReleased)
{
    ZxSemaphoreH sem(1);
    sem.wait();
    EXPECT_EQ(0, sem.count());
    EXPECT_FALSE(sem.release(0));
    EXPECT_FALSE(sem.release(-2));
    EXPECT_EQ(0, sem.count());

    BlockingCall a([&sem] { sem.wait(); });
    BlockingCall b([&sem] { sem.wait(); });
    EXPECT_TRUE(a.blocks());
    EXPECT_TRUE(b.blocks());
    EXPECT_TRUE(sem.release(2));
    a.join();
    b.join();
    EXPECT_EQ(0, sem.count());
}

}  // namespace
