#include "app/qt/display.h"
#include "support/child_process.h"
#include "support/temp_folder.h"
#include "support/x_server.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace vantric;
using namespace vantric::test;
namespace fs = std::filesystem;

namespace {

// The environment of a child that sees only the displays a case names.
using Env = std::map<std::string, std::optional<std::string>>;
Env bare(Env extra)
{
    Env e {{"DISPLAY", std::nullopt},          {"WAYLAND_DISPLAY", std::nullopt}, {"WAYLAND_SOCKET", std::nullopt},
           {"QT_QPA_PLATFORM", std::nullopt},  {"XDG_SESSION_TYPE", std::nullopt}, {"XAUTHORITY", std::nullopt},
           {"QT_QPA_PLATFORM_PLUGIN_PATH", std::nullopt}};
    for (auto& [k, v] : extra)
        e[k] = v;
    return e;
}

void expectRefused(const Env& env, const std::vector<std::string>& named, const std::string& label)
{
    ChildResult r = runProgram(VANTRIC_PROGRAM, {}, env);
    EXPECT_TRUE(r.exited) << label << ": " << describe(r);
    EXPECT_EQ(r.status, 2) << label << ": " << describe(r);
    EXPECT_FALSE(r.coreDumped) << label;
    EXPECT_NE(r.err.find("Vantric cannot show its window: "), std::string::npos) << label << ": " << r.err;
    for (const auto& n : named)
        EXPECT_NE(r.err.find("\"" + n + "\""), std::string::npos) << label << " should name " << n << ": " << r.err;
    EXPECT_EQ(r.err.find("Reinstalling"), std::string::npos) << label << ": " << r.err;
}

TEST(DisplayCheck, ProgramExplainsAndExitsTwoForDisplaysThatCannotBeUsed)
{
    TempFolder temp;
    const fs::path& runtime = temp.path();
    struct Case {
        const char* label;
        Env env;
        std::vector<std::string> named;
    } cases[] = {
        {"nothing listening on TCP", bare({{"DISPLAY", "localhost:1"}}), {"localhost:1"}},
        {"dead forward", bare({{"DISPLAY", "localhost:99"}}), {"localhost:99"}},
        {"screen of a missing server", bare({{"DISPLAY", ":99.5"}}), {":99.5"}},
        {"not a display name", bare({{"DISPLAY", "no display"}}), {"no display"}},
        {"Wayland socket missing",
         bare({{"QT_QPA_PLATFORM", "wayland"}, {"WAYLAND_DISPLAY", "vantric-none"}, {"XDG_RUNTIME_DIR", runtime}}),
         {"vantric-none"}},
        {"Wayland session, neither display there",
         bare({{"XDG_SESSION_TYPE", "wayland"}, {"WAYLAND_DISPLAY", "vantric-none"}, {"XDG_RUNTIME_DIR", runtime},
               {"DISPLAY", "localhost:1"}}),
         {"vantric-none", "localhost:1"}},
    };
    for (const auto& c : cases)
        expectRefused(c.env, c.named, c.label);
}

TEST(DisplayCheck, RealServerRefusingTheCookieOrLackingTheScreen)
{
    XServer x;
    expectRefused(bare({{"DISPLAY", x.display()}, {"XAUTHORITY", x.wrongAuth()}}), {x.display()}, "wrong cookie");
    expectRefused(bare({{"DISPLAY", x.display() + ".5"}, {"XAUTHORITY", x.goodAuth()}}), {x.display() + ".5"},
                  "no screen 5");

    // The same server with the right cookie passes the check.
    ChildResult ok = runInChild([&] {
        ::setenv("DISPLAY", x.display().c_str(), 1);
        ::setenv("XAUTHORITY", x.goodAuth().c_str(), 1);
        auto p = displayProblem({"xcb"}, [](const std::string&) { return true; });
        std::fputs(p.value_or("").c_str(), stdout);
        return p ? 1 : 0;
    });
    EXPECT_TRUE(ok.exited && ok.status == 0) << describe(ok);
}

TEST(DisplayCheck, WaylandNeedsTheSocketAndTheQtPlugin)
{
    TempFolder temp;
    const fs::path& runtime = temp.path();
    int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr {};
    addr.sun_family = AF_UNIX;
    std::string path = (runtime / "wayland-test").string();
    std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(::listen(listener, 4), 0);

    struct Case {
        const char* label;
        const char* display;
        bool plugin;
        std::string wantInProblem; // empty: the check passes
    } cases[] = {
        {"compositor listening", "wayland-test", true, ""},
        {"absolute socket path", nullptr, true, ""},
        {"no compositor", "wayland-gone", true, "\"wayland-gone\" cannot be reached"},
        {"no Qt plugin", "wayland-test", false, "libqwayland-generic.so) is not installed"},
    };
    for (const auto& c : cases) {
        ChildResult r = runInChild([&] {
            ::unsetenv("WAYLAND_SOCKET");
            ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
            ::setenv("WAYLAND_DISPLAY", c.display ? c.display : path.c_str(), 1);
            bool plugin = c.plugin;
            std::fputs(displayProblem({"wayland"}, [&](const std::string&) { return plugin; }).value_or("").c_str(),
                       stdout);
            return 0;
        });
        ASSERT_TRUE(r.exited && r.status == 0) << c.label << ": " << describe(r);
        if (c.wantInProblem.empty())
            EXPECT_EQ(r.out, "") << c.label;
        else
            EXPECT_NE(r.out.find(c.wantInProblem), std::string::npos) << c.label << ": " << r.out;
    }
    ::close(listener);
}

TEST(DisplayCheck, PlatformsInQtsOrder)
{
    struct Case {
        Env env;
        std::string want;
    } cases[] = {
        {bare({}), "xcb"},
        {bare({{"XDG_SESSION_TYPE", "x11"}}), "xcb"},
        {bare({{"XDG_SESSION_TYPE", "wayland"}}), "wayland,xcb"},
        {bare({{"WAYLAND_DISPLAY", "wayland-1"}}), "wayland,xcb"},
        {bare({{"WAYLAND_DISPLAY", "wayland-1"}, {"XDG_SESSION_TYPE", "x11"}}), "xcb"},
        {bare({{"QT_QPA_PLATFORM", "offscreen"}, {"XDG_SESSION_TYPE", "wayland"}}), "offscreen"},
        {bare({{"QT_QPA_PLATFORM", "wayland;xcb:nograb"}}), "wayland,xcb"},
    };
    for (const auto& c : cases) {
        ChildResult r = runInChild([&] {
            for (const auto& [k, v] : c.env)
                v ? ::setenv(k.c_str(), v->c_str(), 1) : ::unsetenv(k.c_str());
            std::string joined;
            for (const auto& p : qtPlatformCandidates())
                joined += (joined.empty() ? "" : ",") + p;
            std::fputs(joined.c_str(), stdout);
            return 0;
        });
        EXPECT_EQ(r.out, c.want);
    }
    // A platform without a display of its own is left to Qt.
    EXPECT_EQ(displayProblem({"offscreen"}, [](const std::string&) { return false; }), std::nullopt);
}

} // namespace
