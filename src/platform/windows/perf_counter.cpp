#include "platform/perf_counter.h"

#include <windows.h>

namespace vantric {

namespace {
// The high-resolution performance counter: fixed frequency, monotonic.
class QpcCounter : public PerfCounter {
public:
    std::int64_t counter() override
    {
        LARGE_INTEGER v;
        ::QueryPerformanceCounter(&v);
        return v.QuadPart;
    }
    std::int64_t frequency() override
    {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }
};
} // namespace

PerfCounter& systemCounter()
{
    static QpcCounter c;
    return c;
}

} // namespace vantric
