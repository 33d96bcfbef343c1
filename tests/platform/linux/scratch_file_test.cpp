// The scratch file on real files: ours alone while a run uses it, and gone
// when the program is told to stop.

#include "app/frmDrive.h"
#include "fakes/fake_counter.h"
#include "fakes/fake_drives.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "fakes/inspecting_file_system.h"
#include "fakes/memory_window_system.h"
#include "platform/termination.h"
#include "support/child_process.h"
#include "support/error_reason.h"
#include "support/fixed_clock.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace vantric;
namespace fs = std::filesystem;

namespace {

struct Folder : ::testing::Test {
    test::TempFolder temp;
    const fs::path& dir = temp.path();
    std::unique_ptr<FileSystem> files = systemFileSystem();
    std::string scratch() const { return temp.file("~test.tmp"); }
};

std::string contents(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string refusal(FileSystem& files, const std::string& path)
{
    return test::reasonOf([&] { files.claimScratch(path); });
}

TEST_F(Folder, AFileAnotherProcessHoldsIsRefusedAndKeepsItsBytes)
{
    std::ofstream(scratch()) << "theirs";
    {
        // Another copy of the program, holding the file for its run.
        test::Child other([&] {
            auto own = systemFileSystem()->claimScratch(scratch());
            std::puts("holding");
            std::fflush(stdout);
            ::pause();
            return 0;
        });
        ASSERT_EQ(other.readLine(), "holding");
        EXPECT_NE(refusal(*files, scratch()).find("Another test is using the file"), std::string::npos);
        EXPECT_EQ(contents(scratch()), "theirs");
    }
    // Once the other run is over the file can be taken, and deleted.
    files->claimScratch(scratch())->remove();
    EXPECT_FALSE(fs::exists(scratch()));
}

// Another file takes the scratch file's name while the run holds it, just
// before a pass opens it or the run deletes it: the run stops and says so,
// and neither writes to nor deletes the other file.
TEST_F(Folder, AnotherFileTakingTheNameIsNeitherWrittenNorDeleted)
{
    for (const char* moment : {"write", "read", "delete"}) {
        test::InspectingFileSystem swapping(*files);
        swapping.meanwhile = [&](const std::string& now, const std::string& path) {
            if (now == moment) {
                std::ofstream(dir / "theirs") << "their bytes";
                fs::rename(dir / "theirs", path);
            }
        };
        test::MemoryWindowSystem ws;
        test::FakeDriveSource drives;
        drives.folders['C'] = {{dir.string()}};
        test::FakeCounter counter;
        test::FixedClock clock;
        frmDrive form(ws, Services {drives, swapping, counter, clock, NumericLocale {}, dir.string()});
        ws.addRow(Ctl::List1, " C:- Hard Disk");
        ws.selectRow(Ctl::List1, 0);
        ws.setCaption(Ctl::Label9, "1k");
        form.List1_Click();
        const std::string said = ws.errors.empty() ? "no error" : ws.errors[0];
        EXPECT_EQ(ws.errors.size(), 1u) << moment;
        EXPECT_NE(said.find(kNameTaken), std::string::npos) << moment << ": " << said;
        EXPECT_EQ(contents(scratch()), "their bytes") << moment;
        EXPECT_TRUE(ws.rows(Ctl::List2).empty()) << moment;
        fs::remove(scratch());
    }
}

TEST_F(Folder, APrivateFolderIsForItsOwnerAlone)
{
    auto made = files->makePrivateFolder(dir.string());
    ASSERT_TRUE(made);
    EXPECT_EQ(fs::status(*made).permissions() & fs::perms::all, fs::perms::owner_all);
    files->removeFolder(*made);
}

// A whole run in a child process, stopped by a signal at a chosen moment.
struct Stopped {
    int signal;
    const char* when;
};

void PrintTo(const Stopped& s, std::ostream* os)
{
    *os << sigabbrev_np(s.signal) << " during the " << s.when;
}

class StopDuringARun : public Folder, public ::testing::WithParamInterface<Stopped> {};

TEST_P(StopDuringARun, RemovesTheScratchFileAndDiesOfTheSignal)
{
    test::Child run([&] {
        test::MemoryWindowSystem ws;
        test::FakeDriveSource drives;
        drives.folders['C'] = {{dir.string()}};
        test::FakeCounter counter;
        test::FixedClock clock;
        frmDrive form(ws, Services {drives, *files, counter, clock, NumericLocale {}, dir.string()});
        ws.addRow(Ctl::List1, " C:- Hard Disk");
        ws.selectRow(Ctl::List1, 0);
        ws.setCaption(Ctl::Label9, "1M");
        auto stopHere = [&] {
            std::puts("stop");
            std::fflush(stdout);
            ::sleep(30);
            ::_exit(1);
        };
        if (std::string(GetParam().when) == "write pass")
            counter.onReading = [&](int n) {
                if (n == 1) // the write pass's stopwatch starts
                    stopHere();
            };
        else
            ws.onDoEvents = [&, calls = 0]() mutable {
                if (++calls == 2) // the read pass's wait window is up
                    stopHere();
            };
        form.List1_Click();
        return 2;
    });
    ASSERT_EQ(run.readLine(), "stop");
    ASSERT_TRUE(fs::exists(scratch()));
    run.signal(GetParam().signal);
    test::ChildResult r = run.wait();
    ASSERT_FALSE(r.exited) << test::describe(r);
    EXPECT_EQ(r.signal, GetParam().signal);
    EXPECT_FALSE(fs::exists(scratch()));
}

INSTANTIATE_TEST_SUITE_P(Signals, StopDuringARun,
                         ::testing::Values(Stopped {SIGTERM, "write pass"}, Stopped {SIGINT, "write pass"},
                                           Stopped {SIGHUP, "read point"}, Stopped {SIGTERM, "read point"}),
                         [](const auto& info) {
                             std::string when = info.param.when;
                             when.erase(std::remove(when.begin(), when.end(), ' '), when.end());
                             return std::string(sigabbrev_np(info.param.signal)) + "During_" + when;
                         });

// A cleanup made while another lives saves the other's handlers, not the
// system's: once both are gone the signals do what they did before.
TEST(StopHandlers, ASecondInstallationPutsBackWhatTheFirstFound)
{
    test::ChildResult r = test::runInChild([] {
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
    EXPECT_TRUE(r.exited && r.status == 0) << "signals left with our handler: " << test::describe(r);
}

} // namespace
