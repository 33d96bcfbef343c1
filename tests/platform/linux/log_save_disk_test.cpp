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
#include <unistd.h>

using namespace vantric;
using namespace vantric::test;
namespace fs = std::filesystem;

namespace {

// The local clock against the system clock moved by the zone's offset, with
// the standard library's calendar (not the C library's).
TEST(LocalClock, TellsTheDateAndTimeInTheZone)
{
    using namespace std::chrono;
    // time() may lag the system clock by a tick: a second before counts.
    const auto from = floor<seconds>(system_clock::now()) - 1s;
    ChildResult r = runInChild([] {
        ::setenv("TZ", "XYZ-5:30", 1); // 5 h 30 east of UTC, no summer time
        const LocalDateTime t = systemClock().now();
        std::printf("%d-%d-%d %d:%d:%d", t.year, t.month, t.day, t.hour, t.minute, t.second);
        return 0;
    });
    const auto to = floor<seconds>(system_clock::now());
    ASSERT_TRUE(r.exited && r.status == 0) << describe(r);
    std::string zoned = "|";
    for (auto local = from + 5h + 30min; local <= to + 5h + 30min; local += 1s) {
        const year_month_day d {floor<days>(local)};
        const hh_mm_ss hms {local - floor<days>(local)};
        char text[64];
        std::snprintf(text, sizeof text, "%d-%u-%u %ld:%ld:%ld|", int(d.year()), unsigned(d.month()), unsigned(d.day()),
                      long(hms.hours().count()), long(hms.minutes().count()), long(hms.seconds().count()));
        zoned += text;
    }
    EXPECT_NE(zoned.find("|" + r.out + "|"), std::string::npos) << r.out << " is none of " << zoned;
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
    fs::permissions(top, static_cast<fs::perms>(0711));
    fs::permissions(prog, static_cast<fs::perms>(0555));
    fs::permissions(docs, fs::perms::all);

    ChildResult r = runInChild([&] {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            return 4;
        if (::open((prog / "probe").c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644) >= 0 || errno != EACCES)
            return 5; // the program folder can be written
        MemoryWindowSystem ws;
        FakeDriveSource drives;
        FakeCounter counter;
        FixedClock clock;
        auto files = systemFileSystem();
        FormState form(ws, Services {drives, *files, counter, clock, NumericLocale {}, prog.string(), docs.string()});
        for (const char* row : {"one", " two", " "})
            ws.addRow(Ctl::List2, row);
        saveLog(form);
        std::fputs(ws.messages.size() == 1 ? ws.messages[0].second.c_str() : "not one message", stdout);
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
