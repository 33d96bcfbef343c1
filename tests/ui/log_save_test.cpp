#include "app/frmDrive.h"
#include "fakes/fake_counter.h"
#include "fakes/fake_drives.h"
#include "fakes/fake_files.h"
#include "fakes/memory_window_system.h"
#include "platform/folders.h"
#include "support/fixed_clock.h"
#include "ui/log_save.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

using namespace vantric;
using namespace vantric::test;

namespace {

std::string text(const std::vector<std::uint8_t>& bytes)
{
    return {bytes.begin(), bytes.end()};
}

TEST(LogName, MonthBeforeDayAndMinuteAfterTheTwentyFourHour)
{
    struct Case {
        LocalDateTime t;
        const char* digits;
    } cases[] = {
        {{2026, 12, 5, 9, 7, 0}, "2612050907"},
        {{2026, 12, 5, 21, 45, 0}, "2612052145"},
        {{2026, 12, 5, 0, 30, 0}, "2612050030"},
        {{2030, 1, 31, 23, 59, 59}, "3001312359"},
        {{2100, 7, 4, 12, 0, 0}, "0007041200"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(logTimestamp(c.t), c.digits);
}

TEST(SaveState, TheLoopCounterEndsPastTheLastRowAndTheNameStays)
{
    MemoryWindowSystem ws;
    FakeDriveSource drives;
    FakeFileSystem fs;
    FakeCounter counter;
    FixedClock clock;
    FormState form {ws, Services {drives, fs, counter, clock, NumericLocale {}, "/fake/prog"}};
    for (const char* row : {"one", " two", " "})
        ws.addRow(Ctl::List2, row);
    saveLog(form);
    EXPECT_EQ(form.vars.lngIndex, 3);
    EXPECT_EQ(form.vars.strFileName, "/fake/prog" + std::string(1, pathSeparator()) + "Vantric_Log_2612050907.txt");
}

struct SaveWorld {
    MemoryWindowSystem ws;
    FakeDriveSource drives;
    FakeFileSystem fs;
    FakeCounter counter;
    FixedClock clock;
    frmDrive form {ws, Services {drives, fs, counter, clock, NumericLocale {}, "/fake/prog", "/fake/docs"}};
    const std::string logPath = "/fake/prog" + std::string(1, pathSeparator()) + "Vantric_Log_2612050907.txt";
    const std::string docsPath = "/fake/docs" + std::string(1, pathSeparator()) + "Vantric_Log_2612050907.txt";

    SaveWorld()
    {
        drives.folders['C'] = {{"/fake/c"}};
        counter.step = 1;
        ws.addRow(Ctl::List1, " C:- Hard Disk  Free Space: 1.00 MB  Total Size: 1.00 MB");
        ws.selectRow(Ctl::List1, 0);
        ws.setCaption(Ctl::Label9, "1k");
    }
    void runs(int n)
    {
        for (int i = 0; i < n; ++i)
            form.List1_Click();
    }
};

struct Save : ::testing::Test, SaveWorld {};

TEST_F(Save, TwoRunsGiveTenCrLfLinesMatchingTheRows)
{
    runs(2);
    form.Command4_Click();
    ASSERT_TRUE(ws.errors.empty()) << ws.errors[0];
    ASSERT_TRUE(fs.files.count(logPath));
    std::string want;
    for (const auto& row : ws.rows(Ctl::List2))
        want += row + "\r\n";
    EXPECT_EQ(text(fs.files[logPath]), want);
    EXPECT_EQ(ws.rowCount(Ctl::List2), 10);
    EXPECT_EQ(ws.rows(Ctl::List2)[4], " ");
    EXPECT_EQ(ws.rows(Ctl::List2)[9], " ");
    EXPECT_EQ(ws.selectedIndex(Ctl::List2), 9);
    ASSERT_EQ(ws.messages.size(), 1u);
    EXPECT_EQ(ws.messages[0].first, "Vantric");
    EXPECT_EQ(ws.messages[0].second, "Log Saved In\r\n" + logPath);
}

TEST_F(Save, SameMinuteReplacesAndAnotherMinuteAddsAFile)
{
    runs(1);
    form.Command4_Click();
    runs(1);
    form.Command4_Click();
    EXPECT_EQ(fs.files.size(), 1u);
    EXPECT_EQ(std::count(fs.files[logPath].begin(), fs.files[logPath].end(), '\n'), 10);
    clock.t.minute = 8;
    form.Command4_Click();
    EXPECT_EQ(fs.files.size(), 2u);
    EXPECT_TRUE(fs.files.count("/fake/prog" + std::string(1, pathSeparator()) + "Vantric_Log_2612050908.txt"));
}

TEST_F(Save, FailedSaveShowsTheErrorAndKeepsTheEarlierFile)
{
    runs(1);
    form.Command4_Click();
    auto earlier = fs.files[logPath];
    runs(1);
    struct Case {
        const char* name;
        void (*arrange)(FakeFileSystem&, const std::string&);
        const char* reason;
    } cases[] = {
        {"no space to create it", [](FakeFileSystem& f, const std::string& p) { f.refuseOpen[p] = ENOSPC; },
         "No space left on device"},
        {"disk full", [](FakeFileSystem& f, const std::string&) { f.fullAfter = f.bytesWritten + 100; },
         "No space left on device"},
    };
    for (const auto& c : cases) {
        FakeFileSystem saved = fs;
        c.arrange(fs, logPath);
        std::size_t messages = ws.messages.size();
        ws.errors.clear();
        form.Command4_Click();
        ASSERT_EQ(ws.errors.size(), 1u) << c.name;
        EXPECT_NE(ws.errors[0].find(c.reason), std::string::npos) << ws.errors[0];
        EXPECT_NE(ws.errors[0].find(logPath), std::string::npos) << ws.errors[0];
        EXPECT_EQ(ws.messages.size(), messages) << c.name;
        EXPECT_EQ(fs.files[logPath], earlier) << c.name;
        EXPECT_EQ(fs.openNow, 0) << c.name;
        fs = saved;
    }
}

TEST_F(Save, FolderThatMayNotBeWrittenSendsTheLogToTheDocuments)
{
    runs(1);
    for (int err : {EACCES, EPERM, EROFS}) {
        fs.files.clear();
        fs.refuseOpen = {{logPath, err}};
        ws.messages.clear();
        form.Command4_Click();
        ASSERT_TRUE(ws.errors.empty()) << ws.errors[0];
        EXPECT_FALSE(fs.files.count(logPath)) << err;
        ASSERT_TRUE(fs.files.count(docsPath)) << err;
        std::string want;
        for (const auto& row : ws.rows(Ctl::List2))
            want += row + "\r\n";
        EXPECT_EQ(text(fs.files[docsPath]), want) << err;
        ASSERT_EQ(ws.messages.size(), 1u) << err;
        EXPECT_EQ(ws.messages[0].second, "Log Saved In\r\n" + docsPath) << err;
        EXPECT_EQ(fs.openNow, 0) << err;
    }
}

TEST_F(Save, FallbackThatFailsTooIsReported)
{
    runs(1);
    struct Case {
        const char* name;
        std::map<std::string, int> refuse;
        std::optional<std::uint64_t> fullAfter;
        const char* reason;
        std::string path;
    } cases[] = {
        {"documents refused too", {{logPath, EACCES}, {docsPath, EACCES}}, {}, "Permission denied", docsPath},
        {"documents full", {{logPath, EROFS}}, 100, "No space left on device", docsPath},
    };
    for (const auto& c : cases) {
        SaveWorld w;
        w.runs(1);
        w.fs.refuseOpen = c.refuse;
        if (c.fullAfter)
            w.fs.fullAfter = w.fs.bytesWritten + *c.fullAfter;
        w.form.Command4_Click();
        ASSERT_EQ(w.ws.errors.size(), 1u) << c.name;
        EXPECT_NE(w.ws.errors[0].find(c.reason), std::string::npos) << w.ws.errors[0];
        EXPECT_NE(w.ws.errors[0].find(c.path), std::string::npos) << w.ws.errors[0];
        EXPECT_TRUE(w.ws.messages.empty()) << c.name;
        EXPECT_FALSE(w.fs.files.count(logPath)) << c.name;
        EXPECT_FALSE(w.fs.files.count(docsPath)) << c.name;
        EXPECT_EQ(w.fs.openNow, 0) << c.name;
    }
}

TEST_F(Save, EmptyLogWritesAnEmptyFileAndConfirms)
{
    form.Command4_Click();
    ASSERT_TRUE(fs.files.count(logPath));
    EXPECT_TRUE(fs.files[logPath].empty());
    EXPECT_EQ(ws.messages.size(), 1u);
}

} // namespace
