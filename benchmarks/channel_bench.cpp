// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
// What the run's loops and passes cost.
//
//   channel_bench [--dir=FOLDER]... [--rounds=N] [google benchmark flags]
//
// Give a folder on each file system to measure (by default "." and
// /dev/shm). Figures:
// - Put16, GetByte: one two-byte write / one one-byte read of the run's loops
//   over a channel whose device does nothing, at "100M" (ns_per_call, wall
//   time). Targets: 0.2 and 0.1 ns per call (10 GB/s).
// - Passes100M/FOLDER: whole "100M" runs (runBenchmark, timed by its own
//   stopwatch readings) against plain sequential 1 MiB O_DIRECT transfers in
//   the same folder (100 MiB written into a fresh file, then fdatasync; the
//   first 50 MiB read back), the two taking turns over N rounds. Both start
//   from no file and pay for its allocation inside their timed part (fio's
//   --fallocate=none). Medians: write_/read_ours_MiBps, write_/read_ref_MiBps,
//   and write_/read_ratio (reference time over ours, per round; target 0.9).
//   direct/async: the mode a channel opened in that folder reports.
// - Preallocate100M/FOLDER: our write pass with and without fallocate at its
//   start, taking turns; medians with_MiBps, without_MiBps, gain (time
//   without over time with).
// - PeakMemory100M: a whole "100M" run in a child process; extra_MiB is its
//   peak resident memory beyond what it held before the run and bytBuffer.

#include "app/cli/console_window_system.h"
#include "bench/benchmark_run.h"
#include "bench/size_ladder.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/io/file_table.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <linux/fs.h>
#include <sstream>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vantric;

