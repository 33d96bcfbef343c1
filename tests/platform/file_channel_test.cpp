#include "bench/benchmark_run.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/file_table.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/mman.h>
#include <unistd.h>

using namespace vantric;
namespace fs = std::filesystem;

namespace {

// A fresh folder, on the disk by default or under a given root (a tmpfs).
struct TempDir {
    fs::path path;
    explicit TempDir(const fs::path& root = fs::path(VANTRIC_BUILD_DIR))
    {
        std::string tmpl = (root / "vantric-io-XXXXXX").string();
        path = ::mkdtemp(tmpl.data());
    }
    ~TempDir() { fs::remove_all(path); }
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

// Writes `count` two-byte zeros through the channel with the run's own loop.
void writePass(FileSystem& fsys, const std::string& path, std::int32_t count)
{
    FileTable files(fsys);
    FormState st;
    st.lngCount = count;
    auto n = files.freeFile();
    files.openWrite(n, path);
    WriteChannel& ch = files.writer(n);
    writeLoop(ch, st);
    ch.flush();
    files.close(n);
    EXPECT_EQ(files.closedWrites(), static_cast<std::uint64_t>(count));
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
    std::size_t resident = 0;
    for (unsigned char v : vec)
        resident += v & 1;
    return resident;
}

struct Mode {
    bool direct, async;
};

class Channel : public ::testing::TestWithParam<Mode> {};

TEST_P(Channel, WritesEveryByteAndTheUnalignedTail)
{
    TempDir dir;
    auto fsys = systemFileSystem({.direct = GetParam().direct, .async = GetParam().async, .blockSize = 1 << 16});
    fs::path file = dir.path / "~test.tmp";
    // Three and a half blocks and three bytes short of a 4096 boundary.
    const std::int32_t count = (3 * 65536 + 32768 + 4093) / 2;
    writePass(*fsys, file.string(), count);
    auto bytes = readAll(file);
    ASSERT_EQ(bytes.size(), static_cast<std::size_t>(2 * count));
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 0), 2 * count);

    // Read back the first half one byte at a time.
    writeAll(file, [&] {
        std::vector<std::uint8_t> v(static_cast<std::size_t>(2 * count));
        for (std::size_t i = 0; i < v.size(); ++i)
            v[i] = static_cast<std::uint8_t>(i * 7);
        return v;
    }());
    FileTable files(*fsys);
    auto n = files.freeFile();
    files.openRead(n, file.string(), static_cast<std::uint64_t>(count));
    FormState st;
    st.lngCount = count;
    st.bytBuffer.resize(static_cast<std::size_t>(count));
    readLoop(files.reader(n), st);
    bool same = true;
    for (std::int32_t i = 0; i < count; ++i)
        same &= st.bytBuffer[static_cast<std::size_t>(i)] == static_cast<std::uint8_t>(i * 7);
    EXPECT_TRUE(same);
    files.close(n);
    EXPECT_EQ(files.closedReads(), static_cast<std::uint64_t>(count));
}

TEST_P(Channel, ExistingLongerFileIsWrittenFromTheStartWithoutTruncation)
{
    TempDir dir;
    auto fsys = systemFileSystem({.direct = GetParam().direct, .async = GetParam().async, .blockSize = 1 << 16});
    fs::path file = dir.path / "~test.tmp";
    writeAll(file, std::vector<std::uint8_t>(300000, 0xEE));
    writePass(*fsys, file.string(), 50000);
    auto bytes = readAll(file);
    ASSERT_EQ(bytes.size(), 300000u);
    EXPECT_EQ(std::count(bytes.begin(), bytes.begin() + 100000, 0), 100000);
    EXPECT_EQ(std::count(bytes.begin() + 100000, bytes.end(), 0xEE), 200000);
}

INSTANTIATE_TEST_SUITE_P(Modes, Channel,
                         ::testing::Values(Mode {true, true}, Mode {true, false}, Mode {false, true},
                                           Mode {false, false}),
                         [](const auto& info) {
                             return std::string(info.param.direct ? "direct" : "cached")
                                    + (info.param.async ? "Async" : "Sync");
                         });

TEST(ChannelOnDisk, PagesAreEvictedWhenTheWrittenFileIsClosed)
{
    TempDir dir;
    // Through the cache on purpose: without the eviction the pages would stay.
    auto fsys = systemFileSystem({.direct = false, .async = true});
    fs::path file = dir.path / "~test.tmp";
    writePass(*fsys, file.string(), 4 << 20);
    EXPECT_EQ(residentPages(file), 0u);
}

TEST(ChannelOnTmpfs, WorksWhereverDirectIoIsRefused)
{
    if (!fs::is_directory("/dev/shm"))
        GTEST_SKIP() << "no tmpfs at /dev/shm";
    TempDir dir("/dev/shm");
    auto fsys = systemFileSystem();
    fs::path file = dir.path / "~test.tmp";
    writePass(*fsys, file.string(), 1000001);
    auto bytes = readAll(file);
    ASSERT_EQ(bytes.size(), 2000002u);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 0), 2000002);
}

TEST(ChannelFailures, LinksFoldersAndMissingFoldersAreRefusedUntouched)
{
    TempDir dir;
    auto fsys = systemFileSystem();
    fs::path target = dir.path / "precious";
    writeAll(target, {1, 2, 3});
    fs::path link = dir.path / "~test.tmp";
    fs::create_symlink(target, link);
    struct Case {
        fs::path path;
        const char* reason;
    } cases[] = {
        {link, "symbolic link"},
        {dir.path, "folder"},
        {dir.path / "missing" / "~test.tmp", "No such file or directory"},
        {target / "~test.tmp", "Not a directory"},
    };
    for (const auto& c : cases) {
        try {
            fsys->openBlockWrite(c.path.string());
            ADD_FAILURE() << c.path;
        } catch (const VantricError& e) {
            EXPECT_NE(e.reason().find(c.reason), std::string::npos) << e.reason();
            EXPECT_EQ(e.path(), c.path.string());
        }
    }
    EXPECT_EQ(readAll(target), (std::vector<std::uint8_t> {1, 2, 3}));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_THROW(fsys->regularFileSize(link.string()), VantricError);
    EXPECT_EQ(fsys->regularFileSize(target.string()), 3u);
    EXPECT_EQ(fsys->regularFileSize((dir.path / "none").string()), std::nullopt);
}

TEST(AtomicFileOnDisk, ReplacesOnlyOnCommit)
{
    TempDir dir;
    auto fsys = systemFileSystem();
    fs::path file = dir.path / "log.txt";
    writeAll(file, {'o', 'l', 'd'});
    {
        auto f = fsys->createAtomic(file.string());
        f->write("half");
    } // dropped without commit
    EXPECT_EQ(readAll(file), (std::vector<std::uint8_t> {'o', 'l', 'd'}));
    {
        auto f = fsys->createAtomic(file.string());
        f->write("new\r\n");
        f->commit();
    }
    EXPECT_EQ(readAll(file), (std::vector<std::uint8_t> {'n', 'e', 'w', '\r', '\n'}));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator {}), 1);
    EXPECT_THROW(fsys->createAtomic((dir.path / "no" / "log.txt").string()), VantricError);
}

} // namespace
