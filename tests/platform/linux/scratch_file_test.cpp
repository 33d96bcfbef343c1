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

// Another file takes the name, or the name goes, just before a pass opens the file or the run deletes it.
TEST_F(Folder, AnotherFileTakingTheNameIsNeitherWrittenNorDeletedNorIsTheNameMadeAnew)
{
    for (auto [moment, taken] : {std::pair {"write", true}, {"read", true}, {"delete", true}, {"write", false}, {"read", false}}) {
        SCOPED_TRACE(std::string(moment) + (taken ? ", taken" : ", gone"));
        InspectingFileSystem swapping(*files);
        OneRun run(swapping, dir, "1k");
        auto takeName = [&, moment = std::string(moment), taken = taken](const char* now) {
            if (moment != now)
                return;
            writeAll(dir / "theirs", pattern(11));
            fs::rename(taken ? dir / "theirs" : fs::path(scratch), taken ? fs::path(scratch) : dir / "moved");
        };
        swapping.beforeWrite = [&] { takeName("write"); };
        // The read pass opens the file after the second wait window; its last reading comes before the delete.
        run.ws.onDoEvents = [&, calls = 0]() mutable {
            if (++calls == 2)
                takeName("read");
        };
        run.counter.onReading = [&](int n) {
            if (n == 6)
                takeName("delete");
        };
        run.form.List1_Click();
        ASSERT_EQ(run.ws.errors.size(), 1u);
        EXPECT_NE(run.ws.errors[0].find(taken ? kNameTaken : "No such file"), std::string::npos) << run.ws.errors[0];
        ASSERT_EQ(fs::exists(scratch), taken) << "a pass made the name anew";
        EXPECT_TRUE(!taken || readAll(scratch) == pattern(11));
        EXPECT_TRUE(run.ws.rows(Ctl::List2).empty());
        fs::remove(scratch);
    }
}

// A whole run in a child, stopped in the write pass, at the read pass's wait window or while it claims the
// file (held until the file is ours or the run ends), in the drive's folder or in a private folder made for it;
// or a save of its log stopped while the file is written, or while its confirmation waits (no later).
TEST_F(Folder, AStopDuringARunOrASaveLeavesNothingAndDiesOfTheSignal)
{
    for (auto [sig, when, inPrivate] : {std::tuple {SIGTERM, "write", false}, {SIGINT, "write", true},
                                        {SIGHUP, "read", false}, {SIGTERM, "read", true}, {SIGINT, "claim", true},
                                        {SIGTERM, "claim refused", false}, {SIGTERM, "save", false},
                                        {SIGINT, "save", true}, {SIGTERM, "confirm", false}}) {
        SCOPED_TRACE(std::string(sigabbrev_np(sig)) + " at " + when + (inPrivate ? " in a private folder" : ""));
        ChildResult r = runInChild([&, sig = sig, when = std::string(when), inPrivate = inPrivate] {
            InspectingFileSystem watched(*files);
            OneRun run(watched, dir, "1M");
            run.drives.folders['C'] = {{dir, inPrivate}};
            auto at = [&](const char* point) {
                if (!when.starts_with(point))
                    return;
                if (!when.starts_with("claim") && fs::is_empty(dir))
                    ::_exit(3); // nothing to clean up yet: the stop would prove nothing
                ::raise(sig); // handled before raise returns
                if (when == "claim refused") // nothing is armed before the run ends
                    fs::create_directory(scratch);
            };
            run.counter.onReading = [&](int n) { n == 1 ? at("write") : void(); };
            run.ws.onDoEvents = [&, calls = 0]() mutable { ++calls == 2 ? at("read") : void(); };
            watched.beforeClaim = [&] { at("claim"); };
            run.form.List1_Click();
            watched.whileText = [&] { at("save"); };
            run.ws.onMessageBox = [&] { at("confirm"), ::_exit(4); };
            run.form.Command4_Click();
            return 2;
        });
        ASSERT_FALSE(r.exited) << describe(r);
        EXPECT_EQ(r.signal, sig);
        if (fs::is_directory(scratch))
            fs::remove(scratch); // what refused the claim
        if (std::string_view(when) == "confirm") fs::remove(fs::directory_iterator(dir)->path()); // the saved log
        EXPECT_TRUE(fs::is_empty(dir)) << "the scratch file or its folder was left";
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
            TerminationCleanup first {systemStopHooks()};
            TerminationCleanup second {systemStopHooks()};
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
