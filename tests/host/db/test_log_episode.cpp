// The episodes at the log's hard limit that the processes writing one
// catalogue share in its side file: forked processes stand for the others.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <string>

#include "host/EvDebug.h"
#include "host/db/DBLogEpisode.h"
#include "host/db/DBProcessTurn.h"
#include "host/db/DBRobustMutex.h"
#include "host/db/DBSideFile.h"
#include "support/HoldingProcess.h"
#include "support/TestCatalogue.h"

namespace {

// Episodes of a catalogue no connection uses, beside the test's own: the
// background checkpoints of that one do not touch them.
class LogEpisodeTest : public CatalogueTest {
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        m_file = m_dir + "/episodes.db";
    }
    void TearDown() override
    {
        unlink(DBSideFile::pathOf(m_file).c_str());
        CatalogueTest::TearDown();
    }
    std::string m_file;
};

// Exit status of a child process, -1 when it did not exit by itself.
int exitStatus(pid_t child)
{
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

DBLogGeneration LogOf(uint32_t salt)
{
    DBLogGeneration log;
    log.words[0] = 7;
    log.words[1] = salt;
    log.words[2] = salt * 31;
    return log;
}

// After a give-up in one process, another one begins no wait for the same
// log, and does not write the entry again; a log started again is a new
// episode, with its own entry.
TEST_F(LogEpisodeTest, AGiveUpInOneProcessHoldsTheOthersOffAndIsLoggedOnce)
{
    std::shared_ptr<DBLogEpisode> episode = DBLogEpisode::of(m_file);
    ASSERT_TRUE(episode);
    EXPECT_TRUE(episode->shared());
    DBLogEpisode::Clock::time_point first;
    ASSERT_TRUE(episode->beginWait(LogOf(1), &first));

    const pid_t other = fork();
    ASSERT_GE(other, 0);
    if (other == 0) {
        DBLogEpisode::Clock::time_point since;
        // Its wait began after the first one: the episode's began then.
        if (!episode->beginWait(LogOf(1), &since) || since != first) _exit(1);
        _exit(episode->gaveUp(LogOf(1), 120) ? 0 : 2);
    }
    ASSERT_EQ(exitStatus(other), 0);

    DBLogEpisode::Clock::time_point since;
    EXPECT_TRUE(episode->kept(LogOf(1)));
    EXPECT_FALSE(episode->beginWait(LogOf(1), &since));
    EXPECT_FALSE(episode->gaveUp(LogOf(1), 120)) << "the entry was written twice";

    // The log started again.
    EXPECT_FALSE(episode->kept(LogOf(2)));
    ASSERT_TRUE(episode->beginWait(LogOf(2), &since));
    EXPECT_GE(since, first);
    EXPECT_TRUE(episode->gaveUp(LogOf(2), 30));
}

// The readers that kept the log moved on once a copy beside the writers got
// past the frames copied at the give-up and caught up; a give-up whose count
// was not known (every try found the checkpoint taken elsewhere) takes the
// first copy found as its mark, so that the same readers are not taken as
// moved on.
TEST_F(LogEpisodeTest, TheReadersMovedOnOnlyPastAKnownCountOnceTheCopyCaughtUp)
{
    std::shared_ptr<DBLogEpisode> episode = DBLogEpisode::of(m_file);
    ASSERT_TRUE(episode);
    DBLogEpisode::Clock::time_point since;
    ASSERT_TRUE(episode->beginWait(LogOf(3), &since));
    episode->gaveUp(LogOf(3), -1);
    EXPECT_FALSE(episode->noteCopied(LogOf(3), 500, true)) << "moved on from an unknown count";
    EXPECT_TRUE(episode->kept(LogOf(3)));
    EXPECT_FALSE(episode->noteCopied(LogOf(3), 500, true));
    // Further, but far from copied whole.
    EXPECT_FALSE(episode->noteCopied(LogOf(3), 9000, false));
    EXPECT_TRUE(episode->kept(LogOf(3)));
    EXPECT_TRUE(episode->noteCopied(LogOf(3), 9100, true));
    EXPECT_FALSE(episode->kept(LogOf(3)));

    // The copy that got past the mark took long; the next one finds
    // nothing more to copy (no writes came meanwhile): it caught up.
    episode->gaveUp(LogOf(3), 9100);
    EXPECT_FALSE(episode->noteCopied(LogOf(3), 9900, false));
    EXPECT_TRUE(episode->kept(LogOf(3)));
    EXPECT_TRUE(episode->noteCopied(LogOf(3), 9900, true));
    EXPECT_FALSE(episode->kept(LogOf(3)));
}

// Without a side file each process keeps its episodes alone, and says so
// once.
TEST_F(LogEpisodeTest, WithoutItsSideFileAProcessKeepsItsEpisodesAlone)
{
    EvDebug::clearEntries();
    const std::string path = m_dir + "/no such directory/catalogue.db";
    std::shared_ptr<DBLogEpisode> episode = DBLogEpisode::of(path);
    ASSERT_TRUE(episode);
    EXPECT_FALSE(episode->shared());
    EXPECT_EQ(DBLogEpisode::of(path), episode);
    int entries = 0;
    for (const std::string& entry : EvDebug::entries())
        if (entry.find("for the waits at the log's hard limit") != std::string::npos) ++entries;
    EXPECT_EQ(entries, 1);
    DBLogEpisode::Clock::time_point since;
    ASSERT_TRUE(episode->beginWait(LogOf(4), &since));
    EXPECT_TRUE(episode->gaveUp(LogOf(4), 10));
    EXPECT_TRUE(episode->kept(LogOf(4)));
    EXPECT_FALSE(episode->gaveUp(LogOf(4), 10));
}

}  // namespace

