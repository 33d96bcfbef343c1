#pragma once
// A performance counter that moves only when the test says so.

#include "platform/perf_counter.h"

#include <cstdint>

namespace vantric::test {

class FakeCounter : public PerfCounter {
public:
    std::int64_t now = 1000;
    std::int64_t freq = 1000;
    std::int64_t step = 0;  // added after every reading
    int readings = 0;
    int frequencyReads = 0;

    std::int64_t counter() override
    {
        ++readings;
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
