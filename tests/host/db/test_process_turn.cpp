// The turn among the processes writing one catalogue: each test forks the
// processes that wait beside the test's own; the side file's making.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "host/EvDebug.h"
#include "host/db/DBLogEpisode.h"
#include "host/db/DBProcStat.h"
#include "host/db/DBProcessTurn.h"
#include "host/db/DBRobustMutex.h"
#include "host/db/DBSideFile.h"
#include "support/HoldingProcess.h"
#include "support/TestCatalogue.h"

namespace {

using std::chrono::milliseconds;

using ProcessTurnForkTest = CatalogueTest;

// Exit status of a child process, -1 when it did not exit by itself.
int exitStatus(pid_t child)
{
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// A forked process that waits for the turn, tells whether it came ('y',
// giving it back at once, or 'n') and lives on until the test ends it.
struct TellingWaiter {
    pid_t pid = -1;
    int told = -1;  // what it tells
    int end = -1;   // closed to end it

    bool start(DBProcessTurn& turn, milliseconds timeout)
    {
        int tell[2];
        int live[2];
        if (pipe(tell) != 0 || pipe(live) != 0) return false;
        pid = fork();
        if (pid == 0) {
            close(tell[0]);
            close(live[1]);
            const bool entered = turn.enter(timeout);
            if (entered) turn.leave();
            const char result = entered ? 'y' : 'n';
            char wait = 0;
            _exit(write(tell[1], &result, 1) == 1 && read(live[0], &wait, 1) >= 0 ? 0 : 1);
        }
        close(tell[1]);
        close(live[0]);
        told = tell[0];
        end = live[1];
        return pid > 0;
    }
    // What it told within 20 s; 0 when nothing.
    char result()
    {
        pollfd p{told, POLLIN, 0};
        char c = 0;
        return poll(&p, 1, 20000) == 1 && read(told, &c, 1) == 1 ? c : 0;
    }
    // Ends it: its exit status, -1 when it did not exit by itself.
    int finish()
    {
        close(end);
        end = -1;
        const int status = exitStatus(pid);
        pid = -1;
        return status;
    }
    ~TellingWaiter()
    {
        if (pid > 0) kill(pid, SIGKILL);
        if (pid > 0) waitpid(pid, nullptr, 0);
        for (int fd : {told, end})
            if (fd >= 0) close(fd);
    }
};

// A process that ends while it holds the turn does not keep it.
TEST_F(ProcessTurnForkTest, AProcessEndingWithTheTurnIsPassedOver)
{
    auto turn = DBProcessTurn::of(m_path);
    ASSERT_TRUE(turn);
    const pid_t holder = fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) _exit(turn->enter(milliseconds(10000)) ? 0 : 1);  // ends holding it
    ASSERT_EQ(exitStatus(holder), 0);
    EXPECT_TRUE(turn->enter(milliseconds(10000)));
    turn->leave();
}

// A process that gave up waiting is passed over: the turn goes from the
// holder to the process that queued after it.
TEST_F(ProcessTurnForkTest, AProcessThatGaveUpIsPassedOver)
{
    auto turn = DBProcessTurn::of(m_path);
    ASSERT_TRUE(turn);
    ASSERT_TRUE(turn->enter(milliseconds(1000)));
    // It gives up, then lives on until the end of the test.
    TellingWaiter late;
    ASSERT_TRUE(late.start(*turn, milliseconds(50)));
    EXPECT_EQ(late.result(), 'n');
    const unsigned long long givenUpBefore = turn->givenUpPassedOver();
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t next = fork();
    ASSERT_GE(next, 0);
    if (next == 0) {
        close(ready[0]);
        const bool entered = turn->enter(milliseconds(20000));
        const char done = entered ? 'y' : 'n';
        if (write(ready[1], &done, 1) != 1) _exit(2);
        if (entered) turn->leave();
        _exit(entered ? 0 : 1);
    }
    close(ready[1]);
    turn->leave();
    char done = 0;
    ASSERT_EQ(read(ready[0], &done, 1), 1);
    close(ready[0]);
    EXPECT_EQ(done, 'y');
    EXPECT_EQ(exitStatus(next), 0);
    EXPECT_EQ(turn->givenUpPassedOver() - givenUpBefore, 1u);
    // Free again for this process.
    EXPECT_TRUE(turn->enter(milliseconds(0)));
    turn->leave();
    EXPECT_EQ(late.finish(), 0);
}

// A process that waits while another holds the turn gives up in time.
TEST_F(ProcessTurnForkTest, AWaitEndsWithItsTimeout)
{
    auto turn = DBProcessTurn::of(m_path);
    ASSERT_TRUE(turn);
    int release[2];
    ASSERT_EQ(pipe(release), 0);
    int held[2];
    ASSERT_EQ(pipe(held), 0);
    const pid_t holder = fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        close(release[1]);
        close(held[0]);
        if (!turn->enter(milliseconds(10000))) _exit(1);
        const char yes = 'y';
        if (write(held[1], &yes, 1) != 1) _exit(2);
        char go = 0;
        if (read(release[0], &go, 1) != 1) _exit(3);
        turn->leave();
        _exit(0);
    }
    close(release[0]);
    close(held[1]);
    char yes = 0;
    ASSERT_EQ(read(held[0], &yes, 1), 1);
    EXPECT_FALSE(turn->enter(milliseconds(50)));
    const char go = 'g';
    ASSERT_EQ(write(release[1], &go, 1), 1);
    EXPECT_EQ(exitStatus(holder), 0);
    EXPECT_TRUE(turn->enter(milliseconds(10000)));
    turn->leave();
    close(release[1]);
    close(held[0]);
}

