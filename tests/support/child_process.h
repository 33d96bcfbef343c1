// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// A piece of a test, or a program, in a child process: for what is process-wide or may end the process.

#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vantric::test {

struct ChildResult {
    bool exited = false;   // ended by exit(), with `status`
    int status = -1;
    int signal = 0;        // the signal that ended it, if any
    std::string out;       // what it wrote to its standard output
    std::string err;       // and to its standard error
};

// body in a forked child, its output and error captured; it exits with body's result (99: an exception).
ChildResult runInChild(const std::function<int()>& body);

// The same beside the test until wait(), read and signalled as it goes; killed if still running at the end.
class Child {
public:
    explicit Child(const std::function<int()>& body);
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // The child's standard output up to the next newline ("" at its end).
    std::string readLine();
    void signal(int sig);
    ChildResult wait();

private:
    int pid_ = -1;
    std::FILE *out_ = nullptr, *err_ = nullptr;
};

// The program with the environment changed (nullopt removes a variable), killed after `timeoutSeconds`.
ChildResult runProgram(const std::string& path, const std::vector<std::string>& args,
                       const std::map<std::string, std::optional<std::string>>& env, int timeoutSeconds = 60);

// For messages: how the child ended and what it wrote.
std::string describe(const ChildResult& r);

} // namespace vantric::test
