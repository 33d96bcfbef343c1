// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
// Windows' answers for the clock, folders, number conventions and error texts; a run ended from outside.

#include "bench/figures.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/folders.h"
#include "platform/number_format.h"
#include "platform/termination.h"
#include "platform/windows/numeric_locale.h"
#include "platform/windows/win_text.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <process.h>
#include <windows.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <thread>

using namespace vantric;
using namespace vantric::test;

namespace {

std::string thisProgram()
{
    wchar_t buf[MAX_PATH + 1];
    DWORD n = ::GetModuleFileNameW(nullptr, buf, MAX_PATH + 1);
    return utf8(std::wstring(buf, n));
}

// The exit status of `exe` (this test program when empty) run with the arguments and `env` set.
DWORD runChild(const std::string& exe, const std::vector<std::string>& args,
               const std::map<std::string, std::string>& env = {})
{
    const std::wstring path = wide(exe.empty() ? thisProgram() : exe);
    std::vector<std::wstring> words {L"\"" + path + L"\""}; // the system joins them unquoted
    for (const auto& a : args)
        words.push_back(wide(a));
    std::vector<const wchar_t*> argv;
    for (const auto& w : words)
        argv.push_back(w.c_str());
    argv.push_back(nullptr);
    for (const auto& [k, v] : env) // the child inherits them
        ::SetEnvironmentVariableW(wide(k).c_str(), wide(v).c_str());
    return static_cast<DWORD>(::_wspawnv(_P_WAIT, path.c_str(), argv.data()));
}

// Run only as a child: VANTRIC_TEST_FOLDER, the folder it expects; says in its exit status whether it was.
TEST(ChildOnly, DISABLED_CheckProgramFolder)
{
    std::exit(programFolder() == utf8(::_wgetenv(L"VANTRIC_TEST_FOLDER")) ? 42 : 43);
}

TEST(Clock, LocalTimeOfTheSystem)
{
    SYSTEMTIME st;
    LocalDateTime t;
    do { // again when a minute may have begun between the two readings
        t = systemClock().now();
        ::GetLocalTime(&st);
    } while (st.wSecond == 0);
    EXPECT_EQ((std::vector<int> {t.year, t.month, t.day, t.hour, t.minute}),
              (std::vector<int> {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute}));
}

TEST(ProgramFolder, IsTheFolderOfTheRunningExeInUtf8)
{
    TempFolder dir;
    // A folder name outside the ANSI code page: it must come back intact.
    const std::string folder = dir.str() + "\\Pr\xC3\xBC" "fung \xE2\x82\xAC \xCE\xA9";
    ASSERT_TRUE(::CreateDirectoryW(wide(folder).c_str(), nullptr));
    const std::string copy = folder + "\\copy.exe";
    ASSERT_TRUE(::CopyFileW(wide(thisProgram()).c_str(), wide(copy).c_str(), FALSE));
    EXPECT_EQ(runChild(copy, {"--gtest_also_run_disabled_tests", "--gtest_filter=ChildOnly.DISABLED_CheckProgramFolder"},
                       {{"VANTRIC_TEST_FOLDER", folder}}),
              42u);
    EXPECT_EQ(pathSeparator(), '\\');
}

TEST(DocumentsFolder, IsTheUsersDocumentsFolder)
{
    const std::string docs = documentsFolder().value_or("");
    DWORD a = ::GetFileAttributesW(wide(docs).c_str());
    EXPECT_TRUE(a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY)) << docs;
    EXPECT_TRUE(docs.ends_with("\\Documents")) << docs;
}

TEST(Grouping, WindowsGroupingInTheCLibrarysTerms)
{
    const std::pair<const char*, std::string> cases[] = {
        {"3;0", "\3"}, {"3;2;0", "\3\2"}, {"3", std::string("\3") + char(CHAR_MAX)},
        {"3;2", std::string("\3\2") + char(CHAR_MAX)}, {"0", ""}, {"", ""},
    };
    for (const auto& [windows, c] : cases)
        EXPECT_EQ(groupingFromWindows(windows), c) << windows;
}

std::string sampleFigures(const NumericLocale& loc)
{
    return formatFixed(85134958592.0 / 1048576.0, 2, true, true, loc) + " MB|"
        + formatFixed(1048575.0 / 1024.0, 0, true, true, loc) + " KB|" + formatRate(163.6222031, loc) + "|"
        + formatSeconds(0.0062, loc);
}

