// This test program run again as a process of its own that runs one test
// (a disabled one, the part of another test that runs in a process apart),
// told what to do through its environment. Free of any test framework.
#pragma once

#include <spawn.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

// Starts this program running the test of that full name alone, with the
// variables ("NAME=value") ahead of its environment and the file actions
// given (none: the descriptors as they are); its id, or -1.
inline pid_t StartThisProgramAgain(const std::string& test, const std::vector<std::string>& variables,
                                   const posix_spawn_file_actions_t* actions = nullptr)
{
    std::string self(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", &self[0], self.size() - 1);
    if (length <= 0) return -1;
    self.resize(static_cast<size_t>(length));
    std::vector<std::string> args = {self, "--gtest_filter=" + test, "--gtest_also_run_disabled_tests"};
    std::vector<std::string> env = variables;
    for (char** e = environ; *e != nullptr; ++e) env.emplace_back(*e);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(&e[0]);
    envp.push_back(nullptr);
    pid_t child = -1;
    return posix_spawn(&child, self.c_str(), actions, nullptr, argv.data(), envp.data()) == 0 ? child : -1;
}
