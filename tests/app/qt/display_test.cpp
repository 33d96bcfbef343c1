// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "app/qt/display.h"
#include "support/child_process.h"
#include "support/temp_folder.h"
#include "support/x_server.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace vantric;
using namespace vantric::test;

namespace {

// The environment of a child that sees only the displays a case names.
using Env = std::map<std::string, std::optional<std::string>>;
Env bare(Env extra)
{
    Env e {{"DISPLAY", std::nullopt},         {"WAYLAND_DISPLAY", std::nullopt},  {"WAYLAND_SOCKET", std::nullopt},
           {"QT_QPA_PLATFORM", std::nullopt}, {"XDG_SESSION_TYPE", std::nullopt}, {"XAUTHORITY", std::nullopt},
           {"QT_QPA_PLATFORM_PLUGIN_PATH", std::nullopt}};
    for (auto& [k, v] : extra)
        e[k] = v;
    return e;
}

// In a child with the case's environment: the platforms Qt would try, in order, and what stops them.
TEST(DisplayCheck, PlatformsInQtsOrderAndWhatStopsThem)
{
    XServer x;
    TempFolder runtime;
    const std::string socket = (runtime.path() / "wayland-test").string();
    int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr {};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, socket.c_str(), sizeof addr.sun_path - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    auto wayland = [&](const std::string& display) {
        return bare({{"QT_QPA_PLATFORM", "wayland"}, {"WAYLAND_DISPLAY", display}, {"XDG_RUNTIME_DIR", runtime.str()}});
    };
    const std::string refused = '"' + x.display() + "\" refused", noScreen = '"' + x.display() + ".5\" has no screen 5";
    struct Case {
        const char* label;
        Env env;
        const char* platforms;
        const char* problem; // nullptr: not looked at
        bool plugin = true;
    } cases[] = {
        {"no session", bare({}), "xcb", nullptr},
        {"Wayland session", bare({{"XDG_SESSION_TYPE", "wayland"}}), "wayland,xcb", nullptr},
        {"Wayland display", bare({{"WAYLAND_DISPLAY", "wayland-1"}}), "wayland,xcb", nullptr},
        {"X11 session with a Wayland display", bare({{"WAYLAND_DISPLAY", "wayland-1"}, {"XDG_SESSION_TYPE", "x11"}}),
         "xcb", nullptr},
        // A platform without a display of its own is left to Qt.
        {"offscreen named", bare({{"QT_QPA_PLATFORM", "offscreen"}, {"XDG_SESSION_TYPE", "wayland"}}), "offscreen", ""},
        {"platforms named with options", bare({{"QT_QPA_PLATFORM", "wayland;xcb:nograb"}}), "wayland,xcb", nullptr},
        {"X server, right cookie", bare({{"DISPLAY", x.display()}, {"XAUTHORITY", x.goodAuth()}}), "xcb", ""},
        {"compositor listening", wayland("wayland-test"), "wayland", ""},
        {"absolute socket path", wayland(socket), "wayland", ""},
        {"no compositor", wayland("wayland-gone"), "wayland", "\"wayland-gone\" cannot be reached"},
        {"no Qt plugin", wayland("wayland-test"), "wayland", "libqwayland-generic.so) is not installed", false},
        {"nothing listening on TCP", bare({{"DISPLAY", "localhost:1"}}), "xcb", "\"localhost:1\" cannot be reached"},
        {"not a display name", bare({{"DISPLAY", "no display"}}), "xcb", "\"no display\" is not an X display name"},
        {"wrong cookie", bare({{"DISPLAY", x.display()}, {"XAUTHORITY", x.wrongAuth()}}), "xcb", refused.c_str()},
        {"no screen 5", bare({{"DISPLAY", x.display() + ".5"}, {"XAUTHORITY", x.goodAuth()}}), "xcb", noScreen.c_str()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ChildResult r = runInChild([&] {
            for (const auto& [k, v] : c.env)
                v ? ::setenv(k.c_str(), v->c_str(), 1) : ::unsetenv(k.c_str());
            std::string out;
            for (const auto& p : qtPlatformCandidates())
                out += (out.empty() ? "" : ",") + p;
            const bool plugin = c.plugin;
            auto problem = displayProblem(qtPlatformCandidates(), [&](const std::string&) { return plugin; });
            out += "|" + problem.value_or("");
            std::fputs(out.c_str(), stdout);
            return 0;
        });
        ASSERT_TRUE(r.exited && r.status == 0) << describe(r);
        const std::string problem = r.out.substr(r.out.find('|') + 1);
        EXPECT_EQ(r.out.substr(0, r.out.find('|')), c.platforms);
        if (c.problem) {
            EXPECT_TRUE(*c.problem ? problem.find(c.problem) != std::string::npos : problem.empty()) << problem;
        }
    }
    ::close(listener);

    // The program says why, naming each display tried, and exits 2.
    ChildResult r = runProgram(VANTRIC_PROGRAM, {},
                               bare({{"XDG_SESSION_TYPE", "wayland"}, {"WAYLAND_DISPLAY", "vantric-none"},
                                     {"XDG_RUNTIME_DIR", runtime.str()}, {"DISPLAY", "localhost:1"}}));
    EXPECT_TRUE(r.exited && r.status == 2) << describe(r);
    EXPECT_EQ(r.err.rfind("Vantric cannot show its window: ", 0), 0u) << r.err;
    for (const char* named : {"\"vantric-none\"", "\"localhost:1\""})
        EXPECT_NE(r.err.find(named), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("Reinstalling"), std::string::npos) << r.err;
}

} // namespace
