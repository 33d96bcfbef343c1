// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
// The byte channels: fake devices of awkward block sizes, then real files
// with what the kernel holds observed, also where it refuses; under them the
// Linux engines: end of file, a transfer's errno, the ring's short transfers and cancel.

#include "bench/benchmark_run.h"
#include "fakes/fake_files.h"
#include "platform/file_bytes.h"
#include "platform/file_system.h"
#include "platform/io/buffer_pool.h"
#include "platform/io/file_table.h"
#include "platform/linux/io_engines.h"
#include "platform/linux/unique_fd.h"
#include "platform/refusing_child.h"
#include "support/error_reason.h"
#include "support/linux_files.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/mman.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace vantric;
using namespace vantric::test;
namespace fs = std::filesystem;

namespace {

// Three and a half 1 MiB blocks and three bytes short of a 4096 boundary.
constexpr std::int32_t kOddCount = (3 * 1048576 + 524288 + 4093) / 2;

// Writes `count` two-byte zeros through the channel with the run's own loop.
void writePass(FileSystem& fsys, const std::string& path, std::int32_t count)
{
    FileTable files(fsys);
    FormVariables st;
    st.lngCount = count;
    auto n = files.freeFile();
    files.openWrite(n, path);
    WriteChannel& ch = files.writer(n);
    ch.preallocate(2ULL * static_cast<std::uint64_t>(count));
    writeLoop(ch, st);
    ch.flush();
    files.close(n);
    EXPECT_EQ(st.lngIndex, count + 1);
}

std::size_t residentPages(const fs::path& p)
{
    auto size = fs::file_size(p);
    int fd = ::open(p.c_str(), O_RDONLY);
    void* map = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
    ::close(fd);
    long page = ::sysconf(_SC_PAGESIZE);
    std::vector<unsigned char> vec((size + page - 1) / page);
    ::mincore(map, size, vec.data());
    ::munmap(map, size);
    return static_cast<std::size_t>(std::count_if(vec.begin(), vec.end(), [](unsigned char v) { return v & 1; }));
}

TEST(Strips, OneValuePerStepAcrossBlockEdgesAndNoReadPastTheEnd)
{
    for (auto [blockSize, count] : {std::pair<std::size_t, std::int32_t> {2, 0}, {2, 1}, {2, 7}, {3, 1}, {3, 1000},
                                    {64, 32}, {64, 33}, {4096, 100000}}) {
        SCOPED_TRACE("block " + std::to_string(blockSize) + ", count " + std::to_string(count));
        FakeFileSystem fsys;
        fsys.blockSize = blockSize;
        writePass(fsys, "/f", count);
        EXPECT_EQ(fsys.files["/f"], std::vector<std::uint8_t>(2u * static_cast<std::size_t>(count)));
        const auto bytes = pattern(2u * static_cast<std::size_t>(count) + 5);
        fsys.files["/f"] = bytes;
        std::vector<std::uint8_t> got;
        readPass(fsys, "/f", count, got);
        EXPECT_EQ(got, std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + count));
    }
    FakeFileSystem fsys;
    fsys.files["/f"] = pattern(10);
    std::vector<std::uint8_t> got;
    EXPECT_EQ(reasonOf([&] { readPass(fsys, "/f", 11, got); }), "Input past end of file");
}

// Both passes of kOddCount steps under `base` in a child refusing `refusals`,
// reported as the kernel's flags, reservation, eviction, modes and bytes.
std::string passes(const fs::path& base, const std::vector<Refusal>& refusals)
{
    TempFolder dir(base);
    const fs::path file = dir.path() / "~test.tmp";
    std::string report = inRefusingChild(refusals, [&] {
        std::ostringstream out;
        try {
            auto fsys = systemFileSystem();
            auto flag = [&] {
                auto flags = openFlagsOf(file);
                return flags.size() == 1 && (flags[0] & O_DIRECT) ? "O_DIRECT" : "cached";
            };
            WriteChannel w(fsys->openBlockWrite(file.string()), file.string());
            out << "write " << flag();
            w.preallocate(2ULL * kOddCount);
            struct stat st {};
            ::stat(file.c_str(), &st);
            out << (st.st_size == 2 * kOddCount && st.st_blocks * 512 >= 2 * kOddCount ? ", reserved" : ", unreserved");
            FormVariables vars;
            vars.lngCount = kOddCount;
            writeLoop(w, vars);
            w.flush();
            out << ", tail " << flag() << " " << describe(w.mode());
            w.close();
            out << (residentPages(file) == 0 ? ", evicted" : ", pages left");
            const auto bytes = readAll(file);
            out << (bytes == std::vector<std::uint8_t>(2u * kOddCount) ? ", right" : ", wrong");
            const auto content = pattern(bytes.size());
            writeAll(file, content);
            {
                ReadChannel r(fsys->openBlockRead(file.string(), 0), file.string());
                out << "; read " << flag();
            }
            std::vector<std::uint8_t> got;
            out << " " << describe(readPass(*fsys, file.string(), kOddCount, got));
            out << (std::equal(got.begin(), got.end(), content.begin()) ? ", right" : ", wrong");
        } catch (const std::exception& e) {
            out << "; error: " << e.what();
        }
        return out.str();
    });
    if (auto at = report.find(file.string()); at != std::string::npos)
        report.replace(at, file.string().size(), "~test.tmp");
    return report;
}

