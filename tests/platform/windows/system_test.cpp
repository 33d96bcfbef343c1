// Windows' answers for the clock, the program's folder, the
// documents folder, number conventions and error texts.

#include "bench/figures.h"
#include "platform/clock.h"
#include "platform/folders.h"
#include "platform/number_format.h"
#include "platform/windows/numeric_locale.h"
#include "platform/windows/win_test_support.h"
#include "platform/windows/win_text.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cerrno>
#include <climits>
#include <cstdio>

using namespace vantric;
using namespace vantric::test;

namespace {

TEST(Clock, LocalTimeOfTheSystem)
{
    SYSTEMTIME before, after;
    ::GetLocalTime(&before);
    LocalDateTime t = systemClock().now();
    ::GetLocalTime(&after);
    EXPECT_GE(t.year, before.wYear);
    EXPECT_LE(t.year, after.wYear);
    EXPECT_TRUE(t.month >= 1 && t.month <= 12);
    EXPECT_TRUE(t.hour >= 0 && t.hour <= 23);
    if (before.wMinute == after.wMinute) {
        EXPECT_EQ(t.minute, before.wMinute);
        EXPECT_EQ(t.month, before.wMonth);
        EXPECT_EQ(t.hour, before.wHour);
        EXPECT_EQ(t.day, before.wDay);
    }
}

// Run only as a child: prints the program's folder as the logic sees it.
TEST(ChildOnly, DISABLED_PrintProgramFolder)
{
    std::fputs(("folder=[" + programFolder() + "]\n").c_str(), stdout);
    std::fflush(stdout);
}

TEST(ProgramFolder, IsTheFolderOfTheRunningExeInUtf8)
{
    TempFolder dir;
    // A folder name outside the ANSI code page: it must come back intact.
    const std::string folder = dir.str() + "\\Pr\xC3\xBC" "fung \xE2\x82\xAC \xCE\xA9";
    ASSERT_TRUE(::CreateDirectoryW(wide(folder).c_str(), nullptr));
    const std::string copy = folder + "\\copy.exe";
    ASSERT_TRUE(::CopyFileW(wide(thisProgram()).c_str(), wide(copy).c_str(), FALSE));
    WinChild r = runChild(copy, {"--gtest_also_run_disabled_tests", "--gtest_filter=ChildOnly.DISABLED_PrintProgramFolder"});
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0u) << r.out;
    EXPECT_NE(r.out.find("folder=[" + folder + "]"), std::string::npos) << r.out;
    EXPECT_EQ(pathSeparator(), '\\');
}

