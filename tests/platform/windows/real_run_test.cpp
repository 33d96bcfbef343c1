// Whole runs and saves through the main window's handlers on the real
// drives, files and clock of Windows (under Wine, drive C: is the prefix).

#include "app/frmDrive.h"
#include "ui/log_save.h"
#include "fakes/memory_window_system.h"
#include "platform/windows/win_test_support.h"
#include "platform/windows/win_text.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace vantric;
using namespace vantric::test;

namespace {

struct RealWorld {
    MemoryWindowSystem ws;
    std::unique_ptr<DriveSource> drives = systemDriveSource();
    std::unique_ptr<FileSystem> fs = systemFileSystem();
    std::string folder;
    frmDrive form;

    explicit RealWorld(std::string programFolder)
        : folder(std::move(programFolder)),
          form(ws, Services {*drives, *fs, systemCounter(), systemClock(), NumericLocale {}, folder, documentsFolder()})
    {
    }
};

TEST(RealRun, SurveyListsCAsAHardDiskAndARunAddsFiveRows)
{
    TempFolder prog;
    RealWorld w(prog.str());
    w.form.Form_Load();
    ASSERT_TRUE(w.ws.errors.empty()) << w.ws.errors[0];
    const auto& drives = w.ws.rows(Ctl::List1);
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(drives[0].rfind(" C:- Hard Disk  Free Space: ", 0), 0u) << drives[0];
    EXPECT_NE(drives[0].find(" MB  Total Size: "), std::string::npos) << drives[0];
    EXPECT_EQ(drives[0].substr(drives[0].size() - 3), " MB");

    EXPECT_FALSE(exists("C:\\~test.tmp"));
    for (const char* size : {"1k", "1M", "5M"}) {
        SCOPED_TRACE(size);
        w.ws.setCaption(Ctl::Label9, size);
        w.ws.selectRow(Ctl::List1, 0);
        std::size_t before = w.ws.rows(Ctl::List2).size();
        w.form.List1_Click();
        ASSERT_TRUE(w.ws.errors.empty()) << w.ws.errors[0];
        const auto& log = w.ws.rows(Ctl::List2);
        ASSERT_EQ(log.size(), before + 5);
        EXPECT_EQ(log[before], drives[0]);
        EXPECT_EQ(log[before + 1], std::string(" Testing On ") + size + " File");
        EXPECT_EQ(log[before + 2].rfind(" Write [MB/s]= ", 0), 0u);
        EXPECT_NE(log[before + 2].find(" Seconds"), std::string::npos);
        EXPECT_EQ(log[before + 3].rfind(" Read  [MB/s]= ", 0), 0u);
        EXPECT_EQ(log[before + 4], " ");
        EXPECT_FALSE(exists("C:\\~test.tmp")) << "the scratch file is deleted";
        EXPECT_EQ(w.form.lastRun().write.bytes, 2u * w.form.lastRun().read.bytes);
        EXPECT_EQ(w.form.lastRun().write.bytes, std::string(size) == "1k" ? 1024u : std::string(size) == "1M" ? 1048576u : 5242880u);
        EXPECT_EQ(w.form.lastRun().write.mode, (IoMode {true, true}));
        EXPECT_EQ(w.form.lastRun().read.mode, (IoMode {true, true}));
        EXPECT_GT(w.form.lastRun().write.seconds, 0.0);
    }
    EXPECT_TRUE(w.ws.isVisible(Ctl::Command4));
}

TEST(RealRun, ASecondCopyHoldingTheFileStopsTheRunAndLeavesItsFile)
{
    TempFolder prog;
    RealWorld w(prog.str());
    w.form.Form_Load();
    auto other = w.fs->claimScratch("C:\\~test.tmp");
    w.ws.selectRow(Ctl::List1, 0);
    w.form.List1_Click();
    ASSERT_EQ(w.ws.errors.size(), 1u);
    EXPECT_NE(w.ws.errors[0].find("Another test is using the file"), std::string::npos) << w.ws.errors[0];
    EXPECT_NE(w.ws.errors[0].find("C:\\~test.tmp"), std::string::npos) << w.ws.errors[0];
    EXPECT_TRUE(w.ws.rows(Ctl::List2).empty());
    EXPECT_TRUE(exists("C:\\~test.tmp"));
    other->remove();
}

TEST(RealSave, CrLfLinesBesideTheProgramReplacedWholeInTheSameMinute)
{
    TempFolder prog;
    RealWorld w(prog.str());
    MemoryWindowSystem& ws = w.ws;
    FormState ctx {ws, Services {*w.drives, *w.fs, systemCounter(), systemClock(), {}, prog.str(), documentsFolder()}};
    FormVariables& st = ctx.vars;
    for (const char* row : {" C:- Hard Disk  Free Space: 1.00 MB  Total Size: 2.00 MB", " Testing On 1M File", " "})
        ws.addRow(Ctl::List2, row);
    LocalDateTime t = systemClock().now();
    saveLog(ctx);
    ws.addRow(Ctl::List2, "more");
    saveLog(ctx);
    ASSERT_TRUE(ws.errors.empty());
    ASSERT_EQ(ws.messages.size(), 2u);
    EXPECT_EQ(ws.messages[1].first, "Vantric");
    const std::string path = st.strFileName;
    EXPECT_EQ(ws.messages[1].second, "Log Saved In\r\n" + path);
    EXPECT_EQ(path.rfind(prog.str() + "\\Vantric_Log_", 0), 0u) << path;
    EXPECT_EQ(path.substr(path.size() - 4), ".txt");
    EXPECT_EQ(path.substr(prog.str().size() + 13, 4), logTimestamp(t).substr(0, 4)) << "year and month";
    const std::string want = " C:- Hard Disk  Free Space: 1.00 MB  Total Size: 2.00 MB\r\n Testing On 1M File\r\n \r\nmore\r\n";
    EXPECT_EQ(readAll(path), std::vector<std::uint8_t>(want.begin(), want.end()));
}

} // namespace
