#include "support/child_process.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace vantric::test {

namespace {

void readBoth(int outFd, int errFd, ChildResult& r)
{
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    std::string* sinks[2] = {&r.out, &r.err};
    int open = 2;
    while (open > 0) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            char buf[4096];
            ssize_t n = ::read(fds[i].fd, buf, sizeof buf);
            if (n > 0) {
                sinks[i]->append(buf, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
}

ChildResult waitFor(pid_t pid, int outFd, int errFd)
{
    ChildResult r;
    readBoth(outFd, errFd, r);
    int st = 0;
    while (::waitpid(pid, &st, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(st)) {
        r.exited = true;
        r.status = WEXITSTATUS(st);
    } else if (WIFSIGNALED(st)) {
        r.signal = WTERMSIG(st);
    }
    return r;
}

// Starts the child with its output and error on pipes; returns its pid.
template <typename Body> int forkWith(Body&& child, int& outFd, int& errFd)
{
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    std::fflush(nullptr);
    pid_t pid = ::fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(err[1], STDERR_FILENO);
        child();
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    outFd = out[0];
    errFd = err[0];
    return pid;
}

template <typename Body> ChildResult forkAndWait(Body&& child)
{
    int out, err;
    const int pid = forkWith(std::forward<Body>(child), out, err);
    return waitFor(pid, out, err);
}

void runBody(const std::function<int()>& body)
{
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

} // namespace

ChildResult runInChild(const std::function<int()>& body)
{
    return forkAndWait([&] { runBody(body); });
}

Child::Child(const std::function<int()>& body)
{
    pid_ = forkWith([&] { runBody(body); }, out_, err_);
}

Child::~Child()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        waitFor(pid_, out_, err_);
    }
}

std::string Child::readLine()
{
    std::string line;
    for (;;) {
        if (auto nl = early_.find('\n'); nl != std::string::npos) {
            line = early_.substr(0, nl);
            early_.erase(0, nl + 1);
            return line;
        }
        char buf[256];
        ssize_t n = ::read(out_, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            line.swap(early_);
            return line;
        }
        early_.append(buf, static_cast<std::size_t>(n));
    }
}

void Child::signal(int sig)
{
    ::kill(pid_, sig);
}

ChildResult Child::wait()
{
    ChildResult r = waitFor(pid_, out_, err_);
    r.out.insert(0, early_);
    pid_ = -1;
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
    return forkAndWait([&] {
        for (const auto& [name, value] : env) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
        ::alarm(static_cast<unsigned>(timeoutSeconds)); // survives exec: a hung child ends
        ::execv(path.c_str(), argv.data());
        std::perror("execv");
    });
}

std::string describe(const ChildResult& r)
{
    return (r.exited ? "exit status " + std::to_string(r.status) : "signal " + std::to_string(r.signal))
        + "\nstdout: " + r.out + "\nstderr: " + r.err;
}

} // namespace vantric::test
