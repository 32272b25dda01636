// The turn among the processes writing one catalogue: each test forks the
// processes that wait beside the test's own.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "host/db/DBProcessTurn.h"
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
    int gaveUp[2];
    int end[2];
    ASSERT_EQ(pipe(gaveUp), 0);
    ASSERT_EQ(pipe(end), 0);
    const pid_t late = fork();
    ASSERT_GE(late, 0);
    if (late == 0) {
        close(gaveUp[0]);
        close(end[1]);
        const char result = turn->enter(milliseconds(50)) ? 'n' : 'y';
        char wait = 0;
        _exit(write(gaveUp[1], &result, 1) == 1 && read(end[0], &wait, 1) >= 0 ? 0 : 1);
    }
    close(gaveUp[1]);
    close(end[0]);
    char result = 0;
    ASSERT_EQ(read(gaveUp[0], &result, 1), 1);
    EXPECT_EQ(result, 'y');
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
    // Free again for this process.
    EXPECT_TRUE(turn->enter(milliseconds(0)));
    turn->leave();
    close(end[1]);
    close(gaveUp[0]);
    EXPECT_EQ(exitStatus(late), 0);
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

}  // namespace
