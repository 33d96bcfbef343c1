// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
// The user's conventions on Linux: numbers in the locale, the local time, and the documents folder
// the log falls back to.

#include "app/system/system_services.h"
#include "bench/figures.h"
#include "fakes/fake_files.h"
#include "platform/clock.h"
#include "platform/folders.h"
#include "platform/io/file_table.h"
#include "platform/number_format.h"
#include "support/child_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <set>

using namespace vantric;
using namespace vantric::test;

namespace {

// Real locales, drive sizes and figures are below and in the survey's and figures' tests.
TEST(NumberFormat, GroupsAndRoundsInTheLocale)
{
    NumericLocale en;
    NumericLocale de {",", ".", "\3"};
    NumericLocale ungrouped {".", ",", ""};
    NumericLocale stopsAfterOne {".", ",", "\3\x7F"};
    NumericLocale noSeparator {".", "", "\3"};
    struct Case {
        double v;
        int decimals;
        bool group, lead;
        const NumericLocale* loc;
        const char* want;
    } cases[] = {
        {1234567.891, 2, true, true, &ungrouped, "1234567.89"},
        {1234567.891, 2, true, true, &stopsAfterOne, "1234,567.89"},
        {1234567.891, 2, true, true, &noSeparator, "1234567.89"},
        {-1234.5, 1, true, true, &de, "-1.234,5"},
        {-0.001, 2, true, true, &en, "0.00"},
        {1.0e20, 0, true, true, &en, "100,000,000,000,000,000,000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatFixed(c.v, c.decimals, c.group, c.lead, *c.loc), c.want) << c.v;
}

// What the window shows for one drive and one run, in a locale.
std::string sampleFigures(const NumericLocale& loc)
{
    return formatFixed(85134958592.0 / 1048576.0, 2, true, true, loc) + " MB|"
        + formatFixed(2199023255552.0 / 1048576.0, 2, true, true, loc) + " MB|"
        + formatFixed(1048575.0 / 1024.0, 0, true, true, loc) + " KB|" + formatRate(163.6222031, loc) + "|"
        + formatSeconds(0.0062, loc) + "|" + formatSeconds(12345.6, loc);
}

// The environment's locale with and without setlocale (never reaching English figures): UTF-8, logged in its charset.
TEST(NumberFormat, RealLocalesWithAndWithoutSetlocale)
{
    const std::string c = "81191.02 MB|2097152.00 MB|1024 KB|163.622203|.0062|12345.6000";
    const std::string en = "81,191.02 MB|2,097,152.00 MB|1,024 KB|163.622203|.0062|12345.6000";
    auto comma = [](const std::string& s) { // thousands by s, decimals by a comma
        return "81" + s + "191,02 MB|2" + s + "097" + s + "152,00 MB|1" + s + "024 KB|163,622203|,0062|12345,6000";
    };
    const struct Case {
        const char* locale;
        std::string want, inCharset;
    } cases[] = {
        {"C", c, c},
        {"de_CH.UTF-8", "81\u2019191.02 MB|2\u2019097\u2019152.00 MB|1\u2019024 KB|163.622203|.0062|12345.6000", ""},
        {"en_IN.UTF-8", "81,191.02 MB|20,97,152.00 MB|1,024 KB|163.622203|.0062|12345.6000", ""},
        {"fr_FR.ISO-8859-1", comma("\u00a0"), comma("\xa0")},
        {"ru_RU.KOI8-R", comma("\u00a0"), comma("\x9a")},
        {"xx_NOWHERE.UTF-8", c, c},
    };
    for (const auto& [locale, want, inCharset] : cases) {
        const bool installed = std::string(locale) != "xx_NOWHERE.UTF-8";
        ASSERT_EQ(namedNumericLocale(locale).has_value(), installed)
            << locale << (installed ? " is not installed; scripts/vantric.sh generates it" : " is there");
        for (bool set : {true, false}) {
            ChildResult r = runInChild([&] {
                ::setenv("LC_ALL", locale, 1);
                if (set && !std::setlocale(LC_ALL, "") && installed)
                    return 3;
                SystemServices system; // as the programs hand them to the window
                const Services svc = system.services();
                const std::string figures = sampleFigures(svc.locale);
                FakeFileSystem files; // and as a saved log holds them
                TextOutput log(files.createAtomic("log"), svc.savedText);
                log.printLine(figures);
                log.close();
                const auto& line = files.files["log"];
                std::fputs((figures + "\n" + std::string(line.begin(), line.end())).c_str(), stdout);
                std::fputs(sampleFigures(NumericLocale {}).c_str(), stdout);
                return 0;
            });
            ASSERT_TRUE(r.exited && r.status == 0) << locale << ": " << describe(r);
            EXPECT_EQ(r.out, want + "\n" + (inCharset.empty() ? want : inCharset) + "\r\n" + en)
                << locale << (set ? " after setlocale" : " without setlocale");
        }
    }
}

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
