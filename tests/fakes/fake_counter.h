// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// A performance counter that moves only when the test says so.

#include "platform/perf_counter.h"

#include <cstdint>
#include <functional>

namespace vantric::test {

class FakeCounter : public PerfCounter {
public:
    std::int64_t now = 1000;
    std::int64_t freq = 1000;
    std::int64_t step = 0;  // added after every reading
    int readings = 0;
    int frequencyReads = 0;
    // Called with the number of the reading (1, 2...) before it is taken.
    std::function<void(int)> onReading;

    std::int64_t counter() override
    {
        ++readings;
        if (onReading)
            onReading(readings);
        std::int64_t v = now;
        now += step;
        return v;
    }
    std::int64_t frequency() override
    {
        ++frequencyReads;
        return freq;
    }
};

} // namespace vantric::test
