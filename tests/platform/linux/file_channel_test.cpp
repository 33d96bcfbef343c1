#include "bench/benchmark_run.h"
#include "fakes/fake_files.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/io/file_table.h"
#include "platform/refusing_child.h"
#include "support/error_reason.h"
#include "support/read_pass.h"
#include "support/linux_files.h"
#include "support/temp_folder.h"
#include "support/open_flags.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vantric;
using namespace vantric::test;
namespace fs = std::filesystem;

namespace {

// A fresh folder on the root file system.
struct TempDir : TempFolder {
    TempDir() : TempFolder(rootFolder()) {}
};

std::vector<std::uint8_t> readAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeAll(const fs::path& p, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                             static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> pattern(std::size_t n)
{
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i)
        v[i] = static_cast<std::uint8_t>(i * 7 + 1);
    return v;
}

bool allZero(const std::vector<std::uint8_t>& v)
{
    return std::all_of(v.begin(), v.end(), [](std::uint8_t b) { return b == 0; });
}

// Writes `count` two-byte zeros through the channel with the run's own loop;
// returns the mode the channel reported.
IoMode writePass(FileSystem& fsys, const std::string& path, std::int32_t count)
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
    IoMode mode = ch.mode();
    files.close(n);
    EXPECT_EQ(st.lngIndex, count + 1);
    return mode;
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
    std::size_t resident = 0;
    for (unsigned char v : vec)
        resident += v & 1;
    return resident;
}

std::string describe(IoMode m)
{
    return std::string(m.direct ? "direct" : "cached") + "," + (m.async ? "ring" : "sync");
}

// Three and a half 1 MiB blocks and three bytes short of a 4096 boundary.
constexpr std::int32_t kOddCount = (3 * 1048576 + 524288 + 4093) / 2;

// --- The loops' strips, against fake devices of awkward block sizes --------

struct StripCase {
    std::size_t blockSize;
    std::int32_t count;
};

class Strips : public ::testing::TestWithParam<StripCase> {};

TEST_P(Strips, OneValuePerStepAcrossBlockEdges)
{
    FakeFileSystem fsys;
    fsys.blockSize = GetParam().blockSize;
    const std::int32_t count = GetParam().count;
    writePass(fsys, "/f", count);
    const auto& file = fsys.files["/f"];
    EXPECT_EQ(file.size(), 2u * static_cast<std::size_t>(count));
    EXPECT_TRUE(allZero(file));

    const auto bytes = pattern(2u * static_cast<std::size_t>(count) + 5);
    fsys.files["/f"] = bytes;
    std::vector<std::uint8_t> got;
    readPass(fsys, "/f", count, got);
    EXPECT_EQ(got, std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + count));
}

INSTANTIATE_TEST_SUITE_P(Blocks, Strips,
                         ::testing::Values(StripCase {2, 0}, StripCase {2, 1}, StripCase {2, 7}, StripCase {3, 1},
                                           StripCase {3, 1000}, StripCase {64, 32}, StripCase {64, 33},
                                           StripCase {4096, 100000}),
                         [](const auto& info) {
                             return "block" + std::to_string(info.param.blockSize) + "_count"
                                    + std::to_string(info.param.count);
                         });

TEST(Strips, ReadingPastTheEndIsAnError)
{
    FakeFileSystem fsys;
    fsys.files["/f"] = pattern(10);
    std::vector<std::uint8_t> got;
    EXPECT_EQ(reasonOf([&] { readPass(fsys, "/f", 11, got); }), "Input past end of file");
}

// --- Real files on the root file system: what only Linux has -------------

TEST(ChannelOnRoot, DirectAndAsyncByDefault)
{
    TempDir dir;
    auto fsys = systemFileSystem();
    const std::string path = (dir.path() / "~test.tmp").string();
    WriteChannel w(fsys->openBlockWrite(path), path);
    EXPECT_EQ(describe(w.mode()), "direct,ring");
    w.close();
    ReadChannel r(fsys->openBlockRead(path, 0), path);
    EXPECT_EQ(describe(r.mode()), "direct,ring");
}

