// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
// The scratch file on real files: ours alone during a run, gone when the program is told to stop.

#include "fakes/fake_world.h"
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

// Another file takes the name just before a pass opens it or the run deletes it; the run hands
// each open its claim (benchmark_run_test).
TEST_F(Folder, AnotherFileTakingTheNameIsNeitherWrittenNorDeleted)
{
    auto takeName = [&] {
        writeAll(dir / "theirs", pattern(11));
        fs::rename(dir / "theirs", scratch);
    };
    {
        auto claim = files->claimScratch(scratch);
        takeName();
        EXPECT_EQ(reasonOf([&] { files->openBlockWrite(scratch, claim->file()); }), kNameTaken);
        EXPECT_EQ(readAll(scratch), pattern(11));
        fs::remove(scratch);
    }
    for (std::string moment : {"read", "delete"}) {
        OneRun run(*files, dir, "1k");
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

// A whole run in a child, stopped in the write pass or at the read pass's wait window.
TEST_F(Folder, AStopDuringARunRemovesTheScratchFileAndDiesOfTheSignal)
{
    for (auto [sig, inWritePass] : {std::pair {SIGTERM, true}, {SIGINT, true}, {SIGHUP, false}, {SIGTERM, false}}) {
        SCOPED_TRACE(std::string(sigabbrev_np(sig)) + (inWritePass ? " in the write pass" : " at the read point"));
        Child child([&, inWritePass = inWritePass] {
            OneRun run(*files, dir, "1M");
            auto stopHere = [] {
                std::puts("stop");
                std::fflush(stdout);
                ::sleep(30);
                ::_exit(1);
            };
            if (inWritePass)
                run.counter.onReading = [&](int n) {
                    if (n == 1)
                        stopHere();
                };
            else
                run.ws.onDoEvents = [&, calls = 0]() mutable {
                    if (++calls == 2)
                        stopHere();
                };
            run.form.List1_Click();
            return 2;
        });
        ASSERT_EQ(child.readLine(), "stop");
        ASSERT_TRUE(fs::exists(scratch));
        child.signal(sig);
        ChildResult r = child.wait();
        ASSERT_FALSE(r.exited) << describe(r);
        EXPECT_EQ(r.signal, sig);
        EXPECT_FALSE(fs::exists(scratch));
    }
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