// Whether the process sleeps in a futex wait: the wait for the turn, in a
// process of one thread that waits for nothing else.
bool SleepsInAFutexWait(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/syscall");
    long number = -1;
    return static_cast<bool>(in >> number) && number == SYS_futex;
}

// Forks a process that waits up to a minute for the turn, gives it back and
// exits 0 when it came; its id once it sleeps in its wait, -1 when it never
// did within 20 s.
pid_t StartSleepingWaiter(DBProcessTurn& turn)
{
    const pid_t waiter = fork();
    if (waiter == 0) {
        const bool entered = turn.enter(milliseconds(60000));
        if (entered) turn.leave();
        _exit(entered ? 0 : 1);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (waiter > 0 && !SleepsInAFutexWait(waiter) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(milliseconds(1));
    if (waiter <= 0 || SleepsInAFutexWait(waiter)) return waiter;
    kill(waiter, SIGKILL);
    waitpid(waiter, nullptr, 0);
    return -1;
}

// True once the pipe end has something to read (or was closed) within the
// time given.
bool Readable(int fd, std::chrono::milliseconds within)
{
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, static_cast<int>(within.count())) == 1;
}

// A process that takes the turn, then at each byte it reads ('l': leave,
// 'e': enter, 'q': quit) does as told and tells it did.
struct Holder {
    pid_t pid = -1;
    int told = -1;  // what it tells
    int go = -1;    // what it reads

    bool start(DBProcessTurn& turn)
    {
        int tell[2];
        int read[2];
        if (pipe(tell) != 0 || pipe(read) != 0) return false;
        pid = fork();
        if (pid == 0) {
            char c = 'e';
            do {
                if (c == 'l') turn.leave();
                if (c == 'e' && !turn.enter(milliseconds(10000))) _exit(1);
                if (write(tell[1], &c, 1) != 1) _exit(2);
            } while (::read(read[0], &c, 1) == 1 && c != 'q');
            _exit(0);
        }
        close(tell[1]);
        close(read[0]);
        told = tell[0];
        go = read[1];
        return pid > 0 && told_within();
    }
    // Tells it what to do; false when it did not tell it did within 20 s.
    bool step(char what) { return write(go, &what, 1) == 1 && told_within(); }
    bool told_within()
    {
        char c = 0;
        return Readable(told, milliseconds(20000)) && read(told, &c, 1) == 1;
    }
    ~Holder()
    {
        if (pid > 0) kill(pid, SIGKILL);
        if (pid > 0) waitpid(pid, nullptr, 0);
        for (int fd : {told, go})
            if (fd >= 0) close(fd);
    }
};

// A process killed while it waits for the turn stops neither the holder's
// leave nor the next waiter's enter, however often the turn passes after
// it. The holder is a process of its own, so that a leave that never
// returns fails the test instead of hanging it.
TEST_F(ProcessTurnForkTest, AWaiterKilledInItsWaitStopsNeitherTheLeaveNorTheNextEnter)
{
    auto turn = DBProcessTurn::of(m_path);
    ASSERT_TRUE(turn);
    Holder holder;
    ASSERT_TRUE(holder.start(*turn));
    const pid_t killed = StartSleepingWaiter(*turn);
    ASSERT_GT(killed, 0) << "the waiter never slept in its wait";
    kill(killed, SIGKILL);
    ASSERT_EQ(waitpid(killed, nullptr, 0), killed);
    for (int round = 1; round <= 3; ++round) {
        // Each time the holder gives the turn back, another process waits.
        const pid_t next = StartSleepingWaiter(*turn);
        ASSERT_GT(next, 0) << "the waiter never slept in its wait";
        const bool left = holder.step('l');
        if (!left) kill(next, SIGKILL);
        EXPECT_EQ(exitStatus(next), left ? 0 : -1);
        ASSERT_TRUE(left) << "the holder's leave did not return within 20 s, " << round
                          << " turn(s) after a waiter was killed in its wait";
        ASSERT_TRUE(holder.step('e')) << "the holder did not take the turn again within 20 s";
    }
    ASSERT_TRUE(holder.step('l'));
    char quit = 'q';
    ASSERT_EQ(write(holder.go, &quit, 1), 1);
    EXPECT_EQ(exitStatus(holder.pid), 0);
    holder.pid = -1;
    EXPECT_TRUE(turn->enter(milliseconds(10000)));
    turn->leave();
}

// A process that dies after writing the slot of the ticket it draws, before
// the ticket is given out (holding the side file's lock), leaves the queue
// as it was: the slot it wrote names no ticket, and no ticket names an older
// slot. The slots all name this process first, as a ticket given out before
// its slot was written would find its slot.
TEST_F(ProcessTurnForkTest, AProcessDyingAsItDrawsATicketLeavesTheQueueAsItWas)
{
    auto turn = DBProcessTurn::of(m_path);
    ASSERT_TRUE(turn);
    for (int i = 0; i < 1024; ++i) {
        ASSERT_TRUE(turn->enter(milliseconds(1000)));
        turn->leave();
    }
    const pid_t dying = fork();
    ASSERT_GE(dying, 0);
    if (dying == 0) {
        DBProcessTurn::setBeforeTicketGivenOut([] { _exit(0); });
        turn->enter(milliseconds(1000));
        _exit(1);
    }
    ASSERT_EQ(exitStatus(dying), 0);
    EXPECT_TRUE(turn->enter(milliseconds(2000)));
    turn->leave();
}

// A process that ended while it held the turn and is not yet reaped (a
// zombie) is passed over.
TEST_F(ProcessTurnForkTest, AProcessEndedButNotYetReapedIsPassedOver)
{
    auto turn = DBProcessTurn::of(m_path);
    ASSERT_TRUE(turn);
    const pid_t holder = fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) _exit(turn->enter(milliseconds(10000)) ? 0 : 1);
    siginfo_t info{};
    ASSERT_EQ(waitid(P_PID, static_cast<id_t>(holder), &info, WEXITED | WNOWAIT), 0);
    ASSERT_EQ(info.si_status, 0);
    EXPECT_TRUE(turn->enter(milliseconds(5000)));
    turn->leave();
    EXPECT_EQ(exitStatus(holder), 0);
}