TEST(ChannelOnRoot, TheKernelHoldsODirectOnBothPassesDescriptors)
{
    TempDir dir;
    fs::path file = dir.path() / "~test.tmp";
    struct Case {
        bool direct;
        bool expectFlag;
    } cases[] = {{true, true}, {false, false}};
    for (const auto& c : cases) {
        auto fsys = systemFileSystem({.direct = c.direct});
        {
            WriteChannel w(fsys->openBlockWrite(file.string()), file.string());
            auto flags = test::openFlagsOf(file);
            ASSERT_EQ(flags.size(), 1u);
            EXPECT_EQ((flags[0] & O_DIRECT) != 0, c.expectFlag) << "write, direct wanted: " << c.direct;
            // The odd tail leaves direct I/O; the mode reported follows the
            // kernel's flag.
            FormVariables st;
            st.lngCount = kOddCount;
            writeLoop(w, st);
            w.flush();
            flags = test::openFlagsOf(file);
            ASSERT_EQ(flags.size(), 1u);
            EXPECT_FALSE(flags[0] & O_DIRECT);
            EXPECT_FALSE(w.mode().direct);
            w.close();
        }
        ReadChannel r(fsys->openBlockRead(file.string(), 0), file.string());
        auto flags = test::openFlagsOf(file);
        ASSERT_EQ(flags.size(), 1u);
        EXPECT_EQ((flags[0] & O_DIRECT) != 0, c.expectFlag) << "read, direct wanted: " << c.direct;
    }
}

TEST(ChannelOnRoot, PreallocationReservesTheWholeLengthBeforeAnyWrite)
{
    TempDir dir;
    auto fsys = systemFileSystem({.preallocate = true});
    const std::string path = (dir.path() / "~test.tmp").string();
    WriteChannel w(fsys->openBlockWrite(path), path);
    w.preallocate(10 << 20);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 10 << 20);
    EXPECT_GE(st.st_blocks * 512, 10 << 20);
    w.close();
}

TEST(ChannelOnRoot, PagesAreEvictedWhenTheWrittenFileIsClosed)
{
    TempDir dir;
    fs::path file = dir.path() / "~test.tmp";
    // Through the cache on purpose, and direct with a tail that goes through
    // the cache: without the eviction those pages would stay.
    for (bool direct : {false, true}) {
        auto fsys = systemFileSystem({.direct = direct});
        writePass(*fsys, file.string(), kOddCount);
        EXPECT_EQ(residentPages(file), 0u) << "direct: " << direct;
    }
}

TEST(ChannelOnRoot, ReadingAheadStartsWithTheFirstReadNotAtTheOpen)
{
    TempDir dir;
    fs::path file = dir.path() / "~test.tmp";
    for (bool async : {false, true}) {
        // Cached, so that what has been read shows as resident pages.
        auto fsys = systemFileSystem({.direct = false, .async = async});
        writePass(*fsys, file.string(), 4 << 20);
        ASSERT_EQ(residentPages(file), 0u);
        ReadChannel r(fsys->openBlockRead(file.string(), 4 << 20), file.string());
        // Time for anything started at the open to land.
        ::usleep(100000);
        EXPECT_EQ(residentPages(file), 0u) << "async: " << async;
        EXPECT_FALSE(r.available().empty());
        EXPECT_GT(residentPages(file), 0u) << "async: " << async;
    }
}

// --- The kernel refusing things ---------------------------------------------

// A write pass and a read pass in a child whose kernel refuses `refusals`;
// the report names both modes, whether the kernel held O_DIRECT on the
// written file, and whether the bytes came out right.
std::string passesUnder(const std::vector<Refusal>& refusals)
{
    TempDir dir;
    const fs::path file = dir.path() / "~test.tmp";
    return inRefusingChild(refusals, [&] {
        auto fsys = systemFileSystem();
        std::ostringstream report;
        {
            WriteChannel w(fsys->openBlockWrite(file.string()), file.string());
            auto flags = test::openFlagsOf(file);
            report << "write " << describe(w.mode()) << " O_DIRECT "
                   << (flags.size() == 1 && (flags[0] & O_DIRECT) ? "held" : "not held");
            FormVariables st;
            st.lngCount = kOddCount;
            w.preallocate(2ULL * kOddCount);
            writeLoop(w, st);
            w.close();
        }
        auto bytes = readAll(file);
        report << "; file " << (bytes.size() == 2u * kOddCount && allZero(bytes) ? "right" : "wrong");
        const auto content = pattern(bytes.size());
        writeAll(file, content);
        std::vector<std::uint8_t> got;
        IoMode m = readPass(*fsys, file.string(), kOddCount, got);
        report << "; read " << describe(m) << " "
               << (got == std::vector<std::uint8_t>(content.begin(), content.begin() + kOddCount) ? "right" : "wrong");
        return report.str();
    });
}

TEST(ChannelRefused, CachedWhereODirectIsRefused)
{
    EXPECT_EQ(passesUnder(noDirectIo()),
              "write cached,ring O_DIRECT not held; file right; read cached,ring right");
}

