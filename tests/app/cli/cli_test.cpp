// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
// vantric-cli through its entry point: arguments, rows, JSON, exit status.

#include "app/cli/cli.h"
#include "fakes/fake_counter.h"
#include "fakes/fake_drives.h"
#include "fakes/fake_files.h"
#include "fakes/fixed_clock.h"
#include "support/linux_files.h"
#include "support/temp_folder.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>

using namespace vantric;
namespace fs = std::filesystem;

namespace {

struct Cli {
    test::FakeDriveSource drives;
    test::FakeCounter counter;
    test::FixedClock clock;
    std::ostringstream out, err;

    Cli()
    {
        counter.step = 1;
        drives.drives['C'] = {.type = 2, .avail = 1048576.0 * 3, .total = 1048576.0 * 4};
        drives.drives['D'] = {.type = 3, .avail = 1024, .total = 2048}; // network: not listed
        drives.drives['E'] = {.type = 5, .avail = 2048, .total = 4096};
        drives.info['C'] = {"/", "ext4"};
    }
    int run(std::vector<std::string> args, FileSystem& files)
    {
        return runCli(args, Services {drives, files, counter, clock, systemStopHooks(), NumericLocale {}, "/prog"},
                      CliStreams {out, err, false});
    }
};

TEST(CliCommand, HelpNamesEveryOption)
{
    Cli help;
    test::FakeFileSystem files;
    EXPECT_EQ(help.run({"--help"}, files), 0);
    EXPECT_EQ(help.out.str().rfind("usage: vantric-cli --list [--json] | --drive LETTER|", 0), 0u) << help.out.str();
    for (const char* option : {"--list", "--drive D", "--size SIZE", "--repeat N", "--json", "--metrics FILE"})
        EXPECT_NE(help.out.str().find("\n  " + std::string(option) + " "), std::string::npos) << option;
    EXPECT_NE(help.out.str().find("name\n                   a folder called C as ./C"), std::string::npos);
    EXPECT_EQ(help.err.str(), "");
}

// Exit 2 with the usage for bad arguments, 1 for output that cannot be written (others in real_runs.sh).
TEST(CliCommand, AnswersWithoutATestAndSaysWhyOnBadArguments)
{
    struct Case {
        std::vector<std::string> args;
        const char* says; // on stderr; nullptr: stderr stays empty
        int status = 2;
        std::string out;
        bool outFails = false;
    } cases[] = {
        {{"--list"}, nullptr, 0,
         " C:- Hard Disk  Free Space: 3.00 MB  Total Size: 4.00 MB\n E:- RAM Disc  Free Space: 2 KB  Total Size: 4 KB\n"},
        {{"--json", "--list"}, nullptr, 0,
         "{\"letter\":\"C\",\"mount_point\":\"/\",\"fs_type\":\"ext4\",\"type\":\"Hard Disk\",\"free_bytes\":3145728,"
         "\"total_bytes\":4194304}\n{\"letter\":\"E\",\"mount_point\":null,\"fs_type\":null,\"type\":\"RAM Disc\","
         "\"free_bytes\":2048,\"total_bytes\":4096}\n"},
        {{"--version"}, nullptr, 0, std::string("vantric-cli ") + VANTRIC_PROJECT_VERSION + "\n"},
        {{"--list"}, "vantric-cli: cannot write the output", 1, "", true},
        {{}, "give --list or --drive"},
        {{"--frobnicate"}, "unknown argument \"--frobnicate\""},
        {{"--drive", "C", "stray"}, "unknown argument \"stray\""},
        {{"--list=yes"}, "disallowed flag override"},
        {{"--drive", "C", "--metrics="}, "--metrics needs a value"},
        {{"--drive", "C", "--drive", "E"}, "--drive is given more than once"},
        {{"--drive=C", "--size=1m"}, "unknown size \"1m\"; the sizes are 1k, 2k, 5k, 10k, 25k, 50k, 100k, 500k, "
                                     "1000k, 1M, 2M, 5M, 10M, 25M, 50M, 100M"},
        {{"--drive", "C", "--repeat=0"}, "--repeat takes a whole number"},
        {{"--drive", "C", "--repeat", "2x"}, "--repeat takes a whole number"},
        {{"--list", "--drive", "C"}, "give it alone"},
        {{"--list", "--size", "1k"}, "give it alone"},
        {{"--drive=/no/such/folder"}, "neither a drive letter"},
        // A folder named by one letter is named with its path; the letter alone is the drive.
        {{"--drive", "./C"}, "\"./C\" is neither a drive letter"},
        {{"--drive", "d:"}, "D: is not in the list"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        Cli cli;
        if (c.outFails) // as stdout on a full device or a closed pipe
            cli.out.setstate(std::ios::badbit);
        test::FakeFileSystem files;
        EXPECT_EQ(cli.run(c.args, files), c.status);
        if (c.says)
            EXPECT_NE(cli.err.str().find(c.says), std::string::npos) << cli.err.str();
        else
            EXPECT_EQ(cli.err.str(), "");
        EXPECT_EQ(cli.err.str().find("usage: vantric-cli") != std::string::npos, c.status == 2) << cli.err.str();
        EXPECT_EQ(cli.out.str(), c.out);
        EXPECT_TRUE(files.opened.empty());
    }
}

TEST(CliOnAFolder, RunsTheWindowsTestInTheFolderAndLeavesNothing)
{
    test::TempFolder dir;
    auto files = systemFileSystem();
    Cli c;
    c.drives.holding[dir.str()] = "C";
    c.drives.folders['C'] = {{"/elsewhere"}};
    ASSERT_EQ(c.run({"--drive=" + dir.str(), "--size=1k", "--repeat", "2"}, *files), 0) << c.err.str();
    const std::string run = " C:- Hard Disk  Free Space: 3\\.00 MB  Total Size: 4\\.00 MB\n Testing On 1k File\n"
                            " Write \\[MB/s\\]= [0-9]*\\.[0-9]{6} [0-9]*\\.[0-9]{4} Seconds\n"
                            " Read  \\[MB/s\\]= [0-9]*\\.[0-9]{6}  [0-9]*\\.[0-9]{4} Seconds\n \n";
    EXPECT_TRUE(std::regex_match(c.out.str(), std::regex("(" + run + "){2}"))) << c.out.str();
    EXPECT_TRUE(fs::is_empty(dir.path()));
    c.drives.folders.erase('C'); // its file system is no longer mounted there
    EXPECT_EQ(c.run({"--drive", dir.str(), "--size", "1k"}, *files), 1);
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

// Each pass's mode in the JSON is its channel's, which the channel tests hold against the kernel; each
// part of it set in one mode alone (the root file system grants them all).
TEST(CliJson, ModesAreThoseOfTheChannelsAndNamesAreEscaped)
{
    test::TempFolder dir(test::rootFolder());
    struct Case {
        IoOptions options;
        const char* mode;
    } cases[] = {{{.direct = true, .async = false}, "direct,synchronous"},
                 {{.direct = false, .async = true}, "cached,ring"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        auto files = systemFileSystem(c.options);
        Cli j;
        j.drives.holding[dir.str()] = "C";
        j.drives.folders['C'] = {{"/elsewhere"}};
        j.drives.info['C'] = {"/mnt/\"odd\"\\\t\x01\x1f", "ext4"};
        ASSERT_EQ(j.run({"--drive", dir.str(), "--size", "1M", "--json"}, *files), 0) << j.err.str();
        QJsonParseError error {};
        QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(j.out.str()), &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << j.out.str();
        EXPECT_EQ(o["write_io"].toString().toStdString(), c.mode);
        EXPECT_EQ(o["read_io"].toString().toStdString(), c.mode);
        EXPECT_EQ(o["letter"].toString(), "C");
        EXPECT_EQ(o["mount_point"].toString().toStdString(), "/mnt/\"odd\"\\\t\x01\x1f");
        // Strict JSON: no control character stands unescaped in a string.
        const std::string line = j.out.str();
        EXPECT_EQ(std::count_if(line.begin(), line.end() - 1, [](unsigned char ch) { return ch < 0x20; }), 0) << line;
        EXPECT_EQ(o["fs_type"].toString(), "ext4");
        EXPECT_EQ(o["size"].toString(), "1M");
        EXPECT_EQ(o["write_bytes"].toInteger(), 1048576);
        EXPECT_EQ(o["read_bytes"].toInteger(), 524288);
        EXPECT_GT(o["write_seconds"].toDouble(), 0);
        EXPECT_NEAR(o["read_mib_per_s"].toDouble(), 0.5 / o["read_seconds"].toDouble(), 1e-6);
        EXPECT_EQ(j.err.str(), "");
    }
}

} // namespace