TEST(Channel, WhatTheKernelHoldsAndRefuses)
{
    const fs::path root = rootFolder();
    // tmpfs takes O_DIRECT from Linux 6.6 on.
    const int probe = ::open("/dev/shm", O_TMPFILE | O_RDWR | O_DIRECT, 0600);
    const std::string shm = probe >= 0 ? "O_DIRECT direct" : "cached cached";
    ::close(probe);
    struct Case {
        const char* name;
        fs::path base;
        std::vector<Refusal> refusals;
        std::string want;
    } cases[] = {
        {"default", root, {},
         "write O_DIRECT, reserved, tail cached cached,ring, evicted, right; read O_DIRECT direct,ring, right"},
        {"O_DIRECT refused", root, {{SYS_openat, EINVAL, 2, O_DIRECT}},
         "write cached, reserved, tail cached cached,ring, evicted, right; read cached cached,ring, right"},
        {"ring refused", root, {{SYS_io_uring_setup, EPERM}},
         "write O_DIRECT, reserved, tail cached cached,sync, evicted, right; read O_DIRECT direct,sync, right"},
        {"no preallocation", root, {{SYS_fallocate, EOPNOTSUPP}},
         "write O_DIRECT, unreserved, tail cached cached,ring, evicted, right; read O_DIRECT direct,ring, right"},
        // The flush ends with the drive's sync in every mode, and says when that fails.
        {"drive sync fails", root, {{SYS_fdatasync, EIO}},
         "write O_DIRECT, reserved; error: Cannot write to the file: Input/output error (~test.tmp)"},
        // tmpfs keeps its pages: they are the file.
        {"tmpfs", "/dev/shm", {},
         "write " + shm.substr(0, shm.find(' ')) + ", reserved, tail cached cached,ring, pages left, right; read " + shm
             + ",ring, right"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(passes(c.base, c.refusals), c.want) << c.name;
}

TEST(Channel, ReadingAheadStartsWithTheFirstReadNotAtTheOpen)
{
    TempFolder dir(rootFolder());
    fs::path file = dir.path() / "~test.tmp";
    for (bool async : {false, true}) {
        // Cached, so that what has been read shows as resident pages.
        auto fsys = systemFileSystem({.direct = false, .async = async});
        writePass(*fsys, file.string(), 4 << 20);
        ReadChannel r(fsys->openBlockRead(file.string(), 4 << 20), file.string());
        // Time for anything started at the open to land.
        ::usleep(100000);
        EXPECT_EQ(residentPages(file), 0u) << "async: " << async;
        EXPECT_FALSE(r.available().empty());
        EXPECT_GT(residentPages(file), 0u) << "async: " << async;
    }
}

// Extents on the root file system, allocated blocks on tmpfs (no extent map).
TEST(StoredBytesOnDisk, WrittenBytesAreHeldAndAHoleIsNot)
{
    for (fs::path root : {rootFolder(), fs::path("/dev/shm")}) {
        TempFolder dir(root);
        auto fsys = systemFileSystem();
        fs::path file = dir.path() / "~test.tmp";
        writeAll(file, std::vector<std::uint8_t>(1 << 20));
        fs::resize_file(file, 3 << 20);
        StoredBytes holed = fsys->storedBytes(file.string(), 3 << 20);
        EXPECT_EQ(holed.stored, 1u << 20) << root;
        EXPECT_TRUE(holed.compressed) << root;
    }
}

TEST(Channel, LinksAreRefusedUntouched)
{
    TempFolder dir(rootFolder());
    auto fsys = systemFileSystem();
    fs::path target = dir.path() / "precious";
    writeAll(target, {1, 2, 3});
    fs::path link = dir.path() / "~test.tmp";
    fs::create_symlink(target, link);
    const std::string reason = reasonOf([&] { fsys->openBlockWrite(link.string()); });
    EXPECT_NE(reason.find("symbolic link"), std::string::npos) << reason;
    EXPECT_EQ(readAll(target), (std::vector<std::uint8_t> {1, 2, 3}));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_THROW(fsys->regularFileSize(link.string()), VantricError);
}

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