TEST(Locales, DecimalMarkAndGroupingFromGetLocaleInfoEx)
{
    // In the C library's spelling; the user locale's tests (tests.cmake) show more of Windows' answers.
    auto german = namedNumericLocale("de_DE.UTF-8");
    ASSERT_TRUE(german);
    EXPECT_EQ(sampleFigures(*german), "81.191,02 MB|1.024 KB|163,622203|,0062");
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

// Run by the user locale's tests (tests.cmake) under the locale Wine takes from the host's environment.
TEST(ChildOnly, DISABLED_PrintUserFigures)
{
    std::printf("figures=[%s]\n", sampleFigures(environmentNumericLocale()).c_str());
}

TEST(Errors, TheSystemsMessageAndTheMatchingErrno)
{
    const std::pair<DWORD, int> cases[] = { // one of each group of codes
        {ERROR_ACCESS_DENIED, EACCES}, {ERROR_WRITE_PROTECT, EROFS},     {ERROR_PRIVILEGE_NOT_HELD, EPERM},
        {ERROR_DISK_FULL, ENOSPC},     {ERROR_FILE_NOT_FOUND, ENOENT},   {ERROR_SHARING_VIOLATION, EBUSY},
        {ERROR_NOT_READY, ENODEV},     {ERROR_ALREADY_EXISTS, EEXIST},   {ERROR_CRC, EIO},
    };
    for (const auto& [code, err] : cases)
        EXPECT_EQ(errnoFor(code), err) << code;
    VantricError e = winError("Cannot create the scratch file", ERROR_ACCESS_DENIED, "C:\\~test.tmp");
    EXPECT_EQ(e.osCode(), EACCES);
    // The system's text without its line end.
    EXPECT_TRUE(e.reason().ends_with("denied.")) << e.reason();
    EXPECT_EQ(e.message(), "Cannot create the scratch file\nC:\\~test.tmp\n\n" + e.reason());
}

// Paths and captions go to the system through this: a name outside the ANSI code page arrives intact.
TEST(Text, Utf8ToUtf16)
{
    EXPECT_EQ(wide("Pr\xC3\xBC" "fung \xE2\x82\xAC \xF0\x9F\x98\x80"), L"Pr\u00FCfung \u20AC \U0001F600");
}

BOOL CALLBACK ownWindows(HWND h, LPARAM found)
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(h, &pid);
    if (pid == ::GetCurrentProcessId())
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(h);
    return TRUE;
}

// What the system does to each top-level window at a session's end.
void endSession()
{
    std::vector<HWND> windows;
    ::EnumWindows(ownWindows, reinterpret_cast<LPARAM>(&windows));
    bool yes = !windows.empty();
    for (HWND h : windows) {
        DWORD_PTR answer = 0;
        yes = yes && ::SendMessageTimeoutW(h, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 2000, &answer)
              && answer;
    }
    if (!yes) // the session would go on: this run's end is not the session's
        ::TerminateProcess(::GetCurrentProcess(), 3);
    for (HWND h : windows)
        ::SendMessageTimeoutW(h, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 2000, nullptr);
}

// Run only as a child: writes VANTRIC_TEST_SCRATCH and is ended by VANTRIC_TEST_END while the pass is busy.
TEST(ChildOnly, DISABLED_EndedMidPass)
{
    const std::string path = std::getenv("VANTRIC_TEST_SCRATCH");
    const std::string how = std::getenv("VANTRIC_TEST_END");
    auto fs = systemFileSystem();
    TerminationCleanup cleanup {systemStopHooks()};
    auto claim = fs->claimScratch(path);
    cleanup.arm(path, "");
    auto writer = fs->openBlockWrite(path);
    std::thread ender([&] {
        if (how == "session")
            endSession();
        else
            ::TerminateProcess(::GetCurrentProcess(), 9);
    });
    ::Sleep(20000); // the pass: no messages handled
    ender.join();
    std::puts("survived");
}

struct EndedMidPass : ::testing::TestWithParam<std::pair<const char*, DWORD>> {};

TEST_P(EndedMidPass, LeavesNoScratchFile)
{
    const auto [how, exitCode] = GetParam();
    TempFolder dir;
    const std::string path = dir.file("~test.tmp");
    EXPECT_EQ(runChild({}, {"--gtest_also_run_disabled_tests", "--gtest_filter=ChildOnly.DISABLED_EndedMidPass"},
                       {{"VANTRIC_TEST_SCRATCH", path}, {"VANTRIC_TEST_END", how}}),
              exitCode);
    EXPECT_EQ(::GetFileAttributesW(wide(path).c_str()), INVALID_FILE_ATTRIBUTES) << path;
}

INSTANTIATE_TEST_SUITE_P(Windows, EndedMidPass,
                         ::testing::Values(std::pair {"session", static_cast<DWORD>(STATUS_CONTROL_C_EXIT)},
                                           std::pair {"killed", DWORD {9}}),
                         [](const auto& info) { return std::string(info.param.first); });

} // namespace
