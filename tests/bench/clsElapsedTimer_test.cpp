// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
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

// Each call takes at most one reading of the counter, and only a reset asks its frequency again.
TEST(Timer, ReadingsFollowTheCounterExactly)
{
    // Each row: the counter's advance before the call, the call, its result, then the state and the readings.
    enum Op { Start, Elapsed, Stop, Kill, Reset };
    struct Step {
        std::int64_t advance;
        Op op;
        double want; // seconds; ignored for Start, Kill and Reset
        bool running;
        int readings;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
    } cases[] = {
        {"a new one is stopped at zero", {{0, Elapsed, 0, false, 0}, {5, Stop, 0, false, 0}}},
        {"two readings while running",
         {{0, Start, 0, true, 1}, {250, Elapsed, 0.25, true, 2}, {500, Elapsed, 0.75, true, 3}}},
        {"second Start keeps the first",
         {{0, Start, 0, true, 1}, {300, Start, 0, true, 1}, {200, Elapsed, 0.5, true, 2}}},
        {"resume adds the spans",
         {{0, Start, 0, true, 1}, {400, Stop, 0.4, false, 2}, {5000, Start, 0, true, 3}, {100, Stop, 0.5, false, 4}}},
        {"Elapsed after a stop repeats the last reading",
         {{0, Start, 0, true, 1}, {300, Elapsed, 0.3, true, 2}, {100, Stop, 0.4, false, 3},
          {900, Elapsed, 0.3, false, 3}}},
        {"second stop takes no reading",
         {{0, Start, 0, true, 1}, {700, Stop, 0.7, false, 2}, {900, Stop, 0.7, false, 2}}},
        {"kill then Start begins anew",
         {{0, Start, 0, true, 1}, {700, Kill, 0, false, 1}, {50, Start, 0, true, 2}, {20, Elapsed, 0.02, true, 3}}},
        {"Reset stops and zeroes",
         {{0, Start, 0, true, 1}, {700, Reset, 0, false, 1}, {50, Elapsed, 0, false, 1}, {10, Stop, 0, false, 1}}},
    };
    for (const auto& cs : cases) {
        SCOPED_TRACE(cs.name);
        FakeCounter fc;
        clsElapsedTimer t(fc);
        int frequencyReads = 1;
        for (const auto& s : cs.steps) {
            fc.now += s.advance;
            switch (s.op) {
            case Start: t.Start(); break;
            case Kill: t.kill(); break;
            case Reset:
                t.Reset();
                ++frequencyReads;
                break;
            case Elapsed: EXPECT_DOUBLE_EQ(t.Elapsed(), s.want); break;
            case Stop: EXPECT_DOUBLE_EQ(t.StopTimer(), s.want); break;
            }
            EXPECT_EQ(t.IsRunning(), s.running);
            EXPECT_EQ(fc.readings, s.readings);
            EXPECT_EQ(fc.frequencyReads, frequencyReads);
        }
    }
}

TEST(Timer, FrequencyZeroAndOverflowRaise)
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
    // A span past 64 bits raises too.
    FakeCounter wide;
    wide.now = std::numeric_limits<std::int64_t>::min() + 10;
    clsElapsedTimer span(wide);
    span.Start();
    wide.now = std::numeric_limits<std::int64_t>::max() - 10;
    EXPECT_THROW(span.Elapsed(), VantricError);
}

// Subtraction and division by zero are caught through the stopwatch's tests above.
TEST(CheckedArithmetic, RaisesInsteadOfWrappingOrInfinity)
{
    const auto max = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(checkedAdd(max - 1, 1), max);
    EXPECT_THROW(checkedAdd(max, 1), VantricError);
    EXPECT_THROW(checkedNext(std::numeric_limits<std::int32_t>::max()), VantricError);
    EXPECT_DOUBLE_EQ(checkedDiv(1.0, 4.0), 0.25);
    EXPECT_EQ(test::reasonOf([] { checkedDiv(1e308, 1e-10); }), "Floating-point overflow");
    EXPECT_EQ(test::reasonOf([] { checkedDiv(-3.0, 0.0); }), "Division by zero");
}

// A stopwatch on the system's counter, its readings bracketed by two of the steady clock's.
TEST(SystemCounter, KeepsTimeWithTheSteadyClock)
{
    using Steady = std::chrono::steady_clock;
    clsElapsedTimer t;
    const Steady::time_point before0 = Steady::now();
    t.Start();
    const Steady::time_point after0 = Steady::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const Steady::time_point before1 = Steady::now();
    const double elapsed = t.Elapsed();
    const Steady::time_point after1 = Steady::now();
    EXPECT_GE(elapsed, std::chrono::duration<double>(before1 - after0).count() - 1e-6);
    EXPECT_LE(elapsed, std::chrono::duration<double>(after1 - before0).count() + 1e-6);
}

} // namespace
