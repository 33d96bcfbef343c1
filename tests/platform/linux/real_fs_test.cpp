// Whole runs on real file systems, made by scripts/loop_images.sh on loop
// devices in a private mount namespace. The device itself is watched: its
// free blocks while the scratch file exists, and the open file's flags.

#include "app/frmDrive.h"
#include "fakes/fake_counter.h"
#include "fakes/fake_drives.h"
#include "fakes/memory_window_system.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/statvfs.h>
#include <unistd.h>

using namespace vantric;
namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t k100M = 100u << 20;

// The mount point of one of loop_images.sh's file systems.
std::string mountOf(const std::string& name)
{
    const char* images = std::getenv("VANTRIC_LOOP_IMAGES");
    return images ? std::string(images) + "/" + name : std::string();
}

// Free bytes of the device once everything pending is written out (btrfs
// counts its extents only when the transaction commits).
std::uint64_t deviceFree(const std::string& dir)
{
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::syncfs(fd);
    ::close(fd);
    struct statvfs st {};
    ::statvfs(dir.c_str(), &st);
    return static_cast<std::uint64_t>(st.f_bfree) * st.f_frsize;
}

// The open-file flags of every descriptor of this process on `path`.
std::vector<int> openFlags(const std::string& path)
{
    std::vector<int> flags;
    for (const auto& e : fs::directory_iterator("/proc/self/fd")) {
        std::error_code ec;
        if (fs::read_symlink(e.path(), ec) != path)
            continue;
        std::ifstream info("/proc/self/fdinfo/" + e.path().filename().string());
        std::string key;
        while (info >> key)
            if (key == "flags:") {
                std::string octal;
                info >> octal;
                flags.push_back(std::stoi(octal, nullptr, 8));
            }
    }
    return flags;
}

bool anyDirect(const std::vector<int>& flags, int access)
{
    return std::any_of(flags.begin(), flags.end(),
                       [&](int f) { return (f & O_DIRECT) && (f & O_ACCMODE) == access; });
}

// One run of `size` in `dir` through the window's handler, as the window
// does it, with the device looked at from the run's two event points.
struct RealRun {
    std::string dir;
    IoOptions options;
    test::MemoryWindowSystem ws;
    test::FakeDriveSource drives;
    test::FakeCounter counter;
    struct : Clock {
        LocalDateTime now() override { return {}; }
    } clock;
    std::unique_ptr<FileSystem> files = systemFileSystem(options);
    frmDrive form {ws, Services {drives, *files, counter, clock, NumericLocale {}, dir}};
    std::uint64_t freeBefore = 0, freeWhileThere = 0;
    std::vector<int> writeFlags, readFlags;

    RealRun(std::string folder, IoOptions opt) : dir(std::move(folder)), options(opt) {}

    void run(const std::string& size)
    {
        drives.folders['C'] = {{dir}};
        ws.addRow(Ctl::List1, " C:- Hard Disk");
        ws.selectRow(Ctl::List1, 0);
        ws.setCaption(Ctl::Label9, size);
        const std::string scratch = dir + "/~test.tmp";
        ws.onDoEvents = [&, calls = 0]() mutable {
            // Before the write pass, and with its file still there before the read pass.
            (++calls == 1 ? freeBefore : freeWhileThere) = deviceFree(dir);
        };
        counter.onReading = [&](int n) {
            if (n == 1) // the write pass's stopwatch starts: the file is open
                writeFlags = openFlags(scratch);
            if (n == 4) // and the read pass's
                readFlags = openFlags(scratch);
        };
        form.List1_Click();
    }
    std::vector<std::string> leftOver() const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir))
            if (e.path().filename() != "lost+found")
                names.push_back(e.path().filename().string());
        return names;
    }
};

struct Case {
    const char* fs;
    bool preallocate;
};

class RealFileSystem : public ::testing::TestWithParam<Case> {};

TEST_P(RealFileSystem, AHundredMegabyteRunPutsItsBytesOnTheDeviceDirectly)
{
    const std::string dir = mountOf(GetParam().fs);
    ASSERT_FALSE(dir.empty()) << "no " << GetParam().fs << " mount given: run it through scripts/loop_images.sh";
    IoOptions opt;
    opt.preallocate = GetParam().preallocate;
    opt.preallocateWhereFaster = false; // both ways on every file system
    RealRun r(dir, opt);
    r.run("100M");
    ASSERT_TRUE(r.ws.errors.empty()) << r.ws.errors[0];
    EXPECT_GE(static_cast<double>(r.freeBefore) - static_cast<double>(r.freeWhileThere), 0.95 * k100M)
        << "device free before " << r.freeBefore << ", while the file existed " << r.freeWhileThere;
    const RunRecord& rec = r.form.lastRun();
    EXPECT_TRUE(rec.write.mode.direct && anyDirect(r.writeFlags, O_WRONLY)) << "write pass not O_DIRECT";
    EXPECT_TRUE(rec.read.mode.direct && anyDirect(r.readFlags, O_RDONLY)) << "read pass not O_DIRECT";
    EXPECT_EQ(rec.stored.stored, k100M);
    EXPECT_FALSE(rec.stored.compressed);
    EXPECT_TRUE(r.ws.messages.empty());
    EXPECT_EQ(r.ws.rows(Ctl::List2).size(), 5u);
    EXPECT_TRUE(r.leftOver().empty()) << r.leftOver()[0];
}

INSTANTIATE_TEST_SUITE_P(Mounts, RealFileSystem,
                         ::testing::Values(Case {"btrfs_zstd", true}, Case {"btrfs_zstd", false},
                                           Case {"btrfs_force", true}, Case {"btrfs_force", false},
                                           Case {"xfs", true}, Case {"xfs", false}, Case {"ext4", true},
                                           Case {"ext4", false}),
                         [](const auto& info) {
                             return std::string(info.param.fs)
                                    + (info.param.preallocate ? "_Preallocating" : "_NotPreallocating");
                         });

// btrfs lets a file stop copy-on-write only while it is empty; one that
// already holds bytes is rewritten through the compressor, and the user is
// told so once the run is complete.
TEST(RealFileSystemReport, AnOldScratchFileOnForcedCompressionIsReportedAfterTheRun)
{
    const std::string dir = mountOf("btrfs_force");
    ASSERT_FALSE(dir.empty()) << "no btrfs_force mount given: run it through scripts/loop_images.sh";
    std::ofstream(dir + "/~test.tmp") << std::string(1 << 20, 'x');
    // Reserving the length rewrites the old extents in place; without it
    // nothing stops the compressor.
    RealRun r(dir, {.preallocate = false});
    r.run("10M");
    ASSERT_TRUE(r.ws.errors.empty()) << r.ws.errors[0];
    EXPECT_TRUE(r.form.lastRun().stored.compressed);
    EXPECT_LT(r.form.lastRun().stored.stored, 10u << 20);
    ASSERT_EQ(r.ws.messages.size(), 1u);
    EXPECT_EQ(r.ws.messages[0].first, "Vantric");
    EXPECT_NE(r.ws.messages[0].second.find("compresses"), std::string::npos) << r.ws.messages[0].second;
    EXPECT_EQ(r.ws.log.back(), "messageBox");
    EXPECT_EQ(r.ws.rows(Ctl::List2)[1], " Testing On 10M File");
    EXPECT_TRUE(r.leftOver().empty());
}

} // namespace
