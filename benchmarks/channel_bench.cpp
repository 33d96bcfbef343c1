// What the run's loops and passes cost.
//
//   channel_bench [--dir=FOLDER] [google benchmark flags]
//
// - Put16/GetByte: one two-byte write or one-byte read of the file channel
//   against a null device (time per call).
// - WritePass100M/ReadPass100M: our passes at "100M" against sequential
//   1 MiB O_DIRECT writes (ending with fdatasync) and reads of the same bytes
//   in the same folder, same run; the ratio is ours / direct.
// - PeakMemory100M: a whole "100M" run in a child process; extra_MiB is its
//   peak resident memory beyond the process before the run and bytBuffer.

#include "bench/benchmark_run.h"
#include "bench/size_ladder.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/file_table.h"
#include "platform/memory_window_system.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace vantric;

namespace {

std::string g_dir = ".";
constexpr std::int32_t kCount100M = 52428800;

class NullWriter : public BlockWriter {
public:
    NullWriter() : buf_(1 << 20) {}
    std::span<std::uint8_t> firstBuffer() override { return buf_; }
    std::span<std::uint8_t> submit(std::span<const std::uint8_t>) override { return buf_; }
    void flush(std::span<const std::uint8_t>) override {}
    void close() override {}

private:
    std::vector<std::uint8_t> buf_;
};

class NullReader : public BlockReader {
public:
    NullReader() : buf_(1 << 20, 0) {}
    std::span<const std::uint8_t> next() override { return buf_; }
    void close() override {}

private:
    std::vector<std::uint8_t> buf_;
};

void Put16(benchmark::State& state)
{
    WriteChannel ch(std::make_unique<NullWriter>(), "null");
    FormState st;
    st.lngCount = 1 << 24;
    for (auto _ : state)
        writeLoop(ch, st);
    state.SetItemsProcessed(state.iterations() * st.lngCount);
    state.counters["ns_per_call"] = benchmark::Counter(static_cast<double>(state.iterations()) * st.lngCount,
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(Put16)->Unit(benchmark::kMillisecond);

void GetByte(benchmark::State& state)
{
    ReadChannel ch(std::make_unique<NullReader>(), "null");
    FormState st;
    st.lngCount = 1 << 24;
    st.bytBuffer.resize(static_cast<std::size_t>(st.lngCount));
    for (auto _ : state) {
        readLoop(ch, st);
        benchmark::DoNotOptimize(st.bytBuffer.data());
    }
    state.SetItemsProcessed(state.iterations() * st.lngCount);
    state.counters["ns_per_call"] = benchmark::Counter(static_cast<double>(state.iterations()) * st.lngCount,
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(GetByte)->Unit(benchmark::kMillisecond);

double seconds(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

std::string scratch()
{
    return g_dir + "/~bench.tmp";
}

// Our write pass, timed as the run times it: after the open, to after the flush.
double ourWrite(FileSystem& fsys)
{
    FileTable files(fsys);
    FormState st;
    st.lngCount = kCount100M;
    auto n = files.freeFile();
    files.openWrite(n, scratch());
    auto t0 = std::chrono::steady_clock::now();
    WriteChannel& ch = files.writer(n);
    writeLoop(ch, st);
    ch.flush();
    auto t1 = std::chrono::steady_clock::now();
    files.close(n);
    return seconds(t0, t1);
}

double ourRead(FileSystem& fsys)
{
    FileTable files(fsys);
    FormState st;
    st.lngCount = kCount100M;
    st.bytBuffer.resize(static_cast<std::size_t>(st.lngCount));
    auto n = files.freeFile();
    files.openRead(n, scratch(), static_cast<std::uint64_t>(st.lngCount));
    auto t0 = std::chrono::steady_clock::now();
    readLoop(files.reader(n), st);
    auto t1 = std::chrono::steady_clock::now();
    files.close(n);
    benchmark::DoNotOptimize(st.bytBuffer.data());
    return seconds(t0, t1);
}

// Plain sequential 1 MiB O_DIRECT transfers of `bytes`, the write ending with fdatasync.
double directPass(bool write, std::size_t bytes)
{
    int fd = ::open(scratch().c_str(), (write ? O_WRONLY | O_CREAT : O_RDONLY) | O_DIRECT, 0644);
    if (fd < 0)
        throw osError("Cannot open for direct I/O", errno, scratch());
    void* p = nullptr;
    if (posix_memalign(&p, 4096, 1 << 20) != 0)
        throw std::bad_alloc();
    std::memset(p, 0, 1 << 20);
    auto t0 = std::chrono::steady_clock::now();
    for (std::size_t off = 0; off < bytes; off += 1 << 20) {
        ssize_t r = write ? ::pwrite(fd, p, 1 << 20, static_cast<off_t>(off)) : ::pread(fd, p, 1 << 20, static_cast<off_t>(off));
        if (r != 1 << 20)
            throw osError("Direct transfer failed", errno, scratch());
    }
    if (write)
        ::fdatasync(fd);
    auto t1 = std::chrono::steady_clock::now();
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
    std::free(p);
    return seconds(t0, t1);
}

// Ours and the plain direct transfers take turns, each going first every
// other round, so that neither always meets the drive right after the other.
void Pass(benchmark::State& state, bool write)
{
    auto fsys = systemFileSystem();
    double ours = 0, direct = 0;
    const double mib = write ? 100.0 : 50.0;
    IoModeReport mode {};
    if (!write)
        ourWrite(*fsys);
    int round = 0;
    for (auto _ : state) {
        double a = 0, b = 0;
        auto runOurs = [&] {
            a = write ? ourWrite(*fsys) : ourRead(*fsys);
            mode = lastIoMode();
        };
        auto runDirect = [&] { b = directPass(write, write ? 100u << 20 : 50u << 20); };
        if (round++ % 2 == 0) {
            runOurs();
            runDirect();
        } else {
            runDirect();
            runOurs();
        }
        ours += a;
        direct += b;
        state.SetIterationTime(a);
    }
    ::unlink(scratch().c_str());
    double n = static_cast<double>(state.iterations());
    state.counters["ours_MiBps"] = mib * n / ours;
    state.counters["direct_MiBps"] = mib * n / direct;
    state.counters["ratio"] = direct / ours;
    state.counters["o_direct"] = mode.direct;
    state.counters["async"] = mode.async;
}

void WritePass100M(benchmark::State& state)
{
    Pass(state, true);
}
BENCHMARK(WritePass100M)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

void ReadPass100M(benchmark::State& state)
{
    Pass(state, false);
}
BENCHMARK(ReadPass100M)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

long peakKiB()
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

class FolderDrive : public DriveSource {
public:
    std::unique_ptr<FileSystemObject> createObject() override { return nullptr; }
    std::vector<ScratchFolder> scratchFolders(const std::string&) override { return {{g_dir}}; }
    DriveInfo describe(const std::string&) override { return {g_dir, ""}; }
    std::optional<std::string> letterHolding(const std::string&) override { return "C"; }
};

void PeakMemory100M(benchmark::State& state)
{
    long before = 0, peak = 0;
    for (auto _ : state) {
        int fds[2];
        if (::pipe(fds) != 0)
            state.SkipWithError("pipe");
        pid_t pid = ::fork();
        if (pid == 0) {
            ::close(fds[0]);
            // The child starts with its parent's high-water mark: reset it to
            // what is resident now.
            std::ofstream("/proc/self/clear_refs") << "5";
            long start = peakKiB();
            MemoryWindowSystem ws;
            FormState st;
            auto fsys = systemFileSystem();
            FileTable files(*fsys);
            FolderDrive drives;
            NumericLocale loc;
            RunContext ctx {ws, st, files, drives, systemCounter(), loc, {}, {}};
            ws.addRow(Ctl::List1, " C:- Hard Disk");
            ws.selectRow(Ctl::List1, 0);
            ws.setCaption(Ctl::Label9, "100M");
            List1_Click(ctx);
            long result[2] = {start, peakKiB()};
            if (::write(fds[1], result, sizeof result) != sizeof result)
                _exit(1);
            _exit(0);
        }
        ::close(fds[1]);
        long result[2] = {0, 0};
        if (::read(fds[0], result, sizeof result) != sizeof result)
            state.SkipWithError("child failed");
        ::close(fds[0]);
        ::waitpid(pid, nullptr, 0);
        before = result[0];
        peak = result[1];
    }
    state.counters["peak_MiB"] = peak / 1024.0;
    state.counters["extra_MiB"] = (peak - before) / 1024.0 - 50.0;
}
BENCHMARK(PeakMemory100M)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--dir=", 6) == 0)
            g_dir = argv[i] + 6;
        else
            rest.push_back(argv[i]);
    }
    int n = static_cast<int>(rest.size());
    benchmark::Initialize(&n, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
