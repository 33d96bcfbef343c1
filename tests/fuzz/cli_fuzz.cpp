// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
// vantric-cli's arguments, NUL-separated, on a machine with no drives: every
// run ends at the drive, so only the arguments are exercised.
#include "app/cli/cli.h"
#include "fakes/fake_counter.h"
#include "fakes/fake_drives.h"
#include "fakes/fake_files.h"
#include "support/fixed_clock.h"

#include <cstdint>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vantric;
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size; ++i)
        data[i] ? args.back().push_back(static_cast<char>(data[i])) : (void)args.emplace_back();
    test::FakeDriveSource drives;
    test::FakeFileSystem fs;
    test::FakeCounter counter;
    test::FixedClock clock;
    std::ostringstream out, err;
    const int status = runCli(args, Services {drives, fs, counter, clock, NumericLocale {}, "/p"}, {out, err});
    if (status < 0 || status > 2 || (status != 0 && err.str().empty()))
        __builtin_trap(); // every failure says why
    return 0;
}
