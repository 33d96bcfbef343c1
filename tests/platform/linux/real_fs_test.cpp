// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
// Whole runs on the loop images of scripts/loop_images.sh, the device's free blocks and the file's flags watched.

#include "fakes/fake_world.h"
#include "platform/linux/unique_fd.h"
#include "support/linux_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <linux/falloc.h>
#include <linux/fiemap.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/statvfs.h>
#include <thread>
#include <unistd.h>

using namespace vantric;
namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t k100M = 100u << 20;

// Synced (btrfs counts extents at commit) until settled (xfs frees blocks in the background).
std::uint64_t deviceFree(const std::string& dir)
{
    std::uint64_t last = UINT64_MAX;
    for (int i = 0; i < 100; ++i) {
        int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::syncfs(fd);
        ::close(fd);
        struct statvfs st {};
        ::statvfs(dir.c_str(), &st);
        const std::uint64_t now = static_cast<std::uint64_t>(st.f_bfree) * st.f_frsize;
        if (now == last)
            break;
        last = now;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return last;
}

bool anyDirect(const std::vector<unsigned>& flags, unsigned access)
{
    return std::any_of(flags.begin(), flags.end(), [&](unsigned f) { return (f & O_DIRECT) && (f & O_ACCMODE) == access; });
}

class RealFileSystem : public ::testing::TestWithParam<std::tuple<const char*, bool>> {};

TEST_P(RealFileSystem, AHundredMegabyteRunPutsItsBytesOnTheDeviceOrSaysItDidNot)
{
    const auto [fsName, preallocate] = GetParam();
    const char* images = std::getenv("VANTRIC_LOOP_IMAGES");
    ASSERT_TRUE(images) << "no loop images: run it through scripts/loop_images.sh";
    const std::string dir = std::string(images) + "/" + fsName, scratch = dir + "/~test.tmp";
    auto files = systemFileSystem({.preallocate = preallocate});
    test::OneRun run(*files, dir, "100M");
    auto& [ws, drives, counter, clock, form] = run;
    // The device before the write pass, and with its file there before the read pass.
    std::uint64_t freeBefore = 0, freeWhileThere = 0;
    ws.onDoEvents = [&, calls = 0]() mutable { (++calls == 1 ? freeBefore : freeWhileThere) = deviceFree(dir); };
    // The passes' stopwatches start (readings 1 and 4) with the file open.
    std::vector<unsigned> writeFlags, readFlags;
    counter.onReading = [&](int n) {
        if (n == 1 || n == 4)
            (n == 1 ? writeFlags : readFlags) = test::openFlagsOf(scratch);
    };
    form.List1_Click();
    ASSERT_TRUE(ws.errors.empty()) << ws.errors[0];
    const RunRecord& rec = form.lastRun();
    EXPECT_TRUE(rec.write.mode.direct && anyDirect(writeFlags, O_WRONLY)) << "write pass not O_DIRECT";
    EXPECT_TRUE(rec.read.mode.direct && anyDirect(readFlags, O_RDONLY)) << "read pass not O_DIRECT";
    for (const auto& e : fs::directory_iterator(dir))
        EXPECT_EQ(e.path().filename(), "lost+found") << "left behind";
    ASSERT_TRUE(rec.stored);
    EXPECT_FALSE(rec.stored->compressed);
    EXPECT_GE(static_cast<double>(freeBefore) - static_cast<double>(freeWhileThere), 0.95 * k100M)
        << "device free before " << freeBefore << ", while the file existed " << freeWhileThere;
    EXPECT_EQ(rec.stored->stored, k100M);
}

// Free space only in 4 KiB pieces (no ext4 reserve): more extents than one FIEMAP call returns, all stored.
TEST(FragmentedFreeSpace, EveryExtentOfTheFileCounts)
{
    const char* images = std::getenv("VANTRIC_LOOP_IMAGES");
    ASSERT_TRUE(images) << "no loop images: run it through scripts/loop_images.sh";
    const std::string dir = std::string(images) + "/ext4", filler = dir + "/filler", scratch = dir + "/~test.tmp";
    const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600); // unopened: nothing is fragmented
    off_t end = 0;
    for (off_t step : {off_t {1} << 20, off_t {4096}})
        while (::fallocate(fd, 0, end, step) == 0)
            end += step;
    // A punch that needs a block for the extent tree fails until earlier ones have freed some.
    for (off_t hole = 0; hole < (off_t {16} << 20); hole += 8192)
        ::fallocate(fd, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, hole, 4096);
    ::close(fd);
    auto files = systemFileSystem();
    test::OneRun run(*files, dir, "1M");
    struct fiemap extents {.fm_length = FIEMAP_MAX_OFFSET}; // between the passes: how many the file has
    run.ws.onDoEvents = [&, calls = 0]() mutable {
        if (++calls == 2)
            ::ioctl(UniqueFd(::open(scratch.c_str(), O_RDONLY | O_CLOEXEC)).get(), FS_IOC_FIEMAP, &extents);
    };
    run.form.List1_Click();
    fs::remove(filler);
    ASSERT_TRUE(run.ws.errors.empty()) << run.ws.errors[0];
    EXPECT_GT(extents.fm_mapped_extents, 128u) << "the free space was not fragmented";
    EXPECT_EQ(run.form.lastRun().stored.value_or(StoredBytes {}).stored, run.form.lastRun().write.bytes);
}

INSTANTIATE_TEST_SUITE_P(Mounts, RealFileSystem,
                         ::testing::Combine(::testing::Values("btrfs_zstd", "btrfs_force", "xfs", "ext4"),
                                            ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param))
                                    + (std::get<1>(info.param) ? "_Preallocating" : "_NotPreallocating");
                         });

} // namespace
