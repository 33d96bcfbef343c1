#pragma once
// Runs a piece of a test, or a program, in a child process: for what is
// process-wide (the locale, the user, the display) or may end the process.

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
    bool coreDumped = false;
    std::string out;       // what it wrote to its standard output
    std::string err;       // and to its standard error
};

// body runs in a forked child with its standard output and error captured;
// the child exits with what body returns. An exception in body exits 99.
ChildResult runInChild(const std::function<int()>& body);

// Runs the program with the environment changed: a value sets a variable,
// nullopt removes it. Killed after `timeoutSeconds`.
ChildResult runProgram(const std::string& path, const std::vector<std::string>& args,
                       const std::map<std::string, std::optional<std::string>>& env, int timeoutSeconds = 60);

// For messages: how the child ended and what it wrote.
std::string describe(const ChildResult& r);

} // namespace vantric::test
