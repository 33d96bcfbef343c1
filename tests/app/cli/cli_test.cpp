// vantric-cli through its entry point: arguments, rows, JSON, exit status.

#include "app/cli/cli.h"
#include "fakes/fake_drives.h"
#include "fakes/fake_files.h"
#include "support/fixed_clock.h"
#include "support/linux_files.h"
#include "support/open_flags.h"
#include "support/temp_folder.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <fcntl.h>
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

TEST(CliCommand, HelpAndVersionAnswerOnStandardOutput)
{
    Cli help;
    test::FakeFileSystem files;
    EXPECT_EQ(help.run({"--help"}, files), 0);
    EXPECT_EQ(help.out.str().rfind("usage: vantric-cli --list | --drive LETTER|FOLDER", 0), 0u) << help.out.str();
    for (const char* option : {"--list", "--drive D", "--size SIZE", "--repeat N", "--json"})
        EXPECT_NE(help.out.str().find("\n  " + std::string(option) + " "), std::string::npos) << option;
    Cli version;
    EXPECT_EQ(version.run({"--version"}, files), 0);
    EXPECT_EQ(version.out.str(), std::string("vantric-cli ") + VANTRIC_PROJECT_VERSION + "\n");
    EXPECT_EQ(help.err.str() + version.err.str(), "");
    EXPECT_TRUE(files.opened.empty());
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

TEST(CliCommand, ACompressedRunIsFlaggedAndWarnedOfYetSucceeds)
{
    Cli c;
    test::FakeFileSystem files;
    c.drives.folders['C'] = {{"/"}};
    files.storage = StoredBytes {100, true};
    EXPECT_EQ(c.run({"--drive", "C", "--size", "1k", "--json"}, files), 0);
    EXPECT_NE(c.out.str().find(",\"stored_bytes\":100,\"compressed\":true}"), std::string::npos) << c.out.str();
    EXPECT_EQ(c.err.str().rfind("Vantric: This drive compresses what is written to it", 0), 0u) << c.err.str();
}

class CliOnAFolder : public ::testing::TestWithParam<const char*> {
protected:
    test::TempFolder temp;
    const fs::path& dir = temp.path();
};

TEST_P(CliOnAFolder, RunsTheWindowsTestInTheFolderAndLeavesNothing)
{
    const std::string size = GetParam();
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
}

INSTANTIATE_TEST_SUITE_P(Sizes, CliOnAFolder, ::testing::Values("1k", "1M"),
                         [](const auto& info) { return std::string(info.param); });

} // namespace

namespace {

// The system's file system, looked at as each pass opens its file: whether
// the kernel holds O_DIRECT on the descriptor, and whether a ring is open.
class Watched : public FileSystem {
public:
    explicit Watched(IoOptions o) : real_(systemFileSystem(o)) {}
    std::string writeSeen, readSeen;

    std::unique_ptr<BlockWriter> openBlockWrite(const std::string& path, std::optional<FileId> claimed) override
    {
        auto w = real_->openBlockWrite(path, claimed);
        writeSeen = seen(path);
        return w;
    }
    std::unique_ptr<BlockReader> openBlockRead(const std::string& path, std::uint64_t wanted,
                                               std::optional<FileId> claimed) override
    {
        auto r = real_->openBlockRead(path, wanted, claimed);
        readSeen = seen(path);
        return r;
    }
    std::unique_ptr<ScratchClaim> claimScratch(const std::string& p) override { return real_->claimScratch(p); }
    std::optional<std::string> makePrivateFolder(const std::string& b) override { return real_->makePrivateFolder(b); }
    void removeFolder(const std::string& p) noexcept override { real_->removeFolder(p); }
    std::uint64_t availableBytes(const std::string& f) override { return real_->availableBytes(f); }
    std::uint64_t totalBytes(const std::string& f) override { return real_->totalBytes(f); }
    std::optional<std::uint64_t> regularFileSize(const std::string& p) override { return real_->regularFileSize(p); }
    std::unique_ptr<AtomicFile> createAtomic(const std::string& p) override { return real_->createAtomic(p); }
    StoredBytes storedBytes(const std::string& p, std::uint64_t n) override { return real_->storedBytes(p, n); }

private:
    static std::string seen(const std::string& path)
    {
        const auto flags = test::openFlagsOf(path);
        const bool direct = std::any_of(flags.begin(), flags.end(), [](unsigned f) { return f & O_DIRECT; });
        return std::string(direct ? "direct" : "cached") + (test::ringOpen() ? ",ring" : ",synchronous");
    }
    std::unique_ptr<FileSystem> real_;
};

// Each pass's mode in the JSON is the one the kernel saw, in every mode the
// file system can be asked for (the root file system grants them all).
TEST(CliJson, ModesAreThoseTheKernelSawAndNamesAreEscaped)
{
    test::TempFolder dir(test::rootFolder());
    struct Case {
        IoOptions options;
        const char* mode;
    } cases[] = {{{.direct = true, .async = true}, "direct,ring"},
                 {{.direct = true, .async = false}, "direct,synchronous"},
                 {{.direct = false, .async = true}, "cached,ring"},
                 {{.direct = false, .async = false}, "cached,synchronous"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        Watched files(c.options);
        Cli j;
        j.drives.holding[dir.str()] = "C";
        j.drives.folders['C'] = {{"/elsewhere"}};
        j.drives.info['C'] = {"/mnt/\"odd\"\\\t\x01\x1f", "ext4"};
        ASSERT_EQ(j.run({"--drive", dir.str(), "--size", "1M", "--json"}, files), 0) << j.err.str();
        QJsonParseError error {};
        QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(j.out.str()), &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << j.out.str();
        EXPECT_EQ(files.writeSeen, c.mode);
        EXPECT_EQ(files.readSeen, c.mode);
        EXPECT_EQ(o["write_io"].toString().toStdString(), files.writeSeen);
        EXPECT_EQ(o["read_io"].toString().toStdString(), files.readSeen);
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
        EXPECT_EQ(o["stored_bytes"].toInteger(), 1048576);
        EXPECT_EQ(o["compressed"].toBool(true), false);
        EXPECT_EQ(j.err.str(), "");
        EXPECT_TRUE(fs::is_empty(dir.path()));
    }
}

} // namespace
