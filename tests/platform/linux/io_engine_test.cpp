// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
// The Linux engines: end of file, a transfer's errno, the ring's short transfers and cancel.

#include "platform/io/buffer_pool.h"
#include "platform/linux/io_engines.h"
#include "platform/linux/unique_fd.h"
#include "support/child_process.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <thread>
#include <unistd.h>

using namespace vantric;
using namespace vantric::test;

namespace {

// A pipe's reading and writing ends.
std::pair<UniqueFd, UniqueFd> makePipe()
{
    int fds[2];
    if (::pipe(fds) != 0)
        throw std::runtime_error("pipe");
    return {UniqueFd(fds[0]), UniqueFd(fds[1])};
}

TEST(Engines, AReadEndsShortAtTheEndOfTheFileAndAFailureIsItsTransfersErrno)
{
    TempFolder dir;
    std::ofstream(dir.file("f")) << "0123456789";
    const int fd = ::open(dir.file("f").c_str(), O_RDONLY | O_CLOEXEC);
    BufferPool pool(2, 4096, 4096);
    for (auto make : {+[](int f, const BufferPool&) { return makeSyncEngine(f); }, &makeUringEngine}) {
        auto engine = make(fd, pool);
        ASSERT_TRUE(engine);
        SCOPED_TRACE(engine->async() ? "ring" : "sync");
        engine->queue({1, false, pool.data(1), 4, 4096, 4096});
        engine->submit();
        Completion c = engine->wait();
        EXPECT_EQ(c.slot, 1);
        EXPECT_EQ(c.bytes, 6u);
        EXPECT_EQ(c.error, 0);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(pool.data(1)), 6), "456789");
        engine->queue({0, true, pool.data(0), 0, 4096, 4096}); // on a read-only descriptor
        c = engine->wait();
        EXPECT_EQ(c.slot, 0);
        EXPECT_EQ(c.error, EBADF);
    }
    ::close(fd);
}

TEST(RingEngine, AShortTransferGoesBackIntoTheRingUntilItIsWhole)
{
    // A pipe hands a read only what has arrived.
    const auto [r, w] = makePipe();
    BufferPool pool(1, 65536, 4096);
    auto engine = makeUringEngine(r.get(), pool);
    ASSERT_TRUE(engine);
    engine->queue({0, false, pool.data(0), 0, 65536, 65536});
    engine->submit();
    std::thread writer([&] {
        std::vector<char> chunk(16384);
        for (int i = 0; i < 4; ++i) {
            std::memset(chunk.data(), 'a' + i, chunk.size());
            if (::write(w.get(), chunk.data(), chunk.size()) != static_cast<ssize_t>(chunk.size()))
                return;
            ::usleep(20000);
        }
    });
    Completion c = engine->wait();
    writer.join();
    ASSERT_EQ(c.bytes, 65536u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(pool.data(0)[i * 16384 + 100], 'a' + i);
}

// Transfers waiting on a full pipe are cancelled, queued ones never start;
// a ring that waited them out would hang until the alarm.
TEST(RingEngine, ACancelStopsWhatIsInFlightAndStartsNothingQueued)
{
    for (bool inFlight : {true, false}) {
        ChildResult r = runInChild([inFlight] {
            ::alarm(5);
            const auto [r, w] = makePipe();
            ::fcntl(w.get(), F_SETFL, O_NONBLOCK);
            std::vector<char> fill(65536, 'f');
            while (inFlight && ::write(w.get(), fill.data(), fill.size()) > 0) {
            }
            ::fcntl(w.get(), F_SETFL, 0);
            BufferPool pool(3, 4096, 4096);
            auto engine = makeUringEngine(w.get(), pool);
            if (!engine)
                return 10;
            for (int i = 0; i < 3; ++i) {
                std::memset(pool.data(i), 'a' + i, 4096);
                engine->queue({i, true, pool.data(i), 0, 4096, 4096});
            }
            if (inFlight)
                engine->submit();
            ::usleep(20000);
            engine->cancel();
            for (int i = 0; i < 3; ++i)
                if (engine->wait().error != ECANCELED)
                    return 20 + i;
            ::fcntl(r.get(), F_SETFL, O_NONBLOCK);
            char c;
            while (::read(r.get(), &c, 1) == 1)
                if (c != 'f')
                    return 30;
            return 0;
        });
        EXPECT_TRUE(r.exited && r.status == 0) << (inFlight ? "in flight: " : "queued: ") << describe(r);
    }
}

} // namespace