// The side file as a process of an earlier version left it while it used
// the file: its queue stuck behind tickets of this process, which lives, and
// with its turn free; such a process held no lock of the file. The bytes of
// the episodes' page are a pattern.
struct EarlierLayout {
    uint32_t magic;
    pthread_mutex_t mutex;
    pthread_cond_t turnPassed;
    uint64_t next;
    uint64_t serving;
    pid_t holder;
    struct {
        pid_t pid;
        int32_t gaveUp;
    } slots[256];
};

void WriteEarlierLayout(const std::string& file)
{
    std::vector<uint32_t> words(2 * DBSideFile::kPageBytes / sizeof(uint32_t), 0);
    EarlierLayout earlier;
    std::memset(static_cast<void*>(&earlier), 0, sizeof earlier);
    earlier.magic = 0x52504d57;
    earlier.next = 5;
    for (int i = 0; i < 5; ++i) earlier.slots[i].pid = getpid();
    std::memcpy(words.data(), &earlier, sizeof earlier);
    for (size_t i = DBSideFile::kPageBytes / sizeof(uint32_t); i < words.size(); ++i)
        words[i] = 0xA5A50000u + static_cast<uint32_t>(i);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(words.data()), static_cast<std::streamsize>(words.size() * 4));
}

// The side file as a process of this version but of another ABI would make
// it: every page's layout words but their sizes as this one's. The rest of
// the bytes are a pattern.
void WriteOtherSizes(const std::string& file)
{
    std::vector<uint32_t> words(2 * DBSideFile::kPageBytes / sizeof(uint32_t), 0);
    for (size_t i = 0; i < words.size(); ++i) words[i] = 0xA5A50000u + static_cast<uint32_t>(i);
    const DBSideFileLayout layouts[] = {DBProcessTurn::pageLayout(), DBLogEpisode::pageLayout()};
    for (size_t page = 0; page < 2; ++page) {
        const size_t at = page * DBSideFile::kPageBytes / sizeof(uint32_t);
        words[at] = layouts[page].tag;
        words[at + 1] = layouts[page].sizes ^ 0x100;  // its state 1 byte longer or shorter
    }
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(words.data()), static_cast<std::streamsize>(words.size() * 4));
}

