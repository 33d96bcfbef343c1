// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "support/child_process.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fcntl.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace vantric::test {

namespace {

std::string readToEnd(std::FILE* f)
{
    std::string s;
    char buf[4096];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, f))
        s.append(buf, n);
    std::fclose(f);
    return s;
}

} // namespace

ChildResult runInChild(const std::function<int()>& body)
{
    return Child(body).wait();
}

// The child's standard output comes through a pipe, read as it goes; its error goes to an unnamed file, read at
// the end, so that neither can fill up while the other is read.
Child::Child(const std::function<int()>& body)
{
    int pipeFds[2];
    err_ = std::tmpfile();
    if (!err_ || ::pipe2(pipeFds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    std::fflush(nullptr);
    pid_ = ::fork();
    if (pid_ < 0)
        throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        ::dup2(pipeFds[1], STDOUT_FILENO);
        ::dup2(::fileno(err_), STDERR_FILENO);
        int code = 99;
        try {
            code = body();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "exception: %s\n", e.what());
        } catch (...) {
            std::fprintf(stderr, "unknown exception\n");
        }
        std::fflush(nullptr);
        ::_exit(code);
    }
    ::close(pipeFds[1]);
    out_ = ::fdopen(pipeFds[0], "r");
}

Child::~Child()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        wait();
    }
}

std::string Child::readLine()
{
    char* line = nullptr;
    std::size_t size = 0;
    const ssize_t n = ::getline(&line, &size, out_);
    std::string s = n > 0 ? std::string(line, static_cast<std::size_t>(n)) : std::string();
    std::free(line);
    if (s.ends_with('\n'))
        s.pop_back();
    return s;
}

void Child::signal(int sig)
{
    ::kill(pid_, sig);
}

ChildResult Child::wait()
{
    ChildResult r;
    r.out = readToEnd(out_);
    int st = 0;
    while (::waitpid(pid_, &st, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    std::rewind(err_);
    r.err = readToEnd(err_);
    if (WIFEXITED(st)) {
        r.exited = true;
        r.status = WEXITSTATUS(st);
    } else if (WIFSIGNALED(st)) {
        r.signal = WTERMSIG(st);
    }
    return r;
}

ChildResult runProgram(const std::string& path, const std::vector<std::string>& args,
                       const std::map<std::string, std::optional<std::string>>& env, int timeoutSeconds)
{
    // Everything the child needs is built before the fork.
    std::vector<std::string> argStore {path};
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    return runInChild([&] {
        for (const auto& [name, value] : env) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
        ::alarm(static_cast<unsigned>(timeoutSeconds)); // survives exec: a hung child ends
        ::execv(path.c_str(), argv.data());
        std::perror("execv");
        return 127;
    });
}

std::string describe(const ChildResult& r)
{
    return (r.exited ? "exit status " + std::to_string(r.status) : "signal " + std::to_string(r.signal))
        + "\nstdout: " + r.out + "\nstderr: " + r.err;
}

} // namespace vantric::test