namespace {

std::vector<std::string> g_dirs;
int g_rounds = 7;
constexpr std::int32_t kCount100M = 52428800;

class NullWriter : public BlockWriter {
public:
    NullWriter() : buf_(1 << 20) {}
    void preallocate(std::uint64_t) override {}
    std::span<std::uint8_t> firstBuffer() override { return buf_; }
    std::span<std::uint8_t> submit(std::span<const std::uint8_t>) override { return buf_; }
    void flush(std::span<const std::uint8_t>) override {}
    void close() override {}
    IoMode mode() const override { return {}; }

private:
    std::vector<std::uint8_t> buf_;
};

class NullReader : public BlockReader {
public:
    NullReader() : buf_(1 << 20, 0) {}
    std::span<const std::uint8_t> next() override { return buf_; }
    void close() override {}
    IoMode mode() const override { return {}; }

private:
    std::vector<std::uint8_t> buf_;
};

void perCall(benchmark::State& state, std::int64_t calls, double target)
{
    state.SetItemsProcessed(state.iterations() * calls);
    state.counters["ns_per_call"] = benchmark::Counter(static_cast<double>(state.iterations()) * calls,
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["target_ns"] = target;
}

void Put16(benchmark::State& state)
{
    WriteChannel ch(std::make_unique<NullWriter>(), "null");
    FormVariables st;
    st.lngCount = kCount100M;
    for (auto _ : state)
        writeLoop(ch, st);
    perCall(state, st.lngCount, 0.2);
}
BENCHMARK(Put16)->UseRealTime()->Unit(benchmark::kMillisecond);

void GetByte(benchmark::State& state)
{
    ReadChannel ch(std::make_unique<NullReader>(), "null");
    FormVariables st;
    st.lngCount = kCount100M;
    st.bytBuffer.resize(static_cast<std::size_t>(st.lngCount));
    for (auto _ : state) {
        readLoop(ch, st);
        benchmark::DoNotOptimize(st.bytBuffer.data());
        benchmark::ClobberMemory();
    }
    perCall(state, st.lngCount, 0.1);
}
BENCHMARK(GetByte)->UseRealTime()->Unit(benchmark::kMillisecond);

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double seconds(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

// The run's own stopwatch readings, kept: the passes' spans without parsing
// their captions.
class RecordingCounter : public PerfCounter {
public:
    std::int64_t counter() override { return readings.emplace_back(systemCounter().counter()); }
    std::int64_t frequency() override { return systemCounter().frequency(); }
    std::vector<std::int64_t> readings;
};

class FolderDrive : public DriveSource {
public:
    explicit FolderDrive(std::string dir) : dir_(std::move(dir)) {}
    std::unique_ptr<FileSystemObject> createObject() override { return nullptr; }
    std::vector<ScratchFolder> scratchFolders(const std::string&) override { return {{dir_}}; }
    DriveInfo describe(const std::string&) override { return {dir_, ""}; }
    std::optional<std::string> letterHolding(const std::string&) override { return "C"; }

private:
    std::string dir_;
};

struct PassTimes {
    double write = 0, read = 0;
};

// One whole "100M" run in `dir`; the spans its stopwatches measured.
PassTimes ourRun(const std::string& dir, const IoOptions& opt = {})
{
    std::ostringstream messages;
    ConsoleWindowSystem ws(messages, false);
    auto fsys = systemFileSystem(opt);
    FolderDrive drives(dir);
    RecordingCounter counter;
    FormState form {ws, Services {drives, *fsys, counter, systemClock(), systemStopHooks(), NumericLocale {}, {}, {}}};
    RunState run;
    ws.addRow(Ctl::List1, " C:- Hard Disk");
    ws.selectRow(Ctl::List1, 0);
    ws.setCaption(Ctl::Label9, "100M");
    runBenchmark(form, run);
    if (ws.errors())
        throw std::runtime_error(messages.str());
    const auto& r = counter.readings;
    if (r.size() != 6)
        throw std::runtime_error("unexpected stopwatch readings");
    const double f = static_cast<double>(counter.frequency());
    return {static_cast<double>(r[1] - r[0]) / f, static_cast<double>(r[4] - r[3]) / f};
}

// Plain sequential 1 MiB O_DIRECT transfers: 100 MiB written into a fresh
// file, then fdatasync; then the first 50 MiB read back. Where the file
// system has the attribute the file is made no-copy-on-write first, as ours
// is, so that a compressing btrfs stores the zeros for both.
PassTimes referenceRun(const std::string& dir)
{
    const std::string path = dir + "/~reference.tmp";
    constexpr std::size_t kBlock = 1 << 20;
    void* p = nullptr;
    if (posix_memalign(&p, 4096, kBlock) != 0)
        throw std::bad_alloc();
    std::memset(p, 0, kBlock);
    PassTimes t;
    for (bool write : {true, false}) {
        if (write)
            ::unlink(path.c_str());
        int fd = ::open(path.c_str(), (write ? O_WRONLY | O_CREAT | O_EXCL : O_RDONLY) | O_DIRECT, 0644);
        if (fd < 0)
            throw osError("Cannot open for direct I/O", errno, path);
        const std::size_t bytes = write ? 100u << 20 : 50u << 20;
        if (int flags = 0; write && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_NOCOW_FL;
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        auto t0 = std::chrono::steady_clock::now();
        for (std::size_t off = 0; off < bytes; off += kBlock) {
            ssize_t r = write ? ::pwrite(fd, p, kBlock, static_cast<off_t>(off))
                              : ::pread(fd, p, kBlock, static_cast<off_t>(off));
            if (r != static_cast<ssize_t>(kBlock))
                throw osError("Direct transfer failed", errno, path);
        }
        if (write)
            ::fdatasync(fd);
        auto t1 = std::chrono::steady_clock::now();
        (write ? t.write : t.read) = seconds(t0, t1);
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
    ::unlink(path.c_str());
    std::free(p);
    return t;
}

IoMode modeIn(const std::string& dir)
{
    const std::string path = dir + "/~mode.tmp";
    auto fsys = systemFileSystem();
    IoMode m;
    {
        WriteChannel ch(fsys->openBlockWrite(path), path);
        m = ch.mode();
    }
    ::unlink(path.c_str());
    return m;
}

// Ours and the reference take turns, each going first every other round, so
// that neither always meets the drive right after the other.
void Passes(benchmark::State& state, const std::string& dir)
{
    std::vector<double> ow, orr, rw, rr, wratio, rratio;
    for (auto _ : state) {
        for (int round = 0; round < g_rounds; ++round) {
            PassTimes ours, ref;
            if (round % 2 == 0) {
                ours = ourRun(dir);
                ref = referenceRun(dir);
            } else {
                ref = referenceRun(dir);
                ours = ourRun(dir);
            }
            ow.push_back(100 / ours.write);
            orr.push_back(50 / ours.read);
            rw.push_back(100 / ref.write);
            rr.push_back(50 / ref.read);
            wratio.push_back(ref.write / ours.write);
            rratio.push_back(ref.read / ours.read);
        }
    }
    IoMode m = modeIn(dir);
    state.counters["write_ours_MiBps"] = median(ow);
    state.counters["write_ref_MiBps"] = median(rw);
    state.counters["write_ratio"] = median(wratio);
    state.counters["read_ours_MiBps"] = median(orr);
    state.counters["read_ref_MiBps"] = median(rr);
    state.counters["read_ratio"] = median(rratio);
    state.counters["direct"] = m.direct;
    state.counters["async"] = m.async;
}

void Preallocate(benchmark::State& state, const std::string& dir)
{
    std::vector<double> with, without, gain;
    IoOptions on, off;
    off.preallocate = false;
    for (auto _ : state) {
        for (int round = 0; round < g_rounds; ++round) {
            double a, b;
            if (round % 2 == 0) {
                a = ourRun(dir, on).write;
                b = ourRun(dir, off).write;
            } else {
                b = ourRun(dir, off).write;
                a = ourRun(dir, on).write;
            }
            with.push_back(100 / a);
            without.push_back(100 / b);
            gain.push_back(b / a);
        }
    }
    state.counters["with_MiBps"] = median(with);
    state.counters["without_MiBps"] = median(without);
    state.counters["gain"] = median(gain);
}

long peakKiB()
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

void PeakMemory100M(benchmark::State& state, const std::string& dir)
{
    long before = 0, peak = 0;
    for (auto _ : state) {
        int fds[2];
        if (::pipe(fds) != 0) {
            state.SkipWithError("pipe");
            return;
        }
        pid_t pid = ::fork();
        if (pid == 0) {
            ::close(fds[0]);
            // The child starts with its parent's high-water mark: reset it to
            // what is resident now.
            std::ofstream("/proc/self/clear_refs") << "5";
            long result[2] = {peakKiB(), 0};
            try {
                ourRun(dir);
            } catch (...) {
                _exit(1);
            }
            result[1] = peakKiB();
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

} // namespace

int main(int argc, char** argv)
{
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--dir=", 6) == 0)
            g_dirs.emplace_back(argv[i] + 6);
        else if (std::strncmp(argv[i], "--rounds=", 9) == 0)
            g_rounds = std::max(1, std::atoi(argv[i] + 9));
        else
            rest.push_back(argv[i]);
    }
    if (g_dirs.empty())
        g_dirs = {".", "/dev/shm"};
    for (const auto& dir : g_dirs) {
        benchmark::RegisterBenchmark(("Passes100M/" + dir).c_str(), Passes, dir)
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Preallocate100M/" + dir).c_str(), Preallocate, dir)
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("PeakMemory100M", PeakMemory100M, g_dirs.front())
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    int n = static_cast<int>(rest.size());
    benchmark::Initialize(&n, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
