#include "platform/io/buffer_pool.h"
#include "platform/linux/io_engines.h"
#include "support/child_process.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <thread>
#include <unistd.h>

using namespace vantric;
using vantric::test::TempFolder;

namespace {

struct Pipe {
    int r = -1, w = -1;
    Pipe()
    {
        int fds[2];
        if (::pipe(fds) != 0)
            throw std::runtime_error("pipe");
        r = fds[0];
        w = fds[1];
    }
    ~Pipe()
    {
        ::close(r);
        ::close(w);
    }
    bool readable() const
    {
        pollfd p {r, POLLIN, 0};
        return ::poll(&p, 1, 0) == 1;
    }
};

// A file holding `bytes`, open for reading and writing.
struct TempFile : TempFolder {
    std::string path = file("f");
    int fd;
    explicit TempFile(const std::string& bytes) : fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600))
    {
        if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            throw std::runtime_error("temp file");
    }
    ~TempFile() { ::close(fd); }
};

using Factory = std::unique_ptr<IoEngine> (*)(int fd, const BufferPool& pool);

std::unique_ptr<IoEngine> syncEngine(int fd, const BufferPool&)
{
    return makeSyncEngine(fd);
}

struct EngineKind {
    const char* name;
    Factory make;
};

class Engine : public ::testing::TestWithParam<EngineKind> {};

TEST_P(Engine, AReadEndsShortAtTheEndOfTheFileWithoutError)
{
    TempFile file("0123456789");
    BufferPool pool(2, 4096, 4096);
    auto engine = GetParam().make(file.fd, pool);
    ASSERT_TRUE(engine);
    engine->queue({1, false, pool.data(1), 4, 4096, 4096});
    engine->submit();
    Completion c = engine->wait();
    EXPECT_EQ(c.slot, 1);
    EXPECT_EQ(c.bytes, 6u);
    EXPECT_EQ(c.error, 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(pool.data(1)), 6), "456789");
}

TEST_P(Engine, FailuresComeBackAsErrnoOfTheirTransfer)
{
    TempFile file("x");
    int ro = ::open(file.path.c_str(), O_RDONLY);
    BufferPool pool(2, 4096, 4096);
    {
        auto engine = GetParam().make(ro, pool);
        ASSERT_TRUE(engine);
        engine->queue({0, true, pool.data(0), 0, 4096, 4096});
        Completion c = engine->wait();
        EXPECT_EQ(c.slot, 0);
        EXPECT_EQ(c.error, EBADF);
    }
    ::close(ro);
}

std::vector<EngineKind> kinds()
{
    return {{"sync", syncEngine}, {"ring", makeUringEngine}};
}

INSTANTIATE_TEST_SUITE_P(Kinds, Engine, ::testing::ValuesIn(kinds()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RingEngine, QueuedTransfersStartOnlyWithTheSubmission)
{
    Pipe p;
    BufferPool pool(3, 4096, 4096);
    auto engine = makeUringEngine(p.w, pool);
    ASSERT_TRUE(engine);
    for (int i = 0; i < 3; ++i) {
        std::memset(pool.data(i), 'a' + i, 100);
        engine->queue({i, true, pool.data(i), 0, 100, 100});
    }
    ::usleep(20000);
    EXPECT_FALSE(p.readable());
    engine->submit();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(engine->wait().bytes, 100u);
    char got[300];
    ASSERT_EQ(::read(p.r, got, sizeof got), 300);
}

TEST(RingEngine, AShortTransferGoesBackIntoTheRingUntilItIsWhole)
{
    // A pipe hands a read only what has arrived; a position-taking call
    // (pread) would fail on it outright, so only the ring can finish this.
    Pipe p;
    BufferPool pool(1, 65536, 4096);
    auto engine = makeUringEngine(p.r, pool);
    ASSERT_TRUE(engine);
    engine->queue({0, false, pool.data(0), 0, 65536, 65536});
    engine->submit();
    std::thread writer([&] {
        std::vector<char> chunk(16384);
        for (int i = 0; i < 4; ++i) {
            std::memset(chunk.data(), 'a' + i, chunk.size());
            if (::write(p.w, chunk.data(), chunk.size()) != static_cast<ssize_t>(chunk.size()))
                return;
            ::usleep(20000);
        }
    });
    Completion c = engine->wait();
    writer.join();
    EXPECT_EQ(c.slot, 0);
    ASSERT_EQ(c.bytes, 65536u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(pool.data(0)[i * 16384 + 100], 'a' + i);
}

// After a failure the ring stops: transfers waiting in the kernel (on a
// full pipe) are cancelled, queued ones never start, and none of their
// bytes arrive. A ring that waited them out would hang here: the child
// process is stopped by an alarm instead.
TEST(RingEngine, ACancelStopsWhatIsInFlightAndStartsNothingQueued)
{
    for (bool inFlight : {true, false}) {
        test::ChildResult r = test::runInChild([inFlight] {
            ::alarm(5);
            Pipe p;
            ::fcntl(p.w, F_SETFL, O_NONBLOCK);
            std::vector<char> fill(65536, 'f');
            if (inFlight)
                while (::write(p.w, fill.data(), fill.size()) > 0) {
                }
            ::fcntl(p.w, F_SETFL, 0);
            BufferPool pool(3, 4096, 4096);
            auto engine = makeUringEngine(p.w, pool);
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
            ::fcntl(p.r, F_SETFL, O_NONBLOCK);
            char c;
            while (::read(p.r, &c, 1) == 1)
                if (c != 'f')
                    return 30;
            return 0;
        });
        EXPECT_TRUE(r.exited && r.status == 0) << (inFlight ? "in flight: " : "queued: ") << test::describe(r);
    }
}

} // namespace
