// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
// The scratch file on real files: ours alone during a run, gone when the program is told to stop.

#include "fakes/fake_world.h"
#include "fakes/inspecting_file_system.h"
#include "platform/file_bytes.h"
#include "platform/file_system.h"
#include "platform/termination.h"
#include "support/child_process.h"
#include "support/error_reason.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <unistd.h>

using namespace vantric;
using namespace vantric::test;
namespace fs = std::filesystem;

namespace {

struct Folder : ::testing::Test {
    TempFolder temp;
    const fs::path& dir = temp.path();
    std::unique_ptr<FileSystem> files = systemFileSystem();
    const std::string scratch = temp.file("~test.tmp");
};

TEST_F(Folder, APrivateFolderIsItsOwnersAlone)
{
    auto made = files->makePrivateFolder(dir.string());
    ASSERT_TRUE(made);
    EXPECT_EQ(fs::status(*made).permissions() & fs::perms::all, fs::perms::owner_all);
    files->removeFolder(*made);
}

// Another file takes the name just before a pass opens it or the run deletes it.
TEST_F(Folder, AnotherFileTakingTheNameIsNeitherWrittenNorDeleted)
{
    for (std::string moment : {"write", "read", "delete"}) {
        InspectingFileSystem swapping(*files);
        OneRun run(swapping, dir, "1k");
        auto takeName = [&] {
            writeAll(dir / "theirs", pattern(11));
            fs::rename(dir / "theirs", scratch);
        };
        swapping.beforeWrite = [&] {
            if (moment == "write")
                takeName();
        };
        // The read pass opens the file after the second wait window; its last reading comes before the delete.
        run.ws.onDoEvents = [&, calls = 0]() mutable {
            if (++calls == 2 && moment == "read")
                takeName();
        };
        run.counter.onReading = [&](int n) {
            if (n == 6 && moment == "delete")
                takeName();
        };
        run.form.List1_Click();
        ASSERT_EQ(run.ws.errors.size(), 1u) << moment;
        EXPECT_NE(run.ws.errors[0].find(kNameTaken), std::string::npos) << moment << ": " << run.ws.errors[0];
        EXPECT_EQ(readAll(scratch), pattern(11)) << moment;
        EXPECT_TRUE(run.ws.rows(Ctl::List2).empty()) << moment;
        fs::remove(scratch);
    }
}

// A whole run in a child, stopped in the write pass or at the read pass's wait window; or a save of its log stopped
// while the file is written. Nothing is left in the folder.
TEST_F(Folder, AStopDuringARunOrASaveLeavesNothingAndDiesOfTheSignal)
{
    enum Point { kWritePass, kReadPoint, kSave };
    for (auto [sig, point] : {std::pair {SIGTERM, kWritePass}, {SIGINT, kWritePass}, {SIGHUP, kReadPoint},
                              {SIGTERM, kReadPoint}, {SIGTERM, kSave}, {SIGINT, kSave}}) {
        SCOPED_TRACE(std::string(sigabbrev_np(sig)) + " at point " + std::to_string(point));
        Child child([&, point = point] {
            InspectingFileSystem inspecting(*files);
            OneRun run(inspecting, dir, point == kSave ? "1k" : "1M");
            // A signal that comes while nothing is armed yet is acted on once it is.
            auto stopHere = [] {
                std::puts("stop");
                std::fflush(stdout);
                ::sleep(30);
            };
            if (point == kWritePass)
                run.counter.onReading = [&](int n) {
                    if (n == 1)
                        stopHere();
                };
            else if (point == kReadPoint)
                run.ws.onDoEvents = [&, calls = 0]() mutable {
                    if (++calls == 2)
                        stopHere();
                };
            run.form.List1_Click();
            inspecting.whileText = stopHere;
            run.form.Command4_Click();
            return 2;
        });
        ASSERT_EQ(child.readLine(), "stop");
        ASSERT_FALSE(fs::is_empty(dir)) << "nothing was being written";
        child.signal(sig);
        ChildResult r = child.wait();
        ASSERT_FALSE(r.exited) << describe(r);
        EXPECT_EQ(r.signal, sig);
        for (const auto& e : fs::directory_iterator(dir))
            ADD_FAILURE() << "left behind: " << e.path().filename();
    }
}

// An old file is emptied before the write pass's stopwatch starts: every run allocates what it writes.
TEST_F(Folder, AnOldScratchFileIsEmptiedBeforeTheWritePassIsTimed)
{
    writeAll(scratch, pattern(1 << 20));
    OneRun run(*files, dir, "1k");
    struct stat atStart {.st_size = -1};
    run.counter.onReading = [&](int n) {
        if (n == 1)
            ::stat(scratch.c_str(), &atStart);
    };
    run.form.List1_Click();
    ASSERT_TRUE(run.ws.errors.empty()) << run.ws.errors[0];
    EXPECT_TRUE(atStart.st_size == 0 && atStart.st_blocks == 0) << atStart.st_size << " bytes at the start";
}

// A nested cleanup restores the first one's handlers, and the first the system's.
TEST(StopHandlers, ASecondInstallationPutsBackWhatTheFirstFound)
{
    ChildResult r = runInChild([] {
        for (int sig : {SIGTERM, SIGINT, SIGHUP})
            ::signal(sig, SIG_DFL);
        {
            TerminationCleanup first;
            TerminationCleanup second;
        }
        int caught = 0;
        for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
            struct sigaction now {};
            ::sigaction(sig, nullptr, &now);
            caught += now.sa_handler != SIG_DFL;
        }
        return caught;
    });
    EXPECT_TRUE(r.exited && r.status == 0) << "signals left with our handler: " << describe(r);
}

} // namespace