// The side file's bytes are those that WriteOtherSizes wrote.
bool OtherSizesKept(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    std::vector<uint32_t> words(2 * DBSideFile::kPageBytes / sizeof(uint32_t), 0);
    in.read(reinterpret_cast<char*>(words.data()), static_cast<std::streamsize>(words.size() * 4));
    if (in.gcount() != static_cast<std::streamsize>(words.size() * 4)) return false;
    for (size_t i = 0; i < words.size(); ++i)
        if (i % (DBSideFile::kPageBytes / sizeof(uint32_t)) >= 2 && words[i] != 0xA5A50000u + static_cast<uint32_t>(i))
            return false;
    return true;
}

// Whether the entry saying the side file is not used as the writers' queue,
// for `reason`, was written.
bool RefusalLogged(const std::string& file, const std::string& reason)
{
    for (const std::string& entry : EvDebug::entries())
        if (entry.find("Cannot use " + file + " as the writers' queue: " + reason) != std::string::npos) return true;
    return false;
}

using ProcessTurnSideFileTest = CatalogueTest;

// A process of an earlier version holds no lock while it uses the side
// file: a process of this version that opens the catalogue meanwhile finds
// itself alone and makes the pages anew under it (which is why an earlier
// version must have ended first). A process of this version but of another
// ABI holds the file's shared lock: its pages, whose layout words carry
// other sizes, are refused while it uses them (the reason logged, the file
// left as it was), and made anew once it ended.
TEST_F(ProcessTurnSideFileTest, AnEarlierLayoutIsMadeAnewAndAnotherABIsPagesRefusedWhileInUse)
{
    const std::string path = m_dir + "/other.db";  // no connection of the library on it
    const std::string file = DBSideFile::pathOf(path);
    WriteEarlierLayout(file);
    {
        auto turn = DBProcessTurn::of(path);
        ASSERT_TRUE(turn);
        ASSERT_TRUE(turn->enter(milliseconds(2000)));
        turn->leave();
        EXPECT_TRUE(DBLogEpisode::of(path)->shared());
    }

    WriteOtherSizes(file);
    const int user = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(user, 0);
    ASSERT_EQ(flock(user, LOCK_SH), 0);  // the other process's use
    EvDebug::clearEntries();
    EXPECT_FALSE(DBProcessTurn::of(path));
    EXPECT_TRUE(RefusalLogged(file, "another process uses it in another layout"));
    EXPECT_FALSE(DBLogEpisode::of(path)->shared());
    EXPECT_TRUE(OtherSizesKept(file));
    close(user);
    auto turn = DBProcessTurn::of(path);
    ASSERT_TRUE(turn);
    EXPECT_TRUE(turn->enter(milliseconds(2000)));
    turn->leave();
    EXPECT_FALSE(OtherSizesKept(file));
    unlink(file.c_str());
}

