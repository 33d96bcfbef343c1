// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "app/qt/display.h"
#include "platform/split.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace vantric {

namespace {

std::string env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? v : "";
}

std::string quoted(const std::string& s)
{
    return "\"" + s + "\"";
}

// libxcb writes the server's reason for refusing a connection to stderr;
// it is caught here to go into our own message instead.
template <typename F> auto catchingStderr(std::string& said, F&& call)
{
    int pipeFds[2];
    int saved = -1;
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) == 0) {
        std::fflush(stderr);
        saved = ::dup(STDERR_FILENO);
        ::dup2(pipeFds[1], STDERR_FILENO);
        ::close(pipeFds[1]);
    }
    auto result = call();
    if (saved >= 0) {
        ::dup2(saved, STDERR_FILENO);
        ::close(saved);
        char buf[512];
        ssize_t n;
        while ((n = ::read(pipeFds[0], buf, sizeof buf)) > 0)
            said.append(buf, static_cast<std::size_t>(n));
        ::close(pipeFds[0]);
        while (!said.empty() && (said.back() == '\n' || said.back() == ' '))
            said.pop_back();
    }
    return result;
}

std::string x11Problem()
{
    const std::string display = env("DISPLAY");
    if (display.empty())
        return "no X display is set (DISPLAY is empty)";
    int screen = 0;
    std::string said;
    xcb_connection_t* c = catchingStderr(said, [&] { return ::xcb_connect(display.c_str(), &screen); });
    std::string problem;
    switch (::xcb_connection_has_error(c)) {
    case 0:
        if (screen < 0 || screen >= ::xcb_setup_roots_length(::xcb_get_setup(c)))
            problem = "the X display " + quoted(display) + " has no screen " + std::to_string(screen);
        break;
    case XCB_CONN_CLOSED_PARSE_ERR:
        problem = quoted(display) + " is not an X display name";
        break;
    case XCB_CONN_CLOSED_INVALID_SCREEN:
        problem = "the X display " + quoted(display) + " has no screen " + std::to_string(screen);
        break;
    default:
        problem = said.empty() ? "the X display " + quoted(display) + " cannot be reached"
                               : "the X display " + quoted(display) + " refused the connection (" + said + ")";
        break;
    }
    ::xcb_disconnect(c);
    return problem;
}

std::string waylandProblem()
{
    if (!env("WAYLAND_SOCKET").empty())
        return {}; // handed a connected socket by whoever started us
    std::string name = env("WAYLAND_DISPLAY");
    if (name.empty())
        name = "wayland-0";
    std::string path = name;
    if (name[0] != '/') {
        std::string runtime = env("XDG_RUNTIME_DIR");
        if (runtime.empty())
            return "the Wayland display " + quoted(name) + " cannot be found (XDG_RUNTIME_DIR is not set)";
        path = runtime + "/" + name;
    }
    sockaddr_un addr {};
    if (path.size() >= sizeof addr.sun_path)
        return "the Wayland display " + quoted(name) + " cannot be reached (its socket path is too long)";
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return "the Wayland display " + quoted(name) + " cannot be reached (" + std::strerror(errno) + ")";
    int ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
    int err = errno;
    ::close(fd);
    if (ok != 0)
        return "the Wayland display " + quoted(name) + " cannot be reached (" + path + ": " + std::strerror(err) + ")";
    return {};
}

} // namespace

std::vector<std::string> qtPlatformCandidates()
{
    std::vector<std::string> out;
    if (std::string named = env("QT_QPA_PLATFORM"); !named.empty()) {
        for (const auto& item : splitOn(named, ';')) {
            std::string platform = item.substr(0, item.find(':')); // "xcb:option" names xcb
            if (!platform.empty())
                out.push_back(platform);
        }
        return out;
    }
    const std::string session = env("XDG_SESSION_TYPE");
    if (session == "wayland" || (session.empty() && (!env("WAYLAND_DISPLAY").empty() || !env("WAYLAND_SOCKET").empty())))
        out.push_back("wayland");
    out.push_back("xcb");
    return out;
}

std::optional<std::string> displayProblem(const std::vector<std::string>& platforms,
                           const std::function<bool(const std::string&)>& pluginInstalled, std::string* usable)
{
    std::string problems;
    auto add = [&](const std::string& p) { problems += (problems.empty() ? "" : "; ") + p; };
    for (const auto& platform : platforms) {
        std::string plugin, problem;
        if (platform == "xcb") {
            plugin = "libqxcb.so";
            if (pluginInstalled(plugin))
                problem = x11Problem();
        } else if (platform == "wayland" || platform == "wayland-egl") {
            plugin = platform == "wayland" ? "libqwayland-generic.so" : "libqwayland-egl.so";
            if (pluginInstalled(plugin))
                problem = waylandProblem();
        } else {
            return std::nullopt; // a platform without a display to check: Qt will tell
        }
        if (!pluginInstalled(plugin))
            problem = "Qt's " + platform + " platform plugin (" + plugin + ") is not installed";
        if (problem.empty()) {
            if (usable)
                *usable = platform;
            return std::nullopt;
        }
        add(problem);
    }
    if (problems.empty())
        problems = "no window-system platform was named";
    return problems;
}

} // namespace vantric
