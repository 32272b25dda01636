// Writer processes killed (SIGKILL) at random moments, while they hold the
// turn among the processes, wait for it or start up, stop no other process:
// one process registers devices through post without pause all along, and a
// process started after the last kill registers its devices. Every process
// is this test program run again; the test watches them with deadlines, so
// that a wedged turn fails it with a message instead of hanging it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "host/HostJournal.h"
#include "host/db/DBProcessTurn.h"
#include "support/RegisterDevices.h"
#include "support/TestCatalogue.h"
#include "support/TestHost.h"
#include "support/ThisProgramAgain.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// What tells this program, run again, that it is one of the processes: the
// catalogue, its role ("survivor", "writer" or "last") and its number.
const char kCatalogueVar[] = "REPLMGR_KILLED_WRITERS_CATALOGUE";
const char kRoleVar[] = "REPLMGR_KILLED_WRITERS_ROLE";
const char kNumberVar[] = "REPLMGR_KILLED_WRITERS_NUMBER";
// Where a process tells the test of its writes: a '.' per write (the
// survivor) or once its first write is done (a writer), then the survivor's
// result line.
const int kProgressFd = 3;
const int kWriterThreads = 4;
const int kKills = 24;
const int kLastDevices = 10;  // per thread of the process started last
// The longest the surviving process may go without a write: far above what
// it takes, so that a loaded machine passes, far below a wedge.
const milliseconds kLongestPause(10000);

// True once fd has something to read (or its other end closed) within the
// time given.
bool Readable(int fd, milliseconds within = milliseconds(0))
{
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, static_cast<int>(within.count())) == 1;
}

void Tell(const std::string& text)
{
    if (write(kProgressFd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) std::_Exit(4);
}

// One of the processes of the test below; skipped when run otherwise.
TEST(KilledWriterProcess, DISABLED_WritesAsOneOfTheProcesses)
{
    const char* path = std::getenv(kCatalogueVar);
    const char* role = std::getenv(kRoleVar);
    const char* number = std::getenv(kNumberVar);
    if (path == nullptr || role == nullptr || number == nullptr) GTEST_SKIP() << "a process of another test";
    ConfigureQuietHost();
    HostJournals::keep(false);
    DBtran::useCatalogue(path);
    const std::string what = role;
    const int n = std::atoi(number);
    // The test closes this process's input to stop it, or ends.
    static std::atomic<bool> stop{false};
    std::thread input([] {
        char c;
        while (read(0, &c, 1) > 0) {
        }
        stop.store(true);
    });
    if (what == "survivor") {
        long writes = 0;
        long failed = 0;
        Clock::time_point last = Clock::now();
        Clock::duration longest{0};
        RegisterDevices(
            1, "survivor-", [](long) { return !stop.load(); },
            [&](bool registered, double) {
                const Clock::time_point now = Clock::now();
                longest = std::max(longest, now - last);
                last = now;
                ++writes;
                if (!registered) ++failed;
                Tell(".");
            });
        Tell("\nwrites " + std::to_string(writes) + " failed " + std::to_string(failed) + " longest " +
             std::to_string(std::chrono::duration_cast<milliseconds>(longest).count()) + "\n");
        EXPECT_EQ(failed, 0);
    } else {
        const bool last = what == "last";
        std::atomic<bool> told{false};
        std::atomic<long> failed{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < kWriterThreads; ++t)
            threads.emplace_back([&, t] {
                RegisterDevices(
                    10 * n + t, what + "-" + std::to_string(n) + "-" + std::to_string(t) + "-",
                    [&](long k) { return last ? k < kLastDevices : !stop.load(); },
                    [&](bool registered, double) {
                        if (!registered) ++failed;
                        if (!told.exchange(true)) Tell(".");
                    });
            });
        for (std::thread& t : threads) t.join();
        EXPECT_EQ(failed.load(), 0);
    }
    input.detach();  // blocked in its read until the process ends
}

// A process of the test: its id, the write end of its input and the read
// end of what it tells.
struct Process {
    pid_t pid = -1;
    int input = -1;
    int progress = -1;
};

// Starts this program again as the process of the role and number on the
// catalogue at path; pid -1 when it cannot.
Process Start(const std::string& path, const std::string& role, int number)
{
    Process p;
    int input[2];
    int progress[2];
    if (pipe2(input, O_CLOEXEC) != 0) return p;
    if (pipe2(progress, O_CLOEXEC) != 0) {
        close(input[0]);
        close(input[1]);
        return p;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], 0);
    posix_spawn_file_actions_adddup2(&actions, progress[1], kProgressFd);
    // What the writers to be killed print is of no use.
    if (role == "writer") posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const pid_t child = StartThisProgramAgain(
        "KilledWriterProcess.DISABLED_WritesAsOneOfTheProcesses",
        {std::string(kCatalogueVar) + "=" + path, std::string(kRoleVar) + "=" + role,
         std::string(kNumberVar) + "=" + std::to_string(number)},
        &actions);
    posix_spawn_file_actions_destroy(&actions);
    close(input[0]);
    close(progress[1]);
    p.pid = child;
    p.input = input[1];
    p.progress = progress[0];
    return p;
}

