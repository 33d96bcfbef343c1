#include "support/x_server.h"

#include <array>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace vantric::test {

namespace {

constexpr std::array<unsigned char, 16> kCookie {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};

// One Xauthority entry for any host: MIT-MAGIC-COOKIE-1 for that display.
void writeCookie(const fs::path& file, const std::string& display, const std::array<unsigned char, 16>& cookie)
{
    std::ofstream out(file, std::ios::binary);
    auto field = [&](const std::string& s) {
        out.put(static_cast<char>(s.size() >> 8)).put(static_cast<char>(s.size() & 0xFF)) << s;
    };
    out.put('\xFF').put('\xFF'); // FamilyWild
    field("");
    field(display);
    field("MIT-MAGIC-COOKIE-1");
    field(std::string(cookie.begin(), cookie.end()));
}

} // namespace

XServer::XServer()
{
    const fs::path serverAuth = dir_.path() / "server";
    writeCookie(serverAuth, "0", kCookie);
    int fds[2];
    if (::pipe(fds) != 0)
        throw std::runtime_error("pipe failed");
    std::string fd = std::to_string(fds[1]), auth = serverAuth.string();
    pid_ = ::fork();
    if (pid_ == 0) {
        ::close(fds[0]);
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-auth", auth.c_str(), "-nolisten", "tcp", "-screen",
                 "0", "640x480x24", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    std::string number;
    char c;
    while (::read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    ::close(fds[0]);
    if (number.empty())
        throw std::runtime_error("Xvfb did not start; scripts/vantric.sh installs it (package xvfb)");
    display_ = ":" + number;
    writeCookie(dir_.path() / "good", number, kCookie);
    auto wrong = kCookie;
    wrong[0] ^= 0xFF;
    writeCookie(dir_.path() / "wrong", number, wrong);
}

XServer::~XServer()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
}

std::string XServer::goodAuth() const
{
    return dir_.file("good");
}

std::string XServer::wrongAuth() const
{
    return dir_.file("wrong");
}

} // namespace vantric::test