// The entries written since the last clearing that hold `text`.
int Entries(const std::string& text)
{
    int entries = 0;
    for (const std::string& entry : EvDebug::entries())
        if (entry.find(text) != std::string::npos) ++entries;
    return entries;
}

// The longest a wait beside a holder that does not go on may take: the side
// file's own wait, and a margin for a machine loaded four times over (far
// below the writer's deadline of 10 s that the waits below are given).
const double kBoundSeconds = std::chrono::duration<double>(kSideFileLockWait).count() + 2.0;

// Beside a process that holds the writers' queue's mutex and does not go
// on, a writer with a deadline of 10 s returns within the side file's wait,
// going on without the queue, and so does the next one; one entry says what
// happened: the text that `entry` gives for the holder's pid.
void ExpectEnterBeside(const std::string& path, HoldingProcess::How how,
                       const std::function<std::string(pid_t)>& entry)
{
    auto turn = DBProcessTurn::of(path);
    ASSERT_TRUE(turn);
    HoldingProcess holder(how, [&turn] {
        DBProcessTurn::setBeforeTicketGivenOut([] { HoldingProcess::holdHere(); });
        turn->enter(milliseconds(1000));
    });
    ASSERT_TRUE(holder.holding());
    EvDebug::clearEntries();
    for (int writer = 1; writer <= 2; ++writer) {
        bool entered = false;
        const double took = holder.timed([&] { entered = turn->enter(milliseconds(10000)); });
        EXPECT_GE(took, 0) << "enter returned only once the holding process was killed (writer " << writer << ")";
        EXPECT_LT(took, kBoundSeconds) << "writer " << writer;
        EXPECT_TRUE(entered) << "writer " << writer;
        turn->leave();
    }
    const std::string text = entry(holder.pid());
    EXPECT_EQ(Entries(text), 1) << text;
    holder.end();
    EXPECT_TRUE(turn->enter(milliseconds(2000)));
    turn->leave();
}