// The processes of a test: at its end, whatever happened, those still there
// are killed and reaped and their pipes closed.
class Processes {
public:
    ~Processes()
    {
        for (Process& p : m_all) {
            if (p.pid > 0) kill(p.pid, SIGKILL);
            reap(p);
            for (int fd : {p.input, p.progress})
                if (fd >= 0) close(fd);
        }
    }

    // Starts one; its index.
    size_t start(const std::string& path, const std::string& role, int number)
    {
        m_all.push_back(Start(path, role, number));
        return m_all.size() - 1;
    }
    Process& operator[](size_t i) { return m_all[i]; }

    // Waits for its end; its exit status, -1 when it did not exit by itself.
    static int reap(Process& p)
    {
        if (p.pid <= 0) return -1;
        int status = 0;
        const pid_t pid = p.pid;
        p.pid = -1;
        return waitpid(pid, &status, 0) == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    std::deque<Process> m_all;  // a process stays where it is while others start
};

// Watches the surviving process's writes while the test waits for something
// else: the longest pause between two of them seen here, and the text it
// tells after them.
class Watch {
public:
    explicit Watch(int fd) : m_fd(fd) {}

    // Reads what the survivor tells until `until`, or until `other` has
    // something to read; false as soon as the survivor has not written for
    // `pause`, or has ended.
    bool until(Clock::time_point until, int other = -1, milliseconds pause = kLongestPause)
    {
        for (;;) {
            const Clock::time_point now = Clock::now();
            if (m_ended || now - m_last >= pause) return false;
            if (now >= until) return true;
            pollfd fds[2] = {{m_fd, POLLIN, 0}, {other, POLLIN, 0}};
            const auto wait = std::min(until, m_last + pause) - now;
            poll(fds, other >= 0 ? 2 : 1, static_cast<int>(std::chrono::ceil<milliseconds>(wait).count()));
            if (fds[0].revents != 0) read();
            if (other >= 0 && fds[1].revents != 0) return true;
        }
    }
    // Reads what the survivor tells until its first write, or deadline;
    // whether it wrote.
    bool first(Clock::time_point deadline)
    {
        while (m_writes == 0 && !m_ended && Clock::now() < deadline) {
            pollfd fd{m_fd, POLLIN, 0};
            const auto wait = std::chrono::ceil<milliseconds>(deadline - Clock::now()).count();
            if (poll(&fd, 1, static_cast<int>(std::max<long long>(wait, 0))) == 1) read();
        }
        return m_writes > 0;
    }
    // Reads the rest of what the survivor tells, until it ends or deadline.
    void rest(Clock::time_point deadline)
    {
        while (!m_ended && Clock::now() < deadline) {
            pollfd fd{m_fd, POLLIN, 0};
            const auto wait = std::chrono::ceil<milliseconds>(deadline - Clock::now()).count();
            if (poll(&fd, 1, static_cast<int>(std::max<long long>(wait, 0))) == 1) read();
        }
    }

    long writes() const { return m_writes; }
    long long longestMs() const { return std::chrono::duration_cast<milliseconds>(m_longest).count(); }
    long long sinceLastMs() const { return std::chrono::duration_cast<milliseconds>(Clock::now() - m_last).count(); }
    const std::string& text() const { return m_text; }
    bool ended() const { return m_ended; }

private:
    void read()
    {
        char buf[4096];
        const ssize_t n = ::read(m_fd, buf, sizeof buf);
        if (n <= 0) {
            m_ended = true;
            return;
        }
        const Clock::time_point now = Clock::now();
        for (ssize_t i = 0; i < n; ++i) {
            if (buf[i] != '.' || !m_text.empty()) {
                m_text += buf[i];
                continue;
            }
            ++m_writes;
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
        }
    }

