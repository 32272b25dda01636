// A forked process that stops itself (SIGSTOP) while it holds a lock of the
// side file, as a debugger, a frozen container or a suspended job stops a
// process; and a call timed beside it, which must return while the process
// stays stopped. Free of any test framework.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

class StoppedProcess {
public:
    // Forks a process that runs `stopHolding` (which stops the process with
    // the lock held, and exits 1 should it ever go on) and waits until it
    // has stopped, for up to 20 s.
    explicit StoppedProcess(const std::function<void()>& stopHolding)
    {
        m_pid = fork();
        if (m_pid == 0) {
            stopHolding();
            _exit(1);
        }
        int status = 0;
        m_stopped = m_pid > 0 && waitpid(m_pid, &status, WUNTRACED) == m_pid && WIFSTOPPED(status);
    }
    ~StoppedProcess()
    {
        if (m_pid <= 0) return;
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    StoppedProcess(const StoppedProcess&) = delete;
    StoppedProcess& operator=(const StoppedProcess&) = delete;

    bool stopped() const { return m_stopped; }

    // Runs call on a thread of its own beside the stopped process; should it
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
        if (killed && m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
            m_pid = -1;
        }
        caller.join();
        return killed ? -1 : took;
    }

private:
    pid_t m_pid = -1;
    bool m_stopped = false;
};
