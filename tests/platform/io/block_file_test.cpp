// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
// The shared block ring on a file in memory: leaving direct I/O, and its buffers.

#include "fakes/memory_block_file.h"
#include "platform/file_bytes.h"
#include "platform/io/buffer_pool.h"
#include "support/error_reason.h"

#include <gtest/gtest.h>

#include <limits>

using namespace vantric;
using namespace vantric::test;

namespace {

constexpr std::size_t kBlock = 4096;
constexpr auto kNever = std::numeric_limits<std::uint64_t>::max();

TEST(BlockRing, LeavingDirectIoWaitsForTheOthersAndTheModeSaysSo)
{
    const IoOptions options {.blockSize = kBlock, .buffers = 4};
    struct Case {
        const char* name;
        std::size_t size;
        std::uint64_t refuseAt; // a direct transfer at this offset is refused
        bool directAfter;
        std::size_t leaves; // times the ring left direct I/O
    } cases[] = {
        {"whole blocks", 6 * kBlock, kNever, true, 0},
        {"odd tail", 6 * kBlock + 100, kNever, false, 1},
        // Offsets 2, 3 and 4 blocks are in flight when the one at 1 is refused.
        {"refused with others in flight", 6 * kBlock, kBlock, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto bytes = pattern(c.size);
        MemoryFile file;
        file.refuseDirectAt = c.refuseAt;
        auto w = makeBlockWriter(std::make_unique<MemoryHooks>(file), options, "w");
        EXPECT_EQ(writeBlocks(*w, bytes), (IoMode {c.directAfter, true}));
        w->close();
        EXPECT_TRUE(file.bytes == bytes);
        EXPECT_EQ(file.inFlightAtLeave, std::vector<int>(c.leaves, 0));
        EXPECT_EQ(file.mostInFlight, options.buffers) << "the writes never overlapped";

        file.direct = true;
        file.inFlightAtLeave.clear();
        auto r = makeBlockReader(std::make_unique<MemoryHooks>(file), options, "r", 0);
        file.bytes.resize(c.size - 1000); // shrunk since the open: the last read comes back short
        std::vector<std::uint8_t> got;
        for (auto block = r->next(); !block.empty(); block = r->next())
            got.insert(got.end(), block.begin(), block.end());
        EXPECT_TRUE(got == std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 1000));
        const bool refused = c.refuseAt < c.size;
        EXPECT_EQ(r->mode(), (IoMode {!refused, true}));
        EXPECT_EQ(file.inFlightAtLeave, std::vector<int>(refused ? 1 : 0, 0));
        r->close();
    }
}

TEST(BufferPool, AlignedAndSizedUpOrRefusedWhenTheSizeOverflows)
{
    BufferPool pool(3, 5000, 4096);
    EXPECT_EQ(pool.size(), 8192u);
    for (int i = 0; i < pool.count(); ++i)
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(pool.data(i)) % 4096, 0u);

    constexpr std::size_t kMax = std::numeric_limits<std::size_t>::max();
    for (auto [count, size] : {std::pair {2, kMax - 10}, std::pair {4, kMax / 2}})
        EXPECT_EQ(reasonOf([&] { BufferPool(count, size, 4096); }), "Cannot allocate the file buffers") << size;
}

} // namespace