    int m_fd;
    Clock::time_point m_last = Clock::now();
    Clock::duration m_longest{0};
    long m_writes = 0;
    std::string m_text;
    bool m_ended = false;
};

using KilledWriterProcessesTest = CatalogueTest;

// A process registers devices without pause while 24 writer processes of
// four threads each are started and killed one after another: every other
// one once it has written (so while it holds the turn or waits for it), the
// rest at a random moment of their start, each after a random delay of up
// to 200 ms, and each reaped only once the next was killed (a zombie
// meanwhile). The survivor never pauses for long; a process started after
// the last kill registers its devices; the killed processes' tickets were
// passed over in the writers' queue.
TEST_F(KilledWriterProcessesTest, StopNeitherTheProcessWritingOnNorOneStartedLater)
{
    const unsigned seed = std::random_device()();
    std::mt19937 draw(seed);
    std::uniform_int_distribution<int> delayMs(0, 200);
    std::printf("seed %u\n", seed);
    Processes processes;
    Process& survivor = processes[processes.start(m_path, "survivor", 0)];
    ASSERT_GT(survivor.pid, 0);
    Watch watch(survivor.progress);
    // Its start may take a while on a loaded machine.
    ASSERT_TRUE(watch.first(Clock::now() + std::chrono::seconds(60)))
        << "the surviving process did not write within 60 s of its start";
    size_t unreaped = 0;
    for (int k = 1; k <= kKills; ++k) {
        const size_t w = processes.start(m_path, "writer", k);
        Process& writer = processes[w];
        ASSERT_GT(writer.pid, 0);
        if (k % 2 == 1) {
            ASSERT_TRUE(watch.until(Clock::now() + std::chrono::seconds(60), writer.progress))
                << "the surviving process wrote nothing for " << watch.sinceLastMs() << " ms, while writer process "
                << k << " started (" << k - 1 << " killed before)";
            ASSERT_TRUE(Readable(writer.progress)) << "writer process " << k << " wrote nothing within 60 s";
        }
        ASSERT_TRUE(watch.until(Clock::now() + milliseconds(delayMs(draw))))
            << "the surviving process wrote nothing for " << watch.sinceLastMs() << " ms, with writer process " << k
            << " running (" << k - 1 << " killed before)";
            kill(writer.pid, SIGKILL);
        if (unreaped != 0) Processes::reap(processes[unreaped]);
        unreaped = w;
    }
    ASSERT_TRUE(watch.until(Clock::now() + milliseconds(500)))
        << "the surviving process wrote nothing for " << watch.sinceLastMs() << " ms after the last kill";
    Processes::reap(processes[unreaped]);

    Process& last = processes[processes.start(m_path, "last", kKills + 1)];
    ASSERT_GT(last.pid, 0);
    // Its progress pipe closes as it ends.
    const Clock::time_point lastDeadline = Clock::now() + std::chrono::seconds(60);
    char c = 0;
    while (watch.until(lastDeadline, last.progress) && Readable(last.progress) && read(last.progress, &c, 1) == 1) {
    }
    ASSERT_FALSE(watch.ended());
    ASSERT_LT(watch.sinceLastMs(), kLongestPause.count())
        << "the surviving process wrote nothing for " << watch.sinceLastMs() << " ms, while the last process wrote";
    ASSERT_TRUE(Readable(last.progress)) << "the process started after the last kill did not end within 60 s";
    EXPECT_EQ(Processes::reap(last), 0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBPhysicalDevice WHERE DeviceName LIKE '/dev/last-%'"),
              kWriterThreads * kLastDevices);

    close(survivor.input);
    survivor.input = -1;
    watch.rest(Clock::now() + std::chrono::seconds(30));
    long writes = -1;
    long failed = -1;
    long longestMs = -1;
    std::istringstream told(watch.text());
    std::string w, f, l;
    told >> w >> writes >> f >> failed >> l >> longestMs;
    std::printf("surviving process: %ld writes, longest pause %ld ms (seen here %lld ms); %d writer processes killed\n",
                writes, longestMs, watch.longestMs(), kKills);
    EXPECT_EQ(Processes::reap(survivor), 0);
    EXPECT_EQ(writes, watch.writes());
    EXPECT_EQ(failed, 0);
    EXPECT_GE(longestMs, 0);
    EXPECT_LT(longestMs, kLongestPause.count());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBPhysicalDevice WHERE DeviceName LIKE '/dev/survivor-%'"), writes);
    // The writers took turns in the queue of the side file, and the tickets
    // of killed processes were passed over there (rather than left to the
    // database's busy handler); no writer gave its ticket up (went without
    // the queue, or ran out of time).
    const std::shared_ptr<DBProcessTurn> turn = DBProcessTurn::of(m_path);
    ASSERT_TRUE(turn);
    std::printf("tickets of ended processes passed over: %llu\n", turn->passedOver());
    EXPECT_GT(turn->passedOver(), 0u);
    EXPECT_EQ(turn->givenUpPassedOver(), 0u);
}

}  // namespace
