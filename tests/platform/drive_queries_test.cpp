// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/drive_queries.h"
#include "support/error_reason.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

using namespace vantric;
using namespace std::chrono_literals;

TEST(BoundedCall, AnswerInTimeIsReturnedWithItsHelperEnded)
{
    static std::atomic<bool> ended;
    struct AtThreadExit {
        ~AtThreadExit() { std::this_thread::sleep_for(100ms), ended = true; }
    };
    EXPECT_EQ(callWithin<int>(2s, [] { thread_local AtThreadExit mark; return (void)mark, 42; }), 42);
    EXPECT_TRUE(ended) << "the helper was still running after its answer";
}

// A query stuck until the test ends, which waits for its thread; atomics, as Wine mistimes promises.
struct StuckQuery {
    static inline std::atomic<int> ended;
    struct AtThreadExit {
        ~AtThreadExit() { ++ended; }
    };
    std::atomic<bool> released = false;
    const int before = ended;
    std::function<int()> query()
    {
        return [this] {
            thread_local AtThreadExit mark;
            while (!released)
                std::this_thread::sleep_for(1ms);
            return (void)mark, 1;
        };
    }
    ~StuckQuery()
    {
        released = true;
        while (ended == before)
            std::this_thread::sleep_for(1ms);
    }
};

TEST(DriveQueries, APlaceThatHungOnceFailsAtOnceAfterwards)
{
    DriveQueries queries("drive");
    StuckQuery stuck;
    const std::pair<std::function<int()>, const char*> steps[] = {
        {stuck.query(), "The drive did not answer within 2 seconds"},
        {[] { return 2; }, "The drive does not answer"},
    };
    for (const auto& [query, reason] : steps) {
        auto e = test::errorOf([&] { queries.ask<int>("X:\\", query); });
        ASSERT_TRUE(e) << "answered: " << reason;
        EXPECT_EQ(e->reason(), reason);
        EXPECT_EQ(e->path(), "X:\\");
    }
    EXPECT_EQ(queries.ask<int>("Y:\\", [] { return 3; }), 3);
}
