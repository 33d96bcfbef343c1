// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/perf_counter.h"

#include <chrono>

namespace vantric {

namespace {
// steady_clock counts nanoseconds from CLOCK_MONOTONIC on Linux and from the
// performance counter on Windows, whose 100 ns steps it keeps.
class SteadyCounter : public PerfCounter {
public:
    using Clock = std::chrono::steady_clock;
    std::int64_t counter() override { return Clock::now().time_since_epoch().count(); }
    std::int64_t frequency() override { return Clock::period::den / Clock::period::num; }
};
} // namespace

PerfCounter& systemCounter()
{
    static SteadyCounter c;
    return c;
}

} // namespace vantric
