// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
// libFuzzer targets for what Vantric reads from outside, one per build:
// FUZZ_MOUNTS, FUZZ_CLI, FUZZ_SIZE, FUZZ_NUMBER. A broken property traps.
#include "app/cli/cli.h"
#include "bench/size_ladder.h"
#include "fakes/fake_counter.h"
#include "fakes/fake_drives.h"
#include "fakes/fake_files.h"
#include "fakes/memory_window_system.h"
#include "platform/linux/mount_table.h"
#include "platform/stop_hook.h"
#include "fakes/fixed_clock.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace vantric;
namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string in(reinterpret_cast<const char*>(data), size);
#if defined(FUZZ_MOUNTS)
    // Lines "L path target" and "F path content" make a sysfs tree in a
    // private folder; the others are /proc/self/mountinfo.
    static const fs::path root = fs::temp_directory_path() / ("vantric-fuzz-" + std::to_string(::getpid()));
    std::error_code ec;
    fs::remove_all(root, ec);
    fs::create_directory(root, ec);
    std::istringstream lines(in);
    std::string mountinfo;
    std::vector<std::pair<fs::path, std::string>> files, links;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream f(line);
        std::string kind, name, rest;
        std::getline(f >> kind >> name >> std::ws, rest);
        const auto n = fs::path(name).lexically_normal();
        if ((kind == "F" || kind == "L") && !n.empty() && n.is_relative() && *n.begin() != "..")
            (kind == "F" ? files : links).emplace_back(root / n, rest);
        else
            mountinfo += line + "\n";
    }
    for (const auto& [at, target] : links) {
        fs::create_directories(at.parent_path(), ec);
        fs::create_symlink(target, at, ec);
    }
    for (const auto& [at, _] : links) { // links out of the tree could reach real devices
        const auto real = fs::weakly_canonical(at, ec).lexically_relative(root);
        if (!ec && (real.empty() || *real.begin() == ".."))
            return 0;
    }
    for (const auto& [at, content] : files) {
        fs::create_directories(at.parent_path(), ec);
        std::ofstream(at) << content << "\n";
    }
    const auto mounts = parseMountInfo(mountinfo);
    auto same = [](const std::string& p) { return std::optional<std::string>(p); };
    for (const auto& l : assignLetters(mounts, root.string())) {
        if (!stillMounted(l.mount, mounts) || !mountOf(mounts, l.mount.mountPoint))
            __builtin_trap(); // a lettered mount is the one in view where it was found
        scratchCandidates(l.mount, mounts, "/home/u", {"/tmp"}, same);
    }
#elif defined(FUZZ_CLI)
    // NUL-separated arguments, on a machine without drives: every run ends at the drive.
    std::vector<std::string> args(1);
    for (char c : in)
        c ? args.back().push_back(c) : (void)args.emplace_back();
    test::FakeDriveSource drives;
    test::FakeFileSystem files;
    test::FakeCounter counter;
    test::FixedClock clock;
    std::ostringstream out, err;
    const int status = runCli(args, Services {drives, files, counter, clock, systemStopHooks(), NumericLocale {}, "/p"}, {out, err});
    if (status < 0 || status > 2 || (status != 0 && err.str().empty()))
        __builtin_trap(); // every failure says why
#elif defined(FUZZ_SIZE)
    // Any caption: one of the ladder counts and steps, any other changes nothing.
    test::MemoryWindowSystem ws;
    ws.setCaption(Ctl::Label9, in);
    std::int32_t count = -1;
    SetTestCount(ws, count);
    stepSizeUp(ws);
    const std::string up = ws.caption(Ctl::Label9);
    stepSizeDown(ws);
    const auto rung = std::find_if(kLadder.begin(), kLadder.end(), [&](const Rung& r) { return r.caption == in; });
    if (ws.caption(Ctl::Label9) != in
        || (rung == kLadder.end() ? count != -1 || up != in : count != rung->count || up == in))
        __builtin_trap();
#elif defined(FUZZ_NUMBER)
    // A double, the decimals, then the locale's decimal mark, separator and grouping, NUL-separated.
    double value = 0;
    if (size <= sizeof value)
        return 0;
    std::memcpy(&value, data, sizeof value);
    std::string fields[3];
    int at = 0;
    for (char c : in.substr(sizeof value + 1))
        c || at == 2 ? fields[at].push_back(c) : (void)++at;
    for (int flags = 0; flags < 4; ++flags)
        formatFixed(value, data[sizeof value] % 20, flags & 1, flags & 2, {fields[0], fields[1], fields[2]});
#endif
    return 0;
}
