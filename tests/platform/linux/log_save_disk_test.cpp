// Saving the log into real folders of this machine: the folder given, and
// the documents folder when the program's folder may not be written.

#include "fakes/fake_counter.h"
#include "fakes/fake_drives.h"
#include "fakes/memory_window_system.h"
#include "platform/folders.h"
#include "support/child_process.h"
#include "support/fixed_clock.h"
#include "support/temp_folder.h"
#include "ui/log_save.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <fcntl.h>
#include <grp.h>
#include <set>
#include <thread>
#include <unistd.h>

using namespace vantric;
using namespace vantric::test;
namespace fs = std::filesystem;

namespace {

// A save on the real file system, into `folder` or else `documents`.
struct World {
    World(const std::string& folder, std::optional<std::string> documents)
        : form(ws, Services {drives, *fsys, counter, clock, NumericLocale {}, folder, std::move(documents)})
    {
    }
    MemoryWindowSystem ws;
    test::FakeDriveSource drives;
    test::FakeCounter counter;
    FixedClock clock;
    std::unique_ptr<FileSystem> fsys = systemFileSystem();
    FormState form;
};

// The local clock, against the time of the system clock moved by the zone's
// offset with the standard library's calendar (not the C library's).
TEST(LocalClock, TellsTheDateAndTimeInTheZone)
{
    ChildResult r = runInChild([] {
        ::setenv("TZ", "XYZ-5:30", 1); // 5 h 30 east of UTC, no summer time
        using namespace std::chrono;
        for (;;) {
            // Away from the turn of a second: time() may lag the clock by a tick.
            const auto at = system_clock::now();
            const auto utc = floor<seconds>(at);
            if (at - utc < milliseconds(100) || at - utc > milliseconds(900)) {
                std::this_thread::sleep_for(milliseconds(50));
                continue;
            }
            const LocalDateTime t = systemClock().now();
            if (floor<seconds>(system_clock::now()) != utc)
                continue;
            const auto local = utc + hours(5) + minutes(30);
            const year_month_day d {floor<days>(local)};
            const hh_mm_ss hms {local - floor<days>(local)};
            std::printf("%d-%d-%d %d:%d:%d\n%d-%u-%u %d:%d:%d\n", t.year, t.month, t.day, t.hour, t.minute,
                        t.second, int(d.year()), unsigned(d.month()), unsigned(d.day()), int(hms.hours().count()),
                        int(hms.minutes().count()), int(hms.seconds().count()));
            return 0;
        }
    });
    ASSERT_TRUE(r.exited && r.status == 0) << describe(r);
    const auto nl = r.out.find('\n');
    EXPECT_EQ(r.out.substr(0, nl + 1), r.out.substr(nl + 1)) << "the clock, then the time in the zone";
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

// A real folder the saving user may not write: root writes anywhere, so as
// root the save runs as the unprivileged user "nobody" (65534).
TEST(SaveOnDisk, ReadOnlyProgramFolderSavesIntoTheDocumentsFolder)
{
    TempFolder temp;
    const fs::path& top = temp.path();
    fs::path prog = top / "bin", docs = top / "Documents";
    fs::create_directory(prog);
    fs::create_directory(docs);
    fs::permissions(top, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    fs::permissions(prog, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read
                              | fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(docs, fs::perms::all);

    ChildResult r = runInChild([&] {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            return 4;
        int probe = ::open((prog / "probe").c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (probe >= 0 || errno != EACCES) {
            std::fprintf(stderr, "the program folder can be written\n");
            return 5;
        }
        World w(prog.string(), docs.string());
        MemoryWindowSystem& ws = w.ws;
        for (const char* row : {"one", " two", " "})
            ws.addRow(Ctl::List2, row);
        saveLog(w.form);
        if (ws.messages.size() != 1)
            return 6;
        std::fputs(ws.messages[0].second.c_str(), stdout);
        return 0;
    });
    ASSERT_TRUE(r.exited && r.status == 0) << describe(r);
    const fs::path saved = docs / "Vantric_Log_2612050907.txt";
    EXPECT_EQ(r.out, "Log Saved In\r\n" + saved.string());
    std::ifstream in(saved, std::ios::binary);
    std::string got {std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(got, "one\r\n two\r\n \r\n");
    EXPECT_TRUE(fs::is_empty(prog));
    fs::permissions(prog, fs::perms::owner_all);
}

} // namespace
