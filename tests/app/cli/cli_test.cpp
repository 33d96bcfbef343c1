// vantric-cli through its entry point: arguments, rows, JSON, exit status.

#include "app/cli/cli.h"
#include "fakes/fake_drives.h"
#include "fakes/fake_files.h"
#include "platform/file_table.h"
#include "support/fixed_clock.h"
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
    test::FixedClock clock;
    std::ostringstream out, err;

    Cli()
    {
        drives.drives['C'] = {.type = 2, .avail = 1048576.0 * 3, .total = 1048576.0 * 4};
        drives.drives['D'] = {.type = 3, .avail = 1024, .total = 2048}; // network: not listed
        drives.drives['E'] = {.type = 5, .avail = 2048, .total = 4096};
        drives.info['C'] = {"/", "ext4"};
    }
    int run(std::vector<std::string> args, FileSystem& files)
    {
        return runCli(args, Services {drives, files, systemCounter(), clock, NumericLocale {}, "/prog"},
                      CliStreams {out, err, false});
    }
};

TEST(CliCommand, ListsTheRowsAsTheWindowDoes)
{
    Cli c;
    test::FakeFileSystem files;
    EXPECT_EQ(c.run({"--list"}, files), 0);
    EXPECT_EQ(c.out.str(), " C:- Hard Disk  Free Space: 3.00 MB  Total Size: 4.00 MB\n"
                           " E:- RAM Disc  Free Space: 2 KB  Total Size: 4 KB\n");
    EXPECT_EQ(c.err.str(), "");
}

