#include "platform/perf_counter.h"

#include <ctime>

namespace vantric {

namespace {
class MonotonicCounter : public PerfCounter {
public:
    std::int64_t counter() override
    {
        timespec ts;
        clock_gettime(CLOCK_MONOTONIC, &ts);
        return static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
    }
    std::int64_t frequency() override { return 1000000000; }
};
} // namespace

PerfCounter& systemCounter()
{
    static MonotonicCounter c;
    return c;
}

} // namespace vantric
