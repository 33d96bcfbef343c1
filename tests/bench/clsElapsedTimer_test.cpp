#include "bench/clsElapsedTimer.h"
#include "fakes/fake_counter.h"
#include "platform/errors.h"
#include "support/error_reason.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <thread>

using namespace vantric;
using vantric::test::FakeCounter;

namespace {

TEST(Timer, NewStopwatchIsStoppedAtZeroAndEachCallTakesAtMostOneReading)
{
    FakeCounter c;
    clsElapsedTimer t(c);
    EXPECT_FALSE(t.IsRunning());
    EXPECT_EQ(t.Elapsed(), 0.0);
    EXPECT_EQ(t.StopTimer(), 0.0);
    EXPECT_EQ(c.readings, 0);
    for (auto [call, readings] : {std::pair {+[](clsElapsedTimer& x) { x.Start(); }, 1},
                                  {+[](clsElapsedTimer& x) { x.Elapsed(); }, 2},
                                  {+[](clsElapsedTimer& x) { x.StopTimer(); }, 3},
                                  {+[](clsElapsedTimer& x) { x.StopTimer(); }, 3},
                                  {+[](clsElapsedTimer& x) { x.Elapsed(); }, 3}}) {
        call(t);
        EXPECT_EQ(c.readings, readings);
    }
    EXPECT_EQ(c.frequencyReads, 1);
}

TEST(Timer, ReadingsFollowTheCounterExactly)
{
    // Each row: the counter advance before the call, the call, the result.
    enum Op { Start, Elapsed, Stop, Kill, Reset };
    struct Step {
        std::int64_t advance;
        Op op;
        double want; // seconds; ignored for Start, Kill and Reset
        bool running;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
    } cases[] = {
        {"two readings while running", {{0, Start, 0, true}, {250, Elapsed, 0.25, true}, {500, Elapsed, 0.75, true}}},
        {"second Start keeps the first", {{0, Start, 0, true}, {300, Start, 0, true}, {200, Elapsed, 0.5, true}}},
        {"resume adds the spans",
         {{0, Start, 0, true}, {400, Stop, 0.4, false}, {5000, Start, 0, true}, {100, Stop, 0.5, false}}},
        {"Elapsed after a stop repeats the last reading",
         {{0, Start, 0, true}, {300, Elapsed, 0.3, true}, {100, Stop, 0.4, false}, {900, Elapsed, 0.3, false}}},
        {"second stop takes no reading",
         {{0, Start, 0, true}, {700, Stop, 0.7, false}, {900, Stop, 0.7, false}}},
        {"kill then Start begins anew",
         {{0, Start, 0, true}, {700, Kill, 0, false}, {50, Start, 0, true}, {20, Elapsed, 0.02, true}}},
        {"Reset stops and zeroes",
         {{0, Start, 0, true}, {700, Reset, 0, false}, {50, Elapsed, 0, false}, {10, Stop, 0, false}}},
    };
    for (const auto& cs : cases) {
        FakeCounter fc;
        clsElapsedTimer t(fc);
        for (const auto& s : cs.steps) {
            fc.now += s.advance;
            switch (s.op) {
            case Start: t.Start(); break;
            case Kill: t.kill(); break;
            case Reset: t.Reset(); break;
            case Elapsed: EXPECT_DOUBLE_EQ(t.Elapsed(), s.want) << cs.name; break;
            case Stop: EXPECT_DOUBLE_EQ(t.StopTimer(), s.want) << cs.name; break;
            }
            EXPECT_EQ(t.IsRunning(), s.running) << cs.name;
        }
    }
}

TEST(Timer, FrequencyZeroRaisesDivisionErrors)
{
    FakeCounter c;
    c.freq = 0;
    clsElapsedTimer t(c);
    using test::reasonOf;
    EXPECT_EQ(reasonOf([&] { t.Elapsed(); }), "Invalid floating-point operation");
    t.Start();
    c.now += 5;
    EXPECT_EQ(reasonOf([&] { t.Elapsed(); }), "Division by zero");
    c.now += 5;
    EXPECT_EQ(reasonOf([&] { t.StopTimer(); }), "Division by zero");
    // The stop was stored and the stopwatch stopped before the error.
    EXPECT_FALSE(t.IsRunning());
    c.freq = 1000;
    t.Reset();
    EXPECT_EQ(t.Elapsed(), 0.0);
}

TEST(Timer, SixtyFourBitOverflowRaises)
{
    FakeCounter c;
    c.now = std::numeric_limits<std::int64_t>::min() + 10;
    clsElapsedTimer t(c);
    t.Start();
    c.now = std::numeric_limits<std::int64_t>::max() - 10;
    EXPECT_THROW(t.Elapsed(), VantricError);
}

// The system's counter and a stopwatch on it, each reading bracketed by two of the steady clock's.
TEST(SystemCounter, KeepsTimeWithTheSteadyClock)
{
    using Steady = std::chrono::steady_clock;
    PerfCounter& c = systemCounter();
    const double frequency = static_cast<double>(c.frequency());
    clsElapsedTimer t;
    const Steady::time_point before0 = Steady::now();
    const std::int64_t c0 = c.counter();
    t.Start();
    const Steady::time_point after0 = Steady::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const Steady::time_point before1 = Steady::now();
    const std::int64_t c1 = c.counter();
    const double elapsed = t.Elapsed();
    const Steady::time_point after1 = Steady::now();
    const double least = std::chrono::duration<double>(before1 - after0).count() - 1e-6;
    const double most = std::chrono::duration<double>(after1 - before0).count() + 1e-6;
    EXPECT_GE(least, 0.029);
    for (double seconds : {static_cast<double>(c1 - c0) / frequency, elapsed}) {
        EXPECT_GE(seconds, least);
        EXPECT_LE(seconds, most);
    }
}

} // namespace
