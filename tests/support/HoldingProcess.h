// A forked process that holds a lock of the side file and does not go on:
// it stops itself (SIGSTOP), as a debugger or a suspended job stops a
// process, or it sleeps while it runs, as a process in a frozen container
// or one waiting for what it should not wait for under the lock seems to
// the others; and a call timed beside it, which must return while the
// process still holds the lock. Free of any test framework.
#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

class HoldingProcess {
public:
    enum How { kStops, kSleeps };

    // Forks a process that runs `holdIn`, which calls holdHere() with the
    // lock held (and exits 1 should it ever go on), and waits until it holds
    // the lock, for up to 20 s.
    HoldingProcess(How how, const std::function<void()>& holdIn)
    {
        int told[2];
        if (pipe(told) != 0) return;
        m_pid = fork();
        if (m_pid == 0) {
            close(told[0]);
            s_how = how;
            s_told = told[1];
            holdIn();
            _exit(1);
        }
        close(told[1]);
        if (m_pid > 0 && how == kStops) {
            int status = 0;
            m_holding = waitpid(m_pid, &status, WUNTRACED) == m_pid && WIFSTOPPED(status);
        } else if (m_pid > 0) {
            pollfd p{told[0], POLLIN, 0};
            char c = 0;
            m_holding = poll(&p, 1, 20000) == 1 && read(told[0], &c, 1) == 1;
        }
        close(told[0]);
    }
    ~HoldingProcess() { end(); }
    HoldingProcess(const HoldingProcess&) = delete;
    HoldingProcess& operator=(const HoldingProcess&) = delete;

    // In the forked process, with the lock held: stops, or tells it holds
    // and sleeps until it is killed.
    static void holdHere()
    {
        if (s_how == kStops) {
            raise(SIGSTOP);
            return;
        }
        const char held = 'h';
        if (write(s_told, &held, 1) != 1) _exit(2);
        for (;;) pause();
    }

    bool holding() const { return m_holding; }
    pid_t pid() const { return m_pid; }
    // Kills the process (the kernel gives its lock up as its holder died).
    void end()
    {
        if (m_pid <= 0) return;
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

    // Runs call on a thread of its own beside the holding process; should it
    // not return within `watch`, the process is killed so that it does. The
    // seconds the call took, negative when it returned only after the kill.
    double timed(const std::function<void()>& call, std::chrono::seconds watch = std::chrono::seconds(30))
    {
        std::atomic<bool> returned{false};
        const auto begin = std::chrono::steady_clock::now();
        double took = -1;
        std::thread caller([&] {
            call();
            took = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
            returned.store(true);
        });
        while (!returned.load() && std::chrono::steady_clock::now() - begin < watch)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const bool killed = !returned.load();
        if (killed) end();
        caller.join();
        return killed ? -1 : took;
    }

private:
    static inline How s_how = kStops;  // in the forked process
    static inline int s_told = -1;

    pid_t m_pid = -1;
    bool m_holding = false;
};