TEST(CliCommand, BadArgumentsExitWithTwoAndSayWhy)
{
    struct Case {
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {{}, "give --list or --drive"},
        {{"--frobnicate"}, "unknown argument"},
        {{"--drive"}, "--drive needs a value"},
        {{"--drive", "C", "--size", "3M"}, "1k, 2k, 5k, 10k, 25k, 50k, 100k, 500k, 1000k, 1M, 2M, 5M, 10M, 25M, 50M, 100M"},
        {{"--drive", "C", "--size", "1m"}, "unknown size \"1m\""},
        {{"--drive", "C", "--repeat", "0"}, "--repeat takes a whole number"},
        {{"--drive", "C", "--repeat", "2x"}, "--repeat takes a whole number"},
        {{"--list", "--drive", "C"}, "give it alone"},
        {{"--drive", "/no/such/folder"}, "neither a drive letter"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        Cli cli;
        test::FakeFileSystem files;
        EXPECT_EQ(cli.run(c.args, files), 2);
        EXPECT_NE(cli.err.str().find(c.says), std::string::npos) << cli.err.str();
        EXPECT_NE(cli.err.str().find("usage: vantric-cli"), std::string::npos);
        EXPECT_EQ(cli.out.str(), "");
        EXPECT_TRUE(files.opened.empty());
    }
}

TEST(CliCommand, AFailedTestExitsWithOneAndTheWindowsMessage)
{
    Cli c;
    test::FakeFileSystem files;
    c.drives.folders['C'] = {{"/"}};
    files.refuseCreate["/~test.tmp"] = EROFS;
    EXPECT_EQ(c.run({"--drive", "c:", "--size", "1k"}, files), 1);
    EXPECT_NE(c.err.str().find("You may not create files on this drive"), std::string::npos) << c.err.str();
    EXPECT_EQ(c.out.str(), "");
    Cli unlisted;
    EXPECT_EQ(unlisted.run({"--drive", "D"}, files), 1);
    EXPECT_NE(unlisted.err.str().find("D: is not in the list"), std::string::npos);
}

class CliOnAFolder : public ::testing::TestWithParam<const char*> {
protected:
    test::TempFolder temp;
    const fs::path& dir = temp.path();
};

TEST_P(CliOnAFolder, RunsTheWindowsTestInTheFolderAndLeavesNothing)
{
    const std::string size = GetParam();
    const std::uint64_t count = size == "1k" ? 512 : 524288;
    auto files = systemFileSystem();
    Cli c;
    c.drives.holding[dir.string()] = "C";
    c.drives.folders['C'] = {{"/elsewhere"}};
    ASSERT_EQ(c.run({"--drive", dir.string(), "--size", size, "--repeat", "2"}, *files), 0) << c.err.str();
    std::vector<std::string> lines;
    std::istringstream rows(c.out.str());
    for (std::string l; std::getline(rows, l);)
        lines.push_back(l);
    ASSERT_EQ(lines.size(), 10u);
    const std::regex number("[0-9,]*\\.[0-9]+");
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        EXPECT_EQ(lines[run * 5], " C:- Hard Disk  Free Space: 3.00 MB  Total Size: 4.00 MB");
        EXPECT_EQ(lines[run * 5 + 1], " Testing On " + size + " File");
        EXPECT_TRUE(std::regex_match(lines[run * 5 + 2], std::regex(" Write \\[MB/s\\]= [0-9]*\\.[0-9]{6} [0-9]*\\.[0-9]{4} Seconds")))
            << lines[run * 5 + 2];
        EXPECT_TRUE(std::regex_match(lines[run * 5 + 3], std::regex(" Read  \\[MB/s\\]= [0-9]*\\.[0-9]{6}  [0-9]*\\.[0-9]{4} Seconds")))
            << lines[run * 5 + 3];
        EXPECT_EQ(lines[run * 5 + 4], " ");
    }
    EXPECT_TRUE(fs::is_empty(dir));

    Cli j;
    j.drives.holding[dir.string()] = "C";
    j.drives.folders['C'] = {{"/elsewhere"}};
    j.drives.info['C'] = {"/mnt/\"odd\"", "ext4"};
    ASSERT_EQ(j.run({"--drive", dir.string(), "--size", size, "--json"}, *files), 0) << j.err.str();
    QJsonParseError error {};
    auto doc = QJsonDocument::fromJson(QByteArray::fromStdString(j.out.str()), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << j.out.str();
    QJsonObject o = doc.object();
    EXPECT_EQ(o["letter"].toString(), "C");
    EXPECT_EQ(o["mount_point"].toString(), "/mnt/\"odd\"");
    EXPECT_EQ(o["size"].toString().toStdString(), size);
    EXPECT_EQ(o["write_bytes"].toInteger(), static_cast<qint64>(2 * count));
    EXPECT_EQ(o["read_bytes"].toInteger(), static_cast<qint64>(count));
    EXPECT_GT(o["write_seconds"].toDouble(), 0);
    EXPECT_NEAR(o["read_mib_per_s"].toDouble(), count / 1048576.0 / o["read_seconds"].toDouble(), 1e-6);
    {
        // A channel opened the same way on the same folder goes the same way.
        FileTable table(*files);
        table.openWrite(1, (dir / "probe").string());
        IoMode m = table.writer(1).mode();
        table.close(1);
        fs::remove(dir / "probe");
        EXPECT_EQ(o["write_io"].toString().toStdString(),
                  std::string(m.direct ? "direct" : "cached") + (m.async ? ",ring" : ",synchronous"));
    }
    EXPECT_TRUE(fs::is_empty(dir));

    // The modes are those the run's channels really used: here the page
    // cache and one call at a time are all they may use.
    auto plain = systemFileSystem(IoOptions {.direct = false, .async = false});
    Cli p;
    p.drives.holding[dir.string()] = "C";
    p.drives.folders['C'] = {{"/elsewhere"}};
    ASSERT_EQ(p.run({"--drive", dir.string(), "--size", size, "--json"}, *plain), 0) << p.err.str();
    o = QJsonDocument::fromJson(QByteArray::fromStdString(p.out.str())).object();
    EXPECT_EQ(o["write_io"].toString(), "cached,synchronous");
    EXPECT_EQ(o["read_io"].toString(), "cached,synchronous");
    EXPECT_TRUE(fs::is_empty(dir));
}

INSTANTIATE_TEST_SUITE_P(Sizes, CliOnAFolder, ::testing::Values("1k", "1M"),
                         [](const auto& info) { return std::string(info.param); });

} // namespace
