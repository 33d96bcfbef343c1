// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
// The log's local time and the documents folder it falls back to.

#include "platform/clock.h"
#include "platform/folders.h"
#include "support/child_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>

using namespace vantric;
using namespace vantric::test;

namespace {

// Checked with the standard library's calendar, not the C library's.
TEST(LocalClock, TellsTheDateAndTimeInTheZone)
{
    using namespace std::chrono;
    // time() may lag the system clock by a tick: a second before counts.
    const auto from = floor<seconds>(system_clock::now()) - 1s;
    ChildResult r = runInChild([] {
        ::setenv("TZ", "XYZ-5:30", 1); // 5 h 30 east of UTC, no summer time
        const LocalDateTime t = systemClock().now();
        std::printf("%d %d %d %d %d %d", t.year, t.month, t.day, t.hour, t.minute, t.second);
        return 0;
    });
    const auto to = floor<seconds>(system_clock::now());
    ASSERT_TRUE(r.exited && r.status == 0) << describe(r);
    int y, mo, d, h, mi, s;
    ASSERT_EQ(std::sscanf(r.out.c_str(), "%d %d %d %d %d %d", &y, &mo, &d, &h, &mi, &s), 6) << r.out;
    const sys_seconds utc = sys_days {year {y} / mo / d} + hours {h} + minutes {mi} + seconds {s} - 5h - 30min;
    EXPECT_TRUE(from <= utc && utc <= to) << r.out;
}

TEST(DocumentsFolder, VariableThenUserDirsThenHome)
{
    std::set<std::string> folders = {"/home/u/Documents", "/home/u/Dokumente", "/data/docs"};
    auto isFolder = [&](const std::string& p) { return folders.count(p) > 0; };
    const std::string userDirs = "# written by xdg-user-dirs-update\n"
                                 "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                 "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n";
    struct Case {
        const char* variable;
        std::string userDirs;
        const char* home;
        std::optional<std::string> want;
    } cases[] = {
        {"", userDirs, "/home/u", "/home/u/Dokumente"},
        {"/data/docs", userDirs, "/home/u", "/data/docs"},
        {"$HOME/Documents", "", "/home/u", "/home/u/Documents"},
        {"", "XDG_DOCUMENTS_DIR=\"/data/docs/\"\n", "/home/u", "/data/docs"},
        {"", "XDG_DOCUMENTS_DIR=\"$HOME/Missing\"\n", "/home/u", "/home/u"},
        {"", "", "/home/u", "/home/u"},
        {"relative/path", "", "/home/u", "/home/u"},
        {"", "", "", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(documentsFolderFrom(c.variable, c.userDirs, c.home, isFolder), c.want) << c.variable << c.userDirs;
}

} // namespace
