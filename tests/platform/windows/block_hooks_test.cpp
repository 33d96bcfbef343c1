// Block files on real files of a drive Wine maps: unbuffered and
// overlapped or not, whole blocks and odd tails.

#include "platform/file_system.h"
#include "platform/io/file_channel.h"
#include "platform/windows/block_hooks.h"
#include "platform/windows/win_test_support.h"
#include "platform/windows/win_text.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

using namespace vantric;
using namespace vantric::test;

namespace {

TEST(BlockFiles, RoundTripInEveryModeAndSize)
{
    TempFolder dir;
    struct Case {
        const char* name;
        IoOptions opt;
        std::size_t size;
        IoMode want;
        bool tailCached; // the write's unaligned tail went through the cache
    } cases[] = {
        {"unbuffered, overlapped, whole blocks", {true, true, true, 64 << 10, 5}, 1 << 20, {true, true}, false},
        {"unbuffered, overlapped, sector tail", {true, true, true, 64 << 10, 5}, (1 << 20) + 512, {true, true}, true},
        {"unbuffered, overlapped, 1 KiB (less than a sector of 4096)", {true, true, true, 64 << 10, 5}, 1024,
         {true, true}, true},
        {"unbuffered, overlapped, odd tail", {true, true, true, 64 << 10, 3}, 300000 + 7, {true, true}, true},
        {"unbuffered, one call at a time", {true, false, true, 64 << 10, 5}, (1 << 20) + 100, {true, false}, true},
        {"buffered, overlapped", {false, true, true, 64 << 10, 5}, 777777, {false, true}, false},
        {"buffered, one call at a time", {false, false, false, 64 << 10, 2}, 5000, {false, false}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto fs = systemFileSystem(c.opt);
        const std::string path = dir.file("block.bin");
        const auto bytes = pattern(c.size);
        IoMode wm, rm;
        auto got = roundTrip(*fs, path, bytes, 0, &wm, &rm);
        EXPECT_EQ(readAll(path), bytes);
        EXPECT_TRUE(got == bytes);
        EXPECT_EQ(wm, (IoMode {c.want.direct && !c.tailCached, c.want.async}));
        EXPECT_EQ(rm, c.want);
        // Only the first half is handed out when only that is wanted.
        auto half = roundTrip(*fs, path, bytes, c.size / 2);
        EXPECT_TRUE(half == std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(c.size / 2)));
        ::DeleteFileW(wide(path).c_str());
    }
}

TEST(BlockFiles, ExistingFileIsWrittenFromItsFirstByteWithoutTruncation)
{
    TempFolder dir;
    const std::string path = dir.file("old.bin");
    writeAll(path, std::vector<std::uint8_t>(10000, 0xAB));
    auto fs = systemFileSystem();
    WriteChannel ch(fs->openBlockWrite(path), path);
    for (int i = 0; i < 1000; ++i) {
        auto room = ch.room();
        room[0] = 0;
        room[1] = 0;
        ch.filledTo(room.data() + 2);
    }
    ch.flush();
    ch.close();
    auto after = readAll(path);
    ASSERT_EQ(after.size(), 10000u);
    EXPECT_EQ(std::vector<std::uint8_t>(after.begin(), after.begin() + 2000), std::vector<std::uint8_t>(2000, 0));
    EXPECT_EQ(std::vector<std::uint8_t>(after.begin() + 2000, after.end()), std::vector<std::uint8_t>(8000, 0xAB));
}

TEST(BlockFiles, AlignmentIsTheSectorSizeAtLeastAPage)
{
    DWORD perCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    ASSERT_TRUE(::GetDiskFreeSpaceW(L"C:\\", &perCluster, &bytesPerSector, &freeClusters, &clusters));
    EXPECT_EQ(sectorAlignment("C:\\x"), std::max<std::size_t>(4096, bytesPerSector));
}

} // namespace