// A process stopped while it holds the writers' queue's mutex holds no
// other process past the side file's wait, whatever their deadline, and is
// named as stopped. One stopped while it holds the side file's set-up lock
// holds the opening of that catalogue no longer than the set-up lock's wait,
// and the opening of another catalogue not at all.
TEST_F(ProcessTurnForkTest, AStoppedHolderOfALockOfTheSideFileHoldsNoOnePastTheirDeadline)
{
    ExpectEnterBeside(m_path, HoldingProcess::kStops, [](pid_t holder) {
        return "is held by process " + std::to_string(holder) + ", which is stopped";
    });

    const std::string stuck = m_dir + "/stuck.db";
    HoldingProcess setUp(HoldingProcess::kStops, [&stuck] {
        const int fd = open(DBSideFile::pathOf(stuck).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        struct flock range = {};
        range.l_type = F_WRLCK;
        range.l_whence = SEEK_SET;
        range.l_len = 1;
        if (fd >= 0 && fcntl(fd, F_OFD_SETLK, &range) == 0) HoldingProcess::holdHere();
    });
    ASSERT_TRUE(setUp.holding());
    std::atomic<bool> opened{false};
    std::atomic<bool> otherOpenedFirst{false};
    const double took = setUp.timed([&] {
        std::thread other([&] {
            // Another catalogue, opened while the stuck one waits.
            otherOpenedFirst.store(DBProcessTurn::of(m_dir + "/free.db") != nullptr && !opened.load());
        });
        EXPECT_FALSE(DBProcessTurn::of(stuck));
        opened.store(true);
        other.join();
    });
    EXPECT_GE(took, 0) << "the catalogue opened only once the stopped process was killed";
    EXPECT_LT(took, kBoundSeconds);
    EXPECT_TRUE(otherOpenedFirst.load());
    unlink(DBSideFile::pathOf(stuck).c_str());
    unlink(DBSideFile::pathOf(m_dir + "/free.db").c_str());
}

// A process that holds the queue's mutex and runs without giving it back (a
// frozen container's process shows state D, not stopped) holds no other
// process past the side file's wait either.
TEST_F(ProcessTurnForkTest, AHolderOfTheQueuesMutexThatRunsOnHoldsNoOnePastTheSideFilesWait)
{
    ExpectEnterBeside(m_path, HoldingProcess::kSleeps, [](pid_t) {
        return std::string("was not had within 1000 ms: a process holding it does not go on");
    });
}

// The queue's mutex of the catalogue at path.
DBRobustMutex& QueueMutex(const std::string& path)
{
    std::shared_ptr<DBSideFile> side = DBSideFile::of(path, nullptr);
    return static_cast<DBSideFilePageHead*>(side->page(DBSideFile::kTurnPage))->mutex;
}

// The thread id of the calling thread.
pid_t ThisThread()
{
    return static_cast<pid_t>(syscall(SYS_gettid));
}

// Whether the thread of this process sleeps in a futex wait.
bool ThreadSleepsInAFutexWait(pid_t thread)
{
    std::ifstream in("/proc/self/task/" + std::to_string(thread) + "/syscall");
    long number = -1;
    return static_cast<bool>(in >> number) && number == SYS_futex;
}

// A writer whose deadline passed while it waited for its turn inside the
// process still takes a free turn beside a queue's mutex held for a moment:
// it waits for the mutex, takes the turn (no other process has it
// meanwhile) and writes no entry.
TEST_F(ProcessTurnForkTest, AWriterPastItsDeadlineTakesAFreeTurnBesideAMutexHeldForAMoment)
{
    auto turn = DBProcessTurn::of(m_path);
    ASSERT_TRUE(turn);
    EvDebug::clearEntries();
    std::atomic<pid_t> thread{0};
    std::atomic<bool> returned{false};
    bool entered = false;
    auto held = std::make_unique<DBRobustLock>(QueueMutex(m_path),
                                               std::chrono::steady_clock::now() + std::chrono::seconds(10));
    ASSERT_TRUE(held->held());
    std::thread writer([&] {
        thread.store(ThisThread());
        entered = turn->enter(milliseconds(0));
        returned.store(true);
    });
    // Given back once the writer waits for it (or returned without).
    const auto watch = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!returned.load() && !(thread.load() != 0 && ThreadSleepsInAFutexWait(thread.load())) &&
           std::chrono::steady_clock::now() < watch)
        std::this_thread::sleep_for(milliseconds(1));
    held.reset();
    writer.join();
    EXPECT_TRUE(entered);
    const pid_t other = fork();
    ASSERT_GE(other, 0);
    if (other == 0) _exit(turn->enter(milliseconds(50)) ? 1 : 0);
    EXPECT_EQ(exitStatus(other), 0) << "another process had the turn while this one held it";
    turn->leave();
    EXPECT_EQ(Entries("The writers' queue"), 0);
}

