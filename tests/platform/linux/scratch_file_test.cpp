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

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vantric;
namespace fs = std::filesystem;

namespace {

struct Folder : ::testing::Test {
    fs::path dir;
    std::unique_ptr<FileSystem> files = systemFileSystem();
    Folder()
    {
        std::string tmpl = (fs::path(VANTRIC_BUILD_DIR) / "vantric-scratch-XXXXXX").string();
        dir = ::mkdtemp(tmpl.data());
    }
    ~Folder() override { fs::remove_all(dir); }
    std::string scratch() const { return (dir / "~test.tmp").string(); }
};

std::string contents(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string refusal(FileSystem& files, const std::string& path)
{
    try {
        files.claimScratch(path);
    } catch (const VantricError& e) {
        return e.reason();
    }
    return "claimed";
}

TEST_F(Folder, AHardLinkedScratchFileIsSomeoneElsesAndStaysUntouched)
{
    std::ofstream(dir / "precious") << "keep me";
    fs::create_hard_link(dir / "precious", scratch());
    EXPECT_NE(refusal(*files, scratch()).find("It has other links"), std::string::npos);
    EXPECT_EQ(contents(dir / "precious"), "keep me");
    EXPECT_TRUE(fs::exists(scratch()));
}

TEST_F(Folder, AFileAnotherProcessHoldsIsRefusedAndKeepsItsBytes)
{
    std::ofstream(scratch()) << "theirs";
    int ready[2], done[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(done), 0);
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        // Another copy of the program, holding the file for its run.
        auto own = systemFileSystem()->claimScratch(scratch());
        char c = 1;
        (void)!::write(ready[1], &c, 1);
        (void)!::read(done[0], &c, 1);
        ::_exit(0);
    }
    char c;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    EXPECT_NE(refusal(*files, scratch()).find("Another test is using the file"), std::string::npos);
    EXPECT_EQ(contents(scratch()), "theirs");
    ASSERT_EQ(::write(done[1], &c, 1), 1);
    int status = 0;
    ::waitpid(pid, &status, 0);
    // Once the other run is over the file can be taken, and deleted.
    auto claim = files->claimScratch(scratch());
    EXPECT_EQ(refusal(*files, scratch()).find("claimed"), std::string::npos) << "a second claim must fail";
    claim->remove();
    EXPECT_FALSE(fs::exists(scratch()));
    for (int fd : {ready[0], ready[1], done[0], done[1]})
        ::close(fd);
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
        struct Clock0 : Clock {
            LocalDateTime now() override { return {}; }
        } clock;
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

TEST_F(Folder, APrivateFolderIsOursAloneAndGoesWhenEmpty)
{
    auto made = files->makePrivateFolder(dir.string());
    ASSERT_TRUE(made);
    EXPECT_EQ(fs::status(*made).permissions() & fs::perms::all, fs::perms::owner_all);
    files->removeFolder(*made);
    EXPECT_FALSE(fs::exists(*made));
    EXPECT_FALSE(files->makePrivateFolder((dir / "missing").string()));
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
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        test::MemoryWindowSystem ws;
        test::FakeDriveSource drives;
        drives.folders['C'] = {{dir.string()}};
        test::FakeCounter counter;
        struct Clock0 : Clock {
            LocalDateTime now() override { return {}; }
        } clock;
        frmDrive form(ws, Services {drives, *files, counter, clock, NumericLocale {}, dir.string()});
        ws.addRow(Ctl::List1, " C:- Hard Disk");
        ws.selectRow(Ctl::List1, 0);
        ws.setCaption(Ctl::Label9, "1M");
        auto stopHere = [&] {
            char c = 1;
            (void)!::write(ready[1], &c, 1);
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
        ::_exit(2);
    }
    char c;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ASSERT_TRUE(fs::exists(scratch()));
    ::kill(pid, GetParam().signal);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), GetParam().signal);
    EXPECT_FALSE(fs::exists(scratch()));
    ::close(ready[0]);
    ::close(ready[1]);
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