TEST(ChannelRefused, SynchronousWhereTheRingIsRefused)
{
    EXPECT_EQ(passesUnder(noRing()), "write direct,sync O_DIRECT held; file right; read direct,sync right");
}

TEST(ChannelRefused, CachedAndSynchronousWhereBothAreRefused)
{
    auto refusals = noDirectIo();
    refusals.push_back(noRing().front());
    EXPECT_EQ(passesUnder(refusals), "write cached,sync O_DIRECT not held; file right; read cached,sync right");
}

TEST(ChannelRefused, GoesOnWithoutPreallocationWhereTheFileSystemHasNone)
{
    EXPECT_EQ(passesUnder({{SYS_fallocate, EOPNOTSUPP}}),
              "write direct,ring O_DIRECT held; file right; read direct,ring right");
}

TEST(ChannelRefused, TheFlushEndsOnlyWithTheDrivesSync)
{
    // fdatasync failing is the only way the flush can fail here: the flush
    // must have asked for it, and must say so.
    TempDir dir;
    const fs::path file = dir.path() / "~test.tmp";
    for (bool direct : {true, false}) {
        std::string report = inRefusingChild({{SYS_fdatasync, EIO}}, [&] {
            auto fsys = systemFileSystem({.direct = direct});
            WriteChannel w(fsys->openBlockWrite(file.string()), file.string());
            FormVariables st;
            st.lngCount = 1000;
            writeLoop(w, st);
            w.flush();
            return std::string("flushed");
        });
        EXPECT_EQ(report, "error: Cannot write to the file: Input/output error (" + file.string() + ")");
    }
}

// Extents on the root file system, allocated blocks on tmpfs (no extent
// map): written zeros are held, a hole is not.
TEST(StoredBytesOnDisk, WrittenBytesAreHeldAndAHoleIsNot)
{
    for (fs::path root : {rootFolder(), fs::path("/dev/shm")}) {
        TempFolder dir(root);
        auto fsys = systemFileSystem();
        fs::path file = dir.path() / "~test.tmp";
        writeAll(file, std::vector<std::uint8_t>(1 << 20));
        StoredBytes full = fsys->storedBytes(file.string(), 1 << 20);
        EXPECT_EQ(full.stored, 1u << 20) << root;
        EXPECT_FALSE(full.compressed) << root;
        fs::resize_file(file, 3 << 20);
        StoredBytes holed = fsys->storedBytes(file.string(), 3 << 20);
        EXPECT_EQ(holed.stored, 1u << 20) << root;
        EXPECT_TRUE(holed.compressed) << root;
    }
}

TEST(ChannelOnTmpfs, WritesAndReadsEveryByte)
{
    if (!fs::is_directory("/dev/shm"))
        FAIL() << "no tmpfs at /dev/shm";
    TempFolder dir("/dev/shm");
    auto fsys = systemFileSystem();
    fs::path file = dir.path() / "~test.tmp";
    writePass(*fsys, file.string(), kOddCount);
    auto bytes = readAll(file);
    ASSERT_EQ(bytes.size(), 2u * kOddCount);
    EXPECT_TRUE(allZero(bytes));
    const auto content = pattern(bytes.size());
    writeAll(file, content);
    std::vector<std::uint8_t> got;
    readPass(*fsys, file.string(), kOddCount, got);
    EXPECT_TRUE(got == std::vector<std::uint8_t>(content.begin(), content.begin() + kOddCount));
}

TEST(ChannelFailures, LinksAreRefusedUntouched)
{
    TempDir dir;
    auto fsys = systemFileSystem();
    fs::path target = dir.path() / "precious";
    writeAll(target, {1, 2, 3});
    fs::path link = dir.path() / "~test.tmp";
    fs::create_symlink(target, link);
    struct Case {
        fs::path path;
        const char* reason;
    } cases[] = {
        {link, "symbolic link"},
        {target / "~test.tmp", "Not a directory"},
    };
    for (const auto& c : cases) {
        auto e = errorOf([&] { fsys->openBlockWrite(c.path.string()); });
        ASSERT_TRUE(e) << c.path;
        EXPECT_NE(e->reason().find(c.reason), std::string::npos) << e->reason();
        EXPECT_EQ(e->path(), c.path.string());
    }
    EXPECT_EQ(readAll(target), (std::vector<std::uint8_t> {1, 2, 3}));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_THROW(fsys->regularFileSize(link.string()), VantricError);
}

} // namespace