// A writer that goes without the queue, its mutex held by a process that
// does not go on, gives up the ticket it drew: once the mutex is given back,
// the next holder of the turn passes over it, though that writer's process
// lives on.
TEST_F(ProcessTurnForkTest, ATicketGivenUpByAWriterGoingWithoutTheQueueIsPassedOver)
{
    auto turn = DBProcessTurn::of(m_path);
    ASSERT_TRUE(turn);
    ASSERT_TRUE(turn->enter(milliseconds(1000)));
    TellingWaiter without;
    ASSERT_TRUE(without.start(*turn, milliseconds(60000)));
    const auto watch = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!SleepsInAFutexWait(without.pid) && std::chrono::steady_clock::now() < watch)
        std::this_thread::sleep_for(milliseconds(1));
    ASSERT_TRUE(SleepsInAFutexWait(without.pid)) << "the writer never slept in its wait for the turn";
    const unsigned long long before = turn->givenUpPassedOver();
    const unsigned long long endedBefore = turn->passedOver();
    {
        // Held by this process's thread, which runs on: the writer's next
        // look at the queue waits the side file's wait and goes without it.
        DBRobustLock held(QueueMutex(m_path), std::chrono::steady_clock::now() + std::chrono::seconds(10));
        ASSERT_TRUE(held.held());
        EXPECT_EQ(without.result(), 'y') << "the writer did not go without the queue within 20 s";
    }
    turn->leave();
    EXPECT_TRUE(turn->enter(milliseconds(10000))) << "the ticket given up was not passed over";
    turn->leave();
    EXPECT_EQ(turn->givenUpPassedOver() - before, 1u);
    EXPECT_EQ(turn->passedOver(), endedBefore);
    EXPECT_EQ(without.finish(), 0);
}

}  // namespace

namespace {

// A holder is told stopped by the identity it wrote beside the mutex: its
// process, thread and start time. An identity whose start time is not that
// process's names a process that ended, its pid taken again since: that is
// not the holder, and the wait runs out instead.
TEST(RobustLockTest, AHolderIsToldStoppedOnlyByTheIdentityOfItsOwnProcess)
{
    HoldingProcess stopped(HoldingProcess::kStops, [] { HoldingProcess::holdHere(); });
    ASSERT_TRUE(stopped.holding());
    char state = 0;
    uint64_t started = 0;
    ASSERT_TRUE(dbReadProcStat(stopped.pid(), state, started));
    DBRobustMutex mutex;
    ASSERT_EQ(dbInitRobustMutex(mutex, false), 0);
    {
        DBRobustLock held(mutex, std::chrono::steady_clock::now() + std::chrono::seconds(10));
        ASSERT_TRUE(held.held());
        // Its one thread's id is its pid.
        const uint64_t ids = static_cast<uint64_t>(stopped.pid()) << 32 | static_cast<uint32_t>(stopped.pid());
        for (const bool itsOwn : {true, false}) {
            __atomic_store_n(&mutex.holderStarted, itsOwn ? started : started + 1, __ATOMIC_RELEASE);
            __atomic_store_n(&mutex.holderIds, ids, __ATOMIC_RELEASE);
            DBRobustLock::Outcome outcome = DBRobustLock::kHeld;
            pid_t named = 0;
            std::thread waiter([&] {
                DBRobustLock lock(mutex, std::chrono::steady_clock::now() + milliseconds(200));
                outcome = lock.outcome();
                named = lock.stoppedHolder();
            });
            waiter.join();
            EXPECT_EQ(outcome, itsOwn ? DBRobustLock::kHolderStopped : DBRobustLock::kTimedOut)
                << (itsOwn ? "its own start time" : "another start time");
            if (itsOwn) {
                EXPECT_EQ(named, stopped.pid());
            }
        }
    }
    pthread_mutex_destroy(&mutex.mutex);
}

}  // namespace