// A side file saved while a thread held the episodes' mutex (as a crash of
// the machine leaves it: the holder is gone, and no process ended holding
// it) stops no process that opens the catalogue afterwards: the first one,
// alone with the file, has the page set up anew.
TEST_F(LogEpisodeTest, APageLeftLockedByACrashIsSetUpAnewByTheFirstProcessAlone)
{
    const std::string other = m_dir + "/crashed.db";
    const std::string saved = DBSideFile::pathOf(other);
    {
        std::shared_ptr<DBLogEpisode> episode = DBLogEpisode::of(m_file);
        ASSERT_TRUE(episode && episode->shared());
        const int fd = open(DBSideFile::pathOf(m_file).c_str(), O_RDWR | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        void* page = mmap(nullptr, 4096, PROT_READ | PROT_WRITE, MAP_SHARED, fd, DBSideFile::kPageBytes);
        ASSERT_NE(page, MAP_FAILED);
        pthread_mutex_t* mutex = &static_cast<DBSideFilePageHead*>(page)->mutex.mutex;
        // Held by a thread that stays alive: nothing tells a waiter it ended.
        ASSERT_EQ(pthread_mutex_lock(mutex), 0);
        std::string bytes(2 * DBSideFile::kPageBytes, '\0');
        const bool copied = pread(fd, &bytes[0], bytes.size(), 0) == static_cast<ssize_t>(bytes.size());
        pthread_mutex_unlock(mutex);
        munmap(page, 4096);
        close(fd);
        ASSERT_TRUE(copied);
        const int out = open(saved.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ASSERT_GE(out, 0);
        ASSERT_EQ(write(out, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        close(out);
    }
    // A process of its own opens that catalogue and reads its episode.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::shared_ptr<DBLogEpisode> episode = DBLogEpisode::of(other);
        _exit(episode && episode->shared() && !episode->kept(LogOf(3)) ? 0 : 1);
    }
    int status = -1;
    for (int i = 0; i < 2000 && waitpid(child, &status, WNOHANG) == 0; ++i) usleep(10000);
    if (waitpid(child, &status, WNOHANG) == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        unlink(saved.c_str());
        FAIL() << "the episode's mutex left held kept a new process waiting for 20 s";
    }
    unlink(saved.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

namespace {

// A process that dies at any store of the episode's start of a new log (the
// mutex held) leaves the page so that the next wait at the hard limit of
// that log still begins: the episode of the log before is over, and the new
// log is not marked as given up.
TEST_F(LogEpisodeTest, AProcessDyingAtAnyStoreOfANewEpisodeLeavesTheNextWaitFree)
{
    std::shared_ptr<DBLogEpisode> episode = DBLogEpisode::of(m_file);
    ASSERT_TRUE(episode && episode->shared());
    for (int store = 1; store <= 8; ++store) {
        // A give-up for the log before, its readers not moved on.
        DBLogEpisode::Clock::time_point since;
        const uint32_t before = 100 + 2 * static_cast<uint32_t>(store);
        ASSERT_TRUE(episode->beginWait(LogOf(before), &since));
        episode->gaveUp(LogOf(before), 50);
        ASSERT_TRUE(episode->kept(LogOf(before)));
        static int dieAt;
        dieAt = store;
        const pid_t dying = fork();
        ASSERT_GE(dying, 0);
        if (dying == 0) {
            DBLogEpisode::setBetweenStores([](int at) {
                if (at == dieAt) _exit(0);
            });
            episode->beginWait(LogOf(before + 1), &since);
            _exit(1);
        }
        ASSERT_EQ(exitStatus(dying), 0) << "store " << store;
        EXPECT_FALSE(episode->kept(LogOf(before + 1))) << "store " << store;
        EXPECT_TRUE(episode->beginWait(LogOf(before + 1), &since)) << "store " << store;
    }
}

// The entries written since the last clearing that hold `text`.
int Entries(const std::string& text)
{
    int entries = 0;
    for (const std::string& entry : EvDebug::entries())
        if (entry.find(text) != std::string::npos) ++entries;
    return entries;
}

// Forks a process that holds the episodes' mutex and does not go on, as
// `how` says.
std::unique_ptr<HoldingProcess> HoldTheMutex(const std::shared_ptr<DBLogEpisode>& episode, HoldingProcess::How how,
                                              uint32_t salt)
{
    return std::make_unique<HoldingProcess>(how, [&episode, salt] {
        DBLogEpisode::setBetweenStores([](int) { HoldingProcess::holdHere(); });
        DBLogEpisode::Clock::time_point when;
        episode->beginWait(LogOf(salt), &when);
    });
}

// The longest a call beside a holder that does not go on may take: the side
// file's own wait, and a margin for a machine loaded four times over.
const double kBoundSeconds = std::chrono::duration<double>(kSideFileLockWait).count() + 2.0;

// A process stopped while it holds the episodes' mutex holds no other
// process past the wait for it: each function returns within that wait,
// the process then keeping its episodes on its own, which it says once,
// naming the stopped process.
TEST_F(LogEpisodeTest, AStoppedHolderOfTheMutexHoldsNoProcessPastTheWaitForIt)
{
    std::shared_ptr<DBLogEpisode> episode = DBLogEpisode::of(m_file);
    ASSERT_TRUE(episode && episode->shared());
    DBLogEpisode::Clock::time_point since;
    ASSERT_TRUE(episode->beginWait(LogOf(5), &since));
    std::unique_ptr<HoldingProcess> stopped = HoldTheMutex(episode, HoldingProcess::kStops, 6);
    HoldingProcess& holder = *stopped;
    ASSERT_TRUE(holder.holding());
    EvDebug::clearEntries();
    const double bound = kBoundSeconds;
    bool began = false;
    bool report = false;
    double took = holder.timed([&] { began = episode->beginWait(LogOf(7), &since); });
    EXPECT_GE(took, 0) << "beginWait returned only once the stopped process was killed";
    EXPECT_LT(took, bound);
    EXPECT_TRUE(began);
    took = holder.timed([&] { report = episode->gaveUp(LogOf(7), 10); });
    EXPECT_GE(took, 0);
    EXPECT_LT(took, bound);
    EXPECT_TRUE(report);
    took = holder.timed([&] { report = episode->kept(LogOf(7)); });
    EXPECT_GE(took, 0);
    EXPECT_TRUE(report);
    took = holder.timed([&] { report = episode->noteCopied(LogOf(7), 20, true); });
    EXPECT_GE(took, 0);
    EXPECT_LT(took, bound);
    EXPECT_EQ(Entries("this process waits on its own until they are had again"), 1);
    EXPECT_EQ(Entries("are held by process " + std::to_string(holder.pid()) + ", which is stopped"), 1);
}

// Each way the episodes' mutex is not had is said as what happened, once
// until it is had again: a holder that runs without giving it back (a
// process of a frozen container) costs the side file's wait; a mutex that
// cannot be had any more (its holder died and the process that had it next
// did not make it consistent) is said to be so.
TEST_F(LogEpisodeTest, AMutexNotHadIsSaidAsWhatHappenedOnceUntilItIsHadAgain)
{
    std::shared_ptr<DBLogEpisode> episode = DBLogEpisode::of(m_file);
    ASSERT_TRUE(episode && episode->shared());
    DBLogEpisode::Clock::time_point since;
    {
        std::unique_ptr<HoldingProcess> holder = HoldTheMutex(episode, HoldingProcess::kSleeps, 8);
        ASSERT_TRUE(holder->holding());
        EvDebug::clearEntries();
        bool began = false;
        const double took = holder->timed([&] { began = episode->beginWait(LogOf(9), &since); });
        EXPECT_GE(took, 0) << "beginWait returned only once the holding process was killed";
        EXPECT_LT(took, kBoundSeconds);
        EXPECT_TRUE(began);
        // Given up on the process's own page.
        EXPECT_GE(holder->timed([&] { episode->gaveUp(LogOf(9), 5); }), 0);
        EXPECT_EQ(Entries("were not had within 1000 ms: this process waits on its own until they are had again"), 1);
    }
    // Its holder killed, the mutex is had again: the shared page is used,
    // where no wait for that log gave up.
    EXPECT_FALSE(episode->kept(LogOf(9))) << "the page of the process's own is still used";

    std::shared_ptr<DBSideFile> side = DBSideFile::of(m_file, nullptr);
    ASSERT_TRUE(side);
    pthread_mutex_t* mutex = &static_cast<DBSideFilePageHead*>(side->page(DBSideFile::kEpisodePage))->mutex.mutex;
    const pid_t dying = fork();
    ASSERT_GE(dying, 0);
    if (dying == 0) _exit(pthread_mutex_lock(mutex) == 0 ? 0 : 1);
    ASSERT_EQ(exitStatus(dying), 0);
    ASSERT_EQ(pthread_mutex_lock(mutex), EOWNERDEAD);
    pthread_mutex_unlock(mutex);  // not made consistent: it cannot be had any more
    EvDebug::clearEntries();
    EXPECT_TRUE(episode->beginWait(LogOf(10), &since));
    EXPECT_TRUE(episode->gaveUp(LogOf(10), 5));
    EXPECT_EQ(Entries("cannot be had (" + std::string(std::strerror(ENOTRECOVERABLE)) + ")"), 1);
    EXPECT_EQ(Entries("The waits at the log's hard limit"), 1);
}

}  // namespace