TEST(DocumentsFolder, IsTheUsersDocumentsFolder)
{
    auto found = documentsFolder();
    ASSERT_TRUE(found);
    const std::string docs = *found;
    DWORD a = ::GetFileAttributesW(wide(docs).c_str());
    ASSERT_NE(a, INVALID_FILE_ATTRIBUTES) << docs;
    EXPECT_TRUE(a & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(docs.substr(docs.size() - 10), "\\Documents") << docs;
}

TEST(Grouping, WindowsGroupingInTheCLibrarysTerms)
{
    struct Case {
        const char* windows;
        std::string c;
    } cases[] = {
        {"3;0", "\3"},
        {"3;2;0", "\3\2"},
        {"3", std::string("\3") + char(CHAR_MAX)},
        {"3;2", std::string("\3\2") + char(CHAR_MAX)},
        {"0", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(groupingFromWindows(c.windows), c.c) << c.windows;
    EXPECT_EQ(formatFixed(123456789.0, 0, true, true, {".", ",", groupingFromWindows("3")}), "123456,789");
    EXPECT_EQ(formatFixed(123456789.0, 0, true, true, {".", ",", groupingFromWindows("3;2;0")}), "12,34,56,789");
}

std::string sampleFigures(const NumericLocale& loc)
{
    return formatFixed(85134958592.0 / 1048576.0, 2, true, true, loc) + " MB|"
        + formatFixed(1048575.0 / 1024.0, 0, true, true, loc) + " KB|" + formatRate(163.6222031, loc) + "|"
        + formatSeconds(0.0062, loc);
}

TEST(Locales, DecimalMarkAndGroupingFromGetLocaleInfoEx)
{
    struct Case {
        const char* name;
        const char* want;
    } cases[] = {
        {"en-US", "81,191.02 MB|1,024 KB|163.622203|.0062"},
        {"de-DE", "81.191,02 MB|1.024 KB|163,622203|,0062"},
        {"de_DE.UTF-8", "81.191,02 MB|1.024 KB|163,622203|,0062"},
        {"de-CH", "81\xE2\x80\x99" "191.02 MB|1\xE2\x80\x99" "024 KB|163.622203|.0062"},
    };
    for (const auto& c : cases) {
        auto loc = namedNumericLocale(c.name);
        ASSERT_TRUE(loc) << c.name;
        EXPECT_EQ(sampleFigures(*loc), c.want) << c.name;
    }
    auto indian = namedNumericLocale("en-IN");
    ASSERT_TRUE(indian);
    EXPECT_EQ(formatFixed(2199023255552.0 / 1048576.0, 2, true, true, *indian), "20,97,152.00");
    // French groups with a no-break space (U+00A0, or U+202F in newer data).
    auto french = namedNumericLocale("fr-FR");
    ASSERT_TRUE(french);
    EXPECT_EQ(french->decimalPoint, ",");
    EXPECT_TRUE(french->groupSeparator == "\xC2\xA0" || french->groupSeparator == "\xE2\x80\xAF");
    EXPECT_FALSE(namedNumericLocale("xx-NOWHERE"));
}

// Run by the tests of the user's locale (tests.cmake), under the locale
// that Wine takes from the host's environment: prints the user's figures.
TEST(ChildOnly, DISABLED_PrintUserFigures)
{
    std::fputs(("figures=[" + sampleFigures(environmentNumericLocale()) + "]\n").c_str(), stdout);
    std::fflush(stdout);
}

TEST(Errors, TheSystemsMessageAndTheMatchingErrno)
{
    struct Case {
        DWORD code;
        int err;
    } cases[] = {
        {ERROR_ACCESS_DENIED, EACCES},  {ERROR_WRITE_PROTECT, EROFS},       {ERROR_PRIVILEGE_NOT_HELD, EPERM},
        {ERROR_DISK_FULL, ENOSPC},      {ERROR_HANDLE_DISK_FULL, ENOSPC},   {ERROR_FILE_NOT_FOUND, ENOENT},
        {ERROR_PATH_NOT_FOUND, ENOENT}, {ERROR_SHARING_VIOLATION, EBUSY},   {ERROR_NOT_READY, ENODEV},
        {ERROR_ALREADY_EXISTS, EEXIST}, {ERROR_CRC, EIO},
    };
    for (const auto& c : cases)
        EXPECT_EQ(errnoFor(c.code), c.err) << c.code;
    VantricError e = winError("Cannot create the scratch file", ERROR_ACCESS_DENIED, "C:\\~test.tmp");
    EXPECT_EQ(e.osCode(), EACCES);
    EXPECT_EQ(e.path(), "C:\\~test.tmp");
    EXPECT_FALSE(e.reason().empty());
    EXPECT_NE(e.reason().back(), '\n');
    wchar_t buf[512];
    DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_ACCESS_DENIED,
                               0, buf, 512, nullptr);
    ASSERT_GT(n, 0u);
    EXPECT_EQ(utf8(std::wstring(buf, n)).find(e.reason()), 0u);
    EXPECT_EQ(e.message(), "Cannot create the scratch file\nC:\\~test.tmp\n\n" + e.reason());
}

TEST(Text, Utf16InsideUtf8Outside)
{
    const std::string s = "Z:\\tmp\\Pr\xC3\xBC" "fung \xE2\x82\xAC \xF0\x9F\x98\x80";
    EXPECT_EQ(utf8(wide(s)), s);
    EXPECT_EQ(wide(s).size(), 19u);
    EXPECT_EQ(utf8(wide("")), "");
}

} // namespace
