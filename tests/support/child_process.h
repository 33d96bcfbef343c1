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
    std::string out;       // what it wrote to its standard output
    std::string err;       // and to its standard error
};

// body runs in a forked child with its standard output and error captured;
// the child exits with what body returns. An exception in body exits 99.
ChildResult runInChild(const std::function<int()>& body);

// The same, running beside the test until wait(): the test can read what
// the child says as it goes, and signal it. A child still running when the
// object goes is killed.
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
    int out_ = -1, err_ = -1;
    std::string early_; // read by readLine past its line
};

// Runs the program with the environment changed: a value sets a variable,
// nullopt removes it. Killed after `timeoutSeconds`.
ChildResult runProgram(const std::string& path, const std::vector<std::string>& args,
                       const std::map<std::string, std::optional<std::string>>& env, int timeoutSeconds = 60);

// For messages: how the child ended and what it wrote.
std::string describe(const ChildResult& r);

} // namespace vantric::test
